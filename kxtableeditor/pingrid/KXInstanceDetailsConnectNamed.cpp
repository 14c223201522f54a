// A pin row joined to a signal by its name, the group rows that take their
// signals again after their parent row was disconnected, and the retain
// question a connect run puts before the pins change: whether the terminations
// of the moved pins stay with them.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPupds.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridScopes.h"
#include "grid/KXJournalLine.h"
#include "grid/KXGridEdit.h"

#include "kxcommon/KXGenUtils.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXCommonDialogs.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <utility>

using kxpingrid::Col;

// ---------------------------------------------------------------------------
// The retain question

int KXPinGridRetain::m_nPupdRetainAnswer = -1;
int KXPinGridRetain::m_nTerminationRetainAnswer = -1;
int KXPinGridRetain::m_nRunKeepTerminations = -1;
int KXPinGridRetain::m_nRunKeepPupds = -1;

void KXPinGridRetain::ForgetRetainRun() {
    g_netReplaceList.RemoveAll();
    m_nRunKeepTerminations = -1;
    m_nRunKeepPupds = -1;
}

void KXPinGridRetain::AskRetainQuestion(const CString& signal, const std::vector<ROWCOL>* targets) {
    m_pRetainQuestion = std::make_unique<CKXRetainAssocCompDlg>(nullptr);
    const int skip = std::exchange(m_grid.m_bSkipChildRows, 0);
    RetainAssocComponents(m_grid.m_nColSignal, signal, targets);
    m_grid.m_bSkipChildRows = skip;
    // A later connect of the same edit knows the pull-ups carried over so far, and is not asked again:
    // it takes the answers given to the edit's question.
    if (m_grid.m_bCellControlClick) {
        m_pRetainQuestion->SetNetReplaceList(g_netReplaceList);
        if (!g_netReplaceList.IsEmpty() && m_nRunKeepTerminations >= 0) {
            m_bAskRetain = 0;
            m_pRetainQuestion->SetPreserveTerminationFlag(m_nRunKeepTerminations);
            m_pRetainQuestion->SetPreservePupdFlag(m_nRunKeepPupds);
        }
    }
    // Answers a journal gave for this connect: it asks nothing.
    bool answered = false;
    if (m_nPupdRetainAnswer >= 0) {
        m_pRetainQuestion->SetPreservePupdFlag(std::exchange(m_nPupdRetainAnswer, -1));
        answered = true;
    }
    if (m_nTerminationRetainAnswer >= 0) {
        m_pRetainQuestion->SetPreserveTerminationFlag(std::exchange(m_nTerminationRetainAnswer, -1));
        answered = true;
    }
    if (answered) {
        m_bAskRetain = 0;
        return;
    }
    if (m_bAskRetain) m_pRetainQuestion->DoModal();
    JournalPupdRetainAnswer();
}

// A replay answers its questions yes: a no to the pull-ups, asked now or remembered from an earlier
// "don't ask", is journalled for the replayed connect to read.
void KXPinGridRetain::JournalPupdRetainAnswer() {
    if (CKXShareGlobalData::m_bReplay || m_pRetainQuestion->CanPreservePupd()) return;
    if (!m_bAskRetain && !m_pRetainQuestion->DontAskToRetainAssocComp()) return;
    KXJournalLines lines(m_grid.JournalHandle());
    lines.Pane("RetainPUPD", {"0"}).End();
    m_grid.m_retainJournal = lines.Text();
}

void KXPinGridRetain::EndRetainQuestion() {
    if (m_pRetainQuestion && m_grid.m_bCellControlClick) {
        m_pRetainQuestion->GetNetReplaceList(g_netReplaceList);
        m_nRunKeepTerminations = m_pRetainQuestion->CanPreserveTermination() ? 1 : 0;
        m_nRunKeepPupds = m_pRetainQuestion->CanPreservePupd() ? 1 : 0;
    }
    m_pRetainQuestion.reset();
    m_bAskRetain = 0;
}

bool KXPinGridRetain::KeepsTerminationsOnMove() const {
    return !m_pRetainQuestion || m_pRetainQuestion->CanPreserveTermination();
}

bool KXPinGridRetain::KeepsTerminationsOnDisconnect() const {
    return m_grid.m_disconnect->m_bDeleteKeepsTerminations ||
           (m_pRetainQuestion && m_pRetainQuestion->CanPreserveTermination());
}

bool KXPinGridRetain::DropMovedTerminations(CTransaction* transaction, ROWCOL row, IInstTerm* pin, int msb,
                                            int lsb, const INet* net) {
    if (!transaction || !pin) return false;
    // The row's selection in the termination column, read before anything changes.
    const CString select = m_grid.JournalAssocText(row, "SelectTerminationCol", "Delete");
    bool dropped = false;
    const int step = msb >= lsb ? -1 : 1;
    for (int b = msb;; b += step) {
        const CNetBit now = pin->netBit(b);
        if (now.net() && now.net() != net &&
            m_grid.m_disconnect->DeleteTerminationOnBit(transaction, CInstTermBit(pin, b)))
            dropped = true;
        if (b == lsb) break;
    }
    if (dropped && !select.IsEmpty()) {
        // Replayed, the connect keeps the termination (a replay's questions are answered yes): the
        // journal deletes it as the user's answer did, before the connect as here, so that what the
        // connect makes (a carried pull-up's part) is named as it was.
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("Delete").End();
        m_grid.m_leadJournal += select + lines.Text();
    }
    return dropped;
}

bool KXPinGridRetain::KeepsPupdsOnMove() const {
    return m_pRetainQuestion && m_pRetainQuestion->CanPreservePupd();
}

std::vector<std::pair<int, CNetBit>> KXPinGridRetain::MovingBits(IInstTerm* pin, int msb, int lsb,
                                                                 const INet* net) {
    std::vector<std::pair<int, CNetBit>> moving;
    const int step = msb >= lsb ? -1 : 1;
    for (int b = msb;; b += step) {
        const CNetBit now = pin->netBit(b);
        if (now.net() && now.net() != net) moving.emplace_back(b, now);
        if (b == lsb) break;
    }
    return moving;
}

namespace {

CString NetBitName(const CNetBit& bit) {
    return bit.net()->isScalar() ? CString(bit.net()->name())
                                 : CSchemaUtilities::vectorName(bit.net()->name(), bit.bit());
}

} // namespace

void KXPinGridRetain::CarryPupdsOver(CTransaction* transaction, IInstTerm* pin,
                                     const std::vector<std::pair<int, CNetBit>>& moved) {
    if (moved.empty() || !KeepsPupdsOnMove()) return;
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    api.setDesignContext(m_grid.MasterDesign());
    for (const auto& [pinBit, old] : moved) {
        const CNetBit now = pin->netBit(pinBit);
        if (!now.net() || m_pRetainQuestion->IsAlreadyCopied(NetBitName(old), NetBitName(now))) continue;
        api.setNetBit(old);
        KXMultiMap kept;
        api.getAssocInstanceArray(CKXAssocCompAPI::PUPD, kept);
        for (const auto& [type, dt] : kept) {
            api.setTransaction(transaction, true);
            api.setKindOfOperation(CKXAssocCompAPI::PUPD);
            api.getLCVPropFromInstance(dt);
            api.setNewSignalFlag(false);
            m_grid.ReapplyPupd(dt, now.net(), now.bit());
            api.setTransaction(nullptr, true);
        }
    }
}

// ---------------------------------------------------------------------------
// By name

BOOL CKXInstanceDetailsGridWnd::ConnectPinToNamedSignal(ROWCOL row, CString signalName,
                                                        CTransaction* transaction) {
    CWaitCursor wait;
    if (!transaction) return FALSE;
    CString display, base;
    int lsb = -1, msb = -1, step = 1, scope = 0, pinType = 1;
    signalName.Trim(" ");
    if (!CKXGenUtils::ParsePinName(signalName, display, base, lsb, msb, step, scope, pinType)) return FALSE;
    IDesign* design = m_designContext.design();
    INet* net = design ? design->findNet(base.GetString()) : nullptr;
    if (net && lsb != -1 && !ChangeNetWidth(net, std::min(lsb, msb), std::max(lsb, msb))) return FALSE;
    if (!net) net = FindTransactionNet(base);
    if (net && !net->isAlive()) net = nullptr; // made by this edit, then dropped by a row renamed before
    if (!net) {
        net = transaction->createNet(base.GetString(), static_cast<unsigned>(std::max(lsb, msb)),
                                     static_cast<unsigned>(std::min(lsb, msb)),
                                     scope == KX_SCOPE_GLOBAL ? INet::eScopeGlobal : INet::eScopeDesign);
        if (!net) return FALSE;
        transaction->addNet(net);
        RecordTransactionNet(base, net);
        OfferNewNetName(base, net);
    }
    CNetContext context = m_designContext.net(net);
    if (!context) return FALSE;
    return ConnectPinToSignal(row, context, lsb, msb, transaction, FALSE);
}

BOOL KXPinGridDisconnect::ApplySignalNamesToSelection(ROWCOL* pRow, int* pRemovedRows) {
    if (!pRow) return TRUE;
    const ROWCOL parent = *pRow;
    const ROWCOL pinCol = Col(m_grid.m_nColPinName);
    const CString group = m_grid.AttrText(parent, pinCol, IDS_UA_VECTOR_GROUP);
    if (group.IsEmpty()) return TRUE;
    std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    std::sort(selected.begin(), selected.end());
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    for (ROWCOL r = parent + 1; r <= m_grid.GetRowCount(); ++r) {
        const CString bit = m_grid.AttrText(r, pinCol, IDS_UA_PLUSMINUS_BIT);
        if (bit.IsEmpty() || bit.CompareNoCase(group) != 0) break;
        const CString text = m_grid.GetValueRowCol(r, Col(m_grid.m_nColSignal));
        if (!text.IsEmpty() && !std::binary_search(selected.begin(), selected.end(), r) &&
            m_grid.ConnectPinToNamedSignal(r, text, transaction))
            m_grid.ApplySignalCellStyle(r, text, -1, TRUE, TRUE);
        m_grid.SetCellUserAttribute(r, pinCol, IDS_UA_PLUSMINUS_BIT, 1);
    }
    if (group == "2") {
        // The parent stood only for its group: it goes, and the caller's walk steps back one row.
        const int guard = std::exchange(m_grid.m_bValidateSignalCell, 0);
        m_grid.RemoveRows(parent, parent);
        m_grid.m_bValidateSignalCell = guard;
        if (pRemovedRows) ++*pRemovedRows;
        *pRow = parent - 1;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Open pins before a pull-up

BOOL CKXInstanceDetailsGridWnd::AddConnectionsForPupd(BOOL bScripted, BOOL bCommon) {
    // The add command of the automation set-up that connected them already, in the edit it holds.
    if (bScripted && CKXGridEdit::IsWaiting(*this)) return TRUE;
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    m_arrSelectedNetBits = targets;
    std::vector<ROWCOL> open;
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        if (!GetRowNet(row, msb, lsb)) open.push_back(row);
    }
    m_pupds->m_bShortBeforePupd = 0;
    if (open.size() >= 2) {
        if (!bScripted) {
            CKXOpenPinConnectionDlg dialog(nullptr);
            if (dialog.DoModal() == IDCANCEL) return FALSE;
            bCommon = dialog.IsCommonSignalChosen();
        }
        m_pupds->m_bShortBeforePupd = bCommon ? 1 : 0;
    }
    m_pupds->m_strPupdConnTransaction.Empty();
    if (open.empty()) return TRUE; // every pin has a net for the pull-up
    return m_pupds->ConnectOpenPins(open, m_pupds->m_bShortBeforePupd != 0);
}

BOOL CKXInstanceDetailsGridWnd::AddPupdOnOpenPins(BOOL bScripted, BOOL bCommon, const std::function<BOOL()>& add) {
    if (CKXTransaction::IsTransactionStarted()) return CKXGridWnd::AddPupdOnOpenPins(bScripted, bCommon, add);
    // A read-only window connects nothing: the pull-up dialog only shows what is there.
    if (IsReadOnlyWindow()) {
        if (bScripted) return MayEdit() ? TRUE : FALSE;
        std::vector<ROWCOL> targets;
        CollectTargetRows(SelectedPinRows(), targets, FALSE, -1, -1);
        m_arrSelectedNetBits = targets;
        return add();
    }
    CKXPinConnEdit edit(*this, m_designContext2, "Add PUPD");
    if (!edit) return FALSE;
    m_heldSignalRows.clear();
    HoldJournal();
    BOOL done = AddConnectionsForPupd(bScripted, bCommon);
    if (done && !m_pupds->m_strPupdConnTransaction.IsEmpty()) {
        // The open pins' connections are an undo step of their own, before the pull-up's; a pull-up
        // refused or cancelled still takes them back with it.
        ReleaseJournal(TRUE);
        HoldJournal();
        done = CommitOwnTransaction(1, 0) && KXSplitUndoStep("Add Connections for Pupd");
    }
    if (done) {
        // Only a change made after the connections is a pull-up.
        const CTransaction::Mark connected = edit.Transaction()->mark();
        done = add();
        const auto changes = edit.Transaction()->changesSince(connected);
        done = done && changes && !changes->empty() && edit.Commit();
    }
    if (done) {
        m_heldSignalRows.clear(); // the commit's refresh shows them
    } else {
        edit.Discard();
        ForgetHeldSignals();
    }
    ReleaseJournal(done);
    return done;
}

// Each open pin joined to a new signal of the signal pane's automatic naming (one for all when
// common), in one edit; FALSE, and nothing made, when a name is taken or a pin refuses.
BOOL KXPinGridPupds::ConnectOpenPins(const std::vector<ROWCOL>& open, bool common) {
    CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Add Connections for Pupd");
    if (!edit) return FALSE;
    CTransaction* transaction = edit.Transaction();
    IDesign* design = m_grid.m_designContext.design();
    // Nothing on these pins is kept: they have no signal to leave.
    m_grid.m_retain->SetRetainQuestion(std::make_unique<CKXRetainAssocCompDlg>(nullptr));
    m_grid.m_retain->m_pRetainQuestion->SetPreserveTerminationFlag(0);
    m_grid.m_retain->m_pRetainQuestion->SetPreservePupdFlag(0);
    m_grid.m_retain->m_bAskRetain = 0;
    struct RetainEnd {
        CKXInstanceDetailsGridWnd& grid;
        ~RetainEnd() { grid.m_retain->EndRetainQuestion(); }
    } retainEnd{m_grid};
    INet* net = nullptr;
    CString journal;
    for (ROWCOL row : open) {
        if (!net || !common) {
            const CString name = m_grid.NewAutoName();
            if (name.IsEmpty() || (design && design->findNet(name.GetString()))) return FALSE;
            net = transaction->createNet(name.GetString(), static_cast<unsigned>(-1),
                                         static_cast<unsigned>(-1));
            if (!net || !transaction->addNet(net)) return FALSE;
            m_grid.RecordTransactionNet(name, net);
        }
        CNetContext context = m_grid.m_designContext.net(net);
        if (!context || !m_grid.ConnectPinToSignal(row, context, -1, -1, transaction, FALSE)) return FALSE;
        journal +=
            m_grid.JournalRowText(row, "Add Connection", m_grid.ConnectJournalMethod(), CString(net->name()));
        if (!edit.Owns()) m_grid.ShowHeldSignal(row, CString(net->name()));
    }
    m_strPupdConnTransaction = transaction->toString();
    if (!edit.Commit()) {
        m_strPupdConnTransaction.Empty();
        return FALSE;
    }
    m_grid.WriteJournal(journal);
    return TRUE;
}

// While an edit begun before holds the connections (the automation set-up's, or the pull-up's that
// follows), the grid is not refreshed by a commit: the open pins connected show their signals now (the
// pull-up reads them), and show none again when that edit is discarded.
void CKXInstanceDetailsGridWnd::ShowHeldSignal(ROWCOL row, const CString& signal) {
    kxgrid::GridWriteScope write(*this);
    ApplySignalCellStyle(row, signal, -1, TRUE, TRUE);
    m_heldSignalRows.push_back(row);
}

void CKXInstanceDetailsGridWnd::ForgetHeldSignals() {
    kxgrid::GridWriteScope write(*this);
    for (ROWCOL row : std::exchange(m_heldSignalRows, {}))
        if (row <= GetRowCount()) ApplySignalCellStyle(row, CString(), -1, 1, 1);
}
