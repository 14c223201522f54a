// The primitive edits: each applies one Op forward, checks first and changes nothing when it is
// refused. Backward application is forward application of the inverted Op.
#include <algorithm>
#include <cstdarg>

#include "db.h"

namespace rmx {

std::string fmt(const char* f, ...) {
    va_list ap;
    va_start(ap, f);
    char buf[512];
    vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

std::string bitName(const std::string& name, int bit) { return bit < 0 ? name : name + "<" + std::to_string(bit) + ">"; }

namespace {

template <class T, class Table>
T* placeById(IDesign* d, Table& table, unsigned& id, std::string& why, bool& revived) {
    revived = false;
    if (id == 0) id = static_cast<unsigned>(std::max<size_t>(table.byId.size(), 1));
    if (table.byId.empty()) table.byId.push_back(nullptr);
    if (id < table.byId.size() && table.byId[id]) {
        if (table.byId[id]->isAlive()) {
            why = fmt("id %u is taken", id);
            return nullptr;
        }
        revived = true;
        return table.byId[id];
    }
    if (id >= table.byId.size()) table.byId.resize(id + 1, nullptr);
    auto obj = std::make_unique<T>();
    T* raw = obj.get();
    Db::m_owned(d).push_back(std::move(obj));
    table.byId[id] = raw;
    return raw;
}

// Puts an object made again (by an undo, a redo or a replay) back where it was among the others: the
// lists are in the order the objects were made, which is the order of their ids.
// The usual case is the newest object, which goes at the end without a search.
template <class T> void insertInIdOrder(std::vector<T*>& list, T* object) {
    if (list.empty() || list.back()->id() < object->id()) {
        list.push_back(object);
        return;
    }
    auto later = std::upper_bound(list.begin(), list.end(), object,
                                  [](const T* a, const T* b) { return a->id() < b->id(); });
    list.insert(later, object);
}

IDesign* designOf(Db& db, const Op& op, std::string& why) {
    IDesign* d = db.findDesign(op.design);
    if (!d) why = "no design " + op.design;
    return d;
}

IInstTerm* findPin(IDesign* d, const std::string& inst, const std::string& pin, std::string& why) {
    IInstance* i = d->findInstance(inst.c_str());
    IInstTerm* p = i ? i->findInstTerm(pin.c_str()) : nullptr;
    if (!p) why = "no pin " + inst + "." + pin;
    return p;
}

INet* findNet(IDesign* d, const std::string& name, std::string& why) {
    INet* n = d->findNet(name.c_str());
    if (!n) why = "no net " + name;
    return n;
}

// Bits of a range a..b (inclusive, either direction); -1,-1 is the scalar bit.
std::vector<int> rangeBits(int a, int b) {
    std::vector<int> out;
    if (a < 0 || b < 0) {
        out.push_back(-1);
        return out;
    }
    int step = a <= b ? 1 : -1;
    for (int x = a;; x += step) {
        out.push_back(x);
        if (x == b) break;
    }
    return out;
}

// Widest bus or vector pin the database holds.
constexpr int kMaxWidth = kRmxMaxBit + 1;

bool rangeOk(int msb, int lsb, std::string& why) {
    if (msb < -1 || lsb < -1 || (msb < 0) != (lsb < 0)) return why = "bad bit range", false;
    if (msb > kRmxMaxBit || lsb > kRmxMaxBit)
        return why = "bit numbers run from 0 to " + std::to_string(kRmxMaxBit), false;
    if (rangeWidth(msb, lsb) > kMaxWidth) return why = "bit range wider than " + std::to_string(kMaxWidth), false;
    return true;
}

bool codesOk(int type, int dir, std::string& why) {
    if (type < ITerm::eTermTypeUnknown || type > ITerm::eTermGround) return why = "bad pin type", false;
    if (dir < ITerm::eDirNone || dir > ITerm::eDirInout) return why = "bad direction", false;
    return true;
}

}  // namespace

IDesign* Db::findDesign(const std::string& name) const {
    auto it = m_designs.find(name);
    return it == m_designs.end() ? nullptr : it->second.get();
}

const PartDefn* Db::findPart(const std::string& name) const {
    auto it = m_parts.find(name);
    return it == m_parts.end() ? nullptr : it->second.get();
}


void Db::addChange(TxState* rec, char type, int kind, ISchemaObject* obj, IDesign* d) {
    if (!rec) return;
    auto c = std::make_unique<IChange>();
    m_type(c.get()) = type;
    m_kind(c.get()) = kind;
    m_object(c.get()) = obj;
    m_design(c.get()) = d;
    c->m_serial = newChangeSerial();
    rec->changes.push_back(std::move(c));
}

void Db::addConnChange(TxState* rec, int kind, const CConn& conn, const CConn* removed, const CConn* added) {
    if (!rec) return;
    auto keep = [&](const CConn* c) -> CConn* {
        if (!c) return nullptr;
        auto o = std::make_unique<CConn>(*c);
        CConn* raw = o.get();
        rec->records.push_back(std::move(o));
        return raw;
    };
    CConn* obj = keep(&conn);
    auto c = std::make_unique<IChange>();
    m_type(c.get()) = 'C';
    m_kind(c.get()) = kind;
    m_object(c.get()) = obj;
    m_design(c.get()) = conn.design();
    m_removed(c.get())[0] = keep(removed);
    m_added(c.get())[0] = keep(added);
    c->m_serial = newChangeSerial();
    rec->changes.push_back(std::move(c));
}

void Db::noteInstanceChange(const Op& op) {
    switch (op.code) {
    case OpCode::InstCreate:
    case OpCode::InstDelete:
    case OpCode::InstRename:
    case OpCode::InstMaster:
        ++m_instanceGen;
        break;
    case OpCode::Prop:
        if (op.s2 == "LOCATION") ++m_instanceGen;
        break;
    default:
        break;
    }
}

void Db::noteDesignatorChange(const Op& op) {
    bool changes = false;
    switch (op.code) {
    case OpCode::InstCreate:
    case OpCode::InstDelete:
    case OpCode::InstMaster:
    case OpCode::DTCreate:
    case OpCode::DTDelete:
        changes = true;
        break;
    case OpCode::Prop: {
        const std::string& name = op.s2;
        const std::string slotSuffix = ".REFDES";
        changes = name == "LOCATION" || name == "SLOT_COUNT" ||
                  (name.size() > slotSuffix.size() &&
                   name.compare(name.size() - slotSuffix.size(), slotSuffix.size(), slotSuffix) == 0);
        break;
    }
    default:
        break;
    }
    if (changes) m_designatorGen = newTxGeneration();
}

void Db::noteApplied(const Op& op, bool ok) {
    if (ok) {
        notePhysChange(op);
        noteInstanceChange(op);
        noteDesignatorChange(op);
    } else {  // whatever an edit that failed half-way left
        ++m_physGen;
        ++m_instanceGen;
        m_designatorGen = newTxGeneration();
    }
}

bool Db::apply(Op& op, bool inverse, TxState* rec, std::string& why) {
    ++m_gen;  // cached views are stale from the first pending change on; the physical ones by the edit
    if (inverse) {
        Op inv = invertOp(op);
        const bool ok = applyImpl(inv, rec, why);
        noteApplied(inv, ok);
        return ok;
    }
    const bool ok = applyImpl(op, rec, why);
    noteApplied(op, ok);
    return ok;
}

// Connect / disconnect one pin bit (no checks, no records).
static void joinBit(IInstTerm* pin, int pinBit, INet* net, int netBit) {
    int pi = bitIndex(pin->msb(), pin->lsb(), pinBit);
    int ni = bitIndex(net->msb(), net->lsb(), netBit);
    auto& pb = Db::m_bits(pin).use(pi);
    pb.net = net;
    pb.netBit = netBit;
    Db::m_bits(net).use(ni).pins.insert(CInstTermBit(pin, pinBit));
}

static void partBit(IInstTerm* pin, int pinBit) {
    int pi = bitIndex(pin->msb(), pin->lsb(), pinBit);
    auto* pb = Db::m_bits(pin).find(pi);
    if (!pb || !pb->net) return;
    INet* net = pb->net;
    int ni = bitIndex(net->msb(), net->lsb(), pb->netBit);
    if (auto* nb = Db::m_bits(net).find(ni)) nb->pins.erase(CInstTermBit(pin, pinBit));
    Db::m_bits(net).release(ni);
    pb->net = nullptr;
    pb->netBit = -1;
    Db::m_bits(pin).release(pi);
}

static bool attachTarget(IDesign* d, int kind, const std::string& path, IInstTerm*& pin, INet*& net, int& bit,
                         IDPInstTerm*& pair, std::string& why) {
    pin = nullptr;
    net = nullptr;
    pair = nullptr;
    bit = -1;
    if (kind == IDTInstance::eDetached) return true;
    PathRef r;
    if (!parsePath(path, r) || !r.hier.empty()) {
        why = "bad attachment path " + path;
        return false;
    }
    if (kind == IDTInstance::eOnInstTermBit && r.sigil == '.') {
        pin = findPin(d, r.inst, r.name, why);
        if (!pin) return false;
        bit = r.hasBit ? r.bit : -1;
        if (rmx::bitIndex(pin->msb(), pin->lsb(), bit) < 0) {
            why = "no such pin bit " + path;
            return false;
        }
        return true;
    }
    if (kind == IDTInstance::eOnNetBit && r.sigil == ':') {
        net = findNet(d, r.name, why);
        if (!net) return false;
        bit = r.hasBit ? r.bit : -1;
        if (rmx::bitIndex(net->msb(), net->lsb(), bit) < 0) {
            why = "no such net bit " + path;
            return false;
        }
        return true;
    }
    if (kind == IDTInstance::eOnDPConn && r.sigil == '%') {
        IInstance* i = d->findInstance(r.inst.c_str());
        const IDPInstTerm* named = i ? i->findDPInstTerm(bitName(r.name, r.hasBit ? r.bit : -1).c_str()) : nullptr;
        const CDPConnLane at = named ? named->connLane() : CDPConnLane();
        if (!at) {
            why = "no pair connection at " + path;
            return false;
        }
        pair = at.conn->dpInstTerm();
        bit = at.lane;
        return true;
    }
    why = "bad attachment path " + path;
    return false;
}

static void detachDT(IDTInstance* dt) {
    auto drop = [dt](std::vector<IDTInstance*>& v) { v.erase(std::remove(v.begin(), v.end(), dt), v.end()); };
    switch (Db::m_attach(dt)) {
    case IDTInstance::eOnInstTermBit: {
        IInstTerm* p = Db::m_pin(dt);
        int i = rmx::bitIndex(p->msb(), p->lsb(), Db::m_bit(dt));
        if (auto* b = Db::m_bits(p).find(i)) drop(b->dts);
        Db::m_bits(p).release(i);
        break;
    }
    case IDTInstance::eOnNetBit: {
        INet* n = Db::m_net(dt);
        int i = rmx::bitIndex(n->msb(), n->lsb(), Db::m_bit(dt));
        if (auto* b = Db::m_bits(n).find(i)) drop(b->dts);
        Db::m_bits(n).release(i);
        break;
    }
    case IDTInstance::eOnDPConn:
        if (IDPConn* c = Db::m_dpConn(dt)) drop(Db::m_dts(c));
        break;
    default: break;
    }
    Db::m_attach(dt) = IDTInstance::eDetached;
    Db::m_pin(dt) = nullptr;
    Db::m_net(dt) = nullptr;
    Db::m_dpConn(dt) = nullptr;
    Db::m_bit(dt) = -1;
}

// A pin bit's, net bit's or pair connection's components are listed in the order they were made, whatever
// brought them there: a change taken back (an undo, a refused commit) puts a component back in its place.
static void attachDT(IDTInstance* dt, int kind, IInstTerm* pin, INet* net, int bit, IDPInstTerm* pair) {
    Db::m_attach(dt) = static_cast<IDTInstance::AttachKind>(kind);
    if (kind == IDTInstance::eOnInstTermBit) {
        Db::m_pin(dt) = pin;
        Db::m_bit(dt) = bit;
        insertInIdOrder(Db::m_bits(pin).use(rmx::bitIndex(pin->msb(), pin->lsb(), bit)).dts, dt);
    } else if (kind == IDTInstance::eOnNetBit) {
        Db::m_net(dt) = net;
        Db::m_bit(dt) = bit;
        insertInIdOrder(Db::m_bits(net).use(rmx::bitIndex(net->msb(), net->lsb(), bit)).dts, dt);
    } else if (kind == IDTInstance::eOnDPConn) {
        IDPConn* c = Db::m_conn(pair);
        Db::m_dpConn(dt) = c;
        Db::m_bit(dt) = bit;
        insertInIdOrder(Db::m_dts(c), dt);
    }
}

static bool propsEmpty(const ISchemaObject* o) { return Db::m_props(o).empty(); }

// True for a pair net name with a bit ("EW<3>").
static bool namesBit(const std::string& name) { return name.find('<') != std::string::npos; }

// A change carries the state it was made from; when the design no longer holds that state (the
// object was changed since by another route), the change is refused rather than written over it.
static bool stale(const std::string& what, std::string& why) {
    why = what + " is not as the change expects (changed since)";
    return false;
}
static bool sameId(unsigned expected, unsigned actual) { return expected == 0 || expected == actual; }

std::string Db::attachPathOf(const IDTInstance* dt) {
    switch (dt->attachKind()) {
    case IDTInstance::eOnInstTermBit: return pathOf(dt->instTermBit().instterm(), dt->instTermBit().bit());
    case IDTInstance::eOnNetBit: return pathOf(dt->netBit().net(), dt->netBit().bit());
    // A component on one member of a vector pair pin is named by its lane ("...%Q<3>").
    case IDTInstance::eOnDPConn:
        return dt->dpConn() ? bitName(pathOf(dt->dpConn()->dpInstTerm(), -1), dt->dpConnLane()) : "";
    default: return "";
    }
}


Op invertOp(const Op& op) {
    Op r = op;
    auto swapOld = [&]() {
        std::swap(r.hadOld, r.hasNew);
        std::swap(r.oldP, r.newP);
    };
    switch (op.code) {
    case OpCode::NetCreate: r.code = OpCode::NetDelete; break;
    case OpCode::NetDelete: r.code = OpCode::NetCreate; break;
    case OpCode::NetRename: std::swap(r.s1, r.s2); break;
    case OpCode::NetWidth:
        std::swap(r.n[0], r.n[2]);
        std::swap(r.n[1], r.n[3]);
        break;
    case OpCode::AliasAdd: r.code = OpCode::AliasDel; break;
    case OpCode::AliasDel: r.code = OpCode::AliasAdd; break;
    case OpCode::Conn: r.code = OpCode::Disconn; break;
    case OpCode::Disconn: r.code = OpCode::Conn; break;
    case OpCode::Move:
        std::swap(r.s1, r.s4);
        std::swap(r.n[1], r.n[2]);
        break;
    case OpCode::Prop: swapOld(); break;
    case OpCode::InstCreate: r.code = OpCode::InstDelete; break;
    case OpCode::InstDelete: r.code = OpCode::InstCreate; break;
    case OpCode::InstRename: std::swap(r.s1, r.s2); break;
    case OpCode::InstMaster: std::swap(r.s2, r.s3); break;
    case OpCode::PinCreate: r.code = OpCode::PinDelete; break;
    case OpCode::PinDelete: r.code = OpCode::PinCreate; break;
    case OpCode::PinRename: std::swap(r.s2, r.s3); break;
    case OpCode::PinType:
    case OpCode::PinWidth:
    case OpCode::PortWidth:
        std::swap(r.n[0], r.n[2]);
        std::swap(r.n[1], r.n[3]);
        break;
    case OpCode::PowerPin:
        std::swap(r.s3, r.s4);
        std::swap(r.hadOld, r.hasNew);
        break;
    case OpCode::DPNetCreate: r.code = OpCode::DPNetDelete; break;
    case OpCode::DPNetDelete: r.code = OpCode::DPNetCreate; break;
    case OpCode::DPNetRename: std::swap(r.s1, r.s2); break;
    case OpCode::DPPinCreate: r.code = OpCode::DPPinDelete; break;
    case OpCode::DPPinDelete: r.code = OpCode::DPPinCreate; break;
    case OpCode::DPConnAdd: r.code = OpCode::DPConnDel; break;
    case OpCode::DPConnDel: r.code = OpCode::DPConnAdd; break;
    case OpCode::DTCreate: r.code = OpCode::DTDelete; break;
    case OpCode::DTDelete: r.code = OpCode::DTCreate; break;
    case OpCode::DTType: std::swap(r.s2, r.s3); break;
    case OpCode::DTAttach:
        std::swap(r.n[0], r.n[1]);
        std::swap(r.s2, r.s3);
        break;
    }
    return r;
}

bool Db::applyImpl(Op& op, TxState* rec, std::string& why) {
    IDesign* d = designOf(*this, op, why);
    if (!d) return false;
    switch (op.code) {
    // ------------------------------------------------------------------ nets
    case OpCode::NetCreate: {
        if (d->findNet(op.s1.c_str())) return why = "a net named " + op.s1 + " exists", false;
        if (!rangeOk(op.n[0], op.n[1], why) || !codesOk(op.n[3], 0, why)) return false;
        if (op.n[2] < INet::eScopeDesign || op.n[2] > INet::eScopeGlobal) return why = "bad net scope", false;
        bool revived;
        INet* n = placeById<INet>(d, m_nets(d), op.id, why, revived);
        if (!n) return false;
        m_id(n) = op.id;
        m_design(n) = d;
        m_alive(n) = true;
        m_name(n) = op.s1;
        m_msb(n) = op.n[0];
        m_lsb(n) = op.n[1];
        m_scope(n) = static_cast<INet::INetScope>(op.n[2]);
        m_type(n) = static_cast<ITerm::ITermType>(op.n[3]);
        m_bits(n).clear();
        m_nets(d).byName[op.s1] = n;
        ++m_nets(d).live;
        addChange(rec, 'N', 1, n, d);
        return true;
    }
    case OpCode::NetDelete: {
        INet* n = findNet(d, op.s1, why);
        if (!n) return false;
        if (n->msb() != op.n[0] || n->lsb() != op.n[1] || m_scope(n) != op.n[2] || n->termType() != op.n[3] ||
            !sameId(op.id, n->id()))
            return stale("net " + op.s1, why);
        if (n->connectionCount() || !propsEmpty(n) || !n->beginAlias().atEnd() || !n->beginDPNet().atEnd())
            return why = "net " + op.s1 + " is still in use", false;
        for (auto& [i, b] : m_bits(n))
            if (!b.props.empty() || !b.dts.empty()) return why = "net " + op.s1 + " is still in use", false;
        m_alive(n) = false;
        m_nets(d).byName.erase(op.s1);
        --m_nets(d).live;
        addChange(rec, 'N', 2, n, d);
        return true;
    }
    case OpCode::NetRename: {
        INet* n = findNet(d, op.s1, why);
        if (!n) return false;
        if (d->findNet(op.s2.c_str())) return why = "a net named " + op.s2 + " exists", false;
        m_nets(d).byName.erase(op.s1);
        m_name(n) = op.s2;
        m_nets(d).byName[op.s2] = n;
        addChange(rec, 'N', 3, n, d);
        return true;
    }
    case OpCode::NetWidth: {
        INet* n = findNet(d, op.s1, why);
        if (!n) return false;
        if (!rangeOk(op.n[2], op.n[3], why)) return false;
        if (n->msb() != op.n[0] || n->lsb() != op.n[1]) return stale("the width of net " + op.s1, why);
        if ((op.n[0] < 0) != n->isScalar() || (op.n[2] < 0) != n->isScalar()) return why = "net width differs", false;
        auto& old = m_bits(n);
        // Bits that go away must be free.
        for (auto& [i, data] : old) {
            int b = bitAt(n->msb(), n->lsb(), i);
            bool keeps = bitIndex(op.n[2], op.n[3], b) >= 0 && (b >= 0 || op.n[2] < 0);
            if (!keeps && !data.empty()) return why = "bit " + bitName(op.s1, b) + " is still in use", false;
        }
        for (IDPNet* dp : n->beginDPNet())
            if (dp->positiveBit() >= 0 || dp->negativeBit() >= 0)
                if (bitIndex(op.n[2], op.n[3], n == dp->positive() ? dp->positiveBit() : dp->negativeBit()) < 0)
                    return why = "a pair net uses a bit that goes away", false;
        std::remove_reference_t<decltype(old)> fresh;
        for (auto& [i, data] : old) {
            int b = bitAt(n->msb(), n->lsb(), i);
            int j = bitIndex(op.n[2], op.n[3], b);
            if (op.n[2] < 0 && n->isScalar()) j = 0;
            if (j >= 0 && !data.empty()) fresh.use(j) = std::move(data);
        }
        old.swap(fresh);
        m_msb(n) = op.n[2];
        m_lsb(n) = op.n[3];
        addChange(rec, 'N', 10, n, d);
        // A pair over two whole leg nets spans their range once both legs have it.
        for (IDPNet* dp : n->beginDPNet()) {
            if (dp->positiveBit() >= 0 || dp->negativeBit() >= 0) continue;
            const INet* other = n == dp->positive() ? dp->negative() : dp->positive();
            if (other->msb() != n->msb() || other->lsb() != n->lsb()) continue;
            if (dp->msb() == n->msb() && dp->lsb() == n->lsb()) continue;
            m_msb(dp) = n->msb();
            m_lsb(dp) = n->lsb();
            addChange(rec, 'O', 10, dp, d);
        }
        return true;
    }
    case OpCode::AliasAdd: {
        INet* a = findNet(d, op.s1, why);
        INet* b = a ? findNet(d, op.s2, why) : nullptr;
        if (!b) return false;
        if (a == b || a->width() != b->width()) return why = "nets " + op.s1 + " and " + op.s2 + " cannot alias", false;
        for (CAlias* x : a->beginAlias())
            if (x->first() == b || x->second() == b) return why = "the nets are aliased already", false;
        CAlias* al = nullptr;
        if (op.id)
            for (CAlias* x : m_aliases(d))
                if (x->id() == op.id && !x->isAlive()) al = x;
        if (!al) {
            auto o = std::make_unique<CAlias>();
            al = o.get();
            m_owned(d).push_back(std::move(o));
            m_aliases(d).push_back(al);
            if (!op.id) op.id = m_nextAliasId(d)++;
            else m_nextAliasId(d) = std::max(m_nextAliasId(d), op.id + 1);
        }
        m_id(al) = op.id;
        m_design(al) = d;
        m_alive(al) = true;
        m_first(al) = a;
        m_second(al) = b;
        m_aliases(a).push_back(al);
        m_aliases(b).push_back(al);
        addChange(rec, 'A', 1, al, d);
        addChange(rec, 'N', 9, a, d);
        addChange(rec, 'N', 9, b, d);
        return true;
    }
    case OpCode::AliasDel: {
        INet* a = findNet(d, op.s1, why);
        INet* b = a ? findNet(d, op.s2, why) : nullptr;
        if (!b) return false;
        CAlias* al = nullptr;
        for (CAlias* x : a->beginAlias())
            if ((x->first() == a && x->second() == b) || (x->first() == b && x->second() == a)) al = x;
        if (!al) return why = "no alias between " + op.s1 + " and " + op.s2, false;
        if (!sameId(op.id, al->id())) return stale("the alias of " + op.s1 + " and " + op.s2, why);
        op.id = al->id();
        m_alive(al) = false;
        auto drop = [al](std::vector<CAlias*>& v) { v.erase(std::remove(v.begin(), v.end(), al), v.end()); };
        drop(m_aliases(a));
        drop(m_aliases(b));
        addChange(rec, 'A', 2, al, d);
        addChange(rec, 'N', 9, a, d);
        addChange(rec, 'N', 9, b, d);
        return true;
    }
    // ------------------------------------------------------------------ connections
    case OpCode::Conn:
    case OpCode::Disconn: {
        // s1 net, n0..n1 net bits, s2.s3 pin, n2..n3 pin bits
        INet* n = findNet(d, op.s1, why);
        IInstTerm* p = n ? findPin(d, op.s2, op.s3, why) : nullptr;
        if (!p) return false;
        // Both ends must lie in the objects before the range is spelled out.
        for (int k : {0, 1})
            if (bitIndex(n->msb(), n->lsb(), op.n[k]) < 0) return why = "no bit " + bitName(op.s1, op.n[k]), false;
        for (int k : {2, 3})
            if (bitIndex(p->msb(), p->lsb(), op.n[k]) < 0) return why = "no pin bit " + bitName(op.s3, op.n[k]), false;
        auto nb = rangeBits(op.n[0], op.n[1]);
        auto pb = rangeBits(op.n[2], op.n[3]);
        if (nb.size() != pb.size()) return why = "bit ranges differ in width", false;
        for (size_t k = 0; k < nb.size(); ++k) {
            if (bitIndex(n->msb(), n->lsb(), nb[k]) < 0) return why = "no bit " + bitName(op.s1, nb[k]), false;
            if (bitIndex(p->msb(), p->lsb(), pb[k]) < 0) return why = "no pin bit " + bitName(op.s3, pb[k]), false;
            CNetBit cur = p->netBit(pb[k]);
            if (op.code == OpCode::Conn && cur) return why = "pin bit " + bitName(op.s3, pb[k]) + " is connected", false;
            if (op.code == OpCode::Disconn && cur != CNetBit(n, nb[k]))
                return why = "pin bit " + bitName(op.s3, pb[k]) + " is not on " + bitName(op.s1, nb[k]), false;
        }
        for (size_t k = 0; k < nb.size(); ++k) {
            if (op.code == OpCode::Conn) joinBit(p, pb[k], n, nb[k]);
            else partBit(p, pb[k]);
        }
        addConnChange(rec, op.code == OpCode::Conn ? 1 : 2, CConn(n, op.n[0], op.n[1], p, op.n[2], op.n[3]), nullptr,
                      nullptr);
        return true;
    }
    case OpCode::Move: {
        // s2.s3 pin, n0 pin bit; from s1 n1 to s4 n2
        IInstTerm* p = findPin(d, op.s2, op.s3, why);
        INet* from = p ? findNet(d, op.s1, why) : nullptr;
        INet* to = from ? findNet(d, op.s4, why) : nullptr;
        if (!to) return false;
        if (bitIndex(p->msb(), p->lsb(), op.n[0]) < 0 || bitIndex(to->msb(), to->lsb(), op.n[2]) < 0)
            return why = "no such bit", false;
        if (p->netBit(op.n[0]) != CNetBit(from, op.n[1])) return why = "pin bit is not where the change expects", false;
        partBit(p, op.n[0]);
        joinBit(p, op.n[0], to, op.n[2]);
        CConn removed(from, op.n[1], p, op.n[0]), added(to, op.n[2], p, op.n[0]);
        addConnChange(rec, 17, added, &removed, &added);
        return true;
    }
    // ------------------------------------------------------------------ properties
    case OpCode::Prop: {
        int bit = -1;
        ISchemaObject* o = resolve(d, op.kind, op.s1, bit);
        if (!o) return why = "no object at " + op.s1, false;
        PropMap* props = propsToWrite(o, bit);
        if (!props) return why = "no object at " + op.s1, false;
        auto it = props->find(op.s2);
        bool had = it != props->end();
        if (had != op.hadOld || (had && (it->second.value != op.oldP.value || it->second.source != op.oldP.source))) {
            releaseBit(o, bit);
            return stale("property " + op.s2 + " of " + op.s1, why);
        }
        if (op.hasNew) (*props)[op.s2] = op.newP;
        else if (had) props->erase(it);
        releaseBit(o, bit);
        if (rec) {
            auto pc = std::make_unique<CPropertyChange>();
            m_owner(pc.get()) = o;
            m_bit(pc.get()) = bit;
            m_kind(pc.get()) = op.kind ? op.kind : kindOf(o, bit);
            m_path(pc.get()) = op.s1;
            m_cpath(pc.get()) = std::string(d->name()) + op.s1;
            m_name(pc.get()) = op.s2;
            m_design(pc.get()) = d;
            m_hadOld(pc.get()) = op.hadOld;
            m_hasNew(pc.get()) = op.hasNew;
            m_old(pc.get()) = op.oldP.value;
            m_new(pc.get()) = op.newP.value;
            int kind = (op.hadOld && op.hasNew) ? 5 : (op.hasNew ? 1 : 2);
            addChange(rec, 'P', kind, pc.get(), d);
            rec->records.push_back(std::move(pc));
            if (o->objectType() == 'I' && op.s2 == "LOCATION") addChange(rec, 'I', 12, o, d);
        }
        return true;
    }
    // ------------------------------------------------------------------ instances and pins
    case OpCode::InstCreate: {
        if (d->findInstance(op.s1.c_str())) return why = "an instance named " + op.s1 + " exists", false;
        bool revived;
        IInstance* i = placeById<IInstance>(d, m_instances(d), op.id, why, revived);
        if (!i) return false;
        m_id(i) = op.id;
        m_design(i) = d;
        m_alive(i) = true;
        m_name(i) = op.s1;
        m_lib(i) = op.s2;
        m_cell(i) = op.s3;
        m_view(i) = op.s4;
        m_instances(d).byName[op.s1] = i;
        ++m_instances(d).live;
        addChange(rec, 'I', 1, i, d);
        return true;
    }
    case OpCode::InstDelete: {
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        if (op.s2 != i->libName() || op.s3 != i->cellName() || op.s4 != i->viewName() || !sameId(op.id, i->id()))
            return stale("instance " + op.s1, why);
        if (i->instTermCount() || !i->beginDPInstTerm().atEnd() || !propsEmpty(i) || !m_powerNets(i).empty())
            return why = "instance " + op.s1 + " still has pins or data", false;
        m_alive(i) = false;
        m_instances(d).byName.erase(op.s1);
        --m_instances(d).live;
        addChange(rec, 'I', 2, i, d);
        return true;
    }
    case OpCode::InstRename: {
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        if (d->findInstance(op.s2.c_str())) return why = "an instance named " + op.s2 + " exists", false;
        m_instances(d).byName.erase(op.s1);
        m_name(i) = op.s2;
        m_instances(d).byName[op.s2] = i;
        addChange(rec, 'I', 3, i, d);
        return true;
    }
    case OpCode::InstMaster: {
        // s1 instance, s2 old "lib cell view", s3 new
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        std::vector<std::string> parts, olds;
        if (!tokenize(op.s3, parts, why) || parts.size() != 3) return why = "bad master " + op.s3, false;
        if (!tokenize(op.s2, olds, why) || olds.size() != 3 || olds[0] != i->libName() || olds[1] != i->cellName() ||
            olds[2] != i->viewName())
            return stale("the master of " + op.s1, why);
        m_lib(i) = parts[0];
        m_cell(i) = parts[1];
        m_view(i) = parts[2];
        addChange(rec, 'I', 17, i, d);
        addChange(rec, 'I', 11, i, d);
        return true;
    }
    case OpCode::PinCreate: {
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        if (i->findInstTerm(op.s2.c_str())) return why = "pin " + op.s1 + "." + op.s2 + " exists", false;
        if (!rangeOk(op.n[0], op.n[1], why) || !codesOk(op.n[3], op.n[2], why)) return false;
        IInstTerm* p = nullptr;
        if (op.id) {
            auto it = m_pinsById(i).find(op.id);
            if (it != m_pinsById(i).end()) {
                if (it->second->isAlive()) return why = fmt("pin id %u is taken", op.id), false;
                p = it->second;
            }
        } else {
            op.id = m_nextPinId(d)++;
        }
        if (!p) {
            auto o = std::make_unique<IInstTerm>();
            p = o.get();
            m_owned(d).push_back(std::move(o));
            m_pinsById(i)[op.id] = p;
            m_nextPinId(d) = std::max(m_nextPinId(d), op.id + 1);
        }
        m_id(p) = op.id;
        m_design(p) = d;
        m_alive(p) = true;
        m_instance(p) = i;
        m_name(p) = op.s2;
        m_display(p) = op.s3;
        m_msb(p) = op.n[0];
        m_lsb(p) = op.n[1];
        m_direction(p) = op.n[2];
        m_type(p) = static_cast<ITerm::ITermType>(op.n[3]);
        m_bits(p).clear();
        // Pins keep declaration order; a revived pin goes back to its place by id.
        auto& pins = m_pins(i);
        auto pos = std::find_if(pins.begin(), pins.end(), [&](IInstTerm* x) { return x->id() > op.id; });
        pins.insert(pos, p);
        m_pinsByName(i)[op.s2] = p;
        addChange(rec, 'T', 1, p, d);
        return true;
    }
    case OpCode::PinDelete: {
        IInstTerm* p = findPin(d, op.s1, op.s2, why);
        if (!p) return false;
        if (p->msb() != op.n[0] || p->lsb() != op.n[1] || p->direction() != op.n[2] || p->termType() != op.n[3] ||
            op.s3 != p->displayName() || !sameId(op.id, p->id()))
            return stale("pin " + op.s1 + "." + op.s2, why);
        if (p->isConnected() || !propsEmpty(p) || !m_pairs(p).empty()) return why = "pin " + op.s2 + " is in use", false;
        for (auto& [i, b] : m_bits(p))
            if (!b.props.empty() || !b.dts.empty()) return why = "pin " + op.s2 + " is in use", false;
        for (IDPInstTerm* x : m_pairs(p))
            if (x->isAlive()) return why = "pin " + op.s2 + " is in use", false;
        IInstance* i = p->instance();
        op.id = p->id();
        m_alive(p) = false;
        auto& pins = m_pins(i);
        pins.erase(std::remove(pins.begin(), pins.end(), p), pins.end());
        m_pinsByName(i).erase(op.s2);
        addChange(rec, 'T', 2, p, d);
        return true;
    }
    case OpCode::PinRename: {
        IInstTerm* p = findPin(d, op.s1, op.s2, why);
        if (!p) return false;
        IInstance* i = p->instance();
        if (i->findInstTerm(op.s3.c_str())) return why = "pin " + op.s3 + " exists", false;
        m_pinsByName(i).erase(op.s2);
        m_name(p) = op.s3;
        m_pinsByName(i)[op.s3] = p;
        addChange(rec, 'T', 3, p, d);
        return true;
    }
    case OpCode::PinType: {
        IInstTerm* p = findPin(d, op.s1, op.s2, why);
        if (!p || !codesOk(op.n[2], op.n[3], why)) return false;
        if (p->termType() != op.n[0] || p->direction() != op.n[1]) return stale("the type of pin " + op.s2, why);
        m_type(p) = static_cast<ITerm::ITermType>(op.n[2]);
        m_direction(p) = op.n[3];
        addChange(rec, 'T', 8, p, d);
        return true;
    }
    case OpCode::PinWidth: {
        IInstTerm* p = findPin(d, op.s1, op.s2, why);
        if (!p || !rangeOk(op.n[2], op.n[3], why)) return false;
        if (p->msb() != op.n[0] || p->lsb() != op.n[1]) return stale("the width of pin " + op.s2, why);
        if (p->isConnected()) return why = "pin " + op.s2 + " is connected", false;
        for (auto& [i, b] : m_bits(p))
            if (!b.props.empty() || !b.dts.empty()) return why = "pin " + op.s2 + " has bit data", false;
        for (IDPInstTerm* x : m_pairs(p))
            if (x->isAlive()) return why = "pin " + op.s2 + " is in a pair", false;
        m_msb(p) = op.n[2];
        m_lsb(p) = op.n[3];
        m_bits(p).clear();
        addChange(rec, 'T', 10, p, d);
        return true;
    }
    case OpCode::PortWidth: {
        // The design's interface: its parents' instances keep their pins until they are updated.
        ITerm* port = d->findPort(op.s1.c_str());
        if (!port) return why = "no port " + op.s1, false;
        if (!rangeOk(op.n[2], op.n[3], why)) return false;
        if (port->msb() != op.n[0] || port->lsb() != op.n[1]) return stale("the width of port " + op.s1, why);
        m_msb(port) = op.n[2];
        m_lsb(port) = op.n[3];
        addChange(rec, 'T', 10, port, d);
        return true;
    }
    case OpCode::PowerPin: {
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        auto tie = m_powerNets(i).find(op.s2);
        bool tied = tie != m_powerNets(i).end();
        if (tied != op.hadOld || (tied && tie->second != op.s3)) return stale("power pin " + op.s2 + " of " + op.s1, why);
        if (op.hasNew) m_powerNets(i)[op.s2] = op.s4;
        else m_powerNets(i).erase(op.s2);
        addChange(rec, 'I', op.hasNew ? 13 : 14, i, d);
        return true;
    }
    // ------------------------------------------------------------------ pairs
    case OpCode::DPNetCreate: {
        if (d->findDPNet(op.s1.c_str())) return why = "a pair net named " + op.s1 + " exists", false;
        INet* pos = findNet(d, op.s2, why);
        INet* neg = pos ? findNet(d, op.s3, why) : nullptr;
        if (!neg) return false;
        if (pos == neg && op.n[0] == op.n[1]) return why = "the legs are the same net bit", false;
        if ((op.n[0] < 0 || op.n[1] < 0) && namesBit(op.s1))
            return why = "a pair net named with a bit is over two net bits", false;
        for (int k : {2, 3})
            if (op.n[k] < IDPNet::ePositive || op.n[k] > IDPNet::eNegative) return why = "bad polarity", false;
        int msb = -1, lsb = -1;
        if (op.n[0] < 0 && op.n[1] < 0) {
            if (pos->width() != neg->width()) return why = "the leg nets differ in width", false;
            msb = pos->msb();
            lsb = pos->lsb();
        } else if (bitIndex(pos->msb(), pos->lsb(), op.n[0]) < 0 || bitIndex(neg->msb(), neg->lsb(), op.n[1]) < 0) {
            return why = "no such leg bit", false;
        }
        bool revived;
        IDPNet* dp = placeById<IDPNet>(d, m_dpNets(d), op.id, why, revived);
        if (!dp) return false;
        m_id(dp) = op.id;
        m_design(dp) = d;
        m_alive(dp) = true;
        m_name(dp) = op.s1;
        m_pos(dp) = pos;
        m_posBit(dp) = op.n[0];
        m_neg(dp) = neg;
        m_negBit(dp) = op.n[1];
        m_posPol(dp) = static_cast<IDPNet::IDPNetPolarity>(op.n[2]);
        m_negPol(dp) = static_cast<IDPNet::IDPNetPolarity>(op.n[3]);
        m_msb(dp) = msb;
        m_lsb(dp) = lsb;
        m_conns(dp).clear();
        insertInIdOrder(m_pairs(pos), dp);
        if (neg != pos) insertInIdOrder(m_pairs(neg), dp);
        m_dpNets(d).byName[op.s1] = dp;
        ++m_dpNets(d).live;
        addChange(rec, 'O', 1, dp, d);
        return true;
    }
    case OpCode::DPNetDelete: {
        IDPNet* dp = d->findDPNet(op.s1.c_str());
        if (!dp) return why = "no pair net " + op.s1, false;
        if (op.s2 != dp->positive()->name() || op.n[0] != dp->positiveBit() || op.s3 != dp->negative()->name() ||
            op.n[1] != dp->negativeBit() || op.n[2] != dp->positivePolarity() || op.n[3] != dp->negativePolarity() ||
            !sameId(op.id, dp->id()))
            return stale("pair net " + op.s1, why);
        if (!dp->beginConn().atEnd() || !propsEmpty(dp)) return why = "pair net " + op.s1 + " is in use", false;
        auto drop = [dp](std::vector<IDPNet*>& v) { v.erase(std::remove(v.begin(), v.end(), dp), v.end()); };
        drop(m_pairs(dp->positive()));
        drop(m_pairs(dp->negative()));
        m_alive(dp) = false;
        m_dpNets(d).byName.erase(op.s1);
        --m_dpNets(d).live;
        addChange(rec, 'O', 2, dp, d);
        return true;
    }
    case OpCode::DPNetRename: {
        IDPNet* dp = d->findDPNet(op.s1.c_str());
        if (!dp) return why = "no pair net " + op.s1, false;
        if (d->findDPNet(op.s2.c_str())) return why = "a pair net named " + op.s2 + " exists", false;
        if ((dp->positiveBit() < 0 || dp->negativeBit() < 0) && namesBit(op.s2))
            return why = "a pair net named with a bit is over two net bits", false;
        m_dpNets(d).byName.erase(op.s1);
        m_name(dp) = op.s2;
        m_dpNets(d).byName[op.s2] = dp;
        addChange(rec, 'O', 3, dp, d);
        return true;
    }
    case OpCode::DPPinCreate: {
        // s1 inst, s2 name, s3 pos pin, n0 pos bit, s4 neg pin, n1 neg bit, n2 origin, id
        IInstance* i = d->findInstance(op.s1.c_str());
        if (!i) return why = "no instance " + op.s1, false;
        if (i->findDPInstTerm(op.s2.c_str())) return why = "pair pin " + op.s2 + " exists", false;
        if (op.n[2] > IDPInstTerm::eUser) return why = "bad pair origin", false;
        IInstTerm* pos = findPin(d, op.s1, op.s3, why);
        IInstTerm* neg = pos ? findPin(d, op.s1, op.s4, why) : nullptr;
        if (!neg) return false;
        std::vector<std::pair<int, int>> legs;  // member legs (pos bit, neg bit)
        int msb = -1, lsb = -1;
        if (op.n[0] < 0 && op.n[1] < 0 && !pos->isScalar()) {
            if (pos->width() != neg->width()) return why = "the leg pins differ in width", false;
            for (int k = 0; k < pos->width(); ++k)
                legs.emplace_back(bitAt(pos->msb(), pos->lsb(), k), bitAt(neg->msb(), neg->lsb(), k));
            msb = pos->msb();
            lsb = pos->lsb();
        } else if (bitIndex(pos->msb(), pos->lsb(), op.n[0]) < 0 || bitIndex(neg->msb(), neg->lsb(), op.n[1]) < 0) {
            return why = "no such leg bit", false;
        }
        if (pos == neg && op.n[0] == op.n[1]) return why = "the legs are the same pin bit", false;
        if (!op.id) {
            op.id = m_nextDPPinId(d);
            m_nextDPPinId(d) += static_cast<unsigned>(1 + legs.size());
        } else {
            m_nextDPPinId(d) = std::max(m_nextDPPinId(d), op.id + static_cast<unsigned>(1 + legs.size()));
        }
        auto make = [&](unsigned id, const std::string& name, int pb, int nb) {
            auto o = std::make_unique<IDPInstTerm>();
            IDPInstTerm* p = o.get();
            m_owned(d).push_back(std::move(o));
            m_id(p) = id;
            m_design(p) = d;
            m_name(p) = name;
            m_instance(p) = i;
            m_pos(p) = pos;
            m_posBit(p) = pb;
            m_neg(p) = neg;
            m_negBit(p) = nb;
            m_origin(p) = static_cast<IDPInstTerm::Origin>(op.n[2] < 0 ? 3 : op.n[2]);
            insertInIdOrder(m_pairs(pos), p);
            if (neg != pos) insertInIdOrder(m_pairs(neg), p);
            return p;
        };
        IDPInstTerm* top = make(op.id, op.s2, op.n[0], op.n[1]);
        m_msb(top) = msb;
        m_lsb(top) = lsb;
        for (size_t k = 0; k < legs.size(); ++k) {
            IDPInstTerm* m = make(op.id + 1 + static_cast<unsigned>(k), bitName(op.s2, legs[k].first), legs[k].first,
                                  legs[k].second);
            m_parent(m) = top;
            m_members(top).push_back(m);
        }
        insertInIdOrder(m_dpPins(i), top);
        addChange(rec, 'R', 1, top, d);
        return true;
    }
    case OpCode::DPPinDelete: {
        IInstance* i = d->findInstance(op.s1.c_str());
        IDPInstTerm* top = i ? i->findDPInstTerm(op.s2.c_str()) : nullptr;
        if (!top || top->parent()) return why = "no pair pin " + op.s1 + "%" + op.s2, false;
        std::vector<IDPInstTerm*> all{top};
        for (IDPInstTerm* m : m_members(top)) all.push_back(m);
        for (IDPInstTerm* p : all)
            if (m_conn(p) || !m_dts(p).empty() || !propsEmpty(p)) return why = "pair pin " + op.s2 + " is in use", false;
        if (op.s3 != top->positive()->name() || op.n[0] != top->positiveBit() || op.s4 != top->negative()->name() ||
            op.n[1] != top->negativeBit() || op.n[2] != top->origin() || !sameId(op.id, top->id()))
            return stale("pair pin " + op.s1 + "%" + op.s2, why);
        op.id = top->id();
        for (IDPInstTerm* p : all) {
            m_alive(p) = false;
            auto drop = [p](std::vector<IDPInstTerm*>& v) { v.erase(std::remove(v.begin(), v.end(), p), v.end()); };
            drop(m_pairs(p->positive()));
            drop(m_pairs(p->negative()));
        }
        auto& v = m_dpPins(i);
        v.erase(std::remove(v.begin(), v.end(), top), v.end());
        addChange(rec, 'R', 2, top, d);
        return true;
    }
    case OpCode::DPConnAdd:
    case OpCode::DPConnDel: {
        // s1 pair net, n0 n1 net bits, s2 % s3 pair pin, n2 n3 pin bits
        IDPNet* dp = d->findDPNet(op.s1.c_str());
        IInstance* i = d->findInstance(op.s2.c_str());
        IDPInstTerm* pp = i ? i->findDPInstTerm(op.s3.c_str()) : nullptr;
        if (!dp || !pp) return why = "no pair net " + op.s1 + " or pair pin " + op.s2 + "%" + op.s3, false;
        if (op.code == OpCode::DPConnAdd) {
            if (m_conn(pp)) return why = "pair pin " + op.s3 + " is connected", false;
            auto c = std::make_unique<IDPConn>();
            IDPConn* conn = c.get();
            m_owned(d).push_back(std::move(c));
            m_design(conn) = d;
            m_net(conn) = dp;
            m_pin(conn) = pp;
            m_netMsb(conn) = op.n[0];
            m_netLsb(conn) = op.n[1];
            m_pinMsb(conn) = op.n[2];
            m_pinLsb(conn) = op.n[3];
            m_conn(pp) = conn;
            m_conns(dp).push_back(conn);
            addChange(rec, 'W', 1, conn, d);
        } else {
            IDPConn* conn = m_conn(pp);
            if (!conn || conn->dpNet() != dp) return why = "pair pin " + op.s3 + " is not on " + op.s1, false;
            if (conn->netMsb() != op.n[0] || conn->netLsb() != op.n[1] || conn->instTermMsb() != op.n[2] ||
                conn->instTermLsb() != op.n[3])
                return stale("the pair connection of " + op.s3, why);
            if (!m_dts(conn).empty()) return why = "the pair connection carries components", false;
            m_alive(conn) = false;
            m_conn(pp) = nullptr;
            auto& v = m_conns(dp);
            v.erase(std::remove(v.begin(), v.end(), conn), v.end());
            addChange(rec, 'W', 2, conn, d);
        }
        return true;
    }
    // ------------------------------------------------------------------ components
    case OpCode::DTCreate: {
        // s1 name, s2 type, n0 assoc kind, n1 attach kind, s3 attach path, id
        if (d->findDTInstance(op.s1.c_str())) return why = "a component named " + op.s1 + " exists", false;
        if (op.n[0] != IDTInstance::eTermination && op.n[0] != IDTInstance::ePullUpDown)
            return why = "bad component kind", false;
        IInstTerm* pin;
        INet* net;
        int bit;
        IDPInstTerm* pair;
        if (!attachTarget(d, op.n[1], op.s3, pin, net, bit, pair, why)) return false;
        bool revived;
        IDTInstance* dt = placeById<IDTInstance>(d, m_dts(d), op.id, why, revived);
        if (!dt) return false;
        m_id(dt) = op.id;
        m_design(dt) = d;
        m_alive(dt) = true;
        m_name(dt) = op.s1;
        m_type(dt) = op.s2;
        m_kind(dt) = static_cast<IDTInstance::AssocKind>(op.n[0]);
        m_attach(dt) = IDTInstance::eDetached;
        attachDT(dt, op.n[1], pin, net, bit, pair);
        m_dts(d).byName[op.s1] = dt;
        ++m_dts(d).live;
        addChange(rec, 'X', 1, dt, d);
        return true;
    }
    case OpCode::DTDelete: {
        IDTInstance* dt = d->findDTInstance(op.s1.c_str());
        if (!dt) return why = "no component " + op.s1, false;
        if (op.s2 != dt->typeName() || op.n[0] != dt->assocKind() || op.n[1] != dt->attachKind() ||
            op.s3 != attachPathOf(dt) || !sameId(op.id, dt->id()))
            return stale("component " + op.s1, why);
        if (!propsEmpty(dt)) return why = "component " + op.s1 + " still has properties", false;
        detachDT(dt);
        m_alive(dt) = false;
        m_dts(d).byName.erase(op.s1);
        --m_dts(d).live;
        addChange(rec, 'X', 2, dt, d);
        return true;
    }
    case OpCode::DTType: {
        IDTInstance* dt = d->findDTInstance(op.s1.c_str());
        if (!dt) return why = "no component " + op.s1, false;
        if (op.s2 != dt->typeName()) return stale("the type of component " + op.s1, why);
        m_type(dt) = op.s3;
        addChange(rec, 'X', 3, dt, d);
        return true;
    }
    case OpCode::DTAttach: {
        // n0 old kind, s2 old path, n1 new kind, s3 new path
        IDTInstance* dt = d->findDTInstance(op.s1.c_str());
        if (!dt) return why = "no component " + op.s1, false;
        if (op.n[0] != dt->attachKind() || op.s2 != attachPathOf(dt)) return stale("the place of component " + op.s1, why);
        IInstTerm* pin;
        INet* net;
        int bit;
        IDPInstTerm* pair;
        if (!attachTarget(d, op.n[1], op.s3, pin, net, bit, pair, why)) return false;
        const int lane = dt->dpConnLane();
        detachDT(dt);
        attachDT(dt, op.n[1], pin, net, bit, pair);
        // Taken off a lane of a pair connection, it remembers the lane for the connection it goes back to.
        if (op.n[1] == IDTInstance::eDetached) m_bit(dt) = lane;
        addChange(rec, 'X', 7, dt, d);
        return true;
    }
    }
    why = "unknown change";
    return false;
}

}  // namespace rmx
