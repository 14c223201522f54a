# Opening a design for editing journals the host's open, the tab and its handle.
check "open" [kx::open demo.board:sch 1] 1
