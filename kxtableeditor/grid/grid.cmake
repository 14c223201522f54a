# The common grid window, its undo commands and cell controls.
# Included by kxtableeditor/CMakeLists.txt; appends to KXTE_SOURCES and KXTE_PROVIDERS.
# Sources that need a provider join only once that provider's target exists, so a
# half-built tree still configures and the rest of the library still builds.
set(_kxgrid_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND KXTE_SOURCES ${_kxgrid_dir}/KXSpinText.cpp)
