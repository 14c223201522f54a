// CTransaction: the edits of nets, aliases, connections and differential pairs.
#include <algorithm>
#include <set>

#include "db.h"
#include "txfront.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using rmx::TxState;
using namespace rmx::txfront;

INet* CTransaction::createNet(const char* name, unsigned msb, unsigned lsb, INet::INetScope scope,
                              ITerm::ITermType type) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return nullptr;
    IDesign* d = design();
    if (!d) return fail(st, "no design"), nullptr;
    if (!validName(name)) return fail(st, std::string("invalid net name ") + (name ? name : "")), nullptr;
    int m = static_cast<int>(msb), l = static_cast<int>(lsb);
    if ((m < 0) != (l < 0) || m < -1 || l < -1) return fail(st, "bad bit range"), nullptr;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::NetCreate, d);
    op.s1 = name;
    op.n[0] = m;
    op.n[1] = l;
    op.n[2] = scope;
    op.n[3] = type;
    if (!c.run(op)) return nullptr;
    return d->findNet(name);
}

bool CTransaction::addNet(const INet* net) {
    if (!net || !net->isAlive()) return fail(m_state.get(), "no net");
    return true;
}

bool CTransaction::removeNet(const INet* cnet) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!cnet || !cnet->isAlive()) return fail(st, "no net");
    INet* net = const_cast<INet*>(cnet);
    Ctx c = front(this, m_state);
    return c.atomic([&]() -> bool {
        for (const CConn& k : net->beginConn())
            if (!disconnectRun(c, k)) return false;
        for (IDPNet* dp : net->beginDPNet())
            if (!removeDPNet(dp)) return false;
        for (CAlias* a : net->beginAlias())
            if (!removeAlias(a)) return false;
        for (int b : Db::usedBits(net)) {
            for (IDTInstance* dt : CNetBit(net, b).beginAssociatedDTInstance())
                if (!removeDT(c, dt)) return false;
            if (!net->isScalar() && !clearProps(c, net, b)) return false;
        }
        if (!clearProps(c, net, -1)) return false;
        Op op = makeOp(OpCode::NetDelete, net);
        op.s1 = net->name();
        op.n[0] = net->msb();
        op.n[1] = net->lsb();
        op.n[2] = Db::m_scope(net);
        op.n[3] = net->termType();
        op.id = net->id();
        return c.run(op);
    });
}

bool CTransaction::renameNet(const INet* net, const char* newName) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!net || !net->isAlive()) return fail(st, "no net");
    if (!validName(newName)) return fail(st, std::string("invalid net name ") + (newName ? newName : ""));
    if (std::string(newName) == net->name()) return true;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::NetRename, net);
    op.s1 = net->name();
    op.s2 = newName;
    return c.run(op);
}

bool CTransaction::changeNetWidth(INet* net, unsigned umsb, unsigned ulsb) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!net || !net->isAlive()) return fail(st, "no net");
    int msb = static_cast<int>(umsb), lsb = static_cast<int>(ulsb);
    if ((msb < 0) != (lsb < 0) || msb < -1 || lsb < -1) return fail(st, "bad bit range");
    if (msb < 0 && !net->isScalar()) return fail(st, "a bus net cannot become scalar");
    if (msb >= 0 && net->isScalar()) return fail(st, "a scalar net cannot become a bus");
    if (msb == net->msb() && lsb == net->lsb()) return true;
    Ctx c = front(this, m_state);
    return c.atomic([&]() -> bool {
        for (int b : Db::usedBits(net)) {
            if (rmx::bitIndex(msb, lsb, b) >= 0) continue;
            for (const CInstTermBit& pb : CNetBit(net, b).beginInstTermBit()) {
                CConn k(net, b, pb.instterm(), pb.bit());
                if (!disconnectRun(c, k)) return false;
            }
            for (IDTInstance* dt : CNetBit(net, b).beginAssociatedDTInstance())
                if (!removeDT(c, dt)) return false;
            if (!clearProps(c, net, b)) return false;
        }
        Op op = makeOp(OpCode::NetWidth, net);
        op.s1 = net->name();
        op.n[0] = net->msb();
        op.n[1] = net->lsb();
        op.n[2] = msb;
        op.n[3] = lsb;
        return c.run(op);
    });
}

bool CTransaction::addAlias(const INet* a, const INet* b) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, a, b)) return false;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::AliasAdd, a);
    op.s1 = a->name();
    op.s2 = b->name();
    return c.run(op);
}

bool CTransaction::removeAlias(const CAlias* al) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!al || !al->isAlive()) return fail(st, "no alias");
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::AliasDel, al->first());
    op.s1 = al->first()->name();
    op.s2 = al->second()->name();
    op.id = al->id();
    return c.run(op);
}

namespace {
// Net bits and pin bits of a connection request, resolved ("-1,-1": whole object).
bool expandRanges(TxState* st, const INet* net, unsigned a, unsigned b, const IInstTerm* pin, unsigned lo,
                  unsigned hi, std::vector<int>& nb, std::vector<int>& pb) {
    int na = static_cast<int>(a), nbb = static_cast<int>(b), pl = static_cast<int>(lo), ph = static_cast<int>(hi);
    if (na == -1 && nbb == -1) {
        na = net->msb();
        nbb = net->lsb();
    }
    if (pl == -1 && ph == -1) {
        pl = pin->msb();
        ph = pin->lsb();
    }
    for (int e : {na, nbb})
        if (rmx::bitIndex(net->msb(), net->lsb(), e) < 0)
            return fail(st, rmx::bitName(net->name(), e) + " is not a bit of the net");
    for (int e : {pl, ph})
        if (rmx::bitIndex(pin->msb(), pin->lsb(), e) < 0)
            return fail(st, rmx::bitName(pin->name(), e) + " is not a bit of the pin");
    auto bits = [](int x, int y) {
        std::vector<int> v;
        if (x < 0 || y < 0) {
            v.push_back(x == y ? -1 : -2);
            return v;
        }
        int s = x <= y ? 1 : -1;
        for (int k = x;; k += s) {
            v.push_back(k);
            if (k == y) break;
        }
        return v;
    };
    nb = bits(na, nbb);
    pb = bits(pl, ph);
    if (nb.size() != pb.size()) return fail(st, "the net range and the pin range differ in width");
    for (size_t k = 0; k < nb.size(); ++k) {
        if (rmx::bitIndex(net->msb(), net->lsb(), nb[k]) < 0)
            return fail(st, rmx::bitName(net->name(), nb[k]) + " is not a bit of the net");
        if (rmx::bitIndex(pin->msb(), pin->lsb(), pb[k]) < 0)
            return fail(st, rmx::bitName(pin->name(), pb[k]) + " is not a bit of the pin");
    }
    return true;
}
}  // namespace

bool CTransaction::addConn(const INet* net, unsigned a, unsigned b, const IInstTerm* pin, unsigned lo, unsigned hi,
                           int) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, net, pin)) return false;
    std::vector<int> nb, pb;
    if (!expandRanges(st, net, a, b, pin, lo, hi, nb, pb)) return false;
    Ctx c = front(this, m_state);
    size_t om = c.opMark(), cm = c.changeMark();
    auto flush = [&](size_t from, size_t to) -> bool {  // a run of free pin bits [from, to)
        if (from >= to) return true;
        CConn k(net, nb[from], nb[to - 1], pin, pb[from], pb[to - 1]);
        return disconnectRun(c, k, OpCode::Conn);
    };
    size_t runStart = 0;
    for (size_t k = 0; k <= nb.size(); ++k) {
        bool end = k == nb.size();
        CNetBit cur = end ? CNetBit() : pin->netBit(pb[k]);
        if (end || cur) {
            if (!flush(runStart, k)) {
                c.rollback(om, cm);
                return false;
            }
            runStart = k + 1;
        }
        if (end || !cur || cur == CNetBit(net, nb[k])) continue;
        Op op = makeOp(OpCode::Move, pin);
        op.s2 = pin->instance()->name();
        op.s3 = pin->name();
        op.n[0] = pb[k];
        op.s1 = cur.net()->name();
        op.n[1] = cur.bit();
        op.s4 = net->name();
        op.n[2] = nb[k];
        if (!c.run(op)) {
            c.rollback(om, cm);
            return false;
        }
    }
    return true;
}

bool CTransaction::removeConn(const INet* net, unsigned a, unsigned b, const IInstTerm* pin, unsigned lo,
                              unsigned hi, int) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, net, pin)) return false;
    std::vector<int> nb, pb;
    if (!expandRanges(st, net, a, b, pin, lo, hi, nb, pb)) return false;
    Ctx c = front(this, m_state);
    size_t om = c.opMark(), cm = c.changeMark();
    bool any = false;
    size_t runStart = 0;
    for (size_t k = 0; k <= nb.size(); ++k) {
        bool joined = k < nb.size() && pin->netBit(pb[k]) == CNetBit(net, nb[k]);
        if (joined) continue;
        if (runStart < k) {
            CConn run(net, nb[runStart], nb[k - 1], pin, pb[runStart], pb[k - 1]);
            if (!disconnectRun(c, run)) {
                c.rollback(om, cm);
                return false;
            }
            any = true;
        }
        runStart = k + 1;
    }
    if (!any) return fail(st, "no such connection");
    return true;
}

bool CTransaction::removeConn(const CConn& k) {
    return removeConn(k.net(), static_cast<unsigned>(k.netMsb()), static_cast<unsigned>(k.netLsb()), k.instTerm(),
                      static_cast<unsigned>(k.instTermMsb()), static_cast<unsigned>(k.instTermLsb()), 0);
}

bool CTransaction::swapConn(const IInstTerm* pa, unsigned ba, const IInstTerm* pb, unsigned bb) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, pa, pb)) return false;
    int a = static_cast<int>(ba), b = static_cast<int>(bb);
    if (!pa->hasBit(a) || !pb->hasBit(b)) return fail(st, "no such pin bit");
    CNetBit ca = pa->netBit(a), cb = pb->netBit(b);
    if (ca == cb) return true;
    Ctx c = front(this, m_state);
    auto move = [&](const IInstTerm* p, int bit, const CNetBit& from, const CNetBit& to) {
        if (from && to) {
            Op op = makeOp(OpCode::Move, p);
            op.s2 = p->instance()->name();
            op.s3 = p->name();
            op.n[0] = bit;
            op.s1 = from.net()->name();
            op.n[1] = from.bit();
            op.s4 = to.net()->name();
            op.n[2] = to.bit();
            return c.run(op);
        }
        if (from) return disconnectRun(c, CConn(from.net(), from.bit(), p, bit));
        return disconnectRun(c, CConn(to.net(), to.bit(), p, bit), OpCode::Conn);
    };
    // Part first when one side is free so that no bit is ever joined twice.
    return c.atomic([&] {
        return ca && cb ? (move(pa, a, ca, cb) && move(pb, b, cb, ca))
                        : (ca ? (move(pa, a, ca, CNetBit()) && move(pb, b, CNetBit(), ca))
                              : (move(pb, b, cb, CNetBit()) && move(pa, a, CNetBit(), cb)));
    });
}

IDPNet* CTransaction::createDPNet(const char* name, const INet* pos, int posBit, IDPNet::IDPNetPolarity pp,
                                  const INet* neg, int negBit, IDPNet::IDPNetPolarity np, int) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, pos, neg)) return nullptr;
    if (!validPairNetName(name)) return fail(st, std::string("invalid pair name ") + (name ? name : "")), nullptr;
    if (IDPNet* existing = pairOverBits(pos, posBit, neg, negBit)) return existing;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::DPNetCreate, pos);
    op.s1 = name;
    op.s2 = pos->name();
    op.n[0] = posBit;
    op.s3 = neg->name();
    op.n[1] = negBit;
    op.n[2] = pp;
    op.n[3] = np;
    if (!c.run(op)) return nullptr;
    return pos->design()->findDPNet(name);
}

bool CTransaction::removeDPNet(const IDPNet* dp) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dp || !dp->isAlive()) return fail(st, "no pair net");
    Ctx c = front(this, m_state);
    return c.atomic([&]() -> bool {
        for (IDPConn* k : dp->beginConn())
            if (!removeDPConnOf(c, k->dpInstTerm(), false)) return false;
        if (!clearProps(c, const_cast<IDPNet*>(dp), -1)) return false;
        Op op = makeOp(OpCode::DPNetDelete, dp);
        op.s1 = dp->name();
        op.s2 = dp->positive()->name();
        op.n[0] = dp->positiveBit();
        op.s3 = dp->negative()->name();
        op.n[1] = dp->negativeBit();
        op.n[2] = dp->positivePolarity();
        op.n[3] = dp->negativePolarity();
        op.id = dp->id();
        return c.run(op);
    });
}

bool CTransaction::renameDPNet(const IDPNet* dp, const char* newName) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!dp || !dp->isAlive()) return fail(st, "no pair net");
    if (!validPairNetName(newName)) return fail(st, "invalid pair name");
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::DPNetRename, dp);
    op.s1 = dp->name();
    op.s2 = newName;
    return c.run(op);
}

IDPInstTerm* CTransaction::createDPInstTerm(const IInstance* inst, const char* name, const IInstTerm* pos, int pb,
                                            const IInstTerm* neg, int nb) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, pos, neg) || !sameDesign(st, inst, pos)) return nullptr;
    if (pos->instance() != inst || neg->instance() != inst) return fail(st, "the legs are not pins of the instance"), nullptr;
    if (!validName(name)) return fail(st, "invalid pair name"), nullptr;
    Ctx c = front(this, m_state);
    Op op = makeOp(OpCode::DPPinCreate, inst);
    op.s1 = inst->name();
    op.s2 = name;
    op.s3 = pos->name();
    op.n[0] = pb;
    op.s4 = neg->name();
    op.n[1] = nb;
    op.n[2] = IDPInstTerm::eUser;
    if (!c.run(op)) return nullptr;
    return inst->findDPInstTerm(name);
}

bool CTransaction::removeDPInstTerm(const IDPInstTerm* pp, int) {
    TxState* st = m_state.get();
    if (!checkTx(st)) return false;
    if (!pp || !pp->isAlive()) return fail(st, "no pair pin");
    if (pp->parent()) return fail(st, "a member of a vector pair is removed with its pair");
    Ctx c = front(this, m_state);
    return c.atomic([&] { return removeDPPin(c, const_cast<IDPInstTerm*>(pp), false); });
}

bool CTransaction::addDPConn(const IDPNet* dp, int n1, int n2, const IDPInstTerm* pp, int p1, int p2, int) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, dp, pp)) return false;
    if (pp->dpConn() && pp->dpConn()->dpNet() == dp) return true;
    Ctx c = front(this, m_state);
    return c.atomic([&] {
        if (!removeDPConnOf(c, const_cast<IDPInstTerm*>(pp), false)) return false;
        Op op = makeOp(OpCode::DPConnAdd, dp);
        op.s1 = dp->name();
        op.n[0] = n1;
        op.n[1] = n2;
        op.s2 = pp->instance()->name();
        op.s3 = pp->name();
        op.n[2] = p1;
        op.n[3] = p2;
        return c.run(op);
    });
}

bool CTransaction::removeDPConn(const IDPNet* dp, int, int, const IDPInstTerm* pp, int, int, int) {
    TxState* st = m_state.get();
    if (!checkTx(st) || !sameDesign(st, dp, pp)) return false;
    if (!pp->dpConn() || pp->dpConn()->dpNet() != dp) return fail(st, "no such pair connection");
    Ctx c = front(this, m_state);
    return c.atomic([&] { return removeDPConnOf(c, const_cast<IDPInstTerm*>(pp), false); });
}
