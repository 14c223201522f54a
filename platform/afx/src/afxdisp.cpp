#include "afx/afxdisp.h"
#include "afx/afxdispguard.h"

#include "afx/afxcall.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// ---------------------------------------------------------------- BSTR
BSTR SysAllocStringLen(const char* pch, UINT cch) {
    auto* p = static_cast<char*>(std::malloc(static_cast<size_t>(cch) + 1));
    if (!p) return nullptr;
    if (pch)
        std::memcpy(p, pch, cch);
    else
        std::memset(p, 0, cch);
    p[cch] = '\0';
    return p;
}

BSTR SysAllocString(const char* psz) {
    if (!psz) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::strlen(psz)));
}

void SysFreeString(BSTR bstr) {
    std::free(bstr);
}
UINT SysStringLen(BSTR bstr) {
    return bstr ? static_cast<UINT>(std::strlen(bstr)) : 0;
}

// ---------------------------------------------------------------- VARIANT
void VariantInit(VARIANT* pvarg) {
    if (!pvarg) return;
    std::memset(static_cast<void*>(pvarg), 0, sizeof(VARIANT));
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* pvarg) {
    if (!pvarg) return E_INVALIDARG;
    switch (pvarg->vt) {
    case VT_BSTR:
        SysFreeString(pvarg->bstrVal);
        break;
    case VT_DISPATCH:
        if (pvarg->pdispVal) pvarg->pdispVal->Release();
        break;
    default:
        if ((pvarg->vt & VT_ARRAY) && !(pvarg->vt & VT_BYREF)) SafeArrayDestroy(pvarg->parray);
        break;
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
    if (!pvargDest || !pvargSrc) return E_INVALIDARG;
    if (pvargDest == pvargSrc) return S_OK;
    VARIANT copy = *pvargSrc;
    if (pvargSrc->vt == VT_BSTR) {
        copy.bstrVal = SysAllocString(pvargSrc->bstrVal);
    } else if (pvargSrc->vt == VT_DISPATCH) {
        if (copy.pdispVal) copy.pdispVal->AddRef();
    } else if ((pvargSrc->vt & VT_ARRAY) && !(pvargSrc->vt & VT_BYREF) && pvargSrc->parray) {
        SAFEARRAY* src = pvargSrc->parray;
        SAFEARRAY* dst = SafeArrayCreateVector(src->vt, src->lLbound, 0);
        for (const auto& item : src->items) {
            VARIANT v;
            VariantInit(&v);
            VariantCopy(&v, &item);
            dst->items.push_back(v);
        }
        copy.parray = dst;
    }
    VariantClear(pvargDest);
    *pvargDest = copy;
    return S_OK;
}

BOOL AfxIsVariantMissing(const VARIANT* pv) {
    if (!pv) return TRUE;
    if (pv->vt == (VT_VARIANT | VT_BYREF)) return AfxIsVariantMissing(pv->pvarVal);
    return pv->vt == VT_ERROR || pv->vt == VT_EMPTY;
}

namespace {
// The value a variant refers to (following VT_BYREF), as a plain variant that borrows its data.
VARIANT deref(const VARIANT* v) {
    VARIANT out;
    VariantInit(&out);
    if (!v) return out;
    if (!(v->vt & VT_BYREF)) return *v;
    VARTYPE base = static_cast<VARTYPE>(v->vt & ~VT_BYREF);
    switch (base) {
    case VT_VARIANT:
        return v->pvarVal ? deref(v->pvarVal) : out;
    case VT_I4:
        out.vt = VT_I4;
        out.lVal = v->plVal ? *v->plVal : 0;
        break;
    case VT_BOOL:
        out.vt = VT_BOOL;
        out.boolVal = v->pboolVal ? *v->pboolVal : VARIANT_FALSE;
        break;
    case VT_BSTR:
        out.vt = VT_BSTR;
        out.bstrVal = v->pbstrVal ? *v->pbstrVal : nullptr;
        break;
    case VT_DISPATCH:
        out.vt = VT_DISPATCH;
        out.pdispVal = v->ppdispVal ? *v->ppdispVal : nullptr;
        break;
    default:
        break;
    }
    return out;
}
} // namespace

CString AfxVariantToString(const VARIANT* pv) {
    VARIANT v = deref(pv);
    CString s;
    switch (v.vt) {
    case VT_BSTR:
        s = v.bstrVal;
        break;
    case VT_I4:
        s.Format("%d", v.lVal);
        break;
    case VT_I2:
        s.Format("%d", v.iVal);
        break;
    case VT_UI1:
        s.Format("%u", v.bVal);
        break;
    case VT_R8:
        s.Format("%.15g", v.dblVal);
        break;
    case VT_BOOL:
        s = v.boolVal ? "1" : "0";
        break;
    default:
        break;
    }
    return s;
}

HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, unsigned short wFlags, VARTYPE vt) {
    (void)wFlags;
    if (!pvargDest || !pvarSrc) return E_INVALIDARG;
    VARIANT v = deref(pvarSrc);
    VARIANT out;
    VariantInit(&out);
    switch (vt) {
    case VT_BSTR:
        if (v.vt != VT_BSTR && v.vt != VT_I4 && v.vt != VT_I2 && v.vt != VT_UI1 && v.vt != VT_R8 &&
            v.vt != VT_BOOL)
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_BSTR;
        out.bstrVal = SysAllocString(AfxVariantToString(&v));
        break;
    case VT_I4:
    case VT_BOOL: {
        long l = 0;
        if (v.vt == VT_I4)
            l = v.lVal;
        else if (v.vt == VT_I2)
            l = v.iVal;
        else if (v.vt == VT_UI1)
            l = v.bVal;
        else if (v.vt == VT_BOOL)
            l = v.boolVal ? 1 : 0;
        else if (v.vt == VT_R8) {
            // Checked before the cast: a double outside the long range (or NaN) has no conversion.
            if (vt == VT_BOOL)
                l = v.dblVal != 0.0;
            else if (v.dblVal >= INT32_MIN && v.dblVal <= INT32_MAX)
                l = static_cast<long>(v.dblVal);
            else
                return DISP_E_OVERFLOW;
        } else if (v.vt == VT_BSTR) {
            CString s(v.bstrVal);
            s.Trim();
            if (vt == VT_BOOL && (s.CompareNoCase("true") == 0 || s.CompareNoCase("false") == 0)) {
                l = s.CompareNoCase("true") == 0;
            } else {
                char* end = nullptr;
                errno = 0;
                l = std::strtol(s, &end, 10);
                if (s.IsEmpty() || *end != '\0' || errno == ERANGE) return DISP_E_TYPEMISMATCH;
            }
        } else {
            return DISP_E_TYPEMISMATCH;
        }
        if (vt == VT_I4) {
            if (l < INT32_MIN || l > INT32_MAX) return DISP_E_OVERFLOW;
            out.vt = VT_I4;
            out.lVal = static_cast<LONG>(l);
        } else {
            out.vt = VT_BOOL;
            out.boolVal = l ? VARIANT_TRUE : VARIANT_FALSE;
        }
        break;
    }
    case VT_R8:
        if (v.vt == VT_R8)
            out.dblVal = v.dblVal;
        else if (v.vt == VT_I4)
            out.dblVal = v.lVal;
        else if (v.vt == VT_I2)
            out.dblVal = v.iVal;
        else if (v.vt == VT_BSTR) {
            char* end = nullptr;
            CString s(v.bstrVal);
            s.Trim();
            out.dblVal = std::strtod(s, &end);
            if (s.IsEmpty() || *end != '\0') return DISP_E_TYPEMISMATCH;
        } else
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_R8;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    VariantClear(pvargDest);
    *pvargDest = out;
    return S_OK;
}

// ---------------------------------------------------------------- SAFEARRAY
SAFEARRAY::~SAFEARRAY() {
    for (auto& v : items)
        VariantClear(&v);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    if (vt != VT_BSTR && vt != VT_VARIANT && vt != VT_I4) return nullptr;
    auto* psa = new SAFEARRAY{vt, lLbound, {}};
    psa->items.resize(cElements);
    for (auto& v : psa->items) {
        VariantInit(&v);
        if (vt == VT_BSTR) {
            v.vt = VT_BSTR;
            v.bstrVal = nullptr;
        } else if (vt == VT_I4) {
            v.vt = VT_I4;
        }
    }
    return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    delete psa;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (!psa || nDim != 1 || !plLbound) return E_INVALIDARG;
    *plLbound = psa->lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (!psa || nDim != 1 || !plUbound) return E_INVALIDARG;
    *plUbound = psa->lLbound + static_cast<LONG>(psa->items.size()) - 1;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) {
    return psa ? 1 : 0;
}

namespace {
VARIANT* element(SAFEARRAY* psa, LONG* rgIndices) {
    if (!psa || !rgIndices) return nullptr;
    long long i = static_cast<long long>(*rgIndices) - psa->lLbound;
    if (i < 0 || i >= static_cast<long long>(psa->items.size())) return nullptr;
    return &psa->items[static_cast<size_t>(i)];
}
} // namespace

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    VARIANT* e = element(psa, rgIndices);
    if (!e) return E_INVALIDARG;
    switch (psa->vt) {
    case VT_BSTR:
        SysFreeString(e->bstrVal);
        e->bstrVal = SysAllocString(static_cast<const char*>(pv));
        return S_OK;
    case VT_I4:
        e->lVal = *static_cast<LONG*>(pv);
        return S_OK;
    case VT_VARIANT:
        return VariantCopy(e, static_cast<VARIANT*>(pv));
    default:
        return E_INVALIDARG;
    }
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    VARIANT* e = element(psa, rgIndices);
    if (!e || !pv) return E_INVALIDARG;
    switch (psa->vt) {
    case VT_BSTR:
        *static_cast<BSTR*>(pv) = SysAllocString(e->bstrVal ? e->bstrVal : "");
        return S_OK;
    case VT_I4:
        *static_cast<LONG*>(pv) = e->lVal;
        return S_OK;
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(pv));
        return VariantCopy(static_cast<VARIANT*>(pv), e);
    default:
        return E_INVALIDARG;
    }
}

SAFEARRAY* AfxSafeArrayFromStrings(const std::vector<CString>& strings) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(strings.size()));
    for (size_t i = 0; i < strings.size(); ++i)
        psa->items[i].bstrVal = SysAllocString(strings[i]);
    return psa;
}

std::vector<CString> AfxSafeArrayToStrings(SAFEARRAY* psa) {
    std::vector<CString> out;
    if (!psa) return out;
    for (auto& v : psa->items)
        out.push_back(AfxVariantToString(&v));
    return out;
}

// ---------------------------------------------------------------- COleVariant
COleVariant::COleVariant(LPCTSTR lpszSrc) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(lpszSrc ? lpszSrc : "");
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
    VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_ERROR) {
        vt = VT_ERROR;
        scode = static_cast<SCODE>(lSrc);
    } else if (vtSrc == VT_I2) {
        vt = VT_I2;
        iVal = static_cast<short>(lSrc);
    } else {
        vt = VT_I4;
        lVal = static_cast<LONG>(lSrc);
    }
}

COleVariant::COleVariant(double dblSrc) {
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(IDispatch* pDisp, BOOL bAddRef) {
    VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = pDisp;
    if (pDisp && bAddRef) pDisp->AddRef();
}

COleVariant& COleVariant::operator=(const COleVariant& src) {
    VariantCopy(this, &src);
    return *this;
}

COleVariant& COleVariant::operator=(const VARIANT& src) {
    VariantCopy(this, &src);
    return *this;
}

VARIANT COleVariant::Detach() {
    VARIANT v = *this;
    VariantInit(this);
    return v;
}

COleVariant COleVariant::Missing() {
    return COleVariant(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
}
COleVariant COleVariant::Bool(BOOL b) {
    return COleVariant(static_cast<long>(b ? 1 : 0), VT_BOOL);
}

// ---------------------------------------------------------------- conversions for dispatch maps
namespace afx_detail {
HRESULT LoadString(const VARIANT* v, CString& out) {
    VARIANT d = deref(v);
    if (d.vt == VT_BSTR) {
        out = d.bstrVal;
        return S_OK;
    }
    VARIANT conv;
    VariantInit(&conv);
    HRESULT hr = VariantChangeType(&conv, &d, 0, VT_BSTR);
    if (SUCCEEDED(hr)) out = conv.bstrVal;
    VariantClear(&conv);
    return hr;
}

HRESULT LoadLong(const VARIANT* v, unsigned char vt, long& out) {
    VARIANT conv;
    VariantInit(&conv);
    HRESULT hr = VariantChangeType(&conv, v, 0, vt == VT_BOOL ? VT_BOOL : VT_I4);
    if (SUCCEEDED(hr)) out = conv.vt == VT_BOOL ? (conv.boolVal ? 1 : 0) : conv.lVal;
    return hr;
}

HRESULT LoadDouble(const VARIANT* v, double& out) {
    VARIANT conv;
    VariantInit(&conv);
    HRESULT hr = VariantChangeType(&conv, v, 0, VT_R8);
    if (SUCCEEDED(hr)) out = conv.dblVal;
    return hr;
}

HRESULT LoadDispatch(const VARIANT* v, IDispatch*& out) {
    VARIANT d = deref(v);
    if (d.vt == VT_DISPATCH) {
        out = d.pdispVal;
        return S_OK;
    }
    if (d.vt == VT_EMPTY || d.vt == VT_NULL) {
        out = nullptr;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

void StoreLong(VARIANT* res, VARTYPE vt, long value) {
    if (!res) return;
    if (vt == VT_BOOL) {
        res->vt = VT_BOOL;
        res->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        res->vt = VT_I4;
        res->lVal = static_cast<LONG>(value);
    }
}

void StoreDouble(VARIANT* res, double value) {
    if (!res) return;
    res->vt = VT_R8;
    res->dblVal = value;
}

void StoreDispatch(VARIANT* res, IDispatch* value) {
    if (!res) {
        if (value) value->Release();
        return;
    }
    res->vt = VT_DISPATCH;
    res->pdispVal = value;
}

void StoreString(VARIANT* res, const char* value) {
    if (!res) return;
    res->vt = VT_BSTR;
    res->bstrVal = SysAllocString(value ? value : "");
}

void StoreOwnedBstr(VARIANT* res, BSTR value) {
    if (!res) {
        SysFreeString(value);
        return;
    }
    res->vt = VT_BSTR;
    res->bstrVal = value;
}

void StoreVariant(VARIANT* res, const VARIANT& value) {
    if (res) VariantCopy(res, &value);
}
} // namespace afx_detail

// ---------------------------------------------------------------- the dispatch object of a CCmdTarget
namespace {

AfxDispatchGuard g_dispatchGuard = nullptr;

// The answer of a method its guard refused.
void StoreRefusal(VARTYPE vtReturn, VARIANT* result) {
    if (result) VariantInit(result);
    switch (vtReturn) {
    case VT_BOOL:
    case VT_I2:
    case VT_I4:
        afx_detail::StoreLong(result, vtReturn, 0);
        break;
    case VT_BSTR:
        afx_detail::StoreString(result, "");
        break;
    case VT_DISPATCH:
        afx_detail::StoreDispatch(result, nullptr);
        break;
    default:
        break;
    }
}

} // namespace

void AfxSetDispatchGuard(AfxDispatchGuard guard) {
    g_dispatchGuard = guard;
}

class CCmdTargetDispatch : public IDispatch {
public:
    explicit CCmdTargetDispatch(CCmdTarget* owner) : m_pOwner(owner) {}
    ULONG AddRef() override { return m_pOwner->ExternalAddRef(); }
    ULONG Release() override { return m_pOwner->ExternalRelease(); }
    HRESULT GetIDsOfNames(LPCOLESTR* rgszNames, UINT cNames, DISPID* rgDispId) override {
        if (!rgszNames || !rgDispId) return E_INVALIDARG;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < cNames; ++i) {
            rgDispId[i] = m_pOwner->GetDispIdOfName(rgszNames[i]);
            if (rgDispId[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT Invoke(DISPID dispIdMember, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
        (void)wFlags, (void)pExcepInfo;
        const AFX_DISPMAP_ENTRY* e = find(dispIdMember);
        if (!e) return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        afx_detail::DispCall call{pDispParams ? pDispParams : &none, pVarResult, puArgErr};
        const AfxCallScope scope;
        if (g_dispatchGuard && !g_dispatchGuard(m_pOwner, e->lpszName)) {
            StoreRefusal(e->vtReturn, pVarResult);
            return S_OK;
        }
        return e->invoke(m_pOwner, call);
    }
    // The entry of a method named without regard to case; nullptr when the object has none.
    const AFX_DISPMAP_ENTRY* Entry(LPCSTR lpszName) const {
        return find(m_pOwner->GetDispIdOfName(lpszName));
    }
    CCmdTarget* m_pOwner;

private:
    const AFX_DISPMAP_ENTRY* find(DISPID id) const {
        long depth = (id >> 16) & 0xFFFF;
        long index = (id & 0xFFFF) - 1;
        if (index < 0) return nullptr;
        const AFX_DISPMAP* map = m_pOwner->GetDispatchMap();
        for (long d = 0; map && d < depth; ++d)
            map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
        if (!map) return nullptr;
        for (long i = 0; map->lpEntries[i].lpszName; ++i)
            if (i == index) return &map->lpEntries[i];
        return nullptr;
    }
};

CCmdTarget::~CCmdTarget() {
    delete m_pDispatch;
}

void CCmdTarget::EnableAutomation() {
    m_bAutomation = TRUE;
    if (!m_pDispatch) m_pDispatch = new CCmdTargetDispatch(this);
}

IDispatch* CCmdTarget::GetIDispatch(BOOL bAddRef) {
    if (!m_pDispatch) return nullptr;
    if (bAddRef) ExternalAddRef();
    return m_pDispatch;
}

CCmdTarget* CCmdTarget::FromIDispatch(IDispatch* pDispatch) {
    auto* d = dynamic_cast<CCmdTargetDispatch*>(pDispatch);
    return d ? d->m_pOwner : nullptr;
}

ULONG CCmdTarget::ExternalRelease() {
    if (m_dwRef == 0) return 0; // an unbalanced release changes nothing
    if (--m_dwRef == 0) {
        OnFinalRelease();
        return 0;
    }
    return m_dwRef;
}

const AFX_DISPMAP* CCmdTarget::GetThisDispatchMap() {
    static const AFX_DISPMAP_ENTRY entries[] = {AFX_DISPMAP_ENTRY{nullptr, VT_EMPTY, std::string(), nullptr}};
    static const AFX_DISPMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const {
    return GetThisDispatchMap();
}

long CCmdTarget::GetDispIdOfName(LPCSTR lpszName) const {
    if (!lpszName) return DISPID_UNKNOWN;
    long depth = 0;
    for (const AFX_DISPMAP* map = GetDispatchMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr, ++depth)
        for (long i = 0; map->lpEntries[i].lpszName; ++i)
            if (CString(map->lpEntries[i].lpszName).CompareNoCase(lpszName) == 0)
                return (depth << 16) | (i + 1);
    return DISPID_UNKNOWN;
}

BOOL AfxGetMethodParamTypes(IDispatch* pDisp, LPCSTR lpszName, std::string& types) {
    const auto* d = dynamic_cast<const CCmdTargetDispatch*>(pDisp);
    const AFX_DISPMAP_ENTRY* e = d && lpszName ? d->Entry(lpszName) : nullptr;
    if (!e) return FALSE;
    types = e->paramTypes;
    return TRUE;
}

HRESULT AfxInvokeByName(IDispatch* pDisp, LPCSTR lpszName, std::vector<COleVariant> args, VARIANT* pResult) {
    if (!pDisp || !lpszName) return E_INVALIDARG;
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = pDisp->GetIDsOfNames(&lpszName, 1, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(*it); // borrowed, not copied
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    UINT argErr = 0;
    hr = pDisp->Invoke(id, DISPATCH_METHOD, &params, pResult, nullptr, &argErr);
    // By-value arguments may have been changed through VARIANT* parameters: keep what the
    // callee left there (and let args free it).
    for (size_t i = 0; i < reversed.size(); ++i)
        static_cast<VARIANT&>(args[args.size() - 1 - i]) = reversed[i];
    return hr;
}

// ---------------------------------------------------------------- class factories
IMPLEMENT_DYNAMIC(COleObjectFactory, CCmdTarget)

namespace {
std::vector<COleObjectFactory*>& factories() {
    static std::vector<COleObjectFactory*> f;
    return f;
}
BOOL g_registrationFails = FALSE;
} // namespace

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance,
                                     LPCTSTR lpszProgID)
    : m_pRuntimeClass(pRuntimeClass), m_strProgID(lpszProgID) {
    (void)clsid, (void)bMultiInstance;
    factories().push_back(this);
}

COleObjectFactory::~COleObjectFactory() {
    auto& f = factories();
    f.erase(std::remove(f.begin(), f.end(), this), f.end());
}

BOOL COleObjectFactory::RegisterAll() {
    if (g_registrationFails) return FALSE;
    for (auto* f : factories())
        f->m_bRegistered = TRUE;
    return TRUE;
}

void COleObjectFactory::RevokeAll() {
    for (auto* f : factories())
        f->m_bRegistered = FALSE;
}

void COleObjectFactory::SetRegistrationFails(BOOL bFail) {
    g_registrationFails = bFail;
}
