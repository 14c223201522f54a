// Pasting copied pull-up/pull-down groups into the Pull Up/Down column: one
// copied group goes onto the net bits of every selected row, several go one to
// a row from the first selected row down (a bus row hands them to its bit
// rows). A pasted component is the copied one, DC net or none. All of one
// paste is one grid edit, journalled as the component each row took (the
// pane's PastePUPD with its description), so that a replay makes them again.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPupds.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr int kPupd = CKXAssocCompAPI::PUPD;
constexpr const char* kPasteCaption = "Pasting Pullup(s)/Pulldown(s):";

// The label of one net bit in the paste's progress: the caption, the net and its bit.
} // namespace

// One copied component onto one net bit of a row: it is made there unless the net bit carries one of
// its type already. Records what it made.
bool KXPinGridAssocPaste::PastePupdEntryOnBit(CTransaction* transaction, ROWCOL row, const CNetBit& bit,
                                              const KXAssocClipEntry& entry) {
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    const KXComponentSet before = KXPupdsOn(api, bit);
    if (!CKXImpClipBoard::PasteAssocComponents(transaction, CInstTermBit(), nullptr, bit, CInstanceContext(),
                                               entry.data, entry.type, entry.name, bit.net()->name(), entry.kind, 0))
        return false;
    for (IDTInstance* made : KXPupdsOn(api, bit))
        if (!before.count(made)) m_pastedPupds.push_back({row, made});
    return true;
}

// One group onto one net bit of a row: each entry of the group makes its component there. Entries
// without data count as pasted (a net bit copied without pull-ups); true when any entry counted.
bool KXPinGridAssocPaste::PastePupdGroupOnBit(CTransaction* transaction, ROWCOL row, const CNetBit& bit,
                                              CString group) {
    bool pasted = false;
    for (KXAssocClipEntry entry; KXTakeAssocClipEntry(group, entry);) {
        if (entry.kind != kPupd) continue;
        if (entry.data.IsEmpty() || PastePupdEntryOnBit(transaction, row, bit, entry)) pasted = true;
    }
    return pasted;
}

// The one net bit a row's pin sits on; null for a row without pin or signal and for a whole bus pin:
// its bits take pastes one by one with the pins expanded.
CNetBit KXPinGridAssocPaste::RowPupdBit(ROWCOL row) {
    int msb = -1, lsb = -1;
    if (!m_grid.GetRowInstTerm(row, msb, lsb) || msb != lsb) return CNetBit();
    INet* net = m_grid.GetRowNet(row, msb, lsb);
    if (!net || msb != lsb) return CNetBit();
    return CNetBit(net, msb);
}

// The group onto the net bit of the row's signal; false, and nothing pasted, when the row has none.
bool KXPinGridAssocPaste::PastePupdGroupOnRow(CTransaction* transaction, ROWCOL row, const CString& group,
                                              kxpingrid::ProgressScope& progress) {
    const CNetBit bit = RowPupdBit(row);
    if (!bit.net()) return false;
    progress.Show(kxpingrid::ProgressLabel(kPasteCaption, bit.net()->name(), bit.bit()));
    return PastePupdGroupOnBit(transaction, row, bit, group);
}

std::vector<ROWCOL> KXPinGridAssocPaste::PupdPasteRows() {
    std::vector<ROWCOL> targets;
    m_grid.CollectTargetRows(m_grid.SelectedPinRows(), targets, FALSE, -1, -1);
    std::vector<ROWCOL> rows;
    for (ROWCOL row : targets) {
        CString base;
        int msb = -1, lsb = -1;
        if (m_grid.GetRowKind(row, base, msb, lsb) != PIN_ROW_GROUP) {
            rows.push_back(row);
            continue;
        }
        // Folded or not, the bit rows follow their bus row.
        for (ROWCOL bit = row + 1;
             bit <= m_grid.GetRowCount() && m_grid.GetRowKind(bit, base, msb, lsb) == PIN_ROW_PLUSMINUS_CHILD;
             ++bit)
            rows.push_back(bit);
    }
    std::set<ROWCOL> seen; // a bus row selected with some of its bits gives each bit once
    std::erase_if(rows, [&seen](ROWCOL row) { return !seen.insert(row).second; });
    return rows;
}

BOOL KXPinGridAssocPaste::CanPastePupds() {
    if (m_grid.CanAddPupd()) return TRUE;
    const std::vector<ROWCOL> rows = PupdPasteRows();
    const auto onNet = [this](ROWCOL row) { return RowPupdBit(row).net() != nullptr; };
    const auto power = [this](ROWCOL row) { return m_grid.IsImplicitPowerPinRow(row, nullptr) != FALSE; };
    return !rows.empty() && std::none_of(rows.begin(), rows.end(), power) &&
           std::any_of(rows.begin(), rows.end(), onNet);
}

bool KXPinGridAssocPaste::PastePupds(CTransaction* transaction, const std::vector<ROWCOL>& rows) {
    m_pastedPupds.clear();
    if (!transaction || rows.empty()) return false;
    CString buffer;
    CKXImpClipBoard::GetPupdBuffer(buffer);
    const int groups = CKXImpClipBoard::GetNumberOfPupdGroups(buffer);
    kxpingrid::ProgressScope progress(kPasteCaption, static_cast<int>(rows.size()));
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    api.setDesignContext(m_grid.MasterDesign());
    api.WillRemoveExistingPupd(false); // what the net bits carry already stays
    bool pasted = false;
    CString group;
    if (groups == 1) {
        CKXImpClipBoard::PruneGroupString(buffer, group);
        for (ROWCOL row : rows)
            if (PastePupdGroupOnRow(transaction, row, group, progress)) pasted = true;
        return pasted;
    }
    // Several groups: one to a row, from the first target row down; a bus row's groups go to its bits.
    ROWCOL row = rows.front();
    while (row <= m_grid.GetRowCount() && CKXImpClipBoard::PruneGroupString(buffer, group)) {
        CString base;
        int msb = -1, lsb = -1;
        if (m_grid.GetRowKind(row, base, msb, lsb) == PIN_ROW_GROUP) ++row;
        if (row > m_grid.GetRowCount() || !m_grid.GetRowInstTerm(row, msb, lsb)) break;
        if (PastePupdGroupOnRow(transaction, row, group, progress)) pasted = true;
        ++row;
    }
    return pasted;
}

// The paste in one "Paste PUPD" edit.
BOOL KXPinGridAssocPaste::PastePupdsInEdit() {
    const std::vector<ROWCOL> targets = PupdPasteRows();
    CKXGridEdit edit(m_grid, m_grid.MasterDesign(), "Paste PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    // Groups without components count as pasted but make nothing: there is nothing to undo then.
    if (!PastePupds(edit.Transaction(), targets) || m_pastedPupds.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", "no copied pull-up or pull-down could go onto the selected signals");
        return FALSE;
    }
    return CommitPastedPupds(edit);
}

// The journal's road: one described component (as a copy carries it) onto the net bits of the
// selected rows, as one "Paste PUPD" edit journalled as the paste is.
BOOL CKXInstanceDetailsGridWnd::PastePupdEntry(const CString& type, const CString& name, const CString& data) {
    m_assocPaste->m_pastedPupds.clear();
    std::vector<ROWCOL> targets;
    CollectTargetRows(SelectedPinRows(), targets, FALSE, -1, -1);
    CKXGridEdit edit(*this, MasterDesign(), "Paste PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setDesignContext(MasterDesign());
    api.WillRemoveExistingPupd(false);
    const KXAssocClipEntry entry{kPupd, type, name, data};
    for (ROWCOL row : targets)
        if (const CNetBit bit = m_assocPaste->RowPupdBit(row); bit.net() && !data.IsEmpty())
            m_assocPaste->PastePupdEntryOnBit(edit.Transaction(), row, bit, entry);
    if (m_assocPaste->m_pastedPupds.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", "no copied pull-up or pull-down could go onto the selected signals");
        return FALSE;
    }
    return m_assocPaste->CommitPastedPupds(edit);
}

// Commits the paste's edit. Each component a row took replays as the row's Pull Up/Down cell and the
// pane's PastePUPD of that component's description (the copy's, with its DC net or without one).
BOOL KXPinGridAssocPaste::CommitPastedPupds(CKXGridEdit& edit) {
    IKXClipAssocCodec* codec = CKXImpClipBoard::GetAssocCodec();
    CString journal;
    std::set<unsigned> nets;
    std::set<std::pair<ROWCOL, CString>> journalled; // a row and a component text are journalled once
    for (const auto& [row, made] : m_pastedPupds) {
        INet* net = nullptr;
        int bit = -1;
        if (made->getNetAndBit(net, bit) && net) nets.insert(net->id());
        CString type, name, data;
        if (!codec || !codec->Describe(m_grid.MasterDesign(), bit, made, kPupd, type, name, data)) continue;
        if (!journalled.insert({row, data}).second) continue;
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("PastePUPD", {type, name, data}).End();
        journal += m_grid.JournalAssocText(row, m_grid.m_pupds->PupdSelectMethod(), "Paste Pullup/Pulldown") +
                   lines.Text();
    }
    if (!edit.Commit()) return FALSE;
    m_grid.FillPupdColumn(nets);
    m_grid.WriteJournal(journal);
    return TRUE;
}
