# Edits in both views, saved from the logical window opened last; the host's exit closes both.
check "open the physical view" [kx::open demo.board:sch 4] 1
kx::show clp RN1A
check "model on RN1A.A" [kx::edit ccp 6 6 RES_FAST] 1
check "open a logical window" [kx::open demo.board:sch 3] 1
check "add ZZBOTH" [kx::call AddSignal ZZBOTH "" ""] 1
check "save from there" [saveDesign] 1
