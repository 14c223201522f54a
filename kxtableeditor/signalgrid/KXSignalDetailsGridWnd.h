// The signal connectivity details grid: for one net, one bit of a bus or a list
// of them, one row per connection between a shown net and a pin of a component
// instance. The user connects and disconnects pins by typing a pin name or pin
// number into a row; every change runs in one grid transaction, is echoed to the
// host and journalled. What ties a row to the design lives in user attributes of
// its cells (see KXSignalGridIds.h), written by the row fillers and read back by
// the row look-ups.
#pragma once

#include "signalgrid/KXSignalGridIds.h"

#include "grid/KXChangeDigest.h"
#include "grid/KXColumnModel.h"
#include "grid/KXCustomColumns.h"
#include "grid/KXGridWnd.h"
#include "grid/KXRowIndex.h"
#include "grid/KXTableOleDropTarget.h"

#include "rmx/context.h"

#include <functional>
#include <map>
#include <set>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class IKXGridSite;
class CKXAssocCompAPI;
struct KXTerminationDialogEdit;
class KXJournalLines;
class CKXFindReplaceDlg;
class KXAssocAutomation;
class CKXGridACListBox;
class CFrameWnd;
class CTransaction;
struct KXTerminationEditArgs;

// One net or net bit the grid shows, in the order added.
struct CKXNetData {
    INet* m_pNet = nullptr; // not owned
    int m_bIsBit = 0;       // 1: one bit of the net
    int m_nBit = -1;        // the bit; -1 for a whole net
};

// The part of an old connection of a pin that a connect removed (kind 0) or left in place (kind 1).
class CKXPinData {
public:
    CKXPinData(int instTermMsb, int instTermLsb, int netMsb, int netLsb, INet* net, int kind)
        : m_nInstTermMsb(instTermMsb), m_nInstTermLsb(instTermLsb), m_nNetMsb(netMsb), m_nNetLsb(netLsb),
          m_pNet(net), m_nKind(kind) {}
    virtual ~CKXPinData() = default;

    enum { Removed = 0, Kept = 1 };
    int m_nInstTermMsb;
    int m_nInstTermLsb;
    int m_nNetMsb;
    int m_nNetLsb;
    INet* m_pNet;
    int m_nKind;
};

class CKXSignalDetailsGridWnd : public CKXGridWnd,
                                public IKXTableDropSite,
                                private KXChangeHooks,
                                private IKXRowObjects {
    DECLARE_DYNCREATE(CKXSignalDetailsGridWnd)

public:
    CKXSignalDetailsGridWnd();
    ~CKXSignalDetailsGridWnd() override;

    // ------------------------------------------------------------- set-up
    using CKXGridWnd::InitializeGrid;
    // Set-up after Create: column model, header rows, cell controls, options and the
    // subscriptions at the message server.
    void InitializeGrid(IKXGridSite* site, CDesignContext design, CDesignContext masterDesign);
    void SetParentFrame(CFrameWnd* pFrame) { m_pParentFrame = pFrame; }
    void SetAutoComplete(BOOL bOn) override;
    void UpdatePaneTitle() override;
    void ActivateGridView() override;
    // The signal grid that was activated last; NULL when none.
    static CKXSignalDetailsGridWnd* s_pActiveGrid;
    // Hands the CELL column to the find/replace dialog (once per set-up).
    void SetCaption();
    void ShowFindReplace(BOOL bFind) override;
    // The dialog of the controls library (owned by it) and what it searches.
    CKXFindReplaceDlg* m_pFindReplaceDlg = nullptr;
    CGXGridCore* m_pFindGrid = nullptr;
    CStringArray m_arrFindCaptions;
    CArray<CPoint, CPoint> m_arrFindHeaderCells;
    CArray<CPoint, CPoint> m_arrFindFirstCells;

    // ------------------------------------------------------------- column model
    // The column model every signal grid shares (origin "SCP").
    static CKXColumnModel& Columns();
    static int m_nColSignalName, m_nColPhysicalName, m_nColStartBit, m_nColEndBit, m_nColCell, m_nColInstance,
        m_nColLocation, m_nColPinName, m_nColPinNumber, m_nColPinType, m_nColTermination, m_nColPupd,
        m_nColCount;
    // Builds the shared column model from the "SCP" customisation entries (user, then default).
    void InitColumnInfo();
    // The column numbers of the known keys from the model (a key no column has keeps its number).
    void TakeColumnNumbers();
    int CharWidth() const;
    // The customise dialog; an accepted change is broadcast to every signal grid.
    void CustomizeColumns() override;
    int AddPropertyColumn(const CString& entry) override;
    // The signal grids' column layout becomes the default customisation (bReparse: the service
    // takes it as its current list too).
    void SaveColumnCustomization(BOOL bReparse);
    void ShowNetColumnsAsShownNets();
    // A dragged width goes to the shared model and to every signal grid.
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    // A border grabbed and double-clicked without a move fits its column to the data rows.
    BOOL OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) override;
    BOOL OnTrackColWidthMove(ROWCOL nCol, int nWidth) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    bool m_bTrackingColumn = false; // a border was grabbed and has not moved
    ROWCOL m_nTrackingColumn = 0;   // the column of that border
    // MSG_COLUMN_LAYOUT_CHANGED of the signal-grid kind: the grid takes the model's layout.
    LRESULT OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam);
    // Rows 0 to 4 and the column widths.
    void FormatHeaderRows();
    // The filter row's combo ("*") and the separator rows over the columns; rows 0, 2 and 4 covered.
    void StyleFilterAndSeparatorCells(ROWCOL first, ROWCOL last);
    CKXColumnInfoClass* GetColumnInfo(int col) override;
    // Settings key "SCP\<key>" of a column for the filter combo; -1 for column -1.
    static int GetColumnSettingsKey(int col, CString& key);
    // The width a column is drawn with: 0 for a hidden one; the last shown character-width column
    // stretched to the window's width (the fixed-width columns after it keep theirs).
    int GetColWidth(ROWCOL nCol) override;
    // A column's width before the stretch.
    int ShownColWidth(ROWCOL nCol);
    // The column the window's width stretches and the summed widths of the shown fixed-width columns
    // after it; -1 when no shown column can be stretched.
    int StretchedColumn(int& fixedAfter);
    // The place of a column among the shown ones (0: the first shown).
    int GetClientCol(ROWCOL nCol);
    // The name of a column in script commands: "pupd", else the column's title.
    CString GetColumnScriptName(int col);
    // The column whose title is the name (ignoring case; "pupd" the PUPD column); -1 when none.
    // The title of a column: its title cell's text, or the tool tip of a title that shows a picture.
    CString ColumnTitle(ROWCOL col);
    int GetColumnFromName(const CString& name);
    BOOL AreColumnsKnown(CStringArray* names) override;
    // ------------------------------------------------------------- clipboard
    // May content of the clipboard type be pasted at the current cell of the active signal grid
    // (the filter row takes anything); the second leaves out the filter row and the terminations.
    static BOOL CanPasteCallback(int type);
    static BOOL CanPasteObjectType(int type);
    void InitCanPasteCallback() override;
    BOOL CanCut() override;
    BOOL CanPaste() override;
    BOOL CanPasteSpecial() override;
    // A user's copy: rows named by their keys are echoed to the host as "copy pin", which comes
    // back as CopySelection; other cells are copied at once.
    void OnEditCopy() override;
    BOOL CanCopy() override { return TRUE; } // the signal grid copies (OnEditCopy)
    // Copies the first column of each selected range, row by row (hidden rows left out): texts, or
    // the pins' terminations in the TERMINATION column.
    void CopySelection();

    // ------------------------------------------------------------- sort, filter, selection
    // The sort of the grid library's header click: the ascending flag flips for the same column.
    void SortColumn(int col) override;
    // A user's sort request: echoed to the host as "sort pin", which comes back as SortByColumnName.
    void OnSortColumn(int col) override;
    // Sorts the filled rows by a column; the blank rows stay at the end.
    void SortRows(int col, BOOL bAscending) override;
    // The pane's sort word: an empty name is the current cell's column; FALSE for no such column.
    BOOL SortByColumnName(const CString& name);
    // The pane's filterRows word: the pattern goes into the column's filter cell and the rows are
    // filtered; FALSE for no such column.
    BOOL SetColumnFilter(const CString& name, const CString& filter);
    // Shows the data rows that pass the pattern of every shown column (the live text of the edited
    // column's filter cell); journals the edited column's filter.
    BOOL FilterRows(int editedCol);
    void GetSelectionAsList(CString& list) override;
    void CrossSelectInHost() override;
    void GetSelectedObjects() override;
    void GetSelectedObjectNames() override;
    void NotifySelectionChanged() override;
    void ShowPropertyEditor() override;
    void OnKeyF4() override;
    void RemoveListPaneSelection() override;

    // ------------------------------------------------------------- rows
    BOOL LoadNets(CDesignContext design, const std::vector<CNetContext>& nets);
    BOOL LoadNetBits(CDesignContext design, const std::vector<CNetBitContext>& bits);
    BOOL AddNetRows(CDesignContext design, CNetContext net);
    BOOL AddNetBitRows(CDesignContext design, CNetBitContext bit);
    // Writes every cell of an existing row for one connection.
    void FillConnectionRow(ROWCOL row, const CConn& conn);
    // The rows of the connection's pin on its net, made to show what a grid loaded now shows of them.
    void FillConnectionRows(const CConn& conn);
    // The TERMINATION cell of a row.
    void SetBitsConnectedRow(ROWCOL row, ROWCOL col);
    // The INSTANCE cell of a row.
    void SetCellWithEllipsis(ROWCOL row, const CString& name, int id);
    // Signal Name and Physical Name cells of the filled rows of one net (every net for (unsigned)-1), from the
    // design as it is now.
    void FillNetNameCells(unsigned netId);
    // The physical name of the row's bit when the row shows one bit; false (name unchanged) else.
    bool GetPhysNetName(ROWCOL row, CString& name);
    void ShowNetTitle(INet* net);
    void ShowNetBitTitle(const CNetBitContext& bit);
    void SetTitleCell(const CString& text);
    const CString& GetTitle() const { return m_strTitle; }
    // A blank, editable data row.
    void RestyleRow(ROWCOL row);
    // Implicit power pins (shown while the host's power-pin option is on): an instance's package
    // pin tied to a net by name.
    struct PowerPinRef {
        IInstance* inst = nullptr;
        CImplicitPowerPin pin;
    };
    // The power pins of the design by the net name they are tied to (built once per load).
    using PowerPinIndex = std::map<CString, std::vector<PowerPinRef>>;
    const PowerPinIndex& PowerPins();
    // Inserts a read-only row from the row on for each power pin on the net (its bit, or every
    // bit for -1), of the instances given (all when none are); the row after them.
    ROWCOL AddPowerPinRows(INet* net, int bit, ROWCOL row, const std::set<unsigned>* instanceIds = nullptr);
    void FillPowerPinRow(ROWCOL row, INet* net, int bit, const PowerPinRef& ref);
    bool IsImplicitPowerPinRow(ROWCOL row);
    // After power pins of the instances were tied or released elsewhere: their power pin rows are
    // read again (the other instances' rows stay as they are).
    void RefreshRows(const std::set<unsigned>& instanceIds);
    // The power pin rows of the instances given (all when none are) read again from the design.
    void ReadPowerPinRows(const std::set<unsigned>* instanceIds);
    // MSG_SHOW_POWER_PINS_CHANGED: the host's option was turned on or off.
    LRESULT OnShowPowerPinsChanged(WPARAM wParam, LPARAM lParam);
    // The PUPD cell of a row from the pull-ups and pull-downs on a net bit.
    void SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp, bool aliasDown);
    // The PUPD cell of a row from what the associated-components library finds on the net bit (none
    // outside a pane).
    void StylePupdCell(ROWCOL row, const CNetBitContext& bit);

    // ------------------------------------------------------------- row look-ups
    int GetRowInstanceId(ROWCOL row);
    int GetRowPinId(ROWCOL row);
    unsigned GetRowNetId(ROWCOL row);
    int GetRowNetBit(ROWCOL row);
    CNetContext GetNetOfRow(ROWCOL row);
    // The row's pin and the pin bits its PIN_NAME text names; NULL when the row has none.
    IInstTerm* GetInstTermOfRow(ROWCOL row, int& msb, int& lsb);
    IInstance* FindRowInstance(ROWCOL row);
    // The first pin of the instance whose pin number is the text; bits -1 for a scalar pin.
    IInstTerm* FindInstTerm(IInstance* inst, const CString& pinNumber, int& msb, int& lsb);
    ROWCOL FindFirstEmptyRow();
    ROWCOL TakeBlankRow();
    // A blank row added after the last row: hidden when the filter hides a blank row, as it hid the
    // blank rows there were when it was set.
    ROWCOL AppendBlankRow();
    INet* GetShownNet();
    // The shown nets (net bits with their bit), separated by blanks.
    void GetShownObjectNames(CString& names) override;
    bool IsShownNet(const INet* net) const;
    // The data row that shows exactly this pin bit range; 0 when none.
    ROWCOL FindPinRow(unsigned pinId, int msb, int lsb);
    CString CellText(ROWCOL row, int col) { return GetValueRowCol(row, static_cast<ROWCOL>(col)); }

    // ------------------------------------------------------------- styles on demand
    // The current cell of a pin or component column lists its choices from the design.
    BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt = gxCopy,
                        int nType = 0) override;
    CString StoredText(ROWCOL row, int col);
    // The pin names (or pin numbers) of the row's instance that the row can take.
    void PinChoices(ROWCOL row, BOOL bNames, std::vector<CString>& choices);
    // Cells, instances (of the row's cell) or reference designators of the design, each once.
    void ComponentChoices(const CString& cell, const CString& instance, int col, std::vector<CString>& choices);
    void OfferComponentChoices(ROWCOL row, int col, const std::string& key);
    // What the component choices of a cell depend on: the design's instances, the column and the row's
    // Cell and Instance texts (the auto-complete list is filled again only when it changes).
    std::string ComponentChoicesKey(ROWCOL row, int col);
    std::string ComponentChoicesKeyOf(const CString& cell, const CString& instance, int col);
    void SetChoiceComboStyle(CGXStyle& style);
    // The shown nets (bits) by name, each once; the bits of the net the row's Signal Name names.
    void SignalChoices(std::vector<CString>& choices);
    void BitChoices(ROWCOL row, std::vector<CString>& choices);

    // ------------------------------------------------------------- editing
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL CommitCellEdit(ROWCOL row, ROWCOL col, CString text, BOOL bShowMessages);
    // CommitCellEdit for each kind of column: the pin name or number, a start or end bit, the
    // instance, the cell and the location; pinNameText is the row's pin name before the edit.
    BOOL CommitPinCell(ROWCOL row, int col, const CString& text, const CString& pinNameText, BOOL bShowMessages);
    BOOL CommitBitCell(ROWCOL row, int col, const CString& text, const CString& pinNameText, BOOL bShowMessages);
    bool FollowingBit(ROWCOL row, int col, int bit, CString& other);
    BOOL ReconnectRowBits(ROWCOL row, int col, const CString& text, int otherCol, const CString& otherText,
                          const CString& pinName, BOOL bShowMessages);
    BOOL CommitInstanceCell(ROWCOL row, const CString& text, const CString& pinNameText, BOOL bShowMessages);
    BOOL CommitCellNameCell(ROWCOL row, const CString& text, const CString& pinNameText, BOOL bShowMessages);
    BOOL CommitLocationCell(ROWCOL row, const CString& text, const CString& pinNameText, BOOL bShowMessages);
    // A Signal Name typed into a row while bits are shown: the Physical Name of that bit.
    void CommitSignalName(ROWCOL row, const CString& text);
    // Writes the typed text into the cells of the rows that took it, but the current one (the grid
    // stores that one).
    void FillCells(const std::vector<ROWCOL>& rows, ROWCOL current, ROWCOL col, const CString& text);
    // A pin or bit typed into the row that moved up to where the pin showed before: that row shows the text.
    void KeepTypedTextInMovedRow(ROWCOL row, ROWCOL col, ROWCOL movedTo, const CString& text, CGXControl* control);
    IInstTerm* CheckPinName(IInstance* inst, const CString& pinName, int& msb, int& lsb);
    BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol) override;
    void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnDeleteCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    void AddCommand(CGXCommand* pCmd, GXCmdType ctType) override;

    // ------------------------------------------------------------- connecting pins
    BOOL AssignConnectivity(ROWCOL row, BOOL bPinName, CString text, BOOL bShowMessages);
    BOOL DisconnectPin(ROWCOL row, CString pinName, int nStartBit, int nEndBit, BOOL bShowMessages);
    BOOL DisconnectRow(ROWCOL row, CString pinName, BOOL bShowMessages);
    // Script and automation form of typing a pin number into a new row.
    BOOL AssignConnectivityByName(const char* instance, const char* pinNumber, const char* startBit,
                                  const char* endBit, const char* signal);
    // When the project asks for it (auto_connect_dpleg): the other leg of each pair pin that the
    // pin bits lo..hi belong to goes, in the transaction, onto the other net of the pair net of
    // the leg's net, unless it is connected already; the connections added.
    std::vector<CConn> AutoConnectDiffPairLegs(CTransaction& tx, IInstTerm* pin, int lo, int hi);
    // Appends a blank row for an instance (INSTANCE, CELL, LOCATION filled); row receives it.
    BOOL AddInstanceRow(const CInstanceContext& instance, ROWCOL* pRow);
    // An instance dragged from the host's views: it may be dropped on a cell of a data row of an
    // editable window, and gets a row that waits for a pin.
    BOOL CanDropAt(int x, int y) override;
    void AddInstanceRow(CInstanceContext instance, BOOL& added) override;
    // ------------------------------------------------------------- deleting and selecting by key
    BOOL CanDelete() override;
    // Every cell of a signal row stands for a pin on the row's net: each may take a connection.
    BOOL IsCurrentCellConnectable() override;
    void GetDeleteScriptCommand(CString& command) override;
    // The pane's Delete command: terminations in the TERMINATION column, else the selected rows.
    BOOL DeleteSelection() override;
    // Disconnects and removes the selected rows that show a connection; TRUE when one went.
    BOOL DeleteConnections() override;
    // ------------------------------------------------------------- terminations
    // The pane's associated-components object, pointed at this grid's design; NULL when the grid is
    // not in a pane (every termination road then refuses or shows none).
    CKXAssocCompAPI* GetAssocCompApi();
    // The system object server's name of a system-object id; empty when it knows none.
    static CString GetSysObjectName(int id);
    // The pin bit's termination goes, through the associated-components library, in the caller's
    // transaction; FALSE when it had none.
    BOOL DeleteTerminationOfPin(CTransaction& tx, const CInstTermBit& bit);
    // The terminations of the selected rows' pins go, in one edit; FALSE when none went.
    BOOL DeleteTerminations() override;
    BOOL IsTerminationCellCurrent();
    // The termination of the one selected row's pin (its first bit); NULL when none.
    IDTInstance* GetAssociatedInstanceOfCurrentPin();
    BOOL HasTermination() override;
    // A data row of a leaf instance's pin on a net that is not a no-connect net, not being edited.
    BOOL CanAddTermination() override;
    // FALSE when a bit of the row belongs to a differential pair that already carries a component.
    BOOL CheckTerminationTarget(ROWCOL row, BOOL bShowMessage);
    // The dialog's termination on the bits of the selected rows (a double-click on a TERMINATION
    // cell, the Add Termination command), in one transaction.
    void AddTermination(ROWCOL row, ROWCOL col);
    bool AddTerminationInDialog(ROWCOL row, ROWCOL col, KXTerminationDialogEdit& inPlace);
    // The termination dialog for the first pin bit of the rows, its choice onto every other; sets
    // m_bTerminationAdded when the choice went on. False when a pin cannot take one (shown why).
    bool CommitAddTermination(const std::vector<ROWCOL>& rows, KXTerminationDialogEdit& inPlace);
    // The termination of the row's pin: of its highest bit that carries one; nullptr when none does.
    IDTInstance* RowTermination(ROWCOL row);
    // The library's callback while it adds: the transaction of the grid's open edit to go on in.
    static CTransaction* OnTerminationAdded(CString name);
    CTransaction* CommitAddTerminationTransaction(CString name);
    // Hands the terminations of the selected rows' pin bits to the system-object server in the
    // transaction, each once; true when it took one (false when none has a termination).
    bool SelectionHasAssociatedInstance(CTransaction* transaction);
    // 1 when the last add from the dialog put a termination on (a cancel or a refusal: 0).
    int m_bTerminationAdded = 0;
    void OnAddTermination() override;
    // The script's termination (addTermination word) on the selected rows' pins, in one transaction.
    BOOL AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells, CStringArray* views,
                                CStringArray* physNames, CStringArray* values, CObArray* keyLists,
                                CObArray* instLists, CString delay, CString high, CString low, int parts) override;
    // The script's change of the current pin's termination (editTermination word) on the selected rows.
    BOOL EditTermination(CStringArray* designators, CMapStringToString* oldToNew, CMapStringToString* keyProps,
                         CMapStringToString* instProps, CString delay, CString high, CString low, int count,
                         int byRefDes, const CMapStringToString* partLooks = nullptr) override;
    // The library's change of the termination on each pin bit of the rows; false (KXTABLE-216) at the
    // first bit it refuses, and when the rows have no pin bit.
    bool SetAssocCompSelection(CKXAssocCompAPI& api, const std::vector<ROWCOL>& rows, KXTerminationEditArgs& args,
                               const CString& delay, const CString& high, const CString& low, int byRefDes);
    BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    // The automation road: the current pin's termination cell is checked and the grid's automation
    // object prepared (1), whose add command comes back as "addTermination"; 0 refused (reported).
    // The set-up holds its edit open for that add (CKXGridEdit::Hold): set-up and add are one undo
    // step; another edit, an undo, a redo or a save in between discards the held edit first.
    int InitTermination(CString text);
    // 1 from a successful InitTermination until its add or the next set-up: only then does the
    // automation add send what the set-up prepared.
    int m_bAutomationTermPending = 0;
    // The automation add (AddTermination): the prepared termination sent as the addTermination word;
    // FALSE, saying nothing (the pane names the cause), when no set-up of this grid waits for it (none
    // came, or it was refused).
    BOOL SendPreparedTermination();
    // 1 while the termination edit the set-up holds open was begun by this grid (0 when the set-up
    // went into a transaction its caller had open: that one is the caller's to end).
    int m_bTermTransStarted = 0;
    // A new delay for the termination of the current TERMINATION cell's pin: 1 done, 0 refused.
    int ChangeTerminationDelay(const char* delay);
    // The grid's automation object of the associated-components library.
    KXAssocAutomation& AssocAutomation();
    // A press on the drop-down button of a row's component or pin combo keeps the selected rows.
    void OnCellControlClick(CPoint point, BOOL* pKeepSelection) override;
    // Pastes the clipboard's terminations onto the selected rows in the transaction: one item on
    // every row, several one to a row; TRUE when something was pasted (KXTABLE-118 for a row refused).
    bool PasteTerminations(CTransaction* t, std::vector<ROWCOL>& took);
    // Rewrites the TERMINATION cells of the rows; the number rewritten.
    int RefreshTerminationCell(const std::vector<ROWCOL>& rows);

    // ------------------------------------------------------------- paste
    // The pane's paste: into the filter row a filter, into the TERMINATION column terminations,
    // elsewhere the clipboard's lines as if typed into the selected rows.
    BOOL Paste(CString& strText, BOOL bPasteSpecial) override;
    BOOL PasteFromClipboardViewer(int nItem, int nParam) override;
    // The clipboard text into the current column of the selected rows, one line per row (one line
    // on every row), in one transaction; FALSE when no row took its line.
    BOOL AddConnections();
    // Keeping the rows as they are, and putting them back: a paste types its lines into the rows ahead of
    // its commit, and a paste that does not commit leaves the rows as they were. Only the rows the paste
    // changes are copied.
    KXKeptRows KeepDataRows() override;
    void PutBackDataRows(KXKeptRows& rows) override;
    // Keys "pin number:instance:start bit:end bit:signal"; no keys selects every shown row.
    void SelectRowsByKey(CStringArray* pKeys, CString keyColumn) override;
    void SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn,
                               std::vector<bool>& named) override;
    void SelectKeyedRows(CStringArray* pKeys, const CString& keyColumn, std::vector<bool>* named);
    // Whether the row carries the key's instance, signal and bits (fields of a selectObject key).
    bool RowMatchesKey(ROWCOL row, const std::vector<CString>& fields);
    // Makes the row of the instance's pin (its pin number, or its pin name when the row has no pin
    // number) the selection and its cell in the kind's column ("instance", "pinname", "Termination")
    // current; FALSE when no row matches.
    BOOL SelectPinCell(const CString& kind, const CString& instance, const CString& pinNumber);
    // SelectPinCell of the instance column; an empty pin names the instance's row that waits for its pin,
    // made again when the grid has none (a replay: the drop that made it changed no design).
    BOOL SelectInstanceRow(const CString& instance, const CString& pinKey);
    // What names a row's pin beside its instance: its pin number, else its pin name.
    CString RowPinKey(ROWCOL row);
    // The journal's lines that take an instance's pin off a net as the row's Delete does: the net shown,
    // the pin's row selected by its key, then Delete.
    CString RowSelectionKey(ROWCOL row);
    static KXJournalLines& JournalRowDelete(KXJournalLines& journal, const CString& netName,
                                            const CString& instance, const CString& pinKey);
    // TRUE while the grid echoes a connection it has made: the command coming back is a record.
    BOOL IsEchoingConnection() const { return m_bConnectEcho; }

    // ------------------------------------------------------------- refresh after commit
    // MSG_TRANSACTION_COMMITTED: the changes of the transaction reach the rows that show them
    // through the typed hooks below.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    void UpdatePinNumberCell();
    void UpdateLocationCell();
    void UpdateInstTermCell(unsigned instanceId, unsigned pinId);
    void UpdatePinTypeCell(unsigned instanceId, unsigned pinId);
    void UpdatePupdCellOfRow(ROWCOL row, int firstBit, int secondBit);
    void UpdatePupdCellOfNet(ROWCOL row, const CNetContext& net, int firstBit, int secondBit);
    // Every row's PUPD cell from the design: a row of a scalar net or of one net bit shows the
    // pull-ups and pull-downs on it, a row over several bits none.
    void RefreshPupdCells();
    // Returns where the connected row is afterwards (rows of the pin's old connections above it go).
    ROWCOL UpdateRowAfterConnect(ROWCOL row, const CInstanceContext& instance, IInstTerm* pin,
                               const std::vector<std::unique_ptr<CKXPinData>>& records);
    void RefreshInstanceNameCells(IInstance* instance);

    // ------------------------------------------------------------- signal models
    // A data row of a scalar pin or one pin bit, its PIN_NAME cell not being edited.
    BOOL CanAssignModel() override;
    // Several rows, or the one row's pin (bit) carries a model.
    BOOL CanRemoveModel() override;
    // The model dialog (pins of one direction), then PIN_SIGNAL_MODEL on the selected rows' pins.
    BOOL AssignModel(int flag, LPCTSTR modelName) override;
    BOOL RemoveModel() override;
    // The same with results: an empty name opens the dialog; FALSE when nothing changed.
    BOOL AssignModelByName(const CString& model);
    BOOL RemoveModels();

    // ------------------------------------------------------------- menus
    // The caption row: the column chooser; data rows: the signal menu; the filter row: the library's.
    BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    // The caption of a column; Signal Name and Physical Name are not the user's to hide.
    void GetColumnMenuText(int col, CString& text, BOOL& bEnabled) override;

    // ------------------------------------------------------------- custom property columns
    // The values and property states of the custom property columns of a row.
    void FillCustomCells(ROWCOL row);
    void FillCustomCell(ROWCOL row, int col);
    // The base style of a property cell in a property state; 0 without a styles map.
    WORD PropStateStyle(int state) const;
    // A property the design does not carry, as the row's physical pin carries it ("PINUSE": what
    // the pin bit is used for); empty when the row has no single physical pin.
    CString PhysicalPinValue(ROWCOL row, const CString& name);
    // Rewrites a property column's cells (every data row for row -1) from the design; a change of
    // what decides a pin's use also rewrites the PINUSE column.
    void RefreshRowStyles(const CString& property, int kind, int col, int row);
    // MSG_OBJECT_PROPERTY_CHANGED (wParam the property name, lParam the object's path): the
    // column that shows the property is filled again.
    LRESULT OnObjectPropertyChanged(WPARAM wParam, LPARAM lParam);
    bool IsCustomColumn(int col);
    // Echoes an edit of a custom column cell to the host as changeCustomColumn (the text for every
    // selected row; bClear: the empty value); TRUE when the host took the command.
    BOOL ChangeCustomColumn(BOOL bClear, const CString& editedText);
    // 0 while a typed custom-column edit is being sent to the host: a store of the cell meanwhile
    // sends nothing more.
    int m_bCustomEditReady = 1;
    // The pane's changeCustomColumn word and ChangePropValue automation: writes the first value
    // of each property's text into the selected rows, in one transaction, journalled per row.
    BOOL ChangeCustomColumnValue(CMapStringToString& values) override;
    // Enters the value into the column of that caption (ignoring case) of the current row, as typed;
    // FALSE when there is no such column or row, the cell is read-only or the grid refused the text.
    BOOL SetColumnValueByName(const CString& name, const CString& value);
    // The pane's ChangePropValue automation: a property column takes the value on the selected
    // rows, any other column through SetColumnValueByName.
    BOOL ChangePropValue(const CString& name, const CString& value);

    // ------------------------------------------------------------- dump
    // Appends the shown rows to the file; FALSE when it cannot be opened.
    BOOL DumpSCP(const char* path);

    // ------------------------------------------------------------- state
    CFrameWnd* m_pParentFrame = nullptr;
    std::vector<CKXNetData> m_arrNetData;
    CKXTableOleDropTarget m_dropTarget;
    std::unique_ptr<CKXGridACListBox> m_pACListBox; // shared by the two auto-complete combos
    int m_bRestoreColumns = 1;
    int m_bLoaded = 0;
    int m_bNetBitMode = 0;
    int m_bHideBitColumns = 1;
    int m_bFilterEcho = 0;
    bool m_bFilterRefused = false; // the filter typed last was refused by the filterRows word
    BOOL m_bAutoComplete = FALSE;
    // The signal grid whose edit the termination library's callback goes on in.
    static CKXSignalDetailsGridWnd* m_pTerminatingGrid;

private:
    void ShowColumnMenu(CPoint pt);
    // Removes every data row and forgets the shown nets.
    void ClearDataRows();
    // A new list of several nets: the rows addRows adds, sorted, with the blank rows below.
    BOOL LoadListRows(const std::function<void()>& addRows);
    // The shown net (or net bit, in net-bit mode) whose name a row's signal cell reads; nullptr for
    // another text.
    const CKXNetData* ShownNetOfRow(ROWCOL row);
    // The name the signal list shows a record by: the net, or the one bit of it shown.
    static CString ShownObjectName(const CKXNetData& record);
    // The object the journal selects in the signal list for a row: what the grid shows the row for.
    CString JournalNetName(ROWCOL row);
    // The name a shown net's rows read: the bit's name in net-bit mode, else the net's.
    CString ShownNetName(const CKXNetData& record) const;
    // Every shown net by its upper-case name, the first of a name as ShownNetOfRow finds it: one pass
    // over the shown nets for a refresh of all rows.
    using KXShownNets = std::map<CString, const CKXNetData*>;
    KXShownNets ShownNetsByName() const;
    // GetNetOfRow with the shown nets looked up in a map ShownNetsByName built.
    CNetContext NetOfRow(ROWCOL row, const KXShownNets& shown);
    // The shown nets by net, each with the bits shown of it (-1 for the whole net).
    using KXShownBits = std::unordered_map<const INet*, std::vector<int>>;
    KXShownBits ShownBitsByNet() const;
    // The rows that show the pin on the net (a shown one) rewritten from the design: rows that show a
    // part still connected stay, the others take the parts not shown yet, new rows below them take
    // the rest (a blank row when the pin had none), and the rows left over go.
    void FollowPinOnNet(IInstTerm& pin, INet& net, const KXShownBits& shownBits, const KXShownNets& shownNames);
    // A row written by a refresh keeps to the grid's filter.
    void KeepRowToFilter(ROWCOL row);
    // Shared loader of AddNetRows and AddNetBitRows.
    BOOL AddRows(const CDesignContext& design, INet* net, int bit);
    BOOL DeleteRows(BOOL bConnectedOnly);
    // Takes the rows of the pins a committed delete disconnected out of the grid.
    void RemoveDisconnectedRows(std::vector<ROWCOL> rows);
    // Row insertion and removal that keep the pin index and the blank-row hint right.
    void InsertDataRows(ROWCOL at, ROWCOL count);
    void RemoveDataRows(ROWCOL from, ROWCOL to);
    // Forgets the index (rows reloaded); the next look-up builds it again.
    void DropRowIndex();
    // No data rows: the index of none is right, and the rows a load writes index themselves.
    void StartRowIndex();
    void AppendLoadBlankRows();
    void IndexPinRow(unsigned pinId, ROWCOL row);
    // The row may be blank now: the search for a blank row starts no later than it.
    void RowCleared(ROWCOL row);
    // The rows that show the pin, ascending.
    std::vector<ROWCOL> PinRows(unsigned pinId);
    bool IsPinNameEdited(ROWCOL row);
    // Where a row's model sits: its pin bit for a one-bit row, else its pin; empty without a pin.
    CContext ModelPlace(ROWCOL row);
    // The visible selected data rows that show a pin.
    std::vector<ROWCOL> ModelRows();
    // The direction of the one-bit rows' pins; false (KXTABLE-127) when they differ.
    bool ModelDirection(const std::vector<ROWCOL>& rows, int& direction);
    // Sets (or, for an empty model, removes) the rows' models in one transaction.
    BOOL CommitModels(const std::vector<ROWCOL>& rows, const CString& model);
    // The pin bits of a row, from the first bit of its name's range down to the last.
    std::vector<CInstTermBit> RowPinBits(ROWCOL row);
    // The associated-components library set up for a termination of the type in the transaction.
    CKXAssocCompAPI* PrepareAssocCompApi(const CString& type); // NULL outside a pane; sets no transaction
    // The selected rows with a pin that may take a termination.
    std::vector<ROWCOL> TerminationTargets();
    // Rows of several pins take one termination only when no two are of opposite directions
    // (KXTABLE-103 else); asked before whether any of them has one already.
    bool CheckTerminationDirections(const std::vector<ROWCOL>& rows);
    // A bit may take the dialog's termination (KXTABLE-114, -142, -200 when not).
    bool CheckTerminationBit(const CInstTermBit& bit, bool severalRows);
    CInstanceContext RowInstanceOfPin(IInstTerm* pin);
    // took: a bit of the row took the termination.
    bool PasteTerminationOnRow(CTransaction* t, ROWCOL row, const CString& typeText, const CString& nameText,
                               const CString& data, bool& took);
    BOOL PasteTerminationsInTransaction();
    void JournalPastedTerminations(const std::vector<ROWCOL>& rows);
    // The clipboard's text as the filter of the column; FALSE when the filter was refused (it said why).
    BOOL PasteIntoFilterCell(ROWCOL col);
    // Types the text into the cell as the user does; false when the grid refused it.
    bool IsCellReadOnly(ROWCOL row, ROWCOL col);
    // Up to count visible rows from the row on.
    std::vector<ROWCOL> VisibleRowsFrom(ROWCOL first, size_t count);
    // The selected rows (the current cell's row when none is selected), in the grid's order.
    std::vector<ROWCOL> SelectedRows();
    // Of them the visible data rows.
    std::vector<ROWCOL> SelectedDataRows();
    // The nets of the selected rows that the docked windows are told of.
    std::vector<CNetContext> PublishedNets();
    // Copies the termination of a row's pin; copied is false for a row without a pin.
    CString CopyTerminationOfRow(ROWCOL row, bool& copied);
    void JournalCopiedRow(ROWCOL row);
    // A column named by script (empty: the current cell's column); -1 when none.
    int ColumnOfScriptName(const CString& name);
    // The text the filter tests: the cell's value, the tooltip of a PUPD cell.
    CString FilterText(ROWCOL row, ROWCOL col);
    // True when the pattern of a shown column's filter cell rejects the row.
    bool FilterRejects(ROWCOL row);
    // A START_BIT or END_BIT cell as keys name it ("-1" when empty).
    CString RowBitText(ROWCOL row, int col);
    // The blank rows after the last filled row.
    void AppendBlankRows(ROWCOL count);
    void WriteCell(ROWCOL row, int col, const CGXStyle& style);
    // A number attribute of a row's cell; `absent` when the cell has none.
    int RowAttr(ROWCOL row, int col, KXAttr<int> attr, int absent);
    // Signal Name and Physical Name of a row for a net bit (bit -1: the whole net).
    void WriteNetNameCells(ROWCOL row, INet* net, int bit, const CString& signalText, const CString& physical);
    // The Signal Name a row of the net bit shows: the bit's name in net-bit mode, else the net's name.
    CString RowSignalText(INet* net, int bit) const;
    CString PhysicalNetName(INet* net, int msb, int lsb);
    void ClearRowPin(ROWCOL row, BOOL bClearName);
    // Refuses an edit: the message (when shown) and the cell back to its stored value.
    BOOL Refuse(BOOL bShowMessages, const char* id);
    // What a typed pin connects: the row's instance, the pin and its bits, the row's net and bits.
    struct ConnTarget {
        IInstance* inst = nullptr;
        IInstTerm* pin = nullptr;
        INet* net = nullptr;
        int lo = -1, hi = -1;     // pin bits
        int start = -1, end = -1; // net bits
        bool fillOnly = false;    // the row has no net bits yet: its cells are filled, nothing connects
    };
    BOOL ResolveConnPin(ROWCOL row, BOOL bPinName, const CString& text, ConnTarget& t, BOOL bShowMessages);
    BOOL ResolveConnNetBits(ROWCOL row, ConnTarget& t, BOOL bShowMessages);
    // The checks of a connection by name: its signal, and its bits against the net.
    bool NamedSignal(const CString& signalText, INet*& net);
    bool NamedBitsFit(INet* net, int start, int end, const CString& bitsText);
    bool HasConnectionAlready(const ConnTarget& t) const;
    bool ShowsPinBits(ROWCOL row, const ConnTarget& t);
    BOOL m_bConnectingByName = FALSE; // the addConnection word names the pin (AssignConnectivityByName)
    // Takes the pin bits off their other nets (after the user's yes); the pieces go to records.
    BOOL RemoveOverlappingConns(CTransaction& tx, const ConnTarget& t,
                                std::vector<std::unique_ptr<CKXPinData>>& records);
    // The parts of connection c outside its pin bits oLo..oHi, which stay on c's net: records of the
    // rows that show them (none in net-bit mode, whose rows are one bit each).
    void AddKeptParts(const CConn& c, int oLo, int oHi, std::vector<std::unique_ptr<CKXPinData>>& records) const;
    BOOL CommitConnection(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t,
                          std::vector<std::unique_ptr<CKXPinData>>& records, BOOL bShowMessages);
    // The row's Pin Name cell names the pin bits (its text too when typed there).
    void WriteRowPin(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t);
    // A pin typed into another row of the net bits it is on: the pin the row showed (oldKey) leaves the
    // net, and the row shows the typed pin, the rows that did go.
    BOOL MoveConnectedPinToRow(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t,
                               const CString& oldKey, BOOL bShowMessages);
    // The row shows the pin, the rows that did go (no design change, no undo step, no journal line);
    // where the row is afterwards.
    ROWCOL ShowConnectedPinInRow(ROWCOL row, BOOL bPinName, const CString& text, const ConnTarget& t);
    // The row's PIN_TYPE, PN or PIN_NAME, PUPD and TERMINATION cells after a connect; the pin number.
    CString WriteConnectedCells(ROWCOL row, BOOL bPinName, const ConnTarget& t);
    void EchoConnection(ROWCOL row, const CString& pinNumber, bool scalarNet);
    // The row's connection as the replay makes it again; replacedKey names the pin the row showed
    // before, which the journal takes off the net first.
    void JournalConnection(ROWCOL row, const CString& pinNumber, bool scalarNet,
                           const CString& replacedKey = CString());
    CString JournalHandle();
    void MarkModified();
    BOOL IsSameDesign(IDesign* design) const;
    void SendHostMessage(const char* text);

    // Change hooks of the committed-transaction digest.
    void OnDigestBegin(const KXChangeDigest& digest) override;
    void OnComponentChange(const IChange& change, IDTInstance& component) override;
    void OnInstanceChange(const IChange& change, IInstance& instance) override;
    std::set<unsigned> m_powerPinInstances; // instances whose power pins were tied or released in the digest
    bool m_bPupdCellsStale = false; // a pull-up or pull-down came or went in the digest
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnTermChange(const IChange& change, ITerm& term) override;
    void OnConnChange(const IChange& change, CConn& conn) override;
    void OnDigestEnd(const KXChangeDigest& digest) override;
    bool m_bCustomCellsStale = false;      // a custom column's property changed in the digest

    // The row's objects for the custom property columns.
    CInstanceContext RowInstance(ROWCOL row) override;
    IInstTerm* RowPin(ROWCOL row, int& msb, int& lsb) override;
    INet* RowNet(ROWCOL row, int& msb, int& lsb) override;
    // The property of a custom column on the row's object; the caller deletes it. NULL when none.
    CPQPropertyData* FindRowProperty(ROWCOL row, const CKXColumnInfoClass& info);
    bool m_bTerminationsRefreshed = false; // the digest being dispatched refreshed every termination
    bool m_bFollowConnections = false;     // its connection changes come from elsewhere
    // The pins whose connections to a net the digest changed, in the order first met, each pair once;
    // their rows follow when the digest ends, from the design as the whole transaction left it.
    std::vector<std::pair<IInstTerm*, INet*>> m_followedPins;
    std::set<std::pair<unsigned, unsigned>> m_followedKeys;
    void FollowLater(const CConn& conn);

    // The grid's own automation object: what an automation set-up prepared waits in it for the add.
    std::unique_ptr<KXAssocAutomation> m_assocAutomation;
    // The journal block that names a row's termination cell (the row's signal, the cell) and the title.
    void JournalTerminationRow(KXJournalLines& journal, ROWCOL row, const char* title);
    // Writes the block with one step on replay per row it names.
    void WriteTerminationJournal(const KXJournalLines& journal, int rows);
    // Each row's cell and the pane's add of the prepared termination; with replacing, the first row's
    // termination deleted before.
    KXJournalLines JournalTerminationAdds(const std::vector<ROWCOL>& rows, const CString& prepared,
                                          bool replacing = false);
    // Begins the edit an automation set-up holds open for its add; false when none was begun here.
    bool HoldTerminationEdit();
    std::unique_ptr<PowerPinIndex> m_pPowerPins; // during a load only
    KXRowIndex m_rowIndex{*this}; // pin -> rows showing it
    bool m_bPinIndexValid = false;
    ROWCOL m_nEmptyHint = kxsignal::kFirstDataRow; // no blank data row lies above it

    BOOL m_bConnectEcho = FALSE;
    // The row the last AssignConnectivity left its pin in: a row above that showed the pin goes, and
    // the rows below it move up.
    ROWCOL m_nConnectedRow = 0;
    BOOL m_bStoringEdit = FALSE; // a validated data-cell edit is being stored
    CString m_strTitle; // the text of the title cell

    DECLARE_MESSAGE_MAP()
};
