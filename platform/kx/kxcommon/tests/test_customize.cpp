#include "kxcommon/KXCustomizeAPI.h"

#include "afx/afxanswer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CustomizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kxcust_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::SetStorageDirectory(dir.c_str());
        AfxGetAnswerQueue().Reset();
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::SetStorageDirectory(nullptr);
        AfxGetAnswerQueue().Reset();
        fs::remove_all(dir);
    }
    static std::vector<std::string> Keys(const CStringArray& a) {
        std::vector<std::string> out;
        for (INT_PTR i = 0; i < a.GetSize(); ++i) {
            CString key, caption;
            int w, wt, o, d;
            EXPECT_TRUE(CKXCustomizeAPI::parseAttributeValues(a[i], key, w, wt, o, caption, d));
            out.push_back(key.str() + (d ? "" : "-"));
        }
        return out;
    }
    fs::path dir;
};

TEST_F(CustomizeTest, EntriesRoundTrip) {
    struct Case {
        const char* entry;
        const char* key;
        int width, widthType, origin;
        const char* caption;
        int display;
        const char* formatted;
    } cases[] = {
        {"PN|Pin Number|12s|DEFAULT|SHOW", "PN", 12, 1, 0, "Pin Number", 1, "PN|Pin Number|12s|DEFAULT|SHOW"},
        {"\"VOLT|Voltage|20f|INSTPROP|HIDE\"", "VOLT", 20, 2, 1, "Voltage", 0,
         "VOLT|Voltage|20f|INSTPROP|HIDE"},
        {"X|x|0s|PINPROP|SHOW", "X", 0, 1, 2, "x", 1, "X|x|0s|PINPROP|SHOW"},
        {"N|Net prop|7s|NETPROP|SHOW", "N", 7, 1, 3, "Net prop", 1, "N|Net prop|7s|NETPROP|SHOW"},
        {"U||5f|USER|HIDE", "U", 5, 2, 4, "", 0, "U||5f|USER|HIDE"},
    };
    for (const auto& c : cases) {
        CString key, caption;
        int width = -9, widthType = -9, origin = -9, display = -9;
        ASSERT_TRUE(
            CKXCustomizeAPI::parseAttributeValues(c.entry, key, width, widthType, origin, caption, display))
            << c.entry;
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(widthType, c.widthType);
        EXPECT_EQ(origin, c.origin);
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(display, c.display);
        EXPECT_EQ(CKXCustomizeAPI::formatEntry(key, caption, width, widthType, origin, display), c.formatted);
    }
    EXPECT_EQ(CKXCustomizeAPI::formatEntry("K", "C", 3, 2, 17, FALSE), "K|C|3f|USER|HIDE");

    const char* bad[] = {"",
                         "PN",
                         "PN|Pin|12s|DEFAULT",
                         "PN|Pin|12s|DEFAULT|SHOW|x",
                         "|Pin|12s|DEFAULT|SHOW",
                         "PN|Pin|12|DEFAULT|SHOW",
                         "PN|Pin|s|DEFAULT|SHOW",
                         "PN|Pin|-1s|DEFAULT|SHOW",
                         "PN|Pin|12x|DEFAULT|SHOW",
                         "PN|Pin|12s|OTHER|SHOW",
                         "PN|Pin|12s|DEFAULT|show",
                         "PN|Pi\"n|12s|DEFAULT|SHOW",
                         "PN|Pi\nn|12s|DEFAULT|SHOW",
                         "PN|Pin|9999999s|DEFAULT|SHOW"};
    for (const char* e : bad) {
        CString key = "k", caption = "c";
        int width = 1, widthType = 1, origin = 1, display = 1;
        EXPECT_FALSE(
            CKXCustomizeAPI::parseAttributeValues(e, key, width, widthType, origin, caption, display))
            << e;
        EXPECT_EQ(key, "k");
    }
}

TEST_F(CustomizeTest, BuiltInDefaultsThenSavedLayoutPersists) {
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    EXPECT_FALSE(CKXCustomizeAPI::IsInitialized());
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    EXPECT_TRUE(CKXCustomizeAPI::IsInitialized());
    EXPECT_EQ(Keys(CKXCustomizeAPI::getDefaultEntriesArray()),
              (std::vector<std::string>{"DIFF_PAIR", "PIN_NAME", "PN", "PIN_TYPE", "SIGNAL", "TERMINATION",
                                        "PUPD", "COMMENTS"}));
    CStringArray layout;
    layout.Add("PIN_NAME|Pin Name|20s|DEFAULT|SHOW");
    layout.Add("\"SIGNAL|Signal|40f|DEFAULT|HIDE\"");
    layout.Add("VOLTAGE|Voltage|8s|PINPROP|SHOW");
    ASSERT_TRUE(CKXCustomizeAPI::saveDefaultCustomization(layout));
    CKXCustomizeAPI::setCustomizationOrigin("SCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    ASSERT_TRUE(CKXCustomizeAPI::saveFile());

    CKXCustomizeAPI::Reset();
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    const CStringArray& back = CKXCustomizeAPI::getDefaultEntriesArray();
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(back[1], "SIGNAL|Signal|40f|DEFAULT|HIDE");
    EXPECT_EQ(back[2], "VOLTAGE|Voltage|8s|PINPROP|SHOW");

    CStringArray bad;
    bad.Add("PN|Pin|12s|DEFAULT|SHOW");
    bad.Add("broken");
    EXPECT_FALSE(CKXCustomizeAPI::saveDefaultCustomization(bad));
    EXPECT_EQ(CKXCustomizeAPI::getDefaultEntriesArray().GetSize(), 3);
}

TEST_F(CustomizeTest, UnreadableFileAsksForARetry) {
    fs::create_directories(dir);
    std::ofstream(dir / "MATRIX.cust") << "KXCUSTOMIZE 1\nD NAME|Signal|16s|DEFAULT|SHOW\nX garbage\n";
    CKXCustomizeAPI::setCustomizationOrigin("MATRIX");
    EXPECT_EQ(CKXCustomizeAPI::Initialize(false), KX_CUSTOMIZE_RETRY);
    EXPECT_FALSE(CKXCustomizeAPI::IsInitialized());
    EXPECT_EQ(CKXCustomizeAPI::Initialize(true), 0);
    EXPECT_EQ(CKXCustomizeAPI::getDefaultEntriesArray().GetSize(), 7); // built-in columns
    EXPECT_TRUE(fs::exists(dir / "MATRIX.cust.bad"));
    CKXCustomizeAPI::setCustomizationOrigin("../evil");
    EXPECT_EQ(CKXCustomizeAPI::Initialize(false), -1);
}

TEST_F(CustomizeTest, ParseFileMergesUserEntries) {
    CKXCustomizeAPI::setCustomizationOrigin("PHYSCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    AfxGetAnswerQueue().PushDialog("CKXCustomizeDialog", TRUE,
                                   {{"add", "VOLT|Voltage|8s|PINPROP|SHOW; SPEED|Speed|6s|INSTPROP|SHOW"}});
    ASSERT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(8), 1);
    EXPECT_EQ(Keys(CKXCustomizeAPI::getUserEntriesArray()), (std::vector<std::string>{"VOLT", "SPEED"}));
    CStringArray columns;
    columns.Add("LOCATION|Ref Des|8s|DEFAULT|SHOW");
    columns.Add("VOLT|Voltage|8s|PINPROP|SHOW");
    ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, true));
    EXPECT_EQ(Keys(CKXCustomizeAPI::getUserEntriesArray()), (std::vector<std::string>{"SPEED"}));
    ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
    EXPECT_EQ(CKXCustomizeAPI::getUserEntriesArray().GetSize(), 0);
}

// A column added without the dialog (a replayed journal's): once per key, whatever its case; a text
// that is no entry changes nothing.
TEST_F(CustomizeTest, AUserEntryIsAddedOncePerKey) {
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    EXPECT_EQ(CKXCustomizeAPI::addUserEntry("VOLT|Voltage|8s|PINPROP|SHOW"), 1);
    EXPECT_EQ(CKXCustomizeAPI::addUserEntry("volt|Other|6s|NETPROP|SHOW"), 0);
    EXPECT_EQ(CKXCustomizeAPI::addUserEntry("PIN_NAME|Pin Name|14s|PINPROP|SHOW"), 0); // a default column
    EXPECT_EQ(CKXCustomizeAPI::addUserEntry("no entry"), -1);
    EXPECT_EQ(Keys(CKXCustomizeAPI::getUserEntriesArray()), (std::vector<std::string>{"VOLT"}));
}

TEST_F(CustomizeTest, DialogAnswers) {
    CKXCustomizeAPI::setCustomizationOrigin("PHYCCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    // Unanswered: cancelled, nothing changes.
    EXPECT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(7), 2);
    auto& q = AfxGetAnswerQueue();
    q.PushDialog("CKXCustomizeDialog", TRUE,
                 {{"hide", "PIN_TYPE"}, {"order", "SIGNAL,PN"}, {"width.PN", "30f"}});
    EXPECT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(7), 1);
    EXPECT_EQ(Keys(CKXCustomizeAPI::getDefaultEntriesArray()),
              (std::vector<std::string>{"SIGNAL", "PN", "PIN_NAME", "PIN_TYPE-", "PIN_SIGNAL_MODEL"}));
    EXPECT_EQ(CKXCustomizeAPI::getDefaultEntriesArray()[1], "PN|Pin Number|30f|DEFAULT|SHOW");
    q.PushDialog("CKXCustomizeDialog", TRUE, {{"hide", "PIN_TYPE"}});
    EXPECT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(7), 0); // nothing new
    // An invalid field refuses the whole answer.
    const std::map<CString, CString> invalid[] = {
        {{"hide", "NOPE"}},        {{"show", "PN"}, {"order", "PN,NOPE"}},
        {{"width.PN", "wide"}},    {{"width.NOPE", "3s"}},
        {{"add", "broken entry"}}, {{"add", "PN|dup|3s|USER|SHOW"}},
        {{"remove", "PN"}},
    };
    for (const auto& fields : invalid) {
        q.PushDialog("CKXCustomizeDialog", TRUE, fields);
        EXPECT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(7), -1);
    }
    q.PushDialog("CKXCustomizeDialog", FALSE, {{"show", "PIN_TYPE"}});
    EXPECT_EQ(CKXCustomizeAPI::invokeCustomizeDialog(7), 2);
    EXPECT_EQ(Keys(CKXCustomizeAPI::getDefaultEntriesArray())[3], "PIN_TYPE-");
}

} // namespace

#include "afx/afxreg.h"

namespace {

TEST_F(CustomizeTest, StorageFollowsTheUserSettingsFolder) {
    CKXCustomizeAPI::SetStorageDirectory(nullptr);
    AfxSetRegistryDirectory(dir.c_str());
    EXPECT_EQ(CKXCustomizeAPI::GetStorageDirectory(), dir.c_str());
    CKXCustomizeAPI::setCustomizationOrigin("SCP");
    ASSERT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    ASSERT_TRUE(CKXCustomizeAPI::saveFile());
    EXPECT_TRUE(fs::exists(dir / "SCP.cust"));
    // Memory only: nothing is written, and that is no failure.
    AfxSetRegistryDirectory("");
    fs::remove_all(dir);
    EXPECT_TRUE(CKXCustomizeAPI::GetStorageDirectory().IsEmpty());
    EXPECT_TRUE(CKXCustomizeAPI::saveFile());
    EXPECT_FALSE(fs::exists(dir));
    CKXCustomizeAPI::Reset();
    CKXCustomizeAPI::setCustomizationOrigin("SCP");
    EXPECT_EQ(CKXCustomizeAPI::Initialize(false), 0);
    EXPECT_EQ(CKXCustomizeAPI::getDefaultEntriesArray().GetSize(), 10);
}

} // namespace
