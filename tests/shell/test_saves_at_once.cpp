// Several processes saving into one library folder at the same moment, and what others may have left in
// that folder: two saves under one new block name, a stopped process that holds the folder, links planted
// where a save makes its temporaries.
#include "KXHostFolder.h"
#include "KXShellFixture.h"

#include "shell/KXTableDoc.h"

#include "rmx/schema.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A pipe whose write end, once closed, lets every process that waits on its read end go at once.
class StartingGun {
public:
    StartingGun() { EXPECT_EQ(::pipe(m_fd), 0); }
    ~StartingGun() {
        CloseWriteEnd();
        if (m_fd[0] >= 0) ::close(m_fd[0]);
    }
    StartingGun(const StartingGun&) = delete;
    StartingGun& operator=(const StartingGun&) = delete;
    // In a child: waits for the shot.
    void Wait() {
        CloseWriteEnd();
        char c;
        while (::read(m_fd[0], &c, 1) < 0 && errno == EINTR) {
        }
    }
    void Fire() { CloseWriteEnd(); }

private:
    void CloseWriteEnd() {
        if (m_fd[1] >= 0) ::close(m_fd[1]);
        m_fd[1] = -1;
    }
    int m_fd[2] = {-1, -1};
};

class SavesAtOnce : public KXShellFixture {
protected:
    void TearDown() override {
        ::unsetenv("KX_LOCK_WAIT_MS");
        KXShellFixture::TearDown();
    }
    static std::string FileText(const fs::path& path) { return kxhosttest::ReadFile(path); }
    static int ExitCode(pid_t child) {
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // What a racing process did, as its exit code.
    enum Outcome { kSaved = 1, kRefusedThenSavedElsewhere = 2, kOther = 3 };
    // In a child: makes a net of its own, waits for the gun, saves under block; refused, it saves under
    // another name.
    [[noreturn]] void RaceToSaveAs(StartingGun& gun, const std::string& mark, const std::string& block) {
        if (Run("kx::call AddSignal " + mark + " {} {}") != "1") ::_exit(kOther);
        Messages();
        gun.Wait();
        const std::string answer = Run("saveDesignAs work " + block);
        if (answer == "1") ::_exit(kSaved);
        const bool named = Messages() == std::vector<std::string>{"KXTABLE-301"};
        ::_exit(named && Run("saveDesignAs work " + block + "_" + mark) == "1" ? kRefusedThenSavedElsewhere : kOther);
    }
};

} // namespace

// Two processes save the same design, each with an edit of its own, under one new block name at the same
// moment, round after round: one is told it saved and the block holds its work alone; the other is refused
// with the message that the library has that design already, and saves under another name.
TEST_F(SavesAtOnce, TwoSaveAsUnderOneNewNameAtOnceSaveOneAndRefuseTheOther) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    constexpr int kRounds = 12;
    for (int round = 1; round <= kRounds; ++round) {
        const std::string block = "race" + std::to_string(round);
        StartingGun gun;
        const pid_t a = ::fork();
        ASSERT_GE(a, 0);
        if (a == 0) RaceToSaveAs(gun, "FROM_A", block);
        const pid_t b = ::fork();
        ASSERT_GE(b, 0);
        if (b == 0) RaceToSaveAs(gun, "FROM_B", block);
        gun.Fire();
        const int outA = ExitCode(a), outB = ExitCode(b);
        ASSERT_EQ(outA + outB, kSaved + kRefusedThenSavedElsewhere) << "round " << round << ": " << outA << " " << outB;
        const std::string winner = outA == kSaved ? "FROM_A" : "FROM_B";
        const std::string loser = outA == kSaved ? "FROM_B" : "FROM_A";
        const std::string saved = FileText(m_lib / (block + ".sch.design"));
        EXPECT_NE(saved.find("net " + winner + " "), std::string::npos) << round;
        EXPECT_EQ(saved.find("net " + loser + " "), std::string::npos) << round;
        EXPECT_NE(FileText(m_lib / (block + "_" + loser + ".sch.design")).find("net " + loser + " "),
                  std::string::npos)
            << round;
    }
    for (const auto& entry : fs::directory_iterator(m_lib)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.find(".tmp") == std::string::npos && name.rfind(".kxbatch", 0) != 0) << name;
    }
}

// Someone who can write into the library folder plants links where this process makes its temporaries
// (the batch record and the design's temporary, named with this process's id): the save writes through
// neither, answers 1, and the design file keeps its permissions. An entry that cannot be removed there
// refuses the save with a message, and nothing is written.
TEST_F(SavesAtOnce, ASaveNeverWritesThroughALinkPlantedForItsTemporaries) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const fs::path design = m_lib / "board.sch.design";
    ASSERT_EQ(::chmod(design.c_str(), 0600), 0);
    const std::string pid = std::to_string(::getpid());
    const fs::path victim = m_dir / "victim.txt", other = m_dir / "other.txt";
    std::ofstream(victim) << "precious";
    std::ofstream(other) << "mine too";
    fs::create_symlink(victim, m_lib / (".kxbatch" + pid + ".part"));
    fs::create_symlink(other, m_lib / ("board.sch.design.tmp" + pid));
    ASSERT_EQ(Run("kx::call AddSignal THROUGH_LINK {} {}"), "1");
    EXPECT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_EQ(FileText(victim), "precious");
    EXPECT_EQ(FileText(other), "mine too");
    EXPECT_NE(FileText(design).find("net THROUGH_LINK "), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(design.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A folder where the record goes: it cannot be made new.
    fs::create_directories(m_lib / (".kxbatch" + pid + ".part") / "held");
    const std::string before = FileText(design);
    ASSERT_EQ(Run("kx::call AddSignal NOT_WRITTEN {} {}"), "1");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    EXPECT_NE(Transcript().find(".kxbatch" + pid), std::string::npos) << Transcript();
    EXPECT_EQ(FileText(design), before);
    EXPECT_TRUE(Doc()->IsModified());
}

// Another process holds the library folder (as a host stopped inside its save does): a save waits a
// bounded time, then is refused with a message that another host is saving, writing nothing and keeping
// the edits; once the folder is free the same save goes through.
TEST_F(SavesAtOnce, ASaveBehindAStoppedHostIsRefusedInBoundedTimeAndLaterWorks) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const std::string before = FileText(m_lib / "board.sch.design");
    ASSERT_EQ(Run("kx::call AddSignal WAITED {} {}"), "1");
    ASSERT_EQ(Run("addComment pin {waited too} OUT"), "1");
    int held[2], release[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::close(release[1]); // the parent's close of its end is the release
        const int fd = ::open(m_lib.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
        (void)!::write(held[1], "h", 1);
        ::alarm(6); // never longer, however the save behind it behaves
        char c;
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    ::close(release[0]);
    ::close(held[1]);
    char c;
    ASSERT_EQ(::read(held[0], &c, 1), 1);
    ::setenv("KX_LOCK_WAIT_MS", "300", 1);
    Messages();
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = Run("saveDesign");
    const auto took = std::chrono::steady_clock::now() - start;
    ::close(release[1]);
    EXPECT_EQ(ExitCode(holder), 0);
    ::close(held[0]);
    EXPECT_EQ(answer, "0");
    EXPECT_LT(took, std::chrono::seconds(3));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    EXPECT_NE(Transcript().find("another host is saving in this library"), std::string::npos) << Transcript();
    EXPECT_EQ(FileText(m_lib / "board.sch.design"), before);
    EXPECT_EQ(FileText(m_lib / "board.TableEditor.notes").find("waited too"), std::string::npos);
    // Neither the window nor the design nor its comments count as saved.
    EXPECT_TRUE(Doc()->IsModified());
    IDesign* design = Doc()->GetMasterDesignContext().design();
    ASSERT_NE(design, nullptr);
    EXPECT_TRUE(design->isModified());
    EXPECT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_NE(FileText(m_lib / "board.sch.design").find("net WAITED "), std::string::npos);
    EXPECT_NE(FileText(m_lib / "board.TableEditor.notes").find("waited too"), std::string::npos);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(design->isModified());
}
