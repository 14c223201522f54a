#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "fixture.h"
#include "util.h"
#include "rmx/transaction_text.h"

namespace {

struct Tx : ::testing::Test {
    IServer server;
    IDesign* board = nullptr;
    CDesignContext ctx;
    void SetUp() override {
        board = buildBoard(&server);
        ASSERT_NE(board, nullptr);
        ctx = CDesignContext(&server, board);
    }
    IInstance* inst(const char* n) { return board->findInstance(n); }
    IInstTerm* pin(const char* i, const char* p) { return inst(i)->findInstTerm(p); }
    INet* net(const char* n) { return board->findNet(n); }
};

std::vector<std::pair<char, int>> kinds(const CTransaction& t) {
    std::vector<std::pair<char, int>> out;
    for (IChange* c : t.beginChange()) out.emplace_back(c->objectType(), c->changeKind());
    return out;
}

using K = std::vector<std::pair<char, int>>;

}  // namespace

TEST_F(Tx, ReadsInsideSeeChangesAndDiscardLeavesTheDesignByteIdentical) {
    std::string before = snapshot(server, board);
    {
        CTransaction t(ctx, "Add Conn");
        INet* n = t.createNet("ADDR", 3, 0);
        ASSERT_NE(n, nullptr);
        EXPECT_TRUE(t.addNet(n));
        EXPECT_EQ(board->findNet("ADDR"), n);  // a read inside sees the new net
        ASSERT_TRUE(t.addConn(n, 3, 0, pin("U1", "D"), 7, 4));  // moves four bits off DATA
        EXPECT_EQ(pin("U1", "D")->netBit(6), CNetBit(n, 2));
        EXPECT_TRUE(t.addProperty(ctx.instance("U1"), "LOCATION", "U9", 2));
        EXPECT_TRUE(t.removeInstance(inst("R1")));
        EXPECT_TRUE(t.removeNet(net("SYSCLK")));
        EXPECT_TRUE(t.renameNet(net("CLK"), "CLOCK"));
        EXPECT_TRUE(t.hasPendingChanges());
        t.discard();
        EXPECT_FALSE(t.hasPendingChanges());
        EXPECT_EQ(t.beginChange().count(), 0u);
    }
    EXPECT_EQ(board->findNet("ADDR"), nullptr);
    EXPECT_NE(board->findNet("CLK"), nullptr);
    EXPECT_EQ(pin("U1", "D")->netBit(6), CNetBit(net("DATA"), 6));
    EXPECT_EQ(snapshot(server, board), before);
    // A transaction destroyed while open is discarded too.
    {
        CTransaction t(ctx);
        t.removeInstance(inst("U1"));
    }
    EXPECT_EQ(snapshot(server, board), before);
}

// A nested edit that fails takes back its own changes only; a commit after the mark keeps it from
// undoing what is committed.
TEST_F(Tx, DiscardToAMarkUndoesOnlyTheChangesAfterIt) {
    const std::string before = snapshot(server, board);
    CTransaction t(ctx, "Longer Edit");
    INet* kept = t.createNet("KEPT", -1, -1);
    ASSERT_TRUE(t.addConn(kept, -1, -1, pin("R1", "B"), -1, -1));
    const std::string atMark = snapshot(server, board);
    const CTransaction::Mark mark = t.mark();
    INet* gone = t.createNet("GONE", -1, -1);
    ASSERT_TRUE(t.addConn(gone, -1, -1, pin("R1", "B"), -1, -1)); // moves R1.B off KEPT
    ASSERT_TRUE(t.renameNet(net("SYSCLK"), "SYSCLK2"));
    EXPECT_TRUE(t.discardTo(mark));
    EXPECT_EQ(board->findNet("GONE"), nullptr);
    EXPECT_NE(board->findNet("SYSCLK"), nullptr);
    EXPECT_EQ(pin("R1", "B")->netBit(-1), CNetBit(kept, -1));
    EXPECT_EQ(snapshot(server, board), atMark);
    EXPECT_EQ(kinds(t), (K{{'N', 1}, {'C', 1}})); // the change records after the mark go too
    EXPECT_TRUE(t.discardTo(mark)); // nothing after it: nothing to undo
    EXPECT_EQ(snapshot(server, board), atMark);
    // Committed changes are not taken back: a mark from before a commit undoes nothing.
    const CTransaction::Mark early = t.mark();
    ASSERT_TRUE(t.renameNet(net("SYSCLK"), "SYSCLK3"));
    ASSERT_TRUE(t.commit());
    EXPECT_FALSE(t.discardTo(early));
    EXPECT_NE(board->findNet("SYSCLK3"), nullptr);
    // A mark this transaction never had is refused too.
    EXPECT_FALSE(t.discardTo(CTransaction::Mark{1000, 1000}));
    EXPECT_NE(snapshot(server, board), before);
}

// A mark outlives what it marked when the transaction is discarded or committed after it; the changes
// made afterwards may be as many as the mark counted, but they are not the ones it marked.
TEST_F(Tx, AMarkFromBeforeADiscardOrACommitIsRefused) {
    CTransaction t(ctx, "Longer Edit");
    ASSERT_TRUE(t.renameNet(net("SYSCLK"), "S1"));
    ASSERT_TRUE(t.renameNet(net("DATA"), "D1"));
    const CTransaction::Mark beforeDiscard = t.mark();
    ASSERT_TRUE(t.renameNet(net("CLK"), "C1"));
    t.discard();
    // A new edit on the same transaction, longer than what the mark counted.
    for (const char* name : {"N1", "N2", "N3", "N4"}) ASSERT_NE(t.createNet(name, -1, -1), nullptr);
    const std::string edited = snapshot(server, board);
    EXPECT_FALSE(t.discardTo(beforeDiscard));
    EXPECT_EQ(snapshot(server, board), edited);
    EXPECT_EQ(t.beginChange().count(), 4u);

    // The same after a commit: the mark's counts fit the changes made since, which it never saw.
    const CTransaction::Mark beforeCommit = t.mark();
    ASSERT_TRUE(t.commit());
    for (const char* name : {"M1", "M2", "M3"}) ASSERT_NE(t.createNet(name, -1, -1), nullptr);
    const std::string more = snapshot(server, board);
    EXPECT_FALSE(t.discardTo(beforeCommit));
    EXPECT_EQ(snapshot(server, board), more);
    // A mark taken now still works.
    const CTransaction::Mark now = t.mark();
    ASSERT_NE(t.createNet("GONE", -1, -1), nullptr);
    EXPECT_TRUE(t.discardTo(now));
    EXPECT_EQ(board->findNet("GONE"), nullptr);
    EXPECT_EQ(snapshot(server, board), more);
}

// Each transaction undoes only to its own marks, even where the counts of another's would fit.
TEST_F(Tx, AMarkOfAnotherTransactionIsRefused) {
    CTransaction first(ctx, "first");
    CTransaction second(ctx, "second");
    const CTransaction::Mark ofFirst = first.mark();
    ASSERT_NE(second.createNet("TWO", -1, -1), nullptr);
    EXPECT_FALSE(second.discardTo(ofFirst));
    EXPECT_NE(board->findNet("TWO"), nullptr);
    EXPECT_FALSE(second.discardTo(CTransaction::Mark{})); // a mark of no transaction
    EXPECT_NE(board->findNet("TWO"), nullptr);
    EXPECT_TRUE(second.discardTo(second.mark()));
}

// A mark that a take-back went below no longer marks anything, even when as many changes (or more)
// were made again since: they are not the ones it followed. Marks of a discarded generation go stale too.
TEST_F(Tx, AMarkBelowWhichChangesWereTakenBackIsStale) {
    CTransaction t(ctx, "Longer Edit");
    ASSERT_TRUE(t.renameNet(net("SYSCLK"), "S1"));
    const CTransaction::Mark outer = t.mark();
    ASSERT_TRUE(t.renameNet(net("DATA"), "D1"));
    const CTransaction::Mark inner = t.mark();
    ASSERT_TRUE(t.discardTo(outer)); // takes D1 back, below the inner mark
    ASSERT_TRUE(t.renameNet(net("CLK"), "C1"));
    ASSERT_TRUE(t.renameNet(board->findNet("S1"), "S2"));
    const std::string edited = snapshot(server, board);
    EXPECT_FALSE(t.changesSince(inner).has_value());
    EXPECT_FALSE(t.discardTo(inner)); // would take S2 back and keep C1, which it never saw
    EXPECT_EQ(snapshot(server, board), edited);
    const auto sinceOuter = t.changesSince(outer);
    ASSERT_TRUE(sinceOuter.has_value());
    EXPECT_EQ(sinceOuter->size(), 2u);

    const CTransaction::Mark beforeDiscard = t.mark();
    t.discard();
    ASSERT_NE(t.createNet("N1", -1, -1), nullptr);
    EXPECT_FALSE(t.changesSince(beforeDiscard).has_value());
    EXPECT_FALSE(t.changesSince(CTransaction::Mark{}).has_value()); // a mark of no transaction
    const auto now = t.changesSince(t.mark());
    ASSERT_TRUE(now.has_value());
    EXPECT_TRUE(now->empty());
}

TEST_F(Tx, ConnectionChangeRecordsNameExactlyWhatChanged) {
    CTransaction t(ctx, "Add Conn");
    INet* a = t.createNet("A", -1, -1);
    IInstTerm* r = pin("R1", "B");
    ASSERT_TRUE(t.addConn(a, -1, -1, r, -1, -1));
    ASSERT_TRUE(t.addConn(a, -1, -1, pin("R1", "A"), -1, -1));  // was on CLK: moved in place
    ASSERT_TRUE(t.removeConn(a, -1, -1, r, -1, -1));
    EXPECT_EQ(kinds(t), (K{{'N', 1}, {'C', 1}, {'C', 17}, {'C', 2}}));
    auto changes = t.beginChange();
    std::vector<IChange*> v(changes.begin(), changes.end());
    auto* added = dynamic_cast<CConn*>(v[1]->object());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->net(), a);
    EXPECT_EQ(added->instTerm(), r);
    CConn *r1, *r2, *a1, *a2;
    ASSERT_TRUE(v[2]->getConns(r1, r2, a1, a2));
    ASSERT_TRUE(r1 && a1);
    EXPECT_EQ(r1->net(), net("CLK"));
    EXPECT_EQ(a1->net(), a);
    EXPECT_EQ(r2, nullptr);
    EXPECT_FALSE(v[1]->getConns(r1, r2, a1, a2));
    EXPECT_TRUE(t.modifiesObjectType('C'));
    EXPECT_FALSE(t.modifiesObjectType('X'));
    EXPECT_TRUE(t.commit());
    EXPECT_TRUE(board->isModified());
}

TEST_F(Tx, BusConnectionsAreOneRecordPerRangeAndPinOrderIsKept) {
    CTransaction t(ctx);
    INet* n = t.createNet("Q", 0, 7);
    ASSERT_TRUE(t.removeConn(net("DATA"), -1, -1, pin("U1", "D"), -1, -1));
    ASSERT_TRUE(t.addConn(n, 0, 7, pin("U1", "D"), 7, 0));  // reversed bit order
    EXPECT_EQ(kinds(t), (K{{'N', 1}, {'C', 2}, {'C', 1}}));
    auto conns = pin("U1", "D")->beginConn();
    ASSERT_EQ(conns.count(), 1u);
    CConn c = conns.current();
    EXPECT_EQ(c.net(), n);
    EXPECT_EQ(c.instTermMsb(), 7);
    EXPECT_EQ(c.netMsb(), 0);
    EXPECT_EQ(c.instTermLsb(), 0);
    EXPECT_EQ(c.netLsb(), 7);
    EXPECT_EQ(CNetBit(n, 0).beginInstTermBit().current(), CInstTermBit(pin("U1", "D"), 7));
}

TEST_F(Tx, PropertyKindsAndTheirDecoding) {
    CTransaction t(ctx);
    CInstTermBitContext b = ctx.instance("U1").instTerm("D").bitContext(2);
    ASSERT_TRUE(t.addProperty(b, "PIN_SIGNAL_MODEL", "M1", 2));
    ASSERT_TRUE(t.addProperty(b, "PIN_SIGNAL_MODEL", "M1", 2));  // same: no record
    ASSERT_TRUE(t.addProperty(b, "PIN_SIGNAL_MODEL", "M2", 2));
    ASSERT_TRUE(t.removeProperty(b, "PIN_SIGNAL_MODEL", "M2"));
    EXPECT_FALSE(t.removeProperty(b, "PIN_SIGNAL_MODEL", nullptr));  // gone already
    ASSERT_TRUE(t.addProperty(rmx::kindInstance, "@U1", "SEC", "2", 2));
    ASSERT_TRUE(t.addProperty(rmx::kindInstTermBit, "@U1.D<5>", "PN", "A9", 32));
    EXPECT_FALSE(t.addProperty(rmx::kindInstance, "@U1.D<5>", "PN", "A9", 32));  // wrong kind
    EXPECT_FALSE(t.addProperty(rmx::kindInstTermBit, "@U1.D<9>", "PN", "A9", 32));  // no such bit
    EXPECT_TRUE(t.addProperty(rmx::kindInstance, "@U1", "LOCATION", "U7", 0));
    EXPECT_EQ(kinds(t), (K{{'P', 1}, {'P', 5}, {'P', 2}, {'P', 1}, {'P', 5}, {'P', 5}, {'I', 12}}));
    auto changeIt = t.beginChange();
    std::vector<IChange*> v(changeIt.begin(), changeIt.end());
    CString path, name, oldv, newv;
    ASSERT_TRUE(server.decodePropertyChange(v[1], path, name, oldv, newv));
    EXPECT_STREQ(path, "@U1.D<2>");
    EXPECT_STREQ(name, "PIN_SIGNAL_MODEL");
    EXPECT_STREQ(oldv, "M1");
    EXPECT_STREQ(newv, "M2");
    ASSERT_TRUE(server.decodePropertyChange(v[4], path, name, oldv, newv));
    EXPECT_STREQ(oldv, "A6");  // PN of D<5> from the builder
    EXPECT_FALSE(server.decodePropertyChange(v[6], path, name, oldv, newv));
    const char *cp = nullptr, *nm = nullptr, *ov = nullptr, *nv = nullptr;
    CCanonicalPathContainer* kept = server.decodePropertyChange(v[0], &cp, &nm, &ov, &nv);
    ASSERT_NE(kept, nullptr);
    EXPECT_STREQ(cp, "work.board:sch@U1.D<2>");
    EXPECT_EQ(ov, nullptr);  // added: no old value
    EXPECT_STREQ(nv, "M1");
    EXPECT_STREQ(kept->cpath(), cp);
    std::unique_ptr<CContext> byPath(server.getContext(cp));
    ASSERT_TRUE(byPath);
    EXPECT_EQ(*byPath, *kept);
    std::unique_ptr<CContext> owner(server.getContext(v[0]->object()));
    ASSERT_TRUE(owner);
    EXPECT_NE(dynamic_cast<CInstTermBitContext*>(owner.get()), nullptr);
    std::unique_ptr<CPQPropertyData> pn(b.instTermContext().bitContext(5).findProperty("PN"));
    ASSERT_TRUE(pn);
    EXPECT_STREQ(pn->value(), "A9");
    EXPECT_EQ(pn->source(), 32u);
}

TEST_F(Tx, ObjectKindsOfInstancesPinsNetsAndComponents) {
    CTransaction t(ctx);
    IInstance* r9 = t.createInstance("R9", "work", "RES", "sym");
    ASSERT_NE(r9, nullptr);
    EXPECT_EQ(r9->instTermCount(), 2);
    ASSERT_TRUE(t.renameInstance(r9, "R10"));
    ASSERT_TRUE(t.renameInstTerm(pin("R10", "A"), "X"));
    ASSERT_TRUE(t.changeInstTermType(pin("R10", "X"), ITerm::eTermOutput, ITerm::eDirOutput));
    ASSERT_TRUE(t.changeInstTermWidth(pin("R10", "B"), 1, 0));
    ASSERT_TRUE(t.changeNetWidth(net("DATA"), 15, 0));
    ASSERT_TRUE(t.setPowerPinNet(inst("U1"), "VDD", "VCC3"));
    ASSERT_TRUE(t.removePowerPinNet(inst("U1"), "VDD"));
    IDTInstance* rt1 = board->findDTInstance("RT1");
    ASSERT_TRUE(t.attachDTInstance(rt1, CInstTermBit(pin("U1", "D"), 4)));
    ASSERT_TRUE(t.changeDTType(rt1, "Parallel"));
    ASSERT_TRUE(t.removeInstance(inst("R10")));
    EXPECT_EQ(kinds(t), (K{{'I', 1}, {'T', 1}, {'T', 1}, {'I', 3}, {'T', 3}, {'T', 8}, {'T', 10}, {'N', 10},
                           {'I', 13}, {'I', 14}, {'X', 7}, {'X', 3}, {'T', 2}, {'T', 2}, {'I', 2}}));
    EXPECT_EQ(CInstTermBit(pin("U1", "D"), 4).beginAssociatedDTInstance().current(), rt1);
    EXPECT_TRUE(CInstTermBit(pin("U1", "D"), 3).beginAssociatedDTInstance().atEnd());
    EXPECT_EQ(net("DATA")->width(), 16);
    EXPECT_TRUE(inst("U1")->implicitPowerPins().size() == 2);
    EXPECT_STREQ(inst("U1")->implicitPowerPins()[0].netName, "VCC");  // the tie was released again
    EXPECT_EQ(pin("U1", "D")->netBit(7), CNetBit(net("DATA"), 7));  // kept bits keep their pins
    t.discard();
    EXPECT_EQ(net("DATA")->width(), 8);
    EXPECT_EQ(CInstTermBit(pin("U1", "D"), 3).beginAssociatedDTInstance().current(), rt1);
}

TEST_F(Tx, TheDesignCountsItsLiveComponents) {
    const int before = board->dtInstanceCount();
    EXPECT_EQ(before, static_cast<int>(board->beginDTInstance().count()));
    CTransaction t(ctx);
    IDTInstance* added = t.createDTInstance(IDTInstance::eTermination, "Series", "RT9", CInstTermBit(pin("U1", "D"), 2));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->design(), pin("U1", "D")->design());
    EXPECT_EQ(board->dtInstanceCount(), before + 1);
    ASSERT_TRUE(t.removeDTInstance(board->findDTInstance("RT1")));
    EXPECT_EQ(board->dtInstanceCount(), before);
    EXPECT_EQ(board->dtInstanceCount(), static_cast<int>(board->beginDTInstance().count()));
    t.discard();
    EXPECT_EQ(board->dtInstanceCount(), before);
    EXPECT_EQ(board->dtInstanceCount(), static_cast<int>(board->beginDTInstance().count()));
}

TEST_F(Tx, ReplaceMasterAliasesAndPairs) {
    CTransaction t(ctx);
    ASSERT_TRUE(t.replaceMaster(inst("R1"), "work", "BLK", "sym"));  // A,B -> D<7..0>,CLK
    EXPECT_NE(pin("R1", "CLK"), nullptr);
    EXPECT_EQ(pin("R1", "A"), nullptr);
    CAlias* al = net("CLK")->beginAlias().current();
    ASSERT_NE(al, nullptr);
    ASSERT_TRUE(t.removeAlias(al));
    ASSERT_TRUE(t.addAlias(net("CLK"), net("SYSCLK")));
    IDPNet* dp = board->findDPNet("CKD");
    IDPInstTerm* pp = inst("U1")->findDPInstTerm("CK");
    ASSERT_TRUE(dp && pp && pp->dpConn());
    IDTInstance* rt2 = board->findDTInstance("RT2");
    ASSERT_EQ(rt2->dpConn(), pp->dpConn());
    ASSERT_TRUE(t.removeDPConn(dp, -1, -1, pp, -1, -1));
    EXPECT_EQ(rt2->dpInstTerm(), pp);  // kept on the pair pin, for its next connection
    ASSERT_TRUE(t.addDPConn(dp, -1, -1, pp, -1, -1));
    ASSERT_TRUE(t.attachDTInstance(rt2, pp->dpConn()));
    ASSERT_TRUE(t.removeDPInstTerm(pp));
    EXPECT_EQ(rt2->attachKind(), IDTInstance::eDetached);
    K k = kinds(t);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('I', 17)), 1);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('I', 11)), 1);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('A', 1)), 1);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('N', 9)), 4);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('W', 1)), 1);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('W', 2)), 2);
    // RT2 kept on the pin, put back, kept on the pin again and detached with the pin.
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('X', 7)), 4);
    EXPECT_EQ(std::count(k.begin(), k.end(), std::make_pair('R', 2)), 1);
}

TEST_F(Tx, RefusedEditsChangeNothing) {
    std::string before = snapshot(server, board);
    CTransaction t(ctx);
    EXPECT_EQ(t.createNet("DATA", 3, 0), nullptr);  // taken
    EXPECT_EQ(t.createNet("bad name", -1, -1), nullptr);
    EXPECT_EQ(t.createNet("X", 3, -1), nullptr);
    EXPECT_FALSE(t.addConn(net("DATA"), 7, 0, pin("U1", "D"), 3, 0));  // widths differ
    EXPECT_FALSE(t.addConn(net("DATA"), 9, 9, pin("U1", "D"), 0, 0));  // no such net bit
    EXPECT_FALSE(t.addConn(nullptr, -1, -1, pin("U1", "D"), -1, -1));
    EXPECT_FALSE(t.addConn(board->findNet("CLK"), -1, -1, board->findInstance("B1")->containedDesign()->findInstance("R1")->findInstTerm("A"), -1, -1));
    EXPECT_FALSE(t.renameInstance(inst("U1"), "R1"));
    EXPECT_FALSE(t.changeNetWidth(net("CLK"), 3, 0));
    EXPECT_EQ(t.createInstance("B2", "work", "board", "sch"), nullptr);  // itself
    EXPECT_FALSE(t.lastError().IsEmpty());
    EXPECT_FALSE(t.hasPendingChanges());
    EXPECT_EQ(t.beginChange().count(), 0u);
    EXPECT_EQ(snapshot(server, board), before);
}

TEST_F(Tx, SwapConnExchangesTwoPinBits) {
    CTransaction t(ctx, "Swap Signals");
    ASSERT_TRUE(t.swapConn(pin("U1", "D"), 0, pin("U1", "CLK"), static_cast<unsigned>(-1)));
    EXPECT_EQ(pin("U1", "D")->netBit(0), CNetBit(net("CLK"), -1));
    EXPECT_EQ(pin("U1", "CLK")->netBit(-1), CNetBit(net("DATA"), 0));
    EXPECT_EQ(kinds(t), (K{{'C', 17}, {'C', 17}}));
    // One side free: the connection moves over.
    IInstTerm* free = pin("B1", "D");
    CTransaction u(ctx);
    ASSERT_TRUE(u.removeConn(net("DATA"), 1, 1, free, 1, 1));
    ASSERT_TRUE(u.swapConn(pin("U1", "D"), 1, free, 1));
    EXPECT_EQ(free->netBit(1), CNetBit(net("DATA"), 1));
    EXPECT_FALSE(pin("U1", "D")->netBit(1));
}

TEST_F(Tx, CommittedTransactionTakesMoreChangesAndCommitsAgain) {
    int announced = 0;
    int id = server.addCommitListener([&](CTransaction*) { ++announced; });
    CTransaction t(ctx);
    t.createNet("N1", -1, -1);
    ASSERT_TRUE(t.commit());
    t.createNet("N2", -1, -1);
    t.discard();  // only what came after the commit goes
    EXPECT_NE(board->findNet("N1"), nullptr);
    EXPECT_EQ(board->findNet("N2"), nullptr);
    t.createNet("N3", -1, -1);
    ASSERT_TRUE(t.commit());
    ASSERT_TRUE(t.commit());  // nothing pending: no second announcement
    EXPECT_EQ(kinds(t), (K{{'N', 1}, {'N', 1}}));
    EXPECT_EQ(announced, 2);
    server.removeCommitListener(id);
}

TEST_F(Tx, TextKeepsEveryCharacterOfNamesAndValues) {
    // Escaped characters first, last, side by side and alone; texts without any; empty texts.
    const std::vector<std::string> values = {"\"", "\\", "\n", "\t\r", "\"\"x\\\\", "plain", "", "a\nb\tc\rd\\e\"f"};
    CTransaction t(ctx, "\"Values\"\\");
    for (size_t k = 0; k < values.size(); ++k)
        ASSERT_TRUE(t.addProperty(ctx.net("SYSCLK"), ("V" + std::to_string(k)).c_str(), values[k].c_str(), 2));
    ASSERT_TRUE(t.commit());
    const std::string after = snapshot(server, board);
    const CString text = t.toString();
    // Tabs and returns are written escaped, never as they are.
    EXPECT_EQ(text.str().find_first_of("\t\r"), std::string::npos);
    CTransaction undo(&server, text, true, false);
    ASSERT_TRUE(undo.isValid()) << undo.lastError().str();
    ASSERT_TRUE(undo.commit());
    CTransaction redo(&server, text, true, true);
    ASSERT_TRUE(redo.isValid()) << redo.lastError().str();
    ASSERT_TRUE(redo.commit());
    EXPECT_EQ(snapshot(server, board), after);
    for (size_t k = 0; k < values.size(); ++k) {
        std::unique_ptr<CPQPropertyData> p(ctx.net("SYSCLK").findProperty(("V" + std::to_string(k)).c_str()));
        ASSERT_TRUE(p) << k;
        EXPECT_EQ(std::string(p->value()), values[k]) << k;
    }
    EXPECT_STREQ(redo.name(), "\"Values\"\\");
}

TEST_F(Tx, TextRebuildsTheTransactionForwardAndBackward) {
    std::string before = snapshot(server, board);
    CTransaction t(ctx, "Edit \"quoted\"\nname");
    INet* n = t.createNet("ADDR", 1, 0);
    unsigned id = n->id();
    t.addConn(n, 1, 0, pin("U1", "D"), 1, 0);
    t.addProperty(ctx.net("ADDR"), "NOTE", "a \"b\"\tc\\d", 2);
    t.removeInstance(inst("R1"));
    t.removeNet(net("SYSCLK"));
    t.createDTInstance(IDTInstance::ePullUpDown, "PullDown", "", CNetBit(n, 0));
    ASSERT_TRUE(t.commit());
    std::string after = snapshot(server, board);
    CString text = t.toString();

    CTransaction undo(&server, text, true, false);
    ASSERT_TRUE(undo.isValid()) << undo.lastError().str();
    ASSERT_TRUE(undo.commit()) << undo.lastError().str();
    EXPECT_EQ(snapshot(server, board), before);
    EXPECT_TRUE(undo.modifiesObjectType('C'));

    CTransaction redo(&server, text, true, true);
    ASSERT_TRUE(redo.commit()) << redo.lastError().str();
    EXPECT_EQ(snapshot(server, board), after);
    EXPECT_EQ(board->findNet("ADDR"), n);  // the same object, the same id
    EXPECT_EQ(n->id(), id);
    EXPECT_STREQ(redo.name(), "Edit \"quoted\"\nname");
}

TEST_F(Tx, BadTransactionTextIsRefusedAndAppliesNothing) {
    std::string before = snapshot(server, board);
    for (const char* text : {"", "hello", "rmx-transaction 1 \"work.board:sch\" \"x\"\nconn \"unterminated",
                             "rmx-transaction 1 \"work.board:sch\" \"x\"\nfly 1 2 3"}) {
        CTransaction t(&server, text);
        EXPECT_FALSE(t.isValid()) << text;
        EXPECT_FALSE(t.commit());
    }
    // Valid text that no longer applies: the second line fails, the first is taken back.
    CTransaction good(ctx);
    good.createNet("TMP", -1, -1);
    good.addConn(board->findNet("TMP"), -1, -1, pin("R1", "B"), -1, -1);
    CString text = good.toString();
    good.discard();
    CTransaction blocker(ctx);
    blocker.removeInstance(inst("R1"));
    ASSERT_TRUE(blocker.commit());
    std::string mid = snapshot(server, board);
    CTransaction replay(&server, text);
    ASSERT_TRUE(replay.isValid());
    EXPECT_FALSE(replay.commit());
    EXPECT_FALSE(replay.lastError().IsEmpty());
    EXPECT_EQ(snapshot(server, board), mid);
    EXPECT_NE(before, mid);
}

TEST_F(Tx, RemovingANetTakesItsConnectionsPairsAndComponents) {
    CTransaction t(ctx);
    ASSERT_TRUE(t.removeNet(net("CK_P")));
    EXPECT_EQ(board->findDPNet("CKD"), nullptr);
    EXPECT_FALSE(pin("U1", "CK_P")->isConnected());
    ASSERT_TRUE(t.removeNet(net("CLK")));
    EXPECT_EQ(board->findDTInstance("RP1"), nullptr);
    EXPECT_EQ(net("SYSCLK")->beginAlias().count(), 0u);
    ASSERT_TRUE(t.commit());
}

// What a discard brings back takes its old place: code that walks a net bit's components meets them in
// the order they were made, in the session as in a replay without the discarded edit.
TEST_F(Tx, ComponentsADiscardBringsBackKeepTheirOrderOnTheNetBit) {
    const CNetBit bit(net("DATA"), 0);
    auto names = [&bit] {
        std::vector<std::string> out;
        for (IDTInstance* dt : bit.beginAssociatedDTInstance()) out.emplace_back(dt->name());
        return out;
    };
    {
        CTransaction t(ctx);
        ASSERT_NE(t.createDTInstance(IDTInstance::ePullUpDown, "PullUp", "PUA", bit), nullptr);
        ASSERT_NE(t.createDTInstance(IDTInstance::ePullUpDown, "PullDown", "PDB", bit), nullptr);
        ASSERT_TRUE(t.commit());
    }
    const std::vector<std::string> made{"PUA", "PDB"};
    ASSERT_EQ(names(), made);
    {
        CTransaction t(ctx);
        ASSERT_TRUE(t.removeDTInstance(board->findDTInstance("PUA")));
        t.discard();
    }
    EXPECT_EQ(names(), made);
    {
        CTransaction t(ctx);
        ASSERT_TRUE(t.removeNet(net("DATA")));
        t.discard();
    }
    EXPECT_EQ(names(), made);
}

TEST_F(Tx, OutOfRangeInputIsRefusedWithoutHarm) {
    CTransaction t(ctx);
    EXPECT_EQ(t.createNet("HUGE", 0x7fffffff, 0), nullptr);  // wider than the database holds
    EXPECT_FALSE(t.addConn(net("DATA"), 0, 0x7ffffff0, pin("U1", "D"), 0, 0x7ffffff0));
    EXPECT_FALSE(t.changeInstTermType(pin("U1", "CLK"), static_cast<ITerm::ITermType>(42), 1));
    EXPECT_EQ(t.createDTInstance(7, "Series", "X1", CInstTermBit(pin("U1", "CLK"), -1)), nullptr);
    EXPECT_EQ(t.createDTInstance(1, "Series", "X1", CInstTermBit(pin("U1", "CLK"), 5)), nullptr);
    EXPECT_FALSE(t.hasPendingChanges());
    // The same through text: every line is checked before anything is spelled out.
    const char* lines[] = {
        "netCreate \"work.board:sch\" \"HUGE\" \"\" \"\" \"\" \"\" \"\" 2000000000 0 0 -1 -1 -1 -1 -1 0 0 0 0 \"\" 0 \"\" 0",
        "conn \"work.board:sch\" \"DATA\" \"U1\" \"D\" \"\" \"\" \"\" 0 2000000000 0 2000000000 -1 -1 -1 -1 0 0 0 0 \"\" 0 \"\" 0",
        "pinType \"work.board:sch\" \"U1\" \"CLK\" \"\" \"\" \"\" \"\" 0 1 77 1 -1 -1 -1 -1 0 0 0 0 \"\" 0 \"\" 0",
    };
    for (const char* l : lines) {
        std::string text = std::string("rmx-transaction 1 \"work.board:sch\" \"x\"\n") + l + "\n";
        CTransaction r(&server, text.c_str());
        ASSERT_TRUE(r.isValid()) << r.lastError().str();
        EXPECT_FALSE(r.commit()) << l;
    }
}

TEST_F(Tx, EditsInsideABlockOpenedInItsParent) {
    CDesignContext inner = ctx.instance("B1").containedDesign();
    CTransaction t(inner, "Add Conn");
    EXPECT_EQ(t.design(), server.findDesign("work.BLK:sch"));
    INet* n = t.createNet("LOCAL", -1, -1);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->design(), t.design());
    ASSERT_TRUE(t.addProperty(rmx::kindInstance, "@B1@R1", "VALUE", "1k", 0));
    std::unique_ptr<CPQPropertyData> v(inner.instance("R1").findProperty("VALUE"));
    ASSERT_TRUE(v);
    EXPECT_STREQ(v->value(), "1k");
    for (IChange* c : t.beginChange()) EXPECT_EQ(c->design(), t.design());
    EXPECT_TRUE(t.commit());
    EXPECT_TRUE(t.design()->isModified());
    CString text = t.toString();
    EXPECT_NE(text.str().find("\"work.BLK:sch\""), std::string::npos);
}

TEST_F(Tx, VectorPairPinsHaveMembers) {
    CTransaction t(ctx);
    IInstance* r = t.createInstance("W1", "work", "BLK", "sym");
    ASSERT_NE(r, nullptr);
    IInstTerm* d = r->findInstTerm("D");
    EXPECT_EQ(t.createDPInstTerm(r, "BAD", d, 0, d, 0), nullptr);  // the same bit twice
    IDPInstTerm* pp = t.createDPInstTerm(r, "DD", d, 1, d, 0);
    ASSERT_NE(pp, nullptr);
    EXPECT_EQ(pp->beginMember().count(), 0u);
    EXPECT_EQ(CInstTermBit(d, 1).beginSchemaObject().current(), pp);
    ASSERT_TRUE(t.createNet("XP", 3, 0) && t.createNet("XN", 3, 0));
    ASSERT_TRUE(t.createInstTerm(r, "QP", 3, 0) && t.createInstTerm(r, "QN", 3, 0));
    IDPInstTerm* vec = t.createDPInstTerm(r, "Q", r->findInstTerm("QP"), -1, r->findInstTerm("QN"), -1);
    ASSERT_NE(vec, nullptr);
    EXPECT_EQ(vec->beginMember().count(), 4u);
    EXPECT_EQ(vec->msb(), 3);
    IDPInstTerm* m2 = r->findDPInstTerm("Q<2>");
    ASSERT_NE(m2, nullptr);
    EXPECT_EQ(m2->parent(), vec);
    EXPECT_EQ(m2->positiveBit(), 2);
    EXPECT_FALSE(t.removeDPInstTerm(m2));  // members go with their pair
    IDPNet* x = t.createDPNet("X", board->findNet("XP"), -1, IDPNet::ePositive, board->findNet("XN"), -1, IDPNet::eNegative);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->msb(), 3);
    EXPECT_FALSE(m2->connLane());  // no pair net yet: nowhere to put a component
    ASSERT_TRUE(t.addDPConn(x, 3, 0, vec, 3, 0));
    // A member has no connection of its own: its components sit on its lane of the pair's one.
    EXPECT_EQ(m2->dpConn(), nullptr);
    EXPECT_EQ(m2->connLane().conn, vec->dpConn());
    EXPECT_EQ(m2->connLane().lane, 2);
    EXPECT_EQ(vec->connLane().conn, vec->dpConn());
    EXPECT_EQ(vec->connLane().lane, -1);
    IDTInstance* onLane = t.createDTInstance(IDTInstance::eTermination, "Parallel", "RL2", m2);
    ASSERT_NE(onLane, nullptr);
    EXPECT_EQ(onLane->dpConnLane(), 2);
    EXPECT_EQ(onLane->dpConn(), vec->dpConn());
    ASSERT_TRUE(t.removeInstance(r));
    EXPECT_EQ(x->beginConn().count(), 0u);
}

TEST_F(Tx, PartialRangesSplitAndMergeConnections) {
    CTransaction t(ctx);
    IInstTerm* d = pin("U1", "D");
    ASSERT_TRUE(t.removeConn(net("DATA"), 4, 3, d, 4, 3));
    auto runs = d->beginConn();
    ASSERT_EQ(runs.count(), 2u);
    std::vector<CConn> v(runs.begin(), runs.end());
    EXPECT_EQ(v[0].instTermMsb(), 7);
    EXPECT_EQ(v[0].instTermLsb(), 5);
    EXPECT_EQ(v[1].instTermMsb(), 2);
    EXPECT_EQ(v[1].instTermLsb(), 0);
    // Joining the whole pin again only touches the free bits: one record for bits 4..3.
    size_t before = t.beginChange().count();
    ASSERT_TRUE(t.addConn(net("DATA"), 7, 0, d, 7, 0));
    auto changes = t.beginChange();
    ASSERT_EQ(changes.count(), before + 1);
    std::vector<IChange*> c(changes.begin(), changes.end());
    auto* k = dynamic_cast<CConn*>(c.back()->object());
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->instTermMsb(), 4);
    EXPECT_EQ(k->instTermLsb(), 3);
    EXPECT_EQ(d->beginConn().count(), 1u);
    // A range where some bits move and some are already in place.
    INet* a = t.createNet("A", 7, 0);
    ASSERT_TRUE(t.addConn(a, 1, 1, d, 1, 1));
    size_t mark = t.beginChange().count();
    ASSERT_TRUE(t.addConn(a, 2, 0, d, 2, 0));
    EXPECT_EQ(t.beginChange().count(), mark + 2);  // bits 2 and 0 move, bit 1 stays
    EXPECT_FALSE(t.removeConn(net("DATA"), 1, 1, d, 1, 1));  // not joined that way: refused
}

TEST_F(Tx, TwoOpenTransactionsDiscardOnlyTheirOwnChanges) {
    CTransaction first(ctx, "first");
    CTransaction second(ctx, "second");
    ASSERT_TRUE(first.createNet("ONE", -1, -1));
    ASSERT_TRUE(second.createNet("TWO", -1, -1));
    ASSERT_TRUE(first.addProperty(ctx.instance("R1"), "VALUE", "1k", 0));
    first.discard();
    EXPECT_EQ(board->findNet("ONE"), nullptr);
    EXPECT_NE(board->findNet("TWO"), nullptr);
    std::unique_ptr<CPQPropertyData> v(ctx.instance("R1").findProperty("VALUE"));
    EXPECT_FALSE(v);
    ASSERT_TRUE(second.commit());
    EXPECT_EQ(second.beginChange().count(), 1u);
}

TEST_F(Tx, AliasesAreFollowedTransitively) {
    CTransaction t(ctx);
    INet* third = t.createNet("CLK3", -1, -1);
    ASSERT_TRUE(t.addAlias(net("SYSCLK"), third));
    EXPECT_FALSE(t.addAlias(third, net("SYSCLK")));  // once is enough
    EXPECT_FALSE(t.addAlias(third, net("DATA")));    // widths differ
    std::set<INet*> seen;
    for (const CNetBit& b : CNetBit(net("CLK"), -1).beginAlias()) seen.insert(b.net());
    EXPECT_EQ(seen, (std::set<INet*>{net("SYSCLK"), third}));
    std::unique_ptr<CPQPropertyData> p(ctx.net("CLK3").bitContext(-1).findPropertyIncludingAliases("PHYS_NET_NAME"));
    ASSERT_TRUE(p);
    EXPECT_STREQ(p->value(), "CLK_MAIN");
}

namespace {

// The text of a transaction is asked for many times (the undo history, the change log, the journal):
// each time it holds exactly the edits made so far, also after a discard or a commit.
struct TxText : Tx {
    static size_t Lines(const CTransaction& t) {
        const std::string s = t.toString().str();
        return static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
    }
    static bool Has(const CTransaction& t, const char* word) { return t.toString().str().find(word) != std::string::npos; }
};

TEST_F(TxText, FollowsEveryEditAndADiscard) {
    CTransaction t(ctx, "names");
    const size_t header = Lines(t);
    ASSERT_NE(t.createNet("FIRST_NET", -1, -1), nullptr);
    EXPECT_EQ(Lines(t), header + 1);
    EXPECT_TRUE(Has(t, "FIRST_NET"));
    ASSERT_NE(t.createNet("SECOND_NET", -1, -1), nullptr);
    EXPECT_EQ(Lines(t), header + 2);
    EXPECT_TRUE(Has(t, "SECOND_NET"));
    t.discard();
    EXPECT_EQ(Lines(t), header);
    // As many edits as before, other ones: the text tells them, not the earlier ones.
    ASSERT_NE(t.createNet("THIRD_NET", -1, -1), nullptr);
    ASSERT_NE(t.createNet("FOURTH_NET", -1, -1), nullptr);
    EXPECT_FALSE(Has(t, "FIRST_NET"));
    EXPECT_TRUE(Has(t, "THIRD_NET") && Has(t, "FOURTH_NET"));
    ASSERT_TRUE(t.commit());
    const CString committed = t.toString();
    EXPECT_EQ(t.toString(), committed);
    // Committed again with more edits: the new one joins the text.
    ASSERT_TRUE(t.renameNet(net("CLK"), "CLOCK2"));
    EXPECT_TRUE(Has(t, "CLOCK2"));
    EXPECT_EQ(Lines(t), header + 3);
}

TEST_F(TxText, ARefusedEditAddsNoLine) {
    CTransaction t(ctx, "refused");
    ASSERT_NE(t.createNet("KEPT", -1, -1), nullptr);
    const CString before = t.toString();
    EXPECT_EQ(t.createNet("KEPT", -1, -1), nullptr); // taken
    EXPECT_EQ(t.toString(), before);
}

// The text rebuilt from another's reads back the same edits, before and after it is committed.
TEST_F(TxText, ARebuiltTransactionWritesTheSameEdits) {
    CTransaction t(ctx, "rebuilt");
    ASSERT_NE(t.createNet("REBUILT_NET", 3, 0), nullptr);
    ASSERT_TRUE(t.commit());
    const CString text = t.toString();
    CTransaction undo(&server, text, true, false);
    CTransaction again(&server, undo.toString(), true, false);
    ASSERT_TRUE(undo.commit());
    EXPECT_EQ(board->findNet("REBUILT_NET"), nullptr);
    ASSERT_TRUE(again.commit());
    EXPECT_NE(board->findNet("REBUILT_NET"), nullptr);
}

} // namespace

// An implicit power pin tells the instance's own tie from the part's net: a release is offered only
// where there is a tie to release, and the net it falls back to is known without reading the part.
TEST_F(Tx, ImplicitPowerPinsTellTheInstancesOwnTieFromThePartsNet) {
    auto vdd = [&] {
        for (const CImplicitPowerPin& p : inst("U1")->implicitPowerPins())
            if (p.pinName == "VDD") return p;
        return CImplicitPowerPin{};
    };
    EXPECT_FALSE(vdd().tiedByInstance);
    EXPECT_STREQ(vdd().partNetName, "VCC");
    CTransaction t(ctx);
    ASSERT_TRUE(t.setPowerPinNet(inst("U1"), "VDD", "VCC3"));
    EXPECT_TRUE(vdd().tiedByInstance);
    EXPECT_STREQ(vdd().netName, "VCC3");
    EXPECT_STREQ(vdd().partNetName, "VCC");
    ASSERT_TRUE(t.removePowerPinNet(inst("U1"), "VDD"));
    EXPECT_FALSE(vdd().tiedByInstance);
    EXPECT_STREQ(vdd().netName, "VCC");
    t.discard();
}

// The instance list generation moves with every change of the instances a list shows (made, removed,
// renamed, re-mastered, given a LOCATION), their undo included, and with nothing else.
TEST_F(Tx, TheInstanceListGenerationMovesWithTheInstancesOnly) {
    auto moves = [&](const std::function<bool(CTransaction&)>& edit) {
        const std::uint64_t before = server.instanceListGeneration();
        CTransaction t(ctx, "edit");
        if (!edit(t) || !t.commit()) return std::string("refused");
        const std::uint64_t made = server.instanceListGeneration();
        const std::string text = t.toString().str();
        if (!CTransaction(&server, text.c_str(), true, false).commit()) return std::string("no undo");
        const std::uint64_t undone = server.instanceListGeneration();
        if ((made != before) != (undone != made)) return std::string("the undo disagrees");
        return std::string(made != before ? "moved" : "still");
    };
    EXPECT_EQ(moves([&](CTransaction& t) { return t.createInstance("R9", "work", "RES", "sym") != nullptr; }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.renameInstance(inst("R1"), "R2"); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.removeInstance(inst("R1")); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(inst("R1"), -1, "LOCATION", "R7", 0); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.removeConn(net("CLK"), -1, -1, pin("R1", "A"), -1, -1); }),
              "still");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(inst("R1"), -1, "VALUE", "10k", 0); }), "still");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.renameNet(net("SYSCLK"), "SYS"); }), "still");
}

// The designator generation moves with every change that may bring or take away a reference designator:
// placed parts made, removed or given a LOCATION, associated components made or removed or given slot
// designators, their undo included; connections, other properties and renames leave it.
TEST_F(Tx, TheDesignatorGenerationMovesWithTheDesignatorsOnly) {
    auto moves = [&](const std::function<bool(CTransaction&)>& edit) {
        const std::uint64_t before = server.designatorGeneration();
        CTransaction t(ctx, "edit");
        if (!edit(t) || !t.commit()) return std::string("refused");
        const std::uint64_t made = server.designatorGeneration();
        const std::string text = t.toString().str();
        if (!CTransaction(&server, text.c_str(), true, false).commit()) return std::string("no undo");
        const std::uint64_t undone = server.designatorGeneration();
        if ((made != before) != (undone != made)) return std::string("the undo disagrees");
        return std::string(made != before ? "moved" : "still");
    };
    auto pullup = [&](CTransaction& t) {
        return t.createDTInstance(IDTInstance::ePullUpDown, "Pullup", "PU9", CNetBit(net("CLK"), -1));
    };
    EXPECT_EQ(moves([&](CTransaction& t) { return t.createInstance("R9", "work", "RES", "sym") != nullptr; }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.removeInstance(inst("R1")); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(inst("R1"), -1, "LOCATION", "R7", 0); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return pullup(t) != nullptr; }), "moved");
    CTransaction made(ctx, "pull-up");
    IDTInstance* dt = pullup(made);
    ASSERT_TRUE(dt && made.commit());
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(dt, -1, "SLOT0.REFDES", "R5", 0); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(dt, -1, "SLOT0.VALUE", "1k", 0); }), "still");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.removeDTInstance(dt); }), "moved");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.renameInstance(inst("R1"), "R2"); }), "still");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.removeConn(net("CLK"), -1, -1, pin("R1", "A"), -1, -1); }),
              "still");
    EXPECT_EQ(moves([&](CTransaction& t) { return t.addProperty(inst("R1"), -1, "VALUE", "10k", 0); }), "still");
}

// A transaction text is read as written, whatever the design holds now: the values its undo and redo bring
// back, and the instances they make or remove with their masters.
TEST_F(Tx, ATransactionTextNamesTheValuesAndInstancesItsUndoAndRedoBringBack) {
    CTransaction t(ctx, "Parts");
    ASSERT_TRUE(t.addProperty(ctx.instance("U1"), "LOCATION", "U \"77\"", 2));
    ASSERT_TRUE(t.removeInstance(board->findInstance("R1")));
    ASSERT_NE(t.createInstance("R9", "work", "RES", "sym"), nullptr);
    ASSERT_NE(t.createDTInstance(IDTInstance::ePullUpDown, "Pullup", "PU9", CNetBit(net("CLK"), -1)),
              nullptr);
    ASSERT_TRUE(t.commit());
    const std::string text = t.toString().str();
    ASSERT_TRUE(CTransaction(&server, text.c_str(), true, false).commit());

    const CTransactionTextChanges read = CTransactionTextChanges::read(text.c_str());
    std::vector<CTransactionTextChanges::Property> locations;
    for (const auto& p : read.properties)
        if (p.name == "LOCATION") locations.push_back(p);
    ASSERT_EQ(locations.size(), 2u);
    EXPECT_EQ(locations[0].design, board->name());
    EXPECT_EQ(locations[0].path, "@U1");
    EXPECT_TRUE(locations[0].hadOld && locations[0].hasNew);
    EXPECT_EQ(locations[0].oldValue, "U1");
    EXPECT_EQ(locations[0].newValue, "U \"77\"");
    EXPECT_EQ(locations[1].path, "@R1");
    EXPECT_TRUE(locations[1].hadOld);
    EXPECT_FALSE(locations[1].hasNew);
    EXPECT_EQ(locations[1].oldValue, "R1");

    ASSERT_EQ(read.instances.size(), 2u);
    EXPECT_EQ(read.instances[0].name, "R1");
    EXPECT_FALSE(read.instances[0].created);
    EXPECT_EQ(read.instances[1].name, "R9");
    EXPECT_TRUE(read.instances[1].created);
    EXPECT_EQ(read.instances[1].master, "work.RES:sym");
    EXPECT_EQ(read.instances[1].design, board->name());
    ASSERT_EQ(read.components.size(), 1u);
    EXPECT_EQ(read.components[0].name, "PU9");
    EXPECT_EQ(read.components[0].design, board->name());
    EXPECT_TRUE(read.components[0].created);

    for (const char* other :
         std::vector<const char*>{"prop \"board\"", "", "rmx-transaction 1 \"a\" \"b\"\nbogus", nullptr}) {
        const auto none = CTransactionTextChanges::read(other);
        EXPECT_TRUE(none.properties.empty() && none.instances.empty()) << (other ? other : "(null)");
    }
}
