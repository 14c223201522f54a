// A pin typed onto one leg of a differential pair net brings the other leg of its
// pair pin along when the project asks for it; one undo takes both back.
#include "SignalGridTestSupport.h"

#include "kxcommon/KXShareGlobalData.h"

namespace {

class SignalPairs : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.symbol("lvds").port("P").port("N").port("Q");
        b.schematic("board").instance("L1", "lvds", "L1").net("CLK_P").net("CLK_N").net("OTHER");
        b.dpPin("L1", "CLK", "P", "N").dpNet("CLKNET", "CLK_P", "CLK_N");
        b.pinNumber("L1", "P", "1").pinNumber("L1", "N", "2").pinNumber("L1", "Q", "3");
    }
    void SetUp() override {
        SignalGridTest::SetUp();
        m_saved = CKXShareGlobalData::m_pVpxProject;
        CKXShareGlobalData::m_pVpxProject = &m_project;
    }
    void TearDown() override {
        CKXShareGlobalData::m_pVpxProject = m_saved;
        SignalGridTest::TearDown();
    }
    // Types the pin number into a blank row of the shown net, as the user does.
    std::string Connect(const char* instance, const char* number) {
        const ROWCOL row = Grid()->FindFirstEmptyRow();
        const std::string at = std::to_string(row) + " ";
        Run("kx::edit ccp " + at + std::to_string(G::m_nColInstance) + " " + instance);
        return Run("kx::edit ccp " + at + std::to_string(G::m_nColPinNumber) + " " + number);
    }
    CKXVpxProject m_project;
    CKXVpxProject* m_saved = nullptr;
};

TEST_F(SignalPairs, TheOtherLegFollowsInTheSameUndoStep) {
    m_project.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "on");
    ASSERT_TRUE(Open());
    Run("kx::show slp CLK_P");
    const std::string before = Netlist();
    EXPECT_EQ(Connect("L1", "1"), "1");
    const std::string after = Netlist();
    EXPECT_NE(after.find("L1 P CLK_P"), std::string::npos) << after;
    EXPECT_NE(after.find("L1 N CLK_N"), std::string::npos) << after;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Netlist(), after);
}

TEST_F(SignalPairs, OnlyWhenAskedAndOnlyAnOpenLeg) {
    ASSERT_TRUE(Open());
    Run("kx::show slp CLK_P");
    EXPECT_EQ(Connect("L1", "1"), "1");
    EXPECT_EQ(Netlist().find("L1 N "), std::string::npos); // the project does not ask
    Run("undo");
    // A leg that is connected elsewhere stays there; a pin in no pair brings nothing along.
    m_project.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "on");
    Run("kx::show slp OTHER");
    EXPECT_EQ(Connect("L1", "2"), "1");
    Run("kx::show slp CLK_P");
    EXPECT_EQ(Connect("L1", "1"), "1");
    EXPECT_NE(Netlist().find("L1 N OTHER"), std::string::npos) << Netlist();
    EXPECT_EQ(Netlist().find("L1 N CLK_N"), std::string::npos);
    EXPECT_EQ(Connect("L1", "3"), "1");
    EXPECT_EQ(Netlist().find("L1 Q OTHER"), std::string::npos);
}

// With both nets of the pair shown, the leg brought along gets its row at once.
TEST_F(SignalPairs, TheOtherLegsRowAppearsWhenItsNetIsShown) {
    m_project.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "ON");
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp CLK_P CLK_N"), "1");
    EXPECT_EQ(Run("addConnection pin L1:1:-1:-1:CLK_P"), "1");
    EXPECT_NE(Netlist().find("L1 N CLK_N"), std::string::npos) << Netlist();
    EXPECT_NE(Row("L1", "P"), 0u);
    EXPECT_NE(Row("L1", "N"), 0u);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist().find("L1 "), std::string::npos);
}

} // namespace
