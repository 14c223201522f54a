// The pane's ChangePropValue automation on a pin grid: the selected pin's cell of the custom
// property column named takes the value, as one undo step; a name that is no column of the grid
// changes nothing.
#include "PinGridBoardFixture.h"

#include <fstream>

namespace {

class PanePropValue : public PinGridBoard {
protected:
    // The user adds a pin property column through the pane's Customize Columns.
    int AddSlewColumn() {
        Run("kx::select ccp 6 4");
        Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
        if (Run("kx::menu 35130") != "1") return 0;
        for (int c = 1; c <= static_cast<int>(Grid()->GetColCount()); ++c)
            if (CellText(2, c) == "Slew" || CellText(1, c) == "Slew") return c;
        return 0;
    }
    std::string Slew(const char* pin) { return Run(std::string("kx::prop demo.board:sch@U1.") + pin + " SLEW"); }
    // U1's grid shown with the Slew column added: the column and PGOOD's row.
    void OpenWithSlew(int& slew, ROWCOL& pgood) {
        OpenBoard();
        ASSERT_TRUE(Grid());
        slew = AddSlewColumn();
        ASSERT_GT(slew, 0) << Run("kx::window ccp");
        pgood = PinRow("PGOOD");
        ASSERT_GT(pgood, 0u);
    }
};

TEST_F(PanePropValue, TheSelectedPinTakesTheValueInOneUndoStep) {
    int slew = 0;
    ROWCOL pgood = 0;
    ASSERT_NO_FATAL_FAILURE(OpenWithSlew(slew, pgood));
    Run("kx::pane SelectPinNameCol PGOOD");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::pane ChangePropValue SLEW fast");
    EXPECT_EQ(Slew("PGOOD"), "fast");
    EXPECT_EQ(CellText(pgood, slew), "fast");
    EXPECT_NE(Slew("RST_N"), "fast"); // only the selected pin
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(JournalText().find("ChangePropValue(\"SLEW\",\"fast\")"), std::string::npos) << JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Slew("PGOOD"), "fast");
    EXPECT_EQ(CellText(pgood, slew), "");
}

TEST_F(PanePropValue, ANameThatIsNoColumnChangesNothing) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    ASSERT_GT(AddSlewColumn(), 0);
    Run("kx::pane SelectPinNameCol PGOOD");
    const int steps = Ccp()->GetUndoStepCount();
    const bool modified = Doc()->IsModified();
    Run("kx::messages");
    // A name that is no custom column is refused for what it is; the caption of an ordinary column too.
    for (const char* name : {"NOSUCH", "{Pin Type}"}) {
        EXPECT_EQ(Run(std::string("kx::pane ChangePropValue ") + name + " fast"), "0") << name;
        EXPECT_EQ(Run("kx::messages"), "KXPANE-238") << name;
    }
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Doc()->IsModified(), modified);
    EXPECT_NE(Slew("PGOOD"), "fast");
}

// The column may be named as the grid shows it: by its caption, in any case. The journal names it by
// its property, so that a replay writes the same value.
TEST_F(PanePropValue, TheColumnIsFoundByTheCaptionItShows) {
    int slew = 0;
    ROWCOL pgood = 0;
    ASSERT_NO_FATAL_FAILURE(OpenWithSlew(slew, pgood));
    Run("kx::pane SelectPinNameCol PGOOD");
    const size_t start = JournalText().size();
    EXPECT_EQ(Run("kx::pane ChangePropValue Slew fast"), "1");
    EXPECT_EQ(Slew("PGOOD"), "fast");
    EXPECT_EQ(CellText(pgood, slew), "fast");
    EXPECT_EQ(Run("kx::pane ChangePropValue SLEW slow"), "1");
    EXPECT_EQ(Run("kx::pane ChangePropValue slew slow"), "0"); // unchanged
    EXPECT_EQ(Run("kx::messages"), "KXTABLE-267");
    const std::string journal = JournalText().substr(start);
    EXPECT_NE(journal.find("ChangePropValue(\"SLEW\",\"fast\")"), std::string::npos) << journal;
}

// A value with commas (and a backslash) is stored whole: typed into the cell, set by automation,
// and by the replay of their journal.
TEST_F(PanePropValue, AValueWithCommasIsStoredWhole) {
    int slew = 0;
    ROWCOL pgood = 0;
    ASSERT_NO_FATAL_FAILURE(OpenWithSlew(slew, pgood));
    const size_t start = JournalText().size();
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(pgood) + " " + std::to_string(slew) + " {fast,slow}"), "1");
    EXPECT_EQ(Slew("PGOOD"), "fast,slow");
    EXPECT_EQ(CellText(pgood, slew), "fast,slow");
    Run("kx::pane SelectPinNameCol RST_N");
    EXPECT_EQ(Run("kx::pane ChangePropValue SLEW {a,b\\c}"), "1");
    EXPECT_EQ(Slew("RST_N"), "a,b\\c");
    const std::string journal = JournalText().substr(start);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Slew("PGOOD"), "fast,slow");
    const auto replay = m_dir / "commas.vbs";
    std::ofstream(replay) << "set board = RMX.GetActiveTab()\n" << journal;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Slew("PGOOD"), "fast,slow");
    EXPECT_EQ(Slew("RST_N"), "a,b\\c");
}

} // namespace
