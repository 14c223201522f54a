#include "kxcommon/KXCustomizeAPI.h"
#include "afx/afxfile.h"

#include "afx/afxanswer.h"
#include "afx/afxreg.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

struct OriginState {
    CStringArray defaults;
    CStringArray users;
    bool initialised = false;
};

struct State {
    std::string origin;
    std::map<std::string, OriginState> origins;
    std::string dir;
};

State& S() {
    static State s;
    return s;
}

OriginState& Current() {
    return S().origins[S().origin];
}

const char* const kOriginNames[] = {"DEFAULT", "INSTPROP", "PINPROP", "NETPROP", "USER"};

// The columns each grid kind starts with before anything was saved.
std::vector<const char*> BuiltIn(const std::string& origin) {
    if (origin == "CCP")
        return {"DIFF_PAIR|Diff Pair|3s|DEFAULT|SHOW", "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                "PN|Pin Number|8s|DEFAULT|SHOW",       "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                "SIGNAL|Signal|16s|DEFAULT|SHOW",      "TERMINATION|Termination|12s|DEFAULT|SHOW",
                "PUPD|Pull Up/Down|10s|DEFAULT|SHOW",  "COMMENTS|Comments|16s|DEFAULT|SHOW"};
    if (origin == "SCP")
        return {"START_BIT|Start Bit|6s|DEFAULT|SHOW",
                "END_BIT|End Bit|6s|DEFAULT|SHOW",
                "CELL|Cell|12s|DEFAULT|SHOW",
                "INSTANCE|Instance|12s|DEFAULT|SHOW",
                "LOCATION|Ref Des|8s|DEFAULT|SHOW",
                "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                "PN|Pin Number|8s|DEFAULT|SHOW",
                "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                "TERMINATION|Termination|12s|DEFAULT|SHOW",
                "PUPD|Pull Up/Down|10s|DEFAULT|SHOW"};
    if (origin == "PHYSCP")
        return {"LOCATION|Ref Des|8s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                "PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                "SIGNAL_MODEL|Signal Model|12s|DEFAULT|SHOW"};
    if (origin == "PHYCCP")
        return {"PN|Pin Number|8s|DEFAULT|SHOW", "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW", "SIGNAL|Signal|16s|DEFAULT|SHOW",
                "PIN_SIGNAL_MODEL|Signal Model|12s|DEFAULT|SHOW"};
    if (origin == "MATRIX")
        return {"NAME|Signal|16s|DEFAULT|SHOW",
                "PHYS_NET_NAME|Physical Net|14s|DEFAULT|SHOW",
                "PUPD|Pull Up/Down|10s|DEFAULT|SHOW",
                "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                "PN|Pin Number|8s|DEFAULT|SHOW",
                "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                "TERMINATION|Termination|12s|DEFAULT|SHOW"};
    return {};
}

std::string StoragePath(const std::string& origin) {
    return (fs::path(CKXCustomizeAPI::GetStorageDirectory().str()) / (origin + ".cust")).string();
}

bool IsSafeOrigin(const std::string& o) {
    if (o.empty()) return false;
    for (char c : o)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
    return true;
}

struct Entry {
    CString key, caption;
    int width = 0, widthType = KX_WIDTH_CHARS, origin = 0, display = 1;
};

bool Split(const CString& text, Entry& e) {
    return CKXCustomizeAPI::parseAttributeValues(text, e.key, e.width, e.widthType, e.origin, e.caption,
                                                 e.display) != FALSE;
}

CString Join(const Entry& e) {
    return CKXCustomizeAPI::formatEntry(e.key, e.caption, e.width, e.widthType, e.origin, e.display == 1);
}

bool ReadFile(const std::string& path, CStringArray& defaults, CStringArray& users, bool& exists) {
    exists = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return true; // nothing stored yet
    exists = true;
    std::string line;
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != "KXCUSTOMIZE 1") return false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.size() < 3 || line[1] != ' ' || (line[0] != 'D' && line[0] != 'U')) return false;
        CString entry(line.substr(2));
        Entry e;
        if (!Split(entry, e)) return false;
        (line[0] == 'D' ? defaults : users).Add(Join(e));
    }
    return !in.bad();
}

std::vector<std::string> SplitList(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    for (auto& x : out) {
        size_t a = x.find_first_not_of(" \t");
        size_t b = x.find_last_not_of(" \t");
        x = a == std::string::npos ? std::string() : x.substr(a, b - a + 1);
    }
    std::erase(out, std::string());
    return out;
}

bool ParseWidth(const std::string& t, int& width, int& type) {
    if (t.size() < 2) return false;
    char kind = t.back();
    if (kind != 's' && kind != 'f') return false;
    std::string digits = t.substr(0, t.size() - 1);
    if (digits.empty() || digits.size() > 6) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    width = std::atoi(digits.c_str());
    type = kind == 'f' ? KX_WIDTH_FIXED : KX_WIDTH_CHARS;
    return true;
}

} // namespace

CKXCustomizeAPI* CKXCustomizeAPI::GetCKXCustomizeObj() {
    static CKXCustomizeAPI obj;
    return &obj;
}

void CKXCustomizeAPI::setCustomizationOrigin(const char* origin) {
    S().origin = origin ? origin : "";
}

CString CKXCustomizeAPI::getCustomizationOrigin() {
    return CString(S().origin);
}

int CKXCustomizeAPI::Initialize(bool bReset) {
    if (!IsSafeOrigin(S().origin)) return -1;
    OriginState& st = Current();
    if (st.initialised && !bReset) return 0;
    CStringArray defaults, users;
    bool exists = false;
    std::string path = StoragePath(S().origin);
    if (!ReadFile(path, defaults, users, exists)) {
        if (!bReset) return KX_CUSTOMIZE_RETRY;
        // Keep the unreadable file for inspection, start again from the built-in columns.
        std::error_code ec;
        fs::rename(path, path + ".bad", ec);
        defaults.RemoveAll();
        users.RemoveAll();
        exists = false;
    }
    if (!exists && defaults.IsEmpty())
        for (const char* e : BuiltIn(S().origin))
            defaults.Add(e);
    st.defaults.Copy(defaults);
    st.users.Copy(users);
    st.initialised = true;
    return 0;
}

BOOL CKXCustomizeAPI::IsInitialized() {
    auto it = S().origins.find(S().origin);
    return it != S().origins.end() && it->second.initialised;
}

BOOL CKXCustomizeAPI::parseAttributeValues(const CString& entryText, CString& key, int& width, int& widthType,
                                           int& origin, CString& caption, int& display) {
    std::string s = entryText.str();
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            if (static_cast<unsigned char>(c) < 0x20 || c == '"') return FALSE;
            cur += c;
        }
    }
    parts.push_back(cur);
    if (parts.size() != 5 || parts[0].empty()) return FALSE;
    int w = 0, wt = 0;
    if (!ParseWidth(parts[2], w, wt)) return FALSE;
    int o = -1;
    for (int i = 0; i < 5; ++i)
        if (parts[3] == kOriginNames[i]) o = i;
    if (o < 0) return FALSE;
    int d;
    if (parts[4] == "SHOW")
        d = 1;
    else if (parts[4] == "HIDE")
        d = 0;
    else
        return FALSE;
    key = parts[0];
    caption = parts[1];
    width = w;
    widthType = wt;
    origin = o;
    display = d;
    return TRUE;
}

CString CKXCustomizeAPI::formatEntry(const CString& key, const CString& caption, int width, int widthType,
                                     int origin, BOOL shown) {
    const char* originText = origin >= 0 && origin <= 3 ? kOriginNames[origin] : "USER";
    CString out;
    out.Format("%s|%s|%d%c|%s|%s", key.GetString(), caption.GetString(), width < 0 ? 0 : width,
               widthType == KX_WIDTH_FIXED ? 'f' : 's', originText, shown ? "SHOW" : "HIDE");
    return out;
}

const CStringArray& CKXCustomizeAPI::getDefaultEntriesArray() {
    return Current().defaults;
}

const CStringArray& CKXCustomizeAPI::getUserEntriesArray() {
    return Current().users;
}

namespace {
// Stores well-formed entries in one of the origin's lists; a malformed entry stores nothing.
BOOL StoreEntries(const CStringArray& entries, CStringArray OriginState::*list) {
    CStringArray clean;
    Entry e;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        if (!Split(entries[i], e)) return FALSE;
        clean.Add(Join(e));
    }
    OriginState& st = Current();
    (st.*list).Copy(clean);
    st.initialised = true;
    return TRUE;
}
} // namespace

BOOL CKXCustomizeAPI::saveDefaultCustomization(const CStringArray& entries) {
    return StoreEntries(entries, &OriginState::defaults);
}

BOOL CKXCustomizeAPI::saveUserCustomization(const CStringArray& entries) {
    return StoreEntries(entries, &OriginState::users);
}

BOOL CKXCustomizeAPI::parseFile(const CStringArray& entries, bool bMerge) {
    CStringArray clean;
    std::set<CString> keys;
    Entry e;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        if (!Split(entries[i], e)) return FALSE;
        clean.Add(Join(e));
        keys.insert(e.key);
    }
    OriginState& st = Current();
    st.defaults.Copy(clean);
    CStringArray users;
    if (bMerge)
        for (INT_PTR i = 0; i < st.users.GetSize(); ++i)
            if (Split(st.users[i], e) && !keys.count(e.key)) users.Add(st.users[i]);
    st.users.Copy(users);
    st.initialised = true;
    return TRUE;
}

BOOL CKXCustomizeAPI::saveFile() {
    std::error_code ec;
    std::string dir = GetStorageDirectory().str();
    if (dir.empty()) return TRUE; // kept in memory only
    fs::create_directories(dir, ec);
    BOOL ok = TRUE;
    for (auto& [origin, st] : S().origins) {
        if (!st.initialised || !IsSafeOrigin(origin)) continue;
        std::string path = StoragePath(origin);
        std::string text = "KXCUSTOMIZE 1\n", why;
        for (INT_PTR i = 0; i < st.defaults.GetSize(); ++i)
            text += "D " + st.defaults[i].str() + "\n";
        for (INT_PTR i = 0; i < st.users.GetSize(); ++i)
            text += "U " + st.users[i].str() + "\n";
        if (!AfxWriteFileSafely(path, text, why)) ok = FALSE;
    }
    return ok;
}

int CKXCustomizeAPI::addUserEntry(const CString& entry) {
    Entry added;
    if (!Split(entry, added)) return -1;
    OriginState& st = Current();
    for (const CStringArray* list : {&st.defaults, &st.users})
        for (INT_PTR i = 0; i < list->GetSize(); ++i) {
            Entry e;
            if (Split(list->GetAt(i), e) && e.key.CompareNoCase(added.key) == 0) return 0;
        }
    st.users.Add(Join(added));
    st.initialised = true;
    return 1;
}

namespace {

// The columns named in `order` first, in its order, then the others as they were.
void Reorder(std::vector<Entry>& list, const std::vector<std::string>& order) {
    std::vector<Entry> sorted;
    for (const auto& key : order)
        for (auto& x : list)
            if (x.key == key.c_str()) sorted.push_back(x);
    for (auto& x : list) {
        bool listed = false;
        for (const auto& key : order)
            listed = listed || x.key == key.c_str();
        if (!listed) sorted.push_back(x);
    }
    list = std::move(sorted);
}

// The origin's columns become these; true when they differ from what it had.
bool Store(OriginState& st, const std::vector<Entry>& defaults, const std::vector<Entry>& users) {
    CStringArray newDefaults, newUsers;
    for (auto& x : defaults)
        newDefaults.Add(Join(x));
    for (auto& x : users)
        newUsers.Add(Join(x));
    bool changed = newDefaults.GetSize() != st.defaults.GetSize() || newUsers.GetSize() != st.users.GetSize();
    for (INT_PTR i = 0; !changed && i < newDefaults.GetSize(); ++i)
        changed = newDefaults[i] != st.defaults[i];
    for (INT_PTR i = 0; !changed && i < newUsers.GetSize(); ++i)
        changed = newUsers[i] != st.users[i];
    st.defaults.Copy(newDefaults);
    st.users.Copy(newUsers);
    st.initialised = true;
    return changed;
}

}  // namespace

int CKXCustomizeAPI::invokeCustomizeDialog(int gridKind) {
    (void)gridKind;
    AfxDialogAnswer answer;
    if (!AfxGetAnswerQueue().TakeDialog("CKXCustomizeDialog", answer)) return 2;
    OriginState& st = Current();
    std::vector<Entry> defaults, users;
    Entry e;
    for (INT_PTR i = 0; i < st.defaults.GetSize(); ++i)
        if (Split(st.defaults[i], e)) defaults.push_back(e);
    for (INT_PTR i = 0; i < st.users.GetSize(); ++i)
        if (Split(st.users[i], e)) users.push_back(e);
    auto find = [&](const std::string& key) -> Entry* {
        for (auto* list : {&users, &defaults})
            for (auto& x : *list)
                if (x.key == key.c_str()) return &x;
        return nullptr;
    };
    auto field = [&](const char* name) -> std::string {
        auto it = answer.fields.find(name);
        return it == answer.fields.end() ? std::string() : it->second.str();
    };
    // Everything is checked before anything changes; a column the dialog does not offer refuses the answer.
    const auto refuse = [](const std::string& what) {
        AfxGetAnswerQueue().RefuseDialog("CKXCustomizeDialog", CString(what));
        return -1;
    };
    for (const char* list : {"hide", "show", "order"})
        for (const auto& key : SplitList(field(list), ','))
            if (!find(key)) return refuse("the grid has no column \"" + key + "\" to " + list);
    for (const auto& key : SplitList(field("remove"), ',')) {
        bool isUser = false;
        for (auto& u : users)
            isUser = isUser || u.key == key.c_str();
        if (!isUser) return refuse("\"" + key + "\" is no column added by the user");
    }
    std::vector<Entry> added;
    for (const auto& text : SplitList(field("add"), ';')) {
        Entry a;
        if (!Split(CString(text), a) || find(a.key.str())) return refuse("\"" + text + "\" is no new column");
        for (auto& x : added)
            if (x.key == a.key) return refuse("\"" + text + "\" is added twice");
        added.push_back(a);
    }
    std::vector<std::pair<Entry*, std::pair<int, int>>> widths;
    for (const auto& [name, value] : answer.fields) {
        if (name.Left(6) != "width.") continue;
        Entry* target = find(name.Mid(6).str());
        int w = 0, t = 0;
        if (!target || !ParseWidth(value.str(), w, t)) return refuse("\"" + value.str() + "\" is no width of " + name.str());
        widths.push_back({target, {w, t}});
    }

    for (const auto& key : SplitList(field("hide"), ','))
        find(key)->display = 0;
    for (const auto& key : SplitList(field("show"), ','))
        find(key)->display = 1;
    for (auto& [target, wt] : widths) {
        target->width = wt.first;
        target->widthType = wt.second;
    }
    for (const auto& key : SplitList(field("remove"), ','))
        std::erase_if(users, [&](const Entry& u) { return u.key == key.c_str(); });
    for (auto& a : added)
        users.push_back(a);
    const auto order = SplitList(field("order"), ',');
    if (!order.empty()) {
        Reorder(users, order);
        Reorder(defaults, order);
    }
    return Store(st, defaults, users) ? 1 : 0;
}

void CKXCustomizeAPI::SetStorageDirectory(const char* dir) {
    S().dir = dir ? dir : "";
}

CString CKXCustomizeAPI::GetStorageDirectory() {
    if (!S().dir.empty()) return CString(S().dir);
    const char* env = std::getenv("KX_CUSTOMIZE_DIR");
    if (env && *env) return CString(env);
    return AfxGetRegistryDirectory();
}

void CKXCustomizeAPI::Reset() {
    S().origins.clear();
    S().origin.clear();
}
