# A power group tied to a net of its own in the pin grid while the host shows power pins, then released
# again after the pins were hidden and shown: the replay's host is told nothing by hand.
check "show power pins" [kx::powerpins on] 1
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U2
check "tie VDD" [kx::edit ccp 38 7 VDD_MEM] 1
check "tie VSS" [kx::edit ccp 40 7 GND_MEM] 1
check "hide power pins" [kx::powerpins off] 1
kx::show clp U1
check "show them again" [kx::powerpins on] 1
kx::show clp U2
check "select VSS" [kx::select ccp 40 7] 1
check "release VSS" [kx::key ccp Delete] 1
check "hide power pins again" [kx::powerpins off] 1
