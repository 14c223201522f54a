// A pin moved to another signal by its pin number: when it carries a
// termination, or its old net bit carries pull-ups/pull-downs, the user is
// asked whether they stay with it. What goes goes in the same edit and is
// journalled after the connection, so that a replay (which answers yes) ends
// with the same design.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXAssocCompSteps.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXDialogs.h"
#include "rmx/transaction.h"

#include <set>

CKXMatrixGridWnd::RetainAnswer CKXMatrixGridWnd::AskRetain(const CInstTermBit& pinBit, const CNetBit& old, INet* to) {
    RetainAnswer keep;
    // A replay answers yes; a pin that goes to a no-connect net keeps nothing anyway.
    if (!old || CKXShareGlobalData::m_bReplay || CKXGenUtils::IsNC(to->name())) return keep;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setInstTermBit(pinBit);
    const bool terminated = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION) != nullptr;
    if (!terminated && KXPupdsOn(api, old).empty()) return keep;
    // A user who chose not to be asked again gets the answers given then; a cancelled question keeps both.
    m_pRetainDlg = std::make_unique<CKXRetainAssocCompDlg>(nullptr);
    if (!m_pRetainDlg->DontAskToRetainAssocComp()) m_pRetainDlg->DoModal();
    keep.termination = m_pRetainDlg->CanPreserveTermination() != FALSE;
    keep.pupds = m_pRetainDlg->CanPreservePupd() != FALSE;
    return keep;
}

void CKXMatrixGridWnd::CarryPupds(CTransaction& tx, ROWCOL row, const CNetBit& old, const CNetBit& now, bool keep) {
    if (!old || !now || (old.net() == now.net() && old.bit() == now.bit())) return;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    const KXComponentSet carried = KXPupdsOn(api, old);
    if (carried.empty()) return;
    m_bEditCarriedPupds = true;
    const KXComponentSet before = KXPupdsOn(api, now);
    for (IDTInstance* dt : carried) {
        bool present = false; // a net bit with one of the same type keeps its own: nothing is doubled
        for (IDTInstance* own : before)
            if (CString(own->typeName()).CompareNoCase(dt->typeName()) == 0) present = true;
        if (present) continue;
        api.setTransaction(&tx, true);
        api.setHierarchyDesignContext(m_designContext);
        api.setKindOfOperation(CKXAssocCompAPI::PUPD);
        api.getLCVPropFromInstance(dt);
        api.setNewSignalFlag(false);
        ApplyPupdToNetBit(dt, now.net(), now.bit());
        api.setTransaction(nullptr, true);
    }
    if (keep) return;
    // Left behind: what the carry made goes again, by name, as the journal tells a replay to.
    std::set<CString> made;
    for (IDTInstance* dt : KXPupdsOn(api, now))
        if (!before.count(dt)) made.insert(dt->name());
    if (made.empty()) return;
    api.setTransaction(&tx, true);
    api.DeletePupd(now, made);
    api.setTransaction(nullptr, true);
    CString list;
    for (const CString& name : made) list += (list.IsEmpty() ? "" : " ") + name;
    KXJournalLines lines(JournalHandle());
    lines.Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixSelect", {CellText(row, Layout().m_nNameCol), CString(), CString("PUPD"), CString()})
        .Comment("Delete Pullup/Pulldown")
        .Pane("MatrixDeletePupd", {list})
        .OwnStep()
        .End();
    m_retainJournal.push_back(lines);
}

void CKXMatrixGridWnd::NoteDroppedTermination(ROWCOL row, int group, const CString& pinName) {
    const CInstanceContext instance = GroupInstance(group);
    KXJournalLines lines(JournalHandle());
    lines.Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixSelect", {CellText(row, Layout().m_nNameCol), instance ? CString(instance.instance()->name()) : "",
                               CString("TERMINATION"), pinName})
        .Comment("Delete")
        .Pane("Delete")
        .OwnStep()
        .End();
    m_retainJournal.push_back(lines);
}
