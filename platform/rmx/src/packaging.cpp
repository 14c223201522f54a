// Packaging server and pin-name generator.
#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "db.h"

using rmx::Db;

// ---- interning

namespace rmx {
const char* intern(const std::string& s) {
    static std::mutex mu;
    static std::unordered_set<std::string>* pool = new std::unordered_set<std::string>();  // lives for the process
    std::lock_guard<std::mutex> lock(mu);
    return pool->insert(s).first->c_str();
}
}  // namespace rmx

struct hmtGen_ {
    std::vector<const rmx::PartPin*> pins;
    size_t pos = 0;
};

namespace rmx {
HMTGEN makeGen(std::vector<const PartPin*> pins) {
    auto* g = new hmtGen_;  // released by hmtStopGen: the C interface hands ownership to the caller
    g->pins = std::move(pins);
    return g;
}
}  // namespace rmx

extern "C" {

const char* hmtHashSaveStrng(const char* text) { return text ? rmx::intern(text) : nullptr; }

HMTGEN hmtStartGenPins(HMTPART part, int) {
    if (!part) return nullptr;
    auto* defn = reinterpret_cast<const rmx::PartDefn*>(part);
    std::vector<const rmx::PartPin*> pins;
    for (auto& p : defn->pins) pins.push_back(&p);
    return rmx::makeGen(std::move(pins));
}

HMTGEN hmtStartGenParentSectionPins(HMTPIN pin) {
    if (!pin) return nullptr;
    auto* p = reinterpret_cast<const rmx::PartPin*>(pin);
    std::vector<const rmx::PartPin*> pins;
    for (auto& q : p->defn->pins)
        if (q.section == p->section) pins.push_back(&q);
    return rmx::makeGen(std::move(pins));
}

HMTPIN hmtGenPins(HMTGEN gen) {
    if (!gen || gen->pos >= gen->pins.size()) return nullptr;
    return reinterpret_cast<HMTPIN>(const_cast<rmx::PartPin*>(gen->pins[gen->pos++]));
}

void hmtResetGen(HMTGEN gen) {
    if (gen) gen->pos = 0;
}

void hmtStopGen(HMTGEN gen) { delete gen; }

const char* hmtPinName(HMTPIN pin) { return pin ? reinterpret_cast<const rmx::PartPin*>(pin)->number : nullptr; }
const char* hmtLogPinName(HMTPIN pin) { return pin ? reinterpret_cast<const rmx::PartPin*>(pin)->logical : nullptr; }
const char* hmtGetSectionPinParentSection(HMTPIN pin) {
    return pin ? reinterpret_cast<const rmx::PartPin*>(pin)->section : nullptr;
}

}  // extern "C"

// ---- the physical view

namespace {

// The physical net of a logical net bit; made when the view has none of that name yet.
int netIndexOf(rmx::PhysView& v, const CNetBitContext& nb) {
    CNetBitContext base = nb.base();
    std::string name = base.physicalNetName().str();
    auto it = v.netByName.find(name);
    if (it != v.netByName.end()) return it->second;
    int idx = static_cast<int>(v.nets.size());
    v.netByName[name] = idx;
    rmx::PhysNetData n;
    n.name = name;
    n.logical = rmx::bitName(base.net()->name(), base.net()->isScalar() ? -1 : base.bit());
    n.bit = base;
    v.nets.push_back(std::move(n));
    return idx;
}

// The physical net on a package pin: the net of its first connected logical pin bit.
int netOfPin(rmx::PhysView& v, const rmx::PhysPin& pin) {
    for (const CInstTermBitContext& bc : pin.bits)
        if (CNetBitContext nb = bc.netbitOuter(); nb) return netIndexOf(v, nb);
    return -1;
}

// Every leaf instance of the hierarchy under top, parts grouped by LOCATION.
void groupLeafParts(rmx::PhysView& v, IServer* server, const CDesignContext& top) {
    std::vector<CInstanceContext> leaves;
    std::vector<CDesignContext> todo{top};
    for (size_t k = 0; k < todo.size(); ++k)
        for (const CInstanceContext& i : todo[k].instances()) {
            CDesignContext inner = i.containedDesign();
            if (inner) todo.push_back(inner);
            else if (i.physicalPackageName()) leaves.push_back(i);
        }
    for (const CInstanceContext& i : leaves) {
        std::string ref = i.physicalPackageName();
        auto it = v.partByName.find(ref);
        int idx;
        if (it == v.partByName.end()) {
            idx = static_cast<int>(v.parts.size());
            v.partByName[ref] = idx;
            v.parts.emplace_back();
            v.parts.back().refdes = ref;
            v.parts.back().defn = server->db()->findPart(i.instance()->partName().str());
        } else {
            idx = it->second;
        }
        v.parts[static_cast<size_t>(idx)].insts.push_back(i);
    }
}

// The logical pin bits of a part's instances by their pin numbers; each pin's place among its instance's.
std::map<std::string, std::vector<CInstTermBitContext>> bitsByNumber(rmx::PhysPart& part) {
    // Logical pin bits by their PN.
    std::map<std::string, std::vector<CInstTermBitContext>> byNumber;
    for (const CInstanceContext& i : part.insts) {
        size_t termAt = 0;
        for (IInstTerm* p : i.instance()->beginInstTerm()) {
            part.termAt.emplace(p, termAt++);
            CInstTermContext pc = i.instTerm(p);
            for (int b : p->bits()) {
                CInstTermBitContext bc = pc.bitContext(b);
                CString pn = bc.physicalPinName();
                if (!pn.IsEmpty()) byNumber[pn.str()].push_back(bc);
            }
        }
    }
    return byNumber;
}

// A part's package pins, functions (sections) and power pins, and the nets they are on.
void buildPart(rmx::PhysView& v, size_t pi) {
    rmx::PhysPart& part = v.parts[pi];
    const std::map<std::string, std::vector<CInstTermBitContext>> byNumber = bitsByNumber(part);
    for (const CInstanceContext& i : part.insts) v.partsOfInst[i.instance()].push_back(static_cast<int>(pi));
    if (part.defn) {
        for (auto& def : part.defn->pins) {
            rmx::PhysPin pin;
            pin.def = &def;
            auto it = byNumber.find(def.number);
            if (it != byNumber.end()) pin.bits = it->second;
            pin.net = netOfPin(v, pin);
            const int k = static_cast<int>(part.pins.size());
            part.pinByNumber.emplace(def.number, k);
            for (const CInstTermBitContext& bc : pin.bits) part.pinOfBit[{bc.instTerm(), bc.bit()}] = k;
            part.pins.push_back(std::move(pin));
        }
        if (part.defn->sections.empty()) {
            part.functions.push_back("");
            std::vector<int> all(part.pins.size());
            for (size_t k = 0; k < all.size(); ++k) all[k] = static_cast<int>(k);
            part.functionPins.push_back(all);
        } else {
            for (auto& s : part.defn->sections) {
                part.functions.push_back(s);
                std::vector<int> pins;
                for (size_t k = 0; k < part.pins.size(); ++k)
                    if (part.pins[k].def->section && s == part.pins[k].def->section) pins.push_back(static_cast<int>(k));
                part.functionPins.push_back(pins);
            }
        }
        // Implicit power pins of the first logical instance (its own net choices).
        if (!part.insts.empty())
            for (auto& pw : part.insts.front().instance()->implicitPowerPins()) {
                rmx::PhysPower p{pw.pinName.str(), pw.pinNumber.str(), pw.netName.str(), pw.typeText.str(), -1};
                part.power.push_back(p);
            }
    }
    for (size_t k = 0; k < part.pins.size(); ++k)
        if (part.pins[k].net >= 0) v.nets[static_cast<size_t>(part.pins[k].net)].pins.emplace_back(static_cast<int>(pi), static_cast<int>(k));
}

// Power pins join the physical net of their name, made when no logical net carries it.
void joinPowerNets(rmx::PhysView& v, const CDesignContext& top) {
    for (size_t pi = 0; pi < v.parts.size(); ++pi)
        for (size_t k = 0; k < v.parts[pi].power.size(); ++k) {
            auto& pw = v.parts[pi].power[k];
            auto it = v.netByName.find(pw.net);
            int idx;
            if (it == v.netByName.end()) {
                idx = static_cast<int>(v.nets.size());
                v.netByName[pw.net] = idx;
                rmx::PhysNetData n;
                n.name = pw.net;
                n.logical = pw.net;
                CNetContext logical = top.net(pw.net.c_str());
                if (logical) n.bit = logical.bitContext(logical.net()->isScalar() ? -1 : logical.net()->lsb());
                v.nets.push_back(std::move(n));
            } else {
                idx = it->second;
            }
            pw.netIndex = idx;
            v.nets[static_cast<size_t>(idx)].power.emplace_back(static_cast<int>(pi), static_cast<int>(k));
        }
}

std::shared_ptr<rmx::PhysView> build(IServer* server, IDesign* root) {
    auto v = std::make_shared<rmx::PhysView>();
    v->server = server;
    CDesignContext top(server, root);
    groupLeafParts(*v, server, top);
    for (size_t pi = 0; pi < v->parts.size(); ++pi) buildPart(*v, pi);
    joinPowerNets(*v, top);
    return v;
}

std::shared_ptr<const rmx::PhysView> viewOf(const CDesignContext* d) {
    if (!d || !*d || !d->server()) return nullptr;
    return d->server()->db()->physView(d->design());
}

template <class T, class F>
CPhysIterator<T>* iter(size_t n, F make) {
    std::vector<std::unique_ptr<T>> items;
    for (size_t k = 0; k < n; ++k) items.emplace_back(make(static_cast<int>(k)));
    return new CPhysIterator<T>(std::move(items));
}

}  // namespace

namespace {

// Where a fresh view lists a logical pin bit among the bits of its package pin: by the place of its
// instance among the part's instances, then of its pin among the instance's pins, then of its bit
// among the pin's bits. The first bit names the package pin's physical net, so a kept view must
// list a pin's bits as a fresh one does. A kept view's instances keep their pins (any other change
// makes a fresh view), so the pins' places are those the view noted when it was made.
std::array<size_t, 3> freshPlace(const rmx::PhysPart& part, const CInstTermBitContext& bc) {
    IInstTerm* term = bc.instTerm();
    const CInstanceContext inst = bc.instance();
    const auto instAt = std::find(part.insts.begin(), part.insts.end(), inst);
    const auto termAt = part.termAt.find(term);
    const int bitAt = rmx::bitIndex(term->msb(), term->lsb(), bc.bit());
    return {static_cast<size_t>(instAt - part.insts.begin()),
            termAt == part.termAt.end() ? part.termAt.size() : termAt->second,
            static_cast<size_t>(bitAt < 0 ? term->width() : bitAt)};
}

// Moves one logical pin bit of a part to the package pin of its pin number now, among that pin's
// bits where a fresh view has it; returns the pins whose bits changed.
void moveBit(rmx::PhysPart& part, IInstTerm* term, int bit, std::vector<int>& changed) {
    const std::pair<const IInstTerm*, int> key{term, bit};
    if (auto old = part.pinOfBit.find(key); old != part.pinOfBit.end()) {
        auto& bits = part.pins[static_cast<size_t>(old->second)].bits;
        bits.erase(std::remove_if(bits.begin(), bits.end(),
                                  [&](const CInstTermBitContext& b) { return b.instTerm() == term && b.bit() == bit; }),
                   bits.end());
        changed.push_back(old->second);
        part.pinOfBit.erase(old);
    }
    for (const CInstanceContext& inst : part.insts) {
        if (inst.instance() != term->instance()) continue;
        const CInstTermBitContext bc = inst.instTerm(term).bitContext(bit);
        const CString number = bc.physicalPinName();
        auto to = number.IsEmpty() ? part.pinByNumber.end() : part.pinByNumber.find(number.str());
        if (to == part.pinByNumber.end()) continue;
        auto& bits = part.pins[static_cast<size_t>(to->second)].bits;
        auto at = bits.end(); // a package pin has mostly one logical pin bit: no place to look for
        if (!bits.empty()) {
            const std::array<size_t, 3> place = freshPlace(part, bc);
            at = std::find_if(bits.begin(), bits.end(),
                              [&](const CInstTermBitContext& b) { return place < freshPlace(part, b); });
        }
        bits.insert(at, bc);
        part.pinOfBit[key] = to->second;
        changed.push_back(to->second);
    }
}

// A package pin whose bits changed takes the net of its bits now; the nets' pin lists stay in
// (part, pin) order as a fresh view has them.
void renet(rmx::PhysView& v, int pi, int k) {
    rmx::PhysPin& pin = v.parts[static_cast<size_t>(pi)].pins[static_cast<size_t>(k)];
    const std::pair<int, int> entry{pi, k};
    if (pin.net >= 0) {
        auto& pins = v.nets[static_cast<size_t>(pin.net)].pins;
        auto it = std::lower_bound(pins.begin(), pins.end(), entry);
        if (it != pins.end() && *it == entry) pins.erase(it);
    }
    pin.net = netOfPin(v, pin);
    if (pin.net >= 0) {
        auto& pins = v.nets[static_cast<size_t>(pin.net)].pins;
        pins.insert(std::lower_bound(pins.begin(), pins.end(), entry), entry);
    }
}

void moveBits(rmx::PhysView& v, const std::vector<std::pair<IInstTerm*, int>>& moved) {
    for (const auto& [term, bit] : moved) {
        auto parts = v.partsOfInst.find(term->instance());
        if (parts == v.partsOfInst.end()) continue;
        for (int pi : parts->second) {
            std::vector<int> changed;
            moveBit(v.parts[static_cast<size_t>(pi)], term, bit, changed);
            for (int k : changed) renet(v, pi, k);
        }
    }
}

}  // namespace

std::shared_ptr<const rmx::PhysView> rmx::Db::physView(IDesign* root) {
    PhysSlot& slot = m_physCache[root];
    if (!slot.view || slot.gen != m_physGen) {
        slot.view = build(m_srv, root);
        slot.gen = m_physGen;
    } else if (!slot.movedBits.empty()) {
        moveBits(*slot.view, slot.movedBits);
    }
    slot.movedBits.clear();
    return slot.view;
}

void rmx::Db::notePhysChange(const Op& op) {
    // Properties the physical view reads: the part of an instance, its package, pin numbers and
    // physical net names. Any other property leaves the views as they are.
    static const char* const kRead[] = {"LOCATION", "CHIPS_PART_NAME", "PACK_TYPE", "PART_NAME", "PHYS_NET_NAME", "PN"};
    if (op.code == OpCode::Prop) {
        if (std::none_of(std::begin(kRead), std::end(kRead), [&](const char* n) { return op.s2 == n; })) return;
        if (op.s2 == "PN" && !m_physCache.empty()) {
            IDesign* d = findDesign(op.design);
            int bit = -1;
            auto* term = dynamic_cast<IInstTerm*>(d ? resolve(d, op.kind, op.s1, bit) : nullptr);
            // A pin bit (or a scalar pin) moves between package pins; a whole bus pin's number
            // reaches its bits by inheritance, which only a fresh view follows.
            if (term && (bit != -1 || term->isScalar())) {
                constexpr size_t kMostMoves = 4096; // past that a fresh view is cheaper
                for (auto& [design, slot] : m_physCache) {
                    if (slot.movedBits.size() < kMostMoves) slot.movedBits.emplace_back(term, bit);
                    else slot.gen = 0;
                }
                return;
            }
        }
    }
    ++m_physGen;
}

// ---- IPhysPartDefn

const char* IPhysPartDefn::name() const { return m_defn ? m_defn->name.c_str() : ""; }
int IPhysPartDefn::pinCount() const { return m_defn ? static_cast<int>(m_defn->pins.size()) : 0; }
std::vector<CString> IPhysPartDefn::sections() const {
    std::vector<CString> out;
    if (m_defn)
        for (auto& s : m_defn->sections) out.emplace_back(s.c_str());
    return out;
}
HMTPART IPhysPartDefn::handle() const { return reinterpret_cast<HMTPART>(const_cast<rmx::PartDefn*>(m_defn)); }
std::vector<CImplicitPowerPin> IPhysPartDefn::implicitPowerPins() const {
    std::vector<CImplicitPowerPin> out;
    if (m_defn)
        for (auto& p : m_defn->power)
            out.push_back({p.name.c_str(), p.number.c_str(), p.net.c_str(), p.ground ? "Ground" : "Power", p.net.c_str()});
    return out;
}
std::vector<CString> IPhysPartDefn::signalModels() const {
    std::vector<CString> out;
    if (m_defn)
        for (auto& m : m_defn->models) out.emplace_back(m.c_str());
    return out;
}

// ---- IPhysPartInst

const char* IPhysPartInst::name() const { return m_view->parts[static_cast<size_t>(m_part)].refdes.c_str(); }

const char* IPhysPartInst::getProperty(const char* name, bool) const {
    if (!name) return nullptr;
    for (const CInstanceContext& i : m_view->parts[static_cast<size_t>(m_part)].insts) {
        std::unique_ptr<CPQPropertyData> p(i.findProperty(name));
        if (p) return rmx::intern(p->value());
    }
    return nullptr;
}

IPhysPartDefn* IPhysPartInst::partDefn() const {
    const rmx::PartDefn* d = m_view->parts[static_cast<size_t>(m_part)].defn;
    return d ? new IPhysPartDefn(d) : nullptr;
}

int IPhysPartInst::functionCount() const {
    return static_cast<int>(m_view->parts[static_cast<size_t>(m_part)].functions.size());
}

CPhysIterator<IPhysFunction>* IPhysPartInst::beginFunction() const {
    auto v = m_view;
    int part = m_part;
    return iter<IPhysFunction>(static_cast<size_t>(functionCount()), [&](int k) { return new IPhysFunction(v, part, k); });
}

CPhysIterator<IPhysPin>* IPhysPartInst::beginPin() const {
    auto v = m_view;
    int part = m_part;
    return iter<IPhysPin>(m_view->parts[static_cast<size_t>(m_part)].pins.size(), [&](int k) { return new IPhysPin(v, part, k); });
}

IPhysPin* IPhysPartInst::getPhysPin(const char* number) const {
    if (!number) return nullptr;
    auto& pins = m_view->parts[static_cast<size_t>(m_part)].pins;
    for (size_t k = 0; k < pins.size(); ++k)
        if (std::strcmp(pins[k].def->number, number) == 0) return new IPhysPin(m_view, m_part, static_cast<int>(k));
    return nullptr;
}

std::vector<CInstanceContext> IPhysPartInst::logicalInstances() const { return m_view->parts[static_cast<size_t>(m_part)].insts; }

// ---- IPhysFunction

const char* IPhysFunction::name() const {
    return m_view->parts[static_cast<size_t>(m_part)].functions[static_cast<size_t>(m_function)].c_str();
}

CPhysIterator<IPhysPin>* IPhysFunction::beginPin() const {
    auto& pins = m_view->parts[static_cast<size_t>(m_part)].functionPins[static_cast<size_t>(m_function)];
    auto v = m_view;
    int part = m_part;
    return iter<IPhysPin>(pins.size(), [&](int k) { return new IPhysPin(v, part, pins[static_cast<size_t>(k)]); });
}

// ---- IPhysPin

namespace {
const rmx::PhysPin& pinOf(const rmx::PhysView& v, int part, int pin) {
    return v.parts[static_cast<size_t>(part)].pins[static_cast<size_t>(pin)];
}
}  // namespace

const char* IPhysPin::pinNumber() const { return pinOf(*m_view, m_part, m_pin).def->number; }
const char* IPhysPin::logicalName() const { return pinOf(*m_view, m_part, m_pin).def->logical; }
const char* IPhysPin::sectionName() const {
    const char* s = pinOf(*m_view, m_part, m_pin).def->section;
    return s ? s : "";
}
IPhysPartInst* IPhysPin::partInst() const { return new IPhysPartInst(m_view, m_part); }
IPhysNet* IPhysPin::physNet(int) const {
    int n = pinOf(*m_view, m_part, m_pin).net;
    return n < 0 ? nullptr : new IPhysNet(m_view, n);
}
bool IPhysPin::logicalPinBit(CInstTermBitContext& out) const {
    auto& bits = pinOf(*m_view, m_part, m_pin).bits;
    if (bits.empty()) return false;
    out = bits.front();
    return true;
}
std::vector<CInstTermBitContext> IPhysPin::logicalPinBits() const { return pinOf(*m_view, m_part, m_pin).bits; }
int IPhysPin::typeCode() const { return pinOf(*m_view, m_part, m_pin).def->type; }
int IPhysPin::direction() const {
    switch (typeCode()) {
    case ITerm::eTermInput: return ITerm::eDirInput;
    case ITerm::eTermOutput: return ITerm::eDirOutput;
    default: return ITerm::eDirInout;
    }
}
int IPhysPin::kind() const {
    size_t n = pinOf(*m_view, m_part, m_pin).bits.size();
    return n == 0 ? eUnused : (n == 1 ? eSingle : eShared);
}
CString IPhysPin::getProperty(const char* name, int) const {
    auto& bits = pinOf(*m_view, m_part, m_pin).bits;
    if (bits.empty() || !name) return CString();
    std::unique_ptr<CPQPropertyData> p(bits.front().findProperty(name));
    return p ? CString(p->value()) : CString();
}

// ---- IPhysPowerPin

namespace {
const rmx::PhysPower& powerOf(const rmx::PhysView& v, int part, int k) {
    return v.parts[static_cast<size_t>(part)].power[static_cast<size_t>(k)];
}
}  // namespace

const char* IPhysPowerPin::pinName() const { return powerOf(*m_view, m_part, m_power).name.c_str(); }
const char* IPhysPowerPin::pinNumber() const { return powerOf(*m_view, m_part, m_power).number.c_str(); }
const char* IPhysPowerPin::typeText() const { return powerOf(*m_view, m_part, m_power).type.c_str(); }
const char* IPhysPowerPin::location() const { return m_view->parts[static_cast<size_t>(m_part)].refdes.c_str(); }
IPhysNet* IPhysPowerPin::net() const {
    int n = powerOf(*m_view, m_part, m_power).netIndex;
    return n < 0 ? nullptr : new IPhysNet(m_view, n);
}

// ---- IPhysNet

const char* IPhysNet::name() const { return m_view->nets[static_cast<size_t>(m_net)].name.c_str(); }
const char* IPhysNet::logicalName() const { return m_view->nets[static_cast<size_t>(m_net)].logical.c_str(); }
CNetBitContext IPhysNet::netBitContext() const { return m_view->nets[static_cast<size_t>(m_net)].bit; }
CNetBit IPhysNet::netBit() const { return m_view->nets[static_cast<size_t>(m_net)].bit.netBit(); }
CPQPropertyData* IPhysNet::findProperty(const char* name, bool inherited) const {
    const CNetBitContext& b = m_view->nets[static_cast<size_t>(m_net)].bit;
    return b ? b.findPropertyIncludingAliases(name, inherited) : nullptr;
}
CPhysIterator<IPhysPin>* IPhysNet::beginPin() const {
    auto& pins = m_view->nets[static_cast<size_t>(m_net)].pins;
    auto v = m_view;
    return iter<IPhysPin>(pins.size(), [&](int k) {
        return new IPhysPin(v, pins[static_cast<size_t>(k)].first, pins[static_cast<size_t>(k)].second);
    });
}
CPhysIterator<IPhysPowerPin>* IPhysNet::beginPowerPin() const {
    auto& pins = m_view->nets[static_cast<size_t>(m_net)].power;
    auto v = m_view;
    return iter<IPhysPowerPin>(pins.size(), [&](int k) {
        return new IPhysPowerPin(v, pins[static_cast<size_t>(k)].first, pins[static_cast<size_t>(k)].second);
    });
}

// ---- look-ups

IPhysPartInst* getPhysPartInst(const CDesignContext* design, const char* ref) {
    auto v = viewOf(design);
    if (!v || !ref) return nullptr;
    auto it = v->partByName.find(ref);
    return it == v->partByName.end() ? nullptr : new IPhysPartInst(v, it->second);
}

IPhysPartInst* getPhysPartInst(const CDesignContext* design, const CInstanceContext* inst) {
    if (!inst || !*inst || !inst->physicalPackageName()) return nullptr;
    return getPhysPartInst(design, inst->physicalPackageName());
}

IPhysNet* getPhysNet(const CDesignContext* design, const char* name) {
    auto v = viewOf(design);
    if (!v || !name) return nullptr;
    auto it = v->netByName.find(name);
    return it == v->netByName.end() ? nullptr : new IPhysNet(v, it->second);
}

IPhysPin* getPhysPinInst(const CDesignContext* design, const CInstTermBitContext* bit) {
    auto v = viewOf(design);
    if (!v || !bit || !*bit) return nullptr;
    for (size_t p = 0; p < v->parts.size(); ++p)
        for (size_t k = 0; k < v->parts[p].pins.size(); ++k)
            for (auto& b : v->parts[p].pins[k].bits)
                if (b.instTermBit() == bit->instTermBit() && b.hierarchy() == bit->hierarchy())
                    return new IPhysPin(v, static_cast<int>(p), static_cast<int>(k));
    return nullptr;
}

std::vector<CString> getPhysPartNames(const CDesignContext* design) {
    std::vector<CString> out;
    if (auto v = viewOf(design))
        for (auto& [n, i] : v->partByName) out.emplace_back(n.c_str());
    return out;
}

std::vector<CString> getPhysNetNames(const CDesignContext* design) {
    std::vector<CString> out;
    if (auto v = viewOf(design))
        for (auto& [n, i] : v->netByName) out.emplace_back(n.c_str());
    return out;
}
