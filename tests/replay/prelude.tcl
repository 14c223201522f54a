# The recording run's helpers. Each action script records its part of the journal; a check that
# fails stops the recording with the action's name.
proc check {what got want} {
    if {$got ne $want} { error "$::action: $what gave \"$got\", not \"$want\"" }
}
# The messages shown since the last call must be these.
proc checkMessages {args} { check "messages" [kx::messages] $args }
