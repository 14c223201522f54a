// Differential pairs as connection edits: connecting pair rows to pair nets
// (found by name, or made over their two leg nets), and removing pair pins.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPairEdits.h"
#include "pingrid/KXPinGridPairNets.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridPairConnect.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXScriptText.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXDiffPairLegs.h"

#include "kxcommon/KXCommonDialogs.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <optional>

#include <cstdlib>
#include <map>
#include <set>

using kxpingrid::Col;

namespace {

int PairWidth(int msb, int lsb) {
    return msb < 0 ? 1 : std::abs(msb - lsb) + 1;
}

// A typed range is handed out row by row from its first bit on, again from the first when the
// rest of it is too narrow for the row; false when the row is wider than the whole range.
bool NextTypedBits(int first, int second, int width, int& cursor, int& high, int& low) {
    const bool descending = first >= second;
    if (width > PairWidth(first, second)) return false;
    if ((descending ? cursor - second : second - cursor) + 1 < width) cursor = first;
    high = cursor;
    low = descending ? cursor - (width - 1) : cursor + (width - 1);
    cursor = descending ? low - 1 : low + 1;
    return true;
}

// The pair net's name with the bits a pin took.
CString PairRangeName(IDPNet* net, int high, int low) {
    if (high < 0) return net->name();
    return high == low ? CSchemaUtilities::vectorName(net->name(), high)
                       : CSchemaUtilities::vectorName(net->name(), high, low);
}

// The bit of a whole leg net that stands where the pair's bit stands in the pair's range.
int LegBit(int pairMsb, int pairLsb, int bit, const INet& leg) {
    const int index = pairMsb >= pairLsb ? pairMsb - bit : bit - pairMsb;
    return leg.msb() >= leg.lsb() ? leg.msb() - index : leg.msb() + index;
}

void JoinName(CString& list, const CString& name) {
    if (!list.IsEmpty()) list += ", ";
    list += name;
}

// Takes back what the transaction made since the mark for the pair name, and forgets the nets it took
// back: in the run's pair nets, and in the open transaction's new nets (the pair's leg nets).
void DropPairNetsSince(CTransaction& transaction, const CTransaction::Mark& mark, const CString& name,
                       std::map<CString, IDPNet*>& cache, IKXGridSite* site) {
    if (!transaction.discardTo(mark)) return;
    std::erase_if(cache, [](const auto& entry) { return !entry.second || !entry.second->isAlive(); });
    CString full, base, positive, negative;
    int second = -1, first = -1, flag = 0;
    if (!site || !CKXGenUtils::ParseDPName(name, full, base, second, first, flag) ||
        !CKXGenUtils::GetDiffPairNetNames(base, positive, negative))
        return;
    for (const CString& leg : {positive, negative})
        if (const INet* made = site->FindTransactionNet(leg); made && !made->isAlive())
            site->ForgetTransactionNet(leg);
}

} // namespace

namespace {

// The net bit of a pair pin's first leg (its first member's for a vector pair).
CNetBit FirstLegNetBit(const IDPInstTerm* pin) {
    const IDPInstTerm* first = pin;
    for (IDPInstTerm* member : pin->beginMember())
        if (member) {
            first = member;
            break;
        }
    return first->positive() ? first->positive()->netBit(first->positiveBit()) : CNetBit();
}

} // namespace

// The visible pair rows among rows, once each; on the typed path a row whose pair the user does not
// want replaced is left out.
std::vector<ROWCOL> KXPinGridPairConnect::CollectPairRows(const CDWordArray& rows, const CString& typed) {
    std::vector<ROWCOL> pairRows;
    std::set<ROWCOL> seen;
    CString name, base;
    int second = -1, first = -1, flag = 0;
    const bool named = !typed.IsEmpty() && CKXGenUtils::ParseDPName(typed, name, base, second, first, flag);
    // A one-bit pair of its own goes by its full name, any other pair by its base name.
    IDesign* design = m_grid.m_designContext.design();
    const bool ownBit =
        named && first != -1 && first == second && design && design->findDPNet(name.GetString());
    const CString& pairName = ownBit ? name : base;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const ROWCOL row = rows.GetAt(i);
        if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || m_grid.IsRowHidden(row) ||
            !m_grid.IsDiffPairRow(row))
            continue;
        IDPInstTerm* pin = m_grid.GetRowDPInstTerm(row);
        if (!pin || !seen.insert(row).second) continue;
        if (named && !m_grid.m_pairEdits->ConfirmDiffPairReplace(FirstLegNetBit(pin), pairName)) continue;
        pairRows.push_back(row);
    }
    return pairRows;
}

// The pair net of a typed pair name and the bits it gives the rows: the typed range, checked
// against the net, or the bits chosen in the vector-bits dialog when the name of a vector pair net
// gives none. FALSE (with the message) refuses the whole connect.
BOOL KXPinGridPairConnect::ResolveTypedPair(const CString& text, const std::vector<ROWCOL>& rows,
                                            TypedPair& out) {
    CString base;
    int first = -1, second = -1;
    out.net = m_grid.m_pairNets->EditDiffPair(text, &first, &second, &base, nullptr);
    if (!out.net) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-152", text.GetString());
        return FALSE;
    }
    const IDPNet& net = *out.net;
    const bool scalarNet = net.msb() < 0;
    if (scalarNet && first != -1) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-153", net.name());
        return FALSE;
    }
    int& pinWidth = out.pinWidth;
    bool vectorPins = false; // a scalar pair pin takes no bits of a vector pair net (KXTABLE-154)
    for (ROWCOL row : rows)
        if (IDPInstTerm* pin = m_grid.GetRowDPInstTerm(row)) {
            pinWidth += PairWidth(pin->msb(), pin->lsb());
            vectorPins = vectorPins || pin->msb() >= 0;
        }
    out.first = scalarNet ? -1 : first;
    out.second = scalarNet ? -1 : second;
    // Which bits of the pair net: asked for a name without bits (also when the pins are as wide as the
    // net), and for typed bits more than the pins take. The echo and the journal name the bits chosen:
    // they replay without the dialog.
    const bool noBits = first == -1;
    const bool wider = !noBits && vectorPins && PairWidth(first, second) > pinWidth;
    if (!scalarNet && (noBits || wider) &&
        !AskPairBits(base, noBits ? net.lsb() : second, noBits ? net.msb() : first, rows, out))
        return FALSE;
    if (!scalarNet) {
        const int wantLo = std::min(out.first, out.second), wantHi = std::max(out.first, out.second);
        // Typed bits beyond a pair of two whole leg nets widen the leg nets, and the pair with them.
        if (first != -1 && net.positiveBit() < 0 && net.positive() && !net.positive()->isScalar())
            if (!m_grid.ChangeNetWidth(net.positive(), wantLo, wantHi)) return FALSE;
        const int lo = std::min(net.lsb(), net.msb()), hi = std::max(net.lsb(), net.msb());
        if (wantLo < lo || wantHi > hi) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-150", text.GetString());
            return FALSE;
        }
    }
    return TRUE;
}

// A lane of a vector pair connected on its own (moved to another lane of a pair net) has a pair
// connection of its own: the whole pair connected again takes its lanes with it, and leaves none.
void KXPinGridPairConnect::DropLaneConnections(CTransaction* transaction, IDPInstTerm* pin) {
    for (IDPInstTerm* lane : pin->beginMember())
        if (lane && lane != pin && lane->dpConn() && lane->dpConn() != pin->dpConn())
            m_grid.m_pairEdits->RemoveDiffPairConnection(transaction, lane);
}

bool KXPinGridPairConnect::AskPairBits(const CString& base, int lsb, int msb, const std::vector<ROWCOL>& rows,
                                       TypedPair& out) {
    int step = 1, pinLsb = -1, pinMsb = -1;
    CKXGetVectorBits dialog(nullptr);
    IDPInstTerm* only = rows.size() == 1 ? m_grid.GetRowDPInstTerm(rows[0]) : nullptr;
    dialog.SetVectorAndPinWidth(base, lsb, msb, out.pinWidth, only ? CString(only->name()) : CString(),
                                only ? only->lsb() : -1, only ? only->msb() : -1);
    if (dialog.DoModal() != IDOK) return false;
    dialog.GetBits(lsb, msb, step, pinLsb, pinMsb);
    out.first = msb;
    out.second = lsb;
    out.bitsChosen = true;
    return true;
}

void KXPinGridPairConnect::ReturnLegsInPlace(CTransaction* transaction, ROWCOL row, IDPInstTerm* pin,
                                             IDPNet* net, int high, int low, PairReports& reports,
                                             CString& unchanged, std::vector<PairJournalRow>& journalRows) {
    // On this pair net already: legs moved elsewhere come back onto its leg nets, as the first
    // connect put them there; legs in place leave nothing to do.
    const CTransaction::Mark before = transaction->mark();
    const std::vector<CKXInstanceDetailsGridWnd::LegMove> legMoves =
        CKXInstanceDetailsGridWnd::PairLegMoves(pin, net);
    DropLaneConnections(transaction, pin);
    if (!ConnectPairLegs(transaction, net, high, low, pin)) {
        JoinName(reports.failed, net->name());
        return;
    }
    const auto changes = transaction->changesSince(before);
    if (!changes || changes->empty()) {
        unchanged = PairRangeName(net, high, low);
        return;
    }
    for (const CKXInstanceDetailsGridWnd::LegMove& leg : legMoves)
        m_grid.m_retain->CarryPupdsOver(transaction, leg.pin, leg.moved);
    journalRows.push_back({row, PairRangeName(net, high, low) + KX_DP_MARKER, false});
}

void KXPinGridPairConnect::JournalPairRows(const std::vector<PairJournalRow>& journalRows) {
    // Each row replays as a connect of its own: the pull-up answer of the run goes before each, and
    // before a row whose legs lost their terminations the answer that drops them (a replay keeps them
    // otherwise).
    for (const auto& r : journalRows) {
        CString answers = m_grid.m_retainJournal;
        if (r.legTerminationsDropped) {
            KXJournalLines lines(m_grid.JournalHandle());
            lines.Pane("RetainTermination", {"0"}).End();
            answers += lines.Text();
        }
        m_grid.m_pendingJournal += answers + m_grid.JournalRowText(r.row, "Add Connection",
                                                                   m_grid.ConnectJournalMethod(), r.pairName);
    }
}

void KXPinGridPairConnect::EchoPairConnect(const TypedPair& typed, const CString& text) {
    m_grid.EchoSelection();
    CTclArgsList list;
    list.Add(KXScriptWord::addConnection);
    list.Add("pin");
    list.Add(typed.bitsChosen ? PairRangeName(typed.net, typed.first, typed.second) : text);
    m_grid.SendEcho(list);
}

BOOL CKXInstanceDetailsGridWnd::AddConnection(CDWordArray* rows, BOOL bRuleDriven, CString text, int nRule,
                                              BOOL bEcho) {
    if (!rows || rows->GetSize() == 0 || nRule == KX_RULE_PREFIX_PINNUMBER ||
        nRule == KX_RULE_SUFFIX_PINNUMBER)
        return FALSE;
    const std::vector<ROWCOL> pairRows =
        m_pairConnect->CollectPairRows(*rows, bRuleDriven ? CString() : text);
    if (pairRows.empty()) return FALSE;
    if (!text.IsEmpty() && CKXGenUtils::IsNC(text)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-151", text.GetString());
        return FALSE;
    }
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!transaction) return FALSE;
    KXPinGridPairConnect::TypedPair typed;
    if (!bRuleDriven && !m_pairConnect->ResolveTypedPair(text, pairRows, typed)) return FALSE;
    // Nothing to connect: no question is asked.
    if (!bRuleDriven && !m_pairConnect->TypedPairChangesAnything(transaction, pairRows, typed)) return FALSE;
    CKXRetainScope retain(*this, bRuleDriven ? CString() : text);
    KXPinGridPairConnect::PairReports reports;
    std::vector<KXPinGridPairConnect::PairJournalRow> journalRows;
    CString unchanged; // a pair net the pairs were on already, legs and all
    int cursor = typed.first;
    std::map<CString, IDPNet*> cache;
    KXPinGridPairConnect::PairNamer namer;
    namer.argument = text;
    namer.rule = nRule;
    for (ROWCOL row : pairRows) {
        IDPInstTerm* pin = GetRowDPInstTerm(row);
        if (!pin) continue;
        IDPNet* net = typed.net;
        int high = -1, low = -1;
        if (bRuleDriven) {
            net = m_pairConnect->RulePairNet(transaction, row, *pin, namer, cache, reports);
            if (!net) continue;
            high = net->msb();
            low = net->lsb();
        } else if (!m_pairConnect->TypedPairBits(*pin, typed, cursor, high, low, reports)) {
            continue;
        }
        if (pin->dpConn() && pin->dpConn()->dpNet() == net && pin->dpConn()->netMsb() == high) {
            m_pairConnect->ReturnLegsInPlace(transaction, row, pin, net, high, low, reports, unchanged,
                                             journalRows);
            continue;
        }
        // The pair's terminations go with it to the new pair net, or are deleted, as the user answered;
        // so do the pull-ups of the leg nets its legs leave.
        const std::vector<LegMove> legMoves = PairLegMoves(pin, net);
        // A lane moving off its vector pair's connection leaves it, its terminations kept on it to go along.
        KXPartLaneFromPairConnection(*transaction, *GetAssocCompAPI(), pin, false);
        KXPinGridPairConnect::PairTerminations kept =
            m_pairConnect->TakePairTerminations(transaction, row, pin);
        const bool parted = pin->dpConn() && m_pairEdits->RemoveDiffPairConnection(transaction, pin);
        m_pairConnect->DropLaneConnections(transaction, pin);
        const bool legsDropped = parted && m_pairConnect->DropLegTerminations(transaction, row);
        if (!transaction->addDPConn(net, high, low, pin, pin->msb(), pin->lsb(), 0) ||
            !m_pairConnect->ConnectPairLegs(transaction, net, high, low, pin)) {
            JoinName(reports.failed, net->name());
            continue;
        }
        for (const auto& [member, dts] : kept)
            for (IDTInstance* dt : dts)
                if (IDPConn* conn = member->connLane().conn) transaction->attachDTInstance(dt, conn);
        for (const LegMove& leg : legMoves)
            m_retain->CarryPupdsOver(transaction, leg.pin, leg.moved);
        journalRows.push_back({row, PairRangeName(net, high, low) + KX_DP_MARKER, legsDropped});
    }
    reports.Show();
    if (journalRows.empty()) {
        // Every pair was on its pair net with its legs in place: nothing to do, and the user is told.
        if (!unchanged.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-348", unchanged + KX_DP_MARKER);
        return FALSE;
    }
    if (IKXGridSite* site = Site()) site->MarkModified();
    if (bEcho) m_pairConnect->EchoPairConnect(typed, text);
    m_pairConnect->JournalPairRows(journalRows);
    return TRUE;
}

// A pair pin on a pair net has its legs on the pair's leg nets: the positive leg pin joins the
// positive leg net and the negative leg pin the negative one, over the bits the pair took, leaving
// the nets the legs were on before (a moved pair no longer leaves its legs on the old pair's nets).
bool KXPinGridPairConnect::ConnectPairLegs(CTransaction* transaction, const IDPNet* net, int netHigh,
                                           int netLow, const IDPInstTerm* pin) {
    if (!transaction || !net || !pin) return false;
    const bool busLegs = net->msb() >= 0; // a pair of two whole bus nets numbers its bits as its legs
    const bool vectorPin = pin->msb() >= 0;
    const struct {
        INet* net;
        int netBit;
        IInstTerm* pin;
        int pinBit;
    } legs[] = {{net->positive(), net->positiveBit(), pin->positive(), pin->positiveBit()},
                {net->negative(), net->negativeBit(), pin->negative(), pin->negativeBit()}};
    for (const auto& leg : legs) {
        if (!leg.net || !leg.pin) return false;
        const int netA = busLegs ? LegBit(net->msb(), net->lsb(), netHigh, *leg.net) : leg.netBit;
        const int netB = busLegs ? LegBit(net->msb(), net->lsb(), netLow, *leg.net) : leg.netBit;
        const int pinA = vectorPin ? leg.pin->msb() : leg.pinBit,
                  pinB = vectorPin ? leg.pin->lsb() : leg.pinBit;
        if (!transaction->addConn(leg.net, static_cast<unsigned>(netA), static_cast<unsigned>(netB), leg.pin,
                                  static_cast<unsigned>(pinA), static_cast<unsigned>(pinB), 0))
            return false;
    }
    return true;
}

std::vector<CKXInstanceDetailsGridWnd::LegMove>
CKXInstanceDetailsGridWnd::PairLegMoves(const IDPInstTerm* pin, const IDPNet* net) {
    std::vector<LegMove> moves;
    if (!pin) return moves;
    const bool vectorPin = pin->msb() >= 0;
    const struct {
        IInstTerm* pin;
        int pinBit;
        const INet* target;
    } legs[] = {{pin->positive(), pin->positiveBit(), net ? net->positive() : nullptr},
                {pin->negative(), pin->negativeBit(), net ? net->negative() : nullptr}};
    for (const auto& leg : legs) {
        if (!leg.pin) continue;
        const int first = vectorPin ? leg.pin->msb() : leg.pinBit,
                  last = vectorPin ? leg.pin->lsb() : leg.pinBit;
        LegMove move{leg.pin, KXPinGridRetain::MovingBits(leg.pin, first, last, leg.target)};
        if (!move.moved.empty()) moves.push_back(std::move(move));
    }
    return moves;
}

// The width tests of a rule-named pair net: a pin of several bits on a scalar net (KXTABLE-153),
// a one-bit pin on a bus (KXTABLE-154) and pins wider than the net (KXTABLE-150) are listed.
bool KXPinGridPairConnect::RulePairFits(const IDPInstTerm& pin, const IDPNet& net, PairReports& reports) {
    const int w = PairWidth(pin.msb(), pin.lsb()), netWidth = PairWidth(net.msb(), net.lsb());
    const CString name = CKXGenUtils::GetDiffPairName(&pin);
    CString* list = nullptr;
    if (w > 1 && net.msb() < 0)
        list = &reports.vectorOnScalar;
    else if (w == 1 && pin.msb() < 0 && net.msb() >= 0)
        list = &reports.scalarOnVector;
    else if (w != netWidth)
        list = &reports.width;
    if (list) JoinName(*list, name);
    return list == nullptr;
}

// The bits of a typed pair net the next row takes from the cursor. A pin of several bits on a scalar
// pair (KXTABLE-153), a scalar pin given a range the pins cannot take up between them (KXTABLE-154)
// and a pin wider than the range (KXTABLE-150) are listed and take none.
bool KXPinGridPairConnect::TypedPairBits(const IDPInstTerm& pin, const TypedPair& typed, int& cursor,
                                         int& high, int& low, PairReports& reports) {
    const int w = PairWidth(pin.msb(), pin.lsb());
    const bool scalarNet = typed.net->msb() < 0;
    const int rangeWidth = PairWidth(typed.first, typed.second);
    CString* list = nullptr;
    if (scalarNet && w > 1)
        list = &reports.vectorOnScalar;
    else if (!scalarNet && pin.msb() < 0 && rangeWidth > 1 && typed.pinWidth < rangeWidth)
        list = &reports.scalarOnVector;
    else if (!scalarNet && !NextTypedBits(typed.first, typed.second, w, cursor, high, low))
        list = &reports.width;
    if (list) {
        JoinName(*list, CKXGenUtils::GetDiffPairName(&pin));
        return false;
    }
    if (scalarNet) high = low = -1;
    return true;
}

// Whether the pair pin is on those bits of the pair net with its legs on the leg nets: connecting it
// again changes nothing.
bool KXPinGridPairConnect::PairInPlace(CTransaction* transaction, const IDPInstTerm* pin, const IDPNet* net,
                                       int high, int low) {
    if (!pin->dpConn() || pin->dpConn()->dpNet() != net || pin->dpConn()->netMsb() != high) return false;
    const CTransaction::Mark before = transaction->mark();
    const bool joined = ConnectPairLegs(transaction, net, high, low, pin);
    const auto changes = transaction->changesSince(before);
    const bool none = joined && changes && changes->empty();
    if (!none) transaction->discardTo(before);
    return none;
}

// A typed pair walked over the rows before anything is asked or changed: when no row would change (each
// is on its bits already, or refused), the refusals are reported, or that nothing changes, and false.
bool KXPinGridPairConnect::TypedPairChangesAnything(CTransaction* transaction,
                                                    const std::vector<ROWCOL>& rows, const TypedPair& typed) {
    PairReports reports;
    CString unchanged;
    int cursor = typed.first;
    for (ROWCOL row : rows) {
        IDPInstTerm* pin = m_grid.GetRowDPInstTerm(row);
        int high = -1, low = -1;
        if (!pin || !TypedPairBits(*pin, typed, cursor, high, low, reports)) continue;
        if (!PairInPlace(transaction, pin, typed.net, high, low)) return true;
        unchanged = PairRangeName(typed.net, high, low);
    }
    reports.Show();
    if (!unchanged.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-348", unchanged + KX_DP_MARKER);
    return false;
}

void KXPinGridPairConnect::PairReports::Show() const {
    if (!scalarOnVector.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-154", scalarOnVector.GetString());
    if (!vectorOnScalar.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-153", vectorOnScalar.GetString());
    if (!width.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-150", width.GetString());
    if (!failed.IsEmpty()) CKXErrorHandler::MessageBoxOk("KXTABLE-152", failed.GetString());
}

// The pair net the rule names for a pair row, found or made; null (the row reported) when there is none
// or the pin does not fit it. A pair net and leg nets made for a row that is not connected go again:
// nothing would use them, and nothing journals them.
IDPNet* KXPinGridPairConnect::RulePairNet(CTransaction* transaction, ROWCOL row, const IDPInstTerm& pin,
                                          PairNamer& namer, std::map<CString, IDPNet*>& cache,
                                          PairReports& reports) {
    const CTransaction::Mark before = transaction->mark();
    const CString name = namer.Next(m_grid, row);
    IDPNet* net = m_grid.m_pairNets->EditDiffPair(name, nullptr, nullptr, nullptr, &cache);
    if (net && RulePairFits(pin, *net, reports)) return net;
    if (!net) JoinName(reports.failed, name);
    DropPairNetsSince(*transaction, before, name, cache, m_grid.Site());
    return nullptr;
}

// The name a naming rule gives the next pair row.
CString KXPinGridPairConnect::PairNamer::Next(CKXInstanceDetailsGridWnd& grid, ROWCOL row) {
    if (rule == KX_RULE_INCREMENT) {
        if (first) {
            const int comma = argument.Find(',');
            base = comma >= 0 ? argument.Left(comma) : argument;
            counter = std::atoi((comma >= 0 ? argument.Mid(comma + 1) : argument).GetString());
            first = false;
        } else {
            ++counter;
        }
        CString name;
        name.Format("%s%d", base.GetString(), counter);
        return name;
    }
    if (rule == KX_RULE_AUTONAME) return argument.IsEmpty() ? grid.NewAutoName() : argument;
    return CKXInstanceDetailsGridWnd::NameByRule(grid.GetValueRowCol(row, Col(grid.m_nColPinName)), CString(),
                                                 argument, rule);
}

KXPinGridPairConnect::PairTerminations
KXPinGridPairConnect::TakePairTerminations(CTransaction* transaction, ROWCOL row, IDPInstTerm* pin) {
    PairTerminations found;
    std::vector<IDPInstTerm*> members{pin};
    for (IDPInstTerm* member : pin->beginMember())
        if (member) members.push_back(member);
    for (IDPInstTerm* member : members) {
        if (IDPConn* conn = member->dpConn())
            for (IDTInstance* dt : conn->beginAssociatedDTInstance())
                if (dt) found[member].push_back(dt);
        // Kept on the pin when its last connection was deleted: they go with the pin's new one too.
        for (IDTInstance* dt : member->beginAssociatedDTInstance())
            if (dt) found[member].push_back(dt);
    }
    if (found.empty() || m_grid.m_retain->KeepsTerminationsOnMove()) return found;
    const CString select = m_grid.JournalAssocText(row, "SelectTerminationCol", "Delete");
    for (const auto& [member, dts] : found)
        for (IDTInstance* dt : dts)
            transaction->removeDTInstance(dt);
    if (!select.IsEmpty()) {
        KXJournalLines lines(m_grid.JournalHandle());
        lines.Pane("Delete").End();
        m_grid.m_pendingJournal += select + lines.Text();
    }
    return {};
}

bool KXPinGridPairConnect::DropLegTerminations(CTransaction* transaction, ROWCOL row) {
    if (m_grid.m_retain->KeepsTerminationsOnMove()) return false;
    std::list<CInstTermBitContext> legs;
    m_grid.GetRowBitContexts(row, legs);
    return m_grid.m_disconnect->DeleteTerminationsOnBits(transaction, legs);
}

BOOL CKXInstanceDetailsGridWnd::CanRemoveDiffPair() {
    bool any = false;
    for (ROWCOL row : SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row)) continue;
        if (!IsDiffPairRow(row)) return FALSE;
        if (GetRowDPInstTerm(row)) any = true;
    }
    return any ? TRUE : FALSE;
}

BOOL CKXInstanceDetailsGridWnd::RemoveDiffPair() {
    std::vector<IDPInstTerm*> pins;
    std::vector<ROWCOL> journalRows;
    std::set<IDPInstTerm*> seen;
    for (ROWCOL row : SelectedPinRows()) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row) || !IsDiffPairRow(row)) continue;
        IDPInstTerm* pin = GetRowDPInstTerm(row);
        // A bit of a vector pair stands for the whole pair.
        while (pin && pin->parent())
            pin = pin->parent();
        if (!pin || !seen.insert(pin).second) continue;
        bool connected = pin->dpConn() != nullptr;
        for (IDPInstTerm* member : pin->beginMember())
            if (member && member->dpConn()) connected = true;
        if (connected) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-155", CKXGenUtils::GetDiffPairName(pin).GetString());
            return FALSE;
        }
        pins.push_back(pin);
        journalRows.push_back(row);
    }
    if (pins.empty()) return FALSE;
    CString journal;
    for (ROWCOL row : journalRows)
        journal += JournalRowText(row, "Remove DiffPair Pin", "RemoveDiffPairPin", CString(), false);
    CKXPinConnEdit edit(*this, m_designContext, "Remove Differential Pair");
    if (!edit) return FALSE;
    for (IDPInstTerm* pin : pins) {
        m_pairEdits->DeleteDiffPairTerminations(
            pin); // those a deleted connection left on it go with the pair
        if (!edit.Transaction()->removeDPInstTerm(pin, 0)) return FALSE;
    }
    if (!edit.Commit()) return FALSE;
    WriteJournal(journal);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The second leg of a pair

int CKXInstanceDetailsGridWnd::AutoConnectDiffPairLegs(CTransaction* transaction, IInstTerm* pin, int msb,
                                                       int lsb) {
    if (!transaction || !pin) return 0;
    // The project is asked at the first bit that is a pair leg: most pins are none.
    std::optional<bool> asked;
    int added = 0;
    for (int b = std::min(msb, lsb); b <= std::max(msb, lsb); ++b) {
        const CInstTermBit leg(pin, b);
        if (KXOtherLeg(leg).isNull()) continue;
        if (!asked) asked = KXAutoConnectDpLegAsked();
        if (!*asked) return 0;
        if (KXConnectOtherLeg(*transaction, leg)) ++added;
    }
    return added;
}
