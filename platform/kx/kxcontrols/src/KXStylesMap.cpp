#include "kxcontrols/KXStylesMap.h"

#include "grid/gxstyle.h"

namespace {
// Each property state gets a look of its own so that a reader tells them apart: text colour and font style.
struct PropLook {
    const char* name;
    COLORREF text;
    bool italic;
    bool bold;
};
constexpr PropLook kLooks[CKXStylesMap::kPropStyleCount] = {
    {"KX Property", RGB(0, 0, 0), false, false},
    {"KX Property State 1", RGB(0, 0, 160), false, false},
    {"KX Property State 3", RGB(128, 128, 128), true, false},
    {"KX Property State 5", RGB(160, 0, 0), false, false},
    {"KX Property State 6", RGB(0, 120, 0), false, false},
    {"KX Property State 2 and 4", RGB(0, 0, 160), true, false},
    {"KX Property State 7", RGB(160, 0, 160), false, true},
    {"KX Property State 8", RGB(96, 96, 96), true, true},
};
} // namespace

void CKXStylesMap::CreateStandardStyles() {
    CGXStylesMap::CreateStandardStyles();
    if (m_wHeaderStyle) return;

    CGXStyle header;
    header.SetFont(CGXFont().SetFaceName("Tahoma").SetBold(FALSE)).SetInterior(RGB(212, 208, 200));
    m_wHeaderStyle = RegisterStyle("KX Header", header);

    WORD* ids[kPropStyleCount] = {&m_wPropStyleDefault, &m_wPropStyleState1,     &m_wPropStyleState3,
                                  &m_wPropStyleState5,  &m_wPropStyleState6,     &m_wPropStyleState2And4,
                                  &m_wPropStyleState7,  &m_wPropStyleState8};
    for (int i = 0; i < kPropStyleCount; ++i) {
        CGXStyle style;
        style.SetTextColor(kLooks[i].text).SetFont(CGXFont().SetItalic(kLooks[i].italic).SetBold(kLooks[i].bold));
        *ids[i] = RegisterStyle(kLooks[i].name, style);
    }
}

WORD CKXStylesMap::GetPropStyleId(int index) const {
    const WORD ids[kPropStyleCount] = {m_wPropStyleDefault, m_wPropStyleState1, m_wPropStyleState3,
                                       m_wPropStyleState5,  m_wPropStyleState6, m_wPropStyleState2And4,
                                       m_wPropStyleState7,  m_wPropStyleState8};
    return index >= 0 && index < kPropStyleCount ? ids[index] : 0;
}
