// Removing a stored matrix view: from the list's menu while the view is shown,
// by the automation method the journal replays, and what is refused.
#include "MatrixTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

constexpr UINT kRemoveMatrixView = 35678;

class MatrixViews : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Views()->CreateView("keep");
        Views()->AddInstanceToMatrixView("keep", "@U1");
        ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    }
};

TEST_F(MatrixViews, TheMenuRemovesTheShownViewAndClosesItsWindow) {
    const std::string netlist = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run("kx::menu " + std::to_string(kRemoveMatrixView)), "1") << Transcript();
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Views()->HasView("v"));
    EXPECT_TRUE(Views()->HasView("keep"));
    EXPECT_EQ(Grid(), nullptr);
    EXPECT_TRUE(Doc()->IsModified());
    // The design's connections are not touched.
    EXPECT_EQ(Run("kx::netlist"), netlist);
    // With no matrix shown the command is disabled.
    EXPECT_EQ(Run("kx::menu " + std::to_string(kRemoveMatrixView)), "0");
}

TEST_F(MatrixViews, TheAutomationMethodRemovesAViewByNameAndRefusesAnUnknownOne) {
    EXPECT_EQ(Run("kx::pane RemoveMatrixView keep"), "1");
    EXPECT_FALSE(Views()->HasView("keep"));
    // The shown view stays shown.
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
    Messages();
    EXPECT_EQ(Run("kx::pane RemoveMatrixView keep"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-405"});
    EXPECT_TRUE(Views()->HasView("v"));
}

TEST_F(MatrixViews, ARemovalIsOneUndoStepThatPutsTheViewBackInItsPlace) {
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::menu " + std::to_string(kRemoveMatrixView)), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    std::vector<CString> names, paths;
    Views()->GetViewNames(names);
    EXPECT_EQ(names, (std::vector<CString>{"keep", "v"}));
    Views()->GetMatrixComponentList("v", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@U1", "@J1"}));
    Views()->GetMatrixSignalList("v", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@:N1", "@:DATA<1>"}));
    // Its window is back too.
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
    EXPECT_FALSE(Rows("DATA<1>").empty());
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_FALSE(Views()->HasView("v"));
    EXPECT_EQ(Grid(), nullptr);
    EXPECT_TRUE(Doc()->IsModified());
    // Undone once more, it is back once more.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Views()->HasView("v"));
}

TEST_F(MatrixViews, ARemovalAndItsUndoReplayToTheSameViews) {
    const std::filesystem::path journal = m_dir / "undo.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_EQ(Run("kx::pane RemoveMatrixView keep"), "1");
    ASSERT_EQ(Run("kx::pane RemoveMatrixView v"), "1");
    ASSERT_EQ(Run("undo"), "1");
    Run("kx::journal");
    std::vector<CString> names;
    Views()->GetViewNames(names);
    ASSERT_EQ(names, std::vector<CString>{"v"});
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Back to the views before the recording, then the replay.
    Views()->InsertView(0, "keep", {"@U1"}, {});
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1") << lines;
    Views()->GetViewNames(names);
    EXPECT_EQ(names, std::vector<CString>{"v"});
}

TEST_F(MatrixViews, ARemovalIsJournalledAndReplays) {
    const std::filesystem::path journal = m_dir / "views.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_EQ(Run("kx::pane RemoveMatrixView v"), "1");
    Run("kx::journal");
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(lines.find("ConnectivityPane().RemoveMatrixView(\"v\")"), std::string::npos) << lines;
    // The view comes back; the replay removes it again.
    Views()->CreateView("v");
    ASSERT_TRUE(Views()->HasView("v"));
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_FALSE(Views()->HasView("v"));
}

} // namespace

namespace {

class MatrixSaveAs : public MatrixViews {};

TEST_F(MatrixSaveAs, TheShownViewIsStoredUnderANewNameAndShown) {
    EXPECT_EQ(Run("kx::pane SaveAsMatrixView copy"), "1");
    ASSERT_TRUE(Views()->HasView("copy"));
    std::vector<CString> from, to;
    Views()->GetMatrixComponentList("v", from);
    Views()->GetMatrixComponentList("copy", to);
    EXPECT_EQ(from, to);
    from.clear();
    to.clear();
    Views()->GetMatrixSignalList("v", from);
    Views()->GetMatrixSignalList("copy", to);
    EXPECT_EQ(from, to);
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("copy"));
    EXPECT_FALSE(Rows("DATA<1>").empty());
    // A change to the copy leaves the original as it was.
    EXPECT_EQ(Run("matrixAdd pin signal FREE"), "1");
    Views()->GetMatrixSignalList("v", from);
    EXPECT_EQ(std::count(from.begin(), from.end(), CString("@:FREE")), 0);
}

TEST_F(MatrixSaveAs, ASaveAsIsJournalledAndReplays) {
    const std::filesystem::path journal = m_dir / "saveas.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_EQ(Run("kx::pane SaveAsMatrixView copy"), "1");
    Run("kx::journal");
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(lines.find("ConnectivityPane().SaveAsMatrixView(\"copy\")"), std::string::npos) << lines;
    ASSERT_EQ(Run("kx::pane RemoveMatrixView copy"), "1");
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_TRUE(Views()->HasView("copy"));
}

TEST_F(MatrixSaveAs, UndoTakesTheCopyAwayAndRedoBringsItBack) {
    ASSERT_EQ(Run("kx::pane SaveAsMatrixView copy"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Views()->HasView("copy"));
    EXPECT_TRUE(Views()->HasView("v"));
    EXPECT_EQ(Run("redo"), "1");
    std::vector<CString> paths;
    Views()->GetMatrixComponentList("copy", paths);
    EXPECT_EQ(paths, (std::vector<CString>{"@U1", "@J1"}));
    EXPECT_EQ(Grid()->ViewName(), CString("copy"));
}

TEST_F(MatrixSaveAs, ATakenOrEmptyNameIsRefusedAndNothingIsStored) {
    std::vector<CString> before;
    Views()->GetViewNames(before);
    Messages();
    EXPECT_EQ(Run("kx::pane SaveAsMatrixView keep"), "0");
    EXPECT_EQ(Run("kx::pane SaveAsMatrixView {}"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-406", "KXPANE-406"}));
    std::vector<CString> after;
    Views()->GetViewNames(after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
}

// Opening a name the design has no view of stores an empty view: an undo step like any other change
// to the stored views, journalled so that a replay stores it again.
TEST_F(MatrixViews, OpeningANewNameIsOneUndoStepThatReplays) {
    const std::filesystem::path journal = m_dir / "open.vbs";
    Run("kx::journal " + journal.string());
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("openMatrixView pin fresh"), "1");
    Run("kx::journal");
    EXPECT_TRUE(Views()->HasView("fresh"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("fresh"));
    // Opening it again stores nothing more and adds no step.
    ASSERT_EQ(Run("openMatrixView pin fresh"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    std::vector<CString> names;
    Views()->GetViewNames(names);
    EXPECT_EQ(names, (std::vector<CString>{"keep", "v"}));
    EXPECT_EQ(Grid(), nullptr);
    // The pane's title names the closed view no more.
    EXPECT_EQ(Run("kx::window ccp").find("fresh"), std::string::npos) << Run("kx::window ccp");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Views()->HasView("fresh"));
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("fresh"));
    EXPECT_EQ(Run("undo"), "1");
    ASSERT_FALSE(Views()->HasView("fresh"));
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(lines.find("ConnectivityPane().OpenMatrixView(\"fresh\")"), std::string::npos) << lines;
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1") << lines;
    EXPECT_TRUE(Views()->HasView("fresh"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

TEST_F(MatrixViews, ThePhysicalViewOpensNoNewView) {
    CMatrixViewData* views = Views();
    ASSERT_EQ(Word("physicalView -nosave"), 1);
    Messages();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("openMatrixView pin fresh"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-178"});
    EXPECT_FALSE(views->HasView("fresh"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

namespace {

std::vector<CString> SignalPaths(CMatrixViewData* views, const char* view) {
    std::vector<CString> paths;
    views->GetMatrixSignalList(view, paths);
    return paths;
}

} // namespace

// The schematic tool renames nets the stored views list (the shown one and one not shown; a scalar net and
// a bus): each view keeps them under their new names, and back again, so that the views' definitions, a
// fresh load of a view and the saved notes name the nets the design has.
TEST_F(MatrixViews, ANetTheSchematicToolRenamesStaysInTheStoredViewsUnderItsNewName) {
    Views()->InsertView(2, "other", {"@J1"}, {"@:DATA<0>", "@:N1"});
    ASSERT_EQ(Run("kx::schematic net N1 N7"), "1");
    ASSERT_EQ(Run("kx::schematic net DATA BUS"), "1");
    EXPECT_EQ(SignalPaths(Views(), "v"), (std::vector<CString>{"@:N7", "@:BUS<1>"}));
    EXPECT_EQ(SignalPaths(Views(), "other"), (std::vector<CString>{"@:BUS<0>", "@:N7"}));
    // The definition of the shown view, as Edit Matrix View presets it, is what the view shows.
    Messages();
    Run("kx::answer dialog CKXMatrixViewDlg ok");
    EXPECT_EQ(Run("kx::menu 35706"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-621"});
    Run("kx::answer dialog CKXMatrixViewDlg ok name v components {U1 J1} signals {N7 BUS<1>}");
    EXPECT_EQ(Run("kx::menu 35706"), "0");
    // The window shows the rows it showed, under the new names, and so does the view loaded afresh.
    for (int fresh = 0; fresh < 2; ++fresh) {
        EXPECT_EQ(Rows("N7").size(), 2u) << "fresh " << fresh;
        EXPECT_EQ(Rows("BUS<1>").size(), 1u) << "fresh " << fresh;
        EXPECT_EQ(Rows("N1").size(), 0u) << "fresh " << fresh;
        Grid()->LoadMatrixView("v");
    }
    ASSERT_EQ(Run("kx::schematic net N7 N1"), "1");
    ASSERT_EQ(Run("kx::schematic net BUS DATA"), "1");
    EXPECT_EQ(SignalPaths(Views(), "v"), (std::vector<CString>{"@:N1", "@:DATA<1>"}));
    EXPECT_EQ(SignalPaths(Views(), "other"), (std::vector<CString>{"@:DATA<0>", "@:N1"}));
}

// So does a component the schematic tool renames: it keeps its group, in its place, in every view.
TEST_F(MatrixViews, AComponentTheSchematicToolRenamesStaysInTheStoredViewsUnderItsNewName) {
    const auto components = [this](const char* view) {
        std::vector<CString> paths;
        Views()->GetMatrixComponentList(view, paths);
        return paths;
    };
    ASSERT_EQ(Run("kx::schematic instance U1 U9"), "1");
    EXPECT_EQ(components("v"), (std::vector<CString>{"@U9", "@J1"}));
    EXPECT_EQ(components("keep"), std::vector<CString>{"@U9"});
    Grid()->LoadMatrixView("v");
    ASSERT_EQ(Grid()->GroupCount(), 2);
    EXPECT_NE(Cell(0, G::ColumnOf(0, 0)).Find("U9"), -1) << Cell(0, G::ColumnOf(0, 0)).GetString();
    ASSERT_EQ(Run("kx::schematic instance U9 U1"), "1");
    EXPECT_EQ(components("v"), (std::vector<CString>{"@U1", "@J1"}));
}

// A stored view opened by its name, by the automation method or from the list's menu is journalled: the
// replay shows the view the user opened, so that the lines after it act on the view the user saw.
TEST_F(MatrixViews, OpeningAStoredViewIsJournalledOnEveryRoad) {
    const std::filesystem::path journal = m_dir / "open.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_EQ(Run("openMatrixView pin keep"), "1");
    ASSERT_EQ(Run("kx::pane OpenMatrixView v"), "1");
    ASSERT_EQ(Run("kx::menu 35679"), "1"); // the first stored view: keep
    Run("kx::journal");
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("keep"));
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> opened;
    for (size_t at = lines.find("OpenMatrixView(\""); at != std::string::npos;
         at = lines.find("OpenMatrixView(\"", at + 1))
        opened.push_back(lines.substr(at + 16, lines.find('"', at + 16) - at - 16));
    EXPECT_EQ(opened, (std::vector<std::string>{"keep", "v", "keep"})) << lines;
    ASSERT_EQ(Run("openMatrixView pin v"), "1");
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1") << lines;
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("keep"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps); // opening a stored view is no step
}

// Another window's steps move the stored views; undo and redo here put each view back at the place it had
// when the step was undone, so the menu's view items and the saved notes keep their order.
TEST_F(MatrixViews, UndoAndRedoKeepEachViewsPlaceAcrossTwoWindows) {
    auto names = [this] {
        std::vector<CString> list;
        Views()->GetViewNames(list);
        return list;
    };
    ASSERT_EQ(Run("openMatrixView pin V2"), "1");
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_EQ(Run("kx::pane RemoveMatrixView V2"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("openMatrixView pin V3"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Run("kx::answer question KXCOMMON-101 no");
    ASSERT_EQ(Run("kx::close"), "1");
    const std::vector<CString> order{"keep", "v", "V2", "V3"};
    ASSERT_EQ(names(), order); // the second window's removal taken back: V2 at its place
    for (const char* step : {"undo", "undo", "redo", "redo"})
        ASSERT_EQ(Run(step), "1") << step;
    EXPECT_EQ(names(), order);
}

} // namespace

namespace {

// Several windows of one design show one store of views: a view that leaves the store (removed, or its
// creation undone, in another window) leaves every window that shows it, and nothing added there brings it
// back behind the user's back.
class MatrixViewsInTwoWindows : public MatrixViews {
protected:
    void SetUp() override {
        MatrixViews::SetUp();
        ASSERT_TRUE(Open("work.board:sch", 1));
    }
    std::vector<CString> Names() {
        std::vector<CString> names;
        Views()->GetViewNames(names);
        return names;
    }
};

TEST_F(MatrixViewsInTwoWindows, AViewRemovedInOneWindowLeavesTheOtherWindowShowingIt) {
    ASSERT_EQ(Run("openMatrixView pin v"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("kx::pane RemoveMatrixView v"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Grid(), nullptr);
    EXPECT_EQ(Run("kx::window ccp").find("Matrix Connectivity View - v"), std::string::npos) << Run("kx::window ccp");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("matrixAdd pin signal GND"), "0");
    EXPECT_EQ(Names(), std::vector<CString>{"keep"});
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

// Both windows follow the rename in the one store they share: the view names the net once, as renamed.
TEST_F(MatrixViewsInTwoWindows, ANetRenamedWhileTwoWindowsShowTheViewIsRenamedOnceInIt) {
    ASSERT_EQ(Run("openMatrixView pin v"), "1");
    ASSERT_EQ(Run("kx::schematic net N1 N7"), "1");
    ASSERT_EQ(Run("kx::schematic net N7 N8"), "1");
    EXPECT_EQ(SignalPaths(Views(), "v"), (std::vector<CString>{"@:N8", "@:DATA<1>"}));
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_EQ(Rows("N8").size(), 2u);
    Grid()->LoadMatrixView("v");
    EXPECT_EQ(Rows("N8").size(), 2u);
}

TEST_F(MatrixViewsInTwoWindows, AViewWhoseCreationIsUndoneLeavesTheOtherWindowAndStaysGone) {
    ASSERT_EQ(Run("openMatrixView pin fresh"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("openMatrixView pin fresh"), "1");
    ASSERT_NE(Grid(), nullptr);
    ASSERT_EQ(Run("kx::tab 2"), "1");
    // Closed without saving, the second window takes its view away again.
    Run("kx::answer question KXCOMMON-101 no");
    ASSERT_EQ(Run("kx::close"), "1");
    ASSERT_EQ(Names(), (std::vector<CString>{"keep", "v"}));
    EXPECT_EQ(Grid(), nullptr);
    // A drop on what the window shows now neither stores the view again nor leaves an empty one behind.
    Run("matrixAdd pin signal GND");
    Run("undo");
    EXPECT_EQ(Names(), (std::vector<CString>{"keep", "v"}));
}

} // namespace
