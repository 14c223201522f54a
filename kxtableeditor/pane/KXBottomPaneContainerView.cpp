#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXScriptWords.h"
#include "pane/KXObjectInfoWnd.h"
#include "grid/KXGridEdit.h"

#include "shell/KXDesignChangeLog.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "pingrid/KXPinGrid.h"
#include "matrix/KXMatrixGridWnd.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "grid/KXGridUndo.h"
#include "grid/KXReplaySteps.h"
#include "grid/gxcommand.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXEditSink.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxnotes/CComments.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <vector>

namespace {
// Orders the steps of every window: a close of one window compares its steps with later ones of others.
std::uint64_t NextStepOrder() {
    static std::uint64_t order = 0;
    return ++order;
}

// Every pane of the process, oldest first: their histories name the designators of parts an undo or redo can
// bring back.
std::vector<CKXBottomPaneContainerView*>& LivePanes() {
    static std::vector<CKXBottomPaneContainerView*> panes;
    return panes;
}

// The design window the user works in, null when none is active.
const CWnd* ActivePaneFrame() {
    const auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    return main ? main->MDIGetActive() : nullptr;
}
} // namespace

IMPLEMENT_DYNCREATE(CKXBottomPaneContainerView, CView)

CRuntimeClass* KXConnectivityPaneClass() {
    return RUNTIME_CLASS(CKXBottomPaneContainerView);
}

IKXConnectivityPane* KXConnectivityPaneOf(CWnd* view) {
    return view && view->IsKindOf(RUNTIME_CLASS(CKXBottomPaneContainerView))
               ? static_cast<CKXBottomPaneContainerView*>(view)
               : nullptr;
}

BEGIN_MESSAGE_MAP(CKXBottomPaneContainerView, CView)
ON_COMMAND(35275, &CKXBottomPaneContainerView::OnPrefixPinName)
ON_COMMAND(35276, &CKXBottomPaneContainerView::OnSuffixPinName)
ON_COMMAND(35277, &CKXBottomPaneContainerView::OnPrefixPinNumber)
ON_COMMAND(35278, &CKXBottomPaneContainerView::OnSuffixPinNumber)
ON_COMMAND(35282, &CKXBottomPaneContainerView::OnIncrementSignalName)
ON_COMMAND(35255, &CKXBottomPaneContainerView::OnAutoName)
ON_COMMAND(35256, &CKXBottomPaneContainerView::OnSameAsPinName)
ON_COMMAND(35280, &CKXBottomPaneContainerView::OnShortPins)
ON_COMMAND(35279, &CKXBottomPaneContainerView::OnSignalFunctionButton)
ON_CBN_SELENDOK(35257, &CKXBottomPaneContainerView::OnAttachSignal)
ON_NOTIFY(NM_RETURN, 35257, &CKXBottomPaneContainerView::OnAttachSignalNotify)
ON_COMMAND(57634, &CKXBottomPaneContainerView::OnEditCopy)
ON_UPDATE_COMMAND_UI(57634, &CKXBottomPaneContainerView::OnUpdateEditCopy)
ON_COMMAND(57637, &CKXBottomPaneContainerView::OnEditPaste)
ON_UPDATE_COMMAND_UI(57637, &CKXBottomPaneContainerView::OnUpdateEditPaste)
ON_COMMAND(57639, &CKXBottomPaneContainerView::OnEditPasteSpecial)
ON_UPDATE_COMMAND_UI(57639, &CKXBottomPaneContainerView::OnUpdateEditPasteSpecial)
ON_COMMAND(35281, &CKXBottomPaneContainerView::OnPasteSpecialDialog)
ON_COMMAND(57643, &CKXBottomPaneContainerView::OnEditUndo)
ON_UPDATE_COMMAND_UI(57643, &CKXBottomPaneContainerView::OnUpdateEditUndo)
ON_COMMAND(57644, &CKXBottomPaneContainerView::OnEditRedo)
ON_UPDATE_COMMAND_UI(57644, &CKXBottomPaneContainerView::OnUpdateEditRedo)
ON_COMMAND(57636, &CKXBottomPaneContainerView::OnEditFind)
ON_UPDATE_COMMAND_UI(57636, &CKXBottomPaneContainerView::OnUpdateEditFind)
ON_COMMAND(57641, &CKXBottomPaneContainerView::OnEditReplace)
ON_UPDATE_COMMAND_UI(57641, &CKXBottomPaneContainerView::OnUpdateEditReplace)
ON_COMMAND(35264, &CKXBottomPaneContainerView::OnDeleteConnections)
ON_UPDATE_COMMAND_UI(35264, &CKXBottomPaneContainerView::OnUpdateDeleteConnections)
ON_COMMAND(35659, &CKXBottomPaneContainerView::OnEditProperties)
ON_COMMAND(35071, &CKXBottomPaneContainerView::OnShowPropertyEditor)
ON_COMMAND(35093, &CKXBottomPaneContainerView::OnZoom)
ON_UPDATE_COMMAND_UI(35093, &CKXBottomPaneContainerView::OnUpdateZoom)
ON_UPDATE_COMMAND_UI(35071, &CKXBottomPaneContainerView::OnUpdateShowPropertyEditor)
ON_COMMAND(35574, &CKXBottomPaneContainerView::OnShowAssocCompViewer)
ON_UPDATE_COMMAND_UI(35574, &CKXBottomPaneContainerView::OnUpdateShowAssocCompViewer)
ON_COMMAND_RANGE(35120, 35128, &CKXBottomPaneContainerView::OnSortByColumn)
ON_UPDATE_COMMAND_UI(35120, &CKXBottomPaneContainerView::OnUpdateSortMenu)
ON_COMMAND(35096, &CKXBottomPaneContainerView::OnModifyValues)
ON_UPDATE_COMMAND_UI(35096, &CKXBottomPaneContainerView::OnUpdateModifyValues)
ON_COMMAND(35672, &CKXBottomPaneContainerView::OnSortAsAlpha)
ON_UPDATE_COMMAND_UI(35672, &CKXBottomPaneContainerView::OnUpdateSortAsAlpha)
ON_COMMAND(35673, &CKXBottomPaneContainerView::OnSortAsAlphaNumeric)
ON_UPDATE_COMMAND_UI(35673, &CKXBottomPaneContainerView::OnUpdateSortAsAlphaNumeric)
ON_COMMAND(35130, &CKXBottomPaneContainerView::OnCustomizeColumns)
ON_UPDATE_COMMAND_UI(35130, &CKXBottomPaneContainerView::OnUpdateCustomizeColumns)
ON_COMMAND(35522, &CKXBottomPaneContainerView::OnAddTermination)
ON_UPDATE_COMMAND_UI(35522, &CKXBottomPaneContainerView::OnUpdateAddTermination)
ON_COMMAND(35509, &CKXBottomPaneContainerView::OnAddPullupPulldown)
ON_UPDATE_COMMAND_UI(35509, &CKXBottomPaneContainerView::OnUpdateAddPullupPulldown)
ON_COMMAND(35543, &CKXBottomPaneContainerView::OnAssignModel)
ON_UPDATE_COMMAND_UI(35543, &CKXBottomPaneContainerView::OnUpdateAssignModel)
ON_COMMAND(35567, &CKXBottomPaneContainerView::OnRemoveModel)
ON_UPDATE_COMMAND_UI(35567, &CKXBottomPaneContainerView::OnUpdateRemoveModel)
ON_COMMAND(35555, &CKXBottomPaneContainerView::OnInsertComment)
ON_UPDATE_COMMAND_UI(35555, &CKXBottomPaneContainerView::OnUpdateInsertComment)
ON_COMMAND(35557, &CKXBottomPaneContainerView::OnEditComment)
ON_UPDATE_COMMAND_UI(35557, &CKXBottomPaneContainerView::OnUpdateEditComment)
ON_COMMAND(35556, &CKXBottomPaneContainerView::OnDeleteComment)
ON_UPDATE_COMMAND_UI(35556, &CKXBottomPaneContainerView::OnUpdateDeleteComment)
ON_COMMAND_RANGE(35545, 35552, &CKXBottomPaneContainerView::OnAssignPinNumberFromMenu)
ON_UPDATE_COMMAND_UI_RANGE(35545, 35552, &CKXBottomPaneContainerView::OnUpdateAssignPinNumberMenu)
ON_COMMAND(35566, &CKXBottomPaneContainerView::OnSwapPins)
ON_UPDATE_COMMAND_UI(35566, &CKXBottomPaneContainerView::OnUpdateSwapPins)
ON_COMMAND(35747, &CKXBottomPaneContainerView::OnSwapSignals)
ON_UPDATE_COMMAND_UI(35747, &CKXBottomPaneContainerView::OnUpdateSwapSignals)
ON_COMMAND(35570, &CKXBottomPaneContainerView::OnEditPin)
ON_UPDATE_COMMAND_UI(35570, &CKXBottomPaneContainerView::OnUpdateEditPin)
ON_COMMAND(35718, &CKXBottomPaneContainerView::OnTrackInSignalList)
ON_UPDATE_COMMAND_UI(35718, &CKXBottomPaneContainerView::OnUpdateTrackInSignalList)
ON_COMMAND(35725, &CKXBottomPaneContainerView::OnRemoveDiffPairPin)
ON_UPDATE_COMMAND_UI(35725, &CKXBottomPaneContainerView::OnUpdateRemoveDiffPairPin)
ON_COMMAND(35537, &CKXBottomPaneContainerView::OnHostCommand35537)
ON_UPDATE_COMMAND_UI(35537, &CKXBottomPaneContainerView::OnUpdateHostCommand35537)
ON_UPDATE_COMMAND_UI(35538, &CKXBottomPaneContainerView::OnUpdateHostCommand35538)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXBottomPaneContainerView::OnTransactionCommitted)
ON_MESSAGE(MSG_VIOLATION_RESOLVED, &CKXBottomPaneContainerView::OnResolveViolation)
ON_MESSAGE(MSG_ASSOC_COMP_CHANGED, &CKXBottomPaneContainerView::OnAssocCompChanged)
ON_MESSAGE(MSG_CLEAR_UNDO, &CKXBottomPaneContainerView::OnClearUndoRedo)
ON_MESSAGE(MSG_DESIGN_UNDO_RESET, &CKXBottomPaneContainerView::OnDesignUndoReset)
ON_MESSAGE(KX_MSG_ACTIVATE_OBJECT_WINDOW, &CKXBottomPaneContainerView::OnActivateObjectWindow)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_SIZE()
ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

CKXBottomPaneContainerView::CKXBottomPaneContainerView()
    : m_pSignalDropList(std::make_unique<CKXListComboBox>(this)),
      m_pDiffPairDropList(std::make_unique<CKXListComboBox>(this)),
      m_pAssocCompApi(std::make_unique<CKXAssocCompAPI>()) {
    EnableAutomation();
    RegisterTclCommands();
    LivePanes().push_back(this);
    CKXAssocCompAPI::SetDesignatorHold(&CKXBottomPaneContainerView::HeldByOtherWindows);
}

CKXBottomPaneContainerView::~CKXBottomPaneContainerView() {
    std::erase(LivePanes(), this);
    KXForgetReplayStepsHolder(this);
    Unsubscribe();
    SaveColumnCustomizations();
    m_shownGrids.clear();
    m_pPhysPartGroupGrid = m_pPhysPartGrid = nullptr;
    m_grids.clear();
    if (CKXTransaction::GetUndoSink() == this) CKXTransaction::SetUndoSink(nullptr);
}

// ------------------------------------------------------------------ undo history

void CKXBottomPaneContainerView::AddUndoCommand(CGXGridCore* grid, CGXCommand* command, GXCmdType type,
                                                int state) {
    std::unique_ptr<CGXCommand> owned(command);
    if (state == -1 && !m_pRecording) {
        // Roll back what the failing edit added to the open step: what those commands did to the grids
        // is taken back before they go, so the grids are as before the edit (its design went back already).
        // When the edit opened the step, what could be redone before it can be again.
        if (m_bStepOpen && !m_undo.empty()) RollBackEditOf(grid ? grid : PaneGrid());
        CloseOpenStep();
        return;
    }
    if (!owned) {
        // No command with state 0: the open step ends here.
        if (state == 0 && !m_pRecording) CloseOpenStep();
        return;
    }
    // An entry made without a grid (an edit of a list pane) is kept with the pane's own grid: its undo
    // and redo record their opposites with this history, not with another window's.
    if (!grid) grid = PaneGrid();
    if (auto* entry = dynamic_cast<CKXUndoCmd*>(owned.get()); entry && !entry->m_pGrid) entry->m_pGrid = grid;
    if (m_pRecording) {
        // Recorded while an undo or redo runs: the entry for the opposite direction.
        m_pRecording->commands.push_back(std::move(owned));
        m_pRecording->grids.push_back(grid);
        return;
    }
    // The calls of one edit that a replay runs one by one (KXReplaySteps.h) make one step, as the edit did.
    const int group = type == gxDo ? CKXShareGlobalData::m_nReplayStepGroup : 0;
    const bool inGroup = group != 0 && !m_undo.empty() && m_undo.back().replayGroup == group;
    // A new command is written to the transaction log, when one is open.
    if (type == gxDo && CKXShareGlobalData::m_fpTransLogFile && !inGroup)
        CKXShareGlobalData::LogTransactionMessage("Added to Undo: " + owned->GetName() + "\n");
    // 1 opens a step; 2 joins the current one; 0 joins an open step (or makes one) and closes it.
    if (owned->IsCellStore() && !m_bStepOpen && state != 1) {
        // A grid's store of its own cells with no edit's step open (a typed text that changed nothing,
        // a filter text): it is no step of its own, and joined to the closed step it would be taken back
        // with an edit the user made before. The cells follow the design.
        return;
    }
    bool join = inGroup || (state != 1 && (state == 2 || m_bStepOpen) && !m_undo.empty() && !m_bNewStepNext);
    m_bNewStepNext = FALSE;
    // A new step forgets what could be redone; while it stays open a roll-back gives that back.
    if (!join) m_redoAtOpenStep = std::move(m_redo);
    m_redo.clear();
    if (!join) {
        // What was noted so far belongs to the step before (this window's or another's), and the journal
        // lines written from now on to this one.
        KXReplayStepsOpenedBy(this);
        KXEndStepOfJournalLines();
        m_undo.emplace_back();
        m_undo.back().madeIn = GetActiveGrid();
        m_undo.back().replayGroup = group;
        m_nStepsAtRedoStash = m_undo.size();
        m_editStartInOpenStep.clear();
    }
    // Where this grid's edit began in the step: a roll-back of that edit takes back from there on.
    m_editStartInOpenStep.try_emplace(grid, m_undo.back().commands.size());
    m_undo.back().commands.push_back(std::move(owned));
    m_undo.back().grids.push_back(grid);
    m_undo.back().name = CString(); // a step still being made goes by its newest command
    m_undo.back().order = NextStepOrder();
    if (state == 0) CloseOpenStep();
    else m_bStepOpen = TRUE;
}

void CKXBottomPaneContainerView::ForgetRedoSteps() {
    for (std::vector<Step>* redo :
         {&m_redo, &m_redoAtOpenStep, &m_redoAtPaneTransaction, &m_redoPastUnjournalledStep})
        redo->clear();
}

void CKXBottomPaneContainerView::CloseOpenStep() {
    m_bStepOpen = FALSE;
    if (m_nStepsAtRedoStash != 0 && m_nStepsAtRedoStash == m_undo.size()) KeepRedoClearedByUnjournalledStep();
    m_redoAtOpenStep.clear();
    m_nStepsAtRedoStash = 0;
    m_editStartInOpenStep.clear();
}

void CKXBottomPaneContainerView::KeepRedoClearedByUnjournalledStep() {
    if (!KXIsViewOnlyStep(m_undo.back().commands)) {
        m_redoPastUnjournalledStep.clear();
        return;
    }
    for (Step& step : m_redoAtOpenStep)
        m_redoPastUnjournalledStep.push_back(std::move(step));
}

void CKXBottomPaneContainerView::RestoreRedoPastGoneViewSteps() {
    if (m_redoPastUnjournalledStep.empty()) return;
    // No edit came after the steps of the grids' order that cleared that history (it would have cleared it
    // too): they are the newest undo steps or the next redo steps, and while one stands the history waits.
    const auto viewOnly = [](const Step& step) { return KXIsViewOnlyStep(step.commands); };
    if ((!m_undo.empty() && viewOnly(m_undo.back())) || (!m_redo.empty() && viewOnly(m_redo.front()))) return;
    // They went with their grid: what they cleared can be redone again, as in a replay, which never made
    // them; it comes after the steps undone since.
    std::vector<Step> past = std::move(m_redoPastUnjournalledStep);
    m_redoPastUnjournalledStep.clear();
    std::erase_if(past, viewOnly);
    m_redo.insert(m_redo.begin(), std::make_move_iterator(past.begin()), std::make_move_iterator(past.end()));
}

void CKXBottomPaneContainerView::RollBackEditOf(CGXGridCore* grid) {
    const auto start = m_editStartInOpenStep.find(grid);
    // The failing edit recorded nothing in the open step: what is there belongs to edits that stay.
    if (start == m_editStartInOpenStep.end()) return;
    if (start->second > 0) {
        TakeBackCommandsFrom(m_undo.back(), start->second);
        return;
    }
    // The edit opened the step: the step goes, and what could be redone before it can be again.
    const bool stashedByIt = m_undo.size() == m_nStepsAtRedoStash;
    RollBackOpenStep();
    if (stashedByIt) m_redo = std::move(m_redoAtOpenStep);
}

const KXHeldDesignators& CKXBottomPaneContainerView::HeldByOtherWindows() {
    // Read again when an entry was made, grew or went, or the edit is another window's.
    static KXHeldDesignators held;
    static std::uint64_t readAtEntries = 0;
    static const CCommonInterface* readFor = nullptr;
    const CCommonInterface* maker = KXSinkOfRunningEdit();
    if (held.generation != 0 && readAtEntries == CKXUndoCmd::EntriesGeneration() && readFor == maker)
        return held;
    held.designators.clear();
    held.masters.clear();
    held.components.clear();
    auto note = [](const std::vector<Step>& history) {
        for (const Step& step : history)
            for (const auto& command : step.commands)
                if (auto* entry = dynamic_cast<const CKXUndoCmd*>(command.get());
                    entry && entry->IsTransactionCmd()) {
                    const CKXUndoCmd::NamesBroughtBack& names = entry->BringsBack();
                    held.designators.insert(names.designators.begin(), names.designators.end());
                    held.masters.insert(names.masters.begin(), names.masters.end());
                    held.components.insert(names.components.begin(), names.components.end());
                }
    };
    for (const CKXBottomPaneContainerView* pane : LivePanes()) {
        if (static_cast<const CCommonInterface*>(pane) == maker) continue;
        for (const std::vector<Step>* history :
             {&pane->m_undo, &pane->m_redo, &pane->m_redoAtOpenStep, &pane->m_redoAtPaneTransaction,
              &pane->m_redoPastUnjournalledStep})
            note(*history);
    }
    ++held.generation;
    readAtEntries = CKXUndoCmd::EntriesGeneration();
    readFor = maker;
    return held;
}

// A change committed outside the panes' grids becomes one step of one history: that of the window the user
// works in when it shows the change's design, else that of the oldest window showing it. Two windows of one
// design (its logical and its physical view) recording it both would hold a step that no longer undoes once
// the other's is undone.
void CKXBottomPaneContainerView::RecordOutsideChange(CTransaction* transaction, const char* name) {
    const IDesign* changed = transaction ? transaction->design() : nullptr;
    const auto shows = [changed](CKXBottomPaneContainerView* pane) {
        const IDesign* mine = pane->PaneDesign().design();
        return changed && mine && pane->PaneGrid() && CString(changed->cellName()) == mine->cellName();
    };
    if (!shows(this)) return;
    CKXBottomPaneContainerView* owner = nullptr;
    const CWnd* active = ActivePaneFrame();
    for (CKXBottomPaneContainerView* pane : LivePanes())
        if (shows(pane) && (!owner || (active && pane->GetParentFrame() == active))) owner = pane;
    if (owner != this) return;
    CKXGridWnd* grid = PaneGrid();
    AddUndoCommand(grid, new CKXUndoCmd(grid, transaction->toString(), name), gxDo, 0);
}

void CKXBottomPaneContainerView::CloseWindowsOfGoneMatrixViews() {
    CComments* store = GetCommentStore();
    if (!store) return;
    const CMatrixViewData* views = store->GetMatrixViewData();
    for (CKXBottomPaneContainerView* pane : LivePanes()) {
        if (pane->GetCommentStore() != store) continue;
        std::vector<CKXMatrixGridWnd*> gone;
        for (const auto& g : pane->m_grids)
            if (CKXMatrixGridWnd* matrix = MatrixGridOf(g.get()); matrix && !views->HasView(matrix->ViewName()))
                gone.push_back(matrix);
        for (CKXMatrixGridWnd* matrix : gone) pane->CloseMatrixWindow(matrix);
    }
}

void CKXBottomPaneContainerView::TakeReplaySteps(int steps) {
    if (steps > 1 && !m_undo.empty()) m_undo.back().replaySteps = steps;
}

void CKXBottomPaneContainerView::TakeBack(Step& step, Step& recorded, size_t failed, GXCmdType type) {
    const GXCmdType back = type == gxUndo ? gxRedo : gxUndo;
    Step ignored;
    m_pRecording = &ignored;
    if (!recorded.commands.empty()) {
        // The opposites the commands recorded, newest first.
        for (size_t i = recorded.commands.size(); i-- > 0;)
            recorded.commands[i]->Execute(recorded.grids[i], back);
    } else {
        // Commands that know both directions ran from the end down to the one that failed.
        for (size_t i = failed + 1; i < step.commands.size(); ++i)
            step.commands[i]->Execute(step.grids[i], back);
    }
    m_pRecording = nullptr;
}

void CKXBottomPaneContainerView::TakeBackCommandsFrom(Step& step, size_t first) {
    Step ignored; // the opposites the commands record while they are taken back
    Step* const recording = std::exchange(m_pRecording, &ignored);
    for (size_t i = step.commands.size(); i-- > first;) {
        auto* entry = dynamic_cast<CKXUndoCmd*>(step.commands[i].get());
        if ((entry && entry->IsTransactionCmd()) || !IsLiveGrid(step.grids[i])) continue;
        step.commands[i]->Execute(step.grids[i], gxUndo);
    }
    step.commands.resize(std::min(first, step.commands.size()));
    step.grids.resize(std::min(first, step.grids.size()));
    m_pRecording = recording;
}

void CKXBottomPaneContainerView::RollBackOpenStep() {
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    TakeBackCommandsFrom(step, 0);
}

void CKXBottomPaneContainerView::TakeBackStepsSince(size_t count, size_t commands) {
    while (m_undo.size() > count) {
        Step step = std::move(m_undo.back());
        m_undo.pop_back();
        TakeBackCommandsFrom(step, 0);
    }
    if (count > 0 && m_undo.size() == count) TakeBackCommandsFrom(m_undo.back(), commands);
    CloseOpenStep();
}

namespace {

// The grid a history command restores besides the one it was recorded with; NULL when none.
const CGXGridCore* OwnGridOf(CGXCommand* command) {
    if (auto* entry = dynamic_cast<CKXUndoCmd*>(command)) return entry->m_pGrid;
    if (auto* comment = dynamic_cast<CKXCommentUndoCmd*>(command)) return comment->m_pGrid;
    if (auto* sort = dynamic_cast<CKXSortUndoCmd*>(command)) return sort->m_pGrid;
    return nullptr;
}

// Whether a history command still means something once its grid went: a committed transaction, a
// pin comment kept in the document's store.
bool OutlivesItsGrid(CGXCommand* command) {
    if (auto* entry = dynamic_cast<CKXUndoCmd*>(command)) return entry->IsTransactionCmd();
    if (auto* comment = dynamic_cast<CKXCommentUndoCmd*>(command)) return comment->m_pSite != nullptr;
    // A journalled sort stays a step of the history, as in a replay, whose grid stays: with no grid to
    // order, its undo and redo order nothing.
    if (auto* sort = dynamic_cast<CKXSortUndoCmd*>(command)) return !sort->m_bAcrossGrids;
    return false;
}

} // namespace

BOOL CKXBottomPaneContainerView::IsLiveGrid(const CGXGridCore* grid) const {
    if (!grid) return FALSE;
    if (grid == static_cast<const CGXGridCore*>(m_pPaneGrid.get())) return TRUE;
    return std::any_of(m_grids.begin(), m_grids.end(), [grid](const std::unique_ptr<CKXGridWnd>& g) {
        return static_cast<const CGXGridCore*>(g.get()) == grid;
    });
}

CKXGridWnd* CKXBottomPaneContainerView::ShownGridOfStep(const Step& step) const {
    auto shown = [this](CGXGridCore* grid) -> CKXGridWnd* {
        auto* wnd = dynamic_cast<CKXGridWnd*>(grid);
        const bool isShown = wnd && std::find(m_shownGrids.begin(), m_shownGrids.end(), wnd) != m_shownGrids.end();
        return isShown ? wnd : nullptr;
    };
    // An edit the pane bracketed (a connection, a delete) records its commands with the pane's own grid.
    if (CKXGridWnd* own = step.grids.empty() ? nullptr : shown(step.grids.back())) return own;
    return shown(step.madeIn);
}

void CKXBottomPaneContainerView::ForgetGridInStep(Step& step, CKXGridWnd* gone) {
    if (step.madeIn == gone) step.madeIn = nullptr;
    const CGXGridCore* goneCore = gone;
    CKXGridWnd* paneGrid = PaneGrid();
    size_t kept = 0;
    for (size_t i = 0; i < step.commands.size(); ++i) {
        CGXCommand* command = step.commands[i].get();
        if (step.grids[i] == goneCore || OwnGridOf(command) == goneCore) {
            // A committed transaction works on the design alone, a pin comment on the document's store:
            // both stay with the pane. Whatever else the grid recorded (its cells, its order) goes with it.
            if (!paneGrid || !OutlivesItsGrid(command)) continue;
            if (auto* entry = dynamic_cast<CKXUndoCmd*>(command)) entry->m_pGrid = paneGrid;
            if (auto* comment = dynamic_cast<CKXCommentUndoCmd*>(command)) comment->m_pGrid = paneGrid;
            if (auto* sort = dynamic_cast<CKXSortUndoCmd*>(command)) {
                sort->m_pGrid = nullptr;
                sort->m_bGridGone = true;
            }
            step.grids[i] = paneGrid;
        }
        if (kept != i) {
            step.commands[kept] = std::move(step.commands[i]);
            step.grids[kept] = step.grids[i];
        }
        ++kept;
    }
    step.commands.resize(kept);
    step.grids.resize(kept);
}

void CKXBottomPaneContainerView::ForgetGridInHistory(CKXGridWnd* gone) {
    if (!gone) return;
    const size_t openCommands = m_undo.empty() ? 0 : m_undo.back().commands.size();
    for (std::vector<Step>* history : {&m_undo, &m_redo, &m_redoAtOpenStep, &m_redoPastUnjournalledStep}) {
        for (Step& step : *history)
            ForgetGridInStep(step, gone);
        // A step with nothing left would undo nothing.
        const size_t before = history->size();
        std::erase_if(*history, [](const Step& step) { return step.commands.empty(); });
        if (history == &m_undo && history->size() != before) CloseOpenStep();
    }
    RestoreRedoPastGoneViewSteps();
    // Where the open step's edits began no longer holds once commands left it.
    if (!m_undo.empty() && m_undo.back().commands.size() != openCommands) CloseOpenStep();
    if (m_pRecording) ForgetGridInStep(*m_pRecording, gone);
    if (m_pRunning) ForgetGridInStep(*m_pRunning, gone);
}

namespace {

// Runs a step's commands last to first; false (failed: the command that refused) when one refused.
template <class StepT> bool ExecuteBackwards(StepT& step, GXCmdType type, size_t& failed) {
    for (size_t i = step.commands.size(); i-- > 0;) {
        // A command may make the pane show something else (and a grid go): the step shrinks then.
        if (i >= step.commands.size()) continue;
        if (!step.commands[i]->Execute(step.grids[i], type)) {
            failed = i;
            return false;
        }
    }
    return true;
}

void UnlockAndRedraw(std::vector<std::pair<CKXGridWnd*, BOOL>>& locked) {
    for (auto& [g, was] : locked) {
        g->LockUpdate(was);
        g->Redraw(2, TRUE);
    }
}

} // namespace

BOOL CKXBottomPaneContainerView::RunStep(std::vector<Step>& from, std::vector<Step>& to, GXCmdType type,
                                         const char* comment, const char* call) {
    // An edit held open for a command that has not come is no step: it goes before the undo or redo.
    CKXGridEdit::DiscardWaiting();
    // Nothing to carry out leaves nothing to replay: an empty step is not journalled. The undo's own line
    // is no line of the step made before.
    KXHandOverReplaySteps();
    KXEndStepOfJournalLines();
    if (m_bInUndo) return FALSE;
    if (from.empty()) {
        CKXErrorHandler::MessageBoxOk(type == gxUndo ? "KXTABLE-385" : "KXTABLE-386");
        return FALSE;
    }
    CWaitCursor wait;
    m_bInUndo = TRUE;
    SetUndoMode(TRUE);
    CloseOpenStep();
    Step step = std::move(from.back());
    from.pop_back();
    const CString name = StepName(step);
    // The step happens where it was made: that grid's view becomes the active one first.
    if (CKXGridWnd* made = ShownGridOfStep(step); made && made != GetActiveGrid()) made->ActivateGridView();
    std::vector<std::pair<CKXGridWnd*, BOOL>> locked;
    for (CKXGridWnd* g : m_shownGrids)
        locked.emplace_back(g, g->LockUpdate(TRUE));
    Step recorded;
    m_pRecording = &recorded;
    m_pRunning = &step;
    size_t failed = 0;
    const BOOL ok = ExecuteBackwards(step, type, failed) ? TRUE : FALSE;
    m_pRunning = nullptr;
    m_pRecording = nullptr;
    // Grids that went while the step ran are no longer there to unlock.
    std::erase_if(locked, [this](const auto& entry) { return !IsLiveGrid(entry.first); });
    if (!ok) {
        // A step is carried out whole or not at all: what of it ran is taken back, the step stays where it
        // was, and nothing is journalled (a replay must not undo what the user could not).
        TakeBack(step, recorded, failed, type);
        from.push_back(std::move(step));
        UnlockAndRedraw(locked);
        m_bInUndo = FALSE;
        SetUndoMode(FALSE);
        CKXErrorHandler::MessageBoxOk(type == gxUndo ? "KXTABLE-221" : "KXTABLE-215");
        return FALSE;
    }
    if (recorded.commands.empty()) {
        // The commands know both directions: the same step serves the other way.
        std::reverse(step.commands.begin(), step.commands.end());
        std::reverse(step.grids.begin(), step.grids.end());
        to.push_back(std::move(step));
    } else {
        recorded.replaySteps = step.replaySteps;
        recorded.madeIn = step.madeIn;
        recorded.saved = step.saved;
        to.push_back(std::move(recorded));
    }
    to.back().name = name;
    to.back().order = NextStepOrder();
    // A sort of grids side by side journalled nothing: its undo and redo journal nothing either.
    const int replaySteps = KXIsViewOnlyStep(to.back().commands) ? 0 : to.back().replaySteps;
    UnlockAndRedraw(locked);
    m_bInUndo = FALSE;
    SetUndoMode(FALSE);
    Journal(comment, call, replaySteps);
    return ok;
}

void CKXBottomPaneContainerView::MarkStepsSaved() {
    for (Step& step : m_undo)
        step.saved = true;
    for (Step& step : m_redo)
        step.saved = false;
}

int CKXBottomPaneContainerView::UnsavedUndoStepCount() const {
    const auto newestSaved = std::find_if(m_undo.rbegin(), m_undo.rend(), [](const Step& s) { return s.saved; });
    return static_cast<int>(newestSaved - m_undo.rbegin());
}

namespace {
// What an entry of the history touched: a committed transaction's objects, or what a change outside the
// design's transactions names (wrapped for a grid or not).
std::set<std::string> TouchedBy(const CGXCommand* command) {
    std::set<std::string> touched;
    if (auto* entry = dynamic_cast<const CKXUndoCmd*>(command)) {
        for (const std::string& text : entry->GetTransactionTexts())
            touched.merge(CKXDesignChangeLog::TouchedBy(text));
        command = entry->GetCommand();
    }
    if (auto* named = dynamic_cast<const IKXTouchedObjects*>(command)) touched.merge(named->TouchedObjects());
    return touched;
}
} // namespace

std::vector<IKXConnectivityPane::StepFootprint> CKXBottomPaneContainerView::UndoStepFootprints() const {
    std::vector<StepFootprint> footprints;
    for (const Step& step : m_undo) {
        StepFootprint& footprint = footprints.emplace_back();
        footprint.order = step.order;
        footprint.saved = step.saved;
        for (const auto& command : step.commands)
            footprint.touched.merge(TouchedBy(command.get()));
    }
    return footprints;
}

BOOL CKXBottomPaneContainerView::PerformUndo() {
    // A step that another window's later step built on stays: undoing it would pull the ground from
    // under that step, which then could not be undone.
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    if (!m_bInUndo && !m_undo.empty() && doc && doc->NewestEditUnderLaterEdits()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-221");
        return FALSE;
    }
    return RunStep(m_undo, m_redo, gxUndo, "\n\n ' --- Undo ---\n", ".Undo()");
}

BOOL CKXBottomPaneContainerView::PerformRedo() {
    return RunStep(m_redo, m_undo, gxRedo, "\n\n ' --- Redo ---\n", ".Redo()");
}

CString CKXBottomPaneContainerView::StepName(const Step& step) {
    if (!step.name.IsEmpty() || step.commands.empty()) return step.name;
    // The edit's newest command names it: a grid's store of its own cells (a group row showing its
    // pins' comment again) is no edit and names nothing, so that the step is named alike wherever the
    // edit was made from.
    const auto isEdit = [](const std::unique_ptr<CGXCommand>& command) { return !command->IsCellStore(); };
    const auto edit = std::find_if(step.commands.rbegin(), step.commands.rend(), isEdit);
    return (edit != step.commands.rend() ? *edit : step.commands.back())->GetName();
}

CString CKXBottomPaneContainerView::GetUndoDescription() const {
    return m_undo.empty() ? CString() : StepName(m_undo.back());
}

CString CKXBottomPaneContainerView::GetUndoHistoryText() {
    // The newest step learns how many steps its journal lines replay as (an undo would ask the same).
    KXHandOverReplaySteps();
    CString text;
    auto write = [&text](const char* kind, const Step& step) {
        const CString name = StepName(step);
        const int replays = KXIsViewOnlyStep(step.commands) ? 0 : step.replaySteps;
        text += (text.IsEmpty() ? "" : "\n") + CString(kind) + " " + name;
        if (replays != 1) text += (" (replays as " + std::to_string(replays) + ")").c_str();
    };
    for (const Step& step : m_undo)
        write("undo", step);
    for (auto it = m_redo.rbegin(); it != m_redo.rend(); ++it)
        write("redo", *it);
    return text;
}

void CKXBottomPaneContainerView::RequestUndo() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(KXScriptWord::undo), 0);
}

void CKXBottomPaneContainerView::RequestRedo() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(KXScriptWord::redo), 0);
}

void CKXBottomPaneContainerView::Journal(const char* comment, const char* call, int times) const {
    if (!m_pChildFrame) return;
    CString handle = m_pChildFrame->GetBlockHandle();
    if (handle.IsEmpty()) return;
    for (int i = 0; i < times; ++i)
        KXJournalWrite(CKXShareGlobalData::m_bAutomation, comment, "\ncall " + handle + call);
}

// ------------------------------------------------------------------ options

// Each setting goes to every component window the pane has made.
void CKXBottomPaneContainerView::ApplyAutoCompleteSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nAutoComplete = value;
    // Every grid of the pane takes it: pin grids and signal grids complete what is typed.
    for (const auto& g : m_grids)
        g->SetAutoComplete(value);
}
void CKXBottomPaneContainerView::ApplyShowSignalComboSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nShowSignalCombo = value;
    for (CKXGridWnd* g : ComponentWindows())
        g->ShowSignalCombo(value);
}
void CKXBottomPaneContainerView::ApplyShowRowNumbersSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nShowRowNumbers = value;
    // Every grid of the pane follows the option: pin, signal, physical and matrix grids.
    for (const auto& g : m_grids)
        g->ShowRowNumbers(value);
}
void CKXBottomPaneContainerView::ApplyMoveDirectionSetting(CString direction, BOOL apply) {
    if (!apply) return;
    m_strMoveDirection = direction;
    // Every grid of the pane reads the direction when it is made: the open ones, of every kind, take it now.
    for (const auto& g : m_grids)
        g->SetMoveDirection(direction);
}
void CKXBottomPaneContainerView::ApplyShowDiffPairPinsSetting(BOOL show) {
    m_bShowDiffPairPins = show;
    for (CKXGridWnd* g : ComponentWindows())
        if (IKXPinGrid* pin = PinGridOf(g)) {
            pin->RecordViewOptionsScript(pin->GetBusOption(), show);
            pin->RefreshInstances(nullptr);
        }
}

// ------------------------------------------------------------------ attach box and grids

void CKXBottomPaneContainerView::HideRowsInAllGrids(ROWCOL from, ROWCOL to, BOOL hide, CByteArray*,
                                                    UINT flags, GXCmdType ct) {
    for (CKXGridWnd* g : m_shownGrids) {
        CGXGridParam* param = g->GetParam();
        const BOOL undo = param ? param->IsEnableUndo() : FALSE;
        if (param) param->EnableUndo(FALSE);
        g->HideRows(from, to, hide, nullptr, flags, ct);
        if (param) param->EnableUndo(undo);
    }
}

LPDISPATCH CKXBottomPaneContainerView::GetPaneDispatch() {
    return GetIDispatch(TRUE);
}

void CKXBottomPaneContainerView::OnSetFocus(CWnd* pOldWnd) {
    CView::OnSetFocus(pOldWnd);
    if (m_pChildFrame) m_pChildFrame->SetHighlight();
}

void CKXBottomPaneContainerView::OnKillFocus(CWnd* pNewWnd) {
    (void)pNewWnd;
    if (m_pChildFrame) m_pChildFrame->SetHighlight();
}
