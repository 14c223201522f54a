' A window closed by the journal. Its design was changed and cannot be saved without the Save As
' dialog, which a replay does not answer: the window stays open.
call RMX.OpenDesign("demo.board:sch", "1")
set board = RMX.GetActiveTab()
call board.AddSignal("CLOSE_SIG","","")
call board.Close()
