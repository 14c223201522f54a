// The design window's geometry under the user's hands: the main window resized, the splitter bars
// between the lists and the connectivity pane dragged, a list collapsed with the splitter's button,
// the separator between side-by-side grids dragged, and what sizes the panes and grids have then.
#include "KXHostApp.h"
#include "KXHostMainWnd.h"
#include "KXHostMouse.h"
#include "KXHostText.h"

#include "afx/afx.h"
#include "afx/afxdoc.h"
#include "grid/gxwnd.h"
#include "kxcontrols/KXSplitterWnd.h"
#include "kxinstsigpane/CommonInterface.h"

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;
using kxhost::Fail;
using kxhost::PointParam;

constexpr int kMaxSize = 32766; // the largest size a window takes

struct Splitters {
    CFrameWnd* frame = nullptr;
    CKXSplitterWnd* outer = nullptr; // the lists' column beside the connectivity pane
    CKXSplitterWnd* inner = nullptr; // the component list above the signal list
};

bool FindSplitters(CKXHostApp& app, Splitters& s, std::string& error) {
    s.frame = app.ActiveFrame();
    if (!s.frame || !app.ActiveDocument()) return Fail(error, "no design window is open");
    s.outer = dynamic_cast<CKXSplitterWnd*>(s.frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    s.inner = s.outer ? dynamic_cast<CKXSplitterWnd*>(s.outer->GetPane(0, 0)) : nullptr;
    if (!s.inner) return Fail(error, "the design window has no splitters");
    return true;
}

std::string Size(const CWnd* w) {
    if (!w || !w->IsVisibleFlag()) return "0x0";
    CRect r;
    w->GetWindowRect(&r);
    return std::to_string(r.Width()) + "x" + std::to_string(r.Height());
}

std::string PaneName(int row, int col, bool inner) {
    if (row < 0 || col < 0) return "none";
    if (inner) return row == 0 ? "clp" : "slp";
    return col == 1 ? "ccp" : "lists";
}

// The physical part grid's header bar, when the grid has one: where its Function list stands.
std::string HeaderLayout(CWnd* grid) {
    constexpr int kFunctionCombo = 9067, kFunctionLabel = 9068;
    for (CWnd* child : grid->GetChildren()) {
        CWnd* combo = child->GetDlgItem(kFunctionCombo);
        CWnd* label = child->GetDlgItem(kFunctionLabel);
        if (!combo || !label) continue;
        CRect c, l;
        combo->GetWindowRect(&c);
        child->ScreenToClient(&c);
        label->GetWindowRect(&l);
        child->ScreenToClient(&l);
        // On one line the list stands at the top beside the part's name; else on a second line.
        return std::string(c.top <= 1 ? "one line" : "two lines") + ", Function list at " + std::to_string(c.left) +
               "," + std::to_string(c.top) + ", bar " + Size(child);
    }
    return std::string();
}

// kx::panes: the sizes the user sees.
bool Panes(CKXHostApp& app, const Args& a, std::string& r) {
    if (!a.empty()) return Fail(r, "usage: kx::panes");
    Splitters s;
    if (!FindSplitters(app, s, r)) return false;
    int first = 0, second = 0, row = -1, col = -1, which = 0;
    s.inner->GetPaneSize(first, second);
    r = "window " + Size(s.frame) + "\nclp " + Size(s.inner->GetPane(0, 0)) + "\nslp " + Size(s.inner->GetPane(1, 0)) +
        "\nccp " + Size(s.outer->GetPane(0, 1)) + "\nstored " + std::to_string(first) + " " + std::to_string(second);
    r += "\ncollapsed ";
    r += !s.inner->GetSplitterStatus(which) ? "none" : which ? "clp" : "slp";
    s.outer->GetHighlightedPane(row, col);
    r += "\nhighlight " + PaneName(row, col, false);
    s.inner->GetHighlightedPane(row, col);
    r += " " + PaneName(row, col, true);
    auto* pane = dynamic_cast<CCommonInterface*>(CKXHostApp::PaneViewOf(app.ActiveDocument()));
    for (int i = 0; pane && i < pane->GetShownGridCount(); ++i) {
        CGXGridWnd* grid = pane->GetShownGridWnd(i);
        if (!grid) continue;
        grid->SendMessage(WM_PAINT, 0, 0); // the screen paints what was resized
        r += "\ngrid " + std::to_string(i + 1) + " " + Size(grid);
        const std::string header = HeaderLayout(grid);
        if (!header.empty()) r += "\n  header " + header;
    }
    return true;
}

// A window the user takes hold of (a frame's border, a splitter's bar) takes the focus from the window
// that holds it, which ends a cell's edit there as the focus leaves, and gives it back when let go.
class FocusTaken {
public:
    explicit FocusTaken(CWnd& taker) : m_taker(taker) {
        CWnd* focus = CWnd::GetFocus();
        m_had = focus && focus != &taker ? focus->m_hWnd : nullptr;
        if (m_had) taker.SetFocus();
    }
    ~FocusTaken() {
        if (!m_had || CWnd::GetFocus() != &m_taker) return;
        if (CWnd* had = CWnd::FromHandle(m_had)) had->SetFocus();
    }
    FocusTaken(const FocusTaken&) = delete;
    FocusTaken& operator=(const FocusTaken&) = delete;

private:
    CWnd& m_taker;
    HWND m_had = nullptr;
};

// kx::resize W H: the user resizes the main window; the design windows, maximised, follow it.
bool Resize(CKXHostApp& app, const Args& a, std::string& r) {
    int w = 0, h = 0;
    if (a.size() != 2 || !CKXHostApp::ParseNumber(a[0], w) || !CKXHostApp::ParseNumber(a[1], h) || w < 1 ||
        h < 1 || w > kMaxSize || h > kMaxSize)
        return Fail(r, "usage: kx::resize WIDTH HEIGHT (pixels, 1 to 32766)");
    CKXHostMainWnd* main = app.MainWnd();
    if (!main) return Fail(r, "the host has no main window");
    CRect now;
    main->GetWindowRect(&now);
    if (now.Width() == w && now.Height() == h) {
        app.Core().Print("the main window is " + a[0] + "x" + a[1] + " already");
        r = "0";
        return true;
    }
    // The user takes the main window's frame.
    const FocusTaken taken(*main);
    main->MoveWindow(now.left, now.top, w, h);
    // The design windows are maximised in the main window: they fill its new inside.
    CRect inside;
    main->GetClientRect(&inside);
    const std::vector<CWnd*> children = main->GetChildren();
    for (CWnd* child : children)
        if (child->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && child->IsZoomed()) child->MoveWindow(&inside);
    r = "1";
    return true;
}

// A press on the splitter's bar and a release at `to` (the bar's new top or left edge), which lies in
// the splitter's window: from its first edge to where the bar ends at the last.
long DragBar(CKXHostApp& app, CKXSplitterWnd& splitter, int to) {
    CRect bar;
    if (!splitter.GetBarRect(bar) || splitter.GetCollapsedPane() >= 0) {
        app.Core().Print("the splitter shows no bar to drag: a pane is collapsed");
        return 0;
    }
    const bool rows = splitter.GetRowCount() >= 2;
    CRect client;
    splitter.GetClientRect(&client);
    const int last = rows ? client.Height() - bar.Height() : client.Width() - bar.Width();
    if (to < 0 || to > last) {
        app.Core().Print("the bar stays where it was: its " + std::string(rows ? "top" : "left") +
                         " edge goes from 0 to " + std::to_string(last) + " in its window, not to " +
                         std::to_string(to));
        return 0;
    }
    const CPoint press = bar.CenterPoint();
    CPoint release = press;
    (rows ? release.y : release.x) += to - (rows ? bar.top : bar.left);
    int before = 0, min = 0;
    if (rows)
        splitter.GetRowInfo(0, before, min);
    else
        splitter.GetColumnInfo(0, before, min);
    const FocusTaken taken(splitter);
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(press));
    if (!splitter.IsTracking()) return 0;
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(release));
    splitter.SendMessage(WM_LBUTTONUP, 0, PointParam(release));
    int after = 0;
    if (rows)
        splitter.GetRowInfo(0, after, min);
    else
        splitter.GetColumnInfo(0, after, min);
    if (after == before) app.Core().Print("the bar stays where it was");
    return after != before ? 1 : 0;
}

// kx::splitter lists Y | columns X | collapse clp|slp | expand
bool Splitter(CKXHostApp& app, const Args& a, std::string& r) {
    const std::string how = a.empty() ? std::string() : KXHostLower(a[0]);
    int to = 0;
    const bool drag = a.size() == 2 && (how == "lists" || how == "columns") && CKXHostApp::ParseNumber(a[1], to);
    const bool collapse = a.size() == 2 && how == "collapse" && (KXHostLower(a[1]) == "clp" || KXHostLower(a[1]) == "slp");
    const bool expand = a.size() == 1 && how == "expand";
    if (!drag && !collapse && !expand)
        return Fail(r, "usage: kx::splitter lists Y | columns X | collapse clp|slp | expand");
    Splitters s;
    if (!FindSplitters(app, s, r)) return false;
    long answer = 0;
    if (drag) {
        answer = DragBar(app, how == "lists" ? *s.inner : *s.outer, to);
    } else {
        // The splitter's button between the lists: it collapses one of them, or expands the collapsed one.
        answer = collapse ? s.inner->CollapsePane(KXHostLower(a[1]) == "clp" ? 0 : 1) : s.inner->ExpandPane();
        if (!answer) app.Core().Print(collapse ? "a list is collapsed already" : "no list is collapsed");
    }
    r = std::to_string(answer);
    return true;
}

// kx::separator N DX: the separator right of the N-th side-by-side grid, pressed and released DX pixels
// further right (left when negative).
bool Separator(CKXHostApp& app, const Args& a, std::string& r) {
    int n = 0, dx = 0;
    if (a.size() != 2 || !CKXHostApp::ParseNumber(a[0], n) || !CKXHostApp::ParseNumber(a[1], dx) || n < 1)
        return Fail(r, "usage: kx::separator N DX (N from 1: the separator right of grid N; DX pixels)");
    auto* pane = dynamic_cast<CCommonInterface*>(CKXHostApp::PaneViewOf(app.ActiveDocument()));
    if (!pane) return Fail(r, "no design window is open");
    CGXGridWnd* left = pane->GetShownGridWnd(n - 1);
    CGXGridWnd* right = pane->GetShownGridWnd(n);
    if (!left || !right)
        return Fail(r, "the connectivity pane shows " + std::to_string(pane->GetShownGridCount()) +
                           " grid(s) side by side: there is no separator right of grid " + a[0]);
    // The separators are buttons of the pane's object window; the press goes to it.
    CWnd* window = nullptr;
    for (CWnd* child : CKXHostApp::PaneViewOf(app.ActiveDocument())->GetChildren()) {
        const CRuntimeClass* rc = child->GetRuntimeClass();
        if (rc && std::string(rc->m_lpszClassName) == "CKXObjectInfoWnd") window = child;
    }
    if (!window) return Fail(r, "the connectivity pane has no object window");
    CRect l, rr;
    left->GetWindowRect(&l);
    right->GetWindowRect(&rr);
    window->ScreenToClient(&l);
    window->ScreenToClient(&rr);
    const CPoint press((l.right + rr.left) / 2, (l.top + l.bottom) / 2);
    const CPoint release(press.x + dx, press.y);
    // As kx::drag: a release beyond the 16 bits a mouse message carries would arrive wrapped.
    if (!kxhost::FitsMouseMessage(release))
        return Fail(r, "kx::separator: the separator at x " + std::to_string(press.x) + " moved by " + a[1] +
                           " ends at x " + std::to_string(release.x) + ", beyond what a mouse message carries (" +
                           kxhost::MouseRangeText() + ")");
    const int before = l.Width();
    window->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(press));
    window->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(release));
    window->SendMessage(WM_LBUTTONUP, 0, PointParam(release));
    left->GetWindowRect(&l);
    const bool moved = l.Width() != before;
    if (!moved) app.Core().Print("the grids keep their widths");
    r = moved ? "1" : "0";
    return true;
}

} // namespace

void CKXHostApp::RegisterFrameCommands() {
    m_core.RegisterHostCommand("resize", [this](const Args& a, std::string& r) { return Resize(*this, a, r); });
    m_core.RegisterHostCommand("splitter", [this](const Args& a, std::string& r) { return Splitter(*this, a, r); });
    m_core.RegisterHostCommand("separator", [this](const Args& a, std::string& r) { return Separator(*this, a, r); });
    m_core.RegisterHostCommand("panes", [this](const Args& a, std::string& r) { return Panes(*this, a, r); });
}
