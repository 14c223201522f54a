#include "shell/KXTableChildFrm.h"
#include "grid/KXScriptWords.h"

#include "pane/KXConnectivityPane.h"
#include "shell/KXFrameArgs.h"
#include "grid/KXGlobalMessages.h"
#include "shell/KXListPaneCalls.h"
#include "shell/KXShellIds.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxcommon/TclArgs.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxcontrols/KXDialogs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "kxsmall/CKXDlgFilterPhys.h"
#include "kxsmall/RMXVariantManager.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CKXTableChildFrm, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CKXTableChildFrm, CMDIChildWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_MDIACTIVATE()
ON_MESSAGE(MSG_TCL_ROUTE_COMMAND, &CKXTableChildFrm::OnTclRouteCommand)
ON_MESSAGE(MSG_RUN_MENU_COMMAND, &CKXTableChildFrm::OnRunMenuCommand)
ON_REGISTERED_MESSAGE(g_msgSetupShowDPPinsCcp, &CKXTableChildFrm::OnSetupShowDPPins)
ON_REGISTERED_MESSAGE(g_msgSetupShowDPSignalsSlp, &CKXTableChildFrm::OnSetupShowDPSignals)
ON_REGISTERED_MESSAGE(g_msgPreserveInstComment, &CKXTableChildFrm::OnPreserveInstComment)
ON_REGISTERED_MESSAGE(g_msgPreservePinComment, &CKXTableChildFrm::OnPreservePinComment)
ON_REGISTERED_MESSAGE(g_msgSetFocusClp, &CKXTableChildFrm::OnSetFocusClp)
ON_REGISTERED_MESSAGE(g_msgMarkAsCodesign, &CKXTableChildFrm::OnMarkAsCodesign)
ON_REGISTERED_MESSAGE(g_msgHighlightPin, &CKXTableChildFrm::OnHighlightPin)
ON_REGISTERED_MESSAGE(g_msgSelectFindAllResult, &CKXTableChildFrm::OnSelectFindAllResult)
ON_REGISTERED_MESSAGE(g_msgFromClipboardViewer, &CKXTableChildFrm::OnFromClipboardViewer)
ON_REGISTERED_MESSAGE(g_msgAddPhysicalPart, &CKXTableChildFrm::OnAddPhysicalPart)
ON_REGISTERED_MESSAGE(g_msgAddLogicalPart, &CKXTableChildFrm::OnAddLogicalPart)
ON_REGISTERED_MESSAGE(g_msgHighlightObject, &CKXTableChildFrm::OnHighlightObject)
ON_REGISTERED_MESSAGE(g_msgSelectObject, &CKXTableChildFrm::OnSelectObject)
ON_REGISTERED_MESSAGE(g_msgDeleteInstance, &CKXTableChildFrm::OnDeleteInstance)
ON_REGISTERED_MESSAGE(g_msgRenameInstance, &CKXTableChildFrm::OnRenameInstance)
ON_REGISTERED_MESSAGE(g_msgRemoveSelectionAll, &CKXTableChildFrm::OnRemoveSelectionAll)
ON_REGISTERED_MESSAGE(g_msgStopTrackingSplitter, &CKXTableChildFrm::OnStopTrackingSplitter)
ON_REGISTERED_MESSAGE(g_msgAssignPower, &CKXTableChildFrm::OnAssignPower)
ON_REGISTERED_MESSAGE(g_msgSetupShowRowNumbers, &CKXTableChildFrm::OnSetupShowRowNumbers)
ON_REGISTERED_MESSAGE(g_msgSetupAutoComplete, &CKXTableChildFrm::OnSetupAutoComplete)
ON_REGISTERED_MESSAGE(g_msgSetupShowSignalCombo, &CKXTableChildFrm::OnSetupShowSignalCombo)
ON_REGISTERED_MESSAGE(g_msgSetupMoveDirection, &CKXTableChildFrm::OnSetupMoveDirection)
ON_REGISTERED_MESSAGE(g_msgSetupNamingConventionOnCopy, &CKXTableChildFrm::OnSetupNamingConventionOnCopy)
ON_REGISTERED_MESSAGE(g_msgAutoAssignModel, &CKXTableChildFrm::OnAutoAssignModel)
ON_REGISTERED_MESSAGE(g_msgShowNetConn, &CKXTableChildFrm::OnShowNetConn)
ON_COMMAND(ID_KX_ASCEND, &CKXTableChildFrm::OnEchoAscend)
ON_UPDATE_COMMAND_UI(ID_KX_ASCEND, &CKXTableChildFrm::OnUpdateAscend)
ON_COMMAND(ID_KX_DESIGN_REQUEST, &CKXTableChildFrm::OnCommand35534)
ON_UPDATE_COMMAND_UI(ID_KX_DESIGN_REQUEST, &CKXTableChildFrm::OnUpdateCommand35534)
ON_COMMAND(ID_KX_CREATE_BLOCK, &CKXTableChildFrm::OnCreateBlock)
ON_UPDATE_COMMAND_UI(ID_KX_CREATE_BLOCK, &CKXTableChildFrm::OnUpdateCreateBlock)
ON_COMMAND(ID_KX_SWITCH_VIEW, &CKXTableChildFrm::OnSwitchView)
ON_UPDATE_COMMAND_UI(ID_KX_SWITCH_VIEW, &CKXTableChildFrm::OnUpdateSwitchView)
ON_COMMAND(ID_KX_FILTER_BLOCK, &CKXTableChildFrm::OnFilterBlock)
ON_UPDATE_COMMAND_UI(ID_KX_FILTER_BLOCK, &CKXTableChildFrm::OnUpdateFilterBlock)
ON_COMMAND(ID_KX_COMMENT_ADD, &CKXTableChildFrm::OnDesignCommentAdd)
ON_COMMAND(ID_KX_COMMENT_DELETE, &CKXTableChildFrm::OnDesignCommentDelete)
ON_COMMAND(ID_KX_COMMENT_EDIT, &CKXTableChildFrm::OnDesignCommentEdit)
ON_UPDATE_COMMAND_UI(ID_KX_COMMENT_ADD, &CKXTableChildFrm::OnUpdateDesignCommentAdd)
ON_UPDATE_COMMAND_UI(ID_KX_COMMENT_DELETE, &CKXTableChildFrm::OnUpdateDesignCommentDelete)
ON_UPDATE_COMMAND_UI(ID_KX_COMMENT_EDIT, &CKXTableChildFrm::OnUpdateDesignCommentEdit)
ON_COMMAND(ID_KX_MATRIX_CREATE, &CKXTableChildFrm::OnCreateMatrixView)
ON_UPDATE_COMMAND_UI(ID_KX_MATRIX_CREATE, &CKXTableChildFrm::OnUpdateCreateMatrixView)
ON_COMMAND(ID_KX_MATRIX_SAVEAS, &CKXTableChildFrm::OnSaveAsMatrixView)
ON_UPDATE_COMMAND_UI(ID_KX_MATRIX_SAVEAS, &CKXTableChildFrm::OnUpdateMatrixEdit)
ON_COMMAND(ID_KX_MATRIX_REMOVE, &CKXTableChildFrm::OnRemoveMatrixView)
ON_UPDATE_COMMAND_UI(ID_KX_MATRIX_REMOVE, &CKXTableChildFrm::OnUpdateMatrixEdit)
ON_COMMAND(ID_KX_MATRIX_EDIT, &CKXTableChildFrm::OnEditMatrixView)
ON_UPDATE_COMMAND_UI(ID_KX_MATRIX_EDIT, &CKXTableChildFrm::OnUpdateMatrixEdit)
ON_COMMAND_EX_RANGE(ID_KX_MATRIX_OPEN_FIRST, ID_KX_MATRIX_OPEN_LAST, &CKXTableChildFrm::OnOpenMatrixView)
ON_UPDATE_COMMAND_UI_RANGE(ID_KX_MATRIX_OPEN_FIRST, ID_KX_MATRIX_OPEN_LAST, &CKXTableChildFrm::OnUpdateOpenMatrixView)
ON_COMMAND(ID_KX_SAVE_REOPEN, &CKXTableChildFrm::OnCommand35624)
ON_UPDATE_COMMAND_UI(ID_KX_SAVE_REOPEN, &CKXTableChildFrm::OnUpdateCommand35624)
ON_COMMAND(ID_KX_EXPORT_INTERFACE, &CKXTableChildFrm::OnExportInterface)
ON_UPDATE_COMMAND_UI(ID_KX_EXPORT_INTERFACE, &CKXTableChildFrm::OnUpdateExportInterface)
ON_COMMAND(ID_KX_IMPORT_INTERFACE, &CKXTableChildFrm::OnImportInterface)
ON_UPDATE_COMMAND_UI(ID_KX_IMPORT_INTERFACE, &CKXTableChildFrm::OnUpdateImportInterface)
END_MESSAGE_MAP()

namespace {
using Frame = CKXTableChildFrm;
struct FrameWord {
    const char* word;
    Frame::TclHandler handler;
    const char* usage; // the message that shows the word's usage
};
// The window's words with their handlers and usages, in the order they are registered.
const FrameWord kFrameWords[] = {
    {KXScriptWord::ascend, &Frame::OnTclAscend, "KXTABLE-165"},
    {KXScriptWord::physicalView, &Frame::OnTclPhysicalView, "KXTABLE-166"},
    {KXScriptWord::logicalView, &Frame::OnTclLogicalView, "KXTABLE-167"},
    {KXScriptWord::selectWindow, &Frame::OnTclSelectWindow, "KXTABLE-169"},
    {KXScriptWord::saveDesign, &Frame::OnTclSaveDesign, "KXTABLE-170"},
    {KXScriptWord::saveDesignAs, &Frame::OnTclSaveDesignAs, "KXTABLE-174"},
    {KXScriptWord::undo, &Frame::OnTclUndo, "KXTABLE-171"},
    {KXScriptWord::redo, &Frame::OnTclRedo, "KXTABLE-172"},
    {KXScriptWord::filterBlock, &Frame::OnTclFilterBlock, "KXTABLE-173"},
    {KXScriptWord::designComment, &Frame::OnTclDesignComment, "KXTABLE-168"},
    {KXScriptWord::exportInterface, &Frame::OnTclExportInterface, "KXPANE-229"},
    {KXScriptWord::importInterface, &Frame::OnTclImportInterface, "KXPANE-230"},
    {KXScriptWord::closeDesign, &Frame::OnTclCloseDesign, "KXTABLE-195"},
};
} // namespace

CKXTableChildFrm::CKXTableChildFrm() {
    EnableAutomation();
    for (const FrameWord& w : kFrameWords)
        m_TclCommandMap[w.word] = w.handler;
    RegisterScriptWords();
}

void CKXTableChildFrm::RegisterScriptWords() {
    for (const FrameWord& w : kFrameWords)
        CKXTclCmdManager::RegisterTCLCommand(w.word);
}

const char* CKXTableChildFrm::UsageOfWord(const char* word) {
    for (const FrameWord& w : kFrameWords)
        if (std::strcmp(w.word, word) == 0) return w.usage;
    return nullptr;
}

CKXTableChildFrm::~CKXTableChildFrm() {
    KXJournalWindowGone(this);
    if (CKXCustomizeAPI* customize = CKXCustomizeAPI::GetCKXCustomizeObj()) customize->saveFile();
}

// ------------------------------------------------------------------ helpers

CKXTableDoc* CKXTableChildFrm::GetTableDoc() const {
    CDocument* doc = const_cast<CKXTableChildFrm*>(this)->GetActiveDocument();
    // While the active view changes no view is active (the view going inactive ends its edit then, and
    // journals it): the window's document is its views' all the same.
    if (!doc && m_bSplitterCreated)
        if (const auto* pane = dynamic_cast<const CView*>(m_wndOuterSplitter.GetPane(0, 1))) doc = pane->GetDocument();
    return doc && doc->IsKindOf(RUNTIME_CLASS(CKXTableDoc)) ? static_cast<CKXTableDoc*>(doc) : nullptr;
}

int CKXTableChildFrm::OpenMode() const {
    CKXTableDoc* doc = GetTableDoc();
    return doc ? static_cast<int>(doc->GetOpenMode()) : -1;
}

IKXConnectivityPane* CKXTableChildFrm::GetPane() const {
    return m_bSplitterCreated ? KXConnectivityPaneOf(m_wndOuterSplitter.GetPane(0, 1)) : nullptr;
}

CKXBottomPaneContainerView* CKXTableChildFrm::GetConnectivityPane() const {
    IKXConnectivityPane* pane = GetPane();
    return pane ? pane->PaneClass() : nullptr;
}

CKXInstancePaneContainerView* CKXTableChildFrm::GetComponentPane() const {
    if (!m_bSplitterCreated) return nullptr;
    CWnd* pane = m_wndInnerSplitter.GetPane(0, 0);
    return pane && pane->IsKindOf(RUNTIME_CLASS(CKXInstancePaneContainerView))
               ? static_cast<CKXInstancePaneContainerView*>(pane)
               : nullptr;
}

CKXSignalPaneContainerView* CKXTableChildFrm::GetSignalPane() const {
    if (!m_bSplitterCreated) return nullptr;
    CWnd* pane = m_wndInnerSplitter.GetPane(1, 0);
    return pane && pane->IsKindOf(RUNTIME_CLASS(CKXSignalPaneContainerView))
               ? static_cast<CKXSignalPaneContainerView*>(pane)
               : nullptr;
}

CKXInstancePaneGrid* CKXTableChildFrm::InstanceGrid() const {
    CKXInstancePaneContainerView* pane = GetComponentPane();
    return pane ? pane->GetInstancePaneGrid() : nullptr;
}

CKXPhysPartGrid* CKXTableChildFrm::PhysPartGrid() const {
    CKXInstancePaneContainerView* pane = GetComponentPane();
    return pane ? pane->GetPhysPartGrid() : nullptr;
}

CWnd* CKXTableChildFrm::ComponentListGrid() const {
    if (OpenMode() == eOpenModePhysical) return PhysPartGrid();
    return InstanceGrid();
}

CWnd* CKXTableChildFrm::SignalListGrid() const {
    CKXSignalPaneContainerView* pane = GetSignalPane();
    if (!pane) return nullptr;
    if (OpenMode() == eOpenModePhysical) return pane->GetPhysNetGridWnd();
    return pane->GetSignalGridWnd();
}

LRESULT CKXTableChildFrm::SendHostText(const CString& text) const {
    CWnd* main = AfxGetMainWnd();
    return main ? main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) : 0;
}

void CKXTableChildFrm::SendHostMessageText(const CString& text) const {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_MESSAGE_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

void CKXTableChildFrm::Journal(const CString& comment, const CString& line) const {
    // The window's own lines (a tab, a save, a close) are no lines of the edit made before them.
    KXEndStepOfJournalLines();
    KXJournalWrite(CKXShareGlobalData::m_bAutomation, comment, line);
}

CString CKXTableChildFrm::GetBlockHandle() const {
    IDesign* design = m_DesignContext.design();
    if (!design) return CString();
    CString handle = design->cellName();
    if (OpenMode() == eOpenModePhysical) handle += "_phys";
    KXJournalHandleGiven(this, handle);
    return handle;
}

int CKXTableChildFrm::GetTabNumber() const {
    CKXTableDoc* mine = GetTableDoc();
    CDocTemplate* tmpl = mine ? mine->GetDocTemplate() : nullptr;
    if (!tmpl) return 1;
    // A window on its way out (whose close activates this one) is no longer counted: the number is
    // the one the window has among those left, as a replay counts them after the close.
    int n = 0;
    for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) {
        CDocument* doc = tmpl->GetNextDoc(pos);
        if (doc == mine) return n + 1;
        auto* table = dynamic_cast<CKXTableDoc*>(doc);
        if (!table || !table->IsClosing()) ++n;
    }
    return 1;
}

BOOL CKXTableChildFrm::DesignDirectory(CString& dir) const {
    IDesign* design = m_DesignContext.design();
    IKXDataAccessContext* access = CKXShareGlobalData::m_pDataAccessContext;
    if (!design || !access) return FALSE;
    return access->GetDesignDirectory(design->libName(), design->cellName(), design->viewName(), 0, dir) &&
           !dir.IsEmpty();
}

BOOL CKXTableChildFrm::ActivatePane(const CString& name) {
    if (!m_bSplitterCreated) return FALSE;
    if (name.CompareNoCase("CCP") == 0) {
        m_wndOuterSplitter.SetActivePane(0, 1);
    } else if (name.CompareNoCase("CLP") == 0) {
        m_wndInnerSplitter.SetActivePane(0, 0);
    } else if (name.CompareNoCase("SLP") == 0) {
        m_wndInnerSplitter.SetActivePane(1, 0);
    } else {
        return FALSE;
    }
    return TRUE;
}

// ------------------------------------------------------------------ frame interface

void CKXTableChildFrm::SetHighlight() {
    if (m_bCreating) return;
    m_wndOuterSplitter.SetHighlight();
    m_wndInnerSplitter.SetHighlight();
}

BOOL CKXTableChildFrm::SaveDesignToServer() {
    IServer* server = CKXShareGlobalData::m_pServer;
    BOOL saved = server && m_DesignContext.design() && server->saveDesign(m_DesignContext.design());
    // A design the server could not write stays modified.
    if (saved) SetDocumentModified(FALSE);
    return saved;
}

BOOL CKXTableChildFrm::SetDocumentModified(BOOL bModified) {
    CKXTableDoc* doc = GetTableDoc();
    if (!doc) return FALSE;
    doc->SetModified(bModified);
    return TRUE;
}

BOOL CKXTableChildFrm::IsDocumentModified() {
    CKXTableDoc* doc = GetTableDoc();
    return doc ? doc->IsDesignModified() : FALSE;
}

// ------------------------------------------------------------------ creation and layout

int CKXTableChildFrm::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1) return -1;
    return 0;
}

BOOL CKXTableChildFrm::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    m_bCreating = TRUE;
    m_wndOuterSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST);
    m_wndOuterSplitter.CreateView(0, 1, KXConnectivityPaneClass(), CSize(20, 20), pContext);
    m_wndOuterSplitter.SetVertResizeButton(1, 0, 1);
    m_wndInnerSplitter.CreateStatic(&m_wndOuterSplitter, 2, 1, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                    m_wndOuterSplitter.IdFromRowCol(0, 0));
    m_wndInnerSplitter.CreateView(0, 0, RUNTIME_CLASS(CKXInstancePaneContainerView), CSize(20, 20), pContext);
    m_wndInnerSplitter.CreateView(1, 0, RUNTIME_CLASS(CKXSignalPaneContainerView), CSize(20, 20), pContext);
    KXSetDrawingStyleAll<CKXSplitterWnd>(4);
    m_bSplitterCreated = TRUE;
    return TRUE;
}

void CKXTableChildFrm::ActivateFrame(int) {
    CKXTableDoc* doc = GetTableDoc();
    if (doc) {
        m_DesignContext = doc->GetDesignContext();
        doc->SetModified(FALSE);
    }
    CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
    m_pComments = doc ? doc->GetComments() : nullptr;
    WirePanes();
    SizePanes();
    CKXSignalPaneContainerView* signalPane = GetSignalPane();
    CKXInstancePaneContainerView* componentPane = GetComponentPane();
    if (auto* componentIf = dynamic_cast<CCommonInterface*>(componentPane)) componentIf->NotifyFrameActivated(TRUE);
    if (auto* signalIf = dynamic_cast<CCommonInterface*>(signalPane)) signalIf->NotifyFrameActivated(TRUE);
    if (doc && doc->GetOpenMode() == eOpenModePhysical) ApplyPhysicalBlockFilter(componentPane, signalPane);
    if (componentPane) componentPane->FillData();
    if (signalPane) signalPane->FillData();
    RegisterListDropTargets();
    if (doc) ShowFirstConnectivity(doc);
    m_bCreating = FALSE;
}

void CKXTableChildFrm::RegisterListDropTargets() {
    auto registerOn = [this](CKXTableOleDropTarget& target, CWnd* list) {
        if (!list || !list->GetSafeHwnd() || target.GetWindow() == list) return;
        target.Revoke();
        target.RegisterTarget(list, m_DesignContext);
    };
    CKXSignalPaneContainerView* signalPane = GetSignalPane();
    registerOn(m_componentListDrop, InstanceGrid());
    registerOn(m_signalListDrop, signalPane ? signalPane->GetSignalGridWnd() : nullptr);
}

void CKXTableChildFrm::WirePanes() {
    CKXSignalPaneContainerView* signalPane = GetSignalPane();
    CKXInstancePaneContainerView* componentPane = GetComponentPane();
    IKXConnectivityPane* ccp = GetPane();
    CCommonInterface* details = ccp ? ccp->PaneInterface() : nullptr;
    CCommonInterface* signalIf = signalPane ? dynamic_cast<CCommonInterface*>(signalPane) : nullptr;
    CCommonInterface* componentIf = componentPane ? dynamic_cast<CCommonInterface*>(componentPane) : nullptr;
    if (ccp) {
        // Changes made by the list panes outside any grid become steps of this window's undo history.
        CKXTransaction::SetUndoSink(details);
        ccp->SetChildFrame(this);
        ccp->SetSignalPaneInterface(signalIf);
        ccp->SetInstancePaneInterface(componentIf);
        details->SetCommentStore(m_pComments);
    }
    if (signalPane) {
        signalPane->SetDetailsViewPtr(details);
        if (signalIf) {
            signalIf->SetChildFramePtr(this);
            signalIf->SetCommentStore(m_pComments);
        }
        m_pSignalPaneView = signalPane;
    }
    if (componentPane) {
        componentPane->SetDetailsViewPtr(details);
        if (componentIf) {
            componentIf->SetChildFramePtr(this);
            componentIf->SetCommentStore(m_pComments);
        }
        m_pInstancePaneView = componentPane;
    }
    if (signalPane && componentPane) {
        signalPane->SetInstancePaneViewPointer(componentPane);
        componentPane->SetSignalPaneViewPointer(signalPane);
    }
}

void CKXTableChildFrm::SizePanes() {
    CRect rect;
    GetWindowRect(&rect);
    int w = rect.Width(), h = rect.Height();
    m_wndOuterSplitter.SetColumnInfo(0, static_cast<int>(w * 0.3), 10);
    m_wndOuterSplitter.SetColumnInfo(1, static_cast<int>(w * 0.7), 10);
    m_wndOuterSplitter.RecalcLayout();
    m_wndInnerSplitter.SetRowInfo(0, h / 2, 10);
    m_wndInnerSplitter.SetRowInfo(1, h / 2, 10);
    m_wndInnerSplitter.RecalcLayout();
    m_wndOuterSplitter.CreateResizeButton();
}

void CKXTableChildFrm::ApplyPhysicalBlockFilter(CKXInstancePaneContainerView* componentPane,
                                                CKXSignalPaneContainerView* signalPane) {
    CString dir;
    if (DesignDirectory(dir)) {
        CString path;
        path.Format("%s/physModule.dat", dir.GetString());
        CStringList list(10);
        if (CString why; !ReadExcludedSpathList(m_DesignContext, list, path, why)) {
            CKXErrorHandler::MessageBoxOk(kUnreadableFilterFile, path.GetString(), why.GetString());
            list.RemoveAll();
        }
        if (componentPane) componentPane->SetBlockFilterList(&list);
        if (signalPane) signalPane->SetBlockFilterList(&list);
        CString text;
        for (POSITION pos = list.GetHeadPosition(); pos;)
            text += list.GetNext(pos) + "\n";
        if (IKXConnectivityPane* ccp = GetPane())
            if (CCommonInterface* details = ccp->PaneInterface()) details->StoreExcludedSpathList(text);
        if (IKXMessageServer* ms = GetKXMsgSrvr())
            ms->Broadcast(MSG_BLOCK_FILTER_CHANGED, list.IsEmpty() ? 0 : 1, 0, 0);
    }
}

void CKXTableChildFrm::ShowFirstConnectivity(CKXTableDoc* doc) {
    if (doc->GetOpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* grid = PhysPartGrid()) {
            grid->ActivateGridWnd();
            grid->Showconnectivity(0);
        }
    } else if (CKXInstancePaneGrid* grid = InstanceGrid()) {
        grid->ActivateGridWnd();
        grid->Showconnectivity(1, 0);
    }
}

void CKXTableChildFrm::OnSetFocus(CWnd* pOldWnd) {
    CFrameWnd::OnSetFocus(pOldWnd);
}

void CKXTableChildFrm::OnSize(UINT nType, int cx, int cy) {
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (CKXShareAppData::m_bIsAppClosing || !m_bSplitterCreated) return;
    int which = 0;
    BOOL collapsed = m_wndInnerSplitter.GetSplitterStatus(which);
    m_wndOuterSplitter.RecalcLayout();
    CRect inner;
    m_wndInnerSplitter.GetWindowRect(&inner);
    if (collapsed) {
        m_wndInnerSplitter.SetRowInfo(0, which ? 20 : inner.Height() - 34, 10);
    } else if (m_bFirstSize) {
        m_bFirstSize = FALSE;
        CRect frame;
        GetWindowRect(&frame);
        m_wndInnerSplitter.SetRowInfo(0, frame.Height() / 2, 10);
        m_wndInnerSplitter.SetRowInfo(1, frame.Height() / 2, 10);
    } else {
        int a = 0, b = 0;
        m_wndInnerSplitter.GetPaneSize(a, b);
        int available = inner.Height() - 10;
        if (a + b > 0) {
            m_wndInnerSplitter.SetRowInfo(
                0, static_cast<int>(static_cast<long long>(available) * a / (a + b)), 10);
            m_wndInnerSplitter.SetRowInfo(
                1, static_cast<int>(static_cast<long long>(available) * b / (a + b)), 10);
        } else {
            // No stored proportion yet: share the height equally.
            m_wndInnerSplitter.SetRowInfo(0, available / 2, 10);
            m_wndInnerSplitter.SetRowInfo(1, available / 2, 10);
        }
    }
    m_wndInnerSplitter.RecalcLayout();
}

LRESULT CKXTableChildFrm::OnStopTrackingSplitter(WPARAM, LPARAM) {
    int h0 = 0, h1 = 0, min = 0;
    m_wndInnerSplitter.GetRowInfo(0, h0, min);
    m_wndInnerSplitter.GetRowInfo(1, h1, min);
    m_wndInnerSplitter.SetPaneSize(h0, h1);
    return 0;
}
