# View options of the pin grid.
kx::show clp U10
check "view options" [setViewOption pin bus_off dp_off] 1
check "view options back" [setViewOption pin bus_on dp_on] 1
