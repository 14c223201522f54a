// The checks and bit-level steps the primitive edits share.
#include "apply_steps.h"

namespace rmx::applystep {

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

// Connect / disconnect one pin bit (no checks, no records).
void joinBit(IInstTerm* pin, int pinBit, INet* net, int netBit) {
    int pi = bitIndex(pin->msb(), pin->lsb(), pinBit);
    int ni = bitIndex(net->msb(), net->lsb(), netBit);
    auto& pb = Db::m_bits(pin).use(pi);
    pb.net = net;
    pb.netBit = netBit;
    Db::m_bits(net).use(ni).pins.insert(CInstTermBit(pin, pinBit));
}

void partBit(IInstTerm* pin, int pinBit) {
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

bool attachTarget(IDesign* d, int kind, const std::string& path, IInstTerm*& pin, INet*& net, int& bit,
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
    if (kind == IDTInstance::eOnDPInstTerm && r.sigil == '%') {
        IInstance* i = d->findInstance(r.inst.c_str());
        pair = i ? i->findDPInstTerm(bitName(r.name, r.hasBit ? r.bit : -1).c_str()) : nullptr;
        if (!pair) {
            why = "no pair pin " + path;
            return false;
        }
        return true;
    }
    why = "bad attachment path " + path;
    return false;
}

void detachDT(IDTInstance* dt) {
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
    case IDTInstance::eOnDPInstTerm:
        if (IDPInstTerm* p = Db::m_dpPin(dt)) drop(Db::m_dts(p));
        break;
    default: break;
    }
    Db::m_attach(dt) = IDTInstance::eDetached;
    Db::m_pin(dt) = nullptr;
    Db::m_net(dt) = nullptr;
    Db::m_dpConn(dt) = nullptr;
    Db::m_dpPin(dt) = nullptr;
    Db::m_bit(dt) = -1;
}

// A pin bit's, net bit's or pair connection's components are listed in the order they were made, whatever
// brought them there: a change taken back (an undo, a refused commit) puts a component back in its place.
void attachDT(IDTInstance* dt, int kind, IInstTerm* pin, INet* net, int bit, IDPInstTerm* pair) {
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
    } else if (kind == IDTInstance::eOnDPInstTerm) {
        Db::m_dpPin(dt) = pair;
        Db::m_bit(dt) = -1;
        insertInIdOrder(Db::m_dts(pair), dt);
    }
}

bool propsEmpty(const ISchemaObject* o) { return Db::m_props(o).empty(); }

// True for a pair net name with a bit ("EW<3>").
bool namesBit(const std::string& name) { return name.find('<') != std::string::npos; }

// A change carries the state it was made from; when the design no longer holds that state (the
// object was changed since by another route), the change is refused rather than written over it.
bool stale(const std::string& what, std::string& why) {
    why = what + " is not as the change expects (changed since)";
    return false;
}
bool sameId(unsigned expected, unsigned actual) { return expected == 0 || expected == actual; }

}  // namespace rmx::applystep
