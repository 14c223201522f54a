#include "test_support.h"

#include <unistd.h>

#include "kxcommon/KXHiliteObject.h"
#include "kxinstsigpane/KXListPanes.h"

namespace {

// The connectivity pane as the list panes see it: records what it is asked to show.
class DetailsRecorder : public CCommonInterface {
public:
    std::vector<std::string> shown;
    std::vector<BOOL> forced;
    int registeredComponents = 0, registeredNets = 0;

    void ShowInstanceConnectivity(const CDesignContext&, CKXInstanceContextArray* a, BOOL bForce) override {
        std::string s = "instances:";
        for (INT_PTR i = 0; i < a->GetSize(); ++i) s += std::string(" ") + (*a)[i].name().GetString();
        shown.push_back(s);
        forced.push_back(bForce);
    }
    void ShowNetConnectivity(const CDesignContext&, CKXNetContextArray* a, BOOL bForce) override {
        std::string s = "nets:";
        for (INT_PTR i = 0; i < a->GetSize(); ++i) s += std::string(" ") + (*a)[i].net()->name();
        shown.push_back(s);
        forced.push_back(bForce);
    }
    void ShowComponentsByName(const CDesignContext&, CStringList* names, BOOL) override {
        std::string s = "components:";
        for (POSITION p = names->GetHeadPosition(); p;) s += std::string(" ") + names->GetNext(p).GetString();
        shown.push_back(s);
    }
    void AddComponentById(IInstance*) override { ++registeredComponents; }
    void OpenMatrixView(CString name) override { shown.push_back(std::string("matrix: ") + name.GetString()); }
    void AddNet(INet*) override { ++registeredNets; }
};

class PanesTest : public ::testing::Test {
protected:
    void SetUp() override {
        instances.SetDesignContext(d.design);
        signals.SetDesignContext(d.design);
        instances.SetDetailsViewPtr(&details);
        signals.SetDetailsViewPtr(&details);
        instances.SetSignalPaneViewPointer(&signals);
        signals.SetInstancePaneViewPointer(&instances);
        instances.FillData();
        signals.FillData();
    }
    TestDesign d;
    DetailsRecorder details;
    CKXInstancePaneContainerView instances;
    CKXSignalPaneContainerView signals;
};

} // namespace

TEST_F(PanesTest, ListsHoldTheDesignsObjects) {
    CKXInstancePaneGrid* grid = instances.GetInstancePaneGrid();
    ASSERT_EQ(grid->GetObjectCount(), 2);
    EXPECT_EQ(grid->GetRowCount(), 2u);
    EXPECT_EQ(grid->GetValueRowCol(grid->FindObjectRow("U2"), CKXInstancePaneGrid::m_nInstanceCol), "U2");
    EXPECT_EQ(grid->GetValueRowCol(1, 2), "RES");
    // Logical instances are known by their ids: a fill registers none (placed ones come with their commits).
    EXPECT_EQ(details.registeredComponents, 0);
    EXPECT_EQ(grid->GetObjectName(0), "U1"); // by name, "U2" before "U10"
    ASSERT_TRUE(instances.AddComponent("U10", "work", "RES", "sym", "", "", 1));
    EXPECT_EQ(grid->GetObjectName(2), "U10");
    EXPECT_EQ(grid->GetValueRowCol(3, 1), "U10");
    CKXSignalPaneGrid* nets = signals.GetSignalGridWnd();
    EXPECT_NE(nets->FindObjectRow("N1"), GX_INVALID);
    EXPECT_NE(nets->FindObjectRow("N2"), GX_INVALID);
    EXPECT_EQ(nets->FindObjectRow("N9"), GX_INVALID);
    EXPECT_EQ(details.registeredNets, 2);
    EXPECT_EQ(instances.GetActiveList(), grid);
    instances.SetPhysicalView(TRUE);
    EXPECT_EQ(instances.GetActiveList(), instances.GetPhysPartGrid());
}

TEST_F(PanesTest, DoubleClickShowsTheObjectInTheConnectivityPane) {
    CKXInstancePaneGrid* grid = instances.GetInstancePaneGrid();
    ROWCOL row = grid->FindObjectRow("U2");
    ASSERT_TRUE(grid->OnLButtonDblClkRowCol(row, 1, 0, CPoint(0, 0)));
    ASSERT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(details.shown[0], "instances: U2");
    EXPECT_TRUE(details.forced[0]);

    // Several selected nets are shown together, and the pane answers the several-objects query.
    CKXSignalPaneGrid* nets = signals.GetSignalGridWnd();
    ASSERT_TRUE(nets->SelectObject("N1"));
    ASSERT_TRUE(nets->SelectObject("N2"));
    ASSERT_TRUE(nets->Showconnectivity(FALSE));
    EXPECT_EQ(details.shown.back(), "nets: N1 N2");
    EXPECT_FALSE(details.forced.back());
    EXPECT_EQ(signals.GetGroupFlag(), 1);
    nets->RemoveSelection();
    ASSERT_TRUE(nets->OnLButtonDblClkRowCol(nets->FindObjectRow("N2"), 1, 0, CPoint(0, 0)));
    EXPECT_EQ(details.shown.back(), "nets: N2");
    EXPECT_EQ(signals.GetGroupFlag(), 0);
}

TEST_F(PanesTest, SelectionByNamePathAndHighlight) {
    CKXInstancePaneGrid* grid = instances.GetInstancePaneGrid();
    EXPECT_FALSE(grid->SelectObject("NOPE"));
    CString path = d.design.instance("U1").spath();
    ASSERT_TRUE(grid->SelectObject(path));
    ROWCOL r = 0, c = 0;
    grid->GetCurrentCell(r, c);
    EXPECT_EQ(r, grid->FindObjectRow("U1"));
    CStringArray names;
    grid->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "U1");

    CKXHiliteObject hilite(true);
    hilite.SetObject(d.design.instance("U2").spath(), 0, 0);
    instances.RemoveSelection();
    instances.HighlightObject(&hilite);
    grid->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "U2");

    // A highlight by canonical path of a pin bit finds the instance; of a net bit, the net.
    instances.RemoveSelection();
    CKXHiliteObject pinHilite(true);
    pinHilite.SetObject(CString("work.top:sch") + d.design.instance("U1").spath() + ".A", 0, 0);
    instances.HighlightObject(&pinHilite);
    grid->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "U1");
    CKXHiliteObject netHilite(true);
    netHilite.SetObject(d.design.net("N2").bitContext(-1), -1, -1);
    signals.RemoveSelection();
    signals.HighlightObject(&netHilite);
    signals.GetSignalGridWnd()->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "N2");
    EXPECT_EQ(signals.GetSignalGridWnd()->FindObjectRow("work.top:sch@U1"), GX_INVALID);

    // The connectivity pane asking the list to show components selects them there.
    CStringList list;
    list.AddTail("U1");
    list.AddTail("U2");
    instances.ShowComponentsByName(d.design, &list, TRUE);
    grid->GetSelectedNames(names);
    EXPECT_EQ(names.GetSize(), 2);
    // Nothing selected and no current cell: nothing to show.
    instances.RemoveSelection();
    grid->SetCurrentCell(GX_INVALID, GX_INVALID);
}

TEST_F(PanesTest, AutoNamesNeverReuseADesignNet) {
    ASSERT_TRUE(signals.AddSignal("signal_2", "", "", ""));
    CKXSignalPaneGrid* nets = signals.GetSignalGridWnd();
    EXPECT_NE(nets->FindObjectRow("signal_2"), GX_INVALID); // the list was refilled
    EXPECT_EQ(nets->GetNewAutoName(), "signal_1");
    EXPECT_EQ(nets->GetNewAutoName(), "signal_3");
    EXPECT_FALSE(signals.AddSignal("signal_2", "", "", "")); // taken: refused, nothing changes
    EXPECT_FALSE(signals.AddSignal("  ", "", "", ""));
    EXPECT_EQ(signals.GetLastCall(), "AddSignal(  , , , )");
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(PanesTest, DesignChangesOfThePanes) {
    ASSERT_TRUE(signals.AliasNets("N1", "N2", "1", "1"));
    EXPECT_FALSE(signals.AliasNets("N1", "MISSING", "1", "1"));
    ASSERT_TRUE(signals.DeleteAlias("N2", "N1"));
    EXPECT_FALSE(signals.DeleteAlias("N2", "N1"));
    ASSERT_TRUE(signals.RenameSignal("N2", "DATA"));
    EXPECT_NE(d.Net("DATA"), nullptr);
    ASSERT_TRUE(instances.AddComponent("U3", "work", "RES", "sym", "", "", 1));
    EXPECT_NE(instances.GetInstancePaneGrid()->FindObjectRow("U3"), GX_INVALID);
    EXPECT_FALSE(instances.AddComponent("U3", "work", "RES", "sym", "", "", 1));
    ASSERT_TRUE(instances.RenameComponent("U3", "R7"));
    ASSERT_TRUE(instances.DeleteComponent("R7"));
    EXPECT_EQ(instances.GetInstancePaneGrid()->FindObjectRow("R7"), GX_INVALID);

    // Inside a transaction of the caller the change joins it and is not committed by the pane.
    ASSERT_TRUE(CKXTransaction::BeginTrans(nullptr, d.design, "Script"));
    ASSERT_TRUE(signals.AddSignal("LATER", "", "", ""));
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    CKXTransaction::DiscardTrans(nullptr);
    EXPECT_EQ(d.Net("LATER"), nullptr);
}

TEST_F(PanesTest, ForwardedOperationsAreRecordedWithTheirArguments) {
    instances.Descend();
    EXPECT_TRUE(instances.EditRefDes("U1", "R1"));
    EXPECT_STREQ(d.design.instance("U1").physicalPackageName(), "R1");
    // No block "x", no schematic lib.blk:sch: refused, nothing changed.
    EXPECT_FALSE(instances.EditBlkPackagingOptions(1, "P_", "x", "a", "b", "c", "d"));
    EXPECT_FALSE(instances.AddBlock("B1", "lib", "blk", 0, "_S", "", 1, "", "", "", 1, 1));
    EXPECT_FALSE(d.design.instance("B1").instance());
    instances.GetInstancePaneGrid()->ViewPhysical(-1);
    signals.ShowDPSignals("0");
    const auto& calls = instances.GetCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[calls.size() - 4], "Descend()");
    EXPECT_EQ(calls[calls.size() - 3], "EditRefDes(U1, R1)");
    EXPECT_EQ(calls[calls.size() - 2], "EditBlkPackagingOptions(1, P_, x, a, b, c, d)");
    EXPECT_EQ(instances.GetInstancePaneGrid()->GetLastCall(), "ViewPhysical(-1)");
    EXPECT_FALSE(signals.IsShowingDPSignals());
}

TEST_F(PanesTest, DroppedComponentsAndFrameRequests) {
    CKXInstancePaneGrid* grid = instances.GetInstancePaneGrid();
    EXPECT_EQ(grid->GetReadyState(), 1);
    CStringArray p1, p2;
    ASSERT_TRUE(grid->AddInstance("work", "RES", "sym", "", p1, p2, 1, 0, 3, "", "", 0, "", 1));
    EXPECT_NE(grid->FindObjectRow("U3"), GX_INVALID); // U1 and U2 exist: the first free "U<n>"
    EXPECT_FALSE(grid->AddInstance("work", "RES", "sym", "U1", p1, p2, 1, 0, 3, "", "", 0, "", 1));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());

    EXPECT_TRUE(grid->RenameTableInstance("U3", "R1"));
    EXPECT_EQ(grid->GetValueRowCol(grid->FindObjectRow("R1"), 1), "R1");
    EXPECT_FALSE(grid->RenameTableInstance("NOPE", "X"));

    ROWCOL row = grid->FindObjectRow("U2");
    ASSERT_TRUE(grid->HighlightRowCol(row, 1));
    EXPECT_FALSE(grid->HighlightRowCol(99, 1));
    size_t before = details.shown.size();
    grid->OnSelectionFollowUp();
    ASSERT_EQ(details.shown.size(), before + 1);
    EXPECT_EQ(details.shown.back(), "instances: U2");
    instances.GetPhysPartGrid()->DeleteCurSelInstance();
    EXPECT_EQ(instances.GetPhysPartGrid()->GetLastCall(), "DeleteCurSelInstance(0)");
}

TEST_F(PanesTest, JournalSelectReachesThePaneThroughAutomation) {
    IDispatch* disp = signals.GetIDispatch(TRUE);
    ASSERT_NE(disp, nullptr);
    COleVariant result;
    ASSERT_EQ(AfxInvokeByName(disp, "Select", {COleVariant("N2")}, &result), S_OK);
    EXPECT_EQ(details.shown.back(), "nets: N2");
    EXPECT_FALSE(signals.Select("MISSING"));
    disp->Release();
    EXPECT_TRUE(instances.Select("U1"));
    EXPECT_EQ(details.shown.back(), "instances: U1");
}

// A group of signals comes back in one request; a name that is no signal shows nothing and says so.
TEST_F(PanesTest, JournalSelectGroupShowsTheSignalsAsOneGroup) {
    IDispatch* disp = signals.GetIDispatch(TRUE);
    ASSERT_NE(disp, nullptr);
    COleVariant result;
    ASSERT_EQ(AfxInvokeByName(disp, "SelectGroup", {COleVariant("N1 N2")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_EQ(details.shown.back(), "nets: N1 N2");
    disp->Release();
    const size_t shown = details.shown.size();
    EXPECT_FALSE(signals.SelectGroup("N1 MISSING"));
    EXPECT_FALSE(signals.SelectGroup(""));
    EXPECT_EQ(details.shown.size(), shown);
}

TEST_F(PanesTest, MatrixViewRequestsPassToTheConnectivityPane) {
    instances.OpenMatrixView(CString("Bus view"));
    EXPECT_EQ(details.shown.back(), "matrix: Bus view");
    EXPECT_EQ(instances.GetLastCall(), "OpenMatrixView(Bus view)");
    signals.SetDetailsViewPtr(nullptr);
    signals.CreateMatrixView(); // no connectivity pane: recorded only
    EXPECT_EQ(signals.GetLastCall(), "CreateMatrixView()");
}

TEST_F(PanesTest, ListsFollowCommittedChangesAlsoUndoneOnes) {
    TestUndoSink sink;
    CKXTransaction::SetUndoSink(&sink);
    CKXSignalPaneGrid* nets = signals.GetSignalGridWnd();
    ASSERT_TRUE(nets->SelectObject("N2"));
    // A change made elsewhere (another window's transaction), then announced.
    ASSERT_TRUE(CKXTransaction::BeginTrans(nullptr, d.design, "Add Signal"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    INet* net = t->createNet("NEWNET", static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    ASSERT_NE(net, nullptr);
    t->addNet(net);
    ASSERT_TRUE(CKXTransaction::CommitTrans(nullptr, 1, 1));
    EXPECT_EQ(nets->FindObjectRow("NEWNET"), GX_INVALID); // this pane has no window: nothing delivered
    ASSERT_EQ(sink.undo.size(), 1u);
    CommitRecorder commits;
    // Deliver the announcements to the pane as its window would receive them.
    commits.react = [&](CTransaction* committed) {
        LRESULT result = 1;
        EXPECT_TRUE(signals.OnWndMsg(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(committed), &result));
        EXPECT_EQ(result, 0);
    };
    signals.FillData();
    EXPECT_NE(nets->FindObjectRow("NEWNET"), GX_INVALID);
    ASSERT_TRUE(sink.Step(true, nullptr)); // undo: announced, the list follows
    EXPECT_EQ(nets->FindObjectRow("NEWNET"), GX_INVALID);
    CStringArray names;
    nets->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1); // the selection survived the refill
    EXPECT_EQ(names[0], "N2");
    ASSERT_TRUE(sink.Step(false, nullptr)); // redo
    EXPECT_NE(nets->FindObjectRow("NEWNET"), GX_INVALID);
    commits.react = nullptr;
    CKXTransaction::SetUndoSink(nullptr);
}

#include "kxcommon/KXShareGlobalData.h"

TEST_F(PanesTest, UserEditsOfThePanesAreJournalledAutomationCallsAreNot) {
    namespace fs = std::filesystem;
    fs::path journal = fs::temp_directory_path() / ("kxpanes_" + std::to_string(::getpid()) + ".vbs");
    fs::remove(journal);
    CKXShareGlobalData::SetAutomationPath(journal.string().c_str());
    ASSERT_TRUE(signals.AddSignal("SQ", "", "", ""));
    {
        CKXPaneAutomationScope fromAutomation;
        ASSERT_TRUE(signals.AddSignal("FROM_SCRIPT", "", "", ""));
    }
    ASSERT_TRUE(signals.AliasNets("N1", "N2", "1", "1"));
    EXPECT_FALSE(signals.AliasNets("N1", "NOPE", "1", "1")); // refused: not journalled
    instances.SetPhysicalView(TRUE);
    instances.EditRefDes("U1", "R\"5\nmsgbox 1");
    CKXShareGlobalData::SetAutomationPath(nullptr);

    std::ifstream in(journal, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), "\n\n ' --- Add Signal ---\n\ncall top.AddSignal(\"SQ\",\"\",\"\")"
                        "\n\n ' --- Alias Nets ---\n\ncall top.AliasNets(\"N1\",\"N2\",\"1\",\"1\")"
                        "\n\n ' --- Edit RefDes ---\n\ncall top_phys.EditRefDes(\"U1\",\"R\"\"5\" & vbLf & \"msgbox 1\")");
    fs::remove(journal);
}

namespace {
// The rows of a list as "name|second" lines.
std::vector<std::string> RowsOf(CKXListPaneGrid& list) {
    std::vector<std::string> rows;
    for (ROWCOL r = 1; r <= list.GetRowCount(); ++r) {
        std::string row = list.GetValueRowCol(r, 1).str();
        if (list.GetColCount() >= 2) row += "|" + list.GetValueRowCol(r, 2).str();
        rows.push_back(row);
    }
    return rows;
}
} // namespace

// Committed changes reach the lists object by object: each list then shows what a refill from the
// design shows, row by row, and keeps its selection; the details view hears of the changed objects only.
TEST_F(PanesTest, ListsFollowChangesObjectByObjectAsARefillWouldShowThem) {
    auto commit = [&](auto&& edit) {
        CTransaction t(d.design, "Change");
        ASSERT_TRUE(edit(t));
        ASSERT_TRUE(t.commit());
        LRESULT result = 1;
        signals.OnWndMsg(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t), &result);
        instances.OnWndMsg(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t), &result);
    };
    auto expectAsRefilled = [&](const char* when) {
        CKXSignalPaneContainerView freshSignals;
        CKXInstancePaneContainerView freshInstances;
        freshSignals.SetDesignContext(d.design);
        freshInstances.SetDesignContext(d.design);
        freshSignals.FillData();
        freshInstances.FillData();
        EXPECT_EQ(RowsOf(*signals.GetSignalGridWnd()), RowsOf(*freshSignals.GetSignalGridWnd())) << when;
        EXPECT_EQ(RowsOf(*signals.GetPhysNetGridWnd()), RowsOf(*freshSignals.GetPhysNetGridWnd())) << when;
        EXPECT_EQ(RowsOf(*instances.GetInstancePaneGrid()), RowsOf(*freshInstances.GetInstancePaneGrid())) << when;
        for (const char* name : {"N1", "N2", "A10", "N10", "N3", "ZZ", "N1X"})
            if (INet* net = d.Net(name)) {
                EXPECT_EQ(signals.GetSignalGridWnd()->GetValueRowCol(signals.GetSignalGridWnd()->FindObjectRow(name), 1),
                          net->name())
                    << when;
            }
    };
    CKXSignalPaneGrid* nets = signals.GetSignalGridWnd();
    ASSERT_TRUE(nets->SelectObject("N2"));
    const int netsKnown = details.registeredNets;

    // New nets before, between and after the listed ones ("N3" before "N10").
    commit([](CTransaction& t) {
        for (const char* name : {"N10", "A10", "N3", "ZZ"})
            if (!t.createNet(name, static_cast<unsigned>(-1), static_cast<unsigned>(-1))) return false;
        return true;
    });
    expectAsRefilled("after adding nets");
    EXPECT_EQ(details.registeredNets, netsKnown + 4);
    CStringArray selected;
    nets->GetSelectedNames(selected);
    ASSERT_EQ(selected.GetSize(), 1);
    EXPECT_EQ(selected[0], "N2");

    // A rename moves the row; a removal takes it away; an instance renamed and one added.
    commit([&](CTransaction& t) { return t.renameNet(d.Net("N1"), "N1X") && t.removeNet(d.Net("A10")); });
    expectAsRefilled("after a rename and a removal");
    EXPECT_EQ(nets->FindObjectRow("N1"), GX_INVALID);
    EXPECT_EQ(nets->FindObjectRow("A10"), GX_INVALID);
    commit([&](CTransaction& t) {
        return t.renameInstance(d.Design()->findInstance("U2"), "U0") &&
               t.createInstance("U7", "work", "RES", "sym") != nullptr;
    });
    expectAsRefilled("after instance changes");

    // A change wider than object-by-object following is worth: the lists are refilled.
    commit([](CTransaction& t) {
        for (int i = 0; i < 100; ++i)
            if (!t.createNet(("W" + std::to_string(i)).c_str(), static_cast<unsigned>(-1), static_cast<unsigned>(-1)))
                return false;
        return true;
    });
    expectAsRefilled("after a wide change");
    nets->GetSelectedNames(selected);
    ASSERT_EQ(selected.GetSize(), 1);
    EXPECT_EQ(selected[0], "N2");
}

// The lists store no cell: a fill writes nothing per name, yet every row reads its object's texts, also
// after the rows followed an added object, a rename in place and a refill. A value written into a list
// cell from outside gives way when the list shows that row anew.
TEST_F(PanesTest, ListsStoreNoCellsYetReadEveryRowsTexts) {
    CKXInstancePaneGrid* grid = instances.GetInstancePaneGrid();
    EXPECT_EQ(grid->GetData()->GetStoredCellCount(), 0u);
    EXPECT_EQ(signals.GetSignalGridWnd()->GetData()->GetStoredCellCount(), 0u);
    EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"U1|RES", "U2|RES"}));
    EXPECT_EQ(grid->GetValueRowCol(3, 1), ""); // past the last row

    ASSERT_TRUE(instances.AddComponent("U10", "work", "RES", "sym", "", "", 1));
    EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"U1|RES", "U2|RES", "U10|RES"}));
    EXPECT_EQ(grid->GetData()->GetStoredCellCount(), 0u);

    grid->SetValueRange(CGXRange(1, 1), "typed");
    EXPECT_EQ(grid->GetValueRowCol(1, 1), "typed");
    ASSERT_TRUE(grid->RenameTableInstance("U1", "U7"));
    EXPECT_EQ(grid->GetValueRowCol(1, 1), "U7");
    EXPECT_EQ(grid->GetObjectName(0), "U7");

    grid->SetValueRange(CGXRange(2, 2), "typed");
    instances.FillData();
    EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"U1|RES", "U2|RES", "U10|RES"}));
}
