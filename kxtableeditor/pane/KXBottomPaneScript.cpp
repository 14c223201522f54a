// The pane's script commands: the words the host knows as Tcl commands, their
// dispatch from the host's script messages, and the handlers for comments, view
// options, filters, sorting, custom columns and grid dumps. Every word answers
// "-help" with its usage message.
#include "pane/KXBottomPaneContainerView.h"
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

#include <cstring>
#include <map>

namespace {

struct WordEntry {
    const char* word;
    CKXBottomPaneContainerView::TclHandler handler;
    const char* usage;
};

using P = CKXBottomPaneContainerView;

// The words in the order they are registered, each with its handler and usage message.
const WordEntry kWords[] = {
    {KXScriptWord::addConnection, &P::OnTclAddConnection, "KXTABLE-160"},
    {KXScriptWord::addPupd, &P::OnTclAddPupd, "KXPANE-241"},
    {KXScriptWord::addTermination, &P::OnTclAddTermination, "KXPANE-241"},
    {KXScriptWord::assignPinNumber, &P::OnTclAssignPinNumber, "KXTABLE-197"},
    {KXScriptWord::assignModel, &P::OnTclAssignModel, "KXTABLE-182"},
    {KXScriptWord::changeCustomColumn, &P::OnTclChangeCustomColumn, "KXPANE-237"},
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

bool IsHelp(const CString& value) { return KXIsHelpArg(value); }

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

BOOL CKXBottomPaneContainerView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message >= 0x8411 && message <= 0x85A1) {
        const char* word = CKXTclCmdManager::GetTCLCommandName(message);
        if (word && *word) {
            auto it = m_TclCommandMap.find(word);
            if (it != m_TclCommandMap.end() && it->second) {
                m_strTclWord = word;
                const LRESULT r = (this->*(it->second))(reinterpret_cast<CTclArgsList*>(wParam), lParam);
                if (pResult) *pResult = r;
                return TRUE;
            }
        }
    }
    return CView::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CKXBottomPaneContainerView::Usage() {
    if (const char* id = UsageOf(m_strTclWord)) CKXErrorHandler::MessageBoxOk(id);
    return TRUE;
}

// ------------------------------------------------------------------ comments

LRESULT CKXBottomPaneContainerView::CommentCommand(CTclArgsList* args, int op) {
    const EOpenMode mode = GetViewMode();
    if (mode == eOpenModePhysical) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return 1;
    }
    if (mode == eOpenModeContext) return 1;
    CString text;
    CStringArray keys;
    bool first = op != 2; // delete takes no text
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
            CTclArgs* arg = *it;
            if (!arg) continue;
            for (int i = 0; i < arg->GetArgCount(); ++i)
                if (IsHelp(arg->GetValue(i))) return Usage();
            if (first) {
                text = arg->GetValue(0);
                first = false;
                continue;
            }
            CString key = Joined(arg, ":");
            while (key.Right(1) == ":")
                key = key.Left(key.GetLength() - 1);
            if (!key.IsEmpty()) keys.Add(key);
        }
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) {
        CKXErrorHandler::MessageBoxOk("KXPANE-246");
        return 0;
    }
    if (keys.GetSize() > 0 && !SelectKeyedPins(grid, keys)) return 0;
    if (op == 0 && grid->CanInsertComment())
        grid->InsertComment(text, 1);
    else if (op == 1 && grid->CanEditComment())
        grid->EditComment(text, 1);
    else if (op == 2 && grid->CanDeleteComment())
        grid->DeleteComment();
    else {
        CKXErrorHandler::MessageBoxOk("KXPANE-248");
        return 0;
    }
    return 1;
}

BOOL CKXBottomPaneContainerView::SelectKeyedPins(CKXGridWnd* grid, CStringArray& keys) {
    const CString column = IKXPinGrid::kPinNameKeyColumn;
    if (auto* pin = PinGridOf(grid)) {
        if (pin->SelectRowsByKeyCount(&keys, column) > 0) return TRUE;
        CString named;
        for (INT_PTR i = 0; i < keys.GetSize(); ++i)
            named += (i ? " " : "") + keys[i];
        CKXErrorHandler::MessageBoxOk("KXPANE-247", named);
        return FALSE;
    }
    grid->SelectRowsByKey(&keys, column);
    return TRUE;
}

LRESULT CKXBottomPaneContainerView::OnTclAddComment(CTclArgsList* args, long) {
    return CommentCommand(args, 0);
}
LRESULT CKXBottomPaneContainerView::OnTclModifyComment(CTclArgsList* args, long) {
    return CommentCommand(args, 1);
}
LRESULT CKXBottomPaneContainerView::OnTclDeleteComment(CTclArgsList* args, long) {
    return CommentCommand(args, 2);
}

// ------------------------------------------------------------------ view options

void CKXBottomPaneContainerView::SetViewOptionsInAllGrids(int busOption, int dpOption) {
    for (CKXGridWnd* g : m_shownGrids)
        if (auto* pin = PinGridOf(g)) {
            pin->RecordViewOptionsScript(busOption, dpOption);
            pin->RefreshInstances(nullptr);
        }
}

LRESULT CKXBottomPaneContainerView::OnTclSetViewOption(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() < 1 || args->GetTotalArgCount() > 2) return RefusedOperand(CString());
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
            return RefusedOperand(v);
    }
    auto* pin = ViewOptionGrid();
    if (!pin) return 0;
    // A choice not given keeps the active grid's current one.
    SetViewOptionsInAllGrids(bus < 0 ? pin->GetBusOption() : bus, dp < 0 ? pin->GetDiffPairOption() : dp);
    return 1;
}

LRESULT CKXBottomPaneContainerView::OnTclExpandPins(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() < 1 || args->GetTotalArgCount() > 2) return RefusedOperand(CString());
    CString mode, scope;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        CString v = arg ? arg->GetValue(0) : CString();
        if (v.CompareNoCase("on") == 0 || v.CompareNoCase("off") == 0)
            mode = v;
        else if (v.CompareNoCase("-selection") == 0)
            scope = "-selection";
        else
            return RefusedOperand(v);
    }
    auto* pin = ViewOptionGrid();
    if (!pin) return 0;
    pin->ExpandAllPins(mode, scope);
    return 1;
}

// The usage of the word being run: a help request is answered, any other operand is refused.
LRESULT CKXBottomPaneContainerView::RefusedOperand(const CString& value) {
    Usage();
    return IsHelp(value) ? 1 : 0;
}

// The active pin grid the view-option words act on; none (with the reason shown) in the physical view or
// while the active grid shows no component's pins.
IKXPinGrid* CKXBottomPaneContainerView::ViewOptionGrid() {
    auto* pin = GetViewMode() == eOpenModePhysical ? nullptr : PinGridOf(GetActiveGrid());
    if (!pin) CKXErrorHandler::MessageBoxOk("KXPANE-178");
    return pin;
}

// ------------------------------------------------------------------ filter and sort

LRESULT CKXBottomPaneContainerView::OnTclFilterRows(CTclArgsList* args, long) {
    if (!args) return 1;
    if (args->GetTotalArgCount() < 2 || args->GetTotalArgCount() > 4) return Usage();
    CString column, filter;
    bool hasColumn = false, hasFilter = false;
    int expect = 0; // 1 column, 2 filter
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        if (!arg) continue;
        const CString v = arg->GetValue(0);
        if (IsHelp(v)) return Usage();
        if (IsOption(v, "-col", "-c")) {
            hasColumn = true;
            expect = 1;
        } else if (IsOption(v, "-filter", "-f")) {
            hasFilter = true;
            expect = 2;
        } else if (expect == 1) {
            column = Joined(arg, " ");
        } else if (expect == 2) {
            filter = Joined(arg, " ");
        }
    }
    if ((hasColumn && column.IsEmpty()) || (hasFilter && filter.IsEmpty())) return Usage();
    if (CKXMatrixGridWnd* matrix = ActiveMatrixGrid()) return matrix->SetColumnFilter(column, filter) ? 1 : Usage();
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) return part->SetColumnFilter(column, filter) ? 1 : Usage();
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) return net->SetColumnFilter(column, filter) ? 1 : Usage();
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid()) {
        if (signal->SetColumnFilter(column, filter)) return 1;
        CKXErrorHandler::MessageBoxOk("KXPANE-234");
        return 0;
    }
    auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(GetActiveGrid()) : nullptr;
    if (!pin || !pin->OnFilterCellChanged(column, filter)) return (Usage(), 0);
    return 1;
}

LRESULT CKXBottomPaneContainerView::OnTclSort(CTclArgsList* args, long) {
    if (!args) return 1;
    if (LRESULT matrix = 0; MatrixWord(KXScriptWord::sort, args, matrix)) return matrix;
    if (args->GetTotalArgCount() > 1) return Usage();
    CString column;
    if (CTclArgs* arg = args->GetArg(0)) {
        column = arg->GetValue(0);
        if (IsHelp(column)) return Usage();
    }
    // A physical grid without the column refuses with the word's usage.
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid())
        return part->SortByColumnName(column) ? 1 : (Usage(), 0);
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid())
        return net->SortByColumnName(column) ? 1 : (Usage(), 0);
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid()) {
        if (signal->SortByColumnName(column)) return 1;
        CKXErrorHandler::MessageBoxOk("KXPANE-231");
        return 0;
    }
    auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(GetActiveGrid()) : nullptr;
    if (!pin || !pin->SortByColumnName(column)) return (Usage(), 0);
    return 1;
}

// ------------------------------------------------------------------ custom columns

void CKXBottomPaneContainerView::SelectRowsInAllGrids(CStringArray* keys, const CString& keyColumn) {
    for (CKXGridWnd* g : m_shownGrids)
        g->SelectRowsByKey(keys, keyColumn);
}

LRESULT CKXBottomPaneContainerView::OnTclChangeCustomColumn(CTclArgsList* args, long) {
    auto usage = [this] {
        Usage();
        return LRESULT{3};
    };
    if (!args || args->GetTotalArgCount() == 0) return usage();
    CStringArray columns, keys;
    CMapStringToString values;
    int expect = 0; // 1 column, 2 value
    bool valueStored = false;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        if (!arg) continue;
        const CString v = arg->GetValue(0);
        if (IsHelp(v)) return usage();
        if (IsOption(v, "-col", "-c")) {
            expect = 1;
        } else if (IsOption(v, "-val", "-v")) {
            if (columns.GetSize() == 0) return usage();
            expect = 2;
        } else if (expect == 1) {
            if (columns.GetSize() > 0) return usage(); // one column per command
            columns.Add(v);
            expect = 0;
        } else if (expect == 2) {
            values.SetAt(columns[0], Joined(arg, ","));
            valueStored = true;
            expect = 0;
        } else {
            keys.Add(Joined(arg, ":"));
        }
    }
    if (expect == 1 || !valueStored) return usage();
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid || grid->AreColumnsKnown(&columns) != 1) {
        CKXErrorHandler::MessageBoxOk("KXPANE-238");
        return 3;
    }
    if (keys.GetSize() > 0) SelectRowsInAllGrids(&keys, "");
    return grid->ChangeCustomColumnValue(values) ? 1 : 3;
}

// ------------------------------------------------------------------ dumps

LRESULT CKXBottomPaneContainerView::OnTclDumpGrid(CTclArgsList* args, long) {
    if (!args) {
        CKXErrorHandler::MessageBoxOk("KXPANE-244");
        return 1;
    }
    if (args->GetTotalArgCount() != 1) return Usage();
    CTclArgs* arg = args->GetArg(0);
    if (!arg || arg->GetArgCount() > 1) return Usage();
    const CString file = arg->GetValue(0);
    // A file name such as "board-hdl.txt" is the user's, not a help request.
    if (IsHelp(file)) return Usage();
    if (file.IsEmpty()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-244");
        return 0;
    }
    if (LRESULT matrix = 0; MatrixWord(KXScriptWord::dumpGrid, args, matrix)) return matrix;
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) {
        if (net->DumpSCP(file)) return 1;
        CKXErrorHandler::MessageBoxOk("KXPANE-249", file);
        return 0;
    }
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        if (part->DumpCCP(file)) return 1;
        CKXErrorHandler::MessageBoxOk("KXPANE-249", file);
        return 0;
    }
    CKXGridWnd* active = GetViewMode() != eOpenModePhysical ? GetActiveGrid() : nullptr;
    auto* pin = PinGridOf(active);
    auto* signal = dynamic_cast<CKXSignalDetailsGridWnd*>(active);
    if (!pin && !signal) {
        CKXErrorHandler::MessageBoxOk("KXPANE-246");
        return 0;
    }
    if (!(pin ? pin->DumpGrid(file) : signal->DumpSCP(file))) {
        CKXErrorHandler::MessageBoxOk("KXPANE-249", file);
        return 0;
    }
    return 1;
}

// ------------------------------------------------------------------ connections

LRESULT CKXBottomPaneContainerView::AddConnectionInSignalGrid(CTclArgsList* args) {
    if (!args || args->GetTotalArgCount() != 1) return Usage();
    CTclArgs* arg = args->GetArg(0);
    if (!arg || arg->GetArgCount() == 0 || IsHelp(arg->GetValue(0))) return Usage();
    // instance:pin number[:start bit[:end bit[:signal]]], as one text or as a list of its parts.
    std::vector<CString> parts;
    if (arg->GetArgCount() > 1) {
        for (int i = 0; i < arg->GetArgCount(); ++i)
            parts.push_back(arg->GetValue(i));
    } else {
        const CString text = arg->GetValue(0);
        if (text.Find(':') < 0) return Usage();
        int start = 0;
        for (int at = text.Find(':'); ; at = text.Find(':', start)) {
            parts.push_back(at < 0 ? text.Mid(start) : text.Mid(start, at - start));
            if (at < 0) break;
            start = at + 1;
        }
    }
    if (parts.size() > 5) return Usage();
    CKXSignalDetailsGridWnd* grid = ActiveSignalGrid();
    if (!grid) {
        CKXErrorHandler::MessageBoxOk("KXPANE-178");
        return 0;
    }
    // The grid's own echo of a connection it has just made: the work is done.
    if (grid->IsEchoingConnection()) return 1;
    parts.resize(5);
    if (parts[2].IsEmpty()) parts[2] = "-1";
    if (parts[3].IsEmpty()) parts[3] = arg->GetArgCount() == 1 && parts[2] != "-1" ? parts[2] : CString("-1");
    return grid->AssignConnectivityByName(parts[0], parts[1], parts[2], parts[3], parts[4]) ? 1 : 0;
}

// ------------------------------------------------------------------ selecting, copying, pins

namespace {

// The object keys of an operand list: each argument's values joined with ":". FALSE when a value
// asks for help. A value "all" (when allowed) empties the keys and ends the list.
bool ReadKeys(CTclArgsList* args, CStringArray& keys, bool allowAll = false) {
    if (!args) return true;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        CTclArgs* arg = *it;
        if (!arg) continue;
        for (int i = 0; i < arg->GetArgCount(); ++i) {
            if (IsHelp(arg->GetValue(i))) return false;
            if (allowAll && arg->GetValue(i).CompareNoCase("all") == 0) {
                keys.RemoveAll();
                return true;
            }
        }
        keys.Add(Joined(arg, ":"));
    }
    return true;
}

} // namespace

LRESULT CKXBottomPaneContainerView::OnTclSelectObject(CTclArgsList* args, long) {
    // No key selects every shown row of each grid.
    CStringArray keys;
    if (!ReadKeys(args, keys, true)) return Usage();
    // A grid none of whose rows the keys name keeps nothing selected: the word that follows acts on
    // no row rather than on one selected before.
    SelectKeysOnly(keys);
    if (keys.GetSize() == 0) SelectRowsInAllGrids(&keys, "");
    if (CKXGridWnd* active = GetActiveGrid()) active->NotifySelectionChanged();
    return 1;
}

LRESULT CKXBottomPaneContainerView::OnTclCopy(CTclArgsList* args, long) {
    if (!args || args->GetTotalArgCount() == 0) return Usage();
    CStringArray keys;
    if (!ReadKeys(args, keys)) return Usage();
    // The last argument is the key column, by its key or its title (whose blanks part no fields);
    // without object keys nothing is copied.
    CString keyColumn;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
        if (*it) keyColumn = Joined(*it, " ");
    keys.RemoveAt(keys.GetSize() - 1);
    if (keys.GetSize() == 0) {
        Usage();
        return 0;
    }
    return CopyObjectsByKey(keys, keyColumn) ? 1 : 0;
}

namespace {
// The keys as the message that no row matches them names them.
CString KeysText(const CStringArray& keys) {
    CString named;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        named += (i ? " " : "") + keys[i];
    return named;
}

// Selects the keyed rows of a grid that selects nothing else; FALSE (with the message) when no
// row matches, so that nothing is copied under a name that selected nothing.
bool SelectKeyedRows(CKXGridWnd& grid, CStringArray& keys, const CString& keyColumn) {
    grid.SelectRowsByKey(&keys, keyColumn);
    const CGXGridParam* param = grid.GetParam();
    if (param && param->GetRangeList()->GetCount() > 0) return true;
    CKXErrorHandler::MessageBoxOk("KXPANE-247", KeysText(keys));
    return false;
}
} // namespace

// Selects the rows the keys name and copies them with the active grid's own copy; FALSE, with a
// message, when the active grid copies nothing or holds no row of the keys.
BOOL CKXBottomPaneContainerView::CopyObjectsByKey(CStringArray& keys, const CString& keyColumn) {
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
        CKXErrorHandler::MessageBoxOk("KXPANE-246");
        return FALSE;
    }
    // The other shown grids follow the selection; the active grid must hold a keyed row, or
    // the copy would take whatever was selected before.
    for (CKXGridWnd* g : m_shownGrids)
        if (PinGridOf(g) != pin) g->SelectRowsByKey(&keys, keyColumn);
    if (pin->SelectRowsByKeyCount(&keys, keyColumn) == 0) {
        CKXErrorHandler::MessageBoxOk("KXPANE-247", KeysText(keys));
        return FALSE;
    }
    pin->CopySelection();
    return TRUE;
}

LRESULT CKXBottomPaneContainerView::OnTclTrackInSignalList(CTclArgsList* args, long) {
    if (args && args->GetTotalArgCount() >= 2) return Usage();
    CStringArray keys;
    if (!ReadKeys(args, keys)) return Usage();
    CKXGridWnd* active = GetActiveGrid();
    if (!active) {
        CKXErrorHandler::MessageBoxOk("KXPANE-246");
        return 0;
    }
    if (auto* part = GetViewMode() == eOpenModePhysical ? dynamic_cast<CKXPhysPartDetailsGridWnd*>(active) : nullptr)
        return TrackPhysicalPin(*part, keys);
    if (auto* matrix = dynamic_cast<CKXMatrixGridWnd*>(active)) return TrackMatrixSignal(*matrix, keys);
    auto* pin = GetViewMode() != eOpenModePhysical ? PinGridOf(active) : nullptr;
    if (!pin) {
        // A grid is shown, but not one whose pins lead to a signal of the list.
        CKXErrorHandler::MessageBoxOk("KXPANE-291", KXGridKindName(active->Kind()));
        return 0;
    }
    if (!pin->IsCurrentSignalCellFilled()) {
        // Say what is wrong with the current cell: off the pin rows, or a pin without a signal.
        ROWCOL row = 0, col = 0;
        const bool onPinRow = pin->Grid().GetCurrentCell(row, col) && row >= pin->Grid().FirstDataRow();
        CKXErrorHandler::MessageBoxOk(onPinRow ? "KXTABLE-145" : "KXPANE-270");
        return 0;
    }
    if (keys.GetSize() > 0) pin->Grid().SelectRowsByKey(&keys, "");
    pin->HiliteSelection();
    return 1;
}

// The matrix: the signal of the current row is selected in the signal list.
LRESULT CKXBottomPaneContainerView::TrackMatrixSignal(CKXMatrixGridWnd& matrix, CStringArray& keys) {
    if (keys.GetSize() > 0) matrix.SelectRowsByKey(&keys, "");
    if (!matrix.IsCurrentRowSignal()) {
        ROWCOL row = 0, col = 0;
        const bool onDataRow = matrix.GetCurrentCell(row, col) && row >= kxmatrix::kFirstDataRow;
        CKXErrorHandler::MessageBoxOk(onDataRow ? "KXTABLE-145" : "KXPANE-270");
        return 0;
    }
    return matrix.HiliteCurrentNet() ? 1 : 0;
}

// The physical view: the net of the part's current pin is selected in the physical net list.
LRESULT CKXBottomPaneContainerView::TrackPhysicalPin(CKXPhysPartDetailsGridWnd& part, CStringArray& keys) {
    if (!part.IsCurrentPinConnected()) {
        ROWCOL row = 0, col = 0;
        const bool onPinRow = part.GetCurrentCell(row, col) && row >= part.FirstDataRow();
        CKXErrorHandler::MessageBoxOk(onPinRow ? "KXTABLE-145" : "KXPANE-270");
        return 0;
    }
    if (keys.GetSize() > 0) part.SelectRowsByKey(&keys, "");
    return part.HiliteCurrentNet() ? 1 : 0;
}

LRESULT CKXBottomPaneContainerView::EditPinCommand(CTclArgsList* args, BOOL physical) {
    if (args && args->GetTotalArgCount() >= 3) return Usage();
    int save = physical ? 0 : -1;
    CString key;
    if (CTclArgs* arg = args ? args->GetArg(0) : nullptr)
        for (int i = 0; i < arg->GetArgCount(); ++i) {
            const CString v = arg->GetValue(i);
            if (IsHelp(v)) return Usage();
            if (IsOption(v, "-save", "-s"))
                save = 1;
            else if (IsOption(v, "-nosave", "-n"))
                save = 0;
            else
                key += (key.IsEmpty() ? "" : ":") + v;
        }
    const BOOL inPhysical = GetViewMode() == eOpenModePhysical;
    if (physical == inPhysical) {
        CKXErrorHandler::MessageBoxOk(physical ? "KXPANE-178" : "KXPANE-226");
        return 0;
    }
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid || !grid->CanEditPin()) {
        CKXErrorHandler::MessageBoxOk("KXPANE-246");
        return 0;
    }
    if (!key.IsEmpty()) {
        CStringArray keys;
        keys.Add(key);
        SelectRowsInAllGrids(&keys, "");
    }
    grid->EditPin(save);
    return 1;
}

LRESULT CKXBottomPaneContainerView::OnTclEditPhysicalPin(CTclArgsList* args, long) {
    return EditPinCommand(args, TRUE);
}

LRESULT CKXBottomPaneContainerView::OnTclEditLogicalPin(CTclArgsList* args, long) {
    return EditPinCommand(args, FALSE);
}
