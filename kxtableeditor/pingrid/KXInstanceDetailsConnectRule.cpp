// Attaching signals by naming rule: every selected pin gets the signal that a
// rule makes from its pin name or number, a fresh automatic name, one shared
// name, an incremented name or the next name of a list; the nets are found or
// made and widened to the pins' bits, all in one transaction.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridRules.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schemautil.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <list>
#include <optional>
#include <set>
#include <utility>

using kxpingrid::Col;

namespace {

// "a, b, c": each name once joined to the list.
void JoinName(CString& list, const CString& name) {
    if (!list.IsEmpty()) list += ", ";
    list += name;
}

// The journal form of a rule that gives every pin the same answer again on replay.
CString RuleJournalWord(int rule, const CString& argument) {
    switch (rule) {
    case KX_RULE_PINNAME:
        return "PINNAME";
    case KX_RULE_PREFIX_PINNAME:
        return "PREFIXPINNAME(" + argument + ")";
    case KX_RULE_SUFFIX_PINNAME:
        return "SUFFIXPINNAME(" + argument + ")";
    case KX_RULE_PREFIX_PINNUMBER:
        return "PREFIXPINNUMBER(" + argument + ")";
    case KX_RULE_SUFFIX_PINNUMBER:
        return "SUFFIXPINNUMBER(" + argument + ")";
    default:
        return CString();
    }
}

} // namespace

// The name of rules -1 to 3 for a pin (the argument is the prefix or suffix).
CString CKXInstanceDetailsGridWnd::NameByRule(const CString& pinName, const CString& pinNumber,
                                              const CString& argument, int rule) {
    switch (rule) {
    case KX_RULE_PINNAME:
        return pinName;
    case KX_RULE_PREFIX_PINNAME:
        return argument + pinName;
    case KX_RULE_SUFFIX_PINNAME: {
        // An active-low mark stays at the end: RESET* -> RESET_X*, CLK_n -> CLK_X_n.
        const int n = pinName.GetLength();
        if (n > 0 && pinName[n - 1] == '*') return pinName.Left(n - 1) + argument + "*";
        if (n >= 2 && pinName[n - 2] == '_' && (pinName[n - 1] == 'N' || pinName[n - 1] == 'n'))
            return pinName.Left(n - 2) + argument + pinName.Right(2);
        return pinName + argument;
    }
    case KX_RULE_PREFIX_PINNUMBER:
        return argument + pinNumber;
    case KX_RULE_SUFFIX_PINNUMBER:
        return pinNumber + argument;
    default:
        return argument;
    }
}

// The base name and bits of the row's pin as a rule names it: a standard FPGA's pin name from its pin
// file carries its own bits (a name that is no pin name is skipped: false); other pins have the
// vector attributes of their row.
bool KXPinGridRules::RowPinNameBits(ROWCOL row, CString& pinName, int& low, int& high) {
    low = high = -1;
    if (m_grid.m_bStandardFPGA) {
        CString base;
        if (!CKXGenUtils::ParsePinName(pinName, base, low, high)) return false;
        pinName = base;
        if (low == -1 || high == -1) low = high = -1;
        return true;
    }
    CString base, msbText, lsbText;
    if (m_grid.GetCellVectorInfo(row, base, msbText, lsbText)) {
        pinName = base;
        high = std::atoi(msbText.GetString());
        low = std::atoi(lsbText.GetString());
    }
    return true;
}

BOOL CKXInstanceDetailsGridWnd::AttachSignal(CString argument, int rule) {
    CWaitCursor wait;
    kxpingrid::UpdateLockScope lock(*this);
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    // Rules by pin number and lists name each bit: a selected vector pin gives all its bit rows.
    const bool expand = rule >= KX_RULE_PREFIX_PINNUMBER;
    if (expand) {
        // A list has an entry per pin bit: a pair row, also the one typed into, hands its entries to
        // its legs in row order (as the pair row's cell shows what its legs are on).
        const bool list = rule == KX_RULE_CONNECTBITS;
        const int editing = list ? std::exchange(m_bEditing, 0) : m_bEditing;
        const int skipping = list ? std::exchange(m_bSkipChildRows, 0) : m_bSkipChildRows;
        CollectTargetRows(selected, targets, TRUE, 0, KX_NAME_MAX_BIT);
        m_bEditing = editing;
        m_bSkipChildRows = skipping;
    } else {
        CollectTargetRows(selected, targets, FALSE, -1, -1);
    }
    // The retain question looks at the same rows, collected with pair rows' legs included.
    const bool sameRows = !expand && !m_bSkipChildRows;
    CKXPinConnEdit edit(*this, m_designContext2, "Add Conn");
    if (!edit) return FALSE;
    std::optional<CKXRetainScope> retain;
    // Rows the rule leaves on the signal they show have no terminations or pull-ups to ask about.
    if (!targets.empty() && m_rules->RuleChangesAnyRow(targets, argument, rule))
        retain.emplace(*this, CString(), sameRows ? &targets : nullptr);
    KXPinGridRules::RuleRun run;
    run.argument = run.rest = argument;
    run.rule = rule;
    // Rules that name pairs give a selected pair row its pair net, whose leg nets its legs then take:
    // the legs of a plain pair row are left to that, or each would first be put on a net that nothing
    // uses afterwards. (A vector pair row keeps its legs' names: a new pair net cannot take its lanes.)
    const bool pairStep =
        rule != KX_RULE_PREFIX_PINNUMBER && rule != KX_RULE_SUFFIX_PINNUMBER && rule != KX_RULE_CONNECTBITS;
    std::set<ROWCOL> pairLegs;
    if (pairStep)
        for (ROWCOL r : selected) {
            CString base;
            int msb = -1, lsb = -1;
            if (r < PIN_FIRST_ROW || r > GetRowCount() || GetRowKind(r, base, msb, lsb) != PIN_ROW_DIFFPAIR)
                continue;
            std::list<int> legs;
            GetChildRows(r, legs, 0);
            for (int leg : legs)
                pairLegs.insert(static_cast<ROWCOL>(leg));
        }
    BOOL connected = FALSE;
    {
        kxpingrid::ProgressScope progress("Adding Connections", static_cast<int>(selected.size()));
        for (std::size_t i = 0; i < targets.size(); ++i) {
            progress.Step("Adding Connections: %d%% of %d Pins Processed", static_cast<int>(i));
            const ROWCOL row = targets[i];
            if (row < PIN_FIRST_ROW || IsDiffPairRow(row) || pairLegs.count(row)) continue;
            if (IsRowHidden(row) && !IsPowerPinChildRow(row) && rule < KX_RULE_PREFIX_PINNUMBER) continue;
            if (m_rules->ConnectRuleRow(row, run, edit.Transaction())) connected = TRUE;
        }
    }
    if (!run.invalidNames.IsEmpty())
        CKXErrorHandler::MessageBoxOk("KXTABLE-138", run.invalidNames.GetString());
    if (!run.scalarPins.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-144", run.scalarPins.GetString());
    if (pairStep) {
        CDWordArray rows;
        for (ROWCOL r : selected)
            rows.Add(r);
        if (AddConnection(&rows, TRUE, argument, rule, FALSE)) connected = TRUE;
    }
    const BOOL power = AssignPowerToImplicitPins();
    if (power == kPowerTieRefused)
        connected = FALSE; // not committed: the edit is discarded whole
    else if (power)
        connected = TRUE;
    const CString journal =
        std::exchange(m_leadJournal, CString()) + run.journal + std::exchange(m_pendingJournal, CString());
    if (!connected || !edit.Commit()) return FALSE;
    WriteJournal(journal);
    return TRUE;
}

// A rule that names each pin from its own name or number gives a row the signal it shows already when
// the names agree: such a row changes nothing. Pair rows and the other rules count as changing.
bool KXPinGridRules::RuleChangesAnyRow(const std::vector<ROWCOL>& targets, const CString& argument,
                                       int rule) {
    if (rule > KX_RULE_SUFFIX_PINNUMBER) return true;
    return std::any_of(targets.begin(), targets.end(), [&](ROWCOL row) {
        if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || m_grid.IsDiffPairRow(row)) return true;
        const CString shown = m_grid.GetValueRowCol(row, Col(m_grid.m_nColSignal));
        const CString named =
            m_grid.NameByRule(m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName)),
                              m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber)), argument, rule);
        return shown.IsEmpty() || named.CompareNoCase(shown) != 0;
    });
}

// The signal name the rule gives the row, with the bits it takes (both -1: the whole net); false
// skips the row (a list name that is no signal name joins the run's invalid names).
bool KXPinGridRules::RuleRowName(ROWCOL row, RuleRun& run, CString& pinName, CString& name, int& low,
                                 int& high) {
    pinName = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName));
    const CString pinNumber = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber));
    if (!RowPinNameBits(row, pinName, low, high)) return false;
    const int rule = run.rule;
    if (rule >= KX_RULE_PREFIX_PINNUMBER || (rule == KX_RULE_PINNAME && CKXGenUtils::IsNC(pinName)))
        low = high = -1;
    if (rule <= KX_RULE_SUFFIX_PINNUMBER) {
        name = m_grid.NameByRule(pinName, pinNumber, run.argument, rule);
    } else if (rule == KX_RULE_AUTONAME) {
        name = run.argument.IsEmpty() ? m_grid.NewAutoName() : run.argument;
    } else if (rule == KX_RULE_INCREMENT) {
        if (run.firstIncrement) {
            const int comma = run.argument.Find(',');
            run.incrementBase = comma >= 0 ? run.argument.Left(comma) : run.argument;
            run.counter = std::atoi((comma >= 0 ? run.argument.Mid(comma + 1) : run.argument).GetString());
            run.firstIncrement = false;
        } else {
            ++run.counter;
        }
        name.Format("%s%d", run.incrementBase.GetString(), run.counter);
    } else {
        // The next name of the list; the last one serves every remaining pin.
        const int comma = run.rest.Find(',');
        name = comma >= 0 ? run.rest.Left(comma) : run.rest;
        if (comma >= 0) run.rest = run.rest.Mid(comma + 1);
        name.Trim(" ");
        run.openEntry = name.IsEmpty() && !run.listEnded;
        if (comma < 0) run.listEnded = true;
        CString display, netName;
        int step = 1, pinType = -1, scope = 0, stride = 0, expand = 0;
        if (!CKXGenUtils::ParseSignalName(name, display, netName, low, high, step, pinType, scope, stride,
                                          expand)) {
            if (!name.IsEmpty()) JoinName(run.invalidNames, name);
            return false;
        }
        name = netName;
    }
    return !name.IsEmpty();
}

// The net of a rule's name: made in the run when new, widened to the bits asked for.
INet* KXPinGridRules::RuleNet(const CString& name, int low, int high, CTransaction* transaction,
                              RuleRun& run) {
    const bool vector = low != -1 && high != -1;
    INet* net = m_grid.FindTransactionNet(name);
    if (!net && m_grid.m_designContext.design())
        net = m_grid.m_designContext.design()->findNet(name.GetString());
    if (!net) {
        CString n;
        int l = -1, h = -1;
        if (!CKXGenUtils::ParseSignalName(name, n, l, h) || n != name ||
            !(net = transaction->createNet(name.GetString(), static_cast<unsigned>(vector ? high : -1),
                                           static_cast<unsigned>(vector ? low : -1)))) {
            JoinName(run.invalidNames, name);
            return nullptr;
        }
        transaction->addNet(net);
        m_grid.OfferNewNetName(name, net);
    }
    if (vector && !m_grid.ChangeNetWidth(net, std::min(low, high), std::max(low, high))) return nullptr;
    m_grid.RecordTransactionNet(name, net);
    return net;
}

// One row of a rule run: named, its net found or made, connected and journalled.
BOOL KXPinGridRules::ConnectRuleRow(ROWCOL row, RuleRun& run, CTransaction* transaction) {
    CString pinName, name;
    int low = -1, high = -1;
    run.openEntry = false;
    if (!RuleRowName(row, run, pinName, name, low, high)) return run.openEntry && OpenListedLeg(row, run);
    // A one-bit row given a list entry of several bits takes one bit of it, as the connect joins it:
    // the net is made of, and the journal names, that bit alone. An entry that leaves the row's bit out
    // is refused before its net is made or widened, so the net holds just the bits rows took, as the
    // journal's replay of those rows makes it.
    int pinMsb = -1, pinLsb = -1;
    if (low != high && low != -1 && high != -1 && m_grid.GetRowInstTerm(row, pinMsb, pinLsb) &&
        pinMsb == pinLsb) {
        const int bit = kxpingrid::PinBitOfRange(pinMsb, low, high);
        if (bit < 0) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-128",
                                          m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName)));
            return FALSE;
        }
        low = high = bit;
    }
    INet* net = RuleNet(name, low, high, transaction, run);
    if (!net) return FALSE;
    const bool vector = low != -1 && high != -1;
    if (!vector && !net->isScalar()) {
        JoinName(run.scalarPins, pinName);
        return FALSE;
    }
    CNetContext netContext = m_grid.m_designContext.net(net);
    const CString cellText = m_grid.NetRangeText(*net, high, low);
    if (!m_grid.ConnectPinToSignal(row, netContext, low, high, transaction, FALSE)) return FALSE;
    // Rules that answer the same again replay as the rule; the others as the name each row took. A
    // window of mode 0 takes no rule by command: its typed rule replays as the names the rows took.
    const bool typedOnly = m_grid.Site() && m_grid.Site()->OpenMode() == eOpenModeNoSwitch;
    const CString word = typedOnly ? CString() : RuleJournalWord(run.rule, run.argument);
    run.journal += std::exchange(m_grid.m_leadJournal, CString()); // what the row's connect did first
    run.journal += m_grid.m_retainJournal;
    run.journal += word.IsEmpty()
                       ? m_grid.JournalRowText(row, "Add Connection", m_grid.ConnectJournalMethod(), cellText)
                       : m_grid.JournalRowText(row, "Attach Signal", "AttachSignal", word);
    return TRUE;
}

bool KXPinGridRules::OpenListedLeg(ROWCOL row, RuleRun& run) {
    CString base;
    int msb = -1, lsb = -1;
    if (m_grid.GetRowKind(row, base, msb, lsb) != PIN_ROW_DIFFPAIR_LEG) return false;
    // The run's answer to the termination question holds for the leg it parts as well; a replayed
    // Delete would drop the terminations unless told to keep them.
    const bool keepsTerminations = m_grid.m_retain->KeepsTerminationsOnDisconnect();
    ROWCOL at = row;
    int removedRows = 0;
    if (!m_grid.m_disconnect->DisconnectPinRow(&at, &removedRows, FALSE)) return false;
    run.journal += m_grid.m_retainJournal + m_grid.m_disconnect->JournalDeleteRowText(row, keepsTerminations);
    return true;
}
