# A pair's legs deleted from a signal grid: the last leg to leave takes the pair's connection and its
# termination along, in the step of the delete, as Delete on the pair's row does; one leg alone does not.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp SYSCLK_P
kx::select ccp 6 8
check "the positive leg leaves" [kx::key ccp Delete] 1
kx::show clp U1
check "the pair keeps its connection" [string match "*\n    20: Library defined | CLK | B15,B16 | Input | ,SYSCLK_N | Shunt |*" [kx::window ccp]] 1
check "undo" [undo] 1
kx::show slp SYSCLK_P SYSCLK_N
kx::select ccp 7 8 8 8
check "both legs leave" [kx::key ccp Delete] 1
kx::show clp U1
check "the pair goes with its termination" [string match "*\n    20: Library defined | CLK | B15,B16 | Input |  |  |*" [kx::window ccp]] 1
check "undo gives all back" [undo] 1
check "pair back" [string match "*\n    20: Library defined | CLK | B15,B16 | Input | SYSCLK | Shunt |*" [kx::window ccp]] 1
check "redo" [redo] 1
checkMessages
