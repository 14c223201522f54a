// The files of a library that several users share: a save keeps what the files' owners gave them (their
// group, a read-only mark), a Save As takes no name whose files someone left, and a Save As refused while
// another host saves in the library names that host's lock rather than the name.
#include "KXHostFolder.h"
#include "KXShellFixture.h"

#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SharedLibrary : public KXShellFixture {
protected:
    void TearDown() override {
        ::unsetenv("KX_LOCK_WAIT_MS");
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(m_lib, ec))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        KXShellFixture::TearDown();
    }
    static std::string FileText(const fs::path& path) { return kxhosttest::ReadFile(path); }
    static struct stat StatOf(const fs::path& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st;
    }
    // A group the process may give its files other than the one they get: any for the superuser, else one
    // of the user's other groups; 0 when there is none.
    static gid_t OtherGroup() {
        if (::geteuid() == 0) return 1234;
        std::vector<gid_t> groups(static_cast<std::size_t>(::getgroups(0, nullptr)));
        groups.resize(static_cast<std::size_t>(::getgroups(static_cast<int>(groups.size()), groups.data())));
        for (gid_t g : groups)
            if (g != ::getegid()) return g;
        return 0;
    }
};

// A process that holds the library folder's lock (as a host stopped inside its save does) until destroyed.
class LockHolder {
public:
    explicit LockHolder(const fs::path& folder) {
        int held[2];
        EXPECT_EQ(::pipe(held), 0);
        EXPECT_EQ(::pipe(m_release), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(m_release[1]);
            const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            (void)!::write(held[1], "h", 1);
            ::alarm(6); // never longer, however the save behind it behaves
            char c;
            (void)!::read(m_release[0], &c, 1);
            ::_exit(0);
        }
        ::close(m_release[0]);
        ::close(held[1]);
        char c;
        EXPECT_EQ(::read(held[0], &c, 1), 1);
        ::close(held[0]);
    }
    ~LockHolder() {
        ::close(m_release[1]);
        ::waitpid(m_pid, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

private:
    int m_release[2] = {-1, -1};
    pid_t m_pid = -1;
};

} // namespace

// A design file or comments file its owner made read-only, in a folder the user may write: the save is
// refused naming the file, nothing is written, the file keeps its mode and the edits stay unsaved.
TEST_F(SharedLibrary, AReadOnlyFileIsNotReplacedByASave) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const fs::path design = m_lib / "board.sch.design", notes = m_lib / "board.TableEditor.notes";
    const std::string before = FileText(design);
    ASSERT_EQ(::chmod(design.c_str(), 0444), 0);
    ASSERT_EQ(Run("kx::call AddSignal READ_ONLY {} {}"), "1");
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
    EXPECT_NE(Transcript().find("board.sch.design: is read-only (mode 444)"), std::string::npos) << Transcript();
    EXPECT_EQ(FileText(design), before);
    EXPECT_EQ(StatOf(design).st_mode & 0777, 0444u);
    EXPECT_TRUE(Doc()->IsModified());

    // Writable again, the design saves; a read-only comments file then refuses its own save.
    ASSERT_EQ(::chmod(design.c_str(), 0644), 0);
    ASSERT_EQ(Run("addComment pin {saved} OUT"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_EQ(Run("addComment pin {kept in memory} IN"), "1");
    const std::string notesBefore = FileText(notes);
    ASSERT_EQ(::chmod(notes.c_str(), 0444), 0);
    Messages();
    EXPECT_EQ(Run("saveDesign"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-347"});
    EXPECT_NE(Transcript().find("board.TableEditor.notes: is read-only"), std::string::npos) << Transcript();
    EXPECT_EQ(FileText(notes), notesBefore);
    EXPECT_TRUE(Doc()->IsModified());
}

// The library's files belong to a group its users share: the files a save writes keep that group and their
// mode, the design's and the comments'.
TEST_F(SharedLibrary, ASaveKeepsTheGroupAndModeOfTheFilesItReplaces) {
    const gid_t group = OtherGroup();
    if (group == 0) GTEST_SKIP() << "the user has no second group to give the files";
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {first} OUT"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const fs::path design = m_lib / "board.sch.design", notes = m_lib / "board.TableEditor.notes";
    for (const fs::path& file : {design, notes}) {
        ASSERT_EQ(::chown(file.c_str(), static_cast<uid_t>(-1), group), 0) << file;
        ASSERT_EQ(::chmod(file.c_str(), 0660), 0);
    }
    ASSERT_EQ(Run("kx::call AddSignal GROUP_KEPT {} {}"), "1");
    ASSERT_EQ(Run("addComment pin {second} IN"), "1");
    ASSERT_EQ(Run("saveDesign"), "1") << Transcript();
    EXPECT_NE(FileText(design).find("GROUP_KEPT"), std::string::npos);
    EXPECT_NE(FileText(notes).find("second"), std::string::npos);
    for (const fs::path& file : {design, notes}) {
        EXPECT_EQ(StatOf(file).st_gid, group) << file;
        EXPECT_EQ(StatOf(file).st_mode & 0777, 0660u) << file;
    }
}

// The library holds a comments file of a design it lacks (left by a design removed, or by another tool): a
// Save As to that name takes it as used, on the word and the method, and the comments file stays as it was.
TEST_F(SharedLibrary, ASaveAsTakesNoNameWhoseCommentsFileIsThere) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin {mine} OUT"), "1");
    const fs::path orphan = m_lib / "NEWX.TableEditor.notes";
    const std::string orphanText = "KXNOTES 1\nP\tU1\tOUT\torphan note\t2023-11-14\t22:13:20\tunknown\n";
    std::ofstream(orphan, std::ios::binary) << orphanText;
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(Run("saveDesignAs work NEWX"), "0");
    EXPECT_EQ(Run("kx::call SaveBlockAs work NEWX"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-301", "KXTABLE-301"}));
    EXPECT_NE(Transcript().find("NEWX.TableEditor.notes: a comments file of that name is there already"),
              std::string::npos)
        << Transcript();
    EXPECT_EQ(FileText(orphan), orphanText);
    EXPECT_FALSE(fs::exists(m_lib / "NEWX.sch.design"));
    EXPECT_EQ(JournalText(), journal);
    EXPECT_TRUE(Doc()->IsModified());
    // Another name saves.
    EXPECT_EQ(Run("saveDesignAs work NEWY"), "1");
    EXPECT_NE(FileText(m_lib / "NEWY.TableEditor.notes").find("mine"), std::string::npos);
}

// Another host holds the library's lock: a Save As to a free name is refused as the save in place is, naming
// the lock (KXCOMMON-102), not the name; nothing is written, and once the lock is gone the same name saves.
TEST_F(SharedLibrary, ASaveAsBehindAnotherHostsLockNamesTheLock) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::call AddSignal BEHIND_LOCK {} {}"), "1");
    ::setenv("KX_LOCK_WAIT_MS", "200", 1);
    {
        const LockHolder holder(m_lib);
        Messages();
        EXPECT_EQ(Run("saveDesignAs work LOCKB"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXCOMMON-102"});
        EXPECT_NE(Transcript().find("another host is saving in this library"), std::string::npos) << Transcript();
        EXPECT_FALSE(fs::exists(m_lib / "LOCKB.sch.design"));
    }
    EXPECT_EQ(Run("saveDesignAs work LOCKB"), "1") << Transcript();
    EXPECT_NE(FileText(m_lib / "LOCKB.sch.design").find("BEHIND_LOCK"), std::string::npos);
}
