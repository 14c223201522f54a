# Comments moved by the host without an undo step: what could be redone before was made on comments that
# are gone, and nothing is left to redo, for a pin's comment as for a component's.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "comment" [addComment pin moved PGOOD] 1
check "comment" [addComment pin old RST_N] 1
check "a move with a step" [kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U1,RST_N 1] 1
check "undo the move" [undo] 1
check "a move without a step" [kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,PGOOD:U2,CLK 0] 1
check "nothing to redo" [redo] 0
checkMessages KXTABLE-386
proc comment {pin} {
    set row [lsearch -inline [split [kx::window ccp] \n] "*| $pin |*"]
    return [string trim [lindex [split $row |] end]]
}
check "RST_N keeps its comment" [comment RST_N] old
check "PGOOD's went" [comment PGOOD] {}
check "components' comments moved" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U12 1] 1
check "undo the move" [undo] 1
check "moved without a step" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U13 0] 1
check "nothing to redo" [redo] 0
checkMessages KXTABLE-386
