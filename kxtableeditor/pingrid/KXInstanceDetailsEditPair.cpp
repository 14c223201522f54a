// The pair net of a typed pair name: found by its name (one bit of a pair: by the full name first),
// else made over its two leg nets, which are found, widened or made for the pair's bits.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPairEdits.h"
#include "pingrid/KXPinGridPairNets.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <algorithm>

namespace {

bool IsOneBit(int first, int second) {
    return first != -1 && first == second;
}

// True when the pair has the bit as one of its lanes.
bool HasLane(const IDPNet& pair, int bit) {
    return pair.msb() >= 0 && bit >= std::min(pair.msb(), pair.lsb()) && bit <= std::max(pair.msb(), pair.lsb());
}

} // namespace

IDPNet* KXPinGridPairNets::EditDiffPair(CString text, int* pFirst, int* pSecond, CString* pBase,
                                        std::map<CString, IDPNet*>* pCache) {
    CString name, base;
    int second = -1, first = -1, flag = 0;
    if (pBase) pBase->Empty();
    if (!CKXGenUtils::ParseDPName(text, name, base, second, first, flag)) return nullptr;
    if (pBase) *pBase = base;
    // The cache is keyed by the full name: one-bit pairs of one base are pairs of their own.
    if (pCache) {
        auto hit = pCache->find(name);
        if (hit != pCache->end() && hit->second) return hit->second;
    }
    IDesign* design = m_grid.m_designContext.design();
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!design || !transaction) return nullptr;
    IDPNet* pair = FindDiffPairNet(*design, name, base, first, second);
    if (!pair) pair = CreateDiffPairNet(*transaction, name, base, first, second);
    if (!pair) return nullptr;
    if (pCache) (*pCache)[name] = pair;
    if (pFirst) *pFirst = first;
    if (pSecond) *pSecond = second;
    return pair;
}

// An existing pair net for the name: a one-bit name is looked up whole first (a hit gives its bits),
// then as its base name; a base pair with lanes serves a one-bit name only when it has that bit.
IDPNet* KXPinGridPairNets::FindDiffPairNet(IDesign& design, const CString& name, const CString& base,
                                           int& first, int& second) {
    const bool oneBit = IsOneBit(first, second);
    if (oneBit) {
        if (IDPNet* whole = design.findDPNet(name.GetString())) {
            first = whole->msb();
            second = whole->lsb();
            return whole;
        }
    }
    IDPNet* pair = design.findDPNet(base.GetString());
    if (!pair || !oneBit || pair->msb() < 0) return pair;
    return HasLane(*pair, first) ? pair : nullptr;
}

// A pair net made over its two leg nets: a one-bit or scalar request makes a pair over two net bits
// under the full name, a range one pair over the two whole nets under the base name. The database may
// answer a pair it has over those bits already; under another name, the user is told.
IDPNet* KXPinGridPairNets::CreateDiffPairNet(CTransaction& transaction, const CString& name,
                                             const CString& base, int& first, int& second) {
    CString positive, negative;
    if (!CKXGenUtils::GetDiffPairNetNames(base, positive, negative)) return nullptr;
    INet* pos = TakeDiffPairLeg(transaction, positive, first, second);
    INet* neg = pos ? TakeDiffPairLeg(transaction, negative, first, second) : nullptr;
    if (!neg || pos->isScalar() != neg->isScalar()) return nullptr;
    const bool oneBit = IsOneBit(first, second);
    const CString& requested = oneBit ? name : base;
    IDPNet* pair = oneBit ? transaction.createDPNet(name.GetString(), pos, second, IDPNet::ePositive, neg, second,
                                                    IDPNet::eNegative, 0)
                          : transaction.createDPNet(base.GetString(), pos, -1, IDPNet::ePositive, neg, -1,
                                                    IDPNet::eNegative, 0);
    if (!pair) return nullptr;
    if (!m_grid.m_pairEdits->IsSameDiffPairName(pair->name(), requested)) {
        IDesign* design = m_grid.m_designContext.design();
        CKXErrorHandler::MessageBoxOk("KXTABLE-156", design ? design->cellName() : "", pair->name(), pair->name(),
                                      requested.GetString());
    }
    // A pair of two bits has no lanes to take; a lane of a pair over whole nets keeps the bit asked
    // for, a range the bits typed (a name without range asks which bits).
    if (oneBit && !HasLane(*pair, first)) {
        first = pair->msb();
        second = pair->lsb();
    }
    return pair;
}

// A leg net for the pair's bits: found (widened when a range asks for bits it lacks) or made with them
// and recorded among the nets of the open transaction.
INet* KXPinGridPairNets::TakeDiffPairLeg(CTransaction& transaction, const CString& name, int first,
                                         int second) {
    IDesign* design = m_grid.m_designContext.design();
    INet* leg = design ? design->findNet(name.GetString()) : nullptr;
    if (leg) {
        if (first != -1 && !m_grid.ChangeNetWidth(leg, std::min(first, second), std::max(first, second)))
            return nullptr;
        return leg;
    }
    leg = transaction.createNet(name.GetString(), static_cast<unsigned>(first), static_cast<unsigned>(second));
    if (!leg) return nullptr;
    transaction.addNet(leg);
    m_grid.RecordTransactionNet(name, leg);
    return leg;
}
