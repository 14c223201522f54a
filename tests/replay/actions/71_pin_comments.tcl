# Pin comments by script word: each journals the component, the pin's cell and the comment call.
kx::show clp U10
check "add" [addComment pin {check the enable} EN] 1
check "modify" [modifyComment pin {enable checked} EN] 1
check "add to a second pin" [addComment pin {power good} PG] 1
check "add to a third pin" [addComment pin {input} IN] 1
check "delete" [deleteComment pin IN] 1
checkMessages
# The host renamed a pin: its comment moves with it.
kx::notify INT_MSG_PRESERVE_PIN_COMMENT U10,EN:U10,EN_IN 1
checkMessages
