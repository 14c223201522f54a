// The bit rows of wide vector pins: a pin of more bits than kWidePinBits has its bit rows while its
// row is expanded, or while a command of the grid names one of its bits; folded again, the rows go.
// Folded, its row sums up its bits from the design (KXInstanceDetailsFill.cpp).
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxcommon/KXGenUtils.h"

#include <algorithm>
#include <cstdlib>

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::kNoUpdate;

bool CKXInstanceDetailsGridWnd::IsWidePinRow(ROWCOL row, IInstTerm** pin, ROWCOL* bitRows) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || IsDiffPairRow(row)) return false;
    CString base;
    int msb = -1, lsb = -1;
    if (GetRowKind(row, base, msb, lsb) != PIN_ROW_GROUP) return false;
    IInstTerm* rowPin = GetRowInstTerm(row, msb, lsb);
    if (!rowPin || msb == lsb) return false;
    const auto width = static_cast<std::size_t>(std::abs(rowPin->msb() - rowPin->lsb())) + 1;
    if (width <= kWidePinBits) return false;
    if (pin) *pin = rowPin;
    // Its bit rows are written all at once, right below it.
    if (bitRows) *bitRows = row < GetRowCount() && GetRowParentOffset(row + 1) == row ? static_cast<ROWCOL>(width) : 0;
    return true;
}

void CKXInstanceDetailsGridWnd::DropWidePinBitRows(ROWCOL row) {
    ROWCOL bitRows = 0;
    if (!IsWidePinRow(row, nullptr, &bitRows) || bitRows == 0) return;
    if (AttrText(row, Col(m_nColPinName), IDS_UA_EXPAND_STATE) == "1") return;
    GridWriteScope scope(*this);
    RemoveRows(row + 1, row + bitRows, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::WriteWidePinRowsMatching(int col,
                                                         const std::function<bool(const CString&)>& matches) {
    if (col != m_nColPinName && col != m_nColSignal) return;
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row) {
        IInstTerm* pin = nullptr;
        ROWCOL bitRows = 0;
        if (!IsWidePinRow(row, &pin, &bitRows) || bitRows > 0) continue;
        const std::vector<int> bits = pin->bits();
        const std::vector<CString> texts = col == m_nColPinName ? BitRowNames(pin, bits) : BitSignalTexts(pin, bits);
        if (std::any_of(texts.begin(), texts.end(), matches)) row += WriteWidePinBitRows(row);
    }
}

bool CKXInstanceDetailsGridWnd::WriteWidePinBitRowsOf(const CString& bitName) {
    CString base;
    int msb = -1, lsb = -1;
    if (!m_designContext || !CKXGenUtils::ParseSignalName(bitName, base, lsb, msb) || msb < 0 || msb != lsb)
        return false;
    bool written = false;
    for (UINT id : m_arrInstanceIds) {
        IInstance* instance = m_designContext.design()->findInstance(id);
        IInstTerm* pin = instance ? instance->findInstTerm(base.GetString()) : nullptr;
        if (!pin || msb < std::min(pin->msb(), pin->lsb()) || msb > std::max(pin->msb(), pin->lsb())) continue;
        for (ROWCOL row : m_rowIndex.Rows(KXRowKey::PinBit(pin->id(), -1)))
            if (GetRowInstTermId(row) == static_cast<int>(pin->id()) && WriteWidePinBitRows(row) > 0) written = true;
    }
    return written;
}
