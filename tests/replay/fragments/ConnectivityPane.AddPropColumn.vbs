' A value typed into a net property column of a signal grid: the replay adds the column (once,
' however often the journal names it) before it writes the value.
call RMX.OpenDesign("demo.board:sch", "1")
set board = RMX.GetActiveTab()
call board.Slp().Select("MCLK")
call board.ConnectivityPane().SelectInstanceCol("U1","B14")
call board.ConnectivityPane().AddPropColumn("LENGTH|Length|8s|NETPROP|SHOW")
call board.ConnectivityPane().AddPropColumn("LENGTH|Length|8s|NETPROP|SHOW")
call board.ConnectivityPane().ChangePropValue("LENGTH","120")
