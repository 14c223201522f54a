// Files written together go in place together; what a killed save leaves is finished or removed at the next
// open of the folder.
#include "afx/afxfile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class FileBatch : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kxbatch_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir, m_ec);
        fs::create_directories(m_dir, m_ec);
        Put("board.sch.design", "old design");
        Put("board.TableEditor.notes", "old notes");
    }
    void TearDown() override { fs::remove_all(m_dir, m_ec); }
    void Put(const std::string& name, const std::string& text) { std::ofstream(m_dir / name, std::ios::binary) << text; }
    std::string Get(const std::string& name) {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string Path(const std::string& name) { return (m_dir / name).string(); }
    bool WriteBoth(const std::string& design, const std::string& notes) {
        std::string why;
        return AfxWriteFileSafely(Path("board.sch.design"), design, why) &&
               AfxWriteFileSafely(Path("board.TableEditor.notes"), notes, why);
    }
    std::size_t Entries() { return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir, m_ec), {})); }
    // The id of a process that has ended.
    static long EndedProcess() {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }

    fs::path m_dir;
    std::error_code m_ec;
};

} // namespace

TEST_F(FileBatch, ABatchPutsItsFilesInPlaceOnlyAtItsCommit) {
    std::string why;
    {
        AfxFileBatch batch;
        ASSERT_TRUE(WriteBoth("new design", "new notes"));
        EXPECT_EQ(Get("board.sch.design"), "old design");
        EXPECT_EQ(Get("board.TableEditor.notes"), "old notes");
        ASSERT_TRUE(batch.Commit(why)) << why;
    }
    EXPECT_EQ(Get("board.sch.design"), "new design");
    EXPECT_EQ(Get("board.TableEditor.notes"), "new notes");
    EXPECT_EQ(Entries(), 2u) << "no temporary or record is left";
    // A batch closed without its commit leaves the old files, and nothing else.
    {
        AfxFileBatch batch;
        ASSERT_TRUE(WriteBoth("newer design", "newer notes"));
        AfxFileBatch joined; // a batch opened inside another joins it
        EXPECT_TRUE(joined.Commit(why));
        EXPECT_EQ(Get("board.sch.design"), "new design");
    }
    EXPECT_EQ(Get("board.sch.design"), "new design");
    EXPECT_EQ(Entries(), 2u);
    EXPECT_EQ(AfxFileBatch::Current(), nullptr);
}

TEST_F(FileBatch, TheNextOpenFinishesABatchCutShortAndRemovesWhatAKilledSaveLeft) {
    // A batch whose process died after putting the design in place: its record names both files, the notes'
    // temporary is still there.
    const std::string dead = std::to_string(EndedProcess());
    Put("board.sch.design", "new design");
    Put("board.TableEditor.notes.tmp" + dead, "new notes");
    Put(".kxbatch" + dead, "KXBATCH 1\nboard.sch.design\nboard.TableEditor.notes\n");
    // A save killed before its batch was recorded, one of a running process, and a file of the user's.
    Put("board.part.tmp" + dead, "half a part");
    Put("blk.sch.design.tmp1", "being written by a running process");
    Put("letter.txt.tmp" + dead, "the user's");
    Put(".kxbatch" + dead + ".part", "KXBATCH 1\nbo");
    const std::vector<std::string> done = AfxRecoverFolder(m_dir.string());
    EXPECT_EQ(Get("board.TableEditor.notes"), "new notes");
    EXPECT_EQ(Get("board.sch.design"), "new design");
    EXPECT_FALSE(fs::exists(m_dir / (".kxbatch" + dead), m_ec));
    EXPECT_FALSE(fs::exists(m_dir / (".kxbatch" + dead + ".part"), m_ec));
    EXPECT_FALSE(fs::exists(m_dir / ("board.part.tmp" + dead), m_ec));
    EXPECT_TRUE(fs::exists(m_dir / "blk.sch.design.tmp1", m_ec));
    EXPECT_TRUE(fs::exists(m_dir / ("letter.txt.tmp" + dead), m_ec));
    EXPECT_EQ(done.front(), "finished " + Path("board.TableEditor.notes"));
    EXPECT_EQ(done.size(), 4u);
    // A record that was never written whole renames nothing.
    Put(".kxbatch" + dead, "KXBATCH 1\nboard.sch.design");
    Put("board.sch.design.tmp" + dead, "half a design");
    AfxRecoverFolder(m_dir.string());
    EXPECT_EQ(Get("board.sch.design"), "new design");
    EXPECT_FALSE(fs::exists(m_dir / ("board.sch.design.tmp" + dead), m_ec));
}

TEST_F(FileBatch, AWriteRefusesAFolderAndANameTheFileSystemCannotTake) {
    std::string why;
    fs::create_directories(m_dir / "folder.design", m_ec);
    EXPECT_FALSE(AfxWriteFileSafely(Path("folder.design"), "text", why));
    EXPECT_NE(why.find("is a folder"), std::string::npos) << why;
    EXPECT_TRUE(AfxFileNameFits(Path(std::string(200, 'n')), why)) << why;
    // The temporary beside the file needs room for its suffix too.
    EXPECT_FALSE(AfxFileNameFits(Path(std::string(250, 'n')), why));
    EXPECT_EQ(why.rfind("name too long", 0), 0u) << why;
    EXPECT_FALSE(AfxFileNameFits(Path(std::string(256, 'f') + "/x.design"), why));
    std::string deep = m_dir.string();
    while (deep.size() < 5000) deep += "/" + std::string(100, 'd');
    EXPECT_FALSE(AfxFileNameFits(deep + "/x", why));
    EXPECT_FALSE(AfxWriteFileSafely(Path(std::string(250, 'n')), "text", why));
    EXPECT_EQ(why.rfind("name too long", 0), 0u) << why;
    EXPECT_EQ(Entries(), 3u);
}

// A file written with its stamp is not written over once another writer changed it: refused before anything
// is written, and, in a batch, checked again at the commit, which then puts no file of the batch in place.
TEST_F(FileBatch, AStampedFileChangedByAnotherWriterIsNotWrittenOver) {
    std::string text, why;
    auto stamp = std::make_shared<AfxFileStamp>();
    ASSERT_TRUE(AfxReadFile(Path("board.sch.design"), text, why, stamp.get()));
    ASSERT_TRUE(AfxWriteFileSafely(Path("board.sch.design"), "mine 1", why, stamp)) << why;
    Put("board.sch.design", "theirs");
    EXPECT_FALSE(AfxWriteFileSafely(Path("board.sch.design"), "mine 2", why, stamp));
    EXPECT_NE(why.find("changed on disk"), std::string::npos) << why;
    EXPECT_EQ(Get("board.sch.design"), "theirs");
    // Read again, it is written.
    ASSERT_TRUE(AfxReadFile(Path("board.sch.design"), text, why, stamp.get()));
    {
        AfxFileBatch batch;
        ASSERT_TRUE(AfxWriteFileSafely(Path("board.sch.design"), "mine 3", why, stamp)) << why;
        ASSERT_TRUE(AfxWriteFileSafely(Path("board.TableEditor.notes"), "my notes", why));
        Put("board.sch.design", "theirs again"); // between the write and the commit
        EXPECT_FALSE(batch.Commit(why));
        EXPECT_NE(why.find("changed on disk"), std::string::npos) << why;
    }
    EXPECT_EQ(Get("board.sch.design"), "theirs again");
    EXPECT_EQ(Get("board.TableEditor.notes"), "old notes");
    EXPECT_EQ(Entries(), 2u); // no temporary, no record
    // A file made since a reader found none is another's too; a file removed since is written.
    auto notes = std::make_shared<AfxFileStamp>();
    EXPECT_FALSE(AfxReadFile(Path("new.notes"), text, why, notes.get()));
    Put("new.notes", "theirs");
    EXPECT_FALSE(AfxWriteFileSafely(Path("new.notes"), "mine", why, notes));
    fs::remove(m_dir / "new.notes", m_ec);
    EXPECT_TRUE(AfxWriteFileSafely(Path("new.notes"), "mine", why, notes)) << why;
    EXPECT_TRUE(AfxWriteFileSafely(Path("new.notes"), "mine again", why, notes)) << why;
    EXPECT_EQ(Get("new.notes"), "mine again");
}
