# The common grid window, its undo commands and cell controls, and the components
# every grid kind uses (scopes, edit bracket, column model, row attributes, change
# digest, row filter, custom columns, dump, journal lines, script text).
# Included by kxtableeditor/CMakeLists.txt; appends to KXTE_SOURCES and KXTE_PROVIDERS.
set(_kxgrid_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND KXTE_SOURCES
  ${_kxgrid_dir}/KXSpinText.cpp
  ${_kxgrid_dir}/KXGridMenus.cpp
  ${_kxgrid_dir}/KXScriptText.cpp
  ${_kxgrid_dir}/KXGridWnd.cpp
  ${_kxgrid_dir}/KXGridUndo.cpp
  ${_kxgrid_dir}/KXEditControls.cpp
  ${_kxgrid_dir}/KXPlusMinusEditButton.cpp
  ${_kxgrid_dir}/KXSpinControl.cpp
  ${_kxgrid_dir}/KXGridEdit.cpp
  ${_kxgrid_dir}/KXColumnModel.cpp
  ${_kxgrid_dir}/KXRowAttrs.cpp
  ${_kxgrid_dir}/KXChangeDigest.cpp
  ${_kxgrid_dir}/KXRowFilter.cpp
  ${_kxgrid_dir}/KXCustomColumns.cpp
  ${_kxgrid_dir}/KXGridDump.cpp
  ${_kxgrid_dir}/KXJournalLine.cpp
  ${_kxgrid_dir}/KXReplaySteps.cpp
  ${_kxgrid_dir}/KXRowIndex.cpp)
list(APPEND KXTE_PROVIDERS gxgrid rmx kxcontrols kxinstsigpane kxclipboard kxmsgsrvr kxerrorhandler kxcommon)
set_property(GLOBAL PROPERTY KXGRID_FULL_BUILT ON)
