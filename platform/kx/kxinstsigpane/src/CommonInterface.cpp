#include "kxinstsigpane/CommonInterface.h"

#include "afx/afxobj.h"
#include "grid/gxcommand.h"

int CCommonInterface::nSortType = 0;

CCommonInterface::~CCommonInterface() { DeletePendingObject(); }

void CCommonInterface::ShowInstanceConnectivity(const CDesignContext&, CKXInstanceContextArray*, BOOL) {}
void CCommonInterface::ShowComponentsByName(const CDesignContext&, CStringList*, BOOL) {}
void CCommonInterface::ShowNetBitConnectivity(const CDesignContext&, CKXNetBitContextArray*, BOOL) {}
void CCommonInterface::ShowNetConnectivity(const CDesignContext&, CKXNetContextArray*, BOOL) {}
void CCommonInterface::ShowNetsByName(CStringList*, BOOL) {}
void CCommonInterface::HighlightObject(CKXHiliteObject*) {}

// A list pane keeps no undo history: a command offered to it is not recorded and is deleted here, so
// that ownership passed with the call never leaks.
void CCommonInterface::AddUndoCommand(CGXGridCore*, CGXCommand* command, GXCmdType, int) { delete command; }

BOOL CCommonInterface::CanUndoPaneGrid(CCmdUI*) { return FALSE; }
BOOL CCommonInterface::CanRedoPaneGrid(CCmdUI*) { return FALSE; }

void CCommonInterface::DeletePendingObject() {
    delete m_pPendingObject;
    m_pPendingObject = nullptr;
}
