// Further row operations: names from the system-object server, the net bits
// of selected rows, pin-name and net-name refreshes, the filter text test and
// the rows a pin command acts on.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxcommon/KXGenUtils.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

using kxpingrid::Col;
using kxpingrid::kNoUpdate;

CString CKXInstanceDetailsGridWnd::GetSysObjectName(const CInstTermBitContext* bitContext) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    if (!bitContext || !server) return CString();
    char* name = server->GetSysObjectName(*bitContext);
    CString result = name ? name : "";
    if (name) server->FreeName(name);
    return result;
}

CString CKXInstanceDetailsGridWnd::GetContainerName(unsigned id) {
    if (!m_designContext) return CString();
    for (UINT index : m_arrInstanceIds) {
        IInstance* inst = m_designContext.design()->findInstance(index);
        if (IDPInstTerm* pair = inst ? inst->findDPInstTerm(id) : nullptr) return pair->name();
    }
    return CString();
}

void CKXInstanceDetailsGridWnd::CollectSelectedNetBits(const std::vector<ROWCOL>& rows, std::vector<CNetBit>& netBits,
                                                       std::multimap<CNetBit, ROWCOL>& netBitRows) {
    for (ROWCOL row : rows) {
        int msb = -1, lsb = -1;
        INet* net = GetRowNet(row, msb, lsb);
        if (!net) continue;
        // A bus row's bits each go with their own bit row: the row a journal names for one bit.
        CString base;
        int rowMsb = -1, rowLsb = -1;
        const PinRowKind kind = GetRowKind(row, base, rowMsb, rowLsb);
        std::map<int, ROWCOL> bitRows;
        if (kind == PIN_ROW_GROUP)
            for (ROWCOL child : GroupBitRows(row, kind)) {
                int childMsb = -1, childLsb = -1;
                if (GetRowNet(child, childMsb, childLsb) == net && childMsb == childLsb)
                    bitRows.emplace(childMsb, child);
            }
        const int low = std::min(msb, lsb), high = std::max(msb, lsb);
        for (int bit = low; bit <= high; ++bit) {
            const CNetBit nb(net, bit);
            netBits.push_back(nb);
            const auto own = bitRows.find(bit);
            netBitRows.emplace(nb, own != bitRows.end() ? own->second : row);
        }
    }
}

BOOL CKXInstanceDetailsGridWnd::IsTextInFilterMap(const CString& text) {
    if (!m_bFilterActive) return TRUE;
    if (text.Find(',') < 0) return m_functions->m_mapFunctionPins.count(text) ? TRUE : FALSE;
    int start = 0;
    while (start <= text.GetLength()) {
        int comma = text.Find(',', start);
        if (comma < 0) comma = text.GetLength();
        if (m_functions->m_mapFunctionPins.count(text.Mid(start, comma - start))) return TRUE;
        start = comma + 1;
    }
    return FALSE;
}

// A renamed pin: every row of it shows the new name, its bus rows with their range (left without
// it, a bus row would go on showing the old name and be found by it).
void CKXInstanceDetailsGridWnd::RefreshPinNameCells(IInstTerm* pin) {
    GetVectorName(pin, TRUE);
}

void CKXInstanceDetailsGridWnd::GetVectorName(IInstTerm* pin, BOOL withRange) {
    if (!pin) return;
    CGXGridParam* pParam = GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r) {
        if (GetRowInstTermId(r) != static_cast<int>(pin->id()) ||
            GetRowInstanceIndex(r) != static_cast<int>(pin->instance()->id()))
            continue;
        CString base;
        int msb = -1, lsb = -1;
        const PinRowKind kind = GetRowKind(r, base, msb, lsb);
        CString text;
        switch (kind) {
        case PIN_ROW_SCALAR:
            text = pin->name();
            break;
        case PIN_ROW_SINGLE_BIT:
        case PIN_ROW_PLUSMINUS_CHILD:
        case PIN_ROW_PLUSMINUS_CHILD_2:
            text = CSchemaUtilities::vectorName(pin->name(), msb);
            break;
        case PIN_ROW_GROUP:
        case PIN_ROW_GROUP_2:
            if (withRange) text = CSchemaUtilities::vectorName(pin->name(), pin->msb(), pin->lsb());
            break;
        default:
            break;
        }
        // Rows whose name is not the pin's own (pairs, power and implicit rows) keep their text.
        if (text.IsEmpty()) continue;
        CGXStyle style;
        style.SetValue(text);
        SetStyleRange(CGXRange(r, Col(m_nColPinName)), style, gxOverride, 0, kNoUpdate, gxDo);
        if (kind == PIN_ROW_GROUP || kind == PIN_ROW_GROUP_2 || kind == PIN_ROW_SINGLE_BIT ||
            kind == PIN_ROW_PLUSMINUS_CHILD) {
            CGXStyle baseName;
            baseName.SetUserAttribute(static_cast<WORD>(IDS_UA_VECTOR_BASENAME), pin->name());
            SetStyleRange(CGXRange(r, Col(m_nColPinName)), baseName, gxOverride, 0, kNoUpdate, gxDo);
        }
        RedrawRowCol(r, Col(m_nColPinName));
    }
    if (pParam) pParam->SetLockReadOnly(bLock);
}

void CKXInstanceDetailsGridWnd::UpdateVectorNameCells(int netId, const CString& newName) {
    CGXGridParam* pParam = GetParam();
    const BOOL bUndo = pParam ? pParam->IsEnableUndo() : FALSE;
    if (pParam) pParam->EnableUndo(FALSE);
    const BOOL bWasLocked = IsLockUpdate();
    if (!bWasLocked) LockUpdate(TRUE);
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r) {
        CGXStyle sig;
        GetStyleRowCol(r, Col(m_nColSignal), sig);
        if (!sig.GetIncludeUserAttribute(static_cast<WORD>(IDS_UA_CONN_INDEX)) ||
            static_cast<int>(sig.GetUserAttribute(static_cast<WORD>(IDS_UA_CONN_INDEX)).GetDoubleValue()) !=
                netId)
            continue;
        // The text still carries the bits shown; the new name takes the old name's place.
        CString base;
        int lsb = -1, msb = -1;
        const CString text = sig.GetValue();
        if (text.IsEmpty() || text.Find(',') >= 0) continue;
        CString name = newName;
        if (CKXGenUtils::ParseSignalName(text, base, lsb, msb) && msb != -1) {
            name = msb == lsb ? CSchemaUtilities::vectorName(newName.GetString(), msb)
                              : CSchemaUtilities::vectorName(newName.GetString(), msb, lsb);
        }
        ApplySignalCellStyle(r, name, netId, 1, TRUE);
    }
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(kNoUpdate, TRUE);
    }
    if (pParam) pParam->EnableUndo(bUndo);
}

std::vector<ROWCOL> CKXInstanceDetailsGridWnd::GroupBitRows(ROWCOL row, PinRowKind kind) {
    const int pinId = GetRowInstTermId(row);
    std::vector<ROWCOL> children;
    for (ROWCOL c = row + 1; c <= GetRowCount(); ++c) {
        CString b;
        int cm = -1, cl = -1;
        const PinRowKind ck = GetRowKind(c, b, cm, cl);
        const bool child = kind == PIN_ROW_GROUP
                               ? (ck >= PIN_ROW_PLUSMINUS_CHILD && ck <= PIN_ROW_PLUSMINUS_CHILD_2 &&
                                  GetRowInstTermId(c) == pinId)
                               : ck == PIN_ROW_PLUSMINUS_CHILD_2;
        if (!child) break;
        children.push_back(c);
    }
    return children;
}

namespace {

// A row the command may act on: a shown row, or a bit row that only its bus's fold hides (its bus row
// shows). A key naming one bit selects that bit's row, folded or not, as the user's selection of the
// expanded bit would.
bool RowTakesCommand(CKXInstanceDetailsGridWnd& grid, ROWCOL row) {
    if (!grid.IsRowHidden(row)) return true;
    CString base;
    int msb = -1, lsb = -1;
    const PinRowKind kind = grid.GetRowKind(row, base, msb, lsb);
    if (kind != PIN_ROW_PLUSMINUS_CHILD && kind != PIN_ROW_PLUSMINUS_CHILD_2) return false;
    const ROWCOL parent = grid.GetRowParentOffset(row);
    return parent != GX_INVALID && !grid.IsRowHidden(parent);
}

} // namespace

int CKXInstanceDetailsGridWnd::CollectTargetRows(const std::vector<ROWCOL>& selected,
                                                 std::vector<ROWCOL>& rows, BOOL bExpand, int from, int to) {
    const bool reversed = from > to;
    if (reversed) std::swap(from, to);
    const std::set<ROWCOL> isSelected(selected.begin(), selected.end());
    std::set<ROWCOL> taken;
    std::vector<ROWCOL> out;
    int bits = 0;
    auto take = [&](ROWCOL r, int count) {
        if (!taken.insert(r).second) return;
        out.push_back(r);
        bits += count;
    };
    auto takeChildren = [&](ROWCOL r, int mode) {
        std::list<int> children;
        GetChildRows(r, children, mode);
        for (int c : children)
            take(static_cast<ROWCOL>(c), 1);
    };
    for (ROWCOL r : std::vector<ROWCOL>(isSelected.begin(), isSelected.end())) {
        if (r < PIN_FIRST_ROW || r > GetRowCount() || taken.count(r) || !RowTakesCommand(*this, r)) continue;
        CString base;
        int msb = -1, lsb = -1;
        const PinRowKind kind = GetRowKind(r, base, msb, lsb);
        switch (kind) {
        case PIN_ROW_SCALAR:
        case PIN_ROW_SINGLE_BIT:
        case PIN_ROW_PLUSMINUS_CHILD:
        case PIN_ROW_PLUSMINUS_CHILD_2:
        case PIN_ROW_IMPLICIT_POWER:
            take(r, 1);
            break;
        case PIN_ROW_GROUP:
        case PIN_ROW_GROUP_2: {
            // The bit rows that follow the group row (a folded wide pin's written for a range of its bits).
            std::vector<ROWCOL> children = GroupBitRows(r, kind);
            if (bExpand && kind == PIN_ROW_GROUP && WriteWidePinBitRows(r) > 0) children = GroupBitRows(r, kind);
            const std::size_t chosen = static_cast<std::size_t>(std::count_if(
                children.begin(), children.end(), [&](ROWCOL c) { return isSelected.count(c) != 0; }));
            // (A wide pin may have rows for the bits a command named alone.)
            const std::size_t bitCount = std::max(children.size(), static_cast<std::size_t>(std::abs(msb - lsb) + 1));
            if (chosen > 0 && chosen < bitCount) {
                for (ROWCOL c : children)
                    if (isSelected.count(c)) take(c, 1);
            } else if (bExpand && kind == PIN_ROW_GROUP) {
                for (ROWCOL c : children) {
                    CString b;
                    int cm = -1, cl = -1;
                    GetRowKind(c, b, cm, cl);
                    if (cm >= from && cm <= to) take(c, 1);
                }
            } else {
                take(r, msb == -1 ? 1 : std::abs(msb - lsb) + 1);
            }
            for (ROWCOL c : children)
                taken.insert(c); // selected rows inside the group are not taken again
            break;
        }
        case PIN_ROW_DIFFPAIR:
        case PIN_ROW_VECTOR_DIFFPAIR:
        case PIN_ROW_DIFFPAIR_CHILD:
            if (!m_bEditing && !m_bSkipChildRows) takeChildren(r, 0);
            break;
        case PIN_ROW_DIFFPAIR_LEG:
        case PIN_ROW_POWER_CHILD: {
            const ROWCOL parent = GetRowParentOffset(r);
            if (parent == GX_INVALID || !isSelected.count(parent)) take(r, 1);
            break;
        }
        case PIN_ROW_POWER:
            takeChildren(r, 1);
            break;
        }
    }
    if (reversed) std::reverse(out.begin(), out.end());
    rows.insert(rows.end(), out.begin(), out.end());
    return bits;
}

void CKXInstanceDetailsGridWnd::GetRowPinType(IInstance* instance, std::set<int> pinIds) {
    RefreshPinTypeCells(instance, std::move(pinIds));
}
