#include "grid/KXRowIndex.h"

#include <algorithm>

namespace {
constexpr std::size_t kFirstSlots = 64; // the text table's first size
} // namespace

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
    m_rowsByKey.clear();
    m_rowsByText.Clear();
    m_rowOfId.Clear();
    m_walkRows.clear();
    m_nLayout = ~std::uint64_t{0};
}

void KXRowIndex::Add(Key key, ROWCOL row) {
    CGXData* data = Data();
    const std::uint64_t id = data ? data->GetRowId(row) : 0;
    if (id == 0) return;
    m_rowsByKey[key].Add(id);
    m_rowOfId.Set(id, Place{row, data->GetRowLayoutVersion()});
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
    auto it = m_rowsByKey.find(key);
    CGXData* data = Data();
    if (it == m_rowsByKey.end() || !data) return {};
    return it->second.Rows(data->GetRowCutVersion(), *this);
}

void KXRowIndex::TextIds::Grow() {
    m_slots.assign(std::max<std::size_t>(kFirstSlots, m_slots.size() * 2), 0);
    for (std::size_t i = 0; i < m_entries.size(); ++i) Slot(m_entries[i].hash) = static_cast<std::uint32_t>(i + 1);
}

std::uint32_t& KXRowIndex::TextIds::Slot(std::uint64_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        std::uint32_t& slot = m_slots[i];
        if (slot == 0 || m_entries[slot - 1].hash == hash) return slot;
    }
}

void KXRowIndex::TextIds::Add(std::uint64_t hash, std::uint64_t id) {
    if ((m_entries.size() + 1) * 2 > m_slots.size()) Grow();
    std::uint32_t& slot = Slot(hash);
    if (slot == 0) {
        m_entries.push_back(Entry{hash, id, {}});
        slot = static_cast<std::uint32_t>(m_entries.size());
        return;
    }
    // (A row written again with the same text adds nothing; TextRows drops repeats further back.)
    Entry& entry = m_entries[slot - 1];
    if (entry.many.empty()) {
        if (entry.one == id) return;
        entry.many = {entry.one, id};
    } else if (entry.many.back() != id) {
        entry.many.push_back(id);
    }
}

std::span<const std::uint64_t> KXRowIndex::TextIds::Ids(std::uint64_t hash) const {
    if (m_slots.empty()) return {};
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask; m_slots[i] != 0; i = (i + 1) & mask) {
        const Entry& entry = m_entries[m_slots[i] - 1];
        if (entry.hash == hash)
            return entry.many.empty() ? std::span<const std::uint64_t>(&entry.one, 1)
                                      : std::span<const std::uint64_t>(entry.many);
    }
    return {};
}

void KXRowIndex::TextIds::Clear() {
    m_slots.clear();
    m_entries.clear();
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
    m_rowsByText.Add(TextHash(type, text), id);
    m_rowOfId.Set(id, Place{row, data->GetRowLayoutVersion()});
}

std::vector<ROWCOL> KXRowIndex::TextRows(char type, const CString& text) const {
    std::vector<ROWCOL> rows = RowsOfIds(m_rowsByText.Ids(TextHash(type, text)));
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
