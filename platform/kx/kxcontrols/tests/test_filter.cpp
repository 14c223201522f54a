#include <gtest/gtest.h>

#include <string>

#include "kxcontrols/KXFilterData.h"

namespace {
bool Match(const char* pattern, const char* text, int start = 0) {
    CKXFilterData f;
    f.SetPattern(pattern);
    return f.SearchText(text, start) != FALSE;
}
} // namespace

TEST(FilterData, StarAndEmptyPatternsMatchEverything) {
    for (const char* p : {"*", "", "   ", "**", static_cast<const char*>(nullptr)}) {
        CKXFilterData f;
        f.SetPattern(p);
        EXPECT_TRUE(f.IsMatchAll()) << (p ? p : "(null)");
        EXPECT_TRUE(f.SearchText("anything"));
        EXPECT_TRUE(f.SearchText(""));
        EXPECT_TRUE(f.SearchText(nullptr));
    }
}

TEST(FilterData, WildcardsCoverTheWholeTextIgnoringCase) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    } cases[] = {
        {"CLK", "clk", true},        {"CLK", "CLK1", false},      {"CLK*", "clk_in", true},
        {"*IN", "clk_in", true},     {"*IN", "input", false},     {"*lk*", "CLK", true},
        {"A?", "A1", true},          {"A?", "A", false},          {"A?", "A12", false},
        {"D[3]", "D[3]", true},      {"D[?]", "D[7]", true},      {"D[3]", "D3", false},
        {"a*b*c", "aXXbYYc", true},  {"a*b*c", "aXXbYY", false},  {"*a*a*a*b", "aaaaaaaaaaaaaaaac", false},
        {"\\bus", "\\BUS", true},    {"?*", "", false},           {"*?", "x", true},
        {"1,2", "1,2", true},        {"GND*", "gnd", true},
    };
    for (const Case& c : cases) EXPECT_EQ(Match(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
}

TEST(FilterData, StartOffsetTestsTheRestOfTheText) {
    EXPECT_TRUE(Match("IN", "CLK_IN", 4));
    EXPECT_FALSE(Match("IN", "CLK_IN", 3));
    EXPECT_TRUE(Match("*", "abc", 99));
    EXPECT_FALSE(Match("a", "abc", 99)); // past the end: the empty rest
    EXPECT_TRUE(Match("abc", "abc", -5)); // below 0: from the start
}

TEST(FilterData, FreePatternAndReuse) {
    CKXFilterData f;
    f.SetPattern("A*");
    EXPECT_FALSE(f.SearchText("B"));
    f.FreePattern();
    EXPECT_TRUE(f.SearchText("B"));
    f.SetPattern("B");
    EXPECT_TRUE(f.SearchText("b"));
    EXPECT_FALSE(f.SearchText("A"));
}

TEST(FilterData, LongTextsAndPatternsStayFast) {
    std::string text(20000, 'a');
    std::string pattern;
    for (int i = 0; i < 50; ++i) pattern += "*a";
    pattern += "b";
    CKXFilterData f;
    f.SetPattern(pattern.c_str());
    EXPECT_FALSE(f.SearchText(text.c_str()));
    text += 'b';
    EXPECT_TRUE(f.SearchText(text.c_str()));
}

#include <random>
#include <regex>

TEST(FilterData, AgreesWithAReferenceMatcherOnRandomInput) {
    std::mt19937 rng(12345);
    const char patternChars[] = {'a', 'B', '*', '?'};
    const char textChars[] = {'a', 'b', 'A'};
    for (int round = 0; round < 3000; ++round) {
        std::string pattern, text, re;
        int pl = static_cast<int>(rng() % 7), tl = static_cast<int>(rng() % 9);
        for (int i = 0; i < pl; ++i) pattern += patternChars[rng() % 4];
        for (int i = 0; i < tl; ++i) text += textChars[rng() % 3];
        for (char c : pattern) re += c == '*' ? std::string(".*") : c == '?' ? std::string(".") : std::string(1, c);
        bool matchAll = pattern.find_first_not_of('*') == std::string::npos; // "", "*", "**": no filter
        bool expected = matchAll || std::regex_match(text, std::regex(re, std::regex::icase));
        CKXFilterData f;
        f.SetPattern(pattern.c_str());
        EXPECT_EQ(f.SearchText(text.c_str()) != FALSE, expected) << "pattern '" << pattern << "' text '" << text << "'";
    }
}
