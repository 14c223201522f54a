# What the host's other tools change outside the windows, journalled by the host: a violation resolved by
# a change, the associated component viewer's change undone, a property the host set, and the undo lists
# cleared. Both open windows hear each message of the message server.
kx::show clp U10
check "a violation resolved" [kx::notify MSG_VIOLATION_RESOLVED [list demo.PWR:sch@U10 NOTE "low \"drop\"\nout"]] 2
check "the viewer's change" [kx::notify MSG_ASSOC_COMP_CHANGED {} {demo.PWR:sch@U10 TOL 2%}] 2
check "undo it" [undo] 1
check "the host's property" [expr {[kx::setprop demo.PWR:sch@U10 VALUE {3V3 \{}] > 0}] 1
check "undo lists cleared" [kx::notify MSG_CLEAR_UNDO] 2
check "nothing to undo" [undo] 0
checkMessages KXTABLE-385
