// Signal models in the physical part grid. Assignment and removal run in two
// halves: the interactive half collects the pins (and asks for the model) and
// echoes the script command to the host; the host's command runs the committing
// half, which changes the design in one transaction and journals it.
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXPinModels.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"

#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/transaction.h"

#include <memory>

using namespace kxphys;

namespace {

constexpr unsigned long kModelFlags = 2;
// The pane's method a model edit's journal selects its pin row with.
constexpr const char* kModelSelection = "SelectSignalCol";

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

// The direction of a pin from its first bit with a definition terminal; 0 (unspecified) when none.
bool PinDirection(const std::vector<CInstTermBitContext>& bits, int& direction) {
    for (const CInstTermBitContext& bit : bits) {
        IInstTerm* pin = bit.instTerm();
        if (!pin) continue;
        direction = pin->direction();
        return true;
    }
    return false;
}

// Every bit of the pin carries the model as its own, in any letter case.
bool HoldsOwnModel(const std::vector<CInstTermBitContext>& bits, const CString& model) {
    for (const CInstTermBitContext& bit : bits) {
        std::unique_ptr<CPQPropertyData> own(bit.findProperty(kKXPinModelProperty, false));
        if (!own || model.CompareNoCase(own->value()) != 0) return false;
    }
    return !bits.empty();
}

} // namespace

void CKXPhysPartDetailsGridWnd::SetSignalModelCellStyle(ROWCOL row) {
    const std::vector<CInstTermBitContext>* bits = GetRowPins(row);
    if (bits) StyleModelCell(row, bits->front());
}

int CKXPhysPartDetailsGridWnd::SelectedDirection(std::vector<ROWCOL>& rows) {
    int required = 0;
    bool any = false;
    std::vector<ROWCOL> qualifying;
    for (ROWCOL r : SelectedRows()) {
        const std::vector<CInstTermBitContext>* bits = IsShownPinRow(r) ? GetRowPins(r) : nullptr;
        int direction = 0;
        if (!bits || !PinDirection(*bits, direction)) continue;
        if (!any) {
            required = direction;
            any = true;
        } else if (direction != required) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-127");
            return -1;
        }
        qualifying.push_back(r);
    }
    rows = std::move(qualifying);
    return any ? required : 0;
}

CString CKXPhysPartDetailsGridWnd::SelectionList(const std::vector<ROWCOL>& rows) {
    CString list;
    for (ROWCOL r : rows) {
        CString item = "[list " + KXTclListElement(GetValueRowCol(r, C(s_nPhysPartCol))) + " " +
                       KXTclListElement(GetValueRowCol(r, C(s_nPinNameCol))) + " " +
                       KXTclListElement(GetValueRowCol(r, C(s_nPNCol))) + "]";
        list += " " + item;
    }
    return list;
}

BOOL CKXPhysPartDetailsGridWnd::AssignModel(int bUseGiven, LPCTSTR given) {
    std::vector<ROWCOL> rows;
    const int direction = SelectedDirection(rows);
    if (direction < 0 || rows.empty()) return FALSE;
    CString model = given ? given : "";
    if (!bUseGiven && !KXAskPinModel(direction, model)) return FALSE;
    if (model.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-186");
        return FALSE;
    }
    return SendHostText(CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::assignModel + " pin " + KXTclListElement(model) + " " + SelectionList(rows));
}

CString CKXPhysPartDetailsGridWnd::JournalObjectSelection(ROWCOL row) {
    if (row == 0)
        for (ROWCOL r = kPartFirstRow; r <= GetRowCount() && !row; ++r)
            if (GetRowPins(r)) row = r;
    // The component list of the physical view names the physical parts (RN1, not its sections RN1A
    // and RN1B): the row's part is the one a replay selects.
    const CString listName = row ? GetValueRowCol(row, C(s_nPhysPartCol)) : m_strRefDes;
    return "\ncall " + JournalHandle() + ".Clp().Select(" + Vbs(listName) + ")";
}

BOOL CKXPhysPartDetailsGridWnd::CommitAssignModel(CString model) {
    if (model.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-186");
        return FALSE;
    }
    std::vector<ROWCOL> rows;
    // Pins of different directions take no model; no pin row selected is nothing done: refused.
    if (SelectedDirection(rows) < 0 || rows.empty()) return FALSE;
    return CommitModelOnRows(rows, model);
}

BOOL CKXPhysPartDetailsGridWnd::CommitModelOnRows(const std::vector<ROWCOL>& rows, const CString& model) {
    CKXGridEdit edit(*this, model.IsEmpty() ? "Remove Model Assignments" : "Assign Model");
    CTransaction* transaction = edit.Transaction();
    if (!transaction) return FALSE;
    kxgrid::LockUpdateScope lock(*this);
    std::unique_ptr<KXPhysProgress> progress;
    if (model.IsEmpty())
        progress =
            std::make_unique<KXPhysProgress>("Deleting SI Model Assignments", static_cast<int>(rows.size()));
    CString lines; // journalled once the edit is in
    bool unchanged = false;
    for (ROWCOL r : rows) {
        if (progress) progress->Step(CString());
        const std::vector<CInstTermBitContext>* bits = IsShownPinRow(r) ? GetRowPins(r) : nullptr;
        if (!bits) continue;
        if (model.IsEmpty()) {
            if (RemoveModelFromRow(transaction, r))
                lines += JournalRowEdit(r, "Remove Model", "RemoveModel()", kModelSelection);
            continue;
        }
        if (HoldsOwnModel(*bits, model)) {
            unchanged = true;
            continue;
        }
        for (const CInstTermBitContext& bit : *bits)
            transaction->addProperty(bit, kKXPinModelProperty, model.GetString(), kModelFlags, false);
        lines += JournalRowEdit(r, "Assign Model", "AssignModel(" + Vbs(model) + ")", kModelSelection);
    }
    if (lines.IsEmpty()) {
        // The pins hold that model already, in some letter case: nothing to do, and the user is told so.
        if (unchanged) CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE; // the bracket throws the empty edit away
    }
    const BOOL committed = edit.Commit();
    {
        kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kUndo);
        for (ROWCOL r : rows)
            if (IsShownPinRow(r)) SetSignalModelCellStyle(r);
    }
    if (!committed) return FALSE;
    Journal(lines);
    if (!model.IsEmpty()) NotifySelectionChanged();
    MarkDocumentModified();
    return TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::RemoveModel() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedRows())
        if (IsShownPinRow(r)) rows.push_back(r);
    if (rows.empty()) return FALSE;
    return SendHostText(CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::removeModel + " pin " + SelectionList(rows));
}

BOOL CKXPhysPartDetailsGridWnd::RemoveModelFromRow(CTransaction* transaction, ROWCOL row) {
    if (!transaction) return FALSE;
    const CString current = GetValueRowCol(row, ModelColumn());
    if (current.IsEmpty()) return FALSE;
    const std::vector<CInstTermBitContext>* bits = GetRowPins(row);
    if (!bits) return FALSE;
    bool removed = false;
    for (const CInstTermBitContext& bit : *bits) {
        std::unique_ptr<CPQPropertyData> p(bit.findProperty(kKXPinModelProperty, false));
        if (!p) continue;
        if (transaction->removeProperty(bit, kKXPinModelProperty, p->value())) removed = true;
    }
    return removed ? TRUE : FALSE;
}

BOOL CKXPhysPartDetailsGridWnd::CommitRemoveModel() {
    const std::vector<ROWCOL> rows = SelectedRows();
    // Nothing selected, or no selected pin with a model: nothing done, refused.
    return rows.empty() ? FALSE : CommitModelOnRows(rows, CString());
}

BOOL CKXPhysPartDetailsGridWnd::CanAssignModel() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kPartFirstRow) return FALSE;
    return GetInstTermOfRow(row, nullptr);
}

BOOL CKXPhysPartDetailsGridWnd::CanRemoveModel() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kPartFirstRow) return FALSE;
    if (SelectedRows().size() > 1) return TRUE;
    const std::vector<CInstTermBitContext>* bits = GetRowPins(row);
    if (!bits) return FALSE;
    for (const CInstTermBitContext& bit : *bits) {
        std::unique_ptr<CPQPropertyData> p(bit.findProperty(kKXPinModelProperty, false));
        if (!p) return FALSE;
    }
    return TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::DeleteSelection() {
    return RemoveModel();
}
