#include <set>

#include "fixture.h"
#include "rmx/packaging.h"

namespace {
struct Pkg : BoardTest {};
}  // namespace

TEST_F(Pkg, PartsPinsAndNets) {
    std::unique_ptr<IPhysPartInst> u1(getPhysPartInst(&top, "U1"));
    ASSERT_TRUE(u1);
    EXPECT_STREQ(u1->name(), "U1");
    CInstanceContext i = top.instance("U1");
    std::unique_ptr<IPhysPartInst> same(getPhysPartInst(&top, &i));
    ASSERT_TRUE(same);
    EXPECT_EQ(getPhysPartInst(&top, "U99"), nullptr);
    std::unique_ptr<IPhysPartDefn> defn(u1->partDefn());
    ASSERT_TRUE(defn);
    EXPECT_STREQ(defn->name(), "MEM");
    EXPECT_EQ(u1->functionCount(), 1);
    std::unique_ptr<IPhysPin> a4(u1->getPhysPin("A4"));
    ASSERT_TRUE(a4);
    CInstTermBitContext bit;
    ASSERT_TRUE(a4->logicalPinBit(bit));
    EXPECT_STREQ(bit.spath(), "@U1.D<3>");
    EXPECT_EQ(a4->kind(), IPhysPin::eSingle);
    std::unique_ptr<IPhysNet> net(a4->physNet());
    ASSERT_TRUE(net);
    EXPECT_STREQ(net->name(), "DATA<3>");
    std::unique_ptr<IPhysPin> nc(u1->getPhysPin("B4"));
    EXPECT_EQ(nc->kind(), IPhysPin::eUnused);
    EXPECT_EQ(nc->physNet(), nullptr);
    // The clock net carries a physical name; its pins and the power pins are found through it.
    std::unique_ptr<IPhysNet> clk(getPhysNet(&top, "CLK_MAIN"));
    ASSERT_TRUE(clk);
    std::unique_ptr<CPhysIterator<IPhysPin>> pins(clk->beginPin());
    ASSERT_EQ(pins->count(), 1u);
    std::unique_ptr<IPhysPin> b1(pins->current());
    EXPECT_STREQ(b1->pinNumber(), "B1");
    std::unique_ptr<IPhysNet> vcc(getPhysNet(&top, "VCC"));
    ASSERT_TRUE(vcc);
    std::unique_ptr<CPhysIterator<IPhysPowerPin>> power(vcc->beginPowerPin());
    ASSERT_TRUE(power->hasCurrent());
    std::unique_ptr<IPhysPowerPin> vdd(power->current());
    EXPECT_STREQ(vdd->pinName(), "VDD");
    EXPECT_STREQ(vdd->location(), "U1");
    std::unique_ptr<IPhysPin> found(getPhysPinInst(&top, &bit));
    ASSERT_TRUE(found);
    EXPECT_STREQ(found->pinNumber(), "A4");
}

TEST_F(Pkg, ViewFollowsCommittedAndPendingChanges) {
    {
        CTransaction t(top);
        t.addProperty(rmx::kindInstTermBit, "@U1.D<3>", "PN", "B4", 0);
        std::unique_ptr<IPhysPartInst> u1(getPhysPartInst(&top, "U1"));
        std::unique_ptr<IPhysPin> b4(u1->getPhysPin("B4"));
        EXPECT_EQ(b4->kind(), IPhysPin::eSingle);
        t.setPowerPinNet(board->findInstance("U1"), "VDD", "VCC_IO");
        std::unique_ptr<IPhysNet> io(getPhysNet(&top, "VCC_IO"));
        EXPECT_TRUE(io);
    }
    std::unique_ptr<IPhysNet> io(getPhysNet(&top, "VCC_IO"));
    EXPECT_FALSE(io);
}

// A pin-number exchange moves the pin bits between package pins and their nets in the view kept
// across commits; a discarded exchange leaves them where they were.
TEST_F(Pkg, ViewFollowsPinNumberExchanges) {
    auto pinOn = [&](const char* number) {
        std::unique_ptr<IPhysPartInst> u1(getPhysPartInst(&top, "U1"));
        std::unique_ptr<IPhysPin> pin(u1->getPhysPin(number));
        CInstTermBitContext bit;
        std::unique_ptr<IPhysNet> net(pin && pin->logicalPinBit(bit) ? pin->physNet() : nullptr);
        return std::string(bit ? bit.spath().str() : "") + " " + (net ? net->name() : "-");
    };
    auto exchange = [&](CTransaction& t, const char* a, const char* b) {
        t.addProperty(rmx::kindInstTermBit, "@U1.D<3>", "PN", a, 0);
        t.addProperty(rmx::kindInstTermBit, "@U1.D<2>", "PN", b, 0);
    };
    ASSERT_EQ(pinOn("A4"), "@U1.D<3> DATA<3>");
    ASSERT_EQ(pinOn("A3"), "@U1.D<2> DATA<2>");
    {
        CTransaction t(top);
        exchange(t, "A3", "A4");
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(pinOn("A4"), "@U1.D<2> DATA<2>");
    EXPECT_EQ(pinOn("A3"), "@U1.D<3> DATA<3>");
    std::unique_ptr<IPhysNet> data3(getPhysNet(&top, "DATA<3>"));
    std::unique_ptr<CPhysIterator<IPhysPin>> pins(data3->beginPin());
    ASSERT_EQ(pins->count(), 1u);
    EXPECT_STREQ(std::unique_ptr<IPhysPin>(pins->current())->pinNumber(), "A3");
    {
        CTransaction t(top);
        exchange(t, "A4", "A3");
        t.discard();
    }
    EXPECT_EQ(pinOn("A4"), "@U1.D<2> DATA<2>");
    // A property the view does not read changes nothing in it.
    {
        CTransaction t(top);
        t.addProperty(rmx::kindInstTermBit, "@U1.D<3>", "PIN_SIGNAL_MODEL", "M1", 0);
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(pinOn("A3"), "@U1.D<3> DATA<3>");
}

// A package pin carrying the bits of two instances is on the net of the first one a fresh view
// lists (its instances in order): a pin bit moved onto it in a view kept across commits takes the
// place a fresh view gives it, so that the kept view's nets are a fresh one's.
TEST(PkgSections, APinBitMovedOntoASharedPackagePinKeepsTheNetAFreshViewGives) {
    IServer s;
    rmx::DesignBuilder b(&s, "work");
    b.symbol("chips").port("A").port("B").symbolProp("PART_NAME", "PACK4");
    b.partDefinition("PACK4");
    for (int k = 1; k <= 4; ++k)
        b.packagePin(std::to_string(k), "A", std::to_string(k)).packagePin(std::to_string(9 - k), "B", std::to_string(k));
    b.schematic("top").instance("G1", "chips", "RN1").instance("G2", "chips", "RN1");
    b.net("N1").net("N2").connect("G1", "A", "N1").connect("G2", "A", "N2");
    b.prop("@G1", "SEC", "1").prop("@G2", "SEC", "2").pinNumber("G1", "A", "1").pinNumber("G2", "A", "2");
    ASSERT_TRUE(b.ok()) << b.error();
    CDesignContext top = b.context();
    auto pinsOf = [&](const char* name) {
        std::unique_ptr<IPhysNet> net(getPhysNet(&top, name));
        std::string pins;
        std::unique_ptr<CPhysIterator<IPhysPin>> it(net ? net->beginPin() : nullptr);
        for (; it && it->hasCurrent(); it->advance()) {
            std::unique_ptr<IPhysPin> pin(it->current());
            CInstTermBitContext bit;
            pin->logicalPinBit(bit);
            pins += std::string(" ") + pin->pinNumber() + bit.spath().str();
        }
        return pins;
    };
    ASSERT_EQ(pinsOf("N1"), " 1@G1.A");
    ASSERT_EQ(pinsOf("N2"), " 2@G2.A");
    {
        CTransaction t(top);
        ASSERT_TRUE(t.addProperty(rmx::kindInstTermBit, "@G1.A", "PN", "2", 0));
        ASSERT_TRUE(t.commit());
    }
    const std::string kept = pinsOf("N1") + " /" + pinsOf("N2");
    EXPECT_EQ(kept, " 2@G1.A /");
    // A change of the nets makes the next view a fresh one: the same.
    {
        CTransaction t(top);
        ASSERT_TRUE(t.createNet("N3", static_cast<unsigned>(-1), static_cast<unsigned>(-1)));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(pinsOf("N1") + " /" + pinsOf("N2"), kept);
}

// Bits of one instance given one package pin are listed as a fresh view lists them: by the place of
// their pin among the instance's pins, then of the bit among the pin's bits (msb first); the first
// one names the package pin's net, in a view kept across commits as in a fresh one.
TEST(PkgPins, BitsOfOneInstanceMovedOntoOnePackagePinKeepTheirPinAndBitOrder) {
    IServer s;
    rmx::DesignBuilder b(&s, "work");
    b.symbol("fpga").bus("D", 1, 0).port("A");
    b.packagePin("1", "A", "BANK0", ITerm::eTermInout, 1)
        .packagePin("2", "D<1>", "BANK0", ITerm::eTermInout, 1)
        .packagePin("3", "D<0>", "BANK0", ITerm::eTermInout, 1);
    b.schematic("board").instance("U1", "fpga", "U1").connect("U1", "D<1..0>", "DN<1..0>").connect("U1", "A", "NA");
    b.pinNumber("U1", "A", "1").pinNumber("U1", "D<1>", "2").pinNumber("U1", "D<0>", "3");
    ASSERT_TRUE(b.ok()) << b.error();
    CDesignContext top = b.context();
    auto netOfPin1 = [&] {
        std::unique_ptr<IPhysPartInst> u1(getPhysPartInst(&top, "U1"));
        std::unique_ptr<IPhysPin> pin(u1 ? u1->getPhysPin("1") : nullptr);
        std::unique_ptr<IPhysNet> net(pin ? pin->physNet() : nullptr);
        return std::string(net ? net->name() : "");
    };
    auto number = [&](const char* bit) {
        CTransaction t(top);
        ASSERT_TRUE(t.addProperty(rmx::kindInstTermBit, bit, "PN", "1", 0));
        ASSERT_TRUE(t.commit());
    };
    int made = 0;
    auto fresh = [&] { // a change of the nets: the next view is a fresh one
        CTransaction t(top);
        const std::string name = "FRESH" + std::to_string(++made);
        ASSERT_TRUE(t.createNet(name.c_str(), static_cast<unsigned>(-1), static_cast<unsigned>(-1)));
        ASSERT_TRUE(t.commit());
    };
    ASSERT_EQ(netOfPin1(), "NA");
    number("@U1.D<0>"); // D is declared before A
    EXPECT_EQ(netOfPin1(), "DN<0>");
    fresh();
    EXPECT_EQ(netOfPin1(), "DN<0>");
    number("@U1.D<1>"); // the bus's msb before its lsb
    EXPECT_EQ(netOfPin1(), "DN<1>");
    fresh();
    EXPECT_EQ(netOfPin1(), "DN<1>");
}

TEST_F(Pkg, PinNameGeneratorInternsAndWalks) {
    const char* a = hmtHashSaveStrng("A1");
    EXPECT_EQ(a, hmtHashSaveStrng(std::string("A1").c_str()));
    EXPECT_EQ(hmtHashSaveStrng(nullptr), nullptr);
    CInstanceContext u1 = top.instance("U1");
    HMTPART part = server.partDataService()->getPartDefinition(u1);
    ASSERT_NE(part, nullptr);
    HMTGEN g = hmtStartGenPins(part, 15);
    int n = 0;
    HMTPIN pin = nullptr;
    HMTPIN found = nullptr;
    while ((pin = hmtGenPins(g)) != nullptr) {
        ++n;
        if (hmtPinName(pin) == a) found = pin;
    }
    EXPECT_EQ(n, 12);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(hmtLogPinName(found), hmtHashSaveStrng("D<0>"));
    EXPECT_EQ(hmtGetSectionPinParentSection(found), nullptr);
    EXPECT_EQ(hmtGenPins(g), nullptr);
    hmtResetGen(g);
    EXPECT_EQ(hmtPinName(hmtGenPins(g)), a);
    hmtStopGen(g);
    EXPECT_EQ(hmtGenPins(nullptr), nullptr);
    EXPECT_EQ(hmtStartGenPins(nullptr, 15), nullptr);
    HMTGEN cand = server.partDataService()->getCandidatePins(u1, "D", 2, 2);
    ASSERT_NE(cand, nullptr);
    EXPECT_STREQ(hmtPinName(hmtGenPins(cand)), "A3");
    hmtStopGen(cand);
    EXPECT_EQ(server.partDataService()->getCandidatePins(u1, "NOPE", -1, -1), nullptr);
    EXPECT_TRUE(server.pinSwapService()->canSwap(u1, "A1", "A2"));
    EXPECT_FALSE(server.pinSwapService()->canSwap(u1, "A1", "B1"));
    EXPECT_EQ(server.pinSwapService()->swappablePins(u1, "A1").size(), 7u);
}

TEST(PkgSections, SectionsAndTheirHolders) {
    IServer s;
    rmx::DesignBuilder b(&s, "work");
    b.symbol("chips").port("A").port("Y").symbolProp("PART_NAME", "GATE4");
    b.partDefinition("GATE4");
    for (int k = 1; k <= 4; ++k) {
        std::string sec = std::to_string(k);
        b.packagePin(std::to_string(2 * k - 1), "A", sec, ITerm::eTermInput).packagePin(std::to_string(2 * k), "Y", sec, ITerm::eTermOutput);
    }
    b.schematic("top").instance("G1", "chips", "U5").instance("G2", "chips", "U5");
    b.prop("@G1", "SEC", "1").prop("@G2", "SEC", "3").pinNumber("G1", "A", "1").pinNumber("G2", "A", "5");
    ASSERT_TRUE(b.ok()) << b.error();
    CDesignContext top = b.context();
    EXPECT_TRUE(b.design()->findInstance("G1")->isChips());
    std::unique_ptr<IPhysPartInst> u5(getPhysPartInst(&top, "U5"));
    ASSERT_TRUE(u5);
    EXPECT_EQ(u5->functionCount(), 4);
    EXPECT_EQ(u5->logicalInstances().size(), 2u);
    std::unique_ptr<CPhysIterator<IPhysFunction>> fns(u5->beginFunction());
    fns->advance();
    fns->advance();
    std::unique_ptr<IPhysFunction> third(fns->current());
    EXPECT_EQ(third->functionNumber(), 3);
    std::unique_ptr<CPhysIterator<IPhysPin>> pins(third->beginPin());
    std::unique_ptr<IPhysPin> p5(pins->current());
    EXPECT_STREQ(p5->pinNumber(), "5");
    CInstTermBitContext lb;
    ASSERT_TRUE(p5->logicalPinBit(lb));
    EXPECT_STREQ(lb.spath(), "@G2.A");
    CInstanceContext g1 = top.instance("G1");
    EXPECT_EQ(s.partDataService()->getSectionHolder(g1, "U5", "3"), hmtHashSaveStrng("@G2"));
    EXPECT_EQ(s.partDataService()->getSectionHolder(g1, "U5", "2"), nullptr);
    HMTGEN cand = s.partDataService()->getCandidatePins(g1, "A", -1, -1);
    std::set<std::string> numbers;
    while (HMTPIN p = hmtGenPins(cand)) numbers.insert(hmtPinName(p));
    EXPECT_EQ(numbers, (std::set<std::string>{"1", "3", "5", "7"}));
    hmtResetGen(cand);
    HMTPIN first = hmtGenPins(cand);
    HMTGEN secPins = hmtStartGenParentSectionPins(first);
    int count = 0;
    while (hmtGenPins(secPins)) ++count;
    EXPECT_EQ(count, 2);
    hmtStopGen(secPins);
    hmtStopGen(cand);
}

TEST(Synthetic, GeneratorMakesTheAskedSize) {
    IServer s;
    IDesign* d = rmx::generateSyntheticDesign(&s, 1024, 200);
    ASSERT_NE(d, nullptr);
    IInstance* u1 = d->findInstance("U1");
    ASSERT_NE(u1, nullptr);
    int bits = 0, connected = 0, numbered = 0;
    for (IInstTerm* p : u1->beginInstTerm())
        for (const CInstTermBit& b : p->beginBit()) {
            ++bits;
            connected += b.netbitOuter() ? 1 : 0;
            std::unique_ptr<CPQPropertyData> pn(b.findProperty("PN"));
            numbered += pn ? 1 : 0;
        }
    // Of every 16 package pins one is an implicit power pin; the rest are signal bits.
    EXPECT_GE(bits, 1024 / 16 * 15);
    EXPECT_EQ(connected, 1024 / 16 * 15);
    EXPECT_EQ(numbered, connected);
    EXPECT_EQ(u1->beginDPInstTerm().count(), 8u);
    EXPECT_EQ(u1->implicitPowerPins().size(), 64u);
    EXPECT_EQ(d->findNet("LOAD")->connectionCount(), 200);
    CDesignContext top(&s, d);
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&top, "U1"));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->functionCount(), 8);
    EXPECT_EQ(rmx::generateSyntheticDesign(&s, 10), nullptr);
}

TEST_F(Pkg, PinsInsideBlocksAndBadPartFiles) {
    // A packaged part inside the block: found from the top, its pin bit carries the block's path.
    rmx::DesignBuilder b(&server, "work");
    b.partDefinition("RES").packagePin("1", "A").packagePin("2", "B");
    b.schematic("BLK", "sch").prop("@R1", "LOCATION", "R7").pinNumber("R1", "A", "1");
    ASSERT_TRUE(b.ok()) << b.error();
    std::unique_ptr<IPhysPartInst> r7(getPhysPartInst(&top, "R7"));
    ASSERT_TRUE(r7);
    std::unique_ptr<IPhysPin> p1(r7->getPhysPin("1"));
    CInstTermBitContext bit;
    ASSERT_TRUE(p1->logicalPinBit(bit));
    EXPECT_STREQ(bit.spath(), "@B1@R1.A");
    std::unique_ptr<IPhysNet> n(p1->physNet());
    ASSERT_TRUE(n);
    EXPECT_STREQ(n->name(), "CLK_MAIN");  // climbed out of the block to the board's clock
    std::unique_ptr<IPhysPin> back(getPhysPinInst(&top, &bit));
    ASSERT_TRUE(back);
    EXPECT_STREQ(back->pinNumber(), "1");
    std::unique_ptr<IPhysPin> p2(r7->getPhysPin("2"));
    EXPECT_EQ(p2->kind(), IPhysPin::eUnused);
    EXPECT_EQ(getPhysPartInst(&top, static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(getPhysNet(nullptr, "CLK_MAIN"), nullptr);
}
