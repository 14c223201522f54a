// Pin numbers and swaps on the physical part grid: the design after each edit, the rows
// shown, echoes and journal lines, undo, refusals, and further edits after a swap.
#include "PhysGridTestSupport.h"

namespace {

TEST_F(PhysGridTest, ASwapExchangesThePinNumbersAndTheRowsFollow) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    Select(g, {Row(g, "U1", "1")});
    ASSERT_TRUE(g->CanSwapPins());
    ASSERT_TRUE(g->SwapPins(TRUE, "2"));
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "2");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PN"), "1");
    // Rows stand for package pins: pin 1 now carries D<1>, and the pin map follows.
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<1>|Inout|DATA<1>|");
    EXPECT_EQ(RowText(g, "U1", "2"), "2|D<0>|Inout|DATA<0>|");
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetInstTermOfRow(Row(g, "U1", "1"), &bit));
    EXPECT_EQ(bit.spath(), "@U1.D<1>");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(JournalText().find("call board_phys.ConnectivityPane().SwapPins(\"2\")"), std::string::npos);
    // A further swap from pin 1 reaches D<1>, the pin now on it.
    Select(g, {Row(g, "U1", "1")});
    ASSERT_TRUE(g->SwapPins(TRUE, "3"));
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PN"), "3");
    EXPECT_EQ(Prop("work.board:sch@U1.D<2>", "PN"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "2");
    // Undoing both gives the design back byte for byte, and the rows with it.
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
    EXPECT_EQ(RowText(g, "U1", "3"), "3|D<2>|Inout|DATA<2>|");
}

TEST_F(PhysGridTest, SwapsThatCannotBeDoneChangeNothing) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    Select(g, {Row(g, "U1", "1")});
    EXPECT_FALSE(g->CanSwapPins()); // the environment does not allow swapping
    EXPECT_FALSE(g->SwapPins(TRUE, "2"));
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    const std::string before = Saved();
    Messages();
    // The partner pin of the swap group carries no logical pin; a number the part does not have is no
    // swap partner (a number given without the dialog is taken as it is, in the swap group or not).
    EXPECT_FALSE(g->SwapPins(TRUE, "7"));
    EXPECT_FALSE(g->SwapPins(TRUE, "42"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-107", "KXTABLE-107"}));
    // A row without a logical pin cannot be swapped from.
    Select(g, {Row(g, "U1", "7")});
    EXPECT_FALSE(g->SwapPins(TRUE, "1"));
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

TEST_F(PhysGridTest, AssigningANumberOfAnotherSectionOfAChipsPartMovesTheSection) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(Word("assignPinNumber pin 3"), 1);
    // Pin A goes to pin 3 and pin B to pin 6, the pins of section 3 with the same names.
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "3");
    EXPECT_EQ(Prop("work.board:sch@RN1A.B", "PN"), "6");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "SEC"), "3");
    EXPECT_EQ(RowText(g, "RN1", "3"), "3|A|Inout|N1|");
    EXPECT_EQ(RowText(g, "RN1", "1"), "1||Inout||");
    EXPECT_EQ(RowText(g, "RN1", "6"), "6|B|Inout|X1|");
    EXPECT_NE(JournalText().find("AssignPinNumber(\"3\")"), std::string::npos);
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout|N1|");
}

TEST_F(PhysGridTest, AssigningANumberHeldByAnotherInstanceExchangesTheirSections) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    // Pin 2 belongs to section 2 (RN1B): the sections of the two instances are exchanged.
    EXPECT_EQ(Word("assignPinNumber pin 2"), 1);
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "2");
    EXPECT_EQ(Prop("work.board:sch@RN1B.A", "PN"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1A.B", "PN"), "7");
    EXPECT_EQ(Prop("work.board:sch@RN1B.B", "PN"), "8");
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout|X2|");
    EXPECT_EQ(RowText(g, "RN1", "2"), "2|A|Inout|N1|");
}

TEST_F(PhysGridTest, PinNumbersThatAreNoCandidatesAreRefused) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    Messages();
    EXPECT_EQ(Word("assignPinNumber pin 8"), 0); // a pin of another logical pin
    EXPECT_EQ(Word("assignPinNumber pin 99"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-198", "KXTABLE-198"}));
    g->SetCurrentCell(Row(g, "RN1", "4"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(Word("assignPinNumber pin 3"), 0); // an unused package pin has no candidates
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-198"}));
    EXPECT_EQ(Word("assignPinNumber pin -help"), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-197"}));
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

TEST_F(PhysGridTest, ThePinNumberMenuOffersTheCandidatesAndEchoesTheChoice) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    CMenu menu;
    menu.CreatePopupMenu();
    ASSERT_NE(g->BuildPinNumberMenu(&menu), nullptr);
    EXPECT_EQ(g->m_mapMenuIdToPinNumber.size(), 4u);
    EXPECT_EQ(g->m_mapMenuIdToPinNumber[kxphys::ID_PIN_NUMBER_FIRST + 2], "3");
    Echoes();
    g->AssignPinNumberInHost(kxphys::ID_PIN_NUMBER_FIRST + 2);
    EXPECT_EQ(Echoes().front(), "selectWindow ccp; assignPinNumber pin 3");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "3"); // the host ran the echoed command
}

TEST_F(PhysGridTest, ACommitFromElsewhereRefreshesThePartRows) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    // A pin number given from nothing (pin 7 was unused) is shown.
    CKXGridWnd other;
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), Ccp(), 9199);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, Design(), "Change Prop"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_TRUE(t->addProperty(Design().instance("U1").instTerm("CLK").bitContext(-1), "PN", "7", 2, false));
    ASSERT_TRUE(CKXTransaction::CommitTrans(&other, 1, 1));
    EXPECT_EQ(RowText(g, "U1", "7"), "7|CLK|Inout|CK|");
    EXPECT_EQ(RowText(g, "U1", "5"), "5||Input||");
    EXPECT_FALSE(g->CanUndo());
}

// A pin given the number it has changes nothing and says so, on a part of several sections and on a
// "chips" part: 0, no undo step, no journal line, the file as it was.
TEST_F(PhysGridTest, APinGivenTheNumberItHasChangesNothing) {
    G* g = ShowParts({"U1", "RN1A"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    const std::string journal = JournalText();
    Messages();
    ASSERT_EQ(Word("selectObject pin U1:D<0>:1"), 1);
    EXPECT_EQ(Word("assignPinNumber pin 1"), 0);
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(Word("assignPinNumber pin 1"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-196", "KXTABLE-196"}));
    EXPECT_EQ(Prop("work.board:sch@U1", "SEC"), "");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_FALSE(Doc()->IsModified());
}

// With several parts shown, a part read again after its section moved replaces its own rows only.
TEST_F(PhysGridTest, ASectionMoveReadsItsPartAgainBesideTheOthers) {
    G* g = ShowParts({"U1", "RN1A"});
    ASSERT_NE(g, nullptr);
    const ROWCOL rows = g->GetRowCount();
    const std::string packPin = RowText(g, "RN1", "8");
    ASSERT_EQ(Word("selectObject pin U1:D<0>:1"), 1);
    ASSERT_EQ(Word("assignPinNumber pin 7"), 1);
    EXPECT_EQ(Prop("work.board:sch@U1", "SEC"), "B1");
    EXPECT_EQ(g->GetRowCount(), rows);
    EXPECT_EQ(RowText(g, "RN1", "8"), packPin);
    for (const char* number : {"1", "5", "6", "7"})
        EXPECT_NE(Row(g, "U1", number), 0u) << number;
    // The moved pin reads the number asked for.
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetInstTermOfRow(Row(g, "U1", "7"), &bit));
    EXPECT_EQ(bit.spath(), "@U1.D<0>");
}

// A pin given the number of another section moves its part there and reads that number; the
// section's other pins take their numbers in it, the rest keep theirs; undo gives all back.
TEST_F(PhysGridTest, APinGivenANumberOfAnotherSectionReadsThatNumber) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    ASSERT_EQ(Run("kx::word selectObject pin U1:D<0>:1"), "1");
    ASSERT_EQ(Run("assignPinNumber pin 7"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "SEC"), "B1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "7");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PN"), "6");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PN"), "2");
    EXPECT_EQ(RowText(g, "U1", "7"), "7|D<0>|Inout|DATA<0>|");
    EXPECT_EQ(RowText(g, "U1", "1").find("D<0>"), std::string::npos) << RowText(g, "U1", "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "1");
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
    EXPECT_EQ(Saved(), before);
}

// A package pin takes one logical pin: one number for two selected pins of one pack is refused by the
// word and the pane's method, in the pack's own grid and beside another part, and nothing changes.
TEST_F(PhysGridTest, OnePinNumberForTwoPinsOfOnePartIsRefused) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    const std::string journal = JournalText();
    // Pin 1 (RN1A's A, section 1) and pin 2 (RN1B's A, section 2), both asked to go to pin 3.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row(g, "RN1", "1")) + " " + std::to_string(G::s_nPinNameCol) +
                  " " + std::to_string(Row(g, "RN1", "2")) + " " + std::to_string(G::s_nPinNameCol)),
              "1");
    Messages();
    EXPECT_EQ(Word("assignPinNumber pin 3"), 0);
    EXPECT_EQ(Run("kx::pane ccp AssignPinNumber 3"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-605", "KXTABLE-605"}));
    G* both = ShowParts({"RN1A", "U1"});
    ASSERT_NE(both, nullptr);
    ASSERT_EQ(Word("selectObject pin RN1:A:1 RN1:A:2"), 1);
    EXPECT_EQ(Word("assignPinNumber pin 3"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-605"}));
    EXPECT_EQ(RowText(both, "RN1", "2"), "2|A|Inout|X2|");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

} // namespace

namespace {

// In the physical view the pane's Assign Pin Number items act on the physical part grid.
TEST_F(PhysGridTest, ThePanesPinNumberItemsAssignOnThePartGrid) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    Run("selectWindow ccp");
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(Run("kx::menu 35547"), "1"); // the third candidate: pin 3
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "3");
    EXPECT_EQ(RowText(g, "RN1", "3"), "3|A|Inout|N1|");
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), before);
    // An unused package pin offers no number.
    g->SetCurrentCell(Row(g, "RN1", "4"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(Run("kx::menu 35545"), "0");
    EXPECT_EQ(Saved(), before);
}

} // namespace
