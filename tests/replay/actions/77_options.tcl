# A user option set as the host's settings dialog sets it: journalled by the host before the windows take
# it, so that a replay's windows, those opened after it too, read what the session's read.
kx::show clp U10
check "pairs folded off" [kx::option show_dp_pins_ccp 0] ""
check "pairs folded again" [kx::option show_dp_pins_ccp 1] ""
