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
// buttons and edits on them, and the physical grids' model cells; the text roads (random_session_texts.cpp):
// comma lists of buses, ranges and names on every connect road, property lists with blanks, semicolons,
// quotes and equal signs (and such terminations pasted), words over keys of components not shown; and the
// hand roads (random_session_hands.cpp): group grids and every road that refreshes them, the schematic
// tool's changes, focus moves, window sizes and splitters while a list is down or a cell is in edit, drops
// and pastes over side-by-side grids, the host's tools' messages and its changes outside the undo history.
// A line that changes the design outside the undo history says so (OutsideUndo): undoing every step then
// no longer has to give the design the session started from. test_random_edit_coverage.cpp fails for a
// command of the host or a word of the editor that no kind draws. About one commit in six is refused by the design database.
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
// and ascend, filter blocks, tie power groups, add columns, save as (from the editable block too, the
// board then saved from another window), zoom, fit columns, press keys in
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
#include "KXRandomEditsFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace fs = std::filesystem;

using namespace kxrandom;

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

// A signal left without pins in the logical window showed an empty physical net grid in the other, which
// took a sort as a step; its journal showed no net again, and the replay's window made no step.
TEST_F(RandomEdits, KeptSeed600089APhysicalGridShowingNoNetTakesNoSort) {
    RunKept(600089, R"TCL(kx::show clp U2; kx::notify INT_MSG_DELETE_INSTANCE -text U1 ;# target: U1
if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; catch {kx::show clp RN1}; set c [kxcell 2 "Signal Model"]; kx::edit ccp {*}$c "res_model"
kx::answer question KXCOMMON-101 no; logicalView -prompt
kx::show slp PG; kx::select ccp {*}[kxcell U1 Instance]; kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}; kx::menu 35130; kx::edit ccp {*}[kxcell R2 Volt] "a b" ;# target: -
kx::show slp RESET_N; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer question KXTABLE-140 no; kx::edit ccp {*}[kxcell RN1A "Pin Name"] {} ;# target: RN1A
if {[catch {kx::tab 2}]} {kx::open demo.board:sch 4}; kx::answer dialog CKXDlgFilterPhys ok paths PWR1; kx::menu 35571
kx::show slp RESET_N; sort pin "Pin Number" ;# target: -
)TCL");
}

// The undo of a sort of U1 alone, after U1 was shown beside U2, took the grid's side-by-side state for the
// step's and journalled nothing; the replay kept the sort.
TEST_F(RandomEdits, KeptSeed601155ASortIsUndoneAsTheStepItWasMadeAs) {
    RunKept(601155,
            R"TCL(kx::show clp U1; kx::select ccp {*}[kxcell MCLK Termination]; kx::menu 35121 ;# target: -
kx::show clp U1 U2
kx::show slp MCLK; undo
)TCL");
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

// Two rows renamed by Modify Values at once, the first leaving a net (with a carried pull-up) that
// goes: the second row's new pull-up takes the name that net's pull-up left, as the journal's rows
// one by one give it.
TEST_F(RandomEdits, KeptSeed340045APullUpMadeByTheSecondRowOfARenameIsNamedAsTheReplayNamesIt) {
    RunKept(340045, R"TCL(kx::show clp U1; selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 -value 1k; kx::select ccp {*}[kxcell MCLK "Pull Up/Down"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "RST_N" "Pull Up/Down"] {*}[kxcell "A<12..0>" "Pull Up/Down"]; paste pin ;# target: U1
kx::show clp U1 U2; kx::grid ccp 1; selectObject pin {U1 MCLK B14}; kx::pane AddConnection OTH3 ;# target: U1 U2
kx::show clp U1; kx::select ccp {*}[kxcell "RST_N" Signal] {*}[kxcell "MCLK" Signal]; kx::answer dialog CKXDlgEditValues ok value0 "MV12" value1 "MV13"; kx::menu 35096
catch {kx::tab 1}; saveDesign
)TCL");
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

// A window that took a step of its design (a resolved violation) closes without saving, in a line that
// also makes a step elsewhere, while another window on the design saved it: the change stays, the
// step goes, and the design as shipped is no longer what undoing every step gives.
TEST_F(RandomEdits, KeptSeed710357AWindowClosedBesideAnotherOnItsDesignLeavesItsChangesThere) {
    RunKept(710357, R"TCL(openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::answer question KXTABLE-140 yes; matrixConnect pin "MCLK" U1 PN "C10"
kx::select clp PWR1; kx::call Descend; ascend
kx::open demo.board:sch 3; kx::show clp U1
kx::edit ccp {*}[kxcell "PGOOD" "Speed"] "T1"
kx::brackets square; catch {kx::show clp U1; kx::select ccp {*}[kxcell "A<12..0>" Signal]; kx::key ccp F2; kx::key ccp 7; kx::key ccp Up; kx::key ccp Enter}; kx::brackets angle ;# target: U1
if {![catch {kx::tab 2}]} {kx::answer question KXCOMMON-101 no; kx::close}
kx::open demo.PWR:sch 1; kx::call AddSignal BLK3 {} {}
kx::open demo.PWR:sch 1; kx::call AddSignal BLK6 {} {}; saveDesign
catch {kx::tab 2}
catch {kx::notify MSG_VIOLATION_RESOLVED {demo.board:sch@U1 SPEED fast}}
catch {kx::tab 1}; saveDesign
kx::select clp PWR1; kx::call Descend; ascend; kx::close; kx::open demo.PWR:sch 1; kx::call AddSignal ZZP10 {} {}; saveDesign
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

// A stored matrix view opened again in a window opened anew, then a net it lists renamed by the schematic
// tool: the open was not journalled and the view kept the net's old name, so the replay's view, loaded
// after the rename, lacked the net's row and stored it a second time for the connection typed there.
TEST_F(RandomEdits, KeptSeed630001AStoredMatrixViewFollowsANetRenamedByTheSchematicTool) {
    RunKept(630001, R"TCL(openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}
catch {kx::tab 1}; saveDesign
kx::answer question KXCOMMON-101 no; kx::close; kx::open demo.board:sch 3; kx::show clp U1
openMatrixView pin mv
kx::show clp U1; for {set kxtry 0} {$kxtry < 8 && [catch {kx::schematic net MCLK MCLK_X}]} {incr kxtry} {} ;# outside the undo history
openMatrixView pin mv; kx::answer question KXTABLE-140 yes; matrixConnect pin MCLK_X U1 PIN_NAME {} MCLK ;# target: U1
catch {kx::tab 1}; saveDesign
)TCL");
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

// The same over a vector pair row one of whose lanes lost its termination: the paste terminates that
// lane alone, and replays lane by lane (as the pair's add, it was refused whole in the replay).
TEST_F(RandomEdits, ATerminationPastedOntoAPairRowWithTerminatedLanesReplaysLaneByLane) {
    RunScript("pair-termination-paste.tcl",
              "kx::show clp U1; kx::select ccp {*}[kxcell CLK Termination]; kx::key ccp Ctrl+C; "
              "kx::select ccp {*}[kxcell {TX<3..0>} Termination]; paste pin\n"
              "kx::answer question KXTABLE-140 yes; kx::click ccp {*}[kxcell {TX<3..0>} {Pin Name}] button; "
              "kx::select ccp {*}[kxcell {TX<3>} Termination]; kx::key ccp Delete\n"
              "kx::select ccp {*}[kxcell MCLK Termination]; kx::key ccp Ctrl+C; "
              "kx::select ccp {*}[kxcell {TX<3..0>} Termination]; paste pin\n"
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
