# The design window, its document, the connectivity pane and the library's
# entry points: they need the sibling libraries' stand-ins.
list(APPEND KXTE_SHELL_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableDoc.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableDocSave.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableDocFamilySave.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXDesignChangeLog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableChildFrm.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableChildFrmHub.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/KXTableChildFrmCmds.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneContainerView.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneFactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneShow.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneMatrix.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneCmds.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneChanges.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneScript.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneAttach.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXCCPShortcutBar.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneLayout.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneConnect.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneAuto.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneAssoc.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneGrids.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneHub.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPanePaste.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPanePhys.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneFollow.cpp
)
list(APPEND KXTE_SHELL_PROVIDERS rmx kxmsgsrvr kxerrorhandler kxcontrols kxinstsigpane kxnotes kxclipboard kxassoccomp kxsmall)
# The connectivity pane's object information window and the instance connectivity dialog.
list(APPEND KXTE_SHELL_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXObjectInfoWnd.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXObjectInfoWndList.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXBottomPaneObjectInfo.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pane/KXInstConnDlg.cpp
)
