#include "afx/afxdlg.h"
#include "afx/afxwinerror.h"

#include "afx/afxanswer.h"
#include "afx/afxsortruns.h"
#include <algorithm>
#include <cctype>

#include <cerrno>
#include <cxxabi.h>
#include <typeinfo>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <type_traits>

namespace {
void notifyParent(CWnd* ctl, UINT code) {
    CWnd* parent = ctl->GetParent();
    if (parent && ctl->GetDlgCtrlID())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(ctl->GetDlgCtrlID(), code),
                            reinterpret_cast<LPARAM>(ctl->m_hWnd));
}
int copyText(const CString& s, LPTSTR buf) {
    if (!buf) return s.GetLength();
    std::memcpy(buf, s.GetString(), static_cast<size_t>(s.GetLength()) + 1);
    return s.GetLength();
}
} // namespace

// ---------------------------------------------------------------- simple controls
IMPLEMENT_DYNCREATE(CStatic, CWnd)
IMPLEMENT_DYNCREATE(CButton, CWnd)
IMPLEMENT_DYNCREATE(CEdit, CWnd)
IMPLEMENT_DYNCREATE(CListBox, CWnd)
IMPLEMENT_DYNCREATE(CComboBox, CWnd)
IMPLEMENT_DYNCREATE(CScrollBar, CWnd)
IMPLEMENT_DYNCREATE(CListCtrl, CWnd)
IMPLEMENT_DYNCREATE(CToolTipCtrl, CWnd)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::Click() {
    DWORD type = GetStyle() & 0x0F;
    if (type == BS_AUTOCHECKBOX)
        m_nCheck = m_nCheck ? BST_UNCHECKED : BST_CHECKED;
    else if (type == BS_AUTORADIOBUTTON)
        m_nCheck = BST_CHECKED;
    notifyParent(this, BN_CLICKED);
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK:
        return m_nCheck;
    case BM_SETCHECK:
        m_nCheck = static_cast<int>(wParam);
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", "", dwStyle, rect, pParentWnd, nID);
}

void CEdit::clampSel() {
    int len = GetWindowTextLength();
    m_nSelStart = std::clamp(m_nSelStart, 0, len);
    m_nSelEnd = std::clamp(m_nSelEnd, 0, len);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    nStartChar = m_nSelStart;
    nEndChar = m_nSelEnd;
}

DWORD CEdit::GetSel() const {
    return static_cast<DWORD>(MAKELONG(m_nSelStart, m_nSelEnd));
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    (void)bNoScroll;
    if (nStartChar == -1) { // -1 removes the selection
        m_nSelStart = m_nSelEnd;
        return;
    }
    int len = GetWindowTextLength();
    if (nEndChar < 0) nEndChar = len; // (0, -1) selects all
    if (nStartChar > nEndChar) std::swap(nStartChar, nEndChar);
    m_nSelStart = nStartChar;
    m_nSelEnd = nEndChar;
    clampSel();
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
    (void)bCanUndo;
    clampSel();
    CString text = m_strText;
    CString ins(lpszNewText);
    CString out = text.Left(m_nSelStart) + ins + text.Mid(m_nSelEnd);
    if (m_nLimit > 0 && out.GetLength() > m_nLimit) {
        int room = m_nLimit - (text.GetLength() - (m_nSelEnd - m_nSelStart));
        ins = ins.Left(std::max(0, room));
        out = text.Left(m_nSelStart) + ins + text.Mid(m_nSelEnd);
    }
    m_strText = out;
    m_nSelStart = m_nSelEnd = m_nSelStart + ins.GetLength();
    notifyParent(this, EN_CHANGE);
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    if (bReadOnly)
        ModifyStyle(0, ES_READONLY);
    else
        ModifyStyle(ES_READONLY, 0);
    return TRUE;
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_GETSEL:
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(m_nSelStart);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(m_nSelEnd);
        return static_cast<LRESULT>(GetSel());
    case EM_SETSEL:
        SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case EM_REPLACESEL:
        ReplaceSel(reinterpret_cast<LPCSTR>(lParam), static_cast<BOOL>(wParam));
        return 0;
    case EM_LIMITTEXT:
        m_nLimit = static_cast<int>(wParam);
        return 0;
    case WM_SETTEXT: {
        LRESULT r = CWnd::DefWindowProc(message, wParam, lParam);
        m_nSelStart = m_nSelEnd = 0;
        return r;
    }
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

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

// ---------------------------------------------------------------- CListCtrl
BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysListView32", "", dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
    (void)nSubItem;
    if (nCol < 0) return -1;
    if (nCol > GetColumnCount()) nCol = GetColumnCount();
    m_columns.insert(m_columns.begin() + nCol, Column{lpszColumnHeading, nFormat, nWidth < 0 ? 0 : nWidth});
    for (auto& r : m_rows)
        if (static_cast<int>(r.texts.size()) > nCol) r.texts.insert(r.texts.begin() + nCol, CString());
    return nCol;
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    if (nCol < 0 || nCol >= GetColumnCount()) return FALSE;
    m_columns.erase(m_columns.begin() + nCol);
    for (auto& r : m_rows)
        if (static_cast<int>(r.texts.size()) > nCol) r.texts.erase(r.texts.begin() + nCol);
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    return nCol >= 0 && nCol < GetColumnCount() ? m_columns[static_cast<size_t>(nCol)].width : 0;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    if (nCol < 0 || nCol >= GetColumnCount()) return FALSE;
    m_columns[static_cast<size_t>(nCol)].width = cx;
    return TRUE;
}

CString CListCtrl::GetColumnText(int nCol) const {
    return nCol >= 0 && nCol < GetColumnCount() ? m_columns[static_cast<size_t>(nCol)].text : CString();
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
    (void)nImage;
    if (nItem < 0 || IsOwnerData()) return -1;
    if (nItem > GetItemCount()) nItem = GetItemCount();
    Row r;
    r.texts.push_back(lpszItem);
    if (nMask & LVIF_STATE) r.state = nState & nStateMask;
    if (nMask & LVIF_PARAM) r.data = static_cast<DWORD_PTR>(lParam);
    m_rows.insert(m_rows.begin() + nItem, std::move(r));
    return nItem;
}

BOOL CListCtrl::SetItemCountEx(int iCount, DWORD dwFlags) {
    (void)dwFlags;
    if (!IsOwnerData() || iCount < 0) return FALSE;
    m_nOwnerCount = iCount;
    m_ownerStates.erase(m_ownerStates.lower_bound(iCount), m_ownerStates.end());
    return TRUE;
}

CString CListCtrl::OnGetItemText(int nItem, int nSubItem) const {
    (void)nItem, (void)nSubItem;
    return CString();
}

DWORD_PTR CListCtrl::OnGetItemData(int nItem) const {
    (void)nItem;
    return 0;
}

UINT& CListCtrl::StateOf(int nItem) {
    return IsOwnerData() ? m_ownerStates[nItem] : m_rows[static_cast<size_t>(nItem)].state;
}

UINT CListCtrl::StateOf(int nItem) const {
    if (!IsOwnerData()) return m_rows[static_cast<size_t>(nItem)].state;
    const auto it = m_ownerStates.find(nItem);
    return it == m_ownerStates.end() ? 0 : it->second;
}

BOOL CListCtrl::DeleteItem(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount() || IsOwnerData()) return FALSE;
    m_rows.erase(m_rows.begin() + nItem);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    m_rows.clear();
    m_nOwnerCount = 0;
    m_ownerStates.clear();
    return TRUE;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    if (nItem < 0 || nItem >= GetItemCount() || nSubItem < 0 || IsOwnerData()) return FALSE;
    auto& t = m_rows[static_cast<size_t>(nItem)].texts;
    if (static_cast<int>(t.size()) <= nSubItem) t.resize(static_cast<size_t>(nSubItem) + 1);
    t[static_cast<size_t>(nSubItem)] = lpszText;
    return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    if (nItem < 0 || nItem >= GetItemCount() || nSubItem < 0) return CString();
    if (IsOwnerData()) return OnGetItemText(nItem, nSubItem);
    const auto& t = m_rows[static_cast<size_t>(nItem)].texts;
    return nSubItem < static_cast<int>(t.size()) ? t[static_cast<size_t>(nSubItem)] : CString();
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    if (nItem < 0 || nItem >= GetItemCount() || IsOwnerData()) return FALSE;
    m_rows[static_cast<size_t>(nItem)].data = dwData;
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    if (nItem < 0 || nItem >= GetItemCount()) return 0;
    return IsOwnerData() ? OnGetItemData(nItem) : m_rows[static_cast<size_t>(nItem)].data;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    if (nItem == -1 && IsOwnerData()) {
        // Only the items that have a state can lose it; setting a state on every item is refused.
        if (nState & nMask) return FALSE;
        for (auto it = m_ownerStates.begin(); it != m_ownerStates.end();)
            it = (it->second &= ~nMask) ? std::next(it) : m_ownerStates.erase(it);
        return TRUE;
    }
    if (nItem == -1) {
        for (auto& r : m_rows)
            r.state = (r.state & ~nMask) | (nState & nMask);
        return TRUE;
    }
    if (nItem < 0 || nItem >= GetItemCount()) return FALSE;
    UINT& state = StateOf(nItem);
    state = (state & ~nMask) | (nState & nMask);
    if (!state && IsOwnerData()) m_ownerStates.erase(nItem);
    return TRUE;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    return nItem >= 0 && nItem < GetItemCount() ? StateOf(nItem) & nMask : 0;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    const auto wanted = [nFlags](UINT st) {
        return !((nFlags & LVNI_SELECTED) && !(st & LVIS_SELECTED)) && !((nFlags & LVNI_FOCUSED) && !(st & LVIS_FOCUSED));
    };
    if (IsOwnerData() && (nFlags & (LVNI_SELECTED | LVNI_FOCUSED))) {
        // Only items with a state can be selected or focused: those are walked, not every item.
        for (auto it = m_ownerStates.upper_bound(nItem); it != m_ownerStates.end(); ++it)
            if (it->first < GetItemCount() && wanted(it->second)) return it->first;
        return -1;
    }
    for (int i = nItem + 1; i < GetItemCount(); ++i)
        if (wanted(StateOf(i))) return i;
    return -1;
}

UINT CListCtrl::GetSelectedCount() const {
    UINT n = 0;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        ++n;
    return n;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int i = GetNextItem(-1, LVNI_SELECTED);
    return i < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(i) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    if (!pos) return -1;
    int i = static_cast<int>(reinterpret_cast<UINT_PTR>(pos)) - 1;
    int next = GetNextItem(i, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(next) + 1);
    return i;
}

int CListCtrl::FindItemByText(LPCTSTR lpszText) const {
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetItemText(i, 0) == lpszText) return i;
    return -1;
}

// ---------------------------------------------------------------- CToolTipCtrl
BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    return CWnd::CreateEx(0, "tooltips_class32", "", dwStyle | WS_POPUP, CRect(), pParentWnd, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    (void)lpRectTool;
    if (!pWnd) return FALSE;
    m_tools[{pWnd->m_hWnd, nIDTool}] = lpszText;
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    CString s;
    s.LoadString(nIDText);
    return AddTool(pWnd, s, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    if (pWnd) m_tools.erase({pWnd->m_hWnd, nIDTool});
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    if (!pWnd) return;
    auto it = m_tools.find({pWnd->m_hWnd, nIDTool});
    if (it != m_tools.end()) it->second = lpszText;
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    str.Empty();
    if (!pWnd) return;
    auto it = m_tools.find({pWnd->m_hWnd, nIDTool});
    if (it != m_tools.end()) str = it->second;
}

// ---------------------------------------------------------------- data exchange
void CDataExchange::Fail() {
    m_bFailed = TRUE;
    throw CUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* c = pDX->PrepareCtrl(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate)
        c->GetWindowText(value);
    else
        c->SetWindowText(value);
}

namespace {
template <class T> void ddxNumber(CDataExchange* pDX, int nIDC, T& value, const char* fmt, const char* err) {
    CWnd* c = pDX->PrepareCtrl(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        CString s;
        c->GetWindowText(s);
        s.Trim();
        errno = 0;
        char* end = nullptr;
        T v;
        if constexpr (std::is_floating_point_v<T>)
            v = static_cast<T>(std::strtod(s, &end));
        else if constexpr (std::is_unsigned_v<T>) {
            unsigned long long u = std::strtoull(s, &end, 10);
            v = static_cast<T>(u);
            if (s.Find('-') >= 0 || u > static_cast<unsigned long long>(std::numeric_limits<T>::max()))
                errno = ERANGE;
        } else {
            long long l = std::strtoll(s, &end, 10);
            v = static_cast<T>(l);
            if (l < std::numeric_limits<T>::min() || l > std::numeric_limits<T>::max()) errno = ERANGE;
        }
        if (s.IsEmpty() || !end || *end != '\0' || errno == ERANGE) {
            AfxMessageBox(err, MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = v;
    } else {
        CString s;
        s.Format(fmt, value);
        c->SetWindowText(s);
    }
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ddxNumber(pDX, nIDC, value, "%d", "Please enter an integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ddxNumber(pDX, nIDC, value, "%u", "Please enter a positive integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ddxNumber(pDX, nIDC, value, "%ld", "Please enter an integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    ddxNumber(pDX, nIDC, value, "%.15g", "Please enter a number.");
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CButton* b = pDX->PrepareCtrl<CButton>(nIDC);
    if (!b) return;
    if (pDX->m_bSaveAndValidate)
        value = b->GetCheck();
    else
        b->SetCheck(value);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* first = pDX->PrepareCtrl(nIDC);
    if (!first || !first->GetParent()) return;
    const auto& sib = first->GetParent()->GetChildren();
    auto it = std::find(sib.begin(), sib.end(), first);
    if (pDX->m_bSaveAndValidate) value = -1;
    for (int i = 0; it != sib.end(); ++it, ++i) {
        if (i > 0 && ((*it)->GetStyle() & WS_GROUP)) break;
        auto* b = dynamic_cast<CButton*>(*it);
        if (!b) continue;
        if (pDX->m_bSaveAndValidate) {
            if (b->GetCheck()) value = i;
        } else {
            b->SetCheck(i == value ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        c->GetWindowText(value);
    } else if ((c->GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
        if (c->SelectString(-1, value) == CB_ERR) c->SetCurSel(-1);
    } else {
        c->SetWindowText(value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        c->GetWindowText(value);
        return;
    }
    int i = c->FindStringExact(-1, value);
    if (i != CB_ERR)
        c->SetCurSel(i);
    else if ((c->GetStyle() & 0x3) == CBS_DROPDOWNLIST)
        c->SetCurSel(-1);
    else
        c->SetWindowText(value);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate)
        index = c->GetCurSel();
    else
        c->SetCurSel(index);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    CListBox* l = pDX->PrepareCtrl<CListBox>(nIDC);
    if (!l) return;
    if (pDX->m_bSaveAndValidate) {
        int i = l->GetCurSel();
        if (i == LB_ERR)
            value.Empty();
        else
            l->GetText(i, value);
    } else if (l->SelectString(-1, value) == LB_ERR) {
        l->SetCurSel(-1);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    CListBox* l = pDX->PrepareCtrl<CListBox>(nIDC);
    if (!l) return;
    if (pDX->m_bSaveAndValidate)
        index = l->GetCurSel();
    else
        l->SetCurSel(index);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd || !pDX->m_pDlgWnd || !pDX->m_pDlgWnd->m_hWnd) return;
    CWnd* dlg = pDX->m_pDlgWnd;
    CWnd* existing = dlg->GetDlgItem(nIDC);
    CString text;
    DWORD style = WS_CHILD | WS_VISIBLE, exStyle = 0;
    CRect rect;
    CFont* font = nullptr;
    if (existing) {
        if (!existing->m_bAutoDelete) return; // someone else's window: leave it
        existing->GetWindowText(text);
        style = existing->GetStyle();
        exStyle = existing->GetExStyle();
        existing->GetWindowRect(&rect);
        dlg->ScreenToClient(&rect);
        font = existing->GetFont();
        existing->DestroyWindow(); // deletes it
    }
    if (rControl.CreateEx(exStyle, nullptr, text, style | WS_CHILD, rect, dlg, static_cast<UINT>(nIDC)) &&
        font)
        rControl.SetFont(font, FALSE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        CString msg;
        msg.Format("Enter no more than %d characters.", nChars);
        AfxMessageBox(msg, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString msg;
        msg.Format("Please enter an integer between %d and %d.", minVal, maxVal);
        AfxMessageBox(msg, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// ---------------------------------------------------------------- template controls
namespace {

// The window object of a control class the framework knows; null for any other class.
CWnd* NewFrameworkControl(const CString& cls) {
    if (cls.CompareNoCase("BUTTON") == 0) return new CButton;
    if (cls.CompareNoCase("EDIT") == 0) return new CEdit;
    if (cls.CompareNoCase("STATIC") == 0) return new CStatic;
    if (cls.CompareNoCase("COMBOBOX") == 0) return new CComboBox;
    if (cls.CompareNoCase("LISTBOX") == 0) return new CListBox;
    if (cls.CompareNoCase("SysListView32") == 0) return new CListCtrl;
    return nullptr;
}

// The system's other control classes: always registered, made here as plain windows of that class.
bool IsSystemControlClass(const CString& cls) {
    static const char* const kClasses[] = {
        "SCROLLBAR",         "msctls_progress32", "msctls_updown32",   "msctls_trackbar32", "msctls_hotkey32",
        "msctls_statusbar32", "SysTreeView32",    "SysTabControl32",   "SysHeader32",       "SysDateTimePick32",
        "SysMonthCal32",     "SysAnimate32",      "SysIPAddress32",    "SysLink",           "ComboBoxEx32",
        "ToolbarWindow32",   "ReBarWindow32",     "tooltips_class32",  "RichEdit20A",       "RICHEDIT"};
    for (const char* name : kClasses)
        if (cls.CompareNoCase(name) == 0) return true;
    return false;
}

// Creates one control of a template; FALSE (with the system's error code set) when it could not be.
BOOL CreateTemplateControl(CWnd* pParent, const AfxDlgItemDef& item) {
    const CString cls(item.className ? item.className : "");
    const DWORD style = item.style | WS_CHILD;
    CWnd* w = NewFrameworkControl(cls);
    if (!w && !IsSystemControlClass(cls)) {
        // A custom control: a window of a registered class, made by its class's procedure.
        if (!GetClassInfoA(nullptr, cls, nullptr)) {
            ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return FALSE;
        }
        HWND h = ::CreateWindowExA(0, cls, item.text, style, item.x, item.y, item.cx, item.cy, pParent->m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), nullptr, nullptr);
        CWnd* made = CWnd::FromHandle(h);
        if (!made) {
            // The class is there but gave no window: not the error of a class that is missing.
            ::SetLastError(ERROR_CANNOT_CREATE_WINDOW);
            return FALSE;
        }
        made->SetFont(pParent->GetFont(), FALSE);
        return TRUE;
    }
    if (!w) w = new CWnd;
    w->m_bAutoDelete = TRUE;
    CRect r(item.x, item.y, item.x + item.cx, item.y + item.cy);
    if (!w->CreateEx(0, item.className, item.text, style, r, pParent, item.id)) {
        if (!w->m_hWnd) delete w;
        return FALSE;
    }
    w->SetFont(pParent->GetFont(), FALSE);
    return TRUE;
}

} // namespace

BOOL AfxCreateTemplateControls(CWnd* pParent, UINT nIDTemplate) {
    const AfxDialogDef* def = nIDTemplate ? AfxFindDialogResource(nIDTemplate) : nullptr;
    if (!def || !pParent) return TRUE;
    for (const auto& item : def->items)
        if (!CreateTemplateControl(pParent, item)) return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------- CDialog
IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_nIDTemplate(IS_INTRESOURCE(lpszTemplateName)
                        ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName))
                        : 0),
      m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd) DestroyWindow();
}

CString CDialog::GetAnswerKey() const {
    // The object's own class name, whether or not the class declared run-time information.
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
    CString name =
        (status == 0 && demangled) ? CString(demangled) : CString(GetRuntimeClass()->m_lpszClassName);
    std::free(demangled);
    // Without namespaces (template arguments, if any, are kept).
    int angle = name.Find('<');
    CString head = angle >= 0 ? name.Left(angle) : name;
    int colon = head.ReverseFind(':');
    if (colon >= 0) name = name.Mid(colon + 1);
    return name;
}

BOOL CDialog::createDialog(CWnd* pParentWnd) {
    const AfxDialogDef* def = m_nIDTemplate ? AfxFindDialogResource(m_nIDTemplate) : nullptr;
    DWORD style = def ? def->style : WS_POPUP;
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_POPUP;
    CRect r(0, 0, def ? def->cx : 0, def ? def->cy : 0);
    m_fieldNames.clear();
    if (def)
        for (const auto& item : def->items)
            if (item.name && *item.name) m_fieldNames[item.name] = item.id;
    if (!CWnd::CreateEx(0, "#32770", def ? def->caption.GetString() : "", style, r, pParentWnd, 0))
        return FALSE;
    SetFont(AfxGetDefaultFont(), FALSE);
    if (!AfxCreateTemplateControls(this, m_nIDTemplate)) {
        // As the system does: a dialog whose controls cannot all be made does not open.
        const DWORD error = ::GetLastError();
        DestroyWindow();
        ::SetLastError(error);
        return FALSE;
    }
    HWND self = m_hWnd;
    OnInitDialog();
    return CWnd::FromHandle(self) == this;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bEnded = FALSE;
    return createDialog(pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    UINT id = IS_INTRESOURCE(lpszTemplateName)
                  ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName))
                  : 0;
    return Create(id, pParentWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = TRUE;
    if (m_hWnd) ShowWindow(SW_HIDE);
}

CWnd* CDialog::FindField(const CString& name) const {
    auto it = m_fieldNames.find(name);
    if (it != m_fieldNames.end()) return GetDlgItem(static_cast<int>(it->second));
    if (name.IsEmpty() || name.SpanIncluding("0123456789") != name) return nullptr;
    return GetDlgItem(std::atoi(name));
}

void CDialog::ApplyFieldValue(CWnd* pCtrl, const CString& value) {
    if (!pCtrl) return;
    if (auto* b = dynamic_cast<CButton*>(pCtrl)) {
        int check = (value == "1" || value.CompareNoCase("true") == 0 || value.CompareNoCase("on") == 0)
                        ? BST_CHECKED
                        : BST_UNCHECKED;
        if (b->GetCheck() != check) {
            b->SetCheck(check);
            notifyParent(b, BN_CLICKED);
        }
    } else if (auto* c = dynamic_cast<CComboBox*>(pCtrl)) {
        int i = c->FindStringExact(-1, value);
        if (i != CB_ERR) {
            c->ChooseItem(i);
        } else {
            c->SetCurSel(-1);
            c->SetWindowText(value);
            notifyParent(c, CBN_EDITCHANGE);
        }
    } else if (auto* l = dynamic_cast<CListBox*>(pCtrl)) {
        l->SetCurSel(l->FindStringExact(-1, value));
        notifyParent(l, LBN_SELCHANGE);
    } else {
        pCtrl->SetWindowText(value);
        if (dynamic_cast<CEdit*>(pCtrl)) notifyParent(pCtrl, EN_CHANGE);
    }
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!createDialog(parent)) return -1;
    HWND self = m_hWnd;
    CString key = GetAnswerKey();
    while (!m_bEnded) {
        AfxDialogAnswer answer;
        if (!AfxGetAnswerQueue().TakeDialog(key, answer)) {
            OnCancel();
            if (CWnd::FromHandle(self) != this) return m_nModalResult;
            if (!m_bEnded) EndDialog(IDCANCEL);
            break;
        }
        for (const auto& [name, value] : answer.fields) {
            ApplyFieldValue(FindField(name), value);
            if (CWnd::FromHandle(self) != this) return m_nModalResult;
        }
        OnOK(); // a validation failure leaves the dialog open for the next scripted answer
        if (CWnd::FromHandle(self) != this) return m_nModalResult;
    }
    int result = m_nModalResult;
    if (CWnd::FromHandle(self) == this) DestroyWindow();
    return result;
}
