// The answer of a script word or automation method, and the message that goes with it.
#include "grid/KXEditResult.h"

#include "afx/afxwin.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <cassert>

KXShownMark::KXShownMark() : m_shown(CKXErrorHandler::GetTranscript().size()) {}

bool KXShownMark::SaidSince() const {
    return CKXErrorHandler::GetTranscript().size() > m_shown;
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

void Show(const CString& id, const std::vector<std::string>& a) {
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
    case Kind::Dialog:
        return 2;
    case Kind::Help:
        Show(m_id, m_args);
        return 1;
    case Kind::Said:
        if (!since.SaidSince()) Show(m_id, m_args);
        return refusal;
    case Kind::Refused:
    case Kind::Nothing:
        if (!m_bHostText) {
            Show(m_id, m_args);
        } else if (CWnd* main = AfxGetMainWnd()) {
            main->SendMessage(MSG_HOST_MESSAGE_TEXT, reinterpret_cast<WPARAM>(m_id.GetString()), 0);
        }
        return refusal;
    }
    return refusal;
}

namespace {
KXMenuAnswer* g_pMenuAnswer = nullptr; // the menu command being run, innermost first
}

KXMenuAnswer::KXMenuAnswer() : m_pOuter(g_pMenuAnswer) {
    g_pMenuAnswer = this;
}

KXMenuAnswer::~KXMenuAnswer() {
    g_pMenuAnswer = m_pOuter;
}

void KXMenuAnswer::Report(const KXEditResult& result) {
    result.Answer(g_pMenuAnswer ? g_pMenuAnswer->m_mark : KXShownMark());
    if (!g_pMenuAnswer) return;
    if (result.IsRefusal())
        g_pMenuAnswer->m_answer = 0;
    else if (result.GetKind() == KXEditResult::Kind::Dialog && g_pMenuAnswer->m_answer == 1)
        g_pMenuAnswer->m_answer = 2;
}
