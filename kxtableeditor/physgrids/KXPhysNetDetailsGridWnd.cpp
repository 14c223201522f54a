// The physical net grid: window, columns ("PHYSCP"), rows of the pins on physical
// nets read from the packaging server, and their refresh after committed
// transactions.
#include "grid/KXGridScopes.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <memory>
#include <set>

IMPLEMENT_DYNCREATE(CKXPhysNetDetailsGridWnd, CKXGridWnd)

BEGIN_MESSAGE_MAP(CKXPhysNetDetailsGridWnd, CKXGridWnd)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXPhysGridWnd::OnTransactionCommitted)
ON_MESSAGE(MSG_COLUMN_LAYOUT_CHANGED, &CKXPhysNetDetailsGridWnd::OnColumnLayoutChanged)
END_MESSAGE_MAP()

using namespace kxphys;

int CKXPhysNetDetailsGridWnd::m_nColPhysNetName = 1;
int CKXPhysNetDetailsGridWnd::m_nColLocation = 2;
int CKXPhysNetDetailsGridWnd::m_nColPinNumber = 3;
int CKXPhysNetDetailsGridWnd::m_nColPinName = 4;
int CKXPhysNetDetailsGridWnd::m_nColPinType = 5;
int CKXPhysNetDetailsGridWnd::m_nColSignalModel = 6;
CKXPhysNetDetailsGridWnd* CKXPhysNetDetailsGridWnd::m_pActiveGrid = nullptr;
const CKXColumnModel::Layout& CKXPhysNetDetailsGridWnd::m_arrColumnInfo =
    CKXPhysNetDetailsGridWnd::Columns().Columns();
std::vector<CString> CKXPhysNetDetailsGridWnd::m_arrColumnCaptions;
int CKXPhysNetDetailsGridWnd::m_nColCount = 7;

namespace {

// One pin of a net processed: "Processing Physical Net: 25% Done".
void StepProgress(CKXProgressBar& progress, int done, int count) {
    CString text;
    text.Format("Processing Physical Net: %d%% Done", count ? 100 * done / count : 100);
    progress.SetText(text);
    progress.StepIt();
    progress.PeekAndPump();
}

constexpr UINT kNoUpdate = 2;
constexpr const char* kOrigin = "PHYSCP";

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

COLORREF ButtonFace() {
    return GetSysColor(COLOR_BTNFACE) | 0xEF000000u;
}

CGXStyle PinCell(const CString& value) {
    CGXStyle s;
    s.SetValue(value).SetWrapText(FALSE).SetUserAttribute(Id(kEllipsisAttribute),
                                                          CGXEllipseUserAttribute(gxDotEllipse));
    return s;
}

// Undo off, the read-only lock lifted and drawing locked while rows are written; all come back after.
struct WriteScope {
    explicit WriteScope(CGXGridCore& grid) : lock(grid), write(grid) {}
    kxgrid::LockUpdateScope lock;
    kxgrid::GridWriteScope write;
};

} // namespace

CKXPhysNetDetailsGridWnd::CKXPhysNetDetailsGridWnd()
    : CKXPhysGridWnd(KXGridKind::PhysNet), m_mapRowPins(':') {
    EnableAutomation();
}

CKXPhysNetDetailsGridWnd::~CKXPhysNetDetailsGridWnd() {
    if (m_pActiveGrid == this) m_pActiveGrid = nullptr;
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (GetSafeHwnd()) server->UnregisterWindow(GetSafeHwnd());
}

KXPhysLayout CKXPhysNetDetailsGridWnd::Layout() const {
    return {kNetFilterRow, kNetFirstRow, kNetCaptionRow};
}

// ---------------------------------------------------------------------------
// Set-up and columns

void CKXPhysNetDetailsGridWnd::InitializeGrid(IKXGridSite* site, CDesignContext design) {
    m_designContext = design;
    SetSite(site);
    CKXGridWnd::InitializeGrid(kNetFirstRow, static_cast<ROWCOL>(m_nColLocation), kNetCaptionRow, nullptr);
    SetupColumns();
    FormatHeaderRows();
    RegisterHeaderControl(static_cast<ULONG>(m_nColLocation));
    CDWordArray look;
    RegisterDynComboControl(&CKXPhysNetDetailsGridWnd::GetColumnSettingsKey, look);
    EnableKeySelectionSync(TRUE);
    EnableCellControlClick(TRUE);
    CGXGridParam* param = GetParam();
    if (param) param->EnableUndo(FALSE);
    m_dropTarget.RegisterTarget(this, design);
    RegisterControl(Id(IDS_CTRL_PROGRAMMABLE_PIN),
                    new CKXBitMapComboBox(this, IDB_PROGRAMMABLE_PIN, IDS_CTRL_PROGRAMMABLE_PIN,
                                          IDS_CTRL_PROGRAMMABLE_PIN_LIST, 1),
                    FALSE, TRUE);
    SetupFindReplace();
    FormatHeaderRows();
    if (IKXMessageServer* server = GetKXMsgSrvr()) {
        server->RegisterWindow(MSG_TRANSACTION_COMMITTED, GetSafeHwnd());
        server->RegisterWindow(MSG_COLUMN_LAYOUT_CHANGED, GetSafeHwnd());
    }
    if (param) param->EnableUndo(TRUE);
}

CKXColumnModel& CKXPhysNetDetailsGridWnd::Columns() {
    static CKXColumnModel model(kOrigin, KXGridKind::PhysNet, kOrigin,
                                CKXColumnModel::EntryOrder::DefaultsFirst);
    return model;
}

CKXPhysGridWnd::KeyColumns CKXPhysNetDetailsGridWnd::KeyColumnNumbers() const {
    return {{"LOCATION", &m_nColLocation},
            {"PN", &m_nColPinNumber},
            {"PIN_NAME", &m_nColPinName},
            {"PIN_TYPE", &m_nColPinType},
            {"SIGNAL_MODEL", &m_nColSignalModel}};
}

int CKXPhysNetDetailsGridWnd::GetColumnSettingsKey(int col, CString& key) {
    key = Columns().RegistrySubKey(col);
    return col == -1 ? 0 : 1;
}

void CKXPhysNetDetailsGridWnd::GetColumnMenuText(int col, CString& text, BOOL& bEnabled) {
    const CKXColumnInfoClass* info = Columns().Find(col);
    if (!info) return;
    text = info->m_strCaption;
    bEnabled = col == m_nColSignalModel;
}

void CKXPhysNetDetailsGridWnd::CoverHeaderRows() {
    const ROWCOL last = GetColCount();
    for (ROWCOL r : {ROWCOL{0}, ROWCOL{2}, ROWCOL{4}})
        SetCoveredCellsRowCol(r, m_nFirstHeaderCol, r, last, kNoUpdate);
}

CGXStyle CKXPhysNetDetailsGridWnd::FilterCellStyle() const {
    CGXStyle filter;
    filter.SetControl(Id(IDS_CTRL_FILTER_COMBO))
        .SetValue("*")
        .SetVerticalAlignment(DT_VCENTER)
        .SetFont(CGXFont().SetBold(FALSE))
        .SetReadOnly(FALSE);
    return filter;
}

void CKXPhysNetDetailsGridWnd::FormatHeaderRows() {
    WriteScope scope(*this);
    if (GetRowCount() < kNetFirstRow - 1) SetRowCount(kNetFirstRow - 1, kNoUpdate);
    SetColCount(static_cast<ROWCOL>(ColumnCount() - 1), kNoUpdate);
    FormatColumnCaptions();
    StyleNewFilterCells();
    SetRowHeight(2, 2, 4, nullptr, kNoUpdate);
    SetRowHeight(4, 4, 4, nullptr, kNoUpdate);
    CGXStyle separator;
    separator.SetControl(Id(kHeaderControl)).SetEnabled(FALSE).SetInterior(ButtonFace());
    for (ROWCOL r : {ROWCOL{2}, ROWCOL{4}})
        SetStyleRange(CGXRange(r, m_nFirstHeaderCol, r, GetColCount()), separator, gxOverride, 0, kNoUpdate);
    CoverHeaderRows();
    SetFrozenRows(4, 2, kNoUpdate);
    // LOCATION to PIN_TYPE are read only; the signal model stays editable.
    for (int c : {m_nColLocation, m_nColPinNumber, m_nColPinName, m_nColPinType})
        SetStyleRange(CGXRange().SetCols(C(c)), CGXStyle().SetReadOnly(TRUE), gxOverride, 0, kNoUpdate);
}

void CKXPhysNetDetailsGridWnd::UpdateTitleRow() {
    if (m_bMultipleNets || m_strNetName.IsEmpty()) return;
    WriteScope scope(*this);
    CGXStyle s;
    s.SetValue(m_strNetName)
        .SetControl(Id(kHeaderControl))
        .SetHorizontalAlignment(DT_LEFT)
        .SetFont(CGXFont().SetFaceName("Tahoma").SetBold(TRUE))
        .SetMergeCell(1)
        .SetEnabled(FALSE);
    SetStyleRange(CGXRange(0, 0), s, gxOverride, 0, kNoUpdate);
}

void CKXPhysNetDetailsGridWnd::InitBlankRowStyle(ROWCOL row) {
    for (int c : {m_nColLocation, m_nColPinName, m_nColPinNumber})
        SetStyleRange(CGXRange(row, C(c)), PinCell(""), gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColPinNumber)), WithAttr(CGXStyle(), kPinInstanceId, 0), gxOverride, 0,
                  kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColPinType)),
                  PinCell("").SetControl(Id(kStaticControl)).SetReadOnly(TRUE), gxOverride, 0, kNoUpdate);
}

LRESULT CKXPhysNetDetailsGridWnd::OnColumnLayoutChanged(WPARAM wParam, LPARAM lParam) {
    if (Columns().IsLayoutOfKind(lParam)) ShowNetColumnAsShownNets();
    return ApplyColumnLayout(wParam, lParam);
}

// ---------------------------------------------------------------------------
// Rows

CString CKXPhysNetDetailsGridWnd::RowKey(ROWCOL row) {
    if (row < kNetFirstRow || row > GetRowCount()) return CString();
    return m_mapRowPins.Key(StoredText(row, C(m_nColLocation)), StoredText(row, C(m_nColPinNumber)));
}

bool CKXPhysNetDetailsGridWnd::IsRowKeyColumn(ROWCOL col) const {
    return col == C(m_nColLocation) || col == C(m_nColPinNumber);
}

BOOL CKXPhysNetDetailsGridWnd::FindPhysPin(const CString& location, const CString& pinNumber,
                                           CInstTermBitContext* bit) {
    const std::vector<CInstTermBitContext>* bits = m_mapRowPins.Find(m_mapRowPins.Key(location, pinNumber));
    if (!bits || bits->empty()) return FALSE;
    if (bit) *bit = bits->front();
    return TRUE;
}

BOOL CKXPhysNetDetailsGridWnd::GetRowPhysPin(ROWCOL row, CInstTermBitContext* bit) {
    if (row < kNetFirstRow || row > GetRowCount()) return FALSE;
    return FindPhysPin(StoredText(row, C(m_nColLocation)), StoredText(row, C(m_nColPinNumber)), bit);
}

ROWCOL CKXPhysNetDetailsGridWnd::LastPinRow() {
    ROWCOL last = kNetFirstRow - 1;
    for (ROWCOL r = GetRowCount(); r >= kNetFirstRow; --r)
        if (!GetValueRowCol(r, C(m_nColPinNumber)).IsEmpty()) {
            last = r;
            break;
        }
    return last;
}

void CKXPhysNetDetailsGridWnd::WritePinCells(ROWCOL row, const CString& location, const CString& pinType,
                                             const CString& pinNumber, int instanceId,
                                             const CString& pinName) {
    SetStyleRange(CGXRange(row, C(m_nColPhysNetName)), PinCell(m_strNetName), gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColLocation)), PinCell(location), gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColPinType)), PinCell(pinType), gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColPinNumber)), WithAttr(PinCell(pinNumber), kPinInstanceId, instanceId),
                  gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(m_nColPinName)), PinCell(pinName), gxOverride, 0, kNoUpdate);
}

void CKXPhysNetDetailsGridWnd::AppendSpareRows() {
    const ROWCOL first = GetRowCount() + 1;
    InsertRows(first, kNetSpareRows, kNoUpdate);
    for (ROWCOL r = first; r < first + kNetSpareRows; ++r)
        InitBlankRowStyle(r);
}

int CKXPhysNetDetailsGridWnd::LoadPhysNet(CDesignContext design, const std::vector<CString>& netNames) {
    m_bMultipleNets = 1;
    m_loadedNets = netNames;
    {
        WriteScope scope(*this);
        for (const CString& name : netNames) {
            std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, name.GetString()));
            if (net) PopulatePhysNet(design, net.get(), "");
        }
        FinishLoad();
    }
    return 1;
}

void CKXPhysNetDetailsGridWnd::FinishLoad() {
    SetSortColumn(-1);
    SortColumn(m_nColLocation);
    RefreshRows();
    AppendSpareRows();
    IndexPinRows();
    ResizeRowHeaderColumn();
}

// The Phys Net Name column says which net a row is on: shown while the grid shows several nets,
// whatever the customisation keeps for a grid of one.
void CKXPhysNetDetailsGridWnd::ShowNetColumnAsShownNets() {
    if (CKXColumnInfoClass* info = Columns().Find(m_nColPhysNetName)) info->m_bShown = m_bMultipleNets ? 1 : 0;
}

int CKXPhysNetDetailsGridWnd::PopulatePhysNet(CDesignContext, IPhysNet* net, CString excludedSpaths) {
    if (!net) return 0;
    ShowNetColumnAsShownNets();
    m_strExcludedSpaths = excludedSpaths;
    CWaitCursor wait;
    WriteScope scope(*this);
    if (m_bColumnWidthsPending) {
        m_bColumnWidthsPending = FALSE;
        ApplyColumnWidths();
    }
    if (!m_bMultipleNets) {
        if (GetRowCount() >= kNetFirstRow) RemoveRows(kNetFirstRow, GetRowCount(), kNoUpdate);
        m_mapRowPins.Clear();
        ForgetKeyedRows();
        m_logicalNetOf.clear();
    }
    m_strNetName = net->name();
    m_logicalNetOf[m_strNetName] = net->logicalName();
    if (!m_bMultipleNets) UpdateTitleRow();
    ROWCOL row = m_bMultipleNets ? LastPinRow() + 1 : kNetFirstRow;
    std::unique_ptr<CPhysIterator<IPhysPin>> pins(net->beginPin());
    const int count = pins ? static_cast<int>(pins->count()) : 0;
    CKXProgressBar progress("Processing Physical Net", count, 50, 0, 0);
    for (int k = 1; pins && pins->hasCurrent(); pins->advance(), ++k) {
        StepProgress(progress, k, count);
        std::unique_ptr<IPhysPin> pin(pins->current());
        CInstTermBitContext bit;
        if (!pin || !pin->logicalPinBit(bit) || !bit) continue;
        const CInstanceContext inst = bit.instance();
        const char* location = inst.physicalPackageName();
        const CString number = pin->pinNumber();
        InsertRows(row, 1, kNoUpdate);
        WritePinCells(row, location ? location : "", PinTypeText(pin->direction()), number,
                      static_cast<int>(inst.instance()->id()), CKXGenUtils::GetPinLogicalName(bit));
        m_mapRowPins.Set(m_mapRowPins.Key(location ? location : "", number), {bit});
        SetSignalModelCellStyle(row);
        for (const CKXColumnInfoClass* info : Columns().Columns()) {
            if (info->m_nPropertyType == CKXColumnInfoClass::Default) continue;
            CString value;
            bool found = false;
            if (info->m_nPropertyType == CKXColumnInfoClass::InstProp ||
                info->m_nPropertyType == CKXColumnInfoClass::PinProp) {
                const CContext& owner = info->m_nPropertyType == CKXColumnInfoClass::InstProp
                                            ? static_cast<const CContext&>(inst)
                                            : static_cast<const CContext&>(bit);
                if (std::unique_ptr<CPQPropertyData> p(
                        owner.findProperty(info->m_strPropertyName.GetString(), true));
                    p) {
                    value = p->value();
                    found = true;
                }
            } else if (info->m_nPropertyType == CKXColumnInfoClass::NetProp) {
                if (std::unique_ptr<CPQPropertyData> p(
                        net->findProperty(info->m_strPropertyName.GetString(), true));
                    p) {
                    value = p->value();
                    found = true;
                }
            }
            CGXStyle s;
            s.SetValue(value).SetReadOnly(TRUE);
            if (!found) s.SetControl(Id(kStaticControl));
            SetStyleRange(CGXRange(row, static_cast<ROWCOL>(info->m_nColumn)), s, gxOverride, 0, kNoUpdate);
        }
        ++row;
    }
    if (CKXShareGlobalData::m_bShowPowerPins) {
        std::unique_ptr<CPhysIterator<IPhysPowerPin>> power(net->beginPowerPin());
        for (; power && power->hasCurrent(); power->advance()) {
            std::unique_ptr<IPhysPowerPin> pin(power->current());
            if (pin) AddPowerPinRow(row++, pin.get());
        }
    }
    if (!m_bMultipleNets) FinishLoad();
    return 1;
}

void CKXPhysNetDetailsGridWnd::AddPowerPinRow(ROWCOL row, IPhysPowerPin* pin) {
    InsertRows(row, 1, kNoUpdate);
    WritePinCells(row, pin->location(), pin->typeText(), pin->pinNumber(), 0, pin->pinName());
    StyleModelCellWithoutPin(row);
}

void CKXPhysNetDetailsGridWnd::RefreshRows() {
    CWaitCursor wait;
    WriteScope scope(*this);
    const ROWCOL last = GetRowCount();
    if (last >= kNetFirstRow) HideRows(kNetFirstRow, last, FALSE, nullptr, kNoUpdate, gxDo);
    for (ROWCOL r = kNetFirstRow; r <= last; ++r) {
        CInstTermBitContext bit;
        const bool excluded = !m_strExcludedSpaths.IsEmpty() && GetRowPhysPin(r, &bit) &&
                              CKXGenUtils::IsSPathToBeExcluded(bit.spath(), m_strExcludedSpaths);
        if (!GetValueRowCol(r, C(m_nColPinNumber)).IsEmpty())
            SetStyleRange(CGXRange(r, C(m_nColPinNumber)), WithAttr(CGXStyle(), kBlockFiltered, excluded),
                          gxOverride, 0, kNoUpdate);
        if (excluded) HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
    }
    for (ROWCOL c = C(m_nColLocation); c <= GetColCount(); ++c)
        SetValueRange(CGXRange(kNetFilterRow, c), "*", gxOverride, 0, kNoUpdate);
}

void CKXPhysNetDetailsGridWnd::SetExcludedSpathList(CString netName, CString excludedSpaths) {
    if (netName.CompareNoCase(m_strNetName) != 0) return;
    m_strExcludedSpaths = excludedSpaths;
    RefreshRows();
}

void CKXPhysNetDetailsGridWnd::RenamePhysNet(CString netName) {
    std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, netName.GetString()));
    if (!net) return;
    m_strNetName = net->name();
    UpdateTitleRow();
}

void CKXPhysNetDetailsGridWnd::RefreshRowsByName(CString location) {
    if (location.IsEmpty()) return;
    WriteScope scope(*this);
    for (ROWCOL r = kNetFirstRow; r <= GetRowCount(); ++r)
        if (GetValueRowCol(r, C(m_nColLocation)).CompareNoCase(location) == 0) SetSignalModelCellStyle(r);
}

// ---------------------------------------------------------------------------
// Refresh after committed transactions

void CKXPhysNetDetailsGridWnd::OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) {
    // The grid's own edits restyle their cells themselves.
    if (m_bCommitting) return;
    constexpr int kAdded = 1, kRemoved = 2, kModified = 5;
    bool moved = false, renamed = false;
    std::set<CString> properties;
    for (const KXPhysPropertyChange& c : changes) {
        if (c.changeKind != kAdded && c.changeKind != kRemoved && c.changeKind != kModified) continue;
        const bool changed = c.oldValue.CompareNoCase(c.newValue) != 0;
        if (c.Is("PHYS_NET_NAME") && changed)
            renamed = true;
        else if (c.Is("LOCATION") && changed && !c.oldValue.IsEmpty() && !c.newValue.IsEmpty())
            RenameLocationInRows(c.newValue, c.oldValue);
        else if ((c.Is("PN") || c.Is("SEC")) && changed)
            moved = true;
        if (c.Is("PIN_SIGNAL_MODEL") && (c.newValue.IsEmpty() || changed)) RefreshModelCellsOfPin(c.path);
        if (c.ownerKind) properties.insert(c.name);
    }
    // A physical name given, changed or taken away (the net is then named by its logical bit).
    if (renamed) FollowRenamedNets();
    // A pin number moves logical pins between package pins, and so between physical nets: the
    // rows are read again (after the models above, which the reading takes in too).
    if (moved) ReloadRows();
    RefillPropertyColumns(properties);
}

void CKXPhysNetDetailsGridWnd::FollowRenamedNets() {
    std::map<CString, CString> nameOfLogical;
    for (const CString& name : getPhysNetNames(&m_designContext))
        if (std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, name.GetString())); net)
            nameOfLogical[net->logicalName()] = name;
    std::map<CString, CString> renamed, followed; // old name -> new; new name -> logical bit
    for (const auto& [shown, logical] : m_logicalNetOf) {
        const auto now = nameOfLogical.find(logical);
        const CString name = now == nameOfLogical.end() ? shown : now->second;
        if (name != shown) renamed[shown] = name;
        followed[name] = logical;
    }
    if (renamed.empty()) return;
    m_logicalNetOf = std::move(followed);
    for (CString& name : m_loadedNets)
        if (const auto r = renamed.find(name); r != renamed.end()) name = r->second;
    {
        WriteScope scope(*this);
        for (ROWCOL r = kNetFirstRow; r <= LastPinRow(); ++r)
            if (const auto n = renamed.find(GetValueRowCol(r, C(m_nColPhysNetName))); n != renamed.end())
                SetStyleRange(CGXRange(r, C(m_nColPhysNetName)), PinCell(n->second), gxOverride, 0, kNoUpdate);
    }
    if (const auto r = renamed.find(m_strNetName); r != renamed.end()) RenamePhysNet(r->second);
}

void CKXPhysNetDetailsGridWnd::RenameLocationInRows(CString newLocation, CString oldLocation) {
    for (ROWCOL r = kNetFirstRow; r <= GetRowCount(); ++r) {
        if (GetValueRowCol(r, C(m_nColLocation)).CompareNoCase(oldLocation) != 0) continue;
        const CString number = GetValueRowCol(r, C(m_nColPinNumber));
        const CString oldKey = RowKey(r);
        SetStyleRange(CGXRange(r, C(m_nColLocation)), PinCell(newLocation), gxOverride, 0, kNoUpdate);
        if (const std::vector<CInstTermBitContext>* bits = m_mapRowPins.Find(oldKey)) {
            std::vector<CInstTermBitContext> moved = *bits;
            m_mapRowPins.Remove(oldKey);
            m_mapRowPins.Set(m_mapRowPins.Key(newLocation, number), std::move(moved));
        }
    }
}

void CKXPhysNetDetailsGridWnd::ReloadRows() {
    // What the user set on the grid stays: the filter texts, the sort and the current pin row.
    std::vector<CString> filters;
    for (ROWCOL c = C(m_nColLocation); c <= GetColCount(); ++c)
        filters.push_back(GetValueRowCol(kNetFilterRow, c));
    const int sortCol = GetSortColumn();
    const BOOL ascending = IsSortAscending();
    ROWCOL currentRow = 0, currentCol = 0;
    const bool current = GetCurrentCell(currentRow, currentCol) && currentRow >= kNetFirstRow;
    const CString currentKey = current ? RowKey(currentRow) : CString();
    {
        WriteScope scope(*this);
        if (GetRowCount() >= kNetFirstRow) RemoveRows(kNetFirstRow, GetRowCount(), kNoUpdate);
        m_mapRowPins.Clear();
        ForgetKeyedRows();
        const std::vector<CString> nets = m_bMultipleNets ? m_loadedNets : std::vector<CString>{m_strNetName};
        bool loaded = false;
        for (const CString& name : nets)
            if (std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, name.GetString())); net) {
                PopulatePhysNet(m_designContext, net.get(), m_bMultipleNets ? CString() : m_strExcludedSpaths);
                loaded = true;
            }
        if (m_bMultipleNets || !loaded) FinishLoad();
        for (size_t i = 0; i < filters.size(); ++i)
            SetValueRange(CGXRange(kNetFilterRow, C(m_nColLocation) + static_cast<ROWCOL>(i)), filters[i], gxOverride,
                          0, kNoUpdate);
        if (sortCol > 0 && (sortCol != m_nColLocation || !ascending)) {
            SetSortColumn(-1);
            SortColumn(sortCol);
            if (!ascending) SortColumn(sortCol);
            IndexPinRows();
        }
        HideFilteredRows(LastPinRow());
    }
    if (const ROWCOL row = current ? FindKeyedRow(currentKey) : 0; row && !IsRowHidden(row))
        CKXGridWnd::SetCurrentCell(row, currentCol, GX_UPDATENOW);
}

void CKXPhysNetDetailsGridWnd::IndexPinRows() {
    IndexKeyedRows();
}

ROWCOL CKXPhysNetDetailsGridWnd::PinRowOf(const CString& location, const CString& pinNumber) {
    return FindKeyedRow(m_mapRowPins.Key(location, pinNumber));
}

void CKXPhysNetDetailsGridWnd::RefreshPropertyColumn(CString property, int objectKind, int column) {
    kxgrid::GridWriteScope write(*this);
    for (ROWCOL r = kNetFirstRow; r <= GetRowCount(); ++r) {
        CInstTermBitContext bit;
        // The row's own pin, found by its key (not by its pin number alone).
        if (!GetRowPhysPin(r, &bit)) continue;
        std::unique_ptr<CPQPropertyData> p;
        if (objectKind == 1)
            p.reset(bit.instance().findProperty(property.GetString(), true));
        else if (objectKind == 2)
            p.reset(bit.findProperty(property.GetString(), true));
        else if (objectKind == 3) {
            const CNetBitContext net = bit.netbitOuter();
            if (!net) continue;
            p.reset(net.base().findPropertyIncludingAliases(property.GetString(), true));
        }
        SetStyleRange(CGXRange(r, C(column)),
                      CGXStyle()
                          .SetValue(p ? CString(p->value()) : CString())
                          .SetControl(Id(kStaticControl))
                          .SetReadOnly(TRUE),
                      gxOverride, 0, kNoUpdate);
    }
}

void CKXPhysNetDetailsGridWnd::ShowFindReplace(BOOL bFind) {
    RunFindReplace(m_pFindReplace, bFind);
}
