// The signal grid's rows: loading nets and net bits, filling a row for one
// connection, the blank editable row, the title, and the look-ups from a row
// back to its net, net bit, instance and pin.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXPupdMark.h"
#include "grid/KXGridSite.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcontrols/KXProgressBar.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace kxsignal;

namespace {

// A data cell: no word wrap, dot ellipsis.
CGXStyle DataCell() {
    CGXStyle style;
    style.SetWrapText(FALSE);
    style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    return style;
}

CString PropertyText(CPQPropertyData* found) {
    std::unique_ptr<CPQPropertyData> prop(found);
    return prop ? CString(prop->value()) : CString();
}

CString BitName(const char* name, int msb, int lsb) {
    return msb == lsb ? CSchemaUtilities::vectorName(name, msb) : CSchemaUtilities::vectorName(name, msb, lsb);
}

} // namespace

// ------------------------------------------------------------------ loading

BOOL CKXSignalDetailsGridWnd::AddNetRows(CDesignContext design, CNetContext net) {
    if (!net) return FALSE;
    return AddRows(design, net.net(), -1);
}

BOOL CKXSignalDetailsGridWnd::AddNetBitRows(CDesignContext design, CNetBitContext bit) {
    if (!bit || !bit.net()) return FALSE;
    m_bNetBitMode = 1;
    return AddRows(design, bit.net(), bit.bit());
}

BOOL CKXSignalDetailsGridWnd::AddRows(const CDesignContext& design, INet* net, int bit) {
    const bool bitMode = m_bNetBitMode != 0;
    if (!net->isScalar()) m_bHideBitColumns = 0;
    if (!bitMode) ShowNetColumnsAsShownNets();
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    CWaitCursor wait;
    {
        UpdateLockScope lock(*this);
        if (m_bRestoreColumns) {
            m_bRestoreColumns = 0;
            for (int c = 0; c < m_nColCount && static_cast<ROWCOL>(c) <= GetColCount(); ++c)
                SetColWidth(Col(c), Col(c), Columns().At(c)->m_nWidth, nullptr,
                            kNoUpdate, gxDo);
        }
        if (!m_bMultipleNets && GetRowCount() >= kFirstDataRow) {
            GridWriteScope unlock(*this);
            RemoveRows(kFirstDataRow, GetRowCount(), kNoUpdate, gxDo);
        }
        if (!m_bMultipleNets) StartRowIndex();
        // A grid of one net shown again holds that net once.
        if (!m_bMultipleNets) m_arrNetData.clear();
        m_arrNetData.push_back({net, bitMode ? 1 : 0, bitMode ? bit : -1});

        // The connections to show: each connection of the net, or each pin bit on the net bit.
        std::vector<CConn> conns;
        if (bitMode) {
            const CNetBit netBit(net, bit);
            for (const CInstTermBit& pinBit : netBit.beginInstTermBit())
                conns.emplace_back(net, bit, pinBit.instTerm(), pinBit.bit());
        } else {
            for (const CConn& conn : net->beginConn())
                conns.push_back(conn);
        }
        const int count = static_cast<int>(conns.size());
        CKXProgressBar progress("Processing Signal", count, 50, 0, 0);
        ROWCOL row = GetRowCount() + 1;
        int i = 0;
        for (const CConn& conn : conns) {
            ++i;
            CString text;
            text.Format("Processing Signal %s: %d%% Done", net->name(), i * 100 / count);
            progress.SetText(text);
            progress.StepIt();
            progress.PeekAndPump();
            InsertRows(row, 1, kNoUpdate, gxDo);
            FillConnectionRow(row, conn);
            ++row;
        }
        row = AddPowerPinRows(net, bitMode ? bit : -1, row);
        if (bitMode)
            ShowNetBitTitle(design.net(net).bitContext(bit));
        else
            ShowNetTitle(net);
        RowCleared(kFirstDataRow); // the rows came in without the blank row hint
        if (!m_bMultipleNets) {
            SortRows(m_nColCell, TRUE);
            AppendLoadBlankRows();
            m_pPowerPins.reset();
        }
    }
    if (Site() && Site()->ViewMode() == eOpenModeContext && GetRowCount() >= kFirstDataRow) {
        CGXStyle readOnly;
        readOnly.SetReadOnly(TRUE);
        SetStyleRange(CGXRange(kFirstDataRow, 0, GetRowCount(), GetColCount()), readOnly, gxOverride, 0,
                      kNoUpdate, gxDo);
    }
    (void)design;
    return TRUE;
}

void CKXSignalDetailsGridWnd::ClearDataRows() {
    // A new list of nets: its rows start right below the header, on no blank row.
    m_arrNetData.clear();
    if (GetRowCount() >= kFirstDataRow) {
        GridWriteScope unlock(*this);
        RemoveRows(kFirstDataRow, GetRowCount(), kNoUpdate, gxDo);
    }
    StartRowIndex();
}

BOOL CKXSignalDetailsGridWnd::LoadListRows(const std::function<void()>& addRows) {
    m_bLoaded = 0;
    m_bMultipleNets = 1;
    {
        UpdateLockScope lock(*this);
        ClearDataRows();
        addRows();
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        SortRows(m_nColCell, TRUE);
        AppendLoadBlankRows();
    }
    m_pPowerPins.reset();
    m_bLoaded = 1;
    return TRUE;
}

BOOL CKXSignalDetailsGridWnd::LoadNets(CDesignContext design, const std::vector<CNetContext>& nets) {
    return LoadListRows([&] {
        for (const CNetContext& net : nets)
            AddNetRows(design, net);
    });
}

BOOL CKXSignalDetailsGridWnd::LoadNetBits(CDesignContext design, const std::vector<CNetBitContext>& bits) {
    return LoadListRows([&] {
        for (const CNetBitContext& bit : bits)
            AddNetBitRows(design, bit);
    });
}

void CKXSignalDetailsGridWnd::AppendBlankRows(ROWCOL count) {
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    const ROWCOL first = GetRowCount() + 1;
    InsertRows(first, count, kNoUpdate, gxDo);
    for (ROWCOL r = first; r < first + count; ++r)
        RestyleRow(r);
    // The blank rows are numbered too.
    ResizeRowHeaderColumn();
}

// Every row a load writes shows a pin or a power pin: the first blank row is the first of those it
// appends, and the rows are numbered for the index once, before the first edit asks.
void CKXSignalDetailsGridWnd::AppendLoadBlankRows() {
    const ROWCOL firstBlank = GetRowCount() + 1;
    AppendBlankRows(kBlankRows);
    m_nEmptyHint = firstBlank;
    if (m_bPinIndexValid) m_rowIndex.NumberRows();
}

// ------------------------------------------------------------------ fillers

void CKXSignalDetailsGridWnd::WriteNetNameCells(ROWCOL row, INet* net, int bit, const CString& signalText,
                                                const CString& physical) {
    const int netId = net ? static_cast<int>(net->id()) : -1;
    CGXStyle signal = DataCell();
    signal.SetValue(signalText).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO)).SetReadOnly(TRUE);
    signal.SetUserAttribute(Id(IDS_UA_SCP_NET_ID), netId)
        .SetUserAttribute(Id(IDS_UA_EXPANDED_BIT), bit)
        .SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    CGXStyle phys = DataCell();
    phys.SetValue(physical).SetControl(Id(IDS_CTRL_EDIT)).SetReadOnly(TRUE);
    phys.SetUserAttribute(Id(IDS_UA_SCP_NET_ID), netId).SetUserAttribute(Id(IDS_UA_EXPANDED_BIT), bit);
    GridWriteScope unlock(*this);
    WriteCell(row, m_nColSignalName, signal);
    WriteCell(row, m_nColPhysicalName, phys);
}

CString CKXSignalDetailsGridWnd::RowSignalText(INet* net, int bit) const {
    if (!net) return CString();
    return m_bNetBitMode && !net->isScalar() && bit >= 0 ? CSchemaUtilities::vectorName(net->name(), bit)
                                                          : CString(net->name());
}

CString CKXSignalDetailsGridWnd::PhysicalNetName(INet* net, int msb, int lsb) {
    if (!net || !m_designContext) return CString();
    const CNetContext context = m_designContext.net(net);
    if (msb == lsb) return PropertyText(context.bitContext(msb).base().findPropertyIncludingAliases("PHYS_NET_NAME"));
    return PropertyText(context.findProperty("BUS_NAME", true));
}

void CKXSignalDetailsGridWnd::FillConnectionRow(ROWCOL row, const CConn& conn) {
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    IInstTerm* pin = conn.instTerm();
    INet* net = conn.net();
    IInstance* inst = pin ? pin->instance() : nullptr;
    if (!inst || !net || CString(inst->name()).Find('^') >= 0) return;
    const CInstanceContext instContext = m_designContext.instance(inst);
    const CInstTermContext pinContext = instContext.instTerm(pin);

    CGXStyle start = DataCell(), end = DataCell();
    start.SetValue(Decimal(conn.netMsb())).SetControl(Id(IDS_CTRL_EDIT));
    end.SetValue(Decimal(conn.netLsb())).SetControl(Id(IDS_CTRL_EDIT));
    WriteCell(row, m_nColStartBit, start);
    WriteCell(row, m_nColEndBit, end);
    CGXStyle cell = DataCell();
    cell.SetValue(inst->cellName()).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    WriteCell(row, m_nColCell, cell);
    SetCellWithEllipsis(row, inst->name(), static_cast<int>(inst->id()));
    if (!inst->isBlock()) {
        CGXStyle location = DataCell();
        location.SetValue(CKXGenUtils::GetLocationProp(inst)).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
        GridWriteScope unlock(*this);
        WriteCell(row, m_nColLocation, location);
    }
    CGXStyle pinName = DataCell();
    pinName.SetValue(pin->isScalar() ? CString(pin->name()) : BitName(pin->name(), conn.instTermMsb(), conn.instTermLsb()))
        .SetControl(Id(IDS_CTRL_PIN_COMBO));
    pinName.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), static_cast<int>(pin->id()))
        .SetUserAttribute(Id(IDS_UA_CONN_MSB), conn.instTermMsb())
        .SetUserAttribute(Id(IDS_UA_CONN_LSB), conn.instTermLsb());
    WriteCell(row, m_nColPinName, pinName);
    IndexPinRow(pin->id(), row);

    const bool oneBit = conn.netMsb() == conn.netLsb();
    const CString signalText = m_bNetBitMode && !net->isScalar() ? BitName(net->name(), conn.netMsb(), conn.netLsb())
                                                                 : CString(net->name());
    WriteNetNameCells(row, net, conn.netLsb(), signalText, PhysicalNetName(net, conn.netMsb(), conn.netLsb()));

    CGXStyle type = DataCell();
    type.SetValue(CKXGenUtils::GetPinType(pin)).SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
    CGXStyle pn = DataCell();
    pn.SetValue(CKXGenUtils::GetPNProp(pinContext, conn.instTermMsb(), conn.instTermLsb()))
        .SetControl(Id(IDS_CTRL_PIN_COMBO));
    CGXStyle termination = DataCell();
    termination.SetValue("").SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE).SetEnabled(TRUE);
    termination.SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    {
        GridWriteScope unlock(*this);
        WriteCell(row, m_nColPinType, type);
        WriteCell(row, m_nColPinNumber, pn);
        WriteCell(row, m_nColTermination, termination);
    }
    SetBitsConnectedRow(row, Col(m_nColTermination));
    if (oneBit) StylePupdCell(row, m_designContext.net(net).bitContext(conn.netLsb()));
    FillCustomCells(row);
}

void CKXSignalDetailsGridWnd::FillConnectionRows(const CConn& conn) {
    if (conn.instTerm() && conn.net()) FollowPinOnNet(*conn.instTerm(), *conn.net(), ShownBitsByNet(), ShownNetsByName());
}

CKXSignalDetailsGridWnd::KXShownBits CKXSignalDetailsGridWnd::ShownBitsByNet() const {
    KXShownBits shown;
    for (const CKXNetData& record : m_arrNetData)
        if (record.m_pNet) shown[record.m_pNet].push_back(record.m_bIsBit ? record.m_nBit : -1);
    return shown;
}

void CKXSignalDetailsGridWnd::SetBitsConnectedRow(ROWCOL row, ROWCOL col) {
    if (!m_designContext || row < kFirstDataRow || col != Col(m_nColTermination)) return;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
    if (!pin) return;
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return;
    CString text, tip;
    bool differ = false;
    if (msb == lsb) {
        api->setInstTermBit(CInstTermBit(pin, msb));
        text = api->getDisplayText(CKXAssocCompAPI::TERMINATION);
    } else if (msb > lsb) {
        CString first;
        for (int b = msb; b >= lsb; --b) {
            api->setInstTermBit(CInstTermBit(pin, b));
            const CString type = api->getAppliedAssocCompType(CKXAssocCompAPI::TERMINATION);
            if (b == msb) {
                first = type;
                text = api->getDisplayText(CKXAssocCompAPI::TERMINATION);
            } else if (type.CompareNoCase(first) != 0) {
                text = "Bits Connected";
                tip = "Check Instance View for More Information";
                differ = true;
                break;
            }
        }
    }
    CGXStyle style = DataCell();
    style.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetValue(text).SetInterior(RGB(255, 255, 255));
    style.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    if (differ) style.SetInterior(CGXBrush().SetStyle(2).SetPattern(20));
    GridWriteScope unlock(*this);
    WriteCell(row, m_nColTermination, style);
}

void CKXSignalDetailsGridWnd::SetCellWithEllipsis(ROWCOL row, const CString& name, int id) {
    if (name.IsEmpty()) RowCleared(row);
    CGXStyle style = DataCell();
    style.SetValue(name).SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    style.SetUserAttribute(Id(IDS_UA_SCP_INSTANCE_ID), Decimal(id));
    WriteCell(row, m_nColInstance, style);
}

bool CKXSignalDetailsGridWnd::GetPhysNetName(ROWCOL row, CString& name) {
    const CString start = CellText(row, m_nColStartBit), end = CellText(row, m_nColEndBit);
    int bit = 0;
    if (start.IsEmpty() || start != end || !ParseInt(start, bit)) return false;
    const CNetContext net = GetNetOfRow(row);
    if (!net) return false;
    name = PhysicalNetName(net.net(), bit, bit);
    return true;
}

void CKXSignalDetailsGridWnd::FillNetNameCells(unsigned netId) {
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row) {
        if (netId != static_cast<unsigned>(-1) && GetRowNetId(row) != netId) continue;
        const CNetContext net = GetNetOfRow(row);
        if (!net || CellText(row, m_nColInstance).IsEmpty()) continue;
        const int bit = m_bNetBitMode ? GetRowNetBit(row) : -1;
        // A row of one bit shows that bit's physical name; a row of several bits the bus name.
        CString physical;
        if (!GetPhysNetName(row, physical)) {
            int msb = 0, lsb = 0;
            if (ParseInt(CellText(row, m_nColStartBit), msb) && ParseInt(CellText(row, m_nColEndBit), lsb))
                physical = PhysicalNetName(net.net(), msb, lsb);
        }
        WriteNetNameCells(row, net.net(), bit, RowSignalText(net.net(), bit), physical);
    }
}

void CKXSignalDetailsGridWnd::ShowNetTitle(INet* net) {
    if (m_bMultipleNets) {
        if (m_bLoaded) FillNetNameCells(static_cast<unsigned>(-1));
        SetTitleCell("Multiple Nets");
        return;
    }
    if (!net) return;
    SetTitleCell(net->isScalar() ? CString(net->name()) : BitName(net->name(), net->msb(), net->lsb()));
}

void CKXSignalDetailsGridWnd::ShowNetBitTitle(const CNetBitContext& bit) {
    if (m_bMultipleNets) {
        if (m_bLoaded) FillNetNameCells(static_cast<unsigned>(-1));
        SetTitleCell("Multiple Nets");
        return;
    }
    INet* net = bit.net();
    if (!net) return;
    SetTitleCell(net->isScalar() ? CString(net->name()) : CSchemaUtilities::vectorName(net->name(), bit.bit()));
}

void CKXSignalDetailsGridWnd::SetTitleCell(const CString& text) {
    m_strTitle = text;
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    CGXStyle style;
    style.SetValue(text)
        .SetFont(CGXFont().SetBold(TRUE).SetFaceName("Tahoma"))
        .SetControl(Id(IDS_CTRL_HEADER))
        .SetHorizontalAlignment(DT_LEFT)
        .SetMergeCell(1)
        .SetEnabled(FALSE);
    SetStyleRange(CGXRange(kTitleRow, 0), style, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXSignalDetailsGridWnd::RestyleRow(ROWCOL row) {
    GridWriteScope scope(*this);
    CGXStyle combo;
    combo.SetValue("").SetControl(Id(IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO));
    WriteCell(row, m_nColStartBit, combo);
    WriteCell(row, m_nColEndBit, combo);
    WriteCell(row, m_nColCell, combo);
    WriteCell(row, m_nColLocation, combo);
    SetCellWithEllipsis(row, "", -1);
    if (!m_bMultipleNets && !m_arrNetData.empty()) {
        const CKXNetData& first = m_arrNetData.front();
        WriteNetNameCells(row, first.m_pNet, first.m_nBit, RowSignalText(first.m_pNet, first.m_nBit), CString());
    } else {
        // Several nets shown: the row's net is the one the user types into its Signal Name.
        WriteNetNameCells(row, nullptr, -1, CString(), CString());
        WriteCell(row, m_nColSignalName, CGXStyle().SetReadOnly(FALSE));
    }
    CGXStyle pinName;
    pinName.SetValue("").SetControl(Id(IDS_CTRL_PIN_COMBO));
    pinName.SetUserAttribute(Id(IDS_UA_CONN_INSTTERM), -1)
        .SetUserAttribute(Id(IDS_UA_CONN_MSB), -1)
        .SetUserAttribute(Id(IDS_UA_CONN_LSB), -1);
    WriteCell(row, m_nColPinName, pinName);
    CGXStyle pn;
    pn.SetValue("").SetControl(Id(IDS_CTRL_PIN_COMBO));
    WriteCell(row, m_nColPinNumber, pn);
    CGXStyle type;
    type.SetValue("").SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
    WriteCell(row, m_nColPinType, type);
    CGXStyle termination = DataCell();
    termination.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE).SetEnabled(TRUE);
    termination.SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    WriteCell(row, m_nColTermination, termination);
    SetPupdCellStyle(row, false, false, false, false);
}

void CKXSignalDetailsGridWnd::SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp,
                                               bool aliasDown) {
    const KXPupdMark mark = KXPupdMarkOf(localUp, localDown, aliasUp, aliasDown);
    CGXStyle style;
    style.SetControl(Id(mark.control)).SetReadOnly(TRUE);
    style.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), mark.toolTip);
    GridWriteScope unlock(*this);
    WriteCell(row, m_nColPupd, style);
}

// ------------------------------------------------------------------ look-ups

int CKXSignalDetailsGridWnd::GetRowInstanceId(ROWCOL row) {
    const CString text = KXRowAttrs(*this, row).Get(Col(m_nColInstance), kAttrInstanceId);
    return text.IsEmpty() ? -1 : std::atoi(text.GetString());
}

int CKXSignalDetailsGridWnd::GetRowPinId(ROWCOL row) {
    return RowAttr(row, m_nColPinName, kAttrConnInstTerm, -1);
}

const CKXNetData* CKXSignalDetailsGridWnd::ShownNetOfRow(ROWCOL row) {
    const CString text = CellText(row, m_nColSignalName);
    if (text.IsEmpty()) return nullptr;
    for (const CKXNetData& record : m_arrNetData)
        if (ShownNetName(record).CompareNoCase(text) == 0) return &record;
    return nullptr;
}

CString CKXSignalDetailsGridWnd::ShownNetName(const CKXNetData& record) const {
    return m_bNetBitMode && !record.m_pNet->isScalar()
               ? CSchemaUtilities::vectorName(record.m_pNet->name(), record.m_nBit)
               : CString(record.m_pNet->name());
}

CKXSignalDetailsGridWnd::KXShownNets CKXSignalDetailsGridWnd::ShownNetsByName() const {
    KXShownNets shown;
    for (const CKXNetData& record : m_arrNetData)
        shown.emplace(ShownNetName(record).MakeUpper(), &record); // the first of a name stays
    return shown;
}

CNetContext CKXSignalDetailsGridWnd::NetOfRow(ROWCOL row, const KXShownNets& shown) {
    CString text = CellText(row, m_nColSignalName);
    const auto it = text.IsEmpty() ? shown.end() : shown.find(text.MakeUpper());
    const unsigned id = it != shown.end() ? it->second->m_pNet->id()
                                          : static_cast<unsigned>(RowAttr(row, m_nColSignalName, kAttrNetId, -1));
    if (id == static_cast<unsigned>(-1) || !m_designContext) return CNetContext();
    return m_designContext.net(id);
}

unsigned CKXSignalDetailsGridWnd::GetRowNetId(ROWCOL row) {
    if (const CKXNetData* shown = ShownNetOfRow(row)) return shown->m_pNet->id();
    return static_cast<unsigned>(RowAttr(row, m_nColSignalName, kAttrNetId, -1));
}

int CKXSignalDetailsGridWnd::GetRowNetBit(ROWCOL row) {
    if (const CKXNetData* shown = ShownNetOfRow(row)) return shown->m_nBit;
    return RowAttr(row, m_nColSignalName, kAttrExpandedBit, -1);
}

CNetContext CKXSignalDetailsGridWnd::GetNetOfRow(ROWCOL row) {
    const unsigned id = GetRowNetId(row);
    if (id == static_cast<unsigned>(-1) || !m_designContext) return CNetContext();
    return m_designContext.net(id);
}

IInstance* CKXSignalDetailsGridWnd::FindRowInstance(ROWCOL row) {
    const CString name = CellText(row, m_nColInstance);
    if (name.IsEmpty() || !m_designContext) return nullptr;
    return m_designContext.design()->findInstance(name.GetString());
}

IInstTerm* CKXSignalDetailsGridWnd::GetInstTermOfRow(ROWCOL row, int& msb, int& lsb) {
    const int id = GetRowPinId(row);
    const CString text = CellText(row, m_nColPinName);
    if (id < 0 || text.IsEmpty()) return nullptr;
    IInstance* inst = FindRowInstance(row);
    if (!inst) return nullptr;
    CString base;
    int first = -1, second = -1;
    if (!CSchemaUtilities::parsePinName(text.GetString(), base, first, second)) {
        msb = lsb = -1;
        return nullptr;
    }
    msb = second;
    lsb = first;
    return inst->findInstTerm(static_cast<unsigned>(id));
}

IInstTerm* CKXSignalDetailsGridWnd::FindInstTerm(IInstance* inst, const CString& pinNumber, int& msb, int& lsb) {
    if (!inst || !m_designContext) return nullptr;
    const CInstanceContext context = m_designContext.instance(inst);
    for (IInstTerm* pin : inst->beginInstTerm()) {
        const CInstTermContext pinContext = context.instTerm(pin);
        if (pin->isScalar()) {
            if (CKXGenUtils::GetPNProp(pinContext, -1, -1) == pinNumber) {
                msb = lsb = -1;
                return pin;
            }
            continue;
        }
        for (int b = std::min(pin->msb(), pin->lsb()); b <= std::max(pin->msb(), pin->lsb()); ++b)
            if (CKXGenUtils::GetPNProp(pinContext, b) == pinNumber) {
                msb = lsb = b;
                return pin;
            }
    }
    return nullptr;
}

ROWCOL CKXSignalDetailsGridWnd::FindFirstEmptyRow() {
    const ROWCOL count = GetRowCount();
    if (count <= kFirstDataRow) return kFirstDataRow;
    // No blank row lies above the hint: the search starts there.
    for (ROWCOL row = std::max(m_nEmptyHint, kFirstDataRow); row <= count; ++row)
        if (CellText(row, m_nColInstance).IsEmpty()) return m_nEmptyHint = row;
    m_nEmptyHint = count + 1;
    return count;
}

// A blank row to write a new connection into: the first one, or a new one at the end when every row
// shows something (a row that shows a pin is never written over).
ROWCOL CKXSignalDetailsGridWnd::TakeBlankRow() {
    const ROWCOL row = FindFirstEmptyRow();
    if (row >= kFirstDataRow && row <= GetRowCount() && CellText(row, m_nColInstance).IsEmpty()) return row;
    return AppendBlankRow();
}

ROWCOL CKXSignalDetailsGridWnd::AppendBlankRow() {
    const ROWCOL added = std::max(GetRowCount() + 1, kFirstDataRow);
    GridWriteScope unlock(*this);
    InsertDataRows(added, 1);
    RestyleRow(added);
    // A filtered grid's blank rows can run out (the connections other windows make and take back take
    // one each): a row added then keeps to the filter as the blank rows before it did.
    if (FilterRejects(added)) HideRows(added, added, TRUE, nullptr, kNoUpdate, gxDo);
    return added;
}

INet* CKXSignalDetailsGridWnd::GetShownNet() {
    if (m_arrNetData.empty() || !m_designContext) return nullptr;
    return m_designContext.design()->findNet(m_arrNetData.front().m_pNet->id());
}

bool CKXSignalDetailsGridWnd::IsShownNet(const INet* net) const {
    return std::any_of(m_arrNetData.begin(), m_arrNetData.end(),
                       [net](const CKXNetData& record) { return record.m_pNet == net; });
}

ROWCOL CKXSignalDetailsGridWnd::FindPinRow(unsigned pinId, int msb, int lsb) {
    for (ROWCOL row : PinRows(pinId)) {
        if (RowAttr(row, m_nColPinName, kAttrConnMsb, -1) == msb &&
            RowAttr(row, m_nColPinName, kAttrConnLsb, -1) == lsb)
            return row;
    }
    return 0;
}

CString CKXSignalDetailsGridWnd::ShownObjectName(const CKXNetData& record) {
    return record.m_bIsBit && !record.m_pNet->isScalar()
               ? CSchemaUtilities::vectorName(record.m_pNet->name(), record.m_nBit)
               : CString(record.m_pNet->name());
}

void CKXSignalDetailsGridWnd::GetShownObjectNames(CString& names) {
    names.Empty();
    for (const CKXNetData& record : m_arrNetData)
        names += (names.IsEmpty() ? "" : " ") + ShownObjectName(record);
}

CString CKXSignalDetailsGridWnd::JournalNetName(ROWCOL row) {
    // The replay shows what this grid shows: a shown bit is named as that bit, whose rows hold its pins'
    // bits alone (the whole net's rows hold whole pins).
    if (const CKXNetData* shown = ShownNetOfRow(row)) return ShownObjectName(*shown);
    const CNetContext net = GetNetOfRow(row);
    return net ? CString(net->name()) : CString();
}
