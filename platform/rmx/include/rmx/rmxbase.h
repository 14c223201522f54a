// Basic types shared by every object of the design database: the schema object base, the
// snapshot iterator and the property record handed to callers.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "afx/afxstr.h"

class IServer;
class IDesign;
class ITerm;
class INet;
class IInstance;
class IInstTerm;
class IDPNet;
class IDPInstTerm;
class IDPConn;
class IDTInstance;
class CAlias;
class CConn;
class CNetBit;
class CInstTermBit;
class CTransaction;
class IChange;

namespace rmx {
class Db;

// A property value with its source. The source is the flag word given when the property was
// written; the database keeps it and hands it back, it gives it no meaning of its own.
struct Prop {
    std::string value;
    unsigned long source = 0;
    bool operator==(const Prop&) const = default;
};
// Looked up by a name's text as it is, without a string made for each look-up.
using PropMap = std::map<std::string, Prop, std::less<>>;

// Per-bit data of a bus, kept only for the bits that hold something and keyed by the bit's place from
// the msb end: a bus costs what its used bits cost, whatever its width. T tells by empty() when a
// bit holds nothing any more.
template <class T>
class SparseBits {
public:
    using Map = std::map<int, T>;
    T* find(int index) {
        auto it = m_bits.find(index);
        return it == m_bits.end() ? nullptr : &it->second;
    }
    const T* find(int index) const {
        auto it = m_bits.find(index);
        return it == m_bits.end() ? nullptr : &it->second;
    }
    // The bit's data, made empty when the bit has none yet.
    T& use(int index) { return m_bits[index]; }
    // Forgets the bit's data once it holds nothing.
    void release(int index) {
        auto it = m_bits.find(index);
        if (it != m_bits.end() && it->second.empty()) m_bits.erase(it);
    }
    void clear() { m_bits.clear(); }
    void swap(SparseBits& o) noexcept { m_bits.swap(o.m_bits); }
    // The used bits, (index, data), in order from the msb end.
    typename Map::iterator begin() { return m_bits.begin(); }
    typename Map::iterator end() { return m_bits.end(); }
    typename Map::const_iterator begin() const { return m_bits.begin(); }
    typename Map::const_iterator end() const { return m_bits.end(); }

private:
    Map m_bits;
};

// Numeric object kinds, used by the path-addressed property operations of CTransaction and by
// IServer::findObject. They are this database's own numbering.
enum ObjectKind {
    kindNone = 0,
    kindDesign = 1,
    kindNet = 2,
    kindNetBit = 3,
    kindDPNet = 4,
    kindInstTerm = 5,
    kindInstance = 6,
    kindDTInstance = 7,
    kindInstTermBit = 8,
    kindDPInstTerm = 9,
};
}  // namespace rmx

// Snapshot iterator: holds the elements as they were when the iteration began, so the design
// may change while a caller walks it. "Current element" of a finished iteration is T().
template <class T>
class CSchemaObjectIterator {
public:
    CSchemaObjectIterator() : m_items(std::make_shared<const std::vector<T>>()) {}
    explicit CSchemaObjectIterator(std::vector<T> items)
        : m_items(std::make_shared<const std::vector<T>>(std::move(items))) {}

    bool isValid() const { return m_pos < m_items->size(); }
    bool atEnd() const { return !isValid(); }
    explicit operator bool() const { return isValid(); }
    T current() const { return isValid() ? (*m_items)[m_pos] : T(); }
    T operator*() const { return current(); }
    CSchemaObjectIterator& operator++() {
        if (isValid()) ++m_pos;
        return *this;
    }
    void next() { ++*this; }
    void reset() { m_pos = 0; }
    std::size_t count() const { return m_items->size(); }
    // Range-for over the remaining elements.
    typename std::vector<T>::const_iterator begin() const { return m_items->begin() + static_cast<std::ptrdiff_t>(m_pos); }
    typename std::vector<T>::const_iterator end() const { return m_items->end(); }

private:
    std::shared_ptr<const std::vector<T>> m_items;
    std::size_t m_pos = 0;
};

// A property as found on an object: name, value and source. Find operations return a new record
// that the caller deletes; nullptr means the property is absent.
class CPQPropertyData {
public:
    CPQPropertyData(const char* name, const char* value, unsigned long source, const char* ownerPath = "")
        : m_name(name ? name : ""), m_value(value ? value : ""), m_source(source), m_owner(ownerPath ? ownerPath : "") {}
    const char* name() const { return m_name; }
    const char* value() const { return m_value; }
    unsigned long source() const { return m_source; }
    // Path of the object that carries the property (differs from the asked object when the
    // property was found on an alias).
    const char* ownerPath() const { return m_owner; }
    // Spellings used by some callers.
    const char* GetName() const { return m_name; }
    const char* GetValue() const { return m_value; }
    unsigned long GetSource() const { return m_source; }

private:
    CString m_name;
    CString m_value;
    unsigned long m_source;
    CString m_owner;
};

// Base of every object of the design database. Objects are owned by their design and stay in
// memory until the design is unloaded, also after they were removed (isAlive() false), so that
// change records and callers' pointers never dangle inside a session.
class ISchemaObject {
public:
    virtual ~ISchemaObject() = default;
    ISchemaObject(const ISchemaObject&) = default;
    ISchemaObject& operator=(const ISchemaObject&) = default;

    // One-letter object type: 'D' design, 'I' instance, 'N' net, 'T' term or pin, 'R' pair pin,
    // 'O' pair net, 'W' pair connection, 'X' terminating/pull component, 'A' alias,
    // 'C' connection, 'P' property change.
    virtual char objectType() const = 0;
    virtual int objectKind() const { return rmx::kindNone; }
    // Numeric type code of the object, the letter's character code ('R' is 82).
    int getObjectType() const { return static_cast<unsigned char>(objectType()); }
    virtual const char* name() const { return ""; }
    // Id, unique per kind inside the object's design; 0 for objects without id.
    unsigned id() const { return m_id; }
    virtual IDesign* design() const { return m_design; }
    bool isAlive() const { return m_alive; }

    // Own properties (not those of bits). The caller deletes the record.
    CPQPropertyData* findProperty(const char* name, bool inherited = false) const;
    CSchemaObjectIterator<CString> beginPropertyName() const;

protected:
    ISchemaObject() = default;
    friend class rmx::Db;
    unsigned m_id = 0;
    IDesign* m_design = nullptr;
    bool m_alive = true;
    rmx::PropMap m_props;
};
