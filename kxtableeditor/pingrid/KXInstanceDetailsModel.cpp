// Signal models of pins ("PIN_SIGNAL_MODEL" on a pin or one of its bits). The
// interactive half chooses the model and sends the host "assignModel" or
// "removeModel" with the pins; the host runs it back through the pane, whose
// committing half changes the property in one transaction.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPinModels.h"
#include "grid/KXScriptText.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/transaction.h"

#include "afx/afxwin.h"

#include <memory>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr const char* kModel = "PIN_SIGNAL_MODEL";

// Whether the pins of a model edit must share one direction (an assignment) or may differ (a removal).
enum class Directions { One, Any };

} // namespace

// A vector row (a whole bus) stands for its whole pin: the direction check passes it over.
static bool IsVectorRow(CKXInstanceDetailsGridWnd& grid, ROWCOL row) {
    int msb = -1, lsb = -1;
    return grid.GetRowInstTerm(row, msb, lsb) && msb != lsb;
}

// The model rows of the selection: pin rows below the header, not hidden. The first row that is not a
// vector row gives the direction the other such rows must have; pins of different directions give -1
// (reported with KXTABLE-127). directed counts the rows that are no vector rows. A removal takes pins of
// any direction: only a model assigned must suit them all.
static int ModelRows(CKXInstanceDetailsGridWnd& grid, std::vector<ROWCOL>& rows, int* directed = nullptr,
                     Directions directions = Directions::One) {
    const std::vector<ROWCOL> selected = grid.SelectedPinRows();
    std::vector<ROWCOL> targets;
    grid.CollectTargetRows(selected, targets, FALSE, -1, -1);
    CString direction;
    bool first = true;
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = grid.GetRowInstTerm(row, msb, lsb);
        if (!pin || grid.IsDiffPairRow(row)) continue;
        rows.push_back(row);
        if (directions == Directions::Any || IsVectorRow(grid, row)) continue;
        const CString type = CKXGenUtils::GetPinType(pin);
        if (directed) ++*directed;
        if (std::exchange(first, false)) {
            direction = type;
        } else if (type.CompareNoCase(direction) != 0) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-127");
            return -1;
        }
    }
    return static_cast<int>(rows.size());
}

// The direction (ITerm::ITermDirection) of the model rows' pins, which share one: that of the first row
// that is no vector row; -1 when every row is one.
static int RowsDirection(CKXInstanceDetailsGridWnd& grid, const std::vector<ROWCOL>& rows) {
    for (ROWCOL row : rows) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = grid.GetRowInstTerm(row, msb, lsb);
        if (!pin || msb != lsb) continue;
        if (ITerm* master = pin->masterTerm()) return master->direction();
    }
    return -1;
}

// What a model row's model sits on: a whole-pin row (a scalar pin, a vector row) on its pin, a bit row on
// its bit.
static CContext ModelContext(CKXInstanceDetailsGridWnd& grid, ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = grid.GetRowInstTerm(row, msb, lsb);
    if (!pin) return CContext();
    const CInstTermContext context = grid.GetRowInstance(row).instTerm(pin);
    if (msb == lsb && msb != -1) return context.bitContext(msb);
    return context;
}

// Sends the host the model word with the rows' pins, each as "[list INSTANCE PIN NUMBER]"; TRUE when
// the word did its work.
static BOOL SendModelWord(CKXInstanceDetailsGridWnd& grid, CString text, const std::vector<ROWCOL>& rows) {
    auto cell = [&grid](ROWCOL row, int col) { return KXTclListElement(grid.GetValueRowCol(row, Col(col))); };
    for (ROWCOL row : rows)
        text += " [list " + cell(row, grid.m_nColInstance) + " " + cell(row, grid.m_nColPinName) + " " +
                cell(row, grid.m_nColPinNumber) + "]";
    CWnd* main = AfxGetMainWnd();
    return main && main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1;
}

BOOL CKXInstanceDetailsGridWnd::AssignModel(int bUseGivenModel, LPCTSTR modelName) {
    std::vector<ROWCOL> rows;
    int directed = 0;
    if (ModelRows(*this, rows, &directed) <= 0) return FALSE;
    CString model = modelName ? modelName : "";
    // Vector rows alone give the dialog no direction to offer models for: no pin to choose one for.
    if (!bUseGivenModel && directed == 0) model.Empty();
    else if (!bUseGivenModel && !KXAskPinModel(RowsDirection(*this, rows), model))
        return FALSE;
    if (model.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-186");
        return FALSE;
    }
    return SendModelWord(*this, CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::assignModel + " pin " +
                             KXTclListElement(model),
                  rows);
}

BOOL CKXInstanceDetailsGridWnd::RemoveModel() {
    std::vector<ROWCOL> rows;
    if (ModelRows(*this, rows, nullptr, Directions::Any) <= 0) return FALSE;
    return SendModelWord(*this, CString(KXScriptWord::selectWindow) + " ccp; " + KXScriptWord::removeModel + " pin", rows);
}

BOOL CKXInstanceDetailsGridWnd::CanRemoveModel() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    if (selected.empty()) return FALSE;
    if (selected.size() > 1) {
        for (ROWCOL row : selected)
            if (IsImplicitPowerPinRow(row, nullptr)) return FALSE;
        return TRUE;
    }
    const ROWCOL row = selected.front();
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    if (IsDiffPairRow(row)) return TRUE;
    if (IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    std::unique_ptr<CPQPropertyData> p(ModelContext(*this, row).findProperty(kModel, false));
    return p && *p->value() ? TRUE : FALSE;
}

BOOL CKXInstanceDetailsGridWnd::CommitAssignModel(CString modelName) {
    if (modelName.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-186");
        return FALSE;
    }
    std::vector<ROWCOL> rows;
    const int count = ModelRows(*this, rows);
    if (count <= 0) {
        if (count == 0) CKXErrorHandler::MessageBoxOk("KXTABLE-184");
        return FALSE;
    }
    CKXGridEdit edit(*this, m_designContext, "Assign Model", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CTransaction* transaction = edit.Transaction();
    CString journal;
    bool changed = false;
    for (ROWCOL row : rows) {
        const CContext target = ModelContext(*this, row);
        if (!target) continue;
        journal += JournalRowText(row, "Assign Model", "AssignModel", modelName);
        if (KXSetPinModel(*transaction, target, modelName)) changed = true;
    }
    if (!changed) {
        // Every pin has the model already, in some letter case: no step for nothing, and the user is told.
        CKXErrorHandler::MessageBoxOk(KXCause::kUnchanged);
        return FALSE;
    }
    if (!edit.Commit()) return FALSE;
    NotifySelectionChanged();
    WriteJournal(journal);
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::CommitRemoveModel() {
    std::vector<ROWCOL> rows;
    if (ModelRows(*this, rows, nullptr, Directions::Any) <= 0) return FALSE;
    CKXGridEdit edit(*this, m_designContext, "Assign Model", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CTransaction* transaction = edit.Transaction();
    CString journal;
    bool removed = false;
    for (ROWCOL row : rows) {
        const CContext target = ModelContext(*this, row);
        std::unique_ptr<CPQPropertyData> p(target ? target.findProperty(kModel, false) : nullptr);
        if (!p || !*p->value()) continue;
        if (!transaction->removeProperty(target, kModel, p->value())) return FALSE;
        removed = true;
        journal += JournalRowText(row, "Remove Model", "RemoveModel", CString(), false);
    }
    if (!removed) return FALSE; // no pin had a model: nothing to undo, nothing done
    if (!edit.Commit()) return FALSE;
    NotifySelectionChanged();
    WriteJournal(journal);
    return TRUE;
}
