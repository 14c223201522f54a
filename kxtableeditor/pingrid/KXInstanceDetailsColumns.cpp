// The pin grid's columns: the class-wide column list built from the column
// customisation, widths, the layout broadcast and sorting by a named column.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridSetup.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXColumnModel.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <algorithm>

CKXColumnModel& CKXInstanceDetailsGridWnd::Columns() {
    static CKXColumnModel model("CCP", KXGridKind::Pin, "CCP");
    return model;
}

const std::vector<CKXColumnInfoClass*>& CKXInstanceDetailsGridWnd::m_arrColumnInfo =
    CKXInstanceDetailsGridWnd::Columns().Columns();

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::kNoUpdate;

namespace {

struct KeyColumn {
    const char* key;
    int* column;
};

// How far past the grid's last column the key columns a customisation leaves out are numbered.
constexpr int kAbsentColumnOffset = 1000;

// Instance and Ref Des: shown only when the grid holds several instances.
const std::vector<CKXColumnModel::FixedColumn> kFixedColumns = {{"Instance", 50, false}, {"Ref Des", 50, false}};

// Descriptors a rebuild replaced: a layout broadcast may still refer to them, so they live on.
std::vector<std::unique_ptr<CKXColumnInfoClass>>& RetiredColumns() {
    static std::vector<std::unique_ptr<CKXColumnInfoClass>> retired;
    return retired;
}

} // namespace

int CKXInstanceDetailsGridWnd::AverageCharWidth() const {
    return CKXColumnModel::kCharWidth;
}

void CKXInstanceDetailsGridWnd::SetupColumns() {
    auto former = Columns().Setup(kFixedColumns, AverageCharWidth(), m_bShowRowNumbers != 0);
    for (auto& info : former)
        RetiredColumns().push_back(std::move(info));
    TakeColumnNumbers();
}

void CKXInstanceDetailsGridWnd::TakeColumnNumbers() {
    // Each key column takes the number of the entry that names it.
    using namespace PinColumnKey;
    const KeyColumn keys[] = {{DIFF_PAIR, &m_nColDiffPair}, {PIN_NAME, &m_nColPinName},
                              {PN, &m_nColPinNumber},       {PIN_TYPE, &m_nColPinType},
                              {SIGNAL, &m_nColSignal},      {TERMINATION, &m_nColTermination},
                              {PUPD, &m_nColPupd},          {COMMENTS, &m_nColComments}};
    m_nColCount = Columns().Size();
    // A key column the customisation leaves out gets a number past the grid's columns, each its own:
    // the grid neither writes nor reads its cells, and it meets none of the columns shown (its old
    // number would be another column's now). A grid with no columns at all keeps the numbers it had.
    int absent = m_nColCount + kAbsentColumnOffset;
    for (const KeyColumn& k : keys) {
        if (const int col = Columns().ColumnOfKey(k.key); col >= 0)
            *k.column = col;
        else if (m_nColCount > 0)
            *k.column = absent++;
    }
}

void CKXInstanceDetailsGridWnd::LoadCustomPropertyColumns(BOOL bParse) {
    Columns().Save(AverageCharWidth(), bParse != FALSE);
}

void CKXInstanceDetailsGridWnd::GetRegistrySubKey(int column, CString& subkey) {
    subkey = Columns().RegistrySubKey(column);
}

int CKXInstanceDetailsGridWnd::ColumnOfKey(const CString& key) {
    return Columns().ColumnOfKey(key);
}

CKXColumnInfoClass* CKXInstanceDetailsGridWnd::GetColumnInfo(int nCol) {
    return Columns().At(nCol);
}

CString CKXInstanceDetailsGridWnd::GetColumnHeaderFromKey(const CString& key) {
    if (key.CompareNoCase("pupd") == 0) return "#BMP(191)";
    if (key.CompareNoCase("comments") == 0) return "#BMP(185)";
    if (key.CompareNoCase("diffpair") == 0) return "#BMP(9095)";
    return key;
}

int CKXInstanceDetailsGridWnd::ColumnOfName(const CString& name) {
    if (name.IsEmpty()) return 0;
    const CString header = GetColumnHeaderFromKey(name);
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(PIN_CAPTION_ROW, c).CompareNoCase(header) == 0) return static_cast<int>(c);
    // A column whose caption row shows a picture is named by the caption it has in the column list.
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        const CKXColumnInfoClass* info = Columns().Find(static_cast<int>(c));
        if (info && info->m_strCaption.CompareNoCase(name) == 0) return static_cast<int>(c);
    }
    return 0;
}

CString CKXInstanceDetailsGridWnd::GetColumnKeyFromHeader(const CString& header) {
    if (header == "#BMP(191)") return "pupd";
    if (header == "#BMP(185)") return "comments";
    if (header == "#BMP(9095)") return "diffpair";
    return header;
}

void CKXInstanceDetailsGridWnd::GetColumnMenuText(int col, CString& text, BOOL& bEnabled) {
    // Column n is named by the caption of the column before it.
    if (Columns().MenuCaption(col, text)) bEnabled = TRUE;
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
                m_arrColumnInfo[static_cast<std::size_t>(c)]->m_bShown = 1;
    } else if (col == m_nColInstance || col == m_nColRefDes) {
        return 0;
    }
    if (m_bReducedColumns && !keptUnderReduction(col)) return 0;
    if (!m_bHasDiffPairs && col == m_nColDiffPair) return 0;
    if (block && (col == m_nColTermination || col == m_nColPinNumber)) return 0;
    if (col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return 0;
    const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(col)];
    if (!info || info->m_bShown == 0 || width == 0) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;

    // The last scaled column that is shown stretches to the window's right edge.
    int fixedWidths = 0;
    int stretch = -1;
    for (int c = static_cast<int>(m_arrColumnInfo.size()) - 1; c >= 1 && c <= static_cast<int>(GetColCount());
         --c) {
        const CKXColumnInfoClass* ci = m_arrColumnInfo[static_cast<std::size_t>(c)];
        if (IsColHidden(Col(c)) || ci->m_bShown == 0) continue;
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
    // A column border grabbed: a double-click that follows without a move fits the column.
    m_bAutoFitPending = nTrackingMode == GX_TRACKWIDTH;
    m_nAutoFitColumn = m_bAutoFitPending ? nCol : 0;
    return CKXGridWnd::OnStartTracking(nRow, nCol, nTrackingMode);
}

BOOL CKXInstanceDetailsGridWnd::OnTrackColWidthMove(ROWCOL nCol, int nWidth) {
    m_bAutoFitPending = FALSE;
    m_nAutoFitColumn = 0;
    return CKXGridWnd::OnTrackColWidthMove(nCol, nWidth);
}

void CKXInstanceDetailsGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CKXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
    if (nTrackingMode != GX_TRACKWIDTH) return;
    if (!Columns().Find(static_cast<int>(nCol))) return;
    Columns().TrackWidth(*this, static_cast<int>(nCol));
    if (!m_bReducedColumns) BroadcastColumnLayout(m_arrColumnInfo);
}

void CKXInstanceDetailsGridWnd::BroadcastColumnLayout(const std::vector<CKXColumnInfoClass*>& layout) {
    Columns().Broadcast(layout);
}

void CKXInstanceDetailsGridWnd::StyleCaptionCell(int col, const CString& caption) {
    CString value = caption;
    UINT control = IDS_CTRL_LIST_HEADER;
    if (col == m_nColComments) {
        value = "#BMP(185)";
        control = IDS_CTRL_PIN_COMMENTS_HEADER;
    } else if (col == m_nColPupd) {
        value = "#BMP(191)";
        control = IDS_CTRL_PIN_PUPD_HEADER;
    } else if (col == m_nColDiffPair) {
        value = "#BMP(9095)";
        control = IDS_CTRL_DIFFPAIR_HEADER;
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
    if (!Columns().IsLayoutOfKind(lParam)) return 0;
    TakeColumnNumbers(); // the model was rebuilt before the broadcast
    CKXColumnModel::LayoutHooks hooks;
    hooks.styleCaption = [this](int col, const CString& caption) {
        // A column inserted now looks like the others: caption, filter cell, covered header bands.
        StyleCaptionCell(col, caption);
        m_setup->StyleFilterCells(Col(col), Col(col));
        m_setup->CoverHeaderBands();
    };
    hooks.fillColumn = [this](int col, const CKXColumnInfoClass& info) {
        RefreshRowStyles(info.m_strPropertyName, info.m_nPropertyType, col, -1);
    };
    hooks.finish = [this] { GetColumnWidthTip(); };
    // A grid side by side with others takes the layout too: the column numbers are the class's, so a
    // grid left behind would read and journal its cells by another grid's columns once shown alone.
    Columns().ApplyLayout(*this, PIN_CAPTION_ROW, CKXColumnModel::OldLayout(wParam), hooks);
    if (m_bColumnMode) {
        kxgrid::LockUpdateScope lock(*this);
        kxgrid::GridWriteScope write(*this);
        HideColumnModeColumns(TRUE, m_bSignalOnlyColumns);
        SetColumnModeWidths(TRUE, m_bSignalOnlyColumns);
    }
    return 1;
}

void CKXInstanceDetailsGridWnd::CustomizeColumns() {
    constexpr int kPinGridDialog = 3;
    if (!Columns().Customize(kFixedColumns, AverageCharWidth(), m_bShowRowNumbers != 0, kPinGridDialog)) return;
    TakeColumnNumbers();
    Redraw(GX_INVALIDATE, TRUE);
}

int CKXInstanceDetailsGridWnd::AddPropertyColumn(const CString& entry) {
    const int added = Columns().AddUserColumn(kFixedColumns, AverageCharWidth(), m_bShowRowNumbers != 0, entry);
    if (added != 1) return added;
    TakeColumnNumbers();
    Redraw(GX_INVALIDATE, TRUE);
    return added;
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
    text.Format("%s pin %s", KXScriptWord::sort, KXTclQuote(key).GetString());
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

void CKXInstanceDetailsGridWnd::SortLike(int col, BOOL bAscending) {
    if (!m_bColumnMode) return;
    // The next sort of the column goes the way the other grid's went.
    m_nSortCol = bAscending ? -1 : col;
    m_bSortAscending = TRUE;
    SortColumn(col);
}

int CKXInstanceDetailsGridWnd::SortByColumnName(CString name) {
    if (name.IsEmpty()) {
        ROWCOL row = 0, col = 0;
        if (!GetCurrentCell(row, col)) return 0;
        SortColumn(static_cast<int>(col));
        return 1;
    }
    const int col = ColumnOfName(name);
    if (col <= 0) return 0;
    if (m_bColumnMode && col != m_nColPinName) {
        // Grids side by side keep their rows in step: they sort by the Pin Name only.
        CKXErrorHandler::MessageBoxOk("KXTABLE-349", GetValueRowCol(PIN_CAPTION_ROW, Col(col)));
        return 0;
    }
    SortColumn(col);
    return 1;
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
        // The edited text stands for every selected row, each a whole item of the list.
        const CString value = KXValueListItem(pValue ? *pValue : GetValueRowCol(row, col));
        for (INT_PTR i = 0; i < rows.GetSize(); ++i)
            if (rows[i] >= PIN_FIRST_ROW) values += (values.IsEmpty() ? "" : ",") + value;
    }
    // Both words are quoted for the script language, so that any text reads back unchanged.
    CString text;
    text.Format("%s pin -col %s -val %s", KXScriptWord::changeCustomColumn,
                KXTclQuote(info->m_strPropertyName).GetString(), KXTclQuote(values).GetString());
    CWnd* main = AfxGetMainWnd();
    return main && main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1;
}
