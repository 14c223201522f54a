# A model given in the physical view and saved from a logical window of the design opened after it; the
# host's exit closes both windows. The saved model stays in the replay: the physical window leaves its
# edit to the logical one, which closes with nothing unsaved.
check "open the physical view" [kx::open demo.board:sch 4] 1
kx::show clp RN1A
check "model on RN1A.A" [kx::edit ccp 6 6 RES_FAST] 1
check "open a logical window" [kx::open demo.board:sch 3] 1
check "save from there" [saveDesign] 1
