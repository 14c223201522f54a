// The matrix grid: a stored, named selection of signals (rows, one per net bit)
// against a stored selection of instances and blocks (column groups). Where a
// signal row meets an instance group, the PIN_NAME and PN cells name the pin of
// that instance connected to the signal; typing a pin name or pin number there
// connects it, emptying the cell disconnects it. Every edit runs in one grid
// transaction, is echoed to the host and journalled; every committed
// transaction, from any window, reaches the cells that show what it changed.
//
// All matrix grids of a process share one column layout (the "MATRIX"
// customisation): the signal-side columns NAME, PHYS_NET_NAME, PUPD and net
// property columns, then per instance group PIN_NAME, PN, PIN_TYPE,
// TERMINATION and pin property columns.
#pragma once

#include "matrix/KXMatrixGridIds.h"
#include "matrix/KXMatrixViewDlg.h"

#include "grid/KXClipboardText.h"
#include "grid/KXChangeDigest.h"
#include "grid/KXColumnModel.h"
#include "grid/KXGridWnd.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRowIndex.h"
#include "grid/KXTableOleDropTarget.h"

#include "rmx/context.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CKXAssocCompAPI;
struct KXTerminationDialogEdit;
class KXJournalLines;
class CKXGridACListBox;
class CKXRetainAssocCompDlg;
class CMatrixViewData;
class CTransaction;
class IKXGridSite;
class IKXMessageServer;

// The signal of a data row: a net (by id) and the bit the row shows (-1 for a scalar net).
struct CKXMatrixNetData {
    unsigned netId = 0;
    int bit = -1;
};

// The class-wide layout of the matrix: column numbers of the signal side, offsets inside an
// instance group, and the descriptors of both sides (owned by the column model).
struct KXMatrixLayout {
    static constexpr int m_nRowHeaderCol = 0; // hidden
    int m_nNameCol = 1, m_nPhysNetNameCol = 2, m_nPupdCol = 3;
    int m_nFirstInstanceCol = 4;
    int m_nPinNameOffset = 0, m_nPnOffset = 1, m_nPinTypeOffset = 2, m_nTerminationOffset = 3;
    int m_nGroupWidth = 4;
    std::vector<CKXColumnInfoClass*> m_arrSignalColumns;   // element 0: the row header
    std::vector<CKXColumnInfoClass*> m_arrInstanceColumns; // in offset order
};

class CKXMatrixGridWnd : public CKXGridWnd, public IKXTableDropSite, private KXChangeHooks {
    DECLARE_DYNCREATE(CKXMatrixGridWnd)

public:
    CKXMatrixGridWnd();
    ~CKXMatrixGridWnd() override;

    // ------------------------------------------------------------- set-up
    // After Create: design contexts, header rows, cell controls, subscriptions. A grid outside a
    // pane has no site; externalTransaction: edits join the caller's transaction and leave it open.
    void SetupGrid(IKXGridSite* site, CDesignContext design, CDesignContext secondDesign, int externalTransaction);
    void SetChildFrame(CWnd* frame) { m_pChildFrame = frame; }
    void SetAutoComplete(BOOL bOn) override;
    // The matrix grid set up last, or asked last whether it can paste; NULL when none is left.
    static CKXMatrixGridWnd* CurrentGrid() { return m_pCurrentMatrixGrid; }

    // ------------------------------------------------------------- layout (shared by every matrix grid)
    static CKXColumnModel& Columns();
    static KXMatrixLayout& Layout();
    // Rebuilds the layout from the "MATRIX" customisation.
    std::vector<std::unique_ptr<CKXColumnInfoClass>> SetupColumns();
    void RestoreNeededColumns(std::vector<std::unique_ptr<CKXColumnInfoClass>>& former);
    // The layout in use becomes the default customisation (parseAgain: the service takes it too).
    void SaveCustomization(BOOL parseAgain);
    // Makes the matrix columns' customisation the service's current one; with save, the layout in
    // use becomes its default (and the service takes it in).
    void LoadCustomization(BOOL save);
    void CustomizeColumns() override;
    int AddPropertyColumn(const CString& entry) override;
    // The columns set up again from the customisation, the new layout broadcast to every matrix.
    void RebuildColumns();
    static int GetColumnProfileSection(int col, CString& section);
    int GetColWidth(ROWCOL nCol) override;
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    LRESULT OnColumnLayoutChanged(WPARAM previousDescriptors, LPARAM gridKind);
    CKXColumnInfoClass* GetColumnInfo(int col) override;
    int CharWidth() const;
    // Group and offset of a column; false left of the first group. True result of the decoder:
    // the column is a pin column (PIN_NAME or PN).
    static bool SplitColumn(int col, int& offset, int& group);
    static bool DecodeInstanceColumn(int col, int& offset, int& group);
    static int ColumnOf(int group, int offset);
    int GroupCount() const { return static_cast<int>(m_arrInstanceIds.size()); }

    // ------------------------------------------------------------- content
    BOOL LoadMatrixView(const CString& viewName);
    // Loads the view again when it changed in the store since this window loaded it (another window of
    // the design may have changed it and loaded it since).
    void ReloadIfModified();
    const CString& ViewName() const { return m_strViewName; }
    void GetShownObjectNames(CString& names) override { names = m_strViewName; }
    void AddInstanceByName(const std::vector<CString>& names);
    // Adds the signals a name gives (a bus range: one per bit); the signals added.
    std::vector<CKXMatrixNetData> AddSignalByName(const CString& name);
    // FALSE when the instance is shown already.
    // The instance's group, last or (`at`) before the group of that index.
    BOOL AddInstanceColumns(const CInstanceContext& instance, int at = -1);
    // Appends the rows of one net bit; FALSE when it is shown already or there is no net.
    BOOL AddSignalRows(INet* net, int bit);
    // The group of an instance; -1 when it has none.
    int GroupOf(unsigned instanceId) const;
    // Drops add to the grid and to the stored view; TRUE when something was added.
    BOOL DropInstance(const CString& name) override;
    BOOL DropSignal(const CString& text) override;
    CMatrixViewData* ViewData() const { return m_pMatrixViewData; }
    // The shown view's stored paths; an addition to it is one undo step that gives back those before it.
    kxmatrix::KXMatrixViewPaths StoredPaths() const;
    void RecordAddition(const kxmatrix::KXMatrixViewPaths& before);
    // After a committed transaction: mode 1 shows a connection's pin cells, mode 2 empties them.
    void FillPinRows(const CConn& conn, int mode);
    void SetupSignalHeader();
    static void SetCaption(CGXStyle& cell, const CKXColumnInfoClass& info, const CString& caption);
    BOOL InsertExtraSignalRow(ROWCOL row);

    // ------------------------------------------------------------- cells
    BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt = gxCopy,
                        int nType = 0) override;
    // The row's signal; NULL (bit -1) when the row shows none.
    INet* GetCellNetBit(ROWCOL row, int& bit);
    // The pin shown in the group of col in the row; NULL (bit -1) when none.
    IInstTerm* GetCellInstTermBit(ROWCOL row, int col, int& bit);
    // The pin id and bit the PIN_NAME cell of col's group holds in the row (-1 when none); false
    // outside the groups' data cells.
    bool GetCellPinIds(ROWCOL row, int col, int& pinId, int& bit);
    CInstanceContext GroupInstance(int group) const;
    BOOL IsCurrentCellTerminationCol();
    BOOL CurrentPinHasTermination();
    BOOL CanCopy() override;
    CString CellText(ROWCOL row, int col) { return GetValueRowCol(row, static_cast<ROWCOL>(col)); }
    void SetupFrozenHeader();
    void SetPupdCellText(ROWCOL row, const CNetBitContext& netBit);
    void SetPhysNetNameCell(ROWCOL row, const CNetBitContext& netBit);
    // Empties a connection cell; a pin cell (editable) takes the pin combo and no pin again.
    void SetConnectionCellValue(ROWCOL row, int col, bool editable);
    void SetTerminationCellText(ROWCOL row, int col);
    void RefreshPupdCells(const std::vector<unsigned>& netIds);

    // ------------------------------------------------------------- connections
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL CommitPendingConnections(ROWCOL row, ROWCOL col, const CString& text);
    BOOL ConnectPinToSignal(ROWCOL row, int col, const CString& text);
    BOOL RemoveCellConnection(ROWCOL row, int col, BOOL bClearCells);
    BOOL DeleteConnections() override;
    BOOL CanDelete() override;
    const char* NothingToDeleteCause() override;
    CString CurrentAssocColumnCaption();
    BOOL CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey) override;
    void OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey) override;
    void GetDeleteScriptCommand(CString& command) override;
    // The script and automation road of a typed cell: the row of the signal whose group cell
    // shows oldText (an extra row when none is free), column "PIN_NAME" or "PN"; FALSE when
    // nothing changed.
    BOOL ConnectByName(const CString& signal, const CString& instance, const CString& column,
                       const CString& oldText, const CString& newText);
    // The net bit a signal name ("N1", "DATA<2>") names; NULL when it names none or several bits.
    INet* NetOfName(const CString& signal, int& bit);
    // TRUE while the grid echoes its own edit: the word that comes back is a record.
    BOOL IsEchoing() const { return m_bEchoing; }

    // ------------------------------------------------------------- refresh after commit
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);

    // ------------------------------------------------------------- selection, filter, sort, dump
    BOOL FilterRows(ROWCOL editedCol);
    BOOL SetColumnFilter(const CString& name, const CString& pattern);
    void JournalFilter(ROWCOL col, const CString& pattern);
    void SortColumn(int col) override;
    void OnSortColumn(int col) override;
    void SortRows(int col, BOOL bAscending) override;
    void RestoreUnsortedOrder(const std::vector<CString>& order) override;
    BOOL SortByColumnName(const CString& name);
    CString GetSortKeyOfCol(int col);
    int ColumnOfName(const CString& name);
    void GetSelectionAsList(CString& list) override;
    // Tells the shown property editor what is selected: the pins of pin cells, else the rows' signals.
    void NotifySelectionChanged() override;
    BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    // A press on the drop-down button of a pin cell keeps the selection: the chosen pin goes into
    // every selected row.
    void OnCellControlClick(CPoint point, BOOL* pKeepSelection) override;
    // The current cell lies in a row of a signal; its net is selected in the signal list.
    BOOL IsCurrentRowSignal();
    BOOL HiliteCurrentNet();
    void ShowPropertyEditor() override;
    BOOL DumpMatrix(const char* path);

    // ------------------------------------------------------------- clipboard
    // The selected cells as a table: a line per shown row, the shown columns' texts joined by tabs.
    // marks, when given, takes each copied field's column (CopyMarkOfColumn), line by line.
    CString CopyText(std::vector<std::vector<std::string>>* marks = nullptr);
    void OnEditCopy() override;
    // The journal's road of a copied row: on the index-th row of the signal (from 0, in the rows' order) the
    // cells from one column to the other (named as the filterRows word names them) join the selection, or
    // (add FALSE) become the selection with the current cell on the first; FALSE when they are not shown.
    BOOL SelectSignalRow(const CString& signal, int index, const CString& firstColumn, const CString& lastColumn,
                         BOOL add);
    void InitCanPasteCallback() override;
    BOOL CanPaste() override;
    BOOL CanPasteSpecial() override;
    // What the current matrix grid's current cell takes of the clipboard's object type: as a paste,
    // and as a paste special (onto a pin or signal); FALSE without a current grid.
    static BOOL CanPasteTypeAtCurrentCell(int type);
    static BOOL CanPastePinAtCurrentCell(int type);
    // Into the filter row a pattern; into a pin cell the clipboard's lines from the row down, each
    // tab-separated field into its column; one edit. FALSE when nothing was pasted.
    BOOL Paste(CString& strText, BOOL bPasteSpecial) override;
    // The clipboard viewer's item (1 the newest) pasted into the current cell, as Paste pastes the clipboard.
    BOOL PasteFromClipboardViewer(int nItem, int nParam) override;
    // The lines from the row down into the pin cells of the column's kind, in one edit. Fields the copy marked
    // (marks, line by line) are a matrix table's: each copied group's field of that kind goes into its
    // column. A line or field that finds no cell, or a field that names no pin of its group, refuses the
    // whole paste with its message before anything changes.
    BOOL PasteConnections(ROWCOL first, ROWCOL col, const std::vector<CString>& lines,
                          const std::vector<std::vector<std::string>>& marks);
    // The columns of the current cell's kind that a pasted line's fields go to, in order, hidden ones
    // included (their fields are skipped): the selected ones, or from the column on to the last.
    std::vector<ROWCOL> PasteColumns(ROWCOL col);
    // The mark a copied field carries: the key of the column it came from, of a group or of the signal side.
    std::string CopyMarkOfColumn(ROWCOL col);
    // A paste writes its connections into the cells ahead of the commit; one that does not commit puts
    // the rows back, and the rows are indexed again by what they show.
    KXKeptRows KeepDataRows() override;
    void PutBackDataRows(KXKeptRows& rows) override;
    // One copied termination or pull-up/pull-down as the clipboard carries it.
    using AssocEntry = KXAssocClipEntry;
    // Into a TERMINATION cell the copied terminations, into the PUPD column the first copied group of
    // pull-ups/pull-downs, in one edit (joining the caller's); FALSE when nothing was pasted.
    BOOL PasteAssocComponents(ROWCOL row, ROWCOL col);
    // The journal's road: one copied component onto the pin (kind "TERMINATION") or the signal
    // (kind "PUPD") named, in one edit; FALSE when it was not made.
    BOOL PasteAssocByName(const CString& kind, const CString& signal, const CString& instance, const CString& pin,
                          const AssocEntry& entry);
    // The system object name of a pin bit; empty when it has none (it can take no termination then).
    static CString GetSysObjectName(const CInstTermBitContext& bit);

    // ------------------------------------------------------------- models, terminations, selection by key
    // A pin shown in a group's cells on a row.
    struct PinCell {
        ROWCOL row;
        int group;
        CInstTermBit pinBit;
    };
    // The pins of the selected cells (the current cell when none is selected), each once; pinColumnsOnly: of
    // the selected PIN_NAME and PN cells only.
    std::vector<PinCell> SelectedPinCells(bool pinColumnsOnly = false);
    // Selects the cells of keys "SIGNAL:INSTANCE" or "SIGNAL:INSTANCE:PIN" in a column ("PIN_NAME",
    // "PN", "TERMINATION"); FALSE when no key names a shown pin.
    BOOL SelectCells(const std::vector<CString>& keys, const CString& column);
    void SelectRowsByKey(CStringArray* pKeys, CString keyColumn) override;
    BOOL CanAssignModel() override;
    BOOL CanRemoveModel() override;
    BOOL AssignModel(int flag, LPCTSTR modelName) override;
    BOOL RemoveModel() override;
    // An empty name opens the model dialog; FALSE when nothing changed.
    // An empty model opens the model dialog, unless given: a given empty model takes the models off.
    BOOL AssignModelByName(const CString& model, bool given = false);
    // Sets (an empty model: removes) the pins' models in one edit; FALSE when nothing changed.
    BOOL CommitModels(const std::vector<PinCell>& cells, const CString& model);
    BOOL HasTermination() override;
    // The library's termination dialog for the selected pins: its choice goes onto every one, in one edit.
    void OnAddTermination() override;
    void AddTerminationInDialog(KXTerminationDialogEdit& inPlace);
    // The library's pull-up/pull-down dialog for the selected signals, in one edit; one signal that has
    // pull-ups/pull-downs (its own or inherited) gets the library's edit dialog instead.
    void AddPupd() override;
    // The library asks for the transaction its dialog goes on in: the edit's own, of the grid that
    // opened the dialog; NULL when that grid has none open.
    static CTransaction* CreateAssocCompTransaction(CString name);
    CTransaction* RenewAssocCompTransaction(CString name);
    // Hands the terminations of the selected pins to the system-object server in the transaction;
    // true when it took one.
    bool PrepareTerminationPins(CTransaction* transaction);
    // A pin of a component (not a block) not on a no-connect net, for every selected pin cell.
    BOOL CanAddTermination() override;
    // The script's termination (addTermination word) on the selected pins, in one edit.
    BOOL AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells, CStringArray* views,
                                CStringArray* physNames, CStringArray* values, CObArray* keyLists,
                                CObArray* instLists, CString delay, CString high, CString low, int parts) override;
    // The terminations of the selected pins go, in one edit (joining the caller's); FALSE when none went.
    BOOL DeleteTerminations() override;
    // The editTermination word on the current cell's pin, in one edit; FALSE (KXTABLE-212) without one.
    BOOL EditTermination(CStringArray* designators, CMapStringToString* oldToNew, CMapStringToString* keyProps,
                         CMapStringToString* instProps, CString delay, CString high, CString low, int count,
                         int byRefDes, const CMapStringToString* partLooks = nullptr) override;

    // ------------------------------------------------------------- pull-ups and pull-downs
    // A selected row's signal.
    struct SignalRow {
        ROWCOL row;
        CNetBit netBit;
    };
    // The signals of the selected rows (the current row when none is selected), each once.
    std::vector<SignalRow> CollectSelectedNetBits();
    BOOL CanAddPupd() override;
    BOOL HasPupd() override;
    BOOL AddConnectionsForPupd(BOOL bScript, BOOL bShort) override;
    BOOL AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName, CString value,
                         CString dcNet, CStringList* keyProps, CStringList* instProps, BOOL bCommon) override;
    BOOL DeletePupds(CStringArray* names, CMapStringToString* values) override;
    // The editPupd word on the named pull-up/pull-down of the selected rows' signals, in one edit.
    BOOL EditPupd(CString parent, CString name, CString refDes, CString dcNets, CStringList* keyProps,
                  CStringList* injProps, BOOL bDiffPair) override;

    // ------------------------------------------------------------- property columns
    bool IsPropertyColumn(int col);
    // What a property cell shows a property of: the row's net bit, or the group's pin bit; empty when none.
    CContext PropertyPlace(ROWCOL row, int col);
    // The pane's ChangePropValue: the property of the current property column on the selected rows'
    // objects, in one edit; FALSE when nothing changed (rows without the object change nothing).
    BOOL ChangeCustomColumnValue(CMapStringToString& values) override;
    // A value typed into a property cell.
    BOOL ChangeCellProperty(ROWCOL row, ROWCOL col, const CString& text);
    // Rewrites the cells of a property column on the rows given (every data row when none), from the
    // objects they show.
    void RefreshPropertyRows(int col, const std::vector<ROWCOL>& rows);
    // The two sides of it: a net property on every row of each row's signal, a pin property on the
    // rows' own cells (empty where the row shows no pin in that group).
    void FillNetPropertyRows(const CString& key, int col, const std::vector<ROWCOL>& rows);
    void FillPinPropertyRows(const CString& key, int col, const std::vector<ROWCOL>& rows);

    // ------------------------------------------------------------- editing hooks
    BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    void AddCommand(CGXCommand* pCmd, GXCmdType ctType) override;
    BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol) override;
    void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) override;

    // ------------------------------------------------------------- state
    CMatrixViewData* m_pMatrixViewData = nullptr; // the comment store's; not owned
    CString m_strViewName;
    std::uint64_t m_nLoadedRevision = 0; // the stored view's revision this window shows
    int m_bValidationIdle = 1;
    CKXTableOleDropTarget m_dropTarget;
    std::vector<unsigned> m_arrInstanceIds;       // group g shows the instance of id m_arrInstanceIds[g]
    std::vector<CKXMatrixNetData> m_arrNetData;   // the shown signals, in the order added
    std::unordered_map<unsigned, int> m_groupOfInstance; // instance id -> group
    std::unordered_set<std::uint64_t> m_shownSignals;    // KXRowKey::NetBit of every shown signal
    // Instances the design removed while shown, by name, with the group each had: an undo that brings
    // one back shows it there again, as a fresh load of the view would.
    std::unordered_map<std::string, int> m_withdrawnGroups;
    int m_bExternalTransaction = 0;
    BOOL m_bAutoComplete = TRUE;
    int m_bPastingConnections = 0;
    // While a paste runs: the first field it could not place, shown when it placed none.
    std::function<void()> m_pasteRefusal;

private:
    // Cells.
    void WriteCell(ROWCOL row, int col, const CGXStyle& style);
    void StyleConnectionCell(ROWCOL row, int col, bool editable);
    void ClearGroupCells(ROWCOL row, int group);
    void WriteConnectionCells(ROWCOL row, int group, const CInstTermBitContext& pinBit, const CString& pinName,
                              const CString& pinNumber);
    void WriteSignalCells(ROWCOL row, INet* net, int bit);
    ROWCOL InsertSignalRow(ROWCOL at, INet* net, int bit);
    CString SignalName(INet* net, int bit) const;
    void RefreshInstanceHeader(int group, const CInstanceContext& instance);
    CString PinText(IInstTerm* pin, int bit) const;
    void FillPinChoices(int group, int offset);
    // Rows.
    std::vector<ROWCOL> SignalRows(unsigned netId, int bit) const;
    ROWCOL FreeRowOfSignal(unsigned netId, int bit, int group);
    bool RowShowsPin(ROWCOL row, int group, unsigned pinId, int pinBit);
    void RemoveSignalRows(unsigned netId);
    void RemoveGroup(int group);
    // The group a component the stored view names takes when it shows (after the shown groups of the
    // components stored before it); -1 when the view does not name it.
    int StoredGroupOf(const CInstanceContext& instance) const;
    void ReindexGroups();
    void IndexPin(ROWCOL row, IInstTerm* pin, int bit);
    void ForgetPin(ROWCOL row, int group);
    // The row index built again from the net and pin attributes of every data row.
    void IndexRowsAgain();
    void BuildConnectionMap(int group, const CInstanceContext& instance);
    void ClearContent();
    // The shown view is the stored one as it is now.
    void MarkViewLoaded();
    // Editing.
    // The text of the cell's active control (else its value), trimmed unless asked for as typed.
    CString EditedText(ROWCOL row, ROWCOL col, bool trimmed = true);
    std::vector<int> EditColumns(ROWCOL col);
    // One field of a paste and the cell it goes to.
    struct PasteField {
        ROWCOL row;
        ROWCOL col;
        CString text;
    };
    // The fields of the lines laid over the shown rows from the first down and over the columns; false, having
    // said why, when a line or a non-empty field finds no cell or a field names no pin of its group.
    bool PlanPaste(ROWCOL first, ROWCOL col, const std::vector<CString>& lines,
                   const std::vector<std::vector<std::string>>& marks, std::vector<PasteField>& plan);
    // The fields one line hands the columns of the kind: of a marked line only those copied from that kind.
    static std::vector<CString> FieldsOfKind(const CString& line, const std::vector<std::string>* marks,
                                             const std::string& kind);
    // Whether the cell takes copied components (a TERMINATION cell, termination set, or the PUPD column).
    static bool TakesComponents(ROWCOL row, ROWCOL col, bool& termination);
    // The paste of the prepared clipboard (or viewer item) text, with its copy's marks, into the cell.
    BOOL PastePrepared(ROWCOL row, ROWCOL col, CString text, bool components,
                       const std::vector<std::vector<std::string>>& marks);
    // The pin bit a text names in a group's Pin Name cell (a pin, one bit of a bus) or Pin Number cell; none
    // when it names none, with the message that says why (KXTABLE-120: several bits, KXTABLE-119: no such pin).
    CInstTermBit PinOfField(int col, const CString& text, const char*& why);
    // Refuses a typed or pasted field that names no pin of the group: typed, the message shows at once;
    // pasted, the first refusal waits for the paste to show it when nothing was placed.
    BOOL RefuseField(const char* id, int group, const CString& text);
    // A typed edit says why it connects nothing at once; a paste says the first cause once, when none of
    // its fields connected anything.
    void SayRefusal(std::function<void()> say);
    // The pin bit (by name or by number) onto the row's signal: a connected pin is asked about
    // first (what: the pin as the question names it), then what it keeps of its termination and its
    // old net's pull-ups; the cells are written once the edit commits.
    BOOL MovePinToRow(CTransaction& tx, ROWCOL row, int group, const CInstTermBit& pinBit, const CString& what,
                      const CString& pinName, const CString& pinNumber);
    // Asks before a connected pin bit moves; takes it off its net and empties its old cells.
    bool ReleaseConnectedPin(CTransaction& tx, ROWCOL row, const CInstTermBit& pinBit, int group, const CString& what);
    // Runs the cell writes an edit queued when it committed; drops them otherwise. FALSE then.
    BOOL FinishCellWrites(bool committed);
    // With auto_connect_dpleg: the other leg of the leg's pair pin to the other net of the pair.
    void AutoConnectDiffPairLeg(CTransaction& tx, const CInstTermBit& leg);
    std::vector<std::function<void()>> m_cellWrites;
    // The nets a typed cell's edit connected or disconnected, and whether it carried pull-ups along:
    // the pull-up cells it refreshes.
    std::vector<unsigned> m_editNets;
    bool m_bEditCarriedPupds = false;
    void NoteEditNet(const INet* net);
    bool DeleteTermination(CTransaction& tx, const CInstTermBit& bit);
    // A pin moved to another signal: what the user keeps of its termination and its old net's pull-ups.
    struct RetainAnswer {
        bool termination = true;
        bool pupds = true;
    };
    RetainAnswer AskRetain(const CInstTermBit& pinBit, const CNetBit& old, INet* to);
    std::unique_ptr<CKXRetainAssocCompDlg> m_pRetainDlg; // the question of the last moved pin
    // After the move: the old net bit's pull-ups/pull-downs onto the new one (kept), or carried and
    // taken off again so that a replay, which keeps them, ends the same (journalled).
    void CarryPupds(CTransaction& tx, ROWCOL row, const CNetBit& old, const CNetBit& now, bool keep);
    // The pull-up/pull-down the library holds (a copied one, or the dialog's choice) onto a net bit, in
    // the transaction the library was given; false when it was refused.
    bool ApplyPupdToNetBit(IDTInstance* pupd, INet* net, int bit);
    bool HasAnyPupd(const SignalRow& signal);
    CNetBitContext NetBitContextOf(const SignalRow& signal) const;
    // A read-only window's dialog only shows the signal's pull-ups and pull-downs.
    void EditPupdInDialog(const SignalRow& signal, bool readOnly = false);
    // The named (none: all) pull-ups/pull-downs of a row's signal; false when none went.
    bool DeletePupd(CTransaction& tx, const SignalRow& signal, const std::set<CString>& names);
    // The selected pins can take the dialog's termination (one direction; several pins none terminated;
    // a pin without a termination one the design knows the kind of); shows why not.
    bool CheckTerminationPins(const std::vector<PinCell>& cells);
    // The journal lines that make a component again where it is now (a pin's: group >= 0).
    void JournalMadeComponent(KXJournalLines& journal, ROWCOL row, int group, IDTInstance* made, const char* title);
    void NoteDroppedTermination(ROWCOL row, int group, const CString& pinName);
    std::vector<KXJournalLines> m_retainJournal; // written after the edit's connection lines
    void JournalAdd(const char* kind, const CString& name);
    void JournalCopy();
    std::vector<ROWCOL> RowsToChange(ROWCOL current, ROWCOL col);
    void WritePropertyCell(ROWCOL row, int col, const CString& key);
    void JournalCell(KXJournalLines& journal, const PinCell& cell, const char* column);
    void RecordSelectPupdCol(KXJournalLines& journal, const SignalRow& signal);
    // The cell's edit echoed to the host as matrixConnect and, unless told not to, journalled.
    // The journal lines go to `gathered` when given (written by the caller with the edit's other lines).
    void EchoAndJournal(ROWCOL row, int col, const CString& oldText, const CString& newText, bool journal = true,
                        CString* gathered = nullptr);
    CString JournalHandle();
    void MarkModified();
    std::vector<ROWCOL> SelectedDataRows();
    CKXAssocCompAPI* GetAssocCompApi();
    std::vector<CKXColumnInfoClass*> MenuColumns();
    void ShowColumnMenu(CPoint pt);
    void PublishCurrentNet(IKXMessageServer* server);
    void PublishPropertyRecords(IKXMessageServer* server);
    void PublishAssocRecords(bool cut);
    // Associated components through the clipboard.
    void VisitCopiedCells(const std::function<void(ROWCOL, ROWCOL)>& cell, const std::function<void(ROWCOL)>& rowEnd);
    void CopyCellObject(ROWCOL row, ROWCOL col);
    // The pull-ups/pull-downs on the signal of a row; false for a row without a signal.
    bool RowPupds(ROWCOL row, int& bit, std::vector<IDTInstance*>& pupds);
    CString CopiedCellText(ROWCOL row, ROWCOL col);
    std::vector<ROWCOL> TerminationPasteRows(int group);
    BOOL PasteTerminations(CTransaction* t, int group, KXJournalLines& journal);
    bool NextTerminationTarget(ROWCOL firstSelected, ROWCOL& row, int& group);
    BOOL PastePupds(CTransaction* t, KXJournalLines& journal);
    bool PasteTerminationOnRow(CTransaction* t, ROWCOL row, int group, const AssocEntry& entry,
                               KXJournalLines& journal);
    bool PastePupdOnRow(CTransaction* t, const SignalRow& signal, const AssocEntry& entry, KXJournalLines& journal);
    // Refresh.
    void OnDigestBegin(const KXChangeDigest& digest) override;
    void OnConnChange(const IChange& change, CConn& conn) override;
    void OnNetChange(const IChange& change, INet& net) override;
    void OnInstanceChange(const IChange& change, IInstance& instance) override;
    void OnTermChange(const IChange& change, ITerm& term) override;
    void OnComponentChange(const IChange& change, IDTInstance& component) override;
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnDigestEnd(const KXChangeDigest& digest) override;
    void RefreshSignalNameCell(unsigned netId);
    // The physical net name and net property cells of every shown signal, or of one signal's rows.
    void RefreshPhysNetNames();
    void RefreshPhysNetNameCell(const CKXMatrixNetData& signal);
    void RefreshTerminations();
    void RefreshInstTermCells();
    void RefreshPinNumberColumn(int group);
    // The connection cells of every row that shows a bit of the pin in the group.
    void RefreshPinRows(int group, IInstTerm& pin);
    bool m_bOwnCommit = false;
    bool m_bPupdStale = false;
    bool m_bTerminationsStale = false;
    bool m_bNamesStale = false;
    bool m_bPinNumbersStale = false;
    std::vector<std::pair<unsigned, int>> m_stalePins; // pin bits whose connections changed

    IKXGridSite* m_pSiteForUndo = nullptr;
    CWnd* m_pChildFrame = nullptr;
    std::unique_ptr<CKXGridACListBox> m_pPinListBox;
    std::unique_ptr<CKXAssocCompAPI> m_pAssocCompApi;
    KXRowIndex m_rowIndex{*this}; // net bits and pin bits -> rows
    BOOL m_bEchoing = FALSE;
    BOOL m_bStoringEdit = FALSE; // a validated connection cell is being stored: no undo step of its own
    static CKXMatrixGridWnd* m_pCurrentMatrixGrid;
    static bool s_bFillingPinList;
    // Matrix grids set up and not yet destroyed; the first of them builds the layout afresh.
    static int s_nSetUpGrids;
    bool m_bSetUp = false;

    DECLARE_MESSAGE_MAP()
};
