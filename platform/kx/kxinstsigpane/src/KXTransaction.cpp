#include "kxinstsigpane/KXTransaction.h"

#include "kxinstsigpane/KXBracketActions.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "KXUndoSink.h"
#include "rmx/transaction.h"

namespace {

struct Bracket {
    bool started = false;
    CGXGridCore* grid = nullptr;
    std::unique_ptr<CDesignContext> design;
    CString name;
    CTransaction* current = nullptr;
    // Server transactions this bracket made (owned) and every one that took part, in order of first use.
    std::vector<std::unique_ptr<CTransaction>> owned;
    std::vector<CTransaction*> used;
    // Server transactions whose changes this bracket committed, in order; their text becomes the undo step.
    std::vector<CTransaction*> committed;
    // Commits under way (the broadcast runs inside them). A window that ends or discards the bracket while
    // it is being announced only asks for it; the outermost commit carries it out when the broadcast is over,
    // so that nothing it still walks is freed under it.
    int commitDepth = 0;
    bool endRequested = false;
    bool discardRequested = false;
    // Work waiting for the bracket to end committed (KXRunWhenCommitted).
    std::vector<std::function<void()>> onCommitted;
    // Where the undo steps of the bracket end before the last one (KXSplitUndoStep): the committed
    // transactions and the waiting work before each split belong to the step it names.
    struct Split {
        std::size_t committed = 0;
        std::size_t work = 0;
        CString name;
    };
    std::vector<Split> splits;
};

Bracket& B() {
    static Bracket b;
    return b;
}

void (*g_stepWorkObserver)(const char*) = nullptr;
bool g_stepAfterCommit = false; // the observer heard the newest step after its work
int g_stepWorkDepth = 0;        // committed work running now (a transaction its work commits is within it)
unsigned g_workStep = 0;        // the undo step the work waiting now belongs to (KXCommittedWorkStep)
CString& ReplayedStepName() {
    static CString name;
    return name;
}

void Use(CTransaction* t) {
    Bracket& b = B();
    if (t && std::find(b.used.begin(), b.used.end(), t) == b.used.end()) b.used.push_back(t);
}

// Commits what t holds pending and announces it. False when the server refused.
bool CommitPending(CTransaction* t) {
    if (!t || !t->hasPendingChanges()) return true;
    if (!t->commit()) return false;
    Bracket& b = B();
    if (std::find(b.committed.begin(), b.committed.end(), t) == b.committed.end()) b.committed.push_back(t);
    KXAnnounceCommit(t);
    return true;
}

// The undo entry of the committed transactions [first, last), named so; nullptr when there is none.
// A journal's replay names it as the journal's step was named.
std::unique_ptr<CKXUndoCmd> MakeUndoEntry(std::size_t first, std::size_t last, const CString& name) {
    Bracket& b = B();
    const CString& shown = ReplayedStepName().IsEmpty() ? name : ReplayedStepName();
    std::unique_ptr<CKXUndoCmd> entry;
    for (std::size_t i = first; i < last && i < b.committed.size(); ++i) {
        CString text = b.committed[i]->toString();
        if (!entry)
            entry = std::make_unique<CKXUndoCmd>(b.grid, text.GetString(), shown.GetString(), TRUE);
        else
            entry->AppendTransactionText(text.GetString());
    }
    return entry;
}

// One undo step of the bracket: its entry (nullptr when it committed nothing) and the end of its work.
struct UndoStep {
    std::unique_ptr<CKXUndoCmd> entry;
    std::size_t workEnd = 0;
};

std::vector<UndoStep> MakeUndoSteps() {
    Bracket& b = B();
    std::vector<UndoStep> steps;
    std::size_t first = 0;
    for (const Bracket::Split& split : b.splits) {
        steps.push_back({MakeUndoEntry(first, split.committed, split.name), split.work});
        first = split.committed;
    }
    steps.push_back({MakeUndoEntry(first, b.committed.size(), b.name), b.onCommitted.size()});
    return steps;
}

// Reverses, in the design, every change this bracket committed (newest first), announcing each reversal.
void ReverseCommitted() {
    Bracket& b = B();
    for (auto it = b.committed.rbegin(); it != b.committed.rend(); ++it) {
        CTransaction* t = *it;
        CString text = t->toString();
        CTransaction reverse(t->server(), text.GetString(), true, false);
        if (reverse.isValid() && reverse.commit()) KXAnnounceCommit(&reverse);
    }
}

void EndBracket() {
    Bracket& b = B();
    b.started = false;
    b.grid = nullptr;
    b.design.reset();
    b.name.Empty();
    b.current = nullptr;
    b.used.clear();
    b.committed.clear();
    b.owned.clear(); // destroying an uncommitted transaction discards it
    b.endRequested = false;
    b.discardRequested = false;
    b.onCommitted.clear();
    b.splits.clear();
}

void DiscardNow() {
    Bracket& b = B();
    for (CTransaction* t : b.used)
        if (t->hasPendingChanges()) t->discard();
    ReverseCommitted();
    EndBracket();
}

} // namespace

BOOL CKXTransaction::IsTransactionStarted() { return B().started; }

namespace {
CKXTransaction::BeginGuard g_beginGuard = nullptr;
}

void CKXTransaction::SetBeginGuard(BeginGuard guard) {
    g_beginGuard = guard;
}

BOOL CKXTransaction::BeginTrans(CGXGridCore* grid, const CDesignContext& design, CString name) {
    Bracket& b = B();
    if (b.started || !design.design()) return FALSE;
    if (g_beginGuard && !g_beginGuard(grid)) return FALSE;
    KXEndStepOfJournalLines();
    ++g_workStep;
    b.owned.push_back(std::make_unique<CTransaction>(design, name.GetString()));
    b.current = b.owned.back().get();
    b.design = std::make_unique<CDesignContext>(design);
    b.grid = grid;
    b.name = name;
    b.started = true;
    Use(b.current);
    return TRUE;
}

CTransaction* CKXTransaction::GetCurrentTransactionObj() {
    Bracket& b = B();
    return b.started ? b.current : nullptr;
}

CTransaction* CKXTransaction::GetNewTransactionObj() {
    Bracket& b = B();
    if (!b.started) return nullptr;
    if (b.current && !b.current->isCommitted()) return b.current;
    b.owned.push_back(std::make_unique<CTransaction>(*b.design, b.name.GetString()));
    b.current = b.owned.back().get();
    Use(b.current);
    return b.current;
}

void CKXTransaction::SetTransactionObj(CTransaction* transaction) {
    Bracket& b = B();
    if (!b.started || !transaction) return;
    b.current = transaction;
    Use(transaction);
}

BOOL CKXTransaction::CommitTrans(CGXGridCore* grid, BOOL bCommit, BOOL bEnd) {
    Bracket& b = B();
    if (!b.started) return FALSE;
    (void)grid; // any window may close the bracket that another opened (the pane closes grids' edits)
    if (b.commitDepth > 0 && bEnd) {
        // Asked from inside the announcement of a commit: the outer commit ends the bracket afterwards.
        b.endRequested = true;
        if (!bCommit) return TRUE;
    }
    bool refused = false;
    if (bCommit || bEnd) {
        // Everything still pending in any server transaction of this bracket is committed, in order of use,
        // so that a closing call never loses changes made after an intermediate commit.
        ++b.commitDepth;
        std::vector<CTransaction*> pending = b.used;
        for (CTransaction* t : pending) {
            if (b.discardRequested) break;
            if (!CommitPending(t)) {
                refused = true;
                break;
            }
        }
        --b.commitDepth;
    }
    if (b.commitDepth > 0) return refused ? FALSE : TRUE;
    if (refused || b.discardRequested) {
        DiscardNow();
        return refused ? FALSE : TRUE;
    }
    if (!bEnd && !b.endRequested) return TRUE;
    // Each undo step is recorded after the work of the step before it, so that what that work notes
    // (the replay steps of its journal lines) goes to its own step.
    std::vector<UndoStep> steps = MakeUndoSteps();
    // Each step's name as the history shows it, for the journal lines its work writes.
    std::vector<CString> names;
    for (const UndoStep& step : steps)
        names.push_back(step.entry ? step.entry->GetName() : CString());
    CGXGridCore* const owner = b.grid;
    if (steps.front().entry) KXRecordUndoEntry(owner, std::move(steps.front().entry));
    std::vector<std::function<void()>> work = std::move(b.onCommitted);
    EndBracket();
    CString newest;
    for (const CString& name : names)
        if (!name.IsEmpty()) newest = name;
    std::size_t done = 0;
    ++g_stepWorkDepth;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const CString& name = names[i];
        if (i > 0 && steps[i].entry) KXRecordUndoEntry(owner, std::move(steps[i].entry));
        auto* const observer = g_stepWorkObserver;
        const bool named = observer && !name.IsEmpty() && done < steps[i].workEnd;
        if (named) observer(name.GetString());
        for (; done < steps[i].workEnd && done < work.size(); ++done)
            work[done]();
        if (named) observer(nullptr);
    }
    --g_stepWorkDepth;
    // What the edit writes from now on replays its newest step (an edit its work made belongs to it).
    if (g_stepWorkObserver && !newest.IsEmpty() && !g_stepAfterCommit && g_stepWorkDepth == 0) {
        g_stepAfterCommit = true;
        g_stepWorkObserver(newest.GetString());
    }
    return TRUE;
}

void KXEndStepOfJournalLines() {
    if (!std::exchange(g_stepAfterCommit, false)) return;
    if (g_stepWorkObserver) g_stepWorkObserver(nullptr);
}

void KXObserveCommittedStepWork(void (*observer)(const char* name)) {
    g_stepWorkObserver = observer;
}

namespace {
void (*g_replayGroupObserver)() = nullptr;
} // namespace

void KXObserveReplayGroupEnd(void (*observer)()) {
    g_replayGroupObserver = observer;
}

void KXReplayGroupEnded() {
    if (g_replayGroupObserver) g_replayGroupObserver();
}

void KXNameReplayedSteps(const char* name) {
    ReplayedStepName() = name ? name : "";
}

namespace {
constexpr const char* kStepBegins = " ' Undo step: ";
} // namespace

std::string KXJournalStepBegins(const std::string& name) {
    return kStepBegins + name;
}

const std::string& KXJournalStepEnds() {
    static const std::string line = " ' End of undo step";
    return line;
}

bool KXReadJournalStepBegins(const std::string& line, std::string& name) {
    // The line as the journal has it, or without the blanks around it.
    const std::string begins = std::string(kStepBegins).substr(1);
    const size_t at = line.find_first_not_of(' ');
    if (at == std::string::npos || line.compare(at, begins.size(), begins) != 0) return false;
    name = line.substr(at + begins.size());
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    return !name.empty();
}

bool KXSplitUndoStep(const char* name) {
    Bracket& b = B();
    if (!b.started || b.commitDepth > 0) return false;
    for (CTransaction* t : b.used)
        if (t->hasPendingChanges()) return false; // the caller commits what belongs to the first step
    b.splits.push_back({b.committed.size(), b.onCommitted.size(), CString(name ? name : "")});
    ++g_workStep;
    CKXTransaction::GetNewTransactionObj();
    return true;
}

unsigned KXCommittedWorkStep() {
    return g_workStep;
}

void KXRunWhenCommitted(std::function<void()> work) {
    Bracket& b = B();
    if (b.started)
        b.onCommitted.push_back(std::move(work));
    else
        work();
}

BOOL CKXTransaction::DiscardTrans(CGXGridCore*) {
    Bracket& b = B();
    if (!b.started) return FALSE;
    if (b.commitDepth > 0) {
        b.discardRequested = true;
        return TRUE;
    }
    DiscardNow();
    return TRUE;
}

BOOL CKXTransaction::IsConnTransactionCommitted() {
    Bracket& b = B();
    return b.started && !b.committed.empty();
}

CGXGridCore* CKXTransaction::GetGrid() { return B().started ? B().grid : nullptr; }

CString CKXTransaction::GetTransactionName() { return B().started ? B().name : CString(); }

