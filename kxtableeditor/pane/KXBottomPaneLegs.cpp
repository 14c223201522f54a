// Differential-pair legs connected together: with the project option "auto_connect_dpleg" on
// (section GRIDWORKSHOP), a connection the pane's grids make from one leg of a pair pin to one leg
// of a pair net brings the other leg of the pin to the other leg of the net, in the same transaction.
#include "pane/KXBottomPaneContainerView.h"

#include "grid/KXProjectReader.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace {

constexpr int kOptionStyleOn = 1; // "on" answers TRUE

bool AutoConnectLegsOn() {
    CKXProjectReader reader;
    BOOL on = FALSE;
    if (reader.ProjectFindProgram("GRIDWORKSHOP") != KXPROJ_OK) return false;
    return reader.ProjectGetBoolDirective("auto_connect_dpleg", on, kOptionStyleOn) == KXPROJ_OK && on;
}

// One connection still to make: a pin bit to a net bit.
struct LegConnection {
    INet* net;
    int netBit;
    IInstTerm* pin;
    int pinBit;
    bool operator<(const LegConnection& o) const {
        return std::tie(net, netBit, pin, pinBit) < std::tie(o.net, o.netBit, o.pin, o.pinBit);
    }
};

// The other leg of a pair pin for a pin bit that is one of its legs; false when it is neither.
bool OtherPinLeg(const IDPInstTerm* pair, const IInstTerm* pin, int bit, IInstTerm*& other, int& otherBit) {
    if (pair->positive() == pin && pair->positiveBit() == bit) {
        other = pair->negative(), otherBit = pair->negativeBit();
        return true;
    }
    if (pair->negative() == pin && pair->negativeBit() == bit) {
        other = pair->positive(), otherBit = pair->positiveBit();
        return true;
    }
    return false;
}

// The other leg of a pair net for a net bit that is one of its legs; a pair of two whole buses pairs
// their bits of the same number.
bool OtherNetLeg(const IDPNet* pair, const INet* net, int bit, INet*& other, int& otherBit) {
    const bool wholeBuses = pair->msb() != -1 || pair->lsb() != -1;
    if (pair->positive() == net && (wholeBuses || pair->positiveBit() == bit)) {
        other = pair->negative(), otherBit = wholeBuses ? bit : pair->negativeBit();
        return true;
    }
    if (pair->negative() == net && (wholeBuses || pair->negativeBit() == bit)) {
        other = pair->positive(), otherBit = wholeBuses ? bit : pair->positiveBit();
        return true;
    }
    return false;
}

// The other legs of one pin bit just connected to one net bit.
void CollectLegs(IInstTerm* pin, int pinBit, INet* net, int netBit, std::set<LegConnection>& out) {
    for (IDPInstTerm* pair : pin->beginDPInstTerm()) {
        IInstTerm* otherPin = nullptr;
        int otherPinBit = -1;
        if (!pair || pair->dpConn() || !OtherPinLeg(pair, pin, pinBit, otherPin, otherPinBit) || !otherPin) continue;
        if (otherPin->netBit(otherPinBit).net()) continue; // the other leg is connected already
        for (IDPNet* pairNet : net->beginDPNet()) {
            INet* otherNet = nullptr;
            int otherNetBit = -1;
            if (pairNet && OtherNetLeg(pairNet, net, netBit, otherNet, otherNetBit) && otherNet) {
                out.insert({otherNet, otherNetBit, otherPin, otherPinBit});
                break;
            }
        }
    }
}

} // namespace

bool CKXBottomPaneContainerView::AutoConnectDiffPairLegs(CTransaction& transaction) {
    if (!AutoConnectLegsOn()) return false;
    std::set<LegConnection> legs;
    for (IChange* change : transaction.beginChange()) {
        if (!change || change->objectType() != 'C' || change->kind() != 1 || !change->object()) continue;
        const auto* conn = static_cast<const CConn*>(change->object());
        IInstTerm* pin = conn->instTerm();
        INet* net = conn->net();
        if (!pin || !net) continue;
        // Pin bits in order with the net bits they got: both ranges run the same way or opposite.
        const int pinStep = conn->instTermLsb() >= conn->instTermMsb() ? 1 : -1;
        const int netStep = conn->netLsb() >= conn->netMsb() ? 1 : -1;
        const int width = std::abs(conn->instTermLsb() - conn->instTermMsb()) + 1;
        for (int i = 0; i < width; ++i)
            CollectLegs(pin, conn->instTermMsb() + i * pinStep, net, conn->netMsb() + i * netStep, legs);
    }
    bool added = false;
    for (const LegConnection& leg : legs)
        added = transaction.addConn(leg.net, static_cast<unsigned>(leg.netBit), static_cast<unsigned>(leg.netBit),
                                    leg.pin, static_cast<unsigned>(leg.pinBit), static_cast<unsigned>(leg.pinBit)) ||
                added;
    return added;
}

// A commit of the pane's own grids may bring the pair legs along; the transaction is committed again
// with them, so that they are part of the same step.
void CKXBottomPaneContainerView::FollowPairLegs(CTransaction& transaction) {
    if (m_bConnectingLegs || GetUndoMode()) return;
    CGXGridCore* grid = CKXTransaction::GetGrid();
    const bool ours = grid == PaneGrid() ||
                      std::any_of(m_grids.begin(), m_grids.end(),
                                  [grid](const std::unique_ptr<CKXGridWnd>& g) { return g.get() == grid; });
    if (!ours) return;
    m_bConnectingLegs = TRUE;
    if (AutoConnectDiffPairLegs(transaction)) transaction.commit();
    m_bConnectingLegs = FALSE;
}
