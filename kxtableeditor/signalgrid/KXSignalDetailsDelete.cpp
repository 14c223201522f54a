// Deleting from the signal grid (the pane's Delete command and its
// deleteConnection word) and selecting rows by the keys that scripts and journal
// lines name.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace kxsignal;

namespace {

constexpr UINT kSmartInView = GX_SMART | GX_SCROLLINVIEW;

} // namespace

BOOL CKXSignalDetailsGridWnd::CanDelete() {
    return IsReadOnlyWindow() ? FALSE : TRUE;
}

BOOL CKXSignalDetailsGridWnd::IsCurrentCellConnectable() {
    return TRUE;
}

void CKXSignalDetailsGridWnd::GetDeleteScriptCommand(CString& command) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    GetCurrentCell(row, col);
    command = col == Col(m_nColTermination) ? KXScriptWord::deleteTermination : KXScriptWord::deleteConnection;
    command += " pin";
}

BOOL CKXSignalDetailsGridWnd::DeleteSelection() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    // No current cell (a selection by a key that named no row left none): nothing is deleted.
    if (!GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    if (col == Col(m_nColTermination)) return DeleteTerminations();
    return DeleteRows(FALSE);
}

BOOL CKXSignalDetailsGridWnd::DeleteConnections() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    return DeleteRows(TRUE);
}

BOOL CKXSignalDetailsGridWnd::DeleteRows(BOOL bConnectedOnly) {
    if (!MayEdit()) return FALSE;
    ROWCOL current = GX_INVALID, currentCol = GX_INVALID;
    GetCurrentCell(current, currentCol);
    CRowColArray selected;
    GetSelectedRows(selected, FALSE, TRUE);
    if (selected.GetSize() == 0) return FALSE;
    UpdateLockScope lock(*this);
    // The design of the grid's rows holds the transaction.
    CKXGridEdit edit(*this, "Delete Rows", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    std::vector<ROWCOL> disconnected;
    // The rows as the journal names them: each row's delete, and the keys that select them all.
    std::vector<CString> keys;
    CString sameNet;
    bool oneNet = true;
    for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
        const ROWCOL r = selected[i];
        if (r < kFirstDataRow) continue;
        const CString pinName = CellText(r, m_nColPinName);
        if (pinName.IsEmpty()) continue;
        if (bConnectedOnly && GetRowPinId(r) < 0) continue;
        if (IsImplicitPowerPinRow(r)) continue; // no connection to take away
        // Named before the row goes: the replay selects the same pin's row.
        const CString netName = JournalNetName(r), instance = CellText(r, m_nColInstance), pinKey = RowPinKey(r);
        const CString key = RowSelectionKey(r);
        if (!DisconnectRow(r, pinName, TRUE)) continue;
        JournalRowDelete(journal, netName, instance, pinKey).OwnStep();
        if (disconnected.empty()) sameNet = netName;
        oneNet = oneNet && netName == sameNet;
        keys.push_back(key);
        disconnected.push_back(r);
    }
    if (disconnected.empty()) return FALSE; // the bracket discards what it began
    // Rows of one signal replay as one Delete of them all selected together: the one step made here.
    const bool together = disconnected.size() > 1 && oneNet;
    if (together) {
        journal = KXJournalLines(JournalHandle());
        journal.Call("Slp()", "Select", {sameNet}).PaneWithList("CtrSelect", keys, {CString()}).End();
        journal.Comment("Delete").Pane("Delete").OwnStep();
    }
    // A refused commit leaves the design as it was, and so the rows that show it, and nothing to replay.
    if (!edit.Commit()) return FALSE;
    RemoveDisconnectedRows(disconnected);
    SetCurrentCell(disconnected.front(), currentCol, kSmartInView);
    MarkModified();
    journal.Write(); // the rows' deletes, the one step they are
    return TRUE;
}

void CKXSignalDetailsGridWnd::RemoveDisconnectedRows(std::vector<ROWCOL> rows) {
    // The rows go, from the last up; blank rows keep the row count.
    GridWriteScope scope(*this);
    std::sort(rows.rbegin(), rows.rend());
    for (ROWCOL r : rows) {
        RemoveDataRows(r, r);
        AppendBlankRow();
    }
}

CString CKXSignalDetailsGridWnd::RowPinKey(ROWCOL row) {
    // A row without a pin number (a block's pin) is named by its pin name.
    const CString number = CellText(row, m_nColPinNumber);
    return number.IsEmpty() ? CellText(row, m_nColPinName) : number;
}

// The key selectObject (and the automation's CtrSelect) finds the row by: pin number or name, instance,
// bits and signal.
CString CKXSignalDetailsGridWnd::RowSelectionKey(ROWCOL row) {
    const CString start = CellText(row, m_nColStartBit), end = CellText(row, m_nColEndBit);
    return RowPinKey(row) + ":" + CellText(row, m_nColInstance) + ":" + (start.IsEmpty() ? CString("-1") : start) +
           ":" + (end.IsEmpty() ? CString("-1") : end) + ":" + CellText(row, m_nColSignalName);
}

KXJournalLines& CKXSignalDetailsGridWnd::JournalRowDelete(KXJournalLines& journal, const CString& netName,
                                                         const CString& instance, const CString& pinKey) {
    return journal.Call("Slp()", "Select", {netName})
        .Pane("SelectInstanceCol", {instance, pinKey})
        .End()
        .Comment("Delete")
        .Pane("Delete");
}

namespace {

// A row key: pin number : instance : start bit : end bit : signal, its last fields optional.
std::vector<CString> KeyFields(const CString& key) {
    std::vector<CString> f;
    int start = 0;
    for (int at = key.Find(':');; at = key.Find(':', start)) {
        f.push_back(at < 0 ? key.Mid(start) : key.Mid(start, at - start));
        if (at < 0 || f.size() == 5) break;
        start = at + 1;
    }
    f.resize(5);
    if (!f[2].IsEmpty() && f[3].IsEmpty()) f[3] = f[2];
    return f;
}

} // namespace

bool CKXSignalDetailsGridWnd::RowMatchesKey(ROWCOL r, const std::vector<CString>& f) {
    if (!f[1].IsEmpty() && CellText(r, m_nColInstance) != f[1]) return false;
    if (!f[4].IsEmpty() && CellText(r, m_nColSignalName) != f[4]) return false;
    if (f[2].IsEmpty()) return true; // no bits given: any bits of the pin
    const CString s = CellText(r, m_nColStartBit), e = CellText(r, m_nColEndBit);
    const CString rs = s.IsEmpty() ? CString("-1") : s, re = e.IsEmpty() ? CString("-1") : e;
    return (rs.CompareNoCase(f[2]) == 0 && re.CompareNoCase(f[3]) == 0) ||
           (rs.CompareNoCase(f[3]) == 0 && re.CompareNoCase(f[2]) == 0);
}

void CKXSignalDetailsGridWnd::SelectRowsByKey(CStringArray* pKeys, CString keyColumn) {
    SelectKeyedRows(pKeys, keyColumn, nullptr);
}

void CKXSignalDetailsGridWnd::SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn,
                                                    std::vector<bool>& named) {
    SelectKeyedRows(pKeys, keyColumn, &named);
}

void CKXSignalDetailsGridWnd::SelectKeyedRows(CStringArray* pKeys, const CString& keyColumn,
                                              std::vector<bool>* named) {
    const ROWCOL last = GetRowCount();
    if (!pKeys || pKeys->GetSize() == 0) {
        for (ROWCOL r = kFirstDataRow; r <= last; ++r)
            if (!IsRowHidden(r)) SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
        return;
    }
    const int col = keyColumn.IsEmpty() ? m_nColPinNumber : GetColumnFromName(keyColumn);
    if (col < 0) return;
    SetSelection(nullptr);
    // A key names a row by its pin number, or by its pin name when it has none (a block's pin), as
    // RowSelectionKey writes it.
    std::map<CString, std::vector<ROWCOL>> rowsByNumber;
    for (ROWCOL r = kFirstDataRow; r <= last; ++r)
        rowsByNumber[RowPinKey(r)].push_back(r);
    bool first = true;
    for (INT_PTR k = 0; k < pKeys->GetSize(); ++k) {
        const std::vector<CString> f = KeyFields((*pKeys)[k]);
        const auto rows = rowsByNumber.find(f[0]);
        if (f[0].IsEmpty() || rows == rowsByNumber.end()) continue;
        for (ROWCOL r : rows->second) {
            if (!RowMatchesKey(r, f)) continue;
            // The first key's row becomes the current row, as a click on it makes it; moving the
            // current cell later would drop the cells selected before.
            if (first) SetCurrentCell(r, Col(col), kSmartInView);
            first = false;
            if (named && static_cast<std::size_t>(k) < named->size()) (*named)[k] = true;
            SelectRange(CGXRange(r, Col(col)), TRUE, FALSE);
            break;
        }
    }
    // Keys of no row leave no current cell either: the next command must not act on the row the
    // cursor happened to be on.
    if (first) ClearSelection();
}

BOOL CKXSignalDetailsGridWnd::SelectPinCell(const CString& kind, const CString& instance, const CString& pinNumber) {
    int col = -1;
    if (kind.CompareNoCase("instance") == 0) col = m_nColInstance;
    if (kind.CompareNoCase("pinname") == 0) col = m_nColPinName;
    if (kind.CompareNoCase("Termination") == 0) col = m_nColTermination;
    if (col < 0) return FALSE;
    for (ROWCOL r = kFirstDataRow; r <= GetRowCount(); ++r) {
        if (CellText(r, m_nColInstance) != instance || RowPinKey(r) != pinNumber) continue;
        // The row becomes the selection, so that a Delete that follows works on it alone; the cell is
        // also the one the grid comes back to when it is activated again (each automation call does).
        SetSelection(nullptr);
        SelectRange(CGXRange(r, Col(col)), TRUE, FALSE);
        return SetCurrentCell(r, Col(col), kSmartInView);
    }
    return FALSE;
}

BOOL CKXSignalDetailsGridWnd::SelectInstanceRow(const CString& instance, const CString& pinKey) {
    if (SelectPinCell("instance", instance, pinKey)) return TRUE;
    IDesign* design = m_designContext.design();
    IInstance* waiting = pinKey.IsEmpty() && design && !IsReadOnlyWindow() ? design->findInstance(instance) : nullptr;
    ROWCOL row = 0;
    return waiting && AddInstanceRow(m_designContext.instance(waiting), &row) &&
           SelectPinCell("instance", instance, pinKey);
}
