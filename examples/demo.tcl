# A walk through the table editor on the example board. Run with `make demo`.
proc say {text} { puts "\n== $text" }
# The block filter of the physical view is kept in a file beside the designs; the demo removes
# the one it makes.
set filterFile [file join [file dirname [info script]] designs physModule.dat]
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

say "Connect U1's pins from the Tcl prompt: by name, by naming rule and by bus range; each is one undo step"
kx::show clp U1
proc pinNet {pin} { lsearch -all -inline [split [kx::netlist] "\n"] "U1 $pin *" }
show "addConnection NEWSIG to PGOOD (pin PGOOD, number C10)" [addConnection pin NEWSIG PGOOD:C10]
show "PGOOD" [pinNet PGOOD]
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
foreach step {1 2 3 4 5 6} { undo }
show "RN1A.A PN after undo" [kx::prop demo.board:sch@RN1A.A PN]
show "PGOOD after undo" [pinNet PGOOD]
show "A<12> after undo" [pinNet {A<12>}]

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

say "The edit contract: undo outlives the grid it was made in, an unsaved close leaves the design as saved"
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
