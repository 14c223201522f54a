#include <gtest/gtest.h>

#include "rmx/schemautil.h"

TEST(BusSyntax, AcceptsAndRejects) {
    struct Case {
        const char* text;
        bool valid;  // parses at all
        const char* base;
        int msb, lsb, kind;
    };
    const Case cases[] = {
        {"D", true, "D", -1, -1, 0},          {"D<3>", true, "D", 3, 3, 1},
        {"DATA<7..0>", true, "DATA", 7, 0, 2}, {"A_B+1<0..15>", true, "A_B+1", 0, 15, 2},
        {"D<>", false, "", 0, 0, 0},          {"D<3", false, "", 0, 0, 0},
        {"D[3]", false, "", 0, 0, 0},         {"D<7:0>", false, "", 0, 0, 0},
        {"D<-1>", false, "", 0, 0, 0},        {"D <3>", false, "", 0, 0, 0},
        {"<3>", false, "", 0, 0, 0},          {"-D", false, "", 0, 0, 0},
        {"D<3>x", false, "", 0, 0, 0},        {"D<1234567890>", false, "", 0, 0, 0},
        {"", false, "", 0, 0, 0},             {"D<7...0>", false, "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        CString base;
        int lsb = 99, msb = 99, kind = 99;
        bool ok = CSchemaUtilities::parsePinName(c.text, base, lsb, msb, kind);
        EXPECT_EQ(ok, c.valid) << c.text;
        if (!ok) {
            EXPECT_EQ(lsb, 99) << "outputs untouched on failure: " << c.text;
            continue;
        }
        EXPECT_STREQ(base, c.base);
        EXPECT_EQ(msb, c.msb) << c.text;
        EXPECT_EQ(lsb, c.lsb) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_EQ(CSchemaUtilities::getValidBusSyntax(c.text), c.kind > 0) << c.text;
        EXPECT_EQ(CSchemaUtilities::isValidName(c.text), c.kind == 0) << c.text;
    }
}

TEST(BusSyntax, VectorNamesRoundTripAndBuffersAreBounded) {
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", 3), "D<3>");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", -1), "D");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", 7, 0), "D<7..0>");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", 2, 2), "D<2>");
    EXPECT_EQ(CSchemaUtilities::getVectorDisplayFormat(), 0);
    char small[5];
    EXPECT_STREQ(CSchemaUtilities::vectorName("DATA", 7, 0, small), "DATA");  // cut, terminated
    char big[32];
    EXPECT_STREQ(CSchemaUtilities::vectorName("DATA", 12, big), "DATA<12>");
    EXPECT_EQ(CSchemaUtilities::vectorName("D", 1, nullptr, 0), nullptr);
    CString out;
    CSchemaUtilities::vectorName("Q", 0, 3, out);
    CString base;
    int lsb, msb;
    ASSERT_TRUE(CSchemaUtilities::parsePinName(out, base, lsb, msb));
    EXPECT_EQ(msb, 0);
    EXPECT_EQ(lsb, 3);
}

// Either end of a range may be absent (negative); names longer than a short text and the widest
// numbers are composed whole.
TEST(BusSyntax, VectorNamesOfEveryShape) {
    EXPECT_STREQ(CSchemaUtilities::vectorName(nullptr, 3), "<3>");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", -1, -1), "D");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", -1, 4), "D<4>");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", 5, -1), "D<5>");
    EXPECT_STREQ(CSchemaUtilities::vectorName("D", 0, 7), "D<0..7>");
    const char* kLong = "MEMORY_BANK_ADDRESS_BUS";
    EXPECT_STREQ(CSchemaUtilities::vectorName(kLong, 2147483647), "MEMORY_BANK_ADDRESS_BUS<2147483647>");
    EXPECT_STREQ(CSchemaUtilities::vectorName(kLong, 2147483647, 1000000000),
                 "MEMORY_BANK_ADDRESS_BUS<2147483647..1000000000>");
}

TEST(BusSyntax, NullTextIsRefused) {
    CString base;
    int a = 0, b = 0;
    EXPECT_FALSE(CSchemaUtilities::parsePinName(nullptr, base, a, b));
    EXPECT_FALSE(CSchemaUtilities::getValidBusSyntax(nullptr));
}
