// Custom property columns follow property changes made elsewhere.
#include "PinGridTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class PropChange : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B");
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .instance("U2", "PART", "U8")
            .prop("@U1", "VOLT", "3.3", KX_SRC_LOCAL)
            .prop("@U1.A", "SPEED", "fast", KX_SRC_LOCAL)
            .prop("@U1.B", "SPEED", "slow", KX_SRC_LOCAL);
        Init();
        ASSERT_TRUE(UseColumns({"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                                "SIGNAL|Signal|16s|DEFAULT|SHOW", "VOLT|Volt|8s|INSTPROP|SHOW",
                                "SPEED|Speed|8s|PINPROP|SHOW"}));
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
        grid->GetParam()->SetLockReadOnly(FALSE);
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CKXCustomizeAPI::Initialize(false);
        grid->SetupColumns();
    }
    void Stale(ROWCOL row, const char* key) {
        grid->SetValueRange(CGXRange(row, static_cast<ROWCOL>(G::ColumnOfKey(key))), "stale");
    }
    CString Value(ROWCOL row, const char* key) { return Cell(row, G::ColumnOfKey(key)); }
    LRESULT Changed(const char* property, const CString& path) {
        return grid->OnObjectPropertyChanged(reinterpret_cast<WPARAM>(property),
                                             reinterpret_cast<LPARAM>(path.GetString()));
    }
};

TEST_F(PropChange, PinPropertyRefreshesOnlyThatRow) {
    const ROWCOL a = Row("A"), b = Row("B");
    ASSERT_NE(G::ColumnOfKey("SPEED"), -1);
    Stale(a, "SPEED");
    Stale(b, "SPEED");
    // Mixed case finds the column of the key in capitals.
    EXPECT_EQ(Changed("Speed", Instance("U1").instTerm("A").cpath()), 0);
    EXPECT_EQ(Value(a, "SPEED"), "fast");
    EXPECT_EQ(Value(b, "SPEED"), "stale");
    // A property without a column of its key changes nothing.
    Stale(a, "VOLT");
    EXPECT_EQ(Changed("WEIGHT", Instance("U1").instTerm("A").cpath()), 0);
    EXPECT_EQ(Value(a, "VOLT"), "stale");
}

TEST_F(PropChange, InstancePropertyRefreshesTheColumn) {
    const ROWCOL a = Row("A"), b = Row("B");
    Stale(a, "VOLT");
    Stale(b, "VOLT");
    EXPECT_EQ(Changed("VOLT", Instance("U1").cpath()), 0);
    EXPECT_EQ(Value(a, "VOLT"), "3.3");
    EXPECT_EQ(Value(b, "VOLT"), "3.3");
    // An instance this grid does not show.
    Stale(a, "VOLT");
    EXPECT_EQ(Changed("VOLT", Instance("U2").cpath()), 1);
    EXPECT_EQ(Changed("SPEED", Instance("U2").instTerm("A").cpath()), 1);
    EXPECT_EQ(Value(a, "VOLT"), "stale");
    // Unknown objects and missing arguments are ignored.
    EXPECT_EQ(Changed("VOLT", "work.top:sch@NOPE"), 0);
    EXPECT_EQ(grid->OnObjectPropertyChanged(0, 0), 0);
}

} // namespace
