#include "grid/KXRowIndex.h"

#include <algorithm>

void KXRowIndex::Clear() {
    m_rowsByKey.clear();
    m_rowsByText.clear();
    m_rowOfId.clear();
    m_nLayout = ~std::uint64_t{0};
}

void KXRowIndex::Add(Key key, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    std::vector<std::uint64_t>& ids = m_rowsByKey[key];
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    // A row that had no identity before does not move the others: the map learns it directly.
    if (m_nLayout == data->GetRowLayoutVersion()) m_rowOfId[id] = row;
}

void KXRowIndex::Remove(Key key, ROWCOL row) {
    auto it = m_rowsByKey.find(key);
    CGXData* data = Data();
    if (it == m_rowsByKey.end() || !data) return;
    const std::uint64_t id = data->PeekRowId(row);
    std::erase(it->second, id);
    if (it->second.empty()) m_rowsByKey.erase(it);
}

void KXRowIndex::Renumber() const {
    CGXData* data = Data();
    m_rowOfId.clear();
    if (!data) return;
    const ROWCOL rows = data->GetRowCount();
    m_rowOfId.reserve(rows);
    for (ROWCOL r = 1; r <= rows; ++r)
        if (const std::uint64_t id = data->PeekRowId(r)) m_rowOfId.emplace(id, r);
    m_nLayout = data->GetRowLayoutVersion();
}

void KXRowIndex::NumberRows() const {
    CGXData* data = Data();
    if (data && m_nLayout != data->GetRowLayoutVersion()) Renumber();
}

ROWCOL KXRowIndex::RowOf(std::uint64_t id) const {
    CGXData* data = Data();
    if (!data) return 0;
    if (m_nLayout != data->GetRowLayoutVersion()) Renumber();
    auto it = m_rowOfId.find(id);
    return it == m_rowOfId.end() ? 0 : it->second;
}

std::vector<ROWCOL> KXRowIndex::RowsOfIds(const std::vector<std::uint64_t>& ids) const {
    std::vector<ROWCOL> rows;
    rows.reserve(ids.size());
    for (std::uint64_t id : ids)
        if (const ROWCOL r = RowOf(id)) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<ROWCOL> KXRowIndex::Rows(Key key) const {
    auto it = m_rowsByKey.find(key);
    return it == m_rowsByKey.end() ? std::vector<ROWCOL>() : RowsOfIds(it->second);
}

void KXRowIndex::AddText(char type, const CString& text, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    // (A row written again with the same text adds nothing; TextRows drops repeats further back.)
    std::vector<std::uint64_t>& ids = m_rowsByText[TextKey(type, text)];
    if (ids.empty() || ids.back() != id) ids.push_back(id);
    if (m_nLayout == data->GetRowLayoutVersion()) m_rowOfId[id] = row;
}

std::vector<ROWCOL> KXRowIndex::TextRows(char type, const CString& text) const {
    auto it = m_rowsByText.find(TextKey(type, text));
    if (it == m_rowsByText.end()) return {};
    std::vector<ROWCOL> rows = RowsOfIds(it->second);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

ROWCOL KXRowIndex::FirstRow(Key key) const {
    const std::vector<ROWCOL> rows = Rows(key);
    return rows.empty() ? 0 : rows.front();
}

bool KXRowIndex::Has(Key key, ROWCOL row) const {
    auto it = m_rowsByKey.find(key);
    CGXData* data = Data();
    if (it == m_rowsByKey.end() || !data) return false;
    const std::uint64_t id = data->PeekRowId(row);
    return id != 0 && std::find(it->second.begin(), it->second.end(), id) != it->second.end();
}
