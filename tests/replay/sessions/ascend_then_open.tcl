# A block descended into and ascended from, the parent's window closed, and the block opened on its own:
# the signal added there goes into the block, in the replay too.
check "open" [kx::open demo.board:sch 0] 1
check "select PWR1" [kx::select clp PWR1] 1
check "descend" [kx::call Descend] 1
check "ascend" [ascend] 1
check "close the parent" [kx::close] 1
check "open the block" [kx::open demo.PWR:sch 0] 1
check "add ZZP" [kx::call AddSignal ZZP "" ""] 1
