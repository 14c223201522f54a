# Save and Reopen (menu 35624) of a design in its vlog_structural view: the design is saved and opened again in
# a new window. From the physical view, where it opens by the design's name, and from a window in place, where it
# opens by the design's path; each reopened window edits on. In the editable block the save is a Save As, which
# saves a new block and leaves the design unsaved. The host's exit closes the windows.
check "open the physical view" [kx::open demo.PWR:vlog_structural 4] 1
check "give a reference designator" [kx::call EditRefDes U10 U20] 1
kx::answer question KXTABLE-143 yes
check "save and reopen the physical view" [kx::menu 35624] 1
check "give another reference designator" [kx::call EditRefDes U10 U21] 1
check "open in place" [kx::open demo.PWR:vlog_structural 3] 1
check "add ZZPLACE" [kx::call AddSignal ZZPLACE "" ""] 1
kx::answer question KXTABLE-143 yes
check "save and reopen in place" [kx::menu 35624] 1
check "add ZZAFTERPLACE" [kx::call AddSignal ZZAFTERPLACE "" ""] 1
check "open the editable block" [kx::open demo.PWR:vlog_structural 1] 1
check "add ZZBLOCK" [kx::call AddSignal ZZBLOCK "" ""] 1
kx::answer question KXTABLE-143 yes
kx::answer dialog CKXCreateBlockDlg ok library demo block PWRCOPY
check "save as a block and reopen the editable block" [kx::menu 35624] 1
