// Before the selected pins change their signal: whether to ask the user if the
// terminations on the pins and the pull-ups/pull-downs on their present nets
// are to stay. The question is put only when something would be lost.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"

#include <set>

using kxpingrid::PairTerms;

void CKXInstanceDetailsGridWnd::SetRetainQuestion(std::unique_ptr<CKXRetainAssocCompDlg> question) {
    m_pRetainQuestion = std::move(question);
}

bool CKXInstanceDetailsGridWnd::RowCarriesTermination(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (!pin) return false;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    for (int bit = lsb; bit <= msb; ++bit) {
        api->setInstTermBit(pin->bit(bit));
        if (api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return true;
    }
    return false;
}

bool CKXInstanceDetailsGridWnd::NetBitCarriesPupd(INet* net, int bit, std::set<std::pair<unsigned, int>>& asked) {
    if (!net || !asked.insert({net->id(), bit}).second) return false;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    api->setNetBit(CNetBit(net, bit));
    bool lu = false, ld = false, au = false, ad = false;
    api->GetPupdInfoOnThisNet(m_designContext.net(net).bitContext(bit), lu, ld, au, ad);
    return lu || ld || au || ad;
}

bool CKXInstanceDetailsGridWnd::RowNetCarriesPupd(ROWCOL row, std::set<std::pair<unsigned, int>>& asked) {
    int msb = -1, lsb = -1;
    INet* net = GetRowNet(row, msb, lsb);
    if (!net) return false;
    for (int bit = std::min(msb, lsb); bit <= std::max(msb, lsb); ++bit)
        if (NetBitCarriesPupd(net, bit, asked)) return true;
    return false;
}

// A pair pin's legs leave their leg nets when the pair moves: their pull-ups are asked about too.
bool CKXInstanceDetailsGridWnd::PairLegNetsCarryPupd(const IDPInstTerm* pin,
                                                     std::set<std::pair<unsigned, int>>& asked) {
    for (const LegMove& leg : PairLegMoves(pin, nullptr))
        for (const auto& [pinBit, old] : leg.moved)
            if (NetBitCarriesPupd(old.net(), old.bit(), asked)) return true;
    return false;
}

void CKXInstanceDetailsGridWnd::RetainAssocComponents(int column, CString newSignal,
                                                       const std::vector<ROWCOL>* targets) {
    (void)column;
    m_bAskRetain = m_pRetainQuestion && m_pRetainQuestion->DontAskToRetainAssocComp() ? 0 : 1;
    if (CKXShareGlobalData::m_bReplay) m_bAskRetain = 0;
    if (!m_bAskRetain) return;
    if (!newSignal.IsEmpty() && CKXGenUtils::IsNC(newSignal)) {
        m_bAskRetain = 0;
        return;
    }
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> collected;
    if (!targets) {
        CollectTargetRows(selected, collected, FALSE, -1, -1);
        targets = &collected;
    }
    GetAssocCompAPI()->setDesignContext(MasterDesign());
    bool found = false;
    std::set<std::pair<unsigned, int>> asked; // net bits whose pull-ups were asked in this call
    for (ROWCOL row : *targets) {
        if (IsDiffPairRow(row)) continue;
        if (RowCarriesTermination(row)) found = true;
        if (RowNetCarriesPupd(row, asked)) return; // keep the question
    }
    CKXAssocCompAPI* api = GetAssocCompAPI();
    for (ROWCOL row : selected) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || !IsDiffPairRow(row)) continue;
        for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
            api->setDPInstTermBit(term);
            if (api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return;
        }
        if (PairLegNetsCarryPupd(GetRowDPInstTerm(row), asked)) return;
        if (found) return;
    }
    if (!found) m_bAskRetain = 0;
}
