// Grid core: mouse and keyboard input, column tracking and clipboard queries.
#include "grid/gxcore.h"
#include "grid/gxdroplist.h"

#include <algorithm>

BOOL CGXGridCore::OnLButtonClickedRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return TRUE; }
BOOL CGXGridCore::OnRButtonClickedRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXGridCore::OnClickedButtonRowCol(ROWCOL, ROWCOL) { return FALSE; }
BOOL CGXGridCore::OnHitHiddenCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }

// A double click on the current cell starts editing it.
BOOL CGXGridCore::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT, CPoint)
{
    if (!IsCurrentCell(nRow, nCol))
        return FALSE;
    CGXControl* ctrl = GetCurrentCellControl();
    return ctrl && !ctrl->IsActive() ? ctrl->OnStartEditing() : FALSE;
}

BOOL CGXGridCore::OnStartTracking(ROWCOL, ROWCOL, int) { return TRUE; }
BOOL CGXGridCore::OnTrackColWidth(ROWCOL nCol) { return m_pParam && m_pParam->IsEnableTrackColWidth() && nCol <= GetColCount(); }
BOOL CGXGridCore::OnTrackColWidthMove(ROWCOL, int) { return TRUE; }
void CGXGridCore::OnEndTracking(ROWCOL, ROWCOL nCol, int nTrackingMode, CSize& size)
{
    if (nTrackingMode != GX_TRACKWIDTH || nCol > GetColCount())
        return;
    const int width = std::max(0, static_cast<int>(size.cx));
    if (width != GetColWidth(nCol))
        SetColWidth(nCol, nCol, width * 100 / m_nZoom, nullptr, GX_INVALIDATE); // kept at 100% zoom
    if (width > 0 && IsColHidden(nCol))
        HideCols(nCol, nCol, FALSE, nullptr, GX_INVALIDATE);
}
BOOL CGXGridCore::OnTrackRowHeight(ROWCOL) { return m_pParam && m_pParam->IsEnableTrackRowHeight(); }

BOOL CGXGridCore::CanCopy() { return m_pParam && (!m_pParam->GetRangeList()->IsEmpty() || m_nCurrentRow != GX_INVALID); }
BOOL CGXGridCore::CanCut() { return CanCopy() && !m_pParam->IsReadOnly(); }
BOOL CGXGridCore::CanPaste() { return m_pParam && m_nCurrentRow != GX_INVALID && !m_pParam->IsReadOnly(); }

void CGXGridCore::OnActivateGrid(BOOL bActivate)
{
    m_bActive = bActivate != FALSE;
    if (bActivate)
        return;
    // A list that is down has the keyboard: losing it cancels the list before the edit is stored.
    CancelDroppedList();
    TransferCurrentCell(TRUE);
}

void CGXGridCore::CancelDroppedList()
{
    auto* combo = dynamic_cast<CGXComboBox*>(m_pCurrentControl);
    if (combo && combo->IsDroppedDown())
        combo->WindowProc(GX_LIST_CANCELLED, GX_LIST_CANCEL_FOCUS_LOST, 0);
}

// ---------------------------------------------------------------- mouse
BOOL CGXGridCore::DoLButtonDown(UINT nFlags, CPoint pt)
{
    if (!m_pParam)
        return FALSE;
    // A click beside the list that is down takes it up without a choice, as a list does; then the click
    // does what it does. Its combo's own button toggles the list instead.
    if (auto* combo = dynamic_cast<CGXComboBox*>(m_pCurrentControl);
        combo && combo->IsDroppedDown() && combo->ChildFromPt(pt) != combo->GetChild(0))
        combo->WindowProc(GX_LIST_CANCELLED, GX_LIST_CANCEL_IN_EDIT, 0);
    ROWCOL r = GX_INVALID, c = GX_INVALID;
    const int hit = HitTest(pt, &r, &c);
    m_nDownRow = m_nDownCol = GX_INVALID;
    m_pPressedChild = nullptr;
    if (hit == GX_NOHIT)
        return FALSE;
    if (hit == GX_VERTLINE) {
        // An edge that belongs to a hidden column starts nothing.
        if (!OnHitHiddenCol(r, c, nFlags, pt))
            StartColTracking(r, c, pt.x);
        return TRUE;
    }
    m_nDownRow = r;
    m_nDownCol = c;
    const BOOL ctrlKey = (nFlags & MK_CONTROL) != 0 || IsCtrlKeyDown();
    const BOOL shiftKey = (nFlags & MK_SHIFT) != 0 || IsShiftKeyDown();
    if (PressCurrentCellChild(r, c, nFlags, pt, hit))
        return TRUE;
    if (hit == GX_HEADERHIT) {
        ClickHeader(r, c, ctrlKey);
        return TRUE;
    }
    if (shiftKey && m_nCurrentRow != GX_INVALID && m_pParam->IsEnableSelection(GX_SELSHIFT)) {
        if (m_nAnchorRow == GX_INVALID) {
            m_nAnchorRow = m_nCurrentRow;
            m_nAnchorCol = m_nCurrentCol;
        }
        CGXRange range(m_nAnchorRow, m_nAnchorCol, r, c);
        ChangeSelRange(range, FALSE, FALSE);
        m_bSelDragging = TRUE;
        return TRUE;
    }
    ClickCell(r, c, nFlags, pt, ctrlKey);
    return TRUE;
}

void CGXGridCore::StartColTracking(ROWCOL r, ROWCOL c, int x)
{
    if (!OnTrackColWidth(c) || !OnStartTracking(r, c, GX_TRACKWIDTH))
        return;
    m_nTrackCol = c;
    m_nTrackRow = r;
    m_nTrackStartX = x;
    m_nTrackStartWidth = GetColWidth(c);
    m_nTrackWidth = m_nTrackStartWidth;
}

// A press on a child button of the current cell's control: TRUE when a child took it; otherwise the
// control itself is told of the press.
BOOL CGXGridCore::PressCurrentCellChild(ROWCOL r, ROWCOL c, UINT nFlags, CPoint pt, int hit)
{
    if (!IsCurrentCell(r, c))
        return FALSE;
    CGXControl* ctrl = GetCurrentCellControl();
    if (!ctrl)
        return FALSE;
    if (CGXChild* child = ctrl->ChildFromPt(pt)) {
        child->LButtonDown(nFlags, pt);
        m_pPressedChild = child;
        return TRUE;
    }
    ctrl->LButtonDown(nFlags, pt, hit);
    return FALSE;
}

// A click on a header selects its column or row; with Ctrl (multiple ranges allowed) in addition to the selection.
void CGXGridCore::ClickHeader(ROWCOL r, ROWCOL c, BOOL ctrlKey)
{
    CGXRange range;
    if (r <= m_nHeaderRows && c > m_nHeaderCols && m_pParam->IsEnableSelection(GX_SELCOL))
        range.SetCols(c);
    else if (c <= m_nHeaderCols && r > m_nHeaderRows && m_pParam->IsEnableSelection(GX_SELROW))
        range.SetRows(r);
    if (!range.IsValid() || !CanChangeSelection(&range, FALSE, FALSE))
        return;
    if (!ctrlKey || !m_pParam->IsEnableSelection(GX_SELMULTIPLE))
        SetSelection(nullptr);
    AddNewSelRange(range);
}

// A click on a cell makes it current (a button in it pressed by the same click) and starts a selection.
void CGXGridCore::ClickCell(ROWCOL r, ROWCOL c, UINT nFlags, CPoint pt, BOOL ctrlKey)
{
    if (!ctrlKey)
        SetSelection(nullptr);
    m_bHasSelRange = FALSE;
    if (!SetCurrentCell(r, c, GX_UPDATENOW))
        return; // validation kept the current cell
    m_nAnchorRow = m_nCurrentRow;
    m_nAnchorCol = m_nCurrentCol;
    // A button in a cell that just became current is pressed by the same click.
    if (!ctrlKey && m_pCurrentControl && m_pCurrentControl->GetChildCount() > 0) {
        if (CGXChild* child = m_pCurrentControl->ChildFromPt(pt)) {
            child->LButtonDown(nFlags, pt);
            m_pPressedChild = child;
            return;
        }
    }
    if (!OnStartSelection(r, c, nFlags, pt) || !m_pParam->IsEnableSelection(GX_SELCELL))
        return;
    m_bSelDragging = TRUE;
    // Ctrl+click adds the cell as a range of its own; a plain click selects nothing yet.
    if (ctrlKey && m_pParam->IsEnableSelection(GX_SELMULTIPLE)) {
        CGXRange range(m_nCurrentRow, m_nCurrentCol);
        if (CanChangeSelection(&range, FALSE, FALSE))
            AddNewSelRange(range);
    }
}

BOOL CGXGridCore::DoMouseMove(UINT nFlags, CPoint pt)
{
    if (m_nTrackCol != GX_INVALID) {
        int width = std::max(0, m_nTrackStartWidth + (pt.x - m_nTrackStartX));
        if (OnTrackColWidthMove(m_nTrackCol, width))
            m_nTrackWidth = width;
        return TRUE;
    }
    if (!m_bSelDragging || m_nAnchorRow == GX_INVALID || !(nFlags & MK_LBUTTON))
        return FALSE;
    ROWCOL r, c;
    if (HitTest(pt, &r, &c) != GX_CELLHIT)
        return FALSE;
    if (!m_bHasSelRange && r == m_nAnchorRow && c == m_nAnchorCol)
        return FALSE;
    CGXRange range(m_nAnchorRow, m_nAnchorCol, r, c);
    return ChangeSelRange(range, TRUE, FALSE);
}

BOOL CGXGridCore::DoLButtonUp(UINT nFlags, CPoint pt)
{
    if (m_nTrackCol != GX_INVALID) {
        const ROWCOL col = m_nTrackCol, row = m_nTrackRow;
        CSize size(m_nTrackWidth, 0);
        m_nTrackCol = m_nTrackRow = GX_INVALID;
        OnEndTracking(row, col, GX_TRACKWIDTH, size);
        return TRUE;
    }
    m_bSelDragging = FALSE;
    CGXChild* pressed = m_pPressedChild;
    m_pPressedChild = nullptr;
    if (pressed) {
        // The child must still belong to the current cell's control.
        CGXControl* ctrl = m_pCurrentControl;
        bool valid = false;
        for (int i = 0; ctrl && i < ctrl->GetChildCount(); ++i)
            valid = valid || ctrl->GetChild(i) == pressed;
        if (valid)
            pressed->LButtonUp(nFlags, pt);
        m_nDownRow = m_nDownCol = GX_INVALID;
        return TRUE;
    }
    ROWCOL r, c;
    const int hit = HitTest(pt, &r, &c);
    const ROWCOL downRow = m_nDownRow, downCol = m_nDownCol;
    m_nDownRow = m_nDownCol = GX_INVALID;
    if ((hit == GX_CELLHIT || hit == GX_HEADERHIT) && r == downRow && c == downCol) {
        if (IsCurrentCell(r, c))
            if (CGXControl* ctrl = GetCurrentCellControl())
                ctrl->LButtonUp(nFlags, pt, hit);
        OnLButtonClickedRowCol(r, c, nFlags, pt);
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridCore::DoLButtonDblClk(UINT nFlags, CPoint pt)
{
    ROWCOL r, c;
    const int hit = HitTest(pt, &r, &c);
    if (hit != GX_CELLHIT && hit != GX_HEADERHIT)
        return FALSE;
    return OnLButtonDblClkRowCol(r, c, nFlags, pt);
}

BOOL CGXGridCore::DoRButtonDown(UINT, CPoint pt)
{
    m_nRDownRow = m_nRDownCol = GX_INVALID;
    ROWCOL r, c;
    const int hit = HitTest(pt, &r, &c);
    if (hit != GX_CELLHIT && hit != GX_HEADERHIT)
        return FALSE;
    m_nRDownRow = r;
    m_nRDownCol = c;
    return TRUE;
}

BOOL CGXGridCore::DoRButtonUp(UINT nFlags, CPoint pt)
{
    ROWCOL r, c;
    const int hit = HitTest(pt, &r, &c);
    const ROWCOL downRow = m_nRDownRow, downCol = m_nRDownCol;
    m_nRDownRow = m_nRDownCol = GX_INVALID;
    if ((hit == GX_CELLHIT || hit == GX_HEADERHIT) && r == downRow && c == downCol)
        return OnRButtonClickedRowCol(r, c, nFlags, pt);
    return FALSE;
}

// ---------------------------------------------------------------- keyboard
BOOL CGXGridCore::ProcessKeys(CWnd*, UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags)
{
    switch (nMessage) {
    case WM_KEYDOWN:
        return OnGridKeyDown(nChar, nRepCnt, flags);
    case WM_KEYUP:
        return OnGridKeyUp(nChar, nRepCnt, flags);
    case WM_CHAR:
        return OnGridChar(nChar, nRepCnt, flags);
    default:
        return FALSE;
    }
}

BOOL CGXGridCore::OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_pParam)
        return FALSE;
    const BOOL ctrlKey = IsCtrlKeyDown();
    const BOOL shiftKey = IsShiftKeyDown();
    CGXControl* ctrl = GetCurrentCellControl();
    const BOOL active = ctrl && ctrl->IsActive();
    const UINT n = std::max<UINT>(nRepCnt, 1);
    // Alt+Down (or Alt+Up) on a combo cell drops its list, or takes it up again, as its button does.
    auto* combo = dynamic_cast<CGXComboBox*>(ctrl);
    if ((nChar == VK_DOWN || nChar == VK_UP) && combo && combo->GetChildCount() > 0 && IsAltKeyDown()) {
        combo->OnClickedButton(combo->GetChild(0));
        return TRUE;
    }
    switch (nChar) {
    case VK_UP:
        MoveCurrentCell(ctrlKey ? GX_TOP : GX_UP, n, TRUE);
        return TRUE;
    case VK_DOWN:
        MoveCurrentCell(ctrlKey ? GX_BOTTOM : GX_DOWN, n, TRUE);
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
        // Inside an active edit the caret moves first; at the edge of the text the cell moves.
        if (active && !ctrlKey && ctrl->KeyPressed(WM_KEYDOWN, nChar, nRepCnt, nFlags))
            return TRUE;
        if (nChar == VK_LEFT)
            MoveCurrentCell(ctrlKey ? GX_MOSTLEFT : GX_LEFT, n, TRUE);
        else if (nChar == VK_RIGHT)
            MoveCurrentCell(ctrlKey ? GX_MOSTRIGHT : GX_RIGHT, n, TRUE);
        else if (nChar == VK_HOME)
            MoveCurrentCell(ctrlKey ? GX_TOPLEFT : GX_MOSTLEFT, 1, TRUE);
        else
            MoveCurrentCell(ctrlKey ? GX_BOTTOMRIGHT : GX_MOSTRIGHT, 1, TRUE);
        return TRUE;
    case VK_PRIOR:
        MoveCurrentCell(GX_PGUP, n, TRUE);
        return TRUE;
    case VK_NEXT:
        MoveCurrentCell(GX_PGDOWN, n, TRUE);
        return TRUE;
    case VK_TAB:
        MoveCurrentCell(shiftKey ? GX_LEFT : GX_RIGHT, 1, FALSE);
        return TRUE;
    case VK_RETURN: {
        if (active && !TransferCurrentCell(TRUE))
            return TRUE; // validation refused: stay in the cell
        const WORD action = m_pParam->GetEnterKeyAction();
        if (action >= GX_UP && action <= GX_RIGHT)
            MoveCurrentCell(action, 1, FALSE);
        return TRUE;
    }
    case VK_ESCAPE:
        if (active) {
            TransferCurrentCell(FALSE);
            return TRUE;
        }
        return FALSE;
    case VK_DELETE:
        if (active)
            return ctrl->KeyPressed(WM_KEYDOWN, nChar, nRepCnt, nFlags);
        if (m_nCurrentRow != GX_INVALID)
            return OnDeleteCell(m_nCurrentRow, m_nCurrentCol);
        return FALSE;
    case VK_F2:
        return ctrl && !active ? ctrl->OnStartEditing() : FALSE;
    default:
        return active ? ctrl->KeyPressed(WM_KEYDOWN, nChar, nRepCnt, nFlags) : FALSE;
    }
}

BOOL CGXGridCore::OnGridKeyUp(UINT, UINT, UINT) { return FALSE; }

BOOL CGXGridCore::OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_pParam || m_pParam->IsReadOnly())
        return FALSE;
    if (nChar == '\t' || nChar == '\r' || nChar == 27)
        return FALSE; // handled as keys
    CGXControl* ctrl = GetCurrentCellControl();
    if (!ctrl)
        return FALSE;
    return ctrl->KeyPressed(WM_CHAR, nChar, nRepCnt, nFlags);
}
