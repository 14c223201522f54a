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

KXRowIndex::Place* KXRowIndex::Places::Find(std::uint64_t id) {
    if (m_nFirst != 0 && id >= m_nFirst && id - m_nFirst < m_byId.size()) {
        Place& place = m_byId[static_cast<std::size_t>(id - m_nFirst)];
        if (place.layout != kNone) return &place;
    }
    if (m_others.empty()) return nullptr;
    auto it = m_others.find(id);
    return it == m_others.end() ? nullptr : &it->second;
}

void KXRowIndex::Places::Set(std::uint64_t id, Place place) {
    if (m_nFirst == 0) m_nFirst = id;
    // Identities come one after another; one far past them (or before the first) is kept apart.
    constexpr std::uint64_t kReach = 1024;
    if (id >= m_nFirst && id - m_nFirst < 2 * static_cast<std::uint64_t>(m_byId.size()) + kReach) {
        const auto at = static_cast<std::size_t>(id - m_nFirst);
        if (at >= m_byId.size()) m_byId.resize(at + 1, Place{0, kNone});
        m_byId[at] = place;
        if (!m_others.empty()) m_others.erase(id); // kept apart while it was far past the others
        return;
    }
    m_others[id] = place;
}

void KXRowIndex::Places::Clear() {
    m_byId.clear();
    m_nFirst = 0;
    m_others.clear();
}

void KXRowIndex::Clear() {
    m_rowsByKey.Clear();
    m_rowsByText.Clear();
    m_rowOfId.Clear();
    m_walkRows.clear();
    m_nLayout = ~std::uint64_t{0};
}

void KXRowIndex::Reserve(std::size_t keys, std::size_t texts, std::size_t rows) {
    m_rowsByKey.Reserve(keys);
    m_rowsByText.Reserve(texts);
    m_rowOfId.Reserve(rows);
}

void KXRowIndex::Add(Key key, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    m_rowsByKey[key].Add(id);
    m_rowOfId.Set(id, Place{row, data->GetRowLayoutVersion()});
}

void KXRowIndex::Remove(Key key, ROWCOL row) {
    RowIds* ids = m_rowsByKey.Find(key);
    CGXData* data = Data();
    if (!ids || !data) return;
    ids->Erase(data->PeekRowId(row));
    if (ids->Empty()) m_rowsByKey.Erase(key);
}

void KXRowIndex::Renumber() const {
    CGXData* data = Data();
    m_rowOfId.Clear();
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
    for (ROWCOL r = 1; r <= rows; ++r)
        if (const std::uint64_t id = data->PeekRowId(r)) m_rowOfId.Set(id, Place{r, layout});
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
    Place* known = m_rowOfId.Find(id);
    // An identity the last walk did not meet was gone then (a row given one since was added with its place).
    Place place = known ? *known : Place{WalkRow(id), m_nLayout};
    if (place.layout != ~std::uint64_t{0} && Follow(place) && (place.row == 0 || data->PeekRowId(place.row) == id)) {
        if (known) *known = place;
        else if (place.row != 0 && place.layout != m_nLayout) m_rowOfId.Set(id, place);
        return place.row;
    }
    Renumber();
    known = m_rowOfId.Find(id);
    return known ? known->row : WalkRow(id);
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
    RowIds* ids = m_rowsByKey.Find(key);
    CGXData* data = Data();
    if (!ids || !data) return {};
    return ids->Rows(data->GetRowCutVersion(), *this);
}

void KXRowIndex::TextIds::Add(std::uint64_t id) {
    // (A row written again with the same text adds nothing; TextRows drops repeats further back.)
    if (m_one == 0) {
        m_one = id;
    } else if (m_many.empty()) {
        if (m_one != id) m_many = {m_one, id};
    } else if (m_many.back() != id) {
        m_many.push_back(id);
    }
}

std::uint64_t KXRowIndex::TextHash(char type, const CString& text) {
    // FNV-1a over the type letter and the characters
    constexpr std::uint64_t kBasis = 14695981039346656037ull, kPrime = 1099511628211ull;
    std::uint64_t hash = (kBasis ^ static_cast<unsigned char>(type)) * kPrime;
    const char* chars = text.GetString();
    for (int i = 0, n = text.GetLength(); i < n; ++i) hash = (hash ^ static_cast<unsigned char>(chars[i])) * kPrime;
    return hash;
}

void KXRowIndex::AddText(char type, const CString& text, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    m_rowsByText[TextHash(type, text)].Add(id);
    m_rowOfId.Set(id, Place{row, data->GetRowLayoutVersion()});
}

std::vector<ROWCOL> KXRowIndex::TextRows(char type, const CString& text) const {
    const TextIds* ids = m_rowsByText.Find(TextHash(type, text));
    if (!ids) return {};
    std::vector<ROWCOL> rows = RowsOfIds(ids->All());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

ROWCOL KXRowIndex::FirstRow(Key key) const {
    const std::vector<ROWCOL> rows = Rows(key);
    return rows.empty() ? 0 : rows.front();
}

bool KXRowIndex::Has(Key key, ROWCOL row) const {
    const RowIds* ids = m_rowsByKey.Find(key);
    CGXData* data = Data();
    if (!ids || !data) return false;
    const std::uint64_t id = data->PeekRowId(row);
    return id != 0 && ids->Contains(id);
}
