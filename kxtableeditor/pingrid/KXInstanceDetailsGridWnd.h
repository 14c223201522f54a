// The component connectivity details grid: every pin of one component instance
// (or of several instances) with its pin number, type, signal, termination,
// pull-up/pull-down, differential pair and comment. The grid keeps no row
// objects: a row's instance, pin, bits and kind live in user attributes of its
// cells (see KXPinGridIds.h), written by the row fill and read back here.
#pragma once

#include "pingrid/KXPinGridIds.h"

#include "grid/KXGridWnd.h"
#include "rmx/context.h"

#include <list>
#include <map>
#include <memory>
#include <set>
#include <vector>

class CKXBottomPaneContainerView;
class CKXTableChildFrm;
class IPhysPartInst;

class CKXInstanceDetailsGridWnd : public CKXGridWnd {
    DECLARE_DYNCREATE(CKXInstanceDetailsGridWnd)

public:
    CKXInstanceDetailsGridWnd();
    ~CKXInstanceDetailsGridWnd() override;

    // ------------------------------------------------------------- columns
    // The class-wide column list: index = grid column number, 0 the row-header column.
    static std::vector<std::unique_ptr<CKXColumnInfoClass>> m_arrColumnInfo;
    static int m_nColInstance, m_nColRefDes, m_nColDiffPair, m_nColPinName, m_nColPinNumber, m_nColPinType,
        m_nColSignal, m_nColTermination, m_nColPupd, m_nColComments, m_nColCount;
    // Builds the default column list once (later calls keep it).
    static void SetupColumns();
    // Column number of a key ("PIN_NAME", "SIGNAL", ...); -1 when no column has it.
    static int ColumnOfKey(const CString& key);
    // Entry nCol of the column list; an index outside it raises the invalid-argument exception.
    CKXColumnInfoClass* GetColumnInfo(int nCol) override;

    // ------------------------------------------------------------- set-up and loading
    // Grid set-up after Create: header block, captions, columns, cell controls.
    void InitializePinGrid(CKXBottomPaneContainerView* pPane, const CDesignContext& design);
    void SetChildFrame(CKXTableChildFrm* pFrame) { m_pChildFrame = pFrame; }
    CKXBottomPaneContainerView* GetOwnerPane() const { return m_pOwnerPane; }
    // Appends the rows of one instance. bKeepOrder FALSE: a fresh load (the instance already shown
    // is not reloaded; rows are sorted by pin name); TRUE: a refresh.
    BOOL LoadComponentPins(CDesignContext design, CInstanceContext instance, BOOL bKeepOrder);
    // Sorts the pin rows by a column, each top row carrying its child rows along.
    void SortColumn(int col) override;

    // ------------------------------------------------------------- row fill
    // Fills one pin at row (rows are inserted; row ends on the last row written).
    void FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level);
    // A differential-pair row and its two leg rows.
    void FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row);
    void FillDiffPairLegRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level);
    void ApplySignalCellStyle(ROWCOL row, const CString& text, int netId, int connCount, BOOL bShowConn);

    // ------------------------------------------------------------- row model
    int GetRowInstanceIndex(ROWCOL row);
    int GetRowInstTermId(ROWCOL row);
    int GetRowDiffPairConnId(ROWCOL row);
    BOOL IsDiffPairRow(ROWCOL row);
    BOOL IsPowerPinRow(ROWCOL row);
    BOOL IsPowerPinChildRow(ROWCOL row);
    ROWCOL GetRowParentOffset(ROWCOL row);
    BOOL GetCellVectorInfo(ROWCOL row, CString& baseName, CString& msb, CString& lsb);
    CString GetRowPinName(ROWCOL row, int& msb, int& lsb);
    void SetCellUserAttribute(ROWCOL row, ROWCOL col, UINT id, double value);
    IInstance* GetInstance();
    CInstanceContext GetRowInstance(ROWCOL row);
    IInstTerm* GetRowInstTerm(ROWCOL row, int& msb, int& lsb);
    BOOL GetRowInstTermBitContext(ROWCOL row, CInstTermBitContext& out);
    void GetRowBitContexts(ROWCOL row, std::list<CInstTermBitContext>& out);
    INet* GetRowNet(ROWCOL row, int& msb, int& lsb);
    CString GetRowNetName(ROWCOL row, int& msb, int& lsb);
    int GetRowConnIndex(ROWCOL row);
    IDPInstTerm* GetRowDPInstTerm(ROWCOL row);
    static IDPInstTerm* GetDiffPairInstTerm(IInstTerm* pin, int bit);
    PinRowKind GetRowKind(ROWCOL row, CString& baseName, int& msb, int& lsb);
    void GetChildRows(ROWCOL row, std::list<int>& rows, int legSelector);
    BOOL ExpandRowArray(CDWordArray& rows, int& count);
    void JoinChildPinNumbers(ROWCOL row);
    ROWCOL FindPinRow(const CInstanceContext& instance, ROWCOL col, const CString& text, ROWCOL startRow);

    // ------------------------------------------------------------- state
    CInstanceContext m_instCurrent;
    CKXTableChildFrm* m_pChildFrame = nullptr;
    CKXBottomPaneContainerView* m_pOwnerPane = nullptr;
    int m_nFunctionFilter = 0;
    int m_bForceReload = 0;
    int m_bFirstLoad = 1;
    std::vector<UINT> m_arrInstanceIds;
    std::map<UINT, std::unique_ptr<IPhysPartInst>> m_mapPhysPartInst;
    int m_bIsBlock = 0;
    int m_bStandardFPGA = 0;
    int m_bHasDiffPairs = 0;
    int m_bShowVectors = 1;
    int m_bShowDiffPairs = 1;
    int m_bCommitting = 0;
    int m_nFillMode = 2; // 0 leg row, 1 power child row, 2 ordinary row
    // Texts of the header: the cell text and the header dialog's instance, second and label texts.
    CString m_strHeaderInstanceText, m_strHeaderSecondText, m_strHeaderLabel;

private:
    // Composed style of a cell (row, col).
    CGXStyle CellStyle(ROWCOL row, ROWCOL col);
    CString AttrText(ROWCOL row, ROWCOL col, UINT id);
    void WriteCell(ROWCOL row, ROWCOL col, const CGXStyle& style);
    // Instance, Ref Des and DIFF_PAIR cells of a pin row.
    void FillInstanceCells(ROWCOL row, const CString& level, UINT diffPairControl, int plusMinus);
    CString PhysicalPinName(IInstTerm* pin, int bit);
    void ToggleRow(ROWCOL row);
    void SetPinNameCaptions(const char* pinName, const char* pinType);
    void ShowProgress(int done, int count, const CString& instanceName);
};
