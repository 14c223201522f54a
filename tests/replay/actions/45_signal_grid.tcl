# Pins connected in the signal grid of a signal (the signal's selection and the connection), and
# one of them deleted again by the Delete command (the signal, the pin's instance cell, the delete).
# A signal grid row is keyed NUMBER:INSTANCE.
kx::show slp REPLAY_A
check "connect J1 pin 9" [addConnection pin [list J1 9 -1 -1 REPLAY_A]] 1
check "connect J1 pin 8" [addConnection pin [list J1 8 -1 -1 REPLAY_A]] 1
check "select J1 pin 9" [selectObject pin 9:J1] 1
check "delete" [kx::menu 35264] 1
checkMessages
# A filter in the grid of several signals: the group shown again, then the filter; taken off again.
kx::show slp REPLAY_A EN
check "filter the group" [kx::edit ccp 3 6 J*] 1
check "unfilter the group" [kx::edit ccp 3 6 *] 1
checkMessages
