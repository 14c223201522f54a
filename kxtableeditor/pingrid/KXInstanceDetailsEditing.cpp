// In-cell editing, keys, the current cell, clicks and the pane's grids kept in
// step: what the pin grid adds to the common grid window's behaviour.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridTerminations.h"
#include "pingrid/KXPinGridUtil.h"
#include "grid/KXRowFilter.h"
#include "grid/KXColumnModel.h"

#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXSpinControl.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxinstsigpane/KXTransaction.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "kxinstsigpane/CommonInterface.h"

#include <algorithm>
#include <numeric>
#include <vector>
#include <utility>

CKXInstanceDetailsGridWnd* CKXInstanceDetailsGridWnd::m_pPasteTarget = nullptr;

namespace {

constexpr UINT kSmartInView = GX_SMART | GX_SCROLLINVIEW; // 10
constexpr ROWCOL kFilterRow = 4;
constexpr UINT kDeleteConnectionsCommand = 35264;

// Process-wide guards: the pane's mirroring calls back into every grid, this one included.
bool s_bToggling = false;
bool s_bForwardingToggle = false;
bool s_bHiding = false;

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

ROWCOL Col(int col) {
    return col < 0 ? GX_INVALID : static_cast<ROWCOL>(col);
}

} // namespace

// ---------------------------------------------------------------------------
// Editing and undo

BOOL CKXInstanceDetailsGridWnd::OnStartEditing(ROWCOL nRow, ROWCOL nCol) {
    if (!CKXGridWnd::OnStartEditing(nRow, nCol)) return FALSE;
    m_bEditing = TRUE;
    m_bEditFoundTransaction = CKXTransaction::IsTransactionStarted() ? 1 : 0;
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::OnEndEditing(ROWCOL nRow, ROWCOL nCol) {
    m_bStoringCellEdit = 0;
    const BOOL bResult = CKXGridWnd::OnEndEditing(nRow, nCol);
    if (m_bEditing) {
        const bool ownsTransaction = !std::exchange(m_bEditFoundTransaction, 0);
        m_bEditing = FALSE;
        m_nTransState = 0;
        // One edit is one committed transaction, unless a caller commits it. A transaction another
        // grid began meanwhile (a dialog's) is that grid's to end.
        if (ownsTransaction && !m_bDeferCommit && CKXTransaction::IsTransactionStarted() &&
            CKXTransaction::GetGrid() == this) {
            CommitOwnTransaction(0, 1);
        }
    }
    return bResult;
}

BOOL CKXInstanceDetailsGridWnd::CommitOwnTransaction(BOOL bCommit, BOOL bEnd) {
    const int wasCommitting = std::exchange(m_bCommitting, 1);
    const BOOL committed = CKXTransaction::CommitTrans(this, bCommit, bEnd);
    m_bCommitting = wasCommitting;
    return committed;
}

void CKXInstanceDetailsGridWnd::OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) {
    m_bEditing = FALSE;
    m_bEditFoundTransaction = 0;
    m_bStoringCellEdit = 0;
    m_nTransState = kUndoStepClose;
    CKXGridWnd::OnCanceledEditing(nRow, nCol);
}

void CKXInstanceDetailsGridWnd::ForgetDroppedEdit() {
    if (!m_bEditing) return;
    if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive()) return;
    m_bEditing = FALSE;
    m_bEditFoundTransaction = 0;
    m_bStoringCellEdit = 0;
}

void CKXInstanceDetailsGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    // A validated signal or custom cell changed the design in an edit of its own; the store of the
    // cell's shown value that follows is no step.
    if (m_bStoringCellEdit) {
        m_bStoringCellEdit = 0;
        delete pCmd;
        return;
    }
    // The pane's undo history takes the command with the grid's transaction state: a command of an
    // edit just begun opens a step, one of a committing edit closes it; later ones join the open step.
    CCommonInterface* history = Site() ? Site()->UndoSink() : nullptr;
    if (!history) {
        CKXGridWnd::AddCommand(pCmd, ctType);
        return;
    }
    history->AddUndoCommand(this, pCmd, ctType, m_nTransState);
    m_nTransState = kUndoStepJoin;
}

BOOL CKXInstanceDetailsGridWnd::OnDeleteCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kFilterRow) return CKXGridWnd::OnDeleteCell(nRow, nCol);
    // A data or header cell is never cleared by the grid: an active editor deletes its own text.
    if (CGXControl* pControl = GetControl(nRow, nCol); pControl && pControl->IsActive())
        pControl->KeyPressed(WM_KEYDOWN, VK_DELETE);
    return FALSE;
}

// ---------------------------------------------------------------------------
// Keys

BOOL CKXInstanceDetailsGridWnd::ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt,
                                            UINT flags) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const BOOL bHasCurrent = GetCurrentCell(row, col);
    const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT), alt = KeyDown(VK_MENU);

    if (nMessage == WM_KEYDOWN) {
        if (nChar == VK_RETURN && !ctrl && !shift && bHasCurrent && row == kFilterRow) {
            {
                // Applying the filter is no undo step.
                kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
                TransferCurrentCell(TRUE, GX_SMART, TRUE);
            }
            // The stored pattern takes effect at once (and is journalled as the user's filter).
            FilterRowsAsUser(col);
            return TRUE;
        }
        if (m_bPaneNavigation && bHasCurrent) {
            const ROWCOL first = GetFirstVisibleColumn(), last = GetLastVisibleColumn();
            const bool forward =
                (nChar == VK_TAB && !shift && col == last) || (nChar == VK_RIGHT && col == last);
            const bool backward =
                (nChar == VK_TAB && shift && col == first) || (nChar == VK_LEFT && col == first);
            if (forward || backward) {
                if (Site()) Site()->ActivateAdjacentGrid(this, forward ? TRUE : FALSE);
                if (!shift && !ctrl) {
                    SetCurrentCell(GX_INVALID, GX_INVALID, kSmartInView);
                    SelectAllRows();
                }
                return TRUE;
            }
        }
        // Delete acts on the current cell, or on rows selected without one (by keys, selectObject).
        if (nChar == VK_DELETE && !shift && !alt && (bHasCurrent || HasSelectedDataRow())) {
            CGXControl* pControl = bHasCurrent ? GetControl(row, col) : nullptr;
            const bool editing = pControl && pControl->IsActive();
            // On the filter row Delete takes the column's filter off; it deletes no pin's connection. A
            // column that filters nothing has none to take off: the key is the pane's Delete, which says
            // that no pin is selected.
            if (!editing && row == kFilterRow && !KXRowFilter::IsMatchAll(GetValueRowCol(kFilterRow, col))) {
                ClearColumnFilter(col);
                return TRUE;
            }
            if (!editing && Site()) {
                Site()->RunPaneCommand(kDeleteConnectionsCommand);
                return TRUE;
            }
        }
    }
    return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
}

// ---------------------------------------------------------------------------
// Current cell and paste targets

BOOL CKXInstanceDetailsGridWnd::SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags) {
    const BOOL bResult = CKXGridWnd::SetCurrentCell(nRow, nCol, flags);
    if (!bResult || !Site()) return bResult;
    if (Site()->IsSiteBusy()) return bResult;
    if (nRow != GX_INVALID && nCol != GX_INVALID && nRow <= GetRowCount() && nCol <= GetColCount()) {
        if (nRow >= PIN_FIRST_ROW && (nCol == Col(m_nColSignal) || nCol == Col(m_nColPinName))) {
            Site()->EnableAttachSignalControls(TRUE);
        } else {
            const CGXStyle style = CellStyle(nRow, nCol);
            if (!style.GetIncludeEnabled() || style.GetEnabled())
                Site()->EnableAttachSignalControls(FALSE);
        }
    }
    m_pPasteTarget = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CKXInstanceDetailsGridWnd::CanPasteObjectHere,
                                          &CKXInstanceDetailsGridWnd::CanPasteTextHere);
    return bResult;
}

namespace {

bool IsTextKind(int kind) {
    return kind == KX_CLIP_TEXT_OBJECTS || kind == KX_CLIP_PLAIN_TEXT;
}

} // namespace

BOOL CKXInstanceDetailsGridWnd::CanPasteObjectHere(int kind) {
    CKXInstanceDetailsGridWnd* grid = m_pPasteTarget;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid || !grid->GetCurrentCell(row, col)) return FALSE;
    if (row == kFilterRow) return IsTextKind(kind);
    const int c = static_cast<int>(col);
    if (c == m_nColPinName || c == m_nColPinNumber || c == m_nColPinType || c == m_nColComments ||
        c == m_nColDiffPair)
        return FALSE;
    if (c == m_nColPupd) return kind == KX_CLIP_PUPD_GROUPS && grid->m_assocPaste->CanPastePupds();
    if (c == m_nColTermination) return kind == KX_CLIP_TERMINATIONS && grid->CanAddTermination();
    if (c == m_nColSignal) return IsTextKind(kind);
    return kind == KX_CLIP_TEXT_OBJECTS;
}

BOOL CKXInstanceDetailsGridWnd::CanPasteTextHere(int kind) {
    CKXInstanceDetailsGridWnd* grid = m_pPasteTarget;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid || !grid->GetCurrentCell(row, col)) return FALSE;
    const int c = static_cast<int>(col);
    if (c == m_nColPinName || c == m_nColPinNumber || c == m_nColPinType || c == m_nColComments ||
        c == m_nColDiffPair || c == m_nColPupd || c == m_nColTermination)
        return FALSE;
    if (c == m_nColSignal) return IsTextKind(kind);
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::IsCurrentCellConnectable() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    if (IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    if (col == Col(m_nColPinName)) return TRUE;
    return col == Col(m_nColSignal) && !CKXGenUtils::IsNC(GetValueRowCol(row, col));
}

BOOL CKXInstanceDetailsGridWnd::IsCurrentSignalCellFilled() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW || row > GetRowCount() || m_nColSignal < 0)
        return FALSE;
    return !GetValueRowCol(row, Col(m_nColSignal)).IsEmpty();
}

BOOL CKXInstanceDetailsGridWnd::AcceptCellText(ROWCOL, ROWCOL, const CString&) {
    return TRUE;
}

// ---------------------------------------------------------------------------
// Stepping through signal cells and selecting a pin's cell

ROWCOL CKXInstanceDetailsGridWnd::ShownRowFrom(ROWCOL row) {
    while (row <= GetRowCount() && IsRowHidden(row))
        ++row;
    return row;
}

BOOL CKXInstanceDetailsGridWnd::SelectFirstSignalCell() {
    const ROWCOL first = ShownRowFrom(PIN_FIRST_ROW);
    if (first > GetRowCount() || !SetCurrentCell(first, Col(m_nColSignal), kSmartInView)) return FALSE;
    NotifySelectionChanged();
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::SelectNextSignalCell() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const BOOL bHasCurrent = GetCurrentCell(row, col);
    SelectAllRows();
    if (!bHasCurrent || row < PIN_FIRST_ROW) return FALSE;
    const ROWCOL next = ShownRowFrom(row + 1);
    if (next > GetRowCount() || !SetCurrentCell(next, Col(m_nColSignal), kSmartInView)) return FALSE;
    NotifySelectionChanged();
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::SelectColumnByName(const CString& pinNameArg, const CString& columnName) {
    const CString pinName = pinNameArg; // the argument may be the grid's shared value buffer
    if (CGXGridParam* param = GetParam()) param->EnableSelection(0x10);
    int col = 0;
    if (columnName.CompareNoCase("Termination") == 0)
        col = m_nColTermination;
    else if (columnName.CompareNoCase("Signal") == 0)
        col = m_nColSignal;
    else if (columnName.CompareNoCase("PinName") == 0)
        col = m_nColPinName;
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row) {
        if (GetValueRowCol(row, Col(m_nColPinName)) != pinName) continue;
        // The current cell first: moving it may drop the selection.
        SetCurrentCell(row, Col(col), kSmartInView);
        SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
        return TRUE;
    }
    return FALSE;
}

namespace {
// Folds a pin row can sit in: a pair's lane within the pair, a leg within its lane.
constexpr int kMaxFoldDepth = 3;
} // namespace

BOOL CKXInstanceDetailsGridWnd::SelectPinCell(const CString& columnKey, const CString& pinNameArg,
                                              const CString& pinNumberArg) {
    const CString pinName = pinNameArg, pinNumber = pinNumberArg; // may be the shared value buffer
    static const std::pair<const char*, int*> kColumns[] = {
        {"Termination", &m_nColTermination}, {"Signal", &m_nColSignal}, {"pinname", &m_nColPinName},
        {"pupd", &m_nColPupd},               {"pinnumber", &m_nColPinNumber}};
    int col = 0;
    for (const auto& [key, column] : kColumns)
        if (columnKey.CompareNoCase(key) == 0) col = *column;
    if (col <= 0) return FALSE;
    // A pin without a package number is journalled with an empty number: it is found by its name.
    const bool byName = pinNumber == "-1" || pinNumber.IsEmpty();
    const ROWCOL nameCol = Col(m_nColPinName);
    const auto locate = [&]() { return RowOfPinKey(pinName, pinNumber); };
    ROWCOL found = locate();
    // A bit of a folded wide pin has its row once it is written; its folds open on it alone.
    const kxpingrid::NamedBitRowsOnly namedOnly;
    if (!found && byName && m_fill->WriteWidePinBitRowsOf(pinName)) found = locate();
    if (!found) return FALSE;
    // A bit folded into its bus row: open the bus so that the row shows. A row the row filter hides was
    // shown where the call was made (a dialog's own grid): the filter goes, so that the call reaches it.
    // Either one lays the rows out again: the row is looked for again after each.
    const auto expand = [&]() {
        ExpandPin(CString(GetValueRowCol(found, nameCol)));
        found = locate();
    };
    if (IsRowHidden(found)) expand();
    if (found && IsRowHidden(found) && ClearRowFilter()) {
        found = locate();
        if (found && IsRowHidden(found)) expand();
    }
    // A leg of a lane of a folded pair is two folds down: with no filter left, the shown row nearest
    // above a hidden row is the fold it is in; each is opened, outermost first, until the row shows.
    for (int depth = 0; found && IsRowHidden(found) && depth < kMaxFoldDepth; ++depth) {
        ROWCOL fold = found;
        while (fold > PIN_FIRST_ROW && IsRowHidden(fold)) --fold;
        const CGXStyle style = CellStyle(fold, nameCol);
        auto* button = style.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_EXPAND_STATE))
                           ? dynamic_cast<CKXPlusMinusEditButton*>(GetRegisteredControl(style.GetControl()))
                           : nullptr;
        if (!button) break;
        button->SetExpandState(fold, nameCol, TRUE);
        found = locate();
    }
    // A row still hidden is not where the call was made: nothing is selected, so that the call that
    // follows acts on no row rather than on the one selected before.
    if (!found || IsRowHidden(found)) return FALSE;
    // The cell alone is selected: rows added before by the Ctrl-selections stay out of what follows.
    ClearSelection();
    SetCurrentCell(found, Col(col), kSmartInView);
    SelectRange(CGXRange(found, Col(col)), TRUE, TRUE);
    return TRUE;
}

ROWCOL CKXInstanceDetailsGridWnd::RowOfPinKey(const CString& pinName, const CString& pinNumber) {
    const bool byName = pinNumber == "-1" || pinNumber.IsEmpty();
    const ROWCOL keyCol = Col(byName ? m_nColPinName : m_nColPinNumber);
    const ROWCOL nameCol = Col(m_nColPinName);
    const CString& wanted = byName ? pinName : pinNumber;
    // The row showing the number under the pin's own name (a pair row and its leg can share a number),
    // else the first row showing the number. The rows that show the text are the only candidates.
    const char textType = byName ? kPinNameText : kPinNumberText;
    const auto pick = [&](const std::vector<ROWCOL>& rows) -> ROWCOL {
        ROWCOL byNumber = 0;
        for (ROWCOL row : rows) {
            if (row < PIN_FIRST_ROW || row > GetRowCount() || GetValueRowCol(row, keyCol) != wanted) continue;
            if (byName || GetValueRowCol(row, nameCol) == pinName) return row;
            if (!byNumber) byNumber = row;
        }
        return byNumber;
    };
    if (const ROWCOL row = pick(m_rowIndex.TextRows(textType, wanted))) return row;
    // A cell written around the texts the index keeps is looked for row by row.
    std::vector<ROWCOL> all(GetRowCount() >= PIN_FIRST_ROW ? GetRowCount() - PIN_FIRST_ROW + 1 : 0);
    std::iota(all.begin(), all.end(), PIN_FIRST_ROW);
    return pick(all);
}

void CKXInstanceDetailsGridWnd::ExpandPin(const CString& pinNameArg) {
    const CString pinName = pinNameArg; // the argument may be the grid's shared value buffer
    ActivateGridView();
    const ROWCOL pinCol = Col(m_nColPinName);
    ROWCOL found = 0;
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row)
        if (GetValueRowCol(row, pinCol) == pinName) {
            found = row;
            break;
        }
    if (!found && m_fill->WriteWidePinBitRowsOf(pinName)) {
        const std::vector<ROWCOL> rows = m_rowIndex.TextRows(kPinNameText, pinName);
        const auto it = std::find_if(rows.begin(), rows.end(), [&](ROWCOL r) {
            return r >= PIN_FIRST_ROW && r <= GetRowCount() && GetValueRowCol(r, pinCol) == pinName;
        });
        if (it != rows.end()) found = *it;
    }
    if (!found) return;
    OpenFoldsOf(found);
    // A row the row filter hides: the filter goes, as it goes for the automation's selection of a pin.
    if (IsRowHidden(found) && ClearRowFilter()) OpenFoldsOf(found);
    SetCurrentCell(found, pinCol, kSmartInView);
    SetTopRow(found, GX_SMART);
    NotifySelectionChanged();
}

void CKXInstanceDetailsGridWnd::OpenFoldsOf(ROWCOL found) {
    const ROWCOL pinCol = Col(m_nColPinName);
    const kxpingrid::NamedBitRowsOnly namedOnly; // a wide pin opens on the rows written for it
    // Every row that folds the found one opens, the outermost first: a leg of a vector pair's lane
    // shows only when the pair and then the lane are open.
    std::vector<ROWCOL> folding;
    for (ROWCOL parent = GetRowParentOffset(found); parent != GX_INVALID; parent = GetRowParentOffset(parent))
        folding.push_back(parent);
    if (folding.empty() &&
        CellStyle(found, pinCol).GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_PLUSMINUS_BIT))) {
        // A bit of a vector: its parent is the nearest row above with an expand state that is no bit
        // itself (a lane of a vector pair folds its legs: the lanes above are its siblings).
        for (ROWCOL row = found - 1; row >= PIN_FIRST_ROW; --row) {
            const CGXStyle parent = CellStyle(row, pinCol);
            if (!parent.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_EXPAND_STATE)) ||
                parent.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_PLUSMINUS_BIT)))
                continue;
            folding.push_back(row);
            break;
        }
    }
    for (auto row = folding.rbegin(); row != folding.rend(); ++row)
        if (auto* button = dynamic_cast<CKXPlusMinusEditButton*>(
                GetRegisteredControl(CellStyle(*row, pinCol).GetControl())))
            button->SetExpandState(*row, pinCol, TRUE);
}

// ---------------------------------------------------------------------------
// Mouse

int CKXInstanceDetailsGridWnd::HitTest(CPoint pt, ROWCOL* pRow, ROWCOL* pCol, CRect* pRectHit) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int hit = CKXGridWnd::HitTest(pt, &row, &col, pRectHit);
    if (pRow) *pRow = row;
    if (pCol) *pCol = col;
    // The header dialog row and the row below it behave as cells, not as column headers.
    if (hit != GX_NOHIT && (row == 0 || row == 1)) hit = GX_CELLHIT;
    return hit;
}

void CKXInstanceDetailsGridWnd::OnCellControlClick(CPoint point, BOOL* pResult) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const int hit = HitTest(point, &row, &col);
    BOOL answer = hit;
    if (hit == GX_CELLHIT && row >= PIN_FIRST_ROW && row <= GetRowCount() && col == Col(m_nColSignal)) {
        CGXControl* pControl = GetControl(row, col);
        if (!pControl)
            answer = FALSE;
        else if (m_bControlClickOff)
            answer = TRUE;
        else if (auto* spin = dynamic_cast<CKXSpinControl*>(pControl))
            answer = spin->IsChildOfCurrentCellControl(point);
        else
            answer = FALSE;
    }
    if (pResult) *pResult = answer;
}

BOOL CKXInstanceDetailsGridWnd::OnLButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    ShowPropertiesOfCell(nRow, nCol);
    return CKXGridWnd::OnLButtonClickedRowCol(nRow, nCol, nFlags, pt);
}

void CKXInstanceDetailsGridWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    if (Site() && m_bPaneNavigation && !(nFlags & (MK_CONTROL | MK_SHIFT)))
        Site()->ClearOtherGridSelections(Site()->GridIndexOf(this));
    CKXGridWnd::OnLButtonDown(nFlags, point);
}

BOOL CKXInstanceDetailsGridWnd::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    const BOOL readOnly = Site() && Site()->OpenMode() == 2;
    if (nRow >= PIN_FIRST_ROW && !readOnly && !m_bInConnectDialog && OnAssocCellDoubleClick(nRow, nCol))
        return TRUE;
    if (nRow < PIN_FIRST_ROW || nCol != Col(m_nColComments))
        return CKXGridWnd::OnLButtonDblClkRowCol(nRow, nCol, nFlags, pt);
    if (CanInsertComment())
        InsertComment("", 0);
    else if (CanEditComment())
        EditComment("", 0);
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::OnClickedButtonRowCol(ROWCOL nRow, ROWCOL nCol) {
    if (nRow < PIN_FIRST_ROW || nCol != Col(m_nColTermination)) return CKXGridWnd::OnClickedButtonRowCol(nRow, nCol);
    const BOOL readOnly = Site() && Site()->OpenMode() == 2;
    if (readOnly || m_bInConnectDialog) return FALSE;
    if (CanAddTermination()) m_terms->AddTerminationFromDialog(nRow, nCol);
    return TRUE;
}

void CKXInstanceDetailsGridWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (!m_bAutoFitPending) {
        CKXGridWnd::OnLButtonDblClk(nFlags, point);
        return;
    }
    const ROWCOL col = m_nAutoFitColumn;
    m_bAutoFitPending = FALSE;
    m_nAutoFitColumn = 0;
    if (col == 0 || col > GetColCount() || GetRowCount() < PIN_FIRST_ROW) return;
    FitColumnsToCells(CGXRange(PIN_FIRST_ROW, col, GetRowCount(), col), GX_SMART);
    if (col < m_arrColumnInfo.size() && m_arrColumnInfo[col] && m_arrColumnInfo[col]->m_bShown) {
        Columns().TrackWidth(*this, static_cast<int>(col));
        // The other pin grids take the fitted width as they take a dragged one.
        if (!m_bReducedColumns) BroadcastColumnLayout(m_arrColumnInfo);
    }
}

// ---------------------------------------------------------------------------
// Keeping in step with the pane's other grids

void CKXInstanceDetailsGridWnd::OnTopRowChanged() {
    if (Site() && m_bSyncWithPane) Site()->SyncTopRow(this, GetTopRow());
}

BOOL CKXInstanceDetailsGridWnd::HideRows(ROWCOL nFromRow, ROWCOL nToRow, BOOL bHide, BOOL* abHideArray,
                                         UINT flags, GXCmdType ctCmd) {
    if (Site() && m_bSyncWithPane && !s_bHiding && !s_bForwardingToggle) {
        s_bHiding = true;
        Site()->HideRowsInAllGrids(nFromRow, nToRow, bHide, nullptr, flags, ctCmd);
        s_bHiding = false;
    }
    return CKXGridWnd::HideRows(nFromRow, nToRow, bHide, abHideArray, flags, ctCmd);
}

LRESULT CKXInstanceDetailsGridWnd::OnTogglePinName(WPARAM wParam, LPARAM lParam) {
    // A wide pin's bit rows come with its expand and go with its fold.
    const auto row = static_cast<ROWCOL>(lParam);
    if (wParam && !kxpingrid::NamedBitRowsOnly::Active()) WriteWidePinBitRows(row);
    else if (!wParam)
        m_fill->DropWidePinBitRows(row);
    if (!Site() || !m_bSyncWithPane) return 0;
    CWaitCursor wait;
    if (s_bToggling) return 0;
    s_bToggling = s_bForwardingToggle = true;
    Site()->RefreshCellControlsInOtherGrids(this, static_cast<int>(lParam), static_cast<int>(wParam));
    s_bToggling = s_bForwardingToggle = false;
    return 0;
}

void CKXInstanceDetailsGridWnd::OnPaint() {
    CPaintDC dc(this);
    // Kept in step with the pane, the grid scrolls under the pane's bar; no pin grid scrolls
    // sideways on its own.
    if (Site() && m_bSyncWithPane) ShowScrollBar(SB_VERT, FALSE);
    ShowScrollBar(SB_HORZ, FALSE);
}

void CKXInstanceDetailsGridWnd::OnKeyF4() {
    if (!Site()) return;
    if (CCommonInterface* pane = Site()->InstanceListPane()) pane->FocusActiveGrid();
}

void CKXInstanceDetailsGridWnd::RemoveListPaneSelection() {
    if (!Site()) return;
    if (CCommonInterface* pane = Site()->InstanceListPane()) pane->RemoveSelection();
}
