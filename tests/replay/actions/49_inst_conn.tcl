# The instance connectivity dialog: the pins connected in it are kept by OK as one step, journalled as
# the instance shown and the connections; a cancelled dialog journals nothing.
kx::answer dialog CKXRetainAssocCompDlg ok
kx::answer dialog CKXInstConnDlg ok pins A fx 35280
kx::answer dialog CKXInstConnDlg ok pins B signal REPLAY_IC
kx::answer dialog CKXInstConnDlg ok
check "instance connectivity dialog" [kx::instconn R2 40] 1
kx::answer dialog CKXInstConnDlg ok pins A signal REPLAY_GONE
kx::answer dialog CKXInstConnDlg cancel
check "cancelled dialog" [kx::instconn R2] 0
checkMessages
