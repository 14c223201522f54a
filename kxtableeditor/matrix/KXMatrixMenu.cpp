// The matrix's right-button menus, what its selection tells the host's other
// windows (the signal list, the property editor, the associated-component
// viewer) and Track in Signal List.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXAssocCompStruct.h"
#include "grid/KXGridSite.h"

#include "afx/afxmenu.h"
#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <memory>

using namespace kxmatrix;

namespace {

constexpr UINT kFirstColumnCommand = 2024;
constexpr UINT kRowMenu = 402; // the pin grid's row menu: the same commands apply to a matrix row
constexpr UINT kMatrixPaneKind = 10;
constexpr ROWCOL kLastHeaderRow = 1;
constexpr std::size_t kMaxPublishedRows = 100;

} // namespace

// ------------------------------------------------------------------ menus

void CKXMatrixGridWnd::OnCellControlClick(CPoint point, BOOL* pKeepSelection) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int offset = -1, group = -1;
    if (!pKeepSelection || *pKeepSelection || HitTest(point, &row, &col) != GX_CELLHIT || row < kFirstDataRow ||
        row > GetRowCount() || !DecodeInstanceColumn(static_cast<int>(col), offset, group))
        return;
    if (auto* combo = dynamic_cast<CKXGridACCombo*>(GetControl(row, col))) *pKeepSelection = combo->IsChildCtrl(point);
}

BOOL CKXMatrixGridWnd::OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow == kFilterRow) return CKXGridWnd::OnRButtonClickedRowCol(nRow, nCol, nFlags, pt);
    if (nRow <= kLastHeaderRow) {
        ShowColumnMenu(pt);
        return TRUE;
    }
    if (nRow >= kFirstDataRow) ShowContextMenu(this, pt, kRowMenu, kMatrixPaneKind);
    return TRUE;
}

std::vector<CKXColumnInfoClass*> CKXMatrixGridWnd::MenuColumns() {
    // The signal-side columns without the row header, then one group's columns.
    const KXMatrixLayout& layout = Layout();
    std::vector<CKXColumnInfoClass*> columns;
    for (std::size_t i = 1; i < layout.m_arrSignalColumns.size(); ++i) columns.push_back(layout.m_arrSignalColumns[i]);
    columns.insert(columns.end(), layout.m_arrInstanceColumns.begin(), layout.m_arrInstanceColumns.end());
    return columns;
}

void CKXMatrixGridWnd::ShowColumnMenu(CPoint pt) {
    const std::vector<CKXColumnInfoClass*> columns = MenuColumns();
    CMenu menu;
    menu.CreatePopupMenu();
    UINT id = kFirstColumnCommand;
    for (const CKXColumnInfoClass* info : columns)
        menu.AppendMenu(MF_STRING | (info->m_bShown ? MF_CHECKED : 0), id++, info->m_strCaption);
    menu.AppendMenu(MF_SEPARATOR);
    const UINT more = id;
    menu.AppendMenu(MF_STRING, more, "More...");
    CPoint screen = pt;
    ClientToScreen(&screen);
    const UINT chosen = static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, this));
    if (chosen == 0) return;
    if (chosen == more) {
        CustomizeColumns();
        return;
    }
    CString text;
    menu.GetMenuString(chosen, text, MF_BYCOMMAND);
    for (CKXColumnInfoClass* info : columns) {
        if (info->m_strCaption.CompareNoCase(text) != 0) continue;
        info->m_bShown = info->m_bShown ? 0 : 1;
        // Every matrix grid, this one included, re-applies the shared layout.
        Columns().Broadcast(Columns().Columns());
        return;
    }
}

// ------------------------------------------------------------------ track in signal list

BOOL CKXMatrixGridWnd::IsCurrentRowSignal() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow || row > GetRowCount()) return FALSE;
    int bit = -1;
    return GetCellNetBit(row, bit) ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::HiliteCurrentNet() {
    // The signal of the current row is selected in the signal list.
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    int bit = -1;
    INet* net = GetCellNetBit(row, bit);
    CCommonInterface* signalPane = Site() ? Site()->SignalListPane() : nullptr;
    if (!net || !signalPane) return FALSE;
    CKXHiliteObject hilite(true);
    hilite.SetMode(2);
    hilite.SetType(KX_HILITE_TYPE_SIGNAL);
    hilite.SetObject(m_designContext.net(net).bitContext(bit), bit, bit);
    signalPane->HighlightObject(&hilite);
    return TRUE;
}

// ------------------------------------------------------------------ publishing

void CKXMatrixGridWnd::PublishCurrentNet(IKXMessageServer* server) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || static_cast<int>(col) != Layout().m_nNameCol || row < kFirstDataRow) return;
    int bit = -1;
    INet* net = GetCellNetBit(row, bit);
    if (!net) return;
    CNetContext context = m_designContext.net(net);
    server->Broadcast(MSG_NET_SELECTED, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(&m_designContext));
}

void CKXMatrixGridWnd::PublishAssocRecords(bool cut) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return;
    int offset = -1, group = -1;
    const bool pins = SplitColumn(static_cast<int>(col), offset, group);
    const KXMatrixLayout& layout = Layout();
    if (pins && offset != layout.m_nPinNameOffset && offset != layout.m_nPnOffset && offset != layout.m_nPinTypeOffset &&
        offset != layout.m_nTerminationOffset)
        return; // property and user columns of a group stand for no object
    std::vector<ROWCOL> rows = SelectedDataRows();
    if (rows.empty() && row >= kFirstDataRow && row <= GetRowCount() && !IsRowHidden(row)) rows.push_back(row);
    if (cut && rows.size() > kMaxPublishedRows) rows.resize(kMaxPublishedRows);
    CKXAssocCompArray records;
    for (ROWCOL r : rows) {
        int bit = -1;
        if (pins) {
            IInstTerm* pin = GetCellInstTermBit(r, ColumnOf(group, layout.m_nPinNameOffset), bit);
            if (!pin) continue;
            const CInstTermContext context = GroupInstance(group).instTerm(pin);
            if (bit == -1)
                records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::kPin, context));
            else
                records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::kPin, context.bitContext(bit)));
            continue;
        }
        if (static_cast<int>(col) == layout.m_nPupdCol) {
            CGXStyle style;
            GetStyleRowCol(r, col, style);
            if (style.GetControl() == IDS_CTRL_PUPD_NONE) continue;
        }
        INet* net = GetCellNetBit(r, bit);
        if (!net || CKXGenUtils::IsNC(net->name())) continue;
        records.push_back(
            std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::kNetBit, m_designContext.net(net).bitContext(bit)));
    }
    PublishToAssocViewer(records);
}

void CKXMatrixGridWnd::NotifySelectionChanged() {
    CWnd* main = AfxGetMainWnd();
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!main || !server) return;
    PublishCurrentNet(server);
    // With the property editor shown, both viewers see the first rows only.
    const bool editor = IsDockShown("PROPERTYEDITOR");
    if (editor) PublishPropertyRecords(server);
    if (IsDockShown("ASSOCCOMPVIEWER")) PublishAssocRecords(editor);
}
