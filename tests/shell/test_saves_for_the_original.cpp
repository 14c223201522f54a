// What a save leaves in the design's own files: the editable block's Save As leaves the original as it was
// read (its edits went to the new block); a save with nothing changed writes nothing, whatever form the
// files were written in by another hand; a save in context mode writes the parent and its blocks too.
#include "KXDemoBoard.h"
#include "KXHostFolder.h"

#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& path) {
    return fs::exists(path) ? kxhosttest::ReadFile(path) : std::string();
}

bool Holds(const fs::path& path, const std::string& text) {
    return FileText(path).find(text) != std::string::npos;
}

ino_t Inode(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class SavesForTheOriginal : public DemoBoard {
protected:
    fs::path Demo(const std::string& file) const { return m_dir / "demo" / file; }
    // The signal of U1's pin as `kx::netlist` gives it in the active window.
    std::string NetOfU1(const std::string& pin) {
        std::istringstream lines(Run("kx::netlist"));
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("U1 " + pin + " ", 0) == 0) return line.substr(line.rfind(' ') + 1);
        return {};
    }
    // The editable block connects U1's PGOOD to COPYSIG and notes a comment on it: both are for a copy.
    void EditForACopy() {
        ASSERT_TRUE(OpenBoard(1, kShowU1));
        ASSERT_EQ(Run("addConnection pin COPYSIG [list U1 PGOOD]"), "2"); // a plain name: its dialog answered
        ASSERT_EQ(Run("addComment pin {copy note} PGOOD"), "1");
        ASSERT_EQ(NetOfU1("PGOOD"), "COPYSIG");
    }
    // The copy holds the edits; the original's files and every window of it show the board as read.
    void ExpectCopyAndOriginalApart(const std::string& copy) {
        EXPECT_TRUE(Holds(Demo(copy + ".sch.design"), "conn U1 PGOOD COPYSIG"));
        EXPECT_TRUE(Holds(Demo(copy + ".TableEditor.notes"), "copy note"));
        EXPECT_EQ(NetOfU1("PGOOD"), "PG");
        EXPECT_FALSE(Doc()->IsModified());
    }
};

} // namespace

// Save As from the editable block, by the word, the automation method and the File Save that is a Save As
// there: the window's edits are in the new block; the window shows the original as read, and no later save
// of the original in place (mode 3, the physical view) writes the copy's connection or comment into it.
TEST_F(SavesForTheOriginal, ASaveAsFromTheEditableBlockLeavesTheOriginalAsRead) {
    const std::vector<std::pair<std::string, std::string>> roads = {
        {"board_revB", "saveDesignAs demo board_revB"},
        {"board_revC", "kx::call SaveBlockAs demo board_revC"},
        {"board_revD", "kx::answer dialog CKXCreateBlockDlg ok library demo block board_revD; saveDesign"},
    };
    const std::string design = FileText(Demo("board.sch.design"));
    for (const auto& [copy, road] : roads) {
        SCOPED_TRACE(road);
        EditForACopy();
        ASSERT_EQ(Run(road), "1") << Transcript();
        ExpectCopyAndOriginalApart(copy);
    }
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U2"));
    EXPECT_EQ(NetOfU1("PGOOD"), "PG");
    ASSERT_EQ(Run("addConnection pin OTHER [list U2 CLK]"), "2");
    ASSERT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_TRUE(Holds(Demo("board.sch.design"), "conn U1 PGOOD PG\n"));
    EXPECT_TRUE(Holds(Demo("board.sch.design"), "conn U2 CLK OTHER\n"));
    EXPECT_FALSE(Holds(Demo("board.sch.design"), "COPYSIG"));
    EXPECT_FALSE(Holds(Demo("board.TableEditor.notes"), "copy note"));
    ASSERT_TRUE(OpenBoard(4));
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-530"});
    EXPECT_NE(design, FileText(Demo("board.sch.design")));
}

// The taken-back steps can be redone in the window (they are in the design again, for another copy).
TEST_F(SavesForTheOriginal, TheTakenBackStepsCanBeRedone) {
    EditForACopy();
    ASSERT_EQ(Run("saveDesignAs demo board_revB"), "1");
    EXPECT_EQ(Run("redo; redo"), "1");
    EXPECT_EQ(NetOfU1("PGOOD"), "COPYSIG");
    EXPECT_TRUE(Doc()->IsModified());
}

// Another window built on the editable block's edits: they cannot be taken back from under it, so the
// Save As makes no block and says why; the design and both windows stay as they were.
TEST_F(SavesForTheOriginal, ASaveAsWhoseEditsAnotherWindowBuiltOnIsRefused) {
    EditForACopy();
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("addConnection pin OTHERSIG [list U1 PGOOD]"), "2") << Transcript();
    ASSERT_EQ(Run("kx::tab 1"), "1");
    Messages();
    EXPECT_EQ(Run("saveDesignAs demo board_revB"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-661"});
    EXPECT_FALSE(fs::exists(Demo("board_revB.sch.design")));
    EXPECT_EQ(NetOfU1("PGOOD"), "OTHERSIG");
}

// ------------------------------------------------------------------ files in another hand's form

namespace {

// The example library with one of its files rewritten by another hand before the host reads it.
class FilesOfAnotherForm : public SavesForTheOriginal {
public:
    using DemoBoard::OpenBoard;
    using KXShellFixture::Messages;
    using KXShellFixture::Run;
    using KXShellFixture::Transcript;
    using SavesForTheOriginal::Demo;
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        m_demo = KXCopyExampleLibrary(m_dir);
    }
    void Load() {
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(m_demo.c_str(), error)) << error.GetString();
    }
    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    fs::path m_demo;
};

std::string WithCrlf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

std::string WithBlankLine(const std::string& text) {
    return text + "\n";
}

std::string WithTwoRecordsSwapped(std::string text) {
    const std::string a = "conn U1 PGOOD PG\n", b = "conn U2 CLK MCLK\n";
    text.erase(text.find(a), a.size());
    return text.insert(text.find(b) + b.size(), a);
}

// The board's design file (and notes file, with CRLF ends) written in another form: a save with nothing
// changed says so and leaves both files alone (another host's later save of its own edits is then not
// refused as a conflict); a real edit is saved, in the writer's form.
void ExpectUnchangedSaveLeavesTheFormAlone(FilesOfAnotherForm& t, std::string (*form)(const std::string&)) {
    const fs::path design = t.Demo("board.sch.design"), notes = t.Demo("board.TableEditor.notes");
    const std::string text = form(FileText(design));
    const std::string note = "KXNOTES 1\r\nP\tU1\tMCLK\tcrlf note\t2023-11-14\t22:13:20\tunknown\r\n";
    t.Write(design, text);
    t.Write(notes, note);
    t.Load();
    ASSERT_TRUE(t.OpenBoard(3, kShowU1));
    t.Messages();
    EXPECT_EQ(t.Run("saveDesign"), "0");
    EXPECT_EQ(t.Messages(), std::vector<std::string>{"KXTABLE-530"});
    EXPECT_EQ(FileText(design), text);
    EXPECT_EQ(FileText(notes), note);
    ASSERT_EQ(t.Run("addConnection pin FROM_A PGOOD"), "2");
    ASSERT_EQ(t.Run("saveDesign"), "1") << t.Transcript();
    EXPECT_TRUE(Holds(design, "conn U1 PGOOD FROM_A\n"));
    EXPECT_FALSE(Holds(design, "\r"));
    EXPECT_EQ(FileText(notes), note);
}

} // namespace

TEST_F(FilesOfAnotherForm, CrlfLineEnds) {
    ExpectUnchangedSaveLeavesTheFormAlone(*this, WithCrlf);
}

TEST_F(FilesOfAnotherForm, ABlankLine) {
    ExpectUnchangedSaveLeavesTheFormAlone(*this, WithBlankLine);
}

TEST_F(FilesOfAnotherForm, RecordsInAnotherOrder) {
    ExpectUnchangedSaveLeavesTheFormAlone(*this, [](const std::string& text) { return WithTwoRecordsSwapped(text); });
}

// ------------------------------------------------------------------ context mode

// A block shown in its parent's context (open mode 2) saves the parent design too, and the parent's other
// windows then have nothing unsaved; with only the parent changed the save still writes it.
TEST_F(SavesForTheOriginal, ASaveInContextModeSavesTheParentToo) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("addConnection pin NEWNET [list U1 PGOOD]"), "2");
    ASSERT_EQ(Run("kx::open -block PWR1 3"), "1");
    ASSERT_EQ(Run("kx::show clp U10; addConnection pin EN3 [list U10 EN]"), "2") << Transcript();
    ASSERT_EQ(Run("kx::tab 1; kx::open -block PWR1 2"), "1");
    ASSERT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    Run("kx::answer dialog CKXDontAskAgainDlg ok dontAskAgain 1");
    EXPECT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_TRUE(Holds(Demo("PWR.sch.design"), "EN3"));
    EXPECT_TRUE(Holds(Demo("board.sch.design"), "conn U1 PGOOD NEWNET\n"));
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_FALSE(Doc()->IsModified());
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-530"});

    // Only the parent changed since: the block's save writes the parent.
    ASSERT_EQ(Run("addConnection pin NEWNET2 [list U1 PGOOD]"), "2");
    ASSERT_EQ(Run("kx::tab 3"), "1");
    ASSERT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    const ino_t block = Inode(Demo("PWR.sch.design"));
    EXPECT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_TRUE(Holds(Demo("board.sch.design"), "conn U1 PGOOD NEWNET2\n"));
    EXPECT_EQ(Inode(Demo("PWR.sch.design")), block);
}

// ------------------------------------------------------------------ replay

// The journal's Save As stands for the take-back too: replayed in a fresh host it makes the same block and
// leaves the original, and the window, as the session did (no question at the replay's end either).
TEST_F(KXShellFixture, ASaveAsFromTheEditableBlockReplaysToTheSameOriginal) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addConnection pin COPYSIG OUT"), "2") << Transcript();
    ASSERT_EQ(Run("addComment pin {copy note} OUT"), "1");
    ASSERT_EQ(Run("saveDesignAs work board_revB"), "1") << Transcript();
    const std::string session = Run("kx::netlist");
    EXPECT_EQ(session.find("COPYSIG"), std::string::npos) << session;
    EXPECT_NE(kxhosttest::ReadFile(m_lib / "board_revB.sch.design").find("COPYSIG"), std::string::npos);
    EXPECT_EQ(ReplayedSnapshot("saveas").find("COPYSIG"), std::string::npos);
}
