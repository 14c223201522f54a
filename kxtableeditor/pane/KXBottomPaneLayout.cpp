// The connectivity pane as a window: where its title bar, Attach Signal row and object window lie,
// its non-client activation while a grid's drop-down list is open, and what it tells an
// accessibility client.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"

#include "grid/gxcontrol.h"
#include "kxcommon/KXShareGlobalData.h"
#include "shell/KXTableChildFrm.h"

#include <algorithm>

CRect CKXBottomPaneContainerView::GridArea() const {
    CRect client;
    GetClientRect(&client);
    // A read-only window never shows the Attach Signal row: the grids move up into its place.
    const bool readOnly = m_pChildFrame && m_pChildFrame->GetTableDoc() && GetViewMode() == eOpenModeContext;
    client.top = std::min(client.bottom, client.top + kTitleBarHeight + (readOnly ? 0 : kAttachRowHeight));
    return client;
}

void CKXBottomPaneContainerView::OnSize(UINT, int, int) {
    if (CKXShareAppData::m_bIsAppClosing || m_bNotInitialized) return;
    CRect client;
    GetClientRect(&client);
    if (m_ShortcutBar.GetSafeHwnd()) m_ShortcutBar.MoveWindow(client.left, client.top, client.Width(), kTitleBarHeight);
    if (m_pObjectInfo && m_pObjectInfo->GetSafeHwnd()) m_pObjectInfo->MoveWindow(GridArea());
    LayoutShownGrids();
    RedrawIfNoGrids();
}

void CKXBottomPaneContainerView::RedrawIfNoGrids() {
    if (!m_shownGrids.empty()) return;
    if (m_pObjectInfo && (!m_pObjectInfo->OpenWindows(0).empty() || !m_pObjectInfo->OpenWindows(1).empty())) return;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CKXBottomPaneContainerView::OnNcActivate(BOOL bActive) {
    // The drop-down list of a grid cell is a window of its own: losing the activation to it is no
    // deactivation of the pane.
    if (GXDiscardNcActivate()) return TRUE;
    return CView::OnNcActivate(bActive);
}

HRESULT CKXBottomPaneContainerView::get_accChild(const VARIANT& varChild, CWnd** ppChild) {
    return GetAccessibleChild(varChild, ppChild);
}
HRESULT CKXBottomPaneContainerView::get_accChildCount(long* pcountChildren) {
    return GetAccessibleChildCount(pcountChildren);
}
HRESULT CKXBottomPaneContainerView::get_accName(const VARIANT& varChild, CString* pszName) {
    return GetAccessibleName(varChild, pszName);
}
HRESULT CKXBottomPaneContainerView::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                                const VARIANT& varChild) {
    return GetAccessibilityLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}
HRESULT CKXBottomPaneContainerView::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    return GetAccessibilityHitTest(xLeft, yTop, pvarChild);
}
