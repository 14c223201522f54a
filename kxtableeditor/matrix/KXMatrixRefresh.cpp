// Keeping the matrix in step with the design: every committed transaction,
// from any window, reaches the cells that show what it changed. The grid's own
// edits have written their cells already; connections made elsewhere (another
// grid, a script, an undo) are shown or emptied here, and renamed or removed
// nets and instances, properties, terminations and pull-ups follow.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXGridScopes.h"
#include "matrix/KXMatrixViewDlg.h"

#include "kxinstsigpane/KXTransaction.h"
#include "kxnotes/CComments.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <memory>
#include <vector>

using namespace kxmatrix;
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

namespace {

constexpr int kAdded = 1;
constexpr int kRemoved = 2;
constexpr int kChanged = 3;
constexpr int kMoved = 17;

bool SameDesign(IDesign* a, IDesign* b) {
    return a && b && CString(a->name()) == CString(b->name());
}

} // namespace

LRESULT CKXMatrixGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!transaction || !m_designContext) return 0;
    const KXChangeDigest digest(*transaction);
    GridWriteScope write(*this);
    LockUpdateScope lock(*this);
    digest.Dispatch(*this);
    return 0;
}

void CKXMatrixGridWnd::OnDigestBegin(const KXChangeDigest& digest) {
    // The grid's own edit wrote its cells; everything else (another window, an undo) is read here.
    m_bOwnCommit = m_bCommitting != 0 || CKXTransaction::GetGrid() == this;
    m_bPupdStale = digest.TouchesAny({'A'});
    m_bTerminationsStale = false;
    // An alias made or parted elsewhere changes the physical net names (and net properties) that reach a
    // net through it; alias chains reach further than the two nets named, so every signal row is read.
    m_bNamesStale = !m_bOwnCommit && digest.TouchesAny({'A'});
    m_bPinNumbersStale = false;
    m_stalePins.clear();
}

void CKXMatrixGridWnd::OnConnChange(const IChange& change, CConn& conn) {
    if (m_bOwnCommit || !SameDesign(change.design(), m_designContext.design())) return;
    CConn *removed1 = nullptr, *removed2 = nullptr, *added1 = nullptr, *added2 = nullptr;
    if (change.kind() == kMoved && change.getConns(removed1, removed2, added1, added2)) {
        for (CConn* c : {removed1, removed2})
            if (c) FillPinRows(*c, kRemoved);
        for (CConn* c : {added1, added2})
            if (c) FillPinRows(*c, kAdded);
    } else if (change.kind() == kRemoved) {
        FillPinRows(conn, kRemoved);
    } else if (change.kind() == kAdded) {
        FillPinRows(conn, kAdded);
    }
    // A pin that leaves a net may take its termination along.
    if (IInstTerm* pin = conn.instTerm())
        for (int bit : pin->bits())
            m_stalePins.emplace_back(pin->id(), bit);
}

void CKXMatrixGridWnd::OnNetChange(const IChange& change, INet& net) {
    if (!SameDesign(change.design(), m_designContext.design())) return;
    if (change.kind() == kRemoved)
        RemoveSignalRows(net.id());
    else if (change.kind() == kChanged)
        RefreshSignalNameCell(net.id());
}

void CKXMatrixGridWnd::OnInstanceChange(const IChange& change, IInstance& instance) {
    if (!SameDesign(change.design(), m_designContext.design())) return;
    const std::string name = instance.name();
    if (change.kind() == kAdded) {
        const CInstanceContext shown = m_designContext.instance(&instance);
        const auto withdrawn = m_withdrawnGroups.find(name);
        int at = -1;
        if (withdrawn != m_withdrawnGroups.end()) {
            at = withdrawn->second;
            m_withdrawnGroups.erase(withdrawn);
        } else if (shown) {
            // A component the stored view names that the design lacked when the view was loaded.
            at = StoredGroupOf(shown);
            if (at < 0) return;
        }
        if (shown) AddInstanceColumns(shown, at);
        return;
    }
    const int group = GroupOf(instance.id());
    if (group < 0) return;
    if (change.kind() == kRemoved) {
        RemoveGroup(group);
        m_withdrawnGroups[name] = group;
    } else if (change.kind() == kChanged)
        if (const CInstanceContext shown = m_designContext.instance(&instance)) RefreshInstanceHeader(group, shown);
}

void CKXMatrixGridWnd::OnTermChange(const IChange& change, ITerm& term) {
    // A pin renamed or given another type outside the grid (the schematic tool, an undo) shows so in
    // the rows of its bits.
    if (change.kind() != rmx::ChangeKind::Renamed && change.kind() != rmx::ChangeKind::PinTypeChanged) return;
    auto* pin = dynamic_cast<IInstTerm*>(&term);
    if (!pin || !pin->instance() || !SameDesign(change.design(), m_designContext.design())) return;
    if (const int group = GroupOf(pin->instance()->id()); group >= 0) RefreshPinRows(group, *pin);
}

void CKXMatrixGridWnd::OnComponentChange(const IChange&, IDTInstance& component) {
    // The grid's own edits rewrite the cells they change.
    if (m_bOwnCommit) return;
    if (component.assocKind() == IDTInstance::ePullUpDown)
        m_bPupdStale = true;
    else
        m_bTerminationsStale = true;
}

void CKXMatrixGridWnd::OnPropertyChange(const IChange&, CPropertyChange& property) {
    if (m_bOwnCommit) return;
    const CString name = property.name();
    // A value set for the first time, changed or cleared is shown alike.
    if (name.CompareNoCase("PN") == 0 || name.CompareNoCase("SEC") == 0) m_bPinNumbersStale = true;
    if (name.CompareNoCase(PHYS_NET_NAME) == 0) m_bNamesStale = true;
    // The location of an instance of another design, or of one the same commit removes, is none of
    // the shown headers' (instance numbers are the design's own).
    if (name.CompareNoCase("LOCATION") == 0)
        if (auto* instance = dynamic_cast<IInstance*>(property.owner()))
            if (const CInstanceContext shown = m_designContext.instance(instance))
                if (const int group = GroupOf(instance->id()); group >= 0) RefreshInstanceHeader(group, shown);
    // Property columns show the values of their keys.
    for (CKXColumnInfoClass* info : Layout().m_arrSignalColumns)
        if (info->m_nPropertyType != 0 && info->m_strPropertyName == name) m_bNamesStale = true;
    for (CKXColumnInfoClass* info : Layout().m_arrInstanceColumns)
        if (info->m_nPropertyType != 0 && info->m_strPropertyName == name) m_bPinNumbersStale = true;
}

void CKXMatrixGridWnd::OnDigestEnd(const KXChangeDigest&) {
    if (m_bNamesStale) RefreshPhysNetNames();
    if (m_bPinNumbersStale) RefreshInstTermCells();
    if (m_bTerminationsStale) {
        RefreshTerminations();
    } else {
        for (const auto& [pinId, bit] : m_stalePins)
            for (ROWCOL row : m_rowIndex.Rows(KXRowKey::PinBit(pinId, bit)))
                for (int g = 0; g < GroupCount(); ++g)
                    if (RowShowsPin(row, g, pinId, bit)) SetTerminationCellText(row, ColumnOf(g, Layout().m_nTerminationOffset));
    }
    m_stalePins.clear();
    if (m_bPupdStale) RefreshPupdCells({});
}

int CKXMatrixGridWnd::StoredGroupOf(const CInstanceContext& instance) const {
    if (!m_pMatrixViewData || !instance) return -1;
    std::vector<CString> paths;
    m_pMatrixViewData->GetMatrixComponentList(m_strViewName, paths);
    const CString wanted = ViewPathOf(instance, m_designContext);
    if (std::find(paths.begin(), paths.end(), wanted) == paths.end()) return -1;
    IServer* server =
        CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server();
    int at = 0;
    for (const CString& path : paths) {
        if (path == wanted) break;
        std::unique_ptr<CContext> context(ViewObjectOf(server, m_designContext, path));
        const auto* stored = dynamic_cast<const CInstanceContext*>(context.get());
        if (stored && *stored && GroupOf(stored->instance()->id()) >= 0) ++at;
    }
    return at;
}

// ------------------------------------------------------------------ refreshes

void CKXMatrixGridWnd::RefreshSignalNameCell(unsigned netId) {
    INet* net = m_designContext.design()->findNet(netId);
    if (!net) return;
    for (const CKXMatrixNetData& data : m_arrNetData) {
        if (data.netId != netId) continue;
        for (ROWCOL row : SignalRows(data.netId, data.bit))
            WriteCell(row, Layout().m_nNameCol, CGXStyle().SetValue(SignalName(net, data.bit)));
    }
}

void CKXMatrixGridWnd::RefreshPhysNetNames() {
    // A physical net name (or net property) reaches a net also through its aliases: every shown
    // signal is read again, not only the one that holds the changed property.
    for (const CKXMatrixNetData& data : m_arrNetData)
        RefreshPhysNetNameCell(data);
}

void CKXMatrixGridWnd::RefreshPhysNetNameCell(const CKXMatrixNetData& signal) {
    INet* net = m_designContext.design()->findNet(signal.netId);
    if (!net) return;
    for (ROWCOL row : SignalRows(signal.netId, signal.bit))
        WriteSignalCells(row, net, signal.bit);
}

void CKXMatrixGridWnd::RefreshInstTermCells() {
    for (int g = 0; g < GroupCount(); ++g)
        RefreshPinNumberColumn(g);
}

void CKXMatrixGridWnd::RefreshPinNumberColumn(int group) {
    const CInstanceContext instance = GroupInstance(group);
    if (!instance) return;
    const int pinCol = ColumnOf(group, Layout().m_nPinNameOffset);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row) {
        int bit = -1;
        IInstTerm* pin = GetCellInstTermBit(row, pinCol, bit);
        if (!pin) continue;
        const CInstTermBitContext context = instance.instTerm(pin).bitContext(bit);
        WriteConnectionCells(row, group, context, CellText(row, pinCol), context.physicalPinName());
    }
}

void CKXMatrixGridWnd::RefreshPinRows(int group, IInstTerm& pin) {
    const CInstTermContext context = GroupInstance(group).instTerm(&pin);
    for (int bit : pin.bits())
        for (ROWCOL row : m_rowIndex.Rows(KXRowKey::PinBit(pin.id(), bit)))
            if (RowShowsPin(row, group, pin.id(), bit)) {
                const CInstTermBitContext pinBit = context.bitContext(bit);
                WriteConnectionCells(row, group, pinBit, PinText(&pin, bit), pinBit.physicalPinName());
            }
}

void CKXMatrixGridWnd::RefreshTerminations() {
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
        for (int g = 0; g < GroupCount(); ++g)
            SetTerminationCellText(row, ColumnOf(g, Layout().m_nTerminationOffset));
}
