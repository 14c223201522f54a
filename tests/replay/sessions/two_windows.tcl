# Three windows on one design, the middle one closed without saving: the window activated as it goes
# is journalled by its number among the windows left, so that the replay goes on in the same window.
check "open the first window" [kx::open demo.board:sch 3] 1
check "add ZZONE" [kx::call AddSignal ZZONE "" ""] 1
check "open the second window" [kx::open demo.board:sch 3] 1
check "place a component in the second" [kx::drop clp component demo.CONN10:sym] 1
check "open the third window" [kx::open demo.board:sch 3] 1
check "add ZZTHREE" [kx::call AddSignal ZZTHREE "" ""] 1
check "back to the second" [kx::tab 2] 1
kx::answer question KXCOMMON-101 no
check "close the second without saving" [kx::close] 1
check "add ZZAFTER in the window left active" [kx::call AddSignal ZZAFTER "" ""] 1
check "to the first" [kx::tab 1] 1
check "add ZZFIRST" [kx::call AddSignal ZZFIRST "" ""] 1
check "to the other" [kx::tab 2] 1
check "undo ZZAFTER" [undo] 1
kx::answer question KXCOMMON-101 no
check "close it without saving" [kx::close] 1
check "the first window is left" [kx::tab 1] 1
# A window whose edit another window changed since cannot drop it: the close is refused before any of its
# steps is taken back, its newer edit staying; once the other window's change is undone, it closes.
check "open a window again" [kx::open demo.board:sch 3] 1
kx::call EditRefDes RN1A R90
check "add ZZKEPT" [kx::call AddSignal ZZKEPT "" ""] 1
check "open the physical view" [kx::open demo.board:sch 4] 1
check "delete RN1A there" [kx::notify INT_MSG_DELETE_INSTANCE -text RN1A] 1
check "back to the window" [kx::tab 2] 1
kx::messages
kx::answer question KXCOMMON-101 no
kx::close
checkMessages KXCOMMON-101 KXTABLE-318
check "ZZKEPT is there again" [string match *ZZKEPT* [kx::window slp]] 1
check "to the physical view" [kx::tab 3] 1
check "undo the delete" [undo] 1
check "back to the window again" [kx::tab 2] 1
kx::answer question KXCOMMON-101 no
check "close it without saving" [kx::close] 1
check "RN1A as saved" [kx::prop demo.board:sch@RN1A LOCATION] RN1
check "the first window is left" [kx::tab 1] 1
