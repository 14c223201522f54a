// Undo commands of the grid framework for changes that are not transactions of
// the design: a column sort and a pin comment. Running a command returns the
// grid to the recorded state and records the command for the opposite direction.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class CKXGridWnd;
class CComments;
class IKXGridSite;

// Writes a pin's comment into the comment store of the site's document (an empty text removes it) and
// marks the document modified; nothing without a site or a store.
void KXWritePinComment(IKXGridSite* site, const CString& instanceKey, const CString& pinKey, const CString& comment);

// An undo command of a change the design's transactions do not hold (a pin comment, a stored matrix view:
// both live in the design's comment store) names what it changes, as a transaction's change records name
// the design objects it touched. The windows of one design tell by these names whether a later step of
// another window built on a step, which then must not be taken back under it.
class IKXTouchedObjects {
public:
    virtual ~IKXTouchedObjects() = default;
    virtual std::set<std::string> TouchedObjects() const = 0;
};

// The names IKXTouchedObjects gives a pin's comment and a stored matrix view.
std::string KXPinCommentObject(const CString& instanceKey, const CString& pinKey);
std::string KXMatrixViewObject(const CString& view);

// Run-time class of the grid undo commands, so that a command list can be
// searched for them by kind.
#define KX_DECLARE_UNDO_COMMAND(class_name)                                                                  \
public:                                                                                                      \
    static CRuntimeClass* GetThisClass();                                                                    \
    virtual CRuntimeClass* GetRuntimeClass() const;                                                          \
    BOOL IsKindOf(const CRuntimeClass* pClass) const {                                                       \
        return GetRuntimeClass()->IsDerivedFrom(pClass);                                                     \
    }

// The names of the pin comment steps, as the undo history and the journal's headers give them: the
// session and a replay of its journal name each step alike, whichever road made it.
inline constexpr const char* kKXInsertCommentStep = "Insert Comment";
inline constexpr const char* kKXEditCommentStep = "Edit Comment";
inline constexpr const char* kKXDeleteCommentStep = "Delete Comment";
inline constexpr const char* kKXMoveCommentStep = "Preserve Pin Comment";

class CKXCommentUndoCmd : public CGXCommand, public IKXTouchedObjects {
    KX_DECLARE_UNDO_COMMAND(CKXCommentUndoCmd)

public:
    // stepName: the edit's name (kKXInsertCommentStep ...), which the command and its opposite keep.
    CKXCommentUndoCmd(CKXGridWnd* pGrid, const CString& instanceKey, const CString& pinKey,
                      const CString& oldComment, const CString& newComment, const CString& stepName);
    ~CKXCommentUndoCmd() override = default;

    CString GetName() override;
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;
    std::set<std::string> TouchedObjects() const override;

    CKXGridWnd* m_pGrid; // not owned
    // The pane whose document's store holds the comment: a comment outlives the grid that showed it.
    IKXGridSite* m_pSite; // not owned
    CString m_strInstanceKey;
    CString m_strPinKey;
    CString m_strOldComment; // text to return to
    CString m_strNewComment; // text the change produced
    CString m_strStepName;   // the name of the edit that made it
};

// A pin comment as the store keeps it; `present` is false for a key without one.
struct KXPinCommentEntry {
    bool present = false;
    CString text, date, time, user;
};

// One pin comment moved to other keys (the host renamed the pin or moved it to another component),
// as one undo entry: running it writes both keys back as they were, stamps included, and records the
// move again for the opposite direction.
class CKXPinCommentMoveCmd : public CGXCommand, public IKXTouchedObjects {
    KX_DECLARE_UNDO_COMMAND(CKXPinCommentMoveCmd)

public:
    struct Key {
        CString instance, pin;
    };
    // Moves the comment in the site's store (a comment the target had is replaced); null, with the
    // store as it was, when the source has no comment, both keys are one or the store refused.
    static std::unique_ptr<CKXPinCommentMoveCmd> Move(IKXGridSite& site, const Key& from, const Key& to);

    CString GetName() override;
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;
    std::set<std::string> TouchedObjects() const override;

private:
    CKXPinCommentMoveCmd(IKXGridSite* site, Key from, Key to)
        : m_pSite(site), m_from(std::move(from)), m_to(std::move(to)) {}

    IKXGridSite* m_pSite; // not owned
    Key m_from, m_to;
    KXPinCommentEntry m_writeFrom, m_writeTo; // what running the command writes
    KXPinCommentEntry m_nowFrom, m_nowTo;     // what the keys hold until then
};

class CKXSortUndoCmd : public CGXCommand {
    KX_DECLARE_UNDO_COMMAND(CKXSortUndoCmd)

public:
    // Made before the sort it takes back. From an unsorted grid it keeps the rows' order too (given, or
    // read from the grid now), which its undo puts the rows back to.
    CKXSortUndoCmd(CKXGridWnd* pGrid, int sortCol, BOOL bAscending, std::vector<CString> rowOrder = {});
    ~CKXSortUndoCmd() override = default;

    CString GetName() override;
    BOOL Execute(CGXGridCore* pGrid, GXCmdType ctType) override;
    // Made before a sort: whether the grid sorted since (its sort column or order moved), so that a sort
    // the grid refused leaves no step.
    bool GridSorted() const;
    // The opposite of a step takes the kind the step was made as (one grid, or grids side by side).
    void KeepKindOf(const CKXSortUndoCmd& made);

    CKXGridWnd* m_pGrid; // not owned
    int m_nSortCol;      // sort column before the sort (-1: unsorted)
    BOOL m_bAscending;   // order before the sort
    bool m_bAcrossGrids; // pin grids side by side, which sort together
    bool m_bGridGone = false; // its grid went: the step stays (as in a replay) and orders nothing
    CString m_strName;   // "Sort", or "Sort Columns" for grids side by side
    std::vector<CString> m_rowOrder; // unsorted before: the data rows' texts in their order then
};

// True when every command of an undo step only orders the rows of pin grids side by side (a sort by a
// header click, the menu or the word). Such a step changes no design and writes no journal line (no
// journal line shows several components side by side again), so its undo and redo journal none: a
// replayed Undo() would take back the user's edit before it. A sort of one grid journals as the click
// that makes it (the pane's SortByHeader).
bool KXIsViewOnlyStep(const std::vector<std::unique_ptr<CGXCommand>>& commands);
