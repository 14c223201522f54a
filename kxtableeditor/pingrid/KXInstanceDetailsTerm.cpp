// Terminations of the selected pins: added from the library's dialog or from a
// script command (also the one the automation object sends back), edited,
// re-timed and deleted. Each operation is one grid transaction; the cells of
// the rows it touched are restyled when the transaction is committed.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridTerminations.h"
#include "grid/KXAssocCompSteps.h"
#include "grid/KXEditResult.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridEdit.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPropLists.h"
#include "grid/KXScriptText.h"
#include "grid/KXTerminationTargets.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <utility>

using kxpingrid::Col;

using kxpingrid::PairTerms;

namespace {

CString DTProperty(const IDTInstance* dt, const CString& name) {
    std::unique_ptr<CPQPropertyData> p(dt->findProperty(name));
    return p ? CString(p->value()) : CString();
}

// Whether an edit that names terminations (by designator of a part, else by name or id) takes this
// one; an edit that names none takes every one.
bool EditNames(const IDTInstance* dt, const std::set<CString>& names, int byRefDes) {
    if (names.empty()) return true;
    if (!byRefDes) return names.count(CString(dt->name())) || names.count(kxpingrid::Decimal(dt->id()));
    const int parts = std::atoi(DTProperty(dt, "SLOT_COUNT").GetString());
    for (int i = 0; i < parts; ++i)
        if (names.count(DTProperty(dt, "SLOT" + kxpingrid::Decimal(i) + ".REFDES"))) return true;
    return false;
}

} // namespace

KXAssocAutomation* CKXInstanceDetailsGridWnd::GetAssocAutomation() {
    if (!m_assocAutomation) m_assocAutomation = std::make_unique<KXAssocAutomation>(CKXShareGlobalData::m_pServer);
    return m_assocAutomation.get();
}

std::vector<ROWCOL> KXPinGridTerminations::SelectedPairRows(const std::vector<ROWCOL>& selected) {
    std::vector<ROWCOL> pairs;
    for (ROWCOL row : selected)
        if (row >= PIN_FIRST_ROW && row <= m_grid.GetRowCount() && !m_grid.IsRowHidden(row) &&
            m_grid.IsDiffPairRow(row))
            pairs.push_back(row);
    return pairs;
}

// The pin rows a termination edit serves: a selected pair row stands for its pair pin, not for its
// leg rows, so that a pair alone is not taken as pins mixed with pairs.
std::vector<ROWCOL> KXPinGridTerminations::TerminationTargetRows(const std::vector<ROWCOL>& selected) {
    std::vector<ROWCOL> targets;
    const int skipping = std::exchange(m_grid.m_bSkipChildRows, 1);
    m_grid.CollectTargetRows(selected, targets, FALSE, -1, -1);
    m_grid.m_bSkipChildRows = skipping;
    return targets;
}

BOOL CKXInstanceDetailsGridWnd::CanAddTermination() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    // An implicit power pin takes no termination: a selection holding one takes none at all.
    for (ROWCOL row : selected)
        if (row >= PIN_FIRST_ROW && row <= GetRowCount() && IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    for (ROWCOL row : selected) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row)) continue;
        const CInstanceContext instance = GetRowInstance(row);
        if (!instance || instance.containedDesign()) continue;
        int msb = -1, lsb = -1;
        const CString net = GetRowNetName(row, msb, lsb);
        // A termination sits on a connected pin: an open pin or a no-connect net takes none.
        if (!IsDiffPairRow(row) && (net.IsEmpty() || CKXGenUtils::IsNC(net))) continue;
        if (IsDiffPairRow(row) ? GetRowDPInstTerm(row) != nullptr : GetRowPinForAssoc(row, msb, lsb) != nullptr)
            return TRUE;
    }
    return FALSE;
}

BOOL CKXInstanceDetailsGridWnd::CheckAssocComponents(ROWCOL row, BOOL report) {
    if (IsPowerPinRow(row)) return TRUE;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    if (!IsDiffPairRow(row)) {
        IDPInstTerm* pair = GetRowDiffPairInstTerm(row);
        if (!pair) return TRUE;
        api->setDPInstTermBit(pair);
        IDTInstance* dt = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
        if (dt && report) CKXErrorHandler::MessageBoxOk("KXTABLE-157", dt->name());
        return dt ? FALSE : TRUE;
    }
    const CInstTermBit saved = api->getInstTermBit();
    BOOL ok = TRUE;
    for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
        for (const CInstTermBit& leg : {term->positive() ? term->positive()->bit(term->positiveBit()) : CInstTermBit(),
                                        term->negative() ? term->negative()->bit(term->negativeBit()) : CInstTermBit()}) {
            if (!leg) continue;
            api->setInstTermBit(leg);
            IDTInstance* dt = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
            if (!dt) continue;
            ok = FALSE;
            if (report) CKXErrorHandler::MessageBoxOk("KXTABLE-158", dt->name());
            report = FALSE;
        }
    }
    api->setInstTermBit(saved);
    return ok;
}

// The checks before terminations go on the target rows: one direction among several pins, no pin
// already terminated among several, no pair rows mixed with pins, no new one on a pin bit of no known
// kind. 0 (reported) when refused.
int KXPinGridTerminations::CheckTerminationTargets(CKXAssocCompAPI& api, const std::vector<ROWCOL>& targets,
                                                   bool automation) {
    const std::vector<ROWCOL> pairs = SelectedPairRows(m_grid.SelectedPinRows());
    if (!pairs.empty() && !targets.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-147");
        return 0;
    }
    api.setMultipleSelection(targets.size() + pairs.size() > 1);
    bool input = false, output = false;
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        if (!pin || targets.size() < 2) continue;
        const CString type = CKXGenUtils::GetPinType(pin);
        if (type.IsEmpty()) return RefuseUnknownKind(); // it cannot be told to take the others' termination
        input = input || type.CompareNoCase("Input") == 0;
        output = output || type.CompareNoCase("Output") == 0;
        if (input && output) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-103");
            return 0;
        }
    }
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        if (!pin) continue;
        const CInstanceContext instance = m_grid.GetRowInstance(row);
        for (int bit = msb; bit >= lsb; --bit) {
            api.setInstTermBit(pin->bit(bit));
            const bool terminated = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION) != nullptr;
            // A bit of no known kind (no system object) takes no new termination; one it carries
            // already is edited through it.
            const CInstTermBitContext context =
                instance ? instance.instTerm(pin->id()).bitContext(bit) : CInstTermBitContext();
            if (!terminated && m_grid.GetSysObjectName(&context).IsEmpty()) return RefuseUnknownKind();
            if ((targets.size() > 1 || automation) && terminated) {
                // One pin is edited through its termination; among several, it refuses them all.
                CKXErrorHandler::MessageBoxOk(targets.size() > 1 ? "KXTABLE-114" : "KXTABLE-209");
                return 0;
            }
        }
    }
    return 1;
}

int KXPinGridTerminations::RefuseUnknownKind() {
    const bool inParent = m_grid.Site() && m_grid.Site()->OpenMode() == eOpenModeInParent;
    CKXErrorHandler::MessageBoxOk(inParent ? "KXTABLE-200" : "KXTABLE-142");
    return 0;
}

int KXPinGridTerminations::InitAssocCompForTermination(CKXAssocCompAPI& api, CString type,
                                                       CTransaction* transaction,
                                                       const std::vector<ROWCOL>& targets) {
    api.setTransaction(transaction, false);
    api.setDesignContext(m_grid.MasterDesign());
    api.setHierarchyDesignContext(m_grid.m_designContext);
    api.setKindOfOperation(CKXAssocCompAPI::TERMINATION);
    api.m_strTerminationType = type;
    api.getLCVPropFromSetup(true);
    api.readSignals();
    api.m_bHasExistingTermination = false;
    if (CheckTerminationTargets(api, targets, false)) return 1;
    m_grid.m_bTerminationApplied = 0;
    return 0;
}

int KXPinGridTerminations::EditSelectedTerminations(CKXAssocCompAPI& api, const KXTerminationEditArgs& args,
                                                    CString delay, CString high, CString low, int byRefDes,
                                                    CString& why, std::vector<ROWCOL>& editedRows) {
    int edited = 0;
    why = "the selection has no termination among the ones named";
    std::set<const IDTInstance*> seen;
    // The library edits the termination on its current pin bit or pair pin; one that several bits
    // share, or that the edit does not name, is passed over.
    auto edit = [&](ROWCOL row) {
        const IDTInstance* dt = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
        if (!dt || !seen.insert(dt).second || !EditNames(dt, args.designators, byRefDes)) return true;
        KXTerminationEditArgs given = args;
        if (!api.EditTermination(given.designators, given.renames, delay, high, low, given.keyProps,
                                 given.instProps, byRefDes, &given.partLooks)) {
            why = api.GetLastError();
            return false;
        }
        ++edited;
        if (editedRows.empty() || editedRows.back() != row) editedRows.push_back(row);
        return true;
    };
    const std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    for (ROWCOL row : TerminationTargetRows(selected)) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        if (!pin) continue;
        api.setMultipleSelection(msb != lsb);
        for (int bit = msb; bit >= lsb; --bit) {
            api.setInstTermBit(pin->bit(bit));
            if (!edit(row)) return 0;
        }
    }
    for (ROWCOL row : SelectedPairRows(selected))
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row))) {
            api.setDPInstTermBit(term);
            if (!edit(row)) return 0;
        }
    return edited > 0 ? 1 : 0;
}

std::vector<KXTerminationTarget> KXPinGridTerminations::DialogTargets(const std::vector<ROWCOL>& targets,
                                                                      const std::vector<ROWCOL>& pairRows) {
    std::vector<KXTerminationTarget> each;
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        for (int bit = msb; pin && bit >= lsb; --bit) each.push_back({pin->bit(bit), nullptr});
    }
    for (ROWCOL row : pairRows)
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row)))
            each.push_back({CInstTermBit(), term});
    return each;
}

bool KXPinGridTerminations::LegsDifferInType(const IDPInstTerm* term) {
    const IInstTerm* positive = term ? term->positive() : nullptr;
    const IInstTerm* negative = term ? term->negative() : nullptr;
    return positive && negative && positive->termType() != negative->termType();
}

// Adds the prepared termination to every target pin bit and pair pin; the number added.
// With firstDone the first of them has it already (the dialog applied it there).
int KXPinGridTerminations::ApplyTerminationToSelection(CKXAssocCompAPI& api,
                                                       const std::vector<ROWCOL>& targets,
                                                       const std::vector<ROWCOL>& pairRows,
                                                       bool refuseMixedLegs, bool firstDone) {
    int added = 0;
    m_grid.m_bTerminationApplied = 0;
    bool skip = firstDone;
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
        if (!pin) continue;
        api.refDesChanged(true);
        for (int bit = msb; bit >= lsb; --bit) {
            if (std::exchange(skip, false)) {
                ++added;
                continue;
            }
            api.setInstTermBit(pin->bit(bit));
            if (!api.AddTermination(0)) return -1;
            ++added;
        }
    }
    for (ROWCOL row : pairRows)
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row))) {
            if (LegsDifferInType(term)) {
                CKXErrorHandler::MessageBoxOk("KXTABLE-148", term->name());
                if (refuseMixedLegs) return kTerminationRefusedSaid;
                continue;
            }
            api.refDesChanged(true);
            if (std::exchange(skip, false)) {
                ++added;
                continue;
            }
            api.setDPInstTermBit(term);
            if (!api.AddTermination(0)) return kTerminationRefused;
            ++added;
        }
    if (added) m_grid.m_bTerminationApplied = 1;
    return added;
}

// Whether every pair row selected is a pair whose legs differ in pin type (each says so, KXTABLE-148):
// such a selection takes no termination, and the dialog is not opened for it.
bool KXPinGridTerminations::NoPairTakesTermination(const std::vector<ROWCOL>& pairRows) {
    std::vector<IDPInstTerm*> mixed;
    for (ROWCOL row : pairRows)
        for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row))) {
            if (!LegsDifferInType(term)) return false;
            mixed.push_back(term);
        }
    for (IDPInstTerm* term : mixed)
        CKXErrorHandler::MessageBoxOk("KXTABLE-148", term->name());
    return !mixed.empty();
}

// A row of a group's grid is selected there when its pin key finds it first (the grid of its component
// alone may fold or pair its rows otherwise); else in the grid of its component.
void CKXInstanceDetailsGridWnd::JournalRowShown(KXJournalLines& lines, ROWCOL row, const CString& pinName,
                                                const CString& pinNumber) {
    if (m_bMultipleObjects && RowOfPinKey(pinName, pinNumber) == row) {
        JournalShownObjects(lines);
        return;
    }
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    // A pair row has no pin of its own: its component is the row's.
    IInstance* owner = pin ? pin->instance() : GetRowInstance(row).instance();
    IDesign* design = m_designContext.design();
    if (owner && design && design->findInstance(owner->id()) == owner)
        lines.Clp("Select", {CString(owner->name())});
}

// The journal block that selects one row's pin in a column, with a comment line after it.
CString CKXInstanceDetailsGridWnd::JournalAssocText(ROWCOL row, const char* selectMethod, const char* comment) {
    if (!KXJournalLines::IsRecording()) return CString();
    KXJournalLines lines(JournalHandle());
    JournalAssocSelect(lines, row, selectMethod);
    lines.Comment(comment);
    return lines.Text();
}

void CKXInstanceDetailsGridWnd::JournalAssocSelect(KXJournalLines& lines, ROWCOL row,
                                                   const char* selectMethod) {
    const CString pinName = GetValueRowCol(row, Col(m_nColPinName));
    const CString pinNumber = GetValueRowCol(row, Col(m_nColPinNumber));
    JournalRowShown(lines, row, pinName, pinNumber.Find(',') < 0 ? pinNumber : CString());
    if (pinNumber.Find(',') < 0)
        lines.Pane(selectMethod, {pinName, pinNumber});
    else
        lines.Pane(selectMethod, {pinName});
}

BOOL CKXInstanceDetailsGridWnd::AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells,
                                                       CStringArray* views, CStringArray* physNames,
                                                       CStringArray* values, CObArray* keyLists,
                                                       CObArray* instLists, CString delay, CString high,
                                                       CString low, int parts) {
    KXScriptedAssocScope replay;
    m_bAutomationTransactionOpen = 0;
    // After InitTermination: the add is made in the edit it holds open, which is this call's to end.
    CKXResumedEdit held(*this);
    const CString heldJournal = std::exchange(m_heldJournal, CString());
    const std::vector<ROWCOL> selected = SelectedPinRows();
    const std::vector<ROWCOL> targets = m_terms->TerminationTargetRows(selected);
    const std::vector<ROWCOL> pairRows = m_terms->SelectedPairRows(selected);
    if (targets.empty() && pairRows.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-210");
        return FALSE;
    }
    CKXGridEdit edit(*this, MasterDesign(), "Add Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    if (!m_terms->InitAssocCompForTermination(api, type, edit.Transaction(), targets)) return FALSE;
    std::vector<CString> ids;
    api.getSlotIds(ids);
    auto refuse = [&](const CString& why) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", why);
        return FALSE;
    };
    // The parts given must fill the type's slots, one each (KXTABLE-214 when they do not).
    if (ids.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-214", "\"" + type + "\" is no termination type");
        return FALSE;
    }
    if (parts != static_cast<int>(ids.size())) {
        CString why;
        why.Format("a %s termination has %d parts, %d were given", type.GetString(), static_cast<int>(ids.size()),
                   parts);
        CKXErrorHandler::MessageBoxOk("KXTABLE-214", why);
        return FALSE;
    }
    int given = 0;
    for (INT_PTR i = 0; libs && i < libs->GetSize() && given < parts; ++i) {
        if (!KXPartGiven(libs, cells, views, physNames, values, i)) continue;
        if (i >= static_cast<INT_PTR>(ids.size())) return refuse("more parts than the type has");
        if (!api.AddTerminationInstance(ids[static_cast<size_t>(i)], KXPartText(libs, i),
                                        KXPartText(cells, i), KXPartText(views, i), KXPartText(physNames, i),
                                        KXPartText(values, i), nullptr, KXPartList(keyLists, i),
                                        KXPartList(instLists, i)))
            return refuse(api.GetLastError());
        ++given;
    }
    api.setDelayConstraint(delay);
    if (!high.IsEmpty()) api.SetTerminationSignal(high, "High");
    if (!low.IsEmpty()) api.SetTerminationSignal(low, "Low");
    CString journal;
    const CString prepared = api.GetPreparedText(CKXAssocCompAPI::TERMINATION);
    const int added = m_terms->ApplyTerminationToSelection(api, targets, pairRows, true);
    if (added == m_terms->kTerminationRefusedSaid) return FALSE;
    if (added <= 0) return refuse(added < 0 ? api.GetLastError() : CString("no pin to terminate"));
    journal += m_terms->AddTerminationJournal(targets.empty() ? pairRows : targets, prepared, {});
    if (!KXCommitAssocEdit(api, edit, "Add Termination") || !held.Commit()) return FALSE;
    RefreshExpandedRow(kxpingrid::RowWords(targets));
    RefreshExpandedRow(kxpingrid::RowWords(pairRows));
    WriteJournal(heldJournal + journal);
    return TRUE;
}

// The journal of a termination added to each row: the library's prepared text and the add, after the
// row's selection. A row whose termination it replaced (replacing[i]) deletes that one first: the
// replay's add refuses a terminated pin.
CString KXPinGridTerminations::AddTerminationJournal(const std::vector<ROWCOL>& rows, const CString& prepared,
                                                     const std::vector<bool>& replacing) {
    CString journal;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i < replacing.size() && replacing[i]) {
            KXJournalLines lines(m_grid.JournalHandle());
            lines.Pane("Delete").End();
            journal += m_grid.JournalAssocText(rows[i], "SelectTerminationCol", "Delete") + lines.Text();
        }
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("InitTermination", {prepared}).Pane("AddTermination").End();
        journal += m_grid.JournalAssocText(rows[i], "SelectTerminationCol", "Add Termination") + lines.Text();
    }
    return journal;
}

// The library's dialog on the selected pins: the termination chosen there is added to every target
// pin bit (or pair pin) in one "Add Termination" transaction; a cancelled dialog changes nothing.
void KXPinGridTerminations::AddTerminationFromDialog(ROWCOL row, ROWCOL col) {
    KXTerminationDialogEdit inPlace;
    ChooseTerminationInDialog(row, col, inPlace);
    if (!inPlace.names.empty()) KXMakeTerminationDialogEdit(m_grid, inPlace);
}

// Whether each row carries a termination the add replaces (a pair row: on its pair pin).
std::vector<bool> KXPinGridTerminations::RowsReplacing(const std::vector<ROWCOL>& rows) {
    std::vector<bool> replacing;
    for (ROWCOL r : rows)
        replacing.push_back(m_grid.IsDiffPairRow(r) ? m_grid.m_assocPaste->RowTermination(r) != nullptr
                                                    : m_grid.m_retain->RowCarriesTermination(r));
    return replacing;
}

// The dialog's choice added to the selected pins in one edit; a change of the one termination it
// showed is left in `inPlace`, with nothing done, for the caller to make once this edit is gone.
void KXPinGridTerminations::ChooseTerminationInDialog(ROWCOL row, ROWCOL col,
                                                      KXTerminationDialogEdit& inPlace) {
    if (row < PIN_FIRST_ROW || col != Col(m_grid.m_nColTermination) || row > m_grid.GetRowCount()) return;
    int msb = -1, lsb = -1;
    if (m_grid.GetRowNetName(row, msb, lsb).IsEmpty() && !m_grid.IsDiffPairRow(row))
        return; // an open pin takes none
    if (!m_grid.CheckAssocComponents(row, TRUE)) return;
    const std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    const std::vector<ROWCOL> targets = TerminationTargetRows(selected);
    const std::vector<ROWCOL> pairRows = SelectedPairRows(selected);
    if (targets.empty() && pairRows.empty()) return;
    if (targets.empty() && NoPairTakesTermination(pairRows)) return; // said why, before the dialog asks
    // A window in its parent's context edits nothing: there the dialog only shows the termination, and
    // no edit is begun for it.
    const bool readOnly = m_grid.IsReadOnlyWindow();
    std::optional<CKXGridEdit> edit;
    if (!readOnly) {
        edit.emplace(m_grid, m_grid.MasterDesign(), "Add Termination", CKXGridEdit::kJoinOpen);
        if (!*edit) return;
    }
    CKXAssocCompAPI& api = *m_grid.GetAssocCompAPI();
    api.resetPropertyGridArray();
    api.setTransaction(edit ? edit->Transaction() : nullptr, false);
    m_grid.m_pCurrentGrid = &m_grid;
    api.InitCKXTransaction(&m_grid.CreateAssocCompTransaction);
    api.setDesignContext(m_grid.MasterDesign());
    api.setHierarchyDesignContext(m_grid.m_designContext);
    api.setKindOfOperation(CKXAssocCompAPI::TERMINATION);
    if (IDTInstance* existing = m_grid.GetSelectedRowTermination()) api.getLCVPropFromInstance(existing);
    if (!CheckTerminationTargets(api, targets, false)) return;
    // The dialog opens on the first termination of the pins it is opened over.
    const std::vector<KXTerminationTarget> each = DialogTargets(targets, pairRows);
    const std::vector<ROWCOL>& journalRows = targets.empty() ? pairRows : targets;
    const std::vector<bool> replacing = RowsReplacing(journalRows);
    const bool firstShown = KXPrepareDialogOnFirst(api, each); // last: it points the library at a pin
    bool stop = false;
    const KXShownMark asked;
    // The dialog applies its choice to the pin it shows, in this edit's transaction (its "Add
    // Termination" step hands the selection's terminations to the system-object server); the grid
    // gives every other target the same, so that the whole add is one step.
    api.m_bAppliedInDialog = false;
    if (!api.invokeTerminationDialog(stop, false, !readOnly)) {
        if (KXReportUnchangedTermination(api, asked) || readOnly || api.GetLastError().IsEmpty()) return;
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", api.GetLastError()); // the dialog's apply was refused
        return;
    }
    if (readOnly) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // closed without a change
        return;
    }
    if (KXTakeDialogEdit(api, each, inPlace)) return; // nothing done: the bracket closes
    api.m_bHasExistingTermination = true; // the user saw (and replaces) what was there
    const CString prepared = api.GetPreparedText(CKXAssocCompAPI::TERMINATION);
    const KXShownMark applying;
    // What the dialog applied to a target after the first is made again in the targets' order, as
    // the journal replays the add row by row.
    const bool firstDone = api.m_bAppliedInDialog && firstShown;
    const int added = ApplyTerminationToSelection(api, targets, pairRows, false, firstDone);
    api.m_bAppliedInDialog = false;
    if (added <= 0) {
        // A pair refused for its legs has said so; the design's refusal says its own reason.
        if (added < 0 || !applying.SaidSince())
            CKXErrorHandler::MessageBoxOk("KXTABLE-216", added < 0 ? api.GetLastError() : CString("no pin to terminate"));
        return;
    }
    const CString journal = AddTerminationJournal(journalRows, prepared, replacing);
    // The terminations now on the selection go to the system-object server within the same step.
    m_grid.GetAssociatedInstance(edit->Transaction());
    if (!edit->Commit()) return;
    m_grid.RefreshExpandedRow(kxpingrid::RowWords(targets));
    m_grid.RefreshExpandedRow(kxpingrid::RowWords(pairRows));
    CTclArgsList echo;
    echo.Add(KXScriptWord::selectObject);
    echo.Add("pin");
    m_grid.AddSelectedPinsToArgs(&echo);
    m_grid.SendEcho(echo);
    m_grid.WriteJournal(journal);
}

void CKXInstanceDetailsGridWnd::OnAddTermination() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col)) {
        const std::vector<ROWCOL> selected = SelectedPinRows();
        if (selected.empty()) return;
        row = selected.front();
    }
    m_terms->AddTerminationFromDialog(row, Col(m_nColTermination));
}

BOOL CKXInstanceDetailsGridWnd::EditTermination(CStringArray* designators, CMapStringToString* oldToNew,
                                                CMapStringToString* keyProps, CMapStringToString* instProps,
                                                CString delay, CString high, CString low, int count, int byRefDes,
                                              const CMapStringToString* partLooks) {
    KXScriptedAssocScope replay;
    const std::vector<ROWCOL> selected = SelectedPinRows();
    IDTInstance* dt = GetSelectedRowTermination();
    if (!dt) {
        // Several rows: the termination of the first pin bit or pair pin that carries one.
        CKXAssocCompAPI& api = *GetAssocCompAPI();
        KXPointAtFirstTermination(api, m_terms->DialogTargets(m_terms->TerminationTargetRows(selected),
                                                              m_terms->SelectedPairRows(selected)));
        dt = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
    }
    if (!dt) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-212");
        return FALSE;
    }
    CKXGridEdit edit(*this, MasterDesign(), "Edit Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    if (!m_terms->InitAssocCompForTermination(api, dt->typeName(), edit.Transaction(), {})) return FALSE;
    api.getLCVPropFromInstance(dt);
    if (api.getComponentCount() < count) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-214", "the termination has fewer parts than named");
        return FALSE;
    }
    const KXTerminationEditArgs args = KXTerminationEditArgsOf(designators, oldToNew, keyProps, instProps, partLooks);
    CString why;
    std::vector<ROWCOL> editedRows;
    if (!m_terms->EditSelectedTerminations(api, args, delay, high, low, byRefDes, why, editedRows)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", why);
        return FALSE;
    }
    // Each row whose terminations changed replays as its termination cell and the same editTermination
    // word (which changes, there, the ones named that the row carries).
    CString journal;
    for (ROWCOL row : editedRows) {
        KXJournalLines lines(JournalHandle());
        lines.Pane("EditTermination", {KXEditTerminationOperands(designators, oldToNew, keyProps, instProps, delay,
                                                                 high, low, byRefDes, partLooks)})
            .End();
        journal += JournalAssocText(row, "SelectTerminationCol", "Edit Termination") + lines.Text();
    }
    const KXShownMark committing;
    if (!KXCommitAssocEdit(api, edit, "Edit Pupd")) {
        KXReportUnchangedAssoc(committing);
        return FALSE;
    }
    RefreshExpandedRow(kxpingrid::RowWords(selected));
    WriteJournal(journal);
    return TRUE;
}

// Deletes the terminations of the selected pin bits and pair pins in one "Delete Termination" step;
// TRUE when one was deleted.
BOOL CKXInstanceDetailsGridWnd::DeleteTerminations() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    const std::vector<ROWCOL> targets = m_terms->TerminationTargetRows(selected);
    const std::vector<ROWCOL> pairRows = m_terms->SelectedPairRows(selected);
    if (targets.empty() && pairRows.empty()) return FALSE;
    CKXGridEdit edit(*this, MasterDesign(), "Delete Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setTransaction(edit.Transaction(), false);
    api.setDesignContext(MasterDesign());
    std::vector<ROWCOL> changed;
    {
        // A step per pin bit and per pair pin, each naming it.
        constexpr const char* kCaption = "Deleting Termination(s):";
        kxpingrid::ProgressScope progress(kCaption, static_cast<int>(targets.size() + pairRows.size()));
        for (ROWCOL row : targets) {
            int msb = -1, lsb = -1;
            IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
            if (!pin) continue;
            bool any = false;
            for (int bit = msb; bit >= lsb; --bit) {
                progress.Show(kxpingrid::ProgressLabel(kCaption, pin->name(), bit));
                api.setInstTermBit(pin->bit(bit));
                if (api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION) && api.deleteAssocCompInstance(1)) any = true;
            }
            if (any) changed.push_back(row);
        }
        for (ROWCOL row : pairRows) {
            bool any = false;
            for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
                progress.Show(kxpingrid::ProgressLabel(kCaption, CKXGenUtils::GetDiffPairName(term), -1));
                api.setDPInstTermBit(term);
                if (api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION) && api.deleteAssocCompInstance(1)) any = true;
            }
            if (any) changed.push_back(row);
        }
        progress.FinishWith(changed.empty() ? CString() : kxpingrid::CommittingLabel(kCaption));
    }
    if (changed.empty()) return FALSE; // nothing to delete: the transaction is thrown away
    CString journal;
    for (ROWCOL row : changed) {
        KXJournalLines lines(JournalHandle());
        lines.Pane("Delete").End();
        journal += JournalAssocText(row, "SelectTerminationCol", "Delete") + lines.Text();
    }
    if (!KXCommitAssocEdit(api, edit, "Delete Termination")) return FALSE;
    RefreshExpandedRow(kxpingrid::RowWords(changed));
    WriteJournal(journal);
    return TRUE;
}

// The automation road: the current cell's pin (and the other selected pins) are checked and the
// automation object is prepared; the add itself comes back as the script command it sends.
int CKXInstanceDetailsGridWnd::InitTermination(CString text) {
    // A set-up replaces the one before it, also when it is refused: a refused one prepares nothing.
    KXAssocAutomation& automation = *GetAssocAutomation();
    automation.ForgetTermination();
    if (!MayEdit() || !CanAddTermination()) return 0;
    automation.setServer(CKXShareGlobalData::m_pServer);
    automation.setDesignContext(MasterDesign());
    automation.setHierarchyDesignContext(m_designContext);
    if (!automation.InitTermination(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", automation.GetLastError());
        return 0;
    }
    const std::vector<ROWCOL> selected = SelectedPinRows();
    const std::vector<ROWCOL> targets = m_terms->TerminationTargetRows(selected);
    if (!m_terms->CheckTerminationTargets(automation, targets, true)) {
        automation.ForgetTermination();
        m_bTerminationApplied = 0;
        return 0;
    }
    // The termination is added by the command the automation object sends next, in this edit.
    if (HoldAutomationEdit("Add Termination")) CKXGridEdit::Release();
    m_bAutomationTransactionOpen = 1;
    return 1;
}

bool CKXInstanceDetailsGridWnd::HoldAutomationEdit(const char* name) {
    m_heldJournal.Empty();
    // A transaction the caller holds is the caller's: nothing is held here.
    if (CKXTransaction::IsTransactionStarted()) {
        CKXGridEdit::DiscardWaiting();
        if (CKXTransaction::IsTransactionStarted()) return false;
    }
    m_heldSignalRows.clear();
    return CKXGridEdit::Hold(*this, MasterDesign(), name, [this] {
        ForgetHeldSignals();
        m_heldJournal.Empty(); // nothing of a discarded edit is journalled
    });
}

// A new delay for the termination of the current TERMINATION cell's pin (its highest terminated bit).
int CKXInstanceDetailsGridWnd::ChangeTerminationDelay(const char* delay) {
    ROWCOL row = 0, col = 0;
    if (!MayEdit() || !GetCurrentCell(row, col) || row < PIN_FIRST_ROW || col != Col(m_nColTermination)) return 0;
    CKXAssocCompAPI& api = *GetAssocCompAPI();
    api.setDesignContext(MasterDesign());
    // The termination of the highest bit (a pair row: the first lane) that has one.
    IDTInstance* dt = nullptr;
    if (IsDiffPairRow(row)) {
        for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
            api.setDPInstTermBit(term);
            if ((dt = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION))) break;
        }
    } else {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
        for (int bit = msb; pin && bit >= lsb && !dt; --bit) {
            api.setInstTermBit(pin->bit(bit));
            dt = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
        }
    }
    if (!dt) return 0;
    CKXGridEdit edit(*this, MasterDesign(), "Change Termination RefDes", CKXGridEdit::kJoinOpen);
    if (!edit) return 0;
    api.setTransaction(edit.Transaction(), false);
    api.getLCVPropFromInstance(dt);
    api.setDelayConstraint(delay ? delay : "");
    if (!api.ApplyDelayChanges(CKXAssocCompAPI::TERMINATION)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", api.GetLastError());
        return 0;
    }
    KXJournalLines lines(JournalHandle());
    lines.Pane("ChangeDelay", {CString(delay ? delay : "")}).End();
    const CString journal = JournalAssocText(row, "SelectTerminationCol", "Change Delay") + lines.Text();
    if (!edit.Commit()) return 0;
    RefreshExpandedRow(kxpingrid::RowWords({row}));
    WriteJournal(journal);
    return 1;
}

BOOL CKXInstanceDetailsGridWnd::OnAssocCellDoubleClick(ROWCOL row, ROWCOL col) {
    if (col == Col(m_nColTermination)) {
        if (CanAddTermination()) m_terms->AddTerminationFromDialog(row, col);
        SetSelection(nullptr);
        return TRUE;
    }
    if (col == Col(m_nColPupd)) {
        if (CanAddPupd()) AddPupdOnOpenPins(FALSE, FALSE, [this] {
                AddPupd();
                return TRUE;
            });
        SetSelection(nullptr);
        return TRUE;
    }
    return FALSE;
}
