// The pin grid's Comments column: the cells written from the design's comment store (a power-pin group
// row shows its pins' common comment), and a comment edit's store writes and its one undo step.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "grid/gxtypes.h"

class CComments;
class CGXStyle;
class CKXGridEdit;
class CKXInstanceDetailsGridWnd;
class IInstTerm;

class KXPinGridComments {
public:
    explicit KXPinGridComments(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The common comment of the child rows (a power-pin group row).
    void SetCommentCell(ROWCOL row);
    void FillCommentCell(ROWCOL row, CString pinKey);
    // The comment cell of a freshly filled row: read-only, showing the stored comment if any.
    void FillRowComment(ROWCOL row);
    // Ends a comment edit: the comment cells of the selected power-pin rows are refreshed and the
    // transaction is committed as one undo step.
    void EndCommentStep(CKXGridEdit& edit, const CRowColArray& selected);
    // Writes the comment of one row's pin (an empty text removes it), shown and undoable with the
    // comment it had; false when the row has no pin to keep a comment for.
    bool StorePinComment(CComments& store, ROWCOL row, const CString& text, const char* stepName);
    // The comment store's key of a pin row showing the bits msb..lsb of the pin.
    static CString CommentKeyOf(const IInstTerm* pin, int msb, int lsb);
    // Gives the style the comment icon form when the store has a comment of the pin; false when not.
    bool FindPinComment(const CString& instanceName, const CString& pinKey, CGXStyle& style);
    // Writes the Comments cell of the row (the grid's read-only lock lifted for the write).
    void WriteCommentsCell(ROWCOL row, const CGXStyle& style);

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
