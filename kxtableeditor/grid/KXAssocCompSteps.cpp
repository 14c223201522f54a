#include "grid/KXAssocCompSteps.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxinstsigpane/KXTransaction.h"

#include <vector>

std::set<IDTInstance*> KXPupdsOn(CKXAssocCompAPI& api, const CNetBit& bit) {
    api.setNetBit(bit);
    std::vector<IDTInstance*> found;
    api.getMultipleAssociatedInstance(CKXAssocCompAPI::PUPD, found);
    return std::set<IDTInstance*>(found.begin(), found.end());
}

CTransaction* KXAssocCompStepTransaction(const CGXGridCore& grid, const CString& stepName,
                                         const std::function<void(CTransaction*)>& onAddTermination) {
    if (!CKXTransaction::IsTransactionStarted() || CKXTransaction::GetGrid() != &grid) return nullptr;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (transaction && stepName.CompareNoCase("Add Termination") == 0 && onAddTermination)
        onAddTermination(transaction);
    return transaction;
}
