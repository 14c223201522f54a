// Requests the host sends the component list through the design window: co-design marking and
// the clipboard viewer's paste. Each is one undoable transaction that journals itself, or a refusal
// with a message that leaves the design and the journal as they were.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

namespace {

class ListPaneCalls : public KXShellFixture {
protected:
    std::string Codesign(const char* instance) {
        return Run(std::string("kx::prop work.board:sch@") + instance + " CODESIGN");
    }
    bool Unset(const std::string& value) { return value.rfind("error: no property", 0) == 0; }
    bool Journals(const std::string& text) { return JournalText().find(text) != std::string::npos; }
};

TEST_F(ListPaneCalls, TheHostMarksComponentsAsCodesignInOneUndoStep) {
    ASSERT_TRUE(Open());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::notify INT_MSG_MARK_AS_CODESIGN {U1 R1} 1"), "0");
    EXPECT_EQ(Codesign("U1"), "TRUE");
    EXPECT_EQ(Codesign("R1"), "TRUE");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Journals("call board.Clp().MarkAsCodesign(\"U1 R1\",1)"));
    Run("undo");
    EXPECT_TRUE(Unset(Codesign("U1")));
    EXPECT_TRUE(Unset(Codesign("R1")));
    Run("redo");
    EXPECT_EQ(Codesign("R1"), "TRUE");
}

TEST_F(ListPaneCalls, WithoutNamesTheListSelectionIsMarkedAndTheMarkComesOff) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::select clp U1"), "1");
    Run("kx::notify INT_MSG_MARK_AS_CODESIGN {} 1");
    EXPECT_EQ(Codesign("U1"), "TRUE");
    EXPECT_TRUE(Unset(Codesign("R1")));
    // The automation method a journal replays takes the mark off again.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign U1 0"), "1");
    EXPECT_TRUE(Unset(Codesign("U1")));
    EXPECT_TRUE(Journals("call board.Clp().MarkAsCodesign(\"U1\",0)"));
}

TEST_F(ListPaneCalls, ARefusedMarkChangesAndJournalsNothing) {
    ASSERT_TRUE(Open());
    Messages();
    const std::string before = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    // An unknown name refuses the whole request, also for the names that exist.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign {U1 NOPE} 1"), "0");
    EXPECT_TRUE(Unset(Codesign("U1")));
    // Taking off a mark that is not there changes nothing, and says so.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign U1 0"), "0");
    // Nothing named, nothing selected.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign {} 1"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-250", "KXPANE-450", "KXPANE-450"}));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

} // namespace
