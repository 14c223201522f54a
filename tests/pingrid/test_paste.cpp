// Pasting into the pin grid on the example board, as the user does it at the host: Ctrl+C and Ctrl+V
// (the pane's paste word), one line or several, the overwrite question, a refused line, the filter row.
#include "PinGridBoardFixture.h"

#include "afx/afxanswer.h"
#include "grid/KXClipboardText.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxinstsigpane/KXTransaction.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class PinPaste : public PinGridBoard {
protected:
    void TearDown() override {
        SetPrompt(0);
        CKXImpClipBoard::m_bIgnoreEmptyCellsInPasteSpecial = false;
        AfxGetAnswerQueue().Reset();
        PinGridBoard::TearDown();
    }
    // Plain text on the clipboard, as another program leaves it.
    static void Clip(const char* text) {
        CKXImpClipBoard::StartCopying();
        CKXImpClipBoard::CopyCFText(text);
        CKXImpClipBoard::EndCopying();
        CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    }
    static void SetPrompt(DWORD value) {
        CKXRegistrySettings::OpenRegistryKey();
        CKXRegistrySettings::SetToRegistry("on_paste_prompt_before_overwrite", value);
        CKXRegistrySettings::CloseRegistryKey();
    }
    std::string Signal(const std::string& pin) { return CellText(PinRow(pin), G::m_nColSignal); }
    std::string SignalCol() { return std::to_string(G::m_nColSignal); }
    // Selects the Signal cells of the pins' rows (from the first to the last).
    void SelectSignals(const std::string& first, const std::string& last) {
        Run("kx::select ccp " + std::to_string(PinRow(first)) + " " + SignalCol() + " " +
            std::to_string(PinRow(last)) + " " + SignalCol());
    }
    int Steps() { return Ccp()->GetUndoStepCount(); }
};

TEST_F(PinPaste, CopiedSignalsPasteOntoOtherPinsAsOneStep) {
    OpenBoard();
    SelectSignals("MCLK", "PGOOD");
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    // The bar counts the copied rows and ends full.
    const std::string transcript = Transcript();
    const size_t bar = transcript.rfind("progress: Copying Data");
    ASSERT_NE(bar, std::string::npos) << transcript;
    const std::string line = transcript.substr(bar, transcript.find('\n', bar) - bar);
    EXPECT_NE(line.find("2 of 2"), std::string::npos) << line;
    EXPECT_NE(line.find("100%"), std::string::npos) << line;
    SelectSignals("PGOOD", "RST_N");
    const std::string before = Run("kx::netlist");
    const int steps = Steps();
    EXPECT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    EXPECT_EQ(Signal("PGOOD"), "MCLK");
    EXPECT_EQ(Signal("RST_N"), "PG");
    EXPECT_EQ(Signal("MCLK"), "MCLK");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("SelectSignalCol(\"PGOOD\",\"C10\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("AddConnection(\"MCLK\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("AddConnection(\"PG\")"), std::string::npos) << journal;
    Run("undo");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Signal("PGOOD"), "PG");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
}

TEST_F(PinPaste, OneLineGoesToEverySelectedPin) {
    OpenBoard();
    Clip("PASTED\r\n");
    SelectSignals("MCLK", "RST_N");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Signal("MCLK"), "PASTED");
    EXPECT_EQ(Signal("PGOOD"), "PASTED");
    EXPECT_EQ(Signal("RST_N"), "PASTED");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PN"), "C10"); // the pins stay what they were
}

TEST_F(PinPaste, SeveralLinesOnOneRowFillTheRowsBelowAndNoMore) {
    OpenBoard();
    Clip("S1\r\nS2\r\n");
    SelectSignals("MCLK", "MCLK");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Signal("MCLK"), "S1");
    EXPECT_EQ(Signal("PGOOD"), "S2");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
    // Two lines on three selected rows: the third keeps its signal.
    Clip("T1\nT2");
    SelectSignals("MCLK", "RST_N");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Signal("MCLK"), "T1");
    EXPECT_EQ(Signal("PGOOD"), "T2");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
}

TEST_F(PinPaste, ARefusedLineLeavesTheDesignAsItWas) {
    OpenBoard();
    const std::string before = Run("kx::netlist");
    const int steps = Steps();
    const std::string journal = JournalText();
    Clip("GOOD1\n!!bad name\n");
    SelectSignals("MCLK", "PGOOD");
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Signal("MCLK"), "MCLK");
    EXPECT_EQ(Signal("PGOOD"), "PG");
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
    const std::vector<std::string> shown = Messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "KXTABLE-112"), shown.end());
}

// A paste whose connect stops at its own dialog (the bits of a bus onto a scalar pin, the question
// before a pair pin's pair net is replaced) answers as that connect's word does when it is cancelled:
// 2 on the word, Ctrl+V and the menu, the pane's method 0; nothing said, nothing changed.
TEST_F(PinPaste, APasteWhoseConnectDialogIsCancelledAnswersAsTheCancelledConnect) {
    OpenBoard();
    Clip("LVDS<3..0>\n");
    const std::string before = Run("kx::netlist");
    const int steps = Steps();
    const std::string journal = JournalText();
    for (const char* pin : {"MCLK", "CLK"})
        for (const char* road : {"paste pin", "kx::key ccp Ctrl+V", "kx::menu 57637", "kx::pane Paste"}) {
            SelectSignals(pin, pin);
            Messages();
            EXPECT_EQ(Run(road), std::string(road) == "kx::pane Paste" ? "0" : "2") << pin << ": " << road;
            EXPECT_EQ(Messages(), std::vector<std::string>{}) << pin << ": " << road;
        }
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(PinPaste, OverwritingAsksOnceWhenTheUserWantsIt) {
    OpenBoard();
    SetPrompt(1);
    Clip("NEWSIG\n");
    SelectSignals("PGOOD", "RST_N");
    const std::string before = Run("kx::netlist");
    // No: the paste stops at its question, changing nothing (2, as a question answered No).
    Run("kx::answer question KXTABLE-139 no");
    EXPECT_EQ(Run("paste pin"), "2");
    EXPECT_EQ(Run("kx::netlist"), before);
    // Yes: both pins take the signal; asked once.
    SelectSignals("PGOOD", "RST_N");
    Run("kx::answer question KXTABLE-139 yes");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Signal("PGOOD"), "NEWSIG");
    EXPECT_EQ(Signal("RST_N"), "NEWSIG");
    // The same paste again changes nothing: refused without a question, no step, no journal line.
    const int steps = Steps();
    const size_t journal = JournalText().size();
    SelectSignals("PGOOD", "RST_N");
    Messages();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"});
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText().size(), journal);
    // Paste special (the clipboard's columns named) does not ask.
    Clip("OTHER\n");
    SelectSignals("PGOOD", "PGOOD");
    Messages();
    EXPECT_EQ(Run("paste pin Signal"), "1");
    EXPECT_EQ(Signal("PGOOD"), "OTHER");
    const std::vector<std::string> shown = Messages();
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "KXTABLE-139"), shown.end());
}

TEST_F(PinPaste, IntoTheFilterRowTheTextBecomesTheFilter) {
    OpenBoard();
    Clip("PG*\r\n");
    Run("kx::select ccp 4 " + std::to_string(G::m_nColPinName));
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(CellText(4, G::m_nColPinName), "PG*");
    EXPECT_FALSE(Doc()->IsModified());
}

// The host's clipboard viewer pastes an older item into the current pin, as Ctrl+V pastes the newest:
// one undo step; an item the viewer does not hold changes nothing.
TEST_F(PinPaste, TheClipboardViewersItemPastesIntoTheCurrentPin) {
    OpenBoard();
    Clip("MCLK");
    Clip("RESET_N");
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + SignalCol());
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::clipview 2");
    EXPECT_EQ(Signal("PGOOD"), "MCLK");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("kx::clipview 99");
    EXPECT_EQ(Signal("PGOOD"), "MCLK");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("PGOOD"), "PG");
}

TEST_F(PinPaste, LinesAreSplitAtLineFeedsWithoutTheirCarriageReturns) {
    EXPECT_EQ(KXSplitClipboardLines("A\r\nB\r\nC\r\n"), (std::vector<CString>{"A", "B", "C"}));
    EXPECT_EQ(KXSplitClipboardLines("A\n\nB"), (std::vector<CString>{"A", "", "B"}));
    EXPECT_TRUE(KXSplitClipboardLines("").empty());
    // A line's fields keep their empty ones, the last too.
    EXPECT_EQ(KXSplitClipboardFields("a\t\tb\t"), (std::vector<CString>{"a", "", "b", ""}));
}

} // namespace

namespace {

// A typed name the cell refused leaves nothing open: the paste after it is still one undo step.
TEST_F(PinPaste, AfterARefusedTypedNameAPasteIsStillOneStep) {
    OpenBoard();
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(PinRow("PGOOD")) + " " + SignalCol() + " {B@D}"), "0");
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    Clip("P1\nP2\n");
    SelectSignals("PGOOD", "RST_N");
    const int steps = Steps();
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Signal("PGOOD"), "P1");
    EXPECT_EQ(Signal("RST_N"), "P2");
    EXPECT_EQ(Steps(), steps + 1);
    Run("undo");
    EXPECT_EQ(Signal("PGOOD"), "PG");
    EXPECT_EQ(Signal("RST_N"), "RESET_N");
}

} // namespace

namespace {

// Two components side by side take one paste as one edit: when the second grid refuses its part, the
// first grid's part goes too, and the journal is as it was.
class PanePaste : public PinPaste {
protected:
    G* GridAt(size_t i) { return dynamic_cast<G*>(Ccp()->GetShownGrids()[i]); }
    void ShowTwo() {
        ASSERT_TRUE(Open("demo.board:sch", 1));
        Run("kx::show clp U1 U2");
        Messages();
        ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u) << Run("kx::window ccp");
    }
    std::string Cell(size_t grid, const std::string& pin, int col) {
        G* g = GridAt(grid);
        for (ROWCOL r = PIN_FIRST_ROW; r <= g->GetRowCount(); ++r)
            if (g->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin.c_str())
                return g->GetValueRowCol(r, static_cast<ROWCOL>(col)).str();
        return "?";
    }
    ROWCOL RowIn(size_t grid, const std::string& pin) {
        G* g = GridAt(grid);
        for (ROWCOL r = PIN_FIRST_ROW; r <= g->GetRowCount(); ++r)
            if (g->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin.c_str()) return r;
        return 0;
    }
};

TEST_F(PanePaste, ASecondGridRefusingItsPartTakesTheFirstGridsPartWithIt) {
    ShowTwo();
    Clip("NEWSIG\n");
    const ROWCOL pgood = RowIn(0, "PGOOD");
    ASSERT_GT(pgood, 0u);
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    Run("kx::select ccp " + std::to_string(pgood) + " " + SignalCol());
    // The user's cell in the second grid is a bus row's Signal cell, which a scalar signal does not fit.
    const ROWCOL bus = RowIn(1, "A<12..0>");
    ASSERT_GT(bus, 0u);
    ASSERT_EQ(Run("kx::grid ccp 2"), "1");
    Run("kx::select ccp " + std::to_string(bus) + " " + SignalCol());
    const std::string before = Run("kx::netlist");
    const std::string journal = JournalText();
    const int steps = Steps();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(Cell(0, "PGOOD", G::m_nColSignal), "PG");
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // Every grid taking its part: one step, journalled once it is in.
    Run("kx::select ccp " + std::to_string(RowIn(1, "CLK")) + " " + SignalCol());
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    Run("kx::select ccp " + std::to_string(pgood) + " " + SignalCol());
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Cell(0, "PGOOD", G::m_nColSignal), "NEWSIG");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string after = JournalText();
    EXPECT_NE(after.find("AddConnection(\"NEWSIG\")"), std::string::npos) << after;
}

} // namespace

namespace {

// A copied termination goes onto another pin by Paste; Paste Special has no columns to choose in a
// Termination cell: it is refused with the host's message and changes nothing.
TEST_F(PinPaste, PasteSpecialIntoATerminationCellIsRefusedAndPastePastes) {
    OpenBoard();
    const std::string term = std::to_string(G::m_nColTermination);
    Run("kx::select ccp " + std::to_string(PinRow("MCLK")) + " " + term);
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + term);
    const int steps = Steps();
    for (const char* word : {"paste pin special", "paste pin Termination"}) {
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_NE(Transcript().rfind("message KXPANE-570:"), std::string::npos) << word;
        EXPECT_EQ(CellText(PinRow("PGOOD"), G::m_nColTermination), "") << word;
        EXPECT_EQ(Steps(), steps) << word;
    }
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(CellText(PinRow("PGOOD"), G::m_nColTermination), "Series");
    EXPECT_EQ(Steps(), steps + 1);
}

} // namespace
