#include "grid/gxrowshifts.h"

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
}

bool CGXRowShifts::Follow(ROWCOL row, std::uint64_t version, ROWCOL& now) const {
    if (version < m_nFirst) return false;
    now = row;
    for (const Shift& s : m_shifts) {
        if (s.version <= version || now == 0 || now < s.at) continue;
        if (now < s.at + s.removed) now = 0;
        else now = now - s.removed + s.inserted;
    }
    return true;
}
