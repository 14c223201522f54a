// Undo commands of the grid framework for changes that are not transactions of
// the design: a column sort and a pin comment. Running a command returns the
// grid to the recorded state and records the command for the opposite direction.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"

#include <memory>
#include <vector>

class CKXGridWnd;
class IKXGridSite;

// Writes a pin's comment into the comment store of the site's document (an empty text removes it) and
// marks the document modified; nothing without a site or a store.
void KXWritePinComment(IKXGridSite* site, const CString& instanceKey, const CString& pinKey, const CString& comment);

// Run-time class of the grid undo commands, so that a command list can be
// searched for them by kind.
#define KX_DECLARE_UNDO_COMMAND(class_name)                                                                  \
public:                                                                                                      \
    static CRuntimeClass* GetThisClass();                                                                    \
    virtual CRuntimeClass* GetRuntimeClass() const;                                                          \
    BOOL IsKindOf(const CRuntimeClass* pClass) const {                                                       \
        return GetRuntimeClass()->IsDerivedFrom(pClass);                                                     \
    }

class CKXCommentUndoCmd : public CGXCommand {
    KX_DECLARE_UNDO_COMMAND(CKXCommentUndoCmd)

public:
    CKXCommentUndoCmd(CKXGridWnd* pGrid, const CString& instanceKey, const CString& pinKey,
                      const CString& oldComment, const CString& newComment);
    ~CKXCommentUndoCmd() override = default;

    CString GetName() override;
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

    CKXGridWnd* m_pGrid; // not owned
    // The pane whose document's store holds the comment: a comment outlives the grid that showed it.
    IKXGridSite* m_pSite; // not owned
    CString m_strInstanceKey;
    CString m_strPinKey;
    CString m_strOldComment; // text to return to
    CString m_strNewComment; // text the change produced
};

class CKXSortUndoCmd : public CGXCommand {
    KX_DECLARE_UNDO_COMMAND(CKXSortUndoCmd)

public:
    CKXSortUndoCmd(CKXGridWnd* pGrid, int sortCol, BOOL bAscending);
    ~CKXSortUndoCmd() override = default;

    CString GetName() override;
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;

    CKXGridWnd* m_pGrid; // not owned
    int m_nSortCol;      // sort column before the sort (-1: unsorted)
    BOOL m_bAscending;   // order before the sort
};

// True when every command of an undo step only orders a grid's rows (a sort by a header click or the
// menu). Such a step changes no design and writes no journal line, so its undo and redo journal none:
// a replayed Undo() would take back the user's edit before it.
bool KXIsViewOnlyStep(const std::vector<std::unique_ptr<CGXCommand>>& commands);
