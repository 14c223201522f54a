// The design window: an MDI child frame split into the component list pane and
// the signal list pane (left, one above the other) and the connectivity pane
// (right). It wires the panes together, forwards the host's messages and menu
// commands to them, and answers the window's script commands.
#pragma once

#include "afx/afx.h"
#include "grid/KXEditResult.h"
#include "grid/KXJournalWindows.h"
#include "grid/KXTableOleDropTarget.h"
#include "kxcommon/KXDocument.h"
#include "kxcontrols/KXSplitterWnd.h"
#include "rmx/context.h"

#include <map>
#include <vector>

class CComments;
class CTclArgsList;
class CKXTableDoc;
class CKXBottomPaneContainerView;
class IKXConnectivityPane;
class CKXInstancePaneContainerView;
class CKXSignalPaneContainerView;
class CKXInstancePaneGrid;
class CKXSignalPaneGrid;
class CKXPhysPartGrid;
class CKXPhysNetGrid;

class CKXTableChildFrm : public CMDIChildWnd, public IKXChildFrameBase, public IKXJournalWindow {
    DECLARE_DYNCREATE(CKXTableChildFrm)
public:
    CKXTableChildFrm();
    ~CKXTableChildFrm() override;

    // IKXChildFrameBase.
    void SetHighlight() override;
    BOOL SaveDesignToServer() override;
    BOOL SetDocumentModified(BOOL bModified) override;
    BOOL IsDocumentModified() override;

    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void ActivateFrame(int nCmdShow = -1) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Commands and their updates go to the active view, the frame and the application, then to the
    // connectivity pane when another view is active: the pane's commands act on its active grid
    // whichever pane has the keyboard.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CKXSignalPaneContainerView* GetSignalPaneView() const { return m_pSignalPaneView; }
    CKXInstancePaneContainerView* GetInstancePaneView() const { return m_pInstancePaneView; }
    // The connectivity pane, as the interface the shell uses and as its own class (tests).
    IKXConnectivityPane* GetPane() const;
    CKXBottomPaneContainerView* GetConnectivityPane() const;
    CKXInstancePaneContainerView* GetComponentPane() const; // inner (0, 0), whatever was stored
    CKXSignalPaneContainerView* GetSignalPane() const;      // inner (1, 0)
    CKXTableDoc* GetTableDoc() const;
    const CDesignContext& GetDesignContext() const { return m_DesignContext; }
    CComments* GetComments() const { return m_pComments; }

    // Makes "CCP", "CLP" or "SLP" the active pane; FALSE for any other name.
    BOOL ActivatePane(const CString& name);
    // The journal handle of the window: the design's cell name, "%s_phys" of it in the physical view.
    CString GetBlockHandle() const;
    // Position of the window among the open design windows, from 1.
    int GetTabNumber() const;
    // Journals the selection of this window's tab and the binding of its handle, as its activation
    // does: the lines that follow act on this window in a replay.
    void JournalTabSelection(const CString& handle) const;
    // IKXJournalWindow: the selection of this window's tab and the binding of its block handle.
    void JournalSelection() const override { JournalTabSelection(GetBlockHandle()); }

    // Script commands (argument list may be NULL): what each did, which KXEditResult turns into its answer.
    KXEditResult OnTclAscend(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclPhysicalView(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclLogicalView(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclSelectWindow(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclSaveDesign(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclSaveDesignAs(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclUndo(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclRedo(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclFilterBlock(CTclArgsList* args, LPARAM lParam);
    // Excludes the named blocks from the physical view, or includes them again ("all": every block
    // of the top design), in physModule.dat and in both lists; journalled as the window's FilterBlock.
    KXEditResult FilterBlocks(bool exclude, const std::vector<CString>& names);
    KXEditResult OnTclDesignComment(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclExportInterface(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclImportInterface(CTclArgsList* args, LPARAM lParam);
    KXEditResult OnTclCloseDesign(CTclArgsList* args, LPARAM lParam);

    using TclHandler = KXEditResult (CKXTableChildFrm::*)(CTclArgsList*, LPARAM);
    // Gives the window's script words their message numbers (at the library's initialisation,
    // so the host knows them before any window exists).
    static void RegisterScriptWords();
    const std::map<CString, TclHandler>& GetTclCommandMap() const { return m_TclCommandMap; }
    // The message that shows a word's usage; null for a word that is not the window's.
    static const char* UsageOfWord(const char* word);

    // Block filter and design comments.
    void ApplyBlockFilter(const CString& text);
    KXEditResult AddDesignComment(const CString& text);
    KXEditResult EditDesignComment(const CString& text);
    KXEditResult DeleteDesignComment();

    // Menu commands (also reachable by the host as commands of the window).
    void OnEchoAscend();
    void OnUpdateAscend(CCmdUI* pCmdUI);
    void OnCommand35534();
    void OnUpdateCommand35534(CCmdUI* pCmdUI);
    void OnCreateBlock();
    void OnUpdateCreateBlock(CCmdUI* pCmdUI);
    void OnSwitchView();
    void OnUpdateSwitchView(CCmdUI* pCmdUI);
    void OnFilterBlock();
    // The block filter dialog and the command it sends: -1 when the dialog was cancelled, else the command's
    // answer.
    LRESULT RunFilterDialog();
    void OnUpdateFilterBlock(CCmdUI* pCmdUI);
    void OnDesignCommentAdd();
    void OnDesignCommentDelete();
    void OnDesignCommentEdit();
    void OnUpdateDesignCommentAdd(CCmdUI* pCmdUI);
    void OnUpdateDesignCommentDelete(CCmdUI* pCmdUI);
    void OnUpdateDesignCommentEdit(CCmdUI* pCmdUI);
    void OnCreateMatrixView();
    void OnUpdateCreateMatrixView(CCmdUI* pCmdUI);
    void OnSaveAsMatrixView();
    void OnRemoveMatrixView();
    void OnEditMatrixView();
    void OnUpdateMatrixEdit(CCmdUI* pCmdUI);
    BOOL OnOpenMatrixView(UINT nID);
    void OnUpdateOpenMatrixView(CCmdUI* pCmdUI);
    void OnCommand35624();
    void OnUpdateCommand35624(CCmdUI* pCmdUI);
    void OnExportInterface();
    void OnUpdateExportInterface(CCmdUI* pCmdUI);
    void OnImportInterface();
    void OnUpdateImportInterface(CCmdUI* pCmdUI);

    // The list-pane heights stored by the splitter, for the sizing rule.
    CKXSplitterWnd& OuterSplitter() { return m_wndOuterSplitter; }
    CKXSplitterWnd& InnerSplitter() { return m_wndInnerSplitter; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    LRESULT OnStopTrackingSplitter(WPARAM wParam, LPARAM lParam);
    LRESULT OnTclRouteCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunMenuCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupShowDPPins(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupShowDPSignals(WPARAM wParam, LPARAM lParam);
    LRESULT OnPreserveInstComment(WPARAM wParam, LPARAM lParam);
    LRESULT OnPreservePinComment(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocusClp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMarkAsCodesign(WPARAM wParam, LPARAM lParam);
    LRESULT OnHighlightPin(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectFindAllResult(WPARAM wParam, LPARAM lParam);
    LRESULT OnFromClipboardViewer(WPARAM wParam, LPARAM lParam);
    BOOL PasteViewerItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddPhysicalPart(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddLogicalPart(WPARAM wParam, LPARAM lParam);
    LRESULT OnHighlightObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteInstance(WPARAM wParam, LPARAM lParam);
    LRESULT OnRenameInstance(WPARAM wParam, LPARAM lParam);
    LRESULT OnRemoveSelectionAll(WPARAM wParam, LPARAM lParam);
    LRESULT OnAssignPower(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupShowRowNumbers(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupAutoComplete(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupShowSignalCombo(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupMoveDirection(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetupNamingConventionOnCopy(WPARAM wParam, LPARAM lParam);
    LRESULT OnAutoAssignModel(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowNetConn(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    int OpenMode() const; // -1 without a document
    BOOL DesignDirectory(CString& dir) const;
    CKXInstancePaneGrid* InstanceGrid() const;
    CKXPhysPartGrid* PhysPartGrid() const;
    CWnd* ComponentListGrid() const;
    CWnd* SignalListGrid() const;
    // The host runs the text as a command: its answer (0 when it refused).
    LRESULT SendHostText(const CString& text) const;
    void SendHostMessageText(const CString& text) const;
    void Journal(const CString& comment, const CString& line) const;
    KXEditResult ViewSwitchCommand(CTclArgsList* args, bool toPhysical);
    static KXEditResult UsageOf(const CTclArgsList* args, const char* usage);
    KXEditResult CommentMoveRefusal();
    static void BeginSetting();
    static LRESULT AnswerSetting(bool applied);
    bool RemoveSignalSelection();
    bool RemoveComponentSelection();
    static KXEditResult InterfaceArgsRefused(const CTclArgsList* args, const CString& id);
    // The steps of ActivateFrame: the panes know each other, the splitters size them, the
    // physical view applies the block filter, and the first component's connectivity is shown.
    void WirePanes();
    void SizePanes();
    void ApplyPhysicalBlockFilter(CKXInstancePaneContainerView* componentPane, CKXSignalPaneContainerView* signalPane);
    void ShowFirstConnectivity(CKXTableDoc* doc);
    // The component and signal lists take what the host's browsers drop on them (once they are
    // windows): components and part descriptions become instances, signals are taken and ignored.
    void RegisterListDropTargets();
    // The instance paths of the blocks the names give ("all", or INSTANCE:INSTANCE... down the hierarchy);
    // refused, naming the name, when one names no block instance.
    KXEditResult CollectBlockPaths(const std::vector<CString>& names, std::vector<CString>& paths);

    std::map<CString, TclHandler> m_TclCommandMap;
    BOOL m_bSplitterCreated = FALSE;
    CDesignContext m_DesignContext;
    BOOL m_bCreating = TRUE;
    BOOL m_bFirstSize = TRUE;
    CString m_strFilterFile;
    CStringList m_ExcludedList;
    // A block filter file with a line that is no block path is neither applied nor written over.
    static constexpr const char* kUnreadableFilterFile = "KXTABLE-522";
    // A block filter whose file cannot be written is refused, and the view keeps the filter it had.
    static constexpr const char* kUnwritableFilterFile = "KXTABLE-540";
    CComments* m_pComments = nullptr;
    CKXSplitterWnd m_wndOuterSplitter;
    CKXSplitterWnd m_wndInnerSplitter;
    CKXSignalPaneContainerView* m_pSignalPaneView = nullptr;
    CKXInstancePaneContainerView* m_pInstancePaneView = nullptr;
    CKXTableOleDropTarget m_componentListDrop;
    CKXTableOleDropTarget m_signalListDrop;
};
