#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxcommon/KXDocument.h"
#include "kxnotes/CComments.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using FrameCommandTest = KXShellFixture;

TEST_F(FrameCommandTest, SelectWindowByNameInAnyCase) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Word("selectWindow ccp"), 1);
    int row = -1, col = -1;
    Frame()->OuterSplitter().GetActivePane(&row, &col);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(Word("selectWindow SLP"), 1);
    Frame()->InnerSplitter().GetActivePane(&row, &col);
    EXPECT_EQ(row, 1);
    Messages();
    EXPECT_EQ(Word("selectWindow xyz"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-169"})); // a refusal says why
    EXPECT_EQ(Word("selectWindow -HELP"), 1);
    EXPECT_EQ(Word("selectWindow -h"), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-169", "KXTABLE-169"}));
    // A window name that merely contains "-h" is a wrong name, not a help request.
    EXPECT_EQ(Word("selectWindow a-hb"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-169"}));
}

TEST_F(FrameCommandTest, CloseDesignOptions) {
    ASSERT_TRUE(Open());
    // Operands the word cannot read: its usage, and nothing closed (0).
    EXPECT_EQ(Word("closeDesign"), 0);
    EXPECT_EQ(Word("closeDesign -save -nosave"), 0);
    EXPECT_EQ(Word("closeDesign maybe"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-195", "KXTABLE-195", "KXTABLE-195"}));
    EXPECT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(Word("closeDesign -nothing"), 1);
    EXPECT_EQ(m_app->Documents().size(), 0u);
    EXPECT_NE(JournalText().find("call board.Close()"), std::string::npos);
}

TEST_F(FrameCommandTest, CloseWithSaveSavesFirstAndAFailedSaveKeepsTheWindow) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Doc()->SetModified(TRUE);
    EXPECT_EQ(Word("closeDesign -Save"), 1);
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 1u);
    EXPECT_EQ(m_app->Documents().size(), 0u);
    // In edit mode the save is a Save As; cancelled, the window stays, and the message names the mode as
    // the reason.
    ASSERT_TRUE(Open("work.board:sch", 1));
    Doc()->SetModified(TRUE);
    EXPECT_EQ(Word("closeDesign -sx"), 0);
    EXPECT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(Messages().back(), "KXTABLE-383");
}

TEST_F(FrameCommandTest, SaveAsAndUndoArguments) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("saveDesignAs"), 2);
    EXPECT_EQ(Word("saveDesignAs lib"), 0);
    EXPECT_EQ(Word("saveDesignAs a b c"), 0);
    EXPECT_EQ(Word("undo now"), 0);
    EXPECT_EQ(Word("redo now"), 0);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"KXTABLE-174", "KXTABLE-174", "KXTABLE-171", "KXTABLE-172"}));
    // Nothing to undo: refused, nothing journalled.
    EXPECT_EQ(Word("undo"), 0);
    EXPECT_EQ(JournalText().find(".Undo()"), std::string::npos);
}

TEST_F(FrameCommandTest, ViewSwitchingWords) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    CKXInstancePaneGrid* grid = Clp()->GetInstancePaneGrid();
    std::string error;
    // Each word switches: the physical view's window becomes the active one; back to the first.
    EXPECT_EQ(Word("physicalView -PROMPT"), 1);
    EXPECT_EQ(grid->GetLastCall(), CString("ViewPhysical(-1)"));
    ASSERT_TRUE(m_app->ActivateTab(1, error)) << error;
    EXPECT_EQ(Word("physicalView -n"), 1);
    EXPECT_EQ(grid->GetLastCall(), CString("ViewPhysical(0)"));
    ASSERT_TRUE(m_app->ActivateTab(1, error)) << error;
    grid->ClearCalls();
    EXPECT_EQ(Word("physicalView -p"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-166"}));
    EXPECT_EQ(Word("logicalView"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-471"}));
    EXPECT_EQ(grid->GetLastCall(), CString(""));
}

TEST_F(FrameCommandTest, AscendOnlyFromABlockOpenedInItsParent) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("ascend"), 0);
    EXPECT_EQ(Word("ascend x"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-175", "KXTABLE-165"}));
    // A block opened on its own in a mode that ascends has no parent: nothing opens, nothing is journalled.
    ASSERT_TRUE(Open("work.blk:sch", 3));
    const std::string journal = JournalText();
    ClearNotifications();
    EXPECT_EQ(Word("ascend"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-175"}));
    EXPECT_TRUE(Notifications(MSG_OPEN_DESIGN).empty());
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(m_app->Documents().size(), 2u);
}

TEST_F(FrameCommandTest, DesignCommentAddEditDelete) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("designComment"), 0);
    EXPECT_EQ(Word("designComment rename"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-168", "KXTABLE-168"}));

    EXPECT_EQ(Word("designComment add {first \"note\"}"), 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(
        JournalText().find(
            "\n\n  '--- Insert Design Comment --- \n\ncall board.InsertComment(\"first \"\"note\"\"\")"),
        std::string::npos);
    EXPECT_EQ(Word("designComment add again"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-178"}));

    std::string before = JournalText();
    EXPECT_EQ(Word("designComment edit {first \"note\"}"), 0); // the same text: nothing
    EXPECT_EQ(JournalText(), before);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-302"}));
    EXPECT_EQ(Word("designComment edit {  second  }"), 1);
    CString text, date, time, user;
    ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("second"));
    EXPECT_EQ(user, CString("tester"));
    EXPECT_EQ(Word("designComment delete"), 1);
    EXPECT_FALSE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    // Refused: 0, with the message.
    EXPECT_EQ(Word("designComment delete"), 0);
    EXPECT_EQ(Word("designComment edit x"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-180", "KXTABLE-181"}));
}

// A comment of white space alone, typed after the word or entered in the dialog of the menu or the word, is
// no comment: nothing is stored or journalled, the design stays unmodified, and the refusal says why.
TEST_F(FrameCommandTest, AnEmptyDesignCommentIsRefusedOnEveryRoad) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    const std::string journal = JournalText();
    CString text, date, time, user;
    Messages();
    EXPECT_EQ(Word("designComment add {   }"), 0);
    Run("kx::answer dialog CKXCommentsDlg ok text {   }");
    EXPECT_EQ(Run("kx::menu 35614"), "0");
    Run("kx::answer dialog CKXCommentsDlg ok text {  }");
    EXPECT_EQ(Word("designComment add"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-521", "KXTABLE-521", "KXTABLE-521"}));
    EXPECT_FALSE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(JournalText(), journal);

    ASSERT_EQ(Word("designComment add kept"), 1);
    Doc()->SetModified(FALSE);
    const std::string kept = JournalText();
    EXPECT_EQ(Word("designComment edit { }"), 0);
    Run("kx::answer dialog CKXCommentsDlg ok text {   }");
    EXPECT_EQ(Run("kx::menu 35616"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-521", "KXTABLE-521"}));
    ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("kept"));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(JournalText(), kept);
    // Cancelled, the dialog still answers 2.
    Run("kx::answer dialog CKXCommentsDlg cancel");
    EXPECT_EQ(Run("kx::menu 35616"), "2");
}

TEST_F(FrameCommandTest, DesignCommentOutsideEditModeIsRefused) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Word("designComment add x"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-179"}));
}

TEST_F(FrameCommandTest, InteractiveCommentEchoesAQuotedCommand) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    AfxGetAnswerQueue().PushDialog("CKXCommentsDlg", TRUE, {{"text", "  a [b] $c \"d\"  "}});
    EXPECT_EQ(Word("designComment add"), 2);
    CString text, date, time, user;
    ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("a [b] $c \"d\""));
}

TEST_F(FrameCommandTest, FilterBlockOnlyInThePhysicalView) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("filterBlock -exclude X1"), 0); // not in the logical view
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-178"}));
    EXPECT_TRUE(Notifications(MSG_BLOCK_FILTER_CHANGED).empty());
}

TEST_F(FrameCommandTest, FilterBlockExcludesAndIncludesBlocks) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ClearNotifications();
    EXPECT_EQ(Word("filterBlock -ex X1"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-173"}));
    // A name of no instance, an empty name and a component's name are refused by their message ids.
    EXPECT_EQ(Word("filterBlock -e NOPE"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-423"}));
    EXPECT_EQ(Word("filterBlock -e [list {}]"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-423"}));
    EXPECT_EQ(Word("filterBlock -e R1"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-424"}));
    EXPECT_TRUE(Notifications(MSG_BLOCK_FILTER_CHANGED).empty());

    EXPECT_EQ(Word("filterBlock -EXCLUDE X1"), 1);
    EXPECT_EQ(Notifications(MSG_BLOCK_FILTER_CHANGED), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Word("filterBlock -i [list all]"), 1);
    EXPECT_EQ(Notifications(MSG_BLOCK_FILTER_CHANGED), (std::vector<std::string>{"1", "0"}));
}

// The block filter is journalled as the call that filters the same blocks again, and that call
// writes the same physModule.dat; a refused filter journals nothing.
TEST_F(FrameCommandTest, FilterBlockIsJournalledAsTheCallThatRepeatsIt) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    auto stored = [this] {
        std::ifstream in(m_lib / "physModule.dat");
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(Word("filterBlock -e [list X1]"), 1);
    const std::string excluded = stored();
    ASSERT_FALSE(excluded.empty());
    EXPECT_NE(JournalText().find("\ncall board_phys.FilterBlock(\"-exclude\",\"X1\")"), std::string::npos);
    EXPECT_EQ(Word("filterBlock -include all"), 1);
    EXPECT_NE(JournalText().find("\ncall board_phys.FilterBlock(\"-include\",\"all\")"), std::string::npos);
    const std::string before = JournalText();
    EXPECT_EQ(Word("filterBlock -e NOPE"), 0);
    EXPECT_EQ(JournalText(), before);

    EXPECT_TRUE(Doc()->FilterBlock("-exclude", "X1"));
    EXPECT_EQ(stored(), excluded);
    EXPECT_TRUE(Doc()->FilterBlock("-include", "all"));
    EXPECT_EQ(stored(), "");
    Messages();
    EXPECT_FALSE(Doc()->FilterBlock("-x", "X1"));
    EXPECT_FALSE(Doc()->FilterBlock("-exclude", "NOPE\nX1"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-173", "KXTABLE-423"}));
    EXPECT_EQ(stored(), "");
}

TEST_F(FrameCommandTest, InterfaceCommandsNeedASubTool) {
    ASSERT_TRUE(Open());
    ::unsetenv("RMX_SUBTOOL_ID");
    EXPECT_EQ(Word("exportInterface -inst U1"), 0);
    EXPECT_EQ(Word("importInterface -inst U1"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-227", "KXPANE-227"}));
}

TEST_F(FrameCommandTest, UndoAndRedoOfAListPaneEditGoThroughTheWindowsHistory) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Run("kx::call AddSignal NEWSIG {} {}"), "1");
    IDesign* design = Doc()->GetMasterDesignContext().design();
    ASSERT_TRUE(design->findNet("NEWSIG"));
    ASSERT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_EQ(Word("undo"), 1);
    EXPECT_FALSE(design->findNet("NEWSIG"));
    EXPECT_EQ(Ccp()->GetRedoStepCount(), 1);
    EXPECT_NE(JournalText().find("\n\n ' --- Undo ---\n\ncall board.Undo()"), std::string::npos);
    EXPECT_EQ(Word("redo"), 1);
    EXPECT_TRUE(design->findNet("NEWSIG"));
    EXPECT_NE(JournalText().find("\ncall board.Redo()"), std::string::npos);
    // The document's automation asks the host, which runs the same command.
    Echoes();
    EXPECT_EQ(Run("kx::call Undo"), "1");
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"undo"}));
    EXPECT_FALSE(design->findNet("NEWSIG"));
}

namespace {
// Runs the interface commands as a sub-tool of the host.
struct SubTool {
    SubTool() { ::setenv("RMX_SUBTOOL_ID", "7", 1); }
    ~SubTool() { ::unsetenv("RMX_SUBTOOL_ID"); }
};
} // namespace

TEST_F(FrameCommandTest, ExportInterfacePassesThePathOfTheListedInstance) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    CKXInstancePaneGrid* grid = Clp()->GetInstancePaneGrid();
    grid->ClearCalls();
    std::filesystem::create_directories(m_dir / "out");
    EXPECT_EQ(Word("exportInterface -inst X1 -file {out\\x1.if}"), 1);
    EXPECT_TRUE(Messages().empty());
    CString call = grid->GetLastCall();
    EXPECT_EQ(call.Find("ExportCodesignInterface(1, @"), 0) << call.GetString();
    EXPECT_NE(call.Find("out/x1.if, 0)"), -1) << call.GetString();
    EXPECT_TRUE(std::filesystem::exists(m_dir / "out" / "x1.if"));
    EXPECT_EQ(Word("exportInterface -inst X1 -file a.if -e"), 1);
    EXPECT_NE(grid->GetLastCall().Find(", 1)"), -1);
    // An instance the list does not show is refused, not exported with an empty path.
    grid->ClearCalls();
    EXPECT_EQ(Word("exportInterface -inst NOPE -file a.if"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-189"}));
    EXPECT_EQ(grid->GetLastCall(), CString(""));
    EXPECT_EQ(Word("exportInterface"), 2);
    EXPECT_EQ(Word("exportInterface X1"), 0);
    EXPECT_EQ(Word("exportInterface -inst"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-229", "KXPANE-230"}));
}

TEST_F(FrameCommandTest, ImportInterfaceTakesAFileNameWithDashes) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    CKXInstancePaneGrid* grid = Clp()->GetInstancePaneGrid();
    std::filesystem::create_directories(m_dir / "x");
    std::ofstream(m_dir / "x" / "my-file.dat") << "instance X1\npin P inout FRESH\n";
    EXPECT_EQ(Word("importInterface -file x/my-file.dat -inst X1"), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(grid->GetLastCall(), CString("ImportCodesignInterface(1, x/my-file.dat, X1)"));
    EXPECT_EQ(Word("importInterface"), 2);
}

TEST_F(FrameCommandTest, ExcludedBlocksAreStoredAndReadWhenThePhysicalViewOpens) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Word("filterBlock -exclude X1"), 1);
    std::ifstream in(m_lib / "physModule.dat");
    std::string line, all;
    while (std::getline(in, line))
        all += line + "|";
    EXPECT_EQ(all.front(), '@');
    EXPECT_EQ(std::count(all.begin(), all.end(), '|'), 1);
    // Excluding it again changes nothing: refused, and the file keeps one line.
    EXPECT_EQ(Word("filterBlock -e X1"), 0);
    std::ifstream again(m_lib / "physModule.dat");
    int lines = 0;
    while (std::getline(again, line))
        ++lines;
    EXPECT_EQ(lines, 1);

    std::string err;
    ASSERT_TRUE(m_app->Close(err));
    ClearNotifications();
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Notifications(MSG_BLOCK_FILTER_CHANGED), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 1);
    EXPECT_EQ(Slp()->GetBlockFilterList().GetCount(), 1);
}

// A filter file with a line that is no block path is not taken in part or in silence: the physical view says
// so as it opens and shows every block, and the filter word neither writes over the file nor journals.
TEST_F(FrameCommandTest, AFilterFileThatDoesNotReadIsSaidAndKept) {
    const std::string kept = "# blocks left out\n@X1\n";
    std::ofstream(m_lib / "physModule.dat") << kept;
    ClearNotifications();
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-522"}));
    EXPECT_EQ(Notifications(MSG_BLOCK_FILTER_CHANGED), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);
    const std::string journal = JournalText();
    EXPECT_EQ(Word("filterBlock -exclude X1"), 0);
    EXPECT_EQ(Word("filterBlock -include all"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-522", "KXTABLE-522"}));
    std::ifstream in(m_lib / "physModule.dat");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kept);
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(FrameCommandTest, AnEditModeWindowReadsNoBlockFilter) {
    std::ofstream(m_lib / "physModule.dat") << "@1\n";
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_TRUE(Notifications(MSG_BLOCK_FILTER_CHANGED).empty());
}

TEST_F(FrameCommandTest, SaveDesignAsWithNamesMakesTheBlockWithoutADialog) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("saveDesignAs work board_v2"), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(std::filesystem::exists(m_lib / "board_v2.sch.design"));
    EXPECT_EQ(Word("saveDesignAs work {bad name}"), 0);
    EXPECT_NE(Transcript().find("status: Block not created: "), std::string::npos);
    Messages();
    // Only the editable block and the physical view offer it: the message names the window's mode.
    std::string err;
    ASSERT_TRUE(m_app->Close(err));
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Word("saveDesignAs work board_v3"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-384"}));
    EXPECT_NE(Transcript().find("this window is in mode 3"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_lib / "board_v3.sch.design"));
}

// The block goes into the library the design came from, where a later load of that library finds it, and
// its journal line makes the same block when replayed in a fresh host.
TEST_F(FrameCommandTest, SaveDesignAsMakesTheBlockInTheDesignsLibraryAndReplaysIt) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("saveDesignAs work board_v2"), 1);
    EXPECT_TRUE(Messages().empty());
    const std::filesystem::path block = m_lib / "board_v2.sch.design";
    ASSERT_TRUE(std::filesystem::exists(block));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "work"));
    EXPECT_NE(JournalText().find(".SaveBlockAs(\"work\",\"board_v2\")"), std::string::npos) << JournalText();
    // The new block opens in the same session.
    EXPECT_TRUE(Open("work.board_v2:sch", 1));
    IServer later;
    CString error;
    EXPECT_TRUE(later.loadLibrary(m_lib.string().c_str(), error)) << error.str();
    EXPECT_NE(later.findDesign("work.board_v2:sch"), nullptr);
    std::stringstream made;
    made << std::ifstream(block).rdbuf();
    ReplayedSnapshot("saveas");
    std::stringstream replayed;
    replayed << std::ifstream(m_dir / "replayed" / "board_v2.sch.design").rdbuf();
    EXPECT_EQ(replayed.str(), made.str());
}

// A block the library has, loaded or only on disk, and a name that is no name are refused with the
// message; nothing is written or journalled.
TEST_F(FrameCommandTest, SaveDesignAsRefusesATakenOrBadNameWithItsMessage) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    std::stringstream board;
    board << std::ifstream(m_lib / "board.sch.design").rdbuf();
    const auto files = std::distance(std::filesystem::directory_iterator(m_lib), {});
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(Word("saveDesignAs work board"), 0);
    EXPECT_EQ(Word("saveDesignAs {bad name!} x"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-301", "KXTABLE-301"}));
    // A library the session does not know is refused: no folder of that name is made.
    EXPECT_EQ(Word("saveDesignAs nolib x"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-301"}));
    EXPECT_FALSE(std::filesystem::exists(m_lib.parent_path() / "nolib"));
    std::ofstream(m_lib / "disk_only.sch.design") << "kept\n";
    EXPECT_EQ(Word("saveDesignAs work disk_only"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-301"}));
    std::stringstream kept, after;
    kept << std::ifstream(m_lib / "disk_only.sch.design").rdbuf();
    EXPECT_EQ(kept.str(), "kept\n");
    after << std::ifstream(m_lib / "board.sch.design").rdbuf();
    EXPECT_EQ(after.str(), board.str());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_lib), {}), files + 1);
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(FrameCommandTest, AscendFromABlockInItsParentsContextOpensTheParent) {
    CDesignContext top(m_app->Server(), m_app->Server()->findDesign("work.board:sch"));
    CDesignContext block = top.instance("X1").containedDesign();
    ASSERT_TRUE(block.design());
    auto* tmpl = dynamic_cast<CKXMultiDocTemplate*>(m_app->Template());
    ASSERT_TRUE(tmpl);
    ASSERT_TRUE(tmpl->OpenDocumentFile(block, 2));
    std::string error;
    ASSERT_TRUE(m_app->ActivateTab(1, error)) << error;
    CCmdUI ui;
    ui.m_nID = 35109;
    ui.DoUpdate(Frame(), FALSE);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_EQ(Word("ascend"), 1);
    auto open = Notifications(MSG_OPEN_DESIGN);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0], "2 work.board:sch");
    const std::string journal = JournalText();
    const size_t ascend = journal.find("\n\n ' --- Ascend ---\n\ncall blk.Ascend()");
    EXPECT_NE(ascend, std::string::npos);
    // The host opened the parent in a window of its own; the ascend is the journal's one line for it,
    // before the parent's window reports itself.
    EXPECT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(journal.find("RMX.OpenDesign(\"work.board:sch\", \"2\")"), std::string::npos) << journal;
    EXPECT_LT(ascend, journal.find("call RMX.SelectTab(\"2\")")) << journal;
}

// A second ascend from the block goes back to the parent's window: the parent is not opened again, and the
// journal's Ascend() lines make the same windows in a replay.
TEST_F(FrameCommandTest, AnAscendAgainMakesTheParentsWindowActiveInsteadOfOpeningAnother) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("kx::open -block X1 2"), "1");
    ASSERT_EQ(Word("ascend"), 1);
    ASSERT_EQ(m_app->Documents().size(), 3u);
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Word("ascend"), 1);
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Run("kx::call Ascend"), "1");
    EXPECT_EQ(m_app->Documents().size(), 3u);
    EXPECT_EQ(Notifications(MSG_OPEN_DESIGN).size(), 1u);
    auto* doc = dynamic_cast<CKXDocument*>(Doc());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->GetOpenMode(), 2);
    EXPECT_STREQ(doc->GetDesignContext().design()->name(), "work.board:sch");
    // Replayed in a fresh window set, the three Ascend() lines open the parent once as well.
    const std::string journal = JournalText();
    const std::filesystem::path file = m_dir / "ascend.vbs";
    std::ofstream(file, std::ios::binary) << journal.substr(journal.find("call RMX.OpenDesign"));
    while (!m_app->Documents().empty())
        Run("kx::call Close False");
    EXPECT_EQ(Run("kx::replay " + file.string()), "1") << Transcript();
    EXPECT_EQ(m_app->Documents().size(), 3u);
}

TEST_F(FrameCommandTest, TheFilterDialogEchoesTheCommandThatDoesTheWork) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    Echoes();
    AfxGetAnswerQueue().PushDialog("CKXDlgFilterPhys", TRUE, {{"paths", ""}});
    Run("kx::menu 35571");
    auto echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes[0], "filterBlock -include [list all]");

    CString x1 = Doc()->GetMasterDesignContext().instance("X1").spath();
    AfxGetAnswerQueue().PushDialog("CKXDlgFilterPhys", TRUE, {{"paths", x1 + "\n"}});
    Run("kx::menu 35571");
    echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes[0], "filterBlock -exclude [list X1]");
    EXPECT_EQ(Notifications(MSG_BLOCK_FILTER_CHANGED).back(), "1");
    // Cancelled: nothing is sent.
    Run("kx::menu 35571");
    EXPECT_TRUE(Echoes().empty());
    // The script command without arguments opens the dialog.
    EXPECT_EQ(Word("filterBlock"), 2);
}
