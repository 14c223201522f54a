# Two rows renamed by the word at once: the first row's pin leaves a net with a carried pull-up that goes,
# and the second row's net takes a new pull-up named as the journal's rows, replayed one by one, name it.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
selectObject pin MCLK
check "pull-up on MCLK" [addPupd pin -type pullup -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 -value 1k] 1
kx::show clp U1 U2
kx::grid ccp 1
selectObject pin {U1 MCLK B14}
check "second net on MCLK" [kx::pane AddConnection OTH3] 1
kx::show clp U1
selectObject pin PGOOD
check "pull-up on PGOOD" [addPupd pin -type pullup -dcnet VCC3V3 -lib discrete -cell resistor -view sym -physname R0402 -value 1k] 1
check "rename of both rows" [renameConnection pin [list U1 MCLK B14 MV12] [list U1 PGOOD C10 MV13]] 1
