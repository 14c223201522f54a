// Grid core: row and column counts, inserting, removing, moving, sorting and keeping rows and columns.
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
