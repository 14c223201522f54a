// Operations on differential-pair rows: selection and name tests, the check
// that keeps pair signals on pair pins, the replace question, and removing
// pair connections and pair terminations.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPairEdits.h"

#include "grid/KXDiffPairLegs.h"
#include "grid/KXGridEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "afx/afxwin.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <cstring>

namespace {

constexpr UINT kSetMessageString = 0x0362;
const char* const kReplaceSetting = "ccp_diffpair_replace_conn_msg";

void StatusText(const char* text) {
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(kSetMessageString, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

BOOL CKXInstanceDetailsGridWnd::IsDiffPairRowSelected() {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (IsDiffPairRow(rows[i])) return TRUE;
    return FALSE;
}

BOOL KXPinGridPairEdits::IsSameDiffPairName(const CString& nameA, const CString& nameB) {
    CString a, baseA, b, baseB;
    int firstA = 0, secondA = 0, flagA = 0, firstB = 0, secondB = 0, flagB = 0;
    if (!CKXGenUtils::ParseDPName(nameA, a, baseA, secondA, firstA, flagA)) return FALSE;
    if (!CKXGenUtils::ParseDPName(nameB, b, baseB, secondB, firstB, flagB)) return FALSE;
    return baseA == baseB;
}

BOOL KXPinGridPairEdits::CheckDiffPairConnect(const CDWordArray& rows, const char* signalText) {
    const bool pairSignal = signalText && *signalText && std::strstr(signalText, " (Differential Pair)");
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const ROWCOL row = rows[i];
        if (m_grid.IsRowHidden(row)) continue;
        if (pairSignal) {
            CString base;
            int msb = -1, lsb = -1;
            const PinRowKind kind = m_grid.GetRowKind(row, base, msb, lsb);
            if (kind != PIN_ROW_DIFFPAIR && kind != PIN_ROW_VECTOR_DIFFPAIR &&
                kind != PIN_ROW_DIFFPAIR_CHILD) {
                StatusText("Cannot connect differential-pair signal to non differntial-pair pin");
                return FALSE;
            }
        } else if (m_grid.IsDiffPairRow(row)) {
            StatusText("Cannot connect non differential-pair signal to differntial-pair pin");
            return FALSE;
        }
    }
    StatusText(nullptr);
    return TRUE;
}

BOOL KXPinGridPairEdits::ConfirmDiffPairReplace(const CNetBit& connected, const CString& newName) {
    // The pair net that already uses the connected bit.
    const IDPNet* existing = nullptr;
    if (INet* net = connected.net()) {
        for (IDPNet* pair : net->beginDPNet()) {
            if (!pair) continue;
            const bool positive =
                pair->positive() == net && (pair->positiveBit() == connected.bit() || pair->msb() != -1);
            const bool negative =
                pair->negative() == net && (pair->negativeBit() == connected.bit() || pair->msb() != -1);
            if (positive || negative) {
                existing = pair;
                break;
            }
        }
    }
    if (!existing) return TRUE;
    const CString existingName = existing->name();
    if (existingName == newName) return TRUE;

    int dontAsk = 0;
    if (CKXRegistrySettings::OpenRegistryKey())
        if (!CKXRegistrySettings::GetFromRegistry(kReplaceSetting, dontAsk)) dontAsk = 0;
    CKXRegistrySettings::CloseRegistryKey();
    if (CKXShareGlobalData::m_bReplay || dontAsk) return TRUE;

    CString message;
    message.Format(
        "The differential pair \"%s\" will not be renamed and a new differential pair \"%s\" will be "
        "created instead. \nIf you want to rename the differential pair click No, select it in the "
        "Signal List pane, and then choose Object > Change > Name. \n\nDo you want to continue?",
        existingName.GetString(), newName.GetString());
    CKXDontAskAgainYesNoDlg dlg(message, nullptr);
    const int answer = dlg.DoModal();
    if ((dlg.GetDontAskAgain() ? 1 : 0) != (dontAsk ? 1 : 0)) {
        if (CKXRegistrySettings::OpenRegistryKey())
            CKXRegistrySettings::SetToRegistry(kReplaceSetting, dlg.GetDontAskAgain() ? 1 : 0);
        CKXRegistrySettings::CloseRegistryKey();
    }
    // Both a No and a closed dialog stop.
    return answer == IDNO || answer == IDCANCEL ? FALSE : TRUE;
}

BOOL KXPinGridPairEdits::RemoveDiffPairConnection(CTransaction* transaction, IDPInstTerm* dpPin) {
    return transaction && KXRemovePairConn(*transaction, dpPin) ? TRUE : FALSE;
}

void KXPinGridPairEdits::RemoveConnection(CTransaction* transaction, const CInstTermBit& connection) {
    if (!transaction || !connection) return;
    const CNetBit netBit = connection.netbitOuter();
    if (!netBit.net()) return;
    const auto nb = static_cast<unsigned>(netBit.bit());
    const auto pb = static_cast<unsigned>(connection.bit());
    transaction->removeConn(netBit.net(), nb, nb, connection.instTerm(), pb, pb, 0);
}

CKXAssocCompAPI* CKXInstanceDetailsGridWnd::GetAssocCompAPI() {
    if (!m_pAssocCompAPI) {
        m_pAssocCompAPI = std::make_unique<CKXAssocCompAPI>();
        m_pAssocCompAPI->setServer(CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer
                                                                 : m_designContext.server());
    }
    m_pAssocCompAPI->setDesignContext(m_designContext);
    return m_pAssocCompAPI.get();
}

bool KXPinGridPairEdits::DeleteTerminationOnDiffPair(IDPInstTerm* dpPin) {
    if (!dpPin) return false;
    CKXGridEdit::DiscardWaiting(); // an edit held open for another command does not take this one in
    const bool opened = !CKXTransaction::IsTransactionStarted();
    if (opened) {
        m_grid.m_nTransState = 1;
        if (!CKXTransaction::BeginTrans(&m_grid, m_grid.m_designContext, "Delete Termination")) {
            m_grid.m_nTransState = 0;
            return false;
        }
    }
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    const bool ok = transaction && KXDeletePairTermination(*transaction, *m_grid.GetAssocCompAPI(), dpPin);
    if (opened) {
        m_grid.m_nTransState = 0;
        if (ok) {
            if (!m_grid.m_bDeferCommit) m_grid.CommitOwnTransaction(1, 1);
        } else if (!m_grid.m_bDeferCommit) {
            m_grid.m_nTransState = -1;
            CKXTransaction::DiscardTrans(&m_grid);
        }
    }
    return ok;
}

void KXPinGridPairEdits::DeleteDiffPairTerminations(IDPInstTerm* dpPin) {
    if (!dpPin) return;
    for (IDPInstTerm* site : KXPairTerminationSites(dpPin))
        DeleteTerminationOnDiffPair(site);
}

IInstTerm* CKXInstanceDetailsGridWnd::GetDiffPairFirstLegPin(IDPInstTerm* dpPin) {
    if (!dpPin) return nullptr;
    for (IDPInstTerm* member : dpPin->beginMember())
        if (member) return member->positive();
    return dpPin->positive();
}

IInstTerm* CKXInstanceDetailsGridWnd::GetDiffPairSecondLegPin(IDPInstTerm* dpPin) {
    if (!dpPin) return nullptr;
    for (IDPInstTerm* member : dpPin->beginMember())
        if (member) return member->negative();
    return dpPin->negative();
}
