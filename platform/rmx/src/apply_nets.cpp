// The primitive edits of nets, aliases, connections and properties.
#include <algorithm>

#include "apply_steps.h"

namespace rmx {

using namespace applystep;

bool Db::applyNetCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyNetDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyNetRename(Op& op, IDesign* d, TxState* rec, std::string& why) {
    INet* n = findNet(d, op.s1, why);
    if (!n) return false;
    if (d->findNet(op.s2.c_str())) return why = "a net named " + op.s2 + " exists", false;
    m_nets(d).byName.erase(op.s1);
    m_name(n) = op.s2;
    m_nets(d).byName[op.s2] = n;
    addRenameChange(rec, 'N', n, d, op.s1);
    return true;
}

bool Db::applyNetWidth(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyAliasAdd(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyAliasDel(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyConn(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyMove(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyProp(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

}  // namespace rmx
