// The views of the list panes: the physical lists (parts and nets of the whole hierarchy), the block filter
// that leaves blocks out of them, switching between the logical and the physical view, and opening a block.
#include "kxinstsigpane/KXListPanes.h"

#include <memory>

#include "afx/afxdoc.h"
#include "kxcommon/KXDocument.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/packaging.h"
#include "rmx/schema.h"

namespace {

// A block's path covers the objects inside it: what follows the block's own path starts a deeper level
// ("@"), a pin (".") or a net (":").
bool BlockCovers(const CString& block, const CString& path) {
    if (block.IsEmpty() || path.GetLength() < block.GetLength() || path.Left(block.GetLength()) != block)
        return false;
    if (path.GetLength() == block.GetLength()) return true;
    const char next = path[block.GetLength()];
    return next == '@' || next == '.' || next == ':';
}

CFrameWnd* FrameOf(CDocument* doc) {
    if (!doc) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    return view ? view->GetParentFrame() : nullptr;
}

// The visible window (other than `except`) that shows the master design in the physical view (mode 4),
// or for bPhysical FALSE in a logical one (any other mode).
CKXDocument* FindViewDocument(CDocTemplate* tmpl, const CKXDocument* except, IDesign* master, BOOL bPhysical) {
    if (!tmpl || !master) return nullptr;
    for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) {
        auto* doc = dynamic_cast<CKXDocument*>(tmpl->GetNextDoc(pos));
        if (!doc || doc == except || doc->GetMasterDesignContext().design() != master) continue;
        if ((doc->GetOpenMode() == eOpenModePhysical) != (bPhysical != FALSE)) continue;
        CFrameWnd* frame = FrameOf(doc);
        if (frame && frame->IsWindowVisible()) return doc;
    }
    return nullptr;
}

void ActivateDocument(CDocument* doc) {
    if (auto* child = dynamic_cast<CMDIChildWnd*>(FrameOf(doc))) child->MDIActivate();
}

} // namespace

// ------------------------------------------------------------------------------------------------ physical lists

ROWCOL CKXPhysPartGrid::FindObjectRow(LPCTSTR nameOrPath) const {
    const ROWCOL row = CKXListPaneGrid::FindObjectRow(nameOrPath);
    if (row != GX_INVALID || !nameOrPath) return row;
    auto part = m_partOfInstance.find(nameOrPath);
    return part == m_partOfInstance.end() ? GX_INVALID : CKXListPaneGrid::FindObjectRow(part->second);
}

void CKXPhysPartGrid::FillFromDesign(const CDesignContext& design) {
    m_partOfInstance.clear();
    std::vector<Entry> entries;
    for (const CString& refDes : getPhysPartNames(&design)) {
        std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&design, refDes.GetString()));
        if (!part) continue;
        const std::vector<CInstanceContext> instances = part->logicalInstances();
        // A part is left out when every logical instance of it lies in an excluded block.
        bool shown = instances.empty();
        for (const CInstanceContext& inst : instances)
            shown = shown || !m_pView || !m_pView->IsExcludedByBlockFilter(inst.spath());
        if (!shown) continue;
        for (const CInstanceContext& inst : instances) {
            m_partOfInstance.emplace(inst.name().GetString(), refDes);
            m_partOfInstance.emplace(inst.spath().GetString(), refDes);
        }
        entries.push_back({refDes, instances.empty() ? CString() : instances.front().spath(), CString()});
    }
    std::vector<ISchemaObject*> keys(entries.size(), nullptr);
    SetEntries(std::move(entries), std::move(keys));
}

void CKXPhysNetGrid::FillFromDesign(const CDesignContext& design) {
    std::vector<Entry> entries;
    for (const CString& name : getPhysNetNames(&design)) {
        std::unique_ptr<IPhysNet> net(getPhysNet(&design, name.GetString()));
        // The net bit behind a physical net is followed up the hierarchy as far as it goes: a net
        // whose top is inside an excluded block lies wholly in it.
        const CString path = net ? net->netBitContext().spath() : CString();
        if (m_pView && m_pView->IsExcludedByBlockFilter(path)) continue;
        entries.push_back({name, path, CString()});
    }
    std::vector<ISchemaObject*> keys(entries.size(), nullptr);
    SetEntries(std::move(entries), std::move(keys));
}

// ------------------------------------------------------------------------------------------------ block filter

void CKXListPaneView::SetBlockFilterList(CStringList* list) {
    m_blockFilter.RemoveAll();
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;) m_blockFilter.AddTail(list->GetNext(pos));
    CString count;
    count.Format("%d", static_cast<int>(m_blockFilter.GetCount()));
    Record("SetBlockFilterList", {count});
    RefillPhysicalLists();
}

void CKXListPaneView::FilterPhys(CString filter) {
    m_strPhysFilter = filter;
    Record("FilterPhys", {filter});
    m_blockFilter.RemoveAll();
    for (int start = 0; start < filter.GetLength();) {
        int end = filter.Find('\n', start);
        if (end < 0) end = filter.GetLength();
        CString path = filter.Mid(start, end - start);
        path.Trim();
        if (!path.IsEmpty() && !m_blockFilter.Find(path)) m_blockFilter.AddTail(path);
        start = end + 1;
    }
    RefillPhysicalLists();
}

BOOL CKXListPaneView::IsExcludedByBlockFilter(const CString& spath) const {
    for (POSITION pos = m_blockFilter.GetHeadPosition(); pos;)
        if (BlockCovers(m_blockFilter.GetNext(pos), spath)) return TRUE;
    return FALSE;
}

void CKXListPaneView::RefillPhysicalLists() {
    for (CKXListPaneGrid* list : GetLists())
        if (!list->FollowsObjects() && list->GetReadyState()) Refill(list);
}

// ------------------------------------------------------------------------------------------------ view switching

namespace {
// Saves a modified design before a switch as the flag says (-1: ask); FALSE when the switch is off.
BOOL SaveBeforeSwitch(CKXDocument& doc, int flag) {
    if (!doc.IsModified()) return TRUE;
    if (flag == -1) {
        IDesign* design = doc.GetMasterDesignContext().design();
        const int answer = CKXErrorHandler::MessageBoxYesNoCancel("KXCOMMON-101", CString(design->name()));
        if (answer == IDCANCEL) return FALSE;
        flag = answer == IDYES ? 1 : 0;
    }
    // Silent: the switch saves the design in place (no Save As in the editable block's mode).
    return flag == 1 ? doc.SaveCurrentDesign(doc.GetPathName(), TRUE) : TRUE;
}
} // namespace

BOOL CKXListPaneView::SwitchView(int flag, BOOL bPhysical) {
    auto* doc = dynamic_cast<CKXDocument*>(GetDocument());
    IDesign* master = doc ? doc->GetMasterDesignContext().design() : nullptr;
    if (!master) return FALSE;
    if (!SaveBeforeSwitch(*doc, flag)) return FALSE;
    CDocTemplate* tmpl = doc->GetDocTemplate();
    if (CKXDocument* shown = FindViewDocument(tmpl, doc, master, bPhysical)) {
        ActivateDocument(shown);
        return TRUE;
    }
    // The host opens the design in the other view (and journals the opening).
    const CString name = master->name();
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_OPEN_DESIGN, bPhysical ? eOpenModePhysical : eOpenModeEditBlock,
                      reinterpret_cast<LPARAM>(name.GetString()), 0);
    if (FindViewDocument(tmpl, doc, master, bPhysical)) return TRUE;
    CKXErrorHandler::MessageBoxOk("KXPANE-271", name, CString(bPhysical ? "physical" : "logical"));
    return FALSE;
}

BOOL CKXInstancePaneGrid::ViewPhysical(int flag) {
    CString f;
    f.Format("%d", flag);
    Record("ViewPhysical", {f});
    return m_pView && m_pView->SwitchView(flag, TRUE);
}

BOOL CKXPhysPartGrid::ViewPhysical(int flag) {
    CString f;
    f.Format("%d", flag);
    Record("ViewPhysical", {f});
    return m_pView && m_pView->SwitchView(flag, FALSE);
}

// ------------------------------------------------------------------------------------------------ blocks

CInstanceContext CKXInstancePaneContainerView::SelectedBlock() {
    CStringArray selected;
    m_instanceGrid.GetSelectedNames(selected);
    CInstanceContext block = NamedOrSelectedInstance(CString());
    if (block.instance() && block.containedDesign()) return block;
    CString what = selected.GetSize() == 1 ? selected[0] : CString("(the selection)");
    CKXErrorHandler::MessageBoxOk("KXPANE-272", what);
    return CInstanceContext();
}

BOOL CKXInstancePaneContainerView::Descend() {
    Record("Descend");
    const CInstanceContext block = SelectedBlock();
    if (!block) return FALSE;
    const CDesignContext inner = block.containedDesign();
    auto* doc = dynamic_cast<CKXDocument*>(GetDocument());
    auto* tmpl = doc ? dynamic_cast<CKXMultiDocTemplate*>(doc->GetDocTemplate()) : nullptr;
    if (!tmpl) return FALSE;
    CKXDocument* shown = tmpl->FindDocument(inner, eOpenModeContext);
    if (!shown) {
        // The journal names the block as the user chose it, before the new window reports itself.
        JournalEdit("Select Component", "Clp().Select", {block.name()});
        JournalEdit("Descend", "Descend", {});
        shown = dynamic_cast<CKXDocument*>(tmpl->OpenDocumentFile(inner, eOpenModeContext));
    }
    if (!shown) {
        CKXErrorHandler::MessageBoxOk("KXPANE-271", inner.name(), CString("logical"));
        return FALSE;
    }
    ActivateDocument(shown);
    return TRUE;
}

BOOL CKXInstancePaneContainerView::EditBlock() {
    Record("EditBlock");
    const CInstanceContext block = SelectedBlock();
    if (!block) return FALSE;
    IDesign* design = block.containedDesign().design();
    auto* doc = dynamic_cast<CKXDocument*>(GetDocument());
    auto* tmpl = doc ? dynamic_cast<CKXMultiDocTemplate*>(doc->GetDocTemplate()) : nullptr;
    if (!tmpl) return FALSE;
    const CDesignContext own(block.server(), design);
    if (CKXDocument* shown = tmpl->FindDocument(own, eOpenModeEditBlock)) {
        ActivateDocument(shown);
        return TRUE;
    }
    // The host opens the block as a design of its own (and journals the opening).
    const CString name = design->name();
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_OPEN_DESIGN, eOpenModeEditBlock, reinterpret_cast<LPARAM>(name.GetString()), 0);
    if (tmpl->FindDocument(own, eOpenModeEditBlock)) return TRUE;
    CKXErrorHandler::MessageBoxOk("KXPANE-271", name, CString("logical"));
    return FALSE;
}
