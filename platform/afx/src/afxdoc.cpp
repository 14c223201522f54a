#include "afx/afxdoc.h"

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"

#include <algorithm>
#include <climits>

// ---------------------------------------------------------------- CDocument
IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)
IMPLEMENT_DYNAMIC(COleLinkingDoc, COleDocument)
IMPLEMENT_DYNAMIC(COleServerDoc, COleLinkingDoc)

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // Views still attached lose their document.
    for (POSITION p = m_viewList.GetHeadPosition(); p;)
        static_cast<CView*>(m_viewList.GetNext(p))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle;
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
    (void)bAddToMRU;
    m_strPathName = lpszPathName;
    CString title = m_strPathName;
    int slash = std::max(title.ReverseFind('/'), title.ReverseFind('\\'));
    if (slash >= 0) title = title.Mid(slash + 1);
    SetTitle(title);
}

void CDocument::AddView(CView* pView) {
    if (!pView || m_viewList.Find(pView)) return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    POSITION p = m_viewList.Find(pView);
    if (!p) return;
    m_viewList.RemoveAt(p);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    std::vector<CView*> views;
    for (POSITION p = m_viewList.GetHeadPosition(); p;)
        views.push_back(static_cast<CView*>(m_viewList.GetNext(p)));
    for (CView* v : views)
        if (v != pSender && m_viewList.Find(v)) v->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    (void)lpszPathName;
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    (void)lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete && !m_bClosing) OnCloseDocument();
}

void CDocument::OnCloseDocument() {
    if (m_bClosing) return;
    m_bClosing = TRUE;
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE; // the document stays while its frames go
    while (!m_viewList.IsEmpty()) {
        auto* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd) {
            pView->DestroyWindow();
        }
        // A view that outlived its frame is let go here, so that closing always ends.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    m_bClosing = FALSE;
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CString text;
    text.Format("Save changes to %s?", name.GetString());
    CString id;
    id.Format("%u", static_cast<UINT>(AFX_IDP_ASK_TO_SAVE));
    switch (AfxAskQuestion(id, text, MB_YESNOCANCEL)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    for (POSITION p = m_viewList.GetHeadPosition(); p;) {
        CFrameWnd* other = static_cast<CView*>(m_viewList.GetNext(p))->GetParentFrame();
        if (other && other != pFrame) return TRUE; // another frame still shows the document
    }
    return SaveModified();
}

BOOL CDocument::DoFileSave() {
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    CString path(lpszPathName);
    if (!OnSaveDocument(path)) return FALSE;
    if (bReplace && !path.IsEmpty()) SetPathName(path);
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------- templates
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    CString s;
    if (s.LoadString(m_nIDResource)) {
        m_strDocStrings = s;
        m_bLoaded = TRUE;
    }
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    if (!m_bLoaded) const_cast<CDocTemplate*>(this)->LoadTemplate();
    rString.Empty();
    int start = 0;
    for (int i = 0; i < static_cast<int>(index); ++i) {
        int nl = m_strDocStrings.Find('\n', start);
        if (nl < 0) return FALSE;
        start = nl + 1;
    }
    int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    if (pDoc) pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    if (pDoc) pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass) return nullptr;
    CObject* obj = m_pDocClass->CreateObject();
    if (!obj) return nullptr;
    if (!obj->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete obj;
        return nullptr;
    }
    auto* pDoc = static_cast<CDocument*>(obj);
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    if (!m_pFrameClass) return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* obj = m_pFrameClass->CreateObject();
    if (!obj) return nullptr;
    if (!obj->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete obj;
        return nullptr;
    }
    auto* pFrame = static_cast<CFrameWnd*>(obj);
    bool deleted = false;
    pFrame->m_pDeletedFlag = &deleted;
    BOOL ok = pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context);
    if (deleted) return nullptr; // a failed creation destroyed (and deleted) the frame
    pFrame->m_pDeletedFlag = nullptr;
    if (!ok) {
        if (pFrame->m_hWnd)
            pFrame->DestroyWindow();
        else
            delete pFrame;
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    if (pFrame) pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION p = GetFirstDocPosition(); p;)
        if (!GetNextDoc(p)->SaveModified()) return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL bEndSession) {
    (void)bEndSession;
    while (POSITION p = GetFirstDocPosition()) {
        CDocument* pDoc = GetNextDoc(p);
        BOOL autoDelete = pDoc->m_bAutoDelete;
        pDoc->m_bAutoDelete = TRUE;
        (void)autoDelete;
        pDoc->OnCloseDocument();
    }
}

BOOL CDocTemplate::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents outliving their template forget it.
    for (POSITION p = m_docList.GetHeadPosition(); p;)
        static_cast<CDocument*>(m_docList.GetNext(p))->m_pDocTemplate = nullptr;
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    if (!pDoc || m_docList.Find(pDoc)) return;
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    POSITION p = m_docList.Find(pDoc);
    if (!p) return;
    m_docList.RemoveAt(p);
    CDocTemplate::RemoveDocument(pDoc);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDoc = CreateNewDocument();
    if (!pDoc) return nullptr;
    BOOL bAutoDelete = pDoc->m_bAutoDelete;
    pDoc->m_bAutoDelete = FALSE; // a failed frame must not take the document with it
    CFrameWnd* pFrame = CreateNewFrame(pDoc, nullptr);
    pDoc->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        delete pDoc;
        return nullptr;
    }
    BOOL ok;
    if (!lpszPathName) {
        SetDefaultTitle(pDoc);
        ok = pDoc->OnNewDocument();
    } else {
        ok = pDoc->OnOpenDocument(lpszPathName);
        if (ok) pDoc->SetPathName(lpszPathName);
    }
    if (!ok) {
        pFrame->DestroyWindow();
        // Destroying the frame closes a document that had views; one without views is deleted here.
        if (m_docList.Find(pDoc)) delete pDoc;
        return nullptr;
    }
    InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
    return pDoc;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty()) name = "Untitled";
    CString title;
    title.Format("%s%u", name.GetString(), ++m_nUntitledCount);
    pDocument->SetTitle(title);
}

// ---------------------------------------------------------------- CFrameWnd
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
const CRect CFrameWnd::rectDefault(0, 0, 800, 600);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    (void)nIndex;
    if (!bSysMenu) AfxUpdateMenu(this, pPopupMenu, m_bAutoMenuEnable);
}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    (void)lpszMenuName;
    m_strTitle = lpszWindowName;
    return CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, 0, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    m_nIDResource = nIDResource;
    CString title;
    if (pContext && pContext->m_pNewDocTemplate)
        pContext->m_pNewDocTemplate->GetDocString(title, CDocTemplate::docName);
    return Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    auto* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
    if (!OnCreateClient(lpcs, pContext)) return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
    (void)lpcs;
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (!pContext || !pContext->m_pNewViewClass) return nullptr;
    CObject* obj = pContext->m_pNewViewClass->CreateObject();
    if (!obj) return nullptr;
    if (!obj->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete obj;
        return nullptr;
    }
    auto* pView = static_cast<CWnd*>(obj);
    bool deleted = false;
    pView->m_pDeletedFlag = &deleted;
    CRect client;
    GetClientRect(&client);
    BOOL ok = pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, client, this, nID, pContext);
    if (deleted) return nullptr;
    pView->m_pDeletedFlag = nullptr;
    if (!ok) {
        if (pView->m_hWnd)
            pView->DestroyWindow();
        else
            delete pView;
        return nullptr;
    }
    return pView;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    SetActiveWindow();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = nullptr;
    if (!GetActiveView()) {
        CWnd* w = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (w && w->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(w);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        HWND self = m_hWnd;
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (CWnd::FromHandle(self) != this) return;
        if (pView) pView->OnActivateFrame(WA_INACTIVE, this);
        ActivateFrame(-1);
        if (CWnd::FromHandle(self) != this) return;
        if (pView && GetActiveView() == pView) pView->OnActivateView(TRUE, pView, pView);
    }
    (void)pDoc;
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::RecalcLayout(BOOL bNotify) {
    (void)bNotify;
    CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (!pane) return;
    CRect client;
    GetClientRect(&client);
    pane->MoveWindow(&client);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!bAddToTitle) return;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc) SetWindowText(pDoc->GetTitle());
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* v = GetActiveView();
    return v ? v->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld) return;
    m_pViewActive = nullptr;
    if (bNotify && pViewOld) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    if (CWnd* child = GetDlgItem(nID)) {
        if (!child->GetChildren().empty())
            if (CWnd* deeper = child->GetDescendantWindow(nID, bOnlyPerm)) return deeper;
        return child;
    }
    for (CWnd* c : GetChildren())
        if (CWnd* found = c->GetDescendantWindow(nID, bOnlyPerm)) return found;
    return nullptr;
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    if (lParam)
        m_strMessageText = reinterpret_cast<LPCSTR>(lParam);
    else if (wParam)
        m_strMessageText.LoadString(static_cast<UINT>(wParam));
    else
        m_strMessageText.Empty();
    return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CView* pView = GetActiveView())
        if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    (void)cx, (void)cy;
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    (void)pOldWnd;
    if (m_pViewActive && m_pViewActive->m_hWnd) m_pViewActive->SetFocus();
}

void CFrameWnd::OnClose() {
    CDocument* pDoc = GetActiveDocument();
    if (pDoc && !pDoc->CanCloseFrame(this)) return;
    if (pDoc && pDoc->m_bAutoDelete) {
        bool otherFrame = false;
        for (POSITION p = pDoc->GetFirstViewPosition(); p;) {
            CFrameWnd* f = pDoc->GetNextView(p)->GetParentFrame();
            if (f && f != this) otherFrame = true;
        }
        if (!otherFrame) {
            pDoc->OnCloseDocument(); // destroys this frame
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    m_pViewActive = nullptr;
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

// ---------------------------------------------------------------- MDI
IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

namespace {
// Activation state of MDI children that have no MDI main frame.
CMDIChildWnd* g_activeChild = nullptr;
std::vector<CMDIChildWnd*> g_activationOrder;
} // namespace

CMDIFrameWnd::~CMDIFrameWnd() {
    for (CMDIChildWnd* c : m_activationOrder) {
        c->m_pMDIFrame = nullptr;
        c->m_bListed = false;
    }
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (pbMaximized) *pbMaximized = m_pActiveChild ? m_pActiveChild->IsZoomed() : FALSE;
    return m_pActiveChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    if (pWndActivate && pWndActivate->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        static_cast<CMDIChildWnd*>(pWndActivate)->MDIActivate();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    return m_pActiveChild ? static_cast<CFrameWnd*>(m_pActiveChild) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    return m_pActiveChild ? m_pActiveChild->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveChild && m_pActiveChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

CMDIChildWnd::~CMDIChildWnd() {
    leaveMDI();
}

void CMDIChildWnd::leaveMDI() {
    if (!m_bListed) return;
    auto& order = m_pMDIFrame ? m_pMDIFrame->m_activationOrder : g_activationOrder;
    CMDIChildWnd*& active = m_pMDIFrame ? m_pMDIFrame->m_pActiveChild : g_activeChild;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
    m_bListed = false;
    if (active == this) active = nullptr;
    m_pMDIFrame = nullptr;
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd && m_bListed) {
        CMDIFrameWnd* frame = m_pMDIFrame;
        bool wasActive = (frame ? frame->m_pActiveChild : g_activeChild) == this;
        leaveMDI();
        m_bActive = FALSE;
        auto& order = frame ? frame->m_activationOrder : g_activationOrder;
        if (wasActive && !order.empty()) order.back()->MDIActivate();
    }
    return CFrameWnd::DestroyWindow();
}

CMDIChildWnd* CMDIChildWnd::GetActiveChild() {
    return g_activeChild;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    CWnd* p = GetParent();
    return p && p->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(p) : nullptr;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    if (!pParentWnd) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) pParentWnd = main;
    }
    DWORD style = dwDefaultStyle | (pParentWnd ? WS_CHILD : 0);
    return CFrameWnd::LoadFrame(nIDResource, style, pParentWnd, pContext);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::MDIActivate() {
    if (!m_hWnd) return;
    if (!m_bListed) {
        m_pMDIFrame = GetMDIFrame();
        m_bListed = true;
    }
    auto& order = m_pMDIFrame ? m_pMDIFrame->m_activationOrder : g_activationOrder;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
    order.push_back(this);
    CMDIChildWnd*& active = m_pMDIFrame ? m_pMDIFrame->m_pActiveChild : g_activeChild;
    CMDIChildWnd* old = active;
    if (old == this) return;
    // The focus inside the window made inactive leaves it first, while that window is still the
    // active one: what the window does as it loses the focus (an edit it ends) belongs to it.
    if (old && old->m_hWnd) {
        CWnd* focus = CWnd::GetFocus();
        if (focus && (focus == old || old->IsChild(focus))) {
            CWnd* to = m_pViewActive ? static_cast<CWnd*>(m_pViewActive) : this;
            to->SetFocus();
        }
    }
    active = this;
    WPARAM w = reinterpret_cast<WPARAM>(old ? old->m_hWnd : nullptr);
    LPARAM l = reinterpret_cast<LPARAM>(m_hWnd);
    HWND self = m_hWnd;
    if (old && old->m_hWnd) old->SendMessage(WM_MDIACTIVATE, w, l);
    if (CWnd::FromHandle(self) == this) SendMessage(WM_MDIACTIVATE, w, l);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    (void)pActivateWnd, (void)pDeactivateWnd;
    m_bActive = bActivate;
    if (bActivate && m_pViewActive) m_pViewActive->OnActivateFrame(WA_ACTIVE, this);
}

// ---------------------------------------------------------------- views
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::~CView() {
    // A view deleted without being destroyed must not stay its frame's active view.
    if (CFrameWnd* frame = GetParentFrame())
        if (frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
    if (m_pDocument) m_pDocument->RemoveView(this);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    auto* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
    if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
}

void CView::OnSetFocus(CWnd* pOldWnd) {
    (void)pOldWnd;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    (void)pSender, (void)lHint, (void)pHint;
    Invalidate();
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    (void)bActivate, (void)pActivateView, (void)pDeactiveView;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy() {
    delete this;
}

BOOL AfxCreateTemplateControls(CWnd* pParent, UINT nIDTemplate);

BOOL CFormView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    if (!CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext)) return FALSE;
    if (AfxCreateTemplateControls(this, m_nIDTemplate)) return TRUE;
    // A form whose template cannot be made is no form: the view goes (and deletes itself).
    const DWORD error = ::GetLastError();
    DestroyWindow();
    ::SetLastError(error);
    return FALSE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

// ---------------------------------------------------------------- CSplitterWnd
IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16 || m_hWnd) return FALSE;
    m_nRows = nRows;
    m_nCols = nCols;
    m_rowInfo.assign(static_cast<size_t>(nRows), CRowColInfo{});
    m_colInfo.assign(static_cast<size_t>(nCols), CRowColInfo{});
    CRect r;
    // A splitter standing in for a pane of its parent takes the pane's place.
    if (CWnd* sameId = pParentWnd->GetDlgItem(static_cast<int>(nID))) (void)sameId;
    if (!CWnd::Create(nullptr, nullptr, dwStyle | WS_CHILD, r, pParentWnd, nID)) return FALSE;
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || !pViewClass || GetPane(row, col))
        return FALSE;
    m_colInfo[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
    CObject* obj = pViewClass->CreateObject();
    if (!obj) return FALSE;
    if (!obj->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete obj;
        return FALSE;
    }
    auto* pWnd = static_cast<CWnd*>(obj);
    bool deleted = false;
    pWnd->m_pDeletedFlag = &deleted;
    BOOL ok = pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, sizeInit.cx, sizeInit.cy),
                           this, static_cast<UINT>(IdFromRowCol(row, col)), pContext);
    if (deleted) return FALSE;
    pWnd->m_pDeletedFlag = nullptr;
    if (!ok) {
        if (pWnd->m_hWnd)
            pWnd->DestroyWindow();
        else
            delete pWnd;
        return FALSE;
    }
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) return nullptr;
    return GetDlgItem(IdFromRowCol(row, col));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const {
    if (!pWnd || !IsChild(pWnd)) return FALSE;
    int id = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    if (id < 0) return FALSE;
    int row = id / 16, col = id % 16;
    if (row >= m_nRows || col >= m_nCols) return FALSE;
    if (pRow) *pRow = row;
    if (pCol) *pCol = col;
    return TRUE;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
    CWnd* pane = pWnd ? pWnd : GetPane(row, col);
    if (!pane) return;
    if (pane->IsKindOf(RUNTIME_CLASS(CView))) {
        if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(static_cast<CView*>(pane));
    } else {
        pane->SetFocus();
    }
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
    CWnd* pView = nullptr;
    if (CFrameWnd* frame = GetParentFrame()) pView = frame->GetActiveView();
    if (!pView) pView = CWnd::GetFocus();
    if (pView && !IsChildPane(pView, pRow, pCol)) pView = nullptr;
    return pView;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
    if (row < 0 || row >= m_nRows) AfxThrowInvalidArgException();
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = cyIdeal;
    m_rowInfo[static_cast<size_t>(row)].nMinSize = cyMin;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
    if (row < 0 || row >= m_nRows) AfxThrowInvalidArgException();
    cyCur = m_rowInfo[static_cast<size_t>(row)].nCurSize;
    cyMin = m_rowInfo[static_cast<size_t>(row)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    if (col < 0 || col >= m_nCols) AfxThrowInvalidArgException();
    m_colInfo[static_cast<size_t>(col)].nIdealSize = cxIdeal;
    m_colInfo[static_cast<size_t>(col)].nMinSize = cxMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    if (col < 0 || col >= m_nCols) AfxThrowInvalidArgException();
    cxCur = m_colInfo[static_cast<size_t>(col)].nCurSize;
    cxMin = m_colInfo[static_cast<size_t>(col)].nMinSize;
}

namespace {
template <class Info> void layoutRowCol(std::vector<Info>& info, int nSize, int gap) {
    if (info.empty()) return;
    if (nSize < 0) nSize = 0;
    size_t n = info.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (info[i].nIdealSize < info[i].nMinSize) info[i].nIdealSize = 0; // too small to see
        info[i].nCurSize = info[i].nIdealSize;
    }
    info[n - 1].nCurSize = INT_MAX; // the last takes the rest
    for (size_t i = 0; i < n; ++i) {
        Info& p = info[i];
        if (nSize == 0) {
            p.nCurSize = 0;
            continue;
        }
        if (nSize < p.nMinSize && i != 0) {
            // not enough room for this one: the previous one takes what is left
            p.nCurSize = 0;
            info[i - 1].nCurSize += nSize;
            nSize = 0;
        } else if (p.nCurSize <= 0) {
            p.nCurSize = 0;
        } else if (nSize < p.nCurSize) {
            p.nCurSize = nSize;
            nSize = 0;
        } else {
            nSize -= p.nCurSize;
        }
        if (i != n - 1) {
            if (nSize > gap)
                nSize -= gap;
            else {
                p.nCurSize += nSize;
                nSize = 0;
            }
        }
    }
}
} // namespace

void CSplitterWnd::RecalcLayout() {
    CRect client;
    GetClientRect(&client);
    layoutRowCol(m_colInfo, client.Width(), m_cxSplitterGap);
    layoutRowCol(m_rowInfo, client.Height(), m_cySplitterGap);
    int y = 0;
    for (int row = 0; row < m_nRows; ++row) {
        int cy = m_rowInfo[static_cast<size_t>(row)].nCurSize;
        int x = 0;
        for (int col = 0; col < m_nCols; ++col) {
            int cx = m_colInfo[static_cast<size_t>(col)].nCurSize;
            if (CWnd* pane = GetPane(row, col)) {
                pane->MoveWindow(x, y, cx, cy);
                if (cx <= 0 || cy <= 0)
                    pane->ModifyStyle(WS_VISIBLE, 0);
                else
                    pane->ModifyStyle(0, WS_VISIBLE);
            }
            x += cx + m_cxSplitterGap;
        }
        y += cy + m_cySplitterGap;
    }
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
    (void)cx, (void)cy;
    if (nType != SIZE_MINIMIZED && m_nRows > 0) RecalcLayout();
}

// ---------------------------------------------------------------- CWnd helpers that need frames
CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (w->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(w);
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* top =
        IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : nullptr;
    for (CFrameWnd* f = GetParentFrame(); f; f = f->GetParentFrame())
        top = f;
    return top;
}

// ---------------------------------------------------------------- CWinApp
IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {
CWinApp* g_app = nullptr;
HINSTANCE g_resourceHandle = nullptr;
} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    m_strAppName = lpszAppName ? lpszAppName : "app";
    m_pszAppName = m_strAppName;
    if (!g_app) g_app = this;
}

CWinApp::~CWinApp() {
    while (!m_templates.IsEmpty())
        delete static_cast<CDocTemplate*>(m_templates.RemoveHead());
    if (g_app == this) g_app = nullptr;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate && !m_templates.Find(pTemplate)) m_templates.AddTail(pTemplate);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (POSITION p = m_templates.GetHeadPosition(); p;)
        static_cast<CDocTemplate*>(m_templates.GetNext(p))->CloseAllDocuments(bEndSession);
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
}

CWinApp* AfxGetApp() {
    return g_app;
}
HINSTANCE AfxGetInstanceHandle() {
    return g_app ? g_app->m_hInstance : nullptr;
}
HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}
void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_resourceHandle = hInstResource;
}
