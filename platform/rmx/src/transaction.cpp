// CTransaction: the edit front end. Every edit is broken into primitive Ops (apply.cpp) that are
// applied at once, recorded for discard and for the text form, and announced by change records.
#include <atomic>
#include <charconv>
#include <algorithm>
#include <set>
#include <string_view>

#include "db.h"
#include "rmx/transaction_text.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using rmx::TxState;
using rmx::newTxGeneration;

namespace rmx {

bool parseInt(const std::string& text, long long lo, long long hi, long long& out) {
    if (text.empty() || text.size() > 12) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
    long long v = std::stoll(text);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

void appendQuoted(std::string& out, const std::string& s) {
    out += '"';
    size_t plain = 0; // start of the run of characters copied as they are
    for (size_t i = 0; i < s.size(); ++i) {
        const char* escape = nullptr;
        switch (s[i]) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '\n': escape = "\\n"; break;
        case '\t': escape = "\\t"; break;
        case '\r': escape = "\\r"; break;
        default: continue;
        }
        out.append(s, plain, i - plain);
        out += escape;
        plain = i + 1;
    }
    out.append(s, plain, std::string::npos);
    out += '"';
}

std::string quote(const std::string& s) {
    std::string out;
    out.reserve(s.size() + 2);
    appendQuoted(out, s);
    return out;
}

bool parseSource(const std::string& text, unsigned long& out) {
    if (text.empty() || text.size() > 20) return false;
    unsigned long v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        unsigned d = static_cast<unsigned>(c - '0');
        if (v > (~0ul - d) / 10) return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

bool tokenize(const std::string& line, std::vector<std::string>& out, std::string& why) {
    out.clear();
    // Names are checked as C texts further on: a NUL byte would cut one short unseen.
    if (line.find('\0') != std::string::npos) {
        why = "a NUL byte in the line";
        return false;
    }
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        if (line[i] == '"') {
            std::string tok;
            ++i;
            bool closed = false;
            while (i < n) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= n) break;
                    char e = line[i++];
                    switch (e) {
                    case '"': tok += '"'; break;
                    case '\\': tok += '\\'; break;
                    case 'n': tok += '\n'; break;
                    case 't': tok += '\t'; break;
                    case 'r': tok += '\r'; break;
                    default: why = std::string("bad escape \\") + e; return false;
                    }
                } else {
                    tok += c;
                }
            }
            if (!closed) {
                why = "unterminated quoted text";
                return false;
            }
            if (i < n && line[i] != ' ' && line[i] != '\t') {
                why = "text after a closing quote";
                return false;
            }
            out.push_back(tok);
        } else {
            size_t s = i;
            while (i < n && line[i] != ' ' && line[i] != '\t') {
                if (line[i] == '"') {
                    why = "quote inside a word";
                    return false;
                }
                ++i;
            }
            out.push_back(line.substr(s, i - s));
        }
    }
    return true;
}

namespace {
const char* const kOpNames[] = {
    "netCreate", "netDelete", "netRename", "netWidth", "aliasAdd", "aliasDel", "conn", "disconn", "move", "prop",
    "instCreate", "instDelete", "instRename", "instMaster", "pinCreate", "pinDelete", "pinRename", "pinType",
    "pinWidth", "powerPin", "dpNetCreate", "dpNetDelete", "dpNetRename", "dpPinCreate", "dpPinDelete", "dpConnAdd",
    "dpConnDel", "dtCreate", "dtDelete", "dtType", "dtAttach", "portWidth",
};
constexpr int kOpCount = sizeof kOpNames / sizeof kOpNames[0];

}  // namespace

namespace {
void appendNumber(std::string& out, long long v) {
    char buf[24] = {' '}; // the separating space, then the digits: one append
    const auto [end, ec] = std::to_chars(buf + 1, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, static_cast<size_t>(end - buf));
}
} // namespace

void appendOpText(std::string& out, const Op& op) {
    out += kOpNames[static_cast<int>(op.code)];
    out += ' ';
    appendQuoted(out, op.design);
    for (auto* f : {&op.s1, &op.s2, &op.s3, &op.s4, &op.s5, &op.s6}) {
        out += ' ';
        appendQuoted(out, *f);
    }
    for (int v : op.n) appendNumber(out, v);
    appendNumber(out, op.id);
    appendNumber(out, op.kind);
    out += op.hadOld ? " 1" : " 0";
    out += op.hasNew ? " 1" : " 0";
    out += ' ';
    appendQuoted(out, op.oldP.value);
    appendNumber(out, op.oldP.source);
    out += ' ';
    appendQuoted(out, op.newP.value);
    appendNumber(out, op.newP.source);
}

std::string opToText(const Op& op) {
    std::string s;
    appendOpText(s, op);
    return s;
}

bool opFromText(const std::vector<std::string>& t, Op& op, std::string& why) {
    if (t.size() != 24) {
        why = "a change line has 24 fields";
        return false;
    }
    int code = -1;
    for (int i = 0; i < kOpCount; ++i)
        if (t[0] == kOpNames[i]) code = i;
    if (code < 0) {
        why = "unknown change " + t[0];
        return false;
    }
    op = Op();
    op.code = static_cast<OpCode>(code);
    op.design = t[1];
    std::string* ss[] = {&op.s1, &op.s2, &op.s3, &op.s4, &op.s5, &op.s6};
    for (int i = 0; i < 6; ++i) *ss[i] = t[2 + i];
    long long v;
    for (int i = 0; i < 8; ++i) {
        if (!parseInt(t[8 + i], -1, 0x7fffffff, v)) return why = "bad number " + t[8 + i], false;
        op.n[i] = static_cast<int>(v);
    }
    if (!parseInt(t[16], 0, 0xffffffffLL, v)) return why = "bad id " + t[16], false;
    op.id = static_cast<unsigned>(v);
    if (!parseInt(t[17], 0, 100, v)) return why = "bad kind " + t[17], false;
    op.kind = static_cast<int>(v);
    if ((t[18] != "0" && t[18] != "1") || (t[19] != "0" && t[19] != "1")) return why = "bad flag", false;
    op.hadOld = t[18] == "1";
    op.hasNew = t[19] == "1";
    op.oldP.value = t[20];
    if (!parseSource(t[21], op.oldP.source)) return why = "bad source " + t[21], false;
    op.newP.value = t[22];
    if (!parseSource(t[23], op.newP.source)) return why = "bad source " + t[23], false;
    return true;
}

}  // namespace rmx

// ------------------------------------------------------------------------------------------------
// Helpers of the front end

namespace {

constexpr const char* kHeader = "rmx-transaction 1";

struct Ctx {
    TxState* st;
    Db* db;

    size_t opMark() const { return st->ops.size(); }
    size_t changeMark() const { return st->changes.size(); }

    bool run(Op op) {
        std::string why;
        if (!db->apply(op, false, st, why)) {
            st->error = why;
            return false;
        }
        st->ops.push_back(std::move(op));
        ++st->opsVersion;
        return true;
    }
    // Undoes the ops of a failed compound edit back to the marks.
    void rollback(size_t ops, size_t changes) {
        std::string why;
        while (st->ops.size() > ops) {
            db->apply(st->ops.back(), true, nullptr, why);
            st->ops.pop_back();
            ++st->opsVersion;
        }
        if (st->changes.size() > changes) st->changes.resize(changes);
    }
    // Runs a compound edit; when any step fails, the steps it made are undone.
    template <class F>
    bool atomic(F&& body) {
        size_t om = opMark(), cm = changeMark();
        if (!body()) {
            rollback(om, cm);
            return false;
        }
        return true;
    }
};

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

// The pair that already joins these two net bits: a pair over exactly them, or a pair over the two
// whole nets of which they are one lane. Null when none does or a leg is a whole net.
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

// Removal of every property of an object (or of one bit).
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

bool disconnectRun(Ctx& c, const CConn& k, OpCode code = OpCode::Disconn) {
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

bool removeDPConnOf(Ctx& c, IDPInstTerm* pp, bool deleteComponents) {
    IDPConn* conn = pp->dpConn();
    if (!conn) return true;
    for (IDTInstance* dt : conn->beginAssociatedDTInstance()) {
        bool ok = deleteComponents ? removeDT(c, dt) : moveDT(c, dt, IDTInstance::eDetached, "");
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
        if (!clearProps(c, m, -1)) return false;
    }
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

// Removes a pin with everything on it.
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

}  // namespace

// ------------------------------------------------------------------------------------------------

std::uint64_t rmx::newTxGeneration() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

std::uint64_t rmx::newChangeSerial() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

CTransaction::CTransaction(const CDesignContext& design, const char* name) : m_state(std::make_unique<TxState>()) {
    m_state->server = design.server();
    m_state->ctx = design;
    m_state->name = name ? name : "";
}

CTransaction::CTransaction(IServer* server, const char* text, bool bParse, bool bForward)
    : m_state(std::make_unique<TxState>()) {
    TxState* st = m_state.get();
    st->server = server;
    st->rebuilt = true;
    st->forward = bForward;
    st->valid = false;
    if (!server || !text) {
        st->error = "no server or no text";
        return;
    }
    std::string all(text);
    size_t pos = 0;
    int line = 0;
    std::string why;
    std::vector<std::string> tok;
    bool headerSeen = false;
    while (pos <= all.size()) {
        size_t nl = all.find('\n', pos);
        std::string l = all.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? all.size() + 1 : nl + 1;
        ++line;
        if (l.empty()) continue;
        if (!rmx::tokenize(l, tok, why)) {
            st->error = rmx::fmt("line %d: ", line) + why;
            return;
        }
        if (tok.empty()) continue;
        if (!headerSeen) {
            if (tok.size() != 4 || tok[0] + " " + tok[1] != kHeader) {
                st->error = rmx::fmt("line %d: not a transaction text", line);
                return;
            }
            headerSeen = true;
            st->ctx = CDesignContext(server, tok[2].c_str());
            st->name = tok[3];
            continue;
        }
        Op op;
        if (!rmx::opFromText(tok, op, why)) {
            st->error = rmx::fmt("line %d: ", line) + why;
            return;
        }
        if (bParse && !server->db()->findDesign(op.design)) {
            st->error = rmx::fmt("line %d: no design %s", line, op.design.c_str());
            return;
        }
        st->textOps.push_back(std::move(op));
    }
    if (!headerSeen) {
        st->error = "not a transaction text";
        return;
    }
    st->valid = true;
}

CTransaction::~CTransaction() {
    if (m_state) discard();
}

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
    const int lane = dt->attachKind() == IDTInstance::eDetached ? Db::m_bit(dt) : dt->dpConnLane();
    return moveDT(c, const_cast<IDTInstance*>(dt), IDTInstance::eOnDPConn,
                  Db::pathOf(at->dpInstTerm(), -1) + (lane < 0 ? std::string() : "<" + std::to_string(lane) + ">"));
}

// ------------------------------------------------------------------------------------------------

bool CTransaction::commit() {
    TxState* st = m_state.get();
    if (!st->server) return fail(st, "the transaction has no server");
    Db* db = st->server->db();
    if (st->rebuilt && !st->replayed) {
        if (!st->valid) return false;
        Ctx c{st, db};
        std::vector<Op> seq;
        if (st->forward) seq = st->textOps;
        else
            for (auto it = st->textOps.rbegin(); it != st->textOps.rend(); ++it) seq.push_back(rmx::invertOp(*it));
        for (Op& op : seq)
            if (!c.run(op)) {
                std::string why = st->error;
                c.rollback(0, 0);
                st->error = why;
                return false;
            }
        st->replayed = true;
        ++st->opsVersion;
    }
    if (st->ops.size() == st->committedOps && st->changes.size() == st->committedChanges) {
        st->generation = newTxGeneration();
        return true;
    }
    if (!st->rebuilt && db->commitFault && db->commitFault())
        return fail(st, "the design database refused the commit (injected fault)");
    std::set<std::string> touched;
    for (size_t i = st->committedOps; i < st->ops.size(); ++i) touched.insert(st->ops[i].design);
    for (auto& n : touched)
        if (IDesign* d = db->findDesign(n)) Db::m_modified(d) = true;
    st->committedOps = st->ops.size();
    st->committedChanges = st->changes.size();
    st->committedOnce = true;
    st->generation = newTxGeneration();
    db->touch(); // every edit of the commit went through apply, which kept the physical views
    st->error.clear();
    auto listeners = db->listeners;
    for (auto& [id, fn] : listeners) fn(this);
    return true;
}

void CTransaction::discard() {
    TxState* st = m_state.get();
    if (!st->server) return;
    Ctx c{st, st->server->db()};
    if (st->ops.size() > st->committedOps) st->server->db()->touch(); // the rollback applies through apply
    c.rollback(st->committedOps, st->committedChanges);
    st->generation = newTxGeneration();
}

CTransaction::Mark CTransaction::mark() const {
    const auto& changes = m_state->changes;
    return Mark{m_state->ops.size(), changes.size(), m_state->generation,
                changes.empty() ? 0 : changes.back()->m_serial};
}

// The mark's changes are still these: same generation, and the record before it is the one it saw (a
// discardTo below it freed that record; one made since in its place has another serial).
bool CTransaction::stillMarks(const Mark& mark) const {
    const auto& changes = m_state->changes;
    if (mark.generation != m_state->generation || mark.changes > changes.size()) return false;
    const std::uint64_t before = mark.changes == 0 ? 0 : changes[mark.changes - 1]->m_serial;
    return before == mark.lastChange;
}

bool CTransaction::discardTo(const Mark& mark) {
    TxState* st = m_state.get();
    if (!st->server || st->rebuilt) return false;
    // The counts of a mark from before a commit or a discard may fit the changes made since: they are
    // not the ones it marked.
    if (!stillMarks(mark)) return false;
    if (mark.ops < st->committedOps || mark.changes < st->committedChanges) return false;
    if (mark.ops > st->ops.size() || mark.changes > st->changes.size()) return false;
    Ctx c{st, st->server->db()};
    if (st->ops.size() > mark.ops) st->server->db()->touch(); // the rollback applies through apply
    c.rollback(mark.ops, mark.changes);
    return true;
}

bool CTransaction::hasPendingChanges() const {
    return m_state->ops.size() > m_state->committedOps || (m_state->rebuilt && !m_state->replayed && m_state->valid &&
                                                           !m_state->textOps.empty());
}
bool CTransaction::isCommitted() const { return m_state->committedOnce; }
bool CTransaction::isValid() const { return m_state->valid; }
CString CTransaction::lastError() const { return CString(m_state->error.c_str()); }

CSchemaObjectIterator<IChange*> CTransaction::beginChange() const {
    std::vector<IChange*> out;
    out.reserve(m_state->changes.size());
    for (auto& c : m_state->changes) out.push_back(c.get());
    return CSchemaObjectIterator<IChange*>(std::move(out));
}

std::optional<std::vector<IChange*>> CTransaction::changesSince(const Mark& mark) const {
    if (!stillMarks(mark)) return std::nullopt;
    std::vector<IChange*> out;
    const auto& changes = m_state->changes;
    for (std::size_t i = mark.changes; i < changes.size(); ++i) out.push_back(changes[i].get());
    return out;
}

bool CTransaction::modifiesObjectType(char type) const {
    for (auto& c : m_state->changes)
        if (c->objectType() == type) return true;
    return false;
}

CString CTransaction::toString() const {
    TxState* st = m_state.get();
    std::string design = st->ctx.rootDesign() ? st->ctx.rootDesign()->name() : "";
    std::string s = std::string(kHeader) + " " + rmx::quote(design) + " " + rmx::quote(st->name) + "\n";
    if (st->linesVersion != st->opsVersion) {
        const std::vector<Op>* ops = &st->ops;
        std::vector<Op> pending;
        if (st->rebuilt && !st->replayed) {
            if (st->forward) ops = &st->textOps;
            else {
                for (auto it = st->textOps.rbegin(); it != st->textOps.rend(); ++it) pending.push_back(rmx::invertOp(*it));
                ops = &pending;
            }
        }
        st->lines.clear();
        for (auto& op : *ops) {
            rmx::appendOpText(st->lines, op);
            st->lines += '\n';
        }
        st->linesVersion = st->opsVersion;
    }
    s += st->lines;
    return CString(s.c_str());
}

IDesign* CTransaction::design() const { return m_state->ctx.design(); }
CDesignContext CTransaction::designContext() const { return m_state->ctx; }
IServer* CTransaction::server() const { return m_state->server; }
const char* CTransaction::name() const { return m_state->name.c_str(); }

bool IChange::getConns(CConn*& r1, CConn*& r2, CConn*& a1, CConn*& a2) const {
    r1 = m_removed[0];
    r2 = m_removed[1];
    a1 = m_added[0];
    a2 = m_added[1];
    return m_type == 'C' && m_kind == 17;
}

// ------------------------------------------------------------------------------------------------
// Reading a transaction text

namespace {

void noteTextChange(CTransactionTextChanges& found, Op& op) {
    if (op.code == OpCode::Prop) {
        auto& p = found.properties.emplace_back();
        p.design = std::move(op.design);
        p.path = std::move(op.s1);
        p.name = std::move(op.s2);
        p.oldValue = std::move(op.oldP.value);
        p.newValue = std::move(op.newP.value);
        p.hadOld = op.hadOld;
        p.hasNew = op.hasNew;
    } else if (op.code == OpCode::InstCreate || op.code == OpCode::InstDelete) {
        auto& i = found.instances.emplace_back();
        i.design = std::move(op.design);
        i.name = std::move(op.s1);
        i.master = op.s2 + "." + op.s3 + ":" + op.s4;
        i.created = op.code == OpCode::InstCreate;
    } else if (op.code == OpCode::DTCreate || op.code == OpCode::DTDelete) {
        auto& dt = found.components.emplace_back();
        dt.design = std::move(op.design);
        dt.name = std::move(op.s1);
        dt.created = op.code == OpCode::DTCreate;
    }
}

} // namespace

CTransactionTextChanges CTransactionTextChanges::read(const char* text) {
    CTransactionTextChanges found;
    if (!text) return found;
    const std::string_view all(text);
    std::string why;
    std::vector<std::string> tok;
    bool headerSeen = false;
    for (size_t pos = 0; pos < all.size();) {
        const size_t nl = all.find('\n', pos);
        const size_t end = nl == std::string_view::npos ? all.size() : nl;
        const std::string line(all.substr(pos, end - pos));
        pos = end + 1;
        if (!rmx::tokenize(line, tok, why)) return {};
        if (tok.empty()) continue;
        if (!headerSeen) {
            if (tok.size() != 4 || tok[0] + " " + tok[1] != kHeader) return {};
            headerSeen = true;
            continue;
        }
        Op op;
        if (!rmx::opFromText(tok, op, why)) return {};
        noteTextChange(found, op);
    }
    return found;
}
