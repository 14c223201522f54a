// Styling of pin row cells: property columns with their property state, the
// generated power-pin group and differential-pair rows, and the Instance and
// Ref Des cells after an instance changed.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcontrols/KXStylesMap.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "kxsmall/CPQRedsDictionary.h"
#include "rmx/packaging.h"

#include <memory>
#include <vector>

using kxpingrid::Col;
using kxpingrid::Decimal;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

namespace {

// Read-only look of generated cells: no wrap, the dot ellipsis, the row's child level.
CGXStyle GeneratedCell(const CString& level) {
    CGXStyle style;
    style.SetReadOnly(TRUE).SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    style.SetUserAttribute(Id(IDS_UA_CHILD_LEVEL), level);
    return style;
}

// Where a pair was defined; a vector pair answers by its last bit.
const char* SourceText(const IDPInstTerm* pair) {
    const IDPInstTerm* asked = pair;
    for (const IDPInstTerm* bit : pair->beginMember())
        if (bit) asked = bit;
    switch (asked->origin()) {
    case IDPInstTerm::eUser:
        return "User defined";
    case IDPInstTerm::eModel:
        return "Model defined";
    case IDPInstTerm::eLibrary:
        return "Library defined";
    default:
        return "Undefined";
    }
}

} // namespace

WORD CKXInstanceDetailsGridWnd::PropStateStyle(int state) const {
    const auto* map = dynamic_cast<const CKXStylesMap*>(GetStylesMap());
    if (!map) return 0;
    switch (state) {
    case 2:
    case 4:
        return map->m_wPropStyleState2And4;
    case 3:
        return map->m_wPropStyleState3;
    case 5:
        return map->m_wPropStyleState5;
    case 7:
        return map->m_wPropStyleState7;
    default:
        return map->m_wPropStyleDefault;
    }
}

void CKXInstanceDetailsGridWnd::WritePropertyCell(ROWCOL row, int col, const CString& value, int state,
                                                  const CString& level) {
    if (state == 8) return; // a hidden property leaves the cell as it was
    CGXStyle style;
    style.SetValue(value);
    if (const WORD base = PropStateStyle(state)) style.SetBaseStyle(base);
    style.SetUserAttribute(Id(IDS_UA_PROP_STATE), state);
    style.SetUserAttribute(Id(IDS_UA_CHILD_LEVEL), level);
    SetStyleRange(CGXRange(row, Col(col)), style, gxOverride, 0, kNoUpdate, gxDo);
}

BOOL CKXInstanceDetailsGridWnd::PropertyCellValue(ROWCOL row, int col, IInstTerm* pin, CString& value,
                                                  int& state) {
    value.Empty();
    state = 3;
    const CInstanceContext inst = GetRowInstance(row);
    if (!inst || col < 0 || static_cast<std::size_t>(col) >= m_arrColumnInfo.size()) return FALSE;
    const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(col)];
    const CString name = info->m_strPropertyName;
    int msb = -1, lsb = -1;
    IInstTerm* rowPin = GetRowInstTerm(row, msb, lsb);
    if (!rowPin) rowPin = pin;
    std::unique_ptr<CPQPropertyData> prop;
    switch (info->m_nPropertyType) {
    case CKXColumnInfoClass::InstProp:
        prop.reset(inst.findProperty(name.GetString(), true));
        break;
    case CKXColumnInfoClass::PinProp:
        if (rowPin) {
            const CInstTermContext term = inst.instTerm(rowPin);
            if (msb == lsb && msb != -1)
                prop.reset(term.bitContext(msb).findProperty(name.GetString(), true));
            else
                prop.reset(term.findProperty(name.GetString(), true));
        }
        break;
    case CKXColumnInfoClass::NetProp: {
        int nm = -1, nl = -1;
        INet* net = GetRowNet(row, nm, nl);
        if (!net) return FALSE;
        prop.reset(m_designContext.net(net).findProperty(name.GetString(), true));
        break;
    }
    default:
        break;
    }
    const bool constraint = CPQRedsDictionary::GetDictionary()->IsConstraint(name, false);
    if (prop) {
        value = prop->value();
        if (!constraint) state = GetPropState(static_cast<int>(prop->source()), name);
    } else if (!constraint) {
        state = GetPropState(0, name);
    }
    // A packaged row with one pin number: the physical part may know better.
    const CString pn = GetValueRowCol(row, Col(m_nColPinNumber));
    IPhysPartInst* part = pn.IsEmpty() || pn.Find(',') >= 0
                              ? nullptr
                              : m_functions->PhysPartOfInstance(GetRowInstanceIndex(row));
    if (part) {
        std::unique_ptr<IPhysPin> phys(part->getPhysPin(pn.GetString()));
        if (phys) {
            const CString physValue = phys->getProperty(name.GetString());
            if (!physValue.IsEmpty()) value = physValue;
        }
    }
    return TRUE;
}

KXPinGridFunctions::~KXPinGridFunctions() = default;

IPhysPartInst* KXPinGridFunctions::PhysPartOfInstance(int index) {
    if (index < 0 || !m_grid.m_designContext) return nullptr;
    const auto at = m_mapPhysPartInst.find(static_cast<UINT>(index));
    if (at != m_mapPhysPartInst.end()) return at->second.get();
    const CInstanceContext inst = m_grid.m_designContext.instance(static_cast<UINT>(index));
    std::unique_ptr<IPhysPartInst>& part = m_mapPhysPartInst[static_cast<UINT>(index)];
    if (inst) part.reset(getPhysPartInst(&m_grid.m_designContext, &inst));
    return part.get();
}

CString CKXInstanceDetailsGridWnd::RowChildLevel(ROWCOL row) {
    const CGXAbstractUserAttribute* level = StoredCell(row, Col(m_nColPinName)).FindUserAttribute(Id(IDS_UA_CHILD_LEVEL));
    return level ? level->GetValue() : CString("noval");
}

void CKXInstanceDetailsGridWnd::StylePropertyCells(IInstTerm* pin, int firstRow, int lastRow) {
    if (firstRow > lastRow || firstRow < static_cast<int>(PIN_FIRST_ROW)) return;
    // The property columns, found once for the rows: a grid without any has nothing to write.
    std::vector<std::size_t> columns;
    for (std::size_t c = 3; c < m_arrColumnInfo.size(); ++c)
        if (m_arrColumnInfo[c]->m_nPropertyType != 0) columns.push_back(c);
    if (columns.empty()) return;
    GridWriteScope scope(*this);
    const CString level = RowChildLevel(static_cast<ROWCOL>(firstRow));
    for (int r = firstRow; r <= lastRow && static_cast<ROWCOL>(r) <= GetRowCount(); ++r) {
        for (std::size_t c : columns) {
            CString value;
            int state = 3;
            if (!PropertyCellValue(static_cast<ROWCOL>(r), static_cast<int>(c), pin, value, state)) continue;
            WritePropertyCell(static_cast<ROWCOL>(r), static_cast<int>(c), value, state, level);
        }
    }
}

void CKXInstanceDetailsGridWnd::RefreshRowStyles(CString propName, int context, int col, int row) {
    if (col < 0 || col > static_cast<int>(GetColCount())) return;
    GridWriteScope scope(*this);
    auto one = [&](ROWCOL r) {
        const CString level = RowChildLevel(r);
        int msb = -1, lsb = -1;
        CString value;
        int state = 3;
        if (!GetRowInstTerm(r, msb, lsb) || !PropertyCellValue(r, col, nullptr, value, state)) {
            value.Empty();
            state = 3;
        }
        WritePropertyCell(r, col, value, state, level);
    };
    if (row == -1) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r)
            one(r);
    } else if (row >= static_cast<int>(PIN_FIRST_ROW) && static_cast<ROWCOL>(row) <= GetRowCount()) {
        one(static_cast<ROWCOL>(row));
    }
    if (propName == "PINTYPE" || propName == "PIN_SIGNAL_MODEL" || propName == "SIGNAL_MODEL") {
        for (ROWCOL c = 1; c <= GetColCount(); ++c)
            if (GetValueRowCol(PIN_CAPTION_ROW, c) == "PINUSE") {
                RefreshRowStyles("PINUSE", context, static_cast<int>(c), row);
                break;
            }
    }
}

void CKXInstanceDetailsGridWnd::WriteInstanceCells(ROWCOL row, const CInstanceContext& inst,
                                                   const CString& level) {
    const CString index = Decimal(inst ? inst->id() : 0);
    CGXStyle name = GeneratedCell(level);
    name.SetValue(inst ? inst.name() : CString()).SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    name.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    SetStyleRange(CGXRange(row, Col(m_nColInstance)), name, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle ref = GeneratedCell(level);
    ref.SetValue(inst ? CKXGenUtils::GetLocationProp(inst) : CString())
        .SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    ref.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    SetStyleRange(CGXRange(row, Col(m_nColRefDes)), ref, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::StylePinRow(const std::vector<IInstTerm*>& pins, ROWCOL& row) {
    if (pins.empty()) return;
    GridWriteScope scope(*this);
    CString pinName, pinType, numbers;
    CInstanceContext inst;
    for (IInstTerm* pin : pins) {
        if (!pin) continue;
        pinName = pin->name();
        pinType = CKXGenUtils::GetPinType(pin);
        inst = m_designContext.instance(pin->instance());
        if (!numbers.IsEmpty()) numbers += ",";
        numbers += CKXGenUtils::GetPinNumber(inst.instTerm(pin).bitContext(-1));
    }
    numbers.TrimRight(",");
    InsertRows(row, 1, kNoUpdate, gxDo);
    WriteInstanceCells(row, inst, "1");
    CGXStyle name = GeneratedCell("1");
    name.SetValue(pinName).SetControl(Id(IDS_CTRL_MINUS_BUTTON));
    name.SetUserAttribute(Id(IDS_UA_EXPAND_STATE), 1).SetUserAttribute(Id(IDS_UA_VECTOR_GROUP), 1);
    name.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), pinName).SetUserAttribute(Id(IDS_UA_POWER_PIN_ROW), 1);
    name.SetUserAttribute(Id(IDS_UA_INSTTERM_ID), 0);
    SetStyleRange(CGXRange(row, Col(m_nColPinName)), name, gxOverride, 0, kNoUpdate, gxDo);
    for (const auto& [col, text] :
         {std::pair<int, CString>{m_nColPinNumber, numbers}, {m_nColPinType, pinType}}) {
        CGXStyle s = GeneratedCell("1");
        s.SetValue(text).SetControl(Id(IDS_CTRL_STATIC_TEXT));
        SetStyleRange(CGXRange(row, Col(col)), s, gxOverride, 0, kNoUpdate, gxDo);
    }
    CGXStyle sig = GeneratedCell("1");
    sig.SetIncludeReadOnly(FALSE); // editing the signal is up to the row and the grid
    sig.SetValue("")
        .SetInterior(RGB(255, 255, 255))
        .SetControl(Id(IDS_CTRL_VECTOR_CONNECTIVITY))
        .SetEnabled(TRUE);
    sig.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_TOOLTIP_TITLE), "");
    SetStyleRange(CGXRange(row, Col(m_nColSignal)), sig, gxOverride, 0, kNoUpdate, gxDo);
    for (std::size_t c = 3; c < m_arrColumnInfo.size(); ++c)
        if (m_arrColumnInfo[c]->m_strPropertyName == "PINUSE")
            WritePropertyCell(row, static_cast<int>(c), "", 3, "1");
    ++row;
}

void CKXInstanceDetailsGridWnd::StylePinRowProperties(IDPInstTerm* pair, int kind, int parentRow,
                                                      ROWCOL& row) {
    if (!pair) return;
    GridWriteScope scope(*this);
    // The legs of the first member pair for a vector pair, else the pair's own.
    IInstTerm* first = GetDiffPairFirstLegPin(pair);
    IInstTerm* second = GetDiffPairSecondLegPin(pair);
    const CInstanceContext inst = m_designContext.instance(pair->instance());
    const CString name = CKXGenUtils::GetDiffPairName(pair);
    const CString type = first ? CKXGenUtils::GetPinType(first) : CString();
    // Physical pins of both legs, bit by bit (the pair itself when it has no member pairs).
    std::vector<IDPInstTerm*> bits;
    for (IDPInstTerm* m : pair->beginMember())
        bits.push_back(m);
    if (bits.empty()) bits.push_back(pair);
    CString numbers;
    for (IDPInstTerm* b : bits) {
        if (!first || !second || !b->positive() || !b->negative() || !inst) continue;
        const CString p =
            CKXGenUtils::GetPinNumber(inst.instTerm(b->positive()).bitContext(b->positiveBit()));
        const CString n =
            CKXGenUtils::GetPinNumber(inst.instTerm(b->negative()).bitContext(b->negativeBit()));
        if (p.IsEmpty() || n.IsEmpty()) continue;
        CString both;
        both.Format("%s,%s", p.GetString(), n.GetString());
        if (numbers.IsEmpty())
            numbers = both;
        else
            numbers.Format("%s,%s", CString(numbers).GetString(), both.GetString());
    }
    const CString level = kind == PIN_ROW_DIFFPAIR_CHILD ? CString("2") : CString("1");

    InsertRows(row, 1, kNoUpdate, gxDo);
    CGXStyle dp = GeneratedCell("1");
    dp.SetValue(SourceText(pair)).SetControl(Id(IDS_CTRL_DIFFPAIR_ROW));
    dp.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), SourceText(pair));
    dp.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), Decimal(inst ? inst->id() : 0));
    SetStyleRange(CGXRange(row, Col(m_nColDiffPair)), dp, gxOverride, 0, kNoUpdate, gxDo);
    WriteInstanceCells(row, inst, "1");

    CGXStyle pn = GeneratedCell(level);
    pn.SetValue(name).SetControl(
        Id(kind == PIN_ROW_DIFFPAIR_CHILD ? IDS_CTRL_MERGED_SIBLING : IDS_CTRL_MINUS_BUTTON));
    if (kind == PIN_ROW_VECTOR_DIFFPAIR) pn.SetUserAttribute(Id(IDS_UA_VECTOR_DIFFPAIR_ROW), 1);
    if (kind == PIN_ROW_DIFFPAIR_CHILD) pn.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1);
    pn.SetUserAttribute(Id(IDS_UA_EXPAND_STATE), 1).SetUserAttribute(Id(IDS_UA_VECTOR_GROUP), 1);
    pn.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), name);
    const long long offset =
        parentRow >= 0 && static_cast<ROWCOL>(parentRow) < row ? static_cast<long long>(row) - parentRow : 0;
    pn.SetUserAttribute(Id(IDS_UA_PARENT_ROW_OFFSET), static_cast<double>(offset));
    pn.SetUserAttribute(Id(IDS_UA_DIFFPAIR_ROW), 1);
    pn.SetUserAttribute(Id(IDS_UA_DIFFPAIR_CONN_ID), static_cast<double>(pair->id()));
    SetStyleRange(CGXRange(row, Col(m_nColPinName)), pn, gxOverride, 0, kNoUpdate, gxDo);

    for (const auto& [col, text] :
         {std::pair<int, CString>{m_nColPinNumber, numbers}, {m_nColPinType, type}}) {
        CGXStyle s = GeneratedCell(level);
        s.SetValue(text).SetControl(Id(IDS_CTRL_STATIC_TEXT));
        SetStyleRange(CGXRange(row, Col(col)), s, gxOverride, 0, kNoUpdate, gxDo);
    }
    // The text comes from the legs once they are filled (FillDiffPairSignalCells).
    m_signalCells->WritePairSignalCell(row, CString());
    CGXStyle pupd;
    pupd.SetControl(Id(IDS_CTRL_PUPD_NONE)).SetReadOnly(TRUE);
    SetStyleRange(CGXRange(row, Col(m_nColPupd)), pupd, gxOverride, 0, kNoUpdate, gxDo);
}

void KXPinGridSignalCells::WritePairSignalCell(ROWCOL row, const CString& text) {
    // The cell keeps the row's level, as the pair row's other cells do.
    const CString level = m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_CHILD_LEVEL);
    CGXStyle sig = GeneratedCell(level.IsEmpty() ? CString("1") : level);
    sig.SetIncludeReadOnly(FALSE); // editing the signal is up to the row and the grid
    sig.SetValue(text)
        .SetInterior(RGB(255, 255, 255))
        .SetControl(Id(IDS_CTRL_DIFFPAIR_SIGNAL))
        .SetEnabled(TRUE);
    sig.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_TOOLTIP_TITLE), "");
    GridWriteScope scope(m_grid);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColSignal)), sig, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::RefreshInstanceCells(int instanceIndex) {
    RefreshInstanceColumn(instanceIndex, true);
}

void CKXInstanceDetailsGridWnd::RefreshRefDesCells(int instanceIndex) {
    RefreshInstanceColumn(instanceIndex, false);
}

void CKXInstanceDetailsGridWnd::RefreshInstanceColumn(int instanceIndex, bool instanceName) {
    if (!m_designContext) return;
    GridWriteScope scope(*this);
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r) {
        const int index = GetRowInstanceIndex(r);
        if (!(instanceIndex == -1 && !instanceName) && index != instanceIndex) continue;
        const CInstanceContext inst = m_designContext.instance(static_cast<unsigned>(index));
        const CString level = RowChildLevel(r);
        CGXStyle cell = GeneratedCell(level);
        cell.SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
        cell.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), Decimal(index));
        if (instanceName)
            cell.SetValue(inst ? inst.name() : CString());
        else
            cell.SetValue(inst ? CKXGenUtils::GetLocationProp(inst) : CString());
        SetStyleRange(CGXRange(r, Col(instanceName ? m_nColInstance : m_nColRefDes)), cell, gxOverride, 0,
                      kNoUpdate, gxDo);
    }
}
