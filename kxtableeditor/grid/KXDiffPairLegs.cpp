#include "grid/KXDiffPairLegs.h"

#include "grid/KXProjectReader.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXAutoConnectDpLeg.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBoolOnOff = 1;

// The option is an on/off switch: "on" in any case turns it on, every other word leaves it off, so a
// project file means the same to every program that reads it.
bool ProjectAsksForLegs() {
    CKXProjectReader reader;
    if (reader.ProjectFindProgram("GRIDWORKSHOP") != KXPROJ_OK) return false;
    BOOL on = FALSE;
    return reader.ProjectGetBoolDirective("auto_connect_dpleg", on, kBoolOnOff) == KXPROJ_OK && on;
}

} // namespace

// A replay connects the legs its journal says the session connected, whatever its own project says; a
// session's journal says it whenever the project's word changes.
bool KXAutoConnectDpLegAsked() {
    if (CKXShareGlobalData::m_bReplay && KXReplayedAutoConnectDpLeg() >= 0) return KXReplayedAutoConnectDpLeg() == 1;
    const bool on = ProjectAsksForLegs();
    KXNoteAutoConnectDpLeg(on ? TRUE : FALSE);
    return on;
}

CNetBit KXPairedNetBit(const CNetBit& bit) {
    const INet* net = bit.net();
    if (!net) return CNetBit();
    for (IDPNet* pair : net->beginDPNet()) {
        // A pair of whole buses pairs bit for bit; a pair of two bits names them.
        const bool positive = pair->positive() == net && (pair->positiveBit() < 0 || pair->positiveBit() == bit.bit());
        const bool negative = pair->negative() == net && (pair->negativeBit() < 0 || pair->negativeBit() == bit.bit());
        if (positive && pair->negative())
            return CNetBit(pair->negative(), pair->negativeBit() < 0 ? bit.bit() : pair->negativeBit());
        if (negative && pair->positive())
            return CNetBit(pair->positive(), pair->positiveBit() < 0 ? bit.bit() : pair->positiveBit());
    }
    return CNetBit();
}

CInstTermBit KXOtherLeg(const CInstTermBit& leg) {
    for (ISchemaObject* object : leg.beginSchemaObject()) {
        auto* pair = dynamic_cast<IDPInstTerm*>(object);
        if (!pair || !pair->positive() || !pair->negative()) continue;
        const CInstTermBit positive(pair->positive(), pair->positiveBit());
        const CInstTermBit negative(pair->negative(), pair->negativeBit());
        if (positive == leg) return negative;
        if (negative == leg) return positive;
    }
    return CInstTermBit();
}

std::optional<CConn> KXConnectOtherLeg(CTransaction& tx, const CInstTermBit& leg) {
    const CInstTermBit other = KXOtherLeg(leg);
    // A leg already connected is the user's to place.
    if (other.isNull() || other.netbitOuter()) return std::nullopt;
    const CNetBit target = KXPairedNetBit(leg.netbitOuter());
    if (!target) return std::nullopt;
    const unsigned netBit = static_cast<unsigned>(target.bit()), pinBit = static_cast<unsigned>(other.bit());
    if (!tx.addConn(target.net(), netBit, netBit, other.instTerm(), pinBit, pinBit, 0)) return std::nullopt;
    return CConn(target.net(), target.bit(), other.instTerm(), other.bit());
}

std::vector<IDPInstTerm*> KXPairTerminationSites(IDPInstTerm* pair) {
    std::vector<IDPInstTerm*> sites;
    if (!pair) return sites;
    for (IDPInstTerm* lane : pair->beginMember())
        if (lane) sites.push_back(lane);
    if (sites.empty()) sites.push_back(pair);
    else if (pair->dpConn()) sites.push_back(pair);
    return sites;
}

bool KXDeletePairTermination(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* site) {
    api.setDPInstTermBit(site);
    api.setTransaction(&tx, true);
    const bool deleted = api.deleteAssocCompInstance(CKXAssocCompAPI::TERMINATION) != FALSE;
    api.setTransaction(nullptr, true);
    return deleted;
}

bool KXRemovePairConn(CTransaction& tx, const IDPInstTerm* pair) {
    const IDPConn* conn = pair ? pair->dpConn() : nullptr;
    if (!conn || !conn->dpNet()) return false;
    tx.removeDPConn(conn->dpNet(), conn->netMsb(), conn->netLsb(), pair, conn->instTermMsb(), conn->instTermLsb(), 0);
    return true;
}

bool KXRemovePairConnection(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* pair, bool deleteTerms) {
    if (!pair || !pair->dpConn()) return false;
    if (deleteTerms)
        for (IDPInstTerm* site : KXPairTerminationSites(pair))
            KXDeletePairTermination(tx, api, site);
    return KXRemovePairConn(tx, pair);
}

namespace {

// A lane that stays on the pair net when another lane leaves: its net bit and the terminations it had.
struct StayingLane {
    IDPInstTerm* lane = nullptr;
    int netBit = -1;
    std::vector<IDTInstance*> terminations;
};

// The lanes of the connection's pair other than `leaving`, with the net bit each sits on: the pin's
// bits from its MSB take the net's bits from the connection's MSB on.
std::vector<StayingLane> StayingLanes(const IDPConn& conn, const IDPInstTerm* leaving) {
    const int pinMsb = conn.instTermMsb(), pinLsb = conn.instTermLsb();
    const int netMsb = conn.netMsb(), netLsb = conn.netLsb();
    std::vector<StayingLane> lanes;
    for (IDPInstTerm* lane : conn.dpInstTerm()->beginMember()) {
        // (A lane with a connection of its own is on that one already.)
        if (!lane || lane == leaving || lane->dpConn()) continue;
        const int bit = lane->positiveBit();
        if (bit < std::min(pinMsb, pinLsb) || bit > std::max(pinMsb, pinLsb)) continue;
        const int step = std::abs(bit - pinMsb);
        lanes.push_back({lane, netMsb < 0 ? -1 : (netMsb >= netLsb ? netMsb - step : netMsb + step), {}});
    }
    for (IDTInstance* dt : conn.beginAssociatedDTInstance())
        for (StayingLane& staying : lanes)
            if (dt && dt->dpConnLane() == staying.lane->positiveBit()) staying.terminations.push_back(dt);
    return lanes;
}

} // namespace

bool KXPartLaneFromPairConnection(CTransaction& tx, CKXAssocCompAPI& api, IDPInstTerm* lane, bool deleteTerms) {
    IDPInstTerm* pair = lane ? lane->parent() : nullptr;
    const IDPConn* conn = pair ? pair->dpConn() : nullptr;
    if (!conn || !conn->dpNet() || conn->instTermMsb() < 0) return false;
    const int bit = lane->positiveBit();
    if (bit < std::min(conn->instTermMsb(), conn->instTermLsb()) ||
        bit > std::max(conn->instTermMsb(), conn->instTermLsb()))
        return false;
    if (deleteTerms) KXDeletePairTermination(tx, api, lane);
    IDPNet* net = conn->dpNet();
    const std::vector<StayingLane> staying = StayingLanes(*conn, lane);
    // The pair's connection goes (the terminations not deleted are kept on their lanes), and each lane
    // that stays is connected again on its own, its terminations put back onto its new connection.
    if (!tx.removeDPConn(net, conn->netMsb(), conn->netLsb(), pair, conn->instTermMsb(), conn->instTermLsb(), 0))
        return false;
    for (const StayingLane& s : staying) {
        if (!tx.addDPConn(net, s.netBit, s.netBit, s.lane, -1, -1, 0) || !s.lane->dpConn()) return false;
        for (IDTInstance* dt : s.terminations)
            if (!tx.attachDTInstance(dt, s.lane->dpConn())) return false;
    }
    return true;
}

namespace {

// The pair pin whose connection carries the leg: its lane's own connection, else the vector pair's.
IDPInstTerm* ConnectedPairOfLeg(const CInstTermBit& leg) {
    for (ISchemaObject* object : leg.beginSchemaObject()) {
        auto* lane = dynamic_cast<IDPInstTerm*>(object);
        if (!lane || !lane->positive() || !lane->negative()) continue;
        const bool isLeg = CInstTermBit(lane->positive(), lane->positiveBit()) == leg ||
                           CInstTermBit(lane->negative(), lane->negativeBit()) == leg;
        if (!isLeg) continue;
        if (lane->dpConn()) return lane;
        if (lane->parent() && lane->parent()->dpConn()) return lane->parent();
    }
    return nullptr;
}

bool LegOnNet(IInstTerm* pin, int bit) {
    return pin && pin->netBit(bit).net();
}

// A pair of one bit has its two legs; a vector pair has them lane by lane.
bool SomeLegOnNet(const IDPInstTerm* pair) {
    std::vector<const IDPInstTerm*> lanes;
    for (IDPInstTerm* lane : pair->beginMember())
        if (lane) lanes.push_back(lane);
    if (lanes.empty()) lanes.push_back(pair);
    return std::any_of(lanes.begin(), lanes.end(), [](const IDPInstTerm* lane) {
        return LegOnNet(lane->positive(), lane->positiveBit()) || LegOnNet(lane->negative(), lane->negativeBit());
    });
}

} // namespace

bool KXRemovePairConnectionWithoutLegs(CTransaction& tx, CKXAssocCompAPI& api, const CInstTermBit& leg) {
    IDPInstTerm* pair = ConnectedPairOfLeg(leg);
    if (!pair || SomeLegOnNet(pair)) return false;
    return KXRemovePairConnection(tx, api, pair, true);
}
