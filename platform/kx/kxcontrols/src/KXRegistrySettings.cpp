#include "kxcontrols/KXRegistrySettings.h"

#include <optional>
#include <string>

#include "afx/afxreg.h"

// The settings live in the process registry (afx), which keeps them in its file between runs.

namespace {

std::optional<std::string>& OpenPath() {
    static std::optional<std::string> path;
    return path;
}

std::string KeyPath(LPCTSTR subKey) {
    std::string path = CKXRegistrySettings::GetBaseKey();
    if (subKey && *subKey) path += std::string("\\") + subKey;
    return path;
}

BOOL ReadDword(const std::string& key, LPCTSTR name, DWORD& value) {
    if (!name) return FALSE;
    DWORD v = 0;
    if (!AfxRegGetDword(HKEY_CURRENT_USER, key.c_str(), name, v)) return FALSE;
    value = v;
    return TRUE;
}

} // namespace

LPCTSTR CKXRegistrySettings::GetBaseKey() { return "Software\\KXTable\\Settings"; }

BOOL CKXRegistrySettings::OpenRegistryKey(LPCTSTR subKey) {
    std::string path = KeyPath(subKey);
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(key);
    OpenPath() = path;
    return TRUE;
}

void CKXRegistrySettings::CloseRegistryKey() { OpenPath().reset(); }
BOOL CKXRegistrySettings::IsRegistryKeyOpen() { return OpenPath().has_value(); }
CString CKXRegistrySettings::GetOpenKeyPath() { return OpenPath() ? CString(*OpenPath()) : CString(); }

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, DWORD& value) {
    return OpenPath() ? ReadDword(*OpenPath(), name, value) : FALSE;
}

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, int& value) {
    DWORD v = 0;
    if (!GetFromRegistry(name, v)) return FALSE;
    value = static_cast<int>(v);
    return TRUE;
}

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, CString& value) {
    if (!OpenPath() || !name) return FALSE;
    CString v;
    if (!AfxRegGetString(HKEY_CURRENT_USER, OpenPath()->c_str(), name, v)) return FALSE;
    value = v;
    return TRUE;
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, DWORD value) {
    if (!OpenPath() || !name || !*name) return FALSE;
    return AfxRegSetDword(HKEY_CURRENT_USER, OpenPath()->c_str(), name, value);
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, int value) {
    return SetToRegistry(name, static_cast<DWORD>(value));
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, LPCTSTR value) {
    if (!OpenPath() || !name || !*name) return FALSE;
    return AfxRegSetString(HKEY_CURRENT_USER, OpenPath()->c_str(), name, value ? value : "");
}

BOOL CKXRegistrySettings::DeleteFromRegistry(LPCTSTR name) {
    if (!OpenPath() || !name) return FALSE;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, OpenPath()->c_str(), 0, 0, &key) != ERROR_SUCCESS) return FALSE;
    LSTATUS status = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

BOOL CKXRegistrySettings::GetValue(LPCTSTR subKey, LPCTSTR name, int& value) {
    DWORD v = 0;
    if (!ReadDword(KeyPath(subKey), name, v)) return FALSE;
    value = static_cast<int>(v);
    return TRUE;
}

BOOL CKXRegistrySettings::SetValue(LPCTSTR subKey, LPCTSTR name, int value) {
    if (!name || !*name) return FALSE;
    return AfxRegSetDword(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), name, static_cast<DWORD>(value));
}
