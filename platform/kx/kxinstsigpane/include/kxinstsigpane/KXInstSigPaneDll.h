// Start-up of the instance/signal panes library, called by the editor with its other sibling libraries.
#pragma once

#include "afx/afxtypes.h"

extern "C" BOOL InitKXInstSigPaneDll();
