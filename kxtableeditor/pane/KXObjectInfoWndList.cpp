// The object information window's drop-down list control: an owner-data list whose rows are the
// remembered objects of one kind, held as single rows or as runs of following ids.
#include "pane/KXObjectInfoWnd.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

IMPLEMENT_DYNAMIC(CKXObjectInfoListCtrl, CListCtrl)

namespace {

constexpr int kListColumnWidth[2] = {80, 120};
constexpr DWORD kInfoTips = 0x00000400;       // the list's info tips
constexpr DWORD kHeaderDragDrop = 0x00000010; // columns reordered by dragging their headers

} // namespace

CKXObjectInfoListCtrl::CKXObjectInfoListCtrl(BOOL multiple, int kind) : m_bMultiple(multiple), m_nKind(kind) {
    ModifyStyle(0, LVS_OWNERDATA);
}

BOOL CKXObjectInfoListCtrl::CreateList(CWnd* parent) {
    DWORD style = WS_CHILD | WS_BORDER | LVS_REPORT | LVS_OWNERDATA;
    if (!m_bMultiple) style |= LVS_SINGLESEL;
    if (!Create(style, CRect(0, 0, 0, 0), parent, m_nKind == 0 ? kComponentListId : kSignalListId)) return FALSE;
    SetExtendedStyle(kInfoTips | LVS_EX_FULLROWSELECT | kHeaderDragDrop);
    const int width = kListColumnWidth[m_nKind == 0 ? 0 : 1];
    if (m_nKind == 0) {
        for (const char* caption : {"Name", "RefDes", "Cell"})
            InsertColumn(GetColumnCount(), caption, LVCFMT_LEFT, width);
    } else {
        for (const char* caption : {"Name", "Phys Name"})
            InsertColumn(GetColumnCount(), caption, LVCFMT_LEFT, width);
    }
    SetItemCountEx(GetItemCount()); // rows added before the window was made
    return TRUE;
}

int CKXObjectInfoListCtrl::Entry::OffsetOf(DWORD_PTR id) const {
    const DWORD_PTR distance = step < 0 ? first - id : id - first;
    return distance < static_cast<DWORD_PTR>(count) ? static_cast<int>(distance) : -1;
}

void CKXObjectInfoListCtrl::Reindex() const {
    m_firstRow.clear();
    m_byLowest.clear();
    int row = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_firstRow.push_back(row);
        m_byLowest.emplace(m_entries[i].Lowest(), i);
        row += m_entries[i].count;
    }
    m_bIndexed = true;
}

void CKXObjectInfoListCtrl::Changed() {
    m_bIndexed = false;
    int rows = 0;
    for (const Entry& entry : m_entries)
        rows += entry.count;
    SetItemState(-1, 0, static_cast<UINT>(-1)); // the rows moved: no row keeps a selection
    SetItemCountEx(rows);
}

void CKXObjectInfoListCtrl::Append(Entry entry) {
    const int row = GetItemCount();
    if (m_bIndexed) {
        m_firstRow.push_back(row);
        m_byLowest.emplace(entry.Lowest(), m_entries.size());
    }
    const int count = entry.count;
    m_entries.push_back(std::move(entry));
    SetItemCountEx(row + count);
}

size_t CKXObjectInfoListCtrl::EntryOfRow(int row, int& offset) const {
    if (!m_bIndexed) Reindex();
    const auto after = std::upper_bound(m_firstRow.begin(), m_firstRow.end(), row);
    const size_t entry = static_cast<size_t>(after - m_firstRow.begin()) - 1;
    offset = row - m_firstRow[entry];
    return entry;
}

CString CKXObjectInfoListCtrl::OnGetItemText(int row, int column) const {
    int offset = 0;
    const Entry& entry = m_entries[EntryOfRow(row, offset)];
    if (entry.step != 0) return m_runText ? m_runText(entry.IdAt(offset), column) : CString();
    return static_cast<size_t>(column) < entry.texts.size() ? entry.texts[static_cast<size_t>(column)] : CString();
}

DWORD_PTR CKXObjectInfoListCtrl::OnGetItemData(int row) const {
    int offset = 0;
    return m_entries[EntryOfRow(row, offset)].IdAt(offset);
}

// The entry whose lowest id is the greatest not above the id is the only one that can hold it: the
// ids of the entries do not overlap.
bool CKXObjectInfoListCtrl::Locate(DWORD_PTR id, size_t& entry, int& offset) const {
    if (!m_bIndexed) Reindex();
    auto it = m_byLowest.upper_bound(id);
    if (it == m_byLowest.begin()) return false;
    entry = std::prev(it)->second;
    offset = m_entries[entry].OffsetOf(id);
    return offset >= 0;
}

int CKXObjectInfoListCtrl::FindRowById(DWORD_PTR id) const {
    size_t entry = 0;
    int offset = 0;
    return Locate(id, entry, offset) ? m_firstRow[entry] + offset : -1;
}

void CKXObjectInfoListCtrl::Entry::SplitAround(std::vector<int> gaps, std::vector<Entry>& pieces) const {
    std::sort(gaps.begin(), gaps.end());
    gaps.push_back(count);
    int start = 0;
    for (int gap : gaps) {
        if (gap > start) {
            Entry piece = *this;
            piece.first = IdAt(start);
            piece.count = gap - start;
            pieces.push_back(std::move(piece));
        }
        start = gap + 1;
    }
}

BOOL CKXObjectInfoListCtrl::AddRow(DWORD_PTR id, const CString& name, const CString& second, const CString& third) {
    if (FindRowById(id) >= 0) return FALSE;
    Entry entry;
    entry.first = id;
    entry.texts = {name, second};
    if (GetColumnCount() > 2) entry.texts.push_back(third);
    Append(std::move(entry));
    return TRUE;
}

void CKXObjectInfoListCtrl::AddRun(DWORD_PTR first, int count, int step) {
    if (count <= 0) return;
    Entry whole;
    whole.first = first;
    whole.count = count;
    whole.step = step < 0 ? -1 : 1;
    // Ids that have a row split the run: the pieces between them are appended in order.
    std::vector<int> taken;
    for (int offset = 0; offset < count; ++offset)
        if (FindRowById(whole.IdAt(offset)) >= 0) taken.push_back(offset);
    std::vector<Entry> pieces;
    whole.SplitAround(std::move(taken), pieces);
    for (Entry& piece : pieces)
        Append(std::move(piece));
}

// One pass over the entries: a run that loses rows leaves the runs between them.
void CKXObjectInfoListCtrl::RemoveRows(const std::set<DWORD_PTR>& ids) {
    std::map<size_t, std::vector<int>> doomed; // entry -> offsets taken out
    for (DWORD_PTR id : ids) {
        size_t entry = 0;
        int offset = 0;
        if (Locate(id, entry, offset)) doomed[entry].push_back(offset);
    }
    if (doomed.empty()) return;
    std::vector<Entry> kept;
    kept.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        auto taken = doomed.find(i);
        if (taken == doomed.end())
            kept.push_back(std::move(m_entries[i]));
        else
            m_entries[i].SplitAround(std::move(taken->second), kept);
    }
    m_entries = std::move(kept);
    Changed();
}

BOOL CKXObjectInfoListCtrl::SetItemText(int row, int column, LPCTSTR text) {
    const int columns = std::max(GetColumnCount(), 2);
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= columns) return FALSE;
    int offset = 0;
    const size_t at = EntryOfRow(row, offset);
    if (m_entries[at].step != 0) {
        // The row leaves its run with the texts it showed: the rows before and after it stay runs.
        Entry own;
        own.first = m_entries[at].IdAt(offset);
        for (int col = 0; col < columns; ++col)
            own.texts.push_back(OnGetItemText(row, col));
        std::vector<Entry> parts;
        m_entries[at].SplitAround({offset}, parts);
        parts.insert(parts.begin() + (offset > 0 ? 1 : 0), std::move(own));
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(at));
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at), parts.begin(), parts.end());
        m_bIndexed = false;
    }
    Entry& entry = m_entries[EntryOfRow(row, offset)];
    if (entry.texts.size() <= static_cast<size_t>(column)) entry.texts.resize(static_cast<size_t>(column) + 1);
    entry.texts[static_cast<size_t>(column)] = text;
    return TRUE;
}

BOOL CKXObjectInfoListCtrl::DeleteItem(int row) {
    if (row < 0 || row >= GetItemCount()) return FALSE;
    RemoveRows({GetItemData(row)});
    return TRUE;
}

BOOL CKXObjectInfoListCtrl::DeleteAllItems() {
    m_entries.clear();
    Changed();
    return TRUE;
}

CString CKXObjectInfoListCtrl::SelectedIds() const {
    std::string ids;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
        if (!ids.empty()) ids += ':';
        ids += std::to_string(GetItemData(row));
    }
    return ids.c_str();
}

void CKXObjectInfoListCtrl::ClickRow(int row, BOOL ctrlOrShift) {
    if (row < 0 || row >= GetItemCount()) return;
    if (ctrlOrShift && m_bMultiple) {
        const UINT state = GetItemState(row, LVIS_SELECTED);
        SetItemState(row, state ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        return;
    }
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    Choose();
}

void CKXObjectInfoListCtrl::Choose() {
    const CString ids = SelectedIds();
    CWnd* parent = GetParent();
    ShowWindow(SW_HIDE);
    if (parent && !ids.IsEmpty())
        parent->SendMessage(MSG_OBJECT_INFO_LIST, kShowChosen, reinterpret_cast<LPARAM>(ids.GetString()));
}

BOOL CKXObjectInfoListCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        Choose();
        return TRUE;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    if (message == WM_KILLFOCUS) ShowWindow(SW_HIDE);
    if (message == WM_GETDLGCODE) {
        const LRESULT code = CListCtrl::DefWindowProc(message, wParam, lParam);
        if (pResult) *pResult = code | DLGC_WANTALLKEYS;
        return TRUE;
    }
    return CListCtrl::OnWndMsg(message, wParam, lParam, pResult);
}
