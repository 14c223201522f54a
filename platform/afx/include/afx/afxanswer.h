// The answer queue: scripted answers to everything modal (message boxes and questions, dialogs,
// pop-up menus). There is one queue per process, kept in this library so that every module
// reaches the same one. Everything asked is recorded in a log that tests and the host read.
//
// Rules:
// - A question is answered by the first queued answer with its message id (an answer queued
//   with the id "*" answers any question). Unanswered: No for yes/no questions, Cancel for
//   yes/no/cancel, OK/Cancel and retry/cancel ones, OK for a plain message. While a journal is replayed every
//   question counts as answered Yes (OK for a plain message) and no queued answer is used.
// - A dialog is answered by the first queued answer for its class name: OK or Cancel and the
//   field values to apply. Unanswered: cancelled.
// - A pop-up menu is answered by the first queued menu answer: the command id to choose.
//   Unanswered, or an id that the menu does not hold: 0 (nothing chosen).
#pragma once

#include "afx/afxstr.h"

#include <functional>
#include <cstddef>
#include <map>
#include <set>
#include <vector>

struct AfxDialogAnswer {
    BOOL bOK = FALSE;
    std::map<CString, CString> fields; // field name -> value
};

struct AfxAnswerRecord {
    enum Kind { Question, Dialog, Menu } kind;
    CString key;    // message id, dialog class, or "" for menus
    CString text;   // the question's text, or the menu's item ids
    CString answer; // "yes", "no", "ok", "cancel", "retry", "refused" (a dialog), or the chosen command id
    BOOL bScripted; // FALSE when the default answer was used (or replay answered)
    // One line: "question KXTABLE-143: yes", "dialog CFooDlg: cancel (unanswered)", "menu: 35109".
    CString Line() const;
};

class CAfxAnswerQueue {
public:
    static CAfxAnswerQueue& Get();

    // Queue answers.
    void PushQuestion(LPCSTR lpszMessageId, int nAnswer); // IDYES, IDNO, IDOK, IDCANCEL, IDRETRY
    void PushDialog(LPCSTR lpszDialogClass, BOOL bOK, std::map<CString, CString> fields = {});
    void PushMenu(UINT nCommandId);
    void ClearPending();
    int GetPendingCount() const;

    // Ask. nType is the MB_ type of the box (MB_OK, MB_YESNO, MB_OKCANCEL, MB_YESNOCANCEL...).
    int AskQuestion(LPCSTR lpszMessageId, LPCSTR lpszText, UINT nType);
    // TRUE with the answer when the dialog is accepted; FALSE (cancelled) otherwise. out gets the
    // scripted fields even for a scripted Cancel.
    BOOL TakeDialog(LPCSTR lpszDialogClass, AfxDialogAnswer& out);
    // A dialog that cannot take the answer it was given (a value it does not offer) closes without
    // work: its record in the log says "refused", with why in its text.
    void RefuseDialog(LPCSTR lpszDialogClass, const CString& why);
    // The chosen command id, or 0. validIds (when not null) lists the menu's command ids.
    UINT TakeMenu(const std::vector<UINT>* validIds = nullptr);

    // Replay of a journal.
    void SetReplay(BOOL bReplay) { m_bReplay = bReplay; }
    BOOL IsReplay() const { return m_bReplay; }

    // The log.
    const std::vector<AfxAnswerRecord>& GetLog() const { return m_log; }
    std::vector<CString> GetLogLines() const;
    void ClearLog() {
        m_log.clear();
        m_stopsTold.clear();
    }
    // Called with each record as it is made (the host prints them).
    void SetListener(std::function<void(const AfxAnswerRecord&)> fn) { m_listener = std::move(fn); }
    // The work the question or dialog of log record `index` stood before stopped there (it was cancelled).
    // When nobody answered it (its default answer was taken) the stop listener hears of it, once: a batch
    // run learns that nothing was done for want of an answer.
    void NoteWorkStoppedAt(std::size_t index);
    void SetStopListener(std::function<void(const AfxAnswerRecord&)> fn) { m_stopListener = std::move(fn); }

    // Empties the queue and the log and ends replay.
    void Reset();

private:
    struct Pending {
        AfxAnswerRecord::Kind kind;
        CString key;
        int nAnswer = 0;
        AfxDialogAnswer dialog;
        UINT nCommand = 0;
    };
    void record(AfxAnswerRecord r);
    std::vector<Pending> m_pending;
    std::vector<AfxAnswerRecord> m_log;
    BOOL m_bReplay = FALSE;
    std::function<void(const AfxAnswerRecord&)> m_listener;
    std::function<void(const AfxAnswerRecord&)> m_stopListener;
    std::set<std::size_t> m_stopsTold; // the records the stop listener heard of
};

inline CAfxAnswerQueue& AfxGetAnswerQueue() {
    return CAfxAnswerQueue::Get();
}

// Message boxes go through the queue. The message id of a box shown by text is the text itself;
// of a box shown by string id, that id in decimal.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = 0, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = 0, UINT nIDHelp = (UINT)-1);
// A question with an explicit message id (what the error-message libraries use).
int AfxAskQuestion(LPCSTR lpszMessageId, LPCSTR lpszText, UINT nType);
struct HWND__;
int MessageBox(HWND__* hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
inline int MessageBoxA(HWND__* hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return MessageBox(hWnd, lpText, lpCaption, uType);
}
