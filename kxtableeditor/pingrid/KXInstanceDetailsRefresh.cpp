// Keeping the pin grid in step with the design: reloading shown instances,
// and the refresh after a committed transaction, which rewrites only the rows
// and cells that the transaction's changes reach.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridLoader.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridRefresh.h"
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
    // Rows read again from the design are no edit of the user's: the grid's undo keeps none of it.
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    if (shown && m_designContext) {
        const std::vector<UINT> ids = std::exchange(m_arrInstanceIds, {});
        if (ids.size() == 1) {
            const CInstanceContext inst = m_designContext.instance(ids.front());
            if (inst && inst->isAlive())
                LoadComponentPins(m_designContext, inst, TRUE);
            else
                m_loader->ClearPinRows(); // the instance is gone: so are its rows
        } else {
            m_loader->ClearPinRows();
            ReloadInstanceRows(m_designContext, ids, TRUE);
        }
    }
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

void KXPinGridSignalCells::SetConnectionCell(ROWCOL row, kxpingrid::ConnectionSum* childRows,
                                             const CSchemaObjectIterator<CConn>* pinConns) {
    if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || m_grid.IsDiffPairRow(row)) return;
    int msb = -1, lsb = -1;
    IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb);
    // An implicit power pin group has no pin of its own: it sums up its pins' rows.
    int group = 0;
    const bool powerGroup = !pin && m_grid.IsImplicitPowerPinRow(row, &group) && group;
    if (!powerGroup && (!pin || msb == lsb)) return;
    const CString pinName = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName));
    kxpingrid::ConnectionSummary summary;
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
    const bool foldedWide = !direct && !childRows && !powerGroup &&
                            m_grid.m_fill->IsWidePinRow(row, nullptr, &bitRows) &&
                            bitRows < static_cast<ROWCOL>(std::abs(pin->msb() - pin->lsb()) + 1);
    if (foldedWide)
        summary = m_grid.SumWidePinBits(pin); // not every bit has a row to sum up
    else if (!direct)
        summary = childRows && !powerGroup ? childRows->Finish()
                                           : m_grid.SummariseChildConnections(row, powerGroup);
    m_grid.ApplySignalCellStyle(row, summary.text, summary.netId, summary.netId >= 0 ? 1 : 0, FALSE);
    const bool italic = m_grid.IsImplicitPowerPinRow(row, nullptr) && row + 1 <= m_grid.GetRowCount() &&
                        m_grid.GetValueRowCol(row + 1, Col(m_grid.m_nColPinName)) == summary.text;
    CGXStyle look;
    look.SetInterior(
        summary.text.IsEmpty() && summary.tip.IsEmpty()
            ? CGXBrush(RGB(255, 255, 255))
            : CGXBrush(CKXInstanceDetailsGridWnd::kConnectionHatch, RGB(255, 255, 255), RGB(255, 255, 255)));
    look.SetFont(CGXFont().SetItalic(italic ? TRUE : FALSE));
    look.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), summary.tip);
    look.SetUserAttribute(Id(IDS_UA_CELLTIP_TITLE), "Connection Details");
    GridWriteScope scope(m_grid);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColSignal)), look, gxOverride, 0, kNoUpdate, gxDo);
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

void KXPinGridSignalCells::ResetNoValueCell(ROWCOL row, BOOL bRedraw) {
    CGXStyle style;
    m_grid.GetStyleRowCol(row, Col(m_grid.m_nColPinName), style);
    if (!style.GetIncludeUserAttribute(Id(IDS_UA_VECTOR_GROUP))) return;
    const CString group = style.GetUserAttributeText(Id(IDS_UA_VECTOR_GROUP));
    CGXGridParam* pParam = m_grid.GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    // The vector row's own bit rows follow it; the rows of later vectors are theirs.
    for (ROWCOL r = row + 1; r <= m_grid.GetRowCount() && m_grid.GetRowParentOffset(r) == row; ++r) {
        CGXStyle child;
        m_grid.GetStyleRowCol(r, Col(m_grid.m_nColPinName), child);
        if (!child.GetIncludeUserAttribute(Id(IDS_UA_PLUSMINUS_BIT))) continue;
        m_grid.ApplySignalCellStyle(r, "", -1, 0, FALSE);
        m_grid.SetStyleRange(CGXRange(r, Col(m_grid.m_nColPinName)),
                             CGXStyle().SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1), gxOverride, 0,
                             kNoUpdate, gxDo);
        m_grid.SetStyleRange(CGXRange(r, Col(m_grid.m_nColTermination)), kxpingrid::EmptyStaticCell(),
                             gxOverride, 0, kNoUpdate, gxDo);
    }
    if (pParam) pParam->SetLockReadOnly(bLock);
    ROWCOL cr = 0, cc = 0;
    if (bRedraw && group == "2" && m_grid.GetCurrentCell(cr, cc)) m_grid.RedrawRowCol(cr, cc);
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

// ---------------------------------------------------------------------------
// The committed-transaction handler

LRESULT CKXInstanceDetailsGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!m_bRefreshOnCommit || !transaction || !m_designContext) return 0;
    m_refresh->ShowChanges(*transaction, KXChangeDigest(*transaction));
    return 0;
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
    m_refresh->ShowChanges(*transaction, digest);
    m_bShowingOpenEdit = showing;
    m_bCommitting = committing;
}

void CKXInstanceDetailsGridWnd::RefreshDiffPairNameCells(const IDPNet* pairNet) {
    m_refresh->RefreshDiffPairNameCells(pairNet);
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
