' A filter typed into the pin grid's filter row.
call RMX.OpenDesign("demo.board:sch", "1")
set board = RMX.GetActiveTab()
call board.Clp().Select("U1")
call board.ConnectivityPane().FilterRows("Pin Name","M*")
