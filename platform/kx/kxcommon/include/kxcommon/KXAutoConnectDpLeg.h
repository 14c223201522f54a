// Whether a connected leg of a differential pair brings the other leg along (the project's GRIDWORKSHOP
// auto_connect_dpleg). A session's journal says it whenever it changes, and a replay follows what its
// journal said rather than its own project, so that it connects the legs the session did.
#pragma once

#include "afx/afxtypes.h"

// Notes whether legs go together now; a change is journalled (call RMX.AutoConnectDpLeg("1")). A journal
// just begun has said FALSE.
void KXNoteAutoConnectDpLeg(BOOL on);
// What the journal being replayed said (1 or 0), -1 before it said anything (a replay begins so).
void KXReplayAutoConnectDpLeg(int said);
int KXReplayedAutoConnectDpLeg();
