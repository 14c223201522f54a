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
    if (m_nCollapsed == which) return FALSE;
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
