// The physical part grid after a committed transaction: rows of package pins
// whose pin numbers changed are read again (a section change reloads the part),
// and so are the rows of pins whose physical net changed; custom property columns
// of a changed property are filled again, and the model cells of pins whose model
// another window changed are restyled.
#include "grid/KXGridScopes.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

} // namespace

bool CKXPhysPartDetailsGridWnd::ShowsPart(const CString& package) const {
    if (package.IsEmpty()) return false;
    return m_bObjectLoaded ? m_mapShownParts.count(package) != 0 : package == m_strRefDes;
}

void CKXPhysPartDetailsGridWnd::OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) {
    // Pin numbers: the rows of the old and the new number are read again; a section change moves
    // the instance's pins, so its part is read again as a whole.
    std::map<CString, std::set<CString>> numbers;
    std::set<CString> reload;
    std::set<CString> properties; // of the custom property columns to fill again
    std::vector<CString> models;  // pins whose model changed
    for (const KXPhysPropertyChange& c : changes) {
        if (!ShowsPart(c.package)) {
            // A net has no package: its columns are filled again all the same.
            if (c.ownerKind == 3) properties.insert(c.name);
            continue;
        }
        if (c.Is("PN") && c.ValueChanged()) {
            if (!c.oldValue.IsEmpty()) numbers[c.package].insert(c.oldValue);
            if (!c.newValue.IsEmpty()) numbers[c.package].insert(c.newValue);
        } else if (c.Is("SEC") && c.ValueChanged()) {
            reload.insert(c.package);
        }
        if (c.ownerKind) properties.insert(c.name);
        if (c.Is("PIN_SIGNAL_MODEL") && (c.newValue.IsEmpty() || c.newValue.CompareNoCase(c.oldValue) != 0))
            models.push_back(c.path);
    }
    for (const CString& part : reload) {
        numbers.erase(part);
        m_strLoadedRefDes = part;
        ReloadPartPins();
    }
    for (const auto& [part, set] : numbers)
        RefreshPinRows(part, set);
    RefillPropertyColumns(properties);
    // Models changed elsewhere: this grid restyles its own edits itself.
    // (An undo replays the design change only: the grid restyles its cells from the design then.)
    const bool own =
        m_bCommitting || (CKXTransaction::IsTransactionStarted() && CKXTransaction::GetGrid() == this);
    if (!own)
        for (const CString& path : models)
            RefreshModelCellsOfPin(path);
}

void CKXPhysPartDetailsGridWnd::RefreshRowsByName(CString refDes) {
    if (refDes.CompareNoCase(m_strRefDes) == 0) RestyleModelCells();
}

void CKXPhysPartDetailsGridWnd::RestyleModelCells() {
    const BOOL locked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r)
        SetSignalModelCellStyle(r);
    if (param) param->EnableUndo(undo);
    LockUpdate(locked);
    Redraw(2, 1);
}

void CKXPhysPartDetailsGridWnd::FillPropertyColumn(CString property, int kind, ROWCOL col, ROWCOL row) {
    kxgrid::GridWriteScope write(*this);
    const ROWCOL first = row == static_cast<ROWCOL>(-1) ? kPartFirstRow : row;
    const ROWCOL last = row == static_cast<ROWCOL>(-1) ? GetRowCount() : row;
    for (ROWCOL r = first; r <= last && r <= GetRowCount(); ++r) {
        CInstTermBitContext bit;
        if (!GetInstTermOfRow(r, &bit)) continue;
        CString value;
        if (kind == 1) {
            CInstanceContext inst = bit.instance();
            std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, &inst));
            if (const char* v = part ? part->getProperty(property.GetString(), true) : nullptr) value = v;
        } else if (kind == 2) {
            std::unique_ptr<CPQPropertyData> p(bit.findProperty(property.GetString(), true));
            if (p) value = p->value();
        } else if (kind == 3) {
            const CNetBitContext net = bit.netbitInner();
            std::unique_ptr<CPQPropertyData> p(net ? net.findProperty(property.GetString(), true) : nullptr);
            if (p) value = p->value();
        }
        SetStyleRange(
            CGXRange(r, col),
            CGXStyle().SetValue(value).SetControl(static_cast<WORD>(kStaticControl)).SetReadOnly(TRUE),
            gxOverride, 0, kNoUpdate);
    }
}

// ---------------------------------------------------------------------------
// Signals of the pins: a package pin's physical net is the net its logical pin bit reaches at the top
// of the hierarchy. A commit that joins a pin to a net or parts it, renames a net, changes its aliases
// or its physical name changes the nets of the pins on it; their rows are read again, each found
// through its part and pin number.

namespace {

// The pin bits a connection covers (the scalar pin: -1).
std::vector<int> PinBitsOf(const CConn& conn) {
    const int msb = conn.instTermMsb(), lsb = conn.instTermLsb();
    if (msb < 0 || lsb < 0) return {-1};
    std::vector<int> bits;
    for (int b = std::min(msb, lsb); b <= std::max(msb, lsb); ++b)
        bits.push_back(b);
    return bits;
}

} // namespace

const std::vector<CInstanceContext>* CKXPhysPartDetailsGridWnd::ShownContextsOf(const IInstance* instance) {
    if (m_bShownInstancesStale) {
        m_bShownInstancesStale = false;
        m_shownInstances.clear();
        auto add = [this](const CString& refDes) {
            std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, refDes.GetString()));
            if (part)
                for (const CInstanceContext& inst : part->logicalInstances())
                    m_shownInstances[inst.instance()].push_back(inst);
        };
        if (m_bObjectLoaded)
            for (const CString& refDes : m_mapShownParts)
                add(refDes);
        else if (!m_strRefDes.IsEmpty())
            add(m_strRefDes);
    }
    const auto it = m_shownInstances.find(instance);
    return it == m_shownInstances.end() ? nullptr : &it->second;
}

void CKXPhysPartDetailsGridWnd::NoteSignalOfPin(const IInstTerm* pin, int bit) {
    if (!pin || !pin->isAlive() || !m_signalPinBitsSeen.emplace(pin, bit).second) return;
    const IInstance* instance = pin->instance();
    if (!instance || !instance->isAlive()) return;
    if (instance->isBlock()) {
        // The pins inside on the block's port net reach the top through this pin.
        if (const CNetBit inner = CInstTermBit(pin, bit).netbitInner()) NoteSignalsOfNetBit(inner);
        return;
    }
    const std::vector<CInstanceContext>* contexts = ShownContextsOf(instance);
    if (!contexts) return;
    for (const CInstanceContext& inst : *contexts) {
        const char* part = inst.physicalPackageName();
        const CString number = inst.instTerm(pin).bitContext(bit).physicalPinName();
        if (part && !number.IsEmpty()) m_signalPinsToRead[part].insert(number);
    }
}

void CKXPhysPartDetailsGridWnd::NoteSignalsOfNetBit(const CNetBit& bit) {
    for (const CInstTermBit& pin : bit.beginInstTermBit())
        NoteSignalOfPin(pin.instTerm(), pin.bit());
    for (const CNetBit& alias : bit.beginAlias())
        for (const CInstTermBit& pin : alias.beginInstTermBit())
            NoteSignalOfPin(pin.instTerm(), pin.bit());
}

void CKXPhysPartDetailsGridWnd::NoteSignalsOfNet(const INet& net) {
    if (!net.isAlive()) return;
    for (int bit : net.bits())
        NoteSignalsOfNetBit(CNetBit(&net, bit));
}

void CKXPhysPartDetailsGridWnd::OnDigestBegin(const KXChangeDigest& digest) {
    CKXPhysGridWnd::OnDigestBegin(digest);
    m_signalPinsToRead.clear();
    m_signalPinBitsSeen.clear();
}

void CKXPhysPartDetailsGridWnd::OnConnChange(const IChange& change, CConn& conn) {
    auto note = [this](const CConn* c) {
        if (c)
            for (int bit : PinBitsOf(*c))
                NoteSignalOfPin(c->instTerm(), bit);
    };
    CConn *removed1 = nullptr, *removed2 = nullptr, *added1 = nullptr, *added2 = nullptr;
    if (change.kind() == rmx::ChangeKind::ChangedInPlace && change.getConns(removed1, removed2, added1, added2)) {
        for (const CConn* c : {removed1, removed2, added1, added2})
            note(c);
        return;
    }
    note(&conn);
}

void CKXPhysPartDetailsGridWnd::OnNetChange(const IChange& change, INet& net) {
    if (change.kind() == rmx::ChangeKind::Renamed || change.kind() == rmx::ChangeKind::AliasesChanged)
        NoteSignalsOfNet(net);
}

void CKXPhysPartDetailsGridWnd::OnInstanceChange(const IChange&, IInstance&) {
    // Instances placed, removed or given another package: the shown parts' instances are read again.
    m_bShownInstancesStale = true;
}

void CKXPhysPartDetailsGridWnd::OnPropertyChange(const IChange& change, CPropertyChange& property) {
    CKXPhysGridWnd::OnPropertyChange(change, property);
    if (CString(property.name()).CompareNoCase("PHYS_NET_NAME") != 0) return;
    if (const auto* net = dynamic_cast<const INet*>(property.owner())) {
        if (property.ownerBit() >= 0)
            NoteSignalsOfNetBit(CNetBit(net, property.ownerBit()));
        else
            NoteSignalsOfNet(*net);
    }
}

void CKXPhysPartDetailsGridWnd::OnDigestEnd(const KXChangeDigest& digest) {
    // Pin numbers and sections first: the rows read again below are found by the numbers they show then.
    CKXPhysGridWnd::OnDigestEnd(digest);
    std::map<CString, std::set<CString>> pins;
    pins.swap(m_signalPinsToRead);
    m_signalPinBitsSeen.clear();
    for (const auto& [part, numbers] : pins)
        if (ShowsPart(part)) RefreshPinRows(part, numbers);
}
