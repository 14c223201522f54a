// The row filter (patterns per column, function groups) and the column modes.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include "kxcommon/KXPartReader.h"
#include "kxcommon/KXShareGlobalData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "pingrid/KXPinGridFunctions.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

class Filter : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B").port("C").bus("D", 3, 0);
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .connect("U1", "A", "N1")
            .connect("U1", "B", "N2")
            .connect("U1", "D<3..0>", "DATA<3..0>")
            .pinNumber("U1", "A", "A1")
            .pinNumber("U1", "B", "A3")
            .pinNumber("U1", "C", "A3");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
        // A pin on two physical pins of which one belongs to function 2.
        grid->GetParam()->SetLockReadOnly(FALSE);
        grid->SetValueRange(CGXRange(Row("C"), C(G::m_nColPinNumber)), "A3,A2");
    }
    void TearDown() override { CKXShareGlobalData::m_bAutomation = nullptr; }
    bool Shown(const char* pin) {
        const ROWCOL r = Row(pin);
        return r != 0 && !grid->IsRowHidden(r);
    }
};

TEST_F(Filter, PatternsHideRowsAndKeepCollapsedChildrenHidden) {
    EXPECT_TRUE(grid->OnFilterCellChanged("Pin Name", "D*"));
    EXPECT_EQ(Cell(4, G::m_nColPinName), "D*");
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, 4u);
    EXPECT_EQ(c, C(G::m_nColPinName));
    EXPECT_FALSE(Shown("A"));
    EXPECT_FALSE(Shown("B"));
    EXPECT_TRUE(Shown("D<3..0>"));
    // Matching bits show; the pattern of bit rows is theirs as well.
    EXPECT_TRUE(Shown("D<2>"));
    // "*" everywhere: every row again, bits of the collapsed vector still hidden.
    EXPECT_TRUE(grid->OnFilterCellChanged("Pin Name", "*"));
    EXPECT_TRUE(Shown("A"));
    EXPECT_TRUE(Shown("B"));
    EXPECT_TRUE(Shown("D<3..0>"));
    EXPECT_FALSE(Shown("D<2>"));
    for (ROWCOL h = 1; h < PIN_FIRST_ROW; ++h)
        EXPECT_FALSE(grid->IsRowHidden(h));
    // A column that no caption names changes nothing.
    EXPECT_FALSE(grid->OnFilterCellChanged("NO_SUCH_COLUMN", "x"));
    EXPECT_TRUE(Shown("A"));
}

TEST_F(Filter, ARowHiddenByOneColumnStaysHidden) {
    grid->SetValueRange(CGXRange(4, C(G::m_nColSignal)), "N1");
    grid->OnFilterCellChanged("Pin Name", "B");
    // B matches its pin-name pattern but not the signal pattern.
    EXPECT_FALSE(Shown("B"));
    EXPECT_FALSE(Shown("A"));
    grid->OnFilterCellChanged("Pin Name", "A");
    EXPECT_TRUE(Shown("A"));
}

TEST_F(Filter, BitmapColumnsFilterByTheirTooltip) {
    CGXStyle tip;
    tip.SetUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), "check the pull-up");
    grid->SetStyleRange(CGXRange(Row("B"), C(G::m_nColComments)), tip);
    grid->SetValueRange(CGXRange(Row("A"), C(G::m_nColComments)), "check the pull-up");
    EXPECT_TRUE(grid->OnFilterCellChanged("comments", "*pull-up*"));
    EXPECT_TRUE(Shown("B"));
    EXPECT_FALSE(Shown("A"));
}

TEST_F(Filter, FunctionGroupsByPinNumber) {
    const auto dir = KXUniqueTempPath("pingrid_filter_parts");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "FPART.fgr") << "1,A1\n2,A2\n";
    CKXPartReader::SetPartDirectory(dir.string().c_str());
    grid->PartFunctions().m_strPartName = "FPART";
    grid->HideFilteredRows(2, FALSE);
    EXPECT_EQ(grid->m_nFunctionFilter, 2);
    EXPECT_FALSE(Shown("A"));
    EXPECT_FALSE(Shown("B"));
    EXPECT_TRUE(Shown("C")); // "A3,A2": one of its numbers is in the group
    grid->RefreshFilter(0, 1, TRUE);
    EXPECT_TRUE(Shown("A"));
    EXPECT_FALSE(Shown("C"));
    // "All" shows every pin again; -1 keeps the chosen function.
    grid->HideFilteredRows(0, FALSE);
    EXPECT_TRUE(Shown("A"));
    EXPECT_TRUE(Shown("B"));
    EXPECT_TRUE(Shown("C"));
    EXPECT_FALSE(Shown("D<1>"));
    grid->m_nFunctionFilter = 2;
    grid->RefreshFilter(0, -1, FALSE);
    EXPECT_FALSE(Shown("A"));
    // Scrolled back to the first rows (the library skips hidden ones).
    EXPECT_LE(grid->GetTopRow(), Row("C"));
    CKXPartReader::SetPartDirectory("");
    std::filesystem::remove_all(dir);
}

TEST_F(Filter, UserEditIsJournalledWithQuotedTexts) {
    const auto path = KXUniqueTempPath("pingrid_filter_journal.vbs");
    std::filesystem::remove(path);
    std::string journal = path.string();
    CKXShareGlobalData::m_bAutomation = journal.data();
    grid->OnFilterCellChanged("Pin Name", "A");
    EXPECT_FALSE(std::filesystem::exists(path)); // not the user's edit
    grid->m_bUserFilterEdit = TRUE;
    grid->OnFilterCellChanged("Pin Name", "say \"x\"");
    grid->m_bUserFilterEdit = FALSE;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(".ConnectivityPane().FilterRows(\"Pin Name\",\"say \"\"x\"\"\")"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find(".Clp().Select(\"U1\")"), std::string::npos) << text.str();
    std::filesystem::remove(path);
}

TEST_F(Filter, ColumnModes) {
    grid->SetColumnMode(TRUE, FALSE, TRUE, 2);
    EXPECT_EQ(grid->m_nGridIndex, 2);
    EXPECT_TRUE(grid->m_bCompactColumns);
    for (int col : {0, G::m_nColPinName, G::m_nColPinNumber, G::m_nColPinType, G::m_nColTermination,
                    G::m_nColPupd, G::m_nColComments})
        EXPECT_TRUE(grid->IsColHidden(C(col))) << col;
    EXPECT_FALSE(grid->IsColHidden(C(G::m_nColSignal)));
    EXPECT_GT(grid->GetColWidth(C(G::m_nColSignal)), 0);

    grid->SetColumnMode(TRUE, FALSE, FALSE, 1);
    EXPECT_FALSE(grid->IsColHidden(0));
    EXPECT_FALSE(grid->IsColHidden(C(G::m_nColPinName)));
    EXPECT_TRUE(grid->IsColHidden(C(G::m_nColPinType)));

    // Back to the full layout with the filter reset: patterns "*" and rows by pin name, ascending.
    grid->OnFilterCellChanged("Pin Name", "A");
    grid->SetColumnMode(FALSE, TRUE, FALSE, 0);
    EXPECT_TRUE(grid->m_bFilterReset);
    EXPECT_EQ(Cell(4, G::m_nColPinName), "*");
    EXPECT_EQ(Cell(4, G::m_nColPinNumber), "*");
    EXPECT_FALSE(grid->IsColHidden(C(G::m_nColPinType)));
    EXPECT_TRUE(Shown("B"));
    EXPECT_LT(Row("A"), Row("B"));
    EXPECT_LT(Row("C"), Row("D<3..0>"));
    EXPECT_TRUE(grid->GetParam()->IsEnableUndo());
}

} // namespace
