# U1's DQ<3>, filled into a signal grid row and given its bit, moves up to where the row of U1's whole DQ
# was: the row shows bit 3 alone, and U1's other bits on DQ keep rows of their own. A pin of four bits
# typed into that row of one bit (by the cell, and by the automation method on the row's cell) is
# refused: DQ<3> stays on the signal, TX_P on its own, nothing is journalled, and the replay makes the
# same design.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp DQ
check "instance" [kx::edit ccp 7 6 U1] 1
check "pin name" [kx::edit ccp 7 8 DQ<3>] 1
check "start bit" [kx::edit ccp 7 3 3] 1
check "end bit" [kx::edit ccp 7 4 3] 1
checkMessages
# The row number of U1's row of PIN, with the row's bits: "ROW START END", "" when none.
proc rowOf {pin} {
    set pin [string map {< \\< > \\> . \\.} $pin]
    foreach line [split [kx::window ccp] \n] {
        if {[regexp "^ +(\[0-9\]+): (\[0-9\]+) \\| (\[0-9\]+) \\| FPGA \\| U1 \\| U1 \\| $pin \\|" $line -> row s e]} {
            return "$row $s $e"
        }
    }
    return ""
}
check "the moved row" [lrange [rowOf DQ<3>] 1 2] {3 3}
check "the bits above" [lrange [rowOf DQ<15..4>] 1 2] {15 4}
check "the bits below" [lrange [rowOf DQ<2..0>] 1 2] {2 0}
set row [lindex [rowOf DQ<3>] 0]
set before [kx::netlist]
kx::answer question * yes
check "four bits typed" [kx::edit ccp $row 8 TX_P<3..0>] 0
checkMessages KXTABLE-135
check "the design" [kx::netlist] $before
check "the row" [lindex [rowOf DQ<3>] 0] $row
check "select the row" [kx::select ccp $row 8] 1
check "by the automation method" [kx::pane ChangePropValue "Pin Name" TX_P<3..0>] 0
checkMessages KXTABLE-135
check "the design again" [kx::netlist] $before
