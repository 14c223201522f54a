// The connectivity pane: the right-hand view of a design window, which shows the detail grid of whatever
// was double-clicked in a list pane. It is wired to the frame and the list panes, keeps the undo history
// of the design window, takes the user options, records what it was asked to show, and offers the
// operations the frame and the document call.
#pragma once

#include "afx/afx.h"
#include "afx/afxdisp.h"
#include "grid/KXEditResult.h"
#include "grid/KXReplaySteps.h"
#include "grid/KXGridKind.h"
#include "grid/KXGridSite.h"
#include "grid/KXGridWnd.h"
#include "grid/KXSpinControl.h"
#include "pane/KXCCPShortcutBar.h"
#include "pane/KXConnectivityPane.h"
#include "afx/afxdlg.h"
#include "kxcontrols/KXComboBoxes.h"
#include "kxinstsigpane/CommonInterface.h"
#include "rmx/context.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CKXTableChildFrm;
class CKXTableDoc;
class CKXGridWnd;
class IKXPinGrid;
class CKXPhysPartDetailsGridWnd;
class CKXPhysNetDetailsGridWnd;
class CKXSignalDetailsGridWnd;
class CKXMatrixGridWnd;
class CKXAssocCompAPI;
class CKXSortUndoCmd;
struct KXHeldDesignators;
class CGXGridCore;
class CGXCommand;
class CKXHiliteObject;
class CInstTermBitContext;
class CTclArgs;
class CTclArgsList;
class CTransaction;
class CKXObjectInfoWnd;
class IKXObjectInfoOwner;
struct SKXObjectInfo;

// What every road to Remove Model says when the selected pins or cells carry no model.
inline constexpr const char* kKXNoModelRemoved = "KXPANE-484";

// A net that a grid edit made or widened in the open transaction, with its bits as first met.
struct CKXNewNetData {
    INet* net = nullptr;
    int lsb = -1;
    int msb = -1;
};

class CKXBottomPaneContainerView : public CView,
                                   public CCommonInterface,
                                   public IKXGridSite,
                                   public IKXConnectivityPane,
                                   public IKXReplayStepsHolder {
    DECLARE_DYNCREATE(CKXBottomPaneContainerView)
public:
    CKXBottomPaneContainerView();
    ~CKXBottomPaneContainerView() override;

    void OnDraw(CDC*) override {}
    // First update: the nets known so far, and the subscriptions at the message server.
    void OnInitialUpdate() override;

    // Design changes: committed transactions keep the windows and registries current.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    LRESULT OnResolveViolation(WPARAM wParam, LPARAM lParam);
    LRESULT OnAssocCompChanged(WPARAM wParam, LPARAM lParam);
    void AddNet(INet* net) override;
    BOOL IsNetRegistered(unsigned id) const { return m_registeredNets.count(id) != 0; }
    BOOL IsSubscribed() const { return m_hSubscribed != nullptr; }

    // Wiring (the frame's activation, frame first).
    CView* PaneView() override { return this; }
    CCommonInterface* PaneInterface() override { return this; }
    CKXBottomPaneContainerView* PaneClass() override { return this; }
    // The window's frame: with it, the design whose pairs the Attach Signal combo offers.
    void SetChildFrame(CKXTableChildFrm* frame) override;
    CKXTableChildFrm* GetChildFrame() const { return m_pChildFrame; }
    void SetInstancePaneInterface(CCommonInterface* pane) override { m_pInstancePane = pane; }
    void SetSignalPaneInterface(CCommonInterface* pane) override { m_pSignalPane = pane; }
    CCommonInterface* GetInstancePaneInterface() const { return m_pInstancePane; }
    CCommonInterface* GetSignalPaneInterface() const { return m_pSignalPane; }
    CComments* GetCommentStore() const { return m_pComments; }

    // The undo history of the design window: steps of commands, newest last.
    void AddUndoCommand(CGXGridCore* grid, CGXCommand* command, GXCmdType type, int state) override;
    void ForgetRedoSteps() override;
    BOOL PerformUndo() override;
    BOOL PerformRedo() override;
    void RequestUndo() override;
    void RequestRedo() override;
    int GetUndoStepCount() const override { return static_cast<int>(m_undo.size()); }
    std::vector<StepFootprint> UndoStepFootprints() const override;
    void MarkStepsSaved() override;
    int UnsavedUndoStepCount() const override;
    int GetRedoStepCount() const { return static_cast<int>(m_redo.size()); }
    // When the step the next undo (redo) takes was last made, undone or redone, in one order over every
    // window; 0 when there is none.
    std::uint64_t NextUndoStepOrder() const { return m_undo.empty() ? 0 : m_undo.back().order; }
    std::uint64_t NextRedoStepOrder() const { return m_redo.empty() ? 0 : m_redo.back().order; }
    CString GetUndoDescription() const;
    CString GetUndoHistoryText() override;

    // User options, applied to the pane's grids of the matching kinds.
    void ApplyAutoCompleteSetting(int value, BOOL apply) override;
    void ApplyShowSignalComboSetting(int value, BOOL apply) override;
    void ApplyShowRowNumbersSetting(int value, BOOL apply) override;
    void ApplyMoveDirectionSetting(CString direction, BOOL apply) override;
    void ApplyShowDiffPairPinsSetting(BOOL show) override;
    int m_nAutoComplete = 1;
    int m_nShowSignalCombo = 0;
    int m_nShowRowNumbers = 0;
    CString m_strMoveDirection;
    BOOL m_bShowDiffPairPins = FALSE;

    // Attach Signal bar: the combo of signal names and naming rules, and the two drop lists that
    // the grids' signal cells show. Rule words come first, then signals, then differential pairs.
    BOOL AttachSignalByName(const CString& signal) override;
    void EnableAttachSignalControls(BOOL enable) override;
    void ShowAttachSignalControls(BOOL show);
    BOOL IsAttachSignalEnabled() const { return m_bAttachEnabled; }
    CString GetAttachSignalText() const;
    DWORD GetAttachSignalEditSel() const { return m_AttachSignalCombo.GetEditSel(); }
    std::vector<CString> GetAttachSignalEntries() const;
    void ResetSignalLists() override;
    void AddSignalListEntry(const CString& text, DWORD data);
    void AddSignalListEntries(std::vector<CAfxItemList::NewItem> entries);
    // The list panes' fill: the design's nets become known with their ranges and are offered by name
    // when the signal lists are first used (read, searched, changed); the object window remembers each
    // of them once it is shown.
    void AddNets(const std::vector<INet*>& nets) override;
    // Offers the nets of the fill that wait for the signal lists' first use; nothing when none wait.
    void OfferWaitingNets();
    // Nets made since the window opened (AddNet, committed transactions, a resynchronisation): each is
    // also remembered by the object window at once, with a row of its signal list (a bus's bits with
    // theirs), named as it is offered and with its physical name.
    void RegisterNewNets(const std::vector<INet*>& nets);
    // Offers nets in the signal drop list and the Attach Signal combo by the names OfferedName gives.
    void OfferNets(const std::vector<INet*>& nets);
    // The name a net is offered by: the whole bus with its range, a one-bit vector with its bit.
    static CString OfferedName(const INet* net);
    void AddDiffPairListEntry(const CString& text);
    void AddDiffPairEntry(IDPNet* pair) override;
    void RemoveDiffPairEntry(IDPNet* pair);
    void UpdateDiffPairEntry(IDPNet* pair);
    // Offers every pair of the design the lists do not offer yet (the pairs it holds when it opens).
    void OfferDesignPairs();
    // Takes the entries of nets out of the signal drop list and the Attach Signal combo by their item
    // data: the entry of `id`, or (id -1) the entries of every id in `ids`. A few nets are found through
    // the text each was offered by (a binary search of the sorted lists), so taking one out costs the
    // same in a list of ten thousand; many take one pass over each list.
    void RemoveNetFromLists(long id, const std::set<DWORD_PTR>* ids = nullptr);
    // The text a net is offered by in both signal lists; empty when it is not offered.
    CString OfferedSignalText(DWORD_PTR netId) const;
    // Every net entry of both signal lists is known by its text and only those are: true when the
    // lists and what the pane remembers of them agree.
    bool SignalListsAgree() const;
    // Nets deleted from the design (known by their ids: their objects may be gone) are forgotten, leave
    // the lists, and their windows and their bits' windows close.
    void OnNetDeleted(const std::set<DWORD_PTR>& ids);
    void CloseDeletedNets(const std::vector<INet*>& nets);
    // Nets whose name or bit range changed are offered under their new names, and their rows in the
    // object window follow (the pin grids follow a net's new name and range from the commit themselves).
    void OnNetChanged(const std::vector<INet*>& nets);
    // The object information window (KXBottomPaneObjectInfo.cpp) remembers the components and signals
    // shown and keeps their grids, up to the project's "max_open_windows" of each kind (section
    // GRIDWORKSHOP, 100 when not set): before another is made, the oldest one not shown now is closed.
    CKXObjectInfoWnd& ObjectInfo();
    void ReadMaxOpenWindows();
    int GetMaxOpenWindows() const;
    std::vector<CKXGridWnd*> ComponentWindows() const; // the open component grids, oldest first
    CKXGridWnd* FindComponentWindow(std::uint64_t id) const;
    void CloseSignalWindows(const std::set<DWORD_PTR>& netIds);
    // The object window's keys of the nets and of the bits their kept ranges give.
    std::set<std::string> SignalKeysOf(const std::set<DWORD_PTR>& netIds) const;
    void RenameObjectInInfo(std::uint64_t id, int kind, const CString& name);
    void RenameNetInInfo(INet* net);
    // A net bit's text in the signal list of the object window: its name (column 0), its physical net
    // name (column 1).
    CString NetBitRowText(std::uint64_t key, int column) const;
    // The grids of the window's records: a component or a signal, or a group of them.
    CKXGridWnd* CreateObjectGrid(int kind, const std::string& key, int netBit, BOOL group);
    // One signal grid for the nets (net bits when netBit is set) of a key list; NULL when the design
    // has none of them.
    CKXGridWnd* CreateGroupSignalGrid(const CString& keys, int netBit);
    BOOL LoadSignalObjectGrid(CKXGridWnd* grid, const std::string& key, int netBit);
    void AfterObjectInfoShown(const std::vector<CKXGridWnd*>& shown, CKXGridWnd* active);
    void AfterObjectInfoChosen(int kind, const std::vector<const SKXObjectInfo*>& shown);
    void ForgetShownNamesIfNoneShown(size_t shownBefore);
    void ShowSignalObjects(const std::vector<CNetContext>& nets, const std::vector<CNetBitContext>& bits);
    // Registers the design's nets the pane does not know and forgets those the design no longer has.
    void SyncNetsWithDesign();
    // A committed change of an instance of the pane's design: its window, captions and shown name
    // follow; sync is set when nets may have come or gone. True when the pane is to be redrawn.
    bool FollowInstanceChange(int kind, IInstance* inst, bool& sync);
    // A committed change of a differential pair: its entries in the pair list and the combo follow.
    bool FollowPairChange(int kind, IDPNet* pair);
    CKXListComboBox* GetSignalDropList() const { return m_pSignalDropList.get(); }
    CKXListComboBox* GetDiffPairDropList() const { return m_pDiffPairDropList.get(); }
    void OnPrefixPinName();
    void OnSuffixPinName();
    void OnPrefixPinNumber();
    void OnSuffixPinNumber();
    void OnIncrementSignalName();
    // What a text of the bar asks for: a signal name, a naming rule, or shorting the pins.
    enum class EAttachText { Signal, Rule, ShortPins };
    static EAttachText ClassifyAttachText(const CString& text);

    // Operations on the pane's grids.
    void ClearOtherGridSelections(int gridIndex) override;
    int CountSelectedObjects() const override;
    void HighlightObject(CKXHiliteObject* object) override;
    BOOL HighlightPin(const CInstTermBitContext& pin) override;
    void NotifyFrameActivated(BOOL) override {}
    BOOL PasteFromClipboardViewer(WPARAM wParam, LPARAM lParam) override;
    // Pastes the clipboard into every shown grid in display order, in one "Paste Connections" transaction
    // (joined when one is open); the walk stops at the first grid that refuses. TRUE when a grid pasted.
    BOOL PasteIntoShownGrids(BOOL bPasteSpecial);
    // Marks the clipboard for paste special, then pastes outside the physical view.
    BOOL PasteSpecialIntoShownGrids(BOOL bPasteSpecial);
    BOOL PreservePinComment(const CString& oldInst, const CString& oldPin, const CString& newInst,
                            const CString& newPin, LPARAM flag) override;
    BOOL SelectFindAllResult(CWnd* grid, int row, int col) override;
    void SyncTopRow(CGXGridCore* grid, ROWCOL top) override;
    // Hides (or shows) rows in every grid of the pane, undo recording off for the call.
    void HideRowsInAllGrids(ROWCOL from, ROWCOL to, BOOL hide, CByteArray* oldStates, UINT flags,
                            GXCmdType ct) override;
    // Refreshes the cell controls of the pane's other pin grids.
    void RefreshCellControlsInOtherGrids(CGXGridCore* grid, int first, int second) override;
    // The other pin grids shown side by side sort the column the way the calling grid did.
    void SortColumnsInOtherGrids(CGXGridCore* grid, int col, BOOL ascending) override;
    // The list panes' flag, stored in every shown pin grid.
    void SetPinGridsFlag(int value) override;
    // The rows of the listed instances (database ids) in every pin grid of the component windows are
    // read again; nothing happens without a list.
    void RefreshInstancesInAllGrids(CDWordArray* ids) override;
    // A component renamed by the list panes: the registry and the physical part grids follow.
    void RenameComponent(IInstance* instance, CString oldName) override;
    // One rename for both roads: an instance the host renamed (with its cell) and a part given another
    // reference designator (no cell). A part still known by the old name keeps its id and windows.
    void RenameComponent(const CString& newName, const CString& oldName, const CString& cellName);
    // The physical view follows committed property changes: a part's new reference designator, a
    // physical net's new name, a changed signal model (KXBottomPaneFollow.cpp). True to redraw.
    bool FollowPropertyChange(IChange& change);
    // The part's id and the grids that showed it alone go over to its new reference designator.
    void MovePartName(const CString& newRefDes, const CString& oldRefDes);
    void ReloadPartGrids(const CString& refDes);
    void OnPhysNetRenamed(const CString& newName, const CString& oldName);
    void AddOrRefreshPart(const CString& refDes);
    void RefreshPackageRows(const CString& value, const CString& path);
    // The physical part grids that show the part alone.
    std::vector<CKXPhysPartDetailsGridWnd*> PartGridsShowing(const CString& refDes) const;

    // Menu commands: most go to the active grid; paste, delete and a few others pass through
    // the host's script interpreter.
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnEditPasteSpecial();
    void OnUpdateEditPasteSpecial(CCmdUI* ui);
    void OnPasteSpecialDialog();
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnUpdateEditRedo(CCmdUI* ui);
    BOOL CanUndoPaneGrid(CCmdUI* ui) override;
    BOOL CanRedoPaneGrid(CCmdUI* ui) override;
    LRESULT OnClearUndoRedo(WPARAM, LPARAM);
    LRESULT OnDesignUndoReset(WPARAM wParam, LPARAM);
    void ShowFindReplace(BOOL bFind);
    void OnEditFind();
    void OnEditReplace();
    // Find, Replace, the docked viewers and Customize Columns stay enabled: each acts on the active
    // grid when there is one and does nothing otherwise.
    void OnUpdateEditFind(CCmdUI* ui);
    void OnUpdateEditReplace(CCmdUI* ui);
    void OnUpdateShowPropertyEditor(CCmdUI* ui);
    void OnUpdateShowAssocCompViewer(CCmdUI* ui);
    void OnUpdateCustomizeColumns(CCmdUI* ui);
    BOOL DeleteInShownGrids();
    void OnDeleteConnections();
    void OnUpdateDeleteConnections(CCmdUI* ui);
    void OnEditProperties();
    void OnShowPropertyEditor();
    // Zoom (35093): the zoom dialog, preset with the active grid's zoom; OK sets the chosen zoom on every
    // grid of the active grid's kind.
    void OnZoom();
    void OnUpdateZoom(CCmdUI* ui);
    void OnShowAssocCompViewer();
    void ChooseSortOrder(int type);
    void OnSortAsAlpha(); // sort kind of the grids' column sorts
    void OnSortAsAlphaNumeric();
    void OnUpdateSortAsAlpha(CCmdUI* ui);
    void OnUpdateSortAsAlphaNumeric(CCmdUI* ui);
    void OnUpdateSortMenu(CCmdUI* ui);
    void OnCustomizeColumns();
    void OnSortByColumn(UINT id); // 35120-35128: columns 1-9
    void OnModifyValues();
    void OnUpdateModifyValues(CCmdUI* ui);
    void OnAddTermination();
    void OnUpdateAddTermination(CCmdUI* ui);
    void OnAddPullupPulldown();
    void OnUpdateAddPullupPulldown(CCmdUI* ui);
    void OnAssignModel();
    void OnUpdateAssignModel(CCmdUI* ui);
    void OnRemoveModel();
    void OnUpdateRemoveModel(CCmdUI* ui);
    void OnInsertComment();
    void OnEditComment();
    void OnDeleteComment();
    void OnUpdateInsertComment(CCmdUI* ui);
    void OnUpdateEditComment(CCmdUI* ui);
    void OnUpdateDeleteComment(CCmdUI* ui);
    // Assign Pin Number (35545-35552): a number of the current pin's menu, or "More..." (35550) for the
    // dialog; the active grid must be a physical part grid in the physical view, a pin grid otherwise.
    void OnAssignPinNumberFromMenu(UINT id);
    void OnUpdateAssignPinNumberMenu(CCmdUI* ui);
    void OnSwapPins();
    void OnUpdateSwapPins(CCmdUI* ui);
    void OnSwapSignals();
    void OnUpdateSwapSignals(CCmdUI* ui);
    void OnEditPin();
    void OnUpdateEditPin(CCmdUI* ui);
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnTrackInSignalList();
    void OnUpdateTrackInSignalList(CCmdUI* ui);
    void OnRemoveDiffPairPin();
    BOOL CanRemoveDiffPairPin();
    void OnUpdateRemoveDiffPairPin(CCmdUI* ui);
    void OnHostCommand35537();
    // The host's commands 35537 and 35538 act on a pin grid of an editable logical window only.
    void OnUpdateHostCommand35537(CCmdUI* ui);
    void OnUpdateHostCommand35538(CCmdUI* ui);

    // Grids side by side: Tab past the last column moves to the next pin grid.
    void ActivateAdjacentGrid(CGXGridCore* grid, BOOL bForward) override;
    int GridIndexOf(CGXGridCore* grid) const override; // position among the shown pin grids; -1 when not one
    // TRUE while the pane commits a transaction of its own or carries out an undo or redo step.
    BOOL IsBusy() const { return m_bCommitting || m_bInUndo; }
    BOOL IsSiteCommitting() const override { return m_bCommitting; }
    // The hidden grid of the transactions the pane opens itself.
    CKXGridWnd* PaneGrid();

    // What the pane shows: components (8951) or signals (9006). Sets the bar label, hides the
    // hint and shows the Attach Signal row only where connections may be edited.
    void SetPaneTitle(UINT kind) override;
    BOOL IsShowingComponents() override { return m_nShownKind == kShowsComponents; }
    int GetShownKind() const { return m_nShownKind; }
    BOOL IsHintVisible() const { return m_bHintVisible; }
    BOOL IsInfoWindowVisible() const { return m_bInfoVisible; }
    BOOL IsAttachSignalRowShown() const { return m_bAttachRowShown; }
    static const char* HintText();
    // The label of the title bar (bar 0 of the shortcut bar).
    CString GetPaneTitle() const { return m_ShortcutBar.GetBarLabel(0); }
    // The controls above the grids: the title bar, and the Attach Signal row's label, function
    // selector button and combo (control ids kShortcutBarId, kFxButtonId, kAttachComboId).
    static constexpr UINT kShortcutBarId = 9042;
    static constexpr UINT kFxButtonId = 35279;
    static constexpr UINT kAttachComboId = 35257;
    static constexpr UINT kFxBitmapId = 8882;
    static constexpr int kTitleBarHeight = 25;
    static constexpr int kAttachRowHeight = 28;
    const CKXCCPShortcutBar& GetShortcutBar() const { return m_ShortcutBar; }
    const CStatic& GetAttachSignalLabel() const { return m_AttachSignalLabel; }
    const SECBitmapButton& GetSignalFxButton() const { return m_SignalFxButton; }
    const CToolTipCtrl& GetToolTip() const { return m_ToolTip; }
    // Layout: the title bar over the top edge, the object window below it (and below the Attach
    // Signal row where connections may be edited). A pane without grids is redrawn whole.
    void OnSize(UINT nType, int cx, int cy);
    void RedrawIfNoGrids();
    // Where the object window and the shown grids lie: the client area below the title bar and the
    // Attach Signal row (a read-only window has no such row).
    CRect GridArea() const;
    // While a grid's drop-down list has taken the activation, the pane keeps its caption active.
    BOOL OnNcActivate(BOOL bActive);
    // Accessibility: the window's own answers (its visible controls are its children).
    HRESULT get_accChild(const VARIANT& varChild, CWnd** ppChild) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accName(const VARIANT& varChild, CString* pszName) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, const VARIANT& varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    void SetPrefixPinNameText(const CString& s) { m_strPrefixPinName = s; }
    void SetSuffixPinNameText(const CString& s) { m_strSuffixPinName = s; }
    void SetPrefixPinNumberText(const CString& s) { m_strPrefixPinNumber = s; }
    void SetSuffixPinNumberText(const CString& s) { m_strSuffixPinNumber = s; }

    // Pane activation: the pane becomes the frame's active pane, and its grids are activated.
    BOOL ActivateGrids() override;
    // Outside the physical view every shown grid but the active one is activated, then the active
    // one, which also clears the list panes' selection; FALSE when no grid is active.
    BOOL ActivatePaneGrids();
    // A shown matrix view reads the stored view again when it changed since it was loaded.
    void ReloadMatrixIfModified(CString unused);
    void FocusActiveGrid() override;
    // Message 0x785 (wParam an object's id): another window brings a remembered object's window back,
    // as a component while components are shown, as a signal while signals are.
    LRESULT OnActivateObjectWindow(WPARAM id, LPARAM);
    // The pane taking or losing the focus: the design window highlights its active pane again.
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);

    // Show requests of the list panes (a double-click there): the pane records the title and objects.
    void ShowInstanceConnectivity(const CDesignContext& design, CKXInstanceContextArray* instances,
                                  BOOL bForce) override;
    void ShowComponentsByName(const CDesignContext& design, CStringList* names, BOOL bForce) override;
    void ShowNetBitConnectivity(const CDesignContext& design, CKXNetBitContextArray* netBits,
                                BOOL bForce) override;
    void ShowNetConnectivity(const CDesignContext& design, CKXNetContextArray* nets, BOOL bForce) override;
    void ShowNetsByName(CStringList* names, BOOL bForce) override;
    void ShowMatrixView(const CDesignContext& design, CString viewName) override;
    // Create, Edit and Save As ask for the view in a dialog (CKXMatrixViewDlg, CKXMatrixSaveAsDlg).
    // A view opened by name that the store does not hold yet starts empty.
    void CreateMatrixView() override;
    void EditMatrixView() override;
    void OpenMatrixView(int index) override;
    void OpenMatrixView(CString name) override;
    void OpenStoredMatrixView(const CString& name); // journalled, so that a replay shows it too
    void SaveAsMatrixView() override;
    void RemoveMatrixView(CString name) override;
    BOOL IsInMatrixEditMode() override;
    BOOL RemoveStoredMatrixView(CString name);
    void CloseMatrixWindow(CKXMatrixGridWnd* window);
    // Every window of the design (this one and the others sharing its comment store) closes the matrix
    // windows of views the store no longer holds, as the window that took the view away closes its own.
    void CloseWindowsOfGoneMatrixViews();
    // The title, the names shown and the rows of every shown grid.
    CString GetPaneText() override;
    const std::vector<CString>& GetShownObjects() const { return m_shown; }

    // Name and id registry of the objects the list panes give by name. Ids are handed out in
    // order from 0 and never reused.
    void AddComponent(IInstance* instance, CString cellName) override;
    void AddComponentById(IInstance* instance) override;
    // Registers a component by name under a new id (a name already registered keeps its id).
    void AddComponentNamed(const CString& name);
    void AddNetName(CString name) override;
    void RemoveComponent(CString name) override;
    void RemoveNet(CString name) override;
    void RenameNet(INet* net, CString oldName) override;
    void AddOrUpdateComponent(IInstance* instance, CString cellName) override;
    // Keeps the block filter's excluded paths for the physical grids shown later and gives them to those kept.
    void StoreExcludedSpathList(CString list) override;
    int GetComponentId(const CString& name) const; // -1 when not registered
    int GetNetId(const CString& name) const;       // -1 when not registered
    CString GetComponentName(int id) const override;
    CString GetNetName(int id) const;

    // Object keys: an instance's or a net's database id, a registry id, or the key of one bit of a
    // vector net. A bit key is (net id + 1) * 2^32 + bit, above every id, so that no id and no other
    // bit key can equal it.
    using ObjectKey = std::uint64_t;
    static ObjectKey NetBitKey(unsigned netId, int bit);
    // The net id and bit of a key; bit -1 for a key that names a whole net.
    static void DecodeNetKey(ObjectKey key, unsigned& netId, int& bit);
    // Key lists: keys joined by ":". Empty and non-numeric pieces (a trailing ":") give no key.
    static std::vector<ObjectKey> ParseKeyList(const CString& keys);
    static CString MakeKeyList(const std::vector<ObjectKey>& ids);
    CString GetLastKeyList() const { return m_strLastKeys; }
    int GetLastKind() const { return m_nLastKind; }

    // The grids of the pane. CreateGrid is the one factory: it makes, creates and initialises a
    // grid of the kind and keeps it until DestroyGrid or the pane's end; NULL when the kind is not
    // available in this library (the caller tells the user so) or the window cannot be made.
    // inConnectDialog 1: a pin grid for the instance connectivity dialog, which owns its edits.
    CKXGridWnd* CreateGrid(KXGridKind kind, int inConnectDialog = 0);
    static BOOL IsGridKindAvailable(KXGridKind kind);
    void DestroyGrid(CKXGridWnd* grid);
    // Writes the column customisation of every grid kind the pane has (the pane's end).
    void SaveColumnCustomizations();
    int GetGridCount(KXGridKind kind) const;
    // Typed views of a grid of one kind; NULL for a grid of any other kind.
    static IKXPinGrid* PinGridOf(CKXGridWnd* grid);
    static CKXSignalDetailsGridWnd* SignalGridOf(CKXGridWnd* grid);
    static CKXPhysPartDetailsGridWnd* PhysPartGridOf(CKXGridWnd* grid);
    static CKXMatrixGridWnd* MatrixGridOf(CKXGridWnd* grid);

    // Matrix views: one matrix grid per opened view, kept until the pane's end.
    CKXMatrixGridWnd* CreateMatrixGrid(const CString& viewName);
    CKXMatrixGridWnd* ActiveMatrixGrid() const;
    // The words and methods of the matrix: open a stored view, type into a cell by name.
    KXEditResult OnTclOpenMatrixView(CTclArgsList* args, long extra);
    KXEditResult OnTclMatrixConnect(CTclArgsList* args, long extra);
    KXEditResult OnTclMatrixAdd(CTclArgsList* args, long extra);
    // sort, filterRows and dumpGrid on an active matrix grid; FALSE when no matrix grid is active.
    BOOL MatrixWord(const char* word, CTclArgsList* args, KXEditResult& result);
    BOOL AutoOpenMatrixView(LPCTSTR name);
    BOOL AutoRemoveMatrixView(LPCTSTR name);
    BOOL AutoSaveAsMatrixView(LPCTSTR name);
    // A view named with its components and signals (names separated by blanks): a new one, or the
    // stored view VIEW given a name and content (one it already has changes nothing).
    BOOL AutoCreateMatrixView(LPCTSTR name, LPCTSTR components, LPCTSTR signals);
    BOOL AutoEditMatrixView(LPCTSTR view, LPCTSTR name, LPCTSTR components, LPCTSTR signals);
    BOOL DefineMatrixView(const CString& view, CString name, const std::vector<CString>& components,
                          const std::vector<CString>& signals);
    void JournalMatrixDefinition(const CString& view, const CString& name, const std::vector<CString>& components,
                                 const std::vector<CString>& signals);
    // A stored matrix view as an undo step keeps it: absent, or its name, place and content.
    struct MatrixViewState {
        bool present = false;
        CString name;
        int index = -1;
        std::vector<CString> instances, signals;
    };
    MatrixViewState StoredMatrixViewState(const CString& name);
    // One undo step that takes the store from after back to before (and its redo).
    void RecordMatrixViewStep(const MatrixViewState& before, const MatrixViewState& after);
    // The store holds from; it is made to hold to, and the windows follow. FALSE when the store
    // no longer holds from (nothing changes then). from takes the place the view has now (steps of
    // other windows move views), so that the opposite step puts it back there.
    BOOL SwapMatrixViewState(MatrixViewState& from, const MatrixViewState& to);
    // Adds a component or a signal (a bus range: each bit) to the shown view, as a drop does.
    BOOL AutoMatrixAdd(LPCTSTR kind, LPCTSTR name);
    // Selects the cell of a signal's row in a component's column (PIN_NAME, PN, TERMINATION): the
    // row whose cell shows the pin, every row of the signal with a pin when the pin is empty.
    BOOL AutoMatrixSelect(LPCTSTR signal, LPCTSTR instance, LPCTSTR column, LPCTSTR pin);
    BOOL AutoMatrixSelectRow(LPCTSTR signal, LPCTSTR index, LPCTSTR firstColumn, LPCTSTR lastColumn, LPCTSTR add);
    // A pull-up or pull-down on the selected signals / their named ones deleted (all: empty).
    BOOL AutoMatrixAddPupd(LPCTSTR type, LPCTSTR lib, LPCTSTR cell, LPCTSTR view, LPCTSTR physName, LPCTSTR value,
                           LPCTSTR dcNet, LPCTSTR keyProps, LPCTSTR instProps);
    BOOL AutoMatrixDeletePupd(LPCTSTR names);
    // A copied termination or pull-up/pull-down (its clipboard texts) made again on a shown pin or signal.
    BOOL AutoMatrixPasteAssoc(LPCTSTR kind, LPCTSTR signal, LPCTSTR instance, LPCTSTR pin, LPCTSTR type,
                              LPCTSTR name, LPCTSTR data);
    // A termination on the selected pins: each part's texts joined by "|", a part's properties by blanks.
    BOOL AutoMatrixAddTermination(LPCTSTR type, LPCTSTR libs, LPCTSTR cells, LPCTSTR views, LPCTSTR physNames,
                                  LPCTSTR values, LPCTSTR keyProps, LPCTSTR instProps, LPCTSTR delay, LPCTSTR high,
                                  LPCTSTR low);
    BOOL AutoMatrixConnect(LPCTSTR signal, LPCTSTR instance, LPCTSTR column, LPCTSTR oldText, LPCTSTR newText);

    // The component windows of the pane: one pin grid per shown instance (or one for a group);
    // the grids live until the pane is destroyed.
    CKXGridWnd* CreateComponentGrid(UINT id);
    CKXGridWnd* CreateGroupComponentGrid(const CString& keys);
    const std::vector<CKXGridWnd*>& GetShownGrids() const { return m_shownGrids; }
    std::vector<CKXGridWnd*> SiteGrids() const override { return m_shownGrids; }
    CKXAssocCompAPI* AssocCompApi() override { return m_pAssocCompApi.get(); }
    // The shown grid the pane's commands go to: the one made active last, else the first shown.
    CKXGridWnd* GetActiveGrid() const;
    // The same grids for the host, which drives them as a user does.
    int GetShownGridCount() override { return static_cast<int>(m_shownGrids.size()); }
    CGXGridWnd* GetShownGridWnd(int index) override;
    int GetActiveGridIndex() override;
    BOOL SetActiveGridIndex(int index) override;
    BOOL GetShownGridInfo(int index, CString& kind, CString& title) override;
    // Lays the shown grids out side by side over the pane, equal widths in display order.
    void LayoutShownGrids();
    int GetPinGridCount() const { return GetGridCount(KXGridKind::Pin); }
    // A new signal grid filled with the nets or net bits (bList: as a group).
    CKXSignalDetailsGridWnd* CreateSignalGrid(const std::vector<CNetContext>& nets,
                                              const std::vector<CNetBitContext>& bits, BOOL bList);
    CKXSignalDetailsGridWnd* ActiveSignalGrid() const;
    // Lines the shown pin grids up: several grids, and whether they show the same object.
    void AfterShowObjects(BOOL& bSeveral, BOOL& bSame);

    // Connection edits of the shown pin grids (KXBottomPaneConnect.cpp).
    std::vector<IKXPinGrid*> ShownPinGrids() const;
    // The map of the nets made in the open transaction, emptied when a transaction begins or ends.
    void EmptyTransactionNetMap() override;
    INet* FindTransactionNet(const CString& name) const override;
    void RecordTransactionNet(const CString& name, INet* net) override;
    void ForgetTransactionNet(const CString& name) override;
    std::unique_ptr<std::map<CString, CKXNewNetData>> m_pTransactionNetMap;
    BOOL m_bCommittingCellEdit = FALSE; // a pin grid commits an edit applied through the Attach Signal bar
    // Begins a transaction on the pane's own grid (FALSE when one is open: the caller joins it).
    BOOL BeginPaneTransaction(const char* name);
    size_t m_nStepsAtPaneTransaction = 0; // the undo steps there were when the pane's transaction began
    size_t m_nCommandsAtPaneTransaction = 0; // the commands the newest of those steps had then
    // Every keyed word selects its keys here, in all shown grids: KXPANE-247 when one names no row of any.
    [[nodiscard]] KXEditResult SelectKeysOnly(CStringArray& keys);
    // The keys that name no row of any shown grid, as text (then nothing stays selected); none if all do.
    std::optional<CString> SelectRowsOfEveryKey(CStringArray& keys, const CString& keyColumn);
    BOOL IsEditable() const; // FALSE in a read-only window
    // Whether the stored matrix views may change here; a read-only window says why not.
    bool MayEditStoredViews() const;
    static void WriteHeldJournalsAsOneStep(const std::vector<IKXPinGrid*>& pins, bool write);
    BOOL EndPaneTransaction(BOOL commit);
    BOOL RemoveDiffPairsTransaction();
    BOOL CopyObjectsByKey(CStringArray& keys, const CString& keyColumn);
    BOOL CopyKeyedRows(CStringArray& keys, const CString& keyColumn);
    // The roads that connect a text to the selected pins: the pane's commands (the word, the bar, the
    // rule menus: every shown pin grid, echoed by the caller), its automation method (the active pin
    // grid, which echoes and journals itself) and the replay of a Signal cell typed in a window that
    // takes connections only so (the same, in open mode 0 too).
    enum class ConnectRoad { Command, Method, TypedCell };
    // Pins shorted onto new signals: one for the pins of all grids (the menu, the bar, the word), or one
    // for each grid's pins (the automation method AttachSignal).
    enum class ShortPins { No, OneSignal, SignalPerGrid };
    int ConnectInShownGrids(const CString& text, int bEcho, CTclArgsList* echo, ShortPins shortPins,
                            IKXPinGrid* only = nullptr);
    KXEditResult ConnectSignalToKeys(CStringArray& keys, CString signal, ConnectRoad road = ConnectRoad::Command);
    KXEditResult ConnectSelectedPins(CString signal, CTclArgsList* echo, ConnectRoad road = ConnectRoad::Command,
                                     ShortPins shortPins = ShortPins::OneSignal);
    static KXEditResult PhysicalViewConnectRefusal();
    // read-only, physical view, grid kind, open mode 0 (unless the road is a typed cell)
    KXEditResult ConnectCommandRefusal(bool rule, ConnectRoad road = ConnectRoad::Command) const;
    KXEditResult ConnectPlaceRefusal(bool rule) const; // those but mode 0: the ones before a word's keys
    KXEditResult RuleConnectRefusal(ConnectRoad road = ConnectRoad::Command) const; // those, then no pin chosen
    bool AnyPinSelected() const; // a shown pin grid has a selected pin row
    bool AnyPinChosen() const;   // ... that the user chose (no cell a grid placed for itself)
    // Connects the selected pins of the shown pin grids to the text; FALSE when none took it.
    BOOL ApplyAttachText(const CString& text);
    KXEditResult ApplyRuleNow(const char* rule);
    void RunRuleCommand(const char* rule); // a rule menu command, answering as its word
    void SendEchoList(CTclArgsList& list);
    void OnAutoName();
    void OnSameAsPinName();
    void OnShortPins();
    void OnSignalFunctionButton();
    void OnAttachSignal();
    void OnAttachSignalNotify(NMHDR* header, LRESULT* result);
    // Applies a text of the combo and reports the answer of the user's step.
    void ReportAttach(const CString& text);
    KXEditResult OnTclAddConnection(CTclArgsList* args, long extra);
    KXEditResult OnTclDeleteConnection(CTclArgsList* args, long extra);
    KXEditResult OnTclRemoveDiffPairPin(CTclArgsList* args, long extra);
    KXEditResult OnTclSwapSignal(CTclArgsList* args, long extra);
    KXEditResult OnTclRenameConnection(CTclArgsList* args, long extra);
    // Terminations, pull-ups/pull-downs and pin models (KXBottomPaneAssoc.cpp).
    KXEditResult OnTclAddTermination(CTclArgsList* args, long extra);
    KXEditResult OnTclEditTermination(CTclArgsList* args, long extra);
    KXEditResult OnTclDeleteTermination(CTclArgsList* args, long extra);
    KXEditResult OnTclAddPupd(CTclArgsList* args, long extra);
    KXEditResult OnTclEditPupd(CTclArgsList* args, long extra);
    KXEditResult OnTclDeletePupd(CTclArgsList* args, long extra);
    KXEditResult PinGridModelCommand(CTclArgsList* args, bool assign);
    KXEditResult ModelsOverPinGrids(const std::vector<IKXPinGrid*>& grids, const CString* model); // one step

    // Script commands: the host sends each word as a message; the table maps it to its handler.
    using TclHandler = KXEditResult (CKXBottomPaneContainerView::*)(CTclArgsList*, long);
    void RegisterTclCommands();
    static const char* UsageOf(const char* word); // message id of a word's usage; null for no word
    static LRESULT RefusalOf(const char* word);    // what the word answers when it refuses
    static CString KeysText(const CStringArray& keys); // object keys as a message names them
    const std::map<std::string, TclHandler>& GetTclCommandMap() const { return m_TclCommandMap; }
    KXEditResult OnTclAddComment(CTclArgsList* args, long extra);
    KXEditResult OnTclModifyComment(CTclArgsList* args, long extra);
    KXEditResult OnTclDeleteComment(CTclArgsList* args, long extra);
    KXEditResult OnTclSetViewOption(CTclArgsList* args, long extra);
    KXEditResult OnTclExpandPins(CTclArgsList* args, long extra);
    KXEditResult OnTclFilterRows(CTclArgsList* args, long extra);
    KXEditResult OnTclSort(CTclArgsList* args, long extra);
    KXEditResult SortActiveGrid(CTclArgsList* args, const CString& column);
    KXEditResult SortGridOfWord(CTclArgsList* args, const CString& column);
    static std::unique_ptr<CKXSortUndoCmd> SortStepOf(CKXGridWnd& grid);
    CString ShownObjectsJournalLine(CKXGridWnd& grid);
    KXEditResult OnTclChangeCustomColumn(CTclArgsList* args, long extra);
    KXEditResult OnTclDumpGrid(CTclArgsList* args, long extra);
    // addConnection with a signal grid active: instance:pin[:bits[:signal]] keys.
    KXEditResult AddConnectionInSignalGrid(CTclArgsList* args);
    // The physical view's words: pin numbers and models on the active physical part grid.
    KXEditResult OnTclAssignPinNumber(CTclArgsList* args, long extra);
    KXEditResult OnTclAssignModel(CTclArgsList* args, long extra);
    KXEditResult OnTclRemoveModel(CTclArgsList* args, long extra);
    KXEditResult NetGridModelCommand(CTclArgsList* args, bool assign);

    // The physical view: the physical part grid of the parts double-clicked in the list pane (one
    // grid reused for single parts, one for a group of parts).
    void ShowPhysParts(const std::vector<CString>& names);
    CKXPhysPartDetailsGridWnd* ActivePhysPartGrid() const;
    CKXPhysPartDetailsGridWnd* GetPhysPartGrid() const { return m_pPhysPartGrid; }
    // The physical net grid of the nets double-clicked in the physical view (by physical or logical name).
    void ShowPhysNets(const std::vector<CString>& names);
    CKXPhysNetDetailsGridWnd* ActivePhysNetGrid() const;
    static CKXPhysNetDetailsGridWnd* PhysNetGridOf(CKXGridWnd* grid);
    // Tells the physical part grids (the physical net grids) of a new block filter; only in the
    // physical view.
    void SetPartGridsExcludedSpathList(CString refDes, CString excludedPaths) override;
    void SetExcludedSpathList(CString refDes, CString excludedPaths);
    void SetExcludedSpathLists(CString netName, CString excludedPaths) override;
    KXEditResult OnTclSelectObject(CTclArgsList* args, long extra);
    KXEditResult OnTclCopy(CTclArgsList* args, long extra);
    KXEditResult OnTclPaste(CTclArgsList* args, long extra);
    KXEditResult OnTclTrackInSignalList(CTclArgsList* args, long extra);
    KXEditResult TrackPhysicalPin(CKXPhysPartDetailsGridWnd& part, CStringArray& keys);
    static bool HasOneSelectedRow(CKXGridWnd& grid);
    static bool HasChosenRow(CKXGridWnd& grid); // a row or cell the user chose, not the activation
    KXEditResult TrackMatrixSignal(CKXMatrixGridWnd& matrix, CStringArray& keys);
    KXEditResult OnTclEditPhysicalPin(CTclArgsList* args, long extra);
    KXEditResult OnTclEditLogicalPin(CTclArgsList* args, long extra);
    // Bus and differential-pair view options for every shown pin grid.
    void SetViewOptionsInAllGrids(int busOption, int dpOption);
    // Selects the rows of the keys in every shown grid.
    void SelectRowsInAllGrids(CStringArray* keys, const CString& keyColumn);

    // The document's open mode; a pane without a document is read-only (eOpenModeContext).
    EOpenMode GetViewMode() const;

    // Automation interface of the pane: the methods a journal replays.
    LPDISPATCH GetPaneDispatch();
    BOOL Dump(LPCTSTR file);
    BOOL AutoExpandAllPins();
    BOOL AutoDelete();
    KXEditResult DeleteRefusal();
    KXEditResult DeleteSelected();
    BOOL AutoCopy();
    KXEditResult CopyInActiveGrid();
    KXEditResult CopyFrom(CKXGridWnd& grid);
    BOOL CtrSelectTerminationCol(LPCTSTR pin);
    BOOL AutoSwapPins(LPCTSTR pinNumber);
    BOOL CtrSelectPinNameCol(LPCTSTR pin);
    BOOL CtrSelectColumn(LPCTSTR pin, const char* columnKey);
    BOOL AutoAssignModel(LPCTSTR model);
    BOOL AutoRemoveModel();
    BOOL SelectFirstSignalCol();
    BOOL SelectNextSignalCol();
    BOOL AutoInsertComment(LPCTSTR text);
    BOOL AutoEditComment(LPCTSTR text);
    BOOL AutoDeleteComment();
    BOOL AutoFilterRows(LPCTSTR column, LPCTSTR filter);
    BOOL Sort(LPCTSTR column);
    BOOL SortByHeader(LPCTSTR column);
    BOOL AutoSetViewOptions(LPCTSTR bus, LPCTSTR diffPair);
    BOOL RemoveDiffPairPin();
    BOOL AutoPaste();
    BOOL AutoAddTermination();
    LPDISPATCH AutoInitTermination(LPCTSTR text);
    BOOL AssignPinNumber(LPCTSTR number);
    BOOL SelectInstanceCol(LPCTSTR instance, LPCTSTR pin);
    BOOL SelectPinNameCol(LPCTSTR pin, const VARIANT& row);
    BOOL AutoAddConnection(LPCTSTR signal);
    // The text typed into the selected pins' Signal cells: the journal's form of a connection typed in a
    // window of open mode 0, whose pane commands connect nothing.
    BOOL AutoTypeSignal(LPCTSTR signal);
    CKXMatrixGridWnd* AutomationMatrixGrid();
    BOOL AutoPreservePinComment(LPCTSTR oldInst, LPCTSTR oldPin, LPCTSTR newInst, LPCTSTR newPin, LPCTSTR undo);
    // "0" / "1": the next connect of the pin grid leaves / carries over the pull-ups of the nets its
    // pins leave, without asking; FALSE for another answer.
    BOOL AutoRetainPUPD(LPCTSTR keep);
    BOOL AutoRetainTermination(LPCTSTR keep);
    // "LSB MSB STEP PIN_LSB PIN_MSB": the next connect's bits dialog takes these bits without asking.
    BOOL AutoChooseVectorBits(LPCTSTR bits);
    // The selected pins take a new signal name as Modify Values gives it (a journalled rename).
    BOOL AutoRenameConnection(LPCTSTR signal);
    LPDISPATCH AutoInitPUPD(LPCTSTR text);
    BOOL AddPUPD();
    // The journal's road of a pull-up paste: the described component onto the selected pins' net bits.
    BOOL AutoPastePUPD(LPCTSTR type, LPCTSTR name, LPCTSTR data);
    BOOL AutoAssignConnectivity(LPCTSTR instance, LPCTSTR pinNumber, LPCTSTR startBit, LPCTSTR endBit);
    BOOL AutoAttachSignal(LPCTSTR text);
    BOOL SelectTerminationCol(LPCTSTR pin, const VARIANT& row);
    BOOL SelectSignalCol(LPCTSTR pin, const VARIANT& row);
    BOOL SelectPinNumberCol(LPCTSTR pin, const VARIANT& row);
    BOOL SelectPUPDCol(LPCTSTR pin, const VARIANT& row);
    BOOL ChangeDelay(LPCTSTR delay);
    BOOL AutoEditTermination(LPCTSTR operands);
    BOOL AutoEditPUPD(LPCTSTR operands);
    BOOL DeletePUPD(LPCTSTR text);
    BOOL AutoChangePropValue(LPCTSTR property, LPCTSTR value);
    BOOL AutoAddPropColumn(LPCTSTR entry);
    KXEditResult ChangePropValue(const CString& property, const CString& value);
    BOOL AutoCtrSelect(const VARIANT& list, LPCTSTR unused);

    // IKXGridSite: what the grids need of the pane and the document. The pane's own members of
    // the same names (ActivateAdjacentGrid, GridIndexOf, SyncTopRow, ...) serve it as well.
    CComments* CommentStore() override;
    void MarkModified() override;
    void PinCommentsChanged() override;
    BOOL IsDocumentModified() const override;
    void RestoreDocumentModified(BOOL bModified) override;
    CString DocumentJournalHandle() override;
    EOpenMode OpenMode() const override;
    CCommonInterface* UndoSink() override;
    BOOL IsSiteBusy() const override;
    CCommonInterface* InstanceListPane() override;
    CCommonInterface* SignalListPane() override;
    CKXListComboBox* SignalDropList() const override;
    CKXListComboBox* DiffPairDropList() const override;
    void RunPaneCommand(UINT commandId) override;
    BOOL AssignPowerInListPane(const std::vector<CImplicitPin*>& pins, CStringArray* names) override;
    EOpenMode ViewMode() const override { return GetViewMode(); }
    void FlagDocumentModified() override;
    void ActivateSiteView() override;
    void GridTookFocus(CKXGridWnd* grid) override;
    CString NewSignalAutoName() override;
    void SetConnectRuleText(int which, const CString& text) override;

protected:
    DECLARE_DISPATCH_MAP()
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    DECLARE_MESSAGE_MAP()

private:
    struct Step {
        std::vector<std::unique_ptr<CGXCommand>> commands;
        std::vector<CGXGridCore*> grids;
        int replaySteps = 1; // steps the replay of the edit's journal lines makes (KXReplaySteps.h)
        int replayGroup = 0; // the replay's group of calls that made the step (0: none)
        std::uint64_t order = 0; // when the step was last made or redone, over every window
        CKXGridWnd* madeIn = nullptr; // the active grid when the step was made (null once it went)
        bool saved = false; // done when the design was last saved: its change is in the design's file
        // The name the step was made under, kept once it was undone or redone: the opposites its undo
        // records come in the reverse order, the grids' cell stores (no name) last.
        CString name;
    };
    // The name the undo and redo menus give the step: the one it was made under.
    static CString StepName(const Step& step);
    // The shown grid the step was made in: its commands' own grid, else the grid active then.
    CKXGridWnd* ShownGridOfStep(const Step& step) const;
    // Gives the newest step the replay steps its edit noted.
    void TakeReplaySteps(int steps) override;
    // What an undo or a redo in another window than the one whose history takes the step of the edit running
    // now can bring back: a new part must not take those designators. The edit's own window can bring
    // nothing back before the edit is taken back (its redo history goes with the new step).
    static const KXHeldDesignators& HeldByOtherWindows();
    BOOL RunStep(std::vector<Step>& from, std::vector<Step>& to, GXCmdType type, const char* comment,
                 const char* call);
    // Takes back what of a step ran before one of its commands failed.
    void TakeBack(Step& step, Step& recorded, size_t failed, GXCmdType type);
    // Takes back and drops the steps made since the history had that many, and the commands joined
    // since to the newest of those, which had `commands`: what the grids' own commands did to their
    // cells during an edit that did not commit (the design went back already).
    void TakeBackStepsSince(size_t count, size_t commands);
    // Takes back and drops the step's commands from the index on, newest first; the opposites they
    // record while they run are thrown away.
    void TakeBackCommandsFrom(Step& step, size_t first);
    // Takes back what the commands of the open (newest) step did and drops the step: the edit that
    // opened it did not commit.
    void RollBackOpenStep();
    // Takes back what the grid's failing edit added to the open step; the step goes when that edit
    // opened it.
    void RollBackEditOf(CGXGridCore* grid);
    // No step is open any more: the redo history kept for its roll-back and where its edits began go.
    void CloseOpenStep();
    // After a new step: a step of the grids' order alone keeps the redo history it cleared for what a replay
    // of the journal still has; any other step forgets what such steps kept.
    void KeepRedoClearedByUnjournalledStep();
    // Once the steps of the grids' order that cleared a redo history went with their grid, that history
    // is the window's next redo steps again (after the steps undone since).
    void RestoreRedoPastGoneViewSteps();
    // Whether the history took a step or a command since the pane's transaction began.
    bool RecordedSincePaneTransaction() const;
    // The history outlives the grids: before a grid goes, its design entries move to the pane's own
    // grid and the entries that only restore its cells or its order are dropped.
    void ForgetGridInHistory(CKXGridWnd* gone);
    void ForgetGridInStep(Step& step, CKXGridWnd* gone);
    BOOL IsLiveGrid(const CGXGridCore* grid) const;
    void Journal(const char* comment, const char* call, int times = 1) const;
    // Keeps a by-name or signal request that has no grid of its own: the names shown and the key list
    // (object window keys, which let the names follow renames); nothing changes when no key was found.
    void KeepShown(const std::vector<ObjectKey>& keys, std::vector<CString> shown, int kind, bool objectKeys = false);

    CKXTableChildFrm* m_pChildFrame = nullptr;
    CCommonInterface* m_pInstancePane = nullptr;
    CCommonInterface* m_pSignalPane = nullptr;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    std::vector<Step> m_redoAtPaneTransaction; // the redo history a grid command of the pane's transaction cleared
    std::vector<Step> m_redoAtOpenStep;        // the redo history the open step cleared (a roll-back restores it)
    size_t m_nStepsAtRedoStash = 0;            // the undo steps there were with that step
    // The redo history a step of the grids' order alone cleared. Such a step journals nothing: a replay of
    // the journal still has that history, until a step it has clears it.
    std::vector<Step> m_redoPastUnjournalledStep;
    std::map<const CGXGridCore*, size_t> m_editStartInOpenStep; // each grid's first command in the open step
    Step* m_pRecording = nullptr; // step that commands recorded during an undo or redo go to
    Step* m_pRunning = nullptr;   // step whose commands an undo or redo carries out now
    BOOL m_bStepOpen = FALSE;
    // The pane began an edit of its own: its first command opens a new step, whatever state the grid
    // that records it was left in by the edit before.
    BOOL m_bNewStepNext = FALSE;
    BOOL m_bInUndo = FALSE;
    BOOL m_bSyncing = FALSE;
    BOOL m_bAttachEnabled = TRUE;
    CString m_strAttachSignal;
    CString m_strUnmatchedKeys; // the keys of the last selectObject that named no row, as its message names them
    std::vector<CString> m_shown;
    BOOL SendHostText(const char* text);
    // A pane word run through the host (WORD OPERANDS): its answer; a refusal the word did not explain
    // says the word's usage.
    KXEditResult HostWord(const char* word, const CString& operands);
    // A script text run through the host: its answer; a refusal the text did not explain says the fallback.
    KXEditResult HostText(const CString& text, const char* fallback);
    // The automation answer of a host word.
    BOOL AnswerHostWord(const char* word, const CString& operands);
    // A menu command that runs a script text through the host answers as the text did.
    void AnswerMenuByHost(const CString& text, const char* fallback);
    // "paste special" run through the host: done when it pasted (the word answers 2 for that).
    KXEditResult PasteSpecialByHost();
    BOOL SelectPinCellInActiveGrid(const char* columnKey, LPCTSTR pin, const VARIANT& row);
    BOOL SelectSignalGridPinCell(CKXSignalDetailsGridWnd& grid, const char* columnKey, LPCTSTR instance,
                                 const VARIANT& row);
    BOOL RefuseAutomation() const;
    IKXPinGrid* ActivePinGrid() const;
    // The refusal of a command the active grid's kind does not take (KXPANE-496), or of no grid (KXPANE-246).
    KXEditResult NoGridOfKind() const;
    // Whether the active grid takes a paste (special: a Paste Special) now: the refusal every road to the
    // paste gives, in one order: a read-only window, no grid of a kind that takes pastes, nothing on the
    // clipboard the grid can take. Done when the paste may go ahead.
    KXEditResult PasteRefusal(bool special) const;
    // The same without the clipboard: whether the window and its active grid take pastes at all.
    KXEditResult PasteTargetRefusal() const;
    void CreateAttachControls();
    void PrepareRule(const char* word, const char* placeholder);
    // The usage of the word being run: for a help request (answers 1), for operands the word
    // cannot read (answers 0), or either as the value asks for help or not.
    KXEditResult Help() const;
    KXEditResult BadOperands() const;
    KXEditResult UsageFor(const CString& value) const;
    // The one reader of the keys words name rows by: a key is its argument's list values however the host
    // holds them (a list, or one text of a list: {U1 MCLK B14}, "U1 MCLK B14", a printed [list ...]), joined
    // with ":" as the grids name rows, empty fields kept in their places (a key of empty fields only is
    // empty). Done; Help() for a help request; BadOperands() for a text that reads as no list. ReadKeys
    // reads `count` arguments from `from` on (-1: to the end), one key each.
    KXEditResult ReadKeyFields(const CTclArgs* arg, std::vector<CString>& fields) const;
    KXEditResult ReadKey(const CTclArgs* arg, CString& key) const;
    KXEditResult ReadKeys(CTclArgsList* args, CStringArray& keys, int from = 0, int count = -1) const;
    IKXPinGrid* ViewOptionGrid(); // the pin grid of setViewOption and expandPins, or none (said why)
    KXEditResult CommentCommand(CTclArgsList* args, int op);
    // Selects the pins of the keys in the grid; FALSE, with a message, when no key names a pin.
    BOOL SelectKeyedPins(CKXGridWnd* grid, CStringArray& keys);
    CKXGridWnd* GridHoldingSelection(CKXGridWnd* active) const; // active, else first with a selected row
    KXEditResult EditPinCommand(CTclArgsList* args, BOOL physical);
    void Subscribe();
    void Unsubscribe();
    void CloseComponentWindow(UINT id);
    void RegisterNet(const CDesignContext& design, INet* net);
    // A net whose range changed: the rows and windows of the bits that left go, the bits that came
    // get rows, and a net that became or ceased to be a vector is remembered afresh.
    void FollowNetRange(INet* net);
    // The net's own row (withNet) and the rows of the given bits in the object window.
    void AddNetRows(INet* net, const CNetContext& context, BOOL withNet, const std::vector<int>& bits);
    void RecordOutsideChange(CTransaction* transaction, const char* name);
    void ShowDockWindow(const char* which, BOOL crossSelect);
    void ShowObjectInfo(const std::vector<ObjectKey>& keys, int kind);
    CDesignContext PaneDesign() const;
    CDesignContext PaneMasterDesign() const;

    std::map<std::string, TclHandler> m_TclCommandMap;
    CKXCCPShortcutBar m_ShortcutBar;
    CStatic m_AttachSignalLabel;
    SECBitmapButton m_SignalFxButton;
    CToolTipCtrl m_ToolTip;
    BOOL m_bNotInitialized = TRUE; // until the first update: size changes lay nothing out
    CKXAutoCompleteComboBox m_AttachSignalCombo;
    std::unique_ptr<CKXListComboBox> m_pSignalDropList, m_pDiffPairDropList;
    CString m_strTclWord; // the word being run
    std::unique_ptr<CKXGridWnd> m_pPaneGrid;
    // The bit range a registered net had when last seen (both -1 for a scalar net).
    struct NetRange {
        int msb = -1;
        int lsb = -1;
        bool IsVector() const { return msb != lsb; }
    };
    struct RegisteredNet {
        INet* net = nullptr;
        NetRange range;
    };
    // The registered nets by id, each with its range: one entry per net, so that the list panes' fill
    // of a large design registers its nets at the cost of one map entry each.
    std::map<unsigned, RegisteredNet> m_registeredNets;
    // Net id -> the text of its entry in the signal drop list and the Attach Signal combo.
    std::unordered_map<DWORD_PTR, CString> m_offeredText;
    // The pairs the lists offer, by id.
    std::set<DWORD_PTR> m_offeredPairs;
    // Nets of the list panes' fill whose entries wait for the signal lists' first use (OfferWaitingNets).
    std::vector<INet*> m_waitingNets;
    HWND m_hSubscribed = nullptr;
    std::vector<ObjectKey> m_shownKeys; // ids of m_shown, in the same order
    BOOL m_bCommitting = FALSE;
    BOOL m_bActivating = FALSE;
    int m_nShownKind = kShowsComponents;
    BOOL m_bHintVisible = TRUE;
    BOOL m_bInfoVisible = FALSE;
    BOOL m_bAttachRowShown = FALSE;
    CString m_strMatrixViewName;
    CString m_strExcludedSpaths;
    CString m_strLastKeys;
    int m_nLastKind = -1;
    std::map<std::string, int> m_compNameToId, m_netNameToId;
    std::map<int, CString> m_compIdToName, m_netIdToName;
    int m_nLastCompId = -1;
    int m_nLastNetId = -1;
    std::unique_ptr<CKXAssocCompAPI> m_pAssocCompApi; // the grids' associated-components object; outlives them
    std::vector<std::unique_ptr<CKXGridWnd>> m_grids; // every grid of the pane, of any kind
    CKXPhysPartDetailsGridWnd* m_pPhysPartGrid = nullptr;      // single parts (in m_grids)
    CKXPhysPartDetailsGridWnd* m_pPhysPartGroupGrid = nullptr; // several parts at once (in m_grids)
    CKXPhysPartDetailsGridWnd* NewPhysPartGrid();
    CKXPhysNetDetailsGridWnd* m_pPhysNetGrid = nullptr; // the physical net grid shown last (in m_grids)
    std::shared_ptr<IKXObjectInfoOwner> m_pObjectInfoOwner;
    std::shared_ptr<CKXObjectInfoWnd> m_pObjectInfo; // made at first use
    std::vector<CKXGridWnd*> m_shownGrids;
    CKXGridWnd* m_pActiveGrid = nullptr; // among m_shownGrids while it is shown
    UINT m_nNextGridId = 9100;
    CString m_strPrefixPinName, m_strSuffixPinName, m_strPrefixPinNumber, m_strSuffixPinNumber;
};
