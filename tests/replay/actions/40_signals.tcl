# Signals added, aliased and unaliased through automation; an undo and a redo.
check "add signal" [kx::call AddSignal REPLAY_A {} {}] 1
check "add signal" [kx::call AddSignal REPLAY_B {} {}] 1
check "alias" [kx::call AliasNets REPLAY_A REPLAY_B] 1
check "unalias" [kx::call DeleteAlias REPLAY_A REPLAY_B] 1
check "undo" [undo] 1
check "redo" [redo] 1
