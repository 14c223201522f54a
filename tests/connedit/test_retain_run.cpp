// What one connect edit notes about its retain question (the pull-ups it carried over, the answers
// given) lasts as long as the edit: the next edit, by script word, automation, typing or a replayed
// journal line, after an undo or not, asks again and carries the pull-ups again. A pair connect
// journals the pull-up answer it was given, so that its replay takes the answer and the connect after
// it is asked afresh.
#include "ConnEditFixture.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <algorithm>

namespace {

constexpr const char* kKeepPupds = "kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1";
constexpr const char* kReplace = "kx::answer dialog CKXDontAskAgainYesNoDlg ok";

class RetainRun : public RetainFixture {};

TEST_F(RetainRun, AScriptConnectAfterAnUndoneOneAsksAndCarriesThePullUpAgain) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_TRUE(Has("PullUp @:RESET_N"));
    Asked();
    Run(kKeepPupds);
    ASSERT_EQ(Run("addConnection pin NEWRST RST_N"), "2");
    EXPECT_TRUE(Asked());
    const std::string edited = Saved();
    ASSERT_NE(edited.find("PullUp @:NEWRST"), std::string::npos) << edited;
    Run("undo");
    ASSERT_TRUE(Saved() == original);
    // The same word again: the pull-up carried by the undone edit is no reason to skip it now.
    Run(kKeepPupds);
    ASSERT_EQ(Run("addConnection pin NEWRST RST_N"), "2");
    EXPECT_TRUE(Asked());
    EXPECT_TRUE(Saved() == edited) << Saved();
    Run("undo");
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
}

TEST_F(RetainRun, AnAutomationConnectAndATypedOneAfterAScriptConnectEachAskAfresh) {
    OpenBoard();
    const std::string original = Saved();
    Asked();
    Run(kKeepPupds);
    ASSERT_EQ(Run("addConnection pin NEWRST RST_N"), "2");
    ASSERT_TRUE(Asked());
    const std::string edited = Saved();
    Run("undo");
    // By automation, as a journal replays it.
    Run("selectObject pin RST_N");
    Run(kKeepPupds);
    EXPECT_EQ(Run("kx::pane AddConnection NEWRST"), "1");
    EXPECT_TRUE(Asked());
    EXPECT_TRUE(Saved() == edited) << Saved();
    Run("undo");
    ASSERT_TRUE(Saved() == original);
    // Typed into the cell.
    Run(kKeepPupds);
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_TRUE(Asked());
    EXPECT_TRUE(Saved() == edited) << Saved();
}

TEST_F(RetainRun, ConnectsAfterAReplayedJournalAskAfresh) {
    OpenBoard();
    const std::string original = Saved();
    Run(kKeepPupds);
    ASSERT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
    // In the replayed window, the edit the journal made carries nothing into the next one.
    Run("kx::show clp U1");
    Run("undo");
    ASSERT_TRUE(Saved() == original);
    Asked();
    Run(kKeepPupds);
    ASSERT_EQ(Run("addConnection pin NEWRST RST_N"), "2");
    EXPECT_TRUE(Asked());
    EXPECT_TRUE(Saved() == edited) << Saved();
}

TEST_F(RetainRun, APairConnectJournalsItsPullUpAnswerAndItsReplayTakesIt) {
    OpenBoard();
    const std::string original = Saved();
    // The pair's termination asks the question; its pull-ups are left behind.
    Run(kReplace);
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 0");
    Asked();
    ASSERT_EQ(Run("addConnection pin {FCLK (Differential Pair)} CLK"), "1");
    ASSERT_TRUE(Asked());
    // The next connect keeps the pull-ups: it must not read the pair's answer on replay.
    Run(kKeepPupds);
    ASSERT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    const std::string edited = Saved();
    EXPECT_NE(edited.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos) << edited;
    EXPECT_NE(edited.find("PullUp @:NEWRST"), std::string::npos) << edited;
    const std::string journal = JournalText();
    const std::size_t answer = journal.find(".ConnectivityPane().RetainPUPD(\"0\")");
    const std::size_t pair = journal.find("AddConnection(\"FCLK (Differential Pair)\")");
    ASSERT_NE(answer, std::string::npos) << journal;
    ASSERT_NE(pair, std::string::npos) << journal;
    EXPECT_LT(answer, pair) << journal;
    // Only the pair connect's answer: the typed connect kept its pull-ups.
    EXPECT_EQ(journal.find("RetainPUPD", pair), std::string::npos) << journal;
    EXPECT_TRUE(Replayed(original) == edited) << journal;
}

} // namespace

namespace {

// One signal pasted onto two pins of the same pulled-up net: the paste carries the pull-up over once,
// and its journal, where each row is a connect of its own, does not carry it twice either.
TEST_F(RetainRun, APastedSignalCarriesASharedPullUpOnceAndSoDoesItsReplay) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("PGOOD", "RESET_N"), "1");
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("NEWRST\r\n");
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    const std::string col = std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + col + " " + std::to_string(PinRow("RST_N")) +
        " " + col);
    Run(kKeepPupds);
    ASSERT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    const std::string edited = Saved();
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWRST");
    EXPECT_EQ(Conn("U1 RST_N"), "NEWRST");
    EXPECT_EQ(Count(edited, "PullUp @:NEWRST"), 1u) << edited;
    const std::string journal = JournalText();
    EXPECT_EQ(Count(journal, "AddConnection(\"NEWRST\")"), 2u) << journal;
    const std::string replayed = Replayed(original);
    EXPECT_EQ(Count(replayed, "PullUp @:NEWRST"), 1u) << replayed;
    EXPECT_TRUE(replayed == edited) << journal;
}

} // namespace
