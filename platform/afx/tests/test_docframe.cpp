#include "afx/afx.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<CString> g_order;

BOOL testStrings(UINT id, CString& out) {
    if (id != 127) return FALSE;
    out = "\nKXDoc\nKXDoc\nTable Files (*.tbl)\n.tbl\nKXDoc.Document\nKXDoc Document";
    return TRUE;
}

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CTestDoc() { g_order.push_back("doc"); }
    ~CTestDoc() override { g_order.push_back("~doc"); }
    BOOL failOpen = FALSE;
    BOOL OnOpenDocument(LPCTSTR path) override {
        g_order.push_back(CString("open:") + path);
        return CString(path) != "bad";
    }
    BOOL OnSaveDocument(LPCTSTR path) override {
        g_order.push_back(CString("save:") + path);
        return CDocument::OnSaveDocument(path);
    }

protected:
    void OnDocCmd() { g_order.push_back("doc:cmd"); }
    void OnShared() { g_order.push_back("doc:shared"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(501, &CTestDoc::OnDocCmd)
ON_COMMAND(502, &CTestDoc::OnShared)
END_MESSAGE_MAP()

class CPaneView : public CView {
    DECLARE_DYNCREATE(CPaneView)
public:
    CPaneView() { g_order.push_back("view"); }
    int initialUpdates = 0;
    int activations = 0;
    void OnInitialUpdate() override {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnActivateView(BOOL bActivate, CView*, CView*) override {
        if (bActivate) ++activations;
    }

protected:
    void OnViewCmd() { g_order.push_back("view:cmd"); }
    void OnShared() { g_order.push_back("view:shared"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPaneView, CView)
BEGIN_MESSAGE_MAP(CPaneView, CView)
ON_COMMAND(601, &CPaneView::OnViewCmd)
ON_COMMAND(502, &CPaneView::OnShared)
END_MESSAGE_MAP()

class COtherView : public CPaneView {
    DECLARE_DYNCREATE(COtherView)
};
IMPLEMENT_DYNCREATE(COtherView, CPaneView)

// A child frame with an outer 1x2 splitter whose pane (0,0) is an inner 2x1 splitter.
class CSplitFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSplitFrame)
public:
    CSplitFrame() { g_order.push_back("frame"); }
    CSplitterWnd m_outer, m_inner;
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
        g_order.push_back("client");
        if (!m_outer.CreateStatic(this, 1, 2)) return FALSE;
        if (!m_outer.CreateView(0, 1, pContext->m_pNewViewClass, CSize(20, 20), pContext)) return FALSE;
        if (!m_inner.CreateStatic(&m_outer, 2, 1, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                  m_outer.IdFromRowCol(0, 0)))
            return FALSE;
        if (!m_inner.CreateView(0, 0, RUNTIME_CLASS(COtherView), CSize(20, 20), pContext)) return FALSE;
        if (!m_inner.CreateView(1, 0, RUNTIME_CLASS(COtherView), CSize(20, 20), pContext)) return FALSE;
        return TRUE;
    }
    void ActivateFrame(int) override {
        g_order.push_back("activate");
        CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
    }
    int mdiActivations = 0;

protected:
    void OnFrameCmd() { g_order.push_back("frame:cmd"); }
    void OnShared() { g_order.push_back("frame:shared"); }
    void OnMDIActivate(BOOL bActivate, CWnd* a, CWnd* d) {
        CMDIChildWnd::OnMDIActivate(bActivate, a, d);
        if (bActivate) ++mdiActivations;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSplitFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CSplitFrame, CMDIChildWnd)
ON_COMMAND(701, &CSplitFrame::OnFrameCmd)
ON_COMMAND(502, &CSplitFrame::OnShared)
ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

class CDocFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_order.clear();
        AfxSetStringLoader(&testStrings);
        AfxGetAnswerQueue().Reset();
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->Create(nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 800)));
        AfxSetMainWnd(main);
        tmpl = std::make_unique<CMultiDocTemplate>(127, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CSplitFrame),
                                                   RUNTIME_CLASS(CPaneView));
    }
    void TearDown() override {
        tmpl->CloseAllDocuments(TRUE);
        tmpl.reset();
        main->DestroyWindow();
        AfxSetStringLoader(nullptr);
        AfxGetAnswerQueue().Reset();
        EXPECT_EQ(AfxGetWindowCount(), 0);
    }
    CSplitFrame* FrameOf(CDocument* doc) {
        POSITION p = doc->GetFirstViewPosition();
        return static_cast<CSplitFrame*>(doc->GetNextView(p)->GetParentFrame());
    }
    CMDIFrameWnd* main = nullptr;
    std::unique_ptr<CMultiDocTemplate> tmpl;
};
} // namespace

TEST_F(CDocFrameTest, TemplateCreatesDocumentFrameAndViewsInOrderThenActivates) {
    CDocument* doc = tmpl->OpenDocumentFile("lib.cell:view");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(g_order, (std::vector<CString>{"doc", "frame", "client", "view", "view", "view",
                                             "open:lib.cell:view", "activate"}));
    EXPECT_EQ(doc->GetViewCount(), 3);
    EXPECT_EQ(doc->GetPathName(), "lib.cell:view");
    CString s;
    EXPECT_TRUE(tmpl->GetDocString(s, CDocTemplate::regFileTypeId));
    EXPECT_EQ(s, "KXDoc.Document");
    EXPECT_TRUE(tmpl->GetDocString(s, CDocTemplate::filterExt));
    EXPECT_EQ(s, ".tbl");
    EXPECT_FALSE(tmpl->GetDocString(s, CDocTemplate::windowTitle));

    CSplitFrame* frame = FrameOf(doc);
    // The first pane (same-id descendants first) became the active view, so the document is found.
    EXPECT_EQ(frame->GetActiveView(), frame->m_inner.GetPane(0, 0));
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    EXPECT_EQ(main->MDIGetActive(), frame);
    EXPECT_EQ(frame->mdiActivations, 1);
    for (POSITION p = doc->GetFirstViewPosition(); p;)
        EXPECT_EQ(static_cast<CPaneView*>(doc->GetNextView(p))->initialUpdates, 1);
    // Maximised: the frame fills the host's client area and the splitters lay out the panes.
    CRect r;
    frame->GetClientRect(&r);
    EXPECT_EQ(r.Width(), 1000);
}

TEST_F(CDocFrameTest, CommandsRouteViewThenDocumentThenFrame) {
    CDocument* doc = tmpl->OpenDocumentFile("d");
    CSplitFrame* frame = FrameOf(doc);
    g_order.clear();
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 601), 1);
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 501), 1);
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 701), 1);
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 502), 1); // all three handle it: the view wins
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 999), 0);
    // Through the host's main frame: the active child routes first.
    EXPECT_EQ(main->SendMessage(WM_COMMAND, 501), 1);
    EXPECT_EQ(g_order, (std::vector<CString>{"view:cmd", "doc:cmd", "frame:cmd", "view:shared", "doc:cmd"}));
    // Without an active view the document is not reached, the frame still is.
    frame->SetActiveView(nullptr);
    g_order.clear();
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 502), 1);
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, 501), 0);
    EXPECT_EQ(g_order, (std::vector<CString>{"frame:shared"}));
}

TEST_F(CDocFrameTest, SplitterPanesActivePaneAndLayout) {
    CDocument* doc = tmpl->OpenDocumentFile("d");
    CSplitFrame* f = FrameOf(doc);
    CWnd* ccp = f->m_outer.GetPane(0, 1);
    CWnd* clp = f->m_inner.GetPane(0, 0);
    CWnd* slp = f->m_inner.GetPane(1, 0);
    ASSERT_TRUE(ccp && clp && slp);
    EXPECT_EQ(f->m_outer.GetPane(0, 0), &f->m_inner);
    EXPECT_EQ(f->m_outer.GetPane(1, 0), nullptr);
    EXPECT_EQ(f->m_outer.IdFromRowCol(0, 1), AFX_IDW_PANE_FIRST + 1);
    int row = -1, col = -1;
    EXPECT_EQ(f->m_inner.GetActivePane(&row, &col), clp);
    EXPECT_EQ(row, 0);
    f->m_inner.SetActivePane(1, 0);
    EXPECT_EQ(f->GetActiveView(), slp);
    EXPECT_EQ(f->m_inner.GetActivePane(&row, &col), slp);
    EXPECT_EQ(row, 1);
    f->m_outer.SetActivePane(0, 1);
    EXPECT_EQ(f->m_inner.GetActivePane(), nullptr); // not one of the inner panes
    EXPECT_EQ(f->m_outer.GetActivePane(&row, &col), ccp);
    EXPECT_EQ(col, 1);
    EXPECT_GE(static_cast<CPaneView*>(ccp)->activations, 1);

    f->MoveWindow(0, 0, 1000, 600);
    f->m_outer.SetColumnInfo(0, 300, 10);
    f->m_outer.SetColumnInfo(1, 700, 10);
    f->m_outer.RecalcLayout();
    int cur = 0, mn = 0;
    f->m_outer.GetColumnInfo(0, cur, mn);
    EXPECT_EQ(cur, 300);
    CRect r;
    ccp->GetClientRect(&r);
    EXPECT_EQ(r.Width(), 1000 - 300 - f->m_outer.m_cxSplitterGap);
    f->m_inner.GetClientRect(&r);
    EXPECT_EQ(r.Height(), 600);
    f->m_inner.SetRowInfo(0, 100, 10);
    f->m_inner.RecalcLayout();
    f->m_inner.GetRowInfo(0, cur, mn);
    EXPECT_EQ(cur, 100);
    f->m_inner.GetRowInfo(1, cur, mn);
    EXPECT_EQ(cur, 600 - 100 - f->m_inner.m_cySplitterGap);
    // An ideal size below the minimum hides the row; the last one takes all.
    f->m_inner.SetRowInfo(0, 5, 10);
    f->m_inner.RecalcLayout();
    f->m_inner.GetRowInfo(0, cur, mn);
    EXPECT_EQ(cur, 0);
    EXPECT_THROW(f->m_inner.SetRowInfo(2, 1, 1), CInvalidArgException);
}

TEST_F(CDocFrameTest, FailedOpenLeavesNothingBehind) {
    EXPECT_EQ(tmpl->OpenDocumentFile("bad"), nullptr);
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_EQ(g_order.back(), "~doc");
    EXPECT_EQ(AfxGetWindowCount(), 1); // only the host's main window
}

TEST_F(CDocFrameTest, ClosingTheFrameAsksToSaveAModifiedDocument) {
    CDocument* doc = tmpl->OpenDocumentFile("d");
    CSplitFrame* f = FrameOf(doc);
    doc->SetModifiedFlag(TRUE);
    AfxGetAnswerQueue().PushQuestion("*", IDCANCEL);
    f->SendMessage(WM_CLOSE);
    EXPECT_EQ(tmpl->GetFirstDocPosition() != nullptr, true); // cancelled: still open
    AfxGetAnswerQueue().PushQuestion("*", IDYES);
    g_order.clear();
    f->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_order, (std::vector<CString>{"save:d", "~doc"}));
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
}

TEST_F(CDocFrameTest, SecondDocumentTakesActivationAndFirstIsDeactivated) {
    CDocument* d1 = tmpl->OpenDocumentFile("a");
    CDocument* d2 = tmpl->OpenDocumentFile("b");
    CSplitFrame* f1 = FrameOf(d1);
    CSplitFrame* f2 = FrameOf(d2);
    EXPECT_EQ(main->MDIGetActive(), f2);
    EXPECT_FALSE(f1->IsActiveChild());
    EXPECT_TRUE(f2->IsActiveChild());
    f1->MDIActivate();
    EXPECT_TRUE(f1->IsActiveChild());
    EXPECT_EQ(f1->mdiActivations, 2);
    EXPECT_EQ(main->GetActiveDocument(), d1);
    d1->OnCloseDocument();
    EXPECT_EQ(main->MDIGetActive(), f2); // the previously active child takes over
    EXPECT_TRUE(f2->IsActiveChild());
    EXPECT_EQ(f2->mdiActivations, 2);
}
