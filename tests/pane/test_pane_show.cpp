// The connectivity pane of a design window: its title, its registry of names and
// ids, and the pin grids it makes for the components it is asked to show.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"
#include "rmx/schema.h"

#include <filesystem>
#include <fstream>

namespace {

using Pane = CKXBottomPaneContainerView;
using G = CKXInstanceDetailsGridWnd;

class PaneShow : public KXShellFixture {
protected:
    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    void ShowInstances(std::initializer_list<const char*> names, BOOL force = TRUE) {
        CDesignContext design = Design();
        CKXInstanceContextArray arr;
        for (const char* n : names)
            arr.Add(design.instance(n));
        Ccp()->ShowInstanceConnectivity(design, &arr, force);
    }
    G* PinGrid(size_t i) { return dynamic_cast<G*>(Ccp()->GetShownGrids().at(i)); }
    bool HasPinRow(G* grid, const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin) return true;
        return false;
    }
};

TEST_F(PaneShow, HintUntilSomethingIsShownThenComponentTitle) {
    ASSERT_TRUE(Open());
    Pane* ccp = Ccp();
    EXPECT_TRUE(ccp->IsHintVisible());
    EXPECT_TRUE(ccp->IsShowingComponents());
    EXPECT_EQ(std::string(ccp->GetPaneText()), Pane::HintText());
    ShowInstances({"U1"});
    EXPECT_FALSE(ccp->IsHintVisible());
    EXPECT_TRUE(ccp->IsInfoWindowVisible());
    EXPECT_EQ(std::string(ccp->GetPaneTitle()), "Component Connectivity Details");
    EXPECT_TRUE(ccp->IsAttachSignalRowShown());
}

TEST_F(PaneShow, DoubleClickedComponentIsLoadedIntoAPinGrid) {
    ASSERT_TRUE(Open());
    ShowInstances({"U1"});
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    G* grid = PinGrid(0);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetOwnerPane(), Ccp());
    EXPECT_TRUE(HasPinRow(grid, "OUT"));
    EXPECT_TRUE(HasPinRow(grid, "IN"));
    EXPECT_NE(std::string(Ccp()->GetPaneText()).find("OUT"), std::string::npos);
    // Showing it again reuses the window instead of making another.
    ShowInstances({"U1"});
    EXPECT_EQ(Ccp()->GetPinGridCount(), 1);
    EXPECT_EQ(PinGrid(0), grid);
}

TEST_F(PaneShow, ThroughTheListPaneDoubleClick) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show clp R1"), "1");
    const std::string text = Run("kx::window ccp");
    EXPECT_EQ(text.rfind("Component Connectivity Details", 0), 0u) << text;
    EXPECT_NE(text.find("R1"), std::string::npos) << text;
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_TRUE(HasPinRow(PinGrid(0), "A"));
}

TEST_F(PaneShow, SeveralInstancesOneKeyListAndOneWindowEach) {
    ASSERT_TRUE(Open());
    CDesignContext design = Design();
    ShowInstances({"U1", "R1"});
    const unsigned u1 = design.instance("U1").instance()->id(), r1 = design.instance("R1").instance()->id();
    EXPECT_EQ(std::string(Ccp()->GetLastKeyList()), std::to_string(u1) + ":" + std::to_string(r1));
    EXPECT_EQ(Ccp()->GetLastKind(), 0);
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    EXPECT_TRUE(HasPinRow(PinGrid(0), "OUT"));
    EXPECT_TRUE(HasPinRow(PinGrid(1), "B"));
    // The same instance in two grids side by side (a group request shows both in one).
    Ccp()->m_bGroupFlag = TRUE;
    ShowInstances({"U1", "R1"});
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_TRUE(HasPinRow(PinGrid(0), "OUT"));
    EXPECT_TRUE(HasPinRow(PinGrid(0), "A"));
}

TEST_F(PaneShow, RequestsThatDoNotFitWhatIsShownAreIgnoredUnlessForced) {
    ASSERT_TRUE(Open());
    CDesignContext design = Design();
    CKXNetContextArray nets;
    nets.Add(design.net("N1"));
    Ccp()->ShowNetConnectivity(design, &nets, FALSE); // components are shown: not for us
    EXPECT_TRUE(Ccp()->IsHintVisible());
    Ccp()->ShowNetConnectivity(design, &nets, TRUE);
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Signal Connectivity Details");
    EXPECT_FALSE(Ccp()->IsAttachSignalRowShown());
    EXPECT_FALSE(Ccp()->m_bGroupFlag);
    EXPECT_EQ(Ccp()->GetLastKind(), 1);
    // Signals shown: a component request without force is not taken.
    ShowInstances({"U1"}, FALSE);
    EXPECT_FALSE(Ccp()->IsShowingComponents());
    nets.Add(design.net("GND"));
    Ccp()->ShowNetConnectivity(design, &nets, FALSE);
    EXPECT_TRUE(Ccp()->m_bGroupFlag);
}

TEST_F(PaneShow, NetBitKeysOfVectorAndScalarNets) {
    ASSERT_TRUE(Open());
    CDesignContext design = Design();
    CNetContext data = design.net("DATA");
    ASSERT_TRUE(data.net());
    CKXNetBitContextArray bits;
    bits.Add(data.bitContext(2));
    bits.Add(design.net("N1").bitContext(-1));
    Ccp()->ShowNetBitConnectivity(design, &bits, TRUE);
    EXPECT_EQ(std::string(Ccp()->GetLastKeyList()),
              std::to_string(Pane::NetBitKey(data.net()->id(), 2)) + ":" +
                  std::to_string(design.net("N1").net()->id()));
}

TEST(PaneKeyList, BitKeysNeitherCollideNorOverflow) {
    // A bit key is above every id: net 100005 is not bit 5 of net 1.
    EXPECT_NE(Pane::NetBitKey(1, 5), Pane::ObjectKey{100005});
    EXPECT_NE(Pane::NetBitKey(1, 100000), Pane::NetBitKey(2, 0));
    unsigned net = 0;
    int bit = 0;
    Pane::DecodeNetKey(Pane::NetBitKey(4000000000u, 31), net, bit);
    EXPECT_EQ(net, 4000000000u);
    EXPECT_EQ(bit, 31);
    Pane::DecodeNetKey(Pane::NetBitKey(0, 7), net, bit);
    EXPECT_EQ(net, 0u);
    EXPECT_EQ(bit, 7);
    Pane::DecodeNetKey(100005, net, bit);
    EXPECT_EQ(net, 100005u);
    EXPECT_EQ(bit, -1);
    const Pane::ObjectKey big = Pane::NetBitKey(4000000000u, 3);
    EXPECT_EQ(Pane::ParseKeyList(Pane::MakeKeyList({7, big})), (std::vector<Pane::ObjectKey>{7, big}));
}

TEST_F(PaneShow, ReadOnlyAndMatrixTitlesHideTheAttachRow) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    ShowInstances({"U1"});
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Component Connectivity Details");
    EXPECT_FALSE(Ccp()->IsAttachSignalRowShown());
    Ccp()->m_bMatrixFlag = TRUE;
    Ccp()->ShowMatrixView(Design(), "Power");
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Matrix Connectivity View - Power");
    EXPECT_FALSE(Ccp()->IsAttachSignalRowShown());
}

TEST(PaneKeyList, EmptyAndMalformedPiecesGiveNoKey) {
    using Keys = std::vector<Pane::ObjectKey>;
    EXPECT_EQ(Pane::ParseKeyList("12:"), (Keys{12}));
    EXPECT_EQ(Pane::ParseKeyList("3:4:5"), (Keys{3, 4, 5}));
    EXPECT_EQ(Pane::ParseKeyList(""), (Keys{}));
    EXPECT_EQ(Pane::ParseKeyList("::x:-1:99999999999999999999999:8"), (Keys{8}));
    EXPECT_EQ(std::string(Pane::MakeKeyList({7, 700002})), "7:700002");
}

TEST_F(PaneShow, RegistryHandsOutIdsOnceAndNeverReusesThem) {
    ASSERT_TRUE(Open());
    Pane* ccp = Ccp();
    CDesignContext design = Design();
    IInstance* u1 = design.instance("U1").instance();
    IInstance* r1 = design.instance("R1").instance();
    // The list pane may have registered packaged parts already: start from none.
    ccp->RemoveComponent("U1");
    ccp->RemoveComponent("R1");
    ccp->AddComponent(u1, "buf");
    const int a = ccp->GetComponentId("U1");
    ccp->AddComponent(u1, "buf"); // already registered: unchanged
    EXPECT_EQ(ccp->GetComponentId("U1"), a);
    ccp->AddComponent(r1, "res");
    EXPECT_EQ(ccp->GetComponentId("R1"), a + 1);
    ccp->RemoveComponent("U1");
    EXPECT_EQ(ccp->GetComponentId("U1"), -1);
    EXPECT_EQ(std::string(ccp->GetComponentName(a)), "");
    ccp->AddComponent(u1, "buf");
    EXPECT_EQ(ccp->GetComponentId("U1"), a + 2);
    ccp->RemoveComponent(""); // nothing happens
    ccp->RemoveComponent("NOPE");

    ccp->AddNetName("");
    ccp->AddNetName("PWR");
    const int p = ccp->GetNetId("PWR");
    ASSERT_GE(p, 0);
    ccp->RenameNet(design.net("GND").net(), "PWR");
    EXPECT_EQ(ccp->GetNetId("PWR"), -1);
    EXPECT_EQ(ccp->GetNetId("GND"), p);
    EXPECT_EQ(std::string(ccp->GetNetName(p)), "GND");
    ccp->RenameNet(design.net("N1").net(), "UNKNOWN"); // old name not registered
    EXPECT_EQ(ccp->GetNetId("N1"), -1);
    ccp->RemoveNet("GND");
    EXPECT_EQ(ccp->GetNetId("GND"), -1);
}

TEST_F(PaneShow, ComponentsByNameSkipUnregisteredNames) {
    ASSERT_TRUE(Open());
    Ccp()->AddComponent(Design().instance("U1").instance(), "buf");
    CStringList names;
    names.AddTail("NOPE");
    names.AddTail("U1");
    Ccp()->ShowComponentsByName(Design(), &names, TRUE);
    ASSERT_EQ(Ccp()->GetShownObjects().size(), 1u);
    EXPECT_EQ(std::string(Ccp()->GetShownObjects()[0]), "U1");
    EXPECT_EQ(std::string(Ccp()->GetLastKeyList()), std::to_string(Ccp()->GetComponentId("U1")));
}

} // namespace

namespace {

// The project's max_open_windows bounds the component windows the pane keeps for what it showed before.
class PaneOpenWindows : public PaneShow {
protected:
    void Project(const std::string& text) {
        const std::filesystem::path file = m_dir / "kx.prj";
        std::ofstream(file) << text;
        std::string error;
        ASSERT_TRUE(m_app->LoadProject(file.string(), error)) << error;
    }
    int PinGrids() { return Ccp()->GetGridCount(KXGridKind::Pin); }
};

TEST_F(PaneOpenWindows, TheOldestWindowClosesOnceTheLimitIsReached) {
    Project("[GRIDWORKSHOP]\nmax_open_windows 2\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ(Ccp()->GetMaxOpenWindows(), 2);
    const int before = PinGrids(); // the window may show its first component at once
    ASSERT_LE(before, 1);
    EXPECT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::show clp R1"), "1");
    EXPECT_EQ(PinGrids(), 2);
    CKXGridWnd* r1 = Ccp()->GetShownGrids().at(0);
    EXPECT_EQ(Run("kx::show clp X1"), "1");
    EXPECT_EQ(PinGrids(), 2); // U1's window went, R1's stays
    EXPECT_EQ(Run("kx::show clp R1"), "1");
    EXPECT_EQ(Ccp()->GetShownGrids().at(0), r1);
    EXPECT_EQ(Run("kx::show clp U1"), "1"); // made again: the oldest kept window goes
    EXPECT_EQ(PinGrids(), 2);
    EXPECT_TRUE(HasPinRow(PinGrid(0), "OUT"));
}

TEST_F(PaneOpenWindows, AWindowTheRequestShowsIsNeverTheOneClosed) {
    Project("[GRIDWORKSHOP]\nmax_open_windows 1\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show clp U1 R1"), "1"); // two windows side by side, more than the limit
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    EXPECT_TRUE(HasPinRow(PinGrid(0), "A") || HasPinRow(PinGrid(1), "A"));
    EXPECT_TRUE(HasPinRow(PinGrid(0), "OUT") || HasPinRow(PinGrid(1), "OUT"));
}

TEST_F(PaneOpenWindows, WithoutTheSettingAHundredAreKept) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Ccp()->GetMaxOpenWindows(), 100);
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    Run("kx::show clp X1");
    EXPECT_GE(PinGrids(), 3);
}

} // namespace
