// The cells of a differential pair's rows that say more than a value: the leg's polarity, the SIGNAL
// cell of a pair's row (the pair net's name, or what its legs are on when they are not on one pair
// net), and the bit rows of a vector written from one net.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridScopes.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

using kxpingrid::Col;
using kxpingrid::EmptyStaticCell;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;
using kxpingrid::PairNetLane;

namespace {

constexpr int kNonInverting = 1;
constexpr int kInverting = -1;

// Whether a pin bit's net bit is one of the pair net's two legs.
bool IsOnPairNet(const CNetBit& at, const PairNetLane& lane) {
    if (!at) return false;
    for (const CNetBit& leg : kxpingrid::PairNetLegs(lane))
        if (leg.net() == at.net() && leg.bit() == at.bit()) return true;
    return false;
}

// The pair net as the pair's row names it: a lane's bit of it, the bits a vector pair's connection
// takes of it (some lanes of a wider pair net), or the pair net as a whole.
CString PairNetName(const IDPInstTerm* pair) {
    const PairNetLane lane = kxpingrid::PairNetOf(pair);
    if (!lane.net) return CString();
    if (lane.bit >= 0) return CSchemaUtilities::vectorName(lane.net->name(), lane.bit);
    const CDPConnLane at = pair->connLane();
    if (at.lane < 0 && at.conn && at.conn->netMsb() >= 0 && lane.net->msb() >= 0)
        return CSchemaUtilities::vectorName(lane.net->name(), at.conn->netMsb(), at.conn->netLsb());
    return CKXGenUtils::GetDiffPairName(lane.net);
}

// A vector pair whose lanes are each joined on their own (a lane parted and joined again): the range
// of the one pair net its lanes make, lane by lane in the pin's bit order; empty when they make none.
CString LanesPairNetName(IDPInstTerm* pair) {
    const std::vector<IDPInstTerm*> lanes = kxpingrid::PairTerms(pair);
    if (lanes.size() < 2 || pair->msb() < 0) return CString();
    const IDPNet* net = nullptr;
    std::map<int, int> netBitAt; // lanes from the pin's msb -> the net bit each is on
    for (IDPInstTerm* lane : lanes) {
        const kxpingrid::PairNetLane at = kxpingrid::PairNetOf(lane);
        if (!at.net || at.bit < 0 || (net && at.net != net)) return CString();
        net = at.net;
        netBitAt[std::abs(lane->positiveBit() - pair->msb())] = at.bit;
    }
    const auto msbLane = netBitAt.find(0), nextLane = netBitAt.find(1);
    if (msbLane == netBitAt.end() || nextLane == netBitAt.end()) return CString();
    const int first = msbLane->second, step = nextLane->second - first;
    if (step != 1 && step != -1) return CString();
    for (const auto& [fromMsb, bit] : netBitAt)
        if (bit != first + step * fromMsb) return CString();
    return CSchemaUtilities::vectorName(net->name(), first, first + step * netBitAt.rbegin()->first);
}

} // namespace

namespace kxpingrid {

std::array<CNetBit, 2> PairNetLegs(const PairNetLane& lane) {
    if (!lane.net) return {};
    const auto legBit = [&lane](int bit) { return lane.bit >= 0 && bit < 0 ? lane.bit : bit; };
    return {CNetBit(lane.net->positive(), legBit(lane.net->positiveBit())),
            CNetBit(lane.net->negative(), legBit(lane.net->negativeBit()))};
}

PairNetLane PairNetOf(const IDPInstTerm* pair) {
    const CDPConnLane at = pair ? pair->connLane() : CDPConnLane();
    const IDPConn* conn = at.conn;
    const IDPNet* net = conn ? conn->dpNet() : nullptr;
    if (!net) return {};
    // A scalar pair pin on one lane of a pair over two whole buses is on that lane's bit.
    if (at.lane < 0 && conn->netMsb() >= 0 && conn->netMsb() == conn->netLsb() && net->msb() >= 0)
        return {net, conn->netMsb()};
    if (at.lane < 0) return {net, -1};
    // A lane of a vector pair: the vector pair's connection, as many bits from its first net bit as
    // the lane is from its first pin bit.
    const IDPInstTerm* whole = conn->dpInstTerm();
    const int pinFirst = conn->instTermMsb() >= 0 ? conn->instTermMsb() : whole->msb();
    const int pinLast = conn->instTermMsb() >= 0 ? conn->instTermLsb() : whole->lsb();
    const int netFirst = conn->netMsb() >= 0 ? conn->netMsb() : net->msb();
    const int netLast = conn->netMsb() >= 0 ? conn->netLsb() : net->lsb();
    const int bit = at.lane;
    if (pinFirst < 0 || netFirst < 0 || bit < std::min(pinFirst, pinLast) || bit > std::max(pinFirst, pinLast))
        return {}; // a lane the connection leaves out
    const int steps = std::abs(bit - pinFirst);
    return {net, netFirst >= netLast ? netFirst - steps : netFirst + steps};
}

} // namespace kxpingrid

void KXPinGridSignalCells::SetPolarityCell(ROWCOL row, int polarity) {
    const char* tip = polarity == kNonInverting ? "Non Inverting"
                      : polarity == kInverting  ? "Inverting"
                                                : "Polarity not defined";
    const UINT control = polarity == kNonInverting ? IDS_UA_DIFFPAIR_POSITIVE
                         : polarity == kInverting  ? IDS_UA_DIFFPAIR_NEGATIVE
                                                   : IDS_CTRL_STATIC_TEXT;
    kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
    CGXStyle name;
    name.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPinName)), name, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle pair;
    pair.SetControl(Id(control));
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColDiffPair)), pair, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::FillDiffPairLegRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level) {
    m_nFillMode = 0;
    FillPinRow(pin, row, bit, level);
    m_nFillMode = 2; // a child fill always ends in the ordinary mode
    SetCellUserAttribute(row, Col(m_nColPinName), IDS_UA_PARENT_DIFFPAIR, 1);
    const IDPInstTerm* pair = pin ? GetDiffPairInstTerm(pin, bit) : nullptr;
    const int polarity = !pair                         ? 0
                         : pair->positive() == pin     ? kNonInverting
                         : pair->negative() == pin     ? kInverting
                                                       : 0;
    m_signalCells->SetPolarityCell(row, polarity);
    StylePropertyCells(pin, static_cast<int>(row), static_cast<int>(row));
}

void KXPinGridSignalCells::FillDiffPairColumn(const std::vector<IDPConn*>& conns, BOOL) {
    // Added and deleted pair connections alike: each pair's row is written from the design as it is
    // now (a pair without its connection shows what its legs are on).
    std::set<int> pairs;
    for (IDPConn* c : conns)
        if (c && c->dpInstTerm() && c->dpInstTerm()->id()) pairs.insert(static_cast<int>(c->dpInstTerm()->id()));
    kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
    for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid.GetRowCount() && !pairs.empty(); ++r)
        if (pairs.erase(m_grid.GetRowDiffPairConnId(r)) != 0) FillDiffPairSignalCells(r, 1);
}

PairNetLane KXPinGridSignalCells::LegPairNet(ROWCOL leg) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(leg, msb, lsb);
    if (!pin) return {};
    const PairNetLane lane = kxpingrid::PairNetOf(m_grid.GetDiffPairInstTerm(pin, lsb));
    return IsOnPairNet(pin->netBit(lsb), lane) ? lane : PairNetLane{};
}

void KXPinGridSignalCells::FillDiffPairSignalCells(ROWCOL row, int recurse) {
    CString base;
    int msb = -1, lsb = -1;
    const PinRowKind kind = m_grid.GetRowKind(row, base, msb, lsb);
    const ROWCOL count = m_grid.GetRowCount();
    auto isChild = [&](ROWCOL r) {
        if (r > count) return false;
        const PinRowKind k = m_grid.GetRowKind(r, base, msb, lsb);
        return k == PIN_ROW_DIFFPAIR_LEG || (kind == PIN_ROW_VECTOR_DIFFPAIR && k == PIN_ROW_DIFFPAIR_CHILD);
    };
    // One entry per leg, in row order, so that an open leg keeps its place: "SYSCLK_P," is a pair
    // whose negative leg is open, and reads back (typed into the cell) as the same two legs.
    CString joined;
    bool anyLeg = false;
    bool mixed = false;
    const auto addLeg = [&](const CString& text) {
        if (anyLeg) joined += ",";
        joined += text;
        anyLeg = true;
    };
    for (ROWCOL r = row + 1; isChild(r);) {
        if (m_grid.IsDiffPairRow(r)) { // a lane of a vector pair: its own legs follow it
            if (recurse == 1) FillDiffPairSignalCells(r, 1);
            ++r;
            continue;
        }
        // The two legs of one pair: on the two legs of one pair net (of one lane of it), or the row
        // shows them.
        const ROWCOL second = isChild(r + 1) && !m_grid.IsDiffPairRow(r + 1) ? r + 1 : 0;
        const CString firstText = m_grid.GetValueRowCol(r, Col(m_grid.m_nColSignal));
        const CString secondText =
            second ? m_grid.GetValueRowCol(second, Col(m_grid.m_nColSignal)) : CString();
        addLeg(firstText);
        addLeg(secondText);
        const PairNetLane firstNet = LegPairNet(r);
        if (firstText.IsEmpty() || secondText.IsEmpty() || firstText.CompareNoCase(secondText) == 0 ||
            !firstNet.net || !second || !(LegPairNet(second) == firstNet))
            mixed = true;
        r = second ? second + 1 : r + 1;
    }
    if (joined.SpanIncluding(",").GetLength() == joined.GetLength()) joined.Empty(); // no leg on a net
    if (mixed) {
        WritePairSignalCell(row, joined);
        return;
    }
    if (IDPInstTerm* pair = m_grid.GetRowDPInstTerm(row)) {
        CString name = PairNetName(pair);
        // A folded vector pair shows what its lanes hold: the range they make of one pair net, else
        // their legs.
        if (name.IsEmpty() && kind == PIN_ROW_VECTOR_DIFFPAIR) name = LanesPairNetName(pair);
        if (name.IsEmpty() && kind == PIN_ROW_VECTOR_DIFFPAIR) name = joined;
        WritePairSignalCell(row, PairNameAsShown(row, name));
    }
    else if (m_grid.GetRowParentOffset(row) == GX_INVALID)
        WritePairSignalCell(row, joined);
}

CString KXPinGridSignalCells::PairNameAsShown(ROWCOL row, const CString& name) {
    // While the user types into the cell, a name that differs only in letter case keeps the typed case.
    ROWCOL currentRow = 0, currentCol = 0;
    if (!m_grid.GetCurrentCell(currentRow, currentCol) || currentRow != row ||
        currentCol != Col(m_grid.m_nColSignal))
        return name;
    CGXControl* control = m_grid.GetCurrentCellControl();
    if (!control || !control->IsActive()) return name;
    CString shown;
    control->GetCurrentText(shown);
    return shown.CompareNoCase(name) == 0 ? shown : name;
}

void KXPinGridSignalCells::FillVectorBitCell(ROWCOL row, const CString& netName, int netId, int first,
                                             int last, BOOL bNameOnly) {
    const int step = first <= last ? 1 : -1;
    const char* bitFormat = CSchemaUtilities::getVectorDisplayFormat() ? "%s[%d]" : "%s<%d>";
    ROWCOL r = row;
    for (int bit = first;; bit += step) {
        if (++r > m_grid.GetRowCount()) break;
        m_grid.SetCellUserAttribute(r, Col(m_grid.m_nColPinName), IDS_UA_VECTOR_PIN_BIT,
                                    static_cast<double>(row));
        CString text = netName;
        if (!bNameOnly) text.Format(bitFormat, netName.GetString(), bit);
        m_grid.ApplySignalCellStyle(r, text, netId, 0, TRUE);
        FillBitTerminationCell(r, bNameOnly);
        if (bit == last) break;
    }
}

void KXPinGridSignalCells::FillBitTerminationCell(ROWCOL row, BOOL bNameOnly) {
    kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
    if (bNameOnly) {
        m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColTermination)), EmptyStaticCell(), gxOverride, 0,
                             kNoUpdate, gxDo);
        return;
    }
    CGXStyle term;
    term.SetWrapText(FALSE);
    term.SetUserAttribute(Id(IDS_UA_ROW_LEVEL), "1");
    term.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColTermination)), term, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.StyleAssocCompCells(row, 0);
}

void CKXInstanceDetailsGridWnd::FillTerminationCell(ROWCOL row) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || !IsDiffPairRow(row)) return;
    IDPInstTerm* pair = GetRowDPInstTerm(row);
    if (!pair) return;
    const CString level = RowChildLevel(row);
    CGXStyle term;
    term.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
    term.SetUserAttribute(Id(IDS_UA_CHILD_LEVEL), level);
    const CInstanceContext inst = GetRowInstance(row);
    if (inst && inst.containedDesign()) {
        // A block's pairs take no termination.
        term.SetValue("").SetEnabled(FALSE).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "");
    } else {
        // A vector pair pin shows the termination its lanes share; lanes that differ show none.
        CKXAssocCompAPI* api = GetAssocCompAPI();
        api->setDesignContext(MasterDesign());
        CString type, tip;
        bool first = true;
        for (IDPInstTerm* lane : kxpingrid::PairTerms(pair)) {
            api->setDPInstTermBit(lane);
            const CString laneType = api->getAppliedAssocCompType(CKXAssocCompAPI::TERMINATION);
            if (first) {
                type = laneType;
                if (!type.IsEmpty()) tip = api->getDisplayText(CKXAssocCompAPI::TERMINATION);
                first = false;
            } else if (laneType.CompareNoCase(type) != 0) {
                type.Empty();
                tip.Empty();
                break;
            }
        }
        term.SetValue(type).SetEnabled(TRUE).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    }
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), term, gxOverride, 0, kNoUpdate, gxDo);
    // A vector pair shows a termination only when all its member pairs have the same one.
    const ROWCOL parent = GetRowParentOffset(row);
    if (parent != GX_INVALID && IsDiffPairRow(parent) &&
        GetValueRowCol(parent, Col(m_nColTermination)).CompareNoCase(term.GetValue()) != 0) {
        CGXStyle cleared;
        cleared.SetValue("");
        SetStyleRange(CGXRange(parent, Col(m_nColTermination)), cleared, gxOverride, 0, kNoUpdate, gxDo);
    }
}
