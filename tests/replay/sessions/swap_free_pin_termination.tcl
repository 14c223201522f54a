# A swap with a pin that has no signal leaves the other pin free and its termination on it: the
# delete that replays that side keeps the termination.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "unfold the buses" [expandPins pin on] 1
check "select DQ<4>" [selectObject pin {DQ<4>}] 1
check "free DQ<4>" [deleteConnection pin] 1
check "select DQ<3>" [selectObject pin {DQ<3>}] 1
check "a termination on DQ<3>" [addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 50] 1
check "swap the bits" [swapSignal pin {DQ<3>} {DQ<4>}] 1
