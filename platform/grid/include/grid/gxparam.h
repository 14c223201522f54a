// The grid's parameter object: settings, styles map, cell data, selection, covered cells and undo lists.
#pragma once

#include "grid/gxcommand.h"
#include "grid/gxdata.h"
#include "grid/gxrange.h"
#include "grid/gxstylesmap.h"

#include <map>
#include <memory>

// Display properties (colours by index and a few switches).
class CGXProperties {
public:
    void SetColor(int nIndex, COLORREF color) { m_colors[nIndex] = color; }
    COLORREF GetColor(int nIndex) const
    {
        auto it = m_colors.find(nIndex);
        return it == m_colors.end() ? RGB(0, 0, 0) : it->second;
    }
    BOOL HasColor(int nIndex) const { return m_colors.count(nIndex) != 0; }
    void SetDisplayHorzLines(BOOL b) { m_bHorzLines = b; }
    void SetDisplayVertLines(BOOL b) { m_bVertLines = b; }
    BOOL GetDisplayHorzLines() const { return m_bHorzLines; }
    BOOL GetDisplayVertLines() const { return m_bVertLines; }
    void SetMarkColHeader(BOOL b) { m_bMarkColHeader = b; }
    void SetMarkRowHeader(BOOL b) { m_bMarkRowHeader = b; }
    BOOL GetMarkColHeader() const { return m_bMarkColHeader; }
    BOOL GetMarkRowHeader() const { return m_bMarkRowHeader; }

private:
    std::map<int, COLORREF> m_colors;
    BOOL m_bHorzLines = TRUE;
    BOOL m_bVertLines = TRUE;
    BOOL m_bMarkColHeader = TRUE;
    BOOL m_bMarkRowHeader = TRUE;
};

// What the find-and-replace dialog last searched for.
struct GXFindReplaceInfo {
    CString strFind;
    CString strReplace;
    BOOL bMatchCase = FALSE;
    BOOL bWholeWord = FALSE;
    BOOL bNext = TRUE; // search forward
    BOOL bFindOnly = TRUE;
    BOOL bActive = FALSE;
};

class CGXGridParam {
public:
    CGXGridParam();
    virtual ~CGXGridParam();
    CGXGridParam(const CGXGridParam&) = delete;
    CGXGridParam& operator=(const CGXGridParam&) = delete;

    // Undo recording.
    void EnableUndo(BOOL bEnable) { m_bUndoEnabled = bEnable != FALSE; }
    BOOL IsEnableUndo() const { return m_bUndoEnabled; }
    CGXCommandList* GetUndoList() { return &m_undoList; }
    CGXCommandList* GetRedoList() { return &m_redoList; }
    void SetUndoLimit(int n) { m_nUndoLimit = n; }
    int GetUndoLimit() const { return m_nUndoLimit; }

    // Styles map; the parameter object deletes it only when told so.
    void SetStylesMap(CGXStylesMap* pStylesMap, BOOL bMustDelete = FALSE);
    CGXStylesMap* GetStylesMap() const { return m_pStylesMap; }

    // Cell data, selection and covered cells.
    CGXData* GetData() { return &m_data; }
    const CGXData* GetData() const { return &m_data; }
    CGXRangeList* GetRangeList() { return &m_selection; }
    const CGXRangeList* GetRangeList() const { return &m_selection; }
    CGXRangeList* GetCoveredCellsList() { return &m_covered; }
    const CGXRangeList* GetCoveredCellsList() const { return &m_covered; }
    CGXProperties* GetProperties() { return &m_properties; }

    // A read-only cell can be changed only while the lock is lifted (it is on by default).
    void SetLockReadOnly(BOOL b) { m_bLockReadOnly = b != FALSE; }
    BOOL IsLockReadOnly() const { return m_bLockReadOnly; }
    // The whole grid read-only (no editing at all).
    void SetReadOnly(BOOL b) { m_bReadOnly = b != FALSE; }
    BOOL IsReadOnly() const { return m_bReadOnly; }

    // Selection and movement.
    void EnableSelection(WORD wFlags = GX_SELFULL) { m_wSelection = wFlags; }
    BOOL IsEnableSelection(WORD wFlag) const { return (m_wSelection & wFlag) != 0; }
    WORD GetSelectionFlags() const { return m_wSelection; }
    void EnableMoveCols(BOOL b = TRUE) { m_bMoveCols = b; }
    void EnableMoveRows(BOOL b = TRUE) { m_bMoveRows = b; }
    BOOL IsEnableMoveCols() const { return m_bMoveCols; }
    BOOL IsEnableMoveRows() const { return m_bMoveRows; }
    void SetSortColsOnDblClk(BOOL b) { m_bSortColsOnDblClk = b; }
    void SetSortRowsOnDblClk(BOOL b) { m_bSortRowsOnDblClk = b; }
    BOOL IsSortColsOnDblClk() const { return m_bSortColsOnDblClk; }
    BOOL IsSortRowsOnDblClk() const { return m_bSortRowsOnDblClk; }
    void SetActivateCellFlags(UINT flags) { m_nActivateCellFlags = flags; }
    UINT GetActivateCellFlags() const { return m_nActivateCellFlags; }
    void SetHideCurrentCell(UINT n) { m_nHideCurrentCell = n; }
    UINT GetHideCurrentCell() const { return m_nHideCurrentCell; }
    void SetExcelLikeSelectionFrame(BOOL b) { m_bExcelLikeFrame = b; }
    BOOL GetExcelLikeSelectionFrame() const { return m_bExcelLikeFrame; }
    void SetSyncCurrentCell(BOOL b) { m_bSyncCurrentCell = b; }
    BOOL IsSyncCurrentCell() const { return m_bSyncCurrentCell; }
    // Enter-key action: the direction the current cell moves on Enter (GX_UP .. GX_RIGHT), 0 = stay.
    void SetEnterKeyAction(WORD w) { m_wEnterKeyAction = w; }
    WORD GetEnterKeyAction() const { return m_wEnterKeyAction; }

    // Look.
    void SetMarkColHeader(BOOL b) { m_properties.SetMarkColHeader(b); }
    void SetMarkRowHeader(BOOL b) { m_properties.SetMarkRowHeader(b); }
    BOOL GetMarkColHeader() const { return const_cast<CGXProperties&>(m_properties).GetMarkColHeader(); }
    BOOL GetMarkRowHeader() const { return const_cast<CGXProperties&>(m_properties).GetMarkRowHeader(); }
    void SetNewGridLineMode(BOOL b) { m_bNewGridLineMode = b; }
    BOOL GetNewGridLineMode() const { return m_bNewGridLineMode; }
    void SetGridLineStyle(UINT style) { m_nGridLineStyle = style; }
    UINT GetGridLineStyle() const { return m_nGridLineStyle; }
    void EnableTrackRowHeight(UINT flags = 1) { m_nTrackRowHeight = flags; }
    void EnableTrackColWidth(UINT flags = 1) { m_nTrackColWidth = flags; }
    UINT IsEnableTrackRowHeight() const { return m_nTrackRowHeight; }
    UINT IsEnableTrackColWidth() const { return m_nTrackColWidth; }
    void SetNumberedRowHeaders(BOOL b) { m_bNumberedRowHeaders = b; }
    void SetNumberedColHeaders(BOOL b) { m_bNumberedColHeaders = b; }
    BOOL IsNumberedRowHeaders() const { return m_bNumberedRowHeaders; }
    BOOL IsNumberedColHeaders() const { return m_bNumberedColHeaders; }

    // Find and replace.
    GXFindReplaceInfo& GetFindReplaceInfo() { return m_findReplace; }

private:
    CGXData m_data;
    CGXRangeList m_selection;
    CGXRangeList m_covered;
    CGXCommandList m_undoList;
    CGXCommandList m_redoList;
    CGXProperties m_properties;
    GXFindReplaceInfo m_findReplace;
    CGXStylesMap* m_pStylesMap = nullptr;
    std::unique_ptr<CGXStylesMap> m_ownedStylesMap;
    int m_nUndoLimit = 100;
    bool m_bUndoEnabled = true;
    bool m_bLockReadOnly = true;
    bool m_bReadOnly = false;
    WORD m_wSelection = GX_SELFULL | GX_SELCELL | GX_SELMULTIPLE | GX_SELSHIFT | GX_SELKEYBOARD | GX_SELROW | GX_SELCOL;
    WORD m_wEnterKeyAction = 0;
    BOOL m_bMoveCols = FALSE;
    BOOL m_bMoveRows = FALSE;
    BOOL m_bSortColsOnDblClk = FALSE;
    BOOL m_bSortRowsOnDblClk = FALSE;
    UINT m_nActivateCellFlags = 0;
    UINT m_nHideCurrentCell = 0;
    BOOL m_bExcelLikeFrame = FALSE;
    BOOL m_bSyncCurrentCell = FALSE;
    BOOL m_bNewGridLineMode = FALSE;
    UINT m_nGridLineStyle = PS_SOLID;
    UINT m_nTrackRowHeight = 1;
    UINT m_nTrackColWidth = 1;
    BOOL m_bNumberedRowHeaders = FALSE;
    BOOL m_bNumberedColHeaders = FALSE;
};
