#include "grid/KXRowIndex.h"

#include <algorithm>
#include <cstring>
#include <utility>

void KXRowIndex::RowIds::Keep(std::uint64_t id) {
    if (All().empty()) {
        m_one = id;
        return;
    }
    std::vector<std::uint64_t>& many = Extra().many;
    if (many.empty()) many.push_back(m_one);
    many.push_back(id);
}

inline void KXRowIndex::RowIds::AddMore(std::uint64_t id, bool fresh) {
    if (fresh) {
        // A fresh row is on no key's rows but as the last one added to them, and on none set aside.
        if (All().empty() || All().back() != id) Keep(id);
        return;
    }
    if (m_more) std::erase(m_more->gone, id);
    if (std::ranges::find(All(), id) == All().end()) Keep(id);
}

void KXRowIndex::RowIds::Erase(std::uint64_t id) {
    if (!m_more) {
        if (m_one == id) m_one = 0;
        return;
    }
    std::erase(m_more->gone, id);
    std::vector<std::uint64_t>& many = m_more->many;
    if (many.empty()) {
        if (m_one == id) m_one = 0;
        return;
    }
    std::erase(many, id);
    if (many.empty()) m_one = 0;
}

std::vector<ROWCOL> KXRowIndex::RowIds::Rows(std::uint64_t cut, const KXRowIndex& index) {
    if (m_more && !m_more->gone.empty() && m_more->goneCut != cut) {
        for (std::uint64_t id : std::exchange(m_more->gone, {}))
            Keep(id);
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
        Extra().gone.push_back(id);
    }
    if (!gone.empty()) m_more->goneCut = cut;
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

inline void KXRowIndex::Places::Set(std::uint64_t id, Place place) {
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
    m_noted = {};
}

void KXRowIndex::Reserve(std::size_t keys, std::size_t texts, std::size_t rows) {
    m_rowsByKey.Reserve(keys);
    m_rowsByText.Reserve(texts);
    m_rowOfId.Reserve(rows);
}

inline std::uint64_t KXRowIndex::NoteRow(ROWCOL row) {
    CGXData* data = Data();
    if (!data) return 0;
    const std::uint64_t layout = data->GetRowLayoutVersion();
    if (row == m_noted.row && layout == m_noted.layout && data == m_noted.data &&
        data->PeekRowId(row) == m_noted.id)
        return m_noted.id;
    const bool fresh = data->PeekRowId(row) == 0;
    const std::uint64_t id = data->GetRowId(row);
    if (id == 0) return 0;
    m_rowOfId.Set(id, Place{row, layout});
    m_noted = Noted{data, row, layout, id, fresh};
    return id;
}

void KXRowIndex::Add(Key key, ROWCOL row) {
    if (const std::uint64_t id = NoteRow(row)) m_rowsByKey[key].Add(id, m_noted.fresh);
}

void KXRowIndex::Add(std::initializer_list<Key> keys, ROWCOL row) {
    if (const std::uint64_t id = NoteRow(row))
        for (Key key : keys)
            m_rowsByKey[key].Add(id, m_noted.fresh);
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
    m_noted = {};
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
    m_noted.fresh = false; // the look-up may take back identities it had set aside, after the noted one
    if (!ids || !data) return {};
    return ids->Rows(data->GetRowCutVersion(), *this);
}

inline void KXRowIndex::TextIds::AddMore(std::uint64_t id) {
    // (A row written again with the same text adds nothing; TextRows drops repeats further back.)
    if (m_many.empty())
        m_many = {m_one, id};
    else if (m_many.back() != id)
        m_many.push_back(id);
}

inline std::uint64_t KXRowIndex::TextHash(char type, const CString& text) {
    // Eight characters at a time, each word mixed in by a multiply and a fold of the high half (both
    // one-to-one: texts of one length up to eight characters never share a hash); the type letter and
    // the length start it.
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    const char* chars = text.GetString();
    const auto n = static_cast<std::size_t>(text.GetLength());
    std::uint64_t hash = ((static_cast<std::uint64_t>(static_cast<unsigned char>(type)) << 56) ^ n) * kMul;
    auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * kMul;
        hash ^= hash >> 32;
    };
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= n; i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, chars + i, sizeof word);
        mix(word);
    }
    // The last one to seven characters as one word, read in two overlapping halves (or from its first,
    // middle and last character): for a given length the word tells them apart.
    if (const std::size_t rest = n - i; rest >= 4) {
        std::uint32_t low = 0, high = 0;
        std::memcpy(&low, chars + i, sizeof low);
        std::memcpy(&high, chars + n - sizeof high, sizeof high);
        mix(low | (std::uint64_t{high} << 32));
    } else if (rest > 0) {
        const auto at = [chars](std::size_t k) {
            return std::uint64_t{static_cast<unsigned char>(chars[k])};
        };
        mix(at(i) | (at(i + rest / 2) << 8) | (at(n - 1) << 16));
    }
    return hash;
}

void KXRowIndex::AddText(char type, const CString& text, ROWCOL row) {
    if (const std::uint64_t id = NoteRow(row)) m_rowsByText[TextHash(type, text)].Add(id);
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
