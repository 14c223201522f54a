#include "kxcontrols/KXSortGrid.h"

#include <cstdlib>

#include "grid/gxcore.h"
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

// The style of a cell as far as a sort reads it: the cell's own style when it holds the value and the
// attributes asked for (then composing the row, column and base styles behind it changes none of
// them), else the composed style.
const CGXStyle& SortStyle(CGXGridCore& grid, ROWCOL row, ROWCOL col, bool needValue,
                          std::initializer_list<WORD> attrs, CGXStyle& style) {
    grid.GetStyleRowCol(row, col, style, gxCopy, 0);
    bool complete = !needValue || style.GetIncludeValue();
    for (WORD attr : attrs)
        complete = complete && (attr == 0 || style.GetIncludeUserAttribute(attr));
    if (!complete) grid.ComposeStyleRowCol(row, col, &style);
    return style;
}

} // namespace

BOOL CKXSortGrid::SortRows(ROWCOL nCol, BOOL bAscending, int nKind) {
    if (!m_pGrid) return FALSE;
    const ROWCOL rowCount = m_pGrid->GetRowCount();
    const ROWCOL colCount = m_pGrid->GetColCount();
    if (nCol > colCount || m_nFirstRow == 0 || m_nFirstRow > rowCount || rowCount - m_nFirstRow < 1) return FALSE;

    const ROWCOL levelCol = m_nHierarchyCol != GX_INVALID && m_nHierarchyCol <= colCount ? m_nHierarchyCol : nCol;
    const bool useSortAttr = m_nSortAttr != 0 && m_nSortAttrCol == nCol;

    std::vector<KXSortItem> rows;
    rows.reserve(rowCount - m_nFirstRow + 1);
    for (ROWCOL r = m_nFirstRow; r <= rowCount; ++r) {
        KXSortItem item;
        CGXStyle style;
        const WORD levelHere = !m_skipLevels.empty() && levelCol == nCol ? m_nLevelAttr : 0;
        SortStyle(*m_pGrid, r, nCol, true, {useSortAttr ? m_nSortAttr : WORD{0}, levelHere}, style);
        item.key = style.GetValueRef().GetString();
        if (useSortAttr) {
            const CString& attr = style.GetUserAttributeText(m_nSortAttr);
            if (!attr.IsEmpty()) item.key = attr.GetString();
        }
        if (!m_skipLevels.empty()) {
            CGXStyle levelStyle;
            const CGXStyle* ls = &style;
            if (levelCol != nCol) {
                SortStyle(*m_pGrid, r, levelCol, false, {m_nLevelAttr}, levelStyle);
                ls = &levelStyle;
            }
            item.level = std::atoi(ls->GetUserAttributeText(m_nLevelAttr).GetString());
        }
        if (m_bFreezeBlankRows) {
            item.blankRow = true;
            for (ROWCOL c = 1; c <= colCount && item.blankRow; ++c)
                if (!m_pGrid->GetValueRowCol(r, c).IsEmpty()) item.blankRow = false;
        }
        rows.push_back(std::move(item));
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
