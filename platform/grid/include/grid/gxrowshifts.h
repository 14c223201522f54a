// The row shifts of a grid's last layout changes, so that a row's number at an older layout version
// can be followed to the current one without a walk of every row: rows inserted or removed before it
// move it, a removal that covers it ends it. A change that moves rows in another way (a move, a sort,
// the undo of a removal) cuts the log: rows are not followed across it.
#pragma once

#include "grid/gxtypes.h"

#include <cstdint>
#include <deque>

class CGXRowShifts {
public:
    // The layout became `version` by removing `removed` rows at `at`, then inserting `inserted` there.
    void Note(std::uint64_t version, ROWCOL at, ROWCOL removed, ROWCOL inserted);
    // The layout became `version` by a change the log cannot follow.
    void Cut(std::uint64_t version);

    // Where a row numbered `row` at layout `version` is now (0: removed since; a row 0 stays 0). False
    // when the log cannot tell: the version is older than the log, or a cut lies between. A removed
    // row (row 0) comes back only across a cut, so it is followed from any version since the last cut.
    bool Follow(ROWCOL row, std::uint64_t version, ROWCOL& now) const;
    // The layout version the last cut made (0: none yet): rows gone before it may have come back.
    std::uint64_t LastCut() const { return m_nCut; }

private:
    struct Shift {
        std::uint64_t version; // the layout version this change made
        ROWCOL at, removed, inserted;
    };
    static constexpr size_t kKept = 256; // past that, a walk of the rows is as cheap
    std::deque<Shift> m_shifts;
    std::uint64_t m_nFirst = 0; // the oldest version the log follows from
    std::uint64_t m_nCut = 0;   // the version of the last cut
};
