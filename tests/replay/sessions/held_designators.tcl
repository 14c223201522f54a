# A pull-up undone in the first window, whose redo a sort there then clears: the sort journals nothing, so
# the replay can still redo the pull-up there. A pull-up made in the second window takes the same designator
# in both, one neither window can bring back.
check "open the first window" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "a pull-up on PGOOD" [selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3] 1
check "undo it" [undo] 1
kx::select ccp 6 5
check "sort by the menu" [kx::menu 35121] 1
check "open the second window" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "a pull-up on MCLK" [selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3] 1
check "delete R2 there" [kx::notify INT_MSG_DELETE_INSTANCE -text R2] 1
check "to the first" [kx::tab 1] 1
check "a pull-up on PGOOD again" [selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3] 1
check "to the second" [kx::tab 2] 1
check "undo the delete" [undo] 1
