// Filter, function filter, sort, selection by script key and the text dump of the
// physical part grid. A filter edit and a caption click are echoed to the host;
// its answer (the pane's filterRows and sort commands) does the work.
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "physgrids/KXPhysPartDetailsHeader.h"

#include "grid/KXGridEdit.h"

#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXFilterData.h"
#include "kxcontrols/KXSortGrid.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/transaction.h"

#include <cstdio>
#include <memory>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

} // namespace

// The pattern of a filter cell: the text being typed when its editor is active.
static CString FilterPattern(CGXGridCore& grid, ROWCOL row, ROWCOL col, ROWCOL edited) {
    ROWCOL r = 0, c = 0;
    if (col == edited && grid.GetCurrentCell(r, c) && r == row && c == col)
        if (CGXControl* control = grid.GetCurrentCellControl(); control && control->IsActive()) {
            CString text;
            control->GetCurrentText(text);
            return text;
        }
    return grid.GetValueRowCol(row, col);
}

int CKXPhysPartDetailsGridWnd::FilterRows(int col) {
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const ROWCOL last = GetRowCount();
    for (ROWCOL r = kPartFirstRow; r <= last; ++r)
        if (CellAttribute(r, C(s_nPNCol), IDS_UA_FILTERED_BLOCK_ROW) != 1 && IsRowHidden(r))
            HideRows(r, r, FALSE, nullptr, kNoUpdate, gxDo);
    for (ROWCOL c = GetColCount(); c >= 1; --c) {
        const CString pattern = FilterPattern(*this, kPartFilterRow, c, C(col));
        if (pattern.IsEmpty() || pattern == "*") continue;
        CKXFilterData filter;
        filter.SetPattern(pattern);
        for (ROWCOL r = kPartFirstRow; r <= last; ++r)
            if (!IsRowHidden(r) && !filter.SearchText(GetValueRowCol(r, c)))
                HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
        filter.FreePattern();
    }
    if (param) param->EnableUndo(undo);
    if (col > 0 && CKXShareGlobalData::m_bAutomation)
        Journal(JournalPartSelection() + "\ncall " + JournalHandle() + ".ConnectivityPane().FilterRows(" +
                Vbs(GetValueRowCol(kPartCaptionRow, C(col))) + "," +
                Vbs(FilterPattern(*this, kPartFilterRow, C(col), C(col))) + ")");
    return 1;
}

BOOL CKXPhysPartDetailsGridWnd::SetColumnFilter(CString caption, CString filter) {
    int col = -1;
    if (caption.IsEmpty()) {
        ROWCOL r = 0, c = 0;
        if (GetCurrentCell(r, c)) col = static_cast<int>(c);
    } else {
        col = FindColumnByCaption(caption);
    }
    if (col <= 0) return FALSE;
    SetValueRange(CGXRange(kPartFilterRow, C(col)), filter, gxOverride, 0, kNoUpdate);
    SetCurrentCell(kPartFilterRow, C(col));
    FilterRows(col);
    ApplyFunctionFilter(m_nFunctionFilter, TRUE);
    return TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kPartFilterRow) {
        if (m_bEchoingFilter) return TRUE;
        CString pattern = FilterPattern(*this, nRow, nCol, nCol);
        const CString caption = GetValueRowCol(kPartCaptionRow, nCol);
        m_bEchoingFilter = TRUE;
        SendHostText("filterRows pin -col " + KXTclQuote(caption) + " -filter " + KXTclQuote(Escaped(pattern)));
        m_bEchoingFilter = FALSE;
        return TRUE;
    }
    if (nRow < kPartFirstRow || nCol != ModelColumn()) return TRUE;
    CString text;
    if (CGXControl* control = GetCurrentCellControl()) control->GetCurrentText(text);
    const CString old = GetValueRowCol(nRow, nCol);
    const std::vector<CInstTermBitContext>* bits = GetRowPins(nRow);
    if (text == old || !bits) return TRUE;
    const std::vector<CInstTermBitContext> pins = *bits;
    CKXGridEdit edit(*this, "Assign Model");
    CTransaction* transaction = edit.Transaction();
    if (!transaction) return TRUE;
    for (const CInstTermBitContext& bit : pins)
        transaction->addProperty(bit, "PIN_SIGNAL_MODEL", text.GetString(), 2, false);
    JournalModelRow(nRow, "Assign Model", "AssignModel(" + Vbs(text) + ")");
    if (edit.Commit()) MarkDocumentModified(); // an edit in the cell marks the document too
    SetSignalModelCellStyle(nRow);
    return TRUE;
}

void CKXPhysPartDetailsGridWnd::ApplyFunctionFilter(int function, BOOL bKeepHidden) {
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    m_nFunctionFilter = function;
    m_bFunctionFilterSet = TRUE;
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r) {
        if (bKeepHidden && IsRowHidden(r)) continue;
        const bool hide = function != 0 && CellAttribute(r, C(s_nPNCol), IDS_UA_PHYSPIN_FUNCTION) != function;
        if (hide != (IsRowHidden(r) != FALSE)) HideRows(r, r, hide ? TRUE : FALSE, nullptr, kNoUpdate, gxDo);
    }
    if (param) param->EnableUndo(undo);
}

void CKXPhysPartDetailsGridWnd::FilterByFunction(int col, int function, BOOL bRedraw) {
    CWaitCursor wait;
    DeselectAllRows();
    const BOOL locked = bRedraw ? LockUpdate(TRUE) : FALSE;
    FilterRows(col);
    ApplyFunctionFilter(function == -1 ? m_nFunctionFilter : function, TRUE);
    if (bRedraw) {
        LockUpdate(locked);
        Redraw(2, 1);
    }
    if (GetRowCount() >= kPartFirstRow) SetTopRow(kPartFirstRow, kNoUpdate);
}

void CKXPhysPartDetailsGridWnd::OnSortColumn(int col) {
    if (col <= 0) return;
    SendHostText("sort pin " + KXTclQuote(GetValueRowCol(kPartCaptionRow, C(col))));
}

void CKXPhysPartDetailsGridWnd::SortRows(int col, BOOL bAscending) {
    if (col < 0 || GetRowCount() < kPartFirstRow) return;
    CKXSortGrid sorter(this, kPartFirstRow, FALSE, CCommonInterface::nSortType == 0 ? FALSE : TRUE, FALSE);
    sorter.SortRows(C(col), bAscending, 1);
    m_mapPins.ForgetRows();
}

BOOL CKXPhysPartDetailsGridWnd::SortByColumnName(CString name) {
    int col = -1;
    if (name.IsEmpty()) {
        ROWCOL r = 0, c = 0;
        if (GetCurrentCell(r, c)) col = static_cast<int>(c);
    } else {
        col = FindColumnByCaption(name);
    }
    if (col <= 0) return FALSE;
    SortColumn(col);
    return TRUE;
}

void CKXPhysPartDetailsGridWnd::SelectRowsByKey(CStringArray* keys, CString column) {
    if (!keys || keys->GetSize() == 0) {
        SelectVisiblePinRows();
        return;
    }
    int keyCol = s_nPinNameCol;
    if (!column.IsEmpty()) {
        keyCol = FindColumnByCaption(column);
        if (keyCol <= 0) keyCol = s_nPinNameCol;
    }
    // A selection made for a script command is no undo step of its own.
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    DeselectAllRows();
    bool first = true;
    for (INT_PTR i = 0; i < keys->GetSize(); ++i) {
        const CString key = keys->GetAt(i);
        CString part, pinName, number;
        const int a = key.Find(':');
        if (a < 0) {
            pinName = key;
        } else {
            const int b = key.Find(':', a + 1);
            if (b < 0) {
                pinName = key.Left(a);
                number = key.Mid(a + 1);
            } else {
                part = key.Left(a);
                pinName = key.Mid(a + 1, b - a - 1);
                number = key.Mid(b + 1);
            }
        }
        ROWCOL found = 0;
        if (!number.IsEmpty() && (!part.IsEmpty() || !m_bObjectLoaded)) {
            // A part and a pin number name one package pin: found through the index.
            found = FindPinRow(part.IsEmpty() ? m_strRefDes : part, number);
        } else {
            for (ROWCOL r = kPartFirstRow; r <= GetRowCount() && !found; ++r) {
                if (m_bObjectLoaded && GetValueRowCol(r, C(s_nPhysPartCol)) != part) continue;
                if (number.IsEmpty() ? GetValueRowCol(r, C(s_nPinNameCol)) == pinName
                                     : GetValueRowCol(r, C(s_nPNCol)) == number)
                    found = r;
            }
        }
        if (!found) continue;
        if (first) {
            SetCurrentCell(found, C(keyCol));
            first = false;
        }
        SelectRange(CGXRange(found, C(keyCol)), TRUE, TRUE);
    }
    if (param) param->EnableUndo(undo);
}

int CKXPhysPartDetailsGridWnd::DumpCCP(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(path ? std::fopen(path, "ab") : nullptr);
    if (!file) return 0;
    std::unique_ptr<IPhysPartInst> part(GetPhysPartInst());
    std::fprintf(file.get(), "\n---CCP Dump for instance: %s---\n", part ? part->name() : m_strRefDes.GetString());
    std::fprintf(file.get(), "\n%s  %s  %s\n", "", "", "");
    std::fprintf(file.get(), "\nFunctions:");
    if (m_pHeader)
        for (const CString& f : m_pHeader->GetFunctions())
            std::fprintf(file.get(), " \n%s", f.GetString());
    std::fprintf(file.get(), "\n");
    for (ROWCOL r = 1; r <= GetRowCount(); ++r) {
        if (IsRowHidden(r)) continue;
        for (ROWCOL c = 1; c <= GetColCount(); ++c) {
            if (IsColHidden(c) || GetColWidth(c) == 0) continue;
            std::fprintf(file.get(), "%-31s   ", GetValueRowCol(r, c).GetString());
        }
        std::fprintf(file.get(), "\n");
    }
    return 1;
}
