#include "kxcontrols/KXSortGrid.h"

#include <cstdlib>

#include "grid/gxcore.h"
#include "grid/gxdata.h"
#include "grid/gxstyle.h"

CKXSortGrid::CKXSortGrid(CGXGridCore* pGrid, ROWCOL nFirstRow, BOOL bBlanksLast, BOOL bAlpha, BOOL bCaseSensitive)
    : m_pGrid(pGrid), m_nFirstRow(nFirstRow), m_bBlanksLast(bBlanksLast), m_bAlpha(bAlpha),
      m_bCaseSensitive(bCaseSensitive) {}

void CKXSortGrid::SetSkipLevel(const CDWordArray& levels) {
    m_skipLevels.clear();
    for (INT_PTR i = 0; i < levels.GetSize(); ++i) m_skipLevels.insert(static_cast<int>(levels[i]));
}

void CKXSortGrid::SetSkipLevel(std::initializer_list<int> levels) { m_skipLevels = std::set<int>(levels); }

namespace {

// The parts of one cell that a sort reads (its value and some user attributes), as the cell's
// composed style has them. With stored cells they are read from the stored styles in place;
// otherwise from a copy of the cell's style, composed when the cell leaves one of them open.
class SortCell {
public:
    SortCell(CGXGridCore& grid, bool stored) : m_grid(grid), m_stored(stored) {}

    void Read(ROWCOL row, ROWCOL col, bool needValue, std::initializer_list<WORD> attrs) {
        m_row = row;
        m_col = col;
        if (m_stored) {
            m_cell = m_grid.GetData() ? m_grid.GetData()->LookupCell(row, col) : nullptr;
            return;
        }
        // The cell's own style serves when it holds the value and the attributes asked for: composing
        // the styles behind it would change none of them.
        m_grid.GetStyleRowCol(row, col, m_style, gxCopy, 0);
        bool complete = !needValue || m_style.GetIncludeValue();
        for (WORD attr : attrs)
            complete = complete && (attr == 0 || m_style.GetIncludeUserAttribute(attr));
        if (!complete) m_grid.ComposeStyleRowCol(row, col, &m_style);
    }

    const CString& Value() const {
        if (!m_stored) return m_style.GetValue();
        if (m_cell && m_cell->GetIncludeValue()) return m_cell->GetValue();
        const CGXStyle* s =
            m_grid.FindComposedStyle(m_row, m_col, [](const CGXStyle& st) { return st.GetIncludeValue() != FALSE; });
        return s ? s->GetValue() : Empty();
    }

    const CString& Attribute(WORD id) const {
        if (!m_stored) return m_style.GetUserAttributeText(id);
        if (const CGXAbstractUserAttribute* own = m_cell ? m_cell->FindUserAttribute(id) : nullptr)
            return own->GetValue();
        const CGXStyle* s = m_grid.FindComposedStyle(
            m_row, m_col, [id](const CGXStyle& st) { return st.GetIncludeUserAttribute(id) != FALSE; });
        return s ? s->GetUserAttributeText(id) : Empty();
    }

private:
    static const CString& Empty() {
        static const CString empty;
        return empty;
    }

    CGXGridCore& m_grid;
    const bool m_stored;
    ROWCOL m_row = 0;
    ROWCOL m_col = 0;
    const CGXStyle* m_cell = nullptr; // stored cells: the cell's own style, null when it has none
    CGXStyle m_style;                 // otherwise: the cell's style as far as the sort reads it
};

// The level a text gives, as std::atoi reads it; a one-digit level is read without the library.
int Level(const CString& text) {
    const char first = text.GetLength() == 1 ? text.GetString()[0] : '\0';
    return first >= '0' && first <= '9' ? first - '0' : std::atoi(text.GetString());
}

// Whether the sort reads a row's key: not for a child row, which moves with the row above it (the
// first row taking part has none), nor for a frozen row, which keeps its place. Rows come in order.
class KeyedRows {
public:
    explicit KeyedRows(const std::set<int>& skipLevels) : m_skipLevels(skipLevels) {}
    bool NeedsKey(int level, bool frozen) {
        if (!m_known || level != m_level) {
            m_known = true;
            m_level = level;
            m_child = m_skipLevels.count(level) != 0;
        }
        const bool child = m_child && m_anyTakingPart;
        m_anyTakingPart = m_anyTakingPart || !frozen;
        return !frozen && !child;
    }

private:
    const std::set<int>& m_skipLevels;
    bool m_known = false;
    int m_level = 0;
    bool m_child = false;
    bool m_anyTakingPart = false;
};

} // namespace

BOOL CKXSortGrid::SortRows(ROWCOL nCol, BOOL bAscending, int nKind) {
    if (!m_pGrid) return FALSE;
    const ROWCOL rowCount = m_pGrid->GetRowCount();
    const ROWCOL colCount = m_pGrid->GetColCount();
    if (nCol > colCount || m_nFirstRow == 0 || m_nFirstRow > rowCount || rowCount - m_nFirstRow < 1) return FALSE;

    const ROWCOL levelCol = m_nHierarchyCol != GX_INVALID && m_nHierarchyCol <= colCount ? m_nHierarchyCol : nCol;
    const bool useSortAttr = m_nSortAttr != 0 && m_nSortAttrCol == nCol;
    const bool levels = !m_skipLevels.empty();
    const WORD levelHere = levels && levelCol == nCol ? m_nLevelAttr : 0;
    // Column 0 shows what the grid makes of its rows, never only what it stores.
    const bool stored = m_bStoredCells && nCol > 0 && levelCol > 0;
    SortCell cell(*m_pGrid, stored);
    SortCell levelCell(*m_pGrid, stored);

    std::vector<KXSortItem> rows;
    rows.reserve(rowCount - m_nFirstRow + 1);
    KeyedRows keyed(m_skipLevels);
    for (ROWCOL r = m_nFirstRow; r <= rowCount; ++r) {
        KXSortItem& item = rows.emplace_back();
        cell.Read(r, nCol, true, {useSortAttr ? m_nSortAttr : WORD{0}, levelHere});
        if (levels) {
            const SortCell* ls = &cell;
            if (levelCol != nCol) {
                levelCell.Read(r, levelCol, false, {m_nLevelAttr});
                ls = &levelCell;
            }
            item.level = Level(ls->Attribute(m_nLevelAttr));
        }
        if (m_bFreezeBlankRows) {
            item.blankRow = true;
            for (ROWCOL c = 1; c <= colCount && item.blankRow; ++c)
                if (!m_pGrid->GetValueRowCol(r, c).IsEmpty()) item.blankRow = false;
        }
        if (keyed.NeedsKey(item.level, m_bFreezeBlankRows && item.blankRow)) {
            const CString* key = &cell.Value();
            if (useSortAttr) {
                const CString& attr = cell.Attribute(m_nSortAttr);
                if (!attr.IsEmpty()) key = &attr;
            }
            item.key = key->GetString();
        }
    }
    if (rows.size() < 2) return FALSE;

    KXSortOptions opt;
    opt.ascending = bAscending != FALSE;
    opt.kind = nKind == 0 ? 0 : 1;
    opt.alpha = m_bAlpha != FALSE;
    opt.caseSensitive = m_bCaseSensitive != FALSE;
    opt.blanksLast = m_bBlanksLast != FALSE;
    opt.freezeBlankRows = m_bFreezeBlankRows != FALSE;
    opt.skipLevels = m_skipLevels;
    std::vector<size_t> order = KXComputeSortOrder(rows, opt);

    std::vector<ROWCOL> newOrder(order.begin(), order.end());
    bool unchanged = true;
    for (size_t i = 0; i < newOrder.size() && unchanged; ++i) unchanged = newOrder[i] == i;
    if (unchanged) return TRUE;
    return m_pGrid->ReorderRows(m_nFirstRow, newOrder);
}
