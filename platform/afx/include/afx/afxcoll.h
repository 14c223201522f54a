// Geometry types and the MFC-style collections (arrays, lists with POSITION, hash maps).
#pragma once

#include "afx/afxobj.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <utility>
#include <vector>

// ---------------------------------------------------------------- geometry
struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(SIZE s) : SIZE(s) {}
    // Symmetric, so that a reversed comparison is as good a match as the written one.
    friend bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
    CSize operator+(SIZE o) const { return CSize(cx + o.cx, cy + o.cy); }
    CSize operator-(SIZE o) const { return CSize(cx - o.cx, cy - o.cy); }
};

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT p) : POINT(p) {}
    // From a packed mouse-message parameter (low word x, high word y, both signed).
    explicit CPoint(LPARAM packed)
        : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}
    void Offset(int dx, int dy) { x += dx, y += dy; }
    void SetPoint(int X, int Y) { x = X, y = Y; }
    friend bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    CPoint& operator+=(SIZE s) {
        x += s.cx, y += s.cy;
        return *this;
    }
    CPoint& operator-=(SIZE s) {
        x -= s.cx, y -= s.cy;
        return *this;
    }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(const RECT* r) : RECT(r ? *r : RECT{0, 0, 0, 0}) {}
    CRect(POINT tl, SIZE sz) : RECT{tl.x, tl.y, tl.x + sz.cx, tl.y + sz.cy} {}
    CRect(POINT tl, POINT br) : RECT{tl.x, tl.y, br.x, br.y} {}

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT r) {
        if (r) *static_cast<RECT*>(this) = *r;
    }
    void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
    void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect() {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) {
        CRect r(std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom));
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r;
        return TRUE;
    }
    BOOL UnionRect(LPCRECT a, LPCRECT b) {
        CRect ra(a), rb(b);
        if (ra.IsRectEmpty())
            *this = rb;
        else if (rb.IsRectEmpty())
            *this = ra;
        else
            *this = CRect(std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                          std::max(a->bottom, b->bottom));
        return !IsRectEmpty();
    }
    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
};

// ---------------------------------------------------------------- arrays
// CArray<TYPE, ARG_TYPE>: growable array; an index out of range raises CInvalidArgException.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        (void)growBy;
        if (newSize < 0) AfxThrowInvalidArgException();
        m_data.resize(static_cast<size_t>(newSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR i) const { return m_data[check(i)]; }
    TYPE& GetAt(INT_PTR i) { return m_data[check(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_data[check(i)] = v; }
    TYPE& ElementAt(INT_PTR i) { return m_data[check(i)]; }
    const TYPE& ElementAt(INT_PTR i) const { return m_data[check(i)]; }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        if (i < 0) AfxThrowInvalidArgException();
        if (i >= GetSize()) m_data.resize(static_cast<size_t>(i) + 1);
        m_data[static_cast<size_t>(i)] = v;
    }
    INT_PTR Add(ARG_TYPE v) {
        m_data.push_back(v);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& src) {
        INT_PTR old = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    void Copy(const CArray& src) {
        if (&src != this) m_data = src.m_data;
    }
    // Inserting beyond the end grows the array first.
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        if (i < 0 || count < 0) AfxThrowInvalidArgException();
        if (i > GetSize()) m_data.resize(static_cast<size_t>(i));
        m_data.insert(m_data.begin() + i, static_cast<size_t>(count), TYPE(v));
    }
    void InsertAt(INT_PTR i, const CArray* src) {
        if (i < 0 || !src) AfxThrowInvalidArgException();
        if (i > GetSize()) m_data.resize(static_cast<size_t>(i));
        std::vector<TYPE> copy = src->m_data;
        m_data.insert(m_data.begin() + i, copy.begin(), copy.end());
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        // Compared as a difference so that a huge count cannot overflow the sum.
        if (i < 0 || count < 0 || count > GetSize() - i) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
    }

    // Range-for support (convenience for new code).
    auto begin() { return m_data.begin(); }
    auto end() { return m_data.end(); }
    auto begin() const { return m_data.begin(); }
    auto end() const { return m_data.end(); }
    std::vector<TYPE>& vec() { return m_data; }
    const std::vector<TYPE>& vec() const { return m_data; }

private:
    size_t check(INT_PTR i) const {
        if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
        return static_cast<size_t>(i);
    }
    std::vector<TYPE> m_data;
};

#define AFX_DECLARE_ARRAY_(name, TYPE, ARG)                                                                  \
    class name : public CArray<TYPE, ARG> {                                                                  \
        DECLARE_DYNCREATE(name)                                                                              \
    public:                                                                                                  \
        using CArray<TYPE, ARG>::CArray;                                                                     \
    };

AFX_DECLARE_ARRAY_(CStringArray, CString, const char*)
AFX_DECLARE_ARRAY_(CObArray, CObject*, CObject*)
AFX_DECLARE_ARRAY_(CPtrArray, void*, void*)
AFX_DECLARE_ARRAY_(CDWordArray, DWORD, DWORD)
AFX_DECLARE_ARRAY_(CUIntArray, UINT, UINT)
AFX_DECLARE_ARRAY_(CWordArray, WORD, WORD)
AFX_DECLARE_ARRAY_(CByteArray, BYTE, BYTE)

// ---------------------------------------------------------------- lists
// CList<TYPE, ARG_TYPE>: doubly linked list iterated with POSITION (a node handle).
template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
    struct Node {
        Node* next = nullptr;
        Node* prev = nullptr;
        TYPE data;
    };
    static Node* N(POSITION p) { return reinterpret_cast<Node*>(p); }
    static POSITION P(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* check(POSITION p) {
        if (!p) AfxThrowInvalidArgException();
        return N(p);
    }

public:
    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }
    CList(const CList& o) : CObject() { AddTail(&o); }
    CList& operator=(const CList& o) {
        if (this != &o) {
            RemoveAll();
            AddTail(&o);
        }
        return *this;
    }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return check(P(m_head))->data; }
    const TYPE& GetHead() const { return check(P(m_head))->data; }
    TYPE& GetTail() { return check(P(m_tail))->data; }
    const TYPE& GetTail() const { return check(P(m_tail))->data; }

    POSITION AddHead(ARG_TYPE v) {
        Node* n = new Node{m_head, nullptr, TYPE(v)};
        if (m_head)
            m_head->prev = n;
        else
            m_tail = n;
        m_head = n;
        ++m_count;
        return P(n);
    }
    POSITION AddTail(ARG_TYPE v) {
        Node* n = new Node{nullptr, m_tail, TYPE(v)};
        if (m_tail)
            m_tail->next = n;
        else
            m_head = n;
        m_tail = n;
        ++m_count;
        return P(n);
    }
    void AddHead(const CList* o) {
        if (!o) return;
        std::vector<TYPE> items;
        for (Node* n = o->m_head; n; n = n->next)
            items.push_back(n->data);
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const CList* o) {
        if (!o) return;
        std::vector<TYPE> items;
        for (Node* n = o->m_head; n; n = n->next)
            items.push_back(n->data);
        for (auto& v : items)
            AddTail(v);
    }
    TYPE RemoveHead() {
        Node* n = check(P(m_head));
        TYPE v = std::move(n->data);
        unlink(n);
        return v;
    }
    TYPE RemoveTail() {
        Node* n = check(P(m_tail));
        TYPE v = std::move(n->data);
        unlink(n);
        return v;
    }
    void RemoveAt(POSITION pos) { unlink(check(pos)); }
    void RemoveAll() {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return P(m_head); }
    POSITION GetTailPosition() const { return P(m_tail); }
    TYPE& GetNext(POSITION& pos) {
        Node* n = check(pos);
        pos = P(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& pos) const {
        Node* n = check(pos);
        pos = P(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& pos) {
        Node* n = check(pos);
        pos = P(n->prev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& pos) const {
        Node* n = check(pos);
        pos = P(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION pos) { return check(pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return check(pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE v) { check(pos)->data = v; }

    POSITION InsertBefore(POSITION pos, ARG_TYPE v) {
        if (!pos) return AddHead(v);
        Node* at = N(pos);
        Node* n = new Node{at, at->prev, TYPE(v)};
        if (at->prev)
            at->prev->next = n;
        else
            m_head = n;
        at->prev = n;
        ++m_count;
        return P(n);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE v) {
        if (!pos) return AddTail(v);
        Node* at = N(pos);
        Node* n = new Node{at->next, at, TYPE(v)};
        if (at->next)
            at->next->prev = n;
        else
            m_tail = n;
        at->next = n;
        ++m_count;
        return P(n);
    }
    // Searches after startAfter (or from the head) for an element equal to v.
    POSITION Find(ARG_TYPE v, POSITION startAfter = nullptr) const {
        Node* n = startAfter ? N(startAfter)->next : m_head;
        for (; n; n = n->next)
            if (n->data == v) return P(n);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0 || index >= m_count) return nullptr;
        Node* n = m_head;
        while (index-- > 0)
            n = n->next;
        return P(n);
    }

private:
    void unlink(Node* n) {
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        delete n;
        --m_count;
    }
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

#define AFX_DECLARE_LIST_(name, TYPE, ARG)                                                                   \
    class name : public CList<TYPE, ARG> {                                                                   \
        DECLARE_DYNCREATE(name)                                                                              \
    public:                                                                                                  \
        using CList<TYPE, ARG>::CList;                                                                       \
    };

AFX_DECLARE_LIST_(CStringList, CString, const char*)
AFX_DECLARE_LIST_(CPtrList, void*, void*)
AFX_DECLARE_LIST_(CObList, CObject*, CObject*)

// ---------------------------------------------------------------- maps
// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: hash map iterated with POSITION. Iteration order is
// the order of first insertion, so that output built from a map is deterministic.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
    struct Node {
        Node* next = nullptr;
        Node* prev = nullptr;
        KEY key;
        VALUE value;
    };
    static Node* N(POSITION p) { return reinterpret_cast<Node*>(p); }
    static POSITION P(Node* n) { return reinterpret_cast<POSITION>(n); }

public:
    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    CMap(const CMap& o) : CObject() { copyFrom(o); }
    CMap& operator=(const CMap& o) {
        if (this != &o) {
            RemoveAll();
            copyFrom(o);
        }
        return *this;
    }
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_index.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_index.empty(); }
    void InitHashTable(UINT size, BOOL = TRUE) { m_index.reserve(size); }
    UINT GetHashTableSize() const { return static_cast<UINT>(m_index.bucket_count()); }

    BOOL Lookup(ARG_KEY key, VALUE& out) const {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end()) return FALSE;
        out = it->second->value;
        return TRUE;
    }
    // Address of the stored value, or nullptr.
    VALUE* PLookupValue(ARG_KEY key) {
        auto it = m_index.find(KEY(key));
        return it == m_index.end() ? nullptr : &it->second->value;
    }
    BOOL HasKey(ARG_KEY key) const { return m_index.count(KEY(key)) != 0; }
    VALUE& operator[](ARG_KEY key) {
        KEY k(key);
        auto it = m_index.find(k);
        if (it != m_index.end()) return it->second->value;
        Node* n = new Node{nullptr, m_tail, k, VALUE()};
        if (m_tail)
            m_tail->next = n;
        else
            m_head = n;
        m_tail = n;
        m_index.emplace(std::move(k), n);
        return n->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE v) { (*this)[key] = v; }
    BOOL RemoveKey(ARG_KEY key) {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end()) return FALSE;
        Node* n = it->second;
        m_index.erase(it);
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        delete n;
        return TRUE;
    }
    void RemoveAll() {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_head = m_tail = nullptr;
        m_index.clear();
    }

    POSITION GetStartPosition() const { return P(m_head); }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
        if (!pos) AfxThrowInvalidArgException();
        Node* n = N(pos);
        key = n->key;
        value = n->value;
        pos = P(n->next);
    }

private:
    void copyFrom(const CMap& o) {
        for (Node* n = o.m_head; n; n = n->next)
            (*this)[n->key] = n->value;
    }
    struct Hash {
        size_t operator()(const KEY& k) const { return std::hash<KEY>()(k); }
    };
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    std::unordered_map<KEY, Node*, Hash> m_index;
};

#define AFX_DECLARE_MAP_(name, K, AK, V, AV)                                                                 \
    class name : public CMap<K, AK, V, AV> {                                                                 \
        DECLARE_DYNCREATE(name)                                                                              \
    public:                                                                                                  \
        using CMap<K, AK, V, AV>::CMap;                                                                      \
    };

AFX_DECLARE_MAP_(CMapStringToString, CString, const char*, CString, const char*)
AFX_DECLARE_MAP_(CMapStringToPtr, CString, const char*, void*, void*)
AFX_DECLARE_MAP_(CMapStringToOb, CString, const char*, CObject*, CObject*)
AFX_DECLARE_MAP_(CMapWordToPtr, WORD, WORD, void*, void*)
AFX_DECLARE_MAP_(CMapWordToOb, WORD, WORD, CObject*, CObject*)
AFX_DECLARE_MAP_(CMapPtrToPtr, void*, void*, void*, void*)
AFX_DECLARE_MAP_(CMapPtrToWord, void*, void*, WORD, WORD)
