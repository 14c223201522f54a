// The connectivity pane in the physical view: the physical part grid of the parts
// double-clicked in the list pane, and the script words and automation methods
// that act on it (pin numbers, signal models, copy).
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXPaneKeys.h"
#include "grid/KXRefusalCauses.h"
#include "grid/KXScriptWords.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"

#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/packaging.h"

#include <memory>
#include <set>

namespace {

bool AsksForHelp(CTclArgsList* args) {
    if (!args) return false;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
        if (CTclArgs* arg = *it)
            for (int i = 0; i < arg->GetArgCount(); ++i)
                if (KXIsHelpArg(arg->GetValue(i))) return true;
    return false;
}

} // namespace

CKXPhysPartDetailsGridWnd* CKXBottomPaneContainerView::NewPhysPartGrid() {
    return PhysPartGridOf(CreateGrid(KXGridKind::PhysPart));
}

void CKXBottomPaneContainerView::ShowPhysParts(const std::vector<CString>& names) {
    const CDesignContext design = PaneDesign();
    // The list pane may name parts by reference designator or by one of their logical instances.
    std::vector<std::unique_ptr<IPhysPartInst>> parts;
    std::set<CString> seen;
    for (const CString& name : names) {
        std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, name.GetString()));
        if (!part) {
            const CInstanceContext inst = design.instance(name.GetString());
            if (inst) part.reset(getPhysPartInst(&design, &inst));
        }
        if (part && seen.insert(part->name()).second) parts.push_back(std::move(part));
    }
    if (parts.empty()) return;
    CKXPhysPartDetailsGridWnd* grid = nullptr;
    if (parts.size() == 1) {
        if (!m_pPhysPartGrid) m_pPhysPartGrid = NewPhysPartGrid();
        grid = m_pPhysPartGrid;
        if (grid) grid->PopulatePhysPart(design, parts.front().get(), m_strExcludedSpaths, FALSE);
    } else {
        // A group of parts is shown in a grid of its own, made anew for each group.
        CKXPhysPartDetailsGridWnd* former = m_pPhysPartGroupGrid;
        m_pPhysPartGroupGrid = NewPhysPartGrid();
        DestroyGrid(former);
        grid = m_pPhysPartGroupGrid;
        if (grid) {
            std::vector<IPhysPartInst*> group;
            for (auto& part : parts)
                group.push_back(part.get());
            grid->LoadPhysPart(design, group, m_strExcludedSpaths);
        }
    }
    if (!grid) return;
    m_shownGrids = {grid};
    LayoutShownGrids();
    grid->UpdatePaneTitle();
}

void CKXBottomPaneContainerView::ShowPhysNets(const std::vector<CString>& names) {
    const CDesignContext design = PaneDesign();
    std::vector<CString> nets;
    std::set<CString> seen;
    auto add = [&](const CString& name) {
        if (!name.IsEmpty() && seen.insert(name).second) nets.push_back(name);
    };
    for (const CString& name : names) {
        if (std::unique_ptr<IPhysNet> net(getPhysNet(&design, name.GetString())); net) {
            add(net->name());
            continue;
        }
        // A logical net: the physical nets of its bits.
        const CNetContext logical = design.net(name.GetString());
        if (!logical) continue;
        INet* object = logical.net();
        if (object->isScalar())
            add(logical.bitContext(-1).base().physicalNetName());
        else
            for (int b : object->bits())
                add(logical.bitContext(b).base().physicalNetName());
    }
    if (nets.empty()) return;
    // Each request shows its nets in a grid of its own (a grid that loaded several nets stays so).
    DestroyGrid(m_pPhysNetGrid);
    m_pPhysNetGrid = PhysNetGridOf(CreateGrid(KXGridKind::PhysNet));
    if (!m_pPhysNetGrid) return;
    if (nets.size() == 1) {
        std::unique_ptr<IPhysNet> net(getPhysNet(&design, nets.front().GetString()));
        m_pPhysNetGrid->PopulatePhysNet(design, net.get(), m_strExcludedSpaths);
    } else {
        m_pPhysNetGrid->LoadPhysNet(design, nets);
    }
    m_shownGrids = {m_pPhysNetGrid};
    LayoutShownGrids();
    SetPaneTitle(kShowsSignals);
}

CKXPhysNetDetailsGridWnd* CKXBottomPaneContainerView::ActivePhysNetGrid() const {
    if (GetViewMode() != eOpenModePhysical) return nullptr;
    return PhysNetGridOf(GetActiveGrid());
}

CKXPhysPartDetailsGridWnd* CKXBottomPaneContainerView::ActivePhysPartGrid() const {
    if (GetViewMode() != eOpenModePhysical) return nullptr;
    return PhysPartGridOf(GetActiveGrid());
}

void CKXBottomPaneContainerView::StoreExcludedSpathList(CString list) {
    m_strExcludedSpaths = list;
    if (GetViewMode() != eOpenModePhysical) return;
    for (const auto& g : m_grids) {
        if (CKXPhysPartDetailsGridWnd* part = PhysPartGridOf(g.get()))
            part->SetExcludedSpathList(part->ShownRefDes(), list);
        else if (CKXPhysNetDetailsGridWnd* net = PhysNetGridOf(g.get()))
            net->SetExcludedSpathList(net->ShownNetName(), list);
    }
}

void CKXBottomPaneContainerView::SetPartGridsExcludedSpathList(CString refDes, CString excludedPaths) {
    SetExcludedSpathList(refDes, excludedPaths);
}

// Block filters belong to the physical view; a logical window has no physical grids to tell.
void CKXBottomPaneContainerView::SetExcludedSpathList(CString refDes, CString excludedPaths) {
    if (GetViewMode() != eOpenModePhysical) return;
    for (CKXPhysPartDetailsGridWnd* g : {m_pPhysPartGrid, m_pPhysPartGroupGrid})
        if (g) g->SetExcludedSpathList(refDes, excludedPaths);
}

void CKXBottomPaneContainerView::SetExcludedSpathLists(CString netName, CString excludedPaths) {
    if (GetViewMode() != eOpenModePhysical) return;
    for (const auto& g : m_grids)
        if (CKXPhysNetDetailsGridWnd* net = PhysNetGridOf(g.get())) net->SetExcludedSpathList(netName, excludedPaths);
}

// ------------------------------------------------------------------ script words

KXEditResult CKXBottomPaneContainerView::OnTclAssignPinNumber(CTclArgsList* args, long) {
    CString number;
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
            CTclArgs* arg = *it;
            if (!arg) continue;
            if (arg->GetArgCount() != 1) return BadOperands();
            const CString v = arg->GetValue(0);
            if (KXIsHelpArg(v) || v.Left(2) == "-h") return Help();
            number = v;
        }
    if (number.IsEmpty()) return BadOperands();
    // A section another instance of the package holds is exchanged only when the user agrees: declined,
    // the assignment stopped at that question.
    const KXShownMark mark;
    auto answer = [&](BOOL assigned) {
        if (!assigned && mark.QuestionDeclinedSince("KXTABLE-133")) return KXEditResult::Dialog();
        return KXEditResult::Of(assigned, "KXTABLE-198", number);
    };
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    if (!part && GetViewMode() != eOpenModePhysical)
        if (IKXPinGrid* pin = ActivePinGrid()) {
            if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow);
            return answer(pin->CommitAssignPinNumber(number));
        }
    if (!part) {
        return KXEditResult::Refused("KXPANE-178");
    }
    return answer(part->OnAssignPinNumber(number));
}

namespace {

// assignModel / removeModel on a grid of signals (signal grid, physical net grid): the keys select
// the rows and the grid commits. 0, with its message, when the keys name no row or nothing changed.
template <class Grid>
KXEditResult NetModelWord(Grid& grid, const CString& model, CStringArray& keys, bool assign) {
    if (keys.GetSize() > 0) {
        // Keys that name no row must not fall back on the current cell's row, nor some keys act alone.
        if (const std::optional<CString> unnamed = kxpane::SelectRowsOfEveryKeyIn(grid, keys, ""))
            return KXEditResult::Refused(assign ? "KXTABLE-184" : "KXPANE-247", *unnamed);
    } else if (!grid.HasSelectionOfTheUser()) {
        return KXEditResult::Refused(assign ? KXCause::kNoModelPinChosen : KXCause::kNoModelPinChosenToRemove);
    }
    if (!assign) return KXEditResult::Of(grid.RemoveModels(), kKXNoModelRemoved);
    // A grid that refused says why; the fallback only where it said nothing.
    return KXEditResult::Of(grid.AssignModelByName(model), "KXTABLE-184");
}

} // namespace

// "assignModel MODEL KEY ..." and "removeModel KEY ...": the keys select the rows first.
KXEditResult CKXBottomPaneContainerView::OnTclAssignModel(CTclArgsList* args, long) {
    if (AsksForHelp(args)) return Help();
    if (KXEditResult matrix = KXEditResult::Done(); MatrixWord(KXScriptWord::assignModel, args, matrix)) return matrix;
    if (ActivePinGrid()) return PinGridModelCommand(args, true);
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    if (!part) return NetGridModelCommand(args, true);
    // Without keys the word acts on the pins the user chose.
    if (!part->HasSelectionOfTheUser() && (!args || args->GetTotalArgCount() < 2))
        return KXEditResult::Refused(KXCause::kNoModelPinChosen);
    if (!args || args->GetTotalArgCount() == 0) {
        part->AssignModel(0, "");
        return KXEditResult::Dialog();
    }
    const CString model = args->GetArg(0) ? args->GetArg(0)->GetValue(0) : CString();
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys, 1); !read.IsDone()) return read;
    if (keys.GetSize() > 0)
        if (const std::optional<CString> unnamed = kxpane::SelectRowsOfEveryKeyIn(*part, keys, ""))
            return KXEditResult::Refused("KXTABLE-184", *unnamed);
    if (!part->CanAssignModel()) {
        return KXEditResult::Refused("KXTABLE-184");
    }
    return KXEditResult::Of(part->CommitAssignModel(model), "KXTABLE-184");
}

KXEditResult CKXBottomPaneContainerView::OnTclRemoveModel(CTclArgsList* args, long) {
    if (AsksForHelp(args)) return Help();
    if (KXEditResult matrix = KXEditResult::Done(); MatrixWord(KXScriptWord::removeModel, args, matrix)) return matrix;
    if (ActivePinGrid()) return PinGridModelCommand(args, false);
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    if (!part) return NetGridModelCommand(args, false);
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    if (keys.GetSize() > 0) {
        if (const std::optional<CString> unnamed = kxpane::SelectRowsOfEveryKeyIn(*part, keys, ""))
            return KXEditResult::Refused(KXCause::kKeyNamesNoPin, *unnamed);
    } else if (!part->HasSelectionOfTheUser())
        return KXEditResult::Refused(KXCause::kNoModelPinChosenToRemove);
    return KXEditResult::Of(part->CommitRemoveModel(), kKXNoModelRemoved);
}


// assignModel / removeModel on the grid of signals the pane shows; assignModel without operands
// opens the physical net grid's model dialog.
KXEditResult CKXBottomPaneContainerView::NetGridModelCommand(CTclArgsList* args, bool assign) {
    // The model first (assign only), then the keys of the rows.
    const CString model = assign && args && args->GetArg(0) ? args->GetArg(0)->GetValue(0) : CString();
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys, assign ? 1 : 0); !read.IsDone()) return read;
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        return NetModelWord(*signal, model, keys, assign);
    CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid();
    if (!net) return NoGridOfKind();
    if (assign && (!args || args->GetTotalArgCount() == 0)) {
        if (!net->HasSelectionOfTheUser()) return KXEditResult::Refused(KXCause::kNoModelPinChosen);
        net->AssignModel(0, "");
        return KXEditResult::Dialog();
    }
    return NetModelWord(*net, model, keys, assign);
}
