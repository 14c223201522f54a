# The pin grid (component connectivity details grid).
# Included by kxtableeditor/CMakeLists.txt; appends to KXTE_SOURCES and KXTE_PROVIDERS.
# It builds on the common grid window, so it joins only when that one is built.
set(_kxpingrid_dir ${CMAKE_CURRENT_LIST_DIR})
get_property(_kxpingrid_grid GLOBAL PROPERTY KXGRID_FULL_BUILT)
if(_kxpingrid_grid AND TARGET kxerrorhandler AND TARGET kxcommon AND TARGET kxpropertyeditor AND TARGET kxsmall AND TARGET kxassoccomp AND EXISTS ${_kxpingrid_dir}/../shell/KXShellFull.cmake)
  list(APPEND KXTE_SOURCES
    ${_kxpingrid_dir}/KXInstanceDetailsGridWnd.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsFill.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsLoad.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsColumns.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsInit.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsStyle.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDiffPair.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsParts.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRefresh.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPower.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRows.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsAssoc.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsEditing.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsFilter.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsFind.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsCopy.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDump.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsMenu.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsScript.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsSelect.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsComments.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPropChange.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsKeys.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsCustom.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsImport.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnect.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnectRule.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnectPair.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDisconnect.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsSwap.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPinNumber.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRetain.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsTerm.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPupd.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsModel.cpp)
  list(APPEND KXTE_PROVIDERS kxerrorhandler kxcommon kxcontrols kxmsgsrvr kxpropertyeditor kxsmall kxassoccomp kxinstsigpane rmx)
  set_property(GLOBAL PROPERTY KXPINGRID_BUILT ON)
endif()
