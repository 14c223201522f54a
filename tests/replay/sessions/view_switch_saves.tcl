# Saves made by view switches: from the editable block (whose own save is Save As) to the physical view,
# back again, and by the menu's switch answered "save" after a matrix view was made, which the comments
# file keeps. The host's exit closes the windows.
check "open the editable block" [kx::open demo.board:sch 1] 1
check "add ZZSWITCH" [kx::call AddSignal ZZSWITCH "" ""] 1
check "to the physical view, saving" [physicalView -save] 1
kx::show clp RN1A
check "model on RN1A.A" [kx::edit ccp 6 6 RES_FAST] 1
check "back to the logical view, saving" [logicalView -save] 1
check "a matrix view" [kx::pane CreateMatrixView ZZVIEW {U1 J1} {MCLK}] 1
check "add ZZMENU" [kx::call AddSignal ZZMENU "" ""] 1
kx::answer question MSG_HOST_ASK_SAVE yes
check "switch by the menu, saving" [kx::menu 35563] 1
