#include "grid/KXAssocCompSteps.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <cstring>
#include <utility>
#include <vector>

bool KXMadeFirst::operator()(const IDTInstance* a, const IDTInstance* b) const {
    const IDesign* da = a->design();
    const IDesign* db = b->design();
    if (da != db) {
        // Components of two blocks: by their block's name (a block's name is its own).
        const int byName = std::strcmp(da ? da->name() : "", db ? db->name() : "");
        if (byName != 0) return byName < 0;
    }
    return a->id() < b->id();
}

KXComponentSet KXPupdsOn(CKXAssocCompAPI& api, const CNetBit& bit) {
    api.setNetBit(bit);
    std::vector<IDTInstance*> found;
    api.getMultipleAssociatedInstance(CKXAssocCompAPI::PUPD, found);
    return KXComponentSet(found.begin(), found.end());
}

CTransaction* KXAssocCompStepTransaction(const CGXGridCore& grid, const CString& stepName,
                                         const std::function<void(CTransaction*)>& onAddTermination) {
    if (!CKXTransaction::IsTransactionStarted() || CKXTransaction::GetGrid() != &grid) return nullptr;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (transaction && stepName.CompareNoCase("Add Termination") == 0 && onAddTermination)
        onAddTermination(transaction);
    return transaction;
}

namespace {
CKXGridEdit* g_applyingEdit = nullptr; // the bracket the library's commit on apply goes to
} // namespace

KXAssocApplyCommit::KXAssocApplyCommit(CKXAssocCompAPI& api, CKXGridEdit& edit)
    : m_api(api), m_previous(std::exchange(g_applyingEdit, &edit)) {
    m_api.InitCKXCommit(&KXAssocApplyCommit::Commit);
}

KXAssocApplyCommit::~KXAssocApplyCommit() {
    g_applyingEdit = m_previous;
    if (!m_previous) m_api.InitCKXCommit(nullptr);
}

BOOL KXAssocApplyCommit::Commit(CString) {
    return g_applyingEdit && *g_applyingEdit ? g_applyingEdit->Commit() : FALSE;
}

BOOL KXCommitAssocEdit(CKXAssocCompAPI& api, CKXGridEdit& edit, const char* name) {
    if (edit.Owns()) return edit.Commit();
    KXAssocApplyCommit through(api, edit);
    return api.CommitTransactionOnApply(name);
}

bool KXHandTerminations(CKXAssocCompAPI& api, const std::vector<CInstTermBit>& bits, CDesignContext& design,
                        CTransaction* transaction) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!server || !transaction) return false;
    const CInstTermBit working = api.getInstTermBit();
    std::set<IDTInstance*> handed;
    bool taken = false;
    for (const CInstTermBit& bit : bits) {
        api.setInstTermBit(bit);
        IDTInstance* termination = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
        if (!termination || !handed.insert(termination).second) continue;
        if (server->HandleAssociatedInstance(&design, termination, transaction)) taken = true;
    }
    if (working) api.setInstTermBit(working);
    return taken;
}

bool KXPupdDialogAccepted(KXPupdDialogResult result, const CKXAssocCompAPI& api) {
    if (result == KXPupdDialogResult::Accepted) return true;
    if (result == KXPupdDialogResult::Cancelled) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // closed without a change
        return false;
    }
    const CString why = api.GetLastError();
    KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-217", why.IsEmpty() ? CString("refused") : why));
    return false;
}

void KXReportUnchangedAssoc(const KXShownMark& committing) {
    if (!committing.SaidSince()) KXMenuAnswer::Report(KXEditResult::Nothing("KXTABLE-267"));
}

bool KXMixesInputAndOutput(const std::vector<CString>& pinTypes) {
    bool input = false, output = false;
    for (const CString& type : pinTypes) {
        input = input || type.CompareNoCase("Input") == 0;
        output = output || type.CompareNoCase("Output") == 0;
    }
    return input && output;
}

bool KXReportUnchangedTermination(const CKXAssocCompAPI& api, const KXShownMark& asked) {
    if (CString why; asked.DialogRefusedSince(why)) {
        KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-381", why));
        return true;
    }
    if (!api.DialogChangedNothing()) return false;
    KXMenuAnswer::Report(KXEditResult::Nothing("KXTABLE-267"));
    return true;
}
