# A vector pair's first lane put on other nets by a comma text (its pair connection kept), then
# Delete on the pair's row: the session takes the pair connection alone and keeps the lane's legs.
# The replay selects the lane's legs by their own rows, which unfolds them; its Delete must take
# the same. Then a leg typed with the lane unfolded, and Delete on the pair row (without its pair
# connection now: the legs go), undone and done again.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "comma text" [addConnection pin MCLK, TX<3..0>] 2
check "select the pair row" [kx::select ccp 43 7] 1
check "delete" [kx::key ccp Delete] 1
check "lane 3's negative leg" [kx::pane SelectSignalCol TX_N<3> C2] 1
check "onto a net" [addConnection pin SYSCLK_N] 2
check "select the pair row again" [kx::select ccp 43 7] 1
check "delete the legs" [kx::key ccp Delete] 1
check "undo" [undo] 1
check "delete again" [kx::key ccp Delete] 1
