// The pin grid after one transaction that changes many rows at once (Auto Name over every pin, and its
// undo): each row the change reaches shows what a fresh load of the component shows, row for row, and
// no other row changes. A change to a pair leg made elsewhere reaches the leg's row and its pair row.
#include "PinGridBoardFixture.h"

#include "pingrid/KXPinGridUtil.h"

#include "kxcontrols/KXProgressBar.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/transaction.h"

#include <set>

namespace {

using G = CKXInstanceDetailsGridWnd;

class BulkRefresh : public PinGridBoard {
protected:
    CDesignContext Board() { return CDesignContext(m_app->Server(), "demo.board:sch"); }
    // The grid with every bus shown bit by bit.
    void OpenExpanded() {
        OpenBoard();
        ASSERT_EQ(Run("expandPins pin on"), "1");
    }
    // The same component shown afresh: what the rows are to show after any change.
    std::map<int, std::vector<std::string>> Reloaded() {
        const std::map<int, std::vector<std::string>> shown = Rows();
        Grid()->RefreshInstances(nullptr);
        std::map<int, std::vector<std::string>> fresh = Rows();
        EXPECT_EQ(fresh.size(), shown.size()) << "a reload shows as many rows";
        return fresh;
    }
    // Auto Name over every pin row of the grid, as the pane's menu runs it.
    void AutoNameEveryPin() {
        const std::string last = std::to_string(Grid()->GetRowCount());
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(PIN_FIRST_ROW) + " " + std::to_string(G::m_nColPinName) +
                      " " + last + " " + std::to_string(G::m_nColPinName)),
                  "1");
        Run("kx::menu 35255");
    }
    std::string Signal(const std::string& pin) {
        const ROWCOL row = PinRow(pin);
        return row ? CellText(row, G::m_nColSignal) : "(no row " + pin + ")";
    }
    size_t NetCount() { return Board().nets().size(); }
    // The attach list's entries of nets (rule words and pair entries aside).
    size_t OfferedNets() {
        size_t count = 0;
        for (const CString& entry : Ccp()->GetAttachSignalEntries()) {
            const std::string text(entry);
            if (!text.empty() && text[0] != '=' && text.find(" (Differential Pair)") == std::string::npos) ++count;
        }
        return count;
    }
};

TEST_F(BulkRefresh, AutoNameOnEveryPinLeavesEachRowAsAFreshLoadShowsIt) {
    OpenExpanded();
    const size_t nets = NetCount();
    const size_t offeredBefore = OfferedNets();
    const std::map<int, std::vector<std::string>> before = Rows();
    AutoNameEveryPin();
    ASSERT_GT(NetCount(), nets + 10) << "Auto Name made a net per pin";
    const std::map<int, std::vector<std::string>> after = Rows();
    EXPECT_NE(after, before);
    // Every row the transaction reached, bus rows and pair rows included, reads as after a reload.
    EXPECT_EQ(after, Reloaded());
    // The attach signal lists offer each new net once, and agree with what the pane says it offered.
    EXPECT_TRUE(Ccp()->SignalListsAgree());
    const size_t offered = OfferedNets();
    EXPECT_EQ(offered - offeredBefore, NetCount() - nets);
    std::set<std::string> distinct;
    for (const CString& entry : Ccp()->GetAttachSignalEntries()) distinct.insert(std::string(entry));
    EXPECT_EQ(distinct.size(), Ccp()->GetAttachSignalEntries().size()) << "no entry twice";
}

TEST_F(BulkRefresh, EachBitRowShowsItsOwnNewNetAndTheBusRowJoinsThem) {
    OpenExpanded();
    AutoNameEveryPin();
    std::set<std::string> names;
    for (int bit = 0; bit <= 15; ++bit) {
        const std::string shown = Signal("DQ<" + std::to_string(bit) + ">");
        EXPECT_EQ(shown.rfind("signal_", 0), 0u) << "DQ<" << bit << "> shows " << shown;
        names.insert(shown);
    }
    EXPECT_EQ(names.size(), 16u) << "no two bits share a name";
    const std::string bus = Signal("DQ<15..0>");
    for (const std::string& name : names) EXPECT_NE(bus.find(name), std::string::npos) << bus;
    CGXStyle style;
    Grid()->GetStyleRowCol(PinRow("DQ<15..0>"), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColSignal), style);
    const std::string tip = style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)).GetString();
    for (const std::string& name : names) EXPECT_NE(tip.find(name), std::string::npos) << tip;
}

TEST_F(BulkRefresh, UndoOfTheAttachBringsEveryRowBack) {
    OpenExpanded();
    const size_t nets = NetCount();
    const std::map<int, std::vector<std::string>> before = Rows();
    AutoNameEveryPin();
    ASSERT_GT(NetCount(), nets);
    Run("undo");
    EXPECT_EQ(NetCount(), nets);
    EXPECT_EQ(Rows(), before);
    // And redo shows the attach's rows again, as a reload does.
    Run("redo");
    EXPECT_GT(NetCount(), nets);
    EXPECT_EQ(Rows(), Reloaded());
}

TEST_F(BulkRefresh, ALegConnectedElsewhereShowsInItsRowAndNoOtherRowChanges) {
    OpenExpanded();
    ASSERT_EQ(Run("kx::edit ccp " + std::to_string(PinRow("CLK_N")) + " " + std::to_string(G::m_nColSignal) + " {}"),
              "1");
    ASSERT_EQ(Signal("CLK_N"), "");
    const std::map<int, std::vector<std::string>> before = Rows();
    CTransaction t(Board(), "elsewhere");
    INet* net = Board().design()->findNet("SYSCLK_N");
    ASSERT_NE(net, nullptr);
    constexpr unsigned kWhole = static_cast<unsigned>(-1);
    ASSERT_TRUE(t.addConn(net, kWhole, kWhole, Board().instance("U1").instTerm("CLK_N").instTerm(), kWhole, kWhole, 0));
    ASSERT_TRUE(t.commit());
    GetKXMsgSrvr()->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(Signal("CLK_N"), "SYSCLK_N");
    const std::map<int, std::vector<std::string>> after = Rows();
    int changed = 0;
    for (const auto& [row, cells] : after)
        if (before.count(row) && before.at(row) != cells) ++changed;
    EXPECT_LE(changed, 2) << "the leg's row and at most its pair row";
    EXPECT_EQ(after, Reloaded());
}

// One transaction that moves a pin more than once: the row shows where the pin ends, never a net
// the same transaction took it off again, whether the pin is a pair leg or not.
class MovedTwice : public BulkRefresh {
protected:
    static constexpr unsigned kWhole = static_cast<unsigned>(-1);
    IInstTerm* Pin(const char* name) { return Board().instance("U1").instTerm(name).instTerm(); }
    // Moves the pin onto each net in turn (new scalar nets, made last to first so that the net it ends
    // on is the oldest of them) in one committed transaction; with bFree the pin is parted from it again.
    void MoveThrough(const char* pin, const std::vector<std::string>& nets, bool bFree) {
        CTransaction t(Board(), "moves");
        std::map<std::string, const INet*> made;
        for (auto it = nets.rbegin(); it != nets.rend(); ++it) {
            made[*it] = t.createNet(it->c_str(), kWhole, kWhole);
            ASSERT_NE(made[*it], nullptr) << *it;
        }
        const INet* last = nullptr;
        for (const std::string& name : nets) {
            last = made[name];
            ASSERT_TRUE(t.addConn(last, kWhole, kWhole, Pin(pin), kWhole, kWhole, 0)) << name;
        }
        if (bFree) { ASSERT_TRUE(t.removeConn(last, kWhole, kWhole, Pin(pin), kWhole, kWhole, 0)); }
        ASSERT_TRUE(t.commit());
        GetKXMsgSrvr()->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t));
    }
};

TEST_F(MovedTwice, APinShowsTheNetItWasMovedToLast) {
    OpenExpanded();
    MoveThrough("MCLK", {"FIRST_STOP", "SECOND_STOP", "LAST_STOP"}, false);
    EXPECT_EQ(Signal("MCLK"), "LAST_STOP");
    EXPECT_EQ(Rows(), Reloaded());
}

TEST_F(MovedTwice, ALegShowsTheNetItWasMovedToLast) {
    OpenExpanded();
    MoveThrough("CLK_N", {"LEG_FIRST", "LEG_LAST"}, false);
    EXPECT_EQ(Signal("CLK_N"), "LEG_LAST");
    EXPECT_EQ(Signal("CLK_P"), "SYSCLK_P") << "the other leg stays";
    EXPECT_EQ(Rows(), Reloaded());
}

TEST_F(MovedTwice, APinMovedAndFreedShowsNoNet) {
    OpenExpanded();
    MoveThrough("MCLK", {"PASSING", "GONE_AGAIN"}, true);
    EXPECT_EQ(Signal("MCLK"), "");
    MoveThrough("CLK_P", {"LEG_PASSING"}, true);
    EXPECT_EQ(Signal("CLK_P"), "");
    EXPECT_EQ(Rows(), Reloaded());
}

// The progress text of a long run: written when the percentage changes, not at every step.
TEST(ProgressSteps, TheTextChangesWithThePercentageAndAfterALabel) {
    kxpingrid::ProgressScope progress("Adding", 400);
    CKXProgressBar* bar = CKXProgressBar::m_pProgressBar;
    ASSERT_NE(bar, nullptr);
    // The percentage is of the steps through once this one is: the line shows the bar after it.
    progress.Step("%d%% of %d", 0);
    EXPECT_EQ(std::string(bar->GetText()), "0% of 400");
    progress.Step("%d%% of %d", 2);
    EXPECT_EQ(std::string(bar->GetText()), "0% of 400");
    progress.Step("%d%% of %d", 3);
    EXPECT_EQ(std::string(bar->GetText()), "1% of 400");
    progress.Show("Checking");
    EXPECT_EQ(std::string(bar->GetText()), "Checking");
    // The same percentage again is written again after a label took its place.
    progress.Step("%d%% of %d", 5);
    EXPECT_EQ(std::string(bar->GetText()), "1% of 400");
    progress.Step("%d Pins, %d%%", 6); // another format is written at once
    EXPECT_EQ(std::string(bar->GetText()), "1 Pins, 400%");
    EXPECT_EQ(bar->GetPos(), 6); // every step moves the bar, written or not
}

} // namespace
