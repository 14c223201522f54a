// What the matrix shows: the stored view loaded into groups and rows, groups
// and signals added by drops (and written to the stored view), and the pin
// cells of one connection shown or emptied after a committed transaction.
#include "matrix/KXMatrixGridWnd.h"
#include "matrix/KXMatrixViewDlg.h"

#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXGridUndo.h"
#include "grid/KXJournalLine.h"
#include "kxinstsigpane/CommonInterface.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

using namespace kxmatrix;
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

namespace {

constexpr UINT kNoUpdate = 0;

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

// The undo step of an addition to the shown view (a drop, matrixAdd): running it gives the stored
// view the content it had before, reloads the shown window of the view and records the opposite
// step. It is kept with the pane, not with the window, so that it outlives a window that closes.
// Refused when the view no longer holds what the addition left (renamed, edited or added to since).
class CKXMatrixAddUndoCmd : public CGXCommand, public IKXTouchedObjects {
public:
    CKXMatrixAddUndoCmd(IKXGridSite* site, CString view, KXMatrixViewPaths before, KXMatrixViewPaths after)
        : m_pSite(site), m_strView(std::move(view)), m_before(std::move(before)), m_after(std::move(after)) {}
    CString GetName() override { return "Matrix Add"; }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override {
        CComments* store = m_pSite ? m_pSite->CommentStore() : nullptr;
        CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
        if (!views || !views->HasView(m_strView)) return FALSE;
        KXMatrixViewPaths now;
        views->GetMatrixComponentList(m_strView, now.instances);
        views->GetMatrixSignalList(m_strView, now.signals);
        if (now.instances != m_after.instances || now.signals != m_after.signals) return FALSE;
        views->ReplaceView(m_strView, m_strView, m_before.instances, m_before.signals);
        // A window not shown now reloads the view when it is shown again.
        for (CKXGridWnd* grid : m_pSite->SiteGrids())
            if (auto* matrix = dynamic_cast<CKXMatrixGridWnd*>(grid); matrix && matrix->ViewName() == m_strView)
                matrix->LoadMatrixView(m_strView);
        m_pSite->MarkModified();
        if (CCommonInterface* sink = m_pSite->UndoSink())
            sink->AddUndoCommand(pGrid, new CKXMatrixAddUndoCmd(m_pSite, m_strView, m_after, m_before), ctType, 0);
        return TRUE;
    }
    std::set<std::string> TouchedObjects() const override { return {KXMatrixViewObject(m_strView)}; }

private:
    IKXGridSite* m_pSite;
    CString m_strView;
    KXMatrixViewPaths m_before, m_after;
};

} // namespace

KXMatrixViewPaths CKXMatrixGridWnd::StoredPaths() const {
    KXMatrixViewPaths paths;
    if (m_pMatrixViewData) {
        m_pMatrixViewData->GetMatrixComponentList(m_strViewName, paths.instances);
        m_pMatrixViewData->GetMatrixSignalList(m_strViewName, paths.signals);
    }
    return paths;
}

void CKXMatrixGridWnd::RecordAddition(const KXMatrixViewPaths& before) {
    CCommonInterface* sink = Site() ? Site()->UndoSink() : nullptr;
    if (!sink || !m_pMatrixViewData) return;
    // Kept with the pane (no grid given): the step outlives this window.
    sink->AddUndoCommand(nullptr, new CKXMatrixAddUndoCmd(Site(), m_strViewName, before, StoredPaths()), gxDo, 0);
}

// ------------------------------------------------------------------ loading

BOOL CKXMatrixGridWnd::LoadMatrixView(const CString& viewName) {
    m_strViewName = viewName;
    std::vector<CString> instancePaths, signalPaths;
    if (m_pMatrixViewData) {
        m_pMatrixViewData->GetMatrixComponentList(viewName, instancePaths);
        m_pMatrixViewData->GetMatrixSignalList(viewName, signalPaths);
    }
    IServer* server = CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server();
    {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        LockUpdateScope lock(*this);
        ClearContent();
        // Instances first, so that their groups exist when the signal rows are built.
        std::vector<CString> instanceNames;
        for (const CString& path : instancePaths) {
            std::unique_ptr<CContext> context(ViewObjectOf(server, m_designContext, path));
            auto* instance = dynamic_cast<CInstanceContext*>(context.get());
            if (instance && *instance) instanceNames.emplace_back(instance->instance()->name());
        }
        AddInstanceByName(instanceNames);
        for (const CString& path : signalPaths) {
            std::unique_ptr<CContext> context(ViewObjectOf(server, m_designContext, path));
            if (auto* bit = dynamic_cast<CNetBitContext*>(context.get()))
                AddSignalRows(bit->net(), bit->bit());
            else if (auto* net = dynamic_cast<CNetContext*>(context.get()))
                AddSignalRows(net->net(), -1);
        }
    }
    MarkViewLoaded();
    return TRUE;
}

void CKXMatrixGridWnd::MarkViewLoaded() {
    if (!m_pMatrixViewData) return;
    m_pMatrixViewData->SetMatrixViewModified(m_strViewName, FALSE);
    m_nLoadedRevision = m_pMatrixViewData->ViewRevision(m_strViewName);
}

void CKXMatrixGridWnd::ReloadIfModified() {
    if (!m_pMatrixViewData) return;
    if (!m_pMatrixViewData->IsViewModified(m_strViewName) &&
        m_pMatrixViewData->ViewRevision(m_strViewName) == m_nLoadedRevision)
        return;
    LoadMatrixView(m_strViewName);
}

void CKXMatrixGridWnd::ClearContent() {
    m_arrInstanceIds.clear();
    m_groupOfInstance.clear();
    m_arrNetData.clear();
    m_shownSignals.clear();
    m_withdrawnGroups.clear();
    SetupSignalHeader();
    SetupFrozenHeader();
}

int CKXMatrixGridWnd::GroupOf(unsigned instanceId) const {
    const auto it = m_groupOfInstance.find(instanceId);
    return it == m_groupOfInstance.end() ? -1 : it->second;
}

// ------------------------------------------------------------------ groups

void CKXMatrixGridWnd::AddInstanceByName(const std::vector<CString>& names) {
    for (const CString& name : names)
        if (const CInstanceContext instance = m_designContext.instance(name.GetString())) AddInstanceColumns(instance);
}

BOOL CKXMatrixGridWnd::AddInstanceColumns(const CInstanceContext& instance, int at) {
    if (!instance || GroupOf(instance.instance()->id()) >= 0) return FALSE;
    GridWriteScope write(*this);
    LockUpdateScope lock(*this);
    const int group = at >= 0 && at < GroupCount() ? at : GroupCount();
    const ROWCOL first = Col(ColumnOf(group, 0));
    const ROWCOL width = static_cast<ROWCOL>(Layout().m_nGroupWidth);
    if (group < GroupCount()) {
        InsertCols(first, width, kNoUpdate, gxDo);
        m_arrInstanceIds.insert(m_arrInstanceIds.begin() + group, instance.instance()->id());
        ReindexGroups();
    } else {
        m_arrInstanceIds.push_back(instance.instance()->id());
        m_groupOfInstance[instance.instance()->id()] = group;
    }
    if (first + width - 1 > GetColCount()) SetColCount(first + width - 1, kNoUpdate);
    RefreshInstanceHeader(group, instance);
    // The filter row starts again from "*" in every column; the rows it hid stay so until it runs again.
    CGXStyle filter;
    filter.SetValue("*").SetControl(static_cast<WORD>(IDS_CTRL_FILTER_COMBO)).SetVerticalAlignment(DT_VCENTER);
    SetStyleRange(CGXRange(kFilterRow, 1, kFilterRow, GetColCount()), filter, gxOverride, 0, kNoUpdate, gxDo);
    SetupFrozenHeader();
    BuildConnectionMap(group, instance);
    return TRUE;
}

void CKXMatrixGridWnd::BuildConnectionMap(int group, const CInstanceContext& instance) {
    const unsigned instanceId = instance.instance()->id();
    const KXMatrixLayout& layout = Layout();
    for (const CKXMatrixNetData& data : m_arrNetData) {
        std::vector<ROWCOL> rows = SignalRows(data.netId, data.bit);
        if (rows.empty()) continue;
        for (ROWCOL row : rows)
            for (int offset = 0; offset < layout.m_nGroupWidth; ++offset)
                StyleConnectionCell(row, ColumnOf(group, offset),
                                    offset == layout.m_nPinNameOffset || offset == layout.m_nPnOffset);
        INet* net = m_designContext.design()->findNet(data.netId);
        if (!net) continue;
        std::size_t j = 0;
        for (const CInstTermBit& pinBit : CNetBit(net, data.bit).beginInstTermBit()) {
            if (!pinBit.instance() || pinBit.instance()->id() != instanceId) continue;
            // A further pin of this instance on the signal takes a further row of the signal.
            if (j == rows.size()) rows.push_back(InsertSignalRow(rows.back() + 1, net, data.bit));
            const CInstTermBitContext context = instance.instTerm(pinBit.instTerm()).bitContext(pinBit.bit());
            WriteConnectionCells(rows[j++], group, context, PinText(pinBit.instTerm(), pinBit.bit()),
                                 context.physicalPinName());
        }
    }
}

// ------------------------------------------------------------------ signals

BOOL CKXMatrixGridWnd::AddSignalRows(INet* net, int bit) {
    if (!net || !m_designContext) return FALSE;
    if (net->isScalar()) bit = -1;
    if (!net->isScalar() && !net->hasBit(bit)) return FALSE;
    if (!m_shownSignals.insert(KXRowKey::NetBit(net->id(), bit)).second) return FALSE;
    GridWriteScope write(*this);
    LockUpdateScope lock(*this);
    m_arrNetData.push_back({net->id(), bit});
    const ROWCOL first = InsertSignalRow(GetRowCount() + 1, net, bit);
    std::vector<ROWCOL> used(m_arrInstanceIds.size(), 0);
    for (const CInstTermBit& pinBit : CNetBit(net, bit).beginInstTermBit()) {
        const int group = pinBit.instance() ? GroupOf(pinBit.instance()->id()) : -1;
        if (group < 0) continue;
        const ROWCOL row = first + used[static_cast<std::size_t>(group)]++;
        if (row > GetRowCount()) InsertSignalRow(row, net, bit);
        const CInstTermBitContext context = GroupInstance(group).instTerm(pinBit.instTerm()).bitContext(pinBit.bit());
        WriteConnectionCells(row, group, context, PinText(pinBit.instTerm(), pinBit.bit()), context.physicalPinName());
    }
    return TRUE;
}

std::vector<CKXMatrixNetData> CKXMatrixGridWnd::AddSignalByName(const CString& name) {
    std::vector<CKXMatrixNetData> added;
    CString text = name;
    text.Trim();
    CString base;
    int first = -1, second = -1;
    if (text.IsEmpty() || !m_designContext || !CKXGenUtils::ParseSignalName(text, base, first, second)) return added;
    INet* net = m_designContext.design()->findNet(base.GetString());
    if (!net) return added;
    // A bus without bits is every bit of it; a range is each of its bits from the high bit down, whichever
    // way it is written.
    if (first < 0 && second < 0 && !net->isScalar()) {
        first = net->msb();
        second = net->lsb();
    }
    for (int bit : BitsBetween(std::min(first, second), std::max(first, second)))
        if (AddSignalRows(net, bit)) added.push_back({net->id(), net->isScalar() ? -1 : bit});
    return added;
}

// ------------------------------------------------------------------ drops

BOOL CKXMatrixGridWnd::DropInstance(const CString& name) {
    if (!MayEdit()) return FALSE; // the stored view is the design's
    CString text = name;
    text.Trim();
    const CInstanceContext instance = m_designContext ? m_designContext.instance(text.GetString()) : CInstanceContext();
    // The addition goes to the view as stored now, which another window may have changed.
    ReloadIfModified();
    const KXMatrixViewPaths before = StoredPaths();
    // An instance shown already is neither added again nor stored twice.
    if (!instance || !AddInstanceColumns(instance)) return FALSE;
    if (m_pMatrixViewData) {
        m_pMatrixViewData->AddInstanceToMatrixView(m_strViewName, ViewPathOf(instance, m_designContext));
        MarkViewLoaded();
    }
    MarkModified();
    RecordAddition(before);
    JournalAdd("component", instance.instance()->name());
    Redraw();
    return TRUE;
}

void CKXMatrixGridWnd::JournalAdd(const char* kind, const CString& name) {
    KXJournalLines(JournalHandle())
        .Comment("Matrix Add")
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixAdd", {CString(kind), name})
        .End()
        .Write();
}

BOOL CKXMatrixGridWnd::DropSignal(const CString& text) {
    if (!MayEdit()) return FALSE;
    ReloadIfModified();
    const KXMatrixViewPaths before = StoredPaths();
    const std::vector<CKXMatrixNetData> added = AddSignalByName(text);
    for (const CKXMatrixNetData& data : added) {
        const CNetContext net = m_designContext.net(data.netId);
        if (m_pMatrixViewData)
            m_pMatrixViewData->AddSignalToMatrixView(m_strViewName,
                                                     data.bit < 0 ? ViewPathOf(net, m_designContext)
                                                                  : ViewPathOf(net.bitContext(data.bit), m_designContext));
    }
    if (added.empty()) return FALSE;
    MarkViewLoaded();
    MarkModified();
    RecordAddition(before);
    CString name = text;
    JournalAdd("signal", name.Trim());
    Redraw();
    return TRUE;
}

// ------------------------------------------------------------------ rows of a signal, pins of a row

std::vector<ROWCOL> CKXMatrixGridWnd::SignalRows(unsigned netId, int bit) const {
    return m_rowIndex.Rows(KXRowKey::NetBit(netId, bit));
}

bool CKXMatrixGridWnd::RowShowsPin(ROWCOL row, int group, unsigned pinId, int pinBit) {
    const KXRowAttrs attrs(*this, row);
    const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
    return attrs.Has(pinCol, kAttrPinId) && attrs.Get(pinCol, kAttrPinId) == static_cast<int>(pinId) &&
           attrs.Get(pinCol, kAttrPinBit) == pinBit;
}

ROWCOL CKXMatrixGridWnd::FreeRowOfSignal(unsigned netId, int bit, int group) {
    const std::vector<ROWCOL> rows = SignalRows(netId, bit);
    if (rows.empty()) return 0;
    const ROWCOL pinCol = Col(ColumnOf(group, Layout().m_nPinNameOffset));
    for (ROWCOL row : rows) {
        const KXRowAttrs attrs(*this, row);
        if (!attrs.Has(pinCol, kAttrPinId) || attrs.Get(pinCol, kAttrPinId) < 0) return row;
    }
    INet* net = m_designContext.design()->findNet(netId);
    return net ? InsertSignalRow(rows.back() + 1, net, bit) : 0;
}

void CKXMatrixGridWnd::FillPinRows(const CConn& conn, int mode) {
    IInstTerm* pin = conn.instTerm();
    INet* net = conn.net();
    const int group = pin && pin->instance() ? GroupOf(pin->instance()->id()) : -1;
    if (group < 0 || !net) return;
    GridWriteScope write(*this);
    // Pin bits and net bits pair up from the first ends to the second ends.
    const int width = std::max(1, conn.width());
    const int pinStep = conn.instTermLsb() >= conn.instTermMsb() ? 1 : -1;
    const int netStep = conn.netLsb() >= conn.netMsb() ? 1 : -1;
    for (int k = 0; k < width; ++k) {
        const int pinBit = conn.instTermMsb() < 0 ? -1 : conn.instTermMsb() + k * pinStep;
        const int netBit = conn.netMsb() < 0 ? -1 : conn.netMsb() + k * netStep;
        if (mode == 2) {
            for (ROWCOL row : m_rowIndex.Rows(KXRowKey::PinBit(pin->id(), pinBit)))
                if (RowShowsPin(row, group, pin->id(), pinBit)) ClearGroupCells(row, group);
            continue;
        }
        const std::vector<ROWCOL> rows = SignalRows(net->id(), netBit);
        if (rows.empty()) continue;
        const bool shown = std::any_of(rows.begin(), rows.end(),
                                       [&](ROWCOL row) { return RowShowsPin(row, group, pin->id(), pinBit); });
        if (shown) continue;
        const ROWCOL row = FreeRowOfSignal(net->id(), netBit, group);
        const CInstTermBitContext context = GroupInstance(group).instTerm(pin).bitContext(pinBit);
        if (row) WriteConnectionCells(row, group, context, PinText(pin, pinBit), context.physicalPinName());
    }
}

void CKXMatrixGridWnd::RemoveSignalRows(unsigned netId) {
    for (auto it = m_arrNetData.begin(); it != m_arrNetData.end();) {
        if (it->netId != netId) {
            ++it;
            continue;
        }
        std::vector<ROWCOL> rows = SignalRows(it->netId, it->bit);
        m_rowIndex.RemoveKey(KXRowKey::NetBit(it->netId, it->bit));
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            RemoveRows(*row, *row, kNoUpdate, gxDo);
        m_shownSignals.erase(KXRowKey::NetBit(it->netId, it->bit));
        it = m_arrNetData.erase(it);
    }
}

void CKXMatrixGridWnd::RemoveGroup(int group) {
    if (group < 0 || group >= GroupCount()) return;
    const ROWCOL first = Col(ColumnOf(group, 0));
    RemoveCols(first, first + static_cast<ROWCOL>(Layout().m_nGroupWidth) - 1, kNoUpdate, gxDo);
    m_arrInstanceIds.erase(m_arrInstanceIds.begin() + group);
    ReindexGroups();
    SetupFrozenHeader();
}

void CKXMatrixGridWnd::ReindexGroups() {
    m_groupOfInstance.clear();
    for (std::size_t g = 0; g < m_arrInstanceIds.size(); ++g)
        m_groupOfInstance[m_arrInstanceIds[g]] = static_cast<int>(g);
}
