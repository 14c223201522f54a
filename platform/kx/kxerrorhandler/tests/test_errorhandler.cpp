#include "kxerrorhandler/KXErrorHandler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class ErrorHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kxerr_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "rmx");
        CKXErrorHandler::ClearMessages();
        CKXErrorHandler::ClearTranscript();
        CKXErrorHandler::SetAnswerProvider(nullptr);
        CKXErrorHandler::SetTranscriptSink(nullptr);
        CKXErrorHandler::SetDataDirectory(dir.c_str());
    }
    void TearDown() override {
        CKXErrorHandler::SetDataDirectory(nullptr);
        CKXErrorHandler::SetAnswerProvider(nullptr);
        CKXErrorHandler::SetTranscriptSink(nullptr);
        fs::remove_all(dir);
    }
    std::string Write(const std::string& rel, const std::string& content) {
        std::ofstream(dir / rel, std::ios::binary) << content;
        return rel;
    }
    fs::path dir;
};

TEST_F(ErrorHandlerTest, LoadsEntriesWithCommentsContinuationsAndEscapes) {
    Write("rmx/tblerrors.txt", "# table messages\n"
                               "\n"
                               "KXTABLE-134: Comments of %s could not be loaded.\n"
                               "KXTABLE-131: Design %1 changed (%2).\n"
                               "    Parents using %1:\n"
                               "\t%4\n"
                               "KXPROP-104:  Value \"%s\" is not valid for %s\\tnow; 100%% sure\\\\\r\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("rmx/tblerrors.txt")) << CKXErrorHandler::GetLastLoadError();
    EXPECT_EQ(CKXErrorHandler::FormatMessage("KXTABLE-134", {"top"}), "Comments of top could not be loaded.");
    EXPECT_EQ(CKXErrorHandler::FormatMessage("KXTABLE-131", {"cpu", "port added", "cpu", "board\nsys\n"}),
              "Design cpu changed (port added).\nParents using cpu:\nboard\nsys\n");
    EXPECT_EQ(CKXErrorHandler::FormatMessage("KXPROP-104", {"3.3V", "VOLTAGE"}),
              "Value \"3.3V\" is not valid for VOLTAGE\tnow; 100% sure\\");
}

TEST_F(ErrorHandlerTest, ArgumentsAreNeverReadAsPlaceholders) {
    Write("m.txt", "ID-1: [%s] [%s] [%3]\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("m.txt"));
    // Texts that look like format directives pass through untouched; a missing argument is empty.
    EXPECT_EQ(CKXErrorHandler::FormatMessage("ID-1", {"%s%n%x", "%1%%"}), "[%s%n%x] [%1%%] []");
    EXPECT_EQ(CKXErrorHandler::FormatMessage("ID-1", {1, 2.5, 3}), "[1] [2.500000] [3]");
    EXPECT_EQ(CKXErrorHandler::Substitute("50%d %", {"x"}), "50%d %");
}

TEST_F(ErrorHandlerTest, UnknownIdShowsItselfAndItsArguments) {
    EXPECT_EQ(CKXErrorHandler::FormatMessage("No Active Document"), "No Active Document");
    EXPECT_EQ(CKXErrorHandler::FormatMessage("KXTABLE-999", {"a", "b"}), "KXTABLE-999 a b");
}

TEST_F(ErrorHandlerTest, BadFilesAreRefusedWithTheirLineAndKeepNothing) {
    Write("good.txt", "KEEP-1: kept\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("good.txt"));
    struct Case {
        const char* content;
        const char* expected; // suffix of the error after the path
    } cases[] = {
        {"A-1: x\nno colon here\n", ":2: missing ':' after the message id"},
        {"  lonely continuation\n", ":1: continuation line without an entry above it"},
        {"# c\n1ABC: digit first\n", ":2: bad message id \"1ABC\""},
        {"A B: blank in id\n", ":1: bad message id \"A B\""},
        {"A-1: x\nB-2: y\nA-1: again\n", ":3: message id A-1 given twice"},
        {"A-1:   \n", ":1: message A-1 has no text"},
        {"A-1: bad \\q escape\n", ":1: unknown escape \\q"},
        {"A-1: ok\n  trailing \\\n", ":2: backslash at the end of a line"},
    };
    for (const auto& c : cases) {
        Write("bad.txt", c.content);
        EXPECT_FALSE(CKXErrorHandler::LoadMessageFile("bad.txt")) << c.content;
        std::string err = CKXErrorHandler::GetLastLoadError().str();
        EXPECT_NE(err.find("bad.txt"), std::string::npos) << err;
        EXPECT_TRUE(err.size() >= strlen(c.expected) && err.ends_with(c.expected)) << err;
        EXPECT_FALSE(CKXErrorHandler::HasMessage("A-1"));
    }
    EXPECT_TRUE(CKXErrorHandler::HasMessage("KEEP-1"));
    EXPECT_FALSE(CKXErrorHandler::LoadMessageFile("missing.txt"));
    EXPECT_NE(CKXErrorHandler::GetLastLoadError().Find("cannot open"), -1);
    EXPECT_FALSE(CKXErrorHandler::LoadMessageFile(nullptr));
}

TEST_F(ErrorHandlerTest, LoadingAgainReplacesThatFilesTexts) {
    Write("a.txt", "X-1: first\nX-2: gone later\n");
    Write("b.txt", "Y-1: other file\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("a.txt"));
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("b.txt"));
    Write("a.txt", "X-1: second\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("a.txt"));
    EXPECT_EQ(CKXErrorHandler::FormatMessage("X-1"), "second");
    EXPECT_FALSE(CKXErrorHandler::HasMessage("X-2"));
    EXPECT_TRUE(CKXErrorHandler::HasMessage("Y-1"));
    // Absolute paths are taken as they are.
    EXPECT_TRUE(CKXErrorHandler::LoadMessageFile((dir / "b.txt").c_str()));
}

TEST_F(ErrorHandlerTest, UnansweredBoxesAnswerNoOrCancelAndAreTranscribed) {
    Write("m.txt", "Q-1: Overwrite %s?\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("m.txt"));
    std::vector<std::string> printed;
    CKXErrorHandler::SetTranscriptSink(
        [&](const SKXShownMessage& m) { printed.push_back(m.id.str() + "|" + m.text.str()); });
    EXPECT_EQ(CKXErrorHandler::MessageBoxOk("Q-1", "pin A"), IDOK);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNo("Q-1", CString("pin B")), IDNO);
    EXPECT_EQ(CKXErrorHandler::MessageBoxOkCancel("Q-1", std::string("pin C")), IDCANCEL);
    const auto& t = CKXErrorHandler::GetTranscript();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1].text, "Overwrite pin B?");
    EXPECT_EQ(t[1].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(t[1].answer, IDNO);
    EXPECT_EQ(printed[2], "Q-1|Overwrite pin C?");
}

TEST_F(ErrorHandlerTest, AnswersComeFromTheProviderAndNonsenseIsIgnored) {
    // While a journal is replayed every question counts as answered yes.
    CKXErrorHandler::SetAnswerProvider(
        [](const char*, const char*, UINT type) { return (type & 0xF) == MB_YESNO ? IDYES : IDOK; });
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNo("KXTABLE-143"), IDYES);
    EXPECT_EQ(CKXErrorHandler::MessageBoxOkCancel("KXTABLE-133", "U1"), IDOK);
    // An answer that the box cannot give counts as unanswered.
    CKXErrorHandler::SetAnswerProvider([](const char*, const char*, UINT) { return IDYES; });
    EXPECT_EQ(CKXErrorHandler::MessageBoxOkCancel("KXTABLE-133", "U1"), IDCANCEL);
    EXPECT_EQ(CKXErrorHandler::MessageBoxOk("KXTABLE-103"), IDOK);
}

TEST_F(ErrorHandlerTest, SchemaViolationIsReportedWithoutAQuestion) {
    Write("m.txt", "KXTABLE-137: Pin %s is connected to a bus range.\n");
    ASSERT_TRUE(CKXErrorHandler::LoadMessageFile("m.txt"));
    int asked = 0;
    CKXErrorHandler::SetAnswerProvider([&](const char*, const char*, UINT) { return ++asked, IDOK; });
    CKXErrorHandler::ReportSchemaViolation("KXTABLE-137", 137, "@lib.top:sch/U1", "D[3]");
    CKXErrorHandler::ReportSchemaViolation("KXTABLE-136", 136, nullptr, nullptr);
    EXPECT_EQ(asked, 0);
    const auto& t = CKXErrorHandler::GetTranscript();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text,
              "Pin D[3] is connected to a bus range. [error 137, object @lib.top:sch/U1, pin D[3]]");
    EXPECT_EQ(t[1].text, "KXTABLE-136 [error 136]");
    EXPECT_EQ(t[0].answer, 0);
}

} // namespace

#include "afx/afxanswer.h"

namespace {

TEST(ErrorHandlerQueue, AnswersComeFromTheProcessAnswerQueue) {
    CKXErrorHandler::SetAnswerProvider(nullptr);
    CKXErrorHandler::ClearTranscript();
    auto& q = AfxGetAnswerQueue();
    q.Reset();
    q.PushQuestion("KXTABLE-139", IDYES);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNo("KXTABLE-139"), IDYES);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNo("KXTABLE-139"), IDNO); // used up: unanswered
    q.SetReplay(TRUE);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNo("KXTABLE-140", "A", "U1", "RAM"), IDYES);
    EXPECT_EQ(CKXErrorHandler::MessageBoxOkCancel("KXTABLE-133", "U2"), IDOK);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNoCancel("KXCOMMON-101", "d"), IDYES);
    q.SetReplay(FALSE);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNoCancel("KXCOMMON-101", "d"), IDCANCEL); // unanswered
    q.PushQuestion("KXCOMMON-101", IDNO);
    EXPECT_EQ(CKXErrorHandler::MessageBoxYesNoCancel("KXCOMMON-101", "d"), IDNO);
    EXPECT_EQ(q.GetLog().size(), 7u);
    EXPECT_EQ(CKXErrorHandler::GetTranscript().size(), 7u);
    q.Reset();
}

} // namespace
