// Implementation of DISP_FUNCTION: conversion of VARIANT arguments to the handler's C++ parameter
// types and of its result to the declared VARIANT type. Included by afxdisp.h.
#pragma once

#include <stdexcept>
#include <tuple>
#include <type_traits>

namespace afx_detail {

// In a VTS_ string a by-reference parameter has 0x40 added to its type code.
constexpr unsigned char kVtsByRef = 0x40;
inline bool IsVariantCode(unsigned char vt) {
    return vt == VT_VARIANT || vt == (VT_VARIANT | kVtsByRef);
}
inline VARIANT MissingVariant() {
    VARIANT v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}
HRESULT LoadString(const VARIANT* v, CString& out);
HRESULT LoadLong(const VARIANT* v, unsigned char vt, long& out);
HRESULT LoadDouble(const VARIANT* v, double& out);
HRESULT LoadDispatch(const VARIANT* v, IDispatch*& out);

template <class A> struct DispHolder {
    static_assert(sizeof(A) == 0, "this parameter type cannot be used in a dispatch map");
};

template <> struct DispHolder<const char*> {
    CString s;
    static bool accepts(unsigned char vt) { return vt == VT_BSTR; }
    HRESULT load(VARIANT* v, unsigned char) { return v ? LoadString(v, s) : DISP_E_PARAMNOTOPTIONAL; }
    const char* get() { return s.GetString(); }
};
template <> struct DispHolder<CString> {
    CString s;
    static bool accepts(unsigned char vt) { return vt == VT_BSTR; }
    HRESULT load(VARIANT* v, unsigned char) { return v ? LoadString(v, s) : DISP_E_PARAMNOTOPTIONAL; }
    CString& get() { return s; }
};
template <class I> struct DispIntHolder {
    long value = 0;
    static bool accepts(unsigned char vt) {
        return vt == VT_I4 || vt == VT_I2 || vt == VT_UI1 || (std::is_same_v<I, int> && vt == VT_BOOL);
    }
    HRESULT load(VARIANT* v, unsigned char vt) {
        return v ? LoadLong(v, vt, value) : DISP_E_PARAMNOTOPTIONAL;
    }
    I get() { return static_cast<I>(value); }
};
template <> struct DispHolder<int> : DispIntHolder<int> {};
template <> struct DispHolder<long> : DispIntHolder<long> {};
template <> struct DispHolder<short> : DispIntHolder<short> {};
template <> struct DispHolder<unsigned int> : DispIntHolder<unsigned int> {};
template <> struct DispHolder<unsigned long> : DispIntHolder<unsigned long> {};
template <> struct DispHolder<bool> {
    long value = 0;
    static bool accepts(unsigned char vt) { return vt == VT_BOOL; }
    HRESULT load(VARIANT* v, unsigned char vt) {
        return v ? LoadLong(v, vt, value) : DISP_E_PARAMNOTOPTIONAL;
    }
    bool get() { return value != 0; }
};
template <> struct DispHolder<double> {
    double value = 0;
    static bool accepts(unsigned char vt) { return vt == VT_R8; }
    HRESULT load(VARIANT* v, unsigned char) { return v ? LoadDouble(v, value) : DISP_E_PARAMNOTOPTIONAL; }
    double get() { return value; }
};
template <> struct DispHolder<IDispatch*> {
    IDispatch* value = nullptr;
    static bool accepts(unsigned char vt) { return vt == VT_DISPATCH; }
    HRESULT load(VARIANT* v, unsigned char) { return v ? LoadDispatch(v, value) : DISP_E_PARAMNOTOPTIONAL; }
    IDispatch* get() { return value; }
};
// VARIANT parameters, by value, const reference or pointer: the caller's variant itself (a
// by-reference variant is followed), VT_ERROR when omitted. Through a pointer the handler may
// write back to the caller's variant.
template <> struct DispHolder<VARIANT*> {
    VARIANT missing = MissingVariant();
    VARIANT* value = nullptr;
    static bool accepts(unsigned char vt) { return IsVariantCode(vt); }
    HRESULT load(VARIANT* v, unsigned char) {
        if (!v)
            value = &missing;
        else if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal)
            value = v->pvarVal;
        else
            value = v;
        return S_OK;
    }
    VARIANT* get() { return value; }
    DispHolder() = default;
    DispHolder(const DispHolder&) = delete;
    DispHolder& operator=(const DispHolder&) = delete;
    ~DispHolder() { VariantClear(&missing); } // what a handler wrote into an omitted argument
};
template <> struct DispHolder<const VARIANT*> : DispHolder<VARIANT*> {};
template <> struct DispHolder<VARIANT> : DispHolder<VARIANT*> {
    VARIANT& get() { return *value; }
};
template <> struct DispHolder<COleVariant> {
    COleVariant value;
    static bool accepts(unsigned char vt) { return IsVariantCode(vt); }
    HRESULT load(VARIANT* v, unsigned char) {
        if (!v)
            value = MissingVariant();
        else if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal)
            value = *v->pvarVal;
        else
            value = *v;
        return S_OK;
    }
    COleVariant& get() { return value; }
};
// By-reference strings and numbers: the caller's storage when it passed one, else a copy.
template <> struct DispHolder<BSTR*> {
    BSTR temp = nullptr;
    BSTR* value = nullptr;
    static bool accepts(unsigned char vt) { return vt == (VT_BSTR | kVtsByRef); }
    HRESULT load(VARIANT* v, unsigned char) {
        if (!v) return DISP_E_PARAMNOTOPTIONAL;
        if (v->vt == (VT_BSTR | VT_BYREF)) {
            value = v->pbstrVal;
            return S_OK;
        }
        CString s;
        HRESULT hr = LoadString(v, s);
        temp = SysAllocString(s);
        value = &temp;
        return hr;
    }
    BSTR* get() { return value; }
    ~DispHolder() { SysFreeString(temp); }
    DispHolder() = default;
    DispHolder(const DispHolder&) = delete;
    DispHolder& operator=(const DispHolder&) = delete;
};
template <> struct DispHolder<LONG*> {
    LONG temp = 0;
    LONG* value = nullptr;
    static bool accepts(unsigned char vt) { return vt == (VT_I4 | kVtsByRef); }
    HRESULT load(VARIANT* v, unsigned char vt) {
        if (!v) return DISP_E_PARAMNOTOPTIONAL;
        if (v->vt == (VT_I4 | VT_BYREF)) {
            value = v->plVal;
            return S_OK;
        }
        long l = 0;
        HRESULT hr = LoadLong(v, static_cast<unsigned char>(vt & ~kVtsByRef), l);
        temp = static_cast<LONG>(l);
        value = &temp;
        return hr;
    }
    LONG* get() { return value; }
};
template <> struct DispHolder<VARIANT_BOOL*> {
    VARIANT_BOOL temp = 0;
    VARIANT_BOOL* value = nullptr;
    static bool accepts(unsigned char vt) { return vt == (VT_BOOL | kVtsByRef); }
    HRESULT load(VARIANT* v, unsigned char) {
        if (!v) return DISP_E_PARAMNOTOPTIONAL;
        if (v->vt == (VT_BOOL | VT_BYREF)) {
            value = v->pboolVal;
            return S_OK;
        }
        long l = 0;
        HRESULT hr = LoadLong(v, VT_BOOL, l);
        temp = l ? VARIANT_TRUE : VARIANT_FALSE;
        value = &temp;
        return hr;
    }
    VARIANT_BOOL* get() { return value; }
};

template <class A> using HolderOf = DispHolder<std::remove_cvref_t<A>>;

template <class R> bool ReturnFits(VARTYPE vt) {
    if constexpr (std::is_void_v<R>)
        return vt == VT_EMPTY;
    else if constexpr (std::is_same_v<R, bool>)
        return vt == VT_BOOL;
    else if constexpr (std::is_integral_v<R>)
        return vt == VT_BOOL || vt == VT_I4 || vt == VT_I2;
    else if constexpr (std::is_floating_point_v<R>)
        return vt == VT_R8;
    else if constexpr (std::is_same_v<std::remove_cvref_t<R>, IDispatch*>)
        return vt == VT_DISPATCH;
    else if constexpr (std::is_same_v<std::remove_cvref_t<R>, CString> ||
                       std::is_same_v<std::remove_cvref_t<R>, BSTR>)
        return vt == VT_BSTR;
    else if constexpr (std::is_base_of_v<VARIANT, std::remove_cvref_t<R>>)
        return vt == VT_VARIANT;
    else
        return false;
}

// Stores a handler's result; with no result slot the value is released.
void StoreLong(VARIANT* res, VARTYPE vt, long value);
void StoreDouble(VARIANT* res, double value);
void StoreDispatch(VARIANT* res, IDispatch* value); // takes over the reference the handler added
void StoreString(VARIANT* res, const char* value);
void StoreOwnedBstr(VARIANT* res, BSTR value); // takes over the BSTR
void StoreVariant(VARIANT* res, const VARIANT& value);

template <class R> void StoreResult(VARIANT* res, VARTYPE vt, R&& r) {
    using D = std::remove_cvref_t<R>;
    if constexpr (std::is_integral_v<D>)
        StoreLong(res, vt, static_cast<long>(r));
    else if constexpr (std::is_floating_point_v<D>)
        StoreDouble(res, r);
    else if constexpr (std::is_same_v<D, IDispatch*>)
        StoreDispatch(res, r);
    else if constexpr (std::is_same_v<D, CString>)
        StoreString(res, r.GetString());
    else if constexpr (std::is_same_v<D, BSTR>)
        StoreOwnedBstr(res, r);
    else
        StoreVariant(res, r);
}

template <class T, class R, class... A>
AFX_DISPMAP_ENTRY DispFunction(const char* name, R (T::*fn)(A...), VARTYPE vtRet, const char* vts) {
    std::string types(vts ? vts : "");
    if (types.size() != sizeof...(A))
        throw CDispatchMapError(std::string("dispatch entry ") + name + ": parameter count does not match");
    {
        size_t i = 0;
        bool ok = true;
        ((ok = ok && HolderOf<A>::accepts(static_cast<unsigned char>(types[i++]))), ...);
        if (!ok)
            throw CDispatchMapError(std::string("dispatch entry ") + name + ": parameter types do not match");
    }
    if (!ReturnFits<R>(vtRet))
        throw CDispatchMapError(std::string("dispatch entry ") + name + ": return type does not match");
    auto invoke = [fn, types, vtRet](CCmdTarget* p, DispCall& c) -> HRESULT {
        constexpr UINT n = sizeof...(A);
        UINT cArgs = c.params ? c.params->cArgs : 0;
        if (cArgs > n) return DISP_E_BADPARAMCOUNT;
        std::tuple<HolderOf<A>...> holders;
        HRESULT hr = S_OK;
        UINT i = 0;
        std::apply(
            [&](auto&... h) {
                ((SUCCEEDED(hr) ? (void)(hr = h.load(i < cArgs ? &c.params->rgvarg[cArgs - 1 - i] : nullptr,
                                                     static_cast<unsigned char>(types[i])),
                                         FAILED(hr) && c.argErr ? (void)(*c.argErr = i) : (void)0, ++i)
                                : (void)0),
                 ...);
            },
            holders);
        if (FAILED(hr)) return hr;
        T* obj = static_cast<T*>(p);
        if (c.result) VariantInit(c.result);
        if constexpr (std::is_void_v<R>) {
            (void)vtRet; // only a returned value is stored by its type
            std::apply([&](auto&... h) { (obj->*fn)(h.get()...); }, holders);
        } else {
            StoreResult(c.result, vtRet,
                        std::apply([&](auto&... h) -> R { return (obj->*fn)(h.get()...); }, holders));
        }
        return S_OK;
    };
    return AFX_DISPMAP_ENTRY{name, vtRet, types, invoke};
}
} // namespace afx_detail
