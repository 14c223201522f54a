#include "afx/afxdoc.h"

// Placeholders until frames, dialogs and the answer queue land.
UINT CWinApp::GetProfileInt(LPCTSTR, LPCTSTR, int nDefault) { return static_cast<UINT>(nDefault); }
BOOL CWinApp::WriteProfileInt(LPCTSTR, LPCTSTR, int) { return FALSE; }
CString CWinApp::GetProfileString(LPCTSTR, LPCTSTR, LPCTSTR d) { return CString(d); }
BOOL CWinApp::WriteProfileString(LPCTSTR, LPCTSTR, LPCTSTR) { return FALSE; }
