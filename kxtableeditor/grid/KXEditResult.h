// What a script word or an automation method did, and so what it answers. Every handler of the
// design window's and the connectivity pane's words returns one of these; Answer() is the one
// place where a result becomes the number the host gets and where the message of a refusal is
// shown:
//
//   1  Done()                  the work asked for was done
//   1  Help(usage)             a help request: its usage was shown
//   0  Refused(id, args...)    it refused, or does not apply here; the message says why
//   0  Nothing(id, args...)    it would change nothing; the message says so
//   0  Of(ok, id)              a callee's work: done, or refused by it; when the callee said
//                              nothing since the word began, the fallback id says why
//   2  Dialog()                it opened its interactive dialog (the automation form: TRUE when
//                              the dialog did its work, FALSE when the user cancelled it); 0, with
//                              KXTABLE-381, when the dialog could not take the answer it was given
//   2  Done(KXAnswerTwo::...)  the few words whose done work answers 2 (listed in KXAnswerTwo)
//
// A refusal cannot be made without a message id. A word whose refusals answer 3 says so once,
// in its dispatch table (Answer(mark, 3)).
//
//   KXShownMark mark;                                  // where the word or method begins
//   KXEditResult r = KXEditResult::Of(grid->DeleteSelection(), "KXTABLE-272");
//   return r.Answer(mark);
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "grid/KXRefusalCauses.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The refusal of every edit in a read-only window (a block opened in the context of its parent, open
// mode 2): the message says that the window is read-only.
inline constexpr const char* kKXReadOnlyWindow = KXCause::kReadOnlyWindow;

// The refusal of an edit because its window may not edit: KXTABLE-382, said once in an outside call
// (however many roads of the call reach the window), and the menu command that ran it answers 0.
void KXRefuseReadOnlyWindow();

// The done work that answers 2: a connect by a plain signal name, a Paste Special.
enum class KXAnswerTwo { PlainSignalName, PasteSpecial };

// The messages shown and the dialogs answered so far; a callee that refused since has said why, and
// a dialog cancelled since did no work.
class KXShownMark {
public:
    KXShownMark();
    bool SaidSince() const;
    // The window said since the mark that it may not edit (kKXReadOnlyWindow).
    bool ReadOnlySaidSince() const;
    // A dialog opened since the mark (whatever its answer).
    bool DialogOpenedSince() const;
    // A dialog closed with Cancel (or left unanswered, or refusing its answer) since the mark. The retain
    // question asked in the middle of a connect is no such dialog: its Cancel keeps the associated parts
    // and the edit goes on; nor is the information before a save in the parent's context, which the save
    // follows however it is closed.
    bool DialogCancelledSince() const;
    // A dialog of the work's own answered OK since the mark: the work went on as the user chose in it.
    // The retain question and the information before a save in the parent's context are no such dialog.
    bool DialogAnsweredSince() const;
    // A question answered Cancel since the mark: the work it stood before was not done.
    bool QuestionCancelledSince() const;
    // The question of that message id answered No or Cancel since the mark.
    bool QuestionDeclinedSince(const char* id) const;
    // A dialog given an answer it cannot take (a value it does not offer) since the mark; why says which.
    bool DialogRefusedSince(CString& why) const;
    // Shows that refusal (KXTABLE-381) when there was one; true then.
    bool ShowDialogRefusal() const;
    // The work stopped at the dialogs and questions cancelled since the mark (it answers 2): those that
    // went unanswered are told to whoever runs the editor without a user (a batch run), once each.
    void NoteStopsSince() const;

private:
    std::size_t m_shown;
    std::size_t m_answered;
};

class KXEditResult {
public:
    enum class Kind { Done, Help, Refused, Nothing, Said, Dialog, DoneTwo };

    static KXEditResult Done() { return KXEditResult(Kind::Done); }
    static KXEditResult Done(KXAnswerTwo) { return KXEditResult(Kind::DoneTwo); }
    static KXEditResult Dialog() { return KXEditResult(Kind::Dialog); }
    static KXEditResult Help(const char* usage) { return KXEditResult(Kind::Help, usage, {}); }
    template <typename... A> static KXEditResult Refused(const char* id, const A&... args) {
        return KXEditResult(Kind::Refused, id, {Text(args)...});
    }
    template <typename... A> static KXEditResult Nothing(const char* id, const A&... args) {
        return KXEditResult(Kind::Nothing, id, {Text(args)...});
    }
    // Done when ok; otherwise refused, with the callee's message, or the fallback when it said nothing.
    template <typename... A> static KXEditResult Of(BOOL ok, const char* fallback, const A&... args) {
        return ok ? Done() : KXEditResult(Kind::Said, fallback, {Text(args)...});
    }
    // The same for a text to the host (a refusal the host prints as a host message).
    static KXEditResult RefusedText(const CString& text);

    // The number the host gets; shows the message of a refusal or help request (a callee's refusal
    // only when nothing was said since the mark). A word whose refusals answer another number passes it.
    LRESULT Answer(const KXShownMark& since, LRESULT refusal = 0) const;
    // The automation form: TRUE for done work, FALSE for a refusal (its message shown). A method cannot
    // answer 2: its dialog answers TRUE when it did its work, FALSE when the user cancelled it.
    BOOL AnswerBool(const KXShownMark& since) const;

    Kind GetKind() const { return m_kind; }
    bool IsDone() const { return m_kind == Kind::Done || m_kind == Kind::DoneTwo; }
    bool IsRefusal() const { return m_kind == Kind::Refused || m_kind == Kind::Nothing || m_kind == Kind::Said; }
    const CString& MessageId() const { return m_id; }

private:
    explicit KXEditResult(Kind kind) : m_kind(kind) {}
    KXEditResult(Kind kind, const char* id, std::vector<std::string> args);
    static std::string Text(const char* s) { return s ? s : ""; }
    static std::string Text(const CString& s) { return s.str(); }
    static std::string Text(const std::string& s) { return s; }
    static std::string Text(int v) { return std::to_string(v); }

    Kind m_kind;
    CString m_id;   // the message shown; for a host text, the text
    bool m_bHostText = false;
    std::vector<std::string> m_args;
};

// The answer of a menu command the host runs by its id (MSG_RUN_MENU_COMMAND): the window opens one
// around the command, which answers 1 unless a handler reported a refusal (0) or a dialog the user
// closed without work (2); a handler whose command refused or would change nothing reports its
// result here, which shows its message (outside such a run only the message shows). A dialog the
// command opened and the user cancelled answers 2 without a report, whichever command opened it; one
// that could not take its answer is a refusal (0, KXTABLE-381).
class KXMenuAnswer {
public:
    KXMenuAnswer();
    ~KXMenuAnswer();
    KXMenuAnswer(const KXMenuAnswer&) = delete;
    KXMenuAnswer& operator=(const KXMenuAnswer&) = delete;

    LRESULT Answer() const;
    static void Report(const KXEditResult& result);
    // The same for a callee's work begun at the mark: its refusal said why since, or the fallback says it.
    static void Report(const KXEditResult& result, const KXShownMark& since);
    // A handler's work begun at the mark, by what it returned: done; stopped by a dialog or question the
    // user cancelled (the run answers 2 for it); else refused, with the callee's message or the fallback.
    static void ReportWork(BOOL done, const KXShownMark& since, const char* fallback);

private:
    KXMenuAnswer* m_pOuter;
    KXShownMark m_mark;
    LRESULT m_answer = 1;
};

// A comment's text as given on any road (a pin's or the design's), made the text the comment stores:
// Done, or refused (KXCause::kCommentText) when it is no printable text, and text is then unchanged.
KXEditResult KXTakeCommentText(CString& text);
// A name as the user types it (a matrix view's), checked as a comment's text is and one line besides: Done,
// or refused (KXCause::kNameText) when it holds a control character, a tab or a line break.
KXEditResult KXTakeNameText(CString& text);
