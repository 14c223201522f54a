#include "kxcommon/KXCommonDialogs.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/KXPartReader.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxcommon/ParseString.h"

#include "afx/afxanswer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path TempDir(const char* tag) {
    fs::path d =
        fs::temp_directory_path() / (std::string("kxcommon_") + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

TEST(ParseString, SplitsByPatternWithinLimits) {
    CString a = "keep", b = "keep";
    EXPECT_EQ(CParseString::Parse("U1:pin comment", "%s:%s", a, b), 2);
    EXPECT_EQ(a, "U1");
    EXPECT_EQ(b, "pin comment");
    EXPECT_EQ(CParseString::Parse("U1:a:b", "%s:%s", a, b), 2);
    EXPECT_EQ(b, "a:b"); // the last field takes the rest
    a = b = "keep";
    EXPECT_EQ(CParseString::Parse("no separator", "%s:%s", a, b), 0);
    EXPECT_EQ(a, "keep");
    std::string longField(65, 'x');
    EXPECT_EQ(CParseString::Parse(CString(longField + ":y"), "%s:%s", a, b), 0);
    EXPECT_EQ(CParseString::Parse(CString("y:" + longField), "%s:%s", a, b), 1);
    EXPECT_EQ(CParseString::Parse(CString(std::string(64, 'x') + ":y"), "%s:%s", a, b), 2);
    std::vector<CString> parts;
    EXPECT_EQ(CParseString::Parse("[a|b] 5%", "[%s|%s] 5%%", parts), 2);
    EXPECT_EQ(parts[1], "b");
    EXPECT_EQ(CParseString::Parse("x", "[%s]", parts), 0);
    EXPECT_EQ(CParseString::Parse(":", "%s:%s", parts), 2);
    EXPECT_TRUE(parts[0].IsEmpty() && parts[1].IsEmpty());
}

TEST(WinAPI, InjectableDateTimeAndUser) {
    CString date, time;
    CKXWinAPI::GetDateTime(date, time);
    EXPECT_EQ(date.GetLength(), 10);
    EXPECT_EQ(time.GetLength(), 8);
    EXPECT_FALSE(CKXWinAPI::GetUserNameA().IsEmpty());
    CKXWinAPI::SetDateTimeSource([](CString& d, CString& t) {
        d = "2026-01-02";
        t = "03:04:05";
    });
    CKXWinAPI::SetUserNameSource([] { return CString("tester"); });
    CKXWinAPI::GetDateTime(date, time);
    EXPECT_EQ(date, "2026-01-02");
    EXPECT_EQ(time, "03:04:05");
    EXPECT_EQ(CKXWinAPI::GetUserNameA(), "tester");
    CKXWinAPI::SetDateTimeSource(nullptr);
    CKXWinAPI::SetUserNameSource(nullptr);
    EXPECT_NE(CKXWinAPI::GetUserNameA(), "tester");
}

TEST(WinAPI, SourceDateEpochFixesTheTimeStamps) {
    CString date, time;
    setenv("SOURCE_DATE_EPOCH", "1780000000", 1);
    CKXWinAPI::GetDateTime(date, time);
    EXPECT_EQ(date, "2026-05-28");
    EXPECT_EQ(time, "20:26:40");
    // Not a number: the clock again.
    setenv("SOURCE_DATE_EPOCH", "soon", 1);
    CKXWinAPI::GetDateTime(date, time);
    EXPECT_EQ(date.GetLength(), 10);
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(ShareGlobalData, JournalOnlyForVbsFilesAndAppends) {
    fs::path d = TempDir("journal");
    EXPECT_FALSE(CKXShareGlobalData::AppendToJournal("x"));
    CKXShareGlobalData::SetAutomationPath((d / "run.log").c_str());
    EXPECT_FALSE(CKXShareGlobalData::IsJournalling());
    EXPECT_FALSE(CKXShareGlobalData::AppendToJournal("x"));
    std::string path = (d / "run.vbs").string();
    CKXShareGlobalData::SetAutomationPath(path.c_str());
    EXPECT_STREQ(CKXShareGlobalData::m_bAutomation, path.c_str());
    EXPECT_NE(CKXShareGlobalData::m_bAutomation, path.c_str()); // an owned copy
    EXPECT_TRUE(CKXShareGlobalData::AppendToJournal("\ncall a.Save()"));
    EXPECT_TRUE(CKXShareGlobalData::AppendToJournal("\ncall b.Close()"));
    std::stringstream ss;
    ss << std::ifstream(path).rdbuf();
    EXPECT_EQ(ss.str(), "\ncall a.Save()\ncall b.Close()");
    CKXShareGlobalData::SetAutomationPath((d / "missing" / "x.vbs").c_str());
    EXPECT_FALSE(CKXShareGlobalData::AppendToJournal("lost?")); // reported, not pretended
    CKXShareGlobalData::SetAutomationPath(nullptr);
    EXPECT_EQ(CKXShareGlobalData::m_bAutomation, nullptr);

    FILE* log = std::fopen((d / "trans.log").c_str(), "w");
    CKXShareGlobalData::LogTransactionMessage("ignored without a log");
    CKXShareGlobalData::m_fpTransLogFile = log;
    CKXShareGlobalData::LogTransactionMessage("Added to Undo: x\n");
    CKXShareGlobalData::m_fpTransLogFile = nullptr;
    std::fclose(log);
    std::stringstream t;
    t << std::ifstream(d / "trans.log").rdbuf();
    EXPECT_EQ(t.str(), "Added to Undo: x\n");
    fs::remove_all(d);
}

TEST(ShareGlobalData, ProjectLookupIgnoresCase) {
    CKXVpxProject p;
    p.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "yes");
    p.AddValue("gridworkshop", "max_open_windows", "5");
    p.AddValue("GridWorkshop", "MAX_OPEN_WINDOWS", "6");
    ASSERT_EQ(p.m_sections.size(), 1u);
    const SKXProjectSection* s = p.FindSection("GridWorkShop");
    ASSERT_NE(s, nullptr);
    const SKXProjectDirective* d = CKXVpxProject::FindDirective(*s, "Max_Open_Windows");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->values.size(), 2u);
    EXPECT_EQ(p.FindSection("VellumDraw"), nullptr);
    EXPECT_EQ(p.FindSection(nullptr), nullptr);
}

TEST(SetReplay, ReachesTheAnswerQueue) {
    CKXShareGlobalData::SetReplay(TRUE);
    EXPECT_TRUE(AfxGetAnswerQueue().IsReplay());
    EXPECT_TRUE(CKXShareGlobalData::m_bReplay);
    CKXShareGlobalData::SetReplay(FALSE);
    EXPECT_FALSE(AfxGetAnswerQueue().IsReplay());
}

TEST(PartReader, StandardFpgaAndFunctionGroups) {
    fs::path d = TempDir("parts");
    CKXPartReader::SetPartDirectory(d.c_str());
    fs::create_directories(d / "fpgalib");
    std::ofstream(d / "fpgalib" / "xc7.csv") << "Pin Number,Pin Name\nA1,CLK\n";
    std::ofstream(d / "QUAD_DIP14.fgr") << "# group,pin\n1,1\n1,2\n2,3\n2,4\nbad line\n0,9\n";
    CKXPartReader reader;
    CString csv = "x";
    EXPECT_TRUE(reader.IsPartStandardFPGA("fpgalib", "xc7", csv));
    EXPECT_EQ(csv, (d / "fpgalib" / "xc7.csv").string().c_str());
    EXPECT_FALSE(reader.IsPartStandardFPGA("fpgalib", "other", csv));
    EXPECT_TRUE(csv.IsEmpty());
    EXPECT_FALSE(reader.IsPartStandardFPGA("..", "etc", csv));
    EXPECT_FALSE(reader.IsPartStandardFPGA("fpgalib/../fpgalib", "xc7", csv));
    EXPECT_EQ(reader.GetFunctionGroupCount("QUAD_DIP14"), 2);
    EXPECT_EQ(reader.GetFunctionGroupCount("QUAD"), 0);
    EXPECT_EQ(reader.GetFunctionGroupCount("../x"), 0);
    CMapStringToString pins;
    pins.SetAt("old", "old");
    EXPECT_EQ(reader.GetPinsForFunctionGroup("QUAD", "DIP14", 2, 1, pins), 2);
    CString v;
    EXPECT_TRUE(pins.Lookup("3", v));
    EXPECT_FALSE(pins.Lookup("old", v));
    EXPECT_EQ(reader.GetPinsForFunctionGroup("QUAD_DIP14", "", 0, 1, pins), 4);
    CKXPartReader::SetPartDirectory(nullptr);
    fs::remove_all(d);
}

TEST(HiliteObject, KeepsWhatToHighlight) {
    struct FakeContext {
        CString cpath() const { return "lib.top:sch:CLK<3>"; }
    };
    CKXHiliteObject h(true);
    h.SetMode(2);
    h.SetType(KX_HILITE_TYPE_SIGNAL);
    h.SetObject(FakeContext{}, 3, 3);
    EXPECT_TRUE(h.IsHilite());
    EXPECT_EQ(h.ObjectType() & KX_HILITE_TYPE_SIGNAL, KX_HILITE_TYPE_SIGNAL);
    EXPECT_EQ(h.GetObjectPath(), "lib.top:sch:CLK<3>");
    EXPECT_EQ(h.GetSecond(), 3);
    EXPECT_NE(h.GetColor(0), h.GetColor(1));
    EXPECT_EQ(h.GetColor(7), h.GetColor(1));
    CKXHiliteObject off(false);
    EXPECT_FALSE(off.IsHilite());
}

TEST(CommonDialogs, VectorBitsFromTheAnswerQueue) {
    auto& q = AfxGetAnswerQueue();
    q.Reset();
    CKXGetVectorBits dlg;
    dlg.SetVectorAndPinWidth("D", 0, 15, 4, "A", 0, 3);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL); // unanswered
    q.PushDialog("CKXGetVectorBits", TRUE, {{"lsb", "4"}, {"msb", "7"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    int lsb, msb, step, pinLsb, pinMsb;
    dlg.GetBits(lsb, msb, step, pinLsb, pinMsb);
    EXPECT_EQ(lsb, 4);
    EXPECT_EQ(msb, 7);
    EXPECT_EQ(step, 1);
    EXPECT_EQ(pinMsb, 3);
    for (const char* bad : {"x", "", "-1", "99999999999", "3 "}) {
        q.PushDialog("CKXGetVectorBits", TRUE, {{"msb", bad}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << bad;
    }
    q.PushDialog("CKXGetVectorBits", TRUE, {{"step", "0"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    dlg.GetBits(lsb, msb, step, pinLsb, pinMsb);
    EXPECT_EQ(msb, 7); // a refused answer changed nothing
    q.Reset();
}

TEST(CommonDialogs, OpenPins) {
    auto& q = AfxGetAnswerQueue();
    q.Reset();
    CKXOpenPinConnectionDlg open;
    EXPECT_EQ(open.DoModal(), 2);
    q.PushDialog("CKXOpenPinConnectionDlg", TRUE, {{"common", "1"}});
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_TRUE(open.IsCommonSignalChosen());
    q.PushDialog("CKXOpenPinConnectionDlg", TRUE, {{"common", "maybe"}});
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    q.Reset();
}

} // namespace
