// The physical part grid: every package pin of one physical part instance (or
// of several), with its pin number, the logical pin on it, its type, the
// physical net on it and its signal model. It assigns pin numbers, swaps pins
// and assigns and removes signal models; a header bar above the rows names the
// part and filters the rows by function (section).
//
// Each pin row is found again through the pin map: the text of its "Physical
// Part" cell, a point and its PN cell name the logical pin bits on that package
// pin. A row stands for a package pin; after a pin-number change the rows of the
// numbers concerned are read again from the packaging server, so rows and map
// keep naming the right pins.
#pragma once

#include "physgrids/KXPhysGridWnd.h"
#include "physgrids/KXPhysPinMap.h"

#include "rmx/hmtpi.h"

#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>

class CKXPhysPartDetailsHeader;
class IPhysPartInst;
class IPhysPin;
class CTransaction;
class CKXHiliteObject;
class CMenu;

class CKXPhysPartDetailsGridWnd : public CKXPhysGridWnd {
    DECLARE_DYNCREATE(CKXPhysPartDetailsGridWnd)

public:
    CKXPhysPartDetailsGridWnd();
    ~CKXPhysPartDetailsGridWnd() override;
    // The part grids' column layout becomes the default customisation (bReparse: taken in too).
    void SaveColumnCustomization(BOOL bReparse) { CKXPhysGridWnd::SaveColumnCustomization(bReparse); }

    // ------------------------------------------------------------- layout
    KXPhysLayout Layout() const override;
    ROWCOL ModelColumn() const override { return static_cast<ROWCOL>(s_nSignalModelCol); }

    // ------------------------------------------------------------- window and columns
    // The columns of every physical part grid ("PHYCCP").
    static CKXColumnModel& Columns();
    CKXColumnModel& ColumnModel() const override { return Columns(); }
    const char* ObjectCaption() const override { return "Physical Part"; }
    KeyColumns KeyColumnNumbers() const override;
    CGXStyle FilterCellStyle() const override;
    void FillPropertyColumnOfLayout(ROWCOL col, const CKXColumnInfoClass& info) override {
        FillPropertyColumn(info.m_strPropertyName, info.m_nPropertyType, col, static_cast<ROWCOL>(-1));
    }
    static int s_nPhysPartCol, s_nPNCol, s_nPinNameCol, s_nPinTypeCol, s_nSignalCol, s_nSignalModelCol;
    // The row-header column and the first pin row (fixed).
    static constexpr int s_nRowHeaderCol = 0;
    static constexpr ROWCOL m_nFirstPinRow = kxphys::kPartFirstRow;
    // The model's descriptors, their captions and count, as the grid's column code reads them.
    static const CKXColumnModel::Layout& s_arrColumnInfo;
    static std::vector<CString> s_arrColumnCaptions;
    static int s_nColumnCount;
    void OnColumnsTaken() override {
        s_arrColumnCaptions = ColumnCaptions();
        s_nColumnCount = ColumnCount();
    }
    // The part grid whose current cell was set last (the clipboard's can-paste judges ask it).
    static CKXPhysPartDetailsGridWnd* s_pActiveGrid;

    using CKXGridWnd::InitializeGrid;
    void InitializeGrid(IKXGridSite* site, CDesignContext design);
    // Finds and replaces in the pin numbers, from the first pin row.
    void SetupFindReplace() {
        m_hFindReplace = CKXPhysGridWnd::SetupFindReplace("Physical Part Connectivity Details",
                                                          CPoint(kxphys::kPartCaptionRow, s_nPNCol),
                                                          CPoint(kxphys::kPartFirstRow, s_nPNCol));
    }
    void ShowFindReplace(BOOL bFind) override;
    CKXFindReplaceDlg* m_hFindReplace = nullptr; // the find/replace service's dialog of the grid
    bool m_bTrackingCol = false; // a width drag started on a border and no move followed
    bool& WidthDragUnmoved() override { return m_bTrackingCol; }
    void FormatHeaderRows();
    // "PHYCCP\<key>": the filter combo's settings key of a column; empty for -1.
    static int GetColumnSettingsKey(int col, CString& key);
    void GetColumnMenuText(int col, CString& text, BOOL& bEnabled) override;
    LRESULT OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam);
    BOOL CanPasteSpecial() override { return FALSE; }
    BOOL CanCopy() override { return TRUE; }
    int HitTest(CPoint pt, ROWCOL* pRow = nullptr, ROWCOL* pCol = nullptr,
                CRect* pRectHit = nullptr) override;
    BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt = gxOverride,
                          int nType = 0) override;
    BOOL OnClickedButtonRowCol(ROWCOL, ROWCOL) override { return FALSE; }
    void OnCellControlClick(CPoint point, BOOL* pKeepSelection) override;
    CKXPhysPartDetailsHeader* GetHeader() const { return m_pHeader; }
    // A size change lays the header bar out over the visible part of its cell (one line or two).
    void OnSize(UINT nType, int cx, int cy) override;

    // ------------------------------------------------------------- pin rows
    // Several parts side by side in one grid (multi-part mode from then on), each shown once; 1.
    int LoadPhysPart(CDesignContext design, const std::vector<IPhysPartInst*>& parts, const CString& excludedPaths);
    BOOL PopulatePhysPart(CDesignContext design, IPhysPartInst* part, CString excludedPaths, BOOL bForce);
    // Writes one package pin into the row already inserted; false when it needs no row of its own.
    bool FillPinRows(IPhysPin* pin, int function, ROWCOL row);
    void AddImplicitPins(IPhysPartInst* part, ROWCOL& row);
    void ReloadPartPins();
    // After the parts are filled: sorted by pin number, then the block, row and function filters.
    void FinishLoad();
    // Indexes the pin rows by their keys once the rows have moved as a whole (load, sort).
    void IndexPinRows();
    void RefreshRows();
    void SetExcludedSpathList(CString refDes, CString excludedPaths);
    const CString& ShownRefDes() const { return m_strRefDes; }
    void RenameSignalInRows(const CString& newName, const CString& oldName);
    void SetRefDes(CString refDes);
    // Gives the header bar the part's name in single-part mode.
    void UpdateHeaderText();
    // Empties the pin map (every fill and reload starts from an empty one).
    void ClearPinMap();
    void ClearImplicitPinMap() { ClearPinMap(); }
    int SetPinRowCells(ROWCOL row, CString part, CString pinName, CString pinNumber, CString pinType,
                       CString signal, int function);
    // The first logical pin bit of a row's package pin; FALSE for a row without one.
    BOOL GetInstTermOfRow(ROWCOL row, CInstTermBitContext* bit);
    // Every logical pin bit of a row's package pin; NULL for a row without one.
    const std::vector<CInstTermBitContext>* GetRowPins(ROWCOL row);
    // The row of a part's package pin; 0 when the grid has none.
    ROWCOL FindPinRow(const CString& refDes, const CString& pinNumber);
    // The first pin row from startRow (6 for 0) whose cell in col is value and whose pin belongs
    // to the instance; 0 when none.
    ROWCOL FindPinRowByValue(CString value, const CInstanceContext& inst, ROWCOL col, ROWCOL startRow = 0);
    // Reads the rows of these package pins of a part again from the packaging server.
    void RefreshPinRows(const CString& refDes, const std::set<CString>& pinNumbers);
    CString RowKey(ROWCOL row) override;
    bool IsRowKeyColumn(ROWCOL col) const override;
    IPhysPartInst* GetPhysPartInst();
    // Splits the row's PIN_NAME into its base name and bit numbers ("" for a number it lacks);
    // TRUE only when it names both.
    BOOL ParseRowPinName(ROWCOL row, CString& name, CString& first, CString& second);
    // The row's PIN_NAME; its base name with the bit numbers when it names a bit (also returned).
    CString GetRowLogicalPin(CString& name, ROWCOL row, int* pFirst, int* pSecond);
    void UpdateFunctionCombo(IPhysPartInst* part, int functionCount);
    const CKXPhysPinMap& PinMap() const { return m_mapPins; }

    // ------------------------------------------------------------- pin numbers and swaps
    HMTGEN BuildPinNumberMenu(CMenu* menu);
    // The host's answer to the assignPinNumber it was asked to run; FALSE when nothing was asked.
    BOOL AssignPinNumberInHost(UINT id);
    BOOL SendAssignPinNumber();
    BOOL OnAssignPinNumber(CString pinNumber);
    BOOL ExchangePinNumbers(CInstanceContext* inst, const char* current, const char* wanted);
    BOOL AssignSection(CInstanceContext* inst, const char* section);
    const char* GetPinPathsByNumber(CInstanceContext* inst, const char* pinNumber);
    BOOL CanSwapPins() override;
    BOOL SwapPins(int bNoDialog, CString pinNumber) override;

    // ------------------------------------------------------------- signal models
    BOOL AssignModel(int bUseGiven, LPCTSTR model) override;
    BOOL CommitAssignModel(CString model);
    BOOL CommitModelOnRows(const std::vector<ROWCOL>& rows, const CString& model) override;
    BOOL RemoveModel() override;
    BOOL CommitRemoveModel();
    BOOL RemoveModelFromRow(CTransaction* transaction, ROWCOL row);
    BOOL CanAssignModel() override;
    BOOL CanRemoveModel() override;
    BOOL DeleteSelection() override;
    // Delete removes the models of the selected pins: offered on a pin row.
    BOOL CanDelete() override { return CanAssignModel(); }
    void SetSignalModelCellStyle(ROWCOL row) override;

    // ------------------------------------------------------------- filter, sort, selection, dump
    int FilterRows(int col);
    BOOL SetColumnFilter(CString caption, CString filter);
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    void ApplyFunctionFilter(int function, BOOL bKeepHidden);
    void FilterByFunction(int col, int function, BOOL bRedraw);
    void OnSortColumn(int col) override;
    void SortRows(int col, BOOL bAscending) override;
    BOOL SortByColumnName(CString name);
    // Selects every pin row that is not hidden (no keys given).
    void SelectVisiblePinRows() { SelectVisibleDataRows(); }
    int DumpCCP(const char* path);

    // ------------------------------------------------------------- clipboard, menus, selection
    void OnEditCopy() override;
    BOOL PasteFromClipboardViewer(int item, int param) override;
    // The paste step of the clipboard viewer's paste: the grid takes no pasted text (FALSE).
    BOOL PasteClipboardText() { return FALSE; }
    BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) override;
    BOOL SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags = GX_SCROLLINVIEW | GX_UPDATENOW) override;
    void ActivateGridView() override;
    void UpdatePaneTitle() override;
    void GetSelectedObjects() override;
    void GetSelectedObjectNames() override;
    void GetShownObjectNames(CString& names) override;
    void CrossSelectInHost() override;
    BOOL EditPin(BOOL bMode) override;
    BOOL CanEditPin() override;
    void NotifySelectionChanged() override;
    void ShowPropertyEditor() override;
    void RemoveListPaneSelection() override;
    // Asks the host to select the pin of a read-only pin-name cell.
    void SendSelectionMessage(ROWCOL row, ROWCOL col);
    CCommonInterface* ListPane() const override;
    BOOL HiliteCurrentNet();
    BOOL IsCurrentPinConnected();
    void SelectPinRow(CString pinNumber);
    void ApplyHilite(CKXHiliteObject* hilite);
    BOOL SelectPinCell(CString pinName, CString colKey, CString pinNumber);
    static BOOL CanPasteNever(int type);
    static BOOL CanPasteHere(int type);

    // ------------------------------------------------------------- refresh
    // The part grid's MSG_TRANSACTION_COMMITTED: the shared refresh of the physical grids, which
    // hands the property changes to OnPropertyChanges.
    LRESULT OnTransactionCommitted(WPARAM wParam, LPARAM lParam) {
        return CKXPhysGridWnd::OnTransactionCommitted(wParam, lParam);
    }
    void OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) override;
    // Whether the grid shows the part of this reference designator.
    bool ShowsPart(const CString& package) const;
    void FillPropertyColumn(CString property, int kind, ROWCOL col, ROWCOL row);
    ROWCOL PinRowOf(const CString& package, const CString& pinNumber) override {
        return FindPinRow(package, pinNumber);
    }
    ROWCOL PinNumberColumn() const override { return static_cast<ROWCOL>(s_nPNCol); }
    ROWCOL PinNameColumn() const override { return static_cast<ROWCOL>(s_nPinNameCol); }
    BOOL& FilterEchoFlag() override { return m_bEchoingFilter; }
    void RefreshRowsByName(CString refDes) override;
    void RestyleModelCells();

    // ------------------------------------------------------------- state
    CString m_strRefDes;       // the part shown; in several-parts mode the last one filled
    CString m_strLoadedRefDes; // the part a reload reads
    std::set<CString> m_mapShownParts;
    CString m_strExcludedPaths;
    int m_nFunctionFilter = 0;
    BOOL m_bFunctionFilterSet = FALSE;
    BOOL m_bApplyColumnWidths = TRUE;
    HMTGEN m_hPinGen = nullptr;
    BOOL m_bEchoingFilter = FALSE; // a filter-row edit is being echoed to the host
    std::map<UINT, CString> m_mapMenuIdToPinNumber;
    CKXPhysPartDetailsHeader* m_pHeader = nullptr; // its window belongs to the header cell control
    ROWCOL m_nLastHiliteRow = 0;

protected:
    // Rows of shown package pins whose physical net a commit may have changed (a pin joined to a net or
    // parted from it, a net renamed or aliased, a net's physical name set), each found through the
    // pin's part and number.
    void OnDigestBegin(const KXChangeDigest& digest) override;
    void OnConnChange(const IChange& change, CConn& conn) override;
    void OnNetChange(const IChange& change, INet& net) override;
    void OnInstanceChange(const IChange& change, IInstance& instance) override;
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnDigestEnd(const KXChangeDigest& digest) override;

private:
    CKXPhysPinMap m_mapPins;
    // Rows of the part pins in one pass, skipping hidden rows when asked.
    template <class F> void ForEachPinRow(F f);
    void CoverHeaderRows() override;
    void SetTitle(const CString& title);
    // Rows of one part: removes them and their pin map entries; the number removed.
    int RemovePartRows(const CString& refDes);
    // Rows of the part's pins from row on, function by function; the progress (when given) steps per pin.
    int FillPart(IPhysPartInst* part, ROWCOL& row, KXPhysProgress* progress = nullptr);
    // Directions of the selected pin rows: -1 when they differ, 0 when none qualifies.
    int SelectedDirection(std::vector<ROWCOL>& rows);
    CString SelectionList(const std::vector<ROWCOL>& rows);
    // The journal lines that show a row's part (0: the first pin row's) and select its pin, as a
    // replay finds them.
    CString JournalObjectSelection(ROWCOL row = 0) override;
    // A selection key ("pin", "pin:number", "part:pin:number"): true with what it asks of the rows,
    // or false with the row found through the pin index (0 when none).
    bool KeyQuery(const CString& key, ROWCOL& row, KXPhysRowQuery& query);
    std::vector<ROWCOL> RowsOfKeys(const CStringArray& keys, const CString& column, ROWCOL& keyCol) override;
    HMTGEN CandidateGenerator(ROWCOL row);
    void ReplacePinGen(HMTGEN gen);
    void StopPinGen();
    bool RowsShareNumber(const std::vector<ROWCOL>& rows);
    // Notes the package pin of a logical pin bit of a shown part, whose signal is to be read again; a pin
    // of a block leads to the pins inside that its port net joins.
    void NoteSignalOfPin(const IInstTerm* pin, int bit);
    // Notes the pins on a net bit, and on the bits aliased to it.
    void NoteSignalsOfNetBit(const CNetBit& bit);
    void NoteSignalsOfNet(const INet& net);
    // The shown parts' logical instances by their objects (read again after a load or an instance change).
    const std::vector<CInstanceContext>* ShownContextsOf(const IInstance* instance);
    std::unordered_map<const IInstance*, std::vector<CInstanceContext>> m_shownInstances;
    bool m_bShownInstancesStale = true;
    std::map<CString, std::set<CString>> m_signalPinsToRead; // part -> pin numbers, of the commit
    std::set<std::pair<const IInstTerm*, int>> m_signalPinBitsSeen;
    // The part of which two of the rows (shown, with a logical pin) are pins; empty when none.
    CString PartWithTwoSelectedPins(const std::vector<ROWCOL>& rows);

    DECLARE_MESSAGE_MAP()
};
