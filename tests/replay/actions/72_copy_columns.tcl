# Copying pins by key from each column journals the column's select call and the copy.
kx::show clp U10
foreach column {{Pin Name} {Pin Number} Signal Termination pupd} {
    check "copy from $column" [copy pin EN $column] 1
}
checkMessages
