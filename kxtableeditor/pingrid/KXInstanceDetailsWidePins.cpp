// The bit rows of wide vector pins: a pin of more bits than kWidePinBits has its bit rows while its
// row is expanded by the user; a command of the grid that names some of its bits writes the rows of
// those bits alone (and opens the row on them, when it shows them). Folded again, the rows go.
// Folded, its row sums up its bits from the design (KXInstanceDetailsFill.cpp).
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxcommon/KXGenUtils.h"

#include <cstdlib>

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::kNoUpdate;

bool KXPinGridFill::IsWidePinRow(ROWCOL row, IInstTerm** pin, ROWCOL* bitRows) {
    if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount() || m_grid.IsDiffPairRow(row)) return false;
    CString base;
    int msb = -1, lsb = -1;
    if (m_grid.GetRowKind(row, base, msb, lsb) != PIN_ROW_GROUP) return false;
    IInstTerm* rowPin = m_grid.GetRowInstTerm(row, msb, lsb);
    if (!rowPin || msb == lsb) return false;
    const auto width = static_cast<std::size_t>(std::abs(rowPin->msb() - rowPin->lsb())) + 1;
    if (width <= kWidePinBits) return false;
    if (pin) *pin = rowPin;
    // Its bit rows are right below it: all of them, or those a command named.
    if (bitRows) {
        const auto all = static_cast<ROWCOL>(width);
        ROWCOL below = 0;
        if (row + all <= m_grid.GetRowCount() && m_grid.GetRowParentOffset(row + all) == row)
            below = all;
        else
            while (row + below < m_grid.GetRowCount() && m_grid.GetRowParentOffset(row + below + 1) == row)
                ++below;
        *bitRows = below;
    }
    return true;
}

void KXPinGridFill::DropWidePinBitRows(ROWCOL row) {
    ROWCOL bitRows = 0;
    if (!IsWidePinRow(row, nullptr, &bitRows) || bitRows == 0) return;
    if (m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_EXPAND_STATE) == "1") return;
    GridWriteScope scope(m_grid);
    m_grid.RemoveRows(row + 1, row + bitRows, kNoUpdate, gxDo);
}

void KXPinGridFill::WriteWidePinRowsMatching(int col, const std::function<bool(const CString&)>& matches) {
    if (col != m_grid.m_nColPinName && col != m_grid.m_nColSignal) return;
    for (ROWCOL row = PIN_FIRST_ROW; row <= m_grid.GetRowCount(); ++row) {
        IInstTerm* pin = nullptr;
        ROWCOL bitRows = 0;
        if (!IsWidePinRow(row, &pin, &bitRows)) continue;
        const std::vector<int> bits = pin->bits();
        if (bitRows >= bits.size()) continue;
        // The texts of all its bits are gone through, as its folded row sums them up; the bits that
        // match get their rows.
        const std::vector<CString> texts =
            col == m_grid.m_nColPinName ? BitRowNames(pin, bits) : BitSignalTexts(pin, bits);
        std::vector<int> matching;
        for (std::size_t i = 0; i < bits.size(); ++i)
            if (matches(texts[i])) matching.push_back(bits[i]);
        if (!matching.empty()) row += WriteWidePinBitRows(row, &matching);
    }
}

bool KXPinGridFill::WriteWidePinBitRowsOf(const CString& bitName) {
    CString base;
    int msb = -1, lsb = -1;
    if (!m_grid.m_designContext || !CKXGenUtils::ParseSignalName(bitName, base, lsb, msb) || msb < 0 ||
        msb != lsb)
        return false;
    bool written = false;
    for (UINT id : m_grid.m_arrInstanceIds) {
        IInstance* instance = m_grid.m_designContext.design()->findInstance(id);
        IInstTerm* pin = instance ? instance->findInstTerm(base.GetString()) : nullptr;
        if (!pin || msb < std::min(pin->msb(), pin->lsb()) || msb > std::max(pin->msb(), pin->lsb())) continue;
        const std::vector<int> named{msb};
        for (ROWCOL row : m_grid.m_rowIndex.Rows(KXRowKey::PinBit(pin->id(), -1)))
            if (m_grid.GetRowInstTermId(row) == static_cast<int>(pin->id()) &&
                WriteWidePinBitRows(row, &named) > 0)
                written = true;
    }
    return written;
}
