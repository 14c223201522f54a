// Before the selected pins change their signal: whether to ask the user if the
// terminations on the pins and the pull-ups/pull-downs on their present nets
// are to stay. The question is put only when something would be lost.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"

#include <set>

using kxpingrid::PairTerms;

KXPinGridRetain::KXPinGridRetain(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

KXPinGridRetain::~KXPinGridRetain() = default;

void KXPinGridRetain::SetRetainQuestion(std::unique_ptr<CKXRetainAssocCompDlg> question) {
    m_pRetainQuestion = std::move(question);
}

bool KXPinGridRetain::RowCarriesTermination(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    if (!pin) return false;
    CKXAssocCompAPI* api = m_grid.GetAssocCompAPI();
    for (int bit = lsb; bit <= msb; ++bit) {
        api->setInstTermBit(pin->bit(bit));
        if (api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return true;
    }
    return false;
}

bool KXPinGridRetain::NetBitCarriesPupd(INet* net, int bit, std::set<std::pair<unsigned, int>>& asked) {
    if (!net || !asked.insert({net->id(), bit}).second) return false;
    CKXAssocCompAPI* api = m_grid.GetAssocCompAPI();
    api->setNetBit(CNetBit(net, bit));
    bool lu = false, ld = false, au = false, ad = false;
    api->GetPupdInfoOnThisNet(m_grid.m_designContext.net(net).bitContext(bit), lu, ld, au, ad);
    return lu || ld || au || ad;
}

bool KXPinGridRetain::RowNetCarriesPupd(ROWCOL row, std::set<std::pair<unsigned, int>>& asked) {
    int msb = -1, lsb = -1;
    INet* net = m_grid.GetRowNet(row, msb, lsb);
    if (!net) return false;
    for (int bit = std::min(msb, lsb); bit <= std::max(msb, lsb); ++bit)
        if (NetBitCarriesPupd(net, bit, asked)) return true;
    return false;
}

// A pair pin's legs leave their leg nets when the pair moves: their pull-ups are asked about too.
bool KXPinGridRetain::PairLegNetsCarryPupd(const IDPInstTerm* pin,
                                           std::set<std::pair<unsigned, int>>& asked) {
    for (const CKXInstanceDetailsGridWnd::LegMove& leg :
         CKXInstanceDetailsGridWnd::PairLegMoves(pin, nullptr))
        for (const auto& [pinBit, old] : leg.moved)
            if (NetBitCarriesPupd(old.net(), old.bit(), asked)) return true;
    return false;
}

void KXPinGridRetain::RetainAssocComponents(int column, CString newSignal,
                                            const std::vector<ROWCOL>* targets) {
    (void)column;
    m_bAskRetain = m_pRetainQuestion && m_pRetainQuestion->DontAskToRetainAssocComp() ? 0 : 1;
    if (CKXShareGlobalData::m_bReplay) m_bAskRetain = 0;
    if (!m_bAskRetain) return;
    if (!newSignal.IsEmpty() && CKXGenUtils::IsNC(newSignal)) {
        m_bAskRetain = 0;
        return;
    }
    const std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    std::vector<ROWCOL> collected;
    if (!targets) {
        m_grid.CollectTargetRows(selected, collected, FALSE, -1, -1);
        targets = &collected;
    }
    m_grid.GetAssocCompAPI()->setDesignContext(m_grid.MasterDesign());
    bool found = false;
    std::set<std::pair<unsigned, int>> asked; // net bits whose pull-ups were asked in this call
    for (ROWCOL row : *targets) {
        if (m_grid.IsDiffPairRow(row)) continue;
        if (RowCarriesTermination(row)) found = true;
        if (RowNetCarriesPupd(row, asked)) return; // keep the question
    }
    CKXAssocCompAPI* api = m_grid.GetAssocCompAPI();
    for (ROWCOL row : selected) {
        if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || !m_grid.IsDiffPairRow(row)) continue;
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row))) {
            api->setDPInstTermBit(term);
            if (api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return;
        }
        if (PairLegNetsCarryPupd(m_grid.GetRowDPInstTerm(row), asked)) return;
        if (found) return;
    }
    if (!found) m_bAskRetain = 0;
}
