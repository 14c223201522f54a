#include "pane/KXCCPShortcutBar.h"

#include "afx/afxdoc.h"

IMPLEMENT_DYNCREATE(CKXCCPShortcutBar, SECShortcutBar)

BOOL CKXCCPShortcutBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!GetSafeHwnd()) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = kClassName;
        if (!AfxRegisterClass(&wc)) return FALSE;
    }
    return SECShortcutBar::Create(pParentWnd, dwStyle, nID);
}
