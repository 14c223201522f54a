# The schematic tool edits the power block while its window is open: a net renamed, a pin's type
# changed and a pin renamed (and back) there are journalled as the tool's lines, so that the save that
# follows writes them alike; an edit that changes nothing is not journalled.
kx::show clp U10
check "tool renames a net" [kx::schematic net VCC1V0 VCC1V0_CORE] 1
check "tool retypes a pin" [kx::schematic pintype U10 PG bidirectional] 1
check "renamed" [lsearch -inline [split [kx::netlist] "\n"] "U10 OUT *"] "U10 OUT VCC1V0_CORE"
check "tool renames a pin" [kx::schematic pin U10 EN EN_X] 1
check "renamed pin" [lsearch -inline [split [kx::netlist] "\n"] "U10 EN_X *"] "U10 EN_X EN"
check "tool renames it back" [kx::schematic pin U10 EN_X EN] 1
checkMessages
check "tool edit that changes nothing" [kx::schematic instance U10 U10] 0
checkMessages KXPANE-760
