// Grid core: rows and columns, sizes, covered and frozen cells, scrolling and geometry.
#include "grid/gxcore.h"

#include "gxcmds.h"
#include "gxmove.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>

ROWCOL CGXGridCore::GetRowCount() { return GetData() ? GetData()->GetRowCount() : 0; }
ROWCOL CGXGridCore::GetColCount() { return GetData() ? GetData()->GetColCount() : 0; }

// Keeps frozen rows, top row and the current cell inside the counts.
void CGXGridCore::ClampState()
{
    const ROWCOL rows = GetData() ? GetData()->GetRowCount() : 0;
    const ROWCOL cols = GetData() ? GetData()->GetColCount() : 0;
    m_nFrozenRows = std::min(m_nFrozenRows, rows);
    m_nHeaderRows = std::min(m_nHeaderRows, m_nFrozenRows);
    m_nFrozenCols = std::min(m_nFrozenCols, cols);
    m_nHeaderCols = std::min(m_nHeaderCols, m_nFrozenCols);
    m_nTopRow = std::clamp<ROWCOL>(m_nTopRow, m_nFrozenRows + 1, std::max(rows, m_nFrozenRows + 1));
    m_nLeftCol = std::clamp<ROWCOL>(m_nLeftCol, m_nFrozenCols + 1, std::max(cols, m_nFrozenCols + 1));
    if (m_nCurrentRow != GX_INVALID && (m_nCurrentRow > rows || m_nCurrentCol > cols)) {
        ClearEditState();
        m_nCurrentRow = m_nCurrentCol = GX_INVALID;
    }
    // A current cell that a covered range swallowed moves to the range's first cell (an edit in
    // progress there is dropped: its cell is no longer shown on its own).
    CGXRange cov;
    if (m_nCurrentRow != GX_INVALID && GetCoveredCellsRowCol(m_nCurrentRow, m_nCurrentCol, cov) &&
        (cov.top != m_nCurrentRow || cov.left != m_nCurrentCol)) {
        ClearEditState();
        m_nCurrentRow = cov.top;
        m_nCurrentCol = cov.left;
    }
}

// Applies a row renumbering to the current cell, the selection and the covered cells.
// map returns the new row of an old row, or GX_INVALID when the row is gone.
void CGXGridCore::RemapRows(const std::function<ROWCOL(ROWCOL)>& map, ROWCOL nFirst, ROWCOL)
{
    auto remapList = [&](CGXRangeList* list, bool dropSingle) {
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            POSITION cur = pos;
            CGXRange* r = list->GetNext(pos);
            if (r->IsCols() || r->IsTable())
                continue;
            if (r->bottom < nFirst)
                continue;
            // Rows that survive, in their new numbering; the range keeps them only while contiguous.
            ROWCOL lo = GX_INVALID, hi = 0, kept = 0;
            for (ROWCOL row = r->top; row <= r->bottom; ++row) {
                ROWCOL m = row < nFirst ? row : map(row);
                if (m != GX_INVALID) {
                    lo = std::min(lo, m);
                    hi = std::max(hi, m);
                    ++kept;
                }
                if (row == GX_MAXROWCOL)
                    break;
            }
            if (kept == 0 || hi - lo + 1 != kept) {
                list->RemoveAt(cur);
                continue;
            }
            r->top = lo;
            r->bottom = hi;
            if (dropSingle && r->top == r->bottom && r->left == r->right)
                list->RemoveAt(cur);
        }
    };
    remapList(m_pParam->GetRangeList(), false);
    remapList(m_pParam->GetCoveredCellsList(), true);
    if (m_nCurrentRow != GX_INVALID && m_nCurrentRow >= nFirst) {
        ROWCOL m = map(m_nCurrentRow);
        if (m == GX_INVALID) {
            ClearEditState();
            m_nCurrentRow = m_nCurrentCol = GX_INVALID;
        } else if (m != m_nCurrentRow) {
            m_nCurrentRow = m;
            if (m_pCurrentControl && m_pCurrentControl->IsInit()) {
                // The control follows its cell without losing an edit in progress.
                BOOL active = m_pCurrentControl->IsActive();
                if (!active)
                    m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol);
                else
                    m_pCurrentControl->Deinit(), m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol),
                        m_pCurrentControl->SetActive(TRUE);
            }
        }
    }
    m_nAnchorRow = m_nAnchorCol = GX_INVALID;
}

BOOL CGXGridCore::SetRowCount(ROWCOL nRows, UINT flags)
{
    CGXData* data = GetData();
    if (!data || nRows > GX_MAXCOUNT)
        return FALSE;
    const ROWCOL old = data->GetRowCount();
    // With undo recording on, a new count is an insertion or removal of rows that can be undone.
    if (RecordWanted(gxDo) && nRows != old)
        return nRows < old ? RemoveRows(nRows + 1, old, flags, gxDo) : InsertRows(old + 1, nRows - old, flags, gxDo);
    if (nRows < old)
        RemapRows([&](ROWCOL r) { return r > nRows ? GX_INVALID : r; }, nRows + 1, old);
    data->SetRowCount(nRows);
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SetColCount(ROWCOL nCols, UINT flags)
{
    CGXData* data = GetData();
    if (!data || nCols > GX_MAXCOUNT)
        return FALSE;
    const ROWCOL old = data->GetColCount();
    if (RecordWanted(gxDo) && nCols != old)
        return nCols < old ? RemoveCols(nCols + 1, old, flags, gxDo) : InsertCols(old + 1, nCols - old, flags, gxDo);
    if (nCols < old)
        AdjustAfterColsRemoved(nCols + 1, old);
    data->SetColCount(nCols);
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::InsertRows(ROWCOL nRow, ROWCOL nCount, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || !data->InsertRows(nRow, nCount))
        return FALSE;
    AdjustAfterRowsInserted(nRow, nCount);
    if (RecordWanted(ctCmd))
        AddCommand(new CGXInsertCmd(true, nRow, nCount), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

void CGXGridCore::AdjustAfterRowsInserted(ROWCOL nRow, ROWCOL nCount)
{
    auto shift = [&](CGXRangeList* list) {
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            CGXRange* r = list->GetNext(pos);
            if (r->IsCols() || r->IsTable())
                continue;
            if (r->top >= nRow) {
                r->top += nCount;
                r->bottom += nCount;
            } else if (r->bottom >= nRow) {
                r->bottom += nCount; // rows inserted inside the range widen it
            }
        }
    };
    shift(m_pParam->GetRangeList());
    shift(m_pParam->GetCoveredCellsList());
    if (m_nCurrentRow != GX_INVALID && m_nCurrentRow >= nRow) {
        m_nCurrentRow += nCount;
        if (m_pCurrentControl && m_pCurrentControl->IsInit()) {
            BOOL active = m_pCurrentControl->IsActive();
            m_pCurrentControl->Deinit();
            m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol);
            if (active)
                m_pCurrentControl->SetActive(TRUE);
        }
    }
    if (m_nAnchorRow != GX_INVALID && m_nAnchorRow >= nRow)
        m_nAnchorRow += nCount;
    ClampState();
}

BOOL CGXGridCore::RemoveRows(ROWCOL nFromRow, ROWCOL nToRow, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromRow == 0 || nFromRow > nToRow || nToRow > data->GetRowCount())
        return FALSE;
    AdjustAfterRowsRemoved(nFromRow, nToRow);
    if (RecordWanted(ctCmd)) {
        auto rows = data->ExtractRows(nFromRow, nToRow);
        AddCommand(new CGXRemoveRowsCmd(nFromRow, std::move(rows)), ctCmd);
    } else {
        data->RemoveRows(nFromRow, nToRow);
    }
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

void CGXGridCore::AdjustAfterRowsRemoved(ROWCOL nFrom, ROWCOL nTo)
{
    const ROWCOL n = nTo - nFrom + 1;
    const ROWCOL rows = GetRowCount();
    RemapRows([&](ROWCOL r) { return r < nFrom ? r : r > nTo ? r - n : GX_INVALID; }, nFrom, rows);
    if (m_nFrozenRows >= nFrom) {
        const ROWCOL gone = std::min(nTo, m_nFrozenRows) - nFrom + 1;
        m_nFrozenRows -= gone;
        m_nHeaderRows = std::min(m_nHeaderRows, m_nFrozenRows);
    }
    if (m_nTopRow > nTo)
        m_nTopRow -= n;
    else if (m_nTopRow >= nFrom)
        m_nTopRow = nFrom;
}

std::vector<std::unique_ptr<CGXData::RowRecord>> CGXGridCore::CopyRows(ROWCOL nFromRow, ROWCOL nToRow) const
{
    const CGXData* data = GetData();
    return data ? data->CopyRows(nFromRow, nToRow) : std::vector<std::unique_ptr<CGXData::RowRecord>>();
}

BOOL CGXGridCore::PutBackRows(ROWCOL nFromRow, std::vector<std::unique_ptr<CGXData::RowRecord>>& rows, UINT flags,
                              GXCmdType ctCmd)
{
    const ROWCOL count = GetRowCount();
    if (!GetData() || nFromRow == 0 || nFromRow > count + 1)
        return FALSE;
    if (nFromRow <= count && !RemoveRows(nFromRow, count, flags, ctCmd))
        return FALSE;
    return rows.empty() || RestoreRemovedRows(nFromRow, rows, ctCmd);
}

BOOL CGXGridCore::RestoreRemovedRows(ROWCOL nRow, std::vector<std::unique_ptr<CGXData::RowRecord>>& rows, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    const ROWCOL n = static_cast<ROWCOL>(rows.size());
    if (!data || n == 0 || !data->RestoreRows(nRow, rows))
        return FALSE;
    AdjustAfterRowsInserted(nRow, n);
    if (RecordWanted(ctCmd))
        AddCommand(new CGXInsertCmd(true, nRow, n), ctCmd);
    MarkRedraw(GX_INVALIDATE);
    return TRUE;
}

BOOL CGXGridCore::InsertCols(ROWCOL nCol, ROWCOL nCount, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || !data->InsertCols(nCol, nCount))
        return FALSE;
    AdjustAfterColsInserted(nCol, nCount);
    if (RecordWanted(ctCmd))
        AddCommand(new CGXInsertCmd(false, nCol, nCount), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

static void ShiftCols(CGXRangeList* list, ROWCOL nCol, ROWCOL nCount)
{
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        CGXRange* r = list->GetNext(pos);
        if (r->IsRows() || r->IsTable())
            continue;
        if (r->left >= nCol) {
            r->left += nCount;
            r->right += nCount;
        } else if (r->right >= nCol) {
            r->right += nCount;
        }
    }
}

void CGXGridCore::AdjustAfterColsInserted(ROWCOL nCol, ROWCOL nCount)
{
    ShiftCols(m_pParam->GetRangeList(), nCol, nCount);
    ShiftCols(m_pParam->GetCoveredCellsList(), nCol, nCount);
    if (m_nCurrentCol != GX_INVALID && m_nCurrentCol >= nCol) {
        m_nCurrentCol += nCount;
        if (m_pCurrentControl && m_pCurrentControl->IsInit()) {
            BOOL active = m_pCurrentControl->IsActive();
            m_pCurrentControl->Deinit();
            m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol);
            if (active)
                m_pCurrentControl->SetActive(TRUE);
        }
    }
    if (m_nAnchorCol != GX_INVALID && m_nAnchorCol >= nCol)
        m_nAnchorCol += nCount;
    ClampState();
}

// Column removal renumbers ranges the same way row removal does.
void CGXGridCore::AdjustAfterColsRemoved(ROWCOL nFrom, ROWCOL nTo)
{
    const ROWCOL n = nTo - nFrom + 1;
    auto remap = [&](CGXRangeList* list, bool dropSingle) {
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            POSITION cur = pos;
            CGXRange* r = list->GetNext(pos);
            if (r->IsRows() || r->IsTable() || r->right < nFrom)
                continue;
            ROWCOL left = r->left < nFrom ? r->left : r->left > nTo ? r->left - n : nFrom;
            ROWCOL right = r->right < nFrom ? r->right : r->right > nTo ? r->right - n : nFrom - 1;
            if (r->right == GX_MAXROWCOL)
                right = GX_MAXROWCOL;
            if (left > right || right == GX_INVALID) {
                list->RemoveAt(cur);
                continue;
            }
            r->left = left;
            r->right = right;
            if (dropSingle && r->top == r->bottom && r->left == r->right)
                list->RemoveAt(cur);
        }
    };
    remap(m_pParam->GetRangeList(), false);
    remap(m_pParam->GetCoveredCellsList(), true);
    if (m_nCurrentCol != GX_INVALID && m_nCurrentCol >= nFrom) {
        if (m_nCurrentCol <= nTo) {
            ClearEditState();
            m_nCurrentRow = m_nCurrentCol = GX_INVALID;
        } else {
            m_nCurrentCol -= n;
            if (m_pCurrentControl && m_pCurrentControl->IsInit() && !m_pCurrentControl->IsActive())
                m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol);
        }
    }
    if (m_nFrozenCols >= nFrom) {
        m_nFrozenCols -= std::min(nTo, m_nFrozenCols) - nFrom + 1;
        m_nHeaderCols = std::min(m_nHeaderCols, m_nFrozenCols);
    }
    if (m_nLeftCol > nTo)
        m_nLeftCol -= n;
    else if (m_nLeftCol >= nFrom)
        m_nLeftCol = nFrom;
    m_nAnchorRow = m_nAnchorCol = GX_INVALID;
}

BOOL CGXGridCore::RemoveCols(ROWCOL nFromCol, ROWCOL nToCol, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromCol == 0 || nFromCol > nToCol || nToCol > data->GetColCount())
        return FALSE;
    AdjustAfterColsRemoved(nFromCol, nToCol);
    if (RecordWanted(ctCmd)) {
        auto cols = data->ExtractCols(nFromCol, nToCol);
        AddCommand(new CGXRemoveColsCmd(nFromCol, std::move(cols)), ctCmd);
    } else {
        data->RemoveCols(nFromCol, nToCol);
    }
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::RestoreRemovedCols(ROWCOL nCol, std::vector<std::unique_ptr<CGXData::ColRecord>>& cols, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    const ROWCOL n = static_cast<ROWCOL>(cols.size());
    if (!data || n == 0 || !data->RestoreCols(nCol, cols))
        return FALSE;
    AdjustAfterColsInserted(nCol, n);
    if (RecordWanted(ctCmd))
        AddCommand(new CGXInsertCmd(false, nCol, n), ctCmd);
    MarkRedraw(GX_INVALIDATE);
    return TRUE;
}

BOOL CGXGridCore::MoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromRow == 0 || nFromRow > nToRow || nToRow > data->GetRowCount())
        return FALSE;
    const ROWCOL n = nToRow - nFromRow + 1;
    if (nDestRow == 0 || static_cast<size_t>(nDestRow) + n - 1 > data->GetRowCount())
        return FALSE;
    if (nDestRow == nFromRow)
        return TRUE;
    if (!data->MoveRows(nFromRow, nToRow, nDestRow))
        return FALSE;
    auto map = [&](ROWCOL r) { return MovedIndex(r, nFromRow, nToRow, nDestRow); };
    RemapRows(map, 1, data->GetRowCount());
    ClampState();
    if (RecordWanted(ctCmd))
        AddCommand(new CGXMoveCmd(true, nFromRow, nToRow, nDestRow), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::MoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromCol == 0 || nFromCol > nToCol || nToCol > data->GetColCount())
        return FALSE;
    const ROWCOL n = nToCol - nFromCol + 1;
    if (nDestCol == 0 || static_cast<size_t>(nDestCol) + n - 1 > data->GetColCount())
        return FALSE;
    if (nDestCol == nFromCol)
        return TRUE;
    if (!data->MoveCols(nFromCol, nToCol, nDestCol))
        return FALSE;
    auto map = [&](ROWCOL c) { return MovedIndex(c, nFromCol, nToCol, nDestCol); };
    // Covered ranges that a move would tear apart are dropped; the selection is cleared.
    CGXRangeList* cov = m_pParam->GetCoveredCellsList();
    for (POSITION pos = cov->GetHeadPosition(); pos;) {
        POSITION cur = pos;
        CGXRange* r = cov->GetNext(pos);
        ROWCOL l = map(r->left), rt = map(r->right);
        if (rt < l || rt - l != r->right - r->left)
            cov->RemoveAt(cur);
        else
            r->left = l, r->right = rt;
    }
    m_pParam->GetRangeList()->DeleteAll();
    if (m_nCurrentCol != GX_INVALID && m_nCurrentCol >= 1) {
        m_nCurrentCol = map(m_nCurrentCol);
        if (m_pCurrentControl && m_pCurrentControl->IsInit() && !m_pCurrentControl->IsActive())
            m_pCurrentControl->Init(m_nCurrentRow, m_nCurrentCol);
    }
    ClampState();
    if (RecordWanted(ctCmd))
        AddCommand(new CGXMoveCmd(false, nFromCol, nToCol, nDestCol), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::ReorderRows(ROWCOL nFirstRow, const std::vector<ROWCOL>& newOrder, UINT flags)
{
    CGXData* data = GetData();
    if (!data || nFirstRow == 0)
        return FALSE;
    const size_t n = newOrder.size();
    if (n == 0)
        return TRUE;
    if (static_cast<size_t>(nFirstRow) + n - 1 > data->GetRowCount())
        return FALSE;
    std::vector<ROWCOL> absolute(n);
    std::vector<ROWCOL> newPlaceOfOld(n, GX_INVALID);
    for (size_t i = 0; i < n; ++i) {
        if (newOrder[i] >= n || newPlaceOfOld[newOrder[i]] != GX_INVALID)
            return FALSE; // not a permutation
        newPlaceOfOld[newOrder[i]] = static_cast<ROWCOL>(i);
        absolute[i] = nFirstRow + newOrder[i];
    }
    if (!data->ReorderRows(nFirstRow, absolute))
        return FALSE;
    m_pParam->GetRangeList()->DeleteAll();
    const ROWCOL last = nFirstRow + static_cast<ROWCOL>(n) - 1;
    RemapRows([&](ROWCOL r) { return r >= nFirstRow && r <= last ? nFirstRow + newPlaceOfOld[r - nFirstRow] : r; },
              nFirstRow, last);
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SortRows(ROWCOL nFirstRow, ROWCOL nLastRow, const std::function<bool(ROWCOL, ROWCOL)>& less, UINT flags)
{
    if (nFirstRow == 0 || nFirstRow > nLastRow || nLastRow > GetRowCount() || !less)
        return FALSE;
    std::vector<ROWCOL> order(nLastRow - nFirstRow + 1);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](ROWCOL a, ROWCOL b) { return less(nFirstRow + a, nFirstRow + b); });
    return ReorderRows(nFirstRow, order, flags);
}

static bool ParseNumber(const CString& s, double& d)
{
    const char* p = s.GetString();
    if (!*p)
        return false;
    char* end = nullptr;
    d = std::strtod(p, &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    // NaN orders against nothing, so it sorts as text.
    return end != p && end && *end == '\0' && d == d;
}

BOOL CGXGridCore::SortRows(ROWCOL nFirstRow, ROWCOL nLastRow, ROWCOL nKeyCol, BOOL bAscending, UINT flags)
{
    if (nKeyCol > GetColCount() || nFirstRow == 0 || nFirstRow > nLastRow || nLastRow > GetRowCount())
        return FALSE;
    std::vector<CString> keys(nLastRow - nFirstRow + 1);
    for (ROWCOL r = nFirstRow; r <= nLastRow; ++r)
        keys[r - nFirstRow] = GetValueRowCol(r, nKeyCol);
    auto cmp = [&](ROWCOL a, ROWCOL b) -> bool {
        const CString& x = keys[a - nFirstRow];
        const CString& y = keys[b - nFirstRow];
        double dx, dy;
        // Numbers come before texts: mixing the two orders within one comparison would not be
        // transitive ("2" < "10" < "1a" < "2"), and the sort needs a consistent order.
        const bool nx = ParseNumber(x, dx), ny = ParseNumber(y, dy);
        int c;
        if (nx && ny)
            c = dx < dy ? -1 : dx > dy ? 1 : 0;
        else if (nx != ny)
            c = nx ? -1 : 1;
        else
            c = x.CompareNoCase(y);
        return bAscending ? c < 0 : c > 0;
    };
    return SortRows(nFirstRow, nLastRow, cmp, flags);
}

// ---------------------------------------------------------------- hiding
BOOL CGXGridCore::HideRows(ROWCOL nFromRow, ROWCOL nToRow, BOOL bHide, BOOL* abHideArray, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromRow > nToRow || nToRow > data->GetRowCount())
        return FALSE;
    std::vector<BOOL> old;
    const bool record = RecordWanted(ctCmd);
    if (record)
        old.reserve(nToRow - nFromRow + 1);
    for (ROWCOL r = nFromRow; r <= nToRow; ++r) {
        if (record)
            old.push_back(data->IsRowHidden(r));
        data->SetRowHidden(r, abHideArray ? abHideArray[r - nFromRow] : bHide);
    }
    if (record)
        AddCommand(new CGXHideCmd(true, nFromRow, nToRow, std::move(old)), ctCmd);
    ClampState();
    if (data->IsRowHidden(m_nTopRow))
        SetTopRow(m_nTopRow, GX_NOREDRAW);
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::HideCols(ROWCOL nFromCol, ROWCOL nToCol, BOOL bHide, BOOL* abHideArray, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromCol > nToCol || nToCol > data->GetColCount())
        return FALSE;
    std::vector<BOOL> old;
    const bool record = RecordWanted(ctCmd);
    for (ROWCOL c = nFromCol; c <= nToCol; ++c) {
        if (record)
            old.push_back(data->IsColHidden(c));
        data->SetColHidden(c, abHideArray ? abHideArray[c - nFromCol] : bHide);
    }
    if (record)
        AddCommand(new CGXHideCmd(false, nFromCol, nToCol, std::move(old)), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::IsRowHidden(ROWCOL nRow) { return GetData() && GetData()->IsRowHidden(nRow); }
BOOL CGXGridCore::IsColHidden(ROWCOL nCol) { return GetData() && GetData()->IsColHidden(nCol); }

// ---------------------------------------------------------------- sizes
BOOL CGXGridCore::SetRowHeight(ROWCOL nFromRow, ROWCOL nToRow, int nHeight, int* anHeightArray, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromRow > nToRow || nToRow > data->GetRowCount() || (!anHeightArray && nHeight < 0))
        return FALSE;
    std::vector<int> old;
    const bool record = RecordWanted(ctCmd);
    for (ROWCOL r = nFromRow; r <= nToRow; ++r) {
        if (record)
            old.push_back(data->GetRowHeight(r));
        data->SetRowHeight(r, anHeightArray ? anHeightArray[r - nFromRow] : nHeight);
    }
    if (record)
        AddCommand(new CGXSizeCmd(true, nFromRow, nToRow, std::move(old)), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SetColWidth(ROWCOL nFromCol, ROWCOL nToCol, int nWidth, int* anWidthArray, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data || nFromCol > nToCol || nToCol > data->GetColCount() || (!anWidthArray && nWidth < 0))
        return FALSE;
    std::vector<int> old;
    const bool record = RecordWanted(ctCmd);
    for (ROWCOL c = nFromCol; c <= nToCol; ++c) {
        if (record)
            old.push_back(data->GetColWidth(c));
        data->SetColWidth(c, anWidthArray ? anWidthArray[c - nFromCol] : nWidth);
    }
    if (record)
        AddCommand(new CGXSizeCmd(false, nFromCol, nToCol, std::move(old)), ctCmd);
    MarkRedraw(flags);
    return TRUE;
}

int CGXGridCore::GetRowHeight(ROWCOL nRow)
{
    const CGXData* data = GetData();
    if (!data || nRow > data->GetRowCount() || data->IsRowHidden(nRow))
        return 0;
    int h = data->GetRowHeight(nRow);
    if (h < 0)
        h = m_nDefaultRowHeight;
    return h * m_nZoom / 100;
}

int CGXGridCore::GetColWidth(ROWCOL nCol)
{
    const CGXData* data = GetData();
    if (!data || nCol > data->GetColCount() || data->IsColHidden(nCol))
        return 0;
    int w = data->GetColWidth(nCol);
    if (w < 0)
        w = m_nDefaultColWidth;
    return w * m_nZoom / 100;
}

int CGXGridCore::Width_LPtoDP(int nLP) const { return static_cast<int>(static_cast<long long>(nLP) * GX_CHAR_WIDTH * m_nZoom / 100 / 1000); }
int CGXGridCore::Width_DPtoLP(int nDP) const { return static_cast<int>(static_cast<long long>(nDP) * 1000 * 100 / m_nZoom / GX_CHAR_WIDTH); }
int CGXGridCore::Height_LPtoDP(int nLP) const { return static_cast<int>(static_cast<long long>(nLP) * 16 * m_nZoom / 100 / 1000); }
int CGXGridCore::Height_DPtoLP(int nDP) const { return static_cast<int>(static_cast<long long>(nDP) * 1000 * 100 / m_nZoom / 16); }

int CGXGridCore::GetTextWidth(LPCTSTR text) const
{
    // Multi-line text: the longest line.
    int best = 0, cur = 0;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\n') {
            best = std::max(best, cur);
            cur = 0;
        } else {
            ++cur;
        }
    }
    best = std::max(best, cur);
    return best * GX_CHAR_WIDTH * m_nZoom / 100;
}

BOOL CGXGridCore::ResizeColWidthsToFit(const CGXRange& range, BOOL bCanShrink, UINT nFlags)
{
    CGXData* data = GetData();
    if (!data)
        return FALSE;
    CGXRange r = range.GetBounded(data->GetRowCount(), data->GetColCount());
    if (range.IsValid() && (range.IsRows() || range.IsCells()) && range.left == 0)
        r = CGXRange(range).GetBounded(data->GetRowCount(), data->GetColCount()), r.left = 0;
    if (!r.IsValid())
        return FALSE;
    const int margin = 6;
    std::vector<int> need(r.right - r.left + 1, 0);
    CGXStyle style;
    for (ROWCOL row = r.top; row <= r.bottom; ++row) {
        if (data->IsRowHidden(row))
            continue;
        for (ROWCOL col = r.left; col <= r.right; ++col) {
            CGXRange cov;
            ROWCOL span = 1;
            if (GetCoveredCellsRowCol(row, col, cov)) {
                if (cov.top != row || cov.left != col)
                    continue; // only the first cell of a covered range carries its text
                span = std::min(cov.right, r.right) - col + 1;
            }
            ComposeStyleRowCol(row, col, &style);
            int w = GetTextWidth(style.GetValue()) + margin;
            // A covered cell spreads its text evenly over its columns.
            int each = static_cast<int>((w + static_cast<int>(span) - 1) / static_cast<int>(span));
            for (ROWCOL k = 0; k < span; ++k)
                need[col - r.left + k] = std::max(need[col - r.left + k], each);
        }
    }
    for (ROWCOL col = r.left; col <= r.right; ++col) {
        int w = need[col - r.left] * 100 / m_nZoom;
        int cur = data->GetColWidth(col) < 0 ? m_nDefaultColWidth : data->GetColWidth(col);
        if (!bCanShrink && w < cur)
            continue;
        SetColWidth(col, col, w, nullptr, GX_NOREDRAW);
    }
    MarkRedraw(nFlags);
    return TRUE;
}

BOOL CGXGridCore::ResizeRowHeightsToFit(const CGXRange& range, BOOL bCanShrink, UINT nFlags)
{
    CGXData* data = GetData();
    if (!data)
        return FALSE;
    CGXRange r = range.GetBounded(data->GetRowCount(), data->GetColCount());
    if (!r.IsValid())
        return FALSE;
    CGXStyle style;
    for (ROWCOL row = r.top; row <= r.bottom; ++row) {
        int lines = 1;
        for (ROWCOL col = r.left; col <= r.right; ++col) {
            ComposeStyleRowCol(row, col, &style);
            int n = 1;
            for (const char* p = style.GetValue(); *p; ++p)
                n += *p == '\n';
            lines = std::max(lines, n);
        }
        int h = lines * 16 + 3;
        int cur = data->GetRowHeight(row) < 0 ? m_nDefaultRowHeight : data->GetRowHeight(row);
        if (!bCanShrink && h < cur)
            continue;
        SetRowHeight(row, row, h, nullptr, GX_NOREDRAW);
    }
    MarkRedraw(nFlags);
    return TRUE;
}

// ---------------------------------------------------------------- covered cells
BOOL CGXGridCore::SetCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data)
        return FALSE;
    CGXRange r(nTop, nLeft, nBottom, nRight);
    if (r.bottom > data->GetRowCount() || r.right > data->GetColCount())
        return FALSE;
    CGXRangeList* list = m_pParam->GetCoveredCellsList();
    if (RecordWanted(ctCmd))
        AddCommand(new CGXCoveredCmd(*list), ctCmd);
    const bool single = r.top == r.bottom && r.left == r.right;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        POSITION cur = pos;
        const CGXRange* o = list->GetNext(pos);
        if (single ? o->IsCellInRange(r.top, r.left) : o->IsIntersecting(r))
            list->RemoveAt(cur);
    }
    if (!single)
        list->AddTail(r);
    // The current cell moves to the first cell of a range that now covers it.
    if (!single && r.IsCellInRange(m_nCurrentRow, m_nCurrentCol) && (m_nCurrentRow != r.top || m_nCurrentCol != r.left)) {
        ClearEditState();
        m_nCurrentRow = r.top;
        m_nCurrentCol = r.left;
    }
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::RestoreCovered(const CGXRangeList& list, GXCmdType ctCmd)
{
    if (!m_pParam)
        return FALSE;
    CGXRangeList* cur = m_pParam->GetCoveredCellsList();
    if (RecordWanted(ctCmd))
        AddCommand(new CGXCoveredCmd(*cur), ctCmd);
    *cur = list;
    ClampState();
    MarkRedraw(GX_INVALIDATE);
    return TRUE;
}

CGXRange* CGXGridCore::GetCoveredCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range)
{
    if (!m_pParam)
        return nullptr;
    const CGXRangeList* list = m_pParam->GetCoveredCellsList();
    if (list->IsEmpty())
        return nullptr;
    POSITION pos = list->FindRange(nRow, nCol);
    if (!pos)
        return nullptr;
    range = *list->GetAt(pos);
    return &range;
}

// ---------------------------------------------------------------- frozen rows and scrolling
BOOL CGXGridCore::SetFrozenRows(ROWCOL nFrozenRows, ROWCOL nHeaderRows, UINT flags)
{
    if (nHeaderRows > nFrozenRows || nFrozenRows > GetRowCount())
        return FALSE;
    m_nFrozenRows = nFrozenRows;
    m_nHeaderRows = nHeaderRows;
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SetFrozenCols(ROWCOL nFrozenCols, ROWCOL nHeaderCols, UINT flags)
{
    if (nHeaderCols > nFrozenCols || nFrozenCols > GetColCount())
        return FALSE;
    m_nFrozenCols = nFrozenCols;
    m_nHeaderCols = nHeaderCols;
    ClampState();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SetTopRow(ROWCOL nRow, UINT flags, BOOL)
{
    const ROWCOL rows = GetRowCount();
    if (nRow == GX_INVALID)
        return FALSE;
    ROWCOL top = std::clamp<ROWCOL>(nRow, m_nFrozenRows + 1, std::max(rows, m_nFrozenRows + 1));
    // A hidden row cannot be the top row: the next shown row below (or above) takes its place.
    ROWCOL r = top;
    while (r <= rows && IsRowHidden(r))
        ++r;
    if (r > rows) {
        r = top;
        while (r > m_nFrozenRows + 1 && IsRowHidden(r))
            --r;
    }
    top = std::max(r, m_nFrozenRows + 1);
    if (top == m_nTopRow)
        return TRUE;
    m_nTopRow = top;
    OnTopRowChanged();
    MarkRedraw(flags);
    return TRUE;
}

BOOL CGXGridCore::SetLeftCol(ROWCOL nCol, UINT flags, BOOL)
{
    const ROWCOL cols = GetColCount();
    if (nCol == GX_INVALID)
        return FALSE;
    ROWCOL left = std::clamp<ROWCOL>(nCol, m_nFrozenCols + 1, std::max(cols, m_nFrozenCols + 1));
    if (left == m_nLeftCol)
        return TRUE;
    m_nLeftCol = left;
    OnLeftColChanged();
    MarkRedraw(flags);
    return TRUE;
}

// Height available for scrolling rows: the grid height less the frozen rows.
static int ScrollArea(int total, int frozen) { return std::max(0, total - frozen); }

// Rows and columns scroll alike; the helpers below walk one axis, given the size of each index.

// Length left for the scrolled part of an axis of `extent` once the frozen headers 0..frozen are drawn.
template <class SizeOf>
static int ScrollAreaOf(int extent, ROWCOL frozen, ROWCOL count, SizeOf sizeOf)
{
    int frozenSize = 0;
    for (ROWCOL i = 0; i <= frozen && i <= count; ++i)
        frozenSize += sizeOf(i);
    return ScrollArea(extent, frozenSize);
}

// The last index shown, even in part, when the scrolled part starts at `first`.
template <class SizeOf>
static ROWCOL LastShown(ROWCOL first, ROWCOL frozen, ROWCOL count, int avail, SizeOf sizeOf)
{
    ROWCOL last = first > count ? frozen : first;
    int pos = 0;
    for (ROWCOL i = first; i <= count; ++i) {
        pos += sizeOf(i);
        last = i;
        if (pos >= avail)
            break;
    }
    return last;
}

// The earliest start of the scrolled part that still shows index n completely.
template <class SizeOf>
static ROWCOL EarliestFirst(ROWCOL n, ROWCOL frozen, int avail, SizeOf sizeOf)
{
    ROWCOL first = n;
    int used = sizeOf(n);
    while (first > frozen + 1) {
        const int size = sizeOf(first - 1);
        if (used + size > avail)
            break;
        used += size;
        --first;
    }
    return first;
}

ROWCOL CGXGridCore::GetLastVisibleRow()
{
    const ROWCOL rows = GetRowCount();
    auto height = [this](ROWCOL r) { return GetRowHeight(r); };
    const int avail = ScrollAreaOf(GetGridRect().Height(), m_nFrozenRows, rows, height);
    return LastShown(m_nTopRow, m_nFrozenRows, rows, avail, height);
}

ROWCOL CGXGridCore::GetLastVisibleCol()
{
    const ROWCOL cols = GetColCount();
    auto width = [this](ROWCOL c) { return GetColWidth(c); };
    const int avail = ScrollAreaOf(GetGridRect().Width(), m_nFrozenCols, cols, width);
    return LastShown(m_nLeftCol, m_nFrozenCols, cols, avail, width);
}

// Offset of index n along the axis, or -1 when it is scrolled out of view. The walk stops once the
// offset passes `limit`, answering an offset past it: a caller that asks only whether n is in view
// pays the view, not the rows between it and n.
template <class SizeOf>
static int AxisOffset(ROWCOL n, ROWCOL frozenEnd, ROWCOL first, SizeOf sizeOf,
                      int limit = std::numeric_limits<int>::max())
{
    int pos = 0;
    for (ROWCOL i = 0; i <= frozenEnd; ++i) {
        if (i == n)
            return pos;
        pos += sizeOf(i);
    }
    if (n < first)
        return -1;
    for (ROWCOL i = first; i < n && pos <= limit; ++i)
        pos += sizeOf(i);
    return pos;
}

// Scrolls once, straight to the row/column that brings the cell into view (grids mirror every
// top-row change, so the top row must not walk there step by step).
BOOL CGXGridCore::ScrollCellInView(ROWCOL nRow, ROWCOL nCol, UINT flags)
{
    CRect rc = GetGridRect();
    const ROWCOL rows = GetRowCount();
    auto height = [this](ROWCOL r) { return GetRowHeight(r); };
    if (nRow != GX_INVALID && nRow > m_nFrozenRows && nRow <= rows) {
        if (nRow < m_nTopRow) {
            SetTopRow(nRow, flags);
        } else if (const int top = AxisOffset(nRow, std::min(m_nFrozenRows, rows), m_nTopRow, height, rc.Height());
                   top < 0 || top + GetRowHeight(nRow) > rc.Height()) {
            const int avail = ScrollAreaOf(rc.Height(), m_nFrozenRows, rows, height);
            SetTopRow(EarliestFirst(nRow, m_nFrozenRows, avail, height), flags);
        }
    }
    const ROWCOL cols = GetColCount();
    if (nCol != GX_INVALID && nCol > m_nFrozenCols && nCol <= cols) {
        if (nCol < m_nLeftCol) {
            SetLeftCol(nCol, flags);
        } else if (ColLeft(nCol) < 0 || ColLeft(nCol) + GetColWidth(nCol) > rc.Width()) {
            auto width = [this](ROWCOL c) { return GetColWidth(c); };
            const int avail = ScrollAreaOf(rc.Width(), m_nFrozenCols, cols, width);
            SetLeftCol(EarliestFirst(nCol, m_nFrozenCols, avail, width), flags);
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------- geometry
// Rows and columns are laid out alike: the frozen headers 0..frozenEnd first, then the scrolled part from `first`.

// Finds the visible index whose extent holds pos; hidden (zero-size) ones are skipped.
template <class SizeOf>
static BOOL AxisHit(int pos, ROWCOL frozen, ROWCOL first, ROWCOL count, SizeOf sizeOf, ROWCOL& n)
{
    if (pos < 0)
        return FALSE;
    int start = 0;
    auto scan = [&](ROWCOL from, ROWCOL last) {
        for (ROWCOL i = from; i <= last; ++i) {
            const int size = sizeOf(i);
            if (size > 0 && pos < start + size) {
                n = i;
                return true;
            }
            start += size;
        }
        return false;
    };
    return (scan(0, std::min(frozen, count)) || scan(first, count)) ? TRUE : FALSE;
}

CRect CGXGridCore::GetGridRect() { return m_rectGrid; }

// Top edge of a row relative to the grid's top, or -1 when the row is scrolled out of view.
int CGXGridCore::RowTop(ROWCOL nRow)
{
    return AxisOffset(nRow, std::min(m_nFrozenRows, GetRowCount()), m_nTopRow,
                      [this](ROWCOL r) { return GetRowHeight(r); });
}

int CGXGridCore::ColLeft(ROWCOL nCol)
{
    return AxisOffset(nCol, std::min(m_nFrozenCols, GetColCount()), m_nLeftCol,
                      [this](ROWCOL c) { return GetColWidth(c); });
}

BOOL CGXGridCore::RowFromY(int y, ROWCOL& nRow)
{
    return AxisHit(y, m_nFrozenRows, m_nTopRow, GetRowCount(), [this](ROWCOL r) { return GetRowHeight(r); },
                   nRow);
}

BOOL CGXGridCore::ColFromX(int x, ROWCOL& nCol)
{
    return AxisHit(x, m_nFrozenCols, m_nLeftCol, GetColCount(), [this](ROWCOL c) { return GetColWidth(c); },
                   nCol);
}

CRect CGXGridCore::CalcRectFromRowCol(ROWCOL nRow, ROWCOL nCol)
{
    if (nRow > GetRowCount() || nCol > GetColCount())
        return CRect(0, 0, 0, 0);
    int y = RowTop(nRow), x = ColLeft(nCol);
    int h = GetRowHeight(nRow), w = GetColWidth(nCol);
    if (y < 0 || x < 0 || h == 0 || w == 0)
        return CRect(0, 0, 0, 0);
    CRect g = GetGridRect();
    return CRect(g.left + x, g.top + y, g.left + x + w, g.top + y + h);
}

CRect CGXGridCore::CalcRectFromRowColEx(ROWCOL nRow, ROWCOL nCol)
{
    CGXRange cov;
    if (!GetCoveredCellsRowCol(nRow, nCol, cov))
        return CalcRectFromRowCol(nRow, nCol);
    CRect rc = CalcRectFromRowCol(cov.top, cov.left);
    if (rc.IsRectEmpty())
        return rc;
    int w = 0, h = 0;
    for (ROWCOL c = cov.left; c <= cov.right; ++c)
        w += GetColWidth(c);
    for (ROWCOL r = cov.top; r <= cov.bottom; ++r)
        h += GetRowHeight(r);
    return CRect(rc.left, rc.top, rc.left + w, rc.top + h);
}

int CGXGridCore::HitTest(CPoint pt, ROWCOL* pRow, ROWCOL* pCol, CRect* pRectHit)
{
    CRect g = GetGridRect();
    if (!g.PtInRect(pt))
        return GX_NOHIT;
    ROWCOL r, c;
    if (!RowFromY(pt.y - g.top, r))
        return GX_NOHIT;
    const bool headerRow = r <= m_nHeaderRows;
    // Near a column's right edge in the header rows: the edge of the last column ending there
    // (that may be a hidden column, whose edge coincides with its left neighbour's).
    if (headerRow) {
        const ROWCOL cols = GetColCount();
        int x = pt.x - g.left;
        ROWCOL best = GX_INVALID;
        auto visit = [&](ROWCOL col, int right) {
            if (std::abs(x - right) <= GX_EDGE_TOLERANCE)
                best = col;
        };
        int left = 0;
        for (ROWCOL col = 0; col <= std::min(m_nFrozenCols, cols); ++col) {
            left += GetColWidth(col);
            visit(col, left);
        }
        for (ROWCOL col = m_nLeftCol; col <= cols; ++col) {
            left += GetColWidth(col);
            visit(col, left);
            if (left > x + GX_EDGE_TOLERANCE)
                break;
        }
        if (best != GX_INVALID) {
            if (pRow)
                *pRow = r;
            if (pCol)
                *pCol = best;
            return GX_VERTLINE;
        }
    }
    if (!ColFromX(pt.x - g.left, c))
        return GX_NOHIT;
    CGXRange cov;
    if (GetCoveredCellsRowCol(r, c, cov)) {
        r = cov.top;
        c = cov.left;
    }
    if (pRow)
        *pRow = r;
    if (pCol)
        *pCol = c;
    if (pRectHit)
        *pRectHit = CalcRectFromRowColEx(r, c);
    return (headerRow || c <= m_nHeaderCols) ? GX_HEADERHIT : GX_CELLHIT;
}

// ---------------------------------------------------------------- keeping rows
size_t CGXGridCore::KeepRows()
{
    CGXData* data = GetData();
    return data ? data->BeginKeepRows() : 0;
}

void CGXGridCore::EndKeepRows()
{
    if (CGXData* data = GetData())
        data->EndKeepRows();
}

BOOL CGXGridCore::PutBackKeptRows(size_t nMark, UINT flags, GXCmdType ctCmd)
{
    CGXData* data = GetData();
    if (!data)
        return FALSE;
    using Kind = CGXData::KeptStep::Kind;
    auto steps = data->TakeKeptSteps(nMark);
    BOOL ok = TRUE;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        switch (step->kind) {
        case Kind::Row:
            ok = data->PutBackRow(step->row, *step->rows.front()) && ok;
            break;
        case Kind::Inserted:
            ok = RemoveRows(step->row, step->row + step->count - 1, flags, ctCmd) && ok;
            break;
        case Kind::Removed:
            ok = (step->rows.empty() || RestoreRemovedRows(step->row, step->rows, ctCmd)) && ok;
            break;
        case Kind::All:
            ok = PutBackRows(1, step->rows, flags, ctCmd) && ok;
            break;
        }
    }
    data->TakeKeptSteps(nMark); // what the putting back noted itself
    ClampState();
    if (data->IsRowHidden(m_nTopRow))
        SetTopRow(m_nTopRow, GX_NOREDRAW);
    MarkRedraw(flags);
    return ok;
}
