// Components added from the host's texts and deleted from the component list.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
#include "KXPowerPinTies.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "afx/afxanswer.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <cctype>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
// A part's reference designator (a copy does not take it).
constexpr const char* kRefDesProperty = "LOCATION";

struct ComponentText {
    CString lib, cell, view, name;
};

// "LIB.CELL[:VIEW] [NAME]": FALSE for any other form.
bool ParseComponentText(const char* text, ComponentText& out) {
    std::istringstream in(text ? text : "");
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty() || words.size() > 2) return false;
    const std::string& master = words[0];
    const size_t dot = master.find('.'), colon = master.find(':');
    if (dot == std::string::npos || dot == 0) return false;
    const size_t cellEnd = colon == std::string::npos ? master.size() : colon;
    if (cellEnd <= dot + 1 || (colon != std::string::npos && colon + 1 >= master.size())) return false;
    out.lib = master.substr(0, dot).c_str();
    out.cell = master.substr(dot + 1, cellEnd - dot - 1).c_str();
    out.view = colon == std::string::npos ? "sym" : master.substr(colon + 1).c_str();
    out.name = words.size() == 2 ? words[1].c_str() : "";
    return true;
}

} // namespace

// ------------------------------------------------------------------------------------------------ adding

namespace {
// The component pane of a list, the parsed text and a free name; FALSE (with a message) when the text
// or its master will not do.
bool PrepareAdd(CKXListPaneView* view, const char* text, ComponentText& parsed,
                CKXInstancePaneContainerView*& pane) {
    pane = dynamic_cast<CKXInstancePaneContainerView*>(view);
    const CDesignContext* design = pane ? pane->GetPaneDesignContext() : nullptr;
    IDesign* d = design ? design->design() : nullptr;
    if (!d) return false;
    if (!ParseComponentText(text, parsed)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-251", CString(text ? text : ""));
        return false;
    }
    IServer* server = d->server();
    if (!server || !server->findDesign(parsed.lib, parsed.cell, parsed.view)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-251", parsed.lib + "." + parsed.cell + ":" + parsed.view);
        return false;
    }
    if (!parsed.name.IsEmpty() && design->instance(parsed.name.GetString()).instance()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-252", parsed.name);
        return false;
    }
    for (int n = 1; parsed.name.IsEmpty() || design->instance(parsed.name.GetString()).instance(); ++n)
        parsed.name.Format("U%d", n);
    return true;
}
} // namespace

BOOL CKXComponentListGrid::AddInstanceFromStr(const char* text) {
    Record("AddInstanceFromStr", {CString(text ? text : "")});
    ComponentText parsed;
    CKXInstancePaneContainerView* pane = nullptr;
    if (!PrepareAdd(m_pView, text, parsed, pane)) return FALSE;
    return pane->AddComponent(parsed.name, parsed.lib, parsed.cell, parsed.view, "", "", 1);
}

BOOL CKXComponentListGrid::AddPhysicalInstanceFromStr(const char* text) {
    Record("AddPhysicalInstanceFromStr", {CString(text ? text : "")});
    ComponentText parsed;
    CKXInstancePaneContainerView* pane = nullptr;
    if (!PrepareAdd(m_pView, text, parsed, pane)) return FALSE;
    // The part is placed under its reference designator, which it also carries: one no other part has.
    const CDesignContext* design = pane->GetPaneDesignContext();
    if (design && CKXAssocCompAPI::IsDesignatorTaken(design->design(), parsed.name)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-491", parsed.name);
        return FALSE;
    }
    // Placed with its designator in one edit: one undo step, and nothing half made when the design refuses.
    return pane->AddComponent(parsed.name, parsed.lib, parsed.cell, parsed.view, "",
                              CString(kRefDesProperty) + "=" + parsed.name, 1);
}

// ------------------------------------------------------------------------------------------------ deleting

BOOL CKXComponentListGrid::DeleteCurSelInstance(int flag) {
    CString f;
    f.Format("%d", flag);
    Record("DeleteCurSelInstance", {f});
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    const CDesignContext* design = pane ? pane->GetPaneDesignContext() : nullptr;
    if (!design) return FALSE;
    CStringArray selected, names;
    GetSelectedNames(selected);
    for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
        if (design->instance(selected[i].GetString()).instance()) {
            names.Add(selected[i]);
            continue;
        }
        // A physical part: its logical instances of this design.
        for (const auto& [instance, refDes] : m_partOfInstance)
            if (refDes == selected[i] && instance.find('@') == std::string::npos) names.Add(instance.c_str());
    }
    if (names.GetSize() == 0) return FALSE;
    return pane->DeleteComponents(names);
}

BOOL CKXComponentListGrid::DeleteNamedInstance(LPCTSTR name, int flag) {
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    const CDesignContext* design = pane ? pane->GetPaneDesignContext() : nullptr;
    if (!design || !name || !design->instance(name).instance()) return DeleteCurSelInstance(flag);
    CStringArray names;
    names.Add(name);
    return pane->DeleteComponents(names);
}

BOOL CKXInstancePaneContainerView::DeleteComponents(const CStringArray& names) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || names.GetSize() == 0) return FALSE;
    std::vector<IInstance*> objects;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        IInstance* object = design->instance(names[i].GetString()).instance();
        if (!object) return Refuse("KXPANE-250", names[i]);
        objects.push_back(object);
    }
    const BOOL deleted = ChangeDesign("Delete Component", [&](CTransaction& t) {
        for (IInstance* object : objects)
            if (!t.removeInstance(object)) return false;
        return true;
    });
    if (!deleted) return FALSE;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) JournalEdit("Delete Component", "DeleteComponent", {names[i]});
    return TRUE;
}

// ------------------------------------------------------------------------------------------------ co-design

namespace {
// The property that makes an instance a co-design instance (its pins are grouped by physical pin).
constexpr const char* kCodesignProperty = "CODESIGN";
constexpr const char* kCodesignValue = "TRUE";

std::vector<CString> SplitNames(const CString& text) {
    std::istringstream in(text.GetString());
    std::vector<CString> names;
    for (std::string w; in >> w;) names.push_back(w.c_str());
    return names;
}

// The components named (blank-separated), or the ones selected in the list when none is named.
std::vector<CString> NamesOrSelection(const CString& names, CKXListPaneGrid& list) {
    std::vector<CString> wanted = SplitNames(names);
    if (wanted.empty()) {
        CStringArray selected;
        list.GetSelectedNames(selected);
        for (INT_PTR i = 0; i < selected.GetSize(); ++i) wanted.push_back(selected[i]);
    }
    return wanted;
}
} // namespace

BOOL CKXInstancePaneContainerView::MarkAsCodesign(WPARAM wParam, LPARAM lParam) {
    const CString names = wParam ? CString(reinterpret_cast<const char*>(wParam)) : CString();
    CString l;
    l.Format("%lld", static_cast<long long>(lParam));
    Record("MarkAsCodesign", {names, l});
    return MarkComponentsAsCodesign(names, lParam != 0 ? 1 : 0);
}

BOOL CKXInstancePaneContainerView::MarkComponentsAsCodesign(CString names, long mark) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return FALSE;
    std::vector<CString> wanted = NamesOrSelection(names, m_instanceGrid);
    if (wanted.empty()) return Refuse("KXPANE-450", "(nothing selected)");
    // Only the components whose mark changes take part; an unknown name refuses the whole edit.
    std::vector<CInstanceContext> changing;
    CString joined;
    for (const CString& name : wanted) {
        const CInstanceContext inst = design->instance(name.GetString());
        if (!inst.instance()) return Refuse("KXPANE-250", name);
        if ((CKXGenUtils::IsCodesign(inst) != FALSE) == (mark != 0)) continue;
        changing.push_back(inst);
        joined += (joined.IsEmpty() ? "" : " ") + name;
    }
    if (changing.empty()) return Refuse("KXPANE-450", names.IsEmpty() ? CString("(the selection)") : names);
    const BOOL done = ChangeDesign(mark ? "Mark As Codesign" : "Unmark Codesign", [&](CTransaction& t) {
        for (const CInstanceContext& inst : changing) {
            const bool ok = mark ? t.addProperty(inst, kCodesignProperty, kCodesignValue)
                                 : t.removeProperty(inst, kCodesignProperty);
            if (!ok) return false;
        }
        return true;
    });
    if (!done) return FALSE;
    JournalEdit(mark ? "Mark As Codesign" : "Unmark Codesign", "Clp().MarkAsCodesign", {joined}, {mark ? 1L : 0L});
    return TRUE;
}

// ------------------------------------------------------------------------------------------------ pasting

namespace {

// The first name "<prefix><n>" the design does not have, the prefix being the name less its trailing
// digits ("U" for "U12"; the whole name when it ends in none). A name that becomes the new part's
// designator is also one no part has (nor one an undo can bring back).
CString FreeNameLike(const CDesignContext& design, const CString& name, bool asDesignator) {
    std::string prefix = name.GetString();
    while (!prefix.empty() && std::isdigit(static_cast<unsigned char>(prefix.back()))) prefix.pop_back();
    if (prefix.empty()) prefix = "U";
    CString candidate;
    for (int n = 1;; ++n) {
        candidate.Format("%s%d", prefix.c_str(), n);
        if (design.instance(candidate.GetString()).instance()) continue;
        if (!asDesignator || !CKXAssocCompAPI::IsDesignatorTaken(design.design(), candidate)) return candidate;
    }
}

// The copied component's properties as AddComponent takes them: the part's own (source 1) and the others,
// each "NAME=VALUE" joined by ";".
void CopiedProperties(const IInstance& source, CString& own, CString& others) {
    for (const CString& name : source.beginPropertyName()) {
        if (name.CompareNoCase(kRefDesProperty) == 0) continue;
        std::unique_ptr<CPQPropertyData> p(source.findProperty(name.GetString()));
        if (!p) continue;
        CString& into = p->source() == 1 ? own : others;
        into += (into.IsEmpty() ? "" : ";") + name + "=" + p->value();
    }
}

} // namespace

namespace {
BOOL RefusePaste(const char* id, const CString& what) {
    CKXErrorHandler::MessageBoxOk(id, what);
    return FALSE;
}
} // namespace

BOOL CKXComponentListGrid::PasteComponentItem(int item) {
    auto* pane = dynamic_cast<CKXInstancePaneContainerView*>(m_pView);
    const CDesignContext* design = pane ? pane->GetPaneDesignContext() : nullptr;
    if (!design || !design->design()) return FALSE;
    auto* doc = dynamic_cast<CKXDocument*>(pane->GetDocument());
    // A window that may not edit says so before it looks at the item.
    if (doc && doc->GetOpenMode() == eOpenModeContext && !KXListChangeAllowed(*m_pView)) return FALSE;
    CString text = item >= 1 ? CKXImpClipBoard::GetViewerItemText(item - 1) : CString();
    text.Trim();
    CString number;
    number.Format("%d", item);
    if (text.IsEmpty()) return RefusePaste("KXPANE-451", number);
    if (text.FindOneOf("\r\n") >= 0) return RefusePaste("KXPANE-452", number);
    ComponentText parsed;
    CString own, others;
    if (const CInstanceContext source = design->instance(text.GetString()); source.instance()) {
        if (!ParseComponentText(source.instance()->masterName(), parsed)) return RefusePaste("KXPANE-251", text);
        parsed.name = FreeNameLike(*design, text, pane->IsPhysicalView());
        CopiedProperties(*source.instance(), own, others);
    } else {
        CKXInstancePaneContainerView* checked = nullptr;
        if (!PrepareAdd(m_pView, text.GetString(), parsed, checked)) return FALSE;
    }
    // A part of the physical list is known by its reference designator: the new one takes its name.
    if (pane->IsPhysicalView()) others += (others.IsEmpty() ? "" : ";") + CString(kRefDesProperty) + "=" + parsed.name;
    return pane->AddComponent(parsed.name, parsed.lib, parsed.cell, parsed.view, own, others, 1);
}

// ------------------------------------------------------------------------------------------------ power groups

namespace {
// The power group dialog, headless: the answer queue gives its fields "pin" and "net".
struct CKXPowerGroupDlg {
    CString pin, net;
    bool DoModal() {
        AfxDialogAnswer answer;
        if (!AfxGetAnswerQueue().TakeDialog("CKXPowerGroupDlg", answer)) return false;
        pin = answer.fields["pin"];
        net = answer.fields["net"];
        return true;
    }
};

} // namespace

int CKXInstancePaneContainerView::OnPowerGroup() {
    Record("OnPowerGroup");
    // A window that may not edit says so before it asks for the group.
    if (!KXListChangeAllowed(*this)) return 0;
    CKXPowerGroupDlg dlg;
    if (!dlg.DoModal()) return 2;
    return AssignPowerGroup(CString(), dlg.pin, dlg.net) ? 1 : 0;
}

BOOL CKXInstancePaneContainerView::AssignPowerGroup(CString names, CString pin, CString net) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return FALSE;
    std::vector<CString> wanted = NamesOrSelection(names, m_instanceGrid);
    pin.Trim();
    net.Trim();
    if (net.IsEmpty()) return Refuse("KXPANE-454", net);
    std::vector<IInstance*> changing;
    CString joined;
    for (const CString& name : wanted) {
        IInstance* inst = design->instance(name.GetString()).instance();
        if (!inst) return Refuse("KXPANE-250", name);
        const CKXPowerPinTies ties(*inst);
        const CKXPowerPinTies::Tie* tie = ties.Find(pin);
        if (!tie || tie->net == net) continue;
        changing.push_back(inst);
        joined += (joined.IsEmpty() ? "" : " ") + name;
    }
    if (changing.empty()) return Refuse("KXPANE-453", pin);
    const BOOL done = ChangeDesign("Assign Power", [&](CTransaction& t) {
        for (IInstance* inst : changing)
            if (!t.setPowerPinNet(inst, pin, net)) return false;
        return true;
    });
    if (!done) return Refuse("KXPANE-454", net);
    JournalEdit("Assign Power", "Clp().AssignPowerGroup", {joined, pin, net});
    return TRUE;
}
