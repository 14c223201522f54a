// The user's hands and the host's tools between a session's edits: group grids (one grid of several
// components' pins) and every road that makes them load their rows again; the schematic tool's changes;
// the focus moved, another window made active, the main window resized and its splitters dragged while a
// Signal cell's list is down or a cell is in edit; drops, typing, the Attach Signal row and pastes over
// side-by-side grids after a selection over both; the words over the selection of a side-by-side grid
// that is not the active one; the messages the host's other tools send; the host's changes made outside
// the editor's undo history; and the remaining hands and words (the title bar's function selector, the
// header bar, the object window, column drags, interfaces, the other view's pins).
#include "KXRandomEdits.h"

namespace kxrandom {

namespace {

// A Tcl line that may raise an error (a command of the host refused, an object renamed away): the
// session goes on, as a user's does after a refusal.
std::string Caught(const std::string& line) { return "catch {" + line + "}"; }

// A rename back, tried again while the database refuses its commit (as the session's faults do about one
// commit in six): the names later lines and their targets give stay the design's.
std::string BackUntilTaken(const std::string& line) {
    return "for {set kxtry 0} {$kxtry < 8 && [catch {" + line + "}]} {incr kxtry} {}";
}

// The roads that make the shown pin grids load their rows again.
std::string RefreshRoad(Rng& rng, bool& outside) {
    static const std::vector<std::string> boxes = {"9096", "9095", "9079"};
    switch (std::uniform_int_distribution<int>(0, 6)(rng)) {
    case 0: {
        const std::string box = Caught("kx::header ccp click " + Pick(rng, boxes));
        return OneIn(rng, 2) ? box : box + "; " + box;
    }
    case 1: {
        static const std::vector<std::string> options = {"bus_off dp_on", "bus_on", "dp_off", "dp_on", "bus_off"};
        return "setViewOption pin " + Pick(rng, options);
    }
    case 2: return "kx::option show_dp_pins_ccp " + std::string(OneIn(rng, 2) ? "0" : "1");
    case 3: return "kx::notify INT_MSG_SETUP_SHOW_DPPINS_CCP {} " + std::string(OneIn(rng, 2) ? "0" : "1");
    case 4: return "expandPins pin " + std::string(OneIn(rng, 2) ? "on" : "off");
    case 5: {
        static const std::vector<std::string> types = {"R2 B input", "R1 A output", "U2 CLK bidirectional",
                                                       "R2 B inout"};
        outside = true;
        return Caught("kx::schematic pintype " + Pick(rng, types));
    }
    default: {
        outside = true;
        return Caught("kx::schematic instance R1 R11") + "; " + BackUntilTaken("kx::schematic instance R11 R1");
    }
    }
}

// A grid of several components' pins (kx::show clp -group), an edit in it mostly, then a road that
// loads its rows again, an undo after it now and then.
std::string GroupGrids(Rng& rng, EditWorld& w) {
    static const std::vector<std::vector<std::string>> groups = {
        {"R1", "R2"}, {"R1", "R2", "J1"}, {"U2", "R2"}, {"RN1A", "RN1B"}, {"R2", "R1"}};
    const std::vector<std::string>& group = Pick(rng, groups);
    std::string names;
    for (const std::string& name : group)
        names += (names.empty() ? "" : " ") + name;
    const std::string row = Braced(Pick(rng, group));
    std::string line = "kx::show clp -group " + names + "; kx::answer question KXTABLE-140 yes; ";
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: line += "kx::edit ccp {*}[kxcell " + row + " Signal] " + Braced(w.NewSignal("GRP")) + "; "; break;
    case 1: line += "kx::select ccp {*}[kxcell " + row + " Signal]; kx::key ccp Delete; "; break;
    case 2: line += "kx::drop ccp {*}[kxcell " + row + " Signal] signal " + Pick(rng, w.signals) + "; "; break;
    default: break;
    }
    bool outside = false;
    line += RefreshRoad(rng, outside);
    if (OneIn(rng, 3)) return line + "; undo" + (outside ? OutsideUndo() : std::string());
    return line + (outside ? OutsideUndo() : Target(names));
}

// The schematic tool's changes to the active window's design between edits (an instance, a net or a pin
// renamed, and renamed back now and then; a pin's type; an open pin's width; a block's port), with one
// grid or another shown.
std::string SchematicTool(Rng& rng, EditWorld&) {
    static const std::vector<std::string> shows = {"kx::show clp U1", "kx::show slp MCLK", "kx::show clp R1 R2",
                                                   "kx::show clp -group R1 R2", "kx::show slp PG", ""};
    std::string line = Pick(rng, shows);
    // A group grid that loads its rows again waits with the group grids' own road.
    if (line.find("-group") != std::string::npos && !RoadOpen("group grids and their refreshes")) line = "kx::show clp R1";
    line += line.empty() ? "" : "; ";
    const auto andBack = [&](const std::string& word, const std::string& from, const std::string& to,
                             const std::string& where) {
        const std::string there = Caught("kx::schematic " + word + " " + where + from + " " + to);
        return OneIn(rng, 2) ? there : there + "; " + BackUntilTaken("kx::schematic " + word + " " + where + to + " " + from);
    };
    switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0: {
        static const std::vector<std::pair<std::string, std::string>> renames = {{"R1", "R11"}, {"U2", "U22"}, {"J1", "J9"}};
        // Renamed back in the same line: the names later lines and their targets give stay the design's.
        const auto& [from, to] = Pick(rng, renames);
        line += Caught("kx::schematic instance " + from + " " + to) + "; " +
                BackUntilTaken("kx::schematic instance " + to + " " + from);
        break;
    }
    case 1: {
        static const std::vector<std::pair<std::string, std::string>> renames = {
            {"EN", "EN_B"}, {"PG", "PG2"}, {"MCLK", "MCLK_X"}, {"DQ", "DQX"}};
        const auto& [from, to] = Pick(rng, renames);
        line += andBack("net", from, to, "");
        break;
    }
    case 2: {
        static const std::vector<std::string> types = {"U1 PGOOD output", "R2 B input", "U2 CLK bidirectional",
                                                       "U1 MCLK inout", "J1 P power", "R1 A ground"};
        line += Caught("kx::schematic pintype " + Pick(rng, types));
        break;
    }
    case 3:
        // A pin's width changes while it is open: R2's B taken off its net first, mostly.
        line += std::string(OneIn(rng, 4) ? "" : "deleteConnection pin {R2 B}; ") +
                Caught("kx::schematic pinwidth R2 B " + std::string(OneIn(rng, 2) ? "1 0" : "3 0"));
        break;
    case 4: {
        static const std::vector<std::pair<std::string, std::string>> renames = {
            {"MCLK", "MCLK2"}, {"PGOOD", "PGOOD_X"}, {"DQ", "DQW"}};
        const auto& [from, to] = Pick(rng, renames);
        line += andBack("pin", from, to, OneIn(rng, 4) ? "U2 " : "U1 ");
        break;
    }
    default:
        // A port of the power block, in a window of its own.
        line = "if {[catch {kx::tab 3}]} {kx::open demo.PWR:sch 1}; " +
               Caught("kx::schematic port " + std::string(OneIn(rng, 2) ? "PGOOD" : "EN") + " 1 0");
        break;
    }
    return line + OutsideUndo();
}

// What moves the user's hands away from a list that is down or a cell in edit.
std::string FocusMove(Rng& rng) {
    static const std::vector<std::string> moves = {
        "kx::focus clp", "kx::focus slp", "kx::focus ccp", "kx::focus ccp 1", "kx::tab 1", "catch {kx::tab 2}",
        "kx::resize 1100 900", "kx::resize 1100 900; kx::resize 1280 1024", "kx::splitter columns 500",
        "kx::splitter lists 300", "kx::splitter collapse clp; kx::splitter expand", "kx::ncactivate 0; kx::ncactivate 1",
        "kx::notify MSG_SETFOCUS_CLP {} 1", "kx::notify MSG_STOP_TRACKING_SPLITTER",
        "kx::open demo.board:sch 2; kx::tab 1"};
    return Caught(Pick(rng, moves));
}

// What the user does once back: nothing, Enter, Escape, or another edit. A move that left the focus where
// it was (the pane focused again, no second window to go to) leaves the cell's edit open, which the next
// cell made current would store: the action ends it, storing nothing, so that what it changed is its own.
std::string AfterTheMove(Rng& rng) {
    static const std::vector<std::string> ends = {"", "; catch {kx::key ccp Enter}", "; catch {kx::key ccp Escape}",
                                                  "; kx::show clp U1"};
    return Pick(rng, ends) + "; catch {kx::key ccp Escape}; catch {kx::key ccp Escape}";
}

// A Signal cell's list dropped (an entry highlighted, not chosen), then the focus moved.
std::string MoveWhileAListIsDown(Rng& rng, EditWorld& w) {
    const std::string pin = Braced(Pick(rng, w.pins));
    return "kx::show clp U1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::click ccp "
           "{*}[kxcell " + pin + " Signal] button; catch {kx::droplist ccp select " +
           std::to_string(std::uniform_int_distribution<int>(1, 6)(rng)) + "}; " + FocusMove(rng) + AfterTheMove(rng) +
           Target("U1");
}

// A cell in edit (F2 and a key, or a list's entry chosen but not stored) as the focus moves.
std::string MoveWhileACellIsInEdit(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> keys = {"A", "7", "Up", "Down", "Backspace"};
    std::string line = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; ";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0:
        line += "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]; kx::key ccp F2; "
                "kx::key ccp " + Pick(rng, keys) + "; ";
        break;
    case 1:
        line += "kx::show clp U1; kx::click ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal] button; "
                "catch {kx::droplist ccp choose " + std::to_string(std::uniform_int_distribution<int>(1, 6)(rng)) + "}; ";
        break;
    default:
        line += "kx::show slp PG; kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell R2 \"Pin Number\"]; "
                "kx::key ccp F2; kx::key ccp " + std::string(OneIn(rng, 2) ? "1" : "Backspace") + "; ";
        break;
    }
    return line + FocusMove(rng) + AfterTheMove(rng) + Target("U1 R2");
}

// Two components side by side, pins selected in both by selectObject, then a drop, typing, the Attach
// Signal row or a paste on one of them.
std::string SideBySideDrops(Rng& rng, EditWorld& w) {
    struct Shown {
        const char* names;
        std::vector<std::string> keys, rows;
    };
    static const std::vector<Shown> shown = {{"R1 R2", {"A:1", "B:2", "A", "{R2 B}"}, {"A", "B"}},
                                             {"U1 U2", {"CLK", "{U2 CLK 30}", "MCLK", "{U1 MCLK B14}"}, {"CLK", "MCLK"}},
                                             {"RN1A RN1B", {"A", "B"}, {"A", "B"}}};
    const Shown& s = Pick(rng, shown);
    std::string keys = Pick(rng, s.keys);
    if (OneIn(rng, 3)) keys += " " + Pick(rng, s.keys);
    const std::string signal = OneIn(rng, 2) ? w.NewSignal("SBD") : Pick(rng, w.signals);
    const std::string cell = "{*}[kxcell " + Braced(Pick(rng, s.rows)) + " Signal]";
    std::string line = "kx::show clp " + std::string(s.names) + "; kx::answer question KXTABLE-140 yes; "
                       "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; ";
    if (OneIn(rng, 3)) line += "kx::grid ccp " + std::string(OneIn(rng, 2) ? "1" : "2") + "; ";
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: line += "selectObject pin " + keys + "; kx::drop ccp " + cell + " signal " + signal; break;
    case 1: line += "selectObject pin " + keys + "; kx::edit ccp " + cell + " " + Braced(signal); break;
    case 2: line += "selectObject pin " + keys + "; kx::ccpbar type " + Braced(signal); break;
    default:
        line += "kx::select ccp " + cell + "; kx::key ccp Ctrl+C; selectObject pin " + keys + "; " +
                (OneIn(rng, 2) ? "paste pin" : "kx::key ccp Ctrl+V");
        break;
    }
    return line + Target(s.names);
}

// A selection made by selectObject in the side-by-side grid that is not the active one, then a word
// or a key over the selection.
std::string SelectionInTheOtherGrid(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> keys = {"{U2 CLK 30}", "{U2 CLK}", "{U1 MCLK B14}", "CLK", "{U1 PGOOD}"};
    const std::vector<std::string> words = {
        "deleteConnection pin", "addPupd pin -type pullup -dcnet VCC3V3 -value 1k",
        "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22",
        "addConnection pin " + w.NewSignal("OTH"), "assignModel pin LVCMOS33", "kx::key ccp Delete",
        "deleteTermination pin", "kx::pane AddConnection " + w.NewSignal("OTH"), "deletePupd pin"};
    return "kx::show clp U1 U2; kx::grid ccp " + std::string(OneIn(rng, 2) ? "1" : "2") + "; selectObject pin " +
           Pick(rng, keys) + "; " + Pick(rng, words) + Target("U1 U2");
}

// The messages the host's other tools send a design window, between edits.
std::string PeerMessages(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> paths = {"demo.board:sch@U1", "demo.board:sch@:EN", "demo.board:sch@U1.MCLK",
                                                   "demo.board:sch@U2.DQ<3>", "demo.board:sch@R2"};
    static const std::vector<std::string> settings = {
        "INT_MSG_SETUP_MOVEDIRECTION {} Down", "INT_MSG_SETUP_MOVEDIRECTION {} Right",
        "INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY {} 1", "INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY {} 0",
        "INT_MSG_SETUP_SHOW_DPSIGNALS_SLP {} 1", "INT_MSG_SETUP_SHOW_DPSIGNALS_SLP {} 0"};
    switch (std::uniform_int_distribution<int>(0, 11)(rng)) {
    case 9:
        // The property editor or the associated-component viewer shown, then a selection it hears of.
        return "kx::menu " + std::string(OneIn(rng, 2) ? "35071" : "35574") + "; kx::show slp " +
               std::string(OneIn(rng, 2) ? "MCLK" : "PG") +
               "; kx::select ccp {*}[kxcell U1 \"Pin Number\"]; kx::published";
    case 0: {
        static const std::vector<std::string> modes = {"", " 0", " 2", " off"};
        return "kx::notify INT_MSG_HIGHLIGHT_OBJECT " + Braced(Pick(rng, paths) + Pick(rng, modes));
    }
    case 1: {
        static const std::vector<std::string> pins = {"demo.board:sch@U1.DQ<3>", "demo.board:sch@U1.MCLK",
                                                      "demo.board:sch@R2.A"};
        return Caught("kx::highlight " + Pick(rng, pins));
    }
    case 2: {
        static const std::vector<std::string> cells = {"{ccp 1} {7 4}", "clp {2 1}", "slp {3 1}", "{ccp 2} {6 7}"};
        return Caught("kx::notify INT_MSG_SELECT_FINDALLRESULT " + Pick(rng, cells));
    }
    case 3:
        return "kx::notify INT_MSG_SELECT_OBJECT " +
               (OneIn(rng, 2) ? Pick(rng, w.components) + " 0" : Braced(Pick(rng, w.signals)) + " 1");
    case 4: return "kx::notify INT_MSG_REMOVE_SELECTION_ALL " + std::string(OneIn(rng, 2) ? "0" : "1");
    case 5: return "kx::notify " + Pick(rng, settings);
    case 6: {
        static const std::vector<std::string> others = {"kx::notify INT_MSG_SHOW_NET_CONN 0 0",
                                                        "kx::notify INT_MSG_FROM_CLIPBOARDVIEWER 1 0",
                                                        "kx::notify INT_MSG_RENAME_INSTANCE R1 -text R1",
                                                        "kx::notify INT_MSG_AUTO_ASSIGN_MODEL", "kx::importcsv"};
        return Caught(Pick(rng, others));
    }
    case 7:
        return "kx::notify INT_MSG_MARK_AS_CODESIGN " + Braced(Pick(rng, w.components) + " U1") +
               (OneIn(rng, 2) ? " 1" : " 0");
    case 8:
        return "kx::select clp " + std::string(OneIn(rng, 2) ? "U2" : "U1") + "; kx::answer dialog CKXPowerGroupDlg " +
               (OneIn(rng, 4) ? "cancel" : "ok pin VDD net " + Pick(rng, w.signals)) + "; kx::notify INT_MSG_ASSIGN_POWER";
    case 10:
        return "kx::notify INT_MSG_ADD_PHYSICAL_PART -text {demo.RES:sym R" +
               std::to_string(std::uniform_int_distribution<int>(5, 9)(rng)) + "}";
    default: {
        static const std::vector<std::string> objects = {
            "kx::objects drop component; catch {kx::objects choose 1}", "kx::objects drop signal; kx::objects escape",
            "kx::objects activate U1", "kx::objects drop component; catch {kx::objects choose 1 2}"};
        return Caught(Pick(rng, objects));
    }
    }
}

// The changes another tool committed and tells the windows of (a violation resolved, an associated
// component changed in its viewer): each an undo step of the window of that design.
std::string ChangesOfOtherTools(Rng& rng, EditWorld&) {
    static const std::vector<std::string> changes = {"{demo.board:sch@U1 SPEED fast}", "{demo.board:sch@R2 NOTE {a b}}",
                                                     "{demo.board:sch@:EN VOLT 3V3}", "{demo.board:sch@U1 NOSUCH}"};
    if (OneIn(rng, 2))
        return Caught("kx::notify MSG_VIOLATION_RESOLVED " + Pick(rng, changes) +
                      (OneIn(rng, 2) ? " " + Pick(rng, changes) : std::string()));
    return Caught("kx::notify MSG_ASSOC_COMP_CHANGED {} " + Pick(rng, changes));
}

// The host's changes made outside the editor's undo history: its property editor, a cleared undo list, a
// refused model check before a save.
std::string HostChangesOutsideTheEditor(Rng& rng, EditWorld&) {
    static const std::vector<std::string> props = {"demo.board:sch@U1 SPEED fast", "demo.board:sch@R2 VALUE 22k",
                                                   "demo.board:sch@U1 PN X123", "demo.board:sch@:EN VOLT 3V3"};
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return Caught("kx::setprop " + Pick(rng, props)) + OutsideUndo();
    case 1: return "kx::notify MSG_CLEAR_UNDO" + OutsideUndo();
    default: return "kx::modelcheck 0; saveDesign; kx::modelcheck 1";
    }
}

// The remaining hands and words: the Attach Signal row's function selector and list, the header bar's
// menu, a column's edge dragged, the separator of side-by-side grids, the signal of a pin tracked in the
// signal list, the other view's pin, interfaces, and a second window closed by the word.
std::string OtherHandsAndWords(Rng& rng, EditWorld& w) {
    const std::string pin = Braced(Pick(rng, w.pins));
    switch (std::uniform_int_distribution<int>(0, 8)(rng)) {
    case 0: {
        static const std::vector<std::string> ids = {"35280", "35255", "35256", "35275"};
        return "kx::show clp U1; kx::select ccp {*}[kxcell " + pin + " Signal]; kx::answer menu * " + Pick(rng, ids) +
               "; kx::ccpbar fx" + (OneIn(rng, 2) ? "; kx::ccpbar type " + Braced(w.NewSignal("FX")) : std::string()) +
               Target("U1");
    }
    case 1:
        return "kx::show clp U1; kx::select ccp {*}[kxcell " + pin + " Signal]; kx::ccpbar list; kx::ccpbar choose " +
               std::to_string(std::uniform_int_distribution<int>(1, 12)(rng)) + Target("U1");
    case 2:
        return "kx::show clp U1; kx::answer menu * " + std::string(OneIn(rng, 2) ? "2024" : "2025") +
               "; kx::header ccp right";
    case 3:
        return "kx::show clp U1; kx::drag ccp {*}[kxrow 4 " + std::string(OneIn(rng, 2) ? "Signal" : "\"Pin Name\"") +
               "] " + std::to_string(std::uniform_int_distribution<int>(-30, 60)(rng));
    case 4:
        return "kx::show clp R1 R2; " + Caught("kx::separator 1 " + std::to_string(std::uniform_int_distribution<int>(-40, 40)(rng)));
    case 5: return "kx::show clp U1; kx::select ccp {*}[kxcell " + pin + " Signal]; trackInSignalList pin";
    case 6:
        return "kx::show clp U1; kx::select ccp {*}[kxcell " + pin + " \"Pin Number\"]; " +
               Caught(OneIn(rng, 2) ? "editPhysicalPin pin" : "editLogicalPin pin");
    case 7:
        return Caught(std::string(OneIn(rng, 2) ? "exportInterface" : "importInterface") + " -inst U1 -file iface.txt");
    default: return "if {![catch {kx::tab 2}]} {closeDesign -nosave; catch {kx::tab 1}}";
    }
}

} // namespace

std::vector<EditKind> HandRoads() {
    return {
        {"group grids and their refreshes", GroupGrids},
        {"schematic tool changes between edits", SchematicTool},
        {"focus moves while a list is down", MoveWhileAListIsDown},
        {"focus moves while a cell is in edit", MoveWhileACellIsInEdit},
        {"drops and pastes over side-by-side grids", SideBySideDrops},
        {"words on the selection of the other side-by-side grid", SelectionInTheOtherGrid},
        {"the host's peer messages", PeerMessages},
        {"changes other tools committed", ChangesOfOtherTools},
        {"host changes outside the editor", HostChangesOutsideTheEditor},
        {"other hands and words", OtherHandsAndWords},
    };
}

} // namespace kxrandom
