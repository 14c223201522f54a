// Differential pairs as connection edits: connecting pair rows to pair nets
// (found by name, or made over their two leg nets), and removing pair pins.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXScriptText.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"

#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <cstdlib>
#include <map>
#include <set>

using kxpingrid::Col;

namespace {

int PairWidth(int msb, int lsb) {
    return msb < 0 ? 1 : std::abs(msb - lsb) + 1;
}

void JoinName(CString& list, const CString& name) {
    if (!list.IsEmpty()) list += ", ";
    list += name;
}

} // namespace

IDPNet* CKXInstanceDetailsGridWnd::EditDiffPair(CString text, int* pFirst, int* pSecond, CString* pBase,
                                                std::map<CString, IDPNet*>* pCache) {
    CString name, base;
    int second = -1, first = -1, flag = 0;
    if (pBase) pBase->Empty();
    if (!CKXGenUtils::ParseDPName(text, name, base, second, first, flag)) return nullptr;
    if (pBase) *pBase = base;
    if (pCache) {
        auto hit = pCache->find(base);
        if (hit != pCache->end() && hit->second) return hit->second;
    }
    IDesign* design = m_designContext.design();
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!design || !transaction) return nullptr;
    IDPNet* pair = design->findDPNet(base.GetString());
    if (!pair) {
        // A pair net is made over its two leg nets, found or made with the pair's bits.
        CString positive, negative;
        if (!CKXGenUtils::GetDiffPairNetNames(base, positive, negative)) return nullptr;
        INet* legs[2] = {nullptr, nullptr};
        const CString legNames[2] = {positive, negative};
        for (int i = 0; i < 2; ++i) {
            legs[i] = design->findNet(legNames[i].GetString());
            if (legs[i]) {
                if (first != -1 && !ChangeNetWidth(legs[i], std::min(first, second), std::max(first, second)))
                    return nullptr;
                continue;
            }
            legs[i] = transaction->createNet(legNames[i].GetString(), static_cast<unsigned>(first),
                                             static_cast<unsigned>(second));
            if (!legs[i]) return nullptr;
            transaction->addNet(legs[i]);
            RecordTransactionNet(legNames[i], legs[i]);
        }
        if (legs[0]->isScalar() != legs[1]->isScalar()) return nullptr;
        pair = transaction->createDPNet(base.GetString(), legs[0], legs[0]->isScalar() ? -1 : -1,
                                        IDPNet::ePositive, legs[1], -1, IDPNet::eNegative, 0);
        if (!pair) return nullptr;
    }
    if (pCache) (*pCache)[base] = pair;
    if (pFirst) *pFirst = first;
    if (pSecond) *pSecond = second;
    return pair;
}

BOOL CKXInstanceDetailsGridWnd::AddConnection(CDWordArray* rows, BOOL bRuleDriven, CString text, int nRule,
                                              BOOL bEcho) {
    if (!rows || rows->GetSize() == 0 || nRule == KX_RULE_PREFIX_PINNUMBER || nRule == KX_RULE_SUFFIX_PINNUMBER)
        return FALSE;
    std::vector<ROWCOL> pairRows;
    std::set<ROWCOL> seen;
    for (INT_PTR i = 0; i < rows->GetSize(); ++i) {
        const ROWCOL row = rows->GetAt(i);
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row) || !IsDiffPairRow(row)) continue;
        if (!GetRowDPInstTerm(row) || !seen.insert(row).second) continue;
        pairRows.push_back(row);
    }
    if (pairRows.empty()) return FALSE;
    if (!text.IsEmpty() && CKXGenUtils::IsNC(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-151", text.GetString());
        return FALSE;
    }
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!transaction) return FALSE;
    CKXRetainScope retain(*this, bRuleDriven ? CString() : text);
    std::map<CString, IDPNet*> cache;
    CString failedNames, widthMismatch;
    BOOL connected = FALSE;
    int counter = 0;
    CString incrementBase;
    std::vector<std::pair<ROWCOL, CString>> journalRows;
    for (std::size_t i = 0; i < pairRows.size(); ++i) {
        const ROWCOL row = pairRows[i];
        IDPInstTerm* pin = GetRowDPInstTerm(row);
        if (!pin) continue;
        CString name = text;
        if (bRuleDriven) {
            if (nRule == KX_RULE_INCREMENT) {
                if (i == 0) {
                    const int comma = text.Find(',');
                    incrementBase = comma >= 0 ? text.Left(comma) : text;
                    counter = std::atoi((comma >= 0 ? text.Mid(comma + 1) : text).GetString());
                } else {
                    ++counter;
                }
                name.Format("%s%d", incrementBase.GetString(), counter);
            } else if (nRule == KX_RULE_AUTONAME) {
                name = text.IsEmpty() ? NewAutoName() : text;
            } else {
                name = NameByRule(GetValueRowCol(row, Col(m_nColPinName)), CString(), text, nRule);
            }
        }
        IDPNet* net = EditDiffPair(name, nullptr, nullptr, nullptr, bRuleDriven ? &cache : nullptr);
        if (!net) {
            JoinName(failedNames, name);
            continue;
        }
        if (PairWidth(pin->msb(), pin->lsb()) != PairWidth(net->msb(), net->lsb())) {
            JoinName(widthMismatch, CKXGenUtils::GetDiffPairName(pin));
            continue;
        }
        if (pin->dpConn() && pin->dpConn()->dpNet() == net) continue;
        // The pair's terminations go with it to the new pair net, or are deleted, as the user answered.
        PairTerminations kept = TakePairTerminations(transaction, row, pin);
        if (pin->dpConn()) RemoveDiffPairConnection(transaction, pin);
        if (!transaction->addDPConn(net, net->msb(), net->lsb(), pin, pin->msb(), pin->lsb(), 0)) {
            JoinName(failedNames, name);
            continue;
        }
        for (const auto& [member, dts] : kept)
            for (IDTInstance* dt : dts)
                if (member->dpConn()) transaction->attachDTInstance(dt, member->dpConn());
        connected = TRUE;
        journalRows.emplace_back(row, CString(net->name()) + KX_DP_MARKER);
    }
    if (!widthMismatch.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-150", widthMismatch.GetString());
    if (!failedNames.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-152", failedNames.GetString());
    if (!connected) return FALSE;
    if (IKXGridSite* site = Site()) site->MarkModified();
    if (bEcho) {
        EchoSelection();
        CTclArgsList list;
        list.Add("addConnection");
        list.Add(text);
        SendEcho(list);
    }
    for (const auto& [row, pairName] : journalRows)
        m_pendingJournal += JournalRowText(row, "Add Connection", "AddConnection", pairName);
    return TRUE;
}

CKXInstanceDetailsGridWnd::PairTerminations
CKXInstanceDetailsGridWnd::TakePairTerminations(CTransaction* transaction, ROWCOL row, IDPInstTerm* pin) {
    PairTerminations found;
    std::vector<IDPInstTerm*> members{pin};
    for (IDPInstTerm* member : pin->beginMember())
        if (member) members.push_back(member);
    for (IDPInstTerm* member : members)
        if (IDPConn* conn = member->dpConn())
            for (IDTInstance* dt : conn->beginAssociatedDTInstance())
                if (dt) found[member].push_back(dt);
    if (found.empty() || KeepsTerminationsOnMove()) return found;
    const CString select = JournalAssocText(row, "SelectTerminationCol", "Delete");
    for (const auto& [member, dts] : found)
        for (IDTInstance* dt : dts)
            transaction->removeDTInstance(dt);
    if (!select.IsEmpty()) {
        KXJournalLines lines(JournalHandle());
        lines.Pane("Delete").End();
        m_pendingJournal += select + lines.Text();
    }
    return {};
}

BOOL CKXInstanceDetailsGridWnd::CanRemoveDiffPair() {
    bool any = false;
    for (ROWCOL row : SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row)) continue;
        if (!IsDiffPairRow(row)) return FALSE;
        if (GetRowDPInstTerm(row)) any = true;
    }
    return any ? TRUE : FALSE;
}

BOOL CKXInstanceDetailsGridWnd::RemoveDiffPair() {
    std::vector<IDPInstTerm*> pins;
    std::vector<ROWCOL> journalRows;
    std::set<IDPInstTerm*> seen;
    for (ROWCOL row : SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row) || !IsDiffPairRow(row)) continue;
        IDPInstTerm* pin = GetRowDPInstTerm(row);
        // A bit of a vector pair stands for the whole pair.
        while (pin && pin->parent())
            pin = pin->parent();
        if (!pin || !seen.insert(pin).second) continue;
        bool connected = pin->dpConn() != nullptr;
        for (IDPInstTerm* member : pin->beginMember())
            if (member && member->dpConn()) connected = true;
        if (connected) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-155", CKXGenUtils::GetDiffPairName(pin).GetString());
            return FALSE;
        }
        pins.push_back(pin);
        journalRows.push_back(row);
    }
    if (pins.empty()) return FALSE;
    CString journal;
    for (ROWCOL row : journalRows)
        journal += JournalRowText(row, "Remove DiffPair Pin", "RemoveDiffPairPin", CString(), false);
    CKXPinConnEdit edit(*this, m_designContext, "Remove Differential Pair");
    if (!edit) return FALSE;
    for (IDPInstTerm* pin : pins)
        if (!edit.Transaction()->removeDPInstTerm(pin, 0)) return FALSE;
    if (!edit.Commit()) return FALSE;
    WriteJournal(journal);
    return TRUE;
}
