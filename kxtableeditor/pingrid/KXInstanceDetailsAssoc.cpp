// The cells of the components attached to pins and nets: the termination text
// of a pin row and the pull-up/pull-down mark of its net, both read through
// the associated-components interface.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"
#include "grid/KXGridScopes.h"
#include "grid/KXPupdMark.h"

#include "kxassoccomp/CKXAssocCompAPI.h"

using kxpingrid::Col;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

void CKXInstanceDetailsGridWnd::StyleAssocCompCells(ROWCOL row, int flag) {
    (void)flag;
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return;
    if (IsDiffPairRow(row)) {
        FillTerminationCell(row);
        return;
    }
    CInstTermBitContext bit;
    if (!GetRowInstTermBitContext(row, bit) || !bit) return;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    api->setInstTermBit(bit.instTermBit());
    CGXStyle style;
    style.SetValue(api->getDisplayText(CKXAssocCompAPI::TERMINATION));
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), style, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp,
                                                 bool aliasDown) {
    const KXPupdMark mark = KXPupdMarkOf(localUp, localDown, aliasUp, aliasDown);
    CGXStyle style;
    style.SetControl(Id(mark.control)).SetReadOnly(TRUE);
    style.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), mark.toolTip);
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    SetStyleRange(CGXRange(row, Col(m_nColPupd)), style, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::FillPupdColumn(std::set<unsigned> netIds) {
    if (!m_designContext) return;
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    kxgrid::LockUpdateScope lock(*this, kxgrid::LockUpdateScope::kNoRedraw);
    CKXAssocCompAPI* api = GetAssocCompAPI();
    // Every row, or the rows that show (or showed, before this change) one of the nets.
    std::vector<ROWCOL> rows;
    if (netIds.empty())
        for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r) rows.push_back(r);
    else
        rows = RowsOfNets(netIds);
    for (ROWCOL r : rows) {
        if (r < PIN_FIRST_ROW || r > GetRowCount() || IsDiffPairRow(r)) continue;
        int msb = -1, lsb = -1;
        INet* net = GetRowNet(r, msb, lsb);
        if (!net) {
            // A row without a net carries no mark, whichever nets were asked for.
            SetPupdCellStyle(r, false, false, false, false);
            continue;
        }
        if (!netIds.empty() && !netIds.count(net->id())) continue;
        // A row shows the mark of its one net bit; a row over several bits shows none.
        bool lu = false, ld = false, au = false, ad = false;
        if (msb == lsb) api->GetPupdInfoOnThisNet(m_designContext.net(net).bitContext(msb), lu, ld, au, ad);
        SetPupdCellStyle(r, lu, ld, au, ad);
    }
}
