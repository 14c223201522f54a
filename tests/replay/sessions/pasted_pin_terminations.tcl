# A termination copied in a pin grid (MCLK's 22 ohm series resistor with its part) and pasted onto
# another pin of the component and onto a resistor pin in a signal grid: the journal carries the copied part and
# value, so the replay makes the same terminations.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "select MCLK's termination" [kx::select ccp 40 8] 1
check "copy" [kx::key ccp Ctrl+C] 1
check "select PGOOD's" [kx::select ccp 41 8] 1
check "paste onto PGOOD" [kx::key ccp Ctrl+V] 1
kx::show slp PG
check "select R2's termination" [kx::select ccp 7 11] 1
check "paste onto R2" [kx::key ccp Ctrl+V] 1
checkMessages
