# The physical view and back: the second window shows the same design; the way back activates the first.
check "physical view" [physicalView -nosave] 1
check "logical view" [logicalView -nosave] 1
# The physical window goes again, so that the windows after this action are those before it.
check "to the physical window" [kx::tab 2] 1
check "close it" [kx::close] 1
check "back to the board" [kx::tab 1] 1
# A component's interface written and read back with one pin moved to a new net, as a sub-tool.
set ::env(RMX_SUBTOOL_ID) 7
# The file lies beside both runs' folders, so that the replay reads the same file.
check "export" [exportInterface -inst R1 -file ../r1.if] 1
set f [open ../r1.if]
set text [read $f]
close $f
set f [open ../r1.if w]
puts -nonewline $f [string map {"pin B inout EN" "pin B inout IF_NET"} $text]
close $f
check "import" [importInterface -inst R1 -file ../r1.if] 1
unset ::env(RMX_SUBTOOL_ID)
checkMessages
# A component added and deleted by name.
check "add" [kx::call AddComponent R77 demo RES sym] 1
check "delete" [kx::call DeleteComponent R77] 1
checkMessages
# Into the power block, in the context of the board, and out again.
kx::select clp PWR1
check "descend" [kx::call Descend] 1
checkMessages
check "close the block's window" [kx::close] 1
check "back to the board" [kx::tab 1] 1
