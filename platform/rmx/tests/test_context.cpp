#include "fixture.h"
#include "util.h"

namespace {
struct Ctx : BoardTest {};
}  // namespace

TEST_F(Ctx, PathsNavigationAndEmptyContexts) {
    CInstanceContext u1 = top.instance("U1");
    ASSERT_TRUE(u1);
    EXPECT_STREQ(u1.spath(), "@U1");
    EXPECT_STREQ(u1.cpath(), "work.board:sch@U1");
    CInstTermBitContext d3 = u1.instTerm("D").bitContext(3);
    EXPECT_STREQ(d3.spath(), "@U1.D<3>");
    EXPECT_STREQ(d3.physicalPinName(), "A4");
    EXPECT_STREQ(d3.netbitOuter().spath(), "@:DATA<3>");
    EXPECT_EQ(d3.instance(), u1);
    EXPECT_STREQ(top.spath(), "@");
    EXPECT_STREQ(top.net("CLK").spath(), "@:CLK");

    CInstanceContext none = top.instance("NOPE");
    EXPECT_TRUE(!none);
    EXPECT_STREQ(none.spath(), "");
    EXPECT_FALSE(u1.instTerm("D").bitContext(8));
    EXPECT_FALSE(top.instance(static_cast<unsigned>(9999)));
    EXPECT_FALSE(CDesignContext(&server, "work.nothing:sch"));
    EXPECT_EQ(u1.containedDesign().design(), nullptr);  // a leaf
    EXPECT_STREQ(u1.physicalPackageName(), "U1");
    EXPECT_EQ(top.instance("B1").physicalPackageName(), nullptr);

    // Look-ups by id agree with look-ups by name.
    unsigned id = u1.instance()->id();
    EXPECT_EQ(top.instance(id), u1);
    IInstTerm* d = u1.instance()->findInstTerm("D");
    EXPECT_EQ(u1.instTerm(d->id()).instTerm(), d);
    EXPECT_EQ(top.net(board->findNet("DATA")->id()).net(), board->findNet("DATA"));
    EXPECT_EQ(server.findObjectById(board, 'I', id), u1.instance());
    EXPECT_EQ(server.findObjectById(board, 'X', board->findDTInstance("RT1")->id()), board->findDTInstance("RT1"));
    EXPECT_EQ(server.findObjectById(board, 'Q', 1), nullptr);
    EXPECT_EQ(server.findObjectById(nullptr, 'I', id), nullptr);
}

TEST_F(Ctx, HierarchyResolvesThroughTheParent) {
    CInstanceContext b1 = top.instance("B1");
    CDesignContext inner = b1.containedDesign();
    ASSERT_TRUE(inner);
    EXPECT_STREQ(inner.spath(), "@B1");
    EXPECT_EQ(inner.parent(), b1);
    EXPECT_FALSE(top.parent());
    CInstanceContext r1 = inner.instance("R1");
    EXPECT_STREQ(r1.spath(), "@B1@R1");
    CNetBitContext innerClk = r1.instTerm("A").bitContext(-1).netbitOuter();
    EXPECT_STREQ(innerClk.spath(), "@B1:CLK");
    // The port net climbs to the parent's net, whose physical name is set there.
    CNetBitContext base = innerClk.base();
    EXPECT_STREQ(base.spath(), "@:CLK");
    EXPECT_STREQ(innerClk.physicalNetName(), "CLK_MAIN");
    // Pin bit of the block: outer and inner net bits.
    CInstTermBitContext bd2 = b1.instTerm("D").bitContext(2);
    EXPECT_STREQ(bd2.netbitOuter().spath(), "@:DATA<2>");
    EXPECT_STREQ(bd2.netbitInner().spath(), "@B1:D<2>");
    EXPECT_TRUE(board->findInstance("B1")->hasOwnConnectivity());
    // Server look-up by path with the hierarchy, and by canonical path.
    std::unique_ptr<CContext> c(server.getContext(top, "@B1@R1.A"));
    ASSERT_TRUE(c);
    EXPECT_NE(dynamic_cast<CInstTermContext*>(c.get()), nullptr);
    EXPECT_STREQ(c->spath(), "@B1@R1.A");
    int bit = 0;
    EXPECT_EQ(server.findObject("work.board:sch@U1.D<6>", &bit), board->findInstance("U1")->findInstTerm("D"));
    EXPECT_EQ(bit, 6);
    for (const char* bad : {"", "@U1.", "@U1.D<8>", "@:", "U1", "@NOPE", "@U1@X", "@:DATA<x>", "work.board:sch"})
        EXPECT_EQ(server.findObject(top, bad), nullptr) << bad;
    IDesign* blk = server.findDesign("work.BLK:sch");
    EXPECT_EQ(blk->parentInstance(), board->findInstance("B1"));
}

TEST_F(Ctx, AliasesAndPropertiesThroughAliases) {
    CNetBitContext sys = top.net("SYSCLK").bitContext(-1);
    auto aliases = sys.beginAlias();
    ASSERT_EQ(aliases.count(), 1u);
    EXPECT_EQ(aliases.current().net(), board->findNet("CLK"));
    EXPECT_EQ(sys.findProperty("PHYS_NET_NAME"), nullptr);
    std::unique_ptr<CPQPropertyData> p(sys.findPropertyIncludingAliases("PHYS_NET_NAME"));
    ASSERT_TRUE(p);
    EXPECT_STREQ(p->value(), "CLK_MAIN");
    EXPECT_STREQ(p->ownerPath(), "@:CLK");
    // Pull-ups hang on the net bit, terminations on the pin bit.
    EXPECT_EQ(CNetBit(board->findNet("CLK"), -1).beginAssociatedDTInstance().current()->name(), std::string("RP1"));
    IDTInstance* rt1 = board->findDTInstance("RT1");
    INet* n = nullptr;
    int b = 0;
    ASSERT_TRUE(rt1->getNetAndBit(n, b));
    EXPECT_EQ(n, board->findNet("DATA"));
    EXPECT_EQ(b, 3);
    CInstTermBit ck(board->findInstance("U1")->findInstTerm("CK_P"), -1);
    ISchemaObject* first = ck.beginSchemaObject().current();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getObjectType(), 82);  // the pair pin
    CContainerContext cont = top.container(static_cast<IDPInstTerm*>(first));
    EXPECT_EQ(cont.beginInstTerm().count(), 2u);
}

TEST_F(Ctx, IteratorsAreSnapshots) {
    auto nets = board->beginNet();
    size_t n = nets.count();
    {
        CTransaction t(top);
        t.createNet("EXTRA", -1, -1);
        size_t seen = 0;
        for (INet* x : nets) {
            (void)x;
            ++seen;
        }
        EXPECT_EQ(seen, n);
        EXPECT_EQ(board->beginNet().count(), n + 1);
    }
    auto conns = board->findNet("DATA")->beginConn();
    EXPECT_EQ(conns.count(), 2u);  // U1.D and B1.D, one range each
    EXPECT_EQ(conns.current().width(), 8);
}

TEST_F(Ctx, WholeObjectBitsAndOtherContextKinds) {
    CNetContext data = top.net("DATA");
    CNetBitContext whole = data.bitContext(-1);
    ASSERT_TRUE(whole);
    EXPECT_STREQ(whole.spath(), "@:DATA");
    EXPECT_FALSE(data.bitContext(8));
    CInstTermContext d = top.instance("U1").instTerm("D");
    CInstTermBitContext all = d.bitContext(-1);
    ASSERT_TRUE(all);
    EXPECT_FALSE(all.netbitOuter());  // a vector pin as a whole has no single net bit
    {
        CTransaction t(top);
        ASSERT_TRUE(t.addProperty(d, "SIGNAL_MODEL", "M", 0));
        std::unique_ptr<CPQPropertyData> own(d.bitContext(3).findProperty("SIGNAL_MODEL"));
        EXPECT_FALSE(own);
        std::unique_ptr<CPQPropertyData> inherited(d.bitContext(3).findProperty("SIGNAL_MODEL", true));
        ASSERT_TRUE(inherited);
        EXPECT_STREQ(inherited->value(), "M");
    }
    std::unique_ptr<CContext> pair(server.getContext(top, "@~CKD"));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->objectType(), 'O');
    std::unique_ptr<CContext> dt(server.getContext(top, "@$RT1"));
    ASSERT_TRUE(dt);
    EXPECT_EQ(dt->objectType(), 'X');
    std::unique_ptr<CContext> pp(server.getContext(top, "@U1%CK"));
    ASSERT_TRUE(pp);
    EXPECT_NE(dynamic_cast<CContainerContext*>(pp.get()), nullptr);
    std::unique_ptr<CContext> design(server.getContext("work.board:sch@"));
    ASSERT_TRUE(design);
    EXPECT_NE(dynamic_cast<CDesignContext*>(design.get()), nullptr);
    // Contexts are values: equal when they name the same object the same way.
    EXPECT_EQ(top.instance("U1"), top.instance(board->findInstance("U1")));
    EXPECT_NE(top.instance("U1"), top.instance("R1"));
    CInstanceContext copy = top.instance("U1");
    copy = top.instance("R1");
    EXPECT_STREQ(copy.name(), "R1");
}
