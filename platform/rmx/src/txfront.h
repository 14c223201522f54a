// The steps every CTransaction edit is made of: the edit context that applies and records primitive
// ops (and undoes a failed compound edit), and the removals and creations several edits share.
#pragma once

#include <string>

#include "db.h"

namespace rmx::txfront {

inline constexpr const char* kHeader = "rmx-transaction 1";

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

Ctx front(const CTransaction* t, std::unique_ptr<TxState>& s);

std::string dname(const ISchemaObject* o);
bool fail(TxState* st, const std::string& why);
bool validName(const char* n);
bool validPairNetName(const char* n);

// The pair that already joins these two net bits: a pair over exactly them, or a pair over the two
// whole nets of which they are one lane. Null when none does or a leg is a whole net.
IDPNet* pairOverBits(const INet* pos, int posBit, const INet* neg, int negBit);

Op makeOp(OpCode code, const ISchemaObject* o);

// Removal of every property of an object (or of one bit).
bool clearProps(Ctx& c, ISchemaObject* o, int bit);
std::string attachPath(const IDTInstance* dt);
bool removeDT(Ctx& c, IDTInstance* dt);
bool moveDT(Ctx& c, IDTInstance* dt, int kind, const std::string& path);
bool disconnectRun(Ctx& c, const CConn& k, OpCode code = OpCode::Disconn);
bool removeDPConnOf(Ctx& c, IDPInstTerm* pp, bool deleteComponents);
bool removeDPPin(Ctx& c, IDPInstTerm* pp, bool deleteComponents);
// Removes a pin with everything on it.
bool removePin(Ctx& c, IInstTerm* p);
bool createPin(Ctx& c, IInstance* i, const ITerm* port);
bool createLibraryPairs(Ctx& c, IInstance* i, IDesign* master);
bool checkTx(TxState* st);
bool sameDesign(TxState* st, const ISchemaObject* a, const ISchemaObject* b);

}  // namespace rmx::txfront
