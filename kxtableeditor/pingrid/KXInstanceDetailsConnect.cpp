// Connecting the selected pins of the pin grid to a typed signal: a name, a bus
// range or bit, a comma list, or a naming rule. One text enters through
// ConnectSelectedPins from every road (the Attach Signal bar, the addConnection
// word, the automation methods, a typed signal cell); the plain texts are
// connected here, the rules are handed to AttachSignal. The whole run is one
// transaction (joined when the caller holds one) and a refusal changes nothing.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridPlainConnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"
#include "grid/KXSpinControl.h"

#include "kxcommon/KXCommonDialogs.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/schemautil.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include "afx/afxanswer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr int kDpMarkerLength = 20; // " (Differential Pair)"

struct RuleWord {
    const char* word;
    int rule;
    int argStart; // index of the "(" after the word; 0: no bracketed argument
};

// The naming rules in the order they are tested; the first one found anywhere in the text decides.
const RuleWord kRuleWords[] = {
    {"=PINNAME", KX_RULE_PINNAME, 0},
    {"=PREFIXPINNAME", KX_RULE_PREFIX_PINNAME, 14},
    {"=SUFFIXPINNAME", KX_RULE_SUFFIX_PINNAME, 14},
    {"=PREFIXPINNUMBER", KX_RULE_PREFIX_PINNUMBER, 16},
    {"=SUFFIXPINNUMBER", KX_RULE_SUFFIX_PINNUMBER, 16},
    {"=AUTONAME", KX_RULE_AUTONAME, 9}, // alone: a new name per pin; =AUTONAME(NAME): that name
    {"=SHORTPINS", KX_RULE_AUTONAME, 0},
    {"=INCREMENTSIGNAME", KX_RULE_INCREMENT, 17},
    {"=CONNECTBITS", KX_RULE_CONNECTBITS, 12},
};

int Width(int a, int b) {
    return a < 0 ? 1 : std::abs(a - b) + 1;
}

// One addConn: net bits netFirst..netLast (both -1: the whole net) to pin bits pinFirst..pinLast.
struct PinJoin {
    int netFirst, netLast, pinFirst, pinLast;
};

// The joins that connect the pin bits pinMsb..pinLsb to the net's bits netLow..netHigh (both -1:
// the whole net; netHigh meets the pin's first bit); false, with the message, when the widths
// do not go together.
bool PlanPinJoins(const IInstTerm* pin, const INet& net, int netLow, int netHigh, int pinMsb, int pinLsb, bool nc,
                  std::vector<PinJoin>& joins) {
    const bool wholeNet = netLow == -1 && netHigh == -1;
    const int pinWidth = Width(pinMsb, pinLsb);
    const int netWidth = wholeNet ? (net.isScalar() ? 1 : net.width()) : Width(netHigh, netLow);
    if (pinWidth == netWidth) {
        joins.push_back({wholeNet ? -1 : netHigh, wholeNet ? -1 : netLow, pinMsb, pinLsb});
        return true;
    }
    if (wholeNet && nc && net.isScalar()) {
        // Every bit of a bus pin on the no-connect signal, one by one.
        const int step = pinMsb >= pinLsb ? -1 : 1;
        for (int b = pinMsb;; b += step) {
            joins.push_back({-1, -1, b, b});
            if (b == pinLsb) break;
        }
        return true;
    }
    if (pinWidth == 1 && !wholeNet) {
        const int bit = kxpingrid::PinBitOfRange(pinMsb, netLow, netHigh);
        if (bit < 0) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-128", pin->name());
            return false;
        }
        joins.push_back({bit, bit, pinMsb, pinLsb});
        return true;
    }
    CKXErrorHandler::MessageBoxOk(wholeNet && pinWidth > 1 ? "KXTABLE-102" : "KXTABLE-128", pin->name());
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Entry

int CKXInstanceDetailsGridWnd::ConnectSelectedPins(CString text, int bEchoToHost) {
    return ConnectSignalText(text, bEchoToHost);
}

int CKXInstanceDetailsGridWnd::ConnectSignalText(CString given, int bEchoToHost) {
    if (!m_bRenamingSignal) ClearSignalNameList(); // each connect run names its own signals
    m_mapImplicitPinSignal.clear();
    m_pendingJournal.Empty();
    m_leadJournal.Empty();
    m_retainJournal.Empty();
    CString text = given;
    const bool dpName = text.Find(KX_DP_MARKER) >= 0;
    if (dpName) text = text.Left(text.GetLength() - kDpMarkerLength);
    CString upper = text;
    upper.MakeUpper();
    // A comma list gives its names to the pins in turn; a rule that takes a comma in its argument
    // (a list already written as =CONNECTBITS, an increment's start) stays as it is.
    const bool listRule = upper.Find("=INCREMENTSIGNAME") >= 0 || upper.Left(12) == "=CONNECTBITS";
    if (text.Find(',') >= 0 && !listRule) text = "=CONNECTBITS(" + text + ")";
    if (text.Left(1) == "=")
        if (const int rule = m_plainConnect->DispatchNamingRule(text, bEchoToHost); rule >= 0) return rule;
    return m_plainConnect->ConnectPlainSignal(given, text, dpName, bEchoToHost);
}

// -1 when the text holds no rule word; else 1 when the rule connected pins, 0 when it connected none.
int KXPinGridPlainConnect::DispatchNamingRule(const CString& text, int bEchoToHost) {
    CString upper = text;
    upper.MakeUpper();
    const RuleWord* found = nullptr;
    int at = -1;
    for (const RuleWord& r : kRuleWords)
        if ((at = upper.Find(r.word)) >= 0) {
            found = &r;
            break;
        }
    if (!found) return -1;
    if (bEchoToHost) {
        m_grid.EchoSelection();
        CTclArgsList list;
        list.Add(KXScriptWord::addConnection);
        list.Add("pin");
        list.Add(text);
        m_grid.SendEcho(list);
    }
    CString argument;
    const CString word = found->word;
    if (word == "=SHORTPINS") {
        const int open = text.Find('(', at);
        if (open >= 0) {
            const int close = text.Find(')', open);
            argument = close >= 0 ? text.Mid(open + 1, close - open - 1) : text.Mid(open + 1);
        } else {
            argument = m_grid.NewAutoName();
            if (argument.IsEmpty()) return 0; // no automatic name was left: the counter said so
        }
    } else if (found->argStart && !(found->rule == KX_RULE_AUTONAME && text.GetLength() == at + found->argStart)) {
        // The argument stands in parentheses right after the word and runs to the last character.
        const int open = at + found->argStart;
        if (text.GetLength() <= open || text[open] != '(' || text.Right(1) != ")") return 0;
        argument = text.Mid(open + 1, text.GetLength() - open - 2);
        if (IKXGridSite* site = m_grid.Site()) {
            if (found->rule == KX_RULE_PREFIX_PINNAME) site->SetConnectRuleText(kRulePrefixPinName, argument);
            if (found->rule == KX_RULE_SUFFIX_PINNAME) site->SetConnectRuleText(kRuleSuffixPinName, argument);
            if (found->rule == KX_RULE_PREFIX_PINNUMBER) site->SetConnectRuleText(kRulePrefixPinNumber, argument);
            if (found->rule == KX_RULE_SUFFIX_PINNUMBER) site->SetConnectRuleText(kRuleSuffixPinNumber, argument);
        }
    }
    return m_grid.AttachSignal(argument, found->rule) ? 1 : 0;
}

CString CKXInstanceDetailsGridWnd::NewAutoName() {
    return Site() ? Site()->NewSignalAutoName() : CString();
}

// ---------------------------------------------------------------------------
// Plain signal texts

// Nothing selected takes the signal: the edit connects nothing, and says why (the bracket leaves no net).
int KXPinGridPlainConnect::RefuseNoTarget(const CString& signal) {
    CKXErrorHandler::MessageBoxOk("KXTABLE-230", signal.GetString());
    return 0;
}

std::vector<ROWCOL> CKXInstanceDetailsGridWnd::SelectedPinRows() {
    return SelectedRowNumbers();
}

namespace {

// Takes the net a refused connect made out of the joined transaction when it goes out of scope,
// unless the connect kept it.
class NewNetDrop {
public:
    NewNetDrop(CKXInstanceDetailsGridWnd& grid, CTransaction* transaction, INet* net, const CString& name)
        : m_grid(grid), m_transaction(transaction), m_net(net), m_name(name) {}
    ~NewNetDrop() {
        if (m_transaction) m_grid.DropTransactionNet(m_transaction, m_net, m_name);
    }
    NewNetDrop(const NewNetDrop&) = delete;
    NewNetDrop& operator=(const NewNetDrop&) = delete;
    void Keep() { m_transaction = nullptr; }

private:
    CKXInstanceDetailsGridWnd& m_grid;
    CTransaction* m_transaction;
    INet* m_net;
    CString m_name;
};

// A flag of the grid set for the scope's lifetime, given back its value when the scope ends.
class FlagScope {
public:
    FlagScope(int& flag, int value) : m_flag(flag), m_old(std::exchange(flag, value)) {}
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    int& m_flag;
    const int m_old;
};

// The design has a net of that name and no pair of it: a pair pin cannot take the name.
bool NamesOrdinaryNetOnly(IDesign* design, const CString& netName) {
    return design && design->findNet(netName.GetString()) && !design->findDPNet(netName.GetString());
}

CDWordArray RowArray(const std::vector<ROWCOL>& rows) {
    CDWordArray out;
    for (ROWCOL r : rows)
        out.Add(r);
    return out;
}

} // namespace

// The text as the parser reads it; FALSE (KXTABLE-112, KXTABLE-115) when it names no signal.
BOOL KXPinGridPlainConnect::ParsePlainSignal(const CString& text, SignalText& sig) {
    CString trimmed = text;
    trimmed.Trim(" ");
    if (!CKXGenUtils::ParseSignalName(trimmed, sig.display, sig.netName, sig.lsb, sig.msb, sig.step, sig.pinType,
                                      sig.scope, sig.stride, sig.expand)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-112", trimmed.GetString());
        return FALSE;
    }
    if (sig.Scalar() && sig.stride) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-115", trimmed.GetString());
        return FALSE;
    }
    return TRUE;
}

// The net of the text: the design's, one this transaction made, or a new one (newNet set).
INet* KXPinGridPlainConnect::PlainSignalNet(const SignalText& sig, CTransaction* transaction, BOOL& newNet) {
    newNet = FALSE;
    INet* net = m_grid.FindTransactionNet(sig.netName);
    if (!net)
        net = m_grid.m_designContext.design()
                  ? m_grid.m_designContext.design()->findNet(sig.netName.GetString())
                  : nullptr;
    if (net) return net;
    const int low = std::min(sig.lsb, sig.msb), high = std::max(sig.lsb, sig.msb);
    net = transaction->createNet(sig.netName.GetString(), static_cast<unsigned>(high), static_cast<unsigned>(low),
                                 sig.scope == KX_SCOPE_GLOBAL ? INet::eScopeGlobal : INet::eScopeDesign);
    if (!net) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-112", sig.display.GetString());
        return nullptr;
    }
    transaction->addNet(net);
    newNet = TRUE;
    m_grid.RecordTransactionNet(sig.netName, net);
    m_grid.OfferNewNetName(sig.netName, net);
    return net;
}

// The journal blocks of the pair rows a connect took: what their connects did first, then their own.
CString KXPinGridPlainConnect::TakePairJournal() {
    return std::exchange(m_grid.m_leadJournal, CString()) + std::exchange(m_grid.m_pendingJournal, CString());
}

int KXPinGridPlainConnect::ConnectPlainSignal(const CString& given, const CString& text, bool dpName,
                                              int bEchoToHost) {
    CKXPinConnEdit edit(m_grid, m_grid.m_designContext2, "Add Conn");
    if (!edit) return 0;
    SignalText sig;
    if (!ParsePlainSignal(text, sig)) return 0;
    const std::vector<ROWCOL> selected = m_grid.SelectedPinRows();
    if (selected.empty()) return 0;
    bool anyPair = false, anyOther = false;
    if (!SortPlainSignalTargets(given, sig, dpName, selected, anyPair, anyOther)) return 0;
    CWaitCursor wait;
    if (anyPair && !anyOther) {
        CDWordArray rows = RowArray(selected);
        const BOOL done = m_grid.AddConnection(&rows, FALSE, sig.display, -1, bEchoToHost);
        const CString journal = TakePairJournal();
        if (!done || !edit.Commit()) return 0;
        m_grid.WriteJournal(journal);
        return 1;
    }
    CTransaction* transaction = edit.Transaction();
    BOOL newNet = FALSE;
    INet* net = PlainSignalNet(sig, transaction, newNet);
    if (!net) return 0;
    // A connect that joined a longer edit (the instance connectivity dialog's) and is refused takes
    // the net it made out again: the longer edit keeps nothing of it. An own edit is discarded whole.
    NewNetDrop drop(m_grid, !edit.Owns() && newNet ? transaction : nullptr, net, sig.netName);
    CNetContext netContext = m_grid.m_designContext.net(net);
    if (!netContext) return 0;
    // A bus named without bits: which bits is asked below.
    const bool wholeBus = !net->isScalar() && sig.Scalar();
    if (wholeBus) sig.lsb = sig.msb = 0;

    // A selected vector pin is one target: its bits take a range, or the no-connect signal. A selected
    // pair row's legs are no targets of their own: they go with their pair.
    const FlagScope legsWithTheirPair(m_grid.m_bSkipChildRows, 1);
    std::vector<ROWCOL> targets;
    int bits = m_grid.CollectTargetRows(selected, targets, FALSE, -1, -1);
    if (targets.empty()) return RefuseNoTarget(sig.display);
    bool bitsChosen = false;
    m_chosenBitsJournal.Empty();
    if (wholeBus || (!sig.Scalar() && !sig.SingleBit() && sig.BitWidth() != bits)) {
        if (!AskVectorBits(sig.netName, selected, sig.lsb, sig.msb, sig.step, sig.stride, FALSE, bits, targets))
            return 0;
        bitsChosen = true;
        if (targets.empty()) return RefuseNoTarget(sig.display);
    }
    m_grid.m_vectorBitsAnswer.Empty(); // a journal's bits for a dialog this connect did not need
    if (!sig.Scalar() && !m_grid.ChangeNetWidth(net, std::min(sig.lsb, sig.msb), std::max(sig.lsb, sig.msb)))
        return 0;
    CKXRetainScope retain(m_grid, sig.display);
    // The pair rows among the pins take the name as a pair's first, before any pin is connected: when
    // they take nothing (the name makes no pair for them, its question or dialog was cancelled) the
    // whole edit is refused, and the other pins keep their connections too.
    CString pairJournal;
    if (anyPair) {
        CDWordArray rows = RowArray(selected);
        if (!m_grid.AddConnection(&rows, FALSE, sig.display, -1, bEchoToHost)) return 0;
        pairJournal = TakePairJournal();
    }
    std::vector<ConnectedRow> rowsTaken;
    const bool rowsJoined =
        ConnectTargetRows(targets, sig, netContext, transaction, newNet, rowsTaken) != FALSE;
    BOOL connected = rowsJoined || anyPair ? TRUE : FALSE;
    const BOOL power = m_grid.AssignPowerToImplicitPins();
    if (power == kPowerTieRefused) return 0; // the edit is discarded whole
    if (power) connected = TRUE;
    // In row order the parts the connects make are named as they were here.
    CString journal = ConnectedRowsJournal(targets, rowsTaken, sig, !newNet || !bitsChosen, bitsChosen);
    // The pairs replay first, as they were connected first.
    journal = pairJournal + std::exchange(m_grid.m_leadJournal, CString()) + journal +
              std::exchange(m_grid.m_pendingJournal, CString());
    if (!connected || !edit.Commit()) return 0;
    drop.Keep();

    m_grid.m_signalNameList.AddTail(sig.display);
    if (bEchoToHost)
        EchoPlainConnect(bitsChosen ? CSchemaUtilities::vectorName(sig.netName.GetString(), sig.msb, sig.lsb) : given);
    m_grid.WriteJournal(journal);
    return 1;
}

// The word that does the connect again: the name (with the bits chosen) over the selected pins.
void KXPinGridPlainConnect::EchoPlainConnect(const CString& name) {
    CTclArgsList list;
    list.Add(KXScriptWord::addConnection);
    list.Add("pin");
    list.Add(name);
    m_grid.AddSelectedPinsToArgs(&list);
    m_grid.SendEcho(list);
}

// Which kinds of rows a plain signal goes to (pair rows, other pins), and whether the name may go to them:
// a pair net goes onto pair pins only, and a pair pin takes a pair, not an ordinary net of the design.
bool KXPinGridPlainConnect::SortPlainSignalTargets(const CString& given, const SignalText& sig, bool dpName,
                                                   const std::vector<ROWCOL>& selected, bool& anyPair,
                                                   bool& anyOther) {
    for (ROWCOL r : selected) {
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount() || m_grid.IsRowHidden(r)) continue;
        (m_grid.IsDiffPairRow(r) ? anyPair : anyOther) = true;
    }
    if (dpName && anyOther) {
        // A leg or an ordinary pin takes one of the pair's leg nets, never the pair net.
        CKXErrorHandler::MessageBoxOk("KXTABLE-266", given.GetString());
        return false;
    }
    // The name of an ordinary net is no pair's name, and would make a new pair on new leg nets beside that
    // net. With other pins selected too, the whole edit is refused: nothing is connected for either.
    if (anyPair && !dpName && NamesOrdinaryNetOnly(m_grid.m_designContext.design(), sig.netName)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-461", sig.netName);
        return false;
    }
    return true;
}

// Each connected row replays as its own selection and connection, with the text that row took, after what
// its connect did first. netMade: the net needs no bits chosen to be made as wide as it was.
CString KXPinGridPlainConnect::ConnectedRowsJournal(const std::vector<ROWCOL>& targets,
                                                    const std::vector<ConnectedRow>& rowsTaken,
                                                    const SignalText& sig, bool netMade, bool bitsChosen) {
    CString journal;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        ConnectedRow taken = rowsTaken[i];
        journal += taken.lead;
        if (taken.text.IsEmpty()) continue;
        journal += m_grid.m_retainJournal;
        // A row that took the text as typed asks for its bits again when replayed. The first row of a
        // range spread over a net made here replays as the text typed, with its own bits chosen, so
        // that the net is made as wide as it was.
        if (bitsChosen && taken.text == sig.display) journal += m_chosenBitsJournal;
        else if (!netMade && taken.msb >= 0) {
            journal += ChosenBitsJournal(taken.lsb, taken.msb, 1, taken.pinLsb, taken.pinMsb);
            taken.text = sig.display;
        }
        netMade = true;
        journal +=
            m_grid.m_bRenamingSignal
                ? m_grid.JournalRowText(targets[i], "Rename Connection", "RenameConnection", taken.text)
                : m_grid.JournalRowText(targets[i], "Add Connection", m_grid.ConnectJournalMethod(),
                                        taken.text);
    }
    return journal;
}

// The target rows joined to the net: a bus range is spread over them from its MSB on, a name or a
// bit goes to each. rows gets, per row, the text it took (empty when the row refused) and its lead blocks.
BOOL KXPinGridPlainConnect::ConnectTargetRows(const std::vector<ROWCOL>& targets, const SignalText& sig,
                                              CNetContext& netContext, CTransaction* transaction, BOOL newNet,
                                              std::vector<ConnectedRow>& rows) {
    INet* net = netContext.net();
    kxpingrid::ProgressScope progress("Adding Connections", static_cast<int>(targets.size()));
    kxpingrid::UpdateLockScope lock(m_grid);
    rows.assign(targets.size(), ConnectedRow());
    BOOL connected = FALSE;
    const bool spread = !sig.Scalar() && !sig.SingleBit();
    int cursor = sig.msb;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        progress.Step("Adding Connections: %d%% of %d Pins Processed", static_cast<int>(i));
        const ROWCOL row = targets[i];
        if (!spread) {
            const BOOL joined =
                m_grid.ConnectPinToSignal(row, netContext, sig.lsb, sig.msb, transaction, newNet);
            rows[i].lead = std::exchange(m_grid.m_leadJournal, CString());
            if (joined) {
                connected = TRUE;
                rows[i].text = sig.display;
            }
            continue;
        }
        int pinMsb = -1, pinLsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(row, pinMsb, pinLsb);
        const int w = pinMsb < 0 ? 0 : std::abs(pinMsb - pinLsb);
        const int end = sig.Reversed() ? cursor + w : cursor - w;
        if (end < std::min(sig.lsb, sig.msb) || end > std::max(sig.lsb, sig.msb)) {
            // The bits left of the range are fewer than the pin's: the pin does not fit them.
            if (pin) CKXErrorHandler::MessageBoxOk("KXTABLE-128", pin->name());
            continue;
        }
        const BOOL joined = m_grid.ConnectPinToSignal(row, netContext, end, cursor, transaction, newNet);
        rows[i].lead = std::exchange(m_grid.m_leadJournal, CString());
        if (!joined) continue;
        connected = TRUE;
        rows[i].text = w == 0 ? CSchemaUtilities::vectorName(net->name(), cursor)
                              : CSchemaUtilities::vectorName(net->name(), cursor, end);
        rows[i].msb = cursor;
        rows[i].lsb = end;
        rows[i].pinMsb = pinMsb;
        rows[i].pinLsb = pinLsb;
        cursor = sig.Reversed() ? end + sig.step : end - sig.step;
    }
    progress.End();
    return connected;
}

namespace {

// "LSB MSB STEP PIN_LSB PIN_MSB" as the bits dialog's fields; empty when the text is not five numbers
// of their ranges: net bits 0..KX_NAME_MAX_BIT, a step of 1 or more, pin bits -1 (none) or a bit. Whether
// the pin bits are bits of the pin is for the dialog to say, once the connect shows it.
std::map<CString, CString> VectorBitsFields(const CString& text) {
    struct Field {
        const char* name;
        long long low, high;
    };
    static const Field fields[] = {{"lsb", 0, KX_NAME_MAX_BIT},
                                   {"msb", 0, KX_NAME_MAX_BIT},
                                   {"step", 1, INT_MAX},
                                   {"pinLsb", -1, KX_NAME_MAX_BIT},
                                   {"pinMsb", -1, KX_NAME_MAX_BIT}};
    std::istringstream in(text.GetString());
    std::map<CString, CString> values;
    for (const Field& field : fields) {
        long long value = 0;
        if (!(in >> value) || value < field.low || value > field.high) return {};
        values[field.name] = std::to_string(value).c_str();
    }
    std::string rest;
    if (in >> rest) return {};
    return values;
}

// The pin bits chosen take one signal bit each, from the signal's MSB on: more pin bits than the chosen
// signal bits would leave the last of them nothing to take. Such an answer is the dialog's to refuse, before
// anything is connected.
bool PinBitsFitChosenBits(const CString& pinBase, int lsb, int msb, int step, int pinLsb, int pinMsb) {
    const int signalBits = (std::abs(msb - lsb) + step) / step;
    const int pinBits = std::abs(pinMsb - pinLsb) + 1;
    if (pinBits <= signalBits) return true;
    CString why;
    why.Format("pin bits %s<%d..%d> are %d bits, more than the %d signal bits chosen (%d..%d, step %d)",
               pinBase.GetString(), pinMsb, pinLsb, pinBits, signalBits, msb, lsb, step);
    AfxGetAnswerQueue().RefuseDialog("CKXGetVectorBits", why);
    return false;
}

} // namespace

CString CKXInstanceDetailsGridWnd::m_vectorBitsAnswer;

BOOL CKXInstanceDetailsGridWnd::AnswerVectorBitsOnNextConnect(const CString& bits) {
    if (VectorBitsFields(bits).empty()) return FALSE;
    m_vectorBitsAnswer = bits;
    return TRUE;
}

CString KXPinGridPlainConnect::ChosenBitsJournal(int lsb, int msb, int step, int pinLsb, int pinMsb) {
    if (!KXJournalLines::IsRecording()) return CString();
    CString chosen;
    chosen.Format("%d %d %d %d %d", lsb, msb, step, pinLsb, pinMsb);
    KXJournalLines lines(m_grid.JournalHandle());
    lines.Pane("ChooseVectorBits", {chosen}).End();
    return lines.Text();
}

BOOL KXPinGridPlainConnect::AskVectorBits(const CString& netName, const std::vector<ROWCOL>& selected,
                                          int& lsb, int& msb, int& step, int& stride, int expandFlag,
                                          int& bits, std::vector<ROWCOL>& targets) {
    CString pinBase;
    int rowLsb = -1, rowMsb = -1;
    if (selected.size() == 1) {
        CString m, l;
        if (m_grid.GetCellVectorInfo(selected[0], pinBase, m, l)) {
            rowMsb = std::atoi(m.GetString());
            rowLsb = std::atoi(l.GetString());
        }
    }
    CKXGetVectorBits dialog(nullptr);
    dialog.SetVectorAndPinWidth(netName, lsb, msb, bits, pinBase, rowLsb, rowMsb);
    if (const CString given = std::exchange(m_grid.m_vectorBitsAnswer, CString()); !given.IsEmpty())
        AfxGetAnswerQueue().PushDialog("CKXGetVectorBits", TRUE, VectorBitsFields(given));
    if (dialog.DoModal() != IDOK) return FALSE;
    int pinLsb = -1, pinMsb = -1;
    dialog.GetBits(lsb, msb, step, pinLsb, pinMsb);
    if (step < 1) step = 1;
    const bool pinShown = !pinBase.IsEmpty() && rowLsb >= 0;
    if (pinShown && !PinBitsFitChosenBits(pinBase, lsb, msb, step, pinLsb, pinMsb)) return FALSE;
    // A replay of the connect takes the same bits without asking.
    m_chosenBitsJournal = ChosenBitsJournal(lsb, msb, step, pinLsb, pinMsb);
    if (step > 1) stride = 1;
    if (pinShown) {
        // A stride takes one signal bit a pin bit: the pin's bit rows, one by one.
        const BOOL whole = pinLsb == rowLsb && pinMsb == rowMsb && step == 1;
        targets.clear();
        // The pin's bits from its LSB to its MSB: an LSB above the MSB pairs the bits the other way round.
        bits = m_grid.CollectTargetRows(selected, targets, whole ? expandFlag : TRUE, pinLsb, pinMsb);
    } else if (step > 1) {
        targets.clear();
        bits = m_grid.CollectTargetRows(selected, targets, expandFlag, -1, -1);
    }
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::ChangeNetWidth(INet* net, int low, int high) {
    if (!net) return TRUE;
    int curLow = net->lsb(), curHigh = net->msb();
    if (curLow > curHigh) std::swap(curLow, curHigh);
    if (net->isScalar()) {
        if (low == -1 && high == -1) return TRUE;
        CKXErrorHandler::MessageBoxOk("KXTABLE-141", net->name());
        return FALSE;
    }
    if (low >= curLow && high <= curHigh) return TRUE;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    const int newLow = std::min(low, curLow), newHigh = std::max(high, curHigh);
    // The net keeps its direction: a net written low to high stays so.
    const bool ascending = net->msb() < net->lsb();
    const bool changed =
        transaction && (ascending ? transaction->changeNetWidth(net, static_cast<unsigned>(newLow),
                                                                static_cast<unsigned>(newHigh))
                                  : transaction->changeNetWidth(net, static_cast<unsigned>(newHigh),
                                                                static_cast<unsigned>(newLow)));
    if (!changed) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-141", net->name());
        return FALSE;
    }
    RecordTransactionNet(net->name(), net);
    return m_plainConnect->WidenPartnerLegs(net);
}

BOOL KXPinGridPlainConnect::WidenPartnerLegs(INet* leg) {
    // The legs of a pair over two whole nets keep one range, and the pair takes it with them.
    for (IDPNet* pair : leg->beginDPNet()) {
        if (pair->positiveBit() >= 0 || pair->negativeBit() >= 0) continue;
        INet* partner = leg == pair->positive() ? pair->negative() : pair->positive();
        if (partner == leg || partner->isScalar()) continue;
        if (!m_grid.ChangeNetWidth(partner, std::min(leg->lsb(), leg->msb()),
                                   std::max(leg->lsb(), leg->msb())))
            return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// One row

CString CKXInstanceDetailsGridWnd::PinNetText(IInstTerm* pin, int msb, int lsb, const CString& shown) {
    const CNetBit first = pin->netBit(msb), last = pin->netBit(lsb);
    INet* net = first.net();
    // Bits on several nets, or none: what the cell shows.
    if (!net || last.net() != net) return shown;
    return NetRangeText(*net, first.bit(), last.bit());
}

CString CKXInstanceDetailsGridWnd::NetRangeText(const INet& net, int high, int low) {
    if (net.isScalar() || (high < 0 && low < 0)) return CString(net.name());
    return CSchemaUtilities::vectorName(net.name(), high, low);
}

BOOL CKXInstanceDetailsGridWnd::ConnectPinToSignal(ROWCOL row, CNetContext& netContext, int netLow, int netHigh,
                                                   CTransaction* transaction, BOOL newNet) {
    INet* net = netContext.net();
    if (!net || !transaction) return FALSE;
    CWaitCursor wait;
    // The text the row shows once connected.
    const CString text = NetRangeText(*net, netHigh, netLow);
    // A row that has the connection already (an implicit power pin's too) takes nothing.
    const CString oldText = GetValueRowCol(row, Col(m_nColSignal));
    if (oldText == text) return FALSE;
    int pinMsb = -1, pinLsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, pinMsb, pinLsb);
    if (!pin) {
        if (!IsImplicitPowerPinRow(row, nullptr)) return FALSE;
        StoreImplicitPinSignal(row, text);
        return TRUE;
    }
    const bool nc = CKXGenUtils::IsNC(net->name()) != FALSE;
    // Every refusal comes before the first change, so a refused row keeps its connections.
    std::vector<PinJoin> joins;
    if (!PlanPinJoins(pin, *net, netLow, netHigh, pinMsb, pinLsb, nc, joins)) return FALSE;
    // The no-connect signal takes no termination; another net takes the moved bits' terminations
    // only when the user keeps them.
    const std::vector<std::pair<int, CNetBit>> moved = m_retain->MovingBits(pin, pinMsb, pinLsb, net);
    // The net a rename leaves, as the design has it now: the cell may still show what the pin was on
    // before an earlier rename of the same edit.
    const CString leftText = m_bRenamingSignal && newNet ? PinNetText(pin, pinMsb, pinLsb, oldText) : oldText;
    if (nc)
        m_disconnect->DeleteTerminationsOnPinBits(transaction, pin, pinMsb, pinLsb);
    else if (!m_retain->KeepsTerminationsOnMove())
        m_retain->DropMovedTerminations(transaction, row, pin, pinMsb, pinLsb, net);
    for (const PinJoin& j : joins)
        if (!transaction->addConn(net, static_cast<unsigned>(j.netFirst), static_cast<unsigned>(j.netLast), pin,
                                  static_cast<unsigned>(j.pinFirst), static_cast<unsigned>(j.pinLast), 0))
            return FALSE;
    // The pull-ups of the nets the pin left go along to its new net, when the user keeps them.
    if (!nc) m_retain->CarryPupdsOver(transaction, pin, moved);
    if (!nc) AutoConnectDiffPairLegs(transaction, pin, pinMsb, pinLsb);
    if (m_bRenamingSignal && newNet) MergeRenamedNet(transaction, leftText, net);
    if (IKXGridSite* site = Site()) site->MarkModified();
    return TRUE;
}

void KXPinGridDisconnect::DeleteTerminationsOnPinBits(CTransaction* transaction, IInstTerm* pin, int msb,
                                                      int lsb) {
    if (!transaction || !pin) return;
    const int step = msb >= lsb ? -1 : 1;
    for (int b = msb;; b += step) {
        DeleteTerminationOnBit(transaction, CInstTermBit(pin, b));
        if (b == lsb) break;
    }
}

bool KXPinGridDisconnect::DeleteTerminationsOnBits(CTransaction* transaction,
                                                   const std::list<CInstTermBitContext>& bits) {
    bool deleted = false;
    for (const CInstTermBitContext& bit : bits)
        if (DeleteTerminationOnBit(transaction, bit.instTermBit())) deleted = true;
    return deleted;
}

bool KXPinGridDisconnect::DeleteTerminationOnBit(CTransaction* transaction, const CInstTermBit& bit) {
    std::vector<IDTInstance*> terms;
    for (IDTInstance* dt : bit.beginAssociatedDTInstance())
        if (dt && dt->assocKind() == IDTInstance::eTermination) terms.push_back(dt);
    for (IDTInstance* dt : terms)
        transaction->removeDTInstance(dt);
    return !terms.empty();
}

// ---------------------------------------------------------------------------
// The pane's map of the nets made in the open transaction

void CKXInstanceDetailsGridWnd::ClearTransactionNetMap() {
    KXPinGridRetain::ForgetRetainRun(); // the pane forgets it too; a grid without a pane has only this
    if (IKXGridSite* site = Site()) site->EmptyTransactionNetMap();
}

INet* CKXInstanceDetailsGridWnd::FindTransactionNet(const CString& name) {
    return Site() ? Site()->FindTransactionNet(name) : nullptr;
}

void CKXInstanceDetailsGridWnd::RecordTransactionNet(const CString& name, INet* net) {
    if (m_pPasteNewNets) m_pPasteNewNets->push_back(name);
    if (IKXGridSite* site = Site()) site->RecordTransactionNet(name, net);
}

namespace {

// The entry whose text is the name, case and all; -1 when none (the list's own search ignores case).
int FindEntryExactly(const CKXListComboBox& list, const CString& name) {
    const int first = list.FindStringExact(-1, name);
    for (int at = first; at >= 0;) {
        CString text;
        list.GetText(at, text);
        if (text == name) return at;
        at = list.FindStringExact(at, name);
        if (at <= first) break; // the search wrapped round
    }
    return -1;
}

} // namespace

void CKXInstanceDetailsGridWnd::OfferNewNetName(const CString& name, const INet* net) {
    if (!m_bInConnectDialog || !m_pSignalCombo || !m_pSignalCombo->m_pListBox || name.IsEmpty()) return;
    CKXListComboBox& list = *m_pSignalCombo->m_pListBox;
    if (FindEntryExactly(list, name) >= 0) return;
    list.SetItemData(list.AddString(name), net ? net->id() : 0);
}

void CKXInstanceDetailsGridWnd::TakeBackNetNames(const std::vector<CString>& names) {
    IKXGridSite* site = Site();
    CKXListComboBox* list =
        m_bInConnectDialog && m_pSignalCombo ? m_pSignalCombo->m_pListBox : nullptr;
    for (const CString& name : names) {
        if (site) site->ForgetTransactionNet(name);
        if (!list) continue;
        if (const int at = FindEntryExactly(*list, name); at >= 0) list->DeleteString(static_cast<UINT>(at));
    }
}

BOOL CKXInstanceDetailsGridWnd::PickSignalCellEntry(const CString& name) {
    const std::vector<ROWCOL> rows = SelectedPinRows();
    if (rows.empty() || !m_pSignalCombo || !m_pSignalCombo->m_pListBox) return FALSE;
    const ROWCOL row = rows.front(), col = Col(m_nColSignal);
    if (GetControl(row, col) != m_pSignalCombo || CellStyle(row, col).GetReadOnly()) return FALSE;
    const CKXListComboBox& list = *m_pSignalCombo->m_pListBox;
    const int at = FindEntryExactly(list, name);
    if (at < 0) return FALSE;
    CString entry;
    list.GetText(at, entry);
    return TypeIntoSignalCell(row, entry);
}

void CKXInstanceDetailsGridWnd::DropTransactionNet(CTransaction* transaction, INet* net, const CString& name) {
    if (transaction && net && net->isAlive()) transaction->removeNet(net);
    if (IKXGridSite* site = Site()) site->ForgetTransactionNet(name);
}

// ---------------------------------------------------------------------------
// Echo and journal

void CKXInstanceDetailsGridWnd::AddSelectedPinsToArgs(CTclArgsList* args) {
    if (!args) return;
    for (ROWCOL r : SelectedPinRows())
        if (r >= PIN_FIRST_ROW && r <= GetRowCount() && !IsRowHidden(r)) AddPinRowToArgs(r, *args);
}

void CKXInstanceDetailsGridWnd::AddPinRowToArgs(ROWCOL row, CTclArgsList& args) {
    args.StartArgument();
    args.AddToArgument(GetValueRowCol(row, Col(m_nColInstance)));
    args.AddToArgument(GetValueRowCol(row, Col(m_nColPinName)));
    args.AddToArgument(GetValueRowCol(row, Col(m_nColPinNumber)));
    args.EndArgument();
}

void CKXInstanceDetailsGridWnd::EchoSelection() {
    CTclArgsList list;
    list.Add(KXScriptWord::selectObject);
    list.Add("pin");
    AddSelectedPinsToArgs(&list);
    SendEcho(list);
}

void CKXInstanceDetailsGridWnd::SendEcho(CTclArgsList& list) {
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
}

const char* CKXInstanceDetailsGridWnd::ConnectJournalMethod() const {
    return Site() && Site()->OpenMode() == eOpenModeNoSwitch ? "TypeSignal" : "AddConnection";
}

// The block that replays one row's edit: the row's component and signal cell selected, then the call.
CString CKXInstanceDetailsGridWnd::JournalRowText(ROWCOL row, const char* comment, const char* method,
                                                  const CString& argument, bool withArgument) {
    if (!KXJournalLines::IsRecording()) return CString();
    KXJournalLines call(JournalHandle());
    if (withArgument)
        call.Pane(method, {argument});
    else
        call.Pane(method);
    return JournalAssocText(row, "SelectSignalCol", comment) + call.End().Text();
}

void CKXInstanceDetailsGridWnd::WriteJournal(const CString& text) {
    if (text.IsEmpty()) return;
    if (m_bHoldJournal) {
        m_strHeldJournal += text;
        return;
    }
    // Each call of the text comes under its title line: the calls of the edit replay as one step.
    KXWriteJournalOfOneStep(text);
}
