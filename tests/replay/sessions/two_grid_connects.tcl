# Connections made over the pins of two side-by-side grids, by every road, are each one edit: one undo
# step in the session and one in the replay, undone and redone as one.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp R1 R2
check "pin B of both" [kx::word selectObject pin B:2] 1
check "the Attach Signal bar" [kx::ccpbar type TWOG] 1
check "undo both" [undo] 1
check "redo both" [redo] 1
check "the Short Pins menu" [kx::menu 35280] 1
check "pin A of both" [kx::word selectObject pin A:1] 1
check "automatic names" [addConnection pin =AUTONAME] 1
check "a typed cell" [kx::edit ccp 6 7 ONE] 1
check "undo the typed cell" [undo] 1
check "short pins a signal each" [kx::pane AttachSignal shortpins] 1
proc netOf {inst pin} { return [lindex [lsearch -inline [split [kx::netlist] \n] "$inst $pin *"] 2] }
check "a new signal for each grid" [expr {[netOf R1 A] ne [netOf R2 A]}] 1
