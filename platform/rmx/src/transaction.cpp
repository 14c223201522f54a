// CTransaction: the edit front end. Every edit is broken into primitive Ops (apply.cpp) that are
// applied at once, recorded for discard and for the text form, and announced by change records. The
// edits themselves are in transaction_nets.cpp and transaction_objects.cpp, their shared steps in
// txfront.cpp, the text form in transaction_text.cpp.
#include <atomic>
#include <algorithm>

#include "db.h"
#include "txfront.h"

using rmx::Db;
using rmx::Op;
using rmx::OpCode;
using rmx::TxState;
using rmx::newTxGeneration;
using namespace rmx::txfront;

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
