#include "kxcommon/KXCommonDialogs.h"

#include "afx/afxanswer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Reads an optional decimal field; false when present and not a number in [min, INT_MAX].
bool IntField(const AfxDialogAnswer& a, const char* name, int& value, int min) {
    auto it = a.fields.find(name);
    if (it == a.fields.end()) return true;
    const std::string& s = it->second.str();
    if (s.empty() || s.size() > 9) return false;
    size_t i = 0;
    bool negative = false;
    if (s[0] == '-') {
        negative = true;
        i = 1;
        if (s.size() == 1) return false;
    }
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (negative) v = -v;
    if (v < min || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

void CKXGetVectorBits::SetVectorAndPinWidth(const CString& netName, int lsb, int msb, int totalWidth,
                                            const CString& pinName, int pinLsb, int pinMsb) {
    m_strNet = netName;
    m_nLsb = lsb;
    m_nMsb = msb;
    m_nStep = 1;
    m_nTotalWidth = totalWidth;
    m_strPin = pinName;
    m_nPinLsb = pinLsb;
    m_nPinMsb = pinMsb;
}

INT_PTR CKXGetVectorBits::DoModal() {
    AfxDialogAnswer a;
    if (!AfxGetAnswerQueue().TakeDialog("CKXGetVectorBits", a)) return IDCANCEL;
    int lsb = m_nLsb, msb = m_nMsb, step = m_nStep, pinLsb = m_nPinLsb, pinMsb = m_nPinMsb;
    // Bits of the net must be real bits; pin bits may stay -1 (a scalar pin).
    if (!IntField(a, "lsb", lsb, 0) || !IntField(a, "msb", msb, 0) || !IntField(a, "step", step, 1) ||
        !IntField(a, "pinLsb", pinLsb, -1) || !IntField(a, "pinMsb", pinMsb, -1))
        return IDCANCEL;
    if (lsb < 0 || msb < 0) return IDCANCEL;
    m_nLsb = lsb;
    m_nMsb = msb;
    m_nStep = step;
    m_nPinLsb = pinLsb;
    m_nPinMsb = pinMsb;
    return IDOK;
}

void CKXGetVectorBits::GetBits(int& lsb, int& msb, int& step, int& pinLsb, int& pinMsb) const {
    lsb = m_nLsb;
    msb = m_nMsb;
    step = m_nStep;
    pinLsb = m_nPinLsb;
    pinMsb = m_nPinMsb;
}

INT_PTR CKXOpenPinConnectionDlg::DoModal() {
    AfxDialogAnswer a;
    if (!AfxGetAnswerQueue().TakeDialog("CKXOpenPinConnectionDlg", a)) return IDCANCEL;
    auto it = a.fields.find("common");
    if (it != a.fields.end()) {
        if (it->second == "1")
            m_bCommon = TRUE;
        else if (it->second == "0")
            m_bCommon = FALSE;
        else
            return IDCANCEL;
    }
    return IDOK;
}
