# A comment given to two pins, one given to a power pin's group, and the instance connectivity dialog's
# two rules: each is one edit, of the same name in the session and in the replay, undone and redone as one.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "a comment on two pins" [addComment pin note1 MCLK PGOOD] 1
check "undo both" [undo] 1
check "redo both" [redo] 1
check "power pins" [expandPins pin on] 1
kx::powerpins on
kx::select ccp 59 10
check "a comment on a power pin" [addComment pin pwr] 1
check "undo it" [undo] 1
check "redo it" [redo] 1
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins A fx 35255
kx::answer dialog CKXInstConnDlg ok pins B fx 35256
kx::answer dialog CKXInstConnDlg ok
check "two rules in the instance connectivity dialog" [kx::instconn R2 40] 1
check "undo them" [undo] 1
check "redo them" [redo] 1
