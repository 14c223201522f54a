#include "shell/KXShellUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TEST(ShellText, HelpIsAskedByDashHelpInAnyCaseOrAnOptionBeginningWithDashH) {
    EXPECT_TRUE(KXIsHelpArg("-help"));
    EXPECT_TRUE(KXIsHelpArg("-HELP"));
    EXPECT_TRUE(KXIsHelpArg("-h"));
    EXPECT_TRUE(KXIsHelpArg("-hlp"));
    // The user's own text is never taken for a help request.
    EXPECT_FALSE(KXIsHelpArg("a-hb"));
    EXPECT_FALSE(KXIsHelpArg("x/my-h.dat"));
    EXPECT_FALSE(KXIsHelpArg("see -h"));
    EXPECT_FALSE(KXIsHelpArg("-H"));
    EXPECT_FALSE(KXIsHelpArg("-save"));
    EXPECT_FALSE(KXIsHelpArg(""));
}

TEST(ShellText, TclQuotingEscapesEverythingTclWouldSubstitute) {
    EXPECT_EQ(KXTclQuote("plain"), CString("\"plain\""));
    EXPECT_EQ(KXTclQuote("say \"hi\""), CString("\"say \\\"hi\\\"\""));
    EXPECT_EQ(KXTclQuote("[exit] $x \\"), CString("\"\\[exit\\] \\$x \\\\\""));
    EXPECT_EQ(KXTclQuote("a\nb"), CString("\"a\\nb\""));
}

TEST(ShellText, VbsLiteralDoublesQuotesAndKeepsOneLine) {
    EXPECT_EQ(KXVbsQuote("ok"), CString("\"ok\""));
    EXPECT_EQ(KXVbsQuote("a \"b\""), CString("\"a \"\"b\"\"\""));
    EXPECT_EQ(KXVbsQuote("a\nb"), CString("\"a\" & vbLf & \"b\""));
}

TEST(ShellText, TitleSuffixIsTheBracketedRevisionAndNeverRunsPastTheEnd) {
    EXPECT_EQ(KXTitleSuffix("top:[rev2]"), CString("rev2"));
    EXPECT_EQ(KXTitleSuffix("top:[rev2]   "), CString("rev2"));
    EXPECT_EQ(KXTitleSuffix("top:[a]b]"), CString("a"));
    EXPECT_EQ(KXTitleSuffix("top"), CString(""));
    EXPECT_EQ(KXTitleSuffix("x:"), CString(""));
    EXPECT_EQ(KXTitleSuffix("x: "), CString(""));
    EXPECT_EQ(KXTitleSuffix(":"), CString(""));
    EXPECT_EQ(KXTitleSuffix("x:ab"), CString(""));
}

class JournalFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kxjournal_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path dir;
};

TEST_F(JournalFile, AppendsBlocksAsTheyStandOnlyForVbsNames) {
    fs::path vbs = dir / "run.vbs";
    ASSERT_TRUE(KXJournalWrite(vbs.c_str(), "\n\n ' --- Save ---\n", "\ncall top.Save()"));
    ASSERT_TRUE(KXJournalWrite(vbs.c_str(), "\n ' --- 100% ---\n", "\ncall top.X(\"%s%d\")"));
    EXPECT_EQ(Read(vbs), "\n\n ' --- Save ---\n\ncall top.Save()\n ' --- 100% ---\n\ncall top.X(\"%s%d\")");

    fs::path txt = dir / "run.txt";
    EXPECT_FALSE(KXJournalWrite(txt.c_str(), "a", "b"));
    EXPECT_FALSE(fs::exists(txt));
    EXPECT_FALSE(KXJournalWrite(nullptr, "a", "b"));
    EXPECT_FALSE(KXJournalWrite((dir / "missing" / "x.vbs").c_str(), "a", "b"));
}

// Blocks written under a hold reach the file, in their order, only when the hold is kept; a kept inner
// hold hands its blocks to the hold around it, which may still drop them.
TEST_F(JournalFile, AHoldWritesItsBlocksOnlyWhenKept) {
    const fs::path vbs = dir / "held.vbs";
    {
        KXJournalHold dropped;
        ASSERT_TRUE(KXJournalWrite(vbs.c_str(), "\n' a", "\ncall A()"));
    }
    EXPECT_FALSE(fs::exists(vbs));
    {
        KXJournalHold kept;
        KXJournalWrite(vbs.c_str(), "\n' a", "\ncall A()");
        {
            KXJournalHold inner;
            KXJournalWrite(vbs.c_str(), "\n' b", "\ncall B()");
            inner.Keep();
        }
        {
            KXJournalHold innerDropped;
            KXJournalWrite(vbs.c_str(), "\n' c", "\ncall C()");
        }
        EXPECT_FALSE(fs::exists(vbs)) << "written before the outer hold ended";
        kept.Keep();
    }
    EXPECT_EQ(Read(vbs), "\n' a\ncall A()\n' b\ncall B()");
    {
        KXJournalHold outer;
        {
            KXJournalHold inner;
            KXJournalWrite(vbs.c_str(), "\n' d", "\ncall D()");
            inner.Keep();
        }
    }
    EXPECT_EQ(Read(vbs), "\n' a\ncall A()\n' b\ncall B()");
}
