#include "kxcommon/KXGenUtils.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct SignalCase {
    const char* text;
    const char* display;
    const char* net;
    int lsb, msb, step, scope, stride, expand;
};

TEST(GenUtilsNames, SignalNamesAccepted) {
    const SignalCase cases[] = {
        {"CLK", "CLK", "CLK", -1, -1, 1, 0, 0, 0},
        {"  CLK  ", "CLK", "CLK", -1, -1, 1, 0, 0, 0},
        {"D<7..0>", "D<7..0>", "D", 0, 7, 1, 0, 0, 1},
        {"D[0..7]", "D[0..7]", "D", 7, 0, 1, 0, 0, 1},
        {"D<3>", "D<3>", "D", 3, 3, 1, 0, 0, 0},
        {"A<15..0:2>", "A<15..0:2>", "A", 0, 15, 2, 0, 1, 1},
        {"A<15..0:1>", "A<15..0>", "A", 0, 15, 1, 0, 0, 1},
        {"VCC\\g", "VCC\\g", "VCC", -1, -1, 1, 1, 0, 0},
        {"D<1..0>\\g", "D<1..0>\\g", "D", 0, 1, 1, 1, 0, 1},
        {"N\\[2\\]", "N\\[2\\]", "N[2]", -1, -1, 1, 0, 0, 0},
        {"X\\<1\\><2>", "X\\<1\\><2>", "X<1>", 2, 2, 1, 0, 0, 0},
        {"A+B#1!", "A+B#1!", "A+B#1!", -1, -1, 1, 0, 0, 0},
        {"B<65535..0>", "B<65535..0>", "B", 0, 65535, 1, 0, 0, 1},
        // One bit is one bit whatever its step: normalising twice gives the same text.
        {"a<4..4:1>", "a<4>", "a", 4, 4, 1, 0, 0, 0},
        {"a<4..4:3>", "a<4>", "a", 4, 4, 3, 0, 1, 0},
        {"a<4..4>", "a<4>", "a", 4, 4, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        CString display, net;
        int lsb = -1, msb = -1, step = 1, pinType = -7, scope = -1, stride = -1, expand = -1;
        ASSERT_TRUE(CKXGenUtils::ParseSignalName(c.text, display, net, lsb, msb, step, pinType, scope, stride,
                                                 expand))
            << c.text;
        EXPECT_EQ(display, c.display) << c.text;
        EXPECT_EQ(net, c.net) << c.text;
        EXPECT_EQ(lsb, c.lsb) << c.text;
        EXPECT_EQ(msb, c.msb) << c.text;
        EXPECT_EQ(step, c.step) << c.text;
        EXPECT_EQ(pinType, -7) << c.text;
        EXPECT_EQ(scope, c.scope) << c.text;
        EXPECT_EQ(stride, c.stride) << c.text;
        EXPECT_EQ(expand, c.expand) << c.text;
        // The display name reads back as the same name, and is its own display name.
        CString net2, display2;
        int l2 = -1, m2 = -1, s2 = 1, t2 = -1, sc2 = 0, st2 = 0, e2 = 0;
        ASSERT_TRUE(CKXGenUtils::ParseSignalName(display, display2, net2, l2, m2, s2, t2, sc2, st2, e2))
            << display.str();
        EXPECT_EQ(display2, display) << c.text;
        EXPECT_EQ(net2, net);
        EXPECT_EQ(l2, lsb);
        EXPECT_EQ(m2, msb);
    }
}

TEST(GenUtilsNames, SignalNamesRejectedLeaveOutputsAlone) {
    const char* bad[] = {"",          "   ",     "<3>",      "D<",         "D<3",        "D<>",
                         "D<a>",      "D<-1>",   "D<+1>",    "D<1..>",     "D<..1>",     "D<1...0>",
                         "D<1..0:0>", "D<1:2>",  "D<7..0>x", "D<1>\\g\\g", "D[1>",       "D<1]",
                         "A B",       "A,B",     "A;B",      "A:B",        "A\"B",       "A{B}",
                         "A]",        "A>",      "A\\",      "A\\q",       "D<65536>", "D<1048576>", "D<99999999999>",
                         "A\nB",      "$1N23",   "-A",       "a.b",        "a\\\\b",     "D<1 ..0>",
                         "D< 1>",     "D<1..0:>"};
    for (const char* text : bad) {
        CString display = "keep", net = "keep";
        int lsb = 11, msb = 12, step = 13, pinType = 14, scope = 15, stride = 16, expand = 17;
        EXPECT_FALSE(
            CKXGenUtils::ParseSignalName(text, display, net, lsb, msb, step, pinType, scope, stride, expand))
            << text;
        EXPECT_EQ(display, "keep");
        EXPECT_EQ(net, "keep");
        EXPECT_EQ(lsb + msb + step + scope + stride + expand, 11 + 12 + 13 + 15 + 16 + 17);
    }
}

TEST(GenUtilsNames, PinNamesHaveNoScope) {
    CString base;
    int lsb = -1, msb = -1;
    EXPECT_TRUE(CKXGenUtils::ParsePinName("A<3..0>", base, lsb, msb));
    EXPECT_EQ(base, "A");
    EXPECT_EQ(lsb, 0);
    EXPECT_EQ(msb, 3);
    EXPECT_FALSE(CKXGenUtils::ParsePinName("VCC\\g", base, lsb, msb));
    lsb = msb = -1;
    EXPECT_TRUE(CKXGenUtils::ParsePinName("1", base, lsb, msb));
    EXPECT_EQ(base, "1");
    EXPECT_EQ(lsb, -1);
    CString display;
    int step = 0, scope = 9, pinType = 1;
    EXPECT_TRUE(CKXGenUtils::ParsePinName("Q[7..1:3]", display, base, lsb, msb, step, scope, pinType));
    EXPECT_EQ(step, 3);
    EXPECT_EQ(scope, 0);
    EXPECT_EQ(pinType, 1);
}

TEST(GenUtilsNames, DiffPairNames) {
    CString name, base;
    int second = 0, first = 0, flag = 5;
    ASSERT_TRUE(CKXGenUtils::ParseDPName("CLK (Differential Pair)", name, base, second, first, flag));
    EXPECT_EQ(name, "CLK");
    EXPECT_EQ(base, "CLK");
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(flag, 1);
    ASSERT_TRUE(CKXGenUtils::ParseDPName("LANE<3..0>", name, base, second, first, flag));
    EXPECT_EQ(base, "LANE");
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(flag, 0);
    EXPECT_FALSE(CKXGenUtils::ParseDPName(" (Differential Pair)", name, base, second, first, flag));
    EXPECT_FALSE(CKXGenUtils::ParseDPName("A B", name, base, second, first, flag));

    CString pos, neg;
    ASSERT_TRUE(CKXGenUtils::GetDiffPairNetNames("LANE<3..0>", pos, neg));
    EXPECT_EQ(pos, "LANE_P<3..0>");
    EXPECT_EQ(neg, "LANE_N<3..0>");
    ASSERT_TRUE(CKXGenUtils::GetDiffPairNetNames("CLK", pos, neg));
    EXPECT_EQ(pos, "CLK_P");
    EXPECT_FALSE(CKXGenUtils::GetDiffPairNetNames("", pos, neg));
}

TEST(GenUtilsNames, SmallHelpers) {
    int lsb = 7, msb = 0;
    CKXGenUtils::AdjustLsbMsb(lsb, msb);
    EXPECT_EQ(lsb, 0);
    EXPECT_EQ(msb, 7);
    CKXGenUtils::AdjustLsbMsb(lsb, msb);
    EXPECT_EQ(lsb, 0);

    EXPECT_TRUE(CKXGenUtils::IsNC("NC"));
    EXPECT_TRUE(CKXGenUtils::IsNC(" nc "));
    EXPECT_FALSE(CKXGenUtils::IsNC("NC1"));
    EXPECT_FALSE(CKXGenUtils::IsNC(""));

    CString t = "U1 A[3] \\x";
    CKXGenUtils::EscapeCharacter(t, '\\');
    CKXGenUtils::EscapeSquareBrackets(t);
    EXPECT_EQ(t, "U1 A\\[3\\] \\\\x");

    EXPECT_TRUE(CKXGenUtils::IsSPathToBeExcluded("@B1@U3.A<3>", "@B2 @B1"));
    EXPECT_TRUE(CKXGenUtils::IsSPathToBeExcluded("@B2;@B1", "@B1@U3.A<3>"));
    EXPECT_FALSE(CKXGenUtils::IsSPathToBeExcluded("@B10@U3.A", "@B1"));
    EXPECT_FALSE(CKXGenUtils::IsSPathToBeExcluded("@B1@U3", ""));

    CString out;
    EXPECT_TRUE(CKXGenUtils::ValidatePropValue("VOLTAGE", "  3.3V ", out));
    EXPECT_EQ(out, "3.3V");
    EXPECT_FALSE(CKXGenUtils::ValidatePropValue("VOLTAGE", "3.3\nV", out));
    EXPECT_NE(out.Find("VOLTAGE"), -1);
}

TEST(GenUtilsNames, RandomInputNeverCrashesAndAcceptedNamesReadBack) {
    std::mt19937 rng(777);
    const std::string alphabet = "AZaz09_$.<>[]..:\\g ,;\"{}\t\n\x80\xff-+";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        int len = static_cast<int>(rng() % 16);
        for (int k = 0; k < len; ++k)
            s += alphabet[rng() % alphabet.size()];
        CString display, net, name, base;
        int lsb = -1, msb = -1, step = 1, pinType = 0, scope = 0, stride = 0, expand = 0, second = 0,
            first = 0, flag = 0;
        if (CKXGenUtils::ParseSignalName(s.c_str(), display, net, lsb, msb, step, pinType, scope, stride,
                                         expand)) {
            ++accepted;
            CString net2;
            int l2 = -1, m2 = -1;
            ASSERT_TRUE(CKXGenUtils::ParseSignalName(display, net2, l2, m2)) << s;
            ASSERT_EQ(net2, net) << s;
            ASSERT_TRUE(step >= 1);
            ASSERT_TRUE(lsb >= -1 && lsb <= KX_NAME_MAX_BIT && msb >= -1 && msb <= KX_NAME_MAX_BIT);
        }
        CKXGenUtils::ParsePinName(s.c_str(), base, lsb, msb);
        CKXGenUtils::ParseDPName(s.c_str(), name, base, second, first, flag);
        CString pos, neg;
        CKXGenUtils::GetDiffPairNetNames(s.c_str(), pos, neg);
        CKXGenUtils::IsSPathToBeExcluded(s.c_str(), "@B1 @B2@U1");
    }
    EXPECT_GT(accepted, 100);
}

} // namespace
