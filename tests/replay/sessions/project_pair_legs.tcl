# With the project's pair-leg option on, a leg typed into a signal grid brings the other leg of its pair
# along in the same step: the replay, in a host without the project, connects both, and undoes them as one.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp SYSCLK_P SYSCLK_N
kx::select ccp 7 8 8 8
check "U1's legs leave their nets" [kx::key ccp Delete] 1
kx::show slp SYSCLK_P
kx::key ccp Insert
set row [lindex [kx::grid ccp cell] 0]
check "component" [kx::edit ccp $row 6 U1] 1
check "positive leg" [kx::edit ccp $row 8 CLK_P] 1
check "negative leg along" [lsearch -inline [split [kx::netlist] \n] {U1 CLK_N *}] {U1 CLK_N SYSCLK_N}
check "undo takes both" [undo] 1
check "negative leg gone" [lsearch -inline [split [kx::netlist] \n] {U1 CLK_N *}] {}
check "redo gives both" [redo] 1
check "negative leg back" [lsearch -inline [split [kx::netlist] \n] {U1 CLK_N *}] {U1 CLK_N SYSCLK_N}
checkMessages
