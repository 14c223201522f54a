// Calls of the design window on the list grids of the component and signal
// list panes. The operations that the list panes do not offer yet are left
// out: each call below does nothing (or answers the neutral value) until the
// list grid has the operation, and then forwards to it.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

// True when the grid made the row's cell current.
template <class G> bool KXHighlightRowCol(G* g, ROWCOL row, ROWCOL col) {
    if constexpr (requires { g->HighlightRowCol(row, col); })
        return g->HighlightRowCol(row, col) != FALSE;
    else
        return false;
}

// 1 = ready; a grid that does not tell is ready.
template <class G> int KXGetReadyState(G* g) {
    if constexpr (requires { g->GetReadyState(); })
        return g->GetReadyState();
    else
        return 1;
}

template <class G> void KXSelectionFollowUp(G* g) {
    if constexpr (requires { g->OnSelectionFollowUp(); }) g->OnSelectionFollowUp();
}

// Whether the list placed the master; a list that places none answers FALSE.
template <class G> BOOL KXAddInstanceFromStr(G* g, const char* text) {
    if constexpr (requires { g->AddInstanceFromStr(text); })
        return g->AddInstanceFromStr(text);
    else
        return FALSE;
}

template <class G> BOOL KXAddPhysicalInstanceFromStr(G* g, const char* text) {
    if constexpr (requires { g->AddPhysicalInstanceFromStr(text); })
        return g->AddPhysicalInstanceFromStr(text);
    else
        return FALSE;
}

template <class G> void KXRenameTableInstance(G* g, const CString& from, const CString& to) {
    if constexpr (requires { g->RenameTableInstance(from, to); }) g->RenameTableInstance(from, to);
}

template <class G> void KXAutoAssignModelToDiscretes(G* g) {
    if constexpr (requires { g->AutoAssignModelToDiscretes(); }) g->AutoAssignModelToDiscretes();
}

template <class G> void KXDeleteCurSelInstance(G* g, int flag) {
    if constexpr (requires { g->DeleteCurSelInstance(flag); })
        g->DeleteCurSelInstance(flag);
    else if constexpr (requires { g->DeleteCurSelInstance(); })
        g->DeleteCurSelInstance();
}

template <class G> void KXSetNamingConventionOnCopy(G* g, int value) {
    if constexpr (requires { g->SetNamingConventionOnCopy(value); }) g->SetNamingConventionOnCopy(value);
}

template <class S> void KXSetDrawingStyleAll(int style) {
    if constexpr (requires { S::SetDrawingStyleAll(style); }) S::SetDrawingStyleAll(style);
}
