# A view switch answered "save" from an editable block whose only edit was undone: the save finds the files
# holding what the window shows and leaves the window unmodified. The host's exit closes both windows
# without asking for a save, in the replay too (in the editable block a save there is a Save As, whose
# dialog nobody answers).
check "open the editable block" [kx::open demo.board:sch 1] 1
check "add ZZUNDONE" [kx::call AddSignal ZZUNDONE "" ""] 1
check "undo it" [undo] 1
kx::answer question MSG_HOST_ASK_SAVE yes
check "switch by the menu, saving" [kx::menu 35563] 1
