// The text dump of the grid.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "pingrid/KXPinGridFunctions.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class Dump : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        path = (KXUniqueTempPath("pingrid_dump.txt")).string();
        std::filesystem::remove(path);
        builder.symbol("PART").port("A").port("B");
        builder.schematic("top").instance("U1", "PART", "U7").connect("U1", "A", "N1");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override { std::filesystem::remove(path); }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::string Pad(const std::string& v) {
        return v + std::string(v.size() < 31 ? 31 - v.size() : 0, ' ') + "   ";
    }
    std::string path;
};

TEST_F(Dump, HeaderFunctionsAndPaddedCells) {
    grid->GetParam()->SetLockReadOnly(FALSE);
    const ROWCOL a = Row("A");
    const std::string exact(31, 'x'), longer(40, 'y');
    grid->SetValueRange(CGXRange(a, static_cast<ROWCOL>(G::m_nColPinType)), exact.c_str());
    grid->SetValueRange(CGXRange(a, static_cast<ROWCOL>(G::m_nColComments)), longer.c_str());
    ASSERT_EQ(grid->DumpGrid(path.c_str()), 1);
    const std::string text = Read();
    EXPECT_EQ(text.rfind("\n---CCP Dump for instance: U1---\n\n", 0), 0u) << text;
    EXPECT_NE(text.find("  U1 (PART)  - U7\n\nFunctions:\n"), std::string::npos) << text;
    EXPECT_NE(text.find(Pad(exact)), std::string::npos);
    EXPECT_EQ(Pad(exact), exact + "   ");
    EXPECT_NE(text.find(longer + "   "), std::string::npos);
    // The row of pin A: its shown cells, each padded, then a line feed.
    std::string rowA;
    for (ROWCOL c = 1; c <= grid->GetColCount(); ++c)
        if (!grid->IsColHidden(c) && G::m_arrColumnInfo[c]->m_bShown)
            rowA += Pad(Cell(a, static_cast<int>(c)).GetString());
    EXPECT_NE(text.find("\n" + rowA + "\n"), std::string::npos) << text;

    // A second dump appends a whole one.
    ASSERT_EQ(grid->DumpGrid(path.c_str()), 1);
    EXPECT_EQ(Read(), text + text);
}

TEST_F(Dump, HiddenRowsAndColumnsAreLeftOut) {
    grid->HideRows(Row("B"), Row("B"));
    CKXColumnInfoClass* info = G::m_arrColumnInfo[static_cast<std::size_t>(G::m_nColSignal)];
    info->m_bShown = 0;
    grid->PartFunctions().m_arrFunctions = {"1", "All"};
    const int result = grid->DumpGrid(path.c_str());
    info->m_bShown = 1;
    ASSERT_EQ(result, 1);
    const std::string text = Read();
    EXPECT_NE(text.find("\nFunctions: \n1 \nAll\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("N1"), std::string::npos);
    EXPECT_EQ(text.find("Signal"), std::string::npos); // not even the caption
    EXPECT_EQ(text.find(Pad("B")), std::string::npos);
    EXPECT_NE(text.find(Pad("A")), std::string::npos);
    // An unopenable file: nothing, 0.
    EXPECT_EQ(grid->DumpGrid("/nonexistent-dir/x/dump.txt"), 0);
}

} // namespace
