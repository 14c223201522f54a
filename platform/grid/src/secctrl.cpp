// The toolkit's shortcut bar and bitmap button.
#include "grid/secctrl.h"

IMPLEMENT_DYNCREATE(SECShortcutBar, CWnd)
IMPLEMENT_DYNCREATE(SECBitmapButton, CButton)

BOOL SECShortcutBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwAlign = dwStyle & SEC_OBS_ALIGN_MASK;
    m_dwOptions = dwStyle & SEC_OBS_OPTIONS_MASK;
    if (GetSafeHwnd()) return TRUE;
    // A class already registered (by a derived bar, with its own settings) is used as it is.
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = BarClassName();
    if (!AfxRegisterClass(&wc)) return FALSE;
    if (!CWnd::CreateEx(0, BarClassName(), "", dwStyle & ~static_cast<DWORD>(SEC_OBS_STYLE_BITS), CRect(0, 0, 0, 0),
                        pParentWnd, nID))
        return FALSE;
    ConstructGDIObjects();
    return TRUE;
}

void SECShortcutBar::ConstructGDIObjects() {
    m_bGDIObjects = TRUE;
}

int SECShortcutBar::AddBar(CWnd* pClient, LPCTSTR lpszLabel) {
    m_bars.push_back({CString(lpszLabel ? lpszLabel : ""), pClient});
    if (m_nActive < 0) m_nActive = 0;
    Invalidate();
    return GetBarCount() - 1;
}

BOOL SECShortcutBar::RenameBar(int nIndex, LPCTSTR lpszLabel) {
    if (!IsBarIndex(nIndex)) return FALSE;
    m_bars[static_cast<size_t>(nIndex)].label = lpszLabel ? lpszLabel : "";
    Invalidate();
    return TRUE;
}

BOOL SECShortcutBar::RemoveBar(int nIndex) {
    if (!IsBarIndex(nIndex)) return FALSE;
    m_bars.erase(m_bars.begin() + nIndex);
    // The active bar stays the same bar; when it went, the one before it (or the first) takes over.
    if (m_bars.empty())
        m_nActive = -1;
    else if (nIndex < m_nActive)
        --m_nActive;
    else if (nIndex == m_nActive)
        m_nActive = nIndex > 0 ? nIndex - 1 : 0;
    Invalidate();
    return TRUE;
}

BOOL SECShortcutBar::ActivateBar(int nIndex) {
    if (!IsBarIndex(nIndex)) return FALSE;
    m_nActive = nIndex;
    Invalidate();
    return TRUE;
}

CString SECShortcutBar::GetBarLabel(int nIndex) const {
    return IsBarIndex(nIndex) ? m_bars[static_cast<size_t>(nIndex)].label : CString();
}

CWnd* SECShortcutBar::GetBarClient(int nIndex) const {
    return IsBarIndex(nIndex) ? m_bars[static_cast<size_t>(nIndex)].client : nullptr;
}

BOOL SECBitmapButton::AttachBitmap(UINT nBitmapId, UINT nAlign) {
    if (nBitmapId == 0) return FALSE;
    m_nBitmapId = nBitmapId;
    m_nAlign = nAlign;
    Invalidate();
    return TRUE;
}
