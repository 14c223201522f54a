# Checks that the shipped sources under ROOT (kxtableeditor/, platform/ and host/, test folders left out) call
# std::filesystem only through the overloads that report errors in a std::error_code: a throwing call ends the
# host on a name the file system cannot take. Fails, listing every offending line, when a file
#   - calls a free function of std::filesystem (through "std::filesystem::" or a namespace alias of it) whose
#     last argument is not the error code (named "ec", or ending in "_ec" or "Ec");
#   - walks a directory iterator in a range-for (its increment throws: step it with increment(ec));
#   - asks a directory entry about the file system without an error code (entry.is_regular_file());
#   - opens the whole namespace ("using namespace std::filesystem"), which hides the calls from this check.
#
# usage: cmake -DROOT=<source tree> -P CheckFilesystemCalls.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
  message(FATAL_ERROR "CheckFilesystemCalls: pass -DROOT=<source tree>")
endif()

# The functions of std::filesystem that throw unless given an error code.
set(kThrowing "absolute|canonical|weakly_canonical|relative|proximate|copy|copy_file|copy_symlink|create_directory|create_directories|create_hard_link|create_symlink|create_directory_symlink|current_path|exists|equivalent|file_size|hard_link_count|last_write_time|permissions|read_symlink|remove|remove_all|rename|resize_file|space|status|symlink_status|temp_directory_path|is_block_file|is_character_file|is_directory|is_empty|is_fifo|is_other|is_regular_file|is_socket|is_symlink|directory_iterator|recursive_directory_iterator")
# What a directory entry answers from the file system.
set(kEntryQueries "exists|is_block_file|is_character_file|is_directory|is_fifo|is_other|is_regular_file|is_socket|is_symlink|file_size|hard_link_count|last_write_time|status|symlink_status|refresh")
set(kErrorCodeArgument "^(ec|[A-Za-z0-9_]*_ec|[A-Za-z0-9_]*Ec)$")

include("${CMAKE_CURRENT_LIST_DIR}/SourceCheckReport.cmake")
set(violations "")

# The text of the parenthesised argument list that starts at `open` (the index of "(") in text, without the
# outer parentheses and on one line, and the last top-level argument of it; both empty when the list does not
# close. Brackets inside string literals do not count.
function(argument_list text open outArgs outLast)
  string(LENGTH "${text}" length)
  set(depth 0)
  set(i ${open})
  set(lastStart -1)
  set(quoted FALSE)
  while(i LESS length)
    string(SUBSTRING "${text}" ${i} 1 c)
    if(quoted)
      if(c STREQUAL "\\")
        math(EXPR i "${i} + 1") # the escaped character
      elseif(c STREQUAL "\"")
        set(quoted FALSE)
      endif()
    elseif(c STREQUAL "\"")
      set(quoted TRUE)
    elseif(c STREQUAL "(" OR c STREQUAL "[" OR c STREQUAL "{")
      math(EXPR depth "${depth} + 1")
      if(depth EQUAL 1)
        math(EXPR lastStart "${i} + 1")
      endif()
    elseif(c STREQUAL ")" OR c STREQUAL "]" OR c STREQUAL "}")
      math(EXPR depth "${depth} - 1")
      if(depth EQUAL 0)
        math(EXPR argsStart "${open} + 1")
        math(EXPR argsLength "${i} - ${argsStart}")
        string(SUBSTRING "${text}" ${argsStart} ${argsLength} args)
        string(REGEX REPLACE "[ \t\n]+" " " args "${args}")
        math(EXPR lastLength "${i} - ${lastStart}")
        string(SUBSTRING "${text}" ${lastStart} ${lastLength} last)
        string(STRIP "${last}" last)
        set(${outArgs} "${args}" PARENT_SCOPE)
        set(${outLast} "${last}" PARENT_SCOPE)
        return()
      endif()
    elseif(c STREQUAL "," AND depth EQUAL 1)
      math(EXPR lastStart "${i} + 1")
    endif()
    math(EXPR i "${i} + 1")
  endwhile()
  set(${outArgs} "" PARENT_SCOPE)
  set(${outLast} "" PARENT_SCOPE)
endfunction()

# The line number of the character at index in text.
function(line_of text index out)
  string(SUBSTRING "${text}" 0 ${index} before)
  string(REGEX MATCHALL "\n" breaks "${before}")
  list(LENGTH breaks count)
  math(EXPR line "${count} + 1")
  set(${out} ${line} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources
     "${ROOT}/kxtableeditor/*.h" "${ROOT}/kxtableeditor/*.cpp"
     "${ROOT}/platform/*.h" "${ROOT}/platform/*.cpp"
     "${ROOT}/host/*.h" "${ROOT}/host/*.cpp")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH shown "${ROOT}" "${source}")
  if(shown MATCHES "(^|/)tests/")
    continue()
  endif()
  file(READ "${source}" text)
  if(NOT text MATCHES "filesystem")
    continue()
  endif()
  # Comments say what they like.
  string(REGEX REPLACE "//[^\n]*" "" code "${text}")

  if(code MATCHES "using[ \t]+namespace[ \t]+std::filesystem")
    list(APPEND violations "${shown}: \"using namespace std::filesystem\" hides its calls")
  endif()
  set(prefixes "std::filesystem")
  string(REGEX MATCHALL "namespace[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*=[ \t]*std::filesystem" aliases "${code}")
  foreach(alias IN LISTS aliases)
    string(REGEX REPLACE "namespace[ \t]+([A-Za-z_][A-Za-z0-9_]*).*" "\\1" name "${alias}")
    list(APPEND prefixes "${name}")
  endforeach()
  list(JOIN prefixes "|" prefixPattern)

  # Free functions and iterators: every call must end with its error code.
  set(rest "${code}")
  set(offset 0)
  while(rest MATCHES "(^|[^A-Za-z0-9_:])((${prefixPattern})::(${kThrowing}))[ \t\n]*\\(")
    set(call "${CMAKE_MATCH_2}")
    string(FIND "${rest}" "${CMAKE_MATCH_0}" at)
    string(LENGTH "${CMAKE_MATCH_0}" matched)
    math(EXPR open "${at} + ${matched} - 1")
    argument_list("${rest}" ${open} args last)
    math(EXPR absolute "${offset} + ${at}")
    line_of("${code}" ${absolute} line)
    if(NOT last MATCHES "${kErrorCodeArgument}")
      list(APPEND violations "${shown}:${line}: ${call}(${args}) throws: pass a std::error_code")
    endif()
    math(EXPR next "${open} + 1")
    string(SUBSTRING "${rest}" ${next} -1 rest)
    math(EXPR offset "${offset} + ${next}")
  endwhile()

  # A range-for over a directory iterator steps with the throwing increment.
  string(REGEX MATCHALL "for[ \t]*\\([^;{]*[^:]:[ \t\n]*(${prefixPattern})::(recursive_)?directory_iterator" loops "${code}")
  foreach(loop IN LISTS loops)
    string(FIND "${code}" "${loop}" at)
    line_of("${code}" ${at} line)
    list(APPEND violations "${shown}:${line}: a range-for over a directory iterator throws: step it with increment(ec)")
  endforeach()

  # Directory entries asked without an error code.
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*(\\.|->)(${kEntryQueries})[ \t]*\\([ \t]*\\)" queries "${code}")
  if(code MATCHES "directory_entry|directory_iterator")
    foreach(query IN LISTS queries)
      string(FIND "${code}" "${query}" at)
      line_of("${code}" ${at} line)
      list(APPEND violations "${shown}:${line}: ${query} throws: pass a std::error_code")
    endforeach()
  endif()
endforeach()

report_violations("${violations}" "std::filesystem call(s) can throw" "std::filesystem calls report their errors")
