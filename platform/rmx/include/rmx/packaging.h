// Packaging server: the physical view of a design. Logical instances that share a LOCATION
// (reference designator) form one physical part instance of the part definition given by their
// part name; a logical pin bit with a PN property sits on the package pin of that number; the
// physical net of a package pin is the net bit (followed up to the top of the hierarchy) that
// its logical pin bit is connected to, named by its PHYS_NET_NAME property or by its bit name.
// Every object handed out here is new and belongs to the caller, who deletes it.
#pragma once

#include <memory>
#include <vector>

#include "rmx/context.h"
#include "rmx/hmtpi.h"

class IPhysPartInst;
class IPhysPin;
class IPhysNet;
class IPhysFunction;
class IPhysPowerPin;
class IPhysPartDefn;

namespace rmx {
struct PartDefn;
struct PhysView;
}  // namespace rmx

// Iteration over new objects: hasCurrent(), current() (a new object owned by the caller, or
// nullptr at the end), advance().
template <class T>
class CPhysIterator {
public:
    explicit CPhysIterator(std::vector<std::unique_ptr<T>> items) : m_items(std::move(items)) {}
    bool hasCurrent() const { return m_pos < m_items.size(); }
    bool isValid() const { return hasCurrent(); }
    // A new copy of the current element; nullptr at the end.
    T* current() const { return hasCurrent() ? m_items[m_pos]->clone() : nullptr; }
    void advance() {
        if (hasCurrent()) ++m_pos;
    }
    void next() { advance(); }
    std::size_t count() const { return m_items.size(); }

private:
    std::vector<std::unique_ptr<T>> m_items;
    std::size_t m_pos = 0;
};

class IPhysPartDefn {
public:
    IPhysPartDefn(const rmx::PartDefn* defn) : m_defn(defn) {}
    virtual ~IPhysPartDefn() = default;
    IPhysPartDefn* clone() const { return new IPhysPartDefn(*this); }
    const char* name() const;
    int pinCount() const;
    // Section names in definition order.
    std::vector<CString> sections() const;
    // Handle for the pin-name generator.
    HMTPART handle() const;
    // Implicit power pins of the package (pins the symbol does not show), tied to net names.
    std::vector<CImplicitPowerPin> implicitPowerPins() const;
    // Signal models the part offers for its pins ("model" lines of the part file).
    std::vector<CString> signalModels() const;
    const rmx::PartDefn* defn() const { return m_defn; }

private:
    const rmx::PartDefn* m_defn;
};

class IPhysPartInst {
public:
    IPhysPartInst(std::shared_ptr<const rmx::PhysView> view, int part) : m_view(std::move(view)), m_part(part) {}
    virtual ~IPhysPartInst() = default;
    IPhysPartInst* clone() const { return new IPhysPartInst(*this); }
    // The reference designator.
    const char* name() const;
    // A property of the part: the first of its logical instances (in instance id order) that
    // has it. nullptr when none has it. The text lives as long as this object.
    const char* getProperty(const char* name, bool inherited = true) const;
    // The part definition (new; nullptr when the part names no loaded definition).
    IPhysPartDefn* partDefn() const;
    // Functions (sections) of the part in definition order; a part without sections has one
    // function numbered 1 holding every pin.
    CPhysIterator<IPhysFunction>* beginFunction() const;
    int functionCount() const;
    // Every package pin, in definition order.
    CPhysIterator<IPhysPin>* beginPin() const;
    // The package pin of that number, nullptr when none.
    IPhysPin* getPhysPin(const char* number) const;
    // Logical instances packaged in this part, in id order.
    std::vector<CInstanceContext> logicalInstances() const;

private:
    std::shared_ptr<const rmx::PhysView> m_view;
    int m_part;
};

class IPhysFunction {
public:
    IPhysFunction(std::shared_ptr<const rmx::PhysView> view, int part, int function)
        : m_view(std::move(view)), m_part(part), m_function(function) {}
    virtual ~IPhysFunction() = default;
    IPhysFunction* clone() const { return new IPhysFunction(*this); }
    // 1-based number of the function in the part.
    int functionNumber() const { return m_function + 1; }
    // The section name ("" for a part without sections).
    const char* name() const;
    CPhysIterator<IPhysPin>* beginPin() const;

private:
    std::shared_ptr<const rmx::PhysView> m_view;
    int m_part;
    int m_function;
};

class IPhysPin {
public:
    // Kinds of package pins: 5 unused (no logical pin bit), 6 one logical pin bit, 7 several
    // logical pin bits on the same number.
    enum Kind { eUnused = 5, eSingle = 6, eShared = 7 };

    IPhysPin(std::shared_ptr<const rmx::PhysView> view, int part, int pin)
        : m_view(std::move(view)), m_part(part), m_pin(pin) {}
    virtual ~IPhysPin() = default;
    IPhysPin* clone() const { return new IPhysPin(*this); }
    // Pin number.
    const char* pinNumber() const;
    const char* name() const { return pinNumber(); }
    // Logical (function) name from the part definition.
    const char* logicalName() const;
    const char* sectionName() const;
    IPhysPartInst* partInst() const;
    // The physical net (new), nullptr when the pin is unconnected. The flag is accepted for
    // the callers' sake.
    IPhysNet* physNet(int flag = 1) const;
    // Fills the first logical pin bit on this pin; false (context untouched) when none.
    bool logicalPinBit(CInstTermBitContext& out) const;
    std::vector<CInstTermBitContext> logicalPinBits() const;
    // Pin-type code (ITerm::ITermType) of the definition.
    int typeCode() const;
    int direction() const;
    int kind() const;
    // A property of the logical pin bit (flag ignored); "" when none.
    CString getProperty(const char* name, int flag = 0) const;

private:
    std::shared_ptr<const rmx::PhysView> m_view;
    int m_part;
    int m_pin;
};

class IPhysPowerPin {
public:
    IPhysPowerPin(std::shared_ptr<const rmx::PhysView> view, int part, int power)
        : m_view(std::move(view)), m_part(part), m_power(power) {}
    virtual ~IPhysPowerPin() = default;
    IPhysPowerPin* clone() const { return new IPhysPowerPin(*this); }
    const char* pinName() const;
    const char* pinNumber() const;
    const char* typeText() const;
    // Reference designator of its part.
    const char* location() const;
    IPhysNet* net() const;

private:
    std::shared_ptr<const rmx::PhysView> m_view;
    int m_part;
    int m_power;
};

class IPhysNet {
public:
    IPhysNet(std::shared_ptr<const rmx::PhysView> view, int net) : m_view(std::move(view)), m_net(net) {}
    virtual ~IPhysNet() = default;
    IPhysNet* clone() const { return new IPhysNet(*this); }
    // The physical net name.
    const char* name() const;
    // The logical bit name of the net bit behind it ("DATA<3>").
    const char* logicalName() const;
    // The logical net bit (top of the hierarchy); its property look-ups answer for the net.
    CNetBitContext netBitContext() const;
    CNetBit netBit() const;
    CPQPropertyData* findProperty(const char* name, bool inherited = true) const;
    CPhysIterator<IPhysPin>* beginPin() const;
    CPhysIterator<IPhysPowerPin>* beginPowerPin() const;

private:
    std::shared_ptr<const rmx::PhysView> m_view;
    int m_net;
};

// Look-ups. Null arguments give nullptr.
IPhysPartInst* getPhysPartInst(const CDesignContext* design, const char* referenceDesignator);
IPhysPartInst* getPhysPartInst(const CDesignContext* design, const CInstanceContext* instance);
IPhysNet* getPhysNet(const CDesignContext* design, const char* name);
IPhysPin* getPhysPinInst(const CDesignContext* design, const CInstTermBitContext* pinBit);
// Every physical part / net of the design, in name order.
std::vector<CString> getPhysPartNames(const CDesignContext* design);
std::vector<CString> getPhysNetNames(const CDesignContext* design);
