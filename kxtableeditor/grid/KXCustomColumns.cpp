#include "grid/KXCustomColumns.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/transaction.h"

namespace {
// Source flags of properties the grids write.
constexpr unsigned long kUserSource = 2;
} // namespace

BOOL KXCustomColumns::AreKnown(const CStringArray* names) const {
    const std::map<CString, int> columns = ByName();
    if (columns.empty()) return FALSE;
    BOOL known = TRUE;
    for (INT_PTR i = 0; names && i < names->GetSize(); ++i)
        if (!columns.count(names->GetAt(i))) known = FALSE;
    return known;
}

KXCustomColumns::Verdict KXCustomColumns::Check(const CString& name, const CString& text, int cellState) {
    if (cellState == kStateDeleteOnly && text.IsEmpty()) return Verdict::DeleteOnly;
    if ((cellState == kStateRequiredLocked || cellState == kStateRequired) && text.IsEmpty())
        return Verdict::EmptyNotAllowed;
    CString reason;
    if (!CKXGenUtils::ValidatePropValue(name, text, reason)) return Verdict::Invalid;
    return Verdict::Ok;
}

void KXCustomColumns::Report(Verdict verdict, const CString& name, const CString& text) {
    switch (verdict) {
    case Verdict::DeleteOnly: AfxMessageBox("Changed property is delete only. Cannot modify."); break;
    case Verdict::EmptyNotAllowed: AfxMessageBox("Property cannot have empty value."); break;
    case Verdict::Invalid: CKXErrorHandler::MessageBoxOk("KXPROP-104", text, name); break;
    case Verdict::Ok: break;
    }
}

BOOL KXCustomColumns::Write(CTransaction& transaction, const CDesignContext& design, ROWCOL row, int col,
                            const CString& name, const CString& text) const {
    const CKXColumnInfoClass* info = m_columns.Find(col);
    if (!info) return FALSE;
    switch (info->m_nPropertyType) {
    case CKXColumnInfoClass::InstProp: {
        const CInstanceContext instance = m_rows.RowInstance(row);
        return instance && transaction.addProperty(instance, name, text, kUserSource, false);
    }
    case CKXColumnInfoClass::PinProp: {
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_rows.RowPin(row, msb, lsb);
        if (!pin) return FALSE;
        const CInstTermContext context = m_rows.RowInstance(row).instTerm(pin->id());
        if (msb == lsb && msb != -1)
            return transaction.addProperty(context.bitContext(msb), name, text, kUserSource, false);
        return transaction.addProperty(context, name, text, kUserSource, false);
    }
    case CKXColumnInfoClass::NetProp: {
        int msb = -1, lsb = -1;
        INet* net = m_rows.RowNet(row, msb, lsb);
        return net && design && transaction.addProperty(design.net(net->id()), name, text, kUserSource, false);
    }
    default: return FALSE;
    }
}
