# Sorts by the menu and by a header click are undo steps that journal nothing: undoing them journals
# nothing either, so the replay keeps the edits made before them.
check "open" [kx::open demo.board:sch 3] 1
check "add ZZMENU" [kx::call AddSignal ZZMENU "" ""] 1
kx::show clp U1
kx::select ccp 6 5
check "sort by the menu" [kx::menu 35121] 1
check "undo the sort" [undo] 1
check "add ZZCLICK" [kx::call AddSignal ZZCLICK "" ""] 1
kx::click ccp 2 4
check "undo the pin grid's header click" [undo] 1
check "add ZZSIGNAL" [kx::call AddSignal ZZSIGNAL "" ""] 1
kx::show slp RST_IN
kx::click ccp 1 6
check "undo the signal grid's header click" [undo] 1
check "redo it" [redo] 1
check "undo it again" [undo] 1
check "open a matrix view" [openMatrixView pin zzsorted] 1
check "add RST_IN to it" [matrixAdd pin signal RST_IN] 1
check "add EN to it" [matrixAdd pin signal EN] 1
kx::click ccp 1 1
check "undo the matrix's header click" [undo] 1
