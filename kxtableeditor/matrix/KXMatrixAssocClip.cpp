// Terminations and pull-ups/pull-downs through the clipboard. A copy of
// TERMINATION cells carries each pin's termination as an associated
// component; a copy of PUPD cells carries each signal's pull-ups/pull-downs as
// a group. A paste into a TERMINATION cell puts the copied terminations onto
// the selected pins of that group (one copied termination onto every selected
// pin, several one to a row, going on below the selection and then in the next
// group); a paste into the PUPD column puts the first
// copied group onto every selected signal. Each paste is one edit; every
// component it made is journalled as the pane's MatrixPasteAssoc call, which
// makes the same component on the same pin or signal again.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/schemautil.h"

#include <deque>
#include <set>

using namespace kxmatrix;

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;
constexpr int kPupd = CKXAssocCompAPI::PUPD;
constexpr const char* kTerminationKind = "TERMINATION";
constexpr const char* kPupdKind = "PUPD";

CString NetBitName(const CNetBit& bit) {
    return bit.bit() < 0 ? CString(bit.net()->name()) : CSchemaUtilities::vectorName(bit.net()->name(), bit.bit());
}

} // namespace

// ------------------------------------------------------------------ copy

void CKXMatrixGridWnd::CopyCellObject(ROWCOL row, ROWCOL col) {
    int offset = -1, group = -1;
    const int c = static_cast<int>(col);
    if (SplitColumn(c, offset, group) && offset == Layout().m_nTerminationOffset) {
        // A row without a pin, or a pin without a termination, still takes its place among the copied
        // terminations: a paste of several puts each onto the row that matches its own.
        int bit = -1;
        IDTInstance* termination = nullptr;
        if (IInstTerm* pin = GetCellInstTermBit(row, c, bit)) {
            CKXAssocCompAPI& api = *GetAssocCompApi();
            api.setInstTermBit(CInstTermBit(pin, bit));
            termination = api.getAssociatedInstance(kTermination);
        }
        CKXImpClipBoard::CopyAssocComponents(m_designContext, bit, termination, kTermination);
        return;
    } else if (c == Layout().m_nPupdCol) {
        int bit = -1;
        std::vector<IDTInstance*> pupds;
        if (RowPupds(row, bit, pupds)) {
            // A signal without any still makes its (empty) group: the copied rows stay one group each.
            CKXImpClipBoard::StartPupdGroup();
            if (pupds.empty()) CKXImpClipBoard::CopyAssocComponents(m_designContext, bit, nullptr, kPupd);
            for (IDTInstance* pupd : pupds) CKXImpClipBoard::CopyAssocComponents(m_designContext, bit, pupd, kPupd);
            CKXImpClipBoard::EndPupdGroup();
            return;
        }
    }
    // Every other cell, and a pull-up cell of a row without a signal, keeps its field as text.
    CKXImpClipBoard::CopyTextAsObject(CellText(row, c));
}

bool CKXMatrixGridWnd::RowPupds(ROWCOL row, int& bit, std::vector<IDTInstance*>& pupds) {
    INet* net = GetCellNetBit(row, bit);
    if (!net) return false;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setNetBit(CNetBit(net, bit));
    api.getMultipleAssociatedInstance(kPupd, pupds);
    return true;
}

// The table text of a cell: a Pull Up/Down cell names the signal's pull-up/pull-down components
// (one field, comma-separated; empty without any), not the mark the cell keeps for its tool tip.
CString CKXMatrixGridWnd::CopiedCellText(ROWCOL row, ROWCOL col) {
    int bit = -1;
    std::vector<IDTInstance*> pupds;
    if (static_cast<int>(col) != Layout().m_nPupdCol || !RowPupds(row, bit, pupds)) return GetValueRowCol(row, col);
    CString names;
    for (IDTInstance* pupd : pupds) names += (names.IsEmpty() ? "" : ",") + CString(pupd->name());
    return names;
}

// ------------------------------------------------------------------ paste, the targets

std::vector<ROWCOL> CKXMatrixGridWnd::TerminationPasteRows(int group) {
    std::vector<ROWCOL> rows;
    const int pinCol = ColumnOf(group, Layout().m_nPinNameOffset);
    for (ROWCOL row : SelectedDataRows()) {
        int bit = -1;
        if (GetCellInstTermBit(row, pinCol, bit)) rows.push_back(row);
    }
    return rows;
}

CString CKXMatrixGridWnd::GetSysObjectName(const CInstTermBitContext& bit) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!server) return CString();
    char* name = server->GetSysObjectName(bit);
    CString result = name ? name : "";
    if (name) server->FreeName(name);
    return result;
}

// ------------------------------------------------------------------ paste, one component

bool CKXMatrixGridWnd::PasteTerminationOnRow(CTransaction* t, ROWCOL row, int group, const AssocEntry& entry,
                                             KXJournalLines& journal) {
    int bit = -1, netBit = -1;
    IInstTerm* pin = GetCellInstTermBit(row, ColumnOf(group, Layout().m_nPinNameOffset), bit);
    INet* net = GetCellNetBit(row, netBit);
    const CInstanceContext instance = GroupInstance(group);
    if (!pin || !net || !instance || instance.containedDesign()) return false; // a block's pins take none
    const CInstTermBit pinBit(pin, bit);
    if (GetSysObjectName(instance.instTerm(pin).bitContext(bit)).IsEmpty()) return false;
    if (!CKXImpClipBoard::PasteAssocComponents(t, pinBit, nullptr, CNetBit(net, netBit), instance, entry.data,
                                               entry.type, entry.name, CString(net->name()), kTermination, 0))
        return false;
    journal.Comment("Paste Termination")
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixPasteAssoc", {CString(kTerminationKind), CellText(row, Layout().m_nNameCol),
                                   CString(instance.instance()->name()), PinText(pin, bit), entry.type, entry.name,
                                   entry.data})
        .OwnStep()
        .End();
    return true;
}

bool CKXMatrixGridWnd::PastePupdOnRow(CTransaction* t, const SignalRow& signal, const AssocEntry& entry,
                                      KXJournalLines& journal) {
    const CString netName = NetBitName(signal.netBit);
    if (!CKXImpClipBoard::PasteAssocComponents(t, CInstTermBit(), nullptr, signal.netBit, CInstanceContext(),
                                               entry.data, entry.type, entry.name, netName, kPupd, 0))
        return false;
    journal.Comment("Paste Pullup/Pulldown")
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixPasteAssoc", {CString(kPupdKind), CellText(signal.row, Layout().m_nNameCol), CString(), CString(),
                                   entry.type, entry.name, entry.data})
        .OwnStep()
        .End();
    return true;
}

// ------------------------------------------------------------------ paste, the whole clipboard

// The target after the last one once the selected rows are used up: the next shown row below it in
// the same group, and past the grid's last row the first selected row of the next group.
bool CKXMatrixGridWnd::NextTerminationTarget(ROWCOL firstSelected, ROWCOL& row, int& group) {
    for (ROWCOL next = row + 1; next <= GetRowCount(); ++next)
        if (!IsRowHidden(next)) {
            row = next;
            return true;
        }
    if (group + 1 >= GroupCount() || firstSelected < kFirstDataRow) return false;
    ++group;
    row = firstSelected;
    return true;
}

BOOL CKXMatrixGridWnd::PasteTerminations(CTransaction* t, int group, KXJournalLines& journal) {
    const std::vector<ROWCOL> selected = TerminationPasteRows(group);
    std::deque<ROWCOL> queue(selected.begin(), selected.end());
    CString buffer;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    if (!KXCopiedAssocOfKind(buffer, kTermination)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-422");
        return FALSE;
    }
    GetAssocCompApi()->resetPreCommitObjects();
    bool pasted = false, problem = false, first = true, oneForAll = false;
    ROWCOL last = selected.empty() ? 0 : selected.back();
    const int pinOffset = Layout().m_nPinNameOffset;
    AssocEntry entry;
    while (t && !selected.empty() && !buffer.IsEmpty() && KXTakeAssocClipEntry(buffer, entry)) {
        // One copied termination goes onto every selected pin; several go one to a row, the rows
        // below the last selected one take the rest, and past the last row the next group does.
        if (std::exchange(first, false) && buffer.IsEmpty()) oneForAll = true;
        if (entry.kind != kTermination) continue;
        if (queue.empty()) {
            if (oneForAll || !NextTerminationTarget(selected.front(), last, group)) break;
            queue.push_back(last);
        }
        for (std::size_t n = oneForAll ? queue.size() : 1; n > 0 && !queue.empty(); --n) {
            const ROWCOL row = queue.front();
            queue.pop_front();
            last = std::max(last, row);
            // A copied pin without a termination takes its row and leaves it as it is; so does a row
            // without a pin of the group or without a signal (nothing there to terminate).
            int bit = -1, netBit = -1;
            if (entry.data.IsEmpty() || !GetCellInstTermBit(row, ColumnOf(group, pinOffset), bit) ||
                !GetCellNetBit(row, netBit))
                continue;
            if (PasteTerminationOnRow(t, row, group, entry, journal)) pasted = true;
            else problem = true;
        }
    }
    if (problem) CKXErrorHandler::MessageBoxOk("KXTABLE-118");
    return pasted ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::PastePupds(CTransaction* t, KXJournalLines& journal) {
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    CString buffer, group;
    CKXImpClipBoard::GetPupdBuffer(buffer);
    GetAssocCompApi()->WillRemoveExistingPupd(false);
    if (!t || signals.empty() || !CKXImpClipBoard::PruneGroupString(buffer, group)) return FALSE;
    std::vector<AssocEntry> entries;
    for (AssocEntry entry; KXTakeAssocClipEntry(group, entry);)
        if (entry.kind == kPupd && !entry.data.IsEmpty()) entries.push_back(entry);
    if (entries.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-421");
        return FALSE;
    }
    // The first copied group goes onto every selected signal.
    bool pasted = false, problem = false;
    for (const SignalRow& signal : signals)
        for (const AssocEntry& entry : entries) {
            if (PastePupdOnRow(t, signal, entry, journal)) pasted = true;
            else problem = true;
        }
    if (problem) CKXErrorHandler::MessageBoxOk("KXTABLE-270");
    return pasted ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::PasteAssocComponents(ROWCOL row, ROWCOL col) {
    int offset = -1, group = -1;
    const bool termination = SplitColumn(static_cast<int>(col), offset, group) && offset == Layout().m_nTerminationOffset;
    if (!MayEdit()) return FALSE;
    if (!termination && (static_cast<int>(col) != Layout().m_nPupdCol || row < kFirstDataRow)) return FALSE;
    CKXGridEdit edit(*this, termination ? "Paste Termination" : "Paste Pupd", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    const BOOL pasted = termination ? PasteTerminations(edit.Transaction(), group, journal)
                                    : PastePupds(edit.Transaction(), journal);
    // Nothing pasted: the bracket takes back whatever the library began.
    if (!pasted) return FALSE;
    if (termination) PrepareTerminationPins(edit.Transaction());
    if (!edit.Commit()) return FALSE;
    MarkModified();
    RefreshTerminations();
    RefreshPupdCells({});
    journal.Write();
    return TRUE;
}

// ------------------------------------------------------------------ the journal's road

BOOL CKXMatrixGridWnd::PasteAssocByName(const CString& kind, const CString& signal, const CString& instance,
                                        const CString& pin, const AssocEntry& entry) {
    const bool termination = kind.CompareNoCase(kTerminationKind) == 0;
    if ((!termination && kind.CompareNoCase(kPupdKind) != 0) || entry.data.IsEmpty() || IsReadOnlyWindow())
        return FALSE;
    // The row: the signal's, and for a termination the one whose group cell shows the pin.
    const std::vector<CString> key{signal + ":" + instance + (termination ? ":" + pin : CString())};
    if (!SelectCells(key, termination ? CString(kTerminationKind) : CString("PUPD"))) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    int offset = -1, group = -1;
    if (termination && !SplitColumn(static_cast<int>(col), offset, group)) return FALSE;
    CKXGridEdit edit(*this, termination ? "Paste Termination" : "Paste Pupd", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    int bit = -1;
    INet* net = GetCellNetBit(row, bit);
    const bool pasted = termination ? PasteTerminationOnRow(edit.Transaction(), row, group, entry, journal)
                                    : net && PastePupdOnRow(edit.Transaction(), {row, CNetBit(net, bit)}, entry, journal);
    if (!pasted || !edit.Commit()) return FALSE;
    MarkModified();
    RefreshTerminations();
    RefreshPupdCells({});
    journal.Write();
    return TRUE;
}
