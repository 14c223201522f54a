// What the physical part grid and the physical net grid do alike: the cell
// behaviour of the grid core (keys, the end of an edit, deletions, double-clicks
// in the model column, column-width drags), the undo hook into the owning pane,
// the signal-model cell of a pin row and the small commands both offer. Each
// grid gives its own rows and columns through the layout it reports.
#pragma once

#include "physgrids/KXPhysGridIds.h"

#include "grid/KXAssocCompStruct.h"
#include "grid/KXGridWnd.h"
#include "grid/KXTableOleDropTarget.h"

#include "rmx/context.h"

#include <functional>
#include <vector>

class CFrameWnd;
class CKXFindReplaceDlg;
class CCommonInterface;
class CMsgSelectObj;

// Where a physical grid keeps its header block and its model column.
struct KXPhysLayout {
    ROWCOL filterRow;   // the filter row
    ROWCOL firstPinRow; // the first pin row
    ROWCOL captionRow;  // the row of the column captions
    LPARAM layoutKind;  // the kind of its column-layout broadcast
};

class CKXPhysGridWnd : public CKXGridWnd {
public:
    // A physical grid of the kind (KXGridKind::PhysPart or PhysNet).
    explicit CKXPhysGridWnd(KXGridKind kind);
    ~CKXPhysGridWnd() override;

    virtual KXPhysLayout Layout() const = 0;
    // Column of the signal model.
    virtual ROWCOL ModelColumn() const = 0;
    // The grid kind's class-wide column descriptors.
    virtual std::vector<CKXColumnInfoClass*>& Columns() const = 0;

    void SetParentFrame(CFrameWnd* frame) { m_pFrame = frame; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // ------------------------------------------------------------- the signal-model cell
    // Writes the model cell of a pin row for its first logical pin bit: a choice among the
    // part's models when it offers more than one, else the model read-only.
    void StyleModelCell(ROWCOL row, const CInstTermBitContext& bit);

    // ------------------------------------------------------------- cell behaviour
    BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol) override;
    BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    void AddCommand(CGXCommand* pCmd, GXCmdType ctType) override;
    BOOL OnDeleteCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    BOOL OnTrackColWidth(ROWCOL nCol) override;
    BOOL OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) override;
    BOOL OnTrackColWidthMove(ROWCOL nCol, int nWidth) override;
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    int GetColWidth(ROWCOL nCol) override;

    void SortColumn(int col) override { CKXGridWnd::OnSortColumn(col); }
    BOOL CanAddTermination() override { return FALSE; }
    BOOL CanAddPupd() override { return FALSE; }
    BOOL CanSwapSignals() override { return FALSE; }
    BOOL CanCut() override { return FALSE; }
    BOOL CanCopy() override { return TRUE; } // both physical grids copy (OnEditCopy)

    // Makes the pane the frame's active view and activates the grid on the cell it has now: a cell
    // set while the grid was active (a script's or a replay's selection) stays current.
    void ActivateInPane();
    // Sends a script line to the host's main window; TRUE when the host took it.
    static BOOL SendHostText(const CString& text);
    // The copy echo: the selected shown pin rows as [list PIN NUMBER] keys and the column's caption,
    // sent as "selectWindow WINDOW; copy pin ..." for the pane's copy word.
    // The caption comes by value: a cell text read from the grid lives in a buffer the next read reuses.
    void EchoCopy(const char* window, ROWCOL pinCol, ROWCOL numberCol, CString caption);
    // Copies the selected cells of shown rows to the clipboard, as text and as objects.
    void CopySelection();
    // The pane's frame as the table frame; NULL when the grid has none.
    void MarkDocumentModified();
    // The journal handle of the physical view: the design's name and "_phys".
    CString JournalHandle() const;
    // Broadcasts the grid kind's descriptors as a column-layout change.
    void BroadcastLayout();
    // The first column from 1 whose caption row holds the text (ignoring case); -1 when none.
    int FindColumnByCaption(const CString& caption);
    // Deselects every row.
    void DeselectAllRows();
    // Selects every pin row that is not hidden.
    void SelectVisiblePinRows();
    // TRUE when the row is a pin row of the grid and shown.
    bool IsShownPinRow(ROWCOL row);
    // The selected rows, the current cell's row when nothing is selected.
    std::vector<ROWCOL> SelectedRows();
    // The tool-tip text of a cell.
    CString CellTip(ROWCOL row, ROWCOL col);
    // A number held in a user attribute of a cell; 0 when the cell has none.
    long CellAttribute(ROWCOL row, ROWCOL col, UINT id);
    // The grid's own commit of its open grid transaction: the committing flag is up around it.
    BOOL CommitOwn(BOOL bCommit, BOOL bEnd);

    CFrameWnd* m_pFrame = nullptr;
    CKXTableOleDropTarget m_dropTarget;
    bool m_bTrackingCol = false; // a width drag started on a border and no move followed
    ROWCOL m_nTrackedCol = 0;

    // ------------------------------------------------------------- the kind's columns
    // Builds the kind's descriptors: the row-number column, the column of the object's name, then
    // one column per customisation entry of the current origin (defaults, then the user's). Keys
    // name the columns whose numbers the kind keeps; a key no entry has keeps its number.
    using KeyColumns = std::vector<std::pair<const char*, int*>>;
    static void BuildColumns(std::vector<CKXColumnInfoClass*>& columns, std::vector<CString>& captions,
                             const char* objectCaption, const KeyColumns& keys, int charWidth, bool showRowNumbers,
                             int& count);
    // Writes the columns from 2 on as the default customisation of the origin.
    static void SaveColumns(const std::vector<CKXColumnInfoClass*>& columns, const char* origin, int charWidth,
                            bool parse);
    // "<prefix>\<key>" of a column; empty for -1; a number outside the list is an invalid argument.
    static int SettingsKey(const std::vector<CKXColumnInfoClass*>& columns, const char* prefix, int col,
                           CString& key);
    // The caption cell of a column.
    void StyleCaptionCell(ROWCOL col, const CString& caption);
    // Aligns the grid's columns with the kind's descriptors after a layout broadcast (wParam the
    // layout before the change): moved, inserted (and filled), hidden, widths.
    void ApplyColumnLayout(WPARAM wParam, const std::function<void()>& cover,
                           const std::function<void(ROWCOL, const CKXColumnInfoClass&)>& fill);

    // ------------------------------------------------------------- publishing the selection
    // Whether the host shows one of its docked windows ("PROPERTYEDITOR", "ASSOCCOMPVIEWER").
    static bool IsDockShown(const char* which);
    // Hands the records to the associated-component viewer (when it has any).
    void PublishToAssocViewer(CKXAssocCompArray& records);
    // Asks the host to select the object in its design views (MSG_SELECT_OBJECT with the top design).
    void BroadcastSelectObject(const CMsgSelectObj& select);
    // F4 goes to the list pane the grid was shown from.
    void OnKeyF4() override;
    virtual CCommonInterface* ListPane() const = 0;

    // ------------------------------------------------------------- find and replace
    // Hooks the grid to the find/replace service: one grid, its caption, the caption cell and the
    // first cell searched (row, column).
    void SetupFindReplace(const CString& caption, CPoint captionCell, CPoint startCell);
    void ShowFindReplace(BOOL bFind) override;
    CGXGridCore* m_pFindGrid = nullptr;
    CStringArray m_arrFindCaptions;
    CArray<CPoint, CPoint> m_arrFindHeaderCells;
    CArray<CPoint, CPoint> m_arrFindStartCells;
    CKXFindReplaceDlg* m_hFindReplace = nullptr; // the service's; removed with the grid

protected:
    // The width of a column by the kind's descriptors; the stretched column fills the window.
    int DescriptorWidth(ROWCOL nCol, int width, bool multiple, int objectCol);
    int CharWidth() const;
};

// Formatting of the script texts and the journal lines the physical grids write.
namespace kxphys {
// "%s" with the square brackets escaped.
CString Escaped(const CString& text);
// A text as a VBScript string literal.
CString Vbs(const CString& text);
// Appends journal lines when the host journals to a ".vbs" file.
void Journal(const CString& lines);
// The signal model assigned to a pin bit (PIN_SIGNAL_MODEL, else the pin's SIGNAL_MODEL).
CString AssignedModel(const CInstTermBitContext& bit);
// The pin-type text of a pin-type code: 0 "Unspec", 1 "Input", 2 "Output", any other "Inout".
CString PinTypeText(int code);
} // namespace kxphys
