// Requests the host sends the component list through the design window: co-design marking and
// the clipboard viewer's paste. Each is one undoable transaction that journals itself, or a refusal
// with a message that leaves the design and the journal as they were.
#include "KXDemoBoard.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxinstsigpane/KXListPanes.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

namespace {

class ListPaneCalls : public KXShellFixture {
protected:
    std::string Codesign(const char* instance) {
        return Run(std::string("kx::prop work.board:sch@") + instance + " CODESIGN");
    }
    bool Unset(const std::string& value) { return value.rfind("error: no property", 0) == 0; }
    bool Journals(const std::string& text) { return JournalText().find(text) != std::string::npos; }
};

TEST_F(ListPaneCalls, TheHostMarksComponentsAsCodesignInOneUndoStep) {
    ASSERT_TRUE(Open());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::notify INT_MSG_MARK_AS_CODESIGN {U1 R1} 1"), "1");
    EXPECT_EQ(Codesign("U1"), "TRUE");
    EXPECT_EQ(Codesign("R1"), "TRUE");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Journals("call board.Clp().MarkAsCodesign(\"U1 R1\",1)"));
    Run("undo");
    EXPECT_TRUE(Unset(Codesign("U1")));
    EXPECT_TRUE(Unset(Codesign("R1")));
    Run("redo");
    EXPECT_EQ(Codesign("R1"), "TRUE");
}

TEST_F(ListPaneCalls, WithoutNamesTheListSelectionIsMarkedAndTheMarkComesOff) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::select clp U1"), "1");
    Run("kx::notify INT_MSG_MARK_AS_CODESIGN {} 1");
    EXPECT_EQ(Codesign("U1"), "TRUE");
    EXPECT_TRUE(Unset(Codesign("R1")));
    // The automation method a journal replays takes the mark off again.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign U1 0"), "1");
    EXPECT_TRUE(Unset(Codesign("U1")));
    EXPECT_TRUE(Journals("call board.Clp().MarkAsCodesign(\"U1\",0)"));
}

TEST_F(ListPaneCalls, ARefusedMarkChangesAndJournalsNothing) {
    ASSERT_TRUE(Open());
    Messages();
    const std::string before = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    // An unknown name refuses the whole request, also for the names that exist.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign {U1 NOPE} 1"), "0");
    EXPECT_TRUE(Unset(Codesign("U1")));
    // Taking off a mark that is not there changes nothing, and says so.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign U1 0"), "0");
    // Nothing named, nothing selected.
    EXPECT_EQ(Run("kx::pane clp MarkAsCodesign {} 1"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-250", "KXPANE-450", "KXPANE-450"}));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

// What needs a service of the host that is not installed says so and changes nothing.
TEST_F(ListPaneCalls, CreateBlockAndAutomaticModelsNameWhatIsMissing) {
    ASSERT_TRUE(Open());
    Messages();
    const std::string netlist = Run("kx::netlist");
    const std::string list = Run("kx::window clp");
    EXPECT_EQ(Run("kx::menu 35510"), "0"); // refused: nothing was made
    Run("kx::notify INT_MSG_AUTO_ASSIGN_MODEL");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-456", "KXPANE-455"}));
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Run("kx::window clp"), list);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

TEST_F(ListPaneCalls, TheHostChoosesTheBracketsOfBitNamesInTheNameEntry) {
    EXPECT_EQ(Run("kx::brackets square"), "1");
    EXPECT_EQ(CSchemaUtilities::getVectorDisplayFormat(), 1);
    EXPECT_EQ(Run("kx::brackets round").rfind("error: usage", 0), 0u);
    EXPECT_EQ(CSchemaUtilities::getVectorDisplayFormat(), 1);
    EXPECT_EQ(Run("kx::brackets angle"), "1");
    EXPECT_EQ(CSchemaUtilities::getVectorDisplayFormat(), 0);
}

// The clipboard viewer's paste on the component list: one new component per paste.
class ClipViewerPaste : public ListPaneCalls {
protected:
    static void Clip(const char* text) {
        CKXImpClipBoard::StartCopying();
        CKXImpClipBoard::CopyCFText(text);
        CKXImpClipBoard::EndCopying();
        CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    }
    std::string Prop(const char* instance, const char* name) {
        return Run(std::string("kx::prop work.board:sch@") + instance + " " + name);
    }
};

TEST_F(ClipViewerPaste, AComponentNameOfTheDesignPastesACopyUnderTheNextFreeName) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::call EditRefDes U1 U100"), "1");
    ASSERT_EQ(Run("kx::setprop work.board:sch@U1 VALUE fast"), "0");
    Clip("U1");
    Run("selectWindow clp");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::clipview 1"), "1");
    // U2 is the first free U<n>: the copy has U1's master and its properties, less the reference designator.
    EXPECT_NE(Run("kx::window clp").find("U2"), std::string::npos);
    EXPECT_EQ(Prop("U2", "VALUE"), "fast");
    EXPECT_TRUE(Unset(Prop("U2", "LOCATION")));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Journals("call board.AddComponent(\"U2\",\"work\",\"buf\""));
    Run("undo");
    EXPECT_TRUE(Run("kx::prop work.board:sch@U2 VALUE").rfind("error: no object", 0) == 0);
}

TEST_F(ClipViewerPaste, AMasterTextPlacesThatMasterAndAnOlderItemIsReachedByItsNumber) {
    ASSERT_TRUE(Open());
    Clip("work.res:sym R7");
    Clip("something else");
    Run("selectWindow clp");
    EXPECT_EQ(Run("kx::clipview 2"), "1");
    EXPECT_NE(Run("kx::window clp").find("R7"), std::string::npos);
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(ClipViewerPaste, WhatCannotBePastedIsRefusedAndChangesNothing) {
    ASSERT_TRUE(Open());
    Run("selectWindow clp");
    Messages();
    const std::string before = JournalText();
    const std::string list = Run("kx::window clp");
    Clip("work.res:sym R7\nwork.res:sym R8");
    EXPECT_EQ(Run("kx::clipview 1"), "0"); // several lines
    Clip("work.nosuch:sym");
    EXPECT_EQ(Run("kx::clipview 1"), "0"); // no such master
    Clip("work.res:sym U1");
    EXPECT_EQ(Run("kx::clipview 1"), "0"); // the name is taken
    EXPECT_EQ(Run("kx::clipview 99"), "0"); // no such item
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-452", "KXPANE-251", "KXPANE-252", "KXPANE-451"}));
    EXPECT_EQ(Run("kx::window clp"), list);
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::clipview 0").rfind("error: usage", 0), 0u);
}

TEST_F(ClipViewerPaste, AWindowOpenedInItsParentsContextTakesNoPaste) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("selectWindow clp");
    Clip("work.res:sym R7");
    Messages();
    EXPECT_EQ(Run("kx::clipview 1"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-382"}));
    EXPECT_EQ(Run("kx::window clp").find("R7"), std::string::npos);
}

// Power groups on the example board, whose parts have implicit power pins (U2: VDD on VCC3V3).
class PowerGroups : public ListPaneCalls {
protected:
    void SetUp() override {
        ListPaneCalls::SetUp();
        if (HasFatalFailure()) return;
        LoadDemoLibrary(m_dir, *m_app->Server());
        if (HasFatalFailure()) return;
        ASSERT_TRUE(Open("demo.board:sch"));
    }
    std::string PowerNet(const char* instance, const char* pin) {
        IInstance* inst = Doc()->GetDesignContext().instance(instance).instance();
        for (const CImplicitPowerPin& p : inst ? inst->implicitPowerPins() : std::vector<CImplicitPowerPin>())
            if (p.pinName == pin) return p.netName.str();
        return "<none>";
    }
};

TEST_F(PowerGroups, TheDialogTiesThePowerPinOfTheSelectedComponentsInOneStep) {
    ASSERT_EQ(PowerNet("U2", "VDD"), "VCC3V3");
    Run("kx::select clp U2");
    Run("kx::answer dialog CKXPowerGroupDlg ok pin VDD net P3V3_MEM");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_ASSIGN_POWER");
    EXPECT_EQ(PowerNet("U2", "VDD"), "P3V3_MEM");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Journals("call board.Clp().AssignPowerGroup(\"U2\",\"VDD\",\"P3V3_MEM\")"));
    Run("undo");
    EXPECT_EQ(PowerNet("U2", "VDD"), "VCC3V3");
    Run("redo");
    EXPECT_EQ(PowerNet("U2", "VDD"), "P3V3_MEM");
}

TEST_F(PowerGroups, OnlyComponentsWithThatPinTakePartAndACancelChangesNothing) {
    // U1 has no VDD pin: U2's is tied, U1 is left alone.
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup {U1 U2} VDD P3V3_MEM"), "1");
    EXPECT_EQ(PowerNet("U2", "VDD"), "P3V3_MEM");
    EXPECT_TRUE(Journals("AssignPowerGroup(\"U2\",\"VDD\""));
    Run("kx::select clp U1");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXPowerGroupDlg cancel");
    Run("kx::notify INT_MSG_ASSIGN_POWER");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(PowerGroups, RefusedAssignmentsChangeAndJournalNothing) {
    Messages();
    const std::string before = JournalText();
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup U1 VDD P3V3_MEM"), "0");      // U1 has no VDD
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup U2 VDD VCC3V3"), "0");        // tied so already
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup {U2 NOPE} VDD P3V3_MEM"), "0"); // unknown name
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup U2 VDD {}"), "0");             // no net
    EXPECT_EQ(Run("kx::pane clp AssignPowerGroup U2 VDD {A B}"), "0");          // not a net name
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-453", "KXPANE-453", "KXPANE-250", "KXPANE-454",
                                                    "KXPANE-454"}));
    EXPECT_EQ(PowerNet("U2", "VDD"), "VCC3V3");
    EXPECT_EQ(JournalText(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

// What the host's own windows ask of the component list with a name in the message's second
// parameter: a component deleted, placed from a master (also as a physical part), or its row renamed.
class HostComponentRequests : public ListPaneCalls {
protected:
    void SetUp() override {
        ListPaneCalls::SetUp();
        ASSERT_TRUE(Open());
        Messages();
    }
    bool Listed(const char* name) {
        const std::string list = Run("kx::window clp");
        std::istringstream in(list);
        for (std::string word; in >> word;)
            if (word == name) return true;
        return false;
    }
};

TEST_F(HostComponentRequests, ADeleteRemovesTheNamedComponentInOneUndoableStep) {
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::notify INT_MSG_DELETE_INSTANCE -text R1");
    EXPECT_FALSE(Listed("R1"));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Journals("DeleteComponent(\"R1\")"));
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Listed("R1"));
}

TEST_F(HostComponentRequests, ADeleteOfANameTheDesignLacksChangesNothingAndLeavesTheDocumentAsItWas) {
    const std::string journal = JournalText();
    Run("kx::notify INT_MSG_DELETE_INSTANCE -text NO_SUCH");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Listed("R1"));
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(HostComponentRequests, APlacedMasterBecomesAComponentAndAPhysicalPartCarriesItsDesignator) {
    EXPECT_EQ(Run("kx::notify INT_MSG_ADD_LOGICAL_PART -text {work.res:sym R5}"), "1");
    EXPECT_TRUE(Listed("R5"));
    EXPECT_TRUE(Unset(Run("kx::prop work.board:sch@R5 LOCATION")));
    EXPECT_EQ(Run("kx::notify INT_MSG_ADD_PHYSICAL_PART -text {work.res:sym R6}"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@R6 LOCATION"), "R6");
    // A master the library lacks places nothing and says so.
    EXPECT_EQ(Run("kx::notify INT_MSG_ADD_LOGICAL_PART -text {work.nothing:sym R7}"), "0");
    EXPECT_FALSE(Listed("R7"));
    const auto m = Messages();
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.back(), "KXPANE-251");
}

// A physical part the host places is one edit with its designator: one undo step takes all of it back, and
// the journal repeats it as that one step.
TEST_F(HostComponentRequests, APlacedPhysicalPartIsOneUndoStepWithItsDesignator) {
    const int steps = Ccp()->GetUndoStepCount();
    const std::string journal = JournalText();
    EXPECT_EQ(Run("kx::notify INT_MSG_ADD_PHYSICAL_PART -text {work.res:sym R6}"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@R6 LOCATION"), "R6");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string added = JournalText().substr(journal.size());
    EXPECT_NE(added.find(R"(AddComponent("R6","work","res","sym","","LOCATION=R6",1))"), std::string::npos)
        << added;
    EXPECT_EQ(added.find("EditRefDes"), std::string::npos) << added;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Listed("R6"));
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Run("kx::prop work.board:sch@R6 LOCATION"), "R6");
}

// The host renamed the instance in the design itself: the list's row follows, old name first.
TEST_F(HostComponentRequests, AfterTheHostsRenameTheListRowTakesTheNewName) {
    Run("kx::notify INT_MSG_RENAME_INSTANCE R1 -text R2");
    EXPECT_TRUE(Listed("R2"));
    EXPECT_FALSE(Listed("R1"));
}

TEST_F(HostComponentRequests, ASecondTextWithoutItsOptionOrWithTooManyWordsIsAnError) {
    EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE R1 2 -text R1").rfind("error: usage", 0), 0u);
    EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE a b c").rfind("error: usage", 0), 0u);
    EXPECT_TRUE(Listed("R1"));
}

} // namespace

namespace {

// The host renamed an instance and tells the design window: the component list's row and the
// connectivity pane's registry of names follow (the new name is known there, the old one is not).
TEST_F(ListPaneCalls, AnInstanceTheHostRenamedIsKnownToThePaneByItsNewName) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Clp()->RenameComponent("X1", "X9")); // the host's own rename of the instance
    Run("kx::notify INT_MSG_RENAME_INSTANCE X1 -text X9");
    EXPECT_GE(Ccp()->GetComponentId("X9"), 0);
    EXPECT_EQ(Ccp()->GetComponentId("X1"), -1);
}

} // namespace
