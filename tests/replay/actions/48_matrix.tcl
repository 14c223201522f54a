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
checkMessages KXTABLE-140
