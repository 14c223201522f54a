#include "test_support.h"

#include "kxinstsigpane/KXBracketActions.h"

#include <string>
#include <vector>

namespace {

INet* AddNet(CTransaction* t, const char* name) {
    INet* net = t->createNet(name, static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    if (net) t->addNet(net);
    return net;
}

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override { CKXTransaction::SetUndoSink(&sink); }
    void TearDown() override {
        if (CKXTransaction::IsTransactionStarted()) CKXTransaction::DiscardTrans(nullptr);
        CKXTransaction::SetUndoSink(nullptr);
    }
    TestDesign d;
    CommitRecorder commits;
    TestUndoSink sink;
    CGXGridCore grid;
};

} // namespace

TEST_F(TransactionTest, OneStepCommitBroadcastsWhileCommitting) {
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(CKXTransaction::GetCurrentTransactionObj(), nullptr);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(CKXTransaction::GetGrid(), &grid);
    EXPECT_EQ(CKXTransaction::GetTransactionName(), "Add Conn");
    // One grid transaction at a time: a nested begin is refused and the open one is kept.
    EXPECT_FALSE(CKXTransaction::BeginTrans(nullptr, d.design, "Other"));
    EXPECT_EQ(CKXTransaction::GetTransactionName(), "Add Conn");

    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(CKXTransaction::GetNewTransactionObj(), t); // nothing committed yet: the same one
    ASSERT_NE(AddNet(t, "N3"), nullptr);
    EXPECT_TRUE(commits.seen.empty());

    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    ASSERT_EQ(commits.seen.size(), 1u);
    EXPECT_EQ(commits.seen[0].transaction, t);
    EXPECT_TRUE(commits.seen[0].started);
    EXPECT_EQ(commits.seen[0].grid, &grid);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(CKXTransaction::GetGrid(), nullptr);
    EXPECT_NE(d.Net("N3"), nullptr);
    ASSERT_EQ(sink.undo.size(), 1u);
    EXPECT_EQ(sink.states.back(), 0); // the step closes the undo group
    auto* entry = dynamic_cast<CKXUndoCmd*>(sink.undo[0].get());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetDescription(), "Add Conn");
    EXPECT_EQ(entry->GetGrid(), &grid);
}

TEST_F(TransactionTest, IntermediateThenClosingCommit) {
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Delete Rows"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    AddNet(t, "N3");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(CKXTransaction::IsConnTransactionCommitted());
    EXPECT_EQ(commits.seen.size(), 1u);
    EXPECT_NE(d.Net("N3"), nullptr);

    // After the intermediate commit a fresh server transaction continues the same grid transaction.
    CTransaction* fresh = CKXTransaction::GetNewTransactionObj();
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, t);
    EXPECT_EQ(CKXTransaction::GetCurrentTransactionObj(), fresh);
    AddNet(fresh, "N4");
    // The closing call commits what is still pending: nothing made after the first commit is lost.
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 0, 1));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(commits.seen.size(), 2u);
    EXPECT_NE(d.Net("N4"), nullptr);
    EXPECT_EQ(sink.undo.size(), 1u); // one undo step for the whole edit
}

TEST_F(TransactionTest, ClosingCallWithNothingPendingOnlyEnds) {
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Paste Connections"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    CKXTransaction::CommitTrans(&grid, 1, 0);
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 0, 1));
    EXPECT_EQ(commits.seen.size(), 1u);
    // An edit that changed nothing records no undo step.
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Nothing"));
    EXPECT_FALSE(CKXTransaction::IsConnTransactionCommitted());
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    EXPECT_EQ(commits.seen.size(), 1u);
    EXPECT_EQ(sink.undo.size(), 1u);
}

TEST_F(TransactionTest, DiscardLeavesNoTraceAndLaterClosingCallDoesNothing) {
    std::string before = d.Snapshot("before");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    EXPECT_NE(d.Net("N3"), nullptr); // reads inside the transaction see its change
    ASSERT_TRUE(CKXTransaction::DiscardTrans(&grid));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(d.Net("N3"), nullptr);
    EXPECT_FALSE(CKXTransaction::CommitTrans(&grid, 0, 1));
    EXPECT_FALSE(CKXTransaction::DiscardTrans(&grid));
    EXPECT_TRUE(commits.seen.empty());
    EXPECT_TRUE(sink.undo.empty());
    EXPECT_EQ(d.Snapshot("after"), before);
}

TEST_F(TransactionTest, DiscardAfterAnIntermediateCommitReversesTheCommittedPart) {
    std::string before = d.Snapshot("before2");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    CKXTransaction::CommitTrans(&grid, 1, 0);
    AddNet(CKXTransaction::GetNewTransactionObj(), "N4");
    ASSERT_TRUE(CKXTransaction::DiscardTrans(&grid));
    EXPECT_EQ(d.Net("N3"), nullptr);
    EXPECT_EQ(d.Net("N4"), nullptr);
    EXPECT_EQ(commits.seen.size(), 2u); // the commit and its reversal were both announced
    EXPECT_TRUE(sink.undo.empty());
    EXPECT_EQ(d.Snapshot("after2"), before);
}

// A split ends the first undo step at what was committed so far: the edit then records two steps, the
// waiting work of each running before the next is recorded; a discard still takes back both parts.
TEST_F(TransactionTest, ASplitEditRecordsTwoStepsAndIsDiscardedWhole) {
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add PUPD"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    EXPECT_FALSE(KXSplitUndoStep("Connect")); // its changes are not committed yet
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
    std::vector<std::size_t> stepsWhenWorkRan;
    KXRunWhenCommitted([&] { stepsWhenWorkRan.push_back(sink.undo.size()); });
    ASSERT_TRUE(KXSplitUndoStep("Connect"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N4");
    KXRunWhenCommitted([&] { stepsWhenWorkRan.push_back(sink.undo.size()); });
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 0, 1));
    ASSERT_EQ(sink.undo.size(), 2u);
    EXPECT_EQ(dynamic_cast<CKXUndoCmd*>(sink.undo[0].get())->GetDescription(), "Connect");
    EXPECT_EQ(dynamic_cast<CKXUndoCmd*>(sink.undo[1].get())->GetDescription(), "Add PUPD");
    EXPECT_EQ(stepsWhenWorkRan, (std::vector<std::size_t>{1, 2}));

    const std::string before = d.Snapshot("split");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add PUPD"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N5");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
    ASSERT_TRUE(KXSplitUndoStep("Connect"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N6");
    ASSERT_TRUE(CKXTransaction::DiscardTrans(&grid));
    EXPECT_EQ(d.Net("N5"), nullptr);
    EXPECT_EQ(d.Net("N6"), nullptr);
    EXPECT_EQ(sink.undo.size(), 2u);
    EXPECT_EQ(d.Snapshot("split-after"), before);
}

TEST_F(TransactionTest, NoTransactionMeansNoObjects) {
    EXPECT_EQ(CKXTransaction::GetNewTransactionObj(), nullptr);
    EXPECT_FALSE(CKXTransaction::CommitTrans(&grid, 1, 1));
    EXPECT_FALSE(CKXTransaction::BeginTrans(&grid, CDesignContext(), "Empty design"));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(TransactionTest, UndoAndRedoRestoreTheDesignExactly) {
    std::string before = d.Snapshot("u0");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    INet* n1 = d.Net("N1");
    IInstTerm* u2b = nullptr;
    for (IInstTerm* pin : d.design.instance("U2").instance()->beginInstTerm())
        if (std::string(pin->name()) == "B") u2b = pin;
    ASSERT_NE(u2b, nullptr);
    INet* n3 = AddNet(t, "N3");
    ASSERT_TRUE(t->addConn(n1, -1, -1, u2b, -1, -1, 0));
    ASSERT_TRUE(t->addProperty(d.design.net("N2"), "VOLTAGE", "3.3"));
    ASSERT_NE(n3, nullptr);
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    std::string after = d.Snapshot("u1");
    ASSERT_NE(after, before);
    ASSERT_EQ(sink.undo.size(), 1u);

    commits.seen.clear();
    ASSERT_TRUE(sink.Step(true, nullptr));
    EXPECT_EQ(d.Snapshot("u2"), before);
    EXPECT_EQ(d.Net("N3"), nullptr);
    // The undo was announced like any commit, naming the grid whose undo ran and no open grid transaction.
    ASSERT_EQ(commits.seen.size(), 1u);
    EXPECT_FALSE(commits.seen[0].started);
    EXPECT_EQ(commits.seen[0].undoGrid, &grid);
    EXPECT_EQ(CKXUndoCmd::GetCurrentUndoGrid(), nullptr);
    ASSERT_EQ(sink.redo.size(), 1u);
    EXPECT_TRUE(sink.undo.empty());

    ASSERT_TRUE(sink.Step(false, nullptr));
    EXPECT_EQ(d.Snapshot("u3"), after);
    ASSERT_EQ(sink.undo.size(), 1u);
    ASSERT_TRUE(sink.Step(true, nullptr));
    EXPECT_EQ(d.Snapshot("u4"), before);
}

TEST_F(TransactionTest, UndoOfSeveralCommitsOfOneEditGoesBackInOrder) {
    std::string before = d.Snapshot("m0");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Connections"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    CKXTransaction::CommitTrans(&grid, 1, 0);
    CTransaction* second = CKXTransaction::GetNewTransactionObj();
    ASSERT_TRUE(second->renameNet(d.Net("N3"), "N3_RENAMED"));
    CKXTransaction::CommitTrans(&grid, 0, 1);
    std::string after = d.Snapshot("m1");
    ASSERT_EQ(sink.undo.size(), 1u);
    ASSERT_TRUE(sink.Step(true, nullptr));
    EXPECT_EQ(d.Snapshot("m2"), before);
    ASSERT_TRUE(sink.Step(false, nullptr));
    EXPECT_EQ(d.Snapshot("m3"), after);
}

TEST_F(TransactionTest, WrappedGridCommandRunsOnItsOwnGrid) {
    struct Probe : CGXCommand {
        CGXGridCore* ranOn = nullptr;
        CGXGridCore* undoGrid = nullptr;
        BOOL Execute(CGXGridCore* g, GXCmdType) override {
            ranOn = g;
            undoGrid = CKXUndoCmd::GetCurrentUndoGrid();
            return TRUE;
        }
    };
    auto* probe = new Probe;
    probe->SetName("Cell Change");
    CKXUndoCmd wrapper(&grid, probe);
    EXPECT_EQ(wrapper.GetDescription(), "Cell Change");
    EXPECT_FALSE(wrapper.IsTransactionCmd());
    CGXGridCore paneGrid;
    EXPECT_TRUE(wrapper.Execute(&paneGrid, gxUndo));
    EXPECT_EQ(probe->ranOn, &grid);
    EXPECT_EQ(probe->undoGrid, &grid);
    EXPECT_EQ(CKXUndoCmd::GetCurrentUndoGrid(), nullptr);
}

TEST_F(TransactionTest, TransactionTextThatNoLongerFitsIsRefused) {
    CKXUndoCmd bogus("this is not a transaction");
    EXPECT_FALSE(bogus.Execute(nullptr, gxUndo));
    EXPECT_TRUE(sink.redo.empty());
}

TEST_F(TransactionTest, WindowsThatCommitOrEndDuringTheAnnouncementAreSafe) {
    // A window commits more work of the same edit while the first commit is announced (re-entrant broadcast).
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    int reactions = 0;
    commits.react = [&](CTransaction*) {
        if (reactions++ == 0) {
            AddNet(CKXTransaction::GetCurrentTransactionObj(), "N4");
            EXPECT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
            // Ending the bracket from inside the announcement is deferred to the outer commit.
            EXPECT_TRUE(CKXTransaction::CommitTrans(&grid, 0, 1));
            EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
        }
    };
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
    commits.react = nullptr;
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted()); // the deferred end happened
    EXPECT_NE(d.Net("N3"), nullptr);
    EXPECT_NE(d.Net("N4"), nullptr);
    EXPECT_EQ(commits.seen.size(), 2u);
    EXPECT_EQ(sink.undo.size(), 1u);
}

TEST_F(TransactionTest, DiscardDuringTheAnnouncementUndoesTheWholeEdit) {
    std::string before = d.Snapshot("r0");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    bool once = true;
    commits.react = [&](CTransaction*) {
        if (once) {
            once = false;
            EXPECT_TRUE(CKXTransaction::DiscardTrans(&grid));
        }
    };
    CKXTransaction::CommitTrans(&grid, 1, 1);
    commits.react = nullptr;
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(d.Net("N3"), nullptr);
    EXPECT_TRUE(sink.undo.empty());
    EXPECT_EQ(d.Snapshot("r1"), before);
}

TEST_F(TransactionTest, WithoutAPaneTheGridsOwnUndoListKeepsTheStep) {
    CKXTransaction::SetUndoSink(nullptr);
    CGXGridCore own;
    own.Initialize();
    std::string before = d.Snapshot("g0");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&own, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&own, 1, 1));
    std::string after = d.Snapshot("g1");
    ASSERT_TRUE(own.CanUndo());
    ASSERT_TRUE(own.Undo());
    EXPECT_EQ(d.Snapshot("g2"), before);
    ASSERT_TRUE(own.CanRedo());
    ASSERT_TRUE(own.Redo());
    EXPECT_EQ(d.Snapshot("g3"), after);
    EXPECT_TRUE(own.CanUndo());
}

#include "grid/gxwnd.h"

TEST_F(TransactionTest, AGridInsideAPaneRecordsWithItsOwnPane) {
    struct PaneWnd : public CWnd, public TestUndoSink {};
    PaneWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, "STATIC", "pane", 0, CRect(0, 0, 300, 200), nullptr, 0));
    CGXGridWnd paneGrid;
    ASSERT_TRUE(paneGrid.Create(WS_CHILD, CRect(0, 0, 100, 100), &pane, 77));
    paneGrid.Initialize();
    ASSERT_TRUE(CKXTransaction::BeginTrans(&paneGrid, d.design, "Add Conn"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&paneGrid, 1, 1));
    EXPECT_EQ(pane.undo.size(), 1u); // the grid's own pane, not the sink set for edits without a grid
    EXPECT_TRUE(sink.undo.empty());
    ASSERT_TRUE(pane.Step(true, &paneGrid));
    EXPECT_EQ(d.Net("N3"), nullptr);
    EXPECT_EQ(pane.redo.size(), 1u); // the opposite went to the same pane
    paneGrid.DestroyWindow();
    pane.DestroyWindow();
}

TEST_F(TransactionTest, AStepIsUndoneWholeOrNotAtAll) {
    // One step of two commits: a property of N1, then one of N2.
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Two Values"));
    ASSERT_TRUE(CKXTransaction::GetCurrentTransactionObj()->addProperty(d.design.net("N1"), "VALUE", "10k"));
    CKXTransaction::CommitTrans(&grid, 1, 0);
    ASSERT_TRUE(CKXTransaction::GetNewTransactionObj()->addProperty(d.design.net("N2"), "VALUE", "1k"));
    CKXTransaction::CommitTrans(&grid, 0, 1);
    ASSERT_EQ(sink.undo.size(), 1u);
    // Another route changes N1's value since: the older half of the step no longer fits.
    {
        CTransaction other(d.design, "elsewhere");
        ASSERT_TRUE(other.addProperty(d.design.net("N1"), "VALUE", "22k"));
        ASSERT_TRUE(other.commit());
    }
    std::string before = d.Snapshot("w0");
    EXPECT_FALSE(sink.Step(true, nullptr));
    // N2's half was undone first and is back: the design is exactly as it was.
    EXPECT_EQ(d.Snapshot("w1"), before);
}

namespace {
std::vector<std::string>& StepWorkHeard() {
    static std::vector<std::string> heard;
    return heard;
}
void HearStepWork(const char* name) { StepWorkHeard().push_back(name ? "+" + std::string(name) : "-"); }
} // namespace

// The journal hears the name of each step around the work that writes its lines, then the newest step's
// until another edit begins; an edit that the work itself makes belongs to the step that ran it, and
// leaves no step of its own to the lines that follow.
TEST_F(TransactionTest, TheJournalHearsWhichStepItsLinesReplay) {
    StepWorkHeard().clear();
    KXObserveCommittedStepWork(&HearStepWork);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add PUPD"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 0));
    KXRunWhenCommitted([] {});
    ASSERT_TRUE(KXSplitUndoStep("Connect"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N4");
    KXRunWhenCommitted([] {});
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    EXPECT_EQ(StepWorkHeard(), (std::vector<std::string>{"+Connect", "-", "+Add PUPD", "-", "+Add PUPD"}));

    StepWorkHeard().clear();
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Outer"));
    EXPECT_EQ(StepWorkHeard(), std::vector<std::string>{"-"});
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N5");
    KXRunWhenCommitted([this] {
        ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Inner"));
        AddNet(CKXTransaction::GetCurrentTransactionObj(), "N6");
        ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    });
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    KXEndStepOfJournalLines();
    KXEndStepOfJournalLines();
    EXPECT_EQ(StepWorkHeard(), (std::vector<std::string>{"-", "+Outer", "-", "+Outer", "-"}));
    KXObserveCommittedStepWork(nullptr);
}

// While a journal replays the lines of a step, the steps they make take its name; the comment lines
// that carry it read back, with or without their blanks.
TEST_F(TransactionTest, AReplayNamesItsStepsAsTheJournalsStepWasNamed) {
    KXNameReplayedSteps("Instance Connectivity");
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Connections"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N3");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    KXNameReplayedSteps(nullptr);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, d.design, "Add Connections"));
    AddNet(CKXTransaction::GetCurrentTransactionObj(), "N4");
    ASSERT_TRUE(CKXTransaction::CommitTrans(&grid, 1, 1));
    ASSERT_EQ(sink.undo.size(), 2u);
    EXPECT_EQ(dynamic_cast<CKXUndoCmd*>(sink.undo[0].get())->GetDescription(), "Instance Connectivity");
    EXPECT_EQ(dynamic_cast<CKXUndoCmd*>(sink.undo[1].get())->GetDescription(), "Add Connections");

    std::string name;
    EXPECT_TRUE(KXReadJournalStepBegins(KXJournalStepBegins("Add Conn"), name));
    EXPECT_EQ(name, "Add Conn");
    EXPECT_TRUE(KXReadJournalStepBegins("' Undo step: Paste Connections\r", name));
    EXPECT_EQ(name, "Paste Connections");
    EXPECT_FALSE(KXReadJournalStepBegins(KXJournalStepEnds(), name));
    EXPECT_FALSE(KXReadJournalStepBegins(" ' --- Add Connection ---", name));
    EXPECT_FALSE(KXReadJournalStepBegins("' Undo step: ", name));
}
