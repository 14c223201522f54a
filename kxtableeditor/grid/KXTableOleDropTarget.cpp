#include "grid/KXTableOleDropTarget.h"

#include "KXTableEditor.h"
#include "grid/KXDropPayload.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridSite.h"

#include "afx/afxdoc.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CKXTableOleDropTarget, COleDropTarget)

namespace {
constexpr const char* kPinGrid = "CKXInstanceDetailsGridWnd";
constexpr const char* kSignalGrid = "CKXSignalDetailsGridWnd";
constexpr const char* kMatrixGrid = "CKXMatrixGridWnd";

bool Offers(COleDataObject* data, UINT stringId, UINT& format) {
    format = RegisterFormatFromString(stringId);
    return format && data && data->IsDataAvailable(static_cast<CLIPFORMAT>(format));
}

CString TextOf(COleDataObject* data, UINT format) {
    return data->GetText(static_cast<CLIPFORMAT>(format));
}

IKXTableDropSite* Site(CWnd* wnd) {
    return dynamic_cast<IKXTableDropSite*>(wnd);
}

// The pane that holds the window: the nearest parent that is a grid site.
IKXGridSite* OwnerPane(CWnd* wnd) {
    for (CWnd* w = wnd ? wnd->GetParent() : nullptr; w; w = w->GetParent())
        if (auto* site = dynamic_cast<IKXGridSite*>(w)) return site;
    return nullptr;
}

DROPEFFECT Accept(CWnd* wnd, COleDataObject* data, CPoint point, bool moving) {
    if (!wnd) return DROPEFFECT_NONE;
    UINT f = 0;
    if (Offers(data, IDS_COMPONENT_BROWSER_DROP_DATA, f) && wnd->IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid)))
        return DROPEFFECT_COPY;
    if (Offers(data, IDS_SIGNAL_BROWSER_DROP_DATA, f) && wnd->IsKindOf(RUNTIME_CLASS(CKXSignalPaneGrid)))
        return DROPEFFECT_COPY;
    if (Offers(data, IDS_INSTANCE_VIEW_DROP_DATA, f)) {
        if (KXIsKindOfName(wnd, kMatrixGrid)) return DROPEFFECT_COPY;
        if (KXIsKindOfName(wnd, kSignalGrid)) {
            if (!moving) return DROPEFFECT_COPY;
            IKXTableDropSite* site = Site(wnd);
            return site && site->CanDropAt(point.x, point.y) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        }
    }
    if (Offers(data, IDS_PHYSICAL_PART_FILTER_DROP_DATA, f) &&
        wnd->IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid)))
        return DROPEFFECT_COPY;
    if (Offers(data, IDS_SIGNAL_VIEW_DROP_DATA, f)) {
        if (KXIsKindOfName(wnd, kMatrixGrid)) return DROPEFFECT_COPY;
        if (KXIsKindOfName(wnd, kPinGrid)) {
            if (!moving) return DROPEFFECT_COPY;
            IKXTableDropSite* site = Site(wnd);
            return site && site->CanDropSignal(point, TextOf(data, f)) == 1 ? DROPEFFECT_COPY
                                                                            : DROPEFFECT_NONE;
        }
    }
    return DROPEFFECT_NONE;
}

// The list grid's AddInstance, when the list pane offers it.
template <class G>
BOOL AddInstanceTo(G* grid, const CString& lib, const CString& cell, const CString& view,
                   const CString& second, CStringArray& first, CStringArray& rest) {
    if constexpr (requires {
                      grid->AddInstance(lib, cell, view, second, first, rest, 1, 0, 3, CString(), CString(),
                                        0, CString(), 1);
                  }) {
        // The list answers whether the instance was added: a drop it refused is no success.
        return grid->AddInstance(lib, cell, view, second, first, rest, 1, 0, 3, CString(), CString(), 0,
                                 CString(), 1) != FALSE;
    } else {
        (void)grid, (void)lib, (void)cell, (void)view, (void)second, (void)first, (void)rest;
        return FALSE;
    }
}

// A drop that places nothing says why.
BOOL Refuse(const char* id, const CString& what) {
    CKXErrorHandler::MessageBoxOk(id, what);
    return FALSE;
}

// A drop whose text names no master the way LIB.CELL:VIEW does places nothing, and says so.
BOOL RefuseMaster(const CString& text) {
    return Refuse("KXPANE-251", text);
}
} // namespace

BOOL KXIsKindOfName(const CObject* object, const char* className) {
    if (!object || !className) return FALSE;
    for (const CRuntimeClass* rc = object->GetRuntimeClass(); rc; rc = rc->GetBaseClass())
        if (rc->m_lpszClassName && std::strcmp(rc->m_lpszClassName, className) == 0) return TRUE;
    return FALSE;
}

BOOL CKXTableOleDropTarget::RegisterTarget(CWnd* pWnd, const CDesignContext& design) {
    m_designContext = design;
    return Register(pWnd);
}

DROPEFFECT CKXTableOleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD, CPoint point) {
    return Accept(pWnd, pDataObject, point, false);
}

DROPEFFECT CKXTableOleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD, CPoint point) {
    return Accept(pWnd, pDataObject, point, true);
}

namespace {

// Components dropped on a signal grid: a row for each the design has; names it lacks give no row, and
// the drop says so when none was found.
BOOL DropInstancesOnSignalGrid(CWnd* pWnd, const CDesignContext& design, const CString& text) {
    IKXTableDropSite* site = Site(pWnd);
    BOOL wasRedraw = pWnd->GetRedraw();
    pWnd->SetRedraw(FALSE);
    bool any = false;
    BOOL anyAdded = FALSE;
    for (const CString& line : KXDropLines(text)) {
        CInstanceContext inst = design.instance(line);
        if (!inst || !site) continue;
        any = true;
        site->CrossSelectInHost();
        BOOL added = FALSE;
        site->AddInstanceRow(inst, added);
        if (added) anyAdded = TRUE;
    }
    pWnd->SetRedraw(wasRedraw);
    if (any) pWnd->Invalidate();
    if (!any) CKXErrorHandler::MessageBoxOk("KXPANE-250", KXDroppedNames(text));
    return anyAdded;
}

// A part description of the physical-part filter dropped on the component list: an instance of its
// master with its properties. A name the design does not take places nothing, and the drop says so as
// the list's AddComponent does.
BOOL DropPartOnList(CKXInstancePaneGrid* list, const CString& text) {
    SKXPartPayload part;
    CString error;
    KXDecodePartPayload(text, part, error);
    if (!error.IsEmpty()) return Refuse("KXPANE-530", error);
    if (!part.badProperty.IsEmpty()) return Refuse("KXPANE-531", part.badProperty);
    CString lib, cell, view;
    if (!KXSplitDesignName(part.design, lib, cell, view)) return RefuseMaster(part.design);
    CStringArray first, rest;
    for (const CString& s : part.flagged)
        first.Add(s);
    for (const CString& s : part.unflagged)
        rest.Add(s);
    const KXShownMark mark;
    const BOOL added = AddInstanceTo(list, lib, cell, view, part.second, first, rest);
    return KXEditResult::Of(added, "KXPANE-565", part.second).Answer(mark) == 1 ? TRUE : FALSE;
}

} // namespace

BOOL CKXTableOleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* data, DROPEFFECT, CPoint) {
    if (!pWnd || !data) return FALSE;
    UINT f = 0;
    if (Offers(data, IDS_COMPONENT_BROWSER_DROP_DATA, f) &&
        pWnd->IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid))) {
        CString lib, cell, view;
        if (!KXSplitDesignName(TextOf(data, f), lib, cell, view)) return RefuseMaster(TextOf(data, f));
        CStringArray first, rest;
        return AddInstanceTo(static_cast<CKXInstancePaneGrid*>(pWnd), lib, cell, view, CString(), first,
                             rest);
    }
    if (Offers(data, IDS_SIGNAL_BROWSER_DROP_DATA, f) && pWnd->IsKindOf(RUNTIME_CLASS(CKXSignalPaneGrid)))
        return TRUE;
    if (Offers(data, IDS_INSTANCE_VIEW_DROP_DATA, f) && KXIsKindOfName(pWnd, kSignalGrid))
        return DropInstancesOnSignalGrid(pWnd, m_designContext, TextOf(data, f));
    if (Offers(data, IDS_INSTANCE_VIEW_DROP_DATA, f) && KXIsKindOfName(pWnd, kMatrixGrid)) {
        const KXShownMark mark;
        BOOL added = FALSE;
        if (IKXTableDropSite* site = Site(pWnd))
            for (const CString& line : KXDropLines(TextOf(data, f)))
                if (site->DropInstance(line)) added = TRUE;
        // Names the design lacks, or components the view shows already: nothing added, and said so
        // (once: a window that may not edit has said why already).
        return KXEditResult::Of(added, "KXPANE-470", KXDroppedNames(TextOf(data, f))).Answer(mark) == 1 ? TRUE : FALSE;
    }
    if (Offers(data, IDS_SIGNAL_VIEW_DROP_DATA, f) && KXIsKindOfName(pWnd, kPinGrid)) {
        // A drag that carries no name connects nothing, and the drop says so.
        if (CString name = TextOf(data, f); name.Trim().IsEmpty())
            return Refuse("KXTABLE-112", TextOf(data, f));
        if (IKXTableDropSite* site = Site(pWnd)) site->CrossSelectInHost();
        IKXGridSite* pane = OwnerPane(pWnd);
        return pane && pane->AttachSignalByName(TextOf(data, f));
    }
    if (Offers(data, IDS_SIGNAL_VIEW_DROP_DATA, f) && KXIsKindOfName(pWnd, kMatrixGrid)) {
        const KXShownMark mark;
        IKXTableDropSite* site = Site(pWnd);
        const BOOL added = site && site->DropSignal(TextOf(data, f));
        return KXEditResult::Of(added, "KXPANE-470", KXDroppedNames(TextOf(data, f))).Answer(mark) == 1 ? TRUE : FALSE;
    }
    if (Offers(data, IDS_PHYSICAL_PART_FILTER_DROP_DATA, f) &&
        pWnd->IsKindOf(RUNTIME_CLASS(CKXInstancePaneGrid)))
        return DropPartOnList(static_cast<CKXInstancePaneGrid*>(pWnd), TextOf(data, f));
    return FALSE;
}

UINT RegisterFormatFromString(UINT nStringId) {
    CString name;
    if (!name.LoadString(nStringId)) return 0;
    return RegisterClipboardFormatA(name);
}
