// The pin bits and pair pins the termination dialog is opened over, and what its answer does to them
// when it keeps the type of the termination it showed: every target's termination is changed in place
// (its name, designators and every value the user left alone stay), as one editTermination of them all.
#pragma once

#include "afx/afxstr.h"
#include "rmx/schema.h"

#include <vector>

class CKXAssocCompAPI;
class IDPInstTerm;
struct KXTerminationDialogEdit;

// One pin bit, or one pair pin (pair set, bit empty).
struct KXTerminationTarget {
    CInstTermBit bit;
    IDPInstTerm* pair = nullptr;
};
using KXTerminationTargets = std::vector<KXTerminationTarget>;

// Points the library at the target (its current pin bit or pair pin).
void KXPointAt(CKXAssocCompAPI& api, const KXTerminationTarget& target);

// Points the library at the first target that carries a termination, so that the dialog opens on it
// (at the first target when none does).
void KXPointAtFirstTermination(CKXAssocCompAPI& api, const KXTerminationTargets& targets);

// Before the dialog: the library told whether it works on several targets, and pointed as above.
void KXPrepareDialogOn(CKXAssocCompAPI& api, const KXTerminationTargets& targets);
// As KXPrepareDialogOn; true when the dialog is pointed at the first of the targets.
bool KXPrepareDialogOnFirst(CKXAssocCompAPI& api, const KXTerminationTargets& targets);

// The dialog answered over several targets with the type of the termination it showed (`edit`, read
// by KXTerminationDialogEditOf): fills edit.names with every target's termination, each once. Refused,
// with the cause said and nothing to do, when a target has no termination or one of another type
// (KXTABLE-600: one answer cannot change those in place, and the user saw none of them), and when the
// answer changes nothing (KXTABLE-267). True when the edit is to be made.
bool KXPlanDialogEdit(CKXAssocCompAPI& api, const KXTerminationTargets& targets, KXTerminationDialogEdit& edit);

// After an accepted dialog: true when its answer keeps the type it showed, to be made in place; `edit`
// then names what to change (empty when refused, as KXPlanDialogEdit says). False: an add to make.
bool KXTakeDialogEdit(CKXAssocCompAPI& api, const KXTerminationTargets& targets, KXTerminationDialogEdit& edit);
