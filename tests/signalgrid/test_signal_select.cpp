// Sorting, filtering and copying in the signal grid from the host: the words the
// grid echoes come back through the pane and do the work; nothing of it changes
// the design.
#include "SignalGridTestSupport.h"

#include "afx/afxole.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

class SignalSelect : public SignalGridTest {
protected:
    // FREE with three connections, made in an order that is not the pin number order.
    void ShowFreeWithThreeRows() {
        ASSERT_TRUE(Open());
        Run("kx::show slp FREE");
        ASSERT_EQ(Run("addConnection pin J2:24"), "1");
        ASSERT_EQ(Run("addConnection pin J1:13"), "1");
        ASSERT_EQ(Run("addConnection pin J2:23"), "1");
    }
    // The PN cells of the visible filled rows, top to bottom.
    std::vector<std::string> VisiblePinNumbers() {
        std::vector<std::string> out;
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (!Grid()->IsRowHidden(r) && !Cell(r, G::m_nColInstance).IsEmpty())
                out.push_back(Cell(r, G::m_nColPinNumber).GetString());
        return out;
    }
    std::string Num(long n) { return std::to_string(n); }
    bool Echoed(const std::string& part) {
        for (const std::string& e : Echoes())
            if (e.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(SignalSelect, SortWordSortsByTheNamedColumnAndFlipsOnTheSecondSort) {
    ShowFreeWithThreeRows();
    const std::string before = Netlist();
    EXPECT_EQ(Run("sort pin {Pin Number}"), "1");
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"13", "23", "24"}));
    EXPECT_EQ(Run("sort pin {Pin Number}"), "1");
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"24", "23", "13"}));
    // The rows still find their pins after the sort: deleting one removes that connection only.
    const ROWCOL row = Row("J1", "P<3>");
    ASSERT_NE(row, 0u);
    Grid()->SetCurrentCell(row, static_cast<ROWCOL>(G::m_nColInstance));
    EXPECT_EQ(Run("deleteConnection pin"), "1");
    EXPECT_EQ(Netlist().find("J1 P<3> FREE"), std::string::npos);
    EXPECT_NE(Netlist().find("J2 P<4> FREE"), std::string::npos);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    // A column the grid does not have is refused and moves nothing.
    Messages();
    EXPECT_EQ(Run("sort pin Nonsense"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-231"}));
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"24", "23", "13"}));
}

TEST_F(SignalSelect, HeaderClickIsEchoedAsASortThatTheHostRunsBack) {
    ShowFreeWithThreeRows();
    Echoes();
    EXPECT_EQ(Run("kx::click ccp 1 " + Num(G::m_nColPinNumber)), "1");
    EXPECT_TRUE(Echoed("sort pin \"Pin Number\""));
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"13", "23", "24"}));
}

TEST_F(SignalSelect, FilterWordHidesRowsThatDoNotMatchAndStarShowsThemAgain) {
    ShowFreeWithThreeRows();
    EXPECT_EQ(Run("filterRows pin -col Instance -filter J2"), "1");
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"24", "23"}));
    // Two filters: only rows matching both stay.
    EXPECT_EQ(Run("filterRows pin -col {Pin Number} -filter *4"), "1");
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"24"}));
    EXPECT_EQ(Run("filterRows pin -col Instance -filter *"), "1");
    EXPECT_EQ(Run("filterRows pin -col {Pin Number} -filter *"), "1");
    EXPECT_EQ(VisiblePinNumbers().size(), 3u);
    // An unknown column is refused.
    Messages();
    EXPECT_EQ(Run("filterRows pin -col Nonsense -filter x"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-234"}));
    EXPECT_EQ(VisiblePinNumbers().size(), 3u);
}

TEST_F(SignalSelect, TypingIntoTheFilterRowFiltersThroughTheHostAndIsJournalled) {
    ShowFreeWithThreeRows();
    Echoes();
    EXPECT_EQ(Run("kx::edit ccp 3 " + Num(G::m_nColInstance) + " J1"), "1");
    EXPECT_TRUE(Echoed("filterRows pin -col \"Instance\" -filter \"J1\""));
    EXPECT_EQ(VisiblePinNumbers(), (std::vector<std::string>{"13"}));
    EXPECT_NE(JournalText().find("ConnectivityPane().FilterRows(\"Instance\",\"J1\")"), std::string::npos)
        << JournalText();
}

// Quotes, dollars and brackets the user types reach the host as text: the filter runs and matches nothing.
TEST_F(SignalSelect, AFilterTextWithTclCharactersReachesTheHostAsTyped) {
    ShowFreeWithThreeRows();
    Echoes();
    EXPECT_EQ(Run("kx::edit ccp 3 " + Num(G::m_nColInstance) + " {J\"$x[y]}"), "1");
    EXPECT_TRUE(Echoed("filterRows pin -col \"Instance\" -filter \"J\\\"\\$x\\[y\\]\""))
        << ::testing::PrintToString(Echoes());
    EXPECT_TRUE(VisiblePinNumbers().empty());
}

TEST_F(SignalSelect, HiddenRowsAreNeitherCopiedNorDeleted) {
    ShowFreeWithThreeRows();
    EXPECT_EQ(Run("filterRows pin -col Instance -filter J2"), "1");
    const ROWCOL first = kxsignal::kFirstDataRow, last = first + 2;
    EXPECT_EQ(Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColPinNumber) + " " + Num(last) + " " +
                  Num(G::m_nColPinNumber)),
              "1");
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    const std::string text = AfxGetClipboardText().GetString();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_EQ(text.find("13"), std::string::npos) << text;
}

TEST_F(SignalSelect, CtrlCOnInstanceCellsCopiesThemInTheGrid) {
    ShowFreeWithThreeRows();
    Run("sort pin {Pin Number}");
    const ROWCOL first = kxsignal::kFirstDataRow;
    EXPECT_EQ(Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColInstance) + " " + Num(first + 2) + " " +
                  Num(G::m_nColInstance)),
              "1");
    Echoes();
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    // Instance cells are copied by the grid itself: no copy word goes to the host.
    EXPECT_FALSE(Echoed("copy pin"));
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), "J1\r\nJ2\r\nJ2\r\n");
    // The bar counts the copied rows and ends full.
    const std::string transcript = Transcript();
    const size_t bar = transcript.rfind("progress: Copying Data");
    ASSERT_NE(bar, std::string::npos) << transcript;
    const std::string line = transcript.substr(bar, transcript.find('\n', bar) - bar);
    EXPECT_NE(line.find("3 of 3"), std::string::npos) << line;
    EXPECT_NE(line.find("100%"), std::string::npos) << line;
    // One journal block per copied row, naming the current cell.
    const std::string journal = JournalText();
    size_t copies = 0;
    for (size_t at = journal.find(".ConnectivityPane().Copy()"); at != std::string::npos;
         at = journal.find(".ConnectivityPane().Copy()", at + 1))
        ++copies;
    EXPECT_EQ(copies, 3u) << journal;
    EXPECT_NE(journal.find("SelectInstanceCol("), std::string::npos);
}

// Ctrl+C on the Termination and Pull Up/Down cells goes through the host, the column named by its
// title; the word comes back and copies.
TEST_F(SignalSelect, CtrlCOnATerminationCellEchoesTheColumnsTitle) {
    ShowFreeWithThreeRows();
    Run("sort pin {Pin Number}");
    const ROWCOL first = kxsignal::kFirstDataRow;
    for (int col : {G::m_nColTermination, G::m_nColPupd}) {
        Run("kx::select ccp " + Num(first) + " " + Num(col) + " " + Num(first + 1) + " " + Num(col));
        Echoes();
        EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
        const std::string title = col == G::m_nColPupd ? "Pull Up/Down" : "Termination";
        EXPECT_TRUE(Echoed("selectWindow ccp; copy pin [list 13 J1 -1 \"-1\"] [list 23 J2 -1 \"-1\"] \"" +
                           title + "\""))
            << title << Transcript();
        EXPECT_EQ(Transcript().find("KXPANE-247"), std::string::npos);
    }
}

TEST_F(SignalSelect, CopyWordAndAutomationCopyTheNamedRows) {
    ShowFreeWithThreeRows();
    EXPECT_EQ(Run("selectWindow ccp; copy pin [list 24 J2 -1 -1] [list 13 J1 -1 -1] PIN_NAME"), "1");
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), "P<4>\r\nP<3>\r\n");
    const ROWCOL row = Row("J2", "P<3>");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColPinNumber));
    Run("kx::pane Copy");
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), "23\r\n");
}

TEST_F(SignalSelect, CopyOfTerminationsWithoutAnyGivesOneEmptyLinePerRow) {
    ShowFreeWithThreeRows();
    const ROWCOL first = kxsignal::kFirstDataRow;
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColTermination) + " " + Num(first + 1) + " " +
        Num(G::m_nColTermination));
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    EXPECT_EQ(std::string(AfxGetClipboardText().GetString()), "\r\n\r\n");
}

TEST_F(SignalSelect, AClickCrossSelectsThePinInTheHost) {
    ShowFreeWithThreeRows();
    const ROWCOL row = Row("J1", "P<3>");
    ASSERT_NE(row, 0u);
    Echoes();
    EXPECT_EQ(Run("kx::click ccp " + Num(row) + " " + Num(G::m_nColCell)), "1");
    const std::vector<std::string> echoes = Echoes();
    EXPECT_NE(std::find(echoes.begin(), echoes.end(), "selectObject pin [list 13 J1 -1 -1 FREE]"), echoes.end())
        << ::testing::PrintToString(echoes);
    // Header rows and blank rows name nothing.
    Run("kx::click ccp " + Num(Grid()->FindFirstEmptyRow()) + " " + Num(G::m_nColCell));
    EXPECT_FALSE(Echoed("selectObject"));
}

TEST_F(SignalSelect, PasteSpecialIsRefusedOnColumnsThatTakeNoText) {
    ShowFreeWithThreeRows();
    AfxSetClipboardText("J1");
    const ROWCOL row = kxsignal::kFirstDataRow;
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColPinNumber));
    G::s_pActiveGrid = Grid();
    EXPECT_FALSE(G::CanPasteObjectType(4));
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColTermination));
    EXPECT_FALSE(G::CanPasteObjectType(4));
    EXPECT_EQ(G::CanPasteCallback(8), Grid()->CanAddTermination());
    EXPECT_FALSE(G::CanPasteCallback(1));
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    EXPECT_TRUE(G::CanPasteObjectType(1));
    EXPECT_TRUE(G::CanPasteCallback(4));
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColCell));
    EXPECT_FALSE(G::CanPasteCallback(1));
    // The filter row takes anything.
    Run("kx::select ccp 3 " + Num(G::m_nColCell));
    EXPECT_TRUE(G::CanPasteCallback(8));
}

// Coming back to the pane with a signal grid active leaves no component selected in the component
// list (the grid shows a signal, not those components); the signal list keeps its selection.
TEST_F(SignalSelect, ActivatingThePaneClearsTheComponentListsSelection) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::select clp J1 J2");
    Run("kx::select slp N1");
    ASSERT_EQ(Run("kx::window clp selected"), "J1\nJ2");
    EXPECT_EQ(Run("selectWindow clp"), "1");
    EXPECT_EQ(Run("selectWindow ccp"), "1");
    EXPECT_EQ(Run("kx::window clp selected"), "");
    EXPECT_EQ(Run("kx::window slp selected"), "N1");
    EXPECT_EQ(Run("kx::window clp").rfind("J1\nJ2\n", 0), 0u); // the list itself stays
}

} // namespace

namespace {

// N1 with a pull-up of its own.
class SignalPupd : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.pull("RP1", "PullUp", "N1");
    }
    std::string Tip(ROWCOL row) {
        CGXStyle style;
        Grid()->ComposeStyleRowCol(row, static_cast<ROWCOL>(G::m_nColPupd), &style);
        return style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)).GetString();
    }
    int Shown() {
        int n = 0;
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            if (!Grid()->IsRowHidden(r) && !Cell(r, G::m_nColInstance).IsEmpty()) ++n;
        return n;
    }
};

// Every row of a pulled-up net carries the mark's text, and the Pull Up/Down filter finds it, the
// column named by its title in any letter case or by its key.
TEST_F(SignalPupd, ThePullUpMarkNamesItsStateAndTheFilterFindsIt) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Tip(row), "Local Pullup");
    const int rows = FilledRows();
    ASSERT_GT(rows, 1);
    for (const char* column : {"{Pull Up/Down}", "{PULL UP/DOWN}", "PUPD"}) {
        EXPECT_EQ(Run(std::string("filterRows pin -col ") + column + " -filter {Local Pull*}"), "1") << column;
        EXPECT_EQ(Shown(), rows) << column;
        EXPECT_EQ(Run(std::string("filterRows pin -col ") + column + " -filter *Pulldown"), "1") << column;
        EXPECT_EQ(Shown(), 0) << column;
        EXPECT_EQ(Run(std::string("filterRows pin -col ") + column + " -filter *"), "1") << column;
    }
}

} // namespace
