' A pin's Signal cell typed in a window of open mode 0, whose pane commands connect nothing.
call RMX.OpenDesign("demo.board:sch", "0")
set board = RMX.GetActiveTab()
call board.Clp().Select("U1")
call board.ConnectivityPane().SelectSignalCol("PGOOD","C10")
call board.ConnectivityPane().TypeSignal("NEWPG")
