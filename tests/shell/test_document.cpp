#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "afx/afxdisp.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxnotes/CComments.h"
#include "rmx/DesignBuilder.h"
#include "rmx/schema.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using DocumentTest = KXShellFixture;

TEST_F(DocumentTest, PhysicalViewOpensWithoutCommentStore) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Doc()->GetComments(), nullptr);
    auto opened = Notifications(MSG_DESIGN_OPENED);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].substr(0, 2), "4 ");
}

TEST_F(DocumentTest, PlainSaveInEditModeBecomesSaveAsAndSilentSaveSavesInPlace) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    // The Save As dialog is not answered: nothing is saved, nothing journalled, and the word says so.
    EXPECT_EQ(Word("saveDesign"), 0);
    EXPECT_TRUE(Notifications(MSG_DESIGN_SAVED).empty());
    EXPECT_EQ(JournalText().find(".Save()"), std::string::npos);
    EXPECT_NE(Transcript().find("dialog CKXCreateBlockDlg"), std::string::npos);
    // Silent: saved in place, and journalled as the call that saves in place.
    Doc()->SetModified(TRUE);
    EXPECT_TRUE(Doc()->SaveCurrentDesign(Doc()->GetPathName(), TRUE));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 1u);
    EXPECT_NE(JournalText().find("call board.Save(\"InPlace\")"), std::string::npos) << JournalText();
    // That call saves in place, asking nothing; another text is refused.
    IDispatch* disp = Doc()->GetDocumentInterface();
    COleVariant result;
    ASSERT_EQ(Run("kx::call AddSignal INPLACESIG {} {}"), "1");
    ASSERT_EQ(AfxInvokeByName(disp, "Save", {COleVariant("InPlace")}, &result), S_OK);
    EXPECT_NE(result.boolVal, VARIANT_FALSE);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 2u);
    ASSERT_EQ(AfxInvokeByName(disp, "Save", {COleVariant("Elsewhere")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 2u);
    disp->Release();
}

TEST_F(DocumentTest, SaveInBlockModeSavesAndJournalsWithTheCellName) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 1u);
    EXPECT_NE(JournalText().find("\n\n ' --- Save Current Block ---\n\ncall board.Save()"),
              std::string::npos);
    EXPECT_NE(Transcript().find("status: Saved Design: \"work.board:sch\""), std::string::npos);
    EXPECT_EQ(Word("saveDesign x"), 0);
    EXPECT_EQ(Messages().back(), "KXTABLE-170");
}

TEST_F(DocumentTest, ContextModeSaveInformsOnceAndReplayNeverAsks) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    AfxGetAnswerQueue().PushDialog("CKXDontAskAgainDlg", TRUE, {{"dontAskAgain", "1"}});
    EXPECT_TRUE(Doc()->SaveCurrentDesign(Doc()->GetPathName(), FALSE));
    // With the replay flag the value counts as 1 and nothing is asked or written.
    CKXShareGlobalData::SetReplay(TRUE);
    size_t asked = AnswerLog().size();
    EXPECT_TRUE(Doc()->SaveCurrentDesign(Doc()->GetPathName(), FALSE));
    EXPECT_EQ(AnswerLog().size(), asked);
    CKXShareGlobalData::SetReplay(FALSE);
}

TEST_F(DocumentTest, ClosingEchoesJournalsAndClosesOnce) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    std::string err;
    ASSERT_TRUE(m_app->Close(err)) << err;
    auto echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "closeDesign -nosave");
    EXPECT_NE(JournalText().find("\n\n ' --- Close Current Block ---\n\ncall board_phys.Close()"),
              std::string::npos);
    EXPECT_EQ(Notifications(MSG_DESIGN_CLOSED).size(), 1u);
    EXPECT_EQ(m_app->Documents().size(), 0u);
}

TEST_F(DocumentTest, ClosingWhileTheApplicationClosesStillJournals) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Echoes();
    CKXShareAppData::m_bIsAppClosing = TRUE;
    Doc()->OnCloseDocument();
    CKXShareAppData::m_bIsAppClosing = FALSE;
    EXPECT_TRUE(Echoes().empty());
    EXPECT_NE(JournalText().find("call board.Close()"), std::string::npos);
}

// The host's exit closes every window without saving: a window whose design another window still shows
// leaves its edits to that one, the last window drops them, and the journal says which, each close after
// the line that selects its window.
TEST_F(DocumentTest, TheHostsExitJournalsWhatEachCloseDidWithTheEdits) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("kx::call AddSignal KEPT {} {}"), "1");
    const size_t before = JournalText().size();
    CKXShareAppData::m_bIsAppClosing = TRUE;
    m_app->Template()->CloseAllDocuments(TRUE);
    CKXShareAppData::m_bIsAppClosing = FALSE;
    const std::string exit = JournalText().substr(before);
    const size_t kept = exit.find("call board_phys.Close(\"Keep\")");
    const size_t dropped = exit.find("call board.Close(False)");
    ASSERT_NE(kept, std::string::npos) << exit;
    ASSERT_NE(dropped, std::string::npos) << exit;
    EXPECT_LT(exit.find("call RMX.SelectTab(\"1\")"), kept) << exit;
    EXPECT_LT(exit.find("set board_phys = RMX.GetActiveTab()"), kept) << exit;
    EXPECT_LT(kept, exit.find("set board = RMX.GetActiveTab()")) << exit;
    EXPECT_LT(exit.find("set board = RMX.GetActiveTab()"), dropped) << exit;
}

// Close("Keep") closes a window without saving and without taking back its edits, which the other
// window of the design goes on with; Close(False) takes them back.
TEST_F(DocumentTest, ACloseThatKeepsTheEditsLeavesThemToTheOtherWindow) {
    IDesign* design = m_app->Server()->findDesign("work.board:sch");
    ASSERT_TRUE(design);
    for (const char* how : {"Keep", "False"}) {
        SCOPED_TRACE(how);
        ASSERT_TRUE(Open("work.board:sch", 3));
        ASSERT_TRUE(Open("work.board:sch", 3));
        ASSERT_EQ(Run("kx::call AddSignal NEWSIG {} {}"), "1");
        IDispatch* disp = Doc()->GetDocumentInterface();
        COleVariant result;
        const COleVariant arg = CString(how) == "Keep" ? COleVariant("Keep") : COleVariant(false);
        ASSERT_EQ(AfxInvokeByName(disp, "Close", {arg}, &result), S_OK);
        EXPECT_NE(result.boolVal, VARIANT_FALSE);
        ASSERT_EQ(m_app->Documents().size(), 1u);
        EXPECT_EQ(design->findNet("NEWSIG") != nullptr, CString(how) == "Keep");
        std::string err;
        Doc()->SetModified(FALSE);
        ASSERT_TRUE(m_app->Close(err)) << err;
    }
}

// A window that closes without saving while another shows the design takes back only what it did since
// the design was saved: the saved edit stays in the design, so that the other window's save keeps it.
TEST_F(DocumentTest, ACloseWithoutSavingKeepsTheEditsTheDesignWasSavedWith) {
    IDesign* design = m_app->Server()->findDesign("work.board:sch");
    ASSERT_TRUE(design);
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("kx::call AddSignal SAVEDSIG {} {}"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_EQ(Run("kx::call AddSignal LATERSIG {} {}"), "1");
    const size_t before = JournalText().size();
    ASSERT_EQ(Run("kx::answer question KXCOMMON-101 no; kx::close"), "1");
    ASSERT_EQ(m_app->Documents().size(), 1u);
    EXPECT_TRUE(design->findNet("SAVEDSIG"));
    EXPECT_FALSE(design->findNet("LATERSIG"));
    // One step taken back, journalled so: a replay keeps the saved signal too.
    const std::string closed = JournalText().substr(before);
    const size_t undo = closed.find(".Undo()");
    EXPECT_NE(undo, std::string::npos) << closed;
    EXPECT_EQ(closed.find(".Undo()", undo + 1), std::string::npos) << closed;
    // The remaining window has nothing left to save: the design is as saved, and the last close leaves it so.
    ASSERT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-530");
    ASSERT_EQ(Run("kx::answer question KXCOMMON-101 no; kx::close"), "1");
    EXPECT_TRUE(design->findNet("SAVEDSIG"));
}

TEST_F(DocumentTest, AutomationMethodsCheckTheirArguments) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    IDispatch* disp = Doc()->GetDocumentInterface();
    ASSERT_TRUE(disp);
    COleVariant result;
    // The keyword is case-sensitive.
    ASSERT_EQ(AfxInvokeByName(disp, "ChangeBlkOption",
                              {COleVariant("suffix"), COleVariant("x"), COleVariant("")}, &result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    // AliasNets needs both names.
    ASSERT_EQ(AfxInvokeByName(disp, "AliasNets", {COleVariant(""), COleVariant("N1")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    // Comments go through the host's script command, whose answer is the result.
    ASSERT_EQ(AfxInvokeByName(disp, "InsertComment", {COleVariant("say \"hi\" [now]")}, &result), S_OK);
    EXPECT_NE(result.boolVal, VARIANT_FALSE);
    CString text, date, time, user;
    ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user));
    EXPECT_EQ(text, CString("say \"hi\" [now]"));
    EXPECT_NE(JournalText().find(".InsertComment(\"say \"\"hi\"\" [now]\")"), std::string::npos);
    disp->Release();
}

TEST_F(DocumentTest, CloseByAutomationIsStoppedByACancel) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Doc()->SetModified(TRUE);
    AfxGetAnswerQueue().PushQuestion("*", IDCANCEL);
    IDispatch* disp = Doc()->GetDocumentInterface();
    ASSERT_EQ(AfxInvokeByName(disp, "Close", {}), S_OK);
    disp->Release();
    EXPECT_EQ(m_app->Documents().size(), 1u);
}

TEST_F(DocumentTest, ACorruptCommentFileStopsTheOpeningWithItsReason) {
    // The comments file of "board" lives beside the design.
    std::ofstream(m_lib / "board.TableEditor.notes") << "this is not a comments file\n";
    std::string error;
    EXPECT_FALSE(m_app->Open("work.board:sch", 1, error));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-134"}));
    EXPECT_EQ(m_app->Documents().size(), 0u);
    EXPECT_NE(Transcript().find("board.TableEditor.notes"), std::string::npos) << Transcript();
}

TEST_F(DocumentTest, OmittedAutomationArgumentsTakeTheirDefaults) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    IDispatch* disp = Doc()->GetDocumentInterface();
    ASSERT_TRUE(disp);
    COleVariant result;
    // The seventh argument of AddComponent is 1 when omitted.
    ASSERT_EQ(AfxInvokeByName(
                  disp, "AddComponent",
                  {COleVariant("U9"), COleVariant("work"), COleVariant("res"), COleVariant("sym")}, &result),
              S_OK);
    EXPECT_EQ(Clp()->GetLastCall(), CString("AddComponent(U9, work, res, sym, , , 1)"));
    // The OPTIMIZED option needs no value; the keyword is case-sensitive.
    ASSERT_EQ(AfxInvokeByName(disp, "ChangeBlkOption",
                              {COleVariant("OPTIMIZED"), COleVariant(""), COleVariant("t")}, &result),
              S_OK);
    EXPECT_EQ(Clp()->GetLastCall().Left(26), CString("EditBlkPackagingOptions(3,"));
    // From the first omitted variant on, later ones count as omitted too.
    ASSERT_EQ(AfxInvokeByName(disp, "ChangeBlkOption",
                              {COleVariant("PREFIX"), COleVariant("P_"), COleVariant("t"), COleVariant("a"),
                               COleVariant::Missing(), COleVariant("c"), COleVariant("d")},
                              &result),
              S_OK);
    EXPECT_EQ(Clp()->GetLastCall(), CString("EditBlkPackagingOptions(1, P_, t, a, , , )"));
    // Both variants of AliasNets omitted: "1" and "1".
    ASSERT_EQ(AfxInvokeByName(disp, "AliasNets", {COleVariant("N1"), COleVariant("GND")}, &result), S_OK);
    EXPECT_EQ(Slp()->GetLastCall(), CString("AliasNets(N1, GND, 1, 1)"));
    // AddBlock: "true" in any case sets the flag; the three names are needed.
    ASSERT_EQ(AfxInvokeByName(disp, "AddBlock",
                              {COleVariant(""), COleVariant("b"), COleVariant("c"), COleVariant("SUFFIX"),
                               COleVariant("_x"), COleVariant("")},
                              &result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    disp->Release();
}

TEST_F(DocumentTest, DispatchIdsFollowTheMapOrder) {
    ASSERT_TRUE(Open());
    IDispatch* disp = Doc()->GetDocumentInterface();
    ASSERT_TRUE(disp);
    const char* names[] = {"Clp",         "Slp",           "ConnectivityPane", "Undo",
                           "Redo",        "Descend",       "Ascend",           "DeleteAlias",
                           "EditBlock",   "AddSignal",     "ChangeBlkOption",  "Save",
                           "Close",       "AddComponent",  "AddBlock",         "ModifyComponent",
                           "AliasNets",   "InsertComment", "EditComment",      "DeleteComment",
                           "SaveBlockAs", "DeleteRefDes",  "EditRefDes"};
    for (int i = 0; i < 23; ++i) {
        LPCOLESTR name = names[i];
        DISPID id = 0;
        ASSERT_EQ(disp->GetIDsOfNames(&name, 1, &id), S_OK) << names[i];
        EXPECT_EQ(id, i + 1) << names[i];
    }
    // The pane accessors give the panes' automation objects.
    COleVariant result;
    ASSERT_EQ(AfxInvokeByName(disp, "ConnectivityPane", {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    EXPECT_TRUE(result.pdispVal);
    disp->Release();
}

TEST_F(DocumentTest, AConfirmedSaveAsMakesTheBlockAndJournalsIt) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    AfxGetAnswerQueue().PushDialog("CKXCreateBlockDlg", TRUE, {{"library", "work"}, {"block", "board_as"}});
    EXPECT_EQ(Word("saveDesignAs"), 2);
    EXPECT_TRUE(std::filesystem::exists(m_lib / "board_as.sch.design"));
    EXPECT_EQ(Notifications(MSG_SAVE_AS_LIBRARY_SELECTED), (std::vector<std::string>{"work"}));
    EXPECT_NE(JournalText().find(
                  "\n\n ' --- Save Current Block As---\n\ncall board.SaveBlockAs(\"work\",\"board_as\")"),
              std::string::npos);
    // A block that cannot be made is reported, answered 0 and not journalled.
    AfxGetAnswerQueue().PushDialog("CKXCreateBlockDlg", TRUE, {{"library", "work"}, {"block", "bad name"}});
    std::string before = JournalText();
    EXPECT_EQ(Word("saveDesignAs"), 0);
    EXPECT_EQ(JournalText(), before);
    EXPECT_NE(Transcript().find("status: Block not created: "), std::string::npos);
}

// ------------------------------------------------------------------ a changed interface

namespace {

// The block "blk" is placed twice in "top" and once in "board"; the test widens its port P.
class InterfaceSave : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.schematic("top").instance("X1", "blk", "", "sch").instance("X2", "blk", "", "sch");
        b.connect("X1", "P", "A").connect("X2", "P", "B");
    }
    // The schematic tool widens the block's port P, as the user does there while the block is open here.
    void WidenPortP() { ASSERT_EQ(Run("kx::schematic port P 3 0"), "1"); }
};

TEST_F(InterfaceSave, EachParentIsListedOnceAndNoKeepsTheDesignUnsaved) {
    ASSERT_TRUE(Open("work.blk:sch", 3));
    WidenPortP();
    Run("kx::answer question KXTABLE-131 no");
    EXPECT_EQ(Word("saveDesign"), 0);
    EXPECT_EQ(AnswerLog(), (std::vector<std::string>{"question KXTABLE-131: no"}));
    const std::string said = Transcript();
    const size_t at = said.find("KXTABLE-131");
    ASSERT_NE(at, std::string::npos) << said;
    const std::string question = said.substr(at);
    EXPECT_NE(question.find("Changed port P"), std::string::npos) << question;
    EXPECT_NE(question.find("board\ntop\n"), std::string::npos) << question; // top once for X1 and X2
    EXPECT_NE(said.find("status: Design not saved"), std::string::npos);
    EXPECT_TRUE(Notifications(MSG_DESIGN_SAVED).empty());
    EXPECT_TRUE(Notifications(MSG_DESIGN_INTERFACE_SAVED).empty());
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(InterfaceSave, YesSavesAndTellsTheParentsOfTheNewInterfaceOnce) {
    ASSERT_TRUE(Open("work.blk:sch", 3));
    WidenPortP();
    Run("kx::answer question KXTABLE-131 yes");
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_EQ(Notifications(MSG_DESIGN_INTERFACE_SAVED), (std::vector<std::string>{"Changed port P"}));
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 1u);
    EXPECT_FALSE(Doc()->IsModified());
    std::stringstream saved;
    saved << std::ifstream(m_lib / "blk.sch.design").rdbuf();
    EXPECT_NE(saved.str().find("port P 3 0"), std::string::npos) << saved.str();
    // The saved interface is the one the parents were told of: the next save asks nothing.
    ClearNotifications();
    ASSERT_EQ(Run("kx::call AddSignal NEXTSIG {} {}"), "1");
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_EQ(AnswerLog().size(), 1u);
    EXPECT_TRUE(Notifications(MSG_DESIGN_INTERFACE_SAVED).empty());
}

// The tool's edit is the design's: the window follows it as modified, and the journal holds it where
// the session made it, so that a replay widens the port before the save that asks about the parents.
TEST_F(InterfaceSave, TheToolsPortChangeMarksTheDesignAndIsJournalledBeforeTheSave) {
    ASSERT_TRUE(Open("work.blk:sch", 3));
    ASSERT_FALSE(Doc()->IsModified());
    WidenPortP();
    EXPECT_TRUE(Doc()->IsModified());
    Run("kx::answer question KXTABLE-131 yes");
    ASSERT_EQ(Word("saveDesign"), 1);
    const std::string journal = JournalText();
    const size_t widened = journal.find("call RMX.Schematic(\"port P 3 0\")");
    ASSERT_NE(widened, std::string::npos) << journal;
    EXPECT_NE(journal.find(".Save()", widened), std::string::npos) << journal;
}

// What the tool names must be there and be a change the design takes; a refused edit changes and
// journals nothing.
TEST_F(InterfaceSave, ARefusedToolEditChangesNothing) {
    ASSERT_TRUE(Open("work.blk:sch", 3));
    const std::string before = JournalText();
    EXPECT_EQ(Run("kx::schematic port NOPE 3 0"), "error: no port \"NOPE\"");
    EXPECT_EQ(Run("kx::schematic port P 3"), Run("kx::schematic"));
    EXPECT_EQ(Run("kx::schematic port P x 0").rfind("error: usage: kx::schematic", 0), 0u);
    EXPECT_EQ(Run("kx::schematic net NOPE N2"), "error: no net \"NOPE\"");
    EXPECT_EQ(Run("kx::schematic pintype R9 A sideways").rfind("error: usage:", 0), 0u);
    EXPECT_EQ(Run("kx::schematic pinwidth R9 NOPE 1 0"), "error: no pin \"R9 NOPE\"");
    // A connected pin keeps its width: the design refuses, and says why.
    EXPECT_EQ(Run("kx::schematic pinwidth R9 A 1 0").rfind("error: the design refused the change: ", 0), 0u);
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_TRUE(AnswerLog().empty());
}

// A port change is one step of the transaction: a discard puts the interface back.
TEST_F(InterfaceSave, ADiscardedPortChangeLeavesNothingToTell) {
    ASSERT_TRUE(Open("work.blk:sch", 3));
    IDesign* blk = Doc()->GetMasterDesignContext().design();
    CTransaction t(Doc()->GetMasterDesignContext());
    ASSERT_TRUE(t.changePortWidth(blk->findPort("P"), 3, 0));
    EXPECT_EQ(blk->findPort("P")->msb(), 3);
    t.discard();
    EXPECT_EQ(blk->findPort("P")->msb(), -1);
    CString description;
    EXPECT_FALSE(CKXShareGlobalData::m_pServer->isInterfaceChanged(blk, description));
    EXPECT_FALSE(t.changePortWidth(nullptr, 1, 0));
    EXPECT_FALSE(t.changePortWidth(blk->findPort("P"), 1, -1));
    Doc()->SetModified(TRUE);
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_TRUE(AnswerLog().empty());
}

} // namespace
