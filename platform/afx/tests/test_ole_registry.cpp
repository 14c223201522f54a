#include "afx/afx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
class CTestTarget : public COleDropTarget {
public:
    UINT format = 0;
    CString dropped;
    int leaves = 0;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* p, DWORD, CPoint) override {
        return p->IsDataAvailable(static_cast<CLIPFORMAT>(format)) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* p, DWORD, CPoint pt) override {
        return pt.x < 100 && p->IsDataAvailable(static_cast<CLIPFORMAT>(format)) ? DROPEFFECT_COPY
                                                                                 : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* p, DROPEFFECT, CPoint) override {
        HGLOBAL h = p->GetGlobalData(static_cast<CLIPFORMAT>(format));
        dropped = CString(static_cast<const char*>(GlobalLock(h)));
        GlobalUnlock(h);
        GlobalFree(h);
        return TRUE;
    }
    void OnDragLeave(CWnd*) override { ++leaves; }
};
} // namespace

TEST(Clipboard, FormatsByNameAndPrivateData) {
    UINT a = RegisterClipboardFormatA("KX Pin List");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatA("kx pin list"), a);
    EXPECT_NE(RegisterClipboardFormatA("KX Net List"), a);
    char name[64];
    EXPECT_GT(GetClipboardFormatNameA(a, name, sizeof name), 0);
    EXPECT_STREQ(name, "KX Pin List");

    int blocks = AfxGetGlobalBlockCount();
    const DWORD sequence = GetClipboardSequenceNumber();
    EXPECT_FALSE(SetClipboardData(CF_TEXT, nullptr)); // not open
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence); // refused calls change nothing
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_NE(GetClipboardSequenceNumber(), sequence);
    SetClipboardData(CF_TEXT, AfxGlobalAllocText("plain"));
    SetClipboardData(a, AfxGlobalAllocText("[list U1 A1 1]"));
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(a));
    EXPECT_EQ(AfxGetClipboardText(), "plain");
    COleDataObject clip;
    clip.AttachClipboard();
    EXPECT_EQ(clip.GetText(static_cast<CLIPFORMAT>(a)), "[list U1 A1 1]");
    AfxSetClipboardText("only text");
    EXPECT_FALSE(IsClipboardFormatAvailable(a));
    EXPECT_EQ(CountClipboardFormats(), 1);
    EXPECT_EQ(AfxGetGlobalBlockCount(), blocks + 1); // replaced blocks were freed
}

TEST(DragDrop, EnterOverDropOrLeave) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", 0, CRect(0, 0, 200, 200), nullptr, 0));
    auto* child = new CWnd;
    child->m_bAutoDelete = TRUE;
    ASSERT_TRUE(child->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &parent, 3));
    CTestTarget target;
    target.format = RegisterClipboardFormatA("KX Drag");
    EXPECT_TRUE(target.Register(&parent));
    EXPECT_FALSE(CTestTarget().Register(&parent)); // one target per window
    COleDataObject data;
    data.SetText(static_cast<CLIPFORMAT>(target.format), "payload");
    AfxDropResult r = AfxDoDragDrop(child, data, CPoint(10, 10)); // reaches the parent's target
    EXPECT_EQ(r.enterEffect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    EXPECT_TRUE(r.bDropped);
    EXPECT_TRUE(r.bResult);
    EXPECT_EQ(target.dropped, "payload");
    r = AfxDoDragDrop(&parent, data, CPoint(150, 10));
    EXPECT_FALSE(r.bDropped);
    EXPECT_EQ(target.leaves, 1);
    COleDataObject other;
    other.SetText(CF_TEXT, "x");
    EXPECT_EQ(AfxDoDragDrop(&parent, other, CPoint(1, 1)).enterEffect,
              static_cast<DROPEFFECT>(DROPEFFECT_NONE));
    target.Revoke();
    EXPECT_FALSE(AfxDoDragDrop(&parent, data, CPoint(1, 1)).bDropped);
    parent.DestroyWindow();
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("kxreg-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        AfxSetRegistryDirectory(dir.c_str());
    }
    void TearDown() override {
        AfxSetRegistryDirectory("");
        std::filesystem::remove_all(dir);
        // Problems a case left unread are not the next case's.
        AfxTakeRegistryProblems();
    }
    std::filesystem::path dir;
};

TEST_F(RegistryTest, ValuesPersistAcrossReloadAndIgnoreCase) {
    EXPECT_TRUE(AfxRegSetDword(HKEY_CURRENT_USER, "Software\\KX\\KXFrame", "HIDE_SAVECTXT_DESIGN_MSG", 1));
    EXPECT_TRUE(
        AfxRegSetString(HKEY_CURRENT_USER, "Software\\KX\\CCP\\PinName", "width", "a \"quoted\"\nline"));
    AfxSetRegistryDirectory(dir.c_str()); // reload from the file
    DWORD v = 0;
    EXPECT_TRUE(AfxRegGetDword(HKEY_CURRENT_USER, "software\\kx\\kxframe", "hide_savectxt_design_msg", v));
    EXPECT_EQ(v, 1u);
    CString s;
    EXPECT_TRUE(AfxRegGetString(HKEY_CURRENT_USER, "Software\\KX\\CCP\\PinName", "WIDTH", s));
    EXPECT_EQ(s, "a \"quoted\"\nline");
    EXPECT_FALSE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\KX\\CCP\\PinName", "width", v)); // wrong type
    EXPECT_FALSE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\KX\\Absent", "x", v));

    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KX\\CCP", 0, KEY_READ, &h), ERROR_SUCCESS);
    char name[32];
    EXPECT_EQ(RegEnumKeyA(h, 0, name, sizeof name), ERROR_SUCCESS);
    EXPECT_STREQ(name, "PinName");
    EXPECT_EQ(RegEnumKeyA(h, 1, name, sizeof name), ERROR_NO_MORE_ITEMS);
    DWORD size = 2, type = 0;
    BYTE small[2];
    EXPECT_EQ(RegQueryValueExA(h, "x", nullptr, &type, small, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(h);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KX\\CCP\\PinName", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(h, "width", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 16u); // the text and its NUL
    RegCloseKey(h);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KX\\CCP"), ERROR_SUCCESS);
    EXPECT_FALSE(AfxRegGetString(HKEY_CURRENT_USER, "Software\\KX\\CCP\\PinName", "width", s));
}

TEST_F(RegistryTest, DamagedLinesAreSkippedAndTheRestLoads) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "registry.txt") << "[\"HKEY_CURRENT_USER\\\\Software\\\\A\"]\n"
                                           "\"good\"=dword:0000002a\n"
                                           "\"bad\"=dword:zz\n"
                                           "garbage\n"
                                           "\"text\"=\"unterminated\n";
    AfxSetRegistryDirectory(dir.c_str());
    DWORD v = 0;
    EXPECT_TRUE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\A", "good", v));
    EXPECT_EQ(v, 42u);
    EXPECT_FALSE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\A", "bad", v));
    CString s;
    EXPECT_FALSE(AfxRegGetString(HKEY_CURRENT_USER, "Software\\A", "text", s));
}

TEST_F(RegistryTest, AnUnreadableFileIsKeptAsideAndReportedNeverDropped) {
    std::filesystem::create_directories(dir);
    const std::string damaged = "[\"HKEY_CURRENT_USER\\\\Software\\\\A\"]\n"
                                "\"good\"=dword:0000002a\n"
                                "garbage\n"
                                "\"later\"=\"kept\"\n";
    std::ofstream(dir / "registry.txt") << damaged;
    AfxSetRegistryDirectory(dir.c_str());
    std::vector<std::string> problems = AfxTakeRegistryProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("registry.txt:3: 1 line does not parse"), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("registry.txt.unreadable"), std::string::npos) << problems[0];
    EXPECT_TRUE(AfxTakeRegistryProblems().empty());
    // What parsed is in use; the damaged file is there to be read by a person, byte for byte.
    DWORD v = 0;
    EXPECT_TRUE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\A", "good", v));
    CString s;
    EXPECT_TRUE(AfxRegGetString(HKEY_CURRENT_USER, "Software\\A", "later", s));
    std::ifstream aside(dir / "registry.txt.unreadable", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), damaged);
    // The next save writes a whole file of its own; a second damaged file goes to a name of its own.
    EXPECT_TRUE(AfxRegSetDword(HKEY_CURRENT_USER, "Software\\A", "v", 1));
    std::ofstream(dir / "registry.txt", std::ios::app) << "more garbage\n";
    AfxSetRegistryDirectory(dir.c_str());
    EXPECT_EQ(AfxTakeRegistryProblems().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir / "registry.txt.unreadable.1"));
    EXPECT_TRUE(AfxRegGetDword(HKEY_CURRENT_USER, "Software\\A", "v", v));
}

TEST_F(RegistryTest, ApplicationProfile) {
    CWinApp app("KXTest");
    app.SetRegistryKey("Vendorless");
    EXPECT_EQ(app.GetProfileInt("Options", "show_row_numbers", 5), 5u);
    EXPECT_TRUE(app.WriteProfileInt("Options", "show_row_numbers", 0));
    EXPECT_EQ(app.GetProfileInt("Options", "show_row_numbers", 5), 0u);
    EXPECT_TRUE(app.WriteProfileString("Options", "move_direction", "down"));
    EXPECT_EQ(app.GetProfileString("Options", "move_direction"), "down");
    EXPECT_TRUE(app.WriteProfileString("Options", "move_direction", nullptr));
    EXPECT_EQ(app.GetProfileString("Options", "move_direction", "dflt"), "dflt");
}

TEST_F(RegistryTest, AFailedSaveReportsTheErrorAndLeavesNoTemporaryFile) {
    // A folder where the registry file should be makes every save fail.
    std::filesystem::create_directories(dir / "registry.txt");
    AfxSetRegistryDirectory(dir.c_str());
    EXPECT_FALSE(AfxRegSetDword(HKEY_CURRENT_USER, "Software\\A", "v", 1));
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1); // only the folder that blocked the save
}
