' A pin number chosen in the physical view's Assign Pin Number dialog.
call RMX.OpenDesign("demo.board:sch", "4")
set board_phys = RMX.GetActiveTab()
call board_phys.Clp().Select("RN1A")
call board_phys.ConnectivityPane().SelectPinNameCol("A","1")
call board_phys.ConnectivityPane().AssignPinNumber("3")
