// The signal grid's columns: the class-wide model built from the "SCP"
// customisation, the header rows, the widths the grid draws and the look-ups of
// a column by its script name.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "afx/afxwin.h"
#include "kxcommon/KXCustomizeAPI.h"

#include <memory>
#include <set>
#include <string>

using namespace kxsignal;

std::vector<CKXColumnInfoClass*> CKXSignalDetailsGridWnd::m_arrColumnInfo;
std::vector<CString> CKXSignalDetailsGridWnd::m_arrColumnCaptions;
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

// Descriptors live as long as the process: a layout broadcast may still hold pointers to them.
std::vector<std::unique_ptr<CKXColumnInfoClass>>& ColumnStore() {
    static std::vector<std::unique_ptr<CKXColumnInfoClass>> store;
    return store;
}

struct KeyColumn {
    const char* key;
    int* column;
};

} // namespace

void CKXSignalDetailsGridWnd::InitColumnInfo() {
    const int charWidth = std::max(1, Width_LPtoDP(1000));
    std::vector<CString> entries;
    const CStringArray& users = CKXCustomizeAPI::getUserEntriesArray();
    const CStringArray& defaults = CKXCustomizeAPI::getDefaultEntriesArray();
    for (INT_PTR i = 0; i < users.GetSize(); ++i)
        entries.push_back(users[i]);
    for (INT_PTR i = 0; i < defaults.GetSize(); ++i)
        entries.push_back(defaults[i]);

    m_arrColumnInfo.clear();
    m_arrColumnCaptions.clear();
    auto add = [](int column, const CString& caption, int width, int widthType, int shown) {
        auto info = std::make_unique<CKXColumnInfoClass>();
        info->m_nColumn = column;
        info->m_strCaption = caption;
        info->m_nWidth = width;
        info->m_nWidthType = widthType;
        info->m_bVisible = shown;
        m_arrColumnCaptions.push_back(caption);
        m_arrColumnInfo.push_back(info.get());
        ColumnStore().push_back(std::move(info));
        return m_arrColumnInfo.back();
    };
    add(0, "", 20, CKXColumnInfoClass::WidthInChars, m_bShowRowNumbers ? 1 : 0);
    add(1, "Signal Name", 50, CKXColumnInfoClass::WidthInChars, 0);
    add(2, "Physical Name", 50, CKXColumnInfoClass::WidthInChars, 0);
    const KeyColumn keys[] = {{"START_BIT", &m_nColStartBit}, {"END_BIT", &m_nColEndBit},
                              {"CELL", &m_nColCell},          {"INSTANCE", &m_nColInstance},
                              {"LOCATION", &m_nColLocation},  {"PIN_NAME", &m_nColPinName},
                              {"PN", &m_nColPinNumber},       {"PIN_TYPE", &m_nColPinType},
                              {"TERMINATION", &m_nColTermination}, {"PUPD", &m_nColPupd}};
    int c = 3;
    for (const CString& entry : entries) {
        CString key, caption;
        int width = 0, widthType = 0, origin = 0, display = 0;
        if (!CKXCustomizeAPI::parseAttributeValues(entry, key, width, widthType, origin, caption, display))
            continue; // an entry the service cannot read makes no column
        const bool fixed = widthType == KX_WIDTH_FIXED;
        CKXColumnInfoClass* info =
            add(c, caption, fixed ? width : width * charWidth,
                fixed ? CKXColumnInfoClass::WidthFixed : CKXColumnInfoClass::WidthInChars, display == 1 ? 1 : 0);
        info->m_nPropertyType = origin;
        info->m_strPropertyName = key;
        for (const KeyColumn& k : keys)
            if (key == k.key) *k.column = c;
        ++c;
    }
    m_nColCount = c;
}

void CKXSignalDetailsGridWnd::FormatHeaderRows() {
    UpdateLockScope lock(*this);
    GridWriteScope scope(*this);
    SetRowCount(kFirstDataRow, kNoUpdate);
    SetColCount(static_cast<ROWCOL>(m_nColCount - 1), kNoUpdate);
    const ROWCOL last = GetColCount();
    for (int c = 0; c < m_nColCount; ++c) {
        const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(c)];
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
    CGXStyle filter;
    filter.SetControl(Id(IDS_CTRL_FILTER_COMBO)).SetValue("*").SetFont(CGXFont().SetBold(FALSE));
    filter.SetVerticalAlignment(DT_VCENTER);
    SetStyleRange(CGXRange(kFilterRow, 0, kFilterRow, last), filter, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle separator;
    separator.SetControl(Id(IDS_CTRL_HEADER)).SetEnabled(FALSE).SetInterior(0xEF000000 | GetSysColor(15));
    for (ROWCOL row : {ROWCOL{2}, ROWCOL{4}}) {
        SetRowHeight(row, row, 4, nullptr, kNoUpdate, gxDo);
        SetStyleRange(CGXRange(row, 0, row, last), separator, gxOverride, 0, kNoUpdate, gxDo);
    }
    for (ROWCOL row : {kTitleRow, ROWCOL{2}, ROWCOL{4}})
        SetCoveredCellsRowCol(row, 0, row, last, kNoUpdate, gxDo);
    SetFrozenRows(4, 2, kNoUpdate);
}

CKXColumnInfoClass* CKXSignalDetailsGridWnd::GetColumnInfo(int col) {
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) AfxThrowInvalidArgException();
    return m_arrColumnInfo[static_cast<std::size_t>(col)];
}

int CKXSignalDetailsGridWnd::GetColumnSettingsKey(int col, CString& key) {
    key.Empty();
    if (col == -1) return -1;
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return 0;
    key.Format("SCP\\%s", m_arrColumnInfo[static_cast<std::size_t>(col)]->m_strPropertyName.GetString());
    return 0;
}

int CKXSignalDetailsGridWnd::GetColWidth(ROWCOL nCol) {
    const int col = static_cast<int>(nCol);
    if ((m_bHideBitColumns || m_bNetBitMode) && (col == m_nColStartBit || col == m_nColEndBit)) return 0;
    const int width = CGXGridCore::GetColWidth(nCol);
    if (width == 0) return 0;
    if (m_bMultipleNets) {
        for (int c : {m_nColSignalName, m_nColPhysicalName})
            if (static_cast<std::size_t>(c) < m_arrColumnInfo.size())
                m_arrColumnInfo[static_cast<std::size_t>(c)]->m_bVisible = 1;
    } else if (col == m_nColSignalName || col == m_nColPhysicalName) {
        return 0;
    }
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return 0;
    const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(col)];
    if (!info || !info->m_bVisible) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;
    return width;
}

CString CKXSignalDetailsGridWnd::GetColumnScriptName(int col) {
    if (col == m_nColPupd) return "pupd";
    if (col < 0 || static_cast<ROWCOL>(col) > GetColCount()) return CString();
    return GetValueRowCol(kCaptionRow, static_cast<ROWCOL>(col));
}

int CKXSignalDetailsGridWnd::GetColumnFromName(const CString& name) {
    if (name.CompareNoCase("pupd") == 0) return m_nColPupd;
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(kCaptionRow, c).CompareNoCase(name) == 0) return static_cast<int>(c);
    return -1;
}

BOOL CKXSignalDetailsGridWnd::AreColumnsKnown(CStringArray* names) {
    std::set<std::string> keys;
    for (int c = 0; c < m_nColCount && static_cast<std::size_t>(c) < m_arrColumnInfo.size(); ++c)
        keys.insert(m_arrColumnInfo[static_cast<std::size_t>(c)]->m_strPropertyName.str());
    if (keys.empty()) return FALSE;
    BOOL all = TRUE;
    if (names)
        for (INT_PTR i = 0; i < names->GetSize(); ++i)
            if (!keys.count((*names)[i].str())) all = FALSE;
    return all;
}
