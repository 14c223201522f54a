// The sweep over every entry point of the design window: each script word, automation method (the
// pane's, the lists', the document's), menu command and key, in each open mode, over each kind of
// grid the pane shows and a few selections. A row is one road taken from a fresh window on the
// example board; what it answered, what it changed and what it said are held against the one rule
// every road keeps:
// - 1: something the road owns changed (the design, the comments, the undo history, the view, the
//   clipboard or a file); 0: one message, and nothing changed; 2: a dialog or a question was met;
// - where the window may not do the work (open mode 2 for every edit, 4 for logical edits and
//   comments, 0 for comments), every file byte for byte as before and the document not modified;
// - the row's journal, replayed by a fresh kxhost with an empty registry, gives the same files and
//   the same undo history (every window's undo and redo steps, under the same names);
// - the roads to one action (word, method, menu, key) answer alike, change alike and say the same.
//
// `make test` takes a fixed sample of the table; KX_SWEEP=all takes every row, KX_SWEEP=N every N-th.
// KX_SWEEP_ROWS=PATTERN takes the rows whose names match ('*' any text); KX_SWEEP_AWAITING=1 fails the
// faults awaiting a mend too. KX_SWEEP_TRACE=1 prints each row with its answer.
#include "KXDemoBoard.h"
#include "KXRandomEdits.h"

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
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

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
const std::vector<Awaiting>& RowsAwaitingAMend() {
    // None today: every row of the whole table keeps the rules.
    static const std::vector<Awaiting> rows;
    return rows;
}

bool Matches(const char* p, const char* t) {
    if (!*p) return !*t;
    if (*p == '*') return Matches(p + 1, t) || (*t && Matches(p, t + 1));
    return *p == *t && Matches(p + 1, t + 1);
}

const Awaiting* AwaitedBy(const std::string& row, const std::string& fault) {
    for (const Awaiting& a : RowsAwaitingAMend())
        if (Matches(a.row, row.c_str()) && Matches(a.fault, fault.c_str())) return &a;
    return nullptr;
}

constexpr const char* kEpoch = "1780000000";

// What an action may change when it does its work: what decides the modes whose window may not do it.
enum class Owns {
    Nothing,  // reads, selections, dumps, view settings, the clipboard
    Logical,  // the design's logical connectivity, terminations, pull-ups, properties
    Physical, // pin numbers, swaps and models of the physical view
    Comment,  // pin and design comments
    Files,    // saves
};

enum class Road { Word, Method, Menu, Key };

const char* RoadName(Road r) {
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
};

enum class Shown { Pin, Signal, Matrix, PhysPart, PhysNet, Nothing };

const char* ShownName(Shown s) {
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
};

// What a kind of grid shows on the example board, and its selections.
std::vector<Context> ContextsOf(int mode) {
    struct Sel {
        const char* name;
        const char* tcl;
    };
    auto make = [mode](Shown shown, const std::string& show, std::initializer_list<Sel> sels) {
        std::vector<Context> out;
        for (const Sel& s : sels)
            out.push_back({mode, shown, s.name, show + (*s.tcl ? "; " + std::string(s.tcl) : std::string())});
        return out;
    };
    std::vector<Context> all;
    auto add = [&all](std::vector<Context> more) { all.insert(all.end(), more.begin(), more.end()); };
    if (mode == 4) {
        // U1's part: PGOOD on row 47, RST_N on 46; the net RST_IN: J1 P<10>, RN1 A, RN1 B.
        add(make(Shown::PhysPart, "kx::show clp U1",
                 {{"none", ""}, {"one row", "kx::select ccp 47 5"}, {"two rows", "kx::select ccp 46 5 47 5"},
                  {"header row", "kx::select ccp 4 5"}, {"hidden row", "filterRows pin -col {Pin Name} -filter D*; kx::word selectObject pin C10"}}));
        add(make(Shown::PhysNet, "kx::show slp RST_IN",
                 {{"none", ""}, {"one row", "kx::select ccp 5 6"}, {"two rows", "kx::select ccp 6 6 7 6"},
                  {"header row", "kx::select ccp 3 6"}}));
    } else {
        // U1: DQ<15..0> on row 23 (a bus), MCLK 40, PGOOD 41, TX<3..0> 43 (a pair); Signal is column 7.
        add(make(Shown::Pin, "kx::show clp U1",
                 {{"none", ""},
                  {"one row", "kx::select ccp 41 7"},
                  {"two rows", "kx::select ccp 40 7 41 7"},
                  {"bus row", "kx::select ccp 23 7"},
                  {"pair row", "kx::select ccp 43 7"},
                  {"header row", "kx::select ccp 4 7"},
                  {"hidden row", "kx::word selectObject pin {DQ<3>}"}}));
        // MCLK: U1 on row 5, U2 on 6; Pin Name is column 8.
        add(make(Shown::Signal, "kx::show slp MCLK",
                 {{"none", ""}, {"one row", "kx::select ccp 5 8"}, {"two rows", "kx::select ccp 5 8 6 8"},
                  {"header row", "kx::select ccp 3 8"}}));
        // A matrix of U1 against MCLK and DQ: MCLK on row 5, DQ<15> on 6. A read-only window stores no
        // view: it shows the one a window that edits made and saved.
        const std::string matrix =
            mode == 2 ? "kx::open demo.board:sch 3; kx::pane CreateMatrixView V1 U1 {MCLK DQ}; saveDesign; kx::close; "
                        "openMatrixView pin V1"
                      : "openMatrixView pin V1; matrixAdd pin component U1; matrixAdd pin signal MCLK; "
                        "matrixAdd pin signal DQ";
        add(make(Shown::Matrix, matrix,
                 {{"none", ""}, {"one row", "kx::select ccp 5 4"}, {"two rows", "kx::select ccp 5 4 6 4"},
                  {"header row", "kx::select ccp 3 4"}}));
    }
    add(make(Shown::Nothing, "", {{"none", ""}}));
    return all;
}

// Reads the protected maps of a command target: the command ids its message map handles and the
// methods its dispatch map offers.
struct MapReader : CCmdTarget {
    static void CommandIds(const CCmdTarget* target, std::set<UINT>& ids) {
        const AFX_MSGMAP* (CCmdTarget::*get)() const = &MapReader::GetMessageMap;
        for (const AFX_MSGMAP* map = (target->*get)(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
                if (e->nMessage != WM_COMMAND || e->nCode != CN_COMMAND) continue;
                // A range stands by its ends.
                ids.insert(e->nID);
                ids.insert(e->nLastID ? e->nLastID : e->nID);
            }
            if (!map->pfnGetBaseMap || map->pfnGetBaseMap() == map) break;
        }
    }
    static void Methods(const CCmdTarget* target, std::map<std::string, std::string>& methods) {
        const AFX_DISPMAP* (CCmdTarget::*get)() const = &MapReader::GetDispatchMap;
        for (const AFX_DISPMAP* map = (target->*get)(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e && e->lpszName; ++e)
                if (e->vtReturn != VT_DISPATCH) methods.emplace(e->lpszName, e->paramTypes);
            if (!map->pfnGetBaseMap || map->pfnGetBaseMap() == map) break;
        }
    }
};

// Operands the methods and words take where empty texts would only meet their usage.
const std::map<std::string, std::string>& MethodOperands() {
    static const std::map<std::string, std::string> args = {
        {"AddConnection", "NEWSIG"},
        {"TypeSignal", "NEWSIG"},
        {"AttachSignal", "=AUTONAME"},
        {"AssignModel", "LVCMOS33_8MA"},
        {"SwapPins", "C9"},
        {"AssignPinNumber", "C9"},
        {"InsertComment", "c"},
        {"EditComment", "c2"},
        {"ChangeDelay", "7ns"},
        {"ChangePropValue", "MYPROP v1"},
        {"AddPropColumn", "{MYPROP|My Prop|8s|PINPROP|SHOW}"},
        {"Sort", "{Pin Name}"},
        {"FilterRows", "Signal P*"},
        {"SetViewOptions", "bus_off {}"},
        {"RenameConnection", "PWR_GOOD"},
        {"OpenMatrixView", "V2"},
        {"SaveAsMatrixView", "V3"},
        {"RemoveMatrixView", "V1"},
        {"MatrixAdd", "component U2"},
        {"SelectInstanceCol", "U1 C10"},
        {"CtrSelectPinNameCol", "PGOOD"},
        {"SelectSignalCol", "PGOOD {}"},
        {"Dump", "sweep_dump.txt"},
        {"PreservePinComment", "U1 PGOOD U1 RST_N 1"},
        {"AddSignal", "SWEEPSIG {} {} {}"},
        {"AddComponent", "demo.RES:sym SWEEPR {} {}"},
        {"DeleteComponent", "R2"},
        {"FilterBlock", "-exclude PWR1"},
        {"Select", "U1"},
        {"SelectGroup", "MCLK"},
    };
    return args;
}

// The Tcl operands of a method: its own, or an empty text (a number: 0) per parameter.
std::string OperandsOf(const std::string& name, const std::string& types, const std::string& list) {
    if (name == "Select" && types.size() == 1 && list == "slp") return " PG"; // a name of both signal lists
    if (auto it = MethodOperands().find(name); it != MethodOperands().end()) {
        // Only where the count fits the method's parameters.
        std::istringstream in(it->second);
        int words = 0;
        for (std::string w; in >> std::ws && in.peek() != EOF;) {
            if (in.peek() == '{') {
                int depth = 0;
                char c;
                while (in.get(c)) {
                    depth += c == '{' ? 1 : c == '}' ? -1 : 0;
                    if (!depth) break;
                }
            } else
                in >> w;
            ++words;
        }
        if (words == static_cast<int>(types.size())) return " " + it->second;
    }
    std::string out;
    for (char t : types)
        out += (t == VT_I4 || t == VT_I2 || t == VT_BOOL) ? " 0" : " {}";
    return out;
}

// What a method may change.
Owns MethodOwns(const std::string& name) {
    static const std::set<std::string> reads = {
        "Dump", "ExpandAllPins", "Copy", "FilterRows", "Sort", "SetViewOptions", "OpenMatrixView", "Undo", "Redo",
        "Descend", "Ascend", "EditBlock", "Close", "AddPropColumn", "CreateMatrixView", "EditMatrixView",
        "RemoveMatrixView", "SaveAsMatrixView", "MatrixAdd"};
    if (reads.count(name) || name.find("Select") != std::string::npos) return Owns::Nothing;
    if (name.find("Comment") != std::string::npos) return Owns::Comment;
    // The component list deletes components in the physical view too (a part's sections, as the host's
    // delete notice does there): an edit only a read-only window may not make.
    if (name == "SwapPins" || name == "AssignPinNumber" || name == "AssignModel" || name == "RemoveModel" ||
        name == "DeleteComponent")
        return Owns::Physical;
    if (name == "Save" || name == "SaveBlockAs" || name == "FilterBlock") return Owns::Files;
    return Owns::Logical;
}

// What a menu command may change.
Owns MenuOwns(UINT id) {
    switch (id) {
    case 35096: case 35255: case 35256: case 35264: case 35280: case 35281: case 35509: case 35522: case 35725:
    case 35747: case 57637: case 57639: case 35710: case 35510:
        return Owns::Logical;
    case 35543: case 35545: case 35546: case 35547: case 35548: case 35549: case 35550: case 35551: case 35552:
    case 35566: case 35567:
        return Owns::Physical;
    case 35555: case 35556: case 35557: case 35614: case 35615: case 35616:
        return Owns::Comment;
    case 57603: case 57604: case 35571: case 35624:
        return Owns::Files;
    default:
        return Owns::Nothing;
    }
}

// Roads whose 1 need not change what this host can see: a selection answers 1 for what it selects
// even when it was selected already (a journal's selection line stops a replay when it answers 0),
// and the items that show the host's own windows (the property editor 35071, the associated-component
// viewer 35574, the properties 35659) change nothing of the editor's.
bool OneNeedsNoChange(const Way& way) {
    static const std::vector<std::string> roads = {"kx::menu 35071", "kx::menu 35574", "kx::menu 35659"};
    for (const std::string& r : roads)
        if (way.tcl == r) return true;
    return way.tcl.find("Select") != std::string::npos || way.tcl.find("selectObject") != std::string::npos ||
           way.tcl.find("selectWindow") != std::string::npos;
}

// The actions with several roads, each way to the action named once. The other entry points (every
// word, method, menu command and key found in the window's tables) make actions of one road each.
std::vector<Action> JoinedActions() {
    using R = Road;
    return {
        {"Delete", Owns::Logical,
         {{R::Word, "deleteConnection pin"}, {R::Method, "kx::pane Delete"}, {R::Menu, "kx::menu 35264"},
          {R::Key, "kx::key ccp Delete"}}},
        {"Undo", Owns::Nothing,
         {{R::Word, "undo"}, {R::Method, "kx::call Undo"}, {R::Menu, "kx::menu 57643"}, {R::Key, "kx::key ccp Ctrl+Z"}}},
        {"Redo", Owns::Nothing,
         {{R::Word, "redo"}, {R::Method, "kx::call Redo"}, {R::Menu, "kx::menu 57644"}, {R::Key, "kx::key ccp Ctrl+Y"}}},
        {"Copy", Owns::Nothing,
         {{R::Method, "kx::pane Copy"}, {R::Menu, "kx::menu 57634"}, {R::Key, "kx::key ccp Ctrl+C"}}},
        {"Paste", Owns::Logical,
         {{R::Word, "paste pin"}, {R::Method, "kx::pane Paste"}, {R::Menu, "kx::menu 57637"}, {R::Key, "kx::key ccp Ctrl+V"}}},
        {"Swap Pins", Owns::Physical,
         {{R::Method, "kx::pane SwapPins C9"},
          {R::Menu, "kx::answer dialog CKXSwappinsDialog ok pin C9; kx::menu 35566"}}},
        {"Connect", Owns::Logical,
         {{R::Word, "addConnection pin NEWSIG"}, {R::Method, "kx::pane AddConnection NEWSIG"}}, true},
        {"Auto Name", Owns::Logical,
         {{R::Word, "addConnection pin =AUTONAME"}, {R::Method, "kx::pane AttachSignal =AUTONAME"},
          {R::Menu, "kx::menu 35255"}}},
        {"Short Pins", Owns::Logical, {{R::Word, "addConnection pin =SHORTPINS"}, {R::Menu, "kx::menu 35280"}}},
        {"Save", Owns::Files, {{R::Word, "saveDesign"}, {R::Method, "kx::call Save"}, {R::Menu, "kx::menu 57603"}}},
        {"Add Comment", Owns::Comment, {{R::Word, "addComment pin c"}, {R::Method, "kx::pane InsertComment c"}}},
        {"Remove Model", Owns::Physical, {{R::Word, "removeModel pin"}, {R::Method, "kx::pane RemoveModel"}}},
        {"Sort", Owns::Nothing, {{R::Word, "sort pin {Pin Name}"}, {R::Method, "kx::pane Sort {Pin Name}"}}},
        {"Filter Block", Owns::Files,
         {{R::Word, "filterBlock -exclude PWR1"}, {R::Method, "kx::call FilterBlock -exclude PWR1"}}},
    };
}

// Words of the two command tables, each with operands that ask for work (the pane's words on the
// grid word `pin`), besides their joined actions above.
std::vector<Action> WordActions() {
    auto w = [](const char* name, Owns owns, const char* tcl) { return Action{name, owns, {{Road::Word, tcl}}}; };
    return {
        w("ascend", Owns::Nothing, "ascend"),
        w("physicalView", Owns::Nothing, "physicalView -nosave"),
        w("logicalView", Owns::Nothing, "logicalView -nosave"),
        w("selectWindow", Owns::Nothing, "selectWindow ccp"),
        w("copy", Owns::Nothing, "copy PGOOD Signal"),
        // The host's notices: a component deleted, comments moved after a rename, co-design marks (which
        // the physical view takes too).
        w("INT_MSG_DELETE_INSTANCE", Owns::Physical, "kx::notify INT_MSG_DELETE_INSTANCE -text R1"),
        w("INT_MSG_PRESERVE_INST_COMMENT", Owns::Comment, "kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 1"),
        w("INT_MSG_PRESERVE_PIN_COMMENT", Owns::Comment,
          "kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U1,RST_N 1"),
        w("INT_MSG_MARK_AS_CODESIGN", Owns::Physical, "kx::notify INT_MSG_MARK_AS_CODESIGN U1 1"),
        w("saveDesignAs", Owns::Files, "saveDesignAs"),
        w("designComment", Owns::Comment, "designComment add x"),
        w("renameConnection", Owns::Logical, "renameConnection pin [list U1 PGOOD C10 PWR_GOOD]"),
        w("exportInterface", Owns::Nothing, "exportInterface -inst U1 -file sweep_if.txt"),
        w("importInterface", Owns::Logical, "importInterface -inst U1 -file sweep_if.txt"),
        w("closeDesign", Owns::Nothing, "closeDesign -nosave"),
        w("addPupd", Owns::Logical, "addPupd pin PULLUP"),
        w("addTermination", Owns::Logical, "addTermination pin"),
        w("assignPinNumber", Owns::Physical, "assignPinNumber pin C9"),
        w("assignModel", Owns::Physical, "assignModel pin LVCMOS33_8MA"),
        w("changeCustomColumn", Owns::Logical, "changeCustomColumn pin -col SPEED -val 5"),
        w("deletePupd", Owns::Logical, "deletePupd pin"),
        w("deleteTermination", Owns::Logical, "deleteTermination pin"),
        w("editTermination", Owns::Logical, "editTermination pin -oldrefdes R1 -newrefdes R99"),
        w("selectObject", Owns::Nothing, "kx::word selectObject pin PGOOD"),
        w("modifyComment", Owns::Comment, "modifyComment pin c2 PGOOD"),
        w("deleteComment", Owns::Comment, "deleteComment pin PGOOD"),
        w("editPupd", Owns::Logical, "editPupd pin"),
        w("removeDiffPairPin", Owns::Logical, "removeDiffPairPin pin"),
        w("setViewOption", Owns::Nothing, "setViewOption pin bus_off"),
        w("expandPins", Owns::Nothing, "expandPins pin on"),
        w("filterRows", Owns::Nothing, "filterRows pin -col Signal -filter P*"),
        w("trackInSignalList", Owns::Nothing, "trackInSignalList pin"),
        w("editPhysicalPin", Owns::Physical, "editPhysicalPin pin"),
        w("editLogicalPin", Owns::Logical, "editLogicalPin pin"),
        w("dumpGrid", Owns::Nothing, "dumpGrid pin sweep_grid.txt"),
        w("swapSignal", Owns::Logical, "swapSignal pin"),
        w("openMatrixView", Owns::Nothing, "openMatrixView pin V2"),
        w("matrixConnect", Owns::Logical, "matrixConnect pin MCLK U1 PIN_NAME PGOOD"),
        w("matrixAdd", Owns::Nothing, "matrixAdd pin component U2"),
    };
}

// The keys of the grids, besides the accelerators of the joined actions.
const std::vector<std::string>& Keys() {
    static const std::vector<std::string> keys = {"Insert", "F2", "F4",   "Enter", "Escape",   "Tab",    "Shift+Tab",
                                                  "Up",     "Down", "Left", "Right", "Home", "End", "PageUp", "PageDown"};
    return keys;
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

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below the folder, by name and content, in name order.
std::string FilesBelow(const fs::path& dir) {
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
std::string FilesOf(const std::string& listing, const std::string& names) {
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
std::string FirstFileDifference(const std::string& got, const std::string& want) {
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
};

class EntrySweep : public DemoBoard {
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
        const bool met = AnswerLog().size() > answers || said.find("unanswered:") != std::string::npos;
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
            const bool edit = a.owns == Owns::Logical || a.owns == Owns::Physical || a.owns == Owns::Comment;
            if (c.mode == 2 && edit && o.messages.size() == 1 && o.messages[0] != "KXTABLE-382")
                fault("refused in a read-only window with " + o.messages[0] + ", not the read-only message");
        } else if (o.answer == "2") {
            if (!met && !(a.doneAsTwo && designChanged)) fault("answered 2 with no dialog or question met");
            if (designChanged && !a.doneAsTwo) fault("answered 2 and changed: " + o.changed);
        } else if (!object) {
            fault("answered \"" + o.answer.substr(0, 80) + "\"");
        }
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
        if (status != 0 || !fs::exists(dir / "replayed"))
            f = "the journal did not replay in a fresh host: " + ReadAll(dir / "host.log").substr(0, 400);
        else if (const std::string d = FirstFileDifference(FilesBelow(dir / "lib"), session); !d.empty())
            f = "the replay leaves other files: " + d;
        else if (const std::string h = kxrandom::OtherHistory(ReadAll(dir / "history.txt"), sessionHistory); !h.empty())
            f = "the replay's undo steps differ" + h + ":\n" + ReadAll(dir / "history.txt") + "\ninstead of\n" +
                sessionHistory;
        // The journal goes with the fault to the report, not into what the awaiting list matches.
        if (!f.empty()) o.faults.push_back(f), m_lastJournal = journal;
    }

    // Every entry point of the window as actions: the joined ones, the words, then each method, menu
    // command and key found in the window's tables that no joined action takes.
    std::vector<Action> Table() {
        std::vector<Action> table = JoinedActions();
        for (Action& a : WordActions())
            table.push_back(std::move(a));
        std::set<std::string> taken;
        for (const Action& a : table)
            for (const Way& w : a.ways)
                taken.insert(w.tcl);
        auto takenBy = [&taken](const std::string& prefix) {
            for (const std::string& t : taken)
                if (t.rfind(prefix, 0) == 0 || t.find("; " + prefix) != std::string::npos) return true;
            return false;
        };
        // The window's tables, read from a window showing each kind of grid.
        std::set<UINT> menus;
        std::map<std::string, std::string> pane, doc, clp, slp;
        for (int mode : {3, 4}) {
            Fresh();
            if (Run("kx::open demo.board:sch " + std::to_string(mode)) != "1") continue;
            MapReader::CommandIds(Frame(), menus);
            MapReader::CommandIds(Doc(), menus);
            MapReader::CommandIds(Ccp(), menus);
            MapReader::CommandIds(Clp(), menus);
            MapReader::CommandIds(Slp(), menus);
            MapReader::Methods(Ccp(), pane);
            MapReader::Methods(Doc(), doc);
            MapReader::Methods(Clp(), clp);
            MapReader::Methods(Slp(), slp);
            for (const char* show : {"kx::show clp U1", "kx::show slp RST_IN", "kx::show slp MCLK",
                                     "openMatrixView pin V1; matrixAdd pin component U1"}) {
                Run(show);
                if (Ccp() && Ccp()->GetActiveGrid()) MapReader::CommandIds(Ccp()->GetActiveGrid(), menus);
            }
        }
        m_counts = {pane.size() + doc.size() + clp.size() + slp.size(), menus.size()};
        auto methods = [&](const std::map<std::string, std::string>& from, const std::string& call) {
            for (const auto& [name, types] : from) {
                const std::string tcl = call + name;
                if (takenBy(tcl + " ") || taken.count(tcl)) continue;
                table.push_back({call + name, MethodOwns(name), {{Road::Method, tcl + OperandsOf(name, types, call.find(" slp ") != std::string::npos ? "slp" : "")}}});
            }
        };
        methods(pane, "kx::pane ");
        methods(clp, "kx::pane clp ");
        methods(slp, "kx::pane slp ");
        methods(doc, "kx::call ");
        for (UINT id : menus) {
            const std::string tcl = "kx::menu " + std::to_string(id);
            if (takenBy(tcl)) continue;
            table.push_back({"menu " + std::to_string(id), MenuOwns(id), {{Road::Menu, tcl}}});
        }
        for (const std::string& key : Keys())
            table.push_back({"key " + key, Owns::Nothing, {{Road::Key, "kx::key ccp " + key}}});
        return table;
    }

    // Runs the rows of the mode the sample takes; each action's ways are compared with each other.
    void SweepMode(int mode) {
        const char* sweep = std::getenv("KX_SWEEP");
        const int every = !sweep ? 31 : std::string(sweep) == "all" ? 1 : std::max(1, std::atoi(sweep));
        const char* only = std::getenv("KX_SWEEP_ROWS");
        const bool awaiting = std::getenv("KX_SWEEP_AWAITING") != nullptr;
        const bool trace = std::getenv("KX_SWEEP_TRACE") != nullptr;
        const std::vector<Action> table = Table();
        const std::vector<Context> contexts = ContextsOf(mode);
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
            for (const Action& a : table) {
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
                        if (!keyRefused) return o.changed;
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
                  << failed << " failed; " << m_counts.first << " methods, " << m_counts.second << " menu commands\n";
    }

    std::pair<size_t, size_t> m_counts;
    std::string m_lastJournal; // the journal of the last row whose replay failed
    fs::path m_registry;
};

TEST_F(EntrySweep, EveryRoadKeepsTheRuleInTheFirstMode) { SweepMode(0); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInTheEditableBlock) { SweepMode(1); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInAReadOnlyWindow) { SweepMode(2); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInABlockWithinItsParent) { SweepMode(3); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInThePhysicalView) { SweepMode(4); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInModeSix) { SweepMode(6); }

} // namespace
