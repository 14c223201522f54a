// The connectivity pane's menu commands: almost all go to the active grid (the
// grid does the work, the pane only picks the grid), a few go through the host's
// script interpreter so that they pass through its command log. The update
// handlers decide enablement and the three menu texts the pane sets itself.
#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXScriptWords.h"
#include "grid/KXGridEdit.h"

#include "matrix/KXMatrixGridWnd.h"

#include <algorithm>

#include "matrix/KXMatrixGridWnd.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "grid/KXGridUndo.h"
#include "grid/KXScriptText.h"
#include "afx/afxmenu.h"
#include "rmx/hmtpi.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXDialogs.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <set>
#include <string>

namespace {

void Disable(CCmdUI* ui) {
    if (ui) ui->Enable(FALSE);
}

} // namespace

CKXGridWnd* CKXBottomPaneContainerView::PaneGrid() {
    if (!m_pPaneGrid) {
        // The pane's own grid: never shown; the grid of the transactions the pane opens itself.
        auto grid = std::make_unique<CKXGridWnd>();
        if (!grid->Create(0x1004, CRect(200, 200, 200, 200), this, 8950)) return nullptr;
        grid->InitializeGrid(static_cast<ROWCOL>(-1), static_cast<ROWCOL>(-1), static_cast<ROWCOL>(-1), this);
        grid->ShowWindow(SW_HIDE);
        m_pPaneGrid = std::move(grid);
    }
    return m_pPaneGrid.get();
}

BOOL CKXBottomPaneContainerView::SendHostText(const char* text) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return FALSE;
    return main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text), 0) == 1;
}

KXEditResult CKXBottomPaneContainerView::HostWord(const char* word, const CString& operands) {
    const char* usage = UsageOf(word);
    return HostText(CString(word) + operands, usage ? usage : "KXPANE-178");
}

KXEditResult CKXBottomPaneContainerView::HostText(const CString& text, const char* fallback) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return KXEditResult::Refused("KXPANE-178");
    const LRESULT answer = main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
    if (answer == 2) return KXEditResult::Dialog();
    return KXEditResult::Of(answer == 1, fallback);
}

BOOL CKXBottomPaneContainerView::AnswerHostWord(const char* word, const CString& operands) {
    const KXShownMark mark;
    return HostWord(word, operands).AnswerBool(mark);
}

void CKXBottomPaneContainerView::AnswerMenuByHost(const CString& text, const char* fallback) {
    const KXShownMark mark;
    const KXEditResult result = HostText(text, fallback);
    if (!result.IsDone()) KXMenuAnswer::Report(result, mark);
}

KXEditResult CKXBottomPaneContainerView::PasteSpecialByHost() {
    const CString text =
        CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::paste + " pin special";
    const KXEditResult pasted = HostText(text, "KXTABLE-230");
    // A Paste Special opens no dialog: its 2 is the paste done.
    return pasted.GetKind() == KXEditResult::Kind::Dialog ? KXEditResult::Done() : pasted;
}

// ------------------------------------------------------------------ clipboard

// Answers as the copy went: a grid with no row to copy puts nothing on the clipboard and says so.
void CKXBottomPaneContainerView::OnEditCopy() {
    const KXShownMark mark;
    if (CKXGridWnd* g = GetActiveGrid()) KXMenuAnswer::Report(CopyFrom(*g), mark);
}
void CKXBottomPaneContainerView::OnUpdateEditCopy(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->CanCopy());
}

// The menu command and Ctrl+V run the paste word through the host and answer as it did.
void CKXBottomPaneContainerView::OnEditPaste() {
    AnswerMenuByHost(CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::paste + " pin",
                     "KXTABLE-230");
}
void CKXBottomPaneContainerView::OnUpdateEditPaste(CCmdUI* ui) {
    if (PasteRefusal(false).IsRefusal()) Disable(ui);
}

void CKXBottomPaneContainerView::OnEditPasteSpecial() {
    const KXShownMark mark;
    const KXEditResult pasted = PasteSpecialByHost();
    if (!pasted.IsDone()) KXMenuAnswer::Report(pasted, mark);
}
void CKXBottomPaneContainerView::OnUpdateEditPasteSpecial(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if (!g || !g->CanPasteSpecial() || GetViewMode() == eOpenModeContext) Disable(ui);
}

// The active grid's selection copied, then pasted special into the shown grids: one command, which
// answers as the paste went. What keeps any paste out is said before anything is copied, and a paste
// that is refused leaves no line of the copy in the journal.
void CKXBottomPaneContainerView::OnPasteSpecialDialog() {
    const KXShownMark mark;
    if (const KXEditResult refusal = PasteTargetRefusal(); refusal.IsRefusal())
        return KXMenuAnswer::Report(refusal, mark);
    KXJournalHold journal;
    if (const KXEditResult copied = CopyFrom(*GetActiveGrid()); !copied.IsDone())
        return KXMenuAnswer::Report(copied, mark);
    const KXEditResult pasted = PasteSpecialByHost();
    if (pasted.IsDone()) journal.Keep();
    else KXMenuAnswer::Report(pasted, mark);
}

// ------------------------------------------------------------------ undo and redo

void CKXBottomPaneContainerView::OnEditUndo() {
    RequestUndo();
}
void CKXBottomPaneContainerView::OnEditRedo() {
    RequestRedo();
}
void CKXBottomPaneContainerView::OnUpdateEditUndo(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(!(g && g->IsUndoDisabled()) && GetUndoStepCount() > 0);
}
void CKXBottomPaneContainerView::OnUpdateEditRedo(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(!(g && g->IsUndoDisabled()) && GetRedoStepCount() > 0);
}
BOOL CKXBottomPaneContainerView::CanUndoPaneGrid(CCmdUI* ui) {
    if (ui) ui->Enable(GetUndoStepCount() > 0);
    return GetUndoStepCount() > 0;
}
BOOL CKXBottomPaneContainerView::CanRedoPaneGrid(CCmdUI* ui) {
    if (ui) ui->Enable(GetRedoStepCount() > 0);
    return GetRedoStepCount() > 0;
}

LRESULT CKXBottomPaneContainerView::OnClearUndoRedo(WPARAM, LPARAM) {
    m_undo.clear();
    m_redo.clear();
    CloseOpenStep();
    return 0;
}

LRESULT CKXBottomPaneContainerView::OnDesignUndoReset(WPARAM wParam, LPARAM) {
    const char* name = reinterpret_cast<const char*>(wParam);
    IDesign* design = PaneDesign().design();
    if (!name || !design) return 0;
    CString mine;
    mine.Format("%s.%s:%s", design->libName(), design->cellName(), design->viewName());
    if (mine.CompareNoCase(name) == 0) {
        m_undo.clear();
        CloseOpenStep();
    }
    return 0;
}

// ------------------------------------------------------------------ find, delete, viewers

// The grids of pins and signals search their cells; the matrix keeps no search of its own.
void CKXBottomPaneContainerView::ShowFindReplace(BOOL bFind) {
    CKXGridWnd* g = GetActiveGrid();
    if (!g) return KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
    if (ActiveMatrixGrid()) return KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-588", KXGridKindName(g->Kind())));
    g->ShowFindReplace(bFind);
}
void CKXBottomPaneContainerView::OnEditFind() {
    ShowFindReplace(TRUE);
}
void CKXBottomPaneContainerView::OnEditReplace() {
    ShowFindReplace(FALSE);
}
void CKXBottomPaneContainerView::OnUpdateEditFind(CCmdUI* ui) {
    ui->Enable(TRUE);
}
void CKXBottomPaneContainerView::OnUpdateEditReplace(CCmdUI* ui) {
    ui->Enable(TRUE);
}
void CKXBottomPaneContainerView::OnUpdateShowPropertyEditor(CCmdUI* ui) {
    ui->Enable(TRUE);
}
void CKXBottomPaneContainerView::OnUpdateShowAssocCompViewer(CCmdUI* ui) {
    ui->Enable(TRUE);
}
void CKXBottomPaneContainerView::OnUpdateCustomizeColumns(CCmdUI* ui) {
    ui->Enable(TRUE);
}

// Every shown grid names its delete command; equal commands run once, all inside one
// transaction that is committed when any of them succeeded and discarded otherwise. The connection
// deletes of several grids are one command naming every grid's pins (one that names none acts on
// every grid's selection), so that one key sends one command.
BOOL CKXBottomPaneContainerView::DeleteInShownGrids() {
    const std::string connections = std::string(KXScriptWord::deleteConnection) + " pin";
    std::set<std::string> commands;
    std::string named;
    bool anyConnections = false, unnamed = false;
    for (CKXGridWnd* g : m_shownGrids) {
        CString command;
        g->GetDeleteScriptCommand(command);
        if (command.IsEmpty()) continue;
        const std::string text = command.str();
        if (text.rfind(connections, 0) != 0 ||
            (text.size() > connections.size() && text[connections.size()] != ' ')) {
            commands.insert(text);
            continue;
        }
        anyConnections = true;
        const std::string pins = text.substr(connections.size());
        if (pins.empty()) unnamed = true;
        else if (named.find(pins) == std::string::npos) named += pins;
    }
    if (anyConnections) commands.insert(unnamed ? connections : connections + named);
    if (commands.empty()) {
        // The user's current cell stands in a column whose Delete removes nothing; else nothing is
        // selected to delete.
        CKXGridWnd* active = GetActiveGrid();
        CKXErrorHandler::MessageBoxOk(active && active->IsCellOfTheUser() ? "KXTABLE-480" : "KXTABLE-272");
        return FALSE;
    }
    // A delete of terminations alone is named as the deleteTermination word names its step.
    const bool terminations =
        commands.size() == 1 && commands.begin()->rfind(KXScriptWord::deleteTermination, 0) == 0;
    const BOOL began = BeginPaneTransaction(terminations ? "Delete Termination" : "Delete Connections");
    BOOL any = FALSE;
    for (const std::string& c : commands)
        if (SendHostText(c.c_str())) any = TRUE;
    if (began) {
        any = EndPaneTransaction(any);
        // The design refused the commit: a matrix shows the design again (its cells were cleared).
        CKXMatrixGridWnd* matrix = any ? nullptr : ActiveMatrixGrid();
        if (matrix) matrix->LoadMatrixView(CString(matrix->ViewName()));
    }
    return any;
}

// The menu's Delete (and the Delete key of every grid) answers as the automation's: what the active
// grid deleted, or why nothing.
void CKXBottomPaneContainerView::OnDeleteConnections() {
    const KXShownMark mark;
    KXMenuAnswer::Report(DeleteSelected(), mark);
}
void CKXBottomPaneContainerView::OnUpdateDeleteConnections(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    // Enabled where the Delete may act: a grid with rows the user selected, in a window that may edit.
    if (!g || !g->HasSelectionOfTheUser() || !g->CanDelete() || GetViewMode() == eOpenModeContext) Disable(ui);
}

void CKXBottomPaneContainerView::OnEditProperties() {
    if (CKXGridWnd* g = GetActiveGrid()) g->ShowPropertyEditor();
}

void CKXBottomPaneContainerView::ShowDockWindow(const char* which, BOOL crossSelect) {
    static const UINT msg = RegisterWindowMessageA("MSG_SHOW_DOCKWINDOW");
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(msg, reinterpret_cast<WPARAM>(which), 0);
    if (CKXGridWnd* g = GetActiveGrid()) {
        g->NotifySelectionChanged();
        if (crossSelect) g->CrossSelectInHost();
    }
}
void CKXBottomPaneContainerView::OnZoom() {
    CKXGridWnd* active = GetActiveGrid();
    if (!active) return;
    CKXZoomDialog dialog(active->GetZoom(), this);
    if (dialog.DoModal() != IDOK) {
        KXMenuAnswer::Report(dialog.IsOutOfRange() ? KXEditResult::Refused("KXPANE-480") : KXEditResult::Dialog());
        return;
    }
    constexpr UINT kZoomRedraw = 2;
    for (const std::unique_ptr<CKXGridWnd>& grid : m_grids)
        if (grid->Kind() == active->Kind()) grid->SetZoom(dialog.GetZoom(), kZoomRedraw);
}

// Zoom acts on the pane's active grid, also while a list has the keyboard; with no grid shown it has
// nothing to act on.
void CKXBottomPaneContainerView::OnUpdateZoom(CCmdUI* ui) {
    if (!GetActiveGrid()) Disable(ui);
}

void CKXBottomPaneContainerView::OnShowPropertyEditor() {
    ShowDockWindow("PROPERTYEDITOR", FALSE);
}
void CKXBottomPaneContainerView::OnShowAssocCompViewer() {
    ShowDockWindow("ASSOCCOMPVIEWER", TRUE);
}

// ------------------------------------------------------------------ sorting and columns

// The order the grids sort names in; choosing the order they already use changes nothing.
void CKXBottomPaneContainerView::ChooseSortOrder(int type) {
    if (CCommonInterface::nSortType == type) {
        KXMenuAnswer::Report(KXEditResult::Nothing("KXPANE-580", type == 0 ? "alphabetically" : "alphanumerically"));
        return;
    }
    CCommonInterface::nSortType = type;
}
void CKXBottomPaneContainerView::OnSortAsAlpha() {
    ChooseSortOrder(0);
}
void CKXBottomPaneContainerView::OnSortAsAlphaNumeric() {
    ChooseSortOrder(1);
}
void CKXBottomPaneContainerView::OnUpdateSortAsAlpha(CCmdUI* ui) {
    ui->Enable(TRUE);
    ui->SetCheck(CCommonInterface::nSortType == 0);
}
void CKXBottomPaneContainerView::OnUpdateSortAsAlphaNumeric(CCmdUI* ui) {
    ui->Enable(TRUE);
    ui->SetCheck(CCommonInterface::nSortType == 1);
}
void CKXBottomPaneContainerView::OnUpdateSortMenu(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if (g && ui->m_pSubMenu) g->AppendSortMenu(ui->m_pSubMenu);
}
void CKXBottomPaneContainerView::OnCustomizeColumns() {
    if (CKXGridWnd* g = GetActiveGrid())
        g->CustomizeColumns();
    else
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
}

// ------------------------------------------------------------------ terminations and pull-ups

// Done when the dialog's choice became an undo step; a grid that refused (its message says why) or a
// dialog answered without a change did nothing. A read-only window's dialog only shows.
void CKXBottomPaneContainerView::OnAddTermination() {
    CKXGridWnd* g = GetActiveGrid();
    if (!g) return;
    const KXShownMark mark;
    const int steps = GetUndoStepCount();
    g->OnAddTermination();
    if (GetViewMode() == eOpenModeContext || mark.DialogCancelledSince() || GetUndoStepCount() != steps) return;
    KXMenuAnswer::Report(KXEditResult::Of(FALSE, "KXTABLE-210"), mark);
}
void CKXBottomPaneContainerView::OnUpdateAddTermination(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if (!g) {
        Disable(ui);
        return;
    }
    const BOOL readOnly = GetViewMode() == eOpenModeContext;
    const BOOL has = g->HasTermination();
    ui->SetText(readOnly ? "View Termination" : has ? "Edit Termination" : "Add Termination");
    ui->Enable(readOnly ? has : g->CanAddTermination());
}

void CKXBottomPaneContainerView::OnAddPullupPulldown() {
    CKXGridWnd* g = GetActiveGrid();
    if (g) g->AddPupdOnOpenPins(FALSE, FALSE, [g] {
            g->AddPupd();
            return TRUE;
        });
}
void CKXBottomPaneContainerView::OnUpdateAddPullupPulldown(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    const BOOL hasDoc = m_pChildFrame && m_pChildFrame->GetTableDoc();
    const BOOL editable = hasDoc && GetViewMode() != eOpenModeContext;
    const BOOL can = g && g->CanAddPupd();
    const BOOL has = g && g->HasPupd();
    if (editable)
        ui->SetText(can && has ? "Edit Pullup/Pulldown..." : "Add Pullup/Pulldown...");
    else
        ui->SetText("View Pullup/Pulldown...");
    if (!g) {
        Disable(ui);
        return;
    }
    ui->Enable(editable ? can : can && has);
}

// ------------------------------------------------------------------ models, comments, swaps

void CKXBottomPaneContainerView::OnAssignModel() {
    const KXShownMark mark;
    if (CKXGridWnd* g = GetActiveGrid()) KXMenuAnswer::ReportWork(g->AssignModel(0, ""), mark, "KXTABLE-184");
}
// The model commands act on the pins the user chose: the cell a grid's activation placed is none.
void CKXBottomPaneContainerView::OnUpdateAssignModel(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->HasSelectionOfTheUser() && g->CanAssignModel());
}
void CKXBottomPaneContainerView::OnRemoveModel() {
    const KXShownMark mark;
    if (CKXGridWnd* g = GetActiveGrid()) KXMenuAnswer::ReportWork(g->RemoveModel(), mark, kKXNoModelRemoved);
}
void CKXBottomPaneContainerView::OnUpdateRemoveModel(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->HasSelectionOfTheUser() && g->CanRemoveModel());
}

// The comment commands act on the active grid's pins: with no grid shown there is no pin to comment.
void CKXBottomPaneContainerView::OnInsertComment() {
    if (CKXGridWnd* g = GetActiveGrid())
        g->InsertComment("", 0);
    else
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
}
void CKXBottomPaneContainerView::OnEditComment() {
    if (CKXGridWnd* g = GetActiveGrid())
        g->EditComment("", 0);
    else
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
}
void CKXBottomPaneContainerView::OnDeleteComment() {
    if (CKXGridWnd* g = GetActiveGrid())
        g->RequestDeleteComment();
    else
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
}
void CKXBottomPaneContainerView::OnUpdateInsertComment(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if ((g && !g->CanInsertComment()) || GetViewMode() == eOpenModeContext) Disable(ui);
}
void CKXBottomPaneContainerView::OnUpdateEditComment(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if ((g && !g->CanEditComment()) || GetViewMode() == eOpenModeContext) Disable(ui);
}
void CKXBottomPaneContainerView::OnUpdateDeleteComment(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    if ((g && !g->CanDeleteComment()) || GetViewMode() == eOpenModeContext) Disable(ui);
}

namespace {

constexpr UINT kPinNumberMenuItem = 35545; // the item that opens the pin-number submenu
constexpr UINT kPinNumberMore = 35550;     // "More...": the Assign Pin Number dialog
constexpr UINT kNoMenuItem = 0xFFFFFFFF;   // GetMenuState of an id the menu lacks

} // namespace

// The pin-number menu of the active grid's current pin, built into the given menu; NULL (and the
// menu left without numbers) when the grid is not of the view's kind or the pin has no choice.
static HMTGEN BuildPinNumberMenuOf(CKXGridWnd* grid, IKXPinGrid* pin, BOOL bPhysical, CMenu* menu) {
    if (bPhysical) {
        auto* part = dynamic_cast<CKXPhysPartDetailsGridWnd*>(grid);
        return part ? part->BuildPinNumberMenu(menu) : nullptr;
    }
    return pin ? pin->BuildPinNumberMenu(menu) : nullptr;
}

// A number the dialog refused (it said why) makes the command answer 0; a cancelled dialog changed
// nothing the user asked for.
void CKXBottomPaneContainerView::OnAssignPinNumberFromMenu(UINT id) {
    const KXShownMark mark;
    CKXGridWnd* grid = GetActiveGrid();
    BOOL done = TRUE;
    if (GetViewMode() == eOpenModePhysical) {
        auto* part = dynamic_cast<CKXPhysPartDetailsGridWnd*>(grid);
        if (!part) return;
        done = id == kPinNumberMore ? part->SendAssignPinNumber() : part->AssignPinNumberInHost(id);
    } else if (IKXPinGrid* pin = PinGridOf(grid)) {
        done = id == kPinNumberMore ? pin->SendAssignPinNumber() : pin->AssignPinNumberInHost(id, FALSE, "");
    }
    if (done == 2)
        KXMenuAnswer::Report(KXEditResult::Dialog(), mark); // the user declined the section exchange
    else if (!done && mark.SaidSince())
        KXMenuAnswer::Report(KXEditResult::Of(FALSE, "KXTABLE-198", ""));
}

// On the submenu item the grid fills the submenu, which is usable when the generator gives a pin. A
// single item (a command run by id) is usable when the current pin's menu holds it, so that a number
// is only ever taken from the pin it was offered for.
void CKXBottomPaneContainerView::OnUpdateAssignPinNumberMenu(CCmdUI* ui) {
    CKXGridWnd* grid = GetActiveGrid();
    const BOOL bPhysical = GetViewMode() == eOpenModePhysical;
    IKXPinGrid* pin = PinGridOf(grid);
    if (ui->m_nID == kPinNumberMenuItem && ui->m_pSubMenu) {
        HMTGEN gen = BuildPinNumberMenuOf(grid, pin, bPhysical, ui->m_pSubMenu);
        BOOL any = FALSE;
        if (gen) {
            hmtResetGen(gen);
            any = hmtGenPins(gen) != nullptr;
            hmtResetGen(gen);
        }
        if (ui->m_pMenu) ui->m_pMenu->EnableMenuItem(ui->m_nIndex, MF_BYPOSITION | (any ? MF_ENABLED : MF_GRAYED));
        return;
    }
    CMenu scratch;
    scratch.CreatePopupMenu();
    const BOOL built = BuildPinNumberMenuOf(grid, pin, bPhysical, &scratch) != nullptr;
    ui->Enable(built && scratch.GetMenuState(ui->m_nID, MF_BYCOMMAND) != kNoMenuItem);
}

void CKXBottomPaneContainerView::OnSwapPins() {
    const KXShownMark mark;
    if (CKXGridWnd* g = GetActiveGrid()) KXMenuAnswer::ReportWork(g->SwapPins(0, ""), mark, "KXTABLE-107");
}
void CKXBottomPaneContainerView::OnUpdateSwapPins(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->CanSwapPins());
}
void CKXBottomPaneContainerView::OnSwapSignals() {
    const KXShownMark mark;
    if (CKXGridWnd* g = GetActiveGrid()) KXMenuAnswer::ReportWork(g->SwapSignals(0, ""), mark, "KXTABLE-207");
}
void CKXBottomPaneContainerView::OnUpdateSwapSignals(CCmdUI* ui) {
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->CanSwapSignals());
}

void CKXBottomPaneContainerView::OnUpdateEditPin(CCmdUI* ui) {
    if (m_pChildFrame && m_pChildFrame->GetTableDoc()) {
        const EOpenMode mode = GetViewMode();
        if (mode == eOpenModePhysical)
            ui->SetText("Edit logical pin");
        else if (mode != eOpenModeNoSwitch)
            ui->SetText("&Go to physical pin");
    }
    CKXGridWnd* g = GetActiveGrid();
    ui->Enable(g && g->CanEditPin() && GetViewMode() != eOpenModeNoSwitch);
}

// ------------------------------------------------------------------ list tracking, pairs, host ids

// The word says why a grid has no signal to track.
void CKXBottomPaneContainerView::OnTrackInSignalList() {
    AnswerMenuByHost(CString(KXScriptWord::trackInSignalList) + " pin",
                     UsageOf(KXScriptWord::trackInSignalList));
}
void CKXBottomPaneContainerView::OnUpdateTrackInSignalList(CCmdUI* ui) {
    CKXGridWnd* grid = GetActiveGrid();
    auto* pin = PinGridOf(grid);
    auto* part = dynamic_cast<CKXPhysPartDetailsGridWnd*>(grid);
    auto* matrix = dynamic_cast<CKXMatrixGridWnd*>(grid);
    ui->Enable(grid && HasChosenRow(*grid) &&
               ((pin && pin->IsCurrentSignalCellFilled()) || (part && part->IsCurrentPinConnected()) ||
                (matrix && matrix->IsCurrentRowSignal())));
}

void CKXBottomPaneContainerView::OnRemoveDiffPairPin() {
    SendHostText((CString(KXScriptWord::removeDiffPairPin) + " pin").GetString());
}

// Only pin grids hold pairs to remove, and each shown one must have pair pins selected that it can
// take off their pairs; with no grid shown nothing stands in the way.
BOOL CKXBottomPaneContainerView::CanRemoveDiffPairPin() {
    if (GetViewMode() == eOpenModePhysical) return FALSE;
    for (CKXGridWnd* g : m_shownGrids) {
        IKXPinGrid* pins = PinGridOf(g);
        if (!pins || !pins->CanRemoveDiffPair()) return FALSE;
    }
    return TRUE;
}
void CKXBottomPaneContainerView::OnUpdateRemoveDiffPairPin(CCmdUI* ui) {
    ui->Enable(CanRemoveDiffPairPin());
}

// The host runs this command itself; the pane only says when it is usable.
void CKXBottomPaneContainerView::OnHostCommand35537() {
    KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-582"));
}
void CKXBottomPaneContainerView::OnUpdateHostCommand35537(CCmdUI* ui) {
    const EOpenMode mode = GetViewMode();
    if (mode == eOpenModePhysical || !PinGridOf(GetActiveGrid()) || mode == eOpenModeContext) Disable(ui);
}
void CKXBottomPaneContainerView::OnUpdateHostCommand35538(CCmdUI* ui) {
    OnUpdateHostCommand35537(ui);
}

// ------------------------------------------------------------------ grids side by side

void CKXBottomPaneContainerView::ActivateAdjacentGrid(CGXGridCore* grid, BOOL bForward) {
    std::vector<CKXGridWnd*> pins;
    for (CKXGridWnd* g : m_shownGrids)
        if (g->Kind() == KXGridKind::Pin) pins.push_back(g);
    for (size_t i = 0; i < pins.size(); ++i) {
        if (static_cast<CGXGridCore*>(pins[i]) != grid) continue;
        if (bForward ? i + 1 >= pins.size() : i == 0) return;
        CKXGridWnd* target = pins[bForward ? i + 1 : i - 1];
        ROWCOL row = GX_INVALID, col = GX_INVALID;
        if (!pins[i]->GetCurrentCell(row, col)) row = GX_INVALID;
        // The neighbour becomes the grid the pane's commands (and the host's hands) go to.
        const auto at = std::find(m_shownGrids.begin(), m_shownGrids.end(), target);
        SetActiveGridIndex(static_cast<int>(at - m_shownGrids.begin()));
        target->SetFocus();
        // The current cell goes on in the row the user was in (side-by-side grids show the same
        // pins), in the neighbour's first shown column going forward, its last going back.
        if (row == GX_INVALID || row < target->FirstDataRow() || row > target->GetRowCount() || target->IsRowHidden(row))
            row = target->FirstDataRow();
        const ROWCOL to = bForward ? target->GetFirstVisibleColumn() : target->GetLastVisibleColumn();
        if (to != 0 && row != GX_INVALID && row <= target->GetRowCount()) target->SetCurrentCell(row, to, GX_SMART | GX_SCROLLINVIEW);
        target->Redraw(2, 1);
        return;
    }
}

int CKXBottomPaneContainerView::GridIndexOf(CGXGridCore* grid) const {
    int index = 0;
    for (CKXGridWnd* g : m_shownGrids) {
        if (!PinGridOf(g)) continue;
        if (static_cast<CGXGridCore*>(g) == grid) return index;
        ++index;
    }
    return -1;
}

void CKXBottomPaneContainerView::ClearOtherGridSelections(int gridIndex) {
    int index = 0;
    for (CKXGridWnd* g : m_shownGrids) {
        if (!PinGridOf(g)) continue;
        if (index++ == gridIndex) continue;
        g->DeselectAllRows();
    }
}

// ------------------------------------------------------------------ view activation and pin editing

void CKXBottomPaneContainerView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CKXGridWnd* active = GetActiveGrid();
    if (pActivateView != pDeactiveView && active && !m_bActivating) {
        if (!bActivate) {
            active->InitCanPasteCallback();
        } else {
            // The host's log records that the pane became the active window; the host's own
            // selectWindow comes back here with the pane already active and is not echoed again.
            m_bActivating = TRUE;
            ActivateGrids();
            if (CWnd* main = AfxGetMainWnd()) {
                auto args = std::make_unique<CTclArgsList>();
                args->Add(KXScriptWord::selectWindow);
                args->Add("ccp");
                main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(args.get()), 0);
            }
            m_bActivating = FALSE;
        }
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

// Going to the pin in the other view needs the host's consent (and, when it says so, a save).
void CKXBottomPaneContainerView::OnEditPin() {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    const EOpenMode mode = doc ? doc->GetOpenMode() : eOpenModeNoSwitch;
    const char* word = mode == eOpenModePhysical ? KXScriptWord::editLogicalPin : mode != eOpenModeNoSwitch ? KXScriptWord::editPhysicalPin : nullptr;
    CWnd* main = AfxGetMainWnd();
    if (!main) return;
    if (!word) {
        // A window without view switching has no other view to go to.
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-178"));
        return;
    }
    // A read-only window leads to no view that edits its design: refused before the save question.
    if (!IsEditable()) return KXMenuAnswer::Report(KXEditResult::Refused(kKXReadOnlyWindow));
    const LRESULT answer = main->SendMessage(MSG_HOST_ASK_SAVE, mode == eOpenModePhysical ? 1 : 0, 0);
    if (HIWORD(answer) != 1) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // the save question was cancelled: nothing opens
        return;
    }
    AnswerMenuByHost(CString(word) + (LOWORD(answer) ? " pin -save" : " pin -nosave"), UsageOf(word));
}

// ------------------------------------------------------------------ column sorts and value edits

// A sort by menu is a step of the window's history: undoing it brings the previous order back.
void CKXBottomPaneContainerView::OnSortByColumn(UINT id) {
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-246"));
    // A column the grid lacks sorts nothing and makes no step.
    const int col = static_cast<int>(id) - 35119;
    if (static_cast<ROWCOL>(col) > grid->GetColCount()) return KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-583", col));
    // The step opens before the sort (the sort's journal lines go with it); a sort the grid refused (it
    // said why) takes it back.
    auto* step = new CKXSortUndoCmd(grid, grid->GetSortColumn(), grid->IsSortAscending());
    AddUndoCommand(grid, step, gxDo, kUndoStepOpen);
    const KXShownMark mark;
    {
        const CKXGridWnd::SortStepScope recorded;
        grid->OnSortColumn(col);
    }
    const bool sorted = step->GridSorted();
    AddUndoCommand(grid, nullptr, gxDo, sorted ? kUndoStepClose : kUndoStepRollBack);
    if (!sorted) KXMenuAnswer::Report(KXEditResult::Of(FALSE, "KXPANE-231"), mark);
}

void CKXBottomPaneContainerView::OnModifyValues() {
    if (CKXGridWnd* grid = GetActiveGrid()) grid->RenameConnections();
}
void CKXBottomPaneContainerView::OnUpdateModifyValues(CCmdUI* ui) {
    CKXGridWnd* grid = GetActiveGrid();
    const EOpenMode mode = GetViewMode();
    if (mode == eOpenModePhysical || mode == eOpenModeContext || !grid || !grid->CanRenameConnections()) Disable(ui);
}
