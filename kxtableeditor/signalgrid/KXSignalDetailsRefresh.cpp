// Keeping the signal grid in step with the design: after every committed
// transaction the rows the transaction touched are rewritten, and after the
// grid's own connect the rows of the pin's old connections follow.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "grid/KXChangeDigest.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

using namespace kxsignal;

namespace {

CGXStyle PlainCell(const CString& text) {
    CGXStyle style;
    style.SetValue(text).SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    return style;
}

bool DiffersNoCase(const char* a, const char* b) {
    return CString(a ? a : "").CompareNoCase(b ? b : "") != 0;
}

} // namespace

LRESULT CKXSignalDetailsGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!transaction || !m_designContext) return 0;
    const KXChangeDigest digest(*transaction);
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    UpdateLockScope lock(*this);
    digest.Dispatch(*this);
    return 0;
}

void CKXSignalDetailsGridWnd::OnInstanceChange(const IChange& change, IInstance& instance) {
    if ((change.kind() == rmx::ChangeKind::PowerPinTied || change.kind() == rmx::ChangeKind::PowerPinReleased) &&
        IsSameDesign(change.design()))
        m_powerPinInstances.insert(instance.id());
}

void CKXSignalDetailsGridWnd::OnDigestEnd(const KXChangeDigest&) {
    if (!m_followedPins.empty()) {
        const std::vector<std::pair<IInstTerm*, INet*>> pins = std::move(m_followedPins);
        m_followedPins.clear();
        m_followedKeys.clear();
        const KXShownBits shownBits = ShownBitsByNet();
        const KXShownNets shownNames = ShownNetsByName();
        for (const auto& [pin, net] : pins)
            FollowPinOnNet(*pin, *net, shownBits, shownNames);
    }
    if (m_bPupdCellsStale) {
        m_bPupdCellsStale = false;
        RefreshPupdCells();
    }
    if (!m_powerPinInstances.empty()) {
        const std::set<unsigned> instances = std::move(m_powerPinInstances);
        m_powerPinInstances.clear();
        RefreshRows(instances);
    }
    if (!m_bCustomCellsStale) return;
    // One pass for the whole transaction, however many values it changed.
    m_bCustomCellsStale = false;
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
        if (!CellText(row, m_nColInstance).IsEmpty()) FillCustomCells(row);
}

void CKXSignalDetailsGridWnd::OnDigestBegin(const KXChangeDigest& digest) {
    m_bTerminationsRefreshed = false;
    m_bCustomCellsStale = false;
    m_powerPinInstances.clear();
    m_bPupdCellsStale = false;
    m_followedPins.clear();
    m_followedKeys.clear();
    // This grid's own edit rewrote its rows already; a change made by any other window, and
    // the undo or redo of any change (which records no cell changes), reaches the rows here.
    m_bFollowConnections = CKXTransaction::GetGrid() != this && digest.TouchesAny({'C', 'I'});
}

void CKXSignalDetailsGridWnd::OnComponentChange(const IChange& change, IDTInstance& component) {
    if (!IsSameDesign(change.design())) return;
    // Pull-ups: every row once when the digest ends, however many of them the transaction changed.
    if (component.assocKind() == IDTInstance::ePullUpDown) {
        m_bPupdCellsStale = true;
        return;
    }
    // Terminations: every row once, however many changes the transaction holds.
    if (m_bTerminationsRefreshed) return;
    m_bTerminationsRefreshed = true;
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
        SetBitsConnectedRow(row, Col(m_nColTermination));
}

void CKXSignalDetailsGridWnd::OnPropertyChange(const IChange&, CPropertyChange& property) {
    // A first value and a cleared one are shown as well as a changed one.
    if (!DiffersNoCase(property.oldValue(), property.newValue())) return;
    const CString name = property.name();
    if (Columns().PropertyColumns().count(name)) m_bCustomCellsStale = true;
    if (name.CompareNoCase("SEC") == 0 || name.CompareNoCase("PN") == 0) UpdatePinNumberCell();
    if (name.CompareNoCase("LOCATION") == 0)
        UpdateLocationCell();
    else if (name.CompareNoCase("PHYS_NET_NAME") == 0)
        FillNetNameCells(static_cast<unsigned>(-1));
}

void CKXSignalDetailsGridWnd::OnTermChange(const IChange& change, ITerm& term) {
    auto* pin = dynamic_cast<IInstTerm*>(&term);
    if (!pin || !pin->instance() || !IsSameDesign(change.design())) return;
    if (change.kind() == 3 || change.kind() == 10) UpdateInstTermCell(pin->instance()->id(), pin->id());
    if (change.kind() == 8) UpdatePinTypeCell(pin->instance()->id(), pin->id());
}

void CKXSignalDetailsGridWnd::OnConnChange(const IChange& change, CConn& conn) {
    if (!m_bFollowConnections || !IsSameDesign(change.design())) return;
    if (change.kind() == 1 || change.kind() == 2) FollowLater(conn);
    if (change.kind() != 17) return;
    CConn *removed1 = nullptr, *removed2 = nullptr, *added1 = nullptr, *added2 = nullptr;
    if (!change.getConns(removed1, removed2, added1, added2)) return;
    for (CConn* c : {removed1, removed2, added1, added2})
        if (c) FollowLater(*c);
}

void CKXSignalDetailsGridWnd::FollowLater(const CConn& conn) {
    IInstTerm* pin = conn.instTerm();
    INet* net = conn.net();
    if (pin && net && m_followedKeys.emplace(pin->id(), net->id()).second) m_followedPins.emplace_back(pin, net);
}

namespace {

// The pin bit of a connection on one of its net bits.
int PinBitOnNetBit(const CConn& conn, int netBit) {
    const int k = conn.netLsb() >= conn.netMsb() ? netBit - conn.netMsb() : conn.netMsb() - netBit;
    return conn.instTermLsb() >= conn.instTermMsb() ? conn.instTermMsb() + k : conn.instTermMsb() - k;
}

bool CoversNetBit(const CConn& conn, int netBit) {
    return netBit >= std::min(conn.netMsb(), conn.netLsb()) && netBit <= std::max(conn.netMsb(), conn.netLsb());
}

} // namespace

void CKXSignalDetailsGridWnd::FollowPinOnNet(IInstTerm& pin, INet& net, const KXShownBits& shownBits,
                                             const KXShownNets& shownNames) {
    const auto shown = shownBits.find(&net);
    IInstance* inst = pin.instance();
    if (shown == shownBits.end() || !inst) return;
    // What a grid loaded now shows of the pin on the net: each connection, or in net-bit mode the pin
    // bit on each shown bit.
    std::vector<CConn> parts;
    if (pin.isAlive() && inst->isAlive() && CString(inst->name()).Find('^') < 0) {
        for (const CConn& conn : pin.beginConn()) {
            if (conn.net() != &net) continue;
            if (!m_bNetBitMode || conn.netMsb() < 0) {
                parts.push_back(conn);
                continue;
            }
            for (int bit : shown->second)
                if (bit >= 0 && CoversNetBit(conn, bit))
                    parts.emplace_back(&net, bit, &pin, conn.instTermMsb() < 0 ? -1 : PinBitOnNetBit(conn, bit));
        }
    }
    std::vector<ROWCOL> rows;
    for (ROWCOL r : PinRows(pin.id()))
        if (GetRowInstanceId(r) == static_cast<int>(inst->id()) && NetOfRow(r, shownNames).net() == &net)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    // Rows that show a part still connected stay as they are.
    std::map<std::array<int, 4>, std::vector<size_t>> partsByBits;
    for (size_t i = 0; i < parts.size(); ++i)
        partsByBits[{parts[i].instTermMsb(), parts[i].instTermLsb(), parts[i].netMsb(), parts[i].netLsb()}].push_back(i);
    std::vector<bool> shownAlready(parts.size(), false);
    std::vector<ROWCOL> spare;
    for (ROWCOL r : rows) {
        int start = -1, end = -1;
        if (!ParseInt(CellText(r, m_nColStartBit), start)) start = -1;
        if (!ParseInt(CellText(r, m_nColEndBit), end)) end = -1;
        const auto it = partsByBits.find({RowAttr(r, m_nColPinName, kAttrConnMsb, -1),
                                          RowAttr(r, m_nColPinName, kAttrConnLsb, -1), start, end});
        if (it == partsByBits.end() || it->second.empty()) {
            spare.push_back(r);
            continue;
        }
        shownAlready[it->second.back()] = true;
        it->second.pop_back();
    }
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    GridWriteScope unlock(*this);
    ROWCOL below = rows.empty() ? 0 : rows.back();
    size_t reused = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (shownAlready[i]) continue;
        ROWCOL at = 0;
        if (reused < spare.size()) {
            at = spare[reused++];
        } else if (below) {
            // The parts of one pin stay together, in the pin's order.
            at = below + 1;
            InsertDataRows(at, 1);
            below = at;
        } else {
            at = TakeBlankRow();
        }
        RestyleRow(at);
        FillConnectionRow(at, parts[i]);
        KeepRowToFilter(at);
    }
    // Rows were inserted only when no spare row was left over: the rows that go lie above them all.
    for (auto it = spare.rbegin(); it != spare.rend() - static_cast<std::ptrdiff_t>(reused); ++it)
        RemoveDataRows(*it, *it);
}

void CKXSignalDetailsGridWnd::KeepRowToFilter(ROWCOL row) {
    const bool rejects = FilterRejects(row);
    if ((IsRowHidden(row) != FALSE) != rejects) HideRows(row, row, rejects ? TRUE : FALSE, nullptr, kNoUpdate, gxDo);
}

void CKXSignalDetailsGridWnd::UpdatePinNumberCell() {
    GridWriteScope scope(*this);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
        if (!pin) continue;
        const CInstTermContext context = m_designContext.instance(pin->instance()).instTerm(pin);
        WriteCell(row, m_nColPinNumber, CGXStyle().SetValue(CKXGenUtils::GetPNProp(context, msb, lsb)));
    }
}

void CKXSignalDetailsGridWnd::UpdateLocationCell() {
    GridWriteScope scope(*this);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row) {
        int msb = -1, lsb = -1;
        if (IInstTerm* pin = GetInstTermOfRow(row, msb, lsb))
            WriteCell(row, m_nColLocation, CGXStyle().SetValue(CKXGenUtils::GetLocationProp(pin->instance())));
    }
}

namespace {
// The pin a row of the pin shows, when the row is one of that instance's.
IInstTerm* PinOfRow(CKXSignalDetailsGridWnd& grid, ROWCOL row, unsigned instanceId, unsigned pinId) {
    if (grid.GetRowInstanceId(row) != static_cast<int>(instanceId)) return nullptr;
    IInstance* inst = grid.FindRowInstance(row);
    return inst ? inst->findInstTerm(pinId) : nullptr;
}
} // namespace

void CKXSignalDetailsGridWnd::UpdateInstTermCell(unsigned instanceId, unsigned pinId) {
    GridWriteScope scope(*this);
    for (ROWCOL row : PinRows(pinId)) {
        IInstTerm* pin = PinOfRow(*this, row, instanceId, pinId);
        if (!pin) continue;
        CGXStyle style;
        style.SetValue(pin->name()).SetWrapText(FALSE);
        style.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), static_cast<int>(pinId))
            .SetUserAttribute(Id(IDS_UA_CONN_MSB), pin->msb())
            .SetUserAttribute(Id(IDS_UA_CONN_LSB), pin->lsb());
        WriteCell(row, m_nColPinName, style);
    }
}

void CKXSignalDetailsGridWnd::UpdatePinTypeCell(unsigned instanceId, unsigned pinId) {
    GridWriteScope scope(*this);
    for (ROWCOL row : PinRows(pinId)) {
        IInstTerm* pin = PinOfRow(*this, row, instanceId, pinId);
        if (!pin) continue;
        CGXStyle style = PlainCell(CKXGenUtils::GetPinType(pin));
        style.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
        WriteCell(row, m_nColPinType, style);
    }
}

void CKXSignalDetailsGridWnd::RefreshPupdCells() {
    const ROWCOL last = GetRowCount();
    const KXShownNets shown = ShownNetsByName();
    for (ROWCOL row = kFirstDataRow; row <= last; ++row) {
        const CNetContext net = NetOfRow(row, shown);
        if (!net) continue;
        if (net->isScalar()) {
            UpdatePupdCellOfNet(row, net, -1, -1);
            continue;
        }
        int start = 0, end = 0;
        if (!ParseInt(CellText(row, m_nColStartBit), start) || !ParseInt(CellText(row, m_nColEndBit), end)) continue;
        if (start == end)
            UpdatePupdCellOfNet(row, net, start, end);
        else
            SetPupdCellStyle(row, false, false, false, false); // several bits: no one mark fits them
    }
}

void CKXSignalDetailsGridWnd::UpdatePupdCellOfRow(ROWCOL row, int firstBit, int secondBit) {
    UpdatePupdCellOfNet(row, GetNetOfRow(row), firstBit, secondBit);
}

void CKXSignalDetailsGridWnd::UpdatePupdCellOfNet(ROWCOL row, const CNetContext& net, int firstBit, int secondBit) {
    if (!net) return;
    int bit = -1;
    if (!net->isScalar()) {
        if (firstBit != secondBit) return;
        bit = firstBit;
    }
    StylePupdCell(row, net.bitContext(bit));
}

ROWCOL CKXSignalDetailsGridWnd::UpdateRowAfterConnect(ROWCOL row, const CInstanceContext& instance, IInstTerm* pin,
                                                      const std::vector<std::unique_ptr<CKXPinData>>& records) {
    IInstance* inst = instance.instance();
    if (!inst || !pin) return row;
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    std::set<ROWCOL> gone;
    for (const auto& record : records) {
        if (record->m_nKind == CKXPinData::Kept) {
            const CString name = pin->isScalar() ? CString(pin->name())
                                 : record->m_nInstTermMsb == record->m_nInstTermLsb
                                     ? CSchemaUtilities::vectorName(pin->name(), record->m_nInstTermMsb)
                                     : CSchemaUtilities::vectorName(pin->name(), record->m_nInstTermMsb, record->m_nInstTermLsb);
            InsertDataRows(row + 1, 1);
            RestyleRow(row + 1);
            // Rows below the inserted one move down by one.
            std::set<ROWCOL> moved;
            for (ROWCOL r : gone)
                moved.insert(r > row ? r + 1 : r);
            gone = std::move(moved);
            GridWriteScope scope(*this);
            const ROWCOL at = row + 1;
            WriteNetNameCells(at, record->m_pNet, record->m_nNetLsb, record->m_pNet->name(),
                              PhysicalNetName(record->m_pNet, record->m_nNetMsb, record->m_nNetLsb));
            WriteCell(at, m_nColStartBit, PlainCell(Decimal(record->m_nNetMsb)));
            WriteCell(at, m_nColEndBit, PlainCell(Decimal(record->m_nNetLsb)));
            WriteCell(at, m_nColCell, PlainCell(inst->cellName()));
            SetCellWithEllipsis(at, inst->name(), static_cast<int>(inst->id()));
            WriteCell(at, m_nColLocation, PlainCell(CKXGenUtils::GetLocationProp(inst)));
            CGXStyle pinName = PlainCell(name);
            pinName.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), static_cast<int>(pin->id()))
                .SetUserAttribute(Id(IDS_UA_CONN_MSB), record->m_nInstTermMsb)
                .SetUserAttribute(Id(IDS_UA_CONN_LSB), record->m_nInstTermLsb);
            WriteCell(at, m_nColPinName, pinName);
            IndexPinRow(pin->id(), at);
            WriteCell(at, m_nColPinNumber,
                      PlainCell(CKXGenUtils::GetPNProp(instance.instTerm(pin), record->m_nInstTermMsb, record->m_nInstTermLsb)));
            WriteCell(at, m_nColPinType, PlainCell(CKXGenUtils::GetPinType(pin)));
            continue;
        }
        for (ROWCOL r : PinRows(pin->id())) {
            if (r == row || GetRowInstanceId(r) != static_cast<int>(inst->id())) continue;
            const int rowMsb = RowAttr(r, m_nColPinName, kAttrConnMsb, -1);
            const int rowLsb = RowAttr(r, m_nColPinName, kAttrConnLsb, -1);
            if (record->m_nInstTermMsb <= rowMsb && record->m_nInstTermLsb >= rowLsb) gone.insert(r);
        }
    }
    GridWriteScope unlock(*this);
    // The connected row moves up by one for each row removed above it.
    ROWCOL connected = row;
    for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
        RemoveDataRows(*it, *it);
        if (*it < row) --connected;
    }
    return connected;
}

void CKXSignalDetailsGridWnd::RefreshInstanceNameCells(IInstance* instance) {
    if (!instance) return;
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    UpdateLockScope lock(*this);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
        if (GetRowInstanceId(row) == static_cast<int>(instance->id()))
            SetCellWithEllipsis(row, instance->name(), static_cast<int>(instance->id()));
}
