// What the physical part grid and the physical net grid do alike: the cell
// behaviour of the grid core (keys, the end of an edit, deletions, double-clicks
// in the model column, column-width drags), the undo hook into the owning pane,
// the signal-model cell of a pin row and the small commands both offer. Each
// grid gives its own rows and columns through the layout it reports.
#pragma once

#include "physgrids/KXPhysGridIds.h"

#include "grid/KXAssocCompStruct.h"
#include "grid/KXChangeDigest.h"
#include "grid/KXColumnModel.h"
#include "grid/KXGridWnd.h"
#include "grid/KXRowIndex.h"
#include "grid/KXTableOleDropTarget.h"

#include "rmx/context.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <vector>

class CFrameWnd;
class CKXFindReplaceDlg;
class CCommonInterface;
class CMsgSelectObj;

// A property change of a committed transaction as the physical grids read it.
struct KXPhysPropertyChange {
    CString path, name, oldValue, newValue;
    CString package;    // the reference designator of the instance behind the owner; empty for others
    int changeKind = 0; // the change record's kind
    int ownerKind = 0;  // 1 instance, 2 pin or pin bit, 3 net or net bit; 0 another object
    bool Is(const char* property) const { return name.CompareNoCase(property) == 0; }
    bool ValueChanged() const { return oldValue.Compare(newValue) != 0; }
};

// What a selection key asks for: the first pin row whose cells hold these texts (column, text).
using KXPhysRowQuery = std::vector<std::pair<ROWCOL, CString>>;

// Where a physical grid keeps its header block and its model column.
struct KXPhysLayout {
    ROWCOL filterRow;   // the filter row
    ROWCOL firstPinRow; // the first pin row
    ROWCOL captionRow;  // the row of the column captions
};

class CKXPhysGridWnd : public CKXGridWnd, protected KXChangeHooks {
public:
    // Selects the rows the keys name (every shown pin row without keys), the first one current.
    void SelectRowsByKey(CStringArray* keys, CString column) override;
    // Selects the rows the keys name, key by key: a key naming no row here is left unnamed.
    void SelectRowsNamedByKeys(CStringArray* keys, const CString& keyColumn, std::vector<bool>& named) override;
    // A physical grid of the kind (KXGridKind::PhysPart or PhysNet).
    explicit CKXPhysGridWnd(KXGridKind kind);
    ~CKXPhysGridWnd() override;

    virtual KXPhysLayout Layout() const = 0;
    // Column of the signal model.
    virtual ROWCOL ModelColumn() const = 0;

    void SetParentFrame(CFrameWnd* frame) { m_pFrame = frame; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // ------------------------------------------------------------- the signal-model cell
    // Writes the model cell of a pin row for its first logical pin bit: a choice among the
    // part's models when it offers more than one, else the model read-only.
    void StyleModelCell(ROWCOL row, const CInstTermBitContext& bit);
    // The model cell of a row without a logical pin (a power pin, an unused package pin): empty and
    // read-only, as there is no pin to take a model.
    void StyleModelCellWithoutPin(ROWCOL row);
    // A model cell that takes no typing says why: the row has no logical pin, or its part offers no
    // model to choose among.
    KXEditResult WhyCurrentCellTakesNoTyping() override;

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
    // The row-number column shown or hidden now, fitted to the row numbers; a reload keeps it so.
    void ShowRowNumbers(BOOL bShow) override;

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
    // Echoes Ctrl+C as the copy word, each row keyed by its pin name and number (and, with partCol, first by
    // its part, as pin names and numbers repeat over the parts shown together).
    void EchoCopy(const char* window, ROWCOL pinCol, ROWCOL numberCol, CString caption, ROWCOL partCol = 0);
    // Copies the selected cells of shown rows to the clipboard, as text and as objects.
    void CopySelection();
    // The pane's frame as the table frame; NULL when the grid has none.
    void MarkDocumentModified();
    // The journal handle of the physical view: the design's name and "_phys".
    CString JournalHandle() const;
    // Broadcasts the grid kind's descriptors as a column-layout change.
    void BroadcastLayout() { ColumnModel().Broadcast(ColumnModel().Columns()); }
    // The first column from 1 whose caption row holds the text (ignoring case); -1 when none.
    int FindColumnByCaption(const CString& caption);
    // Deselects every row.
    void DeselectAllRows();
    // Selects every pin row that is not hidden.
    void SelectVisibleDataRows();
    // TRUE when the row is a pin row of the grid and shown.
    bool IsShownPinRow(ROWCOL row);
    // The selected rows, the current cell's row when nothing is selected.
    std::vector<ROWCOL> SelectedRows();
    // The text stored in a cell, read straight from the cell when it holds one (the cheap read the
    // row keys use), else as the grid composes it.
    CString StoredText(ROWCOL row, ROWCOL col);
    // The grid's own commit of its open grid transaction: the committing flag is up around it.
    BOOL CommitOwn(BOOL bCommit, BOOL bEnd);

    CFrameWnd* m_pFrame = nullptr;
    CKXTableOleDropTarget m_dropTarget;
    // The first column of the covered header rows; columns up to it keep their width.
    static constexpr ROWCOL m_nFirstHeaderCol = 0;
    bool m_bStoringModelEdit = false; // a typed model was committed: the cell's store is no step
    // The grid's flag of a width drag that started on a column border with no move after it (a
    // double-click there fits the column to its pin rows); each grid keeps its own.
    virtual bool& WidthDragUnmoved() = 0;
    ROWCOL m_nTrackedCol = 0;
    void EndWidthDrag() {
        WidthDragUnmoved() = false;
        m_nTrackedCol = 0;
    }

    // ------------------------------------------------------------- the kind's columns
    // The class-wide column model of the grid's kind: the row-number column, the column of the
    // object's name (shown while several objects are), then one column per customisation entry
    // of the kind's origin (defaults, then the user's).
    virtual CKXColumnModel& ColumnModel() const = 0;
    // The kind's column of the object's name, and the keys whose column numbers the kind keeps.
    virtual const char* ObjectCaption() const = 0;
    using KeyColumns = std::vector<std::pair<const char*, int*>>;
    virtual KeyColumns KeyColumnNumbers() const = 0;
    // Fills a custom property column a layout change brought in, for every pin row.
    virtual void FillPropertyColumnOfLayout(ROWCOL col, const CKXColumnInfoClass& info) = 0;
    // Re-covers the header rows over every column (after a column was inserted).
    virtual void CoverHeaderRows() = 0;
    // The kind's filter cell, and the filter row's cells of the columns that have none yet (every
    // column at the first format, a column a layout change inserted since) given it.
    virtual CGXStyle FilterCellStyle() const = 0;
    void StyleNewFilterCells();
    // Builds the model from the customisation when no grid of the kind has yet, and takes the
    // key columns' numbers.
    void SetupColumns();
    // Builds the model from the customisation of its origin (the customisation service is set to it).
    void InitColumnInfo();
    // The key columns' numbers from the model; a key no entry has keeps its number.
    void TakeColumnNumbers();
    // Runs when the model's columns were built or aligned again (the kind's column count and captions).
    virtual void OnColumnsTaken() {}
    // The captions of the model's columns, in column order.
    std::vector<CString> ColumnCaptions() const;
    int ColumnCount() const { return ColumnModel().Size(); }
    // Writes the columns from 2 on as the default customisation of the kind's origin.
    void SaveColumnCustomization(BOOL bReparse);
    // The customise dialog; an accepted change rebuilds the model and aligns every grid of the kind.
    void CustomizeColumns() override;
    CKXColumnInfoClass* GetColumnInfo(int col) override { return ColumnModel().At(col); }
    // The caption cell of a column.
    void StyleCaptionCell(ROWCOL col, const CString& caption);
    // Writes the caption cells and the widths of every column of the model.
    void FormatColumnCaptions();
    // Gives every column of the model its descriptor's width.
    void ApplyColumnWidths();
    // Aligns the grid's columns with the kind's model after a layout broadcast (wParam the layout
    // before the change): moved, inserted (and filled), hidden, widths. 0 for another kind's.
    LRESULT ApplyColumnLayout(WPARAM wParam, LPARAM lParam);
    // The column chooser of the caption row; enabled(col) false greys a column.
    void ShowColumnChooser(CPoint pt, const std::function<bool(int)>& enabled);

    // ------------------------------------------------------------- filter, sort and keys
    // The column of the pin numbers (it carries the row's block-filter mark).
    virtual ROWCOL PinNumberColumn() const = 0;
    // The column whose caption is the text (ignoring case), the current cell's for an empty text;
    // -1 when none.
    int ColumnOfCaption(const CString& caption);
    // The pattern of a filter cell: the text being typed when its editor is active on it.
    CString FilterPattern(ROWCOL col);
    // Shows every pin row up to lastRow that no block filter hides, then hides the rows a pattern
    // of the filter row does not match.
    void HideFilteredRows(ROWCOL lastRow);
    // The journal line of a filter on a column, after the one that shows the grid's object again.
    void JournalFilter(ROWCOL col);
    // An edit of the filter row is echoed to the host, whose filterRows command filters.
    void EchoFilterEdit(ROWCOL col);
    // The flag that is up while a filter edit is echoed (a validation the echo causes echoes nothing).
    virtual BOOL& FilterEchoFlag() = 0;
    // The fields of a selection key ("part:pin:number", "net:pin:number", ...).
    static std::vector<CString> KeyFields(const CString& key);
    // The first pin row up to lastRow that answers each query (0 when none), all found in one walk
    // over the rows.
    std::vector<ROWCOL> FindRowsOnce(const std::vector<KXPhysRowQuery>& queries, ROWCOL lastRow);
    // Selects the rows found for a script's keys in the key column, the first one current; no undo step.
    void SelectKeyRows(const std::vector<ROWCOL>& rows, ROWCOL keyCol);
    // The row each of the keys names (0: none), and the column the keys select in.
    virtual std::vector<ROWCOL> RowsOfKeys(const CStringArray& keys, const CString& column, ROWCOL& keyCol) = 0;
    // The column a script's keys select in: the one with the caption, else the fallback.
    ROWCOL KeyColumn(const CString& caption, int fallback);
    // Writes every shown cell of the shown rows, one row a line.
    void DumpShownCells(std::FILE* file);
    // The journal line that shows the grid's object again on replay (0: of the first pin row).
    virtual CString JournalObjectSelection(ROWCOL row) = 0;
    // The column of the logical pin names.
    virtual ROWCOL PinNameColumn() const = 0;
    // How the journal selects a row's pin once its object shows: the pane's method and the column
    // whose text it takes beside the pin number (the pin name of a part's own rows, selected in its
    // Signal column as every edit of a part's pin is journalled; see the net grid).
    virtual const char* JournalPinSelect() const { return "SelectSignalCol"; }
    virtual ROWCOL JournalPinKeyColumn() const { return PinNameColumn(); }
    // The journal lines that show a row's object and select its pin (by the pane's method select,
    // default JournalPinSelect(), from its key text and number), as a replay finds them.
    CString JournalRowSelection(ROWCOL row, const char* select = nullptr);
    // The journal lines of one edit of a row: its selection, a comment and the pane's call.
    CString JournalRowEdit(ROWCOL row, const CString& comment, const CString& call, const char* select = nullptr);

    // ------------------------------------------------------------- pin rows by their key
    // The key of a pin row: its part (or location) and pin number as the grid's pin map joins them.
    virtual CString RowKey(ROWCOL row) = 0;
    // The columns a row's key is read from.
    virtual bool IsRowKeyColumn(ROWCOL col) const = 0;
    // The pin row whose cells give the key; 0 when none. The rows are read into the row index on the
    // first look-up after a refill; rows moved, sorted or removed since need no new reading.
    ROWCOL FindKeyedRow(const CString& key);
    // Reads every pin row's key into the row index now: a grid calls it at the end of a load, so that
    // the first look-up after it costs its key only. From then on each write of a key cell adds the
    // row's new key.
    void IndexKeyedRows();
    // Forgets the keys of the rows (the grid is refilled).
    void ForgetKeyedRows();
    BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt = gxOverride,
                          int nType = 0) override;

    // ------------------------------------------------------------- the signal-model cell
    // The row of a part's package pin; 0 when the grid has none.
    virtual ROWCOL PinRowOf(const CString& package, const CString& pinNumber) = 0;
    virtual void SetSignalModelCellStyle(ROWCOL row) = 0;
    // Restyles the model cells of the rows of a pin or pin bit whose model changed.
    void RefreshModelCellsOfPin(const CString& path);
    // A text typed into a model cell: assigned to the row's pins (removed when empty) in one edit.
    // The store of the cell's text that follows is then no undo step of its own.
    BOOL ValidateModelCell(ROWCOL row, ROWCOL col);
    CString OfferedModel(ROWCOL row, ROWCOL col, const CString& model);
    // A model text given to a row's model cell, typed or pasted: done with the offered spelling in `model`,
    // or refused as the cell refuses it (a cell without a choice takes none; a choice cell only a model
    // it offers, KXTABLE-381).
    KXEditResult TakeModelText(ROWCOL row, ROWCOL col, CString& model);
    // Why the row's model cell takes no text (no logical pin, no model to choose among); done when it does.
    KXEditResult WhyModelCellTakesNoText(ROWCOL row, ROWCOL col);
    // Writes the model on the rows' pins in one edit (an empty model removes it); FALSE when nothing
    // changed or the commit failed.
    virtual BOOL CommitModelOnRows(const std::vector<ROWCOL>& rows, const CString& model) = 0;

    // ------------------------------------------------------------- refresh after a commit
    // The grid's MSG_TRANSACTION_COMMITTED: the property changes of the transaction, sorted by the
    // change digest, reach OnPropertyChanges at once (under a write scope: no undo, no drawing); a
    // transaction that changed connections or placed or removed instances (in any window, an undo
    // too) reaches OnConnectionsChanged after them.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    virtual void OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) = 0;
    virtual void OnConnectionsChanged() {}
    // Fills the custom property columns of these properties again, each from the owners its column reads.
    void RefillPropertyColumns(const std::set<CString>& properties);

    // ------------------------------------------------------------- publishing the selection
    // Asks the host to select the object in its design views (MSG_SELECT_OBJECT with the top design).
    void BroadcastSelectObject(const CMsgSelectObj& select);
    // F4 goes to the list pane the grid was shown from.
    void OnKeyF4() override;
    virtual CCommonInterface* ListPane() const = 0;

    // ------------------------------------------------------------- find and replace
    // Hooks the grid to the find/replace service: one grid, its caption, the caption cell and the
    // first cell searched (row, column). The dialog is the service's: it goes with the grid.
    CKXFindReplaceDlg* SetupFindReplace(const CString& caption, CPoint captionCell, CPoint startCell);
    // Shows the dialog; the cell it finds becomes the current cell and the whole selection, so that
    // the command that follows acts on the found row.
    void RunFindReplace(CKXFindReplaceDlg* dialog, BOOL bFind);
    CGXGridCore* m_pFindGrid = nullptr;
    CStringArray m_arrFindCaptions;
    CArray<CPoint, CPoint> m_arrFindHeaderCells;
    CArray<CPoint, CPoint> m_arrFindStartCells;

private:
    // Pin rows by the key they show (a text key of the index); a row keeps a key it no longer
    // shows, so FindKeyedRow checks the row's cells.
    KXRowIndex m_keyedRows{*this};
    bool m_bKeyedRowsIndexed = false;
    std::vector<KXPhysPropertyChange> m_committedChanges; // of the digest being dispatched
    IServer* m_pDigestServer = nullptr;

protected:
    void OnDigestBegin(const KXChangeDigest& digest) override;
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnDigestEnd(const KXChangeDigest& digest) override;
    // The owner kind of a changed object (KXPhysPropertyChange::ownerKind).
    static int OwnerKindOf(const CContext* object);

    // The width of a column by the kind's descriptors; the stretched column fills the window.
    int DescriptorWidth(ROWCOL nCol, int width, bool multiple, int objectCol);
    int CharWidth() const;
};

// The class-wide progress bar of a long operation of a physical grid: it replaces the current bar
// when the operation starts and is deleted (and the current bar cleared) when it ends.
class KXPhysProgress {
public:
    KXPhysProgress(const char* caption, int total);
    ~KXPhysProgress();
    KXPhysProgress(const KXPhysProgress&) = delete;
    KXPhysProgress& operator=(const KXPhysProgress&) = delete;
    // One step done: the text shown, the bar moved on, pending messages handled.
    void Step(const CString& text);
    int Total() const { return m_total; }

private:
    int m_total;
};

// Formatting of the script texts and the journal lines the physical grids write.
namespace kxphys {
// A text as a VBScript string literal.
CString Vbs(const CString& text);
// Appends journal lines when the host journals to a ".vbs" file.
void Journal(const CString& lines);
// The signal model assigned to a pin bit (PIN_SIGNAL_MODEL, else the pin's SIGNAL_MODEL).
CString AssignedModel(const CInstTermBitContext& bit);
// The pin-type text of a pin-type code: 0 "Unspec", 1 "Input", 2 "Output", any other "Inout".
CString PinTypeText(int code);
} // namespace kxphys
