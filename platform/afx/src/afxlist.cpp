// The item lists behind list boxes and combo boxes, and the two controls.
#include "afx/afxdlg.h"

#include "afx/afxsortruns.h"
#include "afxctlnotify.h"

#include <algorithm>
#include <iterator>

using afxdetail::copyText;
using afxdetail::notifyParent;

IMPLEMENT_DYNCREATE(CListBox, CWnd)
IMPLEMENT_DYNCREATE(CComboBox, CWnd)

// ---------------------------------------------------------------- item lists
namespace {
bool LessNoCase(const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; }

// Compares the start of an item's text with a prefix, ignoring case: <0, 0 (the item starts with
// it) or >0, consistent with the order of whole texts.
int ComparePrefixNoCase(const CString& text, const CString& prefix) {
    const char* a = text.GetString();
    const char* b = prefix.GetString();
    for (;; ++a, ++b) {
        if (*b == 0) return 0;
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
}
} // namespace

bool CAfxItemList::InOrderAt(size_t i) const {
    const bool afterPrevious = i == 0 || m_items[i - 1].text.CompareNoCase(m_items[i].text) <= 0;
    const bool beforeNext = i + 1 >= m_items.size() || m_items[i].text.CompareNoCase(m_items[i + 1].text) <= 0;
    return afterPrevious && beforeNext;
}

int CAfxItemList::Add(const CString& s, BOOL bSorted) {
    RunPendingFill();
    size_t pos = m_items.size();
    if (bSorted && m_bInOrder) {
        // After every item that is not greater than it.
        auto at = std::upper_bound(m_items.begin(), m_items.end(), s,
                                   [](const CString& key, const Item& item) { return LessNoCase(key, item.text); });
        pos = static_cast<size_t>(at - m_items.begin());
    } else if (bSorted) {
        pos = 0;
        while (pos < m_items.size() && m_items[pos].text.CompareNoCase(s) <= 0)
            ++pos;
    }
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(pos), Item{s, 0, FALSE});
    if (m_bInOrder && !bSorted) m_bInOrder = InOrderAt(pos);
    return static_cast<int>(pos);
}

void CAfxItemList::AddMany(std::vector<NewItem> items, BOOL bSorted, int* pFollow) {
    RunPendingFill();
    if (items.empty()) return;
    const size_t old = m_items.size();
    if (bSorted && !m_bInOrder) {
        // Out of order already: each goes where a single sorted add would put it.
        for (NewItem& n : items) {
            const int at = Add(n.text, TRUE);
            m_items[static_cast<size_t>(at)].data = n.data;
            if (pFollow && *pFollow >= at) ++*pFollow;
        }
        return;
    }
    if (!bSorted) {
        for (NewItem& n : items)
            m_items.push_back(Item{std::move(n.text), n.data, FALSE});
        for (size_t i = old; i < m_items.size() && m_bInOrder; ++i)
            m_bInOrder = InOrderAt(i);
        return;
    }
    // The new items are put in order on their own, then merged with the list in one pass.
    auto byText = [](const NewItem& a, const NewItem& b) { return LessNoCase(a.text, b.text); };
    SortStableRuns(items.begin(), items.end(), byText);
    if (pFollow && *pFollow >= 0 && static_cast<size_t>(*pFollow) < old) {
        // New items that sort before the followed one (equal texts go after it).
        const CString& followed = m_items[static_cast<size_t>(*pFollow)].text;
        *pFollow += static_cast<int>(std::lower_bound(items.begin(), items.end(), followed,
                                                      [](const NewItem& n, const CString& key) { return LessNoCase(n.text, key); }) -
                                     items.begin());
    }
    // Every new item after the last one (a fill of an empty list, most often): appended.
    if (old == 0 || !LessNoCase(items.front().text, m_items[old - 1].text)) {
        for (NewItem& n : items)
            m_items.push_back(Item{std::move(n.text), n.data, FALSE});
        return;
    }
    // Items of equal text: the ones already in the list first.
    CTieredVector<Item> merged;
    merged.reserve(old + items.size());
    size_t i = 0;
    auto next = items.begin();
    while (i < old || next != items.end()) {
        if (next == items.end() || (i < old && !LessNoCase(next->text, m_items[i].text))) {
            merged.push_back(std::move(m_items[i++]));
        } else {
            merged.push_back(Item{std::move(next->text), next->data, FALSE});
            ++next;
        }
    }
    m_items.swap(merged);
}

int CAfxItemList::Insert(int nIndex, const CString& s) {
    RunPendingFill();
    if (nIndex < 0 || nIndex > Count()) nIndex = Count(); // -1 appends
    m_items.insert(m_items.begin() + nIndex, Item{s, 0, FALSE});
    if (m_bInOrder) m_bInOrder = InOrderAt(static_cast<size_t>(nIndex));
    return nIndex;
}

int CAfxItemList::Delete(int nIndex) {
    RunPendingFill();
    if (!Valid(nIndex)) return LB_ERR;
    m_items.erase(m_items.begin() + nIndex);
    if (m_items.empty()) m_bInOrder = true;
    return Count();
}

int CAfxItemList::Find(int nStartAfter, LPCTSTR lpsz, BOOL bExact) const {
    RunPendingFill();
    int n = Count();
    if (n == 0 || !lpsz) return LB_ERR;
    CString key(lpsz);
    if (m_bInOrder) return FindInOrder(nStartAfter, key, bExact);
    int start = (nStartAfter < 0 || nStartAfter >= n) ? 0 : nStartAfter + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        const CString& t = m_items[static_cast<size_t>(i)].text;
        if (bExact ? t.CompareNoCase(key) == 0 : t.Left(key.GetLength()).CompareNoCase(key) == 0) return i;
    }
    return LB_ERR;
}

// The matches of an ordered list are one run of items: the first of them at or after the start,
// else (wrapping) the first of the run.
int CAfxItemList::FindInOrder(int nStartAfter, const CString& key, BOOL bExact) const {
    auto compare = [&](const Item& item) {
        return bExact ? item.text.CompareNoCase(key) : ComparePrefixNoCase(item.text, key);
    };
    auto first = std::partition_point(m_items.begin(), m_items.end(), [&](const Item& i) { return compare(i) < 0; });
    if (first == m_items.end() || compare(*first) != 0) return LB_ERR; // no item matches: no run to measure
    auto last = std::partition_point(first, m_items.end(), [&](const Item& i) { return compare(i) == 0; });
    if (first == last) return LB_ERR;
    const int n = Count();
    const int start = (nStartAfter < 0 || nStartAfter >= n) ? 0 : nStartAfter + 1;
    const int lo = static_cast<int>(first - m_items.begin());
    const int hi = static_cast<int>(last - m_items.begin());
    return start > lo && start < hi ? start : lo;
}

// ---------------------------------------------------------------- CListBox
BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", "", dwStyle, rect, pParentWnd, nID);
}

int CListBox::AddString(LPCTSTR lpszItem) {
    return m_list.Add(lpszItem, (GetStyle() & LBS_SORT) != 0);
}

void CListBox::AddStrings(std::vector<CAfxItemList::NewItem> items) {
    m_list.AddMany(std::move(items), (GetStyle() & LBS_SORT) != 0, &m_nCurSel);
}

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem) {
    if (nIndex > GetCount()) return LB_ERR;
    int at = m_list.Insert(nIndex, lpszItem);
    if (m_nCurSel >= at) ++m_nCurSel;
    return at;
}

int CListBox::DeleteString(UINT nIndex) {
    int i = static_cast<int>(nIndex);
    if (!m_list.Valid(i)) return LB_ERR;
    m_list.Delete(i);
    if (m_nCurSel == i)
        m_nCurSel = LB_ERR;
    else if (m_nCurSel > i)
        --m_nCurSel;
    return GetCount();
}

void CListBox::ResetContent() {
    m_list.Reset();
    m_nCurSel = LB_ERR;
    m_nTop = 0;
}

int CListBox::GetText(int nIndex, CString& rString) const {
    if (!m_list.Valid(nIndex)) {
        rString.Empty();
        return LB_ERR;
    }
    rString = m_list.m_items[static_cast<size_t>(nIndex)].text;
    return rString.GetLength();
}

int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
    CString s;
    if (GetText(nIndex, s) == LB_ERR) return LB_ERR;
    return copyText(s, lpszBuffer);
}

int CListBox::GetTextLen(int nIndex) const {
    return m_list.Valid(nIndex) ? m_list.m_items[static_cast<size_t>(nIndex)].text.GetLength() : LB_ERR;
}

int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem) {
    int i = FindString(nStartAfter, lpszItem);
    if (i != LB_ERR) SetCurSel(i);
    return i;
}

int CListBox::SetCurSel(int nSelect) {
    m_list.RunPendingFill();
    if (nSelect != -1 && !m_list.Valid(nSelect)) {
        m_nCurSel = LB_ERR;
        return LB_ERR;
    }
    m_nCurSel = nSelect;
    for (size_t i = 0; i < m_list.m_items.size(); ++i)
        m_list.m_items[i].selected = static_cast<int>(i) == nSelect;
    return nSelect == -1 ? LB_ERR : nSelect;
}

int CListBox::GetSel(int nIndex) const {
    return m_list.Valid(nIndex) ? (m_list.m_items[static_cast<size_t>(nIndex)].selected ? 1 : 0) : LB_ERR;
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
    m_list.RunPendingFill();
    if (nIndex == -1) {
        for (auto& i : m_list.m_items)
            i.selected = bSelect;
        return 0;
    }
    if (!m_list.Valid(nIndex)) return LB_ERR;
    m_list.m_items[static_cast<size_t>(nIndex)].selected = bSelect;
    if (bSelect) m_nCurSel = nIndex;
    return 0;
}

int CListBox::GetSelCount() const {
    m_list.RunPendingFill();
    int n = 0;
    for (const auto& i : m_list.m_items)
        n += i.selected ? 1 : 0;
    return n;
}

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const {
    int n = 0;
    for (int i = 0; i < GetCount() && n < nMaxItems; ++i)
        if (m_list.m_items[static_cast<size_t>(i)].selected) rgIndex[n++] = i;
    return n;
}

DWORD_PTR CListBox::GetItemData(int nIndex) const {
    return m_list.Valid(nIndex) ? m_list.m_items[static_cast<size_t>(nIndex)].data
                                : static_cast<DWORD_PTR>(LB_ERR);
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    if (!m_list.Valid(nIndex)) return LB_ERR;
    m_list.m_items[static_cast<size_t>(nIndex)].data = dwItemData;
    return 0;
}

int CListBox::SetTopIndex(int nIndex) {
    if (!m_list.Valid(nIndex)) return LB_ERR;
    m_nTop = nIndex;
    return 0;
}

LRESULT CListBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    auto text = reinterpret_cast<LPCSTR>(lParam);
    switch (message) {
    case LB_ADDSTRING:
        return AddString(text);
    case LB_INSERTSTRING:
        return InsertString(static_cast<int>(wParam), text);
    case LB_DELETESTRING:
        return DeleteString(static_cast<UINT>(wParam));
    case LB_RESETCONTENT:
        ResetContent();
        return 0;
    case LB_SETCURSEL:
        return SetCurSel(static_cast<int>(wParam));
    case LB_GETCURSEL:
        return GetCurSel();
    case LB_GETTEXT:
        return GetText(static_cast<int>(wParam), reinterpret_cast<LPSTR>(lParam));
    case LB_GETTEXTLEN:
        return GetTextLen(static_cast<int>(wParam));
    case LB_GETCOUNT:
        return GetCount();
    case LB_SELECTSTRING:
        return SelectString(static_cast<int>(wParam), text);
    case LB_FINDSTRING:
        return FindString(static_cast<int>(wParam), text);
    case LB_FINDSTRINGEXACT:
        return FindStringExact(static_cast<int>(wParam), text);
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------- CComboBox
BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", "", dwStyle, rect, pParentWnd, nID);
}

int CComboBox::AddString(LPCTSTR lpszString) {
    int at = m_list.Add(lpszString, (GetStyle() & CBS_SORT) != 0);
    if (m_nCurSel >= at) ++m_nCurSel;
    return at;
}

void CComboBox::AddStrings(std::vector<CAfxItemList::NewItem> items) {
    m_list.AddMany(std::move(items), (GetStyle() & CBS_SORT) != 0, &m_nCurSel);
}

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
    if (nIndex > GetCount()) return CB_ERR;
    int at = m_list.Insert(nIndex, lpszString);
    if (m_nCurSel >= at) ++m_nCurSel;
    return at;
}

int CComboBox::DeleteString(UINT nIndex) {
    int i = static_cast<int>(nIndex);
    if (!m_list.Valid(i)) return CB_ERR;
    m_list.Delete(i);
    if (m_nCurSel == i)
        m_nCurSel = CB_ERR;
    else if (m_nCurSel > i)
        --m_nCurSel;
    return GetCount();
}

void CComboBox::ResetContent() {
    m_list.Reset();
    m_nCurSel = CB_ERR;
    m_strText.Empty();
}

int CComboBox::GetLBText(int nIndex, CString& rString) const {
    if (!m_list.Valid(nIndex)) {
        rString.Empty();
        return CB_ERR;
    }
    rString = m_list.m_items[static_cast<size_t>(nIndex)].text;
    return rString.GetLength();
}

int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    CString s;
    if (GetLBText(nIndex, s) == CB_ERR) return CB_ERR;
    return copyText(s, lpszText);
}

int CComboBox::GetLBTextLen(int nIndex) const {
    return m_list.Valid(nIndex) ? m_list.m_items[static_cast<size_t>(nIndex)].text.GetLength() : CB_ERR;
}

int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString) {
    int i = FindString(nStartAfter, lpszString);
    if (i != CB_ERR) SetCurSel(i);
    return i;
}

int CComboBox::SetCurSel(int nSelect) {
    m_list.RunPendingFill();
    if (nSelect == -1 || !m_list.Valid(nSelect)) {
        m_nCurSel = CB_ERR;
        m_strText.Empty();
        return CB_ERR;
    }
    m_nCurSel = nSelect;
    m_strText = m_list.m_items[static_cast<size_t>(nSelect)].text;
    return nSelect;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return m_list.Valid(nIndex) ? m_list.m_items[static_cast<size_t>(nIndex)].data
                                : static_cast<DWORD_PTR>(CB_ERR);
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    if (!m_list.Valid(nIndex)) return CB_ERR;
    m_list.m_items[static_cast<size_t>(nIndex)].data = dwItemData;
    return 0;
}

void CComboBox::ChooseItem(int nIndex) {
    if (SetCurSel(nIndex) == CB_ERR) return;
    notifyParent(this, CBN_SELCHANGE);
    if (m_hWnd) notifyParent(this, CBN_SELENDOK);
}

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    auto text = reinterpret_cast<LPCSTR>(lParam);
    switch (message) {
    case CB_ADDSTRING:
        return AddString(text);
    case CB_INSERTSTRING:
        return InsertString(static_cast<int>(wParam), text);
    case CB_DELETESTRING:
        return DeleteString(static_cast<UINT>(wParam));
    case CB_RESETCONTENT:
        ResetContent();
        return 0;
    case CB_SETCURSEL:
        return SetCurSel(static_cast<int>(wParam));
    case CB_GETCURSEL:
        return GetCurSel();
    case CB_GETLBTEXT:
        return GetLBText(static_cast<int>(wParam), reinterpret_cast<LPSTR>(lParam));
    case CB_GETCOUNT:
        return GetCount();
    case CB_SELECTSTRING:
        return SelectString(static_cast<int>(wParam), text);
    case CB_FINDSTRING:
        return FindString(static_cast<int>(wParam), text);
    case CB_FINDSTRINGEXACT:
        return FindStringExact(static_cast<int>(wParam), text);
    case CB_SHOWDROPDOWN:
        ShowDropDown(static_cast<BOOL>(wParam));
        return TRUE;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

