// Pasting copied terminations onto the selected pins: one copied termination
// goes onto every selected pin, several go one to a row (the rows below the
// last selected one take the rest). All of one paste is one grid edit.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridTerminations.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <utility>

using kxpingrid::Col;
using kxpingrid::PairTerms;

namespace {

constexpr int kTermination = CKXAssocCompAPI::TERMINATION;

using TerminationEntry = KXAssocClipEntry;

} // namespace

// The rows a paste serves, in row order: the shown target pin rows that are not pair rows, and the
// shown selected pair rows.
std::deque<ROWCOL> KXPinGridAssocPaste::TerminationPasteRows() {
    const std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    std::vector<ROWCOL> targets;
    const int skipping = std::exchange(m_grid.m_bSkipChildRows, 1);
    m_grid.CollectTargetRows(selected, targets, FALSE, -1, -1);
    m_grid.m_bSkipChildRows = skipping;
    std::vector<ROWCOL> rows;
    for (ROWCOL row : targets)
        if (row >= PIN_FIRST_ROW && row <= m_grid.GetRowCount() && !m_grid.IsRowHidden(row) &&
            !m_grid.IsDiffPairRow(row))
            rows.push_back(row);
    for (ROWCOL row : m_grid.m_terms->SelectedPairRows(selected))
        rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return std::deque<ROWCOL>(rows.begin(), rows.end());
}

// One entry onto the pin bits (a pair row: the pair's pins) of a row. Sets pasted when one went on;
// false when a bit was left out or refused.
bool KXPinGridAssocPaste::PasteTerminationOnRow(CTransaction* t, ROWCOL row, const CString& type,
                                                const CString& name, const CString& data, bool& pasted) {
    const CInstanceContext instance = m_grid.GetRowInstance(row);
    if (!instance) return true;
    if (instance.containedDesign()) return false; // a block's pins take none
    bool ok = true;
    auto paste = [&](const CInstTermBit& bit, IDPInstTerm* pair, const CString& netName) {
        const CInstTermBitContext context = instance.instTerm(bit.instTerm()->id()).bitContext(bit.bit());
        if (m_grid.GetSysObjectName(&context).IsEmpty()) return false;
        if (!CKXImpClipBoard::PasteAssocComponents(t, bit, pair, bit.netbitOuter(), instance, data, type, name,
                                                   netName, kTermination, 0))
            return false;
        pasted = true;
        return true;
    };
    if (m_grid.IsDiffPairRow(row)) {
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row))) {
            IInstTerm* leg = term->positive();
            if (leg && !paste(leg->bit(term->positiveBit()), term, CString())) ok = false;
        }
        return ok;
    }
    int msb = -1, lsb = -1, netMsb = -1, netLsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    INet* net = m_grid.GetRowNet(row, netMsb, netLsb);
    if (!pin || !net) return true; // an open pin takes no termination
    for (int bit = msb; bit >= lsb; --bit)
        if (!paste(pin->bit(bit), nullptr, CString(net->name()))) {
            ok = false;
            break;
        }
    return ok;
}

bool KXPinGridAssocPaste::PasteTerminations(CTransaction* t) {
    m_pastedTerminationRows.clear();
    if (!t) return false;
    std::deque<ROWCOL> queue = TerminationPasteRows();
    CString buffer;
    CKXImpClipBoard::GetTerminationBuffer(buffer);
    if (!KXCopiedAssocOfKind(buffer, kTermination)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-422");
        return false;
    }
    m_grid.GetAssocCompAPI()->resetPreCommitObjects();
    bool pasted = false, problem = false, first = true, oneForAll = false;
    kxpingrid::ProgressScope progress("Pasting Termination(s):", static_cast<int>(queue.size()));
    int step = 0;
    TerminationEntry entry;
    while (!buffer.IsEmpty() && !queue.empty() && KXTakeAssocClipEntry(buffer, entry)) {
        // One entry alone goes onto every row; several go one to a row.
        if (std::exchange(first, false) && buffer.IsEmpty()) oneForAll = true;
        if (entry.kind != kTermination) continue;
        const size_t serve = oneForAll ? queue.size() : 1;
        for (size_t n = 0; n < serve && !queue.empty(); ++n) {
            const ROWCOL row = queue.front();
            queue.pop_front();
            progress.Step("%d%% of %d", step++);
            bool onRow = false;
            if (!m_grid.CheckAssocComponents(row, FALSE) ||
                !PasteTerminationOnRow(t, row, entry.type, entry.name, entry.data, onRow))
                problem = true;
            if (onRow) m_pastedTerminationRows.push_back(row);
            pasted = pasted || onRow;
            if (!oneForAll) {
                // The next entry goes to the row below this one (past a bus row's bit rows).
                int msb = -1, lsb = -1;
                const bool bus =
                    !m_grid.IsDiffPairRow(row) && m_grid.GetRowInstTerm(row, msb, lsb) && msb > lsb;
                const ROWCOL next = row + (bus ? static_cast<ROWCOL>(msb - lsb) + 2 : 1);
                if (queue.empty() && next <= m_grid.GetRowCount() && !m_grid.IsRowHidden(next))
                    queue.push_back(next);
            }
        }
    }
    if (problem) CKXErrorHandler::MessageBoxOk("KXTABLE-118");
    return pasted;
}

// The termination now on a row's pin (its highest bit) or pair; NULL when none.
IDTInstance* KXPinGridAssocPaste::RowTermination(ROWCOL row) {
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    if (m_grid.IsDiffPairRow(row)) {
        const std::vector<IDPInstTerm*> terms = PairTerms(m_grid.GetRowDPInstTerm(row));
        if (terms.empty()) return nullptr;
        api.setDPInstTermBit(terms.front());
        return api.getAssociatedInstance(kTermination);
    }
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    if (!pin) return nullptr;
    api.setInstTermBit(pin->bit(msb));
    return api.getAssociatedInstance(kTermination);
}

namespace {

// What a paste found terminated on a row before it: a bus row's bits, a vector pair row's lanes. A row
// whose pins the paste skipped in part replays bit by bit (lane by lane), as what the paste terminated.
struct TerminatedBefore {
    std::set<int> bits;
    std::set<const IDPInstTerm*> lanes;
};

IDTInstance* BitTermination(CKXAssocCompAPI& api, IInstTerm* pin, int bit) {
    api.setInstTermBit(pin->bit(bit));
    return api.getAssociatedInstance(kTermination);
}

IDTInstance* LaneTermination(CKXAssocCompAPI& api, IDPInstTerm* lane) {
    api.setDPInstTermBit(lane);
    return api.getAssociatedInstance(kTermination);
}

// The selection of one bit or lane of a row's component, as the replay makes it.
CString JournalPartSelect(const CString& handle, IInstance* owner, const CString& part) {
    KXJournalLines select(handle);
    if (owner) select.Clp("Select", {CString(owner->name())});
    select.Pane("SelectTerminationCol", {part}).Comment("Paste Termination");
    return select.Text();
}

} // namespace

// The paste in one "Paste Termination" edit. Each row it served replays as its termination cell and
// the automation add of the termination it took; a bus row some of whose bits kept a termination of
// their own (the paste skipped them) replays bit by bit, as the bits the paste terminated, and a vector
// pair row some of whose lanes kept theirs lane by lane.
BOOL KXPinGridAssocPaste::PasteTerminationsInEdit() {
    CKXGridEdit edit(m_grid, m_grid.MasterDesign(), "Paste Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    std::map<ROWCOL, TerminatedBefore> before;
    for (ROWCOL row : TerminationPasteRows()) {
        int msb = -1, lsb = -1;
        if (m_grid.IsDiffPairRow(row)) {
            const std::vector<IDPInstTerm*> lanes = PairTerms(m_grid.GetRowDPInstTerm(row));
            for (IDPInstTerm* lane : lanes)
                if (lanes.size() > 1 && LaneTermination(api, lane)) before[row].lanes.insert(lane);
        } else if (IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb); pin && msb > lsb) {
            for (int bit = msb; bit >= lsb; --bit)
                if (BitTermination(api, pin, bit)) before[row].bits.insert(bit);
        }
    }
    if (!PasteTerminations(edit.Transaction())) return FALSE;
    CString journal;
    auto journalAdd = [&](IDTInstance* dt, const CString& select) {
        if (!dt || !KXJournalLines::IsRecording()) return;
        api.getLCVPropFromInstance(dt);
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("InitTermination", {api.GetPreparedText(kTermination)}).Pane("AddTermination").End();
        journal += select + lines.Text();
    };
    for (ROWCOL row : m_pastedTerminationRows) {
        const auto skipped = before.find(row);
        if (skipped == before.end()) {
            if (IDTInstance* dt = RowTermination(row))
                journalAdd(dt, m_grid.JournalAssocText(row, "SelectTerminationCol", "Paste Termination"));
            continue;
        }
        if (m_grid.IsDiffPairRow(row)) {
            for (IDPInstTerm* lane : PairTerms(m_grid.GetRowDPInstTerm(row)))
                if (!skipped->second.lanes.count(lane))
                    journalAdd(LaneTermination(api, lane),
                               JournalPartSelect(m_grid.JournalHandle(),
                                                 m_grid.GetRowInstance(row).instance(), lane->name()));
            continue;
        }
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        for (int bit = msb; pin && bit >= lsb; --bit)
            if (!skipped->second.bits.count(bit))
                journalAdd(BitTermination(api, pin, bit),
                           JournalPartSelect(m_grid.JournalHandle(), pin->instance(),
                                             CSchemaUtilities::vectorName(pin->name(), bit)));
    }
    if (!edit.Commit()) return FALSE;
    m_grid.RefreshExpandedRow(kxpingrid::RowWords(m_pastedTerminationRows));
    m_grid.WriteJournal(journal);
    return TRUE;
}
