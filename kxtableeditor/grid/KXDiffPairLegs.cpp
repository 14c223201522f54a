#include "grid/KXDiffPairLegs.h"

#include "grid/KXProjectReader.h"

#include "rmx/transaction.h"

namespace {

constexpr int kBoolOnOff = 1;

} // namespace

// The option is an on/off switch: "on" in any case turns it on, every other word leaves it off, so a
// project file means the same to every program that reads it.
bool KXAutoConnectDpLegAsked() {
    CKXProjectReader reader;
    if (reader.ProjectFindProgram("GRIDWORKSHOP") != KXPROJ_OK) return false;
    BOOL on = FALSE;
    return reader.ProjectGetBoolDirective("auto_connect_dpleg", on, kBoolOnOff) == KXPROJ_OK && on;
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
