// The edit contract through the host on the example board: undo and redo outlive the grids the pane
// replaces, a window closed without saving leaves its design as saved, what the transcript prints is
// the answer used, and an edit of nothing leaves nothing.
#include "KXExampleLibrary.h"
#include "KXRandomEdits.h"
#include "KXShellFixture.h"

#include "grid/KXGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "rmx/DesignBuilder.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EditContract : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        m_demo = KXCopyExampleLibrary(m_dir);
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(m_demo.c_str(), error)) << error.GetString();
    }

    // The board's file as saved now.
    std::string SavedFile() const {
        std::ifstream in(m_demo / "board.sch.design", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The board as it is in memory, written where a save would write it.
    std::string DesignText() {
        IServer* server = m_app->Server();
        const fs::path copy = m_dir / "copy";
        fs::remove_all(copy);
        CString error;
        IDesign* board = server->findDesign("demo.board:sch");
        if (!board || !server->saveDesignAs(board, copy.c_str(), "demo", "board", "sch", &error))
            return "ERROR " + error.str();
        std::ifstream in(copy / "board.sch.design", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool TranscriptHas(const std::string& line) const { return Transcript().find(line) != std::string::npos; }

    // The active grid as kx::window shows it: row -> (grid column -> cell text).
    using Row = std::map<int, std::string>;
    std::map<int, Row> GridRows() {
        std::map<int, Row> rows;
        std::vector<int> columns;
        bool active = false;
        std::istringstream in(Run("kx::window ccp"));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("  grid ", 0) == 0) {
                active = line.find("(active)") != std::string::npos;
                columns.clear();
                std::istringstream cols(line.substr(line.find(", columns") + 9));
                for (int c; cols >> c;)
                    columns.push_back(c);
                continue;
            }
            if (!active || line.rfind("    ", 0) != 0) continue;
            Row& row = rows[std::atoi(line.c_str() + 4)];
            size_t start = line.find(": ");
            for (size_t i = 0; start != std::string::npos && i < columns.size(); ++i) {
                start += i ? 3 : 2;
                const size_t bar = line.find(" | ", start);
                row[columns[i]] = line.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
                start = bar;
            }
        }
        return rows;
    }
    // The grid column whose caption is the text; 0 when none.
    int Column(const std::string& caption) {
        for (const auto& [row, cells] : GridRows())
            for (const auto& [col, text] : cells)
                if (text == caption) return col;
        return 0;
    }
    // The first row whose cells hold every one of the texts; 0 when none.
    int RowWith(const std::vector<std::string>& texts) {
        for (const auto& [row, cells] : GridRows()) {
            size_t found = 0;
            for (const std::string& t : texts)
                for (const auto& [col, text] : cells)
                    if (text == t) {
                        ++found;
                        break;
                    }
            if (found == texts.size()) return row;
        }
        return 0;
    }
    std::string At(int row, int col) { return std::to_string(row) + " " + std::to_string(col); }

    // Runs the actions on the board with the journal recording, closes the window unsaved (the design
    // is as saved again) and replays what the actions journalled: the connections must be the ones the
    // actions left. Returns the replayed journal.
    std::string ExpectReplayGivesTheSameBoard(const std::function<void()>& actions) {
        const size_t start = JournalText().size();
        EXPECT_TRUE(Open("demo.board:sch", 1));
        actions();
        const std::string recorded = Run("kx::netlist");
        const std::string journal = CloseAndReplay(start);
        EXPECT_EQ(Run("kx::netlist"), recorded) << journal;
        // The replayed window goes unsaved too: the board is as saved for what follows.
        CloseUnsaved();
        return journal;
    }
    void CloseUnsaved() {
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
    // Closes the window unsaved and replays what was journalled since `start`; returns that journal.
    std::string CloseAndReplay(size_t start) {
        const std::string journal = JournalText().substr(start);
        CloseUnsaved();
        const fs::path file = m_dir / "actions.vbs";
        std::ofstream(file, std::ios::binary) << journal;
        EXPECT_EQ(Run("kx::replay " + file.string()), "1");
        return journal;
    }

    fs::path m_demo;
};

// ------------------------------------------------------------------ undo after the pane replaced a grid

// Every road that undoes or redoes: the word, the accelerators, the menu, the automation method.
struct UndoRoad {
    const char* name;
    const char* undo;
    const char* redo;
};

const UndoRoad kUndoRoads[] = {
    {"word", "undo", "redo"},
    {"accelerator", "kx::key ccp z ctrl", "kx::key ccp y ctrl"},
    {"menu", "kx::menu 57643", "kx::menu 57644"},
};

TEST_F(EditContract, UndoAndRedoOfASignalGridDeleteOutliveTheGrid) {
    for (const UndoRoad& road : kUndoRoads) {
        SCOPED_TRACE(road.name);
        ASSERT_TRUE(Open("demo.board:sch", 1));
        const std::string before = Run("kx::netlist");
        Run("kx::show slp MCLK");
        ASSERT_EQ(Run("kx::select ccp 6 12"), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        const std::string deleted = Run("kx::netlist");
        ASSERT_NE(deleted, before);
        // Showing a signal replaces the grid the delete was made in.
        Run("kx::show slp DQ");
        EXPECT_EQ(Run(road.undo), "1");
        EXPECT_EQ(Run("kx::netlist"), before);
        Run("kx::show slp MCLK");
        Run("kx::show slp MCLK");
        EXPECT_EQ(Run(road.redo), "1");
        EXPECT_EQ(Run("kx::netlist"), deleted);
        EXPECT_EQ(Run(road.undo), "1");
        EXPECT_EQ(Run("kx::netlist"), before);
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
}

TEST_F(EditContract, AReplayedUndoAfterTheGridWentUndoesTheDelete) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string before = Run("kx::netlist");
    Run("kx::show slp MCLK");
    Run("kx::select ccp 6 12");
    Run("kx::key ccp Delete");
    Run("kx::show slp DQ");
    Run("kx::call Undo");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_NE(JournalText().find(".Undo()"), std::string::npos);
}

// A list pane's edit has no grid: its undo must record the redo with its own window, also while
// another window on the design was opened after it.
TEST_F(EditContract, AListEditUndoneWithASecondWindowOpenIsRedoneInItsOwnWindow) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    const std::string added = DesignText();
    ASSERT_TRUE(Open("demo.board:sch", 4));
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(DesignText(), added);
    EXPECT_EQ(Ccp()->GetRedoStepCount(), 0);
}

// ------------------------------------------------------------------ close without saving

TEST_F(EditContract, TheLastWindowClosedWithoutSavingLeavesTheDesignAsSaved) {
    const std::string saved = SavedFile();
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(Run("kx::window clp"), "error: no design window is open");
    ASSERT_TRUE(Open("demo.board:sch", 1));
    EXPECT_EQ(Run("kx::window slp").find("ZZNET"), std::string::npos);
    EXPECT_EQ(DesignText(), saved);
    // The next save writes the design as it was.
    ASSERT_TRUE(m_app->Server()->saveDesign("demo.board:sch"));
    EXPECT_EQ(SavedFile(), saved);
}

// A window closed without saving takes back its own edits, also while another window shows the design.
TEST_F(EditContract, AWindowClosedUnsavedWhileAnotherShowsTheDesignTakesBackItsEdits) {
    const std::string saved = SavedFile();
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_TRUE(Open("demo.board:sch", 0));
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    ASSERT_NE(DesignText(), saved);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(DesignText(), saved);
    // The last window goes unsaved as well: the design is as saved.
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(DesignText(), saved);
}

TEST_F(EditContract, ASavedEditStaysWhenTheWindowClosesWithoutSavingLater) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    ASSERT_TRUE(Doc()->SaveCurrentDesign(Doc()->GetPathName(), TRUE));
    const std::string saved = SavedFile();
    ASSERT_EQ(Run("kx::call AddSignal ZZNET2 {} {}"), "1");
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(DesignText(), saved);
    EXPECT_NE(saved.find("ZZNET"), std::string::npos);
}

// ------------------------------------------------------------------ the transcript prints the answer used

TEST_F(EditContract, AnUnansweredSaveQuestionCancelsTheCloseAndSaysSo) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    Run("kx::close");
    EXPECT_TRUE(TranscriptHas("unanswered: question KXCOMMON-101: cancel (unanswered)")) << Transcript();
    EXPECT_FALSE(TranscriptHas("KXCOMMON-101: no"));
    // The window is still open, with the edit.
    EXPECT_NE(Run("kx::window slp").find("ZZNET"), std::string::npos);
}

// ------------------------------------------------------------------ journals that replay to the same board

TEST_F(EditContract, ASignalGridDeleteReplaysOnTheSamePin) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp PG");
        const int row = RowWith({"R2", "B"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(row, Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::netlist").find("R2 B PG"), std::string::npos);
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"R2\","), std::string::npos) << journal;
}

TEST_F(EditContract, ADeleteOfABlockPinWithoutPinNumberReplaysOnThatPin) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp PG");
        const int row = RowWith({"PWR1", "PGOOD"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        Run("kx::select ccp " + At(row, Column("Instance")));
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"PWR1\",\"PGOOD\")"), std::string::npos) << journal;
}

TEST_F(EditContract, ADeleteOfABusRowReplays) {
    ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp DQ");
        const int row = RowWith({"U2"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        Run("kx::select ccp " + At(row, Column("Instance")));
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    });
}

TEST_F(EditContract, ASwapOfSignalsReplaysAsTheConnectionsItMade) {
    for (const char* road : {"word", "menu"}) {
        SCOPED_TRACE(road);
        ExpectReplayGivesTheSameBoard([this, road] {
            Run("kx::show clp U1");
            Run("expandPins pin on");
            if (std::string(road) == "word") {
                ASSERT_EQ(Run("swapSignal pin {DQ<3>} {DQ<4>}"), "1");
            } else {
                const int col = Column("Pin Name"), a = RowWith({"DQ<3>"}), b = RowWith({"DQ<4>"});
                ASSERT_GT(a * b, 0) << Run("kx::window ccp");
                ASSERT_EQ(Run("kx::select ccp " + At(std::min(a, b), col) + " " + At(std::max(a, b), col)), "1");
                ASSERT_EQ(Run("kx::menu 35747"), "1");
            }
            EXPECT_NE(Run("kx::netlist").find("U1 DQ<3> DQ<4>"), std::string::npos);
        });
    }
}

TEST_F(EditContract, ATerminationDeletedInTheSignalGridReplays) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp MCLK");
        const int row = RowWith({"U1"});
        const int col = Column("Termination");
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        ASSERT_GT(col, 0) << Run("kx::window ccp");
        Run("kx::select ccp " + At(row, col));
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::prop demo.board:sch@U1.MCLK PN").rfind("error", 0), std::string::npos);
    });
    EXPECT_NE(journal.find("SelectTerminationCol(\"U1\","), std::string::npos) << journal;
}

TEST_F(EditContract, ADeleteOnAPairRowSelectsItsComponentFirst) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show clp U1");
        const int row = RowWith({"CLK"});
        const int col = Column("Signal");
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        Run("kx::select ccp " + At(row, col));
        Run("kx::key ccp Delete");
        // The replay of the journal must find the same component shown.
        Run("kx::show clp R1");
    });
    EXPECT_NE(journal.find("Clp().Select(\"U1\")"), std::string::npos) << journal;
}

// ------------------------------------------------------------------ an edit of nothing leaves nothing

// A key naming one bit of a collapsed bus pin selects that bit's row, as selectObject does: the connect
// takes the bit alone, as one step that undoes whole, and leaves the bus folded.
TEST_F(EditContract, AKeyNamingOneBitOfACollapsedBusPinConnectsThatBitAlone) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp J1");
    const std::string before = Run("kx::netlist");
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    EXPECT_NE(Run("addConnection pin NEWZ P<8>:8"), "0");
    EXPECT_TRUE(Messages().empty());
    const std::string after = Run("kx::netlist");
    EXPECT_NE(after.find("J1 P<8> NEWZ"), std::string::npos) << after;
    EXPECT_EQ(after.find("J1 P<7> NEWZ"), std::string::npos) << after;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist"), before);
}

// The pull-up dialog opened on a range of pin rows that takes in a bus pin: each bit of the bus
// replays on its own bit row in the order it was made, and a net bit that refuses the pull-up leaves
// none on the others (nothing that the journal would not name).
TEST_F(EditContract, APullUpDialogOverABusPinsRowsReplaysBitByBitOrChangesNothing) {
    // The design's associated components (pull-ups, terminations) and their properties.
    auto associated = [this] {
        std::istringstream in(DesignText());
        std::string out;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("dt ", 0) == 0 || line.rfind("prop @$", 0) == 0) out += line + "\n";
        return out;
    };
    const size_t start = JournalText().size();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    const int bus = RowWith({"A<12..0>"}), clock = RowWith({"CLK"}), data = RowWith({"DQ<15..0>"});
    const int mclk = RowWith({"MCLK"}), pupd = Column("Pull Up/Down");
    ASSERT_TRUE(bus > 0 && clock > 0 && data > 0 && mclk > 0 && pupd > 0) << Run("kx::window ccp");
    const std::string answers = "kx::answer dialog CKXOpenPinConnectionDlg ok common 0; "
                                "kx::answer dialog CKXPupdDlg ok type pullup dcnet VCC3V3 value 10k; ";
    Run("kx::select ccp " + At(bus, pupd) + " " + At(clock, pupd));
    ASSERT_EQ(Run(answers + "kx::click ccp " + At(bus, pupd) + " double"), "1");
    ASSERT_NE(associated().find("Pullup @:ADDR<5>"), std::string::npos);
    // MCLK's net takes a pull-up of its own; the bits of DQ above it take one each, then MCLK refuses.
    ASSERT_EQ(Run("selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    const std::string before = associated();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::select ccp " + At(data, pupd) + " " + At(mclk, pupd));
    Run(answers + "kx::click ccp " + At(data, pupd) + " double");
    EXPECT_EQ(associated(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    const std::string journal = CloseAndReplay(start);
    EXPECT_EQ(associated(), before) << journal;
    CloseUnsaved();
}

// ------------------------------------------------------------------ answers: 1 done, 0 refused

TEST_F(EditContract, UndoAndRedoAnswerZeroWhenNothingIsDoneAndOneWhenAStepIs) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    EXPECT_EQ(Run("undo"), "0");
    EXPECT_EQ(Run("redo"), "0");
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("redo"), "1");
    // The design changed under the step (outside any window): the undo is refused.
    IServer* server = m_app->Server();
    {
        CTransaction t(CDesignContext(server, "demo.board:sch"), "outside");
        ASSERT_TRUE(t.removeNet(server->findDesign("demo.board:sch")->findNet("ZZNET")));
        ASSERT_TRUE(t.commit());
    }
    Messages();
    EXPECT_EQ(Run("undo"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-221"});
}

// A deleted row's place is taken by a blank row at the end: every blank row below the pins still takes a
// typed connection (the one before the last too).
TEST_F(EditContract, BlankRowsOfASignalGridTakeConnectionsAfterDeletes) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show slp RST_IN");
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(Run("kx::select ccp 5 6"), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    }
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_NE(grid, nullptr);
    const int last = static_cast<int>(grid->GetRowCount());
    const int instance = Column("Instance"), number = Column("Pin Number");
    int pin = 7;
    for (int row : {last - 2, last - 1, last}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Run("kx::edit ccp " + At(row, instance) + " J1"), "1");
        EXPECT_EQ(Run("kx::edit ccp " + At(row, number) + " " + std::to_string(pin++)), "1");
        EXPECT_TRUE(Messages().empty());
    }
    const std::string netlist = Run("kx::netlist");
    for (const char* pinName : {"J1 P<7> RST_IN", "J1 P<8> RST_IN", "J1 P<9> RST_IN"})
        EXPECT_NE(netlist.find(pinName), std::string::npos) << pinName << "\n" << netlist;
}

// The same on a generated board of 1k and 10k pins, whose LOAD bus gives one signal grid far more
// rows than the Deletes take.
class BlankRowsAtScale : public EditContract, public ::testing::WithParamInterface<int> {};

TEST_P(BlankRowsAtScale, ATypedConnectionIntoABlankRowAfter99DeletesIsTaken) {
    const fs::path bench = m_dir / "bench";
    {
        IServer scratch;
        ASSERT_NE(rmx::generateSyntheticDesign(&scratch, GetParam(), 240), nullptr);
        CString error;
        ASSERT_TRUE(scratch.saveLibrary("bench", bench.c_str(), &error)) << error.GetString();
    }
    CString error;
    ASSERT_TRUE(m_app->Server()->loadLibrary(bench.c_str(), error)) << error.GetString();
    ASSERT_TRUE(Open("bench.top:sch", 1));
    Run("kx::show slp LOAD");
    const int name = Column("Pin Name");
    ASSERT_GT(name, 0) << Run("kx::window ccp");
    for (int i = 0; i < 99; ++i) {
        ASSERT_EQ(Run("kx::select ccp 5 " + std::to_string(name)), "1") << i;
        ASSERT_EQ(Run("kx::key ccp Delete"), "1") << i;
    }
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_NE(grid, nullptr);
    const int last = static_cast<int>(grid->GetRowCount());
    Messages();
    EXPECT_EQ(Run("kx::edit ccp " + At(last, Column("Instance")) + " R0"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(last, name) + " A"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(last, Column("Start Bit")) + " 0"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(last, Column("End Bit")) + " 0"), "1");
    EXPECT_TRUE(Messages().empty());
    const std::string netlist = Run("kx::netlist");
    EXPECT_NE(netlist.find("R0 A LOAD<0>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Pins, BlankRowsAtScale, ::testing::Values(1000, 10000));

TEST_F(EditContract, AddConnectionAnswersZeroWhereItCannotConnect) {
    for (int mode : {0, 4}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(Open("demo.board:sch", mode));
        Run("kx::show clp U1");
        EXPECT_EQ(Run("addConnection pin NEWSIG PGOOD:C10"), "0");
        EXPECT_EQ(Run("kx::netlist").find("NEWSIG"), std::string::npos);
        Run("kx::close");
    }
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    // Nothing selected: the automation method connects nothing and says so.
    Run("selectObject pin NOSUCHPIN");
    EXPECT_EQ(Run("kx::pane AddConnection NEWSIG"), "0");
    EXPECT_EQ(Run("kx::netlist").find("NEWSIG"), std::string::npos);
}

TEST_F(EditContract, ASaveWhoseDialogIsCancelledAnswersZero) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal ZZNET {} {}"), "1");
    const std::string saved = SavedFile();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(SavedFile(), saved);
    EXPECT_TRUE(Doc()->IsModified());
}

// The pin a signal grid's row shows, typed again into its Pin Name or Pin Number cell or pasted onto
// it from its own cell, changes nothing and leaves no undo step: the undo that follows takes back the
// user's edit before, as the replay of the journal (which holds no line for them) does.
TEST_F(EditContract, TheRowsOwnPinTypedOrPastedAgainInASignalGridLeavesNoUndoStep) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const std::string saved = Run("kx::netlist");
    Run("kx::show slp EN");
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("addConnection pin R2:2"), "1");
    const std::string connected = Run("kx::netlist");
    const int row = RowWith({"R1", "B"});
    ASSERT_GT(row, 0) << Run("kx::window ccp");
    const std::string name = At(row, Column("Pin Name")), number = At(row, Column("Pin Number"));
    const int steps = Ccp()->GetUndoStepCount();
    for (const std::string& edit : {"kx::edit ccp " + name + " B", "kx::edit ccp " + number + " 2",
                                    "kx::select ccp " + name + "; kx::key ccp Ctrl+C; kx::select ccp " + name +
                                        "; paste pin"}) {
        SCOPED_TRACE(edit);
        Run(edit);
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
        EXPECT_EQ(Run("kx::netlist"), connected);
        EXPECT_EQ(RowWith({"R1", "B", "2"}), row);
    }
    // The undo takes back the connection made before.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist"), saved);
}

TEST_F(EditContract, ADeleteInstanceRequestThatDeletesNothingLeavesTheDocumentUnmodified) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    ASSERT_FALSE(Doc()->IsModified());
    const UINT message = RegisterWindowMessageA("INT_MSG_DELETE_INSTANCE");
    Frame()->SendMessage(message, 0, reinterpret_cast<LPARAM>("NOSUCH"));
    EXPECT_FALSE(Doc()->IsModified());
}

} // namespace

// A connection typed into the pin grid that the design refuses shows the design again, which ends the
// cell's edit: a paste that follows (Ctrl+V, or the clipboard viewer's item) is an edit of its own, which
// is journalled, undone as one step and replayed to the same connections.
TEST_F(EditContract, APasteAfterATypedConnectionTheDesignRefusedIsJournalledAndReplays) {
    for (const char* paste : {"kx::key ccp Ctrl+V", "kx::clipview 1"}) {
        SCOPED_TRACE(paste);
        const std::string journal = ExpectReplayGivesTheSameBoard([&] {
            Run("kx::show slp PG");
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"U1"}), Column("Instance"))), "1");
            Run("kx::key ccp Ctrl+C");
            Run("kx::show clp U1");
            const std::string before = Run("kx::netlist");
            m_app->Server()->setCommitFault([] { return true; });
            Run("kx::edit ccp " + At(RowWith({"PGOOD"}), Column("Signal")) + " REFUSEDNET");
            m_app->Server()->setCommitFault(nullptr);
            ASSERT_EQ(Run("kx::netlist"), before);
            const int steps = Ccp()->GetUndoStepCount();
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"MCLK"}), Column("Signal"))), "1");
            EXPECT_EQ(Run(paste), "1");
            EXPECT_NE(Run("kx::netlist").find("U1 MCLK U1\n"), std::string::npos);
            EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
            EXPECT_EQ(Run("undo"), "1");
            EXPECT_EQ(Run("kx::netlist"), before);
            EXPECT_EQ(Run("redo"), "1");
        });
        EXPECT_NE(journal.find("AddConnection(\"U1\")"), std::string::npos) << journal;
    }
}

// Clearing a pin's Signal cell that the design refuses leaves the pin connected and stores nothing:
// a sort by a click on a caption after it is an undo step of its own, so the undo that follows takes
// back the sort and never the user's edit before it.
TEST_F(EditContract, AClearedSignalCellTheDesignRefusedLeavesTheNextSortAStepOfItsOwn) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::edit ccp " + At(RowWith({"PGOOD"}), Column("Signal")) + " KEPTNET"), "1");
    const std::string edited = Run("kx::netlist");
    const int steps = Ccp()->GetUndoStepCount();
    m_app->Server()->setCommitFault([] { return true; });
    Run("kx::edit ccp " + At(RowWith({"MCLK"}), Column("Signal")) + " {}");
    m_app->Server()->setCommitFault(nullptr);
    ASSERT_EQ(Run("kx::netlist"), edited);
    ASSERT_EQ(Ccp()->GetUndoStepCount(), steps);
    Run("kx::click ccp " + At(RowWith({"Pin Number"}), Column("Pin Number")));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist"), edited);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

// A pin connected by the word to the signal grid's net that has it already is refused without a question
// (nothing would change): the grid keeps its rows, the pin its name and number, so that the row's Delete is
// journalled by its number and replays.
TEST_F(EditContract, APinConnectedAgainByTheWordIsRefusedAndKeepsItsRow) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp EN");
        Run("kx::answer question KXTABLE-140 yes");
        ASSERT_EQ(Run("addConnection pin J1:8"), "1");
        const auto before = GridRows();
        Messages();
        EXPECT_EQ(Run("addConnection pin J1:8"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-304"});
        EXPECT_EQ(GridRows(), before);
        const int row = RowWith({"J1", "P<8>", "8"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(row, Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::netlist").find("J1 P<8>"), std::string::npos);
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"J1\",\"8\")"), std::string::npos) << journal;
}

// A pin number typed into a blank row for a pin a row above shows already: the row above goes and the
// typed row, moved up into its place, shows the number, also with a row between them whose dropped
// instance waits for its pin; the row's Delete is then journalled by that number and replays.
TEST_F(EditContract, APinNumberTypedForAPinShownAboveStaysInTheRowThatMovedUp) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp EN");
        auto freeRow = [this] { return GridRows().rbegin()->first + 1; };
        ASSERT_EQ(Run("kx::drop ccp " + At(freeRow(), Column("Instance")) + " component J1"), "1");
        Run("kx::answer question KXTABLE-140 yes");
        const int typed = freeRow();
        ASSERT_EQ(Run("kx::drop ccp " + At(typed, Column("Instance")) + " component R1"), "1");
        ASSERT_EQ(Run("kx::edit ccp " + At(typed, Column("Pin Number")) + " 2"), "1");
        const int row = RowWith({"R1", "B", "2"});
        ASSERT_GT(row, RowWith({"J1"})) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(row, Column("Pin Number"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::netlist").find("R1 B EN"), std::string::npos);
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"R1\",\"2\")"), std::string::npos) << journal;
}

// A pin number typed into another row for a pin on the net already asks nothing and keeps the pin's
// connection as it is: its row moves up to the typed one. Typed into a blank row that is no undo step and no
// journal line; typed into the row of another pin, that pin leaves the net as one step, journalled as the
// row's Delete alone. The undo that follows takes back the same step in the session as in the replay.
TEST_F(EditContract, APinTypedIntoAnotherRowOfTheNetItIsOnKeepsItsConnectionAndTheUndoAfterReplays) {
    for (const bool blank : {true, false}) {
        SCOPED_TRACE(blank ? "a blank row" : "the row of another pin");
        const std::string journal = ExpectReplayGivesTheSameBoard([&] {
            Run("kx::show slp EN");
            Run("kx::answer question KXTABLE-140 yes");
            ASSERT_EQ(Run("addConnection pin J1:8"), "1");
            const std::string connected = Run("kx::netlist");
            if (!blank) {
                ASSERT_EQ(Run("addConnection pin J1:7"), "1");
            }
            const std::string before = Run("kx::netlist");
            const int steps = Ccp()->GetUndoStepCount();
            const size_t journalled = JournalText().size();
            const int typed = blank ? GridRows().rbegin()->first + 1 : RowWith({"J1", "P<7>"});
            ASSERT_GT(typed, 0) << Run("kx::window ccp");
            if (blank) {
                ASSERT_EQ(Run("kx::drop ccp " + At(typed, Column("Instance")) + " component J1"), "1");
            }
            Messages();
            EXPECT_EQ(Run("kx::edit ccp " + At(typed, Column("Pin Number")) + " 8"), "1");
            EXPECT_EQ(Messages(), std::vector<std::string>{});
            EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + (blank ? 0 : 1));
            EXPECT_EQ(JournalText().find("AssignConnectivity", journalled), std::string::npos);
            EXPECT_EQ(Run("kx::netlist"), connected);
            // One row shows the pin.
            int shown = 0;
            for (const auto& [r, cells] : GridRows())
                shown += std::any_of(cells.begin(), cells.end(),
                                     [](const auto& cell) { return cell.second == "P<8>"; });
            EXPECT_EQ(shown, 1) << Run("kx::window ccp");
            Run("kx::show slp RESET_N");
            EXPECT_EQ(Run("undo"), "1");
            if (blank) {
                EXPECT_EQ(Run("kx::netlist").find("J1 P<8>"), std::string::npos);
            } else {
                EXPECT_EQ(Run("kx::netlist"), before);
            }
        });
        EXPECT_NE(journal.find("Undo()"), std::string::npos) << journal;
    }
}

// A row's Delete that the design refuses leaves the pin on the net and its row shown, by the key and by
// automation (which answers 0); the Delete that follows takes the row, and that is what replays.
TEST_F(EditContract, ARowDeleteTheDesignRefusedKeepsTheRowOfTheStillConnectedPin) {
    for (const char* press : {"kx::key ccp Delete", "kx::pane Delete"}) {
        SCOPED_TRACE(press);
        const std::string journal = ExpectReplayGivesTheSameBoard([&] {
            Run("kx::show slp EN");
            const std::string before = Run("kx::netlist");
            const auto rows = GridRows();
            const int steps = Ccp()->GetUndoStepCount();
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"R1", "B", "2"}), Column("Instance"))), "1");
            m_app->Server()->setCommitFault([] { return true; });
            const std::string refused = Run(press);
            m_app->Server()->setCommitFault(nullptr);
            if (std::string(press) == "kx::pane Delete") {
                EXPECT_EQ(refused, "0");
            }
            EXPECT_EQ(Run("kx::netlist"), before);
            EXPECT_EQ(GridRows(), rows);
            EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"R1", "B", "2"}), Column("Instance"))), "1");
            EXPECT_EQ(Run(press), "1");
            EXPECT_EQ(Run("kx::netlist").find("R1 B EN"), std::string::npos);
            EXPECT_EQ(RowWith({"R1", "B", "2"}), 0);
        });
        EXPECT_NE(journal.find("SelectInstanceCol(\"R1\",\"2\")"), std::string::npos) << journal;
    }
}

// An empty cell pasted into a pin's Pin Name cell that the design refuses at the paste's commit leaves
// the pin on the net and its row as it was, by the pane's paste, Ctrl+V and the clipboard viewer; the
// paste that follows disconnects the pin and keeps its row waiting for another pin, and a copy of that
// row replays.
TEST_F(EditContract, AnEmptyPinNamePasteTheDesignRefusedLeavesTheRowsAsTheyWere) {
    for (const char* press : {"kx::menu 57639", "kx::key ccp Ctrl+V", "kx::clipview 1"}) {
        SCOPED_TRACE(press);
        ExpectReplayGivesTheSameBoard([&] {
            Run("kx::show slp EN");
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"PWR1"}), Column("Ref Des"))), "1");
            Run("kx::key ccp Ctrl+C"); // PWR1 has no Ref Des: an empty cell
            const std::string before = Run("kx::netlist");
            const auto rows = GridRows();
            const int steps = Ccp()->GetUndoStepCount();
            const std::string selectPin = "kx::select ccp " + At(RowWith({"R1", "B", "2"}), Column("Pin Name"));
            ASSERT_EQ(Run(selectPin), "1");
            m_app->Server()->setCommitFault([] { return true; });
            Run(press);
            m_app->Server()->setCommitFault(nullptr);
            EXPECT_EQ(Run("kx::netlist"), before);
            EXPECT_EQ(GridRows(), rows);
            EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
            ASSERT_EQ(Run(selectPin), "1");
            Run(press);
            EXPECT_EQ(Run("kx::netlist").find("R1 B EN"), std::string::npos);
            const int kept = RowWith({"R1"});
            ASSERT_GT(kept, 0) << Run("kx::window ccp");
            EXPECT_EQ(RowWith({"R1", "B"}), 0);
            ASSERT_EQ(Run("kx::select ccp " + At(kept, Column("Instance"))), "1");
            Run("kx::key ccp Ctrl+C");
        });
    }
}

// A grid of one net bit names its rows by that bit, also a blank row a pin was typed into: the row's
// Delete is journalled on the bit, whose grid the replay shows, and replays there.
TEST_F(EditContract, APinTypedIntoABlankRowOfANetBitIsDeletedOnThatBitInTheReplay) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show clp U1");
        Run("kx::show slp {DQ<6>}");
        ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"U1", "A10"}), Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        ASSERT_EQ(RowWith({"U1"}), 0) << Run("kx::window ccp");
        const int blank = RowWith({"U2"}) + 1;
        ASSERT_EQ(Run("kx::edit ccp " + At(blank, Column("Instance")) + " U1"), "1");
        ASSERT_EQ(Run("kx::edit ccp " + At(blank, Column("Pin Number")) + " A10"), "1");
        ASSERT_NE(Run("kx::netlist").find("U1 DQ<6> DQ<6>"), std::string::npos) << Run("kx::netlist");
        ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"U1", "A10"}), Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::netlist").find("U1 DQ<6>"), std::string::npos);
    });
    EXPECT_EQ(journal.find("Slp().Select(\"DQ\")"), std::string::npos) << journal;
}

// A component dropped into a signal grid waits there for its pin, a row the design (and so a replay) does
// not have: its copy writes no line that selects it, and the paste of what it copied journals its own work.
TEST_F(EditContract, ACopyOfARowWaitingForItsPinReplays) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp MCLK");
        const int free = GridRows().rbegin()->first + 1;
        ASSERT_EQ(Run("kx::drop ccp " + At(free, Column("Instance")) + " component R2"), "1");
        Run("kx::answer question KXTABLE-140 no");
        Run("kx::edit ccp " + At(free, Column("Pin Number")) + " 1");
        ASSERT_EQ(RowWith({"R2"}), free) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(free, Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
        Run("selectWindow clp");
        EXPECT_EQ(Run("kx::clipview 1"), "1");
    });
    EXPECT_EQ(journal.find("SelectInstanceCol(\"R2\",\"\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("AddComponent("), std::string::npos) << journal;
}

// A custom value typed into rows without a pin number replays: a block's pin is selected by its pin name,
// and the row of a dropped component, which waits for its pin (no design has it), is made again by the
// replay's selection of it.
TEST_F(EditContract, ACustomValueTypedIntoARowWithoutPinNumberReplays) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp PG");
        ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"PWR1"}), Column("Instance"))), "1");
        Run("kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}");
        Run("kx::menu 35130");
        ASSERT_EQ(Run("kx::edit ccp " + At(RowWith({"PWR1"}), Column("Volt")) + " 1V8"), "1");
        const int free = GridRows().rbegin()->first + 1;
        ASSERT_EQ(Run("kx::drop ccp " + At(free, Column("Instance")) + " component U2"), "1");
        ASSERT_EQ(Run("kx::edit ccp " + At(free, Column("Volt")) + " 2V5"), "1");
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"PWR1\",\"PGOOD\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("SelectInstanceCol(\"U2\",\"\")"), std::string::npos) << journal;
}

// Pins moved in one edit to a new signal, their terminations dropped and a pin's pull-down carried
// along: the journal deletes each pin's terminations just before its own connect, as the edit did, so
// the replay gives the carried pull-down's part the designator the edit gave it.
TEST_F(EditContract, TerminationsDroppedPinByPinInOneConnectReplayInThatOrder) {
    const size_t start = JournalText().size();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addTermination pin -type Series -part1 -lib discrete -cell resistor "
                  "-view sym -physname R0402 -value 22"),
              "1");
    ASSERT_EQ(Run("selectObject pin MCLK; kx::pane AddConnection EN"), "1");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0");
    Run("kx::answer dialog CKXInstConnDlg ok pins {MCLK PGOOD} signal MOVED; kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1 0"), "1");
    const std::string edited = DesignText();
    ASSERT_NE(edited.find("PullDown @:MOVED"), std::string::npos) << edited;
    const std::string journal = JournalText().substr(start);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    const fs::path file = m_dir / "moved.vbs";
    std::ofstream(file, std::ios::binary) << journal;
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    std::istringstream replayed(DesignText()), wanted(edited);
    for (std::string got, want; std::getline(wanted, want);) {
        std::getline(replayed, got);
        ASSERT_EQ(got, want) << journal;
    }
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
}

// Several connects made in one instance connectivity dialog are one undo step, and so is their replay:
// the journal keeps them together, so that one undo of the replay takes back all of them.
TEST_F(EditContract, InstanceDialogConnectsReplayAsTheOneStepTheyMade) {
    const size_t start = JournalText().size();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const std::string original = DesignText();
    Run("kx::answer dialog CKXInstConnDlg ok pins {PGOOD} signal A1");
    Run("kx::answer dialog CKXInstConnDlg ok pins {MCLK} signal NEWS; kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn U1 0"), "1");
    EXPECT_EQ(Run("kx::history"), "window 1\nundo Instance Connectivity");
    const std::string edited = DesignText();
    const std::string journal = JournalText().substr(start);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    const fs::path file = m_dir / "instconn.vbs";
    std::ofstream(file, std::ios::binary) << journal;
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    EXPECT_TRUE(DesignText() == edited) << journal;
    const std::string history = Run("kx::history");
    EXPECT_EQ(history.rfind("window 1\nundo Instance Connectivity", 0), 0u) << history;
    EXPECT_EQ(history.find("\nundo", history.find("undo") + 1), std::string::npos) << history;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(DesignText() == original);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
}

// A filter typed into a signal grid's filter row is journalled with the signal it filters, so that the
// replay filters that signal's grid and not the grid the replay showed last, whose rows later journal
// lines select.
TEST_F(EditContract, ASignalGridFilterIsJournalledWithItsSignal) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp EN");
        Run("kx::show slp PG");
        Run("kx::edit ccp " + At(3, Column("Instance")) + " U*");
        Run("kx::show slp EN");
        const int row = RowWith({"PWR1"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(row, Column("Instance"))), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    });
    EXPECT_NE(journal.find("Select(\"PG\")\ncall board.ConnectivityPane().FilterRows"), std::string::npos) << journal;
}

// The physical view shows physical nets, also for the bus bits and groups the signal list asks for
// by name: bits and nets that have a physical net are shown in the physical net grid. With U1's
// reference designator gone and U2 deleted, DQ<6> has no physical pin, so the physical view shows
// no logical grid for it whose termination menu would add a termination that the journal's add
// (refused in the physical view) does not make on replay.
TEST_F(EditContract, BusBitsAskedForInThePhysicalViewShowTheirPhysicalNetsAndReplay) {
    const size_t start = JournalText().size();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("kx::select clp U1; kx::call DeleteRefDes"), "1");
    Run("kx::notify INT_MSG_DELETE_INSTANCE -text U2");
    ASSERT_EQ(Run("kx::prop demo.board:sch@U2 LOCATION").rfind("error", 0), 0u) << "U2 is still there";
    ASSERT_TRUE(Open("demo.board:sch", 4));

    // Groups of bits and of whole nets alike.
    std::string shown;
    for (const char* group : {"{LVDS_P<1> LVDS_P<2>}", "{SYSCLK_P SYSCLK_N}"}) {
        SCOPED_TRACE(group);
        Run(std::string("kx::pane slp SelectGroup ") + group);
        shown = Run("kx::window ccp");
        EXPECT_NE(shown.find("CKXPhysNetDetailsGridWnd"), std::string::npos) << shown;
        EXPECT_EQ(shown.find("CKXSignalDetailsGridWnd"), std::string::npos) << shown;
    }

    const std::string before = DesignText();
    for (const char* road : {"kx::show slp {DQ<6>}", "kx::pane slp Select {DQ<6>}"}) {
        SCOPED_TRACE(road);
        Run(road);
        shown = Run("kx::window ccp");
        EXPECT_EQ(shown.find("CKXSignalDetailsGridWnd"), std::string::npos) << shown;
        EXPECT_EQ(shown.find("Termination"), std::string::npos) << shown;
        // U1's pin on the bit, where the grid shows one, asked for a termination through the menu.
        if (const int row = RowWith({"U1"}), col = Column("Pin Number"); row > 0 && col > 0)
            Run("kx::select ccp " + At(row, col));
        Run("kx::answer dialog CKXTerminationDlg ok type Series");
        Run("kx::menu 35522");
        AfxGetAnswerQueue().ClearPending();
        EXPECT_EQ(kxrandom::FirstDifference(DesignText(), before), "");
    }

    const std::string edited = DesignText();
    const std::string journal = JournalText().substr(start);
    for (int open = 2; open > 0 && Doc(); --open) {
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
    const fs::path file = m_dir / "physical.vbs";
    std::ofstream(file, std::ios::binary) << journal;
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    EXPECT_EQ(kxrandom::FirstDifference(DesignText(), edited), "") << journal;
    for (int open = 2; open > 0 && Doc(); --open) {
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
}

namespace {

// A signal grid shows the connections another window on the design makes and takes back, each in a
// blank row of its own that the row's removal does not give back: a filtered grid whose blank rows ran
// out that way adds a row for its next connection. That row is filtered as the blank rows were, so the
// connection stays hidden until the filter is taken off, also in a replay whose grid kept its blank rows;
// the row's Delete then is journalled and replays.
TEST_F(EditContract, AConnectionInAFilteredSignalGridWhoseBlankRowsRanOutStaysFiltered) {
    const std::string journal = ExpectReplayGivesTheSameBoard([this] {
        Run("kx::show slp EN");
        const int instance = Column("Instance");
        ASSERT_TRUE(Open("demo.board:sch", 3));
        Run("kx::show slp EN");
        for (int i = 0; i < 101; ++i) {
            Run("kx::answer question KXTABLE-140 yes");
            ASSERT_EQ(Run("addConnection pin J1:8"), "1");
            ASSERT_EQ(Run("kx::select ccp " + At(RowWith({"J1", "P<8>"}), instance)), "1");
            ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        }
        ASSERT_EQ(Run("kx::tab 1"), "1");
        Run("kx::show slp EN");
        ASSERT_EQ(Run("kx::edit ccp 3 " + std::to_string(instance) + " NOPE"), "1");
        Run("kx::answer question KXTABLE-140 yes");
        ASSERT_EQ(Run("addConnection pin J1:8"), "1");
        EXPECT_EQ(RowWith({"J1", "P<8>"}), 0) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::edit ccp 3 " + std::to_string(instance) + " *"), "1");
        const int row = RowWith({"J1", "P<8>"});
        ASSERT_GT(row, 0) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::select ccp " + At(row, instance)), "1");
        ASSERT_EQ(Run("kx::key ccp Delete"), "1");
        EXPECT_EQ(Run("kx::netlist").find("J1 P<8>"), std::string::npos);
        ASSERT_EQ(Run("kx::tab 2"), "1");
        Run("kx::answer question KXCOMMON-101 no");
        // The first window changed the design since this one's steps: they cannot be taken back, the
        // window stays open and the close answers 0 (KXTABLE-318).
        ASSERT_EQ(Run("kx::close"), "0");
        EXPECT_NE(Transcript().find("close refused"), std::string::npos);
    });
    EXPECT_NE(journal.find("SelectInstanceCol(\"J1\",\"8\")"), std::string::npos) << journal;
}

} // namespace
