// Automation: VARIANT subset, IDispatch, dispatch maps, class factories.
//
// Strings (BSTR) are 8-bit. DISPPARAMS keeps the COM order (rgvarg[0] is the LAST argument);
// AfxInvokeByName takes arguments in natural order. Dispatch ids follow map order: the object's
// own class map gives 1, 2, ...; entries of the n-th base map get n in the high word.
// A method called with fewer arguments than it declares receives VT_ERROR (DISP_E_PARAMNOTFOUND)
// for each missing VARIANT parameter; a missing parameter of another type fails the call.
#pragma once

#include "afx/afxmsg.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using SCODE = LONG;
using DISPID = LONG;
using BSTR = char*;
using LPCOLESTR = const char*;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UI1 = 17,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)
#define DISPID_UNKNOWN (-1)
#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000FL)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)

class IDispatch;
struct SAFEARRAY;

struct VARIANT {
    VARTYPE vt;
    union {
        LONG lVal;
        short iVal;
        BYTE bVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        LONG* plVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
    };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

#define V_VT(v) ((v)->vt)
#define V_I4(v) ((v)->lVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_DISPATCH(v) ((v)->pdispVal)
#define V_ERROR(v) ((v)->scode)
#define V_ARRAY(v) ((v)->parray)

// BSTRs: 8-bit texts owned by whoever holds them; SysFreeString(nullptr) is harmless.
BSTR SysAllocString(const char* psz);
BSTR SysAllocStringLen(const char* pch, UINT cch);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);

void VariantInit(VARIANT* pvarg);
HRESULT VariantClear(VARIANT* pvarg);
HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc);
// Converts (following a by-reference source) to VT_I4, VT_BOOL, VT_BSTR or VT_R8.
HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, unsigned short wFlags, VARTYPE vt);
// TRUE for VT_ERROR (an omitted argument) and VT_EMPTY, also through VT_BYREF|VT_VARIANT.
BOOL AfxIsVariantMissing(const VARIANT* pv);
// The text of a variant (strings as they are, numbers formatted, booleans "1"/"0"); empty when missing.
CString AfxVariantToString(const VARIANT* pv);

// One-dimensional arrays (of BSTR, VARIANT or I4).
struct SAFEARRAY {
    VARTYPE vt;
    LONG lLbound;
    std::vector<VARIANT> items;
    ~SAFEARRAY();
};
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
UINT SafeArrayGetDim(SAFEARRAY* psa);
// Element access copies: a BSTR put is copied in; a BSTR got is a new copy for the caller.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
SAFEARRAY* AfxSafeArrayFromStrings(const std::vector<CString>& strings);
std::vector<CString> AfxSafeArrayToStrings(SAFEARRAY* psa);

// VARIANT with ownership.
class COleVariant : public VARIANT {
public:
    COleVariant() { VariantInit(this); }
    COleVariant(const VARIANT& src) {
        VariantInit(this);
        VariantCopy(this, &src);
    }
    COleVariant(const COleVariant& src) : COleVariant(static_cast<const VARIANT&>(src)) {}
    COleVariant(LPCTSTR lpszSrc);
    COleVariant(const CString& strSrc) : COleVariant(strSrc.GetString()) {}
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(int nSrc, VARTYPE vtSrc = VT_I4) : COleVariant(static_cast<long>(nSrc), vtSrc) {}
    COleVariant(double dblSrc);
    COleVariant(IDispatch* pDisp, BOOL bAddRef = TRUE);
    ~COleVariant() { VariantClear(this); }
    COleVariant& operator=(const COleVariant& src);
    COleVariant& operator=(const VARIANT& src);
    void Clear() { VariantClear(this); }
    VARIANT Detach();
    operator LPVARIANT() { return this; }
    operator const VARIANT*() const { return this; }
    // An omitted optional argument (VT_ERROR, DISP_E_PARAMNOTFOUND).
    static COleVariant Missing();
    static COleVariant Bool(BOOL b);
};

struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    BSTR bstrSource;
    BSTR bstrDescription;
    SCODE scode;
};

class IUnknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IDispatch : public IUnknown {
public:
    // Names compare without regard to case.
    virtual HRESULT GetIDsOfNames(LPCOLESTR* rgszNames, UINT cNames, DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                           EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
};
using LPDISPATCH = IDispatch*;

// Calls a method by name with arguments in natural order; pResult (may be null) gets the result.
HRESULT AfxInvokeByName(IDispatch* pDisp, LPCSTR lpszName, std::vector<COleVariant> args,
                        VARIANT* pResult = nullptr);
// The parameter types (VTS_ codes) of a method of an object made by a dispatch map; FALSE when the
// object has no method of that name.
BOOL AfxGetMethodParamTypes(IDispatch* pDisp, LPCSTR lpszName, std::string& types);

// ---------------------------------------------------------------- dispatch maps
// Parameter type strings: concatenate the VTS_ codes, as in DISP_FUNCTION(..., VTS_BSTR VTS_I4).
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_PI4 "\x43"
#define VTS_PBSTR "\x48"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

namespace afx_detail {
struct DispCall {
    DISPPARAMS* params;
    VARIANT* result;
    UINT* argErr;
};
using DispInvoker = std::function<HRESULT(CCmdTarget*, DispCall&)>;
} // namespace afx_detail

struct AFX_DISPMAP_ENTRY {
    const char* lpszName; // null ends the table
    VARTYPE vtReturn;
    std::string paramTypes; // VTS_ codes
    afx_detail::DispInvoker invoke;
};

struct AFX_DISPMAP {
    const AFX_DISPMAP* (*pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

class CCmdTargetDispatch;

// Raised when a dispatch map entry declares parameter or return types that do not fit the C++
// handler (checked when the map is built, i.e. on first use).
class CDispatchMapError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

#define DECLARE_DISPATCH_MAP()                                                                               \
protected:                                                                                                   \
    static const AFX_DISPMAP* GetThisDispatchMap();                                                          \
    const AFX_DISPMAP* GetDispatchMap() const override;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                                              \
    const AFX_DISPMAP* theClass::GetDispatchMap() const {                                                    \
        return GetThisDispatchMap();                                                                         \
    }                                                                                                        \
    const AFX_DISPMAP* theClass::GetThisDispatchMap() {                                                      \
        typedef theClass ThisClass;                                                                          \
        typedef baseClass TheBaseClass;                                                                      \
        static const AFX_DISPMAP_ENTRY _dispatchEntries[] = {

#define END_DISPATCH_MAP()                                                                                   \
    AFX_DISPMAP_ENTRY {                                                                                      \
        nullptr, VT_EMPTY, std::string(), nullptr                                                            \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static_assert(sizeof(ThisClass) > 0);                                                                    \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &_dispatchEntries[0]};        \
    return &dispatchMap;                                                                                     \
    }

// DISP_FUNCTION(CMyDoc, "Save", Save, VT_EMPTY, VTS_NONE): the member is named without class.
#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)                              \
    afx_detail::DispFunction<theClass>(szExternalName, &theClass::pfnMember, vtRetVal, vtsParams),

// ---------------------------------------------------------------- class factories
struct CLSID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using REFCLSID = const CLSID&;

class COleObjectFactory : public CCmdTarget {
    DECLARE_DYNAMIC(COleObjectFactory)
public:
    COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance, LPCTSTR lpszProgID);
    ~COleObjectFactory() override;
    // Registers every factory of the process; TRUE when all registered (also when there are none).
    static BOOL RegisterAll();
    static void RevokeAll();
    BOOL IsRegistered() const { return m_bRegistered; }
    CRuntimeClass* GetRuntimeClassOfObjects() const { return m_pRuntimeClass; }
    const CString& GetProgID() const { return m_strProgID; }
    // Test hook: makes registration fail.
    static void SetRegistrationFails(BOOL bFail);

private:
    CRuntimeClass* m_pRuntimeClass;
    CString m_strProgID;
    BOOL m_bRegistered = FALSE;
};

#include "afx/afxdispimpl.h"
