#include "KXGridAccess.h"

#include "afx/afxwin.h"
#include "grid/gxcommand.h"
#include "grid/gxcore.h"
#include "kxinstsigpane/CommonInterface.h"

CCommonInterface* KXFindPaneInterfaceOfGrid(CGXGridCore* grid) {
    if (!grid) return nullptr;
    for (CWnd* wnd = grid->GridWnd(); wnd; wnd = wnd->GetParent())
        if (auto* pane = dynamic_cast<CCommonInterface*>(wnd)) return pane;
    return nullptr;
}

void KXAddCommandToGrid(CGXGridCore* grid, std::unique_ptr<CGXCommand> command, GXCmdType type) {
    if (grid) grid->AddCommand(command.release(), type);
}
