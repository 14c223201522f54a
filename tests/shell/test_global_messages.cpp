#include "grid/KXGlobalMessages.h"

#include "afx/afxwin.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(GlobalMessages, EveryNameIsRegisteredAtLoadAndCopiesAgree) {
    std::set<UINT> numbers;
    for (const auto& m : KXRegisteredMessages()) {
        EXPECT_NE(*m.number, 0u) << m.name;
        EXPECT_EQ(*m.number, RegisterWindowMessageA(m.name)) << m.name;
        numbers.insert(*m.number);
    }
    EXPECT_EQ(KXRegisteredMessages().size(), 36u);
    EXPECT_EQ(numbers.size(), 31u); // 36 variables, 31 distinct names
    EXPECT_EQ(g_msgFillSignalData[0], g_msgFillSignalData[2]);
    EXPECT_EQ(g_msgGetDockWndStatus[0], g_msgGetDockWndStatus[1]);
    EXPECT_NE(g_msgFillSignalData[0], g_msgFillInstanceData[0]);
}

TEST(GlobalMessages, TerminationTypesInTheirFixedOrder) {
    const char* expected[] = {"Series",          "Shunt",          "ShuntRC", "GNDClampDiode",
                              "PowerClampDiode", "DualClampDiode", "Thevenin"};
    ASSERT_EQ(sizeof(g_szTerminationTypes) / sizeof(g_szTerminationTypes[0]), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(g_szTerminationTypes[i], expected[i]);
}
