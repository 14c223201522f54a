#include "kxcommon/TclArgs.h"

#include <cctype>
#include <cstdio>

int CTclArgs::GetElement(int index, CString& value) const {
    if (index < 0 || index >= GetArgCount()) return 0;
    value = m_values[static_cast<size_t>(index)];
    return 1;
}

CString CTclArgs::GetValue(int index) const {
    CString v;
    GetElement(index, v);
    return v;
}

CString CTclArgs::ValueIterator::operator*() const {
    if (!m_values || m_pos >= m_values->size()) return CString();
    return (*m_values)[m_pos];
}

CTclArgs* CTclArgsList::ArgIterator::operator*() const {
    if (!m_args || m_pos >= m_args->size()) return nullptr;
    return (*m_args)[m_pos].get();
}

CTclArgsList::CTclArgsList(const CTclArgsList& other) {
    *this = other;
}

CTclArgsList& CTclArgsList::operator=(const CTclArgsList& other) {
    if (this == &other) return *this;
    m_args.clear();
    for (const auto& a : other.m_args)
        m_args.push_back(std::make_unique<CTclArgs>(*a));
    m_open = nullptr;
    return *this;
}

void CTclArgsList::add(const char* value) {
    m_open = nullptr;
    m_args.push_back(std::make_unique<CTclArgs>(value));
}

void CTclArgsList::StartArgument() {
    m_args.push_back(std::make_unique<CTclArgs>());
    m_open = m_args.back().get();
}

void CTclArgsList::AddToArgument(const char* value) {
    if (!m_open) StartArgument();
    m_open->Add(value);
}

void CTclArgsList::EndArgument() {
    m_open = nullptr;
}

CTclArgs* CTclArgsList::GetArg(int index) const {
    if (index < 0 || index >= GetTotalArgCount()) return nullptr;
    return m_args[static_cast<size_t>(index)].get();
}

BOOL CTclArgsList::RemoveArgFromCurrentList() {
    if (m_args.empty()) return FALSE;
    if (m_open == m_args.front().get()) m_open = nullptr;
    m_args.erase(m_args.begin());
    return TRUE;
}

void CTclArgsList::RemoveAll() {
    m_args.clear();
    m_open = nullptr;
}

bool CTclArgsList::operator==(const CTclArgsList& o) const {
    if (m_args.size() != o.m_args.size()) return false;
    for (size_t i = 0; i < m_args.size(); ++i)
        if (!(*m_args[i] == *o.m_args[i])) return false;
    return true;
}

namespace {

bool NeedsQuoting(const std::string& v) {
    if (v.empty()) return true;
    if (v[0] == '#' || v[0] == '{' || v[0] == '"') return true;
    for (unsigned char c : v) {
        if (c <= 0x20 || c == 0x7F) return true;
        switch (c) {
        case '"':
        case '\\':
        case '$':
        case '[':
        case ']':
        case '{':
        case '}':
        case ';':
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

CString CTclArgsList::QuoteTclWord(const char* value) {
    std::string v = value ? value : "";
    if (!NeedsQuoting(v)) return CString(v);
    std::string out = "\"";
    for (unsigned char c : v) {
        switch (c) {
        case '"':
        case '\\':
        case '$':
        case '[':
        case ']':
            out += '\\';
            out += static_cast<char>(c);
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return CString(out);
}

CString CTclArgsList::ToTclCommandLine() const {
    std::string line;
    for (const auto& a : m_args) {
        if (!line.empty()) line += ' ';
        if (a->GetArgCount() == 1) {
            line += QuoteTclWord(a->Values()[0]).str();
        } else {
            line += "[list";
            for (const auto& v : a->Values())
                line += " " + QuoteTclWord(v).str();
            line += "]";
        }
    }
    return CString(line);
}

namespace {

// Reads the words of one command line, the way the Tcl parser splits them, without running anything.
class TclWordReader {
public:
    // A list text (listText) is read as Tcl reads a list: elements apart by any white space, and "$", "[" and
    // ";" characters like any other.
    explicit TclWordReader(const std::string& text, bool listText = false)
        : m_s(text), m_listText(listText) {}

    bool Fail(const std::string& why) {
        if (m_error.empty()) m_error = why + " at offset " + std::to_string(m_pos);
        return false;
    }
    const std::string& Error() const { return m_error; }

    bool AtEnd() const { return m_pos >= m_s.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_s[m_pos]; }

    void SkipBlanks() {
        while (!AtEnd()) {
            char c = m_s[m_pos];
            if (c == ' ' || c == '\t' || (m_listText && IsListSpace(c))) {
                ++m_pos;
            } else if (c == '\\' && m_pos + 1 < m_s.size() && m_s[m_pos + 1] == '\n') {
                m_pos += 2; // line continuation
            } else {
                break;
            }
        }
    }

    // A word ends at a blank, at the end, or at ']' inside [list ...].
    bool AtWordEnd(bool inList) const {
        if (AtEnd()) return true;
        char c = m_s[m_pos];
        if (m_listText) return IsListSpace(c);
        return c == ' ' || c == '\t' || (inList && c == ']') || c == '\n' || c == ';';
    }
    static bool IsListSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    // Up to `most` hexadecimal digits at m_pos, read; their value, and how many there were.
    unsigned HexDigits(int most, int& digits) {
        unsigned value = 0;
        digits = 0;
        while (digits < most && !AtEnd() && std::isxdigit(static_cast<unsigned char>(m_s[m_pos]))) {
            char h = m_s[m_pos++];
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h))
                                                           ? h - '0'
                                                           : (std::tolower(h) - 'a' + 10));
            ++digits;
        }
        return value;
    }
    // A character of the Basic Multilingual Plane in UTF-8.
    static void AppendUtf8(std::string& out, unsigned value) {
        if (value < 0x80) {
            out += static_cast<char>(value);
        } else if (value < 0x800) {
            out += static_cast<char>(0xC0 | (value >> 6));
            out += static_cast<char>(0x80 | (value & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (value >> 12));
            out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (value & 0x3F));
        }
    }

    // A backslash sequence at m_pos (the backslash); appends its meaning.
    bool Backslash(std::string& out) {
        ++m_pos;
        if (AtEnd()) {
            out += '\\'; // a lone backslash at the very end stands for itself
            return true;
        }
        char c = m_s[m_pos++];
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'v':
            out += '\v';
            break;
        case '\n':
            out += ' ';
            while (!AtEnd() && (m_s[m_pos] == ' ' || m_s[m_pos] == '\t'))
                ++m_pos;
            break;
        case 'x': {
            int digits = 0;
            const unsigned value = HexDigits(2, digits);
            if (digits == 0)
                out += 'x';
            else
                out += static_cast<char>(value);
            break;
        }
        case 'u': {
            int digits = 0;
            const unsigned value = HexDigits(4, digits);
            if (digits == 0)
                out += 'u';
            else
                AppendUtf8(out, value);
            break;
        }
        default:
            if (c >= '0' && c <= '7') {
                int value = c - '0';
                int digits = 1;
                while (digits < 3 && !AtEnd() && m_s[m_pos] >= '0' && m_s[m_pos] <= '7') {
                    value = value * 8 + (m_s[m_pos++] - '0');
                    ++digits;
                }
                out += static_cast<char>(value & 0xFF);
            } else {
                out += c;
            }
        }
        return true;
    }

    bool Braced(std::string& out) {
        ++m_pos; // '{'
        int depth = 1;
        size_t start = m_pos;
        while (!AtEnd()) {
            char c = m_s[m_pos];
            if (c == '\\' && m_pos + 1 < m_s.size()) {
                m_pos += 2;
                continue;
            }
            if (c == '{') ++depth;
            if (c == '}' && --depth == 0) {
                out.assign(m_s, start, m_pos - start);
                ++m_pos;
                return true;
            }
            ++m_pos;
        }
        return Fail("missing close-brace");
    }

    // One character of a quoted or bare word at m_pos: a backslash sequence, a substitution (refused), or
    // the character itself.
    bool WordChar(std::string& out) {
        const char c = m_s[m_pos];
        if (c == '\\') return Backslash(out);
        if (c == '$' && !m_listText) return Fail("variable substitution is not supported");
        if (c == '[' && !m_listText) return Fail("command substitution is not supported");
        out += c;
        ++m_pos;
        return true;
    }

    bool Quoted(std::string& out) {
        ++m_pos; // '"'
        while (!AtEnd()) {
            if (m_s[m_pos] == '"') {
                ++m_pos;
                return true;
            }
            if (!WordChar(out)) return false;
        }
        return Fail("missing close-quote");
    }

    bool Bare(std::string& out, bool inList) {
        while (!AtWordEnd(inList))
            if (!WordChar(out)) return false;
        return true;
    }

    // One element value (bare, quoted or braced).
    bool Value(std::string& out, bool inList) {
        char c = Peek();
        bool ok = true;
        if (c == '{')
            ok = Braced(out);
        else if (c == '"')
            ok = Quoted(out);
        else
            return Bare(out, inList);
        if (!ok) return false;
        if (!AtWordEnd(inList))
            return Fail(c == '{' ? "extra characters after close-brace"
                                 : "extra characters after close-quote");
        return true;
    }

    // One argument; false at an error.
    bool Argument(CTclArgs& arg) {
        if (m_s.compare(m_pos, 5, "[list") == 0 && (m_pos + 5 >= m_s.size() || m_s[m_pos + 5] == ' ' ||
                                                    m_s[m_pos + 5] == '\t' || m_s[m_pos + 5] == ']')) {
            m_pos += 5;
            for (;;) {
                SkipBlanks();
                if (AtEnd()) return Fail("missing close-bracket");
                char c = Peek();
                if (c == ']') {
                    ++m_pos;
                    break;
                }
                if (c == '\n' || c == ';') return Fail("missing close-bracket");
                if (c == '[') return Fail("nested command substitution is not supported");
                std::string v;
                if (!Value(v, true)) return false;
                arg.Add(v.c_str());
            }
            if (!AtWordEnd(false)) return Fail("extra characters after close-bracket");
            return true;
        }
        std::string v;
        if (!Value(v, false)) return false;
        arg.Add(v.c_str());
        return true;
    }

    bool Read(CTclArgsList& list) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return true;
            char c = Peek();
            if (c == '\n' || c == ';') {
                ++m_pos;
                SkipBlanks();
                while (!AtEnd() && (Peek() == '\n' || Peek() == ' ' || Peek() == '\t'))
                    ++m_pos;
                if (AtEnd()) return true;
                return Fail("only one command can be read");
            }
            CTclArgs arg;
            if (!Argument(arg)) return false;
            list.StartArgument();
            for (const auto& v : arg.Values())
                list.AddToArgument(v);
            list.EndArgument();
        }
    }

    // The elements of a list text.
    bool Elements(std::vector<CString>& elements) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return true;
            std::string v;
            if (!Value(v, false)) return false;
            elements.emplace_back(v);
        }
    }

private:
    const std::string& m_s;
    const bool m_listText;
    size_t m_pos = 0;
    std::string m_error;
};

} // namespace

std::unique_ptr<CTclArgsList> CTclArgsList::FromTclCommandLine(const char* line, CString* error) {
    std::string text = line ? line : "";
    TclWordReader reader(text);
    auto list = std::make_unique<CTclArgsList>();
    if (!reader.Read(*list)) {
        if (error) *error = reader.Error();
        return nullptr;
    }
    if (error) error->Empty();
    return list;
}

bool CTclArgsList::SplitTclList(const char* text, std::vector<CString>& elements) {
    const std::string s = text ? text : "";
    TclWordReader reader(s, true);
    std::vector<CString> read;
    if (!reader.Elements(read)) return false;
    elements = std::move(read);
    return true;
}

bool CTclArgs::GetListValues(std::vector<CString>& values) const {
    if (m_values.size() != 1) {
        values = m_values;
        return true;
    }
    return CTclArgsList::SplitTclList(m_values[0], values);
}
