// Context objects: copyable values that name one object of a design by its hierarchical path
// from a root design. A design opened in the context of its parent names its objects through
// the block instances above it, so its paths are those of the parent's hierarchy.
//
// Path syntax (spath): "@" is the root design; every block instance level adds "@" and the
// instance name ("@B1@U3" is instance U3 inside block B1). After the instance path come
//   ".PIN" a pin and ".PIN<3>" one of its bits, "%PAIR" a pair pin;
// after a design path (the root "@" or a block instance path) come
//   ":NET" a net and ":NET<3>" one of its bits, "~PAIR" a pair net, "$NAME" a component.
// The canonical path (cpath) puts the root design's name in front: "lib.board:sch@U1.A<3>".
#pragma once

#include <vector>

#include "rmx/schema.h"

class CDesignContext;
class CInstanceContext;
class CNetContext;
class CNetBitContext;
class CInstTermContext;
class CInstTermBitContext;
class CContainerContext;

// Common part of every context. An empty context (no object) tests false and has an empty
// spath. Contexts stay valid while their designs are loaded.
class CContext {
public:
    CContext() = default;
    virtual ~CContext() = default;
    CContext(const CContext&) = default;
    CContext& operator=(const CContext&) = default;

    bool isNull() const { return m_obj == nullptr; }
    bool operator!() const { return m_obj == nullptr; }
    explicit operator bool() const { return m_obj != nullptr; }

    CString spath() const;
    CString cpath() const;
    IServer* server() const { return m_server; }
    // The design the path starts from.
    IDesign* rootDesign() const { return m_root; }
    // Block instances from the root design down to the design that holds the object.
    const std::vector<IInstance*>& hierarchy() const { return m_hier; }
    // The design that holds the object.
    IDesign* ownerDesign() const;
    // Context of the design that holds the object (with the same hierarchy).
    CDesignContext designContext() const;
    ISchemaObject* schemaObject() const { return m_obj; }
    // Bit of a bit context (-1 for a scalar or whole object); -1 for other contexts.
    int bitNumber() const { return m_bit; }
    char objectType() const { return m_obj ? m_obj->objectType() : '\0'; }
    // A property of the named object (for bit contexts: of the bit; bit -1 of a vector object
    // is the object itself). The caller deletes the record.
    CPQPropertyData* findProperty(const char* name, bool inherited = false) const;

    bool operator==(const CContext& o) const;
    bool operator!=(const CContext& o) const { return !(*this == o); }

protected:
    friend class rmx::Db;
    // The stored property findProperty reports (nullptr when none), without making a record of it.
    const rmx::Prop* storedProperty(const char* name, bool inherited) const;
    IServer* m_server = nullptr;
    IDesign* m_root = nullptr;
    std::vector<IInstance*> m_hier;
    ISchemaObject* m_obj = nullptr;
    int m_bit = -1;
};

// A context whose object is a T.
template <class T>
class CContextObject : public CContext {
public:
    T* object() const { return static_cast<T*>(m_obj); }
    operator T*() const { return object(); }
    T* operator->() const { return object(); }
};

class CDesignContext : public CContextObject<IDesign> {
public:
    CDesignContext() = default;
    // The design as a root of its own hierarchy.
    CDesignContext(IServer* server, IDesign* design);
    // A design looked up by name ("lib.cell:view"); empty when the server does not know it.
    CDesignContext(IServer* server, const char* designName);

    IDesign* design() const { return object(); }
    CString name() const;
    CInstanceContext instance(unsigned id) const;
    CInstanceContext instance(const IInstance* instance) const;
    CInstanceContext instance(const char* name) const;
    CNetContext net(unsigned id) const;
    CNetContext net(const INet* net) const;
    CNetContext net(const char* name) const;
    // The block instance this design was opened in (with its own hierarchy); empty at the root.
    CInstanceContext parent() const;
    // The pair pin as a container object (the pins it groups).
    CContainerContext container(const IDPInstTerm* pairPin) const;
    // Contexts of every instance / net of the design.
    std::vector<CInstanceContext> instances() const;
    std::vector<CNetContext> nets() const;
};

class CInstanceContext : public CContextObject<IInstance> {
public:
    IInstance* instance() const { return object(); }
    CString name() const;
    CInstTermContext instTerm(unsigned id) const;
    CInstTermContext instTerm(const IInstTerm* pin) const;
    CInstTermContext instTerm(const char* name) const;
    // The design inside a block instance, opened in this instance's context; empty for a leaf.
    CDesignContext containedDesign() const;
    // The design that holds the instance.
    CDesignContext design() const;
    // Reference designator of the packaging part, nullptr when not packaged.
    const char* physicalPackageName() const;
    CContainerContext container(const IDPInstTerm* pairPin) const;
};

class CNetContext : public CContextObject<INet> {
public:
    INet* net() const { return object(); }
    CNetBitContext bitContext(int bit) const;
    CNetBitContext bitContext(const CNetBit& bit) const;
    CDesignContext design() const;
};

class CNetBitContext : public CContext {
public:
    INet* net() const { return static_cast<INet*>(m_obj); }
    int bit() const { return m_bit; }
    CNetBit netBit() const { return CNetBit(net(), m_bit); }
    operator CNetBit() const { return netBit(); }
    CNetContext netContext() const;
    CDesignContext design() const;
    // The top-most net bit carrying the same signal: climbs from a port net through the block
    // instance's pin to the net of the parent design, as far as the hierarchy goes.
    CNetBitContext base() const;
    // Aliased bits (same design).
    CSchemaObjectIterator<CNetBit> beginAlias() const;
    // The property on this bit, else on the first aliased bit that has it.
    CPQPropertyData* findPropertyIncludingAliases(const char* name, bool inherited = false) const;
    // "PHYS_NET_NAME" of the base bit (aliases included), else the base bit's own name.
    CString physicalNetName() const;
};

class CInstTermContext : public CContextObject<IInstTerm> {
public:
    IInstTerm* instTerm() const { return object(); }
    CInstTermBitContext bitContext(int bit) const;
    CInstTermBitContext bitContext(const CInstTermBit& bit) const;
    CInstanceContext instance() const;
};

class CInstTermBitContext : public CContext {
public:
    IInstTerm* instTerm() const { return static_cast<IInstTerm*>(m_obj); }
    int bit() const { return m_bit; }
    CInstTermBit instTermBit() const { return CInstTermBit(instTerm(), m_bit); }
    operator CInstTermBit() const { return instTermBit(); }
    CInstTermContext instTermContext() const;
    CInstanceContext instance() const;
    // The connected net bit in the instance's design; empty when unconnected.
    CNetBitContext netbitOuter() const;
    // For a block pin: the port net bit inside the block, in the block's context.
    CNetBitContext netbitInner() const;
    // The package pin number (its "PN" property); "" when it has none.
    CString physicalPinName() const;
};

// A container: a pair pin seen as the group of pins it joins.
class CContainerContext : public CContextObject<IDPInstTerm> {
public:
    IDPInstTerm* dpInstTerm() const { return object(); }
    // The leg pins of the pair (positive first), and of its members in order.
    CSchemaObjectIterator<IInstTerm*> beginInstTerm() const;
    CInstanceContext instance() const;
};
