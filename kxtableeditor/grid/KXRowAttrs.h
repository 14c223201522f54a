// Typed user attributes of grid rows. A grid keeps what it knows about a row
// (object ids, bits, row kind, expand state) in user attributes of the row's
// cells; this is the one place that writes and reads them. A grid names each
// attribute once, with the type its value has:
//
//   inline constexpr KXAttr<int> kInstanceIndex{IDS_UA_INSTANCE_INDEX};
//   inline constexpr KXAttr<CString> kVectorBaseName{IDS_UA_VECTOR_BASENAME};
//   inline constexpr KXAttr<bool> kPowerPinRow{IDS_UA_POWER_PIN_ROW};
//
// While a row is filled, attributes go into the style that is written anyway:
//   kxattr::Put(style, kInstanceIndex, index);
// Afterwards a row is read (and patched) through KXRowAttrs:
//   KXRowAttrs attrs(*this, row);
//   const int index = attrs.Get(kPinNameCol, kInstanceIndex);   // 0 when missing
//   attrs.Set(kPinNameCol, kExpandState, 1);                     // no undo, no drawing
//
// Reading rules (the same for every grid): an int attribute reads as its number
// (a text attribute as the number it spells), 0 when missing; a bool is true
// when present and non-zero; a CString reads as the text, empty when missing.
// Has() is true when the attribute is present and not empty.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"

#include <cstdlib>
#include <type_traits>

template <class T> struct KXAttr {
    static_assert(std::is_same_v<T, int> || std::is_same_v<T, bool> || std::is_same_v<T, CString>,
                  "row attributes are int, bool or CString");
    UINT id;
};

namespace kxattr {

inline WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

// Each read below looks the attribute up once: an absent attribute reads as an empty one (no text,
// the number 0).

// Present and not empty.
inline bool Has(const CGXStyle& style, UINT id) {
    return !style.GetUserAttribute(Id(id)).IsEmpty();
}
template <class T> bool Has(const CGXStyle& style, KXAttr<T> attr) {
    return Has(style, attr.id);
}

inline CString Text(const CGXStyle& style, UINT id) {
    return style.GetUserAttributeText(Id(id));
}

inline int Number(const CGXStyle& style, UINT id) {
    return static_cast<int>(style.GetUserAttribute(Id(id)).GetDoubleValue());
}

template <class T> T Get(const CGXStyle& style, KXAttr<T> attr) {
    if constexpr (std::is_same_v<T, CString>)
        return Text(style, attr.id);
    else if constexpr (std::is_same_v<T, bool>)
        return Number(style, attr.id) != 0;
    else
        return Number(style, attr.id);
}

template <class T> CGXStyle& Put(CGXStyle& style, KXAttr<T> attr, const T& value) {
    if constexpr (std::is_same_v<T, bool>)
        return style.SetUserAttribute(Id(attr.id), value ? 1 : 0);
    else
        return style.SetUserAttribute(Id(attr.id), value);
}

} // namespace kxattr

// The attributes of one row of a grid.
class KXRowAttrs {
public:
    KXRowAttrs(CGXGridCore& grid, ROWCOL row) : m_grid(grid), m_row(row) {}

    // The composed style of the row's cell in col; empty outside the grid.
    CGXStyle Cell(ROWCOL col) const;

    template <class T> T Get(ROWCOL col, KXAttr<T> attr) const { return kxattr::Get(Cell(col), attr); }
    bool Has(ROWCOL col, UINT id) const { return kxattr::Has(Cell(col), id); }
    template <class T> bool Has(ROWCOL col, KXAttr<T> attr) const { return Has(col, attr.id); }
    // The raw text of any attribute (also those written as numbers).
    CString Text(ROWCOL col, UINT id) const { return kxattr::Text(Cell(col), id); }

    // Writes one attribute into the cell: grid undo off, read-only lock lifted, no drawing.
    template <class T> void Set(ROWCOL col, KXAttr<T> attr, const T& value) {
        CGXStyle style;
        kxattr::Put(style, attr, value);
        Write(col, style);
    }
    // Writes a composed style of attributes (and anything else) the same way.
    void Write(ROWCOL col, const CGXStyle& style);

    ROWCOL Row() const { return m_row; }

private:
    CGXGridCore& m_grid;
    ROWCOL m_row;
};
