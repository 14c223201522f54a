#include "kxcommon/KXGenUtils.h"
#include "rmx/schemautil.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

struct ParsedName {
    std::string base; // escapes resolved
    bool hasRange = false;
    int msb = -1;
    int lsb = -1;
    int step = 1;
    bool hasStep = false;
    bool global = false;
    char open = '<';
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Characters of a base name: the design's object names (letters, digits, "_+-#!"), brackets only escaped.
bool IsNameChar(unsigned char c) {
    return std::isalnum(c) != 0 || c == '_' || c == '+' || c == '-' || c == '#' || c == '!';
}

static_assert(KX_NAME_MAX_BIT == kRmxMaxBit, "a name's bit numbers are the design database's");

// Reads a decimal number within 0..KX_NAME_MAX_BIT.
bool Number(std::string_view s, int& out) {
    if (s.empty() || s.size() > 7) return false;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > KX_NAME_MAX_BIT) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseName(std::string_view text, bool allowScope, ParsedName& out) {
    std::string_view s = Trim(text);
    ParsedName r;
    size_t i = 0;
    // Base name up to an unescaped bracket.
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\\') {
            if (i + 1 >= s.size()) return false;
            char e = s[i + 1];
            if (e == '[' || e == ']' || e == '<' || e == '>') {
                r.base += e;
                ++i;
                continue;
            }
            if (e == 'g' && allowScope && i + 2 == s.size()) break;
            return false;
        }
        if (c == '[' || c == '<') break;
        if (c == ']' || c == '>') return false;
        if (!IsNameChar(static_cast<unsigned char>(c))) return false;
        r.base += c;
    }
    if (r.base.empty()) return false;
    if (r.base[0] == '+' || r.base[0] == '-' || r.base[0] == '#' || r.base[0] == '!') return false;
    if (i < s.size() && (s[i] == '[' || s[i] == '<')) {
        r.open = s[i];
        char close = r.open == '[' ? ']' : '>';
        size_t end = s.find(close, i + 1);
        if (end == std::string_view::npos) return false;
        std::string_view inside = s.substr(i + 1, end - i - 1);
        i = end + 1;
        std::string_view range = inside;
        size_t colon = inside.find(':');
        if (colon != std::string_view::npos) {
            range = inside.substr(0, colon);
            if (!Number(inside.substr(colon + 1), r.step) || r.step < 1) return false;
            r.hasStep = true;
        }
        size_t dots = range.find("..");
        if (dots == std::string_view::npos) {
            if (r.hasStep) return false; // a step needs a range
            if (!Number(range, r.msb)) return false;
            r.lsb = r.msb;
        } else {
            if (!Number(range.substr(0, dots), r.msb) || !Number(range.substr(dots + 2), r.lsb)) return false;
        }
        r.hasRange = true;
    }
    if (i < s.size()) {
        if (allowScope && s.substr(i) == "\\g")
            r.global = true;
        else
            return false;
    }
    out = std::move(r);
    return true;
}

std::string EscapeBase(const std::string& base) {
    std::string out;
    for (char c : base) {
        if (c == '[' || c == ']' || c == '<' || c == '>') out += '\\';
        out += c;
    }
    return out;
}

std::string RangeText(const ParsedName& p) {
    if (!p.hasRange) return {};
    char close = p.open == '[' ? ']' : '>';
    std::string out(1, p.open);
    out += std::to_string(p.msb);
    // One bit reads "<4>" whatever step it was written with, so that the text is the same when
    // normalised again.
    if (p.msb != p.lsb) out += ".." + std::to_string(p.lsb);
    if (p.hasStep && p.step != 1 && p.msb != p.lsb) out += ":" + std::to_string(p.step);
    out += close;
    return out;
}

std::string Display(const ParsedName& p) {
    return EscapeBase(p.base) + RangeText(p) + (p.global ? "\\g" : "");
}

std::vector<std::string> SplitPaths(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ';' || c == ',') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// TRUE when path equals top or lies below it in the hierarchy.
bool IsAtOrBelow(const std::string& path, const std::string& top) {
    if (path == top) return true;
    if (path.size() <= top.size() || path.compare(0, top.size(), top) != 0) return false;
    char next = path[top.size()];
    // Below an instance path come "@" (deeper instance), "." (pin), "%" (pair pin), ":" (net), "~", "$".
    return next == '@' || next == '.' || next == '%' || next == ':' || next == '~' || next == '$' ||
           next == '/';
}

} // namespace

BOOL CKXGenUtils::ParseSignalName(const CString& text, CString& displayName, CString& netName, int& lsb,
                                  int& msb, int& step, int& pinType, int& scope, int& stride, int& expand) {
    (void)pinType; // the text carries no pin type
    ParsedName p;
    if (!ParseName(text.str(), true, p)) return FALSE;
    displayName = Display(p);
    netName = p.base;
    if (p.hasRange) {
        lsb = p.lsb;
        msb = p.msb;
    }
    step = p.step;
    scope = p.global ? KX_SCOPE_GLOBAL : KX_SCOPE_LOCAL;
    stride = p.hasStep && p.step != 1 ? 1 : 0;
    expand = p.hasRange && p.msb != p.lsb ? 1 : 0;
    return TRUE;
}

BOOL CKXGenUtils::ParseSignalName(const CString& text, CString& netName, int& lsb, int& msb) {
    CString display;
    int step = 1, pinType = -1, scope = 0, stride = 0, expand = 0;
    return ParseSignalName(text, display, netName, lsb, msb, step, pinType, scope, stride, expand);
}

BOOL CKXGenUtils::ParsePinName(const CString& text, CString& displayName, CString& baseName, int& lsb,
                               int& msb, int& step, int& scope, int& pinType) {
    (void)pinType;
    ParsedName p;
    if (!ParseName(text.str(), false, p)) return FALSE;
    displayName = Display(p);
    baseName = p.base;
    if (p.hasRange) {
        lsb = p.lsb;
        msb = p.msb;
    }
    step = p.step;
    scope = KX_SCOPE_LOCAL;
    return TRUE;
}

BOOL CKXGenUtils::ParsePinName(const CString& text, CString& baseName, int& lsb, int& msb) {
    CString display;
    int step = 1, scope = 0, pinType = -1;
    return ParsePinName(text, display, baseName, lsb, msb, step, scope, pinType);
}

BOOL CKXGenUtils::ParseDPName(const CString& text, CString& name, CString& base, int& second, int& first,
                              int& flag) {
    std::string_view s = Trim(text.str());
    bool marked = false;
    std::string_view marker = KX_DP_MARKER;
    if (s.size() > marker.size() && s.substr(s.size() - marker.size()) == marker) {
        s.remove_suffix(marker.size());
        marked = true;
    }
    ParsedName p;
    if (!ParseName(s, false, p)) return FALSE;
    name = Display(p);
    base = p.base;
    first = p.hasRange ? p.msb : -1;
    second = p.hasRange ? p.lsb : -1;
    flag = marked ? 1 : 0;
    return TRUE;
}

BOOL CKXGenUtils::GetDiffPairNetNames(const CString& base, CString& positive, CString& negative) {
    ParsedName p;
    if (!ParseName(base.str(), false, p)) return FALSE;
    ParsedName pos = p, neg = p;
    pos.base += KX_DP_POSITIVE_SUFFIX;
    neg.base += KX_DP_NEGATIVE_SUFFIX;
    positive = Display(pos);
    negative = Display(neg);
    return TRUE;
}

void CKXGenUtils::AdjustLsbMsb(int& lsb, int& msb) {
    if (lsb > msb) std::swap(lsb, msb);
}

BOOL CKXGenUtils::IsNC(const CString& name) {
    std::string_view s = Trim(name.str());
    return s.size() == 2 && (s[0] == 'N' || s[0] == 'n') && (s[1] == 'C' || s[1] == 'c');
}

void CKXGenUtils::EscapeCharacter(CString& text, char ch) {
    std::string out;
    out.reserve(text.str().size());
    for (char c : text.str()) {
        if (c == ch) out += '\\';
        out += c;
    }
    text = CString(std::move(out));
}

void CKXGenUtils::EscapeSquareBrackets(CString& text) {
    std::string out;
    out.reserve(text.str().size());
    for (char c : text.str()) {
        if (c == '[' || c == ']') out += '\\';
        out += c;
    }
    text = CString(std::move(out));
}

BOOL CKXGenUtils::IsSPathToBeExcluded(const CString& a, const CString& b) {
    auto listA = SplitPaths(a.str());
    auto listB = SplitPaths(b.str());
    for (const auto& x : listA)
        for (const auto& y : listB)
            if (IsAtOrBelow(x, y) || IsAtOrBelow(y, x)) return TRUE;
    return FALSE;
}

BOOL CKXGenUtils::ValidatePropValue(const CString& propName, const CString& value, CString& message) {
    // A property value is one line of text: line breaks and other control characters would break the
    // journal and the design files, so they are refused rather than silently changed.
    for (unsigned char c : value.str()) {
        if (c < 0x20 || c == 0x7F) {
            message = "A value of " + propName + " cannot contain line breaks or control characters";
            return FALSE;
        }
    }
    if (propName.IsEmpty()) {
        message = "No property name given";
        return FALSE;
    }
    message = CString(std::string(Trim(value.str())));
    return TRUE;
}

CString CKXGenUtils::GetWorkingDir() {
    const char* env = std::getenv("KX_WORK_DIR");
    if (env && *env) return CString(env);
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? CString(".") : CString(cwd.string());
}

BOOL CKXGenUtils::IsSwapPinsAllowed() {
    return std::getenv("KX_ALLOW_SWAP_PINS") != nullptr;
}
