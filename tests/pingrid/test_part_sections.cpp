// Part sections: the header's Functions choice, the section check and pin bits by pin number.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXPartReader.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include "pingrid/KXPinGridFunctions.h"

namespace {

class PartSections : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        m_parts = KXUniqueTempPath("pingrid_parts");
        std::filesystem::create_directories(m_parts);
        std::ofstream(m_parts / "CHIPPART.fgr") << "# groups\n1,A1\n2,A2\n3,A3\n";
        std::ofstream(m_parts / "SINGLE.fgr") << "1,A1\n1,A2\n";
        CKXPartReader::SetPartDirectory(m_parts.string().c_str());
        CKXErrorHandler::ClearTranscript();
        AfxGetAnswerQueue().Reset();
        builder.symbol("PART").port("A").port("B");
    }
    void TearDown() override {
        CKXPartReader::SetPartDirectory("");
        std::filesystem::remove_all(m_parts);
        AfxGetAnswerQueue().Reset();
    }
    CString Sec(const char* instance) {
        std::unique_ptr<CPQPropertyData> p(Instance(instance).findProperty("SEC"));
        return p ? CString(p->value()) : CString();
    }
    std::filesystem::path m_parts;
};

TEST_F(PartSections, FunctionsOfAPartWithThreeGroups) {
    builder.schematic("top")
        .instance("U1", "PART", "U7")
        .prop("@U1", "CHIPS_PART_NAME", "CHIPPART")
        .instance("U2", "PART", "U8")
        .prop("@U2", "CHIPS_PART_NAME", "SINGLE")
        .prop("@U2", "PACK_TYPE", "BGA")
        .instance("U3", "PART", "U9", "sym_x")
        .prop("@U3", "CHIPS_PART_NAME", "CHIPPART");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_TRUE(grid->PartFunctions().m_bFunctionsComboShown);
    EXPECT_EQ(grid->PartFunctions().m_arrFunctions, (std::vector<CString>{"1", "2", "3", "All"}));
    EXPECT_EQ(grid->PartFunctions().m_strSelectedFunction, "All");
    EXPECT_EQ(grid->PartFunctions().m_strPartName, "CHIPPART");
    // No file for SINGLE_BGA: the reader is asked for SINGLE alone, which has one group.
    grid->PartFunctions().GetPartSymbolProperties(Instance("U2"));
    EXPECT_EQ(grid->PartFunctions().m_strPartName, "SINGLE");
    EXPECT_FALSE(grid->PartFunctions().m_bFunctionsComboShown);
    EXPECT_TRUE(grid->PartFunctions().m_arrFunctions.empty());
    // A "sym_" view never shows the choice.
    grid->PartFunctions().GetPartSymbolProperties(Instance("U3"));
    EXPECT_FALSE(grid->PartFunctions().m_bFunctionsComboShown);
    // Nor does a refresh switched off.
    grid->PartFunctions().m_bPartRefreshOff = TRUE;
    grid->PartFunctions().GetPartSymbolProperties(Instance("U1"));
    EXPECT_FALSE(grid->PartFunctions().m_bFunctionsComboShown);
}

TEST_F(PartSections, ASectionHeldByAnotherInstanceIsSwapped) {
    builder.schematic("top")
        .instance("U1", "PART", "U7")
        .prop("@U1", "SEC", "1")
        .instance("U2", "PART", "U7")
        .prop("@U2", "SEC", "2");
    Init();
    // Without a transaction nothing can be written.
    EXPECT_FALSE(grid->PartFunctions().CheckAssignedSection(Instance("U1"), "2", TRUE));
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Assign Pin"));
    EXPECT_TRUE(grid->PartFunctions().CheckAssignedSection(Instance("U1"), "2", TRUE));
    ASSERT_TRUE(CKXTransaction::CommitTrans(grid.get(), 1, 1));
    ASSERT_EQ(CKXErrorHandler::GetTranscript().size(), 1u);
    EXPECT_EQ(CKXErrorHandler::GetTranscript()[0].id, "KXTABLE-133");
    EXPECT_EQ(Sec("U1"), "2");
    EXPECT_EQ(Sec("U2"), "1");

    // A section the instance holds itself: no message.
    CKXErrorHandler::ClearTranscript();
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Assign Pin"));
    EXPECT_TRUE(grid->PartFunctions().CheckAssignedSection(Instance("U1"), "2", TRUE));
    ASSERT_TRUE(CKXTransaction::CommitTrans(grid.get(), 1, 1));
    EXPECT_TRUE(CKXErrorHandler::GetTranscript().empty());

    // Asked and cancelled: nothing changes.
    AfxGetAnswerQueue().PushQuestion("KXTABLE-133", IDCANCEL);
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Assign Pin"));
    EXPECT_FALSE(grid->PartFunctions().CheckAssignedSection(Instance("U2"), "2", FALSE));
    CKXTransaction::DiscardTrans(grid.get());
    EXPECT_EQ(Sec("U1"), "2");
    EXPECT_EQ(Sec("U2"), "1");
}

TEST_F(PartSections, PinBitByPinNumber) {
    builder.schematic("top").instance("U1", "PART", "U7").pinNumber("U1", "B", "12");
    Init();
    const CInstanceContext u1 = Instance("U1");
    const char* path = grid->PartFunctions().CollectInstancePinNumbers(&u1, "12");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(std::string(path), std::string(u1.instTerm("B").bitContext(-1).spath().GetString()));
    EXPECT_EQ(grid->PartFunctions().CollectInstancePinNumbers(&u1, "99"), nullptr);
    EXPECT_EQ(grid->PartFunctions().CollectInstancePinNumbers(nullptr, "12"), nullptr);
    EXPECT_EQ(grid->PartFunctions().CollectInstancePinNumbers(&u1, nullptr), nullptr);
}

} // namespace
