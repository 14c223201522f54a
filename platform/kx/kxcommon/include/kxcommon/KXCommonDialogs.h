// The small dialogs that the editors share. Headless: DoModal takes its answer from the answer queue,
// by class name, with the field values named below; an unanswered dialog is cancelled.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CWnd;
class IInstance;

// Which bits of a bus net to connect to a pin. Fields: "lsb", "msb", "step", "pinLsb", "pinMsb"
// (decimal; each defaults to the preset value). An answer the dialog cannot take makes it answer Cancel,
// refused with its reason in the answer log (the road that opened it says so): a field that is not a
// number, a net bit outside 0..KX_NAME_MAX_BIT, a step below 1, pin bits outside the vector pin shown (or,
// with no such pin, other than -1 or a bit). Nothing is connected then.
class CKXGetVectorBits {
public:
    explicit CKXGetVectorBits(CWnd* /*parent*/ = nullptr) {}
    void SetVectorAndPinWidth(const CString& netName, int lsb, int msb, int totalWidth,
                              const CString& pinName, int pinLsb, int pinMsb);
    INT_PTR DoModal();
    void GetBits(int& lsb, int& msb, int& step, int& pinLsb, int& pinMsb) const;

    const CString& GetNetName() const { return m_strNet; }
    const CString& GetPinName() const { return m_strPin; }
    int GetTotalWidth() const { return m_nTotalWidth; }

private:
    // Why these fields cannot be taken for the preset net and pin; empty when they can.
    CString FieldsFault(int lsb, int msb, int step, int pinLsb, int pinMsb) const;
    CString m_strNet, m_strPin;
    int m_nLsb = -1, m_nMsb = -1, m_nStep = 1, m_nTotalWidth = 0, m_nPinLsb = -1, m_nPinMsb = -1;
};

// Whether open pins share one new signal or each gets its own. Field: "common" ("1" or "0", default "0").
// DoModal answers IDOK, or IDCANCEL (2) when cancelled.
class CKXOpenPinConnectionDlg {
public:
    explicit CKXOpenPinConnectionDlg(CWnd* /*parent*/ = nullptr) {}
    INT_PTR DoModal();
    BOOL IsCommonSignalChosen() const { return m_bCommon; }

private:
    BOOL m_bCommon = FALSE;
};
