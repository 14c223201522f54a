// Right-button menus of the signal grid: the column chooser on the caption row
// (a column's check mark shows it in every signal grid) and the signal menu on
// data rows, whose commands go to the main window as the menu bar's would.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "afx/afxmenu.h"

using namespace kxsignal;

namespace {

constexpr UINT kFirstColumnCommand = 2024;
constexpr UINT kSignalRowMenu = 405;
constexpr UINT kSignalPaneKind = 9006;
// Signal Name and Physical Name: shown by the grid itself when it lists several nets.
constexpr int kFixedColumns = 2;

} // namespace

void CKXSignalDetailsGridWnd::GetColumnMenuText(int col, CString& text, BOOL& bEnabled) {
    const CKXColumnInfoClass* info = Columns().Find(col);
    if (!info) return;
    text = info->m_strCaption;
    bEnabled = TRUE;
    // A row is its instance and its pin: those columns always stay; the bits only mean something
    // on a bus.
    if (col == m_nColInstance || col == m_nColPinName) {
        bEnabled = FALSE;
    } else if (col == m_nColStartBit || col == m_nColEndBit) {
        const CNetContext net = GetNetOfRow(kFirstDataRow);
        if (net && net->isScalar()) bEnabled = FALSE;
    }
}

BOOL CKXSignalDetailsGridWnd::OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow == kFilterRow) return CKXGridWnd::OnRButtonClickedRowCol(nRow, nCol, nFlags, pt);
    if (nRow == kCaptionRow) {
        ShowColumnMenu(pt);
        return TRUE;
    }
    if (nRow >= kFirstDataRow) ShowContextMenu(this, pt, kSignalRowMenu, kSignalPaneKind);
    return TRUE;
}

void CKXSignalDetailsGridWnd::ShowColumnMenu(CPoint pt) {
    CPoint screen = pt;
    ClientToScreen(&screen);
    CMenu menu;
    menu.CreatePopupMenu();
    UINT id = kFirstColumnCommand;
    for (int c = 1; c < Columns().Size(); ++c, ++id) {
        const CKXColumnInfoClass* info = Columns().At(c);
        UINT flags = MF_STRING;
        CString caption;
        BOOL enabled = TRUE;
        GetColumnMenuText(c, caption, enabled);
        if (c <= kFixedColumns || !enabled)
            flags |= MF_GRAYED;
        else if (info->m_bShown)
            flags |= MF_CHECKED;
        menu.AppendMenu(flags, id, info->m_strCaption);
    }
    menu.AppendMenu(MF_SEPARATOR);
    const UINT more = id;
    menu.AppendMenu(MF_STRING, more, "More...");
    const UINT chosen =
        static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, this));
    if (chosen == 0) return; // dismissed
    if (chosen == more) {
        CustomizeColumns();
        return;
    }
    CString text;
    menu.GetMenuString(chosen, text, MF_BYCOMMAND);
    for (int c = kFixedColumns + 1; c < Columns().Size(); ++c) {
        CKXColumnInfoClass* info = Columns().At(c);
        if (info->m_strCaption.CompareNoCase(text) != 0) continue;
        CString caption;
        BOOL enabled = TRUE;
        GetColumnMenuText(c, caption, enabled);
        if (!enabled) return; // a grayed item is not the user's to choose
        info->m_bShown = info->m_bShown ? 0 : 1;
        // Every signal grid, this one included, takes the layout.
        Columns().Broadcast(Columns().Columns());
        Redraw();
        return;
    }
}
