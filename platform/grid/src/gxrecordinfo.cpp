#include "grid/gxrecordinfo.h"

#include <memory>
#include <set>

IMPLEMENT_DYNAMIC(CGXRecordInfoBeam, CWnd)
IMPLEMENT_DYNAMIC(CGXRecordInfoWnd, CWnd)

int CGXRecordInfoBeam::ButtonFromPoint(CPoint pt) const
{
    if (pt.x < 0 || m_nButtonWidth <= 0)
        return -1;
    return pt.x / m_nButtonWidth;
}

CGXRecordInfoWnd::CGXRecordInfoWnd() = default;

CGXRecordInfoWnd::~CGXRecordInfoWnd()
{
    if (m_bOwnBeam) {
        CGXRecordInfoBeam* beam = m_pBeam;
        m_pBeam = nullptr;
        if (beam && beam->GetSafeHwnd())
            beam->DestroyWindow();
        delete beam;
    }
}

BOOL CGXRecordInfoWnd::CreateCommon(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    if (!GetSafeHwnd()) {
        if (!pParent)
            return FALSE;
        if (!CWnd::Create(nullptr, nullptr, dwStyle | WS_CHILD, CRect(0, 0, 0, 0), pParent, nID))
            return FALSE;
    }
    if (!m_pBeam) {
        m_pBeam = new CGXRecordInfoBeam;
        m_bOwnBeam = TRUE;
    }
    if (!m_pBeam->GetSafeHwnd() &&
        !m_pBeam->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, m_nBeamWidth, m_nBeamHeight), this, 0))
        return FALSE;
    m_pBeam->SetRecordInfoWnd(this);
    return TRUE;
}

void CGXRecordInfoWnd::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    rect.bottom = std::max(rect.top, rect.bottom - m_nBeamHeight);
}

namespace {
std::unique_ptr<CGXAbstractRecordInfoWndInterface>& RecordInfoInterface()
{
    static std::unique_ptr<CGXAbstractRecordInfoWndInterface> p;
    return p;
}
std::set<const CWnd*>& AutoDeleteSet()
{
    static std::set<const CWnd*> s;
    return s;
}
} // namespace

void GXSetRecordInfoWndInterface(CGXAbstractRecordInfoWndInterface* pInterface)
{
    if (RecordInfoInterface().get() != pInterface)
        RecordInfoInterface().reset(pInterface);
}

CGXAbstractRecordInfoWndInterface* GXGetRecordInfoWndInterface() { return RecordInfoInterface().get(); }

void GXAddAutoDeleteWnd(CWnd* pWnd)
{
    if (pWnd)
        AutoDeleteSet().insert(pWnd);
}

BOOL GXRemoveAutoDeleteWnd(CWnd* pWnd) { return AutoDeleteSet().erase(pWnd) != 0; }
BOOL GXIsAutoDeleteWnd(const CWnd* pWnd) { return AutoDeleteSet().count(pWnd) != 0; }
