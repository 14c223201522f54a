// The bus syntax.
#include <cctype>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "db.h"

namespace {

bool nameChar(char c, bool first) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') return true;
    return !first && (c == '+' || c == '-' || c == '#' || c == '!');
}

// A bit number, from 0 to kRmxMaxBit.
bool readNumber(const std::string& s, size_t& i, int& v) {
    size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i == start || i - start > 9) return false;
    v = std::stoi(s.substr(start, i - start));
    return v <= kRmxMaxBit;
}

// name, name<b>, name<a..b>
bool parse(const char* text, std::string& base, int& left, int& right, int& kind) {
    if (!text) return false;
    std::string s(text);
    size_t i = 0;
    while (i < s.size() && nameChar(s[i], i == 0)) ++i;
    if (i == 0) return false;
    base = s.substr(0, i);
    if (i == s.size()) {
        left = right = -1;
        kind = 0;
        return true;
    }
    if (s[i] != '<') return false;
    ++i;
    if (!readNumber(s, i, left)) return false;
    if (i + 1 < s.size() && s[i] == '.' && s[i + 1] == '.') {
        i += 2;
        if (!readNumber(s, i, right)) return false;
        kind = 2;
    } else {
        right = left;
        kind = 1;
    }
    if (i + 1 != s.size() || s[i] != '>') return false;
    return true;
}

const char* copyOut(const std::string& s, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return nullptr;
    std::size_t n = std::min(size - 1, s.size());
    std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
    return buffer;
}

}  // namespace

namespace {
int g_vectorDisplayFormat = 0;
} // namespace

int CSchemaUtilities::getVectorDisplayFormat() {
    return g_vectorDisplayFormat;
}

void CSchemaUtilities::setVectorDisplayFormat(int format) {
    g_vectorDisplayFormat = format != 0 ? 1 : 0;
}

namespace {

// The longest decimal text of an int.
constexpr std::size_t kIntDigits = 11;

// An int's decimal text, kept where it was written.
class Decimal {
public:
    explicit Decimal(int n) : m_end(std::to_chars(m_digits, m_digits + kIntDigits, n).ptr) {}
    std::string_view view() const { return {m_digits, static_cast<std::size_t>(m_end - m_digits)}; }

private:
    char m_digits[kIntDigits];
    char* m_end;
};

// name<msb>, or name<msb..lsb> with a range: sized exactly first, so that a short name stays in place.
CString composeBusName(const char* name, int msb, int lsb, bool range) {
    const std::string_view base = name ? name : "";
    const Decimal high(msb);
    const Decimal low(lsb);
    constexpr std::string_view kTo = "..";
    std::string text;
    text.reserve(base.size() + high.view().size() + (range ? kTo.size() + low.view().size() : 0) + 2);
    text.append(base).append(1, '<').append(high.view());
    if (range) text.append(kTo).append(low.view());
    text += '>';
    return CString(std::move(text));
}

} // namespace

CString CSchemaUtilities::vectorName(const char* name, int bit) {
    if (bit < 0) return CString(name);
    return composeBusName(name, bit, bit, false);
}

CString CSchemaUtilities::vectorName(const char* name, int msb, int lsb) {
    if (msb < 0 && lsb < 0) return CString(name);
    if (msb == lsb || lsb < 0) return vectorName(name, msb);
    if (msb < 0) return vectorName(name, lsb);
    return composeBusName(name, msb, lsb, true);
}

const char* CSchemaUtilities::vectorName(const char* name, int bit, char* buffer, std::size_t size) {
    return copyOut(vectorName(name, bit).str(), buffer, size);
}

const char* CSchemaUtilities::vectorName(const char* name, int msb, int lsb, char* buffer, std::size_t size) {
    return copyOut(vectorName(name, msb, lsb).str(), buffer, size);
}

const char* CSchemaUtilities::vectorName(const char* name, int bit, CString& buffer) {
    buffer = vectorName(name, bit);
    return buffer;
}

const char* CSchemaUtilities::vectorName(const char* name, int msb, int lsb, CString& buffer) {
    buffer = vectorName(name, msb, lsb);
    return buffer;
}

bool CSchemaUtilities::parsePinName(const char* text, CString& base, int& lsb, int& msb, int& kind) {
    std::string b;
    int l = -1, r = -1, k = 0;
    if (!parse(text, b, l, r, k)) return false;
    base = b.c_str();
    msb = l;
    lsb = r;
    kind = k;
    return true;
}

bool CSchemaUtilities::parsePinName(const char* text, CString& base, unsigned& lsb, unsigned& msb, int& kind) {
    int l, m;
    if (!parsePinName(text, base, l, m, kind)) return false;
    lsb = static_cast<unsigned>(l);
    msb = static_cast<unsigned>(m);
    return true;
}

bool CSchemaUtilities::parsePinName(const char* text, CString& base, int& lsb, int& msb) {
    int kind;
    return parsePinName(text, base, lsb, msb, kind);
}

bool CSchemaUtilities::getValidBusSyntax(const char* text) {
    std::string b;
    int l, r, k;
    return parse(text, b, l, r, k) && k > 0;
}

bool CSchemaUtilities::isValidName(const char* text) {
    std::string b;
    int l, r, k;
    return parse(text, b, l, r, k) && k == 0;
}

bool CSchemaUtilities::isValidPairNetName(const char* text) {
    std::string b;
    int l, r, k;
    return parse(text, b, l, r, k) && k <= 1;
}
