// CTransaction: the edits of properties, instances, pins, power pins and associated components.
#include <algorithm>
#include <set>

#include "db.h"
#include "txfront.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using rmx::TxState;
using namespace rmx::txfront;

bool CTransaction::addProperty(const CContext& object, const char* name, const char* value, unsigned long flags,
                               bool) {
    if (!object) return fail(m_state.get(), "no object");
    return addProperty(object.schemaObject(), object.bitNumber(), name, value, flags);
}

bool CTransaction::addProperty(const ISchemaObject* o, int bit, const char* name, const char* value,
                               unsigned long flags) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!o || !o->isAlive() || !o->design()) return fail(st, "no object");
    if (!name || !*name) return fail(st, "no property name");
    if (!value) return fail(st, "no property value");
    if (std::string(name).find_first_of(" \t\n\"") != std::string::npos) return fail(st, "invalid property name");
    const rmx::PropMap* props = Db::propsOf(o, bit);
    if (!props) return fail(st, "no such bit");
    Op op = makeOp(OpCode::Prop, o);
    op.s1 = Db::pathOf(o, bit);
    op.kind = Db::kindOf(o, bit);
    op.s2 = name;
    auto it = props->find(name);
    if (it != props->end()) {
        if (it->second.value == value && it->second.source == flags) return true;
        op.hadOld = true;
        op.oldP = it->second;
    }
    op.hasNew = true;
    op.newP = rmx::Prop{value, flags};
    Ctx c = front(this, m_state);
    return c.run(op);
}

bool CTransaction::addProperty(int kind, const char* path, const char* name, const char* value, unsigned long flags,
                               bool) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    IDesign* root = st->ctx.rootDesign();
    if (!root || !path) return fail(st, "no design or path");
    int bit = -1;
    ISchemaObject* o = st->server->findObject(CDesignContext(st->server, root), path, &bit);
    if (!o) return fail(st, std::string("no object at ") + path);
    int k = Db::kindOf(o, bit);
    bool ok = kind == rmx::kindNone || k == kind || (kind == rmx::kindInstTermBit && k == rmx::kindInstTerm) ||
              (kind == rmx::kindNetBit && k == rmx::kindNet);
    if (!ok) return fail(st, std::string("the object at ") + path + " is not of the asked kind");
    return addProperty(o, bit, name, value, flags);
}

bool CTransaction::removeProperty(const CContext& object, const char* name, const char* value) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!object || !name) return fail(st, "no object or name");
    ISchemaObject* o = object.schemaObject();
    int bit = object.bitNumber();
    const rmx::PropMap* props = Db::propsOf(o, bit);
    auto it = props ? props->find(name) : rmx::PropMap::const_iterator();
    if (!props || it == props->end()) return fail(st, std::string("no property ") + name);
    if (value && it->second.value != value) return fail(st, std::string("property ") + name + " has another value");
    Op op = makeOp(OpCode::Prop, o);
    op.s1 = Db::pathOf(o, bit);
    op.kind = Db::kindOf(o, bit);
    op.s2 = name;
    op.hadOld = true;
    op.oldP = it->second;
    Ctx c = front(this, m_state);
    return c.run(op);
}

bool CTransaction::removeProperty(int kind, const char* path, const char* name, const char* value) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    IDesign* root = st->ctx.rootDesign();
    if (!root || !path) return fail(st, "no design or path");
    CContext* ctx = st->server->getContext(CDesignContext(st->server, root), path);
    std::unique_ptr<CContext> hold(ctx);
    if (!ctx) return fail(st, std::string("no object at ") + path);
    int k = Db::kindOf(ctx->schemaObject(), ctx->bitNumber());
    if (kind != rmx::kindNone && k != kind && !(kind == rmx::kindInstTermBit && k == rmx::kindInstTerm))
        return fail(st, std::string("the object at ") + path + " is not of the asked kind");
    return removeProperty(*ctx, name, value);
}

IInstance* CTransaction::createInstance(const char* name, const char* lib, const char* cell, const char* view) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return nullptr;
    IDesign* d = design();
    if (!d) return fail(st, "no design"), nullptr;
    if (!validName(name)) return fail(st, std::string("invalid instance name ") + (name ? name : "")), nullptr;
    if (!lib || !cell || !view || !*lib || !*cell || !*view) return fail(st, "no master"), nullptr;
    Ctx c = front(this, m_state);
    size_t om = c.opMark(), cm = c.changeMark();
    Op op = makeOp(OpCode::InstCreate, d);
    op.s1 = name;
    op.s2 = lib;
    op.s3 = cell;
    op.s4 = view;
    if (!c.run(op)) return nullptr;
    IInstance* inst = d->findInstance(name);
    IDesign* master = inst->master();
    if (master == d) {
        c.rollback(om, cm);
        return fail(st, "a design cannot hold an instance of itself"), nullptr;
    }
    if (master) {
        for (ITerm* port : master->beginPort())
            if (!createPin(c, inst, port)) {
                c.rollback(om, cm);
                return nullptr;
            }
        if (!createLibraryPairs(c, inst, master)) {
            c.rollback(om, cm);
            return nullptr;
        }
    }
    return inst;
}

IInstTerm* CTransaction::createInstTerm(const IInstance* inst, const char* name, int msb, int lsb, int dir,
                                        ITerm::ITermType type) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return nullptr;
    if (!inst || !inst->isAlive()) return fail(st, "no instance"), nullptr;
    if (!validName(name)) return fail(st, "invalid pin name"), nullptr;
    if ((msb < 0) != (lsb < 0) || msb < -1 || lsb < -1) return fail(st, "bad bit range"), nullptr;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::PinCreate, inst);
    op.s1 = inst->name();
    op.s2 = name;
    op.n[0] = msb;
    op.n[1] = lsb;
    op.n[2] = dir;
    op.n[3] = type;
    if (!c.run(op)) return nullptr;
    return inst->findInstTerm(name);
}

bool CTransaction::removeInstance(const IInstance* ci) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!ci || !ci->isAlive()) return fail(st, "no instance");
    IInstance* inst = const_cast<IInstance*>(ci);
    Ctx c = front(this, m_state);
    return c.atomic([&]() -> bool {
        for (IDPInstTerm* pp : inst->beginDPInstTerm())
            if (!removeDPPin(c, pp, true)) return false;
        std::vector<IInstTerm*> pins;
        for (IInstTerm* p : inst->beginInstTerm()) pins.push_back(p);
        for (auto it = pins.rbegin(); it != pins.rend(); ++it)
            if (!removePin(c, *it)) return false;
        for (auto& [pin, net] : std::map<std::string, std::string>(Db::m_powerNets(inst))) {
            Op op = makeOp(OpCode::PowerPin, inst);
            op.s1 = inst->name();
            op.s2 = pin;
            op.s3 = net;
            op.hadOld = true;
            if (!c.run(op)) return false;
        }
        if (!clearProps(c, inst, -1)) return false;
        Op op = makeOp(OpCode::InstDelete, inst);
        op.s1 = inst->name();
        op.s2 = inst->libName();
        op.s3 = inst->cellName();
        op.s4 = inst->viewName();
        op.id = inst->id();
        return c.run(op);
    });
}

bool CTransaction::renameInstance(const IInstance* inst, const char* newName) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!inst || !inst->isAlive()) return fail(st, "no instance");
    if (!validName(newName)) return fail(st, "invalid instance name");
    if (std::string(newName) == inst->name()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::InstRename, inst);
    op.s1 = inst->name();
    op.s2 = newName;
    return c.run(op);
}

bool CTransaction::replaceMaster(const IInstance* ci, const char* lib, const char* cell, const char* view) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!ci || !ci->isAlive()) return fail(st, "no instance");
    if (!lib || !cell || !view || !*lib || !*cell || !*view) return fail(st, "no master");
    IInstance* inst = const_cast<IInstance*>(ci);
    IServer* s = st->server;
    IDesign* master = s->findDesign(lib, cell, view);
    if (master == inst->design()) return fail(st, "a design cannot hold an instance of itself");
    Ctx c = front(this, m_state);
    return c.atomic([&]() -> bool {
        if (master) {
            std::vector<IInstTerm*> pins;
            for (IInstTerm* p : inst->beginInstTerm()) pins.push_back(p);
            for (IInstTerm* p : pins) {
                ITerm* port = master->findPort(p->name());
                if (!port || port->msb() != p->msb() || port->lsb() != p->lsb())
                    if (!removePin(c, p)) return false;
            }
            for (ITerm* port : master->beginPort())
                if (!inst->findInstTerm(port->name()) && !createPin(c, inst, port)) return false;
        }
        Op op = makeOp(OpCode::InstMaster, inst);
        op.s1 = inst->name();
        op.s2 = rmx::quote(inst->libName()) + " " + rmx::quote(inst->cellName()) + " " + rmx::quote(inst->viewName());
        op.s3 = rmx::quote(lib) + " " + rmx::quote(cell) + " " + rmx::quote(view);
        return c.run(op);
    });
}

bool CTransaction::renameInstTerm(const IInstTerm* pin, const char* newName) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!pin || !pin->isAlive()) return fail(st, "no pin");
    if (!validName(newName)) return fail(st, "invalid pin name");
    if (std::string(newName) == pin->name()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::PinRename, pin);
    op.s1 = pin->instance()->name();
    op.s2 = pin->name();
    op.s3 = newName;
    return c.run(op);
}

bool CTransaction::changeInstTermType(const IInstTerm* pin, ITerm::ITermType type, int direction) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!pin || !pin->isAlive()) return fail(st, "no pin");
    if (type < ITerm::eTermTypeUnknown || type > ITerm::eTermGround) return fail(st, "bad pin type");
    if (direction < ITerm::eDirNone || direction > ITerm::eDirInout) return fail(st, "bad direction");
    if (pin->termType() == type && pin->direction() == direction) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::PinType, pin);
    op.s1 = pin->instance()->name();
    op.s2 = pin->name();
    op.n[0] = pin->termType();
    op.n[1] = pin->direction();
    op.n[2] = type;
    op.n[3] = direction;
    return c.run(op);
}

bool CTransaction::changeInstTermWidth(const IInstTerm* pin, int msb, int lsb) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!pin || !pin->isAlive()) return fail(st, "no pin");
    if ((msb < 0) != (lsb < 0) || msb < -1 || lsb < -1) return fail(st, "bad bit range");
    if (msb == pin->msb() && lsb == pin->lsb()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::PinWidth, pin);
    op.s1 = pin->instance()->name();
    op.s2 = pin->name();
    op.n[0] = pin->msb();
    op.n[1] = pin->lsb();
    op.n[2] = msb;
    op.n[3] = lsb;
    return c.run(op);
}

bool CTransaction::changePortWidth(const ITerm* port, int msb, int lsb) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!port || !port->design() || port->design()->findPort(port->name()) != port) return fail(st, "no port");
    if ((msb < 0) != (lsb < 0) || msb < -1 || lsb < -1) return fail(st, "bad bit range");
    if (msb == port->msb() && lsb == port->lsb()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::PortWidth, port);
    op.s1 = port->name();
    op.n[0] = port->msb();
    op.n[1] = port->lsb();
    op.n[2] = msb;
    op.n[3] = lsb;
    return c.run(op);
}

bool CTransaction::setPowerPinNet(const IInstance* inst, const char* pin, const char* net) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!inst || !inst->isAlive()) return fail(st, "no instance");
    if (!pin || !*pin || !validName(net)) return fail(st, "bad power pin or net name");
    auto& m = Db::m_powerNets(inst);
    auto it = m.find(pin);
    Op op = makeOp(OpCode::PowerPin, inst);
    op.s1 = inst->name();
    op.s2 = pin;
    if (it != m.end()) {
        if (it->second == net) return true;
        op.hadOld = true;
        op.s3 = it->second;
    }
    op.hasNew = true;
    op.s4 = net;
    Ctx c = front(this, m_state);
    return c.run(op);
}

bool CTransaction::removePowerPinNet(const IInstance* inst, const char* pin) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!inst || !inst->isAlive() || !pin) return fail(st, "no instance");
    auto& m = Db::m_powerNets(inst);
    auto it = m.find(pin);
    if (it == m.end()) return fail(st, std::string("power pin ") + pin + " is not tied by the instance");
    Op op = makeOp(OpCode::PowerPin, inst);
    op.s1 = inst->name();
    op.s2 = pin;
    op.hadOld = true;
    op.s3 = it->second;
    Ctx c = front(this, m_state);
    return c.run(op);
}

namespace {
IDTInstance* createDT(CTransaction* t, TxState* st, const ISchemaObject* owner, int kind, const char* type,
                      const char* name, int attach, const std::string& path) {
    if (!checkTx(st)) return nullptr;
    if (!owner || !owner->isAlive() || !owner->design()) return fail(st, "nothing to attach to"), nullptr;
    if (kind != IDTInstance::eTermination && kind != IDTInstance::ePullUpDown) return fail(st, "bad kind"), nullptr;
    if (!type || !*type) return fail(st, "no component type"), nullptr;
    IDesign* d = owner->design();
    std::string n = name && *name ? name : "";
    if (n.empty()) {
        unsigned k = static_cast<unsigned>(d->beginDTInstance().count()) + 1;
        do n = "DT" + std::to_string(k++);
        while (d->findDTInstance(n.c_str()));
    }
    if (!validName(n.c_str())) return fail(st, "invalid component name " + n), nullptr;
    Op op = makeOp(OpCode::DTCreate, owner);
    op.s1 = n;
    op.s2 = type;
    op.n[0] = kind;
    op.n[1] = attach;
    op.s3 = path;
    Ctx c{st, st->server->db()};
    (void)t;
    if (!c.run(op)) return nullptr;
    return d->findDTInstance(n.c_str());
}
}  // namespace

IDTInstance* CTransaction::createDTInstance(int kind, const char* type, const char* name, const CInstTermBit& at) {
    if (!at || !at.instterm()->hasBit(at.bit())) return fail(m_state.get(), "no pin bit"), nullptr;
    return createDT(this, m_state.get(), at.instterm(), kind, type, name, IDTInstance::eOnInstTermBit,
                    Db::pathOf(at.instterm(), at.bit()));
}

IDTInstance* CTransaction::createDTInstance(int kind, const char* type, const char* name, const IDPConn* at) {
    if (!at || !at->isAlive()) return fail(m_state.get(), "no pair connection"), nullptr;
    return createDT(this, m_state.get(), at->dpInstTerm(), kind, type, name, IDTInstance::eOnDPConn,
                    Db::pathOf(at->dpInstTerm(), -1));
}

IDTInstance* CTransaction::createDTInstance(int kind, const char* type, const char* name, const IDPInstTerm* at) {
    if (!at || !at->isAlive() || !at->connLane()) return fail(m_state.get(), "no pair connection"), nullptr;
    return createDT(this, m_state.get(), at, kind, type, name, IDTInstance::eOnDPConn, Db::pathOf(at, -1));
}

IDTInstance* CTransaction::createDTInstance(int kind, const char* type, const char* name, const CNetBit& at) {
    if (!at || !at.net()->hasBit(at.bit())) return fail(m_state.get(), "no net bit"), nullptr;
    return createDT(this, m_state.get(), at.net(), kind, type, name, IDTInstance::eOnNetBit,
                    Db::pathOf(at.net(), at.bit()));
}

bool CTransaction::removeDTInstance(const IDTInstance* dt) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dt || !dt->isAlive()) return fail(st, "no component");
    Ctx c = front(this, m_state);
    return c.atomic([&] { return removeDT(c, const_cast<IDTInstance*>(dt)); });
}

bool CTransaction::changeDTType(const IDTInstance* dt, const char* type) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dt || !dt->isAlive()) return fail(st, "no component");
    if (!type || !*type) return fail(st, "no component type");
    if (std::string(type) == dt->typeName()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::DTType, dt);
    op.s1 = dt->name();
    op.s2 = dt->typeName();
    op.s3 = type;
    return c.run(op);
}

bool CTransaction::attachDTInstance(const IDTInstance* dt, const CInstTermBit& at) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dt || !dt->isAlive()) return fail(st, "no component");
    if (!at || !sameDesign(st, dt, at.instterm()) || !at.instterm()->hasBit(at.bit())) return fail(st, "no pin bit");
    if (dt->instTermBit() == at) return true;
    Ctx c = front(this, m_state);
    return moveDT(c, const_cast<IDTInstance*>(dt), IDTInstance::eOnInstTermBit, Db::pathOf(at.instterm(), at.bit()));
}

bool CTransaction::attachDTInstance(const IDTInstance* dt, const IDPConn* at) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dt || !dt->isAlive()) return fail(st, "no component");
    if (!at || !at->isAlive() || !sameDesign(st, dt, at->dpInstTerm())) return fail(st, "no pair connection");
    if (dt->dpConn() == at) return true;
    Ctx c = front(this, m_state);
    // A component on one lane of a vector pair (or taken off one) keeps its lane.
    int lane = dt->attachKind() == IDTInstance::eDetached ? Db::m_bit(dt) : dt->dpConnLane();
    // One kept on a lane's member pair pin goes onto its lane of the whole pair's connection.
    if (const IDPInstTerm* held = dt->dpInstTerm())
        lane = held->parent() && held->parent()->dpConn() == at ? held->positiveBit() : -1;
    return moveDT(c, const_cast<IDTInstance*>(dt), IDTInstance::eOnDPConn,
                  Db::pathOf(at->dpInstTerm(), -1) + (lane < 0 ? std::string() : "<" + std::to_string(lane) + ">"));
}
