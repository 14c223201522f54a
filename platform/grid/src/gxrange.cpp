#include "grid/gxrange.h"

#include <algorithm>

// ---------------------------------------------------------------- CGXRange
CGXRange& CGXRange::SetCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    top = std::min(nTop, nBottom);
    bottom = std::max(nTop, nBottom);
    left = std::min(nLeft, nRight);
    right = std::max(nLeft, nRight);
    m_type = rtCells;
    m_bValid = true;
    return *this;
}

CGXRange& CGXRange::SetRows(ROWCOL nFromRow, ROWCOL nToRow)
{
    SetCells(nFromRow, 0, nToRow, GX_MAXROWCOL);
    m_type = rtRows;
    return *this;
}

CGXRange& CGXRange::SetCols(ROWCOL nFromCol, ROWCOL nToCol)
{
    SetCells(0, nFromCol, GX_MAXROWCOL, nToCol);
    m_type = rtCols;
    return *this;
}

CGXRange& CGXRange::SetTable()
{
    SetCells(0, 0, GX_MAXROWCOL, GX_MAXROWCOL);
    m_type = rtTable;
    return *this;
}

BOOL CGXRange::IsCellInRange(ROWCOL nRow, ROWCOL nCol) const
{
    return m_bValid && nRow >= top && nRow <= bottom && nCol >= left && nCol <= right;
}

BOOL CGXRange::IsCellInRange(const CGXRange& r) const
{
    return m_bValid && r.m_bValid && r.top >= top && r.bottom <= bottom && r.left >= left && r.right <= right;
}

BOOL CGXRange::IsIntersecting(const CGXRange& r) const
{
    return m_bValid && r.m_bValid && r.top <= bottom && r.bottom >= top && r.left <= right && r.right >= left;
}

BOOL CGXRange::IntersectRange(const CGXRange& a, const CGXRange& b)
{
    if (!a.IsIntersecting(b)) {
        m_bValid = false;
        return FALSE;
    }
    SetCells(std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom), std::min(a.right, b.right));
    return TRUE;
}

CGXRange& CGXRange::UnionRange(const CGXRange& a, const CGXRange& b)
{
    if (!a.m_bValid)
        return *this = b;
    if (!b.m_bValid)
        return *this = a;
    return SetCells(std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                    std::max(a.right, b.right));
}

CGXRange& CGXRange::ExpandRange(ROWCOL nMaxRow, ROWCOL nMaxCol)
{
    *this = GetBounded(nMaxRow, nMaxCol);
    return *this;
}

CGXRange CGXRange::GetBounded(ROWCOL nRowCount, ROWCOL nColCount) const
{
    CGXRange r;
    if (!m_bValid)
        return r;
    ROWCOL t = top, l = left, b = bottom, rt = right;
    if (m_type == rtRows || m_type == rtTable) {
        l = std::max<ROWCOL>(l, 1);
        rt = nColCount;
    }
    if (m_type == rtCols || m_type == rtTable) {
        t = std::max<ROWCOL>(t, 1);
        b = nRowCount;
    }
    b = std::min(b, nRowCount);
    rt = std::min(rt, nColCount);
    if (t > b || l > rt)
        return r; // invalid: nothing of the range lies in the grid
    r.SetCells(t, l, b, rt);
    return r;
}

CGXRange& CGXRange::OffsetRange(int nRows, int nCols)
{
    auto shift = [](ROWCOL v, int d) -> ROWCOL {
        if (v == GX_MAXROWCOL)
            return v;
        long long n = static_cast<long long>(v) + d;
        return n < 0 ? 0 : static_cast<ROWCOL>(std::min<long long>(n, GX_MAXROWCOL));
    };
    if (m_type != rtCols && m_type != rtTable) {
        top = shift(top, nRows);
        bottom = shift(bottom, nRows);
    }
    if (m_type != rtRows && m_type != rtTable) {
        left = shift(left, nCols);
        right = shift(right, nCols);
    }
    return *this;
}

// ---------------------------------------------------------------- CGXRangeList
struct CGXRangeList::Node {
    CGXRange range;
    Node* prev = nullptr;
    Node* next = nullptr;
};

static POSITION ToPos(void* p) { return reinterpret_cast<POSITION>(p); }

CGXRangeList::CGXRangeList(const CGXRangeList& other)
{
    for (Node* n = other.m_pHead; n; n = n->next)
        AddTail(n->range);
}

CGXRangeList& CGXRangeList::operator=(const CGXRangeList& other)
{
    if (this != &other) {
        DeleteAll();
        for (Node* n = other.m_pHead; n; n = n->next)
            AddTail(n->range);
    }
    return *this;
}

CGXRangeList::~CGXRangeList() { DeleteAll(); }

POSITION CGXRangeList::GetHeadPosition() const { return ToPos(m_pHead); }
POSITION CGXRangeList::GetTailPosition() const { return ToPos(m_pTail); }

CGXRange* CGXRangeList::GetNext(POSITION& pos) const
{
    Node* n = reinterpret_cast<Node*>(pos);
    if (!n)
        return nullptr;
    pos = ToPos(n->next);
    return &n->range;
}

CGXRange* CGXRangeList::GetPrev(POSITION& pos) const
{
    Node* n = reinterpret_cast<Node*>(pos);
    if (!n)
        return nullptr;
    pos = ToPos(n->prev);
    return &n->range;
}

CGXRange* CGXRangeList::GetAt(POSITION pos) const
{
    Node* n = reinterpret_cast<Node*>(pos);
    return n ? &n->range : nullptr;
}

CGXRange* CGXRangeList::GetHead() const { return m_pHead ? &m_pHead->range : nullptr; }
CGXRange* CGXRangeList::GetTail() const { return m_pTail ? &m_pTail->range : nullptr; }

POSITION CGXRangeList::AddTail(const CGXRange& range)
{
    Node* n = new Node{range, m_pTail, nullptr};
    if (m_pTail)
        m_pTail->next = n;
    else
        m_pHead = n;
    m_pTail = n;
    ++m_nCount;
    return ToPos(n);
}

POSITION CGXRangeList::AddHead(const CGXRange& range)
{
    Node* n = new Node{range, nullptr, m_pHead};
    if (m_pHead)
        m_pHead->prev = n;
    else
        m_pTail = n;
    m_pHead = n;
    ++m_nCount;
    return ToPos(n);
}

POSITION CGXRangeList::AddTail(CGXRange* pRange)
{
    if (!pRange)
        return nullptr;
    POSITION pos = AddTail(*pRange);
    delete pRange;
    return pos;
}

void CGXRangeList::RemoveAt(POSITION pos)
{
    Node* n = reinterpret_cast<Node*>(pos);
    if (!n)
        return;
    (n->prev ? n->prev->next : m_pHead) = n->next;
    (n->next ? n->next->prev : m_pTail) = n->prev;
    delete n;
    --m_nCount;
}

void CGXRangeList::DeleteTail() { RemoveAt(GetTailPosition()); }

void CGXRangeList::DeleteAll()
{
    Node* n = m_pHead;
    while (n) {
        Node* next = n->next;
        delete n;
        n = next;
    }
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
}

POSITION CGXRangeList::FindRange(ROWCOL nRow, ROWCOL nCol) const
{
    for (Node* n = m_pTail; n; n = n->prev)
        if (n->range.IsCellInRange(nRow, nCol))
            return ToPos(n);
    return nullptr;
}

POSITION CGXRangeList::FindRange(const CGXRange& range) const
{
    for (Node* n = m_pHead; n; n = n->next)
        if (n->range == range)
            return ToPos(n);
    return nullptr;
}

BOOL CGXRangeList::IsCellInList(ROWCOL nRow, ROWCOL nCol, POSITION posExclude) const
{
    for (Node* n = m_pHead; n; n = n->next)
        if (ToPos(n) != posExclude && n->range.IsCellInRange(nRow, nCol))
            return TRUE;
    return FALSE;
}

BOOL CGXRangeList::HasPosition(POSITION pos) const
{
    if (!pos)
        return FALSE;
    for (Node* n = m_pHead; n; n = n->next)
        if (ToPos(n) == pos)
            return TRUE;
    return FALSE;
}

BOOL CGXRangeList::IsAnyCellFromRow(ROWCOL nRow) const
{
    for (Node* n = m_pHead; n; n = n->next)
        if (n->range.IsValid() && nRow >= n->range.top && nRow <= n->range.bottom)
            return TRUE;
    return FALSE;
}

BOOL CGXRangeList::IsAnyCellFromCol(ROWCOL nCol) const
{
    for (Node* n = m_pHead; n; n = n->next)
        if (n->range.IsValid() && nCol >= n->range.left && nCol <= n->range.right)
            return TRUE;
    return FALSE;
}

void CGXRangeList::Subtract(const CGXRange& cut, ROWCOL nRowCount, ROWCOL nColCount)
{
    CGXRange c = cut.GetBounded(nRowCount, nColCount);
    if (!c.IsValid())
        return;
    Node* n = m_pHead;
    while (n) {
        Node* next = n->next;
        CGXRange r = n->range.GetBounded(nRowCount, nColCount);
        if (r.IsValid() && r.IsIntersecting(c)) {
            // Up to four ranges around the cut: above, below, left, right.
            CGXRange remains[4];
            int k = 0;
            if (r.top < c.top)
                remains[k++].SetCells(r.top, r.left, c.top - 1, r.right);
            if (r.bottom > c.bottom)
                remains[k++].SetCells(c.bottom + 1, r.left, r.bottom, r.right);
            ROWCOL t = std::max(r.top, c.top), b = std::min(r.bottom, c.bottom);
            if (r.left < c.left)
                remains[k++].SetCells(t, r.left, b, c.left - 1);
            if (r.right > c.right)
                remains[k++].SetCells(t, c.right + 1, b, r.right);
            // Keep the order: the remains take the place of the original range.
            Node* after = n;
            for (int i = 0; i < k; ++i) {
                Node* p = new Node{remains[i], after, after->next};
                (after->next ? after->next->prev : m_pTail) = p;
                after->next = p;
                after = p;
                ++m_nCount;
            }
            RemoveAt(ToPos(n));
        }
        n = next;
    }
}

// ---------------------------------------------------------------- CRowColArray
ROWCOL CRowColArray::GetAt(int i) const
{
    if (i < 0 || i >= GetSize())
        AfxThrowInvalidArgException();
    return m_a[static_cast<size_t>(i)];
}

void CRowColArray::SetAt(int i, ROWCOL v) { ElementAt(i) = v; }

ROWCOL& CRowColArray::ElementAt(int i)
{
    if (i < 0 || i >= GetSize())
        AfxThrowInvalidArgException();
    return m_a[static_cast<size_t>(i)];
}

void CRowColArray::InsertAt(int i, ROWCOL v, int nCount)
{
    if (i < 0 || nCount < 0)
        AfxThrowInvalidArgException();
    if (i > GetSize())
        m_a.resize(static_cast<size_t>(i));
    m_a.insert(m_a.begin() + i, static_cast<size_t>(nCount), v);
}

void CRowColArray::RemoveAt(int i, int nCount)
{
    // Compared as a difference so that a huge count cannot overflow the sum.
    if (i < 0 || nCount < 0 || nCount > GetSize() - i)
        AfxThrowInvalidArgException();
    m_a.erase(m_a.begin() + i, m_a.begin() + i + nCount);
}
