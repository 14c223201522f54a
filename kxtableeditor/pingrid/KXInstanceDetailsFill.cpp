// Filling the pin rows: one row per scalar pin or bit, a parent row with its
// bit rows for a vector pin, a pair row with its two leg rows for a
// differential pair. Each fill writes the user attributes the row model reads.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXPlusMinusEditButton.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxsmall/KXCsvParser.h"
#include "rmx/schemautil.h"

#include <cstdlib>
#include <memory>

#include <vector>

using kxpingrid::Col;
using kxpingrid::Decimal;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

namespace {

// The name a pin shows: its display name when it has one, else its name.
CString ShownPinName(const IInstTerm* pin) {
    const char* display = pin->displayName();
    return display && *display ? CString(display) : CString(pin->name());
}

CGXStyle DataCell(const CString& level) {
    CGXStyle style;
    style.SetReadOnly(TRUE).SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    style.SetUserAttribute(Id(IDS_UA_ROW_LEVEL), level);
    return style;
}

// Restores the fill mode (a child fill always ends in the ordinary mode).
struct FillModeScope {
    int& mode;
    FillModeScope(int& m, int value) : mode(m) { mode = value; }
    ~FillModeScope() { mode = 2; }
};

} // namespace

void CKXInstanceDetailsGridWnd::FillInstanceCells(ROWCOL row, const CString& level, UINT diffPairControl,
                                                  int plusMinus) {
    const CString index = Decimal(m_instCurrent ? static_cast<int>(m_instCurrent->id()) : 0);
    CGXStyle dp = DataCell(level);
    dp.SetValue("").SetControl(Id(diffPairControl));
    dp.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index)
        .SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), plusMinus);
    WriteCell(row, Col(m_nColDiffPair), dp);

    CGXStyle inst = DataCell(level);
    inst.SetValue(m_instCurrent ? m_instCurrent.name() : CString())
        .SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    inst.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    WriteCell(row, Col(m_nColInstance), inst);

    const char* location = m_instCurrent ? m_instCurrent.physicalPackageName() : nullptr;
    CGXStyle ref = DataCell(level);
    ref.SetValue(location ? location : "").SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    ref.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    WriteCell(row, Col(m_nColRefDes), ref);
}

CString CKXInstanceDetailsGridWnd::PhysicalPinName(IInstTerm* pin, int bit) {
    if (!m_instCurrent || !pin) return CString();
    return CKXGenUtils::GetPinNumber(m_instCurrent.instTerm(pin).bitContext(bit));
}

CString CKXInstanceDetailsGridWnd::CsvPinName(IInstTerm* pin, int bit) {
    if (!m_pCsvParser || !m_instCurrent || !pin) return CString();
    const CInstTermBitContext bitContext = m_instCurrent.instTerm(pin).bitContext(bit);
    CString name;
    const std::unique_ptr<CPQPropertyData> pn(bitContext.findProperty("PN"));
    if (pn) {
        const std::unique_ptr<CPQPropertyData> text(bitContext.findProperty("ZRV_PIN_TEXT"));
        if (text) name = text->value();
        name.Trim();
    }
    if (name.IsEmpty()) {
        CString number = CKXGenUtils::GetPinNumber(bitContext);
        m_pCsvParser->getPinNameFromNumber(number, name);
        name.Trim();
    }
    return name;
}

void CKXInstanceDetailsGridWnd::ToggleRow(ROWCOL row) {
    CGXStyle style;
    GetStyleRowCol(row, Col(m_nColPinName), style);
    if (!style.GetIncludeControl()) return;
    auto* button = dynamic_cast<CKXPlusMinusEditButton*>(GetRegisteredControl(style.GetControl()));
    if (button) button->ToggleExpand(row, Col(m_nColPinName));
}

void CKXInstanceDetailsGridWnd::ApplySignalCellStyle(ROWCOL row, const CString& text, int netId,
                                                     int connCount, BOOL bShowConn) {
    CGXStyle pinName;
    GetStyleRowCol(row, Col(m_nColPinName), pinName);
    const CString level = pinName.GetIncludeUserAttribute(Id(IDS_UA_ROW_LEVEL))
                              ? pinName.GetUserAttributeText(Id(IDS_UA_ROW_LEVEL))
                              : CString();
    if (netId == -1) {
        CGXStyle current;
        GetStyleRowCol(row, Col(m_nColSignal), current);
        if (current.GetIncludeUserAttribute(Id(IDS_UA_CONN_INDEX)))
            netId = static_cast<int>(current.GetUserAttribute(Id(IDS_UA_CONN_INDEX)).GetDoubleValue());
    }
    CGXStyle sig = DataCell(level);
    sig.SetIncludeReadOnly(FALSE); // editing the signal is up to the row and the grid
    sig.SetValue(text).SetInterior(RGB(255, 255, 255)).SetControl(Id(IDS_CTRL_VECTOR_CONNECTIVITY));
    sig.SetTextColor(RGB(0, 0, 0)).SetEnabled(TRUE);
    sig.SetUserAttribute(Id(IDS_UA_CONN_INDEX), netId);
    sig.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_TOOLTIP_TITLE), "");
    GridWriteScope scope(*this);
    WriteCell(row, Col(m_nColSignal), sig);
    if (netId >= 0) m_rowIndex.Add(KXRowKey::Net(static_cast<unsigned>(netId)), row);
    // A connected bit row: its parent's connection cell follows.
    if (connCount != 0 && bShowConn) {
        const ROWCOL parent = GetRowParentOffset(row);
        if (parent != GX_INVALID) SetConnectionCell(parent);
    }
}

void CKXInstanceDetailsGridWnd::FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level) {
    if (!pin) return;
    GridWriteScope scope(*this);
    int msb = pin->msb(), lsb = pin->lsb();
    const bool childMode = m_nFillMode == 0 || m_nFillMode == 1;
    if (childMode || !m_bShowVectors) msb = lsb = bit;

    InsertRows(row, 1, kNoUpdate, gxDo);
    const CString rowLevel = childMode ? level : CString("1");
    const int plusMinus = childMode ? 1 : 0;
    const UINT dpControl = m_nFillMode == 0 ? IDS_CTRL_DIFFPAIR_ROW : IDS_UA_SCALAR_PINNAME_CELL;
    const int pinId = static_cast<int>(pin->id());

    auto fillStatic = [&](ROWCOL r, int col, const CString& value, const CString& lvl) {
        CGXStyle s = DataCell(lvl);
        s.SetValue(value).SetControl(Id(IDS_CTRL_STATIC_TEXT));
        WriteCell(r, Col(col), s);
    };
    auto fillTermination = [&](ROWCOL r) {
        CGXStyle s = DataCell("1");
        s.SetValue("").SetInterior(RGB(255, 255, 255)).SetEnabled(TRUE);
        WriteCell(r, Col(m_nColTermination), s);
        StyleAssocCompCells(r, 0);
        FillRowComment(r);
    };
    auto outerSignal = [&](int b, CString& text, int& netId) {
        text.Empty();
        netId = -1;
        const CNetBit nb = pin->netBit(b);
        if (!nb) return;
        text = nb.bit() == -1 ? CString(nb.net()->name())
                              : CSchemaUtilities::vectorName(nb.net()->name(), nb.bit());
        netId = static_cast<int>(nb.net()->id());
    };

    if (msb == lsb) {
        // A scalar pin or one bit.
        FillInstanceCells(row, rowLevel, dpControl, plusMinus);
        CGXStyle pn = DataCell(rowLevel);
        pn.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), pinId);
        const CString csvName = CsvPinName(pin, msb);
        if (msb == -1) {
            pn.SetValue(csvName.IsEmpty() ? ShownPinName(pin) : csvName)
                .SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
            if (childMode) pn.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1);
            if (m_nFillMode == 1) pn.SetUserAttribute(Id(IDS_UA_POWER_PIN_CHILD_ROW), 1);
        } else {
            pn.SetValue(csvName.IsEmpty() ? CSchemaUtilities::vectorName(ShownPinName(pin), msb) : csvName)
                .SetControl(Id(IDS_UA_SINGLEBIT_VECTOR_PINNAME_CELL));
            pn.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), plusMinus);
            pn.SetUserAttribute(Id(IDS_UA_VECTOR_MSB), Decimal(msb))
                .SetUserAttribute(Id(IDS_UA_VECTOR_LSB), Decimal(msb));
            pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
            if (m_nFillMode == 1) pn.SetUserAttribute(Id(IDS_UA_POWER_PIN_CHILD_ROW), 1);
        }
        WriteCell(row, Col(m_nColPinName), pn);
        fillStatic(row, m_nColPinNumber, PhysicalPinName(pin, msb), "1");
        fillStatic(row, m_nColPinType, CKXGenUtils::GetPinType(pin), "1");

        CString text;
        int netId = -1, count = 0;
        if (m_nFillMode == 2 && m_bShowVectors) {
            for (const CConn& conn : pin->beginConn()) {
                if (!conn.net()) continue;
                ++count;
                if (count > 1)
                    CKXErrorHandler::ReportSchemaViolation(
                        "KXTABLE-136", 136, m_instCurrent.instTerm(pin).spath().GetString(), pin->name());
                if (conn.netMsb() == -1 && conn.netLsb() == -1) {
                    text = conn.net()->name();
                } else if (conn.netMsb() == conn.netLsb()) {
                    text = CSchemaUtilities::vectorName(conn.net()->name(), conn.netMsb());
                } else {
                    CKXErrorHandler::ReportSchemaViolation(
                        "KXTABLE-137", 137, m_instCurrent.instTerm(pin).spath().GetString(), pin->name());
                    continue;
                }
                netId = static_cast<int>(conn.net()->id());
            }
        } else {
            outerSignal(msb, text, netId);
            count = text.IsEmpty() ? 0 : 1;
        }
        ApplySignalCellStyle(row, text, netId, count, TRUE);
        fillTermination(row);
        return;
    }

    // A vector pin: a parent row, then one row per bit from msb to lsb.
    const ROWCOL parentRow = row;
    std::vector<int> bits = pin->bits();
    bool connectedWhole = false;
    CString parentName = CSchemaUtilities::vectorName(ShownPinName(pin), msb, lsb);
    std::vector<CString> csvNames;
    if (m_pCsvParser) {
        // The pin file names the bits: one base with indices inside the pin's range gives the
        // vector's name; anything else shows the bits as rows of their own.
        CString base;
        int high = -1, low = -1;
        bool agree = true;
        for (int b : bits) {
            const CString name = CsvPinName(pin, b);
            csvNames.push_back(name);
            const int lt = name.Find('<');
            const int gt = name.Find('>');
            if (name.IsEmpty() || lt <= 0 || gt != name.GetLength() - 1) {
                agree = false;
                continue;
            }
            const CString stem = name.Left(lt);
            char* end = nullptr;
            const long index = std::strtol(name.GetString() + lt + 1, &end, 10);
            if (end != name.GetString() + gt || index < std::min(msb, lsb) || index > std::max(msb, lsb)) {
                agree = false;
                continue;
            }
            if (base.IsEmpty()) base = stem;
            if (base.CompareNoCase(stem) != 0) agree = false;
            high = high == -1 ? static_cast<int>(index) : std::max(high, static_cast<int>(index));
            low = low == -1 ? static_cast<int>(index) : std::min(low, static_cast<int>(index));
        }
        if (!agree) {
            // Every bit on a row of its own; the first reuses the row inserted above.
            RemoveRows(row, row, kNoUpdate, gxDo);
            for (std::size_t i = 0; i < bits.size(); ++i) {
                if (i) ++row;
                const int showVectors = m_bShowVectors;
                m_bShowVectors = 0;
                FillPinRow(pin, row, bits[i], level);
                m_bShowVectors = showVectors;
            }
            return;
        }
        parentName = CSchemaUtilities::vectorName(base.GetString(), high, low);
    }
    FillInstanceCells(row, "1", IDS_UA_SCALAR_PINNAME_CELL, 0);
    {
        CGXStyle pn = DataCell("1");
        pn.SetValue(parentName).SetControl(Id(IDS_CTRL_MINUS_BUTTON));
        pn.SetUserAttribute(Id(IDS_UA_EXPAND_STATE), 1).SetUserAttribute(Id(IDS_UA_VECTOR_GROUP), 1);
        pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
        pn.SetUserAttribute(Id(IDS_UA_VECTOR_MSB), Decimal(msb))
            .SetUserAttribute(Id(IDS_UA_VECTOR_LSB), Decimal(lsb));
        pn.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), pinId);
        WriteCell(row, Col(m_nColPinName), pn);
        CString numbers;
        for (std::size_t i = 0; i < bits.size(); ++i) {
            if (i) numbers += ",";
            numbers += PhysicalPinName(pin, bits[i]);
        }
        fillStatic(row, m_nColPinNumber, numbers, "1");
        fillStatic(row, m_nColPinType, CKXGenUtils::GetPinType(pin), "1");
        std::vector<CConn> conns;
        for (const CConn& c : pin->beginConn())
            conns.push_back(c);
        if (conns.size() == 1 && conns[0].net() &&
            ((conns[0].instTermMsb() == msb && conns[0].instTermLsb() == lsb) ||
             (conns[0].instTermMsb() == lsb && conns[0].instTermLsb() == msb))) {
            connectedWhole = true;
            ApplySignalCellStyle(
                row,
                CSchemaUtilities::vectorName(conns[0].net()->name(), conns[0].netMsb(), conns[0].netLsb()),
                static_cast<int>(conns[0].net()->id()), 1, TRUE);
        } else {
            ApplySignalCellStyle(row, "", -1, 0, FALSE);
        }
        fillTermination(row);
    }
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const int b = bits[i];
        ++row;
        InsertRows(row, 1, kNoUpdate, gxDo);
        FillInstanceCells(row, "1", IDS_UA_SCALAR_PINNAME_CELL, 1);
        CGXStyle pn = DataCell("2");
        const CString bitName = i < csvNames.size() && !csvNames[i].IsEmpty()
                                    ? csvNames[i]
                                    : CSchemaUtilities::vectorName(ShownPinName(pin), b);
        pn.SetValue(bitName).SetControl(Id(IDS_CTRL_CHILD_PINNAME_CELL));
        pn.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1)
            .SetUserAttribute(Id(IDS_UA_VECTOR_PIN_BIT), connectedWhole ? 1 : 0);
        pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
        pn.SetUserAttribute(Id(IDS_UA_VECTOR_MSB), Decimal(b))
            .SetUserAttribute(Id(IDS_UA_VECTOR_LSB), Decimal(b));
        pn.SetUserAttribute(Id(IDS_UA_PARENT_ROW_OFFSET), static_cast<int>(row - parentRow));
        pn.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), pinId);
        WriteCell(row, Col(m_nColPinName), pn);
        fillStatic(row, m_nColPinNumber, PhysicalPinName(pin, b), "2");
        fillStatic(row, m_nColPinType, CKXGenUtils::GetPinType(pin), "2");
        CString text;
        int netId = -1;
        outerSignal(b, text, netId);
        ApplySignalCellStyle(row, text, netId, text.IsEmpty() ? 0 : 1, TRUE);
        fillTermination(row);
    }
    ToggleRow(parentRow);
}

void CKXInstanceDetailsGridWnd::MarkNestedLeg(ROWCOL row, int mode) {
    // A leg under one bit of a vector pair sits one level deeper than its pair row, and it belongs
    // to the rows the vector pair's button shows and hides: an empty pair-row mark does that
    // without making it a pair row.
    if (mode != PIN_ROW_DIFFPAIR_CHILD) return;
    CGXStyle style;
    style.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), "2").SetUserAttribute(Id(IDS_UA_DIFFPAIR_ROW), "");
    GridWriteScope scope(*this);
    WriteCell(row, Col(m_nColPinName), style);
}

void CKXInstanceDetailsGridWnd::FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row) {
    if (!pair || !m_instCurrent) return;
    const bool vectorPair = mode == PIN_ROW_VECTOR_DIFFPAIR;
    if (!vectorPair) {
        // Both legs must be pins of this instance.
        if (!pair->positive() || !pair->negative() ||
            pair->positive()->instance() != m_instCurrent.instance() ||
            pair->negative()->instance() != m_instCurrent.instance())
            return;
    }
    GridWriteScope scope(*this);
    const ROWCOL pairRow = row;
    StylePinRowProperties(pair, mode, parentRow == GX_INVALID ? -1 : static_cast<int>(parentRow), row);
    if (vectorPair) return; // the members follow as rows of their own
    const CString legLevel = mode == PIN_ROW_DIFFPAIR ? CString("2") : CString("3");
    ++row;
    FillDiffPairLegRow(pair->positive(), row, pair->positiveBit(), legLevel);
    SetCellUserAttribute(row, Col(m_nColPinName), IDS_UA_PARENT_ROW_OFFSET,
                         static_cast<double>(row - pairRow));
    MarkNestedLeg(row, mode);
    ++row;
    FillDiffPairLegRow(pair->negative(), row, pair->negativeBit(), legLevel);
    SetCellUserAttribute(row, Col(m_nColPinName), IDS_UA_PARENT_ROW_OFFSET,
                         static_cast<double>(row - pairRow));
    MarkNestedLeg(row, mode);
    JoinChildPinNumbers(pairRow);
    FillRowComment(pairRow);
    FillTerminationCell(pairRow);
    ToggleRow(pairRow);
}

void CKXInstanceDetailsGridWnd::FillChildPinRow(IInstTerm* pin, ROWCOL& row, const CString& level) {
    FillModeScope mode(m_nFillMode, 1);
    FillPinRow(pin, row, pin ? pin->msb() : -1, level);
}

void CKXInstanceDetailsGridWnd::FillPowerPinRows(const std::vector<IInstTerm*>& pins, ROWCOL& row) {
    if (pins.empty()) return;
    GridWriteScope scope(*this);
    const ROWCOL parentRow = row;
    StylePinRow(pins, row); // row now follows the parent row
    int offset = 0;
    for (IInstTerm* pin : pins) {
        FillChildPinRow(pin, row, "2");
        SetCellUserAttribute(row, Col(m_nColPinName), IDS_UA_PARENT_ROW_OFFSET, ++offset);
        ++row;
    }
    --row; // the last row written
    CGXStyle pupd;
    pupd.SetControl(Id(IDS_CTRL_PUPD_NONE)).SetReadOnly(TRUE);
    SetStyleRange(CGXRange(parentRow, Col(m_nColPupd)), pupd, gxOverride, 0, kNoUpdate, gxDo);
    FillRowComment(parentRow);
    ToggleRow(parentRow);
}
