// The matrix after transactions committed elsewhere: connections made and
// removed by another window or an undo, renamed and removed nets and
// instances, pin numbers and physical net names set for the first time; the
// refresh never enters the undo history and keeps the read-only lock.
#include "MatrixTestSupport.h"

namespace {

class MatrixRefresh : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:FREE", "@:DATA<1>"}), nullptr);
    }
    // A transaction of another window (the pane's own grid) on the design.
    template <class F> void Elsewhere(F&& change) {
        CKXGridWnd* other = Ccp()->PaneGrid();
        ASSERT_TRUE(CKXTransaction::BeginTrans(other, Design(), "Other"));
        change(*CKXTransaction::GetCurrentTransactionObj());
        ASSERT_TRUE(CKXTransaction::CommitTrans(other, 1, 1));
    }
    IInstTerm* Pin(const char* instance, const char* pin) {
        return Design().instance(instance).instance()->findInstTerm(pin);
    }
};

TEST_F(MatrixRefresh, ConnectionsMadeAndRemovedElsewhereAppearAndGo) {
    Elsewhere([&](CTransaction& t) {
        t.addConn(Design().net("FREE").net(), static_cast<unsigned>(-1), static_cast<unsigned>(-1), Pin("U1", "IN"),
                  static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    });
    EXPECT_EQ(Pins("FREE", 0), std::vector<std::string>{"IN"});
    // A second pin of the same instance on the signal takes a further row.
    Elsewhere([&](CTransaction& t) {
        t.addConn(Design().net("FREE").net(), static_cast<unsigned>(-1), static_cast<unsigned>(-1), Pin("J1", "P"),
                  3, 3);
        t.addConn(Design().net("FREE").net(), static_cast<unsigned>(-1), static_cast<unsigned>(-1), Pin("J1", "P"),
                  4, 4);
    });
    EXPECT_EQ(Pins("FREE", 1), (std::vector<std::string>{"P<3>", "P<4>"}));
    EXPECT_EQ(Rows("FREE").size(), 2u);
    // Removed elsewhere: the cells empty.
    Elsewhere([&](CTransaction& t) {
        t.removeConn(Design().net("N1").net(), static_cast<unsigned>(-1), static_cast<unsigned>(-1), Pin("J1", "S"),
                     static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    });
    EXPECT_EQ(Pins("N1", 1), std::vector<std::string>{"T"});
}

TEST_F(MatrixRefresh, AnEditInAnotherMatrixGridReachesThisOne) {
    G* first = Grid();
    G* second = Ccp()->CreateMatrixGrid("v");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_TRUE(Type(Row("FREE"), PinCol(0), "IN")); // in the shown grid
    ROWCOL row = 0;
    for (ROWCOL r = kxmatrix::kFirstDataRow; r <= second->GetRowCount(); ++r)
        if (second->GetValueRowCol(r, static_cast<ROWCOL>(NameCol())) == "FREE") row = r;
    ASSERT_NE(row, 0u);
    EXPECT_EQ(second->GetValueRowCol(row, static_cast<ROWCOL>(PinCol(0))), "IN");
    // Undo is a commit of the pane: both grids follow.
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(second->GetValueRowCol(row, static_cast<ROWCOL>(PinCol(0))), "");
    EXPECT_EQ(Cell(Row("FREE"), PinCol(0)), "");
}

TEST_F(MatrixRefresh, RenamedAndRemovedNetsAndInstancesFollow) {
    Elsewhere([&](CTransaction& t) { t.renameNet(Design().net("FREE").net(), "SPARE"); });
    EXPECT_EQ(Rows("SPARE").size(), 1u);
    EXPECT_TRUE(Rows("FREE").empty());
    Elsewhere([&](CTransaction& t) { t.removeNet(Design().net("SPARE").net()); });
    EXPECT_TRUE(Rows("SPARE").empty());
    EXPECT_EQ(Grid()->m_arrNetData.size(), 2u);
    Elsewhere([&](CTransaction& t) { t.renameInstance(Design().instance("J1").instance(), "J9"); });
    EXPECT_EQ(Cell(0, PinCol(1)), "Component J9 (J1)");
    Elsewhere([&](CTransaction& t) { t.removeInstance(Design().instance("U1").instance()); });
    EXPECT_EQ(Grid()->GroupCount(), 1);
    EXPECT_EQ(Cell(0, PinCol(0)), "Component J9 (J1)");
    EXPECT_EQ(Pins("N1", 0), (std::vector<std::string>{"S", "T"}));
}

// An instance deleted while shown and brought back by an undo takes its columns again, where they were,
// as the view opened afresh would show it; a redo takes them away again.
TEST_F(MatrixRefresh, AnInstanceAnUndoBringsBackIsShownWhereItWas) {
    const std::string before = Run("kx::window ccp");
    ASSERT_EQ(Run("kx::call DeleteComponent U1"), "1");
    EXPECT_EQ(Grid()->GroupCount(), 1);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Grid()->GroupCount(), 2);
    EXPECT_EQ(Run("kx::window ccp"), before);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Cell(0, PinCol(0)), "Component J1 (J1)");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), before);
}

// A grid that loaded the view while the design lacked one of its components shows that component once
// the design has it again, in the place the view keeps it, as the view loaded afresh then does.
TEST_F(MatrixRefresh, AComponentTheViewNamesShowsOnceTheDesignHasItAgain) {
    ASSERT_EQ(Run("kx::call DeleteComponent U1"), "1");
    G* later = Ccp()->CreateMatrixGrid("v");
    ASSERT_NE(later, nullptr);
    ASSERT_EQ(later->GroupCount(), 1);
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(later->GroupCount(), 2);
    EXPECT_EQ(later->GetValueRowCol(0, static_cast<ROWCOL>(PinCol(0))), "Component U1 (U1)");
    EXPECT_EQ(later->GetValueRowCol(0, static_cast<ROWCOL>(PinCol(1))), "Component J1 (J1)");
    // A component the view does not name stays out of it.
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(later->GroupCount(), 1);
}

TEST_F(MatrixRefresh, PinNumbersAndPhysicalNetNamesSetForTheFirstTimeAreShown) {
    const ROWCOL n1 = Row("N1");
    ASSERT_EQ(Cell(n1, PnCol(0)), ""); // U1's OUT has no pin number
    Elsewhere([&](CTransaction& t) {
        t.addProperty(Design().instance("U1").instTerm("OUT").bitContext(-1), "PN", "7");
        t.addProperty(Design().net("N1").bitContext(-1), "PHYS_NET_NAME", "NET_ONE");
    });
    EXPECT_EQ(Cell(n1, PnCol(0)), "7");
    EXPECT_EQ(Cell(n1, G::Layout().m_nPhysNetNameCol), "NET_ONE");
}

// A physical net name that reaches a net through an alias: the alias made elsewhere shows it on the
// net's rows, and its removal takes it away again.
TEST_F(MatrixRefresh, AnAliasMadeElsewhereShowsThePhysicalNetNameItBrings) {
    Elsewhere([&](CTransaction& t) { t.addProperty(Design().net("GND").bitContext(-1), "PHYS_NET_NAME", "GROUND"); });
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Cell(free, G::Layout().m_nPhysNetNameCol), "");
    Elsewhere([&](CTransaction& t) { ASSERT_TRUE(t.addAlias(Design().net("FREE").net(), Design().net("GND").net())); });
    EXPECT_EQ(Cell(free, G::Layout().m_nPhysNetNameCol), "GROUND");
    // Rows of nets the alias does not touch stay as they were.
    EXPECT_EQ(Cell(Row("N1"), G::Layout().m_nPhysNetNameCol), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 2);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Cell(free, G::Layout().m_nPhysNetNameCol), "");
}

TEST_F(MatrixRefresh, ACommitElsewhereKeepsTheReadOnlyLockAsItWas) {
    CGXGridParam* param = Grid()->GetParam();
    for (BOOL lock : {TRUE, FALSE}) {
        param->SetLockReadOnly(lock);
        Elsewhere([&](CTransaction& t) {
            t.addConn(Design().net("FREE").net(), static_cast<unsigned>(-1), static_cast<unsigned>(-1),
                      Pin("J1", "P"), lock ? 3 : 4, lock ? 3 : 4);
        });
        EXPECT_EQ(param->IsLockReadOnly(), lock);
    }
}

// Locations set on instances the grid does not show: one removed with its properties, whose group
// goes, and one of another design that bears the number of a shown instance (instances are numbered
// within their design). No header changes but the removed one's.
class MatrixTwoDesigns : public MatrixRefresh {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        MatrixRefresh::BuildDesign(b);
        b.schematic("other");
        for (const char* name : {"X1", "X2", "X3", "X4", "X5", "X6"}) b.instance(name, "hdr", name);
    }
};

TEST_F(MatrixTwoDesigns, LocationsOfInstancesNotShownChangeNoHeader) {
    const CString first = Cell(0, PinCol(0)), second = Cell(0, PinCol(1));
    const CDesignContext other(CKXShareGlobalData::m_pServer, "work.other:sch");
    ASSERT_TRUE(CKXTransaction::BeginTrans(Ccp()->PaneGrid(), other, "Other design"));
    for (IInstance* inst : other.design()->beginInstance())
        CKXTransaction::GetCurrentTransactionObj()->addProperty(inst, -1, "LOCATION", "Z9", 0);
    ASSERT_TRUE(CKXTransaction::CommitTrans(Ccp()->PaneGrid(), 1, 1));
    EXPECT_EQ(Cell(0, PinCol(0)), first);
    EXPECT_EQ(Cell(0, PinCol(1)), second);

    Elsewhere([&](CTransaction& t) { t.addProperty(Design().instance("U1").instance(), -1, "LOCATION", "U7", 0); });
    EXPECT_EQ(Cell(0, PinCol(0)), "Component U1 (U7)");
    const int groups = Grid()->GroupCount();
    Elsewhere([&](CTransaction& t) { t.removeInstance(Design().instance("U1").instance()); });
    EXPECT_EQ(Grid()->GroupCount(), groups - 1);
    EXPECT_EQ(Cell(0, PinCol(0)), second);
}

} // namespace
