#include "KXHostCore.h"

#include <tcl.h>

#include <gtest/gtest.h>

#include <sstream>

TEST(HostCore, PureListWordsBecomeArgumentsOfSeveralValues) {
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    std::vector<std::vector<KXHostArg>> seen;
    core.SetRoute(
        [&](const std::string& word, const std::vector<KXHostArg>& args, long& result, std::string&) {
            EXPECT_EQ(word, "probeWord");
            seen.push_back(args);
            result = 2;
            return true;
        });
    core.RegisterSystemWord("probeWord");
    std::string r;
    ASSERT_TRUE(core.Eval("probeWord a {b c} [list x y z] [list one] \"q \\\"r\\\"\"", r)) << r;
    EXPECT_EQ(r, "2");
    ASSERT_EQ(seen.size(), 1u);
    const auto& a = seen[0];
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0], KXHostArg({"a"}));
    EXPECT_EQ(a[1], KXHostArg({"b c"}));
    EXPECT_EQ(a[2], KXHostArg({"x", "y", "z"}));
    EXPECT_EQ(a[3], KXHostArg({"one"}));
    EXPECT_EQ(a[4], KXHostArg({"q \"r\""}));
}

TEST(HostCore, WordsPrintAsTclThatReadsBackTheSame) {
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    std::vector<KXHostArg> words = {{"designComment"}, {"add"}, {"a [b] $c \"d\" {e"}, {"x", "y z"}};
    std::string text = CKXHostCore::TextOfWords(words);
    std::vector<KXHostArg> back;
    core.SetRoute([&](const std::string&, const std::vector<KXHostArg>& args, long& result, std::string&) {
        back = args;
        result = 1;
        return true;
    });
    core.RegisterSystemWord("designComment");
    std::string r;
    ASSERT_TRUE(core.Eval(text, r)) << text << " -> " << r;
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1], words[2]);
    EXPECT_EQ(back[2], words[3]);
}

TEST(HostCore, RequestsAreRunEchoesOnlyRecorded) {
    std::ostringstream out;
    CKXHostCore core(out);
    EXPECT_EQ(core.RunRequest("expr {6 * 7}"), 42);
    EXPECT_EQ(core.RunRequest("nosuchcommand"), 0);
    EXPECT_EQ(core.RunRequest(" ; "), 0); // nothing to run, nothing noted
    std::string r;
    ASSERT_TRUE(core.Eval("set ran 0; proc mark {} { incr ::ran }", r));
    core.RecordEcho("mark");
    ASSERT_TRUE(core.Eval("set ran", r));
    EXPECT_EQ(r, "0");
    EXPECT_EQ(core.TakeEchoes(), (std::vector<std::string>{"expr {6 * 7}", "nosuchcommand", "mark"}));
    EXPECT_TRUE(core.TakeEchoes().empty());
    EXPECT_NE(out.str().find("request: expr {6 * 7}"), std::string::npos);
    EXPECT_NE(out.str().find("error in requested command"), std::string::npos);
    EXPECT_NE(out.str().find("echo: mark"), std::string::npos);
}

TEST(HostCore, SystemWordsNeverReplaceTclCommands) {
    std::ostringstream out;
    CKXHostCore core(out);
    core.RegisterSystemWord("set");
    std::string r;
    ASSERT_TRUE(core.Eval("set x 5", r));
    EXPECT_EQ(r, "5");
    EXPECT_TRUE(core.IsSystemWord("set"));
}

// A finished progress bar is printed as the transcript keeps it, one line "progress: LINE"; the steps
// before it are not printed into a file.
TEST(HostCore, AFinishedProgressPrintsOneProgressLine) {
    std::ostringstream out;
    CKXHostCore core(out);
    core.Progress("Copying Data 1 of 2 [#...] 50%", false);
    core.Progress("Copying Data 2 of 2 [####] 100%", true);
    EXPECT_EQ(out.str(), "progress: Copying Data 2 of 2 [####] 100%\n");
    ASSERT_FALSE(core.TranscriptLines().empty());
    EXPECT_EQ(core.TranscriptLines().back(), "progress: Copying Data 2 of 2 [####] 100%");
}
