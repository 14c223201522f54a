#include "grid/KXRowAttrs.h"

#include "grid/KXGridScopes.h"

namespace {
// Update flag of program writes: no drawing.
constexpr UINT kNoDrawing = 2;
} // namespace

CGXStyle KXRowAttrs::Cell(ROWCOL col) const {
    CGXStyle style;
    if (m_row == 0 || m_row > m_grid.GetRowCount() || col > m_grid.GetColCount()) return style;
    m_grid.GetStyleRowCol(m_row, col, style);
    return style;
}

void KXRowAttrs::Write(ROWCOL col, const CGXStyle& style) {
    kxgrid::GridWriteScope scope(m_grid);
    m_grid.SetStyleRange(CGXRange(m_row, col), style, gxOverride, 0, kNoDrawing, gxDo);
}
