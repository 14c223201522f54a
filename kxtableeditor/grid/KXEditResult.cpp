// The answer of a script word or automation method, and the message that goes with it.
#include "grid/KXEditResult.h"

#include "afx/afxanswer.h"
#include "afx/afxcall.h"
#include "afx/afxwin.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxnotes/CComments.h"

#include <cassert>
#include <cstdio>

namespace {
// Asked while a connect moves pins that carry associated parts; its Cancel is an answer, not a stop.
constexpr const char* kRetainQuestion = "CKXRetainAssocCompDlg";
// The information shown before a save in the context of the parent: closing it, however, stops nothing.
constexpr const char* kContextSaveInformation = "CKXDontAskAgainDlg";
} // namespace

KXShownMark::KXShownMark()
    : m_shown(CKXErrorHandler::GetTranscript().size()), m_answered(AfxGetAnswerQueue().GetLog().size()) {}

bool KXShownMark::SaidSince() const {
    return CKXErrorHandler::GetTranscript().size() > m_shown;
}

bool KXShownMark::ReadOnlySaidSince() const {
    const std::vector<SKXShownMessage>& shown = CKXErrorHandler::GetTranscript();
    for (std::size_t i = m_shown; i < shown.size(); ++i)
        if (shown[i].id == kKXReadOnlyWindow) return true;
    return false;
}

bool KXShownMark::DialogOpenedSince() const {
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    for (std::size_t i = m_answered; i < log.size(); ++i)
        if (log[i].kind == AfxAnswerRecord::Dialog) return true;
    return false;
}

namespace {

bool IsOwnDialogClosedWith(const AfxAnswerRecord& r, const char* answer) {
    return r.kind == AfxAnswerRecord::Dialog && r.answer == answer && r.key != kRetainQuestion &&
           r.key != kContextSaveInformation;
}

// A dialog of the work's own, closed with that answer, in the answers logged from the first on.
bool OwnDialogClosedWith(std::size_t first, const char* answer) {
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    for (std::size_t i = first; i < log.size(); ++i)
        if (IsOwnDialogClosedWith(log[i], answer)) return true;
    return false;
}

} // namespace

bool KXShownMark::DialogCancelledSince() const {
    CString why;
    if (DialogRefusedSince(why)) return true;
    return OwnDialogClosedWith(m_answered, "cancel");
}

bool KXShownMark::DialogAnsweredSince() const {
    return OwnDialogClosedWith(m_answered, "ok");
}

bool KXShownMark::QuestionCancelledSince() const {
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    for (std::size_t i = m_answered; i < log.size(); ++i)
        if (log[i].kind == AfxAnswerRecord::Question && log[i].answer == "cancel") return true;
    return false;
}

bool KXShownMark::QuestionDeclinedSince(const char* id) const {
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    for (std::size_t i = m_answered; i < log.size(); ++i)
        if (log[i].kind == AfxAnswerRecord::Question && log[i].key == id &&
            (log[i].answer == "no" || log[i].answer == "cancel"))
            return true;
    return false;
}

bool KXShownMark::DialogRefusedSince(CString& why) const {
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    for (std::size_t i = m_answered; i < log.size(); ++i)
        if (log[i].kind == AfxAnswerRecord::Dialog && log[i].answer == "refused") {
            why = log[i].text;
            return true;
        }
    return false;
}

void KXShownMark::NoteStopsSince() const {
    CAfxAnswerQueue& queue = AfxGetAnswerQueue();
    const std::vector<AfxAnswerRecord>& log = queue.GetLog();
    for (std::size_t i = m_answered; i < log.size(); ++i)
        if (IsOwnDialogClosedWith(log[i], "cancel") ||
            (log[i].kind == AfxAnswerRecord::Question && log[i].answer == "cancel"))
            queue.NoteWorkStoppedAt(i);
}

bool KXShownMark::ShowDialogRefusal() const {
    CString why;
    if (!DialogRefusedSince(why)) return false;
    CKXErrorHandler::MessageBoxOk("KXTABLE-381", why);
    return true;
}

KXEditResult::KXEditResult(Kind kind, const char* id, std::vector<std::string> args)
    : m_kind(kind), m_id(id ? id : ""), m_args(std::move(args)) {
    // Every refusal and help request names the message that tells the user why.
    assert(!m_id.IsEmpty());
    if (m_id.IsEmpty()) m_id = "KXPANE-178";
}

KXEditResult KXEditResult::RefusedText(const CString& text) {
    KXEditResult result(Kind::Refused, text.IsEmpty() ? "KXPANE-178" : text.GetString(), {});
    result.m_bHostText = !text.IsEmpty();
    return result;
}

namespace {

// The outside call in which the window last said that it is read-only (0: none, or a direct call).
unsigned long g_readOnlySaidIn = 0;

void Show(const CString& id, const std::vector<std::string>& a) {
    if (id == kKXReadOnlyWindow) {
        // Said once in a call: every road of the call that ends at the read-only window has the same cause.
        const unsigned long call = AfxOuterCallNumber();
        if (call != 0 && call == g_readOnlySaidIn) return;
        g_readOnlySaidIn = call;
    }
    switch (a.size()) {
    case 0:
        CKXErrorHandler::MessageBoxOk(id);
        break;
    case 1:
        CKXErrorHandler::MessageBoxOk(id, a[0]);
        break;
    case 2:
        CKXErrorHandler::MessageBoxOk(id, a[0], a[1]);
        break;
    default:
        CKXErrorHandler::MessageBoxOk(id, a[0], a[1], a[2]);
        break;
    }
}

} // namespace

LRESULT KXEditResult::Answer(const KXShownMark& since, LRESULT refusal) const {
    switch (m_kind) {
    case Kind::Done:
        return 1;
    case Kind::DoneTwo:
        return 2;
    case Kind::Dialog:
        if (since.ShowDialogRefusal()) return refusal;
        since.NoteStopsSince();
        return 2;
    case Kind::Help:
        Show(m_id, m_args);
        return 1;
    case Kind::Said:
        if (!since.SaidSince()) Show(m_id, m_args);
        return refusal;
    case Kind::Refused:
    case Kind::Nothing:
        if (m_id != kKXReadOnlyWindow && since.ReadOnlySaidSince()) {
            // The window said it may not edit: that is the cause, and nothing else is said.
        } else if (!m_bHostText) {
            Show(m_id, m_args);
        } else if (CWnd* main = AfxGetMainWnd()) {
            main->SendMessage(MSG_HOST_MESSAGE_TEXT, reinterpret_cast<WPARAM>(m_id.GetString()), 0);
        }
        return refusal;
    }
    return refusal;
}

BOOL KXEditResult::AnswerBool(const KXShownMark& since) const {
    if (m_kind == Kind::Dialog) return since.ShowDialogRefusal() || since.DialogCancelledSince() ? FALSE : TRUE;
    return Answer(since) != 0 ? TRUE : FALSE;
}

namespace {
KXMenuAnswer* g_pMenuAnswer = nullptr; // the menu command being run, innermost first
}

KXMenuAnswer::KXMenuAnswer() : m_pOuter(g_pMenuAnswer) {
    g_pMenuAnswer = this;
}

LRESULT KXMenuAnswer::Answer() const {
    if (m_answer != 0 && m_mark.ShowDialogRefusal()) return 0;
    const LRESULT answer = m_answer == 1 && m_mark.DialogCancelledSince() ? 2 : m_answer;
    if (answer == 2) m_mark.NoteStopsSince();
    return answer;
}

KXMenuAnswer::~KXMenuAnswer() {
    g_pMenuAnswer = m_pOuter;
}

void KXRefuseReadOnlyWindow() {
    KXMenuAnswer::Report(KXEditResult::Refused(kKXReadOnlyWindow));
}

void KXMenuAnswer::Report(const KXEditResult& result) {
    Report(result, g_pMenuAnswer ? g_pMenuAnswer->m_mark : KXShownMark());
}

void KXMenuAnswer::ReportWork(BOOL done, const KXShownMark& since, const char* fallback) {
    if (done || since.DialogCancelledSince()) return;
    Report(KXEditResult::Of(FALSE, fallback), since);
}

void KXMenuAnswer::Report(const KXEditResult& result, const KXShownMark& since) {
    const LRESULT answer = result.Answer(since);
    if (!g_pMenuAnswer) return;
    if (result.IsRefusal() || answer == 0)
        g_pMenuAnswer->m_answer = 0;
    else if (result.GetKind() == KXEditResult::Kind::Dialog && g_pMenuAnswer->m_answer == 1)
        g_pMenuAnswer->m_answer = 2;
}

KXEditResult KXTakeCommentText(CString& text) {
    std::string stored;
    if (const std::string fault = CComments::StoredText(text.str(), stored); !fault.empty())
        return KXEditResult::Refused(KXCause::kCommentText, fault.c_str());
    text = CString(stored);
    return KXEditResult::Done();
}

KXEditResult KXTakeNameText(CString& text) {
    std::string stored;
    std::string fault = CComments::StoredText(text.str(), stored);
    if (const std::size_t at = stored.find_first_of("\t\r\n"); fault.empty() && at != std::string::npos) {
        // Characters are counted as the comment's check counts them: a UTF-8 sequence is one.
        std::size_t character = 1;
        for (std::size_t i = 0; i < at; ++i)
            if ((static_cast<unsigned char>(stored[i]) & 0xC0) != 0x80) ++character;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(stored[at]));
        fault = std::string(stored[at] == '\t' ? "a tab" : "a line break") + " (" + code + ") at character " +
                std::to_string(character);
    }
    if (!fault.empty()) return KXEditResult::Refused(KXCause::kNameText, fault.c_str());
    text = CString(stored);
    return KXEditResult::Done();
}
