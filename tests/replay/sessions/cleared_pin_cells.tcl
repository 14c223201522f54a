# Signal grid cells cleared: an emptied Pin Number cell and an empty cell pasted into Pin Name
# disconnect their pins, and the journal says so.
check "open" [kx::open demo.board:sch 3] 1
kx::show slp RST_IN
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1
check "clear RN1B's pin number" [kx::edit ccp 6 9 {}] 1
kx::show slp EN
kx::select ccp 5 7
kx::key ccp Ctrl+C
kx::select ccp 6 8
kx::answer question KXTABLE-140 yes
check "paste an empty pin name" [kx::menu 57639] 1
# The cleared row stays, waiting for another pin; a copy of it names it by its instance alone.
check "R1 kept its row" [string match "*\n    6: RES | R1 | R1 |  |  |*" [kx::window ccp]] 1
kx::select ccp 6 7
kx::key ccp Ctrl+C
