#include "grid/KXProjectReader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
// Each test keeps its project alive for the reader that reads it.
CKXVpxProject g_project;
CKXProjectReader Load(const char* text) {
    CString error;
    g_project = CKXVpxProject();
    EXPECT_TRUE(CKXProjectReader::LoadText(text, g_project, error)) << error.GetString();
    return CKXProjectReader(&g_project);
}
} // namespace

TEST(ProjectReader, ReadsTheSharedProjectByDefault) {
    CKXVpxProject project;
    project.AddValue("GRIDWORKSHOP", "max_open_windows", "3");
    CKXVpxProject* saved = CKXShareGlobalData::m_pVpxProject;
    CKXShareGlobalData::m_pVpxProject = &project;
    CKXProjectReader r;
    int n = 0;
    EXPECT_EQ(r.ProjectFindProgram("GridWorkshop"), KXPROJ_OK);
    EXPECT_EQ(r.ProjectGetIntDirective("max_open_windows", n), KXPROJ_OK);
    EXPECT_EQ(n, 3);
    CKXShareGlobalData::m_pVpxProject = nullptr;
    EXPECT_EQ(CKXProjectReader().ProjectFindProgram("GridWorkshop"), KXPROJ_NOT_FOUND);
    CKXShareGlobalData::m_pVpxProject = saved;
}

TEST(ProjectReader, SectionsAndDirectivesAreFoundWithoutRegardToCase) {
    CKXProjectReader r = Load(
        "[GRIDWORKSHOP]\nauto_connect_dpleg ON\nmax_open_windows 7\n[VellumDraw]\nALLOW_POWER_PINS on\n");
    EXPECT_EQ(r.ProjectFindProgram("gridworkshop"), KXPROJ_OK);
    int n = -1;
    EXPECT_EQ(r.ProjectGetIntDirective("MAX_OPEN_WINDOWS", n), KXPROJ_OK);
    EXPECT_EQ(n, 7);
    BOOL b = FALSE;
    EXPECT_EQ(r.ProjectGetBoolDirective("Auto_Connect_DPLeg", b, 1), KXPROJ_OK);
    EXPECT_TRUE(b);
    // Directives are looked up in the section selected last.
    EXPECT_NE(r.ProjectGetBoolDirective("ALLOW_POWER_PINS", b, 1), KXPROJ_OK);
    EXPECT_EQ(KXProjectErrorText(), CString("VPX_NOTE: Can't find the directive \"ALLOW_POWER_PINS\""));
    EXPECT_EQ(r.ProjectFindProgram("nosuch"), KXPROJ_NOT_FOUND);
    EXPECT_EQ(KXProjectErrorText(), CString("VPX_NOTE: Can't find the program \"nosuch\""));
}

TEST(ProjectReader, BooleanStylesAndUntouchedDefaults) {
    CKXProjectReader r = Load("[S]\nflag ON on yes true\n");
    ASSERT_EQ(r.ProjectFindProgram("S"), KXPROJ_OK);
    ASSERT_EQ(r.ProjectFindDirective("flag"), KXPROJ_OK);
    BOOL b = 7;
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 1), KXPROJ_OK);
    EXPECT_TRUE(b);
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 1), KXPROJ_OK);
    EXPECT_TRUE(b);
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 1), KXPROJ_OK);
    EXPECT_FALSE(b); // "yes" is not "on"
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 2), KXPROJ_OK);
    EXPECT_TRUE(b);
    b = 7;
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 1), KXPROJ_NO_VALUE);
    EXPECT_EQ(b, 7); // used up: untouched, and the cursor starts again
    EXPECT_EQ(r.ProjectGetDirectiveBool(b, 9), KXPROJ_OK);
    EXPECT_FALSE(b); // an unknown style is never true
    int n = 42;
    EXPECT_EQ(r.ProjectGetIntDirective("missing", n), KXPROJ_NOT_FOUND);
    EXPECT_EQ(n, 42);
}

TEST(ProjectReader, ExpansionOfEnvironmentReferences) {
    ::setenv("KXT_A", "alpha", 1);
    ::setenv("KXT_DIR", "/opt/x/", 1);
    ::unsetenv("KXT_NONE");
    CString out, err;
    EXPECT_EQ(ExpandEnvironmentReferences("${KXT_A}-$(KXT_A)-$KXT_A:tail", out, err), 1);
    EXPECT_EQ(out, CString("alpha-alpha-alpha:tail"));
    EXPECT_EQ(ExpandEnvironmentReferences("$KXT_DIR/share", out, err), 1);
    EXPECT_EQ(out, CString("/opt/x/share"));

    EXPECT_EQ(ExpandEnvironmentReferences("${KXT_A", out, err), 0);
    EXPECT_EQ(err, CString("Closing '}' not found."));
    EXPECT_EQ(ExpandEnvironmentReferences("${KX.A}", out, err), 0);
    EXPECT_EQ(err, CString("Invalid character . found in environment variable name"));
    EXPECT_EQ(ExpandEnvironmentReferences("${KXT_NONE}", out, err), 0);
    EXPECT_EQ(err, CString("Environment Variable KXT_NONE not set"));
    EXPECT_EQ(ExpandEnvironmentReferences("$(KXT_NONE)", out, err), 0);
    EXPECT_EQ(err, CString("Environment Variable KXT_NONE not set."));
    EXPECT_EQ(ExpandEnvironmentReferences("$KXT_NONE", out, err), 0);
    EXPECT_EQ(err, CString("Environment variable KXT_NONE not set."));
    EXPECT_EQ(ExpandEnvironmentReferences("$%", out, err), 0);
    EXPECT_EQ(err, CString("Invalid character % found after '${'"));
}

TEST(ProjectReader, InstallRootComesFromTheServiceNotTheEnvironment) {
    ::setenv("ZRV_INST_DIR", "/from/env", 1);
    KXSetInstallRootProvider([](CString& root) {
        root = "C:\\inst\\";
        return true;
    });
    CString out, err;
    EXPECT_EQ(ExpandEnvironmentReferences("${ZRV_INST_DIR}/share", out, err), 1);
    EXPECT_EQ(out, CString("C:\\inst/share"));
    CString dir;
    EXPECT_FALSE(GetInstallDirectory("ZRV_INST", dir));
    KXSetInstallRootProvider([](CString&) { return false; });
    EXPECT_EQ(ExpandEnvironmentReferences("${ZRV_INST_DIR}", out, err), 0);
    EXPECT_EQ(err, CString("Environment Variable ZRV_INST_DIR not set"));
    KXSetInstallRootProvider(nullptr);
    ::unsetenv("ZRV_INST_DIR");
}

TEST(ProjectReader, AValueThatCannotBeExpandedIsAFailureNotASuccess) {
    ::unsetenv("KXT_NONE");
    CKXProjectReader r = Load("[S]\nn $KXT_NONE\nm ${KXT_NONE}x 5\n");
    ASSERT_EQ(r.ProjectFindProgram("S"), KXPROJ_OK);
    int n = 11;
    EXPECT_EQ(r.ProjectGetIntDirective("n", n), KXPROJ_EXPAND_ERROR);
    EXPECT_EQ(n, 11);
    EXPECT_EQ(KXProjectErrorText(), CString("Environment variable KXT_NONE not set."));
    // Without expansion the raw text is the value.
    r.m_bExpand = 0;
    CString s;
    ASSERT_EQ(r.ProjectFindDirective("m"), KXPROJ_OK);
    EXPECT_EQ(r.ProjectGetDirectiveString(s), KXPROJ_OK);
    EXPECT_EQ(s, CString("${KXT_NONE}x"));
}

TEST(ProjectReader, OverlongExpansionIsRefused) {
    std::string longValue(3000, 'v');
    ::setenv("KXT_LONG", longValue.c_str(), 1);
    CString out = "keep", err;
    EXPECT_EQ(ExpandEnvironmentReferences("$KXT_LONG", out, err), 0);
    EXPECT_EQ(out, CString("keep"));
    EXPECT_FALSE(err.IsEmpty());
}

TEST(ProjectReader, BadProjectTextIsRefusedWithItsLine) {
    CKXVpxProject project;
    project.AddValue("KEEP", "x", "1");
    CString error;
    EXPECT_FALSE(CKXProjectReader::LoadText("# c\nloose 1\n", project, error));
    EXPECT_EQ(error, CString("line 2: directive \"loose\" outside a section"));
    EXPECT_EQ(project.m_sections.size(), 1u);
    EXPECT_FALSE(CKXProjectReader::LoadText("[A]\n[B C]\n", project, error));
    EXPECT_EQ(error.Left(7), CString("line 2:"));
}

TEST(ProjectReader, WithoutAProviderTheInstallRootServiceNamesTheInstallation) {
    KXSetInstallRootProvider(nullptr);
    const char* saved = std::getenv("ZRV_INSTALL_ROOT");
    const std::string keep = saved ? saved : "";
    ::setenv("ZRV_INSTALL_ROOT", "/opt/kx/", 1);
    ::setenv("ZRV_INST_DIR", "/from/env", 1); // never consulted for this name
    CKXProjectReader r = Load("[GRIDWORKSHOP]\nmodels ${ZRV_INST_DIR}/share/models\n");
    ASSERT_EQ(r.ProjectFindProgram("GRIDWORKSHOP"), KXPROJ_OK);
    ASSERT_EQ(r.ProjectFindDirective("models"), KXPROJ_OK);
    CString value;
    EXPECT_EQ(r.ProjectGetDirectiveString(value), KXPROJ_OK);
    EXPECT_EQ(value, CString("/opt/kx/share/models"));
    // Without the variable the service names the folder above the library that holds it.
    ::unsetenv("ZRV_INSTALL_ROOT");
    CString dir;
    ASSERT_TRUE(GetInstallDirectory("ZRV_INST_DIR", dir));
    EXPECT_FALSE(dir.IsEmpty());
    EXPECT_NE(dir, CString("/from/env"));
    ::unsetenv("ZRV_INST_DIR");
    if (saved) ::setenv("ZRV_INSTALL_ROOT", keep.c_str(), 1);
}
