# Checks the include layering of the sources under ROOT and fails (listing every offending
# include) when a file reaches above its layer:
#   - a grid folder (grid/, pingrid/, signalgrid/, physgrids/, matrix/) includes headers of
#     grid/, platform/ and its own folder only: never shell/, pane/ or another grid folder;
#   - platform/ never includes a header of kxtableeditor/;
#   - outside pane/, only the tests include the pane's class header: the shell and the entry
#     points reach the pane through pane/KXConnectivityPane.h.
#
# usage: cmake -DROOT=<source tree> -P CheckIncludeLayering.cmake
if(NOT ROOT)
  message(FATAL_ERROR "CheckIncludeLayering: pass -DROOT=<source tree>")
endif()

set(kGridFolders grid pingrid signalgrid physgrids matrix)
set(kEditorFolders grid pingrid signalgrid physgrids matrix shell pane)
set(kPaneClassHeader "pane/KXBottomPaneContainerView.h")
include("${CMAKE_CURRENT_LIST_DIR}/SourceCheckReport.cmake")
set(violations "")

# The quoted includes of one file, as a list.
function(quoted_includes file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(result "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
    list(APPEND result "${included}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# 1. Grid folders.
foreach(folder IN LISTS kGridFolders)
  file(GLOB_RECURSE sources "${ROOT}/kxtableeditor/${folder}/*.h" "${ROOT}/kxtableeditor/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    quoted_includes("${source}" includes)
    foreach(included IN LISTS includes)
      string(REGEX MATCH "^[^/]+" top "${included}")
      if(NOT included MATCHES "/" OR top STREQUAL folder)
        continue()
      endif()
      list(FIND kEditorFolders "${top}" editorFolder)
      if(editorFolder LESS 0)
        continue() # a platform header
      endif()
      if(top STREQUAL "grid" AND NOT EXISTS "${ROOT}/kxtableeditor/${included}")
        continue() # the platform's grid library
      endif()
      if(top STREQUAL "grid")
        continue() # every grid folder stands on grid/
      endif()
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      list(APPEND violations "${shown} includes ${included}")
    endforeach()
  endforeach()
endforeach()

# 2. platform/ stands below the editor.
file(GLOB_RECURSE platformSources "${ROOT}/platform/*.h" "${ROOT}/platform/*.cpp")
foreach(source IN LISTS platformSources)
  quoted_includes("${source}" includes)
  foreach(included IN LISTS includes)
    if(EXISTS "${ROOT}/kxtableeditor/${included}" AND NOT EXISTS "${ROOT}/platform/${included}"
       AND NOT EXISTS "${ROOT}/platform/kx/${included}")
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      list(APPEND violations "${shown} includes ${included}")
    endif()
  endforeach()
endforeach()

# 3. The pane's class header stays inside pane/.
file(GLOB_RECURSE editorSources "${ROOT}/kxtableeditor/*.h" "${ROOT}/kxtableeditor/*.cpp"
     "${ROOT}/host/*.h" "${ROOT}/host/*.cpp")
foreach(source IN LISTS editorSources)
  if(source MATCHES "/kxtableeditor/pane/")
    continue()
  endif()
  quoted_includes("${source}" includes)
  list(FIND includes "${kPaneClassHeader}" found)
  if(found GREATER -1)
    file(RELATIVE_PATH shown "${ROOT}" "${source}")
    list(APPEND violations "${shown} includes ${kPaneClassHeader}")
  endif()
endforeach()

report_violations("${violations}" "include(s) break the layering" "include layering holds")
