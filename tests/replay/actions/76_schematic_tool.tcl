# The schematic tool edits the power block while its window is open: a net renamed and a pin's type
# changed there are journalled as the tool's lines, so that the save that follows writes them alike.
kx::show clp U10
check "tool renames a net" [kx::schematic net VCC1V0 VCC1V0_CORE] 1
check "tool retypes a pin" [kx::schematic pintype U10 PG bidirectional] 1
check "renamed" [lsearch -inline [split [kx::netlist] "\n"] "U10 OUT *"] "U10 OUT VCC1V0_CORE"
checkMessages
