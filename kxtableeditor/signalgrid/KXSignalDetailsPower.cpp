// Implicit power pins: package pins the symbol does not show, tied to a net by the
// part or by the instance. While the host shows power pins, a signal's grid lists
// them after its connections, one read-only row per pin; they are no connections,
// so no edit, delete or termination reaches them.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/schemautil.h"

using namespace kxsignal;

namespace {

constexpr KXAttr<int> kAttrImplicitPowerPin{IDS_UA_IMPLICIT_POWER_PIN};

CGXStyle StaticCell(const CString& text) {
    CGXStyle style;
    style.SetValue(text).SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE).SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    return style;
}

} // namespace

const CKXSignalDetailsGridWnd::PowerPinIndex& CKXSignalDetailsGridWnd::PowerPins() {
    if (!m_pPowerPins) {
        // One pass over the design's instances serves every net of a load.
        m_pPowerPins = std::make_unique<PowerPinIndex>();
        if (m_designContext)
            for (const CInstanceContext& inst : m_designContext.instances())
                if (IInstance* i = inst.instance(); i && CString(i->name()).Find('^') < 0)
                    for (const CImplicitPowerPin& p : i->implicitPowerPins())
                        (*m_pPowerPins)[p.netName].push_back({i, p});
    }
    return *m_pPowerPins;
}

ROWCOL CKXSignalDetailsGridWnd::AddPowerPinRows(INet* net, int bit, ROWCOL row,
                                                const std::set<unsigned>* instanceIds) {
    if (!CKXShareGlobalData::m_bShowPowerPins || !net) return row;
    // The names a power pin may be tied to: a scalar net itself, else each shown bit.
    std::vector<std::pair<CString, int>> names;
    if (net->isScalar())
        names.emplace_back(net->name(), -1);
    else if (bit >= 0)
        names.emplace_back(CSchemaUtilities::vectorName(net->name(), bit), bit);
    else
        for (int b : net->bits())
            names.emplace_back(CSchemaUtilities::vectorName(net->name(), b), b);
    const PowerPinIndex& index = PowerPins();
    for (const auto& [name, b] : names) {
        const auto found = index.find(name);
        if (found == index.end()) continue;
        for (const PowerPinRef& ref : found->second) {
            if (instanceIds && !instanceIds->count(ref.inst->id())) continue;
            InsertRows(row, 1, kNoUpdate, gxDo);
            FillPowerPinRow(row, net, b, ref);
            ++row;
        }
    }
    return row;
}

void CKXSignalDetailsGridWnd::FillPowerPinRow(ROWCOL row, INet* net, int bit, const PowerPinRef& ref) {
    GridWriteScope scope(*this);
    const CString bitText = bit < 0 ? CString() : Decimal(bit);
    WriteCell(row, m_nColStartBit, StaticCell(bitText));
    WriteCell(row, m_nColEndBit, StaticCell(bitText));
    WriteCell(row, m_nColCell, StaticCell(ref.inst->cellName()));
    SetCellWithEllipsis(row, ref.inst->name(), static_cast<int>(ref.inst->id()));
    WriteCell(row, m_nColInstance, CGXStyle().SetReadOnly(TRUE));
    if (!ref.inst->isBlock()) WriteCell(row, m_nColLocation, StaticCell(CKXGenUtils::GetLocationProp(ref.inst)));
    CGXStyle pin = StaticCell(ref.pin.pinName);
    kxattr::Put(pin, kAttrImplicitPowerPin, 1);
    WriteCell(row, m_nColPinName, pin);
    WriteNetNameCells(row, net, bit, ref.pin.netName, PhysicalNetName(net, bit, bit));
    WriteCell(row, m_nColPinType, StaticCell(ref.pin.typeText));
    WriteCell(row, m_nColPinNumber, StaticCell(ref.pin.pinNumber));
    CGXStyle termination = StaticCell(CString());
    termination.SetEnabled(TRUE).SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    WriteCell(row, m_nColTermination, termination);
    StylePupdCell(row, m_designContext.net(net).bitContext(bit));
}

bool CKXSignalDetailsGridWnd::IsImplicitPowerPinRow(ROWCOL row) {
    return row >= kFirstDataRow && RowAttr(row, m_nColPinName, kAttrImplicitPowerPin, 0) == 1;
}

void CKXSignalDetailsGridWnd::RefreshRows(const std::set<unsigned>& instanceIds) {
    if (instanceIds.empty() || !CKXShareGlobalData::m_bShowPowerPins) return;
    ReadPowerPinRows(&instanceIds);
}

LRESULT CKXSignalDetailsGridWnd::OnShowPowerPinsChanged(WPARAM, LPARAM) {
    if (m_arrNetData.empty()) return 0;
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    UpdateLockScope lock(*this);
    ReadPowerPinRows(nullptr);
    return 1;
}

void CKXSignalDetailsGridWnd::ReadPowerPinRows(const std::set<unsigned>* instanceIds) {
    // The instances' power pin rows are read again: the old ones go (also those of an instance that
    // went), the ones the design ties now come in front of the blank rows. The other rows keep their
    // order, and the current cell stays on its row.
    {
        GridWriteScope scope(*this);
        for (ROWCOL r = GetRowCount(); r >= kFirstDataRow; --r)
            if (IsImplicitPowerPinRow(r) &&
                (!instanceIds || instanceIds->count(static_cast<unsigned>(GetRowInstanceId(r)))))
                RemoveDataRows(r, r);
    }
    m_pPowerPins.reset();
    for (const CKXNetData& record : m_arrNetData)
        AddPowerPinRows(record.m_pNet, record.m_bIsBit ? record.m_nBit : -1, FindFirstEmptyRow(), instanceIds);
    m_pPowerPins.reset();
    DropRowIndex();
}
