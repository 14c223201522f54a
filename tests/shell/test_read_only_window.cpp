// A window that may not edit (a block in the context of its parent, open mode 2) refuses every edit on
// every road with one message and writes nothing; the blocks a window opens within it and the rules of
// each mode; the refusals whose cause is the open mode name the mode.
#include "KXDemoBoard.h"

#include "grid/KXGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Road {
    const char* name;
    const char* setup;  // run first; its messages are not the road's
    const char* line;   // the road
    bool answers = true; // the road answers for itself (a key's answer is the host's)
};

class ReadOnlyWindow : public DemoBoard {
protected:
    // Takes the road in the read-only window: it refuses saying only that the window cannot edit, and
    // changes nothing.
    void ExpectRefusedByTheWindow(const Road& road) {
        SCOPED_TRACE(road.name);
        ASSERT_NE(Run(road.setup).rfind("error", 0), 0u) << road.setup;
        Messages();
        const DesignMark mark = MarkDesign();
        const bool modified = Doc()->IsModified();
        const std::string answer = Run(road.line);
        if (road.answers) {
            EXPECT_EQ(answer, "0");
        }
        EXPECT_EQ(Messages(), Said("KXTABLE-382"));
        ExpectUnchangedSince(mark, road.name);
        EXPECT_EQ(Doc()->IsModified(), modified);
    }
    // Every file of the example library, by name.
    std::map<std::string, std::string> LibraryFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(m_dir / "demo")) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            files[entry.path().filename().string()] = text.str();
        }
        return files;
    }
    static std::vector<std::string> Said(const std::string& id) { return {id}; }
    void CloseAll() {
        for (int i = 0; i < 10 && Run("closeDesign -nosave") == "1"; ++i) {
        }
    }
};

// The roads to an edit of a read-only window, each of which wrote, said another reason or said nothing.
const Road kRoads[] = {
    {"TerminationDelay", "kx::show clp U1; kx::select ccp 40 8", "kx::pane ChangeDelay 7ns"},
    {"CustomColumnValue",
     "kx::show clp U1; kx::pane AddPropColumn {MYPROP|My Prop|8s|PINPROP|SHOW}; kx::select ccp 41 7",
     "kx::pane ChangePropValue MYPROP v1"},
    {"SwapPins", "kx::show clp U1; kx::select ccp 40 4", "kx::pane SwapPins C10"},
    {"TerminationSetUp", "kx::show clp U1; kx::select ccp 41 8", "catch {kx::pane InitTermination {}}"},
    {"PullUpSetUp", "kx::show clp U1; kx::select ccp 41 9", "catch {kx::pane InitPUPD {}}"},
    {"AddTerminationWord", "kx::show clp U1; kx::select ccp 41 8", "addTermination pin"},
    {"AddPupdWord", "kx::show clp U1; kx::select ccp 41 9", "addPupd pin -type pullup -dcnet VCC3V3"},
    {"EditPupdWord", "kx::show clp U1; kx::select ccp 41 9", "editPupd pin -name RP1 -refdes RP9"},
    {"DeleteKeyOnASignalRow", "kx::show slp EN; kx::select ccp 5 6", "kx::key ccp Delete", false},
    {"RemoveDiffPairPin", "kx::show clp U1", "kx::pane RemoveDiffPairPin"},
    {"AssignModelOnASignalGrid", "kx::show slp EN; kx::select ccp 5 6", "assignModel pin IBIS_IN"},
};

TEST_F(ReadOnlyWindow, EveryRoadToAnEditSaysOnceThatTheWindowCannotEditAndNothingIsSaved) {
    ASSERT_EQ(setenv("KX_ALLOW_SWAP_PINS", "1", 1), 0);
    const std::map<std::string, std::string> before = LibraryFiles();
    ASSERT_TRUE(OpenBoard(2));
    for (const Road& road : kRoads)
        ExpectRefusedByTheWindow(road);
    unsetenv("KX_ALLOW_SWAP_PINS");
    // Nothing changed: the save writes nothing and says so.
    EXPECT_EQ(Run("saveDesign"), "0");
    const std::map<std::string, std::string> after = LibraryFiles();
    EXPECT_EQ(after.at("board.sch.design"), before.at("board.sch.design"));
    EXPECT_EQ(after.at("PWR.sch.design"), before.at("PWR.sch.design"));
}

// Edits whose operands or selection are wrong as well, and the lists' edits: the window's mode is said
// first, and only it.
const Road kEditsWrongTwice[] = {
    {"DesignCommentWord", "", "designComment add x"},
    {"ImportInterfaceWord", "", "importInterface -inst U1 -file none.txt"},
    {"EditLogicalPinWord", "kx::show clp U1", "editLogicalPin pin"},
    {"DesignCommentMethod", "", "kx::call InsertComment c"},
    {"DeleteAliasWithoutNames", "", "kx::call DeleteAlias {} {}"},
    {"AddComponentWithoutAPart", "", "kx::call AddComponent {} {} {} {} {} {} {}"},
    {"ModifyComponentWithoutOne", "", "kx::call ModifyComponent {} {}"},
    {"RetainPullUpWithNothingShown", "", "kx::pane RetainPUPD {}"},
    {"PinNumberOnAMatrix", "kx::pane CreateMatrixView V1 {U1} {MCLK}", "kx::pane AssignPinNumber C9"},
    {"MatrixPasteWithNoMatrix", "kx::show clp U1", "kx::pane MatrixPasteAssoc {} {} {} {} {} {} {}"},
    {"CodesignWithoutComponents", "", "kx::pane clp MarkAsCodesign {} 0"},
    {"AutoNameMenuOnASignalGrid", "kx::show slp MCLK; kx::select ccp 5 8", "kx::menu 35255"},
    {"SameAsPinNameMenuOnASignalGrid", "kx::show slp MCLK; kx::select ccp 5 8", "kx::menu 35256"},
    // The lists' own edits, which reach the design without a grid of the window.
    {"DeleteRefDes", "kx::select clp R2", "kx::call DeleteRefDes"},
    {"AddSignal", "", "kx::call AddSignal NEWSIG {} {} {}"},
    {"DeleteComponent", "", "kx::call DeleteComponent R2"},
    {"AliasNets", "", "kx::call AliasNets MCLK EN"},
    {"DeleteInstanceNotice", "", "kx::notify INT_MSG_DELETE_INSTANCE -text R2"},
    // The host's roads and the physical view's block filter, which another mode refuses for its own cause.
    {"InstanceConnectivityDialog", "", "kx::instconn U1"},
    {"ClipboardViewerItem", "selectWindow clp", "kx::clipview 1"},
    {"BlockFilterWord", "", "filterBlock -exclude PWR1"},
    {"BlockFilterMethod", "", "kx::call FilterBlock -exclude PWR1"},
};

TEST_F(ReadOnlyWindow, AnEditOnAnyRoadSaysFirstThatTheWindowCannotEditWhateverElseIsWrong) {
    ASSERT_TRUE(OpenBoard(2));
    for (const Road& road : kEditsWrongTwice)
        ExpectRefusedByTheWindow(road);
}

// The stored matrix views are kept with the design's comments: a read-only window changes none of them,
// on any road, and a save writes none.
const Road kStoredViewEdits[] = {
    {"MatrixAddComponent", "openMatrixView pin V1", "matrixAdd pin component U2"},
    {"MatrixAddSignal", "openMatrixView pin V1", "matrixAdd pin signal EN"},
    {"DropOnTheMatrix", "openMatrixView pin V1", "kx::drop ccp 5 4 component U2"},
    {"CreateMethod", "", "kx::pane CreateMatrixView V2 {U1} {MCLK}"},
    {"CreateMenu", "kx::answer dialog CKXMatrixViewDlg ok name V2 components {U1} signals {MCLK}",
     "kx::menu 35676"},
    {"EditMethod", "", "kx::pane EditMatrixView V1 V2 {U1 U2} {MCLK}"},
    {"SaveAsMethod", "openMatrixView pin V1", "kx::pane SaveAsMatrixView V3"},
    {"RemoveMethod", "", "kx::pane RemoveMatrixView V1"},
    {"RemoveMenu", "openMatrixView pin V1", "kx::menu 35678"},
};

TEST_F(ReadOnlyWindow, TheStoredMatrixViewsStayAsTheyAre) {
    ASSERT_TRUE(OpenBoard(3, "kx::pane CreateMatrixView V1 {U1} {MCLK}"));
    ASSERT_EQ(Run("saveDesign"), "1");
    Run("closeDesign -nosave");
    const std::map<std::string, std::string> before = LibraryFiles();
    ASSERT_TRUE(OpenBoard(2));
    for (const Road& road : kStoredViewEdits)
        ExpectRefusedByTheWindow(road);
    // A name the block keeps no view of opens nothing: the window would store it.
    const DesignMark mark = MarkDesign();
    Messages();
    EXPECT_EQ(Run("openMatrixView pin V9"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-382"));
    EXPECT_EQ(Run("kx::pane OpenMatrixView V9"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-382"));
    EXPECT_EQ(Run("openMatrixView pin V1"), "1");
    ExpectUnchangedSince(mark);
    EXPECT_FALSE(Doc()->IsModified());
    // Nothing changed: the save writes nothing (the notes file stays as it was) and says so.
    EXPECT_EQ(Run("saveDesign"), "0");
    const std::string notes = LibraryFiles().at("board.TableEditor.notes");
    EXPECT_EQ(notes.find("V9"), std::string::npos);
    EXPECT_EQ(notes.find("V2"), std::string::npos);
    EXPECT_EQ(notes.find("V3"), std::string::npos);
    EXPECT_EQ(notes.find("@U2"), std::string::npos);
    EXPECT_NE(notes.find("V\tV1"), std::string::npos);
    EXPECT_EQ(LibraryFiles().at("board.sch.design"), before.at("board.sch.design"));
}

// The host's Assign Power asks for nothing in a read-only window: it says once why it changes nothing.
TEST_F(ReadOnlyWindow, AssignPowerSaysOnlyThatTheWindowCannotEdit) {
    ASSERT_TRUE(OpenBoard(2));
    Run("kx::select clp U2; kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3");
    Messages();
    const DesignMark mark = MarkDesign();
    Run("kx::notify INT_MSG_ASSIGN_POWER");
    EXPECT_EQ(Messages(), Said("KXTABLE-382"));
    ExpectUnchangedSince(mark);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ReadOnlyWindow, OpeningAViewLeavesTheDocumentUnmodified) {
    ASSERT_TRUE(OpenBoard(3, "kx::pane CreateMatrixView V2 {U1} {MCLK}; kx::pane CreateMatrixView V3 {U2} {EN}"));
    ASSERT_EQ(Run("saveDesign"), "1");
    Run("closeDesign -nosave");
    ASSERT_TRUE(OpenBoard(2));
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("openMatrixView pin V2"), "1");
    EXPECT_EQ(Run("kx::pane OpenMatrixView V3"), "1");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ReadOnlyWindow, TheViewOnlyPullUpDialogAnsweredOkCommitsNothing) {
    // The view is made and saved in a window that edits; the read-only window shows it.
    ASSERT_TRUE(OpenBoard(3, "kx::pane CreateMatrixView V1 {U1 U2} {RESET_N MCLK EN}"));
    ASSERT_EQ(Run("saveDesign"), "1");
    Run("closeDesign -nosave");
    ASSERT_TRUE(OpenBoard(2, "openMatrixView pin V1; kx::select ccp 7 3"));
    ASSERT_FALSE(Doc()->IsModified());
    EXPECT_NE(Run("kx::menustate 35509").find("View Pullup/Pulldown"), std::string::npos);
    const DesignMark mark = MarkDesign();
    Run("kx::answer dialog CKXPupdEditDlg ok");
    EXPECT_EQ(Run("kx::menu 35509"), "2");
    ExpectUnchangedSince(mark);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ReadOnlyWindow, LeadsToNoWindowThatEdits) {
    ASSERT_TRUE(OpenBoard(3, "kx::select clp PWR1; kx::call Descend"));
    ASSERT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    Messages();
    EXPECT_EQ(Run("physicalView"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-382"));
    EXPECT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    // The menu's view switch refuses as the word does: it is not offered.
    EXPECT_EQ(Run("kx::menustate 35563").rfind("disabled", 0), 0u);
    EXPECT_EQ(Run("kx::menu 35563"), "0");
    EXPECT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    // Its blocks open read-only too.
    EXPECT_EQ(Run("kx::open -block U10 3"), "0");
}

// ------------------------------------------------------------------ blocks within their parent

TEST_F(ReadOnlyWindow, ABlockOpenedWithinItsParentFollowsTheRulesOfItsMode) {
    struct ModeRules {
        int mode;
        bool edits, pinComments;
    };
    for (const ModeRules rules : {ModeRules{2, false, false}, ModeRules{3, true, true}, ModeRules{6, true, false}}) {
        SCOPED_TRACE(rules.mode);
        ASSERT_TRUE(OpenBoard(3));
        ASSERT_EQ(Run("kx::open -block PWR1 " + std::to_string(rules.mode)), "1");
        ASSERT_EQ(Doc()->GetOpenMode(), rules.mode);
        ASSERT_NE(Run("kx::show clp U10; kx::select ccp 6 8").rfind("error", 0), 0u);
        Messages();
        EXPECT_EQ(Run("addComment pin hello EN"), rules.pinComments ? "1" : "0");
        if (!rules.pinComments) {
            EXPECT_EQ(Messages(), Said(rules.edits ? "KXPANE-522" : "KXTABLE-382"));
        }
        EXPECT_EQ(Run("deleteConnection pin PG"), rules.edits ? "1" : "0");
        if (!rules.edits) {
            EXPECT_EQ(Messages(), Said("KXTABLE-382"));
        }
        // ascend opens the parent board.
        EXPECT_EQ(Run("ascend"), "1");
        EXPECT_EQ(std::string(Doc()->GetDesignContext().name().GetString()), "demo.board:sch");
        CloseAll();
    }
}

TEST_F(ReadOnlyWindow, OpeningABlockNamesWhatItNeeds) {
    ASSERT_TRUE(OpenBoard(3));
    EXPECT_EQ(Run("kx::open -block PWR1 4"), "0");
    EXPECT_EQ(Run("kx::open -block U1 3"), "0"); // a part, no block
    EXPECT_EQ(Run("kx::open -block NOPE"), "0");
    EXPECT_EQ(Run("kx::open -block PWR1"), "1"); // mode 2 by default
    EXPECT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
}

// A block's matrix views are the block's: made in any window of it, they show its own objects in every other.
TEST_F(ReadOnlyWindow, ABlocksStoredMatrixViewShowsTheBlocksObjectsInEveryWindowOfIt) {
    ASSERT_EQ(Run("kx::open demo.PWR:sch 3"), "1");
    ASSERT_EQ(Run("kx::pane CreateMatrixView VQ {U10} {EN PGOOD VCC1V0}"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_TRUE(OpenBoard(3, "kx::select clp PWR1; kx::call Descend"));
    ASSERT_EQ(Doc()->GetOpenMode(), eOpenModeContext);
    ASSERT_EQ(Run("openMatrixView pin VQ"), "1");
    EXPECT_NE(RowShowing("PGOOD |  |  | PG | 4"), "");
    EXPECT_NE(RowShowing("VCC1V0 |  |  | OUT | 2"), "");
    EXPECT_NE(RowShowing("EN |  |  | EN | 3"), "");

    ASSERT_TRUE(OpenBoard(3));
    ASSERT_EQ(Run("kx::open -block PWR1 3"), "1");
    ASSERT_EQ(Run("kx::pane CreateMatrixView VR {U10} {PGOOD}"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_EQ(Run("kx::open demo.PWR:sch 3"), "1");
    ASSERT_EQ(Run("openMatrixView pin VR"), "1");
    EXPECT_NE(RowShowing("PGOOD |  |  | PG | 4"), "");
}

// ------------------------------------------------------------------ the mode is the cause

TEST_F(ReadOnlyWindow, RefusalsCausedByTheOpenModeNameIt) {
    ASSERT_TRUE(OpenBoard(0, "kx::show clp U1; kx::select ccp 41 7"));
    Messages();
    EXPECT_EQ(Run("addComment pin c PGOOD"), "0");
    EXPECT_EQ(Messages(), Said("KXPANE-522"));
    CloseAll();

    ASSERT_TRUE(OpenBoard(3));
    Messages();
    EXPECT_EQ(Run("designComment add x"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-179"));
    CloseAll();

    ASSERT_TRUE(OpenBoard(4, "kx::show clp U1"));
    Messages();
    const DesignMark mark = MarkDesign();
    EXPECT_EQ(Run("deleteConnection pin PGOOD"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-397"));
    ExpectUnchangedSince(mark);
    // The signal list shows physical nets: it adds no signal of the logical design.
    EXPECT_EQ(Run("kx::call AddSignal NEWSIG {} {} {}"), "0");
    EXPECT_EQ(Messages(), Said("KXTABLE-436"));
    ExpectUnchangedSince(mark);
    EXPECT_FALSE(Doc()->IsModified());
}

} // namespace

// A refused edit leaves the view as it found it too: the focus stays in the list that has it, the
// list keeps its selection and no grid takes a current cell, whether the edit came as a word (whose
// grid word names the connectivity pane) or as a method of the pane.
TEST_F(ReadOnlyWindow, ARefusedEditLeavesTheFocusAndTheCurrentCellsWhereTheyWere) {
    ASSERT_TRUE(OpenBoard(2));
    const char* const shows[] = {"kx::show clp U1", "kx::show slp EN"};
    const char* const edits[] = {"addConnection pin =AUTONAME", "addConnection pin =SHORTPINS",
                                 "addConnection pin NEWSIG",    "deleteConnection pin",
                                 "kx::pane AttachSignal =AUTONAME", "kx::pane Delete",
                                 "kx::pane AddConnection NEWSIG"};
    for (const char* show : shows) {
        ASSERT_NE(Run(show).rfind("error", 0), 0u) << show;
        for (const char* edit : edits) {
            SCOPED_TRACE(std::string(show) + "; " + edit);
            auto view = [this] {
                return Run("kx::focus") + "|" + Run("kx::grid ccp cell") + "|" + Run("kx::window clp selected") +
                       "|" + Run("kx::window slp selected");
            };
            Messages();
            const std::string before = view();
            EXPECT_EQ(Run(edit), "0");
            EXPECT_EQ(Messages(), Said("KXTABLE-382"));
            EXPECT_EQ(view(), before);
        }
    }
}

namespace {

// Insert adds a row for a further pin in the matrix and the signal grid; a read-only window could not
// take that pin, so its Insert adds nothing, not even to the display, and says why: with a cell being
// typed into as well.
TEST_F(ReadOnlyWindow, InsertAddsNoRowToAReadOnlyWindowsGrid) {
    ASSERT_TRUE(OpenBoard(3, "kx::pane CreateMatrixView V1 {U1 R1} {MCLK EN}"));
    ASSERT_EQ(Run("saveDesign"), "1");
    Run("closeDesign -nosave");
    const struct {
        const char* name;
        const char* setup;
    } grids[] = {
        {"matrix", "openMatrixView pin V1; kx::select ccp 5 4"},
        {"matrix, a cell being typed into", "openMatrixView pin V1; kx::select ccp 5 4; kx::key ccp A"},
        {"signal grid", "kx::show slp EN; kx::select ccp 5 6"},
    };
    ASSERT_TRUE(OpenBoard(2));
    for (const auto& g : grids) {
        SCOPED_TRACE(g.name);
        ASSERT_NE(Run(g.setup).rfind("error", 0), 0u) << g.setup;
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        ASSERT_NE(grid, nullptr);
        const ROWCOL rows = grid->GetRowCount();
        const std::string shown = Run("kx::window ccp"), cell = Run("kx::grid ccp cell");
        Messages();
        EXPECT_EQ(Run("kx::key ccp Insert"), "0");
        EXPECT_EQ(Messages(), Said("KXTABLE-382"));
        EXPECT_EQ(grid->GetRowCount(), rows);
        EXPECT_EQ(Run("kx::window ccp"), shown);
        EXPECT_EQ(Run("kx::grid ccp cell"), cell);
        Run("kx::key ccp Escape");
    }
    EXPECT_FALSE(Doc()->IsModified());
}

} // namespace
