#include "grid/KXRowIndex.h"

#include <algorithm>

void KXRowIndex::RowIds::Keep(std::uint64_t id) {
    if (m_many.empty() && m_one == 0) {
        m_one = id;
        return;
    }
    if (m_many.empty()) m_many.push_back(m_one);
    m_many.push_back(id);
}

void KXRowIndex::RowIds::Add(std::uint64_t id) {
    std::erase(m_gone, id);
    if (std::ranges::find(All(), id) == All().end()) Keep(id);
}

void KXRowIndex::RowIds::Erase(std::uint64_t id) {
    std::erase(m_gone, id);
    if (m_many.empty()) {
        if (m_one == id) m_one = 0;
        return;
    }
    std::erase(m_many, id);
    if (m_many.empty()) m_one = 0;
}

std::vector<ROWCOL> KXRowIndex::RowIds::Rows(std::uint64_t cut, const KXRowIndex& index) {
    if (!m_gone.empty() && m_goneCut != cut) {
        for (std::uint64_t id : m_gone) Keep(id);
        m_gone.clear();
    }
    std::vector<ROWCOL> rows;
    rows.reserve(All().size());
    std::vector<std::uint64_t> gone;
    for (std::uint64_t id : All()) {
        if (const ROWCOL r = index.RowOf(id)) rows.push_back(r);
        else gone.push_back(id);
    }
    for (std::uint64_t id : gone) {
        Erase(id);
        m_gone.push_back(id);
    }
    if (!gone.empty()) m_goneCut = cut;
    std::sort(rows.begin(), rows.end());
    return rows;
}

void KXRowIndex::Clear() {
    m_rowsByKey.clear();
    m_rowsByText.clear();
    m_rowOfId.clear();
    m_walkRows.clear();
    m_nLayout = ~std::uint64_t{0};
}

void KXRowIndex::Add(Key key, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    m_rowsByKey[key].Add(id);
    m_rowOfId[id] = Place{row, data->GetRowLayoutVersion()};
}

void KXRowIndex::Remove(Key key, ROWCOL row) {
    auto it = m_rowsByKey.find(key);
    CGXData* data = Data();
    if (it == m_rowsByKey.end() || !data) return;
    const std::uint64_t id = data->PeekRowId(row);
    it->second.Erase(id);
    if (it->second.Empty()) m_rowsByKey.erase(it);
}

void KXRowIndex::Renumber() const {
    CGXData* data = Data();
    m_rowOfId.clear();
    m_walkRows.clear();
    if (!data) return;
    const ROWCOL rows = data->GetRowCount();
    const std::uint64_t layout = data->GetRowLayoutVersion();
    m_nLayout = layout;
    std::uint64_t first = ~std::uint64_t{0}, last = 0;
    for (ROWCOL r = 1; r <= rows; ++r)
        if (const std::uint64_t id = data->PeekRowId(r)) {
            first = std::min(first, id);
            last = std::max(last, id);
        }
    if (last == 0) return;
    constexpr std::uint64_t kSpread = 4; // identities spread wider than this per row go to the map
    if (last - first < kSpread * rows + 64) {
        m_nWalkFirstId = first;
        m_walkRows.assign(static_cast<size_t>(last - first + 1), 0);
        for (ROWCOL r = 1; r <= rows; ++r)
            if (const std::uint64_t id = data->PeekRowId(r)) m_walkRows[static_cast<size_t>(id - first)] = r;
        return;
    }
    m_rowOfId.reserve(rows);
    for (ROWCOL r = 1; r <= rows; ++r)
        if (const std::uint64_t id = data->PeekRowId(r)) m_rowOfId.emplace(id, Place{r, layout});
}

void KXRowIndex::NumberRows() const {
    CGXData* data = Data();
    if (data && m_nLayout != data->GetRowLayoutVersion()) Renumber();
}

bool KXRowIndex::Follow(Place& place) const {
    CGXData* data = Data();
    const std::uint64_t layout = data->GetRowLayoutVersion();
    if (place.layout == layout) return true;
    ROWCOL now = 0;
    if (!data->FollowRow(place.row, place.layout, now)) return false;
    place = Place{now, layout};
    return true;
}

ROWCOL KXRowIndex::RowOf(std::uint64_t id) const {
    CGXData* data = Data();
    if (!data) return 0;
    auto it = m_rowOfId.find(id);
    // An identity the last walk did not meet was gone then (a row given one since was added with its place).
    Place place = it == m_rowOfId.end() ? Place{WalkRow(id), m_nLayout} : it->second;
    if (place.layout != ~std::uint64_t{0} && Follow(place) && (place.row == 0 || data->PeekRowId(place.row) == id)) {
        if (it != m_rowOfId.end()) it->second = place;
        else if (place.row != 0 && place.layout != m_nLayout) m_rowOfId.emplace(id, place);
        return place.row;
    }
    Renumber();
    it = m_rowOfId.find(id);
    return it == m_rowOfId.end() ? WalkRow(id) : it->second.row;
}

std::vector<ROWCOL> KXRowIndex::RowsOfIds(std::span<const std::uint64_t> ids) const {
    std::vector<ROWCOL> rows;
    rows.reserve(ids.size());
    for (std::uint64_t id : ids)
        if (const ROWCOL r = RowOf(id)) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<ROWCOL> KXRowIndex::Rows(Key key) const {
    auto it = m_rowsByKey.find(key);
    CGXData* data = Data();
    if (it == m_rowsByKey.end() || !data) return {};
    return it->second.Rows(data->GetRowCutVersion(), *this);
}

void KXRowIndex::AddText(char type, const CString& text, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    // (A row written again with the same text adds nothing; TextRows drops repeats further back.)
    std::vector<std::uint64_t>& ids = m_rowsByText[TextKey(type, text)];
    if (ids.empty() || ids.back() != id) ids.push_back(id);
    m_rowOfId[id] = Place{row, data->GetRowLayoutVersion()};
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
    return id != 0 && it->second.Contains(id);
}
