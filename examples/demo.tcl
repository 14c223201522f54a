# A walk through the table editor on the example board. Run with `make demo`.
proc say {text} { puts "\n== $text" }
# The block filter of the physical view is kept in a file beside the designs; the demo removes
# the one it makes. `make demo` runs on a copy of the example library (KX_DEMO_LIBRARY).
if {[info exists ::env(KX_DEMO_LIBRARY)]} {
    set libraryDir $::env(KX_DEMO_LIBRARY)
} else {
    set libraryDir [file join [file dirname [info script]] designs]
}
set filterFile [file join $libraryDir physModule.dat]
set hadFilterFile [file exists $filterFile]
proc show {label value} { puts "   $label: $value" }

say "Open the board for editing (open mode 1)"
show opened [kx::open demo.board:sch 1]
show "component list" [join [kx::window clp] ", "]
show "signal list" [llength [kx::window slp]]
show connections [llength [split [kx::netlist] "\n"]]
show "first connections" [join [lrange [split [kx::netlist] "\n"] 0 3] " | "]

say "Choose windows by script, and ask one for its usage"
show "selectWindow CCP" [selectWindow CCP]
show "selectWindow slp" [selectWindow slp]
show "selectWindow nowhere" [selectWindow nowhere]
show "selectWindow -help" [selectWindow -help]
show "messages shown" [kx::messages]

say "Double-click a component: the connectivity pane shows its pins in a pin grid"
kx::show clp U1
foreach line [split [kx::window ccp] "\n"] { puts "   $line" }
say "Double-click another: the pane follows"
kx::show clp R1
foreach line [split [kx::window ccp] "\n"] { puts "   $line" }

say "The pin grid's header bar: what it shows, its boxes ask the host, its right-click menu toggles one option"
kx::show clp U1
foreach line [split [kx::header ccp] "\n"] { puts "   $line" }
show "click Show Vectors (9096): the bus rows become bit rows" [kx::header ccp click 9096]
show "bit row DQ<7> shown" [expr {[string first "DQ<7> |" [kx::window ccp]] >= 0}]
show "the word at the host turns them back" [setViewOption pin bus_on]
show "Show Vectors box" [lsearch -inline [split [kx::header ccp] "\n"] 9096*]
kx::answer menu * 2025
show "right-click, choose Show Differential Pairs: pairs off" [kx::header ccp right]
show "pair legs shown" [expr {[string first "CLK_P |" [kx::window ccp]] >= 0}]
show "right-click, dismiss: the options stay" [kx::header ccp right]
show "pairs back" [setViewOption pin dp_on]
show "a view option the word does not know is refused (0)" [list [setViewOption pin sideways] [kx::messages]]
show "a pair net named for an ordinary pin is refused, with its reason" [list [addConnection pin {SYSCLK (Differential Pair)} MCLK] [kx::messages]]
say "Removing a pair pin that is still on a pair net is refused, and nothing changes"
show "removeDiffPairPin CLK (U1's CLK is on SYSCLK)" [removeDiffPairPin pin CLK]
say "The host's option of the parts' implicit power pins reaches the open grid at once"
show "powerpins on" [kx::powerpins on]
show "VCCINT row shown" [expr {[string first "VCCINT |" [kx::window ccp]] >= 0}]
proc powerRow {pin} { lsearch -inline [split [kx::window ccp] "\n"] "*| $pin |*" }
show "GND group row" [string trim [powerRow GND]]
show "type AGND into the GND group's Signal cell" [kx::edit ccp [lindex [split [string trim [powerRow GND]] :] 0] 7 AGND]
show "GND group row now" [string trim [powerRow GND]]
kx::select ccp [lindex [split [string trim [powerRow GND]] :] 0] 7
show "Delete gives GND back to the part's net" [deleteConnection pin]
show "Delete again: U1 has no tie of its own left to release" [deleteConnection pin]
show "undo the release" [undo]
show undo [undo]
show "powerpins off" [kx::powerpins off]
say "A selection by a key that names no pin row leaves no pin for the word that follows"
show "selectObject pin MCLK, then pin NOSUCHPIN" "[selectObject pin MCLK] [selectObject pin NOSUCHPIN]"
show "deleteConnection (no pin selected)" [deleteConnection pin]
show "MCLK still on" [lsearch -all -inline [split [kx::netlist] "\n"] "U1 MCLK *"]
say "Two components side by side: a sort by Pin Name sorts both, a bus row sums up its bits' signals"
kx::show clp U2 J1
show "sort by Pin Name (descending now)" [sort pin "Pin Name"]
foreach line [split [kx::window ccp] "\n"] { puts "   $line" }
show "sort again (ascending)" [sort pin "Pin Name"]
show "side by side, the grids scroll under the pane's bar (vertical horizontal)" [kx::scrollbars ccp]
kx::show clp U1
show "one component: its own vertical bar, never a horizontal one" [kx::scrollbars ccp]
kx::show clp U2 J1
say "Double-click a signal: the pane shows every pin on it in a signal grid"
kx::show slp MCLK
foreach line [lrange [split [kx::window ccp] "\n"] 0 7] { puts "   $line" }
say "Type a connector pin into the signal grid's first blank row (row 7: Instance, then Pin Name), then undo it"
show "Instance J1" [kx::edit ccp 7 6 J1]
show "Pin Name P<8>" [kx::edit ccp 7 8 {P<8>}]
show "J1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
foreach line [lrange [split [kx::window ccp] "\n"] 6 8] { puts "   $line" }
show echoes [kx::echoes]
show undo [undo]
show "J1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
say "The same connection by script: addConnection INSTANCE:PIN_NUMBER"
show "addConnection pin J1:8" [addConnection pin J1:8]
show "J1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
show undo [undo]
say "A block's pin has no number: addConnection names it by its pin name, and its row stays in the grid"
kx::answer question KXTABLE-140 yes ;# PGOOD leaves PG for MCLK
show "addConnection pin PWR1:PGOOD" [addConnection pin PWR1:PGOOD]
show "PWR1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "PWR1 *MCLK"]
show "its row" [lsearch -all -inline [split [kx::window ccp] "\n"] "*PWR1*PGOOD*"]
show undo [undo]
show "PWR1 PGOOD back on PG" [lsearch -all -inline [split [kx::netlist] "\n"] "PWR1 PGOOD*"]

say "The signal grid sorts, filters, copies and sets models: the words it echoes come back from the host"
kx::show slp RESET_N
show "sort pin {Pin Number}" [sort pin {Pin Number}]
foreach line [lrange [split [kx::window ccp] "\n"] 4 6] { puts "   $line" }
show "filterRows pin -col Instance -filter U*" [filterRows pin -col Instance -filter U*]
foreach line [lrange [split [kx::window ccp] "\n"] 4 6] { puts "   $line" }
show "filterRows back to *" [filterRows pin -col Instance -filter *]
kx::select ccp 5 6 6 6
show "Ctrl+C on two Instance cells (the grid copies them itself)" [kx::key ccp Ctrl+C]
kx::select ccp 5 12 6 12
show "Ctrl+C on two Pull Up/Down cells goes through the host, naming the column" [kx::key ccp Ctrl+C]
show "echoes" [kx::echoes]
show "assignModel pin SLOW_IN on U1's pin" [assignModel pin SLOW_IN [list C9 U1 -1 -1]]
show "U1.RST_N PIN_SIGNAL_MODEL" [kx::prop demo.board:sch@U1.RST_N PIN_SIGNAL_MODEL]
show undo [undo]
kx::answer menu * 2030
show "right-click the caption row, untick Ref Des" [kx::click ccp 1 6 right]
show "caption row" [lindex [split [kx::window ccp] "\n"] 3]
kx::answer menu * 2030
show "and tick it again" [kx::click ccp 1 6 right]

say "Drop a component from the host's views onto a signal grid row: the row waits for its pin number"
kx::show slp MCLK
show "drop J1 on row 7" [kx::drop ccp 7 5 component J1]
show "Pin Number 8" [kx::edit ccp 7 9 8]
show "J1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
show undo [undo]
kx::answer dialog CKXFindReplaceDlg ok find FPGA
show "Find (menu) FPGA in the Cell column" [kx::menu 57636]
show "double-click the Cell column's border: it fits its rows" [kx::click ccp 1 5 border]
say "With the host's power pins shown, a signal's grid lists the package pins tied to it (read-only)"
kx::powerpins on
kx::show slp VCC3V3
foreach line [lrange [split [kx::window ccp] "\n"] 4 7] { puts "   $line" }
kx::powerpins off

say "Find a pin in U1's pin grid: a bit of a closed bus is found and its bus opens; a name no pin has is said"
kx::show clp U1
selectWindow CCP
kx::answer dialog CKXFindReplaceDlg ok find {DQ<3>}
show "Find (menu) DQ<3>" [kx::menu 57636]
kx::answer dialog CKXFindReplaceDlg ok find NOSUCHPIN
show "Find (menu) NOSUCHPIN" [kx::menu 57636]

say "Connect U1's pins from the Tcl prompt: by name, by naming rule and by bus range; each is one undo step"
kx::show clp U1
proc pinNet {pin} { lsearch -all -inline [split [kx::netlist] "\n"] "U1 $pin *" }
show "addConnection NEWSIG to PGOOD (pin PGOOD, number C10)" [addConnection pin NEWSIG PGOOD:C10]
show "PGOOD" [pinNet PGOOD]
# RST_N's net RESET_N has a pull-up: the editor asks whether it is kept for the new signal.
kx::answer dialog CKXRetainAssocCompDlg ok
show "addConnection =PREFIXPINNAME(U1_) to RST_N" [addConnection pin =PREFIXPINNAME(U1_) RST_N:C9]
show "RST_N" [pinNet RST_N]
show "addConnection XB<12..0> to the bus pin A<12..0>" [addConnection pin {XB<12..0>} {A<12..0>}]
show "A<12>" [pinNet {A<12>}]
show "a name that is no signal name" [addConnection pin {B@D} PGOOD:C10]
show "messages shown" [kx::messages]
say "Swap the signals of DQ<3> and DQ<4> (one swap group of the FPGA), and delete a connection"
expandPins pin on
show "swapSignal DQ<3> DQ<4>" [swapSignal pin {DQ<3>} {DQ<4>}]
show "DQ<3>" [pinNet {DQ<3>}]
show "deleteConnection MCLK" [deleteConnection pin MCLK:B14]
show "MCLK" [pinNet MCLK]
say "Give pin A of RN1A the pin number 2 in the logical view, then undo everything"
kx::show clp RN1A
kx::word selectObject pin A
show "assignPinNumber 2" [assignPinNumber pin 2]
show "RN1A.A PN" [kx::prop demo.board:sch@RN1A.A PN]
say "The pane's Assign Pin Number menu: item 35547 is the pin's third number, More... (35550) opens the dialog"
kx::word selectObject pin A
selectWindow ccp
show "menu 35547" [kx::menu 35547]
show "RN1A.A PN" [kx::prop demo.board:sch@RN1A.A PN]
kx::answer dialog CKXAssignPinDialog ok pin 4
show "menu 35550 (More...)" [kx::menu 35550]
show "RN1A.A PN" [kx::prop demo.board:sch@RN1A.A PN]
kx::answer dialog CKXAssignPinDialog ok pin 99
show "menu 35550 with a number the dialog does not offer (KXTABLE-198)" [kx::menu 35550]
show "menu 35549 (no fifth number)" [kx::menu 35549]
undo
undo
foreach step {1 2 3 4 5 6} { undo }
show "RN1A.A PN after undo" [kx::prop demo.board:sch@RN1A.A PN]
show "PGOOD after undo" [pinNet PGOOD]
show "A<12> after undo" [pinNet {A<12>}]

say "Type into U1's Signal cells: a name connects the pin, an empty text disconnects it, a refused name changes nothing"
kx::show clp U1
# The row of a pin and the column of a caption, as kx::window shows them.
proc cellOf {caption pin} {
    set columns {}; set col 0; set row 0
    foreach line [split [kx::window ccp] "\n"] {
        if {[regexp {columns (.*)$} $line -> columns]} continue
        if {![regexp {^    (\d+): (.*)$} $line -> r cells]} continue
        set texts [split [string map [list " | " \x01] $cells] \x01]
        set at [lsearch -exact $texts $caption]
        if {$r == 2 && $at >= 0} { set col [lindex $columns $at] }
        if {[lsearch -exact $texts $pin] >= 0} { set row $r }
    }
    list $row $col
}
show "type TYPED into PGOOD" [kx::edit ccp {*}[cellOf Signal PGOOD] TYPED]
show "PGOOD" [pinNet PGOOD]
# MCLK carries a Series termination: the editor asks whether it stays with the moved pin.
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "type DQ\[5\] into MCLK (brackets follow the design's style)" [kx::edit ccp {*}[cellOf Signal MCLK] {DQ[5]}]
show "MCLK" [pinNet MCLK]
show "clear RST_N" [kx::edit ccp {*}[cellOf Signal RST_N] {}]
show "RST_N" [pinNet RST_N]
show "type a bad name" [kx::edit ccp {*}[cellOf Signal PGOOD] {B@D}]
show "messages shown" [kx::messages]
say "Edit MCLK's Signal cell (F2): the keys are its spin control's, Up and Down step the bit number of DQ<5>"
kx::select ccp {*}[cellOf Signal MCLK]
kx::key ccp F2
show "Up, Up, Down: the cell stays current" [list [kx::key ccp Up] [kx::key ccp Up] [kx::key ccp Down]]
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "Enter connects" [kx::key ccp Enter]
show "MCLK" [pinNet MCLK]
show "undo" [undo]
show "MCLK after undo" [pinNet MCLK]
say "With the host's square brackets the same keys step the design's DQ<5>: Enter connects DQ<6>"
kx::brackets square
kx::select ccp {*}[cellOf Signal MCLK]
kx::key ccp F2
kx::key ccp Up
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "Enter connects" [kx::key ccp Enter]
show "MCLK" [pinNet MCLK]
show "undo" [undo]
kx::brackets angle
say "Select the Signal cells of CLK to RST_N: the status text counts the selected pins (the pair CLK its two legs)"
show "select CLK .. RST_N" [kx::select ccp {*}[cellOf Signal CLK] {*}[cellOf Signal RST_N]]
say "Copy two Signal cells of U1 and paste them onto the two pins below: one undoable paste"
kx::show clp U1
kx::select ccp {*}[cellOf Signal MCLK] {*}[cellOf Signal PGOOD]
show "Ctrl+C" [kx::key ccp Ctrl+C]
kx::select ccp {*}[cellOf Signal PGOOD] {*}[cellOf Signal RST_N]
show "Ctrl+V" [kx::key ccp Ctrl+V]
show "PGOOD" [pinNet PGOOD]
show "RST_N" [pinNet RST_N]
show "undo the paste" [undo]
show "PGOOD after undo" [pinNet PGOOD]
say "Connect PGOOD to one bit of a wider bus: the bits dialog picks bit 5 (a journal keeps the pick as ChooseVectorBits)"
kx::answer dialog CKXGetVectorBits ok lsb 5 msb 5
show "addConnection pin {W<15..0>} PGOOD" [addConnection pin {W<15..0>} PGOOD]
show "PGOOD" [pinNet PGOOD]
show "undo" [undo]


say "Open a leg of U1's clock pair: the pair's row shows what its legs are on until the leg is back"
proc pairSignal {} { regexp {\| CLK \| [^|]* \| [^|]* \| ([^|]*) \|} [kx::window ccp] -> text; string trim $text }
expandPins pin on
show "CLK's signal" [pairSignal]
show "clear CLK_P" [kx::edit ccp {*}[cellOf Signal CLK_P] {}]
show "CLK's signal" [pairSignal]
show "undo" [undo]
show "CLK's signal after undo" [pairSignal]
show "type MCLK, into CLK's row: CLK_P on MCLK, CLK_N open" [kx::edit ccp {*}[cellOf Signal CLK] {MCLK,}]
show "CLK's signal" [pairSignal]
show "its legs" [lsearch -all -inline [split [kx::netlist] "\n"] "U1 CLK_*"]
show "undo" [undo]
expandPins pin off

say "Drop the signal MCLK on PGOOD's row, then rename PGOOD's and MCLK's connections in one step"
show "drop MCLK" [kx::drop ccp {*}[cellOf Signal PGOOD] signal MCLK]
show "PGOOD" [pinNet PGOOD]
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "renameConnection" [renameConnection pin [list U1 MCLK B14 CLK_DDR] [list U1 PGOOD C10 CLK_OUT]]
show "PGOOD, MCLK" "[pinNet PGOOD], [pinNet MCLK]"
show "CLK_OUT's physical name, taken from PGOOD's old net MCLK" [kx::prop demo.board:sch@:CLK_OUT PHYS_NET_NAME]
foreach step {1 2 3 4 5} { undo }
show "PGOOD, MCLK, RST_N after undo" "[pinNet PGOOD], [pinNet MCLK], [pinNet RST_N]"

say "Move MCLK to a new signal and drop its termination; give two open pins one new signal before a pull-up"
proc rowText {pin} {
    foreach line [split [kx::window ccp] "\n"] { if {[string match "*| $pin |*" $line]} { return [string trim $line] } }
}
show "MCLK's row" [rowText MCLK]
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0
show "type NEWCLK into MCLK, answering that its termination goes" [kx::edit ccp {*}[cellOf Signal MCLK] NEWCLK]
show "MCLK's row" [rowText MCLK]
show undo [undo]
show "MCLK's row after undo" [rowText MCLK]

say "Move the clock pair to another pair net, dropping its terminations: the one on its leg pin CLK_P goes too"
setViewOption pin dp_off
selectObject pin CLK_P
show "terminate the leg CLK_P" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
show "CLK_P's termination" [lindex [split [string map {" | " \x01} [rowText CLK_P]] \x01] 5]
setViewOption pin dp_on
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0
kx::answer dialog CKXDontAskAgainYesNoDlg ok
show "move CLK to FCLK (2: the question was asked)" [addConnection pin {FCLK (Differential Pair)} CLK]
show "its legs follow onto FCLK's leg nets" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 CLK_[PN] }]
setViewOption pin dp_off
show "CLK_P's termination" [lindex [split [string map {" | " \x01} [rowText CLK_P]] \x01] 5]
setViewOption pin dp_on
show "undo the move and the leg's termination" "[undo] [undo]"
kx::edit ccp {*}[cellOf Signal RST_N] {}
kx::edit ccp {*}[cellOf Signal PGOOD] {}
selectObject pin [list U1 RST_N C9] [list U1 PGOOD C10]
kx::answer dialog CKXOpenPinConnectionDlg ok common 1
kx::answer dialog CKXPupdDlg cancel
show "Add Pull-up/Pull-down on the open RST_N and PGOOD (one common signal)" [kx::menu 35509]
show "RST_N, PGOOD" "[pinNet RST_N], [pinNet PGOOD]"
foreach step {1 2 3} { undo }
show "RST_N, PGOOD after undo" "[pinNet RST_N], [pinNet PGOOD]"

say "Move RST_N off RESET_N and leave RESET_N's pull-up behind: the journal carries that answer to its replay"
kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 0
show "type NEWRST into RST_N" [kx::edit ccp {*}[cellOf Signal RST_N] NEWRST]
show "RST_N" [pinNet RST_N]
show undo [undo]

say "The design comment (quotes and brackets stay text)"
show "add" [designComment add {Board rev "B" [draft]}]
show "add again" [designComment add {another}]
show "edit" [designComment edit {Board rev "C"}]
show "messages shown" [kx::messages]

say "A signal added through automation, undone and redone"
proc hasNet {name} { expr {[catch {kx::prop demo.board:sch@:$name NAME} msg] == 0 || ![string match "no object*" $msg]} }
show "AddSignal" [kx::call AddSignal DEMO_SIG {} {}]
show "DEMO_SIG in the design" [hasNet DEMO_SIG]
show undo [undo]
show "DEMO_SIG in the design" [hasNet DEMO_SIG]
show redo [redo]
show "DEMO_SIG in the design" [hasNet DEMO_SIG]
show "undo by automation" [kx::call Undo]
show "DEMO_SIG in the design" [hasNet DEMO_SIG]

say "Save: in editing mode a save is a Save As (cancelled here: the example library stays as it is)"
kx::answer dialog CKXCreateBlockDlg cancel
show saveDesign [saveDesign]
show "saveDesign with an argument" [saveDesign now]
kx::answer dialog CKXCreateBlockDlg ok library demo block board_demo
show "saveDesign, its Save As answered (a new block board_demo in the demo's copy of the library)" [saveDesign]
show "messages shown" [kx::messages]

say "Switch to the physical view from the menu; the host is asked first"
kx::answer question MSG_HOST_ASK_SAVE no
show "menu Physical View" [kx::menu 35563]
show echoes [kx::echoes]
show "physicalView again" [physicalView -badword]
show "messages shown" [kx::messages]

say "Open the physical view and filter a block out of it"
show opened [kx::open demo.board:sch 4]
show "filterBlock -exclude PWR1" [filterBlock -exclude PWR1]
show "filterBlock -exclude U1" [filterBlock -exclude U1]
show "filterBlock -include all" [filterBlock -include [list all]]
if {!$hadFilterFile} { file delete -force $filterFile }

say "Double-click a part in the physical view: the pane shows its package pins"
kx::show clp RN1A
foreach line [split [kx::window ccp] "\n"] { puts "   $line" }
say "Give pin A of RN1A the package pin 3: its section moves, pin B follows to pin 6"
show "selectObject" [kx::word selectObject pin RN1:A:1]
show "assignPinNumber 3" [assignPinNumber pin 3]
show "PN of RN1A.A" [kx::prop demo.board:sch@RN1A.A PN]
show "PN of RN1A.B" [kx::prop demo.board:sch@RN1A.B PN]
foreach line [lrange [split [kx::window ccp] "\n"] 4 end] { puts "   $line" }
show "undo" [undo]
show "PN of RN1A.A after undo" [kx::prop demo.board:sch@RN1A.A PN]
say "A selection by a key no row shows leaves no pin current: the next pin command refuses"
show "selectObject RN1:NOPE:99" [kx::word selectObject pin RN1:NOPE:99]
show "assignPinNumber 3 (no pin)" [assignPinNumber pin 3]
show "PN of RN1A.A unchanged" [kx::prop demo.board:sch@RN1A.A PN]
kx::messages

say "The part grid under the user's hands: select a pin, filter by typing, give it a model, delete it"
show "type A* into the Pin Name filter" [kx::edit ccp 4 3 A*]
show "clear the filter" [kx::edit ccp 4 3 *]
show "select pin 2" [kx::select ccp 7 3]
show "assignModel" [assignModel pin RES_MODEL]
show "Delete removes it" [kx::menu 35264]
show "model of RN1B.A" [expr {[catch {kx::prop demo.board:sch@RN1B.A PIN_SIGNAL_MODEL} m] ? "none" : $m}]
show "sort by a column the grid lacks" [sort pin Nope]
show "messages shown" [kx::messages]

say "Type a model into the model cell of a physical grid: one edit, undone in one step"
say "(the pack offers two models; row 6 is package pin 1, column 6 its Signal Model)"
show "type RES_FAST into pin 1's model cell" [kx::edit ccp 6 6 RES_FAST]
show "model of RN1A.A" [kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL]
foreach line [lrange [split [kx::window ccp] "\n"] 4 5] { puts "   $line" }
show "undo" [undo]
show "model of RN1A.A after undo" [expr {[catch {kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL} m] ? "none" : $m}]
say "The physical net grid of RST_IN takes a typed model the same way"
kx::show slp RST_IN
foreach line [lrange [split [kx::window ccp] "\n"] 0 5] { puts "   $line" }
show "type RES_FAST into RN1's model cell (row 6)" [kx::edit ccp 6 6 RES_FAST]
show "model of RN1A.A" [kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL]
show "undo" [undo]

say "Close both windows; the edited ones ask whether to save"
kx::answer question KXCOMMON-101 no
show close [kx::close]
kx::answer question KXCOMMON-101 no
show close [kx::close]
show echoes [kx::echoes]

say "Record a journal of an edit, then replay it on a fresh window"
set tmp [expr {[info exists env(TMPDIR)] ? $env(TMPDIR) : "/tmp"}]
set journal [file join $tmp kxdemo_[pid].vbs]
file delete -force $journal
proc callLines {path} {
    set f [open $path]
    set lines [lsearch -all -inline [split [read $f] "\n"] call*]
    close $f
    return $lines
}
kx::journal $journal
show opened [kx::open demo.board:sch 1]
kx::answer question KXCOMMON-101 no
show "designComment add" [designComment add {Reviewed for layout}]
show "designComment delete" [designComment delete]
show "designComment add" [designComment add {Ready for layout}]
kx::journal
kx::answer question KXCOMMON-101 no
show close [kx::close]
foreach line [callLines $journal] { show journal $line }
show replayed [kx::replay $journal]
show "messages shown" [kx::messages]
show "comment after replay" [designComment add {one more}]
show "messages shown" [kx::messages]
file delete -force $journal
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "The user's hands on the pin grid: select a cell, type into the filter row, press keys, click"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
show "active grid" [kx::grid ccp]
foreach line [lrange [split [kx::window ccp] "\n"] 0 4] { puts "   $line" }
show "select 6 4" [kx::select ccp 6 4]
show "key Down" [kx::key ccp Down]
show "type OUT into the Pin Name filter" [kx::edit ccp 4 4 OUT]
show "rows the filter leaves" [expr {[llength [split [kx::window ccp] "\n"]] - 4}]
show "type * to clear the filter" [kx::edit ccp 4 4 *]
show "type into a Pin Name cell" [kx::edit ccp 6 4 RENAMED]
show "right-click a pin row" [kx::click ccp 6 7 right]
show "drop a signal on a pin row" [kx::drop ccp 6 7 signal SYSCLK]
show "several components side by side" [kx::show clp U1 U2]
show "grid 2" [kx::grid ccp 2]
show "active grid" [kx::grid ccp]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "The pin grid's view options and what the host application tells it"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
proc pinRows {} { llength [lsearch -all [split [kx::window ccp] "\n"] "    *"] }
show "rows with buses and pairs folded" [pinRows]
show "setViewOption pin bus_off" [setViewOption pin bus_off]
show "rows with a row per bus bit" [pinRows]
show "setViewOption pin bus_on dp_off" [setViewOption pin bus_on dp_off]
show "rows with the pair legs as pins" [pinRows]
kx::option show_dp_pins_ccp 1
show "rows after the host's pair option" [pinRows]
show "kx::setprop (the host's property editor)" [kx::setprop demo.board:sch@U1.PGOOD SLEW fast]
show "the property" [kx::prop demo.board:sch@U1.PGOOD SLEW]
proc pgoodRow {} { lsearch -inline [split [kx::window ccp] "\n"] "* | PGOOD | *" }
kx::setprop demo.board:sch@U1.PGOOD PN C11
show "PGOOD's row after the host gave it pin number C11" [pgoodRow]
kx::setprop demo.board:sch@U1.PGOOD PN C10
show "copy pin of a pin the grid does not show (refused, nothing copied)" [list [copy pin NO_SUCH_PIN Signal] [kx::messages]]
show "kx::importcsv (windows told)" [kx::importcsv]
show "trackInSignalList from the filter row" [list [kx::select ccp 4 4] [trackInSignalList pin] [kx::messages]]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Views: the physical view lists the parts of the whole hierarchy; the block filter leaves blocks out"
show opened [kx::open demo.board:sch 1]
show "physical view" [physicalView -nosave]
show "parts (U10 is inside PWR1)" [join [split [kx::window clp] "\n"] " "]
show "leave PWR1 out" [filterBlock -exclude PWR1]
show "parts" [join [split [kx::window clp] "\n"] " "]
show "take every block back" [filterBlock -include all]
show "logical view" [logicalView -nosave]
kx::select clp PWR1
show "descend into PWR1" [kx::call Descend]
show "components of the block" [join [split [kx::window clp] "\n"] " "]
show "ascend" [ascend]

say "A component's interface written to a file and read back (as a sub-tool of the host)"
set ::env(RMX_SUBTOOL_ID) 7
kx::tab 1
show "export R1" [exportInterface -inst R1 -file r1.if]
set f [open r1.if]; set text [read $f]; close $f
foreach line [split [string trim $text] "\n"] { puts "   $line" }
set f [open r1.if w]; puts -nonewline $f [string map {"pin B inout EN" "pin B inout NEW_EN"} $text]; close $f
show "import it with R1.B on a new net" [importInterface -inst R1 -file r1.if]
show "R1's connections" [lsearch -all -inline [split [kx::netlist] "\n"] "R1 *"]
show "undo" [undo]
file delete r1.if
unset ::env(RMX_SUBTOOL_ID)
show "messages shown" [kx::messages]
# The block's window and the physical window go; the board's own window closes without saving.
show "close the block's window" [list [kx::tab 3] [kx::close]]
show "close the physical window" [list [kx::tab 2] [kx::close]]
kx::answer question KXCOMMON-101 no
show "close the board's window without saving" [list [kx::tab 1] [kx::close]]

say "Terminations and pull-ups of a component's pins, and their cells"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
proc pinRow {pin} {
    foreach line [split [kx::window ccp] "\n"] {
        if {[string match "*: $pin |*" $line] || [string match "* | $pin |*" $line]} { return [string trim $line] }
    }
    return ""
}
show "PGOOD before" [pinRow PGOOD]
show "RST_N (its net carries a pull-up)" [pinRow RST_N]
selectObject pin PGOOD
show "add a series termination" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
show "add a pull-up to its net" [addPupd pin -type pullup -dcnet VCC3V3 -value 4.7k]
show "PGOOD after" [pinRow PGOOD]
show "a second series termination is refused" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402]
show "messages shown" [kx::messages]
show "assign a signal model" [assignModel pin LVCMOS33 PGOOD]
show "its model" [kx::prop demo.board:sch@U1.PGOOD PIN_SIGNAL_MODEL]
show "delete the termination" [deleteTermination pin PGOOD]
show "undo" [undo]
show "PGOOD after undo" [pinRow PGOOD]
show "copy PGOOD's termination" [copy pin PGOOD Termination]
kx::pane SelectTerminationCol RST_N C9
show "paste it onto RST_N" [paste pin]
show "RST_N after the paste" [pinRow RST_N]
kx::pane SelectTerminationCol {TX<3..0>}
show "paste it onto the pair TX: one termination on each of its lanes" [paste pin]
show "TX after the paste" [pinRow {TX<3..0>}]
show "each lane's termination takes a new delay" [editTermination pin -delay 1ns]
show "edit its pull-up" [editPupd pin RP1 -dcnets VCC3V3 -keyprop {TOL=1%}]
show "copy PGOOD's pull-up (as Ctrl+C on its Pull Up/Down cell echoes it)" [copy pin [list U1 PGOOD C10] pupd]
kx::pane SelectPUPDCol MCLK B14
show "paste it onto MCLK's signal, one undo step" [paste pin]
show "MCLK after the paste" [pinRow MCLK]
show "expand the buses" [expandPins pin on]
kx::pane SelectTerminationCol {A<12..0>}
show "terminate the whole address bus" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 33]
show "its bit rows show it" [list [pinRow {A<12>}] [pinRow {A<0>}]]
say "A copied pull-up pasted: Ctrl+C on RST_N's Pull Up/Down cell (the board's RP1, which names no DC net), Ctrl+V on two bit rows"
proc pupdCell {pin} { return [list [lindex [split [pinRow $pin] :] 0] 9] }
show "select RST_N's Pull Up/Down cell" [kx::select ccp {*}[pupdCell RST_N]]
show "Ctrl+C" [kx::key ccp Ctrl+C]
show "select DQ<7> and DQ<6>" [kx::select ccp {*}[pupdCell {DQ<7>}] {*}[pupdCell {DQ<6>}]]
show "Ctrl+V: the same pull-up on both signals, one undo step" [kx::key ccp Ctrl+V]
show "their rows" [list [pinRow {DQ<7>}] [pinRow {DQ<6>}]]
show "undo takes both back" [list [undo] [pinRow {DQ<7>}]]
kx::show slp PG
show "select U1's pin in the signal grid of PG" [selectObject pin C10:U1]
kx::pane SelectTerminationCol U1 C10
show "a new delay there" [kx::pane ChangeDelay 2ns]
say "On the signal grid, InitTermination and the add it prepares are one edit, undone in one step"
kx::pane SelectTerminationCol R2 2
show "InitTermination Shunt on R2's pin" [kx::pane InitTermination Shunt]
show "AddTermination" [kx::pane AddTermination]
show "R2's row" [lsearch -inline [split [kx::window ccp] "\n"] "*| R2 |*"]
show "undo takes set-up and add back" [undo]
show "R2's row after undo" [lsearch -inline [split [kx::window ccp] "\n"] "*| R2 |*"]
say "Two signal grids of one pane: each keeps its own InitTermination set-up for its own add"
kx::pane SelectTerminationCol R2 2
kx::messages
kx::pane InitTermination Shunt
show "InitTermination Shunt on PG's grid (R2): held" [expr {[kx::messages] eq ""}]
kx::show slp MCLK
kx::pane SelectTerminationCol U2 30
show "AddTermination on MCLK's grid, which prepared nothing: refused" [kx::pane AddTermination]
show "messages" [kx::messages]
kx::pane InitTermination Series
show "InitTermination Series on MCLK's grid (U2): held" [expr {[kx::messages] eq ""}]
show "AddTermination there" [kx::pane AddTermination]
show "U2's row" [lsearch -inline [split [kx::window ccp] "\n"] "*| U2 |*"]
kx::show slp PG
show "back on PG's grid, AddTermination sends PG's own set-up" [kx::pane AddTermination]
show "R2's row" [lsearch -inline [split [kx::window ccp] "\n"] "*| R2 |*"]
say "Coming back to the pane from the component list: with a signal grid active, the list's selection goes"
kx::select clp U1 U2
show "component list selection" [join [kx::window clp selected] ", "]
selectWindow clp
selectWindow ccp
show "after selectWindow ccp" "\"[kx::window clp selected]\""
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "A pull-up by automation on an open pin: the set-up and the add are one edit"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
selectObject pin PGOOD
show "clear PGOOD's signal" [deleteConnection pin PGOOD]
kx::pane SelectPUPDCol PGOOD C10
kx::pane InitPUPD {pullup VCC3V3}
show "PGOOD, connected by the set-up" [pinRow PGOOD]
show "add the pull-up" [kx::pane AddPUPD]
show "PGOOD after" [pinRow PGOOD]
show "one undo takes both back" [undo]
show "PGOOD after undo" [pinRow PGOOD]
kx::pane InitPUPD {pullup VCC3V3}
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "another edit comes first" [addConnection pin NEWCLK MCLK]
show "PGOOD is open again: the set-up was thrown away" [pinRow PGOOD]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "A matrix view: signals against components; a pin number typed into a cell connects that pin"
show opened [kx::open demo.board:sch 1]
show "open a new matrix view" [openMatrixView pin demo]
show "add the connector and the SDRAM" [list [matrixAdd pin component J1] [matrixAdd pin component U2]]
show "add MCLK and two data bits" [list [matrixAdd pin signal MCLK] [matrixAdd pin signal {DQ<1..0>}]]
foreach line [lrange [split [kx::window ccp] "\n"] 0 8] { puts "   $line" }
# Row 5 is MCLK; the connector's group starts at column 4 (Pin Name), column 5 is its Pin Number.
kx::echoes
show "type J1's pin number 8 into MCLK's row" [kx::edit ccp 5 5 8]
show "J1 on MCLK" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
show "MCLK's row" [lindex [split [kx::window ccp] "\n"] 5]
show echoes [kx::echoes]
show undo [undo]
show "J1 on MCLK after undo" [lsearch -all -inline [split [kx::netlist] "\n"] "J1 *MCLK"]
show "select MCLK's signal cell" [kx::select ccp 5 1]
show "Track in Signal List from the matrix" [trackInSignalList pin]
kx::answer menu * 2029
show "right-click the caption row: hide Pin Type" [kx::click ccp 1 1 right]
show "the caption row now" [lsearch -inline [split [kx::window ccp] "\n"] "*1: Signal*"]
show "add U1 and EN" [list [matrixAdd pin component U1] [matrixAdd pin signal EN]]
show "select U1's termination cell on MCLK" [kx::pane MatrixSelect MCLK U1 TERMINATION MCLK]
show "a new delay for that termination" [editTermination pin -id RT2 -delay 2ns]
show "select EN's Pull Up/Down cell" [kx::pane MatrixSelect EN {} PUPD {}]
show "a tolerance for its pull-down" [editPupd pin RP2 -keyprop {TOL=1%}]
show "undo both" [list [undo] [undo]]
show "copy EN's pull-down (Ctrl+C on its Pull Up/Down cell)" [list [kx::pane MatrixSelect EN {} PUPD {}] [kx::key ccp Ctrl+C]]
show "paste it onto MCLK's Pull Up/Down cell" [list [kx::pane MatrixSelect MCLK {} PUPD {}] [paste pin]]
show "MCLK's row" [lindex [split [kx::window ccp] "\n"] 5]
show "undo the paste" [undo]
show "copy U1's termination on MCLK" [list [kx::pane MatrixSelect MCLK U1 TERMINATION MCLK] [kx::key ccp Ctrl+C]]
show "paste it onto the SDRAM's CLK" [list [kx::pane MatrixSelect MCLK U2 TERMINATION CLK] [paste pin]]
show "MCLK's row" [lindex [split [kx::window ccp] "\n"] 5]
show "undo the paste" [undo]
kx::answer menu * 2029
show "right-click the caption row: show Pin Type again" [kx::click ccp 1 1 right]
show "remove the shown view (Remove Matrix View)" [kx::menu 35678]
show "the view's window is closed" [lindex [split [kx::window ccp] "\n"] 0]

say "Several component groups at once: a range over two groups takes one typed text, a copy takes a table"
show "a view of the FPGA and the SDRAM with two address bits" \
    [list [openMatrixView pin groups] [matrixAdd pin component U1] [matrixAdd pin component U2] \
         [matrixAdd pin signal {ADDR<1..0>}]]
# Rows 5 and 6 are ADDR<1> and ADDR<0>; U1's group starts at column 4 (Pin Name), U2's at column 8.
show "select ADDR<0>'s cells from U1's Pin Name to U2's" [kx::select ccp 6 4 6 8]
show "empty the cell: both pins come off ADDR<0>, one undo step" [kx::edit ccp 6 4 {}]
show "on ADDR<0>" [lsearch -all -inline [split [kx::netlist] "\n"] "*ADDR<0>"]
show "select the range again, type A<0> once: both pins back" [list [kx::select ccp 6 4 6 8] [kx::edit ccp 6 4 A<0>]]
show "on ADDR<0>" [lsearch -all -inline [split [kx::netlist] "\n"] "*ADDR<0>"]
show "ADDR<0>'s row" [lindex [split [kx::window ccp] "\n"] 6]
show "undo both edits" [list [undo] [undo]]
show "on ADDR<0>" [lsearch -all -inline [split [kx::netlist] "\n"] "*ADDR<0>"]
set journal [file join $tmp kxdemo_copy_[pid].vbs]
file delete -force $journal
show "select U1's Pin Name and Pin Number on both rows" [kx::select ccp 5 4 6 5]
kx::journal $journal
show "copy the table (Ctrl+C)" [kx::key ccp Ctrl+C]
kx::journal
foreach line [callLines $journal] { show "journal: each copied row selected again, then Copy" $line }
file delete -force $journal
show "remove the view" [kx::menu 35678]

say "Matrix views defined from the list's menus: named with their components and signals, edited, saved as another"
kx::answer dialog CKXMatrixViewDlg ok name clocks components {J1 U2} signals {MCLK DQ<1..0>}
show "Create Matrix View (35676)" [kx::menu 35676]
show "MCLK's row" [string trim [lsearch -inline [split [kx::window ccp] "\n"] "*: MCLK |*"]]
kx::answer dialog CKXMatrixViewDlg ok name clocks2 signals {MCLK}
show "Edit Matrix View (35706): renamed, one signal left" [kx::menu 35706]
show "the title now" [lindex [split [kx::window ccp] "\n"] 0]
kx::answer dialog CKXMatrixSaveAsDlg ok name clocks3
show "Save As (35677)" [kx::menu 35677]
kx::messages
kx::answer dialog CKXMatrixViewDlg ok name clocks3 components NOPE
show "a component that is not there is refused" [list [kx::menu 35706] [kx::messages]]
show "open a view under a new name: an empty view, stored" [openMatrixView pin scratch]
show "undo takes the new view away again" [undo]
show "the pane after the undo" [lindex [split [kx::window ccp] "\n"] 0]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "The edit contract: undo outlives the grid it was made in, an unsaved close leaves the design as saved"
# Every window still open goes first, without saving: the board is then shown by one window only.
while {![catch {kx::tab 1}]} {
    kx::answer question KXCOMMON-101 no
    kx::close
}
show opened [kx::open demo.board:sch 1]
kx::show slp MCLK
show "select a connection of MCLK" [kx::select ccp 6 12]
show "Delete it" [kx::key ccp Delete]
kx::show slp DQ
show "undo after the pane showed another signal" [undo]
show "undo with nothing left to undo" [undo]
show "add signal ZZNET" [kx::call AddSignal ZZNET {} {}]
kx::answer question KXCOMMON-101 no
show "close without saving" [kx::close]
show opened [kx::open demo.board:sch 1]
show "ZZNET after the reopen" [expr {[string first ZZNET [kx::window slp]] >= 0 ? "still there" : "gone"}]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Drop from the host's browsers on the lists: a component, a part with its properties"
show opened [kx::open demo.board:sch 1]
show "drop demo.RES:sym on the component list" [kx::drop clp component demo.RES:sym]
show "drop a part description" [kx::drop clp part {(("demo.RES:sym" "R90") ("VALUE" "10k" x "1") ("TOL" "1%" x "0"))}]
show "R90's VALUE" [kx::prop demo.board:sch@R90 VALUE]
show "a browser signal on the signal list changes nothing" [kx::drop slp signal MCLK]
show "undo the part" [undo]
show "R90 after undo" [expr {[string first R90 [kx::window clp]] >= 0 ? "still there" : "gone"}]

say "Follow a pin's signal into the signal list; the host renames a component and its pin comments go along"
kx::show clp U1
show "select PGOOD's signal cell" [kx::select ccp {*}[cellOf Signal PGOOD]]
show "trackInSignalList" [trackInSignalList pin]
show "comment on PGOOD" [addComment pin {check the level} PGOOD]
show "the host renamed U1 to U1X: comments move (one undo step)" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U1X 1]
show "undo the move" [undo]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Pins named by key find their rows directly, also after the grid was filled again"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
show "addConnection pin KEYSIG PGOOD:C10" [addConnection pin KEYSIG PGOOD:C10]
kx::show clp U2
kx::show clp U1
kx::answer dialog CKXRetainAssocCompDlg ok
show "addConnection pin KEYSIG2 MCLK:B14 after U1 was shown again" [addConnection pin KEYSIG2 MCLK:B14]
show "a key no row shows connects nothing" [addConnection pin KEYSIG3 NOSUCHPIN:X]
show "undo" [undo]
show "undo" [undo]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "The host's requests to the component list: co-design marking, a power group, the clipboard viewer's paste"
show opened [kx::open demo.board:sch 1]
show "mark U2 as co-design" [kx::notify INT_MSG_MARK_AS_CODESIGN U2 1]
show "U2's CODESIGN" [kx::prop demo.board:sch@U2 CODESIGN]
kx::select clp U2
kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3_MEM
show "Assign Power: U2's VDD to P3V3_MEM" [kx::notify INT_MSG_ASSIGN_POWER]
show "undo the power group" [undo]
selectWindow clp
kx::messages
show "paste the viewer's newest item (a signal name copied above: no component)" [kx::clipview 1]
show "messages" [kx::messages]
show "Create Block needs the host's block creation" [kx::menu 35510]
show "messages" [kx::messages]
show "highlight U1's MCLK: its component is shown with the pin's row current" [kx::highlight demo.board:sch@U1.MCLK]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Physical view: a part given another reference designator is shown under it"
show opened [kx::open demo.board:sch 4]
kx::show clp R1
show "EditRefDes R1 R101" [kx::call EditRefDes R1 R101]
show "the part grid shows R101" [expr {[string first R101 [kx::window ccp]] >= 0}]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Row numbers in the physical view: column 0 fits the largest row number after each load"
show "show_row_numbers on" [kx::option show_row_numbers 1]
show opened [kx::open demo.board:sch 4]
kx::show slp RST_IN
show "net grid: widths from column 0" [kx::widths ccp]
kx::show clp RN1A
show "part grid: widths from column 0" [kx::widths ccp]
say "Turning the option off and on again changes the open physical window at once"
show "show_row_numbers off" [kx::option show_row_numbers 0]
show "part grid: widths from column 0" [kx::widths ccp]
show "show_row_numbers on" [kx::option show_row_numbers 1]
show "part grid: widths from column 0" [kx::widths ccp]
show close [kx::close]
show "show_row_numbers off" [kx::option show_row_numbers 0]

say "The pane remembers what it showed: its beam names the current object, its lists show them again"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
kx::show clp R1
kx::show slp MCLK
kx::show slp PG
foreach line [split [kx::objects] "\n"] { puts "   $line" }
show "drop the component list" [kx::objects drop component]
show "choose both rows: side by side" [kx::objects choose 1 2]
show "beam" [lindex [split [kx::objects] "\n"] 0]
show "grids shown" [llength [lsearch -all [split [kx::window ccp] "\n"] "  grid *"]]

say "The grid with the keyboard focus is the one the pane's commands go to"
show "active grid" [kx::grid ccp]
show "focus into grid 2" [kx::focus ccp 2]
show "focus" [kx::focus]
show "active grid" [kx::grid ccp]
show "back to the component list" [kx::focus clp]
show "active grid stays" [kx::grid ccp]
kx::show clp U1
show "the list that asked keeps the focus" [kx::focus]
show "another window brings R1 back by its id" [kx::objects activate R1]
show "beam" [lindex [split [kx::objects] "\n"] 0]

say "The instance connectivity dialog wires a placed instance's pins in one undo step"
kx::answer dialog CKXInstConnDlg ok pins RST_N fx 35280
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins PGOOD signal =PREFIXPINNAME(X_)
kx::answer dialog CKXInstConnDlg ok
show "kx::instconn U1 4" [kx::instconn U1 4]
show "U1's RST_N and PGOOD" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 (RST_N|PGOOD) }]
show "undo takes both back" [undo]
show "U1's RST_N and PGOOD" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 (RST_N|PGOOD) }]
kx::answer dialog CKXInstConnDlg ok pins RST_N fx 35255
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg cancel
show "cancelled: nothing changes" [kx::instconn U1]
say "A net made in the dialog is offered in the Signal cell list of its other pins"
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins PGOOD signal NEWPG
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins RST_N cell NEWPG
kx::answer dialog CKXInstConnDlg ok
show "kx::instconn U1" [kx::instconn U1]
show "U1's RST_N and PGOOD" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 (RST_N|PGOOD) }]
show "the object window remembers the new net with its row" [lsearch -inline [split [kx::objects] "\n"] "signal NEWPG *"]
show "undo" [undo]
show "the net is gone, and its row with it" [lsearch -inline [split [kx::objects] "\n"] "signal NEWPG *"]
say "Ctrl+C on a Signal cell of the pane, Ctrl+V on pins in the dialog: one edit of the dialog's step"
kx::show clp U1
show "copy MCLK's signal" [copy pin [list U1 MCLK B14] Signal]
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins {RST_N PGOOD} paste 1
kx::answer dialog CKXInstConnDlg ok
show "kx::instconn U1" [kx::instconn U1]
show "U1's RST_N and PGOOD" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 (RST_N|PGOOD) }]
show "undo takes the paste back" [undo]
show "U1's RST_N and PGOOD" [lsearch -all -inline -regexp [split [kx::netlist] "\n"] {^U1 (RST_N|PGOOD) }]

say "The pane's title bar and Attach Signal row, and what a menu's update handler says"
kx::show clp U1
show "title bar and row" [kx::ccpbar]
show "a pin's Signal cell current" [kx::select ccp 6 7]
show "the row is enabled" [lindex [split [kx::ccpbar] "\n"] 2]
kx::answer menu fx 35275
show "the Fx button's Prefix Pin Name" [kx::ccpbar fx]
show "host command 35537 on a pin grid" [kx::menustate 35537]
show "what an accessibility client counts" [lindex [split [kx::access ccp] "\n"] 1]

say "A pair name typed into the clock pair's Signal cell connects the pair, in one undo step"
kx::show clp U1
kx::answer dialog CKXDontAskAgainYesNoDlg ok
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
show "CLK <- FCLK (Differential Pair)" [kx::edit ccp {*}[cellOf Signal CLK] {FCLK (Differential Pair)}]
show "CLK's row" [lsearch -inline [split [kx::window ccp] "\n"] "* | CLK | *"]
show "undo" [undo]

say "Assign Pin Number: a pin name of the instance chosen in the dialog, then one of its numbers"
kx::show clp RN1A
show "select pin A" [selectObject pin A]
kx::answer dialog CKXAssignPinDialog ok name A pin 3 summary 0
show "More... (35550)" [kx::menu 35550]
show "RN1A.A PN" [kx::prop demo.board:sch@RN1A.A PN]
show "undo" [undo]
say "The Termination cell's button opens the termination dialog for its row, in one undo step"
kx::show clp U1
kx::answer dialog CKXTerminationDlg ok type Series
show "button on PGOOD's Termination cell" [kx::click ccp {*}[cellOf Termination PGOOD] button]
show "PGOOD's row" [pgoodRow]
show "undo" [undo]

kx::answer question KXCOMMON-101 no
show close [kx::close]

say "A leg of a differential pair is terminated on the pair's lane: free, it takes one; with the pair terminated, it is refused"
show opened [kx::open demo.board:sch 1]
kx::show slp LVDS_P
show "a key that names no row selects nothing" [selectObject pin {TX_P<3..0>}]
show "so nothing is terminated" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
show "select U1's leg TX_P<3..0>" [selectObject pin C1,C3,C5,C7:U1:3:0]
show "terminate the free leg" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
show "undo" [undo]
kx::show clp U1
kx::pane SelectTerminationCol {TX<3..0>}
show "terminate the pair TX" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
kx::show slp LVDS_P
show "select the leg again" [selectObject pin C1,C3,C5,C7:U1:3:0]
show "its lane has the pair's termination: refused" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22]
show "messages shown" [kx::messages]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "The host's own windows delete and place components through the design window"
show opened [kx::open demo.board:sch 1]
kx::notify INT_MSG_ADD_LOGICAL_PART -text {demo.RES:sym R9}
show "R9 placed" [expr {[lsearch [kx::window clp] R9] >= 0}]
kx::notify INT_MSG_DELETE_INSTANCE -text R9
show "R9 deleted" [expr {[lsearch [kx::window clp] R9] < 0}]
show "undo the delete" [undo]
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Windows made from their class name, as a dialog template makes its custom controls"
show "object window" [kx::createwindow CKXObjectInfoWnd]
show "object beam, through a dialog template" [kx::createwindow -template CKXObjectInfoBeam]
show "a template naming a class nobody registered does not open" \
    [expr {[catch {kx::createwindow -template CKXNoSuchWnd} msg] ? $msg : "opened"}]

say "A user's hands on the pin grid: stepping the Signal cells, Delete on a filter, columns by their captions"
show opened [kx::open demo.board:sch 1]
kx::messages
kx::show clp U1
kx::pane SelectFirstSignalCol
show "next Signal cell (past A<12..0>'s folded bits)" [kx::pane SelectNextSignalCol]
show "its pin's signal in the signal list" "[trackInSignalList pin] [kx::window slp selected]"
show "filter the Signal column" [kx::edit ccp 4 7 PG*]
kx::select ccp 4 7
show "Delete on the filter cell takes the filter off" [kx::key ccp Delete]
show "MCLK shown again" [expr {[string first "| MCLK |" [kx::window ccp]] >= 0}]
show "filterRows by the Comments caption" [filterRows pin -col Comments -filter *]
show "sort by a column the grid lacks" "[sort pin NoSuchColumn] [kx::messages]"
kx::answer question KXCOMMON-101 no
show close [kx::close]

say "Naming rules typed into a Signal cell, and the bits dialog of a connect whose widths differ"
show opened [kx::open demo.board:sch 1]
kx::show clp U1
kx::answer question KXTABLE-140 yes
show "=AUTONAME(PGOOD_N) typed into PGOOD's Signal cell" [kx::edit ccp {*}[cellOf Signal PGOOD] {=AUTONAME(PGOOD_N)}]
show "PGOOD's connection" [pinNet PGOOD]
show "take the address bus off its nets" [deleteConnection pin {A<12..0>}]
kx::answer dialog CKXGetVectorBits ok lsb 0 msb 3 pinLsb 0 pinMsb 3
show "connect A<12..0> to ADDR, the dialog asked for ADDR<3..0> on A<3..0>" [addConnection pin ADDR {A<12..0>}]
show "A<3> and A<4> now" [concat [pinNet {A<3>}] / [pinNet {A<4>}]]
show "undo" [undo]
kx::answer question KXCOMMON-101 no
show close [kx::close]
