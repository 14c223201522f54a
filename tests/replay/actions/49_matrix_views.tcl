# Matrix views defined from the list's menus: a view named with its components and signals, then
# edited (renamed, one signal more), saved under another name, and that copy removed; each is journalled,
# and undone and redone (the views are kept with the comments: each change is one undo step of the pane).
kx::answer dialog CKXMatrixViewDlg ok name defined components {J1 U1} signals {ADDR<1..0>}
check "create a view" [kx::menu 35676] 1
kx::answer dialog CKXMatrixViewDlg ok name renamed components {J1 U1} signals {ADDR<1..0> EN}
check "edit it" [kx::menu 35706] 1
kx::answer dialog CKXMatrixSaveAsDlg ok name copied
check "save it as another" [kx::menu 35677] 1
check "remove the copy" [kx::menu 35678] 1
check "undo the removal" [undo] 1
check "redo it" [redo] 1
check "undo the edit" [undo] 1
check "redo it" [redo] 1
checkMessages
