# The component list's edits: a component, a block with its packaging option, a new master, and
# reference designators set and removed.
check "add component" [kx::call AddComponent R9 demo RES sym] 1
check "add block" [kx::call AddBlock PWR2 demo PWR SUFFIX _b sch TRUE] 1
check "block option" [kx::call ChangeBlkOption PREFIX P_ PWR2] 1
check "new master" [kx::call ModifyComponent R9 demo.LDO] 1
check "refdes" [kx::call EditRefDes R9 R109] 1
check "refdes" [kx::call EditRefDes R2 R102] 1
kx::select clp R2
check "delete refdes" [kx::call DeleteRefDes] 1
checkMessages
# Co-design marking, as the host asks for it and as the list's method does.
check "mark codesign" [kx::notify INT_MSG_MARK_AS_CODESIGN {R9 PWR2} 1] 1
check "unmark codesign" [kx::pane clp MarkAsCodesign R9 0] 1
checkMessages
# A power group: U2's implicit power pin VDD goes to a net of its own, by the dialog and by the method.
kx::select clp U2
kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3_MEM
kx::notify INT_MSG_ASSIGN_POWER
check "power group" [kx::pane clp AssignPowerGroup U2 VSS GND_MEM] 1
# The host's power pin option, shown and hidden again: the journal carries each change.
check "show power pins" [kx::powerpins on] 1
check "hide them again" [kx::powerpins off] 1
checkMessages
