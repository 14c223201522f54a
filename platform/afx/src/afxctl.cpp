// The simple controls (static, button, edit), the list view control and tool tips.
#include "afx/afxdlg.h"

#include "afxctlnotify.h"

using afxdetail::notifyParent;

// ---------------------------------------------------------------- simple controls
IMPLEMENT_DYNCREATE(CStatic, CWnd)
IMPLEMENT_DYNCREATE(CButton, CWnd)
IMPLEMENT_DYNCREATE(CEdit, CWnd)
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

