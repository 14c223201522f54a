// The refresh after a committed transaction: the change hooks gather what the transaction changed,
// and OnDigestEnd rewrites only the rows and cells those changes reach, each kind of change once.
#include "pingrid/KXPinGridRefresh.h"
#include "pingrid/KXPinGridPower.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPinNumbers.h"
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

KXPinGridRefresh::KXPinGridRefresh(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

void KXPinGridRefresh::RefreshDiffPairRow(ROWCOL row, int flag) {
    if (row >= PIN_FIRST_ROW && row <= m_grid.GetRowCount() && m_grid.IsDiffPairRow(row))
        m_grid.m_signalCells->FillDiffPairSignalCells(row, flag);
}

void KXPinGridRefresh::UpdateDiffPairNameCells(const IDPNet* dpNet) {
    RefreshDiffPairNameCells(dpNet);
}

void KXPinGridRefresh::RefreshDiffPairNameCells(const IDPNet* pairNet) {
    if (!pairNet) return;
    const BOOL bWasLocked = m_grid.LockUpdate(TRUE);
    {
        GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
        // A vector pair's row and the rows of its lanes all sit on the pair net.
        for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid.GetRowCount(); ++r)
            if (m_grid.IsDiffPairRow(r) && kxpingrid::PairNetOf(m_grid.GetRowDPInstTerm(r)).net == pairNet)
                m_grid.m_signalCells->FillDiffPairSignalCells(r, 0);
    }
    if (!bWasLocked) {
        m_grid.LockUpdate(FALSE);
        m_grid.Redraw(GX_INVALIDATE, TRUE);
    }
}

std::uint64_t KXPinGridRefresh::RowKey(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    if (!pin) return 0;
    return Key(pin->id(), msb == lsb && msb != -1 ? msb : -1);
}

ROWCOL KXPinGridRefresh::FirstRowOfKey(std::uint64_t key) {
    // The index may still name rows that show another pin now: each is checked.
    for (ROWCOL r : m_grid.m_rowIndex.Rows(key))
        if (r >= PIN_FIRST_ROW && r <= m_grid.GetRowCount() && !m_grid.IsDiffPairRow(r) && RowKey(r) == key)
            return r;
    return 0;
}

std::vector<std::pair<std::uint64_t, CConn>> KXPinGridRefresh::PairLegRowConns(const CConn& conn) {
    std::vector<std::pair<std::uint64_t, CConn>> out;
    IInstTerm* pin = conn.instTerm();
    if (!pin || !m_grid.GetDiffPairInstTerm(pin, conn.instTermMsb())) return out;
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

void KXPinGridRefresh::CollectChangedRows(const std::vector<IChange*>& conns) {
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
        if (!change || change->objectType() != 'C' || !m_grid.IsSameDesign(change->design())) continue;
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
        for (ROWCOL r : m_grid.m_rowIndex.Rows(KXRowKey::Of(m_grid.kPinRows, static_cast<unsigned>(id)))) {
            if (m_grid.GetRowInstTermId(r) != id) continue;
            if (m_grid.m_fill->IsWidePinRow(r)) { // folded, no bit row below it sums it up
                m_grid.m_signalCells->SetConnectionCell(r);
                break;
            }
            const int parent = r + 1 <= m_grid.GetRowCount() ? m_grid.GetParentRow(r + 1) : -1;
            // A pair row sums nothing up (its legs show their own nets).
            if (parent <= 0 || m_grid.IsDiffPairRow(static_cast<ROWCOL>(parent))) break;
            if (!scalar || m_grid.GetPhysPin(scalar))
                m_grid.m_signalCells->SetConnectionCell(static_cast<ROWCOL>(parent));
            break;
        }
}

void KXPinGridRefresh::RefreshChangedPins(const std::vector<IChange*>& conns, std::set<CConn>& handledAdded,
                                          std::set<CConn>& handledRemoved) {
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
        if (!change || change->objectType() != 'C' || !m_grid.IsSameDesign(change->design())) continue;
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

template <class Take> void KXPinGridRefresh::TakeMappedRows(ConnsByPinBit& map, Take take) {
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
              [](const std::pair<ROWCOL, CConn>& a, const std::pair<ROWCOL, CConn>& b) {
                  return a.first < b.first;
              });
    for (const auto& [r, conn] : taken)
        take(r, conn);
}

void KXPinGridRefresh::MapInstTermBitRows(ConnsByPinBit& map) {
    std::set<unsigned> nets;
    TakeMappedRows(map, [&](ROWCOL r, const CConn& conn) {
        if (conn.net()) {
            nets.insert(conn.net()->id());
            m_grid.ApplySignalCellStyle(r, "", static_cast<int>(conn.net()->id()), 1, TRUE);
        }
    });
    m_grid.FillPupdColumn(nets);
}

void KXPinGridRefresh::MapNetBitRows(ConnsByPinBit& map) {
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
        m_grid.ApplySignalCellStyle(r, text, static_cast<int>(net->id()), 1, TRUE);
        nets.insert(net->id());
    });
    if (!nets.empty()) m_grid.FillPupdColumn(nets);
}

void KXPinGridRefresh::RefreshConnectionRows(std::set<CConn> conns, bool added) {
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
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount()) continue;
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(r, msb, lsb);
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
        m_grid.m_signalCells->SetConnectionCell(p);
    std::set<unsigned> nets;
    for (const CConn& conn : conns)
        if (conn.net()) nets.insert(conn.net()->id());
    if (!nets.empty()) m_grid.FillPupdColumn(nets);
}

std::vector<ROWCOL> KXPinGridRefresh::PinBitRowsOf(const std::set<CConn>& conns) const {
    // A vector's own row and a scalar pin's row by the whole pin, a bit's row by its bit.
    std::vector<ROWCOL> rows;
    for (const CConn& conn : conns) {
        if (!conn.instTerm()) continue;
        const ConnEnds e(conn);
        const int bit = e.a == e.b && e.a != -1 ? e.a : -1;
        const std::vector<ROWCOL> of = m_grid.m_rowIndex.Rows(KXRowKey::PinBit(conn.instTerm()->id(), bit));
        rows.insert(rows.end(), of.begin(), of.end());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void KXPinGridRefresh::RefreshConnectionRow(ROWCOL r, IInstTerm* pin, const CConn& connection, bool added,
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
    if (m_grid.GetRowInstTermId(r) != static_cast<int>(pin->id()) ||
        m_grid.GetRowInstanceIndex(r) != static_cast<int>(pin->instance()->id()))
        return;
    const CString shown = m_grid.IsPowerPinChildRow(r) ? CString(pin->name())
                                                       : m_grid.GetValueRowCol(r, Col(m_grid.m_nColPinName));
    INet* net = conn->net();
    const int netId = net ? static_cast<int>(net->id()) : -1;
    const ROWCOL parent = m_grid.GetRowParentOffset(r);
    if (shown.CompareNoCase(expected) == 0) {
        if (!added) {
            m_grid.ApplySignalCellStyle(r, "", netId, 1, FALSE);
            if (parent != GX_INVALID) parents.insert(parent);
            if (range) m_grid.m_signalCells->ResetNoValueCell(r, TRUE);
        } else if (net) {
            CString text = net->name();
            if (!net->isScalar())
                text = e.c == e.d ? CSchemaUtilities::vectorName(net->name(), e.c)
                                  : CSchemaUtilities::vectorName(net->name(), e.d, e.c);
            m_grid.ApplySignalCellStyle(r, text, netId, 1, FALSE);
            if (parent != GX_INVALID) parents.insert(parent);
            if (range) m_grid.m_signalCells->FillVectorBitCell(r, net->name(), netId, e.d, e.c, FALSE);
        }
    } else if (range) {
        const CString prefix = CString(pin->name()) + "<";
        if (!added) {
            if (shown.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
                m_grid.ApplySignalCellStyle(r, "", netId, 0, TRUE);
        } else if (net) {
            const int lt = shown.Find('<');
            const int n = lt >= 0 ? std::atoi(shown.GetString() + lt + 1) : e.b;
            const int bit = std::abs(e.c > e.d ? e.d - (n - e.b) : e.d + (n - e.b));
            m_grid.ApplySignalCellStyle(r, CSchemaUtilities::vectorName(net->name(), bit), netId, 1, TRUE);
        }
    }
}

void KXPinGridRefresh::RefreshInstTermRows(std::set<CConn> conns) {
    RefreshConnectionRows(std::move(conns), false);
}

void KXPinGridRefresh::RefreshNetRows(std::set<CConn> conns) {
    RefreshConnectionRows(std::move(conns), true);
}

void KXPinGridRefresh::ShowChanges(CTransaction& transaction, const KXChangeDigest& digest) {
    m_grid.m_nConnEditState = 0;
    // (A refresh that commits again finds the outer transaction's work as it left it.)
    CommitWork outer = std::exchange(m_commit, CommitWork{});
    m_commit.transaction = &transaction;
    m_commit.digest = &digest;
    m_commit.sameDesign = m_grid.IsSameDesign(transaction.design());
    {
        UpdateLockScope lock(m_grid); // drawn once, when the whole refresh is done
        digest.Dispatch(*this);
    }
    m_commit = std::move(outer);
}

void KXPinGridRefresh::OnInstanceChange(const IChange& change, IInstance& instance) {
    // A replaced instance is rebuilt from the design.
    if (change.changeKind() == 17 && m_grid.IsSameDesign(change.design()) &&
        m_grid.IsShownInstance(&instance))
        m_commit.replaced.push_back(&instance);
}

void KXPinGridRefresh::OnPropertyChange(const IChange& change, CPropertyChange&) {
    m_commit.properties.push_back(const_cast<IChange*>(&change));
}

void KXPinGridRefresh::OnPairConnChange(const IChange& change, IDPConn& pairConn) {
    if (!m_grid.IsSameDesign(change.design())) return;
    if (change.changeKind() == 1) m_commit.addedPairs.push_back(&pairConn);
    if (change.changeKind() == 2) m_commit.deletedPairs.push_back(&pairConn);
}

void KXPinGridRefresh::OnConnChange(const IChange& change, CConn&) {
    if (m_grid.IsSameDesign(change.design())) m_commit.conns.push_back(const_cast<IChange*>(&change));
}

void KXPinGridRefresh::OnPairPinChange(const IChange&, IDPInstTerm& pairPin) {
    // Pair pins changed by someone else: their instances are reloaded.
    if (m_grid.m_bCommitting || !m_commit.sameDesign) return;
    IInstTerm* leg = m_grid.GetDiffPairFirstInstTerm(&pairPin);
    IInstance* inst = leg ? leg->instance() : pairPin.instance();
    auto& instances = m_commit.pairInstances;
    if (inst && std::find(instances.begin(), instances.end(), inst) == instances.end())
        instances.push_back(inst);
}

void KXPinGridRefresh::OnPairNetChange(const IChange& change, IDPNet& pairNet) {
    if (m_commit.sameDesign && change.changeKind() == 3) m_commit.renamedPairNets.push_back(&pairNet);
}

void KXPinGridRefresh::OnComponentChange(const IChange&, IDTInstance& component) {
    m_commit.components.push_back(&component);
}

void KXPinGridRefresh::OnNetChange(const IChange& change, INet& net) {
    if (m_commit.sameDesign && change.changeKind() == 3) m_commit.renamedNets.push_back(&net);
}

void KXPinGridRefresh::OnDigestEnd(const KXChangeDigest& digest) {
    CTransaction* transaction = m_commit.transaction;
    if (CKXShareGlobalData::m_bShowPowerPins && digest.TouchesAny({'I', 'P'}))
        m_grid.m_power->RefreshPowerPinsAfterCommit(digest);
    // One reload of the replaced instances: every other instance of the grid keeps its rows.
    if (!m_commit.replaced.empty()) m_grid.RefreshInstances(&m_commit.replaced);
    RefreshChangedProperties(digest.Server());
    UpdateSwappedSignals();
    if (digest.Touches('A')) m_grid.FillPupdColumn({});
    if (digest.Touches('W')) {
        GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
        m_grid.m_signalCells->FillDiffPairColumn(m_commit.deletedPairs, TRUE);
        m_grid.m_signalCells->FillDiffPairColumn(m_commit.addedPairs, FALSE);
    }
    // Connections of pair legs first; the other connections of shown instances after the pair pins.
    std::set<CConn> handledAdded, handledRemoved;
    if (digest.Touches('C')) {
        GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
        CollectChangedRows(digest.Of('C'));
        RefreshChangedPins(digest.Of('C'), handledAdded, handledRemoved);
    }
    if (!m_commit.pairInstances.empty()) {
        GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
        m_grid.RefreshInstances(&m_commit.pairInstances);
    }
    // The other legs of pairs this grid's or its pane's edit connected join the same transaction; its
    // second commit refreshes their rows. Legs the edit's own connection already brought along are
    // connected, so only legs an edit placed otherwise are left; a change from outside stays as made.
    if (digest.Touches('C') && CompletesPairLegsOfCommit() &&
        AutoConnectDiffPairLegs(transaction, digest.Of('C')) == 1) {
        if (transaction->commit()) {
            GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
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

void KXPinGridRefresh::RefreshChangedProperties(IServer* server) {
    if (!server) return;
    for (IChange* change : m_commit.properties) {
        CString path, name, oldValue, newValue;
        if (!server->decodePropertyChange(change, path, name, oldValue, newValue)) continue;
        if (change->changeKind() == 5 && name.CompareNoCase("LOCATION") == 0) {
            const auto* prop = dynamic_cast<const CPropertyChange*>(change->object());
            const auto* inst = prop ? dynamic_cast<const IInstance*>(prop->owner()) : nullptr;
            if (inst && m_grid.IsShownInstance(inst)) {
                m_grid.UpdateLocationCells(static_cast<int>(inst->id()));
                m_grid.UpdateHeaderCaption();
            }
            continue;
        }
        NoteSwappedPin(*change, name, oldValue, newValue);
        std::unique_ptr<CContext> context(server->getContext(change->object()));
        if (!context) continue;
        const char type = context->objectType();
        if (type != 'I' && type != 'N' && type != 'T') continue;
        for (std::size_t c = 1; c < m_grid.m_arrColumnInfo.size(); ++c) {
            const CKXColumnInfoClass* info = m_grid.m_arrColumnInfo[c];
            if (info->m_nPropertyType != 0 && info->m_strPropertyName.CompareNoCase(name) == 0) {
                m_grid.RefreshRowStyles(name, type == 'I' ? 1 : type == 'N' ? 3 : 2, static_cast<int>(c), -1);
                break;
            }
        }
    }
}

void KXPinGridRefresh::NoteSwappedPin(const IChange& change, const CString& name, const CString& oldValue,
                                      const CString& newValue) {
    const int kind = change.changeKind();
    if (kind != 1 && kind != 2 && kind != 5) return; // set, taken away, changed
    if (name.CompareNoCase("SEC") != 0 && name.CompareNoCase("PN") != 0) return;
    const auto* prop = dynamic_cast<const CPropertyChange*>(change.object());
    auto* pin = prop ? dynamic_cast<IInstTerm*>(prop->owner()) : nullptr;
    if (!pin || !m_grid.IsShownInstance(pin->instance())) return;
    m_commit.renumbered = true;
    if (kind != 5 || oldValue.IsEmpty() || newValue.IsEmpty() || oldValue.CompareNoCase(newValue) == 0)
        return;
    m_commit.swappedPins.insert(pin);
}

void KXPinGridRefresh::UpdateSwappedSignals() {
    if (!m_commit.renumbered) return;
    m_commit.renumbered = false;
    GridWriteScope writable(m_grid);
    m_grid.m_pinNumbers->RefreshPinNumberCells();
    if (m_commit.swappedPins.empty()) return;
    std::set<CConn> conns;
    for (const IInstTerm* pin : m_commit.swappedPins)
        for (const CConn& conn : pin->beginConn())
            conns.insert(conn);
    if (!conns.empty()) RefreshNetRows(conns);
    m_commit.swappedPins.clear();
}

bool KXPinGridRefresh::CompletesPairLegsOfCommit() const {
    if (m_grid.m_bShowingOpenEdit) return false; // the host's open transaction is committed by the host alone
    if (m_grid.m_bCommitting && CKXTransaction::GetGrid() == &m_grid) return true;
    const IKXGridSite* site = m_grid.Site();
    if (!site || !site->IsSiteCommitting()) return false;
    // Every pin grid of the pane hears the pane's commit: the first one shown completes it, once.
    for (const CKXGridWnd* grid : site->SiteGrids())
        if (grid->Kind() == KXGridKind::Pin) return grid == &m_grid;
    return false;
}

int KXPinGridRefresh::AutoConnectDiffPairLegs(CTransaction* transaction, const std::vector<IChange*>& conns) {
    if (!transaction || !KXAutoConnectDpLegAsked()) return 0;
    // The legs this transaction connected, each bit once; a leg the user placed already stays.
    std::set<std::pair<const IInstTerm*, int>> legs;
    for (IChange* change : conns) {
        if (!change || change->changeKind() != 1) continue;
        const auto* conn = dynamic_cast<const CConn*>(change->object());
        if (!conn || !conn->instTerm() || !m_grid.IsSameDesign(change->design())) continue;
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

void KXPinGridRefresh::RenameChangedNets() {
    if (!m_commit.renamedNets.empty()) {
        GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
        for (const INet* net : m_commit.renamedNets)
            RenameNetCells(net);
    }
    for (const IDPNet* net : m_commit.renamedPairNets)
        UpdateDiffPairNameCells(net);
}

void KXPinGridRefresh::RefreshOtherConnections(const std::set<CConn>& handledAdded,
                                               const std::set<CConn>& handledRemoved) {
    GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
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
            if (!conn || !conn->instTerm() || !m_grid.IsShownInstance(conn->instTerm()->instance())) continue;
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

void KXPinGridRefresh::RefreshAttachedComponents() {
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
                for (const CNetBit& alias : m_grid.m_designContext.net(net).bitContext(bit).beginAlias())
                    if (alias.net()) nets.insert(alias.net()->id());
            }
        } else if (type.Find("Bypass") < 0 && !terminationsDone) {
            // Terminations: every row once, however many the transaction changed.
            terminationsDone = true;
            GridWriteScope noUndo(m_grid, GridWriteScope::kUndo);
            for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid.GetRowCount(); ++r)
                m_grid.StyleAssocCompCells(r, FALSE);
        }
    }
    if (pullChanged) m_grid.FillPupdColumn(nets);
}

void KXPinGridRefresh::RefreshTermsChangedOutside(bool termsChanged) {
    // Terms of a shown component's definition, changed from outside this grid's own edits.
    const IKXGridSite* site = m_grid.Site();
    const bool outside = !m_grid.m_bCommitting && !(site && site->IsSiteCommitting()) &&
                         CKXTransaction::GetGrid() != &m_grid && CKXUndoCmd::GetCurrentUndoGrid() != &m_grid;
    if (!outside) return;
    GridWriteScope writable(m_grid);
    if (termsChanged && m_commit.sameDesign && m_commit.digest) RefreshChangedTerms(m_commit.digest->Of('T'));
}

void KXPinGridRefresh::RenameNetCells(const INet* net) {
    if (!net || !m_grid.m_designContext) return;
    IDesign* design = m_grid.m_designContext.design();
    std::set<ROWCOL> renamedRows;
    for (ROWCOL r : m_grid.m_rowIndex.Rows(KXRowKey::Net(net->id()))) {
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount() ||
            m_grid.GetRowConnIndex(r) != static_cast<int>(net->id()))
            continue;
        const CString shown = m_grid.GetValueRowCol(r, Col(m_grid.m_nColSignal));
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
        m_grid.ApplySignalCellStyle(r, renamed, static_cast<int>(net->id()), 0, FALSE);
        renamedRows.insert(r);
    }
    RefreshPairRowsOfLegs(renamedRows); // a pair row that shows its legs' texts shows the new name too
}

std::set<ROWCOL> KXPinGridRefresh::RowsOfPins(const std::set<CConn>& conns) {
    std::set<ROWCOL> rows;
    for (const CConn& conn : conns) {
        if (!conn.instTerm()) continue;
        const unsigned id = conn.instTerm()->id();
        for (ROWCOL r : m_grid.m_rowIndex.Rows(KXRowKey::Of(m_grid.kPinRows, id)))
            if (r <= m_grid.GetRowCount() && m_grid.GetRowInstTermId(r) == static_cast<int>(id))
                rows.insert(r);
    }
    return rows;
}

void KXPinGridRefresh::RefreshPairRowsOfLegs(const std::set<ROWCOL>& legRows) {
    // Each pair row once, a vector pair's row after its lanes.
    std::set<ROWCOL> pairs, outer;
    for (ROWCOL r : legRows) {
        const ROWCOL pair = m_grid.GetRowParentOffset(r);
        if (pair != GX_INVALID && m_grid.IsDiffPairRow(pair)) pairs.insert(pair);
    }
    for (ROWCOL r : pairs) {
        RefreshDiffPairRow(r, 0);
        const ROWCOL up = m_grid.GetRowParentOffset(r);
        if (up != GX_INVALID && m_grid.IsDiffPairRow(up)) outer.insert(up);
    }
    for (ROWCOL r : outer)
        RefreshDiffPairRow(r, 0);
}

void KXPinGridRefresh::RefreshChangedTerms(const std::vector<IChange*>& terms) {
    const std::vector<UINT> shown = m_grid.m_arrInstanceIds;
    for (UINT id : shown) {
        IInstance* inst = m_grid.m_designContext.design()->findInstance(id);
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
                m_grid.RefreshInstances(&one);
                break;
            }
            IInstTerm* pin = inst->findInstTerm(term->name());
            if (!pin) continue;
            if (kind == 1) {
                ROWCOL row = m_grid.GetRowCount() + 1;
                const CInstanceContext saved = m_grid.m_instCurrent;
                m_grid.m_instCurrent = m_grid.m_designContext.instance(inst);
                m_grid.FillPinRow(pin, row, -1, "");
                m_grid.StylePropertyCells(pin, static_cast<int>(m_grid.GetRowCount()),
                                          static_cast<int>(m_grid.GetRowCount()));
                m_grid.m_instCurrent = saved;
            } else if (kind == 3) {
                m_grid.RefreshPinNameCells(pin);
            } else if (kind == 8) {
                typeChanged.insert(static_cast<int>(pin->id()));
            }
        }
        if (!typeChanged.empty()) m_grid.RefreshPinTypeCells(inst, typeChanged);
    }
}
