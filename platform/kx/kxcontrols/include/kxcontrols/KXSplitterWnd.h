// The frame's splitter: marks the pane that holds the focus, offers buttons that collapse a pane, and keeps
// the sizes of its two panes so that they keep their proportion when the frame is resized.
#pragma once

#include "afx/afxdoc.h"

class CKXSplitterWnd : public CSplitterWnd {
    DECLARE_DYNAMIC(CKXSplitterWnd)
public:
    CKXSplitterWnd() = default;

    // Marks the active pane (the one holding the focus) as highlighted; no pane when none is active.
    void SetHighlight();
    BOOL GetHighlightedPane(int& row, int& col) const;

    // Resize buttons: bEnable, the pane (0 first, 1 second) that the button collapses, and bVertical.
    void SetVertResizeButton(BOOL bEnable, int nPane, BOOL bVertical);
    BOOL CreateResizeButton();
    BOOL HasResizeButton() const { return m_bButtonCreated; }

    // Collapses pane 0 or 1 of a two-pane splitter (its size becomes 0; the stored sizes are kept) or
    // expands it again. FALSE when there is no such pane, a pane is collapsed already or nothing changes.
    BOOL CollapsePane(int which);
    BOOL ExpandPane();
    // Nonzero when a pane is collapsed; `which` is then nonzero when it is the first (upper or left) pane and
    // 0 when it is the second. Not collapsed: `which` is 0.
    BOOL GetSplitterStatus(int& which) const;
    // The collapsed pane (0 or 1), -1 when none.
    int GetCollapsedPane() const { return m_nCollapsed; }

    // The two panes' sizes as last stored. Sizes below 0 count as 0; a pair that adds up to 0 or less is
    // refused (it gives no proportion) and the old pair stays. Until sizes are stored both are 50.
    BOOL SetPaneSize(int first, int second);
    void GetPaneSize(int& first, int& second) const;

    // The bar between the two panes, in this window's client coordinates (empty without two panes).
    BOOL GetBarRect(CRect& rect) const;
    // Nonzero while the user drags the bar.
    BOOL IsTracking() const { return m_bTracking; }

    // The user's drag of the bar: a press on the bar starts it, the release sets the first pane's size
    // to where the bar was dropped and tells the parent frame with "MSG_STOP_TRACKING_SPLITTER".
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void StopTracking(CPoint point);
    BOOL m_bTracking = FALSE;
    CPoint m_ptPress;

    int m_nHighlightRow = -1;
    int m_nHighlightCol = -1;
    BOOL m_bButtonEnabled = FALSE;
    int m_nButtonPane = 0;
    BOOL m_bButtonVertical = FALSE;
    BOOL m_bButtonCreated = FALSE;
    int m_nCollapsed = -1;
    int m_nSizeFirst = 50;
    int m_nSizeSecond = 50;
};
