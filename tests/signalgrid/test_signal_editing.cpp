// Editing a signal grid's cells: connecting a pin by name or number into a blank
// row, disconnecting by clearing, the refusals (which leave the design and the
// row as they were), the question before a pin bit leaves another signal, and
// undo back to the design before the edit.
#include "SignalGridTestSupport.h"

#include "kxcontrols/KXCellControls.h"

#include <algorithm>
#include <functional>
#include <string>

namespace {

using kxsignal::kFirstDataRow;

class SignalEditing : public SignalGridTest {
protected:
    // The choices the cell's auto-complete list offers once the cell is current.
    static std::vector<std::string> Choices(G* grid, ROWCOL row, int col) {
        grid->SetCurrentCell(row, static_cast<ROWCOL>(col));
        CGXStyle style;
        grid->GetStyleRowCol(row, static_cast<ROWCOL>(col), style);
        std::vector<std::string> items;
        for (int i = 0; i < grid->m_pACListBox->GetCount(); ++i) {
            CString item;
            grid->m_pACListBox->GetText(i, item);
            items.push_back(item.str());
        }
        return items;
    }
    bool HasMessage(const char* id) {
        const auto m = Messages();
        return std::find(m.begin(), m.end(), id) != m.end();
    }
    bool NetlistHas(const char* line) { return Netlist().find(line) != std::string::npos; }
};

// Escape drops a cell's edit: what follows does not run inside it.
TEST_F(SignalEditing, EscapeEndsTheCellEdit) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL row = grid->FindFirstEmptyRow();
    grid->SetCurrentCell(row, static_cast<ROWCOL>(G::m_nColInstance));
    ASSERT_EQ(Run("kx::key ccp F2"), "1");
    ASSERT_TRUE(grid->m_bEditing);
    ASSERT_EQ(Run("kx::key ccp Escape"), "1");
    EXPECT_FALSE(grid->m_bEditing);
    EXPECT_TRUE(Type(row, G::m_nColInstance, "J1"));
    EXPECT_FALSE(grid->m_bEditing);
}

// A pin typed into a bus row whose bits are not given yet only fills the row in; emptying that pin cell
// takes the pin out of the row again, with nothing to change in the design and no undo step.
TEST_F(SignalEditing, ClearingThePinOfARowOnlyFilledInEmptiesTheRow) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA");
    const std::string before = Netlist();
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J2"));
    const std::string cell = "kx::edit ccp " + std::to_string(row) + " " + std::to_string(G::m_nColPinName);
    ASSERT_EQ(Run(cell + " P<3>"), "1");
    ASSERT_EQ(Cell(row, G::m_nColPinName), "P<3>");
    ASSERT_EQ(Netlist(), before); // no bits: nothing connected
    Messages();
    EXPECT_EQ(Run(cell + " {}"), "1");
    EXPECT_EQ(Cell(row, G::m_nColPinName), "");
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "");
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

TEST_F(SignalEditing, TypingInstanceThenPinNameConnectsEchoesJournalsAndUndoes) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const std::string before = Netlist();
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J1"));
    EXPECT_EQ(Cell(row, G::m_nColCell), "hdr");
    EXPECT_EQ(Netlist(), before); // an instance alone changes nothing
    Echoes();
    ASSERT_TRUE(Type(row, G::m_nColPinName, "P<3>")) << ::testing::PrintToString(Messages()) << Transcript();
    EXPECT_TRUE(NetlistHas("J1 P<3> FREE"));
    EXPECT_EQ(Cell(row, G::m_nColPinName), "P<3>");
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "13");
    const auto echoes = Echoes();
    ASSERT_GE(echoes.size(), 2u) << ::testing::PrintToString(echoes);
    EXPECT_EQ(echoes.front(), "selectWindow ccp");
    EXPECT_EQ(echoes.back(), "addConnection pin [list J1 13 -1 -1 FREE]");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("\ncall board.Slp().Select(\"FREE\")\n"), std::string::npos) << journal;
    EXPECT_NE(journal.find("' --- Assign Connectivity ---\ncall board.ConnectivityPane().AssignConnectivity("
                           "\"J1\",\"13\",\"-1\",\"-1\")\n"),
              std::string::npos)
        << journal;
    // Undo gives back the design as it was, and the row goes with it; redo brings both back.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(Row("J1", "P<3>"), 0u);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(NetlistHas("J1 P<3> FREE"));
    EXPECT_NE(Row("J1", "P<3>"), 0u);
    // The echo is a word that, typed back, does the same: undone, the echoed lines connect the pin again.
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Netlist(), before);
    for (const std::string& echo : echoes) EXPECT_EQ(Run(echo), "1") << echo;
    EXPECT_TRUE(NetlistHas("J1 P<3> FREE"));
}

TEST_F(SignalEditing, TypingAPinNumberConnectsThatPinBit) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J2"));
    ASSERT_TRUE(Type(row, G::m_nColPinNumber, "24"));
    EXPECT_TRUE(NetlistHas("J2 P<4> FREE"));
    EXPECT_EQ(Cell(row, G::m_nColPinName), "P<4>");
}

TEST_F(SignalEditing, RefusalsShowTheirMessageAndChangeNothing) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const std::string before = Netlist();
    const std::string journal = JournalText();
    const ROWCOL row = grid->FindFirstEmptyRow();
    EXPECT_FALSE(Type(row, G::m_nColInstance, "NOPE"));
    EXPECT_TRUE(HasMessage("KXTABLE-109"));
    EXPECT_EQ(Cell(row, G::m_nColInstance), "");
    // A pin typed before any instance.
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<3>"));
    EXPECT_TRUE(HasMessage("KXTABLE-117"));
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J1"));
    EXPECT_FALSE(Type(row, G::m_nColPinName, "Q"));
    EXPECT_TRUE(HasMessage("KXTABLE-119"));
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<3"));
    EXPECT_TRUE(HasMessage("KXTABLE-110"));
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<9>"));
    EXPECT_TRUE(HasMessage("KXTABLE-120"));
    // Several bits on a scalar net.
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<4..1>"));
    EXPECT_TRUE(HasMessage("KXTABLE-102"));
    EXPECT_FALSE(Type(row, G::m_nColPinNumber, "99"));
    EXPECT_TRUE(HasMessage("KXTABLE-119"));
    EXPECT_EQ(Cell(row, G::m_nColPinName), "");
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(JournalText(), journal);
    // A connected row keeps its component.
    const ROWCOL s = Show("N1") ? Row("J2", "S") : 0;
    ASSERT_NE(s, 0u);
    EXPECT_FALSE(Type(s, G::m_nColInstance, "J1"));
    EXPECT_TRUE(HasMessage("KXTABLE-124"));
    EXPECT_FALSE(Type(s, G::m_nColCell, "buf"));
    EXPECT_TRUE(HasMessage("KXTABLE-123"));
}

TEST_F(SignalEditing, BitCellsTakeNumbersWithinTheNetOnly) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA");
    const std::string before = Netlist();
    const ROWCOL row = grid->FindFirstEmptyRow();
    // A text that is no number is refused, not read as bit 0.
    EXPECT_FALSE(Type(row, G::m_nColStartBit, "x"));
    EXPECT_TRUE(HasMessage("KXTABLE-101"));
    EXPECT_FALSE(Type(row, G::m_nColStartBit, "7"));
    EXPECT_TRUE(HasMessage("KXTABLE-101"));
    // A bit typed into a row that has neither pin nor bit before.
    EXPECT_FALSE(Type(row, G::m_nColStartBit, "2"));
    EXPECT_TRUE(HasMessage("KXTABLE-121"));
    // A connected row: its bits cannot be cleared.
    const ROWCOL p = Row("J1", "P<2..1>");
    EXPECT_FALSE(Type(p, G::m_nColStartBit, ""));
    EXPECT_TRUE(HasMessage("KXTABLE-122"));
    EXPECT_EQ(Netlist(), before);
}

TEST_F(SignalEditing, AWholeBusPinNeedsANetRangeOfItsWidth) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA");
    const std::string before = Netlist();
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J2"));
    // Without bits the row is only filled in: nothing connects, nothing is echoed or journalled.
    const std::string journal = JournalText();
    Echoes();
    EXPECT_TRUE(Type(row, G::m_nColPinName, "P<3>"));
    EXPECT_EQ(Netlist(), before);
    EXPECT_TRUE(Echoes().empty());
    EXPECT_EQ(JournalText(), journal);
    // With bits: two bits of the pin on two bits of the bus.
    const ROWCOL next = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(next, G::m_nColInstance, "J2"));
    grid->SetValueRange(CGXRange(next, static_cast<ROWCOL>(G::m_nColStartBit)), "3");
    grid->SetValueRange(CGXRange(next, static_cast<ROWCOL>(G::m_nColEndBit)), "2");
    EXPECT_FALSE(Type(next, G::m_nColPinName, "P<4..1>"));
    EXPECT_TRUE(HasMessage("KXTABLE-135"));
    EXPECT_FALSE(Type(next, G::m_nColPinName, "P<2..1>"));
    EXPECT_TRUE(HasMessage("KXTABLE-106"));
    EXPECT_EQ(Netlist(), before);
}

// A row of one shown bit takes one pin bit: several are refused at once, before any question about
// the pin's bits on other signals, and nothing changes.
TEST_F(SignalEditing, ARowOfAShownBitRefusesSeveralPinBitsWithoutAQuestion) {
    ASSERT_TRUE(Open());
    Show("DATA", 1);
    const ROWCOL row = Row("J1", "P<2>");
    ASSERT_NE(row, 0u);
    const std::string before = Netlist(), journal = JournalText();
    Messages();
    Run("kx::answer question * yes");
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<4..1>"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-135"});
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Row("J1", "P<2>"), row);
}

TEST_F(SignalEditing, PinOnAnotherSignalIsMovedOnlyAfterYes) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const std::string before = Netlist();
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J1"));
    Run("kx::answer question KXTABLE-140 no");
    EXPECT_FALSE(Type(row, G::m_nColPinName, "P<1>"));
    EXPECT_EQ(Netlist(), before);
    Run("kx::answer question KXTABLE-140 yes");
    EXPECT_TRUE(Type(row, G::m_nColPinName, "P<1>"));
    EXPECT_TRUE(NetlistHas("J1 P<1> FREE"));
    EXPECT_TRUE(NetlistHas("J1 P<2> DATA<1>")); // the other bit stays
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_EQ(Run("undo"), "1") << Transcript();
    EXPECT_EQ(Netlist(), before);
}

// A pin filled into a row, then given the net bit it is on already: nothing changes in the design, and
// the row takes the place of the row that showed the pin's bits, which shows the bit left on the net.
TEST_F(SignalEditing, APinGivenTheBitItIsOnMovesUpAndItsOtherBitsStayShown) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA");
    const std::string before = Netlist(), journal = JournalText();
    const ROWCOL row = grid->FindFirstEmptyRow();
    const auto at = [](ROWCOL r, int col) { return std::to_string(r) + " " + std::to_string(col) + " "; };
    for (const auto& [col, text] : {std::pair{G::m_nColInstance, "J1"}, std::pair{G::m_nColPinName, "P<2>"},
                                    std::pair{G::m_nColStartBit, "1"}, std::pair{G::m_nColEndBit, "1"}})
        ASSERT_EQ(Run("kx::edit ccp " + at(row, col) + text), "1") << text;
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Row("J1", "P<2..1>"), 0u);
    const ROWCOL moved = Row("J1", "P<2>"), kept = Row("J1", "P<1>");
    ASSERT_NE(moved, 0u);
    ASSERT_NE(kept, 0u);
    EXPECT_EQ(Cell(moved, G::m_nColStartBit) + "|" + Cell(moved, G::m_nColEndBit), "1|1");
    EXPECT_EQ(Cell(kept, G::m_nColStartBit) + "|" + Cell(kept, G::m_nColEndBit) + "|" + Cell(kept, G::m_nColPinNumber),
              "0|0|11");
    // The bit row shows what the design holds: its pin leaves the net when cleared.
    ASSERT_EQ(Run("kx::edit ccp " + at(moved, G::m_nColPinName) + "{}"), "1");
    EXPECT_FALSE(NetlistHas("J1 P<2> DATA<1>"));
    EXPECT_TRUE(NetlistHas("J1 P<1> DATA<0>"));
}

TEST_F(SignalEditing, ClearingThePinDisconnectsExactlyThatPin) {
    ASSERT_TRUE(Open());
    G* grid = Show("N1");
    const ROWCOL s = Row("J2", "S");
    ASSERT_TRUE(Type(s, G::m_nColPinName, ""));
    EXPECT_FALSE(NetlistHas("J2 S N1"));
    EXPECT_TRUE(NetlistHas("U1 OUT N1"));
    EXPECT_EQ(Cell(s, G::m_nColPinNumber), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_EQ(Run("undo"), "1") << Transcript();
    EXPECT_TRUE(NetlistHas("J2 S N1"));
    // A row whose pin is no longer on the net removes nothing and says so.
    const ROWCOL out = Row("U1", "OUT");
    Run("kx::answer question * yes");
    ASSERT_TRUE(grid->DisconnectRow(out, "OUT", FALSE));
    EXPECT_FALSE(grid->DisconnectRow(out, "OUT", FALSE));
}

TEST_F(SignalEditing, DeletingRowsDisconnectsThemAndKeepsTheRowCount) {
    ASSERT_TRUE(Open());
    G* grid = Show("N1");
    const std::string before = Netlist();
    const ROWCOL rows = grid->GetRowCount();
    const ROWCOL s = Row("J2", "S"), out = Row("U1", "OUT");
    grid->SetCurrentCell(s, static_cast<ROWCOL>(G::m_nColPinName));
    grid->SelectRange(CGXRange().SetRows(s), TRUE);
    grid->SelectRange(CGXRange().SetRows(out), TRUE);
    CString command;
    grid->GetDeleteScriptCommand(command);
    EXPECT_EQ(std::string(command), "deleteConnection pin");
    EXPECT_TRUE(grid->DeleteConnections());
    EXPECT_FALSE(NetlistHas("J2 S N1"));
    EXPECT_FALSE(NetlistHas("U1 OUT N1"));
    EXPECT_TRUE(NetlistHas("R1 A N1"));
    EXPECT_EQ(Row("J2", "S"), 0u);
    EXPECT_EQ(Row("U1", "OUT"), 0u);
    EXPECT_EQ(grid->GetRowCount(), rows);
    const std::string journal = JournalText();
    // The two rows selected together and one Delete: the replay makes the one step made here.
    const size_t select =
        journal.find("call board.ConnectivityPane().CtrSelect(Array(\"OUT:U1:-1:-1:N1\",\"25:J2:-1:-1:N1\"),\"\")");
    ASSERT_NE(select, std::string::npos) << journal;
    EXPECT_NE(journal.find("' --- Delete ---\ncall board.ConnectivityPane().Delete()", select), std::string::npos)
        << journal;
    EXPECT_EQ(journal.find("SelectInstanceCol"), std::string::npos) << journal;
    // One step: undo brings both connections back.
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    EXPECT_NE(Row("J2", "S"), 0u);
}

TEST_F(SignalEditing, JournalledDeleteSelectsTheRowByInstanceAndPinNumber) {
    ASSERT_TRUE(Open());
    Show("N1");
    Ccp()->SelectInstanceCol("J2", "25");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(Grid()->GetCurrentCell(row, col));
    EXPECT_EQ(row, Row("J2", "S"));
    EXPECT_EQ(col, static_cast<ROWCOL>(G::m_nColInstance));
    Ccp()->AutoDelete();
    EXPECT_FALSE(NetlistHas("J2 S N1"));
    EXPECT_TRUE(NetlistHas("U1 OUT N1"));
}

TEST_F(SignalEditing, CurrentPinAndComponentCellsListTheirChoicesFromTheDesign) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J1"));
    auto choices = [&](int col) { return Choices(grid, row, col); };
    const auto pins = choices(G::m_nColPinName);
    EXPECT_NE(std::find(pins.begin(), pins.end(), "P<3>"), pins.end());
    EXPECT_NE(std::find(pins.begin(), pins.end(), "S"), pins.end());
    const auto numbers = choices(G::m_nColPinNumber);
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), "13"), numbers.end());
    const auto instances = choices(G::m_nColInstance);
    EXPECT_NE(std::find(instances.begin(), instances.end(), "J2"), instances.end());
    EXPECT_EQ(std::find(instances.begin(), instances.end(), "U1"), instances.end()); // another cell
}

// The Instance and Location cells keep their list of choices while the design's instances stay as they
// are; after each kind of instance change, its undo and its redo the list is what a fresh fill gives.
TEST_F(SignalEditing, ComponentChoicesKeptBetweenEditsAreThoseAFreshFillGives) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColInstance, "J1"));
    auto listed = [&](int col) { return Choices(grid, row, col); };
    const std::vector<int> columns{G::m_nColInstance, G::m_nColLocation, G::m_nColCell};
    // The column's list is up before the change; after it, the list shown is the one a fresh fill gives.
    auto expectFresh = [&](int col, const std::function<void()>& change, const std::string& what) {
        listed(col);
        change();
        const std::vector<std::string> kept = listed(col);
        grid->m_pACListBox->ResetContent(); // forgets what it holds: filled afresh
        EXPECT_EQ(kept, listed(col)) << what << ", column " << col;
    };
    IServer* server = CKXShareGlobalData::m_pServer;
    auto commit = [&](const std::function<bool(CTransaction&)>& edit, const std::string& what) {
        std::string text;
        expectFresh(G::m_nColInstance, [&] {
            CTransaction t(Design(), what.c_str());
            ASSERT_TRUE(edit(t) && t.commit()) << what;
            text = t.toString().str();
        }, what);
        for (int col : columns)
            for (bool forward : {false, true}) // taken back, then made again
                expectFresh(col, [&] { ASSERT_TRUE(CTransaction(server, text.c_str(), true, forward).commit()); },
                            what + (forward ? " redone" : " undone"));
    };
    for (int col : columns) expectFresh(col, [] {}, "no change");
    IDesign* design = Design().design();
    commit([&](CTransaction& t) { return t.createInstance("J3", "work", "hdr", "sym") != nullptr; }, "a new J3");
    commit([&](CTransaction& t) { return t.renameInstance(design->findInstance("J2"), "J9"); }, "J2 renamed");
    commit([&](CTransaction& t) { return t.addProperty(design->findInstance("J1"), -1, "LOCATION", "P7", 0); },
           "J1 located");
    commit([&](CTransaction& t) { return t.removeInstance(design->findInstance("J3")); }, "J3 removed");
    commit([&](CTransaction& t) { return t.addConn(design->findNet("FREE"), -1, -1,
                                                   design->findInstance("J1")->findInstTerm("S"), -1, -1); },
           "a connection");
}

// Moving through Instance, Location and Cell cells makes no list of the design's instances: a cell's
// choices are made when its list is read, and are then those of the design as it is at that moment.
TEST_F(SignalEditing, ComponentChoicesAreMadeWhenTheListIsRead) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL row = grid->FindFirstEmptyRow();
    ASSERT_TRUE(Type(row, G::m_nColCell, "hdr"));
    for (int col : {G::m_nColInstance, G::m_nColLocation, G::m_nColCell}) {
        grid->SetCurrentCell(row, static_cast<ROWCOL>(col));
        EXPECT_TRUE(grid->m_pACListBox->HasPendingFill()) << "column " << col;
    }
    grid->SetCurrentCell(row, static_cast<ROWCOL>(G::m_nColInstance));
    {
        CTransaction t(Design(), "a new J3");
        ASSERT_TRUE(t.createInstance("J3", "work", "hdr", "sym") && t.commit());
    }
    std::vector<std::string> listed;
    for (int i = 0; i < grid->m_pACListBox->GetCount(); ++i) {
        CString item;
        grid->m_pACListBox->GetText(i, item);
        listed.push_back(item.str());
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"", "J1", "J2", "J3"}));
    EXPECT_EQ(grid->m_pACListBox->ContentKey(), ""); // made after the instances changed: under no key
    EXPECT_EQ(Choices(grid, row, G::m_nColInstance), listed);
}

} // namespace

namespace {

// A third connector J3 numbered as J1, its pins free.
class SignalTwoRowEditing : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.schematic("board").instance("J3", "hdr", "J3");
        for (int bit = 1; bit <= 4; ++bit)
            b.pinNumber("J3", "P<" + std::to_string(bit) + ">", std::to_string(10 + bit));
    }
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
};

// A pin number typed over two rows, one of which the user refuses to take from its signal: the
// other row connects, and the refused row shows what the design keeps (no number).
TEST_F(SignalTwoRowEditing, ARowTheUserRefusesKeepsItsOldPinNumber) {
    ASSERT_TRUE(Open());
    G* grid = Show("FREE");
    const ROWCOL first = grid->FindFirstEmptyRow();
    // The refused row is the current one, then the other one.
    for (ROWCOL current : {first, first + 1}) {
        Run("kx::edit ccp " + At(first, G::m_nColInstance) + " J1");
        Run("kx::edit ccp " + At(first + 1, G::m_nColInstance) + " J3");
        ASSERT_EQ(Run("kx::select ccp " + At(current, G::m_nColPinNumber) + " " +
                      At(current == first ? first + 1 : first, G::m_nColPinNumber)),
                  "1");
        Run("kx::answer question KXTABLE-140 no"); // J1's 11 is on DATA<0>
        Run("kx::edit ccp " + At(current, G::m_nColPinNumber) + " 11");
        EXPECT_NE(Netlist().find("J3 P<1> FREE"), std::string::npos) << Netlist();
        EXPECT_NE(Netlist().find("J1 P<1> DATA<0>"), std::string::npos) << Netlist();
        EXPECT_EQ(std::string(Cell(Row("J3", "P<1>"), G::m_nColPinNumber)), "11") << "current row " << current;
        EXPECT_EQ(std::string(Cell(first, G::m_nColPinNumber)), "") << "current row " << current;
        ASSERT_EQ(Run("undo"), "1");
    }
}

} // namespace

namespace {

// A row that names other bits than its pin has (a row out of date with the design): J3's whole pin P on
// BUS<3..0> and its S on BUS<0>, the row of P made to name bit 0 alone.
class SignalOutOfDateRow : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.schematic("board").instance("J3", "hdr", "J3").connect("J3", "P<4..1>", "BUS<3..0>").connect("J3", "S",
                                                                                                         "BUS<0>");
        b.pinNumber("J3", "S", "35");
    }
    // The row of J3's P in BUS's grid, its bit cells set to bit 0.
    ROWCOL OutOfDateRow() {
        G* grid = Show("BUS");
        const ROWCOL row = Row("J3", "P<4..1>");
        if (row == 0) return 0;
        for (int col : {G::m_nColStartBit, G::m_nColEndBit})
            grid->SetValueRange(CGXRange(row, static_cast<ROWCOL>(col)), "0");
        return row;
    }
    // The typed pin is refused with its message; the design, the journal and the row stay as they were.
    void ExpectRefusedAndNothingChanged(ROWCOL row, int col, const char* text) {
        const std::string before = Netlist(), journal = JournalText();
        const int steps = Ccp()->GetUndoStepCount();
        Messages();
        Run("kx::answer question * yes");
        EXPECT_FALSE(Type(row, col, text)) << text;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-391"}) << text;
        EXPECT_EQ(Netlist(), before) << text;
        EXPECT_EQ(JournalText(), journal) << text;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << text;
        EXPECT_EQ(Row("J3", "P<4..1>"), row) << text;
    }
};

// A pin of one bit typed into the row: by name the replace road, and the pin on that bit already (the
// road that moves the pin's row up to the typed one).
TEST_F(SignalOutOfDateRow, APinOfAnotherWidthTypedIntoTheRowIsRefused) {
    ASSERT_TRUE(Open());
    const ROWCOL row = OutOfDateRow();
    ASSERT_NE(row, 0u);
    ExpectRefusedAndNothingChanged(row, G::m_nColPinName, "P<2>");
    ExpectRefusedAndNothingChanged(row, G::m_nColPinName, "S");
    ExpectRefusedAndNothingChanged(row, G::m_nColPinNumber, "35");
    EXPECT_NE(Netlist().find("J3 P<4> BUS<3>"), std::string::npos);
}

TEST_F(SignalOutOfDateRow, ClearingOrDisconnectingTheRowRemovesNothingAndSaysSo) {
    ASSERT_TRUE(Open());
    const ROWCOL row = OutOfDateRow();
    ASSERT_NE(row, 0u);
    const std::string before = Netlist();
    EXPECT_FALSE(Grid()->DisconnectRow(row, "P<4..1>", FALSE));
    EXPECT_TRUE(Messages().empty()); // quiet when asked to be
    ExpectRefusedAndNothingChanged(row, G::m_nColPinName, "");
    EXPECT_EQ(Netlist(), before);
    // The same row with its own bits again disconnects the pin.
    Grid()->SetValueRange(CGXRange(row, static_cast<ROWCOL>(G::m_nColStartBit)), "3");
    EXPECT_TRUE(Grid()->DisconnectRow(row, "P<4..1>", FALSE));
    EXPECT_EQ(Netlist().find("J3 P<4> BUS<3>"), std::string::npos);
}

} // namespace
