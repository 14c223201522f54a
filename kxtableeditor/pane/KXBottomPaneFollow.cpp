// The connectivity pane keeps the grids it shows side by side in step (sorts,
// the list panes' flag, instance rows) and, in the physical view, follows the
// committed property changes that rename a part or a physical net or change a
// signal model: the grids that show them are told.
#include "pane/KXBottomPaneContainerView.h"

#include "grid/KXGridScopes.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXListPanes.h"
#include "rmx/context.h"
#include "rmx/schemautil.h"
#include "rmx/packaging.h"
#include "rmx/schema.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <memory>

namespace {

// Properties whose changes the physical view follows.
constexpr const char* kRefDes = "LOCATION";
constexpr const char* kPhysNetName = "PHYS_NET_NAME";
constexpr const char* kSignalModel = "SIGNAL_MODEL";
// A carrier with this property has a reference designator in error: its part is not renamed.
constexpr const char* kRefDesError = "ZRV_ERR_LOCATION";

// The object a property change names: its path is rooted in the design ("@U1") or canonical.
ISchemaObject* ObjectAt(IServer& server, const CDesignContext& design, const CString& path) {
    return path.Left(1) == "@" ? server.findObject(design, path.GetString()) : server.findObject(path.GetString());
}

bool HasProperty(const ISchemaObject& object, const char* name) {
    std::unique_ptr<CPQPropertyData> p(object.findProperty(name));
    return p != nullptr;
}

} // namespace

// ------------------------------------------------------------------ grids side by side

void CKXBottomPaneContainerView::SortColumnsInOtherGrids(CGXGridCore* grid, int col, BOOL ascending) {
    for (CKXGridWnd* g : m_shownGrids) {
        IKXPinGrid* pins = PinGridOf(g);
        if (!pins || g == grid) continue;
        {
            kxgrid::LockUpdateScope lock(*g);
            pins->SortLike(col, ascending);
        }
        g->Redraw(GX_INVALIDATE, TRUE);
    }
}

void CKXBottomPaneContainerView::SetPinGridsFlag(int value) {
    for (CKXGridWnd* g : m_shownGrids)
        if (IKXPinGrid* pins = PinGridOf(g)) pins->SetPaneFlag(value);
}

void CKXBottomPaneContainerView::RefreshInstancesInAllGrids(CDWordArray* ids) {
    if (!ids) return;
    const CDesignContext design = PaneDesign();
    std::vector<IInstance*> instances;
    for (INT_PTR i = 0; i < ids->GetSize(); ++i)
        if (IInstance* inst = design.instance(static_cast<unsigned>(ids->GetAt(i))).instance())
            instances.push_back(inst);
    if (instances.empty()) return;
    for (CKXGridWnd* g : ComponentWindows())
        if (IKXPinGrid* pins = PinGridOf(g)) pins->RefreshInstances(&instances);
}

// ------------------------------------------------------------------ a pin the host highlights

// The pin's component is selected in the component list and shown; its row becomes current: the
// package pin's row in the physical view, the pin's row (a bus bit's row expanded) otherwise.
BOOL CKXBottomPaneContainerView::HighlightPin(const CInstTermBitContext& pin) {
    const CInstanceContext owner = pin.instance();
    auto* list = dynamic_cast<CKXInstancePaneContainerView*>(m_pInstancePane);
    if (!owner || !list) return FALSE;
    const bool physical = GetViewMode() == eOpenModePhysical;
    CKXListPaneGrid* grid = physical ? static_cast<CKXListPaneGrid*>(list->GetPhysPartGrid())
                                     : static_cast<CKXListPaneGrid*>(list->GetInstancePaneGrid());
    if (!grid->IsInitialized()) list->FillData();
    grid->RemoveSelection();
    if (!grid->SelectObject(physical ? owner.spath().GetString() : owner.name().GetString(), TRUE)) return FALSE;
    grid->OnSelectionFollowUp();
    for (CKXGridWnd* g : m_shownGrids) {
        if (CKXPhysPartDetailsGridWnd* part = physical ? PhysPartGridOf(g) : nullptr) {
            part->SelectPinRow(pin.physicalPinName());
            return TRUE;
        }
        if (IKXPinGrid* pins = physical ? nullptr : PinGridOf(g)) {
            const IInstTerm* term = pin.instTerm();
            if (!term) return FALSE;
            CString name = term->name();
            if (term->msb() >= 0 && pin.bit() >= 0) name = CSchemaUtilities::vectorName(name, pin.bit());
            pins->ExpandPin(name);
            return TRUE;
        }
    }
    return TRUE; // the list selects the pin's component; no grid of its kind is shown
}

// ------------------------------------------------------------------ renamed components and parts

std::vector<CKXPhysPartDetailsGridWnd*> CKXBottomPaneContainerView::PartGridsShowing(const CString& refDes) const {
    std::vector<CKXPhysPartDetailsGridWnd*> grids;
    for (const auto& g : m_grids)
        if (CKXPhysPartDetailsGridWnd* part = PhysPartGridOf(g.get()); part && !part->m_bObjectLoaded &&
                                                                        part->m_strRefDes == refDes)
            grids.push_back(part);
    return grids;
}

void CKXBottomPaneContainerView::RenameComponent(IInstance* instance, CString oldName) {
    if (!instance || !instance->name()) return;
    RenameComponent(CString(instance->name()), oldName, CString(instance->cellName()));
}

void CKXBottomPaneContainerView::RenameComponent(const CString& newName, const CString& oldName,
                                                 const CString& cellName) {
    if (newName.IsEmpty() || newName == oldName) return;
    const CDesignContext design = PaneDesign();
    std::unique_ptr<IPhysPartInst> still(getPhysPartInst(&design, oldName.GetString()));
    if (still) {
        // Another section still carries the old reference designator: its window stays, with fewer pins.
        ReloadPartGrids(oldName);
    } else if (cellName.IsEmpty()) {
        MovePartName(newName, oldName);
        return;
    } else {
        RemoveComponent(oldName);
    }
    if (GetComponentId(newName) >= 0) {
        ReloadPartGrids(newName);
        return;
    }
    if (cellName.IsEmpty())
        AddOrRefreshPart(newName);
    else
        AddComponentNamed(newName);
}

void CKXBottomPaneContainerView::ReloadPartGrids(const CString& refDes) {
    for (CKXPhysPartDetailsGridWnd* grid : PartGridsShowing(refDes))
        grid->ReloadPartPins();
}

void CKXBottomPaneContainerView::MovePartName(const CString& newRefDes, const CString& oldRefDes) {
    // The registry keeps the part's id under its new name.
    auto it = m_compNameToId.find(oldRefDes.str());
    if (it != m_compNameToId.end() && !m_compNameToId.count(newRefDes.str())) {
        const int id = it->second;
        m_compNameToId.erase(it);
        m_compNameToId[newRefDes.str()] = id;
        m_compIdToName[id] = newRefDes;
    }
    // The grid that showed the part under its old name shows it under the new one.
    for (CKXPhysPartDetailsGridWnd* grid : PartGridsShowing(oldRefDes)) {
        grid->SetRefDes(newRefDes);
        grid->m_strLoadedRefDes = newRefDes;
        grid->ReloadPartPins();
        grid->UpdatePaneTitle();
    }
}

void CKXBottomPaneContainerView::AddOrRefreshPart(const CString& refDes) {
    std::vector<CKXPhysPartDetailsGridWnd*> grids = PartGridsShowing(refDes);
    for (CKXPhysPartDetailsGridWnd* grid : grids) {
        grid->m_strLoadedRefDes = refDes;
        grid->ReloadPartPins();
    }
    if (GetComponentId(refDes) >= 0 || !grids.empty()) return;
    const CDesignContext design = PaneDesign();
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, refDes.GetString()));
    if (part) AddComponentNamed(refDes);
}

void CKXBottomPaneContainerView::OnPhysNetRenamed(const CString& newName, const CString& oldName) {
    if (newName.IsEmpty() || newName == oldName) return;
    auto it = m_netNameToId.find(oldName.str());
    if (it != m_netNameToId.end() && !m_netNameToId.count(newName.str())) {
        const int id = it->second;
        m_netNameToId.erase(it);
        m_netNameToId[newName.str()] = id;
        m_netIdToName[id] = newName;
    }
    // The part grids show the physical net names in their signal cells.
    for (const auto& g : m_grids)
        if (CKXPhysPartDetailsGridWnd* part = PhysPartGridOf(g.get())) part->RenameSignalInRows(newName, oldName);
}

void CKXBottomPaneContainerView::RefreshPackageRows(const CString& value, const CString& path) {
    (void)value; // the rows are read again from the design
    IServer* server = CKXShareGlobalData::m_pServer;
    ISchemaObject* object = server ? ObjectAt(*server, PaneDesign(), path) : nullptr;
    if (!object || object->objectType() != 'I') return;
    const char* package = static_cast<IInstance*>(object)->physicalPackageName();
    if (!package || !*package) return;
    for (const auto& g : m_grids)
        if (PhysPartGridOf(g.get()) || PhysNetGridOf(g.get())) g->RefreshRowsByName(package);
}

// ------------------------------------------------------------------ committed property changes

bool CKXBottomPaneContainerView::FollowPropertyChange(IChange& change) {
    IServer* server = CKXShareGlobalData::m_pServer;
    if (GetViewMode() != eOpenModePhysical || !server) return false;
    CString path, name, oldValue, newValue;
    if (!server->decodePropertyChange(&change, path, name, oldValue, newValue)) return false;
    const int kind = change.changeKind();
    if (kind == rmx::ChangeKind::ValueChanged) {
        if (oldValue.IsEmpty() || newValue.IsEmpty() || oldValue.CompareNoCase(newValue) == 0) return false;
        if (name.CompareNoCase(kRefDes) == 0) {
            const CDesignContext design = PaneDesign();
            std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, newValue.GetString()));
            ISchemaObject* carrier = part ? ObjectAt(*server, design, path) : nullptr;
            if (!carrier || carrier->objectType() != 'I' || HasProperty(*carrier, kRefDesError)) return false;
            RenameComponent(newValue, oldValue, CString()); // a part has no cell
        } else if (name.CompareNoCase(kPhysNetName) == 0) {
            OnPhysNetRenamed(newValue, oldValue);
        } else if (name.CompareNoCase(kSignalModel) == 0) {
            RefreshPackageRows(newValue, path);
        } else {
            return false;
        }
        return true;
    }
    if (kind != rmx::ChangeKind::Added && kind != rmx::ChangeKind::Removed) return false;
    // An added property has its value as the new one, a removed one as the old one.
    const CString value = kind == rmx::ChangeKind::Added ? newValue : oldValue;
    if (name.CompareNoCase(kSignalModel) == 0) {
        RefreshPackageRows(kind == rmx::ChangeKind::Added ? value : CString(), path);
        return true;
    }
    if (name.CompareNoCase(kRefDes) != 0 || value.IsEmpty()) return false;
    const CDesignContext design = PaneDesign();
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, value.GetString()));
    if (part)
        AddOrRefreshPart(value);
    else
        RemoveComponent(value);
    return true;
}
