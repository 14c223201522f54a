#include "grid/KXSpinText.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace kxspin {

namespace {

bool AllDigits(const std::string& text, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[static_cast<size_t>(i)]))) return false;
    }
    return true;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

KeyResult Select(const std::string& text, int start, int end, bool showArrows) {
    KeyResult r;
    r.consumed = true;
    r.text = text;
    r.sel = {start, end};
    r.arrowsChanged = true;
    r.showArrows = showArrows;
    return r;
}

KeyResult NotConsumed(const std::string& text, int caret) {
    KeyResult r;
    r.text = text;
    r.sel = {caret, caret};
    return r;
}

KeyResult SelectBase(const std::string& text, const VectorParts& p) {
    return Select(text, 0, p.open, false);
}

KeyResult SelectFirst(const std::string& text, const VectorParts& p) {
    return Select(text, p.open + 1, p.HasRange() ? p.dots : p.close, true);
}

KeyResult SelectSecond(const std::string& text, const VectorParts& p) {
    return Select(text, p.dots + 2, p.close, true);
}

} // namespace

int LeadingNumber(const std::string& text) {
    long long value = 0;
    for (char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) break;
        value = value * 10 + (ch - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

VectorParts FindParts(const std::string& text, char openBracket, char closeBracket) {
    VectorParts none;
    const auto open = text.find(openBracket);
    if (open == std::string::npos || open == 0 || text.empty() || text.back() != closeBracket) return none;
    const int o = static_cast<int>(open);
    const int c = static_cast<int>(text.size()) - 1;
    if (c <= o) return none;
    VectorParts parts;
    parts.open = o;
    parts.close = c;
    const auto dots = text.find("..", open + 1);
    if (dots != std::string::npos && static_cast<int>(dots) < c) {
        parts.dots = static_cast<int>(dots);
        if (!AllDigits(text, o + 1, parts.dots) || !AllDigits(text, parts.dots + 2, c)) return none;
    } else if (!AllDigits(text, o + 1, c)) {
        return none;
    }
    return parts;
}

int NumberUnderCaretForStep(const VectorParts& p, int caret) {
    if (!p.IsVector()) return 0;
    if (!p.HasRange()) return (caret < 0 || caret > p.open) ? 1 : 0;
    if (caret < 0 || (caret > p.open && caret <= p.dots)) return 1;
    if (caret >= p.dots + 2 && caret <= p.close) return 2;
    return 0;
}

KeyResult Step(const std::string& text, const VectorParts& p, int caret, int direction,
               const StepOptions& o) {
    const int which = NumberUnderCaretForStep(p, caret);
    if (which == 0) return NotConsumed(text, caret);

    const int from = which == 1 ? p.open + 1 : p.dots + 2;
    const int to = which == 1 ? (p.HasRange() ? p.dots : p.close) : p.close;
    const std::string digits = text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));

    int value = 0;
    if (digits.empty() && o.emptyUsesDefault) {
        value = o.defaultValue;
    } else {
        const int n = LeadingNumber(digits);
        if (direction > 0)
            value = n < o.maximum ? n + 1 : o.minimum;
        else
            value = n > o.minimum ? n - 1 : o.maximum;
    }
    if (o.clampMin && value < o.minimum) value = o.minimum;
    if (o.clampMax && value > o.maximum) value = o.maximum;
    value = std::max(value, 0);

    const std::string number = std::to_string(value);
    std::string rebuilt =
        text.substr(0, static_cast<size_t>(from)) + number + text.substr(static_cast<size_t>(to));

    KeyResult r;
    r.consumed = true;
    r.text = std::move(rebuilt);
    r.sel = {from, from + static_cast<int>(number.size())};
    return r;
}

KeyResult PreviousPart(const std::string& text, const VectorParts& p, int caret) {
    if (!p.IsVector()) return NotConsumed(text, caret);
    if (!p.HasRange()) {
        if (caret < 0 || caret <= p.close) return SelectBase(text, p);
        return SelectFirst(text, p);
    }
    if (caret < 0) return SelectBase(text, p);
    if (caret < p.open) return NotConsumed(text, caret);
    if (caret <= p.dots) return SelectBase(text, p);
    if (caret < p.close) return SelectFirst(text, p);
    return SelectSecond(text, p);
}

KeyResult NextPart(const std::string& text, const VectorParts& p, int caret) {
    if (!p.IsVector()) return NotConsumed(text, caret);
    if (!p.HasRange()) {
        if (caret < 0) return SelectBase(text, p);
        return SelectFirst(text, p);
    }
    if (caret < 0) return SelectBase(text, p);
    if (caret < p.open) return SelectFirst(text, p);
    if (caret < p.close) return SelectSecond(text, p);
    return NotConsumed(text, caret);
}

KeyResult PartUnderCaret(const std::string& text, const VectorParts& p, int caret) {
    if (!p.IsVector() || caret < 0) return NotConsumed(text, caret);
    if (caret <= p.open) return SelectBase(text, p);
    if (!p.HasRange()) {
        if (caret < p.close) return SelectFirst(text, p);
        return NotConsumed(text, caret);
    }
    if (caret <= p.dots) return SelectFirst(text, p);
    if (caret <= p.close) return SelectSecond(text, p);
    return NotConsumed(text, caret);
}

int CycleIndex(const std::vector<std::string>& entries, const std::string& text, int direction) {
    const int count = static_cast<int>(entries.size());
    if (count == 0) return -1;
    int found = -1;
    for (int i = 0; i < count; ++i) {
        if (EqualNoCase(entries[static_cast<size_t>(i)], text)) {
            found = i;
            break;
        }
    }
    if (found < 0) return 0;
    return direction > 0 ? (found + 1) % count : (found + count - 1) % count;
}

KeyResult Complete(const std::vector<std::string>& entries, const std::string& typed) {
    KeyResult r;
    r.text = typed;
    r.sel = {static_cast<int>(typed.size()), static_cast<int>(typed.size())};
    if (typed.empty()) return r;
    for (const auto& entry : entries) {
        if (StartsWithNoCase(entry, typed)) {
            r.consumed = true;
            r.text = typed + entry.substr(typed.size());
            r.sel = {static_cast<int>(typed.size()), static_cast<int>(r.text.size())};
            return r;
        }
    }
    return r;
}

} // namespace kxspin
