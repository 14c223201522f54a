#include "afx/afxanswer.h"

#include "afx/afxtypes.h"

#include <algorithm>
#include <mutex>

namespace {
CString answerText(int n) {
    switch (n) {
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDRETRY:
        return "retry";
    case IDABORT:
        return "abort";
    case IDIGNORE:
        return "ignore";
    default: {
        CString s;
        s.Format("%d", n);
        return s;
    }
    }
}

// Whether an answer fits the buttons of a box; an answer that does not is not used.
bool fits(int answer, UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return answer == IDOK;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_RETRYCANCEL:
        return answer == IDRETRY || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    default:
        return true;
    }
}

int defaultAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    case MB_YESNOCANCEL:
        // Nobody said to throw the work away: the action that asked does not happen.
        return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDCANCEL;
    }
}

int replayAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
    case MB_ABORTRETRYIGNORE:
        return IDRETRY;
    default:
        return IDOK;
    }
}
} // namespace

CString AfxAnswerRecord::Line() const {
    CString s;
    switch (kind) {
    case Question:
        s = "question " + key;
        break;
    case Dialog:
        s = "dialog " + key;
        break;
    case Menu:
        s = "menu";
        break;
    }
    s += ": " + answer;
    if (!bScripted) s += " (unanswered)";
    return s;
}

CAfxAnswerQueue& CAfxAnswerQueue::Get() {
    static CAfxAnswerQueue q;
    return q;
}

void CAfxAnswerQueue::PushQuestion(LPCSTR lpszMessageId, int nAnswer) {
    m_pending.push_back(Pending{AfxAnswerRecord::Question, lpszMessageId, nAnswer, {}, 0});
}

void CAfxAnswerQueue::PushDialog(LPCSTR lpszDialogClass, BOOL bOK, std::map<CString, CString> fields) {
    Pending p{AfxAnswerRecord::Dialog, lpszDialogClass, 0, {}, 0};
    p.dialog.bOK = bOK;
    p.dialog.fields = std::move(fields);
    m_pending.push_back(std::move(p));
}

void CAfxAnswerQueue::PushMenu(UINT nCommandId) {
    m_pending.push_back(Pending{AfxAnswerRecord::Menu, "", 0, {}, nCommandId});
}

void CAfxAnswerQueue::ClearPending() {
    m_pending.clear();
}
int CAfxAnswerQueue::GetPendingCount() const {
    return static_cast<int>(m_pending.size());
}

void CAfxAnswerQueue::record(AfxAnswerRecord r) {
    m_log.push_back(r);
    if (m_listener) m_listener(m_log.back());
}

int CAfxAnswerQueue::AskQuestion(LPCSTR lpszMessageId, LPCSTR lpszText, UINT nType) {
    CString id(lpszMessageId);
    if (m_bReplay) {
        int a = replayAnswer(nType);
        record(AfxAnswerRecord{AfxAnswerRecord::Question, id, lpszText, answerText(a) + " (replay)", TRUE});
        return a;
    }
    auto it = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending& p) {
        return p.kind == AfxAnswerRecord::Question && (p.key == id || p.key == "*") && fits(p.nAnswer, nType);
    });
    if (it == m_pending.end()) {
        int a = defaultAnswer(nType);
        record(AfxAnswerRecord{AfxAnswerRecord::Question, id, lpszText, answerText(a), FALSE});
        return a;
    }
    int a = it->nAnswer;
    m_pending.erase(it);
    record(AfxAnswerRecord{AfxAnswerRecord::Question, id, lpszText, answerText(a), TRUE});
    return a;
}

BOOL CAfxAnswerQueue::TakeDialog(LPCSTR lpszDialogClass, AfxDialogAnswer& out) {
    CString cls(lpszDialogClass);
    auto it = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending& p) {
        return p.kind == AfxAnswerRecord::Dialog && p.key == cls;
    });
    if (it == m_pending.end()) {
        out = AfxDialogAnswer{};
        record(AfxAnswerRecord{AfxAnswerRecord::Dialog, cls, "", "cancel", FALSE});
        return FALSE;
    }
    out = std::move(it->dialog);
    m_pending.erase(it);
    record(AfxAnswerRecord{AfxAnswerRecord::Dialog, cls, "", out.bOK ? "ok" : "cancel", TRUE});
    return out.bOK;
}

void CAfxAnswerQueue::RefuseDialog(LPCSTR lpszDialogClass, const CString& why) {
    const CString cls(lpszDialogClass);
    for (auto it = m_log.rbegin(); it != m_log.rend(); ++it) {
        if (it->kind != AfxAnswerRecord::Dialog || it->key != cls) continue;
        it->answer = "refused";
        it->text = why;
        return;
    }
}

UINT CAfxAnswerQueue::TakeMenu(const std::vector<UINT>* validIds) {
    CString items;
    if (validIds)
        for (UINT id : *validIds) {
            if (!items.IsEmpty()) items += ' ';
            items.AppendFormat("%u", id);
        }
    auto it = std::find_if(m_pending.begin(), m_pending.end(),
                           [](const Pending& p) { return p.kind == AfxAnswerRecord::Menu; });
    if (it == m_pending.end()) {
        record(AfxAnswerRecord{AfxAnswerRecord::Menu, "", items, "0", FALSE});
        return 0;
    }
    UINT id = it->nCommand;
    m_pending.erase(it);
    if (validIds && std::find(validIds->begin(), validIds->end(), id) == validIds->end()) {
        CString a;
        a.Format("0 (%u not in the menu)", id);
        record(AfxAnswerRecord{AfxAnswerRecord::Menu, "", items, a, TRUE});
        return 0;
    }
    CString a;
    a.Format("%u", id);
    record(AfxAnswerRecord{AfxAnswerRecord::Menu, "", items, a, TRUE});
    return id;
}

std::vector<CString> CAfxAnswerQueue::GetLogLines() const {
    std::vector<CString> out;
    for (const auto& r : m_log)
        out.push_back(r.Line());
    return out;
}

void CAfxAnswerQueue::NoteWorkStoppedAt(std::size_t index) {
    if (index >= m_log.size() || m_log[index].bScripted || m_bReplay) return;
    if (!m_stopsTold.insert(index).second) return;
    if (m_stopListener) m_stopListener(m_log[index]);
}

void CAfxAnswerQueue::Reset() {
    m_pending.clear();
    m_log.clear();
    m_stopsTold.clear();
    m_bReplay = FALSE;
}

int AfxAskQuestion(LPCSTR lpszMessageId, LPCSTR lpszText, UINT nType) {
    return AfxGetAnswerQueue().AskQuestion(lpszMessageId, lpszText, nType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    (void)nIDHelp;
    return AfxAskQuestion(lpszText, lpszText, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    (void)nIDHelp;
    CString id, text;
    id.Format("%u", nIDPrompt);
    if (!text.LoadString(nIDPrompt)) text = id;
    return AfxAskQuestion(id, text, nType);
}

int MessageBox(HWND__* hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    (void)hWnd;
    (void)lpCaption;
    return AfxAskQuestion(lpText, lpText, uType);
}
