# Delete over two rows is one edit: journalled as the rows selected together and one Delete, in a pin
# grid and in a signal grid; its undo takes the whole of it back, here and in the replay.
kx::show clp U2
check "select two of U2's pins" [selectObject pin CLK A<12..0>] 1
check "delete both" [kx::key ccp Delete] 1
check "undo both" [undo] 1
check "CLK connected again" [string match {*CLK | 30 | Input | MCLK*} [kx::window ccp]] 1
kx::show slp DQ
check "select both rows of DQ" [kx::select ccp 5 8 6 8] 1
check "delete both rows" [kx::key ccp Delete] 1
check "undo both rows" [undo] 1
