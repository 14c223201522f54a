// The design window's commands on the whole design: view switching and the
// tab report, the block filter of the physical view, the design comment, and
// the export and import of a block's interface.
#include "shell/KXTableChildFrm.h"
#include "grid/KXScriptWords.h"

#include "pane/KXConnectivityPane.h"
#include "shell/KXFrameArgs.h"
#include "shell/KXShellIds.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxcommon/TclArgs.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxcontrols/KXDialogs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "kxsmall/CKXDlgFilterPhys.h"
#include "kxsmall/RMXVariantManager.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <utility>

namespace {
// How many windows the template has open.
size_t WindowCount(CDocTemplate* tmpl) {
    size_t n = 0;
    if (tmpl)
        for (POSITION pos = tmpl->GetFirstDocPosition(); pos; tmpl->GetNextDoc(pos))
            ++n;
    return n;
}

KXArgValues ValuesOf(const CTclArgsList* list) {
    KXArgValues values;
    if (!list) return values;
    for (auto it = list->beginArgs(); it != list->endArgs(); ++it) {
        std::vector<CString> v;
        if (CTclArgs* arg = *it)
            for (auto vi = arg->beginValues(); vi != arg->endValues(); ++vi)
                v.push_back(*vi);
        values.push_back(std::move(v));
    }
    return values;
}
} // namespace

namespace {

// Design comments are kept by the editable block's window (open mode 1) only; the message names the mode.
KXEditResult DesignCommentModeRefusal(const CKXTableDoc* doc) {
    return KXEditResult::Refused("KXTABLE-179", doc ? static_cast<int>(doc->GetOpenMode()) : 0);
}

} // namespace

// ------------------------------------------------------------------ view switching

void CKXTableChildFrm::OnSwitchView() {
    CString text = KXScriptWord::physicalView;
    WPARAM toLogical = 0;
    if (OpenMode() == eOpenModePhysical) {
        text = KXScriptWord::logicalView;
        toLogical = 1;
    }
    if (OpenMode() == eOpenModeContext) {
        // A read-only window leads to no window that edits its design.
        KXMenuAnswer::Report(KXEditResult::Refused(kKXReadOnlyWindow));
        return;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main) return;
    LRESULT r = main->SendMessage(MSG_HOST_ASK_SAVE, toLogical, 0);
    if (HIWORD(r) != 1) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // the save question was cancelled: no switch
        return;
    }
    text += LOWORD(r) ? " -save" : " -nosave";
    SendHostText(text);
}

void CKXTableChildFrm::OnUpdateSwitchView(CCmdUI* pCmdUI) {
    int mode = OpenMode();
    // A read-only window leads to no window that edits its design: the command refuses, so it is not offered.
    if (mode == eOpenModeNoSwitch || mode == eOpenModeContext) {
        pCmdUI->Enable(FALSE);
        return;
    }
    CDesignContext top;
    CKXInstancePaneContainerView* clp = GetComponentPane();
    const CDesignContext* shown = clp ? clp->GetPaneDesignContext() : nullptr;
    top = shown ? *shown : m_DesignContext;
    // Climb to the top of the hierarchy; a context that leads back to itself ends the climb.
    for (int guard = 0; guard < 1000; ++guard) {
        CInstanceContext parent = top.parent();
        if (!parent) break;
        CDesignContext up = parent.design();
        if (!up) break;
        top = up;
    }
    CString name = top.design() ? top.design()->cellName() : "";
    pCmdUI->SetText((mode == eOpenModePhysical ? "Logical View (" : "Physical View (") + name + ")");
    pCmdUI->Enable(TRUE);
}

KXEditResult CKXTableChildFrm::ViewSwitchCommand(CTclArgsList* args, bool toPhysical) {
    const char* usage = toPhysical ? "KXTABLE-166" : "KXTABLE-167";
    int flag = 1;
    if (args && args->GetTotalArgCount() >= 2) return UsageOf(args, usage);
    if (args && args->GetTotalArgCount() == 1) {
        CString w;
        args->GetArg(0)->GetElement(0, w);
        flag = KXIsHelpArg(w) ? -2 : KXViewOption(w);
        if (flag == -2) return UsageOf(args, usage);
    }
    // A switch stopped by the user (the save question before it cancelled) answers 2, as the menu's;
    // one that found no list answers 0.
    const KXShownMark mark;
    BOOL switched = FALSE;
    if (toPhysical) {
        if (CKXInstancePaneGrid* g = InstanceGrid()) switched = g->ViewPhysical(flag);
    } else if (CKXPhysPartGrid* g = PhysPartGrid()) {
        switched = g->ViewPhysical(flag);
    }
    if (!switched && mark.QuestionCancelledSince()) return KXEditResult::Dialog();
    return KXEditResult::Of(switched, "KXTABLE-305");
}

KXEditResult CKXTableChildFrm::OnTclPhysicalView(CTclArgsList* args, LPARAM) {
    if (OpenMode() == eOpenModePhysical) return KXEditResult::Nothing("KXTABLE-470");
    // The window that switches no views (its switch menu disabled) takes the word no more than the menu.
    if (OpenMode() == eOpenModeNoSwitch && !KXAsksForHelp(args)) return KXEditResult::Refused("KXTABLE-523");
    // The physical view edits the design: a read-only window does not open it.
    if (OpenMode() == eOpenModeContext && !KXAsksForHelp(args))
        return KXEditResult::Refused(kKXReadOnlyWindow);
    return ViewSwitchCommand(args, true);
}

KXEditResult CKXTableChildFrm::OnTclLogicalView(CTclArgsList* args, LPARAM) {
    if (OpenMode() != eOpenModePhysical) return KXEditResult::Nothing("KXTABLE-471");
    return ViewSwitchCommand(args, false);
}

namespace {
// The window that shows the design (as the host opens it by name, at the top) in the parent's context mode.
CMDIChildWnd* ParentContextFrame(CDocTemplate* docTemplate, const CDesignContext& parent) {
    IDesign* design = parent.design();
    auto* tmpl = dynamic_cast<CKXMultiDocTemplate*>(docTemplate);
    if (!design || !tmpl) return nullptr;
    CDocument* doc = tmpl->FindDocument(CDesignContext(design->server(), design), eOpenModeContext);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    return view ? dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()) : nullptr;
}
} // namespace

KXEditResult CKXTableChildFrm::OnTclAscend(CTclArgsList* args, LPARAM) {
    if (args && args->GetTotalArgCount() >= 1) return UsageOf(args, "KXTABLE-165");
    int mode = OpenMode();
    if (mode != eOpenModeContext && mode != eOpenModeInParent && mode != eOpenModeInParentAlt)
        return KXEditResult::Refused("KXTABLE-175");
    // A block opened on its own in such a mode has no parent to go to: nothing is opened.
    CInstanceContext parent = GetTableDoc()->GetDesignContext().parent();
    if (!parent) return KXEditResult::Refused("KXTABLE-175");
    CDesignContext parentDesign = parent.design();
    CString name = parentDesign.design() ? parentDesign.design()->name() : "";
    // One line for the user's ascend, before the parent's window reports itself: the host that
    // opens the parent journals no opening of its own.
    Journal("\n\n ' --- Ascend ---\n", "\ncall " + GetBlockHandle() + ".Ascend()");
    // The parent opens in its context once: a window showing it so already is made active again.
    if (CMDIChildWnd* shown = ParentContextFrame(GetTableDoc()->GetDocTemplate(), parentDesign)) {
        shown->MDIActivate();
        return KXEditResult::Done();
    }
    const BOOL wasJournalled = std::exchange(CKXShareGlobalData::m_bOpenJournalled, TRUE);
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_OPEN_DESIGN, 2, reinterpret_cast<LPARAM>(name.GetString()), 0);
    CKXShareGlobalData::m_bOpenJournalled = wasJournalled;
    return KXEditResult::Done();
}

void CKXTableChildFrm::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    CKXTableDoc* doc = GetTableDoc();
    if (!bActivate || !doc) return;
    if (IKXConnectivityPane* ccp = GetPane()) CKXTransaction::SetUndoSink(ccp->PaneInterface());
    CString suffix = KXTitleSuffix(doc->GetTitle());
    {
        CTclArgsList list;
        list.add(KXScriptWord::switchTab);
        list.add(GetBlockHandle().IsEmpty() ? doc->GetCellName()
                                            : CString(m_DesignContext.design()->cellName()));
        if (!suffix.IsEmpty()) list.add(suffix);
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
    }
    if (doc->GetOpenMode() == eOpenModePhysical) {
        if (CKXPhysPartGrid* g = PhysPartGrid()) {
            g->ActivateGridWnd();
            g->Showconnectivity(0);
        }
    } else if (CKXInstancePaneGrid* g = InstanceGrid()) {
        g->ActivateGridWnd();
        g->Showconnectivity(1, 0);
    }
    if (IKXMessageServer* ms = GetKXMsgSrvr()) ms->Broadcast(MSG_TAB_ACTIVATED, 1, 0, 0);
    if (m_DesignContext.design()) JournalTabSelection(GetBlockHandle());
}

void CKXTableChildFrm::JournalTabSelection(const CString& handle) const {
    CString tab;
    tab.Format("\ncall RMX.SelectTab(\"%d\")", GetTabNumber());
    Journal("\n\n  '--- Select Tab --- \n", tab);
    Journal("\n\n ' --- Get Handle Of Current Block ---\n", "\nset " + handle + " = RMX.GetActiveTab()");
    KXJournalTabSelected(this, handle);
}

// ------------------------------------------------------------------ save and reopen

void CKXTableChildFrm::OnCommand35624() {
    IDesign* design = m_DesignContext.design();
    if (!design) return;
    CString name;
    name.Format("%s.%s:%s", design->libName(), design->cellName(), design->viewName());
    if (CKXErrorHandler::MessageBoxYesNo("KXTABLE-143") != IDYES) {
        KXMenuAnswer::Report(KXEditResult::Dialog()); // answered No: nothing is saved or opened
        return;
    }
    IKXMessageServer* ms = GetKXMsgSrvr();
    if (ms) ms->Broadcast(MSG_DESIGN_UNDO_RESET, reinterpret_cast<WPARAM>(name.GetString()), 0, 0);
    CKXTableDoc* doc = GetTableDoc();
    if (doc) {
        // The save goes to the journal as one the replay makes without asking; the editable block's save
        // is a Save As, whose dialog journals the block it made.
        if (doc->OnSaveDocument(doc->GetPathName()) && doc->GetOpenMode() != eOpenModeEditBlock)
            doc->JournalSaveInPlace();
        m_DesignContext = doc->GetDesignContext();
    }
    CString path = m_DesignContext.spath();
    if (doc) {
        const EOpenMode mode = doc->GetOpenMode();
        CString open = (mode == eOpenModeEditBlock || mode == eOpenModePhysical) ? name : path;
        const size_t windows = WindowCount(doc->GetDocTemplate());
        if (ms)
            ms->Broadcast(MSG_OPEN_DESIGN, static_cast<WPARAM>(mode),
                          reinterpret_cast<LPARAM>(open.GetString()), 0);
        // The window makes way for the one opened again; when none opened it stays, or the user would
        // be left without a window on the design.
        if (WindowCount(doc->GetDocTemplate()) > windows) ShowWindow(SW_HIDE);
    }
}

void CKXTableChildFrm::OnUpdateCommand35624(CCmdUI* pCmdUI) {
    CKXTableDoc* doc = GetTableDoc();
    IDesign* design = doc ? doc->GetDesignContext().design() : nullptr;
    pCmdUI->Enable(design && CString(design->viewName()) == "vlog_structural");
}

void CKXTableChildFrm::OnUpdateOpenMatrixView(CCmdUI* pCmdUI) {
    if (OpenMode() == eOpenModePhysical) {
        pCmdUI->Enable(FALSE);
        return;
    }
    auto* clp = dynamic_cast<CCommonInterface*>(GetComponentPane());
    if (pCmdUI->m_pSubMenu) {
        if (clp) clp->FillMatrixViewMenu(pCmdUI->m_pSubMenu);
        return;
    }
    // An item opens the stored view of its place: there is none past the views the design stores.
    const int index = static_cast<int>(pCmdUI->m_nID - ID_KX_MATRIX_OPEN_FIRST);
    pCmdUI->Enable(clp && index < clp->GetMatrixViewCount());
}

// ------------------------------------------------------------------ block filter

void CKXTableChildFrm::OnUpdateFilterBlock(CCmdUI* pCmdUI) {
    pCmdUI->Enable(OpenMode() == eOpenModePhysical);
}

void CKXTableChildFrm::OnFilterBlock() {
    RunFilterDialog();
}

LRESULT CKXTableChildFrm::RunFilterDialog() {
    if (OpenMode() != eOpenModePhysical) return -1;
    CKXDlgFilterPhys dlg;
    CString dir;
    if (DesignDirectory(dir)) {
        CString path;
        path.Format("%s/physModule.dat", dir.GetString());
        dlg.SetConfFile(path);
        m_strFilterFile = path;
    }
    dlg.SetDesignContext(m_DesignContext);
    if (dlg.DoModal() != IDOK) return -1;
    CString excluded = dlg.GetExcSPathList();
    CString option, list;
    if (excluded.IsEmpty()) {
        option = "include";
        list = "[list all]";
    } else {
        option = "exclude";
        CString names;
        IServer* server = CKXShareGlobalData::m_pServer;
        auto nameAt = [&](const CString& spath) -> CString {
            ISchemaObject* obj = server ? server->findObject(m_DesignContext, spath) : nullptr;
            return obj ? CString(obj->name()) : CString();
        };
        int start = 0;
        for (;;) {
            int nl = excluded.Find('\n', start);
            if (nl < 0) break; // a last line without a line break is not taken
            CString line = excluded.Mid(start, nl - start);
            start = nl + 1;
            if (line.IsEmpty()) break;
            if (line.Find('@') != 0) continue; // not a hierarchical path: nothing to name
            CString block = KXBlockNamePath(line, nameAt);
            if (!names.IsEmpty()) names += ' ';
            names += KXTclListElement(block);
        }
        list.Format("[list %s]", names.GetString());
    }
    CString command;
    command.Format("%s -%s %s", KXScriptWord::filterBlock, option.GetString(), list.GetString());
    return SendHostText(command);
}

KXEditResult CKXTableChildFrm::CollectBlockPaths(const std::vector<CString>& names, std::vector<CString>& paths) {
    for (const CString& v : names) {
        if (v.CompareNoCase("all") == 0) {
            for (const CInstanceContext& inst : m_DesignContext.instances())
                if (inst.containedDesign()) paths.push_back(inst.spath());
            continue;
        }
        CDesignContext context = m_DesignContext;
        CString rest = v;
        for (;;) {
            int colon = rest.Find(':');
            CString name = colon < 0 ? rest : rest.Left(colon);
            CInstanceContext inst = name.IsEmpty() ? CInstanceContext() : context.instance(name);
            if (!inst) return KXEditResult::Refused("KXTABLE-423", v, name);
            CDesignContext inner = inst.containedDesign();
            if (!inner) return KXEditResult::Refused("KXTABLE-424", v, name);
            if (colon < 0) {
                paths.push_back(inst.spath());
                break;
            }
            context = inner;
            rest = rest.Mid(colon + 1);
        }
    }
    return KXEditResult::Done();
}

KXEditResult CKXTableChildFrm::OnTclFilterBlock(CTclArgsList* args, LPARAM) {
    if (!args) return UsageOf(args, "KXTABLE-173");
    // The block filter belongs to the physical view.
    if (OpenMode() != eOpenModePhysical) return KXEditResult::Refused("KXPANE-178");
    if (args->GetTotalArgCount() == 0) {
        // The dialog answers 2, cancelled or done; the command it sent refused (and said why), 0.
        if (RunFilterDialog() == 0) return KXEditResult::Of(FALSE, "KXTABLE-451");
        return KXEditResult::Dialog();
    }
    KXArgValues values = ValuesOf(args);
    CString option;
    bool first = true;
    std::vector<CString> names;
    for (const auto& arg : values) {
        for (const CString& v : arg) {
            if (KXIsHelpArg(v)) return KXEditResult::Help("KXTABLE-173");
            if (first)
                option = v;
            else
                names.push_back(v);
            first = false;
        }
    }
    const int exclude = KXFilterOption(option);
    if (exclude < 0) return KXEditResult::Refused("KXTABLE-173");
    return FilterBlocks(exclude == 1, names);
}

KXEditResult CKXTableChildFrm::FilterBlocks(bool exclude, const std::vector<CString>& names) {
    if (OpenMode() != eOpenModePhysical) return KXEditResult::Refused("KXPANE-178");
    CString dir;
    if (m_strFilterFile.IsEmpty() && DesignDirectory(dir))
        m_strFilterFile.Format("%s/physModule.dat", dir.GetString());
    std::vector<CString> paths;
    if (const KXEditResult named = CollectBlockPaths(names, paths); !named.IsDone()) return named;
    if (CString why; m_DesignContext.design() && !m_strFilterFile.IsEmpty() &&
                     !ReadExcludedSpathList(m_DesignContext, m_ExcludedList, m_strFilterFile, why)) {
        m_ExcludedList.RemoveAll();
        return KXEditResult::Refused(kUnreadableFilterFile, m_strFilterFile, why);
    }
    bool changed = false;
    for (const CString& p : paths) {
        POSITION at = m_ExcludedList.Find(p);
        if (exclude) {
            if (!at) m_ExcludedList.AddTail(p);
            changed = changed || !at;
        } else if (at) {
            m_ExcludedList.RemoveAt(at);
            changed = true;
        }
    }
    if (!changed) {
        // The filter takes those blocks so already: nothing is written or journalled.
        m_ExcludedList.RemoveAll();
        return KXEditResult::Nothing("KXTABLE-451");
    }
    CString text;
    for (POSITION pos = m_ExcludedList.GetHeadPosition(); pos;)
        text += m_ExcludedList.GetNext(pos) + "\n";
    m_ExcludedList.RemoveAll();
    // The filter lives in its file alone (no save writes it later): one that cannot be written is not
    // shown either, so that the view never shows a filter the next session will not have.
    CString why;
    if (!m_strFilterFile.IsEmpty() && !WriteExcludedSpathList(m_DesignContext, text, m_strFilterFile, why))
        return KXEditResult::Refused(kUnwritableFilterFile, m_strFilterFile, why);
    ApplyBlockFilter(text);
    // The names as given (resolved again by the replay, in the same design), one to a line.
    CString blocks;
    for (const CString& name : names)
        blocks += (blocks.IsEmpty() ? "" : "\n") + name;
    Journal("\n\n ' --- Filter Blocks ---\n", "\ncall " + GetBlockHandle() + ".FilterBlock(" +
                                                  KXVbsQuote(exclude ? "-exclude" : "-include") + "," +
                                                  KXVbsQuote(blocks) + ")");
    return KXEditResult::Done();
}

void CKXTableChildFrm::ApplyBlockFilter(const CString& text) {
    if (OpenMode() != eOpenModePhysical) return;
    if (CKXSignalPaneContainerView* slp = GetSignalPane()) slp->FilterPhys(text);
    if (CKXInstancePaneContainerView* clp = GetComponentPane()) clp->FilterPhys(text);
    // The physical grids shown now and later leave the excluded blocks' pins out too.
    if (IKXConnectivityPane* ccp = GetPane())
        if (CCommonInterface* details = ccp->PaneInterface()) details->StoreExcludedSpathList(text);
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_BLOCK_FILTER_CHANGED, text.IsEmpty() ? 0 : 1, 0, 0);
}

// ------------------------------------------------------------------ design comment

void CKXTableChildFrm::OnDesignCommentAdd() {
    SendHostText(CString(KXScriptWord::designComment) + " add");
}
void CKXTableChildFrm::OnDesignCommentDelete() {
    SendHostText(CString(KXScriptWord::designComment) + " delete");
}
void CKXTableChildFrm::OnDesignCommentEdit() {
    SendHostText(CString(KXScriptWord::designComment) + " edit");
}

namespace {
bool HasDesignComment(CComments* store) {
    CString text, date, time, user;
    return store && store->getDesignComments(text, date, time, user);
}

// A design comment given as white space alone is no comment: nothing is stored, and the refusal says so.
constexpr const char* kKXEmptyDesignComment = "KXTABLE-521";

// The comment dialog, shown with the current text: false when cancelled, else the entered text, trimmed.
bool AskDesignComment(const CString& current, CString& entered) {
    CKXCommentsDlg dlg;
    dlg.SetText(current);
    if (dlg.DoModal() != IDOK) return false;
    entered = dlg.GetText();
    entered.Trim();
    return true;
}
} // namespace

void CKXTableChildFrm::OnUpdateDesignCommentAdd(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pComments && OpenMode() == eOpenModeEditBlock && !HasDesignComment(m_pComments));
}

void CKXTableChildFrm::OnUpdateDesignCommentDelete(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pComments && OpenMode() == eOpenModeEditBlock && HasDesignComment(m_pComments));
}

void CKXTableChildFrm::OnUpdateDesignCommentEdit(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pComments && OpenMode() == eOpenModeEditBlock && HasDesignComment(m_pComments));
}

KXEditResult CKXTableChildFrm::OnTclDesignComment(CTclArgsList* args, LPARAM) {
    if (!args || args->GetTotalArgCount() == 0) return UsageOf(args, "KXTABLE-168");
    CString text;
    switch (KXParseDesignComment(ValuesOf(args), text)) {
    case EKXCommentOp::Add:
        return AddDesignComment(text);
    case EKXCommentOp::Edit:
        return EditDesignComment(text);
    case EKXCommentOp::Delete:
        return DeleteDesignComment();
    default:
        return UsageOf(args, "KXTABLE-168");
    }
}

KXEditResult CKXTableChildFrm::AddDesignComment(const CString& given) {
    CKXTableDoc* doc = GetTableDoc();
    if (!doc || doc->GetOpenMode() != eOpenModeEditBlock || !m_pComments) return DesignCommentModeRefusal(doc);
    if (HasDesignComment(m_pComments)) return KXEditResult::Refused("KXTABLE-178");
    if (given.IsEmpty()) {
        CString entered;
        if (!AskDesignComment("", entered)) return KXEditResult::Dialog();
        if (entered.IsEmpty()) return KXEditResult::Refused(kKXEmptyDesignComment);
        if (SendHostText(CString(KXScriptWord::designComment) + " add " + KXTclQuote(entered) + " ") == 0)
            return KXEditResult::Of(FALSE, "KXTABLE-178");
        return KXEditResult::Dialog();
    }
    CString text = given;
    text.Trim();
    if (text.IsEmpty()) return KXEditResult::Refused(kKXEmptyDesignComment);
    if (const KXEditResult taken = KXTakeCommentText(text); !taken.IsDone()) return taken;
    CString date, time;
    CKXWinAPI::GetDateTime(date, time);
    CString user = CKXWinAPI::GetUserNameA();
    m_pComments->addDesignComments(text, date, time, user);
    doc->SetModifiedFlag(TRUE);
    Journal("\n\n  '--- Insert Design Comment --- \n",
            "\ncall " + GetBlockHandle() + ".InsertComment(" + KXVbsQuote(text) + ")");
    return KXEditResult::Done();
}

KXEditResult CKXTableChildFrm::EditDesignComment(const CString& given) {
    CKXTableDoc* doc = GetTableDoc();
    if (!doc || doc->GetOpenMode() != eOpenModeEditBlock) return DesignCommentModeRefusal(doc);
    CString current, date, time, user;
    if (!m_pComments || !m_pComments->getDesignComments(current, date, time, user))
        return KXEditResult::Refused("KXTABLE-181");
    if (given.IsEmpty()) {
        CString entered;
        if (!AskDesignComment(current, entered)) return KXEditResult::Dialog();
        if (entered.IsEmpty()) return KXEditResult::Refused(kKXEmptyDesignComment);
        if (SendHostText(CString(KXScriptWord::designComment) + " edit " + KXTclQuote(entered) + " ") == 0)
            return KXEditResult::Of(FALSE, "KXTABLE-302");
        return KXEditResult::Dialog();
    }
    CString text = given;
    text.Trim();
    if (text.IsEmpty()) return KXEditResult::Refused(kKXEmptyDesignComment);
    if (const KXEditResult taken = KXTakeCommentText(text); !taken.IsDone()) return taken;
    if (text == current) return KXEditResult::Nothing("KXTABLE-302");
    CKXWinAPI::GetDateTime(date, time);
    user = CKXWinAPI::GetUserNameA();
    m_pComments->addDesignComments(text, date, time, user);
    doc->SetModifiedFlag(TRUE);
    Journal("\n\n  '--- Edit Design Comment --- \n",
            "\ncall " + GetBlockHandle() + ".EditComment(" + KXVbsQuote(text) + ")");
    return KXEditResult::Done();
}

KXEditResult CKXTableChildFrm::DeleteDesignComment() {
    CKXTableDoc* doc = GetTableDoc();
    if (!m_pComments || !doc || doc->GetOpenMode() != eOpenModeEditBlock) return DesignCommentModeRefusal(doc);
    if (!HasDesignComment(m_pComments)) return KXEditResult::Refused("KXTABLE-180");
    m_pComments->removeDesignComments();
    doc->SetModifiedFlag(TRUE);
    Journal("\n\n  '--- Delete Design Comment --- \n", "\ncall " + GetBlockHandle() + ".DeleteComment()");
    return KXEditResult::Done();
}

// ------------------------------------------------------------------ interface export and import

void CKXTableChildFrm::OnExportInterface() {
    if (CKXInstancePaneContainerView* clp = GetComponentPane()) clp->ExportInterface();
}

void CKXTableChildFrm::OnUpdateExportInterface(CCmdUI* pCmdUI) {
    CKXInstancePaneContainerView* clp = GetComponentPane();
    pCmdUI->Enable(clp && clp->CanExportInterface() && RMXVMGetSubToolID() != 0);
}

void CKXTableChildFrm::OnImportInterface() {
    if (CKXInstancePaneContainerView* clp = GetComponentPane()) clp->ImportInterface();
}

void CKXTableChildFrm::OnUpdateImportInterface(CCmdUI* pCmdUI) {
    CKXInstancePaneContainerView* clp = GetComponentPane();
    pCmdUI->Enable(clp && clp->CanImportInterface() && RMXVMGetSubToolID() != 0);
}

KXEditResult CKXTableChildFrm::OnTclExportInterface(CTclArgsList* args, LPARAM) {
    if (RMXVMGetSubToolID() == 0) return KXEditResult::Refused("KXPANE-227");
    CKXInstancePaneContainerView* clp = GetComponentPane();
    if (!clp || !clp->CanExportInterface()) return KXEditResult::Refused("KXPANE-228");
    if (!args) return UsageOf(args, "KXPANE-229");
    CKXInstancePaneGrid* grid = clp->GetInstancePaneGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-228");
    if (args->GetTotalArgCount() == 0) {
        // The dialog answers 2, cancelled or done; the command it sent refused (and said why), 0.
        if (!grid->ExportCodesignInterface(false, "", "", 0)) return KXEditResult::Of(FALSE, "KXPANE-274");
        return KXEditResult::Dialog();
    }
    SKXInterfaceArgs parsed;
    CString msg = KXParseExportArgs(ValuesOf(args), parsed);
    if (!msg.IsEmpty()) return InterfaceArgsRefused(args, msg);
    CString path;
    if (!parsed.inst.IsEmpty()) {
        bool shown = false;
        for (ROWCOL row = grid->GetFirstDataRow(); row <= grid->GetRowCount(); ++row) {
            if (grid->GetValueRowCol(row, CKXInstancePaneGrid::m_nInstanceCol) != parsed.inst) continue;
            shown = true;
            CInstanceContext inst = m_DesignContext.instance(parsed.inst);
            if (!inst) return KXEditResult::Refused("KXPANE-189");
            path = inst.spath();
        }
        // An instance that the list does not show is no instance to export.
        if (!shown) return KXEditResult::Refused("KXPANE-189");
    }
    return KXEditResult::Of(grid->ExportCodesignInterface(true, path, parsed.file, parsed.localAsInout), "KXPANE-228");
}

KXEditResult CKXTableChildFrm::OnTclImportInterface(CTclArgsList* args, LPARAM) {
    if (RMXVMGetSubToolID() == 0) return KXEditResult::Refused("KXPANE-227");
    CKXInstancePaneContainerView* clp = GetComponentPane();
    if (!clp || !clp->CanImportInterface() || !clp->GetInstancePaneGrid()) return KXEditResult::Refused("KXPANE-178");
    if (!args) return UsageOf(args, "KXPANE-230");
    CKXInstancePaneGrid* grid = clp->GetInstancePaneGrid();
    if (args->GetTotalArgCount() == 0) {
        if (!grid->ImportCodesignInterface(false, "", "")) return KXEditResult::Of(FALSE, "KXPANE-273");
        return KXEditResult::Dialog();
    }
    SKXInterfaceArgs parsed;
    CString msg = KXParseImportArgs(ValuesOf(args), parsed);
    if (!msg.IsEmpty()) return InterfaceArgsRefused(args, msg);
    return KXEditResult::Of(grid->ImportCodesignInterface(true, parsed.file, parsed.inst), "KXPANE-178");
}

// Operands the interface words cannot read: their message (a help request answers 1).
KXEditResult CKXTableChildFrm::InterfaceArgsRefused(const CTclArgsList* args, const CString& id) {
    return UsageOf(args, id);
}
