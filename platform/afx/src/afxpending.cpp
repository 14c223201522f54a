#include "afx/afxdoc.h"

// Placeholders until frames, dialogs and the answer queue land.
BOOL CWnd::UpdateData(BOOL) { return TRUE; }
void CCmdTarget::EnableAutomation() { m_bAutomation = TRUE; }
void AfxCreateTemplateControls(CWnd*, UINT) {}
UINT CWinApp::GetProfileInt(LPCTSTR, LPCTSTR, int nDefault) { return static_cast<UINT>(nDefault); }
BOOL CWinApp::WriteProfileInt(LPCTSTR, LPCTSTR, int) { return FALSE; }
CString CWinApp::GetProfileString(LPCTSTR, LPCTSTR, LPCTSTR d) { return CString(d); }
BOOL CWinApp::WriteProfileString(LPCTSTR, LPCTSTR, LPCTSTR) { return FALSE; }
