#include "afx/afxstr.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

void AfxThrowInvalidArgException() {
    throw CInvalidArgException("invalid argument");
}

namespace {
AfxStringLoader g_stringLoader = nullptr;

bool inSet(char ch, const char* chars) {
    return chars && ch != '\0' && std::strchr(chars, ch) != nullptr;
}
bool isSpace(char ch) {
    return std::isspace(static_cast<unsigned char>(ch)) != 0;
}
// Case folding of the comparisons: ASCII letters only, as the C locale's tolower, without a
// library call per character (lists of ten thousand names sort by these).
inline unsigned char foldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
} // namespace

void AfxSetStringLoader(AfxStringLoader loader) {
    g_stringLoader = loader;
}

BOOL AfxLoadStringResource(UINT id, CString& out);

BOOL CString::LoadString(UINT id) {
    CString out;
    // An installed loader is asked first, then the resource chain.
    if (!(g_stringLoader && g_stringLoader(id, out)) && !AfxLoadStringResource(id, out)) return FALSE;
    *this = out;
    return TRUE;
}

char CString::GetAt(int i) const {
    if (i < 0 || i >= GetLength()) AfxThrowInvalidArgException();
    return m_s[static_cast<size_t>(i)];
}

void CString::SetAt(int i, char ch) {
    if (i < 0 || i >= GetLength()) AfxThrowInvalidArgException();
    m_s[static_cast<size_t>(i)] = ch;
}

char* CString::GetBuffer(int minLen) {
    if (minLen > GetLength()) m_s.resize(static_cast<size_t>(minLen));
    return m_s.data();
}

char* CString::GetBufferSetLength(int len) {
    m_s.resize(static_cast<size_t>(len < 0 ? 0 : len));
    return m_s.data();
}

void CString::ReleaseBuffer(int newLen) {
    if (newLen < 0) {
        m_s.resize(std::strlen(m_s.c_str()));
    } else if (static_cast<size_t>(newLen) <= m_s.size()) {
        m_s.resize(static_cast<size_t>(newLen));
    }
}

void CString::FormatV(const char* fmt, va_list args) {
    if (!fmt) {
        m_s.clear();
        return;
    }
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    m_s = std::move(out);
}

void CString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const char* fmt, ...) {
    CString tail;
    va_list args;
    va_start(args, fmt);
    tail.FormatV(fmt, args);
    va_end(args);
    m_s += tail.m_s;
}

int CString::Compare(const char* s) const {
    int r = std::strcmp(m_s.c_str(), s ? s : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* s) const {
    const char* a = m_s.c_str();
    const char* b = s ? s : "";
    for (;; ++a, ++b) {
        const int ca = foldAscii(static_cast<unsigned char>(*a));
        const int cb = foldAscii(static_cast<unsigned char>(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

int CString::Find(char ch, int start) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return -1;
    auto pos = m_s.find(ch, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const {
    if (!sub) return -1;
    if (start < 0) start = 0;
    if (start > GetLength()) return -1;
    auto pos = m_s.find(sub, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    auto pos = m_s.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const char* chars) const {
    if (!chars || !*chars) return -1;
    auto pos = m_s.find_first_of(chars);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int n) const {
    if (n <= 0) return CString();
    return CString(m_s.substr(0, static_cast<size_t>(std::min(n, GetLength()))));
}

CString CString::Right(int n) const {
    if (n <= 0) return CString();
    int len = GetLength();
    if (n >= len) return *this;
    return CString(m_s.substr(static_cast<size_t>(len - n)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    int len = GetLength();
    if (first >= len) return CString();
    if (count > len - first) count = len - first;
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const char* chars) const {
    size_t i = 0;
    while (i < m_s.size() && inSet(m_s[i], chars))
        ++i;
    return CString(m_s.substr(0, i));
}

CString CString::SpanExcluding(const char* chars) const {
    size_t i = 0;
    while (i < m_s.size() && !inSet(m_s[i], chars))
        ++i;
    return CString(m_s.substr(0, i));
}

CString CString::Tokenize(const char* delims, int& start) const {
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    size_t i = static_cast<size_t>(start);
    while (i < m_s.size() && inSet(m_s[i], delims))
        ++i;
    if (i >= m_s.size()) {
        start = -1;
        return CString();
    }
    size_t j = i;
    while (j < m_s.size() && !inSet(m_s[j], delims))
        ++j;
    start = static_cast<int>(j < m_s.size() ? j + 1 : j);
    return CString(m_s.substr(i, j - i));
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && isSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}
CString& CString::TrimLeft(char ch) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == ch)
        ++i;
    m_s.erase(0, i);
    return *this;
}
CString& CString::TrimLeft(const char* chars) {
    size_t i = 0;
    while (i < m_s.size() && inSet(m_s[i], chars))
        ++i;
    m_s.erase(0, i);
    return *this;
}
CString& CString::TrimRight() {
    while (!m_s.empty() && isSpace(m_s.back()))
        m_s.pop_back();
    return *this;
}
CString& CString::TrimRight(char ch) {
    while (!m_s.empty() && m_s.back() == ch)
        m_s.pop_back();
    return *this;
}
CString& CString::TrimRight(const char* chars) {
    while (!m_s.empty() && inSet(m_s.back(), chars))
        m_s.pop_back();
    return *this;
}
CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(char ch) {
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(const char* chars) {
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::MakeLower() {
    for (auto& c : m_s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}
CString& CString::MakeUpper() {
    for (auto& c : m_s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}
CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

int CString::Replace(char oldCh, char newCh) {
    int n = 0;
    for (auto& c : m_s)
        if (c == oldCh) {
            c = newCh;
            ++n;
        }
    return n;
}

int CString::Replace(const char* oldStr, const char* newStr) {
    if (!oldStr || !*oldStr) return 0;
    std::string from(oldStr), to(newStr ? newStr : "");
    std::string out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(m_s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n == 0) return 0;
    out.append(m_s, pos, std::string::npos);
    m_s = std::move(out);
    return n;
}

int CString::Remove(char ch) {
    auto old = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(old - m_s.size());
}

int CString::Insert(int index, char ch) {
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    m_s.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* s) {
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    if (s) m_s.insert(static_cast<size_t>(index), s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength()) m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}
