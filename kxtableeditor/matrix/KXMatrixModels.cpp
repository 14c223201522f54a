// Signal models and terminations of the pins the matrix's cells show: the
// PIN_SIGNAL_MODEL property set from the model dialog or by script and removed
// again, terminations deleted from the TERMINATION cells, cells selected by
// key for the script words; each edit is one transaction, journalled as the
// cell's selection and the pane's call.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXPinModels.h"
#include "grid/KXPropLists.h"

#include "afx/afxwin.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <set>
#include <memory>

using namespace kxmatrix;

namespace {

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

} // namespace

// ------------------------------------------------------------------ the selected pins

std::vector<CKXMatrixGridWnd::PinCell> CKXMatrixGridWnd::SelectedPinCells(bool pinColumnsOnly) {
    std::vector<PinCell> cells;
    std::set<std::pair<ROWCOL, int>> seen; // row, group
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        for (ROWCOL r = std::max(range.top, kFirstDataRow); r <= range.bottom && r <= GetRowCount(); ++r) {
            if (IsRowHidden(r)) continue;
            for (ROWCOL c = range.left; c <= range.right; ++c) {
                int offset = -1, group = -1, bit = -1;
                const bool pinColumn = DecodeInstanceColumn(static_cast<int>(c), offset, group);
                if (group < 0 || (pinColumnsOnly && !pinColumn) || seen.count({r, group})) continue;
                if (IInstTerm* pin = GetCellInstTermBit(r, static_cast<int>(c), bit)) {
                    seen.insert({r, group});
                    cells.push_back({r, group, CInstTermBit(pin, bit)});
                }
            }
        }
    }
    return cells;
}

BOOL CKXMatrixGridWnd::SelectCells(const std::vector<CString>& keys, const CString& column) {
    // A key names a signal and a component ("N1:U1"), and may name the pin shown ("N1:J1:P<3>").
    const KXMatrixLayout& layout = Layout();
    int offset = column.CompareNoCase("TERMINATION") == 0 ? layout.m_nTerminationOffset
                 : column.CompareNoCase("PN") == 0        ? layout.m_nPnOffset
                                                          : layout.m_nPinNameOffset;
    // A property column by its key: in every group, or on the signal side.
    int signalCol = -1;
    for (std::size_t k = 0; k < layout.m_arrInstanceColumns.size(); ++k)
        if (layout.m_arrInstanceColumns[k]->m_nPropertyType != 0 && layout.m_arrInstanceColumns[k]->m_strPropertyName == column)
            offset = static_cast<int>(k);
    for (std::size_t k = 1; k < layout.m_arrSignalColumns.size(); ++k)
        if (layout.m_arrSignalColumns[k]->m_nPropertyType != 0 && layout.m_arrSignalColumns[k]->m_strPropertyName == column)
            signalCol = static_cast<int>(k);
    SetSelection(nullptr);
    bool any = false;
    if (column.CompareNoCase("PUPD") == 0 || signalCol > 0) {
        const int col = signalCol > 0 ? signalCol : layout.m_nPupdCol;
        // A signal's Pull Up/Down cell: the key names the signal only ("N1" or "N1:").
        for (const CString& key : keys) {
            const CString signal = key.Find(':') < 0 ? key : key.Left(key.Find(':'));
            for (ROWCOL r = kFirstDataRow; r <= GetRowCount(); ++r)
                if (CellText(r, layout.m_nNameCol).CompareNoCase(signal) == 0) {
                    if (!any) SetCurrentCell(r, Col(col), GX_SMART);
                    SelectRange(CGXRange(r, Col(col)), TRUE, FALSE);
                    any = true;
                    break;
                }
        }
        return any ? TRUE : FALSE;
    }
    for (const CString& key : keys) {
        const int first = key.Find(':'), second = key.Find(':', first + 1);
        if (first < 0) continue;
        const CString signal = key.Left(first);
        const CString instance = second < 0 ? key.Mid(first + 1) : key.Mid(first + 1, second - first - 1);
        const CString pinText = second < 0 ? CString() : key.Mid(second + 1);
        const CInstanceContext inst = m_designContext.instance(instance.GetString());
        const int group = inst ? GroupOf(inst.instance()->id()) : -1;
        if (group < 0) continue;
        const int col = ColumnOf(group, offset);
        for (ROWCOL r = kFirstDataRow; r <= GetRowCount(); ++r) {
            if (CellText(r, layout.m_nNameCol).CompareNoCase(signal) != 0) continue;
            const CString shown = CellText(r, ColumnOf(group, layout.m_nPinNameOffset));
            if (shown.IsEmpty() || (!pinText.IsEmpty() && shown.CompareNoCase(pinText) != 0)) continue;
            if (!any) SetCurrentCell(r, Col(col), GX_SMART);
            SelectRange(CGXRange(r, Col(col)), TRUE, FALSE);
            any = true;
        }
    }
    return any ? TRUE : FALSE;
}

void CKXMatrixGridWnd::SelectRowsByKey(CStringArray* pKeys, CString keyColumn) {
    std::vector<CString> keys;
    if (pKeys)
        for (INT_PTR i = 0; i < pKeys->GetSize(); ++i) keys.push_back(pKeys->GetAt(i));
    if (!keys.empty()) SelectCells(keys, keyColumn);
}

void CKXMatrixGridWnd::JournalCell(KXJournalLines& journal, const PinCell& cell, const char* column) {
    const CInstanceContext instance = GroupInstance(cell.group);
    // The pin names the row among the signal's rows.
    journal.Pane("OpenMatrixView", {m_strViewName})
        .Pane("MatrixSelect", {CellText(cell.row, Layout().m_nNameCol), instance ? CString(instance.instance()->name()) : "",
                               CString(column), CellText(cell.row, ColumnOf(cell.group, Layout().m_nPinNameOffset))});
}

// ------------------------------------------------------------------ models

BOOL CKXMatrixGridWnd::CanAssignModel() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (IsReadOnlyWindow() || !GetCurrentCell(row, col) || m_bEditing) return FALSE;
    int bit = -1;
    return GetCellInstTermBit(row, static_cast<int>(col), bit) ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::CanRemoveModel() {
    if (IsReadOnlyWindow() || m_bEditing) return FALSE;
    for (const PinCell& cell : SelectedPinCells()) {
        std::unique_ptr<CPQPropertyData> model(cell.pinBit.findProperty(kKXPinModelProperty));
        if (model) return TRUE;
    }
    return FALSE;
}

BOOL CKXMatrixGridWnd::AssignModel(int bUseGiven, LPCTSTR modelName) {
    return AssignModelByName(modelName ? modelName : "", bUseGiven != 0);
}

BOOL CKXMatrixGridWnd::RemoveModel() {
    return CommitModels(SelectedPinCells(), CString());
}

BOOL CKXMatrixGridWnd::AssignModelByName(const CString& modelName, bool given) {
    const std::vector<PinCell> cells = SelectedPinCells();
    int direction = -1;
    for (const PinCell& cell : cells) {
        ITerm* master = cell.pinBit.instTerm()->masterTerm();
        if (!master) continue;
        if (direction >= 0 && master->direction() != direction) {
            CKXErrorHandler::MessageBoxOk("KXTABLE-127");
            return FALSE;
        }
        direction = master->direction();
    }
    if (cells.empty()) return FALSE;
    if (given && modelName.IsEmpty()) {
        const KXShownMark mark;
        if (CommitModels(cells, CString())) return TRUE;
        if (!mark.SaidSince()) CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE;
    }
    CString model = modelName;
    if (model.IsEmpty()) {
        // A dialog closed without a model assigns nothing.
        if (!KXAskPinModel(direction, model) || model.IsEmpty()) return FALSE;
    }
    return CommitModels(cells, model);
}

BOOL CKXMatrixGridWnd::CommitModels(const std::vector<PinCell>& cells, const CString& model) {
    if (cells.empty()) return FALSE;
    if (!MayEdit()) return FALSE;
    // Joins an edit the caller has open and leaves it to the caller; never ends another's.
    CKXGridEdit edit(*this, "Assign Model", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    int changed = 0;
    for (const PinCell& cell : cells) {
        const CInstTermBitContext place = GroupInstance(cell.group).instTerm(cell.pinBit.instTerm()).bitContext(cell.pinBit.bit());
        if (!KXSetPinModel(*edit.Transaction(), place, model)) continue;
        ++changed;
        JournalCell(journal, cell, "PIN_NAME");
        if (model.IsEmpty())
            journal.Comment("Remove Model").Pane("RemoveModel").OwnStep().End();
        else
            journal.Comment("Assign Model").Pane("AssignModel", {model}).OwnStep().End();
    }
    // Pins that carry the model already (in any letter case) are told so; nothing is stored.
    if (!changed && !model.IsEmpty()) CKXErrorHandler::MessageBoxOk(KXCause::kUnchanged);
    if (!changed || !edit.Commit()) return FALSE;
    MarkModified();
    journal.Write();
    return TRUE;
}

// ------------------------------------------------------------------ terminations

// Edit Termination edits the termination of one pin: with several rows selected the command adds
// (and refuses a pin that has one), so it is no edit then.
BOOL CKXMatrixGridWnd::HasTermination() {
    return SelectedDataRows().size() == 1 && CurrentPinHasTermination();
}

BOOL CKXMatrixGridWnd::CurrentPinHasTermination() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int bit = -1;
    if (!IsCurrentCellTerminationCol() || !GetCurrentCell(row, col)) return FALSE;
    IInstTerm* pin = GetCellInstTermBit(row, static_cast<int>(col), bit);
    if (!pin) return FALSE;
    CKXAssocCompAPI* api = GetAssocCompApi();
    api->setInstTermBit(CInstTermBit(pin, bit));
    return api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION) ? TRUE : FALSE;
}

BOOL CKXMatrixGridWnd::DeleteTerminations() {
    if (IsReadOnlyWindow()) return FALSE;
    const std::vector<PinCell> cells = SelectedPinCells();
    CKXGridEdit edit(*this, "Delete Termination", CKXGridEdit::kJoinOpen);
    if (!edit || cells.empty()) return FALSE;
    KXJournalLines journal(JournalHandle());
    std::vector<PinCell> deleted;
    for (const PinCell& cell : cells) {
        CKXAssocCompAPI* api = GetAssocCompApi();
        api->setInstTermBit(cell.pinBit);
        IDTInstance* termination = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
        if (!termination || !edit.Transaction()->removeDTInstance(termination)) continue;
        deleted.push_back(cell);
        JournalCell(journal, cell, "TERMINATION");
        journal.Comment("Delete").Pane("Delete").OwnStep().End();
    }
    // A deletion that worked answers so, and the edit stays undoable.
    if (deleted.empty() || !edit.Commit()) return FALSE;
    for (const PinCell& cell : deleted) SetTerminationCellText(cell.row, ColumnOf(cell.group, Layout().m_nTerminationOffset));
    MarkModified();
    journal.Write();
    return TRUE;
}

namespace {

// The texts of every part joined by "|", a part's property list by blanks: the journal's form.
CString PartsText(const CStringArray* texts, INT_PTR parts) {
    CString joined;
    for (INT_PTR i = 0; i < parts; ++i)
        joined += (i ? "|" : "") + KXPartText(texts, i);
    return joined;
}

CString PropsText(CObArray* lists, INT_PTR parts) {
    CString joined;
    for (INT_PTR i = 0; i < parts; ++i) {
        if (i) joined += "|";
        if (CStringArray* list = KXPartList(lists, i))
            for (INT_PTR k = 0; k < list->GetSize(); ++k) joined += (k ? " " : "") + list->GetAt(k);
    }
    return joined;
}

} // namespace

BOOL CKXMatrixGridWnd::CanAddTermination() {
    if (IsReadOnlyWindow() || m_bEditing) return FALSE;
    const std::vector<PinCell> cells = SelectedPinCells();
    if (cells.empty()) return FALSE;
    for (const PinCell& cell : cells) {
        // A block's port and a pin on a no-connect net take no termination.
        const CInstanceContext instance = GroupInstance(cell.group);
        const CNetBit net = cell.pinBit.netbitOuter();
        if (!instance || instance.instance()->isBlock() || (net && CKXGenUtils::IsNC(net.net()->name()))) return FALSE;
    }
    return TRUE;
}

BOOL CKXMatrixGridWnd::AddTerminationInstance(CString type, CStringArray* libs, CStringArray* cells,
                                              CStringArray* views, CStringArray* physNames, CStringArray* values,
                                              CObArray* keyLists, CObArray* instLists, CString delay, CString high,
                                              CString low, int parts) {
    auto refuse = [](const char* id) {
        CKXErrorHandler::MessageBoxOk(id);
        return FALSE;
    };
    if (!CanAddTermination()) return refuse("KXTABLE-210");
    const std::vector<PinCell> targets = SelectedPinCells();
    for (const PinCell& cell : targets) {
        CKXAssocCompAPI* api = GetAssocCompApi();
        api->setInstTermBit(cell.pinBit);
        if (api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION)) return refuse("KXTABLE-209");
    }
    CKXGridEdit edit(*this, "Add Termination", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    CKXAssocCompAPI* api = GetAssocCompApi();
    api->setTransaction(edit.Transaction(), true);
    api->setHierarchyDesignContext(m_designContext);
    api->setKindOfOperation(CKXAssocCompAPI::TERMINATION);
    api->m_strName = type;
    api->getLCVPropFromSetup(true);
    api->readSignals();
    api->m_bHasAssociatedInstance = false;
    std::vector<CString> ids;
    api->getSlotIds(ids);
    if (ids.empty() || static_cast<int>(ids.size()) != parts) return refuse("KXTABLE-216");
    for (INT_PTR i = 0; i < parts; ++i)
        if (!KXPartGiven(libs, cells, views, physNames, values, i) ||
            !api->AddTerminationInstance(ids[static_cast<std::size_t>(i)], KXPartText(libs, i),
                                         KXPartText(cells, i), KXPartText(views, i), KXPartText(physNames, i),
                                         KXPartText(values, i), nullptr, KXPartList(keyLists, i),
                                         KXPartList(instLists, i)))
            return refuse("KXTABLE-211"); // the bracket discards what was begun
    api->setDelayConstraint(delay);
    if (!high.IsEmpty()) api->SetTerminationSignal(high, "High");
    if (!low.IsEmpty()) api->SetTerminationSignal(low, "Low");
    KXJournalLines journal(JournalHandle());
    bool added = false;
    for (const PinCell& cell : targets) {
        api->setInstTermBit(cell.pinBit);
        if (!api->AddTermination(0)) continue;
        added = true;
        JournalCell(journal, cell, "TERMINATION");
        journal.Comment("Add Termination")
            .Pane("MatrixAddTermination", {type, PartsText(libs, parts), PartsText(cells, parts), PartsText(views, parts),
                                           PartsText(physNames, parts), PartsText(values, parts),
                                           PropsText(keyLists, parts), PropsText(instLists, parts), delay, high, low})
            .OwnStep()
            .End();
    }
    api->setTransaction(nullptr, true);
    if (!added || !edit.Commit()) return FALSE;
    for (const PinCell& cell : targets) SetTerminationCellText(cell.row, ColumnOf(cell.group, Layout().m_nTerminationOffset));
    MarkModified();
    journal.Write();
    return TRUE;
}
