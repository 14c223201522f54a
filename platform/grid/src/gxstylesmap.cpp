#include "grid/gxstylesmap.h"

CGXStylesMap::CGXStylesMap() = default;
CGXStylesMap::~CGXStylesMap() = default;

void CGXStylesMap::CreateStandardStyles()
{
    if (!m_wStyleStandard) {
        CGXStyle s;
        s.SetValue("")
            .SetControl(GX_IDS_CTRL_EDIT)
            .SetReadOnly(FALSE)
            .SetEnabled(TRUE)
            .SetWrapText(TRUE)
            .SetAutoSize(FALSE)
            .SetHorizontalAlignment(DT_LEFT)
            .SetVerticalAlignment(DT_TOP)
            .SetTextColor(RGB(0, 0, 0))
            .SetInterior(CGXBrush(RGB(255, 255, 255)))
            .SetFont(CGXFont().SetFaceName("Arial").SetSize(10).SetBold(FALSE).SetItalic(FALSE).SetUnderline(FALSE))
            .SetBorders(gxBorderAll, CGXPen(PS_NULL, 0))
            .SetMergeCell(GX_MERGE_DISABLED)
            .SetDraw3dFrame(gxFrameNormal)
            .SetMaxLength(0)
            .SetChoiceList("");
        m_wStyleStandard = RegisterStyle("Standard", s, TRUE);
    }
    CGXStyle header;
    header.SetControl(GX_IDS_CTRL_HEADER)
        .SetHorizontalAlignment(DT_CENTER)
        .SetVerticalAlignment(DT_VCENTER)
        .SetInterior(CGXBrush(RGB(192, 192, 192)))
        .SetDraw3dFrame(gxFrameRaised)
        .SetWrapText(FALSE);
    if (!m_wStyleRowHeader)
        m_wStyleRowHeader = RegisterStyle("Row Header", header, TRUE);
    if (!m_wStyleColHeader)
        m_wStyleColHeader = RegisterStyle("Column Header", header, TRUE);
}

WORD CGXStylesMap::RegisterStyle(LPCTSTR pszName, const CGXStyle& style, BOOL bSystemStyle)
{
    CString name(pszName ? pszName : "");
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].name.CompareNoCase(name) == 0) {
            *m_styles[i].style = style;
            return static_cast<WORD>(i + 1);
        }
    }
    if (m_styles.size() >= 0xFFFE)
        return 0;
    m_styles.push_back(Entry{name, std::make_unique<CGXStyle>(style), bSystemStyle != FALSE});
    return static_cast<WORD>(m_styles.size());
}

WORD CGXStylesMap::GetBaseStyleId(LPCTSTR pszName) const
{
    for (size_t i = 0; i < m_styles.size(); ++i)
        if (m_styles[i].name.CompareNoCase(pszName ? pszName : "") == 0)
            return static_cast<WORD>(i + 1);
    return 0;
}

BOOL CGXStylesMap::LookupStyle(WORD wStyleId, CGXStyle*& pStyle) const
{
    if (wStyleId == 0 || wStyleId > m_styles.size()) {
        pStyle = nullptr;
        return FALSE;
    }
    pStyle = m_styles[wStyleId - 1u].style.get();
    return TRUE;
}

const CGXStyle* CGXStylesMap::LookupStyle(WORD wStyleId) const
{
    if (wStyleId == 0 || wStyleId > m_styles.size())
        return nullptr;
    return m_styles[wStyleId - 1u].style.get();
}

BOOL CGXStylesMap::GetStyleName(WORD wStyleId, CString& name) const
{
    if (wStyleId == 0 || wStyleId > m_styles.size())
        return FALSE;
    name = m_styles[wStyleId - 1u].name;
    return TRUE;
}

BOOL CGXStylesMap::IsSystemStyle(WORD wStyleId) const
{
    return wStyleId != 0 && wStyleId <= m_styles.size() && m_styles[wStyleId - 1u].system;
}

WORD CGXStylesMap::GetStyleIdAt(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_styles.size() ? static_cast<WORD>(index + 1) : 0;
}

void CGXStylesMap::AddUserAttribute(WORD nID, const CGXStyle* pStyle)
{
    m_userAttributes[nID] = std::make_unique<CGXStyle>(pStyle ? *pStyle : CGXStyle());
}

const CGXStyle* CGXStylesMap::GetUserAttributeStyle(WORD nID) const
{
    auto it = m_userAttributes.find(nID);
    return it == m_userAttributes.end() ? nullptr : it->second.get();
}
