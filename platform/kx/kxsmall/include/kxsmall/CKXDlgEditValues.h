// Multiple-value editor: edits the texts of a chain of items in one dialog. Headless: DoModal takes its
// answer from the answer queue; the answer's fields "value0", "value1", ... give the new texts in item order
// and "option" the option flag.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CWnd;
class CStringArray;

// One edited item: a label, the current value and a hint; the dialog fills the new value.
class CKXModifyValueList {
public:
    CKXModifyValueList(const CString& label, const CString& value, const CString& hint,
                       CKXModifyValueList* next = nullptr);
    const CString& GetLabel() const { return m_strLabel; }
    const CString& GetOldValue() const { return m_strValue; }
    const CString& GetHint() const { return m_strHint; }
    CString GetNewValue() const { return m_strNewValue; }
    void SetNewValue(const CString& value) { m_strNewValue = value; }
    CKXModifyValueList* GetNext() const { return m_pNext; }
    void SetNext(CKXModifyValueList* next) { m_pNext = next; }

private:
    CString m_strLabel, m_strValue, m_strHint, m_strNewValue;
    CKXModifyValueList* m_pNext; // not owned
};

// Checks one new value; FALSE refuses it (the dialog then stays open, which headless means cancelled).
typedef BOOL (*KXCheckValueCallBack)(const CString& value, CString& message);

class CKXDlgEditValues {
public:
    enum { IDD = 7301 };
    CKXDlgEditValues(CKXModifyValueList* first, int mode, KXCheckValueCallBack check, const CString& title,
                     const CString& text, const CStringArray* choices, CWnd* parent = nullptr);
    CKXDlgEditValues(CKXModifyValueList* first, int mode, KXCheckValueCallBack check, const CString& title,
                     const CString& text, const std::vector<CString>& choices, CWnd* parent = nullptr);
    // IDOK after the new values were stored in the items, else IDCANCEL (items keep their old values).
    int DoModal();
    BOOL GetOptionFlag() const { return m_bOption; }
    const CString& GetTitle() const { return m_strTitle; }
    int GetMode() const { return m_nMode; }
    const std::vector<CString>& GetChoices() const { return m_choices; }
    CString GetLastError() const { return m_strError; }

private:
    CKXModifyValueList* m_pFirst;
    int m_nMode;
    KXCheckValueCallBack m_pCheck;
    CString m_strTitle, m_strText, m_strError;
    std::vector<CString> m_choices;
    BOOL m_bOption = FALSE;
};
