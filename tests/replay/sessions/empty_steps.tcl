# Roads that change nothing leave no undo step: the undo that follows takes back the edit before them,
# here and in the replay.
check "open" [kx::open demo.board:sch 3] 1
check "add ZZPASTE" [kx::call AddSignal ZZPASTE "" ""] 1
kx::show clp U1
kx::select ccp 6 7
kx::key ccp Ctrl+C
kx::select ccp 4 7
check "paste into the Signal filter" [kx::menu 57639] 1
check "the pasted filter hides the other signals" [string match *TX<3..0>* [kx::window ccp]] 0
check "undo after a paste into the filter row" [undo] 1
kx::select ccp 4 7
check "the filter off again" [kx::key ccp Delete] 1
check "add ZZPAIR" [kx::call AddSignal ZZPAIR "" ""] 1
check "type into a pair row's Comments" [kx::edit ccp 43 10 SYSCLK_N] 0
check "undo after typing into a pair comment" [undo] 1
check "add ZZSIDE" [kx::call AddSignal ZZSIDE "" ""] 1
kx::show clp R2 RN1A
kx::answer question KXTABLE-140 yes
check "a name side by side whose bits dialog goes unanswered" [kx::edit ccp 6 7 XC<3..0>] 2
check "undo after a name side by side whose bits dialog goes unanswered" [undo] 1
