# A pin row of one bit of a bus deleted in the signal grid that shows that bit: the journal names the
# bit, so the replay deletes that pin bit alone (not the pin's whole bus and its terminations).
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
kx::show slp DQ<3>
check "select U2's row" [kx::select ccp 6 6] 1
check "delete" [kx::key ccp Delete] 1
