// Internal: the store behind IServer, the primitive edits that transactions record, paths and
// the text tokenizer shared by transactions and design files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"
#include "rmx/rmx.h"
#include "fields.h"

namespace rmx {

std::string fmt(const char* f, ...) __attribute__((format(printf, 1, 2)));
std::string bitName(const std::string& name, int bit);
// Interned copy of a text (the generator's string pool).
const char* intern(const std::string& s);

// Bit index inside an object of range msb..lsb (-1,-1 scalar): position from the msb end; -1
// when the bit is not in the range.
inline int bitIndex(int msb, int lsb, int bit) {
    if (msb < 0) return bit == -1 ? 0 : -1;
    if (bit < 0) return -1;
    if (msb >= lsb) return (bit <= msb && bit >= lsb) ? msb - bit : -1;
    return (bit >= msb && bit <= lsb) ? bit - msb : -1;
}
inline int bitAt(int msb, int lsb, int index) {
    if (msb < 0) return -1;
    return msb >= lsb ? msb - index : msb + index;
}
inline int rangeWidth(int msb, int lsb) {
    if (msb < 0) return 1;
    long long w = (msb >= lsb ? static_cast<long long>(msb) - lsb : static_cast<long long>(lsb) - msb) + 1;
    return w > 0x7fffffff ? 0x7fffffff : static_cast<int>(w);
}

// ---- part definitions
struct PartDefn;
struct PartPin {
    const PartDefn* defn = nullptr;
    const char* number = nullptr;   // interned
    const char* logical = nullptr;  // interned
    const char* section = nullptr;  // interned, nullptr when none
    int type = -1;
    int swapGroup = 0;
};
struct PartPower {
    std::string number, name, net;
    bool ground = false;
};
struct PartDefn {
    std::string name, lib, dir;
    std::vector<PartPin> pins;
    std::vector<std::string> sections;
    std::vector<PartPower> power;
    std::vector<std::string> models;
    std::unordered_map<std::string, int> byNumber;
};

// A pair pin that every instance of a symbol gets.
struct SymbolPair {
    std::string name, pos, neg;  // pin bit names ("CLK_P", "D_P<3..0>")
};

// A property source: a decimal unsigned long. False on anything else (also on overflow).
bool parseSource(const std::string& text, unsigned long& out);
// A decimal integer, optionally negative, within [lo, hi]. False on anything else.
bool parseInt(const std::string& text, long long lo, long long hi, long long& out);

// ---- tokens: words, or double-quoted texts with \" \\ \n \t escapes
std::string quote(const std::string& s);
// Appends s quoted as quote() would, without a string of its own.
void appendQuoted(std::string& out, const std::string& s);
// Splits a line; false with a reason on an unterminated quote or a bad escape.
bool tokenize(const std::string& line, std::vector<std::string>& out, std::string& why);

// ---- paths
struct PathRef {
    std::vector<std::string> hier;  // block instance names from the root
    char sigil = '\0';              // '\0' design, '/' instance, '.' pin, '%' pair pin, ':' net, '~' pair net, '$' component
    std::string inst;               // for '.', '%', '/': the instance name
    std::string name;               // object name
    int bit = -1;
    bool hasBit = false;
};
bool parsePath(const std::string& spath, PathRef& out);

// ---- change records and the primitive edits
enum class OpCode {
    NetCreate, NetDelete, NetRename, NetWidth, AliasAdd, AliasDel,
    Conn, Disconn, Move,
    Prop,
    InstCreate, InstDelete, InstRename, InstMaster,
    PinCreate, PinDelete, PinRename, PinType, PinWidth, PowerPin,
    DPNetCreate, DPNetDelete, DPNetRename, DPPinCreate, DPPinDelete, DPConnAdd, DPConnDel,
    DTCreate, DTDelete, DTType, DTAttach,
    PortWidth,
};

// One primitive edit, described by names so that it can be written as text and applied forward
// or backward.
struct Op {
    OpCode code{};
    std::string design;                  // design name
    std::string s1, s2, s3, s4, s5, s6;  // names (meaning per code)
    int n[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    unsigned id = 0;
    // properties
    int kind = 0;
    bool hadOld = false, hasNew = false;
    Prop oldP, newP;
};
std::string opToText(const Op& op);
// Appends the text of opToText to out.
void appendOpText(std::string& out, const Op& op);
Op invertOp(const Op& op);
bool opFromText(const std::vector<std::string>& tokens, Op& op, std::string& why);

// A generation number no transaction state has had yet (never 0).
std::uint64_t newTxGeneration();
// A serial number no change record has had yet (never 0).
std::uint64_t newChangeSerial();

struct TxState {
    IServer* server = nullptr;
    // The changes marks refer to: a new generation begins with every commit and full discard, so a mark
    // of an earlier one (or of another transaction) is refused.
    std::uint64_t generation = newTxGeneration();
    CDesignContext ctx;
    std::string name;
    std::vector<Op> ops;
    size_t committedOps = 0;
    std::vector<std::unique_ptr<IChange>> changes;
    size_t committedChanges = 0;
    std::vector<std::unique_ptr<ISchemaObject>> records;  // CConn / CPropertyChange objects
    std::string error;
    bool committedOnce = false;
    // rebuilt from text
    bool rebuilt = false, valid = true, forward = true, replayed = false;
    std::vector<Op> textOps;
    // The change lines of toString(), kept while the ops stay as they were (every commit's text is
    // asked for by the undo history and the change log alike).
    std::uint64_t opsVersion = 0;   // bumped whenever ops or which of them are written changes
    std::uint64_t linesVersion = ~std::uint64_t{0};
    std::string lines;
};

// Physical view of a design (computed on demand, shared by the objects handed out).
struct PhysPin {
    const PartPin* def = nullptr;
    std::vector<CInstTermBitContext> bits;
    int net = -1;
};
struct PhysPower {
    std::string name, number, net, type;
    int netIndex = -1;
};
struct PhysPart {
    std::string refdes;
    const PartDefn* defn = nullptr;
    std::vector<CInstanceContext> insts;
    std::vector<PhysPin> pins;
    std::vector<PhysPower> power;
    std::vector<std::string> functions;  // section names ("" for the single function)
    std::vector<std::vector<int>> functionPins;
    std::unordered_map<std::string, int> pinByNumber;             // package pin number -> pin
    std::map<std::pair<const IInstTerm*, int>, int> pinOfBit;     // logical pin bit -> pin
    std::unordered_map<const IInstTerm*, size_t> termAt;          // logical pin -> its place among its instance's
};
struct PhysNetData {
    std::string name, logical;
    CNetBitContext bit;
    std::vector<std::pair<int, int>> pins;   // (part, pin)
    std::vector<std::pair<int, int>> power;  // (part, power)
};
struct PhysView {
    IServer* server = nullptr;
    std::vector<PhysPart> parts;
    std::vector<PhysNetData> nets;
    std::map<std::string, int> partByName;
    std::map<std::string, int> netByName;
    std::unordered_map<const IInstance*, std::vector<int>> partsOfInst;  // leaf instance -> parts
    // property texts handed out as const char*
    mutable std::vector<std::unique_ptr<std::string>> texts;
};

class Db {
public:
    explicit Db(IServer* server) : m_srv(server) {}
    ~Db();

    IServer* server() const { return m_srv; }
    std::map<std::string, std::unique_ptr<IDesign>>& designs() { return m_designs; }
    std::map<std::string, std::unique_ptr<PartDefn>>& parts() { return m_parts; }
    std::map<IDesign*, std::vector<SymbolPair>>& symbolPairs() { return m_symbolPairs; }
    const PartDefn* findPart(const std::string& name) const;
    IDesign* findDesign(const std::string& name) const;
    uint64_t generation() const { return m_gen; }
    // Derived data is stale; the physical views follow the applied edits themselves (apply).
    void touch() { ++m_gen; }
    // Everything derived from the designs is stale, the physical views too.
    void bump() {
        ++m_gen;
        ++m_physGen;
        ++m_instanceGen;
        m_designatorGen = newTxGeneration();
    }
    // Changes whenever an instance is made, removed, renamed, given another master or another
    // LOCATION: lists of the instances built for a generation stay right while it holds.
    uint64_t instanceGeneration() const { return m_instanceGen; }
    void noteInstanceChange(const Op& op);
    // Changes whenever a reference designator may have come or gone: an instance or an associated
    // component made or removed, a master changed, a LOCATION, SLOT_COUNT or SLOTn.REFDES set. Its values
    // are never given twice, by any database of the process.
    uint64_t designatorGeneration() const { return m_designatorGen; }
    void noteDesignatorChange(const Op& op);
    // What an applied edit (or one that failed half-way) makes stale.
    void noteApplied(const Op& op, bool ok);

    // ---- raw construction (loader, builder): no records
    static std::unique_ptr<IDesign> newDesign(IServer* s, const std::string& lib, const std::string& cell,
                                              const std::string& view, bool symbol, const std::string& dir);
    static ITerm* addPort(IDesign* d, const std::string& name, int msb, int lsb, int dir, int type);
    void registerDesign(std::unique_ptr<IDesign> d);
    bool unregisterDesign(IDesign* d);
    static void snapshotInterface(IDesign* d);
    static std::vector<std::string> interfaceOf(const IDesign* d);

    // ---- primitive edits. apply() checks, edits, and (when rec is given) appends the change
    // record(s); it returns false with a reason and changes nothing when the edit is refused.
    bool apply(Op& op, bool inverse, TxState* rec, std::string& why);

    // ---- helpers used by the transaction front end
    static std::string pathOf(const ISchemaObject* obj, int bit);  // spath in the object's own design
    static int kindOf(const ISchemaObject* obj, int bit);
    static std::string attachPathOf(const IDTInstance* dt);  // "" when detached
    ISchemaObject* resolve(IDesign* d, int kind, const std::string& path, int& bit) const;
    // The properties to write: a bit's are made for it when it has none yet (releaseBit forgets them
    // again once they are empty).
    static rmx::PropMap* propsToWrite(ISchemaObject* obj, int bit);
    static void releaseBit(ISchemaObject* obj, int bit);
    // The bit numbers of a pin or net that hold something (a connection, a component, a property),
    // from the msb end; the other bits of a bus have nothing to clear.
    template <class Obj>
    static std::vector<int> usedBits(const Obj* o) {
        std::vector<int> out;
        for (auto& [index, data] : m_bits(o)) out.push_back(bitAt(o->msb(), o->lsb(), index));
        return out;
    }
    static const rmx::PropMap* propsOf(const ISchemaObject* obj, int bit);
    // The properties of a pin bit (the pin's own for -1 or a scalar pin); null for a bit it lacks.
    static const rmx::PropMap* propsOfPinBit(const IInstTerm* pin, int bit);

    // ---- context construction
    static CDesignContext makeDesignContext(IServer* s, IDesign* root, std::vector<IInstance*> hier);
    template <class C>
    static C makeContext(const CContext& base, ISchemaObject* obj, int bit) {
        C c;
        c.m_server = base.m_server;
        c.m_root = base.m_root;
        c.m_hier = base.m_hier;
        c.m_obj = obj;
        c.m_bit = bit;
        return c;
    }
    template <class C>
    static C makeContext(IServer* s, IDesign* root, std::vector<IInstance*> hier, ISchemaObject* obj, int bit) {
        C c;
        c.m_server = s;
        c.m_root = root;
        c.m_hier = std::move(hier);
        c.m_obj = obj;
        c.m_bit = bit;
        return c;
    }
    static void setHier(CContext& c, std::vector<IInstance*> hier) { c.m_hier = std::move(hier); }

    // ---- access to the objects' own fields (fields.h: one reference accessor per field, so that
    // the implementation files read and write the objects the way Db, their friend, may)
    RMX_FIELDS;

    std::shared_ptr<const PhysView> physView(IDesign* root);
    // What an applied edit does to the cached physical views: most property edits leave them as they
    // are, a pin-number edit of a pin bit moves that bit between package pins, anything else makes
    // them stale.
    void notePhysChange(const Op& op);

    std::vector<std::pair<int, std::function<void(CTransaction*)>>> listeners;
    int nextListener = 1;
    std::function<bool()> commitFault;  // see IServer::setCommitFault

    // The change-record and state plumbing of transactions lives in transaction.cpp.
    static TxState* state(const CTransaction* t) { return t->m_state.get(); }
    static void addChange(TxState* rec, char type, int kind, ISchemaObject* obj, IDesign* d);
    // A kind-3 record of an object renamed from `previous`.
    static void addRenameChange(TxState* rec, char type, ISchemaObject* obj, IDesign* d,
                                const std::string& previous);
    static void addConnChange(TxState* rec, int kind, const CConn& conn, const CConn* removed, const CConn* added);

    // Friend-field access used across the implementation files.
    friend class ::IServer;

private:
    bool applyImpl(Op& op, TxState* rec, std::string& why);
    // One primitive edit each (apply_nets.cpp, apply_objects.cpp, apply_pairs.cpp).
    bool applyNetCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyNetDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyNetRename(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyNetWidth(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyAliasAdd(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyAliasDel(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyConn(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyMove(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyProp(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyInstCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyInstDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyInstRename(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyInstMaster(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPinCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPinDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPinRename(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPinType(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPinWidth(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPortWidth(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyPowerPin(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPNetCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPNetDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPNetRename(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPPinCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPPinDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDPConn(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDTCreate(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDTDelete(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDTType(Op& op, IDesign* d, TxState* rec, std::string& why);
    bool applyDTAttach(Op& op, IDesign* d, TxState* rec, std::string& why);
    IServer* m_srv;
    std::map<std::string, std::unique_ptr<IDesign>> m_designs;
    std::map<std::string, std::unique_ptr<PartDefn>> m_parts;
    std::map<IDesign*, std::vector<SymbolPair>> m_symbolPairs;
    uint64_t m_gen = 1;
    uint64_t m_physGen = 1;
    uint64_t m_instanceGen = 1;
    uint64_t m_designatorGen = newTxGeneration();
    struct PhysSlot {
        uint64_t gen = 0;
        std::shared_ptr<PhysView> view;
        std::vector<std::pair<IInstTerm*, int>> movedBits;  // pin bits whose pin number changed
    };
    std::map<IDesign*, PhysSlot> m_physCache;
};

}  // namespace rmx
