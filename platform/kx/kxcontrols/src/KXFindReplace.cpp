#include "kxcontrols/KXFindReplace.h"

#include <map>
#include <memory>

#include "afx/afxanswer.h"
#include "grid/gxcontrol.h"
#include "grid/gxcore.h"

namespace {

std::map<CWnd*, std::unique_ptr<CKXFindReplaceDlg>>& Dialogs() {
    static std::map<CWnd*, std::unique_ptr<CKXFindReplaceDlg>> dialogs;
    return dialogs;
}

CString Folded(const CString& s, BOOL bMatchCase) {
    CString r = s;
    if (!bMatchCase) r.MakeLower();
    return r;
}

BOOL IsTrue(const CString& v) { return v == "1" || v.CompareNoCase("true") == 0 ? TRUE : FALSE; }

} // namespace

CKXFindReplaceDlg::CKXFindReplaceDlg(std::vector<KXFindTarget> targets, void* pState, CWnd* pOwner, int nOptions)
    : m_targets(std::move(targets)), m_pState(pState), m_pOwner(pOwner), m_nOptions(nOptions) {}

BOOL CKXFindReplaceDlg::Matches(const CString& text, const CString& what, BOOL bMatchCase, BOOL bWholeCell) {
    if (what.IsEmpty()) return FALSE;
    CString t = Folded(text, bMatchCase), w = Folded(what, bMatchCase);
    return bWholeCell ? (t == w ? TRUE : FALSE) : (t.Find(w) >= 0 ? TRUE : FALSE);
}

CString CKXFindReplaceDlg::ReplaceIn(const CString& text, const CString& what, const CString& with, BOOL bMatchCase,
                                     BOOL bWholeCell) {
    if (!Matches(text, what, bMatchCase, bWholeCell)) return text;
    if (bWholeCell) return with;
    CString folded = Folded(text, bMatchCase), w = Folded(what, bMatchCase);
    CString result;
    int pos = 0;
    for (;;) {
        int hit = folded.Find(w, pos);
        if (hit < 0) break;
        result += text.Mid(pos, hit - pos);
        result += with;
        pos = hit + w.GetLength();
    }
    result += text.Mid(pos);
    return result;
}

BOOL CKXFindReplaceDlg::FindNext(LPCTSTR what, BOOL bMatchCase, BOOL bWholeCell) {
    m_strFind = what ? what : "";
    if (m_strFind.IsEmpty()) return FALSE;
    for (const KXFindTarget& t : m_targets) {
        CGXGridCore* grid = t.ppGrid ? *t.ppGrid : nullptr;
        if (!grid) continue;
        if (m_writeMatching)
            m_writeMatching(grid, t.nCol, [&](const CString& text) {
                return Matches(text, m_strFind, bMatchCase, bWholeCell) != FALSE;
            });
        const ROWCOL rows = grid->GetRowCount();
        if (t.nFirstRow == 0 || t.nFirstRow > rows || t.nCol > grid->GetColCount()) continue;
        ROWCOL curRow = GX_INVALID, curCol = GX_INVALID;
        ROWCOL start = t.nFirstRow;
        if (grid->GetCurrentCell(curRow, curCol) && curCol == t.nCol && curRow >= t.nFirstRow && curRow < rows)
            start = curRow + 1;
        const ROWCOL count = rows - t.nFirstRow + 1;
        for (ROWCOL i = 0; i < count; ++i) {
            ROWCOL r = t.nFirstRow + (start - t.nFirstRow + i) % count;
            if (!Matches(grid->GetValueRowCol(r, t.nCol), m_strFind, bMatchCase, bWholeCell)) continue;
            if (IsSearchable(grid, r)) {
                grid->SetCurrentCell(r, t.nCol);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CKXFindReplaceDlg::IsSearchable(CGXGridCore* grid, ROWCOL r) {
    if (!grid->IsRowHidden(r)) return TRUE;
    return m_reveal && m_reveal(grid, r) && !grid->IsRowHidden(r) ? TRUE : FALSE;
}

BOOL CKXFindReplaceDlg::ReplaceCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, const CString& text) {
    if (!grid->SetCurrentCell(row, col)) return FALSE;
    CGXControl* control = grid->GetCurrentCellControl();
    if (!control || control->IsReadOnly()) return FALSE;
    control->SetCurrentText(text);
    control->SetModify(TRUE);
    if (!grid->TransferCurrentCell(TRUE)) return FALSE;
    return grid->GetValueRowCol(row, col) == text ? TRUE : FALSE;
}

BOOL CKXFindReplaceDlg::ReplaceCurrent(LPCTSTR what, LPCTSTR with, BOOL bMatchCase, BOOL bWholeCell) {
    m_strFind = what ? what : "";
    m_strReplace = with ? with : "";
    BOOL replaced = FALSE;
    for (const KXFindTarget& t : m_targets) {
        CGXGridCore* grid = t.ppGrid ? *t.ppGrid : nullptr;
        ROWCOL r = GX_INVALID, c = GX_INVALID;
        if (!grid || !grid->GetCurrentCell(r, c) || c != t.nCol || r < t.nFirstRow) continue;
        CString value = grid->GetValueRowCol(r, c);
        if (Matches(value, m_strFind, bMatchCase, bWholeCell)) {
            replaced = ReplaceCell(grid, r, c, ReplaceIn(value, m_strFind, m_strReplace, bMatchCase, bWholeCell));
            break;
        }
    }
    FindNext(m_strFind, bMatchCase, bWholeCell);
    return replaced;
}

int CKXFindReplaceDlg::ReplaceAll(LPCTSTR what, LPCTSTR with, BOOL bMatchCase, BOOL bWholeCell) {
    m_strFind = what ? what : "";
    m_strReplace = with ? with : "";
    if (m_strFind.IsEmpty()) return 0;
    int changed = 0;
    m_nMatched = 0;
    for (const KXFindTarget& t : m_targets) {
        CGXGridCore* grid = t.ppGrid ? *t.ppGrid : nullptr;
        if (!grid || t.nFirstRow == 0 || t.nCol > grid->GetColCount()) continue;
        // The row count is read on every step: a validation may add or remove rows.
        for (ROWCOL r = t.nFirstRow; r <= grid->GetRowCount(); ++r) {
            if (grid->IsRowHidden(r)) continue;
            CString value = grid->GetValueRowCol(r, t.nCol);
            if (!Matches(value, m_strFind, bMatchCase, bWholeCell)) continue;
            ++m_nMatched;
            if (ReplaceCell(grid, r, t.nCol, ReplaceIn(value, m_strFind, m_strReplace, bMatchCase, bWholeCell)))
                ++changed;
        }
    }
    return changed;
}

BOOL CKXFindReplaceDlg::ShowFindReplaceDialog(BOOL bFind) {
    m_bFind = bFind;
    m_bVisible = TRUE;
    AfxDialogAnswer answer;
    BOOL ok = AfxGetAnswerQueue().TakeDialog("CKXFindReplaceDlg", answer);
    m_bVisible = FALSE;
    m_outcome = Outcome::NotAnswered;
    if (!ok) return FALSE;
    auto field = [&answer](const char* name) {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? CString() : it->second;
    };
    CString what = field("find"), with = field("replace"), action = field("action");
    BOOL matchCase = IsTrue(field("matchCase")), wholeCell = IsTrue(field("wholeCell"));
    BOOL done = FALSE;
    bool matched = false;
    if (action.CompareNoCase("replaceAll") == 0) {
        done = ReplaceAll(what, with, matchCase, wholeCell) > 0;
        matched = m_nMatched > 0;
    } else if (action.CompareNoCase("replace") == 0) {
        done = ReplaceCurrent(what, with, matchCase, wholeCell);
        matched = done || IsCurrentMatch(what, matchCase, wholeCell);
    } else {
        done = FindNext(what, matchCase, wholeCell);
        matched = done != FALSE;
    }
    m_outcome = matched ? Outcome::Found : Outcome::NotFound;
    return done;
}

BOOL CKXFindReplaceDlg::IsCurrentMatch(const CString& what, BOOL bMatchCase, BOOL bWholeCell) const {
    for (const KXFindTarget& t : m_targets) {
        CGXGridCore* grid = t.ppGrid ? *t.ppGrid : nullptr;
        ROWCOL r = GX_INVALID, c = GX_INVALID;
        if (grid && grid->GetCurrentCell(r, c) && c == t.nCol && r >= t.nFirstRow &&
            Matches(grid->GetValueRowCol(r, c), what, bMatchCase, bWholeCell))
            return TRUE;
    }
    return FALSE;
}

CKXFindReplaceDlg* KXImplementFindReplace(CGXGridCore** ppGrids, CStringArray* pCaptions, int nGrids,
                                          CArray<CPoint, CPoint>* pHeaderCells, CArray<CPoint, CPoint>* pFirstCells,
                                          void* pState, CWnd* pOwner, int nOptions) {
    if (!ppGrids || nGrids <= 0 || !pFirstCells || pFirstCells->GetSize() < nGrids) return nullptr;
    std::vector<KXFindTarget> targets;
    for (int i = 0; i < nGrids; ++i) {
        KXFindTarget t;
        t.ppGrid = &ppGrids[i];
        if (pCaptions && i < pCaptions->GetSize()) t.caption = pCaptions->GetAt(i);
        if (pHeaderCells && i < pHeaderCells->GetSize()) {
            CPoint h = pHeaderCells->GetAt(i);
            t.nHeaderRow = static_cast<ROWCOL>(h.x < 0 ? 0 : h.x);
            t.nHeaderCol = static_cast<ROWCOL>(h.y < 0 ? 0 : h.y);
        }
        CPoint f = pFirstCells->GetAt(i);
        if (f.x <= 0 || f.y < 0) return nullptr;
        t.nFirstRow = static_cast<ROWCOL>(f.x);
        t.nCol = static_cast<ROWCOL>(f.y);
        targets.push_back(t);
    }
    auto dlg = std::make_unique<CKXFindReplaceDlg>(std::move(targets), pState, pOwner, nOptions);
    CKXFindReplaceDlg* result = dlg.get();
    Dialogs()[pOwner] = std::move(dlg);
    return result;
}

void KXRemoveFindReplace(CWnd* pOwner) { Dialogs().erase(pOwner); }
