#include "pane/KXBottomPaneContainerView.h"

#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

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

void CKXBottomPaneContainerView::ApplyAutoCompleteSetting(int value, BOOL apply) {
    if (apply) m_nAutoComplete = value;
}
void CKXBottomPaneContainerView::ApplyShowSignalComboSetting(int value, BOOL apply) {
    if (apply) m_nShowSignalCombo = value;
}
void CKXBottomPaneContainerView::ApplyShowRowNumbersSetting(int value, BOOL apply) {
    if (apply) m_nShowRowNumbers = value;
}
void CKXBottomPaneContainerView::ApplyMoveDirectionSetting(CString direction, BOOL apply) {
    if (apply) m_strMoveDirection = direction;
}
void CKXBottomPaneContainerView::ApplyShowDiffPairPinsSetting(BOOL show) {
    m_bShowDiffPairPins = show;
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
int CKXBottomPaneContainerView::CountSelectedObjects() const {
    return 0;
}
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

void CKXBottomPaneContainerView::SyncTopRow(CGXGridCore*, ROWCOL) {
    if (m_bSyncing) return;
    m_bSyncing = TRUE;
    m_bSyncing = FALSE;
}

// The pane shows no detail grid yet: the operations on its grids have none to reach.
void CKXBottomPaneContainerView::HideRowsInAllGrids(ROWCOL, ROWCOL, BOOL, CByteArray*, UINT, GXCmdType) {}
void CKXBottomPaneContainerView::RefreshCellControlsInOtherGrids(CGXGridCore*, int, int) {}

void CKXBottomPaneContainerView::OnSortAsAlpha() {
    CCommonInterface::nSortType = 0;
}
void CKXBottomPaneContainerView::OnSortAsAlphaNumeric() {
    CCommonInterface::nSortType = 1;
}

void CKXBottomPaneContainerView::SetPaneTitle(UINT resourceId) {
    CString title;
    if (title.LoadString(resourceId)) m_strTitle = title;
}

BOOL CKXBottomPaneContainerView::ActivateGrids() {
    if (m_pChildFrame) m_pChildFrame->ActivatePane("CCP");
    return FALSE;
}

void CKXBottomPaneContainerView::FocusActiveGrid() {
    SetFocus();
}

// ------------------------------------------------------------------ show requests

void CKXBottomPaneContainerView::ShowInstanceConnectivity(const CDesignContext&,
                                                          CKXInstanceContextArray* instances, BOOL) {
    m_strTitle = "Component Connectivity Details";
    m_shown.clear();
    if (instances)
        for (INT_PTR i = 0; i < instances->GetSize(); ++i)
            m_shown.push_back(instances->GetAt(i).name());
}

void CKXBottomPaneContainerView::ShowComponentsByName(const CDesignContext&, CStringList* names, BOOL) {
    m_strTitle = "Component Connectivity Details";
    m_shown.clear();
    if (names)
        for (POSITION pos = names->GetHeadPosition(); pos;)
            m_shown.push_back(names->GetNext(pos));
}

void CKXBottomPaneContainerView::ShowNetBitConnectivity(const CDesignContext&, CKXNetBitContextArray* netBits,
                                                        BOOL) {
    m_strTitle = "Signal Connectivity Details";
    m_shown.clear();
    if (netBits)
        for (INT_PTR i = 0; i < netBits->GetSize(); ++i)
            m_shown.push_back(netBits->GetAt(i).spath());
}

void CKXBottomPaneContainerView::ShowNetConnectivity(const CDesignContext&, CKXNetContextArray* nets, BOOL) {
    m_strTitle = "Signal Connectivity Details";
    m_shown.clear();
    if (nets)
        for (INT_PTR i = 0; i < nets->GetSize(); ++i)
            m_shown.push_back(nets->GetAt(i).net() ? CString(nets->GetAt(i).net()->name()) : CString());
}

void CKXBottomPaneContainerView::ShowNetsByName(CStringList* names, BOOL) {
    m_strTitle = "Signal Connectivity Details";
    m_shown.clear();
    if (names)
        for (POSITION pos = names->GetHeadPosition(); pos;)
            m_shown.push_back(names->GetNext(pos));
}

CString CKXBottomPaneContainerView::GetPaneText() {
    CString text = m_strTitle;
    for (const CString& s : m_shown)
        text += "\n  " + s;
    return text;
}

LPDISPATCH CKXBottomPaneContainerView::GetPaneDispatch() {
    return GetIDispatch(TRUE);
}
