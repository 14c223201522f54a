// Differential pairs: when the project asks for it (GRIDWORKSHOP auto_connect_dpleg),
// a pin typed onto one leg of a pair net brings the other leg of its pair pin along to
// the other net of the pair, in the same transaction, so one undo takes both back.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXProjectReader.h"

#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>

using namespace kxsignal;

namespace {

constexpr int kBoolYesNo = 0, kBoolOnOff = 1, kBoolTrueFalse = 2;

// The directive reads "yes", "on" or "true" when set.
bool AutoConnectAsked() {
    CKXProjectReader reader;
    if (reader.ProjectFindProgram("GRIDWORKSHOP") != KXPROJ_OK) return false;
    for (int style : {kBoolYesNo, kBoolOnOff, kBoolTrueFalse}) {
        BOOL on = FALSE;
        if (reader.ProjectGetBoolDirective("auto_connect_dpleg", on, style) != KXPROJ_OK) return false;
        if (on) return true;
    }
    return false;
}

// The net bit that pairs with this one in a pair net of its net; empty when none.
CNetBit PairedNetBit(const CNetBit& bit) {
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

// The other leg of the pair pin that uses the pin bit; empty when the bit is in no pair.
CInstTermBit OtherLeg(const CInstTermBit& leg) {
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

} // namespace

std::vector<CConn> CKXSignalDetailsGridWnd::AutoConnectDiffPairLegs(CTransaction& tx, IInstTerm* pin, int lo, int hi) {
    std::vector<CConn> added;
    if (!pin || !AutoConnectAsked()) return added;
    for (int b = std::min(lo, hi); b <= std::max(lo, hi); ++b) {
        const CInstTermBit leg(pin, b);
        const CInstTermBit other = OtherLeg(leg);
        // A leg already connected, or one of the bits connected now, is the user's to place.
        if (other.isNull() || other.netbitOuter()) continue;
        const CNetBit target = PairedNetBit(leg.netbitOuter());
        if (!target) continue;
        const unsigned netBit = static_cast<unsigned>(target.bit()), pinBit = static_cast<unsigned>(other.bit());
        if (tx.addConn(target.net(), netBit, netBit, other.instTerm(), pinBit, pinBit, 0))
            added.emplace_back(target.net(), target.bit(), other.instTerm(), other.bit());
    }
    return added;
}
