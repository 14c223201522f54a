// The connectivity pane's own window under the user's hands and eyes: the title bar and the Attach
// Signal row above the grids (the function selector button pressed), what an accessibility client
// reads of the pane, and the non-client activation the pane gets when another window takes over.
#include "KXHostApp.h"
#include "KXHostText.h"

#include "afx/afx.h"
#include "afx/afxdisp.h"
#include "afx/afxdlg.h"
#include "afx/afxdoc.h"
#include "grid/secctrl.h"
#include "kxcontrols/KXComboBoxes.h"

#include <string>

namespace {

using Args = std::vector<std::string>;

// Control ids of the pane's title bar and Attach Signal row.
constexpr int kShortcutBarId = 9042;
constexpr int kFxButtonId = 35279;
constexpr int kAttachComboId = 35257;
constexpr int kStaticId = 0xFFFF;

using kxhost::Fail;

// The connectivity pane of the active design window: the view that is a pane but no list pane.
CView* PaneView(CKXHostApp& app, std::string& error) {
    CDocument* doc = app.ActiveDocument();
    if (CView* view = CKXHostApp::PaneViewOf(doc)) return view;
    error = doc ? "the design window has no connectivity pane" : "no design window is open";
    return nullptr;
}

std::string State(const CWnd* w) {
    return std::string(w->IsVisibleFlag() ? "shown" : "hidden") + (w->IsWindowEnabled() ? " enabled" : " disabled");
}

std::string Text(const CWnd* w) {
    CString text;
    w->GetWindowText(text);
    return text.str();
}

// One line per bar of the title bar, then one for each control of the Attach Signal row.
std::string BarText(CWnd& pane) {
    std::string out;
    if (auto* bar = dynamic_cast<SECShortcutBar*>(pane.GetDlgItem(kShortcutBarId)))
        for (int i = 0; i < bar->GetBarCount(); ++i)
            out += "bar " + std::to_string(i) + (i == bar->GetActiveIndex() ? " (active)" : "") + ": " +
                   bar->GetBarLabel(i).str() + "\n";
    if (CWnd* label = pane.GetDlgItem(kStaticId)) out += "label \"" + Text(label) + "\" " + State(label) + "\n";
    if (auto* fx = dynamic_cast<SECBitmapButton*>(pane.GetDlgItem(kFxButtonId)))
        out += "fx \"" + Text(fx) + "\" bitmap " + std::to_string(fx->GetBitmapId()) + " " + State(fx) + "\n";
    if (CWnd* combo = pane.GetDlgItem(kAttachComboId)) out += "combo " + State(combo) + "\n";
    if (!out.empty()) out.pop_back();
    return out;
}

// The Attach Signal combo's list, one `N: TEXT` line per row (from 1).
std::string ComboList(CComboBox& combo) {
    std::string out;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        out += std::to_string(i + 1) + ": " + text.str() + "\n";
    }
    if (!out.empty()) out.pop_back();
    return out;
}

// The user's hands on the combo: a row of its list chosen, or a text typed and Enter pressed. Each
// answers as the connect it made.
bool ComboHands(CKXHostApp& app, CView& pane, const Args& a, std::string& r) {
    const std::string how = KXHostLower(a[0]);
    auto* combo = dynamic_cast<CComboBox*>(pane.GetDlgItem(kAttachComboId));
    if (!combo) return Fail(r, "the connectivity pane has no Attach Signal combo");
    if (how == "list") {
        r = ComboList(*combo);
        return true;
    }
    int row = 0;
    if (how == "choose" && (!CKXHostApp::ParseNumber(a[1], row) || row < 1 || row > combo->GetCount()))
        return Fail(r, "the combo's list has no row \"" + a[1] + "\" (rows 1 to " + std::to_string(combo->GetCount()) +
                           ")");
    if (!combo->IsVisibleFlag() || !combo->IsWindowEnabled()) {
        app.Core().Print("the Attach Signal combo is not shown or not enabled");
        r = "0";
        return true;
    }
    if (how == "type" && a[1].empty()) {
        app.Core().Print("the Attach Signal combo holds no text: Enter connects nothing");
        r = "0";
        return true;
    }
    const long answer = app.AnsweredStep([&] {
        if (how == "choose") {
            combo->ChooseItem(row - 1);
            return;
        }
        // Typed into the edit field: into the placeholder a rule of the function selector left selected.
        if (auto* typing = dynamic_cast<CKXAutoCompleteComboBox*>(combo))
            typing->TypeText(a[1].c_str());
        else
            combo->SetWindowText(a[1].c_str());
        NMHDR enter{combo->GetSafeHwnd(), static_cast<UINT_PTR>(kAttachComboId), static_cast<UINT>(NM_RETURN)};
        pane.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&enter));
    });
    r = std::to_string(answer);
    return true;
}

bool CcpBar(CKXHostApp& app, const Args& a, std::string& r) {
    const std::string how = a.empty() ? std::string() : KXHostLower(a[0]);
    const bool pressFx = a.size() == 1 && how == "fx", list = a.size() == 1 && how == "list";
    const bool hands = a.size() == 2 && (how == "choose" || how == "type");
    if (!a.empty() && !pressFx && !list && !hands) return Fail(r, "usage: kx::ccpbar ?fx | list | choose ROW | type TEXT?");
    std::string error;
    CView* pane = PaneView(app, error);
    if (!pane) return Fail(r, error);
    if (a.empty()) {
        r = BarText(*pane);
        return true;
    }
    if (list || hands) return ComboHands(app, *pane, a, r);
    // The function selector button, pressed as the user presses it: only while it can be.
    auto* fx = dynamic_cast<CButton*>(pane->GetDlgItem(kFxButtonId));
    if (!fx || !fx->IsVisibleFlag() || !fx->IsWindowEnabled()) {
        app.Core().Print("the function selector button is not shown or not enabled");
        r = "0";
        return true;
    }
    fx->Click();
    r = "1";
    return true;
}

VARIANT ChildNumber(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Located(CWnd& pane, long id) {
    long x = 0, y = 0, cx = 0, cy = 0;
    CString name;
    pane.get_accName(ChildNumber(id), &name);
    pane.accLocation(&x, &y, &cx, &cy, ChildNumber(id));
    return std::string(name.str()) + " at " + std::to_string(x) + "," + std::to_string(y) + " " +
           std::to_string(cx) + "x" + std::to_string(cy);
}

bool Access(CKXHostApp& app, const Args& a, std::string& r) {
    int x = 0, y = 0;
    const bool hit = a.size() == 4 && KXHostLower(a[1]) == "hit" && CKXHostApp::ParseNumber(a[2], x) &&
                     CKXHostApp::ParseNumber(a[3], y);
    if (a.empty() || KXHostLower(a[0]) != "ccp" || !(a.size() == 1 || hit))
        return Fail(r, "usage: kx::access ccp ?hit X Y?");
    std::string error;
    CView* pane = PaneView(app, error);
    if (!pane) return Fail(r, error);
    if (hit) {
        VARIANT child{};
        if (pane->accHitTest(x, y, &child) != S_OK || child.vt != VT_I4) {
            r = "none";
            return true;
        }
        r = std::to_string(child.lVal);
        return true;
    }
    long count = 0;
    pane->get_accChildCount(&count);
    r = "pane: " + Located(*pane, CHILDID_SELF) + "\nchildren " + std::to_string(count);
    for (long i = 1; i <= count; ++i) {
        CWnd* child = nullptr;
        pane->get_accChild(ChildNumber(i), &child);
        const CRuntimeClass* rc = child ? child->GetRuntimeClass() : nullptr;
        r += "\n" + std::to_string(i) + " " + (rc ? rc->m_lpszClassName : "?") + ": " + Located(*pane, i);
    }
    return true;
}

bool NcActivate(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 1 || (a[0] != "0" && a[0] != "1")) return Fail(r, "usage: kx::ncactivate 0|1");
    std::string error;
    CView* pane = PaneView(app, error);
    if (!pane) return Fail(r, error);
    pane->SendMessage(WM_NCACTIVATE, a[0] == "1" ? TRUE : FALSE, 0);
    r = pane->IsNcActive() ? "active" : "inactive";
    return true;
}

} // namespace

void CKXHostApp::RegisterPaneCommands() {
    m_core.RegisterHostCommand("ccpbar", [this](const Args& a, std::string& r) { return CcpBar(*this, a, r); });
    m_core.RegisterHostCommand("access", [this](const Args& a, std::string& r) { return Access(*this, a, r); });
    m_core.RegisterHostCommand("ncactivate",
                               [this](const Args& a, std::string& r) { return NcActivate(*this, a, r); });
}
