// What the schematic tool changes in the design while a design window is open (kx::schematic): an
// instance, a net or a pin renamed, a pin's type or width changed. The tool commits its own transaction and
// sends its notices; every grid kind that shows the object follows, and the journal holds the edit.
#include "KXShellFixture.h"

#include "KXDesignSnapshot.h"
#include "shell/KXTableDoc.h"
#include "afx/afxwin.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/context.h"

#include <gtest/gtest.h>

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SchematicEdits : public KXShellFixture {
protected:
    std::string Snapshot() {
        return KXDesignSnapshot(*CKXShareGlobalData::m_pServer,
                                CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch").design(), "tool");
    }
};

TEST_F(SchematicEdits, AnInstanceRenamedThereIsRenamedInTheSignalGridAndTheList) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), " | U1 | U1 | OUT |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic instance U1 U9"), "1");
    const std::string grid = Run("kx::window ccp");
    EXPECT_TRUE(Contains(grid, " | U9 | U1 | OUT |")) << grid;
    EXPECT_FALSE(Contains(grid, " | U1 | U1 |")) << grid;
    EXPECT_TRUE(Contains(Run("kx::window clp"), "U9")) << Run("kx::window clp");
    // The component shown under its new name has the new name in its pin grid too.
    ASSERT_EQ(Run("kx::show clp U9"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "component \"U9\"")) << Run("kx::window ccp");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SchematicEdits, APinTypeChangedThereShowsInThePinAndSignalGrids) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), " | U1 | U1 | OUT |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pintype U1 OUT bidirectional"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "| OUT |  | Bidirectional |")) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::schematic pintype U1 IN power"), "1");
    const std::string pins = Run("kx::window ccp");
    EXPECT_TRUE(Contains(pins, ": IN |  | Power |")) << pins;
    EXPECT_TRUE(Contains(pins, ": OUT |  | Bidirectional | N1 |")) << pins;
}

TEST_F(SchematicEdits, AnOpenPinWidenedThereBecomesABusRowOfThePinGrid) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), ": IN |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pinwidth U1 IN 1 0"), "1");
    const std::string pins = Run("kx::window ccp");
    EXPECT_TRUE(Contains(pins, ": IN<1..0> |")) << pins;
    EXPECT_FALSE(Contains(pins, ": IN |")) << pins;
}

TEST_F(SchematicEdits, ANetRenamedThereIsRenamedInTheGridsThatShowIt) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("kx::schematic net N1 NEWN"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), ": OUT |  |  | NEWN |")) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::show slp NEWN"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "CKXSignalDetailsGridWnd \"NEWN\"")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic net NEWN N2"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "CKXSignalDetailsGridWnd \"N2\"")) << Run("kx::window ccp");
}

// The signal grid rewrites the row of a renamed pin; the pin grid shows it under its new name. A name
// the instance gives another pin is refused, nothing changed.
TEST_F(SchematicEdits, APinRenamedThereIsRenamedInTheGridsThatShowIt) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    EXPECT_EQ(Run("kx::schematic pin U1 OUT OUT2"), "1");
    const std::string grid = Run("kx::window ccp");
    EXPECT_TRUE(Contains(grid, " | U1 | U1 | OUT2 |")) << grid;
    EXPECT_FALSE(Contains(grid, " | U1 | U1 | OUT |")) << grid;
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), ": OUT2 |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pin U1 OUT2 IN").rfind("error: the design refused the change", 0), 0u);
    EXPECT_TRUE(Contains(Run("kx::window ccp"), ": OUT2 |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pin U1 NOPE X"), "error: no pin \"U1 NOPE\"");
    EXPECT_EQ(Run("kx::schematic pin U1 OUT2").rfind("error: usage:", 0), 0u);
}

// An open matrix shows a pin of its components renamed or given another type there.
TEST_F(SchematicEdits, APinRenamedOrRetypedThereShowsInAnOpenMatrix) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::pane CreateMatrixView V1 {U1} {N1}"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), "| OUT |")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pintype U1 OUT bidirectional"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "Bidirectional")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic pin U1 OUT OUT2"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "| OUT2 |")) << Run("kx::window ccp");
    EXPECT_FALSE(Contains(Run("kx::window ccp"), "| OUT |")) << Run("kx::window ccp");
}

// The pane's line of shown objects names a net renamed there by its new name, in the form it was
// shown in.
TEST_F(SchematicEdits, ANetRenamedThereIsRenamedInThePanesLineOfShownObjects) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), "\n  N1\n")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic net N1 NEWN"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "\n  NEWN\n")) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::show slp DATA<2>"), "1");
    ASSERT_TRUE(Contains(Run("kx::window ccp"), "\n  @:DATA<2>\n")) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::schematic net DATA D2"), "1");
    EXPECT_TRUE(Contains(Run("kx::window ccp"), "\n  @:D2<2>\n")) << Run("kx::window ccp");
}

// An edit that gives the design what it has already changes nothing: it answers 0 with KXPANE-760,
// leaves the document unmodified and writes no journal line.
TEST_F(SchematicEdits, AnEditThatChangesNothingAnswersZeroAndJournalsNothing) {
    ASSERT_TRUE(Open());
    const std::string journal = JournalText();
    Messages();
    for (const char* edit : {"instance U1 U1", "net N1 N1", "pin U1 OUT OUT", "pinwidth U1 IN -1 -1"}) {
        EXPECT_EQ(Run(std::string("kx::schematic ") + edit), "0") << edit;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-760"}) << edit;
    }
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(JournalText(), journal);
}

// The tool's edits are in the journal where the session made them: the replay renames, retypes and
// widens alike, and the editor's own edits after them find what they name.
TEST_F(SchematicEdits, TheJournalReplaysTheToolsEditsAmongTheEditorsOwn) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::schematic instance U1 U9"), "1");
    ASSERT_EQ(Run("kx::schematic pintype U9 OUT inout"), "1");
    ASSERT_EQ(Run("kx::schematic pinwidth U9 IN 1 0"), "1");
    ASSERT_EQ(Run("kx::schematic net N1 NEWN"), "1");
    ASSERT_EQ(Run("kx::schematic pin U9 OUT OUT2"), "1");
    ASSERT_EQ(Run("kx::show clp U9"), "1");
    ASSERT_NE(Run("addConnection pin DATA<1..0> {U9 IN<1..0>}"), "0") << Transcript();
    ASSERT_TRUE(Contains(Run("kx::netlist"), "U9 IN<1> DATA<1>")) << Run("kx::netlist");
    const std::string session = Snapshot();
    EXPECT_TRUE(Contains(session, "U9")) << session;
    EXPECT_EQ(ReplayedSnapshot("tool"), session);
}

} // namespace
