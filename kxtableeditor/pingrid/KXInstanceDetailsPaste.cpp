// Pasting into the pin grid: clipboard text into the filter row or into the
// cell being edited, or line by line into the current column of the selected
// rows, where each row takes its line as if the user had typed it (in the
// Signal column: each line becomes that pin's signal). All rows of one paste
// are one edit: a row that refuses its line leaves the design as it was.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <utility>

using kxpingrid::Col;
using kxpingrid::GridWriteScope;

namespace {

constexpr ROWCOL kFilterRow = 4;
constexpr int kClipboardFormat = 4;
constexpr int kProgressStep = 50;

} // namespace

BOOL CKXInstanceDetailsGridWnd::Paste(CString& strText, BOOL bPasteSpecial) {
    CWaitCursor wait;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    const BOOL termination = col == Col(m_nColTermination);
    if (strText.IsEmpty() && !CKXImpClipBoard::ProcessDataForPaste(kClipboardFormat, nullptr, -1, termination,
                                                                   bPasteSpecial ? 1 : 0, 0, 0, 0, 1))
        return FALSE;
    return PasteIntoCurrentCell(row, col, bPasteSpecial);
}

BOOL CKXInstanceDetailsGridWnd::PasteFromClipboardViewer(int nItem, int) {
    CWaitCursor wait;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    const BOOL termination = col == Col(m_nColTermination);
    if (!CKXImpClipBoard::ProcessDataForPaste(kClipboardFormat, nullptr, nItem - 1, termination, 0, 0, 0, 0, 1))
        return FALSE;
    return PasteIntoCurrentCell(row, col, FALSE);
}

BOOL CKXInstanceDetailsGridWnd::PasteIntoCurrentCell(ROWCOL row, ROWCOL col, BOOL bPasteSpecial) {
    CString text;
    CKXImpClipBoard::GetCFText(text);
    if (row == kFilterRow) {
        if (IsPasteCellReadOnly(row, col)) return FALSE;
        text.TrimRight("\r\n");
        return TypeIntoCell(row, col, text) ? TRUE : FALSE;
    }
    if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive()) {
        control->ReplaceSel(text);
        return TRUE;
    }
    // Copied terminations go onto the selected pins, copied pull-up groups onto their signals.
    if (col == Col(m_nColTermination)) return PasteTerminationsInEdit();
    if (col == Col(m_nColPupd)) return PastePupdsInEdit();
    CKXPinConnEdit edit(*this, m_designContext2, "Paste Selected Text");
    if (!edit) return FALSE;
    // The rows' journal lines are written once the whole paste is in.
    const int holding = std::exchange(m_bHoldJournal, 1);
    const CString held = std::exchange(m_strHeldJournal, CString());
    const BOOL wasModified = Site() ? Site()->IsDocumentModified() : FALSE;
    const int steps = PasteSignalNames(text, bPasteSpecial);
    m_bHoldJournal = holding;
    const CString journal = std::exchange(m_strHeldJournal, held);
    if (steps <= 0 || !edit.Commit()) {
        // The rows that took their lines go with the rest: the document is as it was.
        if (Site()) Site()->RestoreDocumentModified(wasModified);
        return FALSE;
    }
    WriteJournal(journal);
    return TRUE;
}

void CKXInstanceDetailsGridWnd::HoldJournal() {
    m_bHoldJournalBefore = std::exchange(m_bHoldJournal, 1);
    m_strHeldJournalBefore = std::exchange(m_strHeldJournal, CString());
}

void CKXInstanceDetailsGridWnd::ReleaseJournal(BOOL bWrite) {
    m_bHoldJournal = std::exchange(m_bHoldJournalBefore, 0);
    const CString held = std::exchange(m_strHeldJournal, std::exchange(m_strHeldJournalBefore, CString()));
    if (bWrite) WriteJournal(held);
}

bool CKXInstanceDetailsGridWnd::IsPasteCellReadOnly(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    ComposeStyleRowCol(row, col, &style);
    return style.GetIncludeReadOnly() && style.GetReadOnly();
}

std::vector<std::pair<ROWCOL, CString>> CKXInstanceDetailsGridWnd::PasteTargets(const std::vector<CString>& lines) {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : SelectedPinRows())
        if (r >= PIN_FIRST_ROW && r <= GetRowCount() && !IsRowHidden(r)) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Several lines on one row: the lines fill the visible rows from it down.
    if (lines.size() > 1 && rows.size() == 1) {
        const ROWCOL first = rows.front();
        rows.clear();
        for (ROWCOL r = first; r <= GetRowCount() && rows.size() < lines.size(); ++r)
            if (!IsRowHidden(r)) rows.push_back(r);
    }
    std::vector<std::pair<ROWCOL, CString>> targets;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (lines.size() > 1 && i >= lines.size()) break; // rows after the last line keep their signals
        const CString& text = lines.size() == 1 ? lines.front() : lines[i];
        if (text.IsEmpty() && CKXImpClipBoard::m_bIgnoreEmptyCellsInPasteSpecial) continue;
        targets.emplace_back(rows[i], text);
    }
    return targets;
}

bool CKXInstanceDetailsGridWnd::ConfirmPasteOverwrite(const std::vector<std::pair<ROWCOL, CString>>& targets,
                                                      ROWCOL col, BOOL bPasteSpecial) {
    if (bPasteSpecial || col != Col(m_nColSignal)) return true;
    DWORD prompt = 0;
    const BOOL opened = CKXRegistrySettings::OpenRegistryKey();
    const BOOL read = opened && CKXRegistrySettings::GetFromRegistry("on_paste_prompt_before_overwrite", prompt);
    CKXRegistrySettings::CloseRegistryKey();
    if (!read || prompt == 0) return true;
    for (const auto& [row, text] : targets)
        if (!GetValueRowCol(row, col).IsEmpty())
            return CKXErrorHandler::MessageBoxYesNo("KXTABLE-240") != IDNO;
    return true;
}

int CKXInstanceDetailsGridWnd::PasteSignalNames(CString strText, BOOL bPasteSpecial) {
    const std::vector<CString> lines = KXSplitClipboardLines(strText);
    ROWCOL current = GX_INVALID, col = GX_INVALID;
    if (lines.empty() || !GetCurrentCell(current, col)) return 0;
    const std::vector<std::pair<ROWCOL, CString>> targets = PasteTargets(lines);
    if (targets.empty()) return 0;
    if (!ConfirmPasteOverwrite(targets, col, bPasteSpecial)) {
        SetSelection(nullptr);
        return 0;
    }
    SetSelection(nullptr); // each row takes its own line
    const int pasting = std::exchange(m_bPastingSignals, 1);
    CKXProgressBar progress("Adding Connections", static_cast<int>(targets.size()), kProgressStep, 0, 0);
    int steps = 0;
    // The cells show what the design says once the paste is in: their stores are no undo steps.
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    for (const auto& [row, text] : targets) {
        progress.StepIt();
        progress.PeekAndPump();
        if (IsPasteCellReadOnly(row, col)) continue;
        if (!TypeIntoCell(row, col, text)) {
            steps = 0;
            break;
        }
        ++steps;
    }
    m_bPastingSignals = pasting;
    return steps;
}
