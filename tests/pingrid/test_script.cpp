// Selection lines journalled before a pull-up/pull-down edit.
#include "PinGridTestSupport.h"

#include "KXTempPath.h"

#include "kxcommon/KXShareGlobalData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using G = CKXInstanceDetailsGridWnd;

class Script : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        path = KXUniqueTempPath("pingrid_select.vbs").string();
        std::filesystem::remove(path);
        builder.symbol("PART").port("A").bus("D", 1, 0);
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .pinNumber("U1", "A", "3")
            .pinNumber("U1", "D<1>", "4")
            .pinNumber("U1", "D<0>", "5");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
        CKXShareGlobalData::m_bAutomation = path.data();
    }
    void TearDown() override {
        CKXShareGlobalData::m_bAutomation = nullptr;
        std::filesystem::remove(path);
    }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path;
};

TEST_F(Script, PinRowSelectsComponentAndCell) {
    grid->RecordSelectionScript(static_cast<int>(Row("A")));
    EXPECT_EQ(Read(), "\ncall work.top:sch.Clp().Select(\"U1\")"
                      "\ncall work.top:sch.ConnectivityPane().SelectPUPDCol(\"A\",\"3\")");
}

TEST_F(Script, FirstBitOfAVectorGoesByTheVectorName) {
    const ROWCOL d = Row("D<1..0>");
    ASSERT_NE(d, 0u);
    grid->RecordSelectionScript(static_cast<int>(d + 1));
    EXPECT_NE(Read().find("SelectPUPDCol(\"D<1..0>\")"), std::string::npos) << Read();
}

TEST_F(Script, RowWithoutPinAndTextsKeptAsTheyAre) {
    const ROWCOL a = Row("A");
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetStyleRange(
        CGXRange(a, static_cast<ROWCOL>(G::m_nColPinName)),
        CGXStyle().SetValue("P%s\"1").SetUserAttribute(static_cast<WORD>(IDS_UA_INSTTERM_ID), ""));
    grid->RecordSelectionScript(static_cast<int>(a));
    // No pin: only the cell line; a percent sign stays, a quote is doubled inside the literal.
    EXPECT_EQ(Read(), "\ncall work.top:sch.ConnectivityPane().SelectPUPDCol(\"P%s\"\"1\",\"3\")");
}

TEST_F(Script, NothingWithoutAScriptJournal) {
    std::string other = KXUniqueTempPath("pingrid_select.txt").string();
    CKXShareGlobalData::m_bAutomation = other.data();
    grid->RecordSelectionScript(static_cast<int>(Row("A")));
    EXPECT_FALSE(std::filesystem::exists(other));
    CKXShareGlobalData::m_bAutomation = nullptr;
    grid->RecordSelectionScript(static_cast<int>(Row("A")));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
