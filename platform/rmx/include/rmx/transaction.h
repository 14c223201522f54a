// Transactions: every change of a design is made inside a CTransaction. Changes take effect at
// once for reads (a transaction sees its own changes), are announced by change records, and are
// either committed or discarded; a discarded transaction leaves no trace. A committed
// transaction can take further changes and be committed again.
//
// Change records (IChange) carry an object-type letter, a change kind and the object:
//   kind  1 created / added          kind  2 deleted / removed
//   kind  3 renamed (I, N, T, O); a component's type changed (X)
//   kind  5 property value changed   (property added: 1, removed: 2)
//   kind  7 component re-attached to another pin bit or pair connection (X)
//   kind  8 pin type changed (T)
//   kind  9 a net's aliases changed (N, on both nets)
//   kind 10 width changed (N, T; O when its whole leg nets took a new range)
//   kind 11 a block instance's pins changed with its master's ports (I)
//   kind 12 an instance's physical package changed (I; its LOCATION property)
//   kind 13 an implicit power pin of an instance was tied to a net (I)
//   kind 14 an implicit power pin of an instance was released (I)
//   kind 17 changed in place: a pin bit moved from one net bit to another (C, with the removed
//           and added connections), an instance given another master (I)
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rmx/context.h"

namespace rmx {
struct Op;
struct TxState;
}  // namespace rmx

namespace rmx {

// Object-type letters of change records (IChange::objectType()) and of schema objects
// (ISchemaObject::objectType(), CTransaction::modifiesObjectType()).
namespace ObjType {
inline constexpr char Conn = 'C';          // CConn: a pin bit range joined to a net bit range
inline constexpr char Alias = 'A';         // CAlias
inline constexpr char Term = 'T';          // ITerm / IInstTerm: a port or an instance pin
inline constexpr char Net = 'N';           // INet
inline constexpr char Instance = 'I';      // IInstance
inline constexpr char PairNet = 'O';       // IDPNet: a differential-pair net
inline constexpr char PairPin = 'R';       // IDPInstTerm: a differential-pair pin
inline constexpr char PairConn = 'W';      // IDPConn: a pair pin joined to a pair net
inline constexpr char Component = 'X';     // IDTInstance: a terminating or pull component
inline constexpr char Design = 'D';        // IDesign
inline constexpr char Property = 'P';      // CPropertyChange
}  // namespace ObjType

// Change kinds of change records (IChange::changeKind()); see the table above.
namespace ChangeKind {
inline constexpr int Added = 1;            // created / added (a property added)
inline constexpr int Removed = 2;          // deleted / removed (a property removed)
inline constexpr int Renamed = 3;          // renamed (I, N, T, O); a component's type changed (X)
inline constexpr int ValueChanged = 5;     // a property value changed
inline constexpr int Reattached = 7;       // a component moved to another pin bit or pair connection
inline constexpr int PinTypeChanged = 8;   // T
inline constexpr int AliasesChanged = 9;   // N, on both nets
inline constexpr int WidthChanged = 10;    // N, T
inline constexpr int PortsChanged = 11;    // a block instance's pins followed its master's ports (I)
inline constexpr int PackageChanged = 12;  // an instance's physical package (I; its LOCATION property)
inline constexpr int PowerPinTied = 13;    // an implicit power pin was tied to a net (I)
inline constexpr int PowerPinReleased = 14;  // an implicit power pin was released (I)
inline constexpr int ChangedInPlace = 17;  // a pin bit moved between net bits (C); a new master (I)
}  // namespace ChangeKind

}  // namespace rmx

// A property change as a schema object (type 'P'): the owner, its path, the name and the two
// values. IServer::decodePropertyChange reads it.
class CPropertyChange : public ISchemaObject {
public:
    char objectType() const override { return 'P'; }
    ISchemaObject* owner() const { return m_owner; }
    int ownerBit() const { return m_bit; }
    int ownerKind() const { return m_kind; }
    // Path of the owner from its own design ("@" rooted, the owner's design as root).
    const char* ownerPath() const { return m_path.c_str(); }
    // Canonical path of the owner ("lib.cell:view@...").
    const char* ownerCanonicalPath() const { return m_cpath.c_str(); }
    const char* name() const override { return m_name.c_str(); }
    bool hadOld() const { return m_hadOld; }
    bool hasNew() const { return m_hasNew; }
    const char* oldValue() const { return m_old.c_str(); }
    const char* newValue() const { return m_new.c_str(); }

private:
    friend class rmx::Db;
    ISchemaObject* m_owner = nullptr;
    int m_bit = -1;
    int m_kind = 0;
    std::string m_path, m_cpath, m_name, m_old, m_new;
    bool m_hadOld = false, m_hasNew = false;
    mutable std::unique_ptr<CContext> m_context;  // the owner's context, made when first asked
};

// A context found by canonical path.
using CCanonicalPathContainer = CContext;

class IChange {
public:
    char objectType() const { return m_type; }
    int changeKind() const { return m_kind; }
    int kind() const { return m_kind; }
    ISchemaObject* object() const { return m_object; }
    IDesign* design() const { return m_design; }
    // For a kind-17 connection change: the connections that the change removed and added (any
    // may be nullptr). False for other changes.
    bool getConns(CConn*& removed1, CConn*& removed2, CConn*& added1, CConn*& added2) const;
    // For a kind-3 rename (I, N, T, O): the name the object had before it; empty for other changes.
    const char* previousName() const { return m_previousName.c_str(); }

private:
    friend class rmx::Db;
    friend class CTransaction;
    std::uint64_t m_serial = 0; // never the same for two records, so a record made in a freed one's place differs
    char m_type = '\0';
    int m_kind = 0;
    ISchemaObject* m_object = nullptr;
    IDesign* m_design = nullptr;
    CConn* m_removed[2] = {nullptr, nullptr};
    CConn* m_added[2] = {nullptr, nullptr};
    std::string m_previousName;
};

class CTransaction {
public:
    // A transaction on a design (the design of the context; hierarchy is kept for paths).
    explicit CTransaction(const CDesignContext& design, const char* name = "");
    // Rebuilds a transaction from toString() text. With bParse the text is checked now
    // (isValid() tells the result); commit() then applies it. With bForward false the
    // transaction does the opposite of the text: it undoes a committed transaction.
    CTransaction(IServer* server, const char* text, bool bParse = true, bool bForward = true);
    // An open transaction that is destroyed is discarded.
    ~CTransaction();
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    // ---- nets
    // A new net with the two bit bounds (both -1: scalar). Fails (nullptr) on a bad or taken
    // name or bad bounds. Calling addNet with the result afterwards is allowed and harmless.
    INet* createNet(const char* name, unsigned msb, unsigned lsb, INet::INetScope scope = INet::eScopeDesign,
                    ITerm::ITermType type = ITerm::eTermTypeUnknown);
    bool addNet(const INet* net);
    // Removes the net with its connections, properties, aliases, pair nets and components.
    bool removeNet(const INet* net);
    bool renameNet(const INet* net, const char* newName);
    // New bit range; bits that disappear lose their connections.
    bool changeNetWidth(INet* net, unsigned msb, unsigned lsb);
    bool addAlias(const INet* first, const INet* second);
    bool removeAlias(const CAlias* alias);

    // ---- connections
    // Joins net bit netBit1 to pin bit pinBit1 and netBit2 to pinBit2 (both ranges of one width;
    // net bits -1,-1: the whole net; pin bits -1,-1: the whole pin). A pin bit already joined to
    // another net bit is moved (a kind-17 change).
    bool addConn(const INet* net, unsigned netBit1, unsigned netBit2, const IInstTerm* pin, unsigned pinBit1,
                 unsigned pinBit2, int flags = 0);
    // Parts the same ranges; only bits that are joined as given are parted.
    bool removeConn(const INet* net, unsigned netBit1, unsigned netBit2, const IInstTerm* pin, unsigned pinBit1,
                    unsigned pinBit2, int flags = 0);
    bool removeConn(const CConn& conn);
    // Exchanges the connections of two pin bits.
    bool swapConn(const IInstTerm* pinA, unsigned bitA, const IInstTerm* pinB, unsigned bitB);

    // ---- differential pairs
    // A pair over two net bits (-1, -1: over two whole nets of one width). A pair over two net bits
    // may be named for its bit ("EW<3>"). Two net bits that a pair joins already, on their own or as
    // one lane of a pair over their whole nets, are that pair: it is answered as it is, under its own
    // name, and nothing is made.
    IDPNet* createDPNet(const char* name, const INet* positive, int positiveBit, IDPNet::IDPNetPolarity positivePolarity,
                        const INet* negative, int negativeBit, IDPNet::IDPNetPolarity negativePolarity, int flags = 0);
    bool removeDPNet(const IDPNet* pairNet);
    bool renameDPNet(const IDPNet* pairNet, const char* newName);
    IDPInstTerm* createDPInstTerm(const IInstance* instance, const char* name, const IInstTerm* positive,
                                  int positiveBit, const IInstTerm* negative, int negativeBit);
    bool removeDPInstTerm(const IDPInstTerm* pairPin, int flags = 0);
    bool addDPConn(const IDPNet* pairNet, int netBit1, int netBit2, const IDPInstTerm* pairPin, int pinBit1,
                   int pinBit2, int flags = 0);
    bool removeDPConn(const IDPNet* pairNet, int netBit1, int netBit2, const IDPInstTerm* pairPin, int pinBit1,
                      int pinBit2, int flags = 0);

    // ---- properties
    // Sets a property; the flags are kept as the property's source. Same value and source: no
    // change. The last argument is accepted for the callers' sake and has no effect.
    bool addProperty(const CContext& object, const char* name, const char* value, unsigned long flags = 0,
                     bool unused = false);
    // By object kind (rmx::ObjectKind: 6 instance, 8 pin bit, ...) and path from the
    // transaction's design context.
    bool addProperty(int kind, const char* path, const char* name, const char* value, unsigned long flags = 0,
                     bool unused = false);
    bool addProperty(const ISchemaObject* object, int bit, const char* name, const char* value,
                     unsigned long flags = 0);
    // Removes a property; with a non-null value only when the property has that value.
    bool removeProperty(const CContext& object, const char* name, const char* value = nullptr);
    bool removeProperty(int kind, const char* path, const char* name, const char* value = nullptr);

    // ---- instances and pins
    // A new instance of master lib.cell:view in the transaction's design; its pins are the
    // master's ports (none when the master is not loaded).
    IInstance* createInstance(const char* name, const char* lib, const char* cell, const char* view);
    // Adds a pin to an instance (for instances whose master is not loaded).
    IInstTerm* createInstTerm(const IInstance* instance, const char* name, int msb, int lsb,
                              int direction = ITerm::eDirInout, ITerm::ITermType type = ITerm::eTermTypeUnknown);
    bool removeInstance(const IInstance* instance);
    bool renameInstance(const IInstance* instance, const char* newName);
    // Another master; pins of the same name and width keep their connections, others are
    // removed, new ports become pins.
    bool replaceMaster(const IInstance* instance, const char* lib, const char* cell, const char* view);
    bool renameInstTerm(const IInstTerm* pin, const char* newName);
    bool changeInstTermType(const IInstTerm* pin, ITerm::ITermType type, int direction);
    // New bit range for an unconnected pin.
    bool changeInstTermWidth(const IInstTerm* pin, int msb, int lsb);
    // New bit range for a port of a design: its interface changes; the pins of its instances in other
    // designs stay as they are until those designs are updated.
    bool changePortWidth(const ITerm* port, int msb, int lsb);
    // Ties an implicit power pin of the instance's part to a net name / releases it.
    bool setPowerPinNet(const IInstance* instance, const char* powerPinName, const char* netName);
    bool removePowerPinNet(const IInstance* instance, const char* powerPinName);

    // ---- terminating and pull components
    IDTInstance* createDTInstance(int assocKind, const char* typeName, const char* name, const CInstTermBit& at);
    IDTInstance* createDTInstance(int assocKind, const char* typeName, const char* name, const IDPConn* at);
    // On a pair pin's connection; a member of a vector pair pin: on its lane of the pair's connection.
    IDTInstance* createDTInstance(int assocKind, const char* typeName, const char* name, const IDPInstTerm* at);
    IDTInstance* createDTInstance(int assocKind, const char* typeName, const char* name, const CNetBit& at);
    bool removeDTInstance(const IDTInstance* component);
    bool changeDTType(const IDTInstance* component, const char* typeName);
    // Puts a kept component back onto a pin bit / a pair connection.
    bool attachDTInstance(const IDTInstance* component, const CInstTermBit& at);
    bool attachDTInstance(const IDTInstance* component, const IDPConn* at);

    // ---- life cycle
    // Makes the changes so far permanent and announces them. False when nothing could be
    // committed (a rebuilt transaction whose text does not apply: it then changes nothing).
    bool commit();
    // Undoes every change since the last commit.
    void discard();
    // A point among the changes not yet committed: an edit nested in a longer one takes its own changes
    // back to it when it fails, and the changes made before it stay. A mark belongs to one generation
    // of one transaction: every commit and every full discard begins a new one, so a mark taken before
    // them never matches the changes made after them.
    struct Mark {
        std::size_t ops = 0;
        std::size_t changes = 0;
        std::uint64_t generation = 0; // 0: no transaction's
        std::uint64_t lastChange = 0; // the serial of the change record just before the mark (0: none)
    };
    Mark mark() const;
    // Undoes the changes made since the mark. False, undoing nothing, when a commit or a full discard
    // came after the mark (what it marked is gone or committed), the changes it followed were taken back
    // since, or the mark is not one of this transaction's.
    bool discardTo(const Mark& mark);
    // Changes made since the last commit.
    bool hasPendingChanges() const;
    bool isCommitted() const;
    bool isValid() const;
    // Why the last operation failed ("" after a success).
    CString lastError() const;

    // Change records of every committed and pending change, in the order made.
    CSchemaObjectIterator<IChange*> beginChange() const;
    // Change records made after the mark, in the order made. Nothing (not an empty list) when the mark no
    // longer marks these changes: a commit or a full discard came after it, a discardTo went below it
    // (even if as many changes were made again since), or it is another transaction's. Costs what it
    // returns, not the whole transaction.
    std::optional<std::vector<IChange*>> changesSince(const Mark& mark) const;
    bool modifiesObjectType(char type) const;
    // The transaction as text (every change, also those already committed).
    CString toString() const;

    IDesign* design() const;
    CDesignContext designContext() const;
    IServer* server() const;
    const char* name() const;

private:
    friend class rmx::Db;
    bool stillMarks(const Mark& mark) const;
    std::unique_ptr<rmx::TxState> m_state;
};
