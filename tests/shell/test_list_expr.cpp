#include "grid/KXListExpr.h"

#include <gtest/gtest.h>

#include <string>

TEST(ListExpr, ReadsNestedListsStringsSymbolsAndNumbers) {
    CKXListExpr expr;
    CString error;
    SKXListNode* root = expr.Parse(
        " ; a comment\n ((\"lib.cell:view\" \"desc\") (\"VALUE\" \"10k\" x \"1\") -2.5 sym_1-a)", error);
    EXPECT_TRUE(error.IsEmpty()) << error.GetString();
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->kind, 'L');
    SKXListNode* head = ListNodeGetItems(root);
    EXPECT_EQ(ListNodeGetText(ListNodeGetItems(head)), CString("lib.cell:view"));
    EXPECT_EQ(ListNodeGetText(ListNodeGetItems(ListNodeGetRest(head))), CString("desc"));
    SKXListNode* second = ListNodeGetRest(root);
    SKXListNode* prop = ListNodeGetItems(second);
    EXPECT_EQ(ListNodeGetText(ListNodeGetItems(prop)), CString("VALUE"));
    SKXListNode* third = ListNodeGetRest(second);
    ASSERT_EQ(ListNodeGetItems(third)->kind, 'N');
    EXPECT_DOUBLE_EQ(ListNodeGetItems(third)->number, -2.5);
    SKXListNode* fourth = ListNodeGetRest(third);
    ASSERT_EQ(ListNodeGetItems(fourth)->kind, 'S');
    EXPECT_STREQ(ListNodeGetItems(fourth)->text, "sym_1-a");
    // A symbol is no quoted string: its text reads as empty.
    EXPECT_EQ(ListNodeGetText(ListNodeGetItems(fourth)), CString(""));
    EXPECT_EQ(ListNodeGetRest(fourth), nullptr);
}

TEST(ListExpr, ReportsSyntaxErrorsAndKeepsTheParsedPart) {
    CKXListExpr expr;
    CString error;
    SKXListNode* root = expr.Parse("(\"a\" \"b\"", error);
    EXPECT_EQ(error, CString("Need closing )"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ListNodeGetText(ListNodeGetItems(root)), CString("a"));

    expr.Parse("(\"a\" #)", error);
    EXPECT_EQ(error, CString("Illegal character to start symbol name."));
}

TEST(ListExpr, BackslashQuotesTheNextCharacterInAString) {
    CKXListExpr expr;
    CString error;
    SKXListNode* root = expr.Parse("\"say \\\"hi\\\" \\\\ ok\"", error);
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(ListNodeGetText(root), CString("say \"hi\" \\ ok"));
    // An unterminated string ends at the end of the text.
    root = expr.Parse("\"open", error);
    EXPECT_EQ(ListNodeGetText(root), CString("open"));
}

TEST(ListExpr, LongStringsAndAtomsAreBoundedNotOverrun) {
    CKXListExpr expr;
    CString error;
    std::string big(400000, 'x');
    SKXListNode* root = expr.Parse(("\"" + big + "\"").c_str(), error);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(std::string(root->text).size(), 299997u);
    root = expr.Parse(("(" + std::string(5000, 'a') + ")").c_str(), error);
    EXPECT_EQ(std::string(ListNodeGetItems(root)->text).size(), 1000u);
}

TEST(ListExpr, AccessorsTolerateMissingNodes) {
    EXPECT_EQ(ListNodeGetItems(nullptr), nullptr);
    EXPECT_EQ(ListNodeGetRest(nullptr), nullptr);
    EXPECT_EQ(ListNodeGetText(nullptr), CString(""));
    CKXListExpr expr;
    CString error;
    EXPECT_EQ(expr.Parse("", error), nullptr);
    EXPECT_TRUE(error.IsEmpty());
}

namespace {
int g_calls = 0;
bool GiveUp(size_t, int) {
    ++g_calls;
    return false;
}
bool RetryOnce(size_t, int attempt) {
    ++g_calls;
    return attempt < 2;
}
} // namespace

TEST(ListExpr, OutOfMemoryIsReportedNotFatal) {
    CKXListExpr expr;
    CString error;
    CKXListNodePool::SetOutOfMemoryHandler(nullptr);
    CKXListNodePool::FailNextBlocks(1);
    SKXListNode* root = expr.Parse("(\"a\" \"b\")", error);
    EXPECT_EQ(error, CString("Out of memory"));
    EXPECT_EQ(root, nullptr);

    g_calls = 0;
    CKXListNodePool::SetOutOfMemoryHandler(GiveUp);
    CKXListNodePool::FailNextBlocks(1);
    expr.Parse("\"a\"", error);
    EXPECT_EQ(error, CString("Out of memory"));
    EXPECT_EQ(g_calls, 1);

    // A handler that frees memory gets the allocation retried.
    g_calls = 0;
    CKXListNodePool::SetOutOfMemoryHandler(RetryOnce);
    CKXListNodePool::FailNextBlocks(1);
    root = expr.Parse("\"a\"", error);
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(ListNodeGetText(root), CString("a"));
    EXPECT_EQ(g_calls, 1);
    CKXListNodePool::SetOutOfMemoryHandler(nullptr);
}

TEST(ListNodePool, PiecesAreZeroedAlignedAndReused) {
    CKXListNodePool pool;
    auto* a = static_cast<unsigned char*>(pool.Alloc(3));
    auto* b = static_cast<unsigned char*>(pool.Alloc(16));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 8, 0u);
    EXPECT_EQ(a[0] | a[1] | a[2], 0);
    b[0] = 7;
    pool.Free(b, 16);
    auto* c = static_cast<unsigned char*>(pool.Alloc(16));
    EXPECT_EQ(c, b);
    EXPECT_EQ(c[0], 0);
    void* big = pool.Alloc(20000);
    EXPECT_NE(big, nullptr);
}

TEST(ListExpr, NestingIsBoundedWithAClearError) {
    CKXListExpr expr;
    CString error;
    // A million brackets would run the reader out of stack; the text is refused instead.
    std::string deep(1000000, '(');
    expr.Parse(deep.c_str(), error);
    EXPECT_EQ(error, CString("Lists nested deeper than 200 levels"));
    // Nesting up to the bound reads.
    std::string ok = std::string(200, '(') + "x" + std::string(200, ')');
    SKXListNode* root = expr.Parse(ok.c_str(), error);
    EXPECT_TRUE(error.IsEmpty()) << error.GetString();
    EXPECT_NE(root, nullptr);
    std::string over = std::string(201, '(') + "x" + std::string(201, ')');
    expr.Parse(over.c_str(), error);
    EXPECT_FALSE(error.IsEmpty());
}
