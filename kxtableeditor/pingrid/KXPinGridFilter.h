// The pin grid's row filter: the steps that hide the rows a filter cell's pattern does not match and
// show them again, and the function group whose pins the function filter keeps.
#pragma once

#include "grid/gxtypes.h"
#include "rmx/hmtpi.h"

#include <set>

class CKXInstanceDetailsGridWnd;
class CKXFilterData;

class KXPinGridFilter {
public:
    explicit KXPinGridFilter(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    void WriteFilterCell(ROWCOL col, const CString& pattern);
    // The steps of FilterRows.
    void ShowFilteredRow(ROWCOL row, BOOL bShow);
    // Shows the row (visible) and its subtree as its expand states say; the row after the subtree.
    ROWCOL ResetFilteredTree(ROWCOL row, bool visible);
    CString FilterPatternOf(int col, int editedCol);
    void FilterColumn(int col, CKXFilterData& filter, std::set<ROWCOL>& hidden);
    void RevealPairRowsOf(ROWCOL row, std::set<ROWCOL>& hidden);
    void RevealFilteredParent(ROWCOL row, UINT control);
    void JournalFilterEdit(int editedCol);
    // Fills the function pins (the row filter's map) with the pin numbers of one function group.
    void LoadFunctionGroupPins(int function);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
