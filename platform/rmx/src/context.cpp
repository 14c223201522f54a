// Contexts and paths.
#include <cstring>

#include "db.h"

using rmx::Db;

namespace {

std::string designPrefix(const std::vector<IInstance*>& hier) {
    std::string p;
    for (IInstance* i : hier) p += "@" + std::string(i->name());
    return p;
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '+' || c == '-' || c == '#' || c == '!';
}

// Name with an optional bit suffix "<n>" at position i of s.
bool readName(const std::string& s, size_t& i, std::string& name, int& bit, bool& hasBit) {
    size_t start = i;
    while (i < s.size() && isNameChar(s[i])) ++i;
    name = s.substr(start, i - start);
    if (name.empty()) return false;
    hasBit = false;
    bit = -1;
    if (i < s.size() && s[i] == '<') {
        size_t close = s.find('>', i);
        if (close == std::string::npos || close == i + 1) return false;
        std::string num = s.substr(i + 1, close - i - 1);
        if (num.size() > 9) return false;
        for (char c : num)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        bit = std::stoi(num);
        hasBit = true;
        i = close + 1;
    }
    return true;
}

}  // namespace

namespace rmx {

bool parsePath(const std::string& s, PathRef& out) {
    out = PathRef();
    if (s.empty() || s[0] != '@') return false;
    size_t i = 0;
    std::vector<std::string> segs;
    while (i < s.size() && s[i] == '@') {
        ++i;
        if (i == s.size() && segs.empty() && s.size() == 1) break;  // "@": the root design
        std::string name;
        int bit;
        bool hasBit;
        size_t save = i;
        if (!readName(s, i, name, bit, hasBit) || hasBit) {
            i = save;
            if (segs.empty() && i < s.size() && (s[i] == ':' || s[i] == '~' || s[i] == '$')) break;
            return false;
        }
        segs.push_back(name);
    }
    if (i == s.size()) {
        if (segs.empty()) {
            out.sigil = '\0';
        } else {
            out.sigil = '/';
            out.inst = segs.back();
            out.name = segs.back();
            segs.pop_back();
        }
        out.hier = segs;
        return true;
    }
    char sig = s[i++];
    if (sig == '.' || sig == '%') {
        if (segs.empty()) return false;
        out.inst = segs.back();
        segs.pop_back();
    } else if (sig != ':' && sig != '~' && sig != '$') {
        return false;
    }
    out.sigil = sig;
    out.hier = segs;
    if (!readName(s, i, out.name, out.bit, out.hasBit)) return false;
    if (i != s.size()) return false;
    // A member of a vector pair pin is named by its bit ("@U1%TX<3>"), so is a one-bit pair net
    // ("@~EW<3>").
    if (out.hasBit && sig == '$') return false;
    return true;
}

std::string Db::pathOf(const ISchemaObject* o, int bit) {
    if (!o) return "";
    auto withBit = [&](const std::string& n, const ITerm* t) {
        return (bit >= 0 && t && !t->isScalar()) ? bitName(n, bit) : n;
    };
    switch (o->objectType()) {
    case 'D': return "@";
    case 'I': return "@" + std::string(o->name());
    case 'T': {
        auto* p = dynamic_cast<const IInstTerm*>(o);
        if (!p || !p->instance()) return "";
        return "@" + std::string(p->instance()->name()) + "." + withBit(p->name(), p);
    }
    case 'N': {
        auto* n = static_cast<const INet*>(o);
        std::string name = (bit >= 0 && !n->isScalar()) ? bitName(n->name(), bit) : n->name();
        return "@:" + name;
    }
    case 'R': {
        auto* p = static_cast<const IDPInstTerm*>(o);
        return "@" + std::string(p->instance() ? p->instance()->name() : "") + "%" + p->name();
    }
    case 'O': return "@~" + std::string(o->name());
    case 'X': return "@$" + std::string(o->name());
    default: return "";
    }
}

int Db::kindOf(const ISchemaObject* o, int bit) {
    if (!o) return kindNone;
    switch (o->objectType()) {
    case 'D': return kindDesign;
    case 'I': return kindInstance;
    case 'T': return bit >= 0 ? kindInstTermBit : kindInstTerm;
    case 'N': return bit >= 0 ? kindNetBit : kindNet;
    case 'R': return kindDPInstTerm;
    case 'O': return kindDPNet;
    case 'X': return kindDTInstance;
    default: return kindNone;
    }
}

// The properties of a bit that has none: read through this, never written.
static const rmx::PropMap& noProps() {
    static const rmx::PropMap none;
    return none;
}

// The place of a bus bit in its object (-1 when the bit is none of its own), pins and nets alike.
template <class Obj>
static int busBitIndex(const Obj* o, int bit) {
    if (bit < 0 || o->isScalar()) return -1;
    return bitIndex(o->msb(), o->lsb(), bit);
}

rmx::PropMap* Db::propsToWrite(ISchemaObject* o, int bit) {
    if (!o) return nullptr;
    auto ofBit = [&](auto* obj) -> rmx::PropMap* {
        if (bit < 0 || obj->isScalar()) return &m_props(static_cast<ISchemaObject*>(obj));
        const int i = busBitIndex(obj, bit);
        return i < 0 ? nullptr : &m_bits(obj).use(i).props;
    };
    if (o->objectType() == 'T') {
        if (auto* p = dynamic_cast<IInstTerm*>(o)) return ofBit(p);
    } else if (o->objectType() == 'N') {
        return ofBit(static_cast<INet*>(o));
    }
    return &m_props(o);
}

void Db::releaseBit(ISchemaObject* o, int bit) {
    if (!o) return;
    if (o->objectType() == 'T') {
        if (auto* p = dynamic_cast<IInstTerm*>(o)) m_bits(p).release(busBitIndex(p, bit));
    } else if (o->objectType() == 'N') {
        auto* n = static_cast<INet*>(o);
        m_bits(n).release(busBitIndex(n, bit));
    }
}

const rmx::PropMap* Db::propsOf(const ISchemaObject* o, int bit) {
    if (!o) return nullptr;
    if (o->objectType() == 'T') {
        if (auto* p = dynamic_cast<const IInstTerm*>(o)) return propsOfPinBit(p, bit);
    } else if (o->objectType() == 'N') {
        auto* n = static_cast<const INet*>(o);
        if (bit >= 0 && !n->isScalar()) {
            const int i = busBitIndex(n, bit);
            if (i < 0) return nullptr;
            const auto* b = m_bits(n).find(i);
            return b ? &b->props : &noProps();
        }
    }
    return &m_props(o);
}

const rmx::PropMap* Db::propsOfPinBit(const IInstTerm* pin, int bit) {
    if (bit < 0 || pin->isScalar()) return &m_props(static_cast<const ISchemaObject*>(pin));
    const int i = busBitIndex(pin, bit);
    if (i < 0) return nullptr;
    const auto* b = m_bits(pin).find(i);
    return b ? &b->props : &noProps();
}

// Resolves a path from design d (no hierarchy) as an object of the given kind (0: any).
ISchemaObject* Db::resolve(IDesign* d, int kind, const std::string& path, int& bit) const {
    bit = -1;
    PathRef r;
    if (!d || !parsePath(path, r)) return nullptr;
    for (auto& h : r.hier) {
        IInstance* i = d->findInstance(h.c_str());
        d = i ? i->containedDesign() : nullptr;
        if (!d) return nullptr;
    }
    ISchemaObject* o = nullptr;
    switch (r.sigil) {
    case '\0': o = d; break;
    case '/': o = d->findInstance(r.inst.c_str()); break;
    case '.': {
        IInstance* i = d->findInstance(r.inst.c_str());
        IInstTerm* p = i ? i->findInstTerm(r.name.c_str()) : nullptr;
        if (p && r.hasBit && !p->hasBit(r.bit)) p = nullptr;
        if (p && r.hasBit) bit = r.bit;
        o = p;
        break;
    }
    case '%': {
        IInstance* i = d->findInstance(r.inst.c_str());
        o = i ? i->findDPInstTerm(bitName(r.name, r.hasBit ? r.bit : -1).c_str()) : nullptr;
        break;
    }
    case ':': {
        INet* n = d->findNet(r.name.c_str());
        if (n && r.hasBit && !n->hasBit(r.bit)) n = nullptr;
        if (n && r.hasBit) bit = r.bit;
        o = n;
        break;
    }
    case '~': o = d->findDPNet(bitName(r.name, r.hasBit ? r.bit : -1).c_str()); break;
    case '$': o = d->findDTInstance(r.name.c_str()); break;
    }
    if (!o) return nullptr;
    if (kind != kindNone) {
        int k = kindOf(o, bit);
        bool ok = k == kind || (kind == kindInstTermBit && k == kindInstTerm) || (kind == kindNetBit && k == kindNet);
        if (!ok) return nullptr;
    }
    return o;
}

CDesignContext Db::makeDesignContext(IServer* s, IDesign* root, std::vector<IInstance*> hier) {
    IDesign* d = root;
    if (!hier.empty()) d = hier.back()->containedDesign();
    if (!d) return CDesignContext();
    return makeContext<CDesignContext>(s, root, std::move(hier), d, -1);
}

}  // namespace rmx

// ---- CContext

IDesign* CContext::ownerDesign() const {
    if (!m_obj) return nullptr;
    return m_hier.empty() ? m_root : m_hier.back()->containedDesign();
}

CDesignContext CContext::designContext() const {
    if (!m_obj) return CDesignContext();
    return Db::makeDesignContext(m_server, m_root, m_hier);
}

CString CContext::spath() const {
    if (!m_obj) return CString();
    std::string pre = designPrefix(m_hier);
    std::string local = Db::pathOf(m_obj, m_bit);  // "@...", relative to the owner design
    if (m_obj->objectType() == 'D') return CString(pre.empty() ? "@" : pre.c_str());
    if (pre.empty()) return CString(local.c_str());
    // local starts with "@"; for design-level objects ("@:", "@~", "@$") drop that "@".
    if (local.size() > 1 && (local[1] == ':' || local[1] == '~' || local[1] == '$')) return CString((pre + local.substr(1)).c_str());
    return CString((pre + local).c_str());
}

CString CContext::cpath() const {
    if (!m_obj || !m_root) return CString();
    return CString((std::string(m_root->name()) + spath().str()).c_str());
}

const rmx::Prop* CContext::storedProperty(const char* name, bool inherited) const {
    if (!m_obj || !name) return nullptr;
    const rmx::PropMap* props = Db::propsOf(m_obj, m_bit);
    const std::string_view key(name);
    if (props) {
        auto it = props->find(key);
        if (it != props->end()) return &it->second;
    }
    if (inherited && m_bit >= 0) {
        // A bit inherits the property of its whole object.
        auto& own = Db::m_props(static_cast<const ISchemaObject*>(m_obj));
        auto it = own.find(key);
        if (it != own.end()) return &it->second;
    }
    return nullptr;
}

CPQPropertyData* CContext::findProperty(const char* name, bool inherited) const {
    const rmx::Prop* p = storedProperty(name, inherited);
    return p ? new CPQPropertyData(name, p->value.c_str(), p->source, spath()) : nullptr;
}

bool CContext::operator==(const CContext& o) const {
    return m_server == o.m_server && m_root == o.m_root && m_hier == o.m_hier && m_obj == o.m_obj && m_bit == o.m_bit;
}

// ---- CDesignContext

CDesignContext::CDesignContext(IServer* server, IDesign* design) {
    if (!server || !design) return;
    m_server = server;
    m_root = design;
    m_obj = design;
}

CDesignContext::CDesignContext(IServer* server, const char* designName)
    : CDesignContext(server, server ? server->findDesign(designName) : nullptr) {}

CString CDesignContext::name() const { return object() ? CString(object()->name()) : CString(); }

CInstanceContext CDesignContext::instance(unsigned id) const {
    IInstance* i = object() ? object()->findInstance(id) : nullptr;
    return i ? Db::makeContext<CInstanceContext>(*this, i, -1) : CInstanceContext();
}

CInstanceContext CDesignContext::instance(const IInstance* inst) const {
    if (!object() || !inst || !inst->isAlive() || inst->design() != object()) return CInstanceContext();
    return Db::makeContext<CInstanceContext>(*this, const_cast<IInstance*>(inst), -1);
}

CInstanceContext CDesignContext::instance(const char* name) const {
    IInstance* i = object() ? object()->findInstance(name) : nullptr;
    return i ? Db::makeContext<CInstanceContext>(*this, i, -1) : CInstanceContext();
}

CNetContext CDesignContext::net(unsigned id) const {
    INet* n = object() ? object()->findNet(id) : nullptr;
    return n ? Db::makeContext<CNetContext>(*this, n, -1) : CNetContext();
}

CNetContext CDesignContext::net(const INet* n) const {
    if (!object() || !n || !n->isAlive() || n->design() != object()) return CNetContext();
    return Db::makeContext<CNetContext>(*this, const_cast<INet*>(n), -1);
}

CNetContext CDesignContext::net(const char* name) const {
    INet* n = object() ? object()->findNet(name) : nullptr;
    return n ? Db::makeContext<CNetContext>(*this, n, -1) : CNetContext();
}

CInstanceContext CDesignContext::parent() const {
    if (!object() || m_hier.empty()) return CInstanceContext();
    CInstanceContext c = Db::makeContext<CInstanceContext>(*this, m_hier.back(), -1);
    auto h = m_hier;
    h.pop_back();
    Db::setHier(c, std::move(h));
    return c;
}

CContainerContext CDesignContext::container(const IDPInstTerm* pair) const {
    if (!object() || !pair || !pair->isAlive() || pair->design() != object()) return CContainerContext();
    return Db::makeContext<CContainerContext>(*this, const_cast<IDPInstTerm*>(pair), -1);
}

std::vector<CInstanceContext> CDesignContext::instances() const {
    std::vector<CInstanceContext> out;
    if (object())
        for (IInstance* i : object()->beginInstance()) out.push_back(Db::makeContext<CInstanceContext>(*this, i, -1));
    return out;
}

std::vector<CNetContext> CDesignContext::nets() const {
    std::vector<CNetContext> out;
    if (object())
        for (INet* n : object()->beginNet()) out.push_back(Db::makeContext<CNetContext>(*this, n, -1));
    return out;
}

// ---- CInstanceContext

CString CInstanceContext::name() const { return object() ? CString(object()->name()) : CString(); }

CInstTermContext CInstanceContext::instTerm(unsigned id) const {
    IInstTerm* p = object() ? object()->findInstTerm(id) : nullptr;
    return p ? Db::makeContext<CInstTermContext>(*this, p, -1) : CInstTermContext();
}

CInstTermContext CInstanceContext::instTerm(const IInstTerm* p) const {
    if (!object() || !p || !p->isAlive() || p->instance() != object()) return CInstTermContext();
    return Db::makeContext<CInstTermContext>(*this, const_cast<IInstTerm*>(p), -1);
}

CInstTermContext CInstanceContext::instTerm(const char* name) const {
    IInstTerm* p = object() ? object()->findInstTerm(name) : nullptr;
    return p ? Db::makeContext<CInstTermContext>(*this, p, -1) : CInstTermContext();
}

CDesignContext CInstanceContext::containedDesign() const {
    if (!object() || !object()->containedDesign()) return CDesignContext();
    auto h = m_hier;
    h.push_back(object());
    return Db::makeDesignContext(m_server, m_root, std::move(h));
}

CDesignContext CInstanceContext::design() const { return designContext(); }

const char* CInstanceContext::physicalPackageName() const {
    return object() ? object()->physicalPackageName() : nullptr;
}

CContainerContext CInstanceContext::container(const IDPInstTerm* pair) const {
    if (!object() || !pair || !pair->isAlive() || pair->instance() != object()) return CContainerContext();
    return Db::makeContext<CContainerContext>(*this, const_cast<IDPInstTerm*>(pair), -1);
}

// ---- nets

CNetBitContext CNetContext::bitContext(int bit) const {
    if (!object() || !object()->hasBit(bit)) {
        // Bit -1 of a bus names the whole net.
        if (object() && bit == -1) return Db::makeContext<CNetBitContext>(*this, object(), -1);
        return CNetBitContext();
    }
    return Db::makeContext<CNetBitContext>(*this, object(), bit);
}

CNetBitContext CNetContext::bitContext(const CNetBit& b) const {
    if (b.net() != object()) return CNetBitContext();
    return bitContext(b.bit());
}

CDesignContext CNetContext::design() const { return designContext(); }

CNetContext CNetBitContext::netContext() const {
    return m_obj ? Db::makeContext<CNetContext>(*this, m_obj, -1) : CNetContext();
}

CDesignContext CNetBitContext::design() const { return designContext(); }

CNetBitContext CNetBitContext::base() const {
    if (!m_obj) return CNetBitContext();
    CNetBitContext cur = *this;
    while (!cur.m_hier.empty()) {
        INet* n = cur.net();
        IInstance* block = cur.m_hier.back();
        IInstTerm* pin = n->port() ? block->findInstTerm(n->name()) : nullptr;
        if (!pin) break;
        if (pin->isScalar() != n->isScalar() || !pin->hasBit(cur.m_bit)) break;
        CNetBit outer = pin->netBit(cur.m_bit);
        if (!outer) break;
        std::vector<IInstance*> h = std::move(cur.m_hier); // cur is replaced just below
        h.pop_back();
        cur = Db::makeContext<CNetBitContext>(m_server, m_root, std::move(h), outer.net(), outer.bit());
    }
    return cur;
}

CSchemaObjectIterator<CNetBit> CNetBitContext::beginAlias() const { return netBit().beginAlias(); }

CPQPropertyData* CNetBitContext::findPropertyIncludingAliases(const char* name, bool inherited) const {
    if (CPQPropertyData* p = findProperty(name, inherited)) return p;
    for (const CNetBit& a : beginAlias())
        if (CPQPropertyData* p = a.findProperty(name)) return p;
    return nullptr;
}

CString CNetBitContext::physicalNetName() const {
    if (!m_obj) return CString();
    CNetBitContext b = base();
    std::unique_ptr<CPQPropertyData> p(b.findPropertyIncludingAliases("PHYS_NET_NAME"));
    if (p && *p->value()) return CString(p->value());
    return CString(rmx::bitName(b.net()->name(), b.net()->isScalar() ? -1 : b.bit()).c_str());
}

// ---- pins

CInstTermBitContext CInstTermContext::bitContext(int bit) const {
    if (!object()) return CInstTermBitContext();
    if (bit != -1 && !object()->hasBit(bit)) return CInstTermBitContext();
    return Db::makeContext<CInstTermBitContext>(*this, object(), bit);
}

CInstTermBitContext CInstTermContext::bitContext(const CInstTermBit& b) const {
    if (b.instterm() != object()) return CInstTermBitContext();
    return bitContext(b.bit());
}

CInstanceContext CInstTermContext::instance() const {
    return object() ? Db::makeContext<CInstanceContext>(*this, object()->instance(), -1) : CInstanceContext();
}

CInstTermContext CInstTermBitContext::instTermContext() const {
    return m_obj ? Db::makeContext<CInstTermContext>(*this, m_obj, -1) : CInstTermContext();
}

CInstanceContext CInstTermBitContext::instance() const {
    return m_obj ? Db::makeContext<CInstanceContext>(*this, instTerm()->instance(), -1) : CInstanceContext();
}

CNetBitContext CInstTermBitContext::netbitOuter() const {
    if (!m_obj) return CNetBitContext();
    IInstTerm* p = instTerm();
    int bit = m_bit;
    if (bit == -1 && !p->isScalar()) return CNetBitContext();
    CNetBit nb = p->netBit(bit);
    if (!nb) return CNetBitContext();
    return Db::makeContext<CNetBitContext>(*this, nb.net(), nb.bit());
}

CNetBitContext CInstTermBitContext::netbitInner() const {
    if (!m_obj) return CNetBitContext();
    CNetBit nb = instTermBit().netbitInner();
    if (!nb) return CNetBitContext();
    auto h = m_hier;
    h.push_back(instTerm()->instance());
    return Db::makeContext<CNetBitContext>(m_server, m_root, std::move(h), nb.net(), nb.bit());
}

CString CInstTermBitContext::physicalPinName() const {
    // The object is a pin: its bit's properties are found without asking what it is.
    const rmx::PropMap* props = m_obj ? Db::propsOfPinBit(instTerm(), m_bit) : nullptr;
    const auto it = props ? props->find(std::string_view("PN")) : rmx::PropMap::const_iterator();
    return props && it != props->end() ? CString(it->second.value.c_str()) : CString();
}

// ---- containers

CSchemaObjectIterator<IInstTerm*> CContainerContext::beginInstTerm() const {
    std::vector<IInstTerm*> out;
    auto add = [&](IInstTerm* p) {
        if (p && std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
    };
    if (IDPInstTerm* d = object()) {
        add(d->positive());
        add(d->negative());
        for (IDPInstTerm* m : d->beginMember()) {
            add(m->positive());
            add(m->negative());
        }
    }
    return CSchemaObjectIterator<IInstTerm*>(std::move(out));
}

CInstanceContext CContainerContext::instance() const {
    return object() ? Db::makeContext<CInstanceContext>(*this, object()->instance(), -1) : CInstanceContext();
}
