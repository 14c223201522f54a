#include "afx/afxreg.h"
#include "afx/afxfile.h"

#include "afx/afxdoc.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>
#include <utility>
#include <vector>
#include <unistd.h>

namespace {
std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Value {
    std::string name; // as first written
    DWORD type = REG_NONE;
    std::string data; // DWORD: 4 bytes; REG_SZ: text without the NUL
};

struct Key {
    std::string path;                    // as first written
    std::map<std::string, Value> values; // by upper-case name
};

struct Registry {
    std::map<std::string, Key> keys;            // by upper-case full path ("HKEY_CURRENT_USER\SOFTWARE\...")
    std::unordered_map<HKEY, std::string> open; // handle -> upper-case path
    UINT_PTR nextHandle = 0x40000;
    std::string dir;
    bool dirResolved = false;
    bool readOnly = false;              // the file could not be read whole nor set aside
    std::vector<std::string> problems;  // not yet taken by AfxTakeRegistryProblems

    static Registry& get() {
        static Registry r;
        return r;
    }

    void resolveDir() {
        if (dirResolved) return;
        dirResolved = true;
        if (const char* e = std::getenv("KX_REGISTRY_DIR"); e && *e)
            dir = e;
        else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
            dir = std::string(x) + "/kxtableeditor";
        else if (const char* h = std::getenv("HOME"); h && *h)
            dir = std::string(h) + "/.config/kxtableeditor";
        load();
    }
    std::string file() const { return dir.empty() ? std::string() : dir + "/registry.txt"; }

    static std::string escape(const std::string& s) {
        std::string out;
        for (unsigned char c : s) {
            if (c == '\\' || c == '"') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else if (c == '\t')
                out += "\\t";
            else if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else
                out += static_cast<char>(c);
        }
        return out;
    }
    // Reads a quoted text starting at s[i] == '"'; i ends after the closing quote.
    static bool unquote(const std::string& s, size_t& i, std::string& out) {
        if (i >= s.size() || s[i] != '"') return false;
        ++i;
        out.clear();
        while (i < s.size()) {
            char c = s[i++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i >= s.size()) return false;
            char e = s[i++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x':
                if (i + 2 > s.size()) return false;
                out += static_cast<char>(std::strtol(s.substr(i, 2).c_str(), nullptr, 16));
                i += 2;
                break;
            default:
                out += e;
                break;
            }
        }
        return false;
    }

    // File format: "[<key path>]" lines open a key; "<quoted name>=dword:<8 hex digits>" and
    // "<quoted name>=<quoted text>" lines are its values; empty lines and ";" lines are ignored.
    // A file with lines that do not parse is not written over: it is renamed aside (so that
    // nothing of the user's settings is dropped), what did parse is kept, and the problem is
    // reported through AfxTakeRegistryProblems.
    void load() {
        keys.clear();
        std::string f = file();
        if (f.empty()) return;
        std::ifstream in(f, std::ios::binary);
        if (!in) return;
        std::string line;
        Key* current = nullptr;
        int lineNo = 0, firstBad = 0, bad = 0;
        while (std::getline(in, line)) {
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == ';') continue;
            if (!parseLine(line, current)) {
                if (!bad++) firstBad = lineNo;
            }
        }
        in.close();
        if (bad) setAside(f, bad, firstBad);
    }

    bool parseLine(const std::string& line, Key*& current) {
        if (line[0] == '[') {
            size_t i = 1;
            std::string path;
            current = nullptr;
            if (!unquote(line, i, path) || i >= line.size() || line[i] != ']') return false;
            current = &keys[upper(path)];
            if (current->path.empty()) current->path = path;
            return true;
        }
        if (!current) return false;
        size_t i = 0;
        std::string name;
        if (!unquote(line, i, name) || i >= line.size() || line[i] != '=') return false;
        ++i;
        Value v;
        v.name = name;
        if (line.compare(i, 6, "dword:") == 0) {
            errno = 0;
            char* end = nullptr;
            unsigned long d = std::strtoul(line.c_str() + i + 6, &end, 16);
            if (errno == ERANGE || !end || *end != '\0' || d > 0xFFFFFFFFul) return false;
            DWORD dw = static_cast<DWORD>(d);
            v.type = REG_DWORD;
            v.data.assign(reinterpret_cast<const char*>(&dw), sizeof dw);
        } else {
            std::string text;
            if (!unquote(line, i, text)) return false;
            v.type = REG_SZ;
            v.data = text;
        }
        current->values[upper(name)] = v;
        return true;
    }

    // Keeps an unreadable registry file under a free name "<file>.unreadable[.N]".
    void setAside(const std::string& f, int bad, int firstBad) {
        std::string aside = f + ".unreadable";
        std::error_code ec;
        for (int n = 1; std::filesystem::exists(aside, ec) && n < 1000; ++n)
            aside = f + ".unreadable." + std::to_string(n);
        std::filesystem::rename(f, aside, ec);
        std::string what = f + ":" + std::to_string(firstBad) + ": " + std::to_string(bad) +
                           (bad == 1 ? " line does" : " lines do") + " not parse; ";
        if (ec) {
            // It stays where it is and is not written over: changes are kept in memory only.
            readOnly = true;
            problems.push_back(what + "the file cannot be set aside (" + ec.message() +
                               ") and is left as it is; settings are not saved");
        } else {
            problems.push_back(what + "the file is kept as " + aside + " and the settings that parsed are used");
        }
    }

    bool save() const {
        std::string f = file();
        if (f.empty()) return true;
        if (readOnly) return false;
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        std::ostringstream out;
        for (const auto& [k, key] : keys) {
            out << "[\"" << escape(key.path) << "\"]\n";
            for (const auto& [n, v] : key.values) {
                out << '"' << escape(v.name) << "\"=";
                if (v.type == REG_DWORD) {
                    DWORD dw = 0;
                    std::memcpy(&dw, v.data.data(), std::min(v.data.size(), sizeof dw));
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "dword:%08x", dw);
                    out << buf << '\n';
                } else {
                    out << '"' << escape(v.data) << "\"\n";
                }
            }
        }
        // A temporary of this process's own, flushed to disk, then renamed over the file, at once: a setting
        // changed during a save is no part of the design's files.
        std::string why;
        return AfxWriteFileNow(f, out.str(), why);
    }

    static std::string rootName(HKEY h) {
        if (h == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
        if (h == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
        if (h == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
        return std::string();
    }
    // The full path (as written) of hKey\sub; empty when hKey is not a key.
    std::string resolve(HKEY hKey, LPCSTR sub) {
        std::string base = rootName(hKey);
        if (base.empty()) {
            auto it = open.find(hKey);
            if (it == open.end()) return std::string();
            base = keys.count(it->second) ? keys[it->second].path : it->second;
        }
        std::string s = sub ? sub : "";
        for (auto& c : s)
            if (c == '/') c = '\\';
        while (!s.empty() && s.front() == '\\')
            s.erase(s.begin());
        while (!s.empty() && s.back() == '\\')
            s.pop_back();
        return s.empty() ? base : base + "\\" + s;
    }
    Key* keyOf(HKEY hKey) {
        std::string root = rootName(hKey);
        std::string path;
        if (!root.empty())
            path = root;
        else {
            auto it = open.find(hKey);
            if (it == open.end()) return nullptr;
            path = it->second;
        }
        auto k = keys.find(upper(path));
        if (k == keys.end()) {
            if (!root.empty()) {
                Key& nk = keys[upper(path)];
                nk.path = path;
                return &nk;
            }
            return nullptr;
        }
        return &k->second;
    }
    HKEY handleFor(const std::string& upperPath) {
        HKEY h = reinterpret_cast<HKEY>(nextHandle);
        nextHandle += 4;
        open[h] = upperPath;
        return h;
    }
};

Registry& R() {
    Registry& r = Registry::get();
    r.resolveDir();
    return r;
}
} // namespace

std::vector<std::string> AfxTakeRegistryProblems() {
    R(); // resolves and loads the registry when nobody has used it yet
    return std::exchange(Registry::get().problems, {});
}

void AfxSetRegistryDirectory(LPCSTR lpszDirectory) {
    Registry& r = Registry::get();
    r.dirResolved = true;
    r.readOnly = false;
    r.dir = lpszDirectory ? lpszDirectory : "";
    r.load();
}

CString AfxGetRegistryDirectory() {
    return CString(R().dir);
}
CString AfxGetRegistryFile() {
    return CString(R().file());
}

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::string path = R().resolve(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    std::string up = upper(path);
    if (!R().keys.count(up) && Registry::rootName(hKey) != path) return ERROR_FILE_NOT_FOUND;
    *phkResult = R().handleFor(up);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::string path = R().resolve(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    std::string up = upper(path);
    bool existed = R().keys.count(up) != 0;
    if (!existed) {
        // Create every missing key along the path.
        size_t pos = 0;
        while (true) {
            pos = path.find('\\', pos + 1);
            std::string part = pos == std::string::npos ? path : path.substr(0, pos);
            Key& k = R().keys[upper(part)];
            if (k.path.empty()) k.path = part;
            if (pos == std::string::npos) break;
        }
        R().save();
    }
    if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = R().handleFor(up);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey) {
    if (!Registry::rootName(hKey).empty()) return ERROR_SUCCESS;
    return R().open.erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, BYTE* lpData,
                         LPDWORD lpcbData) {
    if (!Registry::rootName(hKey).empty() || R().open.count(hKey)) {
        Key* k = R().keyOf(hKey);
        if (!k) return ERROR_FILE_NOT_FOUND;
        auto it = k->values.find(upper(lpValueName ? lpValueName : ""));
        if (it == k->values.end()) return ERROR_FILE_NOT_FOUND;
        const Value& v = it->second;
        DWORD need = static_cast<DWORD>(v.data.size() + (v.type == REG_SZ ? 1 : 0));
        if (lpType) *lpType = v.type;
        if (!lpData) {
            if (lpcbData) *lpcbData = need;
            return ERROR_SUCCESS;
        }
        if (!lpcbData) return ERROR_INVALID_PARAMETER;
        if (*lpcbData < need) {
            *lpcbData = need;
            return ERROR_MORE_DATA;
        }
        std::memcpy(lpData, v.data.data(), v.data.size());
        if (v.type == REG_SZ) lpData[v.data.size()] = 0;
        *lpcbData = need;
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_HANDLE;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    Key* k = R().keyOf(hKey);
    if (!k) return ERROR_INVALID_HANDLE;
    if (dwType != REG_DWORD && dwType != REG_SZ) return ERROR_INVALID_PARAMETER;
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    Value v;
    v.name = lpValueName ? lpValueName : "";
    v.type = dwType;
    if (dwType == REG_DWORD) {
        if (cbData < sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
        v.data.assign(reinterpret_cast<const char*>(lpData), sizeof(DWORD));
    } else {
        const char* p = reinterpret_cast<const char*>(lpData);
        size_t n = 0;
        while (n < cbData && p[n] != '\0')
            ++n; // the text ends at its NUL or at cbData
        v.data.assign(p ? p : "", n);
    }
    auto& slot = k->values[upper(v.name)];
    if (!slot.name.empty()) v.name = slot.name;
    slot = v;
    return R().save() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    Key* k = R().keyOf(hKey);
    if (!k) return ERROR_INVALID_HANDLE;
    if (!k->values.erase(upper(lpValueName ? lpValueName : ""))) return ERROR_FILE_NOT_FOUND;
    return R().save() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    if (!lpSubKey || !*lpSubKey) return ERROR_INVALID_PARAMETER;
    std::string path = R().resolve(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    std::string up = upper(path);
    if (!R().keys.count(up)) return ERROR_FILE_NOT_FOUND;
    for (auto it = R().keys.begin(); it != R().keys.end();) {
        if (it->first == up || it->first.rfind(up + "\\", 0) == 0)
            it = R().keys.erase(it);
        else
            ++it;
    }
    return R().save() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName) {
    std::string base = R().resolve(hKey, nullptr);
    if (base.empty()) return ERROR_INVALID_HANDLE;
    std::string prefix = upper(base) + "\\";
    DWORD i = 0;
    for (const auto& [up, key] : R().keys) {
        if (up.rfind(prefix, 0) != 0 || up.find('\\', prefix.size()) != std::string::npos) continue;
        if (i++ != dwIndex) continue;
        std::string name = key.path.substr(prefix.size());
        if (!lpName || cchName <= name.size()) return ERROR_MORE_DATA;
        std::memcpy(lpName, name.c_str(), name.size() + 1);
        return ERROR_SUCCESS;
    }
    return ERROR_NO_MORE_ITEMS;
}

BOOL AfxRegGetDword(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, DWORD& out) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(hRoot, lpszKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return FALSE;
    DWORD type = 0, value = 0, size = sizeof value;
    LSTATUS s = RegQueryValueExA(h, lpszValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(h);
    if (s != ERROR_SUCCESS || type != REG_DWORD) return FALSE;
    out = value;
    return TRUE;
}

BOOL AfxRegSetDword(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, DWORD value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(hRoot, lpszKey, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return FALSE;
    LSTATUS s =
        RegSetValueExA(h, lpszValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(h);
    return s == ERROR_SUCCESS;
}

BOOL AfxRegGetString(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, CString& out) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(hRoot, lpszKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return FALSE;
    DWORD type = 0, size = 0;
    LSTATUS s = RegQueryValueExA(h, lpszValue, nullptr, &type, nullptr, &size);
    if (s == ERROR_SUCCESS && type == REG_SZ) {
        std::string buf(size, '\0');
        s = RegQueryValueExA(h, lpszValue, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
        if (s == ERROR_SUCCESS) out = CString(buf.c_str());
    }
    RegCloseKey(h);
    return s == ERROR_SUCCESS && type == REG_SZ;
}

BOOL AfxRegSetString(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, LPCSTR value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(hRoot, lpszKey, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return FALSE;
    const char* v = value ? value : "";
    LSTATUS s = RegSetValueExA(h, lpszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(v),
                               static_cast<DWORD>(std::strlen(v) + 1));
    RegCloseKey(h);
    return s == ERROR_SUCCESS;
}

// ---------------------------------------------------------------- application profile
namespace {
CString profileKey(const CWinApp* app, LPCTSTR lpszSection) {
    CString key = "Software\\";
    key += (app->m_pszRegistryKey && *app->m_pszRegistryKey) ? app->m_pszRegistryKey : "KX";
    key += "\\";
    key += app->m_pszProfileName && *app->m_pszProfileName ? app->m_pszProfileName : app->m_pszAppName;
    if (lpszSection && *lpszSection) key += CString("\\") + lpszSection;
    return key;
}
} // namespace

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    DWORD v = 0;
    return AfxRegGetDword(HKEY_CURRENT_USER, profileKey(this, lpszSection), lpszEntry, v)
               ? v
               : static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    return AfxRegSetDword(HKEY_CURRENT_USER, profileKey(this, lpszSection), lpszEntry,
                          static_cast<DWORD>(nValue));
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    CString v;
    return AfxRegGetString(HKEY_CURRENT_USER, profileKey(this, lpszSection), lpszEntry, v)
               ? v
               : CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (!lpszEntry) {
        // A null entry removes the whole section.
        return RegDeleteKeyA(HKEY_CURRENT_USER, profileKey(this, lpszSection)) == ERROR_SUCCESS;
    }
    if (!lpszValue) {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, profileKey(this, lpszSection), 0, KEY_WRITE, &h) !=
            ERROR_SUCCESS)
            return FALSE;
        LSTATUS s = RegDeleteValueA(h, lpszEntry);
        RegCloseKey(h);
        return s == ERROR_SUCCESS;
    }
    return AfxRegSetString(HKEY_CURRENT_USER, profileKey(this, lpszSection), lpszEntry, lpszValue);
}
