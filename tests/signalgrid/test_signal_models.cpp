// Signal models on the pins of the signal grid's rows: the assignModel and
// removeModel words, the Assign Model command with its dialog, the refusals.
#include "SignalGridTestSupport.h"

#include <filesystem>
#include <fstream>

namespace {

class SignalModels : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.symbol("drv").port("I", ITerm::eDirInput).port("O", ITerm::eDirOutput);
        b.schematic("board").instance("U9", "drv", "U9").connect("U9", "I", "MIX").connect("U9", "O", "MIX");
    }
    std::string Model(const std::string& pinPath) { return Run("kx::prop work.board:sch@" + pinPath + " PIN_SIGNAL_MODEL"); }
    std::string Num(long n) { return std::to_string(n); }
    bool HasModel(const std::string& pinPath) { return Model(pinPath).rfind("error", 0) != 0; }
};

TEST_F(SignalModels, AssignAndRemoveByWordEachOneUndoableStep) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    EXPECT_EQ(Run("assignModel pin M1 [list 25 J2 -1 -1]"), "1");
    EXPECT_EQ(Model("J2.S"), "M1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(HasModel("J2.S"));
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Model("J2.S"), "M1");
    EXPECT_EQ(Run("removeModel pin [list 25 J2 -1 -1]"), "1");
    EXPECT_FALSE(HasModel("J2.S"));
    // Nothing left to remove: refused, and no empty step is left behind.
    EXPECT_EQ(Run("removeModel pin [list 25 J2 -1 -1]"), "0");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Model("J2.S"), "M1");
}

TEST_F(SignalModels, AModelGoesOnTheBitOfAOneBitRowAndOnThePinOfARangeRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const ROWCOL range = Row("J1", "P<2..1>");
    ASSERT_NE(range, 0u);
    Run("kx::select ccp " + Num(range) + " " + Num(G::m_nColPinName));
    EXPECT_FALSE(Grid()->CanAssignModel());
    EXPECT_TRUE(Grid()->AssignModelByName("M2"));
    EXPECT_EQ(Model("J1.P"), "M2");
    ASSERT_EQ(Run("addConnection pin J2:24:1:1:DATA"), "1");
    const ROWCOL bit = Row("J2", "P<4>");
    ASSERT_NE(bit, 0u);
    Run("kx::select ccp " + Num(bit) + " " + Num(G::m_nColPinName));
    EXPECT_TRUE(Grid()->CanAssignModel());
    EXPECT_FALSE(Grid()->CanRemoveModel());
    EXPECT_TRUE(Grid()->AssignModelByName("M3"));
    EXPECT_EQ(Model("J2.P<4>"), "M3");
    EXPECT_TRUE(Grid()->CanRemoveModel());
}

TEST_F(SignalModels, PinsOfTwoDirectionsTakeNoModel) {
    ASSERT_TRUE(Open());
    Run("kx::show slp MIX");
    Messages();
    EXPECT_EQ(Run("assignModel pin M1 [list {} U9 -1 -1]"), "0");
    const ROWCOL first = kxsignal::kFirstDataRow;
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColCell) + " " + Num(first + 1) + " " + Num(G::m_nColCell));
    Messages();
    EXPECT_FALSE(Grid()->AssignModelByName("M1"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127"}));
    EXPECT_FALSE(HasModel("U9.I"));
    EXPECT_FALSE(HasModel("U9.O"));
}

// The model commands answer 0 when they refuse: pins of two directions (no dialog), rows with no model.
TEST_F(SignalModels, TheModelCommandsAnswerZeroWhenTheyRefuse) {
    ASSERT_TRUE(Open());
    Run("kx::show slp MIX");
    const ROWCOL first = kxsignal::kFirstDataRow;
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColCell) + " " + Num(first + 1) + " " + Num(G::m_nColCell));
    Messages();
    Run("kx::answer dialog CKXDlgModelAssign ok model M1");
    EXPECT_EQ(Run("kx::menu 35543"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127"}));
    EXPECT_FALSE(HasModel("U9.I"));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::menu 35567"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-484"}));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(SignalModels, TheAssignModelCommandTakesTheModelChosenInTheDialog) {
    ASSERT_TRUE(Open());
    std::ofstream(m_dir / "FAST.mdl") << "MODEL IbisIO\n";
    std::ofstream(m_dir / "SLOW.mdl") << "MODEL IbisInput\n";
    Run("kx::show slp N1");
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColPinName));
    // A model of another pin type is not offered: the dialog refuses it, the command says so and
    // answers 0, and nothing changes.
    Run("kx::answer dialog CKXDlgModelAssign ok model SLOW");
    Messages();
    EXPECT_EQ(Run("kx::menu 35543"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_FALSE(HasModel("J2.S"));
    Run("kx::answer dialog CKXDlgModelAssign ok model FAST");
    EXPECT_EQ(Run("kx::menu 35543"), "1");
    EXPECT_EQ(Model("J2.S"), "FAST");
    EXPECT_EQ(Run("kx::menu 35567"), "1");
    EXPECT_FALSE(HasModel("J2.S"));
}

} // namespace

namespace {

// A row selected by the selection word is the selection the menus judge, as after a click: the
// one selected row with a model offers Remove Model, with every shown row selected too.
TEST_F(SignalModels, ASelectionByTheWordEnablesTheModelMenusAsAClickDoes) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    ASSERT_EQ(Run("assignModel pin M1 [list 25 J2 -1 -1]"), "1");
    for (const char* select : {"::kx::word selectObject pin [list 25 J2]", "::kx::word selectObject pin"}) {
        Run("kx::select ccp " + Num(Row("U1", "OUT")) + " " + Num(G::m_nColInstance));
        ASSERT_EQ(Run(select), "1") << select;
        EXPECT_EQ(Run("kx::menustate 35567").rfind("enabled", 0), 0u) << select << Run("kx::menustate 35567");
    }
    ASSERT_EQ(Run("::kx::word selectObject pin [list 25 J2]"), "1");
    EXPECT_EQ(Run("kx::menu 35567"), "1");
    EXPECT_FALSE(HasModel("J2.S"));
}

} // namespace
