// Cell ranges, lists of ranges and row/column index arrays.
#pragma once

#include "grid/gxtypes.h"

#include <vector>

// A rectangle of cells, or whole rows, whole columns or the whole table.
// Whole-row ranges keep left/right 0..GX_MAXROWCOL, whole-column ranges top/bottom 0..GX_MAXROWCOL,
// so that IntersectRange and IsCellInRange work on them like on cell ranges.
class CGXRange {
public:
    CGXRange() = default;
    CGXRange(ROWCOL nRow, ROWCOL nCol) { SetCells(nRow, nCol); }
    CGXRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight) { SetCells(nTop, nLeft, nBottom, nRight); }

    CGXRange& SetCells(ROWCOL nRow, ROWCOL nCol)
    {
        top = bottom = nRow;
        left = right = nCol;
        m_type = rtCells;
        m_bValid = true;
        return *this;
    }
    CGXRange& SetCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    CGXRange& SetRows(ROWCOL nRow) { return SetRows(nRow, nRow); }
    CGXRange& SetRows(ROWCOL nFromRow, ROWCOL nToRow);
    CGXRange& SetCols(ROWCOL nCol) { return SetCols(nCol, nCol); }
    CGXRange& SetCols(ROWCOL nFromCol, ROWCOL nToCol);
    CGXRange& SetTable();

    BOOL IsValid() const { return m_bValid; }
    void SetValid(BOOL b) { m_bValid = b != FALSE; }
    GXRangeType GetType() const { return m_type; }
    BOOL IsCells() const { return m_type == rtCells; }
    BOOL IsRows() const { return m_type == rtRows; }
    BOOL IsCols() const { return m_type == rtCols; }
    BOOL IsTable() const { return m_type == rtTable; }

    ROWCOL GetWidth() const { return right - left + 1; }
    ROWCOL GetHeight() const { return bottom - top + 1; }
    BOOL IsCellInRange(ROWCOL nRow, ROWCOL nCol) const;
    BOOL IsCellInRange(const CGXRange& r) const; // r lies completely inside this range
    BOOL IntersectRange(const CGXRange& a, const CGXRange& b); // this = a ^ b, FALSE when empty
    BOOL IsIntersecting(const CGXRange& r) const;
    CGXRange& UnionRange(const CGXRange& a, const CGXRange& b);
    CGXRange& ExpandRange(ROWCOL nMaxRow, ROWCOL nMaxCol); // rows/cols/table made concrete cell ranges
    CGXRange& OffsetRange(int nRows, int nCols);
    // Concrete cell bounds for a grid of the given counts (whole rows/cols clipped to the counts).
    CGXRange GetBounded(ROWCOL nRowCount, ROWCOL nColCount) const;

    friend bool operator==(const CGXRange& a, const CGXRange& b)
    {
        return a.m_bValid == b.m_bValid && a.m_type == b.m_type && a.top == b.top && a.left == b.left &&
               a.bottom == b.bottom && a.right == b.right;
    }
    friend bool operator!=(const CGXRange& a, const CGXRange& b) { return !(a == b); }

    ROWCOL top = 0;
    ROWCOL left = 0;
    ROWCOL bottom = 0;
    ROWCOL right = 0;

private:
    GXRangeType m_type = rtCells;
    bool m_bValid = false;
};

// An ordered list of ranges with POSITION-based iteration. Positions stay valid until their own element
// is removed, so "remember the position, step on, remove the remembered one" works.
class CGXRangeList {
public:
    CGXRangeList() = default;
    CGXRangeList(const CGXRangeList& other);
    CGXRangeList& operator=(const CGXRangeList& other);
    ~CGXRangeList();

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CGXRange* GetNext(POSITION& pos) const;
    CGXRange* GetPrev(POSITION& pos) const;
    CGXRange* GetAt(POSITION pos) const;
    CGXRange* GetHead() const;
    CGXRange* GetTail() const;

    POSITION AddTail(const CGXRange& range);
    POSITION AddHead(const CGXRange& range);
    // Takes ownership of the range object.
    POSITION AddTail(CGXRange* pRange);
    void RemoveAt(POSITION pos);
    void DeleteTail();
    void DeleteAll();
    void RemoveAll() { DeleteAll(); }

    POSITION FindRange(ROWCOL nRow, ROWCOL nCol) const; // last range that holds the cell
    POSITION FindRange(const CGXRange& range) const;    // a range equal to the given one
    BOOL IsCellInList(ROWCOL nRow, ROWCOL nCol, POSITION posExclude = nullptr) const;
    // Whether the position names an element of this list (compares positions only).
    BOOL HasPosition(POSITION pos) const;
    BOOL IsAnyCellFromRow(ROWCOL nRow) const;
    BOOL IsAnyCellFromCol(ROWCOL nCol) const;
    // Removes the cells of the range from the list, splitting ranges where needed.
    void Subtract(const CGXRange& range, ROWCOL nRowCount, ROWCOL nColCount);

private:
    struct Node;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
};

// A growable array of row or column indexes.
class CRowColArray {
public:
    int GetSize() const { return static_cast<int>(m_a.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_a.empty(); }
    ROWCOL GetAt(int i) const;
    void SetAt(int i, ROWCOL v);
    ROWCOL& ElementAt(int i);
    ROWCOL operator[](int i) const { return GetAt(i); }
    ROWCOL& operator[](int i) { return ElementAt(i); }
    int Add(ROWCOL v)
    {
        m_a.push_back(v);
        return GetSize() - 1;
    }
    void InsertAt(int i, ROWCOL v, int nCount = 1);
    void RemoveAt(int i, int nCount = 1);
    void RemoveAll() { m_a.clear(); }
    void SetSize(int n) { m_a.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
    const ROWCOL* GetData() const { return m_a.data(); }
    ROWCOL* GetData() { return m_a.data(); }
    const std::vector<ROWCOL>& vec() const { return m_a; }

private:
    std::vector<ROWCOL> m_a;
};
