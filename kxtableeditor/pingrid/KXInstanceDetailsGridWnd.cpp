#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridLoader.h"
#include "pingrid/KXPinGridPower.h"
#include "pingrid/KXPinGridPairConnect.h"
#include "pingrid/KXPinGridRules.h"
#include "pingrid/KXPinGridValidate.h"
#include "pingrid/KXPinGridFilter.h"
#include "pingrid/KXPinGridSetup.h"
#include "pingrid/KXPinGridKeys.h"
#include "pingrid/KXPinGridPairEdits.h"
#include "pingrid/KXPinGridPupds.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "pingrid/KXPinGridPairNets.h"
#include "pingrid/KXPinGridDisconnect.h"
#include "pingrid/KXPinGridPinNumbers.h"
#include "pingrid/KXPinGridAssocPaste.h"
#include "pingrid/KXPinGridPlainConnect.h"
#include "pingrid/KXPinGridRetain.h"
#include "pingrid/KXPinGridTerminations.h"
#include "pingrid/KXPinGridPublish.h"
#include "pingrid/KXPinGridPaste.h"
#include "pingrid/KXPinGridCopy.h"
#include "pingrid/KXPinGridComments.h"
#include "pingrid/KXPinGridCustom.h"
#include "pingrid/KXPinGridRefresh.h"
#include "pingrid/KXPinGridUtil.h"
#include "pingrid/KXPinRowAttrs.h"

#include "kxcontrols/KXFindReplace.h"
#include "kxcontrols/KXDialogs.h"

#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXSpinControl.h"
#include "kxassoccomp/CKXAssocCompAPI.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CKXInstanceDetailsGridWnd, CKXGridWnd)

int CKXInstanceDetailsGridWnd::m_nColInstance = 1;
int CKXInstanceDetailsGridWnd::m_nColRefDes = 2;
int CKXInstanceDetailsGridWnd::m_nColDiffPair = 3;
int CKXInstanceDetailsGridWnd::m_nColPinName = 4;
int CKXInstanceDetailsGridWnd::m_nColPinNumber = 5;
int CKXInstanceDetailsGridWnd::m_nColPinType = 6;
int CKXInstanceDetailsGridWnd::m_nColSignal = 7;
int CKXInstanceDetailsGridWnd::m_nColTermination = 8;
int CKXInstanceDetailsGridWnd::m_nColPupd = 9;
int CKXInstanceDetailsGridWnd::m_nColComments = 10;
int CKXInstanceDetailsGridWnd::m_nColCount = 11;

using kxpingrid::Col;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

using namespace kxpingrid; // the row model's attributes (KXPinRowAttrs.h)

// ---------------------------------------------------------------------------
// Object

CKXInstanceDetailsGridWnd::CKXInstanceDetailsGridWnd()
    : CKXGridWnd(KXGridKind::Pin), m_refresh(std::make_unique<KXPinGridRefresh>(*this)),
      m_fill(std::make_unique<KXPinGridFill>(*this)), m_loader(std::make_unique<KXPinGridLoader>(*this)),
      m_power(std::make_unique<KXPinGridPower>(*this)),
      m_pairConnect(std::make_unique<KXPinGridPairConnect>(*this)),
      m_rules(std::make_unique<KXPinGridRules>(*this)),
      m_validate(std::make_unique<KXPinGridValidate>(*this)),
      m_filter(std::make_unique<KXPinGridFilter>(*this)), m_setup(std::make_unique<KXPinGridSetup>(*this)),
      m_keys(std::make_unique<KXPinGridKeys>(*this)),
      m_pairEdits(std::make_unique<KXPinGridPairEdits>(*this)),
      m_pupds(std::make_unique<KXPinGridPupds>(*this)),
      m_functions(std::make_unique<KXPinGridFunctions>(*this)),
      m_signalCells(std::make_unique<KXPinGridSignalCells>(*this)),
      m_pupdColumn(std::make_unique<KXPinGridPupdColumn>(*this)),
      m_pairNets(std::make_unique<KXPinGridPairNets>(*this)),
      m_disconnect(std::make_unique<KXPinGridDisconnect>(*this)),
      m_pinNumbers(std::make_unique<KXPinGridPinNumbers>(*this)),
      m_assocPaste(std::make_unique<KXPinGridAssocPaste>(*this)),
      m_plainConnect(std::make_unique<KXPinGridPlainConnect>(*this)),
      m_retain(std::make_unique<KXPinGridRetain>(*this)),
      m_terms(std::make_unique<KXPinGridTerminations>(*this)),
      m_publish(std::make_unique<KXPinGridPublish>(*this)), m_paste(std::make_unique<KXPinGridPaste>(*this)),
      m_copy(std::make_unique<KXPinGridCopy>(*this)), m_comments(std::make_unique<KXPinGridComments>(*this)),
      m_custom(std::make_unique<KXPinGridCustom>(*this)) {
    m_bAllowPowerPins = FALSE;
    if (CKXRegistrySettings::OpenRegistryKey() == 1) {
        int value = 0;
        if (CKXRegistrySettings::GetFromRegistry("show_dp_pins_in_ccp", value)) m_bShowDiffPairs = value;
    }
    CKXRegistrySettings::CloseRegistryKey();
}

CKXInstanceDetailsGridWnd::~CKXInstanceDetailsGridWnd() {
    if (m_pCurrentPinGrid == this) m_pCurrentPinGrid = nullptr;
    if (m_pPasteTarget == this) m_pPasteTarget = nullptr;
    if (m_pCurrentGrid == this) m_pCurrentGrid = nullptr;
    // The dialog keeps the address of our core pointer: it must not outlive the grid.
    if (m_pFindReplaceDlg) KXRemoveFindReplace(this);
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (GetSafeHwnd()) server->UnregisterWindow(GetSafeHwnd());
}

// ---------------------------------------------------------------------------
// Cell helpers

CGXStyle CKXInstanceDetailsGridWnd::CellStyle(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    if (row == 0 || row > GetRowCount() || col > GetColCount()) return style;
    GetStyleRowCol(row, col, style);
    return style;
}

const CGXStyle& CKXInstanceDetailsGridWnd::StoredCell(ROWCOL row, ROWCOL col) {
    static const CGXStyle kNoStyle;
    const CGXData* data = GetData();
    if (!data || row == 0 || col == 0 || row > GetRowCount() || col > GetColCount()) return kNoStyle;
    const CGXStyle* stored = data->LookupCell(row, col);
    return stored ? *stored : kNoStyle;
}

CString CKXInstanceDetailsGridWnd::ShownValue(ROWCOL row, ROWCOL col) {
    // A cell that carries its own value shows it: nothing behind it needs composing.
    const CGXStyle& stored = StoredCell(row, col);
    return stored.GetIncludeValue() ? stored.GetValue() : GetValueRowCol(row, col);
}

CString CKXInstanceDetailsGridWnd::AttrText(ROWCOL row, ROWCOL col, UINT id) {
    return KXRowAttrs(*this, row).Text(col, id);
}

void CKXInstanceDetailsGridWnd::WriteCell(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    StoreCell(row, col, style);
    if (col == Col(m_nColPinName) && style.GetIncludeUserAttribute(Id(IDS_UA_INSTTERM_ID))) IndexPinCell(row, style);
}

// Every write of a pin-name or pin-number text indexes it, the fill's too: a keyed word finds its rows at
// once however many the grid shows.
void CKXInstanceDetailsGridWnd::IndexCellText(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    const char kind = col == Col(m_nColPinName) ? kPinNameText : col == Col(m_nColPinNumber) ? kPinNumberText : 0;
    if (kind && row >= PIN_FIRST_ROW && style.GetIncludeValue()) m_rowIndex.AddText(kind, style.GetValue(), row);
}

inline void CKXInstanceDetailsGridWnd::StoreCell(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    // A fresh cell's write passes the StoreStyleRowCol override by: its indexing follows here.
    if (StoreFreshCell(row, col, style, kNoUpdate))
        IndexCellText(row, col, style);
    else
        SetStyleRange(CGXRange(row, col), style, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::IndexPinCell(ROWCOL row, const CGXStyle& style) {
    const int id = kxattr::Get(style, kInstTermId);
    if (id <= 0) return;
    int bit = -1;
    if (style.GetIncludeUserAttribute(Id(IDS_UA_VECTOR_MSB)) && style.GetIncludeUserAttribute(Id(IDS_UA_VECTOR_LSB))) {
        const int msb = std::atoi(style.GetUserAttributeText(Id(IDS_UA_VECTOR_MSB)).GetString());
        const int lsb = std::atoi(style.GetUserAttributeText(Id(IDS_UA_VECTOR_LSB)).GetString());
        if (msb == lsb) bit = msb;
    }
    IndexPinRow(row, id, bit);
}

void CKXInstanceDetailsGridWnd::IndexPinRow(ROWCOL row, int pinId, int bit) {
    if (pinId <= 0) return;
    const auto pin = static_cast<unsigned>(pinId);
    m_rowIndex.Add({KXRowKey::Of(kPinRows, pin), KXRowKey::PinBit(pin, bit)}, row);
}

void CKXInstanceDetailsGridWnd::WritePinNameCell(ROWCOL row, const CGXStyle& style, int pinId, int bit) {
    StoreCell(row, Col(m_nColPinName), style);
    IndexPinRow(row, pinId, bit);
}

std::vector<ROWCOL> CKXInstanceDetailsGridWnd::RowsOfNets(const std::set<unsigned>& netIds) const {
    std::vector<ROWCOL> rows;
    for (unsigned id : netIds) {
        const std::vector<ROWCOL> of = m_rowIndex.Rows(KXRowKey::Net(id));
        rows.insert(rows.end(), of.begin(), of.end());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CKXInstanceDetailsGridWnd::SetCellUserAttribute(ROWCOL row, ROWCOL col, UINT id, double value) {
    CGXStyle style;
    style.SetUserAttribute(Id(id), value);
    GridWriteScope scope(*this);
    WriteCell(row, col, style);
}

// ---------------------------------------------------------------------------
// Row model: attribute readers

int CKXInstanceDetailsGridWnd::GetRowInstanceIndex(ROWCOL row) {
    return std::atoi(kxattr::Get(StoredCell(row, Col(m_nColInstance)), kInstanceIndex).GetString());
}

int CKXInstanceDetailsGridWnd::GetRowInstTermId(ROWCOL row) {
    return kxattr::Get(StoredCell(row, Col(m_nColPinName)), kInstTermId);
}

int CKXInstanceDetailsGridWnd::GetRowDiffPairConnId(ROWCOL row) {
    const int id = kxattr::Get(StoredCell(row, Col(m_nColPinName)), kDiffPairConnId);
    return id < 0 ? 0 : id;
}

BOOL CKXInstanceDetailsGridWnd::IsDiffPairRow(ROWCOL row) {
    return kxattr::Get(StoredCell(row, Col(m_nColPinName)), kDiffPairRow) == 1;
}

BOOL CKXInstanceDetailsGridWnd::IsPowerPinRow(ROWCOL row) {
    return kxattr::Has(StoredCell(row, Col(m_nColPinName)), kPowerPinRow);
}

BOOL CKXInstanceDetailsGridWnd::IsPowerPinChildRow(ROWCOL row) {
    return kxattr::Has(StoredCell(row, Col(m_nColPinName)), kPowerPinChildRow);
}

ROWCOL CKXInstanceDetailsGridWnd::GetRowParentOffset(ROWCOL row) {
    // The stored cell data, not the composed style.
    if (row == 0 || row > GetRowCount()) return GX_INVALID;
    const int offset = kxattr::Get(StoredCell(row, Col(m_nColPinName)), kParentRowOffset);
    if (offset > 0 && static_cast<ROWCOL>(offset) < row) return row - static_cast<ROWCOL>(offset);
    return GX_INVALID;
}

BOOL CKXInstanceDetailsGridWnd::GetCellVectorInfo(ROWCOL row, CString& baseName, CString& msb, CString& lsb) {
    const CGXStyle& style = StoredCell(row, Col(m_nColPinName));
    baseName = kxattr::Get(style, kVectorBaseName);
    msb = kxattr::Get(style, kVectorMsb);
    lsb = kxattr::Get(style, kVectorLsb);
    return !msb.IsEmpty() && !lsb.IsEmpty();
}

CString CKXInstanceDetailsGridWnd::GetRowPinName(ROWCOL row, int& msb, int& lsb) {
    CString base, m, l;
    if (GetCellVectorInfo(row, base, m, l)) {
        msb = std::atoi(m.GetString());
        lsb = std::atoi(l.GetString());
        return base;
    }
    // A scalar pin's cell may show its display name; the pin's own name is the key.
    int pinMsb = -1, pinLsb = -1;
    if (IInstTerm* pin = GetRowInstTerm(row, pinMsb, pinLsb)) return pin->name();
    return CellStyle(row, Col(m_nColPinName)).GetValue();
}

// ---------------------------------------------------------------------------
// Row model: objects

IInstance* CKXInstanceDetailsGridWnd::GetInstance() {
    if (m_arrInstanceIds.empty() || !m_designContext) return nullptr;
    return m_designContext.instance(m_arrInstanceIds.front()).instance();
}

CInstanceContext CKXInstanceDetailsGridWnd::GetRowInstance(ROWCOL row) {
    if (!m_designContext) return CInstanceContext();
    return m_designContext.instance(static_cast<unsigned>(GetRowInstanceIndex(row)));
}

IInstTerm* CKXInstanceDetailsGridWnd::GetRowInstTerm(ROWCOL row, int& msb, int& lsb) {
    msb = lsb = -1;
    if (row == 0 || row > GetRowCount()) return nullptr;
    // The pin-name cell holds the bits and the pin's id.
    const CGXStyle& pinName = StoredCell(row, Col(m_nColPinName));
    const CString m = kxattr::Get(pinName, kVectorMsb), l = kxattr::Get(pinName, kVectorLsb);
    if (!m.IsEmpty() && !l.IsEmpty()) {
        msb = std::atoi(m.GetString());
        lsb = std::atoi(l.GetString());
    }
    const CInstanceContext inst = GetRowInstance(row);
    if (!inst) return nullptr;
    return inst.instance()->findInstTerm(static_cast<unsigned>(kxattr::Get(pinName, kInstTermId)));
}

BOOL CKXInstanceDetailsGridWnd::GetRowInstTermBitContext(ROWCOL row, CInstTermBitContext& out) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (!pin || msb != lsb) return FALSE;
    out = GetRowInstance(row).instTerm(pin).bitContext(msb);
    return TRUE;
}

void CKXInstanceDetailsGridWnd::GetRowBitContexts(ROWCOL row, std::list<CInstTermBitContext>& out) {
    if (!IsDiffPairRow(row)) return;
    const CInstanceContext inst = GetRowInstance(row);
    if (!inst) return;
    IDPInstTerm* pair = inst.instance()->findDPInstTerm(static_cast<unsigned>(GetRowDiffPairConnId(row)));
    if (!pair) return;
    std::vector<IDPInstTerm*> members;
    for (IDPInstTerm* m : pair->beginMember())
        members.push_back(m);
    if (members.empty()) members.push_back(pair);
    for (IDPInstTerm* m : members) {
        if (m->positive()) out.push_back(inst.instTerm(m->positive()).bitContext(m->positiveBit()));
        if (m->negative()) out.push_back(inst.instTerm(m->negative()).bitContext(m->negativeBit()));
    }
}

int CKXInstanceDetailsGridWnd::GetRowConnIndex(ROWCOL row) {
    const CGXStyle& style = StoredCell(row, Col(m_nColSignal));
    if (style.GetValue().IsEmpty()) { // (the cell is written below: style is not read after)
        SetCellUserAttribute(row, Col(m_nColSignal), IDS_UA_CONN_INDEX, -1);
        return -1;
    }
    return kxattr::Number(style, IDS_UA_CONN_INDEX);
}

INet* CKXInstanceDetailsGridWnd::GetRowNet(ROWCOL row, int& msb, int& lsb) {
    msb = lsb = -1;
    if (row < PIN_FIRST_ROW || row > GetRowCount() || !m_designContext) return nullptr;
    // A pair row's cell names a pair net, or its legs' nets: never the one net of the row.
    if (IsDiffPairRow(row)) return nullptr;
    CString text = StoredCell(row, Col(m_nColSignal)).GetValue();
    if (text.IsEmpty()) return nullptr;
    if (GetRowConnIndex(row) == -1 && text.Find(',') >= 0) return nullptr;
    CString base;
    int l = -1, m = -1;
    if (CKXGenUtils::ParseSignalName(text, base, l, m)) {
        text = base;
        msb = m;
        lsb = l;
    }
    return m_designContext.design()->findNet(text.GetString());
}

CString CKXInstanceDetailsGridWnd::GetRowNetName(ROWCOL row, int& msb, int& lsb) {
    INet* net = GetRowNet(row, msb, lsb);
    return net ? CString(net->name()) : CString();
}

IDPInstTerm* CKXInstanceDetailsGridWnd::GetRowDPInstTerm(ROWCOL row) {
    const int id = GetRowDiffPairConnId(row);
    if (id == 0) return nullptr;
    const CInstanceContext inst = GetRowInstance(row);
    return inst ? inst.instance()->findDPInstTerm(static_cast<unsigned>(id)) : nullptr;
}

IDPInstTerm* CKXInstanceDetailsGridWnd::GetRowDiffPairInstTerm(ROWCOL row) {
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    return pin ? GetDiffPairInstTerm(pin, lsb) : nullptr;
}

IDPInstTerm* CKXInstanceDetailsGridWnd::GetDiffPairInstTerm(IInstTerm* pin, int bit) {
    if (!pin) return nullptr;
    for (ISchemaObject* obj : pin->bit(bit).beginSchemaObject())
        if (obj && obj->getObjectType() == 'R') return dynamic_cast<IDPInstTerm*>(obj);
    return nullptr;
}

// ---------------------------------------------------------------------------
// Row model: structure

PinRowKind CKXInstanceDetailsGridWnd::GetRowKind(ROWCOL row, CString& baseName, int& msb, int& lsb) {
    msb = lsb = -1;
    baseName = "novale";
    const CGXStyle& style = StoredCell(row, Col(m_nColPinName));
    baseName = kxattr::Text(style, IDS_UA_VECTOR_BASENAME);
    const CString m = kxattr::Text(style, IDS_UA_VECTOR_MSB), l = kxattr::Text(style, IDS_UA_VECTOR_LSB);
    if (!m.IsEmpty() && !l.IsEmpty()) {
        msb = std::atoi(m.GetString());
        lsb = std::atoi(l.GetString());
    }
    if (kxattr::Has(style, IDS_UA_IMPLICIT_POWER_PIN)) return PIN_ROW_IMPLICIT_POWER;
    if (kxattr::Has(style, IDS_UA_POWER_PIN_ROW)) return PIN_ROW_POWER;
    if (kxattr::Has(style, IDS_UA_POWER_PIN_CHILD_ROW)) return PIN_ROW_POWER_CHILD;
    if (kxattr::Has(style, IDS_UA_DIFFPAIR_ROW)) {
        if (kxattr::Has(style, IDS_UA_VECTOR_DIFFPAIR_ROW)) return PIN_ROW_VECTOR_DIFFPAIR;
        if (kxattr::Has(style, IDS_UA_PLUSMINUS_BIT)) return PIN_ROW_DIFFPAIR_CHILD;
        return PIN_ROW_DIFFPAIR;
    }
    if (kxattr::Has(style, IDS_UA_PARENT_DIFFPAIR)) return PIN_ROW_DIFFPAIR_LEG;
    if (kxattr::Has(style, IDS_UA_VECTOR_GROUP))
        return kxattr::Text(style, IDS_UA_VECTOR_GROUP).CompareNoCase("2") == 0 ? PIN_ROW_GROUP_2
                                                                        : PIN_ROW_GROUP;
    if (kxattr::Has(style, IDS_UA_PLUSMINUS_BIT))
        return kxattr::Text(style, IDS_UA_PLUSMINUS_BIT).CompareNoCase("2") == 0 ? PIN_ROW_PLUSMINUS_CHILD_2
                                                                         : PIN_ROW_PLUSMINUS_CHILD;
    if (msb != -1 && lsb != -1 && msb == lsb) return PIN_ROW_SINGLE_BIT;
    return PIN_ROW_SCALAR;
}

void CKXInstanceDetailsGridWnd::GetChildRows(ROWCOL row, std::list<int>& rows, int legSelector) {
    if (!kxattr::Has(StoredCell(row, Col(m_nColPinName)), IDS_UA_EXPAND_STATE)) return;
    CString base;
    int msb = -1, lsb = -1;
    const PinRowKind kind = GetRowKind(row, base, msb, lsb);
    const ROWCOL count = GetRowCount();
    for (ROWCOL r = row + 1; r <= count; ++r) {
        const PinRowKind k = GetRowKind(r, base, msb, lsb);
        const int n = static_cast<int>(r);
        if (kind == PIN_ROW_DIFFPAIR || kind == PIN_ROW_DIFFPAIR_CHILD) {
            if (k != PIN_ROW_DIFFPAIR_LEG) break;
            rows.push_back(n);
        } else if (kind == PIN_ROW_VECTOR_DIFFPAIR) {
            if (k != PIN_ROW_DIFFPAIR_CHILD && k != PIN_ROW_DIFFPAIR_LEG) break;
            if ((legSelector == 1) == (k == PIN_ROW_DIFFPAIR_CHILD)) rows.push_back(n);
        } else if (kind == PIN_ROW_POWER) {
            if (k != PIN_ROW_POWER_CHILD) break;
            rows.push_back(n);
        } else if (kind == PIN_ROW_IMPLICIT_POWER) {
            if (k != PIN_ROW_IMPLICIT_POWER || AttrText(r, Col(m_nColPinName), IDS_UA_ROW_LEVEL) != "2")
                break;
            rows.push_back(n);
        } else {
            // Kinds without children: nothing is a child (the walk is linear anyway).
            break;
        }
    }
}

BOOL CKXInstanceDetailsGridWnd::ExpandRowArray(CDWordArray& rows, int& count) {
    ReplaceParentRows(rows, count, [this](ROWCOL r) { return IsPowerPinRow(r) != FALSE; });
    return TRUE;
}

void CKXInstanceDetailsGridWnd::ReplaceParentRows(CDWordArray& rows, int& count,
                                                  const std::function<bool(ROWCOL)>& isParent) {
    // One forward pass: each parent row gives way to its children where it stood.
    std::vector<DWORD> result;
    result.reserve(static_cast<std::size_t>(rows.GetSize()));
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const DWORD row = rows[i];
        if (!isParent(row)) {
            result.push_back(row);
            continue;
        }
        std::list<int> children;
        GetChildRows(row, children, 1);
        result.insert(result.end(), children.begin(), children.end());
    }
    rows.RemoveAll();
    for (DWORD r : result)
        rows.Add(r);
    count = static_cast<int>(result.size());
}

void CKXInstanceDetailsGridWnd::JoinChildPinNumbers(ROWCOL row) {
    std::list<int> children;
    GetChildRows(row, children, 1);
    CString joined;
    bool first = true;
    for (int child : children) {
        if (!first) joined += ",";
        joined += GetValueRowCol(static_cast<ROWCOL>(child), Col(m_nColPinNumber));
        first = false;
    }
    CGXStyle style;
    style.SetValue(joined);
    GridWriteScope scope(*this);
    WriteCell(row, Col(m_nColPinNumber), style);
}

ROWCOL CKXInstanceDetailsGridWnd::FindPinRow(const CInstanceContext& instance, ROWCOL col,
                                             const CString& text, ROWCOL startRow) {
    if (!instance) return 0;
    const ROWCOL count = GetRowCount();
    for (ROWCOL r = startRow == 0 ? PIN_FIRST_ROW : startRow; r <= count; ++r) {
        if (GetValueRowCol(r, col).CompareNoCase(text) != 0) continue;
        if (GetRowInstanceIndex(r) == static_cast<int>(instance->id())) return r;
    }
    return 0;
}
