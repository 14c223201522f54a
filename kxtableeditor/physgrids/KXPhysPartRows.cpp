// The physical part grid's pin rows: filled from the packaging server, one row
// per package pin, with the pin map from each row to the logical pin bits on it.
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "physgrids/KXPhysPartDetailsHeader.h"

#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXProgressBar.h"
#include "rmx/packaging.h"

#include <cstdlib>
#include <memory>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

// Undo off, the read-only lock lifted and updates locked while rows are written; all come back after.
class RowWriteScope {
public:
    explicit RowWriteScope(CGXGridCore& grid, bool lockUpdate = true)
        : m_grid(grid), m_lockUpdate(lockUpdate) {
        if (CGXGridParam* p = grid.GetParam()) {
            m_undo = p->IsEnableUndo();
            m_readOnly = p->IsLockReadOnly();
            p->EnableUndo(FALSE);
            p->SetLockReadOnly(FALSE);
        }
        if (m_lockUpdate) m_locked = grid.LockUpdate(TRUE);
    }
    ~RowWriteScope() {
        if (CGXGridParam* p = m_grid.GetParam()) {
            p->SetLockReadOnly(m_readOnly);
            p->EnableUndo(m_undo);
        }
        if (m_lockUpdate) {
            m_grid.LockUpdate(m_locked);
            if (!m_locked) m_grid.Redraw(2, 1);
        }
    }
    RowWriteScope(const RowWriteScope&) = delete;
    RowWriteScope& operator=(const RowWriteScope&) = delete;

private:
    CGXGridCore& m_grid;
    bool m_lockUpdate;
    BOOL m_undo = FALSE, m_readOnly = FALSE, m_locked = FALSE;
};

CGXStyle PinCell(const CString& value) {
    CGXStyle s;
    s.SetValue(value)
        .SetWrapText(FALSE)
        .SetUserAttribute(Id(kEllipsisAttribute), CGXEllipseUserAttribute(gxDotEllipse))
        .SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    return s;
}

} // namespace

// ---------------------------------------------------------------------------
// Look-ups

CString CKXPhysPartDetailsGridWnd::RowKey(ROWCOL row) {
    if (row < kPartFirstRow || row > GetRowCount()) return CString();
    return m_mapPins.Key(StoredText(row, C(s_nPhysPartCol)), StoredText(row, C(s_nPNCol)));
}

bool CKXPhysPartDetailsGridWnd::IsRowKeyColumn(ROWCOL col) const {
    return col == C(s_nPhysPartCol) || col == C(s_nPNCol);
}

const std::vector<CInstTermBitContext>* CKXPhysPartDetailsGridWnd::GetRowPins(ROWCOL row) {
    if (row < kPartFirstRow || row > GetRowCount()) return nullptr;
    const std::vector<CInstTermBitContext>* bits = m_mapPins.Find(RowKey(row));
    return bits && !bits->empty() ? bits : nullptr;
}

BOOL CKXPhysPartDetailsGridWnd::GetInstTermOfRow(ROWCOL row, CInstTermBitContext* bit) {
    const std::vector<CInstTermBitContext>* bits = GetRowPins(row);
    if (!bits) return FALSE;
    if (bit) *bit = bits->front();
    return TRUE;
}

ROWCOL CKXPhysPartDetailsGridWnd::FindPinRow(const CString& refDes, const CString& pinNumber) {
    if (GetRowCount() < kPartFirstRow) return 0;
    return FindKeyedRow(m_mapPins.Key(refDes, pinNumber));
}

ROWCOL CKXPhysPartDetailsGridWnd::FindPinRowByValue(CString value, const CInstanceContext& inst, ROWCOL col,
                                                    ROWCOL startRow) {
    if (col == C(s_nPNCol) && startRow <= kPartFirstRow) {
        // A pin number names one package pin of the instance's part: found through the index.
        const char* refDes = inst ? inst.physicalPackageName() : nullptr;
        if (!refDes) return 0;
        const ROWCOL row = FindPinRow(refDes, value);
        const std::vector<CInstTermBitContext>* bits = row ? GetRowPins(row) : nullptr;
        return bits && bits->front().instance() == inst ? row : 0;
    }
    for (ROWCOL r = startRow ? startRow : kPartFirstRow; r <= GetRowCount(); ++r) {
        if (GetValueRowCol(r, col).CompareNoCase(value) != 0) continue;
        const std::vector<CInstTermBitContext>* bits = GetRowPins(r);
        if (bits && bits->front().instance() == inst) return r;
    }
    return 0;
}

IPhysPartInst* CKXPhysPartDetailsGridWnd::GetPhysPartInst() {
    if (m_strRefDes.IsEmpty()) return nullptr;
    return getPhysPartInst(&m_designContext, m_strRefDes.GetString());
}

BOOL CKXPhysPartDetailsGridWnd::ParseRowPinName(ROWCOL row, CString& name, CString& first, CString& second) {
    int lsb = -1, msb = -1;
    if (!CKXGenUtils::ParsePinName(GetValueRowCol(row, C(s_nPinNameCol)), name, lsb, msb)) return FALSE;
    first.Empty();
    second.Empty();
    if (lsb != -1) first.Format("%d", lsb);
    if (msb != -1) second.Format("%d", msb);
    return !first.IsEmpty() && !second.IsEmpty();
}

CString CKXPhysPartDetailsGridWnd::GetRowLogicalPin(CString& name, ROWCOL row, int* pFirst, int* pSecond) {
    name = GetValueRowCol(row, C(s_nPinNameCol));
    CString base, first, second;
    if (!ParseRowPinName(row, base, first, second)) return name;
    name = base;
    if (pFirst) *pFirst = std::atoi(first.GetString());
    if (pSecond) *pSecond = std::atoi(second.GetString());
    return name;
}

void CKXPhysPartDetailsGridWnd::UpdateFunctionCombo(IPhysPartInst* part, int functionCount) {
    if (!m_pHeader) return;
    m_pHeader->ResetFunctions();
    if (part && functionCount > 1) {
        std::unique_ptr<CPhysIterator<IPhysFunction>> it(part->beginFunction());
        for (; it && it->hasCurrent(); it->advance()) {
            std::unique_ptr<IPhysFunction> f(it->current());
            CString text;
            text.Format("%d", f->functionNumber());
            m_pHeader->AddFunction(text);
        }
    }
    m_pHeader->AddFunction("All");
    m_pHeader->SelectFunction("All");
}

// ---------------------------------------------------------------------------
// Filling

int CKXPhysPartDetailsGridWnd::SetPinRowCells(ROWCOL row, CString part, CString pinName, CString pinNumber,
                                              CString pinType, CString signal, int function) {
    CGXGridParam* param = GetParam();
    if (param) param->EnableUndo(FALSE);
    SetStyleRange(CGXRange(row, C(s_nPhysPartCol)), PinCell(part), gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(s_nPinNameCol)), PinCell(pinName).SetReadOnly(TRUE), gxOverride, 0,
                  kNoUpdate);
    CGXStyle pn = PinCell(pinNumber);
    pn.SetReadOnly(TRUE)
        .SetControl(Id(kStaticControl))
        .SetUserAttribute(Id(kPinFunction.id), function)
        .SetUserAttribute(Id(kBlockFiltered.id), 0);
    SetStyleRange(CGXRange(row, C(s_nPNCol)), pn, gxOverride, 0, kNoUpdate);
    SetStyleRange(CGXRange(row, C(s_nPinTypeCol)),
                  PinCell(pinType).SetReadOnly(TRUE).SetControl(Id(kStaticControl)), gxOverride, 0,
                  kNoUpdate);
    SetStyleRange(CGXRange(row, C(s_nSignalCol)), PinCell(signal).SetReadOnly(TRUE), gxOverride, 0,
                  kNoUpdate);
    return 1;
}

bool CKXPhysPartDetailsGridWnd::FillPinRows(IPhysPin* pin, int function, ROWCOL row) {
    if (!pin) return false;
    CInstTermBitContext bit;
    const bool used = pin->logicalPinBit(bit);
    const CString pinName = used ? CKXGenUtils::GetPinLogicalName(bit) : CString();
    const CString number = pin->pinNumber();
    std::unique_ptr<IPhysNet> net(pin->physNet(1));
    const CString signal = net ? CString(net->name()) : CString();
    std::unique_ptr<IPhysPartInst> part(pin->partInst());
    const CString refDes = part ? CString(part->name()) : CString();
    const CString key = m_mapPins.Key(refDes, number);
    if (m_mapPins.Find(key)) return false; // the package pin has its row already
    if (used) m_mapPins.Set(key, pin->logicalPinBits());
    SetPinRowCells(row, refDes, pinName, number, PinTypeText(pin->direction()), signal, function);
    if (used)
        StyleModelCell(row, bit);
    else
        StyleModelCellWithoutPin(row);
    for (const CKXColumnInfoClass* info : Columns().Columns()) {
        if (info->m_nPropertyType == CKXColumnInfoClass::Default) continue;
        CString value;
        bool found = false;
        switch (info->m_nPropertyType) {
        case CKXColumnInfoClass::InstProp:
            if (const char* v =
                    part ? part->getProperty(info->m_strPropertyName.GetString(), true) : nullptr) {
                value = v;
                found = true;
            }
            break;
        case CKXColumnInfoClass::PinProp:
            if (used) {
                std::unique_ptr<CPQPropertyData> p(
                    bit.findProperty(info->m_strPropertyName.GetString(), true));
                if (p) {
                    value = p->value();
                    found = true;
                }
            }
            break;
        case CKXColumnInfoClass::NetProp:
            if (!net) continue; // an unconnected pin leaves its net-property cells alone
            if (std::unique_ptr<CPQPropertyData> p(
                    net->findProperty(info->m_strPropertyName.GetString(), true));
                p) {
                value = p->value();
                found = true;
            }
            break;
        default:
            break;
        }
        CGXStyle s;
        s.SetValue(value).SetReadOnly(TRUE);
        if (!found) s.SetControl(Id(kStaticControl));
        SetStyleRange(CGXRange(row, static_cast<ROWCOL>(info->m_nColumn)), s, gxOverride, 0, kNoUpdate);
    }
    return true;
}

void CKXPhysPartDetailsGridWnd::AddImplicitPins(IPhysPartInst* part, ROWCOL& row) {
    if (!part) return;
    std::unique_ptr<IPhysPartDefn> defn(part->partDefn());
    if (!defn) return;
    CKXImplicitPinMap pins(10);
    CKXGenUtils::GetImplicitPins(defn.get(), pins);
    const CString refDes = part->name();
    for (POSITION pos = pins.GetStartPosition(); pos;) {
        CString name;
        CKXImplicitPinArray* array = nullptr;
        pins.GetNextAssoc(pos, name, array);
        for (INT_PTR i = 0; array && i < array->GetSize(); ++i) {
            const CImplicitPin* pin = array->GetAt(i);
            InsertRows(row, 1, kNoUpdate);
            SetPinRowCells(row, refDes, name, pin->m_strPinNumber, pin->m_strKind, pin->m_strSignal, 1);
            StyleModelCellWithoutPin(row);
            ++row;
        }
    }
    CKXGenUtils::FreeImplicitPins(pins);
}

int CKXPhysPartDetailsGridWnd::FillPart(IPhysPartInst* part, ROWCOL& row, KXPhysProgress* progress) {
    int functions = 0;
    int handled = 0;
    std::unique_ptr<CPhysIterator<IPhysFunction>> fit(part->beginFunction());
    for (; fit && fit->hasCurrent(); fit->advance()) {
        std::unique_ptr<IPhysFunction> function(fit->current());
        ++functions;
        std::unique_ptr<CPhysIterator<IPhysPin>> pit(function->beginPin());
        for (; pit && pit->hasCurrent(); pit->advance()) {
            if (progress) {
                // A part with more pins than rows it had passes 100%; a part that had none shows its count.
                const int total = std::max(progress->Total(), 1);
                CString text;
                text.Format("Processed %d%% of %d Pins", (handled + 1) * 100 / total, progress->Total());
                progress->Step(text);
            }
            ++handled;
            std::unique_ptr<IPhysPin> pin(pit->current());
            InsertRows(row, 1, kNoUpdate);
            if (FillPinRows(pin.get(), function->functionNumber(), row))
                ++row;
            else
                RemoveRows(row, row, kNoUpdate);
        }
    }
    return functions;
}

void CKXPhysPartDetailsGridWnd::SetTitle(const CString& title) {
    CGXStyle s;
    s.SetValue(title)
        .SetHorizontalAlignment(DT_LEFT)
        .SetVerticalAlignment(DT_VCENTER)
        .SetControl(Id(IDS_CTRL_PHYSPART_DETAILS_HEADER))
        .SetFont(CGXFont().SetFaceName("Tahoma").SetBold(TRUE));
    SetStyleRange(CGXRange(0, 0), s, gxOverride, 0, kNoUpdate);
}

// After a fill: sorted by pin number, the block filter, then the row filter and the function filter.
void CKXPhysPartDetailsGridWnd::FinishLoad() {
    SetSortColumn(s_nRowHeaderCol);
    SortColumn(s_nPNCol);
    RefreshRows();
    CWaitCursor wait;
    DeselectAllRows();
    FilterRows(0);
    ApplyFunctionFilter(m_nFunctionFilter, TRUE);
    if (GetRowCount() >= kPartFirstRow) SetTopRow(kPartFirstRow, kNoUpdate);
    IndexPinRows();
    FitRowHeaderColumn();
    m_bShownInstancesStale = true; // the parts' instances are read on the next commit that needs them
}

void CKXPhysPartDetailsGridWnd::IndexPinRows() {
    IndexKeyedRows();
}

int CKXPhysPartDetailsGridWnd::LoadPhysPart(CDesignContext design, const std::vector<IPhysPartInst*>& parts,
                                            const CString& excludedPaths) {
    m_bObjectLoaded = 1;
    {
        RowWriteScope scope(*this);
        for (IPhysPartInst* part : parts)
            PopulatePhysPart(design, part, excludedPaths, FALSE);
        FinishLoad();
    }
    return 1;
}

BOOL CKXPhysPartDetailsGridWnd::PopulatePhysPart(CDesignContext, IPhysPartInst* part, CString excludedPaths,
                                                 BOOL bForce) {
    if (!part) return FALSE;
    const bool multiple = m_bObjectLoaded != 0;
    if (CKXColumnInfoClass* info = Columns().Find(s_nPhysPartCol)) info->m_bShown = multiple ? 1 : 0;
    m_strExcludedPaths = excludedPaths;
    const CString name = part->name();
    CWaitCursor wait;
    if (!bForce && name == m_strRefDes && !m_bFunctionFilterSet) return TRUE;
    {
        RowWriteScope scope(*this);
        m_mapShownParts.insert(name);
        if (m_bApplyColumnWidths && GetSafeHwnd()) {
            m_bApplyColumnWidths = FALSE;
            ApplyColumnWidths();
        }
        if (!multiple) {
            if (GetRowCount() >= kPartFirstRow) RemoveRows(kPartFirstRow, GetRowCount(), kNoUpdate);
            ClearPinMap();
        } else {
            RemovePartRows(name); // a part given again is shown once
        }
        m_strRefDes = name;
        CString title = "Physical Part : " + name;
        CString header = name;
        if (multiple) {
            title = header = "Multiple Components";
            if (m_pHeader) m_pHeader->ShowFunctionCombo(FALSE);
        }
        if (m_pHeader) m_pHeader->SetPartText(header);
        SetTitle(title);
        ROWCOL row = GetRowCount() + 1;
        if (row < kPartFirstRow) row = kPartFirstRow;
        const int functions = FillPart(part, row);
        if (CKXShareGlobalData::m_bShowPowerPins) AddImplicitPins(part, row);
        m_nFunctionFilter = 0;
        UpdateFunctionCombo(part, functions);
        if (!multiple) FinishLoad();
        m_bFunctionFilterSet = FALSE;
    }
    delete CKXProgressBar::m_pProgressBar;
    CKXProgressBar::m_pProgressBar = nullptr;
    return TRUE;
}

int CKXPhysPartDetailsGridWnd::RemovePartRows(const CString& refDes) {
    // From the bottom up, each run of the part's adjacent rows goes in one removal.
    int removed = 0;
    ROWCOL runEnd = 0; // the last row of the run being collected; 0 when none
    auto removeRun = [&](ROWCOL first) {
        if (runEnd) RemoveRows(first, runEnd, kNoUpdate);
        runEnd = 0;
    };
    for (ROWCOL r = GetRowCount(); r >= kPartFirstRow; --r) {
        if (StoredText(r, C(s_nPhysPartCol)) != refDes) {
            removeRun(r + 1);
            continue;
        }
        m_mapPins.Remove(RowKey(r));
        if (!runEnd) runEnd = r;
        ++removed;
    }
    removeRun(kPartFirstRow);
    return removed;
}

void CKXPhysPartDetailsGridWnd::ReloadPartPins() {
    if (m_strLoadedRefDes.IsEmpty()) m_strLoadedRefDes = m_strRefDes;
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, m_strLoadedRefDes.GetString()));
    if (!part) return;
    CWaitCursor wait;
    {
        RowWriteScope scope(*this);
        const bool multiple = m_bObjectLoaded != 0;
        int total = 0; // the rows the part had: the progress counts the pins against them
        if (!multiple) {
            if (GetRowCount() >= kPartFirstRow) {
                total = static_cast<int>(GetRowCount() - kPartFirstRow + 1);
                RemoveRows(kPartFirstRow, GetRowCount(), kNoUpdate);
            }
            ClearPinMap();
        } else {
            total = RemovePartRows(m_strLoadedRefDes);
        }
        ROWCOL row = std::max<ROWCOL>(GetRowCount() + 1, kPartFirstRow);
        KXPhysProgress progress("Processing Pins", total);
        const int functions = FillPart(part.get(), row, &progress);
        // Implicit pins follow the power-pin option like a first fill does.
        if (CKXShareGlobalData::m_bShowPowerPins) AddImplicitPins(part.get(), row);
        m_nFunctionFilter = 0;
        UpdateFunctionCombo(part.get(), functions);
        FinishLoad();
        m_bFunctionFilterSet = FALSE;
    }
}

void CKXPhysPartDetailsGridWnd::RefreshPinRows(const CString& refDes, const std::set<CString>& pinNumbers) {
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, refDes.GetString()));
    if (!part) return;
    RowWriteScope scope(*this);
    for (const CString& number : pinNumbers) {
        const ROWCOL row = FindPinRow(refDes, number);
        if (!row) continue;
        std::unique_ptr<IPhysPin> pin(part->getPhysPin(number.GetString()));
        if (!pin) continue;
        const CString key = m_mapPins.Key(refDes, number);
        m_mapPins.Remove(key);
        const KXRowAttrs attrs(*this, row);
        const int function = attrs.Get(C(s_nPNCol), kPinFunction);
        const bool filtered = attrs.Get(C(s_nPNCol), kBlockFiltered);
        FillPinRows(pin.get(), function, row);
        if (filtered)
            SetStyleRange(CGXRange(row, C(s_nPNCol)), WithAttr(CGXStyle(), kBlockFiltered, true), gxOverride,
                          0, kNoUpdate);
        if (!GetRowPins(row)) {
            // The package pin carries no logical pin any more: its model cell is empty.
            SetStyleRange(CGXRange(row, ModelColumn()),
                          CGXStyle().SetValue("").SetControl(Id(kStaticControl)).SetReadOnly(TRUE),
                          gxOverride, 0, kNoUpdate);
        }
    }
}

// ---------------------------------------------------------------------------
// Block filter and renames

void CKXPhysPartDetailsGridWnd::RefreshRows() {
    CWaitCursor wait;
    RowWriteScope scope(*this);
    const ROWCOL last = GetRowCount();
    if (last >= kPartFirstRow) HideRows(kPartFirstRow, last, FALSE, nullptr, kNoUpdate, gxDo);
    for (ROWCOL r = kPartFirstRow; r <= last; ++r) {
        bool excluded = false;
        if (const std::vector<CInstTermBitContext>* bits = GetRowPins(r))
            for (const CInstTermBitContext& bit : *bits)
                if (!m_strExcludedPaths.IsEmpty() &&
                    CKXGenUtils::IsSPathToBeExcluded(m_strExcludedPaths, bit.spath())) {
                    excluded = true;
                    break;
                }
        SetStyleRange(CGXRange(r, C(s_nPNCol)), WithAttr(CGXStyle(), kBlockFiltered, excluded), gxOverride, 0,
                      kNoUpdate);
        if (excluded) HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
    }
    for (ROWCOL c = C(s_nPNCol); c <= GetColCount(); ++c)
        SetValueRange(CGXRange(kPartFilterRow, c), "*", gxOverride, 0, kNoUpdate);
}

void CKXPhysPartDetailsGridWnd::SetExcludedSpathList(CString refDes, CString excludedPaths) {
    if (refDes.CompareNoCase(m_strRefDes) != 0 && !m_mapShownParts.count(refDes)) return;
    m_strExcludedPaths = excludedPaths;
    RefreshRows();
    FilterRows(0);
    ApplyFunctionFilter(m_nFunctionFilter, TRUE);
}

void CKXPhysPartDetailsGridWnd::RenameSignalInRows(const CString& newName, const CString& oldName) {
    RowWriteScope scope(*this);
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r)
        if (GetValueRowCol(r, C(s_nSignalCol)).CompareNoCase(oldName) == 0)
            SetStyleRange(CGXRange(r, C(s_nSignalCol)), PinCell(newName).SetReadOnly(TRUE), gxOverride, 0,
                          kNoUpdate);
}

void CKXPhysPartDetailsGridWnd::SetRefDes(CString refDes) {
    m_strRefDes = refDes;
    UpdateHeaderText();
}

void CKXPhysPartDetailsGridWnd::UpdateHeaderText() {
    if (m_bObjectLoaded || m_strRefDes.IsEmpty() || !m_pHeader) return;
    m_pHeader->SetPartText(m_strRefDes);
    m_pHeader->Invalidate(TRUE);
    m_pHeader->UpdateWindow();
}

void CKXPhysPartDetailsGridWnd::ClearPinMap() {
    m_mapPins.Clear();
    ForgetKeyedRows();
}
