// The controls library's small dialogs. Like every modal thing of the system they are answered from the
// answer queue, by class name (the class names below), with these fields:
//   CKXDontAskAgainDlg, CKXDontAskAgainYesNoDlg   "dontAskAgain" = "1" / "0"
//   CKXRetainAssocCompDlg                         "preserveTermination", "preservePupd", "dontAsk" = "1"/"0"
//   CKXCommentsDlg                                "text"
//   CKXZoomDialog                                 "zoom" (percent, 10 to 400)
// An unanswered dialog is cancelled.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

class CWnd;

// Shared part: the parent window and the scripted run.
class CKXScriptedDialog {
public:
    explicit CKXScriptedDialog(LPCTSTR className, CWnd* pParent = nullptr) : m_strClass(className), m_pParent(pParent) {}
    virtual ~CKXScriptedDialog() = default;
    CKXScriptedDialog(const CKXScriptedDialog&) = delete;
    CKXScriptedDialog& operator=(const CKXScriptedDialog&) = delete;

    CWnd* GetParent() const { return m_pParent; }
    const CString& GetClassName() const { return m_strClass; }

protected:
    // Takes the dialog's answer from the queue; TRUE when accepted, with the fields applied by OnField
    // (also to a refused answer when fieldsOnCancel: a check box keeps its state whichever button closes).
    BOOL RunScripted(bool fieldsOnCancel = false);
    // Applies one answered field; unknown fields are ignored.
    virtual void OnField(const CString& name, const CString& value) = 0;
    static BOOL IsTrue(const CString& value);

private:
    CString m_strClass;
    CWnd* m_pParent;
};

// Information with a "don't show this again" box; DoModal returns IDOK or IDCANCEL.
class CKXDontAskAgainDlg : public CKXScriptedDialog {
public:
    explicit CKXDontAskAgainDlg(LPCTSTR message = "", CWnd* pParent = nullptr);
    void SetMessage(LPCTSTR message) { m_strMessage = message ? message : ""; }
    const CString& GetMessage() const { return m_strMessage; }
    virtual int DoModal();
    BOOL GetDontAskAgain() const { return m_bDontAskAgain; }
    void SetDontAskAgain(BOOL b) { m_bDontAskAgain = b; }

    BOOL m_bDontAskAgain = FALSE;

protected:
    CKXDontAskAgainDlg(LPCTSTR className, LPCTSTR message, CWnd* pParent);
    void OnField(const CString& name, const CString& value) override;
    CString m_strMessage;
};

// A yes/no question with a "don't ask again" box; DoModal returns IDYES or IDNO (unanswered: IDNO).
class CKXDontAskAgainYesNoDlg : public CKXDontAskAgainDlg {
public:
    explicit CKXDontAskAgainYesNoDlg(LPCTSTR message = "", CWnd* pParent = nullptr);
    int DoModal() override;
};

// The question whether terminations and pull-ups/pull-downs are kept when pins move to another signal.
// The "don't ask" choice and the two answers given with it are remembered in the registry; a question made
// afterwards starts with those answers and DontAskToRetainAssocComp() is TRUE.
class CKXRetainAssocCompDlg : public CKXScriptedDialog {
public:
    explicit CKXRetainAssocCompDlg(CWnd* pParent = nullptr);
    int DoModal(); // IDOK or IDCANCEL; on Cancel the answers stay as they were

    BOOL DontAskToRetainAssocComp() const { return m_bDontAsk; }
    BOOL CanPreserveTermination() const { return m_bPreserveTermination; }
    BOOL CanPreservePupd() const { return m_bPreservePupd; }
    void SetPreserveTerminationFlag(int flag) { m_bPreserveTermination = flag != 0; }
    void SetPreservePupdFlag(int flag) { m_bPreservePupd = flag != 0; }

    // The nets whose pull-ups were already carried over in this run, as "old" -> "new" pairs; carried from
    // one connect to the next by the caller.
    void SetNetReplaceList(const CStringList& list);
    void GetNetReplaceList(CStringList& list) const;
    // FALSE the first time a pair is asked (and remembers it), TRUE afterwards.
    BOOL IsAlreadyCopied(LPCTSTR oldNet, LPCTSTR newNet);

    // Registry values that keep the "don't ask" choice.
    static LPCTSTR RegDontAsk() { return "retain_assoc_comp_dont_ask"; }
    static LPCTSTR RegPreserveTermination() { return "retain_assoc_comp_termination"; }
    static LPCTSTR RegPreservePupd() { return "retain_assoc_comp_pupd"; }

protected:
    void OnField(const CString& name, const CString& value) override;

private:
    BOOL m_bDontAsk = FALSE;
    BOOL m_bPreserveTermination = TRUE;
    BOOL m_bPreservePupd = TRUE;
    CStringList m_netReplaceList;
};

// The comment editor; DoModal returns IDOK (GetText gives the text) or IDCANCEL.
class CKXCommentsDlg : public CKXScriptedDialog {
public:
    explicit CKXCommentsDlg(LPCTSTR text = "", CWnd* pParent = nullptr);
    int DoModal();
    const CString& GetText() const { return m_strText; }
    void SetText(LPCTSTR text) { m_strText = text ? text : ""; }

    CString m_strText;

protected:
    void OnField(const CString& name, const CString& value) override;
};

// The zoom chooser; DoModal returns IDOK (GetZoom gives the percentage) or IDCANCEL. A zoom entered
// outside kMinZoom..kMaxZoom, or a text that is no whole number (an empty one too), is refused (IDCANCEL,
// the zoom unchanged; IsOutOfRange tells the caller).
class CKXZoomDialog : public CKXScriptedDialog {
public:
    explicit CKXZoomDialog(int zoom = 100, CWnd* pParent = nullptr);
    int DoModal();
    int GetZoom() const { return m_nZoom; }
    void SetZoom(int zoom);
    BOOL IsOutOfRange() const { return m_bOutOfRange; }

    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoom = 400;

protected:
    void OnField(const CString& name, const CString& value) override;

private:
    int m_nZoom = 100;
    BOOL m_bOutOfRange = FALSE;
};
