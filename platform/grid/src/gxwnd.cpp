// The grid window.
#include "grid/gxwnd.h"

IMPLEMENT_DYNCREATE(CGXGridWnd, CWnd)

BEGIN_MESSAGE_MAP(CGXGridWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_KILLFOCUS()
ON_WM_SETFOCUS()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_GETDLGCODE()
ON_WM_SIZE()
END_MESSAGE_MAP()

CGXGridWnd::CGXGridWnd() = default;

CGXGridWnd::~CGXGridWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CGXGridWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(nullptr, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CGXGridWnd::Initialize() { CGXGridCore::OnGridInitialUpdate(); }

CRect CGXGridWnd::GetGridRect()
{
    if (!GetSafeHwnd())
        return CGXGridCore::GetGridRect();
    CRect rc;
    GetClientRect(&rc);
    return rc;
}

void CGXGridWnd::OnLButtonDown(UINT nFlags, CPoint point) { DoLButtonDown(nFlags, point); }
void CGXGridWnd::OnLButtonUp(UINT nFlags, CPoint point) { DoLButtonUp(nFlags, point); }
void CGXGridWnd::OnLButtonDblClk(UINT nFlags, CPoint point) { DoLButtonDblClk(nFlags, point); }
void CGXGridWnd::OnRButtonDown(UINT nFlags, CPoint point) { DoRButtonDown(nFlags, point); }
void CGXGridWnd::OnRButtonUp(UINT nFlags, CPoint point) { DoRButtonUp(nFlags, point); }
void CGXGridWnd::OnMouseMove(UINT nFlags, CPoint point) { DoMouseMove(nFlags, point); }
void CGXGridWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { ProcessKeys(this, WM_KEYDOWN, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { ProcessKeys(this, WM_KEYUP, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { ProcessKeys(this, WM_CHAR, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnKillFocus(CWnd*) { OnActivateGrid(FALSE); }
void CGXGridWnd::OnSetFocus(CWnd*) { OnActivateGrid(TRUE); }

void CGXGridWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const ROWCOL left = GetLeftCol();
    switch (nSBCode) {
    case SB_LINEUP_: SetLeftCol(left > 1 ? left - 1 : left); break;
    case SB_LINEDOWN_: SetLeftCol(left + 1); break;
    case SB_PAGEUP_: SetLeftCol(left > 5 ? left - 5 : 1); break;
    case SB_PAGEDOWN_: SetLeftCol(GetLastVisibleCol() > left ? GetLastVisibleCol() : left + 1); break;
    case SB_THUMBPOSITION_:
    case SB_THUMBTRACK_: SetLeftCol(nPos); break;
    case SB_TOP_: SetLeftCol(1); break;
    case SB_BOTTOM_: SetLeftCol(GetColCount()); break;
    default: break;
    }
}

void CGXGridWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const ROWCOL top = GetTopRow();
    switch (nSBCode) {
    case SB_LINEUP_: {
        ROWCOL r = NextVisibleRow(top, -1, GetFrozenRows() + 1, GetRowCount());
        if (r != GX_INVALID)
            SetTopRow(r);
        break;
    }
    case SB_LINEDOWN_: {
        ROWCOL r = NextVisibleRow(top, 1, GetFrozenRows() + 1, GetRowCount());
        if (r != GX_INVALID)
            SetTopRow(r);
        break;
    }
    case SB_PAGEUP_: {
        const ROWCOL page = GetLastVisibleRow() > top ? GetLastVisibleRow() - top : 1;
        SetTopRow(top > page ? top - page : 1);
        break;
    }
    case SB_PAGEDOWN_: SetTopRow(GetLastVisibleRow() > top ? GetLastVisibleRow() : top + 1); break;
    case SB_THUMBPOSITION_:
    case SB_THUMBTRACK_: SetTopRow(nPos); break;
    case SB_TOP_: SetTopRow(1); break;
    case SB_BOTTOM_: SetTopRow(GetRowCount()); break;
    default: break;
    }
}

UINT CGXGridWnd::OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }

void CGXGridWnd::OnSize(UINT, int, int) { Redraw(GX_INVALIDATE); }

BOOL CGXGridWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CGXControl* ctrl = GetCurrentCellControl())
        if (ctrl->OnCommand(wParam, lParam))
            return TRUE;
    return CWnd::OnCommand(wParam, lParam);
}
