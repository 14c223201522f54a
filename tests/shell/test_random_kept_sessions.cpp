// Random user sessions that once failed, each made smaller and kept as it was found (its seed draws
// the same refused commits), and the sessions written to hold a road the random test found: the part of
// the kept sessions that came with the newer roads (a window's journal lines, group grids, options, the
// instance dialog, refused pastes).
#include "KXRandomEditsFixture.h"

#include <gtest/gtest.h>

using namespace kxrandom;

// A signal cell in edit as a read-only window on the design opens is stored in its own window, and
// journalled after the open: the replay's Delete of the termination it drops acts on that window too.
TEST_F(RandomEdits, KeptSeed700135AnEditStoredAsAnotherWindowOpensReplaysInItsOwnWindow) {
    RunKept(700135, R"TCL(kx::show clp U1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::click ccp {*}[kxcell "RST_N" Signal] button; catch {kx::droplist ccp select 4}; catch {kx::focus ccp 1}; catch {kx::key ccp Enter}; catch {kx::key ccp Escape}; catch {kx::key ccp Escape} ;# target: U1
kx::show clp U1; kx::pane RetainTermination 0; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer dialog CKXDontAskAgainYesNoDlg ok; addConnection pin "FCLK1 (Differential Pair)" CLK
kx::show clp RN1A RN1B; kx::answer question KXTABLE-140 yes; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::grid ccp 1; selectObject pin B A; kx::edit ccp {*}[kxcell "A" Signal] "SBD4" ;# target: RN1A RN1B
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::show clp U1; kx::click ccp {*}[kxcell "MCLK" Signal] button; catch {kx::droplist ccp choose 6}; catch {kx::open demo.board:sch 2; kx::tab 1}; catch {kx::key ccp Escape}; catch {kx::key ccp Escape}; catch {kx::key ccp Escape} ;# target: U1 R2
catch {kx::tab 1}; saveDesign
)TCL");
}

// A pin the matrix moves onto a net, letting its termination go and carrying its old net's pull-up: the
// pull-up's reference designator is taken while the termination still holds its own, as in the replay,
// whose connect keeps the termination until the journal's Delete after it.
TEST_F(RandomEdits, KeptSeed710143APullUpCarriedByTheMatrixIsNamedAsTheReplayNamesIt) {
    RunKept(710143, R"TCL(kx::show clp U2; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; addConnection pin "XB7<15..0>,MCLK" {U2 CLK} ;# target: U2
kx::show clp U1; copy pin [list U1 MCLK B14] [list U1 PGOOD C10] Signal; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer dialog CKXInstConnDlg ok pins "PGOOD" signal "IC12"; kx::answer dialog CKXInstConnDlg ok pins "PGOOD RST_N" paste 1; kx::answer dialog CKXInstConnDlg ok; kx::instconn U1 3
kx::show clp U1; selectObject pin "RST_N"; addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 10 -k {Q=\"x\"} ;# target: U1
kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 107} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
openMatrixView pin mv2; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::answer question KXTABLE-140 no; kx::edit ccp {*}[kxcell "MCLK" "Pin Name"] "RST_N"
catch {kx::tab 1}; saveDesign
)TCL");
}

// The pin grid's pair option set in one window, then another window opened: its grid starts from the
// option, as the replay's does, which the journal's RMX.SetOption set before it.
TEST_F(RandomEdits, KeptSeed710522AWindowOpenedAfterAnOptionStartsFromItInTheReplayToo) {
    RunKept(710522, R"TCL(kx::show clp -group RN1A RN1B; kx::answer question KXTABLE-140 yes; kx::option show_dp_pins_ccp 0 ;# target: RN1A RN1B
if {[catch {kx::tab 3}]} {kx::open demo.board:sch 0; kx::show clp U1}
kx::show clp U1; kx::click ccp {*}[kxrow 4 "Pin Number"] ;# target: -
kx::show clp U1; selectObject pin RST_N; addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 10 -k TOL=1% -i {A=1; B=2}; kx::select ccp {*}[kxcell RST_N Termination]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "A<12..0>" Termination] {*}[kxcell "PGOOD" Termination]; paste pin ;# target: U1
)TCL");
}

// A group of components shown while a signal was shown before it in the replay (the session's lines
// between them changed nothing and journalled nothing): the journal's SelectGroup shows the group.
TEST_F(RandomEdits, KeptSeed770191AGroupShownRightAfterASignalIsTheGroupInTheReplay) {
    RunKept(770191, R"TCL(kx::notify INT_MSG_DELETE_INSTANCE -text R1
catch {kx::setprop demo.board:sch@U1 PN X123} ;# outside the undo history
kx::show slp EN; kx::select ccp {*}[kxcell R1 "Pin Number"]; kx::select ccp {*}[kxcell PWR1 "Pin Number"]; kx::pane Delete ;# target: PWR1
kx::show clp J1; selectObject pin {U1 PGOOD} {J1 P<9>} {U1 NOPE}; kx::key ccp Delete ;# target: U1 J1 U2 R2
kx::show clp -group RN1A RN1B; kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell "RN1B" Signal]; kx::key ccp Delete; catch {kx::schematic instance R1 R11}; for {set kxtry 0} {$kxtry < 8 && [catch {kx::schematic instance R11 R1}]} {incr kxtry} {} ;# outside the undo history
)TCL");
}

// A signal pasted onto MCLK, the database refusing the paste's commit: the pin grid had written the
// row's cells ahead of the commit (no signal, the termination let go) and kept showing them, so that a
// pull-up added later took MCLK for an open pin and connected it afresh, dropping its termination, which
// the replay of the journal keeps. The pin grids show the design again after a paste that did not commit.
TEST_F(RandomEdits, KeptSeed800598APasteTheDatabaseRefusedLeavesThePinRowsAsTheDesignHasThem) {
    RunKept(800598, R"TCL(kx::show clp U1; kx::edit ccp {*}[kxcell CLK Signal] {}; kx::select ccp {*}[kxcell CLK "Pin Name"]; kx::menu 35725
assignModel pin LVCMOS33 "RST_N"
kx::show clp J1; kx::notify INT_MSG_DELETE_INSTANCE -text RN1A ;# target: RN1A
kx::show slp RESET_N; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::answer question KXTABLE-140 no; kx::edit ccp {*}[kxcell U1 "Pin Number"] {} ;# target: U1
kx::show slp EN; kx::answer question KXTABLE-140 yes; for {set i 0} {$i < 106} {incr i} {addConnection pin J1:8; kx::select ccp {*}[kxcell J1 Instance]; kx::key ccp Delete}; kx::messages; set r [kxfree]; kx::drop ccp $r [lindex [kxcell {} Instance] 1] component J1; kx::edit ccp $r [lindex [kxcell {} {Pin Number}] 1] 8; if {[lsearch [kx::messages] KXTABLE-145] >= 0} {kxfault "a pin number typed into a blank row was refused after many deletes"}
kx::open demo.PWR:sch 1; kx::call AddSignal BLK2 {} {}; saveDesign
catch {kx::notify MSG_ASSOC_COMP_CHANGED {} {demo.board:sch@:EN VOLT 3V3}}
kx::tab 1
kx::show clp U1; kx::select ccp {*}[kxcell "RST_N" Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "MCLK" Signal]; kx::key ccp Ctrl+V
kx::show clp J1; kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::select ccp {*}[kxcell "P<10..1>" Signal]; kx::ccpbar type "DQ<7..4>,XB5<0..3>" ;# target: J1
kx::show clp U1; kx::select ccp {*}[kxcell {DQ<3>} Termination]; addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 33; kx::select ccp {*}[kxcell MCLK Termination]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "A<12..0>" Termination]; paste pin ;# target: U1
kx::show clp U1 U2; kx::grid ccp 1; selectObject pin {U1 MCLK B14}; addPupd pin -type pullup -dcnet VCC3V3 -value 1k ;# target: U1 U2
catch {kx::tab 1}; saveDesign
)TCL");
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

// A group's grid with its pairs' legs shown and its first component's own grid with the pairs: the view
// option, the copy of a legs' bus row and the typed copy's lines named the component alone, whose grid in
// the replay shows no such row. They name the group.
TEST_F(RandomEdits, KeptSeed2013AGroupsGridIsShownAgainBeforeTheRowsItsLinesName) {
    RunKept(2013, R"TCL(kx::show clp -group U1 R1; kx::header ccp click 9095 ;# target: U1 R1
kx::show clp U1; setViewOption pin dp_on ;# target: U1
kx::show clp -group U1 R1; kx::select ccp {*}[kxcell {TX_N<3..0>} {Pin Name}]; kx::key ccp Ctrl+C ;# target: U1
kx::show clp U2 U1; kx::select ccp {*}[kxcell {TX<3..0>} Signal]; kx::key ccp F2; kx::key ccp Home shift; kx::key ccp End shift; kx::key ccp Ctrl+C; kx::key ccp Escape ;# target: U1
)TCL");
}

// A value typed into a custom column of a group's grid, on a row of the pairs' legs: its lines selected the
// row in its component's grid, which shows the pairs there. They select it in the group's grid.
TEST_F(RandomEdits, KeptSeed3132ACustomValueOfAGroupsGridReplaysThere) {
    RunKept(3132, R"TCL(kx::show clp -group U1 R1; setViewOption pin bus_on dp_off ;# target: U1 U2 R1
kx::show clp U1; setViewOption pin dp_on ;# target: U1
kx::show clp -group U1 R1; kx::edit ccp {*}[kxcell {TX_N<3..0>} Speed] x77 ;# target: U1 U2 R1
)TCL");
}

// A matrix view opened in a second window while its component was deleted, and a component of that name
// placed again: the window's matrix shows it, so that adding it to the view is nothing to do, as in the
// replay, whose window opened the view after the component was placed.
TEST_F(RandomEdits, KeptSeed640146AMatrixShowsAComponentPlacedAgainUnderItsName) {
    RunKept(640146, R"TCL(openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; matrixAdd pin signal PG; matrixAdd pin signal RESET_N; kx::select ccp {*}[kxcell "PG" Signal]; editPupd pin RP1 -dcnets VCC3V3
kx::open demo.board:sch 3; kx::show clp U1
kx::show clp U1; kx::select ccp {*}[kxcell MCLK Termination]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "TX<3..0>" Termination]; paste pin ;# target: U1
kx::show clp U1; selectObject pin RST_N; addPupd pin -type pullup -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 -value 1k -k {A=1; B=2}; kx::select ccp {*}[kxcell RST_N "Pull Up/Down"]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "CLK" "Pull Up/Down"]; paste pin ;# target: U1
kx::show clp R1; kx::notify INT_MSG_DELETE_INSTANCE -text U1 ;# target: U1
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::select ccp {*}[kxcell "DQ<3>" "Termination"]; kx::key ccp Delete
kx::drop clp component demo.RES:sym
openMatrixView pin mv; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal {DQ<3..2>}; kx::pane SaveAsMatrixView mv6
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


// A cell left in edit as another window opened and the first was made active again stored its text at a
// later action (or at none in a replay): the edit ends as the focus leaves, journalled there, and what
// the user does next in the window finds no edit to store.
TEST_F(RandomEdits, ACellInEditAsTheFocusMovesIsStoredAsTheMoveIsReplayed) {
    const std::string edit = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::show slp PG; "
                             "kx::answer question KXTABLE-140 yes; kx::select ccp {*}[kxcell R2 \"Pin Number\"]; "
                             "kx::key ccp F2; kx::key ccp Backspace; ";
    RunScript("edit-then-open.tcl", edit + "catch {kx::open demo.board:sch 2; kx::tab 1}\n");
    RunScript("edit-open-then-paste.tcl",
              edit + "catch {kx::open demo.board:sch 2; kx::tab 1}; catch {kx::key ccp Enter}\n"
                     "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::key ccp Ctrl+C; "
                     "kx::select ccp {*}[kxcell PGOOD Signal]; kx::key ccp Ctrl+V\n"
                     "catch {kx::tab 1}; saveDesign\n");
    RunScript("edit-then-resize.tcl", edit + "catch {kx::resize 1100 900; kx::resize 1280 1024}\n"
                                             "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; "
                                             "kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell PGOOD Signal]; "
                                             "kx::key ccp Ctrl+V\n");
}

// The board's window, not active, took a setting after an ascend had bound "board" to a board window that
// closed again: its lines named that closed window, so the replay ran them on the power block's window.
// The journal binds the handle to the board's window first, and selects the active window again after.
TEST_F(RandomEdits, KeptSeed600061ASettingOfAWindowNotActiveReplaysOnThatWindow) {
    RunKept(600061, R"TCL(kx::select clp PWR1; kx::call Descend; ascend; kx::close; kx::open demo.PWR:sch 1; kx::call AddSignal ZZP1 {} {}; saveDesign
kx::show clp -group RN1A RN1B; kx::answer question KXTABLE-140 yes; kx::option show_dp_pins_ccp 0 ;# target: RN1A RN1B
)TCL");
}

// The instance connectivity dialog opened beside a Signal cell of the pane left in edit: the rule entry
// that took the keyboard into the dialog's combo stored that cell, whose end of edit ended the dialog's
// transaction; the automatic-name connect after it was a step of its own, unjournalled, the dialog
// answering 0.
TEST_F(RandomEdits, KeptSeed720403TheInstanceDialogsConnectsStayItsOneStepBesideACellInEdit) {
    RunKept(720403, R"TCL(kx::brackets square; catch {kx::show clp U1; kx::select ccp {*}[kxcell "MCLK" Signal]; kx::key ccp F2; kx::key ccp End; kx::key ccp Up; kx::key ccp Enter}; kx::brackets angle ;# target: U1
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1; kx::answer dialog CKXInstConnDlg ok pins "B A" fx 35282; kx::answer dialog CKXInstConnDlg ok pins "B A" fx 35275; kx::answer dialog CKXInstConnDlg ok pins "B B" fx 35255; kx::answer dialog CKXInstConnDlg ok; kx::instconn R2 9
catch {kx::tab 2}; saveDesign
kx::notify MSG_CLEAR_UNDO ;# outside the undo history
)TCL");
}

// A cell edit whose bits dialog was cancelled stayed the grid's running edit after showing the pairs
// read the rows again and dropped it: the paste that followed stored its cell as the end of that edit,
// which committed the paste's transaction early, so the paste answered 0 yet left an unjournalled step.
TEST_F(RandomEdits, KeptSeed750622APasteAfterADroppedCellEditIsOneJournalledStep) {
    RunKept(750622, R"TCL(kx::show clp U1; kx::select ccp {*}[kxcell "A<12..0>" Signal]; kx::key ccp F2; kx::key ccp Down; kx::key ccp Enter ;# target: U1
kx::show clp U1; kx::answer menu * 2025; kx::header ccp right
kx::show clp U1; kx::select ccp {*}[kxcell "RST_N" Signal]; kx::key ccp Ctrl+C; kx::select ccp {*}[kxcell "MCLK" Signal]; paste pin
)TCL");
}
