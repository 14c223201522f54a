// Random sequences of user actions on the example board, through every edit road the host offers:
// the connection words and their automation (by name, bus range, naming rule, comma list; delete,
// swap, pin numbers, Attach Signal), terminations, pull-ups/pull-downs and pin models by word and by
// automation (added, edited, re-timed, deleted, a copied termination pasted; in the pin grid and the
// signal grid), the physical part grid's pin numbers and swaps, typing into the cells of whatever grid
// is shown, Delete on its columns, drops, undo and redo, switching what the pane shows (back to an
// earlier object too), the matrix view (opened, added to, typed into, Delete, its connect word, its
// terminations and pull-ups), the pin grid's paste of copied signals, a model typed into the physical
// part grid, a component dropped on the component list, an instance dropped on a signal grid and its
// pin number typed, the host's rename of an instance carrying its pin comments, a signal typed into a
// pin row with the terminations question answered either way, the instance connectivity dialog (with a
// paste of copied cells onto its pins), the
// pin grid's and the matrix's paste of copied pull-ups and terminations, the clipboard viewer's paste,
// the clock pair moved to another pair net with its terminations kept or dropped, a second window on
// the same design, and a close without saving followed by a reopen; the pin grid's renames, its pair
// pin taken off, Modify Values, the termination and pull-up dialogs (button, double-click, menu), the
// Assign Pin Number menu, its view options, sorting and filtering; several grids shown at once and
// another made active; the signal grid's connect by pin number, its paste and property setting; the
// matrix's models, edited terminations and pull-ups, its dialogs and pasted cells, its stored views
// saved as, removed, made and changed by the menus; a model typed into the physical net grid; the
// host's deletes, placements and pin comment moves; the lists' automation; Ctrl+Z, Ctrl+Y and
// Ctrl+V; and the session roads (random_session_roads.cpp): bus bits shown in signal grids, rows
// selected twice, cleared and pasted signal-grid cells, filter rows, pair rows' Comments cells,
// side-by-side typing, sorts by click, menu and word, two windows on one design, the host's
// notifications, user options and the host's setting messages between edits, comment words with blank,
// equal and new texts, custom values over several rows, pastes onto bus rows, rows opened by their
// buttons and edits on them, and the physical grids' model cells. About one commit in six is refused by the design database.
//
// A session is 60 to 100 actions on the example board opened as a block in its parent, in a host of
// its own started afresh (library as shipped, the suite's settings); its last action saves the first
// window, and the windows it leaves open are closed by the host's exit. An action that names what it
// acts on (its line ends in " ;# target: NAMES") may change the connections of those pins only (the
// netlist before and after it). After each session: nothing crashed, undoing every step (in the order
// the steps were made, over every window) gives the saved design back byte for byte, redoing them
// gives the end state, twice over; then the host exits, and the session's journal replayed by a fresh
// kxhost process, with an empty settings folder, on the library as shipped leaves every window with the
// undo history the session's actions left (the same undo and redo steps under the same names, kx::history), and once the journal
// of the host's exit replayed too, every file of the library as the session left it, byte for byte. The window roads (random_session_windows.cpp) open
// two and three windows in modes 0, 1, 3 and 4 and matrix views, switch views saving or not, descend
// and ascend, filter blocks, tie power groups, add columns, save as, zoom, fit columns, press keys in
// a cell editor, type one-bit pair names, save from several windows and use hostile names.
//
// A new kind of edit is one more entry in FirstKinds() or SessionRoads(): a name and a function that
// writes one Tcl line for the current state (a script word, a "kx::" hand on the grid, or
// "kx::call"/"kx::pane" for automation). Lines that the editor refuses are fine: a refused edit must
// change nothing, which the checks see. "kxcell TEXT CAPTION" (defined below) names the cell of the
// active grid in the row showing TEXT and the column titled CAPTION. A road that meets a known fault
// not mended yet names it in RoadsAwaitingAMend() (KXRandomEdits.h) and is left out until then;
// KX_EDIT_ROADS=all (or a list of those names) takes it.
//
// A failure prints the seed; KX_EDIT_SEED=<seed> runs that session alone, KX_EDIT_SEQUENCES=<n>
// runs n sessions (the suite runs a fixed few, five to a case), from KX_EDIT_SEED when both are
// given. With KX_EDIT_SCRIPT=<file> the file's lines (the "edits:" a failure prints) are the session
// instead, meeting the same refused commits as the seed's own: lines taken out of it make a failure
// smaller. KX_EDIT_KEEP=<folder> keeps the fresh host's folder (library, journal, log) there, and
// KX_EDIT_HOST=<kxhost> names the host that replays.
#include "KXGridCellProcs.h"
#include "KXRandomEdits.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using namespace kxrandom;

// The clock of the comments' time stamps, in the session and in the fresh host that replays it.
constexpr const char* kEpoch = "1780000000";

// Shows a matrix view (one of two, the second now and then) with U1 and a few signals in it.
std::string MatrixShown(Rng& rng, EditWorld&) {
    return std::string("openMatrixView pin ") + (OneIn(rng, 4) ? "mv2" : "mv") +
           "; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}";
}

// A pin of U1 with its number, as the pin grid's copy and select words name it.
std::string PinAndNumber(Rng& rng) {
    static const std::vector<std::string> pins = {"MCLK B14", "PGOOD C10", "RST_N C9", "{DQ<3>} A13", "MCLK B14",
                                                  "PGOOD C10"};
    return Pick(rng, pins);
}

std::string InstanceConnectivity(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> instances = {
        {"U1", {"MCLK", "PGOOD", "RST_N", "CLK", "DQ<3>", "NOPIN"}}, {"R2", {"A", "B"}}, {"R1", {"A", "B"}}};
    static const std::vector<std::string> functions = {"35280", "35255", "35256", "35275", "35278", "35282"};
    static const std::vector<std::string> texts = {"PG", "=PREFIXPINNAME(X_)", "=AUTONAME", "", "MCLK"};
    const auto& [instance, pins] = Pick(rng, instances);
    std::string line = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " +
                       std::string(OneIn(rng, 2) ? "1" : "0") + "; ";
    const int actions = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < actions; ++i) {
        std::string chosen = Pick(rng, pins);
        if (OneIn(rng, 2)) chosen += " " + Pick(rng, pins);
        line += "kx::answer dialog CKXInstConnDlg ok pins " + Braced(chosen) +
                (OneIn(rng, 2) ? " fx " + Pick(rng, functions)
                               : " signal " + Braced(OneIn(rng, 2) ? w.NewSignal("IC") : Pick(rng, texts))) +
                "; ";
    }
    line += std::string("kx::answer dialog CKXInstConnDlg ") + (OneIn(rng, 4) ? "cancel" : "ok") + "; ";
    return line + "kx::instconn " + instance + " " + std::to_string(std::uniform_int_distribution<int>(0, 9)(rng));
}

// Ctrl+C on cells of U1's pin grid (signals mostly, pin names now and then: a bus name asks for bits,
// which stays unanswered, so that line refuses the paste), then Ctrl+V on pins of the instance
// connectivity dialog among its other steps; the dialog kept or cancelled.
std::string InstanceConnectivityPaste(Rng& rng, EditWorld& w) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> instances = {
        {"U1", {"MCLK", "PGOOD", "RST_N", "CLK", "DQ<3>"}}, {"R2", {"A", "B"}}, {"R1", {"A", "B"}}};
    std::string line = "kx::show clp U1; copy pin [list U1 " + PinAndNumber(rng) + "]";
    if (OneIn(rng, 3)) line += " [list U1 " + PinAndNumber(rng) + "]";
    line += OneIn(rng, 5) ? " {Pin Name}; " : " Signal; ";
    const auto& [instance, pins] = Pick(rng, instances);
    line += "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination ";
    line += OneIn(rng, 2) ? "1; " : "0; ";
    auto chosen = [&] {
        std::string names = Pick(rng, pins);
        if (OneIn(rng, 2)) names += " " + Pick(rng, pins);
        return "kx::answer dialog CKXInstConnDlg ok pins " + Braced(names);
    };
    if (OneIn(rng, 2)) line += chosen() + " signal " + Braced(w.NewSignal("IC")) + "; ";
    line += chosen() + " paste " + (OneIn(rng, 4) ? "special" : "1") + "; ";
    if (OneIn(rng, 3)) line += chosen() + " fx 35255; ";
    line += std::string("kx::answer dialog CKXInstConnDlg ") + (OneIn(rng, 5) ? "cancel" : "ok") + "; ";
    const int counter = std::uniform_int_distribution<int>(0, 9)(rng);
    return line + "kx::instconn " + instance + " " + std::to_string(counter);
}

std::string PinGridPupdPaste(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp U1; ";
    const std::string source = PinAndNumber(rng);
    // Mostly a pull-up with its DC net first: the saved board's own has none, which does not paste.
    if (!OneIn(rng, 4))
        line += "selectObject pin " + source.substr(0, source.find(' ')) + "; addPupd pin -type " +
                (OneIn(rng, 2) ? "pullup" : "pulldown") + " -dcnet VCC3V3 -value 4k7; ";
    line += "copy pin [list U1 " + source + "]";
    if (OneIn(rng, 3)) line += " [list U1 " + PinAndNumber(rng) + "]";
    // Onto pins of the grid's rows (a bus pin, or a bit shown only with the pins expanded, now and then).
    // Mostly pins other than the copied one, which has the pull-up already.
    static const std::vector<std::string> targets = {"MCLK", "PGOOD", "RST_N", "MCLK", "PGOOD", "A<12..0>", "DQ<4>"};
    const std::string copied = source.substr(0, source.find(' '));
    auto target = [&] {
        std::string pin = Pick(rng, targets);
        for (int tries = 0; pin == copied && tries < 3; ++tries) pin = Pick(rng, targets);
        return pin;
    };
    line += " pupd; kx::select ccp {*}[kxcell " + Braced(target()) + " \"Pull Up/Down\"]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(target()) + " \"Pull Up/Down\"]";
    return line + (OneIn(rng, 4) ? "; paste special" : "; paste pin");
}

std::string MatrixAssocPaste(Rng& rng, EditWorld& w) {
    std::string line = MatrixShown(rng, w) + "; matrixAdd pin signal RESET_N; ";
    if (OneIn(rng, 4)) {
        // What the journal writes for a pasted component, and a few that cannot be placed.
        static const std::vector<std::string> calls = {
            "TERMINATION {DQ<2>} U1 {DQ<2>} Series {} {type=Series;delay=;slots=1;0.id=R;0.lib=discrete;"
            "0.cell=resistor;0.view=sym;0.phys=R0402;0.value=22;0.refdes=;0.k=;0.i=}",
            "TERMINATION MCLK U1 NOPIN Series {} {type=Series;slots=1;0.lib=discrete;0.cell=resistor;0.view=sym}",
            "PUPD PG {} {} PullUp {} {type=PullUp;delay=;high=;low=;dcnet=VCC3V3;slots=1;0.id=R;0.lib=discrete;"
            "0.cell=resistor;0.view=sym;0.phys=R0402;0.value=10k;0.refdes=;0.k=;0.i=}",
            "PUPD {DQ<3>} {} {} PullDown {} {}"};
        return line + "kx::pane MatrixPasteAssoc " + Pick(rng, calls);
    }
    const bool pupd = OneIn(rng, 2);
    const std::string caption = pupd ? "\"Pull Up/Down\"" : "Termination";
    // Mostly a row with something to copy: MCLK's termination, RESET_N's pull-up, or one made now.
    std::string source = OneIn(rng, 3) ? Pick(rng, w.matrixRows) : std::string(pupd ? "RESET_N" : "MCLK");
    if (OneIn(rng, 2)) {
        source = Pick(rng, w.matrixRows);
        line += "kx::select ccp {*}[kxcell " + Braced(source) +
                (pupd ? " Signal]; addPupd pin -type pulldown -dcnet VCC3V3 -value 10k; "
                      : " \"Pin Name\"]; addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view "
                        "sym -physname R0402 -value 50; ");
    }
    line += "kx::select ccp {*}[kxcell " + Braced(source) + " " + caption + "]; kx::key ccp Ctrl+C; ";
    // Into the other view now and then.
    if (OneIn(rng, 3)) line += "openMatrixView pin mv4; matrixAdd pin component U1; matrixAdd pin signal PG; "
                               "matrixAdd pin signal {DQ<4..2>}; ";
    line += "kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + caption + "]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + caption + "]";
    return line + (OneIn(rng, 3) ? "; paste special" : "; paste pin");
}

std::string ClipViewerPaste(Rng& rng, EditWorld& w) {
    std::string line;
    // An instance's name copied from a signal grid, or a pin's signal from the pin grid.
    if (OneIn(rng, 2))
        line = "kx::show slp " + std::string(OneIn(rng, 2) ? "MCLK" : "PG") + "; kx::select ccp {*}[kxcell " +
               Pick(rng, std::vector<std::string>{"U1", "U2", "R2"}) + " Instance]; kx::key ccp Ctrl+C; ";
    else
        line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
               " Signal]; kx::key ccp Ctrl+C; ";
    // Mostly the newest item, now and then an older one (or one the viewer does not hold).
    const std::string item = OneIn(rng, 3) ? std::to_string(std::uniform_int_distribution<int>(2, 4)(rng)) : "1";
    if (OneIn(rng, 2)) return line + "selectWindow clp; kx::clipview " + item;
    return line + "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]; kx::clipview " +
           item;
}

std::string PairMoveRetain(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> pairs = {"SYSCLK", "LVDS<1>", "LVDS"};
    std::string line = "kx::show clp U1; ";
    // The positive leg given a termination of its own first (its row shows with pairs off).
    if (OneIn(rng, 2))
        line += "setViewOption pin dp_off; selectObject pin CLK_P; addTermination pin -type Series -part1 -lib "
                "discrete -cell resistor -view sym -physname R0402 -value 22; setViewOption pin dp_on; ";
    // The answer a journal gives, or the user's in the question.
    if (OneIn(rng, 3)) line += "kx::pane RetainTermination " + std::string(OneIn(rng, 2) ? "1" : "0") + "; ";
    line += "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination " + std::string(OneIn(rng, 2) ? "1" : "0") +
            "; kx::answer dialog CKXDontAskAgainYesNoDlg " + (OneIn(rng, 4) ? "cancel" : "ok") + "; ";
    const std::string pair = (OneIn(rng, 2) ? w.NewSignal("FCLK") : Pick(rng, pairs)) + " (Differential Pair)";
    if (OneIn(rng, 2)) return line + "addConnection pin " + Braced(pair) + " CLK";
    return line + "kx::edit ccp {*}[kxcell CLK Signal] " + Braced(pair);
}

// The pin grid's renames: each listed pin of U1 gets a new signal or one the design has (three words:
// the pin is disconnected), all in one step.
std::string RenameConnection(Rng& rng, EditWorld& w) {
    std::string line = "kx::show clp U1; renameConnection pin";
    const int pins = OneIn(rng, 3) ? 2 : 1;
    for (int i = 0; i < pins; ++i) {
        line += " [list U1 " + PinAndNumber(rng);
        if (!OneIn(rng, 5)) line += " " + (OneIn(rng, 2) ? w.NewSignal("RN") : Pick(rng, w.signals));
        line += "]";
    }
    return line;
}

// The clock pair's pin taken off U1 by the word, its automation or the menu, its connection cleared
// first mostly (a connected pair is refused).
std::string RemovePairPin(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp U1; ";
    if (!OneIn(rng, 4)) line += "kx::edit ccp {*}[kxcell CLK Signal] {}; ";
    static const std::vector<std::string> roads = {"removeDiffPairPin pin CLK", "kx::pane RemoveDiffPairPin CLK",
                                                   "kx::select ccp {*}[kxcell CLK \"Pin Name\"]; kx::menu 35725",
                                                   "removeDiffPairPin pin {TX<3..0>}"};
    return line + Pick(rng, roads);
}

// Modify Values on selected Signal cells of U1's pins, the values answered in the dialog.
std::string ModifyValues(Rng& rng, EditWorld& w) {
    std::string line = "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]";
    if (OneIn(rng, 2)) line += " {*}[kxcell " + Braced(Pick(rng, w.pins)) + " Signal]";
    line += "; kx::answer dialog CKXDlgEditValues " + std::string(OneIn(rng, 5) ? "cancel" : "ok") + " value0 " +
            Braced(OneIn(rng, 2) ? w.NewSignal("MV") : Pick(rng, w.signals));
    if (OneIn(rng, 2)) line += " value1 " + Braced(w.NewSignal("MV"));
    return line + "; kx::menu 35096";
}

// The termination dialog of a pin grid's or signal grid's row: the cell's button, a double-click or
// the pane's Add Termination, the dialog kept or cancelled.
std::string TerminationDialog(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> answers = {"ok type Series", "ok type Shunt value0 47", "cancel",
                                                     "ok type Thevenin"};
    std::string line = OneIn(rng, 3) ? "kx::show slp " + std::string(OneIn(rng, 2) ? "PG" : "MCLK") + "; "
                                     : std::string("kx::show clp U1; ");
    line += "kx::answer dialog CKXTerminationDlg " + Pick(rng, answers) + "; ";
    const std::string cell = "{*}[kxcell " + Braced(Pick(rng, w.rowTexts)) + " Termination]";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return line + "kx::click ccp " + cell + " button";
    case 1: return line + "kx::click ccp " + cell + " double";
    default: return line + "kx::select ccp " + cell + "; kx::menu 35522";
    }
}

// The pull-up/pull-down dialog of U1's pins (open pins get signals first, one common one or each its
// own): a double-click on the Pull Up/Down cell or the pane's menu.
std::string PupdDialog(Rng& rng, EditWorld& w) {
    static const std::vector<std::string> answers = {"ok type pullup dcnet VCC3V3 value 10k",
                                                     "ok type pulldown dcnet GND value 4k7", "cancel"};
    std::string line = "kx::show clp U1; kx::answer dialog CKXOpenPinConnectionDlg ok common " +
                       std::string(OneIn(rng, 2) ? "1" : "0") + "; kx::answer dialog CKXPupdDlg " +
                       Pick(rng, answers) + "; ";
    const std::string cell = "{*}[kxcell " + Braced(Pick(rng, w.pins)) + " \"Pull Up/Down\"]";
    if (OneIn(rng, 2)) return line + "kx::click ccp " + cell + " double";
    return line + "kx::select ccp " + cell + "; kx::menu 35509";
}

// Several components side by side or several signals as a group, then one of the shown grids made the
// active one.
std::string ShowSeveral(Rng& rng, EditWorld& w) {
    std::string line = OneIn(rng, 2) ? "kx::show clp U1 " + Pick(rng, w.components)
                                     : "kx::show slp " + Pick(rng, w.signals) + " " + Pick(rng, w.signals);
    return line + "; catch {kx::grid ccp " + std::to_string(std::uniform_int_distribution<int>(1, 2)(rng)) + "}";
}

// A pin of RN1A given a number by the pane's Assign Pin Number items or their More... dialog.
std::string PinNumberMenu(Rng& rng, EditWorld&) {
    std::string line = "kx::show clp " + std::string(OneIn(rng, 2) ? "RN1A" : "RN1B") + "; kx::select ccp {*}[kxcell " +
                       (OneIn(rng, 2) ? "A" : "B") + " \"Pin Number\"]; ";
    if (OneIn(rng, 3))
        return line + "kx::answer dialog CKXAssignPinDialog ok pin " +
               std::to_string(std::uniform_int_distribution<int>(1, 8)(rng)) + "; kx::menu 35550";
    return line + "kx::menu " + std::to_string(std::uniform_int_distribution<int>(35545, 35549)(rng));
}

// The signal grid's connect of an instance's pin by its number (a bus bit too).
std::string SignalGridConnect(Rng& rng, EditWorld&) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> shown = {
        {"PG", {"J1:8", "R1:1", "U2:30", "J1:99"}}, {"EN", {"R2:2", "J1:7"}}, {"DQ", {"J1:9:4:4:DQ", "J1:9:4"}}};
    const auto& [signal, keys] = Pick(rng, shown);
    return "kx::show slp " + signal + "; kx::answer question KXTABLE-140 " + (OneIn(rng, 2) ? "yes" : "no") +
           "; addConnection pin " + Pick(rng, keys);
}

// The matrix view's cells: models set and taken off, a termination or pull-up changed, a termination
// or pull-up made by the pane's dialogs, copied pin cells pasted into other rows.
std::string MatrixCellEdit(Rng& rng, EditWorld& w) {
    const std::string line = MatrixShown(rng, w) + "; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; ";
    const std::string row = Braced(Pick(rng, w.matrixRows));
    switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0: return line + "assignModel pin LVCMOS33 [list " + row + " U1]";
    case 1: return line + "removeModel pin [list " + row + " U1]";
    case 2:
        return line + "kx::pane MatrixSelect " + row + " U1 TERMINATION " + row + "; editTermination pin -delay " +
               std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
    case 3:
        return line + "kx::select ccp {*}[kxcell " + row + " Signal]; editPupd pin RP1 -dcnets " +
               (OneIn(rng, 2) ? "GND" : "VCC3V3");
    case 4:
        return line + "kx::select ccp {*}[kxcell " + row + " \"Pin Name\"]; kx::answer dialog CKXTerminationDlg " +
               (OneIn(rng, 3) ? "cancel" : "ok type Series") + "; kx::answer dialog CKXPupdDlg ok type pulldown "
               "dcnet GND value 1k; kx::menu " + (OneIn(rng, 2) ? "35522" : "35509");
    default:
        return line + "kx::select ccp {*}[kxcell " + row + " \"Pin Name\"]; kx::key ccp Ctrl+C; kx::select ccp "
               "{*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " \"Pin Name\"]; kx::answer question KXTABLE-140 " +
               (OneIn(rng, 2) ? "yes" : "no") + "; paste pin";
    }
}

// Stored matrix views saved under another name, removed, made and changed by the list's menus.
std::string MatrixViewMenus(Rng& rng, EditWorld& w) {
    const std::string name = OneIn(rng, 2) ? "mv" : "mv" + std::to_string(std::uniform_int_distribution<int>(5, 7)(rng));
    const std::string shown = MatrixShown(rng, w) + "; ";
    switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
    case 0: return shown + "kx::pane SaveAsMatrixView " + name;
    case 1: return shown + "kx::answer dialog CKXMatrixSaveAsDlg ok name " + name + "; kx::menu 35677";
    case 2: return "kx::pane RemoveMatrixView " + name;
    case 3: return shown + "kx::menu 35678";
    case 4:
        return "kx::answer dialog CKXMatrixViewDlg ok name " + name + " components " +
               Braced("U1 " + Pick(rng, w.components)) + " signals " + Braced("MCLK " + Pick(rng, w.signals)) +
               "; kx::menu 35676";
    default:
        return shown + "kx::answer dialog CKXMatrixViewDlg ok signals " + Braced(Pick(rng, w.signals) + " PG") +
               "; kx::menu 35706";
    }
}

// A pin row's Signal Model typed in the physical net grid.
std::string PhysicalNetModel(Rng& rng, EditWorld&) {
    static const std::vector<std::string> models = {"RES_MODEL", "RES_FAST", "", "NOSUCHMODEL"};
    static const std::vector<std::string> nets = {"VCC3V3", "RST_IN", "RESET_N"};
    return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) + "catch {kx::show slp " + Pick(rng, nets) +
           "}; kx::edit ccp {*}[kxcell RN1 \"Signal Model\"] " + Braced(Pick(rng, models));
}

// What the pin grid shows of U1: pairs and vectors shown or not, its rows sorted, or filtered (the
// filter taken off again mostly, so that the edits that follow find their rows).
std::string ViewOfThePins(Rng& rng, EditWorld&) {
    static const std::vector<std::string> options = {"dp_off", "dp_on", "bus_off", "bus_on"};
    static const std::vector<std::string> sorts = {"\"Pin Name\"", "Signal", "\"Pin Number\""};
    static const std::vector<std::string> filters = {"M*", "*N", "D*", "*"};
    std::string line = FirstWindowWhileFiltersAwait() + "kx::show clp U1; ";
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: return line + "setViewOption pin " + Pick(rng, options);
    case 1: return line + "sort pin " + Pick(rng, sorts);
    default:
        line += "filterRows pin -col Signal -filter " + Pick(rng, filters);
        return OneIn(rng, 3) ? line : line + "; filterRows pin -col Signal -filter *";
    }
}

// The host's own changes told to the window: an instance deleted, a master placed (by the host, or
// dropped from the part filter), a pin's comment moved to another pin and back.
std::string HostChanges(Rng& rng, EditWorld&) {
    static const std::vector<std::string> instances = {"R1", "RN1A", "U2", "J1", "NOSUCH"};
    static const std::vector<std::string> moves = {"U1,MCLK:U1,PGOOD", "U1,RST_N:U1,MCLK", "U1,PGOOD:U2,CLK"};
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0:
        // The host's delete deleted the component shown last: that road waits for its mend.
        if (!RoadOpen("instance deletes by the host")) return std::string("kx::notify INT_MSG_ADD_LOGICAL_PART -text {demo.RES:sym R5}");
        return "kx::notify INT_MSG_DELETE_INSTANCE -text " + Pick(rng, instances);
    case 1: return "kx::notify INT_MSG_ADD_LOGICAL_PART -text {demo.RES:sym R" +
                   std::to_string(std::uniform_int_distribution<int>(5, 9)(rng)) + "}";
    case 2: return "kx::drop clp part {((\"demo.RES:sym\" \"R" + std::to_string(std::uniform_int_distribution<int>(5, 9)(rng)) +
                   "\") (\"VALUE\" \"10k\" x \"1\"))}";
    default: {
        const std::string move = Pick(rng, moves);
        const size_t colon = move.find(':');
        const std::string back = move.substr(colon + 1) + ":" + move.substr(0, colon);
        const std::string undo = OneIn(rng, 2) ? " 1" : " 0";
        return "kx::notify INT_MSG_PRESERVE_PIN_COMMENT " + move + undo + "; kx::notify INT_MSG_PRESERVE_PIN_COMMENT " +
               back + undo;
    }
    }
}

// The signal grid's copied pin numbers pasted into another signal's rows, or a column of its rows
// set by automation.
std::string SignalGridPaste(Rng& rng, EditWorld&) {
    static const std::vector<std::string> sources = {"PG R2", "EN R1", "MCLK U1", "PG PWR1"};
    static const std::vector<std::string> targets = {"EN R1", "PG R2", "MCLK U2", "EN PWR1"};
    std::istringstream from(Pick(rng, sources)), to(Pick(rng, targets));
    std::string net, instance, otherNet, otherInstance;
    from >> net >> instance;
    to >> otherNet >> otherInstance;
    const std::string caption = OneIn(rng, 2) ? "\"Pin Number\"" : "\"Pin Name\"";
    if (OneIn(rng, 3))
        return "kx::show slp " + net + "; kx::select ccp {*}[kxcell " + instance + " " + caption +
               "]; kx::pane ChangePropValue " + caption + " " + std::to_string(std::uniform_int_distribution<int>(1, 9)(rng));
    return "kx::show slp " + net + "; kx::select ccp {*}[kxcell " + instance + " " + caption +
           "]; kx::key ccp Ctrl+C; kx::show slp " + otherNet + "; kx::answer question KXTABLE-140 " +
           (OneIn(rng, 2) ? "yes" : "no") + "; kx::select ccp {*}[kxcell " + otherInstance + " " + caption + "]; " +
           (OneIn(rng, 2) ? "paste pin" : "kx::key ccp Ctrl+V");
}

// The component and signal lists' automation: components added, given another master or another
// reference designator (or none), deleted; blocks placed and their packaging option; nets aliased and
// the alias taken off.
std::string ListAutomation(Rng& rng, EditWorld& w) {
    const std::string name = "R" + std::to_string(std::uniform_int_distribution<int>(5, 9)(rng));
    switch (std::uniform_int_distribution<int>(0, 7)(rng)) {
    case 0: return "kx::call AddComponent " + name + " demo " + (OneIn(rng, 2) ? "RES" : "NOSUCH") + " sym";
    case 1: return "kx::call ModifyComponent " + Pick(rng, w.components) + " demo.LDO";
    case 2: return "kx::call EditRefDes " + Pick(rng, w.components) + " " + name + "0";
    case 3: return "kx::select clp " + Pick(rng, w.components) + "; kx::call DeleteRefDes";
    case 4: return "kx::call DeleteComponent " + Pick(rng, w.components);
    case 5:
        return "kx::call AddBlock PWR" + std::to_string(std::uniform_int_distribution<int>(2, 3)(rng)) +
               " demo PWR SUFFIX _b sch TRUE";
    case 6: return "kx::call ChangeBlkOption PREFIX P_ " + std::string(OneIn(rng, 2) ? "PWR1" : "PWR2");
    default:
        return std::string(OneIn(rng, 3) ? "kx::call DeleteAlias" : "kx::call AliasNets") + " " +
               Pick(rng, w.signals) + " " + Pick(rng, w.signals);
    }
}

std::vector<EditKind>& FirstKinds() {
    static std::vector<EditKind> kinds = {
        // The design and its comments.
        {"AddSignal",
         [](Rng& rng, EditWorld& w) {
             // Now and then a name taken already, which is refused.
             return "kx::call AddSignal " + (OneIn(rng, 5) ? std::string("PG") : w.NewSignal("SIG_")) + " {} {}";
         }},
        {"designComment add", [](Rng& rng, EditWorld&) { return "designComment add " + Braced(SomeText(rng)); }},
        {"designComment edit", [](Rng& rng, EditWorld&) { return "designComment edit " + Braced(SomeText(rng)); }},
        {"designComment delete", [](Rng&, EditWorld&) { return std::string("designComment delete"); }},
        {"InsertComment", [](Rng& rng, EditWorld&) { return "kx::call InsertComment " + Braced(SomeText(rng)); }},
        {"EditComment", [](Rng& rng, EditWorld&) { return "kx::call EditComment " + Braced(SomeText(rng)); }},
        {"addComment",
         [](Rng& rng, EditWorld& w) { return "addComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins)); }},
        {"modifyComment",
         [](Rng& rng, EditWorld& w) {
             return "modifyComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins));
         }},
        {"deleteComment", [](Rng& rng, EditWorld& w) { return "deleteComment pin {} " + Braced(Pick(rng, w.pins)); }},
        {"changeCustomColumn",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> values = {"fast", "slow", "1.8 V", "", "a,b"};
             return "changeCustomColumn pin -col " + Pick(rng, w.columns) + " -val " + Braced(Pick(rng, values)) +
                    " " + Braced(Pick(rng, w.pins));
         }},
        // Terminations, pull-ups/pull-downs and pin models of the selected pins.
        {"addTermination",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"Series", "Shunt", "Thevenin"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addTermination pin -type " +
                    Pick(rng, types) + " -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
         }},
        {"deleteTermination", [](Rng& rng, EditWorld& w) { return "deleteTermination pin " + Braced(Pick(rng, w.pins)); }},
        {"addPupd",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"pullup", "pulldown"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addPupd pin -type " + Pick(rng, types) +
                    " -dcnet " + (OneIn(rng, 3) ? "GND" : "VCC3V3") + " -value 1k";
         }},
        {"deletePupd",
         [](Rng& rng, EditWorld& w) { return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; deletePupd pin"; }},
        {"assignModel",
         [](Rng& rng, EditWorld& w) { return "assignModel pin LVCMOS33 " + Braced(Pick(rng, w.pins)); }},
        {"removeModel", [](Rng& rng, EditWorld& w) { return "removeModel pin " + Braced(Pick(rng, w.pins)); }},
        {"editTermination",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> ids = {"RT2", "RT3", "RT1"};
             std::string line = "selectObject pin " + Braced(Pick(rng, w.pins)) + "; editTermination pin -id " +
                                Pick(rng, ids) + " -delay " + std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
             if (OneIn(rng, 2)) line += " -k [list TOL=" + std::to_string(std::uniform_int_distribution<int>(1, 5)(rng)) + "%]";
             return line;
         }},
        // The automation roads of terminations and pull-ups: a cell of the shown grid (a pin of the pin
        // grid, or an instance's pin of the signal grid), then the methods a journal calls.
        {"InitTermination automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"Series", "Shunt", "NoSuchType"};
             return "kx::pane SelectTerminationCol " + Pick(rng, w.terminationCells) + "; kx::pane InitTermination " +
                    Pick(rng, types) + "; kx::pane AddTermination";
         }},
        {"ChangeDelay automation",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane SelectTerminationCol " + Pick(rng, w.terminationCells) + "; kx::pane ChangeDelay " +
                    std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "ns";
         }},
        {"termination in the signal grid",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> keys = {"C10:U1", "2:R2", "B14:U1"};
             std::string line = "kx::show slp " + std::string(OneIn(rng, 2) ? "PG" : "MCLK") + "; selectObject pin " +
                                Pick(rng, keys) + "; ";
             if (OneIn(rng, 3)) return line + "deleteTermination pin";
             return line + "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                           "-physname R0402 -value " + std::to_string(std::uniform_int_distribution<int>(10, 99)(rng));
         }},
        {"paste a copied termination",
         [](Rng& rng, EditWorld& w) {
             // Mostly from MCLK, which has one on the saved board.
             return "copy pin " + Braced(OneIn(rng, 3) ? Pick(rng, w.pins) : std::string("MCLK")) +
                    " Termination; kx::pane SelectTerminationCol " +
                    Pick(rng, w.terminationCells) + "; paste pin";
         }},
        {"editPupd",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> names = {"RP1", "RP2", "PU1", "PD1"};
             static const std::vector<std::string> nets = {"VCC3V3", "GND", "NOSUCHNET"};
             // Mostly RST_N, whose net has RP1 on the saved board.
             const bool rst = !OneIn(rng, 3);
             return "selectObject pin " + Braced(rst ? std::string("RST_N") : Pick(rng, w.pins)) + "; editPupd pin " +
                    (rst && !OneIn(rng, 4) ? std::string("RP1") : Pick(rng, names)) +
                    " -dcnets " + Pick(rng, nets) + (OneIn(rng, 2) ? " -keyprop {TOL=1%}" : "");
         }},
        {"InitPUPD automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> texts = {"{pullup VCC3V3}", "{pulldown GND}", "pullup"};
             return "kx::pane SelectPUPDCol " + Pick(rng, w.terminationCells) + "; kx::pane InitPUPD " +
                    Pick(rng, texts) + "; kx::pane AddPUPD";
         }},
        {"DeletePUPD automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> names = {"{}", "RP1", "PU1"};
             return "kx::pane SelectPUPDCol " + Pick(rng, w.terminationCells) + "; kx::pane DeletePUPD " +
                    Pick(rng, names);
         }},
        {"AssignModel automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> models = {"LVCMOS18", "SSTL"};
             return "kx::pane SelectPinNameCol " + Pick(rng, w.terminationCells) + "; kx::pane AssignModel " +
                    Pick(rng, models);
         }},
        {"RemoveModel automation",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane SelectPinNameCol " + Pick(rng, w.terminationCells) + "; kx::pane RemoveModel";
         }},
        // The physical part grid's pin numbers and swaps (in a logical window the pin grid's).
        {"physical pin number",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> keys = {"A:1", "A:2", "B:7", "B:8"};
             return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) +
                    "catch {kx::show clp RN1}; kx::word selectObject pin " + Pick(rng, keys) +
                    "; kx::pane ccp AssignPinNumber " + std::to_string(std::uniform_int_distribution<int>(1, 8)(rng));
         }},
        // A pin swaps only within its swap group: U1's data pins take the numbers of DQ<15..8> (A1..A8),
        // the pack's pins any of its numbers, those of the other group (its A or B pins) refused.
        {"physical swap",
         [](Rng& rng, EditWorld&) {
             struct Pin {
                 const char* show;
                 const char* key;
                 const char* numbers; // the prefix of the numbers 1..8 offered
             };
             static const std::vector<Pin> pins = {
                 {"catch {kx::show clp RN1}", "A:2", ""}, {"catch {kx::show clp RN1}", "B:7", ""},
                 {"catch {kx::show clp U1}", "{DQ<3>}", "A"}, {"catch {kx::show clp U1}", "{DQ<12>}", "A"}};
             const std::string window = OneIn(rng, 3) ? PhysicalWindow() : std::string();
             const Pin& pin = Pick(rng, pins);
             return window + pin.show + "; kx::word selectObject pin " + pin.key + "; kx::pane ccp SwapPins " +
                    pin.numbers + std::to_string(std::uniform_int_distribution<int>(1, 8)(rng));
         }},
        // What the pane shows: a component or a signal, one named before too.
        {"show component", [](Rng& rng, EditWorld& w) { return "kx::show clp " + Pick(rng, w.components); }},
        {"show signal", [](Rng& rng, EditWorld& w) { return "kx::show slp " + Pick(rng, w.signals); }},
        {"expandPins", [](Rng& rng, EditWorld&) { return std::string("expandPins pin ") + (OneIn(rng, 2) ? "on" : "off"); }},
        // The connection words.
        {"addConnection name",
         [](Rng& rng, EditWorld& w) {
             const std::string signal = OneIn(rng, 3) ? Pick(rng, w.signals) : w.NewSignal("N");
             return "addConnection pin " + signal + " " + Pick(rng, w.keys);
         }},
        {"addConnection bus range",
         [](Rng& rng, EditWorld& w) {
             return "addConnection pin {" + w.NewSignal("XB") + "[12..0]} " + (OneIn(rng, 2) ? "{A<12..0>}" : "{DQ<15..0>}");
         }},
        {"addConnection rule",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> rules = {"=AUTONAME", "=PINNAME", "=PREFIXPINNAME(P_)",
                                                            "=SUFFIXPINNUMBER(_S)"};
             if (OneIn(rng, 3))
                 return "addConnection pin =INCREMENTSIGNAME(" + w.NewSignal("INC") + ",4) MCLK RST_N";
             return "addConnection pin " + Pick(rng, rules) + " " + Pick(rng, w.keys);
         }},
        {"addConnection comma list",
         [](Rng&, EditWorld& w) {
             return "addConnection pin {" + w.NewSignal("C") + "," + w.NewSignal("C") + "} PGOOD RST_N";
         }},
        {"deleteConnection", [](Rng& rng, EditWorld& w) { return "deleteConnection pin " + Pick(rng, w.keys); }},
        {"swapSignal",
         [](Rng& rng, EditWorld&) {
             const int a = std::uniform_int_distribution<int>(2, 6)(rng);
             return "swapSignal pin {DQ<" + std::to_string(a) + ">} {DQ<" + std::to_string(a + 1) + ">}";
         }},
        {"assignPinNumber",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> numbers = {"2", "3", "6", "7", "C10"};
             return "assignPinNumber pin -number " + Pick(rng, numbers) + " " + (OneIn(rng, 2) ? "A" : "B");
         }},
        {"AddConnection automation",
         [](Rng& rng, EditWorld& w) {
             return "selectObject pin " + Pick(rng, w.keys) + "; kx::pane AddConnection " + w.NewSignal("AUTO");
         }},
        {"AttachSignal automation",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> rules = {"AUTONAME", "PINNAME", "PREFIXPINNAME(Q_)"};
             return "selectObject pin " + Pick(rng, w.keys) + "; kx::pane AttachSignal " + Pick(rng, rules);
         }},
        // The user's hands on the shown grid.
        {"type into a cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> texts = {"PG", "MCLK", "", "fast", "7", "U1", "R2"};
             const std::string text = OneIn(rng, 2) ? w.NewSignal("T") : Pick(rng, texts);
             return "kx::edit ccp " + Cell(rng, w) + " " + Braced(text);
         }},
        {"Delete on a column", [](Rng& rng, EditWorld& w) { return "kx::select ccp " + Cell(rng, w) + "; kx::key ccp Delete"; }},
        {"drop a signal",
         [](Rng& rng, EditWorld& w) { return "kx::drop ccp " + Cell(rng, w) + " signal " + Pick(rng, w.signals); }},
        {"drop a component",
         [](Rng& rng, EditWorld& w) { return "kx::drop ccp " + Cell(rng, w) + " component " + Pick(rng, w.components); }},
        // The matrix view: opened (a component and signals added), typed into, Delete on its cells, the
        // connect word, and terminations and pull-ups of its cells.
        {"openMatrixView",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> signals = {"MCLK", "{DQ<4..2>}", "PG", "RESET_N", "NOSUCHNET"};
             return MatrixShown(rng, w) + "; matrixAdd pin component " + Pick(rng, w.components) +
                    "; matrixAdd pin signal " + Pick(rng, signals);
         }},
        {"type into a matrix cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> captions = {"Pin Name", "Pin Number", "Termination", "Signal"};
             return MatrixShown(rng, w) + "; kx::answer question KXTABLE-140 " + (OneIn(rng, 2) ? "yes" : "no") +
                    "; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " + Braced(Pick(rng, captions)) +
                    "] " + Braced(Pick(rng, w.matrixTexts));
         }},
        {"matrixConnect",
         [](Rng& rng, EditWorld& w) {
             const bool byName = OneIn(rng, 2);
             std::string text = byName ? Pick(rng, w.matrixTexts) : std::string(OneIn(rng, 2) ? "B14" : "C10");
             return MatrixShown(rng, w) + "; kx::answer question KXTABLE-140 yes; matrixConnect pin " +
                    Braced(Pick(rng, w.matrixRows)) + " U1 " + (byName ? "PIN_NAME " : "PN ") + Braced(text);
         }},
        {"Delete on a matrix cell",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> captions = {"Pin Name", "Pin Number", "Termination",
                                                               "Pull Up/Down", "Signal"};
             return MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.matrixRows)) + " " +
                    Braced(Pick(rng, captions)) + "]; kx::key ccp Delete";
         }},
        {"matrix termination",
         [](Rng& rng, EditWorld& w) {
             const std::string line = MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " +
                                      Braced(Pick(rng, w.matrixRows)) + " \"Pin Name\"]; ";
             if (OneIn(rng, 2)) return line + "deleteTermination pin";
             return line + "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                           "-physname R0402 -value 33";
         }},
        {"matrix pull-up",
         [](Rng& rng, EditWorld& w) {
             const std::string line = MatrixShown(rng, w) + "; kx::select ccp {*}[kxcell " +
                                      Braced(Pick(rng, w.matrixRows)) + " Signal]; ";
             if (OneIn(rng, 2)) return line + "deletePupd pin";
             return line + "addPupd pin -type " + (OneIn(rng, 2) ? "pullup" : "pulldown") + " -dcnet " +
                    (OneIn(rng, 3) ? "GND" : "VCC3V3") + " -value 1k";
         }},
        // The pin grid's paste of copied signal names (Ctrl+C on one Signal cell, paste on another).
        {"paste copied signals",
         [](Rng& rng, EditWorld& w) {
             return "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; paste pin";
         }},
        // A model typed into the physical part grid's Signal Model cell.
        {"physical model",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> models = {"RES_MODEL", "RES_FAST", "", "NOSUCHMODEL"};
             static const std::vector<std::string> numbers = {"1", "2", "7", "8"};
             return (OneIn(rng, 3) ? PhysicalWindow() : std::string()) +
                    "catch {kx::show clp RN1}; kx::edit ccp {*}[kxcell " + Pick(rng, numbers) +
                    " \"Signal Model\"] " + Braced(Pick(rng, models));
         }},
        // A component from the browser dropped on the component list.
        {"drop on the component list",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> cells = {"demo.RES:sym", "demo.CONN10:sym", "demo.NOSUCH:sym"};
             return "kx::drop clp component " + Pick(rng, cells);
         }},
        // An instance dropped on a signal grid's free row, then its pin number typed.
        {"drop an instance on a signal",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> drops = {"J1 8", "J1 9", "R2 1", "R1 2", "U2 30", "J1 99"};
             std::istringstream what(Pick(rng, drops));
             std::string instance, number;
             what >> instance >> number;
             // A pin connected elsewhere moves when the question is answered yes.
             return "kx::show slp " + std::string(OneIn(rng, 2) ? "MCLK" : "EN") + "; kx::answer question KXTABLE-140 " +
                    (OneIn(rng, 2) ? "yes" : "no") + "; set r [kxfree]; kx::drop ccp $r " +
                    "[lindex [kxcell {} Instance] 1] component " + instance + "; kx::edit ccp $r [lindex [kxcell {} " +
                    "{Pin Number}] 1] " + number;
         }},
        // The host renamed an instance and tells the window: its pin comments go with it. The host
        // journals its renames itself and tells the window again on replay, so the sequence renames
        // back (the window's undo steps of both moves are still undone and redone by the checks).
        {"PreserveComments",
         [](Rng& rng, EditWorld&) {
             static const std::vector<std::string> renames = {"U1 U7", "R1 R9", "U2 U8"};
             std::istringstream pair(Pick(rng, renames));
             std::string from, to;
             pair >> from >> to;
             const std::string undo = OneIn(rng, 2) ? " 1" : " 0";
             return "kx::notify INT_MSG_PRESERVE_INST_COMMENT " + from + ":" + to + undo +
                    "; kx::notify INT_MSG_PRESERVE_INST_COMMENT " + to + ":" + from + undo;
         }},
        // A signal typed into a pin row's Signal cell, the question whether terminations stay answered.
        {"type a signal, retain answered",
         [](Rng& rng, EditWorld& w) {
             const std::string text = OneIn(rng, 2) ? w.NewSignal("RT") : Pick(rng, w.signals);
             return std::string("kx::show clp U1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination ") +
                    (OneIn(rng, 2) ? "1" : "0") + "; kx::edit ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal] " + Braced(text);
         }},
        // The component list's requests from the host, and stored matrix views defined by automation.
        {"co-design mark",
         [](Rng& rng, EditWorld& w) {
             return "kx::pane clp MarkAsCodesign " + Braced(Pick(rng, w.components) + " " + Pick(rng, w.components)) +
                    (OneIn(rng, 2) ? " 1" : " 0");
         }},
        {"power group",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> pins = {"VDD", "VCCINT", "GND", "NOPIN"};
             return "kx::pane clp AssignPowerGroup " + Pick(rng, w.components) + " " + Pick(rng, pins) + " " +
                    Pick(rng, w.signals);
         }},
        {"define a matrix view",
         [](Rng& rng, EditWorld& w) {
             const std::string view = OneIn(rng, 2) ? "mv" : "mv3";
             const std::string components = Braced(Pick(rng, w.components) + " U1");
             const std::string signals = Braced(Pick(rng, w.signals) + " MCLK");
             return OneIn(rng, 2) ? "kx::pane CreateMatrixView " + view + " " + components + " " + signals
                                  : "kx::pane EditMatrixView " + view + " " + view + " " + components + " " + signals;
         }},
        // The instance connectivity dialog the host opens on a placed instance: pins connected by its
        // functions or a typed signal, then OK or Cancel.
        {"instance connectivity dialog", InstanceConnectivity},
        // Copied cells pasted onto pins of the instance connectivity dialog, one edit of its step.
        {"instance connectivity dialog paste", InstanceConnectivityPaste},
        // Copied pull-ups/pull-downs pasted into the pin grid's Pull Up/Down column.
        {"paste pull-ups in the pin grid", PinGridPupdPaste},
        // The matrix's copied terminations and pull-ups pasted (in the same view or another), or made
        // again by the call the journal writes.
        {"matrix paste of terminations and pull-ups", MatrixAssocPaste},
        // The clipboard viewer's item pasted into the component list or the active grid.
        {"clipboard viewer paste", ClipViewerPaste},
        // The clock pair moved to another pair net, the terminations question answered.
        {"pair moved, terminations answered", PairMoveRetain},
        // The pin grid's renames, the pair pin taken off, Modify Values, the termination and pull-up
        // dialogs, the Assign Pin Number menu.
        {"renameConnection", RenameConnection},
        {"pair pin removed", RemovePairPin},
        {"Modify Values", ModifyValues},
        {"termination dialog", TerminationDialog},
        {"pull-up dialog", PupdDialog},
        {"Assign Pin Number menu", PinNumberMenu},
        // Several grids shown at once, another one active.
        {"show several", ShowSeveral},
        {"signal grid connect", SignalGridConnect},
        {"matrix cell edit", MatrixCellEdit},
        {"matrix view menus", MatrixViewMenus},
        {"physical net model", PhysicalNetModel},
        {"view of the pins", ViewOfThePins},
        {"the host's changes", HostChanges},
        {"signal grid paste", SignalGridPaste},
        // Paste by the main window's accelerator on the pin grid's Signal cells.
        {"Ctrl+V",
         [](Rng& rng, EditWorld& w) {
             return "kx::show clp U1; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell " + Braced(Pick(rng, w.pins)) +
                    " Signal]; kx::key ccp Ctrl+V";
         }},
        {"list automation", ListAutomation},
        // Undo and redo by the main window's accelerators.
        {"Ctrl+Z", [](Rng&, EditWorld&) { return std::string("kx::key ccp Ctrl+Z"); }},
        {"Ctrl+Y", [](Rng&, EditWorld&) { return std::string("kx::key ccp Ctrl+Y"); }},
        {"undo", [](Rng&, EditWorld&) { return std::string("undo"); }},
        {"redo", [](Rng&, EditWorld&) { return std::string("redo"); }},
        // Windows: a second one on the design (the physical view too), and back to the first.
        {"second window",
         [](Rng& rng, EditWorld&) { return std::string("kx::open demo.board:sch ") + (OneIn(rng, 2) ? "4" : "0"); },
         "two windows on one design"},
        {"first window", [](Rng&, EditWorld&) { return std::string("kx::tab 1"); }, "two windows on one design"},
    };
    return kinds;
}

// The kinds a session picks from: the first ones and the session roads, those awaiting a mend left out.
const std::vector<EditKind>& EditKinds() {
    static const std::vector<EditKind> kinds = [] {
        std::vector<EditKind> open;
        // The session roads three times over and the window roads twice: each is one kind among a
        // hundred otherwise.
        const std::vector<EditKind> roads = SessionRoads(), windows = WindowRoads();
        const std::vector<EditKind>& first = FirstKinds();
        for (const std::vector<EditKind>* from : {&first, &roads, &roads, &roads, &windows, &windows})
            for (const EditKind& kind : *from)
                if (!kind.awaiting || RoadOpen(kind.awaiting)) open.push_back(kind);
        return open;
    }();
    return kinds;
}

class RandomEdits : public KXShellFixture {
protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", kEpoch, 1);
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        // Comments take the time of SOURCE_DATE_EPOCH, as in the fresh host (whose user is "tester" too).
        CKXWinAPI::SetDateTimeSource(nullptr);
        // Settings are written (and flushed) at every change of a view: in memory where the system
        // offers it, so that a thousand sequences stay quick.
        if (fs::exists("/dev/shm")) {
            m_registry = fs::path("/dev/shm") / ("kxedits-registry-" + std::to_string(::getpid()));
            fs::create_directories(m_registry);
            AfxSetRegistryDirectory(m_registry.c_str());
        }
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CStringArray columns;
        for (const char* e : {"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                              "SIGNAL|Signal|16s|DEFAULT|SHOW", "TERMINATION|Termination|12s|DEFAULT|SHOW",
                              "PUPD|Pull Up/Down|10s|DEFAULT|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                              "VOLT_MAX|Volt max|8s|PINPROP|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW"})
            columns.Add(e);
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
        // The example library as saved: what a fresh host loads.
        const char* src = std::getenv("KX_TEST_SOURCE_DIR");
        m_lib = m_dir / "demo";
        fs::copy(fs::path(src ? src : ".") / "examples" / "designs", m_lib, fs::copy_options::recursive);
        CString error;
        ASSERT_TRUE(Server()->loadLibrary(m_lib.c_str(), error)) << error.str();
        Run(kCellProc);
        Run(kRowProc);
        m_saved = DesignText();
        EXPECT_EQ(m_saved, SavedDesignText()) << "the board in memory is not the board of the library";
    }
    void TearDown() override {
        // (The host is gone once a session's exit stopped it.)
        if (IServer* server = Server()) server->setCommitFault(nullptr);
        ::unsetenv("SOURCE_DATE_EPOCH");
        CKXCustomizeAPI::Reset();
        KXShellFixture::TearDown();
        std::error_code ec;
        if (!m_registry.empty()) fs::remove_all(m_registry, ec);
        fs::remove_all(fs::path("/dev/shm") / ("kxedits-" + std::to_string(::getpid())), ec);
    }

    IServer* Server() const { return CKXShareGlobalData::m_pServer; }

    std::string DesignText() {
        IDesign* d = Server()->findDesign("demo.board:sch");
        // In memory where the system offers it: a save flushes its file to disk.
        static const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path dir = base / ("kxedits-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        CString error;
        if (!d || !Server()->saveDesignAs(d, dir.c_str(), "demo", "board", "sch", &error)) return "ERROR " + error.str();
        std::ifstream in(dir / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The board as its file in the library holds it.
    std::string SavedDesignText() const {
        std::ifstream in(m_lib / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The comments of the window: the design comment and those of U1's pins.
    std::string CommentText(CKXTableDoc* doc) {
        CComments* store = doc ? doc->GetComments() : nullptr;
        if (!store) return "no store";
        std::string out;
        CString text, date, time, user;
        if (store->getDesignComments(text, date, time, user)) out += "design: " + text.str() + "\n";
        for (const std::string& pin : EditWorld().pins)
            if (store->getPinComments("U1", pin.c_str(), text, date, time, user)) out += pin + ": " + text.str() + "\n";
        return out;
    }
    int StepCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount();
        return count;
    }
    // The undo steps of every window that were done when their design was last saved.
    int SavedStepCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount() - pane->UnsavedUndoStepCount();
        return count;
    }
    // The undo and redo steps of every window.
    int HistoryCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount() + pane->GetRedoStepCount();
        return count;
    }
    // The window whose next undo (redo) step is the newest over every window, among those `wanted` takes;
    // NULL when there is none. A step that goes with its grid (a sort of a component's rows when the
    // component goes) leaves the others in the order the windows made them.
    CKXBottomPaneContainerView* NewestStepWindow(GXCmdType type,
                                                 const std::function<bool(std::uint64_t)>& wanted) const {
        CKXBottomPaneContainerView* newest = nullptr;
        std::uint64_t newestOrder = 0;
        for (CKXBottomPaneContainerView* pane : Panes()) {
            const std::uint64_t order = type == gxUndo ? pane->NextUndoStepOrder() : pane->NextRedoStepOrder();
            if (order <= newestOrder || !wanted(order)) continue;
            newest = pane;
            newestOrder = order;
        }
        return newest;
    }
    // Undoes every step, newest first over every window; false when one is refused. Once a window
    // closed keeping its edits, a step that one of them built on stays (KXTABLE-221): the undo ends there.
    bool UndoAll() {
        m_undone.clear();
        while (CKXBottomPaneContainerView* pane = NewestStepWindow(gxUndo, [](std::uint64_t) { return true; })) {
            if (std::getenv("KX_EDIT_TRACE")) std::cerr << "undo " << pane->GetUndoDescription().str() << "\n";
            if (!pane->PerformUndo()) {
                const std::vector<std::string> shown = Messages();
                const bool builtOn = std::find(shown.begin(), shown.end(), "KXTABLE-221") != shown.end();
                return !m_baselineKnown && builtOn;
            }
            m_undone.insert(pane->NextRedoStepOrder());
        }
        return true;
    }
    // Redoes what UndoAll undid (not the steps the session left undone), the last undone first.
    bool RedoAll() {
        const auto undone = [this](std::uint64_t order) { return m_undone.count(order) != 0; };
        while (CKXBottomPaneContainerView* pane = NewestStepWindow(gxRedo, undone)) {
            if (std::getenv("KX_EDIT_TRACE")) std::cerr << "redo in a window of " << pane->GetRedoStepCount() << "\n";
            if (!pane->PerformRedo()) return false;
        }
        return true;
    }
    // The design windows open in the host, hidden ones too.
    size_t WindowCount() const { return m_app->Documents().size(); }
    // Which windows hold unsaved edits, and those flags put back after the checks' undo and redo.
    std::vector<std::pair<CDocument*, BOOL>> ModifiedFlags() const {
        std::vector<std::pair<CDocument*, BOOL>> flags;
        for (CDocument* doc : m_app->Documents())
            flags.emplace_back(doc, doc->IsModified());
        return flags;
    }
    static void PutBack(const std::vector<std::pair<CDocument*, BOOL>>& flags) {
        for (const auto& [doc, modified] : flags)
            if (auto* table = dynamic_cast<CKXTableDoc*>(doc)) table->SetModified(modified);
            else doc->SetModifiedFlag(modified);
    }
    // The fixture again from the start (registry, library, host), for a session after another.
    void Restart() {
        TearDown();
        SetUp();
    }

    // A session kept as a test: the script as KX_EDIT_SCRIPT, meeting the seed's refused commits.
    void RunKept(unsigned seed, const std::string& script) {
        const fs::path file = m_dir / ("kept-" + std::to_string(seed) + ".tcl");
        std::ofstream(file) << script;
        ::setenv("KX_EDIT_SCRIPT", file.c_str(), 1);
        std::string why;
        const bool ok = RunSequence(seed, why);
        ::unsetenv("KX_EDIT_SCRIPT");
        EXPECT_TRUE(ok) << "kept seed " << seed << ": " << why;
    }

    // A short script of its own as a session's actions (seed 1); it fails the test through kxfault.
    void RunScript(const std::string& name, const std::string& text);

    // One sequence; false (with the reason) when a property does not hold.
    bool RunSequence(unsigned seed, std::string& why);
    bool RunActions(unsigned seed, const std::vector<std::string>& scripted, std::string& lines, std::string& why);
    bool CheckSession(unsigned seed, size_t journalStart, const std::string& lines, std::string& why);
    // Runs sessions from the seed on; a failure names its seed.
    void RunSessions(unsigned first, unsigned count);
    // A copy of the user settings as they are now (the fresh host's at the session's start).
    void KeepSettings() {
        // The columns the suite set up live in memory until written.
        CKXCustomizeAPI::saveFile();
        std::error_code ec;
        fs::remove_all(m_dir / "settings", ec);
        fs::copy(AfxGetRegistryDirectory().str(), m_dir / "settings", fs::copy_options::recursive, ec);
    }

    std::string m_saved;
    fs::path m_registry;
    bool m_sessionRan = false; // a session ran in this fixture: the next one restarts it
    bool m_baselineKnown = true; // undoing every step gives m_saved (no window took its steps away)
    std::set<std::uint64_t> m_undone; // the orders UndoAll gave the steps it undid
};

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
    Run("kx::show clp U1");
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
        std::string line = !scripted.empty() ? scripted[i]
                           : i + 1 == edits  ? std::string("catch {kx::tab 1}; saveDesign")
                                             : Pick(rng, EditKinds()).line(rng, world);
        // A close without saving, and a reopen, when one window is open: the design is as saved.
        if (scripted.empty() && OneIn(rng, 25) && Panes().size() == 1)
            line = "kx::answer question KXCOMMON-101 no; kx::close; kx::open demo.board:sch 3; kx::show clp U1";
        lines += line + "\n";
        std::vector<std::string> target;
        const bool targeted = !TargetOf(line, target).empty();
        const std::string netBefore = targeted ? Run("kx::netlist") : std::string();
        refused = 0;
        const bool lastWindow = Panes().size() == 1;
        const int history = HistoryCount();
        const int savedSteps = SavedStepCount();
        const size_t journalBefore = JournalText().size();
        const std::string result = Run(line);
        if (line.find("kx::close") != std::string::npos && HistoryCount() < history) {
            // The last window closed (and opened again): the design is as last saved, the steps
            // before are gone. Another window that closed keeping its edits (saved, or the steps
            // the design was saved with, which a close without saving leaves) took its steps with
            // it: what undoing every step gives is no longer known. The steps such a close takes back
            // are no guide: one step may journal several undos.
            const std::string closing = JournalText().substr(journalBefore);
            if (lastWindow && HistoryCount() == 0) m_saved = SavedDesignText();
            else if (closing.find(".Close()") != std::string::npos ||
                     closing.find(".Close(\"Keep\")") != std::string::npos || SavedStepCount() < savedSteps)
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
        if (const std::string outside = ChangesOutsideTarget(netBefore, Run("kx::netlist"), target); !outside.empty())
            return Server()->setCommitFault(nullptr),
                   why = "the last action changed connections it does not name:" + outside + "\nedits:\n" + lines, false;
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
            ADD_FAILURE() << "seed " << seed << " (KX_EDIT_SEED=" << seed << "): " << why;
            return;
        }
    }
}

} // namespace

// KX_EDIT_SEED, KX_EDIT_SEQUENCES or KX_EDIT_SCRIPT: that run alone, in the first case.
static bool RunFromEnvironment() {
    return std::getenv("KX_EDIT_SEED") || std::getenv("KX_EDIT_SEQUENCES") || std::getenv("KX_EDIT_SCRIPT");
}

TEST_F(RandomEdits, UndoRedoAndReplayOfRandomEditSequencesAreExact) {
    unsigned sequences = 5, first = 1;
    if (const char* n = std::getenv("KX_EDIT_SEQUENCES")) sequences = static_cast<unsigned>(std::atoi(n));
    if (const char* s = std::getenv("KX_EDIT_SEED")) {
        first = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
        if (!std::getenv("KX_EDIT_SEQUENCES")) sequences = 1;
    }
    RunSessions(first, sequences);
    RecordProperty("edit_kinds", static_cast<int>(EditKinds().size()));
}

// The suite's other sessions, a few to a case so that the cases run side by side.
#define KX_SESSIONS_FROM(first)                                                                                        \
    TEST_F(RandomEdits, LongSessionsFromSeed##first) {                                                                 \
        if (RunFromEnvironment()) GTEST_SKIP() << "KX_EDIT_SEED, KX_EDIT_SEQUENCES or KX_EDIT_SCRIPT runs the first case"; \
        RunSessions(first, 5);                                                                                         \
    }
KX_SESSIONS_FROM(6)
KX_SESSIONS_FROM(11)
KX_SESSIONS_FROM(16)
KX_SESSIONS_FROM(21)
KX_SESSIONS_FROM(26)

namespace {
// KX_EDIT_SCRIPT naming a file while it lives.
struct ScriptVariable {
    explicit ScriptVariable(const std::string& file) { ::setenv("KX_EDIT_SCRIPT", file.c_str(), 1); }
    ~ScriptVariable() { ::unsetenv("KX_EDIT_SCRIPT"); }
    ScriptVariable(const ScriptVariable&) = delete;
    ScriptVariable& operator=(const ScriptVariable&) = delete;
};

void RandomEdits::RunScript(const std::string& name, const std::string& text) {
    const fs::path script = m_dir / name;
    std::ofstream(script) << text;
    const ScriptVariable session(script.string());
    std::string why;
    EXPECT_TRUE(RunSequence(1, why)) << name << ": " << why;
}
} // namespace

// A sequence named by KX_EDIT_SCRIPT that is missing or holds no edits is a failed run, not a pass
// with nothing done.
TEST_F(RandomEdits, AnEditScriptThatCannotBeReadOrIsEmptyFailsTheSequence) {
    std::string why;
    {
        const ScriptVariable missing((m_dir / "no-such-script.tcl").string());
        EXPECT_FALSE(RunSequence(1, why));
        EXPECT_NE(why.find("cannot be read"), std::string::npos) << why;
    }
    const fs::path blank = m_dir / "blank-script.tcl";
    std::ofstream(blank) << "\n\n";
    why.clear();
    {
        const ScriptVariable empty(blank.string());
        EXPECT_FALSE(RunSequence(1, why));
        EXPECT_NE(why.find("holds no edits"), std::string::npos) << why;
    }
}

// A session that opened more windows on the design than a few leaves none of them to the next session
// in the same process: the next one numbers its windows as the fresh host replaying its journal does.
TEST_F(RandomEdits, ASessionOfManyWindowsLeavesNoneToTheNext) {
    const fs::path many = m_dir / "many-windows.tcl";
    {
        std::ofstream out(many);
        for (int i = 0; i < 11; ++i)
            out << "kx::open demo.board:sch " << (i % 3 ? 3 : 4) << "\n";
        out << "kx::tab 1\naddConnection pin N5 MCLK\n";
    }
    const fs::path second = m_dir / "second-window.tcl";
    std::ofstream(second) << "kx::open demo.board:sch 3; kx::show clp U1\nkx::tab 2\naddConnection pin N6 PGOOD\n"
                             "kx::tab 1\naddConnection pin N7 RST_N\n";
    for (const fs::path& script : {many, second}) {
        const ScriptVariable session(script.string());
        std::string why;
        EXPECT_TRUE(RunSequence(1, why)) << script.filename() << ": " << why;
        EXPECT_EQ(m_app->Documents().size(), 0u) << script.filename();
    }
}

// Window 1 sorts U1's pins, window 2 connects one of them, window 1 deletes U1: the sort goes with U1's
// grid as the delete comes. The checks undo window 1's delete first (the newest step), then window 2's
// connection, which could not be undone before the delete is.
TEST_F(RandomEdits, TheChecksUndoTheNewestStepFirstWhenAStepWentWithItsGrid) {
    RunScript("sort-then-delete.tcl",
              "kx::show clp U1; kx::click ccp {*}[kxrow 4 Signal]\n"
              "kx::open demo.board:sch 3; kx::show clp U1\naddConnection pin N5 MCLK\nkx::tab 1\n"
              "kx::show clp RN1A; kx::notify INT_MSG_DELETE_INSTANCE -text U1\n");
}

// ------------------------------------------------------------------ sessions that once failed
// Each is the session of a seed that failed, made smaller, kept as it was found (its seed draws the
// same refused commits).

// A physical net grid read its rows once: a pin parted from its net in another window stayed on as
// a row, and the pane's AssignModel there acted on it, which the replay's fresh grid does not show.
TEST_F(RandomEdits, KeptSeed235APhysicalNetGridFollowsAPinPartedInAnotherWindow) {
    RunKept(235, R"TCL(kx::open demo.board:sch 3; kx::show clp U1
kx::open demo.board:sch 3; kx::show clp U1
kx::open demo.board:sch 4; catch {kx::show clp RN1}; kx::edit ccp {*}[kxcell 7 "Signal Model"] ""
kx::show clp U2; kx::notify INT_MSG_DELETE_INSTANCE -text RN1A ;# target: RN1A
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
kx::show slp RESET_N; kx::click ccp {*}[kxrow 4 Cell]; undo ;# target: -
catch {kx::tab 2}
kx::show slp RESET_N; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer question KXTABLE-140 no; kx::edit ccp {*}[kxcell U1 "Pin Number"] {} ;# target: U1
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
kx::pane SelectPinNameCol {DQ<3>} A13; kx::pane AssignModel SSTL
)TCL");
    // The grid itself: the pin goes from its rows as it goes from the net, and comes back with the undo.
    RunScript("parted.tcl",
              "kx::open demo.board:sch 4; kx::show slp RESET_N\n"
              "kx::open demo.board:sch 3; kx::show slp RESET_N; kx::edit ccp {*}[kxcell U1 {Pin Number}] {}\n"
              "kx::tab 2; if {[lindex [kxcell C9 {Pin Number}] 0]} {kxfault \"U1 C9 stays on RESET_N\"}\n"
              "kx::tab 3; undo; kx::tab 2; if {![lindex [kxcell C9 {Pin Number}] 0]} "
              "{kxfault \"U1 C9 does not come back to RESET_N\"}\n");
}

// A column of a physical grid fitted by a double-click on its border recorded its width into the
// step before, which it left open: the host's delete that followed joined that step, and one undo
// took back both (a replay's undo the delete alone).
TEST_F(RandomEdits, KeptSeed311AColumnFittedInAPhysicalGridLeavesTheUndoStepsAsTheyWere) {
    RunKept(311, R"TCL(kx::open demo.board:sch 4; catch {kx::show clp RN1}; kx::word selectObject pin A:2; kx::pane ccp SwapPins 7
kx::call EditRefDes U2 R80
kx::show clp U1; kx::click ccp {*}[kxrow 4 Signal] border
kx::notify INT_MSG_DELETE_INSTANCE -text J1
kx::show clp R2 RN1A; kx::answer question KXTABLE-140 yes; kx::edit ccp {*}[kxcell A Signal] "SBS5"; undo
catch {kx::tab 1}; saveDesign
)TCL");
    // The grid itself: a fitted column is no undo step, nor part of one.
    RunScript("fitted.tcl",
              "kx::open demo.board:sch 4; kx::call EditRefDes U2 R80\n"
              "kx::show clp U1; kx::click ccp {*}[kxrow 4 Signal] border\n"
              "kx::notify INT_MSG_DELETE_INSTANCE -text J1; undo\n"
              "if {[kx::prop demo.board:sch@U2 LOCATION] ne {R80}} {kxfault \"the undo took back more than the delete\"}\n");
}

// The checks' own faults, each kept with the session that showed it. A save, then the last window
// closed and opened again: undoing every step gives the design as saved, not as shipped.
TEST_F(RandomEdits, KeptSeed25UndoingEveryStepAfterASaveAndAReopenGivesTheSavedDesign) {
    RunKept(25, R"TCL(kx::show slp {DQ<5>}; kx::select ccp {*}[kxcell U1 "Pin Number"]; kx::answer dialog CKXTerminationDlg ok type Series; kx::menu 35522 ;# target: U1
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; kx::select ccp {*}[kxcell "DQ<2>" "Pin Name"]; kx::answer dialog CKXTerminationDlg ok type Series; kx::answer dialog CKXPupdDlg ok type pulldown dcnet GND value 1k; kx::menu 35522
catch {kx::tab 2}; saveDesign
kx::answer question KXCOMMON-101 no; kx::close; kx::open demo.board:sch 3; kx::show clp U1
)TCL");
}

// A save, then a close of a second window that is not open: the design as saved is not the baseline.
TEST_F(RandomEdits, KeptSeed60AWindowThatDoesNotCloseLeavesTheBaseline) {
    RunKept(60, R"TCL(kx::show slp PG; kx::select ccp {*}[kxcell R2 "Pin Number"]; kx::select ccp {*}[kxcell PWR1 "Pin Number"]; kx::key ccp Delete ;# target: PWR1
catch {kx::tab 1}; saveDesign
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// A second window that saved closes keeping its edits and takes its steps along: what undoing the
// first window's steps gives is no longer the design as shipped.
TEST_F(RandomEdits, KeptSeed160AWindowClosedKeepingItsEditsTakesItsStepsAlong) {
    RunKept(160, R"TCL(kx::open demo.board:sch 3; kx::show clp U1
kx::show clp U1; setViewOption pin dp_off; selectObject pin CLK_P; addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22; setViewOption pin dp_on; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer dialog CKXDontAskAgainYesNoDlg cancel; addConnection pin "SYSCLK (Differential Pair)" CLK
catch {kx::tab 3}; saveDesign
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// The same, its edits built on the first window's: that window's steps under them stay (KXTABLE-221).
TEST_F(RandomEdits, KeptSeed904StepsUnderTheEditsOfAClosedWindowStay) {
    RunKept(904, R"TCL(kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 107} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 3; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 99} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
kx::show slp PG; kx::edit ccp {*}[kxrow 2 Instance] U*; kx::edit ccp {*}[kxrow 2 Instance] *; undo
catch {kx::tab 2}; saveDesign
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// A window closed without saving takes back its edits made since the save but keeps, with no step
// left, the pull-up the design was saved with; a bus connected in one step journals an undo line for
// each of its bits, so that counting the close's undo lines took the saved step for one taken back.
TEST_F(RandomEdits, KeptSeed6817AWindowClosedUnsavedKeepsTheSavedStepsOfItsHistory) {
    RunKept(6817, R"TCL(kx::show clp U1; kx::edit ccp {*}[kxcell CLK Signal] {}; kx::select ccp {*}[kxcell CLK "Pin Name"]; kx::menu 35725
physicalView -nosave
kx::open demo.board:sch 3; kx::show clp U1
kx::pane SelectPUPDCol PGOOD C10; kx::pane InitPUPD {pullup VCC3V3}; kx::pane AddPUPD
catch {kx::tab 1}; saveDesign
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
catch {kx::tab 2}
kx::show clp U1; addConnection pin ,PGOOD {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete ;# target: U1
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// A second window saves a step, then replaces a termination (one step that journals two undos) and closes
// without saving: the saved step goes with the window, so undoing the first window's steps no longer
// gives the design as shipped.
TEST_F(RandomEdits, KeptSeed6332ASavedStepGoesWithAWindowWhoseCloseUndoesAReplacedTermination) {
    RunKept(6332, R"TCL(kx::show clp U1; kx::show slp {DQ<2>}; kx::select ccp {*}[kxcell U1 "Pin Number"]; kx::answer dialog CKXTerminationDlg ok type Series; kx::menu 35522 ;# target: U1
kx::show slp PG; kx::answer question KXTABLE-140 yes; addConnection pin U2:30
kx::open demo.board:sch 3; kx::show clp U1
kx::open demo.PWR:sch 1; kx::call AddSignal BLK3 {} {}
catch {kx::tab 2}
kx::pane clp MarkAsCodesign "U1 R2" 1
catch {kx::tab 2}; saveDesign
kx::show slp {DQ<2>}; kx::select ccp {*}[kxcell U1 "Pin Number"]; kx::answer dialog CKXTerminationDlg ok type Series; kx::menu 35522 ;# target: U1
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// A pin number typed into a blank row for a pin the net held already took it off the net and put it back,
// an undo step that changed nothing, journalled as a connect that the replay refuses (KXTABLE-304): the
// session's next undo took back that step, the replay's the connection before it.
TEST_F(RandomEdits, KeptSeed237APinTypedAgainIntoABlankRowLeavesNoStepForTheUndoAfter) {
    RunKept(237, R"TCL(kx::show clp U1; renameConnection pin [list U1 {DQ<3>} A13]
kx::show clp U1; kx::answer dialog CKXDontAskAgainYesNoDlg ok; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::edit ccp {*}[kxcell CLK Signal] "OB1<1> (Differential Pair)" ;# target: U1
changeCustomColumn pin -col VOLT_MAX -val "fast" "PGOOD"
addConnection pin {XB2[12..0]} {A<12..0>}
kx::select clp PWR1; kx::call Descend; ascend; kx::close; kx::open demo.PWR:sch 1; kx::call AddSignal ZZP3 {} {}; saveDesign
kx::tab 1
kx::show clp U1; kx::edit ccp {*}[kxcell CLK Signal] {}; kx::select ccp {*}[kxcell CLK "Pin Name"]; kx::menu 35725
kx::show clp U1; kx::edit ccp {*}[kxrow 2 "Pin Number"] *N; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer dialog CKXInstConnDlg ok pins "MCLK" signal "FIC8"; kx::answer dialog CKXInstConnDlg ok; kx::instconn U1 4
kx::pane SelectPinNameCol {DQ<3>} A13; kx::pane AssignModel SSTL
kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 104} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
kx::show slp RESET_N; kx::edit ccp {*}[kxrow 2 Instance] NOPE; kx::edit ccp {*}[kxrow 2 Instance] *; undo
catch {kx::tab 1}; saveDesign
)TCL");
}

// The same, the undo by Ctrl+Z after a refused question on another net.
TEST_F(RandomEdits, KeptSeed590APinTypedAgainIntoABlankRowLeavesNoStepForCtrlZ) {
    RunKept(590, R"TCL(kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 110} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
kx::show slp MCLK; kx::answer question KXTABLE-140 no; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component U2; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 30
kx::key ccp Ctrl+Z
catch {kx::tab 1}; saveDesign
)TCL");
}

// A pair leg left empty in an addConnection list parted its net and kept its terminations, as the run's
// termination answer says; the journal's Delete for it, replayed without that answer, dropped them.
TEST_F(RandomEdits, KeptSeed2313AnEmptyLegOfAConnectListKeepsItsTerminationsInTheReplay) {
    RunKept(2313, R"TCL(kx::show clp U1; addConnection pin MCLK, {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete ;# target: U1
openMatrixView pin mv2; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal RESET_N; kx::select ccp {*}[kxcell "MCLK" "Pin Name"]; addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 50; kx::select ccp {*}[kxcell "MCLK" Termination]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "RESET_N" Termination] {*}[kxcell "MCLK" Termination]; paste special
kx::show clp U1; addConnection pin ,PGOOD {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete ;# target: U1
catch {kx::tab 1}; saveDesign
)TCL");
}

// A termination answer given by hand (`kx::pane RetainTermination 1`) and taken by the next Delete of a pin
// grid kept the pin's termination; the journal's Delete, replayed without the answer, dropped it.
TEST_F(RandomEdits, KeptSeed9834ADeleteThatKeptTerminationsByAnAnswerKeepsThemInTheReplay) {
    RunKept(9834, R"TCL(kx::show clp U1; kx::pane RetainTermination 1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer dialog CKXDontAskAgainYesNoDlg cancel; addConnection pin "FCLK3 (Differential Pair)" CLK
physicalView -save
kx::answer question MSG_HOST_ASK_SAVE yes; kx::menu 35563
kx::call AddSignal SIG_7 {} {}
deleteConnection pin MCLK
catch {kx::tab 1}; saveDesign
)TCL");
}

// A user column added in one window while another window of the design showed two grids side by side:
// those grids kept their columns while the column numbers moved, so shown alone later the pin grid read
// a Signal cell as the Pin Number column and journalled a selection the replay could not make.
TEST_F(RandomEdits, KeptSeed6408AGridSideBySideTakesAColumnAddedInAnotherWindow) {
    RunKept(6408, R"TCL(kx::open demo.board:sch 3; kx::show clp U1
kx::show clp U1 RN1A; catch {kx::grid ccp 1}
catch {kx::tab 1}; saveDesign
kx::answer dialog CKXInstConnDlg ok pins {MCLK PGOOD} fx 35255; kx::answer dialog CKXInstConnDlg ok; kx::instconn U1 2147483646
assignModel pin LVCMOS33 "RST_N"
kx::show clp U1; addConnection pin MCLK, {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete ;# target: U1
kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell "PGOOD" Slew] "a b" ;# target: -
catch {kx::tab 2}
kx::show clp U1; kx::select ccp {*}[kxcell "PGOOD" Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "A<12..0>" Signal]; paste pin
)TCL");
}

// The captions row of the active grid as the pane's dump shows it.
static std::string ActiveCaptions(const std::string& window) {
    std::istringstream in(window);
    bool active = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  grid ", 0) == 0) active = line.find("(active)") != std::string::npos;
        else if (active && line.rfind("    2: ", 0) == 0) return line;
    }
    return {};
}

// The same, directly: grids side by side in the second window take the column the first window adds,
// keep their reduced columns, and shown alone read and journal their cells by the new columns.
TEST_F(RandomEdits, GridsSideBySideFollowAColumnAddedInAnotherWindow) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    ASSERT_EQ(Run("kx::open demo.board:sch 3; kx::show clp U1"), "1");
    ASSERT_EQ(Run("kx::show clp U1 RN1A"), "1");
    ASSERT_EQ(WindowCount(), 2);
    const std::string reduced = ActiveCaptions(Run("kx::window ccp"));
    EXPECT_EQ(reduced, "    2: Pin Name | Pin Number | Signal");
    Run("kx::tab 1; kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    const std::string alone = ActiveCaptions(Run("kx::window ccp"));
    ASSERT_NE(alone.find("Slew"), std::string::npos) << alone;
    const int steps = StepCount();
    Run("kx::tab 2");
    EXPECT_EQ(StepCount(), steps) << "a layout is no edit";
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(ActiveCaptions(Run("kx::window ccp")), alone);
    const size_t before = JournalText().size();
    Run("kx::select ccp {*}[kxcell PGOOD Signal]; kx::key ccp Ctrl+C");
    const std::string copied = JournalText().substr(before);
    EXPECT_NE(copied.find("SelectSignalCol(\"PGOOD\",\"C10\")"), std::string::npos) << copied;
}

// A model given for a bus row alone went on the whole pin by the word, while the journal's AssignModel
// on that row was refused in the replay as if no model was given.
TEST_F(RandomEdits, KeptSeed57AModelGivenForABusRowAloneReplays) {
    RunKept(57, R"TCL(assignModel pin LVCMOS33 "A<12..0>"
catch {kx::tab 1}; saveDesign
)TCL");
}

// The whole session of a seed that met the fitted column of a physical grid (seed 311's fault).
TEST_F(RandomEdits, KeptSeed469) {
    if (RunFromEnvironment()) GTEST_SKIP() << "KX_EDIT_SEED, KX_EDIT_SEQUENCES or KX_EDIT_SCRIPT runs the first case";
    RunSessions(469, 1);
}

// The parent opened by an ascend is a window in its parent's context, which edits nothing: its pin
// grid took a net typed into a power group's row all the same, while a replay's AddConnection there
// is refused (KXPANE-178), and the design the session saved held a tie the replay's did not.
TEST_F(RandomEdits, KeptSeed81APowerGroupRowTakesNoTypingInAWindowInItsParentsContext) {
    RunKept(81, R"TCL(kx::select clp PWR1; kx::call Descend; ascend
kx::powerpins on; kx::show clp U2; kx::edit ccp {*}[kxcell VSS Signal] PWR_2 ;# target: U2
catch {kx::tab 1}; saveDesign
)TCL");
    RunScript("context-power.tcl",
              "kx::open demo.board:sch 2; kx::powerpins on; kx::show clp U2; "
              "if {[kx::edit ccp {*}[kxcell VSS Signal] PWR_2]} {kxfault \"a power row took a net\"}\n");
}

// The parent opened by an ascend edits nothing, yet its View Termination dialog (menu 35522) put the
// termination chosen there on the pin, which a replay does not.
TEST_F(RandomEdits, KeptSeed708TheTerminationDialogOfAWindowInItsParentsContextOnlyShows) {
    RunKept(708, R"TCL(kx::show slp EN; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell PWR1 "Ref Des"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell R1 "Pin Name"]; kx::key ccp Ctrl+V ;# target: R1
kx::select clp PWR1; kx::call Descend; ascend
kx::show clp U1; kx::answer dialog CKXTerminationDlg ok type Shunt value0 47; kx::select ccp {*}[kxcell "CLK" Termination]; kx::menu 35522
catch {kx::tab 1}; saveDesign
)TCL");
    RunScript("context-termination.tcl",
              "kx::open demo.board:sch 2; kx::show clp U1; kx::answer dialog CKXTerminationDlg ok type "
              "Shunt value0 47; kx::select ccp {*}[kxcell CLK Termination]; "
              "if {[kx::menu 35522] != 2} {kxfault \"the dialog did not only show the termination\"}\n");
}

// Two windows show one stored matrix view: the second window's addition cleared the view's modified mark
// as it stored it, so the first window's grid was never loaded again; it went on without the signal and
// stored it a second time when given it, while a replay's fresh grid showed it once.
TEST_F(RandomEdits, KeptSeed226AMatrixViewChangedInAnotherWindowIsShownAsStored) {
    RunKept(226, R"TCL(openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::select ccp {*}[kxcell "DQ<2>" "Pin Name"]; kx::key ccp Delete
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 0; kx::show clp U1}
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal RESET_N; kx::select ccp {*}[kxcell "PG" Signal]; addPupd pin -type pulldown -dcnet VCC3V3 -value 10k; kx::select ccp {*}[kxcell "PG" "Pull Up/Down"]; kx::key ccp Ctrl+C; openMatrixView pin mv4; matrixAdd pin component U1; matrixAdd pin signal PG; matrixAdd pin signal {DQ<4..2>}; kx::select ccp {*}[kxcell "RESET_N" "Pull Up/Down"] {*}[kxcell "DQ<3>" "Pull Up/Down"]; paste pin
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; kx::select ccp {*}[kxcell MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell MCLK Volt] "" ;# target: -
catch {kx::tab 1}
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::answer question KXTABLE-140 yes; matrixConnect pin "RESET_N" U1 PIN_NAME "DQ<3>"
catch {kx::tab 1}; saveDesign
)TCL");
    // The grids themselves: the first window shows the signal the second stored, and takes it as shown.
    RunScript("matrix-two-windows.tcl",
              "openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK\n"
              "kx::open demo.board:sch 0; kx::show clp U1; openMatrixView pin mv; matrixAdd pin signal RESET_N\n"
              "kx::tab 1; openMatrixView pin mv; if {![lindex [kxcell RESET_N Signal] 0]} "
              "{kxfault \"the first window does not show the signal the second stored\"}\n"
              "kx::tab 2; matrixAdd pin signal PG; kx::tab 1; if {[matrixAdd pin signal PG]} "
              "{kxfault \"a signal the view holds was added again\"}\n");
}

// A host selection of DQ<3> in the window's pin grid, made while the grid had no focus after the tab
// switches, was taken back by the activation of the automation call that followed: the grid went back
// to the pair row it was left on, and Auto Name connected the pair's legs and made a pair net that the
// journal does not name. The call acts on DQ<3>.
TEST_F(RandomEdits, KeptSeed14539AutoNameActsOnTheHostSelectionOfAGridWithoutTheFocus) {
    RunKept(14539, R"TCL(kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 106} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 3; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
kx::show clp U1; addConnection pin ,PGOOD {TX<3..0>}; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp Delete ;# target: U1
copy pin "MCLK" Termination; kx::pane SelectTerminationCol {DQ<3>} A13; paste pin
kx::show clp U1; sort pin Signal
catch {kx::tab 1}; saveDesignAs demo "board" "X8"
catch {kx::tab 2}; saveDesign
selectObject pin DQ<3>; kx::pane AttachSignal AUTONAME
catch {kx::tab 1}; saveDesign
)TCL");
}

// A component dropped into the signal grid waits there for its pin, a row no design holds; a custom
// value typed into it journalled a selection of that row, which the replay did not have.
TEST_F(RandomEdits, KeptSeed20396ACustomValueTypedIntoARowWaitingForItsPinReplays) {
    RunKept(20396, R"TCL(kx::open demo.board:sch 3; kx::show clp U1
kx::show clp U2; kx::notify INT_MSG_DELETE_INSTANCE -text R2 ;# target: R2
catch {kx::tab 1}
addConnection pin {C2,C1} PGOOD RST_N
kx::show slp PG; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell PWR1 "Ref Des"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell R2 "Pin Name"]; kx::menu 57639 ;# target: R2
kx::drop ccp {*}[kxcell "PGOOD" "Pin Number"] component U1
kx::show slp PG; kx::select ccp {*}[kxcell U1 Instance]; kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell U1 Volt] "1V8" ;# target: -
catch {kx::tab 1}; saveDesign
)TCL");
}

// A stored matrix view lives with the design's comments, not in its transactions, so its steps named
// nothing they touched: window 3 removed the view, window 1 made it again and removed it, and window 3's
// undo then put its view back under window 1's steps, whose undo could no longer take it away.
TEST_F(RandomEdits, KeptSeed16187AMatrixViewStepUnderAnotherWindowsLaterStepsStays) {
    RunKept(16187, R"TCL(kx::select clp PWR1; kx::call Descend
kx::open demo.board:sch 3; kx::show clp U1
kx::open demo.board:sch 3; kx::show clp U1
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; kx::pane MatrixSelect "MCLK" U1 TERMINATION "MCLK"; editTermination pin -delay 5ns
kx::pane RemoveMatrixView mv
kx::tab 1
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::menu 35678
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
catch {kx::tab 3}
kx::show clp R2 RN1A; kx::answer question KXTABLE-140 yes; kx::edit ccp {*}[kxcell A Signal] "XC<1..0>"; undo
)TCL");
}

// The same the other way round: window 2 made a view that a later window removed and made again with the
// same content; window 2's close without saving took its steps back from under the other window's.
TEST_F(RandomEdits, KeptSeed16130AWindowWhoseMatrixViewStepsOthersBuiltOnStaysOpen) {
    RunKept(16130, R"TCL(if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
kx::select clp PWR1; kx::call Descend; ascend
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::menu 35678
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::answer question KXTABLE-140 yes; kx::edit ccp {*}[kxcell "MCLK" "Pin Number"] "MCLK"
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
)TCL");
}

// A mode-1 window makes a view that a second window shows too; the first closes without saving and takes
// the view away: the second window shows it no more, so that a drop there stores nothing the replay lacks.
TEST_F(RandomEdits, KeptSeed32225AViewTakenAwayByAClosedWindowLeavesTheOtherWindowsToo) {
    RunKept(32225, R"TCL(if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; catch {kx::show clp RN1}; set c [kxcell 8 "Signal Model"]; kx::edit ccp {*}$c "RES_FAST"
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
kx::answer question KXCOMMON-101 yes; logicalView -prompt
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 1; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
kx::drop ccp {*}[kxcell "B" "Termination"] signal PG
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
catch {kx::tab 1}; saveDesign
)TCL");
}

// Whole sessions of the seeds that failed on the way and pass since the mends above (the faults are
// kept above, made smaller): most met a power tie or a termination made in the parent window an
// ascend opened; 311 the fitted column of a physical grid; 217, 237, 489, 590, 727 and 1979 a pin typed again
// into a blank row of its net; 226, 298 and 1505 a matrix view another window changed.
#define KX_KEPT_SEED(seed)                                                                                             \
    TEST_F(RandomEdits, KeptSeed##seed##Session) {                                                                     \
        if (RunFromEnvironment()) GTEST_SKIP() << "KX_EDIT_SEED, KX_EDIT_SEQUENCES or KX_EDIT_SCRIPT runs the first case"; \
        RunSessions(seed, 1);                                                                                          \
    }
KX_KEPT_SEED(81)
KX_KEPT_SEED(206)
KX_KEPT_SEED(217)
KX_KEPT_SEED(226)
KX_KEPT_SEED(231)
KX_KEPT_SEED(237)
KX_KEPT_SEED(298)
KX_KEPT_SEED(309)
KX_KEPT_SEED(311)
KX_KEPT_SEED(465)
KX_KEPT_SEED(489)
KX_KEPT_SEED(510)
KX_KEPT_SEED(578)
KX_KEPT_SEED(590)
KX_KEPT_SEED(708)
KX_KEPT_SEED(727)
KX_KEPT_SEED(742)
KX_KEPT_SEED(889)
KX_KEPT_SEED(1016)
KX_KEPT_SEED(1033)
KX_KEPT_SEED(1064)
KX_KEPT_SEED(1273)
KX_KEPT_SEED(1397)
KX_KEPT_SEED(1505)
KX_KEPT_SEED(1591)
KX_KEPT_SEED(1743)
KX_KEPT_SEED(1797)
KX_KEPT_SEED(1943)
KX_KEPT_SEED(1979)
// The step names of the instance connectivity dialog and of typed cells in a replay; a sort by a click
// that left the rows in their order (no step) followed by the undo of the edit before it.
KX_KEPT_SEED(30506)
KX_KEPT_SEED(31129)
// A matrix view whose window closed without saving, still shown in another window.
KX_KEPT_SEED(32225)
// An undone rename of two pins named its redo step blank; pastes and renames of several rows counted
// as a step per row in the replay.
KX_KEPT_SEED(33447)
KX_KEPT_SEED(33460)
// Comments moved by the host's notices in a window that shows the board in its parent's context.
KX_KEPT_SEED(34086)
KX_KEPT_SEED(35155)
// A rename refused at its second pin left the first pin's row blank, which the pull-up menu took for open.
KX_KEPT_SEED(35779)
// A redo that a sort cleared, the sort undone and gone with its grid.
KX_KEPT_SEED(35073)
KX_KEPT_SEED(35297)

// Row numbers shown or hidden, by the option or by the host's message, are a view setting: they made
// blank undo steps, so that the undo after them took back one of those (journalled as an Undo() that
// took back the typed connection in a replay) and the session saved what the replay did not.
TEST_F(RandomEdits, RowNumbersShownOrHiddenMakeNoUndoStep) {
    RunScript("row-numbers.tcl",
              "kx::show clp U1; kx::edit ccp {*}[kxcell PGOOD Signal] NEWPG; set h [kx::history]; "
              "kx::option show_row_numbers 1; kx::notify INT_MSG_SETUP_SHOW_ROW_NUMBERS {} 0; "
              "kx::notify INT_MSG_SETUP_SHOW_ROW_NUMBERS {} 1; kx::option show_row_numbers 0; "
              "if {[kx::history] ne $h} {kxfault \"a view setting made an undo step: [kx::history]\"}\n"
              "kx::option show_row_numbers 1; kx::edit ccp {*}[kxcell MCLK Signal] NEWMC; undo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// Modify Comments with blanks alone deletes the comment; its journal's trimmed EditComment("") opened the
// dialog on replay and deleted nothing, and the comment added after it was refused there.
TEST_F(RandomEdits, ABlankModifyCommentsReplaysAsTheDeleteItWas) {
    RunScript("blank-comment.tcl",
              "kx::show clp U1; addComment pin c PGOOD; modifyComment pin {  } PGOOD; addComment pin c2 PGOOD; "
              "modifyComment pin { } MCLK\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A custom-column value typed over two rows is one undo step; its journal holds one call per row, and
// the replay's undo took back one row alone.
TEST_F(RandomEdits, ACustomValueOverTwoRowsIsUndoneWholeInTheReplay) {
    RunScript("custom-two-rows.tcl",
              "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add "
              "{MYPROP|My Prop|8s|PINPROP|SHOW}; kx::menu 35130; kx::select ccp {*}[kxcell MCLK {My Prop}] "
              "{*}[kxcell PGOOD {My Prop}]; changeCustomColumn pin -col MYPROP -val v1; undo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A termination pasted onto a bus row two of whose bits have one already terminates the other bits;
// journalled as the row's add, it was refused whole in the replay. It replays bit by bit, and its undo
// and redo with it.
TEST_F(RandomEdits, ATerminationPastedOntoABusRowWithTerminatedBitsReplaysBitByBit) {
    RunScript("bus-termination-paste.tcl",
              "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Termination]; kx::key ccp Ctrl+C; "
              "kx::select ccp {*}[kxcell {DQ<15..0>} Termination]; paste pin\n"
              "undo\nredo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A lane row of a vector pair row the user opened: its journal key opened the lane above it in a fresh
// host (a sibling lane, not the pair row), selected nothing, and the edit was lost in the replay.
TEST_F(RandomEdits, ALaneRowOfAnOpenedPairRowIsFoundInTheReplay) {
    RunScript("pair-lane.tcl",
              "kx::show clp U1; kx::answer question KXTABLE-140 yes; "
              "kx::click ccp [lindex [kxcell {TX<3..0>} Signal] 0] 4 button; "
              "kx::edit ccp {*}[kxcell {TX<1>} Signal] {LVDS<2> (Differential Pair)}\n"
              "kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell {TX<0>} Signal]; kx::key ccp Delete\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A custom value over a range of rows from a bus row to a pin replays as one step; the single-row value
// typed after it went, in the replay, to every row the range's selection had left selected.
TEST_F(RandomEdits, KeptSeed30033ACustomValueOverARangeWithABusRowReplaysAlone) {
    RunKept(30033, R"TCL(kx::show clp U1; kx::select ccp {*}[kxcell "PGOOD" "Volt max"] {*}[kxcell "DQ<15..0>" "Volt max"]; changeCustomColumn pin -col VOLT_MAX -val "fast" ;# target: -
kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell "PGOOD" Slew] "a b" ;# target: -
catch {kx::tab 1}; saveDesign
)TCL");
}

// The same edit is one undo step of one name whichever road made it: a typed cell ("Add Conn"), the
// instance connectivity dialog and a paste of copied signals replay through the pane's AddConnection,
// whose own step is "Add Connections"; the replay named them so, and the undo menu of the replayed
// session offered other steps than the user's.
TEST_F(RandomEdits, AnEditReplaysUnderTheStepNameItHadInTheSession) {
    RunScript("step-names.tcl",
              "kx::show clp U1; kx::edit ccp {*}[kxcell PGOOD Signal] NEWPG\n"
              "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer dialog CKXInstConnDlg ok "
              "pins {RST_N} signal IC1; kx::answer dialog CKXInstConnDlg ok; kx::instconn U1 0\n"
              "kx::show clp U1; kx::select ccp {*}[kxcell PGOOD Signal]; kx::key ccp Ctrl+C; "
              "kx::select ccp {*}[kxcell MCLK Signal]; paste pin\n"
              "undo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A matrix connect that drops the termination of the pin it moves journals the termination's deletion
// after the connect: those lines replay the same step, and its name with it (they replayed as a Delete
// of its own name).
TEST_F(RandomEdits, KeptSeed31047AMatrixConnectDroppingATerminationReplaysUnderItsName) {
    RunKept(31047, R"TCL(openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::answer question KXTABLE-140 yes; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; matrixConnect pin "DQ<3>" U1 PIN_NAME "MCLK"
kx::show clp U1; kx::edit ccp {*}[kxcell PGOOD Signal] NEWPG
catch {kx::tab 1}; saveDesign
)TCL");
}

// The replay's history is held against the session's step by step and name by name; a session's step
// that replays as several steps is a difference, whatever the replay shows.
TEST(RandomEditChecks, AReplayedHistoryDiffersByAStepsNameAsByItsCount) {
    EXPECT_EQ(kxrandom::OtherHistory("window 1\nundo Add Conn\nredo Paste Connections",
                           "window 1\nundo Add Conn\nredo Paste Connections"),
              "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Add Connections", "window 1\nundo Add Conn"), "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Add Conn\nredo Add Connections", "window 1\nundo Add Conn\nredo Paste Connections"), "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Add Conn\nwindow 2\nundo Add Conn", "window 1\nwindow 2\nundo Add Conn\nundo Add Conn"), "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Delete Rows\nundo Delete Rows", "window 1\nundo Delete Rows (replays as 2)"), "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Delete Rows", "window 1\nundo Delete Rows (replays as 2)"), "");
    EXPECT_NE(kxrandom::OtherHistory("window 1\nundo Delete Rows\nundo Delete Connections",
                           "window 1\nundo Delete Rows (replays as 2)"),
              "");
}

// A comment given to two pins at once is one undo step, journalled as one call per pin: the replay made
// a step of each, and the undo after it took back one pin's comment there, the redo the other's.
TEST_F(RandomEdits, ACommentOnTwoPinsIsUndoneWholeInTheReplay) {
    RunScript("comment-two-pins.tcl",
              "kx::open demo.board:sch 1; kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal] "
              "{*}[kxcell PGOOD Signal]; addComment pin c\n"
              "undo\nredo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A model given to two rows of a physical grid is one undo step, journalled as one call per row between
// the marks of one step. The replay counted each row's call as a step of its own (the lines it wrote
// for no journal), so that its history took the step for two.
TEST_F(RandomEdits, AModelOnTwoPhysicalRowsReplaysAsTheOneStepItWas) {
    RunScript("model-two-physical-rows.tcl",
              "kx::open demo.board:sch 4; kx::show clp U1; "
              "assignModel pin LVCMOS33_8MA [list U1 RST_N C9] [list U1 PGOOD C10]\n"
              "kx::show slp RST_IN; assignModel pin LVCMOS33_8MA [list RN1 1] [list RN1 7]\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// An undone step keeps its name for the redo menu: a rename that renames one pin and clears another
// holds the grid's own cell stores before its edit, and its redo took the name of the last of them, a
// blank, while the replay, which names its steps from the journal, offered "Rename Signal".
TEST_F(RandomEdits, AnUndoneStepKeepsItsNameForTheRedo) {
    RunScript("redo-name.tcl",
              "kx::open demo.board:sch 0; kx::show clp U1; "
              "renameConnection pin [list U1 PGOOD C10 RN2] [list U1 RST_N C9]\n"
              "kx::key ccp Ctrl+Z; set h [split [kx::history] \\n]; "
              "if {[lindex $h end] ne {redo Rename Signal}} {kxfault \"the redo step is [lindex $h end]\"}\n"
              "kx::key ccp Ctrl+Y; set h [split [kx::history] \\n]; "
              "if {[lindex $h end] ne {undo Rename Signal}} {kxfault \"the redone step is [lindex $h end]\"}\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A window that shows the board in its parent's context edits nothing, the comments of its pins neither:
// the host's notices of a component or a pin renamed moved the comments there, and the replay, whose
// journal calls that window refuses, left them where they were.
TEST_F(RandomEdits, AReadOnlyWindowMovesNoCommentsOnTheHostsNotices) {
    RunScript("read-only-comment-moves.tcl",
              "kx::show clp U1; addComment pin note {DQ<4>}; addComment pin other MCLK\n"
              "kx::select clp PWR1; kx::call Descend; ascend\n"
              "kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 0\n"
              "kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,MCLK:U1,PGOOD 1\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A rename refused at its second pin leaves every row showing the design: the first pin's blank name,
// taken back with the edit, stayed in its Signal cell, so that the pull-up menu after it took the pin
// for an open one and dropped its termination, which the replay, with no rename, kept.
TEST_F(RandomEdits, ARefusedRenameLeavesTheRowsShowingTheDesign) {
    RunScript("refused-rename-rows.tcl",
              "kx::open demo.board:sch 0; kx::show clp U1; "
              "renameConnection pin [list U1 MCLK B14] [list U1 MCLK B14 DQ]; "
              "if {[lsearch [split [kx::window ccp] \\n] {*MCLK | B14 | MCLK |*}] < 0} "
              "{kxfault \"the refused rename left MCLK's row showing another signal\"}\n"
              "kx::show clp U1; kx::answer dialog CKXOpenPinConnectionDlg ok common 1; kx::answer dialog CKXPupdDlg ok "
              "type pullup dcnet VCC3V3 value 10k; kx::select ccp {*}[kxcell MCLK \"Pull Up/Down\"]; kx::menu 35509\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A sort by the menu clears what could be redone, and is journalled as the step it is: a replay makes it
// too, and cannot redo what it cleared either. The sort undone and its grid gone, the window redoes
// nothing, as the replay does.
TEST_F(RandomEdits, TheRedoASortClearedStaysClearedAsInTheReplayWhenTheSortWentWithItsGrid) {
    RunScript("redo-past-sort.tcl",
              "kx::open demo.board:sch 4; catch {kx::show slp VCC3V3}; "
              "kx::edit ccp {*}[kxcell RN1 \"Signal Model\"] RES_FAST\n"
              "undo\n"
              "kx::show slp PG; kx::select ccp {*}[kxcell U1 \"Pin Name\"]; kx::menu 35121; undo\n"
              "kx::show slp {DQ<2>}; set h [split [kx::history] \\n]; "
              "if {[lsearch $h {redo Assign Model}] >= 0} {kxfault \"the redo steps are [lrange $h 2 end]\"}\n"
              "redo\n"
              "catch {kx::tab 1}; saveDesign\n");
}

// A matrix instance deleted in one window and brought back by an undo: the window's matrix shows it again,
// so that adding it to the view is nothing to do, as in the replay, whose window opened the view after.
TEST_F(RandomEdits, KeptSeed36063AMatrixShowsAnInstanceAnUndoBroughtBack) {
    RunKept(36063, R"TCL(kx::answer dialog CKXMatrixViewDlg ok name mv components "U1 U1" signals "MCLK DQ"; kx::menu 35676
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 3; openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}}
kx::show clp U1; kx::notify INT_MSG_DELETE_INSTANCE -text U1 ;# target: U1
if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; catch {kx::show slp RESET_N}; set c [kxcell RN1 "Signal Model"]; kx::select ccp {*}$c; kx::key ccp Delete
kx::key ccp Ctrl+Z
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; kx::select ccp {*}[kxcell "MCLK" "Pin Name"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "DQ<2>" "Pin Name"]; kx::answer question KXTABLE-140 yes; paste pin
)TCL");
}

// A double-click on a signal grid's header row, close to a column's border, fits that column; its width
// went into the window's newest step (a removed matrix view), which then had no name and could not be
// undone. A column's width is no part of the undo history.
TEST_F(RandomEdits, KeptSeed38564AColumnFittedInASignalGridLeavesTheNewestStepAsItWas) {
    RunKept(38564, R"TCL(kx::show clp R2; kx::notify INT_MSG_DELETE_INSTANCE -text PWR1 ;# target: PWR1
if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; kx::answer dialog CKXDlgFilterPhys ok paths PWR1; kx::menu 35571
kx::answer question MSG_HOST_ASK_SAVE yes; kx::menu 35563
kx::show clp U1; kx::select ccp {*}[kxcell "CLK" "Volt max"] {*}[kxcell "A<12..0>" "Volt max"]; changeCustomColumn pin -col VOLT_MAX -val "fast" ;# target: -
kx::powerpins on; kx::show clp U2; kx::edit ccp {*}[kxcell VSS Signal] PWR_6 ;# target: U2
kx::show slp PG; kx::select ccp {*}[kxcell U1 "Pin Number"]; kx::select ccp {*}[kxcell R2 "Pin Number"]; kx::key ccp Delete ;# target: R2
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 3; kx::show clp R2}
openMatrixView pin mv2; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::menu 35678
kx::show slp PG; kx::answer dialog CKXTerminationDlg ok type Thevenin; kx::click ccp {*}[kxcell "R2" Termination] button
kx::open demo.board:sch 3; kx::show clp U1
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
openMatrixView pin mv2; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal RESET_N; kx::pane MatrixPasteAssoc PUPD PG {} {} PullUp {} {type=PullUp;delay=;high=;low=;dcnet=VCC3V3;slots=1;0.id=R;0.lib=discrete;0.cell=resistor;0.view=sym;0.phys=R0402;0.value=10k;0.refdes=;0.k=;0.i=}
catch {kx::tab 2}; saveDesign
kx::show slp PG; kx::answer dialog CKXTerminationDlg cancel; kx::click ccp {*}[kxcell "CLK" Termination] double
)TCL");
}

// An implicit power pin given the net it is on already took it again: the drop answered 1 and journalled
// a connect that made no step, whose line the step before (a delete of rows) then counted as one more
// step of its replay. Such a connect takes nothing on every road.
TEST_F(RandomEdits, KeptSeed38801APowerPinConnectedToItsOwnNetTakesNothing) {
    RunKept(38801, R"TCL(kx::open demo.board:sch 3; kx::show clp U1
kx::show slp EN; kx::select ccp {*}[kxcell R1 "Pin Number"]; kx::select ccp {*}[kxcell PWR1 "Pin Number"]; kx::pane Delete ;# target: PWR1
kx::powerpins on; kx::show clp U2; kx::select ccp {*}[kxcell VDD Signal]; kx::key ccp Delete ;# target: U2
kx::drop ccp {*}[kxcell "MCLK" "Pin Number"] signal VCC3V3
)TCL");
    RunScript(
        "power-pin-own-net.tcl",
        "kx::open demo.board:sch 3; kx::powerpins on; kx::show clp U2\n"
        "kx::select ccp {*}[kxcell VDD Signal]; set h [kx::history]; set a [kx::pane AddConnection VCC3V3]; "
        "if {$a != 0 || [kx::history] ne $h} {kxfault \"VDD connected to VCC3V3 again answers $a\"}\n"
        "kx::show clp U2; kx::select ccp {*}[kxcell VDD Signal]; "
        "if {[kx::pane AddConnection GND] != 1} {kxfault \"VDD does not take GND\"}\n"
        "catch {kx::tab 1}; saveDesign\n");
}
