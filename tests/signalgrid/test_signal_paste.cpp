// Pasting into the signal grid and deleting terminations from it: the design
// after the edit, after its undo, and after a replay of its journal.
#include "SignalGridTestSupport.h"

#include "afx/afxole.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "rmx/schema.h"

#include <filesystem>
#include <fstream>

namespace {

class SignalPaste : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.termination("RT1", "Series", "J1", "P<1>");
    }
    std::string Num(long n) { return std::to_string(n); }
    // Terminations on the bits of a pin.
    int TerminationsOn(const char* instance, const char* pin) {
        IInstance* inst = Design().design()->findInstance(instance);
        IInstTerm* term = inst ? inst->findInstTerm(pin) : nullptr;
        if (!term) return -1;
        int n = 0;
        for (int bit = 4; bit >= 1; --bit)
            for (IDTInstance* dt : CInstTermBit(term, bit).beginAssociatedDTInstance())
                if (dt->assocKind() == IDTInstance::eTermination) ++n;
        return n;
    }
    // Two rows waiting for a pin: J1 and J2 typed into the INSTANCE cells of the first blank rows.
    ROWCOL TwoInstanceRows() {
        const ROWCOL first = Grid()->FindFirstEmptyRow();
        const std::string instance = Num(G::m_nColInstance);
        EXPECT_EQ(Run("kx::edit ccp " + Num(first) + " " + instance + " J1"), "1");
        EXPECT_EQ(Run("kx::edit ccp " + Num(first + 1) + " " + instance + " J2"), "1");
        return first;
    }
    // J2's P<4> connected to FREE with its Termination cell current, then a Series termination of one
    // part added there in the given mode.
    BOOL AddSeriesOnAConnectedBit(int mode) {
        EXPECT_TRUE(Open());
        Run("kx::show slp FREE");
        EXPECT_EQ(Run("addConnection pin J2:24"), "1");
        Run("kx::select ccp " + Num(Row("J2", "P<4>")) + " " + Num(G::m_nColTermination));
        CStringArray libs, cells, views, phys, values;
        libs.Add("work"), cells.Add("res"), views.Add("sym"), phys.Add("R0402"), values.Add("47");
        return Grid()->AddTerminationInstance("Series", &libs, &cells, &views, &phys, &values, nullptr, nullptr, "",
                                              "", "", mode);
    }
    // The pane's library object, which its grids share, holds no transaction: its next add works in none.
    void ExpectTheLibraryHoldsNoTransaction() {
        CKXAssocCompAPI* api = Ccp()->AssocCompApi();
        ASSERT_EQ(Grid()->GetAssocCompApi(), api);
        api->setInstTermBit(CInstTermBit(Design().instance("J2")->findInstTerm("P"), 4));
        EXPECT_FALSE(api->AddTermination(0));
        EXPECT_EQ(std::string(api->GetLastError()), "no transaction");
    }
    std::string ReplayJournal(const std::string& journal) {
        std::filesystem::path replay = m_dir / "replay.vbs";
        std::ofstream(replay) << journal.substr(journal.find("set "));
        return Run("kx::replay " + replay.string());
    }
};

TEST_F(SignalPaste, LinesPastedOnOneRowFillTheRowsBelowInOneUndoStep) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const std::string before = Netlist();
    const ROWCOL first = TwoInstanceRows();
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColPinNumber));
    AfxSetClipboardText("13\r\n24\r\n");
    CString unused;
    EXPECT_TRUE(Grid()->Paste(unused, FALSE));
    const std::string after = Netlist();
    EXPECT_NE(after.find("J1 P<3> FREE"), std::string::npos) << after;
    EXPECT_NE(after.find("J2 P<4> FREE"), std::string::npos) << after;
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(ReplayJournal(journal), "1");
    EXPECT_EQ(Netlist(), after);
}

TEST_F(SignalPaste, ALineTheRowRefusesStopsThePasteAndKeepsTheRowsBefore) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const std::string before = Netlist();
    const ROWCOL first = TwoInstanceRows();
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColPinNumber));
    AfxSetClipboardText("99\n24\n");
    Messages();
    CString unused;
    EXPECT_FALSE(Grid()->Paste(unused, FALSE));
    EXPECT_FALSE(Messages().empty());
    EXPECT_EQ(Netlist(), before);
    // Nothing of it reaches the journal.
    EXPECT_EQ(JournalText().find("AssignConnectivity"), std::string::npos);
}

TEST_F(SignalPaste, ClipboardTextIntoTheFilterRowFilters) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    ASSERT_EQ(Run("addConnection pin J1:15"), "1");
    Run("kx::select ccp 3 " + Num(G::m_nColInstance));
    AfxSetClipboardText("J2\r\n");
    CString unused;
    EXPECT_TRUE(Grid()->Paste(unused, FALSE));
    EXPECT_EQ(std::string(Cell(3, G::m_nColInstance)), "J2");
    EXPECT_TRUE(Grid()->IsRowHidden(Row("J1", "S")));
    EXPECT_FALSE(Grid()->IsRowHidden(Row("J2", "S")));
}

TEST_F(SignalPaste, DeleteInTheTerminationColumnRemovesTheTerminationOnlyAndUndoBringsItBack) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    ASSERT_EQ(TerminationsOn("J1", "P"), 1);
    const std::string netlist = Netlist();
    const ROWCOL row = Row("J1", "P<2..1>");
    ASSERT_NE(row, 0u);
    ASSERT_EQ(Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColTermination)), "1");
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(TerminationsOn("J1", "P"), 0);
    EXPECT_EQ(Netlist(), netlist); // the connection stays
    EXPECT_EQ(Row("J1", "P<2..1>"), row);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(TerminationsOn("J1", "P"), 1);
    // A row whose pin has no termination deletes nothing and leaves no undo step.
    ASSERT_EQ(Run("addConnection pin J2:24:1:1:DATA"), "1");
    const ROWCOL other = Row("J2", "P<4>");
    ASSERT_NE(other, 0u);
    Run("kx::select ccp " + Num(other) + " " + Num(G::m_nColTermination));
    EXPECT_FALSE(Grid()->DeleteTerminations());
    EXPECT_EQ(TerminationsOn("J1", "P"), 1);
}

TEST_F(SignalPaste, TerminationQueriesFollowTheCurrentRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const ROWCOL row = Row("J1", "P<2..1>");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColTermination));
    EXPECT_TRUE(Grid()->IsTerminationCellCurrent());
    EXPECT_TRUE(Grid()->CanAddTermination());
    // The row's first bit is P<2>, which has none; the termination sits on P<1>.
    EXPECT_FALSE(Grid()->HasTermination());
    Run("kx::select ccp 3 " + Num(G::m_nColTermination));
    EXPECT_FALSE(Grid()->IsTerminationCellCurrent());
    EXPECT_FALSE(Grid()->CanAddTermination());
}

TEST_F(SignalPaste, ADoubleClickOnATerminationCellAddsTheDialogsTermination) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ASSERT_EQ(Run("addConnection pin J2:24"), "1");
    const ROWCOL row = Row("J2", "P<4>");
    ASSERT_NE(row, 0u);
    const std::string netlist = Netlist();
    // Elsewhere a double-click adds nothing.
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    EXPECT_EQ(Run("kx::click ccp " + Num(row) + " " + Num(G::m_nColPinType) + " double"), "1");
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
    EXPECT_EQ(Run("kx::click ccp " + Num(row) + " " + Num(G::m_nColTermination) + " double"), "1");
    EXPECT_EQ(TerminationsOn("J2", "P"), 1);
    EXPECT_NE(std::string(Cell(row, G::m_nColTermination)), "");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
    EXPECT_EQ(Netlist(), netlist);
    // A cancelled dialog changes nothing.
    Run("kx::answer dialog CKXTerminationDlg cancel");
    Run("kx::click ccp " + Num(row) + " " + Num(G::m_nColTermination) + " double");
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
}

TEST_F(SignalPaste, TheAddTerminationCommandRefusesASecondRowWithATermination) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    ASSERT_EQ(Run("addConnection pin J2:24:1:1:DATA"), "1");
    const ROWCOL a = Row("J1", "P<2..1>"), b = Row("J2", "P<4>");
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    Run("kx::select ccp " + Num(std::min(a, b)) + " " + Num(G::m_nColTermination) + " " + Num(std::max(a, b)) +
        " " + Num(G::m_nColTermination));
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    Messages();
    Grid()->OnAddTermination();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-114"}));
    EXPECT_EQ(TerminationsOn("J1", "P"), 1);
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
}

TEST_F(SignalPaste, AScriptedTerminationGoesOnTheSelectedPinInOneStep) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ASSERT_EQ(Run("addConnection pin J2:24"), "1");
    const ROWCOL row = Row("J2", "P<4>");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColTermination));
    CStringArray libs, cells, views, phys, values;
    libs.Add("work");
    cells.Add("res");
    views.Add("sym");
    phys.Add("R0402");
    values.Add("47");
    // A part count the type does not have is refused and changes nothing.
    Messages();
    EXPECT_FALSE(Grid()->AddTerminationInstance("Series", &libs, &cells, &views, &phys, &values, nullptr, nullptr,
                                                "", "", "", 2));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-210"}));
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
    EXPECT_TRUE(Grid()->AddTerminationInstance("Series", &libs, &cells, &views, &phys, &values, nullptr, nullptr,
                                               "", "", "", 1));
    EXPECT_EQ(TerminationsOn("J2", "P"), 1);
    EXPECT_TRUE(Grid()->HasTermination());
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
    // Editing a pin without a termination answers FALSE.
    EXPECT_FALSE(Grid()->EditTermination(nullptr, nullptr, nullptr, nullptr, "", "", "", 0, 1));
}

// The pane's library object is shared by its grids: a scripted add or edit that was refused leaves it
// no transaction of its own (the edit's bracket discarded that one), so the library's next call works in
// none rather than in a transaction that is gone.
TEST_F(SignalPaste, ARefusedScriptedTerminationLeavesThePanesLibraryNoTransaction) {
    EXPECT_FALSE(AddSeriesOnAConnectedBit(2));
    ExpectTheLibraryHoldsNoTransaction();
    EXPECT_EQ(TerminationsOn("J2", "P"), 0);
}

TEST_F(SignalPaste, ARefusedScriptedTerminationEditLeavesThePanesLibraryNoTransaction) {
    ASSERT_TRUE(AddSeriesOnAConnectedBit(1));
    ASSERT_EQ(TerminationsOn("J2", "P"), 1);
    // More parts than the termination has: refused before anything is edited.
    Messages();
    EXPECT_FALSE(Grid()->EditTermination(nullptr, nullptr, nullptr, nullptr, "", "", "", 5, 1));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-210"}));
    ExpectTheLibraryHoldsNoTransaction();
    EXPECT_EQ(TerminationsOn("J2", "P"), 1);
}

} // namespace
