// The component connectivity details grid: every pin of one component instance
// (or of several instances) with its pin number, type, signal, termination,
// pull-up/pull-down, differential pair and comment. The grid keeps no row
// objects: a row's instance, pin, bits and kind live in user attributes of its
// cells (see KXPinGridIds.h), written by the row fill and read back here.
#pragma once

#include "pingrid/KXPinGrid.h"
#include "pingrid/KXPinFillStyles.h"
#include "pingrid/KXPinGridIds.h"

#include "grid/KXChangeDigest.h"
#include "grid/KXGridWnd.h"
#include "grid/KXPupdMark.h"
#include "grid/KXRowIndex.h"
#include "grid/KXTableOleDropTarget.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXPartReader.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <vector>

class IKXGridSite;
class IPhysPartInst;
class CKXSpinControl;
struct KXTerminationDialogEdit;
struct KXTerminationTarget;
class CKXGridEdit;
struct KXAssocClipEntry;
class KXCsvParser;
class CKXFilterData;
class CKXAssocCompAPI;
class KXJournalLines;
class CKXColumnModel;
class KXAssocAutomation;
class IKXMessageServer;
class CKXConnObjInfo;
namespace kxpingrid {
struct PairNetLane;
}
class CKXRetainAssocCompDlg;
struct KXTerminationEditArgs;
class IDTInstance;
class CTransaction;
class CKXListComboBox;
class CStringList;
class CKXFindReplaceDlg;
class CKXHiliteObject;
namespace kxpingrid {
class ProgressScope;
}
class CComments;
class CPtrList;
class CTclArgsList;
class CMenu;
class CKXInstanceDetailsHeader;
class KXPinGridRefresh;
class KXPinGridFill;
class KXPinGridLoader;
class KXPinGridPower;
class KXPinGridPairConnect;
class KXPinGridRules;
class KXPinGridValidate;
class KXPinGridFilter;
class KXPinGridSetup;
class KXPinGridKeys;
class KXPinGridPairEdits;
class KXPinGridPupds;
class KXPinGridFunctions;
class KXPinGridSignalCells;
class KXPinGridPupdColumn;
class KXPinGridPairNets;
class KXPinGridDisconnect;
class KXPinGridPinNumbers;
class KXPinGridAssocPaste;
class KXPinGridPlainConnect;
class KXPinGridRetain;
class KXPinGridTerminations;
class KXPinGridPublish;
class KXPinGridPaste;
class KXPinGridCopy;
class KXPinGridComments;
class KXPinGridCustom;
class KXCsvParser;

// Naming rules of the Attach Signal bar, as the connect operation hands them on.
enum KXAttachSignalRule : int {
    KX_RULE_PINNAME = -1,
    KX_RULE_PREFIX_PINNAME = 0,
    KX_RULE_SUFFIX_PINNAME = 1,
    KX_RULE_PREFIX_PINNUMBER = 2,
    KX_RULE_SUFFIX_PINNUMBER = 3,
    KX_RULE_AUTONAME = 4, // a fresh name per pin, or one given name for all (short pins)
    KX_RULE_INCREMENT = 5,
    KX_RULE_CONNECTBITS = 6,
};

class CKXInstanceDetailsGridWnd : public CKXGridWnd,
                                  public IKXPinGrid,
                                  public IKXTableDropSite {
    DECLARE_DYNCREATE(CKXInstanceDetailsGridWnd)
    friend class KXPinGridRefresh;
    friend class KXPinGridFill;
    friend class KXPinGridLoader;
    friend class KXPinGridPower;
    friend class KXPinGridPairConnect;
    friend class KXPinGridRules;
    friend class KXPinGridValidate;
    friend class KXPinGridFilter;
    friend class KXPinGridSetup;
    friend class KXPinGridKeys;
    friend class KXPinGridPairEdits;
    friend class KXPinGridPupds;
    friend class KXPinGridFunctions;
    friend class KXPinGridSignalCells;
    friend class KXPinGridPupdColumn;
    friend class KXPinGridPairNets;
    friend class KXPinGridDisconnect;
    friend class KXPinGridPinNumbers;
    friend class KXPinGridAssocPaste;
    friend class KXPinGridPlainConnect;
    friend class KXPinGridRetain;
    friend class KXPinGridTerminations;
    friend class KXPinGridPublish;
    friend class KXPinGridPaste;
    friend class KXPinGridCopy;
    friend class KXPinGridComments;
    friend class KXPinGridCustom;

public:
    CKXInstanceDetailsGridWnd();
    ~CKXInstanceDetailsGridWnd() override;

    // IKXPinGrid
    CKXGridWnd& Grid() override { return *this; }
    int GetBusOption() const override { return m_bShowVectors; }
    int GetDiffPairOption() const override { return m_bShowDiffPairs; }

    // ------------------------------------------------------------- columns
    // The class-wide column list: index = grid column number, 0 the row-header column. The
    // descriptors are never freed while the process runs: a layout broadcast may still hold them.
    static const std::vector<CKXColumnInfoClass*>& m_arrColumnInfo; // the model's descriptors
    static CKXColumnModel& Columns();
    static int m_nColInstance, m_nColRefDes, m_nColDiffPair, m_nColPinName, m_nColPinNumber, m_nColPinType,
        m_nColSignal, m_nColTermination, m_nColPupd, m_nColComments, m_nColCount;
    // Builds the class-wide column list from the customisation entries of origin "CCP".
    void SetupColumns();
    // The key columns' numbers (PIN_NAME, SIGNAL, ...) and the column count from the model.
    static void TakeColumnNumbers();
    // Writes the columns from number 3 on as the default customisation; with bParse the service
    // also takes them as its current list.
    void LoadCustomPropertyColumns(BOOL bParse) override;
    // "CCP\<key>" of a column (empty for -1); an index outside the list is an invalid argument.
    static void GetRegistrySubKey(int column, CString& subkey);
    // Column number of a key ("PIN_NAME", "SIGNAL", ...); -1 when no column has it.
    static int ColumnOfKey(const CString& key);
    static CString GetColumnHeaderFromKey(const CString& key);
    static CString GetColumnKeyFromHeader(const CString& header);
    // The column a script word names: its caption or key, in any case; 0 when the grid has none.
    int ColumnOfName(const CString& name);
    // Entry nCol of the column list; an index outside it raises the invalid-argument exception.
    CKXColumnInfoClass* GetColumnInfo(int nCol) override;
    int GetColWidth(ROWCOL nCol) override;
    BOOL OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) override;
    BOOL OnTrackColWidthMove(ROWCOL nCol, int nWidth) override;
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    // Sends the column layout to every grid (a copy of the descriptor list and kind 5).
    void BroadcastColumnLayout(const std::vector<CKXColumnInfoClass*>& layout);
    // MSG_COLUMN_LAYOUT_CHANGED: wParam the old layout (std::vector<CKXColumnInfoClass*>*), lParam the kind.
    LRESULT OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam);
    void CustomizeColumns() override;
    int AddPropertyColumn(const CString& entry) override;
    void GetColumnMenuText(int col, CString& text, BOOL& bEnabled) override;
    BOOL IsCurrentColumnCustom();
    // Sends the host "changeCustomColumn" with the current custom column's key and the values of
    // the selected rows (or an empty value to clear them).
    // pValue: the typed value of the current row (its cell not written yet). FALSE when nothing was
    // sent or the host refused the change.
    BOOL ChangeCustomColumn(BOOL bClear, const CString* pValue = nullptr);
    BOOL IsCurrentCellSignal();
    BOOL IsCurrentCellTermination();
    // A click on a sortable caption: the sort goes to the host as "sort pin" and comes back
    // through the pane's sort command (SortByColumnName).
    void OnSortColumn(int col) override;
    void SortRows(int col, BOOL bAscending) override;
    int SortByColumnName(CString name) override;
    // Another grid of the pane sorted `col`: this one sorts it the same way (column mode only).
    void SortLike(int col, BOOL bAscending) override;
    // The list panes' flag the pane hands to every shown pin grid (SetPinGridsFlag).
    void SetPaneFlag(int value) override { m_nPaneFlag = value; }
    int GetPaneFlag() const override { return m_nPaneFlag; }
    int m_nPaneFlag = 0;

    // ------------------------------------------------------------- set-up and loading
    // Grid set-up after Create: column list, header block, cell controls, settings and the
    // subscriptions at the message server. The owner is the connectivity pane or a dialog;
    // inConnectDialog 1: the instance connectivity dialog hosts the grid and owns its transaction.
    using CKXGridWnd::InitializeGrid;
    void InitializeGrid(CWnd* pOwner, CDesignContext design, CDesignContext design2, int inConnectDialog,
                        CStringList* pSignals = nullptr);
    // Header block, caption cells, fonts and widths.
    void SetupGridLook();
    void RecordViewOptionsScript(int busOption, int dpOption) override;
    void TakeViewOptions(int busOption, int dpOption) override;
    void ExpandAllPins(CString onOff, CString scope) override;
    void UpdateHeaderCaption() override;
    // The header bar in rows 0-1 (created by InitializeGrid; NULL before or without a window).
    CKXInstanceDetailsHeader* GetHeader() const { return m_pHeader; }
    // The header bar's function choice: the rows are limited to that function of the part (0: all).
    void ChooseFunction(const CString& text, int function);
    void SetAutoComplete(BOOL bOn) override;
    void ShowSignalCombo(BOOL bShow) override;
    void RefreshCellControls(int row, BOOL bExpand) override;
    void UpdatePaneTitle() override;
    void ActivateGridView() override;
    // The pin grid most recently initialised or activated; NULL when none.
    static CKXInstanceDetailsGridWnd* m_pCurrentPinGrid;
    // The pane that holds the grid (its site); NULL outside a pane.
    IKXGridSite* GetOwnerPane() const { return Site(); }
    // Appends the rows of one instance. bKeepOrder FALSE: a fresh load (the instance already shown
    // is not reloaded; rows are sorted by pin name); TRUE: a refresh.
    BOOL LoadComponentPins(CDesignContext design, CInstanceContext instance, BOOL bKeepOrder) override;
    // Sorts the pin rows by a column, each top row carrying its child rows along.
    void SortColumn(int col) override;

    // ------------------------------------------------------------- row fill (KXPinGridFill)
    void FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level);
    void FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row);
    void FillPowerPinRows(const std::vector<IInstTerm*>& pins, ROWCOL& row);
    void ApplySignalCellStyle(ROWCOL row, const CString& text, int netId, int connCount, BOOL bShowConn);
    ROWCOL WriteWidePinBitRows(ROWCOL row, const std::vector<int>* only = nullptr);
    kxpingrid::ConnectionSummary SumWidePinBits(IInstTerm* pin);
    void ToggleRow(ROWCOL row);
    void FillDiffPairLegRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level);
    // The SIGNAL cell of a vector row: its one connection, else what its bit rows are connected to.
    using ConnectionSummary = kxpingrid::ConnectionSummary;
    // Bits (or a power group's pins) on different nets show their nets joined by ",", one tool-tip line
    // each; a power group's walk takes all of its pins' rows, a vector's only its own bit rows.
    ConnectionSummary SummariseChildConnections(ROWCOL row, bool powerGroup);
    static constexpr int kConnectionHatch = 20;   // the grid library's pattern of a summarised cell

    // ------------------------------------------------------------- cell styling
    // Property cells of the rows firstRow..lastRow of one pin.
    void StylePropertyCells(IInstTerm* pin, int firstRow, int lastRow);
    // The child level the row's Pin Name cell carries; "noval" when it carries none.
    CString RowChildLevel(ROWCOL row);
    // The property cell of one column for one row, or for every pin row when row is -1.
    void RefreshRowStyles(CString propName, int context, int col, int row);
    // A power-pin group row for the pins at row; row advances by one.
    void StylePinRow(const std::vector<IInstTerm*>& pins, ROWCOL& row);
    // A differential-pair row at row (kind 7 vector pair, 8 a bit of one); parentRow -1: none.
    void StylePinRowProperties(IDPInstTerm* pair, int kind, int parentRow, ROWCOL& row);
    void RefreshInstanceCells(int instanceIndex) override;
    // The Ref Des cells of one instance's rows, or of every row for -1.
    void RefreshRefDesCells(int instanceIndex);
    // An instance whose location changed: its rows' location cells.
    void UpdateLocationCells(int instanceIndex) { RefreshRefDesCells(instanceIndex); }

    // ------------------------------------------------------------- differential pairs
    BOOL IsDiffPairRowSelected() override;
    // The checks and edits of pair pins (KXPinGridPairEdits.h).
    KXPinGridPairEdits& PairEdits() { return *m_pairEdits; }
    static IInstTerm* GetDiffPairFirstLegPin(IDPInstTerm* dpPin);
    // The same pin, as the commit refresh asks for it.
    static IInstTerm* GetDiffPairFirstInstTerm(IDPInstTerm* dpPin) { return GetDiffPairFirstLegPin(dpPin); }
    static IInstTerm* GetDiffPairSecondLegPin(IDPInstTerm* dpPin);
    // The TERMINATION cell of a pin row from the terminations on its pin bit.
    void StyleAssocCompCells(ROWCOL row, int flag);
    // The TERMINATION cell of a differential-pair row from the terminations on its pair pin.
    void FillTerminationCell(ROWCOL row);
    // The termination cells of the listed rows and of their member and bit rows, after an edit of them.
    void RefreshExpandedRow(const CDWordArray& rows);
    // The PUPD cells of the rows on the given nets (every row when the set is empty).
    void FillPupdColumn(std::set<unsigned> netIds);
    // The Pull Up/Down column's cells (KXPinGridPupdColumn.h).
    KXPinGridPupdColumn& PupdColumn() { return *m_pupdColumn; }
    // The associated-components interface the grid's operations use.
    CKXAssocCompAPI* GetAssocCompAPI();

    // ------------------------------------------------------------- associated components
    // Terminations on pin bits and pair pins, pull-ups/pull-downs on net bits and the signal models
    // of pins. Every edit runs in one grid transaction (joined when the caller holds one), is
    // echoed and journalled, and a refused edit leaves the design as it was.
    // The termination of the one selected row (pin bit or pair pin); NULL otherwise.
    IDTInstance* GetSelectedRowTermination();
    BOOL HasTermination() override;
    BOOL HasPupd() override;
    // Hands the terminations of the selection to the system-object server in the transaction.
    bool GetAssociatedInstance(CTransaction* transaction);
    // The transaction a step of the library's dialog goes on in: the grid's open edit transaction
    // (NULL when this grid holds none). CreateAssocCompTransaction is the library's callback for the
    // grid in m_pCurrentGrid.
    CTransaction* RenewAssocCompTransaction(CString name);
    static CTransaction* CreateAssocCompTransaction(CString name);
    static CKXInstanceDetailsGridWnd* m_pCurrentGrid;
    BOOL CanAddTermination() override;
    BOOL CanAddPupd() override;
    BOOL HasPupdOnSelectedNets();
    // TRUE when the row may receive a termination (its pair carries none); report shows why not.
    BOOL CheckAssocComponents(ROWCOL row, BOOL report);
    // The retain question of the running connect (KXPinGridRetain.h).
    KXPinGridRetain& Retain() { return *m_retain; }
    // Terminations: the dialog (double-click, cell button, pane command), the script words and
    // the automation road (InitTermination, then the add command the automation object sends).
    void OnAddTermination() override;
    BOOL AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells, CStringArray* views,
                                CStringArray* physNames, CStringArray* values, CObArray* keyLists,
                                CObArray* instLists, CString delay, CString high, CString low,
                                int parts) override;
    BOOL EditTermination(CStringArray* designators, CMapStringToString* oldToNew,
                         CMapStringToString* keyProps, CMapStringToString* instProps, CString delay,
                         CString high, CString low, int count, int byRefDes,
                         const CMapStringToString* partLooks = nullptr) override;
    BOOL DeleteTerminations() override;
    int InitTermination(CString text) override;
    int ChangeTerminationDelay(const char* delay) override;
    // Pull-ups/pull-downs.
    // Before a pull-up/pull-down: each open target pin gets a new signal (one common signal when
    // the open-pin dialog, or bCommon when scripted, says so) in its own step; 0 when cancelled or
    // refused. The pull-up step finds the rows in m_arrSelectedNetBits.
    BOOL AddConnectionsForPupd(BOOL bScripted, BOOL bCommon) override;
    // The open pins' connections and the pull-up in one edit: when add adds nothing (refused,
    // cancelled) the pins stay open and nothing is journalled. Inside an edit begun elsewhere, that
    // edit keeps or throws away both.
    BOOL AddPupdOnOpenPins(BOOL bScripted, BOOL bCommon, const std::function<BOOL()>& add) override;
    void AddPupd() override;
    BOOL AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName, CString value,
                         CString dcNet, CStringList* keyProps, CStringList* instProps, BOOL bCommon) override;
    BOOL EditPupd(CString parent, CString name, CString refDes, CString dcNets, CStringList* keyProps,
                  CStringList* injProps, BOOL bDiffPair) override;
    BOOL DeletePupds(CStringArray* names, CMapStringToString* values) override;
    int InitPUPD(CString text, int bShort) override;
    int SendDeletePupdCommand(const char* list) override;
    BOOL PastePupdEntry(const CString& type, const CString& name, const CString& data) override;
    // After a pin was connected to another net: puts the pull-up/pull-down the caller handed to the
    // library (getLCVPropFromInstance, with its transaction, kind 2 and no new signal) on the net
    // bit the pin now sits on, in the caller's transaction. TRUE when the net bit carries one of that
    // type now (already had it, or it was added); FALSE with the library's reason otherwise.
    BOOL ReapplyPupd(IDTInstance* instance, INet* net, int bit);
    // Signal models: the dialog half sends the host "assignModel"/"removeModel", whose committing
    // half changes "PIN_SIGNAL_MODEL".
    BOOL AssignModel(int bUseGivenModel, LPCTSTR modelName) override;
    BOOL RemoveModel() override;
    BOOL CanRemoveModel() override;
    BOOL CommitAssignModel(CString modelName) override;
    BOOL CommitRemoveModel() override;
    // Selection publishing: status prompt, current net, property editor and associated-component viewer.
    void NotifySelectionChanged() override;
    // Appends "[list instance pin "number"]" per selected pin, separated by blanks.
    void GetSelectionAsList(CString& list) override;
    // A double-click on a TERMINATION or PUPD cell opens the library's dialog; FALSE for other cells.
    BOOL OnAssocCellDoubleClick(ROWCOL row, ROWCOL col);
    // The automation object of the associated-components library (InitTermination, InitPUPD).
    KXAssocAutomation* GetAssocAutomation();
    KXAssocAutomation& AssocAutomation() override { return *GetAssocAutomation(); }
    int m_bAutomationTransactionOpen = 0;
    // The automation set-up holds its edit open for the add command (CKXGridEdit::Hold): the journal
    // lines of what the set-up did in it wait for that command, and go when the edit is discarded.
    // Whether the set-up began it is CKXGridEdit::IsHeld(*this): its refusal throws that edit away, the
    // add command ends it; a transaction a caller held is left alone.
    bool HoldAutomationEdit(const char* name);
    CString m_heldJournal;
    void ShowHeldSignal(ROWCOL row, const CString& signal);
    void ForgetHeldSignals();
    std::vector<ROWCOL> m_heldSignalRows; // rows that show a signal of the held edit
    int m_bTerminationApplied = 0;

    // ------------------------------------------------------------- reloads and refreshes
    // Loads several instances into the grid (several-instances mode for good).
    BOOL ReloadInstanceRows(CDesignContext design, const std::vector<UINT>& arrInstances,
                            BOOL bNoSort) override;
    // Reloads the grid when it shows one of the instances (NULL: all shown ones), then sorts again.
    BOOL RefreshInstances(const std::vector<IInstance*>* pInstances) override;
    // The rows read again from the design after a refused commit (a delete clears its rows ahead of it).
    void ShowDesignAfterRefusal() override;
    // Every shown instance's rows read again from the design, without undo entries. A cell edit whose
    // cell they drop (a refused typed connection shows the design again) is over.
    void ReadRowsAgain();
    // MSG_INSTANCE_CHANGED: wParam the changed IInstance*.
    LRESULT OnInstanceChanged(WPARAM wParam, LPARAM lParam);
    // MSG_SHOW_POWER_PINS_CHANGED: the host's option of the implicit power pins changed; the rows
    // are loaded again with (or without) them.
    LRESULT OnShowPowerPinsChanged(WPARAM wParam, LPARAM lParam);
    // MSG_TRANSACTION_COMMITTED: lParam the committed CTransaction*; the refresh component shows its changes.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    // The SIGNAL cells of the pair rows on the pair net, rewritten (the refresh component's).
    void RefreshDiffPairNameCells(const IDPNet* pairNet);
    // The SIGNAL, TERMINATION and polarity cells of group, bit and pair rows (KXPinGridSignalCells.h).
    KXPinGridSignalCells& SignalCells() { return *m_signalCells; }
    void RefreshPinTypeCells(IInstance* instance, std::set<int> pinIds);

    // ------------------------------------------------------------- implicit power pins
    // TRUE when the "VellumDraw" section of the project says ALLOW_POWER_PINS on: the pin rows'
    // signal cells are then editable.
    static BOOL m_bAllowPowerPins;
    BOOL IsImplicitPowerPinRow(ROWCOL nRow, int* pbGroup);
    BOOL ExpandImplicitPowerPinRows(CDWordArray& rows, int& nCount);
    void StoreImplicitPinSignal(ROWCOL nRow, CString strSignal);
    // Ties the stored implicit pin signals: TRUE when a pin changed, FALSE when none did,
    // kPowerTieRefused when the design refused one (the caller must not commit its edit).
    BOOL AssignPowerToImplicitPins();
    // Rows and the signals given to them since the last power assignment.
    std::map<int, CString> m_mapImplicitPinSignal;

    // ------------------------------------------------------------- part sections
    // The header's Functions choice and the sections of the part (KXPinGridFunctions.h).
    KXPinGridFunctions& PartFunctions() { return *m_functions; }

    // ------------------------------------------------------------- row model
    int GetRowInstanceIndex(ROWCOL row);
    int GetRowInstTermId(ROWCOL row);
    int GetRowDiffPairConnId(ROWCOL row);
    BOOL IsDiffPairRow(ROWCOL row);
    BOOL IsPowerPinRow(ROWCOL row);
    BOOL IsPowerPinChildRow(ROWCOL row);
    ROWCOL GetRowParentOffset(ROWCOL row);
    // The parent row of a child row; -1 for a row without one.
    int GetParentRow(ROWCOL row) {
        const ROWCOL parent = GetRowParentOffset(row);
        return parent == GX_INVALID ? -1 : static_cast<int>(parent);
    }
    BOOL GetCellVectorInfo(ROWCOL row, CString& baseName, CString& msb, CString& lsb);
    CString GetRowPinName(ROWCOL row, int& msb, int& lsb);
    void SetCellUserAttribute(ROWCOL row, ROWCOL col, UINT id, double value);
    IInstance* GetInstance() override;
    CInstanceContext GetRowInstance(ROWCOL row);
    IInstTerm* GetRowInstTerm(ROWCOL row, int& msb, int& lsb);
    BOOL GetRowInstTermBitContext(ROWCOL row, CInstTermBitContext& out);
    void GetRowBitContexts(ROWCOL row, std::list<CInstTermBitContext>& out);
    INet* GetRowNet(ROWCOL row, int& msb, int& lsb);
    CString GetRowNetName(ROWCOL row, int& msb, int& lsb);
    int GetRowConnIndex(ROWCOL row);
    IDPInstTerm* GetRowDPInstTerm(ROWCOL row);
    // The pair pin the row's pin (its lowest bit) is a leg of; NULL when none.
    IDPInstTerm* GetRowDiffPairInstTerm(ROWCOL row);
    static IDPInstTerm* GetDiffPairInstTerm(IInstTerm* pin, int bit);
    PinRowKind GetRowKind(ROWCOL row, CString& baseName, int& msb, int& lsb);
    void GetChildRows(ROWCOL row, std::list<int>& rows, int legSelector);
    BOOL ExpandRowArray(CDWordArray& rows, int& count);
    // Puts the child rows of each of rows that isParent accepts in its place; count = rows left.
    void ReplaceParentRows(CDWordArray& rows, int& count, const std::function<bool(ROWCOL)>& isParent);
    void JoinChildPinNumbers(ROWCOL row);
    ROWCOL FindPinRow(const CInstanceContext& instance, ROWCOL col, const CString& text, ROWCOL startRow);

    // Names the system-object server gives a pin bit ("" without a server or context).
    CString GetSysObjectName(const CInstTermBitContext* bitContext);
    // Name of the pair pin with that id among the shown instances.
    CString GetContainerName(unsigned id);
    // The rows of this grid the open-pin connection before a pull-up/pull-down chose; the add that
    // follows puts it on their net bits.
    std::vector<ROWCOL> m_arrSelectedNetBits;
    // The net bits of the rows' signals (every bit of a bus row), each with its row: a bus row's bit
    // with its own bit row where the grid has one.
    void CollectSelectedNetBits(const std::vector<ROWCOL>& rows, std::vector<CNetBit>& netBits,
                                std::multimap<CNetBit, ROWCOL>& netBitRows);
    // TRUE when the row filter is off or the text (or one of its ","-separated items) passes it.
    BOOL IsTextInFilterMap(const CString& text);
    // Rewrites the PIN_NAME cells of a renamed pin.
    void GetVectorName(IInstTerm* pin, BOOL withRange);
    // After a pin was renamed: its rows' Pin Name cells, the bus rows' ranged names included.
    void RefreshPinNameCells(IInstTerm* pin);
    BOOL GetPhysPin(IInstTerm* pin);
    void GetRowPinType(IInstance* instance, std::set<int> pinIds);
    // Rewrites the SIGNAL cells that show a renamed net.
    void UpdateVectorNameCells(int netId, const CString& newName);
    // The rows a pin command acts on for the selected rows; returns the number of pin bits.
    int CollectTargetRows(const std::vector<ROWCOL>& selected, std::vector<ROWCOL>& rows, BOOL bExpand,
                          int from, int to);
    // The bit rows that follow a vector group row.
    std::vector<ROWCOL> GroupBitRows(ROWCOL row, PinRowKind kind);

    // ------------------------------------------------------------- connection editing
    // Every edit below runs in one grid transaction ("Add Conn", "Remove Conn", ...), joined when
    // the caller holds one; an edit that changes nothing, or is refused, leaves the design as it was.
    // Connects the selected pins to a signal name, bus range or bit, comma list or naming rule;
    // 1 when something was connected (or a rule was dispatched), 0 when refused.
    int ConnectSelectedPins(CString text, int bEchoToHost) override;
    int ConnectSignalText(CString text, int bEchoToHost);
    // Widens a bus net to cover low..high in the open transaction; FALSE (KXTABLE-141) for a
    // scalar net asked for bits.
    BOOL ChangeNetWidth(INet* net, int low, int high);
    // Joins the row's pin (bits) to the net (netLow/netHigh -1: the whole net; netHigh meets the
    // pin's first bit). Refusals come before any change. TRUE when connected.
    BOOL ConnectPinToSignal(ROWCOL row, CNetContext& net, int netLow, int netHigh, CTransaction* transaction,
                            BOOL newNet);
    // Names the selected pins' signals by a rule (KXAttachSignalRule) and connects them.
    BOOL AttachSignal(CString argument, int rule); // TRUE when pins were connected
    // The name of rules -1 to 3 for a pin (the argument is the prefix or suffix).
    static CString NameByRule(const CString& pinName, const CString& pinNumber, const CString& argument,
                              int rule);
    BOOL CanRemoveDiffPair() override;
    // Removes the pair pins of the selected rows (refused, KXTABLE-155, while one is connected).
    BOOL RemoveDiffPair() override;
    // Connects the differential-pair rows among rows to pair nets; TRUE when one was connected.
    BOOL AddConnection(CDWordArray* rows, BOOL bRuleDriven, CString text, int nRule, BOOL bEcho);
    // The bits one leg pin of a pair leaves, with the net bit each is on now.
    struct LegMove {
        IInstTerm* pin = nullptr;
        std::vector<std::pair<int, CNetBit>> moved;
    };
    // The leg pins' bits that are on a net other than the leg nets of net (any net, when net is null).
    static std::vector<LegMove> PairLegMoves(const IDPInstTerm* pin, const IDPNet* net);
    // With the project's "auto_connect_dpleg" on: for each bit of the pin that is a pair's leg now on
    // a leg net of a pair net, the pair's other leg, when it has no signal, joins the other leg net's
    // bit in the same transaction. The number of legs joined.
    int AutoConnectDiffPairLegs(CTransaction* transaction, IInstTerm* pin, int msb, int lsb);
    // Joins the row's pin to the named signal (a name, bit or range; the net found, made in the
    // transaction or widened); TRUE when connected.
    BOOL ConnectPinToNamedSignal(ROWCOL row, CString signalName, CTransaction* transaction);
    CString m_leadJournal;   // blocks that go before the connect of the row that made them
    CString m_retainJournal; // the retain answer that goes before each row block of the run
    // The bits a journal gives for the next connect's bits dialog ("LSB MSB STEP PIN_LSB PIN_MSB", as the
    // dialog's fields): that connect takes them without asking. FALSE for a text that is not so.
    static BOOL AnswerVectorBitsOnNextConnect(const CString& bits);
    static CString m_vectorBitsAnswer; // empty: none given
    BOOL CanDelete() override;
    const char* NothingToDeleteCause() override;
    BOOL DeleteConnections() override;
    void GetDeleteScriptCommand(CString& command) override;
    // Swaps: the two selected pins exchange their signals; a pin takes another pin number.
    BOOL CanSwapSignals() override;
    BOOL SwapSignals(int flag, CString text) override;
    BOOL SwapSelectedSignals() override;
    int m_bMultipleInstances = 0; // the grid shows the pins of several instances (swaps and numbers span them)
    BOOL CanSwapPins() override;
    BOOL SwapPins(int bScripted, CString pinNumber) override;
    // Pin numbers: the candidates of the current pin (menu ids 35545.., "More..." 35550), the host
    // command every choice travels through, and its committing end in one "Assign Pin" transaction.
    HMTGEN BuildPinNumberMenu(CMenu* menu) override;
    BOOL AssignPinNumberInHost(UINT commandId, BOOL useText, CString text) override;
    BOOL SendAssignPinNumber() override;
    BOOL CommitAssignPinNumber(CString number) override;
    // Appends one argument (instance, pin name, pin number) per selected visible row.
    void AddSelectedPinsToArgs(CTclArgsList* args) override;
    // Appends the argument that names the row's pin: its instance, pin name and pin number.
    void AddPinRowToArgs(ROWCOL row, CTclArgsList& args);
    std::vector<ROWCOL> SelectedPinRows();
    // The pane's map of the nets made in the open transaction.
    void ClearTransactionNetMap();
    INet* FindTransactionNet(const CString& name);
    void RecordTransactionNet(const CString& name, INet* net);
    // Takes a net this connect made out of the joined transaction again (the connect was refused).
    void DropTransactionNet(CTransaction* transaction, INet* net, const CString& name);
    int m_bInConnectDialog = 0; // hosted by the instance-connectivity dialog, which owns the transaction
    // Set at initialisation for a grid whose host commits its edits as a whole (the instance
    // connectivity dialog): a paste then works inside the host's transaction and neither commits nor
    // discards it; a refused paste takes back only what it did itself.
    int m_bHostCommits = 0;
    // The host's Ctrl+V on the selected pins' SIGNAL cells, inside the transaction the host holds.
    int PasteOnSelectedPins(BOOL bPasteSpecial, std::vector<CTclArgsList>* echoes) override;
    // The host commits only when it ends: until then each of its edits is shown from the design, so
    // that the cells (and what a later edit compares with them) are what the pins are connected to.
    void ShowOpenEditChanges() override;
    // Set while ShowOpenEditChanges shows the host's still-open edit: nothing may commit or discard the
    // host's transaction then (no pair-leg completion), or the host could no longer take its edits back.
    int m_bShowingOpenEdit = 0;
    void ForgetOpenEdit() override;
    // How far the host's open transaction is shown on the rows: the changes before the mark are (a mark
    // of no transaction: nothing of the host's current edit is shown yet).
    CTransaction::Mark m_shownEdit;
    std::vector<IChange*> ChangesNotShownYet(const CTransaction& transaction);
    // A net an edit made while the dialog hosts the grid joins its SIGNAL cells' list (once).
    void OfferNewNetName(const CString& name, const INet* net);
    // The user drops the SIGNAL cell list of the first selected pin and picks the entry: the pin connects
    // as to a typed name. FALSE when the list offers no entry of that name or the connect was refused.
    BOOL PickSignalCellEntry(const CString& name) override;

    // ------------------------------------------------------------- cell validation
    // A typed SIGNAL cell connects (cleared: disconnects) the row's pin in one edit; a typed custom
    // property cell goes to the host; FALSE keeps the caret in a refused cell.
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    // Brackets of a typed bus name in the design's bus style ("D[3]", "D(3)" -> "D<3>"); a text in
    // valid bus syntax, and a naming rule, stay as they are.
    static CString NormaliseBusBrackets(CString text);
    int m_bValidateSignalCell = 1;    // re-entry guards: armed while no edit of that kind is applied
    int m_bValidateCustomCell = 1;
    int m_bSendingFilter = 0;
    int m_bPastingSignals = 0;        // a signal paste runs: connects are not echoed
    int m_bSignalEditThroughPane = 0; // grids side by side: a typed signal goes through the Attach Signal box
    int m_bSkipChildRows = 0;         // CollectTargetRows adds no child rows of pair and power rows
    int m_bStoringCellEdit = 0;       // the validated cell's store is no undo step (the design change is)

    // ------------------------------------------------------------- renaming signals
    // Modify Values on the signal cells: not on a pin's name, number, type, termination, pull-up,
    // comment or pair column, nor on a pair row.
    BOOL CanRenameConnections() override;
    // The multiple-value editor over the selected rows' signals; its names go to the host as one
    // "renameConnection".
    void RenameConnections() override;
    // The selected rows take the names (the last one for the rows beyond the list) in one
    // transaction; no names: KXPANE-182 for one row, the editor (result 2) for several.
    // With keys (as many as names), the rows of each key take that key's name.
    int RenameSignal(CStringArray* names, int flag, CStringArray* keys = nullptr) override;
    std::vector<std::pair<ROWCOL, CString>> RenameTargets(const CStringArray& names, const CStringArray* keys);
    // The nets the pins of the rows given a new name are on, once each.
    std::vector<INet*> NetsOfRows(const std::vector<std::pair<ROWCOL, CString>>& rows);
    // Removes the nets of the list a rename left with no pin and nothing else of their own.
    void DropRenamedAwayNets(CTransaction* transaction, const std::vector<INet*>& nets);
    int m_bRenamingSignal = 0; // during RenameSignal: new nets take the old nets' properties
    // While set, journal blocks are held for the edit that holds them, written when it commits.
    int m_bHoldJournal = 0;
    CString m_strHeldJournal;
    void HoldJournal() override;
    void ReleaseJournal(BOOL bWrite) override;
    CString TakeHeldJournal() override;
    // What HoldJournal found, given back by ReleaseJournal.
    int m_bHoldJournalBefore = 0;
    CString m_strHeldJournalBefore;

    // ------------------------------------------------------------- a signal dropped on the grid
    // 1 when the dragged signal may be dropped at the point: a data cell, outside a read-only window,
    // on rows that take it (a pair signal only pair rows); a lone drop selects the row under it.
    BOOL CanDropSignal(CPoint point, const CString& signal) override;
    int SelectVisibleRows(); // the number of rows selected
    // The keyed rows selected (every visible row without keys); named[i] set for each key naming one.
    int SelectKeyedRows(CStringArray* pKeys, const CString& strColumnKey, std::vector<bool>* named);
    // The signal names the last connect run took (a rename keeps those of all its rows).
    static CStringList m_signalNameList;
    static void ClearSignalNameList();

    // ------------------------------------------------------------- editing and navigation
    BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol) override;
    // Ends an edit and commits the grid transaction its validation opened (unless deferred); a
    // transaction that was already open when the edit began is its owner's.
    BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol) override;
    // CKXTransaction::CommitTrans(this, bCommit, bEnd) as the grid's own commit (m_bCommitting set
    // meanwhile: the change it broadcasts is the grid's own, not one made outside).
    BOOL CommitOwnTransaction(BOOL bCommit, BOOL bEnd);
    // Escape, or a refused edit thrown away: the edit is over and leaves nothing to commit.
    void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) override;
    // The running cell edit is over when the grid dropped its control without ending it, so that a
    // later cell stored by a paste never commits the transaction its caller holds.
    void ForgetDroppedEdit();
    // Commands go to the owner pane's undo history.
    void AddCommand(CGXCommand* pCmd, GXCmdType ctType) override;
    // Only the filter row is cleared by the grid; other cells leave the delete to their control.
    BOOL OnDeleteCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    BOOL SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_SCROLLINVIEW | GX_UPDATENOW) override;
    void OnTopRowChanged() override;
    BOOL HideRows(ROWCOL nFromRow, ROWCOL nToRow, BOOL bHide = TRUE, BOOL* abHideArray = nullptr,
                  UINT flags = GX_UPDATENOW, GXCmdType ctCmd = gxDo) override;
    // Rows 0 and 1 (the header dialog row and the row below) always report a cell hit.
    int HitTest(CPoint pt, ROWCOL* pRow = nullptr, ROWCOL* pCol = nullptr,
                CRect* pRectHit = nullptr) override;
    BOOL OnLButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    // A double-click on a comment cell inserts or modifies the comment.
    BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    // The button of a Termination cell opens the termination dialog for the row, as a double-click does.
    BOOL OnClickedButtonRowCol(ROWCOL nRow, ROWCOL nCol) override;
    // MSG_TOGGLE_PINNAME: the pane refreshes the cell controls of its other grids.
    LRESULT OnTogglePinName(WPARAM wParam, LPARAM lParam);
    // After painting: the vertical scroll bar goes while kept in step with the pane, the horizontal always.
    void OnPaint();
    BOOL IsCurrentCellConnectable() override;
    void OnCellControlClick(CPoint point, BOOL* pResult) override;
    void RemoveListPaneSelection() override;
    // F4: the focus goes to the component list.
    void OnKeyF4() override;
    BOOL IsCurrentSignalCellFilled() override;
    BOOL SelectFirstSignalCell() override;
    BOOL SelectNextSignalCell() override;
    // The first row from `row` on that the user sees (the bits of a folded bus and the rows a filter
    // hides are skipped); past the last row when there is none.
    ROWCOL ShownRowFrom(ROWCOL row);
    // Selects the row of the pin named so (with case) and makes its cell of the column current;
    // FALSE when no row shows that pin.
    BOOL SelectColumnByName(const CString& pinName, const CString& columnName) override;
    // Makes current (and selects) the cell of a pin in the keyed column ("Termination", "Signal",
    // "pinname", "pupd", "pinnumber", any case): the pin is found by its number, or by its name when
    // the number is "-1"; the bus or pair rows above it are opened. FALSE when no row or column fits.
    BOOL SelectPinCell(const CString& columnKey, const CString& pinName, const CString& pinNumber) override;
    void ExpandPin(const CString& pinName) override;
    // Opens the bus, pair and lane rows that fold the row, the outermost first.
    void OpenFoldsOf(ROWCOL row);
    BOOL AcceptCellText(ROWCOL row, ROWCOL col, const CString& text);
    // Can-paste judges of the paste-target grid's current cell (clipboard object kinds).
    static BOOL CanPasteObjectHere(int kind);
    static BOOL CanPasteTextHere(int kind);
    // The grid the can-paste judges ask; NULL when none.
    static CKXInstanceDetailsGridWnd* m_pPasteTarget;
    BOOL m_bSyncWithPane = FALSE;   // one of the owner pane's grids kept in step
    BOOL m_bPaneNavigation = FALSE; // keys and clicks cross to the pane's other grids
    BOOL m_bControlClickOff = FALSE;
    BOOL m_bAutoFitPending = FALSE; // a column border was grabbed: a double-click fits the column
    ROWCOL m_nAutoFitColumn = 0;

    // ------------------------------------------------------------- row filter and column modes
    // A filter pattern from the pane's "filterRows" command; an empty column name means the current
    // cell's column. FALSE when no column has that caption.
    BOOL OnFilterCellChanged(CString columnName, CString pattern) override;
    // The filter cell of the column back to "*" (Delete on it), its rows shown again.
    void ClearColumnFilter(ROWCOL col);
    // Every filter cell back to "*", the rows shown again; false when no column filtered anything.
    bool ClearRowFilter();
    // Filters the rows after the user's own change of the column's filter cell (journalled).
    void FilterRowsAsUser(ROWCOL col);
    // Hides the rows that a filter cell's pattern does not match (col: the column being edited).
    void FilterRows(int col);
    // Hides the rows whose pin numbers are not in the function group (0: all functions).
    void HideFilteredRows(int function, BOOL bKeepHidden);
    // After a load or reload: the filter row and the function filter apply to the new rows.
    void ReapplyFilters();
    // Both filters again; function -1 keeps the current function.
    void RefreshFilter(int col, int function, BOOL bLockUpdate);
    void SetColumnMode(BOOL bCompact, BOOL bResetFilter, BOOL bSignalOnly, int gridIndex) override;
    BOOL m_bUserFilterEdit = FALSE; // the filter pattern comes from the user's edit of a filter cell
    int m_nGridIndex = 0;           // place among the pane's grids
    int m_bFunctionFilterRan = 0;
    BOOL m_bCompactColumns = FALSE;
    BOOL m_bSignalOnlyColumns = FALSE; // compact, beside a grid of the same rows: the signal column alone
    BOOL m_bFilterReset = FALSE;

    // ------------------------------------------------------------- find and replace
    // Registers the grid's pin-name column with the controls library's find/replace dialog.
    void FindReplace();
    void ShowFindReplace(BOOL bFind) override;
    // Opens the closed bus (or pair) rows that fold a row away; TRUE when the row then shows.
    BOOL RevealFoldedRow(ROWCOL row);
    CKXFindReplaceDlg* m_pFindReplaceDlg = nullptr; // owned by the controls library
    CGXGridCore* m_pFindCore = nullptr;
    CStringArray m_arrFindCaptions;
    CArray<CPoint, CPoint> m_arrFindHeaderCells, m_arrFindFirstCells;

    // ------------------------------------------------------------- clipboard
    // Echoes the user's copy to the host as "copy pin" with the selected pins and the column key.
    void OnEditCopy() override;
    // Copies the leftmost column of each selected range: plain text plus typed clipboard objects.
    void CopySelection() override;
    // Journal lines showing the grid (its component or group) or a row's grid again; the row a pin key finds.
    CString ShownObjectsJournalLine() override;
    void JournalShownObjects(KXJournalLines& lines);
    void JournalRowShown(KXJournalLines& lines, ROWCOL row, const CString& pinName, const CString& pinNumber);
    // The row's component and pin selected, as a journal replays a selection before an associated edit.
    void JournalAssocSelect(KXJournalLines& lines, ROWCOL row, const char* selectMethod);
    ROWCOL RowOfPinKey(const CString& pinName, const CString& pinNumber);
    BOOL CanCopy() override;
    BOOL CanPaste() override;
    BOOL CanPasteSpecial() override;
    KXEditResult WhyNoPaste() override;
    // Paste: the clipboard's text into the filter row or the cell being edited, else its lines into
    // the current column of the selected rows, each row as if its line were typed (one edit; a row
    // that refuses its line leaves the design as it was). FALSE when nothing was pasted.
    BOOL Paste(CString& strText, BOOL bPasteSpecial) override;
    BOOL PasteFromClipboardViewer(int nItem, int nParam) override;

    // ------------------------------------------------------------- text dump
    // Appends the header texts, the functions and every shown cell to the file; 0 when it cannot
    // be opened for appending.
    int DumpGrid(const char* path) override;

    // ------------------------------------------------------------- context menu
    // The column chooser on the caption row, the pin menu on data rows; the filter row keeps the
    // library's handling.
    BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;

    // ------------------------------------------------------------- script recording
    // The journal handle of the grid's design (the document's, else the design's name).
    CString JournalHandle();

    // ------------------------------------------------------------- property editor and selection
    void ShowPropertyEditor() override;
    // Selects the pin of a read-only PIN_NAME cell in the design (through the message server).
    void ShowPropertiesOfCell(ROWCOL row, ROWCOL col);
    // Hands the shown instances to the property editor.
    void BuildConnObjInfoList();
    void GetSelectedObjects() override;
    void GetShownObjectNames(CString& names) override;
    // Asks the host to go to the current row's pin (or pin bit) in the physical view; FALSE when the
    // row has no pin to go to.
    BOOL EditPin(BOOL bSave) override;
    BOOL CanEditPin() override;
    BOOL CanAssignModel() override;
    // Echoes "selectObject pin KEY ..." of the selected pins to the host (nothing without one).
    void CrossSelectInHost() override;
    // Paints and scrolls to the first row of the pin (or pin bit) the host highlights; mode 3 also
    // restores the row painted before.
    void HighlightObject(CKXHiliteObject* hilite) override;
    // Asks the signal list pane to highlight the net of the tracked row: the one selected row, or of
    // several the current one.
    BOOL HiliteSelection() override;
    ROWCOL m_nLastHighlightRow = PIN_FIRST_ROW;

    // ------------------------------------------------------------- pin comments
    // Key of a row's pin in the comment store: a pair's connection id, an implicit power pin's
    // "name_number", else the pin's (bit or range) name; empty without a pin.
    CString GetCommentPinKey(ROWCOL row);
    BOOL CanInsertComment() override;
    BOOL CanEditComment() override;
    BOOL CanDeleteComment() override;
    void InsertComment(const char* text, int flag) override;
    void EditComment(const char* text, int flag) override;
    void RequestDeleteComment() override;
    void DeleteComment() override;
    void RefreshCommentCells() override;

    // ------------------------------------------------------------- property-change notification
    // MSG_OBJECT_PROPERTY_CHANGED: wParam the property name (const char*), lParam the canonical
    // path of the instance, pin or pin bit (const char*). Refreshes the custom columns of that
    // property; 1 when the object's instance is not shown here.
    LRESULT OnObjectPropertyChanged(WPARAM wParam, LPARAM lParam);

    // ------------------------------------------------------------- selecting rows by keys, alike instances
    // Selects the rows named by keys "pin", "pin:number" or "instance:pin:number" (all visible pin
    // rows for an empty list), in the column of the column key (PIN_NAME when empty).
    void SelectRowsByKey(CStringArray* pKeys, CString strColumnKey) override;
    // The same; the number of rows selected (0: no key matched and the selection is as it was).
    int SelectRowsByKeyCount(CStringArray* pKeys, const CString& strColumnKey) override;
    void SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn, std::vector<bool>& named) override;
    BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt = gxOverride,
                          int nType = 0) override;
    // The pin-name and pin-number texts the rows were written with, in the row index.
    static constexpr char kPinNameText = 'p', kPinNumberText = 'n';
    // Indexes the pin-name or pin-number text a cell was written with (each write does, the fill's too).
    void IndexCellText(ROWCOL row, ROWCOL col, const CGXStyle& style);
    // TRUE when the instances (IInstance*) have one master and the same pins.
    static BOOL AreObjectsAlike(const CDesignContext& design, CPtrList* pObjects);
    // Records the pins of one instance: their bits, and one name entry per pin. 1 when the instance
    // is in the design and has pins, else 0.
    static int CollectObjectNames(const CDesignContext& design, IInstance* object, int reserved,
                                  std::map<CString, std::set<int>>* pPinBits,
                                  std::map<CString, CString>* pNames);

    // ------------------------------------------------------------- custom property columns
    // TRUE when the grid has custom property columns and every name is the key of one.
    BOOL AreColumnsKnown(CStringArray* names) override;
    // Writes the values into the selected rows' custom property columns, in one transaction.
    BOOL ChangeCustomColumnValue(CMapStringToString& values) override;
    BOOL ChangePropValue(const CString& name, const CString& value) override;
    CString CustomColumnKey(const CString& name) override;

    // ------------------------------------------------------------- CSV import
    // MSG_IMPORT_CSV: the PIN_NAME cells get the pins' logical names (a standard FPGA's from its
    // pin file). Only the cell texts change.
    LRESULT OnImportCsv(WPARAM wParam, LPARAM lParam);
    void ImportCsv();
    BOOL m_bImportCsvEnabled = TRUE;

    // ------------------------------------------------------------- state
    CInstanceContext m_instCurrent;
    int m_nFunctionFilter = 0;
    int m_bForceReload = 0;
    int m_bFirstLoad = 1;
    std::vector<UINT> m_arrInstanceIds;
    int m_bIsBlock = 0;
    // The shown part is a standard FPGA part: its pin names (from its pin file) carry their bit ranges.
    int m_bStandardFPGA = 0;
    int m_bHasDiffPairs = 0;
    int m_bShowVectors = 1;
    int m_bShowDiffPairs = 1;
    int m_bRefreshOnCommit = 1; // committed transactions refresh the rows
    int m_nConnEditState = 0;
    int m_bDeferCommit = 0;
    // A grid transaction was open when the running cell edit began (it is not the edit's to commit).
    int m_bEditFoundTransaction = 0;
    int m_nFillMode = 2;                    // 0 leg row, 1 power child row, 2 ordinary row
    KXCsvParser* m_pCsvParser = nullptr;    // the part's pin file while a load runs (pin names from it)
    BOOL m_bFilterActive = FALSE;           // the filter row holds something else than "*"
    int m_bReducedColumns = 0; // several grids side by side: only PIN_NAME, PN and SIGNAL keep a width
    int m_bColumnMode = 0;
    CWnd* m_pOwner = nullptr;
    CKXTableOleDropTarget m_dropTarget; // signals and components dropped on the grid
    int m_bAutoComplete = 0;
    int m_bShowSignalCombo = 0;
    BOOL m_bExpandAll = FALSE;                // the header's expand-all box
    CKXInstanceDetailsHeader* m_pHeader = nullptr; // its window belongs to the header cell control
    // The widths of a column mode: compact, pin name, pin number and signal a third of the window each;
    // signal only, the signal column all of it; else the widths of the column list.
    void SetColumnModeWidths(BOOL bCompact, BOOL bSignalOnly);
    // Hides the columns a column mode leaves out (compact: all but pin name, pin number and signal;
    // signal only: the row header, pin name and pin number too) and shows them again otherwise.
    void HideColumnModeColumns(BOOL bCompact, BOOL bSignalOnly);
    // A refused paste in the host's edit: the names of the nets it made leave the pane's map of the
    // transaction's nets and the SIGNAL cells' list.
    void TakeBackNetNames(const std::vector<CString>& names);
    // While set, the nets a paste makes (by name).
    std::vector<CString>* m_pPasteNewNets = nullptr;
    // The SIGNAL cells' combo control (owned by the grid core); in the instance connectivity dialog
    // its drop-down list is the grid's own and takes the names of the nets the dialog's edits make.
    CKXSpinControl* m_pSignalCombo = nullptr;
    std::unique_ptr<CKXListComboBox> m_pSignalList;
    std::unique_ptr<CKXAssocCompAPI> m_pAssocCompAPI;
    std::unique_ptr<KXAssocAutomation> m_assocAutomation;

private:
    // Associated-component helpers.
    CDesignContext MasterDesign() const;
    IInstTerm* GetRowPinForAssoc(ROWCOL row, int& msb, int& lsb);
    void WriteTerminationCell(ROWCOL row, const CString& type, const CString& tip, BOOL enabled);
    CString JournalAssocText(ROWCOL row, const char* selectMethod, const char* comment);
    // Connection editing helpers.
    CString NewAutoName();
    void EchoSelection();
    void SendEcho(CTclArgsList& list);
    // The journal block of one row's edit: its selection, a comment and the pane call; empty when
    // not journalling. Edits build their blocks before they commit and write them after.
    CString JournalRowText(ROWCOL row, const char* comment, const char* method, const CString& argument = CString(),
                           bool withArgument = true);
    void WriteJournal(const CString& text);
    // The pane call that replays a row's connection: AddConnection, or in a window of open mode 0, which
    // takes connections only typed into the Signal cells, the typing itself (TypeSignal).
    const char* ConnectJournalMethod() const;
    CString m_pendingJournal; // blocks of pair rows connected inside a larger connect
    // A pin row whose Signal cell shows no text while some of its bits are connected (each bit to
    // another net, or some bits cleared): an empty text takes those connections off.
    bool EmptyTextChanges(ROWCOL row, ROWCOL col) override;
    BOOL TypeIntoSignalCell(ROWCOL row, const CString& name);
    // The text of the net the pin's bits are on in the design (one net), else the shown text.
    CString PinNetText(IInstTerm* pin, int msb, int lsb, const CString& shown);
    // What a signal cell shows for a net and the bits a pin meets (high is the bit that meets the
    // pin's first bit): the plain name for a scalar net or no bits, else the bit or the bit range.
    static CString NetRangeText(const INet& net, int high, int low);
    void MergeRenamedNet(CTransaction* transaction, const CString& oldText, INet* newNet);
    // Composed style of a cell (row, col).
    CGXStyle CellStyle(ROWCOL row, ROWCOL col);
    // The same style read where the grid keeps it, without a copy (this grid composes nothing into a
    // cell's style when it is read): for the row-model readers, which look at a few attributes of
    // many rows. Valid until the grid changes; an empty style outside the grid.
    const CGXStyle& StoredCell(ROWCOL row, ROWCOL col);
    // The value a data cell shows (GetValueRowCol), read from the cell itself when it carries one.
    CString ShownValue(ROWCOL row, ROWCOL col);
    CString AttrText(ROWCOL row, ROWCOL col, UINT id);
    // Writes a cell without redrawing (an undo step while undo is on); a cell written for the first time
    // with undo off, as the fill writes, is stored in one step.
    void WriteCell(ROWCOL row, ROWCOL col, const CGXStyle& style);
    inline void StoreCell(ROWCOL row, ROWCOL col, const CGXStyle& style); // KXInstanceDetailsGridWnd.cpp only
    // The termination type of a pin bit (its tooltip in tip); empty when none or the bit is unconnected.
    CString PinTermination(IInstTerm* pin, int bit, CString& tip);
    // The termination type a row shows: its pin bit's, or for a whole bus row the type all its bits share (else none).
    CString RowTermination(IInstTerm* pin, int msb, int lsb, CString& tip);
    kxpingrid::PinFillStyles m_fillStyles;
    WORD PropStateStyle(int state) const;
    bool IsSameDesign(const IDesign* design) const;
    bool IsShownInstance(const IInstance* instance) const;
    // Rows by what they show: every pin row by its pin (KXRowKey::Of(kPinRows, id)) and its pin bit
    // (KXRowKey::PinBit, bit -1 for a scalar pin or a vector's own row), every signal cell by its net
    // (KXRowKey::Net). Written where the pin-name and signal cells are written; a key may outlive what
    // its row shows, so users check the row.
    static constexpr char kPinRows = 'P';
    KXRowIndex m_rowIndex{*this};
    void IndexPinCell(ROWCOL row, const CGXStyle& style);
    // The keys of a pin row showing the pin's bit (-1: the whole pin), as IndexPinCell reads them from
    // its pin-name cell.
    void IndexPinRow(ROWCOL row, int pinId, int bit);
    // A filled row's pin-name cell, the row indexed from what the fill knows.
    void WritePinNameCell(ROWCOL row, const CGXStyle& style, int pinId, int bit);
    // The rows whose signal cells may show one of the nets, ascending.
    std::vector<ROWCOL> RowsOfNets(const std::set<unsigned>& netIds) const;
    void WritePropertyCell(ROWCOL row, int col, const CString& value, int state, const CString& level);
    BOOL PropertyCellValue(ROWCOL row, int col, IInstTerm* pin, CString& value, int& state);
    void WriteInstanceCells(ROWCOL row, const CInstanceContext& inst, const CString& level);
    void RefreshInstanceColumn(int instanceIndex, bool instanceName);
    // Styles the caption cell (row 2) of a column.
    void StyleCaptionCell(int col, const CString& caption);
    int AverageCharWidth() const;

    // The refresh after a committed transaction.
    std::unique_ptr<KXPinGridRefresh> m_refresh;
    std::unique_ptr<KXPinGridFill> m_fill;     // the row fill
    std::unique_ptr<KXPinGridLoader> m_loader; // the steps of LoadComponentPins
    std::unique_ptr<KXPinGridPower> m_power;   // the implicit power pins
    std::unique_ptr<KXPinGridPairConnect> m_pairConnect; // connects of pair rows to pair nets
    std::unique_ptr<KXPinGridRules> m_rules;             // the naming rules of AttachSignal
    std::unique_ptr<KXPinGridValidate> m_validate;       // the validation of a typed cell
    std::unique_ptr<KXPinGridFilter> m_filter;           // the row filter
    std::unique_ptr<KXPinGridSetup> m_setup;             // the steps of the grid's set-up
    std::unique_ptr<KXPinGridKeys> m_keys;               // the rows a script key names
    std::unique_ptr<KXPinGridPairEdits> m_pairEdits;     // checks and edits of pair pins
    std::unique_ptr<KXPinGridPupds> m_pupds;             // the steps of pull-up edits
    std::unique_ptr<KXPinGridFunctions> m_functions;     // the part's functions and sections
    std::unique_ptr<KXPinGridSignalCells> m_signalCells; // the cells of group, bit and pair rows
    std::unique_ptr<KXPinGridPupdColumn> m_pupdColumn;   // the Pull Up/Down column's cells
    std::unique_ptr<KXPinGridPairNets> m_pairNets;       // pair nets of typed pair names
    std::unique_ptr<KXPinGridDisconnect> m_disconnect;   // connections taken off rows
    std::unique_ptr<KXPinGridPinNumbers> m_pinNumbers;   // swaps and pin-number candidates
    std::unique_ptr<KXPinGridAssocPaste> m_assocPaste;   // pastes of copied terminations and pull-ups
    std::unique_ptr<KXPinGridPlainConnect> m_plainConnect; // connects to a plain signal text
    std::unique_ptr<KXPinGridRetain> m_retain;             // the retain question of a connect run
    std::unique_ptr<KXPinGridTerminations> m_terms;        // the terminations' targets and dialog steps
    std::unique_ptr<KXPinGridPublish> m_publish;           // what the selection publishes
    std::unique_ptr<KXPinGridPaste> m_paste;               // the paste of signal names
    std::unique_ptr<KXPinGridCopy> m_copy;                 // the steps of a copy
    std::unique_ptr<KXPinGridComments> m_comments;         // the Comments column
    std::unique_ptr<KXPinGridCustom> m_custom;             // custom property column changes

    DECLARE_MESSAGE_MAP()
};
