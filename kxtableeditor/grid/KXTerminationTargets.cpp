#include "grid/KXTerminationTargets.h"

#include "grid/KXEditResult.h"
#include "grid/KXPropLists.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "rmx/schemautil.h"

#include <set>

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;

// The target as the user names it: INSTANCE.PIN<BIT>, or the pair pin's name.
CString TargetName(const KXTerminationTarget& target) {
    if (target.pair) return CString(target.pair->name());
    IInstTerm* pin = target.bit.instTerm();
    if (!pin) return CString();
    const CString name = CSchemaUtilities::vectorName(pin->name(), target.bit.bit());
    IInstance* owner = pin->instance();
    return owner ? CString(owner->name()) + "." + name : name;
}

bool EditChangesSomething(const KXTerminationDialogEdit& edit) {
    return !edit.partLooks.IsEmpty() || !edit.delay.IsEmpty() || !edit.high.IsEmpty() || !edit.low.IsEmpty();
}

} // namespace

void KXPointAt(CKXAssocCompAPI& api, const KXTerminationTarget& target) {
    if (target.pair)
        api.setDPInstTermBit(target.pair);
    else
        api.setInstTermBit(target.bit);
}

void KXPointAtFirstTermination(CKXAssocCompAPI& api, const KXTerminationTargets& targets) {
    for (const KXTerminationTarget& target : targets) {
        KXPointAt(api, target);
        if (api.getAssociatedInstance(kTermination)) return;
    }
    if (!targets.empty()) KXPointAt(api, targets.front());
}

bool KXPrepareDialogOnFirst(CKXAssocCompAPI& api, const KXTerminationTargets& targets) {
    if (targets.empty()) return true;
    KXPointAt(api, targets.front());
    const bool firstHasOne = api.getAssociatedInstance(kTermination) != nullptr;
    KXPrepareDialogOn(api, targets);
    // Without a termination on any target the dialog opens on the first.
    return firstHasOne || api.getAssociatedInstance(kTermination) == nullptr;
}

bool KXPlanDialogEdit(CKXAssocCompAPI& api, const KXTerminationTargets& targets, KXTerminationDialogEdit& edit) {
    const CString type = api.m_strTerminationType;
    std::set<CString> seen;
    edit.names.clear();
    for (const KXTerminationTarget& target : targets) {
        KXPointAt(api, target);
        IDTInstance* termination = api.getAssociatedInstance(kTermination);
        CString cause;
        if (!termination)
            cause = TargetName(target) + " has none";
        else if (type.CompareNoCase(termination->typeName()) != 0)
            cause.Format("%s carries a %s termination (%s)", TargetName(target).GetString(), termination->typeName(),
                         termination->name());
        if (!cause.IsEmpty()) {
            KXMenuAnswer::Report(KXEditResult::Refused("KXTABLE-600", type, cause));
            return false;
        }
        if (seen.insert(CString(termination->name())).second) edit.names.push_back(CString(termination->name()));
    }
    if (!EditChangesSomething(edit)) {
        KXMenuAnswer::Report(KXEditResult::Nothing("KXTABLE-267"));
        return false;
    }
    return !edit.names.empty();
}

void KXPrepareDialogOn(CKXAssocCompAPI& api, const KXTerminationTargets& targets) {
    api.setMultipleSelection(targets.size() > 1);
    KXPointAtFirstTermination(api, targets);
}

bool KXTakeDialogEdit(CKXAssocCompAPI& api, const KXTerminationTargets& targets, KXTerminationDialogEdit& edit) {
    if (!KXTerminationDialogEditOf(api, edit)) return false;
    if (targets.size() > 1 && !KXPlanDialogEdit(api, targets, edit)) edit.names.clear();
    return true;
}
