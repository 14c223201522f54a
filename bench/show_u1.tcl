# What a new user does with a big FPGA: open the board, show the FPGA's pins, make one edit and
# show the FPGA again (after a look at the edited net). Prints the milliseconds of each step and the
# peak memory the first show added. KX_SHOW_REPEATS=N repeats the edit and the shows N times.
#   bench/gen_fpga_design 10000 /tmp/fpga10k        (build/bench/bin/gen_fpga_design)
#   kxhost --lib /tmp/fpga10k bench/show_u1.tcl
# The board opened is bench.top:sch; the FPGA is U1, its nets SP<n>, SN<n> and DATA<n>.
set repeats [expr {[info exists env(KX_SHOW_REPEATS)] ? $env(KX_SHOW_REPEATS) : 1}]
proc ms {script} {
    set t [clock microseconds]
    uplevel 1 $script
    return [format %.1f [expr {([clock microseconds] - $t) / 1000.0}]]
}
# The process's peak resident memory in kB (Linux).
proc peak {} {
    set f [open /proc/self/status]
    set text [read $f]
    close $f
    regexp {VmHWM:\s+(\d+)} $text -> kb
    return $kb
}
puts "open: [ms {kx::open bench.top:sch}] ms"
set before [peak]
puts "show U1: [ms {kx::show clp U1}] ms"
puts "peak memory added by the show: [expr {[peak] - $before}] kB"
for {set i 0} {$i < $repeats} {incr i} {
    set net [expr {$i % 2 ? "SP1" : "SP2"}]
    puts "edit (P1 to $net): [ms {addConnection pin $net P1}] ms"
    puts "show $net: [ms {kx::show slp $net}] ms"
    puts "show U1 after the edit: [ms {kx::show clp U1}] ms"
}
