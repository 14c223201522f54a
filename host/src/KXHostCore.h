// The command-line host's core: the Tcl interpreter, the transcript and the
// bookkeeping of what the system showed. What needs the windowing layer (the
// main window, the design windows) plugs in through the hooks below.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct Tcl_Interp;
struct Tcl_Obj;

// One argument of a system word: one value, or several when the Tcl word was a list.
using KXHostArg = std::vector<std::string>;

class CKXHostCore {
public:
    explicit CKXHostCore(std::ostream& out);
    ~CKXHostCore();
    CKXHostCore(const CKXHostCore&) = delete;
    CKXHostCore& operator=(const CKXHostCore&) = delete;

    Tcl_Interp* Interp() const { return m_interp; }

    // Runs Tcl text; returns true on TCL_OK with the result, false with the error.
    bool Eval(const std::string& script, std::string& result);
    bool EvalFile(const std::string& path, std::string& result);
    // Reads commands from `in` until end of input, printing results and errors.
    void Interactive(std::istream& in);

    // Transcript: printed at once and kept for tests.
    void Print(const std::string& line);
    const std::vector<std::string>& TranscriptLines() const { return m_transcript; }
    // A progress line, redrawn in place on the terminal; the finished line joins the transcript.
    void Progress(const std::string& line, bool done);
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    bool IsLiveOutput() const;

    // What the system showed: message ids (kx::messages) and echoed script lines (kx::echoes).
    void NoteMessage(const std::string& id, const std::string& text);
    void NoteEcho(const std::string& line);
    void NoteUnanswered(const std::string& what);
    std::vector<std::string> TakeMessages();
    std::vector<std::string> TakeEchoes();

    // A word of the system's script-command manager becomes a Tcl command that
    // calls `route` with the word and its arguments; the route's integer is the result.
    using RouteFn = std::function<bool(const std::string& word, const std::vector<KXHostArg>& args,
                                       long& result, std::string& error)>;
    void SetRoute(RouteFn route) { m_route = std::move(route); }
    void RegisterSystemWord(const std::string& word);
    bool IsSystemWord(const std::string& word) const;
    // A system word the host reaches through a Tcl command of its own (one that reads its arguments
    // before it routes them): it is known as a system word, and its command stays the host's.
    void AdoptSystemWord(const std::string& word);

    // Host commands in the kx:: namespace: handler(args) -> (ok, result text).
    using HostCmdFn = std::function<bool(const std::vector<std::string>& args, std::string& result)>;
    void RegisterHostCommand(const std::string& name, HostCmdFn fn);

    // Depth of requests being run (a request may run while another is running).
    int EchoDepth() const { return m_echoDepth; }
    // A request of the system (MSG_HOST_SCRIPT_TEXT) asks the host to run a command: it is noted
    // (kx::echoes), printed as "request: LINE" and run; the result as an integer (0 on error). An
    // empty request runs nothing and answers 0.
    long RunRequest(const std::string& line);
    // How many requests answered 0 or failed so far (a menu whose request refused answers 0).
    int RefusedRequests() const { return m_refusedRequests; }
    // An echo (MSG_HOST_SCRIPT_ARGS) records an action the system has already done: it is noted
    // (kx::echoes) and printed as "echo: LINE", and never run, so that nothing is done twice.
    void RecordEcho(const std::string& line);

    // Converts Tcl words to arguments: a pure list word with several elements is
    // one argument of several values, any other word one value. Only the word knows
    // which of its arguments is a key (a comment, a column's title or a value may hold
    // blanks and stays one value): a key given as one text is read as a list by the
    // word's own key reader, so that {U1 MCLK B14} and a printed list name a pin too.
    static std::vector<KXHostArg> ArgsFromObjs(int objc, Tcl_Obj* const objv[]);
    // The Tcl text of a word list (each argument of several values as [list ...]).
    static std::string TextOfWords(const std::vector<KXHostArg>& words);

    // ::kx::word WORD ?ARG ...?: routes any system word as its own command would, the arguments
    // read the same way (a pure list of several elements is one argument of several values).
    void RegisterWordCommand();

private:
    struct HostCmd;
    static int SystemWordProc(void* cd, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]);
    static int WordProc(void* cd, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]);
    int RouteWord(const std::string& word, int objc, Tcl_Obj* const objv[]);
    static int HostCmdProc(void* cd, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]);

    std::ostream& m_out;
    Tcl_Interp* m_interp = nullptr;
    bool m_quiet = false;
    bool m_progressShown = false;
    std::vector<std::string> m_transcript;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_echoes;
    std::vector<std::string> m_words;
    std::vector<HostCmd*> m_hostCmds;
    RouteFn m_route;
    int m_echoDepth = 0;
    int m_refusedRequests = 0;
};
