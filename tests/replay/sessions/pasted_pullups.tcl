# The board's pull-up on RESET_N (it records no DC net) copied with Ctrl+C and pasted with Ctrl+V onto
# PGOOD, then onto MCLK..PGOOD: the replay makes the same pull-ups.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
proc pinRow {pin} { lindex [split [string trim [lsearch -inline [split [kx::window ccp] "\n"] "*| $pin |*"]] :] 0 }
check "RST_N's pull-up cell" [kx::select ccp [pinRow RST_N] 9] 1
check "copy" [kx::key ccp Ctrl+C] 1
check "PGOOD's" [kx::select ccp [pinRow PGOOD] 9] 1
check "paste onto one pin" [kx::key ccp Ctrl+V] 1
check "MCLK..PGOOD" [kx::select ccp [pinRow MCLK] 9 [pinRow PGOOD] 9] 1
check "paste onto several" [kx::key ccp Ctrl+V] 1
checkMessages
