// What kxhost leaves to the one who ran it once it ends: its exit status and standard error after a
// save that failed, and the settings the next host reads.
#include "KXHostFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

using kxhosttest::ReadFile;

class HostExit : public kxhosttest::HostFolder {
protected:
    HostExit() : HostFolder("host_exit_") {}

    struct Ended {
        int status = -1;
        std::string out, err;
    };
    // Runs the host on the library copy with script, with --quiet as a batch run does unless told.
    Ended Host(const std::string& script, bool quiet = true) {
        std::ofstream(m_dir / "script.tcl", std::ios::binary) << script;
        const std::string command = "cd '" + m_dir.string() + "' && KX_REGISTRY_DIR='" +
                                    (m_dir / "registry").string() + "' " + KXHOST_PATH +
                                    (quiet ? " --quiet" : "") + " --lib demo script.tcl > out.txt 2> err.txt < /dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(m_dir / "out.txt"), ReadFile(m_dir / "err.txt")};
    }
};

} // namespace

// A save that fails (its notes cannot be written: a folder made where they go) is said on standard error
// under --quiet too, and the host that ends with it exits non-zero; a later save that works makes it good.
TEST_F(HostExit, AFailedSaveIsSaidOnStandardErrorAndInTheExitStatus) {
    const std::string edit = "kx::open demo.board:sch 3\nkx::show clp U1\naddComment pin {a note} PGOOD\n"
                             "file mkdir demo/board.TableEditor.notes\nputs \"save: [saveDesign]\"\n";
    const Ended failed = Host(edit);
    EXPECT_NE(failed.status, 0);
    EXPECT_NE(failed.out.find("save: 0"), std::string::npos) << failed.out;
    EXPECT_NE(failed.err.find("demo.board:sch not saved: "), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("board.TableEditor.notes"), std::string::npos) << failed.err;

    // Each run on a fresh copy of the library.
    TearDown();
    SetUp();
    const Ended madeGood = Host(edit + "file delete demo/board.TableEditor.notes\nputs \"again: [saveDesign]\"\n");
    EXPECT_EQ(madeGood.status, 0) << madeGood.err;
    EXPECT_NE(madeGood.out.find("again: 1"), std::string::npos) << madeGood.out;
    EXPECT_NE(ReadFile(m_dir / "demo" / "board.TableEditor.notes").find("a note"), std::string::npos);

    // A Save As refused (the block exists) is a failed save too.
    TearDown();
    SetUp();
    const Ended refused = Host("kx::open demo.board:sch 1\nkx::show clp U1\naddComment pin {a note} PGOOD\n"
                               "saveDesignAs demo board\n");
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("not saved"), std::string::npos) << refused.err;
}

// A design that does not load (a line its reader refuses) and a name the library lacks, opened by a batch run
// under --quiet: each open answers 0 and is said on standard error, naming the file and line that was
// refused, and the run exits non-zero; a run whose opens all work exits 0.
TEST_F(HostExit, AFailedOpenIsSaidOnStandardErrorAndInTheExitStatus) {
    const fs::path design = m_dir / "demo" / "board.sch.design";
    std::string text = ReadFile(design);
    std::size_t at = 0;
    for (int line = 1; line < 31 && at != std::string::npos; ++line) at = text.find('\n', at) + 1;
    ASSERT_NE(at, std::string::npos);
    text.insert(at, "conn U1 PGOOD\n");
    std::ofstream(design, std::ios::binary) << text;
    const Ended bad = Host("puts \"open: [kx::open demo.board:sch 3]\"\n");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.out.find("open: 0"), std::string::npos) << bad.out;
    EXPECT_NE(bad.err.find("demo.board:sch not opened: "), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("not loaded: demo/board.sch.design:31:"), std::string::npos) << bad.err;

    const Ended unknown = Host("puts \"open: [kx::open demo.NOSUCH:sch 3]\"\n");
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.err.find("demo.NOSUCH:sch not opened: no design"), std::string::npos) << unknown.err;
    EXPECT_EQ(unknown.err.find("not loaded"), std::string::npos) << unknown.err;

    const Ended good = Host("puts \"open: [kx::open demo.PWR:sch 3]\"\n");
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.err, "");
}

// A connect whose question (the pair net to replace) or bits dialog nobody answered in a batch run did
// nothing and answers 2, as a cancel does: standard error names each dialog that went unanswered, under
// --quiet too. Cancelled by the script itself, nothing is said.
TEST_F(HostExit, AConnectStoppedAtAnUnansweredDialogIsSaidOnStandardError) {
    const std::string connects = "puts \"pair: [addConnection pin {REFCLK (Differential Pair)} CLK]\"\n"
                                 "puts \"bits: [addConnection pin {ADDR<20..0>} [list U1 A<12..0>]]\"\n";
    const std::string open = "kx::open demo.board:sch 3\nkx::show clp U1\n";
    const Ended unanswered = Host(open + connects);
    EXPECT_EQ(unanswered.status, 0) << unanswered.err;
    EXPECT_EQ(unanswered.out, "pair: 2\nbits: 2\n");
    EXPECT_NE(unanswered.err.find("dialog CKXDontAskAgainYesNoDlg was not answered"), std::string::npos)
        << unanswered.err;
    EXPECT_NE(unanswered.err.find("dialog CKXGetVectorBits was not answered"), std::string::npos) << unanswered.err;
    EXPECT_NE(unanswered.err.find("nothing was done"), std::string::npos) << unanswered.err;

    TearDown();
    SetUp();
    const Ended cancelled = Host(open + "kx::answer dialog CKXDontAskAgainYesNoDlg cancel\n"
                                       "kx::answer dialog CKXGetVectorBits cancel\n" + connects);
    EXPECT_EQ(cancelled.out, "pair: 2\nbits: 2\n");
    EXPECT_EQ(cancelled.err, "");
}

// A block whose design did not load is named by the file and line its reader refused, not taken for a
// name that is no block instance; an instance the design lacks is still that.
TEST_F(HostExit, ABlockWhoseDesignDidNotLoadNamesItsFile) {
    std::ofstream(m_dir / "demo" / "PWR.sch.design", std::ios::binary | std::ios::app) << "garbage line\n";
    const Ended bad = Host("puts \"open: [kx::open demo.board:sch 3] [kx::open -block PWR1 2]\"\n");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.out.find("open: 1 0"), std::string::npos) << bad.out;
    EXPECT_NE(bad.err.find("PWR1 not opened: the design \"demo.PWR:sch\" of \"PWR1\""), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("not loaded: demo/PWR.sch.design:"), std::string::npos) << bad.err;
    EXPECT_EQ(bad.err.find("no block instance"), std::string::npos) << bad.err;

    const Ended unknown = Host("kx::open demo.board:sch 3\nputs \"open: [kx::open -block NOSUCH 2]\"\n");
    EXPECT_NE(unknown.err.find("no block instance \"NOSUCH\""), std::string::npos) << unknown.err;
}

// "Don't ask again" answered at a save in a read-only window is kept in the settings file, written whole
// in its place: the next host saves without asking, and no temporary is left beside the settings.
TEST_F(HostExit, DontAskAgainIsKeptForTheNextHost) {
    // An edit in a window of the block, so that the save in its read-only window has something to write.
    const std::string save = "kx::open demo.PWR:sch 3; kx::call AddSignal KEPTSIG {} {}\n"
                             "kx::open demo.board:sch 3; kx::open -block PWR1 2\n";
    const std::string asked = "unanswered: dialog CKXDontAskAgainDlg";
    const Ended first = Host(save + "kx::answer dialog CKXDontAskAgainDlg ok dontAskAgain 1\nsaveDesign\n", false);
    EXPECT_EQ(first.out.find(asked), std::string::npos) << first.out;
    EXPECT_NE(ReadFile(m_dir / "registry" / "registry.txt").find("HIDE_SAVECTXT_DESIGN_MSG"), std::string::npos);
    const Ended second = Host(save + "saveDesign\n", false);
    EXPECT_EQ(second.out.find(asked), std::string::npos) << second.out;
    for (const auto& entry : fs::directory_iterator(m_dir / "registry"))
        EXPECT_EQ(entry.path().filename().string(), "registry.txt");
}
