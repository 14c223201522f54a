// kxhost run as a user runs it: its own process, a fresh copy of the example library, an empty
// registry, the C locale; what it prints and the files it writes.
#include "KXHostFolder.h"
#include "KXSanitizer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using kxhosttest::ReadFile;

class HostProcess : public kxhosttest::HostFolder {
protected:
    HostProcess() : HostFolder("host_process_") {}

    // Runs the host under the C locale on the library copy with `script` (a file, or standard input
    // when fromStdin), its address space limited to limitKb when given; what it printed, both streams.
    std::string Host(const std::string& script, bool fromStdin = false, long limitKb = 0,
                     const std::string& options = "") {
        const fs::path file = m_dir / "script.tcl";
        std::ofstream(file, std::ios::binary) << script;
        std::string command = "cd '" + m_dir.string() + "' && ";
        if (limitKb > 0) command += "ulimit -v " + std::to_string(limitKb) + " && ";
        command += "LANG=C LC_ALL=C KX_REGISTRY_DIR='" + (m_dir / "registry").string() + "' " + KXHOST_PATH +
                   " --lib demo " + options + (options.empty() ? "" : " ") + (fromStdin ? "< " : "") +
                   "script.tcl 2>&1";
        struct Closer {
            void operator()(FILE* f) const { pclose(f); }
        };
        std::unique_ptr<FILE, Closer> pipe(popen(command.c_str(), "r"));
        if (!pipe) return {};
        std::string text;
        std::array<char, 4096> buffer{};
        while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get()))
            text.append(buffer.data(), n);
        return text;
    }
    // The address space the host takes by itself, in KB; 0 when it could not be read.
    long HostPeakKb() {
        const std::string out = Host("set f [open /proc/self/status]\n"
                                     "regexp {VmPeak:\\s+(\\d+)} [read $f] -> peak\n"
                                     "puts \"peak: $peak\"\n");
        const size_t at = out.find("peak: ");
        return at == std::string::npos ? 0 : std::stol(out.substr(at + 6));
    }
};

// Text typed in a script or on standard input is UTF-8 whatever the locale: the editor, the files it
// writes and the script itself see it as typed, byte for byte.
TEST_F(HostProcess, TextReachesTheEditorAndItsFilesAsTyped) {
    const std::string comment = "x \xc3\xa9 \xe4\xb8\xad\xe6\x96\x87";  // "x é 中文"
    const std::string name = "\xc3\xa9\xe4\xb8\xad";                       // "é中"
    for (bool fromStdin : {false, true}) {
        SCOPED_TRACE(fromStdin ? "standard input" : "script file");
        SetUp();
        const std::string out = Host("kx::open demo.board:sch 3\n"
                                     "kx::show clp U1\n"
                                     "puts \"comment: [addComment pin \"" + comment + "\" MCLK]\"\n"
                                     "puts \"window: [string match {*" + comment + "*} [kx::window ccp]]\"\n"
                                     "puts \"length: [string length {" + comment + "}]\"\n"
                                     "addConnection pin \"" + name + "\" PGOOD\n"
                                     "puts \"saved: [saveDesign]\"\n",
                                     fromStdin);
        EXPECT_NE(out.find("comment: 1"), std::string::npos) << out;
        EXPECT_NE(out.find("window: 1"), std::string::npos) << out;
        EXPECT_NE(out.find("length: 6"), std::string::npos) << out;
        EXPECT_NE(out.find("\"" + name + "\" is not a valid signal name"), std::string::npos) << out;
        EXPECT_NE(out.find("saved: 1"), std::string::npos) << out;
        const std::string notes = ReadFile(m_dir / "demo" / "board.TableEditor.notes");
        EXPECT_NE(notes.find(comment), std::string::npos) << notes;
        EXPECT_EQ(notes.find("\xc3\x83"), std::string::npos) << notes;  // no text encoded twice
    }
}

// Opening a design prints no note about a word the host itself routes (selectObject is reached as a
// Tcl command of the host, and works).
TEST_F(HostProcess, OpeningADesignNotesNoWordTheHostRoutes) {
    const std::string out = Host("kx::open demo.board:sch 3\nkx::open demo.board:sch 3\n"
                                 "kx::show clp U1\nputs \"select: [selectObject pin U1:MCLK]\"\n");
    EXPECT_EQ(out.find("hides no Tcl command"), std::string::npos) << out;
    EXPECT_NE(out.find("select: 1"), std::string::npos) << out;
}

// A bus costs what its used bits cost: a small file of very wide nets opens, and saves, in a small
// address space; cancelled bit dialogs on a very wide name keep nothing, and typed wide names fit.
TEST_F(HostProcess, WideNetsCostWhatTheirUsedBitsCost) {
    if (kKXSanitizerAllocator) GTEST_SKIP() << "a sanitizer reserves more address space than the limit";
    constexpr long kLimitKb = 600 * 1024;
    // Measured with no limit first: the limit leaves room for the host itself.
    const long peak = HostPeakKb();
    ASSERT_GT(peak, 0);
    if (peak > kLimitKb - 200 * 1024) GTEST_SKIP() << "the host alone is near the limit";

    const fs::path design = m_dir / "demo" / "board.sch.design";
    std::string text = ReadFile(design);
    std::string nets;
    for (int n = 0; n < 200; ++n) nets += "net BIG" + std::to_string(n) + " 65535 0 0 unknown\n";
    text.insert(text.find("net "), nets);
    std::ofstream(design, std::ios::binary) << text;

    const std::string out = Host("puts \"open: [kx::open demo.board:sch 3]\"\n"
                                 "kx::show clp U1\n"
                                 "kx::select ccp 41 7\n"
                                 "set cancelled 0\n"
                                 "for {set i 0} {$i < 60} {incr i} {\n"
                                 "    kx::answer dialog CKXGetVectorBits cancel\n"
                                 "    if {[addConnection pin {V<65535..0>} PGOOD] == 2} {incr cancelled}\n"
                                 "}\n"
                                 "puts \"cancelled: $cancelled\"\n"
                                 "for {set i 0} {$i < 3} {incr i} {\n"
                                 "    addConnection pin \"W$i<65535>\" PGOOD\n"
                                 "    addConnection pin \"W$i<0>\" RST_N\n"
                                 "}\n"
                                 "puts \"saved: [saveDesign]\"\n",
                                 false, kLimitKb);
    EXPECT_NE(out.find("open: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("cancelled: 60"), std::string::npos) << out;
    EXPECT_NE(out.find("saved: 1"), std::string::npos) << out;
    EXPECT_EQ(out.find("bad_alloc"), std::string::npos) << out;
    const std::string saved = ReadFile(design);
    EXPECT_NE(saved.find("net BIG199 65535 0 0 unknown"), std::string::npos);
    EXPECT_NE(saved.find("net W2 65535 0 0 unknown"), std::string::npos);
    // What was saved opens again in as little.
    const std::string again = Host("puts \"open: [kx::open demo.board:sch 3]\"\n", false, kLimitKb);
    EXPECT_NE(again.find("open: 1"), std::string::npos) << again;
}

// Wide buses typed in a session cost what their bits hold, as wide buses read from a file do: the
// object window lists every bit of a net made in the session without keeping a row apiece.
TEST_F(HostProcess, TypedWideBusesCostWhatTheirUsedBitsCost) {
    if (kKXSanitizerAllocator) GTEST_SKIP() << "a sanitizer reserves more address space than the limit";
    const long peak = HostPeakKb();
    ASSERT_GT(peak, 0);
    const long limitKb = peak + 120 * 1024; // thirty buses of 65,536 bits once took some 640 MB
    const std::string out = Host("puts \"open: [kx::open demo.board:sch 3]\"\n"
                                 "kx::show clp U1\n"
                                 "for {set i 0} {$i < 30} {incr i} {\n"
                                 "    addConnection pin \"W$i<65535>\" PGOOD\n"
                                 "    addConnection pin \"W$i<0>\" RST_N\n"
                                 "}\n"
                                 "kx::show slp W29<40000>\n"
                                 "puts \"shown: [string match {*W29<40000>*} [kx::window ccp]]\"\n"
                                 "puts \"saved: [saveDesign]\"\n",
                                 false, limitKb);
    EXPECT_NE(out.find("open: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("shown: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("saved: 1"), std::string::npos) << out;
    EXPECT_EQ(out.find("bad_alloc"), std::string::npos) << out;
    const std::string saved = ReadFile(m_dir / "demo" / "board.sch.design");
    EXPECT_NE(saved.find("net W29 65535 0 0 unknown"), std::string::npos);
}

// A journal replayed without a script goes on with the commands of standard input, as --help says.
TEST_F(HostProcess, AReplayWithoutAScriptReadsStandardInput) {
    const fs::path journal =
        fs::path(testing::TempDir()) / ("stdin_replay_" + std::to_string(::getpid()) + ".vbs");
    Host("kx::open demo.board:sch 3\nkx::show clp U1\naddComment pin hello PGOOD\n", false, 0,
         "--journal '" + journal.string() + "'");
    SetUp();
    const std::string out = Host("puts \"after the replay: [llength [kx::history]]\"\n", true, 0,
                                 "--replay '" + journal.string() + "'");
    fs::remove(journal);
    EXPECT_NE(out.find("after the replay: "), std::string::npos) << out;
}

// In the editable block a save is a Save As: the journal holds the block it made, and nothing the replay
// would refuse (a plain Save() there is another Save As, whose dialog no replay answers).
TEST_F(HostProcess, ASaveAsTheEditableBlockReplaysAsTheBlockItMade) {
    const fs::path journal =
        fs::path(testing::TempDir()) / ("save_as_" + std::to_string(::getpid()) + ".vbs");
    const std::string recorded =
        Host("kx::open demo.board:sch 1\nkx::show clp U1\naddComment pin hello PGOOD\n"
             "kx::answer dialog CKXCreateBlockDlg ok library demo block board_as\n"
             "puts \"saved: [saveDesign]\"\n",
             false, 0, "--journal '" + journal.string() + "'");
    EXPECT_NE(recorded.find("saved: 1"), std::string::npos) << recorded;
    const std::string lines = ReadFile(journal);
    EXPECT_NE(lines.find(".SaveBlockAs(\"demo\",\"board_as\")"), std::string::npos) << lines;
    EXPECT_EQ(lines.find(".Save()"), std::string::npos) << lines;
    SetUp();
    const std::string replayed = Host("", false, 0, "--replay '" + journal.string() + "'");
    fs::remove(journal);
    EXPECT_EQ(replayed.find("KXTABLE-383"), std::string::npos) << replayed;
    EXPECT_TRUE(fs::exists(m_dir / "demo" / "board_as.sch.design")) << replayed;
}

// A plain save of the editable block whose Save As is not answered saves nothing and journals nothing;
// the refused close and the view switch (which saves in place) after it replay as they went: the replay
// asks no save it cannot answer and writes the design as the session did.
TEST_F(HostProcess, AnUnansweredSaveOfTheEditableBlockThenACloseAndASwitchReplay) {
    const fs::path journal =
        fs::path(testing::TempDir()) / ("unanswered_save_" + std::to_string(::getpid()) + ".vbs");
    const std::string recorded =
        Host("kx::open demo.PWR:sch 1\nkx::call AddSignal ZZ1 {} {}\n"
             "puts \"saved: [saveDesign]\"\nputs \"closed: [kx::close]\"\n"
             "puts \"switched: [physicalView -save]\"\n",
             false, 0, "--journal '" + journal.string() + "'");
    EXPECT_NE(recorded.find("saved: 0"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("closed: 0"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("switched: 1"), std::string::npos) << recorded;
    const std::string lines = ReadFile(journal);
    EXPECT_EQ(lines.find(".Save()"), std::string::npos) << lines;
    SetUp();
    const std::string replayed = Host("", false, 0, "--replay '" + journal.string() + "'");
    fs::remove(journal);
    EXPECT_EQ(replayed.find("KXTABLE-383"), std::string::npos) << replayed;
    EXPECT_NE(ReadFile(m_dir / "demo" / "PWR.sch.design").find("ZZ1"), std::string::npos) << replayed;
}

}  // namespace
