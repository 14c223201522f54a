// Styling of pin row cells: property columns, generated rows, Instance and Ref Des refreshes.
#include "PinGridTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class CellStyles : public PinGridTest {
protected:
    void TearDown() override {
        KXClearPropRules();
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CKXCustomizeAPI::Initialize(false);
        grid->SetupColumns();
    }
    // The built-in columns followed by property columns.
    void WithPropertyColumns() {
        ASSERT_TRUE(UseColumns({"DIFF_PAIR|Diff Pair|3s|DEFAULT|SHOW", "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                                "PN|Pin Number|8s|DEFAULT|SHOW", "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                                "SIGNAL|Signal|16s|DEFAULT|SHOW", "TERMINATION|Termination|12s|DEFAULT|SHOW",
                                "PUPD|Pull Up/Down|10s|DEFAULT|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW",
                                "VOLT|Volt|8s|INSTPROP|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                                "MAX_DELAY|Max Delay|8s|NETPROP|SHOW", "PINUSE|PINUSE|8s|PINPROP|SHOW"}));
    }
    int Column(const char* key) { return G::ColumnOfKey(key); }
};

TEST_F(CellStyles, PropertyColumnsShowValueAndState) {
    builder.symbol("PART").port("A").port("B").port("P").port("N").symbolPair("CLK", "P", "N");
    builder.schematic("top")
        .instance("U1", "PART", "U7")
        .connect("U1", "A", "N1")
        .prop("@U1", "VOLT", "3.3", KX_SRC_LOCAL)
        .prop("@U1.A", "SPEED", "fast", KX_SRC_OVERRIDDEN)
        .prop("@:N1", "MAX_DELAY", "2ns", KX_SRC_LOCAL);
    Init();
    WithPropertyColumns();
    KXRegisterPropRule("SPEED", KX_RULE_HIDDEN);
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const ROWCOL a = Row("A");
    ASSERT_NE(a, 0u);
    EXPECT_EQ(Cell(a, Column("VOLT")), "3.3");
    EXPECT_EQ(Attr(a, Column("VOLT"), IDS_UA_PROP_STATE), "1");
    EXPECT_EQ(Attr(a, Column("VOLT"), IDS_UA_CHILD_LEVEL), "1");
    // A hidden property leaves the cell as it was.
    EXPECT_EQ(Cell(a, Column("SPEED")), "");
    EXPECT_EQ(Attr(a, Column("SPEED"), IDS_UA_PROP_STATE), "");
    // A constraint keeps state 3.
    EXPECT_EQ(Cell(a, Column("MAX_DELAY")), "2ns");
    EXPECT_EQ(Attr(a, Column("MAX_DELAY"), IDS_UA_PROP_STATE), "3");
    // Without a property the state comes from the property editor's rules.
    EXPECT_EQ(Attr(Row("B"), Column("VOLT"), IDS_UA_PROP_STATE), "1");
    EXPECT_EQ(Attr(Row("B"), Column("MAX_DELAY"), IDS_UA_PROP_STATE), "");

    // A changed pin type restyles the PINUSE column too.
    KXClearPropRules();
    grid->SetValueRange(CGXRange(a, static_cast<ROWCOL>(Column("PINUSE"))), "stale");
    grid->RefreshRowStyles("PINTYPE", 0, Column("SPEED"), static_cast<int>(a));
    EXPECT_EQ(Cell(a, Column("SPEED")), "fast");
    EXPECT_EQ(Attr(a, Column("SPEED"), IDS_UA_PROP_STATE), "7");
    EXPECT_EQ(Cell(a, Column("PINUSE")), "");
    EXPECT_EQ(Attr(a, Column("PINUSE"), IDS_UA_PROP_STATE), "0");
}

TEST_F(CellStyles, GeneratedRows) {
    builder.symbol("PART").port("A").port("B").port("P").port("N").symbolPair("CLK", "P", "N");
    builder.schematic("top").instance("U1", "PART", "U7").pinNumber("U1", "A", "3");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    // A pair from the part library, without a pair net.
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    EXPECT_EQ(Cell(pair, G::m_nColDiffPair), "Library defined");
    EXPECT_EQ(Attr(pair, G::m_nColDiffPair, IDS_UA_TOOLTIPTEXT), "Library defined");
    EXPECT_EQ(Cell(pair, G::m_nColSignal), "");
    EXPECT_EQ(Cell(pair, G::m_nColRefDes), "U7");

    // A power-pin group of one pin.
    IInstTerm* pin = Instance("U1").instance()->findInstTerm("A");
    ROWCOL row = grid->GetRowCount() + 1;
    grid->StylePinRow({pin}, row);
    EXPECT_EQ(row, grid->GetRowCount() + 1);
    const ROWCOL group = grid->GetRowCount();
    EXPECT_EQ(Cell(group, G::m_nColPinNumber), "3");
    EXPECT_EQ(Kind(group), PIN_ROW_POWER);
    EXPECT_TRUE(grid->IsPowerPinRow(group));
    EXPECT_EQ(grid->GetRowInstTermId(group), 0);
}

TEST_F(CellStyles, InstanceAndRefDesRefresh) {
    builder.symbol("PART").port("A");
    builder.schematic("top").instance("U1", "PART", "U7");
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const ROWCOL a = Row("A");
    builder.prop("@U1", "LOCATION", "U9");
    ASSERT_TRUE(builder.ok()) << builder.error();
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetValueRange(CGXRange(a, static_cast<ROWCOL>(G::m_nColInstance)), "old");
    grid->GetParam()->SetLockReadOnly(TRUE);
    grid->RefreshRefDesCells(-1);
    EXPECT_EQ(Cell(a, G::m_nColRefDes), "U9");
    EXPECT_EQ(Cell(a, G::m_nColInstance), "old");
    grid->RefreshInstanceCells(static_cast<int>(Instance("U1")->id()));
    EXPECT_EQ(Cell(a, G::m_nColInstance), "U1");
    EXPECT_EQ(Attr(a, G::m_nColInstance, IDS_UA_CHILD_LEVEL), "1");
}

} // namespace

namespace {

// The host's main window as far as the grid talks to it: it keeps the script texts.
class HostWindow : public CWnd {
public:
    std::vector<std::string> texts;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == 0x840F && wParam) texts.emplace_back(reinterpret_cast<const char*>(wParam));
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
};

TEST_F(CellStyles, ScriptTextsToTheHost) {
    builder.symbol("PART").port("A").port("B");
    builder.schematic("top").instance("U1", "PART").prop("@U1", "VOLT", "1.8 V", 1);
    Init();
    WithPropertyColumns();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    HostWindow host;
    host.Create(nullptr, "host", 0, CRect(0, 0, 10, 10), nullptr, 0);
    CWnd* saved = AfxGetMainWnd();
    AfxSetMainWnd(&host);
    const ROWCOL a = Row("A"), b = Row("B");
    const auto volt = static_cast<ROWCOL>(Column("VOLT"));
    grid->SetCurrentCell(a, volt);
    grid->SelectRange(CGXRange().SetRows(a, b), TRUE);
    grid->ChangeCustomColumn(FALSE);
    grid->ChangeCustomColumn(TRUE);
    grid->SetCurrentCell(a, static_cast<ROWCOL>(G::m_nColSignal));
    grid->ChangeCustomColumn(TRUE); // not a custom column: nothing
    grid->OnSortColumn(G::m_nColSignal);
    AfxSetMainWnd(saved);
    ASSERT_EQ(host.texts.size(), 3u);
    // The values are one word for the script, blanks and all.
    EXPECT_EQ(host.texts[0], "changeCustomColumn pin -col \"VOLT\" -val \"1.8 V,1.8 V\"");
    EXPECT_EQ(host.texts[1], "changeCustomColumn pin -col \"VOLT\" -val \"\"");
    EXPECT_EQ(host.texts[2], "sort pin \"Signal\"");
}

} // namespace
