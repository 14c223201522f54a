#include "kxcontrols/KXComboBoxes.h"

#include <algorithm>

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

void CKXAutoCompleteComboBox::TypeText(LPCTSTR text) {
    const CString typed = text ? text : "";
    CString shown;
    GetWindowText(shown);
    const DWORD sel = GetEditSel();
    const int length = shown.GetLength();
    const int start = std::clamp(static_cast<int>(std::min(LOWORD(sel), HIWORD(sel))), 0, length);
    const int end = std::clamp(static_cast<int>(std::max(LOWORD(sel), HIWORD(sel))), 0, length);
    const CString result = start < end ? shown.Left(start) + typed + shown.Mid(end) : typed;
    const int caret = (start < end ? start : 0) + typed.GetLength();
    SetWindowText(result);
    SetEditSel(caret, caret);
}
