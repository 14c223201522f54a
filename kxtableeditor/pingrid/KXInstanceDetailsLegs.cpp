// The cells of a differential pair's rows that say more than a value: the leg's polarity, the pair
// name in the SIGNAL cell of the rows of a pair connection, and the bit rows of a vector written
// from one net.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridScopes.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "rmx/schemautil.h"

using kxpingrid::Col;
using kxpingrid::EmptyStaticCell;
using kxpingrid::Id;
using kxpingrid::kNoUpdate;

namespace {

constexpr int kNonInverting = 1;
constexpr int kInverting = -1;

} // namespace

void CKXInstanceDetailsGridWnd::SetPolarityCell(ROWCOL row, int polarity) {
    const char* tip = polarity == kNonInverting ? "Non Inverting"
                      : polarity == kInverting  ? "Inverting"
                                                : "Polarity not defined";
    const UINT control = polarity == kNonInverting ? IDS_UA_DIFFPAIR_POSITIVE
                         : polarity == kInverting  ? IDS_UA_DIFFPAIR_NEGATIVE
                                                   : IDS_CTRL_STATIC_TEXT;
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    CGXStyle name;
    name.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    SetStyleRange(CGXRange(row, Col(m_nColPinName)), name, gxOverride, 0, kNoUpdate, gxDo);
    CGXStyle pair;
    pair.SetControl(Id(control));
    SetStyleRange(CGXRange(row, Col(m_nColDiffPair)), pair, gxOverride, 0, kNoUpdate, gxDo);
}

void CKXInstanceDetailsGridWnd::FillDiffPairLegRow(IInstTerm* pin, ROWCOL& row, int bit, const CString& level) {
    m_nFillMode = 0;
    FillPinRow(pin, row, bit, level);
    m_nFillMode = 2; // a child fill always ends in the ordinary mode
    SetCellUserAttribute(row, Col(m_nColPinName), IDS_UA_PARENT_DIFFPAIR, 1);
    const IDPInstTerm* pair = pin ? GetDiffPairInstTerm(pin, bit) : nullptr;
    const int polarity = !pair                         ? 0
                         : pair->positive() == pin     ? kNonInverting
                         : pair->negative() == pin     ? kInverting
                                                       : 0;
    SetPolarityCell(row, polarity);
    StylePropertyCells(pin, static_cast<int>(row), static_cast<int>(row));
}

void CKXInstanceDetailsGridWnd::FillDiffPairColumn(const std::vector<IDPConn*>& conns, BOOL bClear) {
    std::map<int, IDPConn*> byPair;
    for (IDPConn* c : conns)
        if (c && c->dpInstTerm() && c->dpInstTerm()->id()) byPair[static_cast<int>(c->dpInstTerm()->id())] = c;
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount() && !byPair.empty(); ++r) {
        const auto it = byPair.find(GetRowDiffPairConnId(r));
        if (it == byPair.end()) continue;
        const IDPNet* net = it->second->dpNet();
        CGXStyle sig;
        sig.SetValue(bClear || !net ? CString() : CKXGenUtils::GetDiffPairName(net))
            .SetControl(Id(IDS_CTRL_DIFFPAIR_SIGNAL));
        SetStyleRange(CGXRange(r, Col(m_nColSignal)), sig, gxOverride, 0, kNoUpdate, gxDo);
        byPair.erase(it);
    }
}

void CKXInstanceDetailsGridWnd::FillVectorBitCell(ROWCOL row, const CString& netName, int netId, int first, int last,
                                                  BOOL bNameOnly) {
    const int step = first <= last ? 1 : -1;
    const char* bitFormat = CSchemaUtilities::getVectorDisplayFormat() ? "%s[%d]" : "%s<%d>";
    ROWCOL r = row;
    for (int bit = first;; bit += step) {
        if (++r > GetRowCount()) break;
        SetCellUserAttribute(r, Col(m_nColPinName), IDS_UA_VECTOR_PIN_BIT, static_cast<double>(row));
        CString text = netName;
        if (!bNameOnly) text.Format(bitFormat, netName.GetString(), bit);
        ApplySignalCellStyle(r, text, netId, 0, TRUE);
        FillBitTerminationCell(r, bNameOnly);
        if (bit == last) break;
    }
}

void CKXInstanceDetailsGridWnd::FillBitTerminationCell(ROWCOL row, BOOL bNameOnly) {
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    if (bNameOnly) {
        SetStyleRange(CGXRange(row, Col(m_nColTermination)), EmptyStaticCell(), gxOverride, 0, kNoUpdate, gxDo);
        return;
    }
    CGXStyle term;
    term.SetWrapText(FALSE);
    term.SetUserAttribute(Id(IDS_UA_ROW_LEVEL), "1");
    term.SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), term, gxOverride, 0, kNoUpdate, gxDo);
    StyleAssocCompCells(row, 0);
}

void CKXInstanceDetailsGridWnd::FillTerminationCell(ROWCOL row) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || !IsDiffPairRow(row)) return;
    IDPInstTerm* pair = GetRowDPInstTerm(row);
    if (!pair) return;
    CGXStyle name;
    GetStyleRowCol(row, Col(m_nColPinName), name);
    const CString level = name.GetIncludeUserAttribute(Id(IDS_UA_CHILD_LEVEL))
                              ? name.GetUserAttributeText(Id(IDS_UA_CHILD_LEVEL))
                              : CString("noval");
    CGXStyle term;
    term.SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
    term.SetUserAttribute(Id(IDS_UA_CHILD_LEVEL), level);
    const CInstanceContext inst = GetRowInstance(row);
    if (inst && inst.containedDesign()) {
        // A block's pairs take no termination.
        term.SetValue("").SetEnabled(FALSE).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "");
    } else {
        // A vector pair pin shows the termination its lanes share; lanes that differ show none.
        CKXAssocCompAPI* api = GetAssocCompAPI();
        api->setDesignContext(MasterDesign());
        CString type, tip;
        bool first = true;
        for (IDPInstTerm* lane : kxpingrid::PairTerms(pair)) {
            api->setDPInstTermBit(lane);
            const CString laneType = api->getAppliedAssocCompType(CKXAssocCompAPI::TERMINATION);
            if (first) {
                type = laneType;
                if (!type.IsEmpty()) tip = api->getDisplayText(CKXAssocCompAPI::TERMINATION);
                first = false;
            } else if (laneType.CompareNoCase(type) != 0) {
                type.Empty();
                tip.Empty();
                break;
            }
        }
        term.SetValue(type).SetEnabled(TRUE).SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), tip);
    }
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kLock);
    SetStyleRange(CGXRange(row, Col(m_nColTermination)), term, gxOverride, 0, kNoUpdate, gxDo);
    // A vector pair shows a termination only when all its member pairs have the same one.
    const ROWCOL parent = GetRowParentOffset(row);
    if (parent != GX_INVALID && IsDiffPairRow(parent) &&
        GetValueRowCol(parent, Col(m_nColTermination)).CompareNoCase(term.GetValue()) != 0) {
        CGXStyle cleared;
        cleared.SetValue("");
        SetStyleRange(CGXRange(parent, Col(m_nColTermination)), cleared, gxOverride, 0, kNoUpdate, gxDo);
    }
}
