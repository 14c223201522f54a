// The grid window: a window with a grid core. Window messages reach the core's input handling.
#pragma once

#include "grid/gxcore.h"

#include "afx/afxwin.h"

class CScrollBar;

class CGXGridWnd : public CWnd, public CGXGridCore {
    DECLARE_DYNCREATE(CGXGridWnd)
public:
    CGXGridWnd();
    ~CGXGridWnd() override;

    using CWnd::Create;
    // Creates the window as a child of pParentWnd (the grid is initialised by Initialize()).
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void Initialize() override;
    CWnd* GridWnd() override { return this; }
    CRect GetGridRect() override;

    // Window message handlers; overridable and callable directly (tests drive them as a user would).
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual UINT OnGetDlgCode();
    virtual void OnSize(UINT nType, int cx, int cy);
    // Commands from child windows go to the current cell's control first.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Scroll-bar codes used by OnHScroll/OnVScroll.
    enum { SB_LINEUP_ = 0, SB_LINEDOWN_ = 1, SB_PAGEUP_ = 2, SB_PAGEDOWN_ = 3, SB_THUMBPOSITION_ = 4, SB_THUMBTRACK_ = 5, SB_TOP_ = 6, SB_BOTTOM_ = 7 };

    DECLARE_MESSAGE_MAP()
};
