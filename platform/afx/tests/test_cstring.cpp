#include "afx/afxstr.h"

#include <gtest/gtest.h>

TEST(CString, SlicingClampsLikeMfc) {
    CString s("abcdef");
    EXPECT_EQ(s.Left(3), "abc");
    EXPECT_EQ(s.Left(99), "abcdef");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Mid(4), "ef");
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(2, 100), "cdef");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
}

TEST(CString, FindReplaceTrim) {
    CString s("  a.b.c  ");
    s.Trim();
    EXPECT_EQ(s, "a.b.c");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.Find('a', 99), -1);
    EXPECT_EQ(s.Replace(".", "::"), 2);
    EXPECT_EQ(s, "a::b::c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    CString t("xxabcxx");
    t.Trim('x');
    EXPECT_EQ(t, "abc");
}

TEST(CString, FormatCompareCase) {
    CString s;
    s.Format("%d%% of %d Pins", 50, 8);
    EXPECT_EQ(s, "50% of 8 Pins");
    s.AppendFormat(" %s", "done");
    EXPECT_EQ(s, "50% of 8 Pins done");
    EXPECT_EQ(CString("Abc").CompareNoCase("aBC"), 0);
    EXPECT_LT(CString("abc").Compare("abd"), 0);
    CString m("MiXeD");
    EXPECT_EQ(m.MakeLower(), "mixed");
    EXPECT_EQ(m.MakeUpper(), "MIXED");
}

TEST(CString, IndexOutOfRangeRaisesInvalidArgument) {
    CString s("ab");
    EXPECT_EQ(s.GetAt(1), 'b');
    EXPECT_THROW(s.GetAt(2), CInvalidArgException);
    EXPECT_THROW(s.SetAt(-1, 'x'), CInvalidArgException);
}

TEST(CString, TokenizeAndBuffer) {
    CString s("a, b,,c");
    int pos = 0;
    std::vector<std::string> toks;
    for (CString t = s.Tokenize(", ", pos); pos != -1; t = s.Tokenize(", ", pos))
        toks.push_back(t.str());
    EXPECT_EQ(toks, (std::vector<std::string>{"a", "b", "c"}));
    CString b;
    char* p = b.GetBuffer(10);
    p[0] = 'h';
    p[1] = 'i';
    p[2] = '\0';
    b.ReleaseBuffer();
    EXPECT_EQ(b, "hi");
    EXPECT_EQ(b.GetLength(), 2);
}
