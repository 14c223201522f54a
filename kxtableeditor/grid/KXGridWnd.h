// The common grid window from which every detail grid of the connectivity pane
// derives. It adds the parameters, styles and cell controls shared by all grids,
// the selection and keyboard rules, the undo hook and the virtual interface
// through which the pane and the frame drive whichever grid is active.
#pragma once

#include "grid/KXColumnInfoClass.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridIds.h"
#include "grid/KXGridKind.h"
#include "grid/KXGridMenus.h"

#include "afx/afxstr.h"
#include "grid/gxall.h"
#include "kxcommon/KXAssocCompStruct.h"
#include "rmx/context.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class CMenu;
class CKXListHeader;
class CKXStylesMap;
class CCommonInterface;
class IKXGridSite;
class CKXAssocCompAPI;

class CKXGridWnd : public CGXGridWnd {
    DECLARE_DYNCREATE(CKXGridWnd)

public:
    CKXGridWnd();
    // A grid of one kind (see KXGridKind.h); the kind never changes.
    explicit CKXGridWnd(KXGridKind kind);
    ~CKXGridWnd() override;
    CKXGridWnd(const CKXGridWnd&) = delete;
    CKXGridWnd& operator=(const CKXGridWnd&) = delete;

    // Function that supplies the settings key of a filter-row column.
    using DynComboFill = int (*)(int col, CString& key);

    // ---------------------------------------------------------------------
    // The grid interface, in its fixed order (virtual slots 83 to 175).
    // Every grid kind overrides what it supports; the bodies here are the
    // neutral defaults the pane relies on. Keep this order.
    // ---------------------------------------------------------------------
    virtual BOOL CanRemoveModel();                                // 83
    virtual BOOL CanEditPin();                                    // 84
    virtual BOOL CanAssignModel();                                // 85
    virtual BOOL CanAddPupd();                                    // 86
    virtual BOOL CanAddTermination();                             // 87
    virtual BOOL CanPasteSpecial();                               // 88
    virtual BOOL CanDelete();                                     // 89
    virtual BOOL IsCurrentCellConnectable();                      // 90
    virtual BOOL HasPupd();                                       // 91
    virtual BOOL HasTermination();                                // 92
    virtual BOOL CanInsertComment();                              // 93
    virtual BOOL CanEditComment();                                // 94
    virtual BOOL CanDeleteComment();                              // 95
    virtual BOOL CanRenameConnections();                          // 96
    virtual BOOL IsUndoDisabled();                                // 97
    virtual BOOL Paste(CString& strText, BOOL bPasteSpecial);     // 98
    virtual BOOL PasteFromClipboardViewer(int nItem, int nParam); // 99
    virtual void InitializeGrid(ROWCOL firstDataRow, ROWCOL firstDataCol, ROWCOL headerRow,
                                CCommonInterface* pUndoHost);                                       // 100
    virtual void CreateToolTip();                                                                   // 101
    virtual void RegisterHeaderControl(ULONG arg);                                                  // 102
    virtual void RegisterBitmapEditControl();                                                       // 103
    virtual void RegisterPupdControl();                                                             // 104
    virtual void RegisterBitmapButtonControl();                                                     // 105
    virtual void RegisterDynComboControl(DynComboFill fill, CDWordArray& lookColumns);              // 106
    virtual void EnableKeySelectionSync(BOOL bEnable);                                              // 107
    virtual void EnableCellControlClick(BOOL bEnable);                                              // 108
    virtual void OnCellControlClick(CPoint point, BOOL* pKeepSelection);                            // 109
    virtual void EditComment(const char* text, int flag);                                           // 110
    virtual void InsertComment(const char* text, int flag);                                         // 111
    virtual void RequestDeleteComment();                                                            // 112
    virtual void DeleteComment();                                                                   // 113
    virtual BOOL ChangeCustomColumnValue(CMapStringToString& values);                               // 114
    virtual void SortColumn(int col);                                                               // 115
    virtual void OnSortColumn(int col);                                                             // 116
    virtual void SortRows(int col, BOOL bAscending);                                                // 117
    virtual void NotifySelectionChanged();                                                          // 118
    virtual void ShowPropertyEditor();                                                              // 119
    virtual void GetSelectedObjectNames();                                                          // 120
    virtual void InitCanPasteCallback();                                                            // 121
    virtual void UpdatePaneTitle();                                                                 // 122
    virtual void ReservedHook();                                                                    // 123
    virtual void OnEditCopy();                                                                      // 124
    virtual BOOL DeleteSelection();                                                                 // 125
    virtual void OnKeyF4();                                                                         // 126
    virtual void ActivateGridView();                                                                // 127
    virtual void RemoveListPaneSelection();                                                         // 128
    virtual void AddPupd();                                                                         // 129
    virtual BOOL AddConnectionsForPupd(BOOL bScript, BOOL bShort);                                  // 130
    virtual void ShowFindReplace(BOOL bFind);                                                       // 131
    virtual void OnAddTermination();                                                                // 132
    virtual void AppendColumnVisibilityMenu(CMenu* pMenu);                                          // 133
    virtual void AppendSortMenu(CMenu* pMenu);                                                      // 134
    virtual void HideUnhideColumns(int col);                                                        // 135
    virtual void GetSelectedObjects();                                                              // 136
    virtual void MoveToNextCell();                                                                  // 137
    virtual void SelectAllRows();                                                                   // 138
    virtual void ShowContextMenu(CWnd* pWnd, CPoint point, UINT menuId, UINT flags);                // 139
    virtual void GetColumnMenuText(int col, CString& text, BOOL& bEnabled);                         // 140
    virtual void SetColumnMode(BOOL bSeveralGrids, BOOL bSameObject, BOOL bNotFirst, int position); // 141
    virtual BOOL AssignModel(int flag, LPCTSTR modelName);                                          // 142
    virtual void RefreshRowsByName(CString name);                                                   // 143
    virtual BOOL RemoveModel();                                                                     // 144
    virtual BOOL EditPin(BOOL bSave); // TRUE when the host was asked to go to the pin          // 145
    virtual void SetPinComment(CString instanceKey, CString pinKey, CString newComment,
                               CString oldComment);                       // 146
    virtual int GetSortColumn();                                          // 147
    virtual void SetSortColumn(int col);                                  // 148
    virtual BOOL IsSortAscending();                                       // 149
    virtual BOOL CanSwapPins();                                           // 150
    virtual BOOL SwapPins(int flag, CString pinNumber);                   // 151
    virtual BOOL CanSwapSignals();                                        // 152
    virtual BOOL SwapSignals(int flag, CString text);                     // 153
    virtual void RenameConnections();                                     // 154
    virtual void SetAutoComplete(BOOL bOn);                               // 155
    virtual void ShowSignalCombo(BOOL bShow);                             // 156
    virtual void ShowRowNumbers(BOOL bShow);                              // 157
    virtual void SetMoveDirection(CString direction);                     // 158
    virtual void CustomizeColumns();                                      // 159
    virtual void ScrollToFirstRow();                                      // 160
    virtual void SelectRowsByKey(CStringArray* pKeys, CString keyColumn); // 161
    virtual BOOL DeleteConnections();                                     // 162
    virtual BOOL AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells,
                                        CStringArray* views, CStringArray* physNames, CStringArray* values,
                                        CObArray* keyLists, CObArray* instLists, CString delay, CString high,
                                        CString low, int parts); // 163
    virtual BOOL EditTermination(CStringArray* designators, CMapStringToString* oldToNew,
                                 CMapStringToString* keyProps, CMapStringToString* instProps, CString delay,
                                 CString high, CString low, int count, int byRefDes,
                                 const CMapStringToString* partLooks = nullptr); // 164
    virtual BOOL DeleteTerminations();                                                // 165
    virtual BOOL DeletePupds(CStringArray* names, CMapStringToString* values);        // 166
    virtual BOOL AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName,
                                 CString value, CString dcNet, CStringList* keyProps, CStringList* instProps,
                                 BOOL bCommon); // 167
    virtual BOOL EditPupd(CString parent, CString name, CString refDes, CString dcNets, CStringList* keyProps,
                          CStringList* injProps, BOOL bDiffPair); // 168
    virtual void GetShownObjectNames(CString& names);             // 169
    virtual void GetSelectionAsList(CString& list);               // 170
    virtual void GetDeleteScriptCommand(CString& command);        // 171
    virtual void CrossSelectInHost();                             // 172
    virtual BOOL AreColumnsKnown(CStringArray* names);            // 173
    virtual CKXColumnInfoClass* GetColumnInfo(int col);           // 174
    virtual void GetColumnWidthTip();                             // 175
    // SelectRowsByKey that also sets named[i] for each key i that names a row here; a grid that cannot
    // tell its keys apart sets them all when it selected a row.
    virtual void SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn,
                                       std::vector<bool>& named);
    // A pull-up/pull-down on the selection: the open pins' connections (AddConnectionsForPupd), then
    // add, which answers whether it added one. A grid that can keeps both as one edit, so that a pull-up
    // refused or cancelled leaves the open pins open.
    virtual BOOL AddPupdOnOpenPins(BOOL bScript, BOOL bShort, const std::function<BOOL()>& add);
    // The row-number column (column 0) sized to the digits of the largest row number: the
    // first when the grid keeps a column descriptor for it, the second when it is shown.
    void ResizeRowHeaderColumn();
    virtual void FitRowHeaderColumn();
    // A column's width is the user's layout, no edit: a border dragged (OnEndTracking) or double-clicked
    // (FitColumnsToCells, the range's columns to its cells' text) makes no undo step, nor joins one.
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    void FitColumnsToCells(const CGXRange& range, UINT flags);

    // ---------------------------------------------------------------------
    // Undo hook.
    // ---------------------------------------------------------------------
    void AddCommand(CGXCommand* pCmd, GXCmdType ctType) override;
    // The library's own recording on this grid, without the redirection to the host.
    void AddUndoCommand(CGXCommand* pCmd, GXCmdType ctType);
    // Records the command in the undo sink of the grid's site (the pane's undo list), in the step
    // m_nTransState names, and joins the next command to that step; a grid without a site or
    // sink records it as AddCommand of this class does.
    void AddCommandToSiteUndo(CGXCommand* pCmd, GXCmdType ctType);

    // ---------------------------------------------------------------------
    // Library overrides: selection, keyboard, mouse, columns, activation.
    // ---------------------------------------------------------------------
    BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt = gxCopy,
                        int nType = 0) override;
    void SetSelection(POSITION pos, ROWCOL nTop = 0, ROWCOL nLeft = 0, ROWCOL nBottom = 0,
                      ROWCOL nRight = 0) override;
    // Deselects every row and removes the current cell, so that nothing of this grid counts as
    // selected any more (a selection query that may use the current cell finds none either).
    void DeselectAllRows();
    // A column the user sees and the current cell can reach: not the row header (column 0), not a
    // hidden column, not one of no width (a column the grid keeps but does not show).
    bool IsColumnShown(ROWCOL col);
    // The first and last such columns; 0 when the grid shows none.
    ROWCOL GetFirstVisibleColumn();
    ROWCOL GetLastVisibleColumn();
    // The column a current cell put in `col` takes: `col` when it is shown, else the first shown
    // column from the first data column on (0 when there is none).
    ROWCOL ShownColumnFor(ROWCOL col);
    // After a selection made by keys: the current cell goes to (row, col) when that row is selected,
    // else to the first selected row, in the shown column nearest `col`; the selection stays.
    void PlaceCurrentCellInSelection(ROWCOL row, ROWCOL col);
    // The grid has a current cell that the user (a click, a key, a script's select) put there, not
    // the first cell activation gives a grid the user has not been in.
    bool IsCellOfTheUser();
    // A data row is selected, or, with none selected, the current cell stands in one.
    bool HasSelectedDataRow();
    // A selected range covers the row (the current cell alone is no selection).
    bool IsRowInSelection(ROWCOL row);
    // The same, where a current cell counts only when the user put it there (IsCellOfTheUser).
    bool HasSelectionOfTheUser();
    // The rows a Swap Pins acts on: the selected rows when the user chose a pin (a cell activation
    // placed is no choice); with none chosen, none, and KXTABLE-488 says so.
    std::vector<ROWCOL> RowsToSwap();
    BOOL CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey) override;
    void OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey) override;
    BOOL OnStartSelection(ROWCOL nRow, ROWCOL nCol, UINT flags, CPoint point) override;
    BOOL OnLButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    void OnMovedCurrentCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_SCROLLINVIEW | GX_UPDATENOW) override;
    BOOL CanSelectCurrentCell(BOOL bSelect, ROWCOL dwSelectRow, ROWCOL dwSelectCol, ROWCOL dwOldRow,
                              ROWCOL dwOldCol) override;
    BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // Where Tab (Shift+Tab when backward) takes the current cell from (row, col); GX_INVALID when
    // the grid shows no data cell.
    std::pair<ROWCOL, ROWCOL> TabTarget(ROWCOL row, ROWCOL col, bool backward);
    BOOL OnTrackColWidth(ROWCOL nCol) override;
    BOOL OnHitHiddenCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    void OnActivateGrid(BOOL bActivate) override;
    // Raised while a script or journal call activates the grids (kxgrid::ScriptedActivation): the
    // grid keeps the current cell the script chose, wherever the mouse pointer rests.
    static int s_nScriptedActivation;
    BOOL CanCopy() override;
    BOOL CanCut() override;
    BOOL CanPaste() override;

    // Window messages.
    UINT OnGetDlgCode() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // The kind of the grid: a tag for the few operations that belong to one kind only.
    KXGridKind Kind() const { return m_kind; }

    // The grid's owner pane (or other window that holds it), reached through the site interface;
    // NULL outside a pane.
    IKXGridSite* Site() const { return m_pOwnerPane; }
    void SetSite(IKXGridSite* site) { m_pOwnerPane = site; }
    // The window was opened for looking only (a block in the context of its parent, open mode 2).
    bool IsReadOnlyWindow() const;
    // The one check every edit of the grid passes (its edit bracket, and any transaction begun for it):
    // false when the window may not edit, which is then said (KXTABLE-382, once in a call) and the
    // menu command that ran the edit answers 0.
    bool MayEdit() const;
    // The associated-components object of the owner pane, which every grid of the pane shares; NULL
    // outside a pane.
    CKXAssocCompAPI* GetBottomPaneView() const;

    // Rolls back the undo step an edit opened with the undo host (the edit failed): the host takes back
    // what the step's commands did to the grids and drops it.
    void RollBackUndoStep();
    // An edit of this grid that the design database refused at its commit: the cells the grid wrote
    // ahead of the commit show the design again (the design itself went back already).
    virtual void ShowDesignAfterRefusal() {}
    // A property column added to the grid kind's columns as the customise dialog adds it (entry
    // "KEY|Caption|8s|PINPROP|SHOW"), so that a replayed journal finds the column the session wrote
    // into: 1 added, 0 the kind has the column already, -1 refused (no entry, or a grid without one).
    virtual int AddPropertyColumn(const CString&) { return -1; }
    // Keeping the data rows as they are, and putting them back: a grid that writes a paste's lines into
    // its cells ahead of the commit keeps them first, so that a paste that does not commit (refused by
    // the design or by another grid of the pane) leaves the rows as they were. Only the rows the paste
    // changes are copied; a grid that writes nothing ahead of the commit keeps nothing.
    using KXKeptRows = std::unique_ptr<CGXRowKeep>;
    virtual KXKeptRows KeepDataRows() { return nullptr; }
    virtual void PutBackDataRows(KXKeptRows&) {}

    // Deselects every row and leaves no current cell: a command that acts on the selection or the
    // current cell then finds nothing to act on.
    virtual void ClearSelection();

    // The result of the cell edit that is being stored: a change the design refused is recorded with its
    // message, which the result shows; whoever typed reads it back (MSG_GRID_CELL_EDIT_RESULT).
    void RecordCellEdit(const KXEditResult& result);
    // The same for an edit begun at the mark (a dialog of it cancelled since is the edit's answer, 2).
    void RecordCellEdit(const KXEditResult& result, const KXShownMark& since);
    // A retype of the cell's own text (in any letter case) is no edit: the result says nothing changed
    // (KXTABLE-267), without a message to the user, who sees the cell as it was.
    void RecordUnchangedCellEdit();
    // Why the current cell takes no typing, when the grid can say (a refusal with its message); done
    // when it has no reason to give.
    virtual KXEditResult WhyCurrentCellTakesNoTyping() { return KXEditResult::Done(); }
    // What the selection lacks when Delete takes nothing off it, as every road to Delete names it (the
    // key, the menu, the pane's Delete, deleteConnection): what the current cell's column deletes.
    virtual const char* NothingToDeleteCause() { return KXCause::kNoConnection; }
    // Why the current cell takes nothing of the clipboard's (CanPaste is false), when the grid can say
    // more than that nothing copied goes there.
    virtual KXEditResult WhyNoPaste() { return KXEditResult::Nothing(KXCause::kNothingCopied); }
    // True when an empty text typed into a cell that shows none still takes something off.
    virtual bool EmptyTextChanges(ROWCOL /*row*/, ROWCOL /*col*/) { return false; }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Rows above this one are header rows; GX_INVALID when the grid has none.
    ROWCOL FirstDataRow() const { return m_nFirstDataRow; }

    // Grids side by side: the site's other grids sort the column the way this one just did. Their
    // sorts come back here while the hand-over runs and are not handed on again.
    void SortColumnsWithUndo(int col);
    static bool s_bSortingColumns; // while one grid hands its sort to the others
    bool m_bSortsAcrossGrids = false; // side by side: a sort of this grid sorts the pane's other grids
    static int s_nSortStepScopes;

public:
    bool SortsAcrossGrids() const { return m_bSortsAcrossGrids; }
    // While a sort runs whose undo step is recorded already (a header click, the sort menu, an undo or
    // redo of a sort): the sort word it hands to the host records none of its own.
    struct SortStepScope {
        SortStepScope() { ++s_nSortStepScopes; }
        ~SortStepScope() { --s_nSortStepScopes; }
        SortStepScope(const SortStepScope&) = delete;
        SortStepScope& operator=(const SortStepScope&) = delete;
    };
    static bool SortStepRecorded() { return s_nSortStepScopes > 0; }
    // The texts of the data rows, a line a row (its cells joined by tabs), in row order.
    std::vector<CString> DataRowTexts();
    // The undo of the first sort of a grid that was unsorted: the rows go back to the order they had
    // then (`order`, DataRowTexts before the sort); a row added since stays below the row above it.
    virtual void RestoreUnsortedOrder(const std::vector<CString>& order);

public:
    // The transaction state the undo history reads with each command (KXUndoStepMode, grid/KXGridEdit.h):
    // 1 an edit began the transaction (its first command opens a step), 0 the edit commits (the step
    // closes), -1 it is thrown away (the step goes), 2 a command was recorded (the next joins).
    int m_nTransState = 0;
    int m_bCommitting = 0;           // the grid commits its own edit (see CKXGridEdit)
    CDesignContext m_designContext;  // design of the grid's objects
    CDesignContext m_designContext2; // second (master) design for the grid kinds
    BOOL m_bSortAscending = TRUE;
    BOOL m_bUndoDisabled = FALSE; // set during multi-step edits; the pane disables Undo/Redo
    ROWCOL m_nFirstDataRow = GX_INVALID;
    ROWCOL m_nFirstDataCol = 0;
    ROWCOL m_nHeaderRow = GX_INVALID;       // row of the list-header cells with the sort arrows
    int m_nSortCol = -1;                    // -1: unsorted
    std::set<UINT> m_excludedCommands;      // removed from the context menu
    CKXListHeader* m_pListHeader = nullptr; // registered control, owned by the grid core
    CKXStylesMap* m_pStylesMap = nullptr;   // owned
    CGXScrollTip m_scrollTip;
    ROWCOL m_nSavedRow = GX_INVALID; // current cell kept while the grid is inactive
    ROWCOL m_nSavedCol = GX_INVALID;
    // The current cell was removed on purpose: activating the grid gives it none back.
    bool m_bNoCellToRestore = false;
    bool m_bPlacedCell = false; // the current cell is where activation put it, not where the user did
    BOOL m_bCellControlClick = FALSE;        // clicks on cells with a control go to OnCellControlClick
    BOOL m_bKeepSelection = FALSE;           // the click went to a cell control: keep the selection
    BOOL m_bKeySelectionSync = FALSE;        // keyboard navigation cross-selects and notifies the viewers
    BOOL m_bMouseDown = FALSE;               // a left press inside the grid awaits its release
    BOOL m_bKeyDown = FALSE;                 // a key press awaits its release (key-selection sync on)
    BOOL m_bKeySelectionChanged = FALSE;     // the pending key press selected the current cell
    BOOL m_bShowRowNumbers = FALSE;          // registry "show_row_numbers"
    CCommonInterface* m_pUndoHost = nullptr; // records this grid's undo commands, or NULL

    // Members the grid kinds share.
    int m_bMultipleObjects = 0; // the pin grid shows several instances at once
    int m_bMultipleNets = 0;    // the signal or physical net grid shows several nets
    int m_bObjectLoaded = 0;    // a physical grid shows more than one object
    int m_bEditing = 0;         // a cell edit is running
    int m_bEditTransOpen = 0;   // a cell edit of a physical grid runs in a grid transaction

    // ---- the selection published to the host's docked windows
    // Whether the host shows one of its docked windows ("PROPERTYEDITOR", "ASSOCCOMPVIEWER").
    static bool IsDockShown(const char* which);
    // Hands the records to the associated-component viewer; nothing happens when there are none.
    void PublishToAssocViewer(CKXAssocCompArray& records);

protected:
    // True when the row is a data row (the grid has header rows above it).
    bool IsDataRow(ROWCOL row) const;
    // The first data row, or 1 for a grid without header rows.
    ROWCOL DataRowStart() const;
    // The width that fits the largest row number, and whether the row-number column is shown.
    int RowHeaderWidth();
    bool IsRowHeaderShown();
    // The rows the selection covers (with the current cell's row when nothing is selected), in
    // ascending order.
    std::vector<ROWCOL> SelectedRowNumbers();
    // The name of the top design of the hierarchy the grid's design is placed in (the grid's own
    // design when it is placed nowhere); empty for a grid without a design.
    CString TopDesignName() const;
    // The text goes into the cell as if the user had typed it and left the cell: true when the
    // grid took it; a refused text leaves the cell its stored value.
    bool TypeIntoCell(ROWCOL row, ROWCOL col, const CString& text);

private:
    const KXGridKind m_kind = KXGridKind::None;
    std::optional<KXEditResult> m_cellEdit; // the last cell edit's result, when one was recorded
    IKXGridSite* m_pOwnerPane = nullptr;

    // Text, enabled and shown state of columns 1 .. column count for the column submenus.
    std::vector<kxmenu::ColumnEntry> ColumnMenuEntries();
    // Records a sort undo command with the state before the sort, then sorts.
    void SortWithUndo(int col);
};

namespace kxgrid {

// Marks the grid activations of its lifetime as made by a script or journal call, not by the user's
// click: an activated grid keeps its current cell (CKXGridWnd::s_nScriptedActivation).
class ScriptedActivation {
public:
    ScriptedActivation() { ++CKXGridWnd::s_nScriptedActivation; }
    ~ScriptedActivation() { --CKXGridWnd::s_nScriptedActivation; }
    ScriptedActivation(const ScriptedActivation&) = delete;
    ScriptedActivation& operator=(const ScriptedActivation&) = delete;
};

} // namespace kxgrid
