// Defining stored matrix views from the list's menus: Create Matrix View and
// Edit Matrix View ask for the view's name, components and signals, Save As for
// a name; each is journalled in a form that replays, and what names nothing is
// refused with the store left as it was.
#include "MatrixTestSupport.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr UINT kCreateMatrixView = 35676;
constexpr UINT kSaveAsMatrixView = 35677;
constexpr UINT kEditMatrixView = 35706;

std::string Menu(UINT id) {
    return "kx::menu " + std::to_string(id);
}

class MatrixDefine : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
    }
    std::vector<CString> Names() {
        std::vector<CString> names;
        Views()->GetViewNames(names);
        return names;
    }
    std::vector<CString> Components(const char* view) {
        std::vector<CString> paths;
        Views()->GetMatrixComponentList(view, paths);
        return paths;
    }
    std::vector<CString> Signals(const char* view) {
        std::vector<CString> paths;
        Views()->GetMatrixSignalList(view, paths);
        return paths;
    }
    bool Journalled(const std::string& part) { return JournalText().find(part) != std::string::npos; }
};

TEST_F(MatrixDefine, CreateMatrixViewStoresTheNamedComponentsAndSignalsAndShowsThem) {
    Run("kx::answer dialog CKXMatrixViewDlg ok name board components {U1 J1 U1} signals {N1 DATA<1..0> N1}");
    EXPECT_EQ(Run(Menu(kCreateMatrixView)), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    // Each component and each bit once, in the order named.
    EXPECT_EQ(Components("board"), (std::vector<CString>{"@U1", "@J1"}));
    EXPECT_EQ(Signals("board"), (std::vector<CString>{"@:N1", "@:DATA<1>", "@:DATA<0>"}));
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("board"));
    EXPECT_EQ(Grid()->GroupCount(), 2);
    EXPECT_EQ(Pins("N1", 0), std::vector<std::string>{"OUT"});
    EXPECT_EQ(Pins("DATA<0>", 1), std::vector<std::string>{"P<1>"});
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Journalled("ConnectivityPane().CreateMatrixView(\"board\",\"U1 J1 U1\",\"N1 DATA<1..0> N1\")"))
        << JournalText();
    // One undo step takes the view away again; redo brings it back.
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(Grid(), nullptr);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Signals("board"), (std::vector<CString>{"@:N1", "@:DATA<1>", "@:DATA<0>"}));
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("board"));
    // The automation method takes the same road; an empty view is a view too.
    EXPECT_EQ(Run("kx::pane CreateMatrixView empty {} {}"), "1");
    EXPECT_EQ(Names(), (std::vector<CString>{"board", "empty"}));
    EXPECT_EQ(Grid()->ViewName(), CString("empty"));
}

TEST_F(MatrixDefine, ARefusedDefinitionStoresNothingAndSaysWhy) {
    Views()->CreateView("taken");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"name {} components U1", "KXPANE-406"},
        {"name taken components U1", "KXPANE-406"},
        {"name x components {U1 NOPE}", "KXPANE-411"},
        {"name x signals {N1 NOSIG}", "KXPANE-411"},
        {"name x signals {DATA<7>}", "KXPANE-411"}, // a bit the bus lacks
        {"name x signals {N1<2>}", "KXPANE-411"},   // a scalar net has no bits
        {"name x signals {DATA<1:>}", "KXPANE-411"},
    };
    for (const auto& [fields, id] : refused) {
        SCOPED_TRACE(fields);
        Run("kx::answer dialog CKXMatrixViewDlg ok " + fields);
        EXPECT_EQ(Run(Menu(kCreateMatrixView)), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{id});
    }
    EXPECT_EQ(Run("kx::pane CreateMatrixView x {U1 NOPE} {}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-411"});
    EXPECT_EQ(Names(), std::vector<CString>{"taken"});
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(Journalled("CreateMatrixView"));
    EXPECT_EQ(Grid(), nullptr);
    // Cancelled: nothing at all.
    Run("kx::answer dialog CKXMatrixViewDlg cancel name y components U1");
    EXPECT_EQ(Run(Menu(kCreateMatrixView)), "2");
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Views()->HasView("y"));
}

// A view name is typed text as a comment is: a control character (ESC, BEL), a tab or a line break in it is
// refused on every road that names a new view (the word, the dialogs, the methods), with the message that
// says what the text holds; nothing is stored or journalled, and a printable name still goes.
TEST_F(MatrixDefine, AViewNameWithAControlCharacterIsRefusedOnEveryRoad) {
    ASSERT_NE(OpenView("v", {"@U1"}, {"@:N1"}), nullptr);
    const std::string journal = JournalText();
    const std::vector<std::string> refused = {
        "openMatrixView pin \"E\\x1b\\[31m\"",
        "openMatrixView pin \"B\\x07ell\"",
        "openMatrixView pin \"two\\nlines\"",
        "kx::pane CreateMatrixView \"E\\x1b\" U1 N1",
        "kx::pane EditMatrixView v \"tab\\there\" U1 N1",
        "kx::pane SaveAsMatrixView \"B\\x07\"",
        "kx::answer dialog CKXMatrixViewDlg ok name \"E\\x1bx\" components U1; " + Menu(kCreateMatrixView),
        "kx::answer dialog CKXMatrixSaveAsDlg ok name \"E\\x1bx\"; " + Menu(kSaveAsMatrixView),
    };
    Messages();
    for (const std::string& line : refused) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Run(line), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-543"});
    }
    EXPECT_NE(Transcript().find("holds a control character (U+001B) at character 2"), std::string::npos);
    EXPECT_EQ(Names(), std::vector<CString>{"v"});
    EXPECT_EQ(JournalText(), journal);
    EXPECT_EQ(Run("openMatrixView pin {Ünïcode view}"), "1");
    EXPECT_TRUE(Views()->HasView("Ünïcode view"));
}

TEST_F(MatrixDefine, EditOpensWithTheShownViewAndRenamesItInItsPlace) {
    Views()->CreateView("first");
    ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    Views()->CreateView("last");
    // Only a new name is answered: the components and signals stay as the dialog showed them.
    Run("kx::answer dialog CKXMatrixViewDlg ok name w");
    EXPECT_EQ(Run(Menu(kEditMatrixView)), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Names(), (std::vector<CString>{"first", "w", "last"}));
    EXPECT_EQ(Components("w"), (std::vector<CString>{"@U1", "@J1"}));
    EXPECT_EQ(Signals("w"), (std::vector<CString>{"@:N1", "@:DATA<1>"}));
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("w"));
    EXPECT_FALSE(Rows("DATA<1>").empty());
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Journalled("ConnectivityPane().EditMatrixView(\"v\",\"w\",\"U1 J1\",\"N1 DATA<1>\")"))
        << JournalText();
}

TEST_F(MatrixDefine, UndoOfAnEditBringsBackTheNameTheContentAndThePlace) {
    Views()->CreateView("first");
    ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    Views()->CreateView("last");
    G* window = Grid();
    Run("kx::answer dialog CKXMatrixViewDlg ok name w components J1 signals FREE");
    ASSERT_EQ(Run(Menu(kEditMatrixView)), "1");
    ASSERT_EQ(Grid()->GroupCount(), 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Names(), (std::vector<CString>{"first", "v", "last"}));
    EXPECT_EQ(Components("v"), (std::vector<CString>{"@U1", "@J1"}));
    EXPECT_EQ(Signals("v"), (std::vector<CString>{"@:N1", "@:DATA<1>"}));
    // The open window shows the view as it was again.
    EXPECT_EQ(Grid(), window);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
    EXPECT_EQ(Grid()->GroupCount(), 2);
    EXPECT_FALSE(Rows("DATA<1>").empty());
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Names(), (std::vector<CString>{"first", "w", "last"}));
    EXPECT_EQ(Grid()->ViewName(), CString("w"));
    EXPECT_FALSE(Rows("FREE").empty());
    // A view that another change took the name of since is not overwritten by an undo.
    EXPECT_EQ(Run("kx::pane EditMatrixView w other J1 FREE"), "1");
    Views()->CreateView("w");
    Messages();
    EXPECT_EQ(Run("undo"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-221"});
    EXPECT_EQ(Components("w"), std::vector<CString>{});
    EXPECT_TRUE(Views()->HasView("other"));
}

// Additions to a view are undo steps of their own, in order with the view's creation; a step whose
// view was changed since by another route is refused and loses nothing.
TEST_F(MatrixDefine, AdditionsToAViewAreUndoneBeforeItsCreation) {
    ASSERT_EQ(Run("kx::pane CreateMatrixView v U1 N1"), "1");
    ASSERT_EQ(Run("matrixAdd pin component J1"), "1");
    ASSERT_EQ(Run("matrixAdd pin signal DATA<1..0>"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 3);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signals("v"), std::vector<CString>{"@:N1"});
    EXPECT_TRUE(Rows("DATA<0>").empty());
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Components("v"), std::vector<CString>{"@U1"});
    EXPECT_EQ(Grid()->GroupCount(), 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Views()->HasView("v"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Components("v"), (std::vector<CString>{"@U1", "@J1"}));
    EXPECT_EQ(Signals("v"), (std::vector<CString>{"@:N1", "@:DATA<1>", "@:DATA<0>"}));
    EXPECT_EQ(Grid()->GroupCount(), 2);
    // Added to by a route that leaves no step (the store itself), the view refuses the older step.
    Views()->AddInstanceToMatrixView("v", "@J2");
    Messages();
    EXPECT_EQ(Run("undo"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-221"});
    EXPECT_EQ(Components("v"), (std::vector<CString>{"@U1", "@J1", "@J2"}));
}

TEST_F(MatrixDefine, AnEditTakesComponentsAndSignalsOutOfTheOpenWindowAndPutsOthersIn) {
    ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    G* window = Grid();
    Run("kx::answer dialog CKXMatrixViewDlg ok components J1 signals {FREE DATA<1>}");
    EXPECT_EQ(Run(Menu(kEditMatrixView)), "1");
    EXPECT_EQ(Grid(), window);
    EXPECT_EQ(Grid()->GroupCount(), 1);
    EXPECT_EQ(Grid()->GroupInstance(0).name(), CString("J1"));
    EXPECT_TRUE(Rows("N1").empty());
    EXPECT_FALSE(Rows("FREE").empty());
    EXPECT_EQ(Pins("DATA<1>", 0), std::vector<std::string>{"P<2>"});
    EXPECT_EQ(Components("v"), std::vector<CString>{"@J1"});
    EXPECT_EQ(Signals("v"), (std::vector<CString>{"@:FREE", "@:DATA<1>"}));
}

TEST_F(MatrixDefine, AnEditThatChangesNothingLeavesTheDocumentAsItWas) {
    ASSERT_NE(OpenView("v", {"@U1"}, {"@:N1"}), nullptr);
    ASSERT_FALSE(Doc()->IsModified());
    Run("kx::answer dialog CKXMatrixViewDlg ok");
    Messages();
    EXPECT_EQ(Run(Menu(kEditMatrixView)), "0"); // the dialog's own contents: nothing changes, and it says so
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-621"});
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(Journalled("EditMatrixView"));
    // A refused edit keeps the view as it was, in its window too.
    Views()->CreateView("keep");
    Run("kx::answer dialog CKXMatrixViewDlg ok name keep components J1");
    EXPECT_EQ(Run(Menu(kEditMatrixView)), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-406"});
    EXPECT_EQ(Components("v"), std::vector<CString>{"@U1"});
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
    EXPECT_EQ(Grid()->GroupCount(), 1);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(MatrixDefine, EditAndSaveAsNeedAShownViewAndTheMethodNamesTheViewItEdits) {
    Views()->CreateView("v");
    EXPECT_EQ(Run(Menu(kEditMatrixView)), "0");
    EXPECT_EQ(Run(Menu(kSaveAsMatrixView)), "0");
    EXPECT_EQ(Run("kx::pane EditMatrixView nope x U1 {}"), "0");
    EXPECT_EQ(Run("kx::pane EditMatrixView {} x U1 {}"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-410", "KXPANE-410"}));
    // The method edits a stored view that no window shows, and shows it.
    EXPECT_EQ(Run("kx::pane EditMatrixView v v U1 N1"), "1");
    EXPECT_EQ(Components("v"), std::vector<CString>{"@U1"});
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
}

TEST_F(MatrixDefine, SaveAsFromTheMenuAsksForTheName) {
    ASSERT_NE(OpenView("v", {"@U1"}, {"@:N1"}), nullptr);
    Run("kx::answer dialog CKXMatrixSaveAsDlg cancel name never");
    EXPECT_EQ(Run(Menu(kSaveAsMatrixView)), "2");
    EXPECT_FALSE(Views()->HasView("never"));
    Run("kx::answer dialog CKXMatrixSaveAsDlg ok name v");
    EXPECT_EQ(Run(Menu(kSaveAsMatrixView)), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-406"});
    Run("kx::answer dialog CKXMatrixSaveAsDlg ok name copy");
    EXPECT_EQ(Run(Menu(kSaveAsMatrixView)), "1");
    EXPECT_EQ(Components("copy"), std::vector<CString>{"@U1"});
    EXPECT_EQ(Grid()->ViewName(), CString("copy"));
    EXPECT_TRUE(Journalled("ConnectivityPane().SaveAsMatrixView(\"copy\")"));
}

TEST_F(MatrixDefine, TheJournalOfCreateAndEditReplaysToTheSameStoredViews) {
    const std::filesystem::path journal = m_dir / "define.vbs";
    Run("kx::journal " + journal.string());
    Run("kx::answer dialog CKXMatrixViewDlg ok name a components {J1 U1} signals DATA");
    ASSERT_EQ(Run(Menu(kCreateMatrixView)), "1");
    Run("kx::answer dialog CKXMatrixViewDlg ok name b components J1 signals {N1 DATA<0>}");
    ASSERT_EQ(Run(Menu(kEditMatrixView)), "1");
    Run("kx::journal");
    const std::vector<CString> names = Names(), components = Components("b"), signals = Signals("b");
    ASSERT_EQ(names, std::vector<CString>{"b"});
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(Run("kx::pane RemoveMatrixView b"), "1");
    ASSERT_TRUE(Names().empty());
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1") << lines;
    EXPECT_EQ(Names(), names);
    EXPECT_EQ(Components("b"), components);
    EXPECT_EQ(Signals("b"), signals);
    EXPECT_EQ(Grid()->ViewName(), CString("b"));
}

TEST_F(MatrixDefine, ThePhysicalViewDefinesNoMatrixView) {
    ASSERT_EQ(Word("physicalView -nosave"), 1);
    Messages();
    EXPECT_EQ(Run("kx::pane CreateMatrixView x U1 {}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-178"});
}

} // namespace
