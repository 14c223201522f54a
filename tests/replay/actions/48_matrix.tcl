# A matrix view of the board: a new view, the connector and a signal added to it, a pin number typed
# into the connector's cell and a pin moved onto the signal by name after the question; each is journalled.
check "open a new view" [openMatrixView pin replay] 1
check "add the connector" [matrixAdd pin component J1] 1
check "add a signal" [matrixAdd pin signal REPLAY_B] 1
# Row 5 is REPLAY_B; J1's group starts at column 4 (Pin Name), column 5 is its Pin Number.
check "type pin number 7" [kx::edit ccp 5 5 7] 1
kx::answer question KXTABLE-140 yes
check "move P<8> here" [matrixConnect pin REPLAY_B J1 PIN_NAME {P<8>}] 1
check "assign a model to J1's pin" [assignModel pin FAST_IO [list REPLAY_B J1 {P<8>}]] 1
check "remove it" [removeModel pin [list REPLAY_B J1 {P<8>}]] 1
check "assign it again" [assignModel pin SLOW_IO [list REPLAY_B J1]] 1
# Row 5's signal gets a pull-up, which is deleted again from its Pull Up/Down cell.
check "select REPLAY_B" [kx::select ccp 5 1] 1
check "add a pull-up" [addPupd pin -type pullup -dcnet VCC3V3 -value 4.7k] 1
check "select its mark" [kx::select ccp 5 3] 1
check "delete it" [kx::key ccp Delete] 1
# J1's pin on row 5 gets a series termination in its Termination cell (column 7).
check "select its termination cell" [kx::select ccp 5 7] 1
check "add a termination" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 33] 1
checkMessages KXTABLE-140
# Two groups at once: the FPGA and the SDRAM join; ADDR<0>'s cells from U1's Pin Name to U2's are
# emptied in one edit and typed back in another; a row filter hides the other rows and is set back; a
# table of two columns is copied.
check "add the FPGA" [matrixAdd pin component U1] 1
check "add the SDRAM" [matrixAdd pin component U2] 1
check "add ADDR<0>" [matrixAdd pin signal {ADDR<0>}] 1
set addr [string trim [lindex [split [lsearch -inline [split [kx::window ccp] "\n"] "*: ADDR<0> |*"] :] 0]]
# U1's group starts at column 8 (Pin Name), U2's at column 12.
check "select both groups' cells" [kx::select ccp $addr 8 $addr 12] 1
check "empty them" [kx::edit ccp $addr 8 {}] 1
check "select them again" [kx::select ccp $addr 8 $addr 12] 1
check "type A<0> into both" [kx::edit ccp $addr 8 {A<0>}] 1
check "filter the rows" [filterRows pin -col Signal -filter ADDR*] 1
check "select U1's Pin Name and Pin Number" [kx::select ccp $addr 8 $addr 9] 1
check "copy them" [kx::key ccp Ctrl+C] 1
check "show every row again" [filterRows pin -col Signal -filter *] 1
checkMessages
