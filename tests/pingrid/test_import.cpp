// Logical pin names taken into the PIN_NAME cells.
#include "PinGridTestSupport.h"

#include "KXTempPath.h"

#include "kxcommon/KXPartReader.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <filesystem>
#include <fstream>

namespace {

using G = CKXInstanceDetailsGridWnd;

class Import : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        m_parts = KXUniqueTempPath("pingrid_import");
        std::filesystem::create_directories(m_parts / "work");
        CKXPartReader::SetPartDirectory(m_parts.string().c_str());
        CKXErrorHandler::ClearTranscript();
        builder.symbol("FPGA").port("A").port("B").bus("D", 1, 0).bus("E", 2, 0);
        builder.schematic("top")
            .instance("U1", "FPGA", "U7")
            .pinNumber("U1", "A", "12")
            .pinNumber("U1", "B", "13")
            .pinNumber("U1", "D<1>", "20")
            .pinNumber("U1", "D<0>", "21")
            .pinNumber("U1", "E<2>", "30")
            .pinNumber("U1", "E<1>", "31")
            .pinNumber("U1", "E<0>", "32");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        CKXPartReader::SetPartDirectory("");
        std::filesystem::remove_all(m_parts);
    }
    std::filesystem::path m_parts;
};

TEST_F(Import, NamesFromThePinFile) {
    const ROWCOL a = Row("A"), b = Row("B"), d = Row("D<1..0>"), e = Row("E<2..0>");
    ASSERT_NE(d, 0u);
    ASSERT_NE(e, 0u);
    std::ofstream(m_parts / "work" / "FPGA.csv")
        << "Pin Number,Pin Name\n12,IO_A\n20,DATA<7>\n21,DATA<6>\n30,X<7>\n31,X<6>\n32,X<4>\n";
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->GetParam()->EnableUndo(FALSE);
    grid->SendMessage(MSG_IMPORT_CSV, 0, 0);
    EXPECT_EQ(Cell(a, G::m_nColPinName), "io_a");
    EXPECT_EQ(Cell(b, G::m_nColPinName), "B"); // not in the file: its logical name
    EXPECT_EQ(Cell(d, G::m_nColPinName), "data<7..6>");
    EXPECT_EQ(Cell(d + 1, G::m_nColPinName), "data<7>");
    EXPECT_EQ(Cell(d + 2, G::m_nColPinName), "data<6>");
    // A gap in the indexes is no bus: the vector row keeps its range, each bit row its own name.
    EXPECT_EQ(Cell(e, G::m_nColPinName), "E<2..0>");
    EXPECT_EQ(Cell(e + 1, G::m_nColPinName), "x<7>");
    EXPECT_EQ(Cell(e + 3, G::m_nColPinName), "x<4>");
    // Read-only and undo on again, whatever they were.
    EXPECT_TRUE(grid->GetParam()->IsLockReadOnly());
    EXPECT_TRUE(grid->GetParam()->IsEnableUndo());
}

TEST_F(Import, UnreadablePinFileChangesNothing) {
    std::ofstream(m_parts / "work" / "FPGA.csv") << "Pin Number,Pin Name\n12,IO_A\n12,IO_B\n";
    grid->ImportCsv();
    EXPECT_EQ(Cell(Row("A"), G::m_nColPinName), "A");
    ASSERT_FALSE(CKXErrorHandler::GetTranscript().empty());
    EXPECT_EQ(CKXErrorHandler::GetTranscript().back().id, "KXTABLE-126");
    // Disabled: the message does nothing.
    grid->m_bImportCsvEnabled = FALSE;
    std::ofstream(m_parts / "work" / "FPGA.csv") << "Pin Number,Pin Name\n12,IO_A\n";
    grid->SendMessage(MSG_IMPORT_CSV, 0, 0);
    EXPECT_EQ(Cell(Row("A"), G::m_nColPinName), "A");
}

} // namespace
