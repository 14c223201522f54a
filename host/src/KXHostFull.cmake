# The host's windows and commands need the windowing layer and the sibling libraries.
list(APPEND KXHOST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostMainWnd.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostApp.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostGridCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostKeys.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostDesignCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostPeerTools.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostObjectCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostPaneCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostFrameCommands.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostReplay.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/KXHostWordsJournal.cpp
)
set(KXHOST_LIBS kxjournal)
list(APPEND KXHOST_LIBS afx gxgrid rmx kxmsgsrvr kxerrorhandler kxcommon kxcontrols kxinstsigpane kxpropertyeditor)
add_compile_definitions(KXHOST_FULL)
