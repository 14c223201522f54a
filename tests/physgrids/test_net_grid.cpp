// The physical net grid: the pins on physical nets, their models, and the refresh when
// pin numbers change elsewhere.
#include "PhysGridTestSupport.h"

#include <algorithm>

#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include "kxclipboard/CKXImpClipBoard.h"

namespace {

using N = CKXPhysNetDetailsGridWnd;

class PhysNetGridTest : public PhysGridTest {
protected:
    N* ShowNets(std::initializer_list<const char*> names) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        CStringList list;
        for (const char* n : names)
            list.AddTail(n);
        Ccp()->ShowNetsByName(&list, TRUE);
        return dynamic_cast<N*>(Ccp()->GetActiveGrid());
    }
    std::string NetRow(N* g, ROWCOL r) {
        std::string line;
        for (int c : {N::m_nColLocation, N::m_nColPinNumber, N::m_nColPinName, N::m_nColPinType,
                      N::m_nColSignalModel})
            line += (line.empty() ? "" : "|") + g->GetValueRowCol(r, static_cast<ROWCOL>(c)).str();
        return line;
    }
};

TEST_F(PhysNetGridTest, ANetShowsItsPinsByLocation) {
    N* g = ShowNets({"N1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Ccp()->GetPaneTitle(), "Physical Net Connectivity Details");
    EXPECT_EQ(g->GetValueRowCol(0, 0), "N1");
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow), "RN1|1|A|Inout|");
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow + 1), "U1|6|OUT|Output|");
    EXPECT_EQ(g->LastPinRow(), kxphys::kNetFirstRow + 1);
    EXPECT_EQ(g->GetRowCount(), kxphys::kNetFirstRow + 1 + kxphys::kNetSpareRows);
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetRowPhysPin(kxphys::kNetFirstRow + 1, &bit));
    EXPECT_EQ(bit.spath(), "@U1.OUT");
    EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(N::m_nColPhysNetName)), 0);
    CString key;
    N::GetColumnSettingsKey(N::m_nColPinNumber, key);
    EXPECT_EQ(key, "PHYSCP\\PN");
}

// A power pin on a physical net has no logical pin to take a model: its model cell takes no typing.
TEST_F(PhysNetGridTest, APowerPinRowTakesNoTypedModel) {
    N* g = WithPowerPins([&] { return ShowNets({"VCC"}); });
    ASSERT_NE(g, nullptr);
    const ROWCOL row = kxphys::kNetFirstRow;
    ASSERT_EQ(NetRow(g, row), "U1|9|VCC|Power|");
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(
        Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(N::m_nColSignalModel) + " PWR"),
        "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-426"}); // it says why
    EXPECT_EQ(NetRow(g, row), "U1|9|VCC|Power|");
    EXPECT_EQ(JournalText(), journal);
}

// A pin number names the package pin of one part: on a net of several parts the location goes with it.
TEST_F(PhysNetGridTest, APhysicalPinIsFoundByItsPartAndNumber) {
    N* g = ShowNets({"N1"});
    CInstTermBitContext bit;
    ASSERT_TRUE(g->FindPhysPin("RN1", "1", &bit));
    EXPECT_EQ(bit.spath(), "@RN1A.A");
    EXPECT_FALSE(g->FindPhysPin("RN1", "6", nullptr)); // U1's number on the net
    EXPECT_FALSE(g->GetRowPhysPin(kxphys::kNetFirstRow + 2, nullptr));
    EXPECT_FALSE(g->GetRowPhysPin(g->GetRowCount() + 1, nullptr));
}

// A net given a physical name of its own by the host's property editor keeps its rows: the grid
// follows it to its new name, also when a later change reads the rows again.
TEST_F(PhysNetGridTest, ANetRenamedByItsPhysicalNameKeepsItsRows) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show slp N1 CK"), "1");
    auto* g = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_NE(g, nullptr);
    const ROWCOL rows = g->LastPinRow();
    EXPECT_EQ(Run("kx::setprop work.board:sch@:N1 PHYS_NET_NAME NX").rfind("error", 0), std::string::npos);
    // A pin number changed next reads the rows of the shown nets again.
    EXPECT_EQ(Run("kx::setprop work.board:sch@RN1A.A PN 3").rfind("error", 0), std::string::npos);
    ASSERT_EQ(g->LastPinRow(), rows);
    std::vector<std::string> names;
    for (ROWCOL r = kxphys::kNetFirstRow; r <= rows; ++r)
        names.push_back(g->GetValueRowCol(r, static_cast<ROWCOL>(N::m_nColPhysNetName)).str());
    EXPECT_EQ(std::count(names.begin(), names.end(), "NX"), 2);
    EXPECT_EQ(std::count(names.begin(), names.end(), "N1"), 0);

    // One net: the title follows, and the rows stay when they are read again.
    ASSERT_EQ(Run("kx::show slp CK"), "1");
    g = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_NE(g, nullptr);
    const ROWCOL one = g->LastPinRow();
    EXPECT_EQ(Run("kx::setprop work.board:sch@:CK PHYS_NET_NAME CKX").rfind("error", 0), std::string::npos);
    EXPECT_EQ(g->GetValueRowCol(0, 0), "CKX");
    EXPECT_EQ(Run("kx::setprop work.board:sch@RN1A.A PN 1").rfind("error", 0), std::string::npos);
    EXPECT_EQ(g->LastPinRow(), one);
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow).rfind("U1|", 0), 0u) << NetRow(g, kxphys::kNetFirstRow);
}

TEST_F(PhysNetGridTest, SeveralNetsShowTheirNames) {
    N* g = ShowNets({"N1", "CK"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_bMultipleNets, 1);
    EXPECT_GT(g->GetColWidth(static_cast<ROWCOL>(N::m_nColPhysNetName)), 0);
    EXPECT_EQ(g->LastPinRow(), kxphys::kNetFirstRow + 2);
    CStringArray keys;
    keys.Add("CK:CLK:5");
    g->SelectRowsByKey(&keys, "");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(NetRow(g, row), "U1|5|CLK|Input|");
}

TEST_F(PhysNetGridTest, ModelsAreAssignedRemovedAndUndone) {
    N* g = ShowNets({"N1"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    EXPECT_EQ(Word("assignModel pin M7 [list OUT 6]"), 1);
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "M7");
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow + 1), "U1|6|OUT|Output|M7");
    EXPECT_TRUE(Doc()->IsModified());
    // The row is named by its part and pin number: pin names and numbers repeat over a net's parts.
    EXPECT_NE(JournalText().find("call board_phys.ConnectivityPane().SelectInstanceCol(\"U1\",\"6\")"),
              std::string::npos) << JournalText();
    // The same model again changes nothing: no transaction, and the word says so (0), as it does
    // for a key that names no row.
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Word("assignModel pin M7 [list OUT 6]"), 0);
    EXPECT_EQ(Word("assignModel pin M8 [list NOPIN 99]"), 0);
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "M7");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Word("removeModel pin [list OUT 6]"), 1);
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow + 1), "U1|6|OUT|Output|");
}

// Pasted lines are held to what typing into the model cells takes: the pins of N1 belong to parts that
// offer no model, so the paste is refused (it says why) and no pin takes a model.
TEST_F(PhysNetGridTest, PastedLinesAreHeldToTheModelsTheRowsOffer) {
    N* g = ShowNets({"N1"});
    ASSERT_NE(g, nullptr);
    g->SetCurrentCell(kxphys::kNetFirstRow, static_cast<ROWCOL>(N::m_nColSignalModel));
    g->SelectRange(CGXRange(kxphys::kNetFirstRow, static_cast<ROWCOL>(N::m_nColSignalModel)), TRUE, FALSE);
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    EXPECT_FALSE(g->PasteModels("PA\r\nPB\r\n"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-425"});
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow), "RN1|1|A|Inout|");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // An empty text pastes nothing.
    EXPECT_FALSE(g->PasteModels(""));
}

TEST_F(PhysNetGridTest, APinNumberChangedElsewhereIsShownAndKeyed) {
    N* g = ShowNets({"DATA<0>"});
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(NetRow(g, kxphys::kNetFirstRow), "U1|1|D<0>|Inout|");
    // The part grid swaps pins 1 and 2 of U1: the net grid shows the new number.
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    G* part = ShowParts({"U1"});
    ASSERT_NE(part, nullptr);
    Select(part, {Row(part, "U1", "1")});
    ASSERT_TRUE(part->SwapPins(TRUE, "2"));
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow), "U1|2|D<0>|Inout|");
    CInstTermBitContext bit;
    ASSERT_TRUE(g->GetRowPhysPin(kxphys::kNetFirstRow, &bit));
    EXPECT_EQ(bit.spath(), "@U1.D<0>");
    // A further edit on the row reaches the pin.
    g->SetCurrentCell(kxphys::kNetFirstRow, static_cast<ROWCOL>(N::m_nColPinNumber));
    g->AssignModel(1, "MX");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "MX");
    // The model cell is refreshed on the row found under the pin's new number.
    EXPECT_EQ(NetRow(g, kxphys::kNetFirstRow), "U1|2|D<0>|Inout|MX");
    EXPECT_EQ(g->PinRowOf("U1", "2"), kxphys::kNetFirstRow);
    EXPECT_EQ(g->PinRowOf("U1", "1"), 0u);
}

TEST_F(PhysNetGridTest, FilterSortAndDumpThroughTheWords) {
    N* g = ShowNets({"N1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Word("filterRows pin -col \"Ref Des\" -filter U*"), 1);
    EXPECT_TRUE(g->IsRowHidden(kxphys::kNetFirstRow));
    EXPECT_FALSE(g->IsRowHidden(kxphys::kNetFirstRow + 1));
    EXPECT_NE(JournalText().find("call board_phys.ConnectivityPane().FilterRows(\"Ref Des\",\"U*\")"),
              std::string::npos);
    EXPECT_EQ(Word("filterRows pin -col \"Ref Des\" -filter *"), 1);
    EXPECT_FALSE(g->IsRowHidden(kxphys::kNetFirstRow));
    EXPECT_EQ(Word("dumpGrid pin netdump.txt"), 1);
    std::ifstream in(m_dir / "netdump.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\n---SCP Dump for net: N1---\n"), std::string::npos);
    EXPECT_NE(text.str().find("OUT"), std::string::npos);
}

TEST_F(PhysNetGridTest, PinsOfDifferentDirectionsTakeNoModel) {
    N* g = ShowNets({"N1"});
    ASSERT_NE(g, nullptr);
    g->SelectRowsByKey(nullptr, "");
    Messages();
    g->AssignModel(1, "M1");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127"}));
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
}

// Keys of several nets, by number and by pin name, each find their own row; a key of no row finds none.
TEST_F(PhysNetGridTest, SeveralKeysFindTheirRowsInOneCall) {
    N* g = ShowNets({"N1", "CK"});
    ASSERT_NE(g, nullptr);
    CStringArray keys;
    keys.Add("CK:CLK:5");
    keys.Add("N1:OUT:");
    keys.Add("N1:A:1");
    keys.Add("CK:NOPE:99");
    g->SelectRowsByKey(&keys, "");
    CRowColArray rows;
    g->GetSelectedRows(rows, FALSE, FALSE);
    std::vector<std::string> texts;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        texts.push_back(NetRow(g, rows[i]));
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"RN1|1|A|Inout|", "U1|5|CLK|Input|", "U1|6|OUT|Output|"}));
}

} // namespace
