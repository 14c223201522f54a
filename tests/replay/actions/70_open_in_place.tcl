# A second window, which saves in place (open mode 3), on the power block: its pin comments go to
# the block's comments file.
check "open" [kx::open demo.PWR:sch 3] 1
