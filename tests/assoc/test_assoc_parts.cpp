// The parts of the example board's terminations and pull-ups, as copy and paste carry them: a copied
// termination is pasted with its parts; one written without its part count is read by the parts it
// records; one that records none is left out of the copy with a message, so that no paste makes a
// termination without parts.
#include "../connedit/ConnEditFixture.h"

#include "rmx/server.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace {

class AssocParts : public ConnEditFixture {
protected:
    // Rewrites the board file without the lines the pattern matches and reads the library again.
    void DropBoardLines(const std::string& pattern) {
        const std::filesystem::path file = m_demo / "board.sch.design";
        std::ifstream in(file, std::ios::binary);
        std::ostringstream kept;
        const std::regex drop(pattern);
        for (std::string line; std::getline(in, line);)
            if (!std::regex_search(line, drop)) kept << line << '\n';
        in.close();
        std::ofstream(file, std::ios::binary) << kept.str();
        IDesign* board = m_app->Server()->findDesign("demo.board:sch");
        ASSERT_NE(board, nullptr);
        ASSERT_TRUE(m_app->Server()->unloadDesign(board));
        CString error; // the designs still loaded are not read again: only the board is
        m_app->Server()->loadLibrary(m_demo.c_str(), error);
        ASSERT_NE(m_app->Server()->findDesign("demo.board:sch"), nullptr) << error.GetString();
    }
    // Copies MCLK's termination and pastes it onto PGOOD: the paste word's answer.
    std::string CopyMclkOntoPgood() {
        Run("selectObject pin MCLK");
        EXPECT_EQ(Run("copy pin MCLK Termination"), "1");
        Run("kx::pane SelectTerminationCol PGOOD C10");
        return Run("paste pin");
    }
};

TEST_F(AssocParts, TheExampleBoardsComponentsRecordTheirParts) {
    OpenBoard();
    const std::string board = Saved();
    EXPECT_EQ(Count(board, "SLOT_COUNT \"1\""), 6u) << board;
    EXPECT_EQ(Count(board, "SLOT0.PHYSNAME \"R0402\""), 6u);
}

TEST_F(AssocParts, AnExampleTerminationPastesWithItsParts) {
    OpenBoard();
    const std::string original = Saved();
    Messages();
    ASSERT_EQ(CopyMclkOntoPgood(), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Messages().empty());
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Series @U1.PGOOD"), std::string::npos) << pasted;
    // The copy has MCLK's part: one resistor of 22.
    EXPECT_EQ(Count(pasted, "SLOT_COUNT \"1\""), 7u) << pasted;
    EXPECT_EQ(Count(pasted, "SLOT0.VALUE \"22\""), 2u) << pasted;
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

TEST_F(AssocParts, ATerminationWrittenWithoutItsPartCountIsReadByThePartsItRecords) {
    DropBoardLines("^prop @\\$RT2 SLOT_COUNT ");
    OpenBoard();
    Messages();
    ASSERT_EQ(CopyMclkOntoPgood(), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Series @U1.PGOOD"), std::string::npos) << pasted;
    EXPECT_EQ(Count(pasted, "SLOT0.VALUE \"22\""), 2u) << pasted;
}

TEST_F(AssocParts, ATerminationThatRecordsNoPartsIsNotCopiedAndNoPasteMakesOneWithout) {
    DropBoardLines("^prop @\\$RT2 SLOT");
    OpenBoard();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    Run("selectObject pin MCLK");
    EXPECT_EQ(Run("copy pin MCLK Termination"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-260"});
    Run("kx::pane SelectTerminationCol PGOOD C10");
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_TRUE(Saved() == before) << Saved();
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(AssocParts, TheClockPairsTerminationIsOneTheSystemKnowsAndPastesOntoAPin) {
    OpenBoard();
    const std::string original = Saved();
    Messages();
    Run("selectObject pin CLK");
    ASSERT_EQ(Run("copy pin CLK Termination"), "1");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Messages().empty());
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Shunt @U1.PGOOD"), std::string::npos) << pasted;
    // The copy has the pair termination's part: one resistor of 100.
    EXPECT_EQ(Count(pasted, "SLOT0.VALUE \"100\""), 2u) << pasted;
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

// A part the design file made without a library (no LIB, CELL or VIEW) is pasted as it is, and the
// journal's InitTermination and AddTermination make the same part again on replay: the add word takes a
// part given with an empty library, cell and view as such a part, its physical name and value as given.
TEST_F(AssocParts, APartOfNoLibraryPastesAndReplaysAsItIs) {
    DropBoardLines("^prop @\\$RT2 SLOT0\\.(LIB|CELL|VIEW) ");
    OpenBoard();
    const std::string original = Saved();
    Messages();
    ASSERT_EQ(CopyMclkOntoPgood(), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    EXPECT_EQ(Count(pasted, "SLOT0.VALUE \"22\""), 2u) << pasted;
    EXPECT_EQ(Count(pasted, "SLOT0.LIB "), 5u) << pasted; // the other components' alone
    EXPECT_TRUE(Replayed(original) == pasted) << JournalText();

    // The word itself: such a part keeps what it is given; a part naming only some of the three is refused.
    Run("kx::pane SelectTerminationCol RST_N C9");
    Messages();
    EXPECT_EQ(Run("addTermination pin -type Series -part1 -lib {} -cell {} -view {} -physname R0603 -value 47"),
              "1");
    const std::string added = Saved();
    EXPECT_EQ(Count(added, "SLOT0.VALUE \"47\""), 1u) << added;
    EXPECT_EQ(Count(added, "SLOT0.PHYSNAME \"R0603\""), 1u) << added;
    EXPECT_EQ(Count(added, "SLOT0.LIB "), Count(pasted, "SLOT0.LIB "));
    Run("undo");
    EXPECT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell {} -view {} -physname R0603 -value 47"),
              "0");
    EXPECT_FALSE(Messages().empty());
}

// On a signal grid the pane's Paste puts the termination copied there onto the selected row, as one
// undo step; the copy of a termination that records no parts pastes nothing, and the paste answers 0
// with the message that says so (not that the pins cannot take one).
class SignalGridTerminationPaste : public AssocParts {
protected:
    // MCLK's grid: U1's row (RT2) copied, U2's row selected.
    void CopyOntoU2() {
        OpenBoard();
        Run("kx::show slp MCLK");
        ASSERT_EQ(Run("kx::pane SelectInstanceCol U1 B14"), "1");
        ASSERT_EQ(Run("copy pin [list B14 U1 -1 -1] Termination"), "1");
        ASSERT_EQ(Run("kx::pane SelectTerminationCol U2 30"), "1");
        Messages();
    }
};

TEST_F(SignalGridTerminationPaste, ThePanesPasteTerminatesTheSelectedRow) {
    CopyOntoU2();
    const std::string original = Saved();
    const int steps = Steps();
    ASSERT_EQ(Run("kx::pane Paste"), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Series @U2.CLK"), std::string::npos) << pasted;
    EXPECT_EQ(Count(pasted, "SLOT0.VALUE \"22\""), 2u) << pasted;
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == original);
}

TEST_F(SignalGridTerminationPaste, ACopyWithoutPartsPastesNothingAndSaysWhy) {
    DropBoardLines("^prop @\\$RT2 SLOT");
    CopyOntoU2();
    const std::string original = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    EXPECT_EQ(Run("kx::pane Paste"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-344"});
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-344"});
    EXPECT_TRUE(Saved() == original);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
}

// The termination dialog opens on the termination the pin has: a value changed there keeps the rest of
// its part (its physical name, its cell); closed on what it showed, it changes nothing, says so and
// makes no step. The pin grid's menu and the signal grid's alike.
TEST_F(AssocParts, TheTerminationDialogOpensOnThePinsOwnTermination) {
    OpenBoard();
    // The saved properties of MCLK's termination.
    const auto expectPart = [this](const std::string& value) {
        const std::string saved = Saved();
        std::smatch name;
        ASSERT_TRUE(std::regex_search(saved, name, std::regex("\ndt (\\w+) 1 Series @U1\\.MCLK\n"))) << saved;
        const std::string props = "prop @$" + name[1].str() + " SLOT0.";
        EXPECT_NE(saved.find(props + "PHYSNAME \"R0402\""), std::string::npos) << saved;
        EXPECT_NE(saved.find(props + "CELL \"resistor\""), std::string::npos) << saved;
        EXPECT_NE(saved.find(props + "VALUE \"" + value + "\""), std::string::npos) << saved;
    };
    const auto expectNothing = [this](const std::string& select, const std::string& answer) {
        const std::string before = Saved();
        const int steps = Steps();
        Messages();
        Run(select);
        Run("kx::answer dialog CKXTerminationDlg ok " + answer);
        EXPECT_EQ(Run("kx::menu 35522"), "0") << answer;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"}) << answer;
        EXPECT_EQ(Steps(), steps) << answer;
        EXPECT_TRUE(Saved() == before) << answer;
    };
    const std::string pinCell = "kx::pane SelectTerminationCol MCLK B14";
    Run(pinCell);
    Run("kx::answer dialog CKXTerminationDlg ok value0 33");
    EXPECT_EQ(Run("kx::menu 35522"), "1");
    expectPart("33");
    expectNothing(pinCell, "type Series value0 33");
    expectNothing(pinCell, "");
    Run("kx::show slp MCLK");
    const std::string signalCell = "kx::pane SelectTerminationCol U1 B14";
    Run(signalCell);
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    EXPECT_EQ(Run("kx::menu 35522"), "1");
    expectPart("47");
    expectNothing(signalCell, "value0 47");
    // Another type starts from that type's parts.
    Run(signalCell);
    Run("kx::answer dialog CKXTerminationDlg ok type Shunt");
    EXPECT_EQ(Run("kx::menu 35522"), "1");
    EXPECT_NE(Saved().find("1 Shunt @U1.MCLK"), std::string::npos);
}

} // namespace
