// The cells of the matrix: how each kind is written and styled, which object it
// carries in its attributes, and the decoding of a cell back to its net bit or
// pin bit. Rows are found by those attributes (through the row index), never by
// the texts they show.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXGridScopes.h"
#include "grid/KXPupdMark.h"
#include "grid/KXGridSite.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXCellControls.h"
#include "rmx/schemautil.h"

#include <memory>

using namespace kxmatrix;
using kxgrid::GridWriteScope;

namespace {

constexpr UINT kNoUpdate = 0;
constexpr unsigned kMergeVertical = 2;
constexpr int kFrozenHeaderRows = 2;
constexpr COLORREF kButtonFace = 0xEF00000F; // system colour 15
constexpr COLORREF kWindowColour = 0xF9000005; // system colour 5

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

CGXStyle DataCell() {
    CGXStyle style;
    style.SetEnabled(TRUE).SetHorizontalAlignment(DT_LEFT).SetVerticalAlignment(DT_TOP);
    style.SetFont(CGXFont().SetBold(FALSE));
    style.SetUserAttribute(Id(IDS_UA_DATA_CELL), "1");
    return style;
}

CString PropertyValue(CPQPropertyData* property) {
    std::unique_ptr<CPQPropertyData> owned(property);
    return owned ? CString(owned->value()) : CString();
}

} // namespace

bool CKXMatrixGridWnd::s_bFillingPinList = false;

// ------------------------------------------------------------------ decoding

INet* CKXMatrixGridWnd::GetCellNetBit(ROWCOL row, int& bit) {
    bit = -1;
    if (row < kFirstDataRow || row > GetRowCount() || !m_designContext) return nullptr;
    const KXRowAttrs attrs(*this, row);
    const ROWCOL nameCol = Col(Layout().m_nNameCol);
    if (!attrs.Has(nameCol, kAttrNetId)) return nullptr;
    const int id = attrs.Get(nameCol, kAttrNetId);
    if (id < 0) return nullptr;
    bit = attrs.Get(nameCol, kAttrNetBit);
    return m_designContext.design()->findNet(static_cast<unsigned>(id));
}

IInstTerm* CKXMatrixGridWnd::GetCellInstTermBit(ROWCOL row, int col, int& bit) {
    bit = -1;
    int offset = -1, group = -1;
    if (row < kFirstDataRow || row > GetRowCount() || !SplitColumn(col, offset, group)) return nullptr;
    int pinId = -1;
    if (!GetCellPinIds(row, col, pinId, bit)) return nullptr;
    const CInstanceContext instance = GroupInstance(group);
    if (pinId < 0 || !instance) return nullptr;
    IInstTerm* pin = instance.instance()->findInstTerm(static_cast<unsigned>(pinId));
    if (!pin || (bit >= 0 && !pin->hasBit(bit)) || (bit < 0 && !pin->isScalar())) return nullptr;
    return pin;
}

bool CKXMatrixGridWnd::GetCellPinIds(ROWCOL row, int col, int& pinId, int& bit) {
    pinId = -1;
    bit = -1;
    int offset = -1, group = -1;
    if (row < kFirstDataRow || row > GetRowCount() || !SplitColumn(col, offset, group)) return false;
    const KXRowAttrs attrs(*this, row);
    const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
    if (!attrs.Has(pinCol, kAttrPinId)) return false;
    pinId = attrs.Get(pinCol, kAttrPinId);
    bit = attrs.Has(pinCol, kAttrPinBit) ? attrs.Get(pinCol, kAttrPinBit) : -1;
    return true;
}

BOOL CKXMatrixGridWnd::IsCurrentCellTerminationCol() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int offset = -1, group = -1;
    return GetCurrentCell(row, col) && row >= kFirstDataRow && SplitColumn(static_cast<int>(col), offset, group) &&
           offset == Layout().m_nTerminationOffset;
}

BOOL CKXMatrixGridWnd::CanCopy() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    return GetCurrentCell(row, col) && row >= kFirstDataRow;
}

// ------------------------------------------------------------------ writing

CString CKXMatrixGridWnd::SignalName(INet* net, int bit) const {
    if (!net) return CString();
    return net->isScalar() || bit < 0 ? CString(net->name()) : CSchemaUtilities::vectorName(net->name(), bit);
}

CString CKXMatrixGridWnd::PinText(IInstTerm* pin, int bit) const {
    if (!pin) return CString();
    return pin->isScalar() || bit < 0 ? CString(pin->name()) : CSchemaUtilities::vectorName(pin->name(), bit);
}

void CKXMatrixGridWnd::WriteSignalCells(ROWCOL row, INet* net, int bit) {
    const KXMatrixLayout& layout = Layout();
    CGXStyle name = DataCell();
    name.SetValue(SignalName(net, bit)).SetReadOnly(TRUE).SetMergeCell(kMergeVertical);
    kxattr::Put(name, kAttrNetId, static_cast<int>(net->id()));
    kxattr::Put(name, kAttrNetBit, bit);
    WriteCell(row, layout.m_nNameCol, name);
    const CNetBitContext netBit = m_designContext.net(net).bitContext(bit);
    SetPhysNetNameCell(row, netBit);
    SetPupdCellText(row, netBit);
    for (std::size_t c = 1; c < layout.m_arrSignalColumns.size(); ++c) {
        const CKXColumnInfoClass& info = *layout.m_arrSignalColumns[c];
        if (info.m_nPropertyType != KX_ORIGIN_NETPROP) continue;
        CGXStyle property = DataCell();
        property.SetValue(PropertyValue(netBit.base().findPropertyIncludingAliases(info.m_strPropertyName.GetString())))
            .SetMergeCell(kMergeVertical)
            .SetReadOnly(FALSE);
        WriteCell(row, static_cast<int>(c), property);
    }
    m_rowIndex.Add(KXRowKey::NetBit(net->id(), bit), row);
}

void CKXMatrixGridWnd::SetPhysNetNameCell(ROWCOL row, const CNetBitContext& netBit) {
    // The physical net name reaches a net bit also through its aliases.
    CGXStyle physical = DataCell();
    physical.SetValue(PropertyValue(netBit.base().findPropertyIncludingAliases(PHYS_NET_NAME)))
        .SetReadOnly(TRUE)
        .SetMergeCell(kMergeVertical);
    WriteCell(row, Layout().m_nPhysNetNameCol, physical);
}

ROWCOL CKXMatrixGridWnd::InsertSignalRow(ROWCOL at, INet* net, int bit) {
    // A further row of a signal shows the design as it is: it is no edit and no undo step of its own
    // (recorded, it would join the next edit's step to the one before).
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    InsertRows(at, 1, kNoUpdate, gxDo);
    WriteSignalCells(at, net, bit);
    for (int g = 0; g < GroupCount(); ++g)
        for (int offset = 0; offset < Layout().m_nGroupWidth; ++offset)
            StyleConnectionCell(at, ColumnOf(g, offset),
                                offset == Layout().m_nPinNameOffset || offset == Layout().m_nPnOffset);
    return at;
}

void CKXMatrixGridWnd::StyleConnectionCell(ROWCOL row, int col, bool editable) {
    CGXStyle style = DataCell();
    if (editable) {
        style.SetControl(Id(IDS_CTRL_PIN_COMBO)).SetReadOnly(FALSE);
        kxattr::Put(style, kAttrPinId, -1);
        kxattr::Put(style, kAttrPinBit, -1);
    } else {
        // An empty Termination cell tells of no termination, in its tool tip neither.
        style.SetValue("").SetReadOnly(TRUE).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "");
    }
    WriteCell(row, col, style);
}

void CKXMatrixGridWnd::ClearGroupCells(ROWCOL row, int group) {
    GridWriteScope write(*this);
    ForgetPin(row, group);
    const KXMatrixLayout& layout = Layout();
    for (int offset = 0; offset < layout.m_nGroupWidth; ++offset) {
        const bool pinCell = offset == layout.m_nPinNameOffset || offset == layout.m_nPnOffset;
        SetConnectionCellValue(row, ColumnOf(group, offset), pinCell);
    }
}

void CKXMatrixGridWnd::SetConnectionCellValue(ROWCOL row, int col, bool editable) {
    WriteCell(row, col, CGXStyle().SetValue(""));
    StyleConnectionCell(row, col, editable);
}

void CKXMatrixGridWnd::WriteConnectionCells(ROWCOL row, int group, const CInstTermBitContext& pinBit,
                                            const CString& pinName, const CString& pinNumber) {
    GridWriteScope write(*this);
    const KXMatrixLayout& layout = Layout();
    IInstTerm* pin = pinBit.instTerm();
    ForgetPin(row, group);
    for (int offset : {layout.m_nPinNameOffset, layout.m_nPnOffset}) {
        CGXStyle cell = DataCell();
        cell.SetControl(Id(IDS_CTRL_PIN_COMBO)).SetReadOnly(FALSE);
        cell.SetValue(offset == layout.m_nPinNameOffset ? pinName : pinNumber);
        kxattr::Put(cell, kAttrPinId, static_cast<int>(pin->id()));
        kxattr::Put(cell, kAttrPinBit, pinBit.bit());
        WriteCell(row, ColumnOf(group, offset), cell);
    }
    CGXStyle type = DataCell();
    type.SetValue(CKXGenUtils::GetPinType(pin)).SetReadOnly(TRUE);
    WriteCell(row, ColumnOf(group, layout.m_nPinTypeOffset), type);
    SetTerminationCellText(row, ColumnOf(group, layout.m_nTerminationOffset));
    for (std::size_t offset = 0; offset < layout.m_arrInstanceColumns.size(); ++offset) {
        const CKXColumnInfoClass& info = *layout.m_arrInstanceColumns[offset];
        if (info.m_nPropertyType != KX_ORIGIN_PINPROP) continue;
        CGXStyle property = DataCell();
        property.SetValue(PropertyValue(pinBit.findProperty(info.m_strPropertyName.GetString()))).SetReadOnly(FALSE);
        WriteCell(row, ColumnOf(group, static_cast<int>(offset)), property);
    }
    IndexPin(row, pin, pinBit.bit());
}

void CKXMatrixGridWnd::IndexPin(ROWCOL row, IInstTerm* pin, int bit) {
    if (pin) m_rowIndex.Add(KXRowKey::PinBit(pin->id(), bit), row);
}

void CKXMatrixGridWnd::IndexRowsAgain() {
    m_rowIndex.Clear();
    const ROWCOL nameCol = Col(Layout().m_nNameCol);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row) {
        const KXRowAttrs attrs(*this, row);
        if (attrs.Has(nameCol, kAttrNetId))
            m_rowIndex.Add(KXRowKey::NetBit(static_cast<unsigned>(attrs.Get(nameCol, kAttrNetId)),
                                            attrs.Get(nameCol, kAttrNetBit)),
                           row);
        for (int group = 0; group < GroupCount(); ++group) {
            const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
            const int pinId = attrs.Has(pinCol, kAttrPinId) ? attrs.Get(pinCol, kAttrPinId) : -1;
            if (pinId >= 0)
                m_rowIndex.Add(KXRowKey::PinBit(static_cast<unsigned>(pinId), attrs.Get(pinCol, kAttrPinBit)), row);
        }
    }
}

void CKXMatrixGridWnd::ForgetPin(ROWCOL row, int group) {
    const KXRowAttrs attrs(*this, row);
    const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
    const int pinId = attrs.Has(pinCol, kAttrPinId) ? attrs.Get(pinCol, kAttrPinId) : -1;
    if (pinId < 0) return;
    // Another group of the row may show a pin of the same id: the key stays while one does.
    const int bit = attrs.Get(pinCol, kAttrPinBit);
    for (int g = 0; g < GroupCount(); ++g) {
        if (g == group) continue;
        const ROWCOL other = Col(ColumnOf(g, Layout().m_nPinNameOffset));
        if (attrs.Has(other, kAttrPinId) && attrs.Get(other, kAttrPinId) == pinId && attrs.Get(other, kAttrPinBit) == bit)
            return;
    }
    m_rowIndex.Remove(KXRowKey::PinBit(static_cast<unsigned>(pinId), bit), row);
}

// ------------------------------------------------------------------ texts of the associated components

void CKXMatrixGridWnd::SetPupdCellText(ROWCOL row, const CNetBitContext& netBit) {
    bool localUp = false, localDown = false, aliasUp = false, aliasDown = false;
    if (netBit) GetAssocCompApi()->GetPupdInfoOnThisNet(netBit, localUp, localDown, aliasUp, aliasDown);
    const KXPupdMark mark = KXPupdMarkOf(localUp, localDown, aliasUp, aliasDown);
    CString label;
    label.Format("%s%s", mark.toolTip, SignalName(netBit.net(), netBit.bit()).GetString());
    GridWriteScope write(*this);
    CGXStyle cell = DataCell();
    cell.SetControl(Id(mark.control)).SetValue(label).SetTextColor(kWindowColour).SetReadOnly(TRUE);
    cell.SetMergeCell(kMergeVertical).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), mark.toolTip);
    WriteCell(row, Layout().m_nPupdCol, cell);
}

void CKXMatrixGridWnd::SetTerminationCellText(ROWCOL row, int col) {
    int offset = -1, group = -1;
    if (!SplitColumn(col, offset, group) || offset != Layout().m_nTerminationOffset) return;
    int bit = -1;
    IInstTerm* pin = GetCellInstTermBit(row, col, bit);
    if (!pin) return;
    CKXAssocCompAPI* api = GetAssocCompApi();
    const CInstTermBit saved = api->getInstTermBit();
    api->setInstTermBit(CInstTermBit(pin, bit));
    const CString type = api->getAppliedAssocCompType(CKXAssocCompAPI::TERMINATION);
    const CString display = type.IsEmpty() ? CString() : api->getDisplayText(CKXAssocCompAPI::TERMINATION);
    api->setInstTermBit(saved);
    const KXRowAttrs attrs(*this, row);
    const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
    const CString dataCell = attrs.Has(pinCol, IDS_UA_DATA_CELL) ? attrs.Text(pinCol, IDS_UA_DATA_CELL) : "noval";
    // The read-only lock comes back as it was.
    GridWriteScope write(*this);
    CGXStyle cell;
    cell.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetValue(type).SetReadOnly(TRUE).SetEnabled(TRUE);
    cell.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), display).SetUserAttribute(Id(IDS_UA_DATA_CELL), dataCell);
    WriteCell(row, col, cell);
}

void CKXMatrixGridWnd::RefreshPupdCells(const std::vector<unsigned>& netIds) {
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    auto refreshRow = [this](ROWCOL row) {
        int bit = -1;
        if (INet* net = GetCellNetBit(row, bit)) SetPupdCellText(row, m_designContext.net(net).bitContext(bit));
    };
    if (netIds.empty()) {
        for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
            refreshRow(row);
        return;
    }
    // The rows of each net's bits (and of the whole net), from the row index.
    for (unsigned id : netIds) {
        const INet* net = m_designContext.design()->findNet(id);
        std::vector<int> bits = net && !net->isScalar() ? net->bits() : std::vector<int>();
        bits.push_back(-1);
        for (int bit : bits)
            for (ROWCOL row : SignalRows(id, bit))
                refreshRow(row);
    }
}

// ------------------------------------------------------------------ header rows

void CKXMatrixGridWnd::SetupFrozenHeader() {
    GridWriteScope write(*this);
    const ROWCOL lastCol = GetColCount();
    for (ROWCOL row : {ROWCOL{2}, ROWCOL{4}}) {
        SetRowHeight(row, row, kSeparatorHeight, nullptr, kNoUpdate, gxDo);
        CGXStyle separator;
        separator.SetControl(Id(IDS_CTRL_HEADER)).SetEnabled(FALSE).SetInterior(kButtonFace);
        SetStyleRange(CGXRange(row, 0, row, lastCol), separator, gxOverride, 0, kNoUpdate, gxDo);
        SetCoveredCellsRowCol(row, 0, row, lastCol, kNoUpdate);
    }
    SetFrozenRows(kHeaderRows, kFrozenHeaderRows, kNoUpdate);
    SetFrozenCols(static_cast<ROWCOL>(std::max(0, Layout().m_nFirstInstanceCol - 1)), 0, kNoUpdate);
    HideCols(0, 0, TRUE, nullptr, kNoUpdate, gxDo);
}

void CKXMatrixGridWnd::RefreshInstanceHeader(int group, const CInstanceContext& instance) {
    const KXMatrixLayout& layout = Layout();
    const CDesignContext contained = instance.containedDesign();
    CString title;
    if (contained)
        title.Format("Block %s (%s)", instance.instance()->name(), contained.name().GetString());
    else
        title.Format("Component %s (%s)", instance.instance()->name(),
                     instance.physicalPackageName() ? instance.physicalPackageName() : "");
    const int first = ColumnOf(group, 0);
    for (int offset = 0; offset < layout.m_nGroupWidth; ++offset) {
        const CKXColumnInfoClass& info = *layout.m_arrInstanceColumns[static_cast<std::size_t>(offset)];
        CGXStyle head;
        head.SetControl(Id(IDS_CTRL_HEADER)).SetValue(title).SetEnabled(TRUE).SetReadOnly(TRUE);
        head.SetHorizontalAlignment(DT_LEFT).SetFont(CGXFont().SetBold(FALSE)).SetMergeCell(3);
        head.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), title);
        WriteCell(kTitleRow, first + offset, head);
        CString caption = info.m_strCaption;
        if (contained && offset == layout.m_nPinNameOffset) caption = "Port Name";
        if (contained && offset == layout.m_nPinTypeOffset) caption = "Port Type";
        CGXStyle captionCell = head;
        SetCaption(captionCell, info, caption);
        captionCell.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), info.m_strCaption);
        WriteCell(kCaptionRow, first + offset, captionCell);
        const ROWCOL col = Col(first + offset);
        SetColWidth(col, col, info.m_nWidth, nullptr, kNoUpdate, gxDo);
        const bool hidden = !info.m_bShown ||
                            (contained && (offset == layout.m_nPnOffset || offset == layout.m_nTerminationOffset));
        HideCols(col, col, hidden ? TRUE : FALSE, nullptr, kNoUpdate, gxDo);
    }
    SetCoveredCellsRowCol(kTitleRow, Col(first), kTitleRow, Col(first + layout.m_nGroupWidth - 1), kNoUpdate);
}

// ------------------------------------------------------------------ the pin combo's list

BOOL CKXMatrixGridWnd::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType) {
    if (!CKXGridWnd::GetStyleRowCol(nRow, nCol, style, mt, nType)) return FALSE;
    int offset = -1, group = -1;
    if (s_bFillingPinList || nType != 0 || nRow < kFirstDataRow || !m_pPinListBox ||
        !DecodeInstanceColumn(static_cast<int>(nCol), offset, group) || !IsCurrentCell(nRow, nCol))
        return TRUE;
    s_bFillingPinList = true;
    FillPinChoices(group, offset);
    style.SetControl(Id(IDS_CTRL_PIN_COMBO));
    s_bFillingPinList = false;
    return TRUE;
}

void CKXMatrixGridWnd::FillPinChoices(int group, int offset) {
    m_pPinListBox->ResetContent();
    const CInstanceContext instance = GroupInstance(group);
    if (!instance) return;
    for (IInstTerm* pin : instance.instance()->beginInstTerm())
        for (int bit : pin->bits())
            m_pPinListBox->AddString(offset == Layout().m_nPinNameOffset
                                         ? PinText(pin, bit)
                                         : instance.instTerm(pin).bitContext(bit).physicalPinName());
}
