#include "kxsmall/CPQRedsDictionary.h"
#include "kxsmall/KXSmallExport.h"
#include "kxsmall/RMXVariantManager.h"
#include "kxsmall/zrvCommon.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(SmallServices, SubToolIdFromTheEnvironment) {
    ::unsetenv("RMX_SUBTOOL_ID");
    EXPECT_EQ(RMXVMGetSubToolID(), 0);
    ::setenv("RMX_SUBTOOL_ID", "7", 1);
    EXPECT_EQ(RMXVMGetSubToolID(), 7);
    for (const char* bad : {"7x", "-3", "99999999999999", ""}) {
        ::setenv("RMX_SUBTOOL_ID", bad, 1);
        EXPECT_EQ(RMXVMGetSubToolID(), 0) << bad;
    }
    ::unsetenv("RMX_SUBTOOL_ID");
}

TEST(SmallServices, InstallRootIsAnOwnedCopy) {
    ::setenv("ZRV_INSTALL_ROOT", "/opt/tools", 1);
    char* root = zrvGetInstallRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root, "/opt/tools");
    zrvFree(root);
    ::unsetenv("ZRV_INSTALL_ROOT");
    root = zrvGetInstallRoot(); // the folder above the library's folder
    ASSERT_NE(root, nullptr);
    EXPECT_GT(std::string(root).size(), 0u);
    zrvFree(root);
}

TEST(SmallServices, ConstraintDictionary) {
    CPQRedsDictionary* d = CPQRedsDictionary::GetDictionary();
    d->Reset();
    EXPECT_TRUE(d->IsConstraint("MAX_DELAY", false));
    EXPECT_TRUE(d->IsConstraint("max_delay", false));
    EXPECT_FALSE(d->IsConstraint("max_delay", true));
    EXPECT_FALSE(d->IsConstraint("PINUSE", false));
    EXPECT_FALSE(d->IsConstraint("", false));
    d->AddConstraint("SKEW");
    EXPECT_TRUE(d->IsConstraint("skew", false));
    d->Reset();
    EXPECT_FALSE(d->IsConstraint("skew", false));
}

TEST(SmallServices, InitialisationExports) {
    EXPECT_TRUE(InitKXAddBlockDLL());
    EXPECT_TRUE(InitKXModelAssignDLL());
    EXPECT_TRUE(KXSmallIsInitialised("kxaddblock"));
    EXPECT_FALSE(KXSmallIsInitialised("other"));
    EXPECT_FALSE(KXSmallIsInitialised(nullptr));
}

} // namespace
