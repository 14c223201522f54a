// Resources and extension modules.
//
// A module's resources (string table, menus, dialog templates) are data tables that the module
// registers under its module handle. Look-ups walk the resource chain: the application's
// resource handle first, then each CDynLinkLibrary (newest first), then the tables registered
// under a null module handle (always visible). A module that is not in the chain is not found.
#pragma once

#include "afx/afxmsg.h"

#include <initializer_list>
#include <utility>
#include <vector>

// One menu item. level 0 items form the menu bar (or the one pop-up of a pop-up menu resource);
// an item with MF_POPUP opens a sub-menu made of the following items of level + 1.
struct AfxMenuItemDef {
    int level;
    UINT flags; // MF_STRING, MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED
    UINT id;
    const char* text;
};

// One control of a dialog template. className: "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX",
// "SysListView32" (list control), another of the system's control classes (a plain window of that
// class) or the name of a registered window class (a custom control, made by its class's procedure;
// a template naming a class that is not registered cannot be made). name: optional field name by
// which scripted dialog answers may address the control (besides its id in decimal).
struct AfxDlgItemDef {
    UINT id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, cx, cy;
    const char* name = nullptr;
};

struct AfxDialogDef {
    CString caption;
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::vector<AfxDlgItemDef> items;
};

void AfxAddStringTable(HINSTANCE hModule, std::initializer_list<std::pair<UINT, const char*>> strings);
void AfxAddString(HINSTANCE hModule, UINT id, const char* text);
void AfxAddMenuResource(HINSTANCE hModule, UINT id, std::vector<AfxMenuItemDef> items);
void AfxAddDialogResource(HINSTANCE hModule, UINT id, AfxDialogDef def);
// Forgets every table registered under the module.
void AfxRemoveModuleResources(HINSTANCE hModule);

// Look-ups through the chain.
BOOL AfxLoadStringResource(UINT id, CString& out);
const std::vector<AfxMenuItemDef>* AfxFindMenuResource(UINT id);
const AfxDialogDef* AfxFindDialogResource(UINT id);

// ---------------------------------------------------------------- extension modules
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// Fills the record for the module; FALSE for a null module handle.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Takes the module's links out of the resource chain (and deletes them when bAll, as at exit).
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    // Joins the resource chain; the chain owns the object (AfxTermExtensionModule(.., TRUE) or
    // the end of the process frees it).
    CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
};

// Links of the chain, newest first (tests inspect it).
std::vector<CDynLinkLibrary*> AfxGetResourceChain();
