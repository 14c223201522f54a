#include "kxcommon/ParseString.h"

#include <string>
#include <string_view>

namespace {

// The pattern as alternating literals and fields: literal0 %s literal1 %s ... literalN.
std::vector<std::string> Literals(const char* pattern, int& fields) {
    std::vector<std::string> lits(1);
    fields = 0;
    for (const char* p = pattern; p && *p; ++p) {
        if (*p == '%' && p[1] == 's') {
            lits.emplace_back();
            ++fields;
            ++p;
        } else if (*p == '%' && p[1] == '%') {
            lits.back() += '%';
            ++p;
        } else {
            lits.back() += *p;
        }
    }
    return lits;
}

} // namespace

int CParseString::Parse(const CString& text, const char* pattern, std::vector<CString>& parts,
                        int maxFieldLength) {
    parts.clear();
    int fields = 0;
    auto lits = Literals(pattern, fields);
    std::string_view s = text.str();
    if (s.compare(0, lits[0].size(), lits[0]) != 0) return 0;
    size_t pos = lits[0].size();
    for (int f = 0; f < fields; ++f) {
        const std::string& next = lits[static_cast<size_t>(f) + 1];
        size_t end;
        if (f + 1 == fields) {
            // The last field takes everything up to the trailing literal.
            if (s.size() < pos + next.size() || s.compare(s.size() - next.size(), next.size(), next) != 0)
                break;
            end = s.size() - next.size();
        } else {
            if (next.empty()) {
                end = pos; // two fields without a separator: the first takes nothing
            } else {
                end = s.find(next, pos);
                if (end == std::string_view::npos) break;
            }
        }
        if (static_cast<int>(end - pos) > maxFieldLength) break;
        parts.emplace_back(std::string(s.substr(pos, end - pos)));
        pos = end + next.size();
    }
    return static_cast<int>(parts.size());
}

int CParseString::Parse(const CString& text, const char* pattern, CString& first, CString& second,
                        int maxFieldLength) {
    std::vector<CString> parts;
    int n = Parse(text, pattern, parts, maxFieldLength);
    if (n > 0) first = parts[0];
    if (n > 1) second = parts[1];
    return n;
}
