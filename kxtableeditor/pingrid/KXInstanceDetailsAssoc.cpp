// The cells of the components attached to pins and nets: the termination text
// of a pin row and the pull-up/pull-down mark of its net, both read through
// the associated-components interface, and the termination of the selection.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "pingrid/KXPinGridUtil.h"
#include "grid/KXAssocCompSteps.h"
#include "grid/KXGridScopes.h"
#include "grid/KXPupdMark.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxsmall/ISysObjectServer.h"

#include <cstdlib>
#include <list>
#include <algorithm>
#include <utility>
#include <map>
#include <set>

using kxpingrid::Col;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;
using kxpingrid::GridWriteScope;

using kxpingrid::PairTerms;

CDesignContext CKXInstanceDetailsGridWnd::MasterDesign() const {
    return m_designContext2 ? m_designContext2 : m_designContext;
}

IInstTerm* CKXInstanceDetailsGridWnd::GetRowPinForAssoc(ROWCOL row, int& msb, int& lsb) {
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (pin || !IsPowerPinRow(row)) return pin;
    // A power-pin group row stands for the pin of its first child row.
    std::list<int> children;
    GetChildRows(row, children, -1);
    return children.empty() ? nullptr : GetRowInstTerm(static_cast<ROWCOL>(children.front()), msb, lsb);
}

void CKXInstanceDetailsGridWnd::WriteTerminationCell(ROWCOL row, const CString& type, const CString& tip,
                                                     BOOL enabled) {
    CGXStyle style;
    style.SetControl(Id(kxpingrid::TerminationCellControl(enabled != FALSE))).SetValue(type).SetReadOnly(TRUE).SetEnabled(enabled);
    style.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    // The cell keeps the level its row's fill gave it; a cell without one takes the pin name's.
    CGXStyle current;
    GetStyleRowCol(row, Col(m_nColTermination), current);
    if (!current.GetIncludeUserAttribute(Id(IDS_UA_ROW_LEVEL))) {
        CGXStyle name;
        GetStyleRowCol(row, Col(m_nColPinName), name);
        CString level = "noval";
        if (name.GetIncludeUserAttribute(Id(IDS_UA_ROW_LEVEL)))
            level = name.GetUserAttribute(Id(IDS_UA_ROW_LEVEL)).GetValue();
        style.SetUserAttribute(Id(IDS_UA_ROW_LEVEL), level);
    }
    kxgrid::GridWriteScope write(*this);
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), style, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::StyleAssocCompCells(ROWCOL row, int flag) {
    (void)flag;
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return;
    if (IsDiffPairRow(row)) {
        FillTerminationCell(row);
        return;
    }
    const CInstanceContext instance = GetRowInstance(row);
    if (instance && instance.containedDesign()) {
        // A block's pins carry no terminations here.
        WriteTerminationCell(row, CString(), CString(), FALSE);
        return;
    }
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowPinForAssoc(row, msb, lsb);
    if (!pin) return;
    CString tip;
    const CString type = RowTermination(pin, msb, lsb, tip);
    WriteTerminationCell(row, type, tip, TRUE);
    CString base, m, l;
    const bool child = GetCellVectorInfo(row, base, m, l) || IsPowerPinRow(row) || IsPowerPinChildRow(row);
    const ROWCOL parent = GetRowParentOffset(row);
    // A leg's termination is its own: the pair row above it shows the pair's.
    // A pair's legs (a lane's are bus bits too) leave the pair's row alone: it shows the pair's own.
    if (child && parent != GX_INVALID && parent > 0 && parent != row && !IsDiffPairRow(parent)) {
        // Bits of different types, or a bit without one: the bus row shows none, neither as text nor as
        // its tool tip.
        const CString shown = GetValueRowCol(parent, Col(m_nColTermination));
        if (shown.CompareNoCase(type) != 0) {
            CGXStyle clear;
            clear.SetValue("");
            clear.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), CString());
            kxgrid::GridWriteScope write(*this);
            SetStyleRange(CGXRange(parent, Col(m_nColTermination)), clear, gxOverride, 0, kNoUpdate, gxDo);
        }
    }
}

// The termination cells of the listed rows and of the rows they stand for: a pair row and, for a pair
// with member pairs, its member rows; a pin row and the bit rows below it.
void CKXInstanceDetailsGridWnd::RefreshExpandedRow(const CDWordArray& rows) {
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const auto row = static_cast<ROWCOL>(rows[i]);
        if (row < PIN_FIRST_ROW || row > GetRowCount()) continue;
        if (IsDiffPairRow(row)) {
            IDPInstTerm* pair = GetRowDPInstTerm(row);
            if (!pair) continue;
            FillTerminationCell(row);
            if (PairTerms(pair).front() == pair) continue; // no member pairs
            std::list<int> members;
            GetChildRows(row, members, 1);
            for (int member : members)
                FillTerminationCell(static_cast<ROWCOL>(member));
            continue;
        }
        int msb = -1, lsb = -1;
        GetRowInstTerm(row, msb, lsb);
        StyleAssocCompCells(row, 0);
        const int flag = msb != -1 && lsb != -1 && msb > lsb ? 1 : 0;
        // One row per bit, whichever way the pin's range runs; a scalar pin's one row below.
        const int bits = std::abs(msb - lsb) + 1;
        for (int k = 1; k <= bits && row + static_cast<ROWCOL>(k) <= GetRowCount(); ++k)
            StyleAssocCompCells(row + static_cast<ROWCOL>(k), flag);
    }
}

namespace {

// A pin bit's components belong to the pin's design: one without any has none to ask for.
bool DesignHasNoComponents(const IInstTerm* pin) {
    const IDesign* home = pin->design();
    return home && home->dtInstanceCount() == 0;
}

} // namespace

CString CKXInstanceDetailsGridWnd::RowTermination(IInstTerm* pin, int msb, int lsb, CString& tip) {
    if (DesignHasNoComponents(pin)) {
        tip.Empty();
        return CString();
    }
    CString type = PinTermination(pin, lsb, tip);
    // A whole bus row shows the type its bits share, or none.
    const bool wholeBus = msb != lsb || (msb < 0 && pin->msb() != pin->lsb());
    const int low = msb != lsb ? std::min(msb, lsb) : std::min(pin->msb(), pin->lsb());
    const int high = msb != lsb ? std::max(msb, lsb) : std::max(pin->msb(), pin->lsb());
    for (int bit = low; wholeBus && bit <= high && !type.IsEmpty(); ++bit) {
        CString bitTip;
        if (PinTermination(pin, bit, bitTip).CompareNoCase(type) != 0) type.Empty();
    }
    if (type.IsEmpty()) tip.Empty();
    return type;
}

CString CKXInstanceDetailsGridWnd::PinTermination(IInstTerm* pin, int bit, CString& tip) {
    CString type;
    tip.Empty();
    if (DesignHasNoComponents(pin)) return type;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    const CInstTermBit saved = api->getInstTermBit();
    const CInstTermBit pinBit = pin->bit(bit);
    // An unconnected pin shows no termination, whatever the library holds.
    if (pinBit && pinBit.netbitOuter()) {
        // GetAssocCompAPI set the grid's own design already; a master design replaces it.
        if (m_designContext2) api->setDesignContext(m_designContext2);
        api->setInstTermBit(pinBit);
        type = api->getAppliedAssocCompType(CKXAssocCompAPI::TERMINATION);
        if (!type.IsEmpty()) tip = api->getDisplayText(CKXAssocCompAPI::TERMINATION);
    }
    api->setInstTermBit(saved);
    return type;
}

IDTInstance* CKXInstanceDetailsGridWnd::GetSelectedRowTermination() {
    CRowColArray rows;
    if (GetSelectedRows(rows, FALSE, TRUE) != 1) return nullptr;
    const ROWCOL row = rows[0];
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return nullptr;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    api->setDesignContext(MasterDesign());
    if (IsDiffPairRow(row)) {
        for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
            api->setDPInstTermBit(term);
            if (IDTInstance* dt = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return dt;
        }
        return nullptr;
    }
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowPinForAssoc(row, msb, lsb);
    if (!pin) return nullptr;
    api->setInstTermBit(pin->bit(lsb));
    return api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
}

BOOL CKXInstanceDetailsGridWnd::HasTermination() {
    return GetSelectedRowTermination() ? TRUE : FALSE;
}

// Hands every termination on the selected pin bits and pair pins to the system-object server; TRUE when any
// of them made the server do something (so that its caller commits that work too).
bool CKXInstanceDetailsGridWnd::GetAssociatedInstance(CTransaction* transaction) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!server) return false;
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    CKXAssocCompAPI* api = GetAssocCompAPI();
    CDesignContext master = MasterDesign();
    bool any = false;
    auto hand = [&](IDTInstance* dt) {
        if (dt && server->HandleAssociatedInstance(&master, dt, transaction)) any = true;
    };
    for (ROWCOL row : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
        if (!pin || msb != lsb) continue;
        api->setInstTermBit(pin->bit(lsb));
        hand(api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION));
    }
    for (ROWCOL row : selected) {
        if (row < PIN_FIRST_ROW || row > GetRowCount() || IsRowHidden(row) || !IsDiffPairRow(row)) continue;
        for (IDPInstTerm* term : PairTerms(GetRowDPInstTerm(row))) {
            api->setDPInstTermBit(term);
            hand(api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION));
        }
    }
    return any;
}

void KXPinGridPupdColumn::SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp,
                                           bool aliasDown) {
    const KXPupdMark mark = KXPupdMarkOf(localUp, localDown, aliasUp, aliasDown);
    kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPupd)),
                         m_grid.m_fillStyles.Pupd(mark.control, mark.toolTip), gxOverride, 0, kNoUpdate,
                         gxDo);
}

void KXPinGridPupdColumn::SetPupdCellStyle(ROWCOL row, const PUPDSTRUCTURE& state) {
    SetPupdCellStyle(row, state.bLocalPullUp, state.bLocalPullDown, state.bAliasPullUp, state.bAliasPullDown);
}

// The pull-up/pull-down state of a net bit: asked of the library the first time within one fill,
// then taken from the net's list in the cache.
PUPDSTRUCTURE KXPinGridPupdColumn::PupdStateOf(PupdCache& cache, INet* net, int bit) {
    // The net's list is kept in bit order, so that a wide bus's bits are found by a binary search.
    std::vector<PUPDSTRUCTURE>& known = cache[net->id()];
    const auto nBit = static_cast<short>(bit);
    const auto at = std::lower_bound(known.begin(), known.end(), nBit,
                                     [](const PUPDSTRUCTURE& state, short b) { return state.nBit < b; });
    if (at != known.end() && at->nBit == nBit) return *at;
    PUPDSTRUCTURE state;
    state.nBit = nBit;
    m_grid.GetAssocCompAPI()->GetPupdInfoOnThisNet(m_grid.m_designContext.net(net).bitContext(bit),
                                                   state.bLocalPullUp, state.bLocalPullDown,
                                                   state.bAliasPullUp, state.bAliasPullDown);
    known.insert(at, state);
    return state;
}

void CKXInstanceDetailsGridWnd::FillPupdColumn(std::set<unsigned> netIds) {
    if (!m_designContext) return;
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    kxpingrid::UpdateLockScope lock(*this);
    CKXAssocCompAPI* api = GetAssocCompAPI();
    api->setDesignContext(MasterDesign());
    // Every row, or the rows that show (or showed, before this change) one of the nets.
    const std::vector<ROWCOL> rows = netIds.empty() ? m_pupdColumn->RowsLeftForPupd() : RowsOfNets(netIds);
    // The library is asked once per net bit of this call, and not at all in a design without any pull-up
    // or pull-down (no net bit of it carries a mark, nor does an alias of one).
    KXPinGridPupdColumn::PupdCache asked;
    const bool anyPull = KXPinGridPupdColumn::HasPullComponents(m_designContext.design());
    if (!anyPull && netIds.empty()) {
        m_pupdColumn->ClearPupdColumn(rows);
        return;
    }
    for (ROWCOL r : rows) {
        if (r < PIN_FIRST_ROW || r > GetRowCount() || IsDiffPairRow(r)) continue;
        int msb = -1, lsb = -1;
        INet* net = GetRowNet(r, msb, lsb);
        if (!net) {
            // A row without a net carries no mark, whichever nets were asked for.
            m_pupdColumn->SetPupdCellStyle(r, PUPDSTRUCTURE{});
            continue;
        }
        if (!netIds.empty() && !netIds.count(net->id())) continue;
        // A row shows the mark of its one net bit; a row over several bits shows none.
        m_pupdColumn->SetPupdCellStyle(r, msb == lsb && anyPull ? m_pupdColumn->PupdStateOf(asked, net, msb)
                                                                : PUPDSTRUCTURE{});
        m_pupdColumn->ApplyPupdParentRule(r);
    }
}

std::vector<ROWCOL> KXPinGridPupdColumn::RowsLeftForPupd() {
    std::vector<ROWCOL> filled = std::exchange(m_pupdFilledRows, {});
    // The fill writes its rows top down, so they mostly come sorted already.
    if (!std::is_sorted(filled.begin(), filled.end())) std::sort(filled.begin(), filled.end());
    std::vector<ROWCOL> rows;
    auto next = filled.begin();
    for (ROWCOL r = PIN_FIRST_ROW, last = m_grid.GetRowCount(); r <= last; ++r) {
        while (next != filled.end() && *next < r) ++next;
        if (next == filled.end() || *next != r) rows.push_back(r);
    }
    return rows;
}

// Without any pull-up or pull-down in the design every row shows no mark, and so does every pair row
// above a leg row with a net (the other parent rows show none of their own already): no row's net
// needs to be read from its signal text, except a leg's.
void KXPinGridPupdColumn::ClearPupdColumn(const std::vector<ROWCOL>& rows) {
    for (ROWCOL r : rows) {
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount() || m_grid.IsDiffPairRow(r)) continue;
        SetPupdCellStyle(r, PUPDSTRUCTURE{});
        const ROWCOL parent = m_grid.GetRowParentOffset(r);
        if (parent == GX_INVALID || parent == 0 || !m_grid.IsDiffPairRow(parent)) continue;
        int msb = -1, lsb = -1;
        if (m_grid.GetRowNet(r, msb, lsb)) ApplyPupdParentRule(r);
    }
}

bool KXPinGridPupdColumn::HasPullComponents(IDesign* design) {
    if (!design) return false;
    for (IDTInstance* dt : design->beginDTInstance())
        if (dt && dt->isAlive() && dt->assocKind() == IDTInstance::ePullUpDown) return true;
    return false;
}

// A child row whose mark is none, or differs from its parent's, clears the parent's mark.
void KXPinGridPupdColumn::ApplyPupdParentRule(ROWCOL row) {
    const ROWCOL parent = m_grid.GetRowParentOffset(row);
    if (parent == GX_INVALID || parent == 0) return;
    const auto mine = m_grid.StoredCell(row, Col(m_grid.m_nColPupd)).GetControl();
    const CGXStyle& their = m_grid.StoredCell(parent, Col(m_grid.m_nColPupd));
    if (mine != IDS_CTRL_PUPD_NONE && mine == their.GetControl()) return;
    // A parent the rule cleared already (for an earlier bit) is written the same again: left as it is.
    const CGXStyle& none = m_grid.m_fillStyles.Pupd(IDS_CTRL_PUPD_NONE, "");
    const WORD tip = Id(IDS_UA_TOOLTIPTEXT);
    if (their.GetIncludeControl() && their.GetControl() == none.GetControl() && their.GetIncludeReadOnly() &&
        their.GetReadOnly() && their.GetIncludeUserAttribute(tip) && their.GetUserAttributeText(tip).IsEmpty())
        return;
    SetPupdCellStyle(parent, false, false, false, false);
}

CKXInstanceDetailsGridWnd* CKXInstanceDetailsGridWnd::m_pCurrentGrid = nullptr;

CTransaction* CKXInstanceDetailsGridWnd::CreateAssocCompTransaction(CString name) {
    return m_pCurrentGrid ? m_pCurrentGrid->RenewAssocCompTransaction(name) : nullptr;
}

// A step of the library's dialog asks for the transaction to go on in. The grid's edit bracket
// holds the one transaction of the edit, so that the dialog's work is one undo step: the library
// gets that transaction back (an added termination handed to the system-object server in it).
CTransaction* CKXInstanceDetailsGridWnd::RenewAssocCompTransaction(CString name) {
    return KXAssocCompStepTransaction(*this, name, [this](CTransaction* t) { GetAssociatedInstance(t); });
}
