// The user's hands on the grids of the example board through the host, where a key or a click does more
// than move the current cell: Ctrl and Shift with a click in every grid kind, Space on a bus row's name
// cell, Backspace, the drop-down list and the arrow buttons of a Signal cell, the keys that end an edit the
// grid refuses, a copy from a cell being edited, and the help word of the words whose options begin with -h.
#include "KXDemoBoard.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class GridHands : public DemoBoard {
protected:
    std::string Selected() { return Run("kx::grid ccp selected"); }
    // The text of the current cell's control while it is being edited; "" when none is.
    std::string EditedText() {
        CKXGridWnd* grid = Ccp() ? Ccp()->GetActiveGrid() : nullptr;
        CGXControl* control = grid ? grid->GetCurrentCellControl() : nullptr;
        if (!control || !control->IsActive()) return {};
        CString text;
        control->GetCurrentText(text);
        return text.GetString();
    }
    static std::string ClipboardText() {
        CString text;
        CKXImpClipBoard::GetCFText(text);
        return text.GetString();
    }
    static std::string Range(ROWCOL top, ROWCOL col, ROWCOL bottom) {
        return std::to_string(top) + " " + std::to_string(col) + " " + std::to_string(bottom) + " " +
               std::to_string(col);
    }
};

// In every grid kind Ctrl+click adds a cell of the column to the selection the user's click began and
// takes a selected one out again; Shift+click selects from the current cell to the cell clicked.
TEST_F(GridHands, CtrlAndShiftClicksSelectInEveryGridKind) {
    const std::vector<std::pair<int, std::string>> kinds = {
        {3, kShowU1},
        {3, "kx::show slp PG"},
        {3, "kx::pane CreateMatrixView V1 {U1 U2} {DQ<5..0> MCLK}"},
        {4, "kx::show clp RN1"},
        {4, "kx::show slp DQ<3>"}};
    for (const auto& [mode, setup] : kinds) {
        ASSERT_TRUE(OpenBoard(mode, setup)) << setup;
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        ASSERT_TRUE(grid) << setup;
        std::vector<ROWCOL> rows;
        for (ROWCOL r = grid->FirstDataRow(); r <= grid->GetRowCount() && rows.size() < 3; ++r)
            if (!grid->IsRowHidden(r)) rows.push_back(r);
        ASSERT_EQ(rows.size(), 3u) << setup;
        const ROWCOL col = grid->ShownColumnFor(grid->m_nFirstDataCol);
        const std::string c = " " + std::to_string(col);
        auto at = [&](size_t i) { return std::to_string(rows[i]) + c; };
        Run("kx::click ccp " + at(0));
        EXPECT_EQ(Run("kx::click ccp " + at(2) + " ctrl"), "1") << setup;
        EXPECT_EQ(Run("kx::grid ccp cell"), at(2)) << setup;
        EXPECT_TRUE(grid->IsCellSelected(rows[0], col) && grid->IsCellSelected(rows[2], col)) << setup;
        EXPECT_FALSE(grid->IsCellSelected(rows[1], col)) << setup;
        // Ctrl+click on a selected cell takes it out; the others stay.
        EXPECT_EQ(Run("kx::click ccp " + at(0) + " Ctrl+click"), "1") << setup;
        EXPECT_FALSE(grid->IsCellSelected(rows[0], col)) << setup;
        EXPECT_TRUE(grid->IsCellSelected(rows[2], col)) << setup;
        // Shift+click: from the current cell to the cell clicked.
        Run("kx::select ccp " + at(0));
        EXPECT_EQ(Run("kx::click ccp " + at(2) + " shift+left"), "1") << setup;
        for (ROWCOL row = rows[0]; row <= rows[2]; ++row)
            EXPECT_TRUE(grid->IsCellSelected(row, col)) << setup << " row " << row;
        Run("kx::answer question * no");
        Run("kx::close");
    }
    // A modifier the host does not know is an error, not a plain click.
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("kx::click ccp 40 7 hyper").rfind("error", 0), 0u);
}

// Outside the matrix a Ctrl+click in another column than the current cell's clears the selection.
TEST_F(GridHands, CtrlClickInAnotherColumnClearsTheSelection) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::click ccp 40 7");
    Run("kx::click ccp 41 7 ctrl");
    ASSERT_EQ(Selected(), "{40 7 40 7} {41 7 41 7}");
    Run("kx::click ccp 42 6 ctrl");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    EXPECT_FALSE(grid->IsCellSelected(40, 7) || grid->IsCellSelected(41, 7));
}

// Space on a bus row's Pin Name cell asks the host to expand the row, as its button does; again, to
// collapse it.
TEST_F(GridHands, SpaceOnABusRowsNameCellTogglesItsBits) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    Run("kx::select ccp 6 4");
    ASSERT_TRUE(grid->IsRowHidden(7));
    Echoes();
    EXPECT_EQ(Run("kx::key ccp Space"), "1");
    EXPECT_FALSE(grid->IsRowHidden(7));
    std::vector<std::string> echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "expandPins pin -selection on");
    EXPECT_EQ(Run("kx::key ccp Space"), "1");
    EXPECT_TRUE(grid->IsRowHidden(7));
    echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "expandPins pin -selection off");
}

// Typing in a Signal cell completes the text from the list; Backspace takes the completed tail off and
// completes nothing again.
TEST_F(GridHands, BackspaceInASignalCellCompletesNothing) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::select ccp 40 7; kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift");
    Run("kx::key ccp R; kx::key ccp S");
    EXPECT_EQ(EditedText(), "rsT_IN");
    EXPECT_EQ(Run("kx::key ccp Backspace"), "1");
    EXPECT_EQ(EditedText(), "rs");
    Run("kx::key ccp Backspace");
    EXPECT_EQ(EditedText(), "r"); // not RESET_N
    Run("kx::key ccp Escape");
}

// The Signal cell's list: dropped by its button or by Alt+Down, its selection follows into the cell,
// an entry chosen stays for Enter to connect, Cancel leaves the text as it was.
TEST_F(GridHands, TheSignalCellsListDropsAndChooses) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("kx::droplist ccp cancel"), "0"); // no list is down
    EXPECT_EQ(Run("kx::click ccp 40 7 button"), "1");
    const std::string entries = Run("kx::droplist ccp");
    ASSERT_NE(entries.find("PG"), std::string::npos) << entries;
    const std::string third = Run("lindex [kx::droplist ccp] 2");
    EXPECT_EQ(Run("kx::droplist ccp select 3"), "1");
    EXPECT_EQ(EditedText(), third);
    EXPECT_EQ(Run("kx::droplist ccp cancel"), "1");
    EXPECT_EQ(Run("kx::droplist ccp"), ""); // up again
    EXPECT_EQ(Run("kx::key ccp Escape"), "1");
    // Alt+Down in the cell being edited drops the list.
    Run("kx::key ccp F2");
    EXPECT_EQ(Run("kx::key ccp Down alt"), "1");
    EXPECT_EQ(Run("kx::droplist ccp"), entries);
    const int pg = std::stoi(Run("lsearch -exact [kx::droplist ccp] PG")) + 1;
    EXPECT_EQ(Run("kx::droplist ccp choose " + std::to_string(pg)), "1");
    EXPECT_EQ(EditedText(), "PG");
    EXPECT_EQ(Run("kx::droplist ccp"), "");
    EXPECT_EQ(Run("kx::key ccp Enter"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 MCLK PG"), std::string::npos);
    Run("kx::click ccp 41 7 button");
    EXPECT_EQ(Run("kx::droplist ccp choose 99").rfind("error", 0), 0u);
    EXPECT_EQ(Run("kx::droplist ccp cancel"), "1");
}

// Alt+Down on a Signal cell that is not being edited drops its list, as the pin grid's status text tells the
// user, and the current cell stays; Alt+Up takes it up again. Down alone moves the current cell.
TEST_F(GridHands, AltDownOnASignalCellNotBeingEditedDropsItsList) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::click ccp 41 7");
    ASSERT_EQ(EditedText(), "");
    EXPECT_EQ(Run("kx::key ccp Down alt"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell"), "41 7");
    EXPECT_NE(Run("kx::droplist ccp").find("RESET_N"), std::string::npos);
    EXPECT_EQ(EditedText(), "PG");
    EXPECT_EQ(Run("kx::key ccp Up alt"), "1");
    EXPECT_EQ(Run("kx::droplist ccp"), "");
    Run("kx::key ccp Escape");
    Run("kx::key ccp Down");
    EXPECT_EQ(Run("kx::grid ccp cell"), "42 7");
    EXPECT_EQ(Run("kx::droplist ccp"), "");
}

// A Signal cell's list left down with an entry only highlighted goes up storing nothing when the keyboard
// focus goes elsewhere (a list, the pane's background, another window): the cell shows its signal again, no
// step is made and no connect journalled, in open modes 3 and 1 alike.
TEST_F(GridHands, AListTheFocusLeavesStoresNothing) {
    const std::vector<std::string> roads = {"kx::focus clp", "kx::focus slp", "kx::focus ccp",
                                            "kx::open demo.board:sch 2; kx::tab 1"};
    for (const int mode : {3, 1}) {
        for (const std::string& road : roads) {
            const std::string what = road + " in mode " + std::to_string(mode);
            ASSERT_TRUE(OpenBoard(mode, kShowU1)) << what;
            const DesignMark before = MarkDesign();
            const std::size_t journalled = JournalText().size();
            Run("kx::click ccp 41 7 button");
            Run("kx::droplist ccp select [expr {[lsearch [kx::droplist ccp] RESET_N] + 1}]");
            ASSERT_EQ(EditedText(), "RESET_N") << what;
            Run(road);
            ExpectUnchangedSince(before, what);
            EXPECT_EQ(Run("kx::droplist ccp"), "") << what;
            EXPECT_EQ(EditedText(), "") << what;
            EXPECT_EQ(JournalText().find("RESET_N", journalled), std::string::npos) << what;
            while (Run("kx::close") == "1") {
            }
        }
    }
}

// A Signal cell's edit ended by a click into a list is stored, and journalled as the window's other lines
// are: by the window's handle, with the connect's method of its open mode.
TEST_F(GridHands, AnEditEndedByTheFocusLeavingIsJournalledByTheWindowsHandle) {
    for (const int mode : {3, 1}) {
        ASSERT_TRUE(OpenBoard(mode, kShowU1)) << mode;
        const std::size_t journalled = JournalText().size();
        Run("kx::select ccp 41 7; kx::key ccp F2");
        CGXControl* control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
        ASSERT_TRUE(control) << mode;
        control->SetCurrentText("RESET_N");
        EXPECT_EQ(Run("kx::focus clp"), "1") << mode;
        EXPECT_NE(Run("kx::netlist").find("U1 PGOOD RESET_N\n"), std::string::npos) << mode;
        const std::string journal = JournalText().substr(journalled);
        EXPECT_NE(journal.find("call board.ConnectivityPane().AddConnection(\"RESET_N\")"), std::string::npos)
            << mode << journal;
        EXPECT_EQ(journal.find("call demo.board:sch."), std::string::npos) << mode << journal;
        Run("kx::answer question * no");
        EXPECT_EQ(Run("kx::close"), "1") << mode;
    }
}

// A cell in edit as another window opens and takes the activation, or as the user takes the main
// window's frame to resize it: the edit is stored at once, by the window it belongs to and journalled by
// its handle, and the window holds no edit a later action could store.
TEST_F(GridHands, AnEditTheFocusLeavesForAnotherWindowIsStoredAtOnce) {
    const std::vector<std::string> roads = {"kx::open demo.board:sch 2; kx::tab 1", "kx::resize 1100 900"};
    for (const int mode : {3, 1}) {
        for (const std::string& road : roads) {
            const std::string what = road + " in mode " + std::to_string(mode);
            ASSERT_TRUE(OpenBoard(mode, kShowU1)) << what;
            const std::size_t journalled = JournalText().size();
            Run("kx::select ccp 40 7; kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift; kx::key ccp V shift");
            ASSERT_EQ(EditedText(), "VCC3V3") << what;
            EXPECT_EQ(Run(road), "1") << what;
            EXPECT_EQ(EditedText(), "") << what;
            EXPECT_NE(Run("kx::netlist").find("U1 MCLK VCC3V3\n"), std::string::npos) << what;
            EXPECT_EQ(Ccp()->GetUndoStepCount(), 1) << what;
            const std::string journal = JournalText().substr(journalled);
            // By the first window's handle, before the journal takes the handle of a window opened.
            const std::size_t stored = journal.find("AddConnection(\"VCC3V3\")");
            EXPECT_NE(stored, std::string::npos) << what << journal;
            EXPECT_LT(stored, journal.find("set board = RMX.GetActiveTab()")) << what << journal;
            // Enter back in the window finds no edit to store a second time.
            Run("kx::key ccp Enter");
            EXPECT_EQ(Ccp()->GetUndoStepCount(), 1) << what;
            Run("kx::resize 1280 1024");
            while (Run("kx::answer question * no; kx::close") == "1") {
            }
        }
    }
}

// The arrow buttons of a Signal cell step the bit number selected, as Up and Down do; hidden while no
// number is selected, they take no click.
TEST_F(GridHands, TheArrowButtonsStepTheSelectedBitNumber) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::select ccp 40 7; kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift");
    Run("kx::key ccp D; kx::key ccp Q");
    CGXControl* control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
    ASSERT_TRUE(control);
    control->SetCurrentText("DQ<3>");
    EXPECT_EQ(Run("kx::click ccp 40 7 up").rfind("error", 0), 0u);
    Run("kx::key ccp Home; kx::key ccp Right");
    EXPECT_EQ(Run("kx::click ccp 40 7 up"), "1");
    EXPECT_EQ(EditedText(), "DQ<4>");
    EXPECT_EQ(Run("kx::click ccp 40 7 down"), "1");
    Run("kx::click ccp 40 7 down");
    EXPECT_EQ(EditedText(), "DQ<2>");
    Run("kx::key ccp Escape");
}

// Enter, Tab and Shift+Tab that end an edit the grid refuses answer 0 with the grid's message, as the
// edit does; the edit stays open for the user to mend.
TEST_F(GridHands, KeysEndingARefusedEditAnswerZero) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp PG"));
    Messages();
    for (const char* key : {"Enter", "Tab", "Shift+Tab"}) {
        Run("kx::select ccp 5 8; kx::key ccp F2; kx::key ccp End; kx::key ccp X");
        EXPECT_EQ(Run(std::string("kx::key ccp ") + key), "0") << key;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-119"}) << key;
        EXPECT_EQ(Run("kx::grid ccp cell"), "5 8") << key;
        Run("kx::key ccp Escape");
    }
    // A text the grid takes is the key's edit.
    Run("kx::close; kx::answer question * no");
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::select ccp 40 7; kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift; kx::key ccp V shift");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 MCLK VCC3V3"), std::string::npos);
}

// A copy in a cell being edited with nothing selected there copies the current row's cell, on every road.
TEST_F(GridHands, CopyInACellWithOnlyTheCaretCopiesTheRow) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::select ccp 41 7; kx::key ccp Ctrl+C");
    const std::string pgood = ClipboardText();
    Run("kx::select ccp 40 7; kx::key ccp Ctrl+C");
    const std::string mclk = ClipboardText();
    ASSERT_NE(pgood, mclk);
    Run("kx::key ccp F2");
    for (const char* road : {"kx::key ccp Ctrl+C", "kx::menu 57634", "kx::pane Copy"}) {
        Run("kx::select ccp 41 7; kx::key ccp Ctrl+C; kx::select ccp 40 7; kx::key ccp F2");
        EXPECT_EQ(Run(road), "1") << road;
        EXPECT_EQ(ClipboardText(), mclk) << road;
        Run("kx::key ccp Escape");
    }
    EXPECT_EQ(Run("kx::grid ccp cell"), "40 7");
}

// Side by side, a paste after selectObject goes to the keyed pin of every grid, as typing and the attach
// bar do: the word, Ctrl+V and the pane's method alike, each one undo step.
TEST_F(GridHands, APasteAfterSelectObjectFillsEveryGrid) {
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    Run("kx::key ccp Ctrl+C");
    Run("kx::show clp R1 R2");
    const std::string pins = "lsearch -all -inline [split [kx::netlist] \\n] {R[12] A *}";
    const std::string before = Run(pins);
    ASSERT_NE(before, "{R1 A PG} {R2 A PG}");
    for (const char* road : {"paste pin", "kx::key ccp Ctrl+V", "kx::pane Paste"}) {
        Run("kx::word selectObject pin A:1");
        EXPECT_EQ(Run(road), "1") << road;
        EXPECT_EQ(Run(pins), "{R1 A PG} {R2 A PG}") << road;
        EXPECT_EQ(Run("undo"), "1") << road;
        EXPECT_EQ(Run(pins), before) << road;
    }
}

// removeDiffPairPin, addTermination and editTermination take -h and -help in any case as the help word,
// and an option beginning with -h ("-high") as what it is.
TEST_F(GridHands, HelpIsAWholeWordForWordsWithHOptions) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Messages();
    const std::vector<std::pair<std::string, std::string>> words = {
        {"removeDiffPairPin", "KXTABLE-191"}, {"addTermination", "KXPANE-241"}, {"editTermination", "KXTABLE-213"}};
    for (const auto& [word, usage] : words) {
        for (const char* w : {"-help", "-HELP", "-h", "-H", "-Help"}) {
            EXPECT_EQ(Run(word + " pin " + w), "1") << word << " " << w;
            EXPECT_EQ(Messages(), std::vector<std::string>{usage}) << word << " " << w;
        }
        // An option, not help: refused as what it is (its usage shown as the refusal's cause).
        EXPECT_EQ(Run(word + " pin -high"), "0") << word;
        Messages();
    }
    EXPECT_EQ(Run("removeDiffPairPin pin -high"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    // deleteConnection keeps its prefix rule: "-hx" asks for help, "-H" is a key.
    EXPECT_EQ(Run("deleteConnection pin -hx"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-161"});
    EXPECT_EQ(Run("deleteConnection pin -H"), "0");
}

} // namespace
