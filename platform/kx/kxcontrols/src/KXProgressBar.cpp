#include "kxcontrols/KXProgressBar.h"

#include <algorithm>
#include <string>
#include <utility>

CKXProgressBar* CKXProgressBar::m_pProgressBar = nullptr;

namespace {
CKXProgressBar::LineSink& Sink() {
    static CKXProgressBar::LineSink sink;
    return sink;
}
CKXProgressBar::PumpHook& Pump() {
    static CKXProgressBar::PumpHook hook;
    return hook;
}
constexpr int kMaxBarWidth = 200;
} // namespace

CKXProgressBar::CKXProgressBar(LPCTSTR caption, int nUpper, int nSize, BOOL, int)
    : m_strCaption(caption ? caption : ""), m_nUpper(nUpper < 0 ? 0 : nUpper),
      m_nSize(nSize <= 0 ? 50 : std::min(nSize, kMaxBarWidth)) {
    Show(FALSE);
}

CKXProgressBar::~CKXProgressBar() {
    Show(TRUE);
    if (m_pProgressBar == this) m_pProgressBar = nullptr;
}

void CKXProgressBar::SetText(LPCTSTR text) {
    m_strText = text ? text : "";
    Show(FALSE);
}

void CKXProgressBar::SetRange(int nLower, int nUpper) {
    if (nUpper < nLower) std::swap(nLower, nUpper);
    m_nLower = nLower;
    m_nUpper = nUpper;
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
}

void CKXProgressBar::SetStep(int nStep) { m_nStep = nStep; }

int CKXProgressBar::StepIt() {
    int old = m_nPos;
    long long next = static_cast<long long>(m_nPos) + m_nStep;
    m_nPos = static_cast<int>(std::clamp<long long>(next, m_nLower, m_nUpper));
    Show(FALSE);
    return old;
}

int CKXProgressBar::StepIt(LPCTSTR text, int nSteps) {
    const int old = m_nPos;
    m_strText = text ? text : "";
    // Step by step, each clamped, as nSteps calls of StepIt would go.
    const long long next =
        static_cast<long long>(m_nPos) + static_cast<long long>(m_nStep) * std::max(nSteps, 0);
    if (nSteps > 0) m_nPos = static_cast<int>(std::clamp<long long>(next, m_nLower, m_nUpper));
    Show(FALSE);
    return old;
}

int CKXProgressBar::SetPos(int nPos) {
    int old = m_nPos;
    m_nPos = std::clamp(nPos, m_nLower, m_nUpper);
    Show(FALSE);
    return old;
}

int CKXProgressBar::GetPercent() const {
    long long span = static_cast<long long>(m_nUpper) - m_nLower;
    if (span <= 0) return 100;
    return static_cast<int>((static_cast<long long>(m_nPos) - m_nLower) * 100 / span);
}

CString CKXProgressBar::GetTitle() const {
    CString title = m_strCaption;
    title.TrimRight(": ");
    return title;
}

// The title once: a step text that begins with the title ("Adding Connections: 3 of 10 Pins ...") says it
// already and stands for it.
CString CKXProgressBar::FormatLine() const {
    const CString title = GetTitle();
    CString line;
    if (m_strText.IsEmpty())
        line = title;
    else if (title.IsEmpty() || m_strText.Left(title.GetLength()) == title)
        line = m_strText;
    else
        line = title + ": " + m_strText;
    long long span = static_cast<long long>(m_nUpper) - m_nLower;
    int filled = span <= 0 ? m_nSize
                           : static_cast<int>((static_cast<long long>(m_nPos) - m_nLower) * m_nSize / span);
    std::string& text = line.str();
    text += ' ' + std::to_string(m_nPos - m_nLower) + " of " + std::to_string(static_cast<int>(span)) + " [";
    text.append(static_cast<size_t>(std::max(filled, 0)), '#');
    text.append(static_cast<size_t>(std::max(m_nSize - filled, 0)), '.');
    text += "] " + std::to_string(GetPercent()) + '%';
    return line;
}

BOOL CKXProgressBar::PeekAndPump(BOOL) {
    const PumpHook& hook = Pump();
    return hook ? hook() : TRUE;
}

void CKXProgressBar::SetLineSink(LineSink sink) { Sink() = std::move(sink); }
void CKXProgressBar::SetPumpHook(PumpHook hook) { Pump() = std::move(hook); }

// A line for each change of the percentage or the text, and the last one: ten thousand steps
// of a long operation show a hundred lines, not ten thousand.
void CKXProgressBar::Show(BOOL bDone) const {
    const LineSink& sink = Sink();
    if (!sink) return;
    const int percent = GetPercent();
    if (!bDone && m_bShown && percent == m_nShownPercent && m_strText == m_strShownText) return;
    m_bShown = true;
    m_nShownPercent = percent;
    m_strShownText = m_strText;
    sink(FormatLine(), bDone);
}
