#include "kxpropertyeditor/KXPropertyEditor.h"

#include "rmx/context.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

struct EditorState {
    bool shown = false;
    int mode = 0;
    std::vector<CKXConnObjInfo*> selection; // owned
    std::map<std::string, int> rules;       // upper-case name -> EKXpropRule bits
};

EditorState& editor()
{
    static EditorState s;
    return s;
}

std::string upper(const CString& s)
{
    std::string u = s.str();
    std::transform(u.begin(), u.end(), u.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

} // namespace

int GetPropState(int source, const CString& name)
{
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
    case KX_SRC_LOCAL: return KX_PROP_LOCAL;
    case KX_SRC_INHERITED: return KX_PROP_INHERITED;
    case KX_SRC_OVERRIDDEN: return KX_PROP_OVERRIDDEN;
    default: return KX_PROP_LOCAL; // other flag words: set on the object by a tool
    }
}

void KXRegisterPropRule(const CString& name, int rules)
{
    if (name.IsEmpty()) return;
    if (rules == KX_RULE_NONE) editor().rules.erase(upper(name));
    else editor().rules[upper(name)] = rules;
}

void KXClearPropRules()
{
    editor().rules.clear();
}

CKXConnObjInfo::CKXConnObjInfo(const CString& name, int kind, int firstBit, int secondBit, CInstanceContext* instance)
    : m_strName(name), m_nKind(kind), m_nFirstBit(firstBit), m_nSecondBit(secondBit), m_pInstance(instance)
{
}

CKXConnObjInfo::~CKXConnObjInfo()
{
    delete m_pInstance;
}

BOOL ShowPropEditor(int mode)
{
    if (mode != 2 && mode != 3) return FALSE;
    editor().shown = true;
    editor().mode = mode;
    return TRUE;
}

BOOL IsPropEditorShown()
{
    return editor().shown;
}

int GetPropEditorMode()
{
    return editor().shown ? editor().mode : 0;
}

void ClosePropEditor()
{
    editor().shown = false;
    editor().mode = 0;
    ClearPropEditorSelection();
}

void SetPropEditorSelection(std::vector<CKXConnObjInfo*>& records)
{
    ClearPropEditorSelection();
    // The same record handed twice is kept (and later deleted) once.
    for (CKXConnObjInfo* r : records)
        if (r && std::find(editor().selection.begin(), editor().selection.end(), r) == editor().selection.end())
            editor().selection.push_back(r);
    records.clear();
}

const std::vector<CKXConnObjInfo*>& GetPropEditorSelection()
{
    return editor().selection;
}

void ClearPropEditorSelection()
{
    for (CKXConnObjInfo* r : editor().selection) delete r;
    editor().selection.clear();
}
