#include "grid/KXJournalLine.h"

#include "grid/KXGridSite.h"
#include "grid/KXReplaySteps.h"
#include "grid/KXScriptText.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"

CString KXJournalHandle(IKXGridSite* site, const CDesignContext& design) {
    if (site) {
        const CString handle = site->DocumentJournalHandle();
        if (!handle.IsEmpty()) return handle;
    }
    return design ? CString(design.name()) : CString();
}

KXJournalLines& KXJournalLines::Call(const char* object, const char* method, std::initializer_list<CString> args) {
    m_text += "\ncall " + m_handle + "." + object + "." + method + "(";
    bool first = true;
    for (const CString& arg : args) {
        if (!first) m_text += ",";
        m_text += KXVbsQuote(arg);
        first = false;
    }
    m_text += ")";
    return *this;
}

KXJournalLines& KXJournalLines::PaneWithList(const char* method, const std::vector<CString>& list,
                                             std::initializer_list<CString> args) {
    m_text += "\ncall " + m_handle + ".ConnectivityPane()." + method + "(Array(";
    for (std::size_t i = 0; i < list.size(); ++i)
        m_text += (i ? "," : "") + KXVbsQuote(list[i]);
    m_text += ")";
    for (const CString& arg : args)
        m_text += "," + KXVbsQuote(arg);
    m_text += ")";
    return *this;
}

KXJournalLines& KXJournalLines::Comment(const char* title) {
    m_text += CString("\n\n ' --- ") + title + " ---";
    return *this;
}

KXJournalLines& KXJournalLines::End() {
    m_text += "\n";
    return *this;
}

bool KXJournalLines::IsRecording() {
    return CKXShareGlobalData::m_bAutomation != nullptr;
}

bool KXJournalLines::Write() const {
    return KXWriteJournalOfOneStep(m_text, m_steps);
}

bool KXWriteJournalOfOneStep(const CString& lines, int calls) {
    // Lines no journal takes replay as nothing: what the history notes for them would be counted
    // against the steps of another journal (a replay's group of calls, each an edit of its own here).
    if (!KXJournalLines::IsRecording() || lines.IsEmpty()) return false;
    const int steps = calls < 0 ? KXJournalTitledCalls(lines) : calls;
    return KXJournalWriteStep(CKXShareGlobalData::m_bAutomation, lines, steps);
}
