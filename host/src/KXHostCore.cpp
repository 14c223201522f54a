#include "KXHostCore.h"

#include <tcl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

struct CKXHostCore::HostCmd {
    CKXHostCore* host;
    std::string name;
    HostCmdFn fn;
};

namespace {
struct WordCmd {
    CKXHostCore* host;
    std::string word;
};
std::vector<std::unique_ptr<WordCmd>>& WordCmds() {
    static std::vector<std::unique_ptr<WordCmd>> cmds;
    return cmds;
}

bool IsPureList(Tcl_Obj* obj) {
    static const Tcl_ObjType* listType = Tcl_GetObjType("list");
    return obj->typePtr == listType && obj->bytes == nullptr;
}
} // namespace

CKXHostCore::CKXHostCore(std::ostream& out) : m_out(out) {
    m_interp = Tcl_CreateInterp();
    Tcl_Init(m_interp); // the library scripts are optional: the host needs only the core commands
    // Scripts, journals and the standard streams are UTF-8 whatever the locale, so that a text reaches
    // the editor and its files as it was typed, and comes back the same.
    Tcl_SetSystemEncoding(m_interp, "utf-8");
    Tcl_Eval(m_interp, "foreach channel {stdin stdout stderr} {catch {fconfigure $channel -encoding utf-8}}\n"
                       "namespace eval ::kx {}");
}

CKXHostCore::~CKXHostCore() {
    Tcl_DeleteInterp(m_interp);
    for (HostCmd* c : m_hostCmds)
        delete c;
    auto& words = WordCmds();
    words.erase(std::remove_if(words.begin(), words.end(), [this](const auto& w) { return w->host == this; }),
                words.end());
}

bool CKXHostCore::Eval(const std::string& script, std::string& result) {
    int rc = Tcl_EvalEx(m_interp, script.c_str(), static_cast<int>(script.size()), TCL_EVAL_GLOBAL);
    result = Tcl_GetStringResult(m_interp);
    return rc == TCL_OK;
}

bool CKXHostCore::EvalFile(const std::string& path, std::string& result) {
    std::ifstream probe(path, std::ios::binary);
    if (!probe) {
        result = "cannot read script file \"" + path + "\"";
        return false;
    }
    // Evaluated as a script file, so that [info script] names it.
    Tcl_Obj* pathObj = Tcl_NewStringObj(path.c_str(), static_cast<int>(path.size()));
    Tcl_IncrRefCount(pathObj);
    int rc = Tcl_FSEvalFileEx(m_interp, pathObj, "utf-8");
    Tcl_DecrRefCount(pathObj);
    result = Tcl_GetStringResult(m_interp);
    if (rc != TCL_OK) {
        const char* info = Tcl_GetVar(m_interp, "errorInfo", TCL_GLOBAL_ONLY);
        if (info) result = info;
        return false;
    }
    return true;
}

void CKXHostCore::Interactive(std::istream& in) {
    std::string buffer, line;
    m_out << "% " << std::flush;
    while (std::getline(in, line)) {
        buffer += line;
        buffer += '\n';
        if (!Tcl_CommandComplete(buffer.c_str())) continue;
        std::string result;
        bool ok = Eval(buffer, result);
        if (!ok)
            Print("error: " + result);
        else if (!result.empty())
            Print(result);
        buffer.clear();
        m_out << "% " << std::flush;
    }
    m_out << '\n';
}

bool CKXHostCore::IsLiveOutput() const {
    return &m_out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

void CKXHostCore::Print(const std::string& line) {
    m_transcript.push_back(line);
    if (m_quiet) return;
    if (m_progressShown) m_out << '\n'; // a line never overwrites an unfinished progress line
    m_progressShown = false;
    m_out << line << '\n' << std::flush;
}

void CKXHostCore::Progress(const std::string& line, bool done) {
    // A line redrawn in place only makes sense on a terminal; into a file or a
    // pipe only the finished bar is written, so a transcript stays readable.
    // Printed or kept, it reads as the transcript has it: "progress: LINE".
    const std::string shown = "progress: " + line;
    if (!m_quiet && IsLiveOutput()) {
        // A shorter line clears what is left of a longer one before it.
        m_out << '\r' << shown << "\x1b[K" << (done ? "\n" : "") << std::flush;
        m_progressShown = !done;
    } else if (!m_quiet && done) {
        m_out << shown << '\n' << std::flush;
    }
    if (done) m_transcript.push_back(shown);
}

void CKXHostCore::NoteMessage(const std::string& id, const std::string& text) {
    m_messages.push_back(id);
    Print("message " + id + ": " + text);
}

void CKXHostCore::NoteEcho(const std::string& line) {
    m_echoes.push_back(line);
    Print("echo: " + line);
}

void CKXHostCore::NoteUnanswered(const std::string& what) {
    Print("unanswered: " + what);
}

std::vector<std::string> CKXHostCore::TakeMessages() {
    return std::exchange(m_messages, {});
}
std::vector<std::string> CKXHostCore::TakeEchoes() {
    return std::exchange(m_echoes, {});
}

std::vector<KXHostArg> CKXHostCore::ArgsFromObjs(int objc, Tcl_Obj* const objv[]) {
    std::vector<KXHostArg> args;
    for (int i = 0; i < objc; ++i) {
        KXHostArg arg;
        int n = 0;
        Tcl_Obj** elems = nullptr;
        if (IsPureList(objv[i]) && Tcl_ListObjGetElements(nullptr, objv[i], &n, &elems) == TCL_OK && n != 1) {
            for (int k = 0; k < n; ++k)
                arg.emplace_back(Tcl_GetString(elems[k]));
        } else {
            arg.emplace_back(Tcl_GetString(objv[i]));
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::string CKXHostCore::TextOfWords(const std::vector<KXHostArg>& words) {
    std::string text;
    for (const KXHostArg& w : words) {
        if (!text.empty()) text += ' ';
        Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
        Tcl_IncrRefCount(list);
        for (const std::string& v : w)
            Tcl_ListObjAppendElement(nullptr, list, Tcl_NewStringObj(v.c_str(), -1));
        if (w.size() == 1) {
            // One value: its list form is the quoted word (braces or backslashes as Tcl needs).
            text += Tcl_GetString(list);
        } else {
            text += "[list ";
            text += Tcl_GetString(list);
            text += ']';
        }
        Tcl_DecrRefCount(list);
    }
    return text;
}

int CKXHostCore::SystemWordProc(void* cd, Tcl_Interp*, int objc, Tcl_Obj* const objv[]) {
    auto* w = static_cast<WordCmd*>(cd);
    return w->host->RouteWord(w->word, objc - 1, objv + 1);
}

int CKXHostCore::WordProc(void* cd, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]) {
    if (objc < 2) {
        Tcl_SetObjResult(interp, Tcl_NewStringObj("usage: kx::word WORD ?ARG ...?", -1));
        return TCL_ERROR;
    }
    return static_cast<CKXHostCore*>(cd)->RouteWord(Tcl_GetString(objv[1]), objc - 2, objv + 2);
}

void CKXHostCore::RegisterWordCommand() {
    Tcl_CreateObjCommand(m_interp, "::kx::word", WordProc, this, nullptr);
}

int CKXHostCore::RouteWord(const std::string& word, int objc, Tcl_Obj* const objv[]) {
    if (!m_route) {
        Tcl_SetObjResult(m_interp, Tcl_NewStringObj("no design window is open", -1));
        return TCL_ERROR;
    }
    std::vector<KXHostArg> args = ArgsFromObjs(objc, objv);
    long result = 0;
    std::string error;
    if (!m_route(word, args, result, error)) {
        Tcl_SetObjResult(m_interp, Tcl_NewStringObj(error.c_str(), -1));
        return TCL_ERROR;
    }
    Tcl_SetObjResult(m_interp, Tcl_NewLongObj(result));
    return TCL_OK;
}

void CKXHostCore::RegisterSystemWord(const std::string& word) {
    if (IsSystemWord(word)) return;
    Tcl_CmdInfo info;
    if (Tcl_GetCommandInfo(m_interp, word.c_str(), &info)) {
        Print("note: the system word \"" + word + "\" hides no Tcl command; reach it as ::kx::word " + word);
        m_words.push_back(word);
        return;
    }
    auto& cmds = WordCmds();
    cmds.push_back(std::make_unique<WordCmd>(WordCmd{this, word}));
    Tcl_CreateObjCommand(m_interp, word.c_str(), SystemWordProc, cmds.back().get(), nullptr);
    m_words.push_back(word);
}

void CKXHostCore::AdoptSystemWord(const std::string& word) {
    if (!IsSystemWord(word)) m_words.push_back(word);
}

bool CKXHostCore::IsSystemWord(const std::string& word) const {
    return std::find(m_words.begin(), m_words.end(), word) != m_words.end();
}

int CKXHostCore::HostCmdProc(void* cd, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]) {
    auto* c = static_cast<HostCmd*>(cd);
    std::vector<std::string> args;
    for (int i = 1; i < objc; ++i)
        args.emplace_back(Tcl_GetString(objv[i]));
    std::string result;
    bool ok = c->fn(args, result);
    Tcl_SetObjResult(interp, Tcl_NewStringObj(result.c_str(), static_cast<int>(result.size())));
    return ok ? TCL_OK : TCL_ERROR;
}

void CKXHostCore::RegisterHostCommand(const std::string& name, HostCmdFn fn) {
    auto* c = new HostCmd{this, name, std::move(fn)};
    m_hostCmds.push_back(c);
    std::string full = "::kx::" + name;
    Tcl_CreateObjCommand(m_interp, full.c_str(), HostCmdProc, c, nullptr);
}

long CKXHostCore::RunRequest(const std::string& line) {
    if (line.find_first_not_of(" \t\r\n;") == std::string::npos) return 0;
    m_echoes.push_back(line);
    Print("request: " + line);
    ++m_echoDepth;
    std::string result;
    bool ok = Eval(line, result);
    --m_echoDepth;
    if (!ok) {
        Print("error in requested command \"" + line + "\": " + result);
        ++m_refusedRequests;
        return 0;
    }
    const long answer = std::strtol(result.c_str(), nullptr, 10);
    if (answer == 0) ++m_refusedRequests;
    return answer;
}

void CKXHostCore::RecordEcho(const std::string& line) {
    NoteEcho(line);
}
