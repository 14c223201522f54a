// The pane's object information window: the components and signals the pane was asked to show are
// remembered there, their grids kept open up to the project's limit and shown again from its lists.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"

#include "pingrid/KXPinGrid.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxcommon/KXGenUtils.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <memory>

namespace {

std::string KeyText(CKXBottomPaneContainerView::ObjectKey key) {
    return std::to_string(key);
}

CString PropertyValue(CPQPropertyData* found) {
    std::unique_ptr<CPQPropertyData> prop(found);
    return prop ? CString(prop->value()) : CString();
}

// The reference designator of the part an instance is packaged in, as the design shows it in the
// window's context; empty when it is not packaged.
CString RefDesOf(const CInstanceContext& instance) {
    return instance ? PropertyValue(instance.findProperty("LOCATION")) : CString();
}

constexpr const char* kPhysNetName = "PHYS_NET_NAME";

// The physical net name set on the top-most bit carrying the signal (or on a bit aliased to it);
// empty when none is set.
CString PhysNetNameOf(const CNetBitContext& bit) {
    return bit ? PropertyValue(bit.base().findPropertyIncludingAliases(kPhysNetName)) : CString();
}

// What the signal list shows as a net's physical name: its bit's physical net name for a scalar net,
// the bus name for a vector.
CString PhysNameOfNet(const CNetContext& net) {
    const INet* n = net.net();
    if (!n) return CString();
    return n->isScalar() ? PhysNetNameOf(net.bitContext(n->lsb())) : CKXGenUtils::GetBusName(net);
}

// The bits of a range, either way round; none for a scalar net or a one-bit vector.
std::vector<int> BitsOfRange(int msb, int lsb) {
    std::vector<int> bits;
    if (msb == lsb || msb < 0 || lsb < 0) return bits;
    for (int bit = std::min(msb, lsb); bit <= std::max(msb, lsb); ++bit)
        bits.push_back(bit);
    return bits;
}

} // namespace

// The pane makes and drops the grids the window asks for.
class CKXPaneObjectInfoOwner final : public IKXObjectInfoOwner {
public:
    explicit CKXPaneObjectInfoOwner(CKXBottomPaneContainerView& pane) : m_pane(pane) {}
    CKXGridWnd* CreateObjectGrid(int kind, const std::string& key, int netBit) override {
        return m_pane.CreateObjectGrid(kind, key, netBit, FALSE);
    }
    CKXGridWnd* CreateGroupObjectGrid(int kind, const std::string& key, int netBit, BOOL) override {
        return m_pane.CreateObjectGrid(kind, key, netBit, TRUE);
    }
    void DestroyObjectGrid(CKXGridWnd* grid) override { m_pane.DestroyGrid(grid); }
    CString BitText(unsigned long long id, int column) override { return m_pane.NetBitRowText(id, column); }
    void AfterObjectsShown(const std::vector<CKXGridWnd*>& shown, CKXGridWnd* active) override {
        m_pane.AfterObjectInfoShown(shown, active);
    }
    void AfterObjectsChosen(int kind, const std::vector<const SKXObjectInfo*>& shown) override {
        m_pane.AfterObjectInfoChosen(kind, shown);
    }

private:
    CKXBottomPaneContainerView& m_pane;
};

CKXObjectInfoWnd& CKXBottomPaneContainerView::ObjectInfo() {
    if (!m_pObjectInfo) {
        auto owner = std::make_shared<CKXPaneObjectInfoOwner>(*this);
        auto window = std::make_shared<CKXObjectInfoWnd>();
        window->SetOwnerPane(owner.get());
        window->CreateInfoWnd(this);
        m_pObjectInfoOwner = owner;
        m_pObjectInfo = window;
    }
    return *m_pObjectInfo;
}

void CKXBottomPaneContainerView::ReadMaxOpenWindows() {
    ObjectInfo().ReadMaxOpenWindows();
}

int CKXBottomPaneContainerView::GetMaxOpenWindows() const {
    return m_pObjectInfo ? m_pObjectInfo->GetMaxOpenWindows() : CKXObjectInfoWnd::kDefaultMaxOpenWindows;
}

std::vector<CKXGridWnd*> CKXBottomPaneContainerView::ComponentWindows() const {
    return m_pObjectInfo ? m_pObjectInfo->OpenWindows(0) : std::vector<CKXGridWnd*>();
}

CKXGridWnd* CKXBottomPaneContainerView::FindComponentWindow(ObjectKey id) const {
    return m_pObjectInfo ? m_pObjectInfo->FindWindowById(KeyText(id), 0) : nullptr;
}

void CKXBottomPaneContainerView::CloseComponentWindow(UINT id) {
    if (!m_pObjectInfo) return;
    std::set<std::string> ids{KeyText(id)};
    const size_t shown = m_shownGrids.size();
    m_pObjectInfo->CloseObjectsHolding(ids, 0, TRUE);
    ForgetShownNamesIfNoneShown(shown);
}

// The design took away what the pane showed: with its last shown grid gone, the pane names nothing.
void CKXBottomPaneContainerView::ForgetShownNamesIfNoneShown(size_t shownBefore) {
    if (shownBefore == 0 || !m_shownGrids.empty()) return;
    m_shown.clear();
    m_shownKeys.clear();
}

std::set<std::string> CKXBottomPaneContainerView::SignalKeysOf(const std::set<DWORD_PTR>& netIds) const {
    std::set<std::string> keys;
    for (DWORD_PTR id : netIds) {
        const unsigned net = static_cast<unsigned>(id);
        keys.insert(KeyText(net));
        if (auto entry = m_registeredNets.find(net); entry != m_registeredNets.end())
            for (int bit : BitsOfRange(entry->second.range.msb, entry->second.range.lsb))
                keys.insert(KeyText(NetBitKey(net, bit)));
    }
    return keys;
}

// A net's row and grid, its bits' rows and grids and the groups that show any of them go with it.
void CKXBottomPaneContainerView::CloseSignalWindows(const std::set<DWORD_PTR>& netIds) {
    if (!m_pObjectInfo || netIds.empty()) return;
    const size_t shown = m_shownGrids.size();
    m_pObjectInfo->CloseObjectsHolding(SignalKeysOf(netIds), 1, TRUE);
    ForgetShownNamesIfNoneShown(shown);
}

// Costs a few look-ups per net and per bit: the list panes register every net of the design so. A net
// known already keeps its kept range and its rows: only FollowNetRange moves a range, so a list told of
// a commit before the pane leaves the pane the range the change started from.
void CKXBottomPaneContainerView::RegisterNet(const CDesignContext& design, INet* net) {
    const unsigned id = net->id();
    if (!m_registeredNets.try_emplace(id, RegisteredNet{net, {net->msb(), net->lsb()}}).second) return;
    std::vector<int> bits;
    if (net->msb() != net->lsb())
        for (int bit : net->bits())
            if (bit != -1) bits.push_back(bit);
    AddNetRows(net, design.net(net), TRUE, bits);
}

// A component placed while the window is open (or brought back by an undo) is offered by the
// component list as a new net is by the signal list. The physical view lists parts, which come with
// their reference designators.
void CKXBottomPaneContainerView::AddComponentById(IInstance* instance) {
    if (!instance || !instance->name() || GetViewMode() == eOpenModePhysical) return;
    ObjectInfo().AddObjectRow(KeyText(instance->id()), instance->name(), RefDesOf(PaneDesign().instance(instance)),
                              instance->cellName(), 0, 0);
}

void CKXBottomPaneContainerView::AddNetRows(INet* net, const CNetContext& context, BOOL withNet,
                                            const std::vector<int>& bits) {
    const unsigned id = net->id();
    CKXObjectInfoWnd& info = ObjectInfo();
    if (withNet) info.AddObjectRow(KeyText(id), OfferedName(net), PhysNameOfNet(context), "", 1, 0);
    // A bus's bits are remembered by runs of their keys: a wide bus costs what a narrow one costs
    // until its bits are shown.
    for (size_t at = 0; at < bits.size();) {
        const int step = at + 1 < bits.size() && bits[at + 1] == bits[at] - 1 ? -1 : 1;
        size_t end = at + 1;
        while (end < bits.size() && bits[end] == bits[end - 1] + step) ++end;
        info.AddBitRows(NetBitKey(id, bits[at]), static_cast<int>(end - at), step);
        at = end;
    }
}

// What the signal list shows of a bit remembered among its net's bits: its name and its physical net
// name, read when the row is shown.
CString CKXBottomPaneContainerView::NetBitRowText(ObjectKey key, int column) const {
    unsigned id = 0;
    int bit = -1;
    DecodeNetKey(key, id, bit);
    const CDesignContext design = PaneDesign();
    const CNetContext net = design ? design.net(id) : CNetContext();
    if (!net.net()) return CString();
    return column == 0 ? CSchemaUtilities::vectorName(net.net()->name(), bit) : column == 1 ? PhysNetNameOf(net.bitContext(bit)) : CString();
}

// A net never remembered by the object window (no record) gets no rows for the bits that came: its
// other bits have none either.
void CKXBottomPaneContainerView::FollowNetRange(INet* net) {
    const unsigned id = net->id();
    const NetRange now{net->msb(), net->lsb()};
    auto kept = m_registeredNets.find(id);
    const bool known = kept != m_registeredNets.end();
    const NetRange was = known ? kept->second.range : now;
    if (known) kept->second.range = now;
    if (!known || !m_pObjectInfo || (was.msb == now.msb && was.lsb == now.lsb)) return;
    const bool remembered = m_pObjectInfo->FindRecord(KeyText(id), 1) != nullptr;
    const std::vector<int> before = BitsOfRange(was.msb, was.lsb), after = BitsOfRange(now.msb, now.lsb);
    std::set<std::string> left;
    for (int bit : before)
        if (!std::binary_search(after.begin(), after.end(), bit)) left.insert(KeyText(NetBitKey(id, bit)));
    // A bus that became a single signal (or the other way round) is shown afresh: its grid showed the old shape.
    const bool reshaped = was.IsVector() != now.IsVector();
    if (reshaped) left.insert(KeyText(id));
    if (!left.empty()) m_pObjectInfo->CloseObjectsHolding(left, 1, TRUE);
    if (!remembered) return;
    std::vector<int> came;
    for (int bit : after)
        if (!std::binary_search(before.begin(), before.end(), bit)) came.push_back(bit);
    AddNetRows(net, PaneDesign().net(net), reshaped, came);
}

void CKXBottomPaneContainerView::RenameObjectInInfo(ObjectKey id, int kind, const CString& name) {
    if (m_pObjectInfo) m_pObjectInfo->RenameObject(KeyText(id), kind, name);
}

// A renamed or resized net's row and its bits' rows take its new names; a bus's physical name is its
// bus name, which follows both.
void CKXBottomPaneContainerView::RenameNetInInfo(INet* net) {
    if (!m_pObjectInfo) return;
    if (net->isScalar()) {
        m_pObjectInfo->RenameObject(KeyText(net->id()), 1, OfferedName(net));
        return;
    }
    const CString busName = CKXGenUtils::GetBusName(PaneDesign().net(net));
    m_pObjectInfo->RenameObject(KeyText(net->id()), 1, OfferedName(net), &busName);
    if (net->msb() != net->lsb())
        for (int bit : net->bits())
            m_pObjectInfo->RenameObject(KeyText(NetBitKey(net->id(), bit)), 1,
                                        CSchemaUtilities::vectorName(net->name(), bit));
}

// ------------------------------------------------------------------ show requests

// Shows the component windows of a key list: one window per instance, or one for the whole list when
// the request is a group. Windows already made for a key are shown again, not remade.
void CKXBottomPaneContainerView::ShowObjectInfo(const std::vector<ObjectKey>& keys, int kind) {
    m_strLastKeys = MakeKeyList(keys);
    m_nLastKind = kind;
    if (kind != 0 || keys.empty()) return;
    CKXObjectInfoWnd& info = ObjectInfo();
    const CDesignContext design = PaneDesign();
    info.SetGroupFlag(FALSE);
    info.SetShowModes(0, 0);
    for (ObjectKey id : keys) {
        const CInstanceContext inst = design && id <= UINT_MAX ? design.instance(static_cast<unsigned>(id))
                                                              : CInstanceContext();
        IInstance* object = inst.instance();
        const CString name = object ? CString(object->name()) : CString(KeyText(id).c_str());
        info.CreateObjectList(KeyText(id), name, RefDesOf(inst), object ? object->cellName() : "", 0, 0);
    }
    // The flag is the request's own: every component request sets it (the list's SelectGroup for a group,
    // its selection for components side by side), whatever a signal request before it left; so the
    // journal's SelectGroup right after a signal shows the group, as the session did.
    const BOOL group = m_bGroupFlag && keys.size() > 1;
    m_bGroupFlag = group; // the flag says how this request is shown
    info.SetGroupFlag(group);
    info.ShowObjectInfo(MakeKeyList(keys).str(), 0, 0, 0);
}

void CKXBottomPaneContainerView::ShowSignalObjects(const std::vector<CNetContext>& nets,
                                                   const std::vector<CNetBitContext>& bits) {
    CKXObjectInfoWnd& info = ObjectInfo();
    info.SetGroupFlag(FALSE);
    std::vector<ObjectKey> keys;
    const int netBits = bits.empty() ? 0 : 1;
    info.SetShowModes(0, netBits); // net bits are remembered without a row of the list
    for (const CNetContext& net : nets) {
        if (!net.net()) continue;
        keys.push_back(net.net()->id());
        info.CreateObjectList(KeyText(keys.back()), net.net()->name(), net.bitContext(-1).physicalNetName(), "", 1, 0);
    }
    for (const CNetBitContext& bit : bits) {
        INet* net = bit.net();
        if (!net) continue;
        ObjectKey key = net->id();
        if (net->msb() != net->lsb() && bit.bit() != -1) key = NetBitKey(net->id(), bit.bit());
        keys.push_back(key);
        const CString name = bit.bit() == -1 ? CString(net->name()) : CSchemaUtilities::vectorName(net->name(), bit.bit());
        info.CreateObjectList(KeyText(key), name, bit.physicalNetName(), "", 1, netBits);
    }
    if (keys.empty()) return;
    info.SetGroupFlag(keys.size() > 1);
    info.ShowObjectInfo(MakeKeyList(keys).str(), 1, 0, netBits);
}

CKXGridWnd* CKXBottomPaneContainerView::CreateObjectGrid(int kind, const std::string& key, int netBit, BOOL group) {
    if (kind == 0)
        return group ? CreateGroupComponentGrid(key.c_str())
                     : CreateComponentGrid(static_cast<UINT>(std::strtoul(key.c_str(), nullptr, 10)));
    if (group) return CreateGroupSignalGrid(key.c_str(), netBit);
    CKXGridWnd* made = CreateGrid(KXGridKind::Signal);
    if (made && !LoadSignalObjectGrid(made, key, netBit)) {
        DestroyGrid(made);
        made = nullptr;
    }
    return made;
}

CKXGridWnd* CKXBottomPaneContainerView::CreateGroupSignalGrid(const CString& keys, int netBit) {
    CKXGridWnd* made = CreateGrid(KXGridKind::Signal);
    if (made && !LoadSignalObjectGrid(made, keys.str(), netBit)) {
        DestroyGrid(made);
        made = nullptr;
    }
    return made;
}

BOOL CKXBottomPaneContainerView::LoadSignalObjectGrid(CKXGridWnd* made, const std::string& key, int netBit) {
    CKXSignalDetailsGridWnd* grid = SignalGridOf(made);
    const CDesignContext design = PaneDesign();
    if (!grid || !design) return FALSE;
    std::vector<CNetContext> nets;
    std::vector<CNetBitContext> bits;
    const std::vector<ObjectKey> parts = ParseKeyList(key.c_str());
    for (ObjectKey part : parts) {
        unsigned id = 0;
        int bit = -1;
        DecodeNetKey(part, id, bit);
        const CNetContext net = design.net(id);
        if (!net.net()) continue; // a net the design no longer has
        if (netBit)
            bits.push_back(net.bitContext(bit));
        else
            nets.push_back(net);
    }
    if (nets.empty() && bits.empty()) return FALSE;
    const bool group = parts.size() > 1;
    if (group && !bits.empty())
        grid->LoadNetBits(design, bits);
    else if (group)
        grid->LoadNets(design, nets);
    else if (!bits.empty())
        grid->AddNetBitRows(design, bits.front());
    else
        grid->AddNetRows(design, nets.front());
    return TRUE;
}

// Objects the user chose in the object window's own lists are what the pane shows now: its title,
// its Attach Signal row and the names it shows follow the kind chosen, as a show request sets them.
void CKXBottomPaneContainerView::AfterObjectInfoChosen(int kind, const std::vector<const SKXObjectInfo*>& shown) {
    SetPaneTitle(kind == 1 ? kShowsSignals : kShowsComponents);
    m_shown.clear();
    m_shownKeys.clear();
    // The logical view's instances and nets follow renames; a group's record names no one of them.
    const bool objects = GetViewMode() != eOpenModePhysical;
    for (const SKXObjectInfo* record : shown) {
        m_shown.push_back(record->name);
        ObjectKey id = 0;
        const auto [end, error] = std::from_chars(record->key.data(), record->key.data() + record->key.size(), id);
        if (objects && error == std::errc() && end == record->key.data() + record->key.size())
            m_shownKeys.push_back(id);
    }
    if (m_shownKeys.size() != m_shown.size()) m_shownKeys.clear();
    m_nLastKind = kind;
}

void CKXBottomPaneContainerView::AfterObjectInfoShown(const std::vector<CKXGridWnd*>& shown, CKXGridWnd* active) {
    m_shownGrids = shown;
    m_pActiveGrid = active;
    LayoutShownGrids();
    BOOL several = FALSE, same = FALSE;
    AfterShowObjects(several, same);
}
