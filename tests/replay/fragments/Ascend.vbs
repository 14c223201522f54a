' Going up from a block opened from its parent.
call RMX.OpenDesign("demo.PWR:sch", "3")
set PWR = RMX.GetActiveTab()
call PWR.Ascend()
