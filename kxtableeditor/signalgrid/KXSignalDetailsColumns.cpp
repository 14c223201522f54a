// The signal grid's columns: the class-wide model built from the "SCP"
// customisation, the header rows, the widths the grid draws and the look-ups of
// a column by its script name.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "afx/afxwin.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

using namespace kxsignal;

namespace {

// The last stretchable column takes the window's width only right of these places among the shown
// columns: with several nets shown (their name columns lead), and with one.
constexpr int kLeftmostStretchedInList = 0;
constexpr int kLeftmostStretched = 2;

} // namespace

int CKXSignalDetailsGridWnd::m_nColSignalName = 1;
int CKXSignalDetailsGridWnd::m_nColPhysicalName = 2;
int CKXSignalDetailsGridWnd::m_nColStartBit = 3;
int CKXSignalDetailsGridWnd::m_nColEndBit = 4;
int CKXSignalDetailsGridWnd::m_nColCell = 5;
int CKXSignalDetailsGridWnd::m_nColInstance = 6;
int CKXSignalDetailsGridWnd::m_nColLocation = 7;
int CKXSignalDetailsGridWnd::m_nColPinName = 8;
int CKXSignalDetailsGridWnd::m_nColPinNumber = 9;
int CKXSignalDetailsGridWnd::m_nColPinType = 10;
int CKXSignalDetailsGridWnd::m_nColTermination = 11;
int CKXSignalDetailsGridWnd::m_nColPupd = 12;
int CKXSignalDetailsGridWnd::m_nColCount = 13;

namespace {

struct KeyColumn {
    const char* key;
    int* column;
};

// The two net-name columns before the customised ones; shown only in list mode.
const std::vector<CKXColumnModel::FixedColumn> kFixedColumns = {{"Signal Name", 50, false},
                                                                  {"Physical Name", 50, false}};

} // namespace

CKXColumnModel& CKXSignalDetailsGridWnd::Columns() {
    static CKXColumnModel model("SCP", KXGridKind::Signal, "SCP");
    return model;
}

int CKXSignalDetailsGridWnd::CharWidth() const {
    return CKXColumnModel::kCharWidth;
}

void CKXSignalDetailsGridWnd::InitColumnInfo() {
    Columns().SelectOrigin();
    Columns().Setup(kFixedColumns, CharWidth(), m_bShowRowNumbers != 0);
    TakeColumnNumbers();
}

void CKXSignalDetailsGridWnd::TakeColumnNumbers() {
    // A key that no entry names keeps the column number it had.
    const KeyColumn keys[] = {{"START_BIT", &m_nColStartBit}, {"END_BIT", &m_nColEndBit},
                              {"CELL", &m_nColCell},          {"INSTANCE", &m_nColInstance},
                              {"LOCATION", &m_nColLocation},  {"PIN_NAME", &m_nColPinName},
                              {"PN", &m_nColPinNumber},       {"PIN_TYPE", &m_nColPinType},
                              {"TERMINATION", &m_nColTermination}, {"PUPD", &m_nColPupd}};
    for (const KeyColumn& k : keys)
        if (const int col = Columns().ColumnOfKey(k.key); col >= 0) *k.column = col;
    m_nColCount = Columns().Size();
}

void CKXSignalDetailsGridWnd::FormatHeaderRows() {
    UpdateLockScope lock(*this);
    GridWriteScope scope(*this);
    SetRowCount(kFirstDataRow, kNoUpdate);
    SetColCount(static_cast<ROWCOL>(m_nColCount - 1), kNoUpdate);
    const ROWCOL last = GetColCount();
    for (int c = 0; c < m_nColCount; ++c) {
        const CKXColumnInfoClass* info = Columns().At(c);
        CGXStyle title;
        const bool pupd = c == m_nColPupd;
        title.SetValue(pupd ? CString("#BMP(191)") : info->m_strCaption)
            .SetControl(Id(pupd ? IDS_CTRL_PUPD_HEADER : IDS_CTRL_LIST_HEADER))
            .SetFont(CGXFont().SetBold(FALSE))
            .SetHorizontalAlignment(DT_LEFT)
            .SetEnabled(TRUE)
            .SetMergeCell(1);
        title.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), info->m_strCaption);
        SetStyleRange(CGXRange(kCaptionRow, static_cast<ROWCOL>(c)), title, gxOverride, 0, kNoUpdate, gxDo);
        SetColWidth(static_cast<ROWCOL>(c), static_cast<ROWCOL>(c), info->m_nWidth, nullptr, kNoUpdate, gxDo);
    }
    for (ROWCOL row : {ROWCOL{2}, ROWCOL{4}})
        SetRowHeight(row, row, 4, nullptr, kNoUpdate, gxDo);
    StyleFilterAndSeparatorCells(0, last);
    SetFrozenRows(4, 2, kNoUpdate);
}

void CKXSignalDetailsGridWnd::StyleFilterAndSeparatorCells(ROWCOL first, ROWCOL last) {
    CGXStyle filter;
    filter.SetControl(Id(IDS_CTRL_FILTER_COMBO)).SetValue("*").SetFont(CGXFont().SetBold(FALSE));
    filter.SetVerticalAlignment(DT_VCENTER);
    SetStyleRange(CGXRange(kFilterRow, first, kFilterRow, last), filter, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle separator;
    separator.SetControl(Id(IDS_CTRL_HEADER)).SetEnabled(FALSE).SetInterior(0xEF000000 | GetSysColor(15));
    for (ROWCOL row : {ROWCOL{2}, ROWCOL{4}})
        SetStyleRange(CGXRange(row, first, row, last), separator, gxOverride, 0, kNoUpdate, gxDo);
    for (ROWCOL row : {kTitleRow, ROWCOL{2}, ROWCOL{4}})
        SetCoveredCellsRowCol(row, 0, row, GetColCount(), kNoUpdate, gxDo);
}

CKXColumnInfoClass* CKXSignalDetailsGridWnd::GetColumnInfo(int col) {
    return Columns().At(col);
}

int CKXSignalDetailsGridWnd::GetColumnSettingsKey(int col, CString& key) {
    key.Empty();
    if (col == -1) return -1;
    if (Columns().Find(col)) key = Columns().RegistrySubKey(col);
    return 0;
}

int CKXSignalDetailsGridWnd::ShownColWidth(ROWCOL nCol) {
    const int col = static_cast<int>(nCol);
    if ((m_bHideBitColumns || m_bNetBitMode) && (col == m_nColStartBit || col == m_nColEndBit)) return 0;
    const int width = CGXGridCore::GetColWidth(nCol);
    if (width == 0) return 0;
    if (m_bMultipleNets) {
        for (int c : {m_nColSignalName, m_nColPhysicalName})
            if (CKXColumnInfoClass* names = Columns().Find(c)) names->m_bShown = 1;
    } else if (col == m_nColSignalName || col == m_nColPhysicalName) {
        return 0;
    }
    const CKXColumnInfoClass* info = Columns().Find(col);
    if (!info || !info->m_bShown) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;
    return width;
}

int CKXSignalDetailsGridWnd::StretchedColumn(int& fixedAfter) {
    fixedAfter = 0;
    for (ROWCOL c = GetColCount(); c >= 1; --c) {
        const int width = ShownColWidth(c);
        const CKXColumnInfoClass* info = Columns().Find(static_cast<int>(c));
        if (width == 0 || !info) continue;
        if (info->m_nWidthType == CKXColumnInfoClass::WidthInChars) return static_cast<int>(c);
        if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) fixedAfter += width;
    }
    return -1;
}

int CKXSignalDetailsGridWnd::GetClientCol(ROWCOL nCol) {
    int position = 0;
    for (ROWCOL c = 0; c < nCol; ++c)
        if (ShownColWidth(c) > 0) ++position;
    return position;
}

int CKXSignalDetailsGridWnd::GetColWidth(ROWCOL nCol) {
    const int width = ShownColWidth(nCol);
    const CKXColumnInfoClass* info = width ? Columns().Find(static_cast<int>(nCol)) : nullptr;
    if (!info || info->m_nWidthType != CKXColumnInfoClass::WidthInChars) return width;
    int fixedAfter = 0;
    if (StretchedColumn(fixedAfter) != static_cast<int>(nCol)) return width;
    // The last shown character-width column fills what the window has left beside the columns
    // before it and the fixed-width columns after it; a column too far left (the window shows
    // little else) keeps its own width.
    const int leftmost = m_bMultipleNets ? kLeftmostStretchedInList : kLeftmostStretched;
    if (GetClientCol(nCol) <= leftmost) return width;
    int before = 0;
    for (ROWCOL c = 0; c < nCol; ++c)
        before += ShownColWidth(c);
    const int space = GetGridRect().Width() - fixedAfter - before - 1;
    const int stretched = std::max(width - fixedAfter, space);
    return stretched > 0 ? stretched : width;
}

CString CKXSignalDetailsGridWnd::GetColumnScriptName(int col) {
    if (col == m_nColPupd) return "pupd";
    if (col < 0 || static_cast<ROWCOL>(col) > GetColCount()) return CString();
    return GetValueRowCol(kCaptionRow, static_cast<ROWCOL>(col));
}

CString CKXSignalDetailsGridWnd::ColumnTitle(ROWCOL col) {
    // A title cell that shows a picture names its column in its tool tip.
    const CString tip = KXRowAttrs(*this, kCaptionRow).Text(col, IDS_UA_TOOLTIPTEXT);
    return tip.IsEmpty() ? GetValueRowCol(kCaptionRow, col) : tip;
}

int CKXSignalDetailsGridWnd::GetColumnFromName(const CString& name) {
    if (name.CompareNoCase("pupd") == 0) return m_nColPupd;
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (ColumnTitle(c).CompareNoCase(name) == 0) return static_cast<int>(c);
    // Scripts may name a column by its key ("PIN_NAME") as well as by its title.
    const int keyed = Columns().ColumnOfKey(name);
    return keyed > 0 && static_cast<ROWCOL>(keyed) <= GetColCount() ? keyed : -1;
}

BOOL CKXSignalDetailsGridWnd::AreColumnsKnown(CStringArray* names) {
    std::set<std::string> keys;
    for (const CKXColumnInfoClass* info : Columns().Columns())
        keys.insert(info->m_strPropertyName.str());
    if (keys.empty()) return FALSE;
    BOOL all = TRUE;
    if (names)
        for (INT_PTR i = 0; i < names->GetSize(); ++i)
            if (!keys.count((*names)[i].str())) all = FALSE;
    return all;
}

// ------------------------------------------------------------------ layout changes

void CKXSignalDetailsGridWnd::SaveColumnCustomization(BOOL bReparse) {
    Columns().Save(CharWidth(), bReparse != FALSE);
}

void CKXSignalDetailsGridWnd::CustomizeColumns() {
    constexpr int kSignalGridDialog = 4;
    SaveColumnCustomization(FALSE);
    if (!Columns().Customize(kFixedColumns, CharWidth(), m_bShowRowNumbers != 0, kSignalGridDialog)) return;
    TakeColumnNumbers();
    Redraw();
}

int CKXSignalDetailsGridWnd::AddPropertyColumn(const CString& entry) {
    const int added = Columns().AddUserColumn(kFixedColumns, CharWidth(), m_bShowRowNumbers != 0, entry);
    if (added != 1) return added;
    TakeColumnNumbers();
    Redraw();
    return added;
}

BOOL CKXSignalDetailsGridWnd::OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) {
    m_bTrackingColumn = nTrackingMode == GX_TRACKWIDTH;
    m_nTrackingColumn = m_bTrackingColumn ? nCol : 0;
    return CKXGridWnd::OnStartTracking(nRow, nCol, nTrackingMode);
}

BOOL CKXSignalDetailsGridWnd::OnTrackColWidthMove(ROWCOL nCol, int nWidth) {
    // The border moved: a double-click that follows is no fit.
    m_bTrackingColumn = false;
    m_nTrackingColumn = 0;
    return CKXGridWnd::OnTrackColWidthMove(nCol, nWidth);
}

void CKXSignalDetailsGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CKXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
    Columns().TrackWidth(*this, static_cast<int>(nCol));
    Columns().Broadcast(Columns().Columns());
}

void CKXSignalDetailsGridWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_bTrackingColumn) {
        const ROWCOL col = m_nTrackingColumn;
        m_bTrackingColumn = false;
        m_nTrackingColumn = 0;
        // A border grabbed and let go without a move: the column fits its data rows (not the headers).
        if (col > 0 && col <= GetColCount() && GetRowCount() >= kFirstDataRow) {
            FitColumnsToCells(CGXRange(kFirstDataRow, col, GetRowCount(), col), GX_SMART);
            Columns().TrackWidth(*this, static_cast<int>(col));
            Columns().Broadcast(Columns().Columns());
        }
    }
    CKXGridWnd::OnLButtonDblClk(nFlags, point);
}

// The Signal Name and Physical Name columns say which net a row is on: shown while the grid shows
// several nets, whatever the customisation keeps for a grid of one.
void CKXSignalDetailsGridWnd::ShowNetColumnsAsShownNets() {
    for (int c : {m_nColSignalName, m_nColPhysicalName})
        if (CKXColumnInfoClass* names = Columns().Find(c)) names->m_bShown = m_bMultipleNets ? 1 : 0;
}

LRESULT CKXSignalDetailsGridWnd::OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam) {
    if (!Columns().IsLayoutOfKind(lParam)) return 0;
    if (!m_bNetBitMode) ShowNetColumnsAsShownNets();
    CKXColumnModel::LayoutHooks hooks;
    hooks.styleCaption = [this](int col, const CString& caption) {
        CGXStyle title;
        const bool pupd = caption == "PUPD";
        const bool comments = caption == "COMMENTS";
        title.SetValue(pupd ? CString("#BMP(191)") : comments ? CString("#BMP(185)") : caption)
            .SetControl(Id(pupd ? IDS_CTRL_PUPD_HEADER : comments ? IDS_CTRL_COMMENTS_HEADER : IDS_CTRL_HEADER))
            .SetFont(CGXFont().SetBold(FALSE))
            .SetHorizontalAlignment(DT_LEFT)
            .SetVerticalAlignment(DT_BOTTOM)
            .SetMergeCell(1);
        title.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), caption);
        GridWriteScope scope(*this);
        SetStyleRange(CGXRange(kCaptionRow, static_cast<ROWCOL>(col)), title, gxOverride, 0, kNoUpdate, gxDo);
        // An inserted column has its filter cell and its part of the separators as the others.
        StyleFilterAndSeparatorCells(static_cast<ROWCOL>(col), static_cast<ROWCOL>(col));
    };
    // A property column new to this grid is filled from the design once every column has its place.
    std::vector<int> added;
    hooks.fillColumn = [&added](int col, const CKXColumnInfoClass& info) {
        if (info.m_nPropertyType >= CKXColumnInfoClass::InstProp && info.m_nPropertyType <= CKXColumnInfoClass::NetProp)
            added.push_back(col);
    };
    hooks.finish = [this] { ResizeRowHeaderColumn(); };
    Columns().ApplyLayout(*this, kCaptionRow, CKXColumnModel::OldLayout(wParam), hooks);
    TakeColumnNumbers();
    for (int col : added)
        if (const CKXColumnInfoClass* info = Columns().Find(col))
            RefreshRowStyles(info->m_strPropertyName, info->m_nPropertyType, col, -1);
    return 1;
}
