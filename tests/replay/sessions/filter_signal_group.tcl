# A filter typed into the grid of several signals is journalled with that group: the replay filters
# the group's grid, not the grid of the one signal an edit before left shown, and the later delete in
# that signal's grid finds its row unfiltered.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp RESET_N
kx::answer question KXTABLE-140 yes
check "J1.8 on RESET_N" [addConnection pin J1:8] 1
kx::show slp EN RESET_N
check "filter the group's instances" [kx::edit ccp 3 6 NOPE] 1
kx::show slp RESET_N
check "select RN1's pin number" [kx::select ccp 5 9] 1
check "delete RN1's row" [kx::pane Delete] 1
