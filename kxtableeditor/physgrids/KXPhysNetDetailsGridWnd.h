// The physical net grid: every pin on one physical net (or on several nets at
// once) of the packaged design, with its part, pin number, logical pin, type and
// signal model. Only the signal models are edited here.
//
// Each pin row is found again through the pin map: the text of its LOCATION
// cell, a colon and its PN cell name the logical pin bit on that row.
#pragma once

#include "physgrids/KXPhysGridWnd.h"
#include "physgrids/KXPhysPinMap.h"
#include <map>

class IPhysNet;
class IPhysPin;
class IPhysPowerPin;
class CTransaction;

class CKXPhysNetDetailsGridWnd : public CKXPhysGridWnd {
    DECLARE_DYNCREATE(CKXPhysNetDetailsGridWnd)

public:
    CKXPhysNetDetailsGridWnd();
    ~CKXPhysNetDetailsGridWnd() override;
    // The net grids' column layout becomes the default customisation (bReparse: taken in too).
    void SaveColumnCustomization(BOOL bReparse) { CKXPhysGridWnd::SaveColumnCustomization(bReparse); }

    KXPhysLayout Layout() const override;
    ROWCOL ModelColumn() const override { return static_cast<ROWCOL>(m_nColSignalModel); }

    // ------------------------------------------------------------- window and columns
    // The columns of every physical net grid ("PHYSCP").
    static CKXColumnModel& Columns();
    CKXColumnModel& ColumnModel() const override { return Columns(); }
    const char* ObjectCaption() const override { return "Phys Net Name"; }
    KeyColumns KeyColumnNumbers() const override;
    CGXStyle FilterCellStyle() const override;
    void FillPropertyColumnOfLayout(ROWCOL col, const CKXColumnInfoClass& info) override {
        RefreshPropertyColumn(info.m_strPropertyName, info.m_nPropertyType, static_cast<int>(col));
    }
    static int m_nColPhysNetName, m_nColLocation, m_nColPinNumber, m_nColPinName, m_nColPinType,
        m_nColSignalModel;
    // The model's descriptors, their captions and count, as the grid's column code reads them.
    static const CKXColumnModel::Layout& m_arrColumnInfo;
    static std::vector<CString> m_arrColumnCaptions;
    static int m_nColCount;
    void OnColumnsTaken() override {
        m_arrColumnCaptions = ColumnCaptions();
        m_nColCount = ColumnCount();
    }
    static CKXPhysNetDetailsGridWnd* m_pActiveGrid;
    void ShowNetColumnAsShownNets();

    using CKXGridWnd::InitializeGrid;
    void InitializeGrid(IKXGridSite* site, CDesignContext design);
    // Finds and replaces in the part locations, from the first pin row.
    void SetupFindReplace() {
        m_pFindReplace = CKXPhysGridWnd::SetupFindReplace("Physical Net Connectivity Details",
                                                          CPoint(kxphys::kNetCaptionRow, m_nColLocation),
                                                          CPoint(kxphys::kNetFirstRow, m_nColLocation));
    }
    void ShowFindReplace(BOOL bFind) override;
    CKXFindReplaceDlg* m_pFindReplace = nullptr; // the find/replace service's dialog of the grid
    void FormatHeaderRows();
    void UpdateTitleRow();
    void InitBlankRowStyle(ROWCOL row);
    // "PHYSCP\<key>": the filter combo's settings key of a column; empty for -1.
    static int GetColumnSettingsKey(int col, CString& key);
    void GetColumnMenuText(int col, CString& text, BOOL& bEnabled) override;
    LRESULT OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam);

    // ------------------------------------------------------------- rows
    int LoadPhysNet(CDesignContext design, const std::vector<CString>& netNames);
    int PopulatePhysNet(CDesignContext design, IPhysNet* net, CString excludedSpaths);
    void AddPowerPinRow(ROWCOL row, IPhysPowerPin* pin);
    // After the nets are filled: sorted by location, filters reset, spare rows below, rows indexed.
    void FinishLoad();
    void RefreshRows();
    void SetExcludedSpathList(CString netName, CString excludedSpaths);
    const CString& ShownNetName() const { return m_strNetName; }
    // The shown net's name; the names of every net a grid of several shows, separated by blanks.
    CString ShownNetNames() const;
    void RenamePhysNet(CString netName);
    void RefreshRowsByName(CString location) override;
    void OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) override;
    // A pin joined to or parted from a shown net (in any window), or a part placed or removed: the
    // rows are read again, so that no row shows a pin the net no longer has.
    void OnConnectionsChanged() override {
        if (!m_bCommitting) ReloadRows();
    }
    void RenameLocationInRows(CString newLocation, CString oldLocation);
    // Reads the shown nets' rows again from the physical view, keeping the filter texts, the sort and
    // the current pin row.
    void ReloadRows();
    ROWCOL PinRowOf(const CString& location, const CString& pinNumber) override;
    ROWCOL PinNumberColumn() const override { return static_cast<ROWCOL>(m_nColPinNumber); }
    ROWCOL PinNameColumn() const override { return static_cast<ROWCOL>(m_nColPinName); }
    // The net's pins are of several parts, whose pin names and numbers repeat: the journal names a
    // row's pin by its part (Ref Des) and number, as SelectInstanceCol selects it.
    const char* JournalPinSelect() const override { return "SelectInstanceCol"; }
    ROWCOL JournalPinKeyColumn() const override { return static_cast<ROWCOL>(m_nColLocation); }
    BOOL& FilterEchoFlag() override { return m_bSendingFilterCommand; }
    // Indexes the pin rows by their keys once the rows have moved as a whole (load, sort).
    void IndexPinRows();
    void RefreshPropertyColumn(CString property, int objectKind, int column);
    // The package pin of the shown nets at a part's location with a pin number, given as the logical
    // pin bit on it; FALSE when the grid shows none. A number alone would name the pin of every part
    // on the net that has that number: the location says whose.
    BOOL FindPhysPin(const CString& location, const CString& pinNumber, CInstTermBitContext* bit);
    // The package pin of a row (its LOCATION and PN cells); FALSE for a row without one.
    BOOL GetRowPhysPin(ROWCOL row, CInstTermBitContext* bit);
    CString RowKey(ROWCOL row) override;
    bool IsRowKeyColumn(ROWCOL col) const override;
    // The last row of pins (the spare rows below it are blank).
    ROWCOL LastPinRow();

    // ------------------------------------------------------------- signal models
    BOOL CanRemoveModel() override;
    BOOL CanEditPin() override;
    BOOL CanAssignModel() override;
    BOOL PasteFromClipboardViewer(int item, int param) override;
    BOOL DeleteSelection() override;
    BOOL AssignModel(int bUseGiven, LPCTSTR model) override;
    BOOL RemoveModel() override { return DeleteSelection(); }
    // The committing halves of the script words: the selected pins take the model or lose theirs;
    // FALSE (with its message where there is one) when nothing changed.
    BOOL AssignModelByName(const CString& model);
    BOOL RemoveModels() { return CommitModelOnRows(SelectedPinRows(), CString()); }
    BOOL EditPin(BOOL flag) override;
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    // Pastes the clipboard's lines into the model cells from the first selected row on.
    BOOL PasteModels(const CString& text);
    // One pasted line on a row: the row's pin takes it as its model in the open transaction; FALSE
    // when the row has no pin or the line is empty.
    BOOL PasteCellValue(CTransaction* transaction, ROWCOL row, ROWCOL col, const CString& value);
    void SetSignalModelCellStyle(ROWCOL row) override;
    BOOL RemovePinSignalModel(CTransaction* transaction, ROWCOL row);
    BOOL CanDelete() override { return TRUE; }

    // ------------------------------------------------------------- clipboard, filter, sort, selection
    void OnEditCopy() override;
    BOOL SetColumnFilter(CString colName, CString filter);
    void FilterRows(ROWCOL col);
    void OnSortColumn(int col) override;
    // The pin rows' index follows the rows.
    void SortColumn(int col) override;
    void RestoreUnsortedOrder(const std::vector<CString>& order) override;
    int SortByColumnName(CString colName);
    // Selects the first shown row of the pin (by its pin number too unless that is "-1").
    BOOL SelectPinCell(const CString& pinName, const CString& pinNumber);
    // Selects the shown row of a part's pin (its Ref Des and pin number); FALSE when none shows it.
    BOOL SelectPartPin(const CString& location, const CString& pinNumber);
    void GetShownObjectNames(CString& names) override;

    // ------------------------------------------------------------- publishing the selection
    void NotifySelectionChanged() override;
    void ShowPropertyEditor() override;
    // Asks the host to select the shown net (pin rows only).
    void SendSelectionMessage(ROWCOL row, ROWCOL col);
    void RemoveListPaneSelection() override;
    void GetSelectedObjects() override;
    void GetSelectedObjectNames() override;
    CCommonInterface* ListPane() const override;
    void CrossSelectInHost() override;
    void UpdatePaneTitle() override;
    void ActivateGridView() override;
    BOOL SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_SCROLLINVIEW | GX_UPDATENOW) override;
    BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    int DumpSCP(const char* path);
    static BOOL CanPasteNever(int type);
    static BOOL CanPasteSignalModel(int type);
    BOOL CanPasteSpecial() override;

    CString m_strNetName;
    CString m_strExcludedSpaths;
    BOOL m_bSendingFilterCommand = FALSE; // a filter-row edit is being sent to the host
    BOOL m_bColumnWidthsPending = TRUE;
    bool m_bTrackingColWidth = false; // a width drag started on a border and no move followed
    bool& WidthDragUnmoved() override { return m_bTrackingColWidth; }

private:
    CKXPhysPinMap m_mapRowPins;
    std::vector<CString> m_loadedNets; // the nets LoadPhysNet showed together
    // Each shown physical net's logical net bit, by the net's name: a net is found again by it when its
    // physical name changes.
    std::map<CString, CString> m_logicalNetOf;
    // Follows the shown nets to the names they have now: title, Phys Net Name cells and the names the
    // rows are read again by.
    void FollowRenamedNets();
    void WritePinCells(ROWCOL row, const CString& location, const CString& pinType, const CString& pinNumber,
                       int instanceId, const CString& pinName);
    void CoverHeaderRows() override;
    void AppendSpareRows();
    // The journal line that shows the grid's net again on replay.
    CString JournalObjectSelection(ROWCOL row) override;
    // What a selection key ("net:pin:number", "pin:number", "number") asks of the rows.
    KXPhysRowQuery KeyQuery(const CString& key);
    std::vector<ROWCOL> RowsOfKeys(const CStringArray& keys, const CString& column, ROWCOL& keyCol) override;
    std::vector<ROWCOL> SelectedPinRows();
    BOOL CommitModelOnRows(const std::vector<ROWCOL>& rows, const CString& model) override;

    DECLARE_MESSAGE_MAP()
};
