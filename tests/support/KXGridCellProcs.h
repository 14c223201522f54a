// Tcl procedures the tests define in the host to find a grid's cells as a user sees them, by
// the text shown in the connectivity pane's active grid (kx::window ccp).
#pragma once

// "kxcell TEXT CAPTION": the row and column (as two words) of the active grid's cell in the first data
// row showing TEXT and the column titled CAPTION; "0 0" when there is none.
// "kxfree": the row after the last row the active grid shows.
inline constexpr const char* kCellProc = R"TCL(
proc kxcell {want caption} {
    set cols {}; set active 0; set row 0; set col 0; set first 6
    foreach line [split [kx::window ccp] \n] {
        if {[string match "  grid *" $line]} {
            set active [string match "*(active)*" $line]
            regexp {first data row ([0-9]+)} $line -> first
            set cols [string range $line [expr {[string first ", columns" $line] + 9}] end]
            continue
        }
        if {!$active || ![string match "    *" $line]} continue
        set colon [string first ": " $line]
        set r [string trim [string range $line 0 [expr {$colon - 1}]]]
        set cells [split [string map [list " | " \x01] [string range $line [expr {$colon + 2}] end]] \x01]
        foreach c $cols t $cells {
            if {$t eq $caption && !$col} { set col $c }
            if {$t eq $want && !$row && $r >= $first} { set row $r }
        }
    }
    return "$row $col"
}
proc kxfree {} {
    set active 0; set last 4
    foreach line [split [kx::window ccp] \n] {
        if {[string match "  grid *" $line]} { set active [string match "*(active)*" $line]; continue }
        if {!$active || ![string match "    *" $line]} continue
        set r [string trim [string range $line 0 [expr {[string first ": " $line] - 1}]]]
        if {$r > $last} { set last $r }
    }
    return [expr {$last + 1}]
}
)TCL";
