# Values typed into property columns the user added: a pin property in the pin grid, a net property
# in a signal grid, a net and a pin property in a matrix view. The replay runs with settings of its
# own, which have none of those columns: the journal adds each column before its value.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
kx::answer dialog CKXCustomizeDialog ok add {VOLTAGE|Voltage|8s|PINPROP|SHOW}
check "pin grid" [kx::grid ccp 1] 1
check "add Voltage" [kx::menu 35130] 1
check "MCLK's voltage" [kx::edit ccp 40 3 3.3] 1
kx::show slp MCLK
kx::answer dialog CKXCustomizeDialog ok add {LENGTH|Length|8s|NETPROP|SHOW}
check "signal grid" [kx::grid ccp 1] 1
check "add Length" [kx::menu 35130] 1
check "MCLK's length" [kx::edit ccp 5 3 120] 1
check "new view" [openMatrixView pin props] 1
check "add U1" [matrixAdd pin component U1] 1
check "add MCLK" [matrixAdd pin signal MCLK] 1
kx::answer dialog CKXCustomizeDialog ok add {IMPEDANCE|Impedance|8s|NETPROP|SHOW;SLEW|Slew|6s|PINPROP|SHOW}
check "matrix" [kx::grid ccp 1] 1
check "add Impedance and Slew" [kx::menu 35130] 1
check "MCLK's impedance" [kx::edit ccp 5 1 50] 1
check "U1.MCLK's slew" [kx::edit ccp 5 5 FAST] 1
checkMessages
