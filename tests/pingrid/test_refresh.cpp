// Reloading shown instances and the refresh after committed transactions.
#include "PinGridTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "rmx/transaction.h"

#include <memory>
#include "pingrid/KXPinGridFunctions.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class Refresh : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B").bus("D", 3, 0).port("P").port("N").symbolPair("CLK", "P",
                                                                                                 "N");
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .instance("U2", "PART", "U8")
            .connect("U1", "A", "N1")
            .net("N2")
            .net("DATA", 3, 0)
            .net("CLK_P")
            .prop("@U1", "VOLT", "1.8", 1);
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CKXCustomizeAPI::Initialize(false);
        grid->SetupColumns();
    }
    IInstTerm* Pin(const char* inst, const char* name) {
        return Instance(inst).instance()->findInstTerm(name);
    }
    INet* Net(const char* name) { return design.design()->findNet(name); }
    // Commits the changes made by fill and hands the transaction to the grid.
    template <class F> void Commit(F fill) {
        CTransaction t(design, "test");
        fill(t);
        ASSERT_TRUE(t.commit());
        grid->OnTransactionCommitted(0, reinterpret_cast<LPARAM>(&t));
    }
    static constexpr unsigned kWhole = static_cast<unsigned>(-1);
};

TEST_F(Refresh, AddedAndRemovedConnections) {
    Commit([&](CTransaction& t) {
        t.addConn(Net("N2"), kWhole, kWhole, Pin("U1", "B"), kWhole, kWhole);
        t.removeConn(Net("N1"), kWhole, kWhole, Pin("U1", "A"), kWhole, kWhole);
    });
    EXPECT_EQ(Cell(Row("B"), G::m_nColSignal), "N2");
    EXPECT_EQ(Cell(Row("A"), G::m_nColSignal), "");
    EXPECT_EQ(grid->GetParam()->IsEnableUndo(), TRUE);
    EXPECT_TRUE(grid->GetParam()->IsLockReadOnly());
}

TEST_F(Refresh, WholeVectorConnection) {
    Commit([&](CTransaction& t) { t.addConn(Net("DATA"), 3, 0, Pin("U1", "D"), 3, 0); });
    const ROWCOL d = Row("D<3..0>");
    ASSERT_NE(d, 0u);
    EXPECT_EQ(Cell(d, G::m_nColSignal), "DATA<3..0>");
    EXPECT_EQ(Cell(d + 1, G::m_nColSignal), "DATA<3>");
    EXPECT_EQ(Cell(d + 4, G::m_nColSignal), "DATA<0>");
    // And taken away again.
    Commit([&](CTransaction& t) { t.removeConn(Net("DATA"), 3, 0, Pin("U1", "D"), 3, 0); });
    EXPECT_EQ(Cell(d, G::m_nColSignal), "");
    EXPECT_EQ(Cell(d + 1, G::m_nColSignal), "");
}

TEST_F(Refresh, PairLegConnectionRefreshesThePairRow) {
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    Commit([&](CTransaction& t) { t.addConn(Net("CLK_P"), kWhole, kWhole, Pin("U1", "P"), kWhole, kWhole); });
    EXPECT_EQ(Cell(pair + 1, G::m_nColSignal), "CLK_P");
}

TEST_F(Refresh, ChangesElsewhereLeaveTheRows) {
    const ROWCOL a = Row("A");
    grid->m_bRefreshOnCommit = 0;
    Commit([&](CTransaction& t) { t.removeConn(Net("N1"), kWhole, kWhole, Pin("U1", "A"), kWhole, kWhole); });
    EXPECT_EQ(Cell(a, G::m_nColSignal), "N1");
    grid->m_bRefreshOnCommit = 1;
    // U2 is not shown: its connection changes no row.
    const int redraws = grid->GetRedrawCount();
    Commit([&](CTransaction& t) { t.addConn(Net("N2"), kWhole, kWhole, Pin("U2", "A"), kWhole, kWhole); });
    EXPECT_EQ(Cell(a, G::m_nColSignal), "N1");
    EXPECT_EQ(Cell(Row("B"), G::m_nColSignal), "");
    EXPECT_GT(grid->GetRedrawCount(), redraws);
}

TEST_F(Refresh, LocationAndCustomColumns) {
    ASSERT_TRUE(UseColumns({"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                            "SIGNAL|Signal|16s|DEFAULT|SHOW", "VOLT|Volt|8s|INSTPROP|SHOW"}));
    ASSERT_TRUE(grid->RefreshInstances(nullptr));
    const int volt = G::ColumnOfKey("VOLT");
    EXPECT_EQ(Cell(Row("A"), volt), "1.8");
    Commit([&](CTransaction& t) { t.addProperty(Instance("U1"), "VOLT", "3.3", 1); });
    EXPECT_EQ(Cell(Row("A"), volt), "3.3");
    // A location change rewrites the Ref Des cells; the properties changed with it follow too.
    Commit([&](CTransaction& t) {
        t.addProperty(Instance("U1"), "LOCATION", "U9", 0);
        t.addProperty(Instance("U1"), "VOLT", "5", 1);
    });
    EXPECT_EQ(Cell(Row("A"), G::m_nColRefDes), "U9");
    EXPECT_EQ(grid->PartFunctions().m_strHeaderSecondText, "- U9");
    EXPECT_EQ(Cell(Row("A"), volt), "5");
}

TEST_F(Refresh, ReloadingShownInstances) {
    // Nothing for a null instance; an instance not shown only sorts again.
    EXPECT_EQ(grid->OnInstanceChanged(0, 0), 0);
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(Row("A"), static_cast<ROWCOL>(G::m_nColComments)), "mark");
    EXPECT_EQ(grid->OnInstanceChanged(reinterpret_cast<WPARAM>(Instance("U2").instance()), 0), 0);
    EXPECT_EQ(Cell(Row("A"), G::m_nColComments), "mark");
    EXPECT_TRUE(grid->RefreshInstances(nullptr));
    EXPECT_EQ(Cell(Row("A"), G::m_nColComments), "");
    ASSERT_EQ(grid->m_arrInstanceIds.size(), 1u);

    // Several instances in one grid, in load order.
    G many;
    many.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 101);
    many.InitializeGrid(nullptr, design, design, 0);
    ASSERT_TRUE(many.ReloadInstanceRows(design, {Instance("U2")->id(), Instance("U1")->id()}, TRUE));
    EXPECT_EQ(many.m_bMultipleObjects, 1);
    EXPECT_EQ(many.GetValueRowCol(0, 1), "Multiple Instances");
    EXPECT_EQ(many.m_arrInstanceIds.size(), 2u);
    EXPECT_EQ(many.GetValueRowCol(PIN_FIRST_ROW, static_cast<ROWCOL>(G::m_nColInstance)), "U2");
    EXPECT_EQ(many.GetValueRowCol(many.GetRowCount(), static_cast<ROWCOL>(G::m_nColInstance)), "U1");
    const ROWCOL rows = many.GetRowCount();
    EXPECT_TRUE(many.RefreshInstances(nullptr));
    EXPECT_EQ(many.GetRowCount(), rows);
    EXPECT_EQ(many.m_arrInstanceIds.size(), 2u);

    // One of the two gets a new master: both keep their rows, none is listed twice.
    CTransaction t(design, "test");
    ASSERT_TRUE(t.replaceMaster(Instance("U2").instance(), "work", "PART", "sym"));
    ASSERT_TRUE(t.commit());
    many.OnTransactionCommitted(0, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(many.GetRowCount(), rows);
    EXPECT_EQ(many.m_arrInstanceIds.size(), 2u);
    int u1 = 0, u2 = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= many.GetRowCount(); ++r) {
        const CString inst = many.GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColInstance));
        u1 += inst == "U1";
        u2 += inst == "U2";
    }
    EXPECT_EQ(u1, u2);
    EXPECT_GT(u1, 0);
}

} // namespace

namespace {

TEST_F(Refresh, TerminationsAndPullUps) {
    const ROWCOL a = Row("A");
    EXPECT_EQ(Cell(a, G::m_nColTermination), "");
    CGXStyle pupd;
    grid->GetStyleRowCol(a, static_cast<ROWCOL>(G::m_nColPupd), pupd);
    EXPECT_EQ(pupd.GetControl(), IDS_CTRL_PUPD_NONE);
    Commit([&](CTransaction& t) {
        ASSERT_NE(
            t.createDTInstance(IDTInstance::eTermination, "Series", "T1", CInstTermBit(Pin("U1", "A"), -1)),
            nullptr);
        ASSERT_NE(t.createDTInstance(IDTInstance::ePullUpDown, "Pullup", "R1", CNetBit(Net("N1"), -1)),
                  nullptr);
    });
    EXPECT_NE(Cell(a, G::m_nColTermination), "");
    grid->GetStyleRowCol(a, static_cast<ROWCOL>(G::m_nColPupd), pupd);
    EXPECT_EQ(pupd.GetControl(), IDS_CTRL_PUPD_LOCAL_PULLUP);
    // The connection goes: the row keeps no mark of the net it left.
    Commit([&](CTransaction& t) { t.removeConn(Net("N1"), kWhole, kWhole, Pin("U1", "A"), kWhole, kWhole); });
    grid->GetStyleRowCol(a, static_cast<ROWCOL>(G::m_nColPupd), pupd);
    EXPECT_EQ(pupd.GetControl(), IDS_CTRL_PUPD_NONE);
}


// A design without components shows its pins' termination cells without asking the library about each
// connected pin bit; they read as in a design whose only component is on a net and none on a pin.
TEST_F(Refresh, TerminationCellsOfADesignWithoutComponentsReadAsWhenTheLibraryIsAsked) {
    Commit([&](CTransaction& t) {
        ASSERT_TRUE(t.addConn(Net("DATA"), kWhole, kWhole, Pin("U1", "D"), kWhole, kWhole));
        ASSERT_TRUE(t.addConn(Net("N2"), kWhole, kWhole, Pin("U1", "B"), kWhole, kWhole));
    });
    auto cells = [&] {
        std::vector<CString> out;
        for (ROWCOL r = 1; r <= grid->GetRowCount(); ++r) {
            out.push_back(Cell(r, G::m_nColPinName));
            out.push_back(Cell(r, G::m_nColTermination));
        }
        return out;
    };
    ASSERT_EQ(design.design()->dtInstanceCount(), 0);
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const std::vector<CString> without = cells();
    Commit([&](CTransaction& t) {
        ASSERT_NE(t.createDTInstance(IDTInstance::ePullUpDown, "Pullup", "R1", CNetBit(Net("N2"), -1)), nullptr);
    });
    ASSERT_EQ(design.design()->dtInstanceCount(), 1);
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_EQ(cells(), without);
    // A termination on a pin of the design shows as before.
    Commit([&](CTransaction& t) {
        ASSERT_NE(t.createDTInstance(IDTInstance::eTermination, "Series", "T1", CInstTermBit(Pin("U1", "B"), -1)),
                  nullptr);
    });
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_EQ(Cell(Row("B"), G::m_nColTermination), "Series");
}

// Two buses connected whole, and scalar pins, for the faults of the refresh.
class RefreshBuses : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("MEM").port("CS").bus("A", 3, 0).bus("B", 3, 0).bus("C", 1, 0);
        builder.schematic("top")
            .instance("U1", "MEM", "U1")
            .net("ADDR", 3, 0)
            .net("DATA", 3, 0)
            .net("CTL", 1, 0)
            .connect("U1", "A<3..0>", "ADDR<3..0>")
            .connect("U1", "B<3..0>", "DATA<3..0>")
            .connect("U1", "C<1..0>", "CTL<1..0>")
            .connect("U1", "CS", "SEL");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    template <class F> void Commit(F fill) {
        CTransaction t(design, "test");
        fill(t);
        ASSERT_TRUE(t.commit());
        grid->OnTransactionCommitted(0, reinterpret_cast<LPARAM>(&t));
    }
    IInstTerm* Pin(const char* name) { return Instance("U1").instance()->findInstTerm(name); }
    INet* Net(const char* name) { return design.design()->findNet(name); }
    CString Signal(const char* pinRow) { return Cell(Row(pinRow), G::m_nColSignal); }
};

// Taking one bus's connection away blanks that bus's bit rows only: the later buses keep theirs.
TEST_F(RefreshBuses, RemovingOneBusLeavesTheOtherBusesBitsShown) {
    ASSERT_EQ(Signal("B<2>"), "DATA<2>");
    Commit([&](CTransaction& t) { t.removeConn(Net("ADDR"), 3, 0, Pin("A"), 3, 0); });
    EXPECT_EQ(Signal("A<3..0>"), "");
    for (const char* bit : {"A<3>", "A<2>", "A<1>", "A<0>"}) EXPECT_EQ(Signal(bit), "") << bit;
    EXPECT_EQ(Signal("B<3..0>"), "DATA<3..0>");
    for (int b = 3; b >= 0; --b)
        EXPECT_EQ(Signal(("B<" + std::to_string(b) + ">").c_str()), ("DATA<" + std::to_string(b) + ">").c_str());
    EXPECT_EQ(Signal("C<1>"), "CTL<1>");
    EXPECT_EQ(Signal("C<0>"), "CTL<0>");
    // The last bus too: the ones before it are not touched either.
    Commit([&](CTransaction& t) { t.removeConn(Net("CTL"), 1, 0, Pin("C"), 1, 0); });
    EXPECT_EQ(Signal("C<1>"), "");
    EXPECT_EQ(Signal("B<0>"), "DATA<0>");
}

// A renamed net shows its new name on every row it reaches: a scalar pin, a whole bus and its bits.
TEST_F(RefreshBuses, ARenamedNetShowsItsNewNameOnEveryRow) {
    Commit([&](CTransaction& t) {
        t.renameNet(Net("DATA"), "DQ");
        t.renameNet(Net("SEL"), "CS_N");
    });
    EXPECT_EQ(Signal("CS"), "CS_N");
    EXPECT_EQ(Signal("B<3..0>"), "DQ<3..0>");
    EXPECT_EQ(Signal("B<3>"), "DQ<3>");
    EXPECT_EQ(Signal("B<0>"), "DQ<0>");
    EXPECT_EQ(Signal("A<1>"), "ADDR<1>");
    // Named back, and after the rows were sorted the other way round.
    grid->SortRows(G::m_nColPinName, FALSE);
    Commit([&](CTransaction& t) { t.renameNet(Net("DQ"), "DATA"); });
    EXPECT_EQ(Signal("B<3..0>"), "DATA<3..0>");
    EXPECT_EQ(Signal("B<1>"), "DATA<1>");
    EXPECT_EQ(Signal("CS"), "CS_N");
}

} // namespace
