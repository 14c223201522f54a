#include "grid/KXScriptText.h"

#include "grid/KXJournalWindows.h"
#include "grid/KXPropLists.h"
#include "grid/KXReplaySteps.h"

#include "afx/afxcoll.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXTransaction.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

CString KXTclQuote(const CString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.GetLength()) + 2);
    out += '"';
    for (char ch : text.str()) {
        switch (ch) {
        case '"':
        case '\\':
        case '[':
        case ']':
        case '$':
            out += '\\';
            out += ch;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += ch;
        }
    }
    out += '"';
    return CString(std::move(out));
}

CString KXTclListElement(const CString& text) { return CTclArgsList::QuoteTclWord(text); }

CString KXVbsQuote(const CString& text) { return CKXShareGlobalData::JournalString(text); }

namespace {
KXJournalHold* g_pJournalHold = nullptr; // the innermost hold
} // namespace

struct KXJournalHoldAccess {
    // Held back when a hold lives: true then.
    static bool Hold(const std::string& path, const CString& text) {
        if (!g_pJournalHold) return false;
        g_pJournalHold->m_blocks.push_back({path, text});
        return true;
    }
};

namespace {

bool WriteToFile(const std::string& path, const CString& comment, const CString& line);

// What a replay's group of calls journals while it runs (CKXShareGlobalData::m_nReplayStepGroup): written
// as the one step the group is when it ends, so that the replay's journal replays as its journal did.
struct ReplayGroupLines {
    std::string path;
    CString lines;
};

ReplayGroupLines& GroupLines() {
    static ReplayGroupLines group;
    return group;
}

void WriteReplayGroup() {
    ReplayGroupLines& group = GroupLines();
    const ReplayGroupLines done = std::exchange(group, ReplayGroupLines());
    if (!done.lines.IsEmpty()) WriteToFile(done.path, CString(), KXJournalOfReplayGroup(done.lines));
}

[[maybe_unused]] const bool g_groupObserved = (KXObserveReplayGroupEnd(&WriteReplayGroup), true);

bool WriteToJournal(const std::string& path, const CString& comment, const CString& line) {
    if (KXJournalHoldAccess::Hold(path, comment + line)) return true;
    if (CKXShareGlobalData::m_nReplayStepGroup != 0) {
        if (GroupLines().path != path) WriteReplayGroup(); // (another journal's lines go first)
        ReplayGroupLines& group = GroupLines();
        group.path = path;
        group.lines += comment + line;
        return true;
    }
    return WriteToFile(path, comment, line);
}

bool WriteToFile(const std::string& path, const CString& comment, const CString& line) {
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    std::fwrite(comment.GetString(), 1, static_cast<size_t>(comment.GetLength()), f);
    std::fwrite(line.GetString(), 1, static_cast<size_t>(line.GetLength()), f);
    bool ok = std::ferror(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

// The undo steps whose lines the journal takes now, innermost last, each with the journal then recording.
std::vector<std::pair<std::string, std::string>>& RunningSteps() {
    static std::vector<std::pair<std::string, std::string>> steps;
    return steps;
}

void StepWork(const char* name) {
    auto& running = RunningSteps();
    const char* journal = CKXShareGlobalData::m_bAutomation;
    if (name) running.emplace_back(name, journal ? journal : "");
    else if (!running.empty()) running.pop_back();
}

// The lines of a committed step stand between the comment lines that name it, so that a replay names
// the steps they make alike. Each block is closed at once: the lines other writers add after it (the
// lists' own edits) are no lines of the step.
bool AppendToJournal(const std::string& path, const CString& comment, const CString& line) {
    const auto& running = RunningSteps();
    // (A step of another journal than this one says nothing of its lines.)
    if (running.empty() || running.back().second != path) return WriteToJournal(path, comment, line);
    const CString begins(("\n" + KXJournalStepBegins(running.back().first)).c_str());
    const CString ends(("\n" + KXJournalStepEnds()).c_str());
    return WriteToJournal(path, begins + comment, line + ends);
}

// The journal hears of every committed step.
[[maybe_unused]] const bool g_observing = (KXObserveCommittedStepWork(&StepWork), true);

} // namespace

KXJournalHold::KXJournalHold() : m_outer(g_pJournalHold) {
    g_pJournalHold = this;
}

KXJournalHold::~KXJournalHold() {
    g_pJournalHold = m_outer;
    if (!m_keep) return;
    // Into the hold around this one, or the journal.
    for (const Block& b : m_blocks)
        WriteToJournal(b.path, CString(), b.text);
}

namespace {

bool IsJournalPath(const char* journalPath) {
    return journalPath && std::strstr(journalPath, ".vbs");
}

// The journal lines of the open grid transaction's undo step: whichever grid or window writes them, they
// wait for the commit and are then written together, as the one step the edit is.
struct EditStepLines {
    std::string path;
    CString lines;
    int calls = 0; // calls that are steps of their own on replay
};

std::shared_ptr<EditStepLines>& OpenEditStep() {
    static std::shared_ptr<EditStepLines> open;
    return open;
}

void JoinEditStep(const std::string& path, const CString& lines, int calls) {
    static unsigned openStep = 0;
    std::shared_ptr<EditStepLines>& open = OpenEditStep();
    const unsigned step = KXCommittedWorkStep();
    if (!open || openStep != step || open->path != path) {
        // The first lines of the step: its lines are written where these would have been, once it
        // commits; a refused or discarded edit leaves none.
        open = std::make_shared<EditStepLines>();
        open->path = path;
        openStep = step;
        KXRunWhenCommitted([gathered = open] {
            AppendToJournal(gathered->path, CString(), KXJournalOfOneStep(gathered->lines, gathered->calls));
        });
    }
    open->lines += lines;
    open->calls += calls;
}

} // namespace

bool KXJournalWrite(const char* journalPath, const CString& comment, const CString& line) {
    if (!IsJournalPath(journalPath)) return false;
    const KXJournalLinesOfWindow window(line);
    if (!CKXTransaction::IsTransactionStarted()) return AppendToJournal(journalPath, comment, line);
    JoinEditStep(journalPath, comment + line, 0);
    return true;
}

bool KXJournalWriteStep(const char* journalPath, const CString& lines, int calls) {
    if (!IsJournalPath(journalPath) || lines.IsEmpty()) return false;
    const KXJournalLinesOfWindow window(lines);
    if (!CKXTransaction::IsTransactionStarted())
        return AppendToJournal(journalPath, CString(), KXJournalOfOneStep(lines, calls));
    JoinEditStep(journalPath, lines, calls);
    return true;
}

namespace {

// A property list text (one item a line) as the one argument the words read it from.
void AddLines(CTclArgsList& words, const CString& lines) {
    KXAddPropertyList(words, KXPropItemsOfLines(lines));
}

// "-partN -FIELD LOOK ..." for the looks keyed "<part from 0>.<field>", part by part.
void AddPartLooks(CTclArgsList& words, const CMapStringToString* partLooks) {
    std::map<int, std::map<std::string, CString>> parts;
    for (POSITION pos = partLooks ? partLooks->GetStartPosition() : nullptr; pos;) {
        CString key, look;
        partLooks->GetNextAssoc(pos, key, look);
        const int dot = key.Find('.');
        if (dot <= 0) continue;
        parts[std::atoi(key.Left(dot).GetString())][key.Mid(dot + 1).GetString()] = look;
    }
    for (const auto& [part, looks] : parts) {
        words.Add(("-part" + std::to_string(part + 1)).c_str());
        for (const auto& [field, look] : looks) {
            words.Add(("-" + field).c_str());
            words.Add(look.GetString());
        }
    }
}

} // namespace

CString KXEditTerminationOperands(const CStringArray* designators, const CMapStringToString* oldToNew,
                                  const CMapStringToString* keyProps, const CMapStringToString* instProps,
                                  const CString& delay, const CString& high, const CString& low, int byRefDes,
                                  const CMapStringToString* partLooks) {
    CTclArgsList words;
    for (INT_PTR i = 0; designators && i < designators->GetSize(); ++i) {
        const CString name = designators->GetAt(i);
        words.Add(byRefDes ? "-oldrefdes" : "-id");
        words.Add(name.GetString());
        CString value;
        if (oldToNew && oldToNew->Lookup(name, value)) {
            words.Add("-newrefdes");
            words.Add(value.GetString());
        }
        if (keyProps && keyProps->Lookup(name, value)) {
            words.Add("-k");
            AddLines(words, value);
        }
        if (instProps && instProps->Lookup(name, value)) {
            words.Add("-i");
            AddLines(words, value);
        }
    }
    AddPartLooks(words, partLooks);
    for (const auto& [option, value] : {std::pair{"-delay", delay}, {"-high", high}, {"-low", low}})
        if (!value.IsEmpty()) {
            words.Add(option);
            words.Add(value.GetString());
        }
    return words.ToTclCommandLine();
}

CString KXEditPupdOperands(const CString& name, const CString& refDes, const CString& dcNets,
                           const CStringList* keyProps, const CStringList* injProps, const CString& parent,
                           int diffPair) {
    CTclArgsList words;
    words.Add(name.GetString());
    auto option = [&words](const char* word, const CString& value) {
        if (value.IsEmpty()) return;
        words.Add(word);
        words.Add(value.GetString());
    };
    option("-refdes", refDes);
    option("-dcnets", dcNets);
    auto list = [&words](const char* word, const CStringList* items) {
        if (!items || items->IsEmpty()) return;
        words.Add(word);
        std::vector<CString> values;
        for (POSITION pos = items->GetHeadPosition(); pos;) values.push_back(items->GetNext(pos));
        KXAddPropertyList(words, values);
    };
    list("-keyprop", keyProps);
    list("-injprop", injProps);
    if (!parent.IsEmpty()) {
        words.Add("-parent");
        if (!diffPair) {
            words.Add(parent.GetString());
        } else {
            words.StartArgument();
            words.AddToArgument("dp");
            words.AddToArgument(parent.GetString());
            words.EndArgument();
        }
    }
    return words.ToTclCommandLine();
}

CString KXValueListItem(const CString& value) {
    CString item;
    for (int i = 0; i < value.GetLength(); ++i) {
        const char c = value[i];
        if (c == '\\' || c == ',') item += '\\';
        item += c;
    }
    return item;
}

CString KXValueListFirst(const CString& list) {
    CString value;
    for (int i = 0; i < list.GetLength(); ++i) {
        const char c = list[i];
        if (c == ',') break;
        if (c == '\\' && i + 1 < list.GetLength()) ++i;
        value += list[i];
    }
    return value;
}
