#include <gtest/gtest.h>

#include <string>

#include "kxcontrols/KXTclCmdManager.h"

class TclCmdTest : public ::testing::Test {
protected:
    void SetUp() override { CKXTclCmdManager::ResetTCLCommands(); }
    void TearDown() override { CKXTclCmdManager::ResetTCLCommands(); }
};

TEST_F(TclCmdTest, WordsMapToNumbersAndBack) {
    UINT add = CKXTclCmdManager::RegisterTCLCommand("addConnection");
    UINT swap = CKXTclCmdManager::RegisterTCLCommand("swapSignal");
    EXPECT_EQ(add, MSG_TCL_COMMAND_FIRST);
    EXPECT_EQ(swap, MSG_TCL_COMMAND_FIRST + 1);
    EXPECT_EQ(CKXTclCmdManager::RegisterTCLCommand("addConnection"), add); // same word, same number
    EXPECT_STREQ(CKXTclCmdManager::GetTCLCommandName(add), "addConnection");
    EXPECT_STREQ(CKXTclCmdManager::GetTCLCommandName(swap), "swapSignal");
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandId("swapSignal"), swap);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandCount(), 2);
}

TEST_F(TclCmdTest, WordsAreCaseSensitiveAndEmptyRefused) {
    UINT a = CKXTclCmdManager::RegisterTCLCommand("undo");
    UINT b = CKXTclCmdManager::RegisterTCLCommand("Undo");
    EXPECT_NE(a, b);
    EXPECT_EQ(CKXTclCmdManager::RegisterTCLCommand(""), 0u);
    EXPECT_EQ(CKXTclCmdManager::RegisterTCLCommand(nullptr), 0u);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandId("redo"), 0u);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandId(nullptr), 0u);
}

TEST_F(TclCmdTest, NumbersOutsideTheRangeOrUnusedGiveNoWord) {
    CKXTclCmdManager::RegisterTCLCommand("ascend");
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandName(MSG_TCL_COMMAND_FIRST - 1), nullptr);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandName(MSG_TCL_COMMAND_LAST + 1), nullptr);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandName(MSG_TCL_COMMAND_FIRST + 1), nullptr);
    EXPECT_EQ(CKXTclCmdManager::GetTCLCommandName(0), nullptr);
    EXPECT_TRUE(CKXTclCmdManager::IsTCLCommandMessage(0x8411));
    EXPECT_TRUE(CKXTclCmdManager::IsTCLCommandMessage(0x85A1));
    EXPECT_FALSE(CKXTclCmdManager::IsTCLCommandMessage(0x8410));
    EXPECT_FALSE(CKXTclCmdManager::IsTCLCommandMessage(0x85A2));
}

TEST_F(TclCmdTest, RangeHoldsExactly401WordsThenRefuses) {
    UINT last = 0;
    for (int i = 0; i < 401; ++i) last = CKXTclCmdManager::RegisterTCLCommand(("cmd" + std::to_string(i)).c_str());
    EXPECT_EQ(last, MSG_TCL_COMMAND_LAST);
    EXPECT_STREQ(CKXTclCmdManager::GetTCLCommandName(MSG_TCL_COMMAND_LAST), "cmd400");
    EXPECT_EQ(CKXTclCmdManager::RegisterTCLCommand("oneTooMany"), 0u);
    EXPECT_EQ(CKXTclCmdManager::RegisterTCLCommand("cmd7"), MSG_TCL_COMMAND_FIRST + 7); // known words still work
}
