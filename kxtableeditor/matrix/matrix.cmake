# The matrix grid (signals by instances).
# Included by kxtableeditor/CMakeLists.txt, which makes the layer library kxte_matrix of
# KXTE_MATRIX_SOURCES linked to kxte_grid and KXTE_MATRIX_PROVIDERS.
set(_kxmatrix_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND KXTE_MATRIX_SOURCES
  ${_kxmatrix_dir}/KXMatrixGridWnd.cpp
  ${_kxmatrix_dir}/KXMatrixColumns.cpp
  ${_kxmatrix_dir}/KXMatrixCells.cpp
  ${_kxmatrix_dir}/KXMatrixContent.cpp
  ${_kxmatrix_dir}/KXMatrixConnect.cpp
  ${_kxmatrix_dir}/KXMatrixRefresh.cpp
  ${_kxmatrix_dir}/KXMatrixSelect.cpp
  ${_kxmatrix_dir}/KXMatrixMenu.cpp
  ${_kxmatrix_dir}/KXMatrixClipboard.cpp
  ${_kxmatrix_dir}/KXMatrixAssocClip.cpp
  ${_kxmatrix_dir}/KXMatrixAssocAdd.cpp
  ${_kxmatrix_dir}/KXMatrixModels.cpp
  ${_kxmatrix_dir}/KXMatrixPupd.cpp
  ${_kxmatrix_dir}/KXMatrixAssocEdit.cpp
  ${_kxmatrix_dir}/KXMatrixRetain.cpp
  ${_kxmatrix_dir}/KXMatrixProperties.cpp
  ${_kxmatrix_dir}/KXMatrixViewDlg.cpp)
list(APPEND KXTE_MATRIX_PROVIDERS kxerrorhandler kxcommon kxcontrols kxmsgsrvr kxassoccomp kxinstsigpane
     kxpropertyeditor kxclipboard kxnotes kxsmall rmx)
