// What the pin grid does with a committed transaction on the example board: pin numbers and sections
// changed by another window show in its rows, and with the project's auto_connect_dpleg on, a leg of a
// pair connected by the grid's own edit brings the other leg along in the same undo step, while a
// change from outside is left as it was made.
#include "PinGridBoardFixture.h"

#include "grid/KXGridEdit.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/transaction.h"

#include <filesystem>
#include <fstream>

namespace {

using G = CKXInstanceDetailsGridWnd;

class CommitRefresh : public PinGridBoard {
protected:
    static constexpr unsigned kWhole = static_cast<unsigned>(-1);
    CDesignContext Board() { return CDesignContext(m_app->Server(), "demo.board:sch"); }
    CInstTermContext Pin(const char* name) { return Board().instance("U1").instTerm(name); }
    // Another window's edit: committed, then announced to every subscribed window.
    template <class F> void CommitElsewhere(F fill) {
        CTransaction t(Board(), "elsewhere");
        fill(t);
        ASSERT_TRUE(t.commit()) << t.lastError().GetString();
        GetKXMsgSrvr()->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t));
    }
    std::string Number(const std::string& pin) { return CellText(PinRow(pin), G::m_nColPinNumber); }
    std::string Signal(const std::string& pin) { return CellText(PinRow(pin), G::m_nColSignal); }
};

TEST_F(CommitRefresh, PinNumbersSwappedElsewhereShowInTheRows) {
    OpenBoard();
    ASSERT_EQ(Number("PGOOD"), "C10");
    ASSERT_EQ(Number("RST_N"), "C9");
    CommitElsewhere([&](CTransaction& t) {
        ASSERT_TRUE(t.addProperty(Pin("PGOOD"), "PN", "C9", 2, false));
        ASSERT_TRUE(t.addProperty(Pin("RST_N"), "PN", "C10", 2, false));
    });
    EXPECT_EQ(Number("PGOOD"), "C9");
    EXPECT_EQ(Number("RST_N"), "C10");
    // The signals stay with the pins.
    EXPECT_EQ(Signal("PGOOD"), "PG");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
}

TEST_F(CommitRefresh, ASwappedNumberOfABusBitShowsInItsBitRowAndTheBusRow) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    CommitElsewhere([&](CTransaction& t) {
        ASSERT_TRUE(t.addProperty(Pin("DQ").bitContext(0), "PN", "Z9", 2, false));
    });
    EXPECT_EQ(Number("DQ<0>"), "Z9");
    EXPECT_NE(Number("DQ<15..0>").find("Z9"), std::string::npos) << Number("DQ<15..0>");
}

// A pin number the host sets on a pin that had none, or takes away, shows in the row as a changed one
// does; the pin keeps its signal.
TEST_F(CommitRefresh, APinNumberSetOrTakenAwayByTheHostShowsInTheRow) {
    OpenBoard();
    ASSERT_EQ(Number("RST_N"), "C9");
    ASSERT_EQ(Run("kx::setprop demo.board:sch@U1.RST_N PN {}"), "1");
    ASSERT_EQ(Run("kx::prop demo.board:sch@U1.RST_N PN"), "");
    EXPECT_EQ(Number("RST_N"), "");
    ASSERT_EQ(Run("kx::setprop demo.board:sch@U1.RST_N PN C11"), "1");
    EXPECT_EQ(Number("RST_N"), "C11");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
    EXPECT_EQ(Number("PGOOD"), "C10");
}

// The grid's own swap of pin numbers and a number taken from the menu: the rows (a bus row's joined
// numbers too) follow the edit and its undo.
TEST_F(CommitRefresh, PinsSwappedOrRenumberedInTheGridShowInItsRowsUntilUndone) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    setenv("KX_ALLOW_SWAP_PINS", "", 1);
    Run("kx::select ccp " + std::to_string(PinRow("DQ<3>")) + " " + std::to_string(G::m_nColSignal));
    EXPECT_EQ(Run("kx::pane SwapPins A12"), "1");
    unsetenv("KX_ALLOW_SWAP_PINS");
    EXPECT_EQ(Number("DQ<3>"), "A12");
    EXPECT_EQ(Number("DQ<4>"), "A13");
    EXPECT_NE(Number("DQ<15..0>").find("A11,A13,A12,A14"), std::string::npos) << Number("DQ<15..0>");
    EXPECT_EQ(Signal("DQ<3>"), "DQ<3>"); // the signals stay with the pins
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Number("DQ<3>"), "A13");
    EXPECT_EQ(Number("DQ<4>"), "A12");

    Run("kx::show clp RN1A");
    Run("kx::select ccp " + std::to_string(PinRow("A")) + " " + std::to_string(G::m_nColPinNumber));
    // Pin 2 is of the section RN1B holds: the package would have two pins 2, so nothing changes.
    Messages();
    EXPECT_EQ(Run("assignPinNumber pin 2"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-343"});
    EXPECT_EQ(Number("A"), "1");
    EXPECT_EQ(Number("B"), "8");
}

// With no pin chosen, assignPinNumber gives no pin the number and says that no pin is selected.
TEST_F(CommitRefresh, AssignPinNumberWithNoPinChosenAssignsNothing) {
    OpenBoard();
    Run("kx::show clp RN1A");
    Messages();
    EXPECT_EQ(Run("assignPinNumber pin 3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-570"});
    EXPECT_EQ(Run("kx::pane AssignPinNumber 3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-570"});
    EXPECT_FALSE(Doc()->IsModified());
}

class PairLegs : public CommitRefresh {
protected:
    void SetUp() override {
        CommitRefresh::SetUp();
        Option("on");
    }
    void Option(const char* value) {
        const std::filesystem::path file = m_dir / "legs.prj";
        std::ofstream(file) << "[GRIDWORKSHOP]\nauto_connect_dpleg " << value << "\n";
        std::string error;
        ASSERT_TRUE(m_app->LoadProject(file.string(), error)) << error;
    }
    bool Connected(const std::string& line) { return Run("kx::netlist").find(line + "\n") != std::string::npos; }
    // The board with both legs of U1's CLK pair open.
    void OpenWithOpenLegs() {
        OpenBoard();
        ASSERT_EQ(Run("expandPins pin on"), "1");
        for (const char* leg : {"CLK_P", "CLK_N"})
            ASSERT_EQ(Run("kx::edit ccp " + std::to_string(PinRow(leg)) + " " + std::to_string(G::m_nColSignal) + " {}"),
                      "1");
        ASSERT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
        ASSERT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
    }
    // The grid's own edit connecting only the positive leg.
    BOOL ConnectPositiveLegInGridEdit() {
        CKXGridEdit edit(*Grid(), Board(), "Add Conn");
        if (!edit) return FALSE;
        INet* net = Board().design()->findNet("SYSCLK_P");
        if (!net || !edit.Transaction()->addConn(net, kWhole, kWhole, Pin("CLK_P").instTerm(), kWhole, kWhole, 0)) return FALSE;
        return edit.Commit();
    }
};

TEST_F(PairLegs, TheGridsOwnEditBringsTheOtherLegAlongInOneStep) {
    OpenWithOpenLegs();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_TRUE(ConnectPositiveLegInGridEdit());
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P")) << Run("kx::netlist");
    EXPECT_TRUE(Connected("U1 CLK_N SYSCLK_N")) << Run("kx::netlist");
    EXPECT_EQ(Signal("CLK_N"), "SYSCLK_N");
    EXPECT_EQ(Signal("CLK"), "SYSCLK"); // the pair row follows the leg brought along
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("undo");
    EXPECT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

TEST_F(PairLegs, ALegTheUserConnectedElsewhereIsNotMoved) {
    OpenWithOpenLegs();
    ASSERT_EQ(Run("kx::edit ccp " + std::to_string(PinRow("CLK_N")) + " " + std::to_string(G::m_nColSignal) + " OTHER"),
              "1");
    ASSERT_TRUE(ConnectPositiveLegInGridEdit());
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_TRUE(Connected("U1 CLK_N OTHER")) << Run("kx::netlist");
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

TEST_F(PairLegs, AChangeFromOutsideOrWithTheOptionOffConnectsNothingMore) {
    OpenWithOpenLegs();
    CommitElsewhere([&](CTransaction& t) {
        INet* net = Board().design()->findNet("SYSCLK_P");
        ASSERT_TRUE(net);
        ASSERT_TRUE(t.addConn(net, kWhole, kWhole, Pin("CLK_P").instTerm(), kWhole, kWhole, 0));
    });
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
    Option("off");
    Run("kx::edit ccp " + std::to_string(PinRow("CLK_P")) + " " + std::to_string(G::m_nColSignal) + " {}");
    ASSERT_TRUE(ConnectPositiveLegInGridEdit());
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

} // namespace

namespace {

// Two pin grids side by side, both told of every commit: a leg connected by one grid's edit brings the
// other leg along once, in the edit's own undo step and journal entry; a journal replayed or an
// automation call connects it once as well.
class PairLegsSideBySide : public PairLegs {
protected:
    void OpenTwoWithOpenLegs() {
        OpenBoard("U1 U2");
        ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u) << Run("kx::window ccp");
        ASSERT_EQ(Run("kx::grid ccp 1"), "1");
        ASSERT_NE(PinRow("CLK_P"), 0u) << Run("kx::window ccp");
        ASSERT_EQ(Run("expandPins pin on"), "1");
        for (const char* leg : {"CLK_P", "CLK_N"})
            ASSERT_EQ(TypeSignal(leg, ""), "1");
        ASSERT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
        ASSERT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
    }
    std::string TypeSignal(const char* pin, const std::string& text) {
        return Run("kx::edit ccp " + std::to_string(PinRow(pin)) + " " + std::to_string(G::m_nColSignal) + " {" +
                   text + "}");
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
};

TEST_F(PairLegsSideBySide, ATypedLegIsOneStepAndOneJournalEntryWithBothLegs) {
    OpenTwoWithOpenLegs();
    const int steps = Ccp()->GetUndoStepCount();
    const size_t journalAt = JournalText().size();
    ASSERT_EQ(TypeSignal("CLK_P", "SYSCLK_P"), "1");
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_TRUE(Connected("U1 CLK_N SYSCLK_N")) << Run("kx::netlist");
    EXPECT_EQ(Signal("CLK_N"), "SYSCLK_N");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string entry = JournalText().substr(journalAt);
    EXPECT_EQ(Count(entry, " --- "), 1) << entry;
    EXPECT_EQ(Count(entry, "SYSCLK_N"), 0) << entry; // the replayed edit brings the other leg itself
    Run("undo");
    EXPECT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(PairLegsSideBySide, ALegAttachedThroughThePaneIsOneStep) {
    OpenTwoWithOpenLegs();
    const int steps = Ccp()->GetUndoStepCount();
    const size_t journalAt = JournalText().size();
    const std::string pin = "CLK_P:" + CellText(PinRow("CLK_P"), G::m_nColPinNumber);
    ASSERT_EQ(Run("addConnection pin SYSCLK_P " + pin), "2") << pin; // a plain signal name
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_TRUE(Connected("U1 CLK_N SYSCLK_N")) << Run("kx::netlist");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Count(JournalText().substr(journalAt), " --- "), 1) << JournalText().substr(journalAt);
    Run("undo");
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

TEST_F(PairLegsSideBySide, AnAutomationCallConnectsTheOtherLegOnce) {
    OpenTwoWithOpenLegs();
    const int steps = Ccp()->GetUndoStepCount();
    Run("selectObject pin CLK_P");
    ASSERT_EQ(Run("kx::pane AddConnection SYSCLK_P"), "1") << Run("kx::messages");
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_TRUE(Connected("U1 CLK_N SYSCLK_N")) << Run("kx::netlist");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("undo");
    EXPECT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

TEST_F(PairLegsSideBySide, AReplayedJournalConnectsTheOtherLegOnce) {
    OpenTwoWithOpenLegs();
    const size_t journalAt = JournalText().size();
    ASSERT_EQ(TypeSignal("CLK_P", "SYSCLK_P"), "1");
    const std::filesystem::path journal = m_dir / "leg.vbs";
    std::ofstream(journal, std::ios::binary) << JournalText().substr(journalAt);
    Run("undo");
    ASSERT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_TRUE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_TRUE(Connected("U1 CLK_N SYSCLK_N")) << Run("kx::netlist");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("undo");
    EXPECT_FALSE(Connected("U1 CLK_P SYSCLK_P"));
    EXPECT_FALSE(Connected("U1 CLK_N SYSCLK_N"));
}

} // namespace

namespace {

// A part of three sections whose instances are not of the packaged-pin-list kind (no CHIPS_PART_NAME):
// U5A holds section 1 of the package U5, U5B section 2, section 3 is free. A pin number of another
// section moves the whole instance to that section, and its pins take that section's numbers.
class SectionMoves : public PinGridBoard {
protected:
    void EditDemo() override {
        std::ofstream(m_demo / "GATE.sym.design") << "rmx-design 1\ndesign demo GATE sym symbol\nnumber 1\n"
                                                     "port A -1 -1 in unknown\nport Y -1 -1 out unknown\n"
                                                     "prop @ PART_NAME \"GATE3\" 0\n";
        std::ofstream(m_demo / "GATE3.part") << "rmx-part 1\npart GATE3\nsection 1\nsection 2\nsection 3\n"
                                                "pin 1 A 1 input 0\npin 2 Y 1 output 0\npin 3 A 2 input 0\n"
                                                "pin 4 Y 2 output 0\npin 5 A 3 input 0\npin 6 Y 3 output 0\n";
        ReplaceLine("board.sch.design", "inst U2 demo SDRAM sym",
                    "inst U5A demo GATE sym\npin U5A A -1 -1 in input\npin U5A Y -1 -1 out output\n"
                    "inst U5B demo GATE sym\npin U5B A -1 -1 in input\npin U5B Y -1 -1 out output\n"
                    "inst U2 demo SDRAM sym");
        ReplaceLine("board.sch.design", "prop @RN1A LOCATION \"RN1\" 0",
                    "prop @RN1A LOCATION \"RN1\" 0\n"
                    "prop @U5A LOCATION \"U5\" 0\nprop @U5A SEC \"1\" 0\nprop @U5A.A PN \"1\" 0\n"
                    "prop @U5A.Y PN \"2\" 0\nprop @U5B LOCATION \"U5\" 0\nprop @U5B SEC \"2\" 0\n"
                    "prop @U5B.A PN \"3\" 0\nprop @U5B.Y PN \"4\" 0");
    }
    // SEC of U5A and U5B, then PN of U5A.A, U5A.Y, U5B.A, U5B.Y.
    std::string Sections() {
        std::string text;
        for (const char* path : {"@U5A SEC", "@U5B SEC", "@U5A.A PN", "@U5A.Y PN", "@U5B.A PN", "@U5B.Y PN"})
            text += (text.empty() ? "" : " ") + Run(std::string("kx::prop demo.board:sch") + path);
        return text;
    }
    std::string Number(const std::string& pin) { return CellText(PinRow(pin), G::m_nColPinNumber); }
    void OpenU5A() {
        OpenBoard("U5A", 3);
        Run("kx::select ccp " + std::to_string(PinRow("A")) + " " + std::to_string(G::m_nColPinNumber));
        Messages();
    }
};

TEST_F(SectionMoves, ASectionAnotherInstanceHoldsIsExchangedWithItsPinNumbers) {
    OpenU5A();
    ASSERT_EQ(Sections(), "1 2 1 2 3 4");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer question KXTABLE-133 ok");
    EXPECT_EQ(Run("assignPinNumber pin 3"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-133"});
    EXPECT_EQ(Sections(), "2 1 3 4 1 2");
    EXPECT_EQ(Number("A"), "3");
    EXPECT_EQ(Number("Y"), "4");
    // One undo step takes both instances back, sections and numbers.
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Sections(), "1 2 1 2 3 4");
    EXPECT_EQ(Number("A"), "1");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Sections(), "2 1 3 4 1 2");
    EXPECT_EQ(Number("Y"), "4");
}

TEST_F(SectionMoves, AFreeSectionIsTakenWithItsPinNumbersAndARefusedExchangeChangesNothing) {
    OpenU5A();
    EXPECT_EQ(Run("assignPinNumber pin 5"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Sections(), "3 2 5 6 3 4");
    EXPECT_EQ(Number("A"), "5");
    // Back to section 2's numbers, held by U5B: refused at the question, neither sections nor numbers move.
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer question KXTABLE-133 cancel");
    EXPECT_EQ(Run("assignPinNumber pin 3"), "2");
    EXPECT_EQ(Sections(), "3 2 5 6 3 4");
    // The automation method assigned nothing either.
    Run("kx::answer question KXTABLE-133 cancel");
    EXPECT_EQ(Run("kx::pane AssignPinNumber 3"), "0");
    EXPECT_EQ(Sections(), "3 2 5 6 3 4");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

} // namespace
