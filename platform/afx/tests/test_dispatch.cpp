#include "afx/afx.h"
#include "afx/afxdispguard.h"

#include <gtest/gtest.h>

namespace {
class CBaseAuto : public CCmdTarget {
public:
    CBaseAuto() { EnableAutomation(); }
    CString lastBase;

protected:
    void BaseMethod() { lastBase = "base"; }
    DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CBaseAuto, CCmdTarget)
DISP_FUNCTION(CBaseAuto, "BaseMethod", BaseMethod, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

class CDocAuto : public CBaseAuto {
public:
    CString log;
    CDocAuto* child = nullptr;

protected:
    BOOL AddSignal(LPCTSTR a, LPCTSTR b, LPCTSTR c, const VARIANT& d) {
        log.Format("%s|%s|%s|%s", a, b, c,
                   AfxIsVariantMissing(&d) ? "<missing>" : AfxVariantToString(&d).GetString());
        return CString(a) != "fail";
    }
    long Twice(long n) { return n * 2; }
    LPDISPATCH Child() { return child ? child->GetIDispatch(TRUE) : nullptr; }
    void SelectPin(LPCTSTR pin, VARIANT* row) {
        log.Format("%s@%s", pin, AfxIsVariantMissing(row) ? "-1" : AfxVariantToString(row).GetString());
        VariantClear(row);
        row->vt = VT_BSTR;
        row->bstrVal = SysAllocString("written");
    }
    void CtrSelect(VARIANT* list, LPCTSTR unused) {
        (void)unused;
        log.Empty();
        if (list->vt == (VT_ARRAY | VT_BSTR))
            for (const auto& s : AfxSafeArrayToStrings(list->parray))
                log += s + ";";
    }
    void SaveBlockAs(BSTR* lib, BSTR* block) {
        log.Format("%s/%s", *lib, *block);
        SysFreeString(*lib);
        *lib = SysAllocString("LIB2");
    }
    CString Name() { return "doc"; }
    DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CDocAuto, CBaseAuto)
DISP_FUNCTION(CDocAuto, "AddSignal", AddSignal, VT_BOOL, VTS_BSTR VTS_BSTR VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CDocAuto, "Twice", Twice, VT_I4, VTS_I4)
DISP_FUNCTION(CDocAuto, "Child", Child, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(CDocAuto, "SelectPin", SelectPin, VT_EMPTY, VTS_BSTR VTS_PVARIANT)
DISP_FUNCTION(CDocAuto, "CtrSelect", CtrSelect, VT_EMPTY, VTS_PVARIANT VTS_BSTR)
DISP_FUNCTION(CDocAuto, "SaveBlockAs", SaveBlockAs, VT_EMPTY, VTS_PBSTR VTS_PBSTR)
DISP_FUNCTION(CDocAuto, "Name", Name, VT_BSTR, VTS_NONE)
END_DISPATCH_MAP()

class CBadMap : public CCmdTarget {
public:
    CBadMap() { EnableAutomation(); }

protected:
    void Take(long) {}
    DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CBadMap, CCmdTarget)
DISP_FUNCTION(CBadMap, "Take", Take, VT_EMPTY, VTS_BSTR)
END_DISPATCH_MAP()
} // namespace

TEST(Dispatch, IdsFollowMapOrderAndChainToTheBase) {
    CDocAuto doc;
    EXPECT_EQ(doc.GetDispIdOfName("AddSignal"), 1);
    EXPECT_EQ(doc.GetDispIdOfName("name"), 7); // names ignore case
    EXPECT_EQ(doc.GetDispIdOfName("BaseMethod"), (1 << 16) | 1);
    EXPECT_EQ(doc.GetDispIdOfName("Nope"), DISPID_UNKNOWN);
    IDispatch* d = doc.GetIDispatch(FALSE);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(AfxInvokeByName(d, "BaseMethod", {}), S_OK);
    EXPECT_EQ(doc.lastBase, "base");
    EXPECT_EQ(AfxInvokeByName(d, "Nope", {}), DISP_E_UNKNOWNNAME);
    CCmdTarget plain;
    EXPECT_EQ(plain.GetIDispatch(TRUE), nullptr); // automation not enabled
}

TEST(Dispatch, OmittedTrailingVariantsArriveAsVtError) {
    CDocAuto doc;
    IDispatch* d = doc.GetIDispatch(FALSE);
    COleVariant r;
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"a", "b", "c"}, &r), S_OK);
    EXPECT_EQ(doc.log, "a|b|c|<missing>");
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"fail", "b", "c", COleVariant::Missing()}, &r), S_OK);
    EXPECT_EQ(doc.log, "fail|b|c|<missing>");
    EXPECT_EQ(r.boolVal, VARIANT_FALSE);
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"a", "b", "c", 7}, &r), S_OK);
    EXPECT_EQ(doc.log, "a|b|c|7");
    // A missing non-variant argument, too many arguments, or a wrong type fail the call.
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"a", "b"}, &r), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(AfxInvokeByName(d, "Twice", {1, 2}, &r), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(AfxInvokeByName(d, "Twice", {"x"}, &r), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(AfxInvokeByName(d, "Twice", {"21"}, &r), S_OK); // text that is a number converts
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 42);
    EXPECT_EQ(AfxInvokeByName(d, "Name", {}, &r), S_OK);
    EXPECT_STREQ(r.bstrVal, "doc");
}

TEST(Dispatch, AGuardRefusesAMethodBeforeItRuns) {
    CDocAuto doc;
    IDispatch* d = doc.GetIDispatch(FALSE);
    static CCmdTarget* refusedFor = nullptr;
    AfxSetDispatchGuard([](CCmdTarget* target, LPCSTR method) -> BOOL {
        if (CString(method) != "AddSignal" && CString(method) != "Twice" && CString(method) != "Name") return TRUE;
        refusedFor = target;
        return FALSE;
    });
    COleVariant r;
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"a", "b", "c"}, &r), S_OK);
    EXPECT_EQ(doc.log, ""); // it did not run
    EXPECT_EQ(refusedFor, &doc);
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_FALSE);
    EXPECT_EQ(AfxInvokeByName(d, "Twice", {21}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 0);
    COleVariant name;
    EXPECT_EQ(AfxInvokeByName(d, "Name", {}, &name), S_OK);
    EXPECT_EQ(name.vt, VT_BSTR);
    EXPECT_STREQ(name.bstrVal, "");
    // The others run.
    EXPECT_EQ(AfxInvokeByName(d, "BaseMethod", {}), S_OK);
    EXPECT_EQ(doc.lastBase, "base");
    AfxSetDispatchGuard(nullptr);
    EXPECT_EQ(AfxInvokeByName(d, "AddSignal", {"a", "b", "c"}, &r), S_OK);
    EXPECT_EQ(doc.log, "a|b|c|<missing>");
}

TEST(Dispatch, ByReferenceArgumentsAndArraysOfStrings) {
    CDocAuto doc;
    IDispatch* d = doc.GetIDispatch(FALSE);
    COleVariant row("3");
    VARIANT ref;
    ref.vt = VT_VARIANT | VT_BYREF;
    ref.pvarVal = &row;
    EXPECT_EQ(AfxInvokeByName(d, "SelectPin", {"A1", COleVariant(ref)}), S_OK);
    EXPECT_EQ(doc.log, "A1@3");
    EXPECT_STREQ(row.bstrVal, "written");
    EXPECT_EQ(AfxInvokeByName(d, "SelectPin", {"A1"}), S_OK);
    EXPECT_EQ(doc.log, "A1@-1");

    COleVariant list;
    list.vt = VT_ARRAY | VT_BSTR;
    list.parray = AfxSafeArrayFromStrings({"U1", "U2"});
    EXPECT_EQ(AfxInvokeByName(d, "CtrSelect", {list, "x"}), S_OK);
    EXPECT_EQ(doc.log, "U1;U2;");
    LONG idx = 1;
    BSTR got = nullptr;
    EXPECT_EQ(SafeArrayGetElement(list.parray, &idx, &got), S_OK);
    EXPECT_STREQ(got, "U2");
    SysFreeString(got);
    idx = 2;
    EXPECT_EQ(SafeArrayGetElement(list.parray, &idx, &got), E_INVALIDARG);

    BSTR lib = SysAllocString("LIB"), block = SysAllocString("BLK");
    VARIANT a, b;
    a.vt = b.vt = VT_BSTR | VT_BYREF;
    a.pbstrVal = &lib;
    b.pbstrVal = &block;
    EXPECT_EQ(AfxInvokeByName(d, "SaveBlockAs", {COleVariant(a), COleVariant(b)}), S_OK);
    EXPECT_EQ(doc.log, "LIB/BLK");
    EXPECT_STREQ(lib, "LIB2");
    SysFreeString(lib);
    SysFreeString(block);
}

TEST(Dispatch, DispatchResultsCarryAReference) {
    CDocAuto doc, child;
    doc.child = &child;
    COleVariant r;
    EXPECT_EQ(AfxInvokeByName(doc.GetIDispatch(FALSE), "Child", {}, &r), S_OK);
    ASSERT_EQ(r.vt, VT_DISPATCH);
    EXPECT_EQ(CCmdTarget::FromIDispatch(r.pdispVal), &child);
    EXPECT_EQ(child.m_dwRef, 2u);
    r.Clear();
    EXPECT_EQ(child.m_dwRef, 1u);
}

TEST(Dispatch, MismatchedMapEntryIsReported) {
    CBadMap bad;
    EXPECT_THROW(bad.GetDispIdOfName("Take"), CDispatchMapError);
}

TEST(Dispatch, FactoriesRegister) {
    static const CLSID clsid{};
    COleObjectFactory f(clsid, RUNTIME_CLASS(CCmdTarget), FALSE, "KX.Test");
    EXPECT_TRUE(COleObjectFactory::RegisterAll());
    EXPECT_TRUE(f.IsRegistered());
    COleObjectFactory::SetRegistrationFails(TRUE);
    EXPECT_FALSE(COleObjectFactory::RegisterAll());
    COleObjectFactory::SetRegistrationFails(FALSE);
}
