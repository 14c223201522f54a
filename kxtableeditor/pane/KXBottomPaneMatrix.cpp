// Matrix views in the connectivity pane: one matrix grid per opened view, the
// words and automation methods that open a view and type into its cells, and
// the pane words (sort, filterRows, dumpGrid) on an active matrix grid.
#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXScriptWords.h"

#include "matrix/KXMatrixGridWnd.h"
#include "matrix/KXMatrixViewDlg.h"
#include "shell/KXShellUtil.h"
#include "grid/KXGridUndo.h"
#include "grid/KXJournalLine.h"

#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxnotes/CComments.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A new view's name as the user typed it: printable text on one line, as every typed name; a name that is
// not is refused with its message, and nothing is stored.
bool TakeViewName(CString& name) {
    const KXShownMark mark;
    return KXTakeNameText(name).Answer(mark) == 1;
}

// The first value of every argument, in order.
std::vector<CString> Values(CTclArgsList* args) {
    std::vector<CString> values;
    if (!args) return values;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
        if (*it) values.push_back((*it)->GetArgCount() > 0 ? (*it)->GetValue(0) : CString());
    return values;
}

// The undo step of a change to the stored matrix views (they live with the design's comments, not
// in the design, so no design transaction can hold them): running it puts the views back as they
// were and records the opposite step.
class CKXMatrixViewUndoCmd : public CGXCommand, public IKXTouchedObjects {
public:
    using State = CKXBottomPaneContainerView::MatrixViewState;
    CKXMatrixViewUndoCmd(CKXBottomPaneContainerView* pane, State before, State after)
        : m_pPane(pane), m_before(std::move(before)), m_after(std::move(after)) {}
    CString GetName() override { return "Matrix View"; }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override {
        if (!m_pPane || !m_pPane->SwapMatrixViewState(m_after, m_before)) return FALSE;
        m_pPane->AddUndoCommand(pGrid, new CKXMatrixViewUndoCmd(m_pPane, m_after, m_before), ctType, 0);
        return TRUE;
    }
    // A rename touches the view under both names.
    std::set<std::string> TouchedObjects() const override {
        std::set<std::string> touched;
        for (const State* state : {&m_before, &m_after})
            if (state->present) touched.insert(KXMatrixViewObject(state->name));
        return touched;
    }

private:
    CKXBottomPaneContainerView* m_pPane;
    State m_before, m_after;
};

} // namespace

CKXMatrixGridWnd* CKXBottomPaneContainerView::CreateMatrixGrid(const CString& viewName) {
    CKXMatrixGridWnd* grid = MatrixGridOf(CreateGrid(KXGridKind::Matrix));
    if (grid) grid->LoadMatrixView(viewName);
    return grid;
}

CKXMatrixGridWnd* CKXBottomPaneContainerView::ActiveMatrixGrid() const {
    return GetViewMode() == eOpenModePhysical ? nullptr : MatrixGridOf(GetActiveGrid());
}

void CKXBottomPaneContainerView::ShowMatrixView(const CDesignContext&, CString viewName) {
    if (GetViewMode() == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return;
    }
    CKXMatrixGridWnd* grid = nullptr;
    for (const auto& g : m_grids)
        if (CKXMatrixGridWnd* matrix = MatrixGridOf(g.get()); matrix && matrix->ViewName() == viewName) grid = matrix;
    if (!grid) grid = CreateMatrixGrid(viewName);
    if (!grid) return;
    m_strMatrixViewName = viewName;
    // The title names the view; the pane goes back to components with the next show request.
    m_bMatrixFlag = TRUE;
    SetPaneTitle(kShowsComponents);
    m_bMatrixFlag = FALSE;
    m_shown = {viewName};
    m_shownKeys.clear();
    m_strLastKeys = viewName;
    m_nLastKind = 0;
    m_shownGrids = {grid};
    m_pActiveGrid = grid;
    ReloadMatrixIfModified(viewName);
    LayoutShownGrids();
}

void CKXBottomPaneContainerView::ReloadMatrixIfModified(CString) {
    if (GetViewMode() == eOpenModePhysical || m_shownGrids.empty()) return;
    if (CKXMatrixGridWnd* matrix = MatrixGridOf(m_shownGrids.front())) matrix->ReloadIfModified();
}

// A name the design has no view of yet stores an empty view first: one undo step, as a defined view is.
// A read-only window only looks: the empty view it opens is no step and leaves its document unmodified.
void CKXBottomPaneContainerView::OpenMatrixView(CString name) {
    name.Trim();
    if (GetViewMode() == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return;
    }
    CComments* store = GetCommentStore();
    if (!store || name.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-402", name);
        return;
    }
    CMatrixViewData* views = store->GetMatrixViewData();
    if (!views->HasView(name)) {
        // A window that may not edit stores no view: a name the design keeps no view of opens nothing there.
        if (!MayEditStoredViews() || !TakeViewName(name)) return;
        if (!views->CreateView(name)) {
            CKXErrorHandler::MessageBoxOk("KXPANE-406", name);
            return;
        }
        MarkModified();
        RecordMatrixViewStep(MatrixViewState{}, StoredMatrixViewState(name));
    }
    OpenStoredMatrixView(name);
}

// A stored view opened by the user (by its name or from the menu) is journalled, a view made for it or
// not, so that a replay shows it where the user did: the lines after it act on that view.
void CKXBottomPaneContainerView::OpenStoredMatrixView(const CString& name) {
    KXJournalLines(DocumentJournalHandle())
        .Comment("Matrix View")
        .Pane("OpenMatrixView", {name})
        .End()
        .Write();
    ShowMatrixView(PaneDesign(), name);
}

BOOL CKXBottomPaneContainerView::IsInMatrixEditMode() {
    return ActiveMatrixGrid() ? TRUE : FALSE;
}

// Removes a stored view (the shown one when no name is given) and closes its window.
BOOL CKXBottomPaneContainerView::RemoveStoredMatrixView(CString name) {
    if (!MayEditStoredViews()) return FALSE;
    name.Trim();
    if (GetViewMode() == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return FALSE;
    }
    if (name.IsEmpty())
        if (CKXMatrixGridWnd* shown = ActiveMatrixGrid()) name = shown->ViewName();
    CComments* store = GetCommentStore();
    CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
    if (!views || name.IsEmpty() || !views->HasView(name)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-405", name);
        return FALSE;
    }
    const MatrixViewState before = StoredMatrixViewState(name);
    if (!views->RemoveView(name)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-405", name);
        return FALSE;
    }
    CloseWindowsOfGoneMatrixViews();
    MarkModified();
    RecordMatrixViewStep(before, MatrixViewState{});
    KXJournalLines(DocumentJournalHandle()).Comment("Matrix View").Pane("RemoveMatrixView", {name}).End().Write();
    return TRUE;
}

void CKXBottomPaneContainerView::CloseMatrixWindow(CKXMatrixGridWnd* window) {
    const bool shown = std::find(m_shownGrids.begin(), m_shownGrids.end(), window) != m_shownGrids.end();
    if (m_pActiveGrid == window) m_pActiveGrid = nullptr;
    DestroyGrid(window);
    if (!shown) return;
    m_shown.clear();
    m_strLastKeys.Empty();
    m_strMatrixViewName.Empty();
    SetPaneTitle(kShowsComponents); // the title no longer names the closed view
    LayoutShownGrids();
}

void CKXBottomPaneContainerView::RemoveMatrixView(CString name) {
    RemoveStoredMatrixView(name);
}

BOOL CKXBottomPaneContainerView::AutoRemoveMatrixView(LPCTSTR name) {
    return RemoveStoredMatrixView(name ? name : "");
}

// Stores the shown view's components and signals under a new name and shows that view.
BOOL CKXBottomPaneContainerView::AutoSaveAsMatrixView(LPCTSTR name) {
    if (!MayEditStoredViews()) return FALSE;
    CString target = name ? name : "";
    target.Trim();
    CKXMatrixGridWnd* shown = AutomationMatrixGrid();
    if (!shown) return FALSE;
    if (!TakeViewName(target)) return FALSE;
    CComments* store = GetCommentStore();
    CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
    if (!views || !views->CreateView(target)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-406", target);
        return FALSE;
    }
    std::vector<CString> paths;
    views->GetMatrixComponentList(shown->ViewName(), paths);
    for (const CString& path : paths) views->AddInstanceToMatrixView(target, path);
    paths.clear();
    views->GetMatrixSignalList(shown->ViewName(), paths);
    for (const CString& path : paths) views->AddSignalToMatrixView(target, path);
    MarkModified();
    RecordMatrixViewStep(MatrixViewState{}, StoredMatrixViewState(target));
    KXJournalLines(DocumentJournalHandle())
        .Comment("Matrix View")
        .Pane("OpenMatrixView", {shown->ViewName()})
        .Pane("SaveAsMatrixView", {target})
        .End()
        .Write();
    ShowMatrixView(PaneDesign(), target);
    return TRUE;
}

// ------------------------------------------------------------------ defining views

void CKXBottomPaneContainerView::CreateMatrixView() {
    if (!MayEditStoredViews()) return;
    if (GetViewMode() == eOpenModePhysical) {
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-178"));
        return;
    }
    CKXMatrixViewDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    const KXShownMark mark;
    const BOOL defined = DefineMatrixView(CString(), dlg.GetName(), dlg.GetComponents(), dlg.GetSignals());
    KXMenuAnswer::Report(KXEditResult::Of(defined, "KXPANE-178"), mark);
}

// The dialog opens with the shown view's name, components and signals.
void CKXBottomPaneContainerView::EditMatrixView() {
    if (!MayEditStoredViews()) return;
    CKXMatrixGridWnd* shown = ActiveMatrixGrid();
    CComments* store = GetCommentStore();
    if (!shown || !store) {
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-403"));
        return;
    }
    kxmatrix::KXMatrixViewPaths paths;
    store->GetMatrixViewData()->GetMatrixComponentList(shown->ViewName(), paths.instances);
    store->GetMatrixViewData()->GetMatrixSignalList(shown->ViewName(), paths.signals);
    std::vector<CString> components, signals;
    kxmatrix::NamesOfViewPaths(PaneDesign(), paths, components, signals);
    CKXMatrixViewDlg dlg(this);
    dlg.SetName(shown->ViewName());
    dlg.SetComponents(components);
    dlg.SetSignals(signals);
    if (dlg.DoModal() != IDOK) return;
    const KXShownMark mark;
    const BOOL defined = DefineMatrixView(shown->ViewName(), dlg.GetName(), dlg.GetComponents(), dlg.GetSignals());
    KXMenuAnswer::Report(KXEditResult::Of(defined, "KXPANE-178"), mark);
}

void CKXBottomPaneContainerView::SaveAsMatrixView() {
    if (!MayEditStoredViews()) return;
    if (!ActiveMatrixGrid()) {
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-403"));
        return;
    }
    CKXMatrixSaveAsDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    const KXShownMark mark;
    const BOOL saved = AutoSaveAsMatrixView(dlg.GetName());
    KXMenuAnswer::Report(KXEditResult::Of(saved, "KXPANE-178"), mark);
}

BOOL CKXBottomPaneContainerView::AutoCreateMatrixView(LPCTSTR name, LPCTSTR components, LPCTSTR signals) {
    return DefineMatrixView(CString(), name ? name : "", kxmatrix::SplitNames(components ? components : ""),
                            kxmatrix::SplitNames(signals ? signals : ""));
}

BOOL CKXBottomPaneContainerView::AutoEditMatrixView(LPCTSTR view, LPCTSTR name, LPCTSTR components,
                                                    LPCTSTR signals) {
    CString old = view ? view : "";
    old.Trim();
    if (old.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-410", old);
        return FALSE;
    }
    return DefineMatrixView(old, name ? name : "", kxmatrix::SplitNames(components ? components : ""),
                            kxmatrix::SplitNames(signals ? signals : ""));
}

// Stores a view as named (view empty: a new one, else the stored view of that name renamed and
// refilled in its place) and shows it. A refused definition changes nothing.
BOOL CKXBottomPaneContainerView::DefineMatrixView(const CString& view, CString name,
                                                  const std::vector<CString>& components,
                                                  const std::vector<CString>& signals) {
    name.Trim();
    if (!MayEditStoredViews()) return FALSE;
    if (GetViewMode() == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return FALSE;
    }
    CComments* store = GetCommentStore();
    CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
    const bool editing = !view.IsEmpty();
    if (!views) {
        CKXErrorHandler::MessageBoxOk("KXPANE-402", name);
        return FALSE;
    }
    if (editing && !views->HasView(view)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-410", view);
        return FALSE;
    }
    if (name.IsEmpty() || (name != view && views->HasView(name))) {
        CKXErrorHandler::MessageBoxOk("KXPANE-406", name);
        return FALSE;
    }
    if (name != view && !TakeViewName(name)) return FALSE;
    kxmatrix::KXMatrixViewPaths paths, before;
    CString bad;
    if (!kxmatrix::ResolveViewNames(PaneDesign(), components, signals, paths, bad)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-411", name, bad);
        return FALSE;
    }
    if (editing) {
        views->GetMatrixComponentList(view, before.instances);
        views->GetMatrixSignalList(view, before.signals);
    }
    // A definition the stored view has already is no change: nothing to store, journal or show.
    if (editing && name == view && before.instances == paths.instances && before.signals == paths.signals) {
        CKXErrorHandler::MessageBoxOk("KXPANE-621", view);
        return FALSE;
    }
    {
        const MatrixViewState previous = editing ? StoredMatrixViewState(view) : MatrixViewState{};
        const BOOL stored = editing ? views->ReplaceView(view, name, paths.instances, paths.signals)
                                    : views->InsertView(static_cast<int>(views->Count()), name, paths.instances,
                                                        paths.signals);
        if (!stored) {
            CKXErrorHandler::MessageBoxOk("KXPANE-406", name);
            return FALSE;
        }
        MarkModified();
        RecordMatrixViewStep(previous, StoredMatrixViewState(name));
        JournalMatrixDefinition(view, name, components, signals);
        if (editing)
            for (const auto& g : m_grids)
                if (CKXMatrixGridWnd* matrix = MatrixGridOf(g.get()); matrix && matrix->ViewName() == view)
                    matrix->LoadMatrixView(name);
        CloseWindowsOfGoneMatrixViews();
    }
    ShowMatrixView(PaneDesign(), name);
    return TRUE;
}

void CKXBottomPaneContainerView::JournalMatrixDefinition(const CString& view, const CString& name,
                                                         const std::vector<CString>& components,
                                                         const std::vector<CString>& signals) {
    const CString componentText = kxmatrix::JoinNames(components), signalText = kxmatrix::JoinNames(signals);
    KXJournalLines lines(DocumentJournalHandle());
    lines.Comment("Matrix View");
    if (view.IsEmpty())
        lines.Pane("CreateMatrixView", {name, componentText, signalText});
    else
        lines.Pane("EditMatrixView", {view, name, componentText, signalText});
    lines.End().Write();
}

// ------------------------------------------------------------------ undo of stored views

CKXBottomPaneContainerView::MatrixViewState CKXBottomPaneContainerView::StoredMatrixViewState(const CString& name) {
    MatrixViewState state;
    CComments* store = GetCommentStore();
    CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
    if (!views || !views->HasView(name)) return state;
    state.present = true;
    state.name = name;
    state.index = views->IndexOfView(name);
    views->GetMatrixComponentList(name, state.instances);
    views->GetMatrixSignalList(name, state.signals);
    return state;
}

void CKXBottomPaneContainerView::RecordMatrixViewStep(const MatrixViewState& before, const MatrixViewState& after) {
    AddUndoCommand(PaneGrid(), new CKXMatrixViewUndoCmd(this, before, after), gxDo, 0);
}

BOOL CKXBottomPaneContainerView::SwapMatrixViewState(MatrixViewState& from, const MatrixViewState& to) {
    CComments* store = GetCommentStore();
    CMatrixViewData* views = store ? store->GetMatrixViewData() : nullptr;
    if (!views) return FALSE;
    // The store must hold what the step left: a view changed since by a step of no undo of its own (a
    // drop) would lose that change, so the step is refused instead.
    if (from.present) {
        const MatrixViewState now = StoredMatrixViewState(from.name);
        if (!now.present || now.instances != from.instances || now.signals != from.signals) return FALSE;
    }
    if (to.present && to.name != from.name && views->HasView(to.name)) return FALSE;
    if (from.present) from.index = views->IndexOfView(from.name);
    CKXMatrixGridWnd* window = nullptr;
    for (const auto& g : m_grids)
        if (CKXMatrixGridWnd* matrix = MatrixGridOf(g.get()); matrix && from.present && matrix->ViewName() == from.name)
            window = matrix;
    if (from.present && to.present)
        views->ReplaceView(from.name, to.name, to.instances, to.signals);
    else if (from.present)
        views->RemoveView(from.name);
    else if (to.present)
        views->InsertView(to.index, to.name, to.instances, to.signals);
    MarkModified();
    // The windows follow: a view that went closes its windows (in every window of the design), one that
    // came back (or changed) is shown.
    if (window && to.present) window->LoadMatrixView(to.name);
    CloseWindowsOfGoneMatrixViews();
    if (to.present) ShowMatrixView(PaneDesign(), to.name);
    return TRUE;
}

void CKXBottomPaneContainerView::OpenMatrixView(int index) {
    CComments* store = GetCommentStore();
    std::vector<CString> names;
    if (store) store->GetMatrixViewData()->GetViewNames(names);
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-402", ""));
        return;
    }
    const CString& name = names[static_cast<std::size_t>(index)];
    // The view the pane shows already stays as it is.
    if (CKXMatrixGridWnd* shown = ActiveMatrixGrid(); shown && shown->ViewName() == name) {
        KXMenuAnswer::Report(KXEditResult::Nothing("KXPANE-587", name));
        return;
    }
    OpenStoredMatrixView(name);
}

// ------------------------------------------------------------------ words and methods

BOOL CKXBottomPaneContainerView::AutoOpenMatrixView(LPCTSTR name) {
    CString view = name ? name : "";
    view.Trim();
    OpenMatrixView(view);
    CKXMatrixGridWnd* grid = ActiveMatrixGrid();
    return grid && grid->ViewName() == view ? TRUE : FALSE;
}

BOOL CKXBottomPaneContainerView::AutoMatrixConnect(LPCTSTR signal, LPCTSTR instance, LPCTSTR column,
                                                   LPCTSTR oldText, LPCTSTR newText) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    const KXShownMark mark;
    const BOOL done = grid->ConnectByName(signal ? signal : "", instance ? instance : "", column ? column : "",
                                          oldText ? oldText : "", newText ? newText : "");
    return KXEditResult::Of(done, "KXPANE-471", instance ? instance : "", signal ? signal : "",
                            newText ? newText : "")
        .AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoMatrixAdd(LPCTSTR kind, LPCTSTR name) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    const CString what = kind ? kind : "";
    if (what.CompareNoCase("component") == 0) return grid->DropInstance(name ? name : "");
    if (what.CompareNoCase("signal") == 0) return grid->DropSignal(name ? name : "");
    return FALSE;
}

// The matrix the automation methods act on; none shown is said (KXPANE-403).
CKXMatrixGridWnd* CKXBottomPaneContainerView::AutomationMatrixGrid() {
    CKXMatrixGridWnd* grid = ActiveMatrixGrid();
    if (!grid) CKXErrorHandler::MessageBoxOk("KXPANE-403");
    return grid;
}

BOOL CKXBottomPaneContainerView::AutoMatrixSelect(LPCTSTR signal, LPCTSTR instance, LPCTSTR column, LPCTSTR pin) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    CString key = CString(signal ? signal : "") + ":" + (instance ? instance : "");
    if (pin && *pin) key += CString(":") + pin;
    const KXShownMark mark;
    return KXEditResult::Of(grid->SelectCells({key}, column ? column : ""), "KXPANE-247", key).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoMatrixSelectRow(LPCTSTR signal, LPCTSTR index, LPCTSTR firstColumn,
                                                     LPCTSTR lastColumn, LPCTSTR add) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    const KXShownMark mark;
    const BOOL done = grid->SelectSignalRow(signal ? signal : "", index ? std::atoi(index) : -1,
                                           firstColumn ? firstColumn : "", lastColumn ? lastColumn : "",
                                           add && std::atoi(add) ? TRUE : FALSE);
    return KXEditResult::Of(done, "KXPANE-589", signal ? signal : "").AnswerBool(mark);
}

namespace {

// The words of a blank-separated text.
void Words(LPCTSTR text, CStringList& into) {
    CString rest = text ? text : "";
    rest.Trim();
    while (!rest.IsEmpty()) {
        const int blank = rest.Find(' ');
        into.AddTail(blank < 0 ? rest : rest.Left(blank));
        rest = blank < 0 ? CString() : rest.Mid(blank + 1);
        rest.Trim();
    }
}

} // namespace

BOOL CKXBottomPaneContainerView::AutoMatrixAddPupd(LPCTSTR type, LPCTSTR lib, LPCTSTR cell, LPCTSTR view,
                                                   LPCTSTR physName, LPCTSTR value, LPCTSTR dcNet,
                                                   LPCTSTR keyProps, LPCTSTR instProps) {
    CKXMatrixGridWnd* grid = ActiveMatrixGrid();
    if (!grid || !grid->CanAddPupd()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-219");
        return FALSE;
    }
    CStringList keys, insts;
    Words(keyProps, keys);
    Words(instProps, insts);
    return grid->AddPupdInstance(type, lib, cell, view, physName, value, dcNet, &keys, &insts, FALSE);
}

BOOL CKXBottomPaneContainerView::AutoMatrixDeletePupd(LPCTSTR names) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    CStringList words;
    Words(names, words);
    CStringArray list;
    for (POSITION pos = words.GetHeadPosition(); pos;) list.Add(words.GetNext(pos));
    CMapStringToString values;
    const KXShownMark mark;
    return KXEditResult::Of(grid->DeletePupds(&list, &values), "KXPANE-590", names ? names : "").AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoMatrixPasteAssoc(LPCTSTR kind, LPCTSTR signal, LPCTSTR instance, LPCTSTR pin,
                                                     LPCTSTR type, LPCTSTR name, LPCTSTR data) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    CKXMatrixGridWnd::AssocEntry entry;
    const CString what = kind ? kind : "";
    entry.kind = what.CompareNoCase("PUPD") == 0 ? 2 : 1;
    entry.type = type ? type : "";
    entry.name = name ? name : "";
    entry.data = data ? data : "";
    const KXShownMark mark;
    const BOOL done = grid->PasteAssocByName(what, signal ? signal : "", instance ? instance : "", pin ? pin : "", entry);
    return KXEditResult::Of(done, "KXPANE-591", what).AnswerBool(mark);
}

namespace {

// The parts of a "|"-joined text.
void Parts(LPCTSTR text, CStringArray& into) {
    CString rest = text ? text : "";
    for (int bar = rest.Find('|'); bar >= 0; bar = rest.Find('|')) {
        into.Add(rest.Left(bar));
        rest = rest.Mid(bar + 1);
    }
    into.Add(rest);
}

} // namespace

BOOL CKXBottomPaneContainerView::AutoMatrixAddTermination(LPCTSTR type, LPCTSTR libs, LPCTSTR cells, LPCTSTR views,
                                                          LPCTSTR physNames, LPCTSTR values, LPCTSTR keyProps,
                                                          LPCTSTR instProps, LPCTSTR delay, LPCTSTR high,
                                                          LPCTSTR low) {
    CKXMatrixGridWnd* grid = AutomationMatrixGrid();
    if (!grid) return FALSE;
    CStringArray libList, cellList, viewList, physList, valueList, keyTexts, instTexts;
    Parts(libs, libList);
    Parts(cells, cellList);
    Parts(views, viewList);
    Parts(physNames, physList);
    Parts(values, valueList);
    Parts(keyProps, keyTexts);
    Parts(instProps, instTexts);
    std::vector<std::unique_ptr<CStringArray>> owned;
    CObArray keyLists, instLists;
    for (CStringArray* texts : {&keyTexts, &instTexts})
        for (INT_PTR i = 0; i < texts->GetSize(); ++i) {
            CStringList words;
            Words(texts->GetAt(i), words);
            owned.push_back(std::make_unique<CStringArray>());
            for (POSITION pos = words.GetHeadPosition(); pos;) owned.back()->Add(words.GetNext(pos));
            (texts == &keyTexts ? keyLists : instLists).Add(owned.back().get());
        }
    return grid->AddTerminationInstance(type, &libList, &cellList, &viewList, &physList, &valueList, &keyLists,
                                        &instLists, delay, high, low, static_cast<int>(libList.GetSize()));
}

KXEditResult CKXBottomPaneContainerView::OnTclMatrixAdd(CTclArgsList* args, long) {
    const std::vector<CString> values = Values(args);
    if (!values.empty() && KXIsHelpArg(values[0])) return Help();
    if (values.size() != 2) return BadOperands();
    if (values[0].CompareNoCase("component") != 0 && values[0].CompareNoCase("signal") != 0) return BadOperands();
    return KXEditResult::Of(AutoMatrixAdd(values[0], values[1]), "KXPANE-470", values[1]);
}

KXEditResult CKXBottomPaneContainerView::OnTclOpenMatrixView(CTclArgsList* args, long) {
    const std::vector<CString> values = Values(args);
    if (!values.empty() && KXIsHelpArg(values[0])) return Help();
    if (values.size() != 1) return BadOperands();
    return KXEditResult::Of(AutoOpenMatrixView(values[0]), "KXPANE-402", values[0]);
}

KXEditResult CKXBottomPaneContainerView::OnTclMatrixConnect(CTclArgsList* args, long) {
    const std::vector<CString> values = Values(args);
    if (!values.empty() && KXIsHelpArg(values[0])) return Help();
    if (values.size() < 4 || values.size() > 5) return BadOperands();
    return KXEditResult::Of(
        AutoMatrixConnect(values[0], values[1], values[2], values.size() == 5 ? values[4] : CString(), values[3]),
        "KXPANE-471", values[1], values[0], values[3]);
}

BOOL CKXBottomPaneContainerView::MatrixWord(const char* word, CTclArgsList* args, KXEditResult& result) {
    CKXMatrixGridWnd* grid = ActiveMatrixGrid();
    if (!grid) return FALSE;
    const std::vector<CString> values = Values(args);
    const CString w = word;
    if (w == KXScriptWord::sort) {
        result = grid->SortByColumnName(values.empty() ? CString() : values[0]) ? KXEditResult::Done() : BadOperands();
        return TRUE;
    }
    if (w == KXScriptWord::assignModel || w == KXScriptWord::removeModel) {
        // assignModel MODEL KEY ... / removeModel KEY ...: a key is a list {SIGNAL INSTANCE ?PIN?}.
        const bool assign = w == KXScriptWord::assignModel;
        const CString model = assign && args && args->GetArg(0) ? args->GetArg(0)->GetValue(0) : CString();
        const bool first = !args || args->GetTotalArgCount() == 0;
        CStringArray read;
        if (const KXEditResult keyed = ReadKeys(args, read, assign ? 1 : 0); !keyed.IsDone()) {
            result = keyed;
            return TRUE;
        }
        const std::vector<CString> keys(read.GetData(), read.GetData() + read.GetSize());
        if (!keys.empty() && !grid->SelectCells(keys, "PIN_NAME")) {
            result = KXEditResult::Refused("KXTABLE-184");
            return TRUE;
        }
        result = w == KXScriptWord::assignModel
                     ? KXEditResult::Of(grid->AssignModelByName(model, !first), "KXTABLE-184")
                     : KXEditResult::Of(grid->CommitModels(grid->SelectedPinCells(), ""), kKXNoModelRemoved);
        return TRUE;
    }
    if (w == KXScriptWord::dumpGrid) {
        const CString file = values.empty() ? CString() : values[0];
        result = !file.IsEmpty() && grid->DumpMatrix(file) ? KXEditResult::Done() : KXEditResult::Refused("KXPANE-249", file);
        return TRUE;
    }
    return FALSE;
}
