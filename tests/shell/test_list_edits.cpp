// The component list's edits as a journal replays them: blocks and their packaging option, the
// master of a component, reference designators. Each changes the design in one transaction and
// journals itself, or refuses with a message and changes and journals nothing.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include "kxnotes/CComments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

class ListEdits : public KXShellFixture {
protected:
    bool Modified() { return Doc() && Doc()->IsModified(); }
    bool Journals(const std::string& text) { return JournalText().find(text) != std::string::npos; }
};

TEST_F(ListEdits, AddBlockPlacesTheSchematicWithItsOption) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::call AddBlock B2 work blk SUFFIX _b sch TRUE"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@B2 PACKAGING_OPTION"), "SUFFIX");
    EXPECT_EQ(Run("kx::prop work.board:sch@B2 PACKAGING_VALUE"), "_b");
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(Journals("call board.AddBlock(\"B2\",\"work\",\"blk\",\"SUFFIX\",\"_b\",\"sch\",\"TRUE\""));
    EXPECT_NE(Run("kx::window clp").find("B2"), std::string::npos);
    // The option changes; OPTIMIZED takes no value.
    EXPECT_EQ(Run("kx::call ChangeBlkOption OPTIMIZED {} B2"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@B2 PACKAGING_OPTION"), "OPTIMIZED");
    EXPECT_EQ(Run("kx::prop work.board:sch@B2 PACKAGING_VALUE").rfind("error: no property", 0), 0u);
    EXPECT_TRUE(Journals("call board.ChangeBlkOption(\"OPTIMIZED\",\"\",\"B2\""));
}

TEST_F(ListEdits, RefusedEditsChangeAndJournalNothing) {
    ASSERT_TRUE(Open());
    const std::string before = JournalText();
    Messages();
    // A symbol is not a block; a name that is taken; a component that is not a block.
    EXPECT_EQ(Run("kx::call AddBlock B3 work res SUFFIX _b sym"), "0");
    EXPECT_EQ(Run("kx::call AddBlock U1 work blk SUFFIX _b {}"), "0");
    EXPECT_EQ(Run("kx::call ChangeBlkOption PREFIX P_ U1"), "0");
    EXPECT_EQ(Run("kx::call ModifyComponent U1 work.nosuch:sym"), "0");
    EXPECT_EQ(Run("kx::call EditRefDes NOPE R7"), "0");
    EXPECT_EQ(Run("kx::call DeleteRefDes"), "0"); // nothing selected
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-251", "KXPANE-252", "KXPANE-250", "KXPANE-251",
                                                    "KXPANE-250", "KXPANE-253"}));
    EXPECT_EQ(Run("kx::prop work.board:sch@B3 NAME").rfind("error: no object", 0), 0u);
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Modified());
}

TEST_F(ListEdits, ReferenceDesignatorsAndMastersChange) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::call EditRefDes R1 R100"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@R1 LOCATION"), "R100");
    EXPECT_TRUE(Journals("call board.EditRefDes(\"R1\",\"R100\")"));
    EXPECT_EQ(Run("kx::select clp R1"), "1");
    EXPECT_EQ(Run("kx::call DeleteRefDes"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@R1 LOCATION").rfind("error: no property", 0), 0u);
    EXPECT_TRUE(Journals("call board.DeleteRefDes()"));
    // R1 becomes a buffer: its master changes, the view kept.
    EXPECT_EQ(Run("kx::call ModifyComponent R1 work.buf"), "1");
    EXPECT_NE(Run("kx::window clp").find("R1"), std::string::npos);
    EXPECT_TRUE(Journals("call board.ModifyComponent(\"R1\",\"work.buf\")"));
    EXPECT_TRUE(Modified());
}

} // namespace

namespace {

using SaveComments = KXShellFixture;

TEST_F(SaveComments, ACommentsFileThatCannotBeWrittenFailsTheSave) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {kept} OUT"), "1");
    // A folder where the comments file goes: the file cannot be written.
    std::filesystem::create_directories(m_lib / "board.TableEditor.notes");
    Messages();
    Run("saveDesign");
    const std::vector<std::string> shown = Messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "KXTABLE-347"), shown.end());
    EXPECT_TRUE(Doc()->IsModified());
    // Once the file can be written, the save goes through.
    std::filesystem::remove(m_lib / "board.TableEditor.notes");
    Run("saveDesign");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(std::filesystem::is_regular_file(m_lib / "board.TableEditor.notes"));
}

} // namespace

namespace {

// The host renames an instance and tells the window: the comments of its pins go with it.
class PreserveComments : public KXShellFixture {
protected:
    std::string Comment(const char* instance, const char* pin) {
        CComments* store = Doc()->GetComments();
        CString text, date, time, user;
        if (!store || !store->getPinComments(instance, pin, text, date, time, user)) return "<none>";
        return text.str();
    }
    // The Comments cell (the row's last) of the pin's row (the pin its first cell), in `kx::window ccp`.
    std::string CommentCell(const std::string& pin) {
        return Run("string trim [lindex [split [lsearch -inline [split [kx::window ccp] \\n] {*: " + pin +
                   " |*}] |] end]");
    }
};

// The Comments cells follow the comments the host moves: in a grid kept for its next show, after a
// component's rename, and as the moves are undone and redone.
TEST_F(PreserveComments, TheCommentCellsFollowTheCommentsTheHostMoves) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {level} OUT"), "1");
    Run("kx::show clp R1");
    ASSERT_EQ(Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT:U1,IN 1"), "1");
    Run("kx::show clp U1");
    EXPECT_EQ(CommentCell("OUT") + "|" + CommentCell("IN"), "|level");
    Run("undo");
    EXPECT_EQ(CommentCell("OUT") + "|" + CommentCell("IN"), "level|");
    ASSERT_EQ(Run("kx::schematic instance U1 U7"), "1");
    ASSERT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 1"), "1");
    EXPECT_EQ(CommentCell("OUT"), "level");
    Run("undo");
    EXPECT_EQ(CommentCell("OUT"), "");
    Run("redo");
    EXPECT_EQ(CommentCell("OUT"), "level");
}

TEST_F(PreserveComments, ARenameInTheHostCarriesThePinCommentsAndUndoTakesThemBack) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {level} OUT"), "1");
    ASSERT_EQ(Run("addComment pin {clock} IN"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 1"), "1");
    EXPECT_EQ(Comment("U7", "OUT"), "level");
    EXPECT_EQ(Comment("U7", "IN"), "clock");
    EXPECT_EQ(Comment("U1", "OUT"), "<none>");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    Run("undo");
    EXPECT_EQ(Comment("U1", "OUT"), "level");
    EXPECT_EQ(Comment("U7", "OUT"), "<none>");
    Run("redo");
    EXPECT_EQ(Comment("U7", "IN"), "clock");
}

TEST_F(PreserveComments, WithoutUndoNoStepAndACommentAlreadyThereIsKept) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {old} OUT"), "1");
    Run("kx::show clp R1");
    ASSERT_EQ(Run("addComment pin {mine} A"), "1");
    Doc()->GetComments()->addPinComments("R1", "OUT", "taken", "", "", "");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:R1 0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Comment("R1", "OUT"), "taken"); // kept; the moved one stays where it was
    EXPECT_EQ(Comment("U1", "OUT"), "old");
    EXPECT_EQ(Comment("R1", "A"), "mine");
    // Nothing to move: nothing changes, no step.
    Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT X9:X10 1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Run("kx::notify NOT_A_HOST_MESSAGE").rfind("error:", 0), 0u);
}

// The host renames one pin (or moves it to another instance): its comment follows it.
TEST_F(PreserveComments, APinRenamedInTheHostTakesItsCommentInOneUndoableStep) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {level} OUT"), "1");
    ASSERT_EQ(Run("addComment pin {clock} IN"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT:U7,OUT2 1");
    EXPECT_EQ(Comment("U7", "OUT2"), "level");
    EXPECT_EQ(Comment("U1", "OUT"), "<none>");
    EXPECT_EQ(Comment("U1", "IN"), "clock"); // only the named pin moves
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    Run("undo");
    EXPECT_EQ(Comment("U1", "OUT"), "level");
    EXPECT_EQ(Comment("U7", "OUT2"), "<none>");
    Run("redo");
    EXPECT_EQ(Comment("U7", "OUT2"), "level");
}

// The host renames a pin of a component no pin grid shows: its comment moves all the same, as one
// undo step and one journal line; undo and redo keep its stamp and the comment the target had.
TEST_F(PreserveComments, APinCommentMovesWhetherOrNotAGridShowsItsComponent) {
    ASSERT_TRUE(Open());
    CComments* store = Doc()->GetComments();
    ASSERT_NE(store, nullptr);
    ASSERT_TRUE(store->addPinComments("U1", "OUT", "level", "d", "h", "u"));
    ASSERT_TRUE(store->addPinComments("U7", "OUT2", "taken", "d2", "h2", "u2"));
    Run("kx::show clp R1");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT:U7,OUT2 1");
    EXPECT_EQ(Comment("U7", "OUT2"), "level");
    EXPECT_EQ(Comment("U1", "OUT"), "<none>");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string journal = JournalText();
    const size_t line = journal.find("PreservePinComment(\"U1\",\"OUT\",\"U7\",\"OUT2\",\"1\")");
    EXPECT_NE(line, std::string::npos) << journal;
    EXPECT_EQ(journal.find("PreservePinComment", line + 1), std::string::npos) << journal;
    Run("undo");
    EXPECT_EQ(Comment("U1", "OUT"), "level");
    EXPECT_EQ(Comment("U7", "OUT2"), "taken");
    Run("redo");
    CString text, date, time, user;
    ASSERT_TRUE(store->getPinComments("U7", "OUT2", text, date, time, user));
    EXPECT_EQ(text + date + time + user, "leveldhu");
    // Without a grid of any kind too.
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U7,OUT2:U1,OUT 0");
    EXPECT_EQ(Comment("U1", "OUT"), "level");
}

TEST_F(PreserveComments, APinCommentMovedWithoutUndoOrWithNothingToMoveAddsNoStep) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {level} OUT"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT:U1,OUT9 0");
    EXPECT_EQ(Comment("U1", "OUT9"), "level");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT X9,P1:X9,P2 1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Comment("X9", "P2"), "<none>");
    // A text that is not four keys moves nothing.
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT9 1");
    EXPECT_EQ(Comment("U1", "OUT9"), "level");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // Nor does an instance rename that names one instance only.
    Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1 1");
    Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT :U1 1");
    EXPECT_EQ(Comment("U1", "OUT9"), "level");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(PreserveComments, ThePhysicalViewLeavesTheCommentsAlone) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {level} OUT"), "1");
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    ASSERT_TRUE(Open("work.board:sch", 4));
    Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 1");
    EXPECT_EQ(Comment("U7", "OUT"), "<none>");
    Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OUT:U7,OUT 1");
    EXPECT_EQ(Comment("U7", "OUT"), "<none>");
}

} // namespace
