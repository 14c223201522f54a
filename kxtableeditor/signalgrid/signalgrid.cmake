# The signal grid (signal connectivity details grid).
# Included by kxtableeditor/CMakeLists.txt, which makes the layer library kxte_signalgrid of
# KXTE_SIGNALGRID_SOURCES linked to kxte_grid and KXTE_SIGNALGRID_PROVIDERS.
set(_kxsignalgrid_dir ${CMAKE_CURRENT_LIST_DIR})
  list(APPEND KXTE_SIGNALGRID_SOURCES
    ${_kxsignalgrid_dir}/KXSignalDetailsGridWnd.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsColumns.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsRows.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsEditing.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsConnect.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsRefresh.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsDump.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsDelete.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsStyle.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsIndex.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsSelect.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsClipboard.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsPaste.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsTerminations.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsTermAuto.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsCustom.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsModels.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsMenu.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsDrop.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsPower.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsPairs.cpp
    ${_kxsignalgrid_dir}/KXSignalDetailsCellClick.cpp)
  list(APPEND KXTE_SIGNALGRID_PROVIDERS kxerrorhandler kxcommon kxcontrols kxmsgsrvr kxassoccomp kxinstsigpane
       kxpropertyeditor kxclipboard kxsmall rmx)
