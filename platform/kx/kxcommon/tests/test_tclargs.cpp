#include "kxcommon/TclArgs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::vector<std::string>> Words(const CTclArgsList& list) {
    std::vector<std::vector<std::string>> out;
    for (auto it = list.beginArgs(); it != list.endArgs(); ++it) {
        std::vector<std::string> values;
        for (auto v = (*it)->beginValues(); v != (*it)->endValues(); ++v)
            values.push_back((*v).str());
        out.push_back(values);
    }
    return out;
}

TEST(TclArgsList, BuildingAndReading) {
    CTclArgsList list;
    list.add("selectObject");
    list.add("pin");
    list.StartArgument();
    list.AddToArgument("U1");
    list.AddToArgument("A[3]");
    list.AddToArgument("7");
    list.EndArgument();
    list.AddToArgument("auto"); // starts an argument of its own
    list.EndArgument();
    EXPECT_EQ(list.GetTotalArgCount(), 4);
    CTclArgs* third = list.GetArg(2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->GetArgCount(), 3);
    CString v = "unchanged";
    EXPECT_EQ(third->GetElement(1, v), 1);
    EXPECT_EQ(v, "A[3]");
    EXPECT_EQ(third->GetElement(3, v), 0);
    EXPECT_EQ(v, "A[3]");
    EXPECT_EQ(third->GetElement(-1, v), 0);
    EXPECT_EQ(list.GetArg(4), nullptr);
    EXPECT_EQ(list.GetArg(-1), nullptr);

    // Iterators give NULL and empty text past the end.
    auto end = list.endArgs();
    EXPECT_EQ(*end, nullptr);
    EXPECT_EQ(*third->endValues(), "");
    EXPECT_EQ(*CTclArgsList::ArgIterator(), nullptr);

    EXPECT_TRUE(list.RemoveArgFromCurrentList());
    EXPECT_EQ(list.GetTotalArgCount(), 3);
    EXPECT_EQ(list.GetArg(0)->GetValue(0), "pin");

    CTclArgsList copy = list;
    EXPECT_TRUE(copy == list);
    copy.RemoveAll();
    EXPECT_FALSE(copy.RemoveArgFromCurrentList());
    EXPECT_EQ(list.GetTotalArgCount(), 3);
}

TEST(TclArgsList, CommandLineQuoting) {
    CTclArgsList list;
    list.add("addConnection");
    list.add("plain_word");
    list.add("two words");
    list.add("");
    list.add("say \"hi\"");
    list.add("A[3]");
    list.add("$HOME");
    list.add("{braced}");
    list.add("back\\slash");
    list.add("line\nbreak\ttab");
    list.StartArgument();
    list.AddToArgument("U1");
    list.AddToArgument("D<7..0>");
    list.AddToArgument("pin number");
    list.EndArgument();
    list.StartArgument();
    list.EndArgument();
    EXPECT_EQ(list.ToTclCommandLine(),
              "addConnection plain_word \"two words\" \"\" \"say \\\"hi\\\"\" \"A\\[3\\]\" \"\\$HOME\" "
              "\"{braced}\" "
              "\"back\\\\slash\" \"line\\nbreak\\ttab\" [list U1 D<7..0> \"pin number\"] [list]");
    auto back = CTclArgsList::FromTclCommandLine(list.ToTclCommandLine());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Words(*back), Words(list));
}

TEST(TclArgsList, ReadsWhatAScriptWriterTypes) {
    struct Case {
        const char* line;
        std::vector<std::vector<std::string>> words;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"closeDesign -save", {{"closeDesign"}, {"-save"}}},
        {"  a\tb  ", {{"a"}, {"b"}}},
        {"{a b} {} {x {nested} y}", {{"a b"}, {""}, {"x {nested} y"}}},
        {"{a\\}b}", {{"a\\}b"}}},
        {"\"a b\" \"\\x41\\101\\u00e9\" \\[x\\]", {{"a b"}, {"AA\xc3\xa9"}, {"[x]"}}},
        {"[list U1 \"A 1\" {B 2}] [list]", {{"U1", "A 1", "B 2"}, {}}},
        {"a \\\n b", {{"a"}, {"b"}}},
        {"sel pin;\n", {{"sel"}, {"pin"}}},
        {"x\"y", {{"x\"y"}}},
    };
    for (const auto& c : cases) {
        CString err;
        auto list = CTclArgsList::FromTclCommandLine(c.line, &err);
        ASSERT_NE(list, nullptr) << c.line << ": " << err.str();
        EXPECT_EQ(Words(*list), c.words) << c.line;
    }
}

TEST(TclArgsList, RefusesWhatItCannotReadWithoutRunningIt) {
    const char* bad[] = {
        "a {b",   "a \"b",   "set x $y",  "a [clock seconds]", "\"x\"y",
        "{x}y",   "[list a", "[list a]b", "[list [list a]]",   "a; b",
        "\"$x\"", "\"[x]\"",
    };
    for (const char* line : bad) {
        CString err;
        EXPECT_EQ(CTclArgsList::FromTclCommandLine(line, &err), nullptr) << line;
        EXPECT_FALSE(err.IsEmpty()) << line;
    }
    EXPECT_NE(CTclArgsList::FromTclCommandLine(nullptr), nullptr);
}

TEST(TclArgsList, RandomListsRoundTrip) {
    std::mt19937 rng(12345);
    const std::string alphabet = "ab Z09_-.:;\"\\$[]{}<>#\t\n\r\x01\x7f\xc3\xa9";
    for (int round = 0; round < 2000; ++round) {
        CTclArgsList list;
        int args = static_cast<int>(rng() % 6);
        for (int a = 0; a < args; ++a) {
            int values = static_cast<int>(rng() % 4);
            list.StartArgument();
            for (int v = 0; v < values; ++v) {
                std::string s;
                int len = static_cast<int>(rng() % 8);
                for (int k = 0; k < len; ++k)
                    s += alphabet[rng() % alphabet.size()];
                list.AddToArgument(s.c_str());
            }
            list.EndArgument();
        }
        CString line = list.ToTclCommandLine();
        CString err;
        auto back = CTclArgsList::FromTclCommandLine(line, &err);
        ASSERT_NE(back, nullptr) << line.str() << ": " << err.str();
        ASSERT_EQ(Words(*back), Words(list)) << line.str();
    }
}

} // namespace

namespace {

TEST(TclArgsList, RandomLinesNeverCrashAndWhatIsReadWritesBackTheSame) {
    std::mt19937 rng(4242);
    const std::string alphabet = "ab [list]{}\"\\$;\n\t x01u7";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        int len = static_cast<int>(rng() % 20);
        for (int k = 0; k < len; ++k)
            line += alphabet[rng() % alphabet.size()];
        auto list = CTclArgsList::FromTclCommandLine(line.c_str());
        if (!list) continue;
        ++accepted;
        auto again = CTclArgsList::FromTclCommandLine(list->ToTclCommandLine());
        ASSERT_NE(again, nullptr) << line;
        ASSERT_EQ(Words(*again), Words(*list)) << line;
    }
    EXPECT_GT(accepted, 1000);
}

} // namespace
