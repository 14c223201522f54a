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

TEST(CString, EditingAndSpans) {
    CString s("pin");
    EXPECT_EQ(s.Insert(0, 'A'), 4);
    EXPECT_EQ(s.Insert(99, "_1"), 6); // past the end appends
    EXPECT_EQ(s, "Apin_1");
    EXPECT_EQ(s.Delete(1, 3), 3);
    EXPECT_EQ(s, "A_1");
    EXPECT_EQ(s.Delete(10, 2), 3); // out of range: nothing
    EXPECT_EQ(s.Remove('_'), 1);
    EXPECT_EQ(s, "A1");
    EXPECT_EQ(CString("123abc").SpanIncluding("0123456789"), "123");
    EXPECT_EQ(CString("name[3]").SpanExcluding("["), "name");
    EXPECT_EQ(CString("a") + 'b' + "c" + CString("d"), "abcd");
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString("x", 0), "");
    CString b("abcdef");
    b.GetBuffer(0);
    b.ReleaseBuffer(3);
    EXPECT_EQ(b, "abc");
    CString r("abc");
    EXPECT_EQ(r.MakeReverse(), "cba");
    EXPECT_EQ(CString("aXbXc").Replace('X', '-'), 2);
}

TEST(CString, LoadStringAsksTheLoaderThenTheResourceChain) {
    CString s;
    EXPECT_FALSE(s.LoadString(424242));
    AfxSetStringLoader([](UINT id, CString& out) -> BOOL {
        if (id != 424242) return FALSE;
        out = "from loader";
        return TRUE;
    });
    EXPECT_TRUE(s.LoadString(424242));
    EXPECT_EQ(s, "from loader");
    AfxSetStringLoader(nullptr);
    CString keep("unchanged");
    EXPECT_FALSE(keep.LoadString(424242));
    EXPECT_EQ(keep, "unchanged"); // a failed load leaves the text alone
}
