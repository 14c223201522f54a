#include "shell/KXFrameArgs.h"

#include <gtest/gtest.h>

#include <map>

namespace {
KXArgValues Words(std::initializer_list<const char*> words) {
    KXArgValues a;
    for (const char* w : words)
        a.push_back({CString(w)});
    return a;
}
} // namespace

TEST(FrameArgs, CloseAndViewOptions) {
    EXPECT_EQ(KXCloseOption("-NOSAVE"), 0);
    EXPECT_EQ(KXCloseOption("-n"), 0);
    EXPECT_EQ(KXCloseOption("-nothing"), 0);
    EXPECT_EQ(KXCloseOption("-Save"), 1);
    EXPECT_EQ(KXCloseOption("-sx"), 1);
    EXPECT_EQ(KXCloseOption("-N"), -2); // the short forms are case-sensitive
    EXPECT_EQ(KXCloseOption("save"), -2);
    EXPECT_EQ(KXViewOption("-PROMPT"), -1);
    EXPECT_EQ(KXViewOption("-p"), -2);
    EXPECT_EQ(KXViewOption("-nosave"), 0);
    EXPECT_EQ(KXViewOption("-s"), 1);
}

TEST(FrameArgs, FilterOptionWords) {
    EXPECT_EQ(KXFilterOption("-e"), 1);
    EXPECT_EQ(KXFilterOption("-EXCLUDE"), 1);
    EXPECT_EQ(KXFilterOption("-I"), 0);
    EXPECT_EQ(KXFilterOption("-include"), 0);
    EXPECT_EQ(KXFilterOption("-ex"), -1);
    EXPECT_EQ(KXFilterOption("all"), -1);
}

TEST(FrameArgs, DesignCommentOperationAndText) {
    CString text;
    EXPECT_EQ(KXParseDesignComment(Words({"add", "first", "second"}), text), EKXCommentOp::Add);
    EXPECT_EQ(text, CString("second"));
    EXPECT_EQ(KXParseDesignComment(Words({"EDIT", "t"}), text), EKXCommentOp::Edit);
    EXPECT_EQ(text, CString("t"));
    EXPECT_EQ(KXParseDesignComment(Words({"delete", "ignored"}), text), EKXCommentOp::Delete);
    EXPECT_EQ(KXParseDesignComment(Words({"rename"}), text), EKXCommentOp::None);
    EXPECT_EQ(KXParseDesignComment(Words({"add", "-help"}), text), EKXCommentOp::Help);
    // A comment that mentions "-h" is still a comment.
    EXPECT_EQ(KXParseDesignComment(Words({"add", "re-home the clock (see -h)"}), text), EKXCommentOp::Add);
    EXPECT_EQ(text, CString("re-home the clock (see -h)"));
    // Values of one argument count one by one.
    KXArgValues multi{{CString("add"), CString("x y")}};
    EXPECT_EQ(KXParseDesignComment(multi, text), EKXCommentOp::Add);
    EXPECT_EQ(text, CString("x y"));
}

TEST(FrameArgs, ExportArguments) {
    SKXInterfaceArgs a;
    EXPECT_EQ(KXParseExportArgs(Words({"-inst", "U1", "-file", "C:\\out\\u1.if"}), a), CString(""));
    EXPECT_EQ(a.inst, CString("U1"));
    EXPECT_EQ(a.file, CString("C:/out/u1.if"));
    EXPECT_EQ(a.localAsInout, 0);
    EXPECT_EQ(KXParseExportArgs(Words({"-i", "U1", "-f", "x", "-e"}), a), CString(""));
    EXPECT_EQ(a.localAsInout, 1);
    EXPECT_EQ(KXParseExportArgs(Words({"-inst"}), a), CString("KXPANE-230"));
    EXPECT_EQ(KXParseExportArgs(Words({"-inst", "-file", "x"}), a), CString("KXPANE-230"));
    EXPECT_EQ(KXParseExportArgs(Words({"U1"}), a), CString("KXPANE-229"));
    EXPECT_EQ(KXParseExportArgs(Words({"-help"}), a), CString("KXPANE-229"));
    EXPECT_EQ(KXParseExportArgs(Words({"a", "b", "c", "d", "e", "f"}), a), CString("KXPANE-229"));
    // A later value replaces the earlier one while the option stays pending.
    EXPECT_EQ(KXParseExportArgs(Words({"-file", "a", "b"}), a), CString(""));
    EXPECT_EQ(a.file, CString("b"));
}

TEST(FrameArgs, AValueRightAfterItsOptionIsNeverTakenForAnOption) {
    SKXInterfaceArgs a;
    EXPECT_EQ(KXParseImportArgs(Words({"-file", "x/my-file.dat"}), a), CString(""));
    EXPECT_EQ(a.file, CString("x/my-file.dat"));
    EXPECT_EQ(KXParseImportArgs(Words({"-inst", "top-inst", "-file", "a-h.dat"}), a), CString(""));
    EXPECT_EQ(a.inst, CString("top-inst"));
    EXPECT_EQ(a.file, CString("a-h.dat"));
    EXPECT_EQ(KXParseExportArgs(Words({"-file", "notes-help.txt"}), a), CString(""));
    EXPECT_EQ(a.file, CString("notes-help.txt"));
    // Outside a value position the usual rules hold.
    EXPECT_EQ(KXParseImportArgs(Words({"-file", "f", "-h"}), a), CString("KXPANE-230"));
    EXPECT_EQ(KXParseImportArgs(Words({"-export_local_as_inout"}), a), CString("KXPANE-230"));
    EXPECT_EQ(KXParseImportArgs(Words({"a", "b", "c", "d", "e"}), a), CString("KXPANE-230"));
}

TEST(FrameArgs, BlockNamePathFromHierarchicalPath) {
    std::map<CString, CString> names{{"@1", "u1"}, {"@1@7", "u2"}, {"@3", "u3"}};
    auto nameAt = [&](const CString& p) { return names[p]; };
    EXPECT_EQ(KXBlockNamePath("@1@7", nameAt), CString("u1:u2"));
    EXPECT_EQ(KXBlockNamePath("@3", nameAt), CString("u3"));
}
