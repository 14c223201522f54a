// Validating an edited cell of the pin grid. A typed SIGNAL cell is a connect
// (or, cleared, a disconnect) of the row's pin, run through the connect road of
// every other entry and committed as one edit; the cell itself keeps the value
// the design gives it, written by the refresh after the commit. A typed custom
// property cell goes to the host as "changeCustomColumn". The re-entry guards
// let a validation that arrives while an edit is being applied pass untouched.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridValidate.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridSite.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/TclArgs.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr ROWCOL kFilterRow = 4;

// Replaces both brackets of a pair when the text holds the pair (the closing one searched from the end).
bool SwapBrackets(CString& text, char open, char close, char newOpen, char newClose) {
    if (text.ReverseFind(open) < 0 || text.ReverseFind(close) < 0) return false;
    text.Replace(open, newOpen);
    text.Replace(close, newClose);
    return true;
}

// A typed connection that connected nothing: the connect's own refusal said why (a dialog given an answer
// it cannot take: KXTABLE-381); one stopped at a dialog of it the user cancelled (the bits to take, the pair
// net to replace) answers 2, as the word does; one that said nothing changed nothing (a naming rule that
// gives the pins the signal they are on), which the cell edit says as the word says it.
void SayNothingConnected(CKXGridWnd& grid, const KXShownMark& mark, const CString& text) {
    CString why;
    if (mark.DialogRefusedSince(why))
        grid.RecordCellEdit(KXEditResult::Refused("KXTABLE-381", why), mark);
    else if (mark.DialogCancelledSince())
        grid.RecordCellEdit(KXEditResult::Dialog(), mark);
    else if (!mark.SaidSince())
        grid.RecordCellEdit(KXEditResult::Nothing("KXTABLE-304", text));
}

} // namespace

CStringList KXPinGridRetain::g_netReplaceList;

CString CKXInstanceDetailsGridWnd::NormaliseBusBrackets(CString text) {
    // A naming rule keeps its parentheses: they hold the rule's argument.
    if (text.IsEmpty() || text.Left(1) == "=" || CSchemaUtilities::getValidBusSyntax(text.GetString()))
        return text;
    // A pair name as the pair lists offer it keeps its marker; only the name before it is a bus name.
    if (const int marker = text.Find(KX_DP_MARKER); marker > 0)
        return NormaliseBusBrackets(text.Left(marker)) + text.Mid(marker);
    if (CSchemaUtilities::getVectorDisplayFormat()) {
        if (!SwapBrackets(text, '<', '>', '[', ']')) SwapBrackets(text, '(', ')', '[', ']');
    } else if (!SwapBrackets(text, '[', ']', '<', '>')) {
        SwapBrackets(text, '(', ')', '<', '>');
    }
    return text;
}

BOOL CKXInstanceDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    m_bStoringCellEdit = 0;
    if (nRow >= PIN_FIRST_ROW && nCol == Col(m_nColSignal) && m_bValidateSignalCell)
        return m_validate->ValidateSignalCell(nRow, nCol);
    // The filter row applies its pattern on Enter (ProcessKeys); the stored text is all it takes here.
    if (nRow == kFilterRow) return TRUE;
    const auto c = static_cast<std::size_t>(nCol);
    if (nRow >= PIN_FIRST_ROW && c < m_arrColumnInfo.size() && m_arrColumnInfo[c] &&
        m_arrColumnInfo[c]->m_nPropertyType != 0 && m_bValidateCustomCell)
        return m_validate->ValidateCustomCell(nRow, nCol);
    return TRUE;
}

BOOL KXPinGridValidate::ValidateSignalCell(ROWCOL nRow, ROWCOL nCol) {
    CGXControl* control = m_grid.GetControl(nRow, nCol);
    CString text;
    if (control) control->GetCurrentText(text);
    text.Trim();
    text = m_grid.NormaliseBusBrackets(text);
    if (control) control->SetCurrentText(text);
    const CString old = m_grid.GetValueRowCol(nRow, nCol);
    if (!text.IsEmpty()) {
        // Each typed signal asks its own question; the rows of a paste share the paste's.
        if (!m_grid.m_bPastingSignals) KXPinGridRetain::ForgetRetainRun();
        if (text.CompareNoCase(old) == 0) {
            // The name the cell shows, in any letter case: no edit, and the typing says so.
            if (!m_grid.m_bPastingSignals) m_grid.RecordCellEdit(KXEditResult::Nothing("KXTABLE-348", old));
            return KeepStoredValue(control, nRow, nCol);
        }
        // A paste gives each grid its own part (the pane pastes every shown grid in turn): its lines go
        // to this grid's rows only.
        if (m_grid.m_bSignalEditThroughPane && !m_grid.m_bPastingSignals && m_grid.Site())
            return ApplySignalThroughPane(control, nRow, nCol, text);
        return ConnectTypedSignal(control, nRow, nCol, text);
    }
    if (old.IsEmpty() && !m_grid.EmptyTextChanges(nRow, nCol)) return KeepStoredValue(control, nRow, nCol);
    return DisconnectTypedRow(control, nRow, nCol);
}

bool CKXInstanceDetailsGridWnd::EmptyTextChanges(ROWCOL row, ROWCOL col) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || col != Col(m_nColSignal) || IsDiffPairRow(row) ||
        !GetValueRowCol(row, col).IsEmpty())
        return false;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (!pin) return false;
    const int low = std::min(msb, lsb), high = std::max(msb, lsb);
    for (const CConn& conn : pin->beginConn())
        if (std::min(conn.instTermMsb(), conn.instTermLsb()) <= high &&
            std::max(conn.instTermMsb(), conn.instTermLsb()) >= low)
            return true;
    return false;
}

// Refused: the edit is thrown away (the cell's control shows the stored value again) and the caret
// stays in the cell.
BOOL KXPinGridValidate::RefuseCellEdit(CGXControl* control) {
    if (control) control->Reset();
    return FALSE;
}

// The cell goes on showing what the design says (the refresh after a commit has written it).
BOOL KXPinGridValidate::KeepStoredValue(CGXControl* control, ROWCOL nRow, ROWCOL nCol) {
    if (control) {
        control->SetCurrentText(m_grid.GetValueRowCol(nRow, nCol));
        control->SetModify(FALSE);
    }
    m_grid.m_bStoringCellEdit = 1; // the store that follows writes the same value: no undo step
    return TRUE;
}

BOOL KXPinGridValidate::ApplySignalThroughPane(CGXControl* control, ROWCOL nRow, ROWCOL nCol,
                                               const CString& text) {
    // The pane's Attach Signal box connects the selected pins of every grid shown side by side.
    CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Add Conn");
    if (!edit) return KeepStoredValue(control, nRow, nCol);
    const int guard = std::exchange(m_grid.m_bValidateSignalCell, 0);
    const KXShownMark mark;
    const BOOL attached = m_grid.Site()->AttachSignalByName(text);
    m_grid.m_bValidateSignalCell = guard;
    // No grid took the name (or the edit changed nothing): the typing is refused, and leaves no step. The
    // connect's own refusal said why; one that said nothing changed nothing, which the word says too.
    if (!attached || !edit.Commit()) {
        SayNothingConnected(m_grid, mark, text);
        return RefuseCellEdit(control);
    }
    return KeepStoredValue(control, nRow, nCol);
}

BOOL KXPinGridValidate::ConnectTypedSignal(CGXControl* control, ROWCOL nRow, ROWCOL nCol,
                                           const CString& text) {
    int connected = 0;
    bool refusedByDesign = false;
    const KXShownMark mark;
    {
        CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Add Conn");
        if (edit) {
            const int guard = std::exchange(m_grid.m_bValidateSignalCell, 0);
            const int skip = std::exchange(m_grid.m_bSkipChildRows, 1);
            // The instance connectivity dialog tells the host of its connections once OK kept them.
            const int bEchoToHost =
                m_grid.m_bPastingSignals || m_grid.m_bRenamingSignal || m_grid.m_bInConnectDialog ? 0 : 1;
            connected = m_grid.ConnectSignalText(text, bEchoToHost);
            m_grid.m_bSkipChildRows = skip;
            m_grid.m_bValidateSignalCell = guard;
            if (connected && !edit.Commit()) {
                connected = 0;
                refusedByDesign = true;
            }
        }
    }
    // The design refused the typed connection: nothing of it stays, and the cell edit says so.
    if (refusedByDesign) m_grid.RecordCellEdit(KXEditResult::Refused("KXTABLE-304", text));
    if (!connected) {
        SayNothingConnected(m_grid, mark, text);
        return RefuseCellEdit(control);
    }
    m_grid.AcceptCellText(nRow, nCol, text);
    return KeepStoredValue(control, nRow, nCol);
}

BOOL KXPinGridValidate::DisconnectTypedRow(CGXControl* control, ROWCOL nRow, ROWCOL nCol) {
    CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Remove Conn");
    if (!edit) return KeepStoredValue(control, nRow, nCol);
    {
        CTclArgsList select;
        select.Add(KXScriptWord::selectObject);
        select.Add("pin");
        m_grid.AddSelectedPinsToArgs(&select);
        m_grid.SendEcho(select);
        CTclArgsList remove;
        remove.Add(KXScriptWord::deleteConnection);
        remove.Add("pin");
        m_grid.SendEcho(remove);
    }
    ROWCOL row = nRow;
    int removedRows = 0;
    const int guard = std::exchange(m_grid.m_bValidateSignalCell, 0);
    BOOL removed = m_grid.IsDiffPairRow(nRow)
                       ? m_grid.m_disconnect->RemoveDPConnection(nRow)
                       : m_grid.m_disconnect->DisconnectPinRow(&row, &removedRows, FALSE);
    const BOOL power = m_grid.AssignPowerToImplicitPins();
    m_grid.m_bValidateSignalCell = guard;
    // Refused (the message said why): not committed, the edit is discarded whole.
    if (power == kPowerTieRefused) return RefuseCellEdit(control);
    if (power) removed = TRUE;
    if (!removed) return KeepStoredValue(control, nRow, nCol);
    const CString journal = m_grid.JournalRowText(nRow, "Delete", "Delete", CString(), false);
    // Refused by the design: the rows show it again, no store of the cell follows, and the edit says so.
    if (!edit.Commit()) {
        m_grid.RecordCellEdit(KXEditResult::Refused("KXTABLE-319", m_grid.GetValueRowCol(nRow, nCol)));
        return RefuseCellEdit(control);
    }
    m_grid.WriteJournal(journal);
    return KeepStoredValue(control, nRow, nCol);
}

BOOL KXPinGridValidate::ValidateCustomCell(ROWCOL nRow, ROWCOL nCol) {
    CGXControl* control = m_grid.GetControl(nRow, nCol);
    CString text;
    if (control) control->GetCurrentText(text);
    if (text == m_grid.GetValueRowCol(nRow, nCol)) return KeepStoredValue(control, nRow, nCol);
    const int guard = std::exchange(m_grid.m_bValidateCustomCell, 0);
    const BOOL changed = m_grid.ChangeCustomColumn(FALSE, &text);
    m_grid.m_bValidateCustomCell = guard;
    if (!changed) return RefuseCellEdit(control);
    return KeepStoredValue(control, nRow, nCol);
}
