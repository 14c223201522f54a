#include "afx/afxwin.h"

// Placeholders until frames, dialogs and the answer queue land.
CFrameWnd* CWnd::GetParentFrame() const { return nullptr; }
CFrameWnd* CWnd::GetTopLevelFrame() const { return nullptr; }
BOOL CWnd::UpdateData(BOOL) { return TRUE; }
void CCmdTarget::EnableAutomation() { m_bAutomation = TRUE; }
