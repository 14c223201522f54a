// Pair nets named for one bit ("EW<3>"): made over two net bits, found by that name and by path,
// saved and loaded; two net bits that a pair joins already answer that pair.
#include "fixture.h"
#include "rmx/transaction.h"
#include "util.h"

namespace {

struct PairBits : BoardTest {
    INet* net(const char* n) { return board->findNet(n); }
    void makeLegs(CTransaction& t, int msb, int lsb) {
        ASSERT_NE(t.createNet("EW_P", static_cast<unsigned>(msb), static_cast<unsigned>(lsb)), nullptr);
        ASSERT_NE(t.createNet("EW_N", static_cast<unsigned>(msb), static_cast<unsigned>(lsb)), nullptr);
    }
    IDPNet* bitPair(CTransaction& t, const char* name, int bit) {
        return t.createDPNet(name, net("EW_P"), bit, IDPNet::ePositive, net("EW_N"), bit, IDPNet::eNegative);
    }
};

}  // namespace

TEST_F(PairBits, APairOverTwoNetBitsIsNamedForItsBitAndRoundTrips) {
    TempDir dir;
    std::string saved;
    {
        CTransaction t(top, "pairs");
        makeLegs(t, 7, 0);
        IDPNet* three = bitPair(t, "EW<3>", 3);
        ASSERT_NE(three, nullptr) << t.lastError().str();
        EXPECT_STREQ(three->name(), "EW<3>");
        EXPECT_EQ(three->positiveBit(), 3);
        EXPECT_EQ(three->msb(), -1);  // one pair of two bits: no lanes
        EXPECT_EQ(board->findDPNet("EW<3>"), three);
        EXPECT_EQ(board->findDPNet("EW"), nullptr);
        EXPECT_NE(bitPair(t, "EW<4>", 4), nullptr);
        EXPECT_EQ(server.findObject(top, "@~EW<3>"), three);
        EXPECT_EQ(server.findObject(top, "@~EW<5>"), nullptr);
        ASSERT_TRUE(t.addDPConn(three, -1, -1, board->findInstance("U1")->findDPInstTerm("CK"), -1, -1));
        ASSERT_TRUE(t.commit()) << t.lastError().str();
    }
    saved = snapshot(server, board);
    EXPECT_NE(saved.find("dpnet EW<3> EW_P<3> EW_N<3> -1 1"), std::string::npos) << saved;
    EXPECT_NE(saved.find("dpconn EW<3> -1 -1 U1 CK -1 -1"), std::string::npos) << saved;
    CString err;
    ASSERT_TRUE(server.saveLibrary("work", dir.str().c_str(), &err)) << err.str();
    IServer again;
    ASSERT_TRUE(again.loadLibrary(dir.str().c_str(), err)) << err.str();
    IDesign* loaded = again.findDesign("work.board:sch");
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->findDPNet("EW<3>"), nullptr);
    EXPECT_EQ(loaded->findDPNet("EW<3>")->positiveBit(), 3);
    EXPECT_EQ(snapshot(again, loaded), saved);
}

TEST_F(PairBits, ABitNameIsRefusedWhereThePairIsNoPairOfTwoBits) {
    const std::string before = snapshot(server, board);
    CTransaction t(top, "pairs");
    makeLegs(t, 3, 0);
    EXPECT_EQ(t.createDPNet("EW<3>", net("EW_P"), -1, IDPNet::ePositive, net("EW_N"), -1, IDPNet::eNegative),
              nullptr);
    EXPECT_EQ(board->findDPNet("EW<3>"), nullptr);
    EXPECT_EQ(bitPair(t, "EW<1..0>", 1), nullptr);  // a range names no one bit
    IDPNet* whole = t.createDPNet("EW", net("EW_P"), -1, IDPNet::ePositive, net("EW_N"), -1, IDPNet::eNegative);
    ASSERT_NE(whole, nullptr);
    EXPECT_FALSE(t.renameDPNet(whole, "EW<2>"));
    EXPECT_STREQ(whole->name(), "EW");
    IDPNet* scalars = t.createDPNet("CKB", net("CK_P"), -1, IDPNet::ePositive, net("CK_N"), -1, IDPNet::eNegative);
    ASSERT_NE(scalars, nullptr);
    EXPECT_FALSE(t.renameDPNet(scalars, "CKB<0>"));  // two scalar nets have no bit to name
    t.discard();
    EXPECT_EQ(snapshot(server, board), before);
}

TEST_F(PairBits, TwoNetBitsAlreadyPairedAnswerTheirPairAndMakeNothing) {
    CTransaction t(top, "pairs");
    makeLegs(t, 3, 0);
    IDPNet* bus = t.createDPNet("BUS", net("EW_P"), -1, IDPNet::ePositive, net("EW_N"), -1, IDPNet::eNegative);
    ASSERT_NE(bus, nullptr);
    const std::string withBus = snapshot(server, board);
    // A lane of the pair over the two whole nets is that pair, under its own name.
    EXPECT_EQ(bitPair(t, "EW<2>", 2), bus);
    EXPECT_EQ(board->findDPNet("EW<2>"), nullptr);
    EXPECT_EQ(snapshot(server, board), withBus);
    // Bits of other nets, or the legs the other way round, are no lane of it.
    ASSERT_NE(t.createNet("FX_P", 3u, 0u), nullptr);
    IDPNet* other = t.createDPNet("FX<2>", net("FX_P"), 2, IDPNet::ePositive, net("EW_N"), 2, IDPNet::eNegative);
    ASSERT_NE(other, nullptr);
    EXPECT_STREQ(other->name(), "FX<2>");
    // A pair over exactly these two bits is answered again.
    EXPECT_EQ(t.createDPNet("FX2", net("FX_P"), 2, IDPNet::ePositive, net("EW_N"), 2, IDPNet::eNegative), other);
    EXPECT_EQ(board->findDPNet("FX2"), nullptr);
    // So is the pair over the two whole nets: no second pair is made over them.
    EXPECT_EQ(t.createDPNet("EW", net("EW_P"), -1, IDPNet::ePositive, net("EW_N"), -1, IDPNet::eNegative), bus);
    EXPECT_EQ(board->findDPNet("EW"), nullptr);
}
