// A design and its notes are saved together: a save killed at any moment leaves, at the next open of the
// library, both files of one save, and nothing of the killed save's temporaries.
#include "KXHostFolder.h"
#include "KXShellFixture.h"

#include "afx/afxfile.h"
#include "afx/afxwin.h"
#include "rmx/server.h"
#include "shell/KXTableDoc.h"

#include "kxnotes/CComments.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SavesTogether : public KXShellFixture {
protected:
    static std::string FileText(const fs::path& path) { return kxhosttest::ReadFile(path); }
    // The newest save's mark of each file: the last GEN net the design holds and the text of U1.OUT's
    // comment ("-" for none; a save made by a try holds its own marks only).
    std::string DesignMark() {
        std::istringstream in(FileText(m_lib / "board.sch.design"));
        std::string mark = "-";
        int newest = -1;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("net GEN_", 0) != 0) continue;
            const std::string name = line.substr(4, line.find(' ', 4) - 4);
            const int gen = std::stoi(name.substr(name.rfind('_') + 1));
            if (gen > newest) newest = gen, mark = name;
        }
        return mark;
    }
    std::string NotesMark() {
        std::istringstream in(FileText(m_lib / "board.TableEditor.notes"));
        for (std::string line; std::getline(in, line);)
            if (line.rfind("P\tU1\tOUT\t", 0) == 0) {
                const std::string rest = line.substr(9);
                return rest.substr(0, rest.find('\t'));
            }
        return "-";
    }
    // What the next open of the library finds: it reads the library (finishing or clearing a killed
    // save first); the names left beside the library's files.
    std::vector<std::string> OpenAgainAndListLeftovers() {
        IServer later;
        CString error;
        EXPECT_TRUE(later.loadLibrary(m_lib.c_str(), error)) << error.str();
        std::vector<std::string> left;
        std::error_code ec;
        for (fs::directory_iterator it(m_lib, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.find(".tmp") != std::string::npos || name.rfind(".kxbatch", 0) == 0) left.push_back(name);
        }
        return left;
    }
    // In a child process: saves the design and its notes again and again, each save with marks of its own.
    [[noreturn]] void SaveForever(int attempt) {
        for (int gen = 1;; ++gen) {
            const std::string mark = "GEN_" + std::to_string(attempt) + "_" + std::to_string(gen);
            Run("kx::call AddSignal " + mark + " {} {}");
            Run((gen == 1 ? "addComment pin " : "modifyComment pin ") + mark + " OUT");
            Run("saveDesign");
        }
    }
};

} // namespace

// kill -9 at a random moment of a run of saves, 25 times: the design and the notes always come from one
// save, and the next open leaves no temporary or record behind.
TEST_F(SavesTogether, ASaveKilledAtAnyMomentLeavesBothFilesOfOneSave) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("saveDesign"), "1"); // the library is on disk before the first child saves
    // Each child saves over the files as this process left them: they are put back after each try, so that
    // no child finds a file another child saved since it was read (that save would be refused).
    const std::string savedDesign = FileText(m_lib / "board.sch.design");
    const std::string savedNotes = FileText(m_lib / "board.TableEditor.notes");
    std::mt19937 rng(20261208);
    for (int attempt = 1; attempt <= 25; ++attempt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(attempt);
        ::usleep(std::uniform_int_distribution<useconds_t>(2000, 60000)(rng));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << attempt;
        EXPECT_TRUE(OpenAgainAndListLeftovers().empty()) << attempt;
        EXPECT_EQ(DesignMark(), NotesMark()) << attempt;
        std::ofstream(m_lib / "board.sch.design", std::ios::binary) << savedDesign;
        std::ofstream(m_lib / "board.TableEditor.notes", std::ios::binary) << savedNotes;
    }
}

// The worst moment, made sure of: the process dies right after the design is in place and before its
// notes are. The next open puts the notes of that save in place too.
TEST_F(SavesTogether, ASaveKilledBetweenItsFilesIsFinishedAtTheNextOpen) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    Run("kx::call AddSignal GEN_0_1 {} {}; addComment pin GEN_0_1 OUT");
    ASSERT_EQ(Run("saveDesign"), "1");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AfxFileBatch::SetRenameObserver([](const std::string&) { ::raise(SIGKILL); });
        Run("kx::call AddSignal GEN_0_2 {} {}; modifyComment pin GEN_0_2 OUT; saveDesign");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(OpenAgainAndListLeftovers().empty());
    EXPECT_EQ(DesignMark(), "GEN_0_2");
    EXPECT_EQ(NotesMark(), "GEN_0_2");
}

// A save whose notes cannot be written leaves the design file as it was too.
TEST_F(SavesTogether, ASaveWhoseNotesFailWritesNeitherFile) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    Run("kx::call AddSignal GEN_0_1 {} {}; addComment pin GEN_0_1 OUT");
    ASSERT_EQ(Run("saveDesign"), "1");
    const std::string before = FileText(m_lib / "board.sch.design");
    Run("kx::call AddSignal GEN_0_2 {} {}; modifyComment pin GEN_0_2 OUT");
    // A folder where the notes go: they cannot be written.
    std::error_code ec;
    fs::remove(m_lib / "board.TableEditor.notes", ec);
    fs::create_directories(m_lib / "board.TableEditor.notes", ec);
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(FileText(m_lib / "board.sch.design"), before);
    EXPECT_EQ(DesignMark(), "GEN_0_1");
    EXPECT_TRUE(OpenAgainAndListLeftovers().empty());
}

// The windows of a design share one store of comments and matrix views: a save from any of them, the
// physical view's too (which shows no comments), writes the design and that store together.
TEST_F(SavesTogether, ASaveFromThePhysicalViewWritesTheSharedCommentsAndViews) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {logical comment} OUT"), "1");
    ASSERT_EQ(Run("kx::call AddSignal NET_L {} {}"), "1");
    ASSERT_EQ(Run("openMatrixView pin VIEW_L"), "1");
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_EQ(NotesMark(), "logical comment");
    EXPECT_NE(FileText(m_lib / "board.TableEditor.notes").find("V\tVIEW_L\n"), std::string::npos);
    EXPECT_NE(FileText(m_lib / "board.sch.design").find("net NET_L "), std::string::npos);
}

TEST_F(SavesTogether, ASaveBeforeSwitchingFromThePhysicalViewWritesTheSharedComments) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::tab 1"), "1");
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {logical comment} OUT"), "1");
    ASSERT_EQ(Run("kx::call AddSignal NET_L {} {}"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Run("kx::answer question KXCOMMON-101 yes");
    ASSERT_EQ(Run("logicalView -prompt"), "1") << Transcript();
    EXPECT_EQ(NotesMark(), "logical comment") << Transcript();
}

// A Save As writes the design and its comments and matrix views under the new name, together: the new
// block opens with them. In open mode 1 every save is a Save As.
TEST_F(SavesTogether, ASaveAsTakesTheCommentsAndViewsToTheNewBlock) {
    for (const std::string& save : {std::string("saveDesignAs work pcopy"),
                                    std::string("kx::answer dialog CKXCreateBlockDlg ok library work block qcopy; "
                                                "saveDesign")}) {
        const std::string block = save.find("pcopy") != std::string::npos ? "pcopy" : "qcopy";
        ASSERT_TRUE(Open("work.board:sch", 1));
        ASSERT_EQ(Run("designComment add {plain comment}"), "1");
        Run("kx::show clp U1");
        ASSERT_EQ(Run("addComment pin {plain pin note} OUT"), "1");
        ASSERT_EQ(Run("openMatrixView pin VIEW_S"), "1");
        ASSERT_EQ(Run(save), "1") << Transcript();
        ASSERT_TRUE(fs::exists(m_lib / (block + ".sch.design")));
        const std::string notes = FileText(m_lib / (block + ".TableEditor.notes"));
        EXPECT_NE(notes.find("P\tU1\tOUT\tplain pin note\t"), std::string::npos) << notes;
        EXPECT_NE(notes.find("V\tVIEW_S\n"), std::string::npos) << notes;
        ASSERT_TRUE(Open("work." + block + ":sch", 3));
        CString text, date, time, user;
        ASSERT_TRUE(Doc()->GetComments()->getDesignComments(text, date, time, user)) << block;
        EXPECT_EQ(text, CString("plain comment"));
        EXPECT_TRUE(Doc()->GetComments()->getPinComments("U1", "OUT", text, date, time, user)) << block;
        // The design's own notes are not written by a Save As.
        EXPECT_FALSE(fs::exists(m_lib / "board.TableEditor.notes"));
        Run("kx::answer question KXCOMMON-101 no; kx::close");
        Run("kx::answer question KXCOMMON-101 no; kx::close");
    }
}

// Two processes on one library: a save that would write over what the other process saved since this one
// read the files is refused with a message that says so, and both files stay as the other saved them.
TEST_F(SavesTogether, ASecondProcessNeverWritesOverTheOthersSave) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("saveDesign"), "1");
    // The other process read the same files (it is forked from this one) and saves its own work.
    auto otherSaves = [this](const std::string& edits) {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(Run(edits + "; saveDesign") == "1" ? 0 : 1);
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    ASSERT_TRUE(otherSaves("kx::call AddSignal GEN_1_1 {} {}; addComment pin GEN_1_1 OUT"));
    const std::string design = FileText(m_lib / "board.sch.design"), notes = FileText(m_lib / "board.TableEditor.notes");
    Run("kx::call AddSignal GEN_2_1 {} {}; addComment pin GEN_2_1 OUT");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    EXPECT_NE(Transcript().find("changed on disk"), std::string::npos) << Transcript();
    EXPECT_EQ(FileText(m_lib / "board.sch.design"), design);
    EXPECT_EQ(FileText(m_lib / "board.TableEditor.notes"), notes);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(OpenAgainAndListLeftovers().empty());
}

// The notes alone: the other process saved a comment only (its design file the same bytes); this process's
// comment does not replace it.
TEST_F(SavesTogether, ASecondProcessNeverWritesOverTheOthersComments) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::call AddSignal GEN_0_1 {} {}"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const pid_t child = ::fork();
    if (child == 0) ::_exit(Run("addComment pin theirs OUT; saveDesign") == "1" ? 0 : 1);
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(NotesMark(), "theirs");
    ASSERT_EQ(Run("addComment pin mine OUT"), "1");
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(NotesMark(), "theirs");
    EXPECT_EQ(DesignMark(), "GEN_0_1");
}
