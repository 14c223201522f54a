# Ctrl+C on a pin's Signal cell, Ctrl+V on another pin in the instance connectivity dialog: one edit of
# the kept step, journalled as the pin's connection.
kx::show clp U10
check "copy a signal" [copy pin [list U10 EN 3] Signal] 1
kx::answer dialog CKXInstConnDlg ok pins PG paste 1
kx::answer dialog CKXInstConnDlg ok
check "paste in the dialog" [kx::instconn U10] 1
check "pasted" [lsearch -inline [split [kx::netlist] "\n"] "U10 PG *"] "U10 PG EN"
checkMessages
