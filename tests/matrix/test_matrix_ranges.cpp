// Selections over several columns of the matrix, made as the user makes them
// (kx::select, Shift with the arrow keys): a range keeps to the signal side or to
// the groups; one pin typed into several selected groups connects in each of
// them as one edit; a copy of such a range is the table the user sees, and its
// journal selects the same cells again before it copies.
#include "MatrixTestSupport.h"

#include "afx/afxole.h"

namespace {

class MatrixRanges : public MatrixTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        MatrixTest::BuildDesign(b);
        b.schematic("board").instance("R2", "res", "R2").instance("R3", "res", "R3");
    }
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Messages();
    }
    // Opens a new view and adds to it as the user does, so that the journal makes the same view again.
    G* OpenByWords(const char* name, std::initializer_list<const char*> instances,
                   std::initializer_list<const char*> signals) {
        EXPECT_EQ(Run(std::string("openMatrixView pin ") + name), "1");
        for (const char* instance : instances) EXPECT_EQ(Run(std::string("matrixAdd pin component ") + instance), "1");
        for (const char* signal : signals) EXPECT_EQ(Run(std::string("matrixAdd pin signal ") + signal), "1");
        return Grid();
    }
    static std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    std::string Select(ROWCOL row, int col, ROWCOL row2, int col2) {
        return Run("kx::select ccp " + At(row, col) + " " + At(row2, col2));
    }
    bool Selected(ROWCOL row, int col) { return Grid()->IsCellSelected(row, static_cast<ROWCOL>(col)) != FALSE; }
};

TEST_F(MatrixRanges, ARangeSpansTheColumnsOfOneSideButNeverBothSides) {
    ASSERT_NE(OpenView("v", {"@R2", "@R3"}, {"@:FREE", "@:N1"}), nullptr);
    const ROWCOL free = Row("FREE"), n1 = Row("N1");
    // Over both groups.
    EXPECT_EQ(Select(free, PinCol(0), n1, PinCol(1)), "1");
    EXPECT_TRUE(Selected(free, PinCol(0)));
    EXPECT_TRUE(Selected(n1, TypeCol(0)));
    EXPECT_TRUE(Selected(n1, PinCol(1)));
    // Over the signal side.
    EXPECT_EQ(Select(free, NameCol(), n1, G::Layout().m_nPupdCol), "1");
    EXPECT_TRUE(Selected(n1, G::Layout().m_nPhysNetNameCol));
    // From the signal side into a group: refused.
    EXPECT_EQ(Select(free, NameCol(), free, PinCol(0)), "0");
    EXPECT_FALSE(Selected(free, PinCol(0)));
    // Shift with the arrow keys grows the range into the next group, never over to the signal side.
    ASSERT_EQ(Run("kx::select ccp " + At(free, PnCol(0))), "1");
    for (int i = 0; i < G::Layout().m_nGroupWidth; ++i) ASSERT_EQ(Run("kx::key ccp Right shift"), "1");
    EXPECT_TRUE(Selected(free, PnCol(0)));
    EXPECT_TRUE(Selected(free, PnCol(1)));
    ASSERT_EQ(Run("kx::select ccp " + At(free, PinCol(0))), "1");
    Run("kx::key ccp Left shift");
    EXPECT_FALSE(Selected(free, G::Layout().m_nPupdCol));
    // A Ctrl+click adds a cell of the same side; one of the other side clears the selection first.
    ASSERT_EQ(Select(free, PinCol(0), free, PnCol(0)), "1");
    AfxSetKeyState(VK_CONTROL, TRUE);
    Run("kx::click ccp " + At(n1, PinCol(1)));
    const bool added = Selected(n1, PinCol(1)) && Selected(free, PinCol(0));
    Run("kx::click ccp " + At(n1, NameCol()));
    AfxSetKeyState(VK_CONTROL, FALSE);
    EXPECT_TRUE(added);
    EXPECT_FALSE(Selected(free, PinCol(0)));
    EXPECT_FALSE(Selected(n1, PinCol(1)));
}

// Delete takes off the pins of the selected cells only, whatever rows and columns other ranges of the
// selection hold.
TEST_F(MatrixRanges, DeleteTakesOffThePinsOfTheSelectedCellsOnly) {
    ASSERT_NE(OpenByWords("v", {"U1", "J1"}, {"N1", "DATA<1>"}), nullptr);
    const ROWCOL n1 = PinRow("N1", "OUT"), data = Row("DATA<1>");
    ASSERT_EQ(Run("kx::select ccp " + At(n1, PinCol(0))), "1");
    AfxSetKeyState(VK_CONTROL, TRUE);
    Run("kx::click ccp " + At(data, PinCol(1)));
    AfxSetKeyState(VK_CONTROL, FALSE);
    ASSERT_TRUE(Selected(n1, PinCol(0)));
    ASSERT_TRUE(Selected(data, PinCol(1)));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_FALSE(Connected("U1 OUT N1"));
    EXPECT_FALSE(Connected("J1 P<2> DATA<1>"));
    EXPECT_TRUE(Connected("J1 S N1"));
    EXPECT_TRUE(Connected("U1 D<1> DATA<1>"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(ReplayedSnapshot("m"), Snapshot());
}

// One pin name typed into a row of several selected groups connects that pin of each group's instance, as
// one edit that one undo takes back and whose journal replays to the same design.
TEST_F(MatrixRanges, APinTypedIntoSeveralSelectedGroupsConnectsInEachAsOneEdit) {
    ASSERT_NE(OpenByWords("v", {"R2", "R3"}, {"FREE"}), nullptr);
    const ROWCOL free = Row("FREE");
    const std::string before = Snapshot();
    ASSERT_EQ(Select(free, PinCol(0), free, PinCol(1)), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::edit ccp " + At(free, PinCol(0)) + " A"), "1");
    EXPECT_TRUE(Connected("R2 A FREE"));
    EXPECT_TRUE(Connected("R3 A FREE"));
    EXPECT_EQ(Cell(free, PinCol(1)), "A");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string after = Snapshot();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(free, PinCol(1)), "");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Snapshot(), after);
    EXPECT_EQ(ReplayedSnapshot("m"), after);
}

// A copy of several columns and rows is the table the user sees; its journal selects the copied rows' cells
// again and copies them, so that the replay puts the same table on the clipboard.
TEST_F(MatrixRanges, ACopyOfSeveralColumnsIsJournalledAsItsRowsAndReplaysToTheSameTable) {
    ASSERT_NE(OpenByWords("v", {"J1", "R2"}, {"N1", "FREE", "DATA<1>"}), nullptr);
    const std::vector<ROWCOL> n1 = Rows("N1");
    ASSERT_EQ(n1.size(), 2u);
    ASSERT_EQ(Select(n1[0], PinCol(0), Row("FREE"), PnCol(0)), "1");
    const std::filesystem::path file = StartJournal();
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    const std::string lines = StopJournal(file);
    const std::string table = AfxGetClipboardText().GetString();
    EXPECT_EQ(table, "S\t15\r\nT\t16\r\n\t\r\n");
    EXPECT_NE(lines.find(".ConnectivityPane().MatrixSelectRow(\"N1\",\"1\",\"J1.Pin Name\",\"J1.Pin Number\",\"1\")"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find(".ConnectivityPane().Copy()"), std::string::npos) << lines;
    AfxSetClipboardText("");
    const std::string design = Snapshot();
    EXPECT_EQ(Replayed(lines, 0), design);
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), table);
    // A row the filter hides is neither copied nor journalled.
    ASSERT_EQ(Run("filterRows pin -col Signal -filter *1*"), "1");
    ASSERT_EQ(Select(n1[0], NameCol(), Row("DATA<1>"), G::Layout().m_nPhysNetNameCol), "1");
    const std::filesystem::path again = StartJournal();
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), "N1\t\r\nN1\t\r\nDATA<1>\t\r\n");
    const std::string second = StopJournal(again).substr(lines.size());
    EXPECT_EQ(second.find("MatrixSelectRow(\"FREE\""), std::string::npos) << second;
    EXPECT_NE(second.find("MatrixSelectRow(\"DATA<1>\",\"0\",\"Signal\",\"Physical Net\",\"1\")"), std::string::npos)
        << second;
    ASSERT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    // Every line of the session is taken by a fresh host.
    EXPECT_EQ(ReplayedSnapshot("m"), design);
}

} // namespace
