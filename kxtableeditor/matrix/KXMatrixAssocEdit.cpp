// The termination of a pin shown in a TERMINATION cell and the pull-ups and
// pull-downs of the selected rows' signals, changed by the pane's
// editTermination and editPupd words: one transaction each, journalled as the
// cell's selection and the pane's EditTermination / EditPUPD call, which runs
// the same word again.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXPropLists.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPupdChanges.h"
#include "grid/KXScriptText.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/schemautil.h"

#include <functional>
#include <map>
#include <memory>
#include <set>

namespace {

void ToArray(const CStringList* from, CStringArray& to) {
    to.RemoveAll();
    for (POSITION pos = from ? from->GetHeadPosition() : nullptr; pos;) to.Add(from->GetNext(pos));
}

CString NetBitName(const CNetBit& bit) {
    return bit.bit() < 0 ? CString(bit.net()->name()) : CSchemaUtilities::vectorName(bit.net()->name(), bit.bit());
}

} // namespace

BOOL CKXMatrixGridWnd::EditTermination(CStringArray* designators, CMapStringToString* oldToNew,
                                       CMapStringToString* keyProps, CMapStringToString* instProps, CString delay,
                                       CString high, CString low, int count, int byRefDes,
                                       const CMapStringToString* partLooks) {
    KXScriptedAssocScope scripted;
    if (!MayEdit()) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int bit = -1, offset = -1, group = -1;
    IInstTerm* pin = GetCurrentCell(row, col) ? GetCellInstTermBit(row, static_cast<int>(col), bit) : nullptr;
    if (!pin || !SplitColumn(static_cast<int>(col), offset, group)) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-212");
        return FALSE;
    }
    const PinCell cell{row, group, CInstTermBit(pin, bit)};
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setInstTermBit(cell.pinBit);
    IDTInstance* termination = api.getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
    if (!termination) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-212");
        return FALSE;
    }
    CKXGridEdit edit(*this, "Edit Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    api.setTransaction(edit.Transaction(), true);
    api.setHierarchyDesignContext(m_designContext);
    api.getLCVPropFromInstance(termination);
    if (api.getComponentCount() < count) {
        api.setTransaction(nullptr, true);
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", "the termination has fewer parts than named");
        return FALSE;
    }
    KXTerminationEditArgs args = KXTerminationEditArgsOf(designators, oldToNew, keyProps, instProps, partLooks);
    CString d = delay, h = high, l = low;
    const bool edited = api.EditTermination(args.designators, args.renames, d, h, l, args.keyProps,
                                            args.instProps, byRefDes, &args.partLooks) != 0;
    api.setTransaction(nullptr, true);
    if (!edited) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-216", api.GetLastError());
        return FALSE;
    }
    KXJournalLines journal(JournalHandle());
    JournalCell(journal, cell, "TERMINATION");
    journal.Comment("Edit Termination")
        .Pane("EditTermination",
              {KXEditTerminationOperands(designators, oldToNew, keyProps, instProps, delay, high, low, byRefDes,
                                         partLooks)})
        .End();
    const KXShownMark committing;
    if (!edit.Commit()) {
        KXReportUnchangedAssoc(committing);
        return FALSE;
    }
    SetTerminationCellText(cell.row, ColumnOf(cell.group, Layout().m_nTerminationOffset));
    MarkModified();
    journal.Write();
    return TRUE;
}

bool CKXMatrixGridWnd::HasAnyPupd(const SignalRow& signal) {
    bool localUp = false, localDown = false, aliasUp = false, aliasDown = false;
    GetAssocCompApi()->GetPupdInfoOnThisNet(NetBitContextOf(signal), localUp, localDown, aliasUp, aliasDown);
    return localUp || localDown || aliasUp || aliasDown;
}

CNetBitContext CKXMatrixGridWnd::NetBitContextOf(const SignalRow& signal) const {
    return m_designContext.net(signal.netBit.net()).bitContext(signal.netBit.bit());
}

// The library's edit dialog on a signal that has pull-ups/pull-downs: what it changes is one edit, journalled
// as the deletions and the editPupd words that change the same.
void CKXMatrixGridWnd::EditPupdInDialog(const SignalRow& signal, bool readOnly) {
    CKXAssocCompAPI& api = *GetAssocCompApi();
    if (readOnly) {
        // Looking only: no edit is begun, and however the dialog is closed nothing is written.
        m_pCurrentMatrixGrid = this;
        api.setTransaction(nullptr, true);
        api.setNetBit(signal.netBit);
        ShowPupdDlg(&api, m_designContext2 ? m_designContext2 : m_designContext, m_designContext,
                    NetBitContextOf(signal), TRUE);
        KXMenuAnswer::Report(KXEditResult::Dialog());
        return;
    }
    CKXGridEdit edit(*this, "Edit PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return;
    const KXPupdLooksMap before = KXPupdLooks(api, m_designContext, signal.netBit);
    m_pCurrentMatrixGrid = this;
    api.setTransaction(edit.Transaction(), true);
    api.setNetBit(signal.netBit);
    const KXPupdDialogResult closed = ShowPupdDlg(&api, m_designContext2 ? m_designContext2 : m_designContext,
                                                  m_designContext, NetBitContextOf(signal), FALSE);
    api.setTransaction(nullptr, true);
    if (!KXPupdDialogAccepted(closed, api)) return;
    KXJournalLines journal(JournalHandle());
    KXJournalPupdChanges(journal, before, KXPupdLooks(api, m_designContext, signal.netBit), "MatrixDeletePupd",
                         [&] { RecordSelectPupdCol(journal, signal); });
    const KXShownMark committing;
    if (!edit.Commit()) {
        KXReportUnchangedAssoc(committing);
        return;
    }
    RefreshPupdCells({});
    MarkModified();
    journal.Write();
}

BOOL CKXMatrixGridWnd::EditPupd(CString parent, CString name, CString refDes, CString dcNets, CStringList* keyProps,
                                CStringList* injProps, BOOL bDiffPair) {
    if (!MayEdit()) return FALSE;
    const std::vector<SignalRow> signals = CollectSelectedNetBits();
    if (signals.empty()) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", "no signal selected");
        return FALSE;
    }
    CKXGridEdit edit(*this, "Edit PUPD", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI& api = *GetAssocCompApi();
    api.setTransaction(edit.Transaction(), true);
    api.setHierarchyDesignContext(m_designContext);
    api.readSignals();
    CStringArray keys, injs;
    ToArray(keyProps, keys);
    ToArray(injProps, injs);
    const CString operands = KXEditPupdOperands(name, refDes, dcNets, keyProps, injProps, parent, bDiffPair);
    KXJournalLines journal(JournalHandle());
    CString error;
    bool edited = false;
    for (const SignalRow& s : signals) {
        if (!parent.IsEmpty() && NetBitName(s.netBit).CompareNoCase(parent) != 0) continue;
        if (!api.EditPupd(s.netBit, name, refDes, dcNets, &keys, &injs)) {
            if (error.IsEmpty()) error = api.GetLastError();
            continue;
        }
        edited = true;
        RecordSelectPupdCol(journal, s);
        journal.Comment("Edit Pullup/Pulldown").Pane("EditPUPD", {operands}).OwnStep().End();
    }
    api.setTransaction(nullptr, true);
    if (!edited) {
        CKXErrorHandler::MessageBoxOk("KXTABLE-217", error.IsEmpty() ? CString("no pull-up/pull-down named") : error);
        return FALSE;
    }
    if (!edit.Commit()) return FALSE;
    RefreshPupdCells({});
    MarkModified();
    journal.Write();
    return TRUE;
}
