// The cells of the components attached to pins and nets: the termination text
// of a pin row and the pull-up/pull-down mark of its net, both read through
// the associated-components interface.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "kxassoccomp/CKXAssocCompAPI.h"

using kxpingrid::Col;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

void CKXInstanceDetailsGridWnd::StyleAssocCompCells(ROWCOL row, int flag) {
    (void)flag;
    if (row < PIN_FIRST_ROW || row > GetRowCount() || IsDiffPairRow(row)) return;
    CInstTermBitContext bit;
    if (!GetRowInstTermBitContext(row, bit) || !bit) return;
    CKXAssocCompAPI* api = GetAssocCompAPI();
    api->setInstTermBit(bit.instTermBit());
    CGXStyle style;
    style.SetValue(api->getDisplayText(CKXAssocCompAPI::TERMINATION));
    CGXGridParam* pParam = GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), style, gxOverride, 0, kNoUpdate, gxDo);
    if (pParam) pParam->SetLockReadOnly(bLock);
}

void CKXInstanceDetailsGridWnd::SetPupdCellStyle(ROWCOL row, bool localUp, bool localDown, bool aliasUp,
                                                 bool aliasDown) {
    struct Mark {
        bool lu, ld, au, ad;
        UINT id;
    };
    static constexpr Mark marks[] = {
        {true, false, false, false, IDS_CTRL_PUPD_LOCAL_PULLUP},
        {false, true, false, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN},
        {false, false, true, false, IDS_CTRL_PUPD_ALIAS_PULLUP},
        {false, false, false, true, IDS_CTRL_PUPD_ALIAS_PULLDOWN},
        {true, true, false, false, IDS_CTRL_PUPD_LOCAL_PUPD},
        {false, false, true, true, IDS_CTRL_PUPD_ALIAS_PUPD},
        {true, false, false, true, IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN},
        {false, true, true, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP},
    };
    UINT control = IDS_CTRL_PUPD_NONE;
    for (const Mark& m : marks)
        if (m.lu == localUp && m.ld == localDown && m.au == aliasUp && m.ad == aliasDown) control = m.id;
    // Any other mix shows what is on the net itself.
    if (control == IDS_CTRL_PUPD_NONE && (localUp || localDown))
        control = localUp && localDown
                      ? IDS_CTRL_PUPD_LOCAL_PUPD
                      : (localUp ? IDS_CTRL_PUPD_LOCAL_PULLUP : IDS_CTRL_PUPD_LOCAL_PULLDOWN);
    CGXStyle style;
    style.SetControl(Id(control)).SetReadOnly(TRUE);
    CGXGridParam* pParam = GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (pParam) pParam->SetLockReadOnly(FALSE);
    SetStyleRange(CGXRange(row, Col(m_nColPupd)), style, gxOverride, 0, kNoUpdate, gxDo);
    if (pParam) pParam->SetLockReadOnly(bLock);
}

void CKXInstanceDetailsGridWnd::FillPupdColumn(std::set<unsigned> netIds) {
    if (!m_designContext) return;
    CGXGridParam* pParam = GetParam();
    const BOOL bUndo = pParam ? pParam->IsEnableUndo() : FALSE;
    if (pParam) pParam->EnableUndo(FALSE);
    const BOOL bWasLocked = LockUpdate(TRUE);
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
    LockUpdate(bWasLocked);
    if (pParam) pParam->EnableUndo(bUndo);
}
