# The rows of one signal deleted in its signal grid, a block's pin among them: that pin has no pin
# number, and the journal names its row by its pin name, which the replay finds; the block's pin
# leaves the signal in the replay as it did in the session.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp PG
check "select the rows" [kx::select ccp 5 8 7 8] 1
check "delete" [kx::key ccp Delete] 1
check "no pin on PG" [lsearch -all -inline [split [kx::netlist] \n] {* PG}] {}
