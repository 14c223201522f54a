# Add Pullup on a pin whose net has a pull-up opens the library's edit dialog: what the dialog changes
# (a new designator, a deletion) is journalled as the words that change the same.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "select RST_N" [kx::select ccp 42 7] 1
kx::answer dialog CKXPupdEditDlg ok action edit name RP1 refdes RP7
check "a new designator in the edit dialog" [kx::menu 35509] 1
kx::show clp R1
check "select B" [kx::select ccp 7 5] 1
kx::answer dialog CKXPupdEditDlg ok action delete name RP2
check "a deletion in the edit dialog" [kx::menu 35509] 1
checkMessages
