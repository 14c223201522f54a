#include "kxcontrols/KXDialogs.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "afx/afxanswer.h"
#include "kxcontrols/KXRegistrySettings.h"

BOOL CKXScriptedDialog::RunScripted(bool fieldsOnCancel) {
    AfxDialogAnswer answer;
    BOOL ok = AfxGetAnswerQueue().TakeDialog(m_strClass.GetString(), answer);
    if (!ok && !fieldsOnCancel) return FALSE;
    for (const auto& [name, value] : answer.fields) OnField(name, value);
    return ok;
}

BOOL CKXScriptedDialog::IsTrue(const CString& value) {
    CString v = value;
    v.Trim();
    return v == "1" || v.CompareNoCase("true") == 0 || v.CompareNoCase("yes") == 0 ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------------------

CKXDontAskAgainDlg::CKXDontAskAgainDlg(LPCTSTR message, CWnd* pParent)
    : CKXDontAskAgainDlg("CKXDontAskAgainDlg", message, pParent) {}

CKXDontAskAgainDlg::CKXDontAskAgainDlg(LPCTSTR className, LPCTSTR message, CWnd* pParent)
    : CKXScriptedDialog(className, pParent), m_strMessage(message ? message : "") {}

// The box is ticked or not whichever button closes the dialog.
int CKXDontAskAgainDlg::DoModal() { return RunScripted(true) ? IDOK : IDCANCEL; }

void CKXDontAskAgainDlg::OnField(const CString& name, const CString& value) {
    if (name == "dontAskAgain") m_bDontAskAgain = IsTrue(value);
}

CKXDontAskAgainYesNoDlg::CKXDontAskAgainYesNoDlg(LPCTSTR message, CWnd* pParent)
    : CKXDontAskAgainDlg("CKXDontAskAgainYesNoDlg", message, pParent) {}

int CKXDontAskAgainYesNoDlg::DoModal() { return RunScripted(true) ? IDYES : IDNO; }

// ---------------------------------------------------------------------------------------------------------

CKXRetainAssocCompDlg::CKXRetainAssocCompDlg(CWnd* pParent) : CKXScriptedDialog("CKXRetainAssocCompDlg", pParent) {
    int dontAsk = 0, term = 1, pupd = 1;
    CKXRegistrySettings::GetValue(nullptr, RegDontAsk(), dontAsk);
    if (dontAsk) {
        CKXRegistrySettings::GetValue(nullptr, RegPreserveTermination(), term);
        CKXRegistrySettings::GetValue(nullptr, RegPreservePupd(), pupd);
        m_bDontAsk = TRUE;
        m_bPreserveTermination = term != 0;
        m_bPreservePupd = pupd != 0;
    }
}

int CKXRetainAssocCompDlg::DoModal() {
    BOOL before = m_bDontAsk;
    if (!RunScripted()) return IDCANCEL;
    if (m_bDontAsk && !before) {
        CKXRegistrySettings::SetValue(nullptr, RegDontAsk(), 1);
        CKXRegistrySettings::SetValue(nullptr, RegPreserveTermination(), m_bPreserveTermination ? 1 : 0);
        CKXRegistrySettings::SetValue(nullptr, RegPreservePupd(), m_bPreservePupd ? 1 : 0);
    }
    return IDOK;
}

void CKXRetainAssocCompDlg::OnField(const CString& name, const CString& value) {
    if (name == "preserveTermination")
        m_bPreserveTermination = IsTrue(value);
    else if (name == "preservePupd")
        m_bPreservePupd = IsTrue(value);
    else if (name == "dontAsk")
        m_bDontAsk = IsTrue(value);
}

void CKXRetainAssocCompDlg::SetNetReplaceList(const CStringList& list) {
    m_netReplaceList.RemoveAll();
    for (POSITION pos = list.GetHeadPosition(); pos;) m_netReplaceList.AddTail(list.GetNext(pos));
}

void CKXRetainAssocCompDlg::GetNetReplaceList(CStringList& list) const {
    list.RemoveAll();
    for (POSITION pos = m_netReplaceList.GetHeadPosition(); pos;) list.AddTail(m_netReplaceList.GetNext(pos));
}

BOOL CKXRetainAssocCompDlg::IsAlreadyCopied(LPCTSTR oldNet, LPCTSTR newNet) {
    // A tab cannot be part of a net name, so it separates the pair unambiguously.
    CString key = CString(oldNet ? oldNet : "") + "\t" + CString(newNet ? newNet : "");
    if (m_netReplaceList.Find(key.GetString())) return TRUE;
    m_netReplaceList.AddTail(key);
    return FALSE;
}

// ---------------------------------------------------------------------------------------------------------

CKXCommentsDlg::CKXCommentsDlg(LPCTSTR text, CWnd* pParent)
    : CKXScriptedDialog("CKXCommentsDlg", pParent), m_strText(text ? text : "") {}

int CKXCommentsDlg::DoModal() { return RunScripted() ? IDOK : IDCANCEL; }

void CKXCommentsDlg::OnField(const CString& name, const CString& value) {
    if (name == "text") m_strText = value;
}

CKXZoomDialog::CKXZoomDialog(int zoom, CWnd* pParent) : CKXScriptedDialog("CKXZoomDialog", pParent) { SetZoom(zoom); }

void CKXZoomDialog::SetZoom(int zoom) { m_nZoom = std::clamp(zoom, kMinZoom, kMaxZoom); }

int CKXZoomDialog::DoModal() {
    const int before = m_nZoom;
    m_bOutOfRange = FALSE;
    if (!RunScripted()) {
        m_nZoom = before;
        return IDCANCEL;
    }
    if (m_bOutOfRange) {
        // The dialog keeps the zoom it had: a value it cannot take is refused, never brought into range.
        m_nZoom = before;
        return IDCANCEL;
    }
    return IDOK;
}

void CKXZoomDialog::OnField(const CString& name, const CString& value) {
    if (name != "zoom") return;
    CString text = value;
    text.Trim();
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text.GetString(), &end, 10);
    // An empty text or one that is no whole number is no zoom the dialog can take, as one out of range.
    const bool number = !text.IsEmpty() && end && *end == '\0';
    if (!number || errno == ERANGE || v < kMinZoom || v > kMaxZoom) {
        m_bOutOfRange = TRUE;
        return;
    }
    SetZoom(static_cast<int>(v));
}
