// Property editor hand-over: the editor window (headless: its shown state and mode), the records of the
// objects whose properties it shows, and the state of a property that decides how the grids style its cell.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CInstanceContext;

// How a property stands; the grids pick a cell style from it.
enum EKXpropState {
    KX_PROP_NONE = 0,         // no such property on the object
    KX_PROP_LOCAL = 1,        // set on the object itself
    KX_PROP_REQUIRED = 2,     // required, set on the object: may change, may not become empty
    KX_PROP_READONLY = 3,     // shown, not editable (constraints, objects without a pin)
    KX_PROP_REQUIRED_INH = 4, // required, inherited: may change, may not become empty
    KX_PROP_DELETE_ONLY = 5,  // may be removed, not changed
    KX_PROP_INHERITED = 6,    // inherited from the master, not overridden
    KX_PROP_OVERRIDDEN = 7,   // inherited and overridden on the object
    KX_PROP_HIDDEN = 8,       // not shown at all
};

// Property sources as the design database reports them.
enum EKXpropSource { KX_SRC_NONE = 0, KX_SRC_LOCAL = 1, KX_SRC_INHERITED = 2, KX_SRC_OVERRIDDEN = 3 };

// Rules of a property name, registered by the host's property definitions.
enum EKXpropRule {
    KX_RULE_NONE = 0,
    KX_RULE_REQUIRED = 1,
    KX_RULE_READONLY = 2,
    KX_RULE_DELETE_ONLY = 4,
    KX_RULE_HIDDEN = 8
};

int GetPropState(int source, const CString& name);
void KXRegisterPropRule(const CString& name, int rules);
void KXClearPropRules();

// One object handed to the property editor.
class CKXConnObjInfo {
public:
    enum Kind { INSTANCE = 1, NET = 2, PIN = 3, BUS = 5 };
    CKXConnObjInfo();
    CKXConnObjInfo(const CString& name, int kind, int firstBit = -1, int secondBit = -1,
                   CInstanceContext* instance = nullptr);
    ~CKXConnObjInfo();
    CKXConnObjInfo(const CKXConnObjInfo&) = delete;
    CKXConnObjInfo& operator=(const CKXConnObjInfo&) = delete;

    CString m_strName;
    int m_nKind = 0;
    int m_nFirstBit = -1;
    int m_nSecondBit = -1;
    // Owned: a heap copy of the pin's instance context (null for nets and instances).
    CInstanceContext* m_pInstance = nullptr;
};

// The record list that travels with MSG_CONN_OBJECT_INFO and MSG_PROPERTY_EDITOR_SELECTION (WPARAM: a pointer
// to the list, null to empty the selection; LPARAM: the sender's design context). The property editor takes
// the records over and deletes them when the selection changes; the sender frees only the list itself.
// Records that never reach the editor are deleted when this library is unloaded.
using CKXConnObjInfoList = CArray<CKXConnObjInfo*, CKXConnObjInfo*>;

// The editor's receiving window, registered with the message server for the two messages. It is made when the
// first record is built (or here); FALSE when there is no message server.
BOOL KXPropEditorListen();
// What the message handler does: takes the records of the list over as the new selection (null: empty it).
void KXPropEditorTakeRecords(CKXConnObjInfoList* list);
int KXPropEditorLiveRecordCount();

// Opens the editor; mode 2: follow the grid selection, 3: show the current cell's properties. FALSE for other
// modes.
BOOL ShowPropEditor(int mode);
BOOL IsPropEditorShown();
int GetPropEditorMode();
void ClosePropEditor();
// The editor takes over the records (and deletes them) and shows their properties.
void SetPropEditorSelection(std::vector<CKXConnObjInfo*>& records);
const std::vector<CKXConnObjInfo*>& GetPropEditorSelection();
void ClearPropEditorSelection();
