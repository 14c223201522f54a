// The pin grid on the example board and what reaches it from the host: a pin number the host's own
// property editor changes (kx::setprop) shows in the rows, and a copy whose keys name no row is
// refused instead of copying whatever was selected before.
#include "PinGridBoardFixture.h"

#include "afx/afxole.h"
#include "kxclipboard/CKXImpClipBoard.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class HostChanges : public PinGridBoard {
protected:
    void TearDown() override {
        CKXImpClipBoard::Reset();
        PinGridBoard::TearDown();
    }
    std::string Number(const std::string& pin) { return CellText(PinRow(pin), G::m_nColPinNumber); }
    std::string Signal(const std::string& pin) { return CellText(PinRow(pin), G::m_nColSignal); }
    // Whether the pin's row shows a pull-up, as kx::window writes the row.
    bool ShowsPullUp(const std::string& pin) {
        std::istringstream in(Run("kx::window ccp"));
        for (std::string line; std::getline(in, line);)
            if (line.find(" | " + pin + " | ") != std::string::npos) return line.find("Pullup") != std::string::npos;
        return false;
    }
};

TEST_F(HostChanges, APinNumberSetByTheHostShowsInThePinGrid) {
    OpenBoard();
    ASSERT_EQ(Number("PGOOD"), "C10");
    EXPECT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD PN C11"), "1");
    EXPECT_EQ(Number("PGOOD"), "C11");
    EXPECT_EQ(Signal("PGOOD"), "PG");
    // A second change to the same pin follows as well, and the other rows keep theirs.
    EXPECT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD PN C12"), "1");
    EXPECT_EQ(Number("PGOOD"), "C12");
    EXPECT_EQ(Number("RST_N"), "C9");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(HostChanges, APinNumberSetByTheHostIsFoundByItsNewNumber) {
    OpenBoard();
    ASSERT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD PN C11"), "1");
    // The keyed selection reads the number the row shows now.
    ASSERT_EQ(Run("copy pin [list U1 PGOOD C11] Signal"), "1");
    EXPECT_EQ(AfxGetClipboardText(), "PG\r\n");
    EXPECT_EQ(Run("copy pin [list U1 PGOOD C10] Signal"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
}

TEST_F(HostChanges, ACopyWhoseKeysNameNoRowIsRefused) {
    OpenBoard();
    ASSERT_EQ(Run("copy pin PGOOD Signal"), "1");
    ASSERT_EQ(AfxGetClipboardText(), "PG\r\n");
    // The earlier selection is still there: the refused copy must not copy it again and call it done.
    CKXImpClipBoard::Reset();
    EXPECT_EQ(Run("copy pin NO_SUCH_PIN Signal"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
    EXPECT_NE(AfxGetClipboardText(), "PG\r\n");
    // Keys of a pin the grid does not have, with a number of one it has.
    EXPECT_EQ(Run("copy pin [list U1 NO_SUCH_PIN C10] Signal"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
    // An unknown column holds no cell to copy.
    EXPECT_EQ(Run("copy pin PGOOD {No Such Column}"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
}

TEST_F(HostChanges, ACopyWithoutKeysIsRefused) {
    OpenBoard();
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + std::to_string(G::m_nColSignal)), "1");
    Echoes();
    EXPECT_EQ(Run("copy pin Signal"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-164"}));
}

// A key of no pin beside one of a pin copies nothing: the word is refused whole, naming that key.
TEST_F(HostChanges, AKeyOfNoPinBesideOneOfAPinCopiesNothing) {
    OpenBoard();
    EXPECT_EQ(Run("copy pin NO_SUCH_PIN PGOOD Signal"), "0");
    EXPECT_NE(AfxGetClipboardText(), "PG\r\n");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
}

TEST_F(HostChanges, APullUpIsDeletedOnlyByItsOwnNameOrWithoutOne) {
    OpenBoard();
    ASSERT_EQ(Run("selectObject pin MCLK"), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4k7"), "1") << ::testing::PrintToString(Messages());
    Messages();
    ASSERT_TRUE(ShowsPullUp("MCLK"));
    EXPECT_EQ(Run("deletePupd pin NO_SUCH_PUPD"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-220"}));
    EXPECT_TRUE(ShowsPullUp("MCLK"));
    EXPECT_EQ(Run("deletePupd pin"), "1");
    EXPECT_FALSE(ShowsPullUp("MCLK"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(HostChanges, APinOnAPackagePinHasAPhysicalPin) {
    OpenBoard();
    G* grid = Grid();
    ASSERT_TRUE(grid);
    IInstance* u1 = CDesignContext(m_app->Server(), "demo.board:sch").instance("U1").instance();
    ASSERT_TRUE(u1);
    EXPECT_TRUE(grid->GetPhysPin(u1->findInstTerm("PGOOD")));
    EXPECT_FALSE(grid->GetPhysPin(nullptr));
    // A bus pin is not one package pin.
    EXPECT_FALSE(grid->GetPhysPin(u1->findInstTerm("DQ")));
    // A pin whose number the part does not have sits on no package pin.
    ASSERT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD PN NO_SUCH_NUMBER"), "1");
    EXPECT_FALSE(grid->GetPhysPin(u1->findInstTerm("PGOOD")));
}

} // namespace
