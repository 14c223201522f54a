// The check every design change of the component and signal lists passes before it begins, whichever
// road asked for it (an automation method, a message of the host, the list's own commands).
#pragma once

#include "afx/afxtypes.h"

class CKXListPaneView;

// Set by the application (none: every change begins). FALSE refuses the change, the guard having said why.
using KXListChangeGuard = BOOL (*)(CKXListPaneView& pane);
void KXSetListChangeGuard(KXListChangeGuard guard);
// The guard's answer for a change of the pane's design (TRUE without a guard).
BOOL KXListChangeAllowed(CKXListPaneView& pane);
