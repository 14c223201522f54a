// Keeping the pin grid in step with the design: reloading shown instances,
// and the refresh after a committed transaction, which rewrites only the rows
// and cells that the transaction's changes reach.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"
#include "grid/KXDiffPairLegs.h"
#include "grid/KXGridSite.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "rmx/packaging.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <set>

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;
using kxpingrid::UpdateLockScope;

namespace {

// The row key of a pin's bit (-1: the pin as a whole).
std::uint64_t Key(unsigned id, int bit) {
    return KXRowKey::PinBit(id, bit);
}

// Pin bits (a lower, b upper end) and net bits (c, d) of a connection, as the refresh reads them.
struct ConnEnds {
    int a, b, c, d;
    explicit ConnEnds(const CConn& conn)
        : a(conn.instTermLsb()), b(conn.instTermMsb()), c(conn.netLsb()), d(conn.netMsb()) {}
};

} // namespace

bool CKXInstanceDetailsGridWnd::IsSameDesign(const IDesign* design) const {
    const IDesign* mine = m_designContext.design();
    return design && mine && std::string(design->name()) == mine->name();
}

bool CKXInstanceDetailsGridWnd::IsShownInstance(const IInstance* instance) const {
    if (!instance || !m_designContext) return false;
    const unsigned id = instance->id();
    if (std::find(m_arrInstanceIds.begin(), m_arrInstanceIds.end(), id) == m_arrInstanceIds.end())
        return false;
    return m_designContext.design()->findInstance(id) != nullptr;
}

// ---------------------------------------------------------------------------
// Reloading instances

BOOL CKXInstanceDetailsGridWnd::ReloadInstanceRows(CDesignContext design, const std::vector<UINT>& arrInstances,
                                                   BOOL bNoSort) {
    m_bMultipleObjects = 1;
    if (arrInstances.size() > 1) m_bMultipleInstances = 1;
    const BOOL bWasLocked = IsLockUpdate();
    if (!bWasLocked) LockUpdate(TRUE);
    for (UINT index : arrInstances) {
        const CInstanceContext inst = design.instance(index);
        if (inst) LoadComponentPins(design, inst, FALSE);
    }
    FillPupdColumn({});
    {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        if (!bNoSort) {
            m_nSortCol = -1;
            SortColumn(m_nColPinName);
        }
    }
    ReapplyFilters();
    {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        SetTopRow(PIN_FIRST_ROW <= GetRowCount() ? PIN_FIRST_ROW : 1, kNoUpdate, TRUE);
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(kNoUpdate, TRUE);
    }
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::RefreshInstances(const std::vector<IInstance*>* pInstances) {
    std::set<UINT> wanted;
    if (pInstances) {
        for (const IInstance* inst : *pInstances)
            if (inst) wanted.insert(inst->id());
    } else {
        wanted.insert(m_arrInstanceIds.begin(), m_arrInstanceIds.end());
    }
    const bool shown = std::any_of(m_arrInstanceIds.begin(), m_arrInstanceIds.end(),
                                   [&wanted](UINT id) { return wanted.count(id) != 0; });
    if (shown && m_designContext) {
        if (m_arrInstanceIds.size() == 1) {
            const UINT id = m_arrInstanceIds.front();
            m_arrInstanceIds.clear();
            const CInstanceContext inst = m_designContext.instance(id);
            if (inst && inst->isAlive()) {
                LoadComponentPins(m_designContext, inst, TRUE);
            } else if (GetRowCount() >= PIN_FIRST_ROW) {
                // The instance is gone: so are its rows.
                GridWriteScope unlocked(*this, GridWriteScope::kLock);
                RemoveRows(PIN_FIRST_ROW, GetRowCount(), kNoUpdate, gxDo);
            }
        } else {
            const std::vector<UINT> copy = m_arrInstanceIds;
            m_arrInstanceIds.clear();
            CGXGridParam* pParam = GetParam();
            const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
            if (pParam) pParam->SetLockReadOnly(FALSE);
            if (GetRowCount() >= PIN_FIRST_ROW) RemoveRows(PIN_FIRST_ROW, GetRowCount(), kNoUpdate, gxDo);
            if (pParam) pParam->SetLockReadOnly(bLock);
            ReloadInstanceRows(m_designContext, copy, TRUE);
        }
    }
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    if (GetSortColumn() >= 0) SortRows(GetSortColumn(), IsSortAscending());
    if (m_bExpandAll) RefreshCellControls(-1, TRUE);
    return TRUE;
}

LRESULT CKXInstanceDetailsGridWnd::OnInstanceChanged(WPARAM wParam, LPARAM) {
    if (!wParam) return 0;
    const std::vector<IInstance*> one{reinterpret_cast<IInstance*>(wParam)};
    RefreshInstances(&one);
    return 0;
}

// ---------------------------------------------------------------------------
// Cells rewritten by the refresh

void CKXInstanceDetailsGridWnd::SetConnectionCell(ROWCOL row, kxpingrid::ConnectionSum* childRows,
                                                  const CSchemaObjectIterator<CConn>* pinConns) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || IsDiffPairRow(row)) return;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    // An implicit power pin group has no pin of its own: it sums up its pins' rows.
    int group = 0;
    const bool powerGroup = !pin && IsImplicitPowerPinRow(row, &group) && group;
    if (!powerGroup && (!pin || msb == lsb)) return;
    const CString pinName = GetValueRowCol(row, Col(m_nColPinName));
    ConnectionSummary summary;
    // Only the first connection can cover the row's whole bit range.
    bool direct = false;
    if (pin) {
        const CSchemaObjectIterator<CConn> conns = pinConns ? *pinConns : pin->beginConn();
        auto first = conns.begin();
        direct = first != conns.end() && first->net() &&
                 std::min(first->instTermMsb(), first->instTermLsb()) == std::min(msb, lsb) &&
                 std::max(first->instTermMsb(), first->instTermLsb()) == std::max(msb, lsb);
        if (direct) {
            const CConn& conn = *first;
            summary.text = CSchemaUtilities::vectorName(conn.net()->name(), conn.netMsb(), conn.netLsb());
            summary.tip = pinName + ":" + summary.text;
            summary.netId = static_cast<int>(conn.net()->id());
        }
    }
    ROWCOL bitRows = 0;
    const bool foldedWide = !direct && !childRows && !powerGroup && IsWidePinRow(row, nullptr, &bitRows) &&
                            bitRows < static_cast<ROWCOL>(std::abs(pin->msb() - pin->lsb()) + 1);
    if (foldedWide) summary = SumWidePinBits(pin); // not every bit has a row to sum up
    else if (!direct) summary = childRows && !powerGroup ? childRows->Finish() : SummariseChildConnections(row, powerGroup);
    ApplySignalCellStyle(row, summary.text, summary.netId, summary.netId >= 0 ? 1 : 0, FALSE);
    const bool italic = IsImplicitPowerPinRow(row, nullptr) && row + 1 <= GetRowCount() &&
                        GetValueRowCol(row + 1, Col(m_nColPinName)) == summary.text;
    CGXStyle look;
    look.SetInterior(summary.text.IsEmpty() && summary.tip.IsEmpty() ? CGXBrush(RGB(255, 255, 255))
                                            : CGXBrush(kConnectionHatch, RGB(255, 255, 255), RGB(255, 255, 255)));
    look.SetFont(CGXFont().SetItalic(italic ? TRUE : FALSE));
    look.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), summary.tip);
    look.SetUserAttribute(Id(IDS_UA_CELLTIP_TITLE), "Connection Details");
    GridWriteScope scope(*this);
    SetStyleRange(CGXRange(row, Col(m_nColSignal)), look, gxOverride, 0, kNoUpdate, gxDo);
}

CKXInstanceDetailsGridWnd::ConnectionSummary CKXInstanceDetailsGridWnd::SummariseChildConnections(ROWCOL row,
                                                                                            bool powerGroup) {
    kxpingrid::ConnectionSum sum;
    // A power group's walk ends with its own pins: the next group's rows are of the same kinds.
    ROWCOL last = GetRowCount();
    int group = 0;
    if (IsImplicitPowerPinRow(row, &group) && group) {
        std::list<int> children;
        GetChildRows(row, children, TRUE);
        last = children.empty() ? row : static_cast<ROWCOL>(children.back());
    }
    for (ROWCOL r = row + 1; r <= last; ++r) {
        sum.Count();
        CString base;
        int msb = -1, lsb = -1;
        const PinRowKind kind = GetRowKind(r, base, msb, lsb);
        if (kind != PIN_ROW_PLUSMINUS_CHILD && kind != PIN_ROW_GROUP_2 && kind != PIN_ROW_PLUSMINUS_CHILD_2 &&
            kind != PIN_ROW_POWER_CHILD && kind != PIN_ROW_IMPLICIT_POWER)
            break;
        if (!powerGroup && GetRowParentOffset(r) != row) break; // the pin's own bit rows end here
        // (GetValueRowCol answers in one buffer of the grid's: each text is copied before the next read.)
        const CString pinName = GetValueRowCol(r, Col(m_nColPinName));
        const CString signal = GetValueRowCol(r, Col(m_nColSignal));
        sum.Add(pinName, signal);
    }
    return sum.Finish();
}

void CKXInstanceDetailsGridWnd::ResetNoValueCell(ROWCOL row, BOOL bRedraw) {
    CGXStyle style;
    GetStyleRowCol(row, Col(m_nColPinName), style);
    if (!style.GetIncludeUserAttribute(Id(IDS_UA_VECTOR_GROUP))) return;
    const CString group = style.GetUserAttributeText(Id(IDS_UA_VECTOR_GROUP));
    CGXGridParam* pParam = GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    // The vector row's own bit rows follow it; the rows of later vectors are theirs.
    for (ROWCOL r = row + 1; r <= GetRowCount() && GetRowParentOffset(r) == row; ++r) {
        CGXStyle child;
        GetStyleRowCol(r, Col(m_nColPinName), child);
        if (!child.GetIncludeUserAttribute(Id(IDS_UA_PLUSMINUS_BIT))) continue;
        ApplySignalCellStyle(r, "", -1, 0, FALSE);
        SetStyleRange(CGXRange(r, Col(m_nColPinName)),
                      CGXStyle().SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1), gxOverride, 0, kNoUpdate,
                      gxDo);
        SetStyleRange(CGXRange(r, Col(m_nColTermination)), kxpingrid::EmptyStaticCell(), gxOverride, 0, kNoUpdate,
                      gxDo);
    }
    if (pParam) pParam->SetLockReadOnly(bLock);
    ROWCOL cr = 0, cc = 0;
    if (bRedraw && group == "2" && GetCurrentCell(cr, cc)) RedrawRowCol(cr, cc);
}

void CKXInstanceDetailsGridWnd::RefreshDiffPairRow(ROWCOL row, int flag) {
    if (row >= PIN_FIRST_ROW && row <= GetRowCount() && IsDiffPairRow(row)) FillDiffPairSignalCells(row, flag);
}

void CKXInstanceDetailsGridWnd::UpdateDiffPairNameCells(const IDPNet* dpNet) {
    RefreshDiffPairNameCells(dpNet);
}

void CKXInstanceDetailsGridWnd::RefreshDiffPairNameCells(const IDPNet* pairNet) {
    if (!pairNet) return;
    const BOOL bWasLocked = LockUpdate(TRUE);
    {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        // A vector pair's row and the rows of its lanes all sit on the pair net.
        for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r)
            if (IsDiffPairRow(r) && kxpingrid::PairNetOf(GetRowDPInstTerm(r)).net == pairNet) FillDiffPairSignalCells(r, 0);
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
}

// ---------------------------------------------------------------------------
// Rows of changed connections

std::uint64_t CKXInstanceDetailsGridWnd::RowKey(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (!pin) return 0;
    return Key(pin->id(), msb == lsb && msb != -1 ? msb : -1);
}

ROWCOL CKXInstanceDetailsGridWnd::FirstRowOfKey(std::uint64_t key) {
    // The index may still name rows that show another pin now: each is checked.
    for (ROWCOL r : m_rowIndex.Rows(key))
        if (r >= PIN_FIRST_ROW && r <= GetRowCount() && !IsDiffPairRow(r) && RowKey(r) == key) return r;
    return 0;
}

std::vector<std::pair<std::uint64_t, CConn>> CKXInstanceDetailsGridWnd::PairLegRowConns(const CConn& conn) {
    std::vector<std::pair<std::uint64_t, CConn>> out;
    IInstTerm* pin = conn.instTerm();
    if (!pin || !GetDiffPairInstTerm(pin, conn.instTermMsb())) return out;
    const bool single = conn.instTermMsb() == conn.instTermLsb() && conn.instTermMsb() != -1;
    const std::uint64_t whole = Key(pin->id(), single ? conn.instTermMsb() : -1);
    if (single || conn.instTermMsb() == -1 || FirstRowOfKey(whole)) {
        out.emplace_back(whole, conn);
        return out;
    }
    // The legs of a vector pair show bit by bit, under its lanes: each bit's part of the connection.
    const int pinStep = conn.instTermMsb() >= conn.instTermLsb() ? -1 : 1;
    const int netStep = conn.netMsb() >= conn.netLsb() ? -1 : 1;
    const bool scalarNet = conn.netMsb() == -1;
    for (int bit = conn.instTermMsb(), netBit = conn.netMsb();; bit += pinStep, netBit += netStep) {
        const int at = scalarNet ? -1 : netBit;
        out.emplace_back(Key(pin->id(), bit), CConn(conn.net(), at, at, pin, bit, bit));
        if (bit == conn.instTermLsb()) break;
    }
    return out;
}

// Whether a scalar pin sits on a package pin of its placed part (one that carries logical pin bits).
BOOL CKXInstanceDetailsGridWnd::GetPhysPin(IInstTerm* pin) {
    if (!pin || !pin->isScalar() || !pin->instance() || !m_designContext) return FALSE;
    const CInstTermContext term = m_designContext.instance(pin->instance()).instTerm(pin);
    if (!term) return FALSE;
    const CInstTermBitContext bit = term.bitContext(-1);
    const std::unique_ptr<IPhysPin> physical(getPhysPinInst(&m_designContext, &bit));
    return physical && (physical->kind() == IPhysPin::eSingle || physical->kind() == IPhysPin::eShared);
}

void CKXInstanceDetailsGridWnd::CollectChangedRows(const std::vector<IChange*>& conns) {
    // The pins whose first rows may head bit rows: vector pins, and scalar pins that sit on a package
    // pin. Whether a scalar pin does is costly to ask, so it is asked last, and only of a pin whose
    // row is followed by a child row (the mapped pin is kept for that; nullptr for a vector pin).
    std::map<int, IInstTerm*> pins;
    auto note = [&](const CConn* conn) {
        if (!conn || !conn->instTerm()) return;
        IInstTerm* pin = conn->instTerm();
        const bool vector = pin->msb() != pin->lsb() || !pin->isScalar();
        pins.emplace(static_cast<int>(pin->id()), vector ? nullptr : pin);
    };
    for (IChange* change : conns) {
        if (!change || change->objectType() != 'C' || !IsSameDesign(change->design())) continue;
        const int kind = change->changeKind();
        if (kind == 1 || kind == 2) {
            note(dynamic_cast<const CConn*>(change->object()));
        } else if (kind == 17) {
            CConn *r1 = nullptr, *r2 = nullptr, *a1 = nullptr, *a2 = nullptr;
            change->getConns(r1, r2, a1, a2);
            note(a1);
            note(a2 ? a2 : r2);
        }
    }
    for (const auto& [id, scalar] : pins)
        for (ROWCOL r : m_rowIndex.Rows(KXRowKey::Of(kPinRows, static_cast<unsigned>(id)))) {
            if (GetRowInstTermId(r) != id) continue;
            if (IsWidePinRow(r)) { // folded, no bit row below it sums it up
                SetConnectionCell(r);
                break;
            }
            const int parent = r + 1 <= GetRowCount() ? GetParentRow(r + 1) : -1;
            // A pair row sums nothing up (its legs show their own nets).
            if (parent <= 0 || IsDiffPairRow(static_cast<ROWCOL>(parent))) break;
            if (!scalar || GetPhysPin(scalar)) SetConnectionCell(static_cast<ROWCOL>(parent));
            break;
        }
}

void CKXInstanceDetailsGridWnd::RefreshChangedPins(const std::vector<IChange*>& conns,
                                                   std::set<CConn>& handledAdded, std::set<CConn>& handledRemoved) {
    // Changes come in the order they were made: a bit's last connection is the one its row shows, and
    // a connection a later change took away again is shown by no row.
    ConnsByPinBit added, removed, all;
    auto remove = [&](const CConn& gone) {
        handledRemoved.insert(gone);
        for (const auto& [key, bit] : PairLegRowConns(gone)) {
            all[key] = bit;
            removed[key] = bit;
            const auto it = added.find(key);
            if (it != added.end() && it->second == bit) added.erase(it);
        }
    };
    auto add = [&](const CConn& come) {
        const std::vector<std::pair<std::uint64_t, CConn>> bits = PairLegRowConns(come);
        if (!bits.empty()) handledAdded.insert(come);
        for (const auto& [key, bit] : bits) {
            all[key] = bit;
            added[key] = bit;
        }
    };
    for (IChange* change : conns) {
        if (!change || change->objectType() != 'C' || !IsSameDesign(change->design())) continue;
        const int kind = change->changeKind();
        if (kind == 1 || kind == 2) {
            const auto* conn = dynamic_cast<const CConn*>(change->object());
            if (!conn) continue;
            if (kind == 2) {
                if (!PairLegRowConns(*conn).empty()) remove(*conn);
                continue;
            }
            add(*conn);
        } else if (kind == 17) {
            CConn *r1 = nullptr, *r2 = nullptr, *a1 = nullptr, *a2 = nullptr;
            change->getConns(r1, r2, a1, a2);
            for (auto [gone, come] : {std::pair<CConn*, CConn*>{r1, a1}, {r2, a2}}) {
                const CConn* keyed = come ? come : gone;
                if (!keyed || PairLegRowConns(*keyed).empty()) continue;
                if (gone) remove(*gone);
                if (come) add(*come);
            }
        }
    }
    if (!removed.empty()) MapInstTermBitRows(removed);
    if (!added.empty()) MapNetBitRows(added);
    std::set<ROWCOL> legRows;
    TakeMappedRows(all, [&](ROWCOL r, const CConn&) { legRows.insert(r); });
    RefreshPairRowsOfLegs(legRows);
}

template <class Take>
void CKXInstanceDetailsGridWnd::TakeMappedRows(ConnsByPinBit& map, Take take) {
    std::vector<std::pair<ROWCOL, CConn>> taken;
    for (auto it = map.begin(); it != map.end();) {
        if (const ROWCOL r = FirstRowOfKey(it->first)) {
            taken.emplace_back(r, it->second);
            it = map.erase(it);
        } else {
            ++it;
        }
    }
    std::sort(taken.begin(), taken.end(),
              [](const std::pair<ROWCOL, CConn>& a, const std::pair<ROWCOL, CConn>& b) { return a.first < b.first; });
    for (const auto& [r, conn] : taken)
        take(r, conn);
}

void CKXInstanceDetailsGridWnd::MapInstTermBitRows(ConnsByPinBit& map) {
    std::set<unsigned> nets;
    TakeMappedRows(map, [&](ROWCOL r, const CConn& conn) {
        if (conn.net()) {
            nets.insert(conn.net()->id());
            ApplySignalCellStyle(r, "", static_cast<int>(conn.net()->id()), 1, TRUE);
        }
    });
    FillPupdColumn(nets);
}

void CKXInstanceDetailsGridWnd::MapNetBitRows(ConnsByPinBit& map) {
    // Rows whose nets got a connection show their nets' pull-ups and pull-downs.
    std::set<unsigned> nets;
    TakeMappedRows(map, [&](ROWCOL r, const CConn& conn) {
        INet* net = conn.net();
        if (!net) return;
        const ConnEnds e(conn);
        CString text = net->name();
        if (!net->isScalar())
            text = e.c == e.d ? CSchemaUtilities::vectorName(net->name(), e.c)
                              : CSchemaUtilities::vectorName(net->name(), e.d, e.c);
        ApplySignalCellStyle(r, text, static_cast<int>(net->id()), 1, TRUE);
        nets.insert(net->id());
    });
    if (!nets.empty()) FillPupdColumn(nets);
}

void CKXInstanceDetailsGridWnd::RefreshConnectionRows(std::set<CConn> conns, bool added) {
    ConnsByPinBit byBit;
    std::map<const IInstTerm*, CConn> byPin;
    for (const CConn& conn : conns) {
        if (!conn.instTerm()) continue;
        const ConnEnds e(conn);
        if (e.a == e.b && e.a != -1)
            byBit[Key(conn.instTerm()->id(), e.a)] = conn;
        else
            byPin[conn.instTerm()] = conn;
    }
    std::set<ROWCOL> parents;
    std::size_t found = 0;
    const std::size_t total = byBit.size() + byPin.size();
    for (ROWCOL r : PinBitRowsOf(conns)) {
        if (found >= total) break;
        if (r < PIN_FIRST_ROW || r > GetRowCount()) continue;
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetRowInstTerm(r, msb, lsb);
        if (!pin) continue;
        const CConn* conn = nullptr;
        if (msb == lsb && msb != -1) {
            const auto it = byBit.find(Key(pin->id(), msb));
            if (it != byBit.end()) conn = &it->second;
        } else {
            const auto it = byPin.find(pin);
            if (it != byPin.end()) conn = &it->second;
        }
        if (!conn || conn->instTerm() != pin) continue;
        ++found;
        RefreshConnectionRow(r, pin, *conn, added, parents);
    }
    for (ROWCOL p : parents)
        SetConnectionCell(p);
    std::set<unsigned> nets;
    for (const CConn& conn : conns)
        if (conn.net()) nets.insert(conn.net()->id());
    if (!nets.empty()) FillPupdColumn(nets);
}

std::vector<ROWCOL> CKXInstanceDetailsGridWnd::PinBitRowsOf(const std::set<CConn>& conns) const {
    // A vector's own row and a scalar pin's row by the whole pin, a bit's row by its bit.
    std::vector<ROWCOL> rows;
    for (const CConn& conn : conns) {
        if (!conn.instTerm()) continue;
        const ConnEnds e(conn);
        const int bit = e.a == e.b && e.a != -1 ? e.a : -1;
        const std::vector<ROWCOL> of = m_rowIndex.Rows(KXRowKey::PinBit(conn.instTerm()->id(), bit));
        rows.insert(rows.end(), of.begin(), of.end());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CKXInstanceDetailsGridWnd::RefreshConnectionRow(ROWCOL r, IInstTerm* pin, const CConn& connection, bool added,
                                                     std::set<ROWCOL>& parents) {
    const CConn* conn = &connection;
    const ConnEnds e(*conn);
    bool range = false;
    CString expected = pin->name();
    if (e.a == -1 && e.b == -1)
        expected = pin->name();
    else if (e.a == e.b)
        expected = CSchemaUtilities::vectorName(pin->name(), e.b);
    else {
        expected = CSchemaUtilities::vectorName(pin->name(), e.b, e.a);
        range = true;
    }
    if (GetRowInstTermId(r) != static_cast<int>(pin->id()) ||
        GetRowInstanceIndex(r) != static_cast<int>(pin->instance()->id()))
        return;
    const CString shown =
        IsPowerPinChildRow(r) ? CString(pin->name()) : GetValueRowCol(r, Col(m_nColPinName));
    INet* net = conn->net();
    const int netId = net ? static_cast<int>(net->id()) : -1;
    const ROWCOL parent = GetRowParentOffset(r);
    if (shown.CompareNoCase(expected) == 0) {
        if (!added) {
            ApplySignalCellStyle(r, "", netId, 1, FALSE);
            if (parent != GX_INVALID) parents.insert(parent);
            if (range) ResetNoValueCell(r, TRUE);
        } else if (net) {
            CString text = net->name();
            if (!net->isScalar())
                text = e.c == e.d ? CSchemaUtilities::vectorName(net->name(), e.c)
                                  : CSchemaUtilities::vectorName(net->name(), e.d, e.c);
            ApplySignalCellStyle(r, text, netId, 1, FALSE);
            if (parent != GX_INVALID) parents.insert(parent);
            if (range) FillVectorBitCell(r, net->name(), netId, e.d, e.c, FALSE);
        }
    } else if (range) {
        const CString prefix = CString(pin->name()) + "<";
        if (!added) {
            if (shown.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
                ApplySignalCellStyle(r, "", netId, 0, TRUE);
        } else if (net) {
            const int lt = shown.Find('<');
            const int n = lt >= 0 ? std::atoi(shown.GetString() + lt + 1) : e.b;
            const int bit = std::abs(e.c > e.d ? e.d - (n - e.b) : e.d + (n - e.b));
            ApplySignalCellStyle(r, CSchemaUtilities::vectorName(net->name(), bit), netId, 1, TRUE);
        }
    }
}

void CKXInstanceDetailsGridWnd::RefreshInstTermRows(std::set<CConn> conns) {
    RefreshConnectionRows(std::move(conns), false);
}

void CKXInstanceDetailsGridWnd::RefreshNetRows(std::set<CConn> conns) {
    RefreshConnectionRows(std::move(conns), true);
}

// ---------------------------------------------------------------------------
// The committed-transaction handler

LRESULT CKXInstanceDetailsGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!m_bRefreshOnCommit || !transaction || !m_designContext) return 0;
    ShowChanges(*transaction, KXChangeDigest(*transaction));
    return 0;
}

void CKXInstanceDetailsGridWnd::ShowChanges(CTransaction& transaction, const KXChangeDigest& digest) {
    m_nConnEditState = 0;
    // (A refresh that commits again finds the outer transaction's work as it left it.)
    CommitWork outer = std::exchange(m_commit, CommitWork{});
    m_commit.transaction = &transaction;
    m_commit.digest = &digest;
    m_commit.sameDesign = IsSameDesign(transaction.design());
    {
        UpdateLockScope lock(*this); // drawn once, when the whole refresh is done
        digest.Dispatch(*this);
    }
    m_commit = std::move(outer);
}

// Each step of the host shows only what it added to the host's transaction: the changes before the
// mark are on the rows already, so a long session costs each step its own work. A nested edit taken
// back below the mark took shown changes with it: the rows are read from the design again.
void CKXInstanceDetailsGridWnd::ShowOpenEditChanges() {
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!m_bHostCommits || !transaction || !m_bRefreshOnCommit || !m_designContext) return;
    const std::vector<IChange*> added = ChangesNotShownYet(*transaction);
    m_shownEdit = transaction->mark();
    if (added.empty()) return;
    const KXChangeDigest digest(added, transaction->design(), transaction->server());
    const int committing = std::exchange(m_bCommitting, TRUE); // the grid's own edit, not a change made outside
    const int showing = std::exchange(m_bShowingOpenEdit, 1);     // the host's transaction stays open
    ShowChanges(*transaction, digest);
    m_bShowingOpenEdit = showing;
    m_bCommitting = committing;
}

void CKXInstanceDetailsGridWnd::ForgetOpenEdit() {
    m_shownEdit = CTransaction::Mark{};
}

// The changes made since the last showing: all of them the first time in the host's edit; none, with the
// rows read again, when what was shown is no longer in the transaction (taken back, or discarded whole).
std::vector<IChange*> CKXInstanceDetailsGridWnd::ChangesNotShownYet(const CTransaction& transaction) {
    if (m_shownEdit.generation == 0) {
        std::vector<IChange*> all;
        for (IChange* change : transaction.beginChange()) all.push_back(change);
        return all;
    }
    std::optional<std::vector<IChange*>> changes = transaction.changesSince(m_shownEdit);
    if (changes) return std::move(*changes);
    ReadRowsAgain();
    return {};
}

// The hooks gather what the transaction changed; OnDigestEnd refreshes the rows in one order, each
// kind of change once for the whole transaction.

void CKXInstanceDetailsGridWnd::OnInstanceChange(const IChange& change, IInstance& instance) {
    // A replaced instance is rebuilt from the design.
    if (change.changeKind() == 17 && IsSameDesign(change.design()) && IsShownInstance(&instance))
        m_commit.replaced.push_back(&instance);
}

void CKXInstanceDetailsGridWnd::OnPropertyChange(const IChange& change, CPropertyChange&) {
    m_commit.properties.push_back(const_cast<IChange*>(&change));
}

void CKXInstanceDetailsGridWnd::OnPairConnChange(const IChange& change, IDPConn& pairConn) {
    if (!IsSameDesign(change.design())) return;
    if (change.changeKind() == 1) m_commit.addedPairs.push_back(&pairConn);
    if (change.changeKind() == 2) m_commit.deletedPairs.push_back(&pairConn);
}

void CKXInstanceDetailsGridWnd::OnConnChange(const IChange& change, CConn&) {
    if (IsSameDesign(change.design())) m_commit.conns.push_back(const_cast<IChange*>(&change));
}

void CKXInstanceDetailsGridWnd::OnPairPinChange(const IChange&, IDPInstTerm& pairPin) {
    // Pair pins changed by someone else: their instances are reloaded.
    if (m_bCommitting || !m_commit.sameDesign) return;
    IInstTerm* leg = GetDiffPairFirstInstTerm(&pairPin);
    IInstance* inst = leg ? leg->instance() : pairPin.instance();
    auto& instances = m_commit.pairInstances;
    if (inst && std::find(instances.begin(), instances.end(), inst) == instances.end()) instances.push_back(inst);
}

void CKXInstanceDetailsGridWnd::OnPairNetChange(const IChange& change, IDPNet& pairNet) {
    if (m_commit.sameDesign && change.changeKind() == 3) m_commit.renamedPairNets.push_back(&pairNet);
}

void CKXInstanceDetailsGridWnd::OnComponentChange(const IChange&, IDTInstance& component) {
    m_commit.components.push_back(&component);
}

void CKXInstanceDetailsGridWnd::OnNetChange(const IChange& change, INet& net) {
    if (m_commit.sameDesign && change.changeKind() == 3) m_commit.renamedNets.push_back(&net);
}

void CKXInstanceDetailsGridWnd::OnDigestEnd(const KXChangeDigest& digest) {
    CTransaction* transaction = m_commit.transaction;
    if (CKXShareGlobalData::m_bShowPowerPins && digest.TouchesAny({'I', 'P'})) RefreshPowerPinsAfterCommit(digest);
    // One reload of the replaced instances: every other instance of the grid keeps its rows.
    if (!m_commit.replaced.empty()) RefreshInstances(&m_commit.replaced);
    RefreshChangedProperties(digest.Server());
    UpdateSwappedSignals();
    if (digest.Touches('A')) FillPupdColumn({});
    if (digest.Touches('W')) {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        FillDiffPairColumn(m_commit.deletedPairs, TRUE);
        FillDiffPairColumn(m_commit.addedPairs, FALSE);
    }
    // Connections of pair legs first; the other connections of shown instances after the pair pins.
    std::set<CConn> handledAdded, handledRemoved;
    if (digest.Touches('C')) {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        CollectChangedRows(digest.Of('C'));
        RefreshChangedPins(digest.Of('C'), handledAdded, handledRemoved);
    }
    if (!m_commit.pairInstances.empty()) {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        RefreshInstances(&m_commit.pairInstances);
    }
    // The other legs of pairs this grid's or its pane's edit connected join the same transaction; its
    // second commit refreshes their rows. Legs the edit's own connection already brought along are
    // connected, so only legs an edit placed otherwise are left; a change from outside stays as made.
    if (digest.Touches('C') && CompletesPairLegsOfCommit() &&
        AutoConnectDiffPairLegs(transaction, digest.Of('C')) == 1) {
        if (transaction->commit()) {
            GridWriteScope noUndo(*this, GridWriteScope::kUndo);
            RefreshNetRows(m_commit.otherLegs);
            RefreshPairRowsOfLegs(RowsOfPins(m_commit.otherLegs));
        } else {
            transaction->discard(); // the design keeps the edit as the user made it
        }
    }
    RenameChangedNets();
    if (digest.Touches('C')) RefreshOtherConnections(handledAdded, handledRemoved);
    RefreshAttachedComponents();
    RefreshTermsChangedOutside(digest.Touches('T'));
}

void CKXInstanceDetailsGridWnd::RefreshChangedProperties(IServer* server) {
    if (!server) return;
    for (IChange* change : m_commit.properties) {
        CString path, name, oldValue, newValue;
        if (!server->decodePropertyChange(change, path, name, oldValue, newValue)) continue;
        if (change->changeKind() == 5 && name.CompareNoCase("LOCATION") == 0) {
            const auto* prop = dynamic_cast<const CPropertyChange*>(change->object());
            const auto* inst = prop ? dynamic_cast<const IInstance*>(prop->owner()) : nullptr;
            if (inst && IsShownInstance(inst)) {
                UpdateLocationCells(static_cast<int>(inst->id()));
                UpdateHeaderCaption();
            }
            continue;
        }
        NoteSwappedPin(*change, name, oldValue, newValue);
        std::unique_ptr<CContext> context(server->getContext(change->object()));
        if (!context) continue;
        const char type = context->objectType();
        if (type != 'I' && type != 'N' && type != 'T') continue;
        for (std::size_t c = 1; c < m_arrColumnInfo.size(); ++c) {
            const CKXColumnInfoClass* info = m_arrColumnInfo[c];
            if (info->m_nPropertyType != 0 && info->m_strPropertyName.CompareNoCase(name) == 0) {
                RefreshRowStyles(name, type == 'I' ? 1 : type == 'N' ? 3 : 2, static_cast<int>(c), -1);
                break;
            }
        }
    }
}

void CKXInstanceDetailsGridWnd::NoteSwappedPin(const IChange& change, const CString& name, const CString& oldValue,
                                               const CString& newValue) {
    const int kind = change.changeKind();
    if (kind != 1 && kind != 2 && kind != 5) return; // set, taken away, changed
    if (name.CompareNoCase("SEC") != 0 && name.CompareNoCase("PN") != 0) return;
    const auto* prop = dynamic_cast<const CPropertyChange*>(change.object());
    auto* pin = prop ? dynamic_cast<IInstTerm*>(prop->owner()) : nullptr;
    if (!pin || !IsShownInstance(pin->instance())) return;
    m_commit.renumbered = true;
    if (kind != 5 || oldValue.IsEmpty() || newValue.IsEmpty() || oldValue.CompareNoCase(newValue) == 0) return;
    m_commit.swappedPins.insert(pin);
}

void CKXInstanceDetailsGridWnd::UpdateSwappedSignals() {
    if (!m_commit.renumbered) return;
    m_commit.renumbered = false;
    GridWriteScope writable(*this);
    RefreshPinNumberCells();
    if (m_commit.swappedPins.empty()) return;
    std::set<CConn> conns;
    for (const IInstTerm* pin : m_commit.swappedPins)
        for (const CConn& conn : pin->beginConn())
            conns.insert(conn);
    if (!conns.empty()) RefreshNetRows(conns);
    m_commit.swappedPins.clear();
}

bool CKXInstanceDetailsGridWnd::CompletesPairLegsOfCommit() const {
    if (m_bShowingOpenEdit) return false; // the host's open transaction is committed by the host alone
    if (m_bCommitting && CKXTransaction::GetGrid() == this) return true;
    const IKXGridSite* site = Site();
    if (!site || !site->IsSiteCommitting()) return false;
    // Every pin grid of the pane hears the pane's commit: the first one shown completes it, once.
    for (const CKXGridWnd* grid : site->SiteGrids())
        if (grid->Kind() == KXGridKind::Pin) return grid == this;
    return false;
}

int CKXInstanceDetailsGridWnd::AutoConnectDiffPairLegs(CTransaction* transaction, const std::vector<IChange*>& conns) {
    if (!transaction || !KXAutoConnectDpLegAsked()) return 0;
    // The legs this transaction connected, each bit once; a leg the user placed already stays.
    std::set<std::pair<const IInstTerm*, int>> legs;
    for (IChange* change : conns) {
        if (!change || change->changeKind() != 1) continue;
        const auto* conn = dynamic_cast<const CConn*>(change->object());
        if (!conn || !conn->instTerm() || !IsSameDesign(change->design())) continue;
        const int lo = std::min(conn->instTermMsb(), conn->instTermLsb());
        const int hi = std::max(conn->instTermMsb(), conn->instTermLsb());
        for (int bit = lo; bit <= hi; ++bit)
            legs.insert({conn->instTerm(), bit});
    }
    int added = 0;
    for (const auto& [pin, bit] : legs)
        if (const std::optional<CConn> leg = KXConnectOtherLeg(*transaction, CInstTermBit(pin, bit))) {
            m_commit.otherLegs.insert(*leg);
            ++added;
        }
    return added ? 1 : 0;
}

void CKXInstanceDetailsGridWnd::RenameChangedNets() {
    if (!m_commit.renamedNets.empty()) {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        for (const INet* net : m_commit.renamedNets)
            RenameNetCells(net);
    }
    for (const IDPNet* net : m_commit.renamedPairNets)
        UpdateDiffPairNameCells(net);
}

void CKXInstanceDetailsGridWnd::RefreshOtherConnections(const std::set<CConn>& handledAdded,
                                                        const std::set<CConn>& handledRemoved) {
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    // In the order the changes were made: a connection made and taken away again in the same
    // transaction (a pin moved twice) is no longer in the design, and no row is to show it.
    std::set<CConn> removed, added;
    auto remove = [&](const CConn& gone) {
        added.erase(gone);
        removed.insert(gone);
    };
    for (IChange* change : m_commit.conns) {
        const int kind = change->changeKind();
        if (kind == 17) {
            CConn *r1 = nullptr, *r2 = nullptr, *a1 = nullptr, *a2 = nullptr;
            change->getConns(r1, r2, a1, a2);
            for (CConn* c : {r1, r2})
                if (c) remove(*c);
            for (CConn* c : {a1, a2})
                if (c) added.insert(*c);
        } else if (kind == 1 || kind == 2) {
            const auto* conn = dynamic_cast<const CConn*>(change->object());
            if (!conn || !conn->instTerm() || !IsShownInstance(conn->instTerm()->instance())) continue;
            if (kind == 1 && !handledAdded.count(*conn)) added.insert(*conn);
            if (kind == 2) {
                added.erase(*conn);
                if (!handledRemoved.count(*conn)) removed.insert(*conn);
            }
        }
    }
    if (!removed.empty()) RefreshInstTermRows(std::move(removed));
    if (!added.empty()) RefreshNetRows(std::move(added));
}

void CKXInstanceDetailsGridWnd::RefreshAttachedComponents() {
    bool pullChanged = false, terminationsDone = false;
    std::set<unsigned> nets;
    for (const IDTInstance* dt : m_commit.components) {
        const CString type = dt->typeName();
        if (type.Find("Pull") >= 0) {
            pullChanged = true;
            INet* net = nullptr;
            int bit = -1;
            if (dt->getNetAndBit(net, bit) && net) {
                nets.insert(net->id());
                for (const CNetBit& alias : m_designContext.net(net).bitContext(bit).beginAlias())
                    if (alias.net()) nets.insert(alias.net()->id());
            }
        } else if (type.Find("Bypass") < 0 && !terminationsDone) {
            // Terminations: every row once, however many the transaction changed.
            terminationsDone = true;
            GridWriteScope noUndo(*this, GridWriteScope::kUndo);
            for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r)
                StyleAssocCompCells(r, FALSE);
        }
    }
    if (pullChanged) FillPupdColumn(nets);
}

void CKXInstanceDetailsGridWnd::RefreshTermsChangedOutside(bool termsChanged) {
    // Terms of a shown component's definition, changed from outside this grid's own edits.
    const IKXGridSite* site = Site();
    const bool outside = !m_bCommitting && !(site && site->IsSiteCommitting()) && CKXTransaction::GetGrid() != this &&
                         CKXUndoCmd::GetCurrentUndoGrid() != this;
    if (!outside) return;
    GridWriteScope writable(*this);
    if (termsChanged && m_commit.sameDesign && m_commit.digest) RefreshChangedTerms(m_commit.digest->Of('T'));
}

void CKXInstanceDetailsGridWnd::RenameNetCells(const INet* net) {
    if (!net || !m_designContext) return;
    IDesign* design = m_designContext.design();
    std::set<ROWCOL> renamedRows;
    for (ROWCOL r : m_rowIndex.Rows(KXRowKey::Net(net->id()))) {
        if (r < PIN_FIRST_ROW || r > GetRowCount() || GetRowConnIndex(r) != static_cast<int>(net->id())) continue;
        const CString shown = GetValueRowCol(r, Col(m_nColSignal));
        // Each name of the cell ("NET", "NET<3>", "NET<7..0>", several joined by commas) that no net has
        // any more is the old name of this one.
        CString renamed;
        int start = 0;
        bool changed = false;
        while (start <= shown.GetLength()) {
            int comma = shown.Find(',', start);
            if (comma < 0) comma = shown.GetLength();
            CString part = shown.Mid(start, comma - start);
            CString base = part;
            const int lt = part.Find('<');
            if (lt >= 0) base = part.Left(lt);
            base.Trim();
            if (!base.IsEmpty() && !design->findNet(base.GetString())) {
                const int at = part.Find(base);
                part = part.Left(at) + net->name() + part.Mid(at + base.GetLength());
                changed = true;
            }
            renamed += part;
            if (comma >= shown.GetLength()) break;
            renamed += ",";
            start = comma + 1;
        }
        if (!changed) continue;
        ApplySignalCellStyle(r, renamed, static_cast<int>(net->id()), 0, FALSE);
        renamedRows.insert(r);
    }
    RefreshPairRowsOfLegs(renamedRows); // a pair row that shows its legs' texts shows the new name too
}

std::set<ROWCOL> CKXInstanceDetailsGridWnd::RowsOfPins(const std::set<CConn>& conns) {
    std::set<ROWCOL> rows;
    for (const CConn& conn : conns) {
        if (!conn.instTerm()) continue;
        const unsigned id = conn.instTerm()->id();
        for (ROWCOL r : m_rowIndex.Rows(KXRowKey::Of(kPinRows, id)))
            if (r <= GetRowCount() && GetRowInstTermId(r) == static_cast<int>(id)) rows.insert(r);
    }
    return rows;
}

void CKXInstanceDetailsGridWnd::RefreshPairRowsOfLegs(const std::set<ROWCOL>& legRows) {
    // Each pair row once, a vector pair's row after its lanes.
    std::set<ROWCOL> pairs, outer;
    for (ROWCOL r : legRows) {
        const ROWCOL pair = GetRowParentOffset(r);
        if (pair != GX_INVALID && IsDiffPairRow(pair)) pairs.insert(pair);
    }
    for (ROWCOL r : pairs) {
        RefreshDiffPairRow(r, 0);
        const ROWCOL up = GetRowParentOffset(r);
        if (up != GX_INVALID && IsDiffPairRow(up)) outer.insert(up);
    }
    for (ROWCOL r : outer)
        RefreshDiffPairRow(r, 0);
}

void CKXInstanceDetailsGridWnd::RefreshChangedTerms(const std::vector<IChange*>& terms) {
    const std::vector<UINT> shown = m_arrInstanceIds;
    for (UINT id : shown) {
        IInstance* inst = m_designContext.design()->findInstance(id);
        if (!inst) continue;
        IDesign* master = inst->master();
        std::set<int> typeChanged;
        for (IChange* change : terms) {
            if (!change || change->changeKind() == 0) continue;
            const auto* term = dynamic_cast<const ITerm*>(change->object());
            if (!term || dynamic_cast<const IInstTerm*>(term) || term->design() != master || !master)
                continue;
            const int kind = change->changeKind();
            if (kind == 2 || kind == 10) {
                const std::vector<IInstance*> one{inst};
                RefreshInstances(&one);
                break;
            }
            IInstTerm* pin = inst->findInstTerm(term->name());
            if (!pin) continue;
            if (kind == 1) {
                ROWCOL row = GetRowCount() + 1;
                const CInstanceContext saved = m_instCurrent;
                m_instCurrent = m_designContext.instance(inst);
                FillPinRow(pin, row, -1, "");
                StylePropertyCells(pin, static_cast<int>(GetRowCount()), static_cast<int>(GetRowCount()));
                m_instCurrent = saved;
            } else if (kind == 3) {
                RefreshPinNameCells(pin);
            } else if (kind == 8) {
                typeChanged.insert(static_cast<int>(pin->id()));
            }
        }
        if (!typeChanged.empty()) RefreshPinTypeCells(inst, typeChanged);
    }
}

void CKXInstanceDetailsGridWnd::RefreshPinTypeCells(IInstance* instance, std::set<int> pinIds) {
    if (!instance) return;
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount() && !pinIds.empty(); ++r) {
        const int id = GetRowInstTermId(r);
        if (!pinIds.count(id) || GetRowInstanceIndex(r) != static_cast<int>(instance->id())) continue;
        if (IInstTerm* pin = instance->findInstTerm(static_cast<unsigned>(id))) {
            CGXStyle style;
            style.SetValue(CKXGenUtils::GetPinType(pin));
            CGXGridParam* pParam = GetParam();
            const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
            if (pParam) pParam->SetLockReadOnly(FALSE);
            SetStyleRange(CGXRange(r, Col(m_nColPinType)), style, gxOverride, 0, kNoUpdate, gxDo);
            if (pParam) pParam->SetLockReadOnly(bLock);
        }
        pinIds.erase(id);
    }
}
