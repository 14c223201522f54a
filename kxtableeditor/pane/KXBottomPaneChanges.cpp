// The connectivity pane follows the design: committed transactions keep its
// windows and registries current (each grid refreshes its own rows), and
// resolved violations become steps of an undo history.
#include "pane/KXBottomPaneContainerView.h"

#include "matrix/KXMatrixViewDlg.h"
#include "pane/KXObjectInfoWnd.h"
#include "pingrid/KXPinGrid.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxinstsigpane/KXUndoCmd.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <set>
#include <string>
#include <unordered_set>

namespace {

// Designs are told apart by the name of their cell.
bool SameCell(const IDesign* a, const IDesign* b) {
    return a && b && CString(a->cellName()) == b->cellName();
}

// The text by which the pane shows a net, or a bit of it, in the form it showed it before: a path, a
// bus with its range, a bit, or the net's name.
CString ShownNetText(const CDesignContext& design, INet& net, int bit, const CString& before) {
    if (before.Left(1) == "@") return design.net(&net).bitContext(bit).spath();
    if (bit != -1) return CSchemaUtilities::vectorName(net.name(), bit);
    return before.Right(1) == ">" ? CKXBottomPaneContainerView::OfferedName(&net) : CString(net.name());
}

} // namespace

void CKXBottomPaneContainerView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    ReadMaxOpenWindows();
    CreateAttachControls();
    ShowAttachSignalControls(FALSE);
    // Every net the design has now counts as known, with its range; later ones come with the transactions.
    if (PaneDesign().design())
        for (const CNetContext& net : PaneDesign().nets())
            if (INet* n = net.net(); n && !m_registeredNets.count(n->id())) {
                m_registeredNets[n->id()] = {n, {n->msb(), n->lsb()}};
            }
    Subscribe();
    m_bNotInitialized = FALSE;
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
}

void CKXBottomPaneContainerView::Subscribe() {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server || m_hSubscribed || !GetSafeHwnd()) return;
    for (UINT msg : {MSG_TRANSACTION_COMMITTED, MSG_ASSOC_COMP_CHANGED, MSG_VIOLATION_RESOLVED,
                     MSG_CLEAR_UNDO, MSG_DESIGN_UNDO_RESET})
        server->RegisterWindow(msg, GetSafeHwnd());
    m_hSubscribed = GetSafeHwnd();
}

void CKXBottomPaneContainerView::Unsubscribe() {
    if (!m_hSubscribed) return;
    if (IKXMessageServer* server = GetKXMsgSrvr()) server->UnregisterWindow(m_hSubscribed);
    m_hSubscribed = nullptr;
}

CString CKXBottomPaneContainerView::OfferedName(const INet* net) {
    if (net->msb() == -1 && net->lsb() == -1) return net->name();
    return net->msb() == net->lsb() ? CSchemaUtilities::vectorName(net->name(), net->msb())
                                    : CSchemaUtilities::vectorName(net->name(), net->msb(), net->lsb());
}

void CKXBottomPaneContainerView::AddNet(INet* net) {
    if (net) RegisterNewNets({net});
}

// A row of the object window costs some thousand instructions: made for the whole design at every
// opening, the rows of a ten-thousand-pin design would cost four times what opening it costs now.
void CKXBottomPaneContainerView::AddNets(const std::vector<INet*>& nets) {
    for (INet* net : nets)
        if (net) m_registeredNets.try_emplace(net->id(), RegisteredNet{net, {net->msb(), net->lsb()}});
    // A user sees a few entries of the lists, if any: their thousands wait until a list is first used.
    m_waitingNets.insert(m_waitingNets.end(), nets.begin(), nets.end());
    const auto offer = [this] { OfferWaitingNets(); };
    m_AttachSignalCombo.SetPendingFill(offer);
    m_pSignalDropList->SetPendingFill(offer);
}

void CKXBottomPaneContainerView::OfferWaitingNets() {
    if (m_waitingNets.empty()) return;
    const std::vector<INet*> nets = std::move(m_waitingNets);
    m_waitingNets.clear();
    m_AttachSignalCombo.SetPendingFill(nullptr);
    m_pSignalDropList->SetPendingFill(nullptr);
    OfferNets(nets);
}

void CKXBottomPaneContainerView::RegisterNewNets(const std::vector<INet*>& nets) {
    const CDesignContext design = PaneDesign();
    for (INet* net : nets)
        if (net) RegisterNet(design, net);
    OfferNets(nets);
}

// The signal lists take all of a commit's new nets in one merge, so a transaction that makes
// thousands of nets costs what a sort of them costs.
void CKXBottomPaneContainerView::OfferNets(const std::vector<INet*>& nets) {
    OfferWaitingNets(); // in the order they came
    std::vector<CAfxItemList::NewItem> offered;
    std::unordered_set<std::string> seen; // upper-case texts offered by this call
    for (INet* net : nets) {
        if (!net) continue;
        CString display = OfferedName(net);
        // A net offered by this very text has its entry (the offered texts mirror the lists' net
        // entries): no search of the list for it, as a refill of the signal lists passes every net.
        if (const auto offered = m_offeredText.find(net->id());
            offered != m_offeredText.end() && offered->second == display)
            continue;
        CString key = display;
        key.MakeUpper();
        if (m_AttachSignalCombo.FindStringExact(-1, display) >= 0 || !seen.insert(key.str()).second) continue;
        offered.push_back({display, net->id()});
    }
    AddSignalListEntries(std::move(offered));
}

LRESULT CKXBottomPaneContainerView::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!transaction) return 0;
    if (!transaction->modifiesObjectType('N') && !transaction->modifiesObjectType('I') &&
        !transaction->modifiesObjectType('P') && !transaction->modifiesObjectType('O'))
        return 0;
    IDesign* mine = PaneDesign().design();
    // Deleted nets are closed after every other change, so a rename in between still applies; added and
    // changed nets are offered together once the walk is done.
    std::set<unsigned> deletedIds, changedIds;
    bool sync = false; // the registered nets are checked against the design once the walk is done
    std::vector<INet*> deletedNets, addedNets, changedNets;
    std::vector<kxmatrix::KXRename> renamed; // every net and instance rename, in order
    bool redraw = false;
    for (IChange* change : transaction->beginChange()) {
        ISchemaObject* object = change ? change->object() : nullptr;
        if (!object || !change->design()) continue;
        if (!SameCell(change->design(), mine)) {
            // Aliases changed elsewhere in the hierarchy may join or part this design's nets.
            if (change->objectType() == 'N' && change->kind() == 9) sync = true;
            continue;
        }
        switch (change->objectType()) {
        case 'I':
            if (object->objectType() == 'I' && change->kind() == 3 && *change->previousName())
                renamed.push_back({nullptr, static_cast<IInstance*>(object), change->previousName()});
            if (object->objectType() == 'I' && !mine->isHidden(static_cast<IInstance*>(object)) &&
                FollowInstanceChange(change->kind(), static_cast<IInstance*>(object), sync))
                redraw = true;
            break;
        case 'N': {
            if (object->objectType() != 'N') break;
            auto* net = static_cast<INet*>(object);
            const int kind = change->kind();
            if (kind == 2 && deletedIds.insert(net->id()).second)
                deletedNets.push_back(net);
            else if (kind == 1)
                addedNets.push_back(net);
            else if ((kind == 3 || kind == 10) && changedIds.insert(net->id()).second)
                changedNets.push_back(net);
            if (kind == 3 && *change->previousName())
                renamed.push_back({net, nullptr, change->previousName()});
            if (kind == 1 || kind == 2 || kind == 3 || kind == 10) redraw = true;
            break;
        }
        case 'O':
            if (FollowPairChange(change->kind(), static_cast<IDPNet*>(object))) redraw = true;
            break;
        case 'P':
            if (FollowPropertyChange(*change)) redraw = true;
            break;
        default:
            break;
        }
    }
    RegisterNewNets(addedNets);
    // The stored matrix views keep nets and instances by name: renamed, they stay in them by the new name.
    if (CComments* store = GetCommentStore())
        kxmatrix::FollowRenames(*store->GetMatrixViewData(), PaneDesign(), renamed);
    OnNetChanged(changedNets);
    CloseDeletedNets(deletedNets);
    if (sync) {
        SyncNetsWithDesign();
        redraw = true;
    }
    if (redraw) RedrawWindow(nullptr, nullptr, 0x185);
    return 0;
}

bool CKXBottomPaneContainerView::FollowInstanceChange(int kind, IInstance* inst, bool& sync) {
    if (kind == 2) {
        CloseComponentWindow(inst->id());
    } else if (kind == 1) {
        AddComponentById(inst);
    } else if (kind == 3) {
        if (auto* pin = PinGridOf(FindComponentWindow(inst->id()))) pin->UpdateHeaderCaption();
        for (CKXGridWnd* g : ComponentWindows())
            if (auto* pin = PinGridOf(g))
                pin->RefreshInstanceCells(static_cast<int>(inst->id()));
        if (m_pObjectInfo)
            for (CKXGridWnd* g : m_pObjectInfo->OpenWindows(1))
                if (CKXSignalDetailsGridWnd* signal = SignalGridOf(g)) signal->RefreshInstanceNameCells(inst);
        RenameObjectInInfo(inst->id(), 0, inst->name());
        // The name shown for it follows.
        for (size_t i = 0; m_nLastKind == 0 && i < m_shownKeys.size() && i < m_shown.size(); ++i)
            if (m_shownKeys[i] == inst->id()) m_shown[i] = inst->name();
    }
    // A block placed, removed or changed with its master may bring or take nets.
    if (inst->containedDesign() && (kind == 1 || kind == 2 || kind == 11 || kind == 12)) sync = true;
    return kind == 1 || kind == 2 || kind == 3;
}

bool CKXBottomPaneContainerView::FollowPairChange(int kind, IDPNet* pair) {
    if (!pair) return false;
    if (kind == 2)
        RemoveDiffPairEntry(pair);
    else if (kind == 1)
        AddDiffPairEntry(pair);
    else if (kind == 3 || kind == 10)
        UpdateDiffPairEntry(pair);
    else
        return false;
    return true;
}

void CKXBottomPaneContainerView::CloseDeletedNets(const std::vector<INet*>& nets) {
    std::set<DWORD_PTR> ids;
    for (INet* net : nets)
        if (net) ids.insert(net->id());
    OnNetDeleted(ids);
}

// The windows go first: the kept ranges name the bits whose windows go with their nets.
void CKXBottomPaneContainerView::OnNetDeleted(const std::set<DWORD_PTR>& ids) {
    if (ids.empty()) return;
    CloseSignalWindows(ids);
    for (DWORD_PTR id : ids)
        m_registeredNets.erase(static_cast<unsigned>(id));
    RemoveNetFromLists(-1, &ids);
}

// Each changed net leaves the lists under the name it was offered by and comes back under its new
// one; the object window names it so too and follows a change of its range.
void CKXBottomPaneContainerView::OnNetChanged(const std::vector<INet*>& nets) {
    if (nets.empty()) return;
    std::set<DWORD_PTR> ids;
    for (INet* net : nets)
        if (net) ids.insert(net->id());
    RemoveNetFromLists(-1, &ids);
    OfferNets(nets);
    for (INet* net : nets)
        if (net) {
            FollowNetRange(net);
            RenameNetInInfo(net);
        }
    // The names shown for them follow, each in the form it was shown in.
    const CDesignContext design = PaneDesign();
    for (size_t i = 0; m_nLastKind == 1 && design && i < m_shownKeys.size() && i < m_shown.size(); ++i) {
        unsigned id = 0;
        int bit = -1;
        DecodeNetKey(m_shownKeys[i], id, bit);
        if (INet* net = ids.count(id) ? design.design()->findNet(id) : nullptr)
            m_shown[i] = ShownNetText(design, *net, bit, m_shown[i]);
    }
}

void CKXBottomPaneContainerView::SyncNetsWithDesign() {
    const CDesignContext design = PaneDesign();
    if (!design.design()) return;
    std::set<unsigned> present;
    std::vector<INet*> added;
    for (const CNetContext& net : design.nets()) {
        INet* n = net.net();
        if (!n) continue;
        present.insert(n->id());
        if (!m_registeredNets.count(n->id())) added.push_back(n);
    }
    // A registered net the design no longer has is known by its id only: its object may be gone.
    std::set<DWORD_PTR> gone;
    for (const auto& entry : m_registeredNets)
        if (!present.count(entry.first)) gone.insert(entry.first);
    OnNetDeleted(gone);
    RegisterNewNets(added);
}

LRESULT CKXBottomPaneContainerView::OnResolveViolation(WPARAM wParam, LPARAM lParam) {
    RecordOutsideChange(reinterpret_cast<CTransaction*>(wParam), "Resolve Violation");
    RecordOutsideChange(reinterpret_cast<CTransaction*>(lParam), "Resolve Violation");
    return 0;
}

LRESULT CKXBottomPaneContainerView::OnAssocCompChanged(WPARAM, LPARAM lParam) {
    RecordOutsideChange(reinterpret_cast<CTransaction*>(lParam), "Change Assoc Comp");
    return 0;
}
