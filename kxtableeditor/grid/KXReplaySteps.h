// How many undo steps the replay of an edit's journal lines makes. An edit is one undo step here, but
// when it journals one call per row (a connect, a delete, a swap written as the connections it made),
// its replay makes one step per call, unless its lines stand between RMX.BeginStep() and RMX.EndStep()
// (KXJournalOfOneStep), which the replay keeps as one step. The edit notes the count after writing its lines; the history
// that opened the edit's step takes it, and the undo or redo of that step journals as many Undo() or
// Redo() calls, so that a replayed journal takes back exactly what the user took back.
#pragma once

#include "afx/afxstr.h"

// Notes the number of calls, each a step of its own on replay, that the edit just journalled (the
// notes of the grids that take part in one edit add up).
void KXNoteReplaySteps(int steps);
// The journal lines of one edit that hold `calls` calls, each a step of its own on replay: with more
// than one, put between RMX.BeginStep() and RMX.EndStep(), which the replay runs as one step, and
// noted as one (KXNoteReplaySteps).
CString KXJournalOfOneStep(const CString& lines, int calls);
// The lines a replay's group of calls journalled (the calls of one step of the journal it replays), with
// the step marks of each call's own lines taken out, as the one step the group is (noted as one).
CString KXJournalOfReplayGroup(CString lines);
// The number of calls of lines whose every call comes under its title line ("' --- Title ---").
int KXJournalTitledCalls(const CString& lines);
// The number noted since the last call (0 when none), and forgets it.
int KXTakeReplaySteps();

// An undo history that takes the counts of the edits of its steps.
class IKXReplayStepsHolder {
public:
    // The count noted for the edit of the holder's newest step.
    virtual void TakeReplaySteps(int steps) = 0;

protected:
    ~IKXReplayStepsHolder() = default;
};
// The holder opened a step: what was noted before goes to the holder of the step before (another
// window's history, when the user edits in two windows), and what is noted next is this holder's.
void KXReplayStepsOpenedBy(IKXReplayStepsHolder* holder);
// Gives what was noted to the holder of the newest step (before an undo or redo reads its count).
void KXHandOverReplaySteps();
// A holder that goes takes nothing more.
void KXForgetReplayStepsHolder(const IKXReplayStepsHolder* holder);
