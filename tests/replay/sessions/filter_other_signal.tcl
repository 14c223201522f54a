# A filter typed into the signal grid of one signal after an edit in another signal's grid is
# journalled with the signal it filters: the replay filters that grid, not the one the edit before
# left shown, and the later delete in the other grid finds its row unfiltered.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp EN
kx::answer question KXTABLE-140 yes
check "J1.8 on EN" [addConnection pin J1:8] 1
kx::show slp RESET_N
check "filter RESET_N's instances" [kx::edit ccp 3 6 NOPE] 1
kx::show slp EN
check "select R1's pin number" [kx::select ccp 6 9] 1
check "delete R1's row" [kx::pane Delete] 1
