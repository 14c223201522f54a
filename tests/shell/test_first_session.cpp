// What a new user meets first on the example board, through the host as written in host/README.md:
// the progress lines, the answers of closing and of the menu, the menu's commands while a list has
// the keyboard, help for every word, and messages that name the true cause of a refusal.
#include "KXDemoBoard.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"

#include "grid/KXGridWnd.h"

#include "KXSanitizer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

class FirstSession : public DemoBoard {
protected:
    // The transcript's lines that begin with prefix.
    std::vector<std::string> LinesStarting(const std::string& prefix) const {
        std::vector<std::string> lines;
        std::istringstream in(Transcript());
        for (std::string line; std::getline(in, line);)
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        return lines;
    }
    bool Printed(const std::string& text) const { return Transcript().find(text) != std::string::npos; }
};

// One clean line per progress: the documented prefix, the title once, the step's text telling the work
// done through it, ending at 100%.
TEST_F(FirstSession, AConnectPrintsOneCleanProgressLine) {
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    const size_t before = LinesStarting("progress: ").size();
    ASSERT_EQ(Run("addConnection pin NEWPG"), "2");
    const std::vector<std::string> lines = LinesStarting("progress: ");
    ASSERT_EQ(lines.size(), before + 1) << Transcript();
    const std::string& line = lines.back();
    EXPECT_EQ(line.rfind("progress: Adding Connections: 100% of 1 Pins Processed 1 of 1 [", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 5), " 100%") << line;
    EXPECT_FALSE(Printed("Adding Connections: Adding Connections"));
}

// Closing answers 1 only when the window went: a cancelled save question keeps it and answers 0.
TEST_F(FirstSession, AClosedWindowAnswersOneAKeptOneZero) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("kx::edit ccp 41 7 NEWPG"), "1");
    Run("kx::answer question KXCOMMON-101 cancel");
    EXPECT_EQ(Run("kx::close"), "0");
    EXPECT_TRUE(Printed("close cancelled"));
    ASSERT_NE(Frame(), nullptr);
    Run("kx::answer question KXCOMMON-101 no");
    EXPECT_EQ(Run("kx::close"), "1");
    EXPECT_EQ(Frame(), nullptr);
}

// A command nothing handles is off: it answers 0, runs nothing and leaves the queued answers for the
// commands after it.
TEST_F(FirstSession, ACommandNothingHandlesAnswersZeroAndTakesNoAnswer) {
    ASSERT_TRUE(OpenBoard(1, "kx::show clp U1; selectWindow ccp"));
    EXPECT_EQ(Run("kx::menustate 35001"), "disabled");
    Run("kx::answer dialog CKXZoomDialog ok zoom 200");
    for (const char* id : {"35001", "99999", "0"})
        EXPECT_EQ(Run(std::string("kx::menu ") + id), "0") << id;
    // A word that is no number names no command: a usage error, not a disabled command.
    for (const char* word : {"undo", "-1", "12x"})
        EXPECT_EQ(Run(std::string("kx::menu ") + word).rfind("error: usage: kx::menu", 0), 0u) << word;
    EXPECT_EQ(Run("kx::menu 35093"), "1");
    EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 200);
}

// The pane's commands reach its active grid while a list has the keyboard, as the frame routes them:
// Zoom right after a show acts on the grid shown, as Undo and Delete do; with no grid shown it is off.
TEST_F(FirstSession, ZoomFromTheMenuActsOnThePanesGridWhileAListHasTheKeyboard) {
    ASSERT_TRUE(OpenBoard(1));
    EXPECT_EQ(Run("kx::menustate 35093"), "disabled");
    EXPECT_EQ(Run("kx::menu 35093"), "0");
    ASSERT_EQ(Run(kShowU1), "1");
    ASSERT_EQ(Run("kx::focus"), "clp");
    EXPECT_EQ(Run("kx::menustate 35093"), "enabled");
    const std::string widths = Run("kx::widths ccp");
    Run("kx::answer dialog CKXZoomDialog ok zoom 200");
    EXPECT_EQ(Run("kx::menu 35093"), "1");
    EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 200);
    EXPECT_NE(Run("kx::widths ccp"), widths);
    EXPECT_EQ(Run("kx::focus"), "clp");
}

// After Remove Matrix View from the list, the menu's Undo brings the view back as the word does.
TEST_F(FirstSession, AMenuUndoWhileTheListHasTheKeyboardTakesBackTheListsStep) {
    ASSERT_TRUE(OpenBoard(1));
    ASSERT_EQ(Run("openMatrixView pin V1"), "1");
    ASSERT_EQ(Run("kx::focus clp"), "1");
    ASSERT_EQ(Run("kx::menu 35678"), "1");
    ASSERT_EQ(Run("kx::menustate 35679"), "disabled");
    EXPECT_EQ(Run("kx::menustate 57643"), "enabled");
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Run("kx::menustate 35679"), "enabled");
    EXPECT_NE(Run("kx::window ccp").find("Matrix Connectivity View - V1"), std::string::npos);
}

// The pull-up dialog over several rows is all or nothing: one signal that refuses it refuses the command.
TEST_F(FirstSession, APullUpDialogRefusedOnOneOfSeveralRowsAnswersZero) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("kx::word selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    const DesignMark before = MarkDesign();
    Run("kx::select ccp 40 9 41 9"); // the Pull Up/Down cells of MCLK and PGOOD
    Run("kx::answer dialog CKXPupdDlg ok type pullup dcnet VCC3V3 value 10k");
    Messages();
    EXPECT_EQ(Run("kx::menu 35509"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"});
    ExpectUnchangedSince(before);
}

// Refusals that say why: the connect word in mode 0 names the mode, not the physical view; a
// read-only window's cell says it is read-only; an invalid name lists the characters a name takes.
TEST_F(FirstSession, RefusalsNameTheirTrueCause) {
    ASSERT_TRUE(OpenBoard(0, kPgoodSignalCell));
    EXPECT_EQ(Run("addConnection pin FOO"), "0");
    EXPECT_FALSE(Printed("Physical View"));
    EXPECT_TRUE(Printed("KXPANE-572: Nothing was connected: a window opened in mode 0"));
    ASSERT_TRUE(OpenBoard(2, kShowU1));
    EXPECT_EQ(Run("kx::edit ccp 41 7 FOO"), "0");
    EXPECT_TRUE(Printed("takes no typing: the window is read-only (open mode 2)"));
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    EXPECT_EQ(Run("addConnection pin {A@B}"), "0");
    EXPECT_TRUE(Printed("\"A@B\" is not a valid signal name: a name is made of letters, digits and \"_\""));
}

// Every word of the window and of the pane answers "-help" with its usage, with or without the object
// word, in a window where it could not otherwise act.
TEST_F(FirstSession, EveryWordAnswersHelpWithItsUsage) {
    ASSERT_TRUE(OpenBoard(2));
    std::vector<std::string> words;
    for (const auto& entry : Frame()->GetTclCommandMap())
        words.push_back(entry.first.str());
    for (const auto& entry : Ccp()->GetTclCommandMap())
        words.push_back(entry.first);
    ASSERT_GE(words.size(), 40u);
    for (const std::string& word : words)
        for (const char* object : {"", "pin "}) {
            Messages();
            const std::string line = "kx::word " + word + " " + object + "-help";
            EXPECT_EQ(Run(line), "1") << line;
            EXPECT_EQ(Messages().size(), 1u) << line;
        }
}

// What the host program prints when run with the given arguments (a shell command line's tail).
std::string HostOutput(const std::string& arguments) {
    struct Closer {
        void operator()(FILE* f) const { pclose(f); }
    };
    std::unique_ptr<FILE, Closer> pipe(popen((std::string(KXHOST_PATH) + " " + arguments).c_str(), "r"));
    if (!pipe) return {};
    std::string text;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe.get()))
        text += buffer.data();
    return text;
}

// kxhost --help lists the options and the open modes and points to the commands.
TEST(HostHelp, ListsTheOptionsTheModesAndWhereTheCommandsAre) {
    const std::string text = HostOutput("--help");
    for (const char* expected : {"--lib DIR", "--project FILE", "--journal FILE.vbs", "--replay FILE.vbs", "--quiet",
                                 "Open modes", "  3  ", "open it in mode 3", "host/README.md",
                                 "0  the logical view, view switching off: typed and pasted connections"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

// A fresh host asks for huge pages for its heap, so that a show of tens of thousands of rows does not
// fault its memory in a small page at a time (where the kernel has huge pages and the allocator is the
// C library's own).
TEST(HostHeap, AFreshHostBacksItsHeapWithHugePages) {
    if (kKXSanitizerAllocator) GTEST_SKIP() << "a sanitizer's allocator keeps a heap of its own";
    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage")) GTEST_SKIP() << "no huge pages here";
    const std::string script = testing::TempDir() + "/heap_flags.tcl";
    std::ofstream(script) << "set f [open /proc/self/smaps]\n"
                             "set heap 0\n"
                             "foreach line [split [read $f] \\n] {\n"
                             "    if {[regexp {^[0-9a-f]+-[0-9a-f]+ } $line]} { set heap [string match {*\\[heap\\]} $line] }\n"
                             "    if {$heap && [regexp {^VmFlags:.* hg} $line]} { puts {heap: huge pages} }\n"
                             "}\n";
    const std::string text = HostOutput("--quiet " + script);
    EXPECT_NE(text.find("heap: huge pages"), std::string::npos) << text;
}

// kx::window ccp gives one line a row: a bus cell whose bits are on differing signals (DQ's, once one bit is
// cleared) shows their names joined, the cleared bit's empty.
TEST_F(FirstSession, TheWindowReportKeepsEachRowOnOneLine) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    ASSERT_EQ(Run("expandPins pin on"), "1");
    ASSERT_EQ(Run("kx::edit ccp 24 7 {}"), "1");
    const std::string window = Run("kx::window ccp");
    std::istringstream lines(window);
    std::string line;
    std::getline(lines, line); // the title
    while (std::getline(lines, line))
        EXPECT_TRUE(line.rfind("  ", 0) == 0) << "a line that is no row: " << line;
    EXPECT_NE(window.find("| ,DQ<14>,DQ<13>,"), std::string::npos) << window;
}

} // namespace
