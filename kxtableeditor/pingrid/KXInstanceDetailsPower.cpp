// Implicit power pins: package pins the symbol does not show, listed below an
// instance's pins as one group row per pin name with its pin rows. Signals
// given to them are power assignments, not connections.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPower.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXGridSite.h"
#include "grid/KXProjectReader.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <map>
#include <memory>
#include <set>

BOOL CKXInstanceDetailsGridWnd::m_bAllowPowerPins = FALSE;

using kxpingrid::Col;
using kxpingrid::Decimal;
using kxpingrid::GridWriteScope;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

namespace {

// The signals of an instance's implicit power pins by pin number, read from the instance once for
// all of its rows.
std::map<CString, CString> InstancePowerSignals(const IInstance* instance) {
    std::map<CString, CString> signals;
    if (instance)
        for (const CImplicitPowerPin& p : instance->implicitPowerPins())
            signals.try_emplace(p.pinNumber, p.netName);
    return signals;
}

} // namespace

void KXPinGridPower::ReadAllowPowerPins() {
    CKXProjectReader reader;
    if (reader.ProjectFindProgram("VellumDraw") != KXPROJ_OK) return;
    CString value;
    CKXInstanceDetailsGridWnd::m_bAllowPowerPins =
        reader.ProjectFindDirective("ALLOW_POWER_PINS") == KXPROJ_OK &&
                reader.ProjectGetDirectiveString(value) == KXPROJ_OK && value.CompareNoCase("on") == 0
            ? TRUE
            : FALSE;
}

void KXPinGridPower::FreeImplicitPinArray(CKXImplicitPinArray* pPins) {
    if (!pPins) return;
    for (INT_PTR i = 0; i < pPins->GetSize(); ++i)
        delete pPins->GetAt(i);
    pPins->RemoveAll();
    delete pPins;
}

void KXPinGridPower::AddImplicitPowerPins(int& nRow, CInstanceContext& instance, const CString& strPinName,
                                          CKXImplicitPinArray* pPins) {
    ReadAllowPowerPins();
    if (!pPins || pPins->GetSize() == 0 || !instance) return;
    const int groupRow = nRow;
    CString numbers;
    for (INT_PTR i = 0; i < pPins->GetSize(); ++i) {
        if (i) numbers += ",";
        numbers += pPins->GetAt(i)->m_strPinNumber;
    }
    InsertImplicitPowerPinRow(nRow, instance, strPinName, numbers, pPins->GetAt(0)->m_strKind, "", 1);
    for (INT_PTR i = 0; i < pPins->GetSize(); ++i) {
        const CImplicitPin* pin = pPins->GetAt(i);
        const int row = nRow;
        InsertImplicitPowerPinRow(nRow, instance, strPinName, pin->m_strPinNumber, pin->m_strKind,
                                  pin->m_strSignal, 2);
        m_grid.SetCellUserAttribute(static_cast<ROWCOL>(row), Col(m_grid.m_nColPinName),
                                    IDS_UA_PARENT_ROW_OFFSET, static_cast<double>(i + 1));
    }
    m_grid.m_signalCells->SetConnectionCell(static_cast<ROWCOL>(groupRow));
    m_grid.ToggleRow(static_cast<ROWCOL>(groupRow));
}

void KXPinGridPower::InsertImplicitPowerPinRow(int& nRow, CInstanceContext& instance,
                                               const CString& strPinName, const CString& strPinNumber,
                                               const CString& strKind, const CString& strSignal, int nMode) {
    const ROWCOL row = static_cast<ROWCOL>(nRow);
    GridWriteScope unlocked(m_grid, GridWriteScope::kLock);
    CGXGridParam* pParam = m_grid.GetParam();
    const BOOL bUndo = pParam ? pParam->IsEnableUndo() : FALSE;
    if (pParam) pParam->EnableUndo(FALSE);
    m_grid.InsertRows(row, 1, kNoUpdate, gxDo);
    const CString level = Decimal(nMode);
    auto cell = [&](const CString& value, UINT control) {
        CGXStyle style;
        style.SetValue(value).SetControl(Id(control)).SetReadOnly(TRUE).SetWrapText(FALSE);
        style.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
        style.SetUserAttribute(Id(IDS_UA_ROW_LEVEL), level);
        return style;
    };
    const CString index = Decimal(instance->id());
    const char* location = instance.physicalPackageName();
    CGXStyle inst = cell(instance.name(), IDS_UA_SCALAR_PINNAME_CELL);
    inst.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColInstance)), inst, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle ref = cell(location ? location : "", IDS_UA_SCALAR_PINNAME_CELL);
    ref.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColRefDes)), ref, gxOverride, 0, kNoUpdate, gxDo);

    CGXStyle name = cell(strPinName, nMode == 1 ? IDS_CTRL_MINUS_BUTTON : IDS_UA_SCALAR_PINNAME_CELL);
    name.SetUserAttribute(Id(IDS_UA_IMPLICIT_POWER_PIN), 1).SetUserAttribute(Id(IDS_UA_INSTTERM_ID), 0);
    if (nMode == 1) {
        name.SetUserAttribute(Id(IDS_UA_EXPAND_STATE), 1).SetUserAttribute(Id(IDS_UA_VECTOR_GROUP), 1);
        name.SetUserAttribute(Id(IDS_UA_VECTOR_BASENAME), strPinName);
    } else {
        name.SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), 1);
    }
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPinName)), name, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPinNumber)), cell(strPinNumber, IDS_CTRL_STATIC_TEXT),
                         gxOverride, 0, kNoUpdate, gxDo);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPinType)), cell(strKind, IDS_CTRL_STATIC_TEXT),
                         gxOverride, 0, kNoUpdate, gxDo);

    int bit = -1;
    INet* net =
        strSignal.IsEmpty() ? nullptr : CKXGenUtils::GetNetFromPNN(m_grid.m_designContext, strSignal, bit);
    CGXStyle sig =
        cell(strSignal.IsEmpty() ? CString()
                                 : CKXGenUtils::GetPowerSigLogicalName(m_grid.m_designContext, strSignal),
             IDS_CTRL_VECTOR_CONNECTIVITY);
    sig.SetFont(CGXFont().SetItalic(TRUE)).SetInterior(RGB(255, 255, 255)).SetEnabled(TRUE);
    // A group's pins take no typing of their own unless the project allows it; in a window opened in
    // its parent's context, which edits nothing, no power row takes any.
    const bool contextWindow = m_grid.Site() && m_grid.Site()->OpenMode() == eOpenModeContext;
    sig.SetReadOnly((nMode == 2 && !m_grid.m_bAllowPowerPins) || contextWindow ? TRUE : FALSE);
    sig.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_TOOLTIP_TITLE), "");
    sig.SetUserAttribute(Id(IDS_UA_CONN_INDEX), net ? static_cast<int>(net->id()) : -1);
    sig.SetUserAttribute(Id(IDS_UA_NET_BIT), net ? bit : -1);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColSignal)), sig, gxOverride, 0, kNoUpdate, gxDo);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColTermination)), cell("", IDS_CTRL_STATIC_TEXT),
                         gxOverride, 0, kNoUpdate, gxDo);
    for (std::size_t c = 3; c < m_grid.m_arrColumnInfo.size(); ++c)
        if (m_grid.m_arrColumnInfo[c]->m_strPropertyName == "PINUSE")
            m_grid.WritePropertyCell(row, static_cast<int>(c), "", 3, level);
    if (pParam) pParam->EnableUndo(bUndo);
    ++nRow;
}

BOOL CKXInstanceDetailsGridWnd::IsImplicitPowerPinRow(ROWCOL nRow, int* pbGroup) {
    if (nRow < PIN_FIRST_ROW || nRow > GetRowCount()) return FALSE;
    CGXStyle style;
    GetStyleRowCol(nRow, Col(m_nColPinName), style);
    auto has = [&style](UINT id) {
        return style.GetIncludeUserAttribute(Id(id)) && !style.GetUserAttributeText(Id(id)).IsEmpty();
    };
    if (!has(IDS_UA_IMPLICIT_POWER_PIN)) return FALSE;
    if (pbGroup && has(IDS_UA_EXPAND_STATE)) *pbGroup = 1;
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::ExpandImplicitPowerPinRows(CDWordArray& rows, int& nCount) {
    ReplaceParentRows(rows, nCount, [this](ROWCOL r) {
        int group = 0;
        return IsImplicitPowerPinRow(r, &group) && group;
    });
    return TRUE;
}

void CKXInstanceDetailsGridWnd::StoreImplicitPinSignal(ROWCOL nRow, CString strSignal) {
    if (IsImplicitPowerPinRow(nRow, nullptr)) m_mapImplicitPinSignal[static_cast<int>(nRow)] = strSignal;
}

BOOL KXPinGridPower::CreatePowerNet(CString strSignal) {
    CString name;
    int lsb = -1, msb = -1;
    if (!CKXGenUtils::ParseSignalName(strSignal, name, lsb, msb)) return FALSE;
    if (!m_grid.m_designContext || m_grid.m_designContext.design()->findNet(name.GetString())) return FALSE;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    if (!transaction) return FALSE;
    INet* net = transaction->createNet(name.GetString(), static_cast<unsigned>(msb),
                                       static_cast<unsigned>(lsb), INet::eScopeDesign);
    if (!net) return FALSE;
    transaction->addNet(net);
    // Known to the open edit like any net it made: a paste taken back forgets it, the dialog offers it.
    m_grid.RecordTransactionNet(name, net);
    m_grid.OfferNewNetName(name, net);
    return TRUE;
}

CString KXPinGridPower::ImplicitPinSignal(ROWCOL row, ROWCOL group) {
    auto stored = m_grid.m_mapImplicitPinSignal.find(static_cast<int>(row));
    if (stored == m_grid.m_mapImplicitPinSignal.end() && row != group)
        stored = m_grid.m_mapImplicitPinSignal.find(static_cast<int>(group));
    if (stored != m_grid.m_mapImplicitPinSignal.end())
        return CKXGenUtils::GetPowerSigPhysicalName(m_grid.m_designContext, stored->second);
    // Not given a signal in this edit: the row keeps the net its cell shows.
    CGXStyle sig;
    m_grid.GetStyleRowCol(row, Col(m_grid.m_nColSignal), sig);
    auto number = [&sig](UINT id) {
        return sig.GetIncludeUserAttribute(Id(id))
                   ? static_cast<int>(sig.GetUserAttribute(Id(id)).GetDoubleValue())
                   : -1;
    };
    const int netId = number(IDS_UA_CONN_INDEX);
    const CNetContext net =
        netId == -1 ? CNetContext() : m_grid.m_designContext.net(static_cast<unsigned>(netId));
    return net ? net.bitContext(number(IDS_UA_NET_BIT)).base().physicalNetName() : sig.GetValue();
}

void KXPinGridPower::CollectImplicitPins(ImplicitPinsByInstance& byInstance) {
    auto collect = [&](ROWCOL row, ROWCOL group) {
        auto pin = std::make_unique<CImplicitPin>();
        pin->m_strPinName = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinName));
        pin->m_strPinNumber = m_grid.GetValueRowCol(row, Col(m_grid.m_nColPinNumber));
        pin->m_strSignal = ImplicitPinSignal(row, group);
        const bool nc = CKXGenUtils::IsNC(pin->m_strSignal) ||
                        (pin->m_strSignal.IsEmpty() && CKXGenUtils::IsNC(pin->m_strPinName));
        pin->m_strKind = nc ? "NC" : "Power";
        byInstance[m_grid.GetRowInstanceIndex(row)].push_back(std::move(pin));
    };
    // A pin under a group row is sent once, with its group.
    std::set<ROWCOL> sent;
    for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid.GetRowCount(); ++r) {
        int group = 0;
        if (!m_grid.IsImplicitPowerPinRow(r, &group) || sent.count(r)) continue;
        if (group) {
            std::list<int> children;
            m_grid.GetChildRows(r, children, TRUE);
            for (int child : children)
                if (sent.insert(static_cast<ROWCOL>(child)).second) collect(static_cast<ROWCOL>(child), r);
        } else {
            sent.insert(r);
            collect(r, m_grid.GetRowParentOffset(r));
        }
    }
}

bool KXPinGridPower::SplitsPowerPinGroup(const ImplicitPinsByInstance& byInstance, CString& pinName,
                                         CString& instanceName) const {
    for (const auto& [index, pins] : byInstance) {
        const CInstanceContext inst = m_grid.m_designContext.instance(static_cast<unsigned>(index));
        if (!inst) continue;
        std::map<CString, CString> partNets; // a released pin takes its part's net again
        for (const CImplicitPowerPin& p : inst.instance()->implicitPowerPins())
            partNets.try_emplace(p.pinName, p.partNetName);
        std::map<CString, CString> netByName;
        for (const auto& pin : pins) {
            CString net = pin->m_strSignal;
            if (net.IsEmpty())
                net =
                    CKXGenUtils::GetPowerSigPhysicalName(m_grid.m_designContext, partNets[pin->m_strPinName]);
            const auto [first, added] = netByName.try_emplace(pin->m_strPinName, net);
            if (added || first->second.CompareNoCase(net) == 0) continue;
            pinName = pin->m_strPinName;
            instanceName = inst.name();
            return true;
        }
    }
    return false;
}

BOOL CKXInstanceDetailsGridWnd::AssignPowerToImplicitPins() {
    if (m_mapImplicitPinSignal.empty()) return FALSE;
    // The design ties the implicit pins of one name together: an edit that would give them different
    // nets is refused before it makes anything, its new nets included.
    {
        KXPinGridPower::ImplicitPinsByInstance wanted;
        m_power->CollectImplicitPins(wanted);
        CString pin, instance;
        if (m_power->SplitsPowerPinGroup(wanted, pin, instance)) {
            m_mapImplicitPinSignal.clear();
            CKXErrorHandler::MessageBoxOk("KXTABLE-395", pin, instance, pin);
            return kPowerTieRefused;
        }
    }
    bool created = false;
    for (const auto& [row, text] : m_mapImplicitPinSignal)
        if (m_power->CreatePowerNet(text)) created = true;
    // An own edit commits the new nets before the ties. Inside the host's edit nothing is committed
    // before the host ends it (the ties see the nets in the open transaction), so that a nested edit
    // and the host can still take back all they did.
    if (created && !m_bHostCommits && CKXTransaction::IsTransactionStarted()) {
        CommitOwnTransaction(1, 0);
        CKXTransaction::GetNewTransactionObj();
    }
    KXPinGridPower::ImplicitPinsByInstance byInstance;
    m_power->CollectImplicitPins(byInstance);
    m_mapImplicitPinSignal.clear();
    // Each instance answers for its own pins: the edit changed something when any of them changed,
    // and nothing of it may stay when any of them was refused.
    IKXGridSite* site = Site();
    BOOL changed = FALSE;
    for (const auto& [index, pins] : byInstance) {
        if (!site) break;
        const CInstanceContext inst = m_designContext.instance(static_cast<unsigned>(index));
        CStringArray names;
        names.Add(inst ? inst.name() : CString());
        std::vector<CImplicitPin*> list;
        for (const auto& p : pins)
            list.push_back(p.get());
        const BOOL assigned = site->AssignPowerInListPane(list, &names);
        if (assigned == kPowerTieRefused) return kPowerTieRefused;
        if (assigned) changed = TRUE;
    }
    return changed;
}

void KXPinGridPower::RefreshPowerPinSignalCell(const std::map<CString, CString>& signalsByNumber,
                                               ROWCOL nRow) {
    const auto found = signalsByNumber.find(m_grid.GetValueRowCol(nRow, Col(m_grid.m_nColPinNumber)));
    const CString signal = found == signalsByNumber.end() ? CString() : found->second;
    int bit = -1;
    INet* net = signal.IsEmpty() ? nullptr : CKXGenUtils::GetNetFromPNN(m_grid.m_designContext, signal, bit);
    const bool italic = !(net && signal != m_grid.GetValueRowCol(nRow, Col(m_grid.m_nColPinName)));
    CGXStyle sig;
    sig.SetValue(signal.IsEmpty() ? CString()
                                  : CKXGenUtils::GetPowerSigLogicalName(m_grid.m_designContext, signal));
    sig.SetFont(CGXFont().SetItalic(italic ? TRUE : FALSE));
    sig.SetUserAttribute(Id(IDS_UA_CONN_INDEX), net ? static_cast<int>(net->id()) : -1);
    sig.SetUserAttribute(Id(IDS_UA_NET_BIT), net ? bit : -1);
    GridWriteScope unlocked(m_grid, GridWriteScope::kLock);
    m_grid.SetStyleRange(CGXRange(nRow, Col(m_grid.m_nColSignal)), sig, gxOverride, 0, kNoUpdate, gxDo);
}

void KXPinGridPower::RefreshPowerPinSignals(IInstance* pInstance) {
    if (!pInstance) return;
    const std::map<CString, CString> signals = InstancePowerSignals(pInstance);
    std::vector<ROWCOL> groups;
    for (ROWCOL r = PIN_FIRST_ROW; r <= m_grid.GetRowCount(); ++r) {
        int group = 0;
        if (!m_grid.IsImplicitPowerPinRow(r, &group)) continue;
        if (group) {
            groups.push_back(r);
        } else if (m_grid.GetRowInstanceIndex(r) == static_cast<int>(pInstance->id())) {
            RefreshPowerPinSignalCell(signals, r);
        }
    }
    for (ROWCOL g : groups)
        m_grid.m_signalCells->SetConnectionCell(g);
}

void KXPinGridPower::RefreshPowerPinsAfterCommit(const KXChangeDigest& digest) {
    if (!m_grid.m_designContext) return;
    GridWriteScope unlocked(m_grid, GridWriteScope::kLock);
    IServer* server = digest.Server();
    std::set<unsigned> ids;
    std::vector<IChange*> changes = digest.Of('I');
    changes.insert(changes.end(), digest.Of('P').begin(), digest.Of('P').end());
    for (IChange* change : changes) {
        if (!change) continue;
        if (change->objectType() == 'I' && (change->changeKind() == 13 || change->changeKind() == 14) &&
            m_grid.IsSameDesign(change->design())) {
            const auto* inst = dynamic_cast<const IInstance*>(change->object());
            if (inst && m_grid.IsShownInstance(inst)) ids.insert(inst->id());
        } else if (change->objectType() == 'P' && server) {
            CString path, name, oldValue, newValue;
            if (!server->decodePropertyChange(change, path, name, oldValue, newValue)) continue;
            const auto* prop = dynamic_cast<const CPropertyChange*>(change->object());
            const auto* inst = prop ? dynamic_cast<const IInstance*>(prop->owner()) : nullptr;
            if (!inst || !m_grid.IsSameDesign(inst->design()) || !m_grid.IsShownInstance(inst)) continue;
            if (name.CompareNoCase("PACK_TYPE") == 0) {
                m_grid.RefreshInstances(nullptr);
                return;
            }
            if (name.CompareNoCase("POWER_PINS") == 0 || name.CompareNoCase("NC_PINS") == 0 ||
                name.CompareNoCase("MERGE_POWER_PINS") == 0 || name.CompareNoCase("MERGE_NC_PINS") == 0)
                ids.insert(inst->id());
        }
    }
    for (unsigned id : ids)
        RefreshPowerPinSignals(m_grid.m_designContext.design()->findInstance(id));
}

void KXPinGridPower::AddInstanceImplicitPins(int& nRow, CInstanceContext& instance) {
    std::unique_ptr<IPhysPartDefn> defn(CKXGenUtils::GetPhysPartDefn(instance));
    if (!defn) return;
    CKXImplicitPinMap map(10);
    CKXGenUtils::GetImplicitPins(defn.get(), map);
    // The entries in name order, each with the instance's own power choices.
    std::map<CString, CKXImplicitPinArray*> ordered;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString name;
        CKXImplicitPinArray* pins = nullptr;
        map.GetNextAssoc(pos, name, pins);
        ordered[name] = pins;
    }
    map.RemoveAll();
    const std::map<CString, CString> signals = InstancePowerSignals(instance.instance());
    for (auto& [name, pins] : ordered) {
        if (pins)
            for (INT_PTR i = 0; i < pins->GetSize(); ++i) {
                const auto found = signals.find(pins->GetAt(i)->m_strPinNumber);
                if (found != signals.end()) pins->GetAt(i)->m_strSignal = found->second;
            }
        AddImplicitPowerPins(nRow, instance, name, pins);
        FreeImplicitPinArray(pins);
    }
}

LRESULT CKXInstanceDetailsGridWnd::OnShowPowerPinsChanged(WPARAM, LPARAM) {
    if (m_arrInstanceIds.empty()) return 0;
    ReadRowsAgain();
    return 1;
}

void CKXInstanceDetailsGridWnd::ShowDesignAfterRefusal() {
    ReadRowsAgain();
}

void CKXInstanceDetailsGridWnd::ReadRowsAgain() {
    if (m_arrInstanceIds.empty()) return;
    const BOOL bWasLocked = LockUpdate(TRUE);
    {
        GridWriteScope noUndo(*this, GridWriteScope::kUndo);
        RefreshInstances(nullptr);
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
    ForgetDroppedEdit();
}
