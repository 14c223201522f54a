// Pull-ups and pull-downs on the net bits of the selected pins: added from the
// library's dialog or from a script command (also the one the automation
// object sends back), edited and deleted, each in one grid transaction.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPupds.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPupdChanges.h"
#include "grid/KXScriptText.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"

#include "afx/afxwin.h"

#include <algorithm>
#include <set>
#include <utility>

using kxpingrid::Col;

namespace {

void ToArray(const CStringList* from, CStringArray& to) {
    to.RemoveAll();
    if (!from) return;
    for (POSITION pos = from->GetHeadPosition(); pos;)
        to.Add(from->GetNext(pos));
}

std::set<unsigned> NetIdsOf(const std::vector<CNetBit>& bits) {
    std::set<unsigned> ids;
    for (const CNetBit& b : bits)
        if (b.net()) ids.insert(b.net()->id());
    return ids;
}

// The net bits of the rows the selection's pins come to, each with its row.
void SelectionNetBits(CKXInstanceDetailsGridWnd& grid, std::vector<CNetBit>& bits,
                      std::multimap<CNetBit, ROWCOL>& rowsOf) {
    std::vector<ROWCOL> targets;
    grid.CollectTargetRows(grid.SelectedPinRows(), targets, FALSE, -1, -1);
    grid.CollectSelectedNetBits(targets, bits, rowsOf);
}

} // namespace

// The journal selects a pull-up's row in the PUPD column, or in the SIGNAL column where the layout
// shows no PUPD column (a replay must find the cell to select).
const char* KXPinGridPupds::PupdSelectMethod() {
    const ROWCOL col = Col(m_grid.m_nColPupd);
    const bool shown = m_grid.m_nColPupd > 0 && col <= m_grid.GetColCount() && !m_grid.IsColHidden(col);
    return shown ? "SelectPUPDCol" : "SelectSignalCol";
}

BOOL CKXInstanceDetailsGridWnd::CanAddPupd() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    if (targets.empty()) return FALSE;
    BOOL can = TRUE;
    for (ROWCOL row : targets) {
        if (IsImplicitPowerPinRow(row, nullptr)) return FALSE;
        int msb = -1, lsb = -1;
        const CString net = GetRowNetName(row, msb, lsb);
        if (!net.IsEmpty() && CKXGenUtils::IsNC(net)) can = FALSE;
        if (targets.size() > 1) continue;
        // One row: one net bit (or one unconnected pin bit).
        if (net.IsEmpty()) GetRowInstTerm(row, msb, lsb);
        if (msb != lsb) can = FALSE;
    }
    return can;
}

BOOL CKXInstanceDetailsGridWnd::HasPupdOnSelectedNets() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    CKXAssocCompAPI* api = GetAssocCompAPI();
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        INet* net = GetRowNet(row, msb, lsb);
        if (!net || msb != lsb) continue;
        bool lu = false, ld = false, au = false, ad = false;
        api->GetPupdInfoOnThisNet(m_designContext.net(net).bitContext(msb), lu, ld, au, ad);
        if (lu || ld) return TRUE;
    }
    return FALSE;
}

// One selected row whose net bit carries a pull-up or pull-down, its own or one of an alias: the menu
// then edits or views it. Several rows have nothing one dialog could show.
BOOL CKXInstanceDetailsGridWnd::HasPupd() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    if (selected.size() != 1) return FALSE;
    int msb = -1, lsb = -1;
    INet* net = GetRowNet(selected.front(), msb, lsb);
    if (!net || msb != lsb) return FALSE;
    bool lu = false, ld = false, au = false, ad = false;
    GetAssocCompAPI()->GetPupdInfoOnThisNet(m_designContext.net(net).bitContext(msb), lu, ld, au, ad);
    return lu || ld || au || ad ? TRUE : FALSE;
}

// Records the rows a pull-up/pull-down command acts on. Every row must be connected: open pins are
// refused here (they are connected by the open-pin connection of the connection edits).
BOOL CKXInstanceDetailsGridWnd::AddPupdInstance(CString type, CString lib, CString cell, CString view,
                                                CString physName, CString value, CString dcNet,
                                                CStringList* keyProps, CStringList* instProps, BOOL bCommon) {
    // After InitPUPD: the add is made in the edit it holds open (with the open pins it connected),
    // which is this call's to end from here.
    CKXResumedEdit held(*this);
    const CString heldJournal = std::exchange(m_heldJournal, CString());
    std::vector<CNetBit> bits;
    std::multimap<CNetBit, ROWCOL> rowsOf;
    CollectSelectedNetBits(m_arrSelectedNetBits, bits, rowsOf);
    auto refuse = [&](const CString& why) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", why);
        m_bAutomationTransactionOpen = 0;
        return FALSE;
    };
    if (bits.empty()) return refuse("no net bit selected");
    CKXGridEdit edit(*this, MasterDesign(), "Add PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setServer(CKXShareGlobalData::m_pServer);
    api.setTransaction(edit.Transaction(), true);
    api.setAssociatedInstance(nullptr);
    api.setNewSignalFlag(false);
    api.WillRemoveExistingPupd(false);
    api.setDesignContext(MasterDesign());
    api.setHierarchyDesignContext(m_designContext);
    api.getLCVPropFromSetup(true);
    if (api.readSignals() == 0) return refuse("the design has no signals");
    api.setMultipleSelection(bits.size() > 1);
    CStringArray k, i;
    ToArray(keyProps, k);
    ToArray(instProps, i);
    if (!api.AddPupdInstance(type, lib, cell, view, physName, value, k, i, dcNet)) return refuse(api.GetLastError());
    api.SetPupdMode(bCommon ? PUPD_MODE_COMMON : PUPD_MODE_SEPARATE);
    const CString prepared = api.GetPreparedText(CKXAssocCompAPI::PUPD);
    std::set<CNetBit> done;
    std::vector<ROWCOL> journalRows;
    CKXAssocCompAPI::bApplyPUPDDump = 1;
    for (const CNetBit& bit : bits) {
        if (!done.insert(bit).second) continue;
        api.setNetBit(bit);
        if (!api.ApplyPupd(false, false)) {
            CKXAssocCompAPI::bApplyPUPDDump = 0;
            return refuse(api.GetLastError());
        }
        if (auto it = rowsOf.find(bit); it != rowsOf.end()) journalRows.push_back(it->second);
    }
    CKXAssocCompAPI::bApplyPUPDDump = 0;
    m_bAutomationTransactionOpen = 0;
    CString journal;
    for (ROWCOL row : journalRows) {
        KXJournalLines lines(JournalHandle());
        lines.Pane("InitPUPD", {prepared}).Pane("AddPUPD").End();
        journal += JournalAssocText(row, m_pupds->PupdSelectMethod(), "Add Pullup/Pulldown") + lines.Text();
    }
    if (!KXCommitAssocEdit(api, edit, "Add Pupd") || !held.Commit()) return FALSE;
    FillPupdColumn(NetIdsOf(bits));
    WriteJournal(heldJournal + journal);
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::EditPupd(CString parent, CString name, CString refDes, CString dcNets,
                                         CStringList* keyProps, CStringList* injProps, BOOL bDiffPair) {
    std::vector<CNetBit> bits;
    std::multimap<CNetBit, ROWCOL> rowsOf;
    SelectionNetBits(*this, bits, rowsOf);
    if (bits.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", "no net bit selected");
        return FALSE;
    }
    CKXGridEdit edit(*this, MasterDesign(), "Edit PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setTransaction(edit.Transaction(), true);
    api.setDesignContext(MasterDesign());
    api.setHierarchyDesignContext(m_designContext);
    api.readSignals();
    CStringArray k, i;
    ToArray(keyProps, k);
    ToArray(injProps, i);
    BOOL edited = FALSE;
    CString error, journal;
    std::set<CNetBit> done;
    const CString operands = KXEditPupdOperands(name, refDes, dcNets, keyProps, injProps, parent, bDiffPair);
    for (const CNetBit& bit : bits) {
        if (!done.insert(bit).second) continue;
        if (!parent.IsEmpty()) {
            const CString bitName = bit.bit() == -1 ? CString(bit.net()->name())
                                                    : CSchemaUtilities::vectorName(bit.net()->name(), bit.bit());
            if (bitName.CompareNoCase(parent) != 0) continue;
        }
        if (!api.EditPupd(bit, name, refDes, dcNets, &k, &i)) {
            if (error.IsEmpty()) error = api.GetLastError();
            continue;
        }
        edited = TRUE;
        // The net bit's row replays as its PUPD cell and the same editPupd word.
        if (auto it = rowsOf.find(bit); it != rowsOf.end()) {
            KXJournalLines lines(JournalHandle());
            lines.Pane("EditPUPD", {operands}).End();
            journal += JournalAssocText(it->second, m_pupds->PupdSelectMethod(), "Edit Pullup/Pulldown") +
                       lines.Text();
        }
    }
    if (!edited) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", error.IsEmpty() ? CString("no pull-up/pull-down named") : error);
        return FALSE;
    }
    const KXShownMark committing;
    if (!edit.Commit()) {
        // The pull-ups have what was given already (a refused commit has said why).
        if (!committing.SaidSince()) CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE;
    }
    FillPupdColumn(NetIdsOf(bits));
    WriteJournal(journal);
    return TRUE;
}

// Deletes the pull-ups/pull-downs of one net bit (those named, or all) in the transaction the
// library interface was given; true when one was deleted.
bool KXPinGridPupds::DeletePupdOnNet(const CNetBit& bit, const std::set<CString>& names) {
    CKXAssocCompAPI* api = m_grid.GetAssocCompAPI();
    if (!api || !bit.net()) return false;
    api->setNetBit(bit);
    if (!api->getAssociatedInstance(CKXAssocCompAPI::PUPD)) return false;
    return api->DeletePupd(bit, names) > 0;
}

// Deletes the pull-ups/pull-downs of the selection's net bits (those named, or all) in one step.
BOOL CKXInstanceDetailsGridWnd::DeletePupds(CStringArray* names, CMapStringToString* values) {
    (void)values;
    std::vector<CNetBit> bits;
    std::multimap<CNetBit, ROWCOL> rowsOf;
    SelectionNetBits(*this, bits, rowsOf);
    if (bits.empty()) return FALSE;
    std::set<CString> wanted;
    CString list;
    for (INT_PTR n = 0; names && n < names->GetSize(); ++n) {
        wanted.insert(names->GetAt(n));
        list += (n ? " " : "") + names->GetAt(n);
    }
    CKXGridEdit edit(*this, MasterDesign(), "Delete Pupd", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setTransaction(edit.Transaction(), true);
    api.setDesignContext(MasterDesign());
    std::set<CNetBit> done;
    std::vector<ROWCOL> changed;
    {
        // A step per net bit, each naming it.
        constexpr const char* kCaption = "Deleting Pullup(s)/Pulldown(s):";
        kxpingrid::ProgressScope progress(kCaption, static_cast<int>(bits.size()));
        for (const CNetBit& bit : bits) {
            if (!done.insert(bit).second) continue;
            progress.Show(kxpingrid::ProgressLabel(kCaption, bit.net()->name(), bit.bit()));
            if (!m_pupds->DeletePupdOnNet(bit, wanted)) continue;
            if (auto it = rowsOf.find(bit); it != rowsOf.end()) changed.push_back(it->second);
        }
        progress.FinishWith(changed.empty() ? CString() : kxpingrid::CommittingLabel(kCaption));
    }
    if (changed.empty()) return FALSE;
    CString journal;
    for (ROWCOL row : changed) {
        KXJournalLines lines(JournalHandle());
        lines.Pane("DeletePUPD", {list}).End();
        journal +=
            JournalAssocText(row, m_pupds->PupdSelectMethod(), "Delete Pullup/Pulldown") + lines.Text();
    }
    if (!edit.Commit()) return FALSE;
    FillPupdColumn(NetIdsOf(bits));
    WriteJournal(journal);
    return TRUE;
}

namespace {

// A read-only window begins no edit: the dialog shows the pull-up of the one net bit that has one, and
// anything else is refused as an edit.
void ShowPupdReadOnly(CKXAssocCompAPI& api, const CDesignContext& master, const CDesignContext& design,
                      const std::vector<CNetBit>& bits) {
    api.setTransaction(nullptr, false);
    api.setDesignContext(master);
    api.setHierarchyDesignContext(design);
    const CNetBitContext context = design.net(bits.front().net()).bitContext(bits.front().bit());
    bool lu = false, ld = false, au = false, ad = false;
    api.GetPupdInfoOnThisNet(context, lu, ld, au, ad);
    if (bits.size() != 1 || !(lu || ld || au || ad)) {
        KXRefuseReadOnlyWindow();
        return;
    }
    api.setNetBit(bits.front());
    ShowPupdDlg(&api, master, design, context, TRUE);
    KXMenuAnswer::Report(KXEditResult::Dialog()); // shown, nothing changed
}

} // namespace

// The library's pull-up/pull-down dialog for the rows AddConnectionsForPupd recorded: a new one on
// every net bit, or the edit dialog of the one net bit that has one already.
void CKXInstanceDetailsGridWnd::AddPupd() {
    std::vector<CNetBit> bits;
    std::multimap<CNetBit, ROWCOL> rowsOf;
    CollectSelectedNetBits(m_arrSelectedNetBits, bits, rowsOf);
    if (bits.empty()) return;
    if (IsReadOnlyWindow()) {
        ShowPupdReadOnly(*GetAssocCompAPI(), MasterDesign(), m_designContext, bits);
        return;
    }
    // All or nothing, also inside the edit that connected the open pins: a net bit that refuses the
    // pull-up takes back those the dialog's add made on the others.
    CKXGridEdit edit(*this, MasterDesign(), "Add PUPD", CKXGridEdit::kNested);
    if (!edit) return;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setTransaction(edit.Transaction(), false);
    api.setServer(CKXShareGlobalData::m_pServer);
    m_pCurrentGrid = this;
    api.InitCKXTransaction(&CreateAssocCompTransaction);
    api.setAssociatedInstance(nullptr);
    api.setNewSignalFlag(false);
    api.setDesignContext(MasterDesign());
    api.setHierarchyDesignContext(m_designContext);
    api.WillRemoveExistingPupd(false);
    api.readSignals();
    api.setMultipleSelection(bits.size() > 1);
    api.setNetBit(bits.front());
    const CNetBitContext context = m_designContext.net(bits.front().net()).bitContext(bits.front().bit());
    bool lu = false, ld = false, au = false, ad = false;
    api.GetPupdInfoOnThisNet(context, lu, ld, au, ad);
    if (bits.size() == 1 && (lu || ld || au || ad)) {
        const auto row = rowsOf.find(bits.front());
        KXJournalLines journal(JournalHandle());
        // The edit may be joined to the one that connects open pins, which commits it: a dialog that
        // changed nothing is told by the changes it made.
        const CTransaction::Mark before = edit.Transaction()->mark();
        if (row == rowsOf.end() || !m_pupds->EditPupdInDialog(api, bits.front(), row->second, journal))
            return;
        const auto changes = edit.Transaction()->changesSince(before);
        const KXShownMark committing;
        if (!changes || changes->empty() || !edit.Commit()) {
            KXReportUnchangedAssoc(committing);
            return;
        }
        FillPupdColumn(NetIdsOf(bits));
        journal.Write();
        return;
    }
    const KXShownMark asked;
    if (api.invokePUPDDialog(false)) {
        std::set<CNetBit> done{bits.front()};
        const CString prepared = api.GetPreparedText(CKXAssocCompAPI::PUPD);
        for (const CNetBit& bit : bits) {
            if (!done.insert(bit).second) continue;
            api.setNetBit(bit);
            if (!api.ApplyPupd(false, false)) {
                // The edit is dropped whole: the command refused.
                KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-217", api.GetLastError()));
                return;
            }
        }
        const CString journal = m_pupds->AddPupdJournal(bits, rowsOf, prepared);
        if (!edit.Commit()) return;
        FillPupdColumn(NetIdsOf(bits));
        WriteJournal(journal);
    } else if (asked.DialogCancelledSince()) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // cancelled
    } else {
        // Answered, and refused by the first net bit: nothing was made.
        const CString why = api.GetLastError();
        KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-217", why.IsEmpty() ? CString("refused") : why));
    }
}

// The pull-ups added on the net bits, journalled in the order they were made (each once, by the first row
// that showed it), so that a replay names them the same.
CString KXPinGridPupds::AddPupdJournal(const std::vector<CNetBit>& bits,
                                       const std::multimap<CNetBit, ROWCOL>& rowsOf,
                                       const CString& prepared) {
    CString journal;
    std::set<CNetBit> journalled;
    for (const CNetBit& bit : bits) {
        if (!journalled.insert(bit).second) continue;
        auto it = rowsOf.find(bit);
        if (it == rowsOf.end()) continue;
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("InitPUPD", {prepared}).Pane("AddPUPD").End();
        journal +=
            m_grid.JournalAssocText(it->second, PupdSelectMethod(), "Add Pullup/Pulldown") + lines.Text();
    }
    return journal;
}

bool KXPinGridPupds::EditPupdInDialog(CKXAssocCompAPI& api, const CNetBit& bit, ROWCOL row,
                                      KXJournalLines& journal) {
    const BOOL readOnly = m_grid.Site() && m_grid.Site()->OpenMode() == 2;
    const KXPupdLooksMap before = KXPupdLooks(api, m_grid.m_designContext, bit);
    api.setNetBit(bit);
    const CNetBitContext context = m_grid.m_designContext.net(bit.net()).bitContext(bit.bit());
    if (!KXPupdDialogAccepted(
            ShowPupdDlg(&api, m_grid.MasterDesign(), m_grid.m_designContext, context, readOnly), api))
        return false;
    if (readOnly) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // looked at, nothing to change
        return false;
    }
    const char* select = PupdSelectMethod();
    KXJournalPupdChanges(journal, before, KXPupdLooks(api, m_grid.m_designContext, bit), "DeletePUPD",
                         [&] { m_grid.JournalAssocSelect(journal, row, select); });
    return true;
}

// Several target rows take one automation pull-up only when their pins are not of both directions,
// input and output (KXTABLE-103), and none of their bits is terminated (KXTABLE-114); NULL when they may.
const char* KXPinGridPupds::AutomationPupdRefusal() {
    std::vector<ROWCOL> targets;
    m_grid.CollectTargetRows(m_grid.SelectedPinRows(), targets, FALSE, -1, -1);
    if (targets.size() < 2) return nullptr;
    bool input = false, output = false;
    for (ROWCOL row : targets) {
        const CString type = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinType));
        input = input || type.CompareNoCase("Input") == 0;
        output = output || type.CompareNoCase("Output") == 0;
    }
    if (input && output) return "KXTABLE-103";
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        for (int bit = std::max(msb, lsb); pin && bit >= std::min(msb, lsb); --bit) {
            api.setInstTermBit(pin->bit(bit));
            if (api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return "KXTABLE-114";
        }
    }
    return nullptr;
}

// The automation road: checks the current cell's net bit and prepares the automation object, whose
// AddPUPD sends the add command back.
int CKXInstanceDetailsGridWnd::InitPUPD(CString text, int bShort) {
    if (!MayEdit()) return 0;
    if (!CanAddPupd()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-219");
        return 0;
    }
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW) {
        m_bAutomationTransactionOpen = 1;
        return 1;
    }
    if (const char* refusal = m_pupds->AutomationPupdRefusal()) {
        CKXErrorHandler::MessageBoxOk(refusal);
        return 0;
    }
    // The open pins are connected, and the pull-up added by the command the automation object sends
    // next, in one edit.
    const bool holding = HoldAutomationEdit("Add PUPD");
    auto refuse = [&] {
        if (CKXGridEdit::IsHeld(*this)) CKXGridEdit::DiscardHeld(); // the set-up's own edit only
        m_heldJournal.Empty();
        return 0;
    };
    // In the held edit the connections are journalled with the pull-up that completes it, as one step.
    if (holding) HoldJournal();
    const BOOL connected = AddConnectionsForPupd(TRUE, bShort);
    if (holding) m_heldJournal = TakeHeldJournal();
    if (!connected) return refuse();
    int msb = -1, lsb = -1;
    INet* net = GetRowNet(row, msb, lsb);
    KXAssocAutomation& automation = *GetAssocAutomation();
    automation.setServer(CKXShareGlobalData::m_pServer);
    automation.setDesignContext(MasterDesign());
    automation.setHierarchyDesignContext(m_designContext);
    automation.setAssociatedInstance(nullptr);
    automation.setNewSignalFlag(false);
    automation.WillRemoveExistingPupd(false);
    if (net) automation.setNetBit(CNetBit(net, msb));
    if (!automation.InitPUPD(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", automation.GetLastError());
        m_bTerminationApplied = 0;
        return refuse();
    }
    if (CKXGridEdit::IsHeld(*this)) CKXGridEdit::Release();
    m_bAutomationTransactionOpen = 1;
    return 1;
}

int CKXInstanceDetailsGridWnd::SendDeletePupdCommand(const char* list) {
    CString text = CString(KXScriptWord::deletePupd) + " pin";
    // Every name is one word of the command, quoted as the script language reads it.
    CString names = list ? list : "";
    int start = 0;
    while (start < names.GetLength()) {
        int end = names.Find(' ', start);
        if (end < 0) end = names.GetLength();
        if (end > start) text += " " + CTclArgsList::QuoteTclWord(names.Mid(start, end - start));
        start = end + 1;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main) return 0;
    return main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1 ? 1 : 0;
}

BOOL CKXInstanceDetailsGridWnd::ReapplyPupd(IDTInstance* instance, INet* net, int bit) {
    if (!net) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setNetBit(CNetBit(net, bit));
    // A net bit that carries one of the same type keeps it: nothing is doubled.
    KXMultiMap present;
    api.getAssocInstanceArray(CKXAssocCompAPI::PUPD, present);
    if (instance)
        for (const auto& [type, dt] : present)
            if (type.CompareNoCase(instance->typeName()) == 0) return TRUE;
    api.refDesChanged(false);
    return api.ApplyPupd(false, false);
}
