# J1's open pins P<9> and P<8> given one common signal and a pull-up on VCC3V3 (Add Pullup/Pulldown on
# open pins): the connections are an undo step before the pull-up's. Undo takes the pull-up back, redo
# brings it again, and a last undo leaves the connections: the replay gives the same design.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp J1
expandPins pin on
proc pinRow {pin} { lindex [split [string trim [lsearch -inline [split [kx::window ccp] "\n"] "*: $pin |*"]] :] 0 }
check "the two open pins" [kx::select ccp [pinRow P<9>] 7 [pinRow P<8>] 7] 1
kx::answer dialog CKXOpenPinConnectionDlg ok common 1
kx::answer dialog CKXPupdDlg ok type pullup lib discrete cell resistor view sym physname RES0402 value 10k dcnet VCC3V3
check "pull-up on open pins" [kx::menu 35509] 1
check "undo the pull-up" [undo] 1
check "redo it" [redo] 1
check "undo it again" [undo] 1
checkMessages
