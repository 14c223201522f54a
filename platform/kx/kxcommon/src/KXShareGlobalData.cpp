#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXAutoConnectDpLeg.h"

#include "afx/afxanswer.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <strings.h>

IServer* CKXShareGlobalData::m_pServer = nullptr;
CDesignContext* CKXShareGlobalData::m_pDesign = nullptr;
CKXVpxProject* CKXShareGlobalData::m_pVpxProject = nullptr;
char* CKXShareGlobalData::m_bAutomation = nullptr;
BOOL CKXShareGlobalData::m_bReplay = FALSE;
int CKXShareGlobalData::m_nReplayStepGroup = 0;
BOOL CKXShareGlobalData::m_bShowPowerPins = FALSE;
BOOL CKXShareGlobalData::m_bOpenJournalled = FALSE;
FILE* CKXShareGlobalData::m_fpTransLogFile = nullptr;
IKXDataAccessContext* CKXShareGlobalData::m_pDataAccessContext = nullptr;
BOOL CKXShareAppData::m_bIsAppClosing = FALSE;

namespace {
std::unique_ptr<char[]>& JournalPath() {
    static std::unique_ptr<char[]> path;
    return path;
}
BOOL g_bJournalledAutoConnectDpLeg = FALSE;
int g_nReplayedAutoConnectDpLeg = -1;
} // namespace

const SKXProjectSection* CKXVpxProject::FindSection(const char* name) const {
    if (!name) return nullptr;
    for (const auto& s : m_sections)
        if (strcasecmp(s.name, name) == 0) return &s;
    return nullptr;
}

const SKXProjectDirective* CKXVpxProject::FindDirective(const SKXProjectSection& section, const char* name) {
    if (!name) return nullptr;
    for (const auto& d : section.directives)
        if (strcasecmp(d.name, name) == 0) return &d;
    return nullptr;
}

void CKXVpxProject::AddValue(const char* section, const char* directive, const char* value) {
    SKXProjectSection* sec = const_cast<SKXProjectSection*>(FindSection(section));
    if (!sec) {
        m_sections.push_back(SKXProjectSection{CString(section), {}});
        sec = &m_sections.back();
    }
    SKXProjectDirective* dir = const_cast<SKXProjectDirective*>(FindDirective(*sec, directive));
    if (!dir) {
        sec->directives.push_back(SKXProjectDirective{CString(directive), {}});
        dir = &sec->directives.back();
    }
    dir->values.emplace_back(value);
}

void CKXShareGlobalData::SetAutomationPath(const char* path) {
    auto& owned = JournalPath();
    g_bJournalledAutoConnectDpLeg = FALSE; // a journal begun says nothing of the option yet
    if (!path) {
        owned.reset();
        m_bAutomation = nullptr;
        return;
    }
    size_t n = std::strlen(path);
    owned = std::make_unique<char[]>(n + 1);
    std::memcpy(owned.get(), path, n + 1);
    m_bAutomation = owned.get();
}

void KXReplayAutoConnectDpLeg(int said) {
    g_nReplayedAutoConnectDpLeg = said < 0 ? -1 : said ? 1 : 0;
    if (said >= 0) KXNoteAutoConnectDpLeg(said ? TRUE : FALSE);
}

int KXReplayedAutoConnectDpLeg() {
    return g_nReplayedAutoConnectDpLeg;
}

void KXNoteAutoConnectDpLeg(BOOL on) {
    on = on ? TRUE : FALSE;
    if (g_bJournalledAutoConnectDpLeg == on) return;
    g_bJournalledAutoConnectDpLeg = on;
    CString line;
    line.Format("\n\n ' --- Auto Connect Pair Legs ---\n\ncall RMX.AutoConnectDpLeg(\"%d\")", on ? 1 : 0);
    CKXShareGlobalData::AppendToJournal(line);
}

void CKXShareGlobalData::SetReplay(BOOL replay) {
    m_bReplay = replay;
    AfxGetAnswerQueue().SetReplay(replay);
}

void CKXShareGlobalData::LogTransactionMessage(const CString& text) {
    if (!m_fpTransLogFile) return;
    std::fputs(text, m_fpTransLogFile);
    std::fflush(m_fpTransLogFile);
}

BOOL CKXShareGlobalData::IsJournalling() {
    return m_bAutomation && std::strstr(m_bAutomation, ".vbs") != nullptr;
}

CString CKXShareGlobalData::JournalString(const CString& text) {
    std::string out = "\"";
    for (char ch : text.str()) {
        if (ch == '"')
            out += "\"\"";
        else if (ch == '\n')
            out += "\" & vbLf & \"";
        else if (ch == '\r')
            out += "\" & vbCr & \"";
        else
            out += ch;
    }
    out += '"';
    return CString(std::move(out));
}

BOOL CKXShareGlobalData::AppendToJournal(const CString& text) {
    if (!IsJournalling()) return FALSE;
    FILE* f = std::fopen(m_bAutomation, "ab");
    if (!f) return FALSE;
    bool ok = std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), f) ==
              static_cast<size_t>(text.GetLength());
    ok = (std::fclose(f) == 0) && ok;
    return ok ? TRUE : FALSE;
}
