#include "grid/gxdata.h"
#include "gxmove.h"

#include <algorithm>

CGXData::CGXData() : m_rows(1), m_cols(1) {}
CGXData::~CGXData() = default;

BOOL CGXData::SetRowCount(ROWCOL nRows)
{
    if (nRows > GX_MAXCOUNT)
        return FALSE;
    const ROWCOL count = GetRowCount();
    if (nRows < count) NoteRemoved(nRows + 1, count);
    else NoteInserted(count + 1, nRows - count);
    for (size_t r = static_cast<size_t>(nRows) + 1; r < m_rows.size(); ++r)
        if (m_rows[r].hidden)
            --m_nHiddenRows;
    ++m_nLayoutVersion;
    if (nRows < count) m_shifts.Note(m_nLayoutVersion, nRows + 1, count - nRows, 0);
    else m_shifts.Note(m_nLayoutVersion, count + 1, 0, nRows - count);
    m_rows.resize(static_cast<size_t>(nRows) + 1);
    return TRUE;
}

BOOL CGXData::SetColCount(ROWCOL nCols)
{
    if (nCols > GX_MAXCOUNT)
        return FALSE;
    ROWCOL old = GetColCount();
    if (nCols < old) {
        NoteAll();
        // Cells beyond the new last column go.
        for (auto& slot : m_rows) {
            if (!slot.line)
                continue;
            auto& cells = slot.line->cells;
            cells.erase(std::find_if(cells.begin(), cells.end(), [&](const Cell& c) { return c.col > nCols; }), cells.end());
            if (slot.line->Empty())
                slot.line.reset();
        }
        for (size_t c = static_cast<size_t>(nCols) + 1; c < m_cols.size(); ++c)
            if (m_cols[c].hidden)
                --m_nHiddenCols;
    }
    m_cols.resize(static_cast<size_t>(nCols) + 1);
    return TRUE;
}

CGXData::Line* CGXData::RowLine(ROWCOL nRow, bool create)
{
    if (nRow >= m_rows.size())
        return nullptr;
    auto& slot = m_rows[nRow];
    if (!slot.line && create)
        slot.line.emplace();
    return slot.line.get();
}

const CGXData::Line* CGXData::RowLine(ROWCOL nRow) const
{
    return nRow < m_rows.size() ? m_rows[nRow].line.get() : nullptr;
}

CGXData::Cell* CGXData::FindCell(ROWCOL nRow, ROWCOL nCol, bool create, bool* created)
{
    if (nRow >= m_rows.size())
        return nullptr;
    auto& slot = m_rows[nRow];
    if (!slot.line) {
        if (!create)
            return nullptr;
        slot.line.emplace();
    }
    auto& cells = slot.line->cells;
    // Cells are mostly written left to right: check the end first.
    if (cells.empty() || cells.back().col < nCol) {
        if (!create)
            return nullptr;
        if (cells.size() == cells.capacity())
            ReserveCell(cells, nCol);
        if (created)
            *created = true;
        return &cells.emplace_back(nCol);
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), nCol, [](const Cell& c, ROWCOL col) { return c.col < col; });
    if (it->col == nCol)
        return &*it;
    if (!create)
        return nullptr;
    const auto at = it - cells.begin();
    if (cells.size() == cells.capacity())
        ReserveCell(cells, nCol);
    if (created)
        *created = true;
    return &*cells.emplace(cells.begin() + at, nCol);
}

// A row holds at most one cell per column (and the header column): its storage grows towards that
// bound and never past it. The first data cell reserves every data column, which a row of a grid
// that fills its rows uses (nearly) exactly, in whatever order the row's cells come; a cell of the
// header column reserves the header column too. A full row then grows by half its size, capped at
// the bound.
void CGXData::ReserveCell(std::vector<Cell>& cells, ROWCOL nCol) const
{
    if (cells.size() < cells.capacity())
        return;
    const size_t bound = static_cast<size_t>(GetColCount()) + 1;
    size_t want = cells.empty() ? (nCol == 0 ? bound : bound - 1) : cells.size() + cells.size() / 2;
    want = std::max(std::min(want, bound), cells.size() + 1);
    cells.reserve(want);
}

const CGXStyle* CGXData::LookupCell(ROWCOL nRow, ROWCOL nCol) const
{
    const Line* line = nRow < m_rows.size() ? m_rows[nRow].line.get() : nullptr;
    if (!line)
        return nullptr;
    const auto& cells = line->cells;
    auto it = std::lower_bound(cells.begin(), cells.end(), nCol, [](const Cell& c, ROWCOL col) { return c.col < col; });
    return it != cells.end() && it->col == nCol ? &it->style : nullptr;
}

const CGXStyle* CGXData::LookupRowStyle(ROWCOL nRow) const
{
    const Line* line = RowLine(nRow);
    return line ? line->style.get() : nullptr;
}

const CGXStyle* CGXData::LookupColStyle(ROWCOL nCol) const
{
    return nCol < m_cols.size() && m_cols[nCol].line ? m_cols[nCol].line->style.get() : nullptr;
}

static void ApplyTo(std::unique_ptr<CGXStyle>& target, const CGXStyle* pStyle, GXModifyType mt)
{
    if (!pStyle || mt == gxRemove) {
        target.reset();
        return;
    }
    if (!target)
        target = std::make_unique<CGXStyle>();
    target->ChangeStyle(*pStyle, mt);
    if (target->IsEmpty())
        target.reset();
}

BOOL CGXData::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt, int nType)
{
    if (nRow > GetRowCount() || nCol > GetColCount())
        return FALSE;
    const bool remove = !pStyle || mt == gxRemove;
    NoteRow(nRow);
    if (nType == -1 && (nRow == 0 || nCol == 0)) {
        if (nRow == 0 && nCol == 0) {
            ApplyTo(m_table, pStyle, mt);
        } else if (nCol == 0) {
            Line* line = RowLine(nRow, !remove);
            if (line) {
                ApplyTo(line->style, pStyle, mt);
                if (line->Empty())
                    m_rows[nRow].line.reset();
            }
        } else {
            auto& slot = m_cols[nCol];
            if (!slot.line && !remove)
                slot.line.emplace();
            if (slot.line) {
                ApplyTo(slot.line->style, pStyle, mt);
                if (slot.line->Empty())
                    slot.line.reset();
            }
        }
        return TRUE;
    }
    if (remove || (mt == gxExclude)) {
        Line* line = RowLine(nRow, false);
        if (!line)
            return TRUE;
        auto& cells = line->cells;
        auto it = std::lower_bound(cells.begin(), cells.end(), nCol, [](const Cell& c, ROWCOL col) { return c.col < col; });
        if (it == cells.end() || it->col != nCol)
            return TRUE;
        if (!remove)
            it->style.ChangeStyle(*pStyle, mt);
        if (remove || it->style.IsEmpty())
            cells.erase(it);
        if (line->Empty())
            m_rows[nRow].line.reset();
        return TRUE;
    }
    bool created = false;
    Cell* cell = FindCell(nRow, nCol, true, &created);
    if (mt == gxCopy)
        cell->style = *pStyle;
    else if (created && (mt == gxOverride || mt == gxApplyNew))
        cell->style.MergeIntoNew(*pStyle); // a cell written for the first time, as a grid fills its rows
    else
        cell->style.ChangeStyle(*pStyle, mt);
    if (cell->style.IsEmpty()) // nothing left to keep
        return StoreStyleRowCol(nRow, nCol, nullptr, gxRemove, nType);
    return TRUE;
}

BOOL CGXData::StoreFreshCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style)
{
    if (nRow > GetRowCount() || nCol > GetColCount())
        return FALSE;
    RowSlot& slot = m_rows[nRow];
    // Where the cell goes: mostly at the row's end, as cells are mostly written left to right.
    size_t at = 0;
    if (slot.line && !slot.line->cells.empty()) {
        const auto& cells = slot.line->cells;
        at = cells.size();
        if (cells.back().col >= nCol) {
            const auto it = std::lower_bound(cells.begin(), cells.end(), nCol,
                                             [](const Cell& c, ROWCOL col) { return c.col < col; });
            if (it->col == nCol)
                return FALSE;
            at = static_cast<size_t>(it - cells.begin());
        }
    }
    NoteRow(nRow);
    if (!slot.line)
        slot.line.emplace();
    auto& cells = slot.line->cells;
    if (cells.size() == cells.capacity())
        ReserveCell(cells, nCol);
    if (at == cells.size()) {
        cells.emplace_back(nCol).style.MergeIntoNew(style);
        return TRUE;
    }
    // The cells after it move up one place each; the place it leaves takes the new cell.
    cells.emplace_back(std::move(cells.back()));
    std::move_backward(cells.begin() + static_cast<std::ptrdiff_t>(at), cells.end() - 2, cells.end() - 1);
    Cell& cell = cells[at];
    cell.col = nCol;
    cell.style = CGXStyle();
    cell.style.MergeIntoNew(style);
    return TRUE;
}

BOOL CGXData::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType) const
{
    const CGXStyle* p = nullptr;
    if (nType == -1 && (nRow == 0 || nCol == 0))
        p = nRow == 0 && nCol == 0 ? m_table.get() : nCol == 0 ? LookupRowStyle(nRow) : LookupColStyle(nCol);
    else
        p = LookupCell(nRow, nCol);
    if (!p) {
        if (mt == gxCopy)
            style.Free();
        return FALSE;
    }
    style.ChangeStyle(*p, mt);
    return TRUE;
}

BOOL CGXData::InsertRows(ROWCOL nRow, ROWCOL nCount)
{
    if (nCount == 0 || nRow == 0 || nRow > GetRowCount() + 1 || GetRowCount() + static_cast<size_t>(nCount) > GX_MAXCOUNT)
        return FALSE;
    if (nCount == 1) {
        m_rows.insert(m_rows.begin() + nRow, RowSlot());
    } else {
        std::vector<RowSlot> fresh(nCount);
        m_rows.insert(m_rows.begin() + nRow, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    }
    ++m_nLayoutVersion;
    m_shifts.Note(m_nLayoutVersion, nRow, 0, nCount);
    NoteInserted(nRow, nCount);
    return TRUE;
}

BOOL CGXData::RemoveRows(ROWCOL nFromRow, ROWCOL nToRow)
{
    if (nFromRow == 0 || nFromRow > nToRow || nToRow > GetRowCount())
        return FALSE;
    NoteRemoved(nFromRow, nToRow);
    for (ROWCOL r = nFromRow; r <= nToRow; ++r)
        if (m_rows[r].hidden)
            --m_nHiddenRows;
    m_rows.erase(m_rows.begin() + nFromRow, m_rows.begin() + nToRow + 1);
    ++m_nLayoutVersion;
    m_shifts.Note(m_nLayoutVersion, nFromRow, nToRow - nFromRow + 1, 0);
    return TRUE;
}

template <class V>
static BOOL MoveBlock(V& v, ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest)
{
    if (nFrom == 0 || nFrom > nTo || nTo >= v.size() || nDest == 0)
        return FALSE;
    const ROWCOL n = nTo - nFrom + 1;
    if (static_cast<size_t>(nDest) + n > v.size())
        return FALSE;
    if (nDest < nFrom)
        std::rotate(v.begin() + nDest, v.begin() + nFrom, v.begin() + nTo + 1);
    else if (nDest > nFrom)
        std::rotate(v.begin() + nFrom, v.begin() + nTo + 1, v.begin() + nDest + n);
    return TRUE;
}

BOOL CGXData::MoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow)
{
    NoteAll();
    ++m_nLayoutVersion;
    m_shifts.Cut(m_nLayoutVersion);
    return MoveBlock(m_rows, nFromRow, nToRow, nDestRow);
}

BOOL CGXData::InsertCols(ROWCOL nCol, ROWCOL nCount)
{
    if (nCount == 0 || nCol == 0 || nCol > GetColCount() + 1 || GetColCount() + static_cast<size_t>(nCount) > GX_MAXCOUNT)
        return FALSE;
    NoteAll();
    std::vector<RowSlot> fresh(nCount);
    m_cols.insert(m_cols.begin() + nCol, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    for (auto& slot : m_rows)
        if (slot.line)
            for (auto& c : slot.line->cells)
                if (c.col >= nCol)
                    c.col += nCount;
    return TRUE;
}

BOOL CGXData::RemoveCols(ROWCOL nFromCol, ROWCOL nToCol)
{
    if (nFromCol == 0 || nFromCol > nToCol || nToCol > GetColCount())
        return FALSE;
    NoteAll();
    const ROWCOL n = nToCol - nFromCol + 1;
    for (ROWCOL c = nFromCol; c <= nToCol; ++c)
        if (m_cols[c].hidden)
            --m_nHiddenCols;
    m_cols.erase(m_cols.begin() + nFromCol, m_cols.begin() + nToCol + 1);
    for (auto& slot : m_rows) {
        if (!slot.line)
            continue;
        auto& cells = slot.line->cells;
        cells.erase(std::remove_if(cells.begin(), cells.end(), [&](const Cell& c) { return c.col >= nFromCol && c.col <= nToCol; }),
                    cells.end());
        for (auto& c : cells)
            if (c.col > nToCol)
                c.col -= n;
        if (slot.line->Empty())
            slot.line.reset();
    }
    return TRUE;
}

BOOL CGXData::MoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol)
{
    NoteAll();
    if (!MoveBlock(m_cols, nFromCol, nToCol, nDestCol))
        return FALSE;
    // Renumber the cells: the mapping old column -> new column of a block rotation.
    auto map = [&](ROWCOL c) { return MovedIndex(c, nFromCol, nToCol, nDestCol); };
    for (auto& slot : m_rows) {
        if (!slot.line)
            continue;
        for (auto& c : slot.line->cells)
            c.col = map(c.col);
        std::sort(slot.line->cells.begin(), slot.line->cells.end(), [](const Cell& a, const Cell& b) { return a.col < b.col; });
    }
    return TRUE;
}

BOOL CGXData::ReorderRows(ROWCOL nFirstRow, const std::vector<ROWCOL>& order)
{
    if (order.empty())
        return TRUE;
    if (nFirstRow == 0 || static_cast<size_t>(nFirstRow) + order.size() > m_rows.size())
        return FALSE;
    std::vector<char> seen(order.size(), 0);
    for (ROWCOL r : order) {
        if (r < nFirstRow || r - nFirstRow >= order.size() || seen[r - nFirstRow])
            return FALSE;
        seen[r - nFirstRow] = 1;
    }
    NoteAll();
    std::vector<RowSlot> moved;
    moved.reserve(order.size());
    for (ROWCOL r : order)
        moved.push_back(std::move(m_rows[r]));
    for (size_t i = 0; i < moved.size(); ++i)
        m_rows[nFirstRow + i] = std::move(moved[i]);
    ++m_nLayoutVersion;
    m_shifts.Cut(m_nLayoutVersion);
    return TRUE;
}

std::uint64_t CGXData::GetRowId(ROWCOL nRow)
{
    if (nRow == 0 || nRow >= m_rows.size())
        return 0;
    std::uint64_t& id = m_rows[nRow].id;
    if (id == 0)
        id = ++m_nLastRowId;
    return id;
}

BOOL CGXData::IsRowHidden(ROWCOL nRow) const { return nRow < m_rows.size() && m_rows[nRow].hidden; }
BOOL CGXData::IsColHidden(ROWCOL nCol) const { return nCol < m_cols.size() && m_cols[nCol].hidden; }

void CGXData::SetRowHidden(ROWCOL nRow, BOOL b)
{
    if (nRow >= m_rows.size() || m_rows[nRow].hidden == (b != FALSE))
        return;
    NoteRow(nRow);
    m_rows[nRow].hidden = b != FALSE;
    b ? ++m_nHiddenRows : --m_nHiddenRows;
}

void CGXData::SetColHidden(ROWCOL nCol, BOOL b)
{
    if (nCol >= m_cols.size() || m_cols[nCol].hidden == (b != FALSE))
        return;
    m_cols[nCol].hidden = b != FALSE;
    b ? ++m_nHiddenCols : --m_nHiddenCols;
}

int CGXData::GetRowHeight(ROWCOL nRow) const { return nRow < m_rows.size() ? m_rows[nRow].size : -1; }
int CGXData::GetColWidth(ROWCOL nCol) const { return nCol < m_cols.size() ? m_cols[nCol].size : -1; }
void CGXData::SetRowHeight(ROWCOL nRow, int n)
{
    if (nRow < m_rows.size() && m_rows[nRow].size != n) {
        NoteRow(nRow);
        m_rows[nRow].size = n;
    }
}
void CGXData::SetColWidth(ROWCOL nCol, int n)
{
    if (nCol < m_cols.size())
        m_cols[nCol].size = n;
}

size_t CGXData::GetCellSlotCount() const
{
    size_t n = 0;
    for (const auto& slot : m_rows)
        if (slot.line)
            n += slot.line->cells.capacity();
    return n;
}

size_t CGXData::GetStoredCellCount() const
{
    size_t n = 0;
    for (const auto& slot : m_rows)
        if (slot.line)
            n += slot.line->cells.size();
    return n;
}

std::vector<std::unique_ptr<CGXData::RowRecord>> CGXData::ExtractRows(ROWCOL nFromRow, ROWCOL nToRow)
{
    std::vector<std::unique_ptr<RowRecord>> out;
    if (nFromRow == 0 || nFromRow > nToRow || nToRow > GetRowCount())
        return out;
    NoteRemoved(nFromRow, nToRow);
    for (ROWCOL r = nFromRow; r <= nToRow; ++r) {
        auto rec = std::make_unique<RowRecord>();
        rec->slot = std::move(m_rows[r]);
        if (rec->slot.hidden)
            --m_nHiddenRows;
        out.push_back(std::move(rec));
    }
    m_rows.erase(m_rows.begin() + nFromRow, m_rows.begin() + nToRow + 1);
    ++m_nLayoutVersion;
    m_shifts.Note(m_nLayoutVersion, nFromRow, nToRow - nFromRow + 1, 0);
    return out;
}

std::vector<std::unique_ptr<CGXData::RowRecord>> CGXData::CopyRows(ROWCOL nFromRow, ROWCOL nToRow) const
{
    std::vector<std::unique_ptr<RowRecord>> out;
    if (nFromRow == 0 || nFromRow > nToRow || nToRow > GetRowCount())
        return out;
    out.reserve(nToRow - nFromRow + 1);
    for (ROWCOL r = nFromRow; r <= nToRow; ++r)
        out.push_back(CopySlot(m_rows[r]));
    return out;
}

BOOL CGXData::RestoreRows(ROWCOL nRow, std::vector<std::unique_ptr<RowRecord>>& rows)
{
    if (nRow == 0 || nRow > GetRowCount() + 1)
        return FALSE;
    std::vector<RowSlot> slots;
    slots.reserve(rows.size());
    for (auto& rec : rows) {
        if (rec->slot.hidden)
            ++m_nHiddenRows;
        slots.push_back(std::move(rec->slot));
    }
    rows.clear();
    m_rows.insert(m_rows.begin() + nRow, std::make_move_iterator(slots.begin()), std::make_move_iterator(slots.end()));
    ++m_nLayoutVersion;
    m_shifts.Cut(m_nLayoutVersion);
    NoteInserted(nRow, static_cast<ROWCOL>(slots.size()));
    return TRUE;
}

std::vector<std::unique_ptr<CGXData::ColRecord>> CGXData::ExtractCols(ROWCOL nFromCol, ROWCOL nToCol)
{
    std::vector<std::unique_ptr<ColRecord>> out;
    if (nFromCol == 0 || nFromCol > nToCol || nToCol > GetColCount())
        return out;
    for (ROWCOL c = nFromCol; c <= nToCol; ++c) {
        auto rec = std::make_unique<ColRecord>();
        rec->slot.line = std::move(m_cols[c].line);
        rec->slot.size = m_cols[c].size;
        rec->slot.hidden = m_cols[c].hidden;
        out.push_back(std::move(rec));
    }
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const Line* line = m_rows[r].line.get();
        if (!line)
            continue;
        for (const Cell& cell : line->cells)
            if (cell.col >= nFromCol && cell.col <= nToCol)
                out[cell.col - nFromCol]->cells.emplace_back(static_cast<ROWCOL>(r), cell.style);
    }
    RemoveCols(nFromCol, nToCol);
    return out;
}

BOOL CGXData::RestoreCols(ROWCOL nCol, std::vector<std::unique_ptr<ColRecord>>& cols)
{
    const ROWCOL n = static_cast<ROWCOL>(cols.size());
    if (n == 0 || !InsertCols(nCol, n))
        return FALSE;
    for (ROWCOL i = 0; i < n; ++i) {
        ColRecord& rec = *cols[i];
        const ROWCOL c = nCol + i;
        m_cols[c].line = std::move(rec.slot.line);
        m_cols[c].size = rec.slot.size;
        SetColHidden(c, rec.slot.hidden);
        for (auto& [row, style] : rec.cells)
            if (row <= GetRowCount())
                FindCell(row, c, true)->style = std::move(style);
    }
    cols.clear();
    return TRUE;
}

BOOL CGXData::CheckConsistency(CString& reason) const
{
    ROWCOL hr = 0, hc = 0;
    for (const auto& s : m_rows)
        hr += s.hidden ? 1 : 0;
    for (const auto& s : m_cols)
        hc += s.hidden ? 1 : 0;
    if (hr != m_nHiddenRows) {
        reason.Format("hidden row count %u disagrees with %u hidden rows", m_nHiddenRows, hr);
        return FALSE;
    }
    if (hc != m_nHiddenCols) {
        reason.Format("hidden column count %u disagrees with %u hidden columns", m_nHiddenCols, hc);
        return FALSE;
    }
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const Line* line = m_rows[r].line.get();
        if (!line)
            continue;
        if (line->Empty()) {
            reason.Format("row %zu keeps an empty record", r);
            return FALSE;
        }
        ROWCOL prev = 0;
        bool first = true;
        for (const auto& c : line->cells) {
            if (c.col > GetColCount()) {
                reason.Format("row %zu holds a cell in column %u beyond the column count %u", r, c.col, GetColCount());
                return FALSE;
            }
            if (!first && c.col <= prev) {
                reason.Format("row %zu: cells out of order at column %u", r, c.col);
                return FALSE;
            }
            prev = c.col;
            first = false;
        }
    }
    return TRUE;
}
