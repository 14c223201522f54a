// Start-up of the controls library, called by the editor with its other sibling libraries.
#pragma once

#include "afx/afxtypes.h"

extern "C" BOOL InitKXControlsDll();
