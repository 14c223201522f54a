#include "pane/KXBottomPaneContainerView.h"

#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "grid/gxcommand.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"
#include "rmx/schema.h"

IMPLEMENT_DYNCREATE(CKXBottomPaneContainerView, CView)

BEGIN_MESSAGE_MAP(CKXBottomPaneContainerView, CView)
ON_COMMAND(35672, &CKXBottomPaneContainerView::OnSortAsAlpha)
ON_COMMAND(35673, &CKXBottomPaneContainerView::OnSortAsAlphaNumeric)
END_MESSAGE_MAP()

CKXBottomPaneContainerView::CKXBottomPaneContainerView() {
    EnableAutomation();
}

CKXBottomPaneContainerView::~CKXBottomPaneContainerView() {
    // The first pin grid keeps the column customisation of its kind for the next session.
    if (!m_pinGrids.empty()) m_pinGrids.front()->LoadCustomPropertyColumns(TRUE);
    m_shownGrids.clear();
    m_componentWindows.clear();
    m_pinGrids.clear();
    if (CKXTransaction::GetUndoSink() == this) CKXTransaction::SetUndoSink(nullptr);
}

BOOL CKXBottomPaneContainerView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The pane's own script words come with its detail grids; until then every
    // script command falls through, so the frame's router offers it to the frame.
    return CView::OnWndMsg(message, wParam, lParam, pResult);
}

// ------------------------------------------------------------------ undo history

void CKXBottomPaneContainerView::AddUndoCommand(CGXGridCore* grid, CGXCommand* command, GXCmdType type,
                                                int state) {
    std::unique_ptr<CGXCommand> owned(command);
    if (state == -1 && !m_pRecording) {
        // Roll back the open step: its commands are dropped (with the one given, if any).
        if (m_bStepOpen && !m_undo.empty()) m_undo.pop_back();
        m_bStepOpen = FALSE;
        return;
    }
    if (!owned) return;
    if (m_pRecording) {
        // Recorded while an undo or redo runs: the entry for the opposite direction.
        m_pRecording->commands.push_back(std::move(owned));
        m_pRecording->grids.push_back(grid);
        return;
    }
    (void)type;
    m_redo.clear();
    // 1 opens a step; 2 joins the current one; 0 joins an open step (or makes one) and closes it.
    bool join = state != 1 && (state == 2 || m_bStepOpen) && !m_undo.empty();
    if (!join) m_undo.emplace_back();
    m_undo.back().commands.push_back(std::move(owned));
    m_undo.back().grids.push_back(grid);
    m_bStepOpen = state != 0;
}

BOOL CKXBottomPaneContainerView::RunStep(std::vector<Step>& from, std::vector<Step>& to, GXCmdType type,
                                         const char* comment, const char* call) {
    if (from.empty() || m_bInUndo) return FALSE;
    m_bInUndo = TRUE;
    m_bStepOpen = FALSE;
    Step step = std::move(from.back());
    from.pop_back();
    Step recorded;
    m_pRecording = &recorded;
    BOOL ok = TRUE;
    for (size_t i = step.commands.size(); i-- > 0;) {
        if (!step.commands[i]->Execute(step.grids[i], type)) ok = FALSE;
    }
    m_pRecording = nullptr;
    if (recorded.commands.empty()) {
        // The commands know both directions: the same step serves the other way.
        std::reverse(step.commands.begin(), step.commands.end());
        std::reverse(step.grids.begin(), step.grids.end());
        to.push_back(std::move(step));
    } else {
        to.push_back(std::move(recorded));
    }
    m_bInUndo = FALSE;
    Journal(comment, call);
    return ok;
}

BOOL CKXBottomPaneContainerView::PerformUndo() {
    return RunStep(m_undo, m_redo, gxUndo, "\n\n ' --- Undo ---\n", ".Undo()");
}

BOOL CKXBottomPaneContainerView::PerformRedo() {
    return RunStep(m_redo, m_undo, gxRedo, "\n\n ' --- Redo ---\n", ".Redo()");
}

CString CKXBottomPaneContainerView::GetUndoDescription() const {
    if (m_undo.empty() || m_undo.back().commands.empty()) return CString();
    return m_undo.back().commands.back()->GetName();
}

void CKXBottomPaneContainerView::RequestUndo() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>("undo"), 0);
}

void CKXBottomPaneContainerView::RequestRedo() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>("redo"), 0);
}

void CKXBottomPaneContainerView::Journal(const char* comment, const char* call) const {
    if (!m_pChildFrame) return;
    CString handle = m_pChildFrame->GetBlockHandle();
    if (handle.IsEmpty()) return;
    KXJournalWrite(CKXShareGlobalData::m_bAutomation, comment, "\ncall " + handle + call);
}

// ------------------------------------------------------------------ options

// Each setting goes to every component window the pane has made.
void CKXBottomPaneContainerView::ApplyAutoCompleteSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nAutoComplete = value;
    for (auto& [key, g] : m_componentWindows)
        g->SetAutoComplete(value);
}
void CKXBottomPaneContainerView::ApplyShowSignalComboSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nShowSignalCombo = value;
    for (auto& [key, g] : m_componentWindows)
        g->ShowSignalCombo(value);
}
void CKXBottomPaneContainerView::ApplyShowRowNumbersSetting(int value, BOOL apply) {
    if (!apply) return;
    m_nShowRowNumbers = value;
    for (auto& [key, g] : m_componentWindows)
        g->ShowRowNumbers(value);
}
void CKXBottomPaneContainerView::ApplyMoveDirectionSetting(CString direction, BOOL apply) {
    if (!apply) return;
    m_strMoveDirection = direction;
    for (auto& [key, g] : m_componentWindows)
        g->SetMoveDirection(direction);
}
void CKXBottomPaneContainerView::ApplyShowDiffPairPinsSetting(BOOL show) {
    m_bShowDiffPairPins = show;
    for (auto& [key, g] : m_componentWindows)
        if (auto* pin = dynamic_cast<CKXInstanceDetailsGridWnd*>(g)) {
            pin->RecordViewOptionsScript(pin->m_nBusOption, show);
            pin->RefreshInstances(nullptr);
        }
}

// ------------------------------------------------------------------ attach box and grids

void CKXBottomPaneContainerView::AttachSignalByName(const CString& signal) {
    m_strAttachSignal = signal;
}

void CKXBottomPaneContainerView::EnableAttachSignalControls(BOOL enable) {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    m_bAttachEnabled = enable && !(doc && doc->GetOpenMode() == 2);
}

void CKXBottomPaneContainerView::ClearOtherGridSelections(int) {}
void CKXBottomPaneContainerView::HighlightObject(CKXHiliteObject*) {}

void CKXBottomPaneContainerView::HighlightPin(const CInstTermBitContext& pin) {
    CInstanceContext owner = pin.instance();
    auto* list = dynamic_cast<CKXListPaneView*>(m_pInstancePane);
    CKXListPaneGrid* grid = list ? list->GetActiveList() : nullptr;
    if (!owner || !grid) return;
    grid->RemoveSelection();
    grid->SelectObject(owner.name(), TRUE);
}

void CKXBottomPaneContainerView::PasteFromClipboardViewer(WPARAM, LPARAM) {}

BOOL CKXBottomPaneContainerView::PreservePinComment(const CString&, const CString&, const CString&,
                                                    const CString&, LPARAM) {
    return FALSE;
}

void CKXBottomPaneContainerView::SelectFindAllResult(CWnd*, int, int) {}

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

void CKXBottomPaneContainerView::OnSortAsAlpha() {
    CCommonInterface::nSortType = 0;
}
void CKXBottomPaneContainerView::OnSortAsAlphaNumeric() {
    CCommonInterface::nSortType = 1;
}

LPDISPATCH CKXBottomPaneContainerView::GetPaneDispatch() {
    return GetIDispatch(TRUE);
}
