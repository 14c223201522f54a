#include "kxcommon/KXCommonDialogs.h"

#include "kxcommon/KXGenUtils.h"

#include "afx/afxanswer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>

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

CString CKXGetVectorBits::FieldsFault(int lsb, int msb, int step, int pinLsb, int pinMsb) const {
    CString why;
    const auto notABit = [](int bit) { return bit < 0 || bit > KX_NAME_MAX_BIT; };
    if (notABit(lsb) || notABit(msb)) {
        why.Format("net bit %d is no bit (0 to %d)", notABit(lsb) ? lsb : msb, KX_NAME_MAX_BIT);
    } else if (step < 1) {
        why.Format("a step of %d (the step is 1 or more)", step);
    } else if (m_nPinLsb >= 0 && m_nPinMsb >= 0) {
        // A vector pin shown: the chosen pin bits are bits of that pin.
        const int low = std::min(m_nPinLsb, m_nPinMsb), high = std::max(m_nPinLsb, m_nPinMsb);
        if (pinLsb < low || pinLsb > high || pinMsb < low || pinMsb > high)
            why.Format("pin bits %d..%d lie outside pin %s<%d..%d>", pinMsb, pinLsb, m_strPin.GetString(),
                       m_nPinMsb, m_nPinLsb);
    } else if (pinLsb < -1 || pinLsb > KX_NAME_MAX_BIT || pinMsb < -1 || pinMsb > KX_NAME_MAX_BIT) {
        why.Format("pin bit %d is no bit (-1 for none, or 0 to %d)",
                   pinLsb > KX_NAME_MAX_BIT || pinLsb < -1 ? pinLsb : pinMsb, KX_NAME_MAX_BIT);
    }
    return why;
}

INT_PTR CKXGetVectorBits::DoModal() {
    AfxDialogAnswer a;
    if (!AfxGetAnswerQueue().TakeDialog("CKXGetVectorBits", a)) return IDCANCEL;
    int lsb = m_nLsb, msb = m_nMsb, step = m_nStep, pinLsb = m_nPinLsb, pinMsb = m_nPinMsb;
    CString refusal;
    static const char* const names[] = {"lsb", "msb", "step", "pinLsb", "pinMsb"};
    int* const values[] = {&lsb, &msb, &step, &pinLsb, &pinMsb};
    for (std::size_t i = 0; i < std::size(names) && refusal.IsEmpty(); ++i)
        if (!IntField(a, names[i], *values[i], INT_MIN + 1))
            refusal.Format("the %s field \"%s\" is no number", names[i], a.fields[names[i]].GetString());
    if (refusal.IsEmpty()) refusal = FieldsFault(lsb, msb, step, pinLsb, pinMsb);
    if (!refusal.IsEmpty()) {
        AfxGetAnswerQueue().RefuseDialog("CKXGetVectorBits", refusal);
        return IDCANCEL;
    }
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
