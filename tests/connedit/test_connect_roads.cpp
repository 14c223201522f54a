// The other roads to the same connect: the Attach Signal bar and its rule menu,
// the automation methods a journal calls, and a journal replayed on the
// original library giving the same saved design.
#include "ConnEditFixture.h"

#include <sstream>

#include "rmx/server.h"
#include "shell/KXTableDoc.h"

#include <algorithm>
#include <fstream>

namespace {

using Roads = ConnEditFixture;

TEST_F(Roads, AttachSignalBarConnectsTheSelectionAndEchoesRules) {
    OpenBoard();
    Select({"PGOOD:C10"});
    Ccp()->AttachSignalByName("BARSIG");
    EXPECT_EQ(Conn("U1 PGOOD"), "BARSIG");
    // A plain name is echoed by the grid with the pins it connected.
    // The grid, active again, then tells the host its selected pins.
    const std::vector<std::string> echoes = Echoes();
    ASSERT_EQ(echoes.size(), 2u) << ::testing::PrintToString(echoes);
    EXPECT_NE(echoes[0].find("addConnection pin BARSIG"), std::string::npos) << echoes[0];
    EXPECT_NE(echoes[0].find("PGOOD"), std::string::npos);
    EXPECT_EQ(echoes[1].rfind("selectObject pin [list U1 ", 0), 0u) << echoes[1];
    // Auto Name from the rule menu: one step, echoed as the rule with the pins.
    Select({"PGOOD:C10"});
    const int steps = Ccp()->GetUndoStepCount();
    Ccp()->OnCmdMsg(35255, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Conn("U1 PGOOD").rfind("signal_", 0), 0u);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    bool echoed = false;
    for (const std::string& e : Echoes())
        if (e.find("addConnection pin =AUTONAME") == 0 && e.find("PGOOD") != std::string::npos) echoed = true;
    EXPECT_TRUE(echoed);
}

// Each echo of a connect is a word that, typed back, does the same: the Attach bar's connect by a plain name,
// undone, connects the pins again when its echo runs as a script word (answering 2, as a plain name does).
TEST_F(Roads, EveryConnectEchoTypedBackDoesTheSame) {
    OpenBoard();
    Select({"PGOOD:C10"});
    Echoes();
    Ccp()->AttachSignalByName("BARSIG");
    ASSERT_EQ(Conn("U1 PGOOD"), "BARSIG");
    const std::vector<std::string> echoes = Echoes();
    const auto word = std::find_if(echoes.begin(), echoes.end(),
                                   [](const std::string& e) { return e.rfind("addConnection pin BARSIG ", 0) == 0; });
    ASSERT_NE(word, echoes.end()) << ::testing::PrintToString(echoes);
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_NE(Conn("U1 PGOOD"), "BARSIG");
    EXPECT_EQ(Run(*word), "2") << *word;
    EXPECT_EQ(Conn("U1 PGOOD"), "BARSIG") << *word;
}

// The combo offers the pairs the design holds from the start, beside those made later; a rule the
// function selector prepared takes the keys typed next into its placeholder.
TEST_F(Roads, TheAttachComboOffersTheDesignsPairsAndTypesIntoAPreparedRule) {
    OpenBoard();
    auto pairs = [this] {
        std::vector<std::string> found;
        std::istringstream list(Run("kx::ccpbar list"));
        for (std::string line; std::getline(list, line);)
            if (line.find(" (Differential Pair)") != std::string::npos) found.push_back(line.substr(line.find(": ") + 2));
        return found;
    };
    EXPECT_EQ(pairs(), (std::vector<std::string>{"LVDS<3..0> (Differential Pair)", "SYSCLK (Differential Pair)"}));
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("addConnection pin {NEWP (Differential Pair)} CLK");
    EXPECT_EQ(pairs().size(), 3u) << ::testing::PrintToString(pairs());
    const std::string col = " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    Run("kx::select ccp " + std::to_string(PinRow("RST_N")) + col);
    Run("kx::answer menu * 35275");
    ASSERT_EQ(Run("kx::ccpbar fx"), "1");
    EXPECT_EQ(Run("kx::ccpbar type Q_"), "1");
    EXPECT_EQ(Conn("U1 RST_N"), "Q_RST_N");
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=PREFIXPINNAME(Q_)");
    // The rule took its argument: the next keys are a text of their own.
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + col);
    Run("kx::ccpbar type PLAIN");
    EXPECT_EQ(Conn("U1 PGOOD"), "PLAIN");
}

// A bus row whose bits are on different nets shows their nets joined; its cell copied onto another bus
// gives that bus the copied nets, bit for bit, and takes no bit off its net for nothing.
TEST_F(Roads, ABusRowOnSeveralNetsShowsThemJoinedAndPastesThem) {
    OpenBoard();
    Run("expandPins pin on");
    TypeSignal("DQ<15>", "X1");
    Run("expandPins pin off");
    const std::string joined = SignalCell("DQ<15..0>");
    EXPECT_EQ(joined, "X1,DQ<14>,DQ<13>,DQ<12>,DQ<11>,DQ<10>,DQ<9>,DQ<8>,DQ<7>,DQ<6>,DQ<5>,DQ<4>,DQ<3>,DQ<2>,DQ<1>,DQ<0>");
    // A fresh load of the pins shows it the same way.
    Run("kx::show clp U2");
    Run("kx::show clp U1");
    EXPECT_EQ(SignalCell("DQ<15..0>"), joined);
    const std::string col = " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    Run("kx::select ccp " + std::to_string(PinRow("DQ<15..0>")) + col);
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    Run("kx::select ccp " + std::to_string(PinRow("A<12..0>")) + col);
    Run("kx::key ccp Ctrl+V");
    const std::vector<std::string> a = Conns("U1 A");
    ASSERT_EQ(a.size(), 13u) << ::testing::PrintToString(a);
    EXPECT_EQ(std::count(a.begin(), a.end(), "X1"), 1) << ::testing::PrintToString(a);
    EXPECT_EQ(std::count(a.begin(), a.end(), ""), 0) << ::testing::PrintToString(a);
}

TEST_F(Roads, AutomationAddConnectionAndAttachSignal) {
    OpenBoard();
    Select({"PGOOD:C10"});
    EXPECT_TRUE(Ccp()->AutoAddConnection("AUTOSIG"));
    EXPECT_EQ(Conn("U1 PGOOD"), "AUTOSIG");
    Select({"RST_N:C9"});
    EXPECT_TRUE(Ccp()->AutoAttachSignal("prefixpinname(q_)"));
    EXPECT_EQ(Conn("U1 RST_N"), "q_RST_N");
    // A plain name is no rule: refused, nothing changes.
    const std::string before = Saved();
    EXPECT_FALSE(Ccp()->AutoAttachSignal("CLK"));
    EXPECT_EQ(Saved(), before);
}

TEST_F(Roads, JournalReplaysToTheSameSavedDesign) {
    OpenBoard();
    const std::string original = Saved();
    Run("addConnection pin NEWSIG PGOOD:C10");
    Run("addConnection pin {XB[12..0]} {A<12..0>}");
    Run("addConnection pin =INCREMENTSIGNAME(S,4) MCLK:B14 RST_N:C9");
    Run("addConnection pin =AUTONAME PGOOD:C10");
    Run("deleteConnection pin MCLK:B14");
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    // The journal so far, replayed on the original board in a fresh window.
    const std::filesystem::path journal = m_dir / "replay.vbs";
    {
        std::ofstream out(journal, std::ios::binary);
        out << JournalText();
    }
    Run("kx::journal");
    Run("closeDesign -nosave");
    {
        std::ofstream back(m_demo / "board.sch.design", std::ios::binary);
        back << original;
    }
    IDesign* board = m_app->Server()->findDesign("demo.board:sch");
    ASSERT_NE(board, nullptr);
    ASSERT_TRUE(m_app->Server()->unloadDesign(board));
    CString error;
    m_app->Server()->loadLibrary(m_demo.c_str(), error);
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_EQ(Saved(), edited);
}

} // namespace

namespace {

using Swaps = ConnEditFixture;

TEST_F(Swaps, TwoSwappablePinsExchangeTheirSignals) {
    OpenBoard();
    Run("expandPins pin on");
    const std::string before = Saved();
    // DQ<3> and DQ<4> sit in one swap group of the part: the common library answers TRUE for them.
    EXPECT_EQ(Run("swapSignal pin {DQ<3>} {DQ<4>}"), "1");
    EXPECT_EQ(Conn("U1 DQ<3>"), "DQ<4>");
    EXPECT_EQ(Conn("U1 DQ<4>"), "DQ<3>");
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(Swaps, PinsOutsideASwapGroupOrAPairAreRefused) {
    OpenBoard();
    Run("expandPins pin on");
    const std::string before = Saved();
    Messages();
    Run("swapSignal pin {DQ<3>} PGOOD");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-207"});
    Run("swapSignal pin {DQ<3>}"); // one pin
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-207"});
    Run("swapSignal pin {A<12..0>} {DQ<15..0>}"); // buses, not bits
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-207"});
    EXPECT_EQ(Saved(), before);
}

// In a grid of several instances, one pin number is taken by the same pin of instances of one
// physical part only: R1 and R2 (both RES0402) may, R1 and RN1A (another part, same pin number) may not.
TEST_F(Swaps, SeveralInstancesSwapTogetherOnlyOnOnePhysicalPart) {
    OpenBoard("R1");
    setenv("KX_ALLOW_SWAP_PINS", "", 1);
    CKXInstanceDetailsGridWnd* grid = Grid();
    IDesign* design = grid->m_designContext.design();
    ASSERT_TRUE(design);
    std::vector<UINT> ids;
    for (const char* name : {"R1", "R2", "RN1A"})
        ids.push_back(design->findInstance(name)->id());
    ASSERT_TRUE(grid->ReloadInstanceRows(grid->m_designContext, ids, TRUE));
    auto rowOf = [&](const char* instance, const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColInstance)) == instance &&
                grid->GetValueRowCol(r, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName)) == pin)
                return r;
        return ROWCOL(0);
    };
    auto selectRows = [&](std::initializer_list<ROWCOL> rows) {
        grid->SetSelection(nullptr);
        for (ROWCOL r : rows)
            grid->SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
    };
    const ROWCOL r1 = rowOf("R1", "A"), r2 = rowOf("R2", "A"), rn = rowOf("RN1A", "A"), r1b = rowOf("R1", "B");
    ASSERT_TRUE(r1 && r2 && rn && r1b);
    selectRows({r1, r2});
    EXPECT_TRUE(grid->CanSwapPins());
    selectRows({r1, rn});
    EXPECT_FALSE(grid->CanSwapPins());
    selectRows({r1, rowOf("R2", "B")}); // one part, other pin numbers
    EXPECT_FALSE(grid->CanSwapPins());
    selectRows({r1, r1b}); // two pins of one instance
    EXPECT_FALSE(grid->CanSwapPins());
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// The pin-number menu of a grid of several instances is offered for the same pin of instances of one
// physical part, as a swap is; in a grid of one instance for one pin only. Two pins of other instances
// never exchange their signals there.
TEST_F(Swaps, SeveralInstancesTakeOnePinNumberFromTheMenuOnlyOnOnePhysicalPart) {
    OpenBoard("RN1A");
    CKXInstanceDetailsGridWnd* grid = Grid();
    const ROWCOL oneA = static_cast<ROWCOL>(PinRow("A")), oneB = static_cast<ROWCOL>(PinRow("B"));
    ASSERT_TRUE(oneA && oneB);
    auto menuFor = [&](std::initializer_list<ROWCOL> rows) {
        grid->SetSelection(nullptr);
        for (ROWCOL r : rows)
            grid->SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
        grid->SetCurrentCell(*rows.begin(), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinNumber));
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 1, "placeholder");
        return grid->BuildPinNumberMenu(&menu) != nullptr;
    };
    ASSERT_TRUE(menuFor({oneA}));
    EXPECT_FALSE(menuFor({oneA, oneB})); // two pins of one instance
    IDesign* design = grid->m_designContext.design();
    ASSERT_TRUE(design);
    std::vector<UINT> ids;
    for (const char* name : {"R1", "R2"})
        ids.push_back(design->findInstance(name)->id());
    EXPECT_EQ(grid->m_bMultipleInstances, 0);
    ASSERT_TRUE(grid->ReloadInstanceRows(grid->m_designContext, ids, TRUE));
    EXPECT_EQ(grid->m_bMultipleInstances, 1);
    auto rowOf = [&](const char* instance, const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColInstance)) == instance &&
                grid->GetValueRowCol(r, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName)) == pin)
                return r;
        return ROWCOL(0);
    };
    const ROWCOL r1 = rowOf("R1", "A"), r2 = rowOf("R2", "A"), rn = rowOf("RN1A", "A");
    ASSERT_TRUE(r1 && r2 && rn);
    EXPECT_TRUE(menuFor({rn}));
    EXPECT_FALSE(menuFor({rn, r1}));             // another physical part
    EXPECT_FALSE(menuFor({r1, rowOf("R2", "B")})); // another pin number
    grid->SetSelection(nullptr);
    grid->SelectRange(CGXRange().SetRows(r1), TRUE, FALSE);
    grid->SelectRange(CGXRange().SetRows(r2), TRUE, FALSE);
    EXPECT_FALSE(grid->CanSwapSignals()); // pins of two instances
}

TEST_F(Swaps, SwapPinsExchangesPinNumbersWhenAllowed) {
    OpenBoard();
    Run("expandPins pin on");
    Select({"DQ<3>"});
    unsetenv("KX_ALLOW_SWAP_PINS");
    EXPECT_FALSE(Grid()->CanSwapPins());
    EXPECT_FALSE(Ccp()->AutoSwapPins("A12"));
    setenv("KX_ALLOW_SWAP_PINS", "", 1);
    const std::string before = Saved();
    EXPECT_TRUE(Grid()->CanSwapPins());
    EXPECT_TRUE(Ccp()->AutoSwapPins("A12"));
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<3> PN"), "A12");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<4> PN"), "A13");
    EXPECT_NE(JournalText().find("' --- Swap Pins ---\ncall board.ConnectivityPane().SwapPins(\"A12\")"),
              std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// A swap with a number outside the pin's swap group (an implicit power pin's, one no row carries) swaps
// nothing: each road answers 0 with the one message that says why. The dialog offers the swap group and
// takes no other number; the method takes its number as it is given, and a partner that carries no
// logical pin is its refusal.
TEST_F(Swaps, SwapsWithANumberOutsideThePinsSwapGroupAreRefusedAlikeOnEveryRoad) {
    Run("kx::powerpins on");
    OpenBoard();
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    const std::string before = Saved();
    const int steps = Steps();
    const std::string select = "kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " +
                               std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    Messages();
    for (const char* number : {"H3", "ZZ9"}) {
        SCOPED_TRACE(number);
        Run(select);
        EXPECT_EQ(Run(std::string("kx::pane SwapPins ") + number), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-107"});
        Run(select);
        Run(std::string("kx::answer dialog CKXSwappinsDialog ok pin ") + number);
        EXPECT_EQ(Run("kx::menu 35566"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-489"});
    }
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Steps(), steps);
    unsetenv("KX_ALLOW_SWAP_PINS");
    Run("kx::powerpins off");
}

} // namespace

namespace {

using PinNumbers = ConnEditFixture;

TEST_F(PinNumbers, AChipsPinTakesANumberOfAnotherSection) {
    OpenBoard("RN1A");
    const std::string before = Saved();
    Select({"A"});
    // Section 2 is RN1B's: its numbers stay there, the package has no two pins of one number.
    Messages();
    EXPECT_EQ(Run("assignPinNumber pin 2"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-343"});
    EXPECT_EQ(Saved(), before);
    // Section 3 is nobody's: RN1A takes it.
    EXPECT_EQ(Run("assignPinNumber pin 3"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.B PN"), "6");
    EXPECT_NE(JournalText().find("' --- Assign Pin Numbers ---\ncall board.ConnectivityPane().AssignPinNumber(\"3\")"),
              std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(PinNumbers, ANumberThatIsNoCandidateChangesNothing) {
    OpenBoard("RN1A");
    const std::string before = Saved();
    Select({"A"});
    Messages();
    EXPECT_EQ(Run("assignPinNumber pin 99"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-198"});
    EXPECT_EQ(Saved(), before);
    // The number the pin has, chosen from the menu: it has it already, which is what the user is told.
    Run("kx::select ccp " + std::to_string(PinRow("A")) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColPinNumber));
    Run("selectWindow ccp");
    EXPECT_EQ(Run("kx::menu 35545"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-196"});
    EXPECT_EQ(Saved(), before);
}

TEST_F(PinNumbers, TheMenuOffersTheCandidatesAndTheAutomationTravelsThroughTheHost) {
    OpenBoard("RN1A");
    Select({"A"});
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "placeholder");
    auto* grid = dynamic_cast<CKXInstanceDetailsGridWnd*>(Grid());
    ASSERT_NE(grid->BuildPinNumberMenu(&menu), nullptr);
    CString text;
    menu.GetMenuString(35545, text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "1");
    EXPECT_EQ(menu.GetMenuItemID(menu.GetMenuItemCount() - 1), 35550u); // "More..."
    EXPECT_TRUE(Ccp()->AssignPinNumber("3"));
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
}

} // namespace

namespace {

using PinNumberMenu = ConnEditFixture;

// The pane's Assign Pin Number items, run by id as a menu choice: a number of the current pin's menu is
// assigned through the host word, journalled and undone as one step.
TEST_F(PinNumberMenu, ANumberItemAssignsThatCandidate) {
    OpenBoard("RN1A");
    const std::string before = Saved();
    Select({"A"});
    Run("selectWindow ccp");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::menu 35547"), "1"); // the third candidate: pin 3, of a section nobody holds
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(JournalText().find("AssignPinNumber(\"3\")"), std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(PinNumberMenu, MoreOpensTheDialogAndItsChoiceIsAssigned) {
    OpenBoard("RN1A");
    Select({"A"});
    Run("selectWindow ccp");
    Run("kx::answer dialog CKXAssignPinDialog ok pin 3");
    EXPECT_EQ(Run("kx::menu 35550"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PN"), "3");
    // Cancelled, or a number the pin is not offered: nothing changes.
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXAssignPinDialog cancel");
    Run("kx::menu 35550");
    Run("kx::answer dialog CKXAssignPinDialog ok pin 99");
    Run("kx::menu 35550");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(PinNumberMenu, ItemsThePinDoesNotOfferAreDisabled) {
    OpenBoard("RN1A");
    const std::string before = Saved();
    Select({"A"});
    Run("selectWindow ccp");
    // Four candidates fill 35545-35548; 35549 and the unused ids stand for no number.
    EXPECT_EQ(Run("kx::menu 35549"), "0");
    EXPECT_EQ(Run("kx::menu 35552"), "0");
    EXPECT_NE(Transcript().find("menu 35549 is disabled"), std::string::npos);
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(PinNumberMenu, APinWithoutAChoiceOffersNoItem) {
    OpenBoard();
    const std::string before = Saved();
    Select({"PGOOD:C10"});
    Run("selectWindow ccp");
    EXPECT_EQ(Run("kx::menu 35545"), "0");
    EXPECT_EQ(Run("kx::menu 35550"), "0");
    EXPECT_EQ(Saved(), before);
}

// Opened as a submenu, the item is filled with the current pin's numbers and greyed without them.
TEST_F(PinNumberMenu, TheSubmenuIsFilledFromTheCurrentPin) {
    OpenBoard("RN1A");
    Select({"A"});
    Run("selectWindow ccp");
    CMenu menu, sub;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu()), "Assign Pin Number");
    CCmdUI ui;
    ui.m_nID = 35545;
    ui.m_pMenu = &menu;
    ui.m_pSubMenu = &sub;
    ui.m_nIndex = 0;
    ASSERT_TRUE(Ccp()->OnCmdMsg(35545, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    CString text;
    sub.GetMenuString(35546, text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "2");
    EXPECT_EQ(sub.GetMenuItemID(sub.GetMenuItemCount() - 1), 35550u);
    EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED, 0u);
    // A pin without a choice greys the item.
    Run("kx::show clp U1");
    Select({"PGOOD:C10"});
    Run("selectWindow ccp");
    ASSERT_TRUE(Ccp()->OnCmdMsg(35545, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_NE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

} // namespace
