// How many undo steps the replay of an edit's journal lines makes. An edit is one undo step here, but
// when it journals one call per row (a connect, a delete, a swap written as the connections it made),
// its replay makes one step per call. The edit notes the count after writing its lines; the pane gives
// it to the step, and the undo or redo of that step journals as many Undo() or Redo() calls, so that a
// replayed journal takes back exactly what the user took back.
#pragma once

// Notes the number of calls, each a step of its own on replay, that the edit just journalled (the
// notes of the grids that take part in one edit add up).
void KXNoteReplaySteps(int steps);
// The number noted since the last call (0 when none), and forgets it.
int KXTakeReplaySteps();
