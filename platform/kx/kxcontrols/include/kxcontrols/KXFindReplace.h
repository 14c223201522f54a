// Find and replace over the text cells of one or more grids.
#pragma once

#include <functional>
#include <vector>

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "grid/gxtypes.h"

class CGXGridCore;
class CWnd;

// What one search covers: a grid, the column searched, its caption cell and its first data row.
struct KXFindTarget {
    CGXGridCore** ppGrid = nullptr; // the grid as the owner keeps it (it may change between searches)
    CString caption;
    ROWCOL nHeaderRow = 0, nHeaderCol = 0;
    ROWCOL nFirstRow = 1, nCol = 1;
};

// The find/replace "dialog" of a grid window. It is answered from the answer queue (class
// "CKXFindReplaceDlg") with the fields "find" (text), "replace" (text), "matchCase" and "wholeCell"
// ("1"/"0") and "action": "findNext" (default), "replace" (replaces the current match, then finds the
// next) or "replaceAll". Searches run down the search column of each grid from the row after the current
// cell, wrapping once; a match makes its cell current. Replacing goes through the cell's control and the
// grid's validation, as if the user had typed the new text, so read-only cells are never changed.
class CKXFindReplaceDlg {
public:
    CKXFindReplaceDlg(std::vector<KXFindTarget> targets, void* pState, CWnd* pOwner, int nOptions);
    CKXFindReplaceDlg(const CKXFindReplaceDlg&) = delete;
    CKXFindReplaceDlg& operator=(const CKXFindReplaceDlg&) = delete;

    // Shows the dialog for finding (TRUE) or replacing (FALSE) and runs the answered action. TRUE when the
    // dialog was answered and its action found (or replaced) something.
    BOOL ShowFindReplaceDialog(BOOL bFind);

    // What the last search came to: the dialog not answered (cancelled), a cell found (or replaced), or
    // no cell matching the text. The owner tells the user when nothing was found.
    enum class Outcome { NotAnswered, Found, NotFound };
    Outcome GetLastOutcome() const { return m_outcome; }

    // A grid may keep a row hidden only because it is folded away (a bit of a closed group). The owner's
    // hook opens what hides such a row and answers TRUE when the row shows; a matching row the hook leaves
    // hidden (or any hidden row without a hook) is not found.
    using RevealRow = std::function<BOOL(CGXGridCore* grid, ROWCOL row)>;
    void SetRevealRow(RevealRow reveal) { m_reveal = std::move(reveal); }
    // A grid may also keep no row at all for cells it folds away (the bits of a very wide group). Before a
    // search, the owner's hook is told the column and how a text matches, and writes the rows of the
    // folded cells that match, hidden ones the reveal hook can then open.
    using TextMatch = std::function<bool(const CString& text)>;
    using WriteMatchingRows = std::function<void(CGXGridCore* grid, ROWCOL col, const TextMatch& matches)>;
    void SetWriteMatchingRows(WriteMatchingRows write) { m_writeMatching = std::move(write); }

    BOOL FindNext(LPCTSTR what, BOOL bMatchCase = FALSE, BOOL bWholeCell = FALSE);
    // Replaces the match at the current cell (when it is one) and finds the next; TRUE when it replaced.
    BOOL ReplaceCurrent(LPCTSTR what, LPCTSTR with, BOOL bMatchCase = FALSE, BOOL bWholeCell = FALSE);
    // Number of cells changed.
    int ReplaceAll(LPCTSTR what, LPCTSTR with, BOOL bMatchCase = FALSE, BOOL bWholeCell = FALSE);

    BOOL IsFindMode() const { return m_bFind; }
    BOOL IsVisible() const { return m_bVisible; }
    CWnd* GetOwner() const { return m_pOwner; }
    void* GetState() const { return m_pState; }
    int GetOptions() const { return m_nOptions; }
    const std::vector<KXFindTarget>& GetTargets() const { return m_targets; }
    const CString& GetLastFind() const { return m_strFind; }
    const CString& GetLastReplace() const { return m_strReplace; }

    // Whether a cell text matches; with bWholeCell the whole text, otherwise any part of it.
    static BOOL Matches(const CString& text, const CString& what, BOOL bMatchCase, BOOL bWholeCell);
    // The text with every match replaced (the whole text when bWholeCell).
    static CString ReplaceIn(const CString& text, const CString& what, const CString& with, BOOL bMatchCase,
                             BOOL bWholeCell);

private:
    BOOL ReplaceCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, const CString& text);
    // Whether row r of the target is one the search may stop at: shown, or shown by the reveal hook.
    BOOL IsSearchable(CGXGridCore* grid, ROWCOL r);
    // Whether the current cell of a target is a match (a replace that found what it then refused).
    BOOL IsCurrentMatch(const CString& what, BOOL bMatchCase, BOOL bWholeCell) const;

    std::vector<KXFindTarget> m_targets;
    void* m_pState;
    CWnd* m_pOwner;
    int m_nOptions;
    BOOL m_bFind = TRUE;
    BOOL m_bVisible = FALSE;
    CString m_strFind;
    CString m_strReplace;
    Outcome m_outcome = Outcome::NotAnswered;
    RevealRow m_reveal;
    WriteMatchingRows m_writeMatching;
    int m_nMatched = 0; // cells the last ReplaceAll found, replaced or not
};

// Makes (or remakes) the find/replace dialog of pOwner over nGrids grids: ppGrids[i] is the address where the
// owner keeps grid i, captions[i] its caption, headerCells[i] (row, column) its caption cell and
// firstCells[i] (row, column) the first cell searched. The library owns the dialog until
// KXRemoveFindReplace(pOwner) or the end of the process. NULL when the arguments do not describe nGrids grids.
CKXFindReplaceDlg* KXImplementFindReplace(CGXGridCore** ppGrids, CStringArray* pCaptions, int nGrids,
                                          CArray<CPoint, CPoint>* pHeaderCells, CArray<CPoint, CPoint>* pFirstCells,
                                          void* pState, CWnd* pOwner, int nOptions);
void KXRemoveFindReplace(CWnd* pOwner);
