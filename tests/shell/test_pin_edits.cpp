// Pin-level edits of the example board through the host: selecting a pin's cell in a signal grid,
// the physical part grid's model journal, and the matrix's termination and pull-up cells.
#include "KXDemoBoard.h"
#include "KXGridCellProcs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PinEdits : public DemoBoard {
protected:
    void SetUp() override {
        DemoBoard::SetUp();
        if (!HasFatalFailure()) Run(kCellProc);
    }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(PinEdits, SelectPinNameColFindsTheSignalGridsRowByInstanceAndPinNumber) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp MCLK"));
    EXPECT_EQ(Run("kx::pane SelectPinNameCol U2 30"), "1");
    const std::string cell = Run("kx::grid ccp cell");
    EXPECT_EQ(cell, Run("kxcell CLK {Pin Name}"));
    // A pin number the signal has not: refused, nothing left selected.
    EXPECT_EQ(Run("kx::pane SelectPinNameCol U2 31"), "0");
    EXPECT_EQ(Messages().back(), "KXPANE-247");
}

TEST_F(PinEdits, PhysicalModelEditsJournalThePhysicalPart) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp RN1"));
    ASSERT_EQ(Run("kx::edit ccp 6 6 RES_FAST"), "1");
    ASSERT_EQ(Run("kx::select ccp 6 6; kx::menu 35567"), "1");
    const std::string journal = JournalText();
    EXPECT_TRUE(Contains(journal, "' --- Remove Model ---")) << journal;
    EXPECT_TRUE(Contains(journal, "Clp().Select(\"RN1\")")) << journal;
    EXPECT_FALSE(Contains(journal, "Clp().Select(\"RN1A\")")) << journal;
}

} // namespace
