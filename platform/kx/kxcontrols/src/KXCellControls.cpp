#include "kxcontrols/KXCellControls.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_set>

#include "grid/gxcore.h"
#include "grid/gxstyle.h"
#include "kxcontrols/KXRegistrySettings.h"

IMPLEMENT_DYNAMIC(CKXListHeader, CGXHeader)
IMPLEMENT_DYNAMIC(CKXPupdCtrl, CGXStatic)
IMPLEMENT_DYNAMIC(CKXDynCombo, CGXComboBox)
IMPLEMENT_DYNAMIC(CKXGridACCombo, CGXComboBox)
IMPLEMENT_DYNAMIC(CKXBitMapComboBox, CGXComboBox)
IMPLEMENT_DYNAMIC(CKXWndWrapper, CGXWndWrapper)
IMPLEMENT_DYNCREATE(CKXCellTipWndFactory, CObject)

// ------------------------------------------------------------------------------------------ list header

CKXListHeader::CKXListHeader(CGXGridCore* pGrid, ULONG nSortCol) : CGXHeader(pGrid) {
    if (nSortCol != static_cast<ULONG>(-1)) m_nArrowCol = static_cast<ROWCOL>(nSortCol);
}

void CKXListHeader::ResetArrow(ROWCOL nHeaderRow, ROWCOL nCol) {
    BOOL same = nHeaderRow == m_nArrowRow && nCol == m_nArrowCol;
    ResetArrow(nHeaderRow, nCol, same ? !m_bAscending : TRUE);
}

void CKXListHeader::ResetArrow(ROWCOL nHeaderRow, ROWCOL nCol, BOOL bAscending) {
    m_nArrowRow = nHeaderRow;
    m_nArrowCol = nCol;
    m_bAscending = bAscending ? TRUE : FALSE;
}

BOOL CKXListHeader::GetControlText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCTSTR pszRawValue,
                                   const CGXStyle& style) {
    CGXHeader::GetControlText(strResult, nRow, nCol, pszRawValue, style);
    if (nCol == m_nArrowCol && (m_nArrowRow == GX_INVALID || nRow == m_nArrowRow))
        strResult += m_bAscending ? " ^" : " v";
    return TRUE;
}

// ------------------------------------------------------------------------------------------ pull-up/down

CKXPupdCtrl::CKXPupdCtrl(CGXGridCore* pGrid) : CGXStatic(pGrid) {}

void CKXPupdCtrl::SetPuPdValue(BOOL bPullUpLocal, BOOL bPullDownLocal, BOOL bPullUpAlias, BOOL bPullDownAlias) {
    m_bPullUpLocal = bPullUpLocal != FALSE;
    m_bPullDownLocal = bPullDownLocal != FALSE;
    m_bPullUpAlias = bPullUpAlias != FALSE;
    m_bPullDownAlias = bPullDownAlias != FALSE;
}

CString CKXPupdCtrl::GetStateText() const {
    if (!m_bEnabled) return CString();
    CString text;
    auto add = [&text](const char* part) {
        if (!text.IsEmpty()) text += "/";
        text += part;
    };
    if (m_bPullUpLocal) add("PU");
    if (m_bPullDownLocal) add("PD");
    if (m_bPullUpAlias) add("(PU)");
    if (m_bPullDownAlias) add("(PD)");
    return text;
}

BOOL CKXPupdCtrl::GetControlText(CString& strResult, ROWCOL, ROWCOL, LPCTSTR, const CGXStyle&) {
    strResult = GetStateText();
    return TRUE;
}

// ------------------------------------------------------------------------------------------ filter combo

CKXDynCombo::CKXDynCombo(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags, ROWCOL nFirstDataRow,
                         BOOL bSorted, KXDynComboKeyFn pfnKey)
    : CGXComboBox(pGrid, nEditID, nListBoxID, nFlags), m_nFirstDataRow(nFirstDataRow), m_bSorted(bSorted),
      m_pfnKey(pfnKey) {}

void CKXDynCombo::SetLookAttribute(const CDWordArray& columns, UINT nAttr) {
    m_lookColumns.clear();
    for (INT_PTR i = 0; i < columns.GetSize(); ++i) m_lookColumns.push_back(columns[i]);
    m_nLookAttr = nAttr;
}

BOOL CKXDynCombo::IsLookColumn(ROWCOL nCol) const {
    return std::find(m_lookColumns.begin(), m_lookColumns.end(), nCol) != m_lookColumns.end();
}

CString CKXDynCombo::GetHistoryKey(ROWCOL nCol) const {
    CString key;
    if (!m_pfnKey || nCol == GX_INVALID) return key;
    if (m_pfnKey(static_cast<int>(nCol), key) != 0) key.Empty();
    return key;
}

void CKXDynCombo::GetHistory(ROWCOL nCol, std::vector<CString>& items) const {
    items.clear();
    CString key = GetHistoryKey(nCol);
    if (key.IsEmpty()) return;
    CKXRegistrySettings::OpenRegistryKey(key);
    for (int i = 0; i < kMaxHistory; ++i) {
        CString name, value;
        name.Format("filter%d", i);
        if (CKXRegistrySettings::GetFromRegistry(name, value) && !value.IsEmpty()) items.push_back(value);
    }
    CKXRegistrySettings::CloseRegistryKey();
}

void CKXDynCombo::AddToHistory(ROWCOL nCol, const CString& pattern) {
    if (pattern.IsEmpty() || pattern == "*") return;
    CString key = GetHistoryKey(nCol);
    if (key.IsEmpty()) return;
    std::vector<CString> items;
    GetHistory(nCol, items);
    items.erase(std::remove(items.begin(), items.end(), pattern), items.end());
    items.insert(items.begin(), pattern);
    if (items.size() > static_cast<size_t>(kMaxHistory)) items.resize(kMaxHistory);
    CKXRegistrySettings::OpenRegistryKey(key);
    for (int i = 0; i < kMaxHistory; ++i) {
        CString name;
        name.Format("filter%d", i);
        if (i < static_cast<int>(items.size()))
            CKXRegistrySettings::SetToRegistry(name, items[static_cast<size_t>(i)].GetString());
        else
            CKXRegistrySettings::DeleteFromRegistry(name);
    }
    CKXRegistrySettings::CloseRegistryKey();
}

void CKXDynCombo::GetChoiceList(std::vector<CString>& items) {
    items.clear();
    items.emplace_back("*");
    ROWCOL nCol = GetCol();
    CGXGridCore* grid = Grid();
    if (!grid || nCol == GX_INVALID) return;

    std::vector<CString> history;
    GetHistory(nCol, history);
    std::set<std::string> seen = {"*"};
    for (const CString& h : history)
        if (seen.insert(h.str()).second) items.push_back(h);

    std::vector<CString> texts;
    const bool look = IsLookColumn(nCol);
    const ROWCOL rows = grid->GetRowCount();
    for (ROWCOL r = m_nFirstDataRow; r >= 1 && r <= rows; ++r) {
        if (grid->IsRowHidden(r)) continue;
        CString text;
        if (look) {
            CGXStyle style;
            grid->ComposeStyleRowCol(r, nCol, &style);
            text = style.GetUserAttributeText(static_cast<WORD>(m_nLookAttr));
        } else {
            text = grid->GetValueRowCol(r, nCol);
        }
        if (!text.IsEmpty() && seen.insert(text.str()).second) texts.push_back(text);
    }
    if (m_bSorted)
        std::stable_sort(texts.begin(), texts.end(),
                         [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
    items.insert(items.end(), texts.begin(), texts.end());
}

BOOL CKXDynCombo::Store() {
    CString text;
    GetCurrentText(text);
    ROWCOL nCol = GetCol();
    BOOL stored = CGXComboBox::Store();
    if (stored) AddToHistory(nCol, text);
    return stored;
}

// ------------------------------------------------------------------------------------------ auto-complete

CKXGridACListBox::CKXGridACListBox(CWnd* pParent) : CGXComboListBox(pParent) {}

BOOL CKXGridACListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, int) {
    m_dwStyle = dwStyle;
    m_nID = nID;
    if (pParentWnd && !GetMsgWnd()) SetMsgWnd(pParentWnd);
    m_bCreated = CWnd::Create("LISTBOX", "", dwStyle, rect, pParentWnd, nID);
    return m_bCreated;
}

int CKXGridACListBox::FindPrefix(LPCTSTR prefix) const {
    CString p = prefix ? prefix : "";
    if (p.IsEmpty()) return -1;
    for (int i = 0; i < GetCount(); ++i) {
        CString item;
        GetText(i, item);
        if (item.GetLength() >= p.GetLength() && item.Left(p.GetLength()).CompareNoCase(p) == 0) return i;
    }
    return -1;
}

int CKXGridACListBox::AddString(LPCTSTR lpszItem) {
    if (!lpszItem) return LB_ERR;
    m_strContentKey.clear();
    // The look-up ignores case: walk the entries it finds (it wraps round to the first) for this text.
    const int first = FindStringExact(-1, lpszItem);
    for (int at = first; at != LB_ERR;) {
        CString there;
        GetText(at, there);
        if (there == lpszItem) return at;
        at = FindStringExact(at, lpszItem);
        if (at == first) break;
    }
    return CListBox::AddString(lpszItem);
}

void CKXGridACListBox::ResetContent() {
    m_strContentKey.clear();
    CGXComboListBox::ResetContent();
}

void CKXGridACListBox::KeepAside() {
    m_strKeptKey.clear();
    m_kept.Reset();
    if (m_strContentKey.empty() || m_nCurSel != LB_ERR) return;
    std::swap(m_list, m_kept);
    m_strKeptKey = m_strContentKey;
}

BOOL CKXGridACListBox::TakeKept(const std::string& key) {
    if (key.empty() || key != m_strKeptKey) return FALSE;
    CAfxItemList kept;
    std::swap(kept, m_kept);
    KeepAside();
    ResetContent();
    std::swap(m_list, kept);
    m_strContentKey = key;
    return TRUE;
}

void CKXGridACListBox::SetStrings(const std::vector<CString>& items, std::string key) {
    KeepAside();
    ResetContent();
    AddChoices(items);
    m_strContentKey = std::move(key);
}

void CKXGridACListBox::SetStringsLater(ChoiceMaker make, std::string key) {
    KeepAside();
    ResetContent();
    m_strContentKey = std::move(key);
    // The fill stays with the list's items when they are kept aside, and runs in whichever list they
    // are back in: it fills this list box, where kept items come back.
    SetPendingFill([this, make = std::move(make)] {
        std::vector<CString> items;
        const bool keyed = make(items);
        AddChoices(items);
        if (!keyed) m_strContentKey.clear();
    });
}

void CKXGridACListBox::AddChoices(const std::vector<CString>& items) {
    // AddString lists a text once (the same text in other letter cases is another choice).
    std::vector<CAfxItemList::NewItem> fresh;
    fresh.reserve(items.size());
    std::unordered_set<std::string> seen;
    for (const CString& item : items)
        if (seen.insert(item.str()).second) fresh.push_back({item, 0});
    AddStrings(std::move(fresh));
}

LRESULT CKXGridACListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING:
        return AddString(reinterpret_cast<LPCTSTR>(lParam));
    case LB_RESETCONTENT:
        ResetContent();
        return 0;
    default:
        return CGXComboListBox::WindowProc(message, wParam, lParam);
    }
}

CKXGridACCombo::CKXGridACCombo(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags,
                               CKXGridACListBox* pListBox, BOOL bSignalCombo, int, int, int)
    : CGXComboBox(pGrid, nEditID, nListBoxID, nFlags), m_pListBox(pListBox), m_bSignalCombo(bSignalCombo) {}

BOOL CKXGridACCombo::IsChildCtrl(CPoint pt) const { return ChildFromPt(pt) != nullptr; }

void CKXGridACCombo::GetChoiceList(std::vector<CString>& items) {
    if (!m_pListBox) {
        CGXComboBox::GetChoiceList(items);
        return;
    }
    items.clear();
    for (int i = 0; i < m_pListBox->GetCount(); ++i) {
        CString item;
        m_pListBox->GetText(i, item);
        items.push_back(item);
    }
}

BOOL CKXGridACCombo::AutoComplete() {
    if (!m_bAutoComplete || !m_pListBox) return FALSE;
    CString typed;
    GetWindowText(typed);
    int start = 0, end = 0;
    GetSel(start, end);
    // Only complete when the caret is at the end of what was typed (nothing after it).
    if (end != typed.GetLength() || start != end) return FALSE;
    int index = m_pListBox->FindPrefix(typed);
    if (index < 0) return FALSE;
    CString item;
    m_pListBox->GetText(index, item);
    if (item.GetLength() == typed.GetLength()) return FALSE;
    // Keep the letters as typed and add the rest of the entry.
    SetWindowText(typed + item.Mid(typed.GetLength()));
    SetSel(typed.GetLength(), item.GetLength());
    return TRUE;
}

BOOL CKXGridACCombo::KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    BOOL handled = CGXComboBox::KeyPressed(nMessage, nChar, nRepCnt, flags);
    // Backspace and control characters never complete (the user is deleting).
    if (nMessage == WM_CHAR && nChar >= 0x20 && nChar != 0x7F) AutoComplete();
    return handled;
}

CKXBitMapComboBox::CKXBitMapComboBox(CGXGridCore* pGrid, UINT nBitmapID, UINT nEditID, UINT nListBoxID, UINT nFlags)
    : CGXComboBox(pGrid, nEditID, nListBoxID, nFlags), m_nBitmapID(nBitmapID) {}

// ------------------------------------------------------------------------------------------ wrapper

CKXWndWrapper::CKXWndWrapper(CGXGridCore* pGrid, CWnd* pWnd, BOOL bNeedDestroy, BOOL bCanActivate,
                             BOOL bInvertBorders)
    : CGXWndWrapper(pGrid, pWnd, bNeedDestroy, bCanActivate, bInvertBorders) {}

BOOL CKXWndWrapper::IsActive() {
    if (m_pWnd) {
        POINT pt{0, 0};
        RECT rc{0, 0, 0, 0};
        if (GetCursorPos(&pt)) {
            m_pWnd->GetWindowRect(&rc);
            if (rc.left < pt.x && pt.x < rc.right && rc.top < pt.y && pt.y < rc.bottom) return TRUE;
        }
    }
    return CGXWndWrapper::IsActive();
}
