// What the schematic tool changes in the design while a design window is open (kx::schematic): an
// instance or a net renamed, a pin's type or width changed. The tool commits its own transaction and
// sends its notices; every grid kind that shows the object follows, and the journal holds the edit.
#include "KXShellFixture.h"

#include "KXDesignSnapshot.h"
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

// The tool's edits are in the journal where the session made them: the replay renames, retypes and
// widens alike, and the editor's own edits after them find what they name.
TEST_F(SchematicEdits, TheJournalReplaysTheToolsEditsAmongTheEditorsOwn) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::schematic instance U1 U9"), "1");
    ASSERT_EQ(Run("kx::schematic pintype U9 OUT inout"), "1");
    ASSERT_EQ(Run("kx::schematic pinwidth U9 IN 1 0"), "1");
    ASSERT_EQ(Run("kx::schematic net N1 NEWN"), "1");
    ASSERT_EQ(Run("kx::show clp U9"), "1");
    ASSERT_NE(Run("addConnection pin DATA<1..0> {U9 IN<1..0>}"), "0") << Transcript();
    ASSERT_TRUE(Contains(Run("kx::netlist"), "U9 IN<1> DATA<1>")) << Run("kx::netlist");
    const std::string session = Snapshot();
    EXPECT_TRUE(Contains(session, "U9")) << session;
    EXPECT_EQ(ReplayedSnapshot("tool"), session);
}

} // namespace
