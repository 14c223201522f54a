#include "KXShellFixture.h"

#include "KXTableEditor.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxdoc.h"
#include "afx/afxres.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <gtest/gtest.h>

using EntryTest = KXShellFixture;

TEST_F(EntryTest, InitialisationRunsTheSiblingsInTheirOrderEveryTime) {
    KXTableEditorClearInitSteps();
    InitKXTableEditorDLL();
    InitKXTableEditorDLL();
    const std::vector<std::string> once = {
        "resources",     "kxcontrols",    "kxcommon",    "kxclipboard",       "kxaddblock",
        "kxmodelassign", "kxinstsigpane", "kxassoccomp", "rmx/tblerrors.txt", "factories"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(KXTableEditorInitSteps(), twice);
    // The message file gave its texts.
    EXPECT_TRUE(CKXErrorHandler::HasMessage("KXTABLE-169"));
}

TEST_F(EntryTest, ThreadNotificationsChangeNothingAndToolbarsAreNone) {
    KXTableEditorClearInitSteps();
    EXPECT_EQ(KXTableEditorDllMain(nullptr, 2, nullptr), 1);
    EXPECT_EQ(KXTableEditorDllMain(nullptr, 3, nullptr), 1);
    EXPECT_TRUE(KXTableEditorInitSteps().empty());
    EXPECT_EQ(DllAddToolBars(), 1);
    // Attaching with no module handle fails the load before anything is initialised.
    EXPECT_EQ(KXTableEditorDllMain(nullptr, 1, nullptr), 0);
    EXPECT_TRUE(KXTableEditorInitSteps().empty());
}

TEST_F(EntryTest, TheTemplateIsTheTableDocumentType) {
    std::unique_ptr<CDocTemplate> tmpl(DllGetDocTemplate());
    ASSERT_TRUE(tmpl);
    CString s;
    ASSERT_TRUE(tmpl->GetDocString(s, CDocTemplate::regFileTypeId));
    EXPECT_EQ(s, CString("KXTable.Document"));
    ASSERT_TRUE(tmpl->GetDocString(s, CDocTemplate::filterExt));
    EXPECT_EQ(s, CString(".tbl"));
    ASSERT_TRUE(tmpl->GetDocString(s, CDocTemplate::filterName));
    EXPECT_EQ(s, CString("Design Editor Table Files (*.tbl)"));
    CString whole;
    ASSERT_TRUE(whole.LoadString(IDR_KXTABLETYPE));
    EXPECT_EQ(whole, CString("\nKXTable\nKXTable\nDesign Editor Table Files "
                             "(*.tbl)\n.tbl\nKXTable.Document\nKXTable Document"));
}

TEST_F(EntryTest, OpeningCreatesDocumentFrameAndPanesWiredTogether) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_TRUE(Doc());
    ASSERT_TRUE(Frame());
    ASSERT_TRUE(Ccp());
    ASSERT_TRUE(Clp());
    ASSERT_TRUE(Slp());
    EXPECT_EQ(Ccp()->GetChildFrame(), Frame());
    EXPECT_EQ(Frame()->GetInstancePaneView(), Clp());
    EXPECT_EQ(Frame()->GetSignalPaneView(), Slp());
    EXPECT_TRUE(Doc()->GetComments());
    EXPECT_EQ(Ccp()->GetCommentStore(), Doc()->GetComments());
    EXPECT_EQ(Notifications(MSG_DESIGN_OPENED).size(), 1u);
}
