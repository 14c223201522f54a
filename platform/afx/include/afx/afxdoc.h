// Documents, templates, frames, views and splitters, with MFC's command routing:
// a command that reaches a frame goes to its active view, the view's document, the document's
// template, then the frame itself and finally the application.
//
// Frames and views are heap objects that delete themselves when their window is destroyed
// (PostNcDestroy), as in MFC; a document deletes itself when it closes (m_bAutoDelete).
#pragma once

#include "afx/afxwin.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CMDIFrameWnd;
class CView;
class CSplitterWnd;
class COleServerItem;

#define FWS_ADDTOTITLE 0x00008000L
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
#define AFX_IDP_ASK_TO_SAVE 0xF102

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// ---------------------------------------------------------------- CDocument
class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const {
        return static_cast<CView*>(m_viewList.GetNext(rPosition));
    }
    int GetViewCount() const { return static_cast<int>(m_viewList.GetCount()); }
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys the frames showing the document, then deletes it when m_bAutoDelete.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void OnChangedViewList();
    // Asks "save changes?" (through the answer queue) when modified: Yes saves, No discards,
    // Cancel keeps the document open (FALSE).
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame) { (void)pFrame; }
    virtual BOOL DoFileSave();
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

protected:
    friend class CDocTemplate;
    friend class CMultiDocTemplate;
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bClosing = FALSE;
};

// The OLE document bases: thin layers over CDocument.
class COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
};
class COleLinkingDoc : public COleDocument {
    DECLARE_DYNAMIC(COleLinkingDoc)
};
class COleServerDoc : public COleLinkingDoc {
    DECLARE_DYNAMIC(COleServerDoc)
public:
    virtual COleServerItem* OnGetEmbeddedItem() { return nullptr; }
    BOOL IsEmbedded() const { return m_bEmbedded; }
};

// ---------------------------------------------------------------- templates
class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    CRuntimeClass* GetDocClass() const { return m_pDocClass; }
    CRuntimeClass* GetFrameClass() const { return m_pFrameClass; }
    CRuntimeClass* GetViewClass() const { return m_pViewClass; }
    // One field of the template string (resource m_nIDResource, fields separated by '\n').
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    // Reads the template string from the resources (done on first use otherwise).
    virtual void LoadTemplate();

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // A new document of the template's class (nullptr when the class cannot be created).
    virtual CDocument* CreateNewDocument();
    // A new frame for pDoc: created from the frame class with a context naming the view class,
    // so the frame's client creation makes the view.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    mutable CString m_strDocStrings;
    mutable BOOL m_bLoaded = FALSE;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& rPos) const override {
        return static_cast<CDocument*>(m_docList.GetNext(rPos));
    }
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    // Creates the document, then its frame (which creates the view), then opens (or, for a null
    // path, initialises) the document; on failure the frame is destroyed and nullptr returned.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

protected:
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};

// ---------------------------------------------------------------- frames
class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd() = default;
    ~CFrameWnd() override;

    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);

    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    virtual CDocument* GetActiveDocument();
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CFrameWnd* GetActiveFrame() { return this; }

    void SetMessageText(LPCTSTR lpszText);
    const CString& GetMessageText() const { return m_strMessageText; }
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Runs the update handlers of every child control bar and of the given ids (tests use it).
    BOOL m_bAutoMenuEnable = TRUE;
    UINT m_nIDHelp = 0;

    // Message handlers that derived frames call as their base.
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnClose();
    void OnDestroy();
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Runs the update handlers (through the command routing) for the pop-up about to show.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

protected:
    void PostNcDestroy() override;
    friend class CView;
    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    CString m_strMessageText;
    UINT m_nIDResource = 0;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd;

// The application's MDI main frame (the host's). Keeps its children and which one is active.
class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    CDocument* GetActiveDocument() override;

    ~CMDIFrameWnd() override;

protected:
    friend class CMDIChildWnd;
    CMDIChildWnd* m_pActiveChild = nullptr;
    std::vector<CMDIChildWnd*> m_activationOrder; // least recently activated first
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    ~CMDIChildWnd() override;
    BOOL LoadFrame(UINT nIDResource,
                   DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    void ActivateFrame(int nCmdShow = -1) override;
    // Makes this the active MDI child: WM_MDIACTIVATE goes to the one deactivated (wParam it,
    // lParam this) and then to this one (same parameters).
    void MDIActivate();
    void MDIDestroy() { DestroyWindow(); }
    // Destroying the active child activates the most recently active other one.
    BOOL DestroyWindow() override;
    CMDIFrameWnd* GetMDIFrame() const;
    // The active MDI child of the process when there is no MDI main frame.
    static CMDIChildWnd* GetActiveChild();

    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    BOOL IsActiveChild() const { return m_bActive; }

protected:
    friend class CMDIFrameWnd;
    void leaveMDI();
    BOOL m_bActive = FALSE;
    CMDIFrameWnd* m_pMDIFrame = nullptr; // the frame whose activation order lists this child
    bool m_bListed = false;
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------- views
class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) { (void)pDC; }
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) { (void)nState, (void)pFrameWnd; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);

protected:
    CView() = default;
    void PostNcDestroy() override;
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
protected:
    CScrollView() = default;
};

// A view laid out from a dialog template: its controls are created from the template found in
// the resource chain (see afxres.h) when the view is created.
class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    UINT GetTemplateId() const { return m_nIDTemplate; }
    void OnInitialUpdate() override;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

protected:
    explicit CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}
    explicit CFormView(LPCTSTR lpszTemplateName) : m_nIDTemplate(0) { (void)lpszTemplateName; }
    UINT m_nIDTemplate;
};

// ---------------------------------------------------------------- splitter
// Static splitter: a grid of panes; pane (row, col) is the child with id IdFromRowCol(row, col).
// RecalcLayout gives each row/column but the last its ideal size (0 when the ideal is below the
// minimum), the last the rest, with m_cxSplitterGap / m_cySplitterGap pixels between panes.
class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() = default;

    virtual BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                              UINT nID = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
    virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    virtual void RecalcLayout();

    void OnSize(UINT nType, int cx, int cy);

    int m_cxSplitterGap = 7;
    int m_cySplitterGap = 7;

protected:
    struct CRowColInfo {
        int nMinSize = 0;
        int nIdealSize = 0;
        int nCurSize = 0;
    };
    int m_nRows = 0;
    int m_nCols = 0;
    std::vector<CRowColInfo> m_rowInfo;
    std::vector<CRowColInfo> m_colInfo;
    BOOL m_bHasPanes = FALSE;
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------- application
class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CString m_strAppName;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;

    CWnd* GetMainWnd() const { return m_pMainWnd ? m_pMainWnd : AfxGetMainWnd(); }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    void AddDocTemplate(CDocTemplate* pTemplate); // the application owns it from then on
    POSITION GetFirstDocTemplatePosition() const { return m_templates.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const {
        return static_cast<CDocTemplate*>(m_templates.GetNext(pos));
    }
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    // User options under HKEY_CURRENT_USER\Software\<registry key>\<app name>\<section>.
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
    HCURSOR LoadCursor(UINT nIDResource) const { return ::LoadCursor(nullptr, MAKEINTRESOURCE(nIDResource)); }
    virtual void CloseAllDocuments(BOOL bEndSession);

private:
    CPtrList m_templates;
    CString m_strRegistryKey;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// The application object stands for the user-interface thread.
inline CWinApp* AfxGetThread() {
    return AfxGetApp();
}
