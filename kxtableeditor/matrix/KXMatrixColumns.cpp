// The column layout every matrix grid of the process shares: built from the
// "MATRIX" customisation (signal-side columns, then the sub-columns of one
// instance group), saved back, changed by the customise dialog or a dragged
// border, and re-applied by every open matrix grid on the layout broadcast.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXGridScopes.h"

#include "kxcommon/KXCustomizeAPI.h"

#include <algorithm>

using namespace kxmatrix;
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

namespace {

constexpr UINT kNoUpdate = 0;

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

bool IsSignalSide(const CKXColumnInfoClass& info) {
    const CString& key = info.m_strPropertyName;
    return key == NAME || key == PHYS_NET_NAME || key == "PUPD" || info.m_nPropertyType == KX_ORIGIN_NETPROP;
}

} // namespace

CKXColumnModel& CKXMatrixGridWnd::Columns() {
    static CKXColumnModel model("MATRIX", KXGridKind::Matrix, "MCCP");
    return model;
}

KXMatrixLayout& CKXMatrixGridWnd::Layout() {
    static KXMatrixLayout layout;
    return layout;
}

int CKXMatrixGridWnd::CharWidth() const {
    return CKXColumnModel::kCharWidth;
}

namespace {

// Appends the descriptor to its side of the layout; a key the matrix works with takes its layout value
// from the place the descriptor gets there.
void PlaceColumn(KXMatrixLayout& layout, CKXColumnInfoClass* info) {
    const CString& key = info->m_strPropertyName;
    auto& side = IsSignalSide(*info) ? layout.m_arrSignalColumns : layout.m_arrInstanceColumns;
    const int position = static_cast<int>(side.size());
    if (key == NAME) layout.m_nNameCol = position;
    if (key == PHYS_NET_NAME) layout.m_nPhysNetNameCol = position;
    if (key == "PUPD") layout.m_nPupdCol = position;
    if (key == "PIN_NAME") layout.m_nPinNameOffset = position;
    if (key == "PN") layout.m_nPnOffset = position;
    if (key == PIN_TYPE) layout.m_nPinTypeOffset = position;
    if (key == "TERMINATION") layout.m_nTerminationOffset = position;
    side.push_back(info);
}

// The columns the matrix works with (their cells carry the signal, the pin and what is on them).
struct KXNeededColumn {
    const char* key;
    const char* caption;
    int widthInChars;
};
constexpr KXNeededColumn kNeededColumns[] = {
    {"NAME", "Signal", 16},        {"PHYS_NET_NAME", "Physical Net", 14}, {"PUPD", "Pull Up/Down", 10},
    {"PIN_NAME", "Pin Name", 14},  {"PN", "Pin Number", 8},               {"PIN_TYPE", "Pin Type", 8},
    {"TERMINATION", "Termination", 12}};

// Descriptors the customisation lacked, put back hidden by the last set-up.
std::vector<std::unique_ptr<CKXColumnInfoClass>>& RestoredColumns() {
    static std::vector<std::unique_ptr<CKXColumnInfoClass>> restored;
    return restored;
}

} // namespace

std::vector<std::unique_ptr<CKXColumnInfoClass>> CKXMatrixGridWnd::SetupColumns() {
    // The model owns the descriptors; the former ones go back to the caller (a broadcast of the
    // old layout may still name them).
    auto former = Columns().Setup({}, CharWidth(), false);
    KXMatrixLayout& layout = Layout();
    layout.m_arrSignalColumns.clear();
    layout.m_arrInstanceColumns.clear();
    for (CKXColumnInfoClass* info : Columns().Columns()) {
        if (info->m_nColumn == 0) {
            info->m_nWidth = 0;
            info->m_bShown = 0;
            layout.m_arrSignalColumns.push_back(info);
            continue;
        }
        PlaceColumn(layout, info);
    }
    RestoreNeededColumns(former);
    layout.m_nFirstInstanceCol = static_cast<int>(layout.m_arrSignalColumns.size());
    layout.m_nGroupWidth = static_cast<int>(layout.m_arrInstanceColumns.size());
    return former;
}

// A customisation without a column the matrix works with (written by hand or by another version) would
// leave that column's layout value on another column (a Pin Type cell taking pin numbers): such a column
// is kept, hidden, after the others of its side. The customisation itself is not changed.
void CKXMatrixGridWnd::RestoreNeededColumns(std::vector<std::unique_ptr<CKXColumnInfoClass>>& former) {
    auto& restored = RestoredColumns();
    for (auto& info : restored) former.push_back(std::move(info));
    restored.clear();
    const CKXColumnModel::Layout& columns = Columns().Columns();
    for (const KXNeededColumn& need : kNeededColumns) {
        const bool present = std::any_of(columns.begin(), columns.end(), [&](const CKXColumnInfoClass* info) {
            return info->m_nColumn != 0 && info->m_strPropertyName == need.key;
        });
        if (present) continue;
        auto info = std::make_unique<CKXColumnInfoClass>();
        info->m_strPropertyName = need.key;
        info->m_strCaption = need.caption;
        info->m_nWidth = need.widthInChars * CharWidth();
        info->m_nWidthType = CKXColumnInfoClass::WidthInChars;
        info->m_bShown = 0;
        PlaceColumn(Layout(), info.get());
        restored.push_back(std::move(info));
    }
}

void CKXMatrixGridWnd::SaveCustomization(BOOL parseAgain) {
    // A fixed width is saved as it stands (it is the user's), a counted one in characters.
    Columns().Save(CharWidth(), parseAgain != FALSE);
}

void CKXMatrixGridWnd::LoadCustomization(BOOL save) {
    Columns().SelectOrigin();
    if (save) SaveCustomization(TRUE);
}

void CKXMatrixGridWnd::CustomizeColumns() {
    SaveCustomization(FALSE);
    Columns().SelectOrigin();
    if (!CKXColumnModel::TookCustomizeAnswer(CKXCustomizeAPI::invokeCustomizeDialog(kCustomizeDialogKind))) return;
    RebuildColumns();
}

int CKXMatrixGridWnd::AddPropertyColumn(const CString& entry) {
    SaveCustomization(FALSE);
    Columns().SelectOrigin();
    const int added = CKXCustomizeAPI::addUserEntry(entry);
    if (added == 1) RebuildColumns();
    return added;
}

void CKXMatrixGridWnd::RebuildColumns() {
    const CKXColumnModel::Layout old = Columns().Columns();
    auto keepAlive = SetupColumns();
    Columns().Broadcast(old);
    Redraw();
}

int CKXMatrixGridWnd::GetColumnProfileSection(int col, CString& section) {
    section.Empty();
    if (col < 0) return 0;
    CKXColumnInfoClass* info = nullptr;
    int offset = -1, group = -1;
    if (SplitColumn(col, offset, group))
        info = Layout().m_arrInstanceColumns[static_cast<std::size_t>(offset)];
    else if (static_cast<std::size_t>(col) < Layout().m_arrSignalColumns.size())
        info = Layout().m_arrSignalColumns[static_cast<std::size_t>(col)];
    if (!info) return 0;
    section.Format("MCCP\\%s", info->m_strPropertyName.GetString());
    return 1;
}

CKXColumnInfoClass* CKXMatrixGridWnd::GetColumnInfo(int col) {
    int offset = -1, group = -1;
    if (SplitColumn(col, offset, group)) return Layout().m_arrInstanceColumns[static_cast<std::size_t>(offset)];
    if (col >= 0 && static_cast<std::size_t>(col) < Layout().m_arrSignalColumns.size())
        return Layout().m_arrSignalColumns[static_cast<std::size_t>(col)];
    return nullptr;
}

int CKXMatrixGridWnd::GetColWidth(ROWCOL nCol) {
    if (nCol == static_cast<ROWCOL>(KXMatrixLayout::m_nRowHeaderCol)) return 0;
    const int width = CGXGridCore::GetColWidth(nCol);
    const CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(nCol));
    if (width == 0 || !info || !info->m_bShown) return 0;
    return info->m_nWidthType == CKXColumnInfoClass::WidthFixed ? info->m_nWidth : width;
}

void CKXMatrixGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CKXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
    CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(nCol));
    if (!info) return;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthInChars) info->m_nWidth = CGXGridCore::GetColWidth(nCol);
    Columns().Broadcast(Columns().Columns());
}

// ------------------------------------------------------------------ bits of the layout

bool CKXMatrixGridWnd::SplitColumn(int col, int& offset, int& group) {
    const KXMatrixLayout& layout = Layout();
    if (col < layout.m_nFirstInstanceCol || layout.m_nGroupWidth <= 0) return false;
    group = (col - layout.m_nFirstInstanceCol) / layout.m_nGroupWidth;
    offset = (col - layout.m_nFirstInstanceCol) % layout.m_nGroupWidth;
    return true;
}

bool CKXMatrixGridWnd::DecodeInstanceColumn(int col, int& offset, int& group) {
    if (!SplitColumn(col, offset, group)) return false;
    return offset == Layout().m_nPinNameOffset || offset == Layout().m_nPnOffset;
}

int CKXMatrixGridWnd::ColumnOf(int group, int offset) {
    return Layout().m_nFirstInstanceCol + group * Layout().m_nGroupWidth + offset;
}

// ------------------------------------------------------------------ re-applying a layout

LRESULT CKXMatrixGridWnd::OnColumnLayoutChanged(WPARAM /*previousDescriptors*/, LPARAM gridKind) {
    if (!Columns().IsLayoutOfKind(gridKind)) return 0;
    LockUpdateScope lock(*this);
    GridWriteScope write(*this);
    const KXMatrixLayout& layout = Layout();
    // Every group takes the shared layout: the widths of every column, whether each is shown and
    // its caption. A new layout with other columns rebuilds the grid from the stored view.
    const bool sameShape = GetColCount() + 1 == static_cast<ROWCOL>(layout.m_nFirstInstanceCol) +
                                                    static_cast<ROWCOL>(layout.m_nGroupWidth * GroupCount());
    if (!sameShape) {
        const CString view = m_strViewName;
        ClearContent();
        if (!view.IsEmpty()) LoadMatrixView(view);
        return 1;
    }
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        const CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(c));
        if (!info) continue;
        SetColWidth(c, c, info->m_nWidth, nullptr, kNoUpdate, gxDo);
        HideCols(c, c, info->m_bShown ? FALSE : TRUE, nullptr, kNoUpdate, gxDo);
    }
    // Blocks keep their pin-number and termination columns hidden.
    for (int g = 0; g < GroupCount(); ++g)
        if (GroupInstance(g) && GroupInstance(g).instance()->isBlock())
            for (int offset : {layout.m_nPnOffset, layout.m_nTerminationOffset})
                HideCols(Col(ColumnOf(g, offset)), Col(ColumnOf(g, offset)), TRUE, nullptr, kNoUpdate, gxDo);
    return 1;
}
