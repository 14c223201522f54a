// The physical net grid's commands: signal models (dialog, cell edit, paste,
// delete), the pin editor, copy, filter, sort, selection by key, menus and dump.
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXPinModels.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"

#include "grid/KXGridSite.h"
#include "grid/KXScriptText.h"

#include "afx/afxmenu.h"
#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXFilterData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"
#include "rmx/transaction.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;
constexpr int kObjectTypeModel = 4;
constexpr int kClipboardFormat = 4;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

} // namespace

// ---------------------------------------------------------------------------
// Signal models

void CKXPhysNetDetailsGridWnd::SetSignalModelCellStyle(ROWCOL row) {
    CInstTermBitContext bit;
    if (GetRowPhysPin(row, &bit)) StyleModelCell(row, bit);
}

std::vector<ROWCOL> CKXPhysNetDetailsGridWnd::SelectedPinRows() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedRows())
        if (IsShownPinRow(r) && GetRowPhysPin(r, nullptr)) rows.push_back(r);
    return rows;
}

BOOL CKXPhysNetDetailsGridWnd::CanAssignModel() {
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) && row >= kNetFirstRow;
}

BOOL CKXPhysNetDetailsGridWnd::CanRemoveModel() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kNetFirstRow) return FALSE;
    if (SelectedRows().size() > 1) return TRUE;
    CInstTermBitContext bit;
    if (!GetRowPhysPin(row, &bit)) return FALSE;
    std::unique_ptr<CPQPropertyData> p(bit.findProperty(kKXPinModelProperty, false));
    return p ? TRUE : FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::CanEditPin() {
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) && row >= kNetFirstRow && GetRowPhysPin(row, nullptr);
}

CString CKXPhysNetDetailsGridWnd::ShownNetNames() const {
    if (!m_bMultipleNets) return m_strNetName;
    CString names;
    for (const CString& net : m_loadedNets)
        names += (names.IsEmpty() ? "" : " ") + net;
    return names;
}

CString CKXPhysNetDetailsGridWnd::JournalObjectSelection(ROWCOL row) {
    // The grid as a whole (a filter, a sort): a grid of several nets is shown again as their group, so
    // that the replay acts on the same rows.
    if (m_bMultipleNets && row < kNetFirstRow && !m_loadedNets.empty())
        return "\ncall " + JournalHandle() + ".Slp().SelectGroup(" + Vbs(ShownNetNames()) + ")";
    // The signal list of the physical view names the physical nets: selecting the row's net there
    // (the grid's one net, or the row's own while several are shown) shows it again on replay.
    CString net = m_strNetName;
    if (m_bMultipleNets && row >= kNetFirstRow) net = GetValueRowCol(row, C(m_nColPhysNetName));
    if (net.IsEmpty()) return CString();
    return "\ncall " + JournalHandle() + ".Slp().Select(" + Vbs(net) + ")";
}

// One transaction writes the model on the rows' pins (an empty model removes it).
BOOL CKXPhysNetDetailsGridWnd::CommitModelOnRows(const std::vector<ROWCOL>& rows, const CString& model) {
    if (rows.empty()) return FALSE;
    CKXGridEdit edit(*this, model.IsEmpty() ? "Delete Models" : "Assign Model");
    CTransaction* transaction = edit.Transaction();
    if (!transaction) return FALSE;
    CString lines; // journalled once the edit is in
    bool unchanged = false;
    for (ROWCOL r : rows) {
        CInstTermBitContext bit;
        if (!GetRowPhysPin(r, &bit)) continue;
        if (model.IsEmpty()) {
            if (!RemovePinSignalModel(transaction, r)) continue;
            lines += JournalRowEdit(r, "Remove Model", "RemoveModel()");
        } else if (AssignedModel(bit).CompareNoCase(model) == 0) { // in any letter case
            unchanged = true;
        } else {
            transaction->addProperty(bit, kKXPinModelProperty, model.GetString(), 2, false);
            lines += JournalRowEdit(r, "Assign Model", "AssignModel(" + Vbs(model) + ")");
        }
    }
    if (lines.IsEmpty()) {
        // The pins have that model already: nothing to do, and the user is told so.
        if (unchanged) CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE; // the bracket throws the empty edit away
    }
    const BOOL committed = edit.Commit();
    for (ROWCOL r : rows)
        SetSignalModelCellStyle(r);
    if (committed) {
        Journal(lines);
        MarkDocumentModified();
    }
    Redraw(2, 1);
    return committed;
}

namespace {

// The one direction of the pins of the rows, -1 for none; KXTABLE-127 and -2 when they differ.
int CommonDirection(CKXPhysNetDetailsGridWnd& grid, const std::vector<ROWCOL>& rows) {
    int direction = -1;
    for (ROWCOL r : rows) {
        CInstTermBitContext bit;
        grid.GetRowPhysPin(r, &bit);
        const int d = bit.instTerm() ? bit.instTerm()->direction() : 0;
        if (direction < 0)
            direction = d;
        else if (d != direction) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-127");
            return -2;
        }
    }
    return direction;
}

} // namespace

BOOL CKXPhysNetDetailsGridWnd::AssignModelByName(const CString& model) {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty() || CommonDirection(*this, rows) == -2) return FALSE;
    if (model.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-186");
        return FALSE;
    }
    if (!CommitModelOnRows(rows, model)) return FALSE;
    NotifySelectionChanged();
    return TRUE;
}

BOOL CKXPhysNetDetailsGridWnd::AssignModel(int bUseGiven, LPCTSTR given) {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty()) return FALSE;
    const int direction = CommonDirection(*this, rows);
    if (direction == -2) return FALSE;
    CString model = given ? given : "";
    if (!bUseGiven && !KXAskPinModel(direction, model)) return FALSE;
    return AssignModelByName(model);
}

BOOL CKXPhysNetDetailsGridWnd::RemovePinSignalModel(CTransaction* transaction, ROWCOL row) {
    CInstTermBitContext bit;
    if (!transaction || !GetRowPhysPin(row, &bit)) return FALSE;
    std::unique_ptr<CPQPropertyData> p(bit.findProperty(kKXPinModelProperty, false));
    if (!p) return FALSE;
    return transaction->removeProperty(bit, kKXPinModelProperty, p->value()) ? TRUE : FALSE;
}

// Done when a selected pin had a model to take off.
BOOL CKXPhysNetDetailsGridWnd::DeleteSelection() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kNetFirstRow) return FALSE;
    return RemoveModels();
}

BOOL CKXPhysNetDetailsGridWnd::EditPin(BOOL flag) {
    ROWCOL row = 0, col = 0;
    CInstTermBitContext bit;
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!GetCurrentCell(row, col) || !GetRowPhysPin(row, &bit) || !server) return FALSE;
    server->Send(MSG_EDIT_PIN, reinterpret_cast<WPARAM>(&bit),
                 static_cast<LPARAM>(static_cast<unsigned>(flag & 0xFFFF) << 16), 0);
    return TRUE;
}

BOOL CKXPhysNetDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kNetFilterRow) {
        EchoFilterEdit(nCol);
        return TRUE;
    }
    if (nRow < kNetFirstRow || nCol != ModelColumn() || !GetRowPhysPin(nRow, nullptr)) return TRUE;
    return ValidateModelCell(nRow, nCol);
}

BOOL CKXPhysNetDetailsGridWnd::PasteModels(const CString& text) {
    if (text.IsEmpty()) return FALSE;
    const std::vector<ROWCOL> selected = SelectedRows();
    ROWCOL row = 0, col = 0;
    if (selected.empty() || !GetCurrentCell(row, col) || col != ModelColumn()) return FALSE;
    // One line per shown row from the first selected one; "\r\n" and "\n" end lines alike.
    std::map<ROWCOL, CString> lines;
    int start = 0;
    for (ROWCOL r = selected.front(); r <= GetRowCount() && start < text.GetLength(); ++r) {
        if (IsRowHidden(r)) continue;
        int end = text.Find('\n', start);
        if (end < 0) end = text.GetLength();
        CString line = text.Mid(start, end - start);
        if (line.Right(1) == "\r") line = line.Left(line.GetLength() - 1);
        start = end + 1;
        if (!line.IsEmpty() && GetRowPhysPin(r, nullptr)) lines[r] = line;
    }
    if (lines.empty()) return FALSE;
    // Each line is held to what its cell takes typed: a model the pin's part offers, in its spelling. One
    // line refused refuses the paste (it says why), as a paste is one edit.
    for (auto& [r, model] : lines)
        if (const KXEditResult refused = TakeModelText(r, col, model); refused.IsRefusal()) {
            refused.Answer(KXShownMark());
            return FALSE;
        }
    CKXGridEdit edit(*this, "Assign Model");
    CTransaction* transaction = edit.Transaction();
    if (!transaction) return FALSE;
    CString journal;
    for (const auto& [r, model] : lines) {
        // The model the cell shows already (its own, or the one its part stands in with) is no change,
        // as it is none typed there.
        if (GetValueRowCol(r, col).CompareNoCase(model) == 0) continue;
        if (PasteCellValue(transaction, r, col, model))
            journal += JournalRowEdit(r, "Assign Model", "AssignModel(" + Vbs(model) + ")");
    }
    if (journal.IsEmpty()) {
        // The cells show those models already: nothing to do, and the user is told so.
        CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE; // the bracket throws the empty edit away
    }
    const BOOL committed = edit.Commit();
    for (const auto& entry : lines)
        SetSignalModelCellStyle(entry.first);
    if (committed) {
        Journal(journal);
        MarkDocumentModified();
    }
    return committed;
}

BOOL CKXPhysNetDetailsGridWnd::PasteCellValue(CTransaction* transaction, ROWCOL row, ROWCOL,
                                              const CString& value) {
    CInstTermBitContext bit;
    if (!transaction || value.IsEmpty() || !GetRowPhysPin(row, &bit)) return FALSE;
    return transaction->addProperty(bit, kKXPinModelProperty, value.GetString(), 2, false) ? TRUE : FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::PasteFromClipboardViewer(int item, int) {
    // The viewer's item (not the clipboard's newest) is what the paste takes: prepared as every paste
    // prepares it, then its text goes into the model cells.
    if (!CKXImpClipBoard::ProcessDataForPaste(kClipboardFormat, nullptr, item - 1, FALSE, 0, 0, 0, 0, 1))
        return FALSE;
    CString text;
    if (!CKXImpClipBoard::GetCFText(text)) return FALSE;
    return PasteModels(text);
}

BOOL CKXPhysNetDetailsGridWnd::CanPasteNever(int) {
    return FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::CanPasteSignalModel(int type) {
    if (!m_pActiveGrid || type != kObjectTypeModel) return FALSE;
    ROWCOL row = 0, col = 0;
    m_pActiveGrid->GetCurrentCell(row, col);
    return col == C(m_nColSignalModel);
}

BOOL CKXPhysNetDetailsGridWnd::CanPasteSpecial() {
    return CanPasteSignalModel(CKXImpClipBoard::GetObjectType(1));
}

// ---------------------------------------------------------------------------
// Copy, filter, sort, selection

void CKXPhysNetDetailsGridWnd::OnEditCopy() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kNetFirstRow) return;
    EchoCopy("ccp", C(m_nColPinName), C(m_nColPinNumber), GetValueRowCol(kNetCaptionRow, col));
}

BOOL CKXPhysNetDetailsGridWnd::SetColumnFilter(CString colName, CString filter) {
    const int col = ColumnOfCaption(colName);
    if (col <= 0) return FALSE;
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo); // a filter is no undo step
    SetValueRange(CGXRange(kNetFilterRow, C(col)), filter, gxOverride, 0, kNoUpdate);
    SetCurrentCell(kNetFilterRow, C(col));
    FilterRows(C(col));
    return TRUE;
}

void CKXPhysNetDetailsGridWnd::FilterRows(ROWCOL col) {
    {
        kxgrid::LockUpdateScope lock(*this);
        HideFilteredRows(LastPinRow());
    }
    JournalFilter(col);
}

void CKXPhysNetDetailsGridWnd::OnSortColumn(int col) {
    if (col <= 0) return;
    SendHostText(CString(KXScriptWord::sort) + " pin " + KXTclQuote(GetValueRowCol(kNetCaptionRow, C(col))));
}

int CKXPhysNetDetailsGridWnd::SortByColumnName(CString colName) {
    const int col = ColumnOfCaption(colName);
    if (col <= 0) return 0;
    SortColumn(col);
    return 1;
}

void CKXPhysNetDetailsGridWnd::SortColumn(int col) {
    CKXPhysGridWnd::SortColumn(col);
    IndexPinRows();
}

void CKXPhysNetDetailsGridWnd::RestoreUnsortedOrder(const std::vector<CString>& order) {
    CKXPhysGridWnd::RestoreUnsortedOrder(order);
    IndexPinRows();
}

BOOL CKXPhysNetDetailsGridWnd::SelectPinCell(const CString& pinName, const CString& pinNumber) {
    const bool byNumber = pinNumber != "-1" && !pinNumber.IsEmpty();
    for (ROWCOL r = kNetFirstRow; r <= LastPinRow(); ++r) {
        if (IsRowHidden(r) || GetValueRowCol(r, C(m_nColPinName)) != pinName) continue;
        if (byNumber && GetValueRowCol(r, C(m_nColPinNumber)) != pinNumber) continue;
        DeselectAllRows();
        SetCurrentCell(r, C(m_nColPinName));
        SelectRange(CGXRange(r, C(m_nColPinName)), TRUE, TRUE);
        return TRUE;
    }
    DeselectAllRows();
    return FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::SelectPartPin(const CString& location, const CString& pinNumber) {
    const ROWCOL r = PinRowOf(location, pinNumber);
    DeselectAllRows();
    if (!r || IsRowHidden(r)) return FALSE;
    SetCurrentCell(r, C(m_nColLocation));
    SelectRange(CGXRange(r, C(m_nColLocation)), TRUE, TRUE);
    return TRUE;
}

void CKXPhysNetDetailsGridWnd::GetShownObjectNames(CString& names) {
    names = m_strNetName;
    if (!m_bMultipleNets) return;
    std::set<CString> seen;
    names.Empty();
    for (ROWCOL r = kNetFirstRow; r <= LastPinRow(); ++r) {
        const CString net = GetValueRowCol(r, C(m_nColPhysNetName));
        if (!net.IsEmpty() && seen.insert(net).second) names += (names.IsEmpty() ? "" : " ") + net;
    }
}

std::vector<ROWCOL> CKXPhysNetDetailsGridWnd::RowsOfKeys(const CStringArray& keys, const CString& column,
                                                        ROWCOL& keyCol) {
    keyCol = KeyColumn(column, m_nColPinNumber);
    std::vector<KXPhysRowQuery> queries;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        queries.push_back(KeyQuery(keys.GetAt(i)));
    return FindRowsOnce(queries, GetRowCount());
}

KXPhysRowQuery CKXPhysNetDetailsGridWnd::KeyQuery(const CString& key) {
    // Fields counted from the right: pin number, pin name, net name.
    const std::vector<CString> fields = KeyFields(key);
    const std::size_t n = fields.size();
    const CString number = fields[n - 1];
    KXPhysRowQuery query;
    if (number.IsEmpty())
        query.emplace_back(C(m_nColPinName), n >= 2 ? fields[n - 2] : CString());
    else
        query.emplace_back(C(m_nColPinNumber), number);
    // A key without its net field names the pin on any shown net.
    if (m_bMultipleNets && n >= 3) query.emplace_back(C(m_nColPhysNetName), fields[n - 3]);
    return query;
}

void CKXPhysNetDetailsGridWnd::CrossSelectInHost() {
    CTclArgsList list;
    list.add(KXScriptWord::selectObject);
    list.add("pin");
    for (ROWCOL r : SelectedRows()) {
        if (!IsShownPinRow(r) || GetValueRowCol(r, C(m_nColPinNumber)).IsEmpty()) continue;
        list.StartArgument();
        for (int c : {m_nColPhysNetName, m_nColLocation, m_nColPinName, m_nColPinNumber})
            list.AddToArgument(GetValueRowCol(r, C(c)));
        list.EndArgument();
    }
    if (list.GetTotalArgCount() > 2)
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
}

void CKXPhysNetDetailsGridWnd::UpdatePaneTitle() {
    if (IKXGridSite* site = Site()) site->SetPaneTitle(kNetPaneKind);
}

void CKXPhysNetDetailsGridWnd::ActivateGridView() {
    m_pActiveGrid = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CanPasteNever, &CanPasteSignalModel);
    ActivateInPane();
}

BOOL CKXPhysNetDetailsGridWnd::SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags) {
    const BOOL result = CKXGridWnd::SetCurrentCell(nRow, nCol, flags);
    if (result) m_pActiveGrid = this;
    return result;
}

BOOL CKXPhysNetDetailsGridWnd::OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow == kNetFilterRow) return CGXGridCore::OnRButtonClickedRowCol(nRow, nCol, nFlags, pt);
    if (nRow == kNetCaptionRow) {
        // The column of the object's name is offered only while several objects are shown.
        ShowColumnChooser(pt, [this](int col) { return m_bMultipleNets || col != m_nColPhysNetName; });
        return TRUE;
    }
    if (nRow >= kNetFirstRow) ShowContextMenu(this, pt, IDR_PHYSNET_MENU, kNetPaneKind);
    return TRUE;
}

int CKXPhysNetDetailsGridWnd::DumpSCP(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(path ? std::fopen(path, "ab") : nullptr);
    if (!file) return 0;
    // Every net shown (a grid of several names them all).
    std::fprintf(file.get(), "\n---SCP Dump for net: %s---\n", ShownNetNames().GetString());
    DumpShownCells(file.get());
    return 1;
}
