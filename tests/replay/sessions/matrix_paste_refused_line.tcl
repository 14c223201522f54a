# Two pin names pasted down the matrix: the first pin moves (answered yes), the second line takes its
# row's pin off and then asks about a pin connected elsewhere (answered no). The refused line takes
# back what it did: its row keeps its pin, in the session as in the replay, which has only the first.
check "open" [kx::open demo.board:sch 3] 1
check "new view" [openMatrixView pin pasted] 1
check "add U1" [matrixAdd pin component U1] 1
foreach signal {ADDR<0> MCLK PG RESET_N} { check "add $signal" [matrixAdd pin signal $signal] 1 }
check "select A<0> and MCLK" [kx::select ccp 5 4 6 4] 1
check "copy" [kx::key ccp Ctrl+C] 1
check "onto PG" [kx::select ccp 7 4] 1
kx::answer question KXTABLE-140 yes
kx::answer question KXTABLE-140 no
check "paste" [kx::key ccp Ctrl+V] 1
checkMessages KXTABLE-140 KXTABLE-140
check "RST_N stays" [lsearch -inline [split [kx::netlist] "\n"] "U1 RST_N *"] "U1 RST_N RESET_N"
