// One random user session: its actions, each checked as it goes, and the checks after them (undo
// and redo over every window, the replay of its journal in a fresh host).
#include "KXRandomEditsFixture.h"

namespace kxrandom {

bool RandomEdits::RunSequence(unsigned seed, std::string& why) {
    // KX_EDIT_SCRIPT=<file> runs the file's lines as the sequence instead (to make a failure smaller).
    std::vector<std::string> scripted;
    if (const char* file = std::getenv("KX_EDIT_SCRIPT")) {
        std::ifstream in(file);
        if (!in) return why = std::string("KX_EDIT_SCRIPT ") + file + " cannot be read", false;
        for (std::string text; std::getline(in, text);)
            if (!text.empty()) scripted.push_back(text);
        if (in.bad()) return why = std::string("KX_EDIT_SCRIPT ") + file + " cannot be read", false;
        if (scripted.empty()) return why = std::string("KX_EDIT_SCRIPT ") + file + " holds no edits", false;
    }
    // Each session starts from the library as shipped and the suite's settings, in a host of its own,
    // as the fresh host that replays its journal does: a seed runs alone as it runs in a range.
    if (m_sessionRan) Restart();
    m_sessionRan = true;
    m_baselineKnown = true;
    if (HasFatalFailure()) return why = "the fixture did not start again", false;
    if (WindowCount() > 0) return why = "a window of the session before is still open", false;
    KeepSettings();
    const size_t journalStart = JournalText().size();
    if (!Open("demo.board:sch", 3)) return why = "the design does not open", false;
    Run(kFirstShow);
    // Each sequence starts from an empty clipboard: a seed runs alone as it runs in a range.
    CKXImpClipBoard::Reset();
    std::string lines;
    if (!RunActions(seed, scripted, lines, why)) return false;
    return CheckSession(seed, journalStart, lines, why);
}

// The session's actions, each checked as it goes: a window stays, no transaction stays open, and an
// action that names its target changes no other pin's connection.
bool RandomEdits::RunActions(unsigned seed, const std::vector<std::string>& scripted, std::string& lines,
                             std::string& why) {
    Rng rng(seed);
    EditWorld world;
    m_kinds.clear();
    // About one commit in six refused by the database; drawn apart from the edits, so that a sequence
    // run from KX_EDIT_SCRIPT meets the same refusals.
    Rng faults(seed ^ 0x5bd1e995u);
    std::bernoulli_distribution refuse(1.0 / 6);
    int refused = 0; // commits the database refused during the current action (for KX_EDIT_TRACE)
    Server()->setCommitFault([&] { return refuse(faults) && ++refused; });
    int edits = std::uniform_int_distribution<int>(60, 100)(rng);
    if (!scripted.empty()) edits = static_cast<int>(scripted.size());
    for (int i = 0; i < edits; ++i) {
        // The last action saves the first window (the session's end state goes to its files); the host's
        // exit then closes the windows left open.
        const EditKind* kind = !scripted.empty() || i + 1 == edits ? nullptr : &Pick(rng, EditKinds());
        std::string line = !scripted.empty() ? scripted[i] : kind ? kind->line(rng, world) : std::string(kLastSave);
        m_kinds += std::string(kind ? kind->name : "-") + "\n";
        // A close without saving, and a reopen, when one window is open: the design is as saved.
        if (scripted.empty() && OneIn(rng, 25) && Panes().size() == 1)
            line = kCloseAndReopen;
        lines += line + "\n";
        std::vector<std::string> target;
        const bool targeted = !TargetOf(line, target).empty();
        const std::map<std::string, std::string> netBefore = targeted ? OpenDesignNetlists() : std::map<std::string, std::string>();
        refused = 0;
        const bool lastWindow = Panes().size() == 1;
        const int history = HistoryCount();
        const int savedSteps = SavedStepCount();
        const std::multiset<std::string> shownBefore = ShownDesigns();
        const size_t journalBefore = JournalText().size();
        const std::string result = Run(line);
        // A change outside the undo history: undoing every step gives the design as it was before it
        // no more.
        if (line.find(kOutsideUndo) != std::string::npos) m_baselineKnown = false;
        const bool closes = line.find("kx::close") != std::string::npos || line.find("closeDesign") != std::string::npos;
        if (closes) {
            // The last window closed (and opened again): the design is as last saved, the steps
            // before are gone. Another window that closed keeping its edits (saved, or the steps
            // the design was saved with, which a close without saving leaves) took its steps with
            // it: what undoing every step gives is no longer known. The steps such a close takes back
            // are no guide: one step may journal several undos. A window closed without saving while
            // another window shows its design leaves its changes in that design (and in its file,
            // when the other window saved them), whatever else the line did.
            const bool tookSteps = HistoryCount() < history;
            const std::string closing = JournalText().substr(journalBefore);
            if (tookSteps && lastWindow && HistoryCount() == 0) m_saved = SavedDesignText();
            else if ((tookSteps && (closing.find(".Close()") != std::string::npos ||
                                    closing.find(".Close(\"Keep\")") != std::string::npos ||
                                    SavedStepCount() < savedSteps)) ||
                     AClosedWindowsDesignStaysShown(shownBefore))
                m_baselineKnown = false;
        }
        if (std::getenv("KX_EDIT_TRACE")) {
            std::cerr << line << " -> " << result << " steps " << StepCount() << " refused commits " << refused
                      << " messages";
            for (const std::string& id : Messages())
                std::cerr << " " << id;
            std::cerr << "\n";
        }
        if (!Doc()) return Server()->setCommitFault(nullptr), why = "no window is open after\n" + lines, false;
        if (const size_t at = result.find("FAULT: "); at != std::string::npos)
            return Server()->setCommitFault(nullptr), why = result.substr(at) + "\nedits:\n" + lines, false;
        // Every edit ends its transaction: one left open would swallow the edits that follow.
        if (CKXTransaction::IsTransactionStarted())
            return Server()->setCommitFault(nullptr), why = "a transaction stays open after\n" + lines, false;
        if (!targeted) continue;
        // Each design a window showed before and after the action (a design whose last window closed
        // without saving is as saved: the close's own check holds it).
        for (const auto& [design, after] : OpenDesignNetlists()) {
            const auto before = netBefore.find(design);
            if (before == netBefore.end()) continue;
            if (const std::string outside = ChangesOutsideTarget(before->second, after, target); !outside.empty())
                return Server()->setCommitFault(nullptr),
                       why = "the last action changed connections of " + design + " it does not name:" + outside +
                             "\nedits:\n" + lines,
                       false;
        }
    }
    Server()->setCommitFault(nullptr);
    return true;
}

// After the actions: undoing every step gives the saved design, redoing them the end state (twice
// over); then the host exits, closing the windows the session left open, and the session's journal
// (less the checks' own undo and redo) replayed by a fresh kxhost process leaves the same files.
bool RandomEdits::CheckSession(unsigned, size_t journalStart, const std::string& lines, std::string& why) {
    AfxGetAnswerQueue().ClearPending();
    Messages();
    const std::string endDesign = DesignText();
    const std::string history = Run("kx::history");
    const size_t actionsEnd = JournalText().size();
    auto fail = [&](const std::string& what) {
        std::string shown;
        for (const std::string& id : Messages())
            shown += id + " ";
        why = what + (shown.empty() ? "" : " (messages: " + shown + ")") + "\nedits:\n" + lines;
        return false;
    };
    if (RoadOpen("unique reference designators"))
        if (const std::string twice = DuplicateReferenceDesignators(endDesign); !twice.empty())
            return fail("a reference designator is carried twice:" + twice);
    const auto modified = ModifiedFlags();
    std::string undone; // what the first undo of every step gave
    for (int round = 0; round < 2; ++round) {
        if (!UndoAll()) return fail("a step could not be undone");
        const std::string now = DesignText();
        if (round == 0) undone = now;
        if (m_baselineKnown && now != m_saved)
            return fail("undoing every step does not give the saved design back" + FirstDifference(now, m_saved));
        if (now != undone)
            return fail("undoing every step again does not give what the first undo gave" + FirstDifference(now, undone));
        if (!RedoAll()) return fail("a step could not be redone");
        if (const std::string now = DesignText(); now != endDesign)
            return fail("redoing every step does not give the end state" + FirstDifference(now, endDesign));
    }
    PutBack(modified);
    const size_t checksEnd = JournalText().size();
    // The user leaves the host with the windows open: it closes them as it exits.
    m_app->Stop();
    const std::string all = JournalText();
    const std::string journal = all.substr(journalStart, actionsEnd - journalStart);
    const std::string atExit = RoadOpen("closes at exit") ? all.substr(checksEnd) : std::string();
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    // KX_EDIT_HOST=<kxhost>: another host replays (a copy of the build that long runs use).
    const char* host = std::getenv("KX_EDIT_HOST");
    const bool emptySettings = RoadOpen("user columns in a fresh registry");
    FreshReplay run{m_dir / "fresh", fs::path(src ? src : ".") / "examples" / "designs",
                    emptySettings ? fs::path() : m_dir / "settings", m_lib, host ? host : KXHOST_PATH, kEpoch,
                    journal, atExit, history};
    std::string replayWhy;
    if (!ReplayInFreshHost(run, replayWhy)) return fail(replayWhy + "\njournal:\n" + journal + atExit);
    return true;
}

void RandomEdits::RunSessions(unsigned first, unsigned count) {
    for (unsigned seed = first; seed < first + count; ++seed) {
        std::string why;
        if (!RunSequence(seed, why)) {
            ADD_FAILURE() << "seed " << seed << " (KX_EDIT_SEED=" << seed << "): " << why << "\nkinds of the edits:\n"
                          << m_kinds;
            return;
        }
    }
}

void RandomEdits::RunScript(const std::string& name, const std::string& text) {
    const fs::path script = m_dir / name;
    std::ofstream(script) << text;
    const ScriptVariable session(script.string());
    std::string why;
    EXPECT_TRUE(RunSequence(1, why)) << name << ": " << why;
}

}  // namespace kxrandom
