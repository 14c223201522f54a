// The registry: keys with DWORD and text values, kept in one file so that user options persist
// between runs. The file is "registry.txt" in the directory named by AfxSetRegistryDirectory,
// else by the environment variable KX_REGISTRY_DIR, else $XDG_CONFIG_HOME/kxtableeditor or
// $HOME/.config/kxtableeditor. Every change is written at once (to a temporary file that then
// replaces the old one). Key and value names compare without regard to case.
#pragma once

#include "afx/afxstr.h"

#include <string>
#include <vector>

using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_NO_MORE_ITEMS 259L

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, void* lpSecurityAttributes, PHKEY phkResult,
                        LPDWORD lpdwDisposition);
LSTATUS RegCloseKey(HKEY hKey);
// With lpData null, *lpcbData receives the size; a buffer that is too small gives ERROR_MORE_DATA.
LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, BYTE* lpData,
                         LPDWORD lpcbData);
LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                       DWORD cbData);
LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
// Deletes the key and everything below it.
LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
LSTATUS RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName);
#define RegOpenKeyEx RegOpenKeyExA
#define RegCreateKeyEx RegCreateKeyExA
#define RegQueryValueEx RegQueryValueExA
#define RegSetValueEx RegSetValueExA
#define RegDeleteValue RegDeleteValueA
#define RegDeleteKey RegDeleteKeyA
#define RegEnumKey RegEnumKeyA

// Where the registry lives; setting it reloads the registry from there. An empty path keeps the
// registry in memory only.
void AfxSetRegistryDirectory(LPCSTR lpszDirectory);
CString AfxGetRegistryDirectory();
CString AfxGetRegistryFile();
// What went wrong reading the registry file since the last call (an unreadable file is renamed
// aside, never silently dropped), for the application to report.
std::vector<std::string> AfxTakeRegistryProblems();

// Convenience over the calls above (full key path below the root, e.g. "Software\\App\\KXFrame").
BOOL AfxRegGetDword(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, DWORD& out);
BOOL AfxRegSetDword(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, DWORD value);
BOOL AfxRegGetString(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, CString& out);
BOOL AfxRegSetString(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR value);
