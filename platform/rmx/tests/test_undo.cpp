// Every kind of edit, undone three ways: discard, the backward text, and a reload of the saved
// file; the design must come back byte for byte, and the forward text must redo it exactly.
#include "fixture.h"
#include "util.h"

namespace {

// One transaction that uses every edit the database offers.
void editEverything(CTransaction& t, IDesign* board, IServer& server) {
    CDesignContext ctx(&server, board);
    auto inst = [&](const char* n) { return board->findInstance(n); };
    auto pin = [&](const char* i, const char* p) { return inst(i)->findInstTerm(p); };
    INet* addr = t.createNet("ADDR", 3, 0, INet::eScopeGlobal, ITerm::eTermOutput);
    ASSERT_NE(addr, nullptr);
    ASSERT_TRUE(t.renameNet(board->findNet("SYSCLK"), "SYS_CLK"));
    ASSERT_TRUE(t.changeNetWidth(board->findNet("DATA"), 9, 2));  // bits 1 and 0 go away
    ASSERT_TRUE(t.addConn(addr, 3, 0, pin("B1", "D"), 3, 0));
    ASSERT_TRUE(t.swapConn(pin("U1", "D"), 5, pin("U1", "D"), 6));
    ASSERT_TRUE(t.removeAlias(board->findNet("CLK")->beginAlias().current()));
    ASSERT_TRUE(t.addAlias(board->findNet("CLK"), board->findNet("SYS_CLK")));
    ASSERT_TRUE(t.addProperty(ctx.net("ADDR").bitContext(2), "NOTE", "line1\nline2 \"q\"", 7));
    ASSERT_TRUE(t.addProperty(ctx.instance("U1"), "LOCATION", "U77", 2));
    ASSERT_TRUE(t.removeProperty(ctx.net("CLK").bitContext(-1), "PHYS_NET_NAME"));
    IInstance* r5 = t.createInstance("R5", "work", "RES", "sym");
    ASSERT_NE(r5, nullptr);
    ASSERT_TRUE(t.renameInstance(r5, "R6"));
    ASSERT_TRUE(t.renameInstTerm(pin("R6", "A"), "A1"));
    ASSERT_TRUE(t.changeInstTermType(pin("R6", "B"), ITerm::eTermPower, ITerm::eDirInput));
    ASSERT_TRUE(t.changeInstTermWidth(pin("R6", "B"), 1, 0));
    ASSERT_TRUE(t.createInstTerm(r5, "EXTRA", -1, -1));
    ASSERT_TRUE(t.replaceMaster(inst("R1"), "work", "MEM", "sym"));
    ASSERT_TRUE(t.setPowerPinNet(inst("U1"), "VDD", "VCC_IO"));
    ASSERT_TRUE(t.setPowerPinNet(inst("U1"), "VDD", "VCC_CORE"));
    ASSERT_TRUE(t.removePowerPinNet(inst("U1"), "VDD"));
    ASSERT_TRUE(t.setPowerPinNet(inst("U1"), "VSS", "AGND"));
    IDPNet* dp = board->findDPNet("CKD");
    ASSERT_TRUE(t.renameDPNet(dp, "CKPAIR"));
    IDPInstTerm* ck = inst("U1")->findDPInstTerm("CK");
    ASSERT_TRUE(t.removeDPConn(dp, -1, -1, ck, -1, -1));
    IDTInstance* rt2 = board->findDTInstance("RT2");
    ASSERT_TRUE(t.attachDTInstance(rt2, CInstTermBit(pin("U1", "CLK"), -1)));
    ASSERT_TRUE(t.addDPConn(dp, -1, -1, ck, -1, -1));
    ASSERT_TRUE(t.attachDTInstance(rt2, ck->dpConn()));
    IDPInstTerm* user = t.createDPInstTerm(inst("U1"), "DP01", pin("U1", "D"), 7, pin("U1", "D"), 6);
    ASSERT_NE(user, nullptr);
    ASSERT_TRUE(t.removeDPInstTerm(user));
    IDTInstance* pu = t.createDTInstance(IDTInstance::ePullUpDown, "PullUp", "RP9", CNetBit(addr, 1));
    ASSERT_NE(pu, nullptr);
    ASSERT_TRUE(t.addProperty(pu, -1, "VALUE", "4k7", 0));
    ASSERT_TRUE(t.changeDTType(board->findDTInstance("RT1"), "Shunt"));
    ASSERT_TRUE(t.removeDTInstance(board->findDTInstance("RP1")));
    ASSERT_TRUE(t.removeInstance(inst("B1")));
    ASSERT_TRUE(t.removeNet(board->findNet("CK_N")));
}

struct Undo : ::testing::Test {
    IServer server;
    IDesign* board = nullptr;
    void SetUp() override { board = buildBoard(&server); }
};

}  // namespace

TEST_F(Undo, DiscardOfEveryKindOfEditIsByteIdentical) {
    std::string before = snapshot(server, board);
    CTransaction t(CDesignContext(&server, board));
    editEverything(t, board, server);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_NE(snapshot(server, board), before);
    t.discard();
    EXPECT_EQ(snapshot(server, board), before);
}

TEST_F(Undo, BackwardTextUndoesAndForwardTextRedoesEveryKindOfEdit) {
    std::string before = snapshot(server, board);
    CString text;
    std::string after;
    {
        CTransaction t(CDesignContext(&server, board));
        editEverything(t, board, server);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(t.commit());
        after = snapshot(server, board);
        text = t.toString();
    }
    for (int round = 0; round < 2; ++round) {
        CTransaction undo(&server, text, true, false);
        ASSERT_TRUE(undo.commit()) << undo.lastError().str();
        ASSERT_EQ(snapshot(server, board), before) << "round " << round;
        CTransaction redo(&server, text, true, true);
        ASSERT_TRUE(redo.commit()) << redo.lastError().str();
        ASSERT_EQ(snapshot(server, board), after) << "round " << round;
    }
    // The text of an undo is a transaction of its own: replayed, it undoes again.
    CTransaction undo(&server, text, true, false);
    ASSERT_TRUE(undo.commit());
    CTransaction redo(&server, text, true, true);
    ASSERT_TRUE(redo.commit());
    CTransaction undoAgain(&server, undo.toString(), true, true);
    ASSERT_TRUE(undoAgain.commit()) << undoAgain.lastError().str();
    EXPECT_EQ(snapshot(server, board), before);
}

namespace {

// The renames of a transaction as "TYPE PREVIOUS", in commit order.
std::vector<std::string> renames(const CTransaction& t) {
    std::vector<std::string> out;
    for (IChange* c : t.beginChange())
        if (c->changeKind() == rmx::ChangeKind::Renamed && c->objectType() != 'X')
            out.push_back(std::string(1, c->objectType()) + " " + c->previousName());
    return out;
}

}  // namespace

// A rename's record names what the object was called before it, whichever way the text runs: those who
// keep objects by name (stored views, comments) follow a rename and its undo.
TEST_F(Undo, RenameRecordsNameTheObjectAsItWasCalledBefore) {
    CString text;
    {
        CTransaction t(CDesignContext(&server, board));
        ASSERT_TRUE(t.renameNet(board->findNet("SYSCLK"), "SYS_CLK"));
        ASSERT_TRUE(t.renameNet(board->findNet("SYS_CLK"), "SYS_CLK2"));
        ASSERT_TRUE(t.renameInstance(board->findInstance("R1"), "R7"));
        ASSERT_TRUE(t.renameInstTerm(board->findInstance("R7")->findInstTerm("A"), "A1"));
        ASSERT_TRUE(t.renameDPNet(board->findDPNet("CKD"), "CKPAIR"));
        ASSERT_TRUE(t.commit());
        EXPECT_EQ(renames(t), (std::vector<std::string>{"N SYSCLK", "N SYS_CLK", "I R1", "T A", "O CKD"}));
        text = t.toString();
    }
    CTransaction undo(&server, text, true, false);
    ASSERT_TRUE(undo.commit()) << undo.lastError().str();
    EXPECT_EQ(renames(undo),
              (std::vector<std::string>{"O CKPAIR", "T A1", "I R7", "N SYS_CLK2", "N SYS_CLK"}));
    EXPECT_NE(board->findNet("SYSCLK"), nullptr);
    // Other records name nothing.
    CTransaction t(CDesignContext(&server, board));
    ASSERT_TRUE(t.createNet("FRESH", -1, -1));
    for (IChange* c : t.beginChange())
        EXPECT_STREQ(c->previousName(), "");
}

TEST_F(Undo, SavedAfterEveryKindOfEditReloadsTheSame) {
    TempDir dir;
    CTransaction t(CDesignContext(&server, board));
    editEverything(t, board, server);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(t.commit());
    CString err;
    ASSERT_TRUE(server.saveLibrary("work", dir.str().c_str(), &err)) << err.str();
    IServer other;
    ASSERT_TRUE(other.loadLibrary(dir.str().c_str(), err)) << err.str();
    EXPECT_EQ(snapshot(other, other.findDesign("work.board:sch")), snapshot(server, board));
}
