# A matrix row copied across two components' cells and pasted onto another row: each component's pin goes
# into its own Pin Name cell there, on the key, the word, the method, the menu and the clipboard viewer;
# a paste that would leave a copied pin out refuses before anything changes.
proc pinsOf {signal} {
    set pins {}
    foreach line [split [kx::netlist] "\n"] {
        if {[lindex $line 2] eq $signal && [lindex $line 0] in {U1 U2}} { lappend pins [lrange $line 0 1] }
    }
    return [lsort $pins]
}
check "open" [kx::open demo.board:sch 3] 1
check "view" [kx::pane CreateMatrixView V1 {U1 U2} {MCLK EN PG}] 1
check "select MCLK from U1 to U2" [kx::select ccp 5 4 5 8] 1
check "copy" [kx::key ccp Ctrl+C] 1
set row 6
foreach road {{kx::key ccp Ctrl+V} {paste pin} {kx::pane Paste} {kx::menu 57637} {kx::clipview 1}} {
    check "onto row $row" [kx::select ccp $row 4] 1
    kx::answer question KXTABLE-140 yes
    kx::answer question KXTABLE-140 yes
    check $road [eval $road] 1
    checkMessages KXTABLE-140 KXTABLE-140
    check "pins of row $row after $road" [pinsOf [expr {$row == 6 ? "EN" : "MCLK"}]] {{U1 MCLK} {U2 CLK}}
    set row [expr {$row == 6 ? 5 : 6}]
}
# Onto U2's cell: U1's MCLK would go to U2, which has no such pin, and U2's CLK would find no column.
check "onto U2's cell" [kx::select ccp 6 8] 1
check "a copied pin U2 does not have" [kx::key ccp Ctrl+V] 0
checkMessages KXTABLE-420
check "nothing moved" [pinsOf EN] {{U1 MCLK} {U2 CLK}}
