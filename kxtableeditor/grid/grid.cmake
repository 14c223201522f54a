# The common grid window, its undo commands and cell controls, and the components
# every grid kind uses (scopes, edit bracket, column model, row attributes, change
# digest, row filter, custom columns, dump, journal lines, script text).
# Included by kxtableeditor/CMakeLists.txt, which makes the layer library kxte_grid of
# KXTE_GRID_SOURCES linked to KXTE_GRID_PROVIDERS.
set(_kxgrid_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND KXTE_GRID_SOURCES
  ${_kxgrid_dir}/KXSpinText.cpp
  ${_kxgrid_dir}/KXGridMenus.cpp
  ${_kxgrid_dir}/KXScriptText.cpp
  ${_kxgrid_dir}/KXJournalWindows.cpp
  ${_kxgrid_dir}/KXClipboardText.cpp
  ${_kxgrid_dir}/KXPropLists.cpp
  ${_kxgrid_dir}/KXTerminationTargets.cpp
  ${_kxgrid_dir}/KXPinModels.cpp
  ${_kxgrid_dir}/KXPartSections.cpp
  ${_kxgrid_dir}/KXGridWnd.cpp
  ${_kxgrid_dir}/KXGridPublish.cpp
  ${_kxgrid_dir}/KXGridInput.cpp
  ${_kxgrid_dir}/KXGridCellEdit.cpp
  ${_kxgrid_dir}/KXGridUndo.cpp
  ${_kxgrid_dir}/KXEditControls.cpp
  ${_kxgrid_dir}/KXPlusMinusEditButton.cpp
  ${_kxgrid_dir}/KXSpinControl.cpp
  ${_kxgrid_dir}/KXGridEdit.cpp
  ${_kxgrid_dir}/KXAssocCompSteps.cpp
  ${_kxgrid_dir}/KXPupdChanges.cpp
  ${_kxgrid_dir}/KXColumnModel.cpp
  ${_kxgrid_dir}/KXRowAttrs.cpp
  ${_kxgrid_dir}/KXChangeDigest.cpp
  ${_kxgrid_dir}/KXRowFilter.cpp
  ${_kxgrid_dir}/KXDiffPairLegs.cpp
  ${_kxgrid_dir}/KXPinDialogs.cpp
  ${_kxgrid_dir}/KXFindAnswer.cpp
  ${_kxgrid_dir}/KXCustomColumns.cpp
  ${_kxgrid_dir}/KXGridDump.cpp
  ${_kxgrid_dir}/KXJournalLine.cpp
  ${_kxgrid_dir}/KXReplaySteps.cpp
  ${_kxgrid_dir}/KXEditResult.cpp
  ${_kxgrid_dir}/KXRowIndex.cpp
  ${_kxgrid_dir}/KXListExpr.cpp
  ${_kxgrid_dir}/KXProjectReader.cpp
  ${_kxgrid_dir}/KXGlobalMessages.cpp
  ${_kxgrid_dir}/KXDropPayload.cpp
  ${_kxgrid_dir}/KXTableOleDropTarget.cpp)
list(APPEND KXTE_GRID_PROVIDERS afx gxgrid rmx kxcontrols kxinstsigpane kxclipboard kxmsgsrvr kxerrorhandler kxcommon kxsmall kxassoccomp)
