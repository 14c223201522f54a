// The physical net grid's commands: signal models (dialog, cell edit, paste,
// delete), the pin editor, copy, filter, sort, selection by key, menus and dump.
#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include "grid/KXGridEdit.h"

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
#include "kxsmall/CKXDlgModelAssign.h"
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
constexpr const char* kModel = "PIN_SIGNAL_MODEL";

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

CString TypeFilter(int direction) {
    switch (direction) {
    case 1: return "IbisInput";
    case 2: return "IbisOutput";
    case 3: return "IbisIO";
    default: return "*";
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Signal models

void CKXPhysNetDetailsGridWnd::SetSignalModelCellStyle(ROWCOL row) {
    CInstTermBitContext bit;
    if (GetRowPin(row, &bit)) StyleModelCell(row, bit);
}

std::vector<ROWCOL> CKXPhysNetDetailsGridWnd::SelectedPinRows() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedRows())
        if (IsShownPinRow(r) && GetRowPin(r, nullptr)) rows.push_back(r);
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
    if (!GetRowPin(row, &bit)) return FALSE;
    std::unique_ptr<CPQPropertyData> p(bit.findProperty(kModel, false));
    return p ? TRUE : FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::CanEditPin() {
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) && row >= kNetFirstRow && GetRowPin(row, nullptr);
}

CString CKXPhysNetDetailsGridWnd::JournalNetSelection(ROWCOL) {
    // The signal list of the physical view names the physical nets: selecting the grid's net there
    // shows this grid again on replay.
    if (m_strNetName.IsEmpty()) return CString();
    return "\ncall " + JournalHandle() + ".Slp().Select(" + Vbs(m_strNetName) + ")";
}

void CKXPhysNetDetailsGridWnd::JournalModel(ROWCOL row, const CString& comment, const CString& call) {
    const CString handle = JournalHandle();
    CString lines;
    const CString pinName = GetValueRowCol(row, C(m_nColPinName));
    const CString number = GetValueRowCol(row, C(m_nColPinNumber));
    lines += JournalNetSelection(row);
    lines += "\ncall " + handle + ".ConnectivityPane().SelectPinNameCol(" + Vbs(pinName) + "," + Vbs(number) + ")";
    lines += "\n\n ' --- " + comment + " ---\n";
    lines += "\ncall " + handle + ".ConnectivityPane()." + call;
    Journal(lines);
}

// One transaction writes the model on the rows' pins (an empty model removes it).
BOOL CKXPhysNetDetailsGridWnd::CommitModel(const std::vector<ROWCOL>& rows, const CString& model) {
    if (rows.empty()) return FALSE;
    CKXGridEdit edit(*this, model.IsEmpty() ? "Delete Models" : "Assign Model");
    if (!edit) return FALSE;
    CTransaction* transaction = edit.Transaction();
    bool changed = false;
    for (ROWCOL r : rows) {
        CInstTermBitContext bit;
        if (!transaction || !GetRowPin(r, &bit)) continue;
        if (model.IsEmpty()) {
            if (!RemovePinSignalModel(transaction, r)) continue;
            JournalModel(r, "Remove Model", "RemoveModel()");
        } else {
            if (AssignedModel(bit) == model) continue;
            transaction->addProperty(bit, kModel, model.GetString(), 2, false);
            JournalModel(r, "Assign Model", "AssignModel(" + Vbs(model) + ")");
        }
        changed = true;
    }
    if (!changed) return FALSE; // the bracket throws the empty edit away
    const BOOL committed = edit.Commit();
    for (ROWCOL r : rows)
        SetSignalModelCellStyle(r);
    if (committed) MarkDocumentModified();
    Redraw(2, 1);
    return committed;
}

namespace {

// The one direction of the pins of the rows, -1 for none; KXTABLE-127 and -2 when they differ.
int CommonDirection(CKXPhysNetDetailsGridWnd& grid, const std::vector<ROWCOL>& rows) {
    int direction = -1;
    for (ROWCOL r : rows) {
        CInstTermBitContext bit;
        grid.GetRowPin(r, &bit);
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
    if (!CommitModel(rows, model)) return FALSE;
    NotifySelectionChanged();
    return TRUE;
}

void CKXPhysNetDetailsGridWnd::AssignModel(int bUseGiven, LPCTSTR given) {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty()) return;
    const int direction = CommonDirection(*this, rows);
    if (direction == -2) return;
    CString model = given ? given : "";
    if (!bUseGiven) {
        CKXDlgModelAssign dialog(AfxGetMainWnd(), 0);
        dialog.SetWorkingDir(CKXGenUtils::GetWorkingDir());
        dialog.SetModelNameFilter("*");
        dialog.SetModelTypeFilter(TypeFilter(direction));
        if (dialog.DoModal() != IDOK) return;
        model = dialog.GetAssignedModel();
    }
    AssignModelByName(model);
}

BOOL CKXPhysNetDetailsGridWnd::RemovePinSignalModel(CTransaction* transaction, ROWCOL row) {
    CInstTermBitContext bit;
    if (!transaction || !GetRowPin(row, &bit)) return FALSE;
    std::unique_ptr<CPQPropertyData> p(bit.findProperty(kModel, false));
    if (!p) return FALSE;
    return transaction->removeProperty(bit, kModel, p->value()) ? TRUE : FALSE;
}

BOOL CKXPhysNetDetailsGridWnd::DeleteSelection() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kNetFirstRow) return TRUE;
    RemoveModels();
    return TRUE;
}

void CKXPhysNetDetailsGridWnd::EditPin(BOOL flag) {
    ROWCOL row = 0, col = 0;
    CInstTermBitContext bit;
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!GetCurrentCell(row, col) || !GetRowPin(row, &bit) || !server) return;
    server->Send(MSG_EDIT_PIN, reinterpret_cast<WPARAM>(&bit),
                 static_cast<LPARAM>(static_cast<unsigned>(flag & 0xFFFF) << 16), 0);
}

BOOL CKXPhysNetDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kNetFilterRow) {
        if (m_bSendingFilterCommand) return TRUE;
        CString pattern;
        CGXControl* control = GetCurrentCellControl();
        if (control && control->IsActive())
            control->GetCurrentText(pattern);
        else
            pattern = GetValueRowCol(nRow, nCol);
        const CString caption = GetValueRowCol(kNetCaptionRow, nCol);
        m_bSendingFilterCommand = TRUE;
        SendHostText("filterRows pin -col " + KXTclQuote(caption) + " -filter " + KXTclQuote(Escaped(pattern)));
        m_bSendingFilterCommand = FALSE;
        return TRUE;
    }
    if (nRow < kNetFirstRow || nCol != ModelColumn()) return TRUE;
    CString text;
    if (CGXControl* control = GetCurrentCellControl()) control->GetCurrentText(text);
    if (text.CompareNoCase(GetValueRowCol(nRow, nCol)) == 0 || !GetRowPin(nRow, nullptr)) return TRUE;
    // An in-cell edit marks the document modified like every other edit.
    CommitModel({nRow}, text);
    return TRUE;
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
        if (!line.IsEmpty() && GetRowPin(r, nullptr)) lines[r] = line;
    }
    if (lines.empty()) return FALSE;
    CKXGridEdit edit(*this, "Assign Model");
    if (!edit) return FALSE;
    CTransaction* transaction = edit.Transaction();
    for (const auto& [r, model] : lines) {
        CInstTermBitContext bit;
        GetRowPin(r, &bit);
        if (transaction) transaction->addProperty(bit, kModel, model.GetString(), 2, false);
        JournalModel(r, "Assign Model", "AssignModel(" + Vbs(model) + ")");
    }
    const BOOL committed = edit.Commit();
    for (const auto& entry : lines)
        SetSignalModelCellStyle(entry.first);
    if (committed) MarkDocumentModified();
    return committed;
}

BOOL CKXPhysNetDetailsGridWnd::PasteFromClipboardViewer(int, int) {
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
    EchoCopy("scp", C(m_nColPinName), C(m_nColPinNumber), GetValueRowCol(kNetCaptionRow, col));
}


BOOL CKXPhysNetDetailsGridWnd::SetColumnFilter(CString colName, CString filter) {
    int col = -1;
    ROWCOL r = 0, c = 0;
    if (colName.IsEmpty())
        col = GetCurrentCell(r, c) ? static_cast<int>(c) : -1;
    else
        col = FindColumnByCaption(colName);
    if (col <= 0) return FALSE;
    SetValueRange(CGXRange(kNetFilterRow, C(col)), filter, gxOverride, 0, kNoUpdate);
    SetCurrentCell(kNetFilterRow, C(col));
    FilterRows(C(col));
    return TRUE;
}

void CKXPhysNetDetailsGridWnd::FilterRows(ROWCOL col) {
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const BOOL locked = LockUpdate(TRUE);
    const ROWCOL last = LastPinRow();
    for (ROWCOL r = kNetFirstRow; r <= last; ++r)
        if (CellAttribute(r, C(m_nColPinNumber), IDS_UA_FILTERED_BLOCK_ROW) != 1 && IsRowHidden(r))
            HideRows(r, r, FALSE, nullptr, kNoUpdate, gxDo);
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        const CString pattern = GetValueRowCol(kNetFilterRow, c);
        if (pattern.IsEmpty() || pattern == "*") continue;
        CKXFilterData filter;
        filter.SetPattern(pattern);
        for (ROWCOL r = kNetFirstRow; r <= last; ++r)
            if (!IsRowHidden(r) && !filter.SearchText(GetValueRowCol(r, c))) HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
    }
    LockUpdate(locked);
    Redraw(2, 1);
    if (param) param->EnableUndo(undo);
    const CString caption = GetValueRowCol(kNetCaptionRow, col);
    const CString pattern = GetValueRowCol(kNetFilterRow, col);
    Journal(JournalNetSelection(0) + "\ncall " + JournalHandle() + ".ConnectivityPane().FilterRows(" + Vbs(caption) +
            "," + Vbs(pattern) + ")");
}

void CKXPhysNetDetailsGridWnd::OnSortColumn(int col) {
    if (col <= 0) return;
    SendHostText("sort pin " + KXTclQuote(GetValueRowCol(kNetCaptionRow, C(col))));
}

int CKXPhysNetDetailsGridWnd::SortByColumnName(CString colName) {
    int col = -1;
    ROWCOL r = 0, c = 0;
    if (colName.IsEmpty())
        col = GetCurrentCell(r, c) ? static_cast<int>(c) : -1;
    else
        col = FindColumnByCaption(colName);
    if (col <= 0) return 0;
    SortColumn(col);
    m_mapRowPins.ForgetRows();
    return 1;
}

void CKXPhysNetDetailsGridWnd::SelectPinCell(const CString& pinName, const CString& pinNumber) {
    const bool byNumber = pinNumber != "-1" && !pinNumber.IsEmpty();
    for (ROWCOL r = kNetFirstRow; r <= LastPinRow(); ++r) {
        if (IsRowHidden(r) || GetValueRowCol(r, C(m_nColPinName)) != pinName) continue;
        if (byNumber && GetValueRowCol(r, C(m_nColPinNumber)) != pinNumber) continue;
        DeselectAllRows();
        SetCurrentCell(r, C(m_nColPinName));
        SelectRange(CGXRange(r, C(m_nColPinName)), TRUE, TRUE);
        return;
    }
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

void CKXPhysNetDetailsGridWnd::SelectRowsByKey(CStringArray* keys, CString colName) {
    if (!keys || keys->GetSize() == 0) {
        SelectVisiblePinRows();
        return;
    }
    int keyCol = colName.IsEmpty() ? m_nColPinNumber : FindColumnByCaption(colName);
    if (keyCol <= 0) keyCol = m_nColPinNumber;
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    DeselectAllRows();
    bool first = true;
    for (INT_PTR i = 0; i < keys->GetSize(); ++i) {
        // Fields counted from the right: pin number, pin name, net name.
        CStringArray fields;
        CString key = keys->GetAt(i);
        int start = 0;
        for (;;) {
            const int colon = key.Find(':', start);
            fields.Add(key.Mid(start, colon < 0 ? key.GetLength() - start : colon - start));
            if (colon < 0) break;
            start = colon + 1;
        }
        const INT_PTR n = fields.GetSize();
        const CString number = fields[n - 1];
        const CString pinName = n >= 2 ? fields[n - 2] : CString();
        const CString netName = n >= 3 ? fields[n - 3] : CString();
        ROWCOL found = 0;
        for (ROWCOL r = kNetFirstRow; r <= GetRowCount() && !found; ++r) {
            const bool match = number.IsEmpty() ? GetValueRowCol(r, C(m_nColPinName)) == pinName
                                                : GetValueRowCol(r, C(m_nColPinNumber)) == number;
            if (!match) continue;
            if (m_bMultipleNets && GetValueRowCol(r, C(m_nColPhysNetName)) != netName) continue;
            found = r;
        }
        if (!found) continue;
        if (first) SetCurrentCell(found, C(keyCol));
        first = false;
        SelectRange(CGXRange(found, C(keyCol)), TRUE, TRUE);
    }
    if (param) param->EnableUndo(undo);
}

void CKXPhysNetDetailsGridWnd::CrossSelectInHost() {
    CTclArgsList list;
    list.add("selectObject");
    list.add("pin");
    for (ROWCOL r : SelectedRows()) {
        if (!IsShownPinRow(r) || GetValueRowCol(r, C(m_nColPinNumber)).IsEmpty()) continue;
        list.StartArgument();
        for (int c : {m_nColPhysNetName, m_nColLocation, m_nColPinName, m_nColPinNumber})
            list.AddToArgument(GetValueRowCol(r, C(c)));
        list.EndArgument();
    }
    if (list.GetTotalArgCount() > 2)
        if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
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
        CMenu menu;
        menu.CreatePopupMenu();
        UINT id = ID_COLUMN_CHOOSER_FIRST;
        std::map<UINT, CString> captions;
        for (std::size_t i = 1; i < m_arrColumnInfo.size(); ++i, ++id) {
            const CKXColumnInfoClass* info = m_arrColumnInfo[i];
            UINT flags = MF_STRING;
            if (!m_bMultipleNets && static_cast<int>(i) == m_nColPhysNetName)
                flags |= MF_GRAYED;
            else if (info->m_bVisible)
                flags |= MF_CHECKED;
            menu.AppendMenu(flags, id, info->m_strCaption);
            captions[id] = info->m_strCaption;
        }
        menu.AppendMenu(MF_SEPARATOR);
        const UINT more = id;
        menu.AppendMenu(MF_STRING, more, "More...");
        const UINT chosen = static_cast<UINT>(menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y, this));
        if (chosen == more) {
            CustomizeColumns();
        } else if (captions.count(chosen)) {
            for (std::size_t i = 1; i < m_arrColumnInfo.size(); ++i)
                if (m_arrColumnInfo[i]->m_strCaption.CompareNoCase(captions[chosen]) == 0) {
                    m_arrColumnInfo[i]->m_bVisible = m_arrColumnInfo[i]->m_bVisible ? 0 : 1;
                    break;
                }
            BroadcastLayout();
        }
        return TRUE;
    }
    if (nRow >= kNetFirstRow) ShowContextMenu(this, pt, IDR_PHYSNET_MENU, kNetPaneKind);
    return TRUE;
}

int CKXPhysNetDetailsGridWnd::DumpSCP(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(path ? std::fopen(path, "ab") : nullptr);
    if (!file) return 0;
    std::fprintf(file.get(), "\n---SCP Dump for net: %s---\n", m_strNetName.GetString());
    for (ROWCOL r = 1; r <= GetRowCount(); ++r) {
        if (IsRowHidden(r)) continue;
        for (ROWCOL c = 1; c <= GetColCount(); ++c) {
            if (IsColHidden(c) || GetColWidth(c) == 0) continue;
            std::fprintf(file.get(), "%-31s   ", GetValueRowCol(r, c).GetString());
        }
        std::fprintf(file.get(), "\n");
    }
    return 1;
}
