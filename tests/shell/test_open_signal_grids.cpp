// Signal grids kept open while the design changes elsewhere: in this window's other grids and in other
// windows on the same design, after the edit, its undo and its redo, they show what a grid made then
// shows. And a grid of several signals keeps them all selected in the signal list.
#include "KXDemoBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

class OpenSignalGrids : public DemoBoard {
protected:
    // The active grid's data rows as `kx::window ccp` writes them (cells only), sorted.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        std::istringstream in(Run("kx::window ccp"));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("    ", 0) != 0) continue;
            const size_t colon = line.find(": ");
            if (colon == std::string::npos || std::atoi(line.c_str() + 4) < 5) continue;
            std::string cells = line.substr(colon + 2);
            if (std::none_of(cells.begin(), cells.end(), [](unsigned char c) { return std::isalnum(c); })) continue;
            rows.push_back(cells);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    struct View {
        int window;
        std::string signals;
    };
    // Each view (a window and the signals its grid shows) against a grid made now in a new window.
    void ExpectEveryGridAsANewOne(const std::vector<View>& views, const std::string& when) {
        ASSERT_EQ(Run("kx::open demo.board:sch 3"), "1");
        std::map<std::string, std::vector<std::string>> fresh;
        for (const View& v : views)
            if (!fresh.count(v.signals)) {
                ASSERT_EQ(Run("kx::show slp " + v.signals), "1");
                fresh[v.signals] = Rows();
            }
        for (const View& v : views) {
            ASSERT_EQ(Run("kx::tab " + std::to_string(v.window)), "1");
            ASSERT_EQ(Run("kx::show slp " + v.signals), "1");
            EXPECT_EQ(Rows(), fresh[v.signals]) << when << ": window " << v.window << ", " << v.signals;
        }
    }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// One bit of U2's DQ moved from DQ to ADDR<5> in window 4's ADDR grid: the bits U2 keeps on DQ stay in
// every open grid of DQ (its own window's, other windows' whole-net, group and net-bit grids), the
// moved bit leaves them, and undo and redo bring each grid where a new one would be.
TEST_F(OpenSignalGrids, APartialBitMoveIsFollowedByEveryOpenGrid) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp DQ"));
    ASSERT_EQ(Run("kx::open demo.board:sch 3; kx::show slp DQ ADDR"), "1");
    ASSERT_EQ(Run("kx::open demo.board:sch 3; kx::show slp DQ<2> DQ<3>"), "1");
    ASSERT_EQ(Run("kx::open demo.board:sch 3; kx::show slp DQ; kx::show slp ADDR"), "1");
    ASSERT_EQ(Run("kx::drop ccp 7 6 component U2"), "1");
    ASSERT_EQ(Run("kx::edit ccp 7 8 {DQ<2>}"), "1");
    ASSERT_EQ(Run("kx::edit ccp 7 3 5"), "1");
    Run("kx::answer question * yes");
    ASSERT_EQ(Run("kx::edit ccp 7 4 5"), "1");
    const std::string netlist = Run("kx::netlist");
    ASSERT_TRUE(Contains(netlist, "U2 DQ<2> ADDR<5>")) << netlist;
    ASSERT_TRUE(Contains(netlist, "U2 DQ<3> DQ<3>")) << netlist;

    const std::vector<View> views = {{1, "DQ"}, {2, "DQ ADDR"}, {3, "DQ<2> DQ<3>"}, {4, "DQ"}, {4, "ADDR"}};
    ExpectEveryGridAsANewOne(views, "after the move");
    ASSERT_EQ(Run("kx::tab 4; undo"), "1");
    ExpectEveryGridAsANewOne(views, "after undo");
    ASSERT_EQ(Run("kx::tab 4; redo"), "1");
    ExpectEveryGridAsANewOne(views, "after redo");
}

// A grid of several signals leaves them all selected in the signal list when a cell of it is
// selected; a pin typed into a row without its bits is refused there, and nothing changes.
TEST_F(OpenSignalGrids, AGridOfSeveralSignalsKeepsThemSelectedInTheList) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp DQ ADDR"));
    EXPECT_EQ(Run("kx::window slp selected"), "ADDR\nDQ");
    Run("kx::select ccp 6 6");
    EXPECT_EQ(Run("kx::window slp selected"), "ADDR\nDQ");
    const DesignMark mark = MarkDesign();
    ASSERT_EQ(Run("kx::edit ccp 9 1 DQ"), "1");
    ASSERT_EQ(Run("kx::edit ccp 9 6 U2"), "1");
    Messages();
    EXPECT_EQ(Run("kx::edit ccp 9 8 {DQ<2>}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-146"});
    ExpectUnchangedSince(mark);
    EXPECT_EQ(Run("kx::window slp selected"), "ADDR\nDQ");
}

} // namespace
