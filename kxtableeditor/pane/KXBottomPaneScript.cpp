// The pane's script commands: the words the host knows as Tcl commands, their
// dispatch from the host's script messages, and the handlers for comments, view
// options, filters, sorting, custom columns and grid dumps. Every word answers
// "-help" with its usage message.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXPaneKeys.h"
#include "grid/KXGridUndo.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRefusalCauses.h"
#include "grid/KXScriptWords.h"

#include "matrix/KXMatrixGridWnd.h"
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXBracketActions.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace {

struct WordEntry {
    const char* word;
    CKXBottomPaneContainerView::TclHandler handler;
    const char* usage;
    LRESULT refusal = 0; // what a refusal answers: 0, except where the word's contract says otherwise
};

using P = CKXBottomPaneContainerView;

// The words in the order they are registered, each with its handler and usage message.
const WordEntry kWords[] = {
    {KXScriptWord::addConnection, &P::OnTclAddConnection, "KXTABLE-160"},
    {KXScriptWord::addPupd, &P::OnTclAddPupd, "KXPANE-241"},
    {KXScriptWord::addTermination, &P::OnTclAddTermination, "KXPANE-241"},
    {KXScriptWord::assignPinNumber, &P::OnTclAssignPinNumber, "KXTABLE-197"},
    {KXScriptWord::assignModel, &P::OnTclAssignModel, "KXTABLE-182"},
    {KXScriptWord::changeCustomColumn, &P::OnTclChangeCustomColumn, "KXPANE-237", 3},
    {KXScriptWord::copy, &P::OnTclCopy, "KXTABLE-164"},
    {KXScriptWord::deleteConnection, &P::OnTclDeleteConnection, "KXTABLE-161"},
    {KXScriptWord::deletePupd, &P::OnTclDeletePupd, "KXPANE-242"},
    {KXScriptWord::deleteTermination, &P::OnTclDeleteTermination, "KXTABLE-162"},
    {KXScriptWord::editTermination, &P::OnTclEditTermination, "KXTABLE-213"},
    {KXScriptWord::selectObject, &P::OnTclSelectObject, "KXTABLE-159"},
    {KXScriptWord::addComment, &P::OnTclAddComment, "KXPANE-193"},
    {KXScriptWord::modifyComment, &P::OnTclModifyComment, "KXPANE-194"},
    {KXScriptWord::deleteComment, &P::OnTclDeleteComment, "KXPANE-195"},
    {KXScriptWord::editPupd, &P::OnTclEditPupd, "KXPANE-243"},
    {KXScriptWord::paste, &P::OnTclPaste, "KXPANE-215"},
    {KXScriptWord::removeModel, &P::OnTclRemoveModel, "KXTABLE-185"},
    {KXScriptWord::renameConnection, &P::OnTclRenameConnection, "KXTABLE-208"},
    {KXScriptWord::removeDiffPairPin, &P::OnTclRemoveDiffPairPin, "KXTABLE-191"},
    {KXScriptWord::setViewOption, &P::OnTclSetViewOption, "KXTABLE-190"},
    {KXScriptWord::expandPins, &P::OnTclExpandPins, "KXTABLE-187"},
    {KXScriptWord::filterRows, &P::OnTclFilterRows, "KXPANE-234"},
    {KXScriptWord::trackInSignalList, &P::OnTclTrackInSignalList, "KXTABLE-188"},
    {KXScriptWord::editPhysicalPin, &P::OnTclEditPhysicalPin, "KXTABLE-192"},
    {KXScriptWord::editLogicalPin, &P::OnTclEditLogicalPin, "KXTABLE-193"},
    {KXScriptWord::sort, &P::OnTclSort, "KXPANE-231"},
    {KXScriptWord::dumpGrid, &P::OnTclDumpGrid, "KXPANE-245"},
    {KXScriptWord::swapSignal, &P::OnTclSwapSignal, "KXTABLE-206"},
    {KXScriptWord::openMatrixView, &P::OnTclOpenMatrixView, "KXPANE-400"},
    {KXScriptWord::matrixConnect, &P::OnTclMatrixConnect, "KXPANE-401"},
    {KXScriptWord::matrixAdd, &P::OnTclMatrixAdd, "KXPANE-404"},
};

// The words that change the design or its pin comments: a window that may not edit refuses them before
// they look at their operands, with the one message that says so.
const char* const kEditingWords[] = {
    KXScriptWord::addConnection,    KXScriptWord::addPupd,          KXScriptWord::addTermination,
    KXScriptWord::assignPinNumber,  KXScriptWord::assignModel,      KXScriptWord::changeCustomColumn,
    KXScriptWord::deleteConnection, KXScriptWord::deletePupd,       KXScriptWord::deleteTermination,
    KXScriptWord::editTermination,  KXScriptWord::addComment,       KXScriptWord::modifyComment,
    KXScriptWord::deleteComment,    KXScriptWord::editPupd,         KXScriptWord::paste,
    KXScriptWord::removeModel,      KXScriptWord::renameConnection, KXScriptWord::removeDiffPairPin,
    KXScriptWord::swapSignal,       KXScriptWord::matrixConnect,    KXScriptWord::editPhysicalPin,
    KXScriptWord::editLogicalPin,
};

bool IsEditingWord(const char* word) {
    return std::any_of(std::begin(kEditingWords), std::end(kEditingWords),
                       [word](const char* w) { return std::strcmp(w, word) == 0; });
}

bool IsHelp(const CString& value) { return KXIsHelpArg(value); }

// The words whose options may begin with "-h" ("-high"): only a whole help word asks them for help.
const char* const kWholeHelpWords[] = {KXScriptWord::addTermination, KXScriptWord::editTermination,
                                       KXScriptWord::removeDiffPairPin};

// Whether a value asks the word for help.
bool IsHelpOf(const CString& word, const CString& value) {
    const bool whole = std::any_of(std::begin(kWholeHelpWords), std::end(kWholeHelpWords),
                                   [&word](const char* w) { return word == w; });
    return whole ? KXIsHelpWord(value) : KXIsHelpArg(value);
}

// An option word: its full form in any case, or its short form at the start.
bool IsOption(const CString& value, const char* full, const char* prefix) {
    return value.CompareNoCase(full) == 0 || value.Left(static_cast<int>(std::strlen(prefix))) == prefix;
}

// The values of an argument joined with a separator.
CString Joined(const CTclArgs* arg, const char* separator) {
    CString text;
    for (int i = 0; i < arg->GetArgCount(); ++i) {
        if (i) text += separator;
        text += arg->GetValue(i);
    }
    return text;
}

// A grid that shows no component, signal or view (the physical net grid of a net left without pins) has
// no rows to order or filter, and no journal line shows it again: it takes no sort and no filter.
bool ShowsNothing(CKXGridWnd* grid) {
    if (!grid) return false;
    CString names;
    grid->GetShownObjectNames(names);
    return names.IsEmpty();
}

} // namespace

void CKXBottomPaneContainerView::RegisterTclCommands() {
    for (const WordEntry& e : kWords) {
        m_TclCommandMap[e.word] = e.handler;
        CKXTclCmdManager::RegisterTCLCommand(e.word);
    }
}

const char* CKXBottomPaneContainerView::UsageOf(const char* word) {
    for (const WordEntry& e : kWords)
        if (std::strcmp(e.word, word) == 0) return e.usage;
    return nullptr;
}

const char* KXConnectivityPaneWordUsage(const char* word) {
    return word ? CKXBottomPaneContainerView::UsageOf(word) : nullptr;
}

bool KXConnectivityPaneEditingWord(const char* word) {
    return word && IsEditingWord(word);
}

LRESULT KXConnectivityPaneReadOnlyRefusal(const char* word) {
    const KXShownMark mark;
    const LRESULT refusal = word ? CKXBottomPaneContainerView::RefusalOf(word) : 0;
    return KXEditResult::Refused(kKXReadOnlyWindow).Answer(mark, refusal);
}

LRESULT KXConnectivityPaneUsageAnswer(const char* word, bool help) {
    const KXShownMark mark;
    const char* usage = word ? CKXBottomPaneContainerView::UsageOf(word) : nullptr;
    if (!usage) return 0;
    if (help) return KXEditResult::Help(usage).Answer(mark);
    return KXEditResult::Refused(usage).Answer(mark, CKXBottomPaneContainerView::RefusalOf(word));
}

LRESULT CKXBottomPaneContainerView::RefusalOf(const char* word) {
    for (const WordEntry& e : kWords)
        if (std::strcmp(e.word, word) == 0) return e.refusal;
    return 0;
}

BOOL CKXBottomPaneContainerView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message >= 0x8411 && message <= 0x85A1) {
        const char* word = CKXTclCmdManager::GetTCLCommandName(message);
        if (word && *word) {
            auto it = m_TclCommandMap.find(word);
            if (it != m_TclCommandMap.end() && it->second) {
                // A word may run another through the host: each answers with its own usage.
                const CString outer = std::exchange(m_strTclWord, CString(word));
                const KXShownMark mark;
                auto* args = reinterpret_cast<CTclArgsList*>(wParam);
                // "-help" is answered with the usage whatever else the arguments hold.
                const char* usage = UsageOf(word);
                const bool help = usage && KXAsksForHelp(args);
                const KXEditResult result = help                                   ? KXEditResult::Help(usage)
                                            : !IsEditable() && IsEditingWord(word) ? KXEditResult::Refused(kKXReadOnlyWindow)
                                                                                   : (this->*(it->second))(args, lParam);
                const LRESULT r = result.Answer(mark, RefusalOf(word));
                m_strTclWord = outer;
                if (pResult) *pResult = r;
                return TRUE;
            }
        }
    }
    return CView::OnWndMsg(message, wParam, lParam, pResult);
}

KXEditResult CKXBottomPaneContainerView::Help() const {
    const char* id = UsageOf(m_strTclWord);
    return KXEditResult::Help(id ? id : "KXPANE-178");
}

KXEditResult CKXBottomPaneContainerView::BadOperands() const {
    const char* id = UsageOf(m_strTclWord);
    return KXEditResult::Refused(id ? id : "KXPANE-178");
}

KXEditResult CKXBottomPaneContainerView::UsageFor(const CString& value) const {
    return IsHelpOf(m_strTclWord, value) ? Help() : BadOperands();
}

KXEditResult CKXBottomPaneContainerView::ReadKeyFields(const CTclArgs* arg,
                                                       std::vector<CString>& fields) const {
    fields.clear();
    if (!arg) return KXEditResult::Done();
    for (const CString& value : arg->Values())
        if (IsHelpOf(m_strTclWord, value)) return Help();
    return arg->GetListValues(fields) ? KXEditResult::Done() : BadOperands();
}

KXEditResult CKXBottomPaneContainerView::ReadKey(const CTclArgs* arg, CString& key) const {
    std::vector<CString> fields;
    const KXEditResult read = ReadKeyFields(arg, fields);
    key.Empty();
    // An empty field is a field all the same: "R2:A:" names pin A of R2 by its name, its number left
    // out, where "R2:A" would read A as the number. A key of empty fields only names nothing.
    if (std::all_of(fields.begin(), fields.end(), [](const CString& f) { return f.IsEmpty(); })) return read;
    for (size_t i = 0; i < fields.size(); ++i)
        key += (i ? ":" : "") + fields[i];
    return read;
}

KXEditResult CKXBottomPaneContainerView::ReadKeys(CTclArgsList* args, CStringArray& keys, int from,
                                                  int count) const {
    const int total = args ? args->GetTotalArgCount() : 0;
    const int end = count < 0 ? total : std::min(total, from + count);
    for (int i = from; i < end; ++i) {
        CString key;
        if (const KXEditResult read = ReadKey(args->GetArg(i), key); !read.IsDone()) return read;
        keys.Add(key);
    }
    return KXEditResult::Done();
}

// ------------------------------------------------------------------ comments

KXEditResult CKXBottomPaneContainerView::CommentCommand(CTclArgsList* args, int op) {
    const EOpenMode mode = GetViewMode();
    if (mode == eOpenModePhysical) return KXEditResult::Refused("KXPANE-178");
    if (mode == eOpenModeContext) return KXEditResult::Refused(kKXReadOnlyWindow);
    CString text;
    CStringArray keys;
    bool first = op != 2; // delete takes no text
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
            CTclArgs* arg = *it;
            if (!arg) continue;
            for (int i = 0; i < arg->GetArgCount(); ++i)
                if (IsHelp(arg->GetValue(i))) return Help();
            if (first) {
                text = arg->GetValue(0);
                first = false;
                continue;
            }
            CString key;
            if (const KXEditResult read = ReadKey(arg, key); !read.IsDone()) return read;
            if (!key.IsEmpty()) keys.Add(key);
        }
    if (const KXEditResult taken = KXTakeCommentText(text); !taken.IsDone()) return taken;
    // A text of white space alone adds nothing (an empty one opens the dialog; a blank change deletes).
    if (op == 0 && !text.IsEmpty() && CString(text).Trim().IsEmpty())
        return KXEditResult::Refused("KXPANE-564", text);
    // Pin comments are kept by the editable block and by a block within its parent (modes 1 and 3); a key
    // that names no pin is said first, as every keyed word says it.
    const KXEditResult keptElsewhere = mode == eOpenModeEditBlock || mode == eOpenModeInParent
                                           ? KXEditResult::Done()
                                           : KXEditResult::Refused("KXPANE-522", static_cast<int>(mode));
    if (keys.GetSize() == 0 && !keptElsewhere.IsDone()) return keptElsewhere;
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) {
        return KXEditResult::Refused("KXPANE-246");
    }
    if (keys.GetSize() > 0 && PinGridOf(grid)) {
        // Pin keys are looked up in every shown pin grid: the comment goes to the grid that holds them.
        if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
        grid = GridHoldingSelection(grid);
    }
    if (!keptElsewhere.IsDone()) return keptElsewhere;
    if (keys.GetSize() > 0 && !PinGridOf(grid) && !SelectKeyedPins(grid, keys))
        return KXEditResult::Of(FALSE, "KXPANE-247");
    // A pin grid with no pin selected (a selectObject that named none) has nothing to comment on.
    if (PinGridOf(grid) && keys.GetSize() == 0 && !grid->HasSelectedDataRow())
        return KXEditResult::Refused("KXPANE-247", m_strUnmatchedKeys);
    const KXShownMark mark;
    const int steps = GetUndoStepCount();
    if (op == 0 && grid->CanInsertComment())
        grid->InsertComment(text, 1);
    else if (op == 1 && grid->CanEditComment())
        grid->EditComment(text, 1);
    else if (op == 2 && grid->CanDeleteComment())
        grid->DeleteComment();
    else {
        return KXEditResult::Refused("KXPANE-248");
    }
    // The comment dialog the word opened (for an empty text) was cancelled: nothing changed.
    if (mark.DialogCancelledSince()) return KXEditResult::Dialog();
    // The pins' comments said that already (or the dialog's word refused, and said why).
    if (GetUndoStepCount() == steps) return KXEditResult::Of(FALSE, "KXPANE-561");
    return KXEditResult::Done();
}

CKXGridWnd* CKXBottomPaneContainerView::GridHoldingSelection(CKXGridWnd* active) const {
    if (active && active->HasSelectedDataRow()) return active;
    const auto holder = std::find_if(m_shownGrids.begin(), m_shownGrids.end(),
                                     [](CKXGridWnd* g) { return g->HasSelectedDataRow(); });
    return holder != m_shownGrids.end() ? *holder : active;
}

BOOL CKXBottomPaneContainerView::SelectKeyedPins(CKXGridWnd* grid, CStringArray& keys) {
    const CString column = IKXPinGrid::kPinNameKeyColumn;
    if (auto* pin = PinGridOf(grid)) {
        if (pin->SelectRowsByKeyCount(&keys, column) > 0) return TRUE;
        CKXErrorHandler::MessageBoxOk("KXPANE-247", KeysText(keys));
        return FALSE;
    }
    grid->SelectRowsByKey(&keys, column);
    return TRUE;
}

KXEditResult CKXBottomPaneContainerView::OnTclAddComment(CTclArgsList* args, long) {
    return CommentCommand(args, 0);
}
KXEditResult CKXBottomPaneContainerView::OnTclModifyComment(CTclArgsList* args, long) {
    return CommentCommand(args, 1);
}
KXEditResult CKXBottomPaneContainerView::OnTclDeleteComment(CTclArgsList* args, long) {
    return CommentCommand(args, 2);
}

// ------------------------------------------------------------------ view options

void CKXBottomPaneContainerView::SetViewOptionsInAllGrids(int busOption, int dpOption) {
    // Each grid's journal line selects its component; the active grid's comes last, so that the
    // replay ends showing the grid the user goes on in.
    std::vector<CKXGridWnd*> grids = m_shownGrids;
    CKXGridWnd* active = GetActiveGrid();
    std::stable_partition(grids.begin(), grids.end(), [active](CKXGridWnd* g) { return g != active; });
    for (CKXGridWnd* g : grids)
        if (auto* pin = PinGridOf(g)) {
            pin->RecordViewOptionsScript(busOption, dpOption);
            pin->RefreshInstances(nullptr);
        }
}

KXEditResult CKXBottomPaneContainerView::OnTclSetViewOption(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() < 1 || args->GetTotalArgCount() > 2) return BadOperands();
    int bus = -1, dp = -1;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        CString v = arg ? arg->GetValue(0) : CString();
        if (v.CompareNoCase("bus_on") == 0)
            bus = 1;
        else if (v.CompareNoCase("bus_off") == 0)
            bus = 0;
        else if (v.CompareNoCase("dp_on") == 0)
            dp = 1;
        else if (v.CompareNoCase("dp_off") == 0)
            dp = 0;
        else
            return UsageFor(v);
    }
    auto* pin = ViewOptionGrid();
    if (!pin) return KXEditResult::Refused("KXPANE-178");
    // A choice not given keeps the active grid's current one.
    SetViewOptionsInAllGrids(bus < 0 ? pin->GetBusOption() : bus, dp < 0 ? pin->GetDiffPairOption() : dp);
    return KXEditResult::Done();
}

KXEditResult CKXBottomPaneContainerView::OnTclExpandPins(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() < 1 || args->GetTotalArgCount() > 2) return BadOperands();
    CString mode, scope;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        CString v = arg ? arg->GetValue(0) : CString();
        if (v.CompareNoCase("on") == 0 || v.CompareNoCase("off") == 0)
            mode = v;
        else if (v.CompareNoCase("-selection") == 0)
            scope = "-selection";
        else
            return UsageFor(v);
    }
    auto* pin = ViewOptionGrid();
    if (!pin) return KXEditResult::Refused("KXPANE-178");
    pin->ExpandAllPins(mode, scope);
    return KXEditResult::Done();
}

// The active pin grid the view-option words act on; none in the physical view or while the active
// grid shows no component's pins.
IKXPinGrid* CKXBottomPaneContainerView::ViewOptionGrid() {
    return GetViewMode() == eOpenModePhysical ? nullptr : PinGridOf(GetActiveGrid());
}

// ------------------------------------------------------------------ filter and sort

KXEditResult CKXBottomPaneContainerView::OnTclFilterRows(CTclArgsList* args, long) {
    if (args && args->GetTotalArgCount() == 1 && args->GetArg(0) && IsHelp(args->GetArg(0)->GetValue(0))) return Help();
    if (!args || args->GetTotalArgCount() < 2 || args->GetTotalArgCount() > 4) return BadOperands();
    CString column, filter;
    bool hasColumn = false, hasFilter = false;
    int expect = 0; // 1 column, 2 filter
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        if (!arg) continue;
        const CString v = arg->GetValue(0);
        if (IsHelp(v)) return Help();
        int from = 0; // the argument's first value that is a column or a filter
        if (IsOption(v, "-col", "-c")) {
            hasColumn = true;
            expect = 1;
            from = 1;
        } else if (IsOption(v, "-filter", "-f")) {
            hasFilter = true;
            expect = 2;
            from = 1;
        }
        // Values given after an option are its value, a later one replacing an earlier one.
        for (int i = from; i < arg->GetArgCount() && expect != 0; ++i)
            (expect == 1 ? column : filter) = arg->GetValue(i);
    }
    if ((hasColumn && column.IsEmpty()) || (hasFilter && filter.IsEmpty())) return BadOperands();
    if (ShowsNothing(GetActiveGrid())) return KXEditResult::Refused(KXCause::kNoGrid);
    // A grid without the column refuses with the word's usage.
    BOOL done = FALSE;
    if (CKXMatrixGridWnd* matrix = ActiveMatrixGrid())
        done = matrix->SetColumnFilter(column, filter);
    else if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid())
        done = part->SetColumnFilter(column, filter);
    else if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid())
        done = net->SetColumnFilter(column, filter);
    else if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        done = signal->SetColumnFilter(column, filter);
    else if (auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(GetActiveGrid()) : nullptr)
        done = pin->OnFilterCellChanged(column, filter);
    return done ? KXEditResult::Done() : BadOperands();
}

KXEditResult CKXBottomPaneContainerView::OnTclSort(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() > 1) return BadOperands();
    CString column;
    if (CTclArgs* arg = args->GetArg(0)) {
        column = arg->GetValue(0);
        if (IsHelp(column)) return Help();
    }
    // A sort that is a step of the history (a header click, the sort menu, grids side by side sorting
    // together) is journalled as the click that makes that step; an undo or redo sorts as its step does.
    const size_t steps = m_undo.size();
    const KXEditResult sorted = SortActiveGrid(args, column);
    const bool step = CKXGridWnd::SortStepRecorded() || m_undo.size() != steps;
    // (No journal line shows components side by side again: their sort is left out, KXIsViewOnlyStep.)
    CKXGridWnd* grid = GetActiveGrid();
    if (sorted.IsDone() && step && !m_bInUndo && grid && !grid->SortsAcrossGrids() &&
        KXJournalLines::IsRecording()) {
        KXEndStepOfJournalLines(); // the lines of the edit before are done
        KXJournalLines sort(DocumentJournalHandle());
        sort.Comment("Sort").Pane("SortByHeader", {column}).End();
        KXWriteJournalOfOneStep(ShownObjectsJournalLine(*grid) + sort.Text(), 1);
    }
    return sorted;
}

// The journal line that shows the grid's objects again on replay (the component or signal the list
// showed, the matrix view), for a call that acts on the grid as it is shown.
CString CKXBottomPaneContainerView::ShownObjectsJournalLine(CKXGridWnd& grid) {
    if (auto* physical = dynamic_cast<CKXPhysGridWnd*>(&grid)) return physical->JournalObjectSelection(0);
    if (IKXPinGrid* pin = PinGridOf(&grid)) return pin->ShownObjectsJournalLine();
    CString names;
    grid.GetShownObjectNames(names);
    KXJournalLines line(DocumentJournalHandle());
    switch (grid.Kind()) {
    case KXGridKind::Signal:
        if (names.Find(' ') < 0)
            line.Call("Slp()", "Select", {names});
        else
            line.Call("Slp()", "SelectGroup", {names});
        break;
    case KXGridKind::Matrix:
        line.Pane("OpenMatrixView", {names});
        break;
    default:
        break;
    }
    return line.Text();
}

// Every sort of the word is a step of the history, whoever gives it: typed, or echoed by a header click
// or the sort menu (which recorded the step already); an undo or redo sorts as its step does.
KXEditResult CKXBottomPaneContainerView::SortActiveGrid(CTclArgsList* args, const CString& column) {
    CKXGridWnd* grid = GetActiveGrid();
    std::unique_ptr<CKXSortUndoCmd> step =
        grid && !CKXGridWnd::SortStepRecorded() && !m_bInUndo ? SortStepOf(*grid) : nullptr;
    const KXEditResult sorted = SortGridOfWord(args, column);
    if (step && sorted.IsDone() && IsLiveGrid(grid)) AddUndoCommand(grid, step.release(), gxDo, 0);
    return sorted;
}

KXEditResult CKXBottomPaneContainerView::SortGridOfWord(CTclArgsList* args, const CString& column) {
    if (ShowsNothing(GetActiveGrid())) return KXEditResult::Refused(KXCause::kNoGrid);
    if (KXEditResult matrix = KXEditResult::Done(); MatrixWord(KXScriptWord::sort, args, matrix)) return matrix;
    // A grid without the column refuses with the word's usage.
    BOOL done = FALSE;
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid())
        done = part->SortByColumnName(column);
    else if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid())
        done = net->SortByColumnName(column);
    else if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        done = signal->SortByColumnName(column);
    else if (auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(GetActiveGrid()) : nullptr)
        done = pin->SortByColumnName(column);
    // A grid that said why it sorted nothing has said it; otherwise the usage names the columns.
    return done ? KXEditResult::Done() : KXEditResult::Of(FALSE, "KXPANE-231");
}

// The step a sort of the grid makes, as the grid is now: its undo brings the sort back (for grids side by
// side sorted for the first time, the rows' order they have now).
std::unique_ptr<CKXSortUndoCmd> CKXBottomPaneContainerView::SortStepOf(CKXGridWnd& grid) {
    const int before = grid.GetSortColumn();
    std::vector<CString> order =
        grid.SortsAcrossGrids() && before < 0 ? grid.DataRowTexts() : std::vector<CString>();
    return std::make_unique<CKXSortUndoCmd>(&grid, before, grid.IsSortAscending(), std::move(order));
}

// ------------------------------------------------------------------ custom columns

void CKXBottomPaneContainerView::SelectRowsInAllGrids(CStringArray* keys, const CString& keyColumn) {
    for (CKXGridWnd* g : m_shownGrids)
        g->SelectRowsByKey(keys, keyColumn);
}

KXEditResult CKXBottomPaneContainerView::OnTclChangeCustomColumn(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() == 0) return BadOperands();
    CStringArray columns, keys;
    CMapStringToString values;
    int expect = 0; // 1 column, 2 value
    bool valueStored = false;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        if (!arg) continue;
        const CString v = arg->GetValue(0);
        if (IsHelp(v)) return Help();
        if (IsOption(v, "-col", "-c")) {
            expect = 1;
        } else if (IsOption(v, "-val", "-v")) {
            if (columns.GetSize() == 0) return BadOperands();
            expect = 2;
        } else if (expect == 1) {
            if (columns.GetSize() > 0) return BadOperands(); // one column per command
            columns.Add(v);
            expect = 0;
        } else if (expect == 2) {
            values.SetAt(columns[0], Joined(arg, ","));
            valueStored = true;
            expect = 0;
        } else {
            CString key;
            if (const KXEditResult read = ReadKey(arg, key); !read.IsDone()) return read;
            keys.Add(key);
        }
    }
    if (expect == 1 || !valueStored) return BadOperands();
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid || grid->AreColumnsKnown(&columns) != 1) return KXEditResult::Refused("KXPANE-238");
    if (keys.GetSize() > 0) SelectRowsInAllGrids(&keys, "");
    return KXEditResult::Of(grid->ChangeCustomColumnValue(values), "KXTABLE-267");
}

// ------------------------------------------------------------------ dumps

KXEditResult CKXBottomPaneContainerView::OnTclDumpGrid(CTclArgsList* args, long) {
    if (!args) return KXEditResult::Refused("KXPANE-244");
    if (args->GetTotalArgCount() != 1) return BadOperands();
    CTclArgs* arg = args->GetArg(0);
    if (!arg || arg->GetArgCount() > 1) return BadOperands();
    const CString file = arg->GetValue(0);
    // A file name such as "board-hdl.txt" is the user's, not a help request.
    if (IsHelp(file)) return Help();
    if (file.IsEmpty()) {
        return KXEditResult::Refused("KXPANE-244");
    }
    if (KXEditResult matrix = KXEditResult::Done(); MatrixWord(KXScriptWord::dumpGrid, args, matrix)) return matrix;
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) {
        if (net->DumpSCP(file)) return KXEditResult::Done();
        return KXEditResult::Refused("KXPANE-249", file);
    }
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        if (part->DumpCCP(file)) return KXEditResult::Done();
        return KXEditResult::Refused("KXPANE-249", file);
    }
    CKXGridWnd* active = GetViewMode() != eOpenModePhysical ? GetActiveGrid() : nullptr;
    auto* pin = PinGridOf(active);
    auto* signal = dynamic_cast<CKXSignalDetailsGridWnd*>(active);
    if (!pin && !signal) return NoGridOfKind();
    if (!(pin ? pin->DumpGrid(file) : signal->DumpSCP(file))) {
        return KXEditResult::Refused("KXPANE-249", file);
    }
    return KXEditResult::Done();
}

// ------------------------------------------------------------------ connections

KXEditResult CKXBottomPaneContainerView::AddConnectionInSignalGrid(CTclArgsList* args) {
    if (!args || args->GetTotalArgCount() != 1) return BadOperands();
    CTclArgs* arg = args->GetArg(0);
    if (!arg || arg->GetArgCount() == 0) return BadOperands();
    // instance:pin number[:start bit[:end bit[:signal]]], as one text or as a list of its parts: the
    // fields of the key are joined with ":", so both read the same.
    std::vector<CString> parts;
    {
        std::vector<CString> fields;
        if (const KXEditResult read = ReadKeyFields(arg, fields); !read.IsDone()) return read;
        CString text;
        for (size_t i = 0; i < fields.size(); ++i)
            text += (i ? ":" : "") + fields[i];
        if (text.Find(':') < 0) return BadOperands();
        int start = 0;
        for (int at = text.Find(':'); ; at = text.Find(':', start)) {
            parts.push_back(at < 0 ? text.Mid(start) : text.Mid(start, at - start));
            if (at < 0) break;
            start = at + 1;
        }
    }
    if (parts.size() > 5) return BadOperands();
    CKXSignalDetailsGridWnd* grid = ActiveSignalGrid();
    if (!grid) {
        return KXEditResult::Refused("KXPANE-178");
    }
    // The grid's own echo of a connection it has just made: the work is done.
    if (grid->IsEchoingConnection()) return KXEditResult::Done();
    parts.resize(5);
    if (parts[2].IsEmpty()) parts[2] = "-1";
    if (parts[3].IsEmpty()) parts[3] = parts[2] != "-1" ? parts[2] : CString("-1");
    return KXEditResult::Of(grid->AssignConnectivityByName(parts[0], parts[1], parts[2], parts[3], parts[4]),
                            "KXPANE-247", parts[0] + ":" + parts[1]);
}

// ------------------------------------------------------------------ selecting, copying, pins

KXEditResult CKXBottomPaneContainerView::OnTclSelectObject(CTclArgsList* args, long) {
    // No key, or the key "all", selects every shown row of each grid.
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (keys[i].CompareNoCase("all") == 0) keys.RemoveAll();
    // A grid none of whose rows the keys name keeps nothing selected: the word that follows acts on
    // no row rather than on one selected before.
    if (m_shownGrids.empty()) return KXEditResult::Refused("KXPANE-246");
    // Keys one of which names no row leave nothing selected; the refusal is said below, after the grid is
    // told.
    const KXEditResult keyed = SelectKeysOnly(keys);
    if (keys.GetSize() == 0) SelectRowsInAllGrids(&keys, "");
    if (CKXGridWnd* active = GetActiveGrid()) active->NotifySelectionChanged();
    m_strUnmatchedKeys.Empty();
    if (keyed.IsRefusal()) m_strUnmatchedKeys = KeysText(keys);
    return keyed;
}

KXEditResult CKXBottomPaneContainerView::OnTclCopy(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() == 0) return BadOperands();
    // The last argument is the key column, by its key or its title (whose blanks part no fields);
    // without object keys nothing is copied.
    const int last = args->GetTotalArgCount() - 1;
    const CString keyColumn = args->GetArg(last) ? Joined(args->GetArg(last), " ") : CString();
    if (IsHelp(keyColumn)) return Help();
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys, 0, last); !read.IsDone()) return read;
    if (keys.GetSize() == 0) return BadOperands();
    return KXEditResult::Of(CopyObjectsByKey(keys, keyColumn), "KXPANE-246");
}

// The keys as the message that no row matches them names them.
CString CKXBottomPaneContainerView::KeysText(const CStringArray& keys) {
    CString named;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        named += (i ? " " : "") + keys[i];
    return named;
}

namespace {

// Whether the grid shows one of the rows it has selected.
bool ShowsASelectedRow(CKXGridWnd* grid) {
    if (!grid) return false;
    CRowColArray rows;
    grid->GetSelectedRows(rows, FALSE, TRUE);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (!grid->IsRowHidden(rows[i])) return true;
    return false;
}

// Selects the keyed rows of a grid that selects nothing else; FALSE (with the message naming them, and
// nothing selected) when a key names no row, so that nothing is copied under a name that selected nothing
// and no key's rows are copied without another's.
bool SelectKeyedRows(CKXGridWnd& grid, CStringArray& keys, const CString& keyColumn) {
    const std::optional<CString> unnamed = kxpane::SelectRowsOfEveryKeyIn(grid, keys, keyColumn);
    const CGXGridParam* param = grid.GetParam();
    if (!unnamed && param && param->GetRangeList()->GetCount() > 0) return true;
    CKXErrorHandler::MessageBoxOk(KXCause::kKeyNamesNoPin,
                                  unnamed ? *unnamed : CKXBottomPaneContainerView::KeysText(keys));
    return false;
}
} // namespace

// Selects the rows the keys name and copies them with the active grid's own copy; FALSE, with a
// message, when the active grid copies nothing or holds no row of the keys, or when the rows it
// holds gave nothing to the clipboard (a filter or a folded bus hides them).
BOOL CKXBottomPaneContainerView::CopyObjectsByKey(CStringArray& keys, const CString& keyColumn) {
    const DWORD before = GetClipboardSequenceNumber();
    if (!CopyKeyedRows(keys, keyColumn)) return FALSE;
    if (GetClipboardSequenceNumber() != before) return TRUE;
    // Rows shown that gave nothing hold nothing in that column (a pull-up of a pin on no signal).
    CKXErrorHandler::MessageBoxOk(ShowsASelectedRow(GetActiveGrid()) ? "KXPANE-640" : "KXPANE-594",
                                  KeysText(keys));
    return FALSE;
}

BOOL CKXBottomPaneContainerView::CopyKeyedRows(CStringArray& keys, const CString& keyColumn) {
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        if (!SelectKeyedRows(*part, keys, keyColumn)) return FALSE;
        part->CopySelection();
        return TRUE;
    }
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) {
        if (!SelectKeyedRows(*net, keys, keyColumn)) return FALSE;
        net->CopySelection();
        return TRUE;
    }
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid()) {
        if (!SelectKeyedRows(*signal, keys, keyColumn)) return FALSE;
        signal->CopySelection();
        return TRUE;
    }
    auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(GetActiveGrid()) : nullptr;
    if (!pin) {
        NoGridOfKind().Answer(KXShownMark()); // shows why
        return FALSE;
    }
    // The keys are looked up in every shown grid: the active one copies when it holds a keyed row, else
    // the first grid beside it that does (a copy never takes whatever was selected before).
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    bool hadCurrent = pin->Grid().GetCurrentCell(row, col) != FALSE;
    // A key that names no shown row copies nothing at all.
    if (const std::optional<CString> unnamed = SelectRowsOfEveryKey(keys, keyColumn)) {
        CKXErrorHandler::MessageBoxOk(KXCause::kKeyNamesNoPin, *unnamed);
        return FALSE;
    }
    IKXPinGrid* holder = nullptr;
    for (IKXPinGrid* shown : ShownPinGrids())
        if (shown->Grid().HasSelectedDataRow() && (!holder || shown == pin)) holder = shown;
    if (!holder) {
        CKXErrorHandler::MessageBoxOk(KXCause::kKeyNamesNoPin, KeysText(keys));
        return FALSE;
    }
    if (holder != pin) {
        pin = holder;
        hadCurrent = false; // the user was in another grid
    }
    CKXGridWnd& grid = pin->Grid();
    // The keys that follow the copy (Delete, Down, another Ctrl+C) act where the user was.
    if (hadCurrent) grid.PlaceCurrentCellInSelection(row, col);
    pin->CopySelection();
    return TRUE;
}

KXEditResult CKXBottomPaneContainerView::OnTclTrackInSignalList(CTclArgsList* args, long) {
    if (args && args->GetTotalArgCount() >= 2) return BadOperands();
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    CKXGridWnd* active = GetActiveGrid();
    if (!active) {
        return KXEditResult::Refused("KXPANE-246");
    }
    const bool physical = GetViewMode() == eOpenModePhysical;
    auto* part = physical ? dynamic_cast<CKXPhysPartDetailsGridWnd*>(active) : nullptr;
    auto* matrix = dynamic_cast<CKXMatrixGridWnd*>(active);
    auto* pin = physical || matrix ? nullptr : PinGridOf(active);
    if (!part && !matrix && !pin) {
        // A grid is shown, but not one whose pins lead to a signal of the list.
        return KXEditResult::Refused("KXPANE-291", KXGridKindName(active->Kind()));
    }
    // Without a key the user's row is followed: the cell the grid's activation put there is nobody's choice.
    if (keys.GetSize() == 0 && !HasChosenRow(*active)) return KXEditResult::Refused(KXCause::kNothingChosenToTrack);
    if (part) return TrackPhysicalPin(*part, keys);
    if (matrix) return TrackMatrixSignal(*matrix, keys);
    if (!pin->IsCurrentSignalCellFilled()) {
        // Say what is wrong with the current cell: off the pin rows, or a pin without a signal.
        ROWCOL row = 0, col = 0;
        const bool onPinRow = pin->Grid().GetCurrentCell(row, col) && row >= pin->Grid().FirstDataRow();
        return KXEditResult::Refused(onPinRow ? "KXTABLE-145" : "KXPANE-270");
    }
    if (keys.GetSize() > 0) pin->Grid().SelectRowsByKey(&keys, "");
    if (!HasOneSelectedRow(pin->Grid())) return KXEditResult::Refused("KXPANE-592");
    return KXEditResult::Of(pin->HiliteSelection(), "KXTABLE-145");
}

// A pin's signal is tracked from one pin row: a selection over several rows names none of them.
bool CKXBottomPaneContainerView::HasOneSelectedRow(CKXGridWnd& grid) {
    CRowColArray rows;
    return grid.GetSelectedRows(rows, FALSE, TRUE) == 1;
}

bool CKXBottomPaneContainerView::HasChosenRow(CKXGridWnd& grid) {
    return grid.IsCellOfTheUser() || grid.HasSelectionOfTheUser();
}

// The matrix: the signal of the current row is selected in the signal list.
KXEditResult CKXBottomPaneContainerView::TrackMatrixSignal(CKXMatrixGridWnd& matrix, CStringArray& keys) {
    if (keys.GetSize() > 0) matrix.SelectRowsByKey(&keys, "");
    if (!matrix.IsCurrentRowSignal()) {
        ROWCOL row = 0, col = 0;
        const bool onDataRow = matrix.GetCurrentCell(row, col) && row >= kxmatrix::kFirstDataRow;
        return KXEditResult::Refused(onDataRow ? "KXTABLE-145" : "KXPANE-270");
    }
    return KXEditResult::Of(matrix.HiliteCurrentNet(), "KXTABLE-145");
}

// The physical view: the net of the part's current pin is selected in the physical net list.
KXEditResult CKXBottomPaneContainerView::TrackPhysicalPin(CKXPhysPartDetailsGridWnd& part, CStringArray& keys) {
    if (!part.IsCurrentPinConnected()) {
        ROWCOL row = 0, col = 0;
        const bool onPinRow = part.GetCurrentCell(row, col) && row >= part.FirstDataRow();
        return KXEditResult::Refused(onPinRow ? "KXTABLE-145" : "KXPANE-270");
    }
    if (keys.GetSize() > 0) part.SelectRowsByKey(&keys, "");
    if (!HasOneSelectedRow(part)) return KXEditResult::Refused("KXPANE-592");
    return KXEditResult::Of(part.HiliteCurrentNet(), "KXTABLE-145");
}

KXEditResult CKXBottomPaneContainerView::EditPinCommand(CTclArgsList* args, BOOL physical) {
    if (args && args->GetTotalArgCount() >= 3) return BadOperands();
    int save = physical ? 0 : -1;
    CString key;
    for (int a = 0; args && a < args->GetTotalArgCount(); ++a) {
        const CTclArgs* arg = args->GetArg(a);
        const CString v = arg && arg->GetArgCount() == 1 ? arg->GetValue(0) : CString();
        if (IsOption(v, "-save", "-s"))
            save = 1;
        else if (IsOption(v, "-nosave", "-n"))
            save = 0;
        else if (!key.IsEmpty())
            return BadOperands(); // one key
        else if (const KXEditResult read = ReadKey(arg, key); !read.IsDone())
            return read;
    }
    const BOOL inPhysical = GetViewMode() == eOpenModePhysical;
    if (physical == inPhysical) {
        return KXEditResult::Refused(physical ? "KXPANE-178" : "KXPANE-226");
    }
    CKXGridWnd* grid = GetActiveGrid();
    const KXGridKind kind = grid ? grid->Kind() : KXGridKind::None;
    if (kind != KXGridKind::Pin && kind != KXGridKind::PhysPart && kind != KXGridKind::PhysNet) return NoGridOfKind();
    if (!key.IsEmpty()) {
        // The keyed pin becomes the current one, as selectObject makes it: in the column the user
        // was in, else the grid's first shown column.
        ROWCOL row = GX_INVALID, col = GX_INVALID;
        if (!grid->GetCurrentCell(row, col)) col = grid->GetFirstVisibleColumn();
        CStringArray keys;
        keys.Add(key);
        SelectRowsInAllGrids(&keys, "");
        if (!grid->HasSelectedDataRow()) return KXEditResult::Refused("KXPANE-247", key);
        grid->PlaceCurrentCellInSelection(GX_INVALID, col);
    }
    if (!grid->CanEditPin()) return KXEditResult::Refused("KXPANE-497");
    // The host goes to the pin; a row that names none to it has done nothing.
    return KXEditResult::Of(grid->EditPin(save), "KXPANE-497");
}

KXEditResult CKXBottomPaneContainerView::OnTclEditPhysicalPin(CTclArgsList* args, long) {
    return EditPinCommand(args, TRUE);
}

KXEditResult CKXBottomPaneContainerView::OnTclEditLogicalPin(CTclArgsList* args, long) {
    return EditPinCommand(args, FALSE);
}
