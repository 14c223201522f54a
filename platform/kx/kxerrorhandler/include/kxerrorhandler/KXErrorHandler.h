// The error handler: messages by id, with their texts from a message file, shown as message boxes that the
// answer queue answers, and recorded in a transcript that the host prints.
//
// Message file format (text, one entry per id):
//   # a comment: a line whose first non-blank character is '#'
//   KXTABLE-134: The comments of design %s could not be loaded.
//       A line that begins with a blank or a tab continues the text above it
//       (joined with a line break, its leading blanks dropped).
// - An id is a letter followed by letters, digits, '_' and '-' ("KXTABLE-134"); then ':' and the text.
// - Blank lines end nothing and are ignored. An entry's text may not be empty.
// - Escapes in texts: "\n" line break, "\t" tab, "\\" backslash.
// - Arguments: "%s" takes the next argument, "%1".."%9" a given one, "%%" is a percent sign. An argument is
//   put in as it is: nothing in it is read as a placeholder. A missing argument is left out (empty).
// - Anything else is refused: the loader reports "<path>:<line>: <reason>" and keeps none of that file.
//
// Where a relative path is looked for: under the data directory, which is the one given to
// SetDataDirectory, else the environment variable KX_DATA_DIR, else the current directory.
// Loading a file again replaces what that file gave before; an id that another file gave too takes the
// text of the file loaded last.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// One argument of a message: any text or number, turned into text.
class KXMsgArg {
public:
    KXMsgArg(const char* s) : m_text(s ? s : "") {}
    KXMsgArg(const CString& s) : m_text(s.str()) {}
    KXMsgArg(const std::string& s) : m_text(s) {}
    template <typename T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, char>, int> = 0>
    KXMsgArg(T v) : m_text(std::to_string(v)) {}
    KXMsgArg(char c) : m_text(1, c) {}
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

// A message that was shown (or reported), in the order shown.
struct SKXShownMessage {
    CString id;     // the message id as the caller gave it
    CString text;   // the text with its arguments in place
    UINT type = 0;  // MB_OK, MB_YESNO, MB_OKCANCEL; for a schema violation, MB_ICONWARNING
    int answer = 0; // IDOK, IDYES, IDNO, IDCANCEL; 0 for a report that asks nothing
};

class CKXErrorHandler {
public:
    // Loads a message file (format above). FALSE with GetLastLoadError() set when the file is missing or bad;
    // nothing of a bad file is kept.
    static BOOL LoadMessageFile(const char* path);
    static CString GetLastLoadError();
    // The failed loads since the last call ("file: why; ..."), for the application to report.
    static std::vector<std::string> TakeLoadFailures();
    static void SetDataDirectory(const char* dir);
    static CString GetDataDirectory();
    // Forgets every loaded text.
    static void ClearMessages();

    static BOOL HasMessage(const char* id);
    // The id's text with its arguments in place; for an unknown id the id itself (some callers pass a
    // plain text instead of an id) followed by its non-empty arguments, separated by blanks.
    static CString FormatMessage(const char* id, std::initializer_list<KXMsgArg> args = {});
    // Substitutes arguments into a text by the rules above.
    static CString Substitute(const char* text, const std::vector<std::string>& args);

    // Shows the message and returns the answer: IDOK; IDYES or IDNO; IDOK or IDCANCEL.
    template <typename... A> static int MessageBoxOk(const char* id, const A&... args) {
        return Show(id, {KXMsgArg(args)...}, MB_OK);
    }
    template <typename... A> static int MessageBoxYesNo(const char* id, const A&... args) {
        return Show(id, {KXMsgArg(args)...}, MB_YESNO);
    }
    template <typename... A> static int MessageBoxOkCancel(const char* id, const A&... args) {
        return Show(id, {KXMsgArg(args)...}, MB_OKCANCEL);
    }
    // Yes, No or Cancel; unanswered (outside a replay) it answers Cancel, so that nothing is lost by default.
    template <typename... A> static int MessageBoxYesNoCancel(const char* id, const A&... args) {
        return Show(id, {KXMsgArg(args)...}, MB_YESNOCANCEL);
    }
    static int Show(const char* id, std::initializer_list<KXMsgArg> args, UINT type);

    // Schema-violation report: the message id, its error number, the violating object's hierarchical path
    // (may be empty) and the pin name. Recorded in the transcript; asks nothing.
    static void ReportSchemaViolation(const char* id, int errorNumber, const char* objectPath,
                                      const char* pinName);

    // The transcript of everything shown since the last ClearTranscript.
    static const std::vector<SKXShownMessage>& GetTranscript();
    static void ClearTranscript();
    // The host prints each shown message through this function as it is shown.
    using TranscriptSink = std::function<void(const SKXShownMessage&)>;
    static void SetTranscriptSink(TranscriptSink sink);

    // Where answers come from. The default asks the process's answer queue; tests may install their own.
    using AnswerProvider = std::function<int(const char* id, const char* text, UINT type)>;
    static void SetAnswerProvider(AnswerProvider provider);

private:
    static BOOL LoadMessageFileOnce(const char* path);
};
