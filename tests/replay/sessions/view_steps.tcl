# Filters, sorts and a cleared pin number of a row without a pin, in the signal, physical and matrix
# grids: none of them is an undo step the journal does not know, so each undo that follows takes back
# the journalled edit before it, here and in the replay.
check "open" [kx::open demo.board:sch 3] 1
check "add ZZFILTER" [kx::call AddSignal ZZFILTER "" ""] 1
kx::show slp RST_IN
check "signal grid filter" [kx::edit ccp 3 6 R*] 1
check "signal grid filter off" [kx::edit ccp 3 6 *] 1
check "undo after the signal grid's filters" [undo] 1
check "add ZZNOPIN" [kx::call AddSignal ZZNOPIN "" ""] 1
kx::show slp RST_IN
check "drop U1" [kx::drop ccp 6 6 component U1] 1
kx::edit ccp 8 9 {}
check "undo after clearing the pin number of a row without a pin" [undo] 1
# The design is as it was opened: the save has nothing to write.
check "save" [saveDesign] 0
check "nothing to save" [lindex [kx::messages] end] KXTABLE-530
check "close" [kx::close] 1
check "open physical" [kx::open demo.board:sch 4] 1
kx::show clp RN1A
check "select RN1B.A" [kx::select ccp 7 3] 1
check "assign a model" [assignModel pin ZZ_PART_MODEL] 1
check "part grid filter" [kx::edit ccp 4 3 A*] 1
check "part grid filter off" [kx::edit ccp 4 3 *] 1
check "undo after the part grid's filters" [undo] 1
check "select RN1B.A again" [kx::select ccp 7 3] 1
check "assign the model again" [assignModel pin ZZ_PART_MODEL] 1
kx::click ccp 2 3
undo
kx::show slp DDR_CLK
check "select U2.CLK" [kx::select ccp 6 3] 1
check "net model" [assignModel pin ZZ_NET_MODEL] 1
check "net grid filter" [kx::edit ccp 3 3 U*] 1
check "net grid filter off" [kx::edit ccp 3 3 *] 1
check "undo after the net grid's filters" [undo] 1
check "select U2.CLK again" [kx::select ccp 6 3] 1
check "net model again" [assignModel pin ZZ_NET_MODEL] 1
kx::click ccp 2 3
undo
