# Models written in the physical net grid on a pin whose name and number another part's pin on the net
# shares (RN1's pin A given number 1, as R1.A and R2.A have on VCC3V3): the replay writes them on the
# same part's pin.
check "open physical" [kx::open demo.board:sch 4] 1
kx::show clp RN1
check "select RN1's A on VCC3V3" [kx::word selectObject pin A:2] 1
check "give it number 1" [kx::pane ccp AssignPinNumber 1] 1
kx::show slp VCC3V3
check "row 7 is RN1's A, pin 1" [string match {*7: RN1 | 1 | A |*} [kx::window ccp]] 1
check "RN1's model" [kx::edit ccp 7 6 RES_FAST] 1
check "select it" [kx::select ccp 7 6] 1
check "RN1's model taken off" [kx::key ccp Delete] 1
check "RN1's model again" [kx::edit ccp 7 6 RES_FAST] 1
check "R1.A has none" [catch {kx::prop demo.board:sch@R1.A PIN_SIGNAL_MODEL}] 1
