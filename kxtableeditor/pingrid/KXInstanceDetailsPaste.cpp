// Pasting into the pin grid: clipboard text into the filter row or into the
// cell being edited, or line by line into the current column of the selected
// rows, where each row takes its line as if the user had typed it (in the
// Signal column: each line becomes that pin's signal). All rows of one paste
// are one edit: a row that refuses its line leaves the design as it was.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridPaste.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXScriptWords.h"
#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxcommon/TclArgs.h"
#include "kxinstsigpane/KXTransaction.h"

#include <algorithm>
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
    return m_paste->PasteIntoCurrentCell(row, col, bPasteSpecial);
}

BOOL CKXInstanceDetailsGridWnd::PasteFromClipboardViewer(int nItem, int) {
    CWaitCursor wait;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    const BOOL termination = col == Col(m_nColTermination);
    if (!CKXImpClipBoard::ProcessDataForPaste(kClipboardFormat, nullptr, nItem - 1, termination, 0, 0, 0, 0, 1))
        return FALSE;
    return m_paste->PasteIntoCurrentCell(row, col, FALSE);
}

BOOL KXPinGridPaste::PasteIntoCurrentCell(ROWCOL row, ROWCOL col, BOOL bPasteSpecial) {
    CString text;
    CKXImpClipBoard::GetCFText(text);
    if (row == kFilterRow) {
        // Pasted into the filter row, the text is the column's filter, as typed there and entered: it
        // filters, and is no undo step.
        if (IsPasteCellReadOnly(row, col)) return FALSE;
        text.TrimRight("\r\n");
        if (!KXIsOneLine(text)) return FALSE;
        {
            GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
            if (!m_grid.TypeIntoCell(row, col, text)) return FALSE;
        }
        m_grid.FilterRowsAsUser(col);
        return TRUE;
    }
    if (KXPasteIntoActiveEditor(m_grid, text)) return TRUE;
    // Copied terminations go onto the selected pins, copied pull-up groups onto their signals.
    if (col == Col(m_grid.m_nColTermination)) return m_grid.m_assocPaste->PasteTerminationsInEdit();
    if (col == Col(m_grid.m_nColPupd)) return m_grid.m_assocPaste->PastePupdsInEdit();
    if (m_grid.m_bHostCommits) return PasteInHostEdit(text, bPasteSpecial);
    CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Paste Selected Text");
    if (!edit) return FALSE;
    // The rows' journal lines are written once the whole paste is in.
    const int holding = std::exchange(m_grid.m_bHoldJournal, 1);
    const CString held = std::exchange(m_grid.m_strHeldJournal, CString());
    const BOOL wasModified = m_grid.Site() ? m_grid.Site()->IsDocumentModified() : FALSE;
    const int steps = PasteSignalNames(text, bPasteSpecial);
    m_grid.m_bHoldJournal = holding;
    const CString journal = std::exchange(m_grid.m_strHeldJournal, held);
    if (steps <= 0 || !edit.Commit()) {
        // The rows that took their lines go with the rest: the document is as it was.
        if (m_grid.Site()) m_grid.Site()->RestoreDocumentModified(wasModified);
        return FALSE;
    }
    m_grid.WriteJournal(journal);
    return TRUE;
}

// The host holds the transaction and keeps or throws away all of its edits at once: the paste is one
// edit inside it, which a refused line takes back whole, leaving the host's earlier edits as they were.
BOOL KXPinGridPaste::PasteInHostEdit(const CString& text, BOOL bPasteSpecial) {
    if (!CKXTransaction::IsTransactionStarted()) return FALSE; // the host's edit is over: nothing to join
    CKXGridEdit edit(m_grid, m_grid.m_designContext2, "Paste Selected Text", CKXGridEdit::kNested);
    if (!edit) return FALSE;
    std::vector<CString> newNets;
    std::vector<std::pair<ROWCOL, CString>> rows;
    auto* const outerNets = std::exchange(m_grid.m_pPasteNewNets, &newNets);
    auto* const outerRows = std::exchange(m_pPastedRows, &rows);
    const BOOL wasModified = m_grid.Site() ? m_grid.Site()->IsDocumentModified() : FALSE;
    m_grid.HoldJournal();
    const int steps = PasteSignalNames(text, bPasteSpecial);
    m_grid.m_pPasteNewNets = outerNets;
    m_pPastedRows = outerRows;
    // Rows that all had their line already change nothing: no edit. What could not be taken back stays in
    // the host's edit: it is journalled and echoed like a kept paste, so that replay makes what OK keeps.
    BOOL kept = steps > 0 && !rows.empty() && edit.Commit();
    if (!kept && !TakeBackPaste(edit, newNets, wasModified, !rows.empty())) kept = TRUE;
    m_grid.ReleaseJournal(kept);
    if (kept && outerRows) outerRows->insert(outerRows->end(), rows.begin(), rows.end());
    return kept;
}

// Nothing commits the host's transaction before the host ends it, so the paste's part goes whole. Should
// a commit have come in between all the same, what it committed stays in the host's transaction: the
// paste says so and stays (false), and the rows show the design as it is.
bool KXPinGridPaste::TakeBackPaste(CKXGridEdit& edit, const std::vector<CString>& newNets, BOOL wasModified,
                                   bool rowsChanged) {
    if (!edit.Discard()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-255");
        if (IKXGridSite* site = m_grid.Site()) site->MarkModified();
        m_grid.ReadRowsAgain();
        return false;
    }
    m_grid.TakeBackNetNames(newNets);
    if (m_grid.Site()) m_grid.Site()->RestoreDocumentModified(wasModified);
    // Rows that took their line before the refused one show what the design holds again.
    if (rowsChanged) m_grid.ReadRowsAgain();
    return true;
}

int CKXInstanceDetailsGridWnd::PasteOnSelectedPins(BOOL bPasteSpecial, std::vector<CTclArgsList>* echoes) {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    const ROWCOL col = Col(m_nColSignal);
    if (!m_bHostCommits || rows.empty() || !SetCurrentCell(rows.front(), col, GX_SMART)) return 0;
    for (ROWCOL r : rows) // the current cell went to the first pin; the paste is for all of them
        SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
    std::vector<std::pair<ROWCOL, CString>> pasted;
    auto* const outer = std::exchange(m_paste->m_pPastedRows, &pasted);
    CString prepared; // empty: the clipboard's data is prepared here
    const BOOL done = Paste(prepared, bPasteSpecial);
    m_paste->m_pPastedRows = outer;
    if (!done) return 0;
    for (const auto& [row, line] : pasted) {
        if (!echoes) break;
        CTclArgsList echo;
        if (line.IsEmpty()) { // an empty line disconnected its pin
            echo.Add(KXScriptWord::selectObject);
            echo.Add("pin");
            AddPinRowToArgs(row, echo);
            echoes->push_back(std::move(echo));
            CTclArgsList remove;
            remove.Add(KXScriptWord::deleteConnection);
            remove.Add("pin");
            echoes->push_back(std::move(remove));
            continue;
        }
        echo.Add(KXScriptWord::addConnection);
        echo.Add("pin");
        echo.Add(line);
        AddPinRowToArgs(row, echo);
        echoes->push_back(std::move(echo));
    }
    return static_cast<int>(pasted.size());
}

void CKXInstanceDetailsGridWnd::HoldJournal() {
    m_bHoldJournalBefore = std::exchange(m_bHoldJournal, 1);
    m_strHeldJournalBefore = std::exchange(m_strHeldJournal, CString());
}

void CKXInstanceDetailsGridWnd::ReleaseJournal(BOOL bWrite) {
    const CString held = TakeHeldJournal();
    if (bWrite) WriteJournal(held);
}

CString CKXInstanceDetailsGridWnd::TakeHeldJournal() {
    m_bHoldJournal = std::exchange(m_bHoldJournalBefore, 0);
    return std::exchange(m_strHeldJournal, std::exchange(m_strHeldJournalBefore, CString()));
}

bool KXPinGridPaste::IsPasteCellReadOnly(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    m_grid.ComposeStyleRowCol(row, col, &style);
    return style.GetIncludeReadOnly() && style.GetReadOnly();
}

std::vector<std::pair<ROWCOL, CString>> KXPinGridPaste::PasteTargets(const std::vector<CString>& lines) {
    std::vector<ROWCOL> rows;
    for (ROWCOL r : m_grid.SelectedPinRows())
        if (r >= PIN_FIRST_ROW && r <= m_grid.GetRowCount() && !m_grid.IsRowHidden(r)) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Several lines on one row: the lines fill the visible rows from it down.
    if (lines.size() > 1 && rows.size() == 1) {
        const ROWCOL first = rows.front();
        rows.clear();
        for (ROWCOL r = first; r <= m_grid.GetRowCount() && rows.size() < lines.size(); ++r)
            if (!m_grid.IsRowHidden(r)) rows.push_back(r);
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

bool KXPinGridPaste::ConfirmPasteOverwrite(const std::vector<std::pair<ROWCOL, CString>>& targets, ROWCOL col,
                                           BOOL bPasteSpecial) {
    if (bPasteSpecial || col != Col(m_grid.m_nColSignal)) return true;
    DWORD prompt = 0;
    const BOOL opened = CKXRegistrySettings::OpenRegistryKey();
    const BOOL read = opened && CKXRegistrySettings::GetFromRegistry("on_paste_prompt_before_overwrite", prompt);
    CKXRegistrySettings::CloseRegistryKey();
    if (!read || prompt == 0) return true;
    for (const auto& [row, text] : targets)
        if (!m_grid.GetValueRowCol(row, col).IsEmpty())
            return CKXErrorHandler::MessageBoxYesNo("KXTABLE-139") != IDNO;
    return true;
}

int KXPinGridPaste::PasteSignalNames(CString strText, BOOL bPasteSpecial) {
    const std::vector<CString> lines = KXSplitClipboardLines(strText);
    ROWCOL current = GX_INVALID, col = GX_INVALID;
    if (lines.empty() || !m_grid.GetCurrentCell(current, col)) return 0;
    const std::vector<std::pair<ROWCOL, CString>> targets = PasteTargets(lines);
    if (targets.empty()) return 0;
    const bool anyChange = std::any_of(targets.begin(), targets.end(), [this, col](const auto& target) {
        return !IsPasteCellReadOnly(target.first, col) &&
               m_grid.GetValueRowCol(target.first, col).CompareNoCase(target.second) != 0;
    });
    if (!anyChange) {
        // The cells hold the pasted texts already: nothing to paste.
        CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return 0;
    }
    if (!ConfirmPasteOverwrite(targets, col, bPasteSpecial)) {
        m_grid.SetSelection(nullptr);
        return 0;
    }
    m_grid.SetSelection(nullptr); // each row takes its own line
    const int pasting = std::exchange(m_grid.m_bPastingSignals, 1);
    CKXProgressBar progress("Adding Connections", static_cast<int>(targets.size()), kProgressStep, 0, 0);
    int steps = 0;
    // The cells show what the design says once the paste is in: their stores are no undo steps.
    GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
    for (const auto& [row, text] : targets) {
        progress.StepIt();
        progress.PeekAndPump();
        if (IsPasteCellReadOnly(row, col)) continue;
        const bool changes = m_grid.GetValueRowCol(row, col).CompareNoCase(text) != 0;
        if (!m_grid.TypeIntoCell(row, col, text)) {
            steps = 0;
            break;
        }
        ++steps;
        if (m_pPastedRows && changes) m_pPastedRows->emplace_back(row, text);
    }
    m_grid.m_bPastingSignals = pasting;
    return steps;
}
