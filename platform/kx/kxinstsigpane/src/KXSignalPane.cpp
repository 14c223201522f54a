// The signal pane: its lists, signal and alias edits, and selecting signals by name.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
#include "KXListPaneText.h"

#include <memory>
#include <sstream>

#include "kxcommon/KXHiliteObject.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/packaging.h"
#include "rmx/schemautil.h"

IMPLEMENT_DYNCREATE(CKXSignalPaneContainerView, CKXListPaneView)

BEGIN_DISPATCH_MAP(CKXSignalPaneContainerView, CKXListPaneView)
DISP_FUNCTION(CKXSignalPaneContainerView, "Select", Select, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXSignalPaneContainerView, "SelectGroup", SelectGroup, VT_BOOL, VTS_BSTR)
END_DISPATCH_MAP()

using namespace kxlistpane;

// ------------------------------------------------------------------------------------------------ signal pane

CKXSignalPaneContainerView::CKXSignalPaneContainerView() : CKXListPaneView(9003) {
    EnableAutomation();
    m_signalGrid.SetPaneView(this);
    m_physNetGrid.SetPaneView(this);
}

CKXSignalPaneContainerView::~CKXSignalPaneContainerView() = default;

CKXListPaneGrid* CKXSignalPaneContainerView::GetActiveList() {
    return IsPhysicalView() ? static_cast<CKXListPaneGrid*>(&m_physNetGrid) : &m_signalGrid;
}

void CKXSignalPaneContainerView::FillData() {
    const CDesignContext* design = FillLists(&m_signalGrid, kSignalListId, &m_physNetGrid, kPhysNetListId);
    if (!design) return;
    if (CCommonInterface* details = GetDetailsViewPtr()) {
        // All at once: the details view merges them into its sorted lists.
        const std::vector<CNetContext> nets = design->nets();
        if (IsPhysicalView())
            for (const CNetContext& net : nets) details->AddNetName(NetName(net));
        std::vector<INet*> all;
        all.reserve(nets.size());
        for (const CNetContext& net : nets) all.push_back(net.net());
        details->AddNets(all);
    }
}

void CKXSignalPaneContainerView::TellDetails(const CDesignContext& design, ISchemaObject* object) {
    CCommonInterface* details = GetDetailsViewPtr();
    if (!details || !object || object->objectType() != 'N') return;
    const CNetContext net = design.net(static_cast<INet*>(object));
    if (!net.net()) return;
    details->AddNet(net.net());
    if (IsPhysicalView()) details->AddNetName(NetName(net));
}

void CKXSignalPaneContainerView::ShowDPSignals(CString flag) {
    CString f = flag;
    f.Trim();
    m_bShowDPSignals = !(f == "0" || f.CompareNoCase("false") == 0 || f.CompareNoCase("off") == 0);
    Record("ShowDPSignals", {flag});
}

void CKXSignalPaneContainerView::ShowNetConnectivity(WPARAM wParam, LPARAM lParam) {
    RecordMessage("ShowNetConnectivity", wParam, lParam);
    GetActiveList()->Showconnectivity(TRUE);
}

BOOL CKXSignalPaneContainerView::AddSignal(CString name, CString second, CString third, CString fourth) {
    Record("AddSignal", {name, second, third, fourth});
    CString n = name;
    n.Trim();
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    if (n.IsEmpty() || (d && d->findNet(n.GetString()))) {
        CKXErrorHandler::MessageBoxOk(n.IsEmpty() ? "KXPANE-492" : "KXPANE-521", n);
        return FALSE;
    }
    BOOL added = ChangeDesign("Add Signal", [&](CTransaction& t) {
        INet* net = t.createNet(n, static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        return net && t.addNet(net);
    });
    if (added) {
        if (fourth.IsEmpty())
            JournalEdit("Add Signal", "AddSignal", {name, second, third});
        else
            JournalEdit("Add Signal", "AddSignal", {name, second, third, fourth});
    }
    return added;
}

BOOL CKXSignalPaneContainerView::AliasNets(CString first, CString second, CString third, CString fourth) {
    Record("AliasNets", {first, second, third, fourth});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* a = d ? d->findNet(first.GetString()) : nullptr;
    INet* b = d ? d->findNet(second.GetString()) : nullptr;
    if (!a || !b || a == b) return FALSE;
    if (!ChangeDesign("Alias Nets", [&](CTransaction& t) { return t.addAlias(a, b); })) return FALSE;
    JournalEdit("Alias Nets", "AliasNets", {first, second, third, fourth});
    return TRUE;
}

BOOL CKXSignalPaneContainerView::DeleteAlias(CString first, CString second) {
    Record("DeleteAlias", {first, second});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* a = d ? d->findNet(first.GetString()) : nullptr;
    INet* b = d ? d->findNet(second.GetString()) : nullptr;
    if (!a || !b) return FALSE;
    CAlias* alias = nullptr;
    for (CAlias* candidate : a->beginAlias())
        if (candidate && ((candidate->first() == a && candidate->second() == b) ||
                          (candidate->first() == b && candidate->second() == a)))
            alias = candidate;
    if (!alias) return FALSE;
    if (!ChangeDesign("Delete Alias", [&](CTransaction& t) { return t.removeAlias(alias); })) return FALSE;
    JournalEdit("Delete Alias", "DeleteAlias", {first, second});
    return TRUE;
}

BOOL CKXSignalPaneContainerView::RenameSignal(CString oldName, CString newName) {
    Record("RenameSignal", {oldName, newName});
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    INet* net = d ? d->findNet(oldName.GetString()) : nullptr;
    if (!net || newName.IsEmpty()) return FALSE;
    return ChangeDesign("Rename Signal", [&](CTransaction& t) { return t.renameNet(net, newName); });
}

void CKXSignalPaneContainerView::ShowNetConnectivity(const CDesignContext&, CKXNetContextArray* nets, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !nets) return;
    list->RemoveSelection();
    m_bGroupFlag = nets->GetSize() > 1;
    for (INT_PTR i = 0; i < nets->GetSize(); ++i) list->SelectObject(NetName((*nets)[i]), TRUE);
}

void CKXSignalPaneContainerView::ShowNetBitConnectivity(const CDesignContext&, CKXNetBitContextArray* netBits, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !netBits) return;
    list->RemoveSelection();
    m_bGroupFlag = netBits->GetSize() > 1;
    for (INT_PTR i = 0; i < netBits->GetSize(); ++i) list->SelectObject((*netBits)[i].spath(), TRUE);
}

BOOL CKXSignalPaneContainerView::Select(LPCTSTR nameOrPath) {
    if (CKXListPaneView::Select(nameOrPath)) return TRUE;
    const CDesignContext* design = GetPaneDesignContext();
    CCommonInterface* details = GetDetailsViewPtr();
    if (!design || !details || !nameOrPath) return FALSE;
    const CNetBitContext bit = NamedNetBit(*design, nameOrPath);
    if (!bit.net() || bit.bit() < 0) return FALSE;
    CKXNetBitContextArray bits;
    bits.Add(bit);
    details->ShowNetBitConnectivity(*design, &bits, TRUE);
    return TRUE;
}

CNetBitContext CKXSignalPaneContainerView::NamedNetBit(const CDesignContext& design,
                                                       const CString& name) const {
    const CNetContext whole = design.net(name.GetString());
    if (whole.net()) return whole.bitContext(-1);
    CString base;
    int lsb = -1, msb = -1;
    if (!CSchemaUtilities::parsePinName(name.GetString(), base, lsb, msb) || lsb != msb || lsb < 0) return {};
    const CNetContext net = design.net(base.GetString());
    const INet* bus = net.net();
    if (!bus || bus->isScalar() || lsb < std::min(bus->msb(), bus->lsb()) ||
        lsb > std::max(bus->msb(), bus->lsb()))
        return {};
    return net.bitContext(lsb);
}

BOOL CKXSignalPaneContainerView::SelectGroup(LPCTSTR names) {
    const CDesignContext* design = GetPaneDesignContext();
    CCommonInterface* details = GetDetailsViewPtr();
    if (!design || !details || !names) return FALSE;
    if (IsPhysicalView()) return SelectPhysicalGroup(*design, *details, names);
    CKXNetBitContextArray bits;
    bool anyBit = false;
    std::istringstream words(names);
    for (std::string word; words >> word;) {
        const CNetBitContext bit = NamedNetBit(*design, CString(word.c_str()));
        if (!bit.net()) return FALSE;
        anyBit = anyBit || bit.bit() >= 0;
        bits.Add(bit);
    }
    if (bits.GetSize() == 0) return FALSE;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->RemoveSelection();
    m_bGroupFlag = bits.GetSize() > 1;
    if (!anyBit) {
        // Whole nets go as the list's selection, as the user's selection of several does.
        CKXNetContextArray nets;
        for (INT_PTR i = 0; i < bits.GetSize(); ++i) {
            if (list) list->SelectObject(bits[i].net()->name(), TRUE);
            nets.Add(design->net(bits[i].net()->name()));
        }
        details->ShowNetConnectivity(*design, &nets, TRUE);
        return TRUE;
    }
    details->ShowNetBitConnectivity(*design, &bits, TRUE);
    return TRUE;
}

// The physical view names physical nets, whose names may be none of a logical net's (a net given a
// physical name): the details view shows them by those names, as the list's selection does.
BOOL CKXSignalPaneContainerView::SelectPhysicalGroup(const CDesignContext& design, CCommonInterface& details,
                                                     LPCTSTR names) {
    CStringList nets;
    std::istringstream words(names);
    for (std::string word; words >> word;) {
        // A logical net's name stands for the physical nets of its bits.
        if (std::unique_ptr<IPhysNet> net(getPhysNet(&design, word.c_str())); net)
            nets.AddTail(net->name());
        else if (design.net(word.c_str()).net())
            nets.AddTail(word.c_str());
        else
            return FALSE;
    }
    if (nets.IsEmpty()) return FALSE;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->RemoveSelection();
    m_bGroupFlag = nets.GetCount() > 1;
    if (list)
        for (POSITION pos = nets.GetHeadPosition(); pos;) list->SelectObject(nets.GetNext(pos), TRUE);
    details.ShowNetsByName(&nets, TRUE);
    return TRUE;
}

void CKXSignalPaneContainerView::ShowNetsByName(CStringList* names, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !names) return;
    list->RemoveSelection();
    m_bGroupFlag = names->GetCount() > 1;
    for (POSITION pos = names->GetHeadPosition(); pos;) list->SelectObject(names->GetNext(pos), TRUE);
}

void CKXSignalPaneContainerView::HighlightObject(CKXHiliteObject* object) {
    if (!object) return;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->SelectObject(object->GetObjectPath(), object->IsHilite());
}
