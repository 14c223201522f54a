// What a save does to designs beside the window's own: in context mode it writes the parent design and the
// parent's blocks open in context mode too; in the editable block a Save As leaves the design the window
// shows as its files hold it, the window's edits having gone to the new block.
#include "shell/KXTableDoc.h"

#include "shell/KXTableChildFrm.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <algorithm>
#include <utility>

namespace {
// A Save As of the editable block whose edits could not be taken back from the design afterwards.
constexpr const char* kSaveAsEditsUnderOthers = "KXTABLE-661";

// The design that holds the block a window shows in context mode; nullptr when it shows none so.
IDesign* ContextParentOf(const CKXDocument& doc) {
    if (doc.GetOpenMode() != eOpenModeContext) return nullptr;
    const CInstanceContext parent = doc.GetDesignContext().parent();
    return parent ? parent.design().design() : nullptr;
}
} // namespace

std::vector<IDesign*> CKXTableDoc::ContextFamily() const {
    std::vector<IDesign*> family;
    IDesign* parent = ContextParentOf(*this);
    if (!parent) return family;
    IDesign* own = GetMasterDesignContext().design();
    const auto add = [&](IDesign* design) {
        if (design && design != own && std::find(family.begin(), family.end(), design) == family.end())
            family.push_back(design);
    };
    add(parent);
    CDocTemplate* tmpl = GetDocTemplate();
    for (POSITION pos = tmpl ? tmpl->GetFirstDocPosition() : nullptr; pos;) {
        auto* doc = dynamic_cast<CKXDocument*>(tmpl->GetNextDoc(pos));
        if (doc && ContextParentOf(*doc) == parent) add(doc->GetMasterDesignContext().design());
    }
    return family;
}

bool CKXTableDoc::FamilyHasChangesToSave(const std::vector<IDesign*>& family) const {
    IServer* server = CKXShareGlobalData::m_pServer;
    return std::any_of(family.begin(), family.end(), [server](IDesign* design) {
        const std::shared_ptr<CComments> comments = SharedCommentStore(design);
        return server->hasChangesToSave(design) || (comments && comments->hasChangesToSave());
    });
}

bool CKXTableDoc::WriteFamily(const std::vector<IDesign*>& family, CString& error, bool& changedOnDisk) {
    IServer* server = CKXShareGlobalData::m_pServer;
    changedOnDisk = false;
    m_familyWritten.clear();
    for (IDesign* design : family) {
        const std::shared_ptr<CComments> comments = SharedCommentStore(design);
        const bool designChanged = server->hasChangesToSave(design);
        const bool commentsChanged = comments && comments->hasChangesToSave();
        if (designChanged && !server->saveDesign(design, &error)) {
            changedOnDisk = server->designFileChangedOnDisk(design);
            return false;
        }
        if (commentsChanged && !comments->saveComments()) {
            error = comments->GetLastError();
            changedOnDisk = comments->fileChangedOnDisk();
            return false;
        }
        if (designChanged || commentsChanged) m_familyWritten.push_back(design);
    }
    return true;
}

void CKXTableDoc::MarkFamilySaved(const std::vector<IDesign*>& family) const {
    CDocTemplate* tmpl = GetDocTemplate();
    IKXMessageServer* ms = GetKXMsgSrvr();
    for (IDesign* design : family) {
        MarkDesignStepsSaved(design);
        bool told = false;
        for (POSITION pos = tmpl ? tmpl->GetFirstDocPosition() : nullptr; pos;) {
            auto* doc = dynamic_cast<CKXTableDoc*>(tmpl->GetNextDoc(pos));
            if (!doc || doc->GetMasterDesignContext().design() != design) continue;
            doc->SetModified(FALSE);
            // Only a design whose file was written is announced as saved.
            const bool written =
                std::find(m_familyWritten.begin(), m_familyWritten.end(), design) != m_familyWritten.end();
            if (ms && written && !std::exchange(told, true)) {
                const CString path = doc->GetMasterDesignContext().spath();
                ms->Broadcast(MSG_DESIGN_SAVED, reinterpret_cast<WPARAM>(path.GetString()), 0, 0);
            }
        }
    }
}

// In the editable block every save is a Save As: the window's edits are for the new block alone. Once the
// block is made they are taken back from the design the window shows, which is again as its files hold
// it, so that no save of that design in place (another window's, the physical view's) writes them into
// the original.
bool CKXTableDoc::CanLeaveOriginalAsRead() const {
    IDesign* design = GetMasterDesignContext().design();
    if (GetOpenMode() != eOpenModeEditBlock || !design || !OwnEditsUnderLaterEdits(design)) return true;
    CKXErrorHandler::MessageBoxOk(kSaveAsEditsUnderOthers, SavedDesignTitle());
    NoteSaveOutcome(false, CKXErrorHandler::FormatMessage(kSaveAsEditsUnderOthers, {SavedDesignTitle()}));
    return false;
}

void CKXTableDoc::LeaveOriginalAsRead() {
    if (GetOpenMode() != eOpenModeEditBlock) return;
    // The journal's SaveBlockAs line stands for the take-back too: its replay takes the steps back so.
    char* const journal = std::exchange(CKXShareGlobalData::m_bAutomation, nullptr);
    TakeBackOwnEdits();
    CKXShareGlobalData::m_bAutomation = journal;
    SetModified(FALSE);
}

