# A pin number given in the block's window moves RN1A onto the third resistor of its pack, which no other
# component holds (A to pin 3, B to pin 6) while the physical view shows RST_IN: the net grid shows the net's pins as they are now,
# so that a model typed on RN1A's row is journalled by the pin number the replay finds.
check "open the physical view" [kx::open demo.board:sch 4] 1
kx::show slp RST_IN
check "RN1A's A is pin 1" [string match {*: RN1 | 1 | A |*} [kx::window ccp]] 1
check "open the block's window" [kx::open demo.board:sch 3] 1
kx::show clp RN1A
check "select RN1A's B" [kx::word selectObject pin B:8] 1
check "give it number 6" [kx::pane ccp AssignPinNumber 6] 1
check "back to the physical view" [kx::tab 1] 1
set rows [kx::window ccp]
check "RN1A's A shows pin 3" [string match {*: RN1 | 3 | A |*} $rows] 1
check "pin 1 is gone from RST_IN" [string match {*: RN1 | 1 |*} $rows] 0
set row [lindex [regexp -inline {([0-9]+): RN1 \| 3 \| A \|} $rows] 1]
check "a model on RN1A's A" [kx::edit ccp $row 6 RES_FAST] 1
check "written on RN1A's A" [kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL] RES_FAST
