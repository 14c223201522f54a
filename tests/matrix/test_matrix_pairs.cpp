// A pin typed into the matrix onto one leg of a differential pair net brings the
// other leg of its pair pin along when the project asks for it (and only then);
// the other leg's cells show it, and one undo takes both back.
#include "MatrixTestSupport.h"

#include "kxcommon/KXShareGlobalData.h"

namespace {

class MatrixPairs : public MatrixTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        MatrixTest::BuildDesign(b);
        b.symbol("lvds").port("P").port("N");
        b.schematic("board").instance("L1", "lvds", "L1").net("CLK_P").net("CLK_N");
        b.dpPin("L1", "CLK", "P", "N").dpNet("CLKNET", "CLK_P", "CLK_N");
    }
    void SetUp() override {
        MatrixTest::SetUp();
        m_saved = CKXShareGlobalData::m_pVpxProject;
        CKXShareGlobalData::m_pVpxProject = &m_project;
    }
    void TearDown() override {
        CKXShareGlobalData::m_pVpxProject = m_saved;
        MatrixTest::TearDown();
    }
    CKXVpxProject m_project;
    CKXVpxProject* m_saved = nullptr;
};

TEST_F(MatrixPairs, TheOtherLegFollowsInTheSameUndoStepWhenAsked) {
    m_project.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "on");
    ASSERT_TRUE(Open());
    ASSERT_NE(OpenView("pairs", {"@L1"}, {"@:CLK_P", "@:CLK_N"}), nullptr);
    const std::string before = Snapshot();
    EXPECT_TRUE(Type(Row("CLK_P"), PinCol(0), "P"));
    EXPECT_TRUE(Connected("L1 P CLK_P"));
    EXPECT_TRUE(Connected("L1 N CLK_N"));
    EXPECT_EQ(Pins("CLK_N", 0), std::vector<std::string>{"N"});
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(Pins("CLK_N", 0).empty());
}

TEST_F(MatrixPairs, WithoutTheDirectiveOnlyTheTypedLegIsConnected) {
    ASSERT_TRUE(Open());
    ASSERT_NE(OpenView("pairs", {"@L1"}, {"@:CLK_P", "@:CLK_N"}), nullptr);
    EXPECT_TRUE(Type(Row("CLK_P"), PinCol(0), "P"));
    EXPECT_TRUE(Connected("L1 P CLK_P"));
    EXPECT_FALSE(Connected("L1 N CLK_N"));
}

} // namespace
