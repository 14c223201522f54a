// The matrix from the Tcl host: the words that open a view and type into it,
// kx::window ccp, kx::edit and kx::key on its cells, sort, filterRows and
// dumpGrid, and the automation methods the journal replays.
#include "MatrixTestSupport.h"

#include "afx/afxole.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class MatrixHost : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Views()->CreateView("bus");
        Views()->AddInstanceToMatrixView("bus", "@U1");
        Views()->AddInstanceToMatrixView("bus", "@J1");
        for (const char* s : {"@:N1", "@:FREE", "@:DATA<1>", "@:DATA<0>"}) Views()->AddSignalToMatrixView("bus", s);
    }
};

TEST_F(MatrixHost, TheWordOpensAStoredViewAndTheWindowShowsItsRows) {
    EXPECT_EQ(Run("openMatrixView pin bus"), "1");
    const std::string text = Run("kx::window ccp");
    EXPECT_EQ(text.rfind("Matrix Connectivity View - bus", 0), 0u) << text;
    EXPECT_NE(text.find("CKXMatrixGridWnd \"bus\", first data row 5"), std::string::npos) << text;
    EXPECT_NE(text.find("1: Signal | Physical Net | Pull Up/Down | Pin Name | Pin Number"), std::string::npos) << text;
    // A signal without pull-ups shows nothing in its Pull Up/Down cell (its hidden label is no text the user sees).
    EXPECT_NE(text.find("5: N1 |  |  | OUT |  |  |  | S | 15 |"), std::string::npos) << text;
    EXPECT_NE(text.find("6: N1 |  |  |  |  |  |  | T | 16 |"), std::string::npos) << text;
    EXPECT_NE(text.find("8: DATA<1> |  |  | D<1> |  |  |  | P<2> | 12 |"), std::string::npos) << text;
    // A name the design holds no view of yet opens an empty view to drop on.
    EXPECT_EQ(Run("openMatrixView pin fresh"), "1");
    EXPECT_TRUE(Views()->HasView("fresh"));
    EXPECT_EQ(Run("openMatrixView pin -help"), "1");
    EXPECT_EQ(Messages().back(), "KXPANE-400");
}

// The window shows the group titles of row 0 above the captions, each once, over the first column of its
// group the user sees; they follow a component renamed by the schematic tool.
TEST_F(MatrixHost, TheWindowShowsTheGroupTitlesOnceOverTheirGroups) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    std::string text = Run("kx::window ccp");
    const size_t titles = text.find("\n    0: Signals |");
    ASSERT_NE(titles, std::string::npos) << text;
    EXPECT_LT(titles, text.find("\n    1: Signal |")) << text;
    const std::string line = text.substr(titles + 1, text.find('\n', titles + 1) - titles - 1);
    EXPECT_NE(line.find("|  | Component U1 ("), std::string::npos) << line;
    EXPECT_NE(line.find("| Component J1 ("), std::string::npos) << line;
    EXPECT_EQ(line.find("Signals", line.find("Signals") + 1), std::string::npos) << line;
    EXPECT_EQ(line.find("Component U1", line.find("Component U1") + 1), std::string::npos) << line;
    ASSERT_EQ(Run("kx::schematic instance U1 U9"), "1");
    text = Run("kx::window ccp");
    EXPECT_NE(text.find("| Component U9 ("), std::string::npos) << text;
}

// A stored view keeps its components' order; a component it names twice is one group, one the design no
// longer holds is passed over.
TEST_F(MatrixHost, AStoredViewShowsEachOfItsComponentsOnceInItsOrder) {
    Views()->CreateView("twice");
    for (const char* p : {"@J1", "@GONE", "@U1", "@J1"}) Views()->AddInstanceToMatrixView("twice", p);
    ASSERT_EQ(Run("openMatrixView pin twice"), "1");
    EXPECT_EQ(Grid()->GroupCount(), 2);
    EXPECT_NE(Cell(0, G::ColumnOf(0, 0)).Find("J1"), -1) << Cell(0, G::ColumnOf(0, 0)).GetString();
    EXPECT_NE(Cell(0, G::ColumnOf(1, 0)).Find("U1"), -1) << Cell(0, G::ColumnOf(1, 0)).GetString();
}

// The schematic tool renames a shown net and a shown instance: the open view
// shows the new names in its Signal cells and its component header.
TEST_F(MatrixHost, ANetAndAnInstanceRenamedByTheSchematicToolAreRenamedInTheView) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    ASSERT_EQ(Run("kx::schematic net N1 N7"), "1");
    std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("5: N7 |  |  | OUT |"), std::string::npos) << text;
    EXPECT_EQ(text.find(": N1 |"), std::string::npos) << text;
    ASSERT_EQ(Run("kx::schematic instance U1 U9"), "1");
    std::string header;
    for (ROWCOL r = 0; r < 5; ++r)
        header += std::string(Cell(r, G::ColumnOf(0, 0)).GetString()) + "|";
    EXPECT_NE(header.find("Component U9 "), std::string::npos) << header;
    EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// The Pull Up/Down cell shows its mark, whose tool tip names the state; the cell's value is a label in the
// window's colour (the state and the signal's name) that the user never sees, and the window reads the mark.
TEST_F(MatrixHost, TheWindowShowsThePullUpDownStateNotTheHiddenLabel) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const int pupd = G::Layout().m_nPupdCol;
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(NameCol())), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet GND -value 4k7"), "1");
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("DATA<1>")) + " " + std::to_string(NameCol())), "1");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet GND -value 10k"), "1");
    // The cells themselves: the hidden label and the tool tip.
    EXPECT_EQ(Cell(Row("N1"), pupd), "Local PullupN1");
    EXPECT_EQ(Cell(Row("FREE"), pupd), "FREE");
    EXPECT_EQ(KXRowAttrs(*Grid(), Row("N1")).Text(static_cast<ROWCOL>(pupd), IDS_UA_TOOLTIPTEXT), "Local Pullup");
    const std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("5: N1 |  | Local Pullup | OUT |"), std::string::npos) << text;
    EXPECT_NE(text.find("6: N1 |  | Local Pullup |  |"), std::string::npos) << text;
    EXPECT_NE(text.find(": DATA<1> |  | Local PullDown | D<1> |"), std::string::npos) << text;
    EXPECT_NE(text.find(": FREE |  |  | "), std::string::npos) << text;
    EXPECT_NE(text.find(": DATA<0> |  |  | "), std::string::npos) << text;
    for (const char* hidden : {"Local PullupN1", "Local PullDownDATA", "| FREE | ", "| DATA<0> | "})
        EXPECT_EQ(text.find(hidden), std::string::npos) << hidden << "\n" << text;
    // Deleted from its mark, the pull-up leaves the cell empty again.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(pupd)), "1");
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_NE(Run("kx::window ccp").find("5: N1 |  |  | OUT |"), std::string::npos) << Run("kx::window ccp");
}

TEST_F(MatrixHost, CellsAreEditedAndKeysPressedAsTheUserDoes) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const ROWCOL free = Row("FREE");
    const std::string cell = std::to_string(free) + " " + std::to_string(PinCol(0));
    EXPECT_EQ(Run("kx::edit ccp " + cell + " IN"), "1");
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Run("kx::edit ccp " + cell + " NOPE"), "0");
    EXPECT_EQ(Run("kx::select ccp " + cell), "1");
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_FALSE(Connected("U1 IN FREE"));
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Cell(free, PinCol(0)), "IN");
}

// Delete on a pin cell whose commit the design database refuses: the pin stays on its signal, the cell
// shows it, the word answers 0, and neither an undo step nor a journal line is left of it.
TEST_F(MatrixHost, ADeleteTheDatabaseRefusesLeavesTheCellsAsTheDesignIs) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const ROWCOL free = Row("FREE");
    const std::string cell = std::to_string(free) + " " + std::to_string(PinCol(0));
    ASSERT_EQ(Run("kx::edit ccp " + cell + " IN"), "1");
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    EXPECT_EQ(Run("kx::select ccp " + cell), "1");
    EXPECT_EQ(Run("deleteConnection pin"), "0");
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Cell(Row("FREE"), PinCol(0)), "IN");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    // The Delete key the same way.
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    EXPECT_EQ(Run("kx::select ccp " + cell), "1");
    Run("kx::key ccp Delete");
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Cell(Row("FREE"), PinCol(0)), "IN");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
}

// A connect word refused after the matrix made a further row for it leaves the undo history alone:
// the next edit is a step of its own, and two undos take back the two edits.
TEST_F(MatrixHost, ARefusedConnectLeavesTheNextEditAStepOfItsOwn) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const std::string cell = std::to_string(Row("FREE")) + " " + std::to_string(PinCol(0));
    ASSERT_EQ(Run("kx::edit ccp " + cell + " IN"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    // FREE's one row shows IN already: the word makes a further row for it and connects nothing.
    EXPECT_EQ(Run("matrixConnect pin FREE U1 PIN_NAME IN"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    ASSERT_EQ(Run("kx::select ccp " + cell), "1");
    Run("kx::key ccp Delete");
    EXPECT_FALSE(Connected("U1 IN FREE"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Connected("U1 IN FREE"));
}

TEST_F(MatrixHost, SortKeepsASignalsRowsTogetherAndFilterHidesRows) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    EXPECT_EQ(Run("sort pin Signal"), "1");
    std::vector<std::string> order;
    for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
        order.push_back(Cell(r, NameCol()).GetString());
    EXPECT_EQ(order, (std::vector<std::string>{"DATA<0>", "DATA<1>", "FREE", "N1", "N1"}));
    EXPECT_EQ(Run("sort pin {J1.Pin Name}"), "1"); // a group's column: instance and caption
    EXPECT_EQ(Run("sort pin NO_COLUMN"), "0");
    EXPECT_EQ(Run("filterRows pin -col Signal -filter DATA*"), "1");
    std::vector<std::string> shown;
    for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
        if (!Grid()->IsRowHidden(r)) shown.push_back(Cell(r, NameCol()).GetString());
    EXPECT_EQ(shown, (std::vector<std::string>{"DATA<0>", "DATA<1>"}));
    EXPECT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r) EXPECT_FALSE(Grid()->IsRowHidden(r));
}

// A filter typed into the filter row is no edit of the design: Enter runs it, Shift+Enter goes to the
// common keys (the cell is stored, which runs it, and the current cell moves); neither is an undo step,
// nor an entry of the transaction log.
TEST_F(MatrixHost, AFilterTypedIntoTheFilterRowIsNoUndoStep) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const std::string log = (m_dir / "trans.log").string();
    ASSERT_EQ(Run("kx::translog " + log), "1");
    const int steps = Ccp()->GetUndoStepCount();
    const std::string filterCell = "kx::select ccp " + std::to_string(kxmatrix::kFilterRow) + " " +
                                   std::to_string(NameCol());
    for (const char* enter : {"kx::key ccp Enter", "kx::key ccp Enter shift"}) {
        Run(filterCell);
        ASSERT_EQ(Run("kx::key ccp D"), "1");
        ASSERT_EQ(Run(enter), "1");
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << enter;
        EXPECT_TRUE(Grid()->IsRowHidden(static_cast<ROWCOL>(Row("N1")))) << enter;
        EXPECT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    }
    Run("kx::translog");
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("Added to Undo"), std::string::npos) << text.str();
}

TEST_F(MatrixHost, TheShownPropertyEditorTakesTheSelection) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    Grid()->NotifySelectionChanged(); // the editor is not shown: nothing is sent
    EXPECT_TRUE(Notifications(MSG_PROPERTY_EDITOR_SELECTION).empty());
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(PinCol(1))), "1");
    Ccp()->SendMessage(WM_COMMAND, 35071, 0); // the pane's Show Property Editor command
    EXPECT_EQ(Notifications(MSG_PROPERTY_EDITOR_SELECTION).size(), 1u);
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("FREE")) + " 1"), "1"); // publishes as a click does
    EXPECT_EQ(Notifications(MSG_PROPERTY_EDITOR_SELECTION).size(), 1u);
}

TEST_F(MatrixHost, DumpGridWritesTheMatrix) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    const auto path = m_dir / "matrix.txt";
    EXPECT_EQ(Run("dumpGrid pin " + path.string()), "1");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("---Matrix Dump for view: bus---"), std::string::npos);
    EXPECT_NE(text.str().find("Pin Number"), std::string::npos);
    EXPECT_NE(text.str().find("P<2>"), std::string::npos);
}

TEST_F(MatrixHost, TheAutomationMethodsDoWhatTheJournalSays) {
    EXPECT_EQ(Run("kx::pane OpenMatrixView bus"), "1");
    EXPECT_EQ(Run("kx::pane MatrixConnect FREE J1 PN {} 13"), "1");
    EXPECT_TRUE(Connected("J1 P<3> FREE"));
    EXPECT_EQ(Run("kx::pane MatrixConnect FREE J1 PN 13 {}"), "1");
    EXPECT_FALSE(Connected("J1 P<3> FREE"));
    EXPECT_EQ(Run("kx::pane MatrixConnect FREE NOBODY PN {} 13"), "0");
}

} // namespace

namespace {

// The pane's title names the shown view however the user works in it: clicking into the grid, a cell
// edit and undo leave it as it was.
TEST_F(MatrixHost, ThePaneTitleNamesTheViewWhileTheUserWorksInIt) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    auto title = [&] {
        const std::string text = Run("kx::window ccp");
        return text.substr(0, text.find('\n'));
    };
    EXPECT_EQ(title(), "Matrix Connectivity View - bus");
    ASSERT_EQ(Run("kx::focus ccp 1"), "1");
    EXPECT_EQ(title(), "Matrix Connectivity View - bus");
    ASSERT_EQ(Run("kx::edit ccp " + std::to_string(Row("FREE")) + " " + std::to_string(PinCol(0)) + " IN"), "1");
    EXPECT_EQ(title(), "Matrix Connectivity View - bus");
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Matrix Connectivity View - bus");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(title(), "Matrix Connectivity View - bus");
}

// A row filter, typed into the filter row or given by the word, is journalled as the pane's FilterRows call
// naming the column as sort and filterRows name it; replayed, it hides the same rows. It changes no design.
TEST_F(MatrixHost, ARowFilterIsJournalledAndItsReplayHidesTheSameRows) {
    ASSERT_EQ(Run("openMatrixView pin bus"), "1");
    auto shown = [&] {
        std::vector<std::string> names;
        for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (!Grid()->IsRowHidden(r)) names.push_back(Cell(r, NameCol()).GetString());
        return names;
    };
    const std::string design = Snapshot();
    const std::filesystem::path file = StartJournal();
    ASSERT_EQ(Run("kx::edit ccp 3 " + std::to_string(NameCol()) + " DATA*"), "1");
    const std::vector<std::string> filtered = shown();
    EXPECT_EQ(filtered, (std::vector<std::string>{"DATA<1>", "DATA<0>"}));
    EXPECT_EQ(Run("filterRows pin -col {J1.Pin Name} -filter {P<2>}"), "1");
    EXPECT_EQ(shown(), std::vector<std::string>{"DATA<1>"});
    // A pattern pasted into the filter row.
    AfxSetClipboardText("DATA<1>\r\n");
    Run("kx::select ccp 3 " + std::to_string(NameCol()));
    EXPECT_EQ(Run("paste pin"), "1");
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".ConnectivityPane().FilterRows(\"Signal\",\"DATA<1>\")"), std::string::npos) << lines;
    EXPECT_NE(lines.find(".ConnectivityPane().FilterRows(\"Signal\",\"DATA*\")"), std::string::npos) << lines;
    EXPECT_NE(lines.find(".ConnectivityPane().FilterRows(\"J1.Pin Name\",\"P<2>\")"), std::string::npos) << lines;
    // Filters off again (not recorded), then the recorded lines bring them back.
    ASSERT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    ASSERT_EQ(Run("filterRows pin -col {J1.Pin Name} -filter *"), "1");
    EXPECT_EQ(shown().size(), 5u);
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Replayed(lines, 0), design);
    EXPECT_EQ(shown(), std::vector<std::string>{"DATA<1>"});
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

} // namespace
