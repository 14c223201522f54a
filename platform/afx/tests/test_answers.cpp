#include "afx/afx.h"

#include <gtest/gtest.h>

class CAnswerTest : public ::testing::Test {
protected:
    void SetUp() override { AfxGetAnswerQueue().Reset(); }
    void TearDown() override { AfxGetAnswerQueue().Reset(); }
    CAfxAnswerQueue& Q() { return AfxGetAnswerQueue(); }
};

TEST_F(CAnswerTest, QuestionsAreAnsweredByMessageIdAndDefaultToNo) {
    Q().PushQuestion("KX-2", IDYES);
    Q().PushQuestion("KX-1", IDNO);
    EXPECT_EQ(AfxAskQuestion("KX-1", "first?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxAskQuestion("KX-3", "unscripted?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxAskQuestion("KX-2", "second?", MB_YESNO), IDYES);
    EXPECT_EQ(Q().GetPendingCount(), 0);
    EXPECT_EQ(AfxAskQuestion("KX-4", "cancel?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxAskQuestion("KX-5", "info", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(
        Q().GetLogLines(),
        (std::vector<CString>{"question KX-1: no", "question KX-3: no (unanswered)", "question KX-2: yes",
                              "question KX-4: cancel (unanswered)", "question KX-5: ok (unanswered)"}));
}

TEST_F(CAnswerTest, AnAnswerThatDoesNotFitTheButtonsIsNotUsed) {
    Q().PushQuestion("*", IDYES);
    EXPECT_EQ(AfxMessageBox("plain message", MB_OK), IDOK); // IDYES does not fit an OK box
    EXPECT_EQ(Q().GetPendingCount(), 1);
    EXPECT_EQ(AfxMessageBox("any text", MB_YESNO), IDYES); // "*" answers any question
    EXPECT_EQ(Q().GetPendingCount(), 0);
}

TEST_F(CAnswerTest, ReplayAnswersYesWithoutConsumingAnswers) {
    Q().PushQuestion("KX-1", IDNO);
    Q().SetReplay(TRUE);
    EXPECT_EQ(AfxAskQuestion("KX-1", "q", MB_YESNO), IDYES);
    EXPECT_EQ(AfxAskQuestion("KX-9", "q", MB_OKCANCEL), IDOK);
    EXPECT_EQ(Q().GetPendingCount(), 1);
    Q().SetReplay(FALSE);
    EXPECT_EQ(AfxAskQuestion("KX-1", "q", MB_YESNO), IDNO);
    EXPECT_EQ(Q().GetLog().size(), 3u);
    EXPECT_EQ(Q().GetLog()[0].Line(), "question KX-1: yes (replay)");
}

TEST_F(CAnswerTest, DialogsByClassWithFieldsAndCancelByDefault) {
    Q().PushDialog("COtherDlg", TRUE);
    Q().PushDialog("CNameDlg", TRUE, {{"name", "abc"}, {"1001", "x"}});
    AfxDialogAnswer a;
    EXPECT_TRUE(Q().TakeDialog("CNameDlg", a));
    EXPECT_EQ(a.fields["name"], "abc");
    EXPECT_FALSE(Q().TakeDialog("CNameDlg", a));
    EXPECT_TRUE(a.fields.empty());
    Q().PushDialog("CNameDlg", FALSE, {{"name", "ignored"}});
    EXPECT_FALSE(Q().TakeDialog("CNameDlg", a));
    EXPECT_EQ(Q().GetPendingCount(), 1); // COtherDlg still waits
    EXPECT_EQ(Q().GetLogLines(),
              (std::vector<CString>{"dialog CNameDlg: ok", "dialog CNameDlg: cancel (unanswered)",
                                    "dialog CNameDlg: cancel"}));
}

TEST_F(CAnswerTest, MenusReturnTheScriptedIdOnlyWhenTheMenuHoldsIt) {
    std::vector<UINT> ids{10, 20, 30};
    EXPECT_EQ(Q().TakeMenu(&ids), 0u);
    Q().PushMenu(20);
    Q().PushMenu(99);
    EXPECT_EQ(Q().TakeMenu(&ids), 20u);
    EXPECT_EQ(Q().TakeMenu(&ids), 0u);
    EXPECT_EQ(Q().GetLogLines(),
              (std::vector<CString>{"menu: 0 (unanswered)", "menu: 20", "menu: 0 (99 not in the menu)"}));
}

TEST_F(CAnswerTest, ListenerSeesEachRecordAndRecorderKeepsStatusText) {
    std::vector<CString> seen;
    Q().SetListener([&](const AfxAnswerRecord& r) { seen.push_back(r.Line()); });
    AfxMessageBox("hello");
    Q().SetListener(nullptr);
    EXPECT_EQ(seen, (std::vector<CString>{"question hello: ok (unanswered)"}));

    CMessageRecorderWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", 0, CRect(0, 0, 10, 10), nullptr, 0));
    AfxSetMainWnd(&main);
    main.m_textParams[0x840F] = 'w';
    CString status("Ready");
    AfxGetMainWnd()->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(status.GetString()));
    CString script("ascend");
    AfxGetMainWnd()->SendMessage(0x840F, reinterpret_cast<WPARAM>(script.GetString()), 0);
    status = "changed";
    EXPECT_EQ(main.m_strStatus, "Ready");
    EXPECT_EQ(main.TextsOf(0x840F), (std::vector<CString>{"ascend"}));
    main.DestroyWindow();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

// A dialog that cannot take its answer marks its own record refused, the latest of its class.
TEST_F(CAnswerTest, ADialogRefusesItsOwnLatestAnswer) {
    Q().PushDialog("CNameDlg", TRUE, {{"name", "a"}});
    Q().PushDialog("CNameDlg", TRUE, {{"name", "b"}});
    AfxDialogAnswer a;
    ASSERT_TRUE(Q().TakeDialog("CNameDlg", a));
    ASSERT_TRUE(Q().TakeDialog("CNameDlg", a));
    Q().RefuseDialog("CNameDlg", "b is not offered");
    Q().RefuseDialog("CNeverAskedDlg", "nothing to mark");
    ASSERT_EQ(Q().GetLog().size(), 2u);
    EXPECT_EQ(Q().GetLog()[0].answer, "ok");
    EXPECT_EQ(Q().GetLog()[1].answer, "refused");
    EXPECT_EQ(Q().GetLog()[1].text, "b is not offered");
}
