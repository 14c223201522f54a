// The physical part grid's window: set-up, the class-wide columns built from the
// "PHYCCP" customisation, the header block and the column-layout broadcast.
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include <algorithm>

#include "physgrids/KXPhysPartDetailsHeader.h"

#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"

#include <memory>

IMPLEMENT_DYNCREATE(CKXPhysPartDetailsGridWnd, CKXGridWnd)

BEGIN_MESSAGE_MAP(CKXPhysPartDetailsGridWnd, CKXGridWnd)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXPhysPartDetailsGridWnd::OnTransactionCommitted)
ON_MESSAGE(MSG_COLUMN_LAYOUT_CHANGED, &CKXPhysPartDetailsGridWnd::OnColumnLayoutChanged)
END_MESSAGE_MAP()

using namespace kxphys;

int CKXPhysPartDetailsGridWnd::s_nPhysPartCol = 1;
int CKXPhysPartDetailsGridWnd::s_nPNCol = 2;
int CKXPhysPartDetailsGridWnd::s_nPinNameCol = 3;
int CKXPhysPartDetailsGridWnd::s_nPinTypeCol = 4;
int CKXPhysPartDetailsGridWnd::s_nSignalCol = 5;
int CKXPhysPartDetailsGridWnd::s_nSignalModelCol = 6;
CKXPhysPartDetailsGridWnd* CKXPhysPartDetailsGridWnd::s_pActiveGrid = nullptr;
const CKXColumnModel::Layout& CKXPhysPartDetailsGridWnd::s_arrColumnInfo =
    CKXPhysPartDetailsGridWnd::Columns().Columns();
std::vector<CString> CKXPhysPartDetailsGridWnd::s_arrColumnCaptions;
int CKXPhysPartDetailsGridWnd::s_nColumnCount = 7;

namespace {

constexpr UINT kNoUpdate = 2;
constexpr const char* kOrigin = "PHYCCP";
constexpr const char* kFont = "Tahoma";

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

COLORREF ButtonFace() {
    return GetSysColor(COLOR_BTNFACE) | 0xEF000000u;
}

} // namespace

CKXPhysPartDetailsGridWnd::CKXPhysPartDetailsGridWnd()
    : CKXPhysGridWnd(KXGridKind::PhysPart), m_mapPins('.') {
    EnableAutomation();
}

CKXPhysPartDetailsGridWnd::~CKXPhysPartDetailsGridWnd() {
    if (s_pActiveGrid == this) s_pActiveGrid = nullptr;
    StopPinGen();
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (GetSafeHwnd()) server->UnregisterWindow(GetSafeHwnd());
}

KXPhysLayout CKXPhysPartDetailsGridWnd::Layout() const {
    return {kPartFilterRow, kPartFirstRow, kPartCaptionRow};
}

// ---------------------------------------------------------------------------
// Set-up

void CKXPhysPartDetailsGridWnd::InitializeGrid(IKXGridSite* site, CDesignContext design) {
    SetSite(site);
    m_designContext = design;
    CKXGridWnd::InitializeGrid(m_nFirstPinRow, s_nRowHeaderCol + 1, kPartCaptionRow, nullptr);
    SetupColumns();
    FormatHeaderRows();
    RegisterHeaderControl(static_cast<ULONG>(s_nPNCol));
    CDWordArray look;
    RegisterDynComboControl(&CKXPhysPartDetailsGridWnd::GetColumnSettingsKey, look);
    EnableKeySelectionSync(TRUE);
    EnableCellControlClick(TRUE);
    m_bFunctionFilterSet = FALSE;
    SetupFindReplace();
    FormatHeaderRows();
    CGXGridParam* param = GetParam();
    if (param) param->EnableUndo(FALSE);
    CGXStyle rowHeader;
    rowHeader.SetValue("");
    ChangeRowHeaderStyle(rowHeader, gxOverride, kNoUpdate, gxDo);
    m_dropTarget.RegisterTarget(this, design);
    if (!m_pHeader) {
        m_pHeader = new CKXPhysPartDetailsHeader(nullptr);
        m_pHeader->Create(IDD_PHYSPART_HEADER, this);
        m_pHeader->SetGrid(this);
        // The wrapper destroys the bar's window and deletes the bar with itself.
        RegisterControl(Id(IDS_CTRL_PHYSPART_DETAILS_HEADER),
                        new CKXWndWrapper(this, m_pHeader, TRUE, TRUE, FALSE), FALSE, TRUE);
    }
    RegisterControl(Id(IDS_CTRL_PROGRAMMABLE_PIN),
                    new CKXBitMapComboBox(this, IDB_PROGRAMMABLE_PIN, IDS_CTRL_PROGRAMMABLE_PIN,
                                          IDS_CTRL_PROGRAMMABLE_PIN_LIST, 1),
                    FALSE, TRUE);
    RegisterControl(Id(IDS_CTRL_PHYS_COMBO), new CGXComboBox(this, IDS_CTRL_PHYS_COMBO, 9047, 2), FALSE,
                    TRUE);
    m_nFunctionFilter = 0;
    if (IKXMessageServer* server = GetKXMsgSrvr()) {
        server->RegisterWindow(MSG_TRANSACTION_COMMITTED, GetSafeHwnd());
        server->RegisterWindow(MSG_COLUMN_LAYOUT_CHANGED, GetSafeHwnd());
    }
    if (param) param->EnableUndo(TRUE);
}

// ---------------------------------------------------------------------------
// Columns

CKXColumnModel& CKXPhysPartDetailsGridWnd::Columns() {
    static CKXColumnModel model(kOrigin, KXGridKind::PhysPart, kOrigin,
                                CKXColumnModel::EntryOrder::DefaultsFirst);
    return model;
}

CKXPhysGridWnd::KeyColumns CKXPhysPartDetailsGridWnd::KeyColumnNumbers() const {
    return {{"PN", &s_nPNCol},
            {"PIN_NAME", &s_nPinNameCol},
            {"PIN_TYPE", &s_nPinTypeCol},
            {"SIGNAL", &s_nSignalCol},
            {"PIN_SIGNAL_MODEL", &s_nSignalModelCol}};
}

int CKXPhysPartDetailsGridWnd::GetColumnSettingsKey(int col, CString& key) {
    key = Columns().RegistrySubKey(col);
    return col == -1 ? 0 : 1;
}

void CKXPhysPartDetailsGridWnd::GetColumnMenuText(int col, CString& text, BOOL& bEnabled) {
    const CKXColumnInfoClass* info = Columns().Find(col);
    if (!info) return;
    text = info->m_strCaption;
    bEnabled = TRUE;
}

void CKXPhysPartDetailsGridWnd::CoverHeaderRows() {
    const ROWCOL last = GetColCount();
    SetCoveredCellsRowCol(0, 0, 1, last, kNoUpdate);
    SetCoveredCellsRowCol(3, 0, 3, last, kNoUpdate);
    SetCoveredCellsRowCol(5, 0, 5, last, kNoUpdate);
}

CGXStyle CKXPhysPartDetailsGridWnd::FilterCellStyle() const {
    CGXStyle filter;
    filter.SetControl(Id(IDS_CTRL_FILTER_COMBO))
        .SetChoiceList("*\n")
        .SetValue("*")
        .SetTextColor(RGB(0, 0, 0))
        .SetInterior(RGB(255, 255, 255))
        .SetVerticalAlignment(DT_VCENTER)
        .SetFont(CGXFont().SetBold(FALSE))
        .SetReadOnly(FALSE);
    return filter;
}

void CKXPhysPartDetailsGridWnd::FormatHeaderRows() {
    const BOOL locked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const BOOL readOnly = param ? param->IsLockReadOnly() : FALSE;
    if (param) param->SetLockReadOnly(FALSE);
    if (GetRowCount() < kPartFirstRow - 1) SetRowCount(kPartFirstRow - 1, kNoUpdate);
    SetColCount(static_cast<ROWCOL>(ColumnCount() - 1), kNoUpdate);
    FormatColumnCaptions();
    CGXStyle font;
    font.SetFont(CGXFont().SetFaceName(kFont));
    SetStyleRange(CGXRange().SetCols(0, GetColCount()), font, gxOverride, 0, kNoUpdate);
    CGXStyle filterHeader;
    filterHeader.SetControl(Id(kHeaderControl)).SetValue("");
    SetStyleRange(CGXRange(kPartFilterRow, 0), filterHeader, gxOverride, 0, kNoUpdate);
    StyleNewFilterCells();
    SetRowHeight(3, 3, 4, nullptr, kNoUpdate);
    SetRowHeight(5, 5, 4, nullptr, kNoUpdate);
    CGXStyle bar;
    bar.SetControl(Id(IDS_CTRL_PHYSPART_DETAILS_HEADER)).SetInterior(ButtonFace());
    SetStyleRange(CGXRange(0, 0, 1, GetColCount()), bar, gxOverride, 0, kNoUpdate);
    CGXStyle separator;
    separator.SetControl(Id(kHeaderControl)).SetEnabled(FALSE).SetInterior(ButtonFace());
    SetStyleRange(CGXRange(3, 0, 3, GetColCount()), separator, gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(5, 0, 5, GetColCount()), separator, gxOverride, 0, kNoUpdate);
    CoverHeaderRows();
    SetFrozenRows(5, 3, kNoUpdate);
    if (param) {
        param->SetLockReadOnly(readOnly);
        param->EnableUndo(undo);
    }
    LockUpdate(locked);
    Redraw(2, 1);
}

LRESULT CKXPhysPartDetailsGridWnd::OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam) {
    return ApplyColumnLayout(wParam, lParam);
}

// ---------------------------------------------------------------------------
// Grid-core overrides

int CKXPhysPartDetailsGridWnd::HitTest(CPoint pt, ROWCOL* pRow, ROWCOL* pCol, CRect* pRectHit) {
    ROWCOL row = 0;
    const int hit = CGXGridCore::HitTest(pt, &row, pCol, pRectHit);
    if (pRow) *pRow = row;
    if (hit != 0 && row <= 1) return 3;
    return hit;
}

BOOL CKXPhysPartDetailsGridWnd::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle,
                                                 GXModifyType mt, int nType) {
    if (m_bEditTransOpen)
        if (CGXGridParam* param = GetParam()) param->EnableUndo(TRUE);
    return CKXPhysGridWnd::StoreStyleRowCol(nRow, nCol, pStyle, mt, nType);
}

void CKXPhysPartDetailsGridWnd::OnCellControlClick(CPoint point, BOOL*) {
    HitTest(point);
}

void CKXPhysPartDetailsGridWnd::ShowFindReplace(BOOL bFind) {
    RunFindReplace(m_hFindReplace, bFind);
}

void CKXPhysPartDetailsGridWnd::OnSize(UINT nType, int cx, int cy) {
    CKXPhysGridWnd::OnSize(nType, cx, cy);
    if (!m_pHeader || !m_pHeader->GetSafeHwnd() || cx <= 0) return;
    // The bar covers the two top rows; it shows as wide as the grid lets it be seen.
    CGXRange bar(0, 0, 1, GetColCount());
    GetCoveredCellsRowCol(0, 0, bar);
    int width = 0, height = 0;
    for (ROWCOL c = bar.left; c <= bar.right; ++c)
        width += GetColWidth(c);
    for (ROWCOL r = bar.top; r <= bar.bottom; ++r)
        height += GetRowHeight(r);
    width = std::min(width, cx);
    if (width > 0 && height > 0) m_pHeader->MoveWindow(0, 0, width, height, FALSE);
}
