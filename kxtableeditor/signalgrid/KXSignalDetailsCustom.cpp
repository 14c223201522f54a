// Custom property columns of the signal grid: an instance, pin or net property
// per column, filled with the row's value and the property's state; an edited
// cell is echoed to the host as changeCustomColumn, which comes back as
// ChangeCustomColumnValue and writes the values in one transaction.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXCustomColumns.h"
#include "grid/KXGridEdit.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxcontrols/KXStylesMap.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "kxsmall/CPQRedsDictionary.h"
#include "kxsmall/ISysObjectServer.h"
#include "rmx/packaging.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <memory>

using namespace kxsignal;

namespace {

constexpr KXAttr<int> kAttrPropState{IDS_UA_PROP_STATE};
constexpr int kStateReadOnly = 3; // shown, not editable (a row without the object)
constexpr int kStateHidden = 8;

// What a pin bit is used for: the name of its system object; empty when there is none.
CString PinUse(const CInstTermBitContext& bit) {
    ISysObjectServer* server = ISysObjectServer::GetSysObjectServer();
    char* name = server && bit ? server->GetSysObjectName(bit) : nullptr;
    const CString text = name ? name : "";
    if (name) server->FreeName(name);
    return text;
}

} // namespace

// ------------------------------------------------------------------ the row's objects

CInstanceContext CKXSignalDetailsGridWnd::RowInstance(ROWCOL row) {
    IInstance* instance = FindRowInstance(row);
    return instance && m_designContext ? m_designContext.instance(instance->id()) : CInstanceContext();
}

IInstTerm* CKXSignalDetailsGridWnd::RowPin(ROWCOL row, int& msb, int& lsb) {
    return GetInstTermOfRow(row, msb, lsb);
}

INet* CKXSignalDetailsGridWnd::RowNet(ROWCOL row, int& msb, int& lsb) {
    const CNetContext net = GetNetOfRow(row);
    if (!net) return nullptr;
    msb = net->msb();
    lsb = net->lsb();
    return net.net();
}

// ------------------------------------------------------------------ filling

CPQPropertyData* CKXSignalDetailsGridWnd::FindRowProperty(ROWCOL row, const CKXColumnInfoClass& info) {
    const char* name = info.m_strPropertyName.GetString();
    switch (info.m_nPropertyType) {
    case CKXColumnInfoClass::InstProp: {
        const CInstanceContext instance = RowInstance(row);
        return instance ? instance.findProperty(name, true) : nullptr;
    }
    case CKXColumnInfoClass::PinProp: {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
        if (!pin) return nullptr;
        const CInstTermContext term = RowInstance(row).instTerm(pin->id());
        return msb == lsb && msb != -1 ? term.bitContext(msb).findProperty(name, true) : term.findProperty(name, true);
    }
    case CKXColumnInfoClass::NetProp: {
        const CNetContext net = GetNetOfRow(row);
        return net ? net.findProperty(name, true) : nullptr;
    }
    default: return nullptr;
    }
}

void CKXSignalDetailsGridWnd::FillCustomCells(ROWCOL row) {
    for (const auto& [name, col] : Columns().PropertyColumns())
        FillCustomCell(row, col);
}

void CKXSignalDetailsGridWnd::FillCustomCell(ROWCOL row, int col) {
    const CKXColumnInfoClass* info = Columns().Find(col);
    if (!info || col <= 0 || static_cast<ROWCOL>(col) > GetColCount()) return;
    GridWriteScope scope(*this);
    const CString& name = info->m_strPropertyName;
    std::unique_ptr<CPQPropertyData> prop(FindRowProperty(row, *info));
    const bool hasObject = info->m_nPropertyType != CKXColumnInfoClass::PinProp || GetRowPinId(row) >= 0;
    // A constraint is shown, not edited here.
    const bool constraint = CPQRedsDictionary::GetDictionary()->IsConstraint(name, false);
    const int state = !hasObject || constraint ? kStateReadOnly
                                               : GetPropState(prop ? static_cast<int>(prop->source()) : 0, name);
    if (state == kStateHidden) return;
    CGXStyle style;
    style.SetValue(prop ? CString(prop->value()) : PhysicalPinValue(row, name)).SetWrapText(FALSE);
    style.SetReadOnly(state == kStateReadOnly ? TRUE : FALSE);
    if (const WORD base = PropStateStyle(state)) style.SetBaseStyle(base);
    kxattr::Put(style, kAttrPropState, state);
    WriteCell(row, col, style);
}

WORD CKXSignalDetailsGridWnd::PropStateStyle(int state) const {
    const auto* map = dynamic_cast<const CKXStylesMap*>(GetStylesMap());
    if (!map) return 0;
    switch (state) {
    case KX_PROP_REQUIRED:
    case KX_PROP_REQUIRED_INH: return map->m_wPropStyleState2And4;
    case KX_PROP_READONLY: return map->m_wPropStyleState3;
    case KX_PROP_DELETE_ONLY: return map->m_wPropStyleState5;
    case KX_PROP_OVERRIDDEN: return map->m_wPropStyleState7;
    default: return map->m_wPropStyleDefault;
    }
}

CString CKXSignalDetailsGridWnd::PhysicalPinValue(ROWCOL row, const CString& name) {
    // A packaged row of one pin number: the physical pin may carry the property.
    const CString number = CellText(row, m_nColPinNumber);
    CInstanceContext instance = RowInstance(row);
    if (number.IsEmpty() || number.Find(',') >= 0 || !instance) return CString();
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&m_designContext, &instance));
    std::unique_ptr<IPhysPin> pin(part ? part->getPhysPin(number.GetString()) : nullptr);
    if (!pin) return CString();
    if (name == "PINUSE") {
        int msb = -1, lsb = -1;
        IInstTerm* term = GetInstTermOfRow(row, msb, lsb);
        return term ? PinUse(instance.instTerm(term).bitContext(lsb)) : CString();
    }
    return pin->getProperty(name.GetString());
}

// ------------------------------------------------------------------ properties changed elsewhere

void CKXSignalDetailsGridWnd::RefreshRowStyles(const CString& property, int kind, int col, int row) {
    (void)kind; // the column's own origin says where the value lives
    const ROWCOL first = row < 0 ? kFirstDataRow : static_cast<ROWCOL>(row);
    const ROWCOL last = row < 0 ? GetRowCount() : static_cast<ROWCOL>(row);
    for (ROWCOL r = first; r <= last && r >= kFirstDataRow; ++r)
        if (GetRowPinId(r) >= 0 && FindRowInstance(r)) FillCustomCell(r, col);
    // What a pin is used for follows from its type and its models.
    if (property != "PINTYPE" && property != "PIN_SIGNAL_MODEL" && property != "SIGNAL_MODEL") return;
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(kCaptionRow, c) == "PINUSE") {
            RefreshRowStyles("PINUSE", kind, static_cast<int>(c), row);
            break;
        }
}

LRESULT CKXSignalDetailsGridWnd::OnObjectPropertyChanged(WPARAM wParam, LPARAM lParam) {
    const char* property = reinterpret_cast<const char*>(wParam);
    const char* path = reinterpret_cast<const char*>(lParam);
    IServer* server = CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer : m_designContext.server();
    if (!property || !path || !server) return 0;
    ISchemaObject* object = server->findObject(path);
    const int kind = dynamic_cast<IInstance*>(object) ? CKXColumnInfoClass::InstProp
                     : dynamic_cast<IInstTerm*>(object) ? CKXColumnInfoClass::PinProp
                     : dynamic_cast<INet*>(object)      ? CKXColumnInfoClass::NetProp
                                                        : -1;
    if (kind < 0) return 0;
    int col = -1;
    for (const auto& [name, c] : Columns().PropertyColumns())
        if (name == property) col = c;
    if (col > 0) RefreshRowStyles(property, kind, col, -1);
    return 0;
}

bool CKXSignalDetailsGridWnd::IsCustomColumn(int col) {
    const CKXColumnInfoClass* info = Columns().Find(col);
    return info && info->m_nPropertyType >= CKXColumnInfoClass::InstProp &&
           info->m_nPropertyType <= CKXColumnInfoClass::NetProp;
}

// ------------------------------------------------------------------ editing

BOOL CKXSignalDetailsGridWnd::ChangeCustomColumn(BOOL bClear, const CString& editedText) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const std::vector<ROWCOL> rows = SelectedDataRows();
    if (rows.empty() || !GetCurrentCell(row, col) || !IsCustomColumn(static_cast<int>(col))) return FALSE;
    const CString property = Columns().Find(static_cast<int>(col))->m_strPropertyName;
    CString values;
    if (!bClear) {
        // The edited text stands for every selected row, each a whole item of the list.
        CString value = editedText;
        value.Trim();
        value = KXValueListItem(value);
        for (size_t i = 0; i < rows.size(); ++i)
            values += (i ? "," : "") + value;
    }
    CString text;
    text.Format("%s pin -col %s -val %s", KXScriptWord::changeCustomColumn, KXTclQuote(property).GetString(),
                KXTclQuote(values).GetString());
    CWnd* main = AfxGetMainWnd();
    return main && main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) == 1;
}

BOOL CKXSignalDetailsGridWnd::ChangeCustomColumnValue(CMapStringToString& values) {
    const std::vector<ROWCOL> rows = SelectedDataRows();
    if (rows.empty()) return FALSE;
    if (!MayEdit()) return FALSE;
    CWaitCursor wait;
    KXCustomColumns custom(Columns(), *this);
    const std::map<CString, int> columns = custom.ByName();
    CKXGridEdit edit(*this, "Change Property", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    bool written = false;
    for (POSITION pos = values.GetStartPosition(); pos;) {
        CString name, value;
        values.GetNextAssoc(pos, name, value);
        const auto found = columns.find(name);
        if (found == columns.end()) continue;
        value = KXValueListFirst(value); // the rows' values are one and the same
        value.Trim();
        // The column goes before the value: a replay in another user's settings may have none of it.
        const CKXColumnInfoClass* info = Columns().Find(found->second);
        const CString column = info ? CKXColumnModel::EntryOf(*info, CharWidth()) : CString();
        for (ROWCOL r : rows) {
            CString old = CellText(r, found->second);
            old.Trim();
            if (value.CompareNoCase(old) != 0) {
                const int state = KXRowAttrs(*this, r).Get(Col(found->second), kAttrPropState);
                const KXCustomColumns::Verdict verdict = KXCustomColumns::Check(name, value, state);
                if (verdict != KXCustomColumns::Verdict::Ok) {
                    KXCustomColumns::Report(verdict, name, value);
                    return FALSE; // the bracket discards what this call wrote
                }
                if (custom.Write(*edit.Transaction(), m_designContext, r, found->second, name, value)) written = true;
            }
            // The row is named as the automation selects it, so that a replay writes the same cell.
            const CString netName = JournalNetName(r);
            journal.Call("Slp()", "Select", {netName.IsEmpty() ? CellText(r, m_nColSignalName) : netName})
                .Pane("SelectInstanceCol", {CellText(r, m_nColInstance), RowPinKey(r)})
                .Pane("AddPropColumn", {column})
                .Comment("Add Value in Customized Column")
                .Pane("ChangePropValue", {name, value})
                .End();
        }
    }
    if (!written || !edit.Commit()) return FALSE;
    journal.Write();
    MarkModified();
    for (ROWCOL r : rows)
        FillCustomCells(r);
    return TRUE;
}
