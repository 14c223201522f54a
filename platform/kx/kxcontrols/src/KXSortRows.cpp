#include "kxcontrols/KXSortRows.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// ASCII letters fold as the C locale's tolower does, without a library call per character.
unsigned char Fold(char c, bool caseSensitive) {
    const unsigned char u = static_cast<unsigned char>(c);
    return caseSensitive || u < 'A' || u > 'Z' ? u : static_cast<unsigned char>(u - 'A' + 'a');
}

int CompareAlpha(const std::string& a, const std::string& b, bool cs) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Fold(a[i], cs), y = Fold(b[i], cs);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digit runs compare by value (leading zeros ignored, then the shorter run of zeros first), the rest by
// character; no conversion to a machine number, so runs of any length are safe.
int CompareAlphaNumeric(const std::string& a, const std::string& b, bool cs) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t si = i, sj = j;
            while (i < a.size() && IsDigit(a[i])) ++i;
            while (j < b.size() && IsDigit(b[j])) ++j;
            size_t zi = si, zj = sj;
            while (zi < i && a[zi] == '0') ++zi;
            while (zj < j && b[zj] == '0') ++zj;
            size_t li = i - zi, lj = j - zj;
            if (li != lj) return li < lj ? -1 : 1;
            for (size_t k = 0; k < li; ++k)
                if (a[zi + k] != b[zj + k]) return a[zi + k] < b[zj + k] ? -1 : 1;
            if ((i - si) != (j - sj)) return (i - si) < (j - sj) ? -1 : 1;
            continue;
        }
        unsigned char x = Fold(a[i], cs), y = Fold(b[j], cs);
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    bool aDone = i >= a.size(), bDone = j >= b.size();
    return aDone && bDone ? 0 : (aDone ? -1 : 1);
}

bool ParseNumber(const std::string& s, double& v) {
    const char* begin = s.c_str();
    while (*begin && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
    if (!*begin) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE) return false;
    while (*end && std::isspace(static_cast<unsigned char>(*end))) ++end;
    return *end == '\0' && v == v; // rejects trailing text and NaN
}

// A parent row and the child rows under it: members[first .. first + count) of the rows taking part.
struct Group {
    size_t head;  // index of the parent row
    size_t first; // where its rows start among the rows taking part
    size_t count; // the parent row and its child rows
};

// Whether rows of a level stay under their parent; levels come in runs, so the last answer is kept.
class ChildLevels {
public:
    explicit ChildLevels(const std::set<int>& levels) : m_levels(levels) {}
    bool IsChild(int level) {
        if (!m_known || level != m_level) {
            m_known = true;
            m_level = level;
            m_child = m_levels.count(level) != 0;
        }
        return m_child;
    }

private:
    const std::set<int>& m_levels;
    bool m_known = false;
    int m_level = 0;
    bool m_child = false;
};

} // namespace

int KXCompareSortKeys(const std::string& a, const std::string& b, const KXSortOptions& opt) {
    if (opt.kind == 0) {
        double x = 0, y = 0;
        bool nx = ParseNumber(a, x), ny = ParseNumber(b, y);
        if (nx && ny) return x < y ? -1 : (y < x ? 1 : 0);
        if (nx != ny) return nx ? -1 : 1;
    }
    return Sign(opt.alpha ? CompareAlpha(a, b, opt.caseSensitive) : CompareAlphaNumeric(a, b, opt.caseSensitive));
}

std::string KXAlphaNumericKey(const std::string& text, bool caseSensitive) {
    // A digit run stands as '0' (it compares with other characters as any digit does), then the length
    // of its value, its value's digits and the run's length. A length below 255 is one byte, a longer one
    // 255 and four bytes, high first: the short keys of most names stay within the string's own storage.
    constexpr size_t kLongLength = 0xFF;
    auto putLength = [](std::string& key, size_t n) {
        if (n < kLongLength) {
            key.push_back(static_cast<char>(n));
            return;
        }
        key.push_back(static_cast<char>(kLongLength));
        for (int shift = 24; shift >= 0; shift -= 8) key.push_back(static_cast<char>((n >> shift) & 0xFF));
    };
    std::string key;
    for (size_t i = 0; i < text.size();) {
        if (!IsDigit(text[i])) {
            key.push_back(static_cast<char>(Fold(text[i++], caseSensitive)));
            continue;
        }
        const size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        size_t value = start;
        while (value < i && text[value] == '0') ++value;
        key.push_back('0');
        putLength(key, i - value);
        key.append(text, value, i - value);
        putLength(key, i - start);
    }
    return key;
}

namespace {

// The first eight bytes of a key (folded as the order folds them), the first one highest, zeros past
// the end: keys whose numbers differ compare as their numbers do (a key that ends first has the
// smaller number or an equal one).
std::uint64_t FirstBytes(const std::string& key, bool caseSensitive) {
    std::uint64_t first = 0;
    for (size_t i = 0; i < sizeof first; ++i)
        first = (first << 8) | (i < key.size() ? Fold(key[i], caseSensitive) : 0u);
    return first;
}

// The groups in text order, each group's key read once: most comparisons are of the keys' first bytes
// as numbers; only keys whose first bytes agree are compared in full. Equal keys keep their order.
std::vector<size_t> SortGroupsByText(const std::vector<KXSortItem>& rows, const std::vector<Group>& groups,
                                     const KXSortOptions& opt) {
    struct Ranked {
        std::uint64_t first; // the key's first bytes, complemented for a descending sort
        std::uint32_t group;
        bool blank; // goes after the others, whatever the direction
    };
    std::vector<std::string> alnum; // the alphanumeric keys (alpha = false)
    if (!opt.alpha) alnum.reserve(groups.size());
    std::vector<Ranked> ranked;
    ranked.reserve(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::string& text = rows[groups[g].head].key;
        if (!opt.alpha) alnum.push_back(KXAlphaNumericKey(text, opt.caseSensitive));
        const std::uint64_t first =
            opt.alpha ? FirstBytes(text, opt.caseSensitive) : FirstBytes(alnum.back(), true);
        ranked.push_back(Ranked{opt.ascending ? first : ~first, static_cast<std::uint32_t>(g),
                                opt.blanksLast && text.empty()});
    }
    auto fullCompare = [&](std::uint32_t x, std::uint32_t y) {
        if (!opt.alpha) return Sign(alnum[x].compare(alnum[y]));
        return Sign(CompareAlpha(rows[groups[x].head].key, rows[groups[y].head].key, opt.caseSensitive));
    };
    auto before = [&](const Ranked& x, const Ranked& y) {
        if (x.blank != y.blank) return y.blank;
        if (x.first != y.first) return x.first < y.first;
        if (!x.blank) {
            const int c = fullCompare(x.group, y.group);
            if (c != 0) return opt.ascending ? c < 0 : c > 0;
        }
        return x.group < y.group;
    };
    // Rows shown in their order already (a list filled in order) are only checked.
    if (!std::is_sorted(ranked.begin(), ranked.end(), before))
        std::sort(ranked.begin(), ranked.end(), before);
    std::vector<size_t> sorted;
    sorted.reserve(ranked.size());
    for (const Ranked& r : ranked)
        sorted.push_back(r.group);
    return sorted;
}

// The groups in their sorted order: blank ones last when the options say so, equal keys in the order
// they came.
std::vector<size_t> SortGroups(const std::vector<KXSortItem>& rows, const std::vector<Group>& groups,
                               const KXSortOptions& opt) {
    if (opt.kind != 0) return SortGroupsByText(rows, groups, opt);
    std::vector<size_t> sorted(groups.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = i;
    auto blank = [&](size_t g) { return opt.blanksLast && rows[groups[g].head].key.empty(); };
    std::stable_sort(sorted.begin(), sorted.end(), [&](size_t x, size_t y) {
        const bool bx = blank(x), by = blank(y);
        if (bx != by) return by; // the non-blank one first, whatever the direction
        if (bx) return false;
        const int c = KXCompareSortKeys(rows[groups[x].head].key, rows[groups[y].head].key, opt);
        return opt.ascending ? c < 0 : c > 0;
    });
    return sorted;
}

} // namespace

std::vector<size_t> KXComputeSortOrder(const std::vector<KXSortItem>& rows, const KXSortOptions& opt) {
    // Frozen blank rows keep their places; only the rest takes part in the sort.
    auto frozen = [&](size_t i) { return opt.freezeBlankRows && rows[i].blankRow; };

    std::vector<size_t> members; // the rows taking part, in their order
    members.reserve(rows.size());
    std::vector<Group> groups;
    groups.reserve(rows.size());
    ChildLevels levels(opt.skipLevels);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (frozen(i)) continue;
        if (levels.IsChild(rows[i].level) && !groups.empty())
            ++groups.back().count;
        else
            groups.push_back(Group{i, members.size(), 1});
        members.push_back(i);
    }
    const std::vector<size_t> sorted = SortGroups(rows, groups, opt);

    std::vector<size_t> order;
    order.reserve(rows.size());
    if (members.size() == rows.size()) { // no frozen row: each group's rows follow its parent row
        for (size_t g : sorted)
            for (size_t k = 0; k < groups[g].count; ++k)
                order.push_back(groups[g].head + k);
        return order;
    }
    auto next = sorted.cbegin();
    size_t taken = 0; // rows of the current group placed so far
    for (size_t i = 0; i < rows.size(); ++i) {
        if (frozen(i)) {
            order.push_back(i);
            continue;
        }
        const Group& group = groups[*next];
        order.push_back(members[group.first + taken]);
        if (++taken == group.count) {
            ++next;
            taken = 0;
        }
    }
    return order;
}
