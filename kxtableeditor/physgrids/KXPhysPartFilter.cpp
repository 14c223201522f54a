// Filter, function filter, sort, selection by script key and the text dump of the
// physical part grid. A filter edit and a caption click are echoed to the host;
// its answer (the pane's filterRows and sort commands) does the work.
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "grid/KXGridScopes.h"
#include "grid/KXScriptWords.h"

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

int CKXPhysPartDetailsGridWnd::FilterRows(int col) {
    HideFilteredRows(GetRowCount());
    if (col > 0) JournalFilter(C(col));
    return 1;
}

BOOL CKXPhysPartDetailsGridWnd::SetColumnFilter(CString caption, CString filter) {
    const int col = ColumnOfCaption(caption);
    if (col <= 0) return FALSE;
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo); // a filter is no undo step
    SetValueRange(CGXRange(kPartFilterRow, C(col)), filter, gxOverride, 0, kNoUpdate);
    SetCurrentCell(kPartFilterRow, C(col));
    FilterRows(col);
    ApplyFunctionFilter(m_nFunctionFilter, TRUE);
    return TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::OnValidateCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == kPartFilterRow) {
        EchoFilterEdit(nCol);
        return TRUE;
    }
    if (nRow < kPartFirstRow || nCol != ModelColumn() || !GetRowPins(nRow)) return TRUE;
    return ValidateModelCell(nRow, nCol);
}

void CKXPhysPartDetailsGridWnd::ApplyFunctionFilter(int function, BOOL bKeepHidden) {
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    m_nFunctionFilter = function;
    m_bFunctionFilterSet = TRUE;
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r) {
        if (bKeepHidden && IsRowHidden(r)) continue;
        const bool hide = function != 0 && KXRowAttrs(*this, r).Get(C(s_nPNCol), kPinFunction) != function;
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
    SendHostText(CString(KXScriptWord::sort) + " pin " + KXTclQuote(GetValueRowCol(kPartCaptionRow, C(col))));
}

void CKXPhysPartDetailsGridWnd::SortRows(int col, BOOL bAscending) {
    if (col < 0 || GetRowCount() < kPartFirstRow) return;
    CKXSortGrid sorter(this, kPartFirstRow, FALSE, CCommonInterface::nSortType == 0 ? FALSE : TRUE, FALSE);
    sorter.SortRows(C(col), bAscending, 1);
    IndexPinRows();
}

BOOL CKXPhysPartDetailsGridWnd::SortByColumnName(CString name) {
    const int col = ColumnOfCaption(name);
    if (col <= 0) return FALSE;
    SortColumn(col);
    return TRUE;
}

std::vector<ROWCOL> CKXPhysPartDetailsGridWnd::RowsOfKeys(const CStringArray& keys, const CString& column,
                                                         ROWCOL& keyCol) {
    keyCol = KeyColumn(column, s_nPinNameCol);
    // A part and a pin number name one package pin, found through the index; the other keys are
    // answered by one walk over the rows.
    std::vector<ROWCOL> rows(static_cast<std::size_t>(keys.GetSize()), 0);
    std::vector<KXPhysRowQuery> queries;
    std::vector<std::size_t> queried;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        KXPhysRowQuery query;
        if (!KeyQuery(keys.GetAt(i), rows[static_cast<std::size_t>(i)], query)) continue;
        queries.push_back(std::move(query));
        queried.push_back(static_cast<std::size_t>(i));
    }
    const std::vector<ROWCOL> found = FindRowsOnce(queries, GetRowCount());
    for (std::size_t q = 0; q < queried.size(); ++q)
        rows[queried[q]] = found[q];
    return rows;
}

bool CKXPhysPartDetailsGridWnd::KeyQuery(const CString& key, ROWCOL& row, KXPhysRowQuery& query) {
    // "pin", "pin:number" or "part:pin:number".
    const std::vector<CString> fields = KeyFields(key);
    const std::size_t n = fields.size();
    const CString part = n >= 3 ? fields[0] : CString();
    const CString pinName = n >= 3 ? fields[1] : fields[0];
    const CString number = n >= 2 ? fields[n - 1] : CString();
    if (!number.IsEmpty() && (!part.IsEmpty() || !m_bObjectLoaded)) {
        row = FindPinRow(part.IsEmpty() ? m_strRefDes : part, number);
        return false;
    }
    if (m_bObjectLoaded) query.emplace_back(C(s_nPhysPartCol), part);
    if (number.IsEmpty())
        query.emplace_back(C(s_nPinNameCol), pinName);
    else
        query.emplace_back(C(s_nPNCol), number);
    return true;
}

int CKXPhysPartDetailsGridWnd::DumpCCP(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(path ? std::fopen(path, "ab") : nullptr);
    if (!file) return 0;
    std::unique_ptr<IPhysPartInst> part(GetPhysPartInst());
    std::fprintf(file.get(), "\n---CCP Dump for instance: %s---\n",
                 part ? part->name() : m_strRefDes.GetString());
    std::fprintf(file.get(), "\n%s  %s  %s\n", "", "", "");
    std::fprintf(file.get(), "\nFunctions:");
    if (m_pHeader)
        for (const CString& f : m_pHeader->GetFunctions())
            std::fprintf(file.get(), " \n%s", f.GetString());
    std::fprintf(file.get(), "\n");
    DumpShownCells(file.get());
    return 1;
}
