// The descriptor of one grid column: shared by all grids of one kind, each
// kind keeps one class-wide array of them indexed by column number.
#pragma once

#include "afx/afxobj.h"
#include "afx/afxstr.h"

class CKXColumnInfoClass : public CObject {
public:
    CKXColumnInfoClass() = default;
    CKXColumnInfoClass(const CKXColumnInfoClass&) = default;
    CKXColumnInfoClass& operator=(const CKXColumnInfoClass&) = default;
    ~CKXColumnInfoClass() override = default;

    // Width kinds.
    enum { WidthNone = 0, WidthInChars = 1, WidthFixed = 2 };
    // Origins of the column (non-zero marks a custom property column).
    enum { Default = 0, InstProp = 1, PinProp = 2, NetProp = 3, User = 4 };

    int m_nColumn = -1;        // grid column number
    int m_nWidth = 0;          // width in pixels
    int m_nWidthType = 0;      // WidthInChars: scaled and draggable; WidthFixed: always m_nWidth
    CString m_strCaption;      // header and menu text; key when layouts are matched
    CString m_strPropertyName; // column key or the design property of a custom column
    int m_nPropertyType = 0;   // origin, see above
    int m_bShown = 1;          // 1 shown, 0 hidden (drawn with width 0)

    BOOL IsPropertyColumn() const { return m_nPropertyType != Default; }
};
