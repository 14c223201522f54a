// A save writes what changed and nothing else: a save with nothing to save writes no file and says so, so
// that another host's save is not refused for it; a refused save names a way to keep the edits that works
// in the window's open mode; a design comment goes with the block it was saved as.
#include "KXHostFolder.h"
#include "KXShellFixture.h"

#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SavesWhatChanged : public KXShellFixture {
protected:
    static std::string FileText(const fs::path& path) { return kxhosttest::ReadFile(path); }
    // The file's inode: a save puts a new file in place, a save that writes nothing leaves the old one.
    static ino_t Inode(const fs::path& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    // Another host that read the library as this one did (a child forked now) runs the script; true when
    // its last answer was the one expected and it was told only the messages expected.
    bool OtherHostRuns(const std::string& script, const std::string& answer,
                       const std::vector<std::string>& messages = {}) {
        const pid_t child = ::fork();
        if (child == 0) {
            Messages();
            const bool ok = Run(script) == answer && Messages() == messages;
            ::_exit(ok ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    fs::path DesignFile() const { return m_lib / "board.sch.design"; }
    fs::path NotesFile() const { return m_lib / "board.TableEditor.notes"; }
};

} // namespace

// A host saves with nothing changed: nothing is written (no empty notes file, the design file not put in
// place again), the save answers 0 with the message that there was nothing to save, and the other host's
// real save of the same design is not refused afterwards.
TEST_F(SavesWhatChanged, ASaveWithNothingChangedWritesNothingAndRefusesNoOtherSave) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("saveDesign"), "1"); // the design's file on disk, read by both hosts
    ASSERT_FALSE(fs::exists(NotesFile()));
    const ino_t design = Inode(DesignFile());
    EXPECT_TRUE(OtherHostRuns("saveDesign", "0", {"KXTABLE-530"}));
    EXPECT_FALSE(fs::exists(NotesFile()));
    EXPECT_EQ(Inode(DesignFile()), design);
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::call AddSignal FROM_A {} {}"), "1");
    ASSERT_EQ(Run("addComment pin {from A} OUT"), "1");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_TRUE(Messages().empty());
    EXPECT_NE(FileText(DesignFile()).find("net FROM_A "), std::string::npos);
    EXPECT_NE(FileText(NotesFile()).find("from A"), std::string::npos);
}

// What changed is written, and only that: a comment alone leaves the design file in place; a second save
// with nothing new writes nothing and leaves no save line in the journal.
TEST_F(SavesWhatChanged, ASaveWritesOnlyTheFileThatChanged) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("saveDesign"), "1");
    const ino_t design = Inode(DesignFile());
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {a note} OUT"), "1");
    EXPECT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(Inode(DesignFile()), design);
    const ino_t notes = Inode(NotesFile());
    ASSERT_NE(notes, 0u);
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-530"});
    EXPECT_EQ(Inode(NotesFile()), notes);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Run("kx::call Save InPlace"), "0");
    EXPECT_EQ(Inode(DesignFile()), design);
}

// A read-only window (open mode 2) saves its design in place: with nothing changed it writes neither the
// design file nor an empty notes file, and says so.
TEST_F(SavesWhatChanged, AReadOnlyWindowsSaveWithNothingChangedWritesNothing) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_EQ(Run("kx::answer question KXCOMMON-101 no; kx::close"), "1");
    const std::string before = FileText(DesignFile());
    const ino_t design = Inode(DesignFile());
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show clp U1");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-530"});
    EXPECT_EQ(Inode(DesignFile()), design);
    EXPECT_EQ(FileText(DesignFile()), before);
    EXPECT_FALSE(fs::exists(NotesFile()));
}

// Another host saved the design since: this host's save is refused, and its message names a way to keep
// the edits that this window's mode offers. In open mode 3, where Save As is refused, that way is the
// physical view's Save As, and it keeps every edit and comment.
TEST_F(SavesWhatChanged, ARefusedSaveInModeThreeNamesThePhysicalViewsSaveAsWhichKeepsTheWork) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_TRUE(OtherHostRuns("kx::call AddSignal FROM_A {} {}; saveDesign", "1"));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::call AddSignal FROM_B {} {}"), "1");
    ASSERT_EQ(Run("addComment pin {from B} OUT"), "1");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    EXPECT_NE(Transcript().find("kx::open work.board:sch 4"), std::string::npos) << Transcript();
    EXPECT_EQ(Run("saveDesignAs work bcopy"), "0"); // not this mode's way
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("saveDesignAs work bcopy"), "1") << Transcript();
    EXPECT_NE(FileText(m_lib / "bcopy.sch.design").find("net FROM_B "), std::string::npos);
    EXPECT_NE(FileText(m_lib / "bcopy.TableEditor.notes").find("from B"), std::string::npos);
}

// In the physical view, which saves under another name itself, the refusal names that save.
TEST_F(SavesWhatChanged, ARefusedSaveInThePhysicalViewNamesItsOwnSaveAs) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_TRUE(OtherHostRuns("kx::call AddSignal FROM_A {} {}; saveDesign", "1"));
    ASSERT_EQ(Run("kx::call AddSignal FROM_B {} {}"), "1");
    ASSERT_TRUE(Open("work.board:sch", 4));
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    const std::string said = Transcript();
    EXPECT_NE(said.find("File Save As"), std::string::npos) << said;
    EXPECT_EQ(said.find("open mode 4"), std::string::npos) << said;
    EXPECT_EQ(Run("kx::menustate 57604"), "enabled");
    ASSERT_EQ(Run("saveDesignAs work pcopy"), "1") << Transcript();
    EXPECT_NE(FileText(m_lib / "pcopy.sch.design").find("net FROM_B "), std::string::npos);
}

// A design comment written in the editable block and saved with its block under another name belongs to
// that block: a later save of the original design in place does not write it into the original's notes.
TEST_F(SavesWhatChanged, ADesignCommentGoesWithTheBlockItWasSavedAs) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_EQ(Run("designComment add {board rev B}"), "1");
    ASSERT_EQ(Run("saveDesignAs work board_revB"), "1");
    EXPECT_NE(FileText(m_lib / "board_revB.TableEditor.notes").find("board rev B"), std::string::npos);
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {pin note} OUT"), "1");
    ASSERT_EQ(Run("saveDesign"), "1") << Transcript();
    const std::string notes = FileText(NotesFile());
    EXPECT_NE(notes.find("pin note"), std::string::npos) << notes;
    EXPECT_EQ(notes.find("board rev B"), std::string::npos) << notes;
}
