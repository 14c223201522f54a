// The signal grid's termination roads that automation reaches, and the journal
// every termination edit of the grid writes: the row's signal and termination
// cell, then the pane calls that make the same edit on replay (InitTermination
// and AddTermination, ChangeDelay, EditTermination, Delete).
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/schema.h"

using namespace kxsignal;

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;

} // namespace

void CKXSignalDetailsGridWnd::JournalTerminationRow(KXJournalLines& journal, ROWCOL row, const char* title) {
    journal.Call("Slp()", "Select", {JournalNetName(row)})
        .Pane("SelectTerminationCol", {CellText(row, m_nColInstance), RowPinKey(row)})
        .End()
        .Comment(title);
}

// The rows' termination calls, each an edit of its own on replay, written as the one step the edit is.
void CKXSignalDetailsGridWnd::WriteTerminationJournal(const KXJournalLines& journal, int rows) {
    if (rows > 0) KXWriteJournalOfOneStep(journal.Text(), rows);
}

KXAssocAutomation& CKXSignalDetailsGridWnd::AssocAutomation() {
    if (!m_assocAutomation) m_assocAutomation = std::make_unique<KXAssocAutomation>(CKXShareGlobalData::m_pServer);
    return *m_assocAutomation;
}

int CKXSignalDetailsGridWnd::InitTermination(CString text) {
    // A set-up replaces the one before it, also when it is refused: nothing of that one waits any more.
    CKXGridEdit::DiscardWaiting();
    m_bAutomationTermPending = 0;
    m_bTermTransStarted = 0;
    AssocAutomation().ForgetTermination();
    if (!MayEdit()) return 0;
    if (!CanAddTermination()) return Refuse(TRUE, "KXTABLE-210");
    KXAssocAutomation& automation = AssocAutomation();
    automation.setServer(CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server());
    automation.setDesignContext(m_designContext2 ? m_designContext2 : m_designContext);
    automation.setHierarchyDesignContext(m_designContext);
    if (!automation.InitTermination(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", automation.GetLastError());
        return 0;
    }
    const std::vector<ROWCOL> rows = TerminationTargets();
    if (rows.empty() || !CheckTerminationDirections(rows)) {
        automation.ForgetTermination();
        return 0;
    }
    // Among several pins, one that has a termination already refuses them all.
    for (ROWCOL r : rows)
        for (const CInstTermBit& bit : RowPinBits(r)) {
            automation.setInstTermBit(bit);
            if (rows.size() > 1 && automation.getAssociatedInstance(kTermination)) {
                CKXErrorHandler::MessageBoxOk("KXTABLE-114");
                automation.ForgetTermination();
                return 0;
            }
        }
    // The termination is added by the command the automation object sends next, in this edit.
    m_bTermTransStarted = HoldTerminationEdit() ? 1 : 0;
    m_bAutomationTermPending = 1;
    return 1;
}

BOOL CKXSignalDetailsGridWnd::SendPreparedTermination() {
    // Nothing prepared: the pane's add says so, for this grid as for the pin grid.
    if (!m_bAutomationTermPending) return FALSE;
    return AssocAutomation().SendAddTermCommand();
}

bool CKXSignalDetailsGridWnd::HoldTerminationEdit() {
    // A set-up that waits still is replaced by this one; a transaction the caller holds is the caller's.
    CKXGridEdit::DiscardWaiting();
    if (CKXTransaction::IsTransactionStarted()) return false;
    const bool held = CKXGridEdit::Hold(*this, m_designContext2 ? m_designContext2 : m_designContext,
                                        "Add Termination", [this] { m_bTermTransStarted = 0; });
    if (held) CKXGridEdit::Release();
    return held;
}

int CKXSignalDetailsGridWnd::ChangeTerminationDelay(const char* delay) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!MayEdit() || !IsTerminationCellCurrent() || !GetCurrentCell(row, col)) return 0;
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return 0;
    // A bus pin's row: the termination of its highest bit that has one.
    IDTInstance* termination = RowTermination(row);
    if (!termination) return 0;
    CKXGridEdit edit(*this, m_designContext2 ? m_designContext2 : m_designContext, "Change Termination RefDes",
                     CKXGridEdit::kJoinOpen);
    if (!edit) return 0;
    api->setTransaction(edit.Transaction(), true);
    api->getLCVPropFromInstance(termination);
    api->setDelayConstraint(delay ? delay : "");
    const BOOL changed = api->ApplyDelayChanges(kTermination);
    api->setTransaction(nullptr, true);
    if (!changed) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", api->GetLastError());
        return 0;
    }
    KXJournalLines journal(JournalHandle());
    JournalTerminationRow(journal, row, "Change Delay");
    journal.Pane("ChangeDelay", {CString(delay ? delay : "")}).End();
    // The same delay again changes nothing: no step, no line.
    if (!edit.Commit()) return 0;
    MarkModified();
    WriteTerminationJournal(journal, 1);
    RefreshTerminationCell({row});
    return 1;
}
