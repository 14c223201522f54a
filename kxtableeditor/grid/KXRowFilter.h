// KXRowFilter: the filter row of a grid's header block (row 4): one pattern per
// column, in the pattern language of CKXFilterData ("*" any run, "?" one
// character, letter case ignored; "*", empty and blank patterns filter nothing).
//
// A grid runs its filter as:
//
//   KXRowFilter filter(*this);                                  // filter row 4
//   for (const KXRowFilter::Pattern& p : filter.ActivePatterns(1, lastCol, editedCol))
//       for (ROWCOL row = firstDataRow; row <= GetRowCount(); ++row)
//           if (!p.Matches(TextOf(row, p.col))) hide(row);
//
// or, for grids without row trees, in one call:
//   std::set<ROWCOL> hidden = filter.RejectedRows(first, last, 1, lastCol, editedCol, textOf);
//
// A pattern set from a script command goes into the cell with SetPattern (no
// undo, read-only lock lifted). While the user types in a filter cell, the
// editor's live text is the pattern of that column (editedCol).
#pragma once

#include "grid/gxall.h"

#include "afx/afxstr.h"

#include <functional>
#include <set>
#include <vector>

class KXRowFilter {
public:
    static constexpr ROWCOL kFilterRow = 4;

    struct Pattern {
        ROWCOL col;
        CString text;
        // True when the text passes the pattern.
        bool Matches(const CString& text) const;
    };

    explicit KXRowFilter(CGXGridCore& grid, ROWCOL filterRow = kFilterRow) : m_grid(grid), m_row(filterRow) {}

    // True when the pattern filters nothing ("*", empty or blanks only).
    static bool IsMatchAll(const CString& pattern);
    static bool Matches(const CString& pattern, const CString& text);

    // The pattern of a column: the filter cell's text, or the live editor text when col is the
    // column being edited and its editor is active.
    CString PatternOf(ROWCOL col, ROWCOL editedCol = GX_INVALID) const;
    // Writes a pattern into a column's filter cell as the program (no undo, no redraw).
    void SetPattern(ROWCOL col, const CString& pattern);
    // The columns firstCol..lastCol whose pattern filters something, from the last column to
    // the first (the order the grids apply them in).
    std::vector<Pattern> ActivePatterns(ROWCOL firstCol, ROWCOL lastCol, ROWCOL editedCol = GX_INVALID) const;
    // True when any filter cell of firstCol..lastCol filters something.
    bool IsActive(ROWCOL firstCol, ROWCOL lastCol) const;
    // The rows firstRow..lastRow some active pattern rejects; textOf(row, col) gives the text a
    // pattern is tested against (the cell value, or a tooltip for picture cells).
    std::set<ROWCOL> RejectedRows(ROWCOL firstRow, ROWCOL lastRow, ROWCOL firstCol, ROWCOL lastCol,
                                  ROWCOL editedCol, const std::function<CString(ROWCOL, ROWCOL)>& textOf) const;

private:
    CGXGridCore& m_grid;
    ROWCOL m_row;
};
