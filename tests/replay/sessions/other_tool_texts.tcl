# Values a tool or the host gives with quotes, braces, backslashes, Tcl's substitutions, line breaks and
# other control characters: the journal keeps each whole on its line, and the replay sets the very same text.
check "open" [kx::open demo.board:sch 3] 1
kx::show clp U1
check "quotes and a line break" \
    [kx::notify MSG_VIOLATION_RESOLVED [list demo.board:sch@U1 NOTE "say \"hi\"\nthen {go}"]] 1
check "an open brace and substitutions" \
    [kx::notify MSG_ASSOC_COMP_CHANGED {} [list demo.board:sch@R1 NOTE "a \{b \\ \[exit\] \$x\r\x01\t"]] 1
check "a quote at the end" [kx::setprop demo.board:sch@PWR1 NOTE "5% \""] 1
check "a carriage return and a line feed" [kx::setprop demo.board:sch@U1 TOL "1\r\n2\x1f"] 1
check "the text set" [kx::prop demo.board:sch@R1 NOTE] "a \{b \\ \[exit\] \$x\r\x01\t"
