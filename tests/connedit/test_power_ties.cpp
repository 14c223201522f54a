// Implicit power pins under the user's hands: with the host's power-pin option on, a signal typed into
// a power group's Signal cell ties the group's pins to that net, Delete gives them back to their
// part's net, and each is one undo step that the journal replays.
#include "ConnEditFixture.h"

#include "shell/KXTableDoc.h"
#include "grid/KXGridEdit.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"

namespace {

class PowerTies : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        Run("kx::powerpins on");
        OpenBoard();
        ASSERT_TRUE(Grid());
    }
    void TearDown() override {
        Run("kx::powerpins off");
        ConnEditFixture::TearDown();
    }
    // U2 joins U1 in the grid: one grid over both components, each with its own power groups.
    void ShowU1AndU2() {
        CKXInstanceDetailsGridWnd* grid = Grid();
        IDesign* design = grid->m_designContext.design();
        ASSERT_TRUE(design);
        const std::vector<UINT> ids{design->findInstance("U1")->id(), design->findInstance("U2")->id()};
        ASSERT_TRUE(grid->ReloadInstanceRows(grid->m_designContext, ids, TRUE));
        ASSERT_EQ(grid->m_arrInstanceIds.size(), 2u);
        ASSERT_TRUE(PinRow("GND") && PinRow("VDD")) << Run("kx::window ccp");
    }
    // Why the open grid transaction's last change failed ("" when none did).
    static std::string LastError() {
        CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
        return t ? t->lastError().str() : "<no transaction>";
    }
    std::string Delete(const std::string& pin) {
        const int row = PinRow(pin);
        if (!row) return "<no row for " + pin + ">";
        Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal));
        return Run("deleteConnection pin");
    }
};

// A group row shows the one net its pins share: the part's own (GND, VCC1V0) before any edit.
TEST_F(PowerTies, AGroupRowShowsTheNetItsPinsShare) {
    EXPECT_TRUE(RowShows("GND", "GND")) << Row("GND");
    EXPECT_TRUE(RowShows("VCCINT", "VCC1V0")) << Row("VCCINT");
    EXPECT_TRUE(RowShows("VCCIO", "VCC3V3")) << Row("VCCIO");
}

// A new net typed into a group ties both of its pins, as one undo step; undo gives the part's net back.
TEST_F(PowerTies, ATypedNetTiesTheGroupsPinsInOneStep) {
    const std::string original = Saved();
    const int steps = Steps();
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    EXPECT_TRUE(RowShows("GND", "AGND")) << Row("GND");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string tied = Saved();
    EXPECT_NE(tied.find("power U1 GND AGND"), std::string::npos) << tied;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), original);
    EXPECT_TRUE(RowShows("GND", "GND")) << Row("GND");
}

// A net the design has already is tied as well: the edit is the tie alone.
TEST_F(PowerTies, AnExistingNetIsTiedToo) {
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("VCCINT", "VCC3V3"), "1");
    EXPECT_TRUE(RowShows("VCCINT", "VCC3V3")) << Row("VCCINT");
    const std::string tied = Saved();
    EXPECT_NE(tied.find("power U1 VCCINT VCC3V3"), std::string::npos) << tied;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), original);
}

// Delete releases the instance's own tie; with none left there is nothing to delete: no step, no line.
TEST_F(PowerTies, DeleteGivesThePinsBackToTheirPartsNet) {
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    const int steps = Steps();
    EXPECT_EQ(Delete("GND"), "1");
    EXPECT_TRUE(RowShows("GND", "GND")) << Row("GND");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string journal = JournalText();
    EXPECT_EQ(Delete("GND"), "0");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Saved().find("power U1 GND"), std::string::npos);
}

// The journal of ties and a release replays, with the option on, to the same design.
TEST_F(PowerTies, TiesReplayFromTheJournal) {
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    ASSERT_EQ(TypeSignal("VCCIO", "VCC1V0"), "1");
    ASSERT_EQ(TypeSignal("VCCINT", "P0V9"), "1");
    ASSERT_EQ(Delete("VCCIO"), "1");
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    EXPECT_EQ(Replayed(original), edited);
}

// A pin the design refuses (a name that is no net's) after the instance's other pins were tied: the
// ties made before it are taken back and the refusal is told apart from "nothing changed", so the
// edit is not committed and leaves the design, undo steps and journal as they were.
TEST_F(PowerTies, ARefusedPinTakesBackTheTiesBeforeIt) {
    const std::string original = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    const int vccint = PinRow("VCCINT"), vccio = PinRow("VCCIO");
    ASSERT_TRUE(vccint && vccio);
    {
        CKXGridEdit edit(*Grid(), "Tie");
        ASSERT_TRUE(edit);
        Grid()->StoreImplicitPinSignal(static_cast<ROWCOL>(std::min(vccint, vccio)), "VCC3V3");
        Grid()->StoreImplicitPinSignal(static_cast<ROWCOL>(std::max(vccint, vccio)), "A B");
        EXPECT_EQ(Grid()->AssignPowerToImplicitPins(), kPowerTieRefused);
        EXPECT_FALSE(CKXTransaction::GetCurrentTransactionObj()->hasPendingChanges());
    }
    const std::vector<std::string> shown = Messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "KXPANE-454"), shown.end());
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
}

// In a grid over two components a tie and its release are U1's edits alone: U2, which has nothing to
// change, neither turns them into failures nor is changed itself.
TEST_F(PowerTies, InAGridOfTwoComponentsEachTieIsOneComponentsEdit) {
    ShowU1AndU2();
    const int steps = Steps();
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    EXPECT_TRUE(RowShows("GND", "AGND")) << Row("GND");
    EXPECT_EQ(Steps(), steps + 1);
    std::string saved = Saved();
    EXPECT_NE(saved.find("power U1 GND AGND"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("power U2"), std::string::npos) << saved;
    EXPECT_EQ(Delete("GND"), "1");
    EXPECT_TRUE(RowShows("GND", "GND")) << Row("GND");
    EXPECT_EQ(Steps(), steps + 2);
    saved = Saved();
    EXPECT_EQ(saved.find("power U1"), std::string::npos) << saved; // the new net AGND stays
    EXPECT_EQ(saved.find("power U2"), std::string::npos) << saved;
    EXPECT_TRUE(Messages().empty());
    // Nothing left to release in either component: no change, no step.
    EXPECT_EQ(Delete("GND"), "0");
    EXPECT_EQ(Steps(), steps + 2);
}

// Releasing a group whose pins share one tie asks the design once; a pin with no tie of the
// component's own is not offered for release, so the edit carries no refusal and commits.
TEST_F(PowerTies, AReleaseAsksOnlyForTheComponentsOwnTie) {
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    const int gnd = PinRow("GND");
    ASSERT_TRUE(gnd);
    {
        CKXGridEdit edit(*Grid(), "Release");
        ASSERT_TRUE(edit);
        Grid()->StoreImplicitPinSignal(static_cast<ROWCOL>(gnd), "");
        EXPECT_EQ(Grid()->AssignPowerToImplicitPins(), TRUE);
        EXPECT_EQ(LastError(), "");
        EXPECT_TRUE(edit.Commit());
    }
    EXPECT_EQ(Saved().find("power U1 GND"), std::string::npos);
    // Nothing of U1's own is left on GND: a release of it is no change and no refusal either.
    {
        CKXGridEdit edit(*Grid(), "Release");
        ASSERT_TRUE(edit);
        Grid()->StoreImplicitPinSignal(static_cast<ROWCOL>(gnd), "");
        EXPECT_EQ(Grid()->AssignPowerToImplicitPins(), FALSE);
        EXPECT_EQ(LastError(), "");
    }
    // The next edit of the grid is told nothing stale and commits.
    Messages();
    EXPECT_EQ(Delete("GND"), "0");
    EXPECT_FALSE(Messages().empty()); // the refusal says why
    EXPECT_EQ(TypeSignal("VCCIO", "VCC1V0"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_NE(Saved().find("power U1 VCCIO VCC1V0"), std::string::npos);
}

// Signals stored for rows that are no longer implicit pin rows (the option was turned off since)
// assign nothing: that is no change, so the edit leaves no step.
TEST_F(PowerTies, StoredSignalsWithoutPowerRowsChangeNothing) {
    const int gnd = PinRow("GND");
    ASSERT_TRUE(gnd);
    Grid()->StoreImplicitPinSignal(static_cast<ROWCOL>(gnd), "VCC3V3");
    Run("kx::powerpins off");
    ASSERT_FALSE(PinRow("GND")) << Run("kx::window ccp");
    const int steps = Steps();
    {
        CKXGridEdit edit(*Grid(), "Tie");
        ASSERT_TRUE(edit);
        EXPECT_EQ(Grid()->AssignPowerToImplicitPins(), FALSE);
        EXPECT_FALSE(CKXTransaction::GetCurrentTransactionObj()->hasPendingChanges());
    }
    EXPECT_EQ(Steps(), steps);
}

// With the project allowing it, the pin rows of a power group take typing too. The design ties the
// pins of one name together, so a net typed into one pin of a two-pin group, or a release of one of
// them, is refused whole with a message and makes nothing, not even the typed net; a one-pin group's
// pin row ties its pin, and the group row ties all of its pins.
class PowerPinRows : public PowerTies {
protected:
    void SetUp() override {
        PowerTies::SetUp();
        m_saved = CKXShareGlobalData::m_pVpxProject;
        m_project.AddValue("VellumDraw", "ALLOW_POWER_PINS", "on");
        CKXShareGlobalData::m_pVpxProject = &m_project;
        Run("kx::powerpins off");
        Run("kx::powerpins on"); // the rows are made again, as the project allows
        Run("expandPins pin on");
        ASSERT_TRUE(CKXInstanceDetailsGridWnd::m_bAllowPowerPins);
    }
    void TearDown() override {
        CKXShareGlobalData::m_pVpxProject = m_saved;
        PowerTies::TearDown();
    }
    // Types the text into the Signal cell of the pin row `offset` rows below the pin's group row.
    std::string TypeIntoPinRow(const std::string& group, int offset, const std::string& text) {
        const int row = PinRow(group);
        if (!row) return "<no row for " + group + ">";
        return Run("kx::edit ccp " + std::to_string(row + offset) + " " +
                   std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal) + " {" + text + "}");
    }
    std::string PinRowSignal(const std::string& group, int offset) {
        const auto col = static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColSignal);
        return Grid()->GetValueRowCol(static_cast<ROWCOL>(PinRow(group) + offset), col).GetString();
    }
    bool Said(const char* id) {
        const std::vector<std::string> shown = Messages();
        return std::find(shown.begin(), shown.end(), id) != shown.end();
    }
    CKXVpxProject m_project;
    CKXVpxProject* m_saved = nullptr;
};

TEST_F(PowerPinRows, OnePinOfAGroupCannotTakeANetOfItsOwn) {
    const std::string original = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    Messages();
    EXPECT_EQ(TypeIntoPinRow("GND", 1, "AGND"), "0");
    EXPECT_TRUE(Said("KXTABLE-395"));
    EXPECT_EQ(Saved(), original); // no tie and no net AGND
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(PinRowSignal("GND", 1), "GND");

    // Tied as a group, one of its pins cannot be released alone either.
    ASSERT_EQ(TypeSignal("GND", "AGND"), "1");
    EXPECT_EQ(PinRowSignal("GND", 1), "AGND");
    EXPECT_EQ(PinRowSignal("GND", 2), "AGND");
    const std::string tied = Saved();
    EXPECT_EQ(TypeIntoPinRow("GND", 2, ""), "0");
    EXPECT_TRUE(Said("KXTABLE-395"));
    EXPECT_EQ(Saved(), tied);
    EXPECT_EQ(PinRowSignal("GND", 2), "AGND");
}

TEST_F(PowerPinRows, TheOnlyPinOfAGroupTakesItsNet) {
    ASSERT_EQ(TypeIntoPinRow("VCCINT", 1, "P0V9"), "1");
    EXPECT_TRUE(RowShows("VCCINT", "P0V9")) << Row("VCCINT");
    EXPECT_NE(Saved().find("power U1 VCCINT P0V9"), std::string::npos);
}

} // namespace
