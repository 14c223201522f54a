# The matrix view of the step before: J1's P<7> on REPLAY_B has a series termination. It is copied onto
# P<8>; RESET_N joins the view and its pull-up is copied onto REPLAY_B; then P<8> moves to RESET_N by
# its name, and the user lets its termination go.
check "select P<7>'s termination" [kx::pane MatrixSelect REPLAY_B J1 TERMINATION {P<7>}] 1
check "copy it" [kx::key ccp Ctrl+C] 1
check "select P<8>'s termination" [kx::pane MatrixSelect REPLAY_B J1 TERMINATION {P<8>}] 1
check "paste it" [paste pin] 1
check "add RESET_N" [matrixAdd pin signal RESET_N] 1
check "select its pull-up" [kx::pane MatrixSelect RESET_N {} PUPD {}] 1
check "copy it" [kx::key ccp Ctrl+C] 1
check "select REPLAY_B's" [kx::pane MatrixSelect REPLAY_B {} PUPD {}] 1
check "paste it" [paste pin] 1
kx::answer question KXTABLE-140 yes
kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0 preservePupd 1
check "move P<8> to RESET_N" [matrixConnect pin RESET_N J1 PIN_NAME {P<8>}] 1
checkMessages KXTABLE-140
