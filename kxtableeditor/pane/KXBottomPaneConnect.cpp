// The pane's roads to the pin grids' connection edits: the Attach Signal bar
// (typed text, list choice, the fx rule menu), the script words that connect,
// delete, swap, rename, number and un-pair pins, and the automation methods a
// journal replays. Each road opens one transaction around the grids' work.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXPaneKeys.h"
#include "grid/KXJournalLine.h"
#include "grid/KXGridScopes.h"
#include "grid/KXScriptWords.h"
#include "grid/KXGridEdit.h"

#include "matrix/KXMatrixGridWnd.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "pingrid/KXPinGridRetain.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"

#include "afx/afxanswer.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

const char* const kRuleTexts[] = {"=AUTONAME",      "=PINNAME",          "=PREFIXPINNAME",
                                  "=SUFFIXPINNAME", "=PREFIXPINNUMBER",  "=SUFFIXPINNUMBER",
                                  "=INCREMENTSIGNAME", "=CONNECTBITS"};

bool HoldsRuleWord(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    for (const char* rule : kRuleTexts)
        if (upper.Find(rule) >= 0) return true;
    return false;
}

// A naming rule as a connect text: a rule word, or =SHORTPINS.
bool IsNamingRuleText(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    return upper.Find("=SHORTPINS") >= 0 || HoldsRuleWord(text);
}

// A signal grid's form of the word: its arguments name pins as INSTANCE:PIN (a key of several fields, or one
// text holding a ":").
bool NamesPinsByKey(CTclArgsList* args) {
    if (!args) return false;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
        std::vector<CString> fields;
        if (*it && (*it)->GetListValues(fields) &&
            (fields.size() > 1 || (fields.size() == 1 && fields[0].Find(':') >= 0)))
            return true;
    }
    return false;
}

} // namespace

// ------------------------------------------------------------------ nets made in the open transaction

void CKXBottomPaneContainerView::EmptyTransactionNetMap() {
    m_pTransactionNetMap.reset();
    // What the pin grids' retain question noted for the edit goes with the edit's transaction.
    KXPinGridRetain::ForgetRetainRun();
}

INet* CKXBottomPaneContainerView::FindTransactionNet(const CString& name) const {
    if (!m_pTransactionNetMap) return nullptr;
    auto it = m_pTransactionNetMap->find(name);
    return it == m_pTransactionNetMap->end() ? nullptr : it->second.net;
}

void CKXBottomPaneContainerView::RecordTransactionNet(const CString& name, INet* net) {
    if (!net) return;
    if (!m_pTransactionNetMap) m_pTransactionNetMap = std::make_unique<std::map<CString, CKXNewNetData>>();
    m_pTransactionNetMap->emplace(name, CKXNewNetData{net, net->lsb(), net->msb()});
}

void CKXBottomPaneContainerView::ForgetTransactionNet(const CString& name) {
    if (m_pTransactionNetMap) m_pTransactionNetMap->erase(name);
}

// ------------------------------------------------------------------ the grids and the pane's transaction

std::vector<IKXPinGrid*> CKXBottomPaneContainerView::ShownPinGrids() const {
    std::vector<IKXPinGrid*> grids;
    for (CKXGridWnd* g : m_shownGrids)
        if (auto* pin = PinGridOf(g)) grids.push_back(pin);
    return grids;
}

// Keys name the rows to work on: every grid drops its selection first, so that keys that match
// nothing leave nothing selected rather than the rows selected before.
namespace {

// The left column of the grid's first selected range; GX_INVALID when it selects none or whole rows.
ROWCOL FirstSelectedColumn(CKXGridWnd& grid) {
    const CGXGridParam* param = grid.GetParam();
    POSITION pos = param ? param->GetRangeList()->GetHeadPosition() : nullptr;
    const CGXRange* range = pos ? param->GetRangeList()->GetNext(pos) : nullptr;
    return range && range->IsCells() ? range->left : GX_INVALID;
}

} // namespace

KXEditResult CKXBottomPaneContainerView::SelectKeysOnly(CStringArray& keys) {
    if (keys.GetSize() == 0) return KXEditResult::Done();
    CKXGridWnd* active = GetActiveGrid();
    ROWCOL row = 0, col = 0;
    const bool hadCurrent = active && active->IsCellOfTheUser() && active->GetCurrentCell(row, col) && col > 0;
    // A key that selects no row of any shown grid names no pin: the word is refused whole, whatever the
    // selection was before, and leaves nothing selected (no half of its keys to act on).
    if (const std::optional<CString> unnamed = SelectRowsOfEveryKey(keys, ""))
        return KXEditResult::Refused(KXCause::kKeyNamesNoPin, *unnamed);
    // The first keyed row becomes current, the selection kept, in the column the user was in: the keys
    // that follow (Up, Delete, Ctrl+C, typing into the attach bar) act from there, as after a click. In a
    // grid the user has not been in, a pin grid's row is current in its Signal cell (where Delete takes
    // the keyed pins' connections off, as it does for them without a current cell); another kind's in
    // the column the keys selected.
    if (!active) return KXEditResult::Done();
    // Keys that name pins of a grid beside the active one only make that grid active, as a click on the
    // first of them does: every word that follows acts on the pins the keys chose, whichever grid it asks.
    if (PinGridOf(active) && !active->HasSelectedDataRow()) {
        const auto keyed = std::find_if(m_shownGrids.begin(), m_shownGrids.end(), [](CKXGridWnd* g) {
            return PinGridOf(g) && g->HasSelectedDataRow();
        });
        if (keyed != m_shownGrids.end()) {
            SetActiveGridIndex(static_cast<int>(keyed - m_shownGrids.begin()));
            active = *keyed;
        }
    }
    if (!hadCurrent) {
        col = PinGridOf(active) ? static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColSignal)
                                : FirstSelectedColumn(*active);
    }
    active->PlaceCurrentCellInSelection(GX_INVALID, col);
    // Pin grids side by side share their columns: each grid the keys selected rows of has its first
    // keyed row current in the same column, so that a paste, as typing and the attach bar, reaches the
    // keyed pins of every grid.
    if (PinGridOf(active))
        for (CKXGridWnd* g : m_shownGrids)
            if (g != active && PinGridOf(g) && g->HasSelectedDataRow())
                g->PlaceCurrentCellInSelection(GX_INVALID, col);
    return KXEditResult::Done();
}

std::optional<CString> CKXBottomPaneContainerView::SelectRowsOfEveryKey(CStringArray& keys,
                                                                        const CString& keyColumn) {
    for (CKXGridWnd* g : m_shownGrids)
        g->SelectAllRows();
    std::vector<bool> named(static_cast<std::size_t>(keys.GetSize()), false);
    for (CKXGridWnd* g : m_shownGrids)
        g->SelectRowsNamedByKeys(&keys, keyColumn, named);
    std::optional<CString> unnamed = kxpane::UnnamedKeysText(keys, named);
    if (unnamed)
        for (CKXGridWnd* g : m_shownGrids)
            g->SelectAllRows();
    return unnamed;
}

std::optional<CString> kxpane::UnnamedKeysText(const CStringArray& keys, const std::vector<bool>& named) {
    CStringArray unnamed;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (static_cast<std::size_t>(i) >= named.size() || !named[static_cast<std::size_t>(i)]) unnamed.Add(keys[i]);
    if (unnamed.GetSize() == 0) return std::nullopt;
    return CKXBottomPaneContainerView::KeysText(unnamed);
}

std::optional<CString> kxpane::SelectRowsOfEveryKeyIn(CKXGridWnd& grid, CStringArray& keys,
                                                      const CString& keyColumn) {
    std::vector<bool> named(static_cast<std::size_t>(keys.GetSize()), false);
    grid.SelectRowsNamedByKeys(&keys, keyColumn, named);
    std::optional<CString> unnamed = UnnamedKeysText(keys, named);
    if (unnamed) grid.SelectAllRows();
    return unnamed;
}

BOOL CKXBottomPaneContainerView::IsEditable() const {
    return GetViewMode() != eOpenModeContext;
}

// The lines the pin grids held for a paste over side-by-side grids, written together as the one undo step
// it is (joining the step of a transaction the paste took part in), or dropped when it was thrown away:
// a paste refused inside another edit's transaction leaves no line in that edit's step.
void CKXBottomPaneContainerView::WriteHeldJournalsAsOneStep(const std::vector<IKXPinGrid*>& pins, bool write) {
    CString lines;
    for (IKXPinGrid* pin : pins)
        lines += pin->TakeHeldJournal();
    if (write) KXWriteJournalOfOneStep(lines);
}

// The stored views are kept with the design's comments: a window that may not edit changes none.
bool CKXBottomPaneContainerView::MayEditStoredViews() const {
    if (IsEditable()) return true;
    KXRefuseReadOnlyWindow();
    return false;
}

BOOL CKXBottomPaneContainerView::BeginPaneTransaction(const char* name) {
    CKXGridWnd* grid = PaneGrid();
    CKXGridEdit::DiscardWaiting(); // an edit held open for another command does not take this one in
    if (!grid || CKXTransaction::IsTransactionStarted()) return FALSE;
    EmptyTransactionNetMap();
    m_nStepsAtPaneTransaction = m_undo.size();
    m_nCommandsAtPaneTransaction = m_undo.empty() ? 0 : m_undo.back().commands.size();
    m_redoAtPaneTransaction = std::move(m_redo); // a grid command of the edit clears it; a refusal restores it
    m_redo.clear();
    if (!CKXTransaction::BeginTrans(grid, PaneMasterDesign(), name)) return FALSE;
    // The edit is a step of its own: it joins none that an edit before left open.
    m_bStepOpen = FALSE;
    m_bNewStepNext = TRUE;
    return TRUE;
}

bool CKXBottomPaneContainerView::RecordedSincePaneTransaction() const {
    if (m_undo.size() != m_nStepsAtPaneTransaction) return true;
    return !m_undo.empty() && m_undo.back().commands.size() != m_nCommandsAtPaneTransaction;
}

BOOL CKXBottomPaneContainerView::EndPaneTransaction(BOOL commit) {
    CKXGridWnd* grid = PaneGrid();
    BOOL done = FALSE;
    if (commit) {
        m_bCommitting = TRUE;
        done = CKXTransaction::CommitTrans(grid, 1, 1);
        m_bCommitting = FALSE;
    } else {
        CKXTransaction::DiscardTrans(grid);
    }
    // Nothing of an edit that did not commit stays: the cells the grids changed for it show the design
    // again, and the steps they recorded go.
    if (!done) TakeBackStepsSince(m_nStepsAtPaneTransaction, m_nCommandsAtPaneTransaction);
    // The redo history goes only with an edit the history took: a refused one leaves it whole.
    m_bNewStepNext = FALSE;
    if (!done || !RecordedSincePaneTransaction()) m_redo = std::move(m_redoAtPaneTransaction);
    m_redoAtPaneTransaction.clear();
    if (commit && !done)
        for (IKXPinGrid* pins : ShownPinGrids()) pins->Grid().ShowDesignAfterRefusal();
    EmptyTransactionNetMap();
    return done;
}

// Connects the selected pins of every shown pin grid with the text, in one "Add Connections"
// transaction (joined when one is open). Pins shorted a signal per grid: the text names the first
// grid's, and each grid after one that connected takes a new one. Returns the number of grids that
// connected something.
int CKXBottomPaneContainerView::ConnectInShownGrids(const CString& text, int bEcho, CTclArgsList* echo,
                                                    ShortPins shortPins, IKXPinGrid* only) {
    // A read-only window never edits connections.
    if (!IsEditable()) {
        CKXErrorHandler::MessageBoxOk(kKXReadOnlyWindow);
        return 0;
    }
    const BOOL began = BeginPaneTransaction("Add Connections");
    int connected = 0;
    IKXPinGrid* last = nullptr;
    // Where the user selected pins in some grids, the others take nothing (and say nothing): the cell a
    // grid placed for itself when it was shown or activated is no choice of the user.
    const bool anyChosen = AnyPinChosen();
    const std::vector<IKXPinGrid*> grids = only ? std::vector<IKXPinGrid*>{only} : ShownPinGrids();
    // The connect is one edit: the grids' journal lines are written once all of it is in, and a grid
    // that refuses its part (it said why, or its dialog was cancelled) takes the others' parts with it.
    // A grid whose pins have the signal already takes nothing and refuses nothing.
    if (began)
        for (IKXPinGrid* grid : grids) grid->HoldJournal();
    bool refused = false;
    CString signal = text;
    bool taken = false; // the signal went to a grid's pins
    for (IKXPinGrid* grid : grids) {
        if (!only && anyChosen && !grid->Grid().HasSelectionOfTheUser()) continue;
        if (shortPins == ShortPins::SignalPerGrid && std::exchange(taken, false)) signal = NewSignalAutoName();
        // The signal list's counter had no name left: it said so.
        if (signal.IsEmpty()) break;
        CString gridText = signal;
        if (shortPins != ShortPins::No && grid->IsDiffPairRowSelected())
            gridText.Format("=SHORTPINS(%s)", signal.GetString());
        if (echo) grid->AddSelectedPinsToArgs(echo);
        const KXShownMark mark;
        if (!grid->ConnectSelectedPins(gridText, bEcho)) {
            refused = mark.SaidSince() || mark.DialogCancelledSince();
            if (began && refused) break;
            continue;
        }
        ++connected;
        taken = true;
        last = grid; // the focus goes to the last grid that connected pins, not past it
    }
    if (began && refused) connected = 0;
    // A commit the database refused leaves nothing connected.
    if (began && !EndPaneTransaction(connected > 0)) connected = 0;
    if (began) WriteHeldJournalsAsOneStep(grids, connected > 0);
    if (last && last->Grid().GetSafeHwnd()) last->Grid().SetFocus();
    return connected;
}

void CKXBottomPaneContainerView::SendEchoList(CTclArgsList& list) {
    // The word, its grid word and its text name no pin: nothing was connected to echo.
    if (list.GetTotalArgCount() <= 3) return;
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
}

// ------------------------------------------------------------------ the Attach Signal bar

KXEditResult CKXBottomPaneContainerView::ApplyRuleNow(const char* rule) {
    const int at = m_AttachSignalCombo.FindStringExact(-1, rule);
    if (at >= 0) m_AttachSignalCombo.SetCurSel(at);
    CTclArgsList echo;
    echo.Add(KXScriptWord::addConnection);
    echo.Add("pin");
    echo.Add(rule);
    return ConnectSelectedPins(rule, &echo);
}

// The rule menus answer as the word of the same rule does: 0 with the message when nothing was named.
void CKXBottomPaneContainerView::RunRuleCommand(const char* rule) {
    const KXShownMark mark;
    {
        // The function menu is the pane's own: the pane is active when it runs, as for its word and method.
        kxgrid::ScriptedActivation scripted;
        ActivateGrids();
    }
    KXMenuAnswer::Report(ApplyRuleNow(rule), mark);
}

void CKXBottomPaneContainerView::OnAutoName() {
    RunRuleCommand("=AUTONAME");
}

void CKXBottomPaneContainerView::OnSameAsPinName() {
    RunRuleCommand("=PINNAME");
}

void CKXBottomPaneContainerView::OnShortPins() {
    RunRuleCommand("=SHORTPINS");
}

void CKXBottomPaneContainerView::OnSignalFunctionButton() {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    const std::pair<UINT, const char*> items[] = {
        {35280, "Short Pins"},         {35255, "Auto Name"},         {35256, "Same As Pin Name"},
        {35275, "Prefix Pin Name"},    {35276, "Suffix Pin Name"},   {35277, "Prefix Pin Number"},
        {35278, "Suffix Pin Number"},  {35282, "Increment Signal Name"}};
    for (const auto& [id, text] : items)
        menu.AppendMenu(MF_STRING, id, text);
    // The menu drops from the button's lower-left corner.
    CRect button(0, 0, 0, 0);
    if (m_SignalFxButton.GetSafeHwnd()) m_SignalFxButton.GetWindowRect(&button);
    CWnd* main = AfxGetMainWnd();
    const UINT chosen =
        menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, button.left, button.bottom, main ? main : this);
    // The chosen rule answers as its own command; a menu closed without a choice did nothing.
    if (chosen)
        SendMessage(WM_COMMAND, chosen, 0);
    else
        KXMenuAnswer::Report(KXEditResult::Dialog());
}

BOOL CKXBottomPaneContainerView::ApplyAttachText(const CString& text) {
    if (text.IsEmpty()) return FALSE;
    CString upper = text;
    upper.MakeUpper();
    if (upper.Find("=SHORTPINS") >= 0) {
        const KXShownMark mark;
        const KXEditResult shorted = ApplyRuleNow("=SHORTPINS");
        if (!shorted.IsDone()) shorted.Answer(mark); // says why nothing was shorted
        return shorted.IsDone();
    }
    const bool rule = HoldsRuleWord(text);
    if (rule) {
        // A rule typed or chosen in the bar meets the refusals of the rule's menu and word.
        const KXShownMark mark;
        const KXEditResult refused = RuleConnectRefusal();
        if (!refused.IsDone()) {
            refused.Answer(mark);
            return FALSE;
        }
    }
    CTclArgsList echo;
    echo.Add(KXScriptWord::addConnection);
    echo.Add("pin");
    echo.Add(text);
    // Plain names are echoed by the grid itself, with the text each connect took.
    const int connected = ConnectInShownGrids(text, rule ? 0 : 1, rule ? &echo : nullptr, ShortPins::No);
    if (rule) SendEchoList(echo);
    return connected > 0;
}

// The combo's two hands: a row chosen from its list, a text typed and Enter. Each answers as the
// connect it made (a run that connected nothing says why).
void CKXBottomPaneContainerView::OnAttachSignal() {
    const int at = m_AttachSignalCombo.GetCurSel();
    if (at < 0) return;
    CString text;
    m_AttachSignalCombo.GetLBText(at, text);
    // The chosen entry's text is selected whole: the keys typed next take its place.
    m_AttachSignalCombo.SetEditSel(0, text.GetLength());
    ReportAttach(text);
}

void CKXBottomPaneContainerView::OnAttachSignalNotify(NMHDR*, LRESULT* result) {
    ReportAttach(GetAttachSignalText());
    if (result) *result = 0;
}

void CKXBottomPaneContainerView::ReportAttach(const CString& text) {
    if (text.IsEmpty()) return;
    const KXShownMark since;
    const BOOL connected = ApplyAttachText(text);
    // A dialog of the connect the user cancelled is the answer (2), not a refusal.
    if (!connected && since.DialogCancelledSince())
        KXMenuAnswer::Report(KXEditResult::Dialog(), since);
    else
        KXMenuAnswer::Report(KXEditResult::Of(connected, "KXTABLE-304", text), since);
}

BOOL CKXBottomPaneContainerView::AttachSignalByName(const CString& signal) {
    m_AttachSignalCombo.SetWindowText(signal);
    m_strAttachSignal = signal;
    // As Enter in the box applies it.
    return ApplyAttachText(GetAttachSignalText());
}

// ------------------------------------------------------------------ script words

KXEditResult CKXBottomPaneContainerView::OnTclAddConnection(CTclArgsList* args, long) {
    // A naming rule names the pins of a pin grid, whatever grid is active: it goes the rule's way.
    const bool rule = args && args->GetTotalArgCount() > 0 && args->beginArgs() != args->endArgs() &&
                      *args->beginArgs() && (*args->beginArgs())->GetArgCount() == 1 &&
                      IsNamingRuleText((*args->beginArgs())->GetValue(0));
    // A signal grid connects the pins its keys name to its own signal; a signal name meets the checks
    // every road to a connect by name meets.
    if (ActiveSignalGrid() && !rule && NamesPinsByKey(args)) return AddConnectionInSignalGrid(args);
    if (!args || args->GetTotalArgCount() == 0) return BadOperands();
    const bool pinGrid = ActivePinGrid() != nullptr || rule;
    CString signal;
    if (pinGrid) {
        const CTclArgs* first = args->GetArg(0);
        if (first && first->GetArgCount() == 1 && KXIsHelpArg(first->GetValue(0))) return Help();
        if (!first || first->GetArgCount() != 1) return BadOperands();
        signal = first->GetValue(0);
    }
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys, pinGrid ? 1 : 0); !read.IsDone()) return read;
    return ConnectSignalToKeys(keys, signal);
}

// What keeps a road from connecting the selected pins to a signal or by a rule, in the order the user
// meets it: a read-only window, a view or grid that takes no connection (a signal grid takes pins for
// its own signal, not a signal name), a window that takes only the connections typed into its cells.
// Done when nothing does. Every road passes here: the word, the methods, the rule menus and the bar.
KXEditResult CKXBottomPaneContainerView::ConnectCommandRefusal(bool rule, ConnectRoad road) const {
    if (const KXEditResult refused = ConnectPlaceRefusal(rule); !refused.IsDone()) return refused;
    if (GetViewMode() == eOpenModeNoSwitch && road != ConnectRoad::TypedCell)
        return KXEditResult::Refused("KXPANE-572");
    return KXEditResult::Done();
}

// The part of those refusals the place decides (the window, the view, the grid kind): it goes before
// the keys a word names, as for every keyed word; a window that takes only typed connections comes after.
KXEditResult CKXBottomPaneContainerView::ConnectPlaceRefusal(bool rule) const {
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow);
    if (GetViewMode() == eOpenModePhysical) return PhysicalViewConnectRefusal();
    if (!rule && ActiveSignalGrid()) return KXEditResult::Refused("KXPANE-575");
    if (!ActivePinGrid()) return NoGridOfKind();
    return KXEditResult::Done();
}

// Every road to a naming rule (the word, the method, the function menu, the bar) passes here: the
// refusals above, then a selection that holds no pin the user chose (the cell a grid places for itself
// when it is activated is no choice).
KXEditResult CKXBottomPaneContainerView::RuleConnectRefusal(ConnectRoad road) const {
    const KXEditResult refused = ConnectCommandRefusal(true, road);
    if (!refused.IsDone()) return refused;
    for (IKXPinGrid* pins : ShownPinGrids())
        if (pins->Grid().HasSelectionOfTheUser()) return KXEditResult::Done();
    return KXEditResult::Refused("KXPANE-574");
}

// Connects the keyed pins (the selected ones without keys) of the shown pin grids; a connect by a
// plain signal name answers 2. The word and the methods that connect a text come here.
KXEditResult CKXBottomPaneContainerView::ConnectSignalToKeys(CStringArray& keys, CString signal, ConnectRoad road) {
    const bool rule = IsNamingRuleText(signal);
    const KXEditResult refused =
        keys.GetSize() > 0 ? ConnectPlaceRefusal(rule) : ConnectCommandRefusal(rule, road);
    if (!refused.IsDone()) return refused;
    if (signal.IsEmpty()) return KXEditResult::Refused("KXPANE-573");
    // Keys that name no pin: nothing to connect.
    if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
    if (keys.GetSize() > 0 && !AnyPinSelected())
        return KXEditResult::Refused(KXCause::kKeyNamesNoPin, KeysText(keys));
    return ConnectSelectedPins(signal, nullptr, road);
}

KXEditResult CKXBottomPaneContainerView::PhysicalViewConnectRefusal() {
    return KXEditResult::Refused("KXPANE-571");
}

// The selected pins of the shown pin grids connected to the signal or named by the rule (=SHORTPINS: the
// signal list's next automatic name); the pins that took it are added to the echo, which is sent when
// any did. Pins that take nothing or have it already: the grids said why, or this does. An automation
// method works on the active pin grid, which echoes and journals the connect itself.
KXEditResult CKXBottomPaneContainerView::ConnectSelectedPins(CString signal, CTclArgsList* echo, ConnectRoad road,
                                                             ShortPins shortPins) {
    const KXEditResult refused =
        IsNamingRuleText(signal) ? RuleConnectRefusal(road) : ConnectCommandRefusal(false, road);
    if (!refused.IsDone()) return refused;
    if (signal.CompareNoCase("=SHORTPINS") == 0) {
        signal = NewSignalAutoName();
        // The signal list's counter had no name left: it said so.
        if (signal.IsEmpty()) return KXEditResult::Of(FALSE, "KXTABLE-281", "");
    } else {
        shortPins = ShortPins::No;
    }
    CString upper = signal;
    upper.MakeUpper();
    const bool plain = shortPins == ShortPins::No && !HoldsRuleWord(signal);
    if (!plain && upper.Find("=CONNECTBITS") >= 0) {
        signal = signal.Mid(12);
        signal.TrimLeft("(");
        signal.TrimRight(")");
    }
    const KXShownMark asked;
    const bool byMethod = road != ConnectRoad::Command;
    const int connectedGrids =
        ConnectInShownGrids(signal, byMethod ? 1 : 0, echo, shortPins, byMethod ? ActivePinGrid() : nullptr);
    const KXEditResult connected = KXEditResult::Of(connectedGrids > 0, "KXTABLE-304", signal);
    // A dialog of the connect was cancelled (the bit dialog of a width mismatch left without its bits, the
    // question before a pair net is replaced): nothing changed, and the command stopped at its dialog.
    if (!connected.IsDone() && asked.DialogCancelledSince()) return KXEditResult::Dialog();
    if (!connected.IsDone()) return connected;
    if (echo) SendEchoList(*echo);
    // A plain name answers 2 (the grid echoes it); after a dialog of the connect the user answered (the
    // bits to take, the pair net to replace), the work it asked for was done: 1, as a 2 would say that
    // the dialog was cancelled.
    return plain && !asked.DialogAnsweredSince() ? KXEditResult::Done(KXAnswerTwo::PlainSignalName) : connected;
}

bool CKXBottomPaneContainerView::AnyPinChosen() const {
    for (IKXPinGrid* grid : ShownPinGrids())
        if (grid->Grid().HasSelectionOfTheUser()) return true;
    return false;
}

bool CKXBottomPaneContainerView::AnyPinSelected() const {
    for (IKXPinGrid* grid : ShownPinGrids())
        if (grid->Grid().HasSelectedDataRow()) return true;
    return false;
}

KXEditResult CKXBottomPaneContainerView::OnTclDeleteConnection(CTclArgsList* args, long) {
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow);
    // The physical view edits pin numbers, swaps and models; its grids take no connection off.
    if (GetViewMode() == eOpenModePhysical) return KXEditResult::Refused("KXTABLE-397");
    // Without keys the word acts on the selection, checked as every road to Delete checks it.
    if (keys.GetSize() == 0)
        if (const KXEditResult refused = DeleteRefusal(); !refused.IsDone()) return refused;
    if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
    // A matrix's Termination or Pull Up/Down cell names what its pins or signal carry, not a connection.
    if (CKXMatrixGridWnd* matrix = keys.GetSize() == 0 ? ActiveMatrixGrid() : nullptr)
        if (const CString caption = matrix->CurrentAssocColumnCaption(); !caption.IsEmpty())
            return KXEditResult::Refused("KXTABLE-664", caption);
    // A signal grid's delete is an edit of its own ("Delete Rows"), as its Delete is: the journal's
    // Delete replays under the same name.
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid(); signal && m_shownGrids.size() == 1)
        return KXEditResult::Of(signal->DeleteConnections(), "KXTABLE-346");
    const bool anySelected = std::any_of(m_shownGrids.begin(), m_shownGrids.end(), [](CKXGridWnd* g) {
        return g->HasSelectedDataRow();
    });
    const bool keyed = keys.GetSize() > 0 && anySelected;
    // Pin grids without a selected or named pin: nothing to delete, and the user is told so.
    const bool noPin = !m_shownGrids.empty() && std::all_of(m_shownGrids.begin(), m_shownGrids.end(), [](CKXGridWnd* g) {
        return PinGridOf(g) && !g->HasSelectedDataRow();
    });
    if (noPin) {
        return KXEditResult::Refused("KXTABLE-272");
    }
    // Where the user chose or named pins in some grid, a grid with only the cell it placed for itself
    // takes nothing off.
    const bool anyChosen = std::any_of(m_shownGrids.begin(), m_shownGrids.end(), [](CKXGridWnd* g) {
        return g->HasSelectionOfTheUser();
    });
    const BOOL began = BeginPaneTransaction("Delete Connections");
    BOOL any = FALSE;
    for (CKXGridWnd* grid : m_shownGrids)
        if ((!anyChosen || grid->HasSelectionOfTheUser()) && grid->DeleteConnections()) any = TRUE;
    const BOOL done = began ? EndPaneTransaction(any) : any;
    if (any && !done) {
        // The design refused the commit: a matrix shows the design again (its cells were cleared).
        if (CKXMatrixGridWnd* matrix = ActiveMatrixGrid()) matrix->LoadMatrixView(CString(matrix->ViewName()));
    }
    // Rows selected or named with nothing to take off (an open pin, an implicit power pin without a tie of
    // its own) are no unknown keys and no missing selection.
    if (keyed || (keys.GetSize() == 0 && anySelected)) return KXEditResult::Of(done, "KXTABLE-346");
    return KXEditResult::Of(done, keys.GetSize() > 0 ? "KXPANE-247" : "KXTABLE-272", KeysText(keys));
}

KXEditResult CKXBottomPaneContainerView::OnTclRemoveDiffPairPin(CTclArgsList* args, long) {
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    const KXEditResult keyed = SelectKeysOnly(keys);
    bool can = GetViewMode() != eOpenModePhysical && GetViewMode() != eOpenModeContext && !ShownPinGrids().empty();
    if (can && keyed.IsRefusal()) return keyed;
    for (CKXGridWnd* g : m_shownGrids) {
        auto* pin = PinGridOf(g);
        if (!pin || !pin->CanRemoveDiffPair()) can = false;
    }
    if (!can) {
        return KXEditResult::Refused("KXPANE-196");
    }
    return KXEditResult::Of(RemoveDiffPairsTransaction(), "KXPANE-196");
}

// Every shown pin grid removes the pair pins of its selected rows, all in one undo step. Each
// grid draws once at the end rather than row by row; the focus goes to the last grid handled.
// FALSE when no grid removed anything or the design refused the commit (nothing changed then).
BOOL CKXBottomPaneContainerView::RemoveDiffPairsTransaction() {
    const BOOL began = BeginPaneTransaction("Remove Differential Pairs");
    BOOL any = FALSE;
    IKXPinGrid* last = nullptr;
    for (IKXPinGrid* grid : ShownPinGrids()) {
        kxgrid::LockUpdateScope lock(grid->Grid());
        if (grid->RemoveDiffPair()) any = TRUE;
        last = grid;
    }
    const BOOL done = began ? EndPaneTransaction(any) : any;
    if (last && last->Grid().GetSafeHwnd()) last->Grid().SetFocus();
    return done && any;
}

// ------------------------------------------------------------------ automation

// The method meets what the word meets: one sequence of checks, one transaction.
BOOL CKXBottomPaneContainerView::AutoAddConnection(LPCTSTR signal) {
    const KXShownMark mark;
    CStringArray selected;
    return ConnectSignalToKeys(selected, signal ? signal : "", ConnectRoad::Method).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoTypeSignal(LPCTSTR signal) {
    const KXShownMark mark;
    CStringArray selected;
    return ConnectSignalToKeys(selected, signal ? signal : "", ConnectRoad::TypedCell).AnswerBool(mark);
}

namespace {

// The answer "0" or "1" to the next connect's question, given to answer; refused for another text.
KXEditResult RetainAnswer(LPCTSTR keep, void (*answer)(bool)) {
    const CString text = keep ? keep : "";
    if (text != "0" && text != "1") return KXEditResult::Refused("KXPANE-482", text);
    answer(text == "1");
    return KXEditResult::Done();
}

} // namespace

BOOL CKXBottomPaneContainerView::AutoRetainPUPD(LPCTSTR keep) {
    const KXShownMark mark;
    return RetainAnswer(keep, &KXPinGridRetain::AnswerPupdRetainOnNextConnect).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoRetainTermination(LPCTSTR keep) {
    const KXShownMark mark;
    return RetainAnswer(keep, &KXPinGridRetain::AnswerTerminationRetainOnNextConnect).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoChooseVectorBits(LPCTSTR bits) {
    const KXShownMark mark;
    const CString text = bits ? bits : "";
    if (!CKXInstanceDetailsGridWnd::AnswerVectorBitsOnNextConnect(text))
        return KXEditResult::Refused("KXPANE-593", text).AnswerBool(mark);
    return KXEditResult::Done().AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoRenameConnection(LPCTSTR signal) {
    const KXShownMark mark;
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow).AnswerBool(mark);
    if (!signal || !*signal) return KXEditResult::Refused("KXPANE-573").AnswerBool(mark);
    CStringArray names;
    names.Add(signal);
    return KXEditResult::Of(grid->RenameSignal(&names, 0) == 1, "KXTABLE-304", signal).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoAttachSignal(LPCTSTR rule) {
    const KXShownMark mark;
    CString text = rule ? rule : "";
    // The rule as the bar's list shows it ("=AUTONAME") names it as well as the word alone.
    if (text.Left(1) == "=") text = text.Mid(1);
    if (const KXEditResult refused = ConnectCommandRefusal(true); !refused.IsDone()) return refused.AnswerBool(mark);
    CString upper = text;
    upper.MakeUpper();
    // Short Pins takes the shared signal's name in parentheses, or makes one.
    const bool shortPins = upper == "SHORTPINS" || upper.Left(10) == "SHORTPINS(";
    if (text.IsEmpty() || text.GetLength() > 98 ||
        (!shortPins && upper != "AUTONAME" && upper != "PINNAME" && upper.Find("PREFIXPINNAME") < 0 &&
         upper.Find("SUFFIXPINNAME") < 0 && upper.Find("PREFIXPINNUMBER") < 0 && upper.Find("SUFFIXPINNUMBER") < 0 &&
         upper.Find("INCREMENTSIGNAME") < 0))
        return KXEditResult::Refused("KXPANE-499", text).AnswerBool(mark);
    // The rule's argument keeps the case it was given in.
    CString ruleText = "=" + upper;
    const int open = text.Find('(');
    if (open >= 0) ruleText = ruleText.Left(open + 1) + text.Mid(open);
    // As the function menu applies it: one sequence of checks, one transaction over the shown grids; the
    // pins of each grid are shorted onto a new signal of their own.
    return ConnectSelectedPins(ruleText, nullptr, ConnectRoad::Command, ShortPins::SignalPerGrid).AnswerBool(mark);
}

KXEditResult CKXBottomPaneContainerView::OnTclSwapSignal(CTclArgsList* args, long) {
    if (GetViewMode() == eOpenModePhysical) {
        return KXEditResult::Refused("KXPANE-178");
    }
    CStringArray keys;
    if (const KXEditResult read = ReadKeys(args, keys); !read.IsDone()) return read;
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid || !IsEditable()) return KXEditResult::Refused(grid ? kKXReadOnlyWindow : "KXPANE-178");
    if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
    if (!grid->Grid().CanSwapSignals()) {
        return KXEditResult::Refused("KXTABLE-207");
    }
    return KXEditResult::Of(grid->SwapSelectedSignals(), "KXTABLE-207");
}

// renameConnection {instance pin number ?new-name?} ... ?-RC?: each listed pin takes its new name
// (three words: no name, the pin is disconnected).
KXEditResult CKXBottomPaneContainerView::OnTclRenameConnection(CTclArgsList* args, long) {
    if (GetViewMode() == 4 || !IsEditable()) {
        return KXEditResult::Refused(IsEditable() ? "KXPANE-178" : kKXReadOnlyWindow);
    }
    CStringArray keys, names;
    int flag = 0;
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it) {
            std::vector<CString> fields;
            if (const KXEditResult read = ReadKeyFields(*it, fields); !read.IsDone()) return read;
            CString key;
            int count = 0;
            for (size_t i = 0; i < fields.size(); ++i, ++count) {
                const CString value = fields[i];
                if (value.CompareNoCase("-RC") == 0) {
                    flag = 1;
                    break;
                }
                if (KXIsHelpArg(value)) return Help();
                if (count == 3) {
                    names.Add(value);
                    continue;
                }
                key += (key.IsEmpty() ? "" : ":") + value;
            }
            if (count == 3) names.Add("");
            if (!key.IsEmpty()) keys.Add(key);
        }
    std::vector<IKXPinGrid*> pins;
    for (CKXGridWnd* grid : m_shownGrids)
        if (IKXPinGrid* pin = PinGridOf(grid)) pins.push_back(pin);
    if (pins.empty()) return NoGridOfKind();
    // Without names the selected pins' names are asked for: the multiple-value edit's dialog answers 2.
    if (names.GetSize() == 0) {
        if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
        KXEditResult result = KXEditResult::Of(FALSE, "KXPANE-182");
        for (IKXPinGrid* pin : pins) {
            const int r = pin->RenameSignal(&names, flag);
            if (r == 2) result = KXEditResult::Dialog();
            else if (r == 1 && result.GetKind() != KXEditResult::Kind::Dialog) result = KXEditResult::Done();
        }
        return result;
    }
    // Each named pin goes to the grid that shows it; a key that names no shown pin refuses the whole
    // rename, before anything is renamed.
    const bool keyed = keys.GetSize() > 0 && keys.GetSize() == names.GetSize();
    std::vector<CStringArray> partKeys(pins.size()), partNames(pins.size());
    if (keyed) {
        for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
            CStringArray one;
            one.Add(keys[i]);
            const auto holder = std::find_if(pins.begin(), pins.end(), [&one](IKXPinGrid* pin) {
                return pin->SelectRowsByKeyCount(&one, "") > 0;
            });
            if (holder == pins.end()) return KXEditResult::Refused("KXPANE-247", KeysText(one));
            const auto at = static_cast<std::size_t>(holder - pins.begin());
            partKeys[at].Add(keys[i]);
            partNames[at].Add(names[i]);
        }
    } else {
        if (const KXEditResult unknown = SelectKeysOnly(keys); unknown.IsRefusal()) return unknown;
        for (std::size_t at = 0; at < pins.size(); ++at)
            if (pins[at]->Grid().HasSelectedDataRow()) partNames[at].Copy(names);
    }
    // One rename is one edit: the grids' parts commit together or not at all, and their journal lines
    // are the transaction's one step.
    const BOOL began = BeginPaneTransaction("Rename Signal");
    bool renamed = false, refused = false;
    for (std::size_t at = 0; at < pins.size() && !refused; ++at) {
        if (partNames[at].GetSize() == 0) continue;
        refused = pins[at]->RenameSignal(&partNames[at], flag, keyed ? &partKeys[at] : nullptr) != 1;
        renamed = true;
    }
    bool done = renamed && !refused;
    if (began && !EndPaneTransaction(done)) done = false;
    if (done) return KXEditResult::Done();
    // A grid that refused its part said why; a selection without a pin names none.
    return KXEditResult::Of(FALSE, keys.GetSize() > 0 ? "KXPANE-247" : "KXPANE-182", KeysText(keys));
}
