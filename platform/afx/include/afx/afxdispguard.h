// The check every automation method of the process passes before it runs.
#pragma once

#include "afx/afxdisp.h"

// Set by the application (none: every method runs). FALSE refuses the call, the guard having said why:
// the method does not run, and it answers as a refusal (FALSE, 0, an empty text or no object).
using AfxDispatchGuard = BOOL (*)(CCmdTarget* target, LPCSTR method);
void AfxSetDispatchGuard(AfxDispatchGuard guard);
