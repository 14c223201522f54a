// The component pane: its lists, block packaging options, reference designators and component edits.
#include "kxinstsigpane/KXListPanes.h"

#include "KXListPaneChange.h"
#include "KXListPaneText.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/server.h"

#include <sstream>
#include <string>

IMPLEMENT_DYNCREATE(CKXInstancePaneContainerView, CKXListPaneView)

BEGIN_DISPATCH_MAP(CKXInstancePaneContainerView, CKXListPaneView)
DISP_FUNCTION(CKXInstancePaneContainerView, "Select", Select, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXInstancePaneContainerView, "SelectGroup", SelectGroup, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXInstancePaneContainerView, "MarkAsCodesign", MarkComponentsAsCodesign, VT_BOOL, VTS_BSTR VTS_I4)
DISP_FUNCTION(CKXInstancePaneContainerView, "AssignPowerGroup", AssignPowerGroup, VT_BOOL, VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXInstancePaneContainerView, "PreserveComments", PreserveComments, VT_BOOL, VTS_BSTR VTS_BSTR VTS_I4)
END_DISPATCH_MAP()

using namespace kxlistpane;

// ------------------------------------------------------------------------------------------------ component pane

CKXInstancePaneContainerView::CKXInstancePaneContainerView() : CKXListPaneView(9002) {
    EnableAutomation();
    m_instanceGrid.SetPaneView(this);
    m_physPartGrid.SetPaneView(this);
}

CKXInstancePaneContainerView::~CKXInstancePaneContainerView() = default;

CKXListPaneGrid* CKXInstancePaneContainerView::GetActiveList() {
    return IsPhysicalView() ? static_cast<CKXListPaneGrid*>(&m_physPartGrid) : &m_instanceGrid;
}

void CKXInstancePaneContainerView::FillData() {
    const CDesignContext* design = FillLists(&m_instanceGrid, kInstanceListId, &m_physPartGrid, kPhysPartListId);
    if (!design) return;
    // The connectivity pane keeps ids for the packaged objects it may be asked to show by name; it knows
    // logical instances by their database ids, and follows the ones placed later from the commits.
    if (CCommonInterface* details = GetDetailsViewPtr()) {
        for (const CInstanceContext& inst : design->instances())
            if (inst.instance() && inst.instance()->physicalPackageName())
                details->AddComponent(inst.instance(), inst.name());
    }
}

void CKXInstancePaneContainerView::TellDetails(const CDesignContext& design, ISchemaObject* object) {
    CCommonInterface* details = GetDetailsViewPtr();
    if (!details || !object || object->objectType() != 'I') return;
    const CInstanceContext inst = design.instance(static_cast<IInstance*>(object));
    if (inst.instance() && inst.instance()->physicalPackageName()) details->AddComponent(inst.instance(), inst.name());
}

void CKXInstancePaneContainerView::LaunchCreateBlock() {
    Record("LaunchCreateBlock");
    // A new block is a new schematic of the library, made by the host's block creation, which is not
    // installed here; an existing schematic is placed as a block with AddBlock.
    CKXErrorHandler::MessageBoxOk("KXPANE-456");
}

BOOL CKXInstancePaneContainerView::CanExportInterface() {
    const CDesignContext* design = GetPaneDesignContext();
    return design && design->design() && !IsPhysicalView();
}

// An import edits the design: a window opened for looking only (in its parent's context) takes none.
BOOL CKXInstancePaneContainerView::CanImportInterface() {
    const auto* doc = dynamic_cast<CKXDocument*>(GetDocument());
    return CanExportInterface() && !(doc && doc->GetOpenMode() == eOpenModeContext);
}

// ------------------------------------------------------------------ block options and reference designators

namespace {

// The packaging option of a block instance: the option's keyword and, where it takes one, its value.
constexpr const char* kPackagingOption = "PACKAGING_OPTION";
constexpr const char* kPackagingValue = "PACKAGING_VALUE";
// The reference designator of a component.
constexpr const char* kRefDes = "LOCATION";

bool SetOrRemove(CTransaction& t, const CInstanceContext& inst, const char* name, const CString& value) {
    if (!value.IsEmpty()) return t.addProperty(inst, name, value);
    CPQPropertyData* had = inst.findProperty(name);
    const bool present = had != nullptr;
    delete had;
    return !present || t.removeProperty(inst, name);
}

// "LIB.CELL:VIEW" (or "LIB.CELL", the view then empty) split into its parts; false when malformed.
bool SplitMaster(const CString& master, CString& lib, CString& cell, CString& view) {
    const int dot = master.Find('.');
    if (dot <= 0) return false;
    const int colon = master.Find(':', dot + 1);
    lib = master.Left(dot);
    cell = colon < 0 ? master.Mid(dot + 1) : master.Mid(dot + 1, colon - dot - 1);
    view = colon < 0 ? CString() : master.Mid(colon + 1);
    return !cell.IsEmpty() && (colon < 0 || !view.IsEmpty());
}

} // namespace

BOOL CKXInstancePaneContainerView::Refuse(const char* id, const CString& what) {
    CKXErrorHandler::MessageBoxOk(id, what);
    return FALSE;
}

CInstanceContext CKXInstancePaneContainerView::NamedOrSelectedInstance(const CString& name) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design()) return CInstanceContext();
    CString wanted = name;
    if (wanted.IsEmpty()) {
        CStringArray selected;
        m_instanceGrid.GetSelectedNames(selected);
        if (selected.GetSize() != 1) return CInstanceContext();
        wanted = selected[0];
    }
    return design->instance(wanted.GetString());
}

BOOL CKXInstancePaneContainerView::SetBlockOption(const CInstanceContext& block, const char* keyword,
                                                   const CString& value) {
    return ChangeDesign("Change Block Option", [&](CTransaction& t) {
        return SetOrRemove(t, block, kPackagingOption, keyword) && SetOrRemove(t, block, kPackagingValue, value);
    });
}

BOOL CKXInstancePaneContainerView::EditBlkPackagingOptions(int kind, CString value, CString third, CString t4,
                                                           CString t5, CString t6, CString t7) {
    CString k;
    k.Format("%d", kind);
    Record("EditBlkPackagingOptions", {k, value, third, t4, t5, t6, t7});
    const char* keyword = BlockOptionKeyword(kind);
    if (!keyword) return FALSE;
    // The block is named by the third text, or is the one selected in the component list.
    CInstanceContext block = NamedOrSelectedInstance(third);
    if (!block.instance() || !block.instance()->containedDesign())
        return Refuse("KXPANE-250", third.IsEmpty() ? CString("(the selection)") : third);
    if (!SetBlockOption(block, keyword, value)) return FALSE;
    JournalEdit("Change Block Option", "ChangeBlkOption", {keyword, value, third, t4, t5, t6, t7});
    return TRUE;
}

BOOL CKXInstancePaneContainerView::AddComponent(CString name, CString lib, CString cell, CString view, CString fifth,
                                                CString sixth, int seventh) {
    CString s;
    s.Format("%d", seventh);
    Record("AddComponent", {name, lib, cell, view, fifth, sixth, s});
    if (name.IsEmpty() || lib.IsEmpty() || cell.IsEmpty()) return FALSE;
    // The fifth and sixth texts are the new component's properties, "NAME=VALUE" joined by ";": the
    // fifth's are the part's own (source 1), the sixth's the others.
    std::vector<SKXPropertyText> properties;
    if (!KXSplitPropertyTexts(fifth, 1, properties) || !KXSplitPropertyTexts(sixth, 0, properties))
        return Refuse("KXPANE-290", fifth.IsEmpty() ? sixth : fifth);
    // A new part takes no designator that another part has, or that one an undo can bring back has.
    const CDesignContext* design = GetPaneDesignContext();
    for (const SKXPropertyText& p : properties)
        if (p.name.CompareNoCase(kRefDes) == 0 && design &&
            CKXAssocCompAPI::IsDesignatorTaken(design->design(), p.value))
            return Refuse("KXPANE-491", p.value);
    if (!AddDesignInstance(name, lib, cell, view.IsEmpty() ? CString("sym") : view, properties)) return FALSE;
    JournalEdit("Add Component", "AddComponent", {name, lib, cell, view, fifth, sixth}, {seventh});
    return TRUE;
}

// A block instance a1 of the schematic a2.a3 (view a6, "sch" when empty) with its packaging option.
BOOL CKXInstancePaneContainerView::AddBlock(CString a1, CString a2, CString a3, int kind, CString a5, CString a6,
                                            int flag, CString t8, CString t9, CString t10, int i11, int i12) {
    CString k, f, x, y;
    k.Format("%d", kind);
    f.Format("%d", flag);
    x.Format("%d", i11);
    y.Format("%d", i12);
    Record("AddBlock", {a1, a2, a3, k, a5, a6, f, t8, t9, t10, x, y});
    const char* keyword = BlockOptionKeyword(kind);
    const CDesignContext* design = GetPaneDesignContext();
    IDesign* d = design ? design->design() : nullptr;
    if (!keyword || !d || a1.IsEmpty()) return FALSE;
    const CString view = a6.IsEmpty() ? CString("sch") : a6;
    IServer* server = d->server();
    IDesign* master = server ? server->findDesign(a2, a3, view) : nullptr;
    if (!master || master->isSymbol()) return Refuse("KXPANE-251", a2 + "." + a3 + ":" + view);
    if (design->instance(a1.GetString()).instance()) return Refuse("KXPANE-252", a1);
    const BOOL added = ChangeDesign("Add Block", [&](CTransaction& t) {
        IInstance* inst = t.createInstance(a1, a2, a3, view);
        if (!inst) return false;
        const CInstanceContext block = design->instance(inst->id());
        return SetOrRemove(t, block, kPackagingOption, keyword) && SetOrRemove(t, block, kPackagingValue, a5);
    });
    if (!added) return FALSE;
    JournalEdit("Add Block", "AddBlock", {a1, a2, a3, keyword, a5, a6, flag ? "TRUE" : "FALSE", t8, t9, t10},
                {i11, i12});
    return TRUE;
}

// The component `first` gets the master `second` ("LIB.CELL:VIEW"; the view kept when left out).
BOOL CKXInstancePaneContainerView::Modify(CString first, CString second) {
    Record("Modify", {first, second});
    CInstanceContext inst = NamedOrSelectedInstance(first);
    if (!inst.instance()) return Refuse("KXPANE-250", first);
    CString lib, cell, view;
    if (!SplitMaster(second, lib, cell, view)) return Refuse("KXPANE-251", second);
    if (view.IsEmpty()) view = inst.instance()->viewName();
    IInstance* object = inst.instance();
    IServer* server = object->design() ? object->design()->server() : nullptr;
    if (!server || !server->findDesign(lib, cell, view)) return Refuse("KXPANE-251", lib + "." + cell + ":" + view);
    if (!ChangeDesign("Modify Component",
                      [&](CTransaction& t) { return t.replaceMaster(object, lib, cell, view); }))
        return FALSE;
    JournalEdit("Modify Component", "ModifyComponent", {first, second});
    return TRUE;
}

// The reference designators of the components selected in the component list are removed.
BOOL CKXInstancePaneContainerView::DeleteRefDes() {
    Record("DeleteRefDes");
    const CDesignContext* design = GetPaneDesignContext();
    CStringArray selected;
    m_instanceGrid.GetSelectedNames(selected);
    std::vector<CInstanceContext> targets;
    for (INT_PTR i = 0; design && i < selected.GetSize(); ++i) {
        CInstanceContext inst = design->instance(selected[i].GetString());
        if (inst.instance() && inst.instance()->physicalPackageName()) targets.push_back(inst);
    }
    if (targets.empty()) return Refuse("KXPANE-253", Join(selected));
    if (!ChangeDesign("Delete RefDes", [&](CTransaction& t) {
            for (const CInstanceContext& inst : targets)
                if (!t.removeProperty(inst, kRefDes)) return false;
            return true;
        }))
        return FALSE;
    // The journal names the components: one selection and one call for each.
    for (const CInstanceContext& inst : targets) {
        JournalEdit("Select Component", "Clp().Select", {inst.name()});
        JournalEdit("Delete RefDes", "DeleteRefDes", {});
    }
    return TRUE;
}

// The component `first` (the selected one when empty) gets the reference designator `second`.
BOOL CKXInstancePaneContainerView::EditRefDes(CString first, CString second) {
    Record("EditRefDes", {first, second});
    CInstanceContext inst = NamedOrSelectedInstance(first);
    CString refDes = second;
    refDes.Trim();
    if (!inst.instance()) return Refuse("KXPANE-250", first);
    if (refDes.IsEmpty()) return Refuse("KXPANE-253", first);
    // A placed part's designator may be shared by the sections of one part; an associated component's is
    // its own.
    const CDesignContext* design = GetPaneDesignContext();
    if (design && CKXAssocCompAPI::IsAssociatedDesignator(design->design(), refDes))
        return Refuse("KXPANE-491", refDes);
    if (!ChangeDesign("Edit RefDes", [&](CTransaction& t) { return t.addProperty(inst, kRefDes, refDes); }))
        return FALSE;
    JournalEdit("Edit RefDes", "EditRefDes", {first, second});
    return TRUE;
}

BOOL CKXInstancePaneContainerView::RenameComponent(CString oldName, CString newName) {
    Record("RenameComponent", {oldName, newName});
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || newName.IsEmpty()) return FALSE;
    CInstanceContext inst = design->instance(oldName.GetString());
    if (!inst.instance()) return FALSE;
    IInstance* object = inst.instance();
    return ChangeDesign("Rename Component", [&](CTransaction& t) { return t.renameInstance(object, newName); });
}

BOOL CKXInstancePaneContainerView::DeleteComponent(CString name) {
    Record("DeleteComponent", {name});
    const CDesignContext* design = GetPaneDesignContext();
    if (!design) return FALSE;
    CInstanceContext inst = design->instance(name.GetString());
    if (!inst.instance()) return FALSE;
    IInstance* object = inst.instance();
    return ChangeDesign("Delete Component", [&](CTransaction& t) { return t.removeInstance(object); });
}

void CKXInstancePaneContainerView::ShowInstanceConnectivity(const CDesignContext&, CKXInstanceContextArray* instances,
                                                            BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !instances) return;
    list->RemoveSelection();
    for (INT_PTR i = 0; i < instances->GetSize(); ++i) list->SelectObject((*instances)[i].name(), TRUE);
}

BOOL CKXInstancePaneContainerView::SelectGroup(LPCTSTR names) {
    const CDesignContext* design = GetPaneDesignContext();
    CCommonInterface* details = GetDetailsViewPtr();
    CKXListPaneGrid* list = GetActiveList();
    if (!design || !details || !list || !names) return FALSE;
    if (IsPhysicalView()) return Refuse("KXPANE-731", CString());
    if (!list->IsInitialized()) FillData();
    CKXInstanceContextArray instances;
    std::istringstream words(names);
    for (std::string word; words >> word;) {
        const CInstanceContext inst = design->instance(word.c_str());
        if (!inst.instance()) return Refuse("KXPANE-250", word.c_str());
        instances.Add(inst);
    }
    if (instances.GetSize() == 0) return Refuse("KXPANE-250", "(no name)");
    list->RemoveSelection();
    for (INT_PTR i = 0; i < instances.GetSize(); ++i) list->SelectObject(instances[i].name(), TRUE);
    // The group flag of the request: the connectivity pane shows the components in one grid.
    details->m_bGroupFlag = instances.GetSize() > 1;
    details->ShowInstanceConnectivity(*design, &instances, TRUE);
    return TRUE;
}

void CKXInstancePaneContainerView::ShowComponentsByName(const CDesignContext&, CStringList* names, BOOL) {
    CKXListPaneGrid* list = GetActiveList();
    if (!list || !names) return;
    list->RemoveSelection();
    for (POSITION pos = names->GetHeadPosition(); pos;) list->SelectObject(names->GetNext(pos), TRUE);
}

void CKXInstancePaneContainerView::HighlightObject(CKXHiliteObject* object) {
    if (!object) return;
    CKXListPaneGrid* list = GetActiveList();
    if (list) list->SelectObject(object->GetObjectPath(), object->IsHilite());
}
