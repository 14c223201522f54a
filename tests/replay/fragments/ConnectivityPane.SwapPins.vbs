' A pin chosen in the physical view's Swap Pins dialog.
call RMX.OpenDesign("demo.board:sch", "4")
set board_phys = RMX.GetActiveTab()
call board_phys.Clp().Select("U1")
call board_phys.ConnectivityPane().SwapPins("A2")
