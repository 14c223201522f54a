// The checks and bit-level steps the primitive edits share.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "db.h"

namespace rmx::applystep {

template <class T, class Table>
T* placeById(IDesign* d, Table& table, unsigned& id, std::string& why, bool& revived) {
    revived = false;
    if (id == 0) id = static_cast<unsigned>(std::max<size_t>(table.byId.size(), 1));
    if (table.byId.empty()) table.byId.push_back(nullptr);
    if (id < table.byId.size() && table.byId[id]) {
        if (table.byId[id]->isAlive()) {
            why = fmt("id %u is taken", id);
            return nullptr;
        }
        revived = true;
        return table.byId[id];
    }
    if (id >= table.byId.size()) table.byId.resize(id + 1, nullptr);
    auto obj = std::make_unique<T>();
    T* raw = obj.get();
    Db::m_owned(d).push_back(std::move(obj));
    table.byId[id] = raw;
    return raw;
}

// Puts an object made again (by an undo, a redo or a replay) back where it was among the others: the
// lists are in the order the objects were made, which is the order of their ids.
// The usual case is the newest object, which goes at the end without a search.
template <class T> void insertInIdOrder(std::vector<T*>& list, T* object) {
    if (list.empty() || list.back()->id() < object->id()) {
        list.push_back(object);
        return;
    }
    auto later = std::upper_bound(list.begin(), list.end(), object,
                                  [](const T* a, const T* b) { return a->id() < b->id(); });
    list.insert(later, object);
}

IDesign* designOf(Db& db, const Op& op, std::string& why);
IInstTerm* findPin(IDesign* d, const std::string& inst, const std::string& pin, std::string& why);
INet* findNet(IDesign* d, const std::string& name, std::string& why);
// Bits of a range a..b (inclusive, either direction); -1,-1 is the scalar bit.
std::vector<int> rangeBits(int a, int b);
// Widest bus or vector pin the database holds.
inline constexpr int kMaxWidth = kRmxMaxBit + 1;
bool rangeOk(int msb, int lsb, std::string& why);
bool codesOk(int type, int dir, std::string& why);

// Connect / disconnect one pin bit (no checks, no records).
void joinBit(IInstTerm* pin, int pinBit, INet* net, int netBit);
void partBit(IInstTerm* pin, int pinBit);
bool attachTarget(IDesign* d, int kind, const std::string& path, IInstTerm*& pin, INet*& net, int& bit,
                  IDPInstTerm*& pair, std::string& why);
void detachDT(IDTInstance* dt);
// A pin bit's, net bit's or pair connection's components are listed in the order they were made, whatever
// brought them there: a change taken back (an undo, a refused commit) puts a component back in its place.
void attachDT(IDTInstance* dt, int kind, IInstTerm* pin, INet* net, int bit, IDPInstTerm* pair);
bool propsEmpty(const ISchemaObject* o);
// True for a pair net name with a bit ("EW<3>").
bool namesBit(const std::string& name);
// A change carries the state it was made from; when the design no longer holds that state (the
// object was changed since by another route), the change is refused rather than written over it.
bool stale(const std::string& what, std::string& why);
bool sameId(unsigned expected, unsigned actual);

}  // namespace rmx::applystep
