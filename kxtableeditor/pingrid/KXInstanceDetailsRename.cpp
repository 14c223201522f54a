// Renaming the signals of the selected pin rows: the Modify Values dialog hands
// the new names to the host as "renameConnection", whose word comes back to
// RenameSignal; that types each name into its row's SIGNAL cell, all rows in one
// transaction "Rename Signal" that is committed as one edit or not at all.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "grid/KXEditResult.h"
#include "grid/KXRefusalCauses.h"
#include "pingrid/KXPinConnEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXScriptText.h"

#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxsmall/CKXDlgEditValues.h"
#include "kxsmall/CPQRedsDictionary.h"
#include "rmx/schemautil.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

using kxpingrid::Col;

BOOL CKXInstanceDetailsGridWnd::CanRenameConnections() {
    CKXInstanceDetailsGridWnd* grid = m_pCurrentPinGrid ? m_pCurrentPinGrid : this;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid->GetCurrentCell(row, col)) return TRUE;
    const int c = static_cast<int>(col);
    for (int refused : {m_nColPinName, m_nColPinNumber, m_nColPinType, m_nColTermination, m_nColPupd, m_nColComments,
                        m_nColDiffPair})
        if (c == refused) return FALSE;
    return !(row >= PIN_FIRST_ROW && row <= grid->GetRowCount() && grid->IsDiffPairRow(row));
}

void CKXInstanceDetailsGridWnd::RenameConnections() {
    const std::vector<ROWCOL> selected = SelectedPinRows();
    std::vector<CString> names; // every signal the grid shows, offered by the dialog
    for (ROWCOL r = 1; r <= GetRowCount(); ++r)
        if (const CString text = GetValueRowCol(r, Col(m_nColSignal)); !text.IsEmpty()) names.push_back(text);
    // One item per visible selected row, in selection order, each knowing its row.
    std::vector<std::unique_ptr<CKXModifyValueList>> items;
    std::map<const CKXModifyValueList*, ROWCOL> rowOf;
    for (ROWCOL r : selected) {
        if (r < PIN_FIRST_ROW || r > GetRowCount() || IsRowHidden(r)) continue;
        items.push_back(std::make_unique<CKXModifyValueList>("", GetValueRowCol(r, Col(m_nColSignal)), ""));
        if (items.size() > 1) items[items.size() - 2]->SetNext(items.back().get());
        rowOf[items.back().get()] = r;
    }
    // No pin row to rename: no dialog, and the command did nothing.
    if (items.empty()) {
        KXMenuAnswer::Report(KXEditResult::Refused(KXCause::kNothingSelected));
        return;
    }
    CKXDlgEditValues dialog(items.empty() ? nullptr : items.front().get(), 3, nullptr, "Signal Name", "", names, this);
    if (dialog.DoModal() != IDOK) return;
    CString arguments = dialog.GetOptionFlag() ? "-RC " : "";
    bool any = false;
    for (const auto& item : items) {
        const ROWCOL r = rowOf[item.get()];
        CString value = item->GetNewValue();
        value.Remove(' ');
        CString instance = GetValueRowCol(r, Col(m_nColInstance)), pin = GetValueRowCol(r, Col(m_nColPinName)),
                number = GetValueRowCol(r, Col(m_nColPinNumber));
        if (number.IsEmpty()) number = "\"\"";
        CKXGenUtils::EscapeSquareBrackets(instance);
        CKXGenUtils::EscapeSquareBrackets(pin);
        CKXGenUtils::EscapeSquareBrackets(number);
        CKXGenUtils::EscapeCharacter(value, '\\');
        CKXGenUtils::EscapeSquareBrackets(value);
        CString entry;
        entry.Format("[list %s %s %s %s] ", instance.GetString(), pin.GetString(), number.GetString(),
                     value.IsEmpty() ? "\"\"" : value.GetString());
        arguments += entry;
        any = true;
    }
    if (!any) return;
    CString text;
    text.Format("%s ccp; %s pin %s", KXScriptWord::selectWindow, KXScriptWord::renameConnection,
                arguments.GetString());
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

// The name typed into the row's SIGNAL cell and validated as Enter validates it; a read-only cell
// is passed over. FALSE when the validation refused the name.
BOOL CKXInstanceDetailsGridWnd::TypeIntoSignalCell(ROWCOL row, const CString& name) {
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return TRUE;
    const ROWCOL col = Col(m_nColSignal);
    CGXControl* control = GetControl(row, col);
    if (!control || CellStyle(row, col).GetReadOnly()) return TRUE;
    // A bit row its bus's fold (or the row filter) hides opens first, as the user opens the bus to type
    // into the bit: the name goes into that row's cell, never into the cell that was current before.
    if (IsRowHidden(row)) OpenFoldsOf(row);
    if (IsRowHidden(row) && ClearRowFilter()) OpenFoldsOf(row);
    ROWCOL currentRow = GX_INVALID, currentCol = GX_INVALID;
    if (!SetCurrentCell(row, col) || !GetCurrentCell(currentRow, currentCol) || currentRow != row ||
        currentCol != col)
        return FALSE;
    control->Init(row, col);
    control->SetCurrentText(name);
    const BOOL accepted = control->OnValidate();
    m_bStoringCellEdit = 0; // nothing is stored: the commit's refresh writes the cells
    control->SetActive(FALSE);
    control->Reset();
    return accepted;
}

// Each row with the name it takes: with keys, the rows of key i take name i; otherwise the selected
// rows in order take the names in order, the last name serving the rows beyond the list.
std::vector<std::pair<ROWCOL, CString>> CKXInstanceDetailsGridWnd::RenameTargets(const CStringArray& names,
                                                                                  const CStringArray* keys) {
    std::vector<std::pair<ROWCOL, CString>> targets;
    if (keys && keys->GetSize() == names.GetSize() && keys->GetSize() > 0) {
        for (INT_PTR i = 0; i < keys->GetSize(); ++i) {
            CStringArray one;
            one.Add(keys->GetAt(i));
            SetSelection(nullptr);
            if (SelectRowsByKeyCount(&one, "") == 0) continue;
            for (ROWCOL r : SelectedPinRows())
                targets.emplace_back(r, names[i]);
        }
        return targets;
    }
    const std::vector<ROWCOL> selected = SelectedPinRows();
    for (std::size_t i = 0; i < selected.size(); ++i)
        targets.emplace_back(selected[i], names[static_cast<INT_PTR>(std::min<std::size_t>(i, names.GetSize() - 1))]);
    return targets;
}

namespace {

// The bits a rename's name names: a bus range its width, a comma list one bit per name (the list gives
// its names to the row's bits in turn); -1 for a name that fits any row (a plain name, a rule).
int RenameNameWidth(const CString& name) {
    if (name.IsEmpty() || name[0] == '=') return -1;
    if (const char* text = name.GetString(); name.Find(',') >= 0)
        return static_cast<int>(std::count(text, text + name.GetLength(), ',')) + 1;
    CString base;
    int nameMsb = -1, nameLsb = -1;
    if (!CKXGenUtils::ParseSignalName(name, base, nameLsb, nameMsb) || nameMsb < 0) return -1;
    return std::abs(nameMsb - nameLsb) + 1;
}

// Says why the rows cannot take their names, before anything is renamed (false when they can): a pin
// named by two of the keys (its rows would be renamed twice over, each rename on the signal the one
// before made), or a name of a bus range (or a comma list) that is not as wide as its row.
bool SayRenameRefusal(CKXInstanceDetailsGridWnd& grid, const std::vector<std::pair<ROWCOL, CString>>& targets,
                      bool keyed) {
    std::map<IInstTerm*, std::vector<std::pair<int, int>>> named;
    for (const auto& [row, name] : targets) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = grid.GetRowInstTerm(row, msb, lsb);
        if (!pin) continue;
        // (Each cell's text copied at once: the grid hands them out in one buffer.)
        const CString instance = grid.GetValueRowCol(row, kxpingrid::Col(grid.m_nColInstance));
        const CString shown = instance + ":" + grid.GetValueRowCol(row, kxpingrid::Col(grid.m_nColPinName));
        const int low = std::min(msb, lsb), high = std::max(msb, lsb);
        auto& ranges = named[pin];
        const bool twice = std::any_of(ranges.begin(), ranges.end(), [&](const std::pair<int, int>& r) {
            return r.first <= high && low <= r.second;
        });
        if (keyed && twice) return CKXErrorHandler::MessageBoxOk("KXPANE-741", shown), true;
        ranges.emplace_back(low, high);
        const int nameWidth = RenameNameWidth(name), rowWidth = high - low + 1;
        if (nameWidth < 0) continue;
        if (nameWidth != rowWidth)
            return CKXErrorHandler::MessageBoxOk("KXPANE-742", name, nameWidth, shown, rowWidth), true;
    }
    return false;
}

} // namespace

int CKXInstanceDetailsGridWnd::RenameSignal(CStringArray* names, int flag, CStringArray* keys) {
    if (!names || names->GetSize() == 0) {
        if (SelectedPinRows().size() <= 1) {
            CKXErrorHandler::MessageBoxOk("KXPANE-182");
            return 0;
        }
        RenameConnections();
        return 2;
    }
    const std::vector<std::pair<ROWCOL, CString>> targets = RenameTargets(*names, keys);
    if (SayRenameRefusal(*this, targets, keys && keys->GetSize() > 0)) return 0;
    const int renaming = std::exchange(m_bRenamingSignal, flag ? 2 : 1);
    // Each row takes its own name: the typing goes into this grid's row only, not through the pane to
    // the pins selected in the grids beside it.
    const int throughPane = std::exchange(m_bSignalEditThroughPane, 0);
    // The rows' journal blocks are written once the whole rename stands.
    const int holding = std::exchange(m_bHoldJournal, 1);
    const CString held = std::exchange(m_strHeldJournal, CString());
    CKXPinConnEdit edit(*this, m_designContext2, "Rename Signal");
    bool refused = !edit;
    SetSelection(nullptr);
    const KXShownMark typed;
    // Each row's nets that it leaves with no pin go as soon as that row is renamed, as the journal
    // replays the rows one by one: what a later row makes (a pull-up's name) is then the same.
    for (std::size_t i = 0; i < targets.size() && !refused; ++i) {
        const std::vector<INet*> renamedFrom = NetsOfRows({targets[i]});
        refused = !TypeIntoSignalCell(targets[i].first, targets[i].second);
        if (!refused) DropRenamedAwayNets(edit.Transaction(), renamedFrom);
    }
    // Every pin is on the signal it was to take already: nothing was renamed, and the typing said so
    // (the cell shows that name already), or it is said here.
    const bool unchanged = !refused && !targets.empty() && !edit.ChangedSoFar();
    if (unchanged && !typed.SaidSince()) CKXErrorHandler::MessageBoxOk(KXCause::kUnchanged);
    refused = refused || unchanged;
    if (refused || targets.empty())
        edit.Discard();
    else if (!edit.Commit())
        refused = true;
    // The rows renamed before the one that refused show the design again, which the edit left as it was.
    if (refused && !targets.empty()) ReadRowsAgain();
    m_bHoldJournal = holding;
    const CString journal = std::exchange(m_strHeldJournal, held);
    if (!refused) WriteJournal(journal);
    for (const auto& target : targets)
        if (target.first <= GetRowCount()) SelectRange(CGXRange(target.first, Col(m_nColSignal)), TRUE, FALSE);
    m_bRenamingSignal = renaming;
    m_bSignalEditThroughPane = throughPane;
    return refused || targets.empty() ? 0 : 1;
}

// A net made by a rename takes the properties of the net (and of each bit) the pin left, where it
// has none of its own.
void CKXInstanceDetailsGridWnd::MergeRenamedNet(CTransaction* transaction, const CString& oldText, INet* newNet) {
    CString base;
    int lsb = -1, msb = -1;
    IDesign* design = m_designContext.design();
    if (!transaction || !newNet || !design || !CSchemaUtilities::parsePinName(oldText.GetString(), base, lsb, msb))
        return;
    INet* oldNet = design->findNet(base.GetString());
    if (!oldNet || oldNet == newNet) return;
    CMergeEngine::MergeObjects(transaction, m_designContext, base, newNet->name(), 10, 4);
    if (lsb < 0 || newNet->isScalar()) return;
    for (int b = std::min(lsb, msb); b <= std::max(lsb, msb); ++b)
        CMergeEngine::MergeObjects(transaction, m_designContext, CSchemaUtilities::vectorName(base.GetString(), b),
                                   CSchemaUtilities::vectorName(newNet->name(), b), 19, 4);
}

std::vector<INet*> CKXInstanceDetailsGridWnd::NetsOfRows(const std::vector<std::pair<ROWCOL, CString>>& rows) {
    std::vector<INet*> nets;
    for (const auto& row : rows) {
        if (row.second.IsEmpty()) continue; // a pin given no name is disconnected, not renamed
        int msb = -1, lsb = -1;
        if (IInstTerm* pin = GetRowInstTerm(row.first, msb, lsb))
            for (const CConn& conn : pin->beginConn())
                if (INet* net = conn.net(); net && std::find(nets.begin(), nets.end(), net) == nets.end())
                    nets.push_back(net);
    }
    return nets;
}

// A rename gives the signal of the pins a new name: a net the rename left with no pin goes, with its
// properties and its pull-ups (those kept went to the new net with the pins). A net that is more than
// its pins' signal (a port's, a global one, one with aliases or a pair) stays.
void CKXInstanceDetailsGridWnd::DropRenamedAwayNets(CTransaction* transaction, const std::vector<INet*>& nets) {
    if (!transaction) return;
    for (INet* net : nets) {
        if (!net->isAlive() || net->connectionCount() > 0 || net->scope() != INet::eScopeDesign || net->port())
            continue;
        const auto aliases = net->beginAlias();
        const auto pairs = net->beginDPNet();
        if (aliases.begin() != aliases.end() || pairs.begin() != pairs.end()) continue;
        transaction->removeNet(net);
    }
}
