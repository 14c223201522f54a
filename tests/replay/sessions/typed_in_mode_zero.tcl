# A window of open mode 0 connects pins only as their Signal cells are typed: a name and a naming rule
# replay as that typing, not as the pane's connect, which the mode refuses.
check "open" [kx::open demo.board:sch 0] 1
kx::show clp U1
check "a name typed" [kx::edit ccp 41 7 NEWPG] 1
check "a rule typed" [kx::edit ccp 40 7 =AUTONAME] 1
check "the pane's connect" [kx::pane AddConnection OTHER] 0
check "the pane's word" [addConnection pin OTHER] 0
checkMessages KXPANE-572 KXPANE-572
