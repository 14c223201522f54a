#include "KXJournalLine.h"

#include <cctype>
#include <cstring>

namespace {

struct Cursor {
    const std::string& s;
    size_t i = 0;
    void Skip() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
    }
    bool Eat(char c) {
        Skip();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool EatWord(const char* w) {
        Skip();
        size_t n = std::strlen(w);
        if (s.compare(i, n, w) != 0) return false;
        if (i + n < s.size() && (std::isalnum(static_cast<unsigned char>(s[i + n])) || s[i + n] == '_'))
            return false;
        i += n;
        return true;
    }
    bool AtEnd() {
        Skip();
        return i >= s.size();
    }
    char Peek() const { return i < s.size() ? s[i] : '\0'; }
    std::string Identifier() {
        Skip();
        size_t start = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
            ++i;
        return s.substr(start, i - start);
    }
};

bool ReadString(Cursor& c, std::string& out) {
    out.clear();
    for (;;) {
        c.Skip();
        if (c.Peek() == '"') {
            ++c.i;
            for (;;) {
                if (c.i >= c.s.size()) return false;
                char ch = c.s[c.i++];
                if (ch == '"') {
                    if (c.Peek() == '"') {
                        out += '"';
                        ++c.i;
                        continue;
                    }
                    break;
                }
                out += ch;
            }
        } else if (c.EatWord("vbCrLf")) {
            out += "\r\n";
        } else if (c.EatWord("vbLf")) {
            out += '\n';
        } else if (c.EatWord("vbCr")) {
            out += '\r';
        } else {
            return false;
        }
        if (!c.Eat('&')) return true;
    }
}

// A decimal integer that fits an automation long.
bool ReadInteger(Cursor& c, long& value) {
    size_t start = c.i;
    bool negative = c.Peek() == '-';
    if (negative) ++c.i;
    long long v = 0;
    size_t digits = 0;
    while (std::isdigit(static_cast<unsigned char>(c.Peek()))) {
        v = v * 10 + (c.s[c.i++] - '0');
        if (++digits > 10) return false;
    }
    if (digits == 0) {
        c.i = start;
        return false;
    }
    v = negative ? -v : v;
    if (v < -2147483648LL || v > 2147483647LL) return false;
    value = static_cast<long>(v);
    return true;
}

// Array("A","B",...): string literals only.
bool ReadArray(Cursor& c, COleVariant& array) {
    std::vector<std::string> items;
    if (!c.Eat('(')) return false;
    if (!c.Eat(')')) {
        for (;;) {
            c.Skip();
            std::string text;
            if (!ReadString(c, text)) return false;
            items.push_back(std::move(text));
            if (c.Eat(')')) break;
            if (!c.Eat(',')) return false;
        }
    }
    array = KXStringArrayVariant(items);
    return true;
}

bool ReadArgs(Cursor& c, std::vector<COleVariant>& args) {
    if (!c.Eat('(')) return false;
    if (c.Eat(')')) return true;
    for (;;) {
        c.Skip();
        long number = 0;
        if (c.Peek() == ',' || c.Peek() == ')') {
            args.push_back(COleVariant::Missing());
        } else if (c.Peek() == '"' || c.s.compare(c.i, 2, "vb") == 0) {
            std::string text;
            if (!ReadString(c, text)) return false;
            args.emplace_back(text.c_str());
        } else if (c.EatWord("Array")) {
            COleVariant array;
            if (!ReadArray(c, array)) return false;
            args.push_back(std::move(array));
        } else if (c.EatWord("True")) {
            args.push_back(COleVariant::Bool(TRUE));
        } else if (c.EatWord("False")) {
            args.push_back(COleVariant::Bool(FALSE));
        } else if (ReadInteger(c, number)) {
            args.emplace_back(number);
        } else {
            return false;
        }
        if (c.Eat(')')) return true;
        if (!c.Eat(',')) return false;
    }
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// "call RMX.Name(args)" with a fixed number of arguments.
bool ReadHostCall(Cursor& c, const char* name, size_t count, SKXJournalLine& out) {
    SKXJournalCall call;
    call.method = name;
    if (!ReadArgs(c, call.args) || call.args.size() != count || !c.AtEnd()) return false;
    out.calls.push_back(std::move(call));
    return true;
}

} // namespace

COleVariant KXStringArrayVariant(const std::vector<std::string>& items) {
    std::vector<CString> texts;
    for (const std::string& item : items)
        texts.emplace_back(item.c_str());
    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_BSTR;
    array.parray = AfxSafeArrayFromStrings(texts);
    COleVariant owned(array); // a copy of its own
    VariantClear(&array);
    return owned;
}

bool KXParseJournalLine(const std::string& raw, SKXJournalLine& out, std::string& why) {
    out = SKXJournalLine();
    out.text = Trim(raw);
    const std::string& line = out.text;
    why = "not a journal line";
    if (line.empty() || line[0] == '\'') return true;
    Cursor c{line};
    if (c.EatWord("set")) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) return false;
        out.handle = Trim(line.substr(3, eq - 3));
        if (out.handle.empty() || Trim(line.substr(eq + 1)) != "RMX.GetActiveTab()") return false;
        out.kind = SKXJournalLine::SetHandle;
        return true;
    }
    if (!c.EatWord("call")) return false;
    c.Skip();
    struct HostCall {
        const char* name;
        size_t count;
        SKXJournalLine::Kind kind;
    };
    static constexpr HostCall kHostCalls[] = {{"SelectTab", 1, SKXJournalLine::SelectTab},
                                              {"OpenDesign", 2, SKXJournalLine::OpenDesign},
                                              {"OpenBlock", 2, SKXJournalLine::OpenBlock},
                                              {"ShowPowerPins", 1, SKXJournalLine::ShowPowerPins},
                                              {"SetOption", 1, SKXJournalLine::SetOption},
                                              {"AutoConnectDpLeg", 1, SKXJournalLine::AutoConnectDpLeg},
                                              {"Notify", 1, SKXJournalLine::Notify},
                                              {"SetProp", 1, SKXJournalLine::SetProp},
                                              {"Schematic", 1, SKXJournalLine::Schematic},
                                              {"BeginStep", 0, SKXJournalLine::BeginStep},
                                              {"EndStep", 0, SKXJournalLine::EndStep}};
    for (const HostCall& host : kHostCalls) {
        const std::string head = std::string("RMX.") + host.name + "(";
        if (line.compare(c.i, head.size(), head) != 0) continue;
        c.i += head.size() - 1;
        out.kind = host.kind;
        return ReadHostCall(c, host.name, host.count, out);
    }
    // The handle runs up to the first ".Name(" (a design name may itself hold '.' and ':').
    size_t pos = c.i, callAt = std::string::npos;
    for (size_t k = pos; k < line.size(); ++k) {
        if (line[k] != '.') continue;
        size_t j = k + 1;
        while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '_'))
            ++j;
        if (j > k + 1 && j < line.size() && line[j] == '(') {
            callAt = k;
            break;
        }
    }
    if (callAt == std::string::npos || callAt == pos) return false;
    out.handle = Trim(line.substr(pos, callAt - pos));
    c.i = callAt;
    while (c.Eat('.')) {
        SKXJournalCall call;
        call.method = c.Identifier();
        if (call.method.empty() || !ReadArgs(c, call.args)) return false;
        out.calls.push_back(std::move(call));
    }
    if (!c.AtEnd() || out.calls.empty()) return false;
    out.kind = SKXJournalLine::Call;
    return true;
}
