// Editing the signal grid's cells: what an edited cell means, checked against
// the design and the row; real connectivity changes go to the connect and
// disconnect operations, which run the transaction.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>

using namespace kxsignal;

namespace {

constexpr UINT kSmartInView = GX_SMART | GX_SCROLLINVIEW;
constexpr UINT kDeleteCommand = 35264;

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

CGXStyle PlainCell(const CString& text) {
    CGXStyle style;
    style.SetValue(text).SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    return style;
}

} // namespace

BOOL CKXSignalDetailsGridWnd::Refuse(BOOL bShowMessages, const char* id) {
    if (bShowMessages) {
        CKXErrorHandler::MessageBoxOk(id);
        TransferCurrentCell(FALSE, kNoUpdate, TRUE);
    }
    return FALSE;
}

BOOL CKXSignalDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    CGXControl* control = GetControl(nRow, nCol);
    CString text;
    if (control && control->IsActive())
        control->GetCurrentText(text);
    else
        text = GetValueRowCol(nRow, nCol);
    if (nRow == kFilterRow) {
        if (m_bFilterEcho) return TRUE;
        CString line;
        line.Format("%s pin -col %s -filter %s", KXScriptWord::filterRows,
                    KXTclQuote(GetColumnScriptName(static_cast<int>(nCol))).GetString(), KXTclQuote(text).GetString());
        m_bFilterEcho = 1;
        CWnd* main = AfxGetMainWnd();
        m_bFilterRefused =
            !main || main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(line.GetString()), 0) != 1;
        m_bFilterEcho = 0;
        return TRUE;
    }
    if (nRow < kFirstDataRow) return TRUE;
    const CString old = GetValueRowCol(nRow, nCol);
    if (text.CompareNoCase(old) == 0) {
        // The cell's own text again is no edit: the store that follows writes the stored value, and
        // leaves no undo step that a later undo would spend in place of the user's edit before.
        if (control && control->IsActive()) control->SetCurrentText(old);
        RecordUnchangedCellEdit();
        m_bStoringEdit = TRUE;
        return TRUE;
    }
    const int col = static_cast<int>(nCol);
    if (IsCustomColumn(col)) {
        // The edit being sent already stands for this cell: a store of it while the host runs the
        // change (a script of the user's that stores the current cell) sends nothing more.
        if (!m_bCustomEditReady) return TRUE;
        // The host runs the change back into ChangeCustomColumnValue, which writes the design.
        m_bCustomEditReady = 0;
        m_bStoringEdit = ChangeCustomColumn(text.IsEmpty(), text);
        m_bCustomEditReady = 1;
        if (!m_bStoringEdit && control && control->IsActive()) {
            control->SetCurrentText(old);
            control->SetModify(FALSE);
        }
        return m_bStoringEdit;
    }
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    if (rows.GetSize() == 0) rows.Add(nRow);
    const bool rowColumn = col == m_nColStartBit || col == m_nColEndBit || col == m_nColInstance || col == m_nColCell ||
                           col == m_nColLocation || col == m_nColPinName || col == m_nColPinNumber;
    std::vector<ROWCOL> taken; // the rows that took the text; a refused row keeps what it shows
    bool currentRefused = false;
    ROWCOL currentNow = nRow; // where the current row's pin shows after its connect
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const ROWCOL r = rows[i];
        if (r < kFirstDataRow || IsRowHidden(r)) continue;
        m_nConnectedRow = r;
        if (CommitCellEdit(r, nCol, text, TRUE)) {
            taken.push_back(r);
            if (r == nRow) currentNow = m_nConnectedRow;
        } else if (r == nRow) {
            currentRefused = true;
        }
    }
    if (rowColumn) FillCells(taken, nRow, nCol, text);
    if (currentNow != nRow && (col == m_nColPinName || col == m_nColPinNumber || col == m_nColStartBit ||
                               col == m_nColEndBit))
        KeepTypedTextInMovedRow(nRow, nCol, currentNow, text, control);
    const BOOL any = taken.empty() ? FALSE : TRUE;
    // A refused edit gives the cell back its stored value.
    if ((!any || currentRefused) && control && control->IsActive()) {
        control->SetCurrentText(old);
        control->SetModify(FALSE);
    }
    m_bStoringEdit = any;
    return any;
}

void CKXSignalDetailsGridWnd::FillCells(const std::vector<ROWCOL>& rows, ROWCOL current, ROWCOL col,
                                        const CString& text) {
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    for (ROWCOL r : rows)
        if (r != current && r >= kFirstDataRow) WriteCell(r, static_cast<int>(col), PlainCell(text));
}

void CKXSignalDetailsGridWnd::KeepTypedTextInMovedRow(ROWCOL row, ROWCOL col, ROWCOL movedTo, const CString& text,
                                                       CGXControl* control) {
    // The pin was shown in a row above, which went: the typed pin or bit belongs to the row the pin moved to.
    {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        WriteCell(movedTo, static_cast<int>(col), PlainCell(text));
    }
    if (!control || !control->IsActive()) return;
    // The store that follows writes the control's text into the current cell: the moved row's when the
    // current cell went up with it, else the edited position's own text again.
    ROWCOL currentRow = GX_INVALID, currentCol = GX_INVALID;
    GetCurrentCell(currentRow, currentCol);
    control->SetCurrentText(currentRow == movedTo ? text : GetValueRowCol(row, col));
}

void CKXSignalDetailsGridWnd::ClearRowPin(ROWCOL row, BOOL bClearName) {
    GridWriteScope unlock(*this);
    CGXStyle pinName;
    if (bClearName) pinName.SetValue("");
    pinName.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), -1)
        .SetUserAttribute(Id(IDS_UA_CONN_MSB), -1)
        .SetUserAttribute(Id(IDS_UA_CONN_LSB), -1);
    WriteCell(row, m_nColPinName, pinName);
    WriteCell(row, m_nColPinNumber, CGXStyle().SetValue(""));
    WriteCell(row, m_nColPinType, CGXStyle().SetValue(""));
    CGXStyle termination = PlainCell("");
    termination.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE).SetEnabled(TRUE);
    termination.SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    WriteCell(row, m_nColTermination, termination);
}

namespace {

// Whether some bit of the named pin of an instance sits on a net; a row that names no pin id (only filled
// in) has none there; true when that cannot be told (the disconnect then names the cause).
bool PinOnNet(IInstance* inst, int pinId, const CNetContext& net, const CString& pinName) {
    if (pinId < 0) return false;
    CString base;
    int lsb = -1, msb = -1;
    IInstTerm* pin = inst ? inst->findInstTerm(static_cast<unsigned>(pinId)) : nullptr;
    if (!pin || !net || !CSchemaUtilities::parsePinName(pinName.GetString(), base, lsb, msb)) return true;
    if (lsb > msb) std::swap(lsb, msb);
    for (int b = lsb; b <= msb; ++b)
        if (pin->netBit(b).net() == net.net()) return true;
    return false;
}

} // namespace

BOOL CKXSignalDetailsGridWnd::CommitCellEdit(ROWCOL row, ROWCOL nCol, CString text, BOOL bShowMessages) {
    const int col = static_cast<int>(nCol);
    const CString pinNameText = CellText(row, m_nColPinName);
    if (col == m_nColPinName || col == m_nColPinNumber) return CommitPinCell(row, col, text, pinNameText, bShowMessages);
    if (col == m_nColStartBit || col == m_nColEndBit) return CommitBitCell(row, col, text, pinNameText, bShowMessages);
    if (col == m_nColInstance) return CommitInstanceCell(row, text, pinNameText, bShowMessages);
    if (col == m_nColCell) return CommitCellNameCell(row, text, pinNameText, bShowMessages);
    if (col == m_nColLocation) return CommitLocationCell(row, text, pinNameText, bShowMessages);
    if (col == m_nColSignalName && m_bNetBitMode) CommitSignalName(row, text);
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::CommitPinCell(ROWCOL row, int col, const CString& text, const CString& pinNameText,
                                            BOOL bShowMessages) {
    const BOOL byName = col == m_nColPinName;
    if (!text.IsEmpty()) {
        if (!AssignConnectivity(row, byName, text, bShowMessages)) return FALSE;
        MarkModified();
        return TRUE;
    }
    if (pinNameText.IsEmpty()) return TRUE;
    // A row only filled in (its bits not given yet) shows a pin on no bit of the row's net: clearing it
    // takes the pin out of the row, and the design has nothing to change (no step, nothing to replay).
    const CString instanceName = CellText(row, m_nColInstance);
    IInstance* inst = m_designContext && !instanceName.IsEmpty()
                          ? m_designContext.design()->findInstance(instanceName.GetString())
                          : nullptr;
    if (!PinOnNet(inst, GetRowPinId(row), GetNetOfRow(row), pinNameText)) {
        ClearRowPin(row, !byName);
        return TRUE;
    }
    // A cleared pin cell disconnects the row's pin and keeps the row, which waits for another pin: the
    // replay clears the same cell of the same row (named before it is cleared) by its column's title.
    KXJournalLines journal(JournalHandle());
    journal.Call("Slp()", "Select", {JournalNetName(row)})
        .Pane("SelectInstanceCol", {instanceName, RowPinKey(row)})
        .Comment("Clear Pin")
        .Pane("ChangePropValue", {GetValueRowCol(kCaptionRow, static_cast<ROWCOL>(col)), CString()})
        .End();
    if (!DisconnectRow(row, pinNameText, bShowMessages)) return FALSE;
    ClearRowPin(row, !byName);
    MarkModified();
    journal.Write();
    return TRUE;
}

// A connected row moves whole: when the edited bit would change the row's width, the other bit follows it,
// the row keeping its width and its direction. False when the other bit would leave the row's net.
bool CKXSignalDetailsGridWnd::FollowingBit(ROWCOL row, int col, int bit, CString& other) {
    int start = 0, end = 0;
    if (!ParseInt(CellText(row, m_nColStartBit), start) || !ParseInt(CellText(row, m_nColEndBit), end)) return true;
    const int width = std::abs(start - end);
    int otherBit = 0;
    if (!ParseInt(other, otherBit) || std::abs(bit - otherBit) == width) return true;
    const bool down = start >= end; // the start bit is the higher one
    otherBit = (col == m_nColStartBit) == down ? bit - width : bit + width;
    const CNetContext net = GetNetOfRow(row);
    if (!net || !net->hasBit(otherBit)) return false;
    other = Decimal(otherBit);
    return true;
}

// The pin the row shows, connected again on the row's new bits. The connect reads the bits from the row's
// cells: they take the new texts for the call and get their old texts back when the connect is refused. The
// pin is named by its name, which names its bits too (a pin number list names no pin).
BOOL CKXSignalDetailsGridWnd::ReconnectRowBits(ROWCOL row, int col, const CString& text, int otherCol,
                                               const CString& otherText, const CString& pinName,
                                               BOOL bShowMessages) {
    const CString oldText = GetValueRowCol(row, static_cast<ROWCOL>(col));
    const CString oldOther = GetValueRowCol(row, static_cast<ROWCOL>(otherCol));
    {
        GridWriteScope scope(*this, GridWriteScope::kUndo);
        WriteCell(row, col, PlainCell(text));
        WriteCell(row, otherCol, PlainCell(otherText));
    }
    if (AssignConnectivity(row, TRUE, pinName, bShowMessages)) return TRUE;
    GridWriteScope scope(*this, GridWriteScope::kUndo);
    WriteCell(row, col, PlainCell(oldText));
    WriteCell(row, otherCol, PlainCell(oldOther));
    return FALSE;
}

BOOL CKXSignalDetailsGridWnd::CommitBitCell(ROWCOL row, int col, const CString& text, const CString& pinNameText,
                                            BOOL bShowMessages) {
    const ROWCOL nCol = static_cast<ROWCOL>(col);
    if (text.IsEmpty()) return pinNameText.IsEmpty() ? TRUE : Refuse(bShowMessages, "KXTABLE-122");
    const CNetContext net = GetNetOfRow(row);
    int bit = 0;
    // A bit must be a number within the net's bits.
    if (!ParseInt(text, bit) || !net || !net->hasBit(bit)) return Refuse(bShowMessages, "KXTABLE-101");
    if (GetValueRowCol(row, nCol).IsEmpty() && pinNameText.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-121");
    const int otherCol = col == m_nColStartBit ? m_nColEndBit : m_nColStartBit;
    CString other = CellText(row, otherCol);
    if (!pinNameText.IsEmpty() && !other.IsEmpty() && !FollowingBit(row, col, bit, other))
        return Refuse(bShowMessages, "KXTABLE-101");
    const CString start = col == m_nColStartBit ? text : other;
    const CString end = col == m_nColEndBit ? text : other;
    if (!pinNameText.IsEmpty() && !start.IsEmpty() && !end.IsEmpty()) {
        if (!ReconnectRowBits(row, col, text, otherCol, other, pinNameText, bShowMessages)) return FALSE;
        row = m_nConnectedRow; // the row moved up when the pin was shown in a row above, which went
        MarkModified();
    }
    int msb = 0, lsb = 0;
    const bool bothSet = ParseInt(start, msb) && ParseInt(end, lsb);
    if (bothSet) {
        const CString physical = PhysicalNetName(net.net(), msb, lsb);
        CGXStyle phys = PlainCell(physical);
        phys.SetControl(Id(IDS_CTRL_EDIT)).SetReadOnly(TRUE);
        phys.SetUserAttribute(Id(IDS_UA_SCP_NET_ID), static_cast<int>(net->id())).SetUserAttribute(Id(IDS_UA_EXPANDED_BIT), msb);
        GridWriteScope unlock(*this);
        WriteCell(row, m_nColPhysicalName, phys);
    }
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::CommitInstanceCell(ROWCOL row, const CString& text, const CString& pinNameText,
                                                 BOOL bShowMessages) {
    if (!pinNameText.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-124");
    GridWriteScope unlock(*this);
    if (text.IsEmpty()) {
        WriteCell(row, m_nColCell, PlainCell(""));
        RowCleared(row);
        return TRUE;
    }
    IInstance* inst = m_designContext ? m_designContext.design()->findInstance(text.GetString()) : nullptr;
    if (!inst) return Refuse(bShowMessages, "KXTABLE-109");
    CGXStyle cell = PlainCell(inst->cellName());
    cell.SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    WriteCell(row, m_nColCell, cell);
    CGXStyle location = PlainCell(CKXGenUtils::GetLocationProp(inst));
    location.SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    WriteCell(row, m_nColLocation, location);
    // The instance cell keeps the id so that the row's look-ups find it.
    SetCellWithEllipsis(row, inst->name(), static_cast<int>(inst->id()));
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::CommitCellNameCell(ROWCOL row, const CString& text, const CString& pinNameText,
                                                 BOOL bShowMessages) {
    if (!pinNameText.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-123");
    if (!text.IsEmpty()) {
        bool found = false;
        if (m_designContext)
            for (IInstance* inst : m_designContext.design()->beginInstance())
                if (text == inst->cellName()) found = true;
        if (!found) return Refuse(bShowMessages, "KXTABLE-105");
    }
    GridWriteScope unlock(*this);
    SetCellWithEllipsis(row, "", -1);
    if (text.IsEmpty()) WriteCell(row, m_nColLocation, PlainCell(""));
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::CommitLocationCell(ROWCOL row, const CString& text, const CString& pinNameText,
                                                 BOOL bShowMessages) {
    if (!pinNameText.IsEmpty()) return Refuse(bShowMessages, "KXTABLE-125");
    GridWriteScope unlock(*this);
    if (text.IsEmpty()) {
        SetCellWithEllipsis(row, "", -1);
        WriteCell(row, m_nColCell, PlainCell(""));
        return TRUE;
    }
    int count = 0;
    IInstance* last = nullptr;
    if (m_designContext)
        for (IInstance* inst : m_designContext.design()->beginInstance())
            if (CKXGenUtils::GetLocationProp(inst) == text) {
                ++count;
                last = inst;
            }
    if (!last) return Refuse(bShowMessages, "KXTABLE-111");
    if (count == 1) SetCellWithEllipsis(row, last->name(), static_cast<int>(last->id()));
    WriteCell(row, m_nColCell, PlainCell(last->cellName()));
    return TRUE;
}

void CKXSignalDetailsGridWnd::CommitSignalName(ROWCOL row, const CString& text) {
    // The typed name only tells which shown bit the row's pin will go to; the design is not changed.
    CString name;
    int lsb = -1, msb = -1;
    INet* net = nullptr;
    if (m_designContext && CKXGenUtils::ParseSignalName(text, name, lsb, msb))
        net = m_designContext.design()->findNet(name.GetString());
    const int bit = net ? msb : -1;
    const CString physical = net ? PhysicalNetName(net, msb, lsb) : CString();
    CGXStyle phys = PlainCell(physical);
    phys.SetControl(Id(IDS_CTRL_EDIT)).SetReadOnly(TRUE);
    phys.SetUserAttribute(Id(IDS_UA_SCP_NET_ID), net ? static_cast<int>(net->id()) : -1)
        .SetUserAttribute(Id(IDS_UA_EXPANDED_BIT), bit);
    GridWriteScope unlock(*this);
    WriteCell(row, m_nColPhysicalName, phys);
}

IInstTerm* CKXSignalDetailsGridWnd::CheckPinName(IInstance* inst, const CString& pinName, int& msb, int& lsb) {
    CString base;
    if (!CSchemaUtilities::parsePinName(pinName.GetString(), base, lsb, msb)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-110");
        TransferCurrentCell(FALSE, kNoUpdate, TRUE);
        return nullptr;
    }
    return inst ? inst->findInstTerm(base.GetString()) : nullptr;
}

BOOL CKXSignalDetailsGridWnd::OnStartEditing(ROWCOL nRow, ROWCOL nCol) {
    if (!CKXGridWnd::OnStartEditing(nRow, nCol)) return FALSE;
    m_bEditing = TRUE;
    return TRUE;
}

// Escape drops the edit: nothing after it runs inside one.
void CKXSignalDetailsGridWnd::OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) {
    m_bEditing = 0;
    m_bStoringEdit = FALSE;
    CKXGridWnd::OnCanceledEditing(nRow, nCol);
}

BOOL CKXSignalDetailsGridWnd::OnEndEditing(ROWCOL nRow, ROWCOL nCol) {
    const BOOL result = CKXGridWnd::OnEndEditing(nRow, nCol);
    m_bEditing = FALSE;
    m_bStoringEdit = FALSE;
    return result;
}

BOOL CKXSignalDetailsGridWnd::OnDeleteCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kFilterRow) return CKXGridWnd::OnDeleteCell(nRow, nCol);
    return FALSE;
}

BOOL CKXSignalDetailsGridWnd::ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const BOOL hasCurrent = GetCurrentCell(row, col);
    const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT), alt = KeyDown(VK_MENU);
    if (nMessage == WM_KEYDOWN && nChar == VK_RETURN && !ctrl && !shift && hasCurrent && row == kFilterRow) {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        TransferCurrentCell(TRUE, GX_SMART, TRUE);
        return TRUE;
    }
    if (nMessage == WM_KEYUP && nChar == VK_INSERT) {
        // A read-only window adds no row for a pin it could not take, not even to the display.
        if (!MayEdit()) return TRUE;
        const ROWCOL added = GetRowCount() + 1;
        {
            GridWriteScope undoOff(*this, GridWriteScope::kUndo);
            InsertDataRows(added, 1);
            RestyleRow(added);
        }
        SetCurrentCell(added, Col(IsColHidden(Col(m_nColStartBit)) || GetColWidth(Col(m_nColStartBit)) == 0
                                      ? m_nColCell
                                      : m_nColStartBit),
                       kSmartInView);
    } else if (nMessage == WM_KEYDOWN && nChar == VK_DELETE && !shift && !alt) {
        // The pane's Delete, with or without a current cell: it says why when nothing is selected.
        CGXControl* control = hasCurrent ? GetControl(row, col) : nullptr;
        if (!control || !control->IsActive()) {
            if (CWnd* pane = GetParent()) pane->SendMessage(WM_COMMAND, kDeleteCommand, 0);
            return TRUE;
        }
    }
    return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
}
