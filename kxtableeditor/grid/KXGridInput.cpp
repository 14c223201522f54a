// The common grid's mouse and keyboard rules: the keys that move the current cell (Tab's
// walk through the cells, Home, End, Page Up, Ctrl+Up), Escape, Find and Replace, and the right
// click that makes the clicked cell current before its pop-up menu acts, and the header click's sort.
#include "grid/KXGridWnd.h"

#include "grid/KXGridEdit.h"
#include "grid/KXGridKeys.h"
#include "grid/KXGridSite.h"
#include "grid/KXGridUndo.h"

#include <algorithm>

using kxgrid::CtrlDown;
using kxgrid::ShiftDown;
using kxgrid::kSmart;

// ---------------------------------------------------------------------------
// Mouse.

void CKXGridWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    // The grid kind learns first whether the press goes into a cell control,
    // so that the press itself does not drop the selection it keeps.
    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;
    HitTest(point, &row, &col);
    if (m_bCellControlClick && row != GX_INVALID && col != GX_INVALID && row <= GetRowCount() &&
        col <= GetColCount() && GetControl(row, col) && !m_bKeepSelection)
        OnCellControlClick(point, &m_bKeepSelection);
    // A Ctrl+click adds to what the user chose: with nothing selected yet, the selection starts from
    // the current cell the user made, and the cell clicked joins it.
    ROWCOL curRow = GX_INVALID, curCol = GX_INVALID;
    const CGXGridParam* param = GetParam();
    if (CtrlDown() && !ShiftDown() && IsDataRow(row) && param && param->GetRangeList()->IsEmpty() &&
        GetCurrentCell(curRow, curCol) && IsDataRow(curRow) && IsCellOfTheUser() &&
        !IsCurrentCell(row, col)) {
        CGXRange start(curRow, curCol);
        if (CanChangeSelection(&start, FALSE, FALSE)) SelectRange(start, TRUE, TRUE);
    }
    CGXGridWnd::OnLButtonDown(nFlags, point);
    m_bMouseDown = TRUE;
}

void CKXGridWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    auto isIdleDataCell = [this](ROWCOL row, ROWCOL col) {
        if (!IsDataRow(row) || col == GX_INVALID || col == 0 || row > GetRowCount() || col > GetColCount())
            return false;
        CGXControl* pControl = GetControl(row, col);
        return !pControl || !pControl->IsActive();
    };

    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;
    HitTest(point, &row, &col);
    if (isIdleDataCell(row, col)) CrossSelectInHost();

    CGXGridWnd::OnLButtonUp(nFlags, point);

    row = col = GX_INVALID;
    const int hit = HitTest(point, &row, &col);
    if (isIdleDataCell(row, col)) NotifySelectionChanged();
    if (m_nHeaderRow != GX_INVALID && row == m_nHeaderRow && col != 0 && col != GX_INVALID &&
        hit == GX_HEADERHIT && m_bMouseDown)
        SortWithUndo(static_cast<int>(col));
    m_bMouseDown = FALSE;
}

bool CKXGridWnd::s_bSortingColumns = false;
int CKXGridWnd::s_nSortStepScopes = 0;

void CKXGridWnd::SortColumnsWithUndo(int col) {
    if (s_bSortingColumns || !Site()) return;
    struct Guard {
        Guard() { s_bSortingColumns = true; }
        ~Guard() { s_bSortingColumns = false; }
    } guard;
    Site()->SortColumnsInOtherGrids(this, col, m_bSortAscending);
}

void CKXGridWnd::SortWithUndo(int col) {
    const BOOL bWasLocked = LockUpdate(TRUE);
    // Each sort is an undo step of its own: it opens a step before the sort (the journal lines of the
    // sort go with it), and closes it, so that neither the edit before it nor the sort after it joins
    // it. A sort the grid refused (it said why) takes its step back, and the click answers 0.
    auto* step = new CKXSortUndoCmd(this, m_nSortCol, m_bSortAscending);
    m_nTransState = kUndoStepOpen;
    AddCommand(step, gxDo);
    const KXShownMark mark;
    {
        const SortStepScope recorded;
        OnSortColumn(col);
    }
    if (step->GridSorted()) {
        m_nTransState = kUndoStepClose;
        AddCommand(nullptr, gxDo);
        m_nTransState = kUndoStepClose;
    } else {
        RollBackUndoStep();
        KXMenuAnswer::Report(KXEditResult::Of(FALSE, "KXPANE-231"), mark);
    }
    LockUpdate(bWasLocked);
    Redraw();
}

// A right click makes the clicked data cell current, as a left click does, before the grid kind's
// pop-up menu opens on the release: the menu then acts on the row the user clicked, not on the one
// current before. A click inside the selection keeps it, so that the menu acts on all of it.
void CKXGridWnd::OnRButtonDown(UINT nFlags, CPoint point) {
    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;
    if (HitTest(point, &row, &col) == GX_CELLHIT && IsDataRow(row) && row <= GetRowCount() &&
        IsColumnShown(col) && !IsCurrentCell(row, col) && !IsRowInSelection(row) &&
        SetCurrentCell(row, col, kSmart)) {
        CrossSelectInHost();
        NotifySelectionChanged();
    }
    CGXGridWnd::OnRButtonDown(nFlags, point);
}

bool CKXGridWnd::IsRowInSelection(ROWCOL row) {
    const CGXGridParam* param = GetParam();
    if (!param) return false;
    const CGXRangeList& selected = *param->GetRangeList();
    for (POSITION pos = selected.GetHeadPosition(); pos;) {
        const CGXRange* range = selected.GetNext(pos);
        if (range->IsTable() || (range->top <= row && row <= range->bottom)) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Keyboard.

namespace {
// Enter, Tab or Shift+Tab ended (or tried to end) the edit of `editing`, begun before the mark: an edit
// the grid kept open, or whose change the design refused (`stored`), is the key's refusal, with its cause.
void AnswerEndedCellEdit(CKXGridWnd& grid, CGXControl* editing, const std::optional<KXEditResult>& stored,
                         const KXShownMark& since) {
    if (stored && stored->GetKind() == KXEditResult::Kind::Dialog) {
        // The edit stopped at a dialog of its own that was cancelled: nothing changed, and the key answers 2.
        KXMenuAnswer::Report(*stored, since);
    } else if (grid.GetCurrentCellControl() == editing && editing->IsActive()) {
        // The grid's validation kept the edit open: it said why, or its warning does.
        const CString warning = grid.GetWarningText();
        KXMenuAnswer::Report(since.SaidSince() || warning.IsEmpty() ? KXEditResult::Of(FALSE, "KXPANE-178")
                                                                    : KXEditResult::RefusedText(warning),
                             since);
    } else if (stored && stored->IsRefusal() && since.SaidSince()) {
        // The text was stored but the design refused the change: said when it was recorded. (A retype of
        // the cell's own text is no edit, which the grid leaves unsaid.)
        KXMenuAnswer::Report(KXEditResult::Of(FALSE, stored->MessageId()), since);
    }
}
} // namespace

void CKXGridWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bKeySelectionSync) m_bKeyDown = TRUE;
    CGXGridWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CKXGridWnd::CanSelectCurrentCell(BOOL bSelect, ROWCOL dwSelectRow, ROWCOL dwSelectCol, ROWCOL dwOldRow,
                                      ROWCOL dwOldCol) {
    if (m_bKeySelectionSync && m_bKeyDown && bSelect) m_bKeySelectionChanged = TRUE;
    return CGXGridWnd::CanSelectCurrentCell(bSelect, dwSelectRow, dwSelectCol, dwOldRow, dwOldCol);
}

void CKXGridWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bKeySelectionSync) {
        if (m_bKeySelectionChanged) {
            CrossSelectInHost();
            NotifySelectionChanged();
        }
        m_bKeySelectionChanged = FALSE;
        m_bKeyDown = FALSE;
    }
    if (nChar == VK_F4) OnKeyF4();
    CGXGridWnd::OnKeyUp(nChar, nRepCnt, nFlags);
}

BOOL CKXGridWnd::ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    CGXControl* editing = nullptr;
    if (nMessage == WM_KEYDOWN && (nChar == VK_RETURN || nChar == VK_TAB)) {
        CGXControl* control = GetCurrentCellControl();
        if (control && control->IsActive()) editing = control, m_cellEdit.reset();
    }
    const KXShownMark mark;
    const BOOL bResult = CGXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
    if (editing) AnswerEndedCellEdit(*this, editing, m_cellEdit, mark);
    if (nMessage != WM_KEYDOWN && nMessage != WM_KEYUP) return bResult;
    if (nChar == VK_TAB && nMessage == WM_KEYDOWN) return TRUE;
    if (nChar == VK_ESCAPE && nMessage == WM_KEYUP) {
        TransferCurrentCell(FALSE, kSmart, TRUE);
        return TRUE;
    }
    // The dialog opens once, on the press; the release of the same keys does nothing more.
    if (CtrlDown() && (nChar == 'F' || nChar == 'H')) {
        if (nMessage == WM_KEYDOWN) ShowFindReplace(nChar == 'F' ? TRUE : FALSE);
        return TRUE;
    }
    return bResult;
}

BOOL CKXGridWnd::OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const bool ctrl = CtrlDown();
    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;

    // After a move to the top the current cell belongs on the first data row,
    // never on a header row.
    auto ontoDataRows = [this]() {
        ROWCOL r = GX_INVALID;
        ROWCOL c = GX_INVALID;
        if (!GetCurrentCell(r, c) || IsDataRow(r)) return;
        const ROWCOL steps = DataRowStart() - r;
        MoveCurrentCell(GX_DOWN, steps, TRUE);
    };

    // In a cell being edited Home and End belong to the edit: they move the caret, commit nothing and
    // leave the current cell where it is, at the edge of the text too.
    if ((nChar == VK_HOME || nChar == VK_END) && !ctrl) {
        CGXControl* control = GetCurrentCellControl();
        if (control && control->IsActive()) {
            control->KeyPressed(WM_KEYDOWN, nChar, nRepCnt, nFlags);
            return TRUE;
        }
    }

    switch (nChar) {
    case VK_TAB:
        MoveToNextCell();
        return TRUE;
    case VK_PRIOR:
        MoveCurrentCell(GX_PGUP, 1, TRUE);
        ontoDataRows();
        return TRUE;
    case VK_END:
        MoveCurrentCell(ctrl ? GX_BOTTOMRIGHT : GX_MOSTRIGHT, 1, TRUE);
        return TRUE;
    case VK_HOME:
        if (ctrl) {
            MoveCurrentCell(GX_TOPLEFT, 1, TRUE);
            ontoDataRows();
        } else {
            MoveCurrentCell(GX_MOSTLEFT, 1, TRUE);
        }
        return TRUE;
    case VK_UP:
        if (ctrl) {
            MoveCurrentCell(GX_TOP, 1, TRUE);
            ontoDataRows();
            return TRUE;
        }
        break;
    default:
        break;
    }

    const BOOL bResult = CGXGridWnd::OnGridKeyDown(nChar, nRepCnt, nFlags);
    if (nChar == VK_UP && ShiftDown() && GetCurrentCell(row, col) && !IsDataRow(row))
        CGXGridWnd::SetSelection(nullptr);
    return bResult;
}

void CKXGridWnd::SetMoveDirection(CString direction) {
    WORD action = 0;
    if (direction.CompareNoCase("UP") == 0)
        action = GX_UP;
    else if (direction.CompareNoCase("LEFT") == 0)
        action = GX_LEFT;
    else if (direction.CompareNoCase("RIGHT") == 0)
        action = GX_RIGHT;
    else if (direction.CompareNoCase("DOWN") == 0 || direction.IsEmpty())
        action = GX_DOWN;
    if (action != 0 && GetParam()) GetParam()->SetEnterKeyAction(action);
}

// The cell Tab goes to: the next shown cell of the row when it is enabled, else the first shown data
// cell of the next shown row, wrapping from the last row to the first; Shift+Tab the other way, to the
// last shown cell of the row above, wrapping from the first data cell to the grid's last cell.
std::pair<ROWCOL, ROWCOL> CKXGridWnd::TabTarget(ROWCOL row, ROWCOL col, bool backward) {
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    const ROWCOL firstCol = ShownColumnFor(m_nFirstDataCol), lastCol = GetLastVisibleColumn();
    const ROWCOL firstRow = NextVisibleRow(DataRowStart() - 1, 1, DataRowStart(), rows);
    const ROWCOL lastRow = NextVisibleRow(rows + 1, -1, DataRowStart(), rows);
    if (firstRow == GX_INVALID || firstCol == 0) return {GX_INVALID, GX_INVALID};
    if (row == GX_INVALID) return {firstRow, firstCol};
    if (!backward) {
        const ROWCOL next = NextVisibleCol(col, 1, firstCol, cols);
        if (next != GX_INVALID) {
            CGXStyle style;
            ComposeStyleRowCol(row, next, &style);
            if (!style.GetIncludeEnabled() || style.GetEnabled()) return {row, next};
        }
        const ROWCOL below = NextVisibleRow(std::max(row, DataRowStart() - 1), 1, DataRowStart(), rows);
        return {below != GX_INVALID ? below : firstRow, firstCol};
    }
    if (IsDataRow(row)) {
        const ROWCOL left = col > firstCol ? NextVisibleCol(col, -1, firstCol, cols) : GX_INVALID;
        if (left != GX_INVALID) return {row, left};
        const ROWCOL above = NextVisibleRow(row, -1, DataRowStart(), rows);
        if (above != GX_INVALID) return {above, lastCol};
    }
    return {lastRow, lastCol};
}

void CKXGridWnd::MoveToNextCell() {
    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;
    if (!GetCurrentCell(row, col)) row = col = GX_INVALID;
    const auto [toRow, toCol] = TabTarget(row, col, ShiftDown());
    if (toRow == GX_INVALID || (toRow == row && toCol == col)) return;
    const BOOL bWasLocked = LockUpdate(TRUE);
    // The move stores a cell being edited first, as any move of the current cell does; Shift
    // belongs to the key here and extends no selection.
    SetCurrentCell(toRow, toCol, GX_SCROLLINVIEW | GX_UPDATENOW);
    LockUpdate(bWasLocked);
    Redraw();
}
