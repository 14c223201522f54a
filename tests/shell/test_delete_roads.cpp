// Delete by each of its roads (the word deleteConnection, the pane's Delete method, menu 35264 and the
// Delete key) on the example board: one sequence of checks answers them alike, and a road that refuses
// says why and changes nothing.
#include "KXDemoBoard.h"

#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kRoads[] = {"deleteConnection pin", "kx::pane Delete", "kx::menu 35264", "kx::key ccp Delete"};

struct DeleteCase {
    const char* name;
    int mode;
    const char* setup;
    const char* answer;  // of every road the menu of which is enabled
    const char* message; // the one message of a refusal
};

// Matrix of U1 against MCLK (row 5) and DQ; its column-title row is 3.
#define kMatrix "openMatrixView pin V1; matrixAdd pin component U1; matrixAdd pin signal MCLK; matrixAdd pin signal DQ"

const DeleteCase kCases[] = {
    // The filter cell of a column that filters nothing holds no pin to delete.
    {"PinGridFilterCell", 3, "kx::show clp U1; kx::select ccp 4 7", "0", "KXTABLE-272"},
    {"PinGridFilterCellOfAReadOnlyWindow", 2, "kx::show clp U1; kx::select ccp 4 7", "0", "KXTABLE-382"},
    // A grid the user has not been in: the cell its activation gives it is no selection.
    {"PinGridNothingSelected", 3, "kx::show clp U1", "0", "KXTABLE-272"},
    {"SignalGridNothingSelected", 3, "kx::show slp MCLK", "0", "KXTABLE-272"},
    {"SignalGridTitleRow", 3, "kx::show slp MCLK; kx::select ccp 3 8", "0", "KXTABLE-272"},
    {"MatrixNothingSelected", 3, kMatrix, "0", "KXTABLE-272"},
    {"MatrixTitleRow", 3, kMatrix "; kx::select ccp 3 4", "0", "KXTABLE-272"},
    {"SignalGridRow", 3, "kx::show slp MCLK; kx::select ccp 5 8", "1", ""},
    {"MatrixRow", 3, kMatrix "; kx::select ccp 5 4", "1", ""},
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.name;
}

class DeleteRoads : public DemoBoard, public ::testing::WithParamInterface<DeleteCase> {
protected:
    // Runs one road from a fresh window on the board: its answer, what it said, and whether the menu
    // was there to take.
    struct Outcome {
        std::string answer;
        std::vector<std::string> messages;
        bool disabled = false;
    };
    Outcome Take(const DeleteCase& c, const std::string& road) {
        Run("closeDesign -nosave");
        EXPECT_TRUE(OpenBoard(c.mode, c.setup)) << c.setup;
        Messages();
        const DesignMark before = MarkDesign();
        const bool modified = Doc()->IsModified();
        Outcome o;
        const size_t transcript = Transcript().size();
        o.answer = Run(road);
        o.messages = Messages();
        o.disabled = Transcript().find("is disabled", transcript) != std::string::npos;
        if (o.answer != "1") {
            ExpectUnchangedSince(before, road);
            EXPECT_EQ(Doc()->IsModified(), modified) << road;
        }
        return o;
    }
};

TEST_P(DeleteRoads, AnswerAlikeAndSayWhy) {
    const DeleteCase& c = GetParam();
    for (const char* road : kRoads) {
        const Outcome o = Take(c, road);
        if (o.disabled) continue; // a menu item the user cannot take
        EXPECT_EQ(o.answer, c.answer) << road;
        if (*c.message)
            EXPECT_EQ(o.messages, std::vector<std::string>{c.message}) << road;
        else
            EXPECT_TRUE(o.messages.empty()) << road << " said " << ::testing::PrintToString(o.messages);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteRoads, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DeleteCase>& info) { return info.param.name; });

// The physical grids' Delete takes the selected pins' models off; a row without a model of its own
// refuses by every road the grid has, the key included.
TEST_F(DemoBoard, ThePhysicalNetGridsDeleteRefusesARowWithoutAModelByEveryRoad) {
    for (const char* road : {"kx::pane Delete", "kx::menu 35264", "kx::key ccp Delete"}) {
        Run("closeDesign -nosave");
        ASSERT_TRUE(OpenBoard(4, "kx::show slp RST_IN; kx::select ccp 5 6"));
        Messages();
        const DesignMark before = MarkDesign();
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-484"}) << road;
        ExpectUnchangedSince(before, road);
    }
}

// The step a Delete leaves is named as the journal's Delete names it on replay, whichever road made it.
class DeleteSteps : public DemoBoard {
protected:
    // The names of the undo steps the road added, from a fresh window on the board.
    std::string StepsOf(int mode, const std::string& setup, const std::string& road) {
        Run("closeDesign -nosave");
        const std::filesystem::path log = m_dir / "steps.txt";
        std::filesystem::remove(log);
        Run("kx::translog " + log.string());
        EXPECT_TRUE(OpenBoard(mode, setup)) << setup;
        EXPECT_EQ(Run(road), "1") << road;
        Run("kx::translog");
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// A Delete over two rows of a pin grid, a signal grid and a matrix is one undo step, and its journal
// replays as that one step: an undo in the replay takes back what the user's undo took back.
TEST_F(DeleteSteps, ADeleteOfTwoRowsReplaysAsTheOneStepItMade) {
    const std::pair<const char*, const char*> cases[] = {
        {"pin grid", "kx::show clp U1; kx::select ccp 40 7 41 7"},
        {"signal grid", "kx::show slp MCLK; kx::select ccp 5 8 6 8"},
        {"matrix", kMatrix "; kx::select ccp 5 4 6 4"},
    };
    for (const auto& [what, setup] : cases) {
        Run("closeDesign -nosave");
        const size_t from = JournalText().size();
        const std::string session = StepsOf(3, setup, "kx::key ccp Delete");
        const std::string journal = JournalText().substr(from);
        Run("closeDesign -nosave");
        const std::filesystem::path part = m_dir / "part.vbs", log = m_dir / "replayed.txt";
        std::ofstream(part, std::ios::binary) << journal;
        std::filesystem::remove(log);
        Run("kx::translog " + log.string());
        Run("kx::replay " + part.string());
        Run("kx::translog");
        std::ifstream in(log);
        std::stringstream replayed;
        replayed << in.rdbuf();
        EXPECT_EQ(replayed.str(), session) << what << "\n" << journal;
    }
}

TEST_F(DeleteSteps, AWordOnASignalGridRowIsTheStepOfItsDelete) {
    const char* row = "kx::show slp MCLK; kx::select ccp 5 8";
    EXPECT_EQ(StepsOf(3, row, "deleteConnection pin"), StepsOf(3, row, "kx::pane Delete"));
}

TEST_F(DeleteSteps, ATerminationsWordIsTheStepOfTheDeleteOnItsCell) {
    // MCLK's U1 row has a series termination; Termination is column 11 of the signal grid.
    const char* cell = "kx::show slp MCLK; kx::select ccp 5 11";
    EXPECT_EQ(StepsOf(3, cell, "deleteTermination pin"), StepsOf(3, cell, "kx::pane Delete"));
}

TEST_F(DeleteSteps, AMatrixDeleteIsTheStepOfTheEmptiedCellThatReplaysIt) {
    const std::string deleted = StepsOf(3, kMatrix "; kx::select ccp 5 4", "deleteConnection pin");
    EXPECT_EQ(deleted, StepsOf(3, kMatrix, "kx::pane MatrixConnect MCLK U1 PIN_NAME MCLK {}"));
    EXPECT_NE(deleted.find("Delete Connections"), std::string::npos) << deleted;
}

} // namespace

// A journal's calls act on the window their handle names, active or not: the pane's Delete, which asks the
// host for the delete word, deletes in that window even while a read-only window on the design is the
// active one (as when an edit the focus left was stored as another window opened).
TEST_F(DeleteSteps, AJournalsDeleteOnAWindowThatIsNotActiveDeletesThere) {
    const std::filesystem::path journal = m_dir / "other-window.vbs";
    std::ofstream(journal) << "call RMX.OpenDesign(\"demo.board:sch\", \"3\")\n"
                              "call RMX.SelectTab(\"1\")\nset board = RMX.GetActiveTab()\n"
                              "call RMX.OpenDesign(\"demo.board:sch\", \"2\")\n"
                              "call board.Clp().Select(\"U1\")\n"
                              "call board.ConnectivityPane().SelectTerminationCol(\"MCLK\",\"B14\")\n"
                              "call board.ConnectivityPane().Delete()\n";
    Messages();
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    ASSERT_EQ(Run("kx::tab 1"), "1");
    Run("kx::show clp U1");
    EXPECT_NE(RowShowing(" | MCLK | B14 | Output | MCLK |  |  | "), "") << Run("kx::window ccp");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
}
