// The design window's saves: in place, as a block (Save As), and what a save tells when it is refused.
#include "shell/KXTableDoc.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXScriptText.h"
#include "grid/KXScriptWords.h"
#include "shell/KXShellUtil.h"

#include "afx/afxfile.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "kxsmall/CKXCreateBlockDlg.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <set>
#include <vector>

namespace {
// A save that found the design's files holding what the windows show: nothing was written.
constexpr const char* kNothingToSave = "KXTABLE-530";
// The way to keep the edits of a save refused because another host saved the files since: a window that
// saves under another name, or one that does not (another window of the design opened in the physical
// view saves it so).
constexpr const char* kRefusedSaveRoadSaveAs = "KXTABLE-531";
constexpr const char* kRefusedSaveRoadPhysical = "KXTABLE-532";
} // namespace

void CKXTableDoc::OnFileSave() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(KXScriptWord::saveDesign), 0);
}

void CKXTableDoc::OnUpdateFileSave(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsModified());
}

// File Save As is offered where the word saveDesignAs saves as a block: the editable block and the physical
// view. A block that could not be made answers 0 (its message said why); a cancelled dialog 2.
void CKXTableDoc::OnFileSaveAs() {
    const KXShownMark mark;
    KXMenuAnswer::ReportWork(SaveDesignAs(), mark, "KXTABLE-301");
}

void CKXTableDoc::OnUpdateFileSaveAs(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetOpenMode() == eOpenModeEditBlock || GetOpenMode() == eOpenModePhysical);
}

BOOL CKXTableDoc::OnSaveDocument(LPCTSTR lpszPathName) {
    return SaveCurrentDesign(lpszPathName, FALSE);
}

BOOL CKXTableDoc::SaveBlockCommand() {
    if (CWnd* main = AfxGetMainWnd()) {
        UINT msg = RegisterWindowMessageA("MSG_GETMODELERROR_STATUS");
        // The model checker's errors keep the design unsaved, and nothing is journalled.
        if (main->SendMessage(msg, 0, 0) == 0) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-671", SavedDesignTitle());
            return FALSE;
        }
    }
    m_strSaveError.Empty();
    BOOL saved = OnSaveDocument(GetPathName());
    // A save that found nothing to write wrote nothing, and says so: the answer is 0.
    if (saved && m_bNothingToSave) {
        CKXErrorHandler::MessageBoxOk(kNothingToSave, SavedDesignTitle());
        return FALSE;
    }
    // Only a save that happened is journalled: a replay must not save what the user declined. In the
    // editable block the save was a Save As, journalled as the block it made (SaveBlockAs).
    if (saved && GetOpenMode() != eOpenModeEditBlock)
        Journal("\n\n ' --- Save Current Block ---\n", "\ncall " + GetJournalHandle() + ".Save()");
    return saved && m_strSaveError.IsEmpty();
}

void CKXTableDoc::InformContextSave(BOOL bSilent) {
    int hide = 0;
    CKXRegistrySettings::OpenRegistryKey("KXFrame");
    CKXRegistrySettings::GetFromRegistry("HIDE_SAVECTXT_DESIGN_MSG", hide);
    if (CKXShareGlobalData::m_bReplay) hide = 1;
    if (hide == 0 && !bSilent) {
        CKXDontAskAgainDlg dlg(
            "Saving this design will save the parent design and all its child designs open in "
            "context mode.");
        dlg.DoModal();
        int choice = dlg.GetDontAskAgain() ? 1 : 0;
        if (choice != hide) CKXRegistrySettings::SetToRegistry("HIDE_SAVECTXT_DESIGN_MSG", choice);
    }
    CKXRegistrySettings::CloseRegistryKey();
}

// The design's name as the save messages give it: "LIB.CELL:VIEW".
CString CKXTableDoc::SavedDesignTitle() const {
    IDesign* design = GetMasterDesignContext().design();
    CString name;
    if (design) name.Format("\"%s.%s:%s\"", design->libName(), design->cellName(), design->viewName());
    return name;
}

// Whether a changed interface may be saved: the designs that place the design are named, and the user
// confirms (a silent save does not ask). notify: a parent was named, to be told once the design is saved.
bool CKXTableDoc::ConfirmInterfaceSave(IDesign* design, BOOL bSilent, const CString& description, bool& notify) {
    IServer* server = CKXShareGlobalData::m_pServer;
    CString list;
    std::set<CString> listed;
    notify = false;
    for (IDesign* same : server->beginDesignOfCell(design->cellName())) {
        if (!same) continue;
        for (IInstance* parentInst : same->beginParentInstance()) {
            IDesign* parent = parentInst ? parentInst->design() : nullptr;
            if (!parent || !server->shouldWarnParent(parent, same)) continue;
            notify = true;
            if (listed.insert(parent->cellName()).second) list += CString(parent->cellName()) + "\n";
        }
    }
    if (!notify || bSilent) return true;
    const CString cell = design->cellName();
    return CKXErrorHandler::MessageBoxYesNo("KXTABLE-131", cell, description, cell, list) == IDYES;
}

// Writes the design file when it changed (its file held something else); the interface's parents are
// told. False when the user declined or the server refused (the reason in error).
bool CKXTableDoc::WriteDesignIfChanged(IDesign* design, BOOL bSilent, CString& error, bool& declined) {
    IServer* server = CKXShareGlobalData::m_pServer;
    declined = false;
    if (!server->hasChangesToSave(design)) return true;
    CString description;
    if (!IsInterfaceChanged(description)) return server->saveDesign(design, &error);
    bool notify = false;
    if (!ConfirmInterfaceSave(design, bSilent, description, notify)) {
        declined = true;
        return false;
    }
    if (!server->saveDesign(design, &error)) return false;
    if (notify)
        if (IKXMessageServer* ms = GetKXMsgSrvr())
            ms->Broadcast(MSG_DESIGN_INTERFACE_SAVED, reinterpret_cast<WPARAM>(description.GetString()), 0, 0);
    UpdateInterfaceInfo();
    return true;
}

// The reason of a refused save, with the way to keep the edits where another host saved the files since:
// in a window that saves under another name, that save; elsewhere, the physical view's.
CString CKXTableDoc::RefusalWithRoad(const CString& reason, bool changedOnDisk) const {
    if (!changedOnDisk) return reason;
    const EOpenMode mode = GetOpenMode();
    const bool savesAs = mode == eOpenModeEditBlock || mode == eOpenModePhysical;
    IDesign* design = GetMasterDesignContext().design();
    const CString name = design ? CString(design->name()) : CString();
    return reason + "; " +
           CKXErrorHandler::FormatMessage(savesAs ? kRefusedSaveRoadSaveAs : kRefusedSaveRoadPhysical, {name});
}

// A save that wrote nothing: the reason is kept for the save's answer, shown under its message id, and
// told to the host.
BOOL CKXTableDoc::RefuseSave(const char* id, const CString& reason) {
    StatusText("Design not saved: " + reason);
    m_strSaveError = reason.IsEmpty() ? CString("not written") : reason;
    CKXErrorHandler::MessageBoxOk(id, SavedDesignTitle(), reason);
    NoteSaveOutcome(false, m_strSaveError);
    return FALSE;
}

// A save writes what changed, and nothing when nothing did: a file written again unchanged would look
// to another host like a save of this one, and refuse that host's real save as a conflict.
BOOL CKXTableDoc::SaveCurrentDesign(LPCTSTR, BOOL bSilent) {
    // An edit held open for an automation command that has not come is not saved: it goes first.
    CKXGridEdit::DiscardWaiting();
    m_bNothingToSave = FALSE;
    if (!bSilent && GetOpenMode() == eOpenModeEditBlock) return SaveEditableBlock();
    IDesign* design = GetMasterDesignContext().design();
    IServer* server = CKXShareGlobalData::m_pServer;
    if (!design || !server) return FALSE;
    // A window that shows no comments (the physical view) saves the store the design's other windows share.
    const std::shared_ptr<CComments> comments = m_pComments ? m_pComments : SharedCommentStore(design);
    const bool commentsChanged = comments && comments->hasChangesToSave();
    const std::vector<IDesign*> family = ContextFamily();
    if (!commentsChanged && !server->hasChangesToSave(design) && !FamilyHasChangesToSave(family)) {
        // The files hold what the windows show: the window has nothing unsaved.
        const bool wasModified = IsModified();
        m_bNothingToSave = TRUE;
        SetModified(FALSE);
        StatusText("Nothing to save: " + SavedDesignTitle());
        NoteSaveOutcome(true);
        // A silent save (a view switch's) that found nothing still left the window unmodified: journalled,
        // the replayed window is left so too, and a later close does not ask for a save (in the editable
        // block, a Save As) that the session's did not.
        if (bSilent && wasModified) JournalSaveInPlace();
        return TRUE;
    }
    StatusText("Saving Design: " + SavedDesignTitle());
    // The design and its comments go in place together: after a crash either both files are the old ones
    // or both the new ones.
    AfxFileBatch together;
    CString error;
    bool declined = false;
    if (!WriteDesignIfChanged(design, bSilent, error, declined)) {
        if (declined) {
            StatusText("Design not saved");
            return FALSE;
        }
        return RefuseSave("KXCOMMON-102", RefusalWithRoad(error, server->designFileChangedOnDisk(design)));
    }
    // The comments are part of what the user saves: a comments file that cannot be written fails the
    // save, and the document stays modified so that nothing is lost on close.
    if (commentsChanged && !comments->saveComments())
        return RefuseSave("KXTABLE-347", RefusalWithRoad(comments->GetLastError(), comments->fileChangedOnDisk()));
    // In context mode the parent and its blocks open in context mode go with the design.
    if (bool onDisk = false; !WriteFamily(family, error, onDisk))
        return RefuseSave("KXCOMMON-102", RefusalWithRoad(error, onDisk));
    if (std::string why; !together.Commit(why)) {
        const bool changedOnDisk =
            server->designFileChangedOnDisk(design) || (comments && comments->fileChangedOnDisk());
        return RefuseSave("KXCOMMON-102", RefusalWithRoad(why.c_str(), changedOnDisk));
    }
    if (GetOpenMode() == eOpenModeContext) InformContextSave(bSilent);
    CString path = GetMasterDesignContext().spath();
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_DESIGN_SAVED, reinterpret_cast<WPARAM>(path.GetString()), 0, 0);
    SetModified(FALSE);
    MarkDesignStepsSaved(design);
    MarkFamilySaved(family);
    StatusText("Saved Design: " + SavedDesignTitle());
    NoteSaveOutcome(true);
    // A silent save is the one a view switch makes before it switches: it is journalled here, as the
    // automation call that saves in place (in the editable block's mode, where Save() is Save As, too).
    if (bSilent) JournalSaveInPlace();
    return TRUE;
}

// In the editable block a plain save is a Save As: when its dialog does not save, the mode is the reason
// the design was not saved in place.
BOOL CKXTableDoc::SaveEditableBlock() {
    const KXShownMark mark;
    const BOOL saved = SaveDesignAs();
    if (!saved && !mark.SaidSince()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-383");
        NoteSaveOutcome(false, CKXErrorHandler::FormatMessage("KXTABLE-383"));
    }
    return saved;
}

BOOL CKXTableDoc::SaveInPlace() {
    const KXShownMark mark;
    const BOOL saved = SaveCurrentDesign(GetPathName(), TRUE);
    if (saved && m_bNothingToSave) return KXEditResult::Nothing(kNothingToSave, SavedDesignTitle()).AnswerBool(mark);
    return KXEditResult::Of(saved, "KXPANE-178").AnswerBool(mark);
}

void CKXTableDoc::JournalSaveInPlace() const {
    Journal("\n\n ' --- Save Current Block ---\n", "\ncall " + GetJournalHandle() + ".Save(\"InPlace\")");
}

namespace {
// The block dialog of a save under another name, set up for the document's design; false when the
// document's open mode saves no block that way.
bool SetUpSaveAsDialog(const CKXTableDoc& doc, CKXCreateBlockDlg& dlg) {
    const EOpenMode mode = doc.GetOpenMode();
    if (mode != eOpenModeEditBlock && mode != eOpenModePhysical) return false;
    IDesign* design = doc.GetMasterDesignContext().design();
    dlg.SetDesignContext(doc.GetMasterDesignContext());
    dlg.SetMode(2);
    dlg.SetViewName(design ? design->viewName() : "");
    return true;
}

} // namespace

// Makes the block; when it cannot be made the user is told (KXTABLE-301, the reason in the status bar) and
// false comes back.
bool CKXTableDoc::CreateSaveAsBlock(CKXCreateBlockDlg& dlg, const CString& library, const CString& blockName) {
    // The block gets the design's comments and matrix views, written with its design file.
    IDesign* design = GetMasterDesignContext().design();
    const std::shared_ptr<CComments> comments = m_pComments ? m_pComments : design ? SharedCommentStore(design) : nullptr;
    if (comments)
        dlg.SetCompanionWriter([comments](const std::string& folder, const CString& block, std::string& why) {
            if (comments->saveCommentsAs(folder.c_str(), block)) return true;
            why = comments->GetLastError().str();
            return false;
        });
    CStringArray a1, a2;
    if (dlg.CreateSubProject(1, library, blockName, "", "", "", 0, 0, 0, 0, 0, 0, a1, a2) != 0) {
        // The design comment went with the new block it was written for: the design's own comment is
        // again the one its file holds, so that no save of the design in place writes the other.
        if (comments) comments->restoreFileDesignComment();
        NoteSaveOutcome(true);
        return true;
    }
    StatusText("Block not created: " + dlg.GetLastError());
    NoteSaveOutcome(false, dlg.GetLastError());
    TellSaveAsRefusal(dlg, library, blockName);
    return false;
}

// Why a block was not made: a name the file system cannot take, the library's lock held by another host
// (the name may well be free), or the name taken or not taken by the library.
void CKXTableDoc::TellSaveAsRefusal(const CKXCreateBlockDlg& dlg, const CString& library,
                                    const CString& blockName) const {
    if (dlg.NameTooLong())
        CKXErrorHandler::MessageBoxOk("KXTABLE-341", library, blockName, dlg.GetLastError());
    else if (dlg.LibraryLocked())
        CKXErrorHandler::MessageBoxOk("KXCOMMON-102", SavedDesignTitle(), dlg.GetLastError());
    else
        CKXErrorHandler::MessageBoxOk("KXTABLE-301", library, blockName);
}

// The block made by Save As is journalled as the automation call that makes it again.
void CKXTableDoc::JournalSaveBlockAs(const CString& library, const CString& blockName) {
    Journal("\n\n ' --- Save Current Block As---\n", "\ncall " + GetJournalHandle() + ".SaveBlockAs(" +
                                                         KXVbsQuote(library) + "," + KXVbsQuote(blockName) + ")");
}

BOOL CKXTableDoc::SavesAsBlock() const {
    if (GetOpenMode() == eOpenModeEditBlock || GetOpenMode() == eOpenModePhysical) return TRUE;
    // Only the editable block and the physical view are saved as a block: the mode is the reason.
    CString mode;
    mode.Format("%d", static_cast<int>(GetOpenMode()));
    CKXErrorHandler::MessageBoxOk("KXTABLE-384", mode);
    return FALSE;
}

BOOL CKXTableDoc::SaveDesignAs() {
    CKXCreateBlockDlg dlg;
    if (!SavesAsBlock() || !CanLeaveOriginalAsRead() || !SetUpSaveAsDialog(*this, dlg) || dlg.DoModal() != IDOK)
        return FALSE;
    // The confirmed dialog makes the block; one that could not be made is not journalled.
    if (!CreateSaveAsBlock(dlg, dlg.GetSelectedLib(), dlg.GetBlockName())) return FALSE;
    CString lib = dlg.GetSelectedLib();
    if (IKXMessageServer* ms = GetKXMsgSrvr())
        ms->Broadcast(MSG_SAVE_AS_LIBRARY_SELECTED, reinterpret_cast<WPARAM>(lib.GetString()), 0, 0);
    JournalSaveBlockAs(lib, dlg.GetBlockName());
    LeaveOriginalAsRead();
    return TRUE;
}

BOOL CKXTableDoc::SaveBlockAs(const CString& library, const CString& blockName) {
    CKXCreateBlockDlg dlg;
    if (!SavesAsBlock() || !CanLeaveOriginalAsRead() || !SetUpSaveAsDialog(*this, dlg)) return FALSE;
    if (!CreateSaveAsBlock(dlg, library, blockName)) return FALSE;
    JournalSaveBlockAs(library, blockName);
    LeaveOriginalAsRead();
    return TRUE;
}

BOOL CKXTableDoc::SaveBlockAsAuto(LPCTSTR library, LPCTSTR blockName) {
    return SaveBlockAs(library ? library : "", blockName ? blockName : "");
}
