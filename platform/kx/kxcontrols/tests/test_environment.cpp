#include <gtest/gtest.h>

#include "afx/afxreg.h"

namespace {
// Settings written by the tests stay in memory, never in the user's registry file.
class MemoryRegistry : public ::testing::Environment {
public:
    void SetUp() override { AfxSetRegistryDirectory(""); }
};
const auto* const g_registry = ::testing::AddGlobalTestEnvironment(new MemoryRegistry);
} // namespace
