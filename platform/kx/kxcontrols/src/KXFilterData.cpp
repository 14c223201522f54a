#include "kxcontrols/KXFilterData.h"

#include <cctype>
#include <cstring>

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Iterative wildcard match with single back-tracking point: linear in practice, O(n*m) at worst, no recursion.
bool GlobMatch(const std::string& pat, const char* text, size_t len) {
    size_t p = 0, t = 0;
    size_t starP = std::string::npos, starT = 0;
    while (t < len) {
        if (p < pat.size() && (pat[p] == '?' || pat[p] == Lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == '*') ++p;
    return p == pat.size();
}

} // namespace

BOOL CKXFilterData::SetPattern(LPCTSTR pattern) {
    m_pattern.clear();
    bool blanksOnly = true;
    bool starsOnly = true;
    if (pattern) {
        for (const char* s = pattern; *s; ++s) {
            m_pattern.push_back(Lower(*s));
            if (!std::isspace(static_cast<unsigned char>(*s))) blanksOnly = false;
            if (*s != '*') starsOnly = false;
        }
    }
    m_bMatchAll = blanksOnly || starsOnly;
    return TRUE;
}

BOOL CKXFilterData::SearchText(LPCTSTR text, int nStart) const {
    if (m_bMatchAll) return TRUE;
    const char* s = text ? text : "";
    size_t len = std::strlen(s);
    size_t start = nStart < 0 ? 0 : static_cast<size_t>(nStart);
    if (start > len) start = len;
    return GlobMatch(m_pattern, s + start, len - start) ? TRUE : FALSE;
}

void CKXFilterData::FreePattern() {
    m_pattern.clear();
    m_bMatchAll = true;
}
