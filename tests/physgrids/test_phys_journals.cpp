// Edits of the physical view through the host, as a user makes them: a model typed into the model
// cell of either physical grid, a swap and a pin-number assignment on rows of several parts at
// once, and the journal of all of them replayed in a fresh host to the same design.
#include "PhysGridTestSupport.h"

#include "KXDesignSnapshot.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using N = CKXPhysNetDetailsGridWnd;

// The board of the physical grid tests, and a second FPGA U2 and a second resistor pack RN2 whose
// pins carry the same numbers as U1's and RN1's; the FPGA package offers two signal models.
class PhysJournal : public PhysGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        PhysGridTest::BuildDesign(b);
        b.partDefinition("fpga").signalModel("M_FAST").signalModel("M_SLOW");
        b.schematic("board").instance("U2", "fpga", "U2").instance("RN2A", "chips", "RN2");
        b.connect("U2", "D<3..0>", "DATB<3..0>").connect("RN2A", "A", "N1");
        for (int i = 0; i < 4; ++i)
            b.pinNumber("U2", "D<" + std::to_string(i) + ">", std::to_string(i + 1));
        b.pinNumber("U2", "CLK", "5").pinNumber("U2", "OUT", "6");
        b.prop("@RN2A", "CHIPS_PART_NAME", "RPACK4").prop("@RN2A", "SEC", "1");
        b.pinNumber("RN2A", "A", "1").pinNumber("RN2A", "B", "8");
    }

    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    std::string Snapshot() {
        return KXDesignSnapshot(*CKXShareGlobalData::m_pServer, Design().design(), "phys");
    }
    // Selects the rows of these package pins ("PART:PIN:NUMBER") through the host's selection word.
    void SelectRows(G* g, const std::string& keys) {
        ASSERT_EQ(Run("kx::word selectObject pin " + keys), "1");
        CRowColArray rows;
        g->GetSelectedRows(rows, FALSE, FALSE);
        ASSERT_EQ(rows.GetSize(), 2);
    }
    std::string ReplayedSnapshot() { return KXShellFixture::ReplayedSnapshot("phys"); }
};

TEST_F(PhysJournal, AModelTypedIntoThePartGridsCellIsOneUndoableEdit) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g);
    const ROWCOL pin2 = Row(g, "U1", "2");
    // The package offers two models: the first stands in the cell until one is assigned.
    EXPECT_EQ(Cell(g, pin2, G::s_nSignalModelCol), "M_FAST");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " M_SLOW"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PIN_SIGNAL_MODEL"), "M_SLOW");
    EXPECT_EQ(Cell(g, pin2, G::s_nSignalModelCol), "M_SLOW");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(JournalText().find("SelectSignalCol(\"D<1>\",\"2\")"), std::string::npos) << JournalText();
    EXPECT_NE(JournalText().find(".ConnectivityPane().AssignModel(\"M_SLOW\")"), std::string::npos);
    // The same text again, in any letter case, changes nothing: refused, no step.
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " M_SLOW"), "0");
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " m_slow"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Cell(g, pin2, G::s_nSignalModelCol), "M_FAST");
    // Emptying the cell of a pin that has no model of its own removes nothing: refused, no step,
    // and the cell shows what the design holds.
    const int before = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " {}"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before);
    EXPECT_EQ(Cell(g, pin2, G::s_nSignalModelCol), "M_FAST");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PIN_SIGNAL_MODEL"), "");
}

TEST_F(PhysJournal, AModelTypedIntoTheNetGridsCellIsOneUndoableEdit) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    auto* g = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g);
    ROWCOL out = 0;
    for (ROWCOL r = kxphys::kNetFirstRow; r <= g->LastPinRow(); ++r)
        if (g->GetValueRowCol(r, static_cast<ROWCOL>(N::m_nColLocation)) == "U1") out = r;
    ASSERT_NE(out, 0u);
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::edit ccp " + At(out, N::m_nColSignalModel) + " M_SLOW"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "M_SLOW");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(JournalText().find(".Slp().Select(\"N1\")"), std::string::npos) << JournalText();
    // The same model in other letters, typed or by the word, changes nothing: no step, no journal.
    const std::string journal = JournalText();
    EXPECT_EQ(Run("kx::edit ccp " + At(out, N::m_nColSignalModel) + " m_slow"), "0");
    EXPECT_EQ(Run("kx::edit ccp " + At(out, N::m_nColSignalModel) + " M_SLOW"), "0");
    EXPECT_NE(Transcript().find("KXTABLE-267"), std::string::npos) << Transcript();
    EXPECT_EQ(Run("assignModel pin m_slow [list OUT 6]"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(g->GetValueRowCol(out, static_cast<ROWCOL>(N::m_nColSignalModel)), "M_SLOW");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "M_SLOW");
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(g->GetValueRowCol(out, static_cast<ROWCOL>(N::m_nColSignalModel)), "M_FAST");
}

// Emptying the model cell of a pin that has a model of its own removes the model; the cell then
// shows the model the part stands in with, as it does for every pin without one, in both grids.
TEST_F(PhysJournal, AnEmptiedModelCellShowsThePartsModelAgain) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g);
    const ROWCOL pin2 = Row(g, "U1", "2");
    ASSERT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " M_SLOW"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " {}"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Cell(g, pin2, G::s_nSignalModelCol), "M_FAST");
    // What the cell shows is what the design gives: the same model again is no edit.
    EXPECT_EQ(Run("kx::edit ccp " + At(pin2, G::s_nSignalModelCol) + " M_FAST"), "0");

    ASSERT_EQ(Run("kx::show slp N1"), "1");
    auto* n = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(n);
    ROWCOL out = 0;
    for (ROWCOL r = kxphys::kNetFirstRow; r <= n->LastPinRow(); ++r)
        if (n->GetValueRowCol(r, static_cast<ROWCOL>(N::m_nColLocation)) == "U1") out = r;
    ASSERT_NE(out, 0u);
    ASSERT_EQ(Run("kx::edit ccp " + At(out, N::m_nColSignalModel) + " M_SLOW"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(out, N::m_nColSignalModel) + " {}"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(n->GetValueRowCol(out, static_cast<ROWCOL>(N::m_nColSignalModel)), "M_FAST");
}

TEST_F(PhysJournal, ASwapOnRowsOfSeveralPartsSwapsEachPartAndReplays) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    G* g = ShowParts({"U1", "U2"});
    ASSERT_TRUE(g);
    SelectRows(g, "U1:D<0>:1 U2:D<0>:1");
    ASSERT_TRUE(g->CanSwapPins());
    ASSERT_EQ(Run("kx::pane ccp SwapPins 2"), "1");
    for (const char* part : {"U1", "U2"}) {
        EXPECT_EQ(Prop(std::string("work.board:sch@") + part + ".D<0>", "PN"), "2") << part;
        EXPECT_EQ(Prop(std::string("work.board:sch@") + part + ".D<1>", "PN"), "1") << part;
    }
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    const std::string swapped = Snapshot();
    EXPECT_EQ(ReplayedSnapshot(), swapped);
}

TEST_F(PhysJournal, APinNumberOnRowsOfSeveralPartsReplays) {
    G* g = ShowParts({"RN1A", "RN2A"});
    ASSERT_TRUE(g);
    SelectRows(g, "RN1:A:1 RN2:A:1");
    const std::string before = Snapshot();
    ASSERT_EQ(Run("assignPinNumber pin 3"), "1");
    const std::string assigned = Snapshot();
    ASSERT_NE(assigned, before);
    // Each pack's section 1 pins moved to section 3's numbers.
    for (const char* part : {"RN1A", "RN2A"}) {
        EXPECT_EQ(Prop(std::string("work.board:sch@") + part + ".A", "PN"), "3") << part;
        EXPECT_EQ(Prop(std::string("work.board:sch@") + part + ".B", "PN"), "6") << part;
    }
    // One journalled assignment per part, each selecting its own part's pin.
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".Clp().Select(\"RN1\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".Clp().Select(\"RN2\")"), std::string::npos) << journal;
    EXPECT_EQ(ReplayedSnapshot(), assigned);
}

// With several nets in the net grid, keys of two fields and an empty key list select as with one
// net, and a model Delete over rows of two nets is journalled net by net, so a replay removes both.
TEST_F(PhysJournal, ModelsDeletedOverTwoNetsReplay) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    CStringList nets;
    nets.AddTail("N1");
    nets.AddTail("CK");
    Ccp()->ShowNetsByName(&nets, TRUE);
    auto* g = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g && g->m_bMultipleNets);
    ASSERT_EQ(Run("assignModel pin M1 [list N1 OUT 6]"), "1");
    ASSERT_EQ(Run("assignModel pin M2 [list CLK 5]"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.CLK", "PIN_SIGNAL_MODEL"), "M2");
    ASSERT_EQ(Run("kx::word selectObject pin"), "1");
    CRowColArray rows;
    g->GetSelectedRows(rows, FALSE, FALSE);
    EXPECT_EQ(rows.GetSize(), static_cast<INT_PTR>(g->LastPinRow() - kxphys::kNetFirstRow + 1));
    ASSERT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Prop("work.board:sch@U1.CLK", "PIN_SIGNAL_MODEL"), "");
    const std::string deleted = Snapshot();
    EXPECT_EQ(ReplayedSnapshot(), deleted);
}

// The net grid of several nets: a filter typed into it is journalled after the line that shows that
// group again, so that a replay filters the same nets; its dump names every net it shows.
TEST_F(PhysJournal, AFilterOfTheGridOfSeveralNetsReplaysOnThem) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show slp N1 CK"), "1");
    auto* g = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g && g->m_bMultipleNets);
    ASSERT_EQ(Run("kx::edit ccp " + At(kxphys::kNetFilterRow, N::m_nColLocation) + " U*"), "1");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".Slp().SelectGroup(\"CK N1\")"), std::string::npos) << journal;
    const std::string dump = (m_dir / "dump.txt").string();
    ASSERT_EQ(Run("dumpGrid pin " + dump), "1");
    std::ifstream in(dump);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("---SCP Dump for net: CK N1---"), std::string::npos) << text.str();
    auto shownRows = [](N* grid) {
        std::vector<std::string> rows;
        for (ROWCOL r = kxphys::kNetFirstRow; r <= grid->LastPinRow(); ++r)
            if (!grid->IsRowHidden(r)) {
                // Each text read before the next (a read's text lives in the buffer the next one reuses).
                const std::string part = grid->GetValueRowCol(r, static_cast<ROWCOL>(N::m_nColLocation)).str();
                rows.push_back(part + ":" + grid->GetValueRowCol(r, static_cast<ROWCOL>(N::m_nColPinNumber)).str());
            }
        return rows;
    };
    const std::vector<std::string> filtered = shownRows(g);
    EXPECT_EQ(filtered, (std::vector<std::string>{"U1:5", "U1:6"}));
    // Replayed in this host: the grid of the group, filtered as it was.
    const auto replay = m_dir / "replay.vbs";
    std::ofstream(replay) << journal.substr(journal.find("set "));
    ASSERT_EQ(Run("kx::replay " + replay.string()), "1");
    auto* replayed = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(replayed);
    EXPECT_TRUE(replayed->m_bMultipleNets) << journal;
    EXPECT_EQ(shownRows(replayed), filtered);
}

// Every kind of edit of the physical view in one session, replayed in a fresh host.
TEST_F(PhysJournal, AJournalOfEveryPhysicalEditReplaysToTheSameDesign) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g);
    EXPECT_EQ(Run("kx::edit ccp " + At(Row(g, "U1", "3"), G::s_nSignalModelCol) + " M_SLOW"), "1");
    ASSERT_EQ(Run("assignModel pin M_FAST U1:D<0>:1 U1:D<1>:2"), "1");
    ASSERT_EQ(Run("removeModel pin U1:D<1>:2"), "1");
    ASSERT_EQ(Run("kx::edit ccp " + At(kxphys::kPartFilterRow, G::s_nPinNameCol) + " D*"), "1");
    ASSERT_EQ(Run("kx::edit ccp " + At(kxphys::kPartFilterRow, G::s_nPinNameCol) + " *"), "1");
    ASSERT_EQ(Run("kx::click ccp " + At(Row(g, "U1", "4"), G::s_nPNCol)), "1");
    ASSERT_EQ(Run("kx::pane ccp SwapPins 3"), "1");
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    auto* net = dynamic_cast<N*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(net);
    ASSERT_EQ(Run("kx::select ccp " + At(kxphys::kNetFirstRow, N::m_nColPinName)), "1");
    ASSERT_EQ(Run("assignModel pin NMODEL"), "1");
    ASSERT_EQ(Run("kx::show clp RN1A RN2A"), "1");
    auto* packs = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(packs);
    SelectRows(packs, "RN1:A:1 RN2:A:1");
    ASSERT_EQ(Run("assignPinNumber pin 3"), "1");
    const std::string edited = Snapshot();
    EXPECT_EQ(ReplayedSnapshot(), edited);
}

} // namespace
