#include "kxcontrols/KXComboBoxes.h"

IMPLEMENT_DYNCREATE(CKXComboBox, CComboBox)
IMPLEMENT_DYNCREATE(CKXAutoCompleteComboBox, CKXComboBox)
IMPLEMENT_DYNCREATE(CKXToolTip, CToolTipCtrl)

BOOL CKXAutoCompleteComboBox::OnTextTyped(LPCTSTR text) {
    CString typed = text ? text : "";
    SetWindowText(typed);
    SetEditSel(typed.GetLength(), typed.GetLength());
    if (!m_bAutoComplete || typed.IsEmpty()) return FALSE;
    int index = FindString(-1, typed);
    if (index < 0) return FALSE;
    CString item;
    GetLBText(index, item);
    if (item.GetLength() <= typed.GetLength()) return FALSE;
    // The letters as typed, then the rest of the entry, selected.
    SetWindowText(typed + item.Mid(typed.GetLength()));
    SetEditSel(typed.GetLength(), item.GetLength());
    return TRUE;
}

void CKXAutoCompleteComboBox::OnTextDeleted(LPCTSTR text) {
    CString t = text ? text : "";
    SetWindowText(t);
    SetEditSel(t.GetLength(), t.GetLength());
}
