// The grids' styles map: the library's standard styles, the list header style and the base styles of cells
// whose value comes from a property, one per property state.
#pragma once

#include "grid/gxstylesmap.h"

class CKXStylesMap : public CGXStylesMap {
public:
    CKXStylesMap() = default;

    // Registers the standard styles, then "KX Header" and the eight property-state styles (once).
    void CreateStandardStyles() override;

    // The property-state base styles, in this order (index 0..7 of GetPropStyleId).
    static constexpr int kPropStyleCount = 8;
    WORD GetPropStyleId(int index) const;

    WORD m_wHeaderStyle = 0;
    WORD m_wPropStyleDefault = 0;   // a value of its own (no state, or any state not below)
    WORD m_wPropStyleState1 = 0;    // state 1
    WORD m_wPropStyleState3 = 0;    // state 3
    WORD m_wPropStyleState5 = 0;    // state 5
    WORD m_wPropStyleState6 = 0;    // state 6
    WORD m_wPropStyleState2And4 = 0; // states 2 and 4
    WORD m_wPropStyleState7 = 0;    // state 7
    WORD m_wPropStyleState8 = 0;    // state 8
};
