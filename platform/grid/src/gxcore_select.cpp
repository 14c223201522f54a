// Grid core: current cell, editing and selection.
#include "grid/gxcore.h"

#include "grid/gxrecordinfo.h"

#include <algorithm>
#include <set>

BOOL CGXGridCore::IsCtrlKeyDown() const { return GetKeyState(VK_CONTROL) < 0; }
BOOL CGXGridCore::IsShiftKeyDown() const { return GetKeyState(VK_SHIFT) < 0; }
BOOL CGXGridCore::IsAltKeyDown() const { return GetKeyState(VK_MENU) < 0; }

void CGXGridCore::NotifyRecordInfo()
{
    if (CGXAbstractRecordInfoWndInterface* p = GXGetRecordInfoWndInterface())
        p->UpdateRecordInfo(this);
}

// ---------------------------------------------------------------- current cell
BOOL CGXGridCore::GetCurrentCell(ROWCOL& nRow, ROWCOL& nCol) const
{
    nRow = m_nCurrentRow;
    nCol = m_nCurrentCol;
    return m_nCurrentRow != GX_INVALID && m_nCurrentCol != GX_INVALID;
}

BOOL CGXGridCore::GetCurrentCell(ROWCOL* pRow, ROWCOL* pCol) const
{
    if (pRow)
        *pRow = m_nCurrentRow;
    if (pCol)
        *pCol = m_nCurrentCol;
    return m_nCurrentRow != GX_INVALID && m_nCurrentCol != GX_INVALID;
}

BOOL CGXGridCore::IsCurrentCell(ROWCOL nRow, ROWCOL nCol) const
{
    if (m_nCurrentRow == GX_INVALID)
        return FALSE;
    return (nRow == GX_INVALID || nRow == m_nCurrentRow) && (nCol == GX_INVALID || nCol == m_nCurrentCol);
}

BOOL CGXGridCore::SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags)
{
    if (!m_pParam)
        return FALSE;
    const bool remove = nRow == GX_INVALID || nCol == GX_INVALID;
    if (!remove) {
        if (nRow > GetRowCount() || nCol > GetColCount() || IsRowHidden(nRow) || IsColHidden(nCol))
            return FALSE;
        CGXRange cov;
        if (GetCoveredCellsRowCol(nRow, nCol, cov)) {
            nRow = cov.top;
            nCol = cov.left;
        }
    }
    const ROWCOL oldRow = m_nCurrentRow, oldCol = m_nCurrentCol;
    if (!remove && nRow == oldRow && nCol == oldCol) {
        if (flags & GX_SCROLLINVIEW)
            ScrollCellInView(nRow, nCol, flags);
        return TRUE;
    }
    if (remove && oldRow == GX_INVALID)
        return TRUE;
    if (oldRow != GX_INVALID) {
        // An edit in progress is stored first; a refused validation keeps the current cell.
        if (!TransferCurrentCell(TRUE, flags))
            return FALSE;
        if (!OnLeftCell(oldRow, oldCol, remove ? GX_INVALID : nRow, remove ? GX_INVALID : nCol))
            return FALSE;
    }
    if (!remove && !CanSelectCurrentCell(TRUE, nRow, nCol, oldRow, oldCol))
        return FALSE;
    if (m_pCurrentControl)
        m_pCurrentControl->Deinit();
    m_pCurrentControl = nullptr;
    if (remove) {
        m_nCurrentRow = m_nCurrentCol = GX_INVALID;
        MarkRedraw(flags);
        NotifyRecordInfo();
        return TRUE;
    }
    m_nCurrentRow = nRow;
    m_nCurrentCol = nCol;
    GetCurrentCellControl();
    if (flags & GX_SCROLLINVIEW)
        ScrollCellInView(nRow, nCol, flags);
    OnMovedCurrentCell(nRow, nCol);
    MarkRedraw(flags);
    NotifyRecordInfo();
    return TRUE;
}

BOOL CGXGridCore::CanSelectCurrentCell(BOOL, ROWCOL, ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
void CGXGridCore::OnMovedCurrentCell(ROWCOL, ROWCOL) {}
BOOL CGXGridCore::OnLeftCell(ROWCOL, ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridCore::OnStartEditing(ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridCore::OnEndEditing(ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridCore::OnValidateCell(ROWCOL, ROWCOL) { return TRUE; }
void CGXGridCore::OnCanceledEditing(ROWCOL, ROWCOL) {}

BOOL CGXGridCore::TransferCurrentCell(BOOL bSaveAndValidate, UINT flags, BOOL)
{
    if (m_nCurrentRow == GX_INVALID || m_bInTransfer)
        return TRUE;
    CGXControl* ctrl = m_pCurrentControl;
    if (!ctrl)
        return TRUE;
    struct Guard {
        BOOL& b;
        explicit Guard(BOOL& x) : b(x) { b = TRUE; }
        ~Guard() { b = FALSE; }
    } guard(m_bInTransfer);
    const ROWCOL row = m_nCurrentRow, col = m_nCurrentCol;
    if (!bSaveAndValidate) {
        const BOOL wasActive = ctrl->IsActive();
        ctrl->SetModify(FALSE);
        ctrl->SetActive(FALSE);
        ctrl->Reset();
        if (wasActive)
            OnCanceledEditing(row, col);
        MarkRedraw(flags);
        return TRUE;
    }
    if (!ctrl->IsActive() && !ctrl->GetModify())
        return TRUE;
    if (ctrl->GetModify()) {
        if (!ctrl->OnValidate())
            return FALSE; // the edit stays active in the cell
        if (!ctrl->Store())
            return FALSE;
        ctrl->SetModify(FALSE);
    }
    const BOOL wasActive = ctrl->IsActive();
    ctrl->SetActive(FALSE);
    if (wasActive)
        OnEndEditing(row, col);
    // The stored value may have been changed by the grid: show what is there now.
    if (m_pCurrentControl == ctrl && ctrl->IsInit(row, col))
        ctrl->Reset();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::OnDeleteCell(ROWCOL nRow, ROWCOL nCol)
{
    CGXRangeList list;
    if (!CopyRangeList(list, TRUE)) {
        if (nRow == GX_INVALID)
            return FALSE;
        list.AddTail(CGXRange(nRow, nCol));
    }
    BOOL any = FALSE;
    BeginTrans("Delete");
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange r = list.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        if (!r.IsValid())
            continue;
        for (ROWCOL row = r.top; row <= r.bottom; ++row)
            for (ROWCOL col = r.left; col <= r.right; ++col)
                if (!IsCellReadOnly(row, col) && SetValueRange(CGXRange(row, col), ""))
                    any = TRUE;
    }
    CommitTrans();
    return any;
}

// Next shown row from nRow in steps of +1/-1 within [nMin, nMax]; GX_INVALID when there is none.
ROWCOL CGXGridCore::NextVisibleRow(ROWCOL nRow, int step, ROWCOL nMin, ROWCOL nMax)
{
    long long r = static_cast<long long>(nRow) + step;
    for (; r >= nMin && r <= nMax; r += step)
        if (!IsRowHidden(static_cast<ROWCOL>(r)))
            return static_cast<ROWCOL>(r);
    return GX_INVALID;
}

// Next column the user sees: neither hidden nor drawn with no width.
ROWCOL CGXGridCore::NextVisibleCol(ROWCOL nCol, int step, ROWCOL nMin, ROWCOL nMax)
{
    long long c = static_cast<long long>(nCol) + step;
    for (; c >= nMin && c <= nMax; c += step) {
        const auto col = static_cast<ROWCOL>(c);
        if (!IsColHidden(col) && GetColWidth(col) > 0)
            return col;
    }
    return GX_INVALID;
}

namespace {
// n steps (at least one) along the visible indexes of one axis from `from`; next(index, step) is the
// visible index after one in the direction of step, GX_INVALID past the end, where the steps stop.
template <class Next>
ROWCOL StepVisible(ROWCOL from, int step, UINT n, Next next)
{
    for (UINT i = 0; i < std::max<UINT>(n, 1); ++i) {
        const ROWCOL to = next(from, step);
        if (to == GX_INVALID)
            break;
        from = to;
    }
    return from;
}
} // namespace

BOOL CGXGridCore::MoveCurrentCell(int direction, UINT nCell, BOOL bCanSelectRange)
{
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    const ROWCOL minRow = FirstMovableRow(), minCol = FirstMovableCol();
    if (rows < minRow || cols < minCol)
        return FALSE;
    ROWCOL row = m_nCurrentRow, col = m_nCurrentCol;
    const ROWCOL firstRow = NextVisibleRow(minRow - 1, 1, minRow, rows);
    const ROWCOL lastRow = NextVisibleRow(rows + 1, -1, minRow, rows);
    const ROWCOL firstCol = NextVisibleCol(minCol - 1, 1, minCol, cols);
    const ROWCOL lastCol = NextVisibleCol(cols + 1, -1, minCol, cols);
    if (firstRow == GX_INVALID || firstCol == GX_INVALID)
        return FALSE;
    if (row == GX_INVALID) {
        row = firstRow;
        col = firstCol;
    } else {
        // A covered current cell moves from the covered range's far side.
        CGXRange cov;
        const bool covered = GetCoveredCellsRowCol(row, col, cov) != nullptr;
        if (row < minRow)
            row = minRow - 1;
        if (col < minCol)
            col = minCol - 1;
        auto stepRows = [&](int step, UINT n) {
            return StepVisible(covered && step > 0 ? cov.bottom : row, step, n,
                               [&](ROWCOL r, int s) { return NextVisibleRow(r, s, minRow, rows); });
        };
        auto stepCols = [&](int step, UINT n) {
            return StepVisible(covered && step > 0 ? cov.right : col, step, n,
                               [&](ROWCOL c, int s) { return NextVisibleCol(c, s, minCol, cols); });
        };
        UINT page = 1;
        if (direction == GX_PGUP || direction == GX_PGDOWN) {
            ROWCOL last = GetLastVisibleRow();
            page = last > m_nTopRow ? last - m_nTopRow : 1;
        }
        switch (direction) {
        case GX_UP: row = stepRows(-1, nCell); break;
        case GX_DOWN: row = stepRows(1, nCell); break;
        case GX_LEFT: col = stepCols(-1, nCell); break;
        case GX_RIGHT: col = stepCols(1, nCell); break;
        case GX_PGUP: row = stepRows(-1, page * std::max<UINT>(nCell, 1)); break;
        case GX_PGDOWN: row = stepRows(1, page * std::max<UINT>(nCell, 1)); break;
        case GX_TOP: row = firstRow; break;
        case GX_BOTTOM: row = lastRow; break;
        case GX_MOSTLEFT: col = firstCol; break;
        case GX_MOSTRIGHT: col = lastCol; break;
        case GX_TOPLEFT: row = firstRow; col = firstCol; break;
        case GX_BOTTOMRIGHT: row = lastRow; col = lastCol; break;
        default: return FALSE;
        }
        if (row < minRow)
            row = firstRow;
        if (col < minCol)
            col = firstCol;
    }
    return MoveCurrentCellTo(row, col, bCanSelectRange);
}

// The current cell moved by a key to (row, col): with Shift (when a range may be selected) the selection
// spans from the anchor to it, otherwise it is the new anchor.
BOOL CGXGridCore::MoveCurrentCellTo(ROWCOL row, ROWCOL col, BOOL bCanSelectRange)
{
    if (row == m_nCurrentRow && col == m_nCurrentCol)
        return FALSE;
    const bool extend = bCanSelectRange && IsShiftKeyDown() && m_pParam->IsEnableSelection(GX_SELKEYBOARD) &&
                        m_nCurrentRow != GX_INVALID;
    ROWCOL anchorRow = m_nAnchorRow, anchorCol = m_nAnchorCol;
    if (extend && anchorRow == GX_INVALID) {
        anchorRow = m_nCurrentRow;
        anchorCol = m_nCurrentCol;
    }
    if (!SetCurrentCell(row, col, GX_SCROLLINVIEW | GX_UPDATENOW))
        return FALSE;
    if (extend) {
        // Shift+arrow: the selection spans from the anchor to the new current cell.
        CGXRange range(anchorRow, anchorCol, m_nCurrentRow, m_nCurrentCol);
        ChangeSelRange(range, FALSE, TRUE);
        m_nAnchorRow = anchorRow;
        m_nAnchorCol = anchorCol;
    } else {
        m_nAnchorRow = m_nCurrentRow;
        m_nAnchorCol = m_nCurrentCol;
        m_bHasSelRange = FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------- selection
BOOL CGXGridCore::SelectRange(const CGXRange& range, BOOL bSelect, BOOL bUpdate)
{
    if (!m_pParam || !range.IsValid())
        return FALSE;
    CGXRangeList* sel = m_pParam->GetRangeList();
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    m_bHasSelRange = FALSE;
    if (!bSelect) {
        sel->Subtract(range, rows, cols);
        // Whole-row/column ranges that were cut became cell ranges; drop what lies outside the grid.
    } else {
        CGXRange r = range;
        if (r.IsRows()) {
            if (r.top > rows)
                return FALSE;
            r.bottom = std::min(r.bottom, rows);
        } else if (r.IsCols()) {
            if (r.left > cols)
                return FALSE;
            r.right = std::min(r.right, cols);
        } else if (r.IsCells()) {
            if (r.top > rows || r.left > cols)
                return FALSE;
            r.bottom = std::min(r.bottom, rows);
            r.right = std::min(r.right, cols);
        }
        if (!sel->FindRange(r))
            sel->AddTail(r);
    }
    if (bUpdate)
        UpdateSelectRange(range);
    return TRUE;
}

void CGXGridCore::SetSelection(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    if (!m_pParam)
        return;
    CGXRangeList* sel = m_pParam->GetRangeList();
    if (!pos) {
        if (!sel->IsEmpty()) {
            sel->DeleteAll();
            MarkRedraw(GX_INVALIDATE);
        }
        m_bHasSelRange = FALSE;
        return;
    }
    if (nTop == 0 && nLeft == 0 && nBottom == 0 && nRight == 0) {
        if (sel->HasPosition(pos))
            sel->RemoveAt(pos);
    } else if (sel->HasPosition(pos)) {
        // The range keeps its kind (cells, whole rows, whole columns); the bounds are taken as given.
        CGXRange* r = sel->GetAt(pos);
        r->top = std::min(nTop, nBottom);
        r->bottom = std::max(nTop, nBottom);
        r->left = std::min(nLeft, nRight);
        r->right = std::max(nLeft, nRight);
    }
    MarkRedraw(GX_INVALIDATE);
}

// The range a drag or Shift+arrow is growing is found by its value, so that changes others make to
// the list in between never leave a stale position behind.
BOOL CGXGridCore::ChangeSelRange(CGXRange& range, BOOL bIsDragging, BOOL bKey)
{
    if (!CanChangeSelection(&range, bIsDragging, bKey))
        return FALSE;
    ReplaceOrAddSelRange(range);
    OnChangedSelection(&range, bIsDragging, bKey);
    UpdateSelectRange(range);
    return TRUE;
}

// A range of its own in the selection (not the one a drag is growing), reported as a change.
void CGXGridCore::AddNewSelRange(const CGXRange& range)
{
    m_bHasSelRange = FALSE;
    ReplaceOrAddSelRange(range);
    OnChangedSelection(&range, FALSE, FALSE);
    UpdateSelectRange(range);
}

void CGXGridCore::ReplaceOrAddSelRange(const CGXRange& range)
{
    CGXRangeList* sel = m_pParam->GetRangeList();
    POSITION pos = m_bHasSelRange ? sel->FindRange(m_selRange) : nullptr;
    if (!pos)
        pos = sel->AddTail(range);
    // Every store goes through SetSelection, so that grids can adjust the bounds.
    SetSelection(pos, range.top, range.left, range.bottom, range.right);
    if (sel->HasPosition(pos)) {
        m_selRange = *sel->GetAt(pos);
        m_bHasSelRange = TRUE;
    } else {
        m_bHasSelRange = FALSE;
    }
}

BOOL CGXGridCore::CanChangeSelection(CGXRange*, BOOL, BOOL) { return TRUE; }
void CGXGridCore::OnChangedSelection(const CGXRange*, BOOL, BOOL) {}
BOOL CGXGridCore::OnStartSelection(ROWCOL, ROWCOL, UINT, CPoint) { return TRUE; }

void CGXGridCore::UpdateSelectRange(const CGXRange& range, const CGXRangeList*, BOOL) { RedrawRowCol(range, GX_INVALIDATE); }

BOOL CGXGridCore::IsCellSelected(ROWCOL nRow, ROWCOL nCol) const
{
    return m_pParam && m_pParam->GetRangeList()->IsCellInList(nRow, nCol);
}

ROWCOL CGXGridCore::GetSelectedRows(CRowColArray& awRows, BOOL bRangeRowsOnly, BOOL bCanUseCurrentCell)
{
    awRows.RemoveAll();
    if (!m_pParam)
        return 0;
    const ROWCOL rows = GetRowCount();
    std::set<ROWCOL> set;
    const CGXRangeList* sel = m_pParam->GetRangeList();
    for (POSITION pos = sel->GetHeadPosition(); pos;) {
        const CGXRange* r = sel->GetNext(pos);
        if (!r->IsValid() || r->IsCols())
            continue;
        if (bRangeRowsOnly && !r->IsRows() && !r->IsTable())
            continue;
        const ROWCOL top = r->IsTable() ? 1 : r->top;
        for (ROWCOL row = top; row <= std::min(r->bottom, rows); ++row)
            set.insert(row);
    }
    if (set.empty() && bCanUseCurrentCell && m_nCurrentRow != GX_INVALID && m_nCurrentRow <= rows)
        set.insert(m_nCurrentRow);
    for (ROWCOL r : set)
        awRows.Add(r);
    return static_cast<ROWCOL>(awRows.GetSize());
}

BOOL CGXGridCore::GetSelectedRows(CRowColArray& awRowStart, CRowColArray& awRowEnd, BOOL bRangeRowsOnly,
                                  BOOL bCanUseCurrentCell)
{
    CRowColArray rows;
    GetSelectedRows(rows, bRangeRowsOnly, bCanUseCurrentCell);
    awRowStart.RemoveAll();
    awRowEnd.RemoveAll();
    for (int i = 0; i < rows.GetSize(); ++i) {
        if (awRowEnd.GetSize() > 0 && awRowEnd[awRowEnd.GetSize() - 1] + 1 == rows[i])
            awRowEnd[awRowEnd.GetSize() - 1] = rows[i];
        else {
            awRowStart.Add(rows[i]);
            awRowEnd.Add(rows[i]);
        }
    }
    return awRowStart.GetSize() > 0;
}

ROWCOL CGXGridCore::GetSelectedCols(CRowColArray& awCols, BOOL bRangeColsOnly, BOOL bCanUseCurrentCell)
{
    awCols.RemoveAll();
    if (!m_pParam)
        return 0;
    const ROWCOL cols = GetColCount();
    std::set<ROWCOL> set;
    const CGXRangeList* sel = m_pParam->GetRangeList();
    for (POSITION pos = sel->GetHeadPosition(); pos;) {
        const CGXRange* r = sel->GetNext(pos);
        if (!r->IsValid() || r->IsRows())
            continue;
        if (bRangeColsOnly && !r->IsCols() && !r->IsTable())
            continue;
        const ROWCOL left = r->IsTable() ? 1 : r->left;
        for (ROWCOL col = left; col <= std::min(r->right, cols); ++col)
            set.insert(col);
    }
    if (set.empty() && bCanUseCurrentCell && m_nCurrentCol != GX_INVALID && m_nCurrentCol <= cols)
        set.insert(m_nCurrentCol);
    for (ROWCOL c : set)
        awCols.Add(c);
    return static_cast<ROWCOL>(awCols.GetSize());
}

BOOL CGXGridCore::CopyRangeList(CGXRangeList& list, BOOL bCanUseCurrentCell)
{
    list.DeleteAll();
    if (!m_pParam)
        return FALSE;
    list = *m_pParam->GetRangeList();
    if (list.IsEmpty() && bCanUseCurrentCell && m_nCurrentRow != GX_INVALID)
        list.AddTail(CGXRange(m_nCurrentRow, m_nCurrentCol));
    return !list.IsEmpty();
}
