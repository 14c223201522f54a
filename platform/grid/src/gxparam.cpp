#include "grid/gxparam.h"

CGXGridParam::CGXGridParam() = default;
CGXGridParam::~CGXGridParam() = default;

void CGXGridParam::SetStylesMap(CGXStylesMap* pStylesMap, BOOL bMustDelete)
{
    if (m_ownedStylesMap && m_ownedStylesMap.get() != pStylesMap)
        m_ownedStylesMap.reset();
    m_pStylesMap = pStylesMap;
    if (bMustDelete && pStylesMap && m_ownedStylesMap.get() != pStylesMap)
        m_ownedStylesMap.reset(pStylesMap);
}
