// Grid core: hidden rows and columns, sizes, covered and frozen cells, scrolling and geometry.
#include "grid/gxcore.h"

#include "gxcmds.h"
#include "gxmove.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>

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

