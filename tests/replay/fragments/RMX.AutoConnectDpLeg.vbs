' A session whose project brings a pair's other leg along, then one whose project does not.
call RMX.AutoConnectDpLeg("1")
call RMX.AutoConnectDpLeg("0")
