# A pull-up deleted on its Pull Up/Down cell, then a pair row and one of its legs deleted together on their
# Signal cells: the journal's Delete of the two rows must take their connections off in the replay too, not
# look for pull-ups in the column an earlier line left current.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "expand" [expandPins pin on] 1
proc rowOf {pin} {
    foreach line [split [kx::window ccp] "\n"] {
        if {[string match "* | $pin |*" $line]} { return [string trim [lindex [split [string trim $line] :] 0]] }
    }
    return ""
}
kx::select ccp [rowOf RST_N] 9
check "delete the pull-up" [kx::key ccp Delete] 1
kx::select ccp [rowOf CLK] 7 [rowOf CLK_P] 7
check "delete the pair and its leg" [kx::key ccp Delete] 1
