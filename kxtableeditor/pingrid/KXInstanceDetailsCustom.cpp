// Writing custom property columns from the pane's changeCustomColumn command:
// one transaction for the whole call and a journal entry per row.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridCustom.h"

#include "grid/KXColumnModel.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"

#include "grid/KXScriptText.h"

#include "afx/afxanswer.h"
#include "afx/afxcoll.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

using G = CKXInstanceDetailsGridWnd;

// Property name -> column of the custom property columns; the lower column wins a shared name.
std::map<CString, int> CustomColumns() {
    std::map<CString, int> columns;
    for (std::size_t i = 1; i < G::m_arrColumnInfo.size(); ++i) {
        const CKXColumnInfoClass* info = G::m_arrColumnInfo[i];
        if (info && info->m_nPropertyType != 0) columns.emplace(info->m_strPropertyName, static_cast<int>(i));
    }
    return columns;
}

} // namespace

BOOL CKXInstanceDetailsGridWnd::AreColumnsKnown(CStringArray* names) {
    const std::map<CString, int> columns = CustomColumns();
    if (columns.empty()) return FALSE;
    BOOL known = TRUE;
    for (INT_PTR i = 0; names && i < names->GetSize(); ++i)
        if (!columns.count(names->GetAt(i))) known = FALSE;
    return known;
}

CString CKXInstanceDetailsGridWnd::CustomColumnKey(const CString& name) {
    if (name.IsEmpty()) return CString();
    const std::map<CString, int> columns = CustomColumns();
    if (columns.count(name)) return name;
    for (const auto& [key, index] : columns)
        if (G::m_arrColumnInfo[static_cast<std::size_t>(index)]->m_strCaption.CompareNoCase(name) == 0 ||
            key.CompareNoCase(name) == 0)
            return key;
    return CString();
}

BOOL CKXInstanceDetailsGridWnd::ChangePropValue(const CString& name, const CString& value) {
    const CString key = CustomColumnKey(name);
    if (key.IsEmpty()) return FALSE;
    CMapStringToString values;
    values.SetAt(key, KXValueListItem(value));
    return ChangeCustomColumnValue(values);
}

BOOL CKXInstanceDetailsGridWnd::ChangeCustomColumnValue(CMapStringToString& values) {
    CGXGridParam* param = GetParam();
    const BOOL bUndo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(TRUE);
    CRowColArray rows;
    if (GetSelectedRows(rows, FALSE, TRUE) == 0) {
        if (param) param->EnableUndo(bUndo);
        return FALSE;
    }
    CKXGridEdit::DiscardWaiting(); // an edit held open for another command does not take this one in
    const bool began = !CKXTransaction::IsTransactionStarted();
    if (began && !CKXTransaction::BeginTrans(this, m_designContext, "Change Property")) {
        if (param) param->EnableUndo(bUndo);
        return FALSE;
    }
    const std::map<CString, int> columns = CustomColumns();
    const char* journal = CKXShareGlobalData::m_bAutomation;
    bool written = false;
    bool refused = false;
    // The journal names the pin of each row before the change; it is written only for a change
    // that stands (not for one refused or not committed), so that a replay makes the same change.
    CString lines;
    for (POSITION pos = values.GetStartPosition(); pos && !refused;) {
        CString name, value;
        values.GetNextAssoc(pos, name, value);
        const auto found = columns.find(name);
        if (found == columns.end()) continue;
        value = KXValueListFirst(value); // the rows' values are one and the same
        refused = !m_custom->WriteCustomValue(rows, found->second, name, value, journal ? &lines : nullptr,
                                              written);
    }
    if (param) param->EnableUndo(bUndo);
    if (refused) {
        // A refusal leaves no half-done transaction of ours open.
        if (began) CKXTransaction::DiscardTrans(this);
        return FALSE;
    }
    return m_custom->EndCustomChange(began, written, journal, lines);
}

// The row's own instance, not the first row's: after a sort the first row may be a differential
// pair, which names no pin, and with several instances shown the rows belong to different ones.
CString KXPinGridCustom::CustomChangeRowInstance(ROWCOL row) {
    IDesign* design = m_grid.m_designContext ? m_grid.m_designContext.design() : nullptr;
    if (!design || row < PIN_FIRST_ROW || row > m_grid.GetRowCount()) return CString();
    int msb = -1, lsb = -1;
    IInstance* inst = nullptr;
    if (IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb)) inst = pin->instance();
    if (!inst) inst = m_grid.GetRowInstance(row).instance();
    return inst && design->findInstance(inst->id()) == inst ? CString(inst->name()) : CString();
}

bool KXPinGridCustom::WriteCustomValue(const CRowColArray& rows, int col, const CString& name,
                                       const CString& value, CString* lines, bool& written) {
    const int type = m_grid.m_arrColumnInfo[static_cast<std::size_t>(col)]->m_nPropertyType;
    CString text = value;
    text.Trim();
    std::vector<ROWCOL> changed;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        const ROWCOL row = rows[i];
        if (row < PIN_FIRST_ROW || row > m_grid.GetRowCount()) continue;
        if (text.CompareNoCase(m_grid.GetValueRowCol(row, static_cast<ROWCOL>(col))) == 0) continue;
        if (RefuseCustomValue(row, col, name, text)) return false;
        if (AddCustomProperty(row, type, name, text)) changed.push_back(row);
    }
    written = written || !changed.empty();
    if (lines) *lines += CustomValueJournal(changed, col, name, text);
    return true;
}

bool KXPinGridCustom::RefuseCustomValue(ROWCOL row, int col, const CString& name, const CString& text) {
    constexpr int kStateDeleteOnly = 5, kStateRequiredA = 4, kStateRequiredB = 2;
    const int state =
        std::atoi(m_grid.AttrText(row, static_cast<ROWCOL>(col), IDS_UA_PROP_STATE).GetString());
    if (state == kStateDeleteOnly && text.IsEmpty()) {
        AfxMessageBox("Changed property is delete only. Cannot modify.");
        return true;
    }
    if ((state == kStateRequiredA || state == kStateRequiredB) && text.IsEmpty()) {
        AfxMessageBox("Property cannot have empty value.");
        return true;
    }
    CString reason;
    if (!CKXGenUtils::ValidatePropValue(name, text, reason)) {
        CKXErrorHandler::MessageBoxOk("KXPROP-104", text, name);
        return true;
    }
    return false;
}

// The property of the row's instance (type 1), pin or pin bit (2) or net (3); true for a column of
// one of those types.
bool KXPinGridCustom::AddCustomProperty(ROWCOL row, int type, const CString& name, const CString& text) {
    constexpr int kInstanceProperty = 1, kPinProperty = 2, kNetProperty = 3;
    CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    int msb = -1, lsb = -1;
    switch (type) {
    case kInstanceProperty:
        if (transaction) transaction->addProperty(m_grid.GetRowInstance(row), name, text, 2, false);
        return true;
    case kPinProperty:
        if (IInstTerm* pin = m_grid.GetRowInstTerm(row, msb, lsb); pin && transaction) {
            const CInstTermContext context = m_grid.GetRowInstance(row).instTerm(pin->id());
            if (msb == lsb && msb != -1)
                transaction->addProperty(context.bitContext(msb), name, text, 2, false);
            else
                transaction->addProperty(context, name, text, 2, false);
            return true;
        }
        return false; // a row without a pin has no pin property to write
    case kNetProperty:
        if (INet* net = m_grid.GetRowNet(row, msb, lsb); net && transaction) {
            transaction->addProperty(m_grid.m_designContext.net(net->id()), name, text, 2, false);
            return true;
        }
        return false; // an open pin has no net to carry the property
    default:
        return false;
    }
}

// The rows the value went into, as the replay selects them: the rows of one component (each shown by
// the component list) selected together, the first by its pin and the others added to it, then one
// change of the value; one step on replay for each component.
CString KXPinGridCustom::CustomValueJournal(const std::vector<ROWCOL>& rows, int col, const CString& name,
                                            const CString& text) {
    if (rows.empty() || !KXJournalLines::IsRecording()) return CString();
    // The column comes before the value: a replay in another user's settings may have none of it.
    const CString entry = CKXColumnModel::EntryOf(*m_grid.m_arrColumnInfo[static_cast<std::size_t>(col)],
                                                  m_grid.AverageCharWidth());
    KXJournalLines lines(m_grid.JournalHandle());
    // A group's grid takes the rows there when each pin name finds its row first: the grid of a component
    // alone may fold or pair its rows otherwise.
    const bool inGroup = m_grid.m_bMultipleObjects && std::all_of(rows.begin(), rows.end(), [&](ROWCOL r) {
        const CString pinName = m_grid.GetValueRowCol(r, static_cast<ROWCOL>(m_grid.m_nColPinName));
        return pinName.IsEmpty() || m_grid.RowOfPinKey(pinName, CString()) == r;
    });
    for (size_t i = 0; i < rows.size();) {
        const CString instance = inGroup ? CString() : CustomChangeRowInstance(rows[i]);
        if (inGroup)
            m_grid.JournalShownObjects(lines);
        else if (!instance.IsEmpty())
            lines.Clp("Select", {instance});
        bool first = true;
        for (; i < rows.size() && (inGroup || CustomChangeRowInstance(rows[i]) == instance); ++i) {
            const CString pinName = m_grid.GetValueRowCol(rows[i], static_cast<ROWCOL>(m_grid.m_nColPinName));
            if (pinName.IsEmpty()) continue;
            lines.Pane(first ? "SelectPinNameCol" : "CtrSelectPinNameCol", {pinName});
            first = false;
        }
        lines.Pane("AddPropColumn", {entry}).Comment("Add Value in Customized Column");
        lines.Pane("ChangePropValue", {name, text}).End();
    }
    return lines.Text();
}

// Inside a caller's transaction the caller commits; our own is committed when something was
// written and discarded otherwise. The journal follows only a change that stands.
BOOL KXPinGridCustom::EndCustomChange(bool began, bool written, const char* journal, const CString& lines) {
    // Each row's value is a call of its own on replay: the undo of the change journals as many.
    auto writeJournal = [&] {
        if (journal) m_grid.WriteJournal(lines);
    };
    if (!began) {
        if (written) writeJournal();
        return written ? TRUE : FALSE;
    }
    if (!written) {
        // The cells hold the value already, or their rows have no object of the column's kind.
        CKXTransaction::DiscardTrans(&m_grid);
        CKXErrorHandler::MessageBoxOk("KXTABLE-267");
        return FALSE;
    }
    const BOOL committed = m_grid.CommitOwnTransaction(1, 1);
    if (committed) writeJournal();
    return committed;
}
