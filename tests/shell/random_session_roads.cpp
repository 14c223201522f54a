// The roads of long user sessions beside the first edit kinds: bus bits shown in signal grids, rows
// selected twice, cleared and pasted signal-grid cells, filter rows typed into and pasted into, pair
// rows' Comments cells, typing into side-by-side grids, sorts by header click, menu and word, two
// windows on one design (an undo in each, a close without saving), the host's notifications, the
// instance connectivity dialog's counter, many deletes in one signal grid. Where an action names
// what it acts on, its line says so (Target), and the session checks the netlist against it.
#include "KXRandomEdits.h"

namespace kxrandom {

namespace {

std::string YesOrNo(Rng& rng) { return OneIn(rng, 2) ? "yes" : "no"; }

// A signal shown with two of its rows (instances) and what the rows' pins are.
struct ShownSignal {
    std::string net;
    std::vector<std::string> instances;
};
const ShownSignal& SomeSignal(Rng& rng) {
    static const std::vector<ShownSignal> shown = {
        {"PG", {"U1", "PWR1", "R2"}}, {"EN", {"R1", "PWR1"}}, {"MCLK", {"U1", "U2"}}, {"RESET_N", {"U1", "RN1A"}}};
    return Pick(rng, shown);
}

// "kx::show clp U1; kx::show slp DQ<3>" and an edit of one row's bit: Delete, a termination made by the
// menu, the pane's Delete. The row's pin is mostly a bit of the instance's DQ, not always the net's own
// bit (swaps move them), and now and then another pin of it (the matrix types any pin of a component
// into the net's row), so the action may change any pin of that instance, none of another.
std::string BusBitInSignalGrid(Rng& rng, EditWorld&) {
    const std::string bit = "DQ<" + std::to_string(std::uniform_int_distribution<int>(2, 6)(rng)) + ">";
    const std::string instance = OneIn(rng, 3) ? "U2" : "U1";
    std::string line = std::string(OneIn(rng, 2) ? "kx::show clp U1; " : "") + "kx::show slp {" + bit + "}; ";
    const std::string cell = "{*}[kxcell " + instance + " \"Pin Number\"]";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return line + "kx::select ccp " + cell + "; kx::key ccp Delete" + Target(instance);
    case 1:
        return line + "kx::select ccp " + cell + "; kx::answer dialog CKXTerminationDlg ok type Series; kx::menu 35522" +
               Target(instance);
    default:
        return line + "kx::select ccp " + cell + "; kx::pane Delete" + Target(instance);
    }
}

// Two rows of a signal grid selected one after the other; the pane's Delete, Delete or a property
// written by automation then act on the second.
std::string SecondSelection(Rng& rng, EditWorld&) {
    const ShownSignal& s = SomeSignal(rng);
    const std::string first = Pick(rng, s.instances);
    std::string second = Pick(rng, s.instances);
    while (second == first) second = Pick(rng, s.instances);
    std::string line = "kx::show slp " + s.net + "; kx::select ccp {*}[kxcell " + first +
                       " \"Pin Number\"]; kx::select ccp {*}[kxcell " + second + " \"Pin Number\"]; ";
    if (OneIn(rng, 3)) return line + "kx::pane ChangePropValue SPEED " + Braced(SomeText(rng)) + Target(second);
    return line + (OneIn(rng, 2) ? "kx::pane Delete" : "kx::key ccp Delete") + Target(second);
}

// A signal grid's Pin Number or Pin Name cell emptied by typing, or by pasting an empty cell.
std::string ClearedSignalCells(Rng& rng, EditWorld&) {
    const ShownSignal& s = SomeSignal(rng);
    const std::string row = Pick(rng, s.instances);
    const std::string caption = OneIn(rng, 2) ? "\"Pin Number\"" : "\"Pin Name\"";
    std::string line = "kx::show slp " + s.net + "; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " +
                       (OneIn(rng, 2) ? "1" : "0") + "; kx::answer question KXTABLE-140 " + YesOrNo(rng) + "; ";
    if (OneIn(rng, 2)) return line + "kx::edit ccp {*}[kxcell " + row + " " + caption + "] {}" + Target(row);
    // PWR1's Ref Des cell is empty.
    return line + "kx::select ccp {*}[kxcell PWR1 \"Ref Des\"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + row +
           " " + caption + "]; " + (OneIn(rng, 2) ? "kx::menu 57639" : "kx::key ccp Ctrl+V") + Target(row);
}

// Text pasted into the pin grid's filter row, typed into a pair row's Comments cell, or a name typed
// into one of two pin grids side by side that the other refuses; an undo following now and then, which
// takes back the edit before (these change nothing, and are no undo step).
std::string EmptyEdits(Rng& rng, EditWorld& w) {
    const bool undoNext = OneIn(rng, 2);
    const std::string undo = undoNext ? "; undo" : "";
    const auto target = [&](const std::string& names) { return undoNext ? std::string() : Target(names); };
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: {
        std::string line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                           " Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxrow 2 Signal]; " +
                           (OneIn(rng, 2) ? "paste pin" : "kx::key ccp Ctrl+V");
        return (OneIn(rng, 3) ? line : line + "; kx::edit ccp {*}[kxrow 2 Signal] *") + undo + target("-");
    }
    case 1:
        return "kx::show clp U1; kx::edit ccp {*}[kxcell " + std::string(OneIn(rng, 2) ? "CLK" : "TX<3..0>") +
               " Comments] " + Braced(OneIn(rng, 2) ? SomeText(rng) : std::string("SYSCLK_N")) + undo + target("-");
    default: {
        static const std::vector<std::string> names = {"XC<3..0>", "XC<1..0>", "PG", "RESET_N"};
        return "kx::show clp R2 RN1A; kx::answer question KXTABLE-140 yes; kx::edit ccp {*}[kxcell " +
               std::string(OneIn(rng, 2) ? "A" : "B") + " Signal] " +
               Braced(OneIn(rng, 2) ? Pick(rng, names) : w.NewSignal("SBS")) + undo + target("R2 RN1A");
    }
    }
}

// A sort by a click on a column's caption, or by the pane's menu on the current cell.
std::string SortByClickOrMenu(Rng& rng, EditWorld&) {
    static const std::vector<std::string> pinCaptions = {"\"Pin Name\"", "Signal", "\"Pin Number\"", "Termination"};
    static const std::vector<std::string> netCaptions = {"Instance", "\"Pin Name\"", "\"Pin Number\"", "Cell"};
    const bool pins = OneIn(rng, 2);
    std::string line = pins ? "kx::show clp U1; " : "kx::show slp " + SomeSignal(rng).net + "; ";
    const std::string caption = Pick(rng, pins ? pinCaptions : netCaptions);
    // Taken back at once now and then, as a user does who wanted the rows as they were. A sort that leaves
    // the rows in their order is no step: the undo would take back the edit before it, which the line
    // does not name.
    const bool undo = OneIn(rng, 2);
    line += undo ? "set h [kx::history]; " : "";
    const std::string back = undo ? "; if {[kx::history] ne $h} undo" : "";
    if (OneIn(rng, 2)) return line + "kx::click ccp {*}[kxrow 4 " + caption + "]" + back + Target("-");
    return line + "kx::select ccp {*}[kxcell " + (pins ? "MCLK" : "U1") + " " + caption + "]; kx::menu 35121" + back +
           Target("-");
}

// A sort by the word in a signal grid (the pin grid's is among the first kinds).
std::string SortByWord(Rng& rng, EditWorld&) {
    static const std::vector<std::string> captions = {"Instance", "\"Pin Name\"", "\"Pin Number\""};
    return "kx::show slp " + SomeSignal(rng).net + "; sort pin " + Pick(rng, captions) + Target("-");
}

// A filter typed into a signal grid's filter row, taken off again mostly, an undo following now and then.
std::string SignalGridFilter(Rng& rng, EditWorld&) {
    static const std::vector<std::string> patterns = {"U*", "R*", "*1", "NOPE"};
    const std::string line = "kx::show slp " + SomeSignal(rng).net + "; kx::edit ccp {*}[kxrow 2 Instance] " +
                             Pick(rng, patterns);
    // An undo after it takes back the edit before (a filter is no undo step): that changes connections.
    const std::string undo = OneIn(rng, 2) ? "; undo" : Target("-");
    return (OneIn(rng, 3) ? line : line + "; kx::edit ccp {*}[kxrow 2 Instance] *") + undo;
}

// A filter typed into the pin grid's filter row and taken off in the same action.
std::string PinGridFilterCleared(Rng& rng, EditWorld&) {
    static const std::vector<std::string> patterns = {"M*", "*N", "X*", "D*"};
    const std::string caption = OneIn(rng, 2) ? "\"Pin Name\"" : "Signal";
    return "kx::show clp U1; kx::edit ccp {*}[kxrow 2 " + caption + "] " + Pick(rng, patterns) +
           "; kx::edit ccp {*}[kxrow 2 " + caption + "] *" + Target("-");
}

// The same, the filter kept, and the instance connectivity dialog on U1 connecting pins the filter
// may hide.
std::string PinGridFilterKept(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> patterns = {"M*", "*N", "X*", "P*"};
    static const std::vector<std::string> pins = {"MCLK", "PGOOD", "RST_N", "MCLK PGOOD"};
    const std::string caption = OneIn(rng, 2) ? "\"Pin Name\"" : "\"Pin Number\"";
    return "kx::show clp U1; kx::edit ccp {*}[kxrow 2 " + caption + "] " + Pick(rng, patterns) +
           "; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer dialog CKXInstConnDlg ok "
           "pins " + Braced(Pick(rng, pins)) + " signal " + Braced(w.NewSignal("FIC")) +
           "; kx::answer dialog CKXInstConnDlg ok; kx::instconn U1 " +
           std::to_string(std::uniform_int_distribution<int>(0, 9)(rng));
}

// The host's delete of an instance, by a name the design has or one it does not.
std::string HostDeletesByName(Rng& rng, EditWorld& w) {
    const std::string name = Pick(rng, w.components);
    return "kx::show clp " + Pick(rng, w.components) + "; kx::notify INT_MSG_DELETE_INSTANCE -text " + name +
           Target(name);
}
std::string HostDeletesUnknown(Rng& rng, EditWorld& w) {
    return "kx::show clp " + Pick(rng, w.components) + "; kx::notify INT_MSG_DELETE_INSTANCE -text " +
           (OneIn(rng, 2) ? "NOPE" : "U99") + Target("-");
}

// The host renamed an instance and moves its pins' comments (one made first mostly), not renamed back.
std::string HostMovesComments(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> renames = {"U1:U7", "U1:U7", "U2:U8", "U7:U1"};
    const std::string comment =
        OneIn(rng, 4) ? std::string() : "addComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins)) + "; ";
    return comment + "kx::notify INT_MSG_PRESERVE_INST_COMMENT " + Pick(rng, renames) + (OneIn(rng, 2) ? " 1" : " 0");
}

// The instance connectivity dialog opened with a counter out of range.
std::string InstConnCounter(Rng& rng, EditWorld&) {
    static const std::vector<std::string> counters = {"2147483647", "2147483646", "-1", "99999999999"};
    return "kx::answer dialog CKXInstConnDlg ok pins {MCLK PGOOD} fx 35255; kx::answer dialog CKXInstConnDlg ok; "
           "kx::instconn U1 " + Pick(rng, counters);
}

// A pin connected in a signal grid and its row deleted again and again, then a pin number typed into
// a blank row: it must connect.
std::string ManyDeletes(Rng& rng, EditWorld&) {
    const std::string times = std::to_string(std::uniform_int_distribution<int>(99, 110)(rng));
    return "kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < " + times +
           "} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; "
           "kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; "
           "kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} "
           "{kxfault \"a pin number typed into a blank row was refused after many deletes\"}";
}

// A user option or the host's setting message between edits: a view setting, no edit.
std::string ViewSetting(Rng& rng, EditWorld&) {
    static const std::vector<std::string> options = {"show_row_numbers", "auto_complete_signals",
                                                     "show_signal_combo_in_ccp", "naming_convention_on_copy",
                                                     "show_dp_signals_slp"};
    static const std::vector<std::string> messages = {"INT_MSG_SETUP_SHOW_ROW_NUMBERS", "INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP",
                                                      "INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP"};
    const std::string value = OneIn(rng, 2) ? "1" : "0";
    if (OneIn(rng, 5)) return "kx::option move_direction " + std::string(OneIn(rng, 2) ? "Down" : "Right");
    if (OneIn(rng, 2)) return "kx::option " + Pick(rng, options) + " " + value;
    return "kx::notify " + Pick(rng, messages) + " {} " + value;
}

// Comment words on U1's pins with a new text, the text the comment has, or blanks alone.
std::string CommentTexts(Rng& rng, EditWorld& w) {
    const std::string pin = Braced(Pick(rng, w.pins));
    std::string text;
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: text = SomeText(rng); break;
    case 1: text = "note"; break;
    default: text = OneIn(rng, 2) ? "  " : " "; break;
    }
    const std::string word = OneIn(rng, 2) ? "modifyComment" : "addComment";
    std::string line = "kx::show clp U1; ";
    if (OneIn(rng, 2)) line += "addComment pin note " + pin + "; ";
    return line + word + " pin " + Braced(text) + " " + pin;
}

// A custom-column value over several rows of U1's pin grid, by the word or typed into the cells.
std::string CustomValueRows(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> values = {"fast", "1.8 V", "", "a b"};
    static const std::vector<std::string> rows = {"MCLK", "PGOOD", "RST_N", "A<12..0>", "DQ<15..0>", "CLK"};
    const std::string column = Pick(rng, w.columns), caption = column == "SPEED" ? "Speed" : "\"Volt max\"";
    std::string line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, rows)) + " " + caption +
                       "] {*}[kxcell " + Braced(Pick(rng, rows)) + " " + caption + "]; ";
    return line + "changeCustomColumn pin -col " + column + " -val " + Braced(Pick(rng, values)) + Target("-");
}

// A termination or a pull-up copied from a pin and pasted onto a bus row (some of whose bits may have
// one already) and other rows.
std::string BusRowPaste(Rng& rng, EditWorld&) {
    static const std::vector<std::string> buses = {"DQ<15..0>", "A<12..0>", "TX<3..0>"};
    const bool pupd = OneIn(rng, 3);
    const std::string caption = pupd ? "\"Pull Up/Down\"" : "Termination";
    std::string line = "kx::show clp U1; ";
    if (pupd) line += "selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3 -value 4k7; ";
    else if (OneIn(rng, 2))
        line += "kx::select ccp {*}[kxcell {DQ<3>} Termination]; addTermination pin -type Series -part1 -lib "
                "discrete -cell resistor -view sym -physname R0402 -value 33; ";
    line += "kx::select ccp {*}[kxcell " + std::string(pupd ? "MCLK" : (OneIn(rng, 3) ? "CLK" : "MCLK")) + " " +
            caption + "]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + Braced(Pick(rng, buses)) + " " + caption + "]";
    if (OneIn(rng, 3)) line += " {*}[kxcell PGOOD " + caption + "]";
    // A pull-up on an open pin gives it a net of its own.
    return line + (OneIn(rng, 4) ? "; paste special" : "; paste pin") + Target("U1");
}

// A bus or pair row opened by its button, then an edit on a row it opened: a signal typed, Delete, a
// termination removed.
std::string OpenedRows(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> folds = {
        {"TX<3..0>", {"TX<3>", "TX<1>", "TX<0>"}}, {"DQ<15..0>", {"DQ<15>", "DQ<9>", "DQ<1>"}},
        {"A<12..0>", {"A<12>", "A<0>"}}};
    static const std::vector<std::string> pairNames = {"LVDS<2> (Differential Pair)", "SYSCLK (Differential Pair)"};
    const auto& [fold, rows] = Pick(rng, folds);
    const std::string row = Braced(Pick(rng, rows));
    const bool pair = fold[0] == 'T';
    std::string line = "kx::show clp U1; kx::answer question KXTABLE-140 yes; kx::answer dialog CKXRetainAssocCompDlg ok "
                       "preserveTermination " + std::string(OneIn(rng, 2) ? "1" : "0") +
                       "; kx::click ccp [lindex [kxcell " + Braced(fold) + " Signal] 0] 4 button; ";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0:
        return line + "kx::edit ccp {*}[kxcell " + row + " Signal] " +
               Braced(pair ? Pick(rng, pairNames) : w.NewSignal("OPN")) + Target("U1");
    case 1: return line + "kx::select ccp {*}[kxcell " + row + " Signal]; kx::key ccp Delete" + Target("U1");
    default: return line + "kx::select ccp {*}[kxcell " + row + " Termination]; kx::key ccp Delete" + Target("U1");
    }
}

// The physical part grid's and net grid's Signal Model cells typed into (in another letter case now and
// then) or cleared by Delete, in the physical view.
std::string PhysicalModelCells(Rng& rng, EditWorld&) {
    static const std::vector<std::string> models = {"RES_MODEL", "res_model", "RES_FAST", ""};
    static const std::vector<std::string> numbers = {"1", "2", "7", "8"};
    std::string line = "if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; ";
    const std::string cell = OneIn(rng, 3) ? std::string("catch {kx::show slp RESET_N}; set c [kxcell RN1 \"Signal Model\"]")
                                           : "catch {kx::show clp RN1}; set c [kxcell " + Pick(rng, numbers) +
                                                 " \"Signal Model\"]";
    line += cell + "; ";
    if (OneIn(rng, 2)) return line + "kx::edit ccp {*}$c " + Braced(Pick(rng, models));
    return line + "kx::select ccp {*}$c; kx::key ccp Delete";
}

} // namespace

std::vector<EditKind> SessionRoads() {
    return {
        {"bus bit shown in a signal grid", BusBitInSignalGrid, "bus bit shown in a signal grid"},
        {"second selection in a signal grid", SecondSelection, "second selection in a signal grid"},
        {"cleared signal-grid cells", ClearedSignalCells, "cleared signal-grid cells"},
        {"empty edits", EmptyEdits, "empty edits"},
        {"sorts by click and menu", SortByClickOrMenu, "sorts by click and menu"},
        {"sort of a signal grid by the word", SortByWord},
        {"filters of signal grids", SignalGridFilter},
        {"pin grid filter taken off", PinGridFilterCleared},
        {"pin grid filter kept", PinGridFilterKept, "instance connectivity after a filter"},
        {"host deletes an instance", HostDeletesByName, "instance deletes by the host"},
        {"host deletes an unknown instance", HostDeletesUnknown, "instance deletes by the host"},
        {"comments moved by a host rename", HostMovesComments, "comments moved by a host rename"},
        {"instance connectivity counter", InstConnCounter, "instance connectivity counter"},
        {"many deletes in a signal grid", ManyDeletes, "many deletes in a signal grid"},
        {"view settings between edits", ViewSetting},
        {"comment texts blank, equal and new", CommentTexts},
        {"custom values over several rows", CustomValueRows},
        {"pastes onto bus rows", BusRowPaste},
        {"rows opened by their buttons", OpenedRows},
        {"physical model cells", PhysicalModelCells},
        // Two windows on one design: another one opened, the user going between them (an undo in
        // each comes from the undo kinds), the second closed without saving.
        {"another window on the design",
         [](Rng&, EditWorld&) { return std::string("kx::open demo.board:sch 3; kx::show clp U1"); },
         "two windows on one design"},
        {"the other window",
         [](Rng& rng, EditWorld&) { return std::string(OneIn(rng, 2) ? "kx::tab 1" : "catch {kx::tab 2}"); },
         "two windows on one design"},
        {"second window closed without saving",
         [](Rng&, EditWorld&) {
             return std::string("if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}");
         },
         "two windows on one design"},
    };
}

} // namespace kxrandom
