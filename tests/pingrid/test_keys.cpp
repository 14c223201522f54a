// Selecting pin rows by keys, and instances that can be shown together.
#include "PinGridTestSupport.h"

#include "afx/afxcoll.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class Keys : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B").port("C");
        builder.symbol("OTHER").port("A").port("X");
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .instance("U2", "PART", "U8")
            .instance("U3", "OTHER", "U9")
            .pinNumber("U1", "A", "1")
            .pinNumber("U1", "B", "2")
            .pinNumber("U1", "C", "3");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    std::vector<ROWCOL> Selected() {
        CRowColArray rows;
        grid->GetSelectedRows(rows, FALSE, FALSE);
        std::vector<ROWCOL> out;
        for (INT_PTR i = 0; i < rows.GetSize(); ++i)
            out.push_back(rows[i]);
        return out;
    }
    void Select(std::initializer_list<const char*> keys, const char* column = "") {
        CStringArray list;
        for (const char* k : keys)
            list.Add(k);
        grid->SelectRowsByKey(&list, column);
    }
};

TEST_F(Keys, PinNamesAndPinNumbers) {
    const ROWCOL a = Row("A"), b = Row("B"), c = Row("C");
    Select({"A", "C", "c"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{a, c}));
    EXPECT_TRUE(grid->IsCellSelected(a, static_cast<ROWCOL>(G::m_nColPinName)));
    EXPECT_FALSE(grid->IsCellSelected(a, static_cast<ROWCOL>(G::m_nColSignal)));

    // Name and number joined; the selected cell is in the column of the key.
    Select({"B:2", "A:9"}, "Signal");
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{b}));
    EXPECT_TRUE(grid->IsCellSelected(b, static_cast<ROWCOL>(G::m_nColSignal)));

    // No match leaves the selection alone.
    Select({"Z"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{b}));

    // A key starting with ":" drops the pin names: rows match by number alone.
    Select({":3"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{c}));
}

TEST_F(Keys, ThreePartKeysAndMixedKeys) {
    const ROWCOL a = Row("A");
    Select({"U1:A:1"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{a}));
    // Each key keeps its own form when forms are mixed.
    grid->SelectAllRows();
    Select({"U1:A:1", "C"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{a, Row("C")}));
    Select({"U2:A:1", "Q"});
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{a, Row("C")})); // no match: left alone
    // A column the grid does not have selects nothing.
    Select({"B"}, "NoSuchColumn");
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{a, Row("C")}));
}

TEST_F(Keys, EmptyListSelectsVisibleRows) {
    const ROWCOL b = Row("B");
    grid->HideRows(b, b);
    CStringArray none;
    grid->SelectRowsByKey(&none, "");
    EXPECT_EQ(Selected(), (std::vector<ROWCOL>{Row("A"), Row("C")}));
}

TEST_F(Keys, InstancesAlike) {
    CPtrList list;
    EXPECT_TRUE(G::AreObjectsAlike(design, &list));
    list.AddTail(Instance("U1").instance());
    list.AddTail(Instance("U2").instance());
    EXPECT_TRUE(G::AreObjectsAlike(design, &list));
    list.AddTail(Instance("U3").instance());
    EXPECT_FALSE(G::AreObjectsAlike(design, &list));
    std::map<CString, CString> names;
    std::map<CString, std::set<int>> bits;
    EXPECT_EQ(G::CollectObjectNames(design, Instance("U1").instance(), 0, &bits, &names), 1);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(bits["A"], (std::set<int>{-1}));
}

} // namespace
