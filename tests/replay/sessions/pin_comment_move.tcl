# The host renamed a pin: its comment moves with it, with and without an undo step, and the journal
# makes the same moves.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "comment" [addComment pin {power good in} PGOOD] 1
check "comment" [addComment pin {reset} RST_N] 1
kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U1,PG_IN 1
kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,RST_N:U2,RST 0
checkMessages
