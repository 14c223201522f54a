#include "grid/gxcommand.h"

#include "grid/gxcore.h"

std::unique_ptr<CGXCommand> CGXCommandList::RemoveTail()
{
    if (m_list.empty())
        return nullptr;
    auto p = std::move(m_list.back());
    m_list.pop_back();
    return p;
}

std::unique_ptr<CGXCommand> CGXCommandList::RemoveHead()
{
    if (m_list.empty())
        return nullptr;
    auto p = std::move(m_list.front());
    m_list.pop_front();
    return p;
}

void CGXCommandList::LimitTo(int nMax)
{
    if (nMax <= 0)
        return; // no limit
    while (GetCount() > nMax)
        m_list.pop_front();
}

// A group runs its commands in reverse order of recording: the most recent change is undone first.
// The commands each record their opposite through the grid, which collects them into the opposite group.
BOOL CGXBlockCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType)
{
    BOOL ok = TRUE;
    for (int i = m_list.GetCount() - 1; i >= 0; --i)
        if (!m_list.GetAt(i)->Execute(pGrid, ctType))
            ok = FALSE;
    return ok;
}
