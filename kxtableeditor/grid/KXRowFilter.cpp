#include "grid/KXRowFilter.h"

#include "grid/KXGridScopes.h"

#include "kxcontrols/KXFilterData.h"

#include <algorithm>

bool KXRowFilter::Pattern::Matches(const CString& candidate) const {
    return KXRowFilter::Matches(text, candidate);
}

bool KXRowFilter::IsMatchAll(const CString& pattern) {
    CKXFilterData filter;
    filter.SetPattern(pattern);
    return filter.IsMatchAll() != FALSE;
}

bool KXRowFilter::Matches(const CString& pattern, const CString& text) {
    CKXFilterData filter;
    filter.SetPattern(pattern);
    return filter.SearchText(text, 0) != FALSE;
}

CString KXRowFilter::PatternOf(ROWCOL col, ROWCOL editedCol) const {
    CString pattern = m_grid.GetValueRowCol(m_row, col);
    if (col == editedCol && m_grid.IsCurrentCell(m_row, col))
        if (CGXControl* control = m_grid.GetControl(m_row, col); control && control->IsActive())
            control->GetCurrentText(pattern);
    return pattern;
}

void KXRowFilter::SetPattern(ROWCOL col, const CString& pattern) {
    kxgrid::GridWriteScope scope(m_grid);
    m_grid.SetValueRange(CGXRange(m_row, col), pattern, gxOverride, 0, GX_SMART);
}

std::vector<KXRowFilter::Pattern> KXRowFilter::ActivePatterns(ROWCOL firstCol, ROWCOL lastCol,
                                                              ROWCOL editedCol) const {
    std::vector<Pattern> patterns;
    if (firstCol == 0) firstCol = 1;
    lastCol = std::min(lastCol, m_grid.GetColCount());
    for (ROWCOL col = lastCol; col >= firstCol; --col) {
        CString pattern = PatternOf(col, editedCol);
        if (!IsMatchAll(pattern)) patterns.push_back({col, pattern});
        if (col == firstCol) break;
    }
    return patterns;
}

bool KXRowFilter::IsActive(ROWCOL firstCol, ROWCOL lastCol) const {
    return !ActivePatterns(firstCol, lastCol).empty();
}

std::set<ROWCOL> KXRowFilter::RejectedRows(ROWCOL firstRow, ROWCOL lastRow, ROWCOL firstCol, ROWCOL lastCol,
                                           ROWCOL editedCol,
                                           const std::function<CString(ROWCOL, ROWCOL)>& textOf) const {
    std::set<ROWCOL> rejected;
    for (const Pattern& p : ActivePatterns(firstCol, lastCol, editedCol)) {
        CKXFilterData filter;
        filter.SetPattern(p.text);
        for (ROWCOL row = firstRow; row <= lastRow && row != 0; ++row)
            if (!rejected.count(row) && !filter.SearchText(textOf(row, p.col), 0)) rejected.insert(row);
    }
    return rejected;
}
