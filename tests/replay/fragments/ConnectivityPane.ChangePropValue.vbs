' A value typed into a custom column of the pin grid, replayed without the user's settings: the
' column comes first.
call RMX.OpenDesign("demo.board:sch", "1")
set board = RMX.GetActiveTab()
call board.Clp().Select("U1")
call board.ConnectivityPane().SelectPinNameCol("MCLK","B14")
call board.ConnectivityPane().AddPropColumn("VOLTAGE|Voltage|8s|PINPROP|SHOW")
call board.ConnectivityPane().ChangePropValue("VOLTAGE","3.3")
