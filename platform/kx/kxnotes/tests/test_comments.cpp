#include "kxnotes/CComments.h"

#include "afx/afxcoll.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class CommentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kxnotes_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_design = (m_dir / "board.tbl").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path m_dir;
    std::string m_design;
};

TEST_F(CommentsTest, MissingFileIsAnEmptyStore) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CString t, d, tm, u;
    EXPECT_FALSE(c.getDesignComments(t, d, tm, u));
    EXPECT_FALSE(c.getPinComments("U1", "A", t, d, tm, u));
    EXPECT_EQ(c.GetFilePath(), (m_dir / "board.TableEditor.notes").string().c_str());
}

TEST_F(CommentsTest, CommentsAndViewsRoundTripThroughTheFile) {
    const CString awkward = "line one\nline\ttwo \\ end\r";
    {
        CComments c("TableEditor", "board", 1.0);
        ASSERT_TRUE(c.loadComments(m_design.c_str()));
        ASSERT_TRUE(c.addDesignComments("top comment", "12/06/2026", "20:55:00", "ann"));
        ASSERT_TRUE(c.addPinComments("U1", "DATA<3>", awkward, "d", "t", "bob"));
        ASSERT_TRUE(c.addPinComments("U1", "DATA<4>", "other", "d", "t", "bob"));
        ASSERT_TRUE(c.addPinComments("U10", "DATA<3>", "keys are exact", "d", "t", "bob"));
        CMatrixViewData* v = c.GetMatrixViewData();
        v->AddInstanceToMatrixView("view A", "@U1");
        v->AddInstanceToMatrixView("view A", "@U2");
        v->AddSignalToMatrixView("view A", "@DATA<3>");
        v->AddSignalToMatrixView("view B", "@CLK");
        EXPECT_TRUE(c.IsModified());
        ASSERT_TRUE(c.saveComments());
        EXPECT_FALSE(c.IsModified());
    }
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str())) << c.GetLastError().GetString();
    CString t, d, tm, u;
    ASSERT_TRUE(c.getDesignComments(t, d, tm, u));
    EXPECT_EQ(t, "top comment");
    EXPECT_EQ(tm, "20:55:00");
    ASSERT_TRUE(c.getPinComments("U1", "DATA<3>", t, d, tm, u));
    EXPECT_EQ(t, awkward);
    EXPECT_EQ(u, "bob");
    EXPECT_FALSE(c.getPinComments("U1", "data<3>", t, d, tm, u));
    EXPECT_EQ(c.GetPinCommentCount(), 3);

    CMatrixViewData* v = c.GetMatrixViewData();
    CStringArray inst;
    v->GetMatrixComponentList("view A", inst);
    ASSERT_EQ(inst.GetSize(), 2);
    EXPECT_EQ(inst[0], "@U1");
    EXPECT_EQ(inst[1], "@U2");
    std::vector<CString> sig;
    v->GetMatrixSignalList("view B", sig);
    ASSERT_EQ(sig.size(), 1u);
    EXPECT_EQ(sig[0], "@CLK");
}

TEST_F(CommentsTest, RemovingCommentsAndViews) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    EXPECT_FALSE(c.removeDesignComments());
    c.addDesignComments("x", "d", "t", "u");
    c.addDesignComments("y", "d", "t", "u"); // replaces
    CString t, d, tm, u;
    ASSERT_TRUE(c.getDesignComments(t, d, tm, u));
    EXPECT_EQ(t, "y");
    EXPECT_TRUE(c.removeDesignComments());
    EXPECT_FALSE(c.getDesignComments(t, d, tm, u));
    EXPECT_FALSE(c.addPinComments("", "A", "x", "d", "t", "u"));
    c.addPinComments("U1", "A", "x", "d", "t", "u");
    EXPECT_TRUE(c.removePinComments("U1", "A"));
    EXPECT_FALSE(c.removePinComments("U1", "A"));

    CMatrixViewData* v = c.GetMatrixViewData();
    EXPECT_TRUE(v->CreateView("m"));
    EXPECT_FALSE(v->CreateView("m"));
    EXPECT_TRUE(v->RemoveView("m"));
    EXPECT_FALSE(v->RemoveView("m"));
    EXPECT_FALSE(v->HasView("m"));
}

TEST_F(CommentsTest, ViewModifiedMarkFollowsChanges) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CMatrixViewData* v = c.GetMatrixViewData();
    v->AddInstanceToMatrixView("m", "@U1");
    EXPECT_TRUE(v->IsViewModified("m"));
    v->SetMatrixViewModified("m", FALSE);
    EXPECT_FALSE(v->IsViewModified("m"));
    v->AddSignalToMatrixView("m", "@A");
    EXPECT_TRUE(v->IsViewModified("m"));
    EXPECT_FALSE(v->IsViewModified("unknown"));
}

// Two windows load one store: each tells from the revision it loaded whether the view changed since, also
// when the other window loaded it since and cleared the modified mark.
TEST_F(CommentsTest, EveryChangeOfAViewRenewsItsRevisionAndAPathIsListedOnce) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CMatrixViewData* v = c.GetMatrixViewData();
    EXPECT_EQ(v->ViewRevision("m"), 0u);
    v->AddInstanceToMatrixView("m", "@U1");
    const auto loaded = v->ViewRevision("m");
    EXPECT_NE(loaded, 0u);
    v->AddSignalToMatrixView("m", "@:A");
    v->SetMatrixViewModified("m", FALSE);
    const auto added = v->ViewRevision("m");
    EXPECT_NE(added, loaded);
    // A path the view lists already changes nothing.
    v->AddSignalToMatrixView("m", "@:A");
    v->AddInstanceToMatrixView("m", "@U1");
    EXPECT_EQ(v->ViewRevision("m"), added);
    EXPECT_FALSE(v->IsViewModified("m"));
    std::vector<CString> paths;
    v->GetMatrixSignalList("m", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@:A"});
    v->GetMatrixComponentList("m", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@U1"});
    // A view removed and made again under its name is another view.
    EXPECT_TRUE(v->RemoveView("m"));
    EXPECT_EQ(v->ViewRevision("m"), 0u);
    EXPECT_TRUE(v->CreateView("m"));
    EXPECT_NE(v->ViewRevision("m"), added);
    EXPECT_NE(v->ViewRevision("m"), loaded);
    const auto created = v->ViewRevision("m");
    EXPECT_TRUE(v->ReplaceView("m", "m", {}, {"@:B"}));
    EXPECT_NE(v->ViewRevision("m"), created);
}

TEST_F(CommentsTest, AViewIsPutBackInItsPlaceAndRenamedInPlaceWithItsContent) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CMatrixViewData* v = c.GetMatrixViewData();
    v->CreateView("a");
    v->CreateView("c");
    EXPECT_TRUE(v->InsertView(1, "b", {"@U1"}, {"@:A", "@:B<0>"}));
    EXPECT_FALSE(v->InsertView(0, "a", {}, {})); // taken
    EXPECT_FALSE(v->InsertView(0, "", {}, {}));
    EXPECT_TRUE(v->InsertView(99, "d", {}, {})); // past the end: appended
    std::vector<CString> names;
    v->GetViewNames(names);
    EXPECT_EQ(names, (std::vector<CString>{"a", "b", "c", "d"}));
    EXPECT_EQ(v->IndexOfView("c"), 2);
    EXPECT_EQ(v->IndexOfView("x"), -1);

    v->SetMatrixViewModified("b", FALSE);
    EXPECT_TRUE(v->ReplaceView("b", "bb", {"@J1"}, {"@:C"}));
    EXPECT_TRUE(v->IsViewModified("bb"));
    v->GetViewNames(names);
    EXPECT_EQ(names, (std::vector<CString>{"a", "bb", "c", "d"}));
    std::vector<CString> paths;
    v->GetMatrixComponentList("bb", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@J1"});
    v->GetMatrixSignalList("bb", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@:C"});
    // Another view's name, an empty one, or no such view: nothing changes.
    EXPECT_FALSE(v->ReplaceView("bb", "c", {}, {}));
    EXPECT_FALSE(v->ReplaceView("bb", "", {}, {}));
    EXPECT_FALSE(v->ReplaceView("zz", "y", {}, {}));
    v->GetMatrixComponentList("bb", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@J1"});
    // Its own name again is no clash.
    EXPECT_TRUE(v->ReplaceView("bb", "bb", {}, {}));
}

// A renamed net keeps its place in every view, as a net and bit by bit; a net whose name only begins
// with the old one is another net.
TEST_F(CommentsTest, ARenamedNetStaysInEveryViewUnderItsNewName) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CMatrixViewData* v = c.GetMatrixViewData();
    EXPECT_TRUE(v->InsertView(0, "a", {"@D"}, {"@:D<1>", "@:DQ<0>", "@:CLK", "@:D<0>", "@:D"}));
    EXPECT_TRUE(v->InsertView(1, "b", {}, {"@:CLK"}));
    v->SetMatrixViewModified("a", FALSE);
    const auto revision = v->ViewRevision("a");
    ASSERT_TRUE(c.saveComments());
    EXPECT_FALSE(c.IsModified());

    EXPECT_EQ(v->RenameNet("@:D", "@:DX"), 1);
    std::vector<CString> paths;
    v->GetMatrixSignalList("a", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@:DX<1>", "@:DQ<0>", "@:CLK", "@:DX<0>", "@:DX"}));
    v->GetMatrixComponentList("a", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@D"}); // an instance of that name is no net
    // The windows showing the view follow the rename themselves (nothing to load again); the file is to save.
    EXPECT_FALSE(v->IsViewModified("a"));
    EXPECT_EQ(v->ViewRevision("a"), revision);
    EXPECT_TRUE(c.IsModified());
    ASSERT_TRUE(c.saveComments());
    EXPECT_NE(readFile((m_dir / "board.TableEditor.notes").string()).find("S\t@:DX<1>\n"), std::string::npos);

    // Renamed back, everything is where it was; a net no view lists changes nothing.
    EXPECT_EQ(v->RenameNet("@:DX", "@:D"), 1);
    v->GetMatrixSignalList("a", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@:D<1>", "@:DQ<0>", "@:CLK", "@:D<0>", "@:D"}));
    EXPECT_EQ(v->RenameNet("@:EN", "@:EN2"), 0);
    EXPECT_EQ(v->RenameNet("@:CLK", "@:SYSCLK"), 2);
    v->GetMatrixSignalList("b", paths);
    EXPECT_EQ(paths, std::vector<CString>{"@:SYSCLK"});
    // A name a view listed already (a net gone since) is listed once, where it was first.
    EXPECT_EQ(v->RenameNet("@:DQ", "@:D"), 1);
    v->GetMatrixSignalList("a", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@:D<1>", "@:D<0>", "@:SYSCLK", "@:D"}));
    // An instance is renamed by its whole path, in place.
    EXPECT_TRUE(v->InsertView(2, "c", {"@U1", "@U10", "@D"}, {}));
    EXPECT_EQ(v->RenameInstance("@U1", "@U2"), 1);
    v->GetMatrixComponentList("c", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@U2", "@U10", "@D"}));
    EXPECT_EQ(v->RenameInstance("@D", "@U2"), 2);
    v->GetMatrixComponentList("c", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@U2", "@U10"}));
}

TEST_F(CommentsTest, CorruptFileIsRefusedWithItsLineAndLeavesAnEmptyStore) {
    const std::string file = (m_dir / "board.TableEditor.notes").string();
    const std::vector<std::pair<std::string, int>> bad = {
        {"something else\n", 1},
        {"KXNOTES 1\nP\tU1\tA\tonly three\n", 2},
        {"KXNOTES 1\nD\ta\tb\tc\td\nD\ta\tb\tc\td\n", 3},
        {"KXNOTES 1\nI\t@U1\n", 2},
        {"KXNOTES 1\nV\tm\nQ\tx\n", 3},
        {"KXNOTES 1\nP\tU1\tA\tbad\\q\td\tt\tu\n", 2},
        {"", 1},
    };
    for (const auto& [content, line] : bad) {
        { std::ofstream(file, std::ios::binary) << content; }
        CComments c("TableEditor", "board", 1.0);
        EXPECT_FALSE(c.loadComments(m_design.c_str())) << content;
        CString err = c.GetLastError();
        EXPECT_NE(err.Find(("line " + std::to_string(line)).c_str()), -1) << err.GetString();
        EXPECT_NE(err.Find("board.TableEditor.notes"), -1);
        EXPECT_EQ(c.GetPinCommentCount(), 0);
        // The refused file is left as it was, also when the store is saved afterwards: nothing is lost.
        c.addPinComments("U1", "A", "new", "d", "t", "u");
        EXPECT_FALSE(c.saveComments());
        EXPECT_NE(c.GetLastError().Find("not written over"), -1);
        EXPECT_EQ(readFile(file), content);
    }
}

TEST_F(CommentsTest, SaveReplacesTheFileWithoutLeavingTemporaries) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    c.addPinComments("U1", "A", "first", "d", "t", "u");
    ASSERT_TRUE(c.saveComments());
    c.addPinComments("U1", "A", "second", "d", "t", "u");
    ASSERT_TRUE(c.saveComments());
    int files = 0;
    for (const auto& e : fs::directory_iterator(m_dir)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_NE(readFile(c.GetFilePath().str()).find("second"), std::string::npos);
}

TEST_F(CommentsTest, SaveIntoAMissingFolderFailsClearly) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments((m_dir / "gone" / "board.tbl").string().c_str()));
    c.addPinComments("U1", "A", "x", "d", "t", "u");
    EXPECT_FALSE(c.saveComments());
    EXPECT_FALSE(c.GetLastError().IsEmpty());
    EXPECT_TRUE(c.IsModified());
}

TEST_F(CommentsTest, WithoutAPlaceCommentsStayInMemory) {
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments("work.board:sch")); // a design name, no folder
    EXPECT_TRUE(c.GetFilePath().IsEmpty());
    ASSERT_TRUE(c.loadComments(""));
    c.addPinComments("U1", "A", "x", "d", "t", "u");
    EXPECT_FALSE(c.saveComments());
    EXPECT_FALSE(c.GetLastError().IsEmpty());
    ASSERT_TRUE(c.saveComments(m_dir.string().c_str())); // a design folder given later
    EXPECT_TRUE(fs::exists(m_dir / "board.TableEditor.notes"));
}

TEST_F(CommentsTest, CellNameCannotEscapeTheFolder) {
    CComments c("TableEditor", "../evil", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    EXPECT_EQ(fs::path(c.GetFilePath().str()).parent_path(), m_dir);
}

} // namespace

// What a comment stores for the text given: printable text as given, Tcl's pair of surrogates as the
// character it stands for; a NUL (as Tcl passes it), a lone surrogate, a control or stray bytes refused.
TEST(CommentText, StoredAsGivenOrRefusedWithTheReason) {
    std::string stored;
    EXPECT_EQ(CComments::StoredText("a\tb\nc\r \xC3\xA9 \xE2\x82\xAC", stored), "");
    EXPECT_EQ(stored, "a\tb\nc\r \xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(CComments::StoredText("x\xED\xA0\xBD\xED\xB4\x8Cy", stored), ""); // U+1F50C as Tcl passes it
    EXPECT_EQ(stored, "x\xF0\x9F\x94\x8Cy");
    EXPECT_EQ(CComments::StoredText("x\xF0\x9F\x94\x8Cy", stored), "");
    EXPECT_EQ(stored, "x\xF0\x9F\x94\x8Cy");
    EXPECT_EQ(CComments::StoredText("ab\xC0\x80", stored), "a NUL character (U+0000) at character 3");
    EXPECT_EQ(CComments::StoredText("a\xED\xA0\x80z", stored), "a lone surrogate (U+D800) at character 2");
    EXPECT_EQ(CComments::StoredText("\xED\xB4\x8C", stored), "a lone surrogate (U+DD0C) at character 1");
    EXPECT_EQ(CComments::StoredText("\xC3\xA9\x1B[31m", stored),
              "a control character (U+001B) at character 2");
    EXPECT_EQ(CComments::StoredText("\x7F", stored), "a control character (U+007F) at character 1");
    EXPECT_EQ(CComments::StoredText("\xC2\x9B", stored), "a control character (U+009B) at character 1");
    EXPECT_EQ(CComments::StoredText("a\xFF", stored), "a byte that is no UTF-8 text (0xFF) at character 2");
    EXPECT_EQ(CComments::StoredText("\xE2\x82", stored),
              "a byte that is no UTF-8 text (0xE2) at character 1");
    EXPECT_EQ(CComments::StoredText("\xF4\x90\x80\x80", stored),
              "a byte that is no UTF-8 text (0xF4) at character 1");
}

// A store may hold text no road gives (read from a file of an older writer): the file still holds UTF-8
// text without controls, each such byte escaped, and reads back byte for byte.
TEST_F(CommentsTest, TextThatIsNoPrintableTextIsEscapedInTheFileAndReadBack) {
    const CString odd =
        std::string("nul\xC0\x80 sur\xED\xA0\x80 esc\x1B[31m del\x7F c1\xC2\x9B ff\xFF \xC3\xA9 \\x41");
    {
        CComments c("TableEditor", "board", 1.0);
        ASSERT_TRUE(c.loadComments(m_design.c_str()));
        ASSERT_TRUE(c.addPinComments("U1", "A", odd, "d", "t", "u"));
        ASSERT_TRUE(c.addDesignComments(odd, "d", "t", "u"));
        ASSERT_TRUE(c.saveComments());
    }
    const std::string file = readFile((m_dir / "board.TableEditor.notes").string());
    EXPECT_NE(
        file.find(
            "nul\\xc0\\x80 sur\\xed\\xa0\\x80 esc\\x1b[31m del\\x7f c1\\xc2\\x9b ff\\xff \xC3\xA9 \\\\x41"),
        std::string::npos)
        << file;
    std::string stored;
    for (char ch : file) // no control but the line feeds and field tabs, and every byte of a character
        EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 || ch == '\n' || ch == '\t') << file;
    EXPECT_EQ(CComments::StoredText(file, stored), "");
    CComments back("TableEditor", "board", 1.0);
    ASSERT_TRUE(back.loadComments(m_design.c_str()));
    CString t, d, tm, u;
    ASSERT_TRUE(back.getPinComments("U1", "A", t, d, tm, u));
    EXPECT_EQ(t.str(), odd.str());
    ASSERT_TRUE(back.getDesignComments(t, d, tm, u));
    EXPECT_EQ(t.str(), odd.str());
}

// A notes file of an older writer, with such bytes raw, still reads as it always did.
TEST_F(CommentsTest, AnOlderFileWithRawBytesStillReads) {
    std::ofstream((m_dir / "board.TableEditor.notes").string(), std::ios::binary)
        << "KXNOTES 1\nP\tU1\tA\tesc\x1B[1m nul\xC0\x80\td\tt\tu\n";
    CComments c("TableEditor", "board", 1.0);
    ASSERT_TRUE(c.loadComments(m_design.c_str()));
    CString t, d, tm, u;
    ASSERT_TRUE(c.getPinComments("U1", "A", t, d, tm, u));
    EXPECT_EQ(t.str(), "esc\x1B[1m nul\xC0\x80");
}
