// Several nets in one signal grid, a bit named by a three-field key, and a
// window opened read-only.
#include "SignalGridTestSupport.h"

#include "kxcontrols/KXCellControls.h"

#include <fstream>
#include <sstream>

namespace {

class SignalLists : public SignalGridTest {
protected:
    std::string Num(long n) { return std::to_string(n); }
    std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(SignalLists, SeveralNetsFillTheRowsFromTheFirstDataRowAndTheDumpHoldsThemAll) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp DATA N1"), "1");
    ASSERT_NE(Grid(), nullptr);
    const int rows = FilledRows();
    EXPECT_GE(rows, 2);
    EXPECT_FALSE(Cell(kxsignal::kFirstDataRow, G::m_nColInstance).IsEmpty());
    const auto dump = m_dir / "dump.txt";
    EXPECT_EQ(Run("dumpGrid pin " + dump.string()), "1");
    const std::string text = ReadFile(dump);
    // The header names the shown net: the first of them.
    EXPECT_NE(text.find("---SCP Dump for net: DATA---"), std::string::npos) << text;
    EXPECT_NE(text.find("J1"), std::string::npos) << text;
    EXPECT_NE(text.find("J2"), std::string::npos) << text;
    // Showing the list again gives the same rows, not twice as many.
    EXPECT_EQ(Run("kx::show slp DATA N1"), "1");
    EXPECT_EQ(FilledRows(), rows);
}

TEST_F(SignalLists, AThreeFieldKeyConnectsThatBit) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    EXPECT_EQ(Run("addConnection pin J2:23:1"), "1");
    const std::string after = Netlist();
    EXPECT_NE(after.find("J2 P<3> DATA<1>"), std::string::npos) << after;
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist().find("J2 P<3>"), std::string::npos);
    const auto replay = m_dir / "replay.vbs";
    ASSERT_NE(journal.find("set "), std::string::npos) << journal;
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Netlist(), after) << journal;
}

TEST_F(SignalLists, AReadOnlyWindowRefusesEveryEdit) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show slp N1");
    ASSERT_NE(Grid(), nullptr);
    const std::string before = Netlist();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(G::m_nColPinNumber) + " 24"), "0");
    EXPECT_EQ(Run("addConnection pin J1:15"), "0");
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    Run("kx::key ccp Delete");
    EXPECT_FALSE(Grid()->DeleteConnections());
    EXPECT_EQ(Run("assignModel pin M1 [list 25 J2 -1 -1]"), "0");
    EXPECT_EQ(Netlist(), before);
    EXPECT_NE(Run("kx::prop work.board:sch@J2.S PIN_SIGNAL_MODEL").rfind("error", 0), std::string::npos);
    // Looking is allowed: sort and filter still work.
    EXPECT_EQ(Run("sort pin Instance"), "1");
    EXPECT_EQ(Run("filterRows pin -col Instance -filter J2"), "1");
}

// Several bits in one grid: a blank row's Signal Name takes the bit the typed pin goes to; the
// connection is one undo step and its journal replays.
TEST_F(SignalLists, ATypedSignalNameChoosesTheBitOfANewRow) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp {DATA<0>} {DATA<1>}"), "1");
    ASSERT_NE(Grid(), nullptr);
    ASSERT_TRUE(Grid()->m_bNetBitMode);
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    const std::string at = Num(row) + " ";
    EXPECT_EQ(Run("kx::edit ccp " + at + Num(G::m_nColSignalName) + " {DATA<1>}"), "1");
    EXPECT_EQ(Grid()->GetRowNetBit(row), 1);
    EXPECT_EQ(Run("kx::edit ccp " + at + Num(G::m_nColInstance) + " J2"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + at + Num(G::m_nColPinName) + " {P<3>}"), "1");
    const std::string after = Netlist();
    EXPECT_NE(after.find("J2 P<3> DATA<1>"), std::string::npos) << after;
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist().find("J2 P<3>"), std::string::npos);
    const auto replay = m_dir / "replay.vbs";
    ASSERT_NE(journal.find("set "), std::string::npos) << journal;
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Netlist(), after) << journal;
}

// The choice lists of a new row: the shown nets by name, then the bits of the net it names.
TEST_F(SignalLists, ANewRowListsTheShownNetsAndTheBitsOfTheNamedOne) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp DATA N1"), "1");
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    auto choices = [&](int col) {
        Grid()->SetCurrentCell(row, static_cast<ROWCOL>(col));
        CGXStyle style;
        Grid()->GetStyleRowCol(row, static_cast<ROWCOL>(col), style);
        std::vector<std::string> items;
        for (int i = 0; i < Grid()->m_pACListBox->GetCount(); ++i) {
            CString item;
            Grid()->m_pACListBox->GetText(i, item);
            items.push_back(item.str());
        }
        return items;
    };
    EXPECT_EQ(choices(G::m_nColSignalName), (std::vector<std::string>{"", "DATA", "N1"}));
    EXPECT_EQ(choices(G::m_nColStartBit), std::vector<std::string>{""});
    ASSERT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(G::m_nColSignalName) + " DATA"), "1");
    EXPECT_EQ(choices(G::m_nColStartBit), (std::vector<std::string>{"", "0", "1", "2", "3"}));
}

} // namespace
