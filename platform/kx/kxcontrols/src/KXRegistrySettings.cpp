#include "kxcontrols/KXRegistrySettings.h"

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace {

using Value = std::variant<DWORD, std::string>;

struct State {
    std::map<std::string, std::map<std::string, Value>> keys;
    std::optional<std::string> open;
};

State& S() {
    static State s;
    return s;
}

std::string KeyPath(LPCTSTR subKey) {
    std::string path = CKXRegistrySettings::GetBaseKey();
    if (subKey && *subKey) path += std::string("\\") + subKey;
    return path;
}

std::map<std::string, Value>* OpenKey() {
    State& s = S();
    return s.open ? &s.keys[*s.open] : nullptr;
}

} // namespace

LPCTSTR CKXRegistrySettings::GetBaseKey() { return "Software\\KXTable\\Settings"; }

BOOL CKXRegistrySettings::OpenRegistryKey(LPCTSTR subKey) {
    std::string path = KeyPath(subKey);
    S().open = path;
    S().keys[path];
    return TRUE;
}

void CKXRegistrySettings::CloseRegistryKey() { S().open.reset(); }
BOOL CKXRegistrySettings::IsRegistryKeyOpen() { return S().open.has_value(); }
CString CKXRegistrySettings::GetOpenKeyPath() { return S().open ? CString(*S().open) : CString(); }

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, DWORD& value) {
    auto* key = OpenKey();
    if (!key || !name) return FALSE;
    auto it = key->find(name);
    if (it == key->end() || !std::holds_alternative<DWORD>(it->second)) return FALSE;
    value = std::get<DWORD>(it->second);
    return TRUE;
}

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, int& value) {
    DWORD v = 0;
    if (!GetFromRegistry(name, v)) return FALSE;
    value = static_cast<int>(v);
    return TRUE;
}

BOOL CKXRegistrySettings::GetFromRegistry(LPCTSTR name, CString& value) {
    auto* key = OpenKey();
    if (!key || !name) return FALSE;
    auto it = key->find(name);
    if (it == key->end() || !std::holds_alternative<std::string>(it->second)) return FALSE;
    value = std::get<std::string>(it->second);
    return TRUE;
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, DWORD value) {
    auto* key = OpenKey();
    if (!key || !name || !*name) return FALSE;
    (*key)[name] = value;
    return TRUE;
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, int value) {
    return SetToRegistry(name, static_cast<DWORD>(value));
}

BOOL CKXRegistrySettings::SetToRegistry(LPCTSTR name, LPCTSTR value) {
    auto* key = OpenKey();
    if (!key || !name || !*name) return FALSE;
    (*key)[name] = std::string(value ? value : "");
    return TRUE;
}

BOOL CKXRegistrySettings::DeleteFromRegistry(LPCTSTR name) {
    auto* key = OpenKey();
    if (!key || !name) return FALSE;
    return key->erase(name) ? TRUE : FALSE;
}

BOOL CKXRegistrySettings::GetValue(LPCTSTR subKey, LPCTSTR name, int& value) {
    if (!name) return FALSE;
    auto key = S().keys.find(KeyPath(subKey));
    if (key == S().keys.end()) return FALSE;
    auto it = key->second.find(name);
    if (it == key->second.end() || !std::holds_alternative<DWORD>(it->second)) return FALSE;
    value = static_cast<int>(std::get<DWORD>(it->second));
    return TRUE;
}

BOOL CKXRegistrySettings::SetValue(LPCTSTR subKey, LPCTSTR name, int value) {
    if (!name || !*name) return FALSE;
    S().keys[KeyPath(subKey)][name] = static_cast<DWORD>(value);
    return TRUE;
}
