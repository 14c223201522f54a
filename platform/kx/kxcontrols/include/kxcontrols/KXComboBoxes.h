// Window controls of the controls library: combo boxes (one that completes what is typed) and a tool tip.
#pragma once

#include "afx/afxdlg.h"

class CKXComboBox : public CComboBox {
    DECLARE_DYNCREATE(CKXComboBox)
public:
    CKXComboBox() = default;
};

// Completes the text typed into it with the first list entry that starts with it (ignoring case); the
// completed part is selected so that typing on replaces it. Deleting never completes.
class CKXAutoCompleteComboBox : public CKXComboBox {
    DECLARE_DYNCREATE(CKXAutoCompleteComboBox)
public:
    CKXAutoCompleteComboBox() = default;

    void SetAutoComplete(BOOL bOn) { m_bAutoComplete = bOn; }
    BOOL GetAutoComplete() const { return m_bAutoComplete; }
    // The user typed `text` (the edit now holds it, caret at its end): shows the completion. TRUE when the
    // text was completed.
    BOOL OnTextTyped(LPCTSTR text);
    // The user deleted back to `text`: the text stays as it is.
    void OnTextDeleted(LPCTSTR text);
    // The user's keys in the edit field: the text takes the place of the selected characters (the
    // placeholder of a prepared rule, a completion), or of the whole text when none are selected (the
    // edit selects its text when it takes the focus); the caret is left after it.
    void TypeText(LPCTSTR text);

private:
    BOOL m_bAutoComplete = TRUE;
};

class CKXToolTip : public CToolTipCtrl {
    DECLARE_DYNCREATE(CKXToolTip)
public:
    CKXToolTip() = default;
};
