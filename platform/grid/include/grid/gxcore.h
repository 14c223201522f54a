// The grid core: rows, columns, styles, selection, current cell, editing, input events and undo.
#pragma once

#include "grid/gxcontrol.h"
#include "grid/gxparam.h"
#include "grid/gxrange.h"
#include "grid/gxstyle.h"

#include "afx/afxwin.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CGXNoToolTipCtrlProxy;

// The values of data cells that a grid does not store: a list that keeps its rows' texts itself gives
// them when a cell is drawn or read, so that filling the list writes no cell. A value stored in the
// cell wins over the source's.
class CGXRowSource {
public:
    virtual ~CGXRowSource() = default;
    // The value of the cell at nRow, nCol (both from 1); false when the source has none for it.
    virtual bool GetRowValue(ROWCOL nRow, ROWCOL nCol, CString& value) const = 0;
};

// Geometry is deterministic: rows and columns have pixel sizes (defaults below, scaled by the zoom),
// the visible area is GetGridRect(); frozen rows/columns stay at the top/left and the rest scrolls
// from the top row / left column on. Text is measured at GX_CHAR_WIDTH pixels per character.
inline constexpr int GX_DEFAULT_ROW_HEIGHT = 19;
inline constexpr int GX_DEFAULT_COL_WIDTH = 64;
inline constexpr int GX_CHAR_WIDTH = 8;
inline constexpr int GX_EDGE_TOLERANCE = 3; // pixels around a header edge that start tracking

class CGXGridCore {
public:
    CGXGridCore();
    virtual ~CGXGridCore();
    CGXGridCore(const CGXGridCore&) = delete;
    CGXGridCore& operator=(const CGXGridCore&) = delete;

    // ------------------------------------------------------------------ set-up
    // Creates a parameter object when there is none, the standard styles and the library's controls.
    virtual void OnGridInitialUpdate();
    virtual void Initialize() { OnGridInitialUpdate(); }
    BOOL IsInitialized() const { return m_bInitDone; }
    CGXGridParam* GetParam() const { return m_pParam; }
    // Hands a parameter object to the grid; with bMustDelete the grid deletes it.
    void SetParam(CGXGridParam* pParam, BOOL bMustDelete = TRUE);
    CGXStylesMap* GetStylesMap() const { return m_pParam ? m_pParam->GetStylesMap() : nullptr; }
    CGXData* GetData() const { return m_pParam ? m_pParam->GetData() : nullptr; }
    // The window that shows the grid (the grid window itself; null for a bare core).
    virtual CWnd* GridWnd() { return nullptr; }

    // Kept as state (nothing is drawn).
    void EnableGridToolTips(BOOL b = TRUE) { m_bGridToolTips = b; }
    BOOL IsGridToolTipsEnabled() const { return m_bGridToolTips; }
    void EnableCellTips(CRuntimeClass* pFactoryClass = nullptr, UINT nFlags1 = 0, UINT nFlags2 = 0, UINT nDelay = 500);
    BOOL IsCellTipsEnabled() const { return m_bCellTips; }
    CRuntimeClass* GetCellTipFactoryClass() const { return m_pCellTipFactory; }
    UINT GetCellTipDelay() const { return m_nCellTipDelay; }
    void EnableIntelliMouse(BOOL b = TRUE) { m_bIntelliMouse = b; }
    BOOL IsIntelliMouseEnabled() const { return m_bIntelliMouse; }
    // The tool-tip proxy; owned by the grid.
    void SetToolTipProxy(CGXNoToolTipCtrlProxy* pProxy);
    CGXNoToolTipCtrlProxy* GetToolTipProxy() const { return m_pToolTipProxy.get(); }
    void SetScrollBarMode(int nBar, int nSetting, BOOL bRedraw = TRUE);
    int GetScrollBarMode(int nBar) const;
    void SetMergeCellsMode(int nMode, BOOL bRedraw = TRUE);
    int GetMergeCellsMode() const { return m_nMergeCellsMode; }
    void SetZoom(int nZoom, UINT flags = GX_UPDATENOW); // percent, 10..400
    int GetZoom() const { return m_nZoom; }
    // Library state switches some grids set; kept, not interpreted.
    void SetAccelArrowKey(BOOL b) { m_bAccelArrowKey = b; }
    void SetAccelScrollbars(BOOL b) { m_bAccelScrollbars = b; }
    void SetFocusOnKillFocus(int n) { m_nFocusState = n; }
    int GetFocusOnKillFocus() const { return m_nFocusState; }

    // Base styles of the styles map (usable after initialisation).
    BOOL ChangeStandardStyle(const CGXStyle& style, GXModifyType mt = gxOverride, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL ChangeRowHeaderStyle(const CGXStyle& style, GXModifyType mt = gxOverride, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL ChangeColHeaderStyle(const CGXStyle& style, GXModifyType mt = gxOverride, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL ChangeBaseStyle(WORD wStyleId, const CGXStyle& style, GXModifyType mt = gxOverride, UINT flags = GX_UPDATENOW);
    const CGXStyle* GetBaseStyle(WORD wStyleId) const;

    // ------------------------------------------------------------------ rows and columns
    virtual ROWCOL GetRowCount();
    virtual ROWCOL GetColCount();
    BOOL SetRowCount(ROWCOL nRows, UINT flags = GX_UPDATENOW);
    BOOL SetColCount(ROWCOL nCols, UINT flags = GX_UPDATENOW);
    BOOL InsertRows(ROWCOL nRow, ROWCOL nCount, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL RemoveRows(ROWCOL nFromRow, ROWCOL nToRow, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // A copy of rows nFromRow..nToRow (their cells, row styles, heights and hidden state), empty for a
    // range the grid does not hold. PutBackRows replaces rows nFromRow..the last by such a copy, so that
    // what an edit wrote ahead of its refusal is taken back whole.
    std::vector<std::unique_ptr<CGXData::RowRecord>> CopyRows(ROWCOL nFromRow, ROWCOL nToRow) const;
    BOOL PutBackRows(ROWCOL nFromRow, std::vector<std::unique_ptr<CGXData::RowRecord>>& rows,
                     UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // Keeps what the rows are from here on, copying only the rows that change (CGXData::BeginKeepRows):
    // PutBackKeptRows gives them back as they were at the mark KeepRows answered, EndKeepRows ends the
    // keep. CGXRowKeep below holds one keep for a scope.
    size_t KeepRows();
    BOOL PutBackKeptRows(size_t nMark, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    void EndKeepRows();
    BOOL InsertCols(ROWCOL nCol, ROWCOL nCount, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL RemoveCols(ROWCOL nFromCol, ROWCOL nToCol, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // Moves the block so that it starts at nDestRow afterwards.
    BOOL MoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL MoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol, UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // Puts rows nFirstRow .. nFirstRow+n-1 into a new order: newOrder[i] is the offset (from nFirstRow) of
    // the row that goes to place i. Styles, height and hidden state move with each row; the current cell
    // follows its row; the selection is cleared; no undo is recorded. FALSE (and nothing changes) when
    // newOrder is not a permutation of 0..n-1 or the block leaves the grid.
    BOOL ReorderRows(ROWCOL nFirstRow, const std::vector<ROWCOL>& newOrder, UINT flags = GX_UPDATENOW);
    // Stable sort of rows nFirstRow..nLastRow by a comparison of row numbers, or by the text of a key
    // column (ignoring case; numbers compare as numbers when both texts are numbers).
    BOOL SortRows(ROWCOL nFirstRow, ROWCOL nLastRow, const std::function<bool(ROWCOL, ROWCOL)>& less, UINT flags = GX_UPDATENOW);
    BOOL SortRows(ROWCOL nFirstRow, ROWCOL nLastRow, ROWCOL nKeyCol, BOOL bAscending = TRUE, UINT flags = GX_UPDATENOW);

    // Hiding. abHideArray, when given, holds one state per row of the range and wins over bHide.
    virtual BOOL HideRows(ROWCOL nFromRow, ROWCOL nToRow, BOOL bHide = TRUE, BOOL* abHideArray = nullptr,
                  UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    virtual BOOL HideCols(ROWCOL nFromCol, ROWCOL nToCol, BOOL bHide = TRUE, BOOL* abHideArray = nullptr,
                  UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    virtual BOOL IsRowHidden(ROWCOL nRow);
    virtual BOOL IsColHidden(ROWCOL nCol);

    // Sizes in pixels at 100% zoom. anArray, when given, holds one size per row/column of the range.
    BOOL SetRowHeight(ROWCOL nFromRow, ROWCOL nToRow, int nHeight, int* anHeightArray = nullptr,
                      UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL SetColWidth(ROWCOL nFromCol, ROWCOL nToCol, int nWidth, int* anWidthArray = nullptr,
                     UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // Displayed sizes: 0 for a hidden row/column; scaled by the zoom.
    virtual int GetRowHeight(ROWCOL nRow);
    virtual int GetColWidth(ROWCOL nCol);
    void SetDefaultRowHeight(int n) { m_nDefaultRowHeight = n > 0 ? n : GX_DEFAULT_ROW_HEIGHT; }
    void SetDefaultColWidth(int n) { m_nDefaultColWidth = n > 0 ? n : GX_DEFAULT_COL_WIDTH; }
    int GetDefaultRowHeight() const { return m_nDefaultRowHeight; }
    int GetDefaultColWidth() const { return m_nDefaultColWidth; }
    // Fits the widths of the range's columns to the widest text in the range (covered cells spread
    // their text over their columns); without bCanShrink widths only grow.
    BOOL ResizeColWidthsToFit(const CGXRange& range, BOOL bCanShrink = TRUE, UINT nFlags = GX_UPDATENOW);
    BOOL ResizeRowHeightsToFit(const CGXRange& range, BOOL bCanShrink = TRUE, UINT nFlags = GX_UPDATENOW);
    // Logical units: 1000 per average character.
    int Width_LPtoDP(int nLP) const;
    int Width_DPtoLP(int nDP) const;
    int Height_LPtoDP(int nLP) const;
    int Height_DPtoLP(int nDP) const;
    int GetTextWidth(LPCTSTR text) const; // pixels at the current zoom

    // Covered cells: one range shows as one cell. A new range replaces the covered ranges it overlaps;
    // a single-cell range only removes the covering of that cell.
    BOOL SetCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT flags = GX_UPDATENOW,
                               GXCmdType ctCmd = gxDo);
    // The covered range holding the cell (&range), or null when the cell is not covered.
    CGXRange* GetCoveredCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range);

    // Frozen rows/columns after row/column 0; of those, the first nHeaderRows are header rows.
    BOOL SetFrozenRows(ROWCOL nFrozenRows, ROWCOL nHeaderRows = 0, UINT flags = GX_UPDATENOW);
    BOOL SetFrozenCols(ROWCOL nFrozenCols, ROWCOL nHeaderCols = 0, UINT flags = GX_UPDATENOW);
    ROWCOL GetFrozenRows() const { return m_nFrozenRows; }
    ROWCOL GetHeaderRows() const { return m_nHeaderRows; }
    ROWCOL GetFrozenCols() const { return m_nFrozenCols; }
    ROWCOL GetHeaderCols() const { return m_nHeaderCols; }

    // Scrolling.
    BOOL SetTopRow(ROWCOL nRow, UINT flags = GX_UPDATENOW, BOOL bUpdateScrollbar = TRUE);
    ROWCOL GetTopRow() const { return m_nTopRow; }
    BOOL SetLeftCol(ROWCOL nCol, UINT flags = GX_UPDATENOW, BOOL bUpdateScrollbar = TRUE);
    ROWCOL GetLeftCol() const { return m_nLeftCol; }
    virtual void OnTopRowChanged() {}
    virtual void OnLeftColChanged() {}
    BOOL ScrollCellInView(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_UPDATENOW);
    ROWCOL GetLastVisibleRow();
    ROWCOL GetLastVisibleCol();

    // Drawing is counted, not done.
    BOOL LockUpdate(BOOL bLock = TRUE); // returns the previous state
    BOOL IsLockUpdate() const { return m_bLockUpdate; }
    void Redraw(UINT flags = GX_INVALIDATE, BOOL bCreateHint = TRUE);
    void RedrawRowCol(const CGXRange& range, UINT flags = GX_INVALIDATE, BOOL bCreateHint = TRUE);
    void RedrawRowCol(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_INVALIDATE, BOOL bCreateHint = TRUE);
    int GetRedrawCount() const { return m_nRedrawCount; }

    // ------------------------------------------------------------------ styles
    // Writes the style into every cell of the range (whole rows/columns/table: into their own style).
    // A cell that reads read-only is left unchanged while the read-only lock is on, and the call then
    // returns FALSE; the other cells are written.
    BOOL SetStyleRange(const CGXRange& range, const CGXStyle& style, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL SetStyleRange(const CGXRange& range, const CGXStyle* pStyle, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    // The write of a grid filling its rows, in one step: style into a cell that holds nothing yet, as
    // SetStyleRange(CGXRange(nRow, nCol), style, gxOverride, 0, flags) writes it when undo records
    // nothing and read-only cells are not locked, but without the grid's StoreStyleRowCol override (a
    // grid that has one does its part itself). FALSE, having changed nothing, when the write is not
    // such a write (the cell is stored already, the style is empty, undo would record it, ...): the
    // caller then writes the general way.
    BOOL StoreFreshCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, UINT flags = GX_UPDATENOW);
    BOOL SetValueRange(const CGXRange& range, LPCTSTR pszValue, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL SetValueRange(const CGXRange& range, double value, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL SetValueRange(const CGXRange& range, long value, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo);
    BOOL SetValueRange(const CGXRange& range, int value, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo)
    {
        return SetValueRange(range, static_cast<long>(value), mt, nType, flags, ctCmd);
    }
    BOOL SetValueRange(const CGXRange& range, DWORD value, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo)
    {
        return SetValueRange(range, static_cast<double>(value), mt, nType, flags, ctCmd);
    }
    BOOL SetValueRange(const CGXRange& range, const CString& value, GXModifyType mt = gxOverride, int nType = 0,
                       UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo)
    {
        return SetValueRange(range, value.GetString(), mt, nType, flags, ctCmd);
    }
    // The stored style of a cell merged into style. nType -1 addresses the whole-row style at (row, 0),
    // the whole-column style at (0, col) and the table style at (0, 0). Grids override this to supply
    // values on the fly; the override must call the base for the stored part.
    virtual BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt = gxCopy, int nType = 0);
    virtual BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt = gxOverride,
                                  int nType = 0);
    // The source of the values of cells the grid does not store (not owned; null: none).
    void SetRowSource(const CGXRowSource* pSource) { m_pRowSource = pSource; }
    const CGXRowSource* GetRowSource() const { return m_pRowSource; }
    // The full style of a cell: cell, row, column and table styles, then the base styles, ending at
    // the standard style (header cells use the row/column header style unless they name a base style).
    void ComposeStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle* pStyle, BOOL bApplyStandard = TRUE);
    const CGXStyle& LookupStyleRowCol(ROWCOL nRow, ROWCOL nCol);
    const CString& GetValueRowCol(ROWCOL nRow, ROWCOL nCol);
    CGXStyle* CreateStyle() { return new CGXStyle; }
    void RecycleStyle(CGXStyle* pStyle) { delete pStyle; }
    // Whether the cell reads read-only (stored styles and base styles; cheap, composes nothing else).
    BOOL IsCellReadOnly(ROWCOL nRow, ROWCOL nCol);
    // The style that gives the composed style of a cell what `has` asks for: the first of the stored
    // styles that ComposeStyleRowCol applies (the cell's, its row's, its column's and the table's
    // style, then the base styles and the standard style) for which `has` holds; null when none does.
    // Reads the stored styles in place: a grid's GetStyleRowCol override is not asked.
    const CGXStyle* FindComposedStyle(ROWCOL nRow, ROWCOL nCol,
                                      const std::function<bool(const CGXStyle&)>& has) const;

    // ------------------------------------------------------------------ controls
    // Registers a control under an id; the grid owns it from then on. A control registered before under
    // the same id is deleted (unless it is the same object).
    void RegisterControl(WORD nID, CGXControl* pControl, BOOL bDefault = FALSE, BOOL bShared = TRUE);
    CGXControl* GetRegisteredControl(WORD nID) const;
    // The control of a cell: the registered control of its composed style's control id, else the
    // library's edit control (header cells: the header control).
    virtual CGXControl* GetControl(ROWCOL nRow, ROWCOL nCol);
    // The current cell's control, bound to the current cell; null without a current cell.
    CGXControl* GetCurrentCellControl();

    // ------------------------------------------------------------------ current cell and editing
    // Moves the current cell (GX_INVALID, GX_INVALID removes it). An active edit is stored first; a
    // refused validation keeps the current cell where it is and returns FALSE.
    virtual BOOL SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_SCROLLINVIEW | GX_UPDATENOW);
    BOOL GetCurrentCell(ROWCOL& nRow, ROWCOL& nCol) const;
    BOOL GetCurrentCell(ROWCOL* pRow, ROWCOL* pCol) const;
    BOOL IsCurrentCell(ROWCOL nRow = GX_INVALID, ROWCOL nCol = GX_INVALID) const;
    // Moves by direction (GX_UP .. GX_BOTTOMRIGHT), skipping hidden rows/columns and the header area.
    BOOL MoveCurrentCell(int direction, UINT nCell = 1, BOOL bCanSelectRange = TRUE);
    // Save: validates and stores an active edit (FALSE when validation refuses). Not save: drops the edit
    // and reloads the cell's value into the control.
    BOOL TransferCurrentCell(BOOL bSaveAndValidate = TRUE, UINT flags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual BOOL CanSelectCurrentCell(BOOL bSelect, ROWCOL dwSelectRow, ROWCOL dwSelectCol, ROWCOL dwOldRow, ROWCOL dwOldCol);
    virtual void OnMovedCurrentCell(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnLeftCell(ROWCOL nRow, ROWCOL nCol, ROWCOL nNewRow, ROWCOL nNewCol);
    virtual BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol);
    virtual void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol);
    // Delete key on a cell: default clears the value of each selected cell (or the current cell) that
    // is not read-only; TRUE when handled.
    virtual BOOL OnDeleteCell(ROWCOL nRow, ROWCOL nCol);
    void SetWarningText(LPCTSTR text) { m_sWarningText = text; }
    const CString& GetWarningText() const { return m_sWarningText; }

    // ------------------------------------------------------------------ selection
    BOOL SelectRange(const CGXRange& range, BOOL bSelect = TRUE, BOOL bUpdate = TRUE);
    // pos null: clears the selection. Otherwise sets the range at pos to the given bounds (keeping its
    // kind), or removes it when all four bounds are 0. Every range the grid stores while the user selects
    // (drag, Shift, Ctrl, header click) passes through here, so a grid can adjust the bounds and call
    // the base to store them.
    virtual void SetSelection(POSITION pos, ROWCOL nTop = 0, ROWCOL nLeft = 0, ROWCOL nBottom = 0, ROWCOL nRight = 0);
    virtual BOOL CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey);
    virtual void OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey);
    // May a mouse selection start at this cell? (default TRUE)
    virtual BOOL OnStartSelection(ROWCOL nRow, ROWCOL nCol, UINT flags, CPoint point);
    // Rows of the selection in ascending order (each once). With bRangeRowsOnly only whole-row ranges
    // count; with bCanUseCurrentCell the current cell's row counts when nothing is selected.
    ROWCOL GetSelectedRows(CRowColArray& awRows, BOOL bRangeRowsOnly = FALSE, BOOL bCanUseCurrentCell = TRUE);
    // The same as blocks of consecutive rows.
    BOOL GetSelectedRows(CRowColArray& awRowStart, CRowColArray& awRowEnd, BOOL bRangeRowsOnly = FALSE,
                         BOOL bCanUseCurrentCell = TRUE);
    ROWCOL GetSelectedCols(CRowColArray& awCols, BOOL bRangeColsOnly = FALSE, BOOL bCanUseCurrentCell = TRUE);
    // Copies the selection (or the current cell when nothing is selected and bCanUseCurrentCell).
    BOOL CopyRangeList(CGXRangeList& list, BOOL bCanUseCurrentCell);
    BOOL IsCellSelected(ROWCOL nRow, ROWCOL nCol) const;
    void UpdateSelectRange(const CGXRange& range, const CGXRangeList* pOldRangeList = nullptr, BOOL bCreateHint = TRUE);

    // ------------------------------------------------------------------ geometry and input
    // The visible area in client coordinates.
    virtual CRect GetGridRect();
    void SetGridRect(const CRect& rect) { m_rectGrid = rect; }
    // GX_CELLHIT, GX_HEADERHIT (row or column of the header area), GX_VERTLINE (near a column edge in
    // the header rows), GX_NOHIT.
    virtual int HitTest(CPoint pt, ROWCOL* pRow = nullptr, ROWCOL* pCol = nullptr, CRect* pRectHit = nullptr);
    // The cell's rectangle (a covered cell: the whole covered area); empty when not visible.
    CRect CalcRectFromRowCol(ROWCOL nRow, ROWCOL nCol);
    CRect CalcRectFromRowColEx(ROWCOL nRow, ROWCOL nCol);

    virtual BOOL OnLButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnClickedButtonRowCol(ROWCOL nRow, ROWCOL nCol);
    // Asked when a press lands on a column edge in the header: TRUE when the edge belongs to a hidden
    // column, so that the press neither tracks nor selects (default: whether the column is hidden).
    virtual BOOL OnHitHiddenCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);

    // Column tracking: a press on a column edge asks OnTrackColWidth(col) and then
    // OnStartTracking(row, col, GX_TRACKWIDTH); each mouse move calls OnTrackColWidthMove(col, width);
    // the release calls OnEndTracking(row, col, GX_TRACKWIDTH, size) whose base applies size.cx as the
    // column's new width (a hidden column dragged open is shown again).
    virtual BOOL OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode);
    virtual BOOL OnTrackColWidth(ROWCOL nCol);
    virtual BOOL OnTrackColWidthMove(ROWCOL nCol, int nWidth);
    virtual void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size);
    virtual BOOL OnTrackRowHeight(ROWCOL nRow);
    BOOL IsTracking() const { return m_nTrackCol != GX_INVALID; }

    // Mouse and keyboard entry points; the grid window forwards its messages here.
    BOOL DoLButtonDown(UINT nFlags, CPoint pt);
    BOOL DoMouseMove(UINT nFlags, CPoint pt);
    BOOL DoLButtonUp(UINT nFlags, CPoint pt);
    BOOL DoLButtonDblClk(UINT nFlags, CPoint pt);
    BOOL DoRButtonDown(UINT nFlags, CPoint pt);
    BOOL DoRButtonUp(UINT nFlags, CPoint pt);
    // Keys: WM_KEYDOWN goes to OnGridKeyDown, WM_CHAR to OnGridChar, WM_KEYUP to OnGridKeyUp.
    virtual BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0);
    virtual BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnActivateGrid(BOOL bActivate);
    BOOL IsActiveGrid() const { return m_bActive; }
    // The keyboard focus goes to another window while the current cell's list is down: the list goes up
    // as a list does that loses the focus (GX_LIST_CANCELLED, GX_LIST_CANCEL_FOCUS_LOST), storing nothing.
    void CancelDroppedList();

    virtual BOOL CanCopy();
    virtual BOOL CanCut();
    virtual BOOL CanPaste();

    // ------------------------------------------------------------------ undo
    // Records a command (gxDo: undo list, redo list emptied; gxUndo: redo list; gxRedo: undo list;
    // gxRollback: dropped). With undo off the command is deleted. Inside a transaction gxDo commands
    // join the transaction's group. The grid owns the command from the call on.
    virtual void AddCommand(CGXCommand* pCmd, GXCmdType ctCmd);
    // Runs the most recent command of the undo (redo) list. The command leaves its list whatever it
    // returns and is deleted; what it recorded while running stays recorded (so a command that returns
    // FALSE but recorded its opposite can still be redone). Returns the command's result, FALSE when the
    // list is empty.
    BOOL Undo();
    BOOL Redo();
    BOOL CanUndo();
    BOOL CanRedo();
    // Groups the following commands into one undo step. Transactions nest; the outermost commit records
    // the group (nothing when it is empty); Rollback undoes the commands of the innermost open group.
    void BeginTrans(LPCTSTR pszDescription);
    void CommitTrans();
    void Rollback();
    int GetTransDepth() const { return static_cast<int>(m_transStack.size()); }

    // ------------------------------------------------------------------ checks
    // Row/column counts, hidden sets, covered ranges, frozen rows, current cell and selection agree.
    BOOL CheckConsistency(CString& reason);

protected:
    // Helpers for the window and for derived grids.
    BOOL IsCtrlKeyDown() const;
    BOOL IsShiftKeyDown() const;
    BOOL IsAltKeyDown() const;
    void NotifyRecordInfo();
    void MarkRedraw(UINT flags);
    ROWCOL NextVisibleRow(ROWCOL nRow, int step, ROWCOL nMin, ROWCOL nMax);
    ROWCOL NextVisibleCol(ROWCOL nCol, int step, ROWCOL nMin, ROWCOL nMax);
    ROWCOL FirstMovableRow() const { return m_nHeaderRows + 1; }
    ROWCOL FirstMovableCol() const { return m_nHeaderCols + 1; }

    CGXGridParam* m_pParam = nullptr;
    std::unique_ptr<CGXGridParam> m_ownedParam;
    ROWCOL m_nCurrentRow = GX_INVALID;
    ROWCOL m_nCurrentCol = GX_INVALID;
    ROWCOL m_nAnchorRow = GX_INVALID; // start of a shift/drag selection
    ROWCOL m_nAnchorCol = GX_INVALID;

private:
    friend class CGXControl;
    friend struct CGXGridCoreAccess;
    BOOL RecordWanted(GXCmdType ctCmd) const;
    BOOL StoreOneCell(const CGXRange& cell, const CGXStyle* pStyle, GXModifyType mt, int nType, UINT flags);
    // What follows every write of cells: the current cell's control shows the new value, the grid redraws.
    inline void CellsWritten(const CGXRange& range, UINT flags); // gxcore.cpp only
    BOOL RestoreRemovedRows(ROWCOL nRow, std::vector<std::unique_ptr<CGXData::RowRecord>>& rows, GXCmdType ctCmd);
    BOOL RestoreCovered(const CGXRangeList& list, GXCmdType ctCmd);
    BOOL RestoreRemovedCols(ROWCOL nCol, std::vector<std::unique_ptr<CGXData::ColRecord>>& cols, GXCmdType ctCmd);
    void RemapRows(const std::function<ROWCOL(ROWCOL)>& map, ROWCOL nFirst, ROWCOL nLast);
    void ReplaceOrAddSelRange(const CGXRange& range);
    void AddNewSelRange(const CGXRange& range);
    BOOL MoveCurrentCellTo(ROWCOL row, ROWCOL col, BOOL bCanSelectRange);
    // The steps of a left button press (DoLButtonDown).
    void StartColTracking(ROWCOL r, ROWCOL c, int x);
    BOOL PressCurrentCellChild(ROWCOL r, ROWCOL c, UINT nFlags, CPoint pt, int hit);
    void ClickHeader(ROWCOL r, ROWCOL c, BOOL ctrlKey);
    void ClickCell(ROWCOL r, ROWCOL c, UINT nFlags, CPoint pt, BOOL ctrlKey);
    // Offers the range to CanChangeSelection; when allowed, grows or adds it and reports the change.
    BOOL ChangeSelRange(CGXRange& range, BOOL bIsDragging, BOOL bKey);
    CGXControl* m_pCurrentControl = nullptr; // the control bound to the current cell
    CGXRange m_selRange;                      // the range a drag or Shift+arrow is growing
    BOOL m_bHasSelRange = FALSE;
    CGXChild* m_pPressedChild = nullptr;
    void ApplyBaseStyles(ROWCOL nRow, ROWCOL nCol, CGXStyle& style);
    // Merges the row source's value of a cell that stores none into style, as a stored value would be.
    BOOL ApplyRowSource(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt) const;
    BOOL StoreCellChecked(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt, int nType,
                          class CGXSetStyleCmd* pUndo);
    void AdjustAfterRowsInserted(ROWCOL nRow, ROWCOL nCount);
    void AdjustAfterRowsRemoved(ROWCOL nFrom, ROWCOL nTo);
    void AdjustAfterColsInserted(ROWCOL nCol, ROWCOL nCount);
    void AdjustAfterColsRemoved(ROWCOL nFrom, ROWCOL nTo);
    void ClampState();
    int RowTop(ROWCOL nRow);
    int ColLeft(ROWCOL nCol);
    BOOL RowFromY(int y, ROWCOL& nRow);
    BOOL ColFromX(int x, ROWCOL& nCol);
    BOOL RunCommand(CGXCommandList* pList, GXCmdType ctType);
    void ClearEditState();

    std::map<WORD, CGXControl*> m_controls;
    std::vector<std::unique_ptr<CGXControl>> m_ownedControls;
    std::unique_ptr<CGXNoToolTipCtrlProxy> m_pToolTipProxy;
    std::vector<std::unique_ptr<class CGXBlockCmd>> m_transStack;
    class CGXBlockCmd* m_pCapture = nullptr; // collects what commands record while Undo/Redo run
    CGXStyle m_lookupStyle;
    const CGXRowSource* m_pRowSource = nullptr;
    CString m_sWarningText;
    CRect m_rectGrid{0, 0, 640, 480};
    CRuntimeClass* m_pCellTipFactory = nullptr;
    ROWCOL m_nFrozenRows = 0, m_nHeaderRows = 0, m_nFrozenCols = 0, m_nHeaderCols = 0;
    ROWCOL m_nTopRow = 1, m_nLeftCol = 1;
    ROWCOL m_nTrackCol = GX_INVALID;
    ROWCOL m_nDownRow = GX_INVALID, m_nDownCol = GX_INVALID; // cell of the pending left press
    ROWCOL m_nRDownRow = GX_INVALID, m_nRDownCol = GX_INVALID;
    ROWCOL m_nTrackRow = GX_INVALID;
    int m_nTrackStartX = 0, m_nTrackStartWidth = 0, m_nTrackWidth = 0;
    int m_nDefaultRowHeight = GX_DEFAULT_ROW_HEIGHT;
    int m_nDefaultColWidth = GX_DEFAULT_COL_WIDTH;
    int m_nZoom = 100;
    int m_nMergeCellsMode = 0;
    int m_nScrollBarMode[2] = {3, 3};
    int m_nRedrawCount = 0;
    int m_nFocusState = 0;
    UINT m_nCellTipFlags1 = 0, m_nCellTipFlags2 = 0, m_nCellTipDelay = 500;
    BOOL m_bInitDone = FALSE;
    BOOL m_bGridToolTips = FALSE;
    BOOL m_bCellTips = FALSE;
    BOOL m_bIntelliMouse = FALSE;
    BOOL m_bAccelArrowKey = FALSE;
    BOOL m_bAccelScrollbars = FALSE;
    BOOL m_bLockUpdate = FALSE;
    BOOL m_bActive = FALSE;
    BOOL m_bSelDragging = FALSE;
    BOOL m_bInTransfer = FALSE;
};

// One keep of a grid's rows for a scope: what an edit writes into the rows ahead of its commit is
// taken back by PutBack when the edit is refused; the keep ends with the scope either way.
class CGXRowKeep {
public:
    explicit CGXRowKeep(CGXGridCore& grid) : m_grid(&grid), m_nMark(grid.KeepRows()) {}
    ~CGXRowKeep() { if (m_grid) m_grid->EndKeepRows(); }
    CGXRowKeep(const CGXRowKeep&) = delete;
    CGXRowKeep& operator=(const CGXRowKeep&) = delete;
    BOOL PutBack(UINT flags = GX_UPDATENOW) { return m_grid->PutBackKeptRows(m_nMark, flags); }

private:
    CGXGridCore* m_grid;
    size_t m_nMark;
};
