// Terminations, pull-ups/pull-downs and pin models in the pin grid, end to end on the example board:
// the pane's words, menus and automation, what the cells show, the saved design, undo, the journal
// and its replay, and refusals that leave the design as it was.
#include "../connedit/ConnEditFixture.h"

#include "afx/afxanswer.h"
#include "grid/KXGridEdit.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcontrols/KXProgressBar.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

class Assoc : public ConnEditFixture {
protected:
    size_t SelectedRows() {
        CRowColArray rows;
        Grid()->GetSelectedRows(rows, FALSE, TRUE);
        return static_cast<size_t>(rows.GetSize());
    }
    // Runs a refused word and checks that it changed nothing: same design, no undo step, no journal.
    void ExpectRefused(const std::string& word, const std::string& message) {
        const std::string before = Saved();
        const int steps = Steps();
        const std::string journal = JournalText();
        Messages();
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << word;
        EXPECT_TRUE(Saved() == before) << word << ": the design changed";
        EXPECT_EQ(Steps(), steps) << word;
        EXPECT_EQ(JournalText(), journal) << word;
    }
};

TEST_F(Assoc, ExampleBoardCellsShowItsTerminationsAndPullUps) {
    OpenBoard();
    EXPECT_TRUE(RowShows("MCLK", "Series")) << Row("MCLK");
    EXPECT_TRUE(RowShows("CLK", "Shunt")) << Row("CLK"); // a pair pin's termination
    EXPECT_TRUE(RowShows("RST_N", "Local Pullup")) << Row("RST_N");
    EXPECT_FALSE(RowShows("PGOOD", "Series"));
    // J1's pin on RST_IN, joined to RESET_N, inherits its pull-up.
    Run("kx::show clp J1");
    Run("expandPins pin on");
    EXPECT_TRUE(RowShows("P<10>", "Inherited Pullup")) << Run("kx::window ccp");
    EXPECT_FALSE(RowShows("P<9>", "Inherited Pullup"));
}

TEST_F(Assoc, TerminationWordAddsShowsJournalsAndUndoes) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run(kSeries22), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Series")) << Row("PGOOD");
    const std::string after = Saved();
    EXPECT_NE(after.find("1 Series @U1.PGOOD"), std::string::npos) << after;
    EXPECT_NE(after.find("SLOT0.VALUE \"22\""), std::string::npos);
    EXPECT_NE(after.find("SLOT0.PHYSNAME \"R0402\""), std::string::npos);
    EXPECT_EQ(Steps(), steps + 1);
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("SelectTerminationCol(\"PGOOD\",\"C10\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().InitTermination(\"type=Series;"), std::string::npos);
    EXPECT_NE(journal.find(".ConnectivityPane().AddTermination()"), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == before);
    EXPECT_FALSE(RowShows("PGOOD", "Series"));
}

TEST_F(Assoc, TerminationRefusalsLeaveTheDesignAsItWas) {
    OpenBoard();
    Run("selectObject pin MCLK");
    ExpectRefused(kSeries22, "KXTABLE-209"); // MCLK has one already
    Run("selectObject pin PGOOD");
    // A Thevenin termination has two parts; one given.
    ExpectRefused("addTermination pin -type Thevenin -part1 -lib discrete -cell resistor -view sym -physname R",
                  "KXTABLE-214");
    ExpectRefused("addTermination pin -type Series -part1 -lib discrete -view sym -physname R", "KXTABLE-211");
    ExpectRefused("addTermination pin -type Nothing -part1 -lib d -cell c -view v -physname p", "KXTABLE-214");
    // A ShuntRC termination has a resistor and a capacitor; one given is the slot-count refusal.
    ExpectRefused("addTermination pin -type ShuntRC -part1 -lib discrete -cell resistor -view sym -physname R0402",
                  "KXTABLE-214");
    // Two to fifteen words that do not read are incomplete parts; other bad operands show the usage.
    ExpectRefused("addTermination pin -type Series -part99999999 -lib d", "KXTABLE-211");
    ExpectRefused("addTermination pin -type Series -lib", "KXTABLE-211");
    ExpectRefused("addTermination pin -bogus x", "KXTABLE-211");
    ExpectRefused("addTermination pin a b c", "KXTABLE-211");
    ExpectRefused("addTermination pin -bogus", "KXPANE-241");
    ExpectRefused("deleteTermination pin PGOOD", "KXTABLE-218"); // nothing to delete
    ExpectRefused("editTermination pin -oldrefdes R1 -delay 1ns", "KXTABLE-212");
}

// An edit of a termination that gives it what it has already says that nothing changed, by the word and
// by the pane's method alike, not that the pin has no termination.
TEST_F(Assoc, TerminationEditThatChangesNothingSaysSo) {
    OpenBoard();
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("editTermination pin -delay 1ns"), "1") << ::testing::PrintToString(Messages());
    ExpectRefused("editTermination pin -delay 1ns", "KXTABLE-267");
    Run("kx::pane SelectTerminationCol MCLK B14");
    Messages();
    EXPECT_EQ(Run("kx::pane EditTermination \"-delay 1ns\""), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"});
}

// A pin selected before the current cell went to the filter row (a filter typed there) is selected no
// longer: the add, with or without its parts, says that no pin is selected rather than that the pins
// cannot take one; with a pin selected again it goes on.
TEST_F(Assoc, TerminationWithTheCurrentCellOnTheFilterRowSaysNoPinIsSelected) {
    OpenBoard();
    const int row = PinRow("PGOOD");
    ASSERT_TRUE(row);
    Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColTermination));
    ASSERT_EQ(Run("kx::edit ccp 4 " + std::to_string(CKXInstanceDetailsGridWnd::m_nColPinName) + " P*"), "1");
    ASSERT_EQ(Run("kx::grid ccp cell").substr(0, 2), "4 ");
    ExpectRefused(kSeries22, "KXTABLE-396");
    ExpectRefused("addTermination pin", "KXTABLE-396");
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run(kSeries22), "1");
}

TEST_F(Assoc, TerminationsOfSeveralPinsAreCheckedTogether) {
    OpenBoard();
    // Input and output pins together: refused.
    Run("selectObject pin PGOOD MCLK");
    ExpectRefused(kSeries22, "KXTABLE-103");
    // Two inputs, one with a termination already.
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run(kSeries22), "1");
    Run("selectObject pin PGOOD RST_N");
    ASSERT_EQ(SelectedRows(), 2u);
    ExpectRefused(kSeries22, "KXTABLE-114");
}

TEST_F(Assoc, DeleteAndEditTermination) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin MCLK");
    EXPECT_EQ(Run("editTermination pin -oldrefdes R1 -delay 2ns"), "0"); // RT2 has no designator R1
    EXPECT_TRUE(Saved() == before);
    Messages();
    EXPECT_EQ(Run("editTermination pin -id RT2 -delay 2ns"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved().find("DELAY \"2ns\""), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Run("deleteTermination pin MCLK"), "1");
    EXPECT_FALSE(RowShows("MCLK", "Series"));
    EXPECT_EQ(Saved().find("Series @U1.MCLK"), std::string::npos);
    EXPECT_NE(JournalText().find("SelectTerminationCol(\"MCLK\",\"B14\")\n\n ' --- Delete ---\ncall board"
                                 ".ConnectivityPane().Delete()"),
              std::string::npos)
        << JournalText();
    Run("undo");
    EXPECT_TRUE(Saved() == before);
    EXPECT_TRUE(RowShows("MCLK", "Series"));
}

// Deleting terminations and pull-ups shows a progress step per pin bit, pair pin or net bit, each named
// ("NAME(BIT)", a scalar by its name alone), and ends on "Committing Data" when something was deleted.
TEST_F(Assoc, DeletesShowAStepNamingEachPinOrNetBit) {
    OpenBoard();
    Run("expandPins pin on");
    std::vector<std::string> steps;
    CKXProgressBar::SetPumpHook([&steps]() -> BOOL {
        if (CKXProgressBar::m_pProgressBar) steps.emplace_back(CKXProgressBar::m_pProgressBar->GetText().GetString());
        return TRUE;
    });
    EXPECT_EQ(Run("deleteTermination pin {DQ<1>} MCLK CLK"), "1");
    const std::vector<std::string> terminations = steps;
    steps.clear();
    Run("kx::word selectObject pin RST_N");
    EXPECT_EQ(Run("deletePupd pin"), "1");
    const std::vector<std::string> pupds = steps;
    CKXProgressBar::SetPumpHook(nullptr);
    EXPECT_EQ(terminations, (std::vector<std::string>{"Deleting Termination(s): DQ(1)", "Deleting Termination(s): MCLK",
                                                      "Deleting Termination(s): CLK"}));
    EXPECT_EQ(pupds, std::vector<std::string>{"Deleting Pullup(s)/Pulldown(s): RESET_N"});
    EXPECT_NE(Transcript().find("progress: Deleting Pullup(s)/Pulldown(s): Committing Data 1 of 1"), std::string::npos)
        << Transcript();
}

// The journal selects the component, then the very row of the pull-up: a bus's bit row by the bit's name and
// number, so that a replay puts the pull-up on the same net bit.
TEST_F(Assoc, APullUpOnABusBitJournalsTheSelectionOfThatBitsRow) {
    OpenBoard();
    const std::string opened = Saved();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    ASSERT_EQ(Run("selectObject pin {DQ<1>}"), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3"), "1") << ::testing::PrintToString(Messages());
    const std::string journal = JournalText();
    const std::size_t select = journal.find("Clp().Select(\"U1\")");
    const std::size_t row = journal.find("SelectPUPDCol(\"DQ<1>\",\"");
    ASSERT_NE(select, std::string::npos) << journal;
    ASSERT_NE(row, std::string::npos) << journal;
    EXPECT_LT(select, row);
    EXPECT_LT(row, journal.find("AddPUPD"));
    const std::string added = Saved();
    EXPECT_EQ(Replayed(opened), added);
}

TEST_F(Assoc, PullUpWordAddsToTheNetBitAndDeletes) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run("addPupd pin -type PullDown -dcnet VCC3V3 -value 1k"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(RowShows("PGOOD", "Local PullDown")) << Row("PGOOD");
    const std::string added = Saved();
    EXPECT_NE(added.find("2 Pulldown @:PG"), std::string::npos) << added;
    EXPECT_NE(added.find("DCNET \"VCC3V3\""), std::string::npos);
    EXPECT_NE(JournalText().find("SelectPUPDCol(\"PGOOD\",\"C10\")"), std::string::npos);
    // A second pull-down on the same net bit is refused; a pull-up joins it.
    ExpectRefused("addPupd pin -type pulldown -dcnet VCC3V3", "KXTABLE-217");
    EXPECT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Local PuPd")) << Row("PGOOD");
    EXPECT_EQ(Run("deletePupd pin PD1"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    EXPECT_EQ(Run("deletePupd pin"), "1");
    EXPECT_FALSE(RowShows("PGOOD", "Local Pullup"));
    Run("undo");
    Run("undo");
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(Assoc, PullUpRefusals) {
    OpenBoard();
    Run("selectObject pin PGOOD");
    ExpectRefused("addPupd pin -type up -dcnet VCC3V3", "KXPANE-241");
    ExpectRefused("addPupd pin -type pullup", "KXPANE-241");                        // no DC net
    ExpectRefused("addPupd pin -type pullup -dcnet NOSUCHNET", "KXTABLE-217");      // unknown DC net
    ExpectRefused("editPupd pin PU1 -keyprop [list A B=1]", "KXPANE-243");              // A has no "="
    ExpectRefused("deletePupd pin [list a 1] b", "KXPANE-242");                         // a mix
    ExpectRefused("deletePupd pin", "KXTABLE-220");                                // nothing on PG
    Run("selectObject pin {A<12..0>}");
    ExpectRefused("addPupd pin -type pullup -dcnet VCC3V3", "KXTABLE-219");        // a bus row
}

TEST_F(Assoc, EditPupdChangesTheNamedPullUp) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin RST_N");
    EXPECT_EQ(Run("editPupd pin RP1 -dcnets VCC3V3 -keyprop {TOL=1%}"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved().find("DCNET \"VCC3V3\""), std::string::npos);
    ExpectRefused("editPupd pin NOSUCH -dcnets VCC3V3", "KXTABLE-217");
    // An option the word does not know, or a second name, is no pull-up name: the usage.
    ExpectRefused("editPupd pin RP1 -value 4k7", "KXPANE-243");
    ExpectRefused("editPupd pin RP1 RP2 -refdes R9", "KXPANE-243");
    // Given what it has already, it says that nothing changed (by the word and the pane's method).
    ExpectRefused("editPupd pin RP1 -dcnets VCC3V3 -keyprop {TOL=1%}", "KXTABLE-267");
    Run("kx::pane SelectPUPDCol RST_N C9");
    Messages();
    EXPECT_EQ(Run("kx::pane EditPUPD \"RP1 -dcnets VCC3V3\""), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"});
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(Assoc, AutomationRoadsAddAndRetime) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin PGOOD");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    Messages();
    Run("kx::pane InitTermination Shunt");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddTermination"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Shunt")) << Row("PGOOD");
    EXPECT_EQ(Run("kx::pane ChangeDelay 3ns"), "1");
    EXPECT_NE(Saved().find("DELAY \"3ns\""), std::string::npos);
    // A pin that already has a termination, and an unknown type: refused, nothing changes.
    const std::string terminated = Saved();
    Run("kx::pane SelectTerminationCol MCLK B14");
    EXPECT_EQ(Run("kx::pane ChangeDelay 1ns"), "1");
    Run("undo");
    EXPECT_TRUE(Saved() == terminated);
    Run("kx::pane SelectPUPDCol PGOOD C10");
    Run("kx::pane InitPUPD pulldown");
    EXPECT_EQ(Run("kx::pane AddPUPD"), "0"); // no DC net prepared: nothing sent
    // Both say why: the type alone names no DC net, and nothing was prepared to add.
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-217", "KXTABLE-217"}));
    Run("kx::pane InitPUPD {pulldown VCC3V3}");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Local PullDown")) << Row("PGOOD");
    EXPECT_EQ(Run("kx::pane DeletePUPD PD1"), "1");
    EXPECT_FALSE(RowShows("PGOOD", "Local PullDown"));
    for (int i = 0; i < 4; ++i)
        Run("undo");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(Assoc, MenusAndDoubleClickOpenTheDialogs) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin PGOOD");
    Run("kx::answer dialog CKXTerminationDlg ok type Shunt value0 47");
    EXPECT_EQ(Run("kx::menu 35522"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Shunt")) << Row("PGOOD");
    EXPECT_NE(Saved().find("SLOT0.VALUE \"47\""), std::string::npos);
    // Cancelled: nothing happens.
    Run("selectObject pin RST_N");
    const std::string withShunt = Saved();
    Run("kx::answer dialog CKXTerminationDlg cancel");
    Run("kx::menu 35522");
    EXPECT_TRUE(Saved() == withShunt);
    Run("selectObject pin PGOOD");
    Run("kx::answer dialog CKXPupdDlg ok type pullup dcnet VCC3V3 value 10k");
    EXPECT_EQ(Run("kx::menu 35509"), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(Assoc, PinModelsAreAssignedAndRemoved) {
    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(Run("assignModel pin LVCMOS18 PGOOD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PIN_SIGNAL_MODEL"), "LVCMOS18");
    EXPECT_NE(JournalText().find("AssignModel(\"LVCMOS18\")"), std::string::npos);
    // Pins of both directions take no model.
    ExpectRefused("assignModel pin LVCMOS18 PGOOD MCLK", "KXTABLE-127");
    EXPECT_EQ(Run("removeModel pin PGOOD"), "1");
    EXPECT_TRUE(Saved() == before);
    ExpectRefused("removeModel pin PGOOD", "KXPANE-484"); // nothing to remove
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

// Models are assigned to pins of one direction at a time, but taken off pins of any directions at once;
// every road to Remove Model says the same when the pins carry none, and leaves the keyboard where it was.
TEST_F(Assoc, ModelsComeOffPinsOfEveryDirectionAndEveryRoadSaysTheSame) {
    OpenBoard();
    const std::string before = Saved();
    ASSERT_EQ(Run("assignModel pin LVCMOS18 PGOOD"), "1");
    ASSERT_EQ(Run("assignModel pin SSTL_IN MCLK"), "1");
    EXPECT_EQ(Run("removeModel pin PGOOD MCLK"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PIN_SIGNAL_MODEL").rfind("error: no property", 0), 0u);
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.MCLK PIN_SIGNAL_MODEL").rfind("error: no property", 0), 0u);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.MCLK PIN_SIGNAL_MODEL"), "SSTL_IN");
    ASSERT_EQ(Run("redo"), "1");
    // The same pins by the menu and by automation, now without models.
    Run("selectObject pin PGOOD MCLK");
    const std::string focus = Run("kx::focus");
    ExpectRefused("removeModel pin", "KXPANE-484");
    ExpectRefused("kx::pane RemoveModel", "KXPANE-484");
    EXPECT_EQ(Run("kx::focus"), focus);
    Run("kx::select ccp 41 7");
    ExpectRefused("kx::menu 35567", "");
    Run("undo");
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

// The model dialog opens for pins of one direction only: two directions, or a bus row alone (no pin to offer
// models for), are refused before it opens (answer 0), a cancelled dialog answers 2.
TEST_F(Assoc, TheModelDialogIsRefusedForPinsItCannotServe) {
    OpenBoard();
    Run("selectObject pin PGOOD MCLK");
    ExpectRefused("assignModel pin", "KXTABLE-127");
    Run("selectObject pin {DQ<15..0>}");
    ExpectRefused("assignModel pin", "KXTABLE-186");
    for (const std::string& answered : AnswerLog())
        EXPECT_EQ(answered.find("CKXDlgModelAssign"), std::string::npos) << answered;
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run("assignModel pin"), "2");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Assoc, JournalReplaysToTheSameSavedDesign) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run(kSeries22), "1") << ::testing::PrintToString(Messages());
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 2k"), "1");
    ASSERT_EQ(Run("deleteTermination pin MCLK"), "1");
    Run("selectObject pin RST_N");
    ASSERT_EQ(Run("deletePupd pin RP1"), "1");
    ASSERT_EQ(Run("assignModel pin SSTL RST_N"), "1");
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    const std::filesystem::path journal = m_dir / "replay.vbs";
    {
        std::ofstream out(journal, std::ios::binary);
        out << JournalText();
    }
    Run("kx::journal");
    Run("closeDesign -nosave");
    {
        std::ofstream back(m_demo / "board.sch.design", std::ios::binary);
        back << original;
    }
    IDesign* board = m_app->Server()->findDesign("demo.board:sch");
    ASSERT_NE(board, nullptr);
    ASSERT_TRUE(m_app->Server()->unloadDesign(board));
    CString error;
    m_app->Server()->loadLibrary(m_demo.c_str(), error);
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_TRUE(Saved() == edited);
}

// A pull-up kept across a signal change goes onto the net bit the pin is connected to now, in the
// edit's transaction: once, and not a second time where the net bit has one of that type.
TEST_F(Assoc, ReapplyPupdPutsTheKeptPullUpOnTheNewNetBit) {
    OpenBoard();
    const std::string before = Saved();
    IDesign* design = m_app->Server()->findDesign("demo.board:sch");
    ASSERT_NE(design, nullptr);
    INet* reset = design->findNet("RESET_N");
    INet* pg = design->findNet("PG");
    ASSERT_TRUE(reset && pg);
    CKXAssocCompAPI& api = *Grid()->GetAssocCompAPI();
    api.setNetBit(CNetBit(reset, -1));
    IDTInstance* kept = api.getAssociatedInstance(CKXAssocCompAPI::PUPD);
    ASSERT_NE(kept, nullptr);
    auto reapply = [&](INet* net) -> bool {
        CKXGridEdit edit(*Grid(), "Add Connection");
        if (!edit) return false;
        api.setTransaction(edit.Transaction(), true);
        api.getLCVPropFromInstance(kept);
        api.setKindOfOperation(CKXAssocCompAPI::PUPD);
        api.setNewSignalFlag(false);
        const BOOL done = Grid()->ReapplyPupd(kept, net, -1);
        api.setTransaction(nullptr, true);
        return done && edit.Commit() != FALSE;
    };
    ASSERT_TRUE(reapply(pg)) << api.GetLastError().GetString();
    const std::string after = Saved();
    EXPECT_NE(after.find(" 2 PullUp @:PG"), std::string::npos) << after;
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    // RESET_N has its pull-up: nothing is added, nothing changes.
    EXPECT_TRUE(Grid()->ReapplyPupd(kept, reset, -1));
    EXPECT_TRUE(Saved() == after);
    EXPECT_FALSE(Grid()->ReapplyPupd(kept, nullptr, -1));
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

// The signal grid's termination roads (the word, the automation add and delay, the edit word, the
// Delete) each leave a journal that replays to the same design, and one undo step each.
TEST_F(Assoc, SignalGridTerminationEditsJournalAndReplay) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::show slp PG");
    ASSERT_EQ(Run("selectObject pin C10:U1"), "1");
    ASSERT_EQ(Run(kSeries22), "1") << ::testing::PrintToString(Messages());
    Run("kx::pane SelectTerminationCol U1 C10");
    EXPECT_EQ(Run("kx::pane ChangeDelay 4ns"), "1");
    EXPECT_EQ(Run("kx::pane ChangeDelay 4ns"), "0"); // the same delay: no change, no step
    // The board's resistors are R1 and R2: the new part is R3.
    EXPECT_EQ(Run("editTermination pin -oldrefdes R3 -newrefdes R9 -k [list TOL=1% {NOTE=a b}] -delay 5ns"), "1")
        << ::testing::PrintToString(Messages());
    // The automation road on the other pin of PG.
    Run("kx::pane SelectTerminationCol R2 2");
    Run("kx::pane InitTermination Shunt");
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    Run("kx::pane SelectTerminationCol R2 2");
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    const std::string edited = Saved();
    EXPECT_NE(edited.find("DELAY \"5ns\""), std::string::npos) << edited;
    EXPECT_NE(edited.find("R9"), std::string::npos);
    EXPECT_NE(edited.find("NOTE=a b"), std::string::npos);
    const std::string journal = JournalText();
    for (const char* form : {".Slp().Select(\"PG\")", "SelectTerminationCol(\"U1\",\"C10\")", "InitTermination(\"type=Series",
                             "AddTermination()", "ChangeDelay(\"4ns\")", "EditTermination(\"-oldrefdes R3 -newrefdes R9",
                             "SelectTerminationCol(\"R2\",\"2\")", "ConnectivityPane().Delete()"})
        EXPECT_NE(journal.find(form), std::string::npos) << form << "\n" << journal;
    EXPECT_EQ(Steps(), 5);
    EXPECT_TRUE(Replayed(original) == edited);
}

// A journal's calls act on the cell they selected, also while the mouse pointer rests over another
// row of the grid (the activation by each call does not take the cell under the pointer).
TEST_F(Assoc, AutomationCallsKeepTheirCellWhereverThePointerRests) {
    OpenBoard();
    const int rst = PinRow("RST_N");
    ASSERT_GT(rst, 0);
    ASSERT_EQ(Run("kx::click ccp " + std::to_string(rst) + " " +
                  std::to_string(CKXInstanceDetailsGridWnd::m_nColTermination)),
              "1");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    Run("kx::pane InitTermination Shunt");
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Saved();
    EXPECT_NE(after.find("1 Shunt @U1.PGOOD"), std::string::npos) << after;
    EXPECT_EQ(after.find("1 Shunt @U1.RST_N"), std::string::npos);
}

// A copied termination pasted into the TERMINATION column goes onto the selected pin, in one undo
// step journalled as the termination the pin took; a pin that has one already is left out (KXTABLE-118).
TEST_F(Assoc, CopiedTerminationPastesOntoTheSelectedPins) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run(kSeries22), "1");
    ASSERT_EQ(Run("copy pin PGOOD Termination"), "1");
    const int steps = Steps();
    Run("kx::pane SelectTerminationCol RST_N C9");
    Messages();
    EXPECT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(RowShows("RST_N", "Series")) << Row("RST_N");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Series @U1.RST_N"), std::string::npos) << pasted;
    EXPECT_NE(JournalText().find("' --- Paste Termination ---"), std::string::npos);
    // Again onto the same pin: nothing changes.
    ExpectRefused("paste pin", "KXTABLE-118");
    EXPECT_TRUE(Replayed(original) == pasted);
}

// The dialog over two pins applies its choice to the pin it shows, the grid to the other: each pin
// gets its own termination with its own parts, and the add is one step that one undo takes back.
TEST_F(Assoc, TheDialogOverSeveralPinsAppliesToEachInOneStep) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin PGOOD RST_N");
    ASSERT_EQ(SelectedRows(), 2u);
    // The dialog's apply asks the grid for its step's transaction once ("Add Termination"), and commits
    // nothing of its own: the grid's edit does.
    // Asked of the grid shown at the time (a command may show the component in a new grid).
    auto calls = [this](const char* hand) { return Grid()->GetAssocCompAPI()->GetHandCalls(hand); };
    const int stepsAsked = calls("step Add Termination");
    const int commits = calls("commit Add Termination");
    Run("kx::answer dialog CKXTerminationDlg ok type Shunt value0 47");
    EXPECT_EQ(Run("kx::menu 35522"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(calls("step Add Termination"), stepsAsked + 1);
    EXPECT_EQ(calls("commit Add Termination"), commits);
    EXPECT_TRUE(RowShows("PGOOD", "Shunt")) << Row("PGOOD");
    EXPECT_TRUE(RowShows("RST_N", "Shunt")) << Row("RST_N");
    const std::string saved = Saved();
    const size_t first = saved.find("SLOT0.VALUE \"47\"");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(saved.find("SLOT0.VALUE \"47\"", first + 1), std::string::npos) << "one pin left without";
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
}

// Nothing on the clipboard for a termination cell: the paste does nothing.
TEST_F(Assoc, PasteWithoutCopiedTerminationsChangesNothing) {
    OpenBoard();
    Run("kx::pane SelectTerminationCol PGOOD C10");
    const std::string before = Saved();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_TRUE(Saved() == before);
}

// A step of the library's dialog goes on in the grid's open edit transaction (one undo step); with
// no edit open in that grid it gets none.
TEST_F(Assoc, DialogStepsGoOnInTheEditTransaction) {
    OpenBoard();
    CKXInstanceDetailsGridWnd::m_pCurrentGrid = Grid();
    EXPECT_EQ(CKXInstanceDetailsGridWnd::CreateAssocCompTransaction("Add Termination"), nullptr);
    {
        CKXGridEdit edit(*Grid(), "Add Termination");
        ASSERT_TRUE(edit);
        EXPECT_EQ(CKXInstanceDetailsGridWnd::CreateAssocCompTransaction("Add Termination"), edit.Transaction());
        EXPECT_EQ(Grid()->RenewAssocCompTransaction("Add Pupd"), edit.Transaction());
    }
    CKXInstanceDetailsGridWnd::m_pCurrentGrid = nullptr;
    EXPECT_EQ(CKXInstanceDetailsGridWnd::CreateAssocCompTransaction("Add Termination"), nullptr);
}

// A property list is read alike by every word and by the methods the journal replays through: {A=1 B=2}
// is two properties, {{NOTE=a b}} one that holds a blank; a blank, ";" or a quote in a property reaches the
// design as typed, in the session and in the replay of its journal (a copied termination pasted too).
TEST_F(Assoc, PropertyListsReadAlikeInTheSessionAndItsReplay) {
    OpenBoard();
    const std::string original = Saved();
    const std::string part = " -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("addTermination pin -type Series" + part + " -k {A=1 B=2} -i {{NOTE=a b} Q=\"x;y\"}"), "1")
        << ::testing::PrintToString(Messages());
    // The board's resistors are R1 and R2: the new part is R3.
    ASSERT_EQ(Run("editTermination pin -oldrefdes R3 -k {{NOTE=c d}}"), "1")
        << ::testing::PrintToString(Messages());
    Run("selectObject pin RST_N");
    ASSERT_EQ(Run("editPupd pin RP1 -keyprop {{TOL=5 %}}"), "1") << ::testing::PrintToString(Messages());
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("copy pin PGOOD Termination"), "1");
    Run("kx::pane SelectTerminationCol RST_N C9");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string edited = Saved();
    EXPECT_EQ(Count(edited, "SLOT0.KEYPROPS \"A=1;B=2;NOTE=c d\""), 2u) << edited;
    EXPECT_EQ(Count(edited, "SLOT0.INSTPROPS \"NOTE=a b;Q=\\\"x\\\\;y\\\"\""), 2u) << edited;
    EXPECT_NE(edited.find("TOL=5 %"), std::string::npos) << edited;
    const std::string replayed = Replayed(original);
    EXPECT_TRUE(replayed == edited) << replayed;
}

// An edited pull-up is journalled as its net bit's row and the same editPupd word, which replays.
TEST_F(Assoc, EditPupdJournalReplays) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin RST_N");
    ASSERT_EQ(Run("editPupd pin RP1 -dcnets VCC3V3 -keyprop [list TOL=1% {NOTE=a b}]"), "1")
        << ::testing::PrintToString(Messages());
    const std::string edited = Saved();
    EXPECT_NE(JournalText().find("SelectPUPDCol(\"RST_N\",\"C9\")"), std::string::npos) << JournalText();
    EXPECT_NE(JournalText().find("EditPUPD(\"RP1 -dcnets VCC3V3 -keyprop [list TOL=1% \"\"NOTE=a b\"\"]\")"),
              std::string::npos)
        << JournalText();
    EXPECT_TRUE(Replayed(original) == edited);
}

// The edit word's journal call reads its operands as script words: nothing in them runs.
TEST_F(Assoc, EditTerminationCallRunsNothingOfItsOperands) {
    OpenBoard();
    const std::string before = Saved();
    Run("selectObject pin MCLK");
    Run("kx::pane SelectTerminationCol MCLK B14");
    EXPECT_EQ(Run("kx::pane EditTermination {-id RT2 -delay {2ns}]; set ::ran 1; list [}"), "0");
    EXPECT_EQ(Run("info exists ::ran"), "0");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Run("kx::pane EditTermination {-id RT2 -delay \"3ns\"}"), "1");
    EXPECT_NE(Saved().find("DELAY \"3ns\""), std::string::npos);
    EXPECT_NE(JournalText().find("EditTermination(\"-id RT2 -delay 3ns\")"), std::string::npos) << JournalText();
}

} // namespace

namespace {

using AssocSelection = Assoc;

// The selected pins as a list text for host commands: one item per pin, no blank at the end.
TEST_F(AssocSelection, SelectionListsThePinsForHostCommands) {
    OpenBoard();
    Run("selectObject pin PGOOD MCLK");
    CString list;
    Grid()->GetSelectionAsList(list);
    const std::string text = list.GetString();
    EXPECT_NE(text.find("MCLK \"B14\"]"), std::string::npos) << text;
    EXPECT_NE(text.find("PGOOD \"C10\"]"), std::string::npos) << text;
    EXPECT_LT(text.find("MCLK"), text.find("PGOOD"));
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), ' ');
    // Publishing the selection changes nothing in the design.
    const std::string before = Saved();
    Grid()->NotifySelectionChanged();
    EXPECT_TRUE(Saved() == before);
}

// The pull-up edit dialog (menu 35509 on a pin whose net has one, or a double-click on its cell)
// answers as the editPupd word does: an answer the edit refuses is 0 with the edit's message, one
// that gives the pull-up what it has already is 0 with KXTABLE-267, a cancel is 2; none of them
// changes the design or makes a step.
TEST_F(Assoc, PullUpEditDialogAnswersAsTheWord) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    auto expectUnchanged = [&](const std::string& answer, const std::string& result,
                               const std::vector<std::string>& messages) {
        Run("selectObject pin RST_N");
        Messages();
        Run("kx::answer dialog CKXPupdEditDlg " + answer);
        EXPECT_EQ(Run("kx::menu 35509"), result) << answer;
        EXPECT_EQ(Messages(), messages) << answer;
        EXPECT_TRUE(Saved() == before) << answer;
        EXPECT_EQ(Steps(), steps) << answer;
    };
    expectUnchanged("ok action edit name RP1 refdes R1", "0", {"KXTABLE-217"});       // a taken designator
    expectUnchanged("ok action edit name RP1 dcnet NOSUCH", "0", {"KXTABLE-217"});    // no such DC net
    expectUnchanged("ok action edit name NOSUCH dcnet VCC3V3", "0", {"KXTABLE-217"}); // no such pull-up
    expectUnchanged("cancel", "2", {});
    Run("selectObject pin RST_N");
    ASSERT_EQ(Run("editPupd pin RP1 -dcnets VCC3V3"), "1") << ::testing::PrintToString(Messages());
    const std::string edited = Saved();
    Run("selectObject pin RST_N");
    Messages();
    Run("kx::answer dialog CKXPupdEditDlg ok action edit name RP1 dcnet VCC3V3");
    EXPECT_EQ(Run("kx::menu 35509"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"});
    EXPECT_TRUE(Saved() == edited);
    EXPECT_EQ(Steps(), steps + 1);
}

// A termination dialog answered with a type it does not offer refuses the answer, by whichever road
// it was opened, and names the type; nothing is added.
TEST_F(Assoc, TerminationDialogRefusesATypeItDoesNotOffer) {
    OpenBoard();
    const std::string before = Saved();
    const int row = PinRow("PGOOD");
    ASSERT_NE(row, 0);
    const std::string cell = std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColTermination);
    Run("selectObject pin PGOOD");
    Messages();
    const std::size_t logged = AfxGetAnswerQueue().GetLog().size();
    Run("kx::answer dialog CKXTerminationDlg ok type Bogus");
    EXPECT_EQ(Run("kx::menu 35522"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    Run("kx::answer dialog CKXTerminationDlg ok type Bogus");
    Run("kx::click ccp " + cell + " button");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    Run("kx::answer dialog CKXTerminationDlg ok type Bogus");
    Run("kx::click ccp " + cell + " double");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    // Each road's dialog refused the answer, and its message names the type.
    const std::vector<AfxAnswerRecord>& log = AfxGetAnswerQueue().GetLog();
    const auto refusals = std::count_if(log.begin() + static_cast<std::ptrdiff_t>(logged), log.end(),
                                        [](const AfxAnswerRecord& r) {
                                            return r.answer == "refused" && r.text.Find("Bogus") >= 0;
                                        });
    EXPECT_EQ(refusals, 3);
    EXPECT_TRUE(Saved() == before);
}

// U1's RST_N as a design file may hold a pin of no known kind (no direction, no type): it has no system
// object, so no road of the pin grid puts a new termination on it, as the signal grid puts none.
class AssocPinOfNoKnownKind : public Assoc {
protected:
    void EditDemo() override {
        const std::filesystem::path file = m_demo / "board.sch.design";
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        in.close();
        std::string board = text.str();
        const std::string line = "pin U1 RST_N -1 -1 in input\n";
        const std::size_t at = board.find(line);
        ASSERT_NE(at, std::string::npos);
        board.replace(at, line.size(), "pin U1 RST_N -1 -1 none unknown\n");
        std::ofstream(file, std::ios::binary) << board;
    }
};

TEST_F(AssocPinOfNoKnownKind, NoRoadOfThePinGridTerminatesIt) {
    OpenBoard("U1", 3); // within its parent: KXTABLE-200 names the cause
    Run("selectObject pin RST_N");
    Run("kx::pane SelectTerminationCol RST_N C9");
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ExpectRefused("kx::menu 35522", "KXTABLE-200");
    ExpectRefused(kSeries22, "KXTABLE-200");
    Run("kx::pane SelectTerminationCol RST_N C9");
    const std::string before = Saved();
    const int steps = Steps();
    Messages();
    EXPECT_EQ(Run("kx::pane InitTermination Series"), ""); // no automation object: nothing prepared
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-200"});
    EXPECT_EQ(Run("kx::pane AddTermination"), "0");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Steps(), steps);
    // A pin of a known kind beside it is terminated as before.
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run(kSeries22), "1");
}

TEST_F(AssocPinOfNoKnownKind, OutsideAParentTheRefusalSaysTheKindIsUnknown) {
    OpenBoard();
    Run("selectObject pin RST_N");
    ExpectRefused(kSeries22, "KXTABLE-142");
}

} // namespace
