// Custom property columns of the signal grid: filled from the design, edited by
// typing (echoed as changeCustomColumn) and by automation, undone, replayed.
#include "SignalGridTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxcontrols/KXStylesMap.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

#include <filesystem>
#include <fstream>

namespace {

class SignalCustom : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.prop("@J2", "VOLT", "3V3", KX_SRC_LOCAL);
        b.prop("@J2", "MAX_DELAY", "2ns", KX_SRC_LOCAL);
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("SCP");
        CKXCustomizeAPI::Initialize(false);
        if (Grid()) Grid()->InitColumnInfo();
        SignalGridTest::TearDown();
    }
    // Shows N1 with a VOLT (instance) and a SPEED (pin) column after the default ones.
    void ShowWithCustomColumns() {
        ASSERT_TRUE(Open());
        Run("kx::show slp N1");
        CStringArray entries;
        for (const char* e : {"START_BIT|Start Bit|6s|DEFAULT|SHOW", "END_BIT|End Bit|6s|DEFAULT|SHOW",
                              "CELL|Cell|12s|DEFAULT|SHOW", "INSTANCE|Instance|12s|DEFAULT|SHOW",
                              "LOCATION|Ref Des|8s|DEFAULT|SHOW", "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                              "PN|Pin Number|8s|DEFAULT|SHOW", "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                              "TERMINATION|Termination|12s|DEFAULT|SHOW", "PUPD|Pull Up/Down|10s|DEFAULT|SHOW",
                              "VOLT|Volt|8s|INSTPROP|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                              "MAX_DELAY|Max Delay|8s|INSTPROP|SHOW"})
            entries.Add(e);
        CKXCustomizeAPI::setCustomizationOrigin("SCP");
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(entries, false));
        Grid()->InitColumnInfo();
        // The pane keeps the grid of a signal shown before: this one goes, so that N1 gets a new
        // grid laid out from the customised columns.
        Ccp()->DestroyGrid(Grid());
        Run("kx::show slp FREE");
        Run("kx::show slp N1");
        ASSERT_GT(Volt(), 0);
    }
    int Volt() { return G::Columns().ColumnOfKey("VOLT"); }
    int Speed() { return G::Columns().ColumnOfKey("SPEED"); }
    std::string Num(long n) { return std::to_string(n); }
};

TEST_F(SignalCustom, CellsShowThePropertiesOfTheRowsObjects) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(std::string(Cell(row, Volt())), "3V3");
    EXPECT_EQ(std::string(Cell(row, Speed())), "");
}

TEST_F(SignalCustom, TypingAValueChangesThePropertyInOneUndoableStepThatReplays) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    Echoes();
    EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(Volt()) + " 5V"), "1");
    bool echoed = false;
    for (const std::string& e : Echoes())
        if (e.find("changeCustomColumn pin -col \"VOLT\" -val \"5V\"") != std::string::npos) echoed = true;
    EXPECT_TRUE(echoed);
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "5V");
    EXPECT_EQ(std::string(Cell(row, Volt())), "5V");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("ChangePropValue(\"VOLT\",\"5V\")"), std::string::npos) << journal;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "3V3");
    EXPECT_EQ(std::string(Cell(row, Volt())), "3V3");
    std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "5V");
}

// A typed value with commas (and backslashes) is stored whole, by the word it is echoed as, by
// automation and by the replay of its journal.
TEST_F(SignalCustom, AValueWithCommasIsStoredWhole) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(Volt()) + " {1V8,2V5}"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "1V8,2V5");
    EXPECT_EQ(std::string(Cell(row, Volt())), "1V8,2V5");
    // Enter moved the current cell down a row: the automation call acts on the row selected now.
    Run("kx::select ccp " + Num(row) + " " + Num(Volt()));
    Run("kx::pane ChangePropValue SPEED {a,b\\c}");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2.S SPEED"), "a,b\\c");
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "3V3");
    std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "1V8,2V5");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2.S SPEED"), "a,b\\c");
}

// While a typed value's edit is on its way to the host, a store of the cell sends nothing more.
TEST_F(SignalCustom, ACellStoredWhileItsEditIsOnTheWaySendsNothingMore) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    Grid()->m_bCustomEditReady = 0;
    Echoes();
    EXPECT_TRUE(Type(row, Volt(), "7V"));
    EXPECT_TRUE(Echoes().empty());
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "3V3");
    Grid()->m_bCustomEditReady = 1;
    EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(Volt()) + " 6V"), "1");
    EXPECT_EQ(Grid()->m_bCustomEditReady, 1);
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "6V");
}

TEST_F(SignalCustom, AutomationWritesThePinPropertyAndTheSameValueWritesNothing) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    Run("kx::pane ChangePropValue SPEED fast");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2.S SPEED"), "fast");
    EXPECT_EQ(std::string(Cell(row, Speed())), "fast");
    // The same value in other letters changes nothing: no transaction, no undo step.
    CMapStringToString values;
    values.SetAt("SPEED", "FAST");
    EXPECT_FALSE(Grid()->ChangeCustomColumnValue(values));
    EXPECT_EQ(Run("kx::prop work.board:sch@J2.S SPEED"), "fast");
    // A column the grid does not have is refused by the word.
    Messages();
    EXPECT_NE(Run("changeCustomColumn pin -col NOPE -val x"), "1");
}

// The host's own property editor changes a property: the column that shows it follows at once,
// a property no column shows changes no cell.
TEST_F(SignalCustom, APropertyChangedByTheHostReachesItsColumn) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_NE(Run("kx::setprop work.board:sch@J2 VOLT 1V8"), "0");
    EXPECT_EQ(std::string(Cell(row, Volt())), "1V8");
    EXPECT_NE(Run("kx::setprop work.board:sch@J2.S SPEED slow"), "0");
    EXPECT_EQ(std::string(Cell(row, Speed())), "slow");
    EXPECT_NE(Run("kx::setprop work.board:sch@J2 OTHER x"), "0");
    EXPECT_EQ(std::string(Cell(row, Volt())), "1V8");
    // Blank rows stay blank.
    const ROWCOL blank = Grid()->FindFirstEmptyRow();
    EXPECT_TRUE(Cell(blank, Volt()).IsEmpty());
}

// A retype of what a cell shows, in any letter case, changes nothing and answers 0: the Instance
// cell and a custom column keep the design's text, and no undo step or journal line is left.
TEST_F(SignalCustom, ARetypeInAnotherLetterCaseChangesNothing) {
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    for (const auto& [col, text] : {std::pair{Volt(), "3v3"}, std::pair{Volt(), "3V3"},
                                    std::pair{static_cast<int>(G::m_nColInstance), "j2"}}) {
        const std::string shown(Cell(row, col));
        EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(col) + " " + text), "0") << text;
        EXPECT_EQ(std::string(Cell(row, col)), shown) << text;
    }
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "3V3");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_TRUE(Messages().empty());
}

// ChangePropValue with a column caption that is no property types the value into the current
// row's cell: a pin number connects that pin, journalled as typed, and replays.
TEST_F(SignalCustom, ChangePropValueOfAnOrdinaryColumnTypesIntoTheCurrentRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const std::string before = Netlist();
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    ASSERT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(G::m_nColInstance) + " J1"), "1");
    const std::string caption(G::Columns().At(G::m_nColPinNumber)->m_strCaption);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColCell));
    Run("kx::pane ChangePropValue {" + caption + "} 13");
    const std::string after = Netlist();
    EXPECT_NE(after.find("J1 P<3> FREE"), std::string::npos) << after;
    // A column the grid does not have, or a read-only one, takes nothing.
    EXPECT_FALSE(Grid()->SetColumnValueByName("No Such Column", "x"));
    EXPECT_FALSE(Grid()->SetColumnValueByName(G::Columns().At(G::m_nColPinType)->m_strCaption, "x"));
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Netlist(), after);
}

// A constraint is shown and not edited; each property state has its own cell style.
TEST_F(SignalCustom, AConstraintIsReadOnlyAndTheStateChoosesTheStyle) {
    KXRegisterPropRule("VOLT", KX_RULE_REQUIRED);
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    const int delay = G::Columns().ColumnOfKey("MAX_DELAY");
    ASSERT_GT(delay, 0);
    EXPECT_EQ(std::string(Cell(row, delay)), "2ns");
    EXPECT_EQ(Run("kx::edit ccp " + Num(row) + " " + Num(delay) + " 3ns"), "0");
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 MAX_DELAY"), "2ns");
    const auto* map = dynamic_cast<const CKXStylesMap*>(Grid()->GetStylesMap());
    ASSERT_NE(map, nullptr);
    ASSERT_NE(map->m_wPropStyleState3, map->m_wPropStyleState2And4);
    CGXStyle style;
    Grid()->ComposeStyleRowCol(row, static_cast<ROWCOL>(delay), &style);
    EXPECT_EQ(style.GetBaseStyle(), map->m_wPropStyleState3);
    Grid()->ComposeStyleRowCol(row, static_cast<ROWCOL>(Volt()), &style);
    EXPECT_EQ(style.GetBaseStyle(), map->m_wPropStyleState2And4);
    KXClearPropRules();
}

// A property column the user adds through the pane's Customize Columns is filled at once in the
// open signal grid.
TEST_F(SignalCustom, AColumnAddedByTheCustomizeDialogIsFilledAtOnce) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    Run("kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|INSTPROP|SHOW}");
    EXPECT_EQ(Run("kx::menu 35130"), "1");
    ASSERT_GT(Volt(), 0);
    EXPECT_EQ(std::string(Cell(Row("J2", "S"), Volt())), "3V3") << Run("kx::window ccp");
    EXPECT_EQ(std::string(Cell(kxsignal::kFilterRow, Volt())), "*");
}

TEST_F(SignalCustom, ARequiredPropertyCannotBeEmptied) {
    KXRegisterPropRule("VOLT", KX_RULE_REQUIRED);
    ShowWithCustomColumns();
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    CMapStringToString values;
    values.SetAt("VOLT", "");
    EXPECT_FALSE(Grid()->ChangeCustomColumnValue(values));
    EXPECT_EQ(Run("kx::prop work.board:sch@J2 VOLT"), "3V3");
    KXClearPropRules();
}

} // namespace
