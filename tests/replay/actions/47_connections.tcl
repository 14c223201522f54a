# Typing into the Signal cells of pin rows and renaming connections: each connect, disconnect and
# rename is one journalled edit.
kx::show clp U1
# The row of the pin and the column of a caption in the active pin grid, as kx::window shows them.
proc gridCell {caption pin} {
    set columns {}
    set col 0
    set row 0
    foreach line [split [kx::window ccp] \n] {
        if {[regexp {columns (.*)$} $line -> columns]} continue
        if {![regexp {^    (\d+): (.*)$} $line -> r cells]} continue
        set texts [split [string map [list " | " \x01] $cells] \x01]
        set at [lsearch -exact $texts $caption]
        if {$r == 2 && $at >= 0} { set col [lindex $columns $at] }
        if {[lsearch -exact $texts $pin] >= 0} { set row $r }
    }
    return [list $row $col]
}
check "type a new signal" [kx::edit ccp {*}[gridCell Signal PGOOD] NEWPG] 1
# Leaving RESET_N, its pull-up stays behind as answered: the journal carries the answer.
kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 0
check "type a bus bit" [kx::edit ccp {*}[gridCell Signal RST_N] {DQ[3]}] 1
check "clear" [kx::edit ccp {*}[gridCell Signal RST_N] {}] 1
check "rename" [renameConnection pin [list U1 PGOOD C10 RENAMED]] 1
check "undo" [undo] 1
check "redo" [redo] 1
# A pair moved to another pair net, its own termination and the one on its leg pin dropped as answered:
# the journal carries that answer.
setViewOption pin dp_off
selectObject pin CLK_P
check "terminate a leg" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22] 1
setViewOption pin dp_on
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0
kx::answer dialog CKXDontAskAgainYesNoDlg ok
check "move a pair" [addConnection pin {FCLK (Differential Pair)} CLK] 1
checkMessages
# Auto Name over two pins is one edit, journalled a row at a time and replayed as one step: the one
# undo after it takes back both rows there too.
check "auto name two pins" [addConnection pin =AUTONAME [list U1 MCLK B14] [list U1 PGOOD C10]] 1
check "undo the auto name" [undo] 1
checkMessages
# A bus signal wider than the pin: the bits the dialog gave go into the journal before the connect.
kx::answer dialog CKXGetVectorBits ok lsb 5 msb 5
check "connect a bit chosen in the dialog" [addConnection pin {W<15..0>} PGOOD] 1
checkMessages
