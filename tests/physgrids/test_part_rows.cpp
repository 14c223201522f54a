// The physical part grid shows a part read from the packaging server: one row per
// package pin, the pin map behind the rows, the header bar, several parts at once.
#include "PhysGridTestSupport.h"

#include "physgrids/KXPhysPartDetailsHeader.h"

namespace {

TEST_F(PhysGridTest, APartShowsOneRowPerPackagePinSortedByNumber) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Ccp()->GetPaneTitle(), "Physical Part Connectivity Details");
    EXPECT_EQ(Cell(g, 0, 0), "Physical Part : U1");
    // Package pins 1..7: pin 7 carries no logical pin (its D<0> sits on pin 1).
    ASSERT_EQ(g->GetRowCount(), kxphys::kPartFirstRow + 6);
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
    EXPECT_EQ(RowText(g, "U1", "5"), "5|CLK|Input|CK|");
    EXPECT_EQ(RowText(g, "U1", "6"), "6|OUT|Output|N1|");
    EXPECT_EQ(RowText(g, "U1", "7"), "7||Inout||");
    for (ROWCOL r = kxphys::kPartFirstRow; r < g->GetRowCount(); ++r)
        EXPECT_LT(Cell(g, r, G::s_nPNCol), Cell(g, r + 1, G::s_nPNCol));
    // Each used row reaches its logical pin bit; an unused package pin has none.
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetInstTermOfRow(Row(g, "U1", "2"), &bit));
    EXPECT_EQ(bit.spath(), "@U1.D<1>");
    EXPECT_FALSE(g->GetInstTermOfRow(Row(g, "U1", "7"), &bit));
    // The header bar names the part and offers its two sections and "All".
    CKXPhysPartDetailsHeader* header = g->GetHeader();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetPartText(), "U1");
    EXPECT_EQ(header->GetFunctions(), (std::vector<CString>{"1", "2", "All"}));
    EXPECT_EQ(header->GetSelectedFunction(), "All");
    // Single-part mode hides the "Physical Part" column.
    EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(G::s_nPhysPartCol)), 0);
}

TEST_F(PhysGridTest, ThePackageOfSeveralInstancesIsOnePart) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_strRefDes, "RN1");
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout|N1|");
    EXPECT_EQ(RowText(g, "RN1", "2"), "2|A|Inout|X2|");
    EXPECT_EQ(RowText(g, "RN1", "8"), "8|B|Inout|X1|");
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetInstTermOfRow(Row(g, "RN1", "2"), &bit));
    EXPECT_EQ(bit.spath(), "@RN1B.A");
    EXPECT_EQ(g->GetHeader()->GetFunctions().size(), 5u); // four sections and "All"
}

TEST_F(PhysGridTest, TheFunctionChoiceHidesThePinsOfOtherSections) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    g->GetHeader()->SelectFunction("2");
    g->GetHeader()->OnSelchangeFunctionCombo();
    EXPECT_TRUE(g->IsRowHidden(Row(g, "U1", "1")));
    EXPECT_FALSE(g->IsRowHidden(Row(g, "U1", "6")));
    g->GetHeader()->SelectFunction("All");
    g->GetHeader()->OnSelchangeFunctionCombo();
    EXPECT_FALSE(g->IsRowHidden(Row(g, "U1", "1")));
}

TEST_F(PhysGridTest, SeveralPartsShareOneGridWithTheirNames) {
    G* g = ShowParts({"U1", "RN1A"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_bObjectLoaded, 1);
    EXPECT_EQ(g->GetHeader()->GetPartText(), "Multiple Components");
    EXPECT_FALSE(g->GetHeader()->IsFunctionComboShown());
    EXPECT_GT(g->GetColWidth(static_cast<ROWCOL>(G::s_nPhysPartCol)), 0);
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout|N1|");
    EXPECT_EQ(Cell(g, Row(g, "RN1", "1"), G::s_nPhysPartCol), "RN1");
    // The single-part grid of the pane is not touched by the group.
    G* single = ShowParts({"U1"});
    EXPECT_NE(single, g);
    EXPECT_EQ(single->m_bObjectLoaded, 0);
}

TEST_F(PhysGridTest, ImplicitPowerPinsFollowTheOption) {
    G* g = WithPowerPins([&] { return ShowParts({"U1"}); });
    ASSERT_NE(g, nullptr);
    const ROWCOL row = Row(g, "U1", "9");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Cell(g, row, G::s_nPinNameCol), "VCC");
    EXPECT_EQ(Cell(g, row, G::s_nSignalCol), "VCC");
    CInstTermBitContext bit;
    EXPECT_FALSE(g->GetInstTermOfRow(row, &bit)); // no logical pin behind it
    // A reload with the option off leaves them out.
    g->m_strLoadedRefDes = "U1";
    g->ReloadPartPins();
    EXPECT_EQ(Row(g, "U1", "9"), 0u);
}

// A power pin's row has no logical pin to take a model: its model cell takes no typing (it showed the
// typed model while the design had none), and nothing is journalled.
TEST_F(PhysGridTest, APowerPinRowTakesNoTypedModel) {
    G* g = WithPowerPins([&] { return ShowParts({"U1"}); });
    ASSERT_NE(g, nullptr);
    const ROWCOL row = Row(g, "U1", "9");
    ASSERT_NE(row, 0u);
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(
        Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(G::s_nSignalModelCol) + " PWR"),
        "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-426"}); // it says why
    EXPECT_EQ(Cell(g, row, G::s_nSignalModelCol), "");
    EXPECT_EQ(JournalText(), journal);
}

// A part that offers no signal model to choose among (the resistor pack) keeps its pins' model cells
// read-only; typing into one says why.
TEST_F(PhysGridTest, AModelCellOfAPartWithoutModelsSaysWhyItTakesNoTyping) {
    G* g = ShowParts({"RN1"});
    ASSERT_NE(g, nullptr);
    const ROWCOL row = Row(g, "RN1", "1");
    ASSERT_NE(row, 0u);
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(G::s_nSignalModelCol) + " FAST"),
              "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-425"});
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

// The model a pin has, typed again in any letter case, changes nothing: 0, no undo step, no journal line.
TEST_F(PhysGridTest, AModelRetypedInAnotherLetterCaseChangesNothing) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(Word("assignModel pin FAST [list U1 D<0> 1]"), 1);
    const ROWCOL row = Row(g, "U1", "1");
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    for (const char* text : {"fast", "FAST"}) {
        EXPECT_EQ(Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(G::s_nSignalModelCol) + " " + text),
                  "0")
            << text;
        EXPECT_EQ(Cell(g, row, G::s_nSignalModelCol), "FAST") << text;
    }
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "FAST");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(PhysGridTest, TheBlockFilterHidesRowsOfExcludedInstancesAndMarksThem) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    g->SetExcludedSpathList("RN1", "@RN1B");
    const ROWCOL row = Row(g, "RN1", "2");
    EXPECT_TRUE(g->IsRowHidden(row));
    EXPECT_TRUE(KXRowAttrs(*g, row).Get(static_cast<ROWCOL>(G::s_nPNCol), kxphys::kBlockFiltered));
    EXPECT_FALSE(g->IsRowHidden(Row(g, "RN1", "1")));
    // A text filter keeps the block filter's rows hidden; clearing both shows them again.
    ASSERT_TRUE(g->SetColumnFilter("Pin Name", "B"));
    EXPECT_TRUE(g->IsRowHidden(Row(g, "RN1", "1")));
    EXPECT_FALSE(g->IsRowHidden(Row(g, "RN1", "8")));
    ASSERT_TRUE(g->SetColumnFilter("Pin Name", "*"));
    EXPECT_TRUE(g->IsRowHidden(row));
    g->SetExcludedSpathList("RN1", "");
    EXPECT_FALSE(g->IsRowHidden(row));
    EXPECT_FALSE(g->SetColumnFilter("No Such Column", "x"));
}

TEST_F(PhysGridTest, ScriptWordsFilterSortAndDumpTheGrid) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Word("filterRows pin -col \"Pin Name\" -filter \"D*\""), 1);
    EXPECT_TRUE(g->IsRowHidden(Row(g, "U1", "5")));
    EXPECT_FALSE(g->IsRowHidden(Row(g, "U1", "2")));
    EXPECT_EQ(Word("filterRows pin -col \"Pin Name\" -filter \"*\""), 1);
    EXPECT_EQ(Word("sort pin \"Pin Number\""), 1);
    EXPECT_EQ(Cell(g, kxphys::kPartFirstRow, G::s_nPNCol), "7"); // second sort on a column: descending
    EXPECT_EQ(Word("dumpGrid pin dump.txt"), 1);
    std::ifstream in(m_dir / "dump.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("---CCP Dump for instance: U1---"), std::string::npos);
    EXPECT_NE(text.str().find("\nFunctions: \n1 \n2 \nAll\n"), std::string::npos);
    EXPECT_NE(text.str().find("D<0>"), std::string::npos);
}

TEST_F(PhysGridTest, TheColumnSettingsKeysAreThePartGridsOwn) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    CString key;
    G::GetColumnSettingsKey(G::s_nPNCol, key);
    EXPECT_EQ(key, "PHYCCP\\PN");
    G::GetColumnSettingsKey(-1, key);
    EXPECT_EQ(key, "");
    EXPECT_THROW(G::GetColumnSettingsKey(999, key), std::exception);
}

// A row's pin name splits into its base and bit numbers; a scalar pin keeps its whole name.
TEST_F(PhysGridTest, ARowsPinNameSplitsIntoBaseAndBits) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    CString name, first, second;
    ASSERT_TRUE(g->ParseRowPinName(Row(g, "U1", "3"), name, first, second));
    EXPECT_EQ(name, "D");
    EXPECT_EQ(first, "2");
    EXPECT_EQ(second, "2");
    int lsb = -1, msb = -1;
    EXPECT_EQ(g->GetRowLogicalPin(name, Row(g, "U1", "3"), &lsb, &msb), "D");
    EXPECT_EQ(lsb, 2);
    EXPECT_FALSE(g->ParseRowPinName(Row(g, "U1", "5"), name, first, second));
    EXPECT_EQ(g->GetRowLogicalPin(name, Row(g, "U1", "5"), &lsb, &msb), "CLK");
    // The header bar follows the part named in single-part mode only.
    g->SetRefDes("U9");
    EXPECT_EQ(g->GetHeader()->GetPartText(), "U9");
    // The column names the grid's code reads come from the kind's column model.
    EXPECT_EQ(G::s_nColumnCount, G::Columns().Size());
    EXPECT_EQ(G::s_arrColumnCaptions.at(static_cast<std::size_t>(G::s_nPNCol)), "Pin Number");
    EXPECT_EQ(&G::s_arrColumnInfo, &G::Columns().Columns());
}

} // namespace
