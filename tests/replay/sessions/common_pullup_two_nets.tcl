# One common pull-up over the signals of several pins, by the dialog and by the word: every net gets its
# pull-up with the one designator of the common part, in the replay as in the session.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "expand" [expandPins pin on] 1
proc rowOf {pin} {
    foreach line [split [kx::window ccp] "\n"] {
        if {[string match "* | $pin |*" $line]} { return [string trim [lindex [split [string trim $line] :] 0]] }
    }
    return ""
}
kx::select ccp [rowOf PGOOD] 9 [rowOf MCLK] 9
kx::answer dialog CKXPupdDlg ok type pullup lib discrete cell resistor view sym physname R0402 value 10k dcnet VCC3V3 mode common
check "common pull-up by the dialog" [kx::menu 35509] 1
kx::select ccp [rowOf {DQ<5>}] 9 [rowOf {DQ<6>}] 9
check "common pull-down by the word" [addPupd pin -type pulldown -dcnet VCC3V3 -value 4.7k -common] 1
