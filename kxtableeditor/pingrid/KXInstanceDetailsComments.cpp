// Pin comments: kept in the document's comment store (not in the design),
// shown as an icon with the text as tool tip. The menu roads only collect the
// text and send a script command; the command comes back here and edits the
// store in one transaction and one undo step.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridComments.h"
#include "grid/KXScriptWords.h"

#include "grid/KXGridEdit.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridScopes.h"
#include "grid/KXGridUndo.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxcontrols/KXDialogs.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxnotes/CComments.h"
#include "rmx/schemautil.h"

#include <memory>
#include <vector>

using kxpingrid::Col;

namespace {

void SendScript(const CString& text, int replay) {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()),
                          replay == 1 ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------------------
// Keys, store and cells

CString CKXInstanceDetailsGridWnd::GetCommentPinKey(ROWCOL row) {
    CString key;
    const BOOL implicit = IsImplicitPowerPinRow(row, nullptr);
    if (IsDiffPairRow(row) && !implicit) {
        key.Format("%d", GetRowDiffPairConnId(row));
        return key;
    }
    if (implicit) {
        const CString name = GetValueRowCol(row, Col(m_nColPinName));
        const CString number = GetValueRowCol(row, Col(m_nColPinNumber));
        return name + "_" + number;
    }
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    return pin ? m_comments->CommentKeyOf(pin, msb, lsb) : key;
}

CString KXPinGridComments::CommentKeyOf(const IInstTerm* pin, int msb, int lsb) {
    if (pin->isScalar()) return pin->name();
    return msb == lsb ? CSchemaUtilities::vectorName(pin->name(), msb)
                      : CSchemaUtilities::vectorName(pin->name(), msb, lsb);
}

namespace {

CComments* Store(IKXGridSite* site) {
    return site ? site->CommentStore() : nullptr;
}

// The Comments cell of a pin without a comment: plain text, no tips.
CGXStyle NoCommentStyle() {
    CGXStyle style;
    style.SetControl(static_cast<WORD>(IDS_CTRL_STATIC_TEXT))
        .SetUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), "")
        .SetUserAttribute(static_cast<WORD>(IDS_UA_CELLTIP_TITLE), "");
    return style;
}

} // namespace

bool KXPinGridComments::FindPinComment(const CString& instanceName, const CString& pinKey, CGXStyle& style) {
    CComments* store = Store(m_grid.Site());
    CString text, date, time, user;
    if (!store || !store->getPinComments(instanceName, pinKey, text, date, time, user)) return false;
    CString title;
    title.Format("%s,%s  %s", user.GetString(), date.GetString(), time.GetString());
    style.SetControl(static_cast<WORD>(IDS_CTRL_COMMENTS_ICON))
        .SetUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), text)
        .SetUserAttribute(static_cast<WORD>(IDS_UA_CELLTIP_TITLE), title);
    return true;
}

void KXPinGridComments::FillCommentCell(ROWCOL row, CString pinKey) {
    CString instanceName;
    if (Store(m_grid.Site())) {
        const CInstanceContext instance = m_grid.GetRowInstance(row);
        if (!instance) return;
        instanceName = instance.name();
    }
    CGXStyle style;
    WriteCommentsCell(row, FindPinComment(instanceName, pinKey, style) ? style : NoCommentStyle());
}

void KXPinGridComments::WriteCommentsCell(ROWCOL row, const CGXStyle& style) {
    kxgrid::GridWriteScope write(m_grid, kxgrid::GridWriteScope::kLock);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColComments)), style, gxOverride, 0, GX_SMART);
}

void KXPinGridComments::FillRowComment(ROWCOL row) {
    CGXStyle base;
    base.SetValue("").SetControl(static_cast<WORD>(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
    WriteCommentsCell(row, base);
    if (m_grid.IsPowerPinRow(row))
        SetCommentCell(row); // the common comment of its pins
    else
        FillCommentCell(row, m_grid.GetCommentPinKey(row));
}

void KXPinGridComments::SetCommentCell(ROWCOL row) {
    CComments* store = Store(m_grid.Site());
    std::list<int> children;
    m_grid.GetChildRows(row, children, 0);
    CString common;
    bool all = store != nullptr && !children.empty();
    bool first = true;
    for (int child : children) {
        if (!all) break;
        const CInstanceContext instance = m_grid.GetRowInstance(static_cast<ROWCOL>(child));
        int msb = -1, lsb = -1;
        IInstTerm* pin = m_grid.GetRowInstTerm(static_cast<ROWCOL>(child), msb, lsb);
        if (!instance || !pin) continue;
        CString text, date, time, user;
        if (!store->getPinComments(instance.name(), pin->name(), text, date, time, user) ||
            (!first && text != common)) {
            all = false;
            break;
        }
        if (first) common = text;
        first = false;
    }
    // The icon form comes from the store itself through the first child's key.
    if (all && !first) {
        for (int child : children) {
            int msb = -1, lsb = -1;
            if (IInstTerm* pin = m_grid.GetRowInstTerm(static_cast<ROWCOL>(child), msb, lsb)) {
                const CInstanceContext instance = m_grid.GetRowInstance(static_cast<ROWCOL>(child));
                CGXStyle icon;
                if (FindPinComment(instance.name(), pin->name(), icon)) {
                    WriteCommentsCell(row, icon);
                    return;
                }
                break;
            }
        }
    }
    WriteCommentsCell(row, NoCommentStyle());
}

// ---------------------------------------------------------------------------
// Target rows and enable tests

namespace {

// The selected rows, power-pin groups and expanded implicit groups replaced by their children.
std::vector<ROWCOL> CommentTargets(CKXInstanceDetailsGridWnd* grid, CRowColArray& selected) {
    grid->GetSelectedRows(selected, FALSE, TRUE);
    CDWordArray rows;
    for (INT_PTR i = 0; i < selected.GetSize(); ++i)
        rows.Add(static_cast<DWORD>(selected[i]));
    int count = static_cast<int>(rows.GetSize());
    grid->ExpandRowArray(rows, count);
    grid->ExpandImplicitPowerPinRows(rows, count);
    std::vector<ROWCOL> out;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        out.push_back(static_cast<ROWCOL>(rows[i]));
    return out;
}

} // namespace

namespace {

enum class CommentTest { Insert, Edit, Delete };

BOOL CommentEnabled(CKXInstanceDetailsGridWnd* grid, CommentTest test) {
    IKXGridSite* site = grid->Site();
    if (!site) return TRUE;
    // Pin comments belong to the editable block and to a block opened within its parent.
    const EOpenMode mode = site->OpenMode();
    CComments* store = site->CommentStore();
    if ((mode != eOpenModeEditBlock && mode != eOpenModeInParent) || !store) return FALSE;
    CRowColArray selected;
    const std::vector<ROWCOL> rows = CommentTargets(grid, selected);
    if (test == CommentTest::Edit && selected.GetSize() != 1) return FALSE;
    for (ROWCOL row : rows) {
        if (row < PIN_FIRST_ROW || row > grid->GetRowCount()) return FALSE;
        const CInstanceContext instance = grid->GetRowInstance(row);
        CString text, date, time, user;
        const bool has = instance && store->getPinComments(instance.name(), grid->GetCommentPinKey(row), text,
                                                           date, time, user);
        if (has) return test == CommentTest::Insert ? FALSE : TRUE;
    }
    return test == CommentTest::Insert ? TRUE : FALSE;
}

} // namespace

BOOL CKXInstanceDetailsGridWnd::CanInsertComment() {
    return CommentEnabled(this, CommentTest::Insert);
}

BOOL CKXInstanceDetailsGridWnd::CanEditComment() {
    return CommentEnabled(this, CommentTest::Edit);
}

BOOL CKXInstanceDetailsGridWnd::CanDeleteComment() {
    return CommentEnabled(this, CommentTest::Delete);
}

// ---------------------------------------------------------------------------
// Edits

namespace {

// Journal lines of one comment edit: select the component and the pin's cell, then the call.
void JournalComment(CKXInstanceDetailsGridWnd* grid, ROWCOL row, const char* title, const char* method,
                    std::initializer_list<CString> args) {
    if (!KXJournalLines::IsRecording() || row == GX_INVALID || row > grid->GetRowCount()) return;
    KXJournalLines lines(KXJournalHandle(grid->Site(), grid->m_designContext));
    // A pin number list (a power-pin group) does not name one cell: the pin name does.
    grid->JournalAssocSelect(lines, row, "SelectSignalCol");
    // Each pin's call is an edit of its own on replay: a comment given to several pins is one step here.
    lines.Comment(title).Pane(method, args).OwnStep().End();
    lines.Write();
}

} // namespace

void KXPinGridComments::EndCommentStep(CKXGridEdit& edit, const CRowColArray& selected) {
    for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
        const ROWCOL row = selected[i];
        int group = 0;
        if (m_grid.IsPowerPinRow(row) ||
            (m_grid.IsImplicitPowerPinRow(row, &group) &&
             m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_EXPAND_STATE) == "1"))
            SetCommentCell(row);
    }
    edit.Commit();
}

bool KXPinGridComments::StorePinComment(CComments& store, ROWCOL row, const CString& text,
                                        const char* stepName) {
    const CInstanceContext instance = m_grid.GetRowInstance(row);
    const CString key = m_grid.GetCommentPinKey(row);
    if (!instance || key.IsEmpty()) return false;
    CString old, date, time, user;
    if (!store.getPinComments(instance.name(), key, old, date, time, user)) old.Empty();
    if (old == text) return false; // nothing changes: no step, no journal line
    m_grid.SetPinComment(instance.name(), key, old, text);
    CString now;
    if (!store.getPinComments(instance.name(), key, now, date, time, user)) now.Empty();
    if (now != text) return false; // the store refused it
    FillCommentCell(row, key);
    m_grid.AddCommand(new CKXCommentUndoCmd(&m_grid, instance.name(), key, old, text, stepName), gxDo);
    return true;
}

void CKXInstanceDetailsGridWnd::InsertComment(const char* textArg, int flag) {
    CComments* store = Store(Site());
    if (!store) return;
    CString text = textArg ? textArg : "";
    if (text.IsEmpty()) {
        CKXCommentsDlg dlg("", nullptr);
        CString command;
        if (dlg.DoModal() == IDOK) command = CString(KXScriptWord::addComment) + " pin " + KXTclQuote(dlg.GetText());
        SendScript(command, flag);
        return;
    }
    text.Trim();
    if (text.IsEmpty()) return;
    CRowColArray selected;
    const std::vector<ROWCOL> rows = CommentTargets(this, selected);
    // The comment store is written only when the edit has its step: nothing is changed otherwise.
    CKXGridEdit edit(*this, kKXInsertCommentStep);
    if (!edit) return;
    for (ROWCOL row : rows)
        if (m_comments->StorePinComment(*store, row, text, kKXInsertCommentStep))
            JournalComment(this, row, kKXInsertCommentStep, "InsertComment", {text});
    m_comments->EndCommentStep(edit, selected);
}

void CKXInstanceDetailsGridWnd::EditComment(const char* textArg, int flag) {
    CComments* store = Store(Site());
    if (!store) return;
    CRowColArray selected;
    const std::vector<ROWCOL> rows = CommentTargets(this, selected);
    CString text = textArg ? textArg : "";
    if (text.IsEmpty()) {
        // The text all rows share, or nothing.
        CString common;
        bool first = true;
        for (ROWCOL row : rows) {
            const CInstanceContext instance = GetRowInstance(row);
            CString t, date, time, user;
            if (!instance ||
                !store->getPinComments(instance.name(), GetCommentPinKey(row), t, date, time, user) ||
                (!first && t != common)) {
                common.Empty();
                break;
            }
            common = t;
            first = false;
        }
        CKXCommentsDlg dlg(common, nullptr);
        CString command;
        if (dlg.DoModal() == IDOK) command = CString(KXScriptWord::modifyComment) + " pin " + KXTclQuote(dlg.GetText());
        SendScript(command, flag);
        return;
    }
    text.Trim();
    // The comment store is written only when the edit has its step: nothing is changed otherwise.
    CKXGridEdit edit(*this, "Modify Comments");
    if (!edit) return;
    // A text of blanks alone deletes the comments: journalled as the delete it is, since an empty
    // EditComment() opens the dialog on replay, and named so that the replay's step reads the same.
    const char* step = text.IsEmpty() ? kKXDeleteCommentStep : kKXEditCommentStep;
    bool changed = false;
    for (ROWCOL row : rows)
        changed = m_comments->StorePinComment(*store, row, text, step) || changed;
    // Comments that say that already: no step, no journal line.
    if (changed) {
        for (INT_PTR i = 0; i < selected.GetSize(); ++i) {
            if (text.IsEmpty())
                JournalComment(this, selected[i], step, "DeleteComment", {});
            else
                JournalComment(this, selected[i], step, "EditComment", {text});
        }
    }
    m_comments->EndCommentStep(edit, selected);
}

void CKXInstanceDetailsGridWnd::RequestDeleteComment() {
    SendScript(CString(KXScriptWord::deleteComment) + " pin", 0);
}

void CKXInstanceDetailsGridWnd::DeleteComment() {
    CComments* store = Store(Site());
    if (!store) return;
    CRowColArray selected;
    const std::vector<ROWCOL> rows = CommentTargets(this, selected);
    // The comment store is written only when the edit has its step: nothing is changed otherwise.
    CKXGridEdit edit(*this, kKXDeleteCommentStep);
    if (!edit) return;
    for (ROWCOL row : rows)
        if (m_comments->StorePinComment(*store, row, CString(), kKXDeleteCommentStep))
            JournalComment(this, row, kKXDeleteCommentStep, "DeleteComment", {});
    m_comments->EndCommentStep(edit, selected);
}

void CKXInstanceDetailsGridWnd::RefreshCommentCells() {
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount(); ++row)
        m_comments->FillRowComment(row);
}
