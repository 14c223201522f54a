#include "grid/KXDiffPairLegs.h"

#include "grid/KXProjectReader.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXAutoConnectDpLeg.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/transaction.h"

#include <algorithm>

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
