// KXCustomColumns: the custom property columns of a grid (customisation entries
// of origin INSTPROP, PINPROP or NETPROP). A column shows, and edits, one
// design property of the object a row stands for; the grid tells which object
// that is through an IKXRowObjects resolver, so the same code serves pin rows,
// signal rows and matrix cells.
//
//   class CKXMyGrid : public CKXGridWnd, private IKXRowObjects { ... RowInstance/RowPin/RowNet ... };
//
//   BOOL CKXMyGrid::ChangeCustomColumnValue(CMapStringToString& values) {
//       KXCustomColumns custom(Columns(), *this);
//       CKXGridEdit edit(*this, "Change Property", CKXGridEdit::kJoinOpen);
//       if (!edit) return FALSE;
//       for (each value, each selected row) {
//           if (custom.Check(name, text, state) != KXCustomColumns::Verdict::Ok) return FALSE;
//           custom.Write(*edit.Transaction(), row, col, name, text);
//       }
//       return edit.Commit();
//   }
#pragma once

#include "grid/KXColumnModel.h"

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "rmx/context.h"

#include <map>

class CTransaction;

// What a row of a grid stands for, for custom property columns.
class IKXRowObjects {
public:
    virtual ~IKXRowObjects() = default;
    // The instance of the row; empty when the row has none.
    virtual CInstanceContext RowInstance(ROWCOL row) = 0;
    // The pin of the row and its bits (msb == lsb != -1: one bit); NULL when the row has none.
    virtual IInstTerm* RowPin(ROWCOL row, int& msb, int& lsb) = 0;
    // The net of the row and its bits; NULL when the row has none.
    virtual INet* RowNet(ROWCOL row, int& msb, int& lsb) = 0;
};

class KXCustomColumns {
public:
    // Why a new value may not be written.
    enum class Verdict {
        Ok,
        DeleteOnly,      // the property may only be deleted ("Changed property is delete only...")
        EmptyNotAllowed, // the property cannot have an empty value
        Invalid,         // the value breaks the property's rules (message KXPROP-104)
    };
    // States of a property cell (the cell's IDS_UA_PROP_STATE attribute) that refuse values.
    static constexpr int kStateRequired = 2;
    static constexpr int kStateRequiredLocked = 4;
    static constexpr int kStateDeleteOnly = 5;

    KXCustomColumns(const CKXColumnModel& columns, IKXRowObjects& rows) : m_columns(columns), m_rows(rows) {}

    // Property name -> column; the lower column wins a shared name.
    std::map<CString, int> ByName() const { return m_columns.PropertyColumns(); }
    // TRUE when the grid has custom property columns and every name is the key of one.
    BOOL AreKnown(const CStringArray* names) const;
    // Whether text may become the value of the property in a cell of the given state.
    static Verdict Check(const CString& name, const CString& text, int cellState);
    // Tells the user why (message box or message id); nothing for Ok.
    static void Report(Verdict verdict, const CString& name, const CString& text);
    // Writes text as the property name of the row's object, the object chosen by the column's
    // origin (instance, pin or pin bit, net). FALSE when the row has no such object or the
    // transaction refused it.
    BOOL Write(CTransaction& transaction, const CDesignContext& design, ROWCOL row, int col, const CString& name,
               const CString& text) const;

private:
    const CKXColumnModel& m_columns;
    IKXRowObjects& m_rows;
};
