// Disconnecting pin rows: one row inside an open edit (a cleared signal cell, a
// connect that moves a pin) and the grid's Delete of every selected pin's
// connections, with the terminations on the parted bits.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPairEdits.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "grid/KXScriptWords.h"

#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXDiffPairLegs.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXRefusalCauses.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <set>
#include <utility>

using kxpingrid::Col;

namespace {

// Sets a flag for a scope and puts back its old value after it.
class BoolScope {
public:
    BoolScope(bool& flag, bool value) : m_flag(flag), m_old(std::exchange(flag, value)) {}
    ~BoolScope() { m_flag = m_old; }
    BoolScope(const BoolScope&) = delete;
    BoolScope& operator=(const BoolScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

int KXPinGridDisconnect::DisconnectPinRow(ROWCOL* pRow, int* pRemovedRows, BOOL bReapplySelection) {
    if (!pRow) return 0;
    const ROWCOL row = *pRow;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    if (!pin) {
        // An implicit power pin is released by the power assignment that follows.
        if (!m_grid.IsImplicitPowerPinRow(row, nullptr)) return 0;
        m_grid.StoreImplicitPinSignal(row, CString());
        return 1;
    }
    if (!transaction) return 0;
    // Bit by bit over the row's bits: a bit row parts only its own bit of a wider connection.
    bool removed = false;
    const int step = msb >= lsb ? -1 : 1;
    for (int b = msb;; b += step) {
        const CNetBit netBit = pin->netBit(b);
        if (netBit.net()) {
            const auto nb = static_cast<unsigned>(netBit.bit());
            const auto pb = static_cast<unsigned>(b);
            if (transaction->removeConn(netBit.net(), nb, nb, pin, pb, pb, 0)) removed = true;
        }
        if (b == lsb) break;
    }
    if (!removed) return 0;
    const bool termsDeleted = !m_grid.m_retain->KeepsTerminationsOnDisconnect();
    if (termsDeleted) DeleteTerminationsOnPinBits(transaction, pin, msb, lsb);
    const bool wholePin = pin->isScalar() || (std::max(msb, lsb) == std::max(pin->msb(), pin->lsb()) &&
                                              std::min(msb, lsb) == std::min(pin->msb(), pin->lsb()));
    RestyleDisconnectedRow(pRow, pRemovedRows, bReapplySelection && !wholePin, termsDeleted);
    if (IKXGridSite* site = m_grid.Site()) site->MarkModified();
    return 1;
}

// The cells of a row whose pin was just disconnected, until the refresh after the commit: no
// signal, no pull-up, and no termination when the terminations went with the connection.
void KXPinGridDisconnect::RestyleDisconnectedRow(ROWCOL* pRow, int* pRemovedRows, bool reapplyGroup,
                                                 bool termsDeleted) {
    const int guard = std::exchange(m_grid.m_bValidateSignalCell, 0);
    if (reapplyGroup)
        ApplySignalNamesToSelection(pRow, pRemovedRows);
    else
        m_grid.m_signalCells->ResetNoValueCell(*pRow, FALSE);
    {
        kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
        m_grid.ApplySignalCellStyle(*pRow, CString(), -1, 1, TRUE);
        if (termsDeleted)
            m_grid.SetStyleRange(CGXRange(*pRow, Col(m_grid.m_nColTermination)), kxpingrid::EmptyStaticCell(),
                                 gxOverride, 0, kxpingrid::kNoUpdate, gxDo);
    }
    m_grid.m_pupdColumn->SetPupdCellStyle(*pRow, false, false, false, false);
    m_grid.m_bValidateSignalCell = guard;
}

// The two legs of a one-bit pair without a pair connection, parted from their nets one by one.
bool KXPinGridDisconnect::RemoveLegConnections(CTransaction* transaction, const IDPInstTerm* pair,
                                               bool deleteTerms) {
    bool removed = false;
    const std::pair<IInstTerm*, int> legs[2] = {{pair->positive(), pair->positiveBit()},
                                                {pair->negative(), pair->negativeBit()}};
    for (const auto& [leg, bit] : legs) {
        if (!leg || !leg->netBit(bit).net()) continue;
        if (deleteTerms) DeleteTerminationsOnPinBits(transaction, leg, bit, bit);
        m_grid.m_pairEdits->RemoveConnection(transaction, CInstTermBit(leg, bit));
        removed = true;
    }
    return removed;
}

BOOL KXPinGridDisconnect::RemoveDPConnection(ROWCOL row) {
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    IDPInstTerm* pair = m_grid.GetRowDPInstTerm(row);
    if (!transaction || !pair) return FALSE;
    const bool deleteTerms = !m_grid.m_retain->KeepsTerminationsOnDisconnect();
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    // A lane of a vector pair leaves its pair's connection; the other lanes stay on the pair net.
    bool removed = KXPartLaneFromPairConnection(*transaction, api, pair, deleteTerms);
    if (pair->dpConn()) {
        removed = KXRemovePairConnection(*transaction, api, pair, deleteTerms) || removed;
    } else {
        // No pair connection: each bit's pair connection, else the ordinary connections of its legs.
        std::vector<IDPInstTerm*> bits;
        for (IDPInstTerm* member : pair->beginMember())
            if (member) bits.push_back(member);
        if (bits.empty()) bits.push_back(pair);
        for (IDPInstTerm* bit : bits) {
            if (bit->dpConn()) {
                if (KXRemovePairConnection(*transaction, api, bit, deleteTerms)) removed = true;
            } else if (RemoveLegConnections(transaction, bit, deleteTerms)) {
                removed = true;
            }
        }
    }
    if (!removed) return FALSE;
    if (IKXGridSite* site = m_grid.Site()) site->MarkModified();
    return TRUE;
}

// Delete is offered where the current cell's column has something of the selected pins' to take off: a
// connection (the Signal column, and rows selected without a current cell), a termination a pin may have,
// a pull-up/pull-down of the pins' own net bits, a custom property's value.
BOOL CKXInstanceDetailsGridWnd::CanDelete() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const bool current = GetCurrentCell(row, col) != FALSE;
    bool anyRow = false;
    for (ROWCOL r : SelectedPinRows())
        anyRow = anyRow || (r >= PIN_FIRST_ROW && r <= GetRowCount());
    if (!anyRow) return FALSE;
    const int c = current ? static_cast<int>(col) : m_nColSignal;
    if (c == m_nColSignal) return TRUE;
    if (c == m_nColTermination) return CanAddTermination();
    if (c == m_nColPupd) return HasPupdOnSelectedNets();
    return IsCurrentColumnCustom();
}

// What the current cell's column lacks when Delete has nothing to take off there.
const char* CKXInstanceDetailsGridWnd::NothingToDeleteCause() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || static_cast<int>(col) == m_nColSignal) return KXCause::kNoConnection;
    if (static_cast<int>(col) == m_nColTermination) return KXCause::kNoTermination;
    if (static_cast<int>(col) == m_nColPupd) return KXCause::kNoPupd;
    return "KXTABLE-480";
}

// What Delete removes is named by the current cell's column: the connection, the termination, the
// pull-up/pull-down or a custom property's value. Any other column (a pin's name, number, type or
// comment) has nothing that Delete removes: the command is left as it is. Rows selected without a
// current cell (a selection made by keys, selectObject) lose their connections.
// A connection's delete names each selected pin, as copy names them: the command, run again, finds
// the same pins whatever the grids' selection is then, and the commands of side-by-side grids join
// into one.
void CKXInstanceDetailsGridWnd::GetDeleteScriptCommand(CString& command) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const bool current = GetCurrentCell(row, col) != FALSE;
    if (!current && !CanDelete()) return;
    const int c = current ? static_cast<int>(col) : m_nColSignal;
    if (c == m_nColSignal) {
        command = CString(KXScriptWord::deleteConnection) + " pin";
        std::vector<ROWCOL> rows = SelectedPinRows();
        if (rows.empty() && current) rows.push_back(row);
        const ROWCOL rowCount = GetRowCount();
        for (ROWCOL r : rows) {
            if (r < PIN_FIRST_ROW || r > rowCount || IsRowHidden(r)) continue;
            const CString pin = GetValueRowCol(r, Col(m_nColPinName));
            if (pin.IsEmpty()) continue;
            const CString number = GetValueRowCol(r, Col(m_nColPinNumber));
            CString item;
            if (number.IsEmpty()) // a pin without a package number is found by its name
                item.Format(" %s", KXTclListElement(pin).GetString());
            else
                item.Format(" [list %s %s %s]", KXTclListElement(GetValueRowCol(r, Col(m_nColInstance))).GetString(),
                            KXTclListElement(pin).GetString(), KXTclQuote(number).GetString());
            command += item;
        }
    } else if (c == m_nColTermination) {
        command = CString(KXScriptWord::deleteTermination) + " pin";
    } else if (c == m_nColPupd) {
        command = CString(KXScriptWord::deletePupd) + " pin";
    } else if (c >= 0 && static_cast<std::size_t>(c) < m_arrColumnInfo.size() &&
               m_arrColumnInfo[static_cast<std::size_t>(c)]->m_nPropertyType != 0) {
        command.Format(
            "%s pin -col %s -val \"\"", KXScriptWord::changeCustomColumn,
            KXTclQuote(m_arrColumnInfo[static_cast<std::size_t>(c)]->m_strPropertyName).GetString());
    }
}

bool KXPinGridDisconnect::IsLegOfSelectedPair(ROWCOL row, const std::vector<ROWCOL>& selected) {
    if (std::find(selected.begin(), selected.end(), row) != selected.end()) return false;
    CString base;
    int msb = -1, lsb = -1;
    if (m_grid.GetRowKind(row, base, msb, lsb) != PIN_ROW_DIFFPAIR_LEG) return false;
    // A lane's legs hang below the lane's row, which hangs below the vector pair's row.
    for (ROWCOL parent = m_grid.GetRowParentOffset(row); parent != GX_INVALID;
         parent = m_grid.GetRowParentOffset(parent))
        if (std::find(selected.begin(), selected.end(), parent) != selected.end()) return true;
    return false;
}

// A replayed Delete drops the row's terminations unless told to keep them, each row's Delete for
// itself (the answer holds for one connect or delete).
CString KXPinGridDisconnect::JournalDeleteRowText(ROWCOL row, bool keepsTerminations) {
    CString text;
    if (keepsTerminations && KXJournalLines::IsRecording()) {
        KXJournalLines answer(m_grid.JournalHandle());
        answer.Pane("RetainTermination", {"1"}).End();
        text = answer.Text();
    }
    return text + m_grid.JournalRowText(row, "Delete", "Delete", CString(), false);
}

// The Delete of several rows replays as one: their pins selected together by their keys (as the
// delete word names them), then one Delete, so that the replay makes the one undo step the user made.
// The first row's Signal cell is made current first: Delete takes off what the current cell's column
// holds, and a replay's current cell may be in the Termination or Pull Up/Down column of an earlier line.
CString KXPinGridDisconnect::JournalDeleteRowsText(const std::vector<ROWCOL>& rows, bool keepsTerminations) {
    if (rows.size() == 1) return JournalDeleteRowText(rows.front(), keepsTerminations);
    if (rows.empty() || !KXJournalLines::IsRecording()) return CString();
    KXJournalLines lines(m_grid.JournalHandle());
    if (keepsTerminations) lines.Pane("RetainTermination", {"1"}).End();
    std::vector<CString> keys;
    keys.reserve(rows.size());
    for (ROWCOL row : rows) {
        const CString pin = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName));
        const CString number = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber));
        const CString instance = m_grid.GetValueRowCol(row, Col(m_grid.m_nColInstance));
        keys.push_back(number.IsEmpty() ? instance + ":" + pin : instance + ":" + pin + ":" + number);
    }
    m_grid.JournalAssocSelect(lines, rows.front(), "SelectSignalCol");
    lines.PaneWithList("CtrSelect", keys, {CString()}).Comment("Delete").Pane("Delete").End();
    return lines.Text();
}

BOOL CKXInstanceDetailsGridWnd::DeleteConnections() {
    // A journal's answer (a swap that left a pin free and its terminations on it) is for this delete
    // alone.
    const bool keepTerminations = std::exchange(KXPinGridRetain::m_nTerminationRetainAnswer, -1) == 1;
    const BoolScope keepScope(m_disconnect->m_bDeleteKeepsTerminations, keepTerminations);
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    BOOL changed = FALSE;
    std::vector<ROWCOL> changedRows; // journalled one by one: each replays as its own selection and delete
    std::vector<ROWCOL> powerRows;
    CString journal;
    if (!selected.empty() || !targets.empty()) {
        CKXPinConnEdit edit(*this, m_designContext2, "Remove Conn");
        if (!edit) return FALSE;
        {
            kxpingrid::ProgressScope progress("Deleting Connections", static_cast<int>(selected.size()));
            kxpingrid::UpdateLockScope lock(*this);
            int removedRows = 0;
            for (std::size_t k = 0; k < targets.size(); ++k) {
                progress.Step("Deleting Connections: %d%% of %d deleted", static_cast<int>(k));
                ROWCOL row = targets[k];
                if (row < PIN_FIRST_ROW || IsDiffPairRow(row)) continue;
                if (IsRowHidden(row) && !IsPowerPinChildRow(row)) continue;
                // A leg that came in with its selected pair goes with the pair below: whether the
                // pair's rows are unfolded or not, Delete takes the pair connection alone.
                if (m_disconnect->IsLegOfSelectedPair(row, selected)) continue;
                if (!m_disconnect->DisconnectPinRow(&row, &removedRows, TRUE)) continue;
                // An implicit power pin's row changes only when the power assignment below releases it.
                if (IsImplicitPowerPinRow(row, nullptr)) {
                    powerRows.push_back(row);
                    continue;
                }
                changed = TRUE;
                changedRows.push_back(row);
            }
            // Pairs once each: a pair's leg rows selected with it are not handled again.
            std::set<ROWCOL> handledLegs;
            for (ROWCOL row : selected) {
                if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row) || !IsDiffPairRow(row) ||
                    handledLegs.count(row))
                    continue;
                if (!m_disconnect->RemoveDPConnection(row)) continue;
                changed = TRUE;
                changedRows.push_back(row);
                std::list<int> children;
                GetChildRows(row, children, -1);
                for (int c : children)
                    handledLegs.insert(static_cast<ROWCOL>(c));
            }
            const BOOL power = AssignPowerToImplicitPins();
            if (power == kPowerTieRefused) return FALSE; // the edit is discarded whole
            if (power) {
                changed = TRUE;
                changedRows.insert(changedRows.end(), powerRows.begin(), powerRows.end());
            }
            // Every row was gone through: the line counts the rows that lost something (a power row whose
            // pins had no tie of the component's own to release is none), or says that none did.
            CString done = "Deleting Connections: no connection to delete";
            if (changed)
                done.Format("Deleting Connections: %d of %d deleted", static_cast<int>(changedRows.size()),
                            static_cast<int>(selected.size()));
            progress.FinishWith(done);
        }
        journal = m_disconnect->JournalDeleteRowsText(changedRows, keepTerminations);
        if (changed && !edit.Commit()) changed = FALSE;
    }
    if (changed) WriteJournal(journal);
    return changed;
}
