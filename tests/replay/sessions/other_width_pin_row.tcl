# A pin typed into a signal grid row that names other bits than its pin has: U1's DQ<3>, typed with
# its bits into a row of its own while the row of U1's whole DQ shows it, moves up to that row, which
# then names bits 3 to 0 for the one pin bit. The pin of four bits typed there (by the cell, and by the
# automation method on the row's cell) is refused: DQ<3> stays on the signal, TX_P on its own, and
# nothing is journalled, so the replay makes the same design.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp DQ
check "instance" [kx::edit ccp 7 6 U1] 1
check "pin name" [kx::edit ccp 7 8 DQ<3>] 1
check "start bit" [kx::edit ccp 7 3 3] 1
check "end bit" [kx::edit ccp 7 4 3] 1
checkMessages
proc rowOf {pin} {
    foreach line [split [kx::window ccp] \n] {
        if {[regexp "^ +(\[0-9\]+): .*\\| U1 \\| U1 \\| [string map {< \\< > \\>} $pin] \\|" $line -> row]} { return $row }
    }
    return 0
}
set row [rowOf DQ<3>]
check "the moved row" [expr {$row > 0}] 1
set before [kx::netlist]
kx::answer question * yes
check "four bits typed" [kx::edit ccp $row 8 TX_P<3..0>] 0
checkMessages KXTABLE-391
check "the design" [kx::netlist] $before
check "the row" [rowOf DQ<3>] $row
check "select the row" [kx::select ccp $row 8] 1
kx::answer question * yes
check "by the automation method" [kx::pane ChangePropValue "Pin Name" TX_P<3..0>] 0
checkMessages KXTABLE-391
check "the design again" [kx::netlist] $before
