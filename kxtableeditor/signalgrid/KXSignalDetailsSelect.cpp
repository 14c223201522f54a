// Row operations of the signal grid that leave the design alone: sorting by a
// column, the filter row, the selection described as script text, and the
// selection published to the host, the signal list and the property editor.
// A user's sort and filter go to the host as script commands and come back
// through the pane's sort and filterRows words.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRowFilter.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXSortGrid.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "rmx/schema.h"

#include <set>

using namespace kxsignal;

namespace {

constexpr UINT kSelectCell = GX_SMART | GX_SCROLLINVIEW; // flags 10 of the grid library

void SendHostText(const CString& text) {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

} // namespace

std::vector<ROWCOL> CKXSignalDetailsGridWnd::SelectedRows() {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    std::vector<ROWCOL> out;
    out.reserve(static_cast<size_t>(rows.GetSize()));
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (rows[i] <= GetRowCount()) out.push_back(rows[i]);
    return out;
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::SelectedDataRows() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedRows())
        if (r >= kFirstDataRow && !IsRowHidden(r)) rows.push_back(r);
    return rows;
}

// ------------------------------------------------------------------ sorting

void CKXSignalDetailsGridWnd::SortColumn(int col) {
    if (col < 1 || static_cast<ROWCOL>(col) > GetColCount()) return;
    CKXGridWnd::OnSortColumn(col);
}

void CKXSignalDetailsGridWnd::OnSortColumn(int col) {
    if (col < 1 || static_cast<ROWCOL>(col) > GetColCount()) return;
    CString text;
    text.Format("%s pin %s", KXScriptWord::sort, KXTclQuote(GetColumnScriptName(col)).GetString());
    SendHostText(text);
}

void CKXSignalDetailsGridWnd::SortRows(int col, BOOL bAscending) {
    if (col < 1 || static_cast<ROWCOL>(col) > GetColCount()) return;
    GridWriteScope scope(*this);
    CKXSortGrid sorter(this, kFirstDataRow, TRUE, CCommonInterface::nSortType == 0 ? TRUE : FALSE, FALSE);
    sorter.FreezeBlankRows(TRUE); // the blank rows stay at the end
    // The row index follows the rows; the blank rows kept their places.
    sorter.SortRows(static_cast<ROWCOL>(col), bAscending, 1);
}

BOOL CKXSignalDetailsGridWnd::SortByColumnName(const CString& name) {
    const int col = ColumnOfScriptName(name);
    if (col < 1) return FALSE;
    SortColumn(col);
    return TRUE;
}

int CKXSignalDetailsGridWnd::ColumnOfScriptName(const CString& name) {
    if (!name.IsEmpty()) return GetColumnFromName(name);
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    return GetCurrentCell(row, col) && col != GX_INVALID ? static_cast<int>(col) : -1;
}

// ------------------------------------------------------------------ filter row

BOOL CKXSignalDetailsGridWnd::SetColumnFilter(const CString& name, const CString& filter) {
    const int col = ColumnOfScriptName(name);
    if (col < 1 || static_cast<ROWCOL>(col) > GetColCount()) return FALSE;
    KXRowFilter(*this, kFilterRow).SetPattern(Col(col), filter);
    m_bFilterEcho = 1; // making the filter cell current validates nothing anew
    SetCurrentCell(kFilterRow, Col(col), kSelectCell);
    m_bFilterEcho = 0;
    FilterRows(col);
    return TRUE;
}

CString CKXSignalDetailsGridWnd::FilterText(ROWCOL row, ROWCOL col) {
    // The PUPD cell shows a picture: its tooltip names what it shows.
    if (col == Col(m_nColPupd)) return KXRowAttrs(*this, row).Text(col, IDS_UA_TOOLTIPTEXT);
    return GetValueRowCol(row, col);
}

bool CKXSignalDetailsGridWnd::FilterRejects(ROWCOL row) {
    for (const KXRowFilter::Pattern& p : KXRowFilter(*this, kFilterRow).ActivePatterns(1, GetColCount())) {
        if (IsColHidden(p.col) || GetColWidth(p.col) == 0) continue;
        if (!p.Matches(FilterText(row, p.col))) return true;
    }
    return false;
}

BOOL CKXSignalDetailsGridWnd::FilterRows(int editedCol) {
    CWaitCursor wait;
    const ROWCOL last = GetRowCount();
    const ROWCOL edited = editedCol > 0 ? Col(editedCol) : GX_INVALID;
    const KXRowFilter filter(*this, kFilterRow);
    {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        UpdateLockScope lock(*this);
        if (last >= kFirstDataRow) HideRows(kFirstDataRow, last, FALSE, nullptr, kNoUpdate, gxDo);
        for (const KXRowFilter::Pattern& p : filter.ActivePatterns(1, GetColCount(), edited)) {
            if (IsColHidden(p.col) || GetColWidth(p.col) == 0) continue;
            for (ROWCOL r = kFirstDataRow; r <= last; ++r)
                if (!IsRowHidden(r) && !p.Matches(FilterText(r, p.col)))
                    HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
        }
    }
    Redraw();
    if (edited != GX_INVALID && KXJournalLines::IsRecording()) {
        // The replay filters the grid of the signals filtered here, whichever grid it showed before:
        // a grid of several signals is shown again as their group.
        KXJournalLines journal(JournalHandle());
        CString group;
        GetShownObjectNames(group);
        if (m_bMultipleNets)
            journal.Call("Slp()", "SelectGroup", {group});
        else
            journal.Call("Slp()", "Select", {JournalNetName(kFirstDataRow)});
        journal.Pane("FilterRows", {GetValueRowCol(kCaptionRow, edited), filter.PatternOf(edited, edited)}).Write();
    }
    return TRUE;
}

// ------------------------------------------------------------------ the selection as text

void CKXSignalDetailsGridWnd::GetSelectionAsList(CString& list) {
    list.Empty();
    for (ROWCOL r : SelectedRows()) {
        if (IsRowHidden(r)) continue;
        // Each field one list element that reads back as it stands (brackets, blanks, quotes).
        const CString pn = CellText(r, m_nColPinNumber), instance = CellText(r, m_nColInstance);
        CString item;
        item.Format("[list %s %s %s \"%s\"] ", KXTclListElement(pn).GetString(),
                    KXTclListElement(instance).GetString(), KXTclListElement(RowBitText(r, m_nColStartBit)).GetString(),
                    RowBitText(r, m_nColEndBit).GetString());
        list += item;
    }
    list.TrimRight();
}

CString CKXSignalDetailsGridWnd::RowBitText(ROWCOL row, int col) {
    // A row of a scalar pin shows no bits; its key names them -1.
    const CString text = CellText(row, col);
    return text.IsEmpty() ? CString("-1") : text;
}

void CKXSignalDetailsGridWnd::CrossSelectInHost() {
    CTclArgsList list;
    list.add(KXScriptWord::selectObject);
    list.add("pin");
    for (ROWCOL r : SelectedDataRows()) {
        if (CellText(r, m_nColPinNumber).IsEmpty()) continue;
        list.StartArgument();
        list.AddToArgument(CellText(r, m_nColPinNumber));
        list.AddToArgument(CellText(r, m_nColInstance));
        list.AddToArgument(RowBitText(r, m_nColStartBit));
        list.AddToArgument(RowBitText(r, m_nColEndBit));
        list.AddToArgument(CellText(r, m_nColSignalName));
        list.EndArgument();
    }
    if (list.GetTotalArgCount() > 2)
        if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
}

// ------------------------------------------------------------------ publishing the selection

void CKXSignalDetailsGridWnd::GetSelectedObjects() {
    CCommonInterface* signals = Site() ? Site()->SignalListPane() : nullptr;
    if (!GetShownNet() || !signals || !m_designContext) return;
    // The list selects every net the grid shows, each once: a group grid keeps the whole group
    // selected, as the user chose it.
    CKXNetContextArray nets;
    std::set<unsigned> added;
    for (const CKXNetData& record : m_arrNetData)
        if (record.m_pNet && added.insert(record.m_pNet->id()).second) nets.Add(m_designContext.net(record.m_pNet->id()));
    signals->ShowNetConnectivity(m_designContext, &nets, FALSE);
}

void CKXSignalDetailsGridWnd::GetSelectedObjectNames() {
    GetSelectedObjects();
    CKXGridWnd::GetSelectedObjectNames();
}

// The nets of the selected rows, as the docked windows take them: rows without a net and the
// no-connect net are left out.
std::vector<CNetContext> CKXSignalDetailsGridWnd::PublishedNets() {
    std::vector<CNetContext> nets;
    for (ROWCOL r : SelectedDataRows()) {
        const CNetContext net = GetNetOfRow(r);
        if (net && CString(net->name()).CompareNoCase("NC") != 0) nets.push_back(net);
    }
    return nets;
}

void CKXSignalDetailsGridWnd::NotifySelectionChanged() {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!AfxGetMainWnd() || !server) return;
    const bool editor = IsDockShown("PROPERTYEDITOR"), viewer = IsDockShown("ASSOCCOMPVIEWER");
    if (!editor && !viewer) return;
    const std::vector<CNetContext> nets = PublishedNets();
    if (nets.empty()) return;
    if (editor) {
        CKXConnObjInfoList list;
        for (const CNetContext& net : nets) {
            const int kind = net->isScalar() ? CKXConnObjInfo::NET : CKXConnObjInfo::BUS;
            list.Add(new CKXConnObjInfo(net->name(), kind, net->msb(), net->lsb(), nullptr));
        }
        // The property editor takes the records over; the list itself is ours.
        server->Send(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&list),
                     reinterpret_cast<LPARAM>(&m_designContext), 0);
    }
    if (!viewer) return;
    CKXAssocCompArray records;
    for (const CNetContext& net : nets)
        records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::NET, net));
    PublishToAssocViewer(records);
}

void CKXSignalDetailsGridWnd::ShowPropertyEditor() {
    ShowPropEditor(2);
    NotifySelectionChanged();
}

void CKXSignalDetailsGridWnd::OnKeyF4() {
    if (CCommonInterface* signals = Site() ? Site()->SignalListPane() : nullptr) signals->FocusActiveGrid();
}

void CKXSignalDetailsGridWnd::RemoveListPaneSelection() {
    if (CCommonInterface* instances = Site() ? Site()->InstanceListPane() : nullptr) instances->RemoveSelection();
}
