// The pin-number and swap-pins dialogs of the physical part grid.
#include "grid/KXPinDialogs.h"

#include "afx/afxanswer.h"
#include "afx/afxwin.h"
#include "rmx/server.h"

#include <algorithm>

void CKXAssignPinDialog::SetPinGenerator(HMTGEN gen) {
    m_candidates.clear();
    if (!gen) return;
    hmtResetGen(gen);
    while (HMTPIN pin = hmtGenPins(gen))
        m_candidates.emplace_back(hmtPinName(pin));
    hmtResetGen(gen);
}

void CKXAssignPinDialog::SetPinInfo(int, CString, int, int, CString pinNumber) {
    m_strCurrent = pinNumber;
}

int CKXAssignPinDialog::DoModal() {
    m_strChosen.Empty();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXAssignPinDialog", answer) || !answer.bOK) return IDCANCEL;
    auto it = answer.fields.find("pin");
    if (it == answer.fields.end()) return IDCANCEL;
    // Only a number the generator offers can be chosen.
    if (std::find(m_candidates.begin(), m_candidates.end(), it->second) == m_candidates.end()) return IDCANCEL;
    m_strChosen = it->second;
    return IDOK;
}

const char* CKXAssignPinDialog::GetChangedPin() const {
    if (m_strChosen.IsEmpty() || m_strChosen == m_strCurrent) return nullptr;
    return hmtHashSaveStrng(m_strChosen.GetString());
}

CKXSwappinsDialog::CKXSwappinsDialog(const CInstanceContext& instance, CString pinName, CString pinNumber, CWnd*)
    : m_instance(instance), m_strPinName(pinName), m_strPinNumber(pinNumber) {}

const std::vector<CString>& CKXSwappinsDialog::GetSwappablePins() {
    // Read when the dialog shows them, not for a swap given by number.
    if (!m_bRead)
        if (IServer* server = m_instance ? m_instance.server() : nullptr)
            m_swappable = server->pinSwapService()->swappablePins(m_instance, m_strPinNumber.GetString());
    m_bRead = true;
    return m_swappable;
}

int CKXSwappinsDialog::DoModal() {
    m_strChosen.Empty();
    GetSwappablePins();
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXSwappinsDialog", answer) || !answer.bOK) return IDCANCEL;
    auto it = answer.fields.find("pin");
    if (it == answer.fields.end()) return IDCANCEL;
    if (std::find(m_swappable.begin(), m_swappable.end(), it->second) == m_swappable.end()) return IDCANCEL;
    m_strChosen = it->second;
    return IDOK;
}
