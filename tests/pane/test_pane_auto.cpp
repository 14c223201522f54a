// The pane's automation methods: what a replayed journal line makes the pane do.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "afx/afxdisp.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"

namespace {

class PaneAuto : public KXShellFixture {
protected:
    HRESULT Call(const char* method, std::vector<COleVariant> args, VARIANT* result = nullptr) {
        return AfxInvokeByName(Ccp()->GetIDispatch(FALSE), method, std::move(args), result);
    }
};

TEST_F(PaneAuto, ScriptLinesKeepTheirTextsAsText) {
    ASSERT_TRUE(Open());
    Echoes();
    ASSERT_EQ(Call("InsertComment", {COleVariant("say \"hi\" [now] $x")}), S_OK);
    ASSERT_EQ(Call("Sort", {COleVariant("Pin Name")}), S_OK);
    ASSERT_EQ(Call("FilterRows", {COleVariant(""), COleVariant("A[0]*")}), S_OK);
    ASSERT_EQ(Call("FilterRows", {COleVariant("Signal"), COleVariant("CLK")}), S_OK);
    ASSERT_EQ(Call("SetViewOptions", {COleVariant("1"), COleVariant("0")}), S_OK);
    const auto echoes = Echoes();
    ASSERT_EQ(echoes.size(), 5u);
    EXPECT_NE(echoes[0].find(R"(addComment pin "say \"hi\" \[now\] \$x")"), std::string::npos) << echoes[0];
    EXPECT_NE(echoes[1].find(R"(sort pin "Pin Name")"), std::string::npos) << echoes[1];
    EXPECT_NE(echoes[2].find(R"(filterRows pin -filter "A\[0\]*")"), std::string::npos) << echoes[2];
    EXPECT_NE(echoes[3].find(R"(filterRows pin -col "Signal" -filter "CLK")"), std::string::npos)
        << echoes[3];
    EXPECT_NE(echoes[4].find("setViewOption pin bus_on dp_off"), std::string::npos) << echoes[4];
}

TEST_F(PaneAuto, GridMethodsNeedAnActivePinGrid) {
    ASSERT_TRUE(Open());
    COleVariant result;
    ASSERT_EQ(Call("SelectNextSignalCol", {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Call("CtrSelectPinNameCol", {COleVariant("OUT")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
    CKXInstanceContextArray arr;
    arr.Add(design.instance("U1"));
    Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    ASSERT_EQ(Call("CtrSelectPinNameCol", {COleVariant("OUT")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    // A pin the grid does not show selects nothing, and says so.
    ASSERT_EQ(Call("CtrSelectPinNameCol", {COleVariant("NO_SUCH_PIN")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
}

TEST_F(PaneAuto, DumpGoesThroughTheHostAndWritesTheGrid) {
    ASSERT_TRUE(Open());
    CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
    CKXInstanceContextArray arr;
    arr.Add(design.instance("U1"));
    Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    const std::string file = (m_dir / "dump.txt").string();
    COleVariant result;
    ASSERT_EQ(Call("Dump", {COleVariant(file.c_str())}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_TRUE(std::filesystem::exists(file));
}

} // namespace

namespace {

class PaneAutoSelect : public PaneAuto {
protected:
    void ShowU1() {
        CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        CKXInstanceContextArray arr;
        arr.Add(design.instance("U1"));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
    CKXInstanceDetailsGridWnd* Pin() { return dynamic_cast<CKXInstanceDetailsGridWnd*>(Ccp()->GetActiveGrid()); }
    CString CurrentCell(ROWCOL& col) {
        ROWCOL row = 0;
        col = 0;
        if (!Pin() || !Pin()->GetCurrentCell(row, col)) return CString();
        return Pin()->GetValueRowCol(row, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName));
    }
};

TEST_F(PaneAutoSelect, DispatchIdsFollowTheMethodOrder) {
    ASSERT_TRUE(Open());
    IDispatch* disp = Ccp()->GetIDispatch(FALSE);
    const std::pair<const char*, DISPID> ids[] = {{"Dump", 1},          {"Paste", 5},
                                                  {"SelectPinNameCol", 12}, {"AttachSignal", 18},
                                                  {"SelectSignalCol", 22},  {"ChangePropValue", 34},
                                                  {"CtrSelect", 35},        {"RemoveDiffPairPin", 37}};
    for (const auto& [name, id] : ids) {
        LPCOLESTR names[] = {name};
        DISPID got = 0;
        ASSERT_EQ(disp->GetIDsOfNames(names, 1, &got), S_OK) << name;
        EXPECT_EQ(got, id) << name;
    }
}

TEST_F(PaneAutoSelect, SelectColumnMethodsMakeThePinsCellCurrent) {
    ASSERT_TRUE(Open());
    ShowU1();
    ASSERT_NE(Pin(), nullptr);
    using G = CKXInstanceDetailsGridWnd;
    ROWCOL col = 0;
    // By name (the row left out), then by a bit's name inside a folded bus.
    ASSERT_EQ(Call("SelectSignalCol", {COleVariant("OUT")}), S_OK);
    EXPECT_EQ(std::string(CurrentCell(col)), "OUT");
    EXPECT_EQ(col, static_cast<ROWCOL>(G::m_nColSignal));
    ASSERT_EQ(Call("SelectPinNameCol", {COleVariant("D<2>"), COleVariant("-1")}), S_OK);
    EXPECT_EQ(std::string(CurrentCell(col)), "D<2>");
    EXPECT_EQ(col, static_cast<ROWCOL>(G::m_nColPinName));
    ASSERT_EQ(Call("SelectTerminationCol", {COleVariant("IN")}), S_OK);
    EXPECT_EQ(std::string(CurrentCell(col)), "IN");
    EXPECT_EQ(col, static_cast<ROWCOL>(G::m_nColTermination));
    // A pin that is not there leaves no current cell: the next call must not act on the pin before.
    ASSERT_EQ(Call("SelectPUPDCol", {COleVariant("NOSUCH")}), S_OK);
    EXPECT_EQ(std::string(CurrentCell(col)), "");
}

TEST_F(PaneAutoSelect, CtrSelectSendsTheKeysAsListsForTheEditingMethods) {
    ASSERT_TRUE(Open());
    ShowU1();
    Echoes();
    SAFEARRAY* keys = AfxSafeArrayFromStrings({"U1:OUT:", "U1:IN:"});
    VARIANT list;
    VariantInit(&list);
    list.vt = VT_ARRAY | VT_BSTR;
    list.parray = keys;
    ASSERT_EQ(Call("CtrSelect", {COleVariant(list), COleVariant("")}), S_OK);
    SafeArrayDestroy(keys);
    const auto echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes[0], "selectObject pin [list U1 OUT \"\"] [list U1 IN \"\"]");
    // The selection reached the pin grid: both rows are selected.
    CRowColArray rows;
    Pin()->GetSelectedRows(rows, FALSE, FALSE);
    EXPECT_EQ(rows.GetSize(), 2);
    Messages();
    COleVariant result;
    ASSERT_EQ(Call("AttachSignal", {COleVariant("autoname")}, &result), S_OK);
    EXPECT_NE(result.boolVal, VARIANT_FALSE); // both selected pins got a signal
    EXPECT_TRUE(Messages().empty());
}

} // namespace
