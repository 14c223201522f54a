// The design window's geometry through the user's hands: the main window resized, the splitter bars
// dragged, a list collapsed, the separator between side-by-side grids dragged, read with kx::panes.
#include "KXShellFixture.h"
#include "afx/afxwin.h"
#include "rmx/DesignBuilder.h"

#include <map>
#include <sstream>

namespace {

class WindowSizes : public KXShellFixture {
protected:
    // kx::panes as "name" -> the rest of its line (the first line of each name).
    std::map<std::string, std::string> Panes() {
        std::map<std::string, std::string> lines;
        std::istringstream text(Run("kx::panes"));
        for (std::string line; std::getline(text, line);) {
            line.erase(0, line.find_first_not_of(' '));
            // "grid N WxH" is keyed by "grid N"; every other line by its first word.
            const size_t blank = line.rfind("grid ", 0) == 0 ? line.find(' ', 5) : line.find(' ');
            if (blank != std::string::npos) lines.emplace(line.substr(0, blank), line.substr(blank + 1));
        }
        return lines;
    }
    // "WxH" -> width or height.
    static int Width(const std::string& size) { return std::stoi(size.substr(0, size.find('x'))); }
    static int Height(const std::string& size) { return std::stoi(size.substr(size.find('x') + 1)); }
};

TEST_F(WindowSizes, AWindowOpensWithTheListsAtThirtyPercentAndTheListsHalved) {
    EXPECT_EQ(Run("kx::resize 1000 800"), "1");
    ASSERT_TRUE(Open());
    auto panes = Panes();
    EXPECT_EQ(Width(panes["window"]), 1000) << panes["window"];
    EXPECT_EQ(Width(panes["clp"]), 300);
    EXPECT_EQ(Height(panes["clp"]), Height(panes["window"]) / 2); // the first size halves the window
    EXPECT_EQ(Width(panes["ccp"]), 1000 - 300 - 7); // less the splitter's bar
    EXPECT_EQ(panes["collapsed"], "none");
    // The same size again changes nothing.
    EXPECT_EQ(Run("kx::resize 1000 800"), "0");
    EXPECT_EQ(Run("kx::resize 0 800").rfind("error: usage: kx::resize", 0), 0u);
    EXPECT_EQ(Run("kx::resize 1000 tall").rfind("error: usage: kx::resize", 0), 0u);
}

TEST_F(WindowSizes, TheListsKeepTheProportionOfTheirLastDragAsTheWindowGrows) {
    ASSERT_TRUE(Open());
    // Before any drag the lists share the height equally, whatever the size.
    EXPECT_EQ(Run("kx::resize 1200 900"), "1");
    auto panes = Panes();
    EXPECT_NEAR(Height(panes["clp"]), Height(panes["slp"]), 3);
    const int column = Height(panes["clp"]) + Height(panes["slp"]) + 7;
    // Dragged to a quarter of the column, the drop stores the two heights.
    EXPECT_EQ(Run("kx::splitter lists " + std::to_string((column - 7) / 4)), "1");
    panes = Panes();
    const int upper = Height(panes["clp"]), lower = Height(panes["slp"]);
    EXPECT_EQ(panes["stored"], std::to_string(upper) + " " + std::to_string(lower));
    EXPECT_NEAR(3.0 * upper, lower, 3.0);
    // A larger and a smaller window keep the 1:3 proportion.
    for (const char* size : {"1200 1300", "900 500"}) {
        EXPECT_EQ(Run(std::string("kx::resize ") + size), "1");
        panes = Panes();
        EXPECT_NEAR(3.0 * Height(panes["clp"]), Height(panes["slp"]), 8.0) << size; // the bar's gap
    }
    // A drop where the bar stands moves nothing.
    EXPECT_EQ(Run("kx::splitter lists " + std::to_string(Height(Panes()["clp"]))), "0");
    // The column bar: the lists' column takes the width it is dragged to, the pane the rest.
    EXPECT_EQ(Run("kx::splitter columns 250"), "1");
    panes = Panes();
    EXPECT_EQ(Width(panes["clp"]), 250);
    EXPECT_EQ(Width(panes["ccp"]), Width(panes["window"]) - 250 - 7);
}

// A bar dropped outside the splitter's window stays where it was and says so: it neither hides the lists
// nor, beyond what a mouse message carries, arrives wrapped as a drop at the other end.
TEST_F(WindowSizes, ABarDroppedOutsideItsWindowStaysWhereItWas) {
    ASSERT_TRUE(Open());
    const auto before = Panes();
    for (const char* drop : {"lists 99999", "lists -1", "lists 70000", "columns -5", "columns 99999"}) {
        EXPECT_EQ(Run(std::string("kx::splitter ") + drop), "0") << drop;
        const auto after = Panes();
        for (const char* pane : {"clp", "slp", "ccp", "stored"})
            EXPECT_EQ(after.at(pane), before.at(pane)) << drop << " " << pane;
    }
    // The window's far edge less the bar's own size is a place for the bar: the lower list is hidden and
    // the upper one takes the whole column.
    const int column = Height(before.at("clp")) + Height(before.at("slp")) + 7;
    EXPECT_EQ(Run("kx::splitter lists " + std::to_string(column - 7)), "1");
    EXPECT_EQ(Height(Panes().at("clp")), column);
    EXPECT_EQ(Panes().at("slp"), "0x0");
}

TEST_F(WindowSizes, ACollapsedListStaysCollapsedAtEverySize) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::splitter collapse clp"), "1");
    EXPECT_EQ(Run("kx::splitter collapse slp"), "0"); // one list at a time
    EXPECT_EQ(Run("kx::splitter lists 100"), "0");    // no bar to drag
    for (const char* size : {"1000 700", "1100 1000"}) {
        EXPECT_EQ(Run(std::string("kx::resize ") + size), "1");
        auto panes = Panes();
        EXPECT_EQ(panes["collapsed"], "clp");
        EXPECT_EQ(Height(panes["clp"]), 20) << size; // the upper list's strip
        EXPECT_GT(Height(panes["slp"]), 500) << size;
    }
    EXPECT_EQ(Run("kx::splitter expand"), "1");
    EXPECT_EQ(Run("kx::splitter expand"), "0");
    EXPECT_EQ(Run("kx::resize 1000 800"), "1");
    auto panes = Panes();
    EXPECT_EQ(panes["collapsed"], "none");
    EXPECT_NEAR(Height(panes["clp"]), Height(panes["slp"]), 3); // the stored halves again
    // The lower list collapsed: the upper one fills the column but the bar's strip.
    EXPECT_EQ(Run("kx::splitter collapse slp"), "1");
    EXPECT_EQ(Run("kx::resize 1000 900"), "1");
    panes = Panes();
    EXPECT_EQ(panes["collapsed"], "slp");
    EXPECT_GT(Height(panes["clp"]), 700);
    EXPECT_EQ(Run("kx::splitter sideways 3").rfind("error: usage: kx::splitter", 0), 0u);
}

TEST_F(WindowSizes, TheSeparatorBetweenSideBySideGridsTradesTheirWidth) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1 R1"), "1");
    auto panes = Panes();
    const int left = Width(panes["grid 1"]);
    EXPECT_EQ(Run("kx::separator 1 -40"), "1");
    panes = Panes();
    EXPECT_EQ(Width(panes["grid 1"]), left - 40);
    EXPECT_EQ(Run("kx::separator 1 25"), "1");
    EXPECT_EQ(Width(Panes()["grid 1"]), left - 15);
    // A resized window keeps the widths the user gave the grids but the last, which takes the rest.
    EXPECT_EQ(Run("kx::resize 1400 900"), "1");
    EXPECT_EQ(Width(Panes()["grid 1"]), left - 15);
    // No grid narrower than nothing; a release beyond what a mouse message carries is refused, not
    // taken wrapped for a drag the other way.
    const int widthNow = Width(Panes()["grid 1"]);
    EXPECT_EQ(Run("kx::separator 1 -5000"), "0");
    EXPECT_EQ(Width(Panes()["grid 1"]), widthNow);
    EXPECT_EQ(Run("kx::separator 1 -100000").rfind("error: kx::separator: the separator at x", 0), 0u);
    EXPECT_EQ(Run("kx::separator 1 -65536").rfind("error:", 0), 0u);
    EXPECT_EQ(Width(Panes()["grid 1"]), widthNow);
    EXPECT_EQ(Run("kx::separator 2 10").rfind("error: the connectivity pane shows 2 grid", 0), 0u);
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::separator 1 10").rfind("error:", 0), 0u); // one grid: no separator
}

// The border that marks the pane holding the focus: nothing is marked while the window opens; a click on
// the connectivity pane's background marks it, and a list that takes the focus from the pane is marked then.
TEST_F(WindowSizes, TheFocusedPaneIsMarkedOnceTheWindowIsOpen) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Panes()["highlight"], "none none");
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::focus ccp"), "1");
    EXPECT_EQ(Run("kx::focus"), "ccp");
    EXPECT_EQ(Panes()["highlight"], "ccp none");
    EXPECT_EQ(Run("kx::focus slp"), "1");
    EXPECT_EQ(Panes()["highlight"], "none slp"); // the list is a pane of the inner splitter only
    // A grid of the pane takes the focus without marking anything anew.
    EXPECT_EQ(Run("kx::focus ccp 1"), "1");
    EXPECT_EQ(Panes()["highlight"], "none slp");
    EXPECT_EQ(Run("kx::focus ccp 1 2").rfind("error: usage: kx::focus", 0), 0u);
}

// The component list's group request: one pin grid of the components' pins, edited, undone and replayed.
TEST_F(WindowSizes, AGroupOfComponentsIsShownInOneGridThatEditsAndReplays) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("kx::show clp -group U1 R1"), "1");
    const std::string shown = Run("kx::window ccp");
    EXPECT_NE(shown.find("grid 1 (active): group component \"U1 R1\""), std::string::npos) << shown;
    EXPECT_EQ(shown.find("grid 2"), std::string::npos) << shown; // one grid, not two side by side
    EXPECT_NE(Run("kx::objects").find("beam Component: Multiple Selection"), std::string::npos);
    // The same names without -group stand side by side.
    ASSERT_EQ(Run("kx::show clp U1 R1"), "1");
    EXPECT_NE(Run("kx::window ccp").find("grid 2"), std::string::npos);
    ASSERT_EQ(Run("kx::show clp -group U1 R1"), "1");
    // A header click sorts the group's grid: the journal shows the group again before it.
    EXPECT_EQ(Run("kx::click ccp 2 4"), "1");
    EXPECT_NE(JournalText().find("Clp().SelectGroup(\"U1 R1\")\n\n ' --- Sort ---"), std::string::npos) << JournalText();
    // R1's pin B, a row of the group grid: its Signal cell typed.
    std::istringstream rows(Run("kx::window ccp"));
    int row = 0;
    for (std::string line; std::getline(rows, line);)
        if (line.find(": R1 | ") != std::string::npos && line.find(" | B | ") != std::string::npos)
            row = std::atoi(line.c_str());
    ASSERT_GT(row, 0) << Run("kx::window ccp");
    const std::string signalColumn = "7"; // Instance, Ref Des, ..., Pin Name 4, Pin Number 5, Pin Type 6, Signal 7
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(row) + " " + signalColumn + " GROUPNET"), "1");
    EXPECT_NE(Run("kx::netlist").find("R1 B GROUPNET"), std::string::npos) << Run("kx::netlist");
    EXPECT_EQ(Word("undo"), 1);
    EXPECT_EQ(Run("kx::netlist").find("GROUPNET"), std::string::npos);
    EXPECT_EQ(Word("redo"), 1);
    // Refusals name their cause; the automation method is the journal's road to the same grid.
    EXPECT_EQ(Run("kx::show clp -group U1 NOPE"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-250"});
    EXPECT_EQ(Run("kx::pane clp SelectGroup {U1 R1}"), "1");
    EXPECT_NE(Run("kx::window ccp").find("group component \"U1 R1\""), std::string::npos);
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Word("saveDesign"), 1);
    EXPECT_NE(ReplayedSnapshot("work.board:sch").find("GROUPNET"), std::string::npos);
    (void)netlist;
}

// The physical view's parts, with package pins.
class PhysicalWindowSizes : public WindowSizes {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        b.symbol("res").port("A").port("B").packagePin("1", "A").packagePin("2", "B");
        b.schematic("board").instance("R1", "res", "R1");
        b.connect("R1", "A", "N1").connect("R1", "B", "GND").pinNumber("R1", "A", "1").pinNumber("R1", "B", "2");
    }
};

TEST_F(PhysicalWindowSizes, ThePartHeaderBarTakesASecondLineWhenTheGridIsNarrow) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp R1"), "1");
    EXPECT_EQ(Run("kx::resize 1600 900"), "1");
    std::string header = Panes()["header"];
    EXPECT_EQ(header.rfind("one line, Function list at ", 0), 0u) << header;
    EXPECT_NE(header.find(",1, bar"), std::string::npos) << header; // the list at the top
    EXPECT_EQ(Run("kx::resize 700 900"), "1");
    header = Panes()["header"];
    EXPECT_EQ(header.rfind("two lines, Function list at ", 0), 0u) << header;
    EXPECT_EQ(Run("kx::resize 1600 900"), "1");
    EXPECT_EQ(Panes()["header"].rfind("one line", 0), 0u);
    // Its parts each have a grid: no group of them.
    EXPECT_EQ(Run("kx::show clp -group R1 R1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-731"});
}

} // namespace
