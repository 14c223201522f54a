// The connectivity pane's object information window under the user's hands: its beam (the current
// object and how many of its kind are remembered), the buttons that drop down the lists of the
// remembered components and signals, and a choice made in a dropped list.
#include "KXHostApp.h"
#include "KXHostText.h"

#include "afx/afx.h"
#include "afx/afxwinerror.h"
#include "afx/afxdlg.h"
#include "afx/afxdoc.h"
#include "kxinstsigpane/KXListPanes.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

using Args = std::vector<std::string>;

constexpr int kBeamButtonWidth = 18; // the beam's buttons, from its left edge
constexpr int kComponentListButton = 0;
constexpr int kSignalListButton = 1;

using kxhost::Fail;

bool IsClass(const CWnd* w, const char* name) {
    const CRuntimeClass* rc = w ? w->GetRuntimeClass() : nullptr;
    return rc && std::strcmp(rc->m_lpszClassName, name) == 0;
}

CWnd* ChildOfClass(const CWnd* parent, const char* name) {
    for (CWnd* w : parent ? parent->GetChildren() : std::vector<CWnd*>())
        if (IsClass(w, name)) return w;
    return nullptr;
}

// The object information window of the active design window's connectivity pane.
CWnd* InfoWindow(CKXHostApp& app, std::string& error) {
    CView* pane = CKXHostApp::PaneViewOf(app.ActiveDocument());
    if (!pane) {
        error = "no design window is open";
        return nullptr;
    }
    // The window is there from the start; its beam names an object once the pane has shown one.
    CWnd* info = ChildOfClass(pane, "CKXObjectInfoWnd");
    CWnd* beam = info ? ChildOfClass(info, "CKXObjectInfoBeam") : nullptr;
    CString text;
    if (beam) beam->GetWindowText(text);
    if (!text.IsEmpty()) return info;
    error = "the connectivity pane has shown nothing yet";
    return nullptr;
}

// The rows of a list as the user reads them: "KIND cell | cell ...", then "(dropped)" for the list
// that is down.
void ListLines(CWnd* info, std::vector<std::string>& lines) {
    for (CWnd* w : info->GetChildren()) {
        auto* list = IsClass(w, "CKXObjectInfoListCtrl") ? static_cast<CListCtrl*>(w) : nullptr;
        if (!list) continue;
        const bool components = list->GetColumnCount() == 3;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            std::string line = components ? "component " : "signal ";
            for (int col = 0; col < list->GetColumnCount(); ++col)
                line += (col ? " | " : "") + list->GetItemText(row, col).str();
            lines.push_back(line);
        }
        if (list->IsWindowVisible()) lines.push_back(components ? "dropped component" : "dropped signal");
    }
}

std::string BeamLine(CWnd* info) {
    CString text;
    if (CWnd* beam = ChildOfClass(info, "CKXObjectInfoBeam")) beam->GetWindowText(text);
    text.Replace("&&", "&"); // the beam shows a doubled "&" as one
    return "beam " + text.str();
}

CListCtrl* DroppedList(CWnd* info) {
    for (CWnd* w : info->GetChildren())
        if (IsClass(w, "CKXObjectInfoListCtrl") && w->IsWindowVisible()) return static_cast<CListCtrl*>(w);
    return nullptr;
}

// A press on the beam's list button.
bool DropList(CWnd* info, const std::string& which, std::string& r) {
    const int button = which == "component" ? kComponentListButton : which == "signal" ? kSignalListButton : -1;
    if (button < 0) return Fail(r, "usage: kx::objects drop component|signal");
    CWnd* beam = ChildOfClass(info, "CKXObjectInfoBeam");
    if (!beam) return Fail(r, "the object window has no beam");
    const int x = button * kBeamButtonWidth + kBeamButtonWidth / 2;
    beam->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x, 4));
    r = DroppedList(info) ? "1" : "0";
    return true;
}

// Selects the rows (from 1) of the dropped list and presses Enter.
bool ChooseRows(CWnd* info, const Args& a, std::string& r) {
    CListCtrl* list = DroppedList(info);
    if (!list) return Fail(r, "no list is dropped down (kx::objects drop component|signal)");
    if (a.size() < 2) return Fail(r, "usage: kx::objects choose ROW ?ROW ...?");
    if (a.size() > 2 && (list->GetStyle() & LVS_SINGLESEL)) return Fail(r, "the signal list takes one row");
    std::vector<int> rows;
    for (size_t i = 1; i < a.size(); ++i) {
        int row = 0;
        if (!CKXHostApp::ParseNumber(a[i], row) || row < 1 || row > list->GetItemCount())
            return Fail(r, "no row \"" + a[i] + "\" in the list");
        rows.push_back(row - 1);
    }
    list->SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    list->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    r = "1";
    return true;
}

// Another window of the application bringing a remembered object back: message 0x785 to the pane
// with the id its list row keeps. The pane takes it as a component while it shows components, as a
// signal while it shows signals.
constexpr UINT kActivateObjectWindow = 0x785;

bool ActivateByName(CWnd* info, const std::string& name, std::string& r) {
    for (CWnd* w : info->GetChildren()) {
        auto* list = IsClass(w, "CKXObjectInfoListCtrl") ? static_cast<CListCtrl*>(w) : nullptr;
        for (int row = 0; list && row < list->GetItemCount(); ++row) {
            if (list->GetItemText(row, 0).str() != name) continue;
            CWnd* pane = info->GetParent();
            if (!pane) return Fail(r, "the object window has no pane");
            pane->SendMessage(kActivateObjectWindow, static_cast<WPARAM>(list->GetItemData(row)), 0);
            r = "1";
            return true;
        }
    }
    return Fail(r, "no remembered object \"" + name + "\"");
}

bool Objects(CKXHostApp& app, const Args& a, std::string& r) {
    std::string error;
    CWnd* info = InfoWindow(app, error);
    if (!info) return Fail(r, error);
    if (a.empty()) {
        std::vector<std::string> lines{BeamLine(info)};
        ListLines(info, lines);
        r = KXHostJoin(lines, "\n");
        return true;
    }
    if (a[0] == "drop" && a.size() == 2) return DropList(info, a[1], r);
    if (a[0] == "choose") return ChooseRows(info, a, r);
    if (a[0] == "activate" && a.size() == 2) return ActivateByName(info, a[1], r);
    if (a[0] == "escape" && a.size() == 1) {
        CListCtrl* list = DroppedList(info);
        if (list) list->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        r = list ? "1" : "0";
        return true;
    }
    return Fail(r, "usage: kx::objects ?drop component|signal | choose ROW ?ROW ...? | escape | activate NAME?");
}

// A control of a dialog template named by its window class: a child of the main window.
constexpr UINT kTemplateControlId = 1000;
constexpr int kTemplateControlWidth = 300;
constexpr int kTemplateControlHeight = 120;

// The one-control template kx::createwindow -template opens (the host's own resource id).
constexpr UINT kHostTemplateId = 32001;

// A dialog of the host's one-control template, created in the main window and closed again: the
// answer is the class of the control's window object, as a dialog made from a template has it.
bool CreateThroughTemplate(const std::string& cls, std::string& r) {
    AfxDialogDef def;
    def.caption = "Template";
    def.style = WS_CHILD;
    def.cx = kTemplateControlWidth;
    def.cy = kTemplateControlHeight;
    def.items = {{kTemplateControlId, cls.c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, kTemplateControlWidth,
                  kTemplateControlHeight}};
    AfxAddDialogResource(nullptr, kHostTemplateId, def);
    CDialog dlg;
    ::SetLastError(0);
    const BOOL opened = dlg.Create(kHostTemplateId, AfxGetMainWnd());
    const DWORD error = ::GetLastError();
    CWnd* control = opened ? dlg.GetDlgItem(static_cast<int>(kTemplateControlId)) : nullptr;
    const std::string made = control ? control->GetRuntimeClass()->m_lpszClassName : "";
    if (opened) dlg.DestroyWindow();
    AfxAddDialogResource(nullptr, kHostTemplateId, AfxDialogDef{}); // the entry names no class any more
    if (!opened && error == ERROR_CANNOT_FIND_WND_CLASS)
        return Fail(r, "the dialog did not open: its control's window class \"" + cls + "\" is not registered");
    if (!opened && error == ERROR_CANNOT_CREATE_WINDOW)
        return Fail(r, "the dialog did not open: its control of class \"" + cls + "\" was refused");
    if (!opened) return Fail(r, "the dialog did not open (system error " + std::to_string(error) + ")");
    r = made;
    return true;
}

bool CreateByClass(const Args& a, std::string& r) {
    if (a.size() == 2 && a[0] == "-template") return CreateThroughTemplate(a[1], r);
    if (a.size() != 1) return Fail(r, "usage: kx::createwindow ?-template? CLASS");
    CWnd* main = AfxGetMainWnd();
    HWND h = ::CreateWindowExA(0, a[0].c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, kTemplateControlWidth,
                               kTemplateControlHeight, main ? main->GetSafeHwnd() : nullptr,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTemplateControlId)), nullptr, nullptr);
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return Fail(r, "no window of class \"" + a[0] + "\" could be created (is the class registered?)");
    r = w->GetRuntimeClass()->m_lpszClassName;
    return true;
}

} // namespace

long CKXHostApp::AnsweredStep(const std::function<void()>& step) {
    using AnsweredFn = long (*)(void (*)(void*), void*);
    auto answered = reinterpret_cast<AnsweredFn>(m_hLibrary ? ::dlsym(m_hLibrary, "KXRunAnsweredStep") : nullptr);
    if (!answered) {
        step();
        return 1;
    }
    return answered([](void* context) { (*static_cast<const std::function<void()>*>(context))(); },
                    const_cast<void*>(static_cast<const void*>(&step)));
}

bool CKXHostApp::ShowGroup(const std::vector<std::string>& a, std::string& r) {
    if (KXHostLower(a[0]) != "clp" || a.size() < 3) return Fail(r, "usage: kx::show clp -group NAME ?NAME ...?");
    CKXInstancePaneContainerView* list = nullptr;
    CDocument* doc = ActiveDocument();
    for (POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr; pos && !list;)
        list = dynamic_cast<CKXInstancePaneContainerView*>(doc->GetNextView(pos));
    if (!list) return Fail(r, "no design window is open");
    std::string names;
    for (size_t i = 2; i < a.size(); ++i) {
        if (a[i].empty() || a[i].find_first_of(" \t") != std::string::npos) return Fail(r, "no \"" + a[i] + "\" in the list");
        names += (names.empty() ? "" : " ") + a[i];
    }
    // A refusal is the list's answer, its message naming the cause.
    r = list->SelectGroup(names.c_str()) ? "1" : "0";
    return true;
}

void CKXHostApp::RegisterObjectCommands() {
    // kx::createwindow ?-template? CLASS: a window made from its class name, or a dialog whose
    // template names the class.
    m_core.RegisterHostCommand("createwindow", [](const Args& a, std::string& r) { return CreateByClass(a, r); });
    m_core.RegisterHostCommand("objects", [this](const Args& a, std::string& r) { return Objects(*this, a, r); });
    // kx::instconn INSTANCE ?COUNTER?: what the host does right after the user placed an instance.
    m_core.RegisterHostCommand("instconn", [this](const Args& a, std::string& r) {
        int counter = 0;
        // A counter out of the dialog's range is the dialog's to refuse, with its message.
        if (a.empty() || a.size() > 2 || (a.size() == 2 && !ParseNumber(a[1], counter)))
            return Fail(r, "usage: kx::instconn INSTANCE ?COUNTER?");
        using RunFn = int (*)(CWnd*, const char*, int);
        auto run = reinterpret_cast<RunFn>(m_hLibrary ? ::dlsym(m_hLibrary, "KXRunInstanceConnectivityDialog") : nullptr);
        if (!run) return Fail(r, "the editor library has no instance connectivity dialog");
        CFrameWnd* frame = ActiveFrame();
        if (!frame) return Fail(r, "no design window is open");
        const int result = run(frame, a[0].c_str(), counter);
        if (result < 0) return Fail(r, "no instance \"" + a[0] + "\" in the design");
        r = result == IDOK ? "1" : "0";
        return true;
    });
}
