// The instance connectivity dialog opened while a cell of the pane is still being edited, or its list
// is down: what the dialog connects is its one step, kept by OK (answer 1, journalled, replayed as that
// step) or thrown away whole by Cancel (answer 0, the design and the undo history as they were), on
// every way the dialog connects (function entries, typed rules, the cell list, a paste).
#include "KXDemoBoard.h"
#include "KXGridCellProcs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The pane's states the dialog opens beside: U1's MCLK Signal cell in edit, and its list down.
const std::vector<std::string> kPaneStates = {
    "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::key ccp F2",
    "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::key ccp Alt+Down",
};

// What `paste 1` pastes, copied before the pane's cell is left in edit.
const std::string kCopyPgood = "kx::show clp U1; copy pin [list U1 PGOOD C10] Signal; ";

// What the user does in the dialog on R2 before OK or Cancel: each way the dialog connects, after a
// function entry that only prepared a rule in the combo where the fault showed first.
const std::vector<std::vector<std::string>> kDialogWork = {
    {"pins {B A} fx 35282", "pins {B A} fx 35275", "pins B fx 35255"},
    {"pins {B A} fx 35282", "pins {A B} fx 35280"},
    {"pins {B A} fx 35275", "pins B fx 35256"},
    {"pins {A} fx 35276", "pins {A} signal _X"},
    {"pins {B} fx 35282", "pins {B} signal {IC,4}"},
    {"pins {A} fx 35278", "pins {A} signal P_"},
    {"pins {B A} fx 35277", "pins {A} cell PG"},
    {"pins {B A} fx 35282", "pins {A B} paste 1"},
    {"pins {A} cell PG", "pins {B} fx 35282", "pins {B} fx 35255"},
};

class InstConnBesideAnEdit : public DemoBoard {
protected:
    void SetUp() override {
        DemoBoard::SetUp();
        if (HasFatalFailure()) return;
        Run(kCellProc);
    }

    // Queues the dialog's work and the button that ends it.
    void Answer(const std::vector<std::string>& work, const char* button) {
        for (const std::string& step : work)
            Run("kx::answer dialog CKXInstConnDlg ok " + step);
        Run(std::string("kx::answer dialog CKXInstConnDlg ") + button);
    }

    static std::string Case(const std::string& state, const std::vector<std::string>& work) {
        std::string text = state;
        for (const std::string& step : work)
            text += " | " + step;
        return text;
    }
};

TEST_F(InstConnBesideAnEdit, OkKeepsTheDialogsConnectsAsItsOneStepAndTheJournalReplaysIt) {
    for (const std::string& state : kPaneStates)
        for (const std::vector<std::string>& work : kDialogWork) {
            const std::string what = Case(state, work);
            const size_t from = JournalText().size();
            ASSERT_TRUE(OpenBoard(3, kCopyPgood + state)) << what;
            const int before = Ccp()->GetUndoStepCount();
            Answer(work, "ok");
            EXPECT_EQ(Run("kx::instconn R2 9"), "1") << what;
            EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 1) << what;
            const std::string history = Run("kx::history");
            EXPECT_EQ(history.substr(history.rfind('\n') + 1), "undo Instance Connectivity") << what;
            const std::string netlist = Run("kx::netlist");
            const std::string journal = JournalText().substr(from);
            Run("closeDesign -nosave");
            const std::filesystem::path file = m_dir / "dialog.vbs";
            std::ofstream(file, std::ios::binary) << journal;
            EXPECT_EQ(Run("kx::replay " + file.string()), "1") << what;
            EXPECT_EQ(Run("kx::netlist"), netlist) << what << "\n" << journal;
            EXPECT_EQ(Run("kx::history"), history) << what << "\n" << journal;
            Run("closeDesign -nosave");
        }
}

TEST_F(InstConnBesideAnEdit, CancelThrowsTheDialogsConnectsAwayWhole) {
    for (const std::string& state : kPaneStates)
        for (const std::vector<std::string>& work : kDialogWork) {
            const std::string what = Case(state, work);
            ASSERT_TRUE(OpenBoard(3, kCopyPgood + state)) << what;
            const DesignMark mark = MarkDesign();
            Answer(work, "cancel");
            EXPECT_EQ(Run("kx::instconn R2 9"), "0") << what;
            ExpectUnchangedSince(mark, what);
            Run("closeDesign -nosave");
        }
}

// A cell of the pane edited and left in edit is stored when the dialog takes the keyboard: an edit of
// its own before the dialog's step, journalled before it.
TEST_F(InstConnBesideAnEdit, AnEditedCellOfThePaneIsStoredAsAStepBeforeTheDialogs) {
    const size_t from = JournalText().size();
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp {*}[kxcell MCLK Signal]; kx::key ccp F2; "
                             "kx::key ccp Backspace"));
    Answer({"pins {B A} fx 35282", "pins B fx 35255"}, "ok");
    EXPECT_EQ(Run("kx::instconn R2 9"), "1");
    const std::string history = Run("kx::history");
    EXPECT_EQ(history.substr(history.rfind('\n') + 1), "undo Instance Connectivity") << history;
    const std::string netlist = Run("kx::netlist");
    EXPECT_NE(netlist.find("U1 MCLK MCL\n"), std::string::npos) << netlist;
    const std::string journal = JournalText().substr(from);
    Run("closeDesign -nosave");
    const std::filesystem::path file = m_dir / "edited.vbs";
    std::ofstream(file, std::ios::binary) << journal;
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    EXPECT_EQ(Run("kx::netlist"), netlist) << journal;
    EXPECT_EQ(Run("kx::history"), history) << journal;
}

} // namespace
