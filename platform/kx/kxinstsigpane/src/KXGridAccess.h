// The few grid-window operations the transaction layer needs, kept in one place.
#pragma once

#include <memory>

#include "grid/gxtypes.h"

class CGXGridCore;
class CGXCommand;
class CCommonInterface;

// The list-pane interface of the first window above the grid's window that implements it; NULL when none.
CCommonInterface* KXFindPaneInterfaceOfGrid(CGXGridCore* grid);
// Files the command in the grid's own undo lists (dropped when there is no grid).
void KXAddCommandToGrid(CGXGridCore* grid, std::unique_ptr<CGXCommand> command, GXCmdType type);
