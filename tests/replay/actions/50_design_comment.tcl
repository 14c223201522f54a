# The design comment, added, changed, deleted and added again.
check "add" [designComment add {first}] 1
check "edit" [designComment edit {second "quoted"}] 1
check "delete" [designComment delete] 1
check "add again" [designComment add {kept}] 1
