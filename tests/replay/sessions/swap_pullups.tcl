# A swap of two pins' signals leaves the pull-ups on their nets: the connections the journal replays
# for it do not carry them over to the other net.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "select PGOOD" [selectObject pin PGOOD] 1
check "a pull-up on PG" [addPupd pin -type pullup -dcnet VCC3V3] 1
check "a matrix view" [openMatrixView pin mv] 1
kx::answer question KXTABLE-140 yes
check "DQ<3> on PG" [matrixConnect pin PG U1 PIN_NAME {DQ<3>}] 1
kx::show clp U1
check "swap the bits" [swapSignal pin {DQ<2>} {DQ<3>}] 1
