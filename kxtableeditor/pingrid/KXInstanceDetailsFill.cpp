// Filling the pin rows: one row per scalar pin or bit, a parent row with its
// bit rows for a vector pin, a pair row with its two leg rows for a
// differential pair. Each fill writes the user attributes the row model reads.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "pingrid/KXPinGridComments.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridUtil.h"
#include "pingrid/KXPinRowAttrs.h"

#include "grid/KXGridSite.h"
#include "grid/KXPlusMinusEditButton.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxnotes/CComments.h"
#include "kxsmall/KXCsvParser.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <set>

#include <vector>

using kxpingrid::Col;
using kxpingrid::Decimal;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

namespace {

// The bit property whose text names a pin of a part read from a pin file, before the file itself.
constexpr const char ZRV_PIN_TEXT[] = "ZRV_PIN_TEXT";

// The name a pin shows: its display name when it has one, else its name.
CString ShownPinName(const IInstTerm* pin) {
    const char* display = pin->displayName();
    return display && *display ? CString(display) : CString(pin->name());
}

// The net bit a pin bit is connected to from outside: its name and id; empty and -1 when none. Bus
// bit names come from busBits when given.
void OuterSignal(IInstTerm* pin, int bit, CString& text, int& netId,
                 kxpingrid::NetBitNames* busBits = nullptr) {
    text.Empty();
    netId = -1;
    const CNetBit nb = pin->netBit(bit);
    if (!nb) return;
    if (nb.bit() == -1)
        text = nb.net()->name();
    else
        text = busBits ? busBits->Of(nb.net(), nb.bit())
                       : CSchemaUtilities::vectorName(nb.net()->name(), nb.bit());
    netId = static_cast<int>(nb.net()->id());
}

// The one connection of a vector pin that covers the whole pin, or NULL.
const CConn* WholePinConn(const CSchemaObjectIterator<CConn>& conns, int msb, int lsb) {
    if (conns.count() != 1 || !conns.begin()->net()) return nullptr;
    const CConn& c = *conns.begin();
    return (c.instTermMsb() == msb && c.instTermLsb() == lsb) ||
                   (c.instTermMsb() == lsb && c.instTermLsb() == msb)
               ? &c
               : nullptr;
}

// The pin file's names of a vector's bits agree when each is one base with an index inside the
// pin's range: the vector then shows as base<high..low>.
bool CsvNamesAgree(const std::vector<CString>& names, int msb, int lsb, CString& vectorName) {
    CString base;
    int high = -1, low = -1;
    for (const CString& name : names) {
        const int lt = name.Find('<');
        const int gt = name.Find('>');
        if (name.IsEmpty() || lt <= 0 || gt != name.GetLength() - 1) return false;
        const CString stem = name.Left(lt);
        char* end = nullptr;
        const long index = std::strtol(name.GetString() + lt + 1, &end, 10);
        if (end != name.GetString() + gt || index < std::min(msb, lsb) || index > std::max(msb, lsb))
            return false;
        if (base.IsEmpty()) base = stem;
        if (base.CompareNoCase(stem) != 0) return false;
        high = high == -1 ? static_cast<int>(index) : std::max(high, static_cast<int>(index));
        low = low == -1 ? static_cast<int>(index) : std::min(low, static_cast<int>(index));
    }
    vectorName = CSchemaUtilities::vectorName(base.GetString(), high, low);
    return true;
}

// The pin numbers of a pin's bits, in the order given.
std::vector<CString> PinNumbers(const CInstanceContext& instance, IInstTerm* pin,
                                const std::vector<int>& bits) {
    std::vector<CString> numbers(bits.size());
    if (!instance || !pin) return numbers;
    const CInstTermContext term = instance.instTerm(pin);
    for (std::size_t i = 0; i < bits.size(); ++i)
        numbers[i] = CKXGenUtils::GetPinNumber(term.bitContext(bits[i]));
    return numbers;
}

// Restores the fill mode (a child fill always ends in the ordinary mode).
struct FillModeScope {
    int& mode;
    FillModeScope(int& m, int value) : mode(m) { mode = value; }
    ~FillModeScope() { mode = 2; }
};

} // namespace

namespace {

// The runs of bit rows to insert below a wide pin's row, in the order of its bits: where each run goes
// (the runs before it inserted) and its bits; kept: where the rows written before are then.
struct BitRowRuns {
    std::vector<std::pair<ROWCOL, std::vector<int>>> runs;
    std::vector<ROWCOL> kept;
    ROWCOL total = 0;
};

BitRowRuns PlanBitRows(ROWCOL row, const std::vector<int>& bits, const std::set<int>& written,
                       const std::vector<int>* only) {
    const std::set<int> wanted = only ? std::set<int>(only->begin(), only->end()) : std::set<int>();
    BitRowRuns plan;
    ROWCOL at = row + 1; // the row the next bit's row takes
    bool inRun = false;
    for (int bit : bits) {
        const bool has = written.count(bit) != 0;
        const bool take = !has && (!only || wanted.count(bit) != 0);
        if (take) {
            if (!inRun) plan.runs.push_back({at, {}});
            plan.runs.back().second.push_back(bit);
            ++plan.total;
        } else if (has) {
            plan.kept.push_back(at);
        }
        inRun = take;
        if (take || has) ++at;
    }
    return plan;
}

} // namespace

void KXPinGridFill::FillInstanceCells(ROWCOL row, const CString& level, UINT diffPairControl, int plusMinus) {
    FillInstanceCells(row,
                      m_grid.m_fillStyles.Instance(m_grid.m_instCurrent, level, diffPairControl, plusMinus));
}

void KXPinGridFill::FillInstanceCells(ROWCOL row, const kxpingrid::PinFillStyles::InstanceCells& cells) {
    // In column order: a fill's cells then each go at the row's end, none moved to make room.
    std::array<std::pair<ROWCOL, const CGXStyle*>, 3> writes{{{Col(m_grid.m_nColInstance), &cells.instance},
                                                              {Col(m_grid.m_nColRefDes), &cells.refDes},
                                                              {Col(m_grid.m_nColDiffPair), &cells.diffPair}}};
    std::sort(writes.begin(), writes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [col, style] : writes)
        m_grid.WriteCell(row, col, *style);
}

void KXPinGridFill::WriteStaticCell(ROWCOL row, int col, const CString& value, const CString& level) {
    CGXStyle& style = m_grid.m_fillStyles.StaticToWrite(level);
    style.SetValue(value);
    m_grid.WriteCell(row, Col(col), style);
}

CString KXPinGridFill::PhysicalPinName(IInstTerm* pin, int bit) {
    if (!m_grid.m_instCurrent || !pin) return CString();
    return CKXGenUtils::GetPinNumber(m_grid.m_instCurrent.instTerm(pin).bitContext(bit));
}

CString KXPinGridFill::CsvPinName(IInstTerm* pin, int bit) {
    if (!m_grid.m_pCsvParser || !m_grid.m_instCurrent || !pin) return CString();
    const CInstTermBitContext bitContext = m_grid.m_instCurrent.instTerm(pin).bitContext(bit);
    CString name;
    const std::unique_ptr<CPQPropertyData> pn(bitContext.findProperty("PN"));
    if (pn) {
        const std::unique_ptr<CPQPropertyData> text(bitContext.findProperty(ZRV_PIN_TEXT));
        if (text) name = text->value();
        name.Trim();
    }
    if (name.IsEmpty()) {
        CString number = CKXGenUtils::GetPinNumber(bitContext);
        m_grid.m_pCsvParser->getPinNameFromNumber(number, name);
        name.Trim();
    }
    return name;
}

void KXPinGridFill::ToggleRow(ROWCOL row) {
    // The pin-name cell as stored (what GetStyleRowCol gives for a data column).
    const CGXData* data = m_grid.GetData();
    const CGXStyle* style = data ? data->LookupCell(row, Col(m_grid.m_nColPinName)) : nullptr;
    if (!style || !style->GetIncludeControl()) return;
    auto* button = dynamic_cast<CKXPlusMinusEditButton*>(m_grid.GetRegisteredControl(style->GetControl()));
    if (button) button->ToggleExpand(row, Col(m_grid.m_nColPinName));
}

void KXPinGridFill::ToggleWrittenVectorRow(ROWCOL row, ROWCOL bitRows) {
    const CGXData* data = m_grid.GetData();
    const CGXStyle* style = data ? data->LookupCell(row, Col(m_grid.m_nColPinName)) : nullptr;
    if (!style || !style->GetIncludeControl()) return;
    auto* button = dynamic_cast<CKXPlusMinusEditButton*>(m_grid.GetRegisteredControl(style->GetControl()));
    if (button) button->ToggleWrittenGroup(row, Col(m_grid.m_nColPinName), bitRows);
}

void KXPinGridFill::ApplySignalCellStyle(ROWCOL row, const CString& text, int netId, int connCount,
                                         BOOL bShowConn) {
    const CString level = m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_ROW_LEVEL);
    if (netId == -1) {
        const CGXStyle current = m_grid.CellStyle(row, Col(m_grid.m_nColSignal));
        if (current.GetIncludeUserAttribute(Id(IDS_UA_CONN_INDEX)))
            netId = static_cast<int>(current.GetUserAttribute(Id(IDS_UA_CONN_INDEX)).GetDoubleValue());
    }
    WriteSignalCell(row, level, text, netId);
    // A connected bit row: its parent's connection cell follows.
    if (connCount != 0 && bShowConn) {
        const ROWCOL parent = m_grid.GetRowParentOffset(row);
        if (parent != GX_INVALID) m_grid.m_signalCells->SetConnectionCell(parent);
    }
}

void KXPinGridFill::WriteSignalCell(ROWCOL row, const CString& level, const CString& text, int netId) {
    WriteSignalCell(row, m_grid.m_fillStyles.SignalToWrite(level), text, netId);
}

void KXPinGridFill::WriteSignalCell(ROWCOL row, CGXStyle& sig, const CString& text, int netId) {
    sig.SetValue(text);
    // The net of the cell written last (the bits of a bus, unconnected pins) is left as it is: the
    // style's attributes stay shared with that cell's.
    const CGXAbstractUserAttribute* last = sig.FindUserAttribute(Id(IDS_UA_CONN_INDEX));
    if (!last || last->GetDoubleValue() != netId) sig.SetUserAttribute(Id(IDS_UA_CONN_INDEX), netId);
    GridWriteScope scope(m_grid);
    m_grid.WriteCell(row, Col(m_grid.m_nColSignal), sig);
    if (netId >= 0) m_grid.m_rowIndex.Add(KXRowKey::Net(static_cast<unsigned>(netId)), row);
}

void KXPinGridFill::FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level) {
    if (!pin) return;
    GridWriteScope scope(m_grid);
    int msb = pin->msb(), lsb = pin->lsb();
    const bool childMode = m_grid.m_nFillMode == 0 || m_grid.m_nFillMode == 1;
    if (childMode || !m_grid.m_bShowVectors) msb = lsb = bit;
    m_grid.InsertRows(row, 1, kNoUpdate, gxDo);
    const bool block = m_grid.m_fillStyles.IsBlock(m_grid.m_instCurrent);
    if (msb == lsb) {
        FillScalarPinRow(pin, row, msb, childMode ? level : CString("1"), block);
        return;
    }
    std::vector<int> bits = pin->bits();
    CString parentName = CSchemaUtilities::vectorName(ShownPinName(pin), msb, lsb);
    const kxpingrid::BitNames bitNames(ShownPinName(pin));
    std::vector<CString> csvNames;
    if (m_grid.m_pCsvParser) {
        for (int b : bits)
            csvNames.push_back(CsvPinName(pin, b));
        // A bus the pin file names no bit of is the design's bus: its row stays, as without a pin file.
        // A bit the file leaves out keeps the design's name beside the bits it names.
        if (std::all_of(csvNames.begin(), csvNames.end(), [](const CString& n) { return n.IsEmpty(); }))
            csvNames.clear();
        for (std::size_t i = 0; i < csvNames.size(); ++i)
            if (csvNames[i].IsEmpty()) csvNames[i] = bitNames.Of(bits[i]);
        if (!csvNames.empty() && !CsvNamesAgree(csvNames, msb, lsb, parentName)) {
            FillCsvBitRows(pin, row, bits, level);
            return;
        }
    }
    const ROWCOL parentRow = row;
    const std::vector<CString> numbers = PinNumbers(m_grid.m_instCurrent, pin, bits);
    const CSchemaObjectIterator<CConn> conns = pin->beginConn();
    if (bits.size() > kWidePinBits) {
        // A wide pin's row comes folded and alone: its bit rows are written when it is expanded.
        FillVectorParentRow(pin, row, msb, lsb, parentName, numbers, conns, block);
        m_grid.m_signalCells->SetConnectionCell(parentRow, nullptr, &conns);
        ToggleWrittenVectorRow(parentRow, 0);
        return;
    }
    // The bit rows below the vector's row, at once.
    m_grid.InsertRows(row + 1, static_cast<ROWCOL>(bits.size()), kNoUpdate, gxDo);
    kxpingrid::VectorBitCells shared =
        FillVectorParentRow(pin, row, msb, lsb, parentName, numbers, conns, block);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        ++row;
        const CString bitName =
            i < csvNames.size() && !csvNames[i].IsEmpty() ? csvNames[i] : bitNames.Of(bits[i]);
        FillVectorBitRow(pin, row, bits[i], bitName, numbers[i], shared, block);
    }
    // The vector's row sums its bits up once they are all written; a row below them is looked at too.
    m_grid.m_signalCells->SetConnectionCell(
        parentRow, row == m_grid.GetRowCount() ? &shared.connections : nullptr, &conns);
    ToggleWrittenVectorRow(parentRow, static_cast<ROWCOL>(bits.size()));
}

std::vector<CString> KXPinGridFill::BitRowNames(IInstTerm* pin, const std::vector<int>& bits) {
    std::vector<CString> names;
    names.reserve(bits.size());
    const kxpingrid::BitNames bitNames(ShownPinName(pin));
    for (int bit : bits) {
        const CString csvName = m_grid.m_pCsvParser ? CsvPinName(pin, bit) : CString();
        names.push_back(csvName.IsEmpty() ? bitNames.Of(bit) : csvName);
    }
    return names;
}

ROWCOL KXPinGridFill::WriteWidePinBitRows(ROWCOL row, const std::vector<int>* only) {
    IInstTerm* pin = nullptr;
    ROWCOL bitRows = 0;
    if (!IsWidePinRow(row, &pin, &bitRows) || !m_grid.m_instCurrent) return 0;
    const std::vector<int> bits = pin->bits();
    if (bitRows >= bits.size()) return 0;
    // The bits named before have their rows: the others go in around them, in the order of the bits.
    std::set<int> written;
    for (ROWCOL r = row + 1; r <= row + bitRows; ++r) {
        CString base;
        int msb = -1, lsb = -1;
        m_grid.GetRowKind(r, base, msb, lsb);
        written.insert(msb);
    }
    const BitRowRuns plan = PlanBitRows(row, bits, written, only);
    if (plan.total == 0) return 0;
    const bool folded = m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_EXPAND_STATE) != "1";
    const bool block = m_grid.m_fillStyles.IsBlock(m_grid.m_instCurrent);
    GridWriteScope scope(m_grid);
    const CSchemaObjectIterator<CConn> conns = pin->beginConn();
    kxpingrid::VectorBitCells shared =
        VectorBitCellsOf(pin, WholePinConn(conns, pin->msb(), pin->lsb()) != nullptr);
    shared.parentRow = row;
    shared.parentTermination = CString(m_grid.GetValueRowCol(row, Col(m_grid.m_nColTermination)));
    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    const bool context = m_grid.Site() && m_grid.Site()->OpenMode() == eOpenModeContext;
    for (const auto& [at, runBits] : plan.runs) {
        const auto count = static_cast<ROWCOL>(runBits.size());
        m_grid.InsertRows(at, count, kNoUpdate, gxDo);
        const std::vector<CString> names = BitRowNames(pin, runBits);
        const std::vector<CString> numbers = PinNumbers(m_grid.m_instCurrent, pin, runBits);
        for (ROWCOL i = 0; i < count; ++i)
            FillVectorBitRow(pin, at + i, runBits[i], names[i], numbers[i], shared, block);
        if (context)
            m_grid.SetStyleRange(CGXRange().SetRows(at, at + count - 1), readOnly, gxOverride, 0, kNoUpdate,
                                 gxDo);
        // (Rows written for a command of this grid alone: the grids beside it keep theirs.)
        if (folded) m_grid.CKXGridWnd::HideRows(at, at + count - 1, TRUE, nullptr, kNoUpdate, gxDo);
    }
    // The rows written before moved down by the rows that went in above them.
    for (ROWCOL r : plan.kept)
        KXRowAttrs(m_grid, r).Set(Col(m_grid.m_nColPinName), kxpingrid::kParentRowOffset,
                                  static_cast<int>(r - row));
    const ROWCOL last = row + bitRows + plan.total;
    m_grid.StylePropertyCells(pin, static_cast<int>(row), static_cast<int>(last));
    m_grid.FillPupdColumn({});
    return plan.total;
}

std::vector<CString> KXPinGridFill::BitSignalTexts(IInstTerm* pin, const std::vector<int>& bits) {
    std::vector<CString> texts(bits.size());
    kxpingrid::NetBitNames netBits;
    int netId = -1;
    for (std::size_t i = 0; i < bits.size(); ++i)
        OuterSignal(pin, bits[i], texts[i], netId, &netBits);
    return texts;
}

kxpingrid::ConnectionSummary KXPinGridFill::SumWidePinBits(IInstTerm* pin) {
    // As the walk of its bit rows would sum them: the tip names the first rows' bits, and the walk may
    // stop once those are named and two bits differ.
    kxpingrid::ConnectionSum sum;
    kxpingrid::NetBitNames netBits;
    const std::vector<int> bits = pin->bits();
    const auto named = std::min<std::size_t>(bits.size(), kxpingrid::kConnectionTipRows);
    const std::vector<CString> names = BitRowNames(pin, std::vector<int>(bits.begin(), bits.begin() + named));
    CString first;
    bool differ = false;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        CString text;
        int netId = -1;
        OuterSignal(pin, bits[i], text, netId, &netBits);
        if (i == 0) first = text;
        differ = differ || text.CompareNoCase(first) != 0;
        sum.Count();
        sum.Add(i < named ? names[i] : CString(), text);
        if (i >= named && differ) break;
    }
    return sum.Finish();
}

void KXPinGridFill::FillCsvBitRows(IInstTerm* pin, ROWCOL& row, const std::vector<int>& bits,
                                   const CString& level) {
    // Every bit on a row of its own; the first reuses the row inserted for the vector.
    m_grid.RemoveRows(row, row, kNoUpdate, gxDo);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (i) ++row;
        const int showVectors = m_grid.m_bShowVectors;
        m_grid.m_bShowVectors = 0;
        FillPinRow(pin, row, bits[i], level);
        m_grid.m_bShowVectors = showVectors;
    }
}

void KXPinGridFill::FillScalarPinRow(IInstTerm* pin, ROWCOL row, int bit, const CString& rowLevel,
                                     bool block) {
    // A scalar pin or one bit.
    const bool childMode = m_grid.m_nFillMode == 0 || m_grid.m_nFillMode == 1;
    const int plusMinus = childMode ? 1 : 0;
    FillInstanceCells(row, rowLevel,
                      m_grid.m_nFillMode == 0 ? IDS_CTRL_DIFFPAIR_ROW : IDS_UA_SCALAR_PINNAME_CELL,
                      plusMinus);
    CGXStyle pn = m_grid.m_fillStyles.Data(rowLevel);
    pn.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), static_cast<int>(pin->id()));
    const CString csvName = CsvPinName(pin, bit);
    if (bit == -1) {
        pn.SetValue(csvName.IsEmpty() ? ShownPinName(pin) : csvName)
            .SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
        if (childMode) pn.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1);
    } else {
        pn.SetValue(csvName.IsEmpty() ? CSchemaUtilities::vectorName(ShownPinName(pin), bit) : csvName)
            .SetControl(Id(IDS_UA_SINGLEBIT_VECTOR_PINNAME_CELL));
        m_grid.m_fillStyles.PutShared(pn, IDS_UA_PLUSMINUS_BIT, plusMinus);
        m_grid.m_fillStyles.PutDecimal(pn, IDS_UA_VECTOR_MSB, bit);
        m_grid.m_fillStyles.PutDecimal(pn, IDS_UA_VECTOR_LSB, bit);
        pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
    }
    if (m_grid.m_nFillMode == 1) pn.SetUserAttribute(Id(IDS_UA_POWER_PIN_CHILD_ROW), 1);
    m_grid.WritePinNameCell(row, pn, static_cast<int>(pin->id()), bit);
    WriteStaticCell(row, m_grid.m_nColPinNumber, PhysicalPinName(pin, bit), "1");
    WriteStaticCell(row, m_grid.m_nColPinType, CKXGenUtils::GetPinType(pin), "1");
    CString text;
    int netId = -1;
    if (m_grid.m_nFillMode == 2 && m_grid.m_bShowVectors)
        ScalarPinSignal(pin, text, netId);
    else
        OuterSignal(pin, bit, text, netId);
    WriteSignalCell(row, rowLevel, text, netId);
    FinishPinRow(row, pin, bit, bit, block);
}

void KXPinGridFill::ScalarPinSignal(IInstTerm* pin, CString& text, int& netId) {
    // A pin of one bit has one connection at most, to one net bit: the bit says all its connections say.
    if (pin->msb() == pin->lsb()) {
        OuterSignal(pin, pin->msb(), text, netId);
        return;
    }
    int count = 0;
    for (const CConn& conn : pin->beginConn()) {
        if (!conn.net()) continue;
        if (++count > 1)
            CKXErrorHandler::ReportSchemaViolation(
                "KXTABLE-136", 136, m_grid.m_instCurrent.instTerm(pin).spath().GetString(), pin->name());
        if (conn.netMsb() == -1 && conn.netLsb() == -1) {
            text = conn.net()->name();
        } else if (conn.netMsb() == conn.netLsb()) {
            text = CSchemaUtilities::vectorName(conn.net()->name(), conn.netMsb());
        } else {
            CKXErrorHandler::ReportSchemaViolation(
                "KXTABLE-137", 137, m_grid.m_instCurrent.instTerm(pin).spath().GetString(), pin->name());
            continue;
        }
        netId = static_cast<int>(conn.net()->id());
    }
}

kxpingrid::VectorBitCells KXPinGridFill::FillVectorParentRow(IInstTerm* pin, ROWCOL row, int msb, int lsb,
                                                             const CString& name,
                                                             const std::vector<CString>& numbers,
                                                             const CSchemaObjectIterator<CConn>& conns,
                                                             bool block) {
    FillInstanceCells(row, "1", IDS_UA_SCALAR_PINNAME_CELL, 0);
    CGXStyle pn = m_grid.m_fillStyles.Data("1");
    pn.SetValue(name).SetControl(Id(IDS_CTRL_MINUS_BUTTON));
    pn.SetUserAttribute(Id(IDS_UA_EXPAND_STATE), 1).SetUserAttribute(Id(IDS_UA_VECTOR_GROUP), 1);
    pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
    pn.SetUserAttribute(Id(IDS_UA_VECTOR_MSB), Decimal(msb))
        .SetUserAttribute(Id(IDS_UA_VECTOR_LSB), Decimal(lsb));
    pn.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), static_cast<int>(pin->id()));
    m_grid.WritePinNameCell(row, pn, static_cast<int>(pin->id()), msb == lsb ? msb : -1);
    CString joined;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i) joined += ",";
        joined += numbers[i];
    }
    WriteStaticCell(row, m_grid.m_nColPinNumber, joined, "1");
    WriteStaticCell(row, m_grid.m_nColPinType, CKXGenUtils::GetPinType(pin), "1");
    const CConn* whole = WholePinConn(conns, msb, lsb);
    if (whole)
        WriteSignalCell(row, "1",
                        CSchemaUtilities::vectorName(whole->net()->name(), whole->netMsb(), whole->netLsb()),
                        static_cast<int>(whole->net()->id()));
    else
        WriteSignalCell(row, "1", "", -1);
    const CString termination = FinishPinRow(row, pin, msb, lsb, block);
    kxpingrid::VectorBitCells cells = VectorBitCellsOf(pin, whole != nullptr);
    cells.parentRow = row;
    cells.parentTermination = termination;
    return cells;
}

kxpingrid::VectorBitCells KXPinGridFill::VectorBitCellsOf(IInstTerm* pin, bool connectedWhole) {
    kxpingrid::VectorBitCells cells;
    cells.instance = &m_grid.m_fillStyles.Instance(m_grid.m_instCurrent, "1", IDS_UA_SCALAR_PINNAME_CELL, 1);
    cells.pinName = m_grid.m_fillStyles.Data("2");
    cells.pinName.SetControl(Id(IDS_CTRL_CHILD_PINNAME_CELL));
    m_grid.m_fillStyles.PutShared(cells.pinName, IDS_UA_PLUSMINUS_BIT, 1);
    m_grid.m_fillStyles.PutShared(cells.pinName, IDS_UA_VECTOR_PIN_BIT, connectedWhole ? 1 : 0);
    cells.pinName.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pin->name());
    cells.pinName.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), static_cast<int>(pin->id()));
    cells.pinNumber = m_grid.m_fillStyles.Static("2");
    cells.pinType = m_grid.m_fillStyles.Static("2");
    cells.pinType.SetValue(CKXGenUtils::GetPinType(pin));
    cells.signal = m_grid.m_fillStyles.Signal("2");
    return cells;
}

void KXPinGridFill::FillVectorBitRow(IInstTerm* pin, ROWCOL row, int bit, const CString& name,
                                     const CString& number, kxpingrid::VectorBitCells& shared, bool block) {
    FillInstanceCells(row, *shared.instance);
    // Every bit row sets the same attributes of the shared styles: nothing of the row before stays.
    CGXStyle& pn = shared.pinName;
    pn.SetValue(name);
    m_grid.m_fillStyles.PutDecimal(pn, IDS_UA_VECTOR_MSB, bit);
    m_grid.m_fillStyles.PutDecimal(pn, IDS_UA_VECTOR_LSB, bit);
    m_grid.m_fillStyles.PutShared(pn, IDS_UA_PARENT_ROW_OFFSET, static_cast<int>(row - shared.parentRow));
    m_grid.WritePinNameCell(row, pn, static_cast<int>(pin->id()), bit);
    shared.pinNumber.SetValue(number);
    m_grid.WriteCell(row, Col(m_grid.m_nColPinNumber), shared.pinNumber);
    m_grid.WriteCell(row, Col(m_grid.m_nColPinType), shared.pinType);
    CString text;
    int netId = -1;
    OuterSignal(pin, bit, text, netId, &shared.netBits);
    // (The parent's signal cell, written from the same connections, already shows the whole pin.)
    WriteSignalCell(row, shared.signal, text, netId);
    shared.connections.Count();
    shared.connections.Add(name, text);
    FinishPinRow(row, pin, bit, bit, block, &shared);
}

CString KXPinGridFill::FinishPinRow(ROWCOL row, IInstTerm* pin, int msb, int lsb, bool block,
                                    kxpingrid::VectorBitCells* vector) {
    // The termination cell: a block's pins carry none; an unconnected pin shows none.
    CString tip;
    const CString type = block ? CString() : m_grid.RowTermination(pin, msb, lsb, tip);
    const CGXStyle& none = m_grid.m_fillStyles.Termination(!block);
    if (type.IsEmpty() && tip.IsEmpty()) {
        m_grid.WriteCell(row, Col(m_grid.m_nColTermination), none);
    } else {
        CGXStyle term = none;
        if (!type.IsEmpty()) term.SetValue(type);
        if (!tip.IsEmpty()) term.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
        m_grid.WriteCell(row, Col(m_grid.m_nColTermination), term);
    }
    // A bit whose termination differs from what its vector's row shows (none included) empties that row's
    // cell.
    if (vector && vector->parentTermination.CompareNoCase(type) != 0) {
        CGXStyle clear;
        clear.SetValue("");
        m_grid.WriteCell(vector->parentRow, Col(m_grid.m_nColTermination), clear);
        vector->parentTermination.Empty();
    }
    // The PUPD cell, when the design has no pull-up or pull-down to mark (a leg's or a power pin's row
    // waits for its parent row: FillPupdColumn), and the comments cell, in their column order.
    const bool pupd = m_grid.m_pupdColumn->m_bPupdInFill && m_grid.m_nFillMode == 2;
    const bool pupdFirst = pupd && Col(m_grid.m_nColPupd) < Col(m_grid.m_nColComments);
    if (pupdFirst) WriteNoPupdCell(row);
    const CComments* store = m_grid.Site() ? m_grid.Site()->CommentStore() : nullptr;
    if (store && store->GetPinCommentCount() > 0) {
        CGXStyle comment = m_grid.m_fillStyles.NoComment();
        m_grid.m_comments->FindPinComment(m_grid.m_instCurrent.name(),
                                          m_grid.m_comments->CommentKeyOf(pin, msb, lsb), comment);
        m_grid.WriteCell(row, Col(m_grid.m_nColComments), comment);
    } else {
        m_grid.WriteCell(row, Col(m_grid.m_nColComments), m_grid.m_fillStyles.NoComment());
    }
    if (pupd && !pupdFirst) WriteNoPupdCell(row);
    return type;
}

void KXPinGridFill::WriteNoPupdCell(ROWCOL row) {
    m_grid.WriteCell(row, Col(m_grid.m_nColPupd), m_grid.m_fillStyles.NoPupd());
    m_grid.m_pupdColumn->m_pupdFilledRows.push_back(row);
}

void KXPinGridFill::MarkNestedLeg(ROWCOL row, int mode) {
    // A leg under one bit of a vector pair sits one level deeper than its pair row, and it belongs
    // to the rows the vector pair's button shows and hides: an empty pair-row mark does that
    // without making it a pair row.
    if (mode != PIN_ROW_DIFFPAIR_CHILD) return;
    CGXStyle style;
    style.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), "2").SetUserAttribute(Id(IDS_UA_DIFFPAIR_ROW), "");
    GridWriteScope scope(m_grid);
    m_grid.WriteCell(row, Col(m_grid.m_nColPinName), style);
}

void KXPinGridFill::FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row) {
    if (!pair || !m_grid.m_instCurrent) return;
    const bool vectorPair = mode == PIN_ROW_VECTOR_DIFFPAIR;
    if (!vectorPair) {
        // Both legs must be pins of this instance.
        if (!pair->positive() || !pair->negative() ||
            pair->positive()->instance() != m_grid.m_instCurrent.instance() ||
            pair->negative()->instance() != m_grid.m_instCurrent.instance())
            return;
    }
    GridWriteScope scope(m_grid);
    const ROWCOL pairRow = row;
    m_grid.StylePinRowProperties(pair, mode, parentRow == GX_INVALID ? -1 : static_cast<int>(parentRow), row);
    m_grid.FillTerminationCell(pairRow);
    if (vectorPair) {
        // The members follow as rows of their own; the pair row's Comments cell takes no typing either.
        m_grid.m_comments->FillRowComment(pairRow);
        return;
    }
    const CString legLevel = mode == PIN_ROW_DIFFPAIR ? CString("2") : CString("3");
    ++row;
    m_grid.FillDiffPairLegRow(pair->positive(), row, pair->positiveBit(), legLevel);
    m_grid.SetCellUserAttribute(row, Col(m_grid.m_nColPinName), IDS_UA_PARENT_ROW_OFFSET,
                                static_cast<double>(row - pairRow));
    MarkNestedLeg(row, mode);
    ++row;
    m_grid.FillDiffPairLegRow(pair->negative(), row, pair->negativeBit(), legLevel);
    m_grid.SetCellUserAttribute(row, Col(m_grid.m_nColPinName), IDS_UA_PARENT_ROW_OFFSET,
                                static_cast<double>(row - pairRow));
    MarkNestedLeg(row, mode);
    m_grid.JoinChildPinNumbers(pairRow);
    m_grid.m_signalCells->FillDiffPairSignalCells(pairRow, 0);
    m_grid.m_comments->FillRowComment(pairRow);
    m_grid.FillTerminationCell(pairRow);
    ToggleRow(pairRow);
}

void KXPinGridFill::FillChildPinRow(IInstTerm* pin, ROWCOL& row, const CString& level) {
    FillModeScope mode(m_grid.m_nFillMode, 1);
    FillPinRow(pin, row, pin ? pin->msb() : -1, level);
}

void KXPinGridFill::FillPowerPinRows(const std::vector<IInstTerm*>& pins, ROWCOL& row) {
    if (pins.empty()) return;
    GridWriteScope scope(m_grid);
    const ROWCOL parentRow = row;
    m_grid.StylePinRow(pins, row); // row now follows the parent row
    int offset = 0;
    for (IInstTerm* pin : pins) {
        FillChildPinRow(pin, row, "2");
        m_grid.SetCellUserAttribute(row, Col(m_grid.m_nColPinName), IDS_UA_PARENT_ROW_OFFSET, ++offset);
        ++row;
    }
    --row; // the last row written
    CGXStyle pupd;
    pupd.SetControl(Id(IDS_CTRL_PUPD_NONE)).SetReadOnly(TRUE);
    m_grid.SetStyleRange(CGXRange(parentRow, Col(m_grid.m_nColPupd)), pupd, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.m_comments->FillRowComment(parentRow);
    ToggleRow(parentRow);
}

// ---------------------------------------------------------------------------
// The grid's fill entries, which the load, the refresh and the edits call

void CKXInstanceDetailsGridWnd::FillPinRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level) {
    m_fill->FillPinRow(pin, row, bit, level);
}

void CKXInstanceDetailsGridWnd::FillDiffPairRows(IDPInstTerm* pair, int mode, ROWCOL parentRow, ROWCOL& row) {
    m_fill->FillDiffPairRows(pair, mode, parentRow, row);
}

void CKXInstanceDetailsGridWnd::FillPowerPinRows(const std::vector<IInstTerm*>& pins, ROWCOL& row) {
    m_fill->FillPowerPinRows(pins, row);
}

void CKXInstanceDetailsGridWnd::ApplySignalCellStyle(ROWCOL row, const CString& text, int netId,
                                                     int connCount, BOOL bShowConn) {
    m_fill->ApplySignalCellStyle(row, text, netId, connCount, bShowConn);
}

ROWCOL CKXInstanceDetailsGridWnd::WriteWidePinBitRows(ROWCOL row, const std::vector<int>* only) {
    return m_fill->WriteWidePinBitRows(row, only);
}

kxpingrid::ConnectionSummary CKXInstanceDetailsGridWnd::SumWidePinBits(IInstTerm* pin) {
    return m_fill->SumWidePinBits(pin);
}

void CKXInstanceDetailsGridWnd::ToggleRow(ROWCOL row) {
    m_fill->ToggleRow(row);
}
