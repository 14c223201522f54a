// CString: 8-bit text with the MFC member set, over std::string.
#pragma once

#include "afx/afxtypes.h"

#include <compare>
#include <cstdarg>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

// Raised where MFC raises its invalid-argument exception (an index out of range).
class CInvalidArgException : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};
[[noreturn]] void AfxThrowInvalidArgException();

class CString {
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}
    CString(const char* s, int len)
        : m_s(s ? std::string(s, static_cast<size_t>(len < 0 ? 0 : len)) : std::string()) {}
    CString(char ch, int repeat = 1) : m_s(static_cast<size_t>(repeat < 0 ? 0 : repeat), ch) {}
    CString(const std::string& s) : m_s(s) {}
    CString(std::string&& s) : m_s(std::move(s)) {}
    CString(std::string_view s) : m_s(s) {}

    // Implicit conversion to const char*, as the system passes CString to C-style APIs.
    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    std::string& str() { return m_s; }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int i) const;
    void SetAt(int i, char ch);
    char operator[](int i) const { return GetAt(i); }

    // Buffer access: GetBuffer(n) returns a writable buffer of at least n chars;
    // ReleaseBuffer(len) cuts the text at len, or at the first NUL when len < 0.
    char* GetBuffer(int minLen = 0);
    char* GetBufferSetLength(int len);
    void ReleaseBuffer(int newLen = -1);

    CString& operator=(const char* s) {
        m_s = s ? s : "";
        return *this;
    }
    CString& operator=(char ch) {
        m_s.assign(1, ch);
        return *this;
    }
    CString& operator=(const std::string& s) {
        m_s = s;
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const char* s) {
        if (s) m_s += s;
        return *this;
    }
    CString& operator+=(char ch) {
        m_s += ch;
        return *this;
    }
    CString& Append(const char* s) { return *this += s; }
    CString& AppendChar(char ch) { return *this += ch; }

    void Format(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void AppendFormat(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* fmt, va_list args);

    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
    int Collate(const char* s) const {
        return Compare(s);
    }
    int CollateNoCase(const char* s) const {
        return CompareNoCase(s);
    }

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* chars) const;

    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const char* chars) const;
    CString SpanExcluding(const char* chars) const;
    CString Tokenize(const char* delims, int& start) const;

    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(const char* chars);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* chars);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* chars);

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    int Replace(char oldCh, char newCh);
    int Replace(const char* oldStr, const char* newStr);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* s);
    int Delete(int index, int count = 1);

    // Loads a string resource from the resource chain; FALSE when no module has it.
    BOOL LoadString(UINT id);

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_s + b.m_s);
    }
    friend CString operator+(const CString& a, const char* b) {
        return CString(a.m_s + (b ? b : ""));
    }
    friend CString operator+(const char* a, const CString& b) {
        return CString((a ? a : "") + b.m_s);
    }
    friend CString operator+(const CString& a, char b) {
        return CString(a.m_s + b);
    }
    friend CString operator+(char a, const CString& b) {
        return CString(std::string(1, a) + b.m_s);
    }

    friend bool operator==(const CString& a, const CString& b) {
        return a.m_s == b.m_s;
    }
    friend bool operator==(const CString& a, const char* b) {
        return a.m_s == (b ? b : "");
    }
    friend bool operator==(const char* a, const CString& b) {
        return b == a;
    }
    friend bool operator!=(const CString& a, const CString& b) {
        return !(a == b);
    }
    friend bool operator!=(const CString& a, const char* b) {
        return !(a == b);
    }
    friend bool operator!=(const char* a, const CString& b) {
        return !(b == a);
    }
    // Three-way comparison by text, so that pairs and tuples of CStrings compare their texts and
    // not the addresses that the implicit conversion to const char* would give.
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
        return a.m_s <=> b.m_s;
    }
    friend std::strong_ordering operator<=>(const CString& a, const char* b) {
        return a.m_s <=> std::string_view(b ? b : "");
    }
    friend bool operator<(const CString& a, const CString& b) {
        return a.m_s < b.m_s;
    }
    friend bool operator<(const CString& a, const char* b) {
        return a.m_s < std::string_view(b ? b : "");
    }
    friend bool operator<(const char* a, const CString& b) {
        return std::string_view(a ? a : "") < b.m_s;
    }
    friend bool operator>(const CString& a, const CString& b) {
        return b < a;
    }
    friend bool operator<=(const CString& a, const CString& b) {
        return !(b < a);
    }
    friend bool operator>=(const CString& a, const CString& b) {
        return !(a < b);
    }

private:
    std::string m_s;
};

template <> struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};

// Optional loader that CString::LoadString asks before the resource chain (see afxres.h).
using AfxStringLoader = BOOL (*)(UINT id, CString& out);
void AfxSetStringLoader(AfxStringLoader loader);
