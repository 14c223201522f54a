// The signal model of a pin: the property that holds it, its setting and removal
// inside an edit, and the model dialog every grid opens for Assign Model,
// offering the models of the pins' direction.
#pragma once

#include "afx/afxstr.h"

class CContext;
class CTransaction;

// The property a pin (or pin bit) keeps its assigned signal model in.
inline constexpr const char* kKXPinModelProperty = "PIN_SIGNAL_MODEL";
// The source the design records for a model the user assigned.
inline constexpr unsigned long kKXUserPropertySource = 2;

// The model type the dialog offers for pins of a direction (ITerm::ITermDirection): IBIS input,
// output or I/O models, every model for an undirected pin or pins of mixed direction (-1).
const char* KXModelTypeFilter(int direction);

// Opens the model dialog for pins of `direction`. True when it closed with OK; `model` then holds
// the model chosen (which the caller checks: an empty one assigns nothing).
bool KXAskPinModel(int direction, CString& model);

// Sets `model` on the pin or pin bit `place` in the transaction, or with an empty model removes the
// one it has. True when the design changed: false for a model it already has (in any letter case), a removal
// where none is set, or a change the design refused.
bool KXSetPinModel(CTransaction& transaction, const CContext& place, const CString& model);
