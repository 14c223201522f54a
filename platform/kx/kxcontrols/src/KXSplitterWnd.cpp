#include "kxcontrols/KXSplitterWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKXSplitterWnd, CSplitterWnd)

void CKXSplitterWnd::SetHighlight() {
    int row = -1, col = -1;
    if (GetActivePane(&row, &col)) {
        m_nHighlightRow = row;
        m_nHighlightCol = col;
    } else {
        m_nHighlightRow = m_nHighlightCol = -1;
    }
}

BOOL CKXSplitterWnd::GetHighlightedPane(int& row, int& col) const {
    row = m_nHighlightRow;
    col = m_nHighlightCol;
    return row >= 0 && col >= 0;
}

void CKXSplitterWnd::SetVertResizeButton(BOOL bEnable, int nPane, BOOL bVertical) {
    m_bButtonEnabled = bEnable;
    m_nButtonPane = nPane == 1 ? 1 : 0;
    m_bButtonVertical = bVertical;
}

BOOL CKXSplitterWnd::CreateResizeButton() {
    m_bButtonCreated = m_bButtonEnabled;
    return m_bButtonCreated;
}

BOOL CKXSplitterWnd::CollapsePane(int which) {
    if (which != 0 && which != 1) return FALSE;
    const bool rows = GetRowCount() >= 2;
    if (!rows && GetColumnCount() < 2) return FALSE;
    if (m_nCollapsed >= 0) return FALSE; // one pane at a time: the other fills the splitter
    if (rows)
        SetRowInfo(which, 0, 0);
    else
        SetColumnInfo(which, 0, 0);
    m_nCollapsed = which;
    if (GetSafeHwnd()) RecalcLayout();
    return TRUE;
}

BOOL CKXSplitterWnd::ExpandPane() {
    if (m_nCollapsed < 0) return FALSE;
    const bool rows = GetRowCount() >= 2;
    int size = m_nCollapsed == 0 ? m_nSizeFirst : m_nSizeSecond;
    if (rows)
        SetRowInfo(m_nCollapsed, size, 10);
    else
        SetColumnInfo(m_nCollapsed, size, 10);
    m_nCollapsed = -1;
    if (GetSafeHwnd()) RecalcLayout();
    return TRUE;
}

BOOL CKXSplitterWnd::GetSplitterStatus(int& which) const {
    which = m_nCollapsed == 0 ? 1 : 0;
    return m_nCollapsed >= 0;
}

BOOL CKXSplitterWnd::SetPaneSize(int first, int second) {
    first = std::max(first, 0);
    second = std::max(second, 0);
    if (static_cast<long long>(first) + second <= 0) return FALSE;
    m_nSizeFirst = first;
    m_nSizeSecond = second;
    return TRUE;
}

void CKXSplitterWnd::GetPaneSize(int& first, int& second) const {
    first = m_nSizeFirst;
    second = m_nSizeSecond;
}

BOOL CKXSplitterWnd::GetBarRect(CRect& rect) const {
    rect.SetRectEmpty();
    int size = 0, min = 0;
    if (GetRowCount() >= 2) {
        GetRowInfo(0, size, min);
        CRect client;
        GetClientRect(&client);
        rect = CRect(0, size, client.Width(), size + m_cySplitterGap);
        return TRUE;
    }
    if (GetColumnCount() >= 2) {
        GetColumnInfo(0, size, min);
        CRect client;
        GetClientRect(&client);
        rect = CRect(size, 0, size + m_cxSplitterGap, client.Height());
        return TRUE;
    }
    return FALSE;
}

BOOL CKXSplitterWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (message == WM_LBUTTONDOWN) {
        CRect bar;
        // A collapsed pane has no bar to drag: its button expands it.
        if (m_nCollapsed < 0 && GetBarRect(bar) && bar.PtInRect(point)) {
            m_bTracking = TRUE;
            m_ptPress = point;
            SetCapture();
        }
        if (pResult) *pResult = 0;
        return TRUE;
    }
    if (message == WM_LBUTTONUP && m_bTracking) {
        StopTracking(point);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CSplitterWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CKXSplitterWnd::StopTracking(CPoint point) {
    m_bTracking = FALSE;
    ::ReleaseCapture();
    CRect client;
    GetClientRect(&client);
    const bool rows = GetRowCount() >= 2;
    const int gap = rows ? m_cySplitterGap : m_cxSplitterGap;
    const int extent = (rows ? client.Height() : client.Width()) - gap;
    // The bar's top (or left) edge goes where the pointer moved it, within the window.
    CRect bar;
    GetBarRect(bar);
    const int moved = rows ? point.y - m_ptPress.y : point.x - m_ptPress.x;
    const int first = std::clamp((rows ? bar.top : bar.left) + moved, 0, std::max(0, extent));
    if (rows) {
        SetRowInfo(0, first, 10);
        SetRowInfo(1, extent - first, 10);
    } else {
        SetColumnInfo(0, first, 10);
        SetColumnInfo(1, extent - first, 10);
    }
    RecalcLayout();
    static const UINT stopTracking = RegisterWindowMessageA("MSG_STOP_TRACKING_SPLITTER");
    if (CFrameWnd* frame = GetParentFrame()) frame->SendMessage(stopTracking, 0, 0);
}
