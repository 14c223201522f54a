// The design window's geometry through the user's hands: the main window resized, the splitter bars
// dragged, a list collapsed, the separator between side-by-side grids dragged, read with kx::panes.
#include "KXShellFixture.h"
#include "afx/afxwin.h"

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
    EXPECT_EQ(Run("kx::separator 1 -100000"), "0"); // no grid narrower than nothing
    EXPECT_EQ(Run("kx::separator 2 10").rfind("error: the connectivity pane shows 2 grid", 0), 0u);
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::separator 1 10").rfind("error:", 0), 0u); // one grid: no separator
}

} // namespace
