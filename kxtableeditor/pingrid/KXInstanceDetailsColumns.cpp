// The pin grid's columns: the class-wide column list built from the column
// customisation, widths, the layout broadcast and sorting by a named column.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <algorithm>

std::vector<CKXColumnInfoClass*> CKXInstanceDetailsGridWnd::m_arrColumnInfo;
std::vector<CString> CKXInstanceDetailsGridWnd::m_arrColumnCaptions;
std::vector<std::unique_ptr<CKXColumnInfoClass>> CKXInstanceDetailsGridWnd::s_columnStore;

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::kNoUpdate;

namespace {

constexpr LPARAM kPinGridKind = 5;

struct KeyColumn {
    const char* key;
    int* column;
};

// A column index stands for a column of the list.
void CheckColumn(int col) {
    if (col < 0 || static_cast<std::size_t>(col) >= CKXInstanceDetailsGridWnd::m_arrColumnInfo.size())
        AfxThrowInvalidArgException();
}

} // namespace

int CKXInstanceDetailsGridWnd::AverageCharWidth() const {
    const int w = Width_LPtoDP(1000);
    return w > 0 ? w : 1;
}

void CKXInstanceDetailsGridWnd::SetupColumns() {
    const int charWidth = AverageCharWidth();
    const CStringArray& defaults = CKXCustomizeAPI::getDefaultEntriesArray();
    const CStringArray& users = CKXCustomizeAPI::getUserEntriesArray();
    std::vector<CString> entries;
    for (INT_PTR i = 0; i < users.GetSize(); ++i)
        entries.push_back(users[i]);
    for (INT_PTR i = 0; i < defaults.GetSize(); ++i)
        entries.push_back(defaults[i]);

    m_arrColumnInfo.clear();
    auto add = [](std::unique_ptr<CKXColumnInfoClass> info) {
        m_arrColumnCaptions.push_back(info->m_strCaption);
        m_arrColumnInfo.push_back(info.get());
        s_columnStore.push_back(std::move(info));
    };
    auto rowNumbers = std::make_unique<CKXColumnInfoClass>();
    rowNumbers->m_nColumn = 0;
    rowNumbers->m_nWidth = 20;
    rowNumbers->m_nWidthType = CKXColumnInfoClass::WidthInChars;
    rowNumbers->m_bVisible = m_bShowRowNumbers ? 1 : 0;
    add(std::move(rowNumbers));
    const char* fixed[] = {"Instance", "Ref Des"};
    for (int c = 1; c <= 2; ++c) {
        auto info = std::make_unique<CKXColumnInfoClass>();
        info->m_nColumn = c;
        info->m_strCaption = fixed[c - 1];
        info->m_nWidth = 50;
        info->m_nWidthType = CKXColumnInfoClass::WidthInChars;
        info->m_bVisible = 0;
        add(std::move(info));
    }
    const KeyColumn keys[] = {{"DIFF_PAIR", &m_nColDiffPair}, {"PIN_NAME", &m_nColPinName},
                              {"PN", &m_nColPinNumber},       {"PIN_TYPE", &m_nColPinType},
                              {"SIGNAL", &m_nColSignal},      {"TERMINATION", &m_nColTermination},
                              {"PUPD", &m_nColPupd},          {"COMMENTS", &m_nColComments}};
    int n = 3;
    for (const CString& entry : entries) {
        CString key, caption;
        int width = 0, widthType = 0, origin = 0, display = 0;
        if (!CKXCustomizeAPI::parseAttributeValues(entry, key, width, widthType, origin, caption, display))
            continue; // the service refuses what it cannot read; such an entry makes no column
        auto info = std::make_unique<CKXColumnInfoClass>();
        info->m_nColumn = n;
        info->m_strCaption = caption;
        info->m_nPropertyType = origin;
        info->m_nWidthType =
            widthType == KX_WIDTH_FIXED ? CKXColumnInfoClass::WidthFixed : CKXColumnInfoClass::WidthInChars;
        info->m_nWidth = widthType == KX_WIDTH_FIXED ? width : charWidth * width;
        info->m_bVisible = display == 1 ? 1 : 0;
        info->m_strPropertyName = key;
        for (const KeyColumn& k : keys)
            if (key == k.key) *k.column = n;
        add(std::move(info));
        ++n;
    }
    m_nColCount = n;
}

void CKXInstanceDetailsGridWnd::LoadCustomPropertyColumns(BOOL bParse) {
    if (!CKXCustomizeAPI::IsInitialized()) return;
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    const int charWidth = AverageCharWidth();
    CStringArray list;
    for (std::size_t c = 3; c < m_arrColumnInfo.size(); ++c) {
        const CKXColumnInfoClass* info = m_arrColumnInfo[c];
        const bool fixedWidth = info->m_nWidthType == CKXColumnInfoClass::WidthFixed;
        list.Add(CKXCustomizeAPI::formatEntry(info->m_strPropertyName, info->m_strCaption,
                                              fixedWidth ? info->m_nWidth : info->m_nWidth / charWidth,
                                              fixedWidth ? KX_WIDTH_FIXED : KX_WIDTH_CHARS,
                                              info->m_nPropertyType, info->m_bVisible == 1));
    }
    CKXCustomizeAPI::saveDefaultCustomization(list);
    if (bParse) CKXCustomizeAPI::parseFile(list, true);
}

void CKXInstanceDetailsGridWnd::GetRegistrySubKey(int column, CString& subkey) {
    subkey.Empty();
    if (column == -1) return;
    CheckColumn(column);
    subkey.Format("CCP\\%s",
                  m_arrColumnInfo[static_cast<std::size_t>(column)]->m_strPropertyName.GetString());
}

int CKXInstanceDetailsGridWnd::ColumnOfKey(const CString& key) {
    for (std::size_t i = 3; i < m_arrColumnInfo.size(); ++i)
        if (m_arrColumnInfo[i]->m_strPropertyName.CompareNoCase(key) == 0) return static_cast<int>(i);
    return -1;
}

CKXColumnInfoClass* CKXInstanceDetailsGridWnd::GetColumnInfo(int nCol) {
    CheckColumn(nCol);
    return m_arrColumnInfo[static_cast<std::size_t>(nCol)];
}

CString CKXInstanceDetailsGridWnd::GetColumnHeaderFromKey(const CString& key) {
    if (key == "pupd") return "#BMP(191)";
    if (key == "comments") return "#BMP(185)";
    if (key == "diffpair") return "#BMP(9095)";
    return key;
}

CString CKXInstanceDetailsGridWnd::GetColumnKeyFromHeader(const CString& header) {
    if (header == "#BMP(191)") return "pupd";
    if (header == "#BMP(185)") return "comments";
    if (header == "#BMP(9095)") return "diffpair";
    return header;
}

void CKXInstanceDetailsGridWnd::GetColumnMenuText(int col, CString& text, BOOL& bEnabled) {
    // Column n is named by the caption stored at position n - 1.
    if (col >= 1 && static_cast<std::size_t>(col) < m_arrColumnCaptions.size()) {
        text = m_arrColumnCaptions[static_cast<std::size_t>(col - 1)];
        bEnabled = TRUE;
    }
}

int CKXInstanceDetailsGridWnd::GetColWidth(ROWCOL nCol) {
    int width = CGXGridCore::GetColWidth(nCol);
    const int col = static_cast<int>(nCol);
    const bool multiple = m_bMultipleObjects != 0;
    const bool block = m_bIsBlock && !multiple;
    auto keptUnderReduction = [](int c) {
        return c == 0 || c == m_nColSignal || c == m_nColPinName || c == m_nColPinNumber;
    };
    if (multiple) {
        for (int c : {m_nColInstance, m_nColRefDes})
            if (static_cast<std::size_t>(c) < m_arrColumnInfo.size())
                m_arrColumnInfo[static_cast<std::size_t>(c)]->m_bVisible = 1;
    } else if (col == m_nColInstance || col == m_nColRefDes) {
        return 0;
    }
    if (m_bReducedColumns && !keptUnderReduction(col)) return 0;
    if (!m_bHasDiffPairs && col == m_nColDiffPair) return 0;
    if (block && (col == m_nColTermination || col == m_nColPinNumber)) return 0;
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return 0;
    const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(col)];
    if (!info || info->m_bVisible == 0 || width == 0) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;

    // The last scaled column that is shown stretches to the window's right edge.
    int fixedWidths = 0;
    int stretch = -1;
    for (int c = static_cast<int>(m_arrColumnInfo.size()) - 1; c >= 1 && c <= static_cast<int>(GetColCount());
         --c) {
        const CKXColumnInfoClass* ci = m_arrColumnInfo[static_cast<std::size_t>(c)];
        if (IsColHidden(Col(c)) || ci->m_bVisible == 0) continue;
        if (m_bReducedColumns && !keptUnderReduction(c)) continue;
        if (ci->m_nWidthType == CKXColumnInfoClass::WidthFixed) {
            fixedWidths += ci->m_nWidth;
            continue;
        }
        if (block && (c == m_nColPinNumber || c == m_nColTermination)) continue;
        stretch = c;
        break;
    }
    const int firstClient = multiple ? 1 : 3;
    if (col == stretch && col > firstClient) {
        int before = 0;
        for (int c = 0; c < col; ++c)
            before += GetColWidth(Col(c));
        const int fill = GetGridRect().Width() - before - fixedWidths - 1;
        width = std::max(width - fixedWidths, fill);
    }
    return width;
}

BOOL CKXInstanceDetailsGridWnd::OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) {
    m_nTrackedCol = nTrackingMode == GX_TRACKWIDTH ? nCol : GX_INVALID;
    return CKXGridWnd::OnStartTracking(nRow, nCol, nTrackingMode);
}

BOOL CKXInstanceDetailsGridWnd::OnTrackColWidthMove(ROWCOL nCol, int nWidth) {
    m_nTrackedCol = GX_INVALID;
    return CKXGridWnd::OnTrackColWidthMove(nCol, nWidth);
}

void CKXInstanceDetailsGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CKXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
    if (nTrackingMode != GX_TRACKWIDTH) return;
    const int col = static_cast<int>(nCol);
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return;
    CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(col)];
    if (info->m_nWidthType == CKXColumnInfoClass::WidthInChars)
        info->m_nWidth = CGXGridCore::GetColWidth(nCol);
    if (!m_bReducedColumns) BroadcastColumnLayout(m_arrColumnInfo);
}

void CKXInstanceDetailsGridWnd::BroadcastColumnLayout(const std::vector<CKXColumnInfoClass*>& layout) {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server) return;
    // The receivers only read the copy; it is freed when the synchronous broadcast returns.
    auto copy = std::make_unique<std::vector<CKXColumnInfoClass*>>(layout);
    server->Broadcast(MSG_COLUMN_LAYOUT_CHANGED, reinterpret_cast<WPARAM>(copy.get()), kPinGridKind, 0);
}

void CKXInstanceDetailsGridWnd::StyleCaptionCell(int col, const CString& caption) {
    CString value = caption;
    UINT control = IDS_CTRL_LIST_HEADER;
    if (col == m_nColComments) {
        value = "#BMP(185)";
        control = 59456;
    } else if (col == m_nColPupd) {
        value = "#BMP(191)";
        control = 59455;
    } else if (col == m_nColDiffPair) {
        value = "#BMP(9095)";
        control = 59463;
    } else if (m_bIsBlock && !m_bMultipleObjects && col == m_nColPinName) {
        value = "Port Name";
    } else if (m_bIsBlock && !m_bMultipleObjects && col == m_nColPinType) {
        value = "Port Type";
    }
    CGXStyle style;
    style.SetValue(value)
        .SetControl(static_cast<WORD>(control))
        .SetFont(CGXFont().SetFaceName("Tahoma").SetBold(FALSE))
        .SetHorizontalAlignment(DT_LEFT)
        .SetEnabled(TRUE)
        .SetReadOnly(TRUE);
    style.SetUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), caption);
    SetStyleRange(CGXRange(PIN_CAPTION_ROW, Col(col)), style, gxOverride, 0, kNoUpdate, gxDo);
}

LRESULT CKXInstanceDetailsGridWnd::OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam) {
    if (lParam != kPinGridKind) return 0;
    const BOOL bWasLocked = LockUpdate(TRUE);
    {
        GridWriteScope scope(*this);
        if (!m_bColumnMode) {
            auto findCaption = [this](const CString& caption) -> int {
                for (ROWCOL c = 1; c <= GetColCount(); ++c) {
                    CGXStyle style;
                    GetStyleRowCol(PIN_CAPTION_ROW, c, style);
                    if (style.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)) &&
                        style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)) == caption)
                        return static_cast<int>(c);
                }
                return -1;
            };
            for (std::size_t i = 1; i < m_arrColumnInfo.size(); ++i) {
                const CKXColumnInfoClass* info = m_arrColumnInfo[i];
                if (info->m_bVisible != 1) continue;
                const int want = static_cast<int>(i);
                const int at = findCaption(info->m_strCaption);
                if (at >= 0) {
                    if (at != want && want <= static_cast<int>(GetColCount()))
                        MoveCols(Col(at), Col(at), Col(want), kNoUpdate, gxDo);
                    HideCols(Col(want), Col(want), FALSE, nullptr, kNoUpdate, gxDo);
                } else {
                    if (want > static_cast<int>(GetColCount()) + 1) continue;
                    InsertCols(Col(want), 1, kNoUpdate, gxDo);
                    StyleCaptionCell(want, info->m_strCaption);
                    // The new column's cells come from the objects of the rows.
                    if (info->m_nPropertyType != 0)
                        RefreshRowStyles(info->m_strPropertyName, info->m_nPropertyType, want, -1);
                }
            }
            if (const auto* old = reinterpret_cast<const std::vector<CKXColumnInfoClass*>*>(wParam)) {
                for (std::size_t i = 1; i < old->size(); ++i) {
                    const CKXColumnInfoClass* gone = (*old)[i];
                    if (!gone) continue;
                    const bool kept = std::any_of(
                        m_arrColumnInfo.begin(), m_arrColumnInfo.end(), [gone](const CKXColumnInfoClass* c) {
                            return c->m_bVisible == 1 && c->m_strCaption == gone->m_strCaption;
                        });
                    if (kept) continue;
                    for (ROWCOL c = 1; c <= GetColCount(); ++c)
                        if (GetValueRowCol(PIN_CAPTION_ROW, c) == gone->m_strCaption)
                            HideCols(c, c, TRUE, nullptr, kNoUpdate, gxDo);
                }
            }
            for (int c = 1; c < m_nColCount && c <= static_cast<int>(GetColCount()); ++c)
                SetColWidth(Col(c), Col(c), GetColumnInfo(c)->m_nWidth, nullptr, kNoUpdate, gxDo);
            GetColumnWidthTip();
        }
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
    return 1;
}

void CKXInstanceDetailsGridWnd::CustomizeColumns() {
    LoadCustomPropertyColumns(FALSE);
    if (CKXCustomizeAPI::invokeCustomizeDialog(3) != 1) return;
    const std::vector<CKXColumnInfoClass*> old = m_arrColumnInfo;
    SetupColumns();
    BroadcastColumnLayout(old);
    Redraw(GX_INVALIDATE, TRUE);
}

BOOL CKXInstanceDetailsGridWnd::IsCurrentColumnCustom() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col)) return FALSE;
    return GetColumnInfo(static_cast<int>(col))->m_nPropertyType != 0;
}

BOOL CKXInstanceDetailsGridWnd::IsCurrentCellSignal() {
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) && row >= PIN_FIRST_ROW && static_cast<int>(col) == m_nColSignal;
}

BOOL CKXInstanceDetailsGridWnd::IsCurrentCellTermination() {
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) && row >= PIN_FIRST_ROW && static_cast<int>(col) == m_nColTermination;
}

void CKXInstanceDetailsGridWnd::OnSortColumn(int col) {
    if (col <= 0 || col > static_cast<int>(GetColCount())) return;
    const CString key = GetColumnKeyFromHeader(GetValueRowCol(PIN_CAPTION_ROW, Col(col)));
    CString text;
    text.Format("sort pin %s", KXTclQuote(key).GetString());
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

int CKXInstanceDetailsGridWnd::SortByColumnName(CString name) {
    if (name.IsEmpty()) {
        ROWCOL row = 0, col = 0;
        if (!GetCurrentCell(row, col)) return 0;
        SortColumn(static_cast<int>(col));
        return 1;
    }
    const CString header = GetColumnHeaderFromKey(name);
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        if (GetValueRowCol(PIN_CAPTION_ROW, c).CompareNoCase(header) == 0) {
            SortColumn(static_cast<int>(c));
            return 1;
        }
    }
    return 0;
}

BOOL CKXInstanceDetailsGridWnd::ChangeCustomColumn(BOOL bClear, const CString* pValue) {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    ROWCOL row = 0, col = 0;
    if (rows.GetSize() == 0 || !GetCurrentCell(row, col)) return FALSE;
    const int column = static_cast<int>(col);
    if (column < 0 || static_cast<std::size_t>(column) >= m_arrColumnInfo.size()) return FALSE;
    const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(column)];
    if (info->m_nPropertyType == 0) return FALSE; // only custom property columns take values this way
    CString values;
    if (!bClear) {
        for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
            if (rows[i] < PIN_FIRST_ROW) continue;
            values += pValue && rows[i] == row ? *pValue : GetValueRowCol(rows[i], col);
            values += ",";
        }
        values.TrimRight(",");
    }
    // Both words are quoted for the script language, so that any text reads back unchanged.
    CString text;
    text.Format("changeCustomColumn -col %s -val %s", KXTclQuote(info->m_strPropertyName).GetString(),
                KXTclQuote(values).GetString());
    CWnd* main = AfxGetMainWnd();
    return main && main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1;
}
