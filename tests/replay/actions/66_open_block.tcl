# The host opens a block of the board within it, as the host application does (open mode 3), and the
# block's window ascends to the board again; both windows go again, so that the windows after this
# action are those before it.
check "open the block" [kx::open -block PWR1 3] 1
check "ascend" [ascend] 1
checkMessages
check "close the board's window of the ascend" [kx::close] 1
check "to the block's window" [kx::tab 2] 1
check "close it" [kx::close] 1
check "back to the board" [kx::tab 1] 1
