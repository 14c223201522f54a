// The user's hands on the design window: the list panes' selections and show requests, and the
// connectivity pane's grids driven as a user drives them (current cell, typing, keys, clicks, drops).
// A grid is reached through the pane's list-pane interface and the grid library's window, whose
// messages and virtual calls run the editor's common grid window and the grid kind's own handling,
// exactly as on screen.
#include "KXHostApp.h"
#include "KXHostKeys.h"
#include "KXHostMouse.h"
#include "KXHostText.h"
#include "KXJournalLine.h"

#include "afx/afx.h"
#include "afx/afxdisp.h"
#include "afx/afxdlg.h"
#include "afx/afxdoc.h"
#include "afx/afxole.h"
#include "grid/gxcontrol.h"
#include "grid/gxdroplist.h"
#include "grid/gxwnd.h"
#include "kxcommon/KXDocument.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include <tcl.h>

namespace {

using Args = std::vector<std::string>;
using namespace kxhost::keys;
using kxhost::FitsMouseMessage;
using kxhost::PointParam;

// ------------------------------------------------------------------ panes

template <class V> V* ViewOf(CDocument* doc) {
    if (!doc) return nullptr;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
        CView* view = doc->GetNextView(pos);
        if (view && view->IsKindOf(RUNTIME_CLASS(V))) return static_cast<V*>(view);
    }
    return nullptr;
}

CKXListPaneView* ListPane(CDocument* doc, const std::string& which, std::string& error) {
    const std::string w = KXHostLower(which);
    CKXListPaneView* pane = nullptr;
    if (w == "clp")
        pane = ViewOf<CKXInstancePaneContainerView>(doc);
    else if (w == "slp")
        pane = ViewOf<CKXSignalPaneContainerView>(doc);
    else {
        error = "the pane is clp, slp or ccp, not \"" + which + "\"";
        return nullptr;
    }
    if (!pane) error = "no design window is open";
    return pane;
}

// "NAME<BIT>": the bit of a vector net as a list pane names it.
bool SplitBit(const std::string& name, std::string& base, int& bit) {
    const size_t open = name.rfind('<');
    if (open == std::string::npos || open == 0 || name.back() != '>') return false;
    const std::string digits = name.substr(open + 1, name.size() - open - 2);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    base = name.substr(0, open);
    bit = std::atoi(digits.c_str());
    return true;
}

// ------------------------------------------------------------------ the grid under the hands

struct GridTarget {
    CFrameWnd* frame = nullptr;
    CView* view = nullptr;             // the connectivity pane
    CCommonInterface* pane = nullptr;  // its list-pane interface
    CGXGridWnd* grid = nullptr;        // the active grid (a common grid window of the editor)
    int index = -1;                    // its position among the shown grids
};

bool CheckCcp(const std::string& which, std::string& error) {
    if (KXHostLower(which) == "ccp") return true;
    error = "the grids are those of ccp, not \"" + which + "\"";
    return false;
}

bool PaneOf(CKXHostApp& app, GridTarget& t, std::string& error) {
    CDocument* doc = app.ActiveDocument();
    t.frame = app.ActiveFrame();
    t.view = CKXHostApp::PaneViewOf(doc);
    t.pane = t.view ? dynamic_cast<CCommonInterface*>(t.view) : nullptr;
    if (!t.pane) {
        error = "no design window is open";
        return false;
    }
    return true;
}

bool ActiveGrid(CKXHostApp& app, GridTarget& t, std::string& error) {
    if (!PaneOf(app, t, error)) return false;
    t.index = t.pane->GetActiveGridIndex();
    t.grid = t.pane->GetShownGridWnd(t.index);
    if (!t.grid) {
        error = "the connectivity pane shows no grid";
        return false;
    }
    return true;
}

// The active grid of the pane the word names (only ccp has grids).
bool CcpGrid(CKXHostApp& app, const std::string& which, GridTarget& t, std::string& error) {
    return CheckCcp(which, error) && ActiveGrid(app, t, error);
}

// A whole non-negative number, as a grid coordinate.
bool ParseCoordinate(const std::string& text, ROWCOL& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = static_cast<ROWCOL>(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

// A number of pixels, signed: "-24", "40".
bool ParseOffset(const std::string& text, int& value) {
    const std::string digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? text.substr(1) : text;
    ROWCOL magnitude = 0;
    if (!ParseCoordinate(digits, magnitude) || magnitude > 100000) return false;
    value = text[0] == '-' ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    return true;
}

bool ParseCell(CGXGridWnd* grid, const std::string& rowText, const std::string& colText, ROWCOL& row,
               ROWCOL& col, std::string& error) {
    if (!ParseCoordinate(rowText, row) || !ParseCoordinate(colText, col)) {
        error = "a cell is given by its row and column numbers, not \"" + rowText + " " + colText + "\"";
        return false;
    }
    const ROWCOL rows = grid->GetRowCount(), cols = grid->GetColCount();
    if (row > rows || col > cols) {
        error = "no cell " + rowText + "," + colText + " in the grid (rows 0 to " + std::to_string(rows) +
                ", columns 0 to " + std::to_string(cols) + ")";
        return false;
    }
    if (grid->IsRowHidden(row) || grid->IsColHidden(col)) {
        error = "cell " + rowText + "," + colText + " is hidden";
        return false;
    }
    return true;
}

// The middle of the cell in the grid's client coordinates (scrolled into view first).
bool CellPoint(CGXGridWnd* grid, ROWCOL row, ROWCOL col, CPoint& point, std::string& error) {
    grid->ScrollCellInView(row, col);
    const CRect rect = grid->CalcRectFromRowCol(row, col);
    if (rect.IsRectEmpty()) {
        error = "cell " + std::to_string(row) + "," + std::to_string(col) + " cannot be shown";
        return false;
    }
    point = rect.CenterPoint();
    if (!grid->GetGridRect().PtInRect(point)) {
        error = "cell " + std::to_string(row) + "," + std::to_string(col) + " lies outside the grid's window";
        return false;
    }
    return true;
}

// The hands go to the grid: the pointer is over `at` (a point of the grid, or nowhere), the pane
// becomes the frame's active view and the grid takes the focus, as a click into it does.
void HandsOn(GridTarget& t, const std::optional<CPoint>& at) {
    if (at) {
        CPoint screen = *at;
        t.grid->ClientToScreen(&screen);
        SetCursorPos(screen.x, screen.y);
    } else {
        SetCursorPos(-32000, -32000);
    }
    if (t.frame && t.frame->GetActiveView() != t.view) t.frame->SetActiveView(t.view);
    if (CWnd::GetFocus() != t.grid) t.grid->SetFocus();
}

// ------------------------------------------------------------------ automation

IDispatch* PaneDispatch(CKXHostApp& app, const std::string& which, std::string& error) {
    auto* doc = dynamic_cast<CKXDocument*>(app.ActiveDocument());
    IDispatch* disp =
        doc && doc->m_pKXDocInterface ? doc->m_pKXDocInterface->GetDocumentInterface() : nullptr;
    if (!disp) {
        error = "no design window is open";
        return nullptr;
    }
    const char* method = which == "clp" ? "Clp" : which == "slp" ? "Slp" : "ConnectivityPane";
    COleVariant result;
    HRESULT hr = AfxInvokeByName(disp, method, {}, &result);
    disp->Release();
    if (FAILED(hr) || result.vt != VT_DISPATCH || !result.pdispVal) {
        error = std::string("the design window has no ") + method + " object";
        return nullptr;
    }
    result.pdispVal->AddRef();
    return result.pdispVal;
}

// ------------------------------------------------------------------ commands

using kxhost::Fail;

// kx::select clp|slp NAME ?NAME ...? and kx::show clp|slp NAME ?NAME ...?: the list panes.
bool ListCommand(CKXHostApp& app, bool show, const Args& a, std::string& r) {
    CDocument* doc = app.ActiveDocument();
    std::string err;
    CKXListPaneView* pane = ListPane(doc, a[0], err);
    CKXListPaneGrid* list = pane ? pane->GetActiveList() : nullptr;
    if (!list) return Fail(r, err.empty() ? "the list pane shows no list" : err);
    const CDesignContext* design = pane->GetPaneDesignContext();
    const bool signals = KXHostLower(a[0]) == "slp";
    list->RemoveSelection();
    CKXNetBitContextArray bits;
    bool anyBit = false;
    std::vector<std::string> names(a.begin() + 1, a.end());
    for (const std::string& name : names) {
        if (list->SelectObject(name.c_str(), TRUE)) {
            if (signals && design) bits.Add(design->net(name.c_str()).bitContext(-1));
            continue;
        }
        std::string base;
        int bit = -1;
        CNetContext net;
        if (show && signals && design && SplitBit(name, base, bit)) net = design->net(base.c_str());
        INet* n = net.net();
        const bool vectorBit = n && n->msb() != n->lsb() &&
                               bit >= std::min(n->msb(), n->lsb()) && bit <= std::max(n->msb(), n->lsb());
        if (!vectorBit) return Fail(r, "no \"" + name + "\" in the list");
        bits.Add(net.bitContext(bit));
        anyBit = true;
    }
    r = "1";
    if (!show) return true;
    if (anyBit) {
        // A selection holding bus bits asks for the bits' connectivity in one request.
        CCommonInterface* details = pane->GetDetailsViewPtr();
        if (!details || !design) return Fail(r, "the list pane has no connectivity pane");
        details->ShowNetBitConnectivity(*design, &bits, TRUE);
    } else if (names.size() == 1) {
        list->OnLButtonDblClkRowCol(list->FindObjectRow(names[0].c_str()), 1, 0, CPoint(0, 0));
    } else {
        list->OnSelectionFollowUp(); // the selected objects, shown in one request
    }
    return true;
}

// kx::select ccp ROW COL ?ROW2 COL2?: the current cell and the selection, as a click makes them.
bool SelectCells(CKXHostApp& app, const Args& a, std::string& r) {
    GridTarget t;
    std::string err;
    if (a.size() != 3 && a.size() != 5) return Fail(r, "usage: kx::select ccp ROW COL ?ROW2 COL2?");
    ROWCOL row = 0, col = 0, row2 = 0, col2 = 0;
    if (!ActiveGrid(app, t, err) || !ParseCell(t.grid, a[1], a[2], row, col, err)) return Fail(r, err);
    if (a.size() == 5 && !ParseCell(t.grid, a[3], a[4], row2, col2, err)) return Fail(r, err);
    if (a.size() == 3) row2 = row, col2 = col;
    CPoint at;
    if (!CellPoint(t.grid, row, col, at, err)) return Fail(r, err);
    HandsOn(t, at);
    t.grid->SetSelection(nullptr);
    r = "0";
    if (!t.grid->SetCurrentCell(row, col)) return true;
    const CGXRange wanted(std::min(row, row2), std::min(col, col2), std::max(row, row2), std::max(col, col2));
    CGXRange range = wanted;
    // The grid's own selection rules decide; a range it would change is refused.
    if (!t.grid->CanChangeSelection(&range, FALSE, FALSE) || !(range == wanted)) return true;
    t.grid->SelectRange(range, TRUE, TRUE);
    t.grid->OnChangedSelection(&range, FALSE, FALSE);
    // The button is let go over the range's last cell, as a click or a drag ends: the grid tells the
    // host what is selected now.
    CPoint end;
    std::string hidden;
    if (CellPoint(t.grid, row2, col2, end, hidden)) t.grid->SendMessage(WM_LBUTTONUP, 0, PointParam(end));
    r = t.grid->IsCellSelected(row, col) ? "1" : "0";
    return true;
}

bool GridSelect(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() < 2) {
        r = "usage: kx::select clp|slp NAME ?NAME ...?, or kx::select ccp ROW COL ?ROW2 COL2?";
        return false;
    }
    if (KXHostLower(a[0]) == "ccp") return SelectCells(app, a, r);
    return ListCommand(app, false, a, r);
}

bool GridShow(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() < 2) {
        r = "usage: kx::show clp|slp ?-group? NAME ?NAME ...?";
        return false;
    }
    if (a[1] == "-group") return app.ShowGroup(a, r);
    return ListCommand(app, true, a, r);
}

// True when the grid's selection holds a row other than the current one: what is typed then goes
// to those rows too.
bool SelectsOtherRows(CGXGridCore* grid, ROWCOL row) {
    const CGXGridParam* param = grid->GetParam();
    const CGXRangeList* list = param ? param->GetRangeList() : nullptr;
    for (POSITION pos = list ? list->GetHeadPosition() : nullptr; pos;) {
        const CGXRange* range = list->GetNext(pos);
        if (range && (range->top != row || range->bottom != row)) return true;
    }
    return false;
}

// kx::edit ccp ROW COL TEXT: typing into a cell, ended with Enter.
bool GridEdit(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 4) return Fail(r, "usage: kx::edit ccp ROW COL TEXT");
    GridTarget t;
    std::string err;
    ROWCOL row = 0, col = 0;
    CPoint at;
    if (!CcpGrid(app, a[0], t, err) || !ParseCell(t.grid, a[1], a[2], row, col, err) ||
        !CellPoint(t.grid, row, col, at, err))
        return Fail(r, err);
    const std::string cell = a[1] + "," + a[2];
    HandsOn(t, at);
    r = "0";
    if (!t.grid->SetCurrentCell(row, col)) {
        app.Core().Print("edit refused: cell " + cell + " cannot become the current cell");
        return true;
    }
    CGXControl* control = t.grid->GetCurrentCellControl();
    if (!control || !control->OnStartEditing()) {
        // A read-only window's cells take no typing: the line says so, as the editor's refusals do.
        const auto* doc = dynamic_cast<CKXDocument*>(app.ActiveDocument());
        const bool readOnly = doc && doc->GetOpenMode() == eOpenModeContext;
        // The grid says why, when it can (its message shows; the line names its id).
        CString why;
        if (!readOnly) t.grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditWhyNot, reinterpret_cast<LPARAM>(&why));
        app.Core().Print("edit refused: cell " + cell + " takes no typing" +
                         (readOnly ? ": the window is read-only (open mode 2)" : why.IsEmpty() ? "" : ": " + why.str()));
        return true;
    }
    CString shown;
    control->GetCurrentText(shown);
    if (a[3].empty() && shown.IsEmpty() && !SelectsOtherRows(t.grid, row) &&
        !t.grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditEmptyChanges, 0)) {
        // Nothing typed into nothing: no edit to make.
        app.Core().Print("edit refused: cell " + cell + ": nothing changed");
        PressKey(t.grid, VK_ESCAPE);
        return true;
    }
    t.grid->SetWarningText("");
    t.grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditForget, 0);
    control->SetCurrentText(a[3].c_str());
    PressKey(t.grid, VK_RETURN);
    if (t.grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditRead, 0) == 2) {
        // The edit stopped at a dialog of its own that was cancelled: nothing changed.
        app.Core().Print("edit cancelled: cell " + cell + ": its dialog was cancelled, nothing changed");
        if (t.grid->GetCurrentCellControl() == control && control->IsActive()) PressKey(t.grid, VK_ESCAPE);
        r = "2";
        return true;
    }
    if (t.grid->GetCurrentCellControl() == control && control->IsActive()) {
        // The grid's validation kept the edit open: the text is dropped, as Escape drops it.
        const CString warning = t.grid->GetWarningText();
        app.Core().Print("edit refused: cell " + cell + (warning.IsEmpty() ? "" : ": " + warning.str()));
        PressKey(t.grid, VK_ESCAPE);
        return true;
    }
    if (CString refusal; t.grid->SendMessage(MSG_GRID_CELL_EDIT_RESULT, kCellEditRead,
                                             reinterpret_cast<LPARAM>(&refusal)) == 0) {
        // The grid took the text but the change it made was refused (by the design): the edit's result says so.
        app.Core().Print("edit refused: cell " + cell + ": " + refusal.str());
        return true;
    }
    r = "1";
    return true;
}

// kx::key ccp KEY ?MODIFIERS?: a key pressed on the active grid.
bool GridKey(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 2 && a.size() != 3) return Fail(r, "usage: kx::key ccp KEY ?MODIFIERS?");
    GridTarget t;
    std::string err;
    KeyStroke k;
    if (!CheckCcp(a[0], err) || !ParseKey(a[1], a.size() == 3 ? a[2] : "", k, err) ||
        !ActiveGrid(app, t, err))
        return Fail(r, err);
    HandsOn(t, std::nullopt);
    // The key answers as the work it started: a command or a key that refused or changed nothing is 0.
    bool disabled = false;
    const long answer = app.AnsweredStep([&] {
        if (const UINT command = AcceleratorCommand(k))
            disabled = !RunCommand(t.frame, command);
        else
            PressKeyInCell(t.grid, k);
    });
    if (disabled) {
        app.Core().Print("key " + a[1] + ": the command is disabled");
        r = "0";
        return true;
    }
    r = std::to_string(answer);
    return true;
}

// The button of a cell control a click kind names: "button" the first (a list's drop button, a
// termination's dialog button), "up" and "down" a spin cell's arrows.
CGXChild* CellButton(CGXControl& control, const std::string& how) {
    for (int i = 0; i < control.GetChildCount(); ++i) {
        CGXChild* child = control.GetChild(i);
        if (how == "button") return child;
        if (how == "up" && dynamic_cast<CGXUpArrowButton*>(child)) return child;
        if (how == "down" && dynamic_cast<CGXDownArrowButton*>(child)) return child;
    }
    return nullptr;
}

// A click's kind with the modifiers held during it: "left", "ctrl", "Shift+left", "ctrl+click".
bool ParseClick(const std::string& text, std::string& how, KeyStroke& held, std::string& error) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t plus = text.find('+', start);
        parts.push_back(
            KXHostLower(text.substr(start, plus == std::string::npos ? std::string::npos : plus - start)));
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    how = "left";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& w = parts[i];
        if (AddModifier(w, held)) continue;
        const bool kind = w == "left" || w == "click" || w == "double" || w == "right" || w == "button" ||
                          w == "up" || w == "down" || w == "border";
        if (!kind || i + 1 != parts.size()) {
            error = "a click is left, double, right, button, up, down or border, with ctrl, shift or alt "
                    "joined by \"+\", not \"" + text + "\"";
            return false;
        }
        how = w == "click" ? "left" : w;
    }
    return true;
}

// kx::click ccp ROW COL ?[MODIFIER+]left|double|right|button|up|down|border?
bool GridClick(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 3 && a.size() != 4)
        return Fail(r,
                    "usage: kx::click ccp ROW COL ?[ctrl+|shift+]left|double|right|button|up|down|border?");
    std::string how, err;
    KeyStroke held;
    if (!ParseClick(a.size() == 4 ? a[3] : "left", how, held, err)) return Fail(r, err);
    GridTarget t;
    ROWCOL row = 0, col = 0;
    CPoint at;
    if (!CcpGrid(app, a[0], t, err) || !ParseCell(t.grid, a[1], a[2], row, col, err) ||
        !CellPoint(t.grid, row, col, at, err))
        return Fail(r, err);
    HandsOn(t, at);
    CGXGridWnd* grid = t.grid;
    HWND hwnd = grid->GetSafeHwnd();
    // Ctrl and Shift named with the click are held down while the button is: the grid reads them from the
    // click and the keyboard. A plain click leaves the keyboard as it is.
    std::optional<HeldModifiers> down;
    if (held.ctrl || held.shift || held.alt) down.emplace(held);
    const WPARAM keys = (held.ctrl ? MK_CONTROL : 0) | (held.shift ? MK_SHIFT : 0);
    auto send = [&](UINT message, WPARAM flags, CPoint p) {
        if (CWnd::FromHandle(hwnd) == grid) grid->SendMessage(message, flags | keys, PointParam(p));
    };
    auto leftClick = [&](CPoint p) {
        send(WM_LBUTTONDOWN, MK_LBUTTON, p);
        send(WM_LBUTTONUP, 0, p);
    };
    if (how == "right") {
        send(WM_RBUTTONDOWN, MK_RBUTTON, at);
        send(WM_RBUTTONUP, 0, at);
    } else if (how == "double" || how == "border") {
        // A border double-click lands on the right edge of the cell (of a header row: the column's).
        const CPoint p = how == "border" ? CPoint(grid->CalcRectFromRowCol(row, col).right, at.y) : at;
        leftClick(p);
        send(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
        send(WM_LBUTTONUP, 0, p);
    } else if (how == "button" || how == "up" || how == "down") {
        // The cell is made current by a click at its left edge, away from the button the control draws
        // at its right: a click on the button itself would press it twice.
        const CRect cellRect = grid->CalcRectFromRowCol(row, col);
        if (!grid->IsCurrentCell(row, col)) leftClick(CPoint(cellRect.left + 1, at.y));
        CGXControl* control = grid->IsCurrentCell(row, col) ? grid->GetCurrentCellControl() : nullptr;
        CGXChild* child = control ? CellButton(*control, how) : nullptr;
        if (!child)
            return Fail(r, "cell " + a[1] + "," + a[2] + " has no " +
                               (how == "button" ? "button" : how + " arrow"));
        // A spin cell shows its arrows only while a bit number is selected; hidden, they lie outside.
        if (!cellRect.PtInRect(child->GetRect().CenterPoint()))
            return Fail(r, "the " + how + " arrow of cell " + a[1] + "," + a[2] +
                               " is not shown (no bit number is selected)");
        leftClick(child->GetRect().CenterPoint());
    } else if (ROWCOL hitRow = 0, hitCol = 0; grid->HitTest(at, &hitRow, &hitCol) == GX_HEADERHIT) {
        // A click on a column title sorts by the column: it answers as the sort, 0 when the grid refused it.
        r = std::to_string(app.AnsweredStep([&] { leftClick(at); }));
        return true;
    } else {
        leftClick(at);
    }
    r = "1";
    return true;
}

// kx::droplist ccp ?select N|choose N|cancel?: the list dropped from the current cell (its drop button,
// Alt+Down), used as the user uses it: its entries; an entry selected (the cell's text follows), an entry
// chosen (the list goes up, the text stays for Enter to store), or the list cancelled.
bool GridDropList(CKXHostApp& app, const Args& a, std::string& r) {
    const char* usage = "usage: kx::droplist ccp ?select N|choose N|cancel?";
    const std::string op = a.size() >= 2 ? KXHostLower(a[1]) : "";
    const bool indexed = op == "select" || op == "choose";
    if (a.empty() || (a.size() == 2 && op != "cancel") || (a.size() == 3 && !indexed) || a.size() > 3)
        return Fail(r, usage);
    GridTarget t;
    std::string err;
    if (!CheckCcp(a[0], err) || !ActiveGrid(app, t, err)) return Fail(r, err);
    auto* combo = dynamic_cast<CGXComboBox*>(t.grid->GetCurrentCellControl());
    CListBox* list = combo && combo->IsDroppedDown() ? GXGetDroppedList(combo) : nullptr;
    if (!list) {
        app.Core().Print("no list is dropped down from the current cell");
        r = a.size() == 1 ? "" : "0";
        return true;
    }
    if (a.size() == 1) {
        std::vector<std::string> entries;
        for (int i = 0; i < list->GetCount(); ++i) {
            CString text;
            list->GetText(i, text);
            entries.push_back(text.str());
        }
        r = KXHostTclList(entries);
        return true;
    }
    UINT message = GX_LIST_CANCELLED;
    if (indexed) {
        ROWCOL n = 0;
        if (!ParseCoordinate(a[2], n) || n < 1 || static_cast<int>(n) > list->GetCount())
            return Fail(r, "the list has no entry " + a[2] + " (it has " + std::to_string(list->GetCount()) +
                               ")");
        list->SetCurSel(static_cast<int>(n) - 1);
        message = op == "select" ? GX_LIST_SELCHANGE : GX_LIST_ENDED;
    }
    auto* edit = dynamic_cast<CWnd*>(combo);
    r = std::to_string(app.AnsweredStep([&] { edit->WindowProc(message, 0, 0); }));
    return true;
}

// kx::drag ccp ROW COL DX: the mouse drags the right edge of the cell's column (a column-title row's cell)
// by DX pixels: pressed on the edge, moved, let go.
bool GridDrag(CKXHostApp& app, const Args& a, std::string& r) {
    int dx = 0;
    if (a.size() != 4 || !ParseOffset(a[3], dx)) return Fail(r, "usage: kx::drag ccp ROW COL DX");
    GridTarget t;
    std::string err;
    ROWCOL row = 0, col = 0;
    CPoint at;
    if (!CcpGrid(app, a[0], t, err) || !ParseCell(t.grid, a[1], a[2], row, col, err) ||
        !CellPoint(t.grid, row, col, at, err))
        return Fail(r, err);
    HandsOn(t, at);
    CGXGridWnd* grid = t.grid;
    const CPoint edge(grid->CalcRectFromRowCol(row, col).right, at.y);
    const CPoint to(edge.x + dx, edge.y);
    // A mouse message carries a point in 16 bits a side: a drag that ends beyond it would arrive wrapped,
    // as a drag the other way.
    if (!FitsMouseMessage(to))
        return Fail(r, "kx::drag: the edge at x " + std::to_string(edge.x) + " moved by " + a[3] +
                           " ends at x " + std::to_string(to.x) + ", beyond what a mouse message carries (" +
                           kxhost::MouseRangeText() + ")");
    grid->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(edge));
    const bool tracking = grid->IsTracking();
    grid->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(to));
    grid->SendMessage(WM_LBUTTONUP, 0, PointParam(to));
    r = tracking ? "1" : "0";
    if (!tracking) app.Core().Print("the edge of column " + a[2] + " takes no drag there");
    return true;
}

// kx::drop clp component|part TEXT, kx::drop slp signal NAME: what the host's browsers drag, dropped on a list.
bool ListDrop(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 3) return Fail(r, "usage: kx::drop clp component|part TEXT, or kx::drop slp signal NAME");
    const std::string which = KXHostLower(a[0]), kind = KXHostLower(a[1]);
    const char* format = nullptr;
    if (which == "clp" && kind == "component") format = "COMPONENT_BROWSER_DROP_DATA";
    if (which == "clp" && kind == "part") format = "PHYSICAL_PART_FILTER_DROP_DATA";
    if (which == "slp" && kind == "signal") format = "SIGNAL_BROWSER_DROP_DATA";
    if (!format) return Fail(r, "the " + which + " list takes no \"" + a[1] + "\" drop");
    std::string err;
    CKXListPaneView* pane = ListPane(app.ActiveDocument(), a[0], err);
    CKXListPaneGrid* list = pane ? pane->GetActiveList() : nullptr;
    if (!list) return Fail(r, err.empty() ? "the list pane shows no list" : err);
    COleDataObject data;
    data.SetText(static_cast<CLIPFORMAT>(RegisterClipboardFormatA(format)), a[2].c_str());
    const AfxDropResult result = AfxDoDragDrop(list, data, CPoint(5, 5));
    // The signal list takes a browser's signal (the browser sees it taken) and adds nothing: no work done.
    const bool addsNothing = kind == "signal";
    if (!result.bDropped) app.Core().Print("drop refused by the list");
    else if (!result.bResult || addsNothing) app.Core().Print("drop taken, nothing added");
    r = result.bDropped && result.bResult && !addsNothing ? "1" : "0";
    return true;
}

// kx::drop ccp ROW COL signal|component NAME ?NAME ...?: what a list pane's drag carries, dropped on a cell.
bool GridDrop(CKXHostApp& app, const Args& a, std::string& r) {
    if (!a.empty() && KXHostLower(a[0]) != "ccp") return ListDrop(app, a, r);
    if (a.size() < 5) return Fail(r, "usage: kx::drop ccp ROW COL signal|component NAME ?NAME ...?");
    const std::string kind = KXHostLower(a[3]);
    if (kind != "signal" && kind != "component")
        return Fail(r, "a drop carries a signal or a component, not \"" + a[3] + "\"");
    if (kind == "signal" && a.size() != 5) return Fail(r, "a signal is dragged alone");
    GridTarget t;
    std::string err;
    ROWCOL row = 0, col = 0;
    CPoint at;
    if (!CcpGrid(app, a[0], t, err) || !ParseCell(t.grid, a[1], a[2], row, col, err) ||
        !CellPoint(t.grid, row, col, at, err))
        return Fail(r, err);
    // The payloads of the host's own views: a signal name, or instance names one per line.
    std::string text;
    for (size_t i = 4; i < a.size(); ++i)
        text += a[i] + (kind == "signal" ? "" : "\n");
    COleDataObject data;
    const UINT format =
        RegisterClipboardFormatA(kind == "signal" ? "SIGNAL_VIEW_DROP_DATA" : "INSTANCE_VIEW_DROP_DATA");
    data.SetText(static_cast<CLIPFORMAT>(format), text.c_str());
    CPoint screen = at;
    t.grid->ClientToScreen(&screen);
    SetCursorPos(screen.x, screen.y);
    const AfxDropResult result = AfxDoDragDrop(t.grid, data, at);
    if (!result.bDropped) app.Core().Print("drop refused by the grid");
    else if (!result.bResult) app.Core().Print("drop taken, nothing added");
    r = result.bDropped && result.bResult ? "1" : "0";
    return true;
}

// kx::grid ccp ?N?: the active grid, or which grid is active.
bool GridChoose(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 1 && a.size() != 2) return Fail(r, "usage: kx::grid ccp ?N|cell|selected?");
    GridTarget t;
    std::string err;
    if (!CheckCcp(a[0], err) || !PaneOf(app, t, err)) return Fail(r, err);
    const int count = t.pane->GetShownGridCount();
    if (a.size() == 2 && KXHostLower(a[1]) == "cell") {
        // Where a find, a key or a click left the active grid's current cell: "ROW COL", empty for none.
        if (!ActiveGrid(app, t, err)) return Fail(r, err);
        ROWCOL row = 0, col = 0;
        r = t.grid->GetCurrentCell(row, col) ? std::to_string(row) + " " + std::to_string(col) : std::string();
        return true;
    }
    if (a.size() == 2 && KXHostLower(a[1]) == "selected") {
        // The active grid's selected ranges, oldest first: "TOP LEFT BOTTOM RIGHT" each.
        if (!ActiveGrid(app, t, err)) return Fail(r, err);
        const CGXGridParam* param = t.grid->GetParam();
        const CGXRangeList* list = param ? param->GetRangeList() : nullptr;
        std::vector<std::string> ranges;
        for (POSITION pos = list ? list->GetHeadPosition() : nullptr; pos;) {
            const CGXRange* g = list->GetNext(pos);
            ranges.push_back(std::to_string(g->top) + " " + std::to_string(g->left) + " " +
                             std::to_string(g->bottom) + " " + std::to_string(g->right));
        }
        r = KXHostTclList(ranges);
        return true;
    }
    if (a.size() == 2) {
        ROWCOL n = 0;
        if (!ParseCoordinate(a[1], n) || n < 1 || static_cast<int>(n) > count)
            return Fail(r, "no grid \"" + a[1] + "\": the pane shows " + std::to_string(count) + " grid(s)");
        t.pane->SetActiveGridIndex(static_cast<int>(n) - 1);
        if (!ActiveGrid(app, t, err)) return Fail(r, err);
        HandsOn(t, std::nullopt);
        r = "1";
        return true;
    }
    if (!ActiveGrid(app, t, err)) return Fail(r, err);
    CString kind, title;
    t.pane->GetShownGridInfo(t.index, kind, title);
    r = KXHostTclList({kind.str(), title.str()});
    return true;
}

// kx::pane ?ccp|clp|slp? METHOD ?ARG ...?: a method of a pane's automation object.
bool GridPane(CKXHostApp& app, const Args& a, std::string& r) {
    size_t first = 0;
    std::string which = "ccp";
    if (!a.empty()) {
        const std::string w = KXHostLower(a[0]);
        if (w == "ccp" || w == "clp" || w == "slp") which = w, first = 1;
    }
    if (a.size() <= first) return Fail(r, "usage: kx::pane ?ccp|clp|slp? METHOD ?ARG ...?");
    std::string err;
    IDispatch* disp = PaneDispatch(app, which, err);
    if (!disp) return Fail(r, err);
    std::string usage;
    if (!CKXHostApp::MethodUsage(disp, "kx::pane " + which, a[first], usage)) {
        disp->Release();
        return Fail(r, usage);
    }
    std::vector<COleVariant> args;
    for (size_t i = first + 1; i < a.size(); ++i) {
        // "-array LIST": the list's values as one array of texts (CtrSelect's keys), as a journal's Array(...).
        if (a[i] == "-array" && i + 1 < a.size()) {
            int count = 0;
            const char** items = nullptr;
            if (Tcl_SplitList(nullptr, a[i + 1].c_str(), &count, &items) != TCL_OK) {
                disp->Release();
                return Fail(r, "-array takes a Tcl list, not \"" + a[i + 1] + "\"");
            }
            args.push_back(KXStringArrayVariant(std::vector<std::string>(items, items + count)));
            Tcl_Free(reinterpret_cast<char*>(items));
            ++i;
            continue;
        }
        args.emplace_back(a[i].c_str());
    }
    const size_t given = args.size();
    COleVariant result;
    HRESULT hr = AfxInvokeByName(disp, a[first].c_str(), std::move(args), &result);
    disp->Release();
    if (FAILED(hr)) return Fail(r, CKXHostApp::MethodCallFailure(usage, given, hr));
    r = result.vt == VT_EMPTY ? std::string() : AfxVariantToString(&result).str();
    return true;
}

// kx::window clp|slp|ccp: what the window shows; kx::window clp|slp selected: the list's selected names.
bool GridWindow(CKXHostApp& app, const Args& a, std::string& r) {
    const bool selected = a.size() == 2 && KXHostLower(a[1]) == "selected" && KXHostLower(a[0]) != "ccp";
    if (a.size() != 1 && !selected) return Fail(r, "usage: kx::window clp|slp|ccp, or kx::window clp|slp selected");
    CDocument* doc = app.ActiveDocument();
    if (KXHostLower(a[0]) == "ccp") {
        auto* pane = dynamic_cast<CCommonInterface*>(CKXHostApp::PaneViewOf(doc));
        if (!pane) return Fail(r, "no design window is open");
        r = pane->GetPaneText().str();
        return true;
    }
    std::string err;
    CKXListPaneView* pane = ListPane(doc, a[0], err);
    CKXListPaneGrid* list = pane ? pane->GetActiveList() : nullptr;
    if (!list) return Fail(r, err.empty() ? "the list pane shows no list" : err);
    std::vector<std::string> names;
    if (selected) {
        // The rows the user sees selected (the current row alone is not a selection).
        CRowColArray rows;
        list->GetSelectedRows(rows, FALSE, FALSE);
        for (int i = 0; i < rows.GetSize(); ++i)
            if (rows[i] >= 1 && static_cast<int>(rows[i]) <= list->GetObjectCount())
                names.push_back(list->GetObjectName(static_cast<int>(rows[i]) - 1).str());
    } else {
        for (int i = 0; i < list->GetObjectCount(); ++i)
            names.push_back(list->GetObjectName(i).str());
    }
    r = KXHostJoin(names, "\n");
    return true;
}

// ------------------------------------------------------------------ the header bar

// The bar a grid shows in its header rows (a window in the cell of row 0, column 1); NULL when none.
CWnd* HeaderBar(CGXGridWnd* grid) {
    auto* wrapper = grid ? dynamic_cast<CGXWndWrapper*>(grid->GetControl(0, 1)) : nullptr;
    CWnd* bar = wrapper ? wrapper->GetWnd() : nullptr;
    return bar && bar->GetSafeHwnd() ? bar : nullptr;
}

// One line per control of the bar: "ID KIND "TEXT"", a box's check state, a list's entries, and
// "hidden" or "disabled" when the user cannot reach it.
std::string HeaderText(CWnd* bar) {
    std::vector<std::string> lines;
    for (CWnd* w : bar->GetChildren()) {
        if (!w || !w->GetSafeHwnd() || w->GetDlgCtrlID() <= 0) continue;
        CString text;
        w->GetWindowText(text);
        std::string line = std::to_string(w->GetDlgCtrlID());
        if (auto* box = dynamic_cast<CButton*>(w)) {
            line += " box " + std::to_string(box->GetCheck()) + " " + KXHostTclList({text.str()});
        } else if (auto* list = dynamic_cast<CComboBox*>(w)) {
            std::vector<std::string> entries;
            for (int i = 0; i < list->GetCount(); ++i) {
                CString entry;
                list->GetLBText(i, entry);
                entries.push_back(entry.str());
            }
            line += " list " + KXHostTclList({text.str()}) + " " + KXHostTclList({KXHostTclList(entries)});
        } else {
            line += " text " + KXHostTclList({text.str()});
        }
        if (!w->IsWindowVisible()) line += " hidden";
        else if (!w->IsWindowEnabled()) line += " disabled";
        lines.push_back(line);
    }
    return KXHostJoin(lines, "\n");
}

// kx::header ccp ?click ID | choose TEXT | right?: the active grid's header bar as the user sees and uses it.
bool GridHeader(CKXHostApp& app, const Args& a, std::string& r) {
    const char* usage = "usage: kx::header ccp ?click ID | choose TEXT | right?";
    if (a.empty() || a.size() > 3) return Fail(r, usage);
    const std::string how = a.size() > 1 ? KXHostLower(a[1]) : std::string();
    if ((how == "right") != (a.size() == 2) && a.size() != 1) return Fail(r, usage);
    GridTarget t;
    std::string err;
    if (!CcpGrid(app, a[0], t, err)) return Fail(r, err);
    CWnd* bar = HeaderBar(t.grid);
    if (!bar) return Fail(r, "the active grid has no header bar");
    if (a.size() == 1) {
        r = HeaderText(bar);
        return true;
    }
    HandsOn(t, std::nullopt);
    if (how == "right") {
        CRect rect;
        bar->GetWindowRect(&rect);
        const CPoint at = rect.CenterPoint();
        bar->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar->GetSafeHwnd()), PointParam(at));
        r = "1";
        return true;
    }
    if (how == "click") {
        auto* box = dynamic_cast<CButton*>(bar->GetDlgItem(std::atoi(a[2].c_str())));
        if (!box || !box->IsWindowVisible() || !box->IsWindowEnabled())
            return Fail(r, "the header bar has no box " + a[2] + " to click");
        box->Click();
        r = "1";
        return true;
    }
    if (how == "choose") {
        for (CWnd* w : bar->GetChildren()) {
            auto* list = dynamic_cast<CComboBox*>(w);
            if (!list || !list->IsWindowVisible() || !list->IsWindowEnabled()) continue;
            const int index = list->FindStringExact(-1, a[2].c_str());
            if (index < 0) return Fail(r, "the header bar's list has no entry \"" + a[2] + "\"");
            list->ChooseItem(index);
            r = "1";
            return true;
        }
        return Fail(r, "the header bar shows no list");
    }
    return Fail(r, usage);
}

// ------------------------------------------------------------------ the keyboard focus

bool Within(const CWnd* w, const CWnd* outer) {
    for (; w && outer; w = w->GetParent())
        if (w == outer) return true;
    return false;
}

// Where the keyboard focus is, as the user sees it: "ccp grid N" (a shown grid, from 1), "ccp",
// "clp", "slp", "other" (a window outside the design window's panes) or "none".
std::string FocusName(CKXHostApp& app) {
    CWnd* focus = CWnd::GetFocus();
    if (!focus) return "none";
    CDocument* doc = app.ActiveDocument();
    GridTarget t;
    std::string err;
    if (PaneOf(app, t, err)) {
        for (int i = 0; i < t.pane->GetShownGridCount(); ++i)
            if (Within(focus, t.pane->GetShownGridWnd(i))) return "ccp grid " + std::to_string(i + 1);
        if (Within(focus, t.view)) return "ccp";
    }
    for (const char* list : {"clp", "slp"})
        if (Within(focus, ListPane(doc, list, err))) return list;
    return "other";
}

// kx::focus ?ccp ?N? | clp | slp?: where the focus is, or a click that hands it to the pane, a shown grid or
// a list.
bool GridFocus(CKXHostApp& app, const Args& a, std::string& r) {
    const std::string usage = "usage: kx::focus ?ccp ?N? | clp | slp?";
    if (a.empty()) {
        r = FocusName(app);
        return true;
    }
    std::string err;
    const std::string which = KXHostLower(a[0]);
    if ((which == "clp" || which == "slp") && a.size() == 1) {
        CKXListPaneView* list = ListPane(app.ActiveDocument(), which, err);
        if (!list) return Fail(r, err);
        // A click into the list makes it the window's active view, as into any view.
        if (CFrameWnd* frame = list->GetParentFrame(); frame && frame->GetActiveView() != list)
            frame->SetActiveView(list);
        list->SetFocus();
        r = "1";
        return true;
    }
    if (which != "ccp" || a.size() > 2) return Fail(r, usage);
    GridTarget t;
    if (!PaneOf(app, t, err)) return Fail(r, err);
    if (a.size() == 1) {
        // A click on the pane's background, outside its grids: the pane itself takes the focus.
        if (t.frame && t.frame->GetActiveView() != t.view) t.frame->SetActiveView(t.view);
        t.view->SetFocus();
        r = "1";
        return true;
    }
    const int count = t.pane->GetShownGridCount();
    ROWCOL n = 0;
    if (!ParseCoordinate(a[1], n) || n < 1 || static_cast<int>(n) > count)
        return Fail(r, "no grid \"" + a[1] + "\": the pane shows " + std::to_string(count) + " grid(s)");
    CWnd* grid = t.pane->GetShownGridWnd(static_cast<int>(n) - 1);
    if (t.frame && t.frame->GetActiveView() != t.view) t.frame->SetActiveView(t.view);
    grid->SetFocus();
    r = "1";
    return true;
}

// The grid of a word whose one argument is "ccp": false (the usage or the reason in r) otherwise.
bool OnlyCcpGrid(CKXHostApp& app, const Args& a, const char* usage, GridTarget& t, std::string& r) {
    if (a.size() != 1) return Fail(r, usage);
    std::string err;
    return CcpGrid(app, a[0], t, err) || Fail(r, err);
}

// kx::widths ccp: the width the active grid draws each of its columns with, from column 0 (the
// row numbers) on; 0 for a column the user does not see.
bool GridWidths(CKXHostApp& app, const Args& a, std::string& r) {
    GridTarget t;
    if (!OnlyCcpGrid(app, a, "usage: kx::widths ccp", t, r)) return false;
    std::vector<std::string> widths;
    for (ROWCOL c = 0; c <= t.grid->GetColCount(); ++c)
        widths.push_back(std::to_string(t.grid->IsColHidden(c) ? 0 : t.grid->GetColWidth(c)));
    r = KXHostJoin(widths, " ");
    return true;
}

// kx::scrollbars ccp: paints the active grid, as the screen does after it was invalidated, and tells
// which of its own scroll bars it shows then: "vertical horizontal", 1 shown, 0 hidden.
bool GridScrollBars(CKXHostApp& app, const Args& a, std::string& r) {
    GridTarget t;
    if (!OnlyCcpGrid(app, a, "usage: kx::scrollbars ccp", t, r)) return false;
    t.grid->SendMessage(WM_PAINT, 0, 0);
    r = std::string(t.grid->IsScrollBarShown(SB_VERT) ? "1" : "0") + " " +
        (t.grid->IsScrollBarShown(SB_HORZ) ? "1" : "0");
    return true;
}

// The words, each run by its function with the host.
struct SKXGridCommand {
    const char* name;
    bool (*run)(CKXHostApp& app, const Args& a, std::string& r);
};

const SKXGridCommand kGridCommands[] = {
    {"select", GridSelect},
    {"show", GridShow},
    {"edit", GridEdit},
    {"key", GridKey},
    {"click", GridClick},
    {"drag", GridDrag},
    {"droplist", GridDropList},
    {"drop", GridDrop},
    {"grid", GridChoose},
    {"pane", GridPane},
    {"window", GridWindow},
    {"header", GridHeader},
    {"focus", GridFocus},
    {"widths", GridWidths},
    {"scrollbars", GridScrollBars},
};

} // namespace

void CKXHostApp::RegisterGridCommands() {
    for (const SKXGridCommand& command : kGridCommands)
        m_core.RegisterHostCommand(command.name, [this, run = command.run](const Args& a, std::string& r) {
            return run(*this, a, r);
        });
}
