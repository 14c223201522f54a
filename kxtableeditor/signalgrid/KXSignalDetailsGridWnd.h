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
#include "grid/KXGridWnd.h"
#include "grid/KXTableOleDropTarget.h"

#include "rmx/context.h"

#include <memory>
#include <unordered_map>
#include <vector>

class IKXGridSite;
class CKXAssocCompAPI;
class CKXGridACListBox;
class CFrameWnd;
class CTransaction;

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

class CKXSignalDetailsGridWnd : public CKXGridWnd, private KXChangeHooks {
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
    // A dragged width goes to the shared model and to every signal grid.
    void OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) override;
    // MSG_COLUMN_LAYOUT_CHANGED of the signal-grid kind: the grid takes the model's layout.
    LRESULT OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam);
    // Rows 0 to 4 and the column widths.
    void FormatHeaderRows();
    CKXColumnInfoClass* GetColumnInfo(int col) override;
    // Settings key "SCP\<key>" of a column for the filter combo; -1 for column -1.
    static int GetColumnSettingsKey(int col, CString& key);
    int GetColWidth(ROWCOL nCol) override;
    // The name of a column in script commands: "pupd", else the column's title.
    CString GetColumnScriptName(int col);
    // The column whose title is the name (ignoring case; "pupd" the PUPD column); -1 when none.
    int GetColumnFromName(const CString& name);
    BOOL AreColumnsKnown(CStringArray* names) override;
    // Sorts the filled rows by a column; the blank rows stay at the end.
    void SortColumn(int col) override;
    void SortRows(int col, BOOL bAscending) override;

    // ------------------------------------------------------------- rows
    BOOL LoadNets(CDesignContext design, const std::vector<CNetContext>& nets);
    BOOL LoadNetBits(CDesignContext design, const std::vector<CNetBitContext>& bits);
    BOOL AddNetRows(CDesignContext design, CNetContext net);
    BOOL AddNetBitRows(CDesignContext design, CNetBitContext bit);
    // Writes every cell of an existing row for one connection.
    void FillConnectionRow(ROWCOL row, const CConn& conn);
    // After a transaction created a connection: writes it into blank rows unless a row shows it.
    void FillConnectionRows(const CConn& conn);
    // The TERMINATION cell of a row.
    void SetBitsConnectedRow(ROWCOL row, ROWCOL col);
    // The INSTANCE cell of a row.
    void SetCellWithEllipsis(ROWCOL row, const CString& name, int id);
    // Signal Name and Physical Name cells of the rows of one net (every net for (unsigned)-1).
    void FillNetNameCells(unsigned netId);
    void ShowNetTitle(INet* net);
    void ShowNetBitTitle(const CNetBitContext& bit);
    void SetTitleCell(const CString& text);
    const CString& GetTitle() const { return m_strTitle; }
    // A blank, editable data row.
    void RestyleRow(ROWCOL row);
    // The PUPD cell of a row from the pull-ups and pull-downs on a net bit.
    void SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp, bool aliasDown);

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
    void ComponentChoices(ROWCOL row, int col, std::vector<CString>& choices);

    // ------------------------------------------------------------- editing
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    BOOL CommitCellEdit(ROWCOL row, ROWCOL col, CString text, BOOL bShowMessages);
    BOOL FillSelectedCells(ROWCOL row, ROWCOL col, const CString& text);
    IInstTerm* CheckPinName(IInstance* inst, const CString& pinName, int& msb, int& lsb);
    BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol) override;
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
    // Appends a blank row for an instance (INSTANCE, CELL, LOCATION filled); row receives it.
    BOOL AddInstanceRow(const CInstanceContext& instance, ROWCOL* pRow);
    // ------------------------------------------------------------- deleting and selecting by key
    BOOL CanDelete() override;
    void GetDeleteScriptCommand(CString& command) override;
    // The pane's Delete command: terminations in the TERMINATION column, else the selected rows.
    BOOL DeleteSelection() override;
    // Disconnects and removes the selected rows that show a connection; TRUE when one went.
    BOOL DeleteConnections() override;
    BOOL DeleteTerminationOfPin(CTransaction& tx, const CInstTermBit& bit);
    // Keys "pin number:instance:start bit:end bit:signal"; no keys selects every shown row.
    void SelectRowsByKey(CStringArray* pKeys, CString keyColumn) override;
    // Makes the cell of the row of instance and pin number current in the kind's column
    // ("instance", "pinname", "Termination"); FALSE when no row has them.
    BOOL SelectPinCell(const CString& kind, const CString& instance, const CString& pinNumber);
    // TRUE while the grid echoes a connection it has made: the command coming back is a record.
    BOOL IsEchoingConnection() const { return m_bConnectEcho; }

    // ------------------------------------------------------------- refresh after commit
    // MSG_TRANSACTION_COMMITTED: the changes of the transaction reach the rows that show them
    // through the typed hooks below.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam);
    void RemoveConnectionRow(const CConn& conn);
    void UpdatePinNumberCell();
    void UpdateLocationCell();
    void UpdateInstTermCell(unsigned instanceId, unsigned pinId);
    void UpdatePinTypeCell(unsigned instanceId, unsigned pinId);
    void UpdatePupdCellOfRow(ROWCOL row, int firstBit, int secondBit);
    void UpdateRowAfterConnect(ROWCOL row, const CInstanceContext& instance, IInstTerm* pin,
                               const std::vector<std::unique_ptr<CKXPinData>>& records);
    void RefreshInstanceNameCells(IInstance* instance);

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
    BOOL m_bAutoComplete = FALSE;

private:
    // Shared loader of AddNetRows and AddNetBitRows.
    BOOL AddRows(const CDesignContext& design, INet* net, int bit);
    BOOL DeleteRows(BOOL bConnectedOnly);
    // Row insertion and removal that keep the pin index and the blank-row hint right.
    void InsertDataRows(ROWCOL at, ROWCOL count);
    void RemoveDataRows(ROWCOL from, ROWCOL to);
    // Forgets the index (rows reloaded or sorted); the next look-up builds it again.
    void DropRowIndex();
    void IndexPinRow(unsigned pinId, ROWCOL row);
    // The row may be blank now: the search for a blank row starts no later than it.
    void RowCleared(ROWCOL row);
    // The rows that show the pin, ascending.
    std::vector<ROWCOL> PinRows(unsigned pinId);
    BOOL DeleteTerminationsOfSelection();
    // Column 0 wide enough for the row numbers.
    void SizeRowHeaderColumn();
    // The blank rows after the last filled row.
    void AppendBlankRows(ROWCOL count);
    void WriteCell(ROWCOL row, int col, const CGXStyle& style);
    // A number attribute of a row's cell; `absent` when the cell has none.
    int RowAttr(ROWCOL row, int col, KXAttr<int> attr, int absent);
    // Signal Name and Physical Name of a row for a net bit (bit -1: the whole net).
    void WriteNetNameCells(ROWCOL row, INet* net, int bit, const CString& signalText, const CString& physical);
    CString PhysicalNetName(INet* net, int msb, int lsb);
    void ClearRowPin(ROWCOL row, BOOL bClearName);
    // Refuses an edit: the message (when shown) and the cell back to its stored value.
    BOOL Refuse(BOOL bShowMessages, const char* id);
    void EchoConnection(ROWCOL row, const CString& pinNumber, bool scalarNet);
    void JournalConnection(ROWCOL row, const CString& pinNumber, bool scalarNet);
    CString JournalHandle();
    void MarkModified();
    CKXAssocCompAPI* GetAssocCompApi();
    BOOL IsSameDesign(IDesign* design) const;
    void SendHostMessage(const char* text);

    // Change hooks of the committed-transaction digest.
    void OnDigestBegin(const KXChangeDigest& digest) override;
    void OnComponentChange(const IChange& change, IDTInstance& component) override;
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnTermChange(const IChange& change, ITerm& term) override;
    void OnConnChange(const IChange& change, CConn& conn) override;
    bool m_bTerminationsRefreshed = false; // the digest being dispatched refreshed every termination
    bool m_bFollowConnections = false;     // its connection changes come from elsewhere

    std::unordered_map<unsigned, std::vector<ROWCOL>> m_pinRows; // pin id -> rows showing it
    bool m_bPinIndexValid = false;
    ROWCOL m_nEmptyHint = kxsignal::kFirstDataRow; // no blank data row lies above it

    BOOL m_bConnectEcho = FALSE;
    BOOL m_bStoringEdit = FALSE; // a validated data-cell edit is being stored
    CString m_strTitle; // the text of the title cell

    DECLARE_MESSAGE_MAP()
};
