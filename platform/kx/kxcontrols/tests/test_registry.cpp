#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "afx/afxreg.h"
#include "kxcontrols/KXRegistrySettings.h"

TEST(RegistrySettings, ValuesRoundTripPerKeyAndAbsentLeavesDefault) {
    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey());
    EXPECT_TRUE(CKXRegistrySettings::SetToRegistry("show_row_numbers", 1));
    EXPECT_TRUE(CKXRegistrySettings::SetToRegistry("move_direction", "RIGHT"));
    CKXRegistrySettings::CloseRegistryKey();

    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey("KXFrame"));
    int hide = 0;
    EXPECT_FALSE(CKXRegistrySettings::GetFromRegistry("show_row_numbers", hide)); // other key
    EXPECT_EQ(hide, 0);
    CKXRegistrySettings::SetToRegistry("HIDE_SAVECTXT_DESIGN_MSG", 1);
    CKXRegistrySettings::CloseRegistryKey();

    CKXRegistrySettings::OpenRegistryKey();
    int rows = 0;
    CString dir = "unchanged";
    DWORD autoComplete = 1;
    EXPECT_TRUE(CKXRegistrySettings::GetFromRegistry("show_row_numbers", rows));
    EXPECT_EQ(rows, 1);
    EXPECT_TRUE(CKXRegistrySettings::GetFromRegistry("move_direction", dir));
    EXPECT_EQ(dir, "RIGHT");
    EXPECT_FALSE(CKXRegistrySettings::GetFromRegistry("auto_complete_signals", autoComplete));
    EXPECT_EQ(autoComplete, 1u);
    // A text read as a number (and the other way round) counts as absent.
    int asNumber = 7;
    EXPECT_FALSE(CKXRegistrySettings::GetFromRegistry("move_direction", asNumber));
    EXPECT_EQ(asNumber, 7);
    EXPECT_TRUE(CKXRegistrySettings::DeleteFromRegistry("move_direction"));
    EXPECT_FALSE(CKXRegistrySettings::GetFromRegistry("move_direction", dir));
    CKXRegistrySettings::CloseRegistryKey();
}

TEST(RegistrySettings, NothingWithoutAnOpenKey) {
    CKXRegistrySettings::CloseRegistryKey();
    int v = 3;
    EXPECT_FALSE(CKXRegistrySettings::GetFromRegistry("show_row_numbers", v));
    EXPECT_FALSE(CKXRegistrySettings::SetToRegistry("x", 1));
    EXPECT_FALSE(CKXRegistrySettings::IsRegistryKeyOpen());
    CKXRegistrySettings::OpenRegistryKey("CCP\\PIN_NAME");
    EXPECT_EQ(CKXRegistrySettings::GetOpenKeyPath(), CString(CKXRegistrySettings::GetBaseKey()) + "\\CCP\\PIN_NAME");
    EXPECT_FALSE(CKXRegistrySettings::SetToRegistry("", 1));
    CKXRegistrySettings::CloseRegistryKey();
}

TEST(RegistrySettings, ValuesPersistInTheRegistryFile) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("kxreg_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    AfxSetRegistryDirectory(dir.string().c_str());
    CKXRegistrySettings::OpenRegistryKey("KXFrame");
    EXPECT_TRUE(CKXRegistrySettings::SetToRegistry("HIDE_SAVECTXT_DESIGN_MSG", 1));
    EXPECT_TRUE(CKXRegistrySettings::SetToRegistry("last_text", "a \"quoted\" text"));
    CKXRegistrySettings::CloseRegistryKey();
    AfxSetRegistryDirectory(dir.string().c_str()); // reloads from the file
    CKXRegistrySettings::OpenRegistryKey("KXFrame");
    int hide = 0;
    CString text;
    EXPECT_TRUE(CKXRegistrySettings::GetFromRegistry("HIDE_SAVECTXT_DESIGN_MSG", hide));
    EXPECT_EQ(hide, 1);
    EXPECT_TRUE(CKXRegistrySettings::GetFromRegistry("last_text", text));
    EXPECT_EQ(text, "a \"quoted\" text");
    CKXRegistrySettings::CloseRegistryKey();
    AfxSetRegistryDirectory("");
    fs::remove_all(dir);
}
