# Connects whose bits were chosen in the bits dialog: the replay takes the same bits without asking,
# one bit of a wide bus, and a range spread over two pins of a net the connect makes.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
kx::answer dialog CKXGetVectorBits ok lsb 5 msb 5
check "one bit of a wide bus" [addConnection pin {W<65535..0>} PGOOD] 1
kx::answer dialog CKXGetVectorBits ok lsb 2 msb 3
check "two bits over two pins" [addConnection pin {V<7..0>} MCLK RST_N] 1
check "undo" [undo] 1
check "redo" [redo] 1
check "bits that are no numbers" [kx::pane ChooseVectorBits {2 x}] 0
checkMessages KXPANE-593
