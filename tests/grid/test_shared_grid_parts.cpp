// Pieces of code the grid kinds share: the undo step a grid records in its site's undo list, a
// pin's signal model, and the operands of the scripted termination words.
#include "GridTestSupport.h"

#include "grid/KXAssocCompSteps.h"
#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridUndo.h"
#include "grid/KXPinModels.h"
#include "grid/KXPropLists.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------------ undo steps in the site's list

// Keeps the step mode of every command it is given.
class RecordingSink : public CCommonInterface {
public:
    std::vector<int> modes;
    std::vector<CGXGridCore*> grids;
    void AddUndoCommand(CGXGridCore* grid, CGXCommand* command, GXCmdType, int state) override {
        modes.push_back(state);
        grids.push_back(grid);
        delete command;
    }
};

class SiteUndo : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpGrid(grid);
        grid.GetParam()->EnableUndo(TRUE);
        grid.GetParam()->GetUndoList()->RemoveAll();
    }
    void Record() { grid.AddCommandToSiteUndo(new CKXSortUndoCmd(&grid, 1, TRUE), gxDo); }

    CRecordingGrid grid;
    CFakeGridSite site;
    RecordingSink sink;
};

TEST_F(SiteUndo, TheFirstCommandOpensTheStepAndTheNextOnesJoinIt) {
    site.sink = &sink;
    grid.SetSite(&site);
    grid.m_nTransState = kUndoStepOpen;
    Record();
    Record();
    EXPECT_EQ(sink.modes, (std::vector<int>{kUndoStepOpen, kUndoStepJoin}));
    EXPECT_EQ(sink.grids, (std::vector<CGXGridCore*>{&grid, &grid}));
    // Nothing stays on the grid's own list: undo is the pane's.
    EXPECT_TRUE(grid.GetParam()->GetUndoList()->IsEmpty());
}

TEST_F(SiteUndo, AClosingModeIsPassedOnOnceAndThenTheStepIsJoined) {
    site.sink = &sink;
    grid.SetSite(&site);
    grid.m_nTransState = kUndoStepClose;
    Record();
    EXPECT_EQ(grid.m_nTransState, kUndoStepJoin);
    EXPECT_EQ(sink.modes, (std::vector<int>{kUndoStepClose}));
}

TEST_F(SiteUndo, AGridWithoutASiteOrWithoutASinkKeepsTheCommandItself) {
    Record(); // no site
    EXPECT_EQ(grid.GetParam()->GetUndoList()->GetCount(), 1);
    grid.SetSite(&site); // a site without an undo list
    Record();
    EXPECT_EQ(grid.GetParam()->GetUndoList()->GetCount(), 2);
    EXPECT_TRUE(sink.modes.empty());
}

// ------------------------------------------------------------------ a pin's signal model

TEST(PinModels, TheDialogOffersTheModelsOfThePinsDirection) {
    EXPECT_STREQ(KXModelTypeFilter(ITerm::eDirInput), "IbisInput");
    EXPECT_STREQ(KXModelTypeFilter(ITerm::eDirOutput), "IbisOutput");
    EXPECT_STREQ(KXModelTypeFilter(ITerm::eDirInout), "IbisIO");
    // Undirected pins and pins of mixed directions are offered every model.
    EXPECT_STREQ(KXModelTypeFilter(ITerm::eDirNone), "*");
    EXPECT_STREQ(KXModelTypeFilter(-1), "*");
}

class PinModelSetting : public ::testing::Test {
protected:
    void SetUp() override {
        builder.symbol("BUF").port("A");
        builder.schematic("top").instance("U1", "BUF");
        design = builder.context();
    }
    CString ModelOf(const CContext& pin) {
        std::unique_ptr<CPQPropertyData> p(pin.findProperty(kKXPinModelProperty));
        return p ? CString(p->value()) : CString();
    }

    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    CDesignContext design;
};

TEST_F(PinModelSetting, SetsChangesAndRemovesAndSaysWhenNothingChanged) {
    const CContext pin = design.instance("U1").instTerm("A");
    {
        CTransaction t(design, "Assign Model");
        EXPECT_TRUE(KXSetPinModel(t, pin, "FAST"));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(ModelOf(pin), "FAST");
    {
        CTransaction t(design, "Assign Model");
        // The model the pin already has is no change.
        EXPECT_FALSE(KXSetPinModel(t, pin, "FAST"));
        EXPECT_TRUE(KXSetPinModel(t, pin, "SLOW"));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(ModelOf(pin), "SLOW");
    {
        CTransaction t(design, "Remove Model");
        EXPECT_TRUE(KXSetPinModel(t, pin, ""));
        // Nothing left to remove.
        EXPECT_FALSE(KXSetPinModel(t, pin, ""));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(ModelOf(pin), "");
}

TEST_F(PinModelSetting, AnUndoneTransactionLeavesThePinsModelAsItWas) {
    const CContext pin = design.instance("U1").instTerm("A");
    {
        CTransaction t(design, "Assign Model");
        ASSERT_TRUE(KXSetPinModel(t, pin, "FAST"));
        // Not committed: the transaction is rolled back when it ends.
    }
    EXPECT_EQ(ModelOf(pin), "");
}

// ------------------------------------------------------------------ the termination words' operands

TEST(TerminationOperands, PartTextsAndListsAreReadOnlyWhereTheyAre) {
    CStringArray libs;
    libs.Add("lib1");
    libs.Add("lib2");
    EXPECT_EQ(KXPartText(&libs, 1), "lib2");
    EXPECT_EQ(KXPartText(&libs, 2), "");  // past the end
    EXPECT_EQ(KXPartText(&libs, -1), ""); // before the start
    EXPECT_EQ(KXPartText(nullptr, 0), "");

    CStringArray keys;
    keys.Add("K=1");
    CObArray lists;
    lists.Add(&keys);
    lists.Add(nullptr);
    EXPECT_EQ(KXPartList(&lists, 0), &keys);
    EXPECT_EQ(KXPartList(&lists, 1), nullptr);
    EXPECT_EQ(KXPartList(&lists, 2), nullptr);
    EXPECT_EQ(KXPartList(&lists, -1), nullptr);
    EXPECT_EQ(KXPartList(nullptr, 0), nullptr);
}

TEST(TerminationOperands, AListOfAnotherKindIsNoPropertyList) {
    CObArray notAList;
    CObArray lists;
    lists.Add(&notAList);
    EXPECT_EQ(KXPartList(&lists, 0), nullptr);
}

TEST(TerminationOperands, TheEditTakesDesignatorsRenamesAndPropertyLines) {
    CStringArray designators;
    designators.Add("R1");
    designators.Add("R2");
    designators.Add("R1");
    CMapStringToString renames, keys, insts;
    renames.SetAt("R2", "R20");
    keys.SetAt("R1", "VALUE=50\n\nTOL=1%\n");
    insts.SetAt("R2", "X=1");
    const KXTerminationEditArgs args = KXTerminationEditArgsOf(&designators, &renames, &keys, &insts);
    EXPECT_EQ(args.designators, (std::set<CString>{"R1", "R2"}));
    EXPECT_EQ(args.renames, (std::map<CString, CString>{{"R2", "R20"}}));
    EXPECT_EQ(args.keyProps.at("R1"), (std::vector<CString>{"VALUE=50", "TOL=1%"}));
    EXPECT_EQ(args.instProps.at("R2"), (std::vector<CString>{"X=1"}));

    const KXTerminationEditArgs none = KXTerminationEditArgsOf(nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(none.designators.empty() && none.renames.empty() && none.keyProps.empty() && none.instProps.empty());
}

TEST(TerminationOperands, AScriptedEditAsksNothingAndPutsTheFlagBack) {
    const BOOL saved = CKXShareGlobalData::m_bReplay;
    CKXShareGlobalData::m_bReplay = FALSE;
    {
        KXScriptedAssocScope outer;
        EXPECT_TRUE(CKXShareGlobalData::m_bReplay);
        {
            KXScriptedAssocScope inner;
            EXPECT_TRUE(CKXShareGlobalData::m_bReplay);
        }
        // The inner scope ends inside the outer one: still no questions.
        EXPECT_TRUE(CKXShareGlobalData::m_bReplay);
    }
    EXPECT_FALSE(CKXShareGlobalData::m_bReplay);
    // A replay that runs a scripted edit stays a replay.
    CKXShareGlobalData::m_bReplay = TRUE;
    { KXScriptedAssocScope scope; }
    EXPECT_TRUE(CKXShareGlobalData::m_bReplay);
    CKXShareGlobalData::m_bReplay = saved;
}

// ------------------------------------------------------------------ copied terminations and pull-ups

TEST(AssocClipEntries, ABufferWithoutAReadableEntryIsLeftAsItWas) {
    KXAssocClipEntry entry;
    CString empty;
    EXPECT_FALSE(KXTakeAssocClipEntry(empty, entry));
    CString garbage = "not a copied component\r\nmore";
    EXPECT_FALSE(KXTakeAssocClipEntry(garbage, entry));
    EXPECT_EQ(garbage, "not a copied component\r\nmore");
    EXPECT_EQ(entry.kind, 0);
    EXPECT_TRUE(entry.type.IsEmpty() && entry.name.IsEmpty() && entry.data.IsEmpty());
}

// A step of the associated-component library goes on only in the transaction the asking grid
// holds; an added termination is handed to the grid's hook first, any other step is not.
TEST(AssocCompSteps, AStepGoesOnInTheTransactionOfTheGridThatHoldsIt) {
    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    builder.symbol("RES").port("A");
    builder.schematic("top").instance("R1", "RES");
    CRecordingGrid grid, other;
    SetUpGrid(grid);
    SetUpGrid(other);
    int hooked = 0;
    const auto hook = [&hooked](CTransaction* t) { hooked += t ? 1 : 100; };
    EXPECT_EQ(KXAssocCompStepTransaction(grid, "Add Termination", hook), nullptr); // none open
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, builder.context(), "Someone Else"));
    EXPECT_EQ(KXAssocCompStepTransaction(grid, "Add Termination", hook), nullptr); // not this grid's
    EXPECT_EQ(hooked, 0);
    CKXTransaction::DiscardTrans(&other);

    ASSERT_TRUE(CKXTransaction::BeginTrans(&grid, builder.context(), "Mine"));
    CTransaction* open = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(KXAssocCompStepTransaction(grid, "Edit Termination", hook), open);
    EXPECT_EQ(hooked, 0);
    EXPECT_EQ(KXAssocCompStepTransaction(grid, "add termination", hook), open);
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(KXAssocCompStepTransaction(grid, "Add Termination", nullptr), open); // no hook: fine
    CKXTransaction::DiscardTrans(&grid);
}


// The pull-ups/pull-downs of a net bit are walked in the order they were made, wherever they live: the
// copies a carry makes take designators in that order, in the session as in its replay in another
// process. Each is made after a design was closed, where its memory may be, below the ones made before.
TEST(AssocCompSteps, ThePullUpsOfANetBitComeInTheOrderTheyWereMadeWhereverTheyLive) {
    auto closedLater = [] {
        auto server = std::make_unique<IServer>();
        rmx::DesignBuilder builder{server.get(), "work"};
        builder.schematic("top").net("N");
        CTransaction t(builder.context());
        for (int i = 0; i < 8; ++i)
            t.createDTInstance(IDTInstance::ePullUpDown, "PullUp", ("PU" + std::to_string(i + 1)).c_str(),
                               CNetBit(builder.design()->findNet("N"), -1));
        EXPECT_TRUE(t.commit());
        return server;
    };
    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    builder.schematic("top").net("N");
    const CDesignContext top = builder.context();
    const CNetBit bit(top.design()->findNet("N"), -1);
    std::vector<IDTInstance*> made;
    auto spare = closedLater();
    for (int i = 0; i < 6; ++i) {
        CTransaction t(top);
        made.push_back(t.createDTInstance(IDTInstance::ePullUpDown, i % 2 ? "Pulldown" : "PullUp",
                                          ("P" + std::to_string(i + 1)).c_str(), bit));
        ASSERT_NE(made.back(), nullptr);
        ASSERT_TRUE(t.commit());
        spare = closedLater();
    }
    CKXAssocCompAPI api;
    const KXComponentSet pupds = KXPupdsOn(api, bit);
    EXPECT_EQ(std::vector<IDTInstance*>(pupds.begin(), pupds.end()), made);
}

// Components of two blocks are told apart though their numbers are alike.
TEST(AssocCompSteps, ComponentsOfTwoBlocksWithTheSameNumberAreBothKept) {
    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    builder.schematic("a").net("N");
    const CDesignContext a = builder.context();
    builder.schematic("b").net("N");
    const CDesignContext b = builder.context();
    KXComponentSet both;
    for (const CDesignContext& block : {a, b}) {
        CTransaction t(block);
        both.insert(t.createDTInstance(IDTInstance::ePullUpDown, "PullUp", "PU1",
                                       CNetBit(block.design()->findNet("N"), -1)));
        ASSERT_TRUE(t.commit());
    }
    ASSERT_EQ(both.size(), 2u);
    EXPECT_STREQ((*both.begin())->design()->name(), "work.a:sch");
}

} // namespace
