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
