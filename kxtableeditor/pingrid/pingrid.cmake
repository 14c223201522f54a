# The pin grid (component connectivity details grid).
# Included by kxtableeditor/CMakeLists.txt, which makes the layer library kxte_pingrid of
# KXTE_PINGRID_SOURCES linked to kxte_grid and KXTE_PINGRID_PROVIDERS.
set(_kxpingrid_dir ${CMAKE_CURRENT_LIST_DIR})
  list(APPEND KXTE_PINGRID_SOURCES
    ${_kxpingrid_dir}/KXInstanceDetailsGridWnd.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsFill.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsWidePins.cpp
    ${_kxpingrid_dir}/KXPinFillStyles.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsLoad.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsColumns.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsInit.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsHeader.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPaste.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPupdPaste.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsStyle.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDiffPair.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsParts.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRefresh.cpp
    ${_kxpingrid_dir}/KXPinGridRefresh.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPower.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRows.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsAssoc.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsEditing.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsValidate.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnectNamed.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRename.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDrop.cpp
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
    ${_kxpingrid_dir}/KXInstanceDetailsLegs.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsCustom.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsImport.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnect.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnectRule.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsConnectPair.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsEditPair.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsDisconnect.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsSwap.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPinNumber.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsRetain.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsTerm.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsTermPaste.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPupd.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsModel.cpp
    ${_kxpingrid_dir}/KXInstanceDetailsPublish.cpp)
  list(APPEND KXTE_PINGRID_PROVIDERS kxerrorhandler kxcommon kxcontrols kxmsgsrvr kxpropertyeditor kxsmall kxassoccomp kxinstsigpane rmx)
