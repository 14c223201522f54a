// Work that cannot be kept, and text that cannot be stored, are refused with their reason and leave
// everything as it was: a block filter whose file cannot be written, and comment text that is no
// printable text (a NUL, a lone surrogate, an escape sequence), on every road that sets it.
#include "KXHostFolder.h"
#include "KXDemoBoard.h"

#include "shell/KXShellIds.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxinstsigpane/KXListPanes.h"
#include "kxnotes/CComments.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RefusedInput : public DemoBoard {
protected:
    fs::path Library() const { return m_dir / "demo"; }
    static std::string FileText(const fs::path& file) { return kxhosttest::ReadFile(file); }
    // The pin comment of U1's pin, or "-" without one.
    std::string PinComment(const char* pin) {
        CString text, date, time, user;
        CComments* store = Doc() ? Doc()->GetComments() : nullptr;
        if (!store || !store->getPinComments("U1", pin, text, date, time, user)) return "-";
        return text.str();
    }
    std::string DesignComment() {
        CString text, date, time, user;
        CComments* store = Doc() ? Doc()->GetComments() : nullptr;
        if (!store || !store->getDesignComments(text, date, time, user)) return "-";
        return text.str();
    }
    // Runs each road and expects it refused with the message alone, changing nothing.
    void ExpectEachRefused(const std::vector<std::string>& roads, const std::string& answer, const char* id) {
        const std::string journal = JournalText();
        const bool modified = Doc()->IsModified();
        for (const std::string& road : roads) {
            Messages();
            EXPECT_EQ(Run(road), answer) << road;
            EXPECT_EQ(Messages(), std::vector<std::string>{id}) << road;
        }
        EXPECT_EQ(JournalText(), journal);
        EXPECT_EQ(Doc()->IsModified(), modified);
    }
};

// Tcl text with a NUL, a lone surrogate and an escape sequence, as a user may paste them.
const std::vector<std::string> kUnprintable = {"\"nulA[format %c 0]Bnul\"", "\"surA\\ud800Bsur\"",
                                               "\"escA[format %c 27]\\[31mBesc\"",
                                               "\"delA[format %c 127]Bdel\""};

} // namespace

// The filter lives in its file alone: one that cannot be written is not kept, so it is refused with the
// file system's reason, the view keeps the filter it had, and nothing is journalled. Once the file can be
// written, the same filter is taken.
TEST_F(RefusedInput, ABlockFilterWhoseFileCannotBeWrittenIsRefusedAndNotShown) {
    // A folder where the file's temporary goes: the file cannot be written (whoever runs the test).
    const fs::path blocker = Library() / ("physModule.dat.tmp" + std::to_string(::getpid()));
    fs::create_directories(blocker / "held");
    ASSERT_TRUE(OpenBoard(4));
    Messages();
    const std::vector<std::string> roads = {"filterBlock -exclude PWR1", "kx::call FilterBlock -exclude PWR1",
                                            "kx::answer dialog CKXDlgFilterPhys ok paths @PWR1; filterBlock"};
    ExpectEachRefused(roads, "0", "KXTABLE-540");
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);
    EXPECT_EQ(Slp()->GetBlockFilterList().GetCount(), 0);
    EXPECT_FALSE(fs::exists(Library() / "physModule.dat"));
    // The menu's dialog answers as the word it sends.
    Run("kx::answer dialog CKXDlgFilterPhys ok paths @PWR1");
    EXPECT_EQ(Run("kx::menu " + std::to_string(ID_KX_FILTER_BLOCK)), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-540"});
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);

    fs::remove_all(blocker);
    EXPECT_EQ(Run("filterBlock -exclude PWR1"), "1");
    EXPECT_EQ(FileText(Library() / "physModule.dat"), "@PWR1\n");
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 1);
}

// A filter already kept stays as it was, shown and in its file, when a change of it cannot be written.
TEST_F(RefusedInput, AKeptFilterStaysWhenItsChangeCannotBeWritten) {
    ASSERT_TRUE(OpenBoard(4));
    ASSERT_EQ(Run("filterBlock -exclude PWR1"), "1");
    const fs::path blocker = Library() / ("physModule.dat.tmp" + std::to_string(::getpid()));
    fs::create_directories(blocker / "held");
    Messages();
    EXPECT_EQ(Run("filterBlock -include all"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-540"});
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 1);
    EXPECT_EQ(FileText(Library() / "physModule.dat"), "@PWR1\n");
    fs::remove_all(blocker);
    EXPECT_EQ(Run("filterBlock -include all"), "1");
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);
}

// A read-only library folder: the same refusal.
TEST_F(RefusedInput, ABlockFilterInAReadOnlyLibraryIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop the superuser";
    ASSERT_TRUE(OpenBoard(4));
    ::chmod(Library().c_str(), 0555);
    Messages();
    EXPECT_EQ(Run("filterBlock -exclude PWR1"), "0");
    ::chmod(Library().c_str(), 0755);
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-540"});
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);
}

// A folder that takes the file's name is no filter file: said as the view opens, and the filter word
// neither takes it for an empty filter nor writes.
TEST_F(RefusedInput, AFolderNamedAsTheFilterFileIsSaid) {
    fs::create_directory(Library() / "physModule.dat");
    ASSERT_TRUE(OpenBoard(4));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-522"});
    EXPECT_EQ(Run("filterBlock -exclude PWR1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-522"});
    EXPECT_EQ(Clp()->GetBlockFilterList().GetCount(), 0);
    EXPECT_TRUE(fs::is_directory(Library() / "physModule.dat"));
}

// A pin comment is printable text: a NUL, a lone surrogate, an escape sequence or DEL is refused with the
// reason on the word, the pane's methods and the comment dialog, before anything is stored or journalled.
TEST_F(RefusedInput, APinCommentThatIsNoPrintableTextIsRefusedOnEveryRoad) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; selectObject pin PGOOD"));
    std::vector<std::string> roads;
    for (const std::string& text : kUnprintable) {
        roads.push_back("addComment pin " + text);
        roads.push_back("kx::pane InsertComment " + text);
        roads.push_back("kx::answer dialog CKXCommentsDlg ok text " + text + "; addComment pin {}");
    }
    ExpectEachRefused(roads, "0", "KXTABLE-542");
    EXPECT_EQ(PinComment("PGOOD"), "-");
    // An edit of a comment there is refused the same way, and the comment stays.
    ASSERT_EQ(Run("addComment pin kept"), "1");
    roads.clear();
    for (const std::string& text : kUnprintable) {
        roads.push_back("modifyComment pin " + text);
        roads.push_back("kx::pane EditComment " + text);
    }
    ExpectEachRefused(roads, "0", "KXTABLE-542");
    EXPECT_EQ(PinComment("PGOOD"), "kept");
}

// A pin comment of white space alone adds nothing: the word, the pane's method, the word's dialog and the
// menu's dialog say so, naming the text, rather than that the pins say it already.
TEST_F(RefusedInput, APinCommentOfWhiteSpaceAloneIsRefusedOnEveryRoad) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; selectObject pin PGOOD"));
    const int steps = Ccp()->GetUndoStepCount();
    std::vector<std::string> roads;
    for (const std::string text : {"{   }", "\"\\t \\n\""}) {
        roads.push_back("addComment pin " + text);
        roads.push_back("kx::pane InsertComment " + text);
        roads.push_back("kx::answer dialog CKXCommentsDlg ok text " + text + "; addComment pin {}");
        roads.push_back("kx::answer dialog CKXCommentsDlg ok text " + text + "; kx::menu 35555");
    }
    ExpectEachRefused(roads, "0", "KXPANE-564");
    EXPECT_EQ(PinComment("PGOOD"), "-");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // The pin takes a comment of text; a blank change of it is the delete it always was.
    ASSERT_EQ(Run("addComment pin {  kept  }"), "1");
    EXPECT_EQ(PinComment("PGOOD"), "kept");
    EXPECT_EQ(Run("modifyComment pin {   }"), "1");
    EXPECT_EQ(PinComment("PGOOD"), "-");
}

// The design comment takes the same check on its word and its methods.
TEST_F(RefusedInput, ADesignCommentThatIsNoPrintableTextIsRefusedOnEveryRoad) {
    ASSERT_TRUE(OpenBoard(1));
    std::vector<std::string> roads;
    for (const std::string& text : kUnprintable) {
        roads.push_back("designComment add " + text);
        roads.push_back("kx::call InsertComment " + text);
        roads.push_back("kx::answer dialog CKXCommentsDlg ok text " + text + "; designComment add");
    }
    ExpectEachRefused(roads, "0", "KXTABLE-542");
    EXPECT_EQ(DesignComment(), "-");
    ASSERT_EQ(Run("designComment add kept"), "1");
    roads.clear();
    for (const std::string& text : kUnprintable) {
        roads.push_back("designComment edit " + text);
        roads.push_back("kx::call EditComment " + text);
    }
    ExpectEachRefused(roads, "0", "KXTABLE-542");
    EXPECT_EQ(DesignComment(), "kept");
}

// Tabs, line breaks and any printable character reach the notes file as valid UTF-8 and read back as typed
// (a character beyond U+FFFF, which Tcl passes as a pair of surrogates, as that character).
TEST_F(RefusedInput, PrintableCommentsReadBackAsTyped) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; selectObject pin PGOOD"));
    const std::string typed = "a\tb\nc \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x8C \\ end";
    ASSERT_EQ(Run("addComment pin \"a\\tb\\nc \\u00e9 \\u20ac \\ud83d\\udd0c \\\\ end\""), "1");
    EXPECT_EQ(PinComment("PGOOD"), typed);
    ASSERT_EQ(Run("saveDesign"), "1");
    const std::string notes = FileText(Library() / "board.TableEditor.notes");
    EXPECT_NE(notes.find("a\\tb\\nc \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x8C \\\\ end"), std::string::npos)
        << notes;
    ASSERT_EQ(Run("closeDesign -nosave"), "1");
    ASSERT_TRUE(OpenBoard(3));
    EXPECT_EQ(PinComment("PGOOD"), typed);
}
