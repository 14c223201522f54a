// IServer and its services.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "db.h"

using rmx::Db;

rmx::Db::~Db() = default;

IServer::IServer() : m_db(std::make_unique<rmx::Db>(this)), m_partData(this), m_pinSwap(this) {
    for (const char* c : {"MAX_DELAY", "MIN_DELAY", "MAX_LENGTH", "MIN_LENGTH", "MATCHED_DELAY", "DIFFP_PHASE_TOL",
                          "IMPEDANCE_RULE", "MAX_XTALK"})
        m_dictionary.addConstraint(c);
}

IServer::~IServer() = default;

std::uint64_t IServer::instanceListGeneration() const { return m_db->instanceGeneration(); }
std::uint64_t IServer::designatorGeneration() const { return m_db->designatorGeneration(); }

bool IPropertyDictionary::IsConstraint(const char* name, bool) const {
    if (!name) return false;
    for (auto& n : m_names)
        if (strcasecmp(n, name) == 0) return true;
    return false;
}

void IPropertyDictionary::addConstraint(const char* name) {
    if (name && *name && !IsConstraint(name)) m_names.emplace_back(name);
}

int IServer::objectTypeId(char letter) {
    static const char known[] = "DINTROWXACP";
    return (letter && std::strchr(known, letter)) ? static_cast<unsigned char>(letter) : 0;
}

IDesign* IServer::findDesign(const char* name) const { return name ? m_db->findDesign(name) : nullptr; }

IDesign* IServer::findDesign(const char* lib, const char* cell, const char* view) const {
    if (!lib || !cell || !view) return nullptr;
    return m_db->findDesign(std::string(lib) + "." + cell + ":" + view);
}

CSchemaObjectIterator<IDesign*> IServer::beginDesign() const {
    std::vector<IDesign*> out;
    for (auto& [n, d] : m_db->designs()) out.push_back(d.get());
    return CSchemaObjectIterator<IDesign*>(std::move(out));
}

CSchemaObjectIterator<IDesign*> IServer::beginDesignOfCell(const char* cell) const {
    std::vector<IDesign*> out;
    if (cell)
        for (auto& [n, d] : m_db->designs())
            if (std::strcmp(d->cellName(), cell) == 0) out.push_back(d.get());
    return CSchemaObjectIterator<IDesign*>(std::move(out));
}

IDesign* IServer::createDesign(const char* lib, const char* cell, const char* view, bool symbol, const char* folder) {
    if (!CSchemaUtilities::isValidName(lib) || !CSchemaUtilities::isValidName(cell) ||
        !CSchemaUtilities::isValidName(view))
        return nullptr;
    if (findDesign(lib, cell, view)) return nullptr;
    auto d = Db::newDesign(this, lib, cell, view, symbol, folder ? folder : "");
    IDesign* raw = d.get();
    m_db->registerDesign(std::move(d));
    return raw;
}

bool IServer::unloadDesign(IDesign* d) { return m_db->unregisterDesign(d); }

ISchemaObject* IServer::findObjectById(const IDesign* d, char type, unsigned id) const {
    if (!d) return nullptr;
    switch (type) {
    case 'I': return d->findInstance(id);
    case 'N': return d->findNet(id);
    case 'O': return d->findDPNet(id);
    case 'X': return d->findDTInstance(id);
    default: return nullptr;
    }
}

namespace {
bool splitCpath(const char* cpath, std::string& design, std::string& spath) {
    if (!cpath) return false;
    std::string s(cpath);
    size_t at = s.find('@');
    if (at == std::string::npos || at == 0) return false;
    design = s.substr(0, at);
    spath = s.substr(at);
    return true;
}
}  // namespace

ISchemaObject* IServer::findObject(const char* cpath, int* bit) const {
    std::string d, p;
    if (!splitCpath(cpath, d, p)) return nullptr;
    IDesign* design = findDesign(d.c_str());
    if (!design) return nullptr;
    int b = -1;
    ISchemaObject* o = m_db->resolve(design, rmx::kindNone, p, b);
    if (bit) *bit = b;
    return o;
}

ISchemaObject* IServer::findObject(const CDesignContext& root, const char* spath, int* bit) const {
    if (!root || !spath) return nullptr;
    std::unique_ptr<CContext> c(getContext(root, spath));
    if (!c) return nullptr;
    if (bit) *bit = c->bitNumber();
    return c->schemaObject();
}

CContext* IServer::getContext(const char* cpath) const {
    std::string d, p;
    if (!splitCpath(cpath, d, p)) return nullptr;
    IDesign* design = findDesign(d.c_str());
    if (!design) return nullptr;
    return getContext(CDesignContext(const_cast<IServer*>(this), design), p.c_str());
}

CContext* IServer::getContext(const CDesignContext& rootCtx, const char* spath) const {
    rmx::PathRef r;
    if (!rootCtx || !spath || !rmx::parsePath(spath, r)) return nullptr;
    // Paths are read from the context's own root: a context opened inside a hierarchy names
    // objects with the full path.
    IServer* s = const_cast<IServer*>(this);
    IDesign* root = rootCtx.rootDesign();
    IDesign* d = root;
    std::vector<IInstance*> hier;
    for (auto& h : r.hier) {
        IInstance* i = d->findInstance(h.c_str());
        d = i ? i->containedDesign() : nullptr;
        if (!d) return nullptr;
        hier.push_back(i);
    }
    auto make = [&](auto tag, ISchemaObject* o, int bit) -> CContext* {
        using C = decltype(tag);
        if (!o) return nullptr;
        return new C(Db::makeContext<C>(s, root, hier, o, bit));
    };
    switch (r.sigil) {
    case '\0': return new CDesignContext(Db::makeDesignContext(s, root, hier));
    case '/': return make(CInstanceContext(), d->findInstance(r.inst.c_str()), -1);
    case '.': {
        IInstance* i = d->findInstance(r.inst.c_str());
        IInstTerm* p = i ? i->findInstTerm(r.name.c_str()) : nullptr;
        if (!p) return nullptr;
        if (!r.hasBit) return make(CInstTermContext(), p, -1);
        if (!p->hasBit(r.bit)) return nullptr;
        return make(CInstTermBitContext(), p, r.bit);
    }
    case '%': {
        IInstance* i = d->findInstance(r.inst.c_str());
        const std::string name = rmx::bitName(r.name, r.hasBit ? r.bit : -1);
        return make(CContainerContext(), i ? i->findDPInstTerm(name.c_str()) : nullptr, -1);
    }
    case ':': {
        INet* n = d->findNet(r.name.c_str());
        if (!n) return nullptr;
        if (!r.hasBit) return make(CNetContext(), n, -1);
        if (!n->hasBit(r.bit)) return nullptr;
        return make(CNetBitContext(), n, r.bit);
    }
    case '~': return make(CContext(), d->findDPNet(rmx::bitName(r.name, r.hasBit ? r.bit : -1).c_str()), -1);
    case '$': return make(CContext(), d->findDTInstance(r.name.c_str()), -1);
    }
    return nullptr;
}

CContext* IServer::getContext(const ISchemaObject* o) const {
    if (!o || !o->design()) return nullptr;
    int bit = -1;
    if (o->objectType() == 'P') {
        auto* pc = static_cast<const CPropertyChange*>(o);
        bit = pc->ownerBit();
        o = pc->owner();
        if (!o || !o->design()) return nullptr;
    } else if (o->objectType() == 'C') {
        auto* k = static_cast<const CConn*>(o);
        o = k->instTerm();
        if (!o) return nullptr;
    }
    std::string path = Db::pathOf(o, bit);
    if (path.empty()) return nullptr;
    return getContext(CDesignContext(const_cast<IServer*>(this), o->design()), path.c_str());
}

bool IServer::decodePropertyChange(const IChange* c, CString& path, CString& name, CString& oldValue,
                                   CString& newValue) const {
    if (!c || c->objectType() != 'P' || !c->object()) return false;
    auto* pc = static_cast<const CPropertyChange*>(c->object());
    path = pc->ownerPath();
    name = pc->name();
    oldValue = pc->hadOld() ? pc->oldValue() : "";
    newValue = pc->hasNew() ? pc->newValue() : "";
    return true;
}

CCanonicalPathContainer* IServer::decodePropertyChange(const IChange* c, const char** cpath, const char** name,
                                                       const char** oldValue, const char** newValue) const {
    if (!c || c->objectType() != 'P' || !c->object()) return nullptr;
    auto* pc = static_cast<const CPropertyChange*>(c->object());
    auto& ctx = Db::m_context(pc);
    if (!ctx) ctx.reset(getContext(pc));
    if (!ctx || !pc->owner() || !pc->owner()->isAlive()) return nullptr;
    if (cpath) *cpath = pc->ownerCanonicalPath();
    if (name) *name = pc->name();
    if (oldValue) *oldValue = pc->hadOld() ? pc->oldValue() : nullptr;
    if (newValue) *newValue = pc->hasNew() ? pc->newValue() : nullptr;
    return ctx.get();
}

bool IServer::isInterfaceChanged(const IDesign* d, CString& description) const {
    description = "";
    if (!d) return false;
    auto now = Db::interfaceOf(d);
    auto& before = Db::m_savedInterface(d);
    auto nameOf = [](const std::string& line) { return line.substr(0, line.find(' ')); };
    std::string text;
    for (auto& l : now) {
        auto same = std::find(before.begin(), before.end(), l) != before.end();
        if (same) continue;
        bool existed = std::any_of(before.begin(), before.end(), [&](auto& b) { return nameOf(b) == nameOf(l); });
        text += (existed ? "Changed port " : "Added port ") + nameOf(l) + "\n";
    }
    for (auto& b : before)
        if (!std::any_of(now.begin(), now.end(), [&](auto& l) { return nameOf(l) == nameOf(b); }))
            text += "Removed port " + nameOf(b) + "\n";
    description = text.c_str();
    return !text.empty();
}

bool IServer::shouldWarnParent(const IDesign* parent, const IDesign* changed) const {
    if (!parent || !changed) return false;
    for (IInstance* i : parent->beginInstance()) {
        if (i->master() != changed) continue;
        for (IInstTerm* p : i->beginInstTerm()) {
            if (!p->isConnected()) continue;
            ITerm* port = changed->findPort(p->name());
            if (!port || port->msb() != p->msb() || port->lsb() != p->lsb()) return true;
        }
    }
    return false;
}

int IServer::addCommitListener(std::function<void(CTransaction*)> listener) {
    int id = m_db->nextListener++;
    m_db->listeners.emplace_back(id, std::move(listener));
    return id;
}

void IServer::setCommitFault(std::function<bool()> fault) { m_db->commitFault = std::move(fault); }

void IServer::removeCommitListener(int id) {
    auto& l = m_db->listeners;
    l.erase(std::remove_if(l.begin(), l.end(), [id](auto& x) { return x.first == id; }), l.end());
}

// ---- registration

std::unique_ptr<IDesign> rmx::Db::newDesign(IServer* s, const std::string& lib, const std::string& cell,
                                            const std::string& view, bool symbol, const std::string& dir) {
    auto d = std::make_unique<IDesign>();
    IDesign* p = d.get();
    m_server(p) = s;
    m_design(p) = p;
    m_id(p) = 0;
    m_lib(p) = lib;
    m_cell(p) = cell;
    m_view(p) = view;
    m_name(p) = lib + "." + cell + ":" + view;
    m_symbol(p) = symbol;
    m_dir(p) = dir;
    m_instances(p).byId.push_back(nullptr);
    m_nets(p).byId.push_back(nullptr);
    m_dpNets(p).byId.push_back(nullptr);
    m_dts(p).byId.push_back(nullptr);
    return d;
}

ITerm* rmx::Db::addPort(IDesign* d, const std::string& name, int msb, int lsb, int dir, int type) {
    if (d->findPort(name.c_str())) return nullptr;
    auto t = std::make_unique<ITerm>();
    ITerm* p = t.get();
    m_design(p) = d;
    m_id(p) = static_cast<unsigned>(m_ports(d).size() + 1);
    m_name(p) = name;
    m_msb(p) = msb;
    m_lsb(p) = lsb;
    m_direction(p) = dir;
    m_type(p) = static_cast<ITerm::ITermType>(type);
    m_owned(d).push_back(std::move(t));
    m_ports(d).push_back(p);
    m_portsByName(d)[name] = p;
    return p;
}

void rmx::Db::registerDesign(std::unique_ptr<IDesign> d) {
    std::string n = d->name();
    m_designs[n] = std::move(d);
    bump();
}

bool rmx::Db::unregisterDesign(IDesign* d) {
    // Found by pointer, so that a pointer to a design already gone is refused, not read.
    auto it = std::find_if(m_designs.begin(), m_designs.end(), [d](auto& e) { return e.second.get() == d; });
    if (!d || it == m_designs.end()) return false;
    m_symbolPairs.erase(d);
    m_physCache.erase(d);
    m_designs.erase(it);
    bump();
    return true;
}

std::vector<std::string> rmx::Db::interfaceOf(const IDesign* d) {
    std::vector<std::string> out;
    for (ITerm* t : d->beginPort())
        out.push_back(std::string(t->name()) + " " + std::to_string(t->msb()) + " " + std::to_string(t->lsb()) + " " +
                      std::to_string(t->direction()) + " " + std::to_string(t->termType()));
    std::sort(out.begin(), out.end());
    return out;
}

void rmx::Db::snapshotInterface(IDesign* d) { m_savedInterface(d) = interfaceOf(d); }

// ---- part data and pin swapping

namespace rmx {
HMTGEN makeGen(std::vector<const PartPin*> pins);
}

static const rmx::PartDefn* partOf(IServer* server, const CInstanceContext& inst) {
    IInstance* i = inst.instance();
    if (!i || !server) return nullptr;
    return server->db()->findPart(i->partName().str());
}

HMTPART IPartDataService::getPartDefinition(const CInstanceContext& inst) const {
    if (!inst.instance() || !inst.instance()->physicalPackageName()) return nullptr;
    return reinterpret_cast<HMTPART>(const_cast<rmx::PartDefn*>(partOf(m_server, inst)));
}

HMTGEN IPartDataService::getCandidatePins(const CInstanceContext& inst, const char* base, int lsb, int msb) const {
    const rmx::PartDefn* defn = partOf(m_server, inst);
    if (!defn || !base) return nullptr;
    int bit = msb >= 0 ? msb : lsb;
    const char* want = rmx::intern(rmx::bitName(base, bit));
    std::vector<const rmx::PartPin*> pins;
    for (auto& p : defn->pins)
        if (p.logical == want) pins.push_back(&p);
    if (pins.empty()) return nullptr;
    return rmx::makeGen(std::move(pins));
}

const char* IPartDataService::getSectionHolder(const CInstanceContext& inst, const char* pkg, const char* sec) const {
    if (!inst || !pkg || !sec) return nullptr;
    CDesignContext dc = inst.design();
    for (const CInstanceContext& other : dc.instances()) {
        const char* loc = other.physicalPackageName();
        if (!loc || std::strcmp(loc, pkg) != 0) continue;
        std::unique_ptr<CPQPropertyData> s(other.findProperty("SEC"));
        if (s && std::strcmp(s->value(), sec) == 0) return rmx::intern(other.spath().str());
    }
    return nullptr;
}

bool IPinSwapService::canSwap(const CInstanceContext& inst, const char* a, const char* b) const {
    const rmx::PartDefn* defn = partOf(m_server, inst);
    if (!defn || !a || !b || std::strcmp(a, b) == 0) return false;
    auto ia = defn->byNumber.find(a), ib = defn->byNumber.find(b);
    if (ia == defn->byNumber.end() || ib == defn->byNumber.end()) return false;
    int ga = defn->pins[static_cast<size_t>(ia->second)].swapGroup;
    return ga != 0 && ga == defn->pins[static_cast<size_t>(ib->second)].swapGroup;
}

std::vector<CString> IPinSwapService::swappablePins(const CInstanceContext& inst, const char* number) const {
    std::vector<CString> out;
    const rmx::PartDefn* defn = partOf(m_server, inst);
    if (!defn || !number) return out;
    for (auto& p : defn->pins)
        if (canSwap(inst, number, p.number)) out.emplace_back(p.number);
    return out;
}
