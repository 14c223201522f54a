// The grids of the connectivity pane: the one factory that makes a grid of any
// kind (the only place of the pane that knows the grid classes), the typed views
// the pane takes of a grid after a Kind() check, and the site interface through
// which the grids reach the pane and the design window's document.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "matrix/KXMatrixGridWnd.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxinstsigpane/KXListPanes.h"

#include <algorithm>

namespace {

// The window of a new grid: a hidden child of the pane until it is shown.
template <class Grid> std::unique_ptr<Grid> MakeWindow(CWnd* pane, UINT id) {
    auto grid = std::make_unique<Grid>();
    if (!grid->Create(WS_CHILD | WS_CLIPSIBLINGS, CRect(200, 200, 200, 200), pane, id)) return nullptr;
    return grid;
}

} // namespace

BOOL CKXBottomPaneContainerView::IsGridKindAvailable(KXGridKind kind) {
    return kind == KXGridKind::Pin || kind == KXGridKind::Signal || kind == KXGridKind::PhysPart ||
           kind == KXGridKind::PhysNet || kind == KXGridKind::Matrix;
}

CKXGridWnd* CKXBottomPaneContainerView::CreateGrid(KXGridKind kind, int inConnectDialog) {
    std::unique_ptr<CKXGridWnd> made;
    switch (kind) {
    case KXGridKind::Pin:
        if (auto grid = MakeWindow<CKXInstanceDetailsGridWnd>(this, m_nNextGridId++)) {
            grid->SetSite(this);
            grid->InitializeGrid(this, PaneDesign(), PaneMasterDesign(), inConnectDialog);
            made = std::move(grid);
        }
        break;
    case KXGridKind::Signal:
        if (auto grid = MakeWindow<CKXSignalDetailsGridWnd>(this, m_nNextGridId++)) {
            grid->SetSite(this);
            grid->InitializeGrid(this, PaneDesign(), PaneMasterDesign());
            grid->SetParentFrame(m_pChildFrame);
            made = std::move(grid);
        }
        break;
    case KXGridKind::PhysPart:
        if (auto grid = MakeWindow<CKXPhysPartDetailsGridWnd>(this, m_nNextGridId++)) {
            grid->SetSite(this);
            grid->InitializeGrid(this, PaneDesign());
            grid->SetParentFrame(m_pChildFrame);
            made = std::move(grid);
        }
        break;
    case KXGridKind::PhysNet:
        if (auto grid = MakeWindow<CKXPhysNetDetailsGridWnd>(this, m_nNextGridId++)) {
            grid->SetSite(this);
            grid->InitializeGrid(this, PaneDesign());
            grid->SetParentFrame(m_pChildFrame);
            made = std::move(grid);
        }
        break;
    case KXGridKind::Matrix:
        if (auto grid = MakeWindow<CKXMatrixGridWnd>(this, m_nNextGridId++)) {
            grid->SetupGrid(this, PaneDesign(), PaneMasterDesign(), 0);
            grid->SetChildFrame(m_pChildFrame);
            made = std::move(grid);
        }
        break;
    case KXGridKind::None:
        // Not available in this library: the caller reports it.
        return nullptr;
    }
    if (!made) return nullptr;
    m_grids.push_back(std::move(made));
    return m_grids.back().get();
}

void CKXBottomPaneContainerView::SaveColumnCustomizations() {
    // The first grid of a kind keeps the column customisation of its kind for the next session.
    for (const auto& g : m_grids)
        if (IKXPinGrid* pin = PinGridOf(g.get())) {
            pin->LoadCustomPropertyColumns(TRUE);
            break;
        }
    for (const auto& g : m_grids)
        if (CKXSignalDetailsGridWnd* signal = SignalGridOf(g.get())) {
            signal->SaveColumnCustomization(TRUE);
            break;
        }
    for (const auto& g : m_grids)
        if (CKXMatrixGridWnd* matrix = MatrixGridOf(g.get())) {
            matrix->LoadCustomization(TRUE);
            break;
        }
    if (m_pPhysPartGrid) m_pPhysPartGrid->SaveColumnCustomization(TRUE);
    if (m_pPhysNetGrid) m_pPhysNetGrid->SaveColumnCustomization(true);
}

void CKXBottomPaneContainerView::DestroyGrid(CKXGridWnd* grid) {
    if (!grid) return;
    ForgetGridInHistory(grid);
    std::erase(m_shownGrids, grid);
    if (m_pObjectInfo) m_pObjectInfo->ForgetWindow(grid);
    std::erase_if(m_grids, [grid](const std::unique_ptr<CKXGridWnd>& g) { return g.get() == grid; });
}

int CKXBottomPaneContainerView::GetGridCount(KXGridKind kind) const {
    return static_cast<int>(std::count_if(m_grids.begin(), m_grids.end(),
                                          [kind](const std::unique_ptr<CKXGridWnd>& g) { return g->Kind() == kind; }));
}

IKXPinGrid* CKXBottomPaneContainerView::PinGridOf(CKXGridWnd* grid) {
    return grid && grid->Kind() == KXGridKind::Pin ? static_cast<CKXInstanceDetailsGridWnd*>(grid) : nullptr;
}

CKXSignalDetailsGridWnd* CKXBottomPaneContainerView::SignalGridOf(CKXGridWnd* grid) {
    return grid && grid->Kind() == KXGridKind::Signal ? static_cast<CKXSignalDetailsGridWnd*>(grid) : nullptr;
}

CKXPhysNetDetailsGridWnd* CKXBottomPaneContainerView::PhysNetGridOf(CKXGridWnd* grid) {
    return grid && grid->Kind() == KXGridKind::PhysNet ? static_cast<CKXPhysNetDetailsGridWnd*>(grid) : nullptr;
}

CKXMatrixGridWnd* CKXBottomPaneContainerView::MatrixGridOf(CKXGridWnd* grid) {
    return grid && grid->Kind() == KXGridKind::Matrix ? static_cast<CKXMatrixGridWnd*>(grid) : nullptr;
}

CKXPhysPartDetailsGridWnd* CKXBottomPaneContainerView::PhysPartGridOf(CKXGridWnd* grid) {
    return grid && grid->Kind() == KXGridKind::PhysPart ? static_cast<CKXPhysPartDetailsGridWnd*>(grid) : nullptr;
}

// ------------------------------------------------------------------ the grids' site

CComments* CKXBottomPaneContainerView::CommentStore() {
    return GetCommentStore();
}

void CKXBottomPaneContainerView::MarkModified() {
    if (CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr) doc->SetModified(TRUE);
}

BOOL CKXBottomPaneContainerView::IsDocumentModified() const {
    const CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc && doc->IsDesignModified() ? TRUE : FALSE;
}

void CKXBottomPaneContainerView::RestoreDocumentModified(BOOL bModified) {
    if (CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr) doc->SetModified(bModified);
}

CString CKXBottomPaneContainerView::DocumentJournalHandle() {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc ? doc->GetJournalHandle() : CString();
}

EOpenMode CKXBottomPaneContainerView::OpenMode() const {
    CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr;
    return doc ? doc->GetOpenMode() : eOpenModeNoSwitch;
}

CCommonInterface* CKXBottomPaneContainerView::UndoSink() {
    return this;
}

BOOL CKXBottomPaneContainerView::IsSiteBusy() const {
    return IsBusy();
}

CCommonInterface* CKXBottomPaneContainerView::InstanceListPane() {
    return m_pInstancePane;
}

CCommonInterface* CKXBottomPaneContainerView::SignalListPane() {
    return m_pSignalPane;
}

CKXListComboBox* CKXBottomPaneContainerView::SignalDropList() const {
    return GetSignalDropList();
}

CKXListComboBox* CKXBottomPaneContainerView::DiffPairDropList() const {
    return GetDiffPairDropList();
}

void CKXBottomPaneContainerView::RunPaneCommand(UINT commandId) {
    SendMessage(WM_COMMAND, commandId, 0);
}

BOOL CKXBottomPaneContainerView::AssignPowerInListPane(const std::vector<CImplicitPin*>& pins,
                                                       CStringArray* names) {
    CKXInstancePaneContainerView* pane = m_pChildFrame ? m_pChildFrame->GetInstancePaneView() : nullptr;
    if (!pane || !pane->GetInstancePaneGrid()) return FALSE;
    return pane->GetInstancePaneGrid()->AssignPower(pins, names);
}

void CKXBottomPaneContainerView::FlagDocumentModified() {
    if (CKXTableDoc* doc = m_pChildFrame ? m_pChildFrame->GetTableDoc() : nullptr) doc->SetModifiedFlag(TRUE);
}

void CKXBottomPaneContainerView::ActivateSiteView() {
    if (m_pChildFrame) m_pChildFrame->SetActiveView(this, TRUE);
}

CString CKXBottomPaneContainerView::NewSignalAutoName() {
    CKXSignalPaneContainerView* view = m_pChildFrame ? m_pChildFrame->GetSignalPaneView() : nullptr;
    return view ? view->GetSignalGridWnd()->GetNewAutoName() : CString();
}

void CKXBottomPaneContainerView::SetConnectRuleText(int which, const CString& text) {
    switch (which) {
    case kRulePrefixPinName: SetPrefixPinNameText(text); break;
    case kRuleSuffixPinName: SetSuffixPinNameText(text); break;
    case kRulePrefixPinNumber: SetPrefixPinNumberText(text); break;
    case kRuleSuffixPinNumber: SetSuffixPinNumberText(text); break;
    default: break;
    }
}
