# A view option set in U1's pin grid stays with that grid while another component is shown and edited:
# shown again, U1 still shows its pair legs as rows, and the replay finds the leg the model goes on.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "pairs as legs" [setViewOption pin dp_off] 1
kx::show clp R1
check "R1.A on a new signal" [kx::edit ccp 6 7 RX] 1
kx::show clp U1
check "a model on a leg" [assignModel pin LVCMOS33 CLK_P] 1
checkMessages
