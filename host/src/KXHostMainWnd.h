// The host's main window: the library sends it its echoed script commands,
// message texts, status texts and questions, and it answers at once.
#pragma once

#include "afx/afxdoc.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class CKXHostCore;

class CKXHostMainWnd : public CMDIFrameWnd {
public:
    explicit CKXHostMainWnd(CKXHostCore& core);
    BOOL CreateMain();

    // Opens a design that the library asks for (open mode, design name).
    std::function<void(int mode, const std::string& name)> m_onOpenDesign;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // What the host's model checker answers before a save: 1 no model errors (the save goes on), 0 errors.
    int ModelErrorAnswer() const { return m_nModelErrorAnswer; }
    void SetModelErrorAnswer(int answer) { m_nModelErrorAnswer = answer; }
    // The selections the windows published to the host's tools since the last call, one line each.
    std::vector<std::string> TakePublished();

private:
    CKXHostCore& m_core;
    UINT m_msgModelErrorStatus = 0;
    UINT m_msgDockWndStatus = 0;
    UINT m_msgShowDockWnd = 0;
    std::set<std::string> m_shownDocks; // docked windows the editor asked to show
    int m_nModelErrorAnswer = 1;
    std::vector<std::string> m_published;
};
