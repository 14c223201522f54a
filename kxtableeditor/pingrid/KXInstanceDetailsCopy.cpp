// Copying pin rows: the plain text of the copied cells and, beside it, typed
// clipboard objects (connection texts, terminations, pull-up/pull-down groups)
// that a paste into any grid can rebuild. A user's copy goes to the host as a
// script command, which comes back as CopySelection.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridCopy.h"
#include "grid/KXClipboardText.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <utility>
#include <vector>

using kxpingrid::Col;

void CKXInstanceDetailsGridWnd::OnEditCopy() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW) return;
    const CString key = GetColumnKeyFromHeader(GetValueRowCol(PIN_CAPTION_ROW, col));
    CGXRangeList list;
    CopyRangeList(list, TRUE);
    const ROWCOL rowCount = GetRowCount();
    CString items;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CGXRange range = list.GetNext(pos)->GetBounded(rowCount, GetColCount());
        for (ROWCOL r = std::max(range.top, PIN_FIRST_ROW); r <= range.bottom && r <= rowCount; ++r) {
            if (IsRowHidden(r)) continue;
            // Names may hold quotes, dollars or spaces: each becomes one Tcl word as it stands.
            const CString instance = KXTclListElement(GetValueRowCol(r, Col(m_nColInstance)));
            const CString pin = KXTclListElement(GetValueRowCol(r, Col(m_nColPinName)));
            const CString number = KXTclQuote(GetValueRowCol(r, Col(m_nColPinNumber)));
            CString item;
            item.Format("[list %s %s %s] ", instance.GetString(), pin.GetString(), number.GetString());
            items += item;
        }
    }
    if (items.IsEmpty()) return;
    CString text;
    text.Format("%s ccp; %s pin %s %s", KXScriptWord::selectWindow, KXScriptWord::copy, items.GetString(), KXTclQuote(key).GetString());
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

namespace {

// The journal lines of one copied row (when a script journal is recorded).
void JournalCopiedRow(const char* journal, const CString& handle, const CString& shownLine, int col,
                      const CString& pinName, const CString& pinNumber) {
    using G = CKXInstanceDetailsGridWnd;
    const CString& line = shownLine;
    const char* method = nullptr;
    if (col == G::m_nColPinNumber)
        method = "SelectPinNumberCol";
    else if (col == G::m_nColSignal)
        method = "SelectSignalCol";
    else if (col == G::m_nColTermination)
        method = "SelectTerminationCol";
    else if (col == G::m_nColPupd)
        method = "SelectPUPDCol";
    CString columnLine;
    if (col == G::m_nColPinName) {
        columnLine.Format("\ncall %s.ConnectivityPane().SelectPinNameCol(%s)", handle.GetString(),
                          KXVbsQuote(pinName).GetString());
    } else if (method) {
        CString args = KXVbsQuote(pinName);
        if (pinNumber.Find(',') < 0) args += "," + KXVbsQuote(pinNumber);
        columnLine.Format("\ncall %s.ConnectivityPane().%s(%s)", handle.GetString(), method,
                          args.GetString());
    }
    CString copy;
    copy.Format("\n\n ' --- Copy ---\ncall %s.ConnectivityPane().Copy()\n", handle.GetString());
    KXJournalWrite(journal, CString(), line + columnLine + copy);
}

} // namespace

// A grid of a group of components is shown again as that group: the grid of its first component alone
// may show other rows (its own folds and view options). A grid of one component names the instance its
// rows show.
void CKXInstanceDetailsGridWnd::JournalShownObjects(KXJournalLines& lines) {
    CString names;
    if (m_bMultipleObjects) {
        GetShownObjectNames(names);
        lines.Clp("SelectGroup", {names});
        return;
    }
    if (GetRowCount() >= PIN_FIRST_ROW) names = GetValueRowCol(PIN_FIRST_ROW, Col(m_nColInstance));
    if (names.IsEmpty() && m_instCurrent) names = m_instCurrent.name();
    if (!names.IsEmpty()) lines.Clp("Select", {names});
}

CString CKXInstanceDetailsGridWnd::ShownObjectsJournalLine() {
    KXJournalLines line(JournalHandle());
    JournalShownObjects(line);
    return line.Text();
}

// In-cell editing: only the editor's selected text.
bool KXPinGridCopy::CopyEditorSelection(const char* journal, const CString& handle,
                                        const CString& shownLine) {
    ROWCOL curRow = GX_INVALID, curCol = GX_INVALID;
    if (!m_grid.GetCurrentCell(curRow, curCol)) return false;
    CGXControl* control = m_grid.GetCurrentCellControl();
    CString selected;
    const bool some = control && control->GetSelectedText(selected) && !selected.IsEmpty();
    if (!KXCopyActiveEditorSelection(m_grid)) return false;
    if (journal && some) {
        // Copies: the grid hands out one shared buffer for cell values.
        const CString pinName = m_grid.GetValueRowCol(curRow, Col(m_grid.m_nColPinName));
        const CString pinNumber = m_grid.GetValueRowCol(curRow, Col(m_grid.m_nColPinNumber));
        JournalCopiedRow(journal, handle, shownLine, static_cast<int>(curCol), pinName, pinNumber);
    }
    return true;
}

bool KXPinGridCopy::RecordsParts(CKXAssocCompAPI& api, IDTInstance* termination) {
    api.getLCVPropFromInstance(termination);
    std::vector<CString> ids;
    api.getSlotIds(ids);
    return !ids.empty();
}

CString KXPinGridCopy::CopyTerminationCell(ROWCOL row, CKXAssocCompAPI*& api, CString& rowText) {
    if (!api) api = m_grid.GetAssocCompAPI();
    api->setDesignContext(m_grid.m_designContext);
    IDTInstance* termination = nullptr;
    // An implicit power pin has no pin bit of its own: it carries no termination (asking
    // without pointing the interface at it would answer for the row before).
    if (!m_grid.IsImplicitPowerPinRow(row, nullptr)) {
        if (m_grid.IsDiffPairRow(row)) {
            api->setDPInstTermBit(m_grid.GetRowDPInstTerm(row));
        } else {
            int msb = -1, lsb = -1;
            IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
            api->setInstTermBit(CInstTermBit(pin, msb));
        }
        termination = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
    }
    if (termination && !RecordsParts(*api, termination)) {
        // Pasted, it would make a termination without parts: it is left out, and the user told.
        if (!m_copiedWithoutParts.IsEmpty()) m_copiedWithoutParts += ", ";
        m_copiedWithoutParts += termination->name();
        termination = nullptr;
    }
    const CString cellText = CKXImpClipBoard::CopyAssocComponents(m_grid.m_designContext, -1, termination,
                                                                  CKXAssocCompAPI::TERMINATION);
    CString line;
    if (termination) line = termination->name();
    rowText += line + "\r\n";
    return cellText;
}

bool KXPinGridCopy::CopyPupdCell(ROWCOL row, CKXAssocCompAPI*& api, CString& rowText, CString& cellText) {
    int msb = -1, lsb = -1;
    INet* net = m_grid.GetRowNet(row, msb, lsb);
    if (!net) return false;
    if (!api) api = m_grid.GetAssocCompAPI();
    api->setDesignContext(m_grid.m_designContext);
    for (int bit = msb; bit >= lsb; --bit) {
        CKXImpClipBoard::StartPupdGroup();
        api->setNetBit(CNetBit(net, bit));
        std::vector<IDTInstance*> pupds;
        api->getMultipleAssociatedInstance(CKXAssocCompAPI::PUPD, pupds);
        if (pupds.empty()) {
            CKXImpClipBoard::CopyAssocComponents(m_grid.m_designContext, bit, nullptr, CKXAssocCompAPI::PUPD);
            rowText += "\r\n";
        }
        for (IDTInstance* pupd : pupds) {
            CKXImpClipBoard::CopyAssocComponents(m_grid.m_designContext, bit, pupd, CKXAssocCompAPI::PUPD);
            rowText += CString(pupd ? pupd->name() : "") + "\r\n";
        }
        CKXImpClipBoard::EndPupdGroup();
    }
    CKXImpClipBoard::GetDataBuffer(cellText);
    return true;
}

namespace {

// The rows the ranges copy: the copy's bar takes one step for each, so that it ends full.
int CopiedRowsIn(CKXInstanceDetailsGridWnd& grid, KXPinGridCopy& copy, CGXRangeList& list) {
    int copied = 0;
    const ROWCOL rowCount = grid.GetRowCount();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CGXRange range = list.GetNext(pos)->GetBounded(rowCount, grid.GetColCount());
        for (ROWCOL row = range.top; row <= range.bottom && row <= rowCount; ++row)
            if (copy.CopiesRow(row, static_cast<int>(range.left))) ++copied;
    }
    return copied;
}

} // namespace

// A shown row is copied, except in the Pull Up/Down column when its Signal cell names no net: such a
// row has no pull-ups to give.
bool KXPinGridCopy::CopiesRow(ROWCOL row, int col) {
    if (m_grid.IsRowHidden(row)) return false;
    if (col != m_grid.m_nColPupd) return true;
    int msb = -1, lsb = -1;
    return m_grid.GetRowNet(row, msb, lsb) != nullptr;
}

void CKXInstanceDetailsGridWnd::CopySelection() {
    const char* journal = CKXShareGlobalData::m_bAutomation;
    const CString handle = JournalHandle();
    const CString shownLine = journal ? ShownObjectsJournalLine() : CString();
    if (m_copy->CopyEditorSelection(journal, handle, shownLine)) return;

    CGXRangeList list;
    CopyRangeList(list, TRUE);
    CString rowText, bufferText;
    CKXImpClipBoard::StartCopying();
    m_copy->m_copiedWithoutParts.Empty();
    const ROWCOL rowCount = GetRowCount();
    CKXAssocCompAPI* api = nullptr;
    CKXProgressBar progress("Copying Data", CopiedRowsIn(*this, *m_copy, list), 50, 0, 0);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CGXRange range = list.GetNext(pos)->GetBounded(rowCount, GetColCount());
        if (range.bottom < range.top) continue;
        const int col = static_cast<int>(range.left);
        for (ROWCOL row = range.top; row <= range.bottom && row <= rowCount; ++row) {
            if (!m_copy->CopiesRow(row, col)) continue;
            progress.StepIt();
            progress.PeekAndPump();
            CString cellText;
            if (col == m_nColTermination) {
                cellText = m_copy->CopyTerminationCell(row, api, rowText);
            } else if (col == m_nColPupd) {
                if (!m_copy->CopyPupdCell(row, api, rowText, cellText)) continue;
            } else {
                cellText = GetValueRowCol(row, Col(col));
                CKXImpClipBoard::CopyTextAsObject(cellText);
                rowText += cellText + "\r\n";
            }
            if (!bufferText.IsEmpty()) bufferText += "\r\n";
            bufferText += cellText;
            if (journal) {
                const CString pinName = GetValueRowCol(row, Col(m_nColPinName));
                const CString pinNumber = GetValueRowCol(row, Col(m_nColPinNumber));
                JournalCopiedRow(journal, handle, shownLine, col, pinName, pinNumber);
            }
        }
    }
    if (!m_copy->m_copiedWithoutParts.IsEmpty())
        CKXErrorHandler::MessageBoxOk("KXTABLE-260",
                                      std::exchange(m_copy->m_copiedWithoutParts, CString()).GetString());
    CKXImpClipBoard::GetDataBuffer(bufferText);
    if (bufferText.IsEmpty()) {
        CKXImpClipBoard::EndCopying();
        return;
    }
    CKXImpClipBoard::CopyCFText(rowText);
    CKXImpClipBoard::SetClipboardText(bufferText.GetString(), rowText.GetString());
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(1, 1);
}

// ---------------------------------------------------------------------------
// Enable tests

BOOL CKXInstanceDetailsGridWnd::CanCopy() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return TRUE;
    const int c = static_cast<int>(col);
    if (c == m_nColDiffPair || c == m_nColComments) return FALSE;
    if (c == m_nColTermination && IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::CanPaste() {
    m_pCurrentPinGrid = this;
    m_pPasteTarget = this;
    return CanPasteObjectHere(CKXImpClipBoard::GetObjectType(1));
}

BOOL CKXInstanceDetailsGridWnd::CanPasteSpecial() {
    m_pCurrentPinGrid = this;
    m_pPasteTarget = this;
    return CanPasteTextHere(CKXImpClipBoard::GetObjectType(1));
}

namespace {

// The bits of a pin row (the whole pin for a scalar) that no connection of the pin covers, by name.
CString OpenBitNames(IInstTerm& pin, int msb, int lsb) {
    const int low = std::min(msb, lsb), high = std::max(msb, lsb);
    std::vector<bool> covered(static_cast<std::size_t>(high - low + 1), false);
    for (const CConn& conn : pin.beginConn())
        for (int bit = std::max(low, std::min(conn.instTermMsb(), conn.instTermLsb()));
             bit <= std::min(high, std::max(conn.instTermMsb(), conn.instTermLsb())); ++bit)
            covered[static_cast<std::size_t>(bit - low)] = true;
    CString names;
    for (int bit = high; bit >= low; --bit) {
        if (covered[static_cast<std::size_t>(bit - low)]) continue;
        if (!names.IsEmpty()) names += ",";
        names += bit < 0 ? CString(pin.name()) : CSchemaUtilities::vectorName(pin.name(), bit);
    }
    return names;
}

} // namespace

// A copied termination goes on connected pins only: on a row whose bits are not all connected the
// refusal names the open ones, not the clipboard.
KXEditResult CKXInstanceDetailsGridWnd::WhyNoPaste() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (GetCurrentCell(row, col) && col == Col(m_nColTermination) &&
        CKXImpClipBoard::GetObjectType(1) == KX_CLIP_TERMINATIONS)
        for (ROWCOL r : SelectedPinRows()) {
            int msb = -1, lsb = -1;
            IInstTerm* pin = r <= GetRowCount() && !IsDiffPairRow(r) ? GetRowInstTerm(r, msb, lsb) : nullptr;
            if (const CString open = pin ? OpenBitNames(*pin, msb, lsb) : CString(); !open.IsEmpty())
                return KXEditResult::Refused("KXPANE-622", open);
        }
    return CKXGridWnd::WhyNoPaste();
}
