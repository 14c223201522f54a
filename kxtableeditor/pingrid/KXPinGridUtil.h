// Small helpers shared by the pin grid's sources: id, column and number conversions,
// the no-drawing update flag, and the common grid's write scopes.
// Internal to the pin grid; not part of its interface.
#pragma once

#include "grid/KXGridIds.h"
#include "grid/KXGridScopes.h"
#include "grid/gxall.h"
#include "kxcontrols/KXProgressBar.h"

#include "rmx/schema.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <string>
#include <vector>

namespace kxpingrid {

// Update flag of the grid calls made while filling or styling rows: no drawing.
inline constexpr UINT kNoUpdate = 2;

inline WORD Id(UINT id) {
    return static_cast<WORD>(id);
}
// The control of a pin's Termination cell: a pin that can take a termination shows the button that
// opens the termination dialog; a block's pin shows plain text.
inline UINT TerminationCellControl(bool takesTermination) {
    return takesTermination ? IDS_CTRL_TERMINATION_BUTTON : GX_IDS_CTRL_STATIC;
}

inline ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

// The member pins of a pair pin, or the pair pin itself when it has none.
inline std::vector<IDPInstTerm*> PairTerms(IDPInstTerm* pair) {
    std::vector<IDPInstTerm*> terms;
    if (!pair) return terms;
    for (IDPInstTerm* m : pair->beginMember())
        if (m) terms.push_back(m);
    if (terms.empty()) terms.push_back(pair);
    return terms;
}

// A read-only, enabled, white static cell without text (the TERMINATION cell of a row that has none).
inline CGXStyle EmptyStaticCell() {
    CGXStyle style;
    style.SetValue("")
        .SetControl(Id(IDS_CTRL_STATIC_TEXT))
        .SetReadOnly(TRUE)
        .SetEnabled(TRUE)
        .SetInterior(RGB(255, 255, 255));
    return style;
}

// Where a pair pin sits on a pair net: the net, and for a lane of a vector pair (a member pin without
// a pair connection of its own) the net bit of that lane; -1 for a whole pair.
struct PairNetLane {
    const IDPNet* net = nullptr;
    int bit = -1;
    bool operator==(const PairNetLane&) const = default;
};
PairNetLane PairNetOf(const IDPInstTerm* pair);
// The net bits of the pair net's two legs (at the lane's bit for a lane of a pair over two whole
// buses); null net bits without a pair net.
std::array<CNetBit, 2> PairNetLegs(const PairNetLane& lane);

// The net bit one pin bit takes of a wider range netLow..netHigh: a scalar pin (pinMsb -1) the
// range's first named bit, a bit of a vector pin the net bit of its own number; -1 when the range
// leaves that bit out.
inline int PinBitOfRange(int pinMsb, int netLow, int netHigh) {
    if (pinMsb < 0) return netLow;
    return pinMsb < std::min(netLow, netHigh) || pinMsb > std::max(netLow, netHigh) ? -1 : pinMsb;
}

// Rows as the row array the grid's row operations take.
inline CDWordArray RowWords(const std::vector<ROWCOL>& rows) {
    CDWordArray out;
    for (ROWCOL r : rows)
        out.Add(static_cast<DWORD>(r));
    return out;
}

// A number as the decimal text the row attributes hold.
inline CString Decimal(long long n) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, n).ptr;
    return CString(text, static_cast<int>(end - text));
}

// The write and lock-update scopes are the common grid's.
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;


// While a command opens the folds above a row it names (a bit of a folded wide pin), the wide pin's
// row opens on the bit rows written for the command alone: its other bit rows are not written.
class NamedBitRowsOnly {
public:
    NamedBitRowsOnly() { ++s_depth; }
    ~NamedBitRowsOnly() { --s_depth; }
    NamedBitRowsOnly(const NamedBitRowsOnly&) = delete;
    NamedBitRowsOnly& operator=(const NamedBitRowsOnly&) = delete;
    static bool Active() { return s_depth > 0; }

private:
    static inline int s_depth = 0;
};

// Grid updates locked for its lifetime (unless they were locked already); the
// grid is redrawn once when it ends.
class UpdateLockScope {
public:
    explicit UpdateLockScope(CGXGridCore& grid) : m_grid(grid), m_locked(!grid.IsLockUpdate()) {
        if (m_locked) m_grid.LockUpdate(TRUE);
    }
    ~UpdateLockScope() {
        if (!m_locked) return;
        m_grid.LockUpdate(FALSE);
        m_grid.Redraw(kNoUpdate, TRUE);
    }
    UpdateLockScope(const UpdateLockScope&) = delete;
    UpdateLockScope& operator=(const UpdateLockScope&) = delete;

private:
    CGXGridCore& m_grid;
    bool m_locked;
};

// A progress step's text naming what the step works on: the caption, a blank and the name, with the bit
// in parentheses ("Deleting Termination(s): DQ(3)"); without the bit for a scalar (bit -1).
inline CString ProgressLabel(const char* caption, const CString& name, int bit) {
    CString label;
    if (bit != -1)
        label.Format("%s %s(%d)", caption, name.GetString(), bit);
    else
        label.Format("%s %s", caption, name.GetString());
    return label;
}
// The text of the last step of a bulk edit that changed something: "CAPTION Committing Data".
inline CString CommittingLabel(const char* caption) {
    CString label;
    label.Format("%s Committing Data", caption);
    return label;
}

// The one progress bar of a long edit: it replaces any bar left over, shows a
// step per row ("... %d%% of %d ..." with the percentage of `total` done) and is
// gone, the class-wide pointer cleared, when the scope ends.
class ProgressScope {
public:
    ProgressScope(const char* title, int total) : m_total(total > 0 ? total : 1) {
        delete CKXProgressBar::m_pProgressBar;
        m_bar = std::make_unique<CKXProgressBar>(title, total, 50, FALSE, 0);
        CKXProgressBar::m_pProgressBar = m_bar.get();
    }
    ~ProgressScope() { End(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // format takes the percentage done once this step is through and the total, in this order (the line
    // shows the bar after the step). The text is written again only when the percentage changes (a long
    // run steps thousands of times through a hundred texts).
    void Step(const char* format, int done) {
        if (!m_bar) return;
        // A selected row may stand for several steps (a bus row for its bits): never past 100%.
        const long long through = static_cast<long long>(done) + 1;
        const int percent = static_cast<int>(std::min<long long>(through * 100 / m_total, 100));
        if (percent != m_shownPercent || format != m_shownFormat) {
            CString text;
            text.Format(format, percent, m_total);
            m_bar->SetText(text);
            m_shownPercent = percent;
            m_shownFormat = format;
        }
        m_bar->StepIt();
        m_bar->PeekAndPump();
    }
    // One step shown with its own label.
    void Show(const CString& label) {
        if (!m_bar) return;
        if (!label.IsEmpty()) {
            m_bar->SetText(label);
            m_shownPercent = -1; // the next Step writes its text again
        }
        m_bar->StepIt();
        m_bar->PeekAndPump();
    }
    // The work went through to its end: the line is written at 100% with the last step's text, however
    // many of the steps found something to do.
    void Finish() {
        if (!m_bar) return;
        CString text;
        if (m_shownFormat) text.Format(m_shownFormat, 100, m_total);
        FinishWith(text);
    }
    // The same with a text of its own (none: the text shown stays).
    void FinishWith(const CString& text) {
        if (!m_bar) return;
        if (!text.IsEmpty()) m_bar->SetText(text);
        m_bar->SetPos(m_bar->GetUpper());
        End();
    }
    void End() {
        if (CKXProgressBar::m_pProgressBar == m_bar.get()) CKXProgressBar::m_pProgressBar = nullptr;
        m_bar.reset();
    }

private:
    std::unique_ptr<CKXProgressBar> m_bar;
    int m_total;
    int m_shownPercent = -1;              // the percentage of the text shown, -1 before the first
    const char* m_shownFormat = nullptr;  // the format it was written with
};

} // namespace kxpingrid
