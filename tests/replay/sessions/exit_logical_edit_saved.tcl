# A signal added in a logical window and saved from the physical window opened after it; the host's exit
# closes both windows. The logical window leaves its edit to the physical one, which closes with nothing
# unsaved.
check "open" [kx::open demo.board:sch 3] 1
check "add ZZSAVED" [kx::call AddSignal ZZSAVED "" ""] 1
check "open the physical view" [kx::open demo.board:sch 4] 1
check "save from there" [saveDesign] 1
