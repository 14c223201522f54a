#include "afx/afx.h"

#include <gtest/gtest.h>

namespace {
std::vector<CString> g_log;

class CSimpleDoc : public CDocument {
    DECLARE_DYNCREATE(CSimpleDoc)
public:
    BOOL OnSaveDocument(LPCTSTR path) override {
        g_log.push_back(CString("save ") + path);
        return CDocument::OnSaveDocument(path);
    }
};
IMPLEMENT_DYNCREATE(CSimpleDoc, CDocument)

constexpr UINT IDD_FORM = 9001;

class CFormPane : public CFormView {
    DECLARE_DYNCREATE(CFormPane)
public:
    CFormPane() : CFormView(IDD_FORM) {}
    CString m_strHint = "hint text";
    int m_nUpdates = 0;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject*) override {
        (void)pSender;
        ++m_nUpdates;
        CString s;
        s.Format("update %ld", static_cast<long>(lHint));
        g_log.push_back(s);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 9053, m_strHint); }
    void OnClose() {
        g_log.push_back("pane closes the document");
        GetDocument()->OnCloseDocument();
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CFormPane, CFormView)
BEGIN_MESSAGE_MAP(CFormPane, CFormView)
ON_COMMAND(35700, &CFormPane::OnClose)
END_MESSAGE_MAP()

class CSimpleApp : public CWinApp {
public:
    CSimpleApp() : CWinApp("simple") {}

protected:
    void OnAppCmd() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSimpleApp, CWinApp)
ON_COMMAND(ID_APP_EXIT, &CSimpleApp::OnAppCmd)
END_MESSAGE_MAP()

class CDocFrameMore : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        AfxGetAnswerQueue().Reset();
        AfxDialogDef form;
        form.style = WS_CHILD;
        form.items = {{9053, "STATIC", "", 0, 0, 0, 200, 20}};
        AfxAddDialogResource(nullptr, IDD_FORM, form);
        tmpl = std::make_unique<CMultiDocTemplate>(1, RUNTIME_CLASS(CSimpleDoc), RUNTIME_CLASS(CMDIChildWnd),
                                                   RUNTIME_CLASS(CFormPane));
    }
    void TearDown() override {
        tmpl->CloseAllDocuments(TRUE);
        tmpl.reset();
        AfxRemoveModuleResources(nullptr);
        AfxGetAnswerQueue().Reset();
        EXPECT_EQ(AfxGetWindowCount(), 0);
    }
    static CFormPane* PaneOf(CDocument* d) {
        POSITION p = d->GetFirstViewPosition();
        return static_cast<CFormPane*>(d->GetNextView(p));
    }
    std::unique_ptr<CMultiDocTemplate> tmpl;
};
} // namespace

TEST_F(CDocFrameMore, FormViewGetsTemplateControlsAndInitialData) {
    CDocument* d = tmpl->OpenDocumentFile(nullptr); // a new document
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetTitle(), "Untitled1");
    CFormPane* pane = PaneOf(d);
    CWnd* hint = pane->GetDlgItem(9053);
    ASSERT_NE(hint, nullptr);
    CString s;
    hint->GetWindowText(s);
    EXPECT_EQ(s, "hint text");
    EXPECT_EQ(pane->m_nUpdates, 1); // OnInitialUpdate -> OnUpdate
    EXPECT_TRUE(pane->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)));
}

TEST_F(CDocFrameMore, UpdateAllViewsSkipsTheSender) {
    CDocument* d = tmpl->OpenDocumentFile("x");
    CFormPane* pane = PaneOf(d);
    g_log.clear();
    d->UpdateAllViews(pane, 3);
    d->UpdateAllViews(nullptr, 4);
    EXPECT_EQ(g_log, (std::vector<CString>{"update 4"}));
}

TEST_F(CDocFrameMore, SaveModifiedFollowsTheAnswer) {
    CDocument* d = tmpl->OpenDocumentFile("/designs/lib/top.tbl");
    EXPECT_EQ(d->GetTitle(), "top.tbl");
    g_log.clear();
    EXPECT_TRUE(d->SaveModified()); // not modified: no question
    EXPECT_TRUE(AfxGetAnswerQueue().GetLog().empty());
    d->SetModifiedFlag();
    AfxGetAnswerQueue().PushQuestion("*", IDNO);
    EXPECT_TRUE(d->SaveModified());
    EXPECT_TRUE(g_log.empty());
    AfxGetAnswerQueue().PushQuestion("*", IDYES);
    EXPECT_TRUE(d->SaveModified());
    EXPECT_EQ(g_log, (std::vector<CString>{"save /designs/lib/top.tbl"}));
    EXPECT_FALSE(d->IsModified());
    d->SetModifiedFlag();
    EXPECT_FALSE(d->SaveModified()); // unanswered yes/no/cancel: Cancel, nothing is dropped
    EXPECT_TRUE(AfxGetAnswerQueue().GetLog().back().answer == "cancel");
    EXPECT_TRUE(d->IsModified());
    AfxGetAnswerQueue().PushQuestion("*", IDCANCEL);
    EXPECT_FALSE(d->SaveModified());
}

TEST_F(CDocFrameMore, ACommandMayCloseTheDocumentOfItsOwnFrame) {
    CDocument* d = tmpl->OpenDocumentFile("x");
    CFrameWnd* frame = PaneOf(d)->GetParentFrame();
    HWND hFrame = frame->m_hWnd;
    g_log.clear();
    EXPECT_EQ(::SendMessage(hFrame, WM_COMMAND, 35700, 0), 1);
    EXPECT_FALSE(IsWindow(hFrame));
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_EQ(g_log, (std::vector<CString>{"pane closes the document"}));
}

TEST_F(CDocFrameMore, StatusTextAndApplicationCommands) {
    CSimpleApp app;
    CDocument* d = tmpl->OpenDocumentFile("x");
    CFrameWnd* frame = PaneOf(d)->GetParentFrame();
    frame->SetMessageText("Saving Design");
    EXPECT_EQ(frame->GetMessageText(), "Saving Design");
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, ID_APP_EXIT), 1); // routed to the application last
    EXPECT_EQ(g_log.back(), "app");
    EXPECT_EQ(AfxGetApp(), &app);
}
