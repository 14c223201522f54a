// User options of the table editor and its controls, kept in the registry.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

// All options live under one base key; OpenRegistryKey selects the base key itself or a key below it (such as
// "KXFrame" or "CCP\PIN_NAME"). There is one open key per process: open, read or write, close.
// Values are numbers (DWORD) or texts; a number read as text, or a text read as a number, counts as absent.
class CKXRegistrySettings {
public:
    // Opens (creating when needed) the base key, or the given key below it. Returns 1 when a key is open.
    static BOOL OpenRegistryKey(LPCTSTR subKey = nullptr);
    static void CloseRegistryKey();
    static BOOL IsRegistryKeyOpen();
    static CString GetOpenKeyPath();

    // Each read returns TRUE and sets the value when the open key holds it; otherwise returns FALSE and leaves
    // the value as it was (callers preset their default). With no key open, FALSE.
    static BOOL GetFromRegistry(LPCTSTR name, int& value);
    static BOOL GetFromRegistry(LPCTSTR name, DWORD& value);
    static BOOL GetFromRegistry(LPCTSTR name, CString& value);

    // Writes into the open key. FALSE when no key is open or the name is empty.
    static BOOL SetToRegistry(LPCTSTR name, int value);
    static BOOL SetToRegistry(LPCTSTR name, DWORD value);
    static BOOL SetToRegistry(LPCTSTR name, LPCTSTR value);
    static BOOL DeleteFromRegistry(LPCTSTR name);

    // One value of a key (NULL or "" = the base key) read or written without touching the open key.
    static BOOL GetValue(LPCTSTR subKey, LPCTSTR name, int& value);
    static BOOL SetValue(LPCTSTR subKey, LPCTSTR name, int value);

    // Name of the base key.
    static LPCTSTR GetBaseKey();
};
