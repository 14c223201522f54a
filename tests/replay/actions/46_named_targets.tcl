# A host delete of a name no component has deletes nothing and journals nothing; a Delete after a
# second selection in a signal grid disconnects the row selected last, and its undo takes it back.
kx::show clp U1
check "delete of an unknown name" [kx::notify INT_MSG_DELETE_INSTANCE -text NOPE] 0
checkMessages KXPANE-189
kx::show slp PG
kx::select ccp 5 6
kx::select ccp 7 6
kx::pane Delete
check "the second row's pin" [lsearch -inline [split [kx::netlist] \n] {R2 B *}] {}
check "the first row's pin" [lsearch -inline [split [kx::netlist] \n] {U1 PGOOD *}] {U1 PGOOD PG}
check "undo" [undo] 1
checkMessages
# The host renamed U2 to U12 and back: the comments of its pins move with it each time, as an undo
# step the first time and without one the second.
kx::show clp U2
check "a comment on U2" [addComment pin {clock in} CLK] 1
check "moved to U12" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U2:U12 1] 1
check "moved back" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U12:U2 0] 1
check "moved to U12 again" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U2:U12 1] 1
check "undo of the move" [undo] 1
check "moved to U13" [kx::notify INT_MSG_PRESERVE_INST_COMMENT U2:U13 1] 1
checkMessages
# The instance connectivity dialog's automatic names stop at the counter's last number.
check "counter out of range" [kx::instconn R2 2147483647] 0
checkMessages KXTABLE-281
kx::answer dialog CKXInstConnDlg ok pins A fx 35255
kx::answer dialog CKXInstConnDlg ok pins B fx 35255
kx::answer dialog CKXInstConnDlg ok
check "the last automatic name" [kx::instconn R2 2147483646] 1
checkMessages KXTABLE-281
check "named" [lsearch -inline [split [kx::netlist] \n] {R2 A *}] {R2 A signal_2147483647}
check "undo the dialog" [undo] 1
# A new termination's part takes a designator no part of the board has (R1 and R2 are resistors).
kx::show clp U2
check "select CLK" [kx::select ccp 20 7] 1
kx::pane InitTermination Series
check "terminate CLK" [kx::pane AddTermination] 1
checkMessages
# The instance connectivity dialog connects a pin the pane's filter hides; the filter is cleared after.
kx::show clp R2
check "filter out every row" [kx::edit ccp 4 5 X*] 1
kx::answer dialog CKXInstConnDlg ok pins A signal REPLAY_FILTERED
kx::answer dialog CKXInstConnDlg ok
check "dialog past the filter" [kx::instconn R2] 1
check "connected" [lsearch -inline [split [kx::netlist] \n] {R2 A *}] {R2 A REPLAY_FILTERED}
check "clear the filter" [kx::edit ccp 4 5 *] 1
checkMessages
# Two windows on one design: an edit of two journal lines in the first, a component placed in the
# second, the first's undo and redo (two lines each), then the second closed without saving takes back
# its component; the first keeps its edit until it undoes it.
kx::show clp U1
check "connect two pins" [expr {[addConnection pin C1,C2 CLK] != 0}] 1
check "second window" [kx::open demo.board:sch 3] 1
check "place a component" [kx::drop clp component demo.CONN10:sym] 1
check "first window" [kx::tab 1] 1
check "undo the connections" [undo] 1
check "redo the connections" [redo] 1
check "second window again" [kx::tab 2] 1
kx::answer question KXCOMMON-101 no
check "close unsaved" [kx::close] 1
check "the component went" [string first U3 [kx::window clp]] -1
check "the first window's edit stays" [lsearch -inline [split [kx::netlist] \n] {U1 CLK_P *}] {U1 CLK_P C1}
check "undo in the first window" [undo] 1
checkMessages KXCOMMON-101
