// CObject and run-time class information (type queries and dynamic creation).
#pragma once

#include "afx/afxstr.h"

class CObject;
class CArchive;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new object of this class, or nullptr when the class is not dynamically creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }

    // Classes declared dynamic register themselves by name when first asked for.
    static CRuntimeClass* FromName(const char* lpszClassName);
    static void Register(CRuntimeClass* pClass);
};

class CObject {
public:
    virtual ~CObject() = default;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const { return GetThisClass(); }
    BOOL IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
    virtual void AssertValid() const {}
    // Archives are not used by this system; the hook exists for classes that override it.
    virtual void Serialize(CArchive& ar) { (void)ar; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass* GetThisClass();                                                                    \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, schema, pfnNew)                             \
    CRuntimeClass* class_name::GetThisClass() {                                                              \
        static CRuntimeClass rc{#class_name, static_cast<int>(sizeof(class_name)), schema, pfnNew,           \
                                &base_class_name::GetThisClass};                                             \
        static const bool registered = (CRuntimeClass::Register(&rc), true);                                 \
        (void)registered;                                                                                    \
        return &rc;                                                                                          \
    }                                                                                                        \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                     \
        return class_name::GetThisClass();                                                                   \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, wSchema, &class_name::CreateObject)
