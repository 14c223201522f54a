# The end of a source-tree check run as a script (cmake -P): fails listing every violation, one per
# line, after `summary` (a text with a leading count, as "<n> include(s) break the layering");
# otherwise reports `holds`.
#   report_violations("<violations list>" "include(s) break the layering" "include layering holds")
function(report_violations violations summary holds)
  if(violations)
    list(REMOVE_DUPLICATES violations)
    list(LENGTH violations count)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "${count} ${summary}:\n  ${text}")
  endif()
  message(STATUS "${holds}")
endfunction()
