# Another tool clears the undo lists after changes and an undo: the replay's window has nothing to undo or
# redo either, and the step made after the clearing is the only one.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "a violation resolved" [kx::notify MSG_VIOLATION_RESOLVED {demo.board:sch@U1 VALUE 10k}] 1
check "the viewer's change" [kx::notify MSG_ASSOC_COMP_CHANGED {} {demo.board:sch@R1 VALUE 1k}] 1
check "undo it" [undo] 1
check "undo lists cleared" [kx::notify MSG_CLEAR_UNDO] 1
check "nothing to undo" [undo] 0
check "resolved after the clearing" [kx::notify MSG_VIOLATION_RESOLVED {demo.board:sch@R1 VALUE 2k}] 1
