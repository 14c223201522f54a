#include "KXGridAccess.h"

#include "grid/gxcommand.h"

// Without a grid window library to walk, no pane is found and commands are dropped.
CCommonInterface* KXFindPaneInterfaceOfGrid(CGXGridCore*) { return nullptr; }
void KXAddCommandToGrid(CGXGridCore*, std::unique_ptr<CGXCommand>, GXCmdType) {}
