# A connected row of a bus signal moves whole by its Start Bit or End Bit cell (its other bit cell follows):
# a row of one pin bit and a row of a whole vector pin alike; a row of part of a pin is refused with its own
# cause. Each move is one step, and replays.
proc rowOf {pattern} {
    foreach line [split [kx::window ccp] \n] {
        if {[string match $pattern $line]} { return [string trim [lindex [split $line :] 0]] }
    }
    return 0
}
check "open" [kx::open demo.board:sch 3] 1
kx::show slp DQ
kx::key ccp Insert
set row [lindex [kx::grid ccp cell] 0]
check "component" [kx::edit ccp $row 6 J1] 1
check "pin" [kx::edit ccp $row 8 P<8>] 1
check "start bit" [kx::edit ccp $row 3 3] 1
check "end bit connects" [kx::edit ccp $row 4 3] 1
check "on bit 3" [lsearch -all -inline [split [kx::netlist] \n] {J1 P<8> *}] {{J1 P<8> DQ<3>}}
check "start bit moves the row" [kx::edit ccp $row 3 5] 1
check "on bit 5" [lsearch -all -inline [split [kx::netlist] \n] {J1 P<8> *}] {{J1 P<8> DQ<5>}}
check "end bit followed" [string match "*\n    $row: 5 | 5 | CONN10 | J1 |*" [kx::window ccp]] 1
check "end bit moves it again" [kx::edit ccp $row 4 2] 1
check "on bit 2" [lsearch -all -inline [split [kx::netlist] \n] {J1 P<8> *}] {{J1 P<8> DQ<2>}}
check "undo" [undo] 1
check "back on bit 5" [lsearch -all -inline [split [kx::netlist] \n] {J1 P<8> *}] {{J1 P<8> DQ<5>}}
checkMessages
# A whole vector pin on part of the bus moves along it whole: the other bit cell follows, the row keeping
# its width and direction; a move that would take a bit past the signal's is refused.
kx::answer question KXTABLE-140 yes
check "TX_P onto DQ 7..4" [addConnection pin U1:TX_P<3..0>:7:4] 1
checkMessages KXTABLE-140
set tx [rowOf "*| U1 | U1 | TX_P<3..0> |*"]
check "start bit moves it up" [kx::edit ccp $tx 3 9] 1
check "TX_P<0> on DQ<6>" [lsearch -inline [split [kx::netlist] \n] {U1 TX_P<0> *}] {U1 TX_P<0> DQ<6>}
check "TX_P<3> on DQ<9>" [lsearch -inline [split [kx::netlist] \n] {U1 TX_P<3> *}] {U1 TX_P<3> DQ<9>}
check "end bit moves it down" [kx::edit ccp $tx 4 1] 1
check "TX_P<0> on DQ<1>" [lsearch -inline [split [kx::netlist] \n] {U1 TX_P<0> *}] {U1 TX_P<0> DQ<1>}
check "past the signal's bits" [kx::edit ccp $tx 4 14] 0
checkMessages KXTABLE-101
# Part of a pin's bits is no pin to connect: the row says so.
kx::show slp DQ<3>
kx::select ccp [rowOf "*| U2 | U2 | DQ<3> |*"] 8
check "U2's DQ<3> leaves" [kx::key ccp Delete] 1
kx::show slp DQ
check "part of a pin" [kx::edit ccp [rowOf "*| U2 | U2 | DQ<2..0> |*"] 4 4] 0
checkMessages KXTABLE-106
# An automation add with nothing prepared says that nothing was.
kx::show slp PG
kx::select ccp 5 11
check "add without set-up" [kx::pane AddTermination] 0
checkMessages KXPANE-586
