# A view option set in a pin grid shown again after a matrix view is journalled with the grid's
# component: the replay sets it in that pin grid, not in the matrix, and the model assigned after it
# finds the bus row again.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "open a matrix view" [openMatrixView pin mv] 1
check "add U1 to it" [matrixAdd pin component U1] 1
kx::show clp U1
check "PGOOD on a new signal" [kx::edit ccp 41 7 PGX] 1
check "buses as bits" [setViewOption pin bus_off] 1
check "the matrix view shown again" [kx::pane EditMatrixView mv mv "U1" "MCLK"] 1
kx::show clp U1
check "buses as rows" [setViewOption pin bus_on] 1
check "a model on the bus" [assignModel pin LVCMOS33 "A<12..0>"] 1
