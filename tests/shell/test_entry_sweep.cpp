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
#include "KXEntrySweep.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "pane/KXBottomPaneContainerView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>


namespace kxsweep {

// Rows that meet a fault whose mend has not landed yet: a pattern over row names ("mode 2 / pin /
// one row / Delete / menu"; a comparison of an action's roads is named ".../ACTION / roads"), a
// pattern over the fault found ('*' any text in both) and the cause. A listed fault of a matching row
// is counted, not failed (KX_SWEEP_AWAITING=1 fails it too); every other fault of the row fails.
// Once the mend is in, its entry comes off the list.
const std::vector<Awaiting>& RowsAwaitingAMend() {
    static const std::vector<Awaiting> rows = {};
    return rows;
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

// Swap Pins: the pane's method takes the number it is given as it is, the menu's dialog offers the
// chosen pin's swap group and takes only its numbers. Where the set-up chose a pin of a swap group both
// roads take a number of it and must agree, and the dialog given a number outside the group is refused
// for that; elsewhere both take C9 (RST_N's, which swaps with no pin) and agree up to the dialog.
std::vector<Action> SwapPinsActions(const Context& c) {
    constexpr const char* kOutsideTheGroups = "C9";
    constexpr const char* kRefused = "KXTABLE-489";
    auto menu = [](const std::string& number) {
        return "kx::answer dialog CKXSwappinsDialog ok pin " + number + "; kx::menu 35566";
    };
    const std::string number = c.swapTo.empty() ? kOutsideTheGroups : c.swapTo;
    Action roads{"Swap Pins",
                 Owns::Physical,
                 {{Road::Method, "kx::pane SwapPins " + number}, {Road::Menu, menu(number)}}};
    if (c.swapTo.empty()) {
        roads.notOffered = kRefused;
        return {roads};
    }
    Action outside{
        "Swap Pins outside the swap group", Owns::Physical, {{Road::Menu, menu(kOutsideTheGroups)}}};
    outside.notOffered = kRefused;
    return {roads, outside};
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

} // namespace kxsweep

namespace {
using namespace kxsweep;



std::vector<Context> ContextsOf(int mode) {
    struct Sel {
        const char* name;
        const char* tcl;
        const char* swapTo = ""; // a number the Swap Pins dialog offers the chosen pin
    };
    auto make = [mode](Shown shown, const std::string& show, std::initializer_list<Sel> sels) {
        std::vector<Context> out;
        for (const Sel& s : sels) {
            out.push_back({mode, shown, s.name, show + (*s.tcl ? "; " + std::string(s.tcl) : std::string())});
            out.back().swapTo = s.swapTo;
        }
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
        // DQ<3> (A13) swaps with the other DQ bits' numbers, A12 among them.
        add(make(Shown::Pin, "kx::show clp U1",
                 {{"none", ""},
                  {"one row", "kx::select ccp 41 7"},
                  {"two rows", "kx::select ccp 40 7 41 7"},
                  {"bus row", "kx::select ccp 23 7"},
                  {"pair row", "kx::select ccp 43 7"},
                  {"header row", "kx::select ccp 4 7"},
                  {"hidden row", "kx::word selectObject pin {DQ<3>}", "A12"}}));
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
        {"SortByHeader", "{Pin Name}"},
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
        "Dump", "ExpandAllPins", "Copy", "FilterRows", "Sort", "SortByHeader", "SetViewOptions", "OpenMatrixView", "Undo", "Redo",
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


class EntrySweep : public EntrySweepRows {
protected:
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
        for (const Action& a : SwapPinsActions(Context{})) // each context's own
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

    // Runs the rows of the mode the sample takes over the window's whole table.
    void SweepMode(int mode) {
        const std::vector<Action> table = Table();
        SweepRows(
            mode, ContextsOf(mode),
            [&table](const Context& c) {
                std::vector<Action> all = table;
                for (Action& a : SwapPinsActions(c))
                    all.push_back(std::move(a));
                return all;
            },
            m_counts);
    }

    std::pair<size_t, size_t> m_counts;
};

TEST_F(EntrySweep, EveryRoadKeepsTheRuleInTheFirstMode) { SweepMode(0); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInTheEditableBlock) { SweepMode(1); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInAReadOnlyWindow) { SweepMode(2); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInABlockWithinItsParent) { SweepMode(3); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInThePhysicalView) { SweepMode(4); }
TEST_F(EntrySweep, EveryRoadKeepsTheRuleInModeSix) { SweepMode(6); }

} // namespace
