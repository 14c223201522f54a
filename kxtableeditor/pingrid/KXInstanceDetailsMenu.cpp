// Right-button menus of the pin grid: the column chooser on the caption row,
// the pin menu on data rows and a reduced menu on an implicit power pin's signal.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "afx/afxmenu.h"

#include <cstdlib>

namespace {

constexpr ROWCOL kFilterRow = 4;
constexpr UINT kFirstColumnCommand = 2024;
constexpr UINT kPinMenu = 402;
constexpr UINT kDeleteCommand = 35264;
constexpr UINT kSwapPinsCommand = 35566;
// Set (to anything) in the environment, the pin menu offers the swap of pins.
constexpr const char KX_ALLOW_SWAP_PINS[] = "KX_ALLOW_SWAP_PINS";

} // namespace

BOOL CKXInstanceDetailsGridWnd::OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow == kFilterRow) return CKXGridWnd::OnRButtonClickedRowCol(nRow, nCol, nFlags, pt);
    CPoint screen = pt;
    ClientToScreen(&screen);

    if (nRow == PIN_CAPTION_ROW) {
        const std::vector<CKXColumnInfoClass*> columns = m_arrColumnInfo;
        CMenu menu;
        menu.CreatePopupMenu();
        UINT id = kFirstColumnCommand;
        for (std::size_t i = 1; i < columns.size(); ++i, ++id) {
            const bool enabled = m_bMultipleObjects || i >= 3;
            UINT flags = MF_STRING;
            if (!enabled)
                flags |= MF_GRAYED;
            else if (columns[i]->m_bShown)
                flags |= MF_CHECKED;
            menu.AppendMenu(flags, id, columns[i]->m_strCaption);
        }
        menu.AppendMenu(MF_SEPARATOR);
        const UINT more = id;
        menu.AppendMenu(MF_STRING, more, "More...");
        const UINT chosen =
            static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, this));
        if (chosen == 0) return TRUE;
        if (chosen == more) {
            CustomizeColumns();
            return TRUE;
        }
        CString text;
        menu.GetMenuString(chosen, text, MF_BYCOMMAND);
        for (std::size_t i = 1; i < m_arrColumnInfo.size(); ++i) {
            if (m_arrColumnInfo[i]->m_strCaption.CompareNoCase(text) != 0) continue;
            m_arrColumnInfo[i]->m_bShown = m_arrColumnInfo[i]->m_bShown ? 0 : 1;
            BroadcastColumnLayout(m_arrColumnInfo);
            break;
        }
        return TRUE;
    }
    if (nRow < PIN_FIRST_ROW) return TRUE;

    if (nCol == static_cast<ROWCOL>(m_nColSignal) && IsImplicitPowerPinRow(nRow, nullptr)) {
        CMenu menu;
        if (!menu.LoadMenu(kPinMenu)) return TRUE;
        CMenu* popup = menu.GetSubMenu(0);
        if (!popup) return TRUE;
        popup->ModifyMenu(kDeleteCommand, MF_BYCOMMAND | MF_STRING, kDeleteCommand, "Reset to Default");
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, AfxGetMainWnd());
        return TRUE;
    }
    m_excludedCommands.clear();
    if (!std::getenv(KX_ALLOW_SWAP_PINS)) m_excludedCommands.insert(kSwapPinsCommand);
    ShowContextMenu(this, pt, kPinMenu, 8951);
    m_excludedCommands.clear();
    return TRUE;
}
