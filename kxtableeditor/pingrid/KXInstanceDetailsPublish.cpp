// What the pin grid tells the rest of the host when its selection changes: the
// status prompt, the current net, the selected objects for the property editor
// and the objects that carry associated components for their viewer; and the
// selected pins as a list text for host script commands.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPublish.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXAssocCompStruct.h"

#include "kxcommon/KXGenUtils.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

#include "afx/afxwin.h"

#include <list>
#include <memory>
#include <set>

using kxpingrid::Col;

using kxpingrid::PairTerms;

namespace {

// At most this many selected rows are published once a docking window listens.
constexpr INT_PTR kMaxPublishedRows = 100;
constexpr UINT kSetMessageString = 0x362;

} // namespace

void CKXInstanceDetailsGridWnd::NotifySelectionChanged() {
    CWnd* main = AfxGetMainWnd();
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!main) return;
    ROWCOL row = 0, col = 0;
    GetCurrentCell(row, col);
    std::vector<ROWCOL> rows = SelectedPinRows();
    m_publish->PublishCurrentNet(server, row, col);
    if (!rows.empty() && row >= PIN_FIRST_ROW && (col == Col(m_nColPinName) || col == Col(m_nColSignal))) {
        std::vector<ROWCOL> targets;
        CollectTargetRows(rows, targets, FALSE, -1, -1);
        CString prompt;
        prompt.Format("Width of selected pins: %d", static_cast<int>(targets.size()));
        if (col == Col(m_nColSignal))
            prompt += ". Type signal name or use \"Alt+Down Arrow\" to pick signal from list.";
        main->SendMessage(kSetMessageString, 0, reinterpret_cast<LPARAM>(prompt.GetString()));
    }
    if (!server) return;
    const bool editor = IsDockShown("PROPERTYEDITOR");
    if (editor && static_cast<INT_PTR>(rows.size()) > kMaxPublishedRows) rows.resize(kMaxPublishedRows);
    if (editor) m_publish->PublishPropertyRecords(server, rows, col);
    if (IsDockShown("ASSOCCOMPVIEWER")) m_publish->PublishAssocRecords(rows, col);
}

void KXPinGridPublish::PublishCurrentNet(IKXMessageServer* server, ROWCOL row, ROWCOL col) {
    if (!server || m_grid.m_bCompactColumns || col != Col(m_grid.m_nColSignal) || row < PIN_FIRST_ROW) return;
    CGXStyle style;
    m_grid.GetStyleRowCol(row, col, style);
    if (style.GetIncludeReadOnly() && style.GetReadOnly()) return;
    int msb = -1, lsb = -1;
    INet* net = m_grid.GetRowNet(row, msb, lsb);
    if (!net) return;
    CNetContext context = m_grid.m_designContext.net(net);
    server->Broadcast(MSG_NET_SELECTED, reinterpret_cast<WPARAM>(&context),
                      reinterpret_cast<LPARAM>(&m_grid.m_designContext));
}

void KXPinGridPublish::PublishPropertyRecords(IKXMessageServer* server, const std::vector<ROWCOL>& rows,
                                              ROWCOL col) {
    CKXConnObjInfoList list;
    const bool signal = col == Col(m_grid.m_nColSignal);
    for (ROWCOL r : rows) {
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount() || m_grid.IsRowHidden(r)) continue;
        int msb = -1, lsb = -1;
        if (m_grid.IsDiffPairRow(r)) {
            // In the Signal column a pair row stands for its pair net: the net bit of each leg.
            const std::vector<CNetBit> legs = signal ? PairRowLegNetBits(r) : std::vector<CNetBit>();
            for (const CNetBit& leg : legs)
                list.Add(new CKXConnObjInfo(leg.net()->name(), leg.net()->isScalar() ? CKXConnObjInfo::NET
                                                                                     : CKXConnObjInfo::BUS,
                                            leg.bit(), leg.bit()));
            if (legs.empty())
                for (CKXConnObjInfo* record : PairPinRecords(r)) list.Add(record);
            continue;
        }
        CString net = m_grid.GetRowNetName(r, msb, lsb);
        if (!net.IsEmpty() && CKXGenUtils::IsNC(net)) net.Empty();
        if (signal && !net.IsEmpty()) {
            list.Add(new CKXConnObjInfo(net, msb == lsb ? CKXConnObjInfo::NET : CKXConnObjInfo::BUS, msb, lsb));
            continue;
        }
        IInstTerm* pin = m_grid.GetRowInstTerm(r, msb, lsb);
        if (!pin) continue;
        CString id;
        id.Format("%d", m_grid.GetRowInstTermId(r));
        list.Add(new CKXConnObjInfo(id, CKXConnObjInfo::PIN, msb, lsb,
                                    new CInstanceContext(m_grid.GetRowInstance(r))));
    }
    if (list.GetSize() == 0) return;
    // The editor takes the records over (and frees them with its next selection); the list is ours.
    server->Broadcast(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&list),
                      reinterpret_cast<LPARAM>(&m_grid.m_designContext));
}

std::vector<CNetBit> KXPinGridPublish::PairRowLegNetBits(ROWCOL row) {
    std::vector<CNetBit> bits;
    for (IDPInstTerm* term : PairTerms(m_grid.GetRowDPInstTerm(row)))
        for (const CNetBit& leg : kxpingrid::PairNetLegs(kxpingrid::PairNetOf(term)))
            if (leg) bits.push_back(leg);
    return bits;
}

std::vector<CKXConnObjInfo*> KXPinGridPublish::PairPinRecords(ROWCOL row) {
    std::list<CInstTermBitContext> bits;
    m_grid.GetRowBitContexts(row, bits);
    const CInstanceContext instance = m_grid.GetRowInstance(row);
    std::vector<CKXConnObjInfo*> records;
    for (const CInstTermBitContext& bit : bits)
        if (bit.instTerm())
            records.push_back(new CKXConnObjInfo(kxpingrid::Decimal(bit.instTerm()->id()), CKXConnObjInfo::PIN,
                                                 bit.bit(), bit.bit(), new CInstanceContext(instance)));
    return records;
}

void KXPinGridPublish::PublishAssocRecords(const std::vector<ROWCOL>& rows, ROWCOL col) {
    CKXAssocCompArray records;
    const bool pupd = col == Col(m_grid.m_nColPupd);
    for (ROWCOL r : rows) {
        if (r < PIN_FIRST_ROW || r > m_grid.GetRowCount() || m_grid.IsRowHidden(r)) continue;
        if (m_grid.IsDiffPairRow(r)) {
            IDPInstTerm* pair = m_grid.GetRowDPInstTerm(r);
            if (!pair) continue;
            if (!pupd) {
                records.push_back(std::make_unique<CKXAssocCompStruct>(
                    CKXAssocCompStruct::kContainer, m_grid.m_designContext.container(pair)));
                continue;
            }
            for (const CNetBit& leg : PairRowLegNetBits(r))
                records.push_back(std::make_unique<CKXAssocCompStruct>(
                    CKXAssocCompStruct::kNetBit,
                    m_grid.m_designContext.net(leg.net()).bitContext(leg.bit())));
            continue;
        }
        int msb = -1, lsb = -1;
        if (pupd) {
            CGXStyle style;
            m_grid.GetStyleRowCol(r, Col(m_grid.m_nColPupd), style);
            INet* net = m_grid.GetRowNet(r, msb, lsb);
            if (style.GetControl() == IDS_CTRL_PUPD_NONE || !net || CKXGenUtils::IsNC(net->name())) continue;
            for (int bit = std::min(msb, lsb); bit <= std::max(msb, lsb); ++bit)
                records.push_back(std::make_unique<CKXAssocCompStruct>(
                    CKXAssocCompStruct::kNetBit, m_grid.m_designContext.net(net).bitContext(bit)));
            continue;
        }
        IInstTerm* pin = m_grid.GetRowInstTerm(r, msb, lsb);
        if (!pin) continue;
        const CInstTermContext context = m_grid.GetRowInstance(r).instTerm(pin);
        if (msb == -1)
            records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::kPin, context));
        else
            for (int bit = std::min(msb, lsb); bit <= std::max(msb, lsb); ++bit)
                records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::kPin, context.bitContext(bit)));
    }
    m_grid.PublishToAssocViewer(records);
}

void CKXInstanceDetailsGridWnd::GetSelectionAsList(CString& list) {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<ROWCOL> targets;
    CollectTargetRows(selected, targets, FALSE, -1, -1);
    if (selected.empty() && targets.empty()) return;
    auto readOnlySignal = [&](ROWCOL r) {
        CGXStyle style;
        GetStyleRowCol(r, Col(m_nColSignal), style);
        return style.GetIncludeReadOnly() && style.GetReadOnly();
    };
    auto text = [&](ROWCOL r, int c) {
        CString t = GetValueRowCol(r, Col(c));
        CKXGenUtils::EscapeSquareBrackets(t);
        return t;
    };
    auto item = [&](ROWCOL r) {
        list += "[list " + text(r, m_nColInstance) + " " + text(r, m_nColPinName) + " \"" + text(r, m_nColPinNumber) +
                "\"] ";
    };
    for (ROWCOL r : targets)
        if (r >= PIN_FIRST_ROW && !IsRowHidden(r) && !readOnlySignal(r)) item(r);
    std::set<ROWCOL> listed;
    for (ROWCOL r : selected) {
        if (r < PIN_FIRST_ROW || IsRowHidden(r) || !IsDiffPairRow(r) || listed.count(r) || readOnlySignal(r)) continue;
        item(r);
        std::list<int> children;
        GetChildRows(r, children, -1);
        for (int c : children)
            listed.insert(static_cast<ROWCOL>(c));
    }
    list.TrimRight();
}
