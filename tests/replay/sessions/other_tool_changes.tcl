# Changes another tool committed and sent (a violation resolved by one change and by two, the associated
# component viewer's change) and a property the host set: each replays as the same change, and the tools'
# changes as the same undo steps of the window, undone and redone as in the session.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "a violation resolved" [kx::notify MSG_VIOLATION_RESOLVED {demo.board:sch@U1 VALUE 10k}] 1
check "resolved by two changes" \
    [kx::notify MSG_VIOLATION_RESOLVED {demo.board:sch@R1 VALUE 22k} -text {demo.board:sch@U1 VALUE}] 1
check "undo the second change" [undo] 1
check "the viewer's change" [kx::notify MSG_ASSOC_COMP_CHANGED {} {demo.board:sch@R1 TOL 1%}] 1
check "undo it" [undo] 1
check "redo it" [redo] 1
check "the host's property" [kx::setprop demo.board:sch@PWR1 VALUE 3.3V] 1
check "a change the design refuses" [catch {kx::notify MSG_ASSOC_COMP_CHANGED {} {demo.board:sch@NOPE X 1}}] 1
