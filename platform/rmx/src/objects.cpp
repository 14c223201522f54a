// Read side of the schema objects.
#include <algorithm>
#include <set>

#include "db.h"

using rmx::Db;

namespace {
template <class T>
CSchemaObjectIterator<T*> liveOf(const std::vector<T*>& v) {
    std::vector<T*> out;
    out.reserve(v.size());
    for (T* o : v)
        if (o && o->isAlive()) out.push_back(o);
    return CSchemaObjectIterator<T*>(std::move(out));
}
}  // namespace

// ---- ISchemaObject

CPQPropertyData* ISchemaObject::findProperty(const char* name, bool) const {
    if (!name) return nullptr;
    auto it = m_props.find(name);
    if (it == m_props.end()) return nullptr;
    return new CPQPropertyData(name, it->second.value.c_str(), it->second.source, Db::pathOf(this, -1).c_str());
}

CSchemaObjectIterator<CString> ISchemaObject::beginPropertyName() const {
    std::vector<CString> names;
    for (auto& [k, v] : m_props) names.emplace_back(k.c_str());
    return CSchemaObjectIterator<CString>(std::move(names));
}

// ---- CNetBit

unsigned CNetBit::id() const { return m_net ? m_net->id() : 0; }
IDesign* CNetBit::design() const { return m_net ? m_net->design() : nullptr; }

bool CNetBit::operator<(const CNetBit& o) const {
    unsigned a = id(), b = o.id();
    if (a != b) return a < b;
    return m_bit < o.m_bit;
}

CSchemaObjectIterator<CInstTermBit> CNetBit::beginInstTermBit() const {
    std::vector<CInstTermBit> out;
    if (m_net) {
        if (auto* b = Db::m_bits(m_net).find(rmx::bitIndex(m_net->msb(), m_net->lsb(), m_bit)))
            out.assign(b->pins.begin(), b->pins.end());
    }
    return CSchemaObjectIterator<CInstTermBit>(std::move(out));
}

CSchemaObjectIterator<CNetBit> CNetBit::beginAlias() const {
    std::vector<CNetBit> out;
    if (!m_net) return CSchemaObjectIterator<CNetBit>(std::move(out));
    int index = rmx::bitIndex(m_net->msb(), m_net->lsb(), m_bit);
    if (index < 0) return CSchemaObjectIterator<CNetBit>(std::move(out));
    // Every net reachable through aliases, in the order met.
    std::vector<INet*> seen{m_net};
    for (size_t k = 0; k < seen.size(); ++k) {
        for (CAlias* a : Db::m_aliases(seen[k])) {
            if (!a->isAlive()) continue;
            INet* other = a->first() == seen[k] ? a->second() : a->first();
            if (std::find(seen.begin(), seen.end(), other) == seen.end()) seen.push_back(other);
        }
    }
    for (size_t k = 1; k < seen.size(); ++k) {
        INet* n = seen[k];
        if (index < n->width()) out.emplace_back(n, rmx::bitAt(n->msb(), n->lsb(), index));
    }
    return CSchemaObjectIterator<CNetBit>(std::move(out));
}

CSchemaObjectIterator<IDTInstance*> CNetBit::beginAssociatedDTInstance() const {
    std::vector<IDTInstance*> out;
    if (m_net) {
        if (auto* b = Db::m_bits(m_net).find(rmx::bitIndex(m_net->msb(), m_net->lsb(), m_bit)))
            for (IDTInstance* dt : b->dts)
                if (dt->isAlive()) out.push_back(dt);
    }
    return CSchemaObjectIterator<IDTInstance*>(std::move(out));
}

CPQPropertyData* CNetBit::findProperty(const char* name) const {
    if (!m_net || !name) return nullptr;
    const rmx::PropMap* props = Db::propsOf(m_net, m_bit);
    if (!props) return nullptr;
    auto it = props->find(name);
    if (it == props->end()) return nullptr;
    return new CPQPropertyData(name, it->second.value.c_str(), it->second.source, Db::pathOf(m_net, m_bit).c_str());
}

static CSchemaObjectIterator<CString> propNames(const rmx::PropMap* props) {
    std::vector<CString> names;
    if (props)
        for (auto& [k, v] : *props) names.emplace_back(k.c_str());
    return CSchemaObjectIterator<CString>(std::move(names));
}

CSchemaObjectIterator<CString> CNetBit::beginPropertyName() const {
    return propNames(m_net ? Db::propsOf(m_net, m_bit) : nullptr);
}

// ---- CInstTermBit

CSchemaObjectIterator<CString> CInstTermBit::beginPropertyName() const {
    return propNames(m_pin ? Db::propsOf(m_pin, m_bit) : nullptr);
}

unsigned CInstTermBit::id() const { return m_pin ? m_pin->id() : 0; }
IInstance* CInstTermBit::instance() const { return m_pin ? m_pin->instance() : nullptr; }

bool CInstTermBit::operator<(const CInstTermBit& o) const {
    unsigned ia = m_pin ? Db::m_instance(m_pin)->id() : 0, ib = o.m_pin ? Db::m_instance(o.m_pin)->id() : 0;
    if (ia != ib) return ia < ib;
    unsigned a = id(), b = o.id();
    if (a != b) return a < b;
    // Bits in the pin's order (msb end first).
    int xa = m_pin ? rmx::bitIndex(m_pin->msb(), m_pin->lsb(), m_bit) : m_bit;
    int xb = o.m_pin ? rmx::bitIndex(o.m_pin->msb(), o.m_pin->lsb(), o.m_bit) : o.m_bit;
    return xa < xb;
}

CNetBit CInstTermBit::netbitOuter() const { return m_pin ? m_pin->netBit(m_bit) : CNetBit(); }

CNetBit CInstTermBit::netbitInner() const {
    if (!m_pin) return CNetBit();
    IInstance* inst = m_pin->instance();
    IDesign* inner = inst ? inst->containedDesign() : nullptr;
    if (!inner) return CNetBit();
    INet* net = inner->findNet(m_pin->name());
    if (!net) return CNetBit();
    // A pin bit stands for the port net's bit of the same number.
    if (m_pin->isScalar() != net->isScalar() || !net->hasBit(m_bit)) return CNetBit();
    return CNetBit(net, m_bit);
}

CSchemaObjectIterator<IDTInstance*> CInstTermBit::beginAssociatedDTInstance() const {
    std::vector<IDTInstance*> out;
    if (m_pin) {
        if (auto* b = Db::m_bits(m_pin).find(rmx::bitIndex(m_pin->msb(), m_pin->lsb(), m_bit)))
            for (IDTInstance* dt : b->dts)
                if (dt->isAlive()) out.push_back(dt);
    }
    return CSchemaObjectIterator<IDTInstance*>(std::move(out));
}

CSchemaObjectIterator<ISchemaObject*> CInstTermBit::beginSchemaObject() const {
    std::vector<ISchemaObject*> out;
    if (m_pin) {
        for (IDPInstTerm* p : Db::m_pairs(m_pin)) {
            if (!p->isAlive()) continue;
            bool uses = (p->positive() == m_pin && p->positiveBit() == m_bit) ||
                        (p->negative() == m_pin && p->negativeBit() == m_bit);
            if (uses) out.push_back(p);
        }
        for (IDTInstance* dt : beginAssociatedDTInstance()) out.push_back(dt);
    }
    return CSchemaObjectIterator<ISchemaObject*>(std::move(out));
}

CPQPropertyData* CInstTermBit::findProperty(const char* name) const {
    if (!m_pin || !name) return nullptr;
    const rmx::PropMap* props = Db::propsOf(m_pin, m_bit);
    if (!props) return nullptr;
    auto it = props->find(name);
    if (it == props->end()) return nullptr;
    return new CPQPropertyData(name, it->second.value.c_str(), it->second.source, Db::pathOf(m_pin, m_bit).c_str());
}

// ---- CConn

CConn::CConn(const INet* net, int netMsb, int netLsb, const IInstTerm* pin, int pinMsb, int pinLsb)
    : m_net(const_cast<INet*>(net)), m_netMsb(netMsb), m_netLsb(netLsb), m_pin(const_cast<IInstTerm*>(pin)),
      m_pinMsb(pinMsb), m_pinLsb(pinLsb) {
    m_design = net ? net->design() : nullptr;
}

IDesign* CConn::design() const { return m_net ? m_net->design() : nullptr; }
int CConn::width() const { return rmx::rangeWidth(m_netMsb, m_netLsb); }

bool CConn::operator==(const CConn& o) const {
    return m_net == o.m_net && m_netMsb == o.m_netMsb && m_netLsb == o.m_netLsb && m_pin == o.m_pin &&
           m_pinMsb == o.m_pinMsb && m_pinLsb == o.m_pinLsb;
}

bool CConn::operator<(const CConn& o) const {
    auto key = [](const CConn& c) {
        return std::make_tuple(c.m_net ? c.m_net->id() : 0u, c.m_pin ? c.m_pin->id() : 0u, c.m_pinMsb, c.m_pinLsb,
                               c.m_netMsb, c.m_netLsb);
    };
    return key(*this) < key(o);
}

// ---- ITerm / IInstTerm

int ITerm::width() const { return rmx::rangeWidth(m_msb, m_lsb); }

std::vector<int> ITerm::bits() const {
    std::vector<int> out;
    int w = width();
    out.reserve(static_cast<size_t>(w));
    for (int i = 0; i < w; ++i) out.push_back(rmx::bitAt(m_msb, m_lsb, i));
    return out;
}

bool ITerm::hasBit(int bit) const { return rmx::bitIndex(m_msb, m_lsb, bit) >= 0; }

ITerm* IInstTerm::masterTerm() const {
    IDesign* master = m_instance ? m_instance->master() : nullptr;
    return master ? master->findPort(name()) : nullptr;
}

CSchemaObjectIterator<CInstTermBit> IInstTerm::beginBit() const {
    std::vector<CInstTermBit> out;
    for (int b : bits()) out.emplace_back(this, b);
    return CSchemaObjectIterator<CInstTermBit>(std::move(out));
}

CNetBit IInstTerm::netBit(int bit) const {
    const BitData* b = m_bits.find(rmx::bitIndex(m_msb, m_lsb, bit));
    if (!b || !b->net) return CNetBit();
    return CNetBit(b->net, b->netBit);
}

bool IInstTerm::isConnected() const {
    for (auto& [i, b] : m_bits)
        if (b.net) return true;
    return false;
}

// Runs of consecutive pin bits that go to one net with a constant step of the net bit.
static void pinRuns(const IInstTerm* pin, const INet* only, std::vector<CConn>& out) {
    // The pin's used bits, in order from its msb end: a run goes on while the next one is the next
    // place of the pin, on the same net, one net bit further in the run's direction.
    auto& bits = Db::m_bits(pin);
    auto it = bits.begin();
    while (it != bits.end()) {
        INet* net = it->second.net;
        if (!net || (only && net != only)) {
            ++it;
            continue;
        }
        auto first = it, last = it;
        int step = 0;
        for (++it; it != bits.end() && it->first == last->first + 1 && it->second.net == net && net->msb() >= 0; ++it) {
            int d = it->second.netBit - last->second.netBit;
            if (d != 1 && d != -1) break;
            if (step == 0) step = d;
            else if (d != step) break;
            last = it;
        }
        int pm = rmx::bitAt(pin->msb(), pin->lsb(), first->first), pl = rmx::bitAt(pin->msb(), pin->lsb(), last->first);
        out.emplace_back(net, first->second.netBit, last->second.netBit, pin, pm, pl);
        it = std::next(last);
    }
}

CSchemaObjectIterator<CConn> IInstTerm::beginConn() const {
    std::vector<CConn> out;
    pinRuns(this, nullptr, out);
    return CSchemaObjectIterator<CConn>(std::move(out));
}

CSchemaObjectIterator<IDPInstTerm*> IInstTerm::beginDPInstTerm() const { return liveOf(m_pairs); }

// ---- INet

int INet::width() const { return rmx::rangeWidth(m_msb, m_lsb); }

std::vector<int> INet::bits() const {
    std::vector<int> out;
    int w = width();
    out.reserve(static_cast<size_t>(w));
    for (int i = 0; i < w; ++i) out.push_back(rmx::bitAt(m_msb, m_lsb, i));
    return out;
}

bool INet::hasBit(int bit) const { return rmx::bitIndex(m_msb, m_lsb, bit) >= 0; }

INet::INetScope INet::scope() const {
    if (m_scope == eScopeDesign && port()) return eScopeInterface;
    return m_scope;
}

ITerm* INet::port() const { return m_design ? m_design->findPort(name()) : nullptr; }

CSchemaObjectIterator<CNetBit> INet::beginBit() const {
    std::vector<CNetBit> out;
    for (int b : bits()) out.emplace_back(this, b);
    return CSchemaObjectIterator<CNetBit>(std::move(out));
}

CSchemaObjectIterator<CConn> INet::beginConn() const {
    std::vector<IInstTerm*> order;
    std::set<IInstTerm*> seen;
    for (auto& [i, b] : m_bits)
        for (auto& pb : b.pins)
            if (seen.insert(pb.instterm()).second) order.push_back(pb.instterm());
    std::sort(order.begin(), order.end(), [](IInstTerm* a, IInstTerm* b) {
        unsigned ia = a->instance()->id(), ib = b->instance()->id();
        return ia != ib ? ia < ib : a->id() < b->id();
    });
    std::vector<CConn> out;
    for (IInstTerm* p : order) pinRuns(p, this, out);
    return CSchemaObjectIterator<CConn>(std::move(out));
}

int INet::connectionCount() const {
    int n = 0;
    for (auto& [i, b] : m_bits) n += static_cast<int>(b.pins.size());
    return n;
}

CSchemaObjectIterator<CAlias*> INet::beginAlias() const { return liveOf(m_aliases); }
CSchemaObjectIterator<IDPNet*> INet::beginDPNet() const { return liveOf(m_pairs); }

// ---- IInstance

CString IInstance::masterName() const { return CString((m_lib + "." + m_cell + ":" + m_view).c_str()); }

IDesign* IInstance::master() const {
    IServer* s = m_design ? m_design->server() : nullptr;
    return s ? s->findDesign(m_lib.c_str(), m_cell.c_str(), m_view.c_str()) : nullptr;
}

IDesign* IInstance::containedDesign() const {
    IDesign* m = master();
    return (m && !m->isSymbol()) ? m : nullptr;
}

const char* IInstance::physicalPackageName() const {
    auto it = m_props.find("LOCATION");
    if (it == m_props.end() || it->second.value.empty()) return nullptr;
    return it->second.value.c_str();
}

CString IInstance::partName() const {
    auto get = [](const rmx::PropMap& m, const char* k) -> std::string {
        auto it = m.find(k);
        return it == m.end() ? std::string() : it->second.value;
    };
    std::string chips = get(m_props, "CHIPS_PART_NAME");
    if (!chips.empty()) {
        std::string pack = get(m_props, "PACK_TYPE");
        return CString((pack.empty() ? chips : chips + "_" + pack).c_str());
    }
    if (IDesign* m = master()) {
        std::string p = get(Db::m_props(static_cast<const ISchemaObject*>(m)), "PART_NAME");
        if (!p.empty()) return CString(p.c_str());
    }
    return CString(m_cell.c_str());
}

CSchemaObjectIterator<IInstTerm*> IInstance::beginInstTerm() const { return liveOf(m_pins); }

IInstTerm* IInstance::findInstTerm(unsigned id) const {
    auto it = m_pinsById.find(id);
    return (it != m_pinsById.end() && it->second->isAlive()) ? it->second : nullptr;
}

IInstTerm* IInstance::findInstTerm(const char* name) const {
    if (!name) return nullptr;
    auto it = m_pinsByName.find(name);
    return it == m_pinsByName.end() ? nullptr : it->second;
}

int IInstance::instTermCount() const { return static_cast<int>(m_pins.size()); }

CSchemaObjectIterator<IDPInstTerm*> IInstance::beginDPInstTerm() const { return liveOf(m_dpPins); }

IDPInstTerm* IInstance::findDPInstTerm(unsigned id) const {
    for (IDPInstTerm* p : m_dpPins) {
        if (!p->isAlive()) continue;
        if (p->id() == id) return p;
        for (IDPInstTerm* m : Db::m_members(p))
            if (m->isAlive() && m->id() == id) return m;
    }
    return nullptr;
}

IDPInstTerm* IInstance::findDPInstTerm(const char* name) const {
    if (!name) return nullptr;
    for (IDPInstTerm* p : m_dpPins) {
        if (!p->isAlive()) continue;
        if (Db::m_name(p) == name) return p;
        for (IDPInstTerm* m : Db::m_members(p))
            if (m->isAlive() && Db::m_name(m) == name) return m;
    }
    return nullptr;
}

CSchemaObjectIterator<CNetBit> IInstance::beginNetBit() const {
    std::vector<CNetBit> out;
    std::set<std::pair<INet*, int>> seen;
    for (IInstTerm* p : m_pins)
        for (auto& [i, b] : Db::m_bits(p))
            if (b.net && seen.insert({b.net, b.netBit}).second) out.emplace_back(b.net, b.netBit);
    return CSchemaObjectIterator<CNetBit>(std::move(out));
}

std::vector<CImplicitPowerPin> IInstance::implicitPowerPins() const {
    std::vector<CImplicitPowerPin> out;
    IServer* s = m_design ? m_design->server() : nullptr;
    const rmx::PartDefn* defn = s ? s->db()->findPart(partName().str()) : nullptr;
    if (!defn) return out;
    for (auto& p : defn->power) {
        auto it = m_powerNets.find(p.name);
        const bool own = it != m_powerNets.end();
        std::string net = own ? it->second : p.net;
        if (net.empty()) continue;
        out.push_back({p.name.c_str(), p.number.c_str(), net.c_str(), p.ground ? "Ground" : "Power", p.net.c_str(), own});
    }
    return out;
}

bool IInstance::hasOwnConnectivity() const {
    IDesign* d = containedDesign();
    return d && d->netCount() > 0;
}

// ---- pairs and components

CSchemaObjectIterator<IDPConn*> IDPNet::beginConn() const { return liveOf(m_conns); }
CSchemaObjectIterator<IDPInstTerm*> IDPInstTerm::beginMember() const { return liveOf(m_members); }

CDPConnLane IDPInstTerm::connLane() const {
    if (m_conn) return {m_conn, -1};
    if (m_parent && m_parent->m_conn) return {m_parent->m_conn, m_posBit};
    return {};
}
CSchemaObjectIterator<IDTInstance*> IDPConn::beginAssociatedDTInstance() const { return liveOf(m_dts); }
CSchemaObjectIterator<IDTInstance*> IDPInstTerm::beginAssociatedDTInstance() const { return liveOf(m_dts); }

CInstTermBit IDTInstance::instTermBit() const {
    return m_attach == eOnInstTermBit ? CInstTermBit(m_pin, m_bit) : CInstTermBit();
}

CNetBit IDTInstance::netBit() const { return m_attach == eOnNetBit ? CNetBit(m_net, m_bit) : CNetBit(); }

IInstTerm* IDTInstance::instTerm() const { return m_attach == eOnInstTermBit ? m_pin : nullptr; }

bool IDTInstance::getNetAndBit(INet*& net, int& bit) const {
    net = nullptr;
    bit = -1;
    CNetBit nb;
    if (m_attach == eOnNetBit) nb = CNetBit(m_net, m_bit);
    else if (m_attach == eOnInstTermBit && m_pin) nb = m_pin->netBit(m_bit);
    else if (m_attach == eOnDPConn && m_dpConn && m_dpConn->dpNet()) {
        IDPNet* dp = m_dpConn->dpNet();
        nb = CNetBit(dp->positive(), dp->positiveBit());
    }
    if (!nb) return false;
    net = nb.net();
    bit = nb.bit();
    return true;
}

// ---- IDesign

CSchemaObjectIterator<IInstance*> IDesign::beginInstance() const { return liveOf(m_instances.byId); }
CSchemaObjectIterator<INet*> IDesign::beginNet() const { return liveOf(m_nets.byId); }
CSchemaObjectIterator<ITerm*> IDesign::beginPort() const { return liveOf(m_ports); }
CSchemaObjectIterator<IDPNet*> IDesign::beginDPNet() const { return liveOf(m_dpNets.byId); }
CSchemaObjectIterator<IDTInstance*> IDesign::beginDTInstance() const { return liveOf(m_dts.byId); }
CSchemaObjectIterator<CAlias*> IDesign::beginAlias() const { return liveOf(m_aliases); }

CSchemaObjectIterator<IInstance*> IDesign::beginParentInstance() const {
    std::vector<IInstance*> out;
    if (m_server) {
        for (IDesign* d : m_server->beginDesign())
            for (IInstance* i : d->beginInstance())
                if (Db::m_lib(i) == m_lib && Db::m_cell(i) == m_cell && Db::m_view(i) == m_view) out.push_back(i);
    }
    return CSchemaObjectIterator<IInstance*>(std::move(out));
}

IInstance* IDesign::parentInstance() const { return beginParentInstance().current(); }

namespace {
template <class T>
T* byId(const std::vector<T*>& v, unsigned id) {
    return (id < v.size() && v[id] && v[id]->isAlive()) ? v[id] : nullptr;
}
template <class M>
auto byName(const M& m, const char* name) -> typename M::mapped_type {
    if (!name) return nullptr;
    auto it = m.find(name);
    return it == m.end() ? nullptr : it->second;
}
}  // namespace

IInstance* IDesign::findInstance(unsigned id) const { return byId(m_instances.byId, id); }
IInstance* IDesign::findInstance(const char* name) const { return byName(m_instances.byName, name); }
INet* IDesign::findNet(unsigned id) const { return byId(m_nets.byId, id); }
INet* IDesign::findNet(const char* name) const { return byName(m_nets.byName, name); }
ITerm* IDesign::findPort(const char* name) const { return byName(m_portsByName, name); }
IDPNet* IDesign::findDPNet(unsigned id) const { return byId(m_dpNets.byId, id); }
IDPNet* IDesign::findDPNet(const char* name) const { return byName(m_dpNets.byName, name); }
IDTInstance* IDesign::findDTInstance(unsigned id) const { return byId(m_dts.byId, id); }
IDTInstance* IDesign::findDTInstance(const char* name) const { return byName(m_dts.byName, name); }
int IDesign::instanceCount() const { return m_instances.live; }
int IDesign::netCount() const { return m_nets.live; }
int IDesign::dtInstanceCount() const { return m_dts.live; }
bool IDesign::isHidden(const IInstance*) const { return false; }
