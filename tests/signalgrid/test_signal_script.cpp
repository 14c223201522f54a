// The signal grid from the host: a double-click in the signal list, the pane's
// addConnection word and its automation method, and a journal that replays.
#include "SignalGridTestSupport.h"

#include <filesystem>
#include <string>
#include <vector>
#include <fstream>

namespace {

class SignalScript : public SignalGridTest {};

TEST_F(SignalScript, DoubleClickInTheSignalListShowsTheSignal) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(std::string(Grid()->GetTitle()), "N1");
    EXPECT_NE(Run("kx::window ccp").find("| J2 | J2 | S | 25"), std::string::npos);
}

TEST_F(SignalScript, AddConnectionConnectsAndTheGridsOwnEchoIsNotRunTwice) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    EXPECT_EQ(Run("addConnection pin J1:13"), "1");
    EXPECT_NE(Netlist().find("J1 P<3> FREE"), std::string::npos);
    EXPECT_NE(Row("J1", "P<3>"), 0u);
    // One row, one transaction: a single undo takes it back.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist().find("J1 P<3> FREE"), std::string::npos);
    // Wrong forms are refused.
    EXPECT_EQ(Run("addConnection pin J1"), "0"); // no pin number: the usage, nothing connected
    EXPECT_EQ(Run("addConnection pin J1:"), "0");
    EXPECT_EQ(Run("addConnection pin NOPE:13"), "0");
    EXPECT_EQ(Run("addConnection pin J1:13:x"), "0");
    EXPECT_EQ(Netlist().find("J1 P<3> FREE"), std::string::npos);
}

TEST_F(SignalScript, BusConnectionWithBitsAndSignalName) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    EXPECT_EQ(Run("addConnection pin J2:23:2:2:DATA"), "1");
    EXPECT_NE(Netlist().find("J2 P<3> DATA<2>"), std::string::npos);
    // A signal that is not shown is refused.
    EXPECT_EQ(Run("addConnection pin J2:24:3:3:N1"), "0");
    EXPECT_EQ(Netlist().find("J2 P<4>"), std::string::npos);
}

// A connection by name that names a signal the grid does not show, bits the signal lacks, or bits that do not
// fit the signal's kind connects nothing, and its message names that cause, not a pin that matches nothing.
TEST_F(SignalScript, AddConnectionRefusalsNameTheirCause) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const std::string before = Netlist();
    Messages();
    using Ids = std::vector<std::string>;
    EXPECT_EQ(Run("addConnection pin J2:24:0:0:N1"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-560"});
    EXPECT_EQ(Run("addConnection pin J2:24:7:7:DATA"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-561"});
    EXPECT_EQ(Run("addConnection pin J2:24"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-562"});
    EXPECT_EQ(Run("kx::pane AssignConnectivity J2 24 -1 -1"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-562"});
    Run("kx::show slp FREE");
    EXPECT_EQ(Run("addConnection pin J1:15:1:1"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-563"});
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

TEST_F(SignalScript, AKeyGivenAsAListReadsAsItsValuesJoinedWithColons) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    EXPECT_EQ(Run("addConnection pin [list J2 23 2]"), "1");
    EXPECT_NE(Netlist().find("J2 P<3> DATA<2>"), std::string::npos) << Netlist();
    EXPECT_EQ(Run("addConnection pin [list J2 24 3 3 DATA]"), "1");
    EXPECT_NE(Netlist().find("J2 P<4> DATA<3>"), std::string::npos) << Netlist();
}

TEST_F(SignalScript, JournalOfAConnectionReplaysToTheSameDesign) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ASSERT_EQ(Run("addConnection pin J2:24"), "1");
    const std::string after = Netlist();
    const std::string journal = JournalText();
    ASSERT_NE(journal.find("AssignConnectivity(\"J2\",\"24\",\"-1\",\"-1\")"), std::string::npos) << journal;
    // Back to the design as it was, then replay the journal's lines from the window's handle on.
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist().find("J2 P<4> FREE"), std::string::npos);
    std::filesystem::path replay = m_dir / "replay.vbs";
    ASSERT_NE(journal.find("set "), std::string::npos) << journal;
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Netlist(), after);
}

TEST_F(SignalScript, TypingAPinNameThroughTheHostsHandsConnectsIt) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const std::string before = Netlist();
    const std::string row = std::to_string(Grid()->FindFirstEmptyRow());
    const std::string instance = std::to_string(G::m_nColInstance), pin = std::to_string(G::m_nColPinName);
    EXPECT_EQ(Run("kx::edit ccp " + row + " " + instance + " J1"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + row + " " + pin + " {P<3>}"), "1");
    EXPECT_NE(Netlist().find("J1 P<3> FREE"), std::string::npos);
    EXPECT_NE(Run("kx::window ccp").find("J1 | J1 | P<3> | 13"), std::string::npos) << Run("kx::window ccp");
    // A pin the component does not have is refused and changes nothing.
    const std::string next = std::to_string(Grid()->FindFirstEmptyRow());
    EXPECT_EQ(Run("kx::edit ccp " + next + " " + instance + " J2"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + next + " " + pin + " Q"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-119");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
}

} // namespace

// A model assigned in the signal grid is journalled as the row's selection and the pane's
// AssignModel: undone, the journal's lines give the model back.
TEST_F(SignalScript, JournalOfAModelReplaysOnTheSameRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    ASSERT_EQ(Run("assignModel pin SIGMODEL [list 25 J2 -1 -1]"), "1");
    const std::string model = Run("kx::prop work.board:sch@J2.S PIN_SIGNAL_MODEL");
    ASSERT_EQ(model, "SIGMODEL");
    const std::string journal = JournalText();
    ASSERT_NE(journal.find("AssignModel(\"SIGMODEL\")"), std::string::npos) << journal;
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_NE(Run("kx::prop work.board:sch@J2.S PIN_SIGNAL_MODEL"), model);
    std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2.S PIN_SIGNAL_MODEL"), model);
}

namespace {

// The board with a block beside the connectors: its pins have no numbers, so the grid and the
// journal name them by their pin names, a bus pin's bits as D<3> or D<4..1>.
class BlockPinScript : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.symbol("blk").bus("D", 4, 1).port("E");
        b.schematic("board").instance("B1", "blk", "B1").net("WIDE", 3, 0);
    }
    // Undoes the last edit and replays the journal's lines in its place: the netlist it gives.
    std::string Replayed(const std::string& journal) {
        EXPECT_EQ(Run("undo"), "1");
        std::filesystem::path replay = m_dir / "replay.vbs";
        std::ofstream(replay) << journal.substr(journal.find("set "));
        EXPECT_EQ(Run("kx::replay " + replay.string()), "1") << Messages().back();
        return Netlist();
    }
};

TEST_F(BlockPinScript, AddConnectionOfABlockPinKeepsItsRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    Echoes();
    ASSERT_EQ(Run("addConnection pin B1:E"), "1");
    // The echo names the pin as the word does: by its name, since it has no number.
    const std::vector<std::string> echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "addConnection pin [list B1 E -1 -1 FREE]");
    EXPECT_NE(Netlist().find("B1 E FREE"), std::string::npos);
    const ROWCOL row = Row("B1", "E");
    ASSERT_NE(row, 0u) << Run("kx::window ccp");
    EXPECT_GE(Grid()->GetRowPinId(row), 0);
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "");
}

TEST_F(BlockPinScript, ABitOfABlocksBusPinReplaysToTheSameDesign) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    ASSERT_EQ(Run("addConnection pin {B1:D<3>:0:0:DATA}"), "1") << Messages().back();
    const std::string after = Netlist();
    ASSERT_NE(after.find("B1 D<3> DATA<0>"), std::string::npos) << after;
    const std::string journal = JournalText();
    ASSERT_NE(journal.find("AssignConnectivity(\"B1\",\"D<3>\",\"0\",\"0\")"), std::string::npos) << journal;
    EXPECT_EQ(Replayed(journal), after);
    EXPECT_NE(Row("B1", "D<3>"), 0u) << Run("kx::window ccp");
}

TEST_F(BlockPinScript, AWholeBlockBusPinByItsNameConnectsAndReplays) {
    ASSERT_TRUE(Open());
    Run("kx::show slp WIDE");
    ASSERT_EQ(Run("addConnection pin {B1:D<4..1>:3:0:WIDE}"), "1") << Messages().back();
    const std::string after = Netlist();
    EXPECT_NE(after.find("B1 D<4> WIDE<3>"), std::string::npos) << after;
    EXPECT_NE(after.find("B1 D<1> WIDE<0>"), std::string::npos) << after;
    EXPECT_NE(Row("B1", "D<4..1>"), 0u) << Run("kx::window ccp");
    EXPECT_EQ(Replayed(JournalText()), after);
}

} // namespace
