// The machinery of the entry sweep: a row is one road taken from a fresh window on the example board,
// what it answered, changed and said held against the rule every road keeps (see test_entry_sweep.cpp).
#pragma once

#include "KXDemoBoard.h"
#include "KXRandomEdits.h"
#include "KXSweepCauses.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "pane/KXBottomPaneContainerView.h"

#include "afx/afxanswer.h"
#include "afx/afxdisp.h"
#include "afx/afxmsg.h"
#include "afx/afxreg.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kxsweep {

namespace fs = std::filesystem;

// A pattern over a text: '*' stands for any text.
inline bool Matches(const char* p, const char* t) {
    if (!*p) return !*t;
    if (*p == '*') return Matches(p + 1, t) || (*t && Matches(p, t + 1));
    return *p == *t && Matches(p + 1, t + 1);
}

// Rows that meet a fault whose mend has not landed yet: a pattern over row names ("mode 2 / pin /
// one row / Delete / menu"; a comparison of an action's roads is named ".../ACTION / roads"), a
// pattern over the fault found ('*' any text in both) and the cause. A listed fault of a matching row
// is counted, not failed (KX_SWEEP_AWAITING=1 fails it too); every other fault of the row fails.
// Once the mend is in, its entry comes off the list.
struct Awaiting {
    const char* row;
    const char* fault;
    const char* cause;
};
// Defined beside the sweep's table (test_entry_sweep.cpp).
const std::vector<Awaiting>& RowsAwaitingAMend();

inline const Awaiting* AwaitedBy(const std::string& row, const std::string& fault) {
    for (const Awaiting& a : RowsAwaitingAMend())
        if (Matches(a.row, row.c_str()) && Matches(a.fault, fault.c_str())) return &a;
    return nullptr;
}

inline constexpr const char* kEpoch = "1780000000";

// What an action may change when it does its work: what decides the modes whose window may not do it.
enum class Owns {
    Nothing,  // reads, selections, dumps, view settings, the clipboard
    Logical,  // the design's logical connectivity, terminations, pull-ups, properties
    Physical, // pin numbers, swaps and models of the physical view
    Comment,  // pin and design comments
    Files,    // saves
};

enum class Road { Word, Method, Menu, Key };

inline const char* RoadName(Road r) {
    switch (r) {
    case Road::Word: return "word";
    case Road::Method: return "method";
    case Road::Menu: return "menu";
    case Road::Key: return "key";
    }
    return "?";
}

struct Way {
    Road road;
    std::string tcl;
};

// An action and every way to it. `doneAsTwo`: the word's 2 also stands for work done (a plain signal
// name connected by `addConnection pin`, as the grid itself echoes it).
struct Action {
    std::string name;
    Owns owns;
    std::vector<Way> ways;
    bool doneAsTwo = false;
    // The pins its ways name by key: none, pins the pane shows, or a key no shown pin has.
    enum class Keys { None, Shown, Unknown } keys = Keys::None;
    // Its ways differ by where they put the keyboard first: the view they leave is theirs.
    bool focusRoads = false;
    // Its line is no command (a pane's word without its grid word): refused with its usage in any window.
    bool usage = false;
    // Its menu road answers the command's dialog with a value the dialog does not offer: the id of that
    // refusal, which the road must give where it met the dialog. Up to the dialog its roads took one
    // input; past it they did not, and are not compared there.
    const char* notOffered = nullptr;
};

enum class Shown { Pin, Signal, Matrix, PhysPart, PhysNet, Nothing };

inline const char* ShownName(Shown s) {
    switch (s) {
    case Shown::Pin: return "pin";
    case Shown::Signal: return "signal";
    case Shown::Matrix: return "matrix";
    case Shown::PhysPart: return "physical part";
    case Shown::PhysNet: return "physical net";
    case Shown::Nothing: return "nothing";
    }
    return "?";
}

struct Context {
    int mode;
    Shown shown;
    std::string selection;
    std::string setup; // Tcl, run after the open
    bool copied = false;    // the set-up copied a cell the shown grid takes
    bool noCell = false;    // the set-up left the active grid with no current or selected cell
    bool connected = false; // the pins the selection chose are connected
    bool onePin = false;    // the selection chose one pin
    std::string swapTo = {}; // a number the Swap Pins dialog offers the chosen pin (its swap group), if any
};

// The actions of several roads, the words of the two command tables and the keys of the grids
// (test_entry_sweep.cpp).
std::vector<Action> JoinedActions();
std::vector<Action> WordActions();
const std::vector<std::string>& Keys();
// The Swap Pins roads in a context: a number its dialog offers where the context has one.
std::vector<Action> SwapPinsActions(const Context& c);

// Selections that choose rows an action can take: a refusal there has rows to act on.
inline bool ChoosesRows(const Context& c) {
    static const std::set<std::string> rows = {"one row",
                                               "two rows",
                                               "bus row",
                                               "pair row",
                                               "one in each",
                                               "one in each of three",
                                               "over both",
                                               "pin of a swap group",
                                               "pin of a swap group beside another grid",
                                               "pack pin, partner of another instance",
                                               "pack pin, partner without a logical pin"};
    return rows.count(c.selection) != 0;
}

// What a kind of grid shows on the example board, and its selections.
// Roads whose 1 need not change what this host can see: a selection answers 1 for what it selects
// even when it was selected already (a journal's selection line stops a replay when it answers 0),
// and the items that show the host's own windows (the property editor 35071, the associated-component
// viewer 35574, the properties 35659) change nothing of the editor's.
inline bool OneNeedsNoChange(const Way& way) {
    static const std::vector<std::string> roads = {"kx::menu 35071", "kx::menu 35574", "kx::menu 35659"};
    for (const std::string& r : roads)
        if (way.tcl == r) return true;
    // A view option answers 1 for the option it sets, whether or not the grid shows a row it changes (the
    // grids of two resistors have no bus or pair row).
    return way.tcl.find("Select") != std::string::npos || way.tcl.find("selectObject") != std::string::npos ||
           way.tcl.find("selectWindow") != std::string::npos || way.tcl.rfind("setViewOption ", 0) == 0 ||
           way.tcl.rfind("expandPins ", 0) == 0;
}

// What a row leaves: everything a road may own.
struct State {
    std::string design, comments, view, clipboard, files, written, settings;
    int undo = 0, redo = 0, windows = 0;
    // The requests the window sent to the tools listening for them: for the design, and to go to a pin in
    // the other view (the host's work, which this host leaves undone).
    size_t told = 0;
    bool modified = false;
};

inline std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below the folder, by name and content, in name order.
inline std::string FilesBelow(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::string all;
    for (const fs::path& f : files)
        all += "== " + fs::relative(f, dir).string() + "\n" + ReadAll(f);
    return all;
}

// The part of a listing of files whose names another listing has.
inline std::string FilesOf(const std::string& listing, const std::string& names) {
    std::set<std::string> wanted;
    std::istringstream n(names);
    for (std::string line; std::getline(n, line);)
        if (line.rfind("== ", 0) == 0) wanted.insert(line);
    std::string out;
    bool keep = false;
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) == 0) keep = wanted.count(line) != 0;
        if (keep) out += line + "\n";
    }
    return out;
}

// The first file where two listings differ, by name.
inline std::string FirstFileDifference(const std::string& got, const std::string& want) {
    std::istringstream a(got), b(want);
    std::string x, y, file;
    for (;;) {
        const bool moreA = static_cast<bool>(std::getline(a, x)), moreB = static_cast<bool>(std::getline(b, y));
        if (moreA && x.rfind("== ", 0) == 0) file = x.substr(3);
        if (!moreA && !moreB) return std::string();
        if (!moreA || !moreB || x != y)
            return file + ": \"" + (moreA ? x : "<end>") + "\" instead of \"" + (moreB ? y : "<end>") + "\"";
    }
}

struct Outcome {
    std::string answer;
    std::vector<std::string> messages;
    std::string changed; // what changed: "design undo view ..." ("" none)
    std::vector<std::string> faults; // why the row breaks the rule
    bool disabled = false; // a menu item or accelerator that was disabled
    bool dialog = false;   // a dialog was met
};

class EntrySweepRows : public DemoBoard {
protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", kEpoch, 1);
        ::setenv("KX_ALLOW_SWAP_PINS", "1", 1); // the Swap Pins roads
        DemoBoard::SetUp();
        CKXWinAPI::SetDateTimeSource(nullptr); // comments take SOURCE_DATE_EPOCH's time, as in the fresh host
        // Settings are flushed at every change of a view: in memory where the system offers it.
        if (fs::exists("/dev/shm")) {
            m_registry = fs::path("/dev/shm") / ("kxsweep-registry-" + std::to_string(::getpid()));
            fs::remove_all(m_registry);
            fs::create_directories(m_registry);
            AfxSetRegistryDirectory(m_registry.c_str());
        }
    }
    void TearDown() override {
        DemoBoard::TearDown();
        ::unsetenv("SOURCE_DATE_EPOCH");
        ::unsetenv("KX_ALLOW_SWAP_PINS");
        std::error_code ec;
        if (!m_registry.empty()) fs::remove_all(m_registry, ec);
    }
    // A fresh host on a fresh copy of the board, for the next road.
    void Fresh() {
        TearDown();
        std::error_code ec;
        fs::current_path(m_oldCwd, ec);
        fs::remove_all(m_dir, ec);
        SetUp();
    }

    fs::path Library() const { return m_dir / "demo"; }

    std::string DesignText(const char* name) {
        IServer* server = CKXShareGlobalData::m_pServer;
        IDesign* d = server ? server->findDesign(name) : nullptr;
        if (!d) return "none";
        // In memory where the system offers it: a save flushes its files to disk.
        static const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path dir = base / ("kxsweep-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        CString error;
        if (!server->saveDesignAs(d, dir.c_str(), "demo", "snap", "sch", &error)) return "ERROR " + error.str();
        const std::string text = FilesBelow(dir);
        fs::remove_all(dir);
        return text;
    }

    State Mark() {
        State s;
        s.design = DesignText("demo.board:sch") + DesignText("demo.PWR:sch");
        if (CKXTableDoc* doc = Doc()) {
            s.modified = doc->IsModified();
            if (CComments* store = doc->GetComments()) {
                CString text, date, time, user;
                if (store->getDesignComments(text, date, time, user)) s.comments += "design: " + text.str() + "\n";
                for (const char* pin : {"MCLK", "PGOOD", "RST_N", "CLK", "A<12..0>", "DQ<15..0>", "TX<3..0>", "DQ<3>"})
                    if (store->getPinComments("U1", pin, text, date, time, user))
                        s.comments += std::string(pin) + ": " + text.str() + "\n";
            }
        }
        for (CKXBottomPaneContainerView* pane : Panes()) {
            s.undo += pane->GetUndoStepCount();
            s.redo += pane->GetRedoStepCount();
            ++s.windows;
        }
        s.view = Run("kx::window ccp") + Run("kx::grid ccp cell") + Run("kx::window slp selected") +
                 Run("kx::window clp selected") + Run("kx::focus") + Run("kx::ccpbar") + Run("kx::menustate 35672");
        CString text;
        if (CKXImpClipBoard::GetCFText(text)) s.clipboard = text.str();
        s.clipboard += "#" + std::to_string(CKXImpClipBoard::GetViewerItemCount());
        s.files = FilesBelow(Library());
        if (!m_registry.empty()) s.settings = FilesBelow(m_registry);
        s.told = Notifications(MSG_DESIGN_REQUEST).size() + Notifications(MSG_EDIT_PIN).size();
        // Files a road writes by relative name land in the working folder.
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(m_dir, ec))
            if (e.is_regular_file() && e.path().extension() != ".vbs")
                s.written += e.path().filename().string() + " " + std::to_string(e.file_size()) + "\n";
        return s;
    }

    static std::string Changes(const State& a, const State& b) {
        std::string out;
        auto note = [&out](bool differs, const char* what) {
            if (differs) out += std::string(out.empty() ? "" : " ") + what;
        };
        note(a.design != b.design, "design");
        note(a.comments != b.comments, "comments");
        note(a.undo != b.undo || a.redo != b.redo, "undo");
        note(a.files != b.files, "files");
        note(a.written != b.written, "written");
        note(a.windows != b.windows, "windows");
        note(a.view != b.view, "view");
        note(a.clipboard != b.clipboard, "clipboard");
        note(a.settings != b.settings, "settings");
        note(a.told != b.told, "told");
        return out;
    }

    // Whether the window of the mode may do the work the action owns.
    static bool MayNotEdit(int mode, Owns owns) {
        switch (owns) {
        case Owns::Logical: return mode == 2 || mode == 4;
        case Owns::Physical: return mode == 2;
        case Owns::Comment: return mode == 0 || mode == 2 || mode == 4;
        case Owns::Files:
        case Owns::Nothing: return mode == 2;
        }
        return false;
    }

    // What the sweep knows of the row's situation, for the cause its refusal names.
    static Situation SituationOf(const Context& c, const Action& a) {
        const bool edit = a.owns == Owns::Logical || a.owns == Owns::Physical || a.owns == Owns::Comment;
        Situation s;
        s.usage = a.usage;
        s.readOnlyWindow = c.mode == 2;
        s.readOnlyEdit = c.mode == 2 && edit;
        s.physicalView = c.mode == 4;
        s.noGrid = c.shown == Shown::Nothing;
        s.rowsChosen = ChoosesRows(c);
        s.keyNamesNoPin = a.keys == Action::Keys::Unknown;
        s.keyNamesPins = a.keys == Action::Keys::Shown;
        s.cellCopied = c.copied;
        s.noCellChosen = c.noCell;
        s.pinsConnected = c.connected;
        s.onePin = c.onePin;
        return s;
    }

    // Runs one way of an action in the context from a fresh window; the outcome with the faults found.
    Outcome RunRow(const Context& c, const Action& a, const Way& way, bool replay) {
        Outcome o;
        Fresh();
        if (Run("kx::open demo.board:sch " + std::to_string(c.mode)) != "1") return o.faults.push_back("the window did not open"), o;
        if (!c.setup.empty()) {
            const std::string r = Run(c.setup);
            if (r.rfind("error", 0) == 0) return o.faults.push_back("the set-up failed: " + r), o;
        }
        AfxGetAnswerQueue().ClearPending();
        Messages();
        const size_t transcript = Transcript().size();
        const size_t answers = AnswerLog().size();
        const size_t journal = JournalText().size();
        const State before = Mark();
        o.answer = Run(way.tcl);
        AfxGetAnswerQueue().ClearPending();
        o.messages = Messages();
        const std::string said = Transcript().substr(std::min(transcript, Transcript().size()));
        // A cell that takes no typing opens no control: the host's line says so, as the screen shows
        // nothing to type into; that line is the road's word.
        if (o.answer == "0" && o.messages.empty() && said.find(" takes no typing") != std::string::npos)
            o.messages.push_back("takes no typing");
        const bool met = AnswerLog().size() > answers || said.find("unanswered:") != std::string::npos;
        const std::vector<std::string> log = AnswerLog();
        o.dialog =
            std::any_of(log.begin() + static_cast<std::ptrdiff_t>(std::min(answers, log.size())), log.end(),
                        [](const std::string& line) { return line.rfind("dialog ", 0) == 0; });
        const State after = Mark();
        o.changed = Changes(before, after);
        const bool designChanged = before.design != after.design || before.comments != after.comments ||
                                   before.undo != after.undo || before.redo != after.redo || before.files != after.files;
        auto fault = [&o](const std::string& what) { o.faults.push_back(what); };
        // A disabled menu item or accelerator runs nothing: the host says so, the editor has no word.
        o.disabled = (way.road == Road::Menu && said.find("is disabled") != std::string::npos) ||
                     (way.road == Road::Key && way.tcl.find("Ctrl+") != std::string::npos && o.answer == "0" &&
                      o.messages.empty());
        const bool disabledMenu = o.disabled;
        // A plain key is the user's hand on the grid: its 1 says the key went in, whatever it did.
        const bool hand = way.road == Road::Key && way.tcl.find("Ctrl+") == std::string::npos &&
                          way.tcl.find("Delete") == std::string::npos;
        const bool object = way.road == Road::Method && (way.tcl.find(" InitTermination") != std::string::npos ||
                                                          way.tcl.find(" InitPUPD") != std::string::npos);
        if (o.answer == "1") {
            // A save writes the files again, whether or not their bytes change.
            const bool save = a.owns == Owns::Files && way.tcl.find("ave") != std::string::npos;
            if (o.changed.empty() && !object && !hand && !save && !OneNeedsNoChange(way))
                fault("answered 1 and changed nothing");
        } else if (o.answer == "0" || (o.answer == "3" && way.tcl.rfind("changeCustomColumn", 0) == 0)) {
            if (designChanged || before.windows != after.windows) fault("answered 0 and changed: " + o.changed);
            if (JournalText().size() > journal) fault("answered 0 and journalled: " + JournalText().substr(journal, 200));
            // A method cannot answer 2: its 0 after a dialog the user cancelled is that answer, and says nothing.
            const bool cancelledByMethod = way.road == Road::Method && met && o.messages.empty();
            if (o.messages.size() != 1 && !disabledMenu && !cancelledByMethod)
                fault("answered 0 with " + std::to_string(o.messages.size()) + " messages");
            if (!disabledMenu)
                for (const std::string& f : CauseFaults(SituationOf(c, a), o.messages))
                    fault(f);
        } else if (o.answer == "2") {
            if (!met && !(a.doneAsTwo && designChanged)) fault("answered 2 with no dialog or question met");
            if (designChanged && !a.doneAsTwo) fault("answered 2 and changed: " + o.changed);
        } else if (!object) {
            fault("answered \"" + o.answer.substr(0, 80) + "\"");
        } else {
            // A preparation that answers an object says why it prepared nothing.
            for (const std::string& f : CauseFaults(SituationOf(c, a), o.messages))
                fault(f);
        }
        if (a.notOffered && way.road == Road::Menu && o.dialog &&
            (o.answer != "0" || o.messages != std::vector<std::string>{a.notOffered}))
            fault(std::string("its dialog, given a value it does not offer, did not refuse it with ") +
                  a.notOffered);
        if (MayNotEdit(c.mode, a.owns)) {
            // A save may add the files a design keeps beside it (its comments); the files there stay as they were.
            const bool save = a.owns == Owns::Files;
            const std::string was = save ? FilesOf(before.files, before.files) : before.files;
            const std::string kept = save ? FilesOf(after.files, before.files) : after.files;
            if (was != kept) fault("the files changed: " + FirstFileDifference(kept, was));
            if (after.modified && !before.modified) fault("the document is marked modified");
            if (before.design != after.design) fault("the design changed");
            if (before.comments != after.comments) fault("the comments changed");
        }
        if (replay && o.faults.empty() && designChanged && JournalText().size() > journal) ReplayRow(c, o);
        return o;
    }

    // The first step of a history (kx::history) whose journal replays as more than one step: an edit is
    // one undo step, in the session and in a replay of its journal alike.
    static std::string StepReplayedAsSeveral(const std::string& history) {
        static const std::string mark = " (replays as ";
        std::istringstream in(history);
        for (std::string line; std::getline(in, line);)
            if (const size_t at = line.rfind(mark); at != std::string::npos && std::atoi(line.c_str() + at + mark.size()) > 1)
                return line;
        return std::string();
    }

    // The row's journal replayed by a fresh kxhost with an empty registry on a fresh copy of the board:
    // after the same save on both sides, the same files and the same undo history: in every window the
    // same undo and redo steps, with the same names.
    void ReplayRow(const Context& c, Outcome& o) {
        std::string save;
        switch (c.mode) {
        case 1: save = "kx::answer dialog CKXCreateBlockDlg ok library demo block sweep_saved; "; break;
        case 2: save = "kx::answer dialog CKXDontAskAgainDlg ok; "; break;
        default: break;
        }
        save += "catch {saveDesign}";
        Run("kx::journal");
        if (Doc()) Run(save);
        AfxGetAnswerQueue().ClearPending();
        const std::string journal = JournalText();
        const std::string session = FilesBelow(Library());
        const std::string sessionHistory = Run("kx::history");
        const fs::path dir = m_dir / "fresh";
        fs::create_directories(dir / "registry");
        const char* src = std::getenv("KX_TEST_SOURCE_DIR");
        fs::copy(fs::path(src ? src : ".") / "examples" / "designs", dir / "lib", fs::copy_options::recursive);
        std::ofstream(dir / "session.vbs", std::ios::binary) << journal;
        std::ofstream(dir / "replay.tcl", std::ios::binary)
            << "kx::replay session.vbs\nif {[catch {kx::window ccp}] == 0} { " << save
            << " }\nset f [open history.txt w]; puts -nonewline $f [kx::history]; close $f\n"
            << "set f [open replayed w]; close $f\n";
        const std::string command = "cd '" + dir.string() + "' && KX_REGISTRY_DIR='" + (dir / "registry").string() +
                                    "' KX_CUSTOMIZE_DIR= USER=tester LOGNAME=tester SOURCE_DATE_EPOCH=" + kEpoch +
                                    " ASAN_OPTIONS=detect_leaks=0 '" KXHOST_PATH
                                    "' --lib lib --quiet replay.tcl </dev/null >host.log 2>&1";
        const int status = std::system(command.c_str());
        std::string f;
        if (const std::string split = StepReplayedAsSeveral(sessionHistory); !split.empty())
            f = "an undo step of the session replays as several: " + split;
        else if (status != 0 || !fs::exists(dir / "replayed"))
            f = "the journal did not replay in a fresh host: " + ReadAll(dir / "host.log").substr(0, 400);
        else if (const std::string d = FirstFileDifference(FilesBelow(dir / "lib"), session); !d.empty())
            f = "the replay leaves other files: " + d;
        else if (const std::string h = kxrandom::OtherHistory(ReadAll(dir / "history.txt"), sessionHistory); !h.empty())
            f = "the replay's undo steps differ" + h + ":\n" + ReadAll(dir / "history.txt") + "\ninstead of\n" +
                sessionHistory;
        // The journal goes with the fault to the report, not into what the awaiting list matches.
        if (!f.empty()) o.faults.push_back(f), m_lastJournal = journal;
    }


    // Runs the rows of the mode the sample takes, each context with its actions; each action's ways are
    // compared with each other. `counts`: the methods and menu commands the table was read from.
    void SweepRows(int mode, const std::vector<Context>& contexts,
                   const std::function<std::vector<Action>(const Context&)>& actionsOf,
                   const std::pair<size_t, size_t>& counts) {
        const char* sweep = std::getenv("KX_SWEEP");
        const int every = !sweep ? 31 : std::string(sweep) == "all" ? 1 : std::max(1, std::atoi(sweep));
        const char* only = std::getenv("KX_SWEEP_ROWS");
        const bool awaiting = std::getenv("KX_SWEEP_AWAITING") != nullptr;
        const bool trace = std::getenv("KX_SWEEP_TRACE") != nullptr;
        int rows = 0, cells = 0, run = 0, left = 0, failed = 0;
        // A fault the awaiting list names is counted; any other fails the test.
        auto report = [&](const std::string& row, const std::string& road, const std::string& fault) {
            if (AwaitedBy(row, fault) && !awaiting) {
                ++left;
                return;
            }
            ++failed;
            ADD_FAILURE() << row << ": " << road << ": " << fault
                          << (m_lastJournal.empty() ? "" : "\njournal:\n" + m_lastJournal);
        };
        for (const Context& c : contexts)
            for (const Action& a : actionsOf(c)) {
                const std::string cell = "mode " + std::to_string(mode) + " / " + ShownName(c.shown) + " / " +
                                         c.selection + " / " + a.name;
                std::vector<std::pair<const Way*, Outcome>> outcomes;
                // The sample takes an action's roads together, those of several roads more often.
                const int cellIndex = cells++;
                const int rate = a.ways.size() > 1 ? std::max(1, every / 4) : every;
                for (const Way& way : a.ways) {
                    // Keys need a grid under the hands.
                    if (way.road == Road::Key && c.shown == Shown::Nothing) continue;
                    const std::string row = cell + " / " + RoadName(way.road);
                    ++rows;
                    if (only ? !Matches(only, row.c_str()) : cellIndex % rate != 0) continue;
                    ++run;
                    m_lastJournal.clear();
                    Outcome o = RunRow(c, a, way, std::getenv("KX_SWEEP_NOREPLAY") == nullptr);
                    if (trace) {
                        std::cerr << row << ": " << way.tcl << " -> " << o.answer << " [";
                        for (const std::string& m : o.messages)
                            std::cerr << " " << m;
                        std::cerr << " ] " << o.changed;
                        for (const std::string& f : o.faults)
                            std::cerr << " FAULT " << f;
                        std::cerr << "\n";
                    }
                    for (const std::string& f : o.faults)
                        report(row, way.tcl + " -> " + o.answer, f);
                    outcomes.emplace_back(&way, std::move(o));
                }
                // The roads to one action, from the same state: the same answer, change and message (an
                // automation method answers 0 where a cancelled dialog answers 2: it cannot answer 2).
                // A disabled menu item or accelerator is no road the user can take: it is left out.
                std::erase_if(outcomes, [](const auto& wo) { return wo.second.disabled; });
                // In the physical view the grids' Delete takes the selected pins' models off, while
                // deleteConnection, a word of connections, is refused there (KXTABLE-397): two actions.
                if (mode == 4 && a.name == "Delete")
                    std::erase_if(outcomes, [](const auto& wo) { return wo.first->road == Road::Word; });
                // A road whose dialog was given a value it does not offer took another input from there on.
                if (a.notOffered)
                    std::erase_if(outcomes, [](const auto& wo) {
                        return wo.first->road == Road::Menu && wo.second.dialog;
                    });
                for (size_t i = 1; i < outcomes.size(); ++i) {
                    const auto& [w0, o0] = outcomes.front();
                    const auto& [wi, oi] = outcomes[i];
                    auto norm = [&a](const Way* w, const Outcome& o) {
                        if (a.doneAsTwo && w->road == Road::Word && o.answer == "2" && !o.changed.empty())
                            return std::string("1");
                        return w->road == Road::Method && o.answer == "0" ? std::string("0|2")
                               : o.answer == "2" ? std::string("0|2") : o.answer;
                    };
                    const std::string n0 = norm(w0, o0), ni = norm(wi, oi);
                    const bool sameAnswer = o0.answer == oi.answer || (n0 == ni && n0 == "1") ||
                                            (n0 == "0|2" && ni == "0|2" &&
                                             (w0->road == Road::Method || wi->road == Road::Method));
                    const bool sameWords = o0.messages == oi.messages || o0.disabled || oi.disabled;
                    // A key puts the hands on the grid first, and a method reaches its pane through the
                    // document's ConnectivityPane(), which activates the pane: the focus and the cell
                    // that gives it are the road's own, not the refused action's.
                    auto activates = [](const Way* w) { return w->road == Road::Key || w->road == Road::Method; };
                    auto changedBy = [&](const Way* w, const Outcome& o, const Way* other) {
                        const bool keyRefused = (activates(w) || activates(other)) && o0.answer == "0" &&
                                                oi.answer == "0";
                        if (!keyRefused && !a.focusRoads) return o.changed;
                        std::string out;
                        std::istringstream words(o.changed);
                        for (std::string word; words >> word;)
                            if (word != "view") out += (out.empty() ? "" : " ") + word;
                        return out;
                    };
                    const bool sameChange = changedBy(w0, o0, wi) == changedBy(wi, oi, w0);
                    if (!sameAnswer || !sameChange || !sameWords) {
                        std::ostringstream what;
                        what << w0->tcl << " -> " << o0.answer << " " << ::testing::PrintToString(o0.messages) << " "
                             << o0.changed << "; " << wi->tcl << " -> " << oi.answer << " "
                             << ::testing::PrintToString(oi.messages) << " " << oi.changed;
                        report(cell + " / roads", what.str(), "the roads differ");
                        if (trace) std::cerr << cell << " / roads: the roads differ: " << what.str() << "\n";
                    }
                }
            }
        RecordProperty("rows", rows);
        RecordProperty("run", run);
        std::cerr << "mode " << mode << ": " << rows << " rows, " << run << " run, " << left << " faults awaiting a mend, "
                  << failed << " failed; " << counts.first << " methods, " << counts.second << " menu commands\n";
    }

    std::string m_lastJournal; // the journal of the last row whose replay failed
    fs::path m_registry;
};

} // namespace kxsweep
