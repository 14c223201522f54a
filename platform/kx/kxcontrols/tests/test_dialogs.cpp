#include <gtest/gtest.h>

#include "afx/afxanswer.h"
#include "kxcontrols/KXDialogs.h"
#include "kxcontrols/KXRegistrySettings.h"

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        CKXRegistrySettings::SetValue(nullptr, CKXRetainAssocCompDlg::RegDontAsk(), 0);
    }
    void TearDown() override {
        AfxGetAnswerQueue().Reset();
        CKXRegistrySettings::SetValue(nullptr, CKXRetainAssocCompDlg::RegDontAsk(), 0);
    }
};

TEST_F(DialogsTest, DontAskAgainAnswersFromTheQueueAndUnansweredIsCancelOrNo) {
    CKXDontAskAgainDlg info("Saving this design will save the parent design.");
    EXPECT_EQ(info.DoModal(), IDCANCEL);
    EXPECT_FALSE(info.GetDontAskAgain());
    AfxGetAnswerQueue().PushDialog("CKXDontAskAgainDlg", TRUE, {{"dontAskAgain", "1"}});
    EXPECT_EQ(info.DoModal(), IDOK);
    EXPECT_TRUE(info.GetDontAskAgain());

    CKXDontAskAgainYesNoDlg question("Continue?");
    EXPECT_EQ(question.DoModal(), IDNO);
    AfxGetAnswerQueue().PushDialog("CKXDontAskAgainYesNoDlg", FALSE, {{"dontAskAgain", "1"}});
    EXPECT_EQ(question.DoModal(), IDNO);
    EXPECT_TRUE(question.GetDontAskAgain()); // the box ticked before No is ticked
    AfxGetAnswerQueue().PushDialog("CKXDontAskAgainYesNoDlg", TRUE, {{"dontAskAgain", "true"}});
    EXPECT_EQ(question.DoModal(), IDYES);
    EXPECT_TRUE(question.GetDontAskAgain());
}

TEST_F(DialogsTest, RetainQuestionRemembersItsDontAskChoice) {
    {
        CKXRetainAssocCompDlg dlg;
        EXPECT_FALSE(dlg.DontAskToRetainAssocComp());
        EXPECT_TRUE(dlg.CanPreserveTermination());
        EXPECT_TRUE(dlg.CanPreservePupd());
        dlg.SetPreserveTerminationFlag(0);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL); // unanswered: flags unchanged
        EXPECT_FALSE(dlg.CanPreserveTermination());
        AfxGetAnswerQueue().PushDialog("CKXRetainAssocCompDlg", TRUE,
                                       {{"preserveTermination", "1"}, {"preservePupd", "0"}, {"dontAsk", "1"}});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(dlg.CanPreserveTermination());
        EXPECT_FALSE(dlg.CanPreservePupd());
    }
    CKXRetainAssocCompDlg next;
    EXPECT_TRUE(next.DontAskToRetainAssocComp());
    EXPECT_TRUE(next.CanPreserveTermination());
    EXPECT_FALSE(next.CanPreservePupd());
}

TEST_F(DialogsTest, RetainQuestionNetReplaceListTracksCopiedPairs) {
    CKXRetainAssocCompDlg dlg;
    EXPECT_FALSE(dlg.IsAlreadyCopied("OLD", "NEW"));
    EXPECT_TRUE(dlg.IsAlreadyCopied("OLD", "NEW"));
    EXPECT_FALSE(dlg.IsAlreadyCopied("OLD", "OTHER"));
    CStringList carried;
    dlg.GetNetReplaceList(carried);
    EXPECT_EQ(carried.GetCount(), 2);
    CKXRetainAssocCompDlg later;
    later.SetNetReplaceList(carried);
    EXPECT_TRUE(later.IsAlreadyCopied("OLD", "NEW"));
    // The pair is kept apart exactly: "A" + "BC" is not "AB" + "C".
    EXPECT_FALSE(later.IsAlreadyCopied("A", "BC"));
    EXPECT_FALSE(later.IsAlreadyCopied("AB", "C"));
}

TEST_F(DialogsTest, CommentsAndZoom) {
    CKXCommentsDlg comments("old");
    EXPECT_EQ(comments.DoModal(), IDCANCEL);
    EXPECT_EQ(comments.GetText(), "old");
    AfxGetAnswerQueue().PushDialog("CKXCommentsDlg", TRUE, {{"text", "new \"quoted\" text"}});
    EXPECT_EQ(comments.DoModal(), IDOK);
    EXPECT_EQ(comments.GetText(), "new \"quoted\" text");

    CKXZoomDialog zoom(1000);
    EXPECT_EQ(zoom.GetZoom(), CKXZoomDialog::kMaxZoom);
    AfxGetAnswerQueue().PushDialog("CKXZoomDialog", TRUE, {{"zoom", "150"}});
    EXPECT_EQ(zoom.DoModal(), IDOK);
    EXPECT_EQ(zoom.GetZoom(), 150);
    // A text that is no whole number is refused as a zoom out of range is.
    for (const char* text : {"abc", "", "150abc"}) {
        AfxGetAnswerQueue().PushDialog("CKXZoomDialog", TRUE, {{"zoom", text}});
        EXPECT_EQ(zoom.DoModal(), IDCANCEL) << text;
        EXPECT_TRUE(zoom.IsOutOfRange()) << text;
        EXPECT_EQ(zoom.GetZoom(), 150) << text;
    }
    // A zoom outside 10..400 is refused, not brought into range: the dialog keeps its zoom.
    AfxGetAnswerQueue().PushDialog("CKXZoomDialog", TRUE, {{"zoom", "99999999999999999999"}});
    EXPECT_EQ(zoom.DoModal(), IDCANCEL);
    EXPECT_EQ(zoom.GetZoom(), 150);
    AfxGetAnswerQueue().PushDialog("CKXZoomDialog", TRUE, {{"zoom", "-5"}});
    EXPECT_EQ(zoom.DoModal(), IDCANCEL);
    EXPECT_EQ(zoom.GetZoom(), 150);
    AfxGetAnswerQueue().PushDialog("CKXZoomDialog", TRUE, {{"zoom", "401"}});
    EXPECT_EQ(zoom.DoModal(), IDCANCEL);
    EXPECT_EQ(zoom.GetZoom(), 150);
}
