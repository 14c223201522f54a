# Deletes over the pins of two side-by-side grids, by the word, the menu and the key, are each one edit:
# one undo step in the session and one in the replay, undone and redone as one.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp R1 R2
check "pin B of both" [kx::word selectObject pin B:2] 1
check "the word" [deleteConnection pin] 1
check "undo both" [undo] 1
check "pin B of both" [kx::word selectObject pin B:2] 1
check "the menu" [kx::menu 35264] 1
check "undo both" [undo] 1
check "redo both" [redo] 1
check "undo both" [undo] 1
check "pin B of both" [kx::word selectObject pin B:2] 1
kx::select ccp 7 7
check "the key" [kx::key ccp Delete] 1
