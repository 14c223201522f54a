#include "kxpropertyeditor/KXPropertyEditor.h"

#include "rmx/context.h"

#include "afx/afxwin.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <cstdlib>
#include <memory>
#include <set>

#include <algorithm>
#include <map>
#include <string>

namespace {

class CKXPropEditorWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MSG_CONN_OBJECT_INFO || message == MSG_PROPERTY_EDITOR_SELECTION) {
            KXPropEditorTakeRecords(reinterpret_cast<CKXConnObjInfoList*>(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct EditorState {
    std::unique_ptr<CKXPropEditorWnd> wnd;
    // Every record alive, so that records no one took over are still deleted at the end.
    std::set<CKXConnObjInfo*> live;
    bool closing = false;
    // By the time this runs the window system and the message server may be gone: the window was closed by
    // the exit handler registered when it was made (closeWindow), and only records are freed here.
    ~EditorState() {
        (void)wnd.release();
        closing = true;
        selection.clear();
        std::set<CKXConnObjInfo*> left;
        left.swap(live);
        for (CKXConnObjInfo* r : left)
            delete r;
    }
    bool shown = false;
    int mode = 0;
    std::vector<CKXConnObjInfo*> selection; // owned
    std::map<std::string, int> rules;       // upper-case name -> EKXpropRule bits
};

EditorState& editor() {
    static EditorState s;
    return s;
}

std::string upper(const CString& s) {
    std::string u = s.str();
    std::transform(u.begin(), u.end(), u.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

} // namespace

int GetPropState(int source, const CString& name) {
    auto& rules = editor().rules;
    auto it = rules.find(upper(name));
    int rule = it == rules.end() ? KX_RULE_NONE : it->second;
    if (rule & KX_RULE_HIDDEN) return KX_PROP_HIDDEN;
    if (rule & KX_RULE_READONLY) return KX_PROP_READONLY;
    if (source == KX_SRC_NONE) return (rule & KX_RULE_REQUIRED) ? KX_PROP_REQUIRED : KX_PROP_NONE;
    if (rule & KX_RULE_DELETE_ONLY) return KX_PROP_DELETE_ONLY;
    const bool inherited = source == KX_SRC_INHERITED;
    if (rule & KX_RULE_REQUIRED) return inherited ? KX_PROP_REQUIRED_INH : KX_PROP_REQUIRED;
    switch (source) {
    case KX_SRC_LOCAL:
        return KX_PROP_LOCAL;
    case KX_SRC_INHERITED:
        return KX_PROP_INHERITED;
    case KX_SRC_OVERRIDDEN:
        return KX_PROP_OVERRIDDEN;
    default:
        return KX_PROP_LOCAL; // other flag words: set on the object by a tool
    }
}

void KXRegisterPropRule(const CString& name, int rules) {
    if (name.IsEmpty()) return;
    if (rules == KX_RULE_NONE)
        editor().rules.erase(upper(name));
    else
        editor().rules[upper(name)] = rules;
}

void KXClearPropRules() {
    editor().rules.clear();
}

CKXConnObjInfo::CKXConnObjInfo() {
    editor().live.insert(this);
    KXPropEditorListen();
}

CKXConnObjInfo::CKXConnObjInfo(const CString& name, int kind, int firstBit, int secondBit,
                               CInstanceContext* instance)
    : m_strName(name), m_nKind(kind), m_nFirstBit(firstBit), m_nSecondBit(secondBit), m_pInstance(instance) {
    editor().live.insert(this);
    KXPropEditorListen();
}

CKXConnObjInfo::~CKXConnObjInfo() {
    if (!editor().closing) editor().live.erase(this);
    delete m_pInstance;
}

namespace {

// Runs at exit (or when the library is unloaded) before the window system and the message server, which
// existed before the window was made, are torn down.
void closeWindow() {
    auto& wnd = editor().wnd;
    if (wnd && wnd->GetSafeHwnd() && ::IsWindow(wnd->GetSafeHwnd()) &&
        CWnd::FromHandle(wnd->GetSafeHwnd()) == wnd.get()) {
        if (IKXMessageServer* ms = GetKXMsgSrvr()) ms->UnregisterWindow(wnd->GetSafeHwnd());
        wnd->DestroyWindow();
    }
    wnd.reset();
}

} // namespace

BOOL KXPropEditorListen() {
    IKXMessageServer* ms = GetKXMsgSrvr();
    if (!ms) return FALSE;
    auto& wnd = editor().wnd;
    // A window destroyed elsewhere (its handle gone or now someone else's) is made again.
    if (wnd && (!wnd->GetSafeHwnd() || !::IsWindow(wnd->GetSafeHwnd()) ||
                CWnd::FromHandle(wnd->GetSafeHwnd()) != wnd.get()))
        wnd.reset();
    if (!wnd) {
        auto w = std::make_unique<CKXPropEditorWnd>();
        if (!w->CreateEx(0, nullptr, "Property Editor", 0, CRect(0, 0, 0, 0), nullptr, 0)) return FALSE;
        wnd = std::move(w);
        static const bool closeAtExit = (std::atexit(closeWindow), true);
        (void)closeAtExit;
    }
    HWND h = wnd->GetSafeHwnd();
    if (!ms->IsRegistered(MSG_CONN_OBJECT_INFO, h)) ms->RegisterWindow(MSG_CONN_OBJECT_INFO, h);
    if (!ms->IsRegistered(MSG_PROPERTY_EDITOR_SELECTION, h))
        ms->RegisterWindow(MSG_PROPERTY_EDITOR_SELECTION, h);
    return TRUE;
}

void KXPropEditorTakeRecords(CKXConnObjInfoList* list) {
    std::vector<CKXConnObjInfo*> records;
    if (list)
        for (INT_PTR i = 0; i < list->GetSize(); ++i)
            if (editor().live.count(list->GetAt(i))) records.push_back(list->GetAt(i));
    SetPropEditorSelection(records);
}

int KXPropEditorLiveRecordCount() {
    return static_cast<int>(editor().live.size());
}

BOOL ShowPropEditor(int mode) {
    if (mode != 2 && mode != 3) return FALSE;
    editor().shown = true;
    editor().mode = mode;
    return TRUE;
}

BOOL IsPropEditorShown() {
    return editor().shown;
}

int GetPropEditorMode() {
    return editor().shown ? editor().mode : 0;
}

void ClosePropEditor() {
    editor().shown = false;
    editor().mode = 0;
    ClearPropEditorSelection();
}

void SetPropEditorSelection(std::vector<CKXConnObjInfo*>& records) {
    ClearPropEditorSelection();
    // The same record handed twice is kept (and later deleted) once; unknown pointers are not taken.
    for (CKXConnObjInfo* r : records)
        if (r && editor().live.count(r) &&
            std::find(editor().selection.begin(), editor().selection.end(), r) == editor().selection.end())
            editor().selection.push_back(r);
    records.clear();
}

const std::vector<CKXConnObjInfo*>& GetPropEditorSelection() {
    return editor().selection;
}

void ClearPropEditorSelection() {
    for (CKXConnObjInfo* r : editor().selection)
        delete r;
    editor().selection.clear();
}
