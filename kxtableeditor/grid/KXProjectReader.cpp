#include "grid/KXProjectReader.h"

#include "kxsmall/zrvCommon.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {
CString g_errorText;
KXInstallRootProvider g_installRoot;
constexpr int kExpandLimit = 2047; // room of the expansion buffer without its NUL

bool IsNameChar(int ch) {
    return std::isalnum(ch) || ch == '_';
}

bool LookUp(const CString& name, CString& value) {
    if (name.IsEmpty()) return false;
    if (name == "ZRV_INST_DIR") return GetInstallDirectory(name, value) != FALSE;
    const char* v = std::getenv(name);
    if (!v) return false;
    value = v;
    return true;
}

void DropTrailingSeparator(std::string& out) {
    if (!out.empty() && (out.back() == '\\' || out.back() == '/')) out.pop_back();
}
} // namespace

const CString& KXProjectErrorText() {
    return g_errorText;
}

void KXSetInstallRootProvider(KXInstallRootProvider provider) {
    g_installRoot = std::move(provider);
}

bool KXInstallRootFromService(CString& root) {
    char* text = zrvGetInstallRoot();
    if (!text) return false;
    root = text;
    zrvFree(text);
    return true;
}

BOOL GetInstallDirectory(const char* name, CString& dir) {
    if (!name || CString(name) != "ZRV_INST_DIR") return FALSE;
    CString root;
    const bool known = g_installRoot ? g_installRoot(root) : KXInstallRootFromService(root);
    if (!known || root.IsEmpty()) return FALSE;
    dir = root;
    return TRUE;
}

int ExpandEnvironmentReferences(const char* text, CString& expanded, CString& error) {
    std::string out;
    const std::string in = text ? text : "";
    size_t i = 0;
    while (i < in.size()) {
        char ch = in[i];
        if (ch != '$') {
            out += ch;
            ++i;
            continue;
        }
        char next = i + 1 < in.size() ? in[i + 1] : '\0';
        CString name, value;
        if (next == '{' || next == '(') {
            char close = next == '{' ? '}' : ')';
            size_t j = i + 2;
            std::string n;
            for (;; ++j) {
                if (j >= in.size()) {
                    error.Format("Closing '%c' not found.", close);
                    return 0;
                }
                if (in[j] == close) break;
                if (!IsNameChar(static_cast<unsigned char>(in[j]))) {
                    error.Format("Invalid character %c found in environment variable name", in[j]);
                    return 0;
                }
                n += in[j];
            }
            name = n;
            if (!LookUp(name, value)) {
                if (close == '}')
                    error.Format("Environment Variable %s not set", name.GetString());
                else
                    error.Format("Environment Variable %s not set.", name.GetString());
                return 0;
            }
            out += value.str();
            DropTrailingSeparator(out);
            i = j + 1;
        } else if (IsNameChar(static_cast<unsigned char>(next))) {
            size_t j = i + 1;
            std::string n;
            while (j < in.size() && IsNameChar(static_cast<unsigned char>(in[j])))
                n += in[j++];
            name = n;
            if (!LookUp(name, value)) {
                error.Format("Environment variable %s not set.", name.GetString());
                return 0;
            }
            out += value.str();
            DropTrailingSeparator(out);
            i = j; // the character that ended the name is copied by the next round
        } else {
            error.Format("Invalid character %c found after '${'", next);
            return 0;
        }
        if (static_cast<int>(out.size()) > kExpandLimit) break;
    }
    if (static_cast<int>(out.size()) > kExpandLimit) {
        error.Format("Expanded text longer than %d characters", kExpandLimit);
        return 0;
    }
    expanded = CString(std::move(out));
    return 1;
}

int CKXProjectReader::ProjectFindProgram(const char* program) {
    CKXVpxProject* project = Project();
    if (project)
        for (const auto& s : project->m_sections) {
            if (s.name.CompareNoCase(program ? program : "") == 0) {
                m_pSection = &s;
                m_pDirective = nullptr;
                m_cursor = 0;
                return KXPROJ_OK;
            }
        }
    g_errorText.Format("VPX_NOTE: Can't find the program \"%s\"", program ? program : "");
    return KXPROJ_NOT_FOUND;
}

int CKXProjectReader::ProjectFindDirective(const char* directive) {
    if (m_pSection) {
        for (const auto& d : m_pSection->directives) {
            if (d.name.CompareNoCase(directive ? directive : "") == 0) {
                m_pDirective = &d;
                m_cursor = 0;
                return KXPROJ_OK;
            }
        }
    }
    g_errorText.Format("VPX_NOTE: Can't find the directive \"%s\"", directive ? directive : "");
    return KXPROJ_NOT_FOUND;
}

int CKXProjectReader::ProjectGetDirectiveString(CString& value) {
    if (!m_pDirective || m_cursor >= m_pDirective->values.size()) {
        m_cursor = 0;
        return KXPROJ_NO_VALUE;
    }
    const CString& raw = m_pDirective->values[m_cursor++];
    if (m_bExpand != 1) {
        value = raw;
        return KXPROJ_OK;
    }
    CString expanded, error;
    if (!ExpandEnvironmentReferences(raw, expanded, error)) {
        // A value that cannot be expanded is not a value: the caller keeps its default.
        g_errorText = error;
        return KXPROJ_EXPAND_ERROR;
    }
    value = expanded;
    return KXPROJ_OK;
}

int CKXProjectReader::ProjectGetDirectiveInt(int& value) {
    CString text;
    int status = ProjectGetDirectiveString(text);
    if (status == KXPROJ_OK) value = std::atoi(text);
    return status;
}

int CKXProjectReader::ProjectGetDirectiveBool(BOOL& value, int style) {
    CString text;
    int status = ProjectGetDirectiveString(text);
    if (status != KXPROJ_OK) return status;
    const char* word = style == 0 ? "yes" : style == 1 ? "on" : style == 2 ? "true" : nullptr;
    value = word && text.CompareNoCase(word) == 0;
    return status;
}

int CKXProjectReader::ProjectGetIntDirective(const char* directive, int& value) {
    int status = ProjectFindDirective(directive);
    if (status != KXPROJ_OK) return status;
    m_cursor = 0;
    return ProjectGetDirectiveInt(value);
}

int CKXProjectReader::ProjectGetBoolDirective(const char* directive, BOOL& value, int style) {
    int status = ProjectFindDirective(directive);
    if (status != KXPROJ_OK) return status;
    m_cursor = 0;
    return ProjectGetDirectiveBool(value, style);
}

bool CKXProjectReader::LoadText(const char* text, CKXVpxProject& project, CString& error) {
    std::istringstream in(text ? text : "");
    std::string line;
    int number = 0;
    std::vector<SKXProjectSection> sections;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) continue;
        if (first.front() == '[') {
            std::string rest;
            if (first.back() != ']' || first.size() < 3 || (words >> rest)) {
                error.Format("line %d: a section header is \"[NAME]\"", number);
                return false;
            }
            sections.push_back({CString(first.substr(1, first.size() - 2)), {}});
            continue;
        }
        if (sections.empty()) {
            error.Format("line %d: directive \"%s\" outside a section", number, first.c_str());
            return false;
        }
        SKXProjectDirective d{CString(first), {}};
        std::string v;
        while (words >> v)
            d.values.emplace_back(v);
        sections.back().directives.push_back(std::move(d));
    }
    project.m_sections = std::move(sections);
    return true;
}
