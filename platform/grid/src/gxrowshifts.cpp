#include "grid/gxrowshifts.h"

#include <algorithm>

void CGXRowShifts::Note(std::uint64_t version, ROWCOL at, ROWCOL removed, ROWCOL inserted) {
    m_shifts.push_back({version, at, removed, inserted});
    if (m_shifts.size() > kKept) {
        m_nFirst = m_shifts.front().version;
        m_shifts.pop_front();
    }
}

void CGXRowShifts::Cut(std::uint64_t version) {
    m_shifts.clear();
    m_nFirst = version;
    m_nCut = version;
}

bool CGXRowShifts::Follow(ROWCOL row, std::uint64_t version, ROWCOL& now) const {
    now = row;
    if (row == 0) return version >= m_nCut;
    if (version < m_nFirst) return false;
    // the log is in version order: only the changes made after `version` move the row
    auto s = std::upper_bound(m_shifts.begin(), m_shifts.end(), version,
                              [](std::uint64_t v, const Shift& shift) { return v < shift.version; });
    for (; s != m_shifts.end() && now != 0; ++s) {
        if (now < s->at) continue;
        if (now < s->at + s->removed) now = 0;
        else now = now - s->removed + s->inserted;
    }
    return true;
}
