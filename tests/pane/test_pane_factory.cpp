// The pane's one factory of grids and its typed views.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXPinGrid.h"

#include <gtest/gtest.h>

namespace {

using Pane = CKXBottomPaneContainerView;

class PaneFactory : public KXShellFixture {};

TEST_F(PaneFactory, MakesEachAvailableKindAndRefusesTheOthers) {
    ASSERT_TRUE(Open());
    for (KXGridKind kind :
         {KXGridKind::Pin, KXGridKind::Signal, KXGridKind::PhysPart, KXGridKind::PhysNet, KXGridKind::Matrix}) {
        ASSERT_TRUE(Pane::IsGridKindAvailable(kind));
        CKXGridWnd* grid = Ccp()->CreateGrid(kind);
        ASSERT_NE(grid, nullptr) << KXGridKindName(kind);
        EXPECT_EQ(grid->Kind(), kind);
        EXPECT_EQ(grid->Site(), static_cast<IKXGridSite*>(Ccp())); // the pane is every grid's site
        EXPECT_EQ(Ccp()->GetGridCount(kind), 1);
    }
    // A kind the factory does not make is refused, not faked.
    EXPECT_FALSE(Pane::IsGridKindAvailable(KXGridKind::None));
    EXPECT_EQ(Ccp()->CreateGrid(KXGridKind::None), nullptr);
    EXPECT_NE(Pane::MatrixGridOf(Ccp()->CreateGrid(KXGridKind::Matrix)), nullptr);
    EXPECT_EQ(Pane::MatrixGridOf(Ccp()->CreateGrid(KXGridKind::Pin)), nullptr);
}

TEST_F(PaneFactory, TypedViewsFollowTheKindAndDestroyForgetsTheGrid) {
    ASSERT_TRUE(Open());
    CKXGridWnd* pin = Ccp()->CreateGrid(KXGridKind::Pin);
    CKXGridWnd* signal = Ccp()->CreateGrid(KXGridKind::Signal);
    ASSERT_NE(pin, nullptr);
    ASSERT_NE(signal, nullptr);
    ASSERT_NE(Pane::PinGridOf(pin), nullptr);
    EXPECT_EQ(&Pane::PinGridOf(pin)->Grid(), pin);
    EXPECT_EQ(Pane::PinGridOf(signal), nullptr);
    EXPECT_EQ(Pane::PinGridOf(nullptr), nullptr);
    EXPECT_NE(Pane::SignalGridOf(signal), nullptr);
    EXPECT_EQ(Pane::SignalGridOf(pin), nullptr);
    EXPECT_EQ(Pane::PhysPartGridOf(pin), nullptr);
    const int pins = Ccp()->GetPinGridCount();
    Ccp()->DestroyGrid(pin);
    EXPECT_EQ(Ccp()->GetPinGridCount(), pins - 1);
    Ccp()->DestroyGrid(nullptr); // harmless
}

} // namespace
