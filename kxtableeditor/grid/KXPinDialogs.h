// The two dialogs of the pin commands of the pin and physical part grids: choosing another pin
// number for a pin among the candidates of the pin-name generator, and choosing
// the pin to swap a pin with. Headless: DoModal answers from the answer queue
// (dialog CKXAssignPinDialog, field "pin"; dialog CKXSwappinsDialog, field "pin").
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <vector>

class CWnd;

class CKXAssignPinDialog {
public:
    enum { IDD = 8884 };
    explicit CKXAssignPinDialog(CWnd* parent = nullptr) { (void)parent; }
    void SetPinGenerator(HMTGEN gen);
    void SetInstanceContext(const CInstanceContext& instance) { m_instance = instance; }
    void SetPinInfo(int row, CString baseName, int first, int second, CString pinNumber);
    // The candidate pin numbers, in the generator's order.
    const std::vector<CString>& GetCandidates() const { return m_candidates; }
    int DoModal();
    CString GetSelectedPinData() const { return m_strChosen; }
    // The chosen pin number when it differs from the pin's own; NULL otherwise.
    const char* GetChangedPin() const;

private:
    std::vector<CString> m_candidates;
    CInstanceContext m_instance;
    CString m_strCurrent, m_strChosen;
};

class CKXSwappinsDialog {
public:
    CKXSwappinsDialog(const CInstanceContext& instance, CString pinName, CString pinNumber, CWnd* parent = nullptr);
    // The pin numbers the pin may be swapped with (the packaging's swap groups).
    const std::vector<CString>& GetSwappablePins();
    int DoModal();
    void SetSwappablePinNo(CString pinNumber) { m_strChosen = pinNumber; }
    CString getSwappablePinNumber() const { return m_strChosen; }

private:
    CInstanceContext m_instance;
    CString m_strPinName, m_strPinNumber, m_strChosen;
    std::vector<CString> m_swappable;
    bool m_bRead = false;
};
