// The physical part grid after a committed transaction: rows of package pins
// whose pin numbers changed are read again (a section change reloads the part),
// custom property columns of a changed property are filled again, and the model
// cells of pins whose model another window changed are restyled.
#include "grid/KXGridScopes.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/packaging.h"
#include "rmx/transaction.h"

#include <map>
#include <memory>
#include <set>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

} // namespace

bool CKXPhysPartDetailsGridWnd::ShowsPart(const CString& package) const {
    if (package.IsEmpty()) return false;
    return m_bObjectLoaded ? m_mapShownParts.count(package) != 0 : package == m_strRefDes;
}

void CKXPhysPartDetailsGridWnd::OnPropertyChanges(const std::vector<KXPhysPropertyChange>& changes) {
    // Pin numbers: the rows of the old and the new number are read again; a section change moves
    // the instance's pins, so its part is read again as a whole.
    std::map<CString, std::set<CString>> numbers;
    std::set<CString> reload;
    std::set<CString> properties; // of the custom property columns to fill again
    std::vector<CString> models;  // pins whose model changed
    for (const KXPhysPropertyChange& c : changes) {
        if (!ShowsPart(c.package)) {
            // A net has no package: its columns are filled again all the same.
            if (c.ownerKind == 3) properties.insert(c.name);
            continue;
        }
        if (c.Is("PN") && c.ValueChanged()) {
            if (!c.oldValue.IsEmpty()) numbers[c.package].insert(c.oldValue);
            if (!c.newValue.IsEmpty()) numbers[c.package].insert(c.newValue);
        } else if (c.Is("SEC") && c.ValueChanged()) {
            reload.insert(c.package);
        }
        if (c.ownerKind) properties.insert(c.name);
        if (c.Is("PIN_SIGNAL_MODEL") && (c.newValue.IsEmpty() || c.newValue.CompareNoCase(c.oldValue) != 0))
            models.push_back(c.path);
    }
    for (const CString& part : reload) {
        numbers.erase(part);
        m_strLoadedRefDes = part;
        ReloadPartPins();
    }
    for (const auto& [part, set] : numbers)
        RefreshPinRows(part, set);
    RefillPropertyColumns(properties);
    // Models changed elsewhere: this grid restyles its own edits itself.
    // (An undo replays the design change only: the grid restyles its cells from the design then.)
    const bool own = m_bCommitting || (CKXTransaction::IsTransactionStarted() && CKXTransaction::GetGrid() == this);
    if (!own)
        for (const CString& path : models)
            RefreshModelCellsOfPin(path);
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
    kxgrid::GridWriteScope write(*this);
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
}
