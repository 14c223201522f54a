#include "grid/KXReplaySteps.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXBracketActions.h"

namespace {
int g_noted = 0;
IKXReplayStepsHolder* g_holder = nullptr; // the history that opened the newest step
} // namespace

namespace {
constexpr const char* kBeginStep = "\n\ncall RMX.BeginStep()";
constexpr const char* kEndStep = "\ncall RMX.EndStep()\n";
} // namespace

void KXNoteReplaySteps(int steps) {
    // A replay's group of calls is one step, whatever each call journals: the group notes it once.
    if (CKXShareGlobalData::m_nReplayStepGroup != 0) return;
    // Several grids may take part in one edit (the pane's bracket): their calls add up. Noted during the
    // edit's transaction, the count waits for its commit, as the journal lines do.
    if (steps > 0) KXRunWhenCommitted([steps] { g_noted += steps; });
}

CString KXJournalOfOneStep(const CString& lines, int calls) {
    if (calls <= 1 || lines.IsEmpty()) {
        KXNoteReplaySteps(calls);
        return lines;
    }
    KXNoteReplaySteps(1);
    return kBeginStep + lines + kEndStep;
}

CString KXJournalOfReplayGroup(CString lines) {
    if (lines.IsEmpty()) return lines;
    lines.Replace(kBeginStep, "");
    lines.Replace(kEndStep, "");
    KXNoteReplaySteps(1);
    return kBeginStep + lines + kEndStep;
}

int KXJournalTitledCalls(const CString& lines) {
    int calls = 0;
    for (int at = lines.Find("\n\n ' --- "); at >= 0; at = lines.Find("\n\n ' --- ", at + 1))
        ++calls;
    return calls;
}

int KXTakeReplaySteps() {
    const int steps = g_noted;
    g_noted = 0;
    return steps;
}

void KXReplayStepsOpenedBy(IKXReplayStepsHolder* holder) {
    KXHandOverReplaySteps();
    g_holder = holder;
}

void KXHandOverReplaySteps() {
    const int steps = KXTakeReplaySteps();
    if (g_holder && steps > 0) g_holder->TakeReplaySteps(steps);
}

void KXForgetReplayStepsHolder(const IKXReplayStepsHolder* holder) {
    if (g_holder != holder) return;
    KXTakeReplaySteps();
    g_holder = nullptr;
}
