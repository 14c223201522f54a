// The text form of a transaction: quoting and tokenizing, the text of one primitive op, and the
// reading of a transaction's text without a design.
#include <charconv>
#include <string_view>

#include "db.h"
#include "rmx/transaction_text.h"
#include "txfront.h"

using rmx::Op;
using rmx::OpCode;
using rmx::txfront::kHeader;

namespace rmx {

bool parseInt(const std::string& text, long long lo, long long hi, long long& out) {
    if (text.empty() || text.size() > 12) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
    long long v = std::stoll(text);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

void appendQuoted(std::string& out, const std::string& s) {
    out += '"';
    size_t plain = 0; // start of the run of characters copied as they are
    for (size_t i = 0; i < s.size(); ++i) {
        const char* escape = nullptr;
        switch (s[i]) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '\n': escape = "\\n"; break;
        case '\t': escape = "\\t"; break;
        case '\r': escape = "\\r"; break;
        default: continue;
        }
        out.append(s, plain, i - plain);
        out += escape;
        plain = i + 1;
    }
    out.append(s, plain, std::string::npos);
    out += '"';
}

std::string quote(const std::string& s) {
    std::string out;
    out.reserve(s.size() + 2);
    appendQuoted(out, s);
    return out;
}

bool parseSource(const std::string& text, unsigned long& out) {
    if (text.empty() || text.size() > 20) return false;
    unsigned long v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        unsigned d = static_cast<unsigned>(c - '0');
        if (v > (~0ul - d) / 10) return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

bool tokenize(const std::string& line, std::vector<std::string>& out, std::string& why) {
    out.clear();
    // Names are checked as C texts further on: a NUL byte would cut one short unseen.
    if (line.find('\0') != std::string::npos) {
        why = "a NUL byte in the line";
        return false;
    }
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        if (line[i] == '"') {
            std::string tok;
            ++i;
            bool closed = false;
            while (i < n) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= n) break;
                    char e = line[i++];
                    switch (e) {
                    case '"': tok += '"'; break;
                    case '\\': tok += '\\'; break;
                    case 'n': tok += '\n'; break;
                    case 't': tok += '\t'; break;
                    case 'r': tok += '\r'; break;
                    default: why = std::string("bad escape \\") + e; return false;
                    }
                } else {
                    tok += c;
                }
            }
            if (!closed) {
                why = "unterminated quoted text";
                return false;
            }
            if (i < n && line[i] != ' ' && line[i] != '\t') {
                why = "text after a closing quote";
                return false;
            }
            out.push_back(tok);
        } else {
            size_t s = i;
            while (i < n && line[i] != ' ' && line[i] != '\t') {
                if (line[i] == '"') {
                    why = "quote inside a word";
                    return false;
                }
                ++i;
            }
            out.push_back(line.substr(s, i - s));
        }
    }
    return true;
}

namespace {
const char* const kOpNames[] = {
    "netCreate", "netDelete", "netRename", "netWidth", "aliasAdd", "aliasDel", "conn", "disconn", "move", "prop",
    "instCreate", "instDelete", "instRename", "instMaster", "pinCreate", "pinDelete", "pinRename", "pinType",
    "pinWidth", "powerPin", "dpNetCreate", "dpNetDelete", "dpNetRename", "dpPinCreate", "dpPinDelete", "dpConnAdd",
    "dpConnDel", "dtCreate", "dtDelete", "dtType", "dtAttach", "portWidth",
};
constexpr int kOpCount = sizeof kOpNames / sizeof kOpNames[0];

}  // namespace

namespace {
void appendNumber(std::string& out, long long v) {
    char buf[24] = {' '}; // the separating space, then the digits: one append
    const auto [end, ec] = std::to_chars(buf + 1, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, static_cast<size_t>(end - buf));
}
} // namespace

void appendOpText(std::string& out, const Op& op) {
    out += kOpNames[static_cast<int>(op.code)];
    out += ' ';
    appendQuoted(out, op.design);
    for (auto* f : {&op.s1, &op.s2, &op.s3, &op.s4, &op.s5, &op.s6}) {
        out += ' ';
        appendQuoted(out, *f);
    }
    for (int v : op.n) appendNumber(out, v);
    appendNumber(out, op.id);
    appendNumber(out, op.kind);
    out += op.hadOld ? " 1" : " 0";
    out += op.hasNew ? " 1" : " 0";
    out += ' ';
    appendQuoted(out, op.oldP.value);
    appendNumber(out, op.oldP.source);
    out += ' ';
    appendQuoted(out, op.newP.value);
    appendNumber(out, op.newP.source);
}

std::string opToText(const Op& op) {
    std::string s;
    appendOpText(s, op);
    return s;
}

bool opFromText(const std::vector<std::string>& t, Op& op, std::string& why) {
    if (t.size() != 24) {
        why = "a change line has 24 fields";
        return false;
    }
    int code = -1;
    for (int i = 0; i < kOpCount; ++i)
        if (t[0] == kOpNames[i]) code = i;
    if (code < 0) {
        why = "unknown change " + t[0];
        return false;
    }
    op = Op();
    op.code = static_cast<OpCode>(code);
    op.design = t[1];
    std::string* ss[] = {&op.s1, &op.s2, &op.s3, &op.s4, &op.s5, &op.s6};
    for (int i = 0; i < 6; ++i) *ss[i] = t[2 + i];
    long long v;
    for (int i = 0; i < 8; ++i) {
        if (!parseInt(t[8 + i], -1, 0x7fffffff, v)) return why = "bad number " + t[8 + i], false;
        op.n[i] = static_cast<int>(v);
    }
    if (!parseInt(t[16], 0, 0xffffffffLL, v)) return why = "bad id " + t[16], false;
    op.id = static_cast<unsigned>(v);
    if (!parseInt(t[17], 0, 100, v)) return why = "bad kind " + t[17], false;
    op.kind = static_cast<int>(v);
    if ((t[18] != "0" && t[18] != "1") || (t[19] != "0" && t[19] != "1")) return why = "bad flag", false;
    op.hadOld = t[18] == "1";
    op.hasNew = t[19] == "1";
    op.oldP.value = t[20];
    if (!parseSource(t[21], op.oldP.source)) return why = "bad source " + t[21], false;
    op.newP.value = t[22];
    if (!parseSource(t[23], op.newP.source)) return why = "bad source " + t[23], false;
    return true;
}

}  // namespace rmx

// ------------------------------------------------------------------------------------------------
// Reading a transaction text

namespace {

void noteTextChange(CTransactionTextChanges& found, Op& op) {
    if (op.code == OpCode::Prop) {
        auto& p = found.properties.emplace_back();
        p.design = std::move(op.design);
        p.path = std::move(op.s1);
        p.name = std::move(op.s2);
        p.oldValue = std::move(op.oldP.value);
        p.newValue = std::move(op.newP.value);
        p.hadOld = op.hadOld;
        p.hasNew = op.hasNew;
    } else if (op.code == OpCode::InstCreate || op.code == OpCode::InstDelete) {
        auto& i = found.instances.emplace_back();
        i.design = std::move(op.design);
        i.name = std::move(op.s1);
        i.master = op.s2 + "." + op.s3 + ":" + op.s4;
        i.created = op.code == OpCode::InstCreate;
    } else if (op.code == OpCode::DTCreate || op.code == OpCode::DTDelete) {
        auto& dt = found.components.emplace_back();
        dt.design = std::move(op.design);
        dt.name = std::move(op.s1);
        dt.created = op.code == OpCode::DTCreate;
    }
}

} // namespace

CTransactionTextChanges CTransactionTextChanges::read(const char* text) {
    CTransactionTextChanges found;
    if (!text) return found;
    const std::string_view all(text);
    std::string why;
    std::vector<std::string> tok;
    bool headerSeen = false;
    for (size_t pos = 0; pos < all.size();) {
        const size_t nl = all.find('\n', pos);
        const size_t end = nl == std::string_view::npos ? all.size() : nl;
        const std::string line(all.substr(pos, end - pos));
        pos = end + 1;
        if (!rmx::tokenize(line, tok, why)) return {};
        if (tok.empty()) continue;
        if (!headerSeen) {
            if (tok.size() != 4 || tok[0] + " " + tok[1] != kHeader) return {};
            headerSeen = true;
            continue;
        }
        Op op;
        if (!rmx::opFromText(tok, op, why)) return {};
        noteTextChange(found, op);
    }
    return found;
}
