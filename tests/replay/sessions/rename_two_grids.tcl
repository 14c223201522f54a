# A rename over the pins of two side-by-side grids is one edit: its journal replays as one step, so that the
# undo after it takes back both grids' pins in the replay too.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1 U2
check "rename in two grids" [renameConnection pin [list U1 PGOOD C10 PWR_GOOD] [list U2 CLK 30 NEWCLK]] 1
check "undo both" [undo] 1
