// Differential pairs: when the project asks for it (GRIDWORKSHOP auto_connect_dpleg),
// a pin typed onto one leg of a pair net brings the other leg of its pair pin along to
// the other net of the pair, in the same transaction, so one undo takes both back.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXDiffPairLegs.h"

#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <algorithm>

using namespace kxsignal;


std::vector<CConn> CKXSignalDetailsGridWnd::AutoConnectDiffPairLegs(CTransaction& tx, IInstTerm* pin, int lo, int hi) {
    std::vector<CConn> added;
    if (!pin || !KXAutoConnectDpLegAsked()) return added;
    for (int b = std::min(lo, hi); b <= std::max(lo, hi); ++b)
        if (std::optional<CConn> leg = KXConnectOtherLeg(tx, CInstTermBit(pin, b))) added.push_back(*leg);
    return added;
}
