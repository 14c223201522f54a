// Pasting copied pull-ups and pull-downs into the pin grid's Pull Up/Down column on the example board,
// as the user does it at the host (copy pin KEY "Pull Up/Down", then paste pin on the selected rows):
// one group onto every selected row, several groups one to a row down the grid, one undo step, a
// journal whose replay gives the same design, and refusals that leave everything as it was.
#include "../connedit/ConnEditFixture.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "shell/KXTableDoc.h"

#include <cctype>

namespace {

using G = CKXInstanceDetailsGridWnd;

class PupdPaste : public ConnEditFixture {
protected:
    void TearDown() override {
        CKXImpClipBoard::Reset();
        ConnEditFixture::TearDown();
    }
    std::string Mark(const std::string& pin) {
        const int row = PinRow(pin);
        return row ? Grid()->GetValueRowCol(static_cast<ROWCOL>(row), static_cast<ROWCOL>(G::m_nColPupd)).GetString()
                   : "<no row>";
    }
    std::string Window() { return Run("kx::window ccp"); }
    bool RowShows(const std::string& pin, const std::string& text) {
        std::istringstream in(Window());
        for (std::string line; std::getline(in, line);)
            if (line.find(" | " + pin + " | ") != std::string::npos) return line.find("| " + text + " |") != std::string::npos;
        return false;
    }
    std::string PupdCol() { return std::to_string(G::m_nColPupd); }
    void CopyPupds(const std::string& keys) { ASSERT_EQ(Run("copy pin " + keys + " pupd"), "1"); }
    // Selects the Pull Up/Down cells of the rows from one pin to another.
    void SelectPupdCells(const std::string& first, const std::string& last) {
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow(first)) + " " + PupdCol() + " " +
                      std::to_string(PinRow(last)) + " " + PupdCol()),
                  "1");
    }
    // A paste whose commit the database refuses: it answers 0.
    void PasteRefused() {
        m_app->Server()->setCommitFault([] { return true; });
        EXPECT_EQ(Run("paste pin"), "0");
        m_app->Server()->setCommitFault(nullptr);
    }
    // The board with a complete pull-up (a part and a DC net) on MCLK's net.
    void OpenWithPullUpOnMclk() {
        OpenBoard();
        Run("selectObject pin MCLK");
        ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4k7"), "1") << ::testing::PrintToString(Messages());
        Messages();
    }
    // How often the text (in any letter case) holds what (written in small letters).
    size_t Count(std::string text, const std::string& what) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(PupdPaste, OneCopiedPullUpGoesOntoEverySelectedSignalInOneStep) {
    OpenWithPullUpOnMclk();
    const std::string before = Saved();
    CopyPupds("[list U1 MCLK B14]");
    SelectPupdCells("PGOOD", "RST_N");
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Window();
    const std::string after = Saved();
    EXPECT_EQ(Count(after, "pullup @:pg\n"), 1u) << after;
    // RESET_N has a pull-up already: it is not doubled.
    EXPECT_EQ(Count(after, "pullup @:reset_n"), 1u) << after;
    EXPECT_EQ(Count(after, " 2 pullup @:"), Count(before, " 2 pullup @:") + 1);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("SelectPUPDCol(\"PGOOD\",\"C10\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().PastePUPD(\"Pullup\","), std::string::npos) << journal;
    EXPECT_NE(journal.find(";dcnet=VCC3V3;"), std::string::npos) << journal;
    Run("undo");
    EXPECT_TRUE(Saved() == before);
    EXPECT_FALSE(RowShows("PGOOD", "Local Pullup"));
}

TEST_F(PupdPaste, TheJournalOfAPasteReplaysToTheSameDesign) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4k7"), "1");
    CopyPupds("[list U1 MCLK B14]");
    SelectPupdCells("PGOOD", "PGOOD");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    ASSERT_EQ(Count(pasted, "pullup @:pg\n"), 1u);
    EXPECT_EQ(Replayed(original), pasted);
}

TEST_F(PupdPaste, SeveralCopiedGroupsGoOneToARowDownTheGrid) {
    OpenWithPullUpOnMclk();
    // Two groups in grid order: MCLK's pull-up, then PGOOD's net bit without any.
    CopyPupds("[list U1 MCLK B14] [list U1 PGOOD C10]");
    SelectPupdCells("PGOOD", "PGOOD");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Saved();
    EXPECT_EQ(Count(after, "pullup @:pg\n"), 1u) << after;
    EXPECT_EQ(Count(after, "pullup @:reset_n"), 1u); // the second group was empty
}

TEST_F(PupdPaste, NothingToPasteIsRefusedAndChangesNothing) {
    OpenWithPullUpOnMclk();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    auto refused = [&](const char* why) {
        const std::string journal = JournalText();
        Messages();
        EXPECT_EQ(Run("paste pin"), "0") << why;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"}) << why;
        EXPECT_TRUE(Saved() == before) << why;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << why;
        EXPECT_EQ(JournalText(), journal) << why;
    };
    CopyPupds("[list U1 PGOOD C10]");
    SelectPupdCells("MCLK", "MCLK");
    refused("a net bit copied without pull-ups");
    CopyPupds("[list U1 MCLK B14]");
    SelectPupdCells("MCLK", "MCLK");
    refused("the same pull-up is there already");
}

// The board's own pull-up on RESET_N records no DC net: Ctrl+C on its cell and Ctrl+V on PGOOD's, then
// on MCLK..PGOOD, put the same pull-up on each signal that has none, each paste one undo step,
// journalled with the copy's description, and the journal replays to the same design.
TEST_F(PupdPaste, TheBoardsPullUpWithoutDcNetPastesOntoOneAndSeveralPinsAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    auto key = [&](const std::string& pin, const char* keys) {
        EXPECT_EQ(Run("kx::select ccp " + std::to_string(PinRow(pin)) + " " + PupdCol()), "1");
        EXPECT_EQ(Run(std::string("kx::key ccp ") + keys), "1");
    };
    key("RST_N", "Ctrl+C");
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    key("PGOOD", "Ctrl+V");
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Window();
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string one = Saved();
    EXPECT_EQ(Count(one, "pullup @:pg\n"), 1u) << one;
    SelectPupdCells("MCLK", "PGOOD");
    ASSERT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    EXPECT_TRUE(RowShows("MCLK", "Local Pullup")) << Window();
    const std::string two = Saved();
    EXPECT_EQ(Count(two, "pullup @:mclk\n"), 1u) << two;
    EXPECT_EQ(Count(two, "pullup @:pg\n"), 1u) << two; // PGOOD's signal has one now: not doubled
    EXPECT_EQ(Count(JournalText(), ".connectivitypane().pastepupd(\"pullup\","), 2u) << JournalText();
    Run("undo");
    EXPECT_TRUE(Saved() == one);
    Run("redo");
    EXPECT_EQ(Replayed(original), two) << JournalText();
}

TEST_F(PupdPaste, AnOpenPinTakesNothingAndTheOthersStillDo) {
    OpenWithPullUpOnMclk();
    ASSERT_EQ(TypeSignal("DQ<15..0>", ""), "1");
    CopyPupds("[list U1 MCLK B14]");
    SelectPupdCells("DQ<15..0>", "PGOOD");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Saved();
    EXPECT_EQ(Count(after, "pullup @:pg\n"), 1u) << after;
    EXPECT_EQ(Count(after, "pullup @:dq"), 0u) << after;
}

} // namespace

namespace {

// A selection over a whole bus pin's row: the pull-down goes onto the single pins and onto each bit of
// the bus pins, folded as they are; the journal replays to the same design.
TEST_F(PupdPaste, ASelectionOverABusPinsRowPastesOntoItsBitsAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 4k7"), "1");
    CopyPupds("[list U1 PGOOD C10]");
    SelectPupdCells("A<12..0>", "MCLK");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    EXPECT_EQ(Count(pasted, "pulldown @:mclk"), 1u) << pasted;
    EXPECT_EQ(Count(pasted, "pulldown @:addr<"), 13u) << pasted;
    EXPECT_EQ(Count(pasted, "pulldown @:dq<"), 16u) << pasted;
    EXPECT_EQ(Replayed(original), pasted) << JournalText();
}

// With the pins expanded a bus pin's bit rows take the paste one by one, and that replays too.
TEST_F(PupdPaste, ABitRowOfAnExpandedBusPinTakesThePasteAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 4k7"), "1");
    CopyPupds("[list U1 PGOOD C10]");
    ASSERT_EQ(Run("expandPins pin on"), "1");
    SelectPupdCells("DQ<3>", "DQ<2>");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string pasted = Saved();
    EXPECT_EQ(Count(pasted, "pulldown @:dq<3>"), 1u) << pasted;
    EXPECT_EQ(Count(pasted, "pulldown @:dq<2>"), 1u) << pasted;
    EXPECT_EQ(Count(pasted, "pulldown @:dq<"), 2u) << pasted;
    EXPECT_EQ(Replayed(original), pasted) << JournalText();
}

} // namespace

namespace {

// A paste the design database refused leaves the names of the pull-downs made after it as they are
// without it: the journal, which holds no refused paste, replays to the same names.
TEST_F(PupdPaste, APasteTheDatabaseRefusedTakesNoNameFromTheNextPullDown) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 4k7"), "1");
    CopyPupds("[list U1 PGOOD C10]");
    // The clock pair's two nets and MCLK: three pull-downs made, and thrown away.
    SelectPupdCells("CLK", "MCLK");
    PasteRefused();
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 1k"), "1");
    const std::string edited = Saved();
    EXPECT_EQ(Count(edited, "dt pd2 2 pulldown @:mclk"), 1u) << edited;
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

// A pull-down removed below the last one made leaves its name free, whether or not a paste the database
// refused came between: the next pull-down takes it in the session and in the journal's replay alike.
TEST_F(PupdPaste, AFreedNameGoesToTheNextPullDownWithOrWithoutARefusedPasteBefore) {
    OpenBoard();
    const std::string original = Saved();
    for (const char* pin : {"PGOOD", "MCLK", "RST_N"}) {
        Run(std::string("selectObject pin ") + pin);
        ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 4k7"), "1") << pin;
    }
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("deletePupd pin"), "1");
    ASSERT_EQ(Count(Saved(), "dt pd2 "), 0u);
    CopyPupds("[list U1 PGOOD C10]");
    SelectPupdCells("CLK", "MCLK");
    PasteRefused();
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 1k"), "1");
    const std::string edited = Saved();
    EXPECT_EQ(Count(edited, "dt pd2 2 pulldown @:mclk"), 1u) << edited;
    EXPECT_EQ(Count(edited, "dt pd4 "), 0u) << edited;
    EXPECT_EQ(Replayed(original), edited) << JournalText();
}

} // namespace
