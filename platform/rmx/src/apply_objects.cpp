// The primitive edits of instances, pins, power pins and associated components.
#include <algorithm>

#include "apply_steps.h"

namespace rmx {

using namespace applystep;

bool Db::applyInstCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyInstDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyInstRename(Op& op, IDesign* d, TxState* rec, std::string& why) {
    IInstance* i = d->findInstance(op.s1.c_str());
    if (!i) return why = "no instance " + op.s1, false;
    if (d->findInstance(op.s2.c_str())) return why = "an instance named " + op.s2 + " exists", false;
    m_instances(d).byName.erase(op.s1);
    m_name(i) = op.s2;
    m_instances(d).byName[op.s2] = i;
    addRenameChange(rec, 'I', i, d, op.s1);
    return true;
}

bool Db::applyInstMaster(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyPinCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyPinDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyPinRename(Op& op, IDesign* d, TxState* rec, std::string& why) {
    IInstTerm* p = findPin(d, op.s1, op.s2, why);
    if (!p) return false;
    IInstance* i = p->instance();
    if (i->findInstTerm(op.s3.c_str())) return why = "pin " + op.s3 + " exists", false;
    m_pinsByName(i).erase(op.s2);
    m_name(p) = op.s3;
    m_pinsByName(i)[op.s3] = p;
    addRenameChange(rec, 'T', p, d, op.s2);
    return true;
}

bool Db::applyPinType(Op& op, IDesign* d, TxState* rec, std::string& why) {
    IInstTerm* p = findPin(d, op.s1, op.s2, why);
    if (!p || !codesOk(op.n[2], op.n[3], why)) return false;
    if (p->termType() != op.n[0] || p->direction() != op.n[1]) return stale("the type of pin " + op.s2, why);
    m_type(p) = static_cast<ITerm::ITermType>(op.n[2]);
    m_direction(p) = op.n[3];
    addChange(rec, 'T', 8, p, d);
    return true;
}

bool Db::applyPinWidth(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyPortWidth(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyPowerPin(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDTCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
    // s1 name, s2 type, n0 assoc kind, n1 attach kind, s3 attach path, id
    if (d->findDTInstance(op.s1.c_str())) return why = "a component named " + op.s1 + " exists", false;
    if (op.n[0] != IDTInstance::eTermination && op.n[0] != IDTInstance::ePullUpDown)
        return why = "bad component kind", false;
    IInstTerm* pin;
    INet* net;
    int bit;
    IDPInstTerm* pair;
    if (!attachTarget(d, op.n[1], op.s3, pin, net, bit, pair, why)) {
        // A design file names a pair pin's component by the pin, on its connection or kept on the pin
        // itself: without a pair connection it is kept on the pin.
        std::string none;
        if (op.n[1] != IDTInstance::eOnDPConn ||
            !attachTarget(d, IDTInstance::eOnDPInstTerm, op.s3, pin, net, bit, pair, none))
            return false;
        op.n[1] = IDTInstance::eOnDPInstTerm;
    }
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

bool Db::applyDTDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDTType(Op& op, IDesign* d, TxState* rec, std::string& why) {
    IDTInstance* dt = d->findDTInstance(op.s1.c_str());
    if (!dt) return why = "no component " + op.s1, false;
    if (op.s2 != dt->typeName()) return stale("the type of component " + op.s1, why);
    m_type(dt) = op.s3;
    addChange(rec, 'X', 3, dt, d);
    return true;
}

bool Db::applyDTAttach(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

}  // namespace rmx
