// The physical part grid after a committed transaction: rows of package pins
// whose pin numbers changed are read again (a section change reloads the part),
// custom property columns of a changed property are filled again, and the model
// cells of pins whose model another window changed are restyled.
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <map>
#include <memory>
#include <set>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

// The reference designator of the instance behind a changed object; empty for other objects.
CString PackageOf(const CContext* object) {
    const char* name = nullptr;
    if (auto* bit = dynamic_cast<const CInstTermBitContext*>(object))
        name = bit->instance().physicalPackageName();
    else if (auto* pin = dynamic_cast<const CInstTermContext*>(object))
        name = pin->instance().physicalPackageName();
    else if (auto* inst = dynamic_cast<const CInstanceContext*>(object))
        name = inst->physicalPackageName();
    return name ? CString(name) : CString();
}

// 1 instance, 2 pin or pin bit, 3 net; 0 for other objects.
int KindOf(const CContext* object) {
    if (dynamic_cast<const CInstanceContext*>(object)) return 1;
    if (dynamic_cast<const CInstTermBitContext*>(object) || dynamic_cast<const CInstTermContext*>(object)) return 2;
    if (dynamic_cast<const CNetContext*>(object) || dynamic_cast<const CNetBitContext*>(object)) return 3;
    return 0;
}

struct PropertyChange {
    CString path, name, oldValue, newValue, package;
    int kind = 0;
};

} // namespace

LRESULT CKXPhysPartDetailsGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    IServer* server = CKXShareGlobalData::m_pServer;
    if (!transaction || !server || !transaction->modifiesObjectType('P')) return 0;
    // The property changes of the shown parts.
    std::vector<PropertyChange> changes;
    std::set<CString> netProperties; // a net has no package: its columns are filled again all the same
    for (IChange* change : transaction->beginChange()) {
        if (!change || change->objectType() != 'P') continue;
        const char *path = nullptr, *name = nullptr, *oldValue = nullptr, *newValue = nullptr;
        const CContext* owner = server->decodePropertyChange(change, &path, &name, &oldValue, &newValue);
        if (!owner) continue;
        PropertyChange c;
        c.package = PackageOf(owner);
        const bool counted = m_bObjectLoaded ? m_setShownParts.count(c.package) != 0
                                             : (!c.package.IsEmpty() && c.package == m_strRefDes);
        if (!counted) {
            if (KindOf(owner) == 3 && name) netProperties.insert(name);
            continue;
        }
        c.path = path ? path : "";
        c.name = name ? name : "";
        c.oldValue = oldValue ? oldValue : "";
        c.newValue = newValue ? newValue : "";
        c.kind = change->changeKind();
        changes.push_back(c);
    }
    if (changes.empty() && netProperties.empty()) return 0;
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const BOOL locked = LockUpdate(TRUE);
    // Pin numbers: the rows of the old and the new number are read again; a section change moves
    // the instance's pins, so its part is read again as a whole.
    std::map<CString, std::set<CString>> numbers;
    std::set<CString> reload;
    std::map<CString, int> columns; // property name -> kind, for custom property columns
    for (const CString& property : netProperties)
        columns[property] = 3;
    for (const PropertyChange& c : changes) {
        const bool valueChanged = c.oldValue.Compare(c.newValue) != 0;
        if (c.name.CompareNoCase("PN") == 0 && valueChanged) {
            if (!c.oldValue.IsEmpty()) numbers[c.package].insert(c.oldValue);
            if (!c.newValue.IsEmpty()) numbers[c.package].insert(c.newValue);
        } else if (c.name.CompareNoCase("SEC") == 0 && valueChanged) {
            reload.insert(c.package);
        }
        std::unique_ptr<CContext> object(server->getContext(c.path.GetString()));
        if (const int kind = KindOf(object.get())) columns[c.name] = kind;
    }
    for (const CString& part : reload) {
        numbers.erase(part);
        m_strLoadedRefDes = part;
        ReloadPartPins();
    }
    for (const auto& [part, set] : numbers)
        RefreshPinRows(part, set);
    for (const auto& [property, kind] : columns)
        for (std::size_t i = 1; i < s_arrColumnInfo.size(); ++i) {
            const CKXColumnInfoClass* info = s_arrColumnInfo[i];
            if (info->m_nPropertyType != 0 && info->m_strPropertyName.CompareNoCase(property) == 0) {
                FillPropertyColumn(property, kind, static_cast<ROWCOL>(info->m_nColumn), static_cast<ROWCOL>(-1));
                break;
            }
        }
    // Models changed elsewhere: this grid restyles its own edits itself.
    // (An undo replays the design change only: the grid restyles its cells from the design then.)
    const bool own = m_bCommitting || (CKXTransaction::IsTransactionStarted() && CKXTransaction::GetGrid() == this);
    if (!own)
        for (const PropertyChange& c : changes)
            if (c.name.CompareNoCase("PIN_SIGNAL_MODEL") == 0 &&
                (c.newValue.IsEmpty() || c.newValue.CompareNoCase(c.oldValue) != 0))
                RefreshModelCellsOfPin(c.path);
    if (param) param->EnableUndo(undo);
    LockUpdate(locked);
    Redraw(2, 1);
    return 0;
}

void CKXPhysPartDetailsGridWnd::RefreshModelCellsOfPin(CString path) {
    if (path.IsEmpty()) return;
    IServer* server = CKXShareGlobalData::m_pServer;
    std::unique_ptr<CContext> object(server ? server->getContext(path.GetString()) : nullptr);
    const auto* bit = dynamic_cast<const CInstTermBitContext*>(object.get());
    const auto* pin = dynamic_cast<const CInstTermContext*>(object.get());
    CInstanceContext inst = bit ? bit->instance() : pin ? pin->instance() : CInstanceContext();
    const char* package = inst ? inst.physicalPackageName() : nullptr;
    if (!package) return;
    // The pin numbers of the changed bits name their rows.
    std::set<CString> seen;
    auto restyle = [&](const CInstTermBitContext& b) {
        const CString number = CKXGenUtils::GetPinNumber(b);
        if (number.IsEmpty() || !seen.insert(number).second) return;
        if (const ROWCOL row = FindPinRow(package, number)) SetSignalModelCellStyle(row);
    };
    CGXGridParam* param = GetParam();
    const BOOL lock = param ? param->IsLockReadOnly() : FALSE;
    if (param) param->SetLockReadOnly(FALSE);
    if (bit)
        restyle(*bit);
    else if (IInstTerm* term = pin->instTerm())
        for (int b : term->bits())
            restyle(pin->bitContext(b));
    if (param) param->SetLockReadOnly(lock);
}

void CKXPhysPartDetailsGridWnd::RefreshRowsByName(CString refDes) {
    if (refDes.CompareNoCase(m_strRefDes) == 0) RestyleModelCells();
}

void CKXPhysPartDetailsGridWnd::RestyleModelCells() {
    const BOOL locked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r)
        SetSignalModelCellStyle(r);
    if (param) param->EnableUndo(undo);
    LockUpdate(locked);
    Redraw(2, 1);
}

void CKXPhysPartDetailsGridWnd::FillPropertyColumn(CString property, int kind, ROWCOL col, ROWCOL row) {
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    const BOOL lock = param ? param->IsLockReadOnly() : FALSE;
    if (param) {
        param->EnableUndo(FALSE);
        param->SetLockReadOnly(FALSE);
    }
    const ROWCOL first = row == static_cast<ROWCOL>(-1) ? kPartFirstRow : row;
    const ROWCOL last = row == static_cast<ROWCOL>(-1) ? GetRowCount() : row;
    for (ROWCOL r = first; r <= last && r <= GetRowCount(); ++r) {
        CInstTermBitContext bit;
        if (!GetInstTermOfRow(r, &bit)) continue;
        CString value;
        if (kind == 1) {
            CInstanceContext inst = bit.instance();
            std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, &inst));
            if (const char* v = part ? part->getProperty(property.GetString(), true) : nullptr) value = v;
        } else if (kind == 2) {
            std::unique_ptr<CPQPropertyData> p(bit.findProperty(property.GetString(), true));
            if (p) value = p->value();
        } else if (kind == 3) {
            const CNetBitContext net = bit.netbitInner();
            std::unique_ptr<CPQPropertyData> p(net ? net.findProperty(property.GetString(), true) : nullptr);
            if (p) value = p->value();
        }
        SetStyleRange(CGXRange(r, col),
                      CGXStyle().SetValue(value).SetControl(static_cast<WORD>(kStaticControl)).SetReadOnly(TRUE),
                      gxOverride, 0, kNoUpdate);
    }
    if (param) {
        param->SetLockReadOnly(lock);
        param->EnableUndo(undo);
    }
}
