// Writing custom property columns of the selected rows.
#include "PinGridTestSupport.h"

#include "KXTempPath.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "kxinstsigpane/KXTransaction.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using G = CKXInstanceDetailsGridWnd;

class CustomColumns : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        CAfxAnswerQueue::Get().Reset();
        builder.symbol("PART").port("A").port("B");
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .connect("U1", "A", "N1")
            .prop("@U1.A", "SPEED", "fast", KX_SRC_LOCAL);
        Init();
        ASSERT_TRUE(UseColumns({"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                                "SIGNAL|Signal|16s|DEFAULT|SHOW", "VOLT|Volt|8s|INSTPROP|SHOW",
                                "SPEED|Speed|8s|PINPROP|SHOW", "DELAY|Delay|8s|NETPROP|SHOW"}));
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        if (CKXTransaction::IsTransactionStarted()) CKXTransaction::DiscardTrans(grid.get());
        CKXShareGlobalData::m_bAutomation = nullptr;
        CAfxAnswerQueue::Get().Reset();
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CKXCustomizeAPI::Initialize(false);
        grid->SetupColumns();
    }
    CString PinProp(const char* pin, const char* name) {
        std::unique_ptr<CPQPropertyData> p(Instance("U1").instTerm(pin).findProperty(name));
        return p ? CString(p->value()) : CString();
    }
    void SelectRow(ROWCOL row) {
        grid->SetCurrentCell(row, static_cast<ROWCOL>(G::m_nColPinName));
        grid->SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
    }
};

TEST_F(CustomColumns, KnownColumns) {
    CStringArray names;
    EXPECT_TRUE(grid->AreColumnsKnown(&names));
    names.Add("SPEED");
    names.Add("VOLT");
    EXPECT_TRUE(grid->AreColumnsKnown(&names));
    names.Add("speed");
    EXPECT_FALSE(grid->AreColumnsKnown(&names));
    // Only fixed columns: nothing is known, not even an empty list.
    CKXCustomizeAPI::Reset();
    CKXCustomizeAPI::setCustomizationOrigin("CCP");
    CKXCustomizeAPI::Initialize(false);
    grid->SetupColumns();
    CStringArray none;
    EXPECT_FALSE(grid->AreColumnsKnown(&none));
}

TEST_F(CustomColumns, ValueBeforeTheCommaIsWrittenOnThePin) {
    const auto path = KXUniqueTempPath("pingrid_custom.vbs");
    std::filesystem::remove(path);
    std::string journal = path.string();
    CKXShareGlobalData::m_bAutomation = journal.data();
    SelectRow(Row("A"));
    CMapStringToString values;
    values.SetAt("SPEED", "  quick , slow");
    values.SetAt("UNKNOWN", "x");
    EXPECT_TRUE(grid->ChangeCustomColumnValue(values));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(PinProp("A", "SPEED"), "quick");

    // Differing only in case: nothing written, nothing to commit, so nothing journalled either.
    values.RemoveAll();
    values.SetAt("SPEED", "QUICK");
    EXPECT_FALSE(grid->ChangeCustomColumnValue(values));
    EXPECT_EQ(PinProp("A", "SPEED"), "quick");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find(".ConnectivityPane().ChangePropValue(\"SPEED\",\"QUICK\")"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find(".ConnectivityPane().ChangePropValue(\"SPEED\",\"quick\")"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find(".Clp().Select(\"U1\")"), std::string::npos);
    // The row is named, so that a replay writes that pin and no other.
    EXPECT_NE(text.str().find(".ConnectivityPane().SelectPinNameCol(\"A\""), std::string::npos) << text.str();
    std::filesystem::remove(path);
}

TEST_F(CustomColumns, EmptyValueOfARequiredPropertyIsRefused) {
    const ROWCOL a = Row("A");
    SelectRow(a);
    grid->GetParam()->SetLockReadOnly(FALSE);
    CGXStyle state;
    state.SetUserAttribute(static_cast<WORD>(IDS_UA_PROP_STATE), 4);
    grid->SetStyleRange(CGXRange(a, static_cast<ROWCOL>(G::ColumnOfKey("SPEED"))), state);
    CMapStringToString values;
    values.SetAt("SPEED", " ");
    EXPECT_FALSE(grid->ChangeCustomColumnValue(values));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(PinProp("A", "SPEED"), "fast");
    // A net property on a row without a signal writes nothing, and says so.
    SelectRow(Row("B"));
    values.RemoveAll();
    values.SetAt("DELAY", "2ns");
    EXPECT_FALSE(grid->ChangeCustomColumnValue(values));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

} // namespace
