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
