// What the grids share around the associated-component library: the pull-ups/pull-downs a net
// bit carries, and the transaction a step of the library's dialog goes on in.
#pragma once

#include "afx/afxstr.h"

#include <functional>
#include <set>

class CKXAssocCompAPI;
class CNetBit;
class CTransaction;
class IDTInstance;
class CGXGridCore;

// The pull-up/pull-down instances on a net bit (the library is pointed at the bit).
std::set<IDTInstance*> KXPupdsOn(CKXAssocCompAPI& api, const CNetBit& bit);

// The transaction a step of the library's dialog goes on in: the one the grid's edit bracket
// holds, so that the dialog's work is one undo step with the rest; NULL when the grid holds none.
// A step named "Add Termination" first hands the transaction to onAddTermination.
CTransaction* KXAssocCompStepTransaction(const CGXGridCore& grid, const CString& stepName,
                                         const std::function<void(CTransaction*)>& onAddTermination);
