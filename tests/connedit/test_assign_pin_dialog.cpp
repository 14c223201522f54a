// The Assign Pin Number dialog: the pin names of the instance, the numbers a chosen name may take,
// the function summary and the section a chosen number belongs to; on the example board (RN1A and
// RN1B are sections 1 and 2 of one resistor pack: A on 1..4, B on 8..5).
#include "ConnEditFixture.h"

#include "grid/KXPinDialogs.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

namespace {

class AssignPinDialog : public ConnEditFixture {
protected:
    CDesignContext Board() { return CDesignContext(CKXShareGlobalData::m_pServer, "demo.board:sch"); }
    // The dialog as the pin grid opens it for the pin of an instance (bits: -1 for a scalar pin).
    void Prepare(CKXAssignPinDialog& dialog, const char* instance, const char* pin, int first, int last) {
        const CInstanceContext inst = Board().instance(instance);
        ASSERT_TRUE(inst.instance());
        m_gen = inst.server()->partDataService()->getCandidatePins(inst, pin, first, first);
        dialog.SetPinGenerator(m_gen);
        dialog.SetInstanceContext(inst);
        dialog.SetPinInfo(6, pin, first, last, "");
        dialog.OnInitDialog();
    }
    void TearDown() override {
        if (m_gen) hmtStopGen(m_gen);
        ConnEditFixture::TearDown();
    }
    static const CKXAssignPinDialog::SummaryRow* Row(const CKXAssignPinDialog& d, const char* name) {
        for (const auto& row : d.GetSummary())
            if (row.name == name) return &row;
        return nullptr;
    }
    HMTGEN m_gen = nullptr;
};

TEST_F(AssignPinDialog, AScalarPinIsPresetByItsNameAndTheSummaryListsEveryPin) {
    OpenBoard("RN1A");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "RN1A", "A", -1, -1);
    EXPECT_EQ(std::string(dialog.GetSelectedPinName()), "A");
    EXPECT_EQ(dialog.GetPinNames(), (std::vector<CString>{"A", "B"}));
    EXPECT_TRUE(dialog.IsChips());
    ASSERT_NE(Row(dialog, "B"), nullptr);
    EXPECT_EQ(std::string(Row(dialog, "A")->number), "1");
    EXPECT_EQ(std::string(Row(dialog, "B")->number), "8");
    EXPECT_EQ(std::string(Row(dialog, "B")->type), "Inout");
    EXPECT_EQ(Row(dialog, "B")->section, 1);
    EXPECT_EQ(dialog.GetCandidates(), (std::vector<CString>{"1", "2", "3", "4"}));
}

TEST_F(AssignPinDialog, ABusGivesARowAndANameForEachBitAndABitIsPresetByItsBitName) {
    OpenBoard("U1");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "U1", "DQ", 3, 3);
    EXPECT_EQ(std::string(dialog.GetSelectedPinName()), "DQ<3>");
    int bits = 0;
    for (const CString& name : dialog.GetPinNames())
        if (name.Left(3) == "DQ<") ++bits;
    EXPECT_EQ(bits, 16);
    ASSERT_NE(Row(dialog, "DQ<3>"), nullptr);
    EXPECT_EQ(std::string(Row(dialog, "DQ<3>")->number), "A13");
    EXPECT_FALSE(dialog.IsChips());
}

TEST_F(AssignPinDialog, ANumberOfAnotherSectionShowsThatSectionsNumbersInTheSummary) {
    OpenBoard("RN1A");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "RN1A", "A", -1, -1);
    ASSERT_TRUE(dialog.OnSelchangePinNumber("2"));
    EXPECT_EQ(std::string(dialog.GetSelectedPinData()), "2");
    EXPECT_EQ(std::string(Row(dialog, "A")->number), "2");
    EXPECT_EQ(std::string(Row(dialog, "B")->number), "7"); // B follows A into section 2
    // Back to a number of its own section.
    ASSERT_TRUE(dialog.OnSelchangePinNumber("1"));
    EXPECT_EQ(std::string(Row(dialog, "B")->number), "8");
    // A number the combo does not offer chooses nothing.
    EXPECT_FALSE(dialog.OnSelchangePinNumber("99"));
    EXPECT_EQ(std::string(dialog.GetSelectedPinData()), "1");
}

// Through the menu's More...: a number of another section of the pack moves the component's pins into that
// section, each pin taking that section's number for it, as the dialog's summary showed.
TEST_F(AssignPinDialog, TheHostsNumberOfAnotherSectionMovesEveryPinOfTheComponentThere) {
    OpenBoard("RN1A");
    Select({"A"});
    Run("selectWindow ccp");
    Run("kx::answer dialog CKXAssignPinDialog ok pin 3");
    EXPECT_EQ(Run("kx::menu 35550"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.B PN"), "6");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A SEC"), "3");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.B SEC"), "3");
}

TEST_F(AssignPinDialog, ChoosingAPinNameOffersItsNumbersAndSelectsItsOwn) {
    OpenBoard("RN1A");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "RN1A", "A", -1, -1);
    dialog.OnSelchangePinName("B");
    EXPECT_EQ(dialog.GetCandidates(), (std::vector<CString>{"8", "7", "6", "5"}));
    EXPECT_EQ(std::string(dialog.GetSelectedPinData()), "8");
    dialog.OnSelchangePinName("A"); // the generator made for B is released, not the caller's
    EXPECT_EQ(dialog.GetCandidates(), (std::vector<CString>{"1", "2", "3", "4"}));
    hmtResetGen(m_gen); // the caller's generator is still there to use
    EXPECT_NE(hmtGenPins(m_gen), nullptr);
}

TEST_F(AssignPinDialog, TheSummaryButtonTwiceRestoresTheHeight) {
    OpenBoard("RN1A");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "RN1A", "A", -1, -1);
    EXPECT_TRUE(dialog.IsSummaryShown());
    const int height = dialog.GetDialogHeight();
    dialog.OnFunctionSummary();
    EXPECT_FALSE(dialog.IsSummaryShown());
    EXPECT_EQ(dialog.GetDialogHeight(), height - CKXAssignPinDialog::kSummaryHeight);
    EXPECT_EQ(std::string(dialog.GetSummaryButtonText()), "&Function Summary >>");
    dialog.OnFunctionSummary();
    EXPECT_EQ(dialog.GetDialogHeight(), height);
    EXPECT_EQ(std::string(dialog.GetSummaryButtonText()), "&Function Summary <<");
}

TEST_F(AssignPinDialog, ThroughTheQueueTheSummaryAndTheSectionFollowTheAnswer) {
    OpenBoard("RN1A");
    CKXAssignPinDialog dialog;
    Prepare(dialog, "RN1A", "A", -1, -1);
    Run("kx::answer dialog CKXAssignPinDialog ok pin 3 summary 0");
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.IsSummaryShown());
    EXPECT_EQ(std::string(dialog.GetSelectedPinData()), "3");
    EXPECT_EQ(std::string(Row(dialog, "B")->number), "6");
    // Cancelled, nothing is chosen.
    Run("kx::answer dialog CKXAssignPinDialog cancel pin 2");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.GetSelectedPinData().IsEmpty());
}

// Through the menu's More...: a pin name chosen in the dialog, then one of its numbers.
TEST_F(AssignPinDialog, TheHostChoosesANameAndANumberOfIt) {
    OpenBoard("RN1A");
    Select({"A"});
    Run("selectWindow ccp");
    Run("kx::answer dialog CKXAssignPinDialog ok name A pin 4 summary 0");
    EXPECT_EQ(Run("kx::menu 35550"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "4");
    // A number of another name than the one chosen is not offered: nothing changes.
    const std::string before = Saved();
    Run("kx::answer dialog CKXAssignPinDialog ok name B pin 3");
    Run("kx::menu 35550");
    EXPECT_EQ(Saved(), before);
}

// The dialog numbers the pin it was opened for. Another pin's name (whose numbers it then shows) with one
// of those numbers is refused with the reason, nothing assigned to either pin; the pin's own name is taken.
TEST_F(AssignPinDialog, ANameOfAnotherPinIsRefusedRatherThanNumberingTheCurrentPin) {
    OpenBoard("RN1A");
    Select({"A"});
    Run("selectWindow ccp");
    const std::string before = Saved();
    for (const char* answer : {"ok name B pin 5", "ok name B"}) {
        Messages();
        Run(std::string("kx::answer dialog CKXAssignPinDialog ") + answer);
        EXPECT_EQ(Run("kx::menu 35550"), "0") << answer;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"}) << answer;
        EXPECT_NE(Transcript().find("pin name B: the dialog numbers pin A only"), std::string::npos);
        EXPECT_EQ(Saved(), before) << answer;
    }
    Run("kx::answer dialog CKXAssignPinDialog ok name A pin 3");
    EXPECT_EQ(Run("kx::menu 35550"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
}

} // namespace
