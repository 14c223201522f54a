# A pin connected in the signal grid of a signal: the signal's selection and the connection.
kx::show slp REPLAY_A
check "connect J1 pin 9" [addConnection pin [list J1 9 -1 -1 REPLAY_A]] 1
checkMessages
