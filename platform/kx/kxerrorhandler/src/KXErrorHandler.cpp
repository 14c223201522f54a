#include "kxerrorhandler/KXErrorHandler.h"

#include "afx/afxanswer.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

namespace {

struct Entry {
    std::string text;
    std::string source; // the file it came from
};

struct State {
    std::map<std::string, Entry> messages;
    std::string lastError;
    std::vector<std::string> loadFailures; // not yet taken by TakeLoadFailures
    std::string dataDir;
    std::vector<SKXShownMessage> transcript;
    CKXErrorHandler::TranscriptSink sink;
    CKXErrorHandler::AnswerProvider answers;
};

State& S() {
    static State s;
    return s;
}

// What an unanswered message box answers.
int DefaultAnswer(UINT type) {
    switch (type & 0xF) {
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_OKCANCEL:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

bool IsValidAnswer(UINT type, int answer) {
    switch (type & 0xF) {
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    default:
        return answer == IDOK;
    }
}

int AskAnswerQueue(const char* id, const char* text, UINT type) {
    // The queue answers an unscripted three-way question with Cancel and records that answer.
    return AfxAskQuestion(id, text, type);
}

bool IsIdStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsIdChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
}

// Resolves escapes of a text line; false with a reason on a bad escape.
bool Unescape(const std::string& in, std::string& out, std::string& why) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (i + 1 >= in.size()) {
            why = "backslash at the end of a line";
            return false;
        }
        char e = in[++i];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            why = std::string("unknown escape \\") + e;
            return false;
        }
    }
    return true;
}

std::string ResolvePath(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p(path);
    if (p.is_absolute()) return path;
    std::string dir = S().dataDir;
    if (dir.empty()) {
        const char* env = std::getenv("KX_DATA_DIR");
        if (env && *env) dir = env;
    }
    if (dir.empty()) return path;
    return (fs::path(dir) / p).string();
}

bool ParseMessageFile(std::istream& in, const std::string& name, std::map<std::string, std::string>& out,
                      std::string& error) {
    std::string line;
    int lineNo = 0;
    std::string current; // id of the entry being read
    auto fail = [&](const std::string& why) {
        error = name + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue; // blank
        if (line[first] == '#') continue;
        std::string text;
        std::string why;
        if (first > 0) { // continuation
            if (current.empty()) return fail("continuation line without an entry above it");
            if (!Unescape(line.substr(first), text, why)) return fail(why);
            out[current] += "\n" + text;
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string::npos) return fail("missing ':' after the message id");
        std::string id = line.substr(0, colon);
        while (!id.empty() && (id.back() == ' ' || id.back() == '\t'))
            id.pop_back();
        if (id.empty() || !IsIdStart(id[0])) return fail("bad message id \"" + id + "\"");
        for (char c : id)
            if (!IsIdChar(c)) return fail("bad message id \"" + id + "\"");
        if (out.count(id)) return fail("message id " + id + " given twice");
        size_t start = line.find_first_not_of(" \t", colon + 1);
        if (start == std::string::npos) return fail("message " + id + " has no text");
        if (!Unescape(line.substr(start), text, why)) return fail(why);
        out[id] = text;
        current = id;
    }
    if (in.bad()) return fail("read error");
    return true;
}

void Record(SKXShownMessage msg) {
    S().transcript.push_back(msg);
    if (S().sink) {
        auto sink = S().sink; // the sink may replace itself
        sink(msg);
    }
}

} // namespace

BOOL CKXErrorHandler::LoadMessageFile(const char* path) {
    BOOL ok = LoadMessageFileOnce(path);
    // A missing or bad message file leaves its messages shown as bare ids: the application says so.
    if (!ok) S().loadFailures.push_back(S().lastError + "; its messages show as their ids");
    return ok;
}

std::vector<std::string> CKXErrorHandler::TakeLoadFailures() {
    return std::exchange(S().loadFailures, {});
}

BOOL CKXErrorHandler::LoadMessageFileOnce(const char* path) {
    S().lastError.clear();
    if (!path || !*path) {
        S().lastError = "no message file given";
        return FALSE;
    }
    std::string resolved = ResolvePath(path);
    std::ifstream in(resolved, std::ios::binary);
    if (!in) {
        S().lastError = resolved + ": cannot open the message file";
        return FALSE;
    }
    std::map<std::string, std::string> parsed;
    std::string error;
    if (!ParseMessageFile(in, resolved, parsed, error)) {
        S().lastError = error;
        return FALSE;
    }
    // Replace what this file gave before.
    for (auto it = S().messages.begin(); it != S().messages.end();) {
        if (it->second.source == resolved)
            it = S().messages.erase(it);
        else
            ++it;
    }
    for (auto& [id, text] : parsed)
        S().messages[id] = Entry{std::move(text), resolved};
    return TRUE;
}

CString CKXErrorHandler::GetLastLoadError() {
    return CString(S().lastError);
}

void CKXErrorHandler::SetDataDirectory(const char* dir) {
    S().dataDir = dir ? dir : "";
}

CString CKXErrorHandler::GetDataDirectory() {
    if (!S().dataDir.empty()) return CString(S().dataDir);
    const char* env = std::getenv("KX_DATA_DIR");
    return CString(env ? env : "");
}

void CKXErrorHandler::ClearMessages() {
    S().messages.clear();
}

BOOL CKXErrorHandler::HasMessage(const char* id) {
    return id && S().messages.count(id) != 0;
}

CString CKXErrorHandler::Substitute(const char* text, const std::vector<std::string>& args) {
    std::string out;
    if (!text) return CString();
    size_t next = 0;
    for (const char* p = text; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        char c = p[1];
        if (c == '%') {
            out += '%';
            ++p;
        } else if (c == 's') {
            if (next < args.size()) out += args[next];
            ++next;
            ++p;
        } else if (c >= '1' && c <= '9') {
            size_t index = static_cast<size_t>(c - '1');
            if (index < args.size()) out += args[index];
            ++p;
        } else {
            out += '%'; // any other '%' is plain text
        }
    }
    return CString(std::move(out));
}

CString CKXErrorHandler::FormatMessage(const char* id, std::initializer_list<KXMsgArg> args) {
    std::vector<std::string> texts;
    for (const auto& a : args)
        texts.push_back(a.text());
    std::string key = id ? id : "";
    auto it = S().messages.find(key);
    if (it != S().messages.end()) return Substitute(it->second.text.c_str(), texts);
    std::string out = key;
    for (const auto& t : texts)
        if (!t.empty()) out += " " + t;
    return CString(std::move(out));
}

int CKXErrorHandler::Show(const char* id, std::initializer_list<KXMsgArg> args, UINT type) {
    SKXShownMessage msg;
    msg.id = id ? id : "";
    msg.text = FormatMessage(id, args);
    msg.type = type;
    int answer = S().answers ? S().answers(msg.id, msg.text, type) : AskAnswerQueue(msg.id, msg.text, type);
    if (!IsValidAnswer(type, answer)) answer = DefaultAnswer(type);
    msg.answer = answer;
    Record(std::move(msg));
    return answer;
}

void CKXErrorHandler::ReportSchemaViolation(const char* id, int errorNumber, const char* objectPath,
                                            const char* pinName) {
    SKXShownMessage msg;
    msg.id = id ? id : "";
    std::string text = FormatMessage(id, {KXMsgArg(pinName), KXMsgArg(objectPath)}).str();
    text += " [error " + std::to_string(errorNumber);
    if (objectPath && *objectPath) text += std::string(", object ") + objectPath;
    if (pinName && *pinName) text += std::string(", pin ") + pinName;
    text += "]";
    msg.text = CString(std::move(text));
    msg.type = MB_ICONWARNING;
    msg.answer = 0;
    Record(std::move(msg));
}

const std::vector<SKXShownMessage>& CKXErrorHandler::GetTranscript() {
    return S().transcript;
}

void CKXErrorHandler::ClearTranscript() {
    S().transcript.clear();
}

void CKXErrorHandler::SetTranscriptSink(TranscriptSink sink) {
    S().sink = std::move(sink);
}

void CKXErrorHandler::SetAnswerProvider(AnswerProvider provider) {
    S().answers = std::move(provider);
}
