// The design window's views through the host: switching between the logical and the physical view, the
// physical lists of the whole hierarchy and the block filter that leaves blocks out of them, opening a
// block, the block interface file written and read back, and the matrix view commands that are refused.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "grid/KXGlobalMessages.h"
#include "shell/KXTableDoc.h"
#include "grid/KXGridWnd.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/schema.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The names a list shows, one per line of kx::window.
bool Lists(const std::string& window, const std::string& name) {
    std::istringstream in(window);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && line.front() == ' ') line.erase(0, 1);
        if (line == name || line.rfind(name + " ", 0) == 0 || line.rfind(name + "\t", 0) == 0) return true;
    }
    return false;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The interface commands run only as a sub-tool of the host.
struct SubTool {
    SubTool() { ::setenv("RMX_SUBTOOL_ID", "7", 1); }
    ~SubTool() { ::unsetenv("RMX_SUBTOOL_ID"); }
};

class ViewTest : public KXShellFixture {
protected:
    // The fixture's board with package pins, so that the physical view has nets, and a block net
    // (INNER) that goes nowhere above the block.
    void BuildDesign(rmx::DesignBuilder& b) override {
        b.symbol("res").port("A").port("B").packagePin("1", "A").packagePin("2", "B");
        b.symbol("buf")
            .port("IN", ITerm::eDirInput)
            .port("OUT", ITerm::eDirOutput)
            .bus("D", 3, 0)
            .port("L", ITerm::eDirNone);
        b.schematic("blk").schematicPort("P").schematicPort("Q").instance("R9", "res", "R9");
        b.connect("R9", "A", "P").connect("R9", "B", "INNER").pinNumber("R9", "A", "1").pinNumber("R9", "B", "2");
        b.schematic("board").instance("U1", "buf", "U1").instance("R1", "res", "R1").instance("X1", "blk", "", "sch");
        b.connect("U1", "OUT", "N1").connect("R1", "A", "N1").connect("R1", "B", "GND");
        b.connect("U1", "D<3..0>", "DATA<3..0>").connect("X1", "P", "N1");
        b.pinNumber("R1", "A", "1").pinNumber("R1", "B", "2");
    }
    int Mode() const { return Doc() ? static_cast<int>(Doc()->GetOpenMode()) : -1; }
    CString Cell() const {
        IDesign* d = Doc() ? Doc()->GetMasterDesignContext().design() : nullptr;
        return d ? CString(d->cellName()) : CString();
    }
};

} // namespace

TEST_F(ViewTest, PhysicalViewShowsThePartsOfTheHierarchyAndLogicalViewComesBack) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    std::string clp = Run("kx::window clp");
    EXPECT_TRUE(Lists(clp, "X1")) << clp;
    EXPECT_FALSE(Lists(clp, "R9")) << clp;

    EXPECT_EQ(Word("physicalView -nosave"), 1);
    EXPECT_EQ(Mode(), 4);
    EXPECT_EQ(m_app->Documents().size(), 2u);
    clp = Run("kx::window clp");
    // The part inside the block is listed; the block itself is no part.
    EXPECT_TRUE(Lists(clp, "R9")) << clp;
    EXPECT_TRUE(Lists(clp, "U1")) << clp;
    EXPECT_FALSE(Lists(clp, "X1")) << clp;
    EXPECT_TRUE(Has(JournalText(), "RMX.OpenDesign(\"work.board:sch\", \"4\")"));

    // Back to the window that already shows the logical view: no third window.
    EXPECT_EQ(Word("logicalView -nosave"), 1);
    EXPECT_EQ(Mode(), 1);
    EXPECT_EQ(m_app->Documents().size(), 2u);
    EXPECT_TRUE(Lists(Run("kx::window clp"), "X1"));
    EXPECT_EQ(Word("physicalView"), 1);
    EXPECT_EQ(Mode(), 4);
    EXPECT_EQ(m_app->Documents().size(), 2u);
}

TEST_F(ViewTest, AModifiedDesignIsSavedAskedOrLeftAsTheFlagSays) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_EQ(Run("kx::call AddSignal NEWSIG {} {}"), "1");
    ASSERT_TRUE(Doc()->IsModified());
    CKXTableDoc* logical = Doc();

    AfxGetAnswerQueue().PushQuestion("KXCOMMON-101", IDCANCEL);
    EXPECT_EQ(Word("physicalView -prompt"), 2); // cancelled: nothing switched
    EXPECT_EQ(Doc(), logical);
    EXPECT_EQ(m_app->Documents().size(), 1u);
    EXPECT_TRUE(logical->IsModified());

    EXPECT_EQ(Word("physicalView -save"), 1);
    EXPECT_EQ(Mode(), 4);
    EXPECT_FALSE(logical->IsModified());
    EXPECT_TRUE(Has(ReadFile(m_lib / "board.sch.design"), "NEWSIG"));
}

TEST_F(ViewTest, TheViewMenuAsksTheHostAndSwitchesOnItsAnswer) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    AfxGetAnswerQueue().PushQuestion("MSG_HOST_ASK_SAVE", IDCANCEL);
    Run("kx::menu 35563");
    EXPECT_EQ(Mode(), 1);
    AfxGetAnswerQueue().PushQuestion("MSG_HOST_ASK_SAVE", IDNO);
    Run("kx::menu 35563");
    EXPECT_EQ(Mode(), 4);
    AfxGetAnswerQueue().PushQuestion("MSG_HOST_ASK_SAVE", IDNO);
    Run("kx::menu 35563");
    EXPECT_EQ(Mode(), 1);
}

TEST_F(ViewTest, TheBlockFilterLeavesTheBlocksPartsAndNetsOut) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    const std::string nets = Run("kx::window slp");
    ASSERT_TRUE(Lists(Run("kx::window clp"), "R9"));
    ASSERT_TRUE(Lists(nets, "INNER")) << nets; // the block's net that goes nowhere above it

    EXPECT_EQ(Word("filterBlock -exclude X1"), 1);
    std::string clp = Run("kx::window clp");
    EXPECT_FALSE(Lists(clp, "R9")) << clp;
    EXPECT_TRUE(Lists(clp, "U1")) << clp;
    std::string slp = Run("kx::window slp");
    EXPECT_FALSE(Lists(slp, "INNER")) << slp;
    EXPECT_TRUE(Lists(slp, "N1")) << slp; // joined to the block's port, but above the block

    EXPECT_EQ(Word("filterBlock -include all"), 1);
    EXPECT_TRUE(Lists(Run("kx::window clp"), "R9"));
    EXPECT_TRUE(Lists(Run("kx::window slp"), "INNER"));

    // A window opened later reads the stored filter.
    EXPECT_EQ(Word("filterBlock -exclude X1"), 1);
    std::string err;
    ASSERT_TRUE(m_app->Close(err)) << err;
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_FALSE(Lists(Run("kx::window clp"), "R9"));
}

TEST_F(ViewTest, DescendOpensTheSelectedBlockInItsParentsContextAndEditBlockOnItsOwn) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::select clp R1");
    Run("kx::call Descend");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-272"}));
    EXPECT_EQ(m_app->Documents().size(), 1u);

    Run("kx::select clp X1");
    Run("kx::call Descend");
    EXPECT_EQ(Mode(), 2);
    EXPECT_EQ(Cell(), CString("blk"));
    // Opened in the parent's context: the block knows where it was descended from.
    EXPECT_TRUE(Doc()->GetDesignContext().parent());
    EXPECT_TRUE(Has(JournalText(), "call board.Clp().Select(\"X1\")\n\n ' --- Descend ---\n\ncall board.Descend()"));
    EXPECT_TRUE(Lists(Run("kx::window clp"), "R9"));
    EXPECT_EQ(Word("ascend"), 1);
    EXPECT_TRUE(Messages().empty());

    std::string err;
    ASSERT_TRUE(m_app->ActivateTab(1, err)) << err;
    Run("kx::select clp X1");
    Run("kx::call EditBlock");
    EXPECT_EQ(Mode(), 1);
    EXPECT_EQ(Cell(), CString("blk"));
    EXPECT_FALSE(Doc()->GetDesignContext().parent());
    EXPECT_TRUE(Has(JournalText(), "RMX.OpenDesign(\"work.blk:sch\", \"1\")"));
}

TEST_F(ViewTest, TheInterfaceFileReadBackJoinsThePinsAsItSays) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("exportInterface -inst U1 -file u1.if"), 1);
    EXPECT_TRUE(Messages().empty());
    std::string text = ReadFile(m_dir / "u1.if");
    EXPECT_TRUE(Has(text, "instance U1\n")) << text;
    EXPECT_TRUE(Has(text, "pin OUT out N1\n")) << text;
    EXPECT_TRUE(Has(text, "pin D<3> inout DATA<3>\n")) << text;
    EXPECT_TRUE(Has(text, "pin L local -\n")) << text;
    EXPECT_TRUE(Has(text, "pin IN in -\n")) << text;
    EXPECT_EQ(Word("exportInterface -inst U1 -file u1b.if -export_local_as_inout"), 1);
    EXPECT_TRUE(Has(ReadFile(m_dir / "u1b.if"), "pin L inout -\n"));

    // The same interface read back changes nothing, makes no undo step and says so.
    const std::string before = Run("kx::netlist");
    EXPECT_EQ(Word("importInterface -file u1.if"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-495"}));
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);

    // An edited interface: OUT to a new net, D<3> parted, IN joined to N1.
    std::ofstream("u1.if") << "design work.board:sch\ninstance U1\npin OUT out FRESH\npin D<3> local -\n"
                              "pin IN in N1\n";
    EXPECT_EQ(Word("importInterface -inst U1 -file u1.if"), 1);
    EXPECT_TRUE(Messages().empty());
    const std::string after = Run("kx::netlist");
    EXPECT_TRUE(Has(after, "U1 OUT FRESH")) << after;
    EXPECT_TRUE(Has(after, "U1 IN N1")) << after;
    EXPECT_FALSE(Has(after, "U1 D<3>")) << after;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_TRUE(Has(JournalText(), "call board.ImportInterface(\"u1.if\",\"U1\")"));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Word("undo"), 1);
    EXPECT_EQ(Run("kx::netlist"), before);
}

// A window opened in its parent's context only looks: no road imports an interface there.
TEST_F(ViewTest, AReadOnlyWindowImportsNoInterface) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 2));
    std::ofstream("ro.if") << "design work.board:sch\ninstance U1\npin OUT out FRESH\n";
    const std::string before = Run("kx::netlist");
    Messages();
    // The window's mode is the cause, and the refusal says so.
    EXPECT_EQ(Word("importInterface -inst U1 -file ro.if"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-382"}));
    EXPECT_EQ(Run("kx::call ImportInterface ro.if U1"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-382"}));
    EXPECT_EQ(Run("kx::menustate 35710").rfind("disabled", 0), 0u);
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ViewTest, AnInterfaceThatDoesNotFitChangesNothing) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    const std::string before = Run("kx::netlist");
    std::ofstream("bad.if") << "instance U1\npin OUT out FRESH\npin NOPE in N1\n";
    EXPECT_EQ(Word("importInterface -file bad.if"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-276"}));
    std::ofstream("word.if") << "instance U1\nwire OUT FRESH\n";
    EXPECT_EQ(Word("importInterface -file word.if"), 0);
    EXPECT_EQ(Word("importInterface -file missing.if"), 0);
    std::ofstream("noinst.if") << "design work.board:sch\nport EN in -1 -1\n";
    EXPECT_EQ(Word("importInterface -file noinst.if"), 0);
    EXPECT_EQ(Word("importInterface -inst NOPE -file u1.if"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-273", "KXPANE-273", "KXPANE-275", "KXPANE-273"}));
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_FALSE(Has(JournalText(), "ImportInterface"));
}

// A file that gives one pin two nets, or a new net a name the design does not take, does not fit: the import
// changes nothing and names the line, on the word and the automation method alike.
TEST_F(ViewTest, AnInterfaceThatSaysTwoThingsOfAPinOrNamesNoNetChangesNothing) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    const std::string before = Run("kx::netlist");
    const std::string journal = JournalText();
    Messages();
    std::ofstream("twice.if") << "instance U1\npin OUT out FRESH\npin OUT out N1\n";
    EXPECT_EQ(Word("importInterface -file twice.if"), 0);
    std::ofstream("badnet.if") << "instance U1\npin OUT out BAD\"NAME\n";
    EXPECT_EQ(Word("importInterface -file badnet.if"), 0);
    EXPECT_EQ(Run("kx::call ImportInterface badnet.if U1"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-276", "KXPANE-276", "KXPANE-276"}));
    EXPECT_TRUE(Has(Transcript(), "line 3: pin OUT is given on line 2 already")) << Transcript();
    EXPECT_TRUE(Has(Transcript(), "line 2: bad net BAD\"NAME")) << Transcript();
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
}

// The interface words without operands answer as their menus: 2 for the dialog, cancelled or done, and 0 when
// the command it sent was refused (its message says why).
TEST_F(ViewTest, AnInterfaceDialogWhoseCommandIsRefusedAnswersZero) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    Messages();
    Run("kx::answer dialog CKXInterfaceDlg ok inst U1 file no-such-file.if");
    EXPECT_EQ(Word("importInterface"), 0);
    Run("kx::answer dialog CKXInterfaceDlg ok inst U1 file " + (m_dir / "no-such-folder" / "u1.if").string());
    EXPECT_EQ(Word("exportInterface"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-273", "KXPANE-274"}));
    Run("kx::answer dialog CKXInterfaceDlg ok inst U1 file u1.if");
    EXPECT_EQ(Word("exportInterface"), 2);
    EXPECT_EQ(Word("importInterface"), 2); // cancelled
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ViewTest, TheInterfaceDialogSendsTheCommandThatDoesTheWork) {
    SubTool subTool;
    ASSERT_TRUE(Open("work.board:sch", 1));
    Echoes();
    Run("kx::answer dialog CKXInterfaceDlg ok inst U1 file {dir name.if} local 1");
    EXPECT_EQ(Word("exportInterface"), 2);
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"exportInterface -inst U1 -file \"dir name.if\" -export_local_as_inout"}));
    EXPECT_TRUE(std::filesystem::exists(m_dir / "dir name.if"));
    // Cancelled: nothing is sent.
    EXPECT_EQ(Word("importInterface"), 2);
    EXPECT_TRUE(Echoes().empty());
}

TEST_F(ViewTest, MatrixViewCommandsAreRefusedWithAMessage) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    // Create Matrix View asks for the view; cancelled, nothing is stored and nothing is said.
    Run("kx::menu 35676");
    EXPECT_TRUE(Has(AnswerLog().back(), "dialog CKXMatrixViewDlg: cancel"));
    EXPECT_FALSE(Doc()->IsModified());
    // The first stored view of a design that stores none is not offered; run by its id, it names
    // what is missing.
    EXPECT_EQ(Run("kx::menu 35679"), "0");
    EXPECT_EQ(Frame()->SendMessage(MSG_RUN_MENU_COMMAND, 35679, 0), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-402"}));
}

// ------------------------------------------------------------------ what the frame hands on from the host

TEST_F(ViewTest, AHighlightedPinSelectsItsComponentInTheListOfTheView) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    CKXHiliteObject pin;
    pin.SetType(KX_HILITE_TYPE_CONNECTIVITY);
    pin.SetObject(CString("work.board:sch@R1.A"), -1, -1);
    Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&pin), 0);
    CStringArray names;
    Clp()->GetInstancePaneGrid()->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], CString("R1"));
    // A net is no pin: the selection stays.
    CKXHiliteObject net;
    net.SetType(KX_HILITE_TYPE_CONNECTIVITY);
    net.SetObject(CString("work.board:sch@:N1"), -1, -1);
    Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&net), 0);
    Clp()->GetInstancePaneGrid()->GetSelectedNames(names);
    EXPECT_EQ(names.GetSize(), 1);

    // In the physical view the part of a pin inside a block is selected.
    EXPECT_EQ(Word("physicalView -nosave"), 1);
    CKXHiliteObject inner;
    inner.SetType(KX_HILITE_TYPE_CONNECTIVITY);
    inner.SetObject(CString("work.board:sch@X1@R9.A"), -1, -1);
    Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&inner), 0);
    Clp()->GetPhysPartGrid()->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], CString("R9"));
}

TEST_F(ViewTest, AFindAllHitBecomesTheCurrentCellOfTheActiveGridOnly) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::show clp U1");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_TRUE(grid);
    Frame()->SendMessage(g_msgSelectFindAllResult, reinterpret_cast<WPARAM>(grid), MAKELONG(6, 4));
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(grid->GetCurrentCell(row, col));
    EXPECT_EQ(row, 6u);
    EXPECT_EQ(col, 4u);
    // Another window is not the pane's active grid: nothing moves.
    Frame()->SendMessage(g_msgSelectFindAllResult, reinterpret_cast<WPARAM>(Frame()), MAKELONG(8, 4));
    ASSERT_TRUE(grid->GetCurrentCell(row, col));
    EXPECT_EQ(row, 6u);
}

TEST_F(ViewTest, ComponentsComeFromTheHostsTextsAndGoByName) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    IDesign* design = Doc()->GetMasterDesignContext().design();
    Frame()->SendMessage(g_msgAddLogicalPart, 0, reinterpret_cast<LPARAM>("work.res:sym R50"));
    ASSERT_TRUE(design->findInstance("R50"));
    EXPECT_TRUE(Has(JournalText(), "call board.AddComponent(\"R50\",\"work\",\"res\",\"sym\""));
    Frame()->SendMessage(g_msgAddPhysicalPart, 0, reinterpret_cast<LPARAM>("work.res R60"));
    ASSERT_TRUE(design->findInstance("R60"));
    EXPECT_EQ(CString(design->findInstance("R60")->physicalPackageName()), CString("R60"));
    Frame()->SendMessage(g_msgAddLogicalPart, 0, reinterpret_cast<LPARAM>("nonsense"));
    Frame()->SendMessage(g_msgAddLogicalPart, 0, reinterpret_cast<LPARAM>("work.nothing:sym"));
    Frame()->SendMessage(g_msgAddLogicalPart, 0, reinterpret_cast<LPARAM>("work.res R50"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-251", "KXPANE-251", "KXPANE-252"}));
    const int steps = Ccp()->GetUndoStepCount();

    Frame()->SendMessage(g_msgDeleteInstance, 0, reinterpret_cast<LPARAM>("R1"));
    EXPECT_FALSE(design->findInstance("R1"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Has(JournalText(), "call board.DeleteComponent(\"R1\")"));
    EXPECT_EQ(Word("undo"), 1);
    EXPECT_TRUE(design->findInstance("R1"));
}

TEST_F(ViewTest, DeletingAComponentTheListLacksLeavesTheDocumentUnmodified) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_FALSE(Doc()->IsModified());
    Frame()->SendMessage(g_msgDeleteInstance, 0, reinterpret_cast<LPARAM>("NOPE"));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// ------------------------------------------------------------------ paste

TEST_F(ViewTest, PasteGoesToTheShownGridsOrSaysWhyNot) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    EXPECT_EQ(Word("paste pin"), 0); // the pane shows no grid yet
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-246"}));
    Run("kx::show clp U1");
    EXPECT_EQ(Word("paste pin -help"), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-215"}));
    // Nothing copied: the message says so, nothing changes.
    const std::string before = Run("kx::netlist");
    EXPECT_EQ(Word("paste pin"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-570"}));
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());

    // The physical view pastes nothing.
    EXPECT_EQ(Word("physicalView -nosave"), 1);
    Messages();
    EXPECT_EQ(Word("paste pin"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-178"}));
}
