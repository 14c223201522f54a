#include "grid/KXDropPayload.h"

#include <gtest/gtest.h>

TEST(DropPayload, DesignNamesSplitAtTheFirstDotAndTheColonAfterIt) {
    CString lib, cell, view;
    ASSERT_TRUE(KXSplitDesignName("parts.res_0402:sym.v2", lib, cell, view));
    EXPECT_EQ(lib, CString("parts"));
    EXPECT_EQ(cell, CString("res_0402"));
    EXPECT_EQ(view, CString("sym.v2"));
    lib = "keep";
    EXPECT_FALSE(KXSplitDesignName("nodot:view", lib, cell, view));
    EXPECT_FALSE(KXSplitDesignName("a:b.c", lib, cell, view)); // no ':' after the '.'
    EXPECT_EQ(lib, CString("keep"));
}

TEST(DropPayload, InstanceListLinesKeepEmptyLines) {
    auto lines = KXDropLines("U1\n\nU3\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], CString("U1"));
    EXPECT_EQ(lines[1], CString(""));
    EXPECT_EQ(lines[2], CString("U3"));
    EXPECT_EQ(KXDropLines("U9").size(), 1u);
    EXPECT_TRUE(KXDropLines("").empty());
}

// A drag from a browser ends its lines with "\n" or "\r\n": neither is part of a name, in the lines or in the
// names a refusal quotes.
TEST(DropPayload, LineEndsArePartOfNoName) {
    const auto lines = KXDropLines("U1\r\nU2\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], CString("U1"));
    EXPECT_EQ(lines[1], CString("U2"));
    EXPECT_EQ(KXDroppedNames("NOPE\n"), CString("NOPE"));
    EXPECT_EQ(KXDroppedNames("A\r\n\nB\r\n"), CString("A, B"));
    EXPECT_EQ(KXDroppedNames("\n"), CString(""));
}

TEST(DropPayload, PartDescriptionSortsPropertiesByFlag) {
    SKXPartPayload p;
    CString error;
    KXDecodePartPayload("((\"lib.r:sym\" \"R 10k\") (\"VALUE\" \"10k\" x \"1\") (\"TOL\" \"5%\" x \"0\") "
                        "(\"PKG\" \"0402\" x) (\"FOO\" \"bar\" x \"10\"))",
                        p, error);
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(p.design, CString("lib.r:sym"));
    EXPECT_EQ(p.second, CString("R 10k"));
    ASSERT_EQ(p.flagged.size(), 2u);
    EXPECT_EQ(p.flagged[0], CString("VALUE=10k"));
    EXPECT_EQ(p.flagged[1], CString("FOO=bar"));
    ASSERT_EQ(p.unflagged.size(), 2u);
    EXPECT_EQ(p.unflagged[0], CString("TOL=5%"));
    EXPECT_EQ(p.unflagged[1], CString("PKG=0402"));
}

TEST(DropPayload, BrokenPartDescriptionKeepsWhatWasRead) {
    SKXPartPayload p;
    CString error;
    KXDecodePartPayload("((\"lib.r:sym\") (\"VALUE\" 10 x \"1\")", p, error);
    EXPECT_EQ(error, CString("Need closing )"));
    EXPECT_EQ(p.design, CString("lib.r:sym"));
    EXPECT_EQ(p.second, CString(""));
    ASSERT_EQ(p.flagged.size(), 1u);
    EXPECT_EQ(p.flagged[0], CString("VALUE=")); // a number is no quoted string
    KXDecodePartPayload("", p, error);
    EXPECT_TRUE(p.design.IsEmpty());
}
