// The primitive edits of pair nets, pair pins and pair connections.
#include <algorithm>

#include "apply_steps.h"

namespace rmx {

using namespace applystep;

bool Db::applyDPNetCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDPNetDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDPNetRename(Op& op, IDesign* d, TxState* rec, std::string& why) {
    IDPNet* dp = d->findDPNet(op.s1.c_str());
    if (!dp) return why = "no pair net " + op.s1, false;
    if (d->findDPNet(op.s2.c_str())) return why = "a pair net named " + op.s2 + " exists", false;
    if ((dp->positiveBit() < 0 || dp->negativeBit() < 0) && namesBit(op.s2))
        return why = "a pair net named with a bit is over two net bits", false;
    m_dpNets(d).byName.erase(op.s1);
    m_name(dp) = op.s2;
    m_dpNets(d).byName[op.s2] = dp;
    addRenameChange(rec, 'O', dp, d, op.s1);
    return true;
}

bool Db::applyDPPinCreate(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDPPinDelete(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

bool Db::applyDPConn(Op& op, IDesign* d, TxState* rec, std::string& why) {
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

}  // namespace rmx
