# Terminations copied in a signal grid and pasted onto other rows, one row and two rows at once: the
# journal carries the termination each row took (its part and value), so the replay makes the same.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp MCLK
check "select U1's termination (22)" [kx::select ccp 5 11] 1
check "copy" [kx::key ccp Ctrl+C] 1
check "select U2's" [kx::select ccp 6 11] 1
check "paste onto one row" [kx::key ccp Ctrl+V] 1
kx::show slp DQ<3>
check "select both rows" [kx::select ccp 5 11 6 11] 1
check "paste onto two rows" [kx::key ccp Ctrl+V] 1
checkMessages
