// Styles the signal grid supplies on demand: the current cell of the component
// and pin columns becomes an auto-complete drop-down whose choices come from the
// design at that moment.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcontrols/KXCellControls.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <string>

using namespace kxsignal;

namespace {

// Set while a choice list is built: the cells read meanwhile take their stored style only.
bool s_bStyleListBusy = false;

struct BusyScope {
    BusyScope() { s_bStyleListBusy = true; }
    ~BusyScope() { s_bStyleListBusy = false; }
};

} // namespace

// The stored text of a cell, read without the grid's value buffer (which the caller of
// GetStyleRowCol may be holding).
CString CKXSignalDetailsGridWnd::StoredText(ROWCOL row, int col) {
    if (col < 0) return CString();
    CGXStyle style;
    CGXGridCore::GetStyleRowCol(row, static_cast<ROWCOL>(col), style, gxCopy, 0);
    return style.GetIncludeValue() ? CString(style.GetValue()) : CString();
}

BOOL CKXSignalDetailsGridWnd::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType) {
    if (!CKXGridWnd::GetStyleRowCol(nRow, nCol, style, mt, nType)) return FALSE;
    if (s_bStyleListBusy || nRow < kFirstDataRow || nType != 0 || !IsCurrentCell(nRow, nCol) || !m_pACListBox)
        return TRUE;
    const int col = static_cast<int>(nCol);
    std::vector<CString> choices;
    {
        BusyScope busy;
        // The current cell of a power pin row is never an editor.
        if (IsImplicitPowerPinRow(nRow)) {
            style.SetControl(Id(IDS_CTRL_STATIC_TEXT));
            return TRUE;
        }
        if (col == m_nColPinName || col == m_nColPinNumber) {
            if (StoredText(nRow, m_nColInstance).IsEmpty()) return TRUE;
            PinChoices(nRow, col == m_nColPinName, choices);
            style.SetControl(Id(IDS_CTRL_PIN_COMBO));
        } else if (col == m_nColCell || col == m_nColInstance || col == m_nColLocation || col == m_nColSignalName ||
                   col == m_nColStartBit || col == m_nColEndBit) {
            SetChoiceComboStyle(style);
            if (col == m_nColSignalName) {
                SignalChoices(choices);
            } else if (col == m_nColStartBit || col == m_nColEndBit) {
                BitChoices(nRow, choices);
            } else if (const std::string key = ComponentChoicesKey(nRow, col); !key.empty()) {
                // The list may hold these choices already, or have kept them from the cell before.
                if (key != m_pACListBox->ContentKey() && !m_pACListBox->TakeKept(key))
                    OfferComponentChoices(nRow, col, key);
                return TRUE;
            } else {
                ComponentChoices(StoredText(nRow, m_nColCell), StoredText(nRow, m_nColInstance), col, choices);
            }
        } else {
            return TRUE;
        }
    }
    m_pACListBox->SetStrings(choices);
    return TRUE;
}

void CKXSignalDetailsGridWnd::SetChoiceComboStyle(CGXStyle& style) {
    style.SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO))
        .SetVerticalAlignment(DT_VCENTER)
        .SetTextColor(RGB(0, 0, 0))
        .SetInterior(RGB(255, 255, 255));
}

// The component choices of a cell follow the design's instances and the row's texts they are filtered by.
std::string CKXSignalDetailsGridWnd::ComponentChoicesKey(ROWCOL row, int col) {
    return ComponentChoicesKeyOf(StoredText(row, m_nColCell), StoredText(row, m_nColInstance), col);
}

std::string CKXSignalDetailsGridWnd::ComponentChoicesKeyOf(const CString& cell, const CString& instance, int col) {
    if (!m_designContext || !m_designContext.design()->server()) return std::string();
    std::ostringstream key;
    key << static_cast<const void*>(m_designContext.design()) << ' '
        << m_designContext.design()->server()->instanceListGeneration() << ' ' << col;
    // The instances are those of the row's cell; the reference designators those of the row's instance.
    if (col != m_nColCell) key << ' ' << cell.str();
    if (col == m_nColLocation) key << '\n' << instance.str();
    return key.str();
}

void CKXSignalDetailsGridWnd::PinChoices(ROWCOL row, BOOL bNames, std::vector<CString>& choices) {
    const CString name = StoredText(row, m_nColInstance);
    IInstance* inst = name.IsEmpty() || !m_designContext ? nullptr : m_designContext.design()->findInstance(name.GetString());
    if (!inst) return;
    const CInstanceContext context = m_designContext.instance(inst);
    const int width = std::atoi(StoredText(row, m_nColStartBit).GetString()) -
                      std::atoi(StoredText(row, m_nColEndBit).GetString()) + 1;
    for (IInstTerm* pin : inst->beginInstTerm()) {
        const int hi = std::max(pin->msb(), pin->lsb()), lo = std::min(pin->msb(), pin->lsb());
        if (!bNames) {
            for (int b = lo; b <= hi; ++b) {
                const CString number = CKXGenUtils::GetPNProp(context.instTerm(pin), b);
                if (!number.IsEmpty()) choices.push_back(number);
            }
            continue;
        }
        if (width == 1 || m_bNetBitMode) {
            if (pin->isScalar()) {
                choices.emplace_back(pin->name());
                continue;
            }
            for (int b = hi; b >= lo; --b)
                choices.push_back(CSchemaUtilities::vectorName(pin->name(), b));
        } else if (!pin->isScalar()) {
            choices.push_back(CSchemaUtilities::vectorName(pin->name(), hi, lo));
        }
    }
}

// The instance choices of a cell are made when its list is first looked at: moving through the grid
// costs nothing for them. The row's texts are those the key was made of; should the design's
// instances change before the list is read, the choices are those of the design then, under no key.
void CKXSignalDetailsGridWnd::OfferComponentChoices(ROWCOL row, int col, const std::string& key) {
    const CString cell = StoredText(row, m_nColCell), instance = StoredText(row, m_nColInstance);
    m_pACListBox->SetStringsLater(
        [this, cell, instance, col, key](std::vector<CString>& choices) {
            ComponentChoices(cell, instance, col, choices);
            return ComponentChoicesKeyOf(cell, instance, col) == key;
        },
        key);
}

void CKXSignalDetailsGridWnd::ComponentChoices(const CString& cell, const CString& instance, int col,
                                               std::vector<CString>& choices) {
    if (!m_designContext) return;
    choices.emplace_back("");
    std::set<std::string> seen;
    for (IInstance* inst : m_designContext.design()->beginInstance()) {
        CString text;
        if (col == m_nColCell) {
            text = inst->cellName();
        } else if (col == m_nColInstance) {
            if (!cell.IsEmpty() && cell.CompareNoCase(inst->cellName()) != 0) continue;
            text = inst->name();
        } else {
            text = CKXGenUtils::GetLocationProp(inst);
            const bool taken = cell.IsEmpty() ||
                               (instance.IsEmpty() ? cell.CompareNoCase(inst->cellName()) == 0
                                                   : instance.CompareNoCase(inst->name()) == 0);
            if (text.IsEmpty() || !taken) continue;
        }
        if (seen.insert(text.str()).second) choices.push_back(text);
    }
}

void CKXSignalDetailsGridWnd::SignalChoices(std::vector<CString>& choices) {
    choices.emplace_back("");
    std::set<std::string> seen;
    for (const CKXNetData& record : m_arrNetData) {
        if (!record.m_pNet) continue;
        const CString name = m_bNetBitMode && !record.m_pNet->isScalar()
                                 ? CSchemaUtilities::vectorName(record.m_pNet->name(), record.m_nBit)
                                 : CString(record.m_pNet->name());
        CString key = name;
        key.MakeUpper();
        if (seen.insert(key.str()).second) choices.push_back(name);
    }
}

void CKXSignalDetailsGridWnd::BitChoices(ROWCOL row, std::vector<CString>& choices) {
    choices.emplace_back("");
    const CString signal = StoredText(row, m_nColSignalName);
    if (signal.IsEmpty()) return;
    std::set<int> bits;
    for (const CKXNetData& record : m_arrNetData) {
        if (!record.m_pNet || signal.CompareNoCase(record.m_pNet->name()) != 0) continue;
        if (m_bNetBitMode) {
            bits.insert(record.m_nBit);
            continue;
        }
        // Every bit of the net, whichever way its bounds run.
        for (int b : record.m_pNet->bits())
            bits.insert(b);
    }
    for (int b : bits)
        choices.push_back(Decimal(b));
}
