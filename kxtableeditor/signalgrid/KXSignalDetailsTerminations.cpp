// Terminations on the pins of the signal grid's rows. The components, their
// rules and their nets belong to the associated-components library; the grid
// points it at the pin bits of the selected rows, inside one grid edit, and
// rewrites the rows' termination cells afterwards.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXEditResult.h"
#include "grid/KXPropLists.h"
#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXReplaySteps.h"
#include "grid/KXScriptText.h"
#include "grid/KXTerminationTargets.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

using namespace kxsignal;

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;

// The name of the system object of a pin bit; empty when there is no server or no such object.
CString SysObjectNameOf(const CInstTermBitContext& bit) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!server || !bit) return CString();
    char* name = server->GetSysObjectName(bit);
    const CString text = name ? name : "";
    if (name) server->FreeName(name);
    return text;
}

// The library's callback and the grid it reaches, set for one add from the dialog and taken back when
// the add ends, however it ends: a later step of the pane's library object reaches no grid through it.
class CKXTerminatingScope {
public:
    CKXTerminatingScope(CKXAssocCompAPI& api, CKXSignalDetailsGridWnd& grid) : m_api(api) {
        CKXSignalDetailsGridWnd::m_pTerminatingGrid = &grid;
        m_api.InitCKXTransaction(&CKXSignalDetailsGridWnd::OnTerminationAdded);
    }
    ~CKXTerminatingScope() {
        m_api.InitCKXTransaction(nullptr);
        CKXSignalDetailsGridWnd::m_pTerminatingGrid = nullptr;
    }
    CKXTerminatingScope(const CKXTerminatingScope&) = delete;
    CKXTerminatingScope& operator=(const CKXTerminatingScope&) = delete;

private:
    CKXAssocCompAPI& m_api;
};

// The transaction the library works in for one edit, taken back when the edit ends however it ends:
// the pane's library object keeps no transaction that the edit's bracket discarded.
class CKXAssocTransactionScope {
public:
    CKXAssocTransactionScope(CKXAssocCompAPI& api, CTransaction* t) : m_api(api) { m_api.setTransaction(t, true); }
    ~CKXAssocTransactionScope() { m_api.setTransaction(nullptr, true); }
    CKXAssocTransactionScope(const CKXAssocTransactionScope&) = delete;
    CKXAssocTransactionScope& operator=(const CKXAssocTransactionScope&) = delete;

private:
    CKXAssocCompAPI& m_api;
};

} // namespace

CString CKXSignalDetailsGridWnd::GetSysObjectName(int id) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!server) return CString();
    char* name = server->GetSysObjectName(static_cast<long>(id));
    const CString text = name ? name : "";
    if (name) server->FreeName(name);
    return text;
}

// The pane's object, which every grid of the pane drives: it is pointed at this grid's design each
// time, and each operation sets the rest of what it asks about.
CKXAssocCompAPI* CKXSignalDetailsGridWnd::GetAssocCompApi() {
    CKXAssocCompAPI* api = GetBottomPaneView();
    if (!api) return nullptr;
    api->setServer(CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server());
    api->setDesignContext(m_designContext);
    return api;
}

void CKXSignalDetailsGridWnd::StylePupdCell(ROWCOL row, const CNetBitContext& bit) {
    bool lu = false, ld = false, au = false, ad = false;
    if (CKXAssocCompAPI* api = GetAssocCompApi()) api->GetPupdInfoOnThisNet(bit, lu, ld, au, ad);
    SetPupdCellStyle(row, lu, ld, au, ad);
}

std::vector<CInstTermBit> CKXSignalDetailsGridWnd::RowPinBits(ROWCOL row) {
    std::vector<CInstTermBit> bits;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
    if (!pin) return bits;
    for (int b = std::max(msb, lsb); b >= std::min(msb, lsb); --b)
        bits.emplace_back(pin, b);
    return bits;
}

// ------------------------------------------------------------------ queries

BOOL CKXSignalDetailsGridWnd::IsTerminationCellCurrent() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    return GetCurrentCell(row, col) && row >= kFirstDataRow && col == Col(m_nColTermination);
}

IDTInstance* CKXSignalDetailsGridWnd::GetAssociatedInstanceOfCurrentPin() {
    const std::vector<ROWCOL> rows = SelectedRows();
    if (rows.size() != 1 || rows.front() < kFirstDataRow) return nullptr;
    if (CGXControl* c = GetControl(rows.front(), Col(m_nColPinName)); c && c->IsActive()) return nullptr;
    const std::vector<CInstTermBit> bits = RowPinBits(rows.front());
    if (bits.empty()) return nullptr;
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return nullptr;
    api->setInstTermBit(bits.front());
    return api->getAssociatedInstance(kTermination);
}

BOOL CKXSignalDetailsGridWnd::HasTermination() {
    return GetAssociatedInstanceOfCurrentPin() ? TRUE : FALSE;
}

BOOL CKXSignalDetailsGridWnd::CanAddTermination() {
    if (IsReadOnlyWindow()) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow || !m_designContext) return FALSE;
    if (CGXControl* c = GetCurrentCellControl(); c && c->IsActive()) return FALSE;
    const CString instanceName = CellText(row, m_nColInstance);
    if (instanceName.IsEmpty() || CellText(row, m_nColPinName).IsEmpty() || IsImplicitPowerPinRow(row)) return FALSE;
    IInstance* instance = m_designContext.design()->findInstance(instanceName.GetString());
    // A block instance cannot take terminations.
    if (!instance || instance->containedDesign()) return FALSE;
    const CNetContext net = GetNetOfRow(row);
    return net && !CKXGenUtils::IsNC(net->name()) ? TRUE : FALSE;
}

BOOL CKXSignalDetailsGridWnd::CheckTerminationTarget(ROWCOL row, BOOL bShowMessage) {
    for (const CInstTermBit& bit : RowPinBits(row))
        for (ISchemaObject* object : bit.beginSchemaObject()) {
            if (object->objectType() != 'R') continue;
            auto* pair = dynamic_cast<IDPInstTerm*>(object);
            // A member of a vector pair pin is terminated on its lane of the pair pin's connection.
            const CDPConnLane at = pair ? pair->connLane() : CDPConnLane();
            if (!at) break;
            for (IDTInstance* dt : at.conn->beginAssociatedDTInstance()) {
                if (dt->dpConnLane() != at.lane) continue;
                if (bShowMessage) CKXErrorHandler::MessageBoxOk("KXTABLE-157", dt->name());
                return FALSE;
            }
            break;
        }
    return TRUE;
}

// ------------------------------------------------------------------ deleting

BOOL CKXSignalDetailsGridWnd::DeleteTerminationOfPin(CTransaction& tx, const CInstTermBit& bit) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return FALSE;
    api->setTransaction(&tx, true);
    api->setInstTermBit(bit);
    const BOOL deleted = api->getAssociatedInstance(kTermination) && api->deleteAssocCompInstance(kTermination);
    api->setTransaction(nullptr, true);
    return deleted;
}

BOOL CKXSignalDetailsGridWnd::DeleteTerminations() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    if (!MayEdit()) return FALSE;
    const std::vector<ROWCOL> rows = SelectedRows();
    CKXGridEdit edit(*this, "Delete Termination", CKXGridEdit::kJoinOpen);
    CTransaction* tx = edit.Transaction();
    if (!tx) return FALSE;
    KXJournalLines journal(JournalHandle());
    int journalled = 0;
    for (ROWCOL r : rows) {
        bool deleted = false;
        for (const CInstTermBit& bit : RowPinBits(r))
            if (DeleteTerminationOfPin(*tx, bit)) deleted = true;
        if (!deleted) continue;
        ++journalled;
        // Each row replays as its selection in the termination column and a Delete.
        JournalTerminationRow(journal, r, "Delete");
        journal.Pane("Delete");
    }
    // Nothing deleted: the bracket discards what it began.
    if (!journalled || !edit.Commit()) return FALSE;
    MarkModified();
    WriteTerminationJournal(journal, journalled);
    RefreshTerminationCell(rows);
    return TRUE;
}

int CKXSignalDetailsGridWnd::RefreshTerminationCell(const std::vector<ROWCOL>& rows) {
    int refreshed = 0;
    for (ROWCOL r : rows) {
        if (r < kFirstDataRow || r > GetRowCount()) continue;
        SetBitsConnectedRow(r, Col(m_nColTermination));
        ++refreshed;
    }
    return refreshed;
}

// ------------------------------------------------------------------ pasting

bool CKXSignalDetailsGridWnd::PasteTerminationOnRow(CTransaction* t, ROWCOL row, const CString& typeText,
                                                    const CString& nameText, const CString& data, bool& took) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
    INet* shown = GetShownNet();
    if (!pin || !shown) return true; // nothing to paste on: not a failure
    if (data.IsEmpty()) return true;  // a copy without parts makes nothing (the paste says so)
    if (!CheckTerminationTarget(row, FALSE)) return false;
    bool ok = true;
    for (const CInstTermBit& bit : RowPinBits(row)) {
        const CInstanceContext instance = m_designContext.instance(pin->instance()->id());
        if (!instance || instance->containedDesign()) {
            ok = false;
            continue;
        }
        if (SysObjectNameOf(instance.instTerm(pin->id()).bitContext(bit.bit())).IsEmpty()) {
            ok = false;
            continue;
        }
        if (CKXImpClipBoard::PasteAssocComponents(t, bit, nullptr, CNetBit(shown, -1), instance, data, typeText,
                                                  nameText, pin->name(), kTermination, 0))
            took = true;
        else
            ok = false;
    }
    return ok;
}

bool CKXSignalDetailsGridWnd::PasteTerminations(CTransaction* t, std::vector<ROWCOL>& took) {
    if (!t) return false;
    std::vector<ROWCOL> work = SelectedRows();
    CString buffer;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    if (!KXCopiedAssocOfKind(buffer, kTermination)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-422");
        return false;
    }
    CKXProgressBar progress("Pasting Termination(s):", static_cast<int>(work.size()), 50, 0, 0);
    bool pasted = false, failed = false, first = true, oneForAll = false;
    CString withoutParts; // the copied terminations that record no parts
    while (!buffer.IsEmpty() && !work.empty()) {
        int kind = 0, number = 0;
        CString typeText, nameText, data;
        const int length = CKXImpClipBoard::GetAssocCompInfo(buffer, kind, number, typeText, nameText, data);
        if (length <= 0) break;
        buffer.Delete(0, length);
        while (buffer.Left(2) == "\r\n")
            buffer.Delete(0, 2);
        // A single item goes to every selected row; several go one to a row.
        if (first && buffer.IsEmpty()) oneForAll = true;
        first = false;
        if (kind != kTermination) continue;
        if (data.IsEmpty()) withoutParts += (withoutParts.IsEmpty() ? "" : ", ") + nameText;
        const size_t targets = oneForAll ? work.size() : 1;
        for (size_t i = 0; i < targets && !work.empty(); ++i) {
            const ROWCOL row = work.front();
            work.erase(work.begin());
            progress.StepIt();
            progress.PeekAndPump();
            bool onRow = false;
            if (!PasteTerminationOnRow(t, row, typeText, nameText, data, onRow)) failed = true;
            if (onRow) {
                pasted = true;
                took.push_back(row);
            }
        }
    }
    // Done when a row took a termination; otherwise the message names why nothing was made.
    if (failed)
        CKXErrorHandler::MessageBoxOk("KXTABLE-118");
    else if (!pasted && !withoutParts.IsEmpty())
        CKXErrorHandler::MessageBoxOk("KXTABLE-344", withoutParts);
    else if (!pasted)
        CKXErrorHandler::MessageBoxOk("KXTABLE-345");
    return pasted;
}

BOOL CKXSignalDetailsGridWnd::PasteTerminationsInTransaction() {
    if (!MayEdit()) return FALSE;
    const std::vector<ROWCOL> rows = SelectedRows();
    CKXGridEdit edit(*this, m_designContext2 ? m_designContext2 : m_designContext, "Paste Termination",
                     CKXGridEdit::kJoinOpen);
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!edit || !api) return FALSE;
    api->resetPreCommitObjects();
    // A failed paste leaves nothing of it: the bracket discards.
    std::vector<ROWCOL> took;
    if (!PasteTerminations(edit.Transaction(), took) || !edit.Commit()) return FALSE;
    MarkModified();
    RefreshTerminationCell(rows);
    JournalPastedTerminations(took);
    return TRUE;
}

// Each row that took a termination replays as its termination cell and the automation add of the
// termination it took, with that termination's own parts and values.
void CKXSignalDetailsGridWnd::JournalPastedTerminations(const std::vector<ROWCOL>& rows) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    KXJournalLines journal(JournalHandle());
    int count = 0;
    for (ROWCOL r : rows) {
        IDTInstance* termination = RowTermination(r);
        if (!termination) continue;
        api->getLCVPropFromInstance(termination);
        JournalTerminationRow(journal, r, "Paste Termination");
        journal.Pane("InitTermination", {api->GetPreparedText(kTermination)}).Pane("AddTermination").End();
        ++count;
    }
    WriteTerminationJournal(journal, count);
}

// ------------------------------------------------------------------ adding from the dialog

void CKXSignalDetailsGridWnd::OnAddTermination() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (GetCurrentCell(row, col)) AddTermination(row, Col(m_nColTermination));
}

BOOL CKXSignalDetailsGridWnd::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    m_bTrackingColumn = false;
    m_nTrackingColumn = 0;
    if (nRow >= kFirstDataRow && nCol == Col(m_nColTermination)) {
        AddTermination(nRow, nCol);
        return TRUE;
    }
    return CKXGridWnd::OnLButtonDblClkRowCol(nRow, nCol, nFlags, pt);
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::TerminationTargets() {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedDataRows())
        if (GetRowPinId(r) >= 0 && CheckTerminationTarget(r, TRUE)) rows.push_back(r);
    return rows;
}

bool CKXSignalDetailsGridWnd::CheckTerminationDirections(const std::vector<ROWCOL>& rows) {
    if (rows.size() < 2) return true;
    std::vector<CString> types;
    for (ROWCOL r : rows)
        types.push_back(CellText(r, m_nColPinType));
    if (!KXMixesInputAndOutput(types)) return true;
    CKXErrorHandler::MessageBoxOk("KXTABLE-103");
    return false;
}

bool CKXSignalDetailsGridWnd::CheckTerminationBit(const CInstTermBit& bit, bool severalRows) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return false;
    api->setInstTermBit(bit);
    const bool existing = api->getAssociatedInstance(kTermination) != nullptr;
    if (severalRows && existing) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-114");
        return false;
    }
    const CInstanceContext instance = RowInstanceOfPin(bit.instTerm());
    if (SysObjectNameOf(instance.instTerm(bit.instTerm()->id()).bitContext(bit.bit())).IsEmpty()) {
        if (!existing) {
            CKXErrorHandler::MessageBoxOk(Site() && Site()->OpenMode() == 3 ? "KXTABLE-200" : "KXTABLE-142");
            return false;
        }
    }
    // A bit with a termination takes the dialog's choice in place of it.
    if (existing) api->m_bHasAssociatedInstance = true;
    return true;
}

CInstanceContext CKXSignalDetailsGridWnd::RowInstanceOfPin(IInstTerm* pin) {
    return pin && pin->instance() && m_designContext ? m_designContext.instance(pin->instance()->id())
                                                     : CInstanceContext();
}

void CKXSignalDetailsGridWnd::AddTermination(ROWCOL row, ROWCOL col) {
    KXTerminationDialogEdit inPlace;
    if (AddTerminationInDialog(row, col, inPlace)) KXMakeTerminationDialogEdit(*this, inPlace);
}

// The dialog's choice added in one edit; true, with nothing done, when the dialog changed the one
// termination it showed, for the caller to change it in place once this edit is gone.
bool CKXSignalDetailsGridWnd::AddTerminationInDialog(ROWCOL row, ROWCOL col, KXTerminationDialogEdit& inPlace) {
    if (!MayEdit() || row < kFirstDataRow || col != Col(m_nColTermination) || !CanAddTermination()) return false;
    const std::vector<ROWCOL> rows = TerminationTargets();
    if (rows.empty() || !CheckTerminationDirections(rows)) return false;
    CKXGridEdit edit(*this, m_designContext2 ? m_designContext2 : m_designContext, "Add Termination",
                     CKXGridEdit::kJoinOpen);
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!edit || !api) return false;
    // One row whose pin is terminated: the dialog's choice takes the place of its termination.
    const bool replacing = rows.size() == 1 && RowTermination(rows.front()) != nullptr;
    const CKXAssocTransactionScope working(*api, edit.Transaction());
    api->setHierarchyDesignContext(m_designContext);
    api->setKindOfOperation(kTermination);
    api->m_bHasAssociatedInstance = false;
    api->m_bApplied = false;
    bool applied = false;
    {
        const CKXTerminatingScope terminating(*api, *this);
        applied = CommitAddTermination(rows, inPlace) && (m_bTerminationAdded || api->m_bApplied);
    }
    api->m_bApplied = false;
    if (!inPlace.names.empty()) return true; // nothing done: the bracket closes
    if (!applied) return false; // the bracket discards what was added
    // Once for the whole add, after the library's work.
    SelectionHasAssociatedInstance(edit.Transaction());
    const KXJournalLines journal = JournalTerminationAdds(rows, api->GetPreparedText(kTermination), replacing);
    if (!edit.Commit()) return false;
    MarkModified();
    WriteTerminationJournal(journal, static_cast<int>(rows.size()) + (replacing ? 1 : 0));
    RefreshTerminationCell(rows);
    return false;
}

IDTInstance* CKXSignalDetailsGridWnd::RowTermination(ROWCOL row) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return nullptr;
    for (const CInstTermBit& bit : RowPinBits(row)) {
        api->setInstTermBit(bit);
        if (IDTInstance* termination = api->getAssociatedInstance(kTermination)) return termination;
    }
    return nullptr;
}

// The dialog opens once, on the first termination of the rows' pin bits (on the first bit when none has
// one); what it chooses goes onto every bit, and with its stop set onto the bits of that row only. A
// choice that keeps the shown termination's type is left in `inPlace`, with nothing added.
bool CKXSignalDetailsGridWnd::CommitAddTermination(const std::vector<ROWCOL>& rows, KXTerminationDialogEdit& inPlace) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    m_bTerminationAdded = 0;
    if (!api) return false;
    KXTerminationTargets each;
    std::vector<std::size_t> rowOf;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (const CInstTermBit& bit : RowPinBits(rows[r])) {
            if (!CheckTerminationBit(bit, rows.size() > 1)) return false;
            each.push_back({bit, nullptr});
            rowOf.push_back(r);
        }
    if (each.empty()) return true;
    KXPrepareDialogOn(*api, each);
    const CInstTermBit shown = api->getInstTermBit();
    auto isShown = [&](const KXTerminationTarget& t) {
        return t.bit.instTerm() == shown.instTerm() && t.bit.bit() == shown.bit();
    };
    const std::size_t shownAt = static_cast<std::size_t>(std::find_if(each.begin(), each.end(), isShown) - each.begin());
    bool stop = false;
    const KXShownMark asked;
    if (!api->invokeTerminationDialog(stop, false, true)) {
        KXReportUnchangedTermination(*api, asked);
        return true;
    }
    if (KXTakeDialogEdit(*api, each, inPlace)) return true;
    // The dialog put its choice on the bit it showed; every other bit takes the same.
    bool accepted = true;
    for (std::size_t i = 0; accepted && i < each.size(); ++i) {
        if (i == shownAt || (stop && shownAt < each.size() && rowOf[i] != rowOf[shownAt])) continue;
        api->setInstTermBit(each[i].bit);
        accepted = api->AddTermination(0) != 0;
    }
    m_bTerminationAdded = accepted ? 1 : 0;
    return true;
}

CKXSignalDetailsGridWnd* CKXSignalDetailsGridWnd::m_pTerminatingGrid = nullptr;

CTransaction* CKXSignalDetailsGridWnd::OnTerminationAdded(CString name) {
    return m_pTerminatingGrid ? m_pTerminatingGrid->CommitAddTerminationTransaction(name) : nullptr;
}

// The library goes on in the edit's one transaction (its dialog's work is one undo step with the
// rest). The terminations it added are handed to the system-object server by the add once it is
// through (AddTermination), not at each of the library's steps.
CTransaction* CKXSignalDetailsGridWnd::CommitAddTerminationTransaction(CString name) {
    return KXAssocCompStepTransaction(*this, name, nullptr);
}

bool CKXSignalDetailsGridWnd::SelectionHasAssociatedInstance(CTransaction* transaction) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api || !transaction) return false;
    std::vector<CInstTermBit> bits;
    for (ROWCOL r : SelectedDataRows()) {
        const std::vector<CInstTermBit> rowBits = RowPinBits(r);
        bits.insert(bits.end(), rowBits.rbegin(), rowBits.rend());
    }
    return KXHandTerminations(*api, bits, m_designContext, transaction);
}

// Each row replays as its termination cell and the pane's automation add of the prepared termination.
KXJournalLines CKXSignalDetailsGridWnd::JournalTerminationAdds(const std::vector<ROWCOL>& rows,
                                                               const CString& prepared, bool replacing) {
    KXJournalLines journal(JournalHandle());
    // A replaced termination is deleted first on replay: the add there refuses a terminated pin.
    if (replacing && !rows.empty()) {
        JournalTerminationRow(journal, rows.front(), "Delete");
        journal.Pane("Delete");
    }
    for (ROWCOL r : rows) {
        JournalTerminationRow(journal, r, "Add Termination");
        journal.Pane("InitTermination", {prepared}).Pane("AddTermination").End();
    }
    return journal;
}

// ------------------------------------------------------------------ scripted adding and editing

// Sets the library up for the type without a transaction: the caller's CKXAssocTransactionScope alone
// gives it one and takes it back, so a refusal before the scope leaves the shared object none.
CKXAssocCompAPI* CKXSignalDetailsGridWnd::PrepareAssocCompApi(const CString& type) {
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return nullptr;
    api->setHierarchyDesignContext(m_designContext);
    api->setKindOfOperation(kTermination);
    api->m_strName = type;
    api->getLCVPropFromSetup(true);
    api->readSignals();
    api->m_bHasAssociatedInstance = false;
    return api;
}

BOOL CKXSignalDetailsGridWnd::AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells,
                                                     CStringArray* views, CStringArray* physNames,
                                                     CStringArray* values, CObArray* keyLists, CObArray* instLists,
                                                     CString delay, CString high, CString low, int parts) {
    KXScriptedAssocScope replay;
    // After InitTermination the add completes the edit the set-up held open (when this grid began it
    // and nothing discarded it meanwhile): leaving without its commit discards it.
    const bool completing = std::exchange(m_bAutomationTermPending, 0) != 0;
    const bool owned = std::exchange(m_bTermTransStarted, 0) != 0;
    std::optional<CKXResumedEdit> held;
    if (completing && owned) held.emplace(*this);
    if (!MayEdit()) return FALSE;
    if (!CanAddTermination()) return Refuse(TRUE, "KXTABLE-210");
    const std::vector<ROWCOL> rows = TerminationTargets();
    if (rows.empty()) return Refuse(TRUE, "KXTABLE-210");
    if (!CheckTerminationDirections(rows)) return FALSE;
    CKXGridEdit edit(*this, m_designContext2 ? m_designContext2 : m_designContext, "Add Termination",
                     CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI* api = PrepareAssocCompApi(type);
    if (!api) return Refuse(TRUE, "KXTABLE-210");
    const CKXAssocTransactionScope working(*api, edit.Transaction());
    std::vector<CString> ids;
    api->getSlotIds(ids);
    if (ids.empty() || static_cast<int>(ids.size()) != parts) return Refuse(TRUE, "KXTABLE-210");
    int given = 0;
    for (INT_PTR i = 0; libs && i < libs->GetSize() && given < parts; ++i) {
        if (!KXPartGiven(libs, cells, views, physNames, values, i)) continue;
        if (!api->AddTerminationInstance(ids[static_cast<size_t>(std::min<INT_PTR>(i, parts - 1))],
                                         KXPartText(libs, i), KXPartText(cells, i), KXPartText(views, i),
                                         KXPartText(physNames, i), KXPartText(values, i), nullptr,
                                         KXPartList(keyLists, i), KXPartList(instLists, i)))
            return FALSE; // the bracket discards
        ++given;
    }
    api->setDelayConstraint(delay);
    if (!high.IsEmpty()) api->SetTerminationSignal(high, "High");
    if (!low.IsEmpty()) api->SetTerminationSignal(low, "Low");
    bool added = false;
    for (ROWCOL r : rows)
        for (const CInstTermBit& bit : RowPinBits(r)) {
            if (!CheckTerminationBit(bit, rows.size() > 1)) return FALSE;
            api->setInstTermBit(bit);
            if (api->AddTermination(0)) added = true;
        }
    if (!added) return FALSE;
    const KXJournalLines journal = JournalTerminationAdds(rows, api->GetPreparedText(kTermination));
    if (!edit.Commit() || (held && !held->Commit())) return FALSE;
    MarkModified();
    WriteTerminationJournal(journal, static_cast<int>(rows.size()));
    RefreshTerminationCell(rows);
    return TRUE;
}

bool CKXSignalDetailsGridWnd::SetAssocCompSelection(CKXAssocCompAPI& api, const std::vector<ROWCOL>& rows,
                                                    KXTerminationEditArgs& args, const CString& delay,
                                                    const CString& high, const CString& low, int byRefDes) {
    bool edited = false;
    for (ROWCOL r : rows)
        for (const CInstTermBit& bit : RowPinBits(r)) {
            api.setInstTermBit(bit);
            CString d = delay, h = high, l = low;
            if (!api.EditTermination(args.designators, args.renames, d, h, l, args.keyProps, args.instProps,
                                     byRefDes, &args.partLooks)) {
                CKXErrorHandler::MessageBoxOk("KXTABLE-216", api.GetLastError());
                return false;
            }
            edited = true;
        }
    return edited;
}

BOOL CKXSignalDetailsGridWnd::EditTermination(CStringArray* designators, CMapStringToString* oldToNew,
                                              CMapStringToString* keyProps, CMapStringToString* instProps,
                                              CString delay, CString high, CString low, int count, int byRefDes,
                                              const CMapStringToString* partLooks) {
    KXScriptedAssocScope replay;
    IDTInstance* termination = GetAssociatedInstanceOfCurrentPin();
    if (!termination || IsReadOnlyWindow()) return FALSE;
    const std::vector<ROWCOL> rows = TerminationTargets();
    CKXGridEdit edit(*this, m_designContext2 ? m_designContext2 : m_designContext, "Edit Termination",
                     CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI* api = PrepareAssocCompApi(termination->name());
    if (!api || api->getComponentCount() < count) return Refuse(TRUE, "KXTABLE-210");
    const CKXAssocTransactionScope working(*api, edit.Transaction());
    KXTerminationEditArgs args = KXTerminationEditArgsOf(designators, oldToNew, keyProps, instProps, partLooks);
    if (!SetAssocCompSelection(*api, rows, args, delay, high, low, byRefDes))
        return FALSE; // the bracket discards what was edited
    // The row replays as its termination cell and the same editTermination word.
    KXJournalLines journal(JournalHandle());
    for (ROWCOL r : rows) {
        JournalTerminationRow(journal, r, "Edit Termination");
        journal
            .Pane("EditTermination", {KXEditTerminationOperands(designators, oldToNew, keyProps, instProps, delay,
                                                                high, low, byRefDes, partLooks)})
            .End();
    }
    const KXShownMark committing;
    if (!edit.Commit()) {
        KXReportUnchangedAssoc(committing);
        return FALSE;
    }
    MarkModified();
    WriteTerminationJournal(journal, static_cast<int>(rows.size()));
    RefreshTerminationCell(rows);
    return TRUE;
}
