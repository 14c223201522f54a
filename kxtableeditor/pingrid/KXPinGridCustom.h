// The pin grid's custom property columns: a changeCustomColumn value written into the selected rows'
// objects (instance, pin or pin bit, net) in one transaction, the refusals of a value, and the journal
// that replays the change row by row.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "grid/gxtypes.h"

#include <vector>

class CKXInstanceDetailsGridWnd;

class KXPinGridCustom {
public:
    explicit KXPinGridCustom(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The instance a row belongs to (empty when none), one property value written into the rows (false
    // when a row refused it, with the message shown), the refusal of one cell's value, the property
    // written for one row, the journal of the rows it changed, and the commit or discard that ends the
    // change.
    CString CustomChangeRowInstance(ROWCOL row);
    bool WriteCustomValue(const CRowColArray& rows, int col, const CString& name, const CString& value,
                          CString* lines, bool& written);
    bool RefuseCustomValue(ROWCOL row, int col, const CString& name, const CString& text);
    bool AddCustomProperty(ROWCOL row, int type, const CString& name, const CString& text);
    CString CustomValueJournal(const std::vector<ROWCOL>& rows, int col, const CString& name,
                               const CString& text);
    BOOL EndCustomChange(bool began, bool written, const char* journal, const CString& lines);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
