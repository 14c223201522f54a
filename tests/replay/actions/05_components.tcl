# The component list's edits: a component, a block with its packaging option, a new master, and
# reference designators set and removed.
check "add component" [kx::call AddComponent R9 demo RES sym] 1
check "add block" [kx::call AddBlock PWR2 demo PWR SUFFIX _b sch TRUE] 1
check "block option" [kx::call ChangeBlkOption PREFIX P_ PWR2] 1
check "new master" [kx::call ModifyComponent R9 demo.LDO] ""
check "refdes" [kx::call EditRefDes R9 R109] ""
check "refdes" [kx::call EditRefDes R2 R102] ""
kx::select clp R2
check "delete refdes" [kx::call DeleteRefDes] ""
checkMessages
