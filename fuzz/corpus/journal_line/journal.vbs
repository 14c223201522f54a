' --- Open Design ---
call RMX.OpenDesign("demo.board:sch", "1")
call RMX.SelectTab("1")
set board = RMX.GetActiveTab()
call board.InsertComment("say ""hi""" & vbLf & "next")
call board.ConnectivityPane().SelectPinNameCol("U1", "DQ<3>", 0, True)
call demo.board:sch.AddSignal("N1", "", "", -12)
call board.Close()
