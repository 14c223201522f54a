// The shared steps of the CTransaction edits.
#include "txfront.h"

namespace rmx::txfront {

Ctx front(const CTransaction* t, std::unique_ptr<TxState>& s) {
    (void)t;
    return Ctx{s.get(), s->server ? s->server->db() : nullptr};
}

std::string dname(const ISchemaObject* o) { return o && o->design() ? o->design()->name() : ""; }

bool fail(TxState* st, const std::string& why) {
    st->error = why;
    return false;
}

bool validName(const char* n) { return n && CSchemaUtilities::isValidName(n); }
bool validPairNetName(const char* n) { return n && CSchemaUtilities::isValidPairNetName(n); }

IDPNet* pairOverBits(const INet* pos, int posBit, const INet* neg, int negBit) {
    if (!pos || !neg) return nullptr;
    if (posBit < 0 && negBit < 0) {
        // A pair over the two whole nets: the one the design has over them already.
        for (IDPNet* dp : pos->beginDPNet())
            if (dp->positive() == pos && dp->negative() == neg && dp->positiveBit() < 0 && dp->negativeBit() < 0)
                return dp;
        return nullptr;
    }
    if (posBit < 0 || negBit < 0 || !pos->hasBit(posBit) || !neg->hasBit(negBit)) return nullptr;
    const int lane = rmx::bitIndex(pos->msb(), pos->lsb(), posBit);
    for (IDPNet* dp : pos->beginDPNet()) {
        if (dp->positive() != pos || dp->negative() != neg) continue;
        if (dp->positiveBit() == posBit && dp->negativeBit() == negBit) return dp;
        if (dp->positiveBit() < 0 && dp->negativeBit() < 0 && lane == rmx::bitIndex(neg->msb(), neg->lsb(), negBit))
            return dp;
    }
    return nullptr;
}

Op makeOp(OpCode code, const ISchemaObject* o) {
    Op op;
    op.code = code;
    op.design = dname(o);
    return op;
}

bool clearProps(Ctx& c, ISchemaObject* o, int bit) {
    const rmx::PropMap* props = Db::propsOf(o, bit);
    if (!props) return true;
    std::vector<std::pair<std::string, rmx::Prop>> list(props->begin(), props->end());
    for (auto& [name, p] : list) {
        Op op = makeOp(OpCode::Prop, o);
        op.s1 = Db::pathOf(o, bit);
        op.kind = Db::kindOf(o, bit);
        op.s2 = name;
        op.hadOld = true;
        op.oldP = p;
        if (!c.run(op)) return false;
    }
    return true;
}

std::string attachPath(const IDTInstance* dt) { return Db::attachPathOf(dt); }

bool removeDT(Ctx& c, IDTInstance* dt) {
    if (!clearProps(c, dt, -1)) return false;
    Op op = makeOp(OpCode::DTDelete, dt);
    op.s1 = dt->name();
    op.s2 = dt->typeName();
    op.n[0] = dt->assocKind();
    op.n[1] = dt->attachKind();
    op.s3 = attachPath(dt);
    op.id = dt->id();
    return c.run(op);
}

bool moveDT(Ctx& c, IDTInstance* dt, int kind, const std::string& path) {
    Op op = makeOp(OpCode::DTAttach, dt);
    op.s1 = dt->name();
    op.n[0] = dt->attachKind();
    op.s2 = attachPath(dt);
    op.n[1] = kind;
    op.s3 = path;
    return c.run(op);
}

bool disconnectRun(Ctx& c, const CConn& k, OpCode code) {
    Op op = makeOp(code, k.net());
    op.s1 = k.net()->name();
    op.n[0] = k.netMsb();
    op.n[1] = k.netLsb();
    op.s2 = k.instTerm()->instance()->name();
    op.s3 = k.instTerm()->name();
    op.n[2] = k.instTermMsb();
    op.n[3] = k.instTermLsb();
    return c.run(op);
}

namespace {

// The pair pin that keeps a component of its pair connection's lane (-1: the whole connection).
IDPInstTerm* laneHolder(IDPInstTerm* pp, int lane) {
    if (lane >= 0)
        for (IDPInstTerm* m : pp->beginMember())
            if (m && m->positiveBit() == lane) return m;
    return pp;
}

// A pair pin that goes takes what it kept with it, or leaves it detached for the caller to put back.
bool removeKeptDTs(Ctx& c, IDPInstTerm* pp, bool deleteComponents) {
    for (IDTInstance* dt : pp->beginAssociatedDTInstance())
        if (!(deleteComponents ? removeDT(c, dt) : moveDT(c, dt, IDTInstance::eDetached, ""))) return false;
    return true;
}

} // namespace

bool removeDPConnOf(Ctx& c, IDPInstTerm* pp, bool deleteComponents) {
    IDPConn* conn = pp->dpConn();
    if (!conn) return true;
    // Components not deleted with the connection stay with the pair pin, for its next connection.
    for (IDTInstance* dt : conn->beginAssociatedDTInstance()) {
        bool ok = deleteComponents ? removeDT(c, dt)
                                   : moveDT(c, dt, IDTInstance::eOnDPInstTerm,
                                            Db::pathOf(laneHolder(pp, dt->dpConnLane()), -1));
        if (!ok) return false;
    }
    Op op = makeOp(OpCode::DPConnDel, pp);
    op.s1 = conn->dpNet()->name();
    op.n[0] = conn->netMsb();
    op.n[1] = conn->netLsb();
    op.s2 = pp->instance()->name();
    op.s3 = pp->name();
    op.n[2] = conn->instTermMsb();
    op.n[3] = conn->instTermLsb();
    return c.run(op);
}

bool removeDPPin(Ctx& c, IDPInstTerm* pp, bool deleteComponents) {
    if (!removeDPConnOf(c, pp, deleteComponents)) return false;
    for (IDPInstTerm* m : pp->beginMember()) {
        if (!removeDPConnOf(c, m, deleteComponents)) return false;
        if (!removeKeptDTs(c, m, deleteComponents) || !clearProps(c, m, -1)) return false;
    }
    if (!removeKeptDTs(c, pp, deleteComponents)) return false;
    if (!clearProps(c, pp, -1)) return false;
    Op op = makeOp(OpCode::DPPinDelete, pp);
    op.s1 = pp->instance()->name();
    op.s2 = pp->name();
    op.s3 = pp->positive()->name();
    op.n[0] = pp->positiveBit();
    op.s4 = pp->negative()->name();
    op.n[1] = pp->negativeBit();
    op.n[2] = pp->origin();
    op.id = pp->id();
    return c.run(op);
}

bool removePin(Ctx& c, IInstTerm* p) {
    for (IDPInstTerm* pp : p->beginDPInstTerm()) {
        IDPInstTerm* top = pp->parent() ? pp->parent() : pp;
        if (top->isAlive() && !removeDPPin(c, top, true)) return false;
    }
    for (const CConn& k : p->beginConn())
        if (!disconnectRun(c, k)) return false;
    for (int b : Db::usedBits(p)) {
        for (IDTInstance* dt : CInstTermBit(p, b).beginAssociatedDTInstance())
            if (!removeDT(c, dt)) return false;
        if (!p->isScalar() && !clearProps(c, p, b)) return false;
    }
    if (!clearProps(c, p, -1)) return false;
    Op op = makeOp(OpCode::PinDelete, p);
    op.s1 = p->instance()->name();
    op.s2 = p->name();
    op.s3 = p->displayName();
    op.n[0] = p->msb();
    op.n[1] = p->lsb();
    op.n[2] = p->direction();
    op.n[3] = p->termType();
    op.id = p->id();
    return c.run(op);
}

bool createPin(Ctx& c, IInstance* i, const ITerm* port) {
    Op op = makeOp(OpCode::PinCreate, i);
    op.s1 = i->name();
    op.s2 = port->name();
    op.s3 = port->displayName();
    op.n[0] = port->msb();
    op.n[1] = port->lsb();
    op.n[2] = port->direction();
    op.n[3] = port->termType();
    return c.run(op);
}

bool createLibraryPairs(Ctx& c, IInstance* i, IDesign* master) {
    auto& pairs = c.db->symbolPairs();
    auto it = pairs.find(master);
    if (it == pairs.end()) return true;
    for (auto& sp : it->second) {
        CString pb, nb;
        int pl, pm, nl, nm;
        if (!CSchemaUtilities::parsePinName(sp.pos.c_str(), pb, pl, pm) ||
            !CSchemaUtilities::parsePinName(sp.neg.c_str(), nb, nl, nm))
            return fail(c.st, "bad pair definition " + sp.name);
        Op op = makeOp(OpCode::DPPinCreate, i);
        op.s1 = i->name();
        op.s2 = sp.name;
        op.s3 = pb.str();
        op.n[0] = pm;
        op.s4 = nb.str();
        op.n[1] = nm;
        op.n[2] = IDPInstTerm::eLibrary;
        if (!c.run(op)) return false;
    }
    return true;
}

bool checkTx(TxState* st) {
    if (!st->server) return fail(st, "the transaction has no server");
    if (st->rebuilt) return fail(st, "a transaction rebuilt from text takes no further changes");
    st->error.clear();
    return true;
}

bool sameDesign(TxState* st, const ISchemaObject* a, const ISchemaObject* b) {
    if (!a || !b || !a->isAlive() || !b->isAlive()) return fail(st, "missing or removed object");
    if (a->design() != b->design()) return fail(st, "the objects belong to different designs");
    return true;
}

}  // namespace rmx::txfront
