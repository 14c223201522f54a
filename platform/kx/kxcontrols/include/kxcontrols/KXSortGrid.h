// Column sort of a grid's data rows (see KXSortRows.h for the order it produces).
#pragma once

#include <initializer_list>
#include <set>

#include "afx/afxcoll.h"
#include "grid/gxtypes.h"
#include "kxcontrols/KXSortRows.h"

class CGXGridCore;

// User attribute that carries a row's hierarchy level ("1" top row, "2" child row, ...), on the cell of the
// hierarchy column (or, without one, of the sorted column).
constexpr WORD KX_UA_ROW_LEVEL = 12501;

class CKXSortGrid {
public:
    // Sorts rows nFirstRow..last of the grid. bBlanksLast: rows whose key is empty go last in both directions;
    // bAlpha: alphabetic order (FALSE: alphanumeric, numbers inside names by value); bCaseSensitive.
    CKXSortGrid(CGXGridCore* pGrid, ROWCOL nFirstRow, BOOL bBlanksLast, BOOL bAlpha, BOOL bCaseSensitive);

    // Rows of these levels stay under the row above them (their parent) and keep their order.
    void SetSkipLevel(const CDWordArray& levels);
    void SetSkipLevel(std::initializer_list<int> levels);
    // Column whose cells carry the rows' level attribute.
    void SetHierarchyColumn(ROWCOL nCol) { m_nHierarchyCol = nCol; }
    void SetLevelAttribute(WORD nAttr) { m_nLevelAttr = nAttr; }
    // When sorting nCol, the key is the cell's user attribute nAttr (the value when the attribute is empty).
    void SetSortAttribute(ROWCOL nCol, WORD nAttr) {
        m_nSortAttrCol = nCol;
        m_nSortAttr = nAttr;
    }
    // Wholly blank rows keep their places.
    void FreezeBlankRows(BOOL bFreeze) { m_bFreezeBlankRows = bFreeze; }
    // The grid's cells in the sorted and the hierarchy column are what it stores (its GetStyleRowCol
    // supplies nothing there): the sort reads their stored styles in place instead of copying them.
    void SetStoredCells(BOOL bStored) { m_bStoredCells = bStored; }

    // kind 1: text order; 0: numeric order. Returns FALSE (and changes nothing) when there is no grid, the
    // column does not exist or fewer than two rows take part.
    BOOL SortRows(ROWCOL nCol, BOOL bAscending, int nKind = 1);

private:
    CGXGridCore* m_pGrid;
    ROWCOL m_nFirstRow;
    BOOL m_bBlanksLast;
    BOOL m_bAlpha;
    BOOL m_bCaseSensitive;
    std::set<int> m_skipLevels;
    ROWCOL m_nHierarchyCol = GX_INVALID;
    WORD m_nLevelAttr = KX_UA_ROW_LEVEL;
    ROWCOL m_nSortAttrCol = GX_INVALID;
    WORD m_nSortAttr = 0;
    BOOL m_bFreezeBlankRows = FALSE;
    BOOL m_bStoredCells = FALSE;
};
