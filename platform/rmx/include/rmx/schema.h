// The objects of a design: designs, terms and pins, nets and their bits, instances,
// connections, aliases, differential pairs and terminating/pull components.
// Every object is read through these classes and changed only through CTransaction.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "rmx/rmxbase.h"

class AfxFileStamp;

// ---------------------------------------------------------------------------------------------
// Bit values

// One bit of a net: the net and the bit number (-1 for a scalar net). A default value is empty.
class CNetBit {
public:
    CNetBit() = default;
    CNetBit(const INet* net, int bit) : m_net(const_cast<INet*>(net)), m_bit(bit) {}
    INet* net() const { return m_net; }
    int bit() const { return m_bit; }
    // Id of the net (a bit has no id of its own).
    unsigned id() const;
    bool isNull() const { return m_net == nullptr; }
    explicit operator bool() const { return m_net != nullptr; }
    bool operator!() const { return m_net == nullptr; }
    IDesign* design() const;
    // Pin bits joined to this net bit, ordered by instance id, pin id and bit.
    CSchemaObjectIterator<CInstTermBit> beginInstTermBit() const;
    // Net bits aliased to this one (the same bit position of every net aliased to the net,
    // directly or through other aliases), without this bit itself.
    CSchemaObjectIterator<CNetBit> beginAlias() const;
    // Components attached to the net bit (pull-ups, pull-downs).
    CSchemaObjectIterator<IDTInstance*> beginAssociatedDTInstance() const;
    CPQPropertyData* findProperty(const char* name) const;
    // Names of the properties set on this bit (on the net itself for a scalar net).
    CSchemaObjectIterator<CString> beginPropertyName() const;
    bool operator==(const CNetBit& o) const { return m_net == o.m_net && m_bit == o.m_bit; }
    bool operator!=(const CNetBit& o) const { return !(*this == o); }
    bool operator<(const CNetBit& o) const;

private:
    INet* m_net = nullptr;
    int m_bit = -1;
};

// One bit of a pin: the pin and the bit number (-1 for a scalar pin). A default value is empty.
class CInstTermBit {
public:
    CInstTermBit() = default;
    CInstTermBit(const IInstTerm* pin, int bit) : m_pin(const_cast<IInstTerm*>(pin)), m_bit(bit) {}
    IInstTerm* instterm() const { return m_pin; }
    IInstTerm* instTerm() const { return m_pin; }
    int bit() const { return m_bit; }
    // Id of the pin.
    unsigned id() const;
    IInstance* instance() const;
    bool isNull() const { return m_pin == nullptr; }
    explicit operator bool() const { return m_pin != nullptr; }
    bool operator!() const { return m_pin == nullptr; }
    // The net bit of the instance's own design that this pin bit is connected to; empty when
    // the pin bit is not connected.
    CNetBit netbitOuter() const;
    // For a pin of a block instance: the bit of the port net inside the contained design;
    // empty for a leaf instance or when the block has no such port net.
    CNetBit netbitInner() const;
    // Terminations and other components attached to this pin bit.
    CSchemaObjectIterator<IDTInstance*> beginAssociatedDTInstance() const;
    // Every object attached to the pin bit: pair pins ('R') that use it, then components ('X').
    CSchemaObjectIterator<ISchemaObject*> beginSchemaObject() const;
    CPQPropertyData* findProperty(const char* name) const;
    // Names of the properties set on this bit (on the pin itself for a scalar pin).
    CSchemaObjectIterator<CString> beginPropertyName() const;
    bool operator==(const CInstTermBit& o) const { return m_pin == o.m_pin && m_bit == o.m_bit; }
    bool operator!=(const CInstTermBit& o) const { return !(*this == o); }
    bool operator<(const CInstTermBit& o) const;

private:
    IInstTerm* m_pin = nullptr;
    int m_bit = -1;
};

// ---------------------------------------------------------------------------------------------
// Connections and aliases

// A connection: a bit range of a net joined to a bit range of a pin. netMsb() is joined to
// instTermMsb() and netLsb() to instTermLsb(); the names only say "first" and "second" end, the
// first may be the lower number. -1 stands for no bit (scalar net or scalar pin).
class CConn : public ISchemaObject {
public:
    CConn() = default;
    CConn(const INet* net, int netBit, const IInstTerm* pin, int pinBit)
        : CConn(net, netBit, netBit, pin, pinBit, pinBit) {}
    CConn(const INet* net, int netMsb, int netLsb, const IInstTerm* pin, int pinMsb, int pinLsb);
    char objectType() const override { return 'C'; }
    IDesign* design() const override;
    INet* net() const { return m_net; }
    int netMsb() const { return m_netMsb; }
    int netLsb() const { return m_netLsb; }
    IInstTerm* instTerm() const { return m_pin; }
    int instTermMsb() const { return m_pinMsb; }
    int instTermLsb() const { return m_pinLsb; }
    int width() const;
    bool operator==(const CConn& o) const;
    bool operator<(const CConn& o) const;

private:
    INet* m_net = nullptr;
    int m_netMsb = -1, m_netLsb = -1;
    IInstTerm* m_pin = nullptr;
    int m_pinMsb = -1, m_pinLsb = -1;
};

// Two nets of one design that carry the same signal, bit by bit in order.
class CAlias : public ISchemaObject {
public:
    char objectType() const override { return 'A'; }
    INet* first() const { return m_first; }
    INet* second() const { return m_second; }

private:
    friend class rmx::Db;
    INet* m_first = nullptr;
    INet* m_second = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Terms and pins

// A term: a port of a design (the terminal that a pin of an instance of the design stands for),
// or, as the base of IInstTerm, a pin of an instance.
class ITerm : public ISchemaObject {
public:
    // Pin-type codes. Codes 3 and above read as in/out to the grids.
    enum ITermType {
        eTermTypeUnknown = -1,
        eTermInput = 0,
        eTermOutput = 1,
        eTermBidirectional = 2,
        eTermInout = 3,
        eTermPower = 4,
        eTermGround = 5,
    };
    // Direction codes.
    enum ITermDirection { eDirNone = 0, eDirInput = 1, eDirOutput = 2, eDirInout = 3 };

    char objectType() const override { return 'T'; }
    int objectKind() const override { return rmx::kindInstTerm; }
    const char* name() const override { return m_name.c_str(); }
    // Name shown to users; empty when the term has none of its own.
    const char* displayName() const { return m_display.c_str(); }
    int msb() const { return m_msb; }
    int lsb() const { return m_lsb; }
    bool isScalar() const { return m_msb < 0; }
    int width() const;
    // Bit numbers in declaration order (from msb to lsb); {-1} for a scalar term.
    std::vector<int> bits() const;
    bool hasBit(int bit) const;
    virtual int direction() const { return m_direction; }
    virtual ITermType termType() const { return m_type; }
    // One-byte type code (the pin-type code as a byte).
    int typeCode() const { return static_cast<unsigned char>(termType()); }

protected:
    friend class rmx::Db;
    std::string m_name;
    std::string m_display;
    int m_msb = -1, m_lsb = -1;
    int m_direction = eDirInout;
    ITermType m_type = eTermTypeUnknown;
};

// A pin of an instance.
class IInstTerm : public ITerm {
public:
    IInstance* instance() const { return m_instance; }
    // The port of the instance's master that the pin stands for; nullptr when the master is not
    // loaded or has no such port.
    ITerm* masterTerm() const;
    // Connections of the pin, as bit ranges in the pin's bit order.
    CSchemaObjectIterator<CConn> beginConn() const;
    CSchemaObjectIterator<CInstTermBit> beginBit() const;
    CInstTermBit bit(int b) const { return CInstTermBit(this, b); }
    // Net bit of one pin bit; empty when unconnected or when the bit does not exist.
    CNetBit netBit(int bit) const;
    bool isConnected() const;
    // Pair pins that use a bit of this pin.
    CSchemaObjectIterator<IDPInstTerm*> beginDPInstTerm() const;

private:
    friend class rmx::Db;
    struct BitData {
        INet* net = nullptr;
        int netBit = -1;
        rmx::PropMap props;
        std::vector<IDTInstance*> dts;
        bool empty() const { return !net && props.empty() && dts.empty(); }
    };
    IInstance* m_instance = nullptr;
    rmx::SparseBits<BitData> m_bits;
    std::vector<IDPInstTerm*> m_pairs;
};

// ---------------------------------------------------------------------------------------------
// Nets

class INet : public ISchemaObject {
public:
    // Scope of a net: a plain net of its design, the net of a port of its design, or a global
    // net (power and ground).
    enum INetScope { eScopeDesign = 0, eScopeInterface = 1, eScopeGlobal = 2 };

    char objectType() const override { return 'N'; }
    int objectKind() const override { return rmx::kindNet; }
    const char* name() const override { return m_name.c_str(); }
    int msb() const { return m_msb; }
    int lsb() const { return m_lsb; }
    bool isScalar() const { return m_msb < 0; }
    int width() const;
    std::vector<int> bits() const;
    bool hasBit(int bit) const;
    // The net's scope; a net named like a port of its design reports eScopeInterface.
    INetScope scope() const;
    ITerm::ITermType termType() const { return m_type; }
    // The port of the design that this net carries, nullptr when none.
    ITerm* port() const;
    CSchemaObjectIterator<CNetBit> beginBit() const;
    CNetBit bit(int b) const { return CNetBit(this, b); }
    // Connections of the net: for each connected pin (by instance id and pin id) its bit
    // ranges in the pin's order.
    CSchemaObjectIterator<CConn> beginConn() const;
    CSchemaObjectIterator<CAlias*> beginAlias() const;
    // Pair nets that use this net as a leg.
    CSchemaObjectIterator<IDPNet*> beginDPNet() const;
    int connectionCount() const;

private:
    friend class rmx::Db;
    struct BitData {
        std::set<CInstTermBit> pins;
        rmx::PropMap props;
        std::vector<IDTInstance*> dts;
        bool empty() const { return pins.empty() && props.empty() && dts.empty(); }
    };
    std::string m_name;
    int m_msb = -1, m_lsb = -1;
    INetScope m_scope = eScopeDesign;
    ITerm::ITermType m_type = ITerm::eTermTypeUnknown;
    rmx::SparseBits<BitData> m_bits;
    std::vector<CAlias*> m_aliases;
    std::vector<IDPNet*> m_pairs;
};

// ---------------------------------------------------------------------------------------------
// Instances

// An implicit power pin of a packaged part: a package pin that the symbol does not show, tied
// to a named net (power or ground).
struct CImplicitPowerPin {
    CString pinName;    // the package's name for the pin ("VCC", "GND")
    CString pinNumber;  // package pin number
    CString netName;    // the net it is tied to
    CString typeText;   // "Power" or "Ground"
    CString partNetName;        // the net the part definition gives it (the net once an own tie is released)
    bool tiedByInstance = false; // the net is the instance's own choice, not its part's
};

class IInstance : public ISchemaObject {
public:
    char objectType() const override { return 'I'; }
    int objectKind() const override { return rmx::kindInstance; }
    const char* name() const override { return m_name.c_str(); }
    const char* libName() const { return m_lib.c_str(); }
    const char* cellName() const { return m_cell.c_str(); }
    const char* viewName() const { return m_view.c_str(); }
    // "lib.cell:view" of the master.
    CString masterName() const;
    // The master design when it is loaded in the server, else nullptr.
    IDesign* master() const;
    // The design inside a block instance; nullptr for a leaf (part) instance.
    IDesign* containedDesign() const;
    bool isBlock() const { return containedDesign() != nullptr; }
    // Parts whose pins are given per instance by a part definition with sections: the master's
    // cell is named "chips".
    bool isChips() const { return m_cell == "chips"; }
    // Reference designator of the physical part that packages the instance (its LOCATION
    // property); nullptr when the instance is not packaged.
    const char* physicalPackageName() const;
    // Name of the part definition of the packaged part ("" when the instance has none).
    CString partName() const;
    CSchemaObjectIterator<IInstTerm*> beginInstTerm() const;
    IInstTerm* findInstTerm(unsigned id) const;
    IInstTerm* findInstTerm(const char* name) const;
    int instTermCount() const;
    CSchemaObjectIterator<IDPInstTerm*> beginDPInstTerm() const;
    IDPInstTerm* findDPInstTerm(unsigned id) const;
    IDPInstTerm* findDPInstTerm(const char* name) const;
    // Every net bit that a pin bit of the instance is connected to, in pin order, each once.
    CSchemaObjectIterator<CNetBit> beginNetBit() const;
    // Implicit power pins: those of the part definition, with the instance's own net choices.
    std::vector<CImplicitPowerPin> implicitPowerPins() const;
    // A block instance has connectivity of its own (its contained design has nets).
    bool hasOwnConnectivity() const;

private:
    friend class rmx::Db;
    std::string m_name, m_lib, m_cell, m_view;
    std::unordered_map<unsigned, IInstTerm*> m_pinsById;  // also removed pins (check isAlive)
    std::vector<IInstTerm*> m_pins;      // live pins in declaration order
    std::unordered_map<std::string, IInstTerm*> m_pinsByName;
    std::vector<IDPInstTerm*> m_dpPins;
    std::map<std::string, std::string> m_powerNets;  // power pin name -> net, overriding the part
};

// ---------------------------------------------------------------------------------------------
// Differential pairs

class IDPNet : public ISchemaObject {
public:
    // Polarity of a leg, as given when the pair net was created.
    enum IDPNetPolarity { ePositive = -1, eUndefined = 0, eNegative = 1 };

    char objectType() const override { return 'O'; }
    int objectKind() const override { return rmx::kindDPNet; }
    const char* name() const override { return m_name.c_str(); }
    INet* positive() const { return m_pos; }
    int positiveBit() const { return m_posBit; }
    INet* negative() const { return m_neg; }
    int negativeBit() const { return m_negBit; }
    IDPNetPolarity positivePolarity() const { return m_posPol; }
    IDPNetPolarity negativePolarity() const { return m_negPol; }
    // Bit range of the pair: -1, -1 for a pair of two net bits (or scalar nets); the legs' range
    // for a pair of two whole bus nets.
    int msb() const { return m_msb; }
    int lsb() const { return m_lsb; }
    CSchemaObjectIterator<IDPConn*> beginConn() const;

private:
    friend class rmx::Db;
    std::string m_name;
    INet* m_pos = nullptr;
    int m_posBit = -1;
    INet* m_neg = nullptr;
    int m_negBit = -1;
    IDPNetPolarity m_posPol = ePositive, m_negPol = eNegative;
    int m_msb = -1, m_lsb = -1;
    std::vector<IDPConn*> m_conns;
};

// Where the components of a pair pin sit: a pair connection and the lane of it (-1: the whole
// connection). Empty (no connection) when the pair pin is not joined to a pair net.
struct CDPConnLane {
    IDPConn* conn = nullptr;
    int lane = -1;
    explicit operator bool() const { return conn != nullptr; }
};

// A pair pin of an instance: a positive and a negative leg pin (one bit each, or two whole
// vector pins of one width, in which case it has one member pair pin per bit).
class IDPInstTerm : public ISchemaObject {
public:
    // Where the pair comes from.
    enum Origin { eUndefined = 0, eLibrary = 1, eModel = 2, eUser = 3 };

    char objectType() const override { return 'R'; }
    int objectKind() const override { return rmx::kindDPInstTerm; }
    const char* name() const override { return m_name.c_str(); }
    IInstance* instance() const { return m_instance; }
    IInstTerm* positive() const { return m_pos; }
    int positiveBit() const { return m_posBit; }
    IInstTerm* negative() const { return m_neg; }
    int negativeBit() const { return m_negBit; }
    int msb() const { return m_msb; }
    int lsb() const { return m_lsb; }
    Origin origin() const { return m_origin; }
    // Member pair pins (one per bit) of a vector pair; empty for a one-bit pair.
    CSchemaObjectIterator<IDPInstTerm*> beginMember() const;
    IDPInstTerm* parent() const { return m_parent; }
    // The pair connection of this pair pin, nullptr when it has none.
    IDPConn* dpConn() const { return m_conn; }
    // The connection and lane its components sit on: its own connection as a whole, or for a
    // member of a vector pair pin (which has no connection of its own) its bit's lane of the
    // parent's connection.
    CDPConnLane connLane() const;
    // The components kept on the pair pin itself while it has no pair connection (eOnDPInstTerm).
    CSchemaObjectIterator<IDTInstance*> beginAssociatedDTInstance() const;

private:
    friend class rmx::Db;
    std::string m_name;
    IInstance* m_instance = nullptr;
    IInstTerm* m_pos = nullptr;
    int m_posBit = -1;
    IInstTerm* m_neg = nullptr;
    int m_negBit = -1;
    int m_msb = -1, m_lsb = -1;
    Origin m_origin = eUser;
    std::vector<IDPInstTerm*> m_members;
    IDPInstTerm* m_parent = nullptr;
    IDPConn* m_conn = nullptr;
    std::vector<IDTInstance*> m_dts;
};

// A pair pin joined to a pair net.
class IDPConn : public ISchemaObject {
public:
    char objectType() const override { return 'W'; }
    IDPNet* dpNet() const { return m_net; }
    IDPInstTerm* dpInstTerm() const { return m_pin; }
    int netMsb() const { return m_netMsb; }
    int netLsb() const { return m_netLsb; }
    int instTermMsb() const { return m_pinMsb; }
    int instTermLsb() const { return m_pinLsb; }
    // Components attached to the pair connection (pair terminations).
    CSchemaObjectIterator<IDTInstance*> beginAssociatedDTInstance() const;

private:
    friend class rmx::Db;
    IDPNet* m_net = nullptr;
    IDPInstTerm* m_pin = nullptr;
    int m_netMsb = -1, m_netLsb = -1, m_pinMsb = -1, m_pinLsb = -1;
    std::vector<IDTInstance*> m_dts;
};

// ---------------------------------------------------------------------------------------------
// Terminating and pull components

// A component placed by the design tool: a termination on a pin bit or on a pair connection,
// or a pull-up/pull-down resistor on a net bit. Its type name says which ("Series", "Parallel",
// "PullUp", "PullDown", ...); the associated-components library gives the names meaning.
class IDTInstance : public ISchemaObject {
public:
    enum AssocKind { eTermination = 1, ePullUpDown = 2 };
    // eOnDPInstTerm: kept on a pair pin (a lane's member pair pin) whose pair connection was removed,
    // for the pin's next pair connection; written as the pair pin's path, as one on its connection.
    enum AttachKind { eDetached = 0, eOnInstTermBit = 1, eOnDPConn = 2, eOnNetBit = 3, eOnDPInstTerm = 4 };

    char objectType() const override { return 'X'; }
    int objectKind() const override { return rmx::kindDTInstance; }
    const char* name() const override { return m_name.c_str(); }
    const char* typeName() const { return m_type.c_str(); }
    AssocKind assocKind() const { return m_kind; }
    AttachKind attachKind() const { return m_attach; }
    // The pin bit it sits on (attachKind eOnInstTermBit), else empty.
    CInstTermBit instTermBit() const;
    IDPConn* dpConn() const { return m_attach == eOnDPConn ? m_dpConn : nullptr; }
    // The pair pin it is kept on (attachKind eOnDPInstTerm), else nullptr.
    IDPInstTerm* dpInstTerm() const { return m_attach == eOnDPInstTerm ? m_dpPin : nullptr; }
    // On a vector pair pin's connection: the lane (the member pair pin's bit) it sits on; -1 on the
    // whole connection or elsewhere.
    int dpConnLane() const { return m_attach == eOnDPConn ? m_bit : -1; }
    // The net bit it sits on (attachKind eOnNetBit), else empty.
    CNetBit netBit() const;
    // Net and bit of the attachment: the net bit itself, or the net bit of the pin bit it sits
    // on; false (net nullptr, bit -1) when there is none.
    bool getNetAndBit(INet*& net, int& bit) const;
    // The pin (of a pin-bit attachment) or nullptr.
    IInstTerm* instTerm() const;

private:
    friend class rmx::Db;
    std::string m_name, m_type;
    AssocKind m_kind = eTermination;
    AttachKind m_attach = eDetached;
    IInstTerm* m_pin = nullptr;
    INet* m_net = nullptr;
    int m_bit = -1;
    IDPConn* m_dpConn = nullptr;
    IDPInstTerm* m_dpPin = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Designs

// A design "lib.cell:view": a schematic (instances, nets, ports) or a part symbol (ports only,
// the master of leaf instances).
class IDesign : public ISchemaObject {
public:
    char objectType() const override { return 'D'; }
    int objectKind() const override { return rmx::kindDesign; }
    IDesign* design() const override { return const_cast<IDesign*>(this); }
    // "lib.cell:view".
    const char* name() const override { return m_name.c_str(); }
    const char* libName() const { return m_lib.c_str(); }
    const char* cellName() const { return m_cell.c_str(); }
    const char* viewName() const { return m_view.c_str(); }
    // A part symbol (master of leaf instances) rather than a schematic.
    bool isSymbol() const { return m_symbol; }
    IServer* server() const { return m_server; }
    // Folder of the design library the design was loaded from or is saved to ("" when none).
    const char* directory() const { return m_dir.c_str(); }
    bool isModified() const { return m_modified; }
    // How many times the design was written to its library since it was loaded: a change of it
    // tells that the design was saved.
    unsigned saveCount() const { return m_saveCount; }
    // The design's number text, "1" unless its design file gives another on its "number" line.
    const char* numberText() const { return m_number.c_str(); }

    CSchemaObjectIterator<IInstance*> beginInstance() const;
    CSchemaObjectIterator<INet*> beginNet() const;
    CSchemaObjectIterator<ITerm*> beginPort() const;
    CSchemaObjectIterator<IDPNet*> beginDPNet() const;
    CSchemaObjectIterator<IDTInstance*> beginDTInstance() const;
    CSchemaObjectIterator<CAlias*> beginAlias() const;
    // Instances in loaded designs whose master is this design.
    CSchemaObjectIterator<IInstance*> beginParentInstance() const;
    IInstance* parentInstance() const;

    IInstance* findInstance(unsigned id) const;
    IInstance* findInstance(const char* name) const;
    INet* findNet(unsigned id) const;
    INet* findNet(const char* name) const;
    ITerm* findPort(const char* name) const;
    IDPNet* findDPNet(unsigned id) const;
    IDPNet* findDPNet(const char* name) const;
    IDTInstance* findDTInstance(unsigned id) const;
    IDTInstance* findDTInstance(const char* name) const;
    int instanceCount() const;
    int netCount() const;
    // Live components (terminations, pull-ups, pull-downs) of the design; a pin bit's or net bit's
    // components always belong to the pin's or net's own design.
    int dtInstanceCount() const;
    // Whether the instance is one the lists do not show (never true here: every instance of
    // a design is shown).
    bool isHidden(const IInstance* instance) const;

private:
    friend class rmx::Db;
    template <class T>
    struct Table {
        std::vector<T*> byId;  // index: id; holds removed objects too (check isAlive)
        std::unordered_map<std::string, T*> byName;
        int live = 0;
    };
    IServer* m_server = nullptr;
    std::string m_name, m_lib, m_cell, m_view, m_dir;
    bool m_symbol = false;
    bool m_modified = false;
    unsigned m_saveCount = 0;
    std::string m_number = "1";
    Table<IInstance> m_instances;
    Table<INet> m_nets;
    Table<IDPNet> m_dpNets;
    Table<IDTInstance> m_dts;
    std::vector<ITerm*> m_ports;
    std::unordered_map<std::string, ITerm*> m_portsByName;
    std::vector<CAlias*> m_aliases;
    unsigned m_nextPinId = 1;
    unsigned m_nextDPPinId = 1;
    unsigned m_nextAliasId = 1;
    std::vector<std::unique_ptr<ISchemaObject>> m_owned;
    std::vector<std::string> m_savedInterface;  // ports as last loaded or saved
    // What the design's file held when this server last read or wrote it (none for a design made in
    // memory): a save does not write over a file another process saved since.
    std::shared_ptr<AfxFileStamp> m_fileStamp;
};
