// Pasting copied pull-up/pull-down groups into the Pull Up/Down column: one
// copied group goes onto the net bits of every selected row, several go one to
// a row from the first selected row down (a bus row hands them to its bit
// rows). All of one paste is one grid edit, journalled as the pull-ups each row
// took, so that a replay makes them again.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schemautil.h"

#include <set>
#include <string>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr int kPupd = CKXAssocCompAPI::PUPD;
constexpr const char* kPasteCaption = "Pasting Pullup(s)/Pulldown(s):";

// The label of one net bit in the paste's progress: the caption, the net and its bit.
CString ProgressLabel(const INet* net, int bit) {
    CString label;
    if (bit != -1)
        label.Format("%s %s(%d)", kPasteCaption, net->name(), bit);
    else
        label.Format("%s %s", kPasteCaption, net->name());
    return label;
}

// The value of one field of a component's data text ("type=PullUp;dcnet=VCC;..."); fields are
// separated by ';' (a backslash escapes the next character).
CString DataField(const CString& data, const char* key) {
    const std::string text = data.GetString(), wanted = std::string(key) + "=";
    std::string field;
    auto take = [&](const std::string& f) { return f.rfind(wanted, 0) == 0 ? f.substr(wanted.size()) : std::string(); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            field += text[i];
            field += text[++i];
        } else if (text[i] == ';') {
            if (const std::string v = take(field); !v.empty()) return CString(v.c_str());
            field.clear();
        } else {
            field += text[i];
        }
    }
    return CString(take(field).c_str());
}

// A copied pull-up the automation's add can make again: one part and a DC net. Others would paste
// what the journal cannot replay.
bool ReplayablePupd(const CString& data) {
    return DataField(data, "slots") == "1" && !DataField(data, "dcnet").IsEmpty();
}

} // namespace

// One group onto one net bit of a row: each entry of the group makes its component there. Entries
// without data count as pasted (a net bit copied without pull-ups); true when any entry counted.
bool CKXInstanceDetailsGridWnd::PastePupdGroupOnBit(CTransaction* transaction, ROWCOL row, const CNetBit& bit,
                                                    CString group) {
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    const CString netName = bit.net()->name();
    bool pasted = false;
    for (KXAssocClipEntry entry; KXTakeAssocClipEntry(group, entry);) {
        if (entry.kind != kPupd) continue;
        if (entry.data.IsEmpty()) {
            pasted = true;
            continue;
        }
        if (!ReplayablePupd(entry.data)) {
            m_bPupdPasteIncomplete = true;
            continue;
        }
        const std::set<IDTInstance*> before = KXPupdsOn(api, bit);
        if (!CKXImpClipBoard::PasteAssocComponents(transaction, CInstTermBit(), nullptr, bit, CInstanceContext(),
                                                   entry.data, entry.type, entry.name, netName, entry.kind, 0))
            continue;
        pasted = true;
        for (IDTInstance* made : KXPupdsOn(api, bit))
            if (!before.count(made)) m_pastedPupds.push_back({row, made});
    }
    return pasted;
}

// The group onto the net bit of the row's signal; false, and nothing pasted, when the row has no pin or
// no signal, or is a whole bus pin: its bits take pastes one by one with the pins expanded (the
// automation add a journal would replay it with adds nothing on a bus pin's cell).
bool CKXInstanceDetailsGridWnd::PastePupdGroupOnRow(CTransaction* transaction, ROWCOL row, const CString& group,
                                                    kxpingrid::ProgressScope& progress) {
    int msb = -1, lsb = -1;
    if (!GetRowInstTerm(row, msb, lsb) || msb != lsb) return false;
    // A one-bit pin sits on one net bit.
    INet* net = GetRowNet(row, msb, lsb);
    if (!net || msb != lsb) return false;
    progress.Show(ProgressLabel(net, msb));
    return PastePupdGroupOnBit(transaction, row, CNetBit(net, msb), group);
}

bool CKXInstanceDetailsGridWnd::PastePupds(CTransaction* transaction, const std::vector<ROWCOL>& rows) {
    m_pastedPupds.clear();
    m_bPupdPasteIncomplete = false;
    if (!transaction || rows.empty()) return false;
    CString buffer;
    CKXImpClipBoard::GetPupdBuffer(buffer);
    const int groups = CKXImpClipBoard::GetNumberOfPupdGroups(buffer);
    kxpingrid::ProgressScope progress(kPasteCaption, static_cast<int>(rows.size()));
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setDesignContext(MasterDesign());
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
    while (row <= GetRowCount() && CKXImpClipBoard::PruneGroupString(buffer, group)) {
        CString base;
        int msb = -1, lsb = -1;
        if (GetRowKind(row, base, msb, lsb) == PIN_ROW_GROUP) ++row;
        if (row > GetRowCount() || !GetRowInstTerm(row, msb, lsb)) break;
        if (PastePupdGroupOnRow(transaction, row, group, progress)) pasted = true;
        ++row;
    }
    return pasted;
}

// The paste in one "Paste PUPD" edit. Each component a row took replays as the row's Pull Up/Down cell
// and the automation add of that component.
BOOL CKXInstanceDetailsGridWnd::PastePupdsInEdit() {
    std::vector<ROWCOL> targets;
    CollectTargetRows(SelectedPinRows(), targets, FALSE, -1, -1);
    CKXGridEdit edit(*this, MasterDesign(), "Paste PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    // Groups without components count as pasted but make nothing: there is nothing to undo then.
    if (!PastePupds(edit.Transaction(), targets) || m_pastedPupds.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", m_bPupdPasteIncomplete
                                                         ? "a copied pull-up or pull-down has no DC net or part"
                                                         : "no copied pull-up or pull-down could go onto the selected signals");
        return FALSE;
    }
    CString journal;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    std::set<unsigned> nets;
    std::set<std::pair<ROWCOL, CString>> journalled; // a row and a component text are journalled once
    for (const auto& [row, made] : m_pastedPupds) {
        INet* net = nullptr;
        int bit = -1;
        if (made->getNetAndBit(net, bit) && net) nets.insert(net->id());
        api.getLCVPropFromInstance(made);
        const CString prepared = api.GetPreparedText(kPupd);
        if (!journalled.insert({row, prepared}).second) continue;
        KXJournalLines lines(JournalHandle());
        lines.Pane("InitPUPD", {prepared}).Pane("AddPUPD").End();
        journal += JournalAssocText(row, PupdSelectMethod(), "Paste Pullup/Pulldown") + lines.Text();
    }
    if (!edit.Commit()) return FALSE;
    FillPupdColumn(nets);
    WriteJournal(journal);
    return TRUE;
}
