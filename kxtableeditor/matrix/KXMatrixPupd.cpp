// Pull-ups and pull-downs on the signals of the matrix's selected rows: added by
// the pane's addPupd word, deleted by deletePupd (the Delete key on a Pull
// Up/Down cell sends it), each in one transaction the bracket closes on every
// road, journalled as the row's selection and the pane's matrix call.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <set>

using namespace kxmatrix;

namespace {

void ToArray(const CStringList* from, CStringArray& to) {
    to.RemoveAll();
    if (!from) return;
    for (POSITION pos = from->GetHeadPosition(); pos;) to.Add(from->GetNext(pos));
}

// "N=V N=V": the property list of a journal line.
CString Joined(const CStringList* list) {
    CString text;
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;) text += (text.IsEmpty() ? "" : " ") + list->GetNext(pos);
    return text;
}

} // namespace

std::vector<CKXMatrixGridWnd::SignalRow> CKXMatrixGridWnd::CollectSelectedNetBits() {
    std::vector<SignalRow> signals;
    std::set<std::pair<unsigned, int>> seen;
    for (ROWCOL row : SelectedDataRows()) {
        int bit = -1;
        INet* net = GetCellNetBit(row, bit);
        if (net && seen.insert({net->id(), bit}).second) signals.push_back({row, CNetBit(net, bit)});
    }
    return signals;
}

// In a read-only window the same rows open the view-only dialog of a signal that has one (HasPupd).
BOOL CKXMatrixGridWnd::CanAddPupd() {
    if (m_bEditing) return FALSE;
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    if (signals.empty()) return FALSE;
    for (const SignalRow& s : signals)
        if (CKXGenUtils::IsNC(s.netBit.net()->name())) return FALSE;
    return TRUE;
}

// One selected signal row whose net bit has a pull-up or pull-down of its own or through a joined net.
BOOL CKXMatrixGridWnd::HasPupd() {
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    return signals.size() == 1 && HasAnyPupd(signals.front()) ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::AddConnectionsForPupd(BOOL, BOOL) {
    // Every row of the matrix shows a signal: there is nothing to connect first.
    return CollectSelectedNetBits().empty() ? FALSE : TRUE;
}

void CKXMatrixGridWnd::RecordSelectPupdCol(KXJournalLines& journal, const SignalRow& signal) {
    journal.Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixSelect", {CellText(signal.row, Layout().m_nNameCol), CString(), CString("PUPD"), CString()});
}

BOOL CKXMatrixGridWnd::AddPupdInstance(CString type, CString lib, CString cell, CString view, CString physName,
                                       CString value, CString dcNet, CStringList* keyProps, CStringList* instProps,
                                       BOOL bCommon) {
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    auto refuse = [](const CString& why) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", why);
        return FALSE;
    };
    if (!MayEdit()) return FALSE;
    if (signals.empty()) return refuse("no signal selected");
    CKXGridEdit edit(*this, "Add PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setTransaction(edit.Transaction(), true);
    api.setAssociatedInstance(nullptr);
    api.setNewSignalFlag(false);
    api.WillRemoveExistingPupd(false);
    api.setHierarchyDesignContext(m_designContext);
    api.getLCVPropFromSetup(true);
    if (api.readSignals() == 0) return refuse("the design has no signals");
    api.setMultipleSelection(signals.size() > 1);
    CStringArray keys, insts;
    ToArray(keyProps, keys);
    ToArray(instProps, insts);
    if (!api.AddPupdInstance(type, lib, cell, view, physName, value, keys, insts, dcNet))
        return refuse(api.GetLastError());
    api.SetPupdMode(bCommon ? PUPD_MODE_COMMON : PUPD_MODE_SEPARATE);
    KXJournalLines journal(JournalHandle());
    for (const SignalRow& s : signals) {
        api.setNetBit(s.netBit);
        if (!api.ApplyPupd(false, false)) return refuse(api.GetLastError());
        RecordSelectPupdCol(journal, s);
        journal.Comment("Add Pullup/Pulldown")
            .Pane("MatrixAddPupd", {type, lib, cell, view, physName, value, dcNet, Joined(keyProps), Joined(instProps)})
            .OwnStep()
            .End();
    }
    if (!edit.Commit()) return FALSE;
    RefreshPupdCells({});
    MarkModified();
    journal.Write();
    return TRUE;
}

bool CKXMatrixGridWnd::DeletePupd(CTransaction& tx, const SignalRow& signal, const std::set<CString>& names) {
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setTransaction(&tx, true);
    api.setNetBit(signal.netBit);
    return api.getAssociatedInstance(CKXAssocCompAPI::PUPD) && api.DeletePupd(signal.netBit, names) > 0;
}

BOOL CKXMatrixGridWnd::DeletePupds(CStringArray* names, CMapStringToString*) {
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    if (signals.empty() || IsReadOnlyWindow()) return FALSE;
    std::set<CString> wanted;
    CString list;
    for (INT_PTR n = 0; names && n < names->GetSize(); ++n) {
        wanted.insert(names->GetAt(n));
        list += (n ? " " : "") + names->GetAt(n);
    }
    // Joins the pane's "Delete Connections" edit; the bracket ends only an edit it began.
    CKXGridEdit edit(*this, "Remove Pupds", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    bool any = false;
    for (const SignalRow& s : signals) {
        if (!DeletePupd(*edit.Transaction(), s, wanted)) continue;
        any = true;
        RecordSelectPupdCol(journal, s);
        journal.Comment("Delete Pullup/Pulldown").Pane("MatrixDeletePupd", {list}).OwnStep().End();
    }
    if (!any || !edit.Commit()) return FALSE;
    RefreshPupdCells({});
    MarkModified();
    journal.Write();
    return TRUE;
}
