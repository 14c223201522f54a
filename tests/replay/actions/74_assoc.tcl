# Terminations, pull-ups/pull-downs and pin models of a component's pins, by script word and by the
# automation methods a journal calls.
kx::show clp U10
selectObject pin EN
check "add termination" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22] 1
kx::pane SelectTerminationCol EN 3
check "change delay" [kx::pane ChangeDelay 1ns] 1
check "pull-down" [addPupd pin -type pulldown -dcnet VCC1V0 -value 10k] 1
selectObject pin PG
check "pull-up" [addPupd pin -type pullup -dcnet VCC5V0 -value 4.7k] 1
check "edit pull-up" [editPupd pin PU1 -dcnets VCC1V0 -keyprop [list TOL=1% {NOTE=a b}]] 1
check "delete pull-up" [deletePupd pin] 1
check "model" [assignModel pin LVCMOS33 EN] 1
check "model of a second pin" [assignModel pin LVCMOS33 PG] 1
check "remove model" [removeModel pin PG] 1
check "delete termination" [deleteTermination pin EN] 1
selectObject pin EN
check "termination again" [addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 50] 1
# The signal grid's termination roads: the word and the edit word.
kx::show slp PGOOD
check "select the power-good pin" [selectObject pin 4:U10] 1
check "termination in the signal grid" [addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 33] 1
check "edit in the signal grid" [editTermination pin -oldrefdes R3 -newrefdes R7 -delay 3ns] 1
checkMessages
# A copied pull-down pastes onto another pin's signal: the journal carries the component pasted.
kx::show clp U10
check "copy EN's pull-down" [copy pin [list U10 EN 3] pupd] 1
check "PG's pull-up cell" [kx::pane SelectPUPDCol PG 4] 1
check "paste it onto PG's signal" [paste pin] 1
checkMessages
