// The design window's message hub: registered messages of the host and the
// sibling libraries, the script-command router and the menu commands.
#include "shell/KXTableChildFrm.h"

#include "grid/KXEditResult.h"
#include "grid/KXScriptWords.h"

#include "pane/KXConnectivityPane.h"
#include "shell/KXFrameArgs.h"
#include "shell/KXShellIds.h"
#include "shell/KXListPaneCalls.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxsmall/RMXVariantManager.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace {
const char* Text(LPARAM p) {
    return reinterpret_cast<const char*>(p);
}
const char* TextW(WPARAM p) {
    return reinterpret_cast<const char*>(p);
}

// A flag text counts as TRUE exactly when it is "1".
BOOL FlagText(LPARAM p) {
    const char* t = Text(p);
    return t && CString(t) == "1";
}

// Splits by the separators of a "%s<sep>%s..." pattern, each part at most 64 characters.
std::vector<CString> SplitFields(const char* text, const char* separators) {
    std::vector<CString> parts;
    CString rest = text ? text : "";
    for (const char* s = separators; *s; ++s) {
        int at = rest.Find(*s);
        if (at < 0) {
            parts.push_back(rest.Left(64));
            rest.Empty();
            continue;
        }
        parts.push_back(rest.Left(at).Left(64));
        rest = rest.Mid(at + 1);
    }
    parts.push_back(rest.Left(64));
    return parts;
}
} // namespace

// ------------------------------------------------------------------ script commands

namespace {

// The window's words that change the design, its comments or the block filter kept beside it: a window
// that may not edit refuses them before they look at their operands.
bool IsEditingFrameWord(const char* word) {
    return std::strcmp(word, KXScriptWord::designComment) == 0 || std::strcmp(word, KXScriptWord::importInterface) == 0 ||
           std::strcmp(word, KXScriptWord::filterBlock) == 0;
}

} // namespace

BOOL CKXTableChildFrm::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message >= MSG_TCL_COMMAND_FIRST && message < 34210) {
        const char* word = CKXTclCmdManager::GetTCLCommandName(message);
        if (word && *word) {
            auto it = m_TclCommandMap.find(word);
            if (it != m_TclCommandMap.end()) {
                const KXShownMark mark;
                auto* args = reinterpret_cast<CTclArgsList*>(wParam);
                // "-help" is answered with the usage whatever else the arguments hold.
                const char* usage = UsageOfWord(word);
                const KXEditResult result = usage && KXAsksForHelp(args) ? KXEditResult::Help(usage)
                                            : IsEditingFrameWord(word) && OpenMode() == eOpenModeContext
                                                ? KXEditResult::Refused(kKXReadOnlyWindow)
                                                : (this->*(it->second))(args, lParam);
                const LRESULT r = result.Answer(mark);
                if (pResult) *pResult = r;
                return TRUE;
            }
        }
    }
    return CMDIChildWnd::OnWndMsg(message, wParam, lParam, pResult);
}

namespace {

// The menu commands that change the design or its comments, as ranges of ids.
constexpr std::pair<UINT, UINT> kEditingCommands[] = {
    {35096, 35096},                 // Modify Values
    {35255, 35256}, {35275, 35278}, // the naming rules
    {35264, 35264},                 // Delete
    {35280, 35282},                 // Short Pins, Paste Special, Increment Signal Name
    {35543, 35543}, {35545, 35552}, // Assign Model, the pin numbers
    {35555, 35557},                 // pin comments
    {35566, 35567},                 // Swap Pins, Remove Model
    {ID_KX_COMMENT_ADD, ID_KX_COMMENT_EDIT},
    {ID_KX_IMPORT_INTERFACE, ID_KX_IMPORT_INTERFACE},
    {35725, 35725}, {35747, 35747}, // Remove Diff Pair Pin, Swap Signals
    {57637, 57637}, {57639, 57639}, // Paste, Paste Special
};

bool IsEditingCommand(UINT id) {
    return std::any_of(std::begin(kEditingCommands), std::end(kEditingCommands),
                       [id](const std::pair<UINT, UINT>& r) { return id >= r.first && id <= r.second; });
}

} // namespace

BOOL CKXTableChildFrm::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // An edit run in a window that may not edit is refused before any handler looks at the selection.
    if (nCode == CN_COMMAND && !pHandlerInfo && IsEditingCommand(nID) && OpenMode() == eOpenModeContext) {
        KXRefuseReadOnlyWindow();
        return TRUE;
    }
    if (CMDIChildWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    IKXConnectivityPane* ccp = GetPane();
    CView* pane = ccp ? ccp->PaneView() : nullptr;
    // The pane's own handlers only: the document was asked already.
    return pane && pane != GetActiveView() && pane->CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// A menu command the host runs by its id: routed as the menu routes it; the answer says whether a
// handler refused or found nothing to do. A command no handler takes does nothing and answers 0.
LRESULT CKXTableChildFrm::OnRunMenuCommand(WPARAM wParam, LPARAM) {
    const KXMenuAnswer answer;
    if (!SendMessage(WM_COMMAND, wParam, 0)) KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-178"));
    return answer.Answer();
}

LRESULT CKXTableChildFrm::OnTclRouteCommand(WPARAM wParam, LPARAM lParam) {
    UINT msg = static_cast<UINT>(wParam);
    auto* list = reinterpret_cast<CTclArgsList*>(lParam);
    int selector = -1; // 0 connectivity, 1 signal, 2 component
    if (list) {
        CTclArgs* first = list->GetArg(0);
        if (first && first->GetArgCount() == 1) {
            CString w = first->GetValue(0);
            w.MakeLower();
            if (w == "pin")
                selector = 0;
            else if (w == "net")
                selector = 1;
            else if (w == "inst")
                selector = 2;
            if (selector >= 0) list->RemoveArgFromCurrentList();
        }
    }
    if (selector >= 0) {
        // A window that may not edit refuses a pane's edit before its grid word makes the pane active:
        // the refusal leaves the focus, the lists' selection and the grids' current cells as they were.
        const char* word = CKXTclCmdManager::GetTCLCommandName(msg);
        if (selector == 0 && OpenMode() == eOpenModeContext && KXConnectivityPaneEditingWord(word) &&
            !KXAsksForHelp(list))
            return KXConnectivityPaneReadOnlyRefusal(word);
        CWnd* pane = nullptr;
        if (m_bSplitterCreated) {
            if (selector == 0)
                pane = m_wndOuterSplitter.GetPane(0, 1);
            else if (selector == 1)
                pane = m_wndInnerSplitter.GetPane(1, 0);
            else
                pane = m_wndInnerSplitter.GetPane(0, 0);
        }
        if (!pane) return SendMessage(msg, reinterpret_cast<WPARAM>(list), 0);
        if (selector == 0)
            m_wndOuterSplitter.SetActivePane(0, 1);
        else if (selector == 1)
            m_wndInnerSplitter.SetActivePane(1, 0);
        else
            m_wndInnerSplitter.SetActivePane(0, 0);
        const KXShownMark mark;
        const LRESULT r = pane->SendMessage(msg, reinterpret_cast<WPARAM>(list), 0);
        // A word of the window itself, given an object word its pane does not know: the window shows
        // its usage ("ascend pin -help" is answered as "ascend -help"). A word of the connectivity pane
        // that another pane's object word sent there and that did nothing there shows the usage that
        // names its grid word.
        const char* usage = r == 0 && word ? UsageOfWord(word) : nullptr;
        if (!usage && r == 0 && selector != 0 && !mark.SaidSince()) usage = KXConnectivityPaneWordUsage(word);
        if (!usage) return r;
        return (KXAsksForHelp(list) ? KXEditResult::Help(usage) : KXEditResult::Refused(usage)).Answer(mark);
    }
    // A word of the connectivity pane names its grid word: without it the line does nothing, whichever pane
    // holds the keyboard, and shows the word's usage (a help request is answered with it).
    if (const char* word = CKXTclCmdManager::GetTCLCommandName(msg); KXConnectivityPaneWordUsage(word))
        return KXConnectivityPaneUsageAnswer(word, KXAsksForHelp(list));
    CWnd* target = nullptr;
    if (m_bSplitterCreated) {
        target = m_wndInnerSplitter.GetActivePane();
        if (!target) target = m_wndOuterSplitter.GetActivePane();
    }
    if (!target) return SendMessage(msg, reinterpret_cast<WPARAM>(list), 0);
    const LRESULT r = target->SendMessage(msg, reinterpret_cast<WPARAM>(list), 0);
    return r != 0 ? r : SendMessage(msg, reinterpret_cast<WPARAM>(list), 0);
}

KXEditResult CKXTableChildFrm::OnTclSelectWindow(CTclArgsList* args, LPARAM) {
    CTclArgs* first = args && args->GetTotalArgCount() > 0 ? args->GetArg(0) : nullptr;
    CString w;
    if (!first || !first->GetElement(0, w)) return KXEditResult::Refused("KXTABLE-169");
    if (KXIsHelpArg(w)) return KXEditResult::Help("KXTABLE-169");
    return ActivatePane(w) ? KXEditResult::Done() : KXEditResult::Refused("KXTABLE-169");
}

KXEditResult CKXTableChildFrm::OnTclSaveDesign(CTclArgsList* args, LPARAM) {
    if (args && args->GetTotalArgCount() >= 1) return UsageOf(args, "KXTABLE-170");
    CKXTableDoc* doc = GetTableDoc();
    if (!doc) return KXEditResult::Refused("KXPANE-178");
    // A save declined, cancelled or failed (the design could not be written) answers 0.
    return KXEditResult::Of(doc->SaveBlockCommand(), "KXTABLE-303");
}

KXEditResult CKXTableChildFrm::OnTclSaveDesignAs(CTclArgsList* args, LPARAM) {
    if (!args || args->GetTotalArgCount() >= 3) return UsageOf(args, "KXTABLE-174");
    CKXTableDoc* doc = GetTableDoc();
    if (!doc) return KXEditResult::Refused("KXPANE-178");
    if (args->GetTotalArgCount() == 0) {
        // A mode that does not save as a block opens no dialog: the word is refused, the mode named.
        if (!doc->SavesAsBlock()) return KXEditResult::Of(FALSE, "KXTABLE-384");
        // The dialog answered 2, cancelled or done; a block it named that could not be made, 0.
        const KXShownMark mark;
        if (doc->SaveDesignAs() || mark.DialogCancelledSince()) return KXEditResult::Dialog();
        return KXEditResult::Of(FALSE, "KXTABLE-301");
    }
    CString lib, block;
    CTclArgs* a0 = args->GetArg(0);
    CTclArgs* a1 = args->GetArg(1);
    if (!a0 || !a1 || !a0->GetElement(0, lib) || !a1->GetElement(0, block) || KXIsHelpArg(lib) ||
        KXIsHelpArg(block))
        return UsageOf(args, "KXTABLE-174");
    return KXEditResult::Of(doc->SaveBlockAs(lib, block), "KXTABLE-301", lib, block);
}

// 1 when a step was undone; 0 when there was nothing to undo (KXTABLE-385) or the step could not be
// undone (KXTABLE-221 tells why), and for arguments (the usage).
KXEditResult CKXTableChildFrm::OnTclUndo(CTclArgsList* args, LPARAM) {
    if (args && args->GetTotalArgCount() >= 1) return UsageOf(args, "KXTABLE-171");
    IKXConnectivityPane* ccp = GetPane();
    if (!ccp) return KXEditResult::Nothing("KXTABLE-385");
    return KXEditResult::Of(ccp->PerformUndo(), "KXTABLE-221");
}

KXEditResult CKXTableChildFrm::OnTclRedo(CTclArgsList* args, LPARAM) {
    if (args && args->GetTotalArgCount() >= 1) return UsageOf(args, "KXTABLE-172");
    IKXConnectivityPane* ccp = GetPane();
    if (!ccp) return KXEditResult::Nothing("KXTABLE-386");
    return KXEditResult::Of(ccp->PerformRedo(), "KXTABLE-215");
}

KXEditResult CKXTableChildFrm::OnTclCloseDesign(CTclArgsList* args, LPARAM) {
    if (!args || args->GetTotalArgCount() != 1) return UsageOf(args, "KXTABLE-195");
    CString w;
    args->GetArg(0)->GetElement(0, w);
    int save = KXCloseOption(w);
    if (save < 0) return UsageOf(args, "KXTABLE-195");
    CKXTableDoc* doc = GetTableDoc();
    // A document already closing hears its own close echo: it is closed once.
    if (doc && !doc->IsClosing()) {
        // Saving first: a save that does not happen (declined or failed) keeps the design open.
        if (doc->IsModified() && save == 1) {
            if (!doc->SaveCurrentDesign(doc->GetPathName(), FALSE)) return KXEditResult::Of(FALSE, "KXTABLE-303");
            doc->m_bSaveOnClose = 1;
        }
        if (!doc->CloseBlockCommand()) return KXEditResult::Of(FALSE, "KXTABLE-318");
    }
    return KXEditResult::Done();
}

// The usage of a word: answered for a help request (1), shown for operands it cannot read (0).
KXEditResult CKXTableChildFrm::UsageOf(const CTclArgsList* args, const char* usage) {
    if (args)
        for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
            if (const CTclArgs* arg = *it)
                for (int i = 0; i < arg->GetArgCount(); ++i)
                    if (KXIsHelpArg(arg->GetValue(i))) return KXEditResult::Help(usage);
    return KXEditResult::Refused(usage);
}

// ------------------------------------------------------------------ registered messages

// A setting the host announces answers 1 once the window's pane took it, 0 (saying so) without a pane to take it.
// A setting is an action of its own: the lines it journals are none of the edit committed before it.
void CKXTableChildFrm::BeginSetting() {
    KXEndStepOfJournalLines();
}

LRESULT CKXTableChildFrm::AnswerSetting(bool applied) {
    const KXShownMark mark;
    return (applied ? KXEditResult::Done() : KXEditResult::Refused("KXPANE-178")).Answer(mark);
}

LRESULT CKXTableChildFrm::OnSetupShowDPPins(WPARAM, LPARAM lParam) {
    BeginSetting();
    IKXConnectivityPane* ccp = GetPane();
    if (ccp) ccp->ApplyShowDiffPairPinsSetting(FlagText(lParam));
    return AnswerSetting(ccp != nullptr);
}

LRESULT CKXTableChildFrm::OnSetupShowDPSignals(WPARAM, LPARAM lParam) {
    BeginSetting();
    CKXSignalPaneContainerView* slp = GetSignalPane();
    if (slp) slp->ShowDPSignals(FlagText(lParam) ? "1" : "0");
    return AnswerSetting(slp != nullptr);
}

LRESULT CKXTableChildFrm::OnPreserveInstComment(WPARAM wParam, LPARAM lParam) {
    const KXShownMark mark;
    std::vector<CString> p = SplitFields(TextW(wParam), ":");
    // Both instance names are needed: a text that names one moves nothing.
    if (p[0].IsEmpty() || p[1].IsEmpty()) return KXEditResult::Refused("KXPANE-562", p[0], p[1]).Answer(mark);
    if (const KXEditResult refusal = CommentMoveRefusal(); refusal.IsRefusal()) return refusal.Answer(mark);
    CKXInstancePaneGrid* grid = InstanceGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-178").Answer(mark);
    // The comments go to a component's name (the host's rename gives it): a text that no component can
    // have would hold them where none shows them.
    if (!CSchemaUtilities::isValidName(p[1].GetString()))
        return KXEditResult::Refused("KXPANE-562", p[0], p[1]).Answer(mark);
    const BOOL moved = lParam == 1 ? grid->PreserveCommentsWithUndo(p[0], p[1]) : grid->PreserveComments(p[0], p[1]);
    return KXEditResult::Of(moved, "KXPANE-562", p[0], p[1]).Answer(mark);
}

LRESULT CKXTableChildFrm::OnPreservePinComment(WPARAM wParam, LPARAM lParam) {
    const KXShownMark mark;
    std::vector<CString> p = SplitFields(TextW(wParam), ",:,");
    const CString from = p[0] + "." + p[1];
    // Every one of the four keys must be named: a comment moved under an empty key would be lost.
    if (std::any_of(p.begin(), p.end(), [](const CString& key) { return key.IsEmpty(); }))
        return KXEditResult::Refused("KXPANE-481", from).Answer(mark);
    if (const KXEditResult refusal = CommentMoveRefusal(); refusal.IsRefusal()) return refusal.Answer(mark);
    IKXConnectivityPane* ccp = GetPane();
    if (!ccp) return KXEditResult::Refused("KXPANE-178").Answer(mark);
    return KXEditResult::Of(ccp->PreservePinComment(p[0], p[1], p[2], p[3], lParam), "KXPANE-481", from).Answer(mark);
}

// The host's rename notices move comments in a window of the logical view only: the physical view keeps none.
KXEditResult CKXTableChildFrm::CommentMoveRefusal() {
    if (!GetComponentPane() || OpenMode() < 0) return KXEditResult::Refused("KXPANE-178");
    if (OpenMode() == eOpenModePhysical) return KXEditResult::Refused("KXPANE-522", static_cast<int>(OpenMode()));
    return KXEditResult::Done();
}

// 1 when the component list took the keyboard, 0 when the window has none to give it.
LRESULT CKXTableChildFrm::OnSetFocusClp(WPARAM, LPARAM lParam) {
    if (!GetComponentPane() || OpenMode() < 0) return 0;
    if (OpenMode() == eOpenModePhysical) {
        CKXPhysPartGrid* g = PhysPartGrid();
        if (!g) return 0;
        g->SetFocus();
    } else {
        CKXInstancePaneGrid* g = InstanceGrid();
        if (!g) return 0;
        g->SetFocus();
        if (lParam) g->ActivateGridWnd();
    }
    return 1;
}

LRESULT CKXTableChildFrm::OnMarkAsCodesign(WPARAM wParam, LPARAM lParam) {
    CKXInstancePaneContainerView* clp = GetComponentPane();
    return clp && clp->MarkAsCodesign(wParam, lParam) ? 1 : 0;
}

LRESULT CKXTableChildFrm::OnHighlightPin(WPARAM wParam, LPARAM) {
    BringWindowToTop();
    IKXConnectivityPane* ccp = GetPane();
    if (!wParam || !ccp) return 0;
    const KXShownMark mark;
    const auto& pin = *reinterpret_cast<const CInstTermBitContext*>(wParam);
    return KXEditResult::Of(ccp->HighlightPin(pin), "KXPANE-247", pin.spath()).Answer(mark);
}

// 1 when the result's cell was made current in its grid, 0 when the grid shows no such cell.
LRESULT CKXTableChildFrm::OnSelectFindAllResult(WPARAM wParam, LPARAM lParam) {
    CWnd* grid = reinterpret_cast<CWnd*>(wParam);
    int row = LOWORD(lParam), col = HIWORD(lParam);
    if (grid && (grid == ComponentListGrid() || grid == SignalListGrid()))
        return KXHighlightRowCol(static_cast<CKXListPaneGrid*>(grid), row, col) ? 1 : 0;
    IKXConnectivityPane* ccp = GetPane();
    return ccp && ccp->SelectFindAllResult(grid, row, col) ? 1 : 0;
}

LRESULT CKXTableChildFrm::OnFromClipboardViewer(WPARAM wParam, LPARAM lParam) {
    const KXShownMark mark;
    return KXEditResult::Of(PasteViewerItem(wParam, lParam), "KXPANE-178").Answer(mark);
}

// The clipboard viewer's item pasted into the active view; FALSE when nothing was pasted.
BOOL CKXTableChildFrm::PasteViewerItem(WPARAM wParam, LPARAM lParam) {
    CView* active = GetActiveView();
    if (!wParam || !active) return FALSE;
    if (active == GetComponentPane()) {
        if (OpenMode() == eOpenModePhysical) {
            CKXPhysPartGrid* g = PhysPartGrid();
            return g && g->PasteInstance(wParam, lParam);
        }
        CKXInstancePaneGrid* g = InstanceGrid();
        return g && g->PasteInstance(wParam, lParam);
    }
    if (active == GetSignalPane()) {
        CKXSignalPaneGrid* g = OpenMode() != eOpenModePhysical ? GetSignalPane()->GetSignalGridWnd() : nullptr;
        return g && g->PasteSignal(wParam, lParam);
    }
    IKXConnectivityPane* ccp = GetPane();
    return ccp && active == ccp->PaneView() && ccp->PasteFromClipboardViewer(wParam, lParam);
}

LRESULT CKXTableChildFrm::OnAddPhysicalPart(WPARAM, LPARAM lParam) {
    if (!Text(lParam)) return 0;
    BOOL placed = FALSE;
    if (OpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* g = PhysPartGrid()) placed = KXAddPhysicalInstanceFromStr(g, Text(lParam));
    } else if (CKXInstancePaneGrid* g = InstanceGrid()) {
        placed = KXAddPhysicalInstanceFromStr(g, Text(lParam));
    }
    return placed ? 1 : 0;
}

LRESULT CKXTableChildFrm::OnAddLogicalPart(WPARAM, LPARAM lParam) {
    if (!Text(lParam)) return 0;
    BOOL placed = FALSE;
    if (OpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* g = PhysPartGrid()) placed = KXAddInstanceFromStr(g, Text(lParam));
    } else if (CKXInstancePaneGrid* g = InstanceGrid()) {
        placed = KXAddInstanceFromStr(g, Text(lParam));
    }
    return placed ? 1 : 0;
}

LRESULT CKXTableChildFrm::OnHighlightObject(WPARAM wParam, LPARAM) {
    auto* object = reinterpret_cast<CKXHiliteObject*>(wParam);
    if (!object) return 0;
    if (object->IsHilite()) BringWindowToTop();
    // 1 when a pane took the request, 0 when none of the panes it names is there.
    int type = object->ObjectType();
    CCommonInterface* pane = nullptr;
    if (type & 2) {
        pane = dynamic_cast<CCommonInterface*>(GetComponentPane());
    } else if (type & 4) {
        pane = dynamic_cast<CCommonInterface*>(GetSignalPane());
    } else if (type & 8) {
        if (IKXConnectivityPane* ccp = GetPane()) pane = ccp->PaneInterface();
    }
    if (!pane) return 0;
    pane->HighlightObject(object);
    return 1;
}

LRESULT CKXTableChildFrm::OnSelectObject(WPARAM wParam, LPARAM lParam) {
    BringWindowToTop();
    const char* name = TextW(wParam);
    if (!name) return 0;
    if (lParam == 0) {
        if (OpenMode() == eOpenModePhysical) {
            CKXPhysPartGrid* g = PhysPartGrid();
            if (g && KXGetReadyState(g) == 1) {
                g->SelectObject(name, 1);
                KXSelectionFollowUp(g);
            }
        } else {
            CKXInstancePaneGrid* g = InstanceGrid();
            if (g && KXGetReadyState(g) == 1) {
                g->SelectObject(name, 1);
                KXSelectionFollowUp(g);
            }
        }
    } else if (lParam == 1) {
        CKXSignalPaneContainerView* slp = GetSignalPane();
        if (!slp) return 0;
        if (OpenMode() == eOpenModePhysical) {
            CKXPhysNetGrid* g = slp->GetPhysNetGridWnd();
            if (g && KXGetReadyState(g) == 1) {
                g->SelectObject(name);
                KXSelectionFollowUp(g);
            }
        } else {
            CKXSignalPaneGrid* g = slp->GetSignalGridWnd();
            if (g && KXGetReadyState(g) == 1) {
                g->SelectObject(name, 1);
                KXSelectionFollowUp(g);
            }
        }
    }
    return 0;
}

LRESULT CKXTableChildFrm::OnDeleteInstance(WPARAM, LPARAM lParam) {
    const char* name = Text(lParam);
    if (!name) return 0;
    CKXComponentListGrid* g = OpenMode() == eOpenModePhysical ? static_cast<CKXComponentListGrid*>(PhysPartGrid())
                                              : static_cast<CKXComponentListGrid*>(InstanceGrid());
    if (!g) return 0;
    g->RemoveSelection();
    // A name no row has deletes nothing: the row current before must not stand in for it.
    if (!g->SelectObject(name, 1)) {
        CKXErrorHandler::MessageBoxOk("KXPANE-189", name);
        return 0;
    }
    // Only a deletion that happened marks the document modified. A physical row is a part: the name of
    // one of its sections deletes that section alone.
    if (!g->DeleteNamedInstance(name, OpenMode() == eOpenModePhysical ? 0 : 1)) return 0;
    SetDocumentModified(TRUE);
    return 1;
}

LRESULT CKXTableChildFrm::OnRenameInstance(WPARAM wParam, LPARAM lParam) {
    const char* second = Text(lParam);
    const char* first = TextW(wParam);
    if (!second || !first) return 0;
    if (OpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* g = PhysPartGrid()) {
            g->RemoveSelection();
            KXRenameTableInstance(g, first, second);
        }
    } else if (CKXInstancePaneGrid* g = InstanceGrid()) {
        g->RemoveSelection();
        KXRenameTableInstance(g, first, second);
    }
    return 0;
}

LRESULT CKXTableChildFrm::OnRemoveSelectionAll(WPARAM wParam, LPARAM) {
    BringWindowToTop();
    const KXShownMark mark;
    const bool cleared = wParam == 0 ? RemoveSignalSelection() : RemoveComponentSelection();
    return (cleared ? KXEditResult::Done() : KXEditResult::Refused("KXPANE-178")).Answer(mark);
}

// The host's "remove the selection" of the signal side (wParam 0) and of the component side: true when a
// grid of that side took it.
bool CKXTableChildFrm::RemoveSignalSelection() {
    CKXSignalPaneContainerView* slp = GetSignalPane();
    if (!slp) return false;
    if (OpenMode() == eOpenModePhysical) {
        CKXPhysNetGrid* g = slp->GetPhysNetGridWnd();
        if (g) g->RemoveSelection();
        return g != nullptr;
    }
    CKXSignalPaneGrid* g = slp->GetSignalGridWnd();
    if (g) g->RemoveSelection();
    return g != nullptr;
}

bool CKXTableChildFrm::RemoveComponentSelection() {
    if (OpenMode() == eOpenModePhysical) {
        CKXPhysPartGrid* g = PhysPartGrid();
        if (g) g->RemoveSelection();
        return g != nullptr;
    }
    CKXInstancePaneGrid* g = InstanceGrid();
    if (g) g->RemoveSelection();
    return g != nullptr;
}

LRESULT CKXTableChildFrm::OnAssignPower(WPARAM, LPARAM) {
    const KXShownMark mark;
    CKXInstancePaneContainerView* clp = GetComponentPane();
    if (!clp) return KXEditResult::Refused("KXPANE-178").Answer(mark);
    // A window that may not edit asks nothing: it says so once.
    if (OpenMode() == eOpenModeContext) return KXEditResult::Refused(kKXReadOnlyWindow).Answer(mark);
    const int answer = clp->OnPowerGroup();
    if (answer == 2) return 2; // the power group dialog was cancelled
    return KXEditResult::Of(answer == 1, "KXPANE-178").Answer(mark);
}

LRESULT CKXTableChildFrm::OnSetupShowRowNumbers(WPARAM, LPARAM lParam) {
    BeginSetting();
    IKXConnectivityPane* ccp = GetPane();
    if (ccp) ccp->ApplyShowRowNumbersSetting(Text(lParam) ? std::atoi(Text(lParam)) : 0, TRUE);
    return AnswerSetting(ccp != nullptr);
}

LRESULT CKXTableChildFrm::OnSetupAutoComplete(WPARAM, LPARAM lParam) {
    BeginSetting();
    IKXConnectivityPane* ccp = GetPane();
    if (ccp) ccp->ApplyAutoCompleteSetting(Text(lParam) ? std::atoi(Text(lParam)) : 0, TRUE);
    return AnswerSetting(ccp != nullptr);
}

LRESULT CKXTableChildFrm::OnSetupShowSignalCombo(WPARAM, LPARAM lParam) {
    BeginSetting();
    IKXConnectivityPane* ccp = GetPane();
    if (ccp) ccp->ApplyShowSignalComboSetting(Text(lParam) ? std::atoi(Text(lParam)) : 0, TRUE);
    return AnswerSetting(ccp != nullptr);
}

LRESULT CKXTableChildFrm::OnSetupMoveDirection(WPARAM, LPARAM lParam) {
    BeginSetting();
    IKXConnectivityPane* ccp = GetPane();
    if (ccp) ccp->ApplyMoveDirectionSetting(Text(lParam) ? Text(lParam) : "", TRUE);
    return AnswerSetting(ccp != nullptr);
}

// The component list's naming of copied components; the physical view's list copies none.
LRESULT CKXTableChildFrm::OnSetupNamingConventionOnCopy(WPARAM, LPARAM lParam) {
    BeginSetting();
    const bool logical = GetComponentPane() && OpenMode() >= 0 && OpenMode() != eOpenModePhysical;
    CKXInstancePaneGrid* g = logical ? InstanceGrid() : nullptr;
    if (g) KXSetNamingConventionOnCopy(g, Text(lParam) ? std::atoi(Text(lParam)) : 0);
    return AnswerSetting(g != nullptr);
}

LRESULT CKXTableChildFrm::OnAutoAssignModel(WPARAM, LPARAM) {
    if (OpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* g = PhysPartGrid()) KXAutoAssignModelToDiscretes(g);
    } else if (CKXInstancePaneGrid* g = InstanceGrid()) {
        KXAutoAssignModelToDiscretes(g);
    }
    return 0;
}

LRESULT CKXTableChildFrm::OnShowNetConn(WPARAM wParam, LPARAM lParam) {
    if (CKXSignalPaneContainerView* slp = GetSignalPane()) slp->ShowNetConnectivity(wParam, lParam);
    return 0;
}

// ------------------------------------------------------------------ menu commands

void CKXTableChildFrm::OnEchoAscend() {
    SendHostText(KXScriptWord::ascend);
}

void CKXTableChildFrm::OnUpdateAscend(CCmdUI* pCmdUI) {
    int mode = OpenMode();
    pCmdUI->Enable(mode == eOpenModeContext || mode == eOpenModeInParent || mode == eOpenModeInParentAlt);
}

// The design goes to the tools that listen for it; with none listening the request reached nobody.
void CKXTableChildFrm::OnCommand35534() {
    CKXTableDoc* doc = GetTableDoc();
    if (!doc || !doc->GetDesignContext().design()) return;
    IKXMessageServer* ms = GetKXMsgSrvr();
    // The receivers take the copy of the context for the time of the broadcast.
    CDesignContext copy = doc->GetDesignContext();
    if (!ms || ms->Broadcast(MSG_DESIGN_REQUEST, reinterpret_cast<WPARAM>(&copy), 0, 0) == 0)
        KXMenuAnswer::Report(KXEditResult::Refused("KXPANE-581"));
}

void CKXTableChildFrm::OnUpdateCommand35534(CCmdUI* pCmdUI) {
    int mode = OpenMode();
    if (mode != eOpenModeEditBlock && mode != eOpenModeInParent) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (GetTableDoc()->GetDesignContext().design()) pCmdUI->Enable(TRUE);
}

// The block creation is the host's, not installed here: the list refuses it, and the command answers so.
void CKXTableChildFrm::OnCreateBlock() {
    const KXShownMark mark;
    if (CKXInstancePaneContainerView* clp = GetComponentPane()) clp->LaunchCreateBlock();
    KXMenuAnswer::Report(KXEditResult::Of(FALSE, "KXPANE-456"), mark);
}

void CKXTableChildFrm::OnUpdateCreateBlock(CCmdUI* pCmdUI) {
    if (OpenMode() != eOpenModeEditBlock) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (GetTableDoc()->GetDesignContext().design()) pCmdUI->Enable(TRUE);
}

void CKXTableChildFrm::OnCreateMatrixView() {
    if (auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane())) clp->CreateMatrixView();
}

void CKXTableChildFrm::OnUpdateCreateMatrixView(CCmdUI* pCmdUI) {
    int mode = OpenMode();
    pCmdUI->Enable(mode >= 0 && mode != eOpenModePhysical);
}

void CKXTableChildFrm::OnSaveAsMatrixView() {
    if (auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane())) clp->SaveAsMatrixView();
}

void CKXTableChildFrm::OnRemoveMatrixView() {
    if (auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane())) clp->RemoveMatrixView(CString());
}

void CKXTableChildFrm::OnEditMatrixView() {
    if (auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane())) clp->EditMatrixView();
}

void CKXTableChildFrm::OnUpdateMatrixEdit(CCmdUI* pCmdUI) {
    if (OpenMode() == eOpenModePhysical) {
        pCmdUI->Enable(FALSE);
        return;
    }
    auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane());
    pCmdUI->Enable(clp && clp->IsInMatrixEditMode());
}

BOOL CKXTableChildFrm::OnOpenMatrixView(UINT nID) {
    if (auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane()))
        clp->OpenMatrixView(static_cast<int>(nID - ID_KX_MATRIX_OPEN_FIRST));
    return TRUE;
}
