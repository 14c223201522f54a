// The pin grid's validation of a typed cell: a SIGNAL cell connects or disconnects the row's pin, a
// custom property cell goes to the host; FALSE keeps the caret in a refused cell.
#pragma once

#include "grid/gxtypes.h"
#include "rmx/hmtpi.h"

class CKXInstanceDetailsGridWnd;
class CGXControl;

class KXPinGridValidate {
public:
    explicit KXPinGridValidate(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The steps of a validated SIGNAL or custom cell.
    BOOL ValidateSignalCell(ROWCOL nRow, ROWCOL nCol);
    BOOL ValidateCustomCell(ROWCOL nRow, ROWCOL nCol);
    BOOL KeepStoredValue(CGXControl* control, ROWCOL nRow, ROWCOL nCol);
    BOOL RefuseCellEdit(CGXControl* control);
    BOOL ApplySignalThroughPane(CGXControl* control, ROWCOL nRow, ROWCOL nCol, const CString& text);
    BOOL ConnectTypedSignal(CGXControl* control, ROWCOL nRow, ROWCOL nCol, const CString& text);
    BOOL DisconnectTypedRow(CGXControl* control, ROWCOL nRow, ROWCOL nCol);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
