// Signal models of the pins the signal grid's rows show: the PIN_SIGNAL_MODEL
// property on the pin bit (a one-bit row) or on the pin, assigned from the model
// dialog or by script, and removed again; one "Assign Model" transaction each.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPinModels.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <memory>

using namespace kxsignal;

bool CKXSignalDetailsGridWnd::IsPinNameEdited(ROWCOL row) {
    CGXControl* control = GetControl(row, Col(m_nColPinName));
    return control && control->IsActive();
}

CContext CKXSignalDetailsGridWnd::ModelPlace(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
    const CInstanceContext instance = RowInstance(row);
    if (!pin || !instance) return CContext();
    const CInstTermContext term = instance.instTerm(pin->id());
    if (msb == lsb && msb != -1) return term.bitContext(msb);
    return term;
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::ModelRows() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedDataRows())
        if (GetRowPinId(r) >= 0) rows.push_back(r);
    return rows;
}

BOOL CKXSignalDetailsGridWnd::CanAssignModel() {
    if (IsReadOnlyWindow()) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow || IsPinNameEdited(row)) return FALSE;
    int msb = -1, lsb = -1;
    return GetInstTermOfRow(row, msb, lsb) && msb == lsb ? TRUE : FALSE;
}

BOOL CKXSignalDetailsGridWnd::CanRemoveModel() {
    if (IsReadOnlyWindow()) return FALSE;
    const std::vector<ROWCOL> rows = SelectedRows();
    if (rows.empty()) return FALSE;
    if (rows.size() > 1) return TRUE;
    const ROWCOL row = rows.front();
    if (row < kFirstDataRow || IsPinNameEdited(row)) return FALSE;
    const CContext place = ModelPlace(row);
    if (!place) return FALSE;
    std::unique_ptr<CPQPropertyData> prop(place.findProperty(kKXPinModelProperty, false));
    return prop ? TRUE : FALSE;
}

bool CKXSignalDetailsGridWnd::ModelDirection(const std::vector<ROWCOL>& rows, int& direction) {
    direction = -1;
    for (ROWCOL r : rows) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetInstTermOfRow(r, msb, lsb);
        ITerm* master = pin && msb == lsb ? pin->masterTerm() : nullptr;
        if (!master) continue;
        if (direction >= 0 && master->direction() != direction) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-127");
            return false;
        }
        direction = master->direction();
    }
    return true;
}

BOOL CKXSignalDetailsGridWnd::AssignModel(int, LPCTSTR modelName) {
    return AssignModelByName(modelName ? modelName : "");
}

BOOL CKXSignalDetailsGridWnd::AssignModelByName(const CString& modelName) {
    const std::vector<ROWCOL> rows = ModelRows();
    int direction = -1;
    if (rows.empty() || !ModelDirection(rows, direction)) return FALSE;
    CString model = modelName;
    if (model.IsEmpty()) {
        if (!KXAskPinModel(direction, model)) return FALSE;
    }
    return CommitModels(rows, model);
}

BOOL CKXSignalDetailsGridWnd::RemoveModel() {
    return RemoveModels();
}

BOOL CKXSignalDetailsGridWnd::RemoveModels() {
    return CommitModels(ModelRows(), CString());
}

BOOL CKXSignalDetailsGridWnd::CommitModels(const std::vector<ROWCOL>& rows, const CString& model) {
    if (rows.empty()) return FALSE;
    CKXGridEdit edit(*this, "Assign Model", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    int changed = 0;
    for (ROWCOL r : rows) {
        const CContext place = ModelPlace(r);
        if (!place) continue;
        if (!KXSetPinModel(*edit.Transaction(), place, model)) continue;
        ++changed;
        // Each row replays as its selection and the model call of the pane, all of them the one step.
        journal.Call("Slp()", "Select", {JournalNetName(r)})
            .Pane("SelectInstanceCol", {CellText(r, m_nColInstance), RowPinKey(r)})
            .End();
        if (model.IsEmpty())
            journal.Comment("Remove Model").Pane("RemoveModel").OwnStep();
        else
            journal.Comment("Assign Model").Pane("AssignModel", {model}).OwnStep();
    }
    // A change of nothing: the bracket discards the transaction it began; pins that carry the model already
    // are told so.
    if (!changed && !model.IsEmpty()) CKXErrorHandler::MessageBoxOk(KXCause::kUnchanged);
    if (!changed || !edit.Commit()) return FALSE;
    MarkModified();
    journal.Write();
    NotifySelectionChanged();
    return TRUE;
}
