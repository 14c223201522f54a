# The physical view of the board (open mode 4): a model through the part grid's word and typed
# filters, a swap of two pins of one swap group, a pin number that moves a resistor-pack section,
# a model and a filter in the physical net grid, the power block left out of the view (by the word
# and the dialog: physModule.dat). The window saves in place and closes; the power block's window
# is active again for the save that follows.
set env(KX_ALLOW_SWAP_PINS) 1
check "open physical" [kx::open demo.board:sch 4] 1
kx::show clp RN1A
check "select RN1B.A" [kx::select ccp 7 3] 1
check "assign model" [assignModel pin RES_MODEL] 1
check "type a filter" [kx::edit ccp 4 3 A*] 1
check "clear the filter" [kx::edit ccp 4 3 *] 1
kx::show clp U1
check "select DQ<3>" [kx::select ccp 18 3] 1
check "swap with A14" [kx::pane ccp SwapPins A14] 1
kx::show clp RN1A
check "select RN1A.A" [kx::word selectObject pin RN1:A:1] 1
check "assign pin number" [assignPinNumber pin 3] 1
kx::show slp DDR_CLK
check "select U2.CLK" [kx::select ccp 6 3] 1
check "net model" [assignModel pin NETMODEL] 1
check "net filter" [kx::edit ccp 3 3 U*] 1
check "net filter cleared" [kx::edit ccp 3 3 *] 1
kx::answer dialog CKXDlgFilterPhys ok paths "@PWR1\n"
check "exclude it in the dialog" [kx::menu 35571] 1
checkMessages
check "exclude the power block again" [filterBlock -exclude PWR1] 0
checkMessages KXTABLE-451
check "save" [saveDesign] 1
check "close" [kx::close] 1
check "back to the power block" [kx::tab 2] 1
