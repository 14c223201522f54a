// Work that belongs to the open grid transaction (CKXTransaction): it runs when the transaction ends
// committed, and is dropped when the transaction is discarded or the server refuses it, so that what
// an edit reports (its journal lines) is there only when the edit is. Without an open grid
// transaction the work runs at once.
#pragma once

#include <functional>
#include <string>

void KXRunWhenCommitted(std::function<void()> work);

// Ends the undo step of what the open grid transaction committed so far (the caller commits its pending
// changes first, with CommitTrans(grid, 1, 0)): what the transaction commits from now on is a step of its
// own, recorded after this one when the transaction ends committed, while a discard still takes back both.
// The work waiting for the commit so far (journal lines) runs between the two steps. `name` names the
// first step. False without an open grid transaction or with changes still pending.
bool KXSplitUndoStep(const char* name);

// Which undo step the work waiting now (KXRunWhenCommitted) belongs to: a number that changes with every
// grid transaction begun and every split of one, so that what is gathered for one step (the journal lines
// of an edit) is never taken for another. Meaningful only while a grid transaction is open.
unsigned KXCommittedWorkStep();

// The undo step a committed transaction's work belongs to: the observer hears the step's name before
// that work runs and nullptr after it, so that the journal lines the work writes can say which step they
// replay. After the work the newest step is heard again, and stays until another edit begins (a
// transaction, a step a history opens of its own, an undo or a redo: KXEndStepOfJournalLines): the lines
// an edit writes once its transaction committed replay its step too. One observer; a new one takes its
// place.
void KXObserveCommittedStepWork(void (*observer)(const char* name));
void KXEndStepOfJournalLines();

// A replay runs the calls of one step of the journal it replays (between RMX.BeginStep() and RMX.EndStep())
// as one step. The observer hears when such a group of calls has ended, so that what the group journalled
// meanwhile is written as the one step it is. One observer; a new one takes its place.
void KXObserveReplayGroupEnd(void (*observer)());
void KXReplayGroupEnded();

// A journal writes the lines of one undo step between two comment lines that name the step, and its
// replay names the steps those lines make so (a cell typed "Add Conn" replays through the pane's
// AddConnection, whose own step is "Add Connections"; the instance connectivity dialog's step through
// one AddConnection per pin). While a name is given, every transaction that commits names its undo
// steps with it; nullptr or "" ends it.
void KXNameReplayedSteps(const char* name);
// The comment lines around a step's journal lines, and the name a line of the first form gives
// (false for any other line).
std::string KXJournalStepBegins(const std::string& name);
const std::string& KXJournalStepEnds();
bool KXReadJournalStepBegins(const std::string& line, std::string& name);
