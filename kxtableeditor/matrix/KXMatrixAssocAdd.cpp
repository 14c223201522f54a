// Terminations and pull-ups/pull-downs added from the associated-components
// library's dialogs (the pane's Add Termination and Add Pullup/Pulldown
// commands): the dialog chooses for the first selected pin or signal, the grid
// puts the same onto the others, all in one edit. Each component made is
// journalled as the pane's MatrixPasteAssoc call with the component's own
// description, which makes the same component on the same place again.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXPropLists.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/transaction.h"

#include <set>

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;
constexpr int kPupd = CKXAssocCompAPI::PUPD;
constexpr int kOpenModeInPlace = 3;

} // namespace

// ------------------------------------------------------------------ the library's transaction callback

CTransaction* CKXMatrixGridWnd::CreateAssocCompTransaction(CString name) {
    return m_pCurrentMatrixGrid ? m_pCurrentMatrixGrid->RenewAssocCompTransaction(name) : nullptr;
}

// A step of the library's dialog asks for the transaction to go on in: the edit bracket holds the
// one transaction of the edit, so that the dialog's work is one undo step; it gets that one back.
// The terminations added are handed to the system-object server once, when the add is through.
CTransaction* CKXMatrixGridWnd::RenewAssocCompTransaction(CString name) {
    return KXAssocCompStepTransaction(*this, name, nullptr);
}

bool CKXMatrixGridWnd::PrepareTerminationPins(CTransaction* transaction) {
    CDesignContext design = m_designContext2 ? m_designContext2 : m_designContext;
    std::vector<CInstTermBit> bits;
    for (const PinCell& cell : SelectedPinCells()) bits.push_back(cell.pinBit);
    return KXHandTerminations(*GetAssocCompApi(), bits, design, transaction);
}

// ------------------------------------------------------------------ journal

void CKXMatrixGridWnd::JournalMadeComponent(KXJournalLines& journal, ROWCOL row, int group, IDTInstance* made,
                                            const char* title) {
    IKXClipAssocCodec* codec = CKXImpClipBoard::GetAssocCodec();
    CString type, name, data;
    if (!made || !codec || !codec->Describe(m_designContext, -1, made, group < 0 ? kPupd : kTermination, type, name, data))
        return;
    CString instance, pin;
    if (group >= 0) {
        int bit = -1;
        IInstTerm* shown = GetCellInstTermBit(row, ColumnOf(group, Layout().m_nPinNameOffset), bit);
        const CInstanceContext context = GroupInstance(group);
        if (!shown || !context) return;
        instance = context.instance()->name();
        pin = PinText(shown, bit);
    }
    journal.Comment(title)
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixPasteAssoc", {CString(group < 0 ? "PUPD" : "TERMINATION"), CellText(row, Layout().m_nNameCol),
                                   instance, pin, type, name, data})
        .OwnStep()
        .End();
}

// ------------------------------------------------------------------ terminations

bool CKXMatrixGridWnd::CheckTerminationPins(const std::vector<PinCell>& cells) {
    CKXAssocCompAPI& api = *GetAssocCompApi();
    bool input = false, output = false;
    for (const PinCell& cell : cells) {
        const CString type = CellText(cell.row, ColumnOf(cell.group, Layout().m_nPinTypeOffset));
        input = input || type.CompareNoCase("Input") == 0;
        output = output || type.CompareNoCase("Output") == 0;
        api.setInstTermBit(cell.pinBit);
        const bool terminated = api.getAssociatedInstance(kTermination) != nullptr;
        const char* refusal = nullptr;
        if (input && output) refusal = "KXTABLE-103";
        else if (cells.size() > 1 && terminated) refusal = "KXTABLE-114";
        else if (!terminated && GetSysObjectName(GroupInstance(cell.group).instTerm(cell.pinBit.instTerm())
                                                     .bitContext(cell.pinBit.bit()))
                                      .IsEmpty())
            refusal = Site() && Site()->OpenMode() == kOpenModeInPlace ? "KXTABLE-200" : "KXTABLE-142";
        if (refusal) {
            CKXErrorHandler::MessageBoxOk(refusal);
            return false;
        }
    }
    return true;
}

void CKXMatrixGridWnd::OnAddTermination() {
    KXTerminationDialogEdit inPlace;
    AddTerminationInDialog(inPlace);
    if (!inPlace.names.empty()) KXMakeTerminationDialogEdit(*this, inPlace);
}

// The dialog's choice added to the selected pins in one edit; a change of the one termination it
// showed is left in `inPlace`, with nothing done, for the caller to make once this edit is gone.
void CKXMatrixGridWnd::AddTerminationInDialog(KXTerminationDialogEdit& inPlace) {
    if (!CanAddTermination()) return;
    const std::vector<PinCell> cells = SelectedPinCells();
    if (cells.empty() || !CheckTerminationPins(cells)) return;
    CKXGridEdit edit(*this, "Add Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    m_pCurrentMatrixGrid = this;
    api.resetPropertyGridArray();
    api.setTransaction(edit.Transaction(), true);
    api.InitCKXTransaction(&CreateAssocCompTransaction);
    api.setHierarchyDesignContext(m_designContext);
    api.setKindOfOperation(kTermination);
    api.setMultipleSelection(cells.size() > 1);
    api.m_bApplied = false;
    // One pin with a termination: the dialog shows it, and what the user chooses takes its place.
    api.setInstTermBit(cells.front().pinBit);
    IDTInstance* replaced = api.getAssociatedInstance(kTermination);
    if (replaced) api.getLCVPropFromInstance(replaced);
    api.m_bHasAssociatedInstance = replaced != nullptr;
    api.m_bHasExistingTermination = replaced != nullptr;
    const KXShownMark asked;
    bool stop = false, added = api.invokeTerminationDialog(stop, false, true) != FALSE;
    if (added && KXTerminationDialogEditOf(api, inPlace)) added = false; // nothing done: made after this edit
    for (std::size_t i = 1; added && i < cells.size(); ++i) {
        api.setInstTermBit(cells[i].pinBit);
        added = api.AddTermination(0) != 0;
    }
    api.setTransaction(nullptr, true);
    // A termination is replaced only from the dialog that showed it: later adds refuse a terminated pin.
    api.m_bHasExistingTermination = false;
    api.m_bHasAssociatedInstance = false;
    if (!added) {
        if (!inPlace.names.empty()) return;
        if (!KXReportUnchangedTermination(api, asked) && !api.GetLastError().IsEmpty())
            CKXErrorHandler::MessageBoxOk("KXTABLE-216", api.GetLastError());
        return; // the bracket takes back whatever the dialog applied
    }
    PrepareTerminationPins(edit.Transaction());
    if (!edit.Commit()) return;
    MarkModified();
    KXJournalLines journal(JournalHandle());
    for (const PinCell& cell : cells) {
        SetTerminationCellText(cell.row, ColumnOf(cell.group, Layout().m_nTerminationOffset));
        if (replaced && &cell == &cells.front()) {
            JournalCell(journal, cell, "TERMINATION");
            journal.Comment("Delete").Pane("Delete").OwnStep().End();
        }
        api.setInstTermBit(cell.pinBit);
        JournalMadeComponent(journal, cell.row, cell.group, api.getAssociatedInstance(kTermination), "Add Termination");
    }
    journal.Write();
}

// ------------------------------------------------------------------ pull-ups and pull-downs

void CKXMatrixGridWnd::AddPupd() {
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    if (signals.empty() || !CanAddPupd()) return;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    const bool readOnly = IsReadOnlyWindow();
    if (signals.size() == 1 && HasAnyPupd(signals.front())) {
        EditPupdInDialog(signals.front(), readOnly);
        return;
    }
    if (readOnly) return; // nothing to look at, nothing to add
    CKXGridEdit edit(*this, "Add PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return;
    std::vector<KXComponentSet> before;
    for (const SignalRow& s : signals) before.push_back(KXPupdsOn(api, s.netBit));
    m_pCurrentMatrixGrid = this;
    api.setTransaction(edit.Transaction(), true);
    api.InitCKXTransaction(&CreateAssocCompTransaction);
    api.setAssociatedInstance(nullptr);
    api.setNewSignalFlag(false);
    api.WillRemoveExistingPupd(false);
    api.setHierarchyDesignContext(m_designContext);
    api.readSignals();
    api.setMultipleSelection(signals.size() > 1);
    // The dialog puts its choice on the first signal; the others take the same.
    api.setNetBit(signals.front().netBit);
    const bool accepted = api.invokePUPDDialog(false) != FALSE;
    bool added = accepted;
    for (std::size_t i = 1; added && i < signals.size(); ++i) {
        added = ApplyPupdToNetBit(nullptr, signals[i].netBit.net(), signals[i].netBit.bit());
    }
    api.setTransaction(nullptr, true);
    if (!added) {
        if (!api.GetLastError().IsEmpty())
            KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-217", api.GetLastError()));
        else if (!accepted)
            KXMenuAnswer::Report(KXEditResult::Dialog()); // cancelled
        return;
    }
    if (!edit.Commit()) return;
    MarkModified();
    RefreshPupdCells({});
    KXJournalLines journal(JournalHandle());
    for (std::size_t i = 0; i < signals.size(); ++i)
        for (IDTInstance* dt : KXPupdsOn(api, signals[i].netBit))
            if (!before[i].count(dt)) JournalMadeComponent(journal, signals[i].row, -1, dt, "Add Pullup/Pulldown");
    journal.Write();
}

bool CKXMatrixGridWnd::ApplyPupdToNetBit(IDTInstance*, INet* net, int bit) {
    // The caller handed the library the pull-up to copy (getLCVPropFromInstance) or its dialog's choice.
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setNetBit(CNetBit(net, bit));
    KXMultiMap present;
    api.getAssocInstanceArray(kPupd, present);
    api.refDesChanged(false);
    return api.ApplyPupd(false, false) != FALSE;
}
