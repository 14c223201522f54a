#include "kxnotes/CComments.h"
#include "afx/afxfile.h"

#include "afx/afxcoll.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kMagic = "KXNOTES 1";

// The length of the UTF-8 character at s[i] (its code point in cp); 0 when the bytes there are none
// (a stray or overlong byte, a surrogate, a code point above U+10FFFF, a sequence cut short).
std::size_t utf8At(const std::string& s, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    // The first byte gives the length and the range the second byte must lie in.
    std::size_t len = 0;
    unsigned low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        len = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F; // U+D800..U+DFFF are no characters
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    cp = b0 & (0xFF >> (len + 1));
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned b = byte(i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return len;
}

// Controls other than the tab and the line breaks: C0 controls, DEL and the C1 controls.
bool isControl(char32_t cp) {
    return (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || (cp >= 0x7F && cp <= 0x9F);
}

void appendHexEscape(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// The field as the file holds it: valid UTF-8 without controls. Each byte of a control character, or of
// bytes that are no UTF-8 (a file of an older writer may have given such text), becomes "\xHH".
std::string escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const char* named = c == '\\'   ? "\\\\"
                            : c == '\t' ? "\\t"
                            : c == '\n' ? "\\n"
                            : c == '\r' ? "\\r"
                                        : nullptr;
        if (named) {
            out += named;
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = utf8At(s, i, cp);
        if (len > 0 && !isControl(cp))
            out.append(s, i, len);
        else
            for (std::size_t k = 0; k < std::max<std::size_t>(len, 1); ++k)
                appendHexEscape(out, static_cast<unsigned char>(s[i + k]));
        i += std::max<std::size_t>(len, 1);
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool unescape(const std::string& s, std::string& out) {
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size()) return false;
        switch (s[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            const int high = i + 2 < s.size() ? hexDigit(s[i + 1]) : -1;
            const int low = high < 0 ? -1 : hexDigit(s[i + 2]);
            if (low < 0) return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> f;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return f;
}

std::string joinTabs(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const auto& f : fields) {
        if (!first) out += '\t';
        out += escape(f);
        first = false;
    }
    return out;
}

} // namespace

// ---- CMatrixViewData ----

CMatrixViewData::View* CMatrixViewData::find(const CString& view) {
    for (auto& v : m_views)
        if (v.name == view) return &v;
    return nullptr;
}

const CMatrixViewData::View* CMatrixViewData::find(const CString& view) const {
    for (const auto& v : m_views)
        if (v.name == view) return &v;
    return nullptr;
}

CMatrixViewData::View& CMatrixViewData::findOrCreate(const CString& view) {
    if (View* v = find(view)) return *v;
    m_views.push_back(View{view, {}, {}});
    touch(m_views.back());
    return m_views.back();
}

void CMatrixViewData::touch(View& v) {
    v.modified = true;
    v.revision = ++m_lastRevision;
    m_bDirty = true;
}

void CMatrixViewData::GetMatrixComponentList(const CString& view, std::vector<CString>& paths) const {
    paths.clear();
    if (const View* v = find(view)) paths = v->instances;
}

void CMatrixViewData::GetMatrixSignalList(const CString& view, std::vector<CString>& paths) const {
    paths.clear();
    if (const View* v = find(view)) paths = v->signals;
}

void CMatrixViewData::GetMatrixComponentList(const CString& view, CStringArray& paths) const {
    std::vector<CString> v;
    GetMatrixComponentList(view, v);
    paths.RemoveAll();
    for (const auto& p : v)
        paths.Add(p);
}

void CMatrixViewData::GetMatrixSignalList(const CString& view, CStringArray& paths) const {
    std::vector<CString> v;
    GetMatrixSignalList(view, v);
    paths.RemoveAll();
    for (const auto& p : v)
        paths.Add(p);
}

void CMatrixViewData::AddInstanceToMatrixView(const CString& view, const CString& path) {
    if (view.IsEmpty()) return;
    View& v = findOrCreate(view);
    if (std::find(v.instances.begin(), v.instances.end(), path) != v.instances.end()) return;
    v.instances.push_back(path);
    touch(v);
}

void CMatrixViewData::AddSignalToMatrixView(const CString& view, const CString& path) {
    if (view.IsEmpty()) return;
    View& v = findOrCreate(view);
    if (std::find(v.signals.begin(), v.signals.end(), path) != v.signals.end()) return;
    v.signals.push_back(path);
    touch(v);
}

BOOL CMatrixViewData::CreateView(const CString& view) {
    if (view.IsEmpty() || find(view)) return FALSE;
    findOrCreate(view);
    return TRUE;
}

BOOL CMatrixViewData::RemoveView(const CString& view) {
    for (auto it = m_views.begin(); it != m_views.end(); ++it) {
        if (it->name == view) {
            m_views.erase(it);
            m_bDirty = true;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMatrixViewData::InsertView(int index, const CString& view, const std::vector<CString>& instances,
                                 const std::vector<CString>& signals) {
    if (view.IsEmpty() || find(view)) return FALSE;
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), m_views.size());
    const auto it = m_views.insert(m_views.begin() + static_cast<std::ptrdiff_t>(at), View{view, instances, signals});
    touch(*it);
    return TRUE;
}

BOOL CMatrixViewData::ReplaceView(const CString& view, const CString& newName, const std::vector<CString>& instances,
                                  const std::vector<CString>& signals) {
    View* v = find(view);
    if (!v || newName.IsEmpty()) return FALSE;
    if (newName != view && find(newName)) return FALSE;
    v->name = newName;
    v->instances = instances;
    v->signals = signals;
    touch(*v);
    return TRUE;
}

namespace {

// The path of a bit of the net at `from` (or of the net itself) as a path of the net at `to`; false for
// the path of another object.
bool RenamedNetPath(const std::string& path, const std::string& from, const std::string& to,
                    std::string& renamed) {
    if (path.compare(0, from.size(), from) != 0) return false;
    if (path.size() != from.size() && path[from.size()] != '<') return false;
    renamed = to + path.substr(from.size());
    return true;
}

} // namespace

int CMatrixViewData::renamePaths(std::vector<CString> View::*list, const PathRename& renamed) {
    int changed = 0;
    for (View& v : m_views) {
        bool any = false;
        std::vector<CString> paths;
        std::set<std::string> listed;
        paths.reserve((v.*list).size());
        for (const CString& path : v.*list) {
            std::string text = path.str(), now;
            if (renamed(text, now)) {
                text = now;
                any = true;
            }
            if (listed.insert(text).second) paths.emplace_back(text.c_str());
        }
        if (!any) continue;
        v.*list = std::move(paths);
        m_bDirty = true;
        ++changed;
    }
    return changed;
}

int CMatrixViewData::RenameNet(const CString& from, const CString& to) {
    if (from.IsEmpty() || to.IsEmpty() || from == to) return 0;
    return renamePaths(&View::signals, [&](const std::string& path, std::string& now) {
        return RenamedNetPath(path, from.str(), to.str(), now);
    });
}

int CMatrixViewData::RenameInstance(const CString& from, const CString& to) {
    if (from.IsEmpty() || to.IsEmpty() || from == to) return 0;
    return renamePaths(&View::instances, [&](const std::string& path, std::string& now) {
        if (path != from.str()) return false;
        now = to.str();
        return true;
    });
}

int CMatrixViewData::IndexOfView(const CString& view) const {
    for (std::size_t i = 0; i < m_views.size(); ++i)
        if (m_views[i].name == view) return static_cast<int>(i);
    return -1;
}

BOOL CMatrixViewData::HasView(const CString& view) const {
    return find(view) != nullptr;
}

void CMatrixViewData::GetViewNames(std::vector<CString>& names) const {
    names.clear();
    for (const auto& v : m_views)
        names.push_back(v.name);
}

BOOL CMatrixViewData::IsViewModified(const CString& view) const {
    const View* v = find(view);
    return v && v->modified;
}

std::uint64_t CMatrixViewData::ViewRevision(const CString& view) const {
    const View* v = find(view);
    return v ? v->revision : 0;
}

void CMatrixViewData::SetMatrixViewModified(const CString& view, BOOL modified) {
    if (View* v = find(view)) v->modified = modified != FALSE;
}

void CMatrixViewData::Clear() {
    m_views.clear();
    m_bDirty = false;
}

// ---- CComments ----

namespace {

// The surrogate that three bytes at text[i] encode the way a Tcl host passes it (ED A0..BF xx); 0 if none.
unsigned surrogateAt(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    if (byte(0) != 0xED || byte(1) < 0xA0 || byte(1) > 0xBF || (byte(2) & 0xC0) != 0x80) return 0;
    return 0xD000 | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
}

void appendUtf8(std::string& out, char32_t cp) {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

// "WHAT (U+XXXX) at character N", or with the form of the code given ("0x%02X" for a byte).
std::string faultAt(const char* what, unsigned code, std::size_t character, bool byte = false) {
    char number[16];
    if (byte)
        std::snprintf(number, sizeof number, "0x%02X", code);
    else
        std::snprintf(number, sizeof number, "U+%04X", code);
    return std::string(what) + " (" + number + ") at character " + std::to_string(character);
}

} // namespace

std::string CComments::StoredText(const std::string& given, std::string& stored) {
    stored.clear();
    stored.reserve(given.size());
    std::size_t character = 1;
    for (std::size_t i = 0; i < given.size(); ++character) {
        const unsigned high = surrogateAt(given, i), low = high ? surrogateAt(given, i + 3) : 0;
        if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00) {
            // A pair stands for one character beyond U+FFFF: the file holds that character.
            appendUtf8(stored, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
            i += 6;
            continue;
        }
        if (high) return faultAt("a lone surrogate", high, character);
        char32_t cp = 0;
        const std::size_t len = utf8At(given, i, cp);
        if (len == 0 && static_cast<unsigned char>(given[i]) == 0xC0 && i + 1 < given.size() &&
            static_cast<unsigned char>(given[i + 1]) == 0x80)
            return faultAt("a NUL character", 0, character); // Tcl's form of U+0000
        if (len == 0)
            return faultAt("a byte that is no UTF-8 text", static_cast<unsigned char>(given[i]), character,
                           true);
        if (isControl(cp)) return faultAt("a control character", static_cast<unsigned>(cp), character);
        stored.append(given, i, len);
        i += len;
    }
    return std::string();
}


CComments::CComments(const CString& tool, const CString& cell, double number)
    : m_strTool(tool), m_strCell(cell), m_dNumber(number) {}

CComments::~CComments() = default;

CString CComments::CommentsFileFor(const CString& path) const {
    return FileFor(path, m_strCell);
}

CString CComments::FileFor(const CString& path, const CString& cell) const {
    fs::path p(path.str());
    std::error_code ec;
    fs::path dir = fs::is_directory(p, ec) ? p : p.parent_path();
    // A name without a folder (a design name, say) says nothing about where the design lies.
    if (dir.empty()) return CString();
    std::string tool = m_strTool.IsEmpty() ? std::string("notes") : m_strTool.str();
    std::string name = cell.str() + "." + tool + ".notes";
    // Neither the cell nor the tool may lead the file out of the design's folder.
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    return CString((dir / name).string());
}

bool CComments::parse(const std::string& data, const CString& file) {
    std::istringstream in(data);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        m_strError.Format("%s: line %d: %s", file.GetString(), lineNo, what.c_str());
        return false;
    };
    if (!std::getline(in, line)) {
        ++lineNo;
        return fail("empty file");
    }
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != kMagic)
        return fail("not a comments file (first line must be \"" + std::string(kMagic) + "\")");

    bool hasDesign = false;
    Entry design;
    std::map<std::pair<std::string, std::string>, Entry> pins;
    CMatrixViewData views;
    CMatrixViewData::View* current = nullptr;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> raw = splitTabs(line);
        std::vector<std::string> f(raw.size());
        for (size_t i = 0; i < raw.size(); ++i)
            if (!unescape(raw[i], f[i])) return fail("bad escape sequence");
        const std::string& tag = f[0];
        if (tag == "D") {
            if (f.size() != 5) return fail("design comment needs 4 fields");
            if (hasDesign) return fail("second design comment");
            hasDesign = true;
            design = Entry{f[1], f[2], f[3], f[4]};
        } else if (tag == "P") {
            if (f.size() != 7) return fail("pin comment needs 6 fields");
            auto key = std::make_pair(f[1], f[2]);
            if (pins.count(key)) return fail("pin comment given twice");
            pins[key] = Entry{f[3], f[4], f[5], f[6]};
        } else if (tag == "V") {
            if (f.size() != 2 || f[1].empty()) return fail("view needs a name");
            if (views.HasView(f[1])) return fail("view given twice");
            views.CreateView(f[1]);
            current = views.find(f[1]);
        } else if (tag == "I" || tag == "S") {
            if (f.size() != 2) return fail("path line needs 1 field");
            if (!current) return fail("path outside a view");
            (tag == "I" ? current->instances : current->signals).push_back(f[1]);
        } else {
            return fail("unknown record \"" + tag + "\"");
        }
    }
    // Numbered on from the views read before, so that no window takes a view read now for one it loaded.
    views.m_lastRevision = m_views.m_lastRevision;
    for (auto& v : views.m_views)
        views.touch(v);
    views.m_bDirty = false;
    m_bHasDesign = hasDesign;
    m_design = design;
    m_pins = std::move(pins);
    m_views = std::move(views);
    return true;
}

std::string CComments::serialize() const {
    std::string out = std::string(kMagic) + "\n";
    if (m_bHasDesign)
        out +=
            "D\t" +
            joinTabs({m_design.text.str(), m_design.date.str(), m_design.time.str(), m_design.user.str()}) +
            "\n";
    for (const auto& [key, e] : m_pins)
        out += "P\t" +
               joinTabs({key.first, key.second, e.text.str(), e.date.str(), e.time.str(), e.user.str()}) +
               "\n";
    for (const auto& v : m_views.m_views) {
        out += "V\t" + escape(v.name.str()) + "\n";
        for (const auto& p : v.instances)
            out += "I\t" + escape(p.str()) + "\n";
        for (const auto& p : v.signals)
            out += "S\t" + escape(p.str()) + "\n";
    }
    return out;
}

bool CComments::loadComments(const CString& path) {
    m_strError.Empty();
    m_bHasDesign = false;
    m_design = Entry{};
    m_pins.clear();
    m_views.Clear();
    m_bModified = false;
    m_bLoadRefused = false;
    m_bFileHasDesign = false;
    m_fileDesign = Entry{};
    // Without a place there is nothing to read; the comments live in memory until a folder is given to save.
    m_strFile = CommentsFileFor(path);
    m_stamp = std::make_shared<AfxFileStamp>();
    if (m_strFile.IsEmpty()) return true;
    std::error_code ec;
    if (!fs::exists(m_strFile.str(), ec)) {
        m_stamp->Absent(); // a notes file made since by another process is not written over
        return true;
    }
    std::string text, why;
    if (!AfxReadFile(m_strFile.str(), text, why, m_stamp.get())) {
        m_strError.Format("%s: cannot be read", m_strFile.GetString());
        m_bLoadRefused = true;
        m_strRefusedFile = m_strFile;
        return false;
    }
    m_bLoadRefused = !parse(text, m_strFile);
    if (m_bLoadRefused) m_strRefusedFile = m_strFile;
    // A file of another hand (other line ends, another order) that says what this store would write is
    // no change to save.
    else m_stamp->ReadAs(serialize());
    m_bFileHasDesign = m_bHasDesign;
    m_fileDesign = m_design;
    return !m_bLoadRefused;
}

bool CComments::saveComments(const CString& path) {
    m_strError.Empty();
    CString targetFile = path.IsEmpty() ? m_strFile : CommentsFileFor(path);
    if (targetFile.IsEmpty()) {
        m_strError = "no design folder to save the comments in";
        return false;
    }
    if (m_bLoadRefused && targetFile == m_strRefusedFile) {
        m_strError.Format("%s: was refused when loading and is not written over", targetFile.GetString());
        return false;
    }
    // Another place is another file: what this store knew of its own file says nothing about it.
    if (targetFile != m_strFile || !m_stamp) m_stamp = std::make_shared<AfxFileStamp>();
    m_strFile = targetFile;
    const std::string target = m_strFile.str();
    std::string why;
    if (!AfxWriteFileSafely(target, serialize(), why, m_stamp)) {
        if (why.rfind(target, 0) == 0) m_strError = why.c_str();
        else m_strError.Format("%s: cannot be written (%s)", target.c_str(), why.c_str());
        return false;
    }
    // Saved once the file is in place: a batch whose commit fails leaves the comments unsaved.
    AfxFileBatch::WhenInPlace([this, hasDesign = m_bHasDesign, design = m_design] {
        m_bModified = false;
        m_views.SetDirty(false);
        m_bFileHasDesign = hasDesign;
        m_fileDesign = design;
    });
    return true;
}

bool CComments::hasChangesToSave() const {
    if (m_strFile.IsEmpty()) return IsModified();
    const std::string text = serialize();
    std::error_code ec;
    const bool onDisk = fs::exists(m_strFile.str(), ec);
    const bool held = m_stamp && m_stamp->IsHeld();
    // An empty store needs no file; a file held once and changed since is written again, emptied too.
    const bool empty = !m_bHasDesign && m_pins.empty() && m_views.Count() == 0;
    if (held && m_stamp->Holds(text)) return !onDisk && !empty;
    return held || !empty;
}

bool CComments::fileChangedOnDisk() const {
    return !m_strFile.IsEmpty() && m_stamp && !m_stamp->Matches(m_strFile.str());
}

void CComments::restoreFileDesignComment() {
    m_bHasDesign = m_bFileHasDesign;
    m_design = m_fileDesign;
}

bool CComments::saveCommentsAs(const CString& folder, const CString& cell) {
    m_strError.Empty();
    const CString target = cell.IsEmpty() ? CString() : FileFor(folder, cell);
    if (target.IsEmpty()) {
        m_strError = "no design folder to save the comments in";
        return false;
    }
    // The comments file of a design the library lacks is someone's all the same: it is not written over,
    // there or by another process meanwhile.
    std::error_code ec;
    if (fs::symlink_status(target.str(), ec).type() != fs::file_type::not_found) {
        m_strError.Format("%s: a comments file of that name is there already; not written over: save under "
                          "another name",
                          target.GetString());
        return false;
    }
    auto stamp = std::make_shared<AfxFileStamp>();
    stamp->Absent();
    std::string why;
    if (!AfxWriteFileSafely(target.str(), serialize(), why, stamp)) {
        m_strError.Format("%s: cannot be written (%s)", target.GetString(), why.c_str());
        return false;
    }
    return true;
}

bool CComments::getDesignComments(CString& text, CString& date, CString& time, CString& user) const {
    if (!m_bHasDesign) return false;
    text = m_design.text;
    date = m_design.date;
    time = m_design.time;
    user = m_design.user;
    return true;
}

bool CComments::addDesignComments(const CString& text, const CString& date, const CString& time,
                                  const CString& user) {
    m_bHasDesign = true;
    m_design = Entry{text, date, time, user};
    m_bModified = true;
    return true;
}

bool CComments::removeDesignComments() {
    if (!m_bHasDesign) return false;
    m_bHasDesign = false;
    m_design = Entry{};
    m_bModified = true;
    return true;
}

bool CComments::getPinComments(const CString& instanceKey, const CString& pinKey, CString& text,
                               CString& date, CString& time, CString& user) const {
    auto it = m_pins.find(std::make_pair(instanceKey.str(), pinKey.str()));
    if (it == m_pins.end()) return false;
    text = it->second.text;
    date = it->second.date;
    time = it->second.time;
    user = it->second.user;
    return true;
}

bool CComments::addPinComments(const CString& instanceKey, const CString& pinKey, const CString& text,
                               const CString& date, const CString& time, const CString& user) {
    if (instanceKey.IsEmpty() || pinKey.IsEmpty()) return false;
    m_pins[std::make_pair(instanceKey.str(), pinKey.str())] = Entry{text, date, time, user};
    m_bModified = true;
    return true;
}

bool CComments::removePinComments(const CString& instanceKey, const CString& pinKey) {
    if (m_pins.erase(std::make_pair(instanceKey.str(), pinKey.str())) == 0) return false;
    m_bModified = true;
    return true;
}

int CComments::moveInstanceComments(const CString& fromInstance, const CString& toInstance,
                                    std::vector<CString>* movedPins) {
    const std::string from = fromInstance.str(), to = toInstance.str();
    if (from.empty() || to.empty() || from == to) return 0;
    int moved = 0;
    // The pins of one instance are neighbours in the map: the walk costs that instance's comments.
    for (auto it = m_pins.lower_bound({from, std::string()}); it != m_pins.end() && it->first.first == from;) {
        const std::string pin = it->first.second;
        if (m_pins.count({to, pin})) { // the other instance's own comment stays; this one stays too
            ++it;
            continue;
        }
        m_pins.emplace(std::make_pair(to, pin), it->second);
        it = m_pins.erase(it);
        if (movedPins) movedPins->push_back(pin.c_str());
        ++moved;
    }
    if (moved) m_bModified = true;
    return moved;
}

int CComments::movePinComments(const CString& fromInstance, const CString& toInstance,
                               const std::vector<CString>& pins) {
    int moved = 0;
    for (const CString& pin : pins) {
        auto it = m_pins.find({fromInstance.str(), pin.str()});
        if (it == m_pins.end() || m_pins.count({toInstance.str(), pin.str()})) continue;
        m_pins.emplace(std::make_pair(toInstance.str(), pin.str()), it->second);
        m_pins.erase(it);
        ++moved;
    }
    if (moved) m_bModified = true;
    return moved;
}
