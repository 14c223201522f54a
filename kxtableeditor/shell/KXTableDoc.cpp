#include "shell/KXTableDoc.h"
#include "grid/KXScriptWords.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"

#include "shell/KXDesignChangeLog.h"

#include "grid/KXGridWnd.h"

#include "pane/KXConnectivityPane.h"
#include "shell/KXFrameArgs.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"

#include "afx/afxdispguard.h"
#include "afx/afxfile.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXDialogs.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXListPaneGuard.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "kxsmall/CKXCreateBlockDlg.h"
#include "rmx/schema.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

IMPLEMENT_DYNCREATE(CKXTableDoc, CKXDocument)

BEGIN_MESSAGE_MAP(CKXTableDoc, CKXDocument)
ON_COMMAND(ID_FILE_SAVE, &CKXTableDoc::OnFileSave)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CKXTableDoc::OnUpdateFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, &CKXTableDoc::OnFileSaveAs)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, &CKXTableDoc::OnUpdateFileSaveAs)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CKXTableDoc, CKXDocument)
DISP_FUNCTION(CKXTableDoc, "Clp", Clp, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "Slp", Slp, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "ConnectivityPane", ConnectivityPane, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "Undo", Undo, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "Redo", Redo, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "Descend", Descend, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "Ascend", Ascend, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "DeleteAlias", DeleteAlias, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "EditBlock", EditBlock, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "AddSignal", AddSignal, VT_BOOL, VTS_BSTR VTS_BSTR VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "ChangeBlkOption", ChangeBlkOption, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "Save", Save, VT_BOOL, VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "Close", Close, VT_BOOL, VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "AddComponent", AddComponent, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_VARIANT VTS_VARIANT VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "AddBlock", AddBlock, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_VARIANT VTS_VARIANT VTS_VARIANT
                  VTS_VARIANT VTS_VARIANT VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "ModifyComponent", ModifyComponent, VT_BOOL, VTS_VARIANT VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "AliasNets", AliasNets, VT_BOOL, VTS_BSTR VTS_BSTR VTS_VARIANT VTS_VARIANT)
DISP_FUNCTION(CKXTableDoc, "InsertComment", InsertComment, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "EditComment", EditComment, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "DeleteComment", DeleteComment, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "SaveBlockAs", SaveBlockAsAuto, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "DeleteRefDes", DeleteRefDes, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXTableDoc, "EditRefDes", EditRefDes, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "ImportInterface", ImportInterface, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "DeleteComponent", DeleteComponent, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXTableDoc, "FilterBlock", FilterBlock, VT_BOOL, VTS_BSTR VTS_BSTR)
END_DISPATCH_MAP()

namespace {

// The refusal of a signal added in the physical view (open mode 4), whose signal list shows physical nets.
constexpr const char* kLogicalEditInPhysicalView = "KXTABLE-436";

// The automation methods of a design window that edit the design or its comments (the pane's, the
// document's and the lists'), and whether the edit is of the logical design that only a logical view
// makes (the physical view deletes components too: a part's sections). Selections, views, reads and
// saves are no edits.
struct EditingMethod {
    const char* name;
    bool logicalOnly;
};
constexpr EditingMethod kEditingMethods[] = {
    // The connectivity pane.
    {"Delete", false}, {"Paste", false}, {"AddTermination", false}, {"SwapPins", false},
    {"AssignPinNumber", false}, {"AddConnection", false}, {"AddPUPD", false}, {"AssignConnectivity", false},
    {"AttachSignal", false}, {"AssignModel", false}, {"RemoveModel", false}, {"InsertComment", false},
    {"EditComment", false}, {"DeleteComment", false}, {"ChangeDelay", false}, {"DeletePUPD", false},
    {"ChangePropValue", false}, {"RemoveDiffPairPin", false}, {"RenameConnection", false},
    {"EditTermination", false}, {"MatrixConnect", false}, {"MatrixAddPupd", false}, {"MatrixDeletePupd", false},
    {"MatrixPasteAssoc", false}, {"MatrixAddTermination", false}, {"EditPUPD", false}, {"RetainPUPD", false},
    {"RetainTermination", false}, {"PastePUPD", false}, {"PreservePinComment", false}, {"TypeSignal", false},
    {"ChooseVectorBits", false},
    // The document (design comments share the pane's names above).
    {"DeleteAlias", false}, {"AddSignal", true}, {"ChangeBlkOption", false}, {"AddComponent", false},
    {"AddBlock", false}, {"ModifyComponent", false}, {"AliasNets", false}, {"DeleteRefDes", false},
    {"EditRefDes", false}, {"ImportInterface", false}, {"DeleteComponent", false}, {"FilterBlock", false},
    // The component list.
    {"MarkAsCodesign", false}, {"AssignPowerGroup", false}, {"PreserveComments", false},
};

const EditingMethod* EditingMethodNamed(LPCSTR name) {
    static const std::map<std::string, const EditingMethod*> byName = [] {
        std::map<std::string, const EditingMethod*> m;
        for (const EditingMethod& e : kEditingMethods)
            m.emplace(e.name, &e);
        return m;
    }();
    const auto it = byName.find(name ? name : "");
    return it == byName.end() ? nullptr : it->second;
}

CKXTableDoc* DesignWindowOf(CCmdTarget* target) {
    if (auto* doc = dynamic_cast<CKXTableDoc*>(target)) return doc;
    auto* view = dynamic_cast<CView*>(target);
    return view ? dynamic_cast<CKXTableDoc*>(view->GetDocument()) : nullptr;
}

// Every automation method of a design window passes here before it runs: an edit in a window that may
// not make it is refused whatever its operands, with the message that names the window's mode (said
// once in a call).
BOOL MayInvoke(CCmdTarget* target, LPCSTR method) {
    const EditingMethod* edit = EditingMethodNamed(method);
    CKXTableDoc* doc = edit ? DesignWindowOf(target) : nullptr;
    if (!doc) return TRUE;
    const KXShownMark mark;
    if (doc->GetOpenMode() == eOpenModeContext) return KXEditResult::Refused(kKXReadOnlyWindow).AnswerBool(mark);
    if (doc->GetOpenMode() == eOpenModePhysical && edit->logicalOnly)
        return KXEditResult::Refused(kLogicalEditInPhysicalView).AnswerBool(mark);
    return TRUE;
}

// Every design change of the component and signal lists passes here, whatever road asked for it.
BOOL MayListChange(CKXListPaneView& pane) {
    auto* doc = dynamic_cast<CKXTableDoc*>(pane.GetDocument());
    if (!doc || doc->GetOpenMode() != eOpenModeContext) return TRUE;
    const KXShownMark mark;
    return KXEditResult::Refused(kKXReadOnlyWindow).AnswerBool(mark);
}

} // namespace

CKXTableDoc::CKXTableDoc() {
    static const bool guarded = (AfxSetDispatchGuard(&MayInvoke), KXSetListChangeGuard(&MayListChange), true);
    (void)guarded;
    EnableAutomation();
    m_pKXDocInterface = static_cast<IKXDocument*>(this);
}

CKXTableDoc::~CKXTableDoc() {
    if (m_nCommitListener && m_pWatchedServer && m_pWatchedServer == CKXShareGlobalData::m_pServer)
        m_pWatchedServer->removeCommitListener(m_nCommitListener);
}

void CKXTableDoc::WatchDesignChanges() {
    IServer* server = CKXShareGlobalData::m_pServer;
    CKXDesignChangeLog::Watch(server);
    if (!server || m_nCommitListener) return;
    m_pWatchedServer = server;
    m_nCommitListener = server->addCommitListener([this](CTransaction* t) { OnDesignCommitted(t); });
}

void CKXTableDoc::OnDesignCommitted(CTransaction* transaction) {
    IDesign* mine = GetMasterDesignContext().design();
    if (!transaction || !mine || m_bClosing) return;
    bool touches = transaction->design() == mine;
    for (IChange* change : transaction->beginChange()) {
        if (touches) break;
        touches = change && change->design() == mine;
    }
    if (touches) SetModified(TRUE);
}

IDispatch* CKXTableDoc::GetDocumentInterface() {
    return GetIDispatch(TRUE);
}

void CKXTableDoc::Serialize(CArchive&) {}

BOOL CKXTableDoc::OnNewDocument() {
    return COleLinkingDoc::OnNewDocument();
}

// ------------------------------------------------------------------ helpers

CString CKXTableDoc::GetCellName() const {
    IDesign* design = GetMasterDesignContext().design();
    return design ? CString(design->cellName()) : CString();
}

CString CKXTableDoc::GetJournalHandle() const {
    CString handle = GetDesignName();
    if (GetOpenMode() == eOpenModePhysical) handle += "_phys";
    KXJournalHandleGiven(GetChildFrame(), handle);
    return handle;
}

void CKXTableDoc::StatusText(const CString& text) const {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(0x0362, 0, reinterpret_cast<LPARAM>(text.GetString()));
}

void CKXTableDoc::Journal(const CString& comment, const CString& line) const {
    // The window's own lines (a tab, a save, a close) are no lines of the edit made before them.
    KXEndStepOfJournalLines();
    KXJournalWrite(CKXShareGlobalData::m_bAutomation, comment, line);
}

CKXTableChildFrm* CKXTableDoc::GetChildFrame() const {
    auto* self = const_cast<CKXTableDoc*>(this);
    POSITION pos = self->GetFirstViewPosition();
    CView* view = pos ? self->GetNextView(pos) : nullptr;
    if (!view) return nullptr;
    CFrameWnd* frame = view->GetParentFrame();
    return frame && frame->IsKindOf(RUNTIME_CLASS(CKXTableChildFrm)) ? static_cast<CKXTableChildFrm*>(frame)
                                                                     : nullptr;
}

BOOL CKXTableDoc::IsDesignModified() const {
    return const_cast<CKXTableDoc*>(this)->IsModified();
}

void CKXTableDoc::SetModified(BOOL bModified) {
    m_bModified = bModified;
    SetModifiedFlag(bModified);
}

// ------------------------------------------------------------------ open

namespace {
// The number text that the comment store is made with: the design's version.
CString KXDesignNumberText(IDesign* design) {
    if constexpr (requires { design->numberText(); }) {
        const char* text = design->numberText();
        return text ? CString(text) : CString();
    } else {
        (void)design;
        return "1"; // every design of the database is at its first version
    }
}
} // namespace

namespace {
// The comment stores of the designs open in windows. The windows of one design share one store, as they
// share the design: a comment or matrix view saved by one window is in every later save of the others,
// and no window's save writes an older store over it.
using CommentStoreKey = std::pair<const IDesign*, std::string>; // the design and its name
std::map<CommentStoreKey, std::weak_ptr<CComments>>& OpenCommentStores() {
    static std::map<CommentStoreKey, std::weak_ptr<CComments>> stores;
    return stores;
}

CommentStoreKey KeyOf(IDesign* design) {
    return {design, design->name()};
}

} // namespace

std::shared_ptr<CComments> CKXTableDoc::SharedCommentStore(IDesign* design) {
    auto& stores = OpenCommentStores();
    std::erase_if(stores, [](const auto& entry) { return entry.second.expired(); });
    auto it = stores.find(KeyOf(design));
    return it == stores.end() ? nullptr : it->second.lock();
}

BOOL CKXTableDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!COleLinkingDoc::OnOpenDocument(lpszPathName)) return FALSE;
    WatchDesignChanges();
    const CDesignContext& master = GetMasterDesignContext();
    IKXMessageServer* ms = GetKXMsgSrvr();
    CString path = master.spath();
    if (ms && master.design())
        ms->Broadcast(MSG_DESIGN_OPENED, static_cast<WPARAM>(GetOpenMode()),
                      reinterpret_cast<LPARAM>(path.GetString()), 0);
    if (GetOpenMode() == eOpenModePhysical) return TRUE;
    IDesign* design = master.design();
    if (!design) return TRUE;
    CString cell = design->cellName();
    CString number = KXDesignNumberText(design);
    if (cell.IsEmpty() || number.IsEmpty()) return TRUE;
    m_pComments = SharedCommentStore(design);
    if (m_pComments) return TRUE; // another window shows the design: its store is this window's too
    m_pComments = std::make_shared<CComments>("TableEditor", cell, std::atof(number));
    if (!m_pComments->loadComments(lpszPathName ? lpszPathName : "")) {
        CString reason = m_pComments->GetLastError();
        m_pComments.reset();
        CKXErrorHandler::MessageBoxOk("KXTABLE-134", reason);
        return FALSE;
    }
    OpenCommentStores()[KeyOf(design)] = m_pComments;
    return TRUE;
}

// ------------------------------------------------------------------ close

void CKXTableDoc::OnCloseDocument() {
    CloseWindow(true);
}

BOOL CKXTableDoc::CloseBlockCommand() {
    return CloseWindow(false);
}

BOOL CKXTableDoc::CloseWindow(bool echo) {
    IDesign* master = GetMasterDesignContext().design();
    // A close that drops the window's edits replays as one that does not save.
    const bool dropped = m_bSaveOnClose != 1 && IsModified();
    // The last window of a design that closes unsaved leaves the design as it was saved; while another
    // window shows the design, this window's own edits are taken back and the other window's stay.
    IDesign* rollBack = master && !IsShownElsewhere(master) ? master : nullptr;
    // (When the application closes, every window goes and the last one leaves the design as saved.)
    const bool closingAll = CKXShareAppData::m_bIsAppClosing;
    // A window that leaves its edits to the other windows of the design takes none back: the host's
    // exit closes every window so, and a replay of such a close does the same.
    const bool kept = dropped && master && !rollBack && (closingAll || m_bKeepEditsOnClose);
    if (dropped && master && !rollBack && !kept) {
        // Steps of this window that a later step of another window built on are not taken back from
        // under it: the close is refused and the window stays with its history.
        if (OwnEditsUnderLaterEdits(master)) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-318");
            return FALSE;
        }
        if (!TakeBackOwnEdits()) return FALSE;
    }
    m_bClosing = TRUE;
    if (echo && !closingAll) {
        CTclArgsList list;
        list.add(KXScriptWord::closeDesign);
        list.add(m_bSaveOnClose == 1 ? "-save" : "-nosave");
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
    }
    AnnounceClose(master);
    JournalClose(closingAll, dropped, kept);
    CKXDocument::OnCloseDocument(); // destroys the frame and this document
    if (rollBack) CKXDesignChangeLog::RollBack(rollBack);
    return TRUE;
}

// The close's line says what became of the window's unsaved edits, so that a replay does the same:
// none (Close()), dropped (Close(False)), or left to the other windows of the design (Close("Keep")).
// The host's exit closes windows that are not active: the line that selects the window comes first.
void CKXTableDoc::JournalClose(bool closingAll, bool dropped, bool kept) const {
    if (closingAll)
        if (const CKXTableChildFrm* frame = GetChildFrame()) frame->JournalTabSelection(GetJournalHandle());
    const char* call = kept ? ".Close(\"Keep\")" : dropped ? ".Close(False)" : ".Close()";
    Journal("\n\n ' --- Close Current Block ---\n", "\ncall " + GetJournalHandle() + call);
}

void CKXTableDoc::AnnounceClose(IDesign* master) {
    IServer* server = CKXShareGlobalData::m_pServer;
    // The design is still known when the server finds it by its name.
    IDesign* found = server ? server->findDesign(GetDesignName()) : nullptr;
    if (!found && server && master) found = server->findDesign(master->name());
    IKXMessageServer* ms = GetKXMsgSrvr();
    if (!ms) return;
    ms->Broadcast(MSG_PROPERTY_EDITOR_SELECTION, 0, 0, 0);
    ms->Broadcast(MSG_ASSOC_COMP_VIEWER_SELECTION, 0, 0, 0);
    CString path = GetMasterDesignContext().spath();
    if (found)
        ms->Broadcast(MSG_DESIGN_CLOSED, static_cast<WPARAM>(GetOpenMode()), reinterpret_cast<LPARAM>(path.GetString()),
                      0);
}

BOOL CKXTableDoc::TakeBackOwnEdits() {
    CKXTableChildFrm* frame = GetChildFrame();
    IKXConnectivityPane* pane = frame ? frame->GetPane() : nullptr;
    if (!pane) return TRUE;
    // The steps done when the design was last saved stay: their changes are in its file, and taking them
    // back would leave the other windows a design without the work saved.
    int undone = 0;
    for (; pane->UnsavedUndoStepCount() > 0; ++undone)
        if (!pane->PerformUndo()) {
            // Another window changed since what a step changed: what was taken back is done again, so
            // that the window stays as it was, with every step of its history.
            while (undone-- > 0 && pane->PerformRedo()) {
            }
            CKXErrorHandler::MessageBoxOk("KXTABLE-318");
            return FALSE;
        }
    return TRUE;
}

namespace {
using Footprints = std::vector<IKXConnectivityPane::StepFootprint>;

} // namespace

bool CKXTableDoc::OwnEditsUnderLaterEdits(const IDesign* design) const {
    CKXTableChildFrm* frame = GetChildFrame();
    IKXConnectivityPane* pane = frame ? frame->GetPane() : nullptr;
    if (!pane) return false;
    // Only the steps a close takes back matter: those made since the design was saved.
    Footprints own = pane->UndoStepFootprints();
    std::erase_if(own, [](const IKXConnectivityPane::StepFootprint& f) { return f.saved; });
    return StepsUnderLaterEdits(design, own);
}

bool CKXTableDoc::NewestEditUnderLaterEdits() const {
    CKXTableChildFrm* frame = GetChildFrame();
    IKXConnectivityPane* pane = frame ? frame->GetPane() : nullptr;
    IDesign* design = GetMasterDesignContext().design();
    if (!pane || !design) return false;
    Footprints own = pane->UndoStepFootprints();
    if (own.size() > 1) own.erase(own.begin(), own.end() - 1);
    return StepsUnderLaterEdits(design, own);
}

bool CKXTableDoc::StepsUnderLaterEdits(const IDesign* design, const Footprints& own) const {
    CDocTemplate* tmpl = GetDocTemplate();
    if (own.empty() || !tmpl) return false;
    for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) {
        auto* doc = dynamic_cast<CKXTableDoc*>(tmpl->GetNextDoc(pos));
        if (!doc || doc == this || doc->GetMasterDesignContext().design() != design) continue;
        CKXTableChildFrm* otherFrame = doc->GetChildFrame();
        IKXConnectivityPane* other = otherFrame ? otherFrame->GetPane() : nullptr;
        if (!other) continue;
        for (const auto& later : other->UndoStepFootprints())
            for (const auto& mine : own)
                if (later.order > mine.order && CKXDesignChangeLog::Overlap(mine.touched, later.touched))
                    return true;
    }
    return false;
}

void CKXTableDoc::MarkDesignStepsSaved(const IDesign* design) const {
    CDocTemplate* tmpl = GetDocTemplate();
    for (POSITION pos = tmpl ? tmpl->GetFirstDocPosition() : nullptr; pos;) {
        auto* doc = dynamic_cast<CKXTableDoc*>(tmpl->GetNextDoc(pos));
        if (!doc || doc->GetMasterDesignContext().design() != design) continue;
        CKXTableChildFrm* frame = doc->GetChildFrame();
        if (IKXConnectivityPane* pane = frame ? frame->GetPane() : nullptr) pane->MarkStepsSaved();
    }
}

bool CKXTableDoc::IsShownElsewhere(const IDesign* design) const {
    CDocTemplate* tmpl = GetDocTemplate();
    if (!tmpl) return false;
    for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) {
        auto* doc = dynamic_cast<CKXDocument*>(tmpl->GetNextDoc(pos));
        if (doc && doc != this && doc->GetMasterDesignContext().design() == design) return true;
    }
    return false;
}

// ------------------------------------------------------------------ automation

namespace {
// A variant's text; an absent (omitted) variant gives an empty text.
bool IsAbsent(const VARIANT& v) {
    return AfxIsVariantMissing(&v) != FALSE;
}
// A variant given as False (or 0, "False").
bool IsFalse(const VARIANT& v) {
    if (IsAbsent(v)) return false;
    if (v.vt == VT_BOOL) return v.boolVal == 0;
    const CString text = AfxVariantToString(&v);
    return text == "0" || text.CompareNoCase("False") == 0;
}
// A close given "Keep": the window's edits stay in the design for the other windows that show it.
bool IsKeep(const VARIANT& v) {
    return !IsAbsent(v) && v.vt != VT_BOOL && AfxVariantToString(&v).CompareNoCase("Keep") == 0;
}
CString VariantText(const VARIANT& v) {
    if (IsAbsent(v)) return CString();
    return AfxVariantToString(&v);
}
} // namespace

int CKXTableDoc::BlkOptionKind(const CString& keyword) {
    if (keyword == "SUFFIX") return 0;
    if (keyword == "PREFIX") return 1;
    if (keyword == "RANGE") return 2;
    if (keyword == "OPTIMIZED") return 3;
    return -1;
}

LPDISPATCH CKXTableDoc::Clp() {
    CKXTableChildFrm* frame = GetChildFrame();
    CKXInstancePaneContainerView* pane = frame ? frame->GetComponentPane() : nullptr;
    return pane ? pane->GetIDispatch(TRUE) : nullptr;
}

LPDISPATCH CKXTableDoc::Slp() {
    CKXTableChildFrm* frame = GetChildFrame();
    CKXSignalPaneContainerView* pane = frame ? frame->GetSignalPane() : nullptr;
    return pane ? pane->GetIDispatch(TRUE) : nullptr;
}

LPDISPATCH CKXTableDoc::ConnectivityPane() {
    CKXTableChildFrm* frame = GetChildFrame();
    IKXConnectivityPane* pane = frame ? frame->GetPane() : nullptr;
    if (!pane) return nullptr;
    // A read-only window's pane is not made active by being reached: its edits are refused there, and a
    // refusal leaves the focus and the current cells as they were.
    if (GetOpenMode() != eOpenModeContext) {
        // The journal's calls select cells themselves: the mouse pointer chooses none.
        kxgrid::ScriptedActivation scripted;
        pane->PaneInterface()->ActivateGrids();
    }
    return pane->PaneView()->GetIDispatch(TRUE);
}

namespace {

// A word of the window (undo, redo, saveDesign) as its menu asks the host for it: the word's answer
// (it says why it refused).
BOOL RunHostWord(CKXTableChildFrm* frame, const char* word) {
    const KXShownMark mark;
    CWnd* main = AfxGetMainWnd();
    if (!frame || !main) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    const LRESULT answer = main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(word), 0);
    return KXEditResult::Of(answer == 1, "KXPANE-178").AnswerBool(mark);
}

// A list pane's own answer: done, or refused (with its message, or the fallback when it said none).
BOOL ListAnswer(const KXShownMark& mark, bool reached, BOOL done) {
    if (!reached) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    return KXEditResult::Of(done, "KXPANE-178").AnswerBool(mark);
}

CKXInstancePaneContainerView* ActiveInstancePane(CKXTableChildFrm* frame) {
    CKXInstancePaneContainerView* pane = frame ? frame->GetComponentPane() : nullptr;
    if (pane)
        if (auto* itf = dynamic_cast<CCommonInterface*>(pane)) itf->ActivateGrids();
    return pane;
}

} // namespace

BOOL CKXTableDoc::Undo() {
    return RunHostWord(GetChildFrame(), KXScriptWord::undo);
}

BOOL CKXTableDoc::Redo() {
    return RunHostWord(GetChildFrame(), KXScriptWord::redo);
}

BOOL CKXTableDoc::Descend() {
    const KXShownMark mark;
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->Descend());
}

BOOL CKXTableDoc::FilterBlock(LPCTSTR option, LPCTSTR blocks) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    if (!frame) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    const int exclude = KXFilterOption(option ? option : "");
    if (exclude < 0) return KXEditResult::Refused("KXTABLE-173").AnswerBool(mark);
    std::vector<CString> names;
    const CString text = blocks ? blocks : "";
    for (int start = 0; start < text.GetLength();) {
        int end = text.Find('\n', start);
        if (end < 0) end = text.GetLength();
        if (end > start) names.push_back(text.Mid(start, end - start));
        start = end + 1;
    }
    return frame->FilterBlocks(exclude == 1, names).AnswerBool(mark);
}

BOOL CKXTableDoc::Ascend() {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    if (!frame) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    return frame->OnTclAscend(nullptr, 0).AnswerBool(mark);
}

BOOL CKXTableDoc::DeleteAlias(LPCTSTR first, LPCTSTR second) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    CKXSignalPaneContainerView* pane = frame ? frame->GetSignalPane() : nullptr;
    const bool named = first && second && *first && *second;
    if (!pane) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    if (!named) return KXEditResult::Refused("KXPANE-500").AnswerBool(mark);
    return KXEditResult::Of(pane->DeleteAlias(first, second), "KXPANE-595", first, second).AnswerBool(mark);
}

BOOL CKXTableDoc::EditBlock() {
    const KXShownMark mark;
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->EditBlock());
}

BOOL CKXTableDoc::AddSignal(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, const VARIANT& a4) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    CKXSignalPaneContainerView* pane = frame ? frame->GetSignalPane() : nullptr;
    if (!pane) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    const CString name = a1 ? a1 : "";
    return KXEditResult::Of(pane->AddSignal(name, a2 ? a2 : "", a3 ? a3 : "", VariantText(a4)) != 0, "KXPANE-565", name)
        .AnswerBool(mark);
}

BOOL CKXTableDoc::ChangeBlkOption(LPCTSTR option, LPCTSTR value, LPCTSTR third, const VARIANT& a4,
                                  const VARIANT& a5, const VARIANT& a6, const VARIANT& a7) {
    CKXTableChildFrm* frame = GetChildFrame();
    if (!frame) return FALSE;
    const VARIANT* vars[] = {&a4, &a5, &a6, &a7};
    CString t[4];
    bool absent = false;
    for (int i = 0; i < 4; ++i) {
        absent = absent || IsAbsent(*vars[i]);
        if (!absent) t[i] = VariantText(*vars[i]);
    }
    CString v = value ? value : "";
    const CString keyword = option ? option : "";
    int kind = BlkOptionKind(keyword);
    const KXShownMark mark;
    if (kind < 0) return KXEditResult::Refused("KXPANE-493", keyword).AnswerBool(mark);
    if (kind != 3 && v.IsEmpty()) return KXEditResult::Refused("KXPANE-494", keyword).AnswerBool(mark);
    CKXInstancePaneContainerView* pane = ActiveInstancePane(frame);
    if (!pane) return FALSE;
    return pane->EditBlkPackagingOptions(kind, v, third ? third : "", t[0], t[1], t[2], t[3]) != 0;
}

BOOL CKXTableDoc::Save(const VARIANT& how) {
    if (IsAbsent(how)) return RunHostWord(GetChildFrame(), KXScriptWord::saveDesign);
    const KXShownMark mark;
    if (!GetChildFrame() || AfxVariantToString(&how).CompareNoCase("InPlace") != 0)
        return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    return SaveInPlace();
}

BOOL CKXTableDoc::Close(const VARIANT& save) {
    const KXShownMark mark;
    if (!GetChildFrame()) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    if (IsFalse(save) || IsKeep(save)) {
        m_bSaveOnClose = 0;
        m_bKeepEditsOnClose = IsKeep(save);
        OnCloseDocument();
        return TRUE;
    }
    // A cancel of the save question stops the close: what the user kept open stays open.
    if (!SaveModified()) return KXEditResult::Of(FALSE, "KXTABLE-303").AnswerBool(mark);
    OnCloseDocument();
    return TRUE;
}

BOOL CKXTableDoc::AddComponent(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, LPCTSTR a4, const VARIANT& a5,
                               const VARIANT& a6, const VARIANT& a7) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    int seventh = IsAbsent(a7) ? 1 : std::atoi(VariantText(a7));
    CKXInstancePaneContainerView* pane = ActiveInstancePane(frame);
    if (!pane) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    const CString name = a1 ? a1 : "";
    return KXEditResult::Of(pane->AddComponent(name, a2 ? a2 : "", a3 ? a3 : "", a4 ? a4 : "", VariantText(a5),
                                               VariantText(a6), seventh) != 0,
                            "KXPANE-565", name)
        .AnswerBool(mark);
}

BOOL CKXTableDoc::AddBlock(LPCTSTR a1, LPCTSTR a2, LPCTSTR a3, LPCTSTR a4, LPCTSTR a5, LPCTSTR a6,
                           const VARIANT& a7, const VARIANT& a8, const VARIANT& a9, const VARIANT& a10,
                           const VARIANT& a11, const VARIANT& a12) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    if (!frame) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    const VARIANT* vars[] = {&a7, &a8, &a9, &a10, &a11, &a12};
    CString t[6];
    bool absentFrom[6];
    bool absent = false;
    for (int i = 0; i < 6; ++i) {
        absent = absent || IsAbsent(*vars[i]);
        absentFrom[i] = absent;
        if (!absent) t[i] = VariantText(*vars[i]);
    }
    int i11 = absentFrom[4] ? 1 : std::atoi(t[4]);
    int i12 = absentFrom[5] ? 1 : std::atoi(t[5]);
    BOOL flag = t[0].CompareNoCase("TRUE") == 0;
    CString s1 = a1 ? a1 : "", s2 = a2 ? a2 : "", s3 = a3 ? a3 : "", s5 = a5 ? a5 : "";
    if (s1.IsEmpty() || s2.IsEmpty() || s3.IsEmpty()) return KXEditResult::Refused("KXPANE-566").AnswerBool(mark);
    const CString keyword = a4 ? a4 : "";
    int kind = BlkOptionKind(keyword);
    // The option words as ChangeBlkOption takes them.
    if (kind < 0) return KXEditResult::Refused("KXPANE-493", keyword).AnswerBool(mark);
    if (kind != 3 && s5.IsEmpty()) return KXEditResult::Refused("KXPANE-494", keyword).AnswerBool(mark);
    CKXInstancePaneContainerView* pane = ActiveInstancePane(frame);
    if (!pane) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    return KXEditResult::Of(pane->AddBlock(s1, s2, s3, kind, s5, a6 ? a6 : "", flag, t[1], t[2], t[3], i11, i12) != 0,
                            "KXPANE-565", s1)
        .AnswerBool(mark);
}

BOOL CKXTableDoc::ModifyComponent(const VARIANT& a1, const VARIANT& a2) {
    const KXShownMark mark;
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->Modify(VariantText(a1), VariantText(a2)));
}

BOOL CKXTableDoc::AliasNets(LPCTSTR a1, LPCTSTR a2, const VARIANT& a3, const VARIANT& a4) {
    const KXShownMark mark;
    CKXTableChildFrm* frame = GetChildFrame();
    CKXSignalPaneContainerView* pane = frame ? frame->GetSignalPane() : nullptr;
    if (!pane) return KXEditResult::Refused("KXPANE-178").AnswerBool(mark);
    CString s1 = a1 ? a1 : "", s2 = a2 ? a2 : "";
    if (s1.IsEmpty() || s2.IsEmpty()) return KXEditResult::Refused("KXPANE-563").AnswerBool(mark);
    CString t3 = IsAbsent(a3) ? CString("1") : VariantText(a3);
    CString t4 = (IsAbsent(a3) || IsAbsent(a4)) ? CString("1") : VariantText(a4);
    return KXEditResult::Of(pane->AliasNets(s1, s2, t3, t4) != 0, "KXPANE-563").AnswerBool(mark);
}

namespace {
BOOL AskHost(const CString& text) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return FALSE;
    return main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1;
}
} // namespace

BOOL CKXTableDoc::InsertComment(LPCTSTR text) {
    if (!GetChildFrame()) return FALSE;
    return AskHost(CString(KXScriptWord::designComment) + " add " + KXTclQuote(text ? text : ""));
}

BOOL CKXTableDoc::EditComment(LPCTSTR text) {
    if (!GetChildFrame()) return FALSE;
    return AskHost(CString(KXScriptWord::designComment) + " edit " + KXTclQuote(text ? text : ""));
}

BOOL CKXTableDoc::DeleteComment() {
    if (!GetChildFrame()) return FALSE;
    return AskHost(CString(KXScriptWord::designComment) + " delete");
}

BOOL CKXTableDoc::DeleteRefDes() {
    const KXShownMark mark;
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->DeleteRefDes());
}

BOOL CKXTableDoc::EditRefDes(LPCTSTR a1, LPCTSTR a2) {
    const KXShownMark mark;
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->EditRefDes(a1 ? a1 : "", a2 ? a2 : ""));
}

BOOL CKXTableDoc::ImportInterface(LPCTSTR file, LPCTSTR instance) {
    const KXShownMark mark;
    if (!file || !*file) return KXEditResult::Refused("KXPANE-584").AnswerBool(mark);
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    return ListAnswer(mark, pane != nullptr, pane && pane->ImportInterfaceFile(file, instance ? instance : ""));
}

BOOL CKXTableDoc::DeleteComponent(LPCTSTR name) {
    CKXInstancePaneContainerView* pane = ActiveInstancePane(GetChildFrame());
    if (!pane || !name || !*name) return FALSE;
    CStringArray names;
    names.Add(name);
    return pane->DeleteComponents(names);
}
