# The common grid window, its undo commands and cell controls.
# Included by kxtableeditor/CMakeLists.txt; appends to KXTE_SOURCES and KXTE_PROVIDERS.
# The grid window and its controls join once the providers they build on exist.
set(_kxgrid_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND KXTE_SOURCES ${_kxgrid_dir}/KXSpinText.cpp ${_kxgrid_dir}/KXGridMenus.cpp)

# The grid window and its controls need the providers below.
if(TARGET gxgrid AND TARGET rmx AND TARGET kxcontrols AND TARGET kxinstsigpane AND TARGET kxclipboard AND TARGET kxmsgsrvr)
  list(APPEND KXTE_SOURCES
    ${_kxgrid_dir}/KXGridWnd.cpp
    ${_kxgrid_dir}/KXGridUndo.cpp
    ${_kxgrid_dir}/KXEditControls.cpp
    ${_kxgrid_dir}/KXPlusMinusEditButton.cpp
    ${_kxgrid_dir}/KXSpinControl.cpp)
  list(APPEND KXTE_PROVIDERS gxgrid rmx kxcontrols kxinstsigpane kxclipboard kxmsgsrvr)
  set_property(GLOBAL PROPERTY KXGRID_FULL_BUILT ON)
endif()

# Rows by the design objects they show, for every grid kind.
list(APPEND KXTE_SOURCES ${_kxgrid_dir}/KXRowIndex.cpp)
