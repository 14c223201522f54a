// Initialisation exports of the sibling libraries that the editor calls at start-up.
//
// The host platform exports them under decorated standard-call names (for instance "_InitKXClipboardDll@0");
// on Linux they are plain C symbols under the undecorated names below, which the editor resolves instead.
#pragma once

#include "afx/afxtypes.h"

extern "C" {
BOOL InitKXAddBlockDLL();
BOOL InitKXModelAssignDLL();
// The libraries built by other teams (controls, common, instance/signal panes) export their own functions;
// these weak stand-ins answer TRUE when such a library is not linked in.
BOOL KXSmallIsInitialised(const char* library);
}
