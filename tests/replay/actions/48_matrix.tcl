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
