// Implicit power pins of a package: group and pin rows, the allow option, power assignments.
#include "PinGridTestSupport.h"

#include "kxcommon/KXShareGlobalData.h"
#include "rmx/transaction.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class PowerPins : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        m_savedProject = CKXShareGlobalData::m_pVpxProject;
        CKXShareGlobalData::m_pVpxProject = &m_project;
        CKXShareGlobalData::m_bShowPowerPins = TRUE;
        G::m_bAllowPowerPins = FALSE;
        builder.symbol("PART")
            .port("A")
            .partDefinition("PART")
            .packagePin("1", "A")
            .powerPin("7", "VCC", "VDD")
            .powerPin("14", "VCC", "VDD")
            .powerPin("8", "GND", "VSS", true);
        builder.schematic("top").instance("U1", "PART", "U7").net("VDD").net("VSS").net("VDD2");
    }
    void TearDown() override {
        CKXShareGlobalData::m_bShowPowerPins = FALSE;
        CKXShareGlobalData::m_pVpxProject = m_savedProject;
    }
    bool Load() {
        Init();
        return grid->LoadComponentPins(design, Instance("U1"), FALSE) != FALSE;
    }
    // The first row of the implicit group of that name.
    ROWCOL Group(const char* name) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r) {
            int group = 0;
            if (grid->IsImplicitPowerPinRow(r, &group) && group && Cell(r, G::m_nColPinName) == name)
                return r;
        }
        return 0;
    }
    CKXVpxProject m_project;
    CKXVpxProject* m_savedProject = nullptr;
};

TEST_F(PowerPins, GroupAndPinRows) {
    ASSERT_TRUE(Load());
    const ROWCOL vcc = Group("VCC");
    ASSERT_NE(vcc, 0u);
    EXPECT_EQ(Kind(vcc), PIN_ROW_IMPLICIT_POWER);
    EXPECT_EQ(Cell(vcc, G::m_nColPinNumber), "7,14");
    EXPECT_EQ(Cell(vcc + 1, G::m_nColPinNumber), "7");
    EXPECT_EQ(Cell(vcc + 2, G::m_nColPinNumber), "14");
    EXPECT_EQ(grid->GetRowParentOffset(vcc + 1), vcc);
    EXPECT_EQ(grid->GetRowParentOffset(vcc + 2), vcc);
    EXPECT_EQ(Cell(vcc + 1, G::m_nColSignal), "VDD");
    // Collapsed; the pins are the group's children.
    EXPECT_TRUE(grid->IsRowHidden(vcc + 1));
    std::list<int> children;
    grid->GetChildRows(vcc, children, 1);
    EXPECT_EQ(children, (std::list<int>{static_cast<int>(vcc + 1), static_cast<int>(vcc + 2)}));
    // Without the allow option the pin rows' signals are read-only, the group's are not.
    EXPECT_TRUE(grid->IsCellReadOnly(vcc + 1, static_cast<ROWCOL>(G::m_nColSignal)));
    EXPECT_FALSE(grid->IsCellReadOnly(vcc, static_cast<ROWCOL>(G::m_nColSignal)));
    EXPECT_NE(Group("GND"), 0u);

    CDWordArray rows;
    rows.Add(Row("A"));
    rows.Add(vcc);
    int count = 0;
    EXPECT_TRUE(grid->ExpandImplicitPowerPinRows(rows, count));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(rows[1], vcc + 1);
    EXPECT_EQ(rows[2], vcc + 2);
}

TEST_F(PowerPins, NoRowsWhenTheOptionIsOff) {
    CKXShareGlobalData::m_bShowPowerPins = FALSE;
    ASSERT_TRUE(Load());
    EXPECT_EQ(Group("VCC"), 0u);
}

TEST_F(PowerPins, AllowOptionFromTheProject) {
    m_project.AddValue("VellumDraw", "ALLOW_POWER_PINS", "On");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(G::m_bAllowPowerPins);
    EXPECT_FALSE(grid->IsCellReadOnly(Group("VCC") + 1, static_cast<ROWCOL>(G::m_nColSignal)));
    // Without the section the option keeps its value.
    m_project.m_sections.clear();
    grid->RefreshInstances(nullptr);
    EXPECT_TRUE(G::m_bAllowPowerPins);
}

TEST_F(PowerPins, StoredSignalsAreAssignedOnce) {
    ASSERT_TRUE(Load());
    EXPECT_FALSE(grid->AssignPowerToImplicitPins());
    grid->StoreImplicitPinSignal(Row("A"), "VDD2");
    EXPECT_TRUE(grid->m_mapImplicitPinSignal.empty());
    const ROWCOL vcc = Group("VCC");
    grid->StoreImplicitPinSignal(vcc, "VDD2");
    EXPECT_EQ(grid->m_mapImplicitPinSignal.size(), 1u);
    // Outside a design window there is no component list to assign through: not reported as done.
    EXPECT_FALSE(grid->AssignPowerToImplicitPins());
    EXPECT_TRUE(grid->m_mapImplicitPinSignal.empty());
}

TEST_F(PowerPins, PowerNetChangeRefreshesThePinRows) {
    ASSERT_TRUE(Load());
    const ROWCOL vcc = Group("VCC");
    CTransaction t(design, "power");
    ASSERT_TRUE(t.setPowerPinNet(Instance("U1").instance(), "VCC", "VDD2"));
    ASSERT_TRUE(t.commit());
    grid->OnTransactionCommitted(0, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(Cell(vcc + 1, G::m_nColSignal), "VDD2");
    EXPECT_EQ(Cell(vcc + 2, G::m_nColSignal), "VDD2");
}

} // namespace
